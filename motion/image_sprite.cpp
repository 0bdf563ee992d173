// image_sprite.cpp: sprite images made at run time from bitmaps (the screen,
// surfaces) and from other sprites: creating, appending with stretching to
// the sprite's size, and alpha channels taken from another sprite.
#include "motion/image_prepare.h"
#include "motion/sprite_class.h"

namespace {

// Appends images, each stretched to the size of the first image (the first
// image of an empty sprite keeps its own size), then recreates textures and
// rebuilds the masks with the sprite's own separate-mask flag. Empty images
// are skipped.
void AppendImages(CSprite& sprite, std::vector<TBitmap32> images) {
  sprite.FreeTexture();
  for (TBitmap32& bm : images) {
    if (bm.Empty()) continue;
    if (!sprite.i_bitmap.empty()) {
      const TBitmap32& first = sprite.i_bitmap[0];
      if (bm.s_w != first.s_w || bm.s_h != first.s_h) bm = bm.Stretch(first.s_w, first.s_h, 1);
    }
    sprite.i_bitmap.push_back(std::move(bm));
  }
  sprite.InitTexture();
  sprite.ComputeMask(sprite.i_sepmasks, 0, TRect(), 0, 0);
}

}  // namespace

void CSprite::CreateFromBitmap(const TBitmap32& bbb, int32_t removeback, bool smooth, int32_t xo,
                               int32_t yo) {
  TBitmap32 bm = bbb;
  if (removeback != 2) bm.AlphaTest();
  Image_PrepareLoaded(bm, removeback == 1, smooth);
  if (removeback == -1) bm.MakeOpaque();
  Clear();
  i_bitmap.push_back(std::move(bm));
  i_xorig = xo;
  i_yorig = yo;
  InitTexture();
  ComputeMask(false, 0, TRect(), 0, 0);
}

void CSprite::AddFromBitmap(const TBitmap32& bbb, bool removeback, bool smooth) {
  std::vector<TBitmap32> images{bbb};
  Image_PrepareLoaded(images[0], removeback, smooth);
  AppendImages(*this, std::move(images));
}

void CSprite::AddFromSprite(const CSprite& spr) {
  // A copy first: spr may be this sprite.
  AppendImages(*this, spr.i_bitmap);
}

void CSprite::SetAlphaFromSprite(const CSprite& spr) {
  if (spr.i_bitmap.empty()) return;
  std::vector<TBitmap32> sources = spr.i_bitmap;  // spr may be this sprite
  for (size_t i = 0; i < i_bitmap.size(); ++i)
    i_bitmap[i].AlphaFromIntensity(sources[i % sources.size()]);
  InitTexture();
}
