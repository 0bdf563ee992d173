// Tiles: the room's tile list (ids, finding by position with half-open and
// closed edges, foreground rules, depth layers, depth order) and the tile_*
// builtins acting on the current room.
#include "world_test_support.h"

#include "world/room_class.h"

namespace {

RTile Tile(double x, double y, int w, int h, double depth) {
  RTile t;
  t.x = x;
  t.y = y;
  t.w = w;
  t.h = h;
  t.depth = depth;
  return t;
}

class WorldTileListTest : public ::testing::Test {
 protected:
  void SetUp() override { Tile_LastId() = 10000000; }
  CRoom room;
};

TEST_F(WorldTileListTest, AddGivesIdsAboveTheLastAndFindUsesThem) {
  room.r_tile.push_back(Tile(0, 0, 8, 8, 0));
  room.r_tile.back().id = 10000000;  // stored with the room
  EXPECT_EQ(room.AddTile(Tile(8, 0, 8, 8, 0)), 1);
  EXPECT_EQ(room.AddTile(Tile(16, 0, 8, 8, 0)), 2);
  EXPECT_EQ(room.r_tile[1].id, 10000001);
  EXPECT_EQ(room.r_tile[2].id, 10000002);
  EXPECT_EQ(room.r_lasttile, 2);
  EXPECT_EQ(room.FindTile(10000000), 0);
  EXPECT_EQ(room.r_lasttile, 0);
  EXPECT_EQ(room.FindTile(10000002), 2);
  EXPECT_EQ(room.FindTile(5), -1);
  room.DeleteTile(0);
  EXPECT_EQ(room.FindTile(10000002), 1);  // a stale cache is not trusted
  room.DeleteTile(7);                     // out of range: ignored
  EXPECT_EQ(room.r_tile.size(), 2u);
}

// A tile at (10, 10), 20 x 10 scaled by 2 x 1 covers 10..50 x 10..20.
TEST_F(WorldTileListTest, FindAtIsHalfOpenAndDeleteAtIsClosed) {
  struct Case {
    double x, y, depth;
    bool foreground;
    int found;       // FindTileAt
    bool deleted;    // DeleteTilesAt
  } cases[] = {
      {10, 10, 5, false, 0, true},     // top-left corner is inside
      {49.5, 19.5, 5, false, 0, true},
      {50, 15, 5, false, -1, true},    // right edge: only the closed test
      {30, 20, 5, false, -1, true},    // bottom edge
      {50.5, 15, 5, false, -1, false},
      {30, 15, 5, true, -1, false},    // background tile, foreground asked
      {30, 15, -5, true, 0, true},
      {30, 15, -5, false, -1, false},
      {30, 15, 0, false, 0, true},     // depth 0: background for finding ...
      {30, 15, 0, true, -1, true},     // ... but deleted with either flag
  };
  for (const Case& c : cases) {
    CRoom r;
    RTile t = Tile(10, 10, 20, 10, c.depth);
    t.xscale = 2;
    r.AddTile(t);
    EXPECT_EQ(r.FindTileAt(c.x, c.y, c.foreground), c.found) << c.x << "," << c.y << " d" << c.depth;
    r.DeleteTilesAt(c.x, c.y, c.foreground);
    EXPECT_EQ(r.r_tile.empty(), c.deleted) << c.x << "," << c.y << " d" << c.depth;
  }
}

TEST_F(WorldTileListTest, LayerOperationsTouchOnlyTheirDepth) {
  room.AddTile(Tile(0, 0, 10, 10, 100));
  room.AddTile(Tile(0, 0, 10, 10, 50));
  room.AddTile(Tile(20, 0, 10, 10, 100));
  room.HideTilesDepth(100);
  EXPECT_FALSE(room.r_tile[0].visible);
  EXPECT_TRUE(room.r_tile[1].visible);
  EXPECT_FALSE(room.r_tile[2].visible);
  room.ShowTilesDepth(100);
  EXPECT_TRUE(room.r_tile[0].visible);
  room.ShiftTilesDepth(100, 5, -3);
  EXPECT_EQ(room.r_tile[0].x, 5);
  EXPECT_EQ(room.r_tile[0].y, -3);
  EXPECT_EQ(room.r_tile[1].x, 0);
  EXPECT_EQ(room.FindTileAtDepth(100, 6, 0), 0);
  EXPECT_EQ(room.FindTileAtDepth(50, 6, 0), 1);
  EXPECT_EQ(room.FindTileAtDepth(100, 15, 0), -1);  // right edge of tile 0
  room.DeleteTilesAtDepth(100, 25, 1);
  ASSERT_EQ(room.r_tile.size(), 2u);
  room.ChangeTilesDepth(50, 100);
  EXPECT_EQ(room.r_tile[1].depth, 100);
  room.DeleteTilesDepth(100);
  EXPECT_TRUE(room.r_tile.empty());
}

TEST_F(WorldTileListTest, SortIsStableByNonIncreasingDepth) {
  const double depths[] = {5, 10, 5, 20, 10};
  for (double d : depths) room.AddTile(Tile(0, 0, 1, 1, d));
  room.SortTiles();
  std::vector<std::pair<double, int32_t>> order;
  for (const RTile& t : room.r_tile) order.emplace_back(t.depth, t.id - 10000000);
  const std::vector<std::pair<double, int32_t>> expected = {{20, 4}, {10, 2}, {10, 5}, {5, 1}, {5, 3}};
  EXPECT_EQ(order, expected);
}

// --- the builtins -----------------------------------------------------------

class WorldTileFunctionTest : public worldtest::WorldTest {
 protected:
  void StartWith(const std::string& create_code) {
    Game().backgrounds.Add(std::make_unique<CBackground>(), u"back");
    Game().last_tile_id = 10000000;
    int obj = AddObject("obj");
    On(obj, ev_create, 0, create_code);
    AddRoom({Placed(obj, 0, 0, 100001)});
    StartGame();
  }
};

TEST_F(WorldTileFunctionTest, AddFindAndReadBack) {
  StartWith(
      "t = tile_add(0, 1, 2, 16, 8, 32, 40, -10);"
      "say(t, tile_exists(t), tile_get_x(t), tile_get_y(t), tile_get_left(t), tile_get_top(t),"
      "    tile_get_width(t), tile_get_height(t), tile_get_depth(t), tile_get_visible(t),"
      "    tile_get_xscale(t), tile_get_blend(t), tile_get_alpha(t), tile_get_background(t));"
      "say(tile_find(32.4, 40, true), tile_find(48, 40, true), tile_find(32, 40, false));"
      "tile_set_scale(t, 2, 1); say(tile_find(60, 47.6, true));"
      "say(tile_layer_find(-10, 63.9, 47.9), tile_layer_find(-10, 64, 40));");
  EXPECT_EQ(TakeOutput(),
            "10000001 1 32 40 1 2 16 8 -10 1 1 16777215 1 0;"
            "10000001 -1 -1;"
            "-1;"  // (60, 48) after rounding: the bottom edge
            "10000001 -1;");
  EXPECT_FALSE(Error_State().error_occurred);
}

TEST_F(WorldTileFunctionTest, MissingTileAndBackgroundAreReported) {
  StartWith(
      "say(tile_add(7, 0, 0, 1, 1, 0, 0, 0));"
      "say(tile_get_x(12345), tile_get_background(12345), tile_exists(12345));");
  EXPECT_EQ(TakeOutput(), "-1;0 -1 0;");
  EXPECT_TRUE(Error_State().error_occurred);
  EXPECT_NE(Error_State().error_last.find("Tile does not exist."), std::string::npos);
  EXPECT_FALSE(Error_State().aborting);
}

TEST_F(WorldTileFunctionTest, DeleteAndLayerFunctions) {
  StartWith(
      "a = tile_add(0, 0, 0, 10, 10, 0, 0, 0);"
      "b = tile_add(0, 0, 0, 10, 10, 20, 0, 5);"
      "c = tile_add(0, 0, 0, 10, 10, 40, 0, 5);"
      "tile_delete_at(10, 10, true); say(tile_exists(a));"  // closed edges, depth 0
      "tile_layer_hide(5); say(tile_get_visible(b), tile_get_visible(c));"
      "tile_layer_shift(5, 1, 2); say(tile_get_x(b), tile_get_y(c));"
      "tile_layer_depth(5, 7); tile_layer_delete_at(7, 21, 2); say(tile_exists(b), tile_exists(c));"
      "tile_delete(c); say(tile_exists(c));");
  EXPECT_EQ(TakeOutput(), "0;0 0;21 2;0 1;0;");
}

TEST_F(WorldTileFunctionTest, RoomTilesKeepTheirIdsAndNewOnesGoAbove) {
  Game().backgrounds.Add(std::make_unique<CBackground>(), u"back");
  Game().last_tile_id = 10000005;
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "say(tile_exists(10000003), tile_add(0, 0, 0, 1, 1, 0, 0, 0));");
  AddRoom({Placed(obj, 0, 0, 100001)});
  RTile stored = Tile(0, 0, 4, 4, 0);
  stored.id = 10000003;
  Game().rooms.Get(0)->r_tile.push_back(stored);
  StartGame();
  EXPECT_EQ(TakeOutput(), "1 10000006;");
}

}  // namespace
