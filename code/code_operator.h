// code_operator.h: the unary and binary operators of game code on RValues:
// arithmetic, string concatenation and repetition, div and mod, logical and
// bitwise operators, shifts and comparisons with the absolute tolerance
// 1e-13. Errors go through CodeError at the position the caller passes; the
// operand is then left unchanged. Results never hold NaN or infinity: such a
// result is reported as an arithmetic fault.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/value.h"

class CCode;

constexpr double kCompareTolerance = 1e-13;
// Longest string (in code units) that + and * may build.
constexpr size_t kMaxStringLength = size_t{1} << 27;

// Replaces v by op v.
bool Code_Unary(const CCode& code, int position, int op, RValue& v);
// Replaces l by l op r.
bool Code_Binary(const CCode& code, int position, int op, RValue& l, const RValue& r);

// Fast path of the interpreter for two reals and the common operators:
// true when it computed a finite result into l; false means "use
// Code_Binary" (other operators, errors, faults).
[[gnu::always_inline]] inline bool Code_BinaryRealFast(int op, double& l, double r) {
  double x;
  switch (op) {
    case 210: x = l + r; break;
    case 211: x = l - r; break;
    case 212: x = l * r; break;
    case 213:
      if (r == 0.0) return false;
      x = l / r;
      break;
    case 214:
      if (r == 0.0) return false;
      x = std::trunc(l / r);
      break;
    case 215: {
      if (r == 0.0) return false;
      if (std::fabs(l) < 0x1p53 && std::fabs(r) < 0x1p53) {
        // Whole operands: the rounded quotient truncates to the exact one,
        // so the remainder is exact in integers (a zero one is +0, as below).
        int64_t li = static_cast<int64_t>(l);
        int64_t ri = static_cast<int64_t>(r);
        if (static_cast<double>(li) == l && static_cast<double>(ri) == r) {
          int64_t qi = static_cast<int64_t>(l / r);
          l = static_cast<double>(li - qi * ri);
          return true;
        }
      }
      double q = std::trunc(l / r);
      if (!std::isfinite(q)) return false;
      x = std::fma(-q, r, l);
      break;
    }
    case 201: l = (IsTrue(l) && IsTrue(r)) ? 1.0 : 0.0; return true;
    case 202: l = (IsTrue(l) || IsTrue(r)) ? 1.0 : 0.0; return true;
    case 216: l = (IsTrue(l) != IsTrue(r)) ? 1.0 : 0.0; return true;
    case 204: l = (l - r) < -kCompareTolerance ? 1.0 : 0.0; return true;
    case 205: l = (l - r) <= kCompareTolerance ? 1.0 : 0.0; return true;
    case 101:
    case 206: {
      double d = l - r;
      l = (d > -kCompareTolerance && d < kCompareTolerance) ? 1.0 : 0.0;
      return true;
    }
    case 207: {
      double d = l - r;
      l = (d < -kCompareTolerance || d > kCompareTolerance) ? 1.0 : 0.0;
      return true;
    }
    case 208: l = (l - r) >= -kCompareTolerance ? 1.0 : 0.0; return true;
    case 209: l = (l - r) > kCompareTolerance ? 1.0 : 0.0; return true;
    default: return false;
  }
  if (!std::isfinite(x)) return false;
  l = x;
  return true;
}
