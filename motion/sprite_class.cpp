// sprite_class.cpp: CSprite defaults, sprite box and stored form.
#include "motion/sprite_class.h"

#include <algorithm>

#include "runner/record_io.h"
#include "runner/support_stream.h"

namespace {
constexpr int32_t kSpriteVersion = 800;
// An image record is at least its version, width and height.
constexpr size_t kMinImageBytes = 12;
// A mask record is at least its version, size and box.
constexpr size_t kMinMaskBytes = 28;
}  // namespace

void CSprite::Clear() {
  i_bitmap.clear();
  i_xorig = 0;
  i_yorig = 0;
  i_bbox = TRect();
  i_mask.clear();
  i_sepmasks = false;
  i_tex.clear();
}

void CSprite::ComputeBoundingBox() {
  if (i_bitmap.empty() || i_mask.empty()) {
    i_bbox = TRect();
    return;
  }
  if (!i_sepmasks) {
    i_bbox = i_mask[0].i_bbox;
    return;
  }
  TRect box{Width() - 1, Height() - 1, 0, 0};
  for (const TMask& m : i_mask) {
    box.left = std::min(box.left, m.i_bbox.left);
    box.top = std::min(box.top, m.i_bbox.top);
    box.right = std::max(box.right, m.i_bbox.right);
    box.bottom = std::max(box.bottom, m.i_bbox.bottom);
  }
  i_bbox = box;
}

bool CSprite::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kSpriteVersion)) return false;
  i_xorig = s.ReadInteger();
  i_yorig = s.ReadInteger();
  int32_t n = 0;
  if (!ReadCount(s, n, kMinImageBytes)) return false;
  for (int32_t i = 0; i < n; ++i) {
    TBitmap32 bm;
    if (!bm.LoadFromStream(s)) return false;
    i_bitmap.push_back(std::move(bm));
  }
  i_sepmasks = s.ReadBoolean();
  if (n > 0) {
    int32_t masks = i_sepmasks ? n : 1;
    if (!CountFits(s, masks, kMinMaskBytes)) return false;
    for (int32_t i = 0; i < masks; ++i) {
      TMask m;
      if (!m.LoadFromStream(s)) return false;
      i_mask.push_back(std::move(m));
    }
  }
  i_tex.assign(i_bitmap.size(), -1);
  ComputeBoundingBox();
  return true;
}

void CSprite::SaveToStream(CStream& s) const {
  s.WriteInteger(kSpriteVersion);
  s.WriteInteger(i_xorig);
  s.WriteInteger(i_yorig);
  s.WriteInteger(Numb());
  for (const TBitmap32& bm : i_bitmap) bm.SaveToStream(s);
  s.WriteBoolean(i_sepmasks);
  if (i_bitmap.empty()) return;
  size_t masks = i_sepmasks ? i_bitmap.size() : 1;
  for (size_t i = 0; i < masks; ++i) {
    if (i < i_mask.size()) {
      i_mask[i].SaveToStream(s);
    } else {
      TMask().SaveToStream(s);  // a sprite without its masks: empty ones
    }
  }
}
