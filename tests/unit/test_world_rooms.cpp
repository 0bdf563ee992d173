// Rooms: the order of room start (creation codes, create, game start, room
// creation code, room start), room end, persistent rooms and instances,
// room change requests and their errors.
#include "world_test_support.h"

namespace {


class WorldRoomTest : public worldtest::WorldTest {};

TEST_F(WorldRoomTest, RoomStartOrder) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "say('create', id, v);");
  On(obj, ev_other, 2, "say('game start', id);");
  On(obj, ev_other, 4, "say('room start', id);");
  AddRoom({Placed(obj, 0, 0, 100001, "v = 1; say('code', id);"), Placed(obj, 0, 0, 100002, "v = 2;")},
          "say('room code', id);");
  StartGame();
  // Creation code and create event alternate instance by instance.
  EXPECT_EQ(TakeOutput(),
            "code 100001;create 100001 1;create 100002 2;game start 100001;game start 100002;"
            "room code 0;room start 100001;room start 100002;");
}

TEST_F(WorldRoomTest, CreationCodeErrorsAreReportedAndTheRoomGoesOn) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "say('create');");
  AddRoom({Placed(obj, 0, 0, 100001, "x = ;")});
  Game().rooms.names[0] = u"start";
  StartGame();
  EXPECT_EQ(TakeOutput(), "create;");
  EXPECT_EQ(Error_State().error_last.rfind("COMPILATION ERROR in creation code for instance 100001 in room start\r\n", 0), 0u)
      << Error_State().error_last;
  EXPECT_FALSE(Error_State().aborting);
}

TEST_F(WorldRoomTest, RoomCreationCodeGotoSkipsRoomStart) {
  int obj = AddObject("obj");
  On(obj, ev_other, 4, "say('room start', room);");
  AddRoom({Placed(obj, 0, 0, 100001)}, "room_goto(1);");
  AddRoom({Placed(obj, 0, 0, 100002)});
  StartGame();
  EXPECT_EQ(TakeOutput(), "");
  Runner_HandleTransition();
  EXPECT_EQ(TakeOutput(), "room start 1;");
}

TEST_F(WorldRoomTest, PersistentInstanceCarriedAndPersistentRoomKept) {
  int hero = AddObject("hero");
  Object(hero).o_persistent = true;
  int rock = AddObject("rock");
  On(hero, ev_create, 0, "say('hero create');");
  On(rock, ev_create, 0, "say('rock create');");
  On(hero, ev_other, 4, "say('start', room, instance_number(0), x);");
  On(hero, ev_step, 0, "x += 1;");
  AddRoom({Placed(hero, 0, 0, 100001), Placed(rock, 0, 0, 100002)}, "room_persistent = true;");
  AddRoom({});
  Game().last_instance_id = 100010;
  StartGame();
  EXPECT_EQ(TakeOutput(), "hero create;rock create;start 0 1 0;");
  Steps(1);
  RunnerForm().pending_transition = 1;
  Runner_HandleTransition();
  // The carried copy keeps the id; carrying uses up one id.
  EXPECT_EQ(TakeOutput(), "start 1 1 1;");
  ASSERT_NE(Instance_Find(100001, true), nullptr);
  EXPECT_EQ(Instance_LastId(), 100011);
  Steps(1);
  RunnerForm().pending_transition = 0;
  Runner_HandleTransition();
  // Back in the persistent room: no create events, the hero exists once.
  EXPECT_EQ(TakeOutput(), "start 0 1 2;");
  Steps(1);
  int heroes = 0, rocks = 0;
  for (auto& inst : Instance_Lists().active) (inst->i_objectindex == hero ? heroes : rocks)++;
  EXPECT_EQ(heroes, 1);
  EXPECT_EQ(rocks, 1);
}

TEST_F(WorldRoomTest, RoomEndAndGameEndEvents) {
  int obj = AddObject("obj");
  On(obj, ev_other, 5, "say('room end');");
  On(obj, ev_other, 3, "say('game end');");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  RunnerForm().pending_transition = TRANSITION_END;
  Room_Leave(RoomChange::GameBoundary);
  EXPECT_EQ(TakeOutput(), "room end;game end;");
  EXPECT_EQ(RunnerForm().pending_transition, TRANSITION_END);
}

TEST_F(WorldRoomTest, RoomRequestsAndTheirErrors) {
  int obj = AddObject("obj");
  On(obj, ev_step, 0, "say(room_next(room), room_previous(room), room_first, room_last); room_goto_next();");
  AddRoom({Placed(obj, 0, 0, 100001)});
  AddRoom({Placed(obj, 0, 0, 100002)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "1 -1 0 1;");
  EXPECT_EQ(Room_LiveIndex(), 1);
  World_Step();
  EXPECT_EQ(TakeOutput(), "-1 0 0 1;");
  EXPECT_EQ(RunnerForm().pending_transition, TRANSITION_ABORT);
  EXPECT_NE(Error_State().error_last.find("Moving to next room after the last room."), std::string::npos);
}

TEST_F(WorldRoomTest, GotoMissingRoomIsFatal) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "room_goto(7);");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  EXPECT_EQ(RunnerForm().pending_transition, TRANSITION_ABORT);
  EXPECT_NE(Error_State().error_last.find("Unexisting room number: 7"), std::string::npos);
}

TEST_F(WorldRoomTest, RoomVariables) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0,
     "say(room_width, room_height, room_speed); room_speed = 60; room_caption = 'hi';"
     "say(room_speed, room_caption, instance_count, instance_id[0], instance_id[1]);");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  EXPECT_EQ(TakeOutput(), "640 480 30;60 hi 1 100001 -4;");
  // The resource keeps its speed; the live room changed.
  EXPECT_EQ(Game().rooms.Get(0)->r_speed, 30);
  EXPECT_EQ(Room_Live()->r_speed, 60);
}

TEST_F(WorldRoomTest, RoomSpeedZeroIsRefused) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "room_speed = 0.4;");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  EXPECT_EQ(Room_Live()->r_speed, 30);
  EXPECT_TRUE(Error_State().error_occurred);
}

}  // namespace
