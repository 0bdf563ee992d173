// sprite_class.h: CSprite, a sprite resource: equally sized images, one
// origin, the collision masks and the sprite box, with its stored form.
#pragma once

#include <cstdint>
#include <vector>

#include "motion/bitmap32.h"
#include "motion/sprite_mask.h"

class CStream;

class CSprite {
 public:
  // The image count i_numb is i_bitmap.size().
  std::vector<TBitmap32> i_bitmap;
  int32_t i_xorig = 0;
  int32_t i_yorig = 0;
  TRect i_bbox;
  // One mask per image when i_sepmasks, else exactly one (none when there
  // are no images).
  std::vector<TMask> i_mask;
  bool i_sepmasks = false;
  std::vector<int32_t> i_tex;  // texture per image, -1 where none

  int32_t Numb() const { return static_cast<int32_t>(i_bitmap.size()); }
  // Width and height of the first image; 1 for an empty sprite.
  int32_t Width() const { return i_bitmap.empty() ? 1 : i_bitmap[0].s_w; }
  int32_t Height() const { return i_bitmap.empty() ? 1 : i_bitmap[0].s_h; }

  void Clear();
  // Union of the mask boxes (separate masks) or the box of mask 0.
  void ComputeBoundingBox();
  // Sprite record (version 800). Clears first; false on a wrong version or
  // a failed image or mask record.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
