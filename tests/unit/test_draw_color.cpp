// Tests of the colour arithmetic: making and splitting game colours, the
// HSV conversions both ways and merging.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/draw_color.h"

namespace {

constexpr int32_t kWhite = 0xFFFFFF, kRed = 0x0000FF, kLime = 0x00FF00, kBlue = 0xFF0000;
constexpr int32_t kGray = 0x808080;

TEST(DrawColor, MakeCarriesWithoutClamping) {
  EXPECT_EQ(Color_Make(255, 0, 0), kRed);
  EXPECT_EQ(Color_Make(0, 0, 255), kBlue);
  EXPECT_EQ(Color_Make(300, 0, 0), 300);  // green 1, red 44
  EXPECT_EQ(Color_GetRed(300), 44);
  EXPECT_EQ(Color_GetGreen(300), 1);
  EXPECT_EQ(Color_Make(0.5, 1.5, 2.5), 0 + 256 * 2 + 65536 * 2);  // halves to even
}

TEST(DrawColor, ChannelsTruncateTowardZero) {
  struct Case {
    double col;
    int64_t red, green, blue;
  };
  for (const Case& c : std::vector<Case>{{kWhite, 255, 255, 255},
                                         {0x123456, 0x56, 0x34, 0x12},
                                         {-1, -1, 0, 0},
                                         {-257, -1, -1, 0},
                                         {0x1FFFFFF, 255, 255, 255},
                                         {254.5, 254, 0, 0}}) {
    EXPECT_EQ(Color_GetRed(c.col), c.red) << c.col;
    EXPECT_EQ(Color_GetGreen(c.col), c.green) << c.col;
    EXPECT_EQ(Color_GetBlue(c.col), c.blue) << c.col;
  }
}

TEST(DrawColor, HsvToRgb) {
  struct Case {
    double h, s, v;
    int64_t expected;
  };
  for (const Case& c : std::vector<Case>{{0, 0, 255, kWhite},
                                         {0, 255, 255, kRed},
                                         {256, 255, 255, kRed},  // low 8 bits of the hue
                                         {85, 255, 255, kLime},
                                         {170, 255, 255, kBlue},
                                         {0, 0, 0, 0},
                                         {0, 255, 128, 128},
                                         {42.5, 255, 255, Color_MakeHSV(42, 255, 255)}}) {
    EXPECT_EQ(Color_MakeHSV(c.h, c.s, c.v), c.expected) << c.h << "," << c.s << "," << c.v;
  }
  // Yellow at hue 60 degrees = 42.5: 42 falls just short of it.
  EXPECT_EQ(Color_GetRed(static_cast<double>(Color_MakeHSV(42, 255, 255))), 255);
}

TEST(DrawColor, RgbToHsv) {
  struct Case {
    int32_t col;
    int64_t hue, saturation, value;
  };
  for (const Case& c : std::vector<Case>{{kLime, 85, 255, 255},
                                         {kGray, 0, 0, 128},
                                         {kRed, 0, 255, 255},
                                         {kBlue, 170, 255, 255},
                                         {0xFF00FF, 212, 255, 255},  // magenta: 300 degrees
                                         {0, 0, 0, 0}}) {
    EXPECT_EQ(Color_GetHue(c.col), c.hue) << std::hex << c.col;
    EXPECT_EQ(Color_GetSaturation(c.col), c.saturation) << std::hex << c.col;
    EXPECT_EQ(Color_GetValue(c.col), c.value) << std::hex << c.col;
  }
}

TEST(DrawColor, MergePerChannelUnclamped) {
  EXPECT_EQ(Color_Merge(0, kWhite, 0.5), 0x808080);  // 127.5 rounds to 128
  EXPECT_EQ(Color_Merge(kRed, kBlue, 0), kRed);
  EXPECT_EQ(Color_Merge(kRed, kBlue, 1), kBlue);
  EXPECT_EQ(Color_Merge(0x000064, 0x0000C8, 0.25), 0x00007D);
  // Amount 2 on red 0 -> 200 gives 400, kept to its low 8 bits (144).
  EXPECT_EQ(Color_Merge(0, 0x0000C8, 2), 400 & 255);
  // Negative results wrap as well: -200 -> 56.
  EXPECT_EQ(Color_Merge(0, 0x0000C8, -1), (-200) & 255);
}

}  // namespace
