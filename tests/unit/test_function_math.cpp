// Tests of the math builtins: tables of calls and results, the shared random
// generator's sequence, the failing calls that leave 0, and the arithmetic
// faults raised by the functions without a message of their own.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "common/random.h"
#include "common/value.h"
#include "tests/unit/test_function_util.h"


namespace {


constexpr double kPi = std::numbers::pi;

struct RealCase {
  const char* name;
  std::vector<RValue> args;
  double expected;
};

void ExpectReals(const std::vector<RealCase>& cases) {
  for (const RealCase& c : cases) {
    RValue r = CallBuiltin(c.name, c.args);
    EXPECT_TRUE(r.IsReal()) << c.name;
    EXPECT_DOUBLE_EQ(r.val, c.expected) << c.name << " with " << c.args.size() << " args";
  }
}

TEST(FunctionMath, RoundingAndSign) {
  ExpectReals({
      {"round", {R(2.5)}, 2},       {"round", {R(3.5)}, 4},      {"round", {R(-2.5)}, -2},
      {"round", {R(-0.5)}, 0},      {"round", {R(1e15 + 0.5)}, 1e15},
      {"floor", {R(-0.5)}, -1},     {"floor", {R(2.7)}, 2},      {"floor", {R(-3)}, -3},
      {"floor", {R(3e9)}, 3000000000.0 - 4294967296.0},  // 32-bit result
      {"ceil", {R(0.2)}, 1},        {"ceil", {R(-0.2)}, 0},      {"ceil", {R(5)}, 5},
      {"sign", {R(1e-14)}, 0},      {"sign", {R(-1e-13)}, -1},   {"sign", {R(1e-13)}, 1},
      {"sign", {R(-5)}, -1},        {"sign", {R(0)}, 0},
      {"frac", {R(2.75)}, 0.75},    {"frac", {R(-2.75)}, -0.75}, {"frac", {R(4)}, 0},
      {"abs", {R(-3)}, 3},          {"abs", {R(3)}, 3},
      {"is_real", {R(1)}, 1},       {"is_real", {S(u"1")}, 0},
      {"is_string", {S(u"")}, 1},   {"is_string", {R(0)}, 0},
  });
}

TEST(FunctionMath, ArithmeticAndTrigonometry) {
  ExpectReals({
      {"sqrt", {R(16)}, 4},         {"sqr", {R(-3)}, 9},          {"exp", {R(0)}, 1},
      {"ln", {R(1)}, 0},            {"log2", {R(8)}, 3},          {"log10", {R(1000)}, 3},
      {"sin", {R(0)}, 0},           {"cos", {R(0)}, 1},           {"tan", {R(0)}, 0},
      {"arcsin", {R(1)}, kPi / 2},  {"arccos", {R(1)}, 0},        {"arctan", {R(1)}, kPi / 4},
      {"arctan2", {R(1), R(0)}, kPi / 2},  {"arctan2", {R(0), R(-1)}, kPi},
      {"arctan2", {R(0), R(0)}, 0},
      {"degtorad", {R(180)}, kPi},  {"radtodeg", {R(kPi)}, 180},
      {"power", {R(2), R(10)}, 1024},      {"power", {R(4), R(0.5)}, 2},
      {"power", {R(-2), R(3)}, -8},        {"logn", {R(2), R(8)}, 3},
      {"logn", {R(10), R(0.01)}, -2},
  });
}

TEST(FunctionMath, MinMaxMeanMedian) {
  ExpectReals({
      {"min", {R(3), R(1), R(2)}, 1},      {"max", {R(3), R(1), R(2)}, 3},
      {"min", {}, 0},                      {"max", {R(-4)}, -4},
      {"min3", {R(5), R(-1), R(2)}, -1},   {"max3", {R(5), R(-1), R(9)}, 9},
      {"mean", {R(1), R(2), R(3), R(4)}, 2.5},  {"mean", {}, 0},
      {"median", {R(4), R(1), R(3), R(2)}, 2},  {"median", {R(3), R(1), R(2)}, 2},
      {"median", {R(5)}, 5},               {"median", {}, 0},
      {"median", {R(2), R(2), R(1), R(9)}, 2},
  });
}

TEST(FunctionMath, MinAndMaxCompareByTheKindOfTheCurrentResult) {
  EXPECT_EQ(CallBuiltin("max", {S(u"b"), S(u"a")}).str, u"b");
  EXPECT_EQ(CallBuiltin("min", {S(u"b"), S(u"a"), S(u"c")}).str, u"a");
  // A string argument compared with a real result uses its real part (0).
  RValue r = CallBuiltin("min", {R(2), S(u"x")});
  EXPECT_TRUE(r.IsString());
  EXPECT_EQ(r.str, u"x");
  EXPECT_TRUE(CallBuiltin("min", {R(-1), S(u"x")}).IsReal());
  // A real argument compared with a string result uses its string part ("").
  EXPECT_TRUE(CallBuiltin("min", {S(u"b"), R(5)}).IsReal());
  EXPECT_TRUE(CallBuiltin("max", {S(u"b"), R(5)}).IsString());
  // Ties keep the earlier argument.
  RValue first = R(2);
  first.str = u"first";
  RValue second = R(2);
  second.str = u"second";
  EXPECT_EQ(CallBuiltin("min", {first, second}).str, u"first");
  EXPECT_EQ(CallBuiltin("max", {first, second}).str, u"first");
  EXPECT_EQ(CallBuiltin("median", {second, first}).str, u"second");
}

TEST(FunctionMath, Geometry) {
  ExpectReals({
      {"point_distance", {R(0), R(0), R(3), R(4)}, 5},
      {"point_distance", {R(1), R(1), R(1), R(1)}, 0},
      {"point_distance_3d", {R(0), R(0), R(0), R(1), R(2), R(2)}, 3},
      {"point_direction", {R(0), R(0), R(1), R(-1)}, 45},
      {"point_direction", {R(0), R(0), R(1), R(1)}, 315},
      {"point_direction", {R(0), R(0), R(-1), R(0)}, 180},
      {"point_direction", {R(0), R(0), R(0), R(5)}, 270},
      {"point_direction", {R(0), R(0), R(0), R(-5)}, 90},
      {"point_direction", {R(3), R(3), R(3), R(3)}, 0},
      {"point_direction", {R(0), R(0), R(1), R(0)}, 0},
      {"lengthdir_x", {R(10), R(90)}, 0},  // snapped, not 6e-16
      {"lengthdir_y", {R(10), R(90)}, -10},
      {"lengthdir_x", {R(10), R(60)}, 5},
      {"lengthdir_y", {R(10), R(180)}, 0},
      {"lengthdir_x", {R(10), R(45)}, 10 * std::cos(kPi / 4)},
      {"dot_product", {R(1), R(0), R(0), R(1)}, 0},
      {"dot_product", {R(2), R(0), R(3), R(0)}, 1},
      {"dot_product", {R(1), R(1), R(-2), R(-2)}, -1},
      {"dot_product", {R(0), R(0), R(1), R(1)}, 0},  // no length: 0
      {"dot_product_3d", {R(0), R(0), R(2), R(0), R(0), R(5)}, 1},
      {"dot_product_3d", {R(0), R(0), R(0), R(0), R(0), R(5)}, 0},
  });
  EXPECT_EQ(CallBuiltin("lengthdir_x", {R(10), R(90)}).val, 0.0);
}

TEST(FunctionMath, SeededRandomSequence) {
  CallBuiltin("random_set_seed", {R(0)});
  EXPECT_EQ(CallBuiltin("random", {R(1)}).val, 1.0 / 4294967296.0);
  EXPECT_EQ(CallBuiltin("random", {R(1)}).val, 134775814.0 / 4294967296.0);
  CallBuiltin("random_set_seed", {R(0)});
  EXPECT_EQ(CallBuiltin("irandom", {R(5)}).val, 0);  // below 6 from the state 1
  CallBuiltin("random_set_seed", {R(0)});
  EXPECT_EQ(CallBuiltin("random_range", {R(10), R(20)}).val, 10 + 10.0 / 4294967296.0);
  CallBuiltin("random_set_seed", {R(-1)});
  EXPECT_EQ(RandomGetSeed(), 0xFFFFFFFFu);
  EXPECT_EQ(CallBuiltin("random_get_seed", {}).val, -1);
  CallBuiltin("random_set_seed", {R(4294967296.0 + 5)});
  EXPECT_EQ(CallBuiltin("random_get_seed", {}).val, 5);
  CallBuiltin("random_set_seed", {R(2.5)});
  EXPECT_EQ(CallBuiltin("random_get_seed", {}).val, 2);
}

TEST(FunctionMath, ChooseReturnsAnArgumentUnchanged) {
  CallBuiltin("random_set_seed", {R(0)});
  RValue r = CallBuiltin("choose", {S(u"a"), R(2), R(3)});
  EXPECT_TRUE(r.IsString());
  EXPECT_EQ(r.str, u"a");
  EXPECT_EQ(CallBuiltin("choose", {}).val, 0);
  std::set<double> seen;
  for (int i = 0; i < 200; ++i) seen.insert(CallBuiltin("choose", {R(7), R(8), R(9)}).val);
  EXPECT_EQ(seen, (std::set<double>{7, 8, 9}));
}

TEST(FunctionMath, IntegerRandomsStayInTheirRange) {
  CallBuiltin("randomize", {});
  struct Range {
    const char* name;
    std::vector<RValue> args;
    std::set<double> values;
  };
  const Range ranges[] = {
      {"irandom", {R(2.9)}, {0, 1, 2}},
      {"irandom", {R(0)}, {0}},
      {"irandom", {R(-2)}, {-2, -1, 0}},  // negative bound: floor(x) .. 0
      {"irandom_range", {R(3), R(5)}, {3, 4, 5}},
      {"irandom_range", {R(5), R(3)}, {3, 4, 5}},  // bounds in either order
      {"irandom_range", {R(-1.5), R(0.5)}, {-2, -1, 0}},
      {"irandom_range", {R(7), R(7)}, {7}},
  };
  for (const Range& range : ranges) {
    std::set<double> seen;
    for (int i = 0; i < 300; ++i) seen.insert(CallBuiltin(range.name, range.args).val);
    EXPECT_EQ(seen, range.values) << range.name;
  }
  for (int i = 0; i < 100; ++i) {
    double v = CallBuiltin("random", {R(3)}).val;
    EXPECT_GE(v, 0);
    EXPECT_LT(v, 3);
  }
}

struct FailingCase {
  const char* name;
  std::vector<RValue> args;
  const char* message;
};

// Calls that fail report their message through the error routine and
// leave the real 0.
TEST(FunctionMath, FailingCallsReportTheirMessageAndLeaveZero) {
  const FailingCase cases[] = {
      {"sqrt", {R(-1)}, "Cannot apply sqrt to negative number."},
      {"exp", {R(1000)}, "Error in function exp()."},
      {"ln", {R(0)}, "Error in function ln()."},
      {"ln", {R(-1)}, "Error in function ln()."},
      {"log2", {R(0)}, "Error in function log2()."},
      {"log10", {R(-1)}, "Error in function log10()."},
      {"arcsin", {R(2)}, "Error in function arcsin()."},
      {"arccos", {R(-1.5)}, "Error in function arccos()."},
      {"power", {R(0), R(-1)}, "Error in function power()."},
      {"power", {R(-8), R(1.0 / 3)}, "Error in function power()."},
      {"power", {R(10), R(400)}, "Error in function power()."},
      {"logn", {R(1), R(5)}, "Error in function logn()."},
      {"logn", {R(2), R(0)}, "Error in function logn()."},
      {"logn", {R(-2), R(4)}, "Error in function logn()."},
      {"real", {S(u"abc")}, "Error in function real()."},
  };
  ErrorCapture capture;
  for (const FailingCase& c : cases) {
    capture.Reset();
    RValue r = CallBuiltin(c.name, c.args);
    EXPECT_TRUE(r.IsReal()) << c.name;
    EXPECT_EQ(r.val, 0) << c.name;
    EXPECT_TRUE(capture.Occurred()) << c.name;
    EXPECT_EQ(capture.Message(), c.message) << c.name;
  }
  // Calls that succeed report nothing.
  capture.Reset();
  CallBuiltin("exp", {R(700)});
  CallBuiltin("real", {S(u"  ")});
  CallBuiltin("sqrt", {R(0)});
  EXPECT_FALSE(capture.Occurred());
}

// Faults without a message of their own reach the caller as ArithmeticError.
TEST(FunctionMath, UnreportedFaultsRaiseArithmeticError) {
  EXPECT_THROW(CallBuiltin("sqr", {R(1e200)}), ArithmeticError);
  EXPECT_THROW(CallBuiltin("round", {R(1e19)}), ArithmeticError);
  EXPECT_THROW(CallBuiltin("floor", {R(-1e19)}), ArithmeticError);
  EXPECT_THROW(CallBuiltin("mean", {R(1e308), R(1e308)}), ArithmeticError);
  EXPECT_THROW(CallBuiltin("random_range", {R(-1e308), R(1e308)}), ArithmeticError);
  EXPECT_THROW(CallBuiltin("radtodeg", {R(1e307)}), ArithmeticError);
}

}  // namespace
