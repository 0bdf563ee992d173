// mask_collision.cpp: the pixel tests of TMask in room space: a room pixel
// maps into the mask through the wearer's position, origin, scales and
// angle; a test is true at the first candidate pixel covered by the mask
// (and by the other mask or the shape). Unscaled, unrotated masks take an
// integer path that compares whole mask columns.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "motion/sprite_mask.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Floor of v as an index into 0..limit-1, or -1 (also for NaN and infinity).
int32_t FloorIndex(double v, int32_t limit) {
  const double f = std::floor(v);
  if (!(f >= 0.0 && f < static_cast<double>(limit))) return -1;
  return static_cast<int32_t>(f);
}

TRect Intersect(const TRect& a, const TRect& b) {
  return TRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
}

// A mask as worn: maps room pixels into mask pixels.
class MaskView {
 public:
  MaskView(const TMask& mask, const RMaskPose& pose)
      : mask_(mask), pose_(pose),
        identity_(pose.scalex == 1.0 && pose.scaley == 1.0 && pose.angle == 0.0) {
    if (pose.angle != 0.0) {
      cos_ = std::cos(-pose.angle * kPi / 180.0);
      sin_ = std::sin(-pose.angle * kPi / 180.0);
    }
  }

  bool Identity() const { return identity_; }

  bool CoveredPixel(int32_t px, int32_t py) const {
    if (!identity_) return CoveredReal(px, py);
    const int64_t i = int64_t{px} - pose_.x + pose_.xo;
    const int64_t j = int64_t{py} - pose_.y + pose_.yo;
    if (i < 0 || i >= mask_.i_w || j < 0 || j >= mask_.i_h) return false;
    return mask_.Get(static_cast<int32_t>(i), static_cast<int32_t>(j));
  }

  // The transform with reals, used for every scale and angle (and always
  // for points on a line).
  bool CoveredReal(double px, double py) const {
    const double dx = px - pose_.x, dy = py - pose_.y;
    int32_t i, j;
    if (pose_.angle != 0.0) {
      i = FloorIndex(pose_.xo + (dx * cos_ + dy * sin_) / pose_.scalex, mask_.i_w);
      j = FloorIndex(pose_.yo + (cos_ * dy - dx * sin_) / pose_.scaley, mask_.i_h);
    } else {
      i = FloorIndex(dx / pose_.scalex + pose_.xo, mask_.i_w);
      j = FloorIndex(dy / pose_.scaley + pose_.yo, mask_.i_h);
    }
    return i >= 0 && j >= 0 && mask_.Get(i, j);
  }

  // Identity only: the mask column of room column px, clipped to the room
  // rows top..bottom; false when nothing of it lies in the mask. first is
  // the room row of column[0].
  bool Column(int32_t px, int32_t top, int32_t bottom, const uint8_t*& column, int32_t& first,
              int32_t& count) const {
    const int64_t i = int64_t{px} - pose_.x + pose_.xo;
    if (i < 0 || i >= mask_.i_w) return false;
    const int64_t row0 = int64_t{pose_.y} - pose_.yo;  // room row of mask row 0
    const int64_t lo = std::max<int64_t>(top, row0);
    const int64_t hi = std::min<int64_t>(bottom, row0 + mask_.i_h - 1);
    if (lo > hi) return false;
    column = mask_.i_mask.data() + static_cast<size_t>(i) * mask_.i_h + (lo - row0);
    first = static_cast<int32_t>(lo);
    count = static_cast<int32_t>(hi - lo + 1);
    return true;
  }

 private:
  const TMask& mask_;
  const RMaskPose& pose_;
  const bool identity_;
  double cos_ = 1.0;
  double sin_ = 0.0;
};

bool AnySet(const uint8_t* p, int32_t n) {
  for (int32_t k = 0; k < n; ++k)
    if (p[k]) return true;
  return false;
}

bool AnyBoth(const uint8_t* a, const uint8_t* b, int32_t n) {
  uint8_t acc = 0;
  for (int32_t k = 0; k < n; ++k) acc |= a[k] & b[k];
  return acc != 0;
}

// Identity masks: every column of both, rows aligned.
bool IdentityOverlap(const MaskView& a, const MaskView& b, const TRect& r) {
  for (int32_t px = r.left; px <= r.right; ++px) {
    const uint8_t *ca, *cb;
    int32_t fa, na, fb, nb;
    if (!a.Column(px, r.top, r.bottom, ca, fa, na) || !b.Column(px, r.top, r.bottom, cb, fb, nb))
      continue;
    const int32_t lo = std::max(fa, fb), hi = std::min(fa + na, fb + nb);
    if (lo < hi && AnyBoth(ca + (lo - fa), cb + (lo - fb), hi - lo)) return true;
  }
  return false;
}

// Any pixel of the room rectangle r covered (r already inside the box).
bool AnyCovered(const MaskView& v, const TRect& r) {
  for (int32_t px = r.left; px <= r.right; ++px) {
    if (v.Identity()) {
      const uint8_t* c;
      int32_t first, count;
      if (v.Column(px, r.top, r.bottom, c, first, count) && AnySet(c, count)) return true;
      continue;
    }
    for (int32_t py = r.top; py <= r.bottom; ++py)
      if (v.CoveredReal(px, py)) return true;
  }
  return false;
}

}  // namespace

bool TMask::CollisionMask(const RMaskPose& pose, const TMask& other,
                          const RMaskPose& other_pose) const {
  const TRect r = Intersect(pose.bbox, other_pose.bbox);
  if (r.left > r.right || r.top > r.bottom) return false;
  const MaskView a(*this, pose), b(other, other_pose);
  if (a.Identity() && b.Identity()) return IdentityOverlap(a, b, r);
  for (int32_t px = r.left; px <= r.right; ++px)
    for (int32_t py = r.top; py <= r.bottom; ++py)
      if (a.CoveredPixel(px, py) && b.CoveredPixel(px, py)) return true;
  return false;
}

bool TMask::CollisionPoint(const RMaskPose& pose, int32_t x, int32_t y) const {
  return MaskView(*this, pose).CoveredPixel(x, y);
}

bool TMask::CollisionRectangle(const RMaskPose& pose, const TRect& rr) const {
  const TRect r = Intersect(pose.bbox, rr);
  if (r.left > r.right || r.top > r.bottom) return false;
  return AnyCovered(MaskView(*this, pose), r);
}

bool TMask::CollisionEllipse(const RMaskPose& pose, const TRect& rr) const {
  const TRect r = Intersect(pose.bbox, rr);
  const double cx = (rr.left + static_cast<double>(rr.right)) / 2.0;
  const double cy = (rr.top + static_cast<double>(rr.bottom)) / 2.0;
  const double rx = (static_cast<double>(rr.right) - rr.left) / 2.0;
  const double ry = (static_cast<double>(rr.bottom) - rr.top) / 2.0;
  const MaskView v(*this, pose);
  for (int32_t px = r.left; px <= r.right; ++px) {
    const double ex = (px - cx) / rx;
    for (int32_t py = r.top; py <= r.bottom; ++py) {
      const double ey = (py - cy) / ry;
      if (ex * ex + ey * ey <= 1.0 && v.CoveredPixel(px, py)) return true;
    }
  }
  return false;
}

bool TMask::CollisionLine(const RMaskPose& pose, int32_t xl, int32_t yl, int32_t xr,
                          int32_t yr) const {
  if (xl == xr || yl == yr)
    return CollisionRectangle(pose, TRect{std::min(xl, xr), std::min(yl, yr), std::max(xl, xr),
                                          std::max(yl, yr)});
  const MaskView v(*this, pose);
  const double dxl = static_cast<double>(xr) - xl, dyl = static_cast<double>(yr) - yl;
  if (std::fabs(dxl) < std::fabs(dyl)) {
    // Steep: one test per row, at the line's real x on that row.
    const bool down = yl < yr;
    const double ymin = down ? yl : yr, ymax = down ? yr : yl;
    const double xat_min = down ? xl : xr, xat_max = down ? xr : xl;
    const int64_t y0 = std::max<int64_t>(pose.bbox.top, static_cast<int64_t>(ymin));
    const int64_t y1 = std::min<int64_t>(pose.bbox.bottom, static_cast<int64_t>(ymax));
    for (int64_t y = y0; y <= y1; ++y) {
      const double x = (y - ymin) * (xat_max - xat_min) / (ymax - ymin) + xat_min;
      if (v.CoveredReal(x, static_cast<double>(y))) return true;
    }
    return false;
  }
  if (xl > xr) {
    std::swap(xl, xr);
    std::swap(yl, yr);
  }
  const int64_t x0 = std::max<int64_t>(pose.bbox.left, xl);
  const int64_t x1 = std::min<int64_t>(pose.bbox.right, xr);
  const double slope_num = static_cast<double>(yr) - yl, slope_den = static_cast<double>(xr) - xl;
  for (int64_t x = x0; x <= x1; ++x) {
    const double y = (x - xl) * slope_num / slope_den + yl;
    if (v.CoveredReal(static_cast<double>(x), y)) return true;
  }
  return false;
}
