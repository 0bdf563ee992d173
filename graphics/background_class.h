// background_class.h: CBackground, a background resource (one image), with
// its stored form.
#pragma once

#include <cstdint>

#include "motion/bitmap32.h"

class CStream;

class CBackground {
 public:
  TBitmap32 i_bitmap;
  int32_t i_tex = -1;  // texture of the image, -1 when none

  int32_t Width() const { return i_bitmap.s_w; }
  int32_t Height() const { return i_bitmap.s_h; }

  void Clear();
  // Record version 710: one image record.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
