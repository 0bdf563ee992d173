// image_prepare.cpp: the TBitmap32 operations that prepare images loaded at
// run time: the alpha test, colour keys and background removal, edge
// smoothing, colour extension into transparent pixels and alpha channels
// taken from other images.
#include "motion/image_prepare.h"

#include <algorithm>
#include <cstdlib>

#include "motion/bitmap32.h"

namespace {

constexpr TColor32 kAlphaMask = 0xFF000000u;
constexpr TColor32 kColorMask = 0x00FFFFFFu;
constexpr uint32_t kSmoothStep = 32;

bool Within(uint32_t a, uint32_t b, int tolerance) {
  return std::abs(static_cast<int>(a) - static_cast<int>(b)) <= tolerance;
}

}  // namespace

void TBitmap32::AlphaTest() {
  for (TColor32 p : s_data)
    if (Color32Alpha(p)) return;
  for (TColor32& p : s_data) p |= kAlphaMask;
}

void TBitmap32::ReplaceColor(TColor32 key, TColor32 replacement, bool set_alpha, bool compare_alpha,
                             int tolerance) {
  TColor32 keep = set_alpha ? 0 : kAlphaMask;
  TColor32 take = set_alpha ? 0xFFFFFFFFu : kColorMask;
  for (TColor32& p : s_data) {
    if (!Within(Color32Red(p), Color32Red(key), tolerance) ||
        !Within(Color32Green(p), Color32Green(key), tolerance) ||
        !Within(Color32Blue(p), Color32Blue(key), tolerance)) {
      continue;
    }
    if (compare_alpha && !Within(Color32Alpha(p), Color32Alpha(key), tolerance)) continue;
    p = (p & keep) | (replacement & take);
  }
}

void TBitmap32::RemoveBackground() {
  if (Empty()) return;
  TColor32 key = GetPixel(0, s_h - 1);
  ReplaceColor(key, key & kColorMask, true, false, 0);
}

void TBitmap32::SmoothEdges() {
  for (int32_t y = 0; y < s_h; ++y) {
    for (int32_t x = 0; x < s_w; ++x) {
      if (Color32Alpha(GetPixel(x, y))) continue;
      for (int32_t ny = std::max(y - 1, 0); ny <= std::min(y + 1, s_h - 1); ++ny) {
        for (int32_t nx = std::max(x - 1, 0); nx <= std::min(x + 1, s_w - 1); ++nx) {
          TColor32 p = GetPixel(nx, ny);
          if (Color32Alpha(p) >= kSmoothStep) SetPixel(nx, ny, p - (kSmoothStep << 24));
        }
      }
    }
  }
}

void TBitmap32::ExtendColorsIntoTransparency() {
  const int32_t dx[4] = {-1, 1, 0, 0};  // left, right, above, below
  const int32_t dy[4] = {0, 0, -1, 1};
  for (int32_t y = 0; y < s_h; ++y) {
    for (int32_t x = 0; x < s_w; ++x) {
      TColor32 p = GetPixel(x, y);
      if (Color32Alpha(p)) continue;
      for (int k = 0; k < 4; ++k) {
        int32_t nx = x + dx[k], ny = y + dy[k];
        if (!Inside(nx, ny)) continue;
        TColor32 n = GetPixel(nx, ny);
        if (!Color32Alpha(n)) continue;
        p = n;
        break;
      }
      SetPixel(x, y, p & kColorMask);
    }
  }
}

void TBitmap32::MakeOpaque() {
  for (TColor32& p : s_data) p |= kAlphaMask;
}

void TBitmap32::AlphaFromIntensity(const TBitmap32& source) {
  int32_t w = std::min(s_w, source.s_w), h = std::min(s_h, source.s_h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      TColor32 c = source.GetPixel(x, y);
      uint32_t alpha = (Color32Red(c) + Color32Green(c) + Color32Blue(c)) / 3;
      SetPixel(x, y, (GetPixel(x, y) & kColorMask) | (alpha << 24));
    }
  }
}

TBitmap32 TBitmap32::ColorMasked(TColor32 key) const {
  TBitmap32 out = *this;
  for (TColor32& p : out.s_data) p = (p & kColorMask) | (((p ^ key) & kColorMask) ? kAlphaMask : 0);
  return out;
}

void Image_PrepareLoaded(TBitmap32& bm, bool removeback, bool smooth) {
  if (removeback) bm.RemoveBackground();
  if (smooth) bm.SmoothEdges();
  if (removeback) bm.ExtendColorsIntoTransparency();
}
