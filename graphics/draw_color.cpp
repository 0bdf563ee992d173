// draw_color.cpp: colour channels, HSV and merging.
#include "graphics/draw_color.h"

#include <algorithm>
#include <cmath>

#include "common/value.h"

namespace {

int64_t Channel(int64_t c, int64_t unit) { return (c / unit) % 256; }

int64_t ByteOf(double x) { return static_cast<int64_t>(std::trunc(x * 255.0)); }

struct Hsv {
  double h = 0, s = 0, v = 0;  // h in degrees, s and v on 0..1
};

Hsv ToHsv(double col) {
  int64_t c = Round(col);
  double r = static_cast<double>(Channel(c, 1)) / 255.0;
  double g = static_cast<double>(Channel(c, 256)) / 255.0;
  double b = static_cast<double>(Channel(c, 65536)) / 255.0;
  double max = std::max({r, g, b});
  double delta = max - std::min({r, g, b});
  Hsv out;
  out.v = max;
  out.s = max != 0 ? delta / max : 0;
  if (out.s != 0) {
    if (r == max)
      out.h = (g - b) * 60 / delta;
    else if (g != max)
      out.h = (r - g) * 60 / delta + 240;
    else
      out.h = (b - r) * 60 / delta + 120;
  }
  if (out.h < 0) out.h += 360;
  return out;
}

}  // namespace

int64_t Color_Make(double r, double g, double b) {
  return Round(r) + 256 * Round(g) + 65536 * Round(b);
}

int64_t Color_GetRed(double col) { return Channel(Round(col), 1); }
int64_t Color_GetGreen(double col) { return Channel(Round(col), 256); }
int64_t Color_GetBlue(double col) { return Channel(Round(col), 65536); }

int64_t Color_MakeHSV(double h, double s, double v) {
  double hue = static_cast<double>(Round(h) & 255) * 360.0 / 255.0;
  if (hue == 360) hue = 0;
  double sat = static_cast<double>(Round(s) & 255) / 255.0;
  double val = static_cast<double>(Round(v) & 255) / 255.0;
  double red = val, green = val, blue = val;
  if (sat != 0) {
    int sector = static_cast<int>(std::trunc(hue / 60));
    double f = hue / 60 - sector;
    double p = val * (1 - sat), q = val * (1 - sat * f), t = val * (1 - sat * (1 - f));
    switch (sector) {
      case 0: red = val, green = t, blue = p; break;
      case 1: red = q, green = val, blue = p; break;
      case 2: red = p, green = val, blue = t; break;
      case 3: red = p, green = q, blue = val; break;
      case 4: red = t, green = p, blue = val; break;
      default: red = val, green = p, blue = q; break;
    }
  }
  return ByteOf(red) + 256 * ByteOf(green) + 65536 * ByteOf(blue);
}

int64_t Color_GetHue(double col) {
  return static_cast<int64_t>(std::trunc(ToHsv(col).h * 255 / 360));
}
int64_t Color_GetSaturation(double col) { return ByteOf(ToHsv(col).s); }
int64_t Color_GetValue(double col) { return ByteOf(ToHsv(col).v); }

int32_t Color_Merge(int32_t c1, int32_t c2, double amount) {
  int32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    double x1 = (c1 >> shift) & 255, x2 = (c2 >> shift) & 255;
    int64_t m = Round((1 - amount) * x1 + amount * x2);
    out |= static_cast<int32_t>((m & 255) << shift);
  }
  return out;
}
