// mask_build.cpp: building masks from image alpha and shapes (TMask::Create,
// TMask::Merge) and the masks of a whole sprite.
#include "motion/mask_build.h"

#include <algorithm>
#include <cmath>

#include "motion/bitmap32.h"
#include "motion/sprite_class.h"

namespace {

int32_t Alpha(TColor32 c) { return static_cast<int32_t>(c >> 24); }

TRect BoxFor(const TBitmap32& bm, int32_t bbmode, const TRect& bbox, int32_t tolerance) {
  if (bbmode == kBoxAutomatic) return Mask_AutomaticBox(bm, tolerance);
  if (bbmode == kBoxFull) return TRect{0, 0, bm.s_w - 1, bm.s_h - 1};
  return TRect{std::max(0, bbox.left), std::max(0, bbox.top), std::min(bm.s_w - 1, bbox.right),
               std::min(bm.s_h - 1, bbox.bottom)};
}

// Calls set(x, y) for every pixel of box that lies inside the mask.
template <class Set>
void ForBoxPixels(const TMask& mask, const TRect& box, Set&& set) {
  const int32_t x0 = std::max(box.left, 0), x1 = std::min(box.right, mask.i_w - 1);
  const int32_t y0 = std::max(box.top, 0), y1 = std::min(box.bottom, mask.i_h - 1);
  for (int32_t x = x0; x <= x1; ++x)
    for (int32_t y = y0; y <= y1; ++y) set(x, y);
}

// The ellipse or diamond inscribed in box, with a half pixel added to the
// radii so that a one-pixel box still holds its pixel.
bool InShape(int32_t kind, const TRect& box, int32_t x, int32_t y) {
  const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
  const double rx = cx - box.left + 0.5, ry = cy - box.top + 0.5;
  if (rx <= 0 || ry <= 0) return false;
  const double dx = (x - cx) / rx, dy = (y - cy) / ry;
  if (kind == kMaskEllipse) return dx * dx + dy * dy < 1;
  return std::fabs(dx) + std::fabs(dy) < 1;
}

// Sets (never clears) the pixels of a shape kind over box.
void DrawShape(TMask& mask, int32_t kind, const TRect& box) {
  const bool shaped = kind == kMaskEllipse || kind == kMaskDiamond;
  ForBoxPixels(mask, box, [&](int32_t x, int32_t y) {
    if (!shaped || InShape(kind, box, x, y)) mask.Set(x, y, true);
  });
}

}  // namespace

TRect Mask_AutomaticBox(const TBitmap32& bm, int32_t tolerance) {
  TRect box{bm.s_w - 1, bm.s_h - 1, 0, 0};
  for (int32_t y = 0; y < bm.s_h; ++y)
    for (int32_t x = 0; x < bm.s_w; ++x)
      if (Alpha(bm.GetPixel(x, y)) > tolerance) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
  return box;
}

void TMask::Create(const TBitmap32* bm, int32_t bbmode, const TRect& bbox, int32_t kind,
                   int32_t tolerance) {
  *this = TMask();
  if (bm == nullptr) return;
  i_w = std::max(bm->s_w, 0);
  i_h = std::max(bm->s_h, 0);
  i_mask.assign(static_cast<size_t>(i_w) * i_h, 0);
  i_bbox = BoxFor(*bm, bbmode, bbox, tolerance);
  if (kind == kMaskPrecise) {
    ForBoxPixels(*this, i_bbox, [&](int32_t x, int32_t y) {
      Set(x, y, Alpha(bm->GetPixel(x, y)) > tolerance);
    });
  } else if (kind == kMaskRectangle || kind == kMaskEllipse || kind == kMaskDiamond) {
    DrawShape(*this, kind, i_bbox);
  }
}

void TMask::Merge(const TBitmap32* bm, int32_t bbmode, const TRect& bbox, int32_t kind,
                  int32_t tolerance) {
  TMask add;
  add.Create(bm, bbmode, bbox, kind, tolerance);
  i_bbox = TRect{std::min(i_bbox.left, add.i_bbox.left), std::min(i_bbox.top, add.i_bbox.top),
                 std::max(i_bbox.right, add.i_bbox.right),
                 std::max(i_bbox.bottom, add.i_bbox.bottom)};
  if (kind == kMaskPrecise) {
    const int32_t w = std::min(i_w, add.i_w), h = std::min(i_h, add.i_h);
    for (int32_t x = 0; x < w; ++x)
      for (int32_t y = 0; y < h; ++y)
        if (add.Get(x, y)) Set(x, y, true);
  } else {
    // Kind 1 and unknown kinds fill the union box.
    DrawShape(*this, kind == kMaskEllipse || kind == kMaskDiamond ? kind : kMaskRectangle, i_bbox);
  }
}

void Mask_ComputeSpriteMasks(CSprite& sprite, bool sepmasks, int32_t bbmode, const TRect& bbox,
                             int32_t kind, int32_t tolerance) {
  sprite.i_mask.clear();
  sprite.i_sepmasks = sepmasks;
  if (sprite.i_bitmap.empty()) {
    sprite.i_bbox = TRect{};
    return;
  }
  if (sepmasks) {
    sprite.i_mask.resize(sprite.i_bitmap.size());
    for (size_t i = 0; i < sprite.i_bitmap.size(); ++i)
      sprite.i_mask[i].Create(&sprite.i_bitmap[i], bbmode, bbox, kind, tolerance);
  } else {
    sprite.i_mask.resize(1);
    sprite.i_mask[0].Create(&sprite.i_bitmap[0], bbmode, bbox, kind, tolerance);
    for (size_t i = 1; i < sprite.i_bitmap.size(); ++i)
      sprite.i_mask[0].Merge(&sprite.i_bitmap[i], bbmode, bbox, kind, tolerance);
  }
  sprite.ComputeBoundingBox();
}
