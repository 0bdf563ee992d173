// value.cpp: the shared conversion rules of RValue (rounding, the text form of
// reals) and the text conversions between 16-bit strings and UTF-8 / Latin-1.
#include "common/value.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>

namespace {

constexpr double kTwoPow63 = 9223372036854775808.0;

// Significant digits taken from the binary value before any decimal rounding.
constexpr int kExpansionDigits = 18;
// Significant digits a fixed or scientific text keeps at most.
constexpr int kTextDigits = 10;
constexpr int kFixedDecimals = 2;

// The decimal digits of a non-negative finite x: x = 0.d0 d1 d2 ... * 10^(exp+1),
// i.e. d0 is the digit of 10^exp. digits holds kExpansionDigits characters.
struct DecimalExpansion {
  char digits[kExpansionDigits + 1];
  int exp;
};

DecimalExpansion Expand(double x) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.*e", kExpansionDigits - 1, x);
  DecimalExpansion d{};
  d.digits[0] = buf[0];
  std::memcpy(d.digits + 1, buf + 2, kExpansionDigits - 1);
  d.digits[kExpansionDigits] = '\0';
  d.exp = std::atoi(std::strchr(buf, 'e') + 1);
  return d;
}

// Keeps the first keep digits of d, rounding half away from zero on the next
// digit of the expansion. Returns the kept digits (empty when the value
// rounds to zero); exp is raised when the rounding carries into a new digit.
std::string RoundDigits(const DecimalExpansion& d, int keep, int& exp) {
  exp = d.exp;
  if (keep < 0) return {};
  std::string kept(d.digits, keep);
  if (keep >= kExpansionDigits || d.digits[keep] < '5') return kept;
  int i = keep - 1;
  while (i >= 0 && kept[i] == '9') kept[i--] = '0';
  if (i >= 0) {
    ++kept[i];
  } else {
    // All nines (or nothing) kept: the carry makes a new leading digit.
    kept = "1" + kept.substr(0, kept.empty() ? 0 : kept.size() - 1);
    ++exp;
  }
  return kept;
}

// One digit, the separator and the remaining digits without trailing zeros,
// then "E", the sign of a negative exponent and at least two exponent digits.
std::string ScientificText(bool negative, std::string digits, int exp, char sep) {
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = negative ? "-" : "";
  out += digits[0];
  if (digits.size() > 1) {
    out += sep;
    out.append(digits, 1, std::string::npos);
  }
  char e[16];
  std::snprintf(e, sizeof e, "E%s%02d", exp < 0 ? "-" : "", std::abs(exp));
  return out + e;
}

// digits is the value's leading digits, the first one standing for 10^exp.
std::string FixedText(bool negative, const std::string& digits, int exp, char sep) {
  std::string integer, fraction;
  for (int place = std::max(exp, 0); place >= -kFixedDecimals; --place) {
    int index = exp - place;
    char c = (index >= 0 && index < static_cast<int>(digits.size())) ? digits[index] : '0';
    (place >= 0 ? integer : fraction) += c;
  }
  // A negative value whose text is all zeros is written without the minus
  // sign: "-0.00" would suggest a value that the text cannot show.
  bool all_zero = integer.find_first_not_of('0') == std::string::npos &&
                  fraction.find_first_not_of('0') == std::string::npos;
  std::string out = (negative && !all_zero) ? "-" : "";
  return out + integer + sep + fraction;
}

}  // namespace

bool TryRound(double x, int64_t& out) {
  if (!(std::fabs(x) < kTwoPow63)) return false;  // also NaN
  double lower = std::floor(x);
  double diff = x - lower;  // exact for every double
  double r = lower;
  if (diff > 0.5) {
    r = lower + 1.0;
  } else if (diff == 0.5) {
    // Halves go to the even neighbour.
    if (std::fmod(lower, 2.0) != 0.0) r = lower + 1.0;
  }
  if (!(std::fabs(r) < kTwoPow63)) return false;  // 2^63 - 0.5 rounds up out of range
  out = static_cast<int64_t>(r);
  return true;
}

int64_t Round(double x) {
  int64_t n;
  if (!TryRound(x, n)) throw ArithmeticError("invalid operation");
  return n;
}

// Narrowing keeps the low 32 bits, as a 32-bit integer slot receiving a
// 64-bit one does.
int32_t ToInt32(double x) { return static_cast<int32_t>(Round(x)); }

std::string RealText(double x, char decimal_separator) {
  int64_t n;
  if (!TryRound(x, n)) return "ERROR";
  if (static_cast<double>(n) == x) return std::to_string(n);

  // The value is rounded once, on its decimal expansion, to at most 10
  // significant digits and at most two decimals; ties go away from zero.
  bool negative = x < 0;
  DecimalExpansion d = Expand(std::fabs(x));
  int keep = std::min(kTextDigits, d.exp + 1 + kFixedDecimals);
  int exp;
  std::string digits = RoundDigits(d, keep, exp);
  if (digits.empty()) return FixedText(false, "0", 0, decimal_separator);
  if (exp + 1 > kTextDigits) return ScientificText(negative, digits, exp, decimal_separator);
  return FixedText(negative, digits, exp, decimal_separator);
}

VString ValueText(const RValue& v, char decimal_separator) {
  if (v.IsString()) return v.str;
  return FromLatin1(RealText(v.val, decimal_separator));
}

std::string ToUtf8(const VString& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDFFF) {
      bool pair = c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF;
      if (pair) {
        c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
      } else {
        c = 0xFFFD;  // a lone surrogate has no UTF-8 form
      }
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

namespace {

// Decodes one UTF-8 sequence at s[i]; returns false for an invalid, overlong,
// surrogate or out-of-range sequence.
bool DecodeUtf8(std::string_view s, size_t& i, uint32_t& c) {
  uint8_t b = static_cast<uint8_t>(s[i]);
  int extra;
  uint32_t min;
  if (b < 0x80) {
    c = b;
    ++i;
    return true;
  } else if ((b & 0xE0) == 0xC0) {
    extra = 1, c = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    extra = 2, c = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    extra = 3, c = b & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (s.size() - i <= static_cast<size_t>(extra)) return false;
  for (int k = 1; k <= extra; ++k) {
    uint8_t t = static_cast<uint8_t>(s[i + k]);
    if ((t & 0xC0) != 0x80) return false;
    c = (c << 6) | (t & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  i += extra + 1;
  return true;
}

}  // namespace

VString FromUtf8(std::string_view s) {
  VString out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    uint32_t c;
    if (!DecodeUtf8(s, i, c)) return FromLatin1(s);
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
  }
  return out;
}

VString FromLatin1(std::string_view s) {
  VString out(s.size(), u'\0');
  for (size_t i = 0; i < s.size(); ++i) out[i] = static_cast<uint8_t>(s[i]);
  return out;
}

std::string ToLatin1(const VString& s) {
  std::string out(s.size(), '\0');
  for (size_t i = 0; i < s.size(); ++i) out[i] = static_cast<char>(s[i] & 0xFF);
  return out;
}
