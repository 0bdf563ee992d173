// pack_mask.cpp: masks from image alpha and shapes: the mask of one image,
// merging images into one mask, and the sprite box over the masks.
#include "pack/pack_mask.h"

#include <algorithm>
#include <cmath>

namespace {

TRect AutomaticBox(const TBitmap32& bm, int tolerance) {
  TRect box{bm.s_w - 1, bm.s_h - 1, 0, 0};
  for (int y = 0; y < bm.s_h; ++y)
    for (int x = 0; x < bm.s_w; ++x)
      if (static_cast<int>(bm.GetPixel(x, y) >> 24) > tolerance) {
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
  return box;
}

TRect BoxOf(const TBitmap32& bm, const MaskSettings& s) {
  switch (s.box_mode) {
    case BoxMode::Automatic: return AutomaticBox(bm, s.tolerance);
    case BoxMode::Full: return TRect{0, 0, bm.s_w - 1, bm.s_h - 1};
    default:
      return TRect{std::max(0, s.box.left), std::max(0, s.box.top),
                   std::min(bm.s_w - 1, s.box.right), std::min(bm.s_h - 1, s.box.bottom)};
  }
}

// Whether pixel (x, y) of box lies in the shape of kind (ellipse, diamond).
bool InShape(MaskKind kind, const TRect& box, int x, int y) {
  double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
  double rx = cx - box.left + 0.5, ry = cy - box.top + 0.5;
  if (rx <= 0 || ry <= 0) return false;
  double dx = (x - cx) / rx, dy = (y - cy) / ry;
  if (kind == MaskKind::Ellipse) return dx * dx + dy * dy < 1;
  return std::fabs(dx) + std::fabs(dy) < 1;
}

// Sets the pixels of the shape of kind over box (clipped to the mask).
void DrawShape(TMask& mask, MaskKind kind, const TRect& box) {
  for (int x = std::max(box.left, 0); x <= std::min(box.right, mask.i_w - 1); ++x)
    for (int y = std::max(box.top, 0); y <= std::min(box.bottom, mask.i_h - 1); ++y)
      if (kind == MaskKind::Rectangle || InShape(kind, box, x, y)) mask.Set(x, y, true);
}

TMask MaskOf(const TBitmap32& bm, const MaskSettings& s) {
  TMask mask;
  mask.i_w = bm.s_w;
  mask.i_h = bm.s_h;
  mask.i_mask.assign(static_cast<size_t>(std::max(bm.s_w, 0)) * std::max(bm.s_h, 0), 0);
  mask.i_bbox = BoxOf(bm, s);
  const TRect& b = mask.i_bbox;
  if (s.kind == MaskKind::Precise) {
    for (int x = std::max(b.left, 0); x <= std::min(b.right, bm.s_w - 1); ++x)
      for (int y = std::max(b.top, 0); y <= std::min(b.bottom, bm.s_h - 1); ++y)
        mask.Set(x, y, static_cast<int>(bm.GetPixel(x, y) >> 24) > s.tolerance);
  } else {
    DrawShape(mask, s.kind, b);
  }
  return mask;
}

void MergeInto(TMask& mask, const TBitmap32& bm, const MaskSettings& s) {
  TMask add = MaskOf(bm, s);
  TRect& b = mask.i_bbox;
  b = TRect{std::min(b.left, add.i_bbox.left), std::min(b.top, add.i_bbox.top),
            std::max(b.right, add.i_bbox.right), std::max(b.bottom, add.i_bbox.bottom)};
  if (s.kind == MaskKind::Precise) {
    for (int x = 0; x < std::min(mask.i_w, add.i_w); ++x)
      for (int y = 0; y < std::min(mask.i_h, add.i_h); ++y)
        if (add.Get(x, y)) mask.Set(x, y, true);
  } else if (s.kind == MaskKind::Ellipse || s.kind == MaskKind::Diamond) {
    DrawShape(mask, s.kind, b);
  } else {
    DrawShape(mask, MaskKind::Rectangle, b);
  }
}

}  // namespace

void ComputeSpriteMasks(CSprite& sprite, const MaskSettings& settings) {
  sprite.i_mask.clear();
  sprite.i_sepmasks = settings.separate;
  if (sprite.i_bitmap.empty()) {
    sprite.i_bbox = TRect{};
    return;
  }
  if (settings.separate) {
    for (const TBitmap32& bm : sprite.i_bitmap) sprite.i_mask.push_back(MaskOf(bm, settings));
  } else {
    sprite.i_mask.push_back(MaskOf(sprite.i_bitmap[0], settings));
    for (size_t i = 1; i < sprite.i_bitmap.size(); ++i)
      MergeInto(sprite.i_mask[0], sprite.i_bitmap[i], settings);
  }
  sprite.ComputeBoundingBox();
}
