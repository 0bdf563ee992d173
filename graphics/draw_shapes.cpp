// draw_shapes.cpp: vertex lists of the shape drawing functions and the
// circle precision table.
#include "graphics/draw_shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "graphics/draw_color.h"

namespace {

constexpr double kEdgeShift = 0.01;  // lines and whole edges cover their last pixel
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kGrey = 8421504;
constexpr int32_t kBlack = 0;
constexpr double kCornerSize = 10;  // rounded rectangle corner ellipse

struct CircleTable {
  int n = 0;
  std::vector<double> cosines, sines;  // n + 1 entries
};

CircleTable& Circle() {
  static CircleTable table;
  if (table.n == 0) {
    table.n = 24;
    Draw_SetCirclePrecision(24);
  }
  return table;
}

RVertex Vertex(double x, double y, uint32_t c) {
  return RVertex{static_cast<float>(x), static_cast<float>(y),
                 static_cast<float>(Renderer_Depth()), c, 0.0f, 0.0f};
}

double ShiftWhole(double v) { return v == std::floor(v) ? v + kEdgeShift : v; }

// Sorted corners with the right and bottom edge adjustment.
void SortedCorners(double& x1, double& y1, double& x2, double& y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  x2 = ShiftWhole(x2);
  y2 = ShiftWhole(y2);
}

// A ring of points as a filled fan around a centre or a closed outline.
RShape Ring(const std::vector<RVertex>& rim, const RVertex& centre, bool outline) {
  RShape s;
  if (outline) {
    s.kind = PrimitiveLineStrip;
    s.v = rim;
    if (!rim.empty()) s.v.push_back(rim.front());
  } else {
    s.kind = PrimitiveTriangleFan;
    s.v.push_back(centre);
    s.v.insert(s.v.end(), rim.begin(), rim.end());
    if (!rim.empty()) s.v.push_back(rim.front());
  }
  return s;
}

}  // namespace

void Draw_SetCirclePrecision(int n) {
  n = std::clamp(n, 4, 64) / 4 * 4;
  CircleTable& table = Circle();
  table.n = n;
  table.cosines.resize(static_cast<size_t>(n) + 1);
  table.sines.resize(static_cast<size_t>(n) + 1);
  for (int k = 0; k <= n; ++k) {
    double a = 2 * std::numbers::pi * k / n;
    table.cosines[static_cast<size_t>(k)] = std::cos(a);
    table.sines[static_cast<size_t>(k)] = std::sin(a);
  }
  Renderer_SetCirclePrecision(n);
}

int Draw_CirclePrecision() { return Circle().n; }

RShape Shape_Point(double x, double y, uint32_t c) {
  return RShape{PrimitivePointList, {Vertex(x, y, c)}};
}

RShape Shape_Line(double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2) {
  return RShape{PrimitiveLineList,
                {Vertex(x1 + kEdgeShift, y1 + kEdgeShift, c1),
                 Vertex(x2 + kEdgeShift, y2 + kEdgeShift, c2)}};
}

RShape Shape_LineWidth(double x1, double y1, double x2, double y2, double w, uint32_t c1,
                       uint32_t c2) {
  double length = std::hypot(x2 - x1, y2 - y1);
  if (length == 0) return RShape{PrimitiveTriangleStrip, {}};
  double nx = -(y2 - y1) / length * w / 2, ny = (x2 - x1) / length * w / 2;
  return RShape{PrimitiveTriangleStrip,
                {Vertex(x1 + nx, y1 + ny, c1), Vertex(x1 - nx, y1 - ny, c1),
                 Vertex(x2 + nx, y2 + ny, c2), Vertex(x2 - nx, y2 - ny, c2)}};
}

RShape Shape_Rectangle(double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2,
                       uint32_t c3, uint32_t c4, bool outline) {
  SortedCorners(x1, y1, x2, y2);
  std::vector<RVertex> corners = {Vertex(x1, y1, c1), Vertex(x2, y1, c2), Vertex(x2, y2, c3),
                                  Vertex(x1, y2, c4)};
  if (!outline) return RShape{PrimitiveTriangleFan, corners};
  corners.push_back(corners.front());
  return RShape{PrimitiveLineStrip, corners};
}

RShape Shape_RoundRect(double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2,
                       bool outline) {
  SortedCorners(x1, y1, x2, y2);
  const CircleTable& table = Circle();
  double rx = std::min(kCornerSize, x2 - x1) / 2, ry = std::min(kCornerSize, y2 - y1) / 2;
  // Corner centres per quarter, in the order of the angle (y points down):
  // bottom-right, bottom-left, top-left, top-right.
  const double cx[4] = {x2 - rx, x1 + rx, x1 + rx, x2 - rx};
  const double cy[4] = {y2 - ry, y2 - ry, y1 + ry, y1 + ry};
  const int quarter = table.n / 4;
  std::vector<RVertex> rim;
  for (int q = 0; q < 4; ++q)
    for (int k = q * quarter; k <= (q + 1) * quarter; ++k)
      rim.push_back(Vertex(cx[q] + rx * table.cosines[static_cast<size_t>(k)],
                           cy[q] + ry * table.sines[static_cast<size_t>(k)], c2));
  return Ring(rim, Vertex((x1 + x2) / 2, (y1 + y2) / 2, c1), outline);
}

RShape Shape_Ellipse(double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2,
                     bool outline) {
  const CircleTable& table = Circle();
  double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  double rx = std::fabs(x2 - x1) / 2, ry = std::fabs(y2 - y1) / 2;
  std::vector<RVertex> rim;
  for (int k = 0; k < table.n; ++k)
    rim.push_back(Vertex(cx + rx * table.cosines[static_cast<size_t>(k)],
                         cy + ry * table.sines[static_cast<size_t>(k)], c2));
  return Ring(rim, Vertex(cx, cy, c1), outline);
}

RShape Shape_Triangle(double x1, double y1, double x2, double y2, double x3, double y3,
                      uint32_t c1, uint32_t c2, uint32_t c3, bool outline) {
  std::vector<RVertex> v = {Vertex(x1, y1, c1), Vertex(x2, y2, c2), Vertex(x3, y3, c3)};
  if (!outline) return RShape{PrimitiveTriangleList, v};
  v.push_back(v.front());
  return RShape{PrimitiveLineStrip, v};
}

RShapeList Shape_Arrow(double x1, double y1, double x2, double y2, double size, uint32_t c) {
  double length = std::hypot(x2 - x1, y2 - y1);
  if (length == 0) return {};
  double s = std::min(size, length);
  double ux = (x2 - x1) / length, uy = (y2 - y1) / length;
  double bx = x2 - ux * s, by = y2 - uy * s;  // centre of the head's base
  double hx = -uy * s / 3, hy = ux * s / 3;   // half the base, across the line
  return {Shape_Line(x1, y1, x2, y2, c, c),
          Shape_Triangle(x2, y2, bx + hx, by + hy, bx - hx, by - hy, c, c, c, false)};
}

RShapeList Shape_Button(double x1, double y1, double x2, double y2, bool up, uint32_t c,
                        double alpha) {
  uint32_t light = Renderer_MakeARGB(kWhite, alpha), dark = Renderer_MakeARGB(kGrey, alpha);
  if (!up) std::swap(light, dark);
  return {Shape_Triangle(x1, y1, x2, y1, x1, y2, light, light, light, false),
          Shape_Triangle(x1, y2, x2, y1, x2, y2, dark, dark, dark, false),
          Shape_Rectangle(x1 + 2, y1 + 2, x2 - 2, y2 - 2, c, c, c, c, false)};
}

RShapeList Shape_Healthbar(const RHealthbar& bar, double alpha) {
  RShapeList out;
  const double amount = std::clamp(bar.amount, 0.0, 100.0);
  const uint32_t black = Renderer_MakeARGB(kBlack, alpha);
  if (bar.showback) {
    uint32_t back = Renderer_MakeARGB(bar.backcol, alpha);
    out.push_back(Shape_Rectangle(bar.x1, bar.y1, bar.x2, bar.y2, back, back, back, back, false));
    if (bar.showborder)
      out.push_back(
          Shape_Rectangle(bar.x1, bar.y1, bar.x2, bar.y2, black, black, black, black, true));
  }
  double x1 = bar.x1, y1 = bar.y1, x2 = bar.x2, y2 = bar.y2;
  switch (bar.direction) {
    case 1: x1 = x2 - (x2 - x1) * amount / 100; break;
    case 2: y2 = y1 + (y2 - y1) * amount / 100; break;
    case 3: y1 = y2 - (y2 - y1) * amount / 100; break;
    default: x2 = x1 + (x2 - x1) * amount / 100; break;
  }
  int32_t mid = Color_Merge(bar.mincol, bar.maxcol, 0.5);
  int32_t colour = amount > 50 ? Color_Merge(mid, bar.maxcol, (amount - 50) / 50)
                               : Color_Merge(bar.mincol, mid, amount / 50);
  uint32_t c = Renderer_MakeARGB(colour, alpha);
  out.push_back(Shape_Rectangle(x1, y1, x2, y2, c, c, c, c, false));
  if (bar.showborder)
    out.push_back(Shape_Rectangle(x1, y1, x2, y2, black, black, black, black, true));
  return out;
}

void Shape_Draw(const RShape& shape) {
  if (shape.v.empty()) return;
  Renderer_SetPrimitiveTexture(-1);
  Renderer_DrawPrimitive(shape.kind, shape.v.data(), static_cast<int>(shape.v.size()));
}

void Shape_Draw(const RShapeList& shapes) {
  for (const RShape& s : shapes) Shape_Draw(s);
}
