// code_operator.cpp: the operator routines.
#include "code/code_operator.h"

#include <string>

#include "code/code_errortext.h"

namespace {

const char* OperatorText(int op) {
  switch (op) {
    case 210: return "+";
    case 211: return "-";
    case 212: return "*";
    case 213: return "/";
    case 214: return "div";
    case 215: return "mod";
    case 201: return "&&";
    case 202: return "||";
    case 216: return "^^";
    case 217: return "|";
    case 218: return "&";
    case 219: return "^";
    case 221: return "<<";
    case 222: return ">>";
    default: return "?";
  }
}

bool Fail(const CCode& code, int position, const std::string& message) {
  CodeError(code, position, message);
  return false;
}

bool WrongArguments(const CCode& code, int position, int op) {
  bool arithmetic = op >= 210 && op <= 215;
  std::string text = arithmetic ? "Wrong type of arguments to " : "Wrong type of arguments for ";
  return Fail(code, position, text + OperatorText(op) + ".");
}

// A result that left the finite doubles is an arithmetic fault.
bool Store(const CCode& code, int position, int op, RValue& l, double x) {
  if (std::isnan(x)) {
    return Fail(code, position, std::string("Invalid arithmetic operation in ") + OperatorText(op) + ".");
  }
  if (std::isinf(x)) {
    return Fail(code, position, std::string("Arithmetic overflow in ") + OperatorText(op) + ".");
  }
  l.val = x;
  return true;
}

bool ToInteger(const CCode& code, int position, int op, double x, int64_t& out) {
  if (TryRound(x, out)) return true;
  return Fail(code, position, std::string("Invalid arithmetic operation in ") + OperatorText(op) + ".");
}

// Shift count from the low 8 bits b of the right operand: 0..63 shift by b,
// 64..127 give 0, 128..255 shift by b mod 32. -1 means "result 0".
int ShiftCount(int64_t r) {
  int b = static_cast<int>(static_cast<uint64_t>(r) & 0xFF);
  if (b < 64) return b;
  if (b < 128) return -1;
  return b % 32;
}

int CompareStrings(const VString& a, const VString& b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool Compare(int op, double d) {
  switch (op) {
    case 204: return d < -kCompareTolerance;
    case 205: return d <= kCompareTolerance;
    case 101:
    case 206: return d > -kCompareTolerance && d < kCompareTolerance;
    case 207: return d < -kCompareTolerance || d > kCompareTolerance;
    case 208: return d >= -kCompareTolerance;
    default: return d > kCompareTolerance;  // 209
  }
}

bool Repeat(const CCode& code, int position, RValue& l, const RValue& r) {
  int64_t count;
  if (!ToInteger(code, position, 212, l.val, count)) return false;
  VString out;
  if (count > 0 && !r.str.empty()) {
    if (static_cast<uint64_t>(count) > kMaxStringLength / r.str.size())
      return Fail(code, position, "String too long.");
    out.reserve(r.str.size() * static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) out += r.str;
  }
  l = RValue::String(std::move(out));
  return true;
}

bool Concatenate(const CCode& code, int position, RValue& l, const RValue& r) {
  if (l.str.size() + r.str.size() > kMaxStringLength) return Fail(code, position, "String too long.");
  l.str += r.str;
  return true;
}

bool Bitwise(const CCode& code, int position, int op, RValue& l, const RValue& r) {
  int64_t a, b;
  if (!ToInteger(code, position, op, l.val, a) || !ToInteger(code, position, op, r.val, b))
    return false;
  uint64_t ua = static_cast<uint64_t>(a);
  uint64_t result;
  switch (op) {
    case 217: result = ua | static_cast<uint64_t>(b); break;
    case 218: result = ua & static_cast<uint64_t>(b); break;
    case 219: result = ua ^ static_cast<uint64_t>(b); break;
    default: {  // shifts
      int count = ShiftCount(b);
      if (count < 0) result = 0;
      else result = op == 221 ? ua << count : ua >> count;
      break;
    }
  }
  l.val = static_cast<double>(static_cast<int64_t>(result));
  return true;
}

bool DivMod(const CCode& code, int position, int op, RValue& l, double r) {
  if (r == 0.0) return Fail(code, position, op == 214 ? "Division by 0." : "Modulo by 0.");
  double q = std::trunc(l.val / r);
  if (op == 214) return Store(code, position, op, l, q);
  double rest = std::isfinite(q) ? std::fma(-q, r, l.val) : std::fmod(l.val, r);
  return Store(code, position, op, l, rest);
}

bool BinaryReals(const CCode& code, int position, int op, RValue& l, double r) {
  switch (op) {
    case 210: return Store(code, position, op, l, l.val + r);
    case 211: return Store(code, position, op, l, l.val - r);
    case 212: return Store(code, position, op, l, l.val * r);
    case 213:
      if (r == 0.0) return Fail(code, position, "Division by 0.");
      return Store(code, position, op, l, l.val / r);
    case 214:
    case 215: return DivMod(code, position, op, l, r);
    case 201: l.val = (IsTrue(l.val) && IsTrue(r)) ? 1.0 : 0.0; return true;
    case 202: l.val = (IsTrue(l.val) || IsTrue(r)) ? 1.0 : 0.0; return true;
    case 216: l.val = (IsTrue(l.val) != IsTrue(r)) ? 1.0 : 0.0; return true;
    default: return false;
  }
}

bool IsComparison(int op) { return op == 101 || (op >= 204 && op <= 209); }

}  // namespace

bool Code_Unary(const CCode& code, int position, int op, RValue& v) {
  if (v.kind != VALUE_REAL) return Fail(code, position, "Wrong type of arguments to unary operator.");
  switch (op) {
    case 203: v.val = v.val < 0.5 ? 1.0 : 0.0; return true;
    case 210: return true;
    case 211: v.val = -v.val; return true;
    case 220: {
      int64_t n;
      if (!TryRound(v.val, n)) return Fail(code, position, "Invalid arithmetic operation in ~.");
      v.val = static_cast<double>(~n);
      return true;
    }
    default: return Fail(code, position, "Internal error: unknown unary operator.");
  }
}

bool Code_Binary(const CCode& code, int position, int op, RValue& l, const RValue& r) {
  if (IsComparison(op)) {
    if (l.kind != r.kind) return Fail(code, position, "Cannot compare arguments.");
    double d = l.kind == VALUE_REAL ? l.val - r.val : CompareStrings(l.str, r.str);
    l = RValue::Real(Compare(op, d) ? 1.0 : 0.0);
    return true;
  }
  bool reals = l.kind == VALUE_REAL && r.kind == VALUE_REAL;
  switch (op) {
    case 210:
      if (l.kind == VALUE_STRING && r.kind == VALUE_STRING) return Concatenate(code, position, l, r);
      break;
    case 212:
      if (l.kind == VALUE_REAL && r.kind == VALUE_STRING) return Repeat(code, position, l, r);
      break;
    case 213:
    case 214:
    case 215:
    case 211:
    case 201:
    case 202:
    case 216:
    case 217:
    case 218:
    case 219:
    case 221:
    case 222: break;
    default: return Fail(code, position, "Internal error: unknown binary operator.");
  }
  if (!reals) return WrongArguments(code, position, op);
  if (op >= 217 && op <= 222) return Bitwise(code, position, op, l, r);
  return BinaryReals(code, position, op, l, r.val);
}
