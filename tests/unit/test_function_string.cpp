// Tests of the conversion and string builtins: tables of calls and results,
// including the edge cases of positions, counts and empty patterns.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "common/value.h"
#include "tests/unit/test_function_util.h"

namespace {

struct StringCase {
  const char* name;
  std::vector<RValue> args;
  const char16_t* expected;
};

void ExpectStrings(const std::vector<StringCase>& cases) {
  for (const StringCase& c : cases) {
    RValue r = CallBuiltin(c.name, c.args);
    EXPECT_TRUE(r.IsString()) << c.name;
    EXPECT_EQ(ToUtf8(r.str), ToUtf8(c.expected)) << c.name;
  }
}

struct RealCase {
  const char* name;
  std::vector<RValue> args;
  double expected;
};

void ExpectReals(const std::vector<RealCase>& cases) {
  for (const RealCase& c : cases) {
    RValue r = CallBuiltin(c.name, c.args);
    EXPECT_TRUE(r.IsReal()) << c.name;
    EXPECT_DOUBLE_EQ(r.val, c.expected) << c.name;
  }
}

TEST(FunctionString, StringOfValues) {
  ExpectStrings({
      {"string", {R(3)}, u"3"},          {"string", {R(-12)}, u"-12"},
      {"string", {R(2.999)}, u"3.00"},   {"string", {R(-0.5)}, u"-0.50"},
      {"string", {R(1.0 / 3)}, u"0.33"}, {"string", {R(3.14159)}, u"3.14"},
      {"string", {R(1e15)}, u"1000000000000000"},
      {"string", {R(1e19)}, u"ERROR"},   {"string", {S(u"abc")}, u"abc"},
      {"string", {S(u"")}, u""},
  });
}

TEST(FunctionString, StringFormat) {
  ExpectStrings({
      {"string_format", {R(3.14159), R(8), R(3)}, u"   3.142"},
      {"string_format", {R(3.14159), R(0), R(3)}, u"3.142"},
      {"string_format", {R(-3.14159), R(7), R(2)}, u"  -3.14"},
      {"string_format", {R(2.5), R(0), R(0)}, u"3"},  // halves away from zero
      {"string_format", {R(0.5), R(0), R(0)}, u"1"},
      {"string_format", {R(0.04), R(0), R(0)}, u"0"},
      {"string_format", {R(9.995), R(0), R(2)}, u"9.99"},  // 9.99499999...
      {"string_format", {R(99.96), R(0), R(1)}, u"100.0"},
      {"string_format", {R(-0.001), R(0), R(2)}, u"0.00"},
      {"string_format", {R(123), R(2), R(0)}, u"123"},
      {"string_format", {R(0), R(4), R(2)}, u"0.00"},
      {"string_format", {R(1234.5), R(0), R(-3)}, u"1235"},  // negative decimals: none
      {"string_format", {R(0.1), R(0), R(25)}, u"0.100000000000000006"},  // 18 digits at most
      {"string_format", {R(1e20), R(0), R(1)}, u"100000000000000000000.0"},
      {"string_format", {R(123456789.123456789), R(0), R(9)}, u"123456789.123456791"},
      {"string_format", {S(u"text"), R(10), R(2)}, u"text"},
  });
}

TEST(FunctionString, RealOfText) {
  ExpectReals({
      {"real", {S(u"12.5")}, 12.5},     {"real", {S(u"")}, 0},           {"real", {S(u"   ")}, 0},
      {"real", {S(u"-3")}, -3},         {"real", {S(u"+7")}, 7},         {"real", {S(u" 42 ")}, 42},
      {"real", {S(u"1e3")}, 1000},      {"real", {S(u"-2.5E-1")}, -0.25},
      {"real", {S(u".5")}, 0.5},        {"real", {S(u"5.")}, 5},         {"real", {S(u"007")}, 7},
      {"real", {S(u"1e-400")}, 0},      {"real", {R(6.25)}, 6.25},
  });
}

// Texts that are not numbers report "Error in function real()." and give 0.
TEST(FunctionString, RealOfTextThatIsNoNumber) {
  ErrorCapture capture;
  for (const char16_t* text : {u"abc", u"1.2.3", u"e5", u"5e", u"1e+", u"--1", u"0x10", u"inf",
                               u"nan", u"1e400", u"1,5", u".", u"-", u"12abc"}) {
    capture.Reset();
    EXPECT_EQ(CallBuiltin("real", {S(text)}).val, 0) << ToUtf8(text);
    EXPECT_EQ(capture.Message(), "Error in function real().") << ToUtf8(text);
  }
}

TEST(FunctionString, CharactersAndLength) {
  ExpectStrings({
      {"chr", {R(65)}, u"A"}, {"chr", {R(65.5)}, u"B"}, {"chr", {R(0x20AC)}, u"\u20ac"},
  });
  ExpectReals({
      {"ord", {S(u"A")}, 65},        {"ord", {S(u"")}, 0},           {"ord", {S(u"\u20acx")}, 0x20AC},
      {"string_length", {S(u"hello")}, 5},  {"string_length", {S(u"")}, 0},
      {"string_pos", {S(u""), S(u"abc")}, 0},     {"string_pos", {S(u"c"), S(u"abc")}, 3},
      {"string_pos", {S(u"z"), S(u"abc")}, 0},    {"string_pos", {S(u"b"), S(u"abcb")}, 2},
      {"string_count", {S(u"aa"), S(u"aaaa")}, 2}, {"string_count", {S(u"aa"), S(u"aaa")}, 1},
      {"string_count", {S(u""), S(u"abc")}, 0},    {"string_count", {S(u"x"), S(u"")}, 0},
      {"string_count", {S(u"aba"), S(u"ababa")}, 1},
  });
}

TEST(FunctionString, CopyDeleteInsert) {
  ExpectStrings({
      {"string_copy", {S(u"hello"), R(0), R(2)}, u"he"},
      {"string_copy", {S(u"hello"), R(4), R(10)}, u"lo"},
      {"string_copy", {S(u"hello"), R(9), R(1)}, u""},
      {"string_copy", {S(u"hello"), R(2), R(-1)}, u""},
      {"string_copy", {S(u"hello"), R(-5), R(3)}, u"hel"},
      {"string_copy", {S(u"hello"), R(2), R(3)}, u"ell"},
      {"string_char_at", {S(u"hello"), R(1)}, u"h"},
      {"string_char_at", {S(u"hello"), R(5)}, u"o"},
      {"string_char_at", {S(u"hello"), R(6)}, u""},
      {"string_char_at", {S(u"hello"), R(0)}, u"h"},
      {"string_delete", {S(u"hello"), R(2), R(100)}, u"h"},
      {"string_delete", {S(u"hello"), R(2), R(2)}, u"hlo"},
      {"string_delete", {S(u"hello"), R(0), R(1)}, u"hello"},
      {"string_delete", {S(u"hello"), R(6), R(1)}, u"hello"},
      {"string_delete", {S(u"hello"), R(2), R(0)}, u"hello"},
      {"string_delete", {S(u"hello"), R(5), R(1)}, u"hell"},
      {"string_insert", {S(u"X"), S(u"abc"), R(10)}, u"abcX"},
      {"string_insert", {S(u"X"), S(u"abc"), R(4)}, u"abcX"},
      {"string_insert", {S(u"X"), S(u"abc"), R(0)}, u"Xabc"},
      {"string_insert", {S(u"X"), S(u"abc"), R(2)}, u"aXbc"},
      {"string_insert", {S(u""), S(u"abc"), R(2)}, u"abc"},
  });
}

TEST(FunctionString, CaseRepeatAndFilters) {
  ExpectStrings({
      {"string_lower", {S(u"AbC 1\u00c4")}, u"abc 1\u00c4"},
      {"string_upper", {S(u"stra\u00dfe")}, u"STRA\u00dfE"},
      {"string_repeat", {S(u"ab"), R(3)}, u"ababab"},
      {"string_repeat", {S(u"ab"), R(0)}, u""},
      {"string_repeat", {S(u"ab"), R(-2)}, u""},
      {"string_repeat", {S(u"ab"), R(2.5)}, u"abab"},
      {"string_repeat", {S(u""), R(1e9)}, u""},
      {"string_letters", {S(u"a1b2_C\u00e9")}, u"abC"},
      {"string_digits", {S(u"a1b2_C")}, u"12"},
      {"string_lettersdigits", {S(u"a1b2_C ")}, u"a1b2C"},
  });
}

TEST(FunctionString, HugeResultsRaiseInsteadOfExhaustingMemory) {
  EXPECT_THROW(CallBuiltin("string_repeat", {S(u"abcdefgh"), R(1e12)}), std::length_error);
  EXPECT_THROW(CallBuiltin("string_format", {R(1), R(1e12), R(0)}), std::length_error);
}

TEST(FunctionString, ReplaceAndReplaceAll) {
  ExpectStrings({
      {"string_replace", {S(u"aXbXc"), S(u"X"), S(u"-")}, u"a-bXc"},
      {"string_replace_all", {S(u"aXbXc"), S(u"X"), S(u"-")}, u"a-b-c"},
      {"string_replace_all", {S(u"aaa"), S(u"aa"), S(u"b")}, u"ba"},
      {"string_replace_all", {S(u"abab"), S(u"ab"), S(u"abab")}, u"abababab"},
      {"string_replace_all", {S(u"abc"), S(u"B"), S(u"x")}, u"abc"},  // case-sensitive
      {"string_replace", {S(u"abc"), S(u""), S(u"x")}, u"abc"},
      {"string_replace_all", {S(u"abc"), S(u""), S(u"x")}, u"abc"},
      {"string_replace_all", {S(u"abc"), S(u"b"), S(u"")}, u"ac"},
  });
}

}  // namespace
