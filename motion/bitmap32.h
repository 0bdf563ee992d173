// bitmap32.h: TBitmap32, the 32-bit image of sprites and backgrounds: its
// stored form (the image record of the game data), the geometric operations
// (crop, resize, stretch, mirror, flip, draw one image onto another) and the
// preparation of images loaded at run time (colour keys, edge smoothing,
// colour extension into transparent pixels, alpha channels).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CStream;
struct RBitmap;

// One pixel, 0xAARRGGBB: little-endian it is stored as the bytes blue, green,
// red, alpha.
using TColor32 = uint32_t;

constexpr uint32_t Color32Alpha(TColor32 c) { return c >> 24; }
constexpr uint32_t Color32Red(TColor32 c) { return (c >> 16) & 0xFF; }
constexpr uint32_t Color32Green(TColor32 c) { return (c >> 8) & 0xFF; }
constexpr uint32_t Color32Blue(TColor32 c) { return c & 0xFF; }
constexpr TColor32 Color32(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
// A game colour (red in the lowest byte) as an opaque pixel.
constexpr TColor32 Color32FromGameColor(int32_t c) {
  uint32_t u = static_cast<uint32_t>(c);
  return Color32(u & 0xFF, (u >> 8) & 0xFF, (u >> 16) & 0xFF);
}

class TBitmap32 {
 public:
  int32_t s_w = 0;
  int32_t s_h = 0;
  std::vector<TColor32> s_data;  // s_w * s_h pixels, rows top to bottom

  TBitmap32() = default;
  // Negative sizes make an empty bitmap.
  TBitmap32(int32_t w, int32_t h, TColor32 fill = 0);
  // A copy of a decoded platform bitmap, pixels as they are.
  explicit TBitmap32(const RBitmap& bm);
  RBitmap ToRBitmap() const;

  bool Empty() const { return s_w <= 0 || s_h <= 0; }
  TColor32 GetPixel(int32_t x, int32_t y) const { return s_data[static_cast<size_t>(y) * s_w + x]; }
  void SetPixel(int32_t x, int32_t y, TColor32 c) { s_data[static_cast<size_t>(y) * s_w + x] = c; }
  bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < s_w && y < s_h; }

  // Image record: version 800, width, height, and when width * height > 0 a
  // stream of width * height * 4 bytes. False on a wrong version, a negative
  // size or a pixel stream of the wrong length.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;

  // Geometry (bitmap32.cpp).
  void Fill(TColor32 c);
  // The part (x, y, w, h) clipped to the image; outside parts are dropped.
  TBitmap32 Crop(int32_t x, int32_t y, int32_t w, int32_t h) const;
  // New size; kept pixels stay at their place, new ones are fill.
  void Resize(int32_t w, int32_t h, TColor32 fill = 0);
  // Copies src with its top-left at (x, y), clipped; with honour_alpha,
  // source pixels of alpha 0 are skipped, otherwise every pixel is copied.
  void Draw(const TBitmap32& src, int32_t x, int32_t y, bool honour_alpha = false);
  // As Draw, for the part (sx, sy, sw, sh) of src.
  void DrawPart(const TBitmap32& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t x,
                int32_t y, bool honour_alpha = false);
  void Mirror();  // left to right
  void Flip();    // top to bottom
  // Stretch (image_stretch.cpp): a new image of size (w, h) (an empty one when either is <= 0).
  // Quality 0 takes the nearest pixel; quality 1 and above interpolate
  // bilinearly between the four nearest pixel centres, weighting colours by
  // alpha so that transparent pixels lend no colour to their neighbours.
  TBitmap32 Stretch(int32_t w, int32_t h, int quality) const;

  // Preparation (image_prepare.cpp).
  // An image whose every alpha is 0 did not carry alpha: it becomes opaque.
  void AlphaTest();
  // Every pixel whose red, green and blue each lie within tolerance of the
  // key's (and, with compare_alpha, whose alpha does too) takes the
  // replacement's red, green and blue, and with set_alpha its alpha.
  void ReplaceColor(TColor32 key, TColor32 replacement, bool set_alpha, bool compare_alpha,
                    int tolerance);
  // The bottom-left pixel is the key; matching pixels keep their colour and
  // get alpha 0.
  void RemoveBackground();
  // One pass in reading order: at each pixel that is transparent when
  // visited, the pixels of its 3 x 3 neighbourhood with alpha >= 32 lose 32.
  void SmoothEdges();
  // One pass in reading order: a transparent pixel takes the whole colour
  // of its first non-transparent neighbour (left, right, above, below, as
  // they are at that moment) and stays transparent.
  void ExtendColorsIntoTransparency();
  void MakeOpaque();
  // Over the common size: alpha = (red + green + blue) / 3 of source.
  void AlphaFromIntensity(const TBitmap32& source);
  // A copy where pixels equal in colour to key (alpha ignored) get alpha 0
  // and all others alpha 255.
  TBitmap32 ColorMasked(TColor32 key) const;
};

inline bool operator==(const TBitmap32& a, const TBitmap32& b) {
  return a.s_w == b.s_w && a.s_h == b.s_h && a.s_data == b.s_data;
}
