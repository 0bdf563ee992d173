// test_image.cpp: TBitmap32 preparation and geometry on tiny images, checked
// pixel for pixel.
#include <gtest/gtest.h>

#include <vector>

#include "motion/bitmap32.h"
#include "motion/image_prepare.h"

namespace {

constexpr TColor32 kRed = Color32(255, 0, 0);
constexpr TColor32 kGreen = Color32(0, 255, 0);
constexpr TColor32 kBlue = Color32(0, 0, 255);
constexpr TColor32 kWhite = Color32(255, 255, 255);

TBitmap32 Image(int32_t w, int32_t h, std::vector<TColor32> pixels) {
  TBitmap32 bm(w, h);
  bm.s_data = std::move(pixels);
  return bm;
}

// A row of pixels of one colour (grey 100) with the given alphas.
TBitmap32 AlphaRow(std::vector<uint32_t> alphas) {
  TBitmap32 bm(static_cast<int32_t>(alphas.size()), 1);
  for (size_t i = 0; i < alphas.size(); ++i) bm.s_data[i] = Color32(100, 100, 100, alphas[i]);
  return bm;
}

std::vector<uint32_t> Alphas(const TBitmap32& bm) {
  std::vector<uint32_t> out;
  for (TColor32 p : bm.s_data) out.push_back(Color32Alpha(p));
  return out;
}

TEST(ImagePrepare, ReplaceColorMatchesEachChannelWithinTolerance) {
  const TColor32 key = Color32(100, 100, 100, 200);
  struct Case {
    TColor32 pixel;
    int tolerance;
    bool set_alpha, compare_alpha;
    TColor32 expected;
  } cases[] = {
      {Color32(100, 100, 100, 200), 0, false, false, Color32(1, 2, 3, 200)},
      {Color32(101, 100, 100, 200), 0, false, false, Color32(101, 100, 100, 200)},
      {Color32(105, 95, 100, 10), 5, false, false, Color32(1, 2, 3, 10)},
      {Color32(106, 100, 100, 10), 5, false, false, Color32(106, 100, 100, 10)},
      {Color32(100, 100, 100, 10), 5, true, false, Color32(1, 2, 3, 9)},
      // With compare_alpha, alpha must be within tolerance too.
      {Color32(100, 100, 100, 10), 5, true, true, Color32(100, 100, 100, 10)},
      {Color32(100, 100, 100, 196), 5, true, true, Color32(1, 2, 3, 9)},
  };
  for (const Case& c : cases) {
    TBitmap32 bm = Image(1, 1, {c.pixel});
    bm.ReplaceColor(key, Color32(1, 2, 3, 9), c.set_alpha, c.compare_alpha, c.tolerance);
    EXPECT_EQ(bm.s_data[0], c.expected)
        << std::hex << c.pixel << " tol " << std::dec << c.tolerance;
  }
}

TEST(ImagePrepare, RemoveBackgroundKeysOnBottomLeftIgnoringAlpha) {
  const TColor32 key = Color32(10, 20, 30);
  TBitmap32 bm = Image(3, 2,
                       {Color32(10, 20, 30, 128), kRed, Color32(10, 20, 31),  //
                        key, kGreen, key});
  bm.RemoveBackground();
  EXPECT_EQ(bm.s_data,
            (std::vector<TColor32>{Color32(10, 20, 30, 0), kRed, Color32(10, 20, 31),
                                   Color32(10, 20, 30, 0), kGreen, Color32(10, 20, 30, 0)}));
}

TEST(ImagePrepare, SmoothEdgesActsOnPixelsAsTheyAreWhenVisited) {
  struct Case {
    std::vector<uint32_t> before, after;
  } cases[] = {
      {{255, 0, 40}, {223, 0, 8}},
      {{0, 40, 0}, {0, 8, 0}},     // 8 is below 32: the second visit leaves it
      {{0, 32, 50}, {0, 0, 18}},   // 32 drops to 0 and then acts itself
      {{31, 0, 31}, {31, 0, 31}},  // below 32 nothing is taken
  };
  for (const Case& c : cases) {
    TBitmap32 bm = AlphaRow(c.before);
    bm.SmoothEdges();
    EXPECT_EQ(Alphas(bm), c.after);
    EXPECT_EQ(bm.s_data[0] & 0xFFFFFF, 0x646464u);  // colours untouched
  }
}

TEST(ImagePrepare, SmoothEdgesTakesTheWholeNeighbourhoodOnce) {
  TBitmap32 bm(3, 3, kWhite);
  bm.SetPixel(1, 1, 0);
  bm.SmoothEdges();
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 3; ++x)
      EXPECT_EQ(Color32Alpha(bm.GetPixel(x, y)), (x == 1 && y == 1) ? 0u : 223u) << x << "," << y;
}

TEST(ImagePrepare, ExtendColorsTakesFirstOpaqueNeighbourLeftRightAboveBelow) {
  const TColor32 t = Color32(9, 9, 9, 0);  // transparent
  const TColor32 yellow = Color32(255, 255, 0);
  // Left wins over right, right over above, above over below; pixels made
  // transparent earlier in the pass do not count; a pixel without an opaque
  // neighbour keeps its colour.
  TBitmap32 bm = Image(3, 4,
                       {kBlue, t, kGreen,  //
                        t, t, t,           //
                        t, yellow, t,      //
                        t, t, t});
  bm.ExtendColorsIntoTransparency();
  auto rgb = [&](int32_t x, int32_t y) { return bm.GetPixel(x, y); };
  EXPECT_EQ(rgb(1, 0), kBlue & 0xFFFFFF);
  EXPECT_EQ(rgb(0, 1), kBlue & 0xFFFFFF);   // above
  EXPECT_EQ(rgb(1, 1), yellow & 0xFFFFFF);  // below (above is transparent)
  EXPECT_EQ(rgb(2, 1), kGreen & 0xFFFFFF);
  EXPECT_EQ(rgb(0, 2), yellow & 0xFFFFFF);  // right
  EXPECT_EQ(rgb(0, 3), t);                  // no opaque neighbour: as it was
  EXPECT_EQ(rgb(1, 3), yellow & 0xFFFFFF);  // above
  EXPECT_EQ(rgb(1, 2), yellow);             // opaque pixels untouched
}

TEST(ImagePrepare, AlphaOperations) {
  TBitmap32 zero = Image(2, 1, {Color32(1, 2, 3, 0), Color32(4, 5, 6, 0)});
  zero.AlphaTest();
  EXPECT_EQ(zero.s_data, (std::vector<TColor32>{Color32(1, 2, 3), Color32(4, 5, 6)}));
  TBitmap32 some = Image(2, 1, {Color32(1, 2, 3, 0), Color32(4, 5, 6, 1)});
  some.AlphaTest();
  EXPECT_EQ(Alphas(some), (std::vector<uint32_t>{0, 1}));
  some.MakeOpaque();
  EXPECT_EQ(Alphas(some), (std::vector<uint32_t>{255, 255}));

  // Over the common size only; alpha is the mean of the source channels.
  TBitmap32 target(3, 2, Color32(7, 7, 7, 77));
  TBitmap32 source = Image(2, 3, {Color32(30, 60, 90), kWhite, Color32(1, 1, 0, 0), 0, 0, 0});
  target.AlphaFromIntensity(source);
  EXPECT_EQ(Alphas(target), (std::vector<uint32_t>{60, 255, 77, 0, 0, 77}));
  EXPECT_EQ(target.s_data[0] & 0xFFFFFF, 0x070707u);

  TBitmap32 masked =
      Image(2, 1, {Color32(5, 5, 5, 0), Color32(5, 5, 6, 0)}).ColorMasked(Color32(5, 5, 5));
  EXPECT_EQ(Alphas(masked), (std::vector<uint32_t>{0, 255}));
}

TEST(ImagePrepare, LoadedImageSequence) {
  // Removal, smoothing, then extension: the keyed pixel takes its opaque
  // neighbour's colour with alpha 0, the neighbour loses 32.
  TBitmap32 strip = Image(2, 1, {kGreen, kBlue});
  TBitmap32 one = strip;
  Image_PrepareLoaded(one, true, true);
  // The key is the bottom-left pixel (green).
  EXPECT_EQ(one.s_data, (std::vector<TColor32>{kBlue & 0xFFFFFF, Color32(0, 0, 255, 223)}));
  TBitmap32 two = strip;
  Image_PrepareLoaded(two, true, false);
  EXPECT_EQ(two.s_data, (std::vector<TColor32>{kBlue & 0xFFFFFF, kBlue}));
  TBitmap32 three = strip;
  Image_PrepareLoaded(three, false, true);
  EXPECT_EQ(three, strip);  // nothing transparent to smooth against
}

TEST(ImageGeometry, CropResizeDrawMirrorFlip) {
  TBitmap32 bm = Image(3, 2, {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(bm.Crop(1, 0, 5, 5), Image(2, 2, {2, 3, 5, 6}));
  EXPECT_EQ(bm.Crop(-1, 1, 2, 1), Image(1, 1, {4}));
  EXPECT_TRUE(bm.Crop(3, 0, 1, 1).Empty());

  TBitmap32 r = bm;
  r.Resize(2, 3, 9);
  EXPECT_EQ(r, Image(2, 3, {1, 2, 4, 5, 9, 9}));

  TBitmap32 canvas(3, 2, 0xFF000000u);
  canvas.Draw(Image(2, 1, {0x01000007u, 0x00000008u}), 2, 1, true);  // clipped, alpha 0 skipped
  EXPECT_EQ(canvas.s_data, (std::vector<TColor32>{0xFF000000u, 0xFF000000u, 0xFF000000u,
                                                  0xFF000000u, 0xFF000000u, 0x01000007u}));
  canvas.DrawPart(bm, 1, 1, 9, 9, -1, 0);  // part (1,1)-(2,1) at x -1: only 6 lands
  EXPECT_EQ(canvas.s_data[0], 6u);

  TBitmap32 m = bm;
  m.Mirror();
  EXPECT_EQ(m, Image(3, 2, {3, 2, 1, 6, 5, 4}));
  TBitmap32 f = bm;
  f.Flip();
  EXPECT_EQ(f, Image(3, 2, {4, 5, 6, 1, 2, 3}));
}

TEST(ImageGeometry, StretchNearestAndBilinear) {
  const TColor32 a = Color32(0, 0, 0), b = Color32(200, 100, 0);
  TBitmap32 row = Image(2, 1, {a, b});
  EXPECT_EQ(row.Stretch(4, 1, 0), Image(4, 1, {a, a, b, b}));
  EXPECT_EQ(row.Stretch(4, 1, 1), Image(4, 1, {a, Color32(50, 25, 0), Color32(150, 75, 0), b}));
  EXPECT_EQ(row.Stretch(2, 1, 1), row);
  EXPECT_TRUE(row.Stretch(0, 1, 1).Empty());
  EXPECT_EQ(Image(4, 1, {a, a, b, b}).Stretch(2, 1, 0), row);

  // A transparent pixel lends no colour to its neighbours.
  TBitmap32 edge = Image(2, 1, {Color32(255, 0, 0, 0), kBlue});
  TBitmap32 wide = edge.Stretch(4, 1, 1);
  EXPECT_EQ(wide.s_data[1], Color32(0, 0, 255, 64));
  EXPECT_EQ(wide.s_data[0], Color32(255, 0, 0, 0));
}

}  // namespace
