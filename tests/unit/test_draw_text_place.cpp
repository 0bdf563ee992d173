// Tests of draw_text line placement: position snapping, vertical and
// horizontal alignment, separation, and the rotated line steps and offsets
// of the transformed forms.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/font_class.h"
#include "graphics/text_draw.h"

namespace {

// Every character advances 7; lines are 10 high.
CFont SevenWide() {
  CFont font;
  font.s_first = 32;
  font.s_last = 127;
  for (int c = 32; c <= 127; ++c) {
    font.s_shift[c] = 7;
    font.s_h[c] = 10;
  }
  font.s_FontHeight = 10;
  return font;
}

class DrawTextPlace : public ::testing::Test {
 protected:
  void TearDown() override { Text_Reset(); }
  std::vector<RTextLine> Place(double x, double y, const char16_t* text, double sep = -1,
                               RTextTransform t = {}) {
    return Text_Place(font_, x, y, text, sep, -1, t);
  }
  CFont font_ = SevenWide();
};

TEST_F(DrawTextPlace, SnapsAwayFromZeroThenFloors) {
  struct Case {
    double in, out;
  };
  for (const Case& c : std::vector<Case>{{10.9996, 11}, {10.5, 10}, {-1, -2}, {0, 0}, {-0.5, -1}})
    EXPECT_EQ(Text_Snap(c.in), c.out) << c.in;
}

TEST_F(DrawTextPlace, AlignmentOfPlainForms) {
  std::vector<RTextLine> lines = Place(20, 30, u"abc#d", 12);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].x, 20);
  EXPECT_EQ(lines[0].y, 30);
  EXPECT_EQ(lines[1].y, 42);
  Text_SetHAlign(1);
  Text_SetVAlign(1);
  lines = Place(20, 30, u"abc#d");
  // Centre: -(21 div 2) = -10 and -(7 div 2) = -3; middle: 30 - 20 div 2.
  EXPECT_EQ(lines[0].x, 10);
  EXPECT_EQ(lines[1].x, 17);
  EXPECT_EQ(lines[0].y, 20);
  EXPECT_EQ(lines[1].y, 30);
  Text_SetHAlign(2);
  Text_SetVAlign(2);
  lines = Place(20, 30, u"abc#d");
  EXPECT_EQ(lines[0].x, -1);
  EXPECT_EQ(lines[1].x, 13);
  EXPECT_EQ(lines[0].y, 10);
  // Out-of-range alignments fall back to left and top.
  Text_SetHAlign(7);
  Text_SetVAlign(-1);
  EXPECT_EQ(Text_HAlign(), 0);
  EXPECT_EQ(Text_VAlign(), 0);
}

TEST_F(DrawTextPlace, TransformedFormsRoundTheirOffsets) {
  RTextTransform t{true, 1, 1, 0};
  Text_SetHAlign(1);
  // Width 7 at scale 1: -round(3.5) = -4 (the plain form truncates to -3).
  EXPECT_EQ(Place(20, 30, u"a", -1, t)[0].x, 16);
  Text_SetHAlign(0);
  // Turned 90 degrees: lines step along +x by yscale * sep.
  t = RTextTransform{true, 1, 2, 90};
  std::vector<RTextLine> lines = Place(20, 30, u"a#b", -1, t);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NEAR(lines[1].x - lines[0].x, 20, 1e-9);
  EXPECT_NEAR(lines[1].y - lines[0].y, 0, 1e-9);
  // Right alignment along the turned baseline: the line starts 2 * 7 below.
  Text_SetHAlign(2);
  t = RTextTransform{true, 2, 1, 90};
  lines = Place(20, 30, u"a", -1, t);
  EXPECT_NEAR(lines[0].x, 20, 1e-9);
  EXPECT_NEAR(lines[0].y, 44, 1e-9);
}

TEST_F(DrawTextPlace, FontSelectionFallsBackToTheDefault) {
  Text_SetFont(12345);
  EXPECT_EQ(Text_FontIndex(), -1);
  EXPECT_EQ(&Text_CurrentFont(), &Text_DefaultFont());
  EXPECT_EQ(Text_DefaultFont().s_first, 32);
  EXPECT_EQ(Text_DefaultFont().s_last, 127);
  EXPECT_EQ(Text_Argument(RValue::Real(3)), u"3");
  EXPECT_EQ(Text_Argument(RValue::Real(2.5)), u"2.50");
}

}  // namespace
