// Tests of the room transition geometry: which picture parts each built-in
// kind draws, and where, at chosen fractions.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/transition_geometry.h"

namespace {

using Draw = RTransitionDraw;
constexpr int kW = 100, kH = 60;

// picture, left, top, width, height, x, y
struct Placed {
  Draw::Picture picture;
  double left, top, width, height, x, y;
};

void ExpectPlaced(const std::vector<Draw>& got, const std::vector<Placed>& want, int kind,
                  double f) {
  ASSERT_EQ(got.size(), want.size()) << "kind " << kind << " f " << f;
  for (size_t i = 0; i < want.size(); ++i) {
    const Draw& d = got[i];
    const Placed& p = want[i];
    EXPECT_EQ(d.picture, p.picture) << "kind " << kind << " item " << i;
    EXPECT_DOUBLE_EQ(d.left, p.left) << "kind " << kind << " item " << i;
    EXPECT_DOUBLE_EQ(d.top, p.top) << "kind " << kind << " item " << i;
    EXPECT_DOUBLE_EQ(d.width, p.width) << "kind " << kind << " item " << i;
    EXPECT_DOUBLE_EQ(d.height, p.height) << "kind " << kind << " item " << i;
    EXPECT_DOUBLE_EQ(d.x, p.x) << "kind " << kind << " item " << i;
    EXPECT_DOUBLE_EQ(d.y, p.y) << "kind " << kind << " item " << i;
  }
}

TEST(DrawTransition, CreateShiftAndPushKinds) {
  const Placed old_whole{Draw::kOld, 0, 0, kW, kH, 0, 0};
  struct Case {
    int kind;
    std::vector<Placed> want;
  };
  // f = 0.25: round(100 * 0.25) = 25, round(60 * 0.25) = 15.
  std::vector<Case> cases = {
      {1, {old_whole, {Draw::kNew, 0, 0, 25, kH, 0, 0}}},
      {2, {old_whole, {Draw::kNew, 75, 0, 25, kH, 75, 0}}},
      {3, {old_whole, {Draw::kNew, 0, 0, kW, 15, 0, 0}}},
      {4, {old_whole, {Draw::kNew, 0, 45, kW, 15, 0, 45}}},
      // centre: left round(37.5) = 38, top round(22.5) = 22
      {5, {old_whole, {Draw::kNew, 38, 22, 25, 15, 38, 22}}},
      {6, {old_whole, {Draw::kNew, 0, 0, kW, kH, -75, 0}}},
      {7, {old_whole, {Draw::kNew, 0, 0, kW, kH, 75, 0}}},
      {8, {old_whole, {Draw::kNew, 0, 0, kW, kH, 0, -45}}},
      {9, {old_whole, {Draw::kNew, 0, 0, kW, kH, 0, 45}}},
      {14, {{Draw::kOld, 0, 0, kW, kH, 25, 0}, {Draw::kNew, 0, 0, kW, kH, -75, 0}}},
      {15, {{Draw::kOld, 0, 0, kW, kH, -25, 0}, {Draw::kNew, 0, 0, kW, kH, 75, 0}}},
      {16, {{Draw::kOld, 0, 0, kW, kH, 0, 15}, {Draw::kNew, 0, 0, kW, kH, 0, -45}}},
      {17, {{Draw::kOld, 0, 0, kW, kH, 0, -15}, {Draw::kNew, 0, 0, kW, kH, 0, 45}}},
  };
  for (const Case& c : cases) ExpectPlaced(Transition_Frame(c.kind, 10, kW, kH, 0.25), c.want, c.kind, 0.25);
}

TEST(DrawTransition, EndsShowOldThenNew) {
  // Every sliding kind shows only the old picture at f = 0 and the new one
  // covering the region at f = 1.
  for (int kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 15, 16, 17}) {
    std::vector<Draw> start = Transition_Frame(kind, 1, kW, kH, 0);
    for (const Draw& d : start) {
      if (d.picture == Draw::kNew) {
        EXPECT_TRUE(d.width == 0 || d.height == 0 || std::fabs(d.x) >= kW || std::fabs(d.y) >= kH)
            << "kind " << kind;
      }
    }
    std::vector<Draw> end = Transition_Frame(kind, 1, kW, kH, 1);
    ASSERT_FALSE(end.empty());
    const Draw& last = end.back();
    EXPECT_EQ(last.picture, Draw::kNew) << "kind " << kind;
    EXPECT_EQ(last.x - last.left, 0) << "kind " << kind;
    EXPECT_EQ(last.y - last.top, 0) << "kind " << kind;
    EXPECT_EQ(last.width, kW) << "kind " << kind;
    EXPECT_EQ(last.height, kH) << "kind " << kind;
  }
}

TEST(DrawTransition, BlendAndFade) {
  std::vector<Draw> blend = Transition_Frame(20, 10, kW, kH, 0.3);
  ASSERT_EQ(blend.size(), 2u);
  EXPECT_EQ(blend[1].picture, Draw::kNew);
  EXPECT_DOUBLE_EQ(blend[1].alpha, 0.3);
  struct Case {
    double f;
    Draw::Picture picture;
    double alpha;
  };
  for (const Case& c : std::vector<Case>{{0, Draw::kOld, 1}, {0.25, Draw::kOld, 0.5},
                                         {0.5, Draw::kOld, 0}, {0.75, Draw::kNew, 0.5},
                                         {1, Draw::kNew, 1}}) {
    std::vector<Draw> fade = Transition_Frame(21, 10, kW, kH, c.f);
    ASSERT_EQ(fade.size(), 2u);
    EXPECT_EQ(fade[0].picture, Draw::kClearBlack);
    EXPECT_EQ(fade[1].picture, c.picture) << c.f;
    EXPECT_DOUBLE_EQ(fade[1].alpha, c.alpha) << c.f;
  }
}

TEST(DrawTransition, InterlacedStripes) {
  // 10 steps, g = 5. At f = 0.2 (c = 2) the old picture, then stripes 0..2
  // from the left: left round(2i*100/10) = 20i, width 10.
  ExpectPlaced(Transition_Frame(10, 10, kW, kH, 0.2),
               {{Draw::kOld, 0, 0, kW, kH, 0, 0},
                {Draw::kNew, 0, 0, 10, kH, 0, 0},
                {Draw::kNew, 20, 0, 10, kH, 20, 0},
                {Draw::kNew, 40, 0, 10, kH, 40, 0}},
               10, 0.2);
  // From the right, c = 2: stripes i >= 3, i.e. 3, 4, 5.
  std::vector<Draw> right = Transition_Frame(11, 10, kW, kH, 0.2);
  ASSERT_EQ(right.size(), 4u);
  EXPECT_DOUBLE_EQ(right[1].left, 60);
  EXPECT_DOUBLE_EQ(right[3].left, 100);
  // From the top at c = 7 > g: create from top at (7 - 5) / 5 = 0.4 (height
  // 24), then all six horizontal stripes of height 6.
  std::vector<Draw> top = Transition_Frame(12, 10, kW, kH, 0.7);
  ASSERT_EQ(top.size(), 2u + 6u);
  EXPECT_DOUBLE_EQ(top[1].height, 24);
  EXPECT_DOUBLE_EQ(top[2].height, 6);
  EXPECT_DOUBLE_EQ(top[7].top, 60);
  // c = s: the new picture whole.
  ExpectPlaced(Transition_Frame(13, 10, kW, kH, 1), {{Draw::kNew, 0, 0, kW, kH, 0, 0}}, 13, 1);
}

TEST(DrawTransition, RotateKeepsTheCentre) {
  for (int kind : {18, 19}) {
    for (double f : {0.0, 0.3, 0.64, 1.0}) {
      std::vector<Draw> frame = Transition_Frame(kind, 10, kW, kH, f);
      ASSERT_EQ(frame.size(), 2u);
      const Draw& d = frame[1];
      double a = d.angle * M_PI / 180;
      EXPECT_NEAR(std::fabs(d.angle), std::sqrt(f) * 360, 1e-9);
      EXPECT_EQ(d.angle >= 0, kind == 18 || f == 0);
      // The picture's centre (w/2, h/2 scaled by f, turned by a) lands on the
      // region's centre.
      double cx = f * kW / 2, cy = f * kH / 2;
      EXPECT_NEAR(d.x + cx * std::cos(a) + cy * std::sin(a), kW / 2.0, 1e-9);
      EXPECT_NEAR(d.y - cx * std::sin(a) + cy * std::cos(a), kH / 2.0, 1e-9);
      EXPECT_DOUBLE_EQ(d.xscale, f);
    }
  }
}

TEST(DrawTransition, UnknownKindsDrawNothing) {
  for (int kind : {0, -1, 22, 1000}) EXPECT_TRUE(Transition_Frame(kind, 10, kW, kH, 0.5).empty());
}

}  // namespace
