// code_variable_functions.cpp: variable_global_* and variable_local_*. Names
// are looked up (and entered) as the compiler does; indices are rounded and
// must lie in 0..31999, else "Array index >= 32000" is reported and nothing
// is read or stored. The local functions act on the calling instance.
#include "code/code_variable_functions.h"

#include "code/code_error.h"
#include "code/code_function.h"
#include "code/code_game.h"
#include "code/code_variable.h"
#include "world/instance_class.h"

namespace {

int32_t IndexOf(const RValue& name) {
  return Variable_Index(ToUtf8(name.kind == VALUE_STRING ? name.str : ValueText(name)));
}

// Array position from i (and j when given); false after reporting.
bool Position(const RValue* i, const RValue* j, int32_t& out) {
  int64_t a = 0, b = 0;
  bool ok = TryRound(i->val, a) && a >= 0 && a < kArrayRowSize;
  if (ok && j != nullptr) ok = TryRound(j->val, b) && b >= 0 && b < kArrayRowSize;
  if (!ok) {
    Error_Show_Action("Array index >= 32000", false);
    return false;
  }
  // One index is the position itself; two are row and column.
  out = static_cast<int32_t>(j != nullptr ? a * kArrayRowSize + b : a);
  return true;
}

void GlobalGet(RValue& result, const RValue& name, int32_t position) {
  const RValue* slot = Variable_Globals().Slot(IndexOf(name), position);
  if (slot != nullptr) result = *slot;
}

void LocalGet(RValue& result, CInstance* self, const RValue& name, int32_t position) {
  if (self == nullptr) return;
  RValue value;
  if (Variable_InstanceGet(self, IndexOf(name), position, value)) result = std::move(value);
}

void LocalSet(CInstance* self, const RValue& name, int32_t position, const RValue& value) {
  if (self != nullptr) Variable_InstanceSet(self, IndexOf(name), position, value);
}

void F_GlobalExists(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  bool exists = Variable_Globals().Slot(IndexOf(args[0]), 0) != nullptr;
  result = RValue::Real(exists || CodeGame_UninitialisedAsZero() ? 1 : 0);
}
void F_GlobalGet(RValue& result, CInstance*, CInstance*, int, RValue* args) { GlobalGet(result, args[0], 0); }
void F_GlobalArrayGet(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  int32_t p;
  if (Position(&args[1], nullptr, p)) GlobalGet(result, args[0], p);
}
void F_GlobalArray2Get(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  int32_t p;
  if (Position(&args[1], &args[2], p)) GlobalGet(result, args[0], p);
}
void F_GlobalSet(RValue&, CInstance*, CInstance*, int, RValue* args) {
  Variable_Globals().SetVar(IndexOf(args[0]), 0, args[1]);
}
void F_GlobalArraySet(RValue&, CInstance*, CInstance*, int, RValue* args) {
  int32_t p;
  if (Position(&args[1], nullptr, p)) Variable_Globals().SetVar(IndexOf(args[0]), p, args[2]);
}
void F_GlobalArray2Set(RValue&, CInstance*, CInstance*, int, RValue* args) {
  int32_t p;
  if (Position(&args[1], &args[2], p)) Variable_Globals().SetVar(IndexOf(args[0]), p, args[3]);
}

void F_LocalExists(RValue& result, CInstance* self, CInstance*, int, RValue* args) {
  int32_t ind = IndexOf(args[0]);
  bool exists = ind < kUserVariableBase ||
                (self != nullptr && self->i_vars.Slot(ind, 0) != nullptr) ||
                CodeGame_UninitialisedAsZero();
  result = RValue::Real(exists ? 1 : 0);
}
void F_LocalGet(RValue& result, CInstance* self, CInstance*, int, RValue* args) {
  LocalGet(result, self, args[0], 0);
}
void F_LocalArrayGet(RValue& result, CInstance* self, CInstance*, int, RValue* args) {
  int32_t p;
  if (Position(&args[1], nullptr, p)) LocalGet(result, self, args[0], p);
}
void F_LocalArray2Get(RValue& result, CInstance* self, CInstance*, int, RValue* args) {
  int32_t p;
  if (Position(&args[1], &args[2], p)) LocalGet(result, self, args[0], p);
}
void F_LocalSet(RValue&, CInstance* self, CInstance*, int, RValue* args) { LocalSet(self, args[0], 0, args[1]); }
void F_LocalArraySet(RValue&, CInstance* self, CInstance*, int, RValue* args) {
  int32_t p;
  if (Position(&args[1], nullptr, p)) LocalSet(self, args[0], p, args[2]);
}
void F_LocalArray2Set(RValue&, CInstance* self, CInstance*, int, RValue* args) {
  int32_t p;
  if (Position(&args[1], &args[2], p)) LocalSet(self, args[0], p, args[3]);
}

}  // namespace

void Code_RegisterVariableFunctions() {
  if (Function_Find("variable_global_exists") >= 0) return;
  Function_Add("variable_global_exists", F_GlobalExists, 1);
  Function_Add("variable_global_get", F_GlobalGet, 1);
  Function_Add("variable_global_array_get", F_GlobalArrayGet, 2);
  Function_Add("variable_global_array2_get", F_GlobalArray2Get, 3);
  Function_Add("variable_global_set", F_GlobalSet, 2);
  Function_Add("variable_global_array_set", F_GlobalArraySet, 3);
  Function_Add("variable_global_array2_set", F_GlobalArray2Set, 4);
  Function_Add("variable_local_exists", F_LocalExists, 1);
  Function_Add("variable_local_get", F_LocalGet, 1);
  Function_Add("variable_local_array_get", F_LocalArrayGet, 2);
  Function_Add("variable_local_array2_get", F_LocalArray2Get, 3);
  Function_Add("variable_local_set", F_LocalSet, 2);
  Function_Add("variable_local_array_set", F_LocalArraySet, 3);
  Function_Add("variable_local_array2_set", F_LocalArray2Set, 4);
}
