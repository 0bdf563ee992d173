// Action engine: the statement engine over action lists, applies-to, event
// lookup through parents, event_inherited, argument slots and the event
// context, and the event names of error messages.
#include "world/event_names.h"
#include "world_test_support.h"

namespace {

using worldtest::CodeAction;
using worldtest::ControlAction;
using worldtest::FunctionAction;

class WorldActionTest : public worldtest::WorldTest {
 protected:
  // Runs the actions as the create event of one instance; the output.
  std::string RunActions(std::vector<CAction> actions) {
    int obj = AddObject("obj");
    OnActions(obj, ev_create, 0, std::move(actions));
    AddRoom({Placed(obj, 0, 0, 100001)});
    StartGame();
    return TakeOutput();
  }
  static CAction Say(const std::string& what) { return FunctionAction("say", {"'" + what + "'"}); }
  static CAction Question(bool outcome) { return FunctionAction(outcome ? "yes" : "no", {}, true); }
  static CAction Repeat(const std::string& count) {
    CAction a = FunctionAction("say", {count});
    a.act_kind = ACT_REPEAT;
    a.act_exetype = EXE_NONE;
    return a;
  }
};

TEST_F(WorldActionTest, StatementForms) {
  struct Case {
    const char* name;
    std::vector<CAction> actions;
    const char* expected;
  };
  std::vector<Case> cases;
  cases.push_back({"question true runs next", {Question(true), Say("x"), Say("y")}, "x;y;"});
  cases.push_back({"question false skips next", {Question(false), Say("x"), Say("y")}, "y;"});
  cases.push_back({"else after false", {Question(false), Say("x"), ControlAction(ACT_ELSE), Say("e"), Say("z")}, "e;z;"});
  cases.push_back({"else after true", {Question(true), Say("x"), ControlAction(ACT_ELSE), Say("e"), Say("z")}, "x;z;"});
  cases.push_back({"else with nothing after", {Question(false), Say("x"), ControlAction(ACT_ELSE)}, ""});
  cases.push_back({"block skipped as one statement",
                   {Question(false), ControlAction(ACT_BEGIN), Say("a"), Say("b"), ControlAction(ACT_END), Say("c")},
                   "c;"});
  cases.push_back({"exit inside block stops the event",
                   {Question(true), ControlAction(ACT_BEGIN), Say("x"), ControlAction(ACT_EXIT),
                    ControlAction(ACT_END), ControlAction(ACT_ELSE), Say("y"), Say("z")},
                   "x;"});
  cases.push_back({"repeat 2.5 runs twice", {Repeat("2.5"), Say("r"), Say("after")}, "r;r;after;"});
  cases.push_back({"repeat 3.5 runs four times", {Repeat("3.5"), Say("r")}, "r;r;r;r;"});
  cases.push_back({"repeat 0 runs nothing", {Repeat("0"), Say("r"), Say("after")}, "after;"});
  cases.push_back({"repeat of a block",
                   {Repeat("2"), ControlAction(ACT_BEGIN), Say("a"), Say("b"), ControlAction(ACT_END)},
                   "a;b;a;b;"});
  cases.push_back({"missing end runs to the end", {ControlAction(ACT_BEGIN), Say("a"), Say("b")}, "a;b;"});
  cases.push_back({"nested questions",
                   {Question(true), Question(false), Say("inner"), ControlAction(ACT_ELSE), Say("inner else"),
                    Say("after")},
                   "inner else;after;"});
  for (Case& c : cases) {
    Reset();
    EXPECT_EQ(RunActions(std::move(c.actions)), c.expected) << c.name;
  }
}

TEST_F(WorldActionTest, NegatedQuestion) {
  CAction q = Question(true);
  q.act_isnot = true;
  EXPECT_EQ(RunActions({q, Say("x"), Say("y")}), "y;");
}

TEST_F(WorldActionTest, AppliesToObjectAndOther) {
  int caller = AddObject("caller");
  int target = AddObject("target");
  int child = AddObject("child", target);
  CAction say_id = FunctionAction("say", {"id"});
  say_id.act_useapplyto = true;
  say_id.act_who = target;
  CAction missing = FunctionAction("say", {"'never'"});
  missing.act_useapplyto = true;
  missing.act_who = 55;
  CAction question = FunctionAction("no", {}, true);
  question.act_useapplyto = true;
  question.act_who = 77;  // no such object: true
  OnActions(caller, ev_step, 0, {say_id, missing, question, Say("asked")});
  AddRoom({Placed(target, 0, 0, 100001), Placed(caller, 0, 0, 100002), Placed(child, 0, 0, 100003)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "100001;100003;asked;");
}

TEST_F(WorldActionTest, QuestionOnObjectIsFalseWhenOneInstanceSaysFalse) {
  int caller = AddObject("caller");
  int target = AddObject("target");
  CAction q = FunctionAction("say", {"id"}, true);  // say returns 0: false
  q.act_useapplyto = true;
  q.act_who = target;
  OnActions(caller, ev_create, 0, {q, Say("true"), ControlAction(ACT_ELSE), Say("false")});
  AddRoom({Placed(target, 0, 0, 100001), Placed(target, 0, 0, 100002), Placed(caller, 0, 0, 100003)});
  StartGame();
  // Evaluation stops at the first false.
  EXPECT_EQ(TakeOutput(), "100001;false;");
}

TEST_F(WorldActionTest, CodeActionArgumentsAreSavedAndRestored) {
  CAction lib = CodeAction("say(argument0, argument1, argument_relative);");
  lib.act_kind = ACT_NORMAL;
  lib.act_argumentcount = 2;
  lib.act_argtype[0] = 0;
  lib.act_argtype[1] = 1;
  lib.act_argstring[0] = u"1 + 2";
  lib.act_argstring[1] = u"text";
  lib.act_codestring = u"say(argument0, argument1, argument_relative);";
  lib.act_userelative = true;
  lib.act_relative = true;
  EXPECT_EQ(RunActions({CodeAction("argument0 = 'a'; argument1 = 'b';"), lib,
                        CodeAction("say(argument0, argument1, argument_relative);")}),
            "3 text 1;a b 0;");
}

TEST_F(WorldActionTest, VariableActionBecomesAnAssignment) {
  CAction set;
  set.act_kind = ACT_VARIABLE;
  set.act_exetype = EXE_CODE;
  set.act_argumentcount = 2;
  set.act_argstring[0] = u"v";
  set.act_argstring[1] = u"5";
  CAction add = set;
  add.act_relative = true;
  EXPECT_EQ(RunActions({set, add, CodeAction("say(v);")}), "10;");
}

TEST_F(WorldActionTest, RoomGotoStopsTheEventAndPerformEventAll) {
  int obj = AddObject("obj");
  OnActions(obj, ev_step, 0, {CodeAction("say(id); if (id == 100001) room_goto(1);"), CodeAction("say('later');")});
  AddRoom({Placed(obj, 0, 0, 100001), Placed(obj, 0, 0, 100002)});
  AddRoom({});
  StartGame();
  World_Step();
  EXPECT_EQ(TakeOutput(), "100001;");
}

TEST_F(WorldActionTest, LookupThroughParentsAndEmptyEvents) {
  int grand = AddObject("grand");
  int parent = AddObject("parent", grand);
  int child = AddObject("child", parent);
  On(grand, ev_other, 10, "say('grand', event_object);");
  On(parent, ev_other, 10, "say('parent', event_object); event_inherited();");
  Object(child).AddEvent(ev_other, 10);  // empty: counts as absent
  On(child, ev_step, 0, "event_user(0); say(event_object, event_type, event_number);");
  AddRoom({Placed(child, 0, 0, 100001)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "parent 1;grand 0;2 3 0;");
  EXPECT_TRUE(Object_IsDecendentOf(child, grand));
  EXPECT_FALSE(Object_IsDecendentOf(child, child));
  EXPECT_TRUE(Object_HasEventRecursive(child, ev_other));
  EXPECT_FALSE(Object_HasEventRecursive(grand, ev_step));
}

TEST_F(WorldActionTest, CollisionWithParentOfOtherOnlyAfterDirectMatches) {
  int wall = AddObject("wall");
  int brick = AddObject("brick", wall);
  int base = AddObject("base");
  int ball = AddObject("ball", base);
  On(ball, ev_collision, wall, "");
  On(base, ev_collision, brick, "");
  int32_t defining = -1;
  // The base's direct event for brick wins over the ball's event for wall.
  ASSERT_NE(Event_Lookup(ball, ev_collision, brick, &defining), nullptr);
  EXPECT_EQ(defining, base);
  ASSERT_NE(Event_Lookup(ball, ev_collision, wall, &defining), nullptr);
  EXPECT_EQ(defining, ball);
  EXPECT_EQ(Event_Lookup(wall, ev_collision, ball, &defining), nullptr);
  EXPECT_EQ(Event_Lookup(ball, 12, 0, &defining), nullptr);
  EXPECT_EQ(Event_Lookup(ball, ev_collision, -1, &defining), nullptr);
  Dispatch_Build();
  const auto& pairs = Dispatch_CollisionPairs();
  // base has its own event with brick, so (brick, base) is a pair too.
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[0], std::make_pair(wall, ball));
  EXPECT_EQ(pairs[1], std::make_pair(brick, base));
  EXPECT_EQ(pairs[2], std::make_pair(brick, ball));
}

TEST_F(WorldActionTest, DispatchListsHoldObjectsWithOwnOrInheritedEvents) {
  int parent = AddObject("parent");
  int child = AddObject("child", parent);
  int other = AddObject("other");
  On(parent, ev_alarm, 3, "");
  On(other, ev_keyboard, 200, "");  // above 128: never raised
  Dispatch_Build();
  EXPECT_EQ(Dispatch_List(ev_alarm, 3), (DispatchList{parent, child}));
  EXPECT_TRUE(Dispatch_List(ev_alarm, 4).empty());
  EXPECT_TRUE(Dispatch_List(ev_keyboard, 200).empty());
  EXPECT_TRUE(Dispatch_List(ev_step, 99).empty());
}

TEST_F(WorldActionTest, ErrorPlaceNamesActionEventAndObject) {
  int obj = AddObject("player");
  OnActions(obj, ev_step, 0, {CodeAction("say(1);"), CodeAction("say(event_action); s = 'a'; say(1 + s);")});
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  Steps(1);
  EXPECT_EQ(TakeOutput(), "1;1;");
  const std::string& last = Error_State().error_last;
  EXPECT_EQ(last.rfind("ERROR in\r\naction number 2\r\nof Step Event\r\nfor object player:\r\n\r\n", 0), 0u)
      << last;
}

TEST_F(WorldActionTest, CompileErrorIsFatalAndNamesTheAction) {
  int obj = AddObject("player");
  OnActions(obj, ev_create, 0, {CodeAction("x = ;")});
  EXPECT_FALSE(World_CompileObjects());
  const std::string& last = Error_State().error_last;
  EXPECT_EQ(last.rfind("FATAL ERROR in\r\naction number 1\r\nof Create Event\r\nfor object player:\r\n\r\n"
                       "COMPILATION ERROR in code action",
                       0),
            0u)
      << last;
}

TEST_F(WorldActionTest, EventNames) {
  AddObject("wall");
  const std::pair<std::pair<int, int>, const char*> cases[] = {
      {{0, 0}, "Create Event"},
      {{2, 11}, "Alarm Event for alarm 11"},
      {{3, 0}, "Step Event"},
      {{3, 1}, "Begin Step Event"},
      {{3, 2}, "End Step Event"},
      {{3, 5}, "<unknown> Step Event"},
      {{4, 0}, "Collision Event with object wall"},
      {{4, 9}, "Collision Event with object <undefined>"},
      {{5, 37}, "Keyboard Event for <Left> Key"},
      {{9, 65}, "Key Press Event for A-key Key"},
      {{10, 98}, "Key Release Event for Keypad 2 Key"},
      {{5, 113}, "Keyboard Event for F2 Key"},
      {{5, 200}, "Keyboard Event for <unknown> Key"},
      {{6, 0}, "Mouse Event for Left Button"},
      {{6, 12}, "Mouse Event for <unknown>"},
      {{6, 23}, "Mouse Event for Joystick 1 Button 3"},
      {{6, 33}, "Mouse Event for Joystick 2 Up"},
      {{6, 56}, "Mouse Event for Glob Left Released"},
      {{6, 61}, "Mouse Event for Mouse Wheel Down"},
      {{7, 2}, "Other Event: Game Start"},
      {{7, 25}, "Other Event: User Defined 15"},
      {{7, 30}, "Other Event: Close Button"},
      {{7, 47}, "Other Event: Outside View 7"},
      {{7, 51}, "Other Event: Boundary View 1"},
      {{7, 26}, "Other Event: <unknown>"},
      {{8, 0}, "Draw Event"},
      {{11, 0}, "Trigger Event: <undefined>"},
      {{12, 0}, "<Unknown Event>"},
  };
  for (const auto& [event, name] : cases)
    EXPECT_EQ(Event_Name(event.first, event.second), name) << event.first << "," << event.second;
}

}  // namespace
