// The interpreter's direct paths (reals read straight from leaves, pure
// expressions computed without temporaries, simple assignments into their
// slot, argument slots saved only where in use) give the same results,
// errors and error positions as the generic evaluation they stand in for.
#include <gtest/gtest.h>

#include "code/code_exec.h"
#include "code_test_support.h"

using codetest::CodeTest;

namespace {

struct FastCase {
  const char* text;
  const char* expected;  // trace output, then "error: " + message on failure
};

class CodeFastPathTest : public CodeTest {
 public:
  void Check(const FastCase* cases, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      codetest::Output().clear();
      Variable_GlobalsReset();
      self->i_vars.Clear();
      other->i_vars.Clear();
      EXPECT_EQ(Run(cases[i].text), cases[i].expected) << cases[i].text;
    }
  }
  // Column of the first error of text (run as a program).
  int ErrorColumn(const std::string& text) {
    Run(text);
    return CodeErrorState().column;
  }
};

TEST_F(CodeFastPathTest, CodeFastPathMixedKindsFallBack) {
  const FastCase cases[] = {
      // A pure expression meeting a string is evaluated generically.
      {"a = 'x'; b = 'y'; u = a + b; trace(u)", "xy\n"},
      {"a = 'x'; b = 2; u = a * b", "error: Wrong type of arguments to *."},
      {"a = 2; b = 'ab'; u = a * b; trace(u)", "abab\n"},
      {"a = 'x'; u = a == 1", "error: Cannot compare arguments."},
      {"a = 1; b = 0; u = a / b", "error: Division by 0."},
      {"a = 7; b = 0; u = a mod b", "error: Modulo by 0."},
      {"a = 1000000000000000000000000000000; b = a * a; c = b * b; u = c * c * c",
       "error: Arithmetic overflow in *."},
      {"a = 5; u = -a; v = !a; w = +a; trace(u, v, w)", "-5 0 5\n"},
      {"a = 0.5; u = ~a; trace(u)", "-1\n"},
      {"a = 'q'; u = !a", "error: Wrong type of arguments to unary operator."},
      // Locals: missing until assigned, then read directly.
      {"var i; u = i + 1", "error: Unknown variable i"},
      {"var i; i = 'a'; i += 'b'; trace(i)", "ab\n"},
      {"var i; i = 1; i += 'b'", "error: Wrong type of arguments to +."},
      {"var i; i = 3; i -= 1; i *= 4; i /= 2; i |= 1; i &= 5; i ^= 1; trace(i)", "4\n"},
      // Conditions and indices through both paths.
      {"a = 's'; if a trace(1)", "error: Expression expected"},
      {"a = 's'; while a trace(1)", "error: Boolean expression expected"},
      {"i = 2; u[i + 1] = 5; trace(u[3], u[i * 2 - 1])", "5 5\n"},
      {"i = 2; u[i, i + 1] = 5; trace(u[2, 3], u[i, 3])", "5 5\n"},
      {"i = 1; u[i] = 1; v = u[i - 2]", "error: Negative array index"},
      {"i = 16000; u[i * 2] = 1", "error: Array index >= 32000"},
      {"i = 'a'; u[1] = 1; v = u[i]", "error: Wrong type of array index"},
      {"i = 9; u[1] = 1; v = u[i]", "error: Unknown variable u or array index out of bounds"},
      {"u[1] = 'str'; i = 1; trace(u[i] + '!')", "str!\n"},
      // Scopes of simple variables: other, global and declared globals.
      {"other.k = 4; u = other.k * 2; trace(u)", "8\n"},
      {"global.g = 3; u = global.g + 1; trace(u)", "4\n"},
      {"x1 = 1; globalvar x1; x1 = 2; trace(x1, self.x1, global.x1)", "2 1 2\n"},
  };
  Check(cases, std::size(cases));
}

TEST_F(CodeFastPathTest, CodeFastPathErrorsAtTheRightOperand) {
  std::string text = "a = 'x'; b = 2; u = a * b";
  EXPECT_EQ(ErrorColumn(text), static_cast<int>(text.rfind('b')) + 1);
  text = "a = 2; b = 0; if (a / b) u = 1";
  EXPECT_EQ(ErrorColumn(text), static_cast<int>(text.rfind('b')) + 1);
  // A compound assignment reports at the assignment, which starts at its
  // target.
  text = "u = 1; u += 'x'";
  EXPECT_EQ(ErrorColumn(text), static_cast<int>(text.rfind('u')) + 1);
}

TEST_F(CodeFastPathTest, CodeFastPathUninitialisedAsZero) {
  Game().settings.code_flags = 1;
  const FastCase cases[] = {
      {"var i; u = i + 1; i += 2; trace(u, i)", "1 2\n"},
      {"u[2] = 1; i = 5; trace(u[i] + 1, w + 1)", "1 1\n"},
  };
  Check(cases, std::size(cases));
}

TEST_F(CodeFastPathTest, CodeFastPathArgumentSlotsInUseAreRestored) {
  AddScript("set_high", "argument9 = 'nine'; argument15 = 3; return argument0 + argument1");
  AddScript("read_all", "trace(argument0, argument1, argument2, argument3)");
  AddScript("outer", "u = set_high(1, 2); trace(u, argument2, argument9, argument15); read_all(7)");
  // The caller's slots 0..3 and the clear slots above come back unchanged.
  EXPECT_EQ(Run("outer(5, 6, 'two', 'three')"), "3 two 0 0\n7 0 0 0\n");
  for (int i = 0; i < RScriptArguments::kSlots; ++i) {
    EXPECT_EQ(g_Arguments.slot[i].kind, VALUE_REAL) << i;
    EXPECT_EQ(g_Arguments.slot[i].val, 0.0) << i;
    EXPECT_TRUE(g_Arguments.slot[i].str.empty()) << i;
  }
}

TEST_F(CodeFastPathTest, CodeFastPathRecursionKeepsEachCallsArguments) {
  AddScript("fib", "if (argument0 < 2) return argument0; return fib(argument0 - 1) + fib(argument0 - 2)");
  AddScript("depth", "if (argument0 <= 0) return argument1; return depth(argument0 - 1, argument1 + '.') + argument1");
  EXPECT_EQ(Eval("fib(15)"), "610");
  EXPECT_EQ(Eval("depth(3, 'a')"), "\"a...a..a.a\"");
}

}  // namespace
