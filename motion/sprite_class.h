// sprite_class.h: CSprite, a sprite resource: equally sized images, one
// origin, the collision masks and the sprite box, with its stored form, the
// copies between sprites, the images added at run time (from image files,
// sprite files, bitmaps and other sprites) and the textures of its images.
#pragma once

#include <cstdint>
#include <string>
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

  // Frees images, textures and masks; origin and box become 0.
  void Clear();
  // A deep copy of spr's images, origin, box, separate-mask flag and masks
  // (copied, not recomputed); textures are created anew.
  void Assign(const CSprite& spr);

  // Image index reduced modulo the image count (a negative remainder wraps);
  // -1 for a sprite without images.
  int32_t ImageIndex(int32_t ind) const;
  // The mask that image ind (reduced as above) uses, or null.
  const TMask* MaskOf(int32_t ind) const;
  // Rebuilds every mask and the sprite box (motion/mask_build.h).
  void ComputeMask(bool sepmasks, int32_t bbmode, const TRect& bbox, int32_t kind,
                   int32_t tolerance);
  void FreeMask();
  // A copy of image ind (no reduction); false outside 0..count-1.
  bool GetBitmap(int32_t ind, TBitmap32& out) const;
  // The automatic box of image ind with tolerance 0; (0, 0, 0, 0) outside
  // 0..count-1.
  TRect GetBoundingBoxImg(int32_t ind) const;

  // Textures through the renderer hook (motion/image_hooks.h).
  void InitTexture();
  void FreeTexture();
  // Texture of image ind (reduced), -1 when none.
  int32_t GetTexture(int32_t ind) const;

  // Image files (sprite_file.cpp). An animated GIF (by its extension) gives
  // one image per frame, any other image a strip of imgnumb frames (1 when
  // imgnumb <= 0). Images are prepared (motion/image_prepare.h); then the
  // origin is set, textures made and one precise automatic mask computed.
  // False, with the sprite unchanged, when the file is missing or does not
  // decode.
  bool LoadFromFile(const std::string& fname, int32_t imgnumb, bool removeback, bool smooth,
                    int32_t xo, int32_t yo);
  bool LoadStripFromFile(const std::string& fname, int32_t imgnumb, bool removeback, bool smooth);
  bool LoadGifFromFile(const std::string& fname, bool removeback, bool smooth);

  // Sprite files (sprite_file_format.cpp): magic 1234321 and a compressed
  // body with the images and mask settings. False, with the sprite
  // unchanged, for a missing, foreign or damaged file.
  bool LoadFromSpriteFile(const std::string& fname);
  // The same form, with the given mask settings (written atomically).
  bool SaveToSpriteFile(const std::string& fname, int32_t kind, int32_t tolerance, int32_t bbmode,
                        const TRect& bbox) const;

  // Images from bitmaps and other sprites (image_sprite.cpp).
  // Replaces everything by one image from bbb: the alpha test first unless
  // removeback is 2, then the preparation with background removal when
  // removeback is 1 (smoothing when smooth), then opaque when removeback is
  // -1. Origin (xo, yo), textures, one precise automatic mask.
  void CreateFromBitmap(const TBitmap32& bbb, int32_t removeback, bool smooth, int32_t xo,
                        int32_t yo);
  // Appends one prepared image (no alpha test), stretched to the size of
  // the first image; masks rebuilt, textures recreated.
  void AddFromBitmap(const TBitmap32& bbb, bool removeback, bool smooth);
  // Appends all images of spr as they are, stretched likewise.
  void AddFromSprite(const CSprite& spr);
  // Image i takes its alpha from the intensity of spr's image i mod count.
  void SetAlphaFromSprite(const CSprite& spr);

  // Union of the mask boxes (separate masks) or the box of mask 0.
  void ComputeBoundingBox();
  // Sprite record (version 800). Clears first; false on a wrong version or
  // a failed image or mask record.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
