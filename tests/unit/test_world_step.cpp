// Step loop: the order of phases, alarms, motion, destruction and
// animation, observed through say() output.
#include "world_test_support.h"

namespace {


class WorldStepTest : public worldtest::WorldTest {};

TEST_F(WorldStepTest, PhasesRunInOrderGroupedByObjectAscending) {
  int a = AddObject("a");
  int b = AddObject("b");
  for (int obj : {a, b}) {
    std::string n = obj == a ? "'a'" : "'b'";
    On(obj, ev_create, 0, "alarm[0] = 1;");
    On(obj, ev_step, 1, "say(" + n + ", 'begin');");
    On(obj, ev_alarm, 0, "say(" + n + ", 'alarm');");
    On(obj, ev_step, 0, "say(" + n + ", 'step');");
    On(obj, ev_step, 2, "say(" + n + ", 'end');");
  }
  // b is placed first, but dispatch visits objects in index order.
  AddRoom({Placed(b, 0, 0, 100001), Placed(a, 0, 0, 100002)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "a begin;b begin;a alarm;b alarm;a step;b step;a end;b end;");
  EXPECT_EQ(RunnerForm().step_counter, 1);
}

TEST_F(WorldStepTest, AlarmCountsDownOnlyWithAnAlarmEvent) {
  int timed = AddObject("timed");
  int untimed = AddObject("untimed");
  On(timed, ev_create, 0, "alarm[0] = 3;");
  On(timed, ev_alarm, 0, "say('fired', current);");
  On(timed, ev_step, 0, "current += 1;");
  On(timed, ev_create, 0, "current = 0;");
  On(untimed, ev_create, 0, "alarm[0] = 3; alarm[1] = 0;");
  AddRoom({Placed(timed, 0, 0, 100001), Placed(untimed, 0, 0, 100002)});
  StartGame();
  Steps(2);
  EXPECT_EQ(TakeOutput(), "");
  Steps(1);  // third following step; the alarm phase comes before step
  EXPECT_EQ(TakeOutput(), "fired 2;");
  CInstance* u = Instance_Find(100002, true);
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->GetTimer(0), 3);
  Steps(3);
  EXPECT_EQ(TakeOutput(), "");
}

TEST_F(WorldStepTest, AlarmSetToZeroTurnsOffWithoutFiring) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "alarm[2] = 0; alarm[3] = 1;");
  On(obj, ev_alarm, 2, "say('two');");
  On(obj, ev_alarm, 3, "say('three', alarm[2]);");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  Steps(2);
  EXPECT_EQ(TakeOutput(), "three -1;");
}

TEST_F(WorldStepTest, DestroyedInstanceStillMovesButIsNotCounted) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "hspeed = 3;");
  On(obj, ev_step, 1, "if (id == 100001) instance_destroy();");
  On(obj, ev_step, 0, "say(instance_number(0), instance_count);");
  On(obj, ev_destroy, 0, "say('destroy', instance_number(self));");
  AddRoom({Placed(obj, 10, 0, 100001), Placed(obj, 10, 0, 100002)});
  StartGame();
  World_Step();
  // Marked instances are skipped by events and counts; the motion still
  // moved it; RemoveMarked freed it at the end of the step.
  EXPECT_EQ(TakeOutput(), "destroy 1;1 2;");
  EXPECT_EQ(Instance_Lists().active.size(), 1u);
  EXPECT_EQ(Instance_Lists().active[0]->i_x, 13);
}

TEST_F(WorldStepTest, MotionAppliesFrictionGravityAndSpeeds) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "speed = 5; direction = 0; friction = 1; gravity = 0;");
  On(obj, ev_step, 2, "say(x, y, speed, xprevious);");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  Steps(3);
  EXPECT_EQ(TakeOutput(), "4 0 4 0;7 0 3 4;9 0 2 7;");
}

TEST_F(WorldStepTest, GravityAcceleratesDownwards) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "gravity = 2;");
  On(obj, ev_step, 2, "say(y, vspeed, direction);");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  Steps(2);
  EXPECT_EQ(TakeOutput(), "2 2 270;6 4 270;");
}

TEST_F(WorldStepTest, AnimationEndWithoutSpriteEveryStep) {
  int obj = AddObject("obj");
  On(obj, ev_other, 7, "say('end', image_index);");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  Steps(2);
  EXPECT_EQ(TakeOutput(), "end 1;end 2;");
}

TEST_F(WorldStepTest, RoomGotoInBeginStepStopsTheStep) {
  int obj = AddObject("obj");
  On(obj, ev_step, 1, "say('begin', room); if (room == 0) room_goto(1);");
  On(obj, ev_step, 0, "say('step');");
  On(obj, ev_other, 5, "say('room end');");
  On(obj, ev_other, 4, "say('room start', room);");
  AddRoom({Placed(obj, 0, 0, 100001)});
  AddRoom({Placed(obj, 0, 0, 100002)});
  StartGame();
  EXPECT_EQ(TakeOutput(), "room start 0;");
  Steps(1);
  EXPECT_EQ(TakeOutput(), "begin 0;room end;room start 1;");
  EXPECT_EQ(RunnerForm().step_counter, 0);
  Steps(1);
  EXPECT_EQ(TakeOutput(), "begin 1;step;");
}

TEST_F(WorldStepTest, KeyboardEventsFromInputState) {
  int obj = AddObject("obj");
  On(obj, ev_keyboard, 37, "say('held left');");
  On(obj, ev_keyboard, 1, "say('any');");
  On(obj, ev_keyboard, 0, "say('none');");
  On(obj, ev_keypress, 37, "say('press left');");
  On(obj, ev_keyrelease, 37, "say('release left');");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  Input_KeyDown(37);
  Steps(1);
  EXPECT_EQ(TakeOutput(), "held left;any;press left;");
  Steps(1);
  EXPECT_EQ(TakeOutput(), "held left;any;");
  Input_KeyUp(37);
  Steps(1);
  EXPECT_EQ(TakeOutput(), "none;release left;");
}

TEST_F(WorldStepTest, OutsideRoomUsesPositionWithoutSprite) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "hspeed = 10;");
  On(obj, ev_other, 0, "say('outside', x);");
  AddRoom({Placed(obj, 625, 0, 100001)});
  StartGame();
  Steps(3);
  EXPECT_EQ(TakeOutput(), "outside 645;outside 655;");
}

}  // namespace
