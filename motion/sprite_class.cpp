// sprite_class.cpp: CSprite defaults, copies, image indices, masks, boxes,
// textures and the stored form.
#include "motion/sprite_class.h"

#include <algorithm>

#include "motion/image_hooks.h"
#include "motion/mask_build.h"
#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kSpriteVersion = 800;
// An image record is at least its version, width and height.
constexpr size_t kMinImageBytes = 12;
// A mask record is at least its version, size and box.
constexpr size_t kMinMaskBytes = 28;
}  // namespace

void CSprite::Clear() {
  FreeTexture();
  i_bitmap.clear();
  i_xorig = 0;
  i_yorig = 0;
  i_bbox = TRect();
  i_mask.clear();
  i_sepmasks = false;
  i_tex.clear();
}

void CSprite::Assign(const CSprite& spr) {
  if (&spr == this) return;
  FreeTexture();
  i_bitmap = spr.i_bitmap;
  i_xorig = spr.i_xorig;
  i_yorig = spr.i_yorig;
  i_bbox = spr.i_bbox;
  i_sepmasks = spr.i_sepmasks;
  i_mask = spr.i_mask;
  InitTexture();
}

int32_t CSprite::ImageIndex(int32_t ind) const {
  int32_t n = Numb();
  if (n <= 0) return -1;
  int32_t r = ind % n;
  return r < 0 ? r + n : r;
}

const TMask* CSprite::MaskOf(int32_t ind) const {
  int32_t i = ImageIndex(ind);
  if (i < 0) return nullptr;
  size_t m = i_sepmasks ? static_cast<size_t>(i) : 0;
  return m < i_mask.size() ? &i_mask[m] : nullptr;
}

void CSprite::ComputeMask(bool sepmasks, int32_t bbmode, const TRect& bbox, int32_t kind,
                          int32_t tolerance) {
  Mask_ComputeSpriteMasks(*this, sepmasks, bbmode, bbox, kind, tolerance);
}

void CSprite::FreeMask() { i_mask.clear(); }

bool CSprite::GetBitmap(int32_t ind, TBitmap32& out) const {
  if (ind < 0 || ind >= Numb()) return false;
  out = i_bitmap[static_cast<size_t>(ind)];
  return true;
}

TRect CSprite::GetBoundingBoxImg(int32_t ind) const {
  if (ind < 0 || ind >= Numb()) return TRect();
  return Mask_AutomaticBox(i_bitmap[static_cast<size_t>(ind)], 0);
}

void CSprite::InitTexture() {
  FreeTexture();
  i_tex.resize(i_bitmap.size());
  for (size_t i = 0; i < i_bitmap.size(); ++i) i_tex[i] = Image_CreateTexture(i_bitmap[i]);
}

void CSprite::FreeTexture() {
  for (int32_t& t : i_tex) {
    Image_FreeTexture(t);
    t = -1;
  }
  i_tex.assign(i_bitmap.size(), -1);
}

int32_t CSprite::GetTexture(int32_t ind) const {
  int32_t i = ImageIndex(ind);
  if (i < 0 || static_cast<size_t>(i) >= i_tex.size()) return -1;
  return i_tex[static_cast<size_t>(i)];
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
