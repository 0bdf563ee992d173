// screen_scale.cpp: region scaling and mouse mapping arithmetic (see
// screen_scale.h).
#include "graphics/screen_scale.h"

#include <algorithm>
#include <cmath>

int Screen_ScaledSize(int n, double s) { return static_cast<int>(std::nearbyint(n * s)); }

double Screen_FitScale(int rw, int rh, double s, int cw, int ch) {
  if (s >= 0 || rw <= 0 || rh <= 0) return s;
  return std::min(static_cast<double>(cw) / rw, static_cast<double>(ch) / rh);
}

RRegionPlacement Screen_PlaceRegion(int rw, int rh, double s, int cw, int ch) {
  const double f = Screen_FitScale(rw, rh, s, cw, ch);
  if (f == 0) return RRegionPlacement{0, 0, cw, ch};
  RRegionPlacement place;
  place.w = Screen_ScaledSize(rw, f);
  place.h = Screen_ScaledSize(rh, f);
  place.x = (cw - place.w) / 2;
  place.y = (ch - place.h) / 2;
  return place;
}

void Screen_MapToRegion(int rw, int rh, double s, int cw, int ch, int mx, int my, double& rx,
                        double& ry) {
  const double f = Screen_FitScale(rw, rh, s, cw, ch);
  if (f == 0) {
    rx = std::nearbyint(static_cast<double>(mx) * rw / std::max(cw, 1));
    ry = std::nearbyint(static_cast<double>(my) * rh / std::max(ch, 1));
    return;
  }
  const int offset_x = (cw - Screen_ScaledSize(rw, f)) / 2;
  const int offset_y = (ch - Screen_ScaledSize(rh, f)) / 2;
  rx = std::nearbyint((mx - offset_x) / f);
  ry = std::nearbyint((my - offset_y) / f);
}
