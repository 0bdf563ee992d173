// test_value.cpp: the shared value rules (truth test, rounding, text form of
// reals, text conversions) and the random generator.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/random.h"
#include "common/value.h"

namespace {

constexpr double kTwoPow63 = 9223372036854775808.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ValueTest, NewValueIsRealZero) {
  RValue v;
  EXPECT_TRUE(v.IsReal());
  EXPECT_EQ(v.val, 0.0);
  EXPECT_TRUE(v.str.empty());
  EXPECT_EQ(ValueText(v), u"0");
}

TEST(ValueTest, TruthTest) {
  struct Case { double x; bool truth; };
  for (Case c : {Case{0.5, true}, {1, true}, {7, true}, {0.49999999, false}, {0, false},
                 {-1, false}, {-0.5, false}, {kNaN, false}}) {
    EXPECT_EQ(IsTrue(c.x), c.truth) << c.x;
  }
}

TEST(ValueTest, RoundsHalvesToEven) {
  struct Case { double x; int64_t n; };
  for (Case c : {Case{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
                 {2.4999, 2}, {-2.6, -3}, {0.49999999999999994, 0}, {-0.0, 0},
                 {4503599627370497.0, 4503599627370497}, {-9223372036854774784.0, -9223372036854774784},
                 {9223372036854774784.0, 9223372036854774784}}) {
    int64_t n = 12345;
    EXPECT_TRUE(TryRound(c.x, n)) << c.x;
    EXPECT_EQ(n, c.n) << c.x;
    EXPECT_EQ(Round(c.x), c.n) << c.x;
  }
}

TEST(ValueTest, RoundFailsAtTwoPow63AndNaN) {
  for (double x : {kTwoPow63, -kTwoPow63, 1e300, kNaN, kInf, -kInf}) {
    int64_t n = 77;
    EXPECT_FALSE(TryRound(x, n)) << x;
    EXPECT_EQ(n, 77) << "left untouched";
    EXPECT_THROW(Round(x), ArithmeticError) << x;
  }
}

TEST(ValueTest, ToInt32KeepsLowBits) {
  EXPECT_EQ(ToInt32(3.5), 4);
  EXPECT_EQ(ToInt32(-2.5), -2);
  EXPECT_EQ(ToInt32(4294967301.0), 5);
  EXPECT_EQ(ToInt32(2147483648.0), INT32_MIN);
  EXPECT_THROW(ToInt32(kNaN), ArithmeticError);
}

TEST(ValueTest, RealText) {
  struct Case { double x; const char* text; };
  for (Case c : {
           Case{0, "0"}, {3, "3"}, {-12, "-12"}, {-0.0, "0"},
           {1e15, "1000000000000000"},
           {9007199254740993.0, "9007199254740992"},
           {0.1 + 0.2, "0.30"}, {3.14159, "3.14"}, {-0.5, "-0.50"}, {1.0 / 3, "0.33"},
           {1.999999, "2.00"}, {0.125, "0.13"}, {-0.125, "-0.13"},
           {2.675, "2.67"},  // stored as 2.67499999999999982...
           {1.005, "1.00"}, {0.005, "0.01"},
           // Negative values whose text is zero lose the sign.
           {-0.004, "0.00"}, {-1e-300, "0.00"}, {0.004, "0.00"},
           {123456789.126, "123456789.10"},  // ten significant digits
           {99999999.999, "100000000.00"},
           {12345678901.5, "1.23456789E10"}, {-12345678901.5, "-1.23456789E10"},
           {9999999999.5, "1E10"}, {10000000000.5, "1E10"},
           {123456789012.25, "1.23456789E11"}, {1234567890123.5, "1.23456789E12"},
           {kTwoPow63, "ERROR"}, {-kTwoPow63, "ERROR"}, {kNaN, "ERROR"}, {kInf, "ERROR"},
       }) {
    EXPECT_EQ(RealText(c.x), c.text) << c.x;
  }
}

TEST(ValueTest, RealTextUsesTheDecimalSeparator) {
  EXPECT_EQ(RealText(3.14159, ','), "3,14");
  EXPECT_EQ(RealText(12345678901.5, ','), "1,23456789E10");
  EXPECT_EQ(RealText(42, ','), "42");
}

TEST(ValueTest, ValueTextOfStringIsItself) {
  EXPECT_EQ(ValueText(RValue::String(u"1.5")), u"1.5");
  EXPECT_EQ(ValueText(RValue::Real(1.5)), u"1.50");
}

TEST(ValueTest, Utf8Conversions) {
  struct Case { VString text; std::string utf8; };
  for (const Case& c : {Case{u"", ""}, {u"abc", "abc"}, {u"\u00E9", "\xC3\xA9"},
                        {u"\u20AC", "\xE2\x82\xAC"}, {u"\U0001F600", "\xF0\x9F\x98\x80"},
                        {u"a\u07FFb\uFFFF", "a\xDF\xBF" "b\xEF\xBF\xBF"}}) {
    EXPECT_EQ(ToUtf8(c.text), c.utf8);
    EXPECT_EQ(FromUtf8(c.utf8), c.text);
  }
}

TEST(ValueTest, InvalidUtf8FallsBackToLatin1) {
  for (std::string bad : {"\xE9t\xE9", "\xC0\xAF", "abc\xE2\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\x80"}) {
    EXPECT_EQ(FromUtf8(bad), FromLatin1(bad)) << bad;
  }
}

TEST(ValueTest, LoneSurrogateBecomesReplacementCharacter) {
  EXPECT_EQ(ToUtf8(VString(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf8(VString{char16_t(0xDC00), u'x'}), "\xEF\xBF\xBDx");
}

TEST(ValueTest, Latin1KeepsLowByte) {
  EXPECT_EQ(ToLatin1(u"A\u00E9\u20AC"), "A\xE9\xAC");
  EXPECT_EQ(FromLatin1("A\xE9\xAC"), u"A\u00E9\u00AC");
}

TEST(RandomTest, LinearCongruentialSteps) {
  RandomSetSeed(0);
  EXPECT_EQ(RandomReal(), 1.0 / 4294967296.0);  // S = 1
  EXPECT_EQ(RandomGetSeed(), 1u);
  RandomSetSeed(1);
  RandomInt(10);
  EXPECT_EQ(RandomGetSeed(), 134775814u);
  RandomSetSeed(0xFFFFFFFFu);  // S * 134775813 + 1 wraps
  RandomReal();
  EXPECT_EQ(RandomGetSeed(), 0xFFFFFFFFu * 134775813u + 1u);
}

TEST(RandomTest, IntegerIsHighPartOfProduct) {
  RandomSetSeed(1);  // next state 134775814
  EXPECT_EQ(RandomInt(1000), static_cast<uint32_t>((134775814ull * 1000) >> 32));
  for (int i = 0; i < 1000; ++i) EXPECT_LT(RandomInt(7), 7u);
  EXPECT_EQ(RandomInt(0), 0u);
}

}  // namespace
