// value.h: RValue, the one value type of game code and every builtin, with
// the shared conversion rules: the truth test, rounding halves to even, and
// the text form of reals. Also the text conversions between the runner's
// 16-bit strings and the platform's UTF-8 / Latin-1 byte strings.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Strings of game code are sequences of 16-bit code units.
using VString = std::u16string;

enum : int32_t { VALUE_REAL = 0, VALUE_STRING = 1 };

struct RValue {
  int32_t kind = VALUE_REAL;
  double val = 0.0;
  VString str;

  static RValue Real(double v) {
    RValue r;
    r.val = v;
    return r;
  }
  static RValue String(VString s) {
    RValue r;
    r.kind = VALUE_STRING;
    r.str = std::move(s);
    return r;
  }
  bool IsString() const { return kind == VALUE_STRING; }
  bool IsReal() const { return kind == VALUE_REAL; }
};

// An arithmetic fault of the floating-point unit (invalid operation, division
// by zero, overflow). Raised instead of letting NaN or infinity into a value;
// the builtin or operator that caused it catches it and reports its message.
class ArithmeticError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// True when v >= 0.5; every negative number and NaN is false.
inline bool IsTrue(double v) { return v >= 0.5; }

// Rounds to the nearest integer, halves to the even neighbour. Returns false
// (leaving out untouched) when |x| >= 2^63 or x is NaN.
bool TryRound(double x, int64_t& out);

// Rounds as TryRound; raises ArithmeticError("invalid operation") on failure.
int64_t Round(double x);

// Rounds, then narrows to 32 bits (indices, counts, ids, colours).
int32_t ToInt32(double x);

// Text form of a real with the given decimal separator: integers without a
// point, others with two decimals (at most 10 significant digits), the
// scientific form beyond 10 integer digits, and "ERROR" when the value cannot
// be rounded.
std::string RealText(double x, char decimal_separator = '.');

// Text form of a value: a string is itself, a real is RealText.
VString ValueText(const RValue& v, char decimal_separator = '.');

// Conversions at the platform boundary.
std::string ToUtf8(const VString& s);
// Invalid UTF-8 falls back to one character per byte.
VString FromUtf8(std::string_view s);
VString FromLatin1(std::string_view s);
inline VString FromAscii(const char* s) { return FromLatin1(s); }
// Keeps the low 8 bits of each code unit.
std::string ToLatin1(const VString& s);
