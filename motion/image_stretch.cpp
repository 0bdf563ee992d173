// image_stretch.cpp: TBitmap32::Stretch, scaling an image to a new size by
// nearest pixel (quality 0) or bilinear interpolation (quality 1 and up).
#include <algorithm>
#include <cmath>
#include <vector>

#include "motion/bitmap32.h"

namespace {

// Where destination pixel centre i falls between source pixel centres: the
// lower source index, the upper one and the weight of the upper.
struct Sample {
  int32_t low;
  int32_t high;
  double frac;
};

Sample SampleAt(int32_t i, int32_t dst, int32_t src) {
  double u = (i + 0.5) * src / dst - 0.5;
  u = std::clamp(u, 0.0, static_cast<double>(src - 1));
  auto low = static_cast<int32_t>(std::floor(u));
  return {low, std::min(low + 1, src - 1), u - low};
}

uint32_t Channel(TColor32 c, int shift) { return (c >> shift) & 0xFF; }

// v lies in 0..255 up to rounding error.
uint32_t RoundChannel(double v) { return static_cast<uint32_t>(std::clamp(v + 0.5, 0.0, 255.0)); }

// Bilinear blend of four pixels; colours are weighted by alpha so that a
// transparent pixel's colour never bleeds into the result, unless all four
// are transparent.
TColor32 Blend(const TColor32 p[4], const double w[4]) {
  double alpha = 0, colour[3] = {0, 0, 0}, plain[3] = {0, 0, 0};
  for (int k = 0; k < 4; ++k) {
    double a = w[k] * Color32Alpha(p[k]);
    alpha += a;
    for (int c = 0; c < 3; ++c) {
      colour[c] += a * Channel(p[k], 16 - 8 * c);
      plain[c] += w[k] * Channel(p[k], 16 - 8 * c);
    }
  }
  uint32_t out[3];
  for (int c = 0; c < 3; ++c) out[c] = RoundChannel(alpha > 0 ? colour[c] / alpha : plain[c]);
  return Color32(out[0], out[1], out[2], RoundChannel(alpha));
}

}  // namespace

TBitmap32 TBitmap32::Stretch(int32_t w, int32_t h, int quality) const {
  if (w <= 0 || h <= 0 || Empty()) return TBitmap32();
  if (w == s_w && h == s_h) return *this;
  TBitmap32 out(w, h);
  if (quality <= 0) {
    for (int32_t y = 0; y < h; ++y) {
      auto sy = static_cast<int32_t>(static_cast<int64_t>(y) * s_h / h);
      for (int32_t x = 0; x < w; ++x)
        out.SetPixel(x, y, GetPixel(static_cast<int32_t>(static_cast<int64_t>(x) * s_w / w), sy));
    }
    return out;
  }
  std::vector<Sample> columns(static_cast<size_t>(w));
  for (int32_t x = 0; x < w; ++x) columns[static_cast<size_t>(x)] = SampleAt(x, w, s_w);
  for (int32_t y = 0; y < h; ++y) {
    Sample sy = SampleAt(y, h, s_h);
    for (int32_t x = 0; x < w; ++x) {
      const Sample& sx = columns[static_cast<size_t>(x)];
      TColor32 p[4] = {GetPixel(sx.low, sy.low), GetPixel(sx.high, sy.low),
                       GetPixel(sx.low, sy.high), GetPixel(sx.high, sy.high)};
      double weight[4] = {(1 - sx.frac) * (1 - sy.frac), sx.frac * (1 - sy.frac),
                          (1 - sx.frac) * sy.frac, sx.frac * sy.frac};
      out.SetPixel(x, y, Blend(p, weight));
    }
  }
  return out;
}
