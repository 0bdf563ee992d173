// test_world_object_table.cpp: changing objects while the game runs:
// events added or cleared while they run, parents changed (event lookup,
// dispatch and per-object lists), objects added and deleted with instances.
#include "world/object_table.h"
#include "world_test_support.h"

namespace {

class WorldObjectTableTest : public worldtest::WorldTest {};

// An event that gains actions while it runs finishes its old action list;
// the new action runs from the next time on.
TEST_F(WorldObjectTableTest, EventAddedWhileThatEventRuns) {
  const int a = AddObject("a");
  On(a, ev_step, 0,
     "say('run'); if (!variable_global_exists('done')) { global.done = 1;"
     "  for (i = 0; i < 50; i += 1) object_event_add(a, ev_step, 0, 'say(\"added\")'); }"
     "say('end');");
  AddRoom({Placed(a, 0, 0, 100001)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "run;end;");
  Steps(1);
  std::string expected = "run;end;";
  for (int i = 0; i < 50; ++i) expected += "added;";
  EXPECT_EQ(TakeOutput(), expected);
  EXPECT_EQ(Game().objects.Get(a)->GetEvent(ev_step, 0)->Number(), 51);
}

// An event clearing itself, or deleting its own object, still finishes.
TEST_F(WorldObjectTableTest, RunningEventClearedOrDeletedFinishes) {
  // Only the first of the two instances runs it: then the event is gone.
  struct Case { const char* code; const char* first_step; };
  const Case cases[] = {
      {"say('x'); object_event_clear(a, ev_step, 0); say('y');", "x;y;"},
      {"say('x'); object_delete(a); say('y', object_exists(a));", "x;y 0;"},
  };
  for (const Case& c : cases) {
    Reset();
    const int a = AddObject("a");
    On(a, ev_step, 0, c.code);
    AddRoom({Placed(a, 0, 0, 100001), Placed(a, 0, 0, 100002)});
    StartGame();
    Steps(1);
    EXPECT_EQ(TakeOutput(), c.first_step) << c.code;
    Steps(2);
    EXPECT_EQ(TakeOutput(), "") << c.code;
  }
}

TEST_F(WorldObjectTableTest, EventAddRejectsBadArgumentsAndBadCode) {
  const int a = AddObject("a");
  AddRoom({}, "");
  StartGame();
  EXPECT_FALSE(Object_EventAddCode(a + 1, ev_step, 0, u"x = 1;"));
  EXPECT_FALSE(Object_EventAddCode(a, 12, 0, u"x = 1;"));
  EXPECT_FALSE(Object_EventAddCode(a, ev_step, -1, u"x = 1;"));
  EXPECT_FALSE(Object_EventAddCode(a, ev_step, 0, u"x = = ;"));
  EXPECT_EQ(Game().objects.Get(a)->GetEvent(ev_step, 0), nullptr);
  EXPECT_TRUE(Dispatch_List(ev_step, 0).empty());
  EXPECT_TRUE(Object_EventAddCode(a, ev_step, 0, u"x = 1;"));
  EXPECT_EQ(Dispatch_List(ev_step, 0), DispatchList{a});
  EXPECT_TRUE(Object_EventClear(a, ev_step, 0));
  EXPECT_FALSE(Object_EventClear(a, ev_step, 0));
  EXPECT_TRUE(Dispatch_List(ev_step, 0).empty());
}

// A parent set by game code: lookup at once, the dispatch lists from the
// next walk, the recursive instance lists once the event returns.
TEST_F(WorldObjectTableTest, ParentChangeReachesLookupDispatchAndLists) {
  const int parent = AddObject("parent");
  const int child = AddObject("child");
  const int boss = AddObject("boss");
  On(parent, ev_step, 0, "say('parent step', id);");
  On(parent, ev_alarm, 3, "say('parent alarm', id);");
  On(boss, ev_step, 1,
     "if (!variable_global_exists('done')) { global.done = 1;"
     "  object_set_parent(child, parent);"
     "  say(object_get_parent(child), object_is_ancestor(child, parent));"
     "  with (child) alarm[3] = 1; }");
  On(boss, ev_step, 2, "say('n', instance_number(parent));");
  AddRoom({Placed(parent, 0, 0, 100001), Placed(child, 0, 0, 100002), Placed(boss, 0, 0, 100003)});
  StartGame();
  Steps(1);
  // The alarm phase comes after the begin step, so its walk sees the child.
  EXPECT_EQ(TakeOutput(), "0 1;parent alarm 100002;parent step 100001;parent step 100002;n 2;");
  EXPECT_NE(Event_Lookup(child, ev_alarm, 3, nullptr), nullptr);
  EXPECT_EQ(Dispatch_List(ev_alarm, 3), (DispatchList{parent, child}));
  Steps(1);
  EXPECT_EQ(TakeOutput(), "parent step 100001;parent step 100002;n 2;");
  // Unparenting takes it out of the parent's instances again.
  EXPECT_TRUE(Object_SetParent(child, -1));
  EXPECT_EQ(Instance_ObjNumberRecursive(parent), 1);
  EXPECT_EQ(Dispatch_List(ev_step, 0), DispatchList{parent});
}

TEST_F(WorldObjectTableTest, ParentCyclesAreRefused) {
  const int a = AddObject("a");
  const int b = AddObject("b", a);
  const int c = AddObject("c", b);
  AddRoom({});
  StartGame();
  EXPECT_FALSE(Object_SetParent(a, a));
  EXPECT_FALSE(Object_SetParent(a, c));
  EXPECT_EQ(Object(a).o_parent, -1);
  EXPECT_TRUE(Object_SetParent(c, a));
  EXPECT_TRUE(Object_SetParent(b, c));
  EXPECT_TRUE(Object_SetParent(c, 999));  // a missing parent is none
  EXPECT_EQ(Object(c).o_parent, -1);
}

// Deleting an object removes its instances without events, cuts the
// children loose and leaves the other objects' instances running.
TEST_F(WorldObjectTableTest, DeletingObjectWithInstances) {
  const int doomed = AddObject("doomed");
  const int child = AddObject("child", doomed);
  const int killer = AddObject("killer");
  On(doomed, ev_step, 0, "say('doomed', id);");
  On(doomed, ev_destroy, 0, "say('destroyed');");
  On(killer, ev_step, 1, "if (!variable_global_exists('done')) { global.done = 1; object_delete(doomed); }");
  On(killer, ev_step, 2,
     "say(object_exists(doomed), instance_number(doomed), instance_number(child), object_get_parent(child));");
  AddRoom({Placed(doomed, 0, 0, 100001), Placed(doomed, 0, 0, 100002), Placed(child, 0, 0, 100003),
           Placed(killer, 0, 0, 100004)});
  StartGame();
  Steps(2);
  EXPECT_EQ(TakeOutput(), "0 0 1 -1;0 0 1 -1;");
  EXPECT_EQ(Instance_Lists().active.size(), 2u);
  EXPECT_EQ(Object_Add(), 3);
  EXPECT_FALSE(Object_Delete(doomed));
}

// Objects added (and their instances made) during a walk grow the
// per-object tables under the walk.
TEST_F(WorldObjectTableTest, ObjectsAddedDuringWalkGetInstancesAndEvents) {
  const int maker = AddObject("maker");
  On(maker, ev_step, 0,
     "if (!variable_global_exists('done')) { global.done = 1;"
     "  for (i = 0; i < 200; i += 1) { global.o = object_add(); instance_create(0, 0, global.o); }"
     "  object_event_add(global.o, ev_step, 0, 'say(object_get_name(object_index))');"
     "  with (maker) say('with', instance_number(global.o)); }");
  AddRoom({Placed(maker, 0, 0, 100001), Placed(maker, 0, 0, 100002)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "with 1;with 1;");
  Steps(1);
  EXPECT_EQ(TakeOutput(), "__newobject200;");
}

}  // namespace
