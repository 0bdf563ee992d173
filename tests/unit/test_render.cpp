// Renderer core: texture table and sizes, the edge copy of uploads, quad
// geometry with the half-pixel shift, tiling starts, batching decisions,
// colours and blend modes.
#include <cmath>

#include "test_render_support.h"

namespace {

using rendertest::RenderTest;

TEST(RenderTextureSize, PowerOfTwoNotBelow) {
  const int cases[][2] = {{1, 1}, {2, 2}, {3, 4}, {60, 64}, {64, 64}, {65, 128}, {100, 128}};
  for (const auto& c : cases) EXPECT_EQ(Renderer_TextureSize(c[0]), c[1]) << c[0];
  const int depth[][2] = {{2, 4}, {1, 4}, {4, 4}, {5, 8}, {100, 128}};
  for (const auto& c : depth) EXPECT_EQ(Renderer_SurfaceDepthSize(c[0]), c[1]) << c[0];
}

TEST_F(RenderTest, TextureFractionsAndReuse) {
  const int id = MakeTexture(100, 60);
  EXPECT_DOUBLE_EQ(Renderer_TextureWidthFraction(id), 0.78125);
  EXPECT_DOUBLE_EQ(Renderer_TextureHeightFraction(id), 0.9375);
  EXPECT_EQ(Renderer_TextureRealWidth(id), 128);
  EXPECT_EQ(Renderer_TextureRealHeight(id), 64);
  EXPECT_DOUBLE_EQ(Renderer_TextureWidthFraction(99), 1.0);
  for (int i = 1; i < 5; ++i) EXPECT_EQ(MakeTexture(4, 4), i);
  Renderer_FreeTexture(3);
  EXPECT_FALSE(Renderer_TextureExists(3));
  Renderer_FreeTexture(3);  // freeing twice does nothing
  EXPECT_EQ(MakeTexture(8, 8), 3);
  EXPECT_EQ(MakeTexture(8, 8), 5);
  EXPECT_EQ(Renderer_CreateTextureFromImage(TBitmap32()), -1);
}

TEST_F(RenderTest, UploadCopiesTheLastColumnAndRow) {
  TBitmap32 image(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) image.SetPixel(x, y, 0xFF000000u | (y * 16 + x));
  Renderer_CreateTextureFromImage(image);
  ASSERT_EQ(record.uploads.size(), 1u);
  const rendertest::RUpload& up = record.uploads[0];
  // 3 x 2 in a 4 x 2 texture: one more column, no room for another row.
  ASSERT_EQ(up.w, 4);
  ASSERT_EQ(up.h, 2);
  const uint32_t expected[] = {0xFF000000, 0xFF000001, 0xFF000002, 0xFF000002,
                               0xFF000010, 0xFF000011, 0xFF000012, 0xFF000012};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(up.pixels[i], expected[i]) << i;

  Renderer_CreateTextureFromImage(TBitmap32(2, 3));
  EXPECT_EQ(record.uploads[1].w, 2);
  EXPECT_EQ(record.uploads[1].h, 4);
  Renderer_CreateTextureFromImage(TBitmap32(64, 64));
  EXPECT_EQ(record.uploads[2].w, 64);
  EXPECT_EQ(record.uploads[2].h, 64);
}

TEST_F(RenderTest, UnscaledQuadLandsOnPixelEdges) {
  const int id = MakeTexture(100, 60);
  Renderer_DrawTexture(id, 10, 20);
  ASSERT_EQ(Draws().size(), 1u);
  const std::vector<RVertex>& v = Draws()[0].vertices;
  ASSERT_EQ(v.size(), 4u);
  EXPECT_FLOAT_EQ(v[0].x, 9.5f);
  EXPECT_FLOAT_EQ(v[0].y, 19.5f);
  EXPECT_FLOAT_EQ(v[2].x, 109.5f);
  EXPECT_FLOAT_EQ(v[2].y, 79.5f);
  EXPECT_FLOAT_EQ(v[2].u, 0.78125f);
  EXPECT_FLOAT_EQ(v[2].v, 0.9375f);
  EXPECT_EQ(v[0].colour, 0xFFFFFFFFu);
  EXPECT_EQ(Draws()[0].indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
}

TEST_F(RenderTest, RotationTurnsCounterClockwise) {
  const int id = MakeTexture(32, 16);
  Renderer_DrawTextureTransformed(id, 0xFFFFFF, 0, 0, 10, 20, 1, 1, M_PI / 2, 1);
  const std::vector<RVertex>& v = Draws()[0].vertices;
  // Top-right image corner (local (w - 0.5, -0.5)) goes to (10 - 0.5, 20 - w + 0.5).
  EXPECT_NEAR(v[1].x, 9.5, 1e-4);
  EXPECT_NEAR(v[1].y, 20 - 32 + 0.5, 1e-4);
}

TEST_F(RenderTest, PartAndGeneralCoordinates) {
  const int id = MakeTexture(64, 32);
  Renderer_DrawTextureGeneral(id, 8, 4, 16, 8, 0, 0, 2, 1, 0, 0x0000FF, 0x00FF00, 0xFF0000, 0, 1);
  const std::vector<RVertex>& v = Draws()[0].vertices;
  EXPECT_FLOAT_EQ(v[0].u, 8.0f / 64);
  EXPECT_FLOAT_EQ(v[0].v, 4.0f / 32);
  EXPECT_FLOAT_EQ(v[2].u, 24.0f / 64);
  EXPECT_FLOAT_EQ(v[2].v, 12.0f / 32);
  EXPECT_FLOAT_EQ(v[2].x, 31.5f);
  EXPECT_EQ(v[0].colour, 0xFFFF0000u);  // red (game colour 255)
  EXPECT_EQ(v[1].colour, 0xFF00FF00u);
  EXPECT_EQ(v[2].colour, 0xFF0000FFu);
  EXPECT_EQ(v[3].colour, 0xFF000000u);
}

// The x of each column drawn by a tiled or untiled draw over region 0..100.
std::vector<float> Columns(const std::vector<rendertest::RDrawCall>& draws) {
  std::vector<float> xs;
  for (const auto& d : draws)
    for (size_t q = 0; q < d.vertices.size(); q += 4) {
      const float x = d.vertices[q].x + 0.5f;
      if (xs.empty() || xs.back() < x) xs.push_back(x);
    }
  return xs;
}

TEST_F(RenderTest, TilingStartsAndColumns) {
  const int id = MakeTexture(32, 32);
  struct Case {
    double x;
    bool htiled;
    std::vector<float> columns;
  } cases[] = {
      {-5, true, {-5, 27, 59, 91}},
      {40, true, {-24, 8, 40, 72}},
      {120, false, {}},
      {50, false, {50}},
      {-1000, true, {-8, 24, 56, 88}},
  };
  for (const Case& c : cases) {
    record.draws.clear();
    Renderer_DrawTextureTiled(id, c.htiled, false, 0, 0, c.x, 0, 1, 1, 0, 0, 100, 100, 0xFFFFFF, 1);
    EXPECT_EQ(Columns(Draws()), c.columns) << c.x;
  }
  record.draws.clear();
  Renderer_DrawTextureTiled(id, true, true, 0, 0, 0, 0, 0.01, 1, 0, 0, 100, 100, 0xFFFFFF, 1);
  EXPECT_TRUE(Draws().empty());  // a step below one pixel draws nothing
}

TEST_F(RenderTest, BatchingKeepsOrderAndSplitsOnChanges) {
  const int a = MakeTexture(8, 8), b = MakeTexture(8, 8);
  for (int i = 0; i < 5; ++i) Renderer_DrawTexture(a, i, 0);
  EXPECT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].indices.size(), 30u);

  record.draws.clear();
  Renderer_DrawTexture(a, 0, 0);
  Renderer_DrawTexture(b, 0, 0);
  Renderer_DrawTexture(a, 0, 0);  // never merged with the first: order counts
  Renderer_SetBlendMode(1);
  Renderer_DrawTexture(a, 0, 0);
  Renderer_SetBlendMode(1);  // unchanged state: same batch
  Renderer_DrawTexture(a, 0, 0);
  const auto& draws = Draws();
  ASSERT_EQ(draws.size(), 4u);
  EXPECT_EQ(draws[0].state.texture, a);
  EXPECT_EQ(draws[1].state.texture, b);
  EXPECT_EQ(draws[2].state.texture, a);
  EXPECT_EQ(draws[3].state.destination_factor, 2);
  EXPECT_EQ(draws[3].indices.size(), 12u);
}

TEST_F(RenderTest, BatchFlushesBeforeTargetViewAndClear) {
  const int a = MakeTexture(8, 8);
  const int surface = Renderer_SurfaceCreate(16, 16);
  Renderer_DrawTexture(a, 0, 0);
  Renderer_SurfaceSetTarget(surface);
  EXPECT_EQ(record.draws.size(), 1u);  // flushed by the target change
  Renderer_DrawTexture(a, 0, 0);
  Renderer_SetViewProjection(0, 0, 16, 16, 10);
  EXPECT_EQ(record.draws.size(), 2u);
  Renderer_DrawTexture(a, 0, 0);
  Renderer_Clear(0, 1);
  EXPECT_EQ(record.draws.size(), 3u);
  Renderer_SurfaceResetTarget();
  EXPECT_EQ(record.targets.back(), -1);
  EXPECT_EQ(Renderer_SurfaceTarget(), -1);
}

TEST_F(RenderTest, PrimitivesBecomeIndexedLists) {
  RVertex v[5] = {};
  struct Case {
    int kind;
    int count;
    std::vector<uint16_t> indices;
  } cases[] = {
      {PrimitivePointList, 3, {0, 1, 2}},
      {PrimitiveLineList, 5, {0, 1, 2, 3}},
      {PrimitiveLineStrip, 4, {0, 1, 1, 2, 2, 3}},
      {PrimitiveTriangleList, 5, {0, 1, 2}},
      {PrimitiveTriangleStrip, 5, {0, 1, 2, 1, 2, 3, 2, 3, 4}},
      {PrimitiveTriangleFan, 5, {0, 1, 2, 0, 2, 3, 0, 3, 4}},
      {7, 5, {}},
      {PrimitiveTriangleFan, 2, {}},
  };
  for (const Case& c : cases) {
    record.draws.clear();
    Renderer_DrawPrimitive(c.kind, v, c.count);
    const auto& draws = Draws();
    if (c.indices.empty()) {
      EXPECT_TRUE(draws.empty()) << c.kind;
      continue;
    }
    ASSERT_EQ(draws.size(), 1u) << c.kind;
    EXPECT_EQ(draws[0].indices, c.indices) << c.kind;
  }
  EXPECT_EQ(Batch_PrimitiveCount(PrimitiveLineList, 5), 2);
}

TEST_F(RenderTest, LineStripsAndTrianglesDoNotShareADrawCall) {
  RVertex v[3] = {};
  Renderer_DrawPrimitive(PrimitiveLineStrip, v, 3);
  Renderer_DrawPrimitive(PrimitiveLineStrip, v, 3);
  Renderer_DrawPrimitive(PrimitiveTriangleList, v, 3);
  const auto& draws = Draws();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].state.mode, RBatchState::Lines);
  EXPECT_EQ(draws[0].indices.size(), 8u);  // two separate strips, never joined
  EXPECT_EQ(draws[1].state.mode, RBatchState::Triangles);
}

TEST(RenderColour, GameColourToARGBAndBack) {
  struct Case {
    int colour;
    double alpha;
    uint32_t argb;
  } cases[] = {
      {255, 1, 0xFFFF0000u},      {0xFF0000, 1, 0xFF0000FFu}, {0x00FF00, 0, 0x0000FF00u},
      {0x123456, 0.5, 0x80563412u},  // 127.5 rounds to even: 128
      {0, 2, 0xFF000000u},        {0, -1, 0x00000000u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Renderer_MakeARGB(c.colour, c.alpha), c.argb) << c.colour;
    EXPECT_EQ(Renderer_ARGBToColour(c.argb), c.colour);
  }
}

TEST_F(RenderTest, BlendModesSetTheirFactors) {
  const int cases[][3] = {{0, 5, 6}, {1, 5, 2}, {2, 5, 4}, {3, 1, 4}, {9, 5, 6}};
  for (const auto& c : cases) {
    Renderer_SetBlendMode(c[0]);
    EXPECT_EQ(Renderer_BlendSource(), c[1]) << c[0];
    EXPECT_EQ(Renderer_BlendDestination(), c[2]) << c[0];
  }
  Renderer_SetBlendModeExt(11, 9);
  EXPECT_EQ(Renderer_BlendSource(), 11);
  EXPECT_EQ(Renderer_BlendDestination(), 9);
}

TEST_F(RenderTest, DepthOnlyIn3DMode) {
  Renderer_SetDepth(500);
  EXPECT_EQ(Renderer_Depth(), 0);
  Renderer_Set3DMode(true);
  Renderer_SetDepth(20000);
  EXPECT_EQ(Renderer_Depth(), 16000);
  Renderer_Set3DMode(false);
  EXPECT_EQ(Renderer_Depth(), 0);
}

TEST_F(RenderTest, SurfaceCopyClipsToBothSurfaces) {
  const int a = Renderer_SurfaceCreate(100, 100), b = Renderer_SurfaceCreate(50, 40);
  const int ta = Renderer_SurfaceTexture(a), tb = Renderer_SurfaceTexture(b);
  struct Case {
    int x, y, left, top, w, h;
    std::vector<int> copy;  // empty: nothing copied
  } cases[] = {
      {0, 0, 0, 0, 50, 40, {ta, 0, 0, tb, 0, 0, 50, 40}},
      {-10, -5, 0, 0, 50, 40, {ta, 0, 0, tb, 10, 5, 40, 35}},
      {90, 95, 0, 0, 50, 40, {ta, 90, 95, tb, 0, 0, 10, 5}},
      {0, 0, -20, 0, 50, 40, {ta, 20, 0, tb, 0, 0, 30, 40}},
      {0, 0, 45, 35, 50, 40, {ta, 0, 0, tb, 45, 35, 5, 5}},
      {100, 0, 0, 0, 50, 40, {}},
  };
  for (const Case& c : cases) {
    record.copies.clear();
    Renderer_SurfaceCopy(a, c.x, c.y, b, c.left, c.top, c.w, c.h);
    if (c.copy.empty())
      EXPECT_TRUE(record.copies.empty()) << c.x;
    else
      EXPECT_EQ(record.copies, std::vector<std::vector<int>>{c.copy}) << c.x << "," << c.left;
  }
}

TEST_F(RenderTest, SurfaceTableAndTarget) {
  EXPECT_EQ(Renderer_SurfaceCreate(0, 5), -1);
  const int s = Renderer_SurfaceCreate(100, 50);
  EXPECT_EQ(Renderer_SurfaceWidth(s), 100);
  EXPECT_EQ(Renderer_SurfaceHeight(s), 50);
  EXPECT_TRUE(Renderer_TextureExists(Renderer_SurfaceTexture(s)));
  EXPECT_TRUE(Renderer_SurfaceSetTarget(s));
  Renderer_SurfaceFree(s);
  EXPECT_EQ(Renderer_SurfaceTarget(), -1);  // freeing the target resets it
  EXPECT_FALSE(Renderer_SurfaceExists(s));
  EXPECT_EQ(Renderer_SurfaceTexture(s), -1);
  EXPECT_FALSE(Renderer_SurfaceSetTarget(s));
}

// The projection puts the centre of pixel (i, j) of the viewport at room
// point (x + i, y + j).
TEST(RenderProjection, PixelCentresAtWholeCoordinates) {
  const RProjection p = Renderer_MakeProjection(100, 50, 64, 48, 0, 64, 48);
  auto ndc_x = [&](double x, double y) { return p.m[0][0] * x + p.m[0][1] * y + p.m[0][2]; };
  auto ndc_y = [&](double x, double y) { return p.m[1][0] * x + p.m[1][1] * y + p.m[1][2]; };
  // Pixel 0's centre is NDC -1 + 1/64.
  EXPECT_NEAR(ndc_x(100, 50), -1 + 1.0 / 64, 1e-6);
  EXPECT_NEAR(ndc_y(100, 50), -1 + 1.0 / 48, 1e-6);
  EXPECT_NEAR(ndc_x(163, 97), 1 - 1.0 / 64, 1e-6);
  // Turned 90 degrees: the point right of the centre goes up on screen.
  const RProjection r = Renderer_MakeProjection(0, 0, 100, 100, 90, 100, 100);
  EXPECT_NEAR(r.m[1][0] * 60 + r.m[1][1] * 50 + r.m[1][2], -0.2 + 0.01, 1e-6);
}

}  // namespace
