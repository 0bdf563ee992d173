// Instances: ids, creation and destruction with their events, changing and
// copying, finding and counting, deactivation, the per-object lists and
// the setters that keep derived state consistent.
#include "world/instance_actions.h"
#include "world_test_support.h"

namespace {


class WorldInstanceTest : public worldtest::WorldTest {
 protected:
  // Runs code as the create event of one placed instance (object "runner").
  std::string RunCode(const std::string& code) {
    int runner = AddObject("runner");
    On(runner, ev_create, 0, code);
    AddRoom({Placed(runner, 0, 0, 100001)});
    StartGame();
    return TakeOutput();
  }
};

TEST_F(WorldInstanceTest, IdsFollowTheStoredHighestId) {
  int obj = AddObject("obj");
  (void)obj;
  Game().last_instance_id = 100050;
  EXPECT_EQ(RunCode("say(instance_create(1, 2, 0), instance_create(1, 2, 0));"), "100051 100052;");
}

TEST_F(WorldInstanceTest, CreateRunsCreateEventAndMissingObjectIsAnError) {
  int ball = AddObject("ball");
  On(ball, ev_create, 0, "say('ball', x, y, id);");
  Game().last_instance_id = 100001;
  EXPECT_EQ(RunCode("say(instance_create(5, 6, 0)); say(instance_create(0, 0, 9));"),
            "ball 5 6 100002;100002;-4;");
  EXPECT_NE(Error_State().error_last.find("Creating instance for non-existing object: 9"), std::string::npos);
}

TEST_F(WorldInstanceTest, ChangeKeepsIdVariablesAndAlarmsAndTakesObjectData) {
  int from = AddObject("from");
  int to = AddObject("to");
  Object(to).o_depth = 7;
  Object(to).o_solid = true;
  On(from, ev_destroy, 0, "say('destroy from');");
  On(to, ev_create, 0, "say('create to', id, v, alarm[1], depth, solid, object_index);");
  On(from, ev_create, 0, "v = 42; alarm[1] = 9; instance_change(1, true);");
  AddRoom({Placed(from, 0, 0, 100001)});
  Game().last_instance_id = 100005;
  StartGame();
  EXPECT_EQ(TakeOutput(), "destroy from;create to 100001 42 9 7 1 1;");
  EXPECT_EQ(Instance_LastId(), 100006);
  EXPECT_EQ(Instance_ObjNumber(to), 1);
  (void)from;
}

TEST_F(WorldInstanceTest, CopyGetsNewIdAndSameState) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "say('create', id);");
  On(obj, ev_step, 0,
     "if (id == 100001) { v = 3; hspeed = 2; alarm[0] = 5; c = instance_copy(false);"
     " say(c, c.v, c.hspeed, c.alarm[0]); }");
  AddRoom({Placed(obj, 0, 0, 100001)});
  Game().last_instance_id = 100001;
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "create 100001;100002 3 2 5;");
}

TEST_F(WorldInstanceTest, FindNumberExistsSkipMarked) {
  int a = AddObject("a");
  int b = AddObject("b", a);
  int runner = AddObject("runner");
  On(runner, ev_step, 0,
     "say(instance_number(0), instance_number(1), instance_number(all), instance_find(all, 0));"
     "with (100001) instance_destroy();"
     "say(instance_number(0), instance_find(all, 0), instance_find(0, 1), instance_find(0, 2),"
     " instance_exists(100001), instance_exists(100002), instance_exists(1), instance_number(2),"
     " instance_find(100002, 0), instance_find(100002, 1), instance_exists(noone));");
  AddRoom({Placed(a, 0, 0, 100001), Placed(b, 0, 0, 100002), Placed(a, 0, 0, 100003),
           Placed(runner, 0, 0, 100004)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "3 1 4 100001;2 100002 100003 -4 0 1 1 1 100002 -4 0;");
  (void)b;
}

TEST_F(WorldInstanceTest, NearestAndFurthestUsePositionsFirstWinsTies) {
  int a = AddObject("a");
  int runner = AddObject("runner");
  On(runner, ev_step, 0,
     "say(instance_nearest(0, 0, 0), instance_furthest(0, 0, 0), instance_nearest(0, 0, 100001),"
     " instance_nearest(0, 0, 5));");
  AddRoom({Placed(a, 10, 0, 100001), Placed(a, 0, 10, 100002), Placed(a, 30, 40, 100003),
           Placed(runner, 0, 0, 100004)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "100001 100003 -4 -4;");
}

TEST_F(WorldInstanceTest, DeactivationRemovesFromListsAndReactivationAppends) {
  int a = AddObject("a");
  int runner = AddObject("runner");
  On(a, ev_step, 0, "say('step', id);");
  On(runner, ev_step, 1,
     "instance_deactivate_object(0); say(instance_number(0), instance_count);"
     "instance_activate_object(100001); say(instance_number(0), instance_id[instance_count - 1]);");
  AddRoom({Placed(a, 0, 0, 100001), Placed(a, 0, 0, 100002), Placed(runner, 0, 0, 100003)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "0 1;1 100001;step 100001;");
  EXPECT_EQ(Instance_Lists().deactivated.size(), 1u);
}

TEST_F(WorldInstanceTest, DeactivateRegionKeepsCallerWhenAsked) {
  int a = AddObject("a");
  On(a, ev_create, 0, "");
  AddRoom({Placed(a, 50, 50, 100001), Placed(a, 500, 50, 100002), Placed(a, 60, 60, 100003)});
  StartGame();
  CInstance* caller = Instance_Find(100003, true);
  RValue result;
  RValue args[6] = {RValue::Real(0), RValue::Real(0), RValue::Real(100), RValue::Real(100),
                    RValue::Real(1), RValue::Real(1)};
  Function_Get(Function_Find("instance_deactivate_region")).routine(result, caller, caller, 6, args);
  ASSERT_EQ(Instance_Lists().active.size(), 2u);
  EXPECT_EQ(Instance_Lists().active[0]->i_id, 100002);
  EXPECT_EQ(Instance_Lists().active[1]->i_id, 100003);
}

TEST_F(WorldInstanceTest, PerObjectListsFollowParents) {
  int base = AddObject("base");
  int mid = AddObject("mid", base);
  int leaf = AddObject("leaf", mid);
  AddRoom({Placed(leaf, 0, 0, 100001), Placed(base, 0, 0, 100002), Placed(mid, 0, 0, 100003)});
  StartGame();
  EXPECT_EQ(Instance_ObjNumber(base), 1);
  EXPECT_EQ(Instance_ObjNumberRecursive(base), 3);
  EXPECT_EQ(Instance_ObjNumberRecursive(mid), 2);
  EXPECT_EQ(Instance_ObjInstanceRecursive(base, 0)->i_id, 100001);
  EXPECT_EQ(Instance_ObjInstanceRecursive(base, 3), nullptr);
  EXPECT_EQ(Instance_ObjInstance(99, 0), nullptr);
  EXPECT_EQ(Instance_ObjNumber(-1), 0);
  Instance_Find(100001, true)->i_marked = true;
  Instance_RemoveMarked();
  EXPECT_EQ(Instance_ObjNumberRecursive(base), 2);
  EXPECT_EQ(Instance_ObjNumber(leaf), 0);
}

TEST_F(WorldInstanceTest, SortByDepthIsStable) {
  AddObject("a");
  AddRoom({});
  StartGame();
  const double depths[] = {0, 5, 0, 10, 5};
  for (int i = 0; i < 5; ++i) Instance_AddNew(0, 0, 0)->i_depth = depths[i];
  Instance_SortByDepth();
  std::vector<int32_t> ids;
  for (auto& inst : Instance_Lists().active) ids.push_back(inst->i_id);
  int32_t first = Game().last_instance_id;
  EXPECT_EQ(ids, (std::vector<int32_t>{first + 4, first + 2, first + 5, first + 1, first + 3}));
}

TEST_F(WorldInstanceTest, MotionSettersKeepBothFormsInStep) {
  CInstance inst;
  inst.SetHspeed(-4);
  EXPECT_EQ(inst.i_direction, 180);
  EXPECT_EQ(inst.i_speed, 4);
  inst.SetDirection(90);
  EXPECT_EQ(inst.i_hspeed, 0);
  EXPECT_EQ(inst.i_vspeed, -4);
  inst.SetDirection(-90);
  EXPECT_EQ(inst.i_direction, 270);
  EXPECT_EQ(inst.i_vspeed, 4);
  inst.SetSpeed(-2);
  EXPECT_EQ(inst.i_vspeed, -2);
  inst.SetHspeed(0.0000001);
  EXPECT_EQ(inst.i_speed, 2);
  EXPECT_EQ(inst.i_direction, 90);
}

TEST_F(WorldInstanceTest, VariablesOfInstances) {
  EXPECT_EQ(RunCode("visible = 0.5; a = visible; visible = 0.6; say(a, visible, alarm[12], alarm[0]);"
                    "alarm[12] = 4; say(alarm[0]); image_single = 3; say(image_index, image_speed, image_single);"
                    "image_single = -1; say(image_index, image_speed, image_number, bbox_left, object_index);"),
            "0 1 -1 -1;4;3 0 3;3 1 0 -100000 0;");
}

TEST_F(WorldInstanceTest, DestroyEventSeesItselfCounted) {
  int obj = AddObject("obj");
  On(obj, ev_destroy, 0, "say(instance_number(self), instance_exists(id));");
  On(obj, ev_step, 0, "instance_destroy(); say(instance_number(self));");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "1 1;0;");
  EXPECT_TRUE(Instance_Lists().active.empty());
}

}  // namespace
