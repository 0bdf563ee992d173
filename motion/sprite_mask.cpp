// sprite_mask.cpp: the stored form of TMask (the mask record).
#include "motion/sprite_mask.h"

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kMaskVersion = 800;
}

bool TMask::LoadFromStream(CStream& s) {
  if (!ReadVersion(s, kMaskVersion)) return false;
  int32_t w = s.ReadInteger();
  int32_t h = s.ReadInteger();
  i_bbox.left = s.ReadInteger();
  i_bbox.right = s.ReadInteger();
  i_bbox.bottom = s.ReadInteger();
  i_bbox.top = s.ReadInteger();
  if (w < 0 || h < 0) return false;
  uint64_t pixels = static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
  if (!CountFits(s, static_cast<int64_t>(pixels), 4)) return false;
  i_w = w;
  i_h = h;
  i_mask.assign(pixels, 0);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) Set(x, y, s.ReadBoolean());
  return true;
}

void TMask::SaveToStream(CStream& s) const {
  s.WriteInteger(kMaskVersion);
  s.WriteInteger(i_w);
  s.WriteInteger(i_h);
  s.WriteInteger(i_bbox.left);
  s.WriteInteger(i_bbox.right);
  s.WriteInteger(i_bbox.bottom);
  s.WriteInteger(i_bbox.top);
  for (int32_t y = 0; y < i_h; ++y)
    for (int32_t x = 0; x < i_w; ++x) s.WriteBoolean(Get(x, y));
}
