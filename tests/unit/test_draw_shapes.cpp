// Tests of the shape geometry: corner sorting and the edge shift of
// rectangles, line ends, circle precision, ellipse rings, arrows, buttons
// and the health bar's extent and colour.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/draw_color.h"
#include "graphics/draw_shapes.h"
#include "graphics/renderer.h"

namespace {

constexpr uint32_t kC = 0xFF112233;

struct Point {
  double x, y;
};

void ExpectPoints(const RShape& shape, const std::vector<Point>& want) {
  ASSERT_EQ(shape.v.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(shape.v[i].x, want[i].x, 1e-4) << "vertex " << i;
    EXPECT_NEAR(shape.v[i].y, want[i].y, 1e-4) << "vertex " << i;
  }
}

TEST(DrawShapes, RectangleSortsCornersAndCoversTheLastPixel) {
  RShape filled = Shape_Rectangle(10, 10, 0, 0, kC, kC, kC, kC, false);
  EXPECT_EQ(filled.kind, PrimitiveTriangleFan);
  ExpectPoints(filled, {{0, 0}, {10.01, 0}, {10.01, 10.01}, {0, 10.01}});
  // Fractional edges stay as they are; the outline closes on its start.
  RShape outline = Shape_Rectangle(1.5, 2, 5.5, 7, kC, kC, kC, kC, true);
  EXPECT_EQ(outline.kind, PrimitiveLineStrip);
  ExpectPoints(outline, {{1.5, 2}, {5.5, 2}, {5.5, 7.01}, {1.5, 7.01}, {1.5, 2}});
  // Corner colours follow the sorted corners.
  RShape colours = Shape_Rectangle(10, 10, 0, 0, 1, 2, 3, 4, false);
  EXPECT_EQ(colours.v[0].colour, 1u);
  EXPECT_EQ(colours.v[2].colour, 3u);
}

TEST(DrawShapes, LinesAndPoints) {
  ExpectPoints(Shape_Line(0, 0, 10, 5, kC, kC), {{0.01, 0.01}, {10.01, 5.01}});
  ExpectPoints(Shape_Point(3, 4, kC), {{3, 4}});
  EXPECT_TRUE(Shape_LineWidth(5, 5, 5, 5, 3, kC, kC).v.empty());
  // Width 4 across a horizontal line: corners 2 above and below each end.
  ExpectPoints(Shape_LineWidth(0, 0, 10, 0, 4, kC, kC), {{0, 2}, {0, -2}, {10, 2}, {10, -2}});
}

TEST(DrawShapes, CirclePrecisionClampsToMultiplesOfFour) {
  struct Case {
    int asked, kept;
  };
  for (const Case& c : std::vector<Case>{{30, 28}, {2, 4}, {100, 64}, {24, 24}, {-5, 4}}) {
    Draw_SetCirclePrecision(c.asked);
    EXPECT_EQ(Draw_CirclePrecision(), c.kept) << c.asked;
  }
  Draw_SetCirclePrecision(24);
}

TEST(DrawShapes, EllipseRings) {
  Draw_SetCirclePrecision(8);
  RShape fan = Shape_Ellipse(0, 0, 20, 10, 1, 2, false);
  EXPECT_EQ(fan.kind, PrimitiveTriangleFan);
  ASSERT_EQ(fan.v.size(), 1u + 8u + 1u);  // centre, rim, the rim's start again
  EXPECT_EQ(fan.v[0].colour, 1u);
  EXPECT_EQ(fan.v[1].colour, 2u);
  ExpectPoints(RShape{fan.kind, {fan.v[0], fan.v[1], fan.v[3]}}, {{10, 5}, {20, 5}, {10, 10}});
  RShape ring = Shape_Ellipse(20, 10, 0, 0, 1, 2, true);
  EXPECT_EQ(ring.kind, PrimitiveLineStrip);
  EXPECT_EQ(ring.v.size(), 9u);  // eight lines closing the ring
  RShape round = Shape_RoundRect(0, 0, 40, 30, 1, 2, false);
  EXPECT_EQ(round.v.size(), 1u + 4u * (8 / 4 + 1) + 1u);
  for (const RVertex& v : round.v) {
    EXPECT_GE(v.x, 0);
    EXPECT_LE(v.x, 40.01f + 1e-4f);
  }
  Draw_SetCirclePrecision(24);
}

TEST(DrawShapes, ArrowHead) {
  EXPECT_TRUE(Shape_Arrow(5, 5, 5, 5, 10, kC).empty());
  RShapeList arrow = Shape_Arrow(0, 0, 30, 0, 9, kC);
  ASSERT_EQ(arrow.size(), 2u);
  // Tip at the end, base 9 back, half-width 3.
  ExpectPoints(arrow[1], {{30, 0}, {21, 3}, {21, -3}});
  // A size longer than the line is cut to the line's length.
  ExpectPoints(Shape_Arrow(0, 0, 6, 0, 100, kC)[1], {{6, 0}, {0, 2}, {0, -2}});
}

TEST(DrawShapes, ButtonBevels) {
  const uint32_t white = Renderer_MakeARGB(0xFFFFFF, 1), grey = Renderer_MakeARGB(8421504, 1);
  RShapeList up = Shape_Button(0, 0, 20, 10, true, kC, 1);
  ASSERT_EQ(up.size(), 3u);
  EXPECT_EQ(up[0].v[0].colour, white);
  EXPECT_EQ(up[1].v[0].colour, grey);
  ExpectPoints(up[2], {{2, 2}, {18.01, 2}, {18.01, 8.01}, {2, 8.01}});
  RShapeList down = Shape_Button(0, 0, 20, 10, false, kC, 1);
  EXPECT_EQ(down[0].v[0].colour, grey);
  EXPECT_EQ(down[1].v[0].colour, white);
}

TEST(DrawShapes, HealthbarExtentAndColour) {
  const int kMin = 0x0000FF, kMax = 0x00FF00;
  const uint32_t mid = Renderer_MakeARGB(Color_Merge(kMin, kMax, 0.5), 1);
  RHealthbar bar{0, 0, 100, 10, 50, 0, kMin, kMax, 0, false, false};
  RShapeList half = Shape_Healthbar(bar, 1);
  ASSERT_EQ(half.size(), 1u);
  EXPECT_EQ(half[0].v[0].colour, mid);
  EXPECT_NEAR(half[0].v[1].x, 50.01, 1e-4);
  bar.amount = 150;  // drawn as 100
  EXPECT_EQ(Shape_Healthbar(bar, 1)[0].v[0].colour, Renderer_MakeARGB(kMax, 1));
  EXPECT_NEAR(Shape_Healthbar(bar, 1)[0].v[1].x, 100.01, 1e-4);
  bar.amount = 25;
  bar.direction = 3;  // from the bottom
  ExpectPoints(Shape_Healthbar(bar, 1)[0], {{0, 7.5}, {100.01, 7.5}, {100.01, 10.01}, {0, 10.01}});
  bar.showback = bar.showborder = true;
  EXPECT_EQ(Shape_Healthbar(bar, 1).size(), 4u);  // back, its border, bar, its border
}

}  // namespace
