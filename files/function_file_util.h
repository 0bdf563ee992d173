// function_file_util.h: what the file builtins share: reading their
// arguments, reporting their errors, and the secure-mode refusals.
#pragma once

#include <cstdint>
#include <string>

#include "code/code_error.h"
#include "files/file_names.h"
#include "runner/game_data.h"
#include "common/value.h"

namespace files_detail {

inline void Report(const std::string& message) { Error_Show_Action(message, false); }

inline std::string Utf8(const VString& s) { return ToUtf8(s); }

// round(x) for ids, modes and positions; fallback for NaN and huge values.
inline int64_t RoundOr(double x, int64_t fallback) {
  int64_t out = 0;
  return TryRound(x, out) ? out : fallback;
}

inline void SetString(RValue& result, VString text) { result = RValue::String(std::move(text)); }
inline void SetReal(RValue& result, double x) { result = RValue::Real(x); }

// Secure mode: a name given for writing may not contain a path nor reach
// outside; prefix is the refusal text before the name. True when refused
// (reported).
inline bool RefuseWrite(const VString& name, const std::string& prefix) {
  if (!Secure_Mode() || (!File_HasPath(name) && !File_ReachesOutside(name))) return false;
  Report(prefix + Utf8(name));
  return true;
}

// Secure mode: a name given for reading may contain a path but not reach
// outside the working directory with "..". True when refused (reported).
inline bool RefuseRead(const VString& name) {
  if (!Secure_Mode() || !File_ReachesOutside(name)) return false;
  Report("In secure mode you cannot read file " + Utf8(name));
  return true;
}

// Secure mode, silent form for queries (file_exists and the like).
inline bool OutsideInSecureMode(const VString& name) {
  return Secure_Mode() && File_ReachesOutside(name);
}

}  // namespace files_detail
