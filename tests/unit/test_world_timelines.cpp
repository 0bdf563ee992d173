// Time lines: moment search and editing, the timeline_* builtins, and
// editing or deleting a time line from inside one of its own moments.
#include "world_test_support.h"

#include "world/timeline_class.h"

namespace {

CTimeLine Line(std::initializer_list<int32_t> steps) {
  CTimeLine line;
  for (int32_t s : steps) line.AddMoment(s);
  return line;
}

TEST(WorldTimeLineClassTest, SearchesOverSortedMoments) {
  const CTimeLine line = Line({10, 0, 5});  // inserted at their sorted places
  EXPECT_EQ(line.s_step, (std::vector<int32_t>{0, 5, 10}));
  EXPECT_EQ(line.s_event.size(), 3u);
  struct Case {
    double p;
    int32_t larger, smaller;
  } cases[] = {{-1, 0, -1}, {0, 0, 0}, {0.5, 1, 0}, {5, 1, 1}, {9.99, 2, 1}, {10, 2, 2}, {11, 3, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(line.FindLarger(c.p), c.larger) << c.p;
    EXPECT_EQ(line.FindSmaller(c.p), c.smaller) << c.p;
  }
  EXPECT_EQ(line.Find(5), 1);
  EXPECT_EQ(line.Find(6), -1);
  const CTimeLine empty;
  EXPECT_EQ(empty.FindLarger(0), -1);
  EXPECT_EQ(empty.FindSmaller(0), -1);
}

TEST(WorldTimeLineClassTest, AddExistingStepKeepsItsEventAndDeleteKeepsOrder) {
  CTimeLine line = Line({0, 5, 10});
  line.s_event[1].e_actions.emplace_back();
  EXPECT_EQ(line.AddMoment(5), 1);
  EXPECT_EQ(line.s_event[1].Number(), 1);
  line.s_event[2].e_actions.resize(2);
  line.DeleteMoment(5);
  EXPECT_EQ(line.s_step, (std::vector<int32_t>{0, 10}));
  EXPECT_EQ(line.s_event[1].Number(), 2);  // moment 10 moved down with its event
  line.DeleteMoment(7);
  EXPECT_EQ(line.Count(), 2);
}

class WorldTimeLineFunctionTest : public worldtest::WorldTest {
 protected:
  // One instance running time line t from position 0 at speed 1.
  void StartRunning(const std::string& create_code) {
    int obj = AddObject("obj");
    On(obj, ev_create, 0,
       create_code + "timeline_index = t; timeline_position = 0; timeline_running = true;");
    AddRoom({Placed(obj, 0, 0, 100001)});
    StartGame();
  }
};

TEST_F(WorldTimeLineFunctionTest, TableFunctions) {
  Game().timelines.Add(std::make_unique<CTimeLine>(), u"intro");
  int obj = AddObject("obj");
  On(obj, ev_create, 0,
     "t = timeline_add(); say(t, timeline_name(t), timeline_get_name(0), timeline_exists(t));"
     "say(timeline_delete(t), timeline_exists(t), timeline_name(t), timeline_name(9));");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  EXPECT_EQ(TakeOutput(), "1 __newtimeline1 intro 1;0 0 <undefined> <undefined>;");
}

TEST_F(WorldTimeLineFunctionTest, MomentsAddedRunInStepOrderAndClearKeepsTheRest) {
  StartRunning(
      "t = timeline_add();"
      "say(timeline_moment_add(t, 2, 'say(\"two\", event_type, event_number, event_object);'));"
      "timeline_moment_add(t, 0, 'say(\"zero\");');"
      "timeline_moment_add(t, 1, 'say(\"one\");');"
      "timeline_moment_add(t, 2, 'say(\"two again\");');"
      "timeline_moment_clear(t, 1);"
      "say(timeline_moment_add(99, 0, 'x = 1;'));");
  EXPECT_EQ(TakeOutput(), "1;0;");
  Steps(3);
  EXPECT_EQ(TakeOutput(), "zero;two 100000 2 0;two again;");
}

TEST_F(WorldTimeLineFunctionTest, AMomentMayEditOrDeleteItsOwnTimeLine) {
  StartRunning(
      "t = timeline_add();"
      "timeline_moment_add(t, 0, 'say(\"a\"); timeline_moment_add(t, 1, \"say(1);\");"
      "                          timeline_moment_clear(t, 0); say(\"b\");');"
      "timeline_moment_add(t, 2, 'timeline_delete(t); say(\"deleted\", timeline_exists(t));');");
  Steps(4);
  EXPECT_EQ(TakeOutput(), "a;b;1;deleted 0;");
  EXPECT_FALSE(Error_State().error_occurred);
}

}  // namespace
