// Room variables: the background layer and view arrays read and written by
// game code (conversions, indices outside 0..7, read-only sizes) and their
// effect on the live room only.
#include "graphics/background_class.h"
#include "world_test_support.h"

namespace {

class WorldRoomVariableTest : public worldtest::WorldTest {
 protected:
  // Runs the code as the creation code of a fresh first room whose layer 0
  // shows a 10x20 background; returns what it said.
  std::string RunInRoom(const std::string& code) {
    Reset();
    auto background = std::make_unique<CBackground>();
    background->i_bitmap = TBitmap32(10, 20);
    Game().backgrounds.Add(std::move(background), u"back");
    int room = AddRoom({}, code);
    Game().rooms.Get(room)->r_background[0].index = 0;
    StartGame();
    return TakeOutput();
  }
};

struct RCase {
  const char* code;
  const char* said;
};

TEST_F(WorldRoomVariableTest, ReadsAndWritesThroughGameCode) {
  const RCase cases[] = {
      // Defaults of a fresh room.
      {"say(background_visible[0], background_htiled[3], background_xscale[5], background_blend[7], background_alpha[2]);",
       "0 1 1 16777215 1;"},
      {"say(view_wview[0], view_hport[7], view_hborder[1], view_vspeed[2], view_object[3], view_angle[4]);",
       "640 480 32 -1 -1 0;"},
      // Each layer and view is its own.
      {"background_x[3] = 12; background_y[3] = -4; say(background_x[3], background_y[3], background_x[0]);",
       "12 -4 0;"},
      {"view_xview[6] = 100; view_object[6] = 5; say(view_xview[6], view_object[6], view_xview[0]);",
       "100 5 0;"},
      // Indices outside 0..7, and no index, act on entry 0.
      {"background_x[9] = 7; say(background_x[0], background_x[9]);", "7 7;"},
      {"view_yport[8] = 9; say(view_yport[0], view_yport[8]);", "9 9;"},
      {"background_vspeed = 2; view_visible = 1; say(background_vspeed[0], view_visible[0]);", "2 1;"},
      // Booleans: true when the value rounds to 1 or more.
      {"background_foreground[1] = 0.5; say(background_foreground[1]); background_foreground[1] = 0.6; say(background_foreground[1]);"
       "view_visible[2] = -3; say(view_visible[2]);",
       "0;1;0;"},
      // Integers round halves to even; reals are stored unchanged.
      {"view_xview[2] = 2.5; view_yview[2] = 3.5; view_wport[2] = -1.5; say(view_xview[2], view_yview[2], view_wport[2]);",
       "2 4 -2;"},
      {"background_index[4] = 1.5; background_blend[4] = 255.5; say(background_index[4], background_blend[4]);",
       "2 256;"},
      {"view_angle[1] = 0.25; background_alpha[1] = 0.75; say(view_angle[1] == 0.25, background_alpha[1] == 0.75);",
       "1 1;"},
      // Sizes come from the layer's background resource; 0 when it does not exist.
      {"say(background_width[0], background_height[0], background_width[1], background_height[9]);", "10 20 0 20;"},
      {"background_index[1] = 0; say(background_width[1]); background_index[1] = 5; say(background_height[1]);",
       "10;0;"},
  };
  for (const RCase& c : cases) EXPECT_EQ(RunInRoom(c.code), c.said) << c.code;
}

TEST_F(WorldRoomVariableTest, SettingRoomGoesThereAndAMissingRoomIsFatal) {
  int obj = AddObject("obj");
  On(obj, ev_other, 4, "say('start', room, instance_count);");
  AddRoom({Placed(obj, 0, 0, 100001)}, "room = 1;");
  AddRoom({Placed(obj, 0, 0, 100002), Placed(obj, 0, 0, 100003)}, "room = 7;");
  StartGame();
  Runner_HandleTransition();
  EXPECT_EQ(TakeOutput(), "");
  EXPECT_EQ(Room_LiveIndex(), 1);
  EXPECT_NE(Error_State().error_last.find("Unexisting room number: 7"), std::string::npos) << Error_State().error_last;
  EXPECT_TRUE(Error_State().aborting);
}

TEST_F(WorldRoomVariableTest, SizesCannotBeAssigned) {
  for (const char* code : {"background_width[0] = 5;", "background_height[2] = 5;"}) {
    EXPECT_EQ(RunInRoom(std::string(code) + "say(background_width[0]);"), "") << code;
    EXPECT_NE(Error_State().error_last.find("Cannot assign to the variable"), std::string::npos)
        << code << ": " << Error_State().error_last;
  }
}

TEST_F(WorldRoomVariableTest, WritesChangeTheLiveRoomNotTheResource) {
  RunInRoom("background_x[2] = 40; view_wview[5] = 320; view_visible[5] = true;");
  ASSERT_NE(Room_Live(), nullptr);
  EXPECT_EQ(Room_Live()->r_background[2].x, 40.0);
  EXPECT_EQ(Room_Live()->r_view[5].wview, 320);
  EXPECT_TRUE(Room_Live()->r_view[5].visible);
  // A negative index acts on entry 0 as well.
  const RBuiltinVariable& hspeed = Variable_BuiltinGet(Variable_BuiltinFind("background_hspeed"));
  EXPECT_TRUE(hspeed.setter(nullptr, -1, RValue::Real(3)));
  EXPECT_EQ(Room_Live()->r_background[0].hspeed, 3.0);
  const CRoom& resource = *Game().rooms.Get(0);
  EXPECT_EQ(resource.r_background[2].x, 0.0);
  EXPECT_EQ(resource.r_view[5].wview, 640);
  EXPECT_FALSE(resource.r_view[5].visible);
}

TEST_F(WorldRoomVariableTest, WithoutARoomReadsGiveZeroAndWritesChangeNothing) {
  ASSERT_EQ(Room_Live(), nullptr);
  for (const char* name : {"background_x", "background_width", "view_wview", "view_hborder"}) {
    const RBuiltinVariable& variable = Variable_BuiltinGet(Variable_BuiltinFind(name));
    RValue out = RValue::Real(99);
    variable.getter(nullptr, 0, out);
    EXPECT_EQ(out.val, 0.0) << name;
    if (variable.setter) {
      EXPECT_TRUE(variable.setter(nullptr, 0, RValue::Real(5))) << name;
    }
  }
}

}  // namespace
