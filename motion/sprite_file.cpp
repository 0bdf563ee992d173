// sprite_file.cpp: sprites loaded from image files at run time: strips cut
// into equal frames, animated GIFs frame by frame, each image prepared, then
// one precise automatic mask.
#include <algorithm>
#include <cctype>

#include "motion/image_load.h"
#include "motion/image_prepare.h"
#include "motion/sprite_class.h"

namespace {

bool HasGifExtension(const std::string& fname) {
  size_t dot = fname.rfind('.');
  if (dot == std::string::npos || fname.find_first_of("/\\", dot) != std::string::npos)
    return false;
  std::string ext = fname.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".gif";
}

// The frames of a strip: count frames of (width div count) pixels, the
// columns beyond them dropped. A strip narrower than its frame count gives
// nothing (frames would be 0 pixels wide).
bool CutStrip(const TBitmap32& strip, int32_t imgnumb, std::vector<TBitmap32>& frames) {
  int32_t count = imgnumb <= 0 ? 1 : imgnumb;
  int32_t width = strip.s_w / count;
  if (width <= 0) return false;
  frames.clear();
  frames.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) frames.push_back(strip.Crop(i * width, 0, width, strip.s_h));
  return true;
}

void PrepareAll(std::vector<TBitmap32>& images, bool removeback, bool smooth) {
  for (TBitmap32& bm : images) Image_PrepareLoaded(bm, removeback, smooth);
}

bool DecodeStrip(const std::string& fname, int32_t imgnumb, bool removeback, bool smooth,
                 std::vector<TBitmap32>& images) {
  TBitmap32 strip;
  if (!Image_LoadFile(fname, strip) || !CutStrip(strip, imgnumb, images)) return false;
  PrepareAll(images, removeback, smooth);
  return true;
}

bool DecodeGif(const std::string& fname, bool removeback, bool smooth,
               std::vector<TBitmap32>& images) {
  if (!Image_LoadGifFile(fname, images)) return false;
  PrepareAll(images, removeback, smooth);
  return true;
}

}  // namespace

bool CSprite::LoadStripFromFile(const std::string& fname, int32_t imgnumb, bool removeback,
                                bool smooth) {
  std::vector<TBitmap32> images;
  if (!DecodeStrip(fname, imgnumb, removeback, smooth, images)) return false;
  FreeTexture();
  i_bitmap = std::move(images);
  return true;
}

bool CSprite::LoadGifFromFile(const std::string& fname, bool removeback, bool smooth) {
  std::vector<TBitmap32> images;
  if (!DecodeGif(fname, removeback, smooth, images)) return false;
  FreeTexture();
  i_bitmap = std::move(images);
  return true;
}

bool CSprite::LoadFromFile(const std::string& fname, int32_t imgnumb, bool removeback, bool smooth,
                           int32_t xo, int32_t yo) {
  bool loaded = HasGifExtension(fname) ? LoadGifFromFile(fname, removeback, smooth)
                                       : LoadStripFromFile(fname, imgnumb, removeback, smooth);
  if (!loaded) return false;
  i_xorig = xo;
  i_yorig = yo;
  InitTexture();
  ComputeMask(false, 0, TRect(), 0, 0);
  return true;
}
