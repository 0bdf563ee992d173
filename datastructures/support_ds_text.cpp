// support_ds_text.cpp: the comparison of values shared by every container,
// its precision, and the reading and writing of the text form.
#include "datastructures/support_ds_text.h"

#include <cmath>
#include <string>

#include "datastructures/support_data_structures.h"

namespace {
double g_precision = 0.00000001;
}  // namespace

double DS_GetPrecision() { return g_precision; }

void DS_SetPrecision(double p) { g_precision = std::isnan(p) ? 0.0 : std::fabs(p); }

int DS_Compare(const RValue& a, const RValue& b) {
  bool as = a.IsString(), bs = b.IsString();
  if (as != bs) return as ? 1 : -1;
  if (as) {
    int c = a.str.compare(b.str);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  double d = std::fabs(a.val - b.val);
  double limit = g_precision;
  if (limit <= 0.0) limit = std::fmax(std::fmin(std::fabs(a.val), std::fabs(b.val)) * 1e-12, 1e-12);
  if (d <= limit) return 0;
  return a.val < b.val ? -1 : 1;
}

void DSTextWriter::Value(const RValue& v) {
  stream_.WriteInteger(v.IsString() ? VALUE_STRING : VALUE_REAL);
  stream_.WriteReal(v.val);
  // A real carries no text, whatever its string part was left holding.
  stream_.WriteString(v.IsString() ? v.str : VString());
}

VString DSTextWriter::Text() const {
  std::string hex = stream_.ConvertToString();
  return VString(hex.begin(), hex.end());
}

DSTextReader::DSTextReader(const VString& text) {
  std::string bytes(text.size() & ~size_t{1}, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    // A unit above 7F is no digit; narrowing it could make one.
    if (text[i] > 0x7F) throw DSTextError("Data structure text is not hexadecimal.");
    bytes[i] = static_cast<char>(text[i]);
  }
  try {
    stream_.ConvertFromString(bytes);
  } catch (const StreamFormatError&) {
    throw DSTextError("Data structure text is not hexadecimal.");
  }
}

bool DSTextReader::Magic(int32_t magic) {
  if (Remaining() < 4) return false;
  return stream_.ReadInteger() == magic;
}

int32_t DSTextReader::Integer() {
  if (Remaining() < 4) throw DSTextError("Data structure text ends early.");
  return stream_.ReadInteger();
}

size_t DSTextReader::Count(size_t item_bytes) {
  int32_t n = Integer();
  if (n < 0 || static_cast<size_t>(n) > Remaining() / item_bytes)
    throw DSTextError("Data structure text ends early.");
  return static_cast<size_t>(n);
}

RValue DSTextReader::Value() {
  if (Remaining() < kDSValueBytes) throw DSTextError("Data structure text ends early.");
  RValue v;
  v.kind = stream_.ReadInteger();
  if (v.kind != VALUE_REAL && v.kind != VALUE_STRING)
    throw DSTextError("Data structure text holds a value of unknown kind.");
  v.val = stream_.ReadReal();
  try {
    v.str = stream_.ReadString();
  } catch (const StreamReadError&) {
    throw DSTextError("Data structure text ends early.");
  }
  return v;
}
