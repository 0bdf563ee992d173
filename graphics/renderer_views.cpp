// renderer_views.cpp: the view transform table and the mouse mapping
// between window, region and room coordinates.
#include <cmath>

#include "graphics/renderer_internal.h"

void Renderer_SetViewTransform(int view, const RViewTransform& transform) {
  if (view < 0 || view >= kViewTransformCount) return;
  Renderer_Core().views[view] = transform;
  Renderer_Core().views[view].used = true;
}

void Renderer_ClearViewTransform(int view) {
  if (view < 0 || view >= kViewTransformCount) return;
  Renderer_Core().views[view] = RViewTransform();
}

const RViewTransform& Renderer_ViewTransform(int view) {
  static const RViewTransform unused;
  if (view < 0 || view >= kViewTransformCount) return unused;
  return Renderer_Core().views[view];
}

static bool Usable(const RViewTransform& v) {
  return v.used && v.wport != 0 && v.hport != 0 && v.wview != 0 && v.hview != 0;
}

bool Renderer_RegionToRoom(int view, double rx, double ry, double& x, double& y) {
  const RViewTransform& v = Renderer_ViewTransform(view);
  x = rx;
  y = ry;
  if (!Usable(v)) return false;
  const double dx = (rx - v.xport) * v.wview / v.wport;
  const double dy = (ry - v.yport) * v.hview / v.hport;
  if (std::fabs(v.angle) < 0.01) {
    x = std::nearbyint(dx + v.xview);
    y = std::nearbyint(dy + v.yview);
    return true;
  }
  const double a = -v.angle * M_PI / 180.0;
  const double ex = dx - v.wview / 2, ey = dy - v.hview / 2;
  x = std::nearbyint(std::cos(a) * ex + std::sin(a) * ey + v.xview + v.wview / 2);
  y = std::nearbyint(-std::sin(a) * ex + std::cos(a) * ey + v.yview + v.hview / 2);
  return true;
}

bool Renderer_RoomToRegion(int view, double x, double y, double& rx, double& ry) {
  const RViewTransform& v = Renderer_ViewTransform(view);
  rx = x;
  ry = y;
  if (!Usable(v)) return false;
  double dx = x - v.xview, dy = y - v.yview;
  if (std::fabs(v.angle) >= 0.01) {
    const double a = v.angle * M_PI / 180.0;
    const double ex = dx - v.wview / 2, ey = dy - v.hview / 2;
    dx = std::cos(a) * ex + std::sin(a) * ey + v.wview / 2;
    dy = -std::sin(a) * ex + std::cos(a) * ey + v.hview / 2;
  }
  rx = std::nearbyint(dx * v.wport / v.wview + v.xport);
  ry = std::nearbyint(dy * v.hport / v.hview + v.yport);
  return true;
}

void Renderer_WindowToRoom(int wx, int wy, double& x, double& y) {
  double rx = 0, ry = 0;
  Renderer_WindowToRegion(wx, wy, rx, ry);
  x = rx;
  y = ry;
  for (int i = kViewTransformCount - 1; i >= 0; --i) {
    const RViewTransform& v = Renderer_ViewTransform(i);
    if (!Usable(v)) continue;
    Renderer_RegionToRoom(i, rx, ry, x, y);
    if (v.xview <= x && x < v.xview + v.wview && v.yview <= y && y < v.yview + v.hview) return;
  }
}

void Renderer_RoomToWindow(int view, double x, double y, int& wx, int& wy) {
  if (view < 0)
    for (int i = 0; i < kViewTransformCount && view < 0; ++i)
      if (Usable(Renderer_ViewTransform(i))) view = i;
  double rx = x, ry = y;
  if (view >= 0) Renderer_RoomToRegion(view, x, y, rx, ry);
  const RRegionPlacement place = Screen_RegionPlacement();
  const int rw = Renderer_RegionWidth(), rh = Renderer_RegionHeight();
  wx = static_cast<int>(std::nearbyint(place.x + rx * place.w / (rw > 0 ? rw : 1)));
  wy = static_cast<int>(std::nearbyint(place.y + ry * place.h / (rh > 0 ? rh : 1)));
}
