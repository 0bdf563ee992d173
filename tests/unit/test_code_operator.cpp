// Operators: results, kinds, the comparison tolerance, shifts and messages,
// both folded at compile time and computed at run time.
#include <gtest/gtest.h>

#include "code_test_support.h"

using codetest::CodeTest;

namespace {

class CodeOperatorTest : public CodeTest {};

struct OperatorCase {
  const char* left;
  const char* op;
  const char* right;
  const char* expected;  // value text (strings quoted) or "error: " + message
};

const OperatorCase kCases[] = {
    {"7", "div", "2", "3"},
    {"-7", "div", "2", "-3"},
    {"7", "mod", "3", "1"},
    {"-7", "mod", "3", "-1"},
    {"7.5", "mod", "2", "1.50"},
    {"7", "/", "2", "3.50"},
    {"1", "/", "0", "error: Division by 0."},
    {"1", "div", "0", "error: Division by 0."},
    {"1", "mod", "0", "error: Modulo by 0."},
    {"3", "*", "'ab'", "\"ababab\""},
    {"'ab'", "*", "3", "error: Wrong type of arguments to *."},
    {"'ab'", "*", "'ab'", "error: Wrong type of arguments to *."},
    {"0", "*", "'ab'", "\"\""},
    {"-1", "*", "'ab'", "\"\""},
    {"2.5", "*", "'ab'", "\"abab\""},
    {"'a'", "+", "'b'", "\"ab\""},
    {"'a'", "+", "1", "error: Wrong type of arguments to +."},
    {"'a'", "-", "'b'", "error: Wrong type of arguments to -."},
    {"'a'", "/", "0", "error: Wrong type of arguments to /."},
    {"'a'", "div", "1", "error: Wrong type of arguments to div."},
    {"'a'", "mod", "1", "error: Wrong type of arguments to mod."},
    {"'abc'", "<", "'abd'", "1"},
    {"'B'", "<", "'a'", "1"},
    {"'ab'", "<", "'abc'", "1"},
    {"'ab'", "==", "'ab'", "1"},
    {"'ab'", "=", "'ab'", "1"},
    {"'ab'", ">=", "'b'", "0"},
    {"'a'", "==", "1", "error: Cannot compare arguments."},
    {"1", "<>", "'a'", "error: Cannot compare arguments."},
    {"0.1 + 0.2", "==", "0.3", "1"},
    {"1000000", "==", "1000000.0000001", "0"},
    {"1", "!=", "1.00000000000001", "0"},
    {"1", "<", "1.00000000000001", "0"},
    {"1", "<=", "1.00000000000001", "1"},
    {"1", ">", "0.99999999999999", "0"},
    {"1", ">=", "1.00000000000001", "1"},
    {"2.5", "|", "0", "2"},
    {"3.5", "|", "0", "4"},
    {"12", "&", "10", "8"},
    {"12", "^", "10", "6"},
    {"1", "<<", "64", "0"},
    {"1", "<<", "256", "1"},
    {"1", "<<", "-1", "2147483648"},
    {"1", "<<", "100", "0"},
    {"1", "<<", "130", "4"},
    {"-8", ">>", "0", "-8"},
    {"1", "&&", "'a'", "error: Wrong type of arguments for &&."},
    {"1", "||", "'a'", "error: Wrong type of arguments for ||."},
    {"1", "^^", "'a'", "error: Wrong type of arguments for ^^."},
    {"'a'", "|", "1", "error: Wrong type of arguments for |."},
    {"'a'", "<<", "1", "error: Wrong type of arguments for <<."},
    {"0.5", "&&", "0.5", "1"},
    {"0.4", "||", "0.49", "0"},
    {"1", "xor", "1", "0"},
    {"1", "^^", "0", "1"},
};

// Folded: the whole expression is constant.
TEST_F(CodeOperatorTest, CodeOperatorFolded) {
  for (const OperatorCase& c : kCases) {
    std::string text = std::string("(") + c.left + ") " + c.op + " (" + c.right + ")";
    std::string got = Eval(text);
    if (got.rfind("compile error: ", 0) == 0) got = "error: " + got.substr(15);
    EXPECT_EQ(got, c.expected) << text;
  }
}

// At run time: the operands come from variables.
TEST_F(CodeOperatorTest, CodeOperatorAtRunTime) {
  for (const OperatorCase& c : kCases) {
    codetest::Output().clear();
    std::string text = std::string("l = ") + c.left + "; r = " + c.right + "; v = l " + c.op +
                       " r; if is_string(v) trace('\"' + v + '\"') else trace(v)";
    std::string got = Run(text);
    if (!got.empty() && got.back() == '\n') got.pop_back();
    EXPECT_EQ(got, c.expected) << text;
  }
}

TEST_F(CodeOperatorTest, CodeOperatorUnary) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"!0.5", "0"}, {"!0.49", "1"}, {"not 1", "0"}, {"~0", "-1"}, {"~5", "-6"},
      {"-(3)", "-3"}, {"+4", "4"}, {"(-8 >> 1) == -(1 << 63)", "1"}, {"!'a'", "compile error: Wrong type of arguments to unary operator."},
  };
  for (const auto& c : cases) EXPECT_EQ(Eval(c.text), c.expected) << c.text;
  EXPECT_EQ(Run("s = 'u'; v = ~s"), "error: Wrong type of arguments to unary operator.");
}

TEST_F(CodeOperatorTest, CodeOperatorNoShortCircuit) {
  EXPECT_EQ(Run("u = 0 && calls(); k = 1 || calls(); trace(u, k)"), "0 1\n");
  EXPECT_EQ(codetest::CallCount(), 2);
}

TEST_F(CodeOperatorTest, CodeOperatorFaultsAreReported) {
  EXPECT_EQ(Run("u = 1; repeat (320) u *= 10; k = u * u"), "error: Arithmetic overflow in *.");
  EXPECT_EQ(Run("u = 1; repeat (300) u *= 10; k = u | 0"), "error: Invalid arithmetic operation in |.");
  EXPECT_EQ(Run("u = 1; repeat (300) u *= 10; k = u / 0.0000000001"), "error: Arithmetic overflow in /.");
}

}  // namespace
