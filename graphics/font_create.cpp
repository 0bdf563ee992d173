// font_create.cpp: fonts made at run time: rasterised faces (the default
// font and font_add) and sprite fonts (font_add_sprite), and the text width
// measure of CFont.
#include <algorithm>

#include "graphics/font_class.h"
#include "graphics/font_raster.h"
#include "motion/sprite_class.h"
#include "graphics/pixel_font.h"
#include "common/support_stream.h"

namespace {

// Leftmost and rightmost columns holding a visible pixel; false when the
// image has none.
bool VisibleColumns(const TBitmap32& image, int32_t& left, int32_t& right) {
  left = image.s_w;
  right = -1;
  for (int32_t y = 0; y < image.s_h; ++y)
    for (int32_t x = 0; x < image.s_w; ++x)
      if ((image.GetPixel(x, y) >> 24) != 0) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  return right >= 0;
}

// The built-in 5 x 7 pixel font as an atlas of printable ASCII within
// first..last: the stand-in when no installed face can be rasterised, so
// text stays visible and measurable.
void PixelFontAtlas(CFont& font) {
  constexpr int kLow = 32, kHigh = 126;
  const int first = std::max(font.s_first, kLow), last = std::min(font.s_last, kHigh);
  if (first > last) return;
  RBitmap bitmap;
  bitmap.width = kPixelFontAdvance * (last - first + 1);
  bitmap.height = kPixelFontHeight;
  bitmap.pixels.assign(static_cast<size_t>(bitmap.width) * bitmap.height, 0);
  std::string text;
  for (int c = first; c <= last; ++c) text.push_back(static_cast<char>(c));
  PixelFont_Draw(bitmap, 0, 0, text, 0xFFFFFFFF);
  font.s_bw = bitmap.width;
  font.s_bh = bitmap.height;
  font.s_bytes.resize(bitmap.pixels.size());
  for (size_t i = 0; i < bitmap.pixels.size(); ++i)
    font.s_bytes[i] = static_cast<uint8_t>(bitmap.pixels[i] >> 24);
  for (int c = first; c <= last; ++c) {
    font.s_x[c] = kPixelFontAdvance * (c - first);
    font.s_w[c] = kPixelFontWidth;
    font.s_h[c] = kPixelFontHeight;
    font.s_shift[c] = kPixelFontAdvance;
  }
  font.s_FontHeight = kPixelFontHeight;
}

}  // namespace

int32_t CFont::TextWidth(const VString& str) const {
  int32_t width = 0;
  for (char16_t c : str) width += Advance(c);
  return width;
}

bool CFont::CreateFont(const VString& name, int32_t size, bool bold, bool italic,
                       int32_t first, int32_t last) {
  Clear();
  s_name = name;
  s_size = size;
  s_bold = bold;
  s_italic = italic;
  s_first = std::max(first, 0);
  s_last = std::min(last, 255);
  FontRaster raster;
  std::string error;
  if (!RasteriseFont(ToUtf8(name), size, bold, italic, s_first, s_last, raster, error)) {
    PixelFontAtlas(*this);
    return false;
  }
  s_x = raster.x;
  s_y = raster.y;
  s_w = raster.w;
  s_h = raster.h;
  s_shift = raster.shift;
  s_offset = raster.offset;
  s_bw = raster.atlas_width;
  s_bh = raster.atlas_height;
  s_bytes = std::move(raster.atlas);
  s_FontHeight = raster.font_height;
  return true;
}

void CFont::CreateFromSprite(const CSprite& sprite, int32_t ind, int32_t first, bool prop,
                             int32_t sep) {
  Clear();
  s_spr = ind;
  s_AntiAlias = 0;
  s_first = std::clamp(first, 0, 255);
  s_last = std::min(s_first + sprite.Numb() - 1, 255);
  s_FontHeight = sprite.Height();
  for (int32_t c = s_first; c <= s_last; ++c) {
    int32_t left = 0, right = sprite.Width();
    // An image with no visible pixel keeps the full width.
    if (prop && !VisibleColumns(sprite.i_bitmap[static_cast<size_t>(c - s_first)], left, right)) {
      left = 0;
      right = sprite.Width();
    }
    s_h[c] = sprite.Height();
    s_w[c] = sprite.Width();
    s_shift[c] = right + sep - left;
    s_offset[c] = -left;
  }
}
