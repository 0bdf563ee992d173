// code_variable.h: the variable index space and where variables live. Names
// map to indices (builtin variables 0..499 by table position, user variables
// 100000 + position in the runner-wide name table); the global variables with
// their declared-global flags; access to an instance's variables (user
// variables in its list, builtin ones through getter and setter); and the
// designated access of obj.x, id.x and all.x.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "code/variable_class.h"
#include "common/value.h"

class CInstance;
class CStream;

constexpr int32_t kUserVariableBase = 100000;

// Index of a name: builtin variable, else the name table (appending the name
// on first use).
int32_t Variable_Index(std::string_view name);
// Name of an index: "<unknown variable>" / "<unknown built-in variable>" for
// an index that names nothing.
std::string Variable_Name(int32_t ind);

// Global variables.
CVariableList& Variable_Globals();
// The declared-global flags, one per user variable position (read inline by
// the interpreter on every plain variable access).
extern std::vector<bool> g_VariableDeclaredGlobal;
inline bool Variable_IsDeclaredGlobal(int32_t ind) {
  if (ind < kUserVariableBase) return false;
  size_t position = static_cast<size_t>(ind - kUserVariableBase);
  return position < g_VariableDeclaredGlobal.size() && g_VariableDeclaredGlobal[position];
}
void Variable_DeclareGlobal(int32_t ind);
// A new empty list and 10000 false flags (game start).
void Variable_GlobalsReset();
void Variable_GlobalsSave(CStream& stream);
void Variable_GlobalsLoad(CStream& stream);

// Called by a builtin variable's getter that finds no value to read (an
// argument the call did not supply): the read then fails as for a missing
// variable.
void Variable_GetterFails();

// An instance's variable: a user index reads the instance's list, a builtin
// index calls the getter. False when missing (also when the getter called
// Variable_GetterFails).
bool Variable_InstanceGet(CInstance* inst, int32_t ind, int32_t arr, RValue& out);
// A user index stores and succeeds; a builtin index calls the setter when it
// can be set and fails otherwise.
bool Variable_InstanceSet(CInstance* inst, int32_t ind, int32_t arr, const RValue& value);

// The instance a designated read uses (all, an object index, an instance
// id); null when none matches or the designator is another negative value.
CInstance* Variable_DesignatedInstance(int64_t designator);
// A designated write: every matching instance, or the instance with that id
// (none: success without effect). Other negative designators fail.
bool Variable_DesignatedSet(int64_t designator, int32_t ind, int32_t arr, const RValue& value);
