// sprite_mask.h: TMask, the collision mask of a sprite image, with its box,
// and its stored form (the mask record of the game data).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CStream;

// A box with inclusive right and bottom.
struct TRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

inline bool operator==(const TRect& a, const TRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class TMask {
 public:
  int32_t i_w = 0;
  int32_t i_h = 0;
  // Collision pixels, column first: pixel (x, y) is i_mask[x * i_h + y].
  std::vector<uint8_t> i_mask;
  TRect i_bbox;

  bool Get(int32_t x, int32_t y) const {
    return i_mask[static_cast<size_t>(x) * i_h + y] != 0;
  }
  void Set(int32_t x, int32_t y, bool v) { i_mask[static_cast<size_t>(x) * i_h + y] = v ? 1 : 0; }

  // Mask record: version 800, width, height, box left, right, bottom, top,
  // then height rows of width Booleans from the top. False on a wrong
  // version or a size the stream cannot hold.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};

inline bool operator==(const TMask& a, const TMask& b) {
  return a.i_w == b.i_w && a.i_h == b.i_h && a.i_mask == b.i_mask && a.i_bbox == b.i_bbox;
}
