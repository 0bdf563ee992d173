// Object settings functions: reading and changing an object's settings,
// which instances created afterwards take, and the ancestor test.
#include "world_test_support.h"

namespace {

class WorldObjectFunctionTest : public worldtest::WorldTest {};

TEST_F(WorldObjectFunctionTest, SettingsReadChangeAndReachNewInstances) {
  int base = AddObject("base");
  int mid = AddObject("mid", base);
  int leaf = AddObject("leaf", mid);
  Object(leaf).o_depth = 5;
  On(base, ev_create, 0, "");
  On(leaf, ev_create, 0, "say('leaf', depth, solid, visible, persistent);");
  On(base, ev_other, 4,
     "say(object_name(2), object_get_name(9), object_exists(2), object_exists(9));"
     "say(object_get_depth(2), object_get_parent(2), object_get_sprite(2), object_get_mask(2),"
     "    object_get_visible(2), object_get_solid(9));"
     "object_set_depth(2, -7.4); object_set_solid(2, 0.6); object_set_visible(2, 0.4);"
     "object_set_persistent(2, 1); object_set_sprite(9, 3);"
     "say(object_get_depth(2), object_get_solid(2), object_get_visible(2));"
     "say(object_is_ancestor(2, 0), object_is_ancestor(2, 1), object_is_ancestor(0, 2),"
     "    object_is_ancestor(1, 1));"
     "instance_create(0, 0, 2);");
  AddRoom({Placed(base, 0, 0, 100001)});
  StartGame();
  EXPECT_EQ(TakeOutput(),
            "leaf <undefined> 1 0;5 1 -1 -1 1 0;-7 1 0;1 1 0 0;leaf -7 1 0 1;");
  (void)mid;
}

}  // namespace
