// function_draw_shapes.cpp: the shape builtins (points, lines, rectangles,
// rounded rectangles, triangles, circles, ellipses, arrows, buttons, health
// bars) and draw_path with the line strip that paths draw through.
#include <vector>

#include "code/code_error.h"
#include "graphics/draw_shapes.h"
#include "graphics/function_args.h"
#include "graphics/function_register.h"
#include "motion/path_class.h"
#include "motion/path_main.h"

namespace {

using namespace graphics_args;

// The current colour with the current alpha, and a game colour with it.
uint32_t Current() { return Renderer_ColourARGB(); }
uint32_t WithAlpha(const RValue& colour) { return Renderer_MakeARGB(Int(colour), Renderer_Alpha()); }

void F_Point(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Point(Real(a[0]), Real(a[1]), Current()));
}
void F_PointColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Point(Real(a[0]) + 0.01, Real(a[1]) + 0.01, WithAlpha(a[2])));
}
void F_Line(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Line(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Current(), Current()));
}
void F_LineColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Line(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), WithAlpha(a[4]),
                        WithAlpha(a[5])));
}
void F_LineWidth(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_LineWidth(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Real(a[4]),
                             Current(), Current()));
}
void F_LineWidthColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_LineWidth(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Real(a[4]),
                             WithAlpha(a[5]), WithAlpha(a[6])));
}
void F_Rectangle(RValue&, CInstance*, CInstance*, int, RValue* a) {
  uint32_t c = Current();
  Shape_Draw(Shape_Rectangle(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), c, c, c, c,
                             Flag(a[4])));
}
void F_RectangleColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Rectangle(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), WithAlpha(a[4]),
                             WithAlpha(a[5]), WithAlpha(a[6]), WithAlpha(a[7]), Flag(a[8])));
}
void F_RoundRect(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_RoundRect(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Current(),
                             Current(), Flag(a[4])));
}
void F_RoundRectColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_RoundRect(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), WithAlpha(a[4]),
                             WithAlpha(a[5]), Flag(a[6])));
}
void F_Triangle(RValue&, CInstance*, CInstance*, int, RValue* a) {
  uint32_t c = Current();
  Shape_Draw(Shape_Triangle(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Real(a[4]),
                            Real(a[5]), c, c, c, Flag(a[6])));
}
void F_TriangleColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Triangle(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Real(a[4]),
                            Real(a[5]), WithAlpha(a[6]), WithAlpha(a[7]), WithAlpha(a[8]),
                            Flag(a[9])));
}
void F_Circle(RValue&, CInstance*, CInstance*, int, RValue* a) {
  double x = Real(a[0]), y = Real(a[1]), r = Real(a[2]);
  Shape_Draw(Shape_Ellipse(x - r, y - r, x + r, y + r, Current(), Current(), Flag(a[3])));
}
void F_CircleColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  double x = Real(a[0]), y = Real(a[1]), r = Real(a[2]);
  Shape_Draw(Shape_Ellipse(x - r, y - r, x + r, y + r, WithAlpha(a[3]), WithAlpha(a[4]),
                           Flag(a[5])));
}
void F_Ellipse(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Ellipse(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Current(), Current(),
                           Flag(a[4])));
}
void F_EllipseColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Ellipse(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), WithAlpha(a[4]),
                           WithAlpha(a[5]), Flag(a[6])));
}
void F_Arrow(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Arrow(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Real(a[4]), Current()));
}
void F_Button(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Shape_Draw(Shape_Button(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Flag(a[4]), Current(),
                          Renderer_Alpha()));
}
void F_Healthbar(RValue&, CInstance*, CInstance*, int, RValue* a) {
  RHealthbar bar{Real(a[0]), Real(a[1]),  Real(a[2]),  Real(a[3]), Real(a[4]), Int(a[5]),
                 Int(a[6]),  Int(a[7]),   Int(a[8]),   Flag(a[9]), Flag(a[10])};
  Shape_Draw(Shape_Healthbar(bar, Renderer_Alpha()));
}

// The line strip paths draw through, in the current colour and alpha.
void PathLineStrip(const double* xy, int count) {
  RShape strip;
  strip.kind = PrimitiveLineStrip;
  uint32_t c = Current();
  float z = static_cast<float>(Renderer_Depth());
  for (int i = 0; i < count; ++i)
    strip.v.push_back(RVertex{static_cast<float>(xy[2 * i]), static_cast<float>(xy[2 * i + 1]),
                              z, c, 0.0f, 0.0f});
  Shape_Draw(strip);
}

void F_DrawPath(RValue&, CInstance*, CInstance*, int, RValue* a) {
  CPath* path = Path_Get(Int(a[0]));
  if (path == nullptr) {
    Error_Show_Action("Trying to drawn non-existing path.", false);
    return;
  }
  path->Draw(Real(a[1]), Real(a[2]), Flag(a[3]));
}

}  // namespace

void Graphics_RegisterShapeFunctions() {
  Path_SetLineStripHook(PathLineStrip);
  Graphics_AddFunction("draw_point", F_Point, 2);
  Graphics_AddFunction("draw_line", F_Line, 4);
  Graphics_AddFunction("draw_line_width", F_LineWidth, 5);
  Graphics_AddFunction("draw_rectangle", F_Rectangle, 5);
  Graphics_AddFunction("draw_roundrect", F_RoundRect, 5);
  Graphics_AddFunction("draw_triangle", F_Triangle, 7);
  Graphics_AddFunction("draw_circle", F_Circle, 4);
  Graphics_AddFunction("draw_ellipse", F_Ellipse, 5);
  Graphics_AddFunction("draw_arrow", F_Arrow, 5);
  Graphics_AddFunction("draw_button", F_Button, 5);
  Graphics_AddFunction("draw_healthbar", F_Healthbar, 11);
  Graphics_AddFunction("draw_path", F_DrawPath, 4);
  Graphics_AddFunction("draw_point_color", F_PointColor, 3);
  Graphics_AddFunction("draw_line_color", F_LineColor, 6);
  Graphics_AddFunction("draw_line_width_color", F_LineWidthColor, 7);
  Graphics_AddFunction("draw_rectangle_color", F_RectangleColor, 9);
  Graphics_AddFunction("draw_roundrect_color", F_RoundRectColor, 7);
  Graphics_AddFunction("draw_triangle_color", F_TriangleColor, 10);
  Graphics_AddFunction("draw_circle_color", F_CircleColor, 6);
  Graphics_AddFunction("draw_ellipse_color", F_EllipseColor, 7);
}
