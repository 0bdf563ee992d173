// function_math.cpp: the builtin functions for type tests, randomness,
// rounding, arithmetic, trigonometry, min/max/mean/median and plane
// geometry. A result that would be NaN or infinite is never stored: the
// functions with a message of their own report it and leave the result 0;
// the others raise ArithmeticError for the caller to handle.
#include <cmath>
#include <cstdint>
#include <numbers>

#include "code/code_error.h"
#include "code/code_function.h"
#include "common/random.h"
#include "common/value.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTolerance = 1e-13;  // sign's zero band
constexpr double kSnap = 0.0001;      // lengthdir snaps to integers this close

// Stores v, or reports message and keeps the 0 when the arithmetic failed.
void SetChecked(RValue& result, double v, const char* message) {
  if (std::isfinite(v))
    result.val = v;
  else
    Error_Show_Action(message, false);
}

// v when finite; a fault of the arithmetic otherwise.
double Checked(double v) {
  if (std::isnan(v)) throw ArithmeticError("invalid operation");
  if (std::isinf(v)) throw ArithmeticError("overflow");
  return v;
}

// The integer part of x as a 64-bit integer, then its low 32 bits.
uint32_t TruncLow32(double t) {
  if (!(std::fabs(t) < 9223372036854775808.0)) throw ArithmeticError("invalid operation");
  return static_cast<uint32_t>(static_cast<int64_t>(t));
}

// 32-bit floor: the truncated integer part, one less for a negative fraction.
int32_t Floor32(double x) {
  double t = std::trunc(x);
  uint32_t r = TruncLow32(t);
  if (x - t < 0) r -= 1;
  return static_cast<int32_t>(r);
}

// 32-bit ceiling: the truncated integer part, one more for a positive fraction.
int32_t Ceil32(double x) {
  double t = std::trunc(x);
  uint32_t r = TruncLow32(t);
  if (x - t > 0) r += 1;
  return static_cast<int32_t>(r);
}

// A random integer from low to high inclusive (either order).
double RandomBetween(int64_t low, int64_t high) {
  if (high < low) std::swap(low, high);
  int64_t span = high - low + 1;  // 1 .. 2^32
  uint32_t n = span > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(span);
  return static_cast<double>(low + RandomInt(n));
}

double Degrees(double radians) { return radians * 180.0 / kPi; }
double Radians(double degrees) { return degrees * kPi / 180.0; }

// --- type tests, randomness, rounding ----------------------------------------

void F_IsReal(RValue& r, CInstance*, CInstance*, int, RValue* a) { r.val = a[0].IsReal(); }
void F_IsString(RValue& r, CInstance*, CInstance*, int, RValue* a) { r.val = a[0].IsString(); }

void F_Random(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Checked(RandomReal() * a[0].val);
}

void F_RandomRange(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Checked(a[0].val + RandomReal() * Checked(a[1].val - a[0].val));
}

// 0 .. floor(x); a negative x draws from floor(x) .. 0.
void F_IRandom(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = RandomBetween(0, Floor32(a[0].val));
}

// floor(x1) .. floor(x2); the order of the bounds does not matter.
void F_IRandomRange(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = RandomBetween(Floor32(a[0].val), Floor32(a[1].val));
}

void F_RandomSetSeed(RValue&, CInstance*, CInstance*, int, RValue* a) {
  RandomSetSeed(static_cast<uint32_t>(Round(a[0].val)));
}

void F_RandomGetSeed(RValue& r, CInstance*, CInstance*, int, RValue*) {
  r.val = static_cast<int32_t>(RandomGetSeed());
}

void F_Randomize(RValue&, CInstance*, CInstance*, int, RValue*) { RandomSeedFromClock(); }

void F_Choose(RValue& r, CInstance*, CInstance*, int argc, RValue* a) {
  if (argc > 0) r = a[RandomInt(static_cast<uint32_t>(argc))];
}

void F_Abs(RValue& r, CInstance*, CInstance*, int, RValue* a) { r.val = std::fabs(a[0].val); }

void F_Round(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = static_cast<double>(Round(a[0].val));
}

void F_Floor(RValue& r, CInstance*, CInstance*, int, RValue* a) { r.val = Floor32(a[0].val); }
void F_Ceil(RValue& r, CInstance*, CInstance*, int, RValue* a) { r.val = Ceil32(a[0].val); }

void F_Sign(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  double x = a[0].val;
  r.val = x <= -kTolerance ? -1 : (x < kTolerance ? 0 : 1);
}

void F_Frac(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = a[0].val - std::trunc(a[0].val);
}

// --- arithmetic and trigonometry ---------------------------------------------

void F_Sqrt(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (a[0].val < 0) {
    Error_Show_Action("Cannot apply sqrt to negative number.", false);
    return;
  }
  r.val = std::sqrt(a[0].val);
}

void F_Sqr(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Checked(a[0].val * a[0].val);
}

void F_Exp(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::exp(a[0].val), "Error in function exp().");
}

void F_Ln(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::log(a[0].val), "Error in function ln().");
}

void F_Log2(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::log2(a[0].val), "Error in function log2().");
}

void F_Log10(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::log10(a[0].val), "Error in function log10().");
}

void F_Sin(RValue& r, CInstance*, CInstance*, int, RValue* a) { r.val = std::sin(a[0].val); }
void F_Cos(RValue& r, CInstance*, CInstance*, int, RValue* a) { r.val = std::cos(a[0].val); }
void F_Tan(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Checked(std::tan(a[0].val));
}

void F_Arcsin(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::asin(a[0].val), "Error in function arcsin().");
}

void F_Arccos(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::acos(a[0].val), "Error in function arccos().");
}

void F_Arctan(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::atan(a[0].val), "Error in function arctan().");
}

void F_Arctan2(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::atan2(a[0].val, a[1].val), "Error in function arctan2().");
}

void F_DegToRad(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Checked(Radians(a[0].val));
}

void F_RadToDeg(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Checked(Degrees(a[0].val));
}

void F_Power(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::pow(a[0].val, a[1].val), "Error in function power().");
}

void F_Logn(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetChecked(r, std::log2(a[1].val) / std::log2(a[0].val), "Error in function logn().");
}

// --- min, max, mean, median ---------------------------------------------------

// The kind of the current result decides the comparison; ties keep it.
template <bool Larger>
void PickExtreme(RValue& r, int argc, const RValue* a) {
  if (argc <= 0) return;
  const RValue* best = &a[0];
  for (int i = 1; i < argc; ++i) {
    bool replace;
    if (best->IsString())
      replace = Larger ? a[i].str > best->str : a[i].str < best->str;
    else
      replace = Larger ? a[i].val > best->val : !(a[i].val >= best->val);
    if (replace) best = &a[i];
  }
  r = *best;
}

void F_Min(RValue& r, CInstance*, CInstance*, int argc, RValue* a) { PickExtreme<false>(r, argc, a); }
void F_Max(RValue& r, CInstance*, CInstance*, int argc, RValue* a) { PickExtreme<true>(r, argc, a); }
void F_Min3(RValue& r, CInstance*, CInstance*, int, RValue* a) { PickExtreme<false>(r, 3, a); }
void F_Max3(RValue& r, CInstance*, CInstance*, int, RValue* a) { PickExtreme<true>(r, 3, a); }

void F_Mean(RValue& r, CInstance*, CInstance*, int argc, RValue* a) {
  if (argc <= 0) return;
  double sum = 0;
  for (int i = 0; i < argc; ++i) sum = Checked(sum + a[i].val);
  r.val = sum / argc;
}

// The first argument q with L < count / 2 <= E, where L counts the arguments
// below q and E those at most q: for an even count the lower middle value.
void F_Median(RValue& r, CInstance*, CInstance*, int argc, RValue* a) {
  double half = argc / 2.0;
  for (int i = 0; i < argc; ++i) {
    int below = 0;
    int at_most = 0;
    for (int j = 0; j < argc; ++j) {
      below += a[j].val < a[i].val;
      at_most += a[j].val <= a[i].val;
    }
    if (below < half && half <= at_most) {
      r = a[i];
      return;
    }
  }
}

// --- geometry ----------------------------------------------------------------

void F_PointDistance(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Checked(std::hypot(a[2].val - a[0].val, a[3].val - a[1].val));
}

void F_PointDistance3d(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Checked(std::hypot(a[3].val - a[0].val, a[4].val - a[1].val, a[5].val - a[2].val));
}

void F_PointDirection(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  double dx = Checked(a[2].val - a[0].val);
  double dy = Checked(a[3].val - a[1].val);
  if (dx == 0) {
    r.val = dy > 0 ? 270 : (dy < 0 ? 90 : 0);
    return;
  }
  double angle = Degrees(std::atan2(dy, dx));
  r.val = angle > 0 ? 360 - angle : -angle;
}

// Values within kSnap of an integer become that integer, so that a right
// angle gives exactly 0.
double Snapped(double v) {
  double nearest = std::nearbyint(v);
  return std::fabs(v - nearest) < kSnap ? nearest : v;
}

void F_LengthdirX(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Snapped(Checked(a[0].val * std::cos(Radians(a[1].val))));
}

void F_LengthdirY(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = Snapped(Checked(-a[0].val * std::sin(Radians(a[1].val))));
}

// The cosine of the angle between the vectors; 0 when one has no length.
double CosineBetween(double dot, double length1, double length2) {
  double product = Checked(length1 * length2);
  return product == 0 ? 0 : Checked(dot / product);
}

void F_DotProduct(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  double dot = Checked(a[0].val * a[2].val + a[1].val * a[3].val);
  r.val = CosineBetween(dot, std::hypot(a[0].val, a[1].val), std::hypot(a[2].val, a[3].val));
}

void F_DotProduct3d(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  double dot = Checked(a[0].val * a[3].val + a[1].val * a[4].val + a[2].val * a[5].val);
  r.val = CosineBetween(dot, std::hypot(a[0].val, a[1].val, a[2].val),
                        std::hypot(a[3].val, a[4].val, a[5].val));
}

}  // namespace

void Function_RegisterMath() {
  Function_Add("is_real", F_IsReal, 1);
  Function_Add("is_string", F_IsString, 1);
  Function_Add("random", F_Random, 1);
  Function_Add("random_range", F_RandomRange, 2);
  Function_Add("irandom", F_IRandom, 1);
  Function_Add("irandom_range", F_IRandomRange, 2);
  Function_Add("random_set_seed", F_RandomSetSeed, 1);
  Function_Add("random_get_seed", F_RandomGetSeed, 0);
  Function_Add("randomize", F_Randomize, 0);
  Function_Add("choose", F_Choose, -1);
  Function_Add("abs", F_Abs, 1);
  Function_Add("round", F_Round, 1);
  Function_Add("floor", F_Floor, 1);
  Function_Add("ceil", F_Ceil, 1);
  Function_Add("sign", F_Sign, 1);
  Function_Add("frac", F_Frac, 1);
  Function_Add("sqrt", F_Sqrt, 1);
  Function_Add("sqr", F_Sqr, 1);
  Function_Add("exp", F_Exp, 1);
  Function_Add("ln", F_Ln, 1);
  Function_Add("log2", F_Log2, 1);
  Function_Add("log10", F_Log10, 1);
  Function_Add("sin", F_Sin, 1);
  Function_Add("cos", F_Cos, 1);
  Function_Add("tan", F_Tan, 1);
  Function_Add("arcsin", F_Arcsin, 1);
  Function_Add("arccos", F_Arccos, 1);
  Function_Add("arctan", F_Arctan, 1);
  Function_Add("arctan2", F_Arctan2, 2);
  Function_Add("degtorad", F_DegToRad, 1);
  Function_Add("radtodeg", F_RadToDeg, 1);
  Function_Add("power", F_Power, 2);
  Function_Add("logn", F_Logn, 2);
  Function_Add("min", F_Min, -1);
  Function_Add("max", F_Max, -1);
  Function_Add("min3", F_Min3, 3);
  Function_Add("max3", F_Max3, 3);
  Function_Add("mean", F_Mean, -1);
  Function_Add("median", F_Median, -1);
  Function_Add("point_distance", F_PointDistance, 4);
  Function_Add("point_distance_3d", F_PointDistance3d, 6);
  Function_Add("point_direction", F_PointDirection, 4);
  Function_Add("lengthdir_x", F_LengthdirX, 2);
  Function_Add("lengthdir_y", F_LengthdirY, 2);
  Function_Add("dot_product", F_DotProduct, 4);
  Function_Add("dot_product_3d", F_DotProduct3d, 6);
}
