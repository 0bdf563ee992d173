// function_string.cpp: the builtin functions that convert between reals and
// strings and that search, cut and change strings. Strings are sequences of
// 16-bit characters with positions counted from 1; string arguments are read
// from the string part of a value and numeric ones from the real part,
// whatever the value's kind.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "code/code_error.h"
#include "code/code_function.h"
#include "common/value.h"

namespace {

// Longest string that string_repeat and the padding of string_format build
// (code units); beyond it the call raises std::length_error instead of
// exhausting memory.
constexpr size_t kMaxBuiltLength = size_t{1} << 28;
// string_format writes at most this many significant digits.
constexpr int kFormatDigits = 18;

void SetString(RValue& result, VString text) { result = RValue::String(std::move(text)); }

VString Ascii(const std::string& text) { return FromLatin1(text); }

bool IsUpper(char16_t c) { return c >= u'A' && c <= u'Z'; }
bool IsLower(char16_t c) { return c >= u'a' && c <= u'z'; }
bool IsLetter(char16_t c) { return IsUpper(c) || IsLower(c); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// --- real ------------------------------------------------------------------

// Parses a decimal number: optional sign, digits with an optional ".", an
// optional exponent; blanks around it are allowed. False when the text is
// not such a number or its value is out of range; tiny values become 0.
bool ParseDecimal(const VString& text, double& out) {
  size_t i = 0;
  size_t end = text.size();
  while (i < end && text[i] == u' ') ++i;
  while (end > i && text[end - 1] == u' ') --end;
  std::string ascii;
  if (i < end && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') ascii += '-';
    ++i;
  }
  int mantissa_digits = 0;
  int integer_digits = 0;   // significant digits before the point
  int leading_zeros = 0;    // zeros right after the point before any digit
  bool seen_point = false;
  bool seen_nonzero = false;
  for (; i < end && (IsDigit(text[i]) || (text[i] == u'.' && !seen_point)); ++i) {
    char16_t c = text[i];
    ascii += static_cast<char>(c);
    if (c == u'.') {
      seen_point = true;
      continue;
    }
    ++mantissa_digits;
    if (c != u'0') seen_nonzero = true;
    if (!seen_point && seen_nonzero) ++integer_digits;
    if (seen_point && !seen_nonzero) ++leading_zeros;
  }
  if (mantissa_digits == 0) return false;
  long exponent = 0;
  if (i < end && (text[i] == u'e' || text[i] == u'E')) {
    ascii += 'e';
    ++i;
    bool negative = i < end && text[i] == u'-';
    if (i < end && (text[i] == u'+' || text[i] == u'-')) ascii += static_cast<char>(text[i++]);
    size_t digits_start = i;
    for (; i < end && IsDigit(text[i]); ++i) {
      ascii += static_cast<char>(text[i]);
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - u'0');
    }
    if (i == digits_start) return false;
    if (negative) exponent = -exponent;
  }
  if (i != end) return false;
  auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), out);
  if (ec == std::errc()) return std::isfinite(out);
  if (ec != std::errc::result_out_of_range || !seen_nonzero) return false;
  // Out of range: too large fails, too small is 0.
  long magnitude = integer_digits > 0 ? integer_digits + exponent : exponent - leading_zeros;
  if (magnitude > 0) return false;
  out = 0;
  return true;
}

bool IsBlankText(const VString& text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c == u' '; });
}

void F_Real(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (a[0].IsReal()) {
    r.val = a[0].val;
    return;
  }
  if (IsBlankText(a[0].str)) return;
  double value;
  if (ParseDecimal(a[0].str, value))
    r.val = value;
  else
    Error_Show_Action("Error in function real().", false);
}

// --- string, string_format -------------------------------------------------

void F_String(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetString(r, ValueText(a[0], '.'));
}

// x with `decimals` digits after the point, rounded (halves away from zero)
// on its decimal expansion to at most kFormatDigits significant digits. A
// value that rounds to zero carries no minus sign.
std::string FixedText(double x, int decimals) {
  if (!std::isfinite(x)) return "ERROR";
  std::string digits = "0";
  int point = 1;  // value = 0.digits * 10^point
  if (x != 0) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kFormatDigits - 1, std::fabs(x));
    std::string text = buffer;
    size_t e = text.find('e');
    digits = text.substr(0, 1) + text.substr(2, e - 2);
    point = std::stoi(text.substr(e + 1)) + 1;
    int keep = point + decimals;
    if (keep < 0) {
      digits = "0";
      point = 1;
    } else if (keep < static_cast<int>(digits.size())) {
      bool up = digits[keep] >= '5';
      digits.resize(keep);
      for (int i = keep - 1; up && i >= 0; --i) {
        up = digits[i] == '9';
        digits[i] = up ? '0' : digits[i] + 1;
      }
      if (up) {
        digits.insert(digits.begin(), '1');
        ++point;
      }
    }
  }
  auto digit_at = [&](int i) {
    return i >= 0 && i < static_cast<int>(digits.size()) ? digits[i] : '0';
  };
  std::string out;
  if (point <= 0) out = "0";
  for (int i = 0; i < point; ++i) out += digit_at(i);
  if (decimals > 0) out += '.';
  for (int i = 0; i < decimals; ++i) out += digit_at(point + i);
  if (x < 0 && out.find_first_of("123456789") != std::string::npos) out.insert(0, "-");
  return out;
}

void F_StringFormat(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (a[0].IsString()) {
    SetString(r, a[0].str);
    return;
  }
  int64_t decimals = std::clamp<int64_t>(Round(a[2].val), 0, kFormatDigits);
  std::string text = FixedText(a[0].val, static_cast<int>(decimals));
  int64_t total = Round(a[1].val);
  if (total > static_cast<int64_t>(kMaxBuiltLength))
    throw std::length_error("string_format: result too long");
  if (total > static_cast<int64_t>(text.size())) text.insert(0, total - text.size(), ' ');
  SetString(r, Ascii(text));
}

// --- characters --------------------------------------------------------------

void F_Chr(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetString(r, VString(1, static_cast<char16_t>(Round(a[0].val))));
}

void F_Ord(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (!a[0].str.empty()) r.val = a[0].str[0];
}

void F_StringLength(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r.val = static_cast<double>(a[0].str.size());
}

// --- searching, cutting, inserting -------------------------------------------

void F_StringPos(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const VString& sub = a[0].str;
  if (sub.empty()) return;
  size_t at = a[1].str.find(sub);
  if (at != VString::npos) r.val = static_cast<double>(at + 1);
}

// The characters from position index (clamped into the string), at most count.
VString Copy(const VString& str, double index, double count) {
  int64_t length = static_cast<int64_t>(str.size());
  int64_t start = std::clamp<int64_t>(Round(index) - 1, 0, length);
  int64_t n = std::clamp<int64_t>(Round(count), 0, length - start);
  return str.substr(static_cast<size_t>(start), static_cast<size_t>(n));
}

void F_StringCopy(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetString(r, Copy(a[0].str, a[1].val, a[2].val));
}

void F_StringCharAt(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetString(r, Copy(a[0].str, a[1].val, 1));
}

void F_StringDelete(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  VString str = a[0].str;
  int64_t length = static_cast<int64_t>(str.size());
  int64_t index = Round(a[1].val);
  int64_t count = Round(a[2].val);
  if (index >= 1 && index <= length && count > 0)
    str.erase(static_cast<size_t>(index - 1),
              static_cast<size_t>(std::min(count, length - index + 1)));
  SetString(r, std::move(str));
}

void F_StringInsert(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  VString str = a[1].str;
  int64_t at = std::clamp<int64_t>(Round(a[2].val) - 1, 0, static_cast<int64_t>(str.size()));
  str.insert(static_cast<size_t>(at), a[0].str);
  SetString(r, std::move(str));
}

// --- case and filters ----------------------------------------------------------

template <bool Upper>
void ChangeCase(RValue& r, const VString& source) {
  VString str = source;
  for (char16_t& c : str) {
    if (Upper && IsLower(c)) c = c - u'a' + u'A';
    if (!Upper && IsUpper(c)) c = c - u'A' + u'a';
  }
  SetString(r, std::move(str));
}

void F_StringLower(RValue& r, CInstance*, CInstance*, int, RValue* a) { ChangeCase<false>(r, a[0].str); }
void F_StringUpper(RValue& r, CInstance*, CInstance*, int, RValue* a) { ChangeCase<true>(r, a[0].str); }

void F_StringRepeat(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const VString& str = a[0].str;
  int64_t count = Round(a[1].val);
  VString out;
  if (count > 0 && !str.empty()) {
    if (static_cast<uint64_t>(count) > kMaxBuiltLength / str.size())
      throw std::length_error("string_repeat: result too long");
    out.reserve(str.size() * static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) out += str;
  }
  SetString(r, std::move(out));
}

template <bool (*Keep)(char16_t)>
void Filter(RValue& r, const VString& source) {
  VString out;
  for (char16_t c : source)
    if (Keep(c)) out += c;
  SetString(r, std::move(out));
}

bool IsLetterOrDigit(char16_t c) { return IsLetter(c) || IsDigit(c); }

void F_StringLetters(RValue& r, CInstance*, CInstance*, int, RValue* a) { Filter<IsLetter>(r, a[0].str); }
void F_StringDigits(RValue& r, CInstance*, CInstance*, int, RValue* a) { Filter<IsDigit>(r, a[0].str); }
void F_StringLettersDigits(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  Filter<IsLetterOrDigit>(r, a[0].str);
}

// --- replacing and counting ------------------------------------------------------

// Replaces the first (or every) occurrence, scanning left to right without
// overlap. An empty pattern changes nothing.
VString Replace(const VString& str, const VString& sub, const VString& with, bool all) {
  if (sub.empty()) return str;
  VString out;
  size_t from = 0;
  for (size_t at; (at = str.find(sub, from)) != VString::npos;) {
    out.append(str, from, at - from);
    out += with;
    from = at + sub.size();
    if (!all) break;
  }
  out.append(str, from, VString::npos);
  return out;
}

void F_StringReplace(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetString(r, Replace(a[0].str, a[1].str, a[2].str, false));
}

void F_StringReplaceAll(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetString(r, Replace(a[0].str, a[1].str, a[2].str, true));
}

void F_StringCount(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const VString& sub = a[0].str;
  if (sub.empty()) return;
  size_t count = 0;
  for (size_t at = a[1].str.find(sub); at != VString::npos; at = a[1].str.find(sub, at + sub.size()))
    ++count;
  r.val = static_cast<double>(count);
}

}  // namespace

void Function_RegisterString() {
  Function_Add("real", F_Real, 1);
  Function_Add("string", F_String, 1);
  Function_Add("string_format", F_StringFormat, 3);
  Function_Add("chr", F_Chr, 1);
  Function_Add("ord", F_Ord, 1);
  Function_Add("string_length", F_StringLength, 1);
  Function_Add("string_pos", F_StringPos, 2);
  Function_Add("string_copy", F_StringCopy, 3);
  Function_Add("string_char_at", F_StringCharAt, 2);
  Function_Add("string_delete", F_StringDelete, 3);
  Function_Add("string_insert", F_StringInsert, 3);
  Function_Add("string_lower", F_StringLower, 1);
  Function_Add("string_upper", F_StringUpper, 1);
  Function_Add("string_repeat", F_StringRepeat, 2);
  Function_Add("string_letters", F_StringLetters, 1);
  Function_Add("string_digits", F_StringDigits, 1);
  Function_Add("string_lettersdigits", F_StringLettersDigits, 1);
  Function_Add("string_replace", F_StringReplace, 3);
  Function_Add("string_replace_all", F_StringReplaceAll, 3);
  Function_Add("string_count", F_StringCount, 2);
}
