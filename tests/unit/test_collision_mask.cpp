// Masks: building (kinds, box modes, tolerance, merging, separate masks),
// the pixel tests under scale and rotation, and the instance box.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "motion/bitmap32.h"
#include "motion/mask_build.h"
#include "motion/sprite_class.h"
#include "motion/sprite_mask.h"
#include "runner/game_data.h"
#include "world/instance_class.h"

namespace {

// A bitmap from rows of characters: '#' opaque, '+' alpha 100, '.' clear.
TBitmap32 Picture(const std::vector<std::string>& rows) {
  TBitmap32 bm(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
  for (int32_t y = 0; y < bm.s_h; ++y)
    for (int32_t x = 0; x < bm.s_w; ++x) {
      const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      bm.SetPixel(x, y, c == '#' ? 0xFF000000u : c == '+' ? 0x64000000u : 0u);
    }
  return bm;
}

// The mask as rows of '#' and '.'.
std::vector<std::string> Rows(const TMask& m) {
  std::vector<std::string> rows(static_cast<size_t>(m.i_h), std::string(static_cast<size_t>(m.i_w), '.'));
  for (int32_t y = 0; y < m.i_h; ++y)
    for (int32_t x = 0; x < m.i_w; ++x)
      if (m.Get(x, y)) rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = '#';
  return rows;
}

TMask Build(const TBitmap32& bm, int32_t mode, TRect box, int32_t kind, int32_t tolerance) {
  TMask m;
  m.Create(&bm, mode, box, kind, tolerance);
  return m;
}

struct BuildCase {
  const char* name;
  std::vector<std::string> image;
  int32_t mode;
  TRect box;
  int32_t kind;
  int32_t tolerance;
  TRect want_box;
  std::vector<std::string> want;
};

TEST(CollMask, KindsBoxModesAndTolerance) {
  const std::vector<std::string> blob = {".....", ".#+..", "..#..", "....."};
  const std::vector<BuildCase> cases = {
      {"precise, tolerance 0", blob, kBoxAutomatic, {}, kMaskPrecise, 0, {1, 1, 2, 2},
       {".....", ".##..", "..#..", "....."}},
      {"precise, tolerance 100 drops alpha 100", blob, kBoxAutomatic, {}, kMaskPrecise, 100,
       {1, 1, 2, 2}, {".....", ".#...", "..#..", "....."}},
      {"rectangle over automatic box", blob, kBoxAutomatic, {}, kMaskRectangle, 0, {1, 1, 2, 2},
       {".....", ".##..", ".##..", "....."}},
      {"rectangle over full image", blob, kBoxFull, {}, kMaskRectangle, 0, {0, 0, 4, 3},
       {"#####", "#####", "#####", "#####"}},
      {"manual box clipped to the image", blob, kBoxManual, {3, -5, 9, 1}, kMaskRectangle, 0,
       {3, 0, 4, 1}, {"...##", "...##", ".....", "....."}},
      {"unknown box mode acts as manual", blob, 7, {0, 0, 0, 0}, kMaskRectangle, 0, {0, 0, 0, 0},
       {"#....", ".....", ".....", "....."}},
      {"precise pixels only inside a manual box", blob, kBoxManual, {2, 0, 4, 3}, kMaskPrecise, 0,
       {2, 0, 4, 3}, {".....", "..#..", "..#..", "....."}},
      {"unknown kind leaves the mask empty", blob, kBoxFull, {}, 9, 0, {0, 0, 4, 3},
       {".....", ".....", ".....", "....."}},
      {"fully clear image: inverted box, empty mask", {"...", "..."}, kBoxAutomatic, {},
       kMaskPrecise, 0, {2, 1, 0, 0}, {"...", "..."}},
  };
  for (const BuildCase& c : cases) {
    const TMask m = Build(Picture(c.image), c.mode, c.box, c.kind, c.tolerance);
    EXPECT_EQ(m.i_bbox, c.want_box) << c.name;
    EXPECT_EQ(Rows(m), c.want) << c.name;
  }
}

TEST(CollMask, EllipseAndDiamondShapes) {
  const TBitmap32 one = Picture({"#"}), two = Picture({"##", "##"});
  const TBitmap32 five = Picture({"#####", "#####", "#####", "#####", "#####"});
  EXPECT_EQ(Rows(Build(one, kBoxFull, {}, kMaskEllipse, 0)), std::vector<std::string>{"#"});
  EXPECT_EQ(Rows(Build(two, kBoxFull, {}, kMaskEllipse, 0)),
            (std::vector<std::string>{"##", "##"}));
  EXPECT_EQ(Rows(Build(five, kBoxFull, {}, kMaskEllipse, 0)),
            (std::vector<std::string>{".###.", "#####", "#####", "#####", ".###."}));
  EXPECT_EQ(Rows(Build(five, kBoxFull, {}, kMaskDiamond, 0)),
            (std::vector<std::string>{"..#..", ".###.", "#####", ".###.", "..#.."}));
  TMask none;
  none.Create(nullptr, kBoxFull, {}, kMaskPrecise, 0);
  EXPECT_EQ(none.i_w, 0);
  EXPECT_EQ(none.i_bbox, TRect{});
}

TEST(CollMask, MergingUnitesPixelsOrShapes) {
  const TBitmap32 a = Picture({"#....", ".....", "....."});
  const TBitmap32 b = Picture({".....", ".....", "....#"});
  TMask precise = Build(a, kBoxAutomatic, {}, kMaskPrecise, 0);
  precise.Merge(&b, kBoxAutomatic, {}, kMaskPrecise, 0);
  EXPECT_EQ(precise.i_bbox, (TRect{0, 0, 4, 2}));
  EXPECT_EQ(Rows(precise), (std::vector<std::string>{"#....", ".....", "....#"}));
  TMask rect = Build(a, kBoxAutomatic, {}, kMaskRectangle, 0);
  rect.Merge(&b, kBoxAutomatic, {}, kMaskRectangle, 0);
  EXPECT_EQ(Rows(rect), (std::vector<std::string>{"#####", "#####", "#####"}));
  TMask diamond = Build(a, kBoxAutomatic, {}, kMaskDiamond, 0);
  diamond.Merge(&b, kBoxAutomatic, {}, kMaskDiamond, 0);
  EXPECT_EQ(Rows(diamond), (std::vector<std::string>{"#.#..", "#####", "..#.."}));
  // A smaller image merges over the common area only.
  TMask wide = Build(Picture({"...", "..."}), kBoxFull, {}, kMaskPrecise, 0);
  const TBitmap32 small = Picture({"##"});
  wide.Merge(&small, kBoxFull, {}, kMaskPrecise, 0);
  EXPECT_EQ(Rows(wide), (std::vector<std::string>{"##.", "..."}));
}

TEST(CollMask, SpriteMasksSeparateOrMerged) {
  CSprite s;
  s.i_bitmap = {Picture({"#...", "...."}), Picture({"....", "...#"})};
  Mask_ComputeSpriteMasks(s, true, kBoxAutomatic, {}, kMaskPrecise, 0);
  ASSERT_EQ(s.i_mask.size(), 2u);
  EXPECT_EQ(s.i_mask[1].i_bbox, (TRect{3, 1, 3, 1}));
  EXPECT_EQ(s.i_bbox, (TRect{0, 0, 3, 1}));
  Mask_ComputeSpriteMasks(s, false, kBoxAutomatic, {}, kMaskPrecise, 0);
  ASSERT_EQ(s.i_mask.size(), 1u);
  EXPECT_EQ(Rows(s.i_mask[0]), (std::vector<std::string>{"#...", "...#"}));
  CSprite empty;
  Mask_ComputeSpriteMasks(empty, false, kBoxAutomatic, {}, kMaskPrecise, 0);
  EXPECT_TRUE(empty.i_mask.empty());
  EXPECT_EQ(empty.i_bbox, TRect{});
}

// --- pixel tests ----------------------------------------------------------------------

TMask Full(int32_t w, int32_t h) {
  TBitmap32 bm(w, h);
  for (auto& p : bm.s_data) p = 0xFF000000u;
  return Build(bm, kBoxFull, {}, kMaskPrecise, 0);
}

RMaskPose Pose(int32_t x, int32_t y, double sx = 1, double sy = 1, double angle = 0,
               int32_t xo = 0, int32_t yo = 0) {
  RMaskPose p;
  p.bbox = TRect{-1000, -1000, 1000, 1000};
  p.x = x;
  p.y = y;
  p.xo = xo;
  p.yo = yo;
  p.scalex = sx;
  p.scaley = sy;
  p.angle = angle;
  return p;
}

struct PointCase {
  const char* name;
  RMaskPose pose;
  int32_t x, y;
  bool hit;
};

TEST(CollMask, PointUnderScaleAndRotation) {
  const TMask m = Full(4, 4);
  const std::vector<PointCase> cases = {
      {"identity, top-left pixel", Pose(10, 10), 10, 10, true},
      {"identity, last pixel", Pose(10, 10), 13, 13, true},
      {"identity, one past", Pose(10, 10), 14, 10, false},
      {"origin shifts the image", Pose(10, 10, 1, 1, 0, 2, 2), 8, 8, true},
      {"origin shifts the image, right edge", Pose(10, 10, 1, 1, 0, 2, 2), 12, 12, false},
      {"scale 2 doubles the extent", Pose(10, 10, 2, 2), 17, 17, true},
      {"scale 2, one past", Pose(10, 10, 2, 2), 18, 17, false},
      {"scale 0.5 halves it", Pose(10, 10, 0.5, 0.5), 11, 11, true},
      {"scale 0.5, past the half", Pose(10, 10, 0.5, 0.5), 12, 11, false},
      {"mirrored in x reaches left", Pose(10, 10, -1, 1), 7, 10, true},
      {"mirrored in x leaves the right", Pose(10, 10, -1, 1), 11, 10, false},
      {"rotated 90 turns up", Pose(10, 10, 1, 1, 90), 11, 8, true},
      {"rotated 90 leaves below", Pose(10, 10, 1, 1, 90), 11, 11, false},
      {"rotated 180 turns left and up", Pose(10, 10, 1, 1, 180), 8, 8, true},
      {"rotated 180 leaves right", Pose(10, 10, 1, 1, 180), 11, 11, false},
      {"scale 0 covers nothing", Pose(10, 10, 0, 0), 10, 10, false},
  };
  for (const PointCase& c : cases) EXPECT_EQ(m.CollisionPoint(c.pose, c.x, c.y), c.hit) << c.name;
}

struct ShapeCase {
  const char* name;
  RMaskPose pose;
  TRect shape;
  bool rect, ellipse;
};

TEST(CollMask, RectangleAndEllipseUnderScaleAndRotation) {
  // A ring: the centre pixels are clear.
  TMask ring = Full(4, 4);
  ring.Set(1, 1, false);
  ring.Set(2, 1, false);
  ring.Set(1, 2, false);
  ring.Set(2, 2, false);
  const std::vector<ShapeCase> cases = {
      {"inside the hole", Pose(0, 0), {1, 1, 2, 2}, false, false},
      {"covers the ring", Pose(0, 0), {0, 0, 4, 4}, true, true},
      {"ellipse misses the corner pixel", Pose(0, 0), {-3, -3, 0, 0}, true, false},
      {"beside the mask", Pose(0, 0), {4, 0, 6, 3}, false, false},
      {"scaled 2: hole is 2..5", Pose(0, 0, 2, 2), {2, 2, 5, 5}, false, false},
      {"scaled 2: ring at 6", Pose(0, 0, 2, 2), {6, 6, 8, 8}, true, true},
      {"rotated 90: nothing below", Pose(0, 0, 1, 1, 90), {0, 2, 3, 5}, false, false},
      {"rotated 90: the ring is above", Pose(0, 0, 1, 1, 90), {-1, -5, 4, 0}, true, true},
  };
  for (const ShapeCase& c : cases) {
    RMaskPose pose = c.pose;
    pose.bbox = TRect{-10, -10, 10, 10};
    EXPECT_EQ(ring.CollisionRectangle(pose, c.shape), c.rect) << c.name;
    EXPECT_EQ(ring.CollisionEllipse(pose, c.shape), c.ellipse) << c.name;
  }
  // Only pixels inside the wearer's box count.
  RMaskPose boxed = Pose(0, 0);
  boxed.bbox = TRect{0, 0, 0, 0};
  EXPECT_FALSE(ring.CollisionRectangle(boxed, TRect{1, 0, 3, 3}));
}

struct LineCase {
  const char* name;
  RMaskPose pose;
  int32_t xl, yl, xr, yr;
  bool hit;
};

TEST(CollMask, LineUnderScaleAndRotation) {
  // One diagonal of a 4x4 mask.
  TMask diag;
  diag.i_w = diag.i_h = 4;
  diag.i_mask.assign(16, 0);
  diag.i_bbox = TRect{0, 0, 3, 3};
  for (int k = 0; k < 4; ++k) diag.Set(k, k, true);
  const std::vector<LineCase> cases = {
      {"along the diagonal", Pose(0, 0), 0, 0, 3, 3, true},
      {"the other diagonal crosses at no pixel of it", Pose(0, 0), 0, 3, 3, 0, false},
      {"horizontal is a rectangle", Pose(0, 0), -5, 2, 5, 2, true},
      {"vertical is a rectangle", Pose(0, 0), 1, -5, 1, -4, false},
      {"steep line through a pixel", Pose(0, 0), 2, 0, 3, 9, true},
      {"reversed endpoints", Pose(0, 0), 3, 3, 0, 0, true},
      {"unscaled: (4,5) lies beyond the mask", Pose(0, 0), 4, 5, 7, 6, false},
      {"scaled 2: (4,5) is mask pixel (2,2)", Pose(0, 0, 2, 2), 4, 5, 7, 6, true},
      {"rotated 90: nothing below", Pose(0, 0, 1, 1, 90), 0, 1, 3, 4, false},
  };
  for (const LineCase& c : cases) {
    RMaskPose pose = c.pose;
    pose.bbox = TRect{-10, -10, 10, 10};
    EXPECT_EQ(diag.CollisionLine(pose, c.xl, c.yl, c.xr, c.yr), c.hit) << c.name;
  }
  // Turned up by 90 degrees, a full mask lies above its position.
  RMaskPose turned = Pose(0, 0, 1, 1, 90);
  turned.bbox = TRect{-10, -10, 10, 10};
  EXPECT_TRUE(Full(4, 4).CollisionLine(turned, 1, -3, 2, -1));
}

// The unscaled path compares whole columns; it must agree with a pixel
// by pixel walk of the same intersection.
TEST(CollMask, MaskAgainstMaskMatchesPixelWalk) {
  std::mt19937 rng(7);
  auto random_mask = [&](int32_t w, int32_t h) {
    TBitmap32 bm(w, h);
    for (auto& p : bm.s_data) p = (rng() % 5 == 0) ? 0xFF000000u : 0u;
    return Build(bm, kBoxAutomatic, {}, kMaskPrecise, 0);
  };
  for (int round = 0; round < 300; ++round) {
    const TMask a = random_mask(1 + rng() % 9, 1 + rng() % 9);
    const TMask b = random_mask(1 + rng() % 9, 1 + rng() % 9);
    RMaskPose pa = Pose(static_cast<int32_t>(rng() % 8), static_cast<int32_t>(rng() % 8));
    RMaskPose pb = Pose(static_cast<int32_t>(rng() % 8), static_cast<int32_t>(rng() % 8), 1, 1, 0,
                        static_cast<int32_t>(rng() % 3), static_cast<int32_t>(rng() % 3));
    pa.bbox = TRect{pa.x, pa.y, pa.x + a.i_w - 1, pa.y + a.i_h - 1};
    pb.bbox = TRect{pb.x - pb.xo, pb.y - pb.yo, pb.x - pb.xo + b.i_w - 1, pb.y - pb.yo + b.i_h - 1};
    bool walk = false;
    for (int32_t px = -4; px < 24; ++px)
      for (int32_t py = -4; py < 24; ++py)
        walk = walk || (a.CollisionPoint(pa, px, py) && b.CollisionPoint(pb, px, py) &&
                        px >= pb.bbox.left && px <= pb.bbox.right && py >= pb.bbox.top &&
                        py <= pb.bbox.bottom && px >= pa.bbox.left && px <= pa.bbox.right &&
                        py >= pa.bbox.top && py <= pa.bbox.bottom);
    EXPECT_EQ(a.CollisionMask(pa, b, pb), walk) << "round " << round;
  }
}

// --- the instance box -------------------------------------------------------------------

class CollBox : public ::testing::Test {
 protected:
  void SetUp() override {
    Game().Clear();
    auto s = std::make_unique<CSprite>();
    s->i_bitmap.emplace_back(16, 16);
    s->i_xorig = xo;
    s->i_yorig = yo;
    Mask_ComputeSpriteMasks(*s, false, kBoxFull, {}, kMaskRectangle, 0);
    Game().sprites.Add(std::move(s), u"block");
  }
  void TearDown() override { Game().Clear(); }
  int32_t xo = 0, yo = 0;
};

struct BoxCase {
  const char* name;
  double x, y, sx, sy, angle;
  TRect want;
};

TEST_F(CollBox, UnderScaleAndRotation) {
  const std::vector<BoxCase> cases = {
      {"plain", 10, 10, 1, 1, 0, {10, 10, 25, 25}},
      {"scale 2", 10, 10, 2, 2, 0, {10, 10, 41, 41}},
      {"mirrored in x swaps the sides", 10, 10, -1, 1, 0, {-7, 10, 10, 25}},
      {"half-pixel position rounds halves to even", 10.5, 11.5, 1, 1, 0, {10, 12, 26, 26}},
      {"rotated 90 turns up", 100, 100, 1, 1, 90, {100, 85, 115, 100}},
      {"rotated 180 turns left and up", 100, 100, 1, 1, 180, {85, 85, 100, 100}},
  };
  for (const BoxCase& c : cases) {
    CInstance inst;
    inst.i_spriteindex = 0;
    inst.i_x = c.x;
    inst.i_y = c.y;
    inst.i_imagescalex = c.sx;
    inst.i_imagescaley = c.sy;
    inst.i_imageangle = c.angle;
    inst.UpdateBoundingBox();
    EXPECT_EQ(inst.i_bbox, c.want) << c.name;
    EXPECT_TRUE(inst.HasShape());
  }
  CInstance bare;
  bare.i_spriteindex = 5;
  bare.UpdateBoundingBox();
  EXPECT_FALSE(bare.HasShape());
  EXPECT_EQ(bare.i_bbox, (TRect{-100000, -100000, -100000, -100000}));
}

}  // namespace
