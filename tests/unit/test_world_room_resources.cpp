// Room resource functions: rooms made, copied and filled at run time are
// entered like stored rooms; changes to a resource do not touch the live
// state of a room already entered.
#include "world_test_support.h"

namespace {

class WorldRoomResourceTest : public worldtest::WorldTest {};

TEST_F(WorldRoomResourceTest, AddedRoomWithInstanceAndTileIsEntered) {
  Game().backgrounds.Add(std::make_unique<CBackground>(), u"back");
  Game().last_instance_id = 100005;
  Game().last_tile_id = 10000000;
  int obj = AddObject("obj");
  int guest = AddObject("guest");
  On(obj, ev_create, 0,
     "r = room_add(); say(r, room_name(r), room_exists(r), room_exists(r + 1), room_last);"
     "room_set_width(r, 320); room_set_caption(r, 'new');"
     "room_set_code(r, 'say(\"room code\", room_width, room_caption);');"
     "say(room_instance_add(r, 7, 8, 1), room_instance_add(r, 0, 0, 55));"
     "say(room_tile_add_ext(r, 0, 0, 0, 4, 4, 1, 2, 3, 2, 2, 0.5), room_tile_add(r, 9, 0, 0, 1, 1, 0, 0, 0));"
     "room_goto_next();");
  On(guest, ev_create, 0,
     "say('guest', id, x, y, tile_get_xscale(10000001), tile_get_alpha(10000001), tile_get_y(10000001));");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  EXPECT_EQ(TakeOutput(), "1 __newroom1 1 0 1;100006 -1;10000001 -1;");
  Runner_HandleTransition();
  EXPECT_EQ(TakeOutput(), "guest 100006 7 8 2 0.50 2;room code 320 new;");
}

TEST_F(WorldRoomResourceTest, DuplicateAssignAndLiveStateUntouched) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0,
     "d = room_duplicate(0); say(d, room_get_name(d));"
     "room_set_width(0, 100); say(room_width);"  // the live state keeps its size
     "room_assign(d, 0); room_set_background_color(d, 255, false);"
     "room_set_view_enabled(d, true);"
     "room_set_view(d, 1, true, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, -1);"
     "room_set_background(d, 2, true, true, 0, 10, 20, false, false, 1, 2, 0.5);"
     "say(room_duplicate(77));");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  EXPECT_EQ(TakeOutput(), "1 __newroom1;640;-1;");
  const CRoom& copy = *Game().rooms.Get(1);
  EXPECT_EQ(copy.r_width, 100);
  EXPECT_EQ(copy.r_color, 255);
  EXPECT_FALSE(copy.r_showcolor);
  EXPECT_TRUE(copy.r_enableviews);
  const CView& v = copy.r_view[1];
  EXPECT_TRUE(v.visible);
  EXPECT_EQ(std::vector<int32_t>({v.xview, v.yview, v.wview, v.hview, v.xport, v.yport, v.wport,
                                  v.hport, v.hborder, v.vborder, v.hspeed, v.vspeed, v.index}),
            std::vector<int32_t>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, -1}));
  const CBack& b = copy.r_background[2];
  EXPECT_TRUE(b.visible && b.foreground && !b.htiled && !b.vtiled);
  EXPECT_EQ(b.y, 20);
  EXPECT_EQ(b.vspeed, 2);
  EXPECT_EQ(b.alpha, 0.5);
  EXPECT_EQ(Game().rooms.Name(1), u"__newroom1");  // room_assign keeps the name
  EXPECT_EQ(Game().room_order, (std::vector<int32_t>{0, 1}));
}

}  // namespace
