// sprite_mask.h: TMask, the collision mask of a sprite image, with its box:
// building it from images (mask kinds, box modes, tolerance, merging), its
// pixel tests against another mask and against shapes in room space (under
// scale and rotation), and its stored form (the mask record of the game data).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CStream;
class TBitmap32;

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

// Mask kinds and bounding-box modes of TMask::Create.
enum : int32_t { kMaskPrecise = 0, kMaskRectangle = 1, kMaskEllipse = 2, kMaskDiamond = 3 };
enum : int32_t { kBoxAutomatic = 0, kBoxFull = 1, kBoxManual = 2 };

// How a mask is worn in the room: the wearer's room-space box, its position
// rounded to integers, the sprite origin, the image scales and the image
// angle in degrees (counter-clockwise on screen).
struct RMaskPose {
  TRect bbox;
  int32_t x = 0;
  int32_t y = 0;
  int32_t xo = 0;
  int32_t yo = 0;
  double scalex = 1.0;
  double scaley = 1.0;
  double angle = 0.0;
};

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

  // The mask of one image (no image: an empty mask). Box: automatic from
  // alpha > tolerance, the full image, or bbox clipped to the image (any
  // other mode). Kind: precise (alpha > tolerance), rectangle, the ellipse or
  // diamond inscribed in the box; any other kind leaves the mask empty.
  void Create(const TBitmap32* bm, int32_t bbmode, const TRect& bbox, int32_t kind,
              int32_t tolerance);
  // Unites the mask of another image: the box becomes the union; precise
  // masks OR their common pixels, the shapes are drawn over the union box.
  void Merge(const TBitmap32* bm, int32_t bbmode, const TRect& bbox, int32_t kind,
             int32_t tolerance);

  // Pixel tests in room space: true when some room pixel inside the
  // wearer's box is covered by the mask and by the shape.
  bool CollisionMask(const RMaskPose& pose, const TMask& other, const RMaskPose& other_pose) const;
  bool CollisionPoint(const RMaskPose& pose, int32_t x, int32_t y) const;
  bool CollisionRectangle(const RMaskPose& pose, const TRect& rr) const;
  // The ellipse inscribed in rr (centre and radii from rr's integer sides).
  bool CollisionEllipse(const RMaskPose& pose, const TRect& rr) const;
  bool CollisionLine(const RMaskPose& pose, int32_t xl, int32_t yl, int32_t xr, int32_t yr) const;

  // Mask record: version 800, width, height, box left, right, bottom, top,
  // then height rows of width Booleans from the top. False on a wrong
  // version or a size the stream cannot hold.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};

inline bool operator==(const TMask& a, const TMask& b) {
  return a.i_w == b.i_w && a.i_h == b.i_h && a.i_mask == b.i_mask && a.i_bbox == b.i_bbox;
}
