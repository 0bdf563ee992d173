// Tests of the builtin function table, the builtin variable table (order,
// access flags, the globals that need no room) and show_debug_message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code/builtin_variables.h"
#include "code/code_function.h"
#include "runner/builtins.h"
#include "runner/game_data.h"
#include "common/value.h"
#include "tests/unit/test_function_util.h"

// Calls a builtin by name as the interpreter does: 16 argument slots, the
// unused ones the real 0, the result starting as the real 0.
RValue CallBuiltin(std::string_view name, const std::vector<RValue>& args) {
  Builtins_RegisterAll();
  int id = Function_Find(name);
  EXPECT_GE(id, 0) << name;
  if (id < 0) return RValue();
  RValue slots[16];
  for (size_t i = 0; i < args.size() && i < 16; ++i) slots[i] = args[i];
  RValue result;
  Function_Get(id).routine(result, nullptr, nullptr, static_cast<int>(args.size()), slots);
  return result;
}

namespace {

struct FunctionEntry {
  const char* name;
  int argc;
};

// Every math, string and geometry builtin with its argument count.
const FunctionEntry kMathAndStringFunctions[] = {
    {"is_real", 1}, {"is_string", 1}, {"random", 1}, {"random_range", 2}, {"irandom", 1},
    {"irandom_range", 2}, {"random_set_seed", 1}, {"random_get_seed", 0}, {"randomize", 0},
    {"choose", -1}, {"abs", 1}, {"round", 1}, {"floor", 1}, {"ceil", 1}, {"sign", 1},
    {"frac", 1}, {"sqrt", 1}, {"sqr", 1}, {"exp", 1}, {"ln", 1}, {"log2", 1}, {"log10", 1},
    {"sin", 1}, {"cos", 1}, {"tan", 1}, {"arcsin", 1}, {"arccos", 1}, {"arctan", 1},
    {"arctan2", 2}, {"degtorad", 1}, {"radtodeg", 1}, {"power", 2}, {"logn", 2}, {"min", -1},
    {"max", -1}, {"min3", 3}, {"max3", 3}, {"mean", -1}, {"median", -1}, {"real", 1},
    {"string", 1}, {"string_format", 3}, {"chr", 1}, {"ord", 1}, {"string_length", 1},
    {"string_pos", 2}, {"string_copy", 3}, {"string_char_at", 2}, {"string_delete", 3},
    {"string_insert", 3}, {"string_lower", 1}, {"string_upper", 1}, {"string_repeat", 2},
    {"string_letters", 1}, {"string_digits", 1}, {"string_lettersdigits", 1},
    {"string_replace", 3}, {"string_replace_all", 3}, {"string_count", 2},
    {"point_distance", 4}, {"point_distance_3d", 6}, {"point_direction", 4},
    {"lengthdir_x", 2}, {"lengthdir_y", 2}, {"dot_product", 4}, {"dot_product_3d", 6},
    {"show_debug_message", 1}};

TEST(FunctionTable, EveryMathAndStringBuiltinHasItsArgumentCount) {
  Builtins_RegisterAll();
  for (const FunctionEntry& entry : kMathAndStringFunctions) {
    int id = Function_Find(entry.name);
    ASSERT_GE(id, 0) << entry.name;
    EXPECT_EQ(Function_Get(id).name, entry.name);
    EXPECT_EQ(Function_Get(id).argc, entry.argc) << entry.name;
    EXPECT_NE(Function_Get(id).routine, nullptr) << entry.name;
  }
}

void Dummy(RValue& r, CInstance*, CInstance*, int, RValue*) { r.val = 1; }
void OtherDummy(RValue& r, CInstance*, CInstance*, int, RValue*) { r.val = 2; }

TEST(FunctionTable, LookupIsCaseSensitiveAndTakesTheFirstEntry) {
  Builtins_RegisterAll();
  EXPECT_EQ(Function_Find("Sqrt"), -1);
  EXPECT_EQ(Function_Find("no_such_function"), -1);
  int first = Function_Add("functiontable_twice", Dummy, 2);
  int second = Function_Add("functiontable_twice", OtherDummy, 1);
  EXPECT_EQ(second, first + 1);
  EXPECT_EQ(Function_Find("functiontable_twice"), first);
  EXPECT_EQ(Function_Count(), second + 1);
}

TEST(FunctionTable, RegisteringTwiceChangesNothing) {
  Builtins_RegisterAll();
  int functions = Function_Count();
  int constants = Constant_BuiltinCount();
  int variables = Variable_BuiltinCount();
  Builtins_RegisterAll();
  EXPECT_EQ(Function_Count(), functions);
  EXPECT_EQ(Constant_BuiltinCount(), constants);
  EXPECT_EQ(Variable_BuiltinCount(), variables);
}

// --- builtin variables -----------------------------------------------------------

RValue ReadVariable(const char* name, int index = 0) {
  Builtins_RegisterAll();
  int id = Variable_BuiltinFind(name);
  EXPECT_GE(id, 0) << name;
  RValue out;
  if (id >= 0) Variable_BuiltinGet(id).getter(nullptr, index, out);
  return out;
}

bool WriteVariable(const char* name, const RValue& value, int index = 0) {
  Builtins_RegisterAll();
  const RBuiltinVariable& var = Variable_BuiltinGet(Variable_BuiltinFind(name));
  return var.can_set && var.setter(nullptr, index, value);
}

TEST(BuiltinVariables, GlobalsComeFirstInTheirFixedOrder) {
  Builtins_RegisterAll();
  EXPECT_EQ(Variable_BuiltinFind("argument_relative"), 0);
  EXPECT_EQ(Variable_BuiltinFind("argument0"), 1);
  EXPECT_EQ(Variable_BuiltinFind("argument15"), 16);
  EXPECT_EQ(Variable_BuiltinFind("argument"), 17);
  EXPECT_EQ(Variable_BuiltinFind("argument_count"), 18);
  EXPECT_EQ(Variable_BuiltinFind("room"), 19);
  EXPECT_LT(Variable_BuiltinFind("score"), Variable_BuiltinFind("lives"));
  EXPECT_LT(Variable_BuiltinFind("view_angle"), Variable_BuiltinFind("mouse_x"));
  EXPECT_EQ(Variable_BuiltinFind("os_device") + 1, Variable_BuiltinFind("display_aa"));
  // Instance variables follow the last global one.
  EXPECT_EQ(Variable_BuiltinFind("display_aa") + 1, Variable_BuiltinFind("x"));
  EXPECT_EQ(Variable_BuiltinName(Variable_BuiltinCount() - 1), "timeline_loop");
  EXPECT_LE(Variable_BuiltinCount(), 500);  // the table's capacity
  EXPECT_EQ(Variable_BuiltinName(-1), "<unknown built-in variable>");
  EXPECT_EQ(Variable_BuiltinName(Variable_BuiltinCount()), "<unknown built-in variable>");
  EXPECT_TRUE(Variable_BuiltinGet(Variable_BuiltinFind("argument")).is_array);
  EXPECT_TRUE(Variable_BuiltinGet(Variable_BuiltinFind("alarm")).is_array);
  EXPECT_FALSE(Variable_BuiltinGet(Variable_BuiltinFind("score")).is_array);
}

TEST(BuiltinVariables, ReadOnlyVariablesCannotBeSet) {
  Builtins_RegisterAll();
  for (const char* name : {"argument_relative", "argument_count", "working_directory",
                           "program_directory", "current_time", "vexlo_version", "os_type"})
    EXPECT_FALSE(Variable_BuiltinGet(Variable_BuiltinFind(name)).can_set) << name;
  for (const char* name : {"argument3", "argument", "score", "lives", "health", "show_score",
                           "caption_lives", "transition_steps"})
    EXPECT_TRUE(Variable_BuiltinGet(Variable_BuiltinFind(name)).can_set) << name;
}

void ReadsFortyTwo(CInstance*, int, RValue& out) { out = RValue::Real(42); }
bool AcceptsAnything(CInstance*, int, const RValue&) { return true; }

TEST(BuiltinVariables, BindingAttachesTheOwnersRoutines) {
  Builtins_RegisterAll();
  int id = Variable_BuiltinFind("fps");
  RBuiltinVariable saved = Variable_BuiltinGet(id);
  EXPECT_TRUE(Variable_BuiltinBind("fps", ReadsFortyTwo, AcceptsAnything));
  EXPECT_EQ(ReadVariable("fps").val, 42);
  EXPECT_TRUE(Variable_BuiltinGet(id).can_set);
  EXPECT_TRUE(Variable_BuiltinBind("fps", ReadsFortyTwo, nullptr));
  EXPECT_FALSE(Variable_BuiltinGet(id).can_set);
  EXPECT_EQ(Variable_BuiltinFind("fps"), id);  // binding keeps the index
  Variable_BuiltinBind("fps", saved.getter, saved.setter);
  EXPECT_FALSE(Variable_BuiltinBind("no_such_variable", nullptr, nullptr));
}

TEST(BuiltinVariables, ErrorStateVariables) {
  ErrorCapture capture;
  EXPECT_EQ(ReadVariable("error_occurred").val, 0);
  CallBuiltin("sqrt", {R(-1)});
  EXPECT_EQ(ReadVariable("error_occurred").val, 1);
  std::string last = ToUtf8(ReadVariable("error_last").str);
  EXPECT_EQ(last.rfind("ERROR in", 0), 0u) << last;
  WriteVariable("error_occurred", R(0.4));
  EXPECT_EQ(ReadVariable("error_occurred").val, 0);
  WriteVariable("error_occurred", R(0.5));
  EXPECT_EQ(ReadVariable("error_occurred").val, 1);
  WriteVariable("error_last", S(u"mine"));
  EXPECT_EQ(ReadVariable("error_last").str, u"mine");
}

TEST(BuiltinVariables, StrictArgumentArrayReportsUnsuppliedIndices) {
  ErrorCapture capture;
  Game().settings.code_flags = 2;
  g_Arguments.count = 2;
  g_Arguments.script_name = "scr_move";
  g_Arguments.slot[1] = R(5);
  EXPECT_EQ(ReadVariable("argument", 1).val, 5);
  EXPECT_FALSE(capture.Occurred());
  ReadVariable("argument", 3);
  EXPECT_EQ(capture.Message(),
            "Illegal array index in script \"scr_move\".\rtrying to access argument[3], but "
            "only 2 arguments have been supplied.");
  capture.Reset();
  ReadVariable("argument3");  // the plain slots are never checked
  EXPECT_FALSE(capture.Occurred());
  g_Arguments = RScriptArguments();
}

TEST(BuiltinVariables, ArgumentSlotsAndTheArgumentArray) {
  int code_flags = Game().settings.code_flags;
  Game().settings.code_flags = 0;
  EXPECT_TRUE(WriteVariable("argument2", RValue::String(u"two")));
  EXPECT_EQ(g_Arguments.slot[2].str, u"two");
  EXPECT_EQ(ReadVariable("argument", 2).str, u"two");
  EXPECT_TRUE(WriteVariable("argument", RValue::Real(7), 0));
  EXPECT_EQ(ReadVariable("argument0").val, 7);
  // An index outside 0..15 names no argument: it never reaches slot 0.
  EXPECT_EQ(ReadVariable("argument", 20).val, 0);
  EXPECT_FALSE(WriteVariable("argument", RValue::Real(9), -1));
  EXPECT_FALSE(WriteVariable("argument", RValue::Real(9), 16));
  EXPECT_EQ(g_Arguments.slot[0].val, 7);
  g_Arguments.count = 3;
  g_Arguments.relative = true;
  EXPECT_EQ(ReadVariable("argument_count").val, 3);
  EXPECT_EQ(ReadVariable("argument_relative").val, 1);
  g_Arguments = RScriptArguments();
  Game().settings.code_flags = code_flags;
}

TEST(BuiltinVariables, IntegerAndBooleanConversions) {
  struct Case {
    double value;
    int integer;
    bool boolean;
  };
  const Case cases[] = {{0.5, 0, false}, {0.6, 1, true}, {-3, -3, false}, {1.5, 2, true},
                        {2.5, 2, true},  {1, 1, true},   {0.4, 0, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(Variable_ToInteger(RValue::Real(c.value)), c.integer) << c.value;
    EXPECT_EQ(Variable_ToBoolean(RValue::Real(c.value)), c.boolean) << c.value;
    EXPECT_TRUE(WriteVariable("show_lives", RValue::Real(c.value)));
    EXPECT_EQ(ReadVariable("show_lives").val, c.boolean ? 1 : 0) << c.value;
  }
  Variable_ResetGlobals();
}

std::vector<int> g_raised_events;
void RecordEvent(int number) { g_raised_events.push_back(number); }

TEST(BuiltinVariables, LivesAndHealthRaiseTheirEventsWhenTheyRunOut) {
  Builtins_RegisterAll();  // registration installs the world's hook: replace it after
  Variable_ResetGlobals();
  Variable_OtherEventHook = RecordEvent;
  g_raised_events.clear();
  EXPECT_EQ(ReadVariable("lives").val, -1);
  WriteVariable("lives", RValue::Real(3));
  WriteVariable("lives", RValue::Real(0));
  WriteVariable("lives", RValue::Real(0));  // already out: nothing more
  EXPECT_EQ(g_raised_events, std::vector<int>{6});
  WriteVariable("health", RValue::Real(0.5));
  WriteVariable("health", RValue::Real(-2.5));
  EXPECT_EQ(ReadVariable("health").val, -2.5);
  EXPECT_EQ(g_raised_events, (std::vector<int>{6, 9}));
  Variable_OtherEventHook = nullptr;
  Variable_ResetGlobals();
}

TEST(BuiltinVariables, ScoreCaptionsAndTransitions) {
  Variable_ResetGlobals();
  EXPECT_EQ(ReadVariable("score").val, 0);
  WriteVariable("score", RValue::Real(2.5));
  EXPECT_EQ(ReadVariable("score").val, 2);
  EXPECT_EQ(ReadVariable("caption_score").str, u"Score: ");
  EXPECT_EQ(ReadVariable("caption_health").str, u"Health: ");
  WriteVariable("caption_lives", RValue::String(u"Ships: "));
  EXPECT_EQ(g_GameGlobals.caption_lives, u"Ships: ");
  EXPECT_FALSE(g_GameGlobals.score_shown_by_code);
  WriteVariable("show_score", RValue::Real(1));
  EXPECT_TRUE(g_GameGlobals.score_shown_by_code);
  WriteVariable("transition_steps", RValue::Real(0));
  EXPECT_EQ(ReadVariable("transition_steps").val, 1);
  WriteVariable("transition_kind", RValue::Real(3.4));
  EXPECT_EQ(ReadVariable("transition_kind").val, 3);
  Variable_ResetGlobals();
}

TEST(BuiltinVariables, GameIdAndRoomOrder) {
  Game().Clear();
  EXPECT_EQ(ReadVariable("room_first").val, -1);  // no room order yet
  Game().game_id = 123456;
  Game().room_order = {4, 2, 7};
  EXPECT_EQ(ReadVariable("game_id").val, 123456);
  EXPECT_EQ(ReadVariable("room_first").val, 4);
  EXPECT_EQ(ReadVariable("room_last").val, 7);
  Game().Clear();
}

TEST(BuiltinVariables, ConstantsDirectoriesAndClock) {
  EXPECT_EQ(ReadVariable("vexlo_version").val, 810);
  EXPECT_EQ(ReadVariable("os_type").val, 0);
  EXPECT_EQ(ReadVariable("os_device").val, 0);
  RValue cwd = ReadVariable("working_directory");
  EXPECT_TRUE(cwd.IsString());
  EXPECT_FALSE(cwd.str.empty());
  RValue program = ReadVariable("program_directory");
  ASSERT_FALSE(program.str.empty());
  EXPECT_NE(program.str.back(), u'/');
  double month = ReadVariable("current_month").val;
  EXPECT_GE(month, 1);
  EXPECT_LE(month, 12);
  double weekday = ReadVariable("current_weekday").val;
  EXPECT_GE(weekday, 1);
  EXPECT_LE(weekday, 7);
  EXPECT_GE(ReadVariable("current_year").val, 2000);
  double t1 = ReadVariable("current_time").val;
  double t2 = ReadVariable("current_time").val;
  EXPECT_LE(t1, t2);
}

// --- show_debug_message ------------------------------------------------------------

TEST(FunctionSystem, ShowDebugMessagePrintsOneLinePerCall) {
  testing::internal::CaptureStdout();
  CallBuiltin("show_debug_message", {RValue::String(u"hello \u00e9")});
  CallBuiltin("show_debug_message", {RValue::Real(3)});
  CallBuiltin("show_debug_message", {RValue::Real(-12)});
  CallBuiltin("show_debug_message", {RValue::Real(2.5)});
  CallBuiltin("show_debug_message", {RValue::Real(1.0 / 3)});
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "hello \xc3\xa9\n3\n-12\n2.50\n0.33\n");
}

}  // namespace
