// dialog_font.cpp: rasterised dialog faces, their metrics and drawing, with
// the pixel font as the stand-in when no face loads.
#include "dialogs/dialog_font.h"

#include <algorithm>

#include "graphics/font_raster.h"
#include "graphics/pixel_font.h"
#include "common/support_stream.h"

namespace {

// The code page 1252 code of a character; '?' where the code page lacks it.
char16_t CodeOf(uint32_t unicode) {
  const int code = Cp1252FromUnicode(unicode);
  return static_cast<char16_t>(code < 0 ? '?' : code);
}

uint8_t Mix(uint32_t under, uint32_t over, uint32_t alpha) {
  return static_cast<uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

// Blends colour over the pixel with coverage 0..255; the result is opaque
// where the pixel was.
void Blend(TBitmap32& target, int x, int y, TColor32 colour, uint32_t coverage) {
  TColor32& p = target.s_data[static_cast<size_t>(y) * target.s_w + x];
  if (coverage >= 255) {
    p = (p & 0xFF000000u) | (colour & 0x00FFFFFFu);
    return;
  }
  uint32_t r = Mix((p >> 16) & 0xFF, (colour >> 16) & 0xFF, coverage);
  uint32_t g = Mix((p >> 8) & 0xFF, (colour >> 8) & 0xFF, coverage);
  uint32_t b = Mix(p & 0xFF, colour & 0xFF, coverage);
  p = (p & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

bool Inside(const TBitmap32& target, const TDialogClip& clip, int x, int y) {
  return x >= std::max(clip.left, 0) && y >= std::max(clip.top, 0) &&
         x < std::min(clip.right, target.s_w) && y < std::min(clip.bottom, target.s_h);
}

}  // namespace

std::u16string Dialog_Codes(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<uint8_t>(utf8[i]);
    int length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3
                               : (c & 0xF8) == 0xF0 ? 4 : 0;
    uint32_t unicode = length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
    bool valid = length > 0 && i + length <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<uint8_t>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      unicode = (unicode << 6) | (next & 0x3F);
    }
    if (length == 1) {
      out += static_cast<char16_t>(c);
      ++i;
    } else if (valid) {
      out += CodeOf(unicode);
      i += length;
    } else {
      out += static_cast<char16_t>(c);
      ++i;
    }
  }
  return out;
}

bool TDialogFont::Load(const std::string& face, int size, bool bold, bool italic) {
  std::string error;
  has_face_ = RasteriseFont(face, size, bold, italic, 32, 255, raster_, error);
  return has_face_;
}

int TDialogFont::LineHeight() const {
  return has_face_ ? raster_.font_height + 1 : kPixelFontHeight + 3;
}

int TDialogFont::CharWidth(int code) const {
  if (!has_face_) return kPixelFontAdvance;
  if (code < raster_.first || code > raster_.last) code = '?';
  return raster_.shift[code];
}

int TDialogFont::TextWidth(std::string_view utf8) const {
  int width = 0;
  for (char16_t code : Dialog_Codes(utf8)) width += CharWidth(code);
  return width;
}

void TDialogFont::Draw(TBitmap32& target, int x, int y, std::string_view utf8, TColor32 colour,
                       const TDialogClip& clip) const {
  for (char16_t code : Dialog_Codes(utf8)) {
    if (x >= clip.right) break;
    DrawChar(target, x, y, code, colour, clip);
    x += CharWidth(code);
  }
}

void TDialogFont::DrawChar(TBitmap32& target, int x, int y, int code, TColor32 colour,
                           const TDialogClip& clip) const {
  if (!has_face_) {
    RBitmap cell;
    cell.width = kPixelFontAdvance;
    cell.height = kPixelFontHeight;
    cell.pixels.assign(static_cast<size_t>(cell.width) * cell.height, 0);
    const char text[2] = {static_cast<char>(code < 128 ? code : '?'), 0};
    PixelFont_Draw(cell, 0, 0, text, 0xFFFFFFFFu);
    for (int r = 0; r < cell.height; ++r)
      for (int c = 0; c < cell.width; ++c)
        if (cell.pixels[static_cast<size_t>(r) * cell.width + c] != 0 &&
            Inside(target, clip, x + c, y + 1 + r))
          Blend(target, x + c, y + 1 + r, colour, 255);
    return;
  }
  if (code < raster_.first || code > raster_.last) code = '?';
  const int w = raster_.w[code], h = raster_.h[code];
  if (w * h <= 1) return;
  const int left = x + raster_.offset[code];
  for (int r = 0; r < h; ++r) {
    const uint8_t* row = &raster_.atlas[static_cast<size_t>(raster_.y[code] + r) *
                                            raster_.atlas_width + raster_.x[code]];
    for (int c = 0; c < w; ++c)
      if (row[c] != 0 && Inside(target, clip, left + c, y + r))
        Blend(target, left + c, y + r, colour, row[c]);
  }
}

const TDialogFont& Dialog_UiFont() {
  static const TDialogFont font = [] {
    TDialogFont f;
    f.Load("Arial", 9);
    return f;
  }();
  return font;
}

const TDialogFont& Dialog_MonoFont() {
  static const TDialogFont font = [] {
    TDialogFont f;
    f.Load("Courier New", 9);
    return f;
  }();
  return font;
}
