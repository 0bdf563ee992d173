// script_class.h: CScript, a script resource (its code text), with its
// stored form.
#pragma once

#include "common/value.h"

class CStream;

class CScript {
 public:
  VString s_text;

  void Clear() { s_text.clear(); }
  // Record version 800: the code text.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
