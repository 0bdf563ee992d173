// function_args.h: argument reading shared by the graphics builtins: reals,
// rounded integers, booleans (true from 0.5) and the text of a value.
#pragma once

#include <cstdint>

#include "common/value.h"

namespace graphics_args {

inline double Real(const RValue& v) { return v.val; }
inline int32_t Int(const RValue& v) { return ToInt32(v.val); }
inline bool Flag(const RValue& v) { return IsTrue(v.val); }
inline void SetReal(RValue& result, double v) { result = RValue::Real(v); }
inline void SetBool(RValue& result, bool v) { result = RValue::Real(v ? 1.0 : 0.0); }

}  // namespace graphics_args
