// Renderer window side: region scale modes and placement, the mouse mapping
// from window to region to room through views, view following, the window
// caption of room drawing and the bitmap encoding of screenshots.
#include <cmath>

#include "code/builtin_variables.h"
#include "graphics/room_draw.h"
#include "graphics/screen_save.h"
#include "graphics/screen_scale.h"
#include "test_render_support.h"
#include "world/room_class.h"

namespace {

using rendertest::RenderTest;

TEST(RenderScale, PlacementOfTheScaledRegion) {
  struct Case {
    int rw, rh;
    double s;
    int cw, ch;
    int x, y, w, h;
  } cases[] = {
      {320, 240, 2, 640, 480, 0, 0, 640, 480},
      {320, 240, -1, 800, 480, 80, 0, 640, 480},    // fits by height
      {320, 240, -1, 640, 600, 0, 60, 640, 480},    // fits by width
      {320, 240, 0, 500, 300, 0, 0, 500, 300},      // stretched
      {320, 240, 1, 400, 300, 40, 30, 320, 240},    // centred in a larger client
      {100, 100, 1.5, 150, 150, 0, 0, 150, 150},
  };
  for (const Case& c : cases) {
    const RRegionPlacement p = Screen_PlaceRegion(c.rw, c.rh, c.s, c.cw, c.ch);
    EXPECT_EQ(p.x, c.x) << c.s << " " << c.cw;
    EXPECT_EQ(p.y, c.y) << c.s << " " << c.cw;
    EXPECT_EQ(p.w, c.w) << c.s << " " << c.cw;
    EXPECT_EQ(p.h, c.h) << c.s << " " << c.cw;
  }
  EXPECT_EQ(Screen_ScaledSize(320, 2), 640);
  EXPECT_EQ(Screen_ScaledSize(5, 1.5), 8);  // 7.5 rounds to even
}

TEST(RenderScale, WindowToRegion) {
  struct Case {
    double s;
    int cw, ch, mx, my;
    double rx, ry;
  } cases[] = {
      {2, 640, 480, 100, 50, 50, 25},
      {2, 640, 480, 101, 51, 50, 26},     // 50.5 -> 50, 25.5 -> 26 (ties to even)
      {-1, 800, 480, 80, 0, 0, 0},        // the picture starts at x 80
      {-1, 800, 480, 720, 480, 320, 240},
      {0, 640, 240, 320, 120, 160, 120},  // stretched: 2 x 1
      {0, 0, 0, 5, 5, 1600, 1200},        // a client size below 1 counts as 1
  };
  for (const Case& c : cases) {
    double rx = 0, ry = 0;
    Screen_MapToRegion(320, 240, c.s, c.cw, c.ch, c.mx, c.my, rx, ry);
    EXPECT_EQ(rx, c.rx) << c.s << " " << c.mx;
    EXPECT_EQ(ry, c.ry) << c.s << " " << c.my;
  }
}

RViewTransform View(double xv, double yv, double wv, double hv, double xp, double yp, double wp,
                    double hp, double angle = 0) {
  RViewTransform v;
  v.xview = xv, v.yview = yv, v.wview = wv, v.hview = hv;
  v.xport = xp, v.yport = yp, v.wport = wp, v.hport = hp, v.angle = angle;
  return v;
}

TEST_F(RenderTest, RegionRoomMappingAndItsInverse) {
  Renderer_SetViewTransform(0, View(100, 200, 320, 240, 0, 0, 640, 480));
  Renderer_SetViewTransform(1, View(0, 0, 100, 100, 10, 10, 100, 100, 90));
  double x = 0, y = 0, rx = 0, ry = 0;
  EXPECT_TRUE(Renderer_RegionToRoom(0, 64, 48, x, y));
  EXPECT_EQ(x, 132);
  EXPECT_EQ(y, 224);
  // Turned views map through the view centre: the picture turns
  // counter-clockwise, so a region point above the centre shows a room
  // point right of it.
  EXPECT_TRUE(Renderer_RegionToRoom(1, 60, 30, x, y));
  EXPECT_EQ(x, 80);
  EXPECT_EQ(y, 50);
  for (int view = 0; view < 2; ++view) {
    const double points[][2] = {{150, 250}, {20, 80}, {0, 0}};
    for (const auto& p : points) {
      Renderer_RoomToRegion(view, p[0], p[1], rx, ry);
      Renderer_RegionToRoom(view, rx, ry, x, y);
      EXPECT_NEAR(x, p[0], 1) << view;
      EXPECT_NEAR(y, p[1], 1) << view;
    }
  }
  EXPECT_FALSE(Renderer_RegionToRoom(5, 7, 8, x, y));  // unused: the point itself
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 8);
}

TEST_F(RenderTest, MouseTriesHighViewsFirstThenFallsBackToTheLowest) {
  // Scale 1 with adapt: the client is exactly the region.
  Renderer_SetRegionScale(1, true);
  Renderer_SetRegionSize(200, 100, true);
  // Both views show the same room area from different ports.
  Renderer_SetViewTransform(0, View(0, 0, 100, 100, 0, 0, 100, 100));
  Renderer_SetViewTransform(1, View(0, 0, 100, 100, 100, 0, 100, 100));
  double x = 0, y = 0;
  // Region (20, 20): through view 1 it is room (-80, 20), outside view 1's
  // rectangle; through view 0 it is (20, 20), inside.
  Renderer_WindowToRoom(20, 20, x, y);
  EXPECT_EQ(x, 20);
  // Region (150, 20): view 1 maps it inside.
  Renderer_WindowToRoom(150, 20, x, y);
  EXPECT_EQ(x, 50);
  // Views covering the point in both: view 1 wins.
  Renderer_SetViewTransform(1, View(0, 0, 100, 100, 0, 0, 50, 50));
  Renderer_WindowToRoom(20, 20, x, y);
  EXPECT_EQ(x, 40);
  // Inside neither: the lowest used view's mapping.
  Renderer_SetViewTransform(0, View(0, 0, 10, 10, 0, 0, 10, 10));
  Renderer_SetViewTransform(1, View(0, 0, 10, 10, 0, 0, 10, 10));
  Renderer_ClearViewTransform(0);
  Renderer_WindowToRoom(150, 50, x, y);
  EXPECT_EQ(x, 150);
  EXPECT_EQ(y, 50);
  Renderer_SetRegionSize(8, 8, false);
}

TEST(RenderFollow, ViewsFollowWithBordersClampAndSpeed) {
  struct Case {
    double ix, iy;
    int room_w, room_h, xview, yview, wview, hview, hborder, vborder, hspeed, vspeed;
    int x, y;
  } cases[] = {
      // A view wider than the room ends at room width - view width.
      {100, 100, 400, 400, 0, 0, 640, 100, 32, 32, -1, -1, -240, 32},
      // Speed 4: at most 4 pixels a step toward the target.
      {500, 50, 1000, 1000, 0, 0, 200, 200, 32, 32, 4, 4, 4, 0},
      // Inside the borders: nothing moves.
      {100, 100, 1000, 1000, 0, 0, 200, 200, 32, 32, -1, -1, 0, 0},
      // Borders too wide: centred on the instance.
      {500, 500, 1000, 1000, 0, 0, 200, 200, 150, 150, -1, -1, 400, 400},
      // Left of the border: the instance stays hborder from the left edge.
      {300, 300, 1000, 1000, 290, 290, 100, 100, 32, 32, -1, -1, 268, 268},
      // Positions round ties to even before following.
      {500.5, 500.5, 1000, 1000, 0, 0, 100, 100, 150, 150, -1, -1, 450, 450},
  };
  for (const Case& c : cases) {
    int x = c.xview, y = c.yview;
    RoomDraw_FollowPoint(c.ix, c.iy, c.room_w, c.room_h, x, y, c.wview, c.hview, c.hborder,
                         c.vborder, c.hspeed, c.vspeed);
    EXPECT_EQ(x, c.x) << c.ix;
    EXPECT_EQ(y, c.y) << c.iy;
  }
}

TEST(RenderCaption, ScoreLivesAndHealth) {
  const RGameGlobals saved = g_GameGlobals;
  CRoom room;
  room.r_caption = u"Room";
  RGameGlobals& g = g_GameGlobals;
  g = RGameGlobals();
  g.score = 0;
  EXPECT_EQ(RoomDraw_Caption(room), "Room");  // score 0, never assigned: hidden
  g.score_shown_by_code = true;
  EXPECT_EQ(RoomDraw_Caption(room), "Room Score: 0");
  g.score = 12;
  g.show_lives = true;
  g.lives = 3;
  g.show_health = true;
  g.health = 42.5;
  EXPECT_EQ(RoomDraw_Caption(room), "Room Score: 12 Lives: 3 Health: 42");
  g.show_score = false;
  EXPECT_EQ(RoomDraw_Caption(room), "Room Lives: 3 Health: 42");
  g_GameGlobals = saved;
}

TEST(RenderScreenshot, BitmapRowsBottomUp) {
  TBitmap32 image(2, 2);
  image.SetPixel(0, 0, 0xFF112233u);
  image.SetPixel(1, 1, 0xFF445566u);
  std::vector<uint8_t> bmp;
  Screen_EncodeBmp(image, bmp);
  ASSERT_EQ(bmp.size(), 54u + 16u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[28], 32);  // bits per pixel
  // First stored row is the bottom one: (0, 1) then (1, 1).
  EXPECT_EQ(bmp[54 + 4], 0x66);
  EXPECT_EQ(bmp[54 + 5], 0x55);
  EXPECT_EQ(bmp[54 + 6], 0x44);
  EXPECT_EQ(bmp[54 + 8], 0x33);  // (0, 0) starts the second stored row
  std::vector<uint8_t> png;
  EXPECT_TRUE(Screen_EncodePng(image, false, png));
  EXPECT_EQ(png[1], 'P');
  EXPECT_FALSE(Screen_EncodePng(TBitmap32(), false, png));
}

}  // namespace
