// Tests of the constant table: the builtin constants in their order, game
// constants defined from text with their messages, and the lookup order in
// which resource names and trigger constants hide the table.
#include <gtest/gtest.h>

#include <charconv>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "code/code_constant.h"
#include "code/code_function.h"
#include "runner/builtins.h"
#include "runner/game_data.h"

namespace {

struct Expected {
  int position;
  const char* name;
  double value;
};

TEST(Constant, BuiltinTableHasItsOrderAndValues) {
  Builtins_RegisterAll();
  Constant_ResetDefinitions();
  ASSERT_EQ(Constant_BuiltinFixedCount(), 320);
  ASSERT_EQ(Constant_BuiltinCount(), 320);
  const Expected expected[] = {
      {0, "self", -1},          {3, "noone", -4},          {5, "local", -7},
      {6, "true", 1},           {7, "false", 0},           {8, "pi", std::numbers::pi},
      {9, "pr_pointlist", 1},   {15, "c_aqua", 16776960},  {28, "c_red", 255},
      {33, "c_orange", 4235519}, {34, "bm_normal", 0},     {49, "se_none", 0},
      {57, "fa_left", 0},       {63, "mb_any", -1},        {68, "vk_nokey", 0},
      {123, "vk_ralt", 165},    {124, "ev_create", 0},     {214, "ev_step_end", 2},
      {215, "ty_real", 0},      {218, "dll_stdcall", 1},   {224, "fa_archive", 32},
      {225, "cr_default", 0},   {247, "cr_size_all", -22}, {248, "pt_shape_pixel", 0},
      {261, "pt_shape_snow", 13}, {276, "ps_change_motion", 2}, {288, "ef_snow", 11},
      {294, "os_android", 5},   {297, "device_ios_ipad", 2}, {300, "input_type", 2},
      {301, "ANSI_CHARSET", 0}, {319, "OEM_CHARSET", 255},
  };
  for (const Expected& e : expected) {
    const RBuiltinConstant& c = Constant_BuiltinGet(e.position);
    EXPECT_EQ(c.name, e.name) << e.position;
    EXPECT_TRUE(c.value.IsReal());
    EXPECT_EQ(c.value.val, e.value) << e.name;
  }
}

TEST(Constant, AliasesShareTheirValues) {
  Builtins_RegisterAll();
  struct Pair {
    const char* a;
    const char* b;
  };
  for (Pair p : {Pair{"cr_arrow", "cr_arrrow"}, Pair{"vk_enter", "vk_return"},
                 Pair{"c_ltgray", "c_silver"}}) {
    RValue a, b;
    ASSERT_TRUE(Constant_Resolve(p.a, a));
    ASSERT_TRUE(Constant_Resolve(p.b, b));
    EXPECT_EQ(a.val, b.val) << p.a;
  }
}

// The evaluation the compiler provides, reduced to what these tests need: a
// decimal number, or a name followed by an optional " + number".
bool FakeEvaluate(const VString& text, RValue& out, std::string& error) {
  std::string s = ToUtf8(text);
  double number;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), number);
  if (ec == std::errc() && end == s.data() + s.size()) {
    out = RValue::Real(number);
    return true;
  }
  size_t plus = s.find(" + ");
  if (!Constant_Resolve(s.substr(0, plus), out)) {
    error = "Unknown variable";
    return false;
  }
  if (plus != std::string::npos) out.val += std::stod(s.substr(plus + 3));
  return true;
}

std::vector<std::string> g_messages;
void RecordMessage(const std::string& text) { g_messages.push_back(text); }

class ConstantDefinition : public testing::Test {
 protected:
  void SetUp() override {
    Builtins_RegisterAll();
    Constant_ResetDefinitions();
    Game().Clear();
    g_messages.clear();
    Constant_EvaluateHook = FakeEvaluate;
    Constant_MessageHook = RecordMessage;
  }
  void TearDown() override {
    Constant_ResetDefinitions();
    Game().Clear();
    Constant_EvaluateHook = nullptr;
  }
  static double Value(const char* name) {
    RValue v;
    EXPECT_TRUE(Constant_Resolve(name, v)) << name;
    return v.val;
  }
};

TEST_F(ConstantDefinition, GameConstantHidesBuiltinOfTheSameName) {
  EXPECT_TRUE(Constant_DefineFromText(u"c_red", u"1"));
  EXPECT_EQ(Value("c_red"), 1);
  EXPECT_EQ(Constant_BuiltinCount(), 321);
  Constant_ResetDefinitions();
  EXPECT_EQ(Value("c_red"), 255);
}

TEST_F(ConstantDefinition, ValueMayUseEarlierConstants) {
  EXPECT_TRUE(Constant_DefineFromText(u"redder", u"c_red + 1"));
  EXPECT_EQ(Value("redder"), 256);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(ConstantDefinition, NameIsTrimmedOfBlanksAndControlCharacters) {
  EXPECT_TRUE(Constant_DefineFromText(u" speed ", u"4"));
  EXPECT_TRUE(Constant_DefineFromText(u"\t_x1\r\n", u"5"));
  EXPECT_EQ(Value("speed"), 4);
  EXPECT_EQ(Value("_x1"), 5);
}

TEST_F(ConstantDefinition, InvalidNamesAndValuesShowTheirMessages) {
  EXPECT_FALSE(Constant_DefineFromText(u" 1abc ", u"1"));
  EXPECT_FALSE(Constant_DefineFromText(u"a-b", u"1"));
  EXPECT_FALSE(Constant_DefineFromText(u"   ", u"1"));
  EXPECT_FALSE(Constant_DefineFromText(u"early", u"later + 1"));
  EXPECT_TRUE(Constant_DefineFromText(u"later", u"2"));
  EXPECT_EQ(g_messages, (std::vector<std::string>{"Constant name 1abc  is not valid.",
                                                  "Constant name a-b  is not valid.",
                                                  "Constant name   is not valid.",
                                                  "Value for constant early  is not valid."}));
  EXPECT_EQ(Constant_BuiltinCount(), 321);
}

TEST_F(ConstantDefinition, WithoutACompilerEveryValueFails) {
  Constant_EvaluateHook = nullptr;
  EXPECT_FALSE(Constant_DefineFromText(u"one", u"1"));
  EXPECT_EQ(g_messages, std::vector<std::string>{"Value for constant one  is not valid."});
}

TEST_F(ConstantDefinition, PreparationStopsAtTheFirstFailure) {
  Game().constants = {{u"first", u"1"}, {u"second", u"missing"}, {u"third", u"3"}};
  EXPECT_FALSE(Constants_Prepare());
  RValue v;
  EXPECT_TRUE(Constant_Resolve("first", v));
  EXPECT_FALSE(Constant_Resolve("third", v));
  Constant_ResetDefinitions();
  Game().constants = {{u"first", u"1"}, {u"second", u"first + 1"}};
  EXPECT_TRUE(Constants_Prepare());
  EXPECT_EQ(Value("second"), 2);
}

TEST_F(ConstantDefinition, ResourceNamesComeBeforeTheTable) {
  Game().rooms.Add(std::make_unique<CRoom>(), u"r0");
  Game().rooms.Add(std::make_unique<CRoom>(), u"c_red");
  EXPECT_EQ(Value("c_red"), 1);
  // An earlier kind hides a later one; missing resources are skipped.
  Game().sprites.Add(nullptr, u"thing");
  Game().sprites.Add(std::make_unique<CSprite>(), u"thing");
  EXPECT_EQ(Value("thing"), 1);
  Game().objects.Add(std::make_unique<CObject>(), u"thing");
  EXPECT_EQ(Value("thing"), 0);
  // Trigger constant names come after the resources, before the table.
  auto trigger = std::make_unique<CTrigger>();
  trigger->i_constname = u"pi";
  Game().triggers.Add(nullptr, u"");
  Game().triggers.Add(std::move(trigger), u"my trigger");
  EXPECT_EQ(Value("pi"), 1);
  RValue v;
  EXPECT_FALSE(Constant_Resolve("my trigger", v));
  EXPECT_FALSE(Constant_Resolve("no_such_name", v));
  EXPECT_FALSE(Constant_Resolve("C_RED", v));  // case-sensitive
}

}  // namespace
