// bitmap32.h: TBitmap32, the 32-bit image of sprites and backgrounds, and
// its stored form (the image record of the game data).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CStream;

// One pixel, 0xAARRGGBB: little-endian it is stored as the bytes blue, green,
// red, alpha.
using TColor32 = uint32_t;

class TBitmap32 {
 public:
  int32_t s_w = 0;
  int32_t s_h = 0;
  std::vector<TColor32> s_data;  // s_w * s_h pixels, rows top to bottom

  TBitmap32() = default;
  TBitmap32(int32_t w, int32_t h) : s_w(w), s_h(h), s_data(static_cast<size_t>(w) * h, 0) {}

  bool Empty() const { return s_w <= 0 || s_h <= 0; }
  TColor32 GetPixel(int32_t x, int32_t y) const { return s_data[static_cast<size_t>(y) * s_w + x]; }
  void SetPixel(int32_t x, int32_t y, TColor32 c) { s_data[static_cast<size_t>(y) * s_w + x] = c; }

  // Image record: version 800, width, height, and when width * height > 0 a
  // stream of width * height * 4 bytes. False on a wrong version, a negative
  // size or a pixel stream of the wrong length.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};

inline bool operator==(const TBitmap32& a, const TBitmap32& b) {
  return a.s_w == b.s_w && a.s_h == b.s_h && a.s_data == b.s_data;
}
