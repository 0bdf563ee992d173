// trigger_class.h: CTrigger, a trigger resource (a named condition checked
// at one moment of the step), with its stored form.
#pragma once

#include <cstdint>
#include <memory>

#include "common/value.h"

class CStream;
class CCode;

class CTrigger {
 public:
  VString i_name;
  VString i_condition;
  std::shared_ptr<CCode> i_code;  // the compiled condition
  VString i_constname;
  int32_t i_moment = 1;  // 0 middle, 1 begin, 2 end of the step

  void Clear();
  // Record version 800: name, condition, moment, constant name.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
