// The interpreter: statements, loops, with, switch, variables and arrays,
// runtime error messages, and the recursion limit.
#include <gtest/gtest.h>

#include "code/code_exec.h"
#include "code_test_support.h"

using codetest::CodeTest;
using codetest::W;

namespace {

class CodeExecTest : public CodeTest {};

struct ProgramCase {
  const char* text;
  const char* expected;  // trace output, then "error: " + message on failure
};

class CodeExecPrograms : public CodeTest {
 public:
  using CodeTest::Run;
  void Check(const ProgramCase* cases, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      codetest::Output().clear();
      Variable_GlobalsReset();
      self->i_vars.Clear();
      other->i_vars.Clear();
      EXPECT_EQ(Run(cases[i].text), cases[i].expected) << cases[i].text;
    }
  }
};

TEST_F(CodeExecPrograms, CodeExecStatements) {
  const ProgramCase cases[] = {
      {"", ""},
      {"while (1) { break } trace(1)", "1\n"},
      {"break; trace(1)", ""},
      {"continue; trace(1)", ""},
      {"exit; trace(1)", ""},
      {"i = 0 repeat (2.5) i += 1 trace(i)", "2\n"},
      {"i = 0 repeat (3.5) i += 1 trace(i)", "4\n"},
      {"i = 0 repeat (-1) i += 1 trace(i)", "0\n"},
      {"for (i = 0; i < 5; i += 1) { if i == 2 continue; trace(i) }", "0\n1\n3\n4\n"},
      {"i = 0 do { i += 1 } until i >= 3 trace(i)", "3\n"},
      {"i = 0 do { i += 1; if i == 2 break } until i >= 3 trace(i)", "2\n"},
      {"i = 0 while i < 3 do i += 1 trace(i)", "3\n"},
      {"if 0.5 trace('t') else trace('f')", "t\n"},
      {"if 0.49 trace('t') else trace('f')", "f\n"},
      {"if -1 trace('t')", ""},
      {"switch (2) { case 1: trace('p') case 2: trace('q') case 3: trace('r') }", "q\nr\n"},
      {"switch (5) { default: trace('d') case 5: trace('e') }", "d\ne\n"},
      {"switch (7) { default: trace('d') case 5: trace('e') }", "d\ne\n"},
      {"switch ('1') { case 1: trace('no') }", ""},
      {"switch ('a') { case 'a': trace('yes') break; case 'b': trace('no') }", "yes\n"},
      {"switch (1) { case 1.00000000001: trace('no') }", ""},
      {"for (i = 0; i < 3; i += 1) switch (i) { case 1: continue; default: trace(i) }", "0\n2\n"},
      {"switch (1) { case 1: exit } trace('after')", ""},
      {"u = 0 if calls() || calls() && calls() u = 1 trace(u)", "1\n"},
      {"var a; a = 3; trace(a)", "3\n"},
      {"globalvar g; g = 5; trace(global.g)", "5\n"},
      {"global.h = 2; globalvar h; trace(h)", "2\n"},
      {"with (noone) trace('never')", ""},
      {"with (self) { trace(id, other.id) }", "100001 100001\n"},
      {"u = 4; with (other) { u = 9; trace(other.u) } trace(u, other.u)", "4\n4 9\n"},
      {"with (all) trace(id)", "100001\n100002\n"},
      {"with (1) trace(id)", "100002\n"},
      {"with (100002) { trace(id); break; trace('no') } trace('end')", "100002\nend\n"},
      {"with (all) { if id == 100001 continue; trace(id) }", "100002\n"},
      {"with (all) { trace(id) exit } trace('no')", "100001\n"},
      {"all.v = 3; trace(v, other.v)", "3 3\n"},
      {"(100002).w = 1; trace(other.w)", "1\n"},
      {"obj = 5; obj.k = 3; trace('ok')", "ok\n"},
      {"(123456).k = 3; trace('ok')", "ok\n"},
  };
  Check(cases, std::size(cases));
}

TEST_F(CodeExecPrograms, CodeExecRuntimeErrors) {
  const ProgramCase cases[] = {
      {"; u = 1", "error: Statement expected."},
      {"case 1: u = 1", "error: Case statement only allowed inside switch statement."},
      {"default: u = 1", "error: Default statement only allowed inside switch statement."},
      {"if 'a' u = 1", "error: Expression expected"},
      {"while 'a' u = 1", "error: Boolean expression expected"},
      {"do u = 1 until 'a'", "error: Boolean expression expected"},
      {"for (i = 0; 'a'; i += 1) u = 1", "error: Expression expected"},
      {"repeat ('a') u = 1", "error: Repeat count must be a number"},
      {"with ('a') u = 1", "error: Object id expected"},
      {"with (-5) u = 1", "error: Cannot use global in with statement."},
      {"with (-7) u = 1", "error: Cannot use local in with statement."},
      {"u = noone.k", "error: Unknown variable k"},
      {"noone.k = 3", "error: Cannot assign to the variable"},
      {"u = k", "error: Unknown variable k"},
      {"u[5] = 1; trace(u[3]); u = u[6]", "0\nerror: Unknown variable u or array index out of bounds"},
      {"u = 7; trace(u[0], u[0,0]); u[0,3] = 2; trace(u[3])", "7 7\n2\n"},
      {"k[2,1] = 1; z = k[1,0]", "error: Unknown variable k or array index out of bounds"},
      {"u = a['i']", "error: Wrong type of array index"},
      {"u[-1] = 1", "error: Negative array index"},
      {"u[32000] = 1", "error: Array index >= 32000"},
      {"u[0, 32000] = 1", "error: Array index >= 32000"},
      {"s = 'a'; u = s.k", "error: Wrong type of variable index"},
      {"s = 'a'; s += 1", "error: Wrong type of arguments to +."},
      {"id = 3", "error: Cannot assign to the variable"},
      {"var i; i += 1", "error: Unknown variable i"},
      {"u = 1 repeat (400) u *= 10", "error: Arithmetic overflow in *."},
      {"z = 0; u = 1 / z", "error: Division by 0."},
      {"z = 'b'; u = -z", "error: Wrong type of arguments to unary operator."},
      {"u = 1; u /= 0; trace(u)", "error: Division by 0."},
  };
  Check(cases, std::size(cases));
}

TEST_F(CodeExecTest, CodeExecFailedCompoundLeavesTheTarget) {
  EXPECT_EQ(Run("s = 'a'; s += 1"), "error: Wrong type of arguments to +.");
  EXPECT_EQ(Run("trace(s)"), "a\n");
}

TEST_F(CodeExecTest, CodeExecUninitialisedAsZero) {
  Game().settings.code_flags = 1;
  EXPECT_EQ(Run("var i; i += 1; trace(i)"), "1\n");
  EXPECT_EQ(Run("u = noone.k; trace(u)"), "1\n0\n");
  EXPECT_EQ(Run("q[3] = 1; trace(q[7], q[1, 4])"), "1\n0\n0 0\n");
}

TEST_F(CodeExecTest, CodeExecLocalsAreFreshPerRun) {
  EXPECT_EQ(Run("var a; a = 1; trace(a)"), "1\n");
  EXPECT_EQ(Run("var a; b = a"), "1\nerror: Unknown variable a");
}

TEST_F(CodeExecTest, CodeExecDestroyedInstancesAreSkippedByWith) {
  Instance_Add(100003, 1);
  EXPECT_EQ(Run("with (1) { trace(id) } (100003).i_gone = 1"), "100002\n100003\n");
  Instance_List()[2]->i_marked = true;
  codetest::Output().clear();
  EXPECT_EQ(Run("with (1) trace(id)"), "100002\n");
  codetest::Output().clear();
  EXPECT_EQ(Run("u = (100003).i_gone"), "error: Unknown variable i_gone");
}

TEST_F(CodeExecTest, CodeExecBuiltinErrorDoesNotEndTheRun) {
  EXPECT_EQ(Run("show_error('bad', 0); trace('next')"), "next\n");
  EXPECT_TRUE(Error_State().error_occurred);
  EXPECT_NE(Error_State().error_last.find("bad"), std::string::npos);
}

TEST_F(CodeExecTest, CodeExecUncompiledAndNilInstance) {
  CCode code(W("u = 1"), false);
  RValue result;
  EXPECT_FALSE(Code_Run(code, self, other, result));
  EXPECT_EQ(CodeErrorState().message, "Internal Error: Executing non-compiled code.");
  ASSERT_TRUE(code.Compile());
  EXPECT_FALSE(Code_Run(code, nullptr, other, result));
  EXPECT_EQ(CodeErrorState().message, "Internal Error: Executing code for nil instance.");
  EXPECT_FALSE(Code_RunForValue(code, nullptr, other, result));
  EXPECT_EQ(result.str, u"ERROR");
}

TEST_F(CodeExecTest, CodeExecCallResultIsTheRunResult) {
  std::unique_ptr<CCode> code = Code_CompileText(W("u = abs(-3); abs(-4)"), CODE_PROGRAM, nullptr);
  RValue result;
  ASSERT_TRUE(Code_Run(*code, self, other, result));
  EXPECT_EQ(result.val, 4);
}

TEST_F(CodeExecTest, CodeExecStepBudgetStopsEndlessLoops) {
  Code_SetStepBudget(1000);
  EXPECT_EQ(Run("while (1) {}"), "error: Step budget exhausted.");
  Code_SetStepBudget(-1);
}

TEST_F(CodeExecTest, CodeExecUnboundedRecursionStops) {
  AddScript("rec", "return rec(argument0 + 1)");
  AddScript("depth", "if argument0 <= 0 return 0; return depth(argument0 - 1) + 1");
  std::string out = Run("u = rec(0)");
  EXPECT_NE(out.find(kRecursionMessage), std::string::npos) << out.substr(0, 200);
  EXPECT_EQ(Code_RunDepth(), 0);
  codetest::Output().clear();
  // Deep but bounded recursion runs. Sanitizer builds have much larger stack
  // frames, so the stack guard stops them sooner.
#if defined(__SANITIZE_ADDRESS__)
  EXPECT_EQ(Run("trace(depth(300))"), "300\n");
#else
  EXPECT_EQ(Run("trace(depth(3000))"), "3000\n");
#endif
}

TEST_F(CodeExecTest, CodeExecNestedScriptErrorsArePrefixed) {
  AddScript("inner", "u = 1 / argument0");
  AddScript("outer", "inner(0)");
  RValue result;
  std::unique_ptr<CCode> code = Code_CompileText(W("z = 0; outer()"), CODE_PROGRAM, nullptr);
  EXPECT_FALSE(Code_Run(*code, self, other, result));
  const std::string& text = CodeErrorState().text;
  EXPECT_EQ(text.rfind("In script outer:\rIn script inner:\rError in code at line 1:\r", 0), 0u) << text;
}

}  // namespace
