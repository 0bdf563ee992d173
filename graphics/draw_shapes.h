// draw_shapes.h: the geometry of the shape drawing functions (points, lines,
// rectangles, rounded rectangles, ellipses, triangles, arrows, buttons and
// health bars) as primitive vertex lists, the circle precision table they
// share, and their submission to the renderer.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/renderer.h"

// One primitive: its kind (RPrimitiveKind) and vertices in room coordinates.
struct RShape {
  int kind = PrimitiveTriangleList;
  std::vector<RVertex> v;
};
using RShapeList = std::vector<RShape>;

// draw_set_circle_precision: n clamped to 4..64 and rounded down to a
// multiple of 4; the cosine and sine of 2*pi*k/n for k = 0..n are kept.
void Draw_SetCirclePrecision(int n);
int Draw_CirclePrecision();

// Colours are ARGB. Every builder places its vertices at the current depth.
RShape Shape_Point(double x, double y, uint32_t c);
// Both ends shifted by +0.01 in x and y.
RShape Shape_Line(double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2);
// A quad of width w centred on the line; no vertices for a zero-length line.
RShape Shape_LineWidth(double x1, double y1, double x2, double y2, double w, uint32_t c1,
                       uint32_t c2);
// Corners sorted; whole right and bottom edges get +0.01 so the last pixel
// row and column are covered. c1..c4: top-left, top-right, bottom-right,
// bottom-left.
RShape Shape_Rectangle(double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2,
                       uint32_t c3, uint32_t c4, bool outline);
RShape Shape_RoundRect(double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2,
                       bool outline);
// c1 at the centre, c2 on the rim.
RShape Shape_Ellipse(double x1, double y1, double x2, double y2, uint32_t c1, uint32_t c2,
                     bool outline);
RShape Shape_Triangle(double x1, double y1, double x2, double y2, double x3, double y3,
                      uint32_t c1, uint32_t c2, uint32_t c3, bool outline);
// The line and a filled head at (x2, y2); nothing when the ends coincide.
RShapeList Shape_Arrow(double x1, double y1, double x2, double y2, double size, uint32_t c);
// Two bevel triangles (white and grey, swapped when not up) and the face in
// colour c.
RShapeList Shape_Button(double x1, double y1, double x2, double y2, bool up, uint32_t c,
                        double alpha);
struct RHealthbar {
  double x1, y1, x2, y2, amount;
  int backcol, mincol, maxcol, direction;
  bool showback, showborder;
};
RShapeList Shape_Healthbar(const RHealthbar& bar, double alpha);

// Sends shapes to the renderer untextured.
void Shape_Draw(const RShape& shape);
void Shape_Draw(const RShapeList& shapes);
