// code_function.h: the builtin tables that game code finds by name at compile
// time: builtin functions (name, routine, argument count), builtin variables
// (name, getter, optional setter, can-set flag, array flag) and builtin
// constants (name, value). Every subsystem enters its builtins once at
// program start through the Register... functions below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/value.h"

class CInstance;

// A builtin function: self, other, the argument count and up to 16
// arguments; the result starts as the real 0.
using BuiltinFunction = void (*)(RValue& result, CInstance* self, CInstance* other,
                                 int argc, RValue* args);

struct RBuiltinFunction {
  std::string name;
  BuiltinFunction routine = nullptr;
  int argc = 0;  // -1: any number up to 16
};

// Getter and setter of a builtin variable; index is the array index (0 for
// plain use). A setter returns false after it has reported its own error.
using BuiltinGetter = void (*)(CInstance* self, int index, RValue& out);
using BuiltinSetter = bool (*)(CInstance* self, int index, const RValue& value);

struct RBuiltinVariable {
  std::string name;
  BuiltinGetter getter = nullptr;
  BuiltinSetter setter = nullptr;  // null: read-only
  bool can_set = false;
  bool is_array = false;
};

struct RBuiltinConstant {
  std::string name;
  RValue value;
};

// Registration (program start) and lookup (compile time). Find returns -1
// when the name is unknown.
int Function_Add(std::string_view name, BuiltinFunction routine, int argc);
int Function_Find(std::string_view name);
const RBuiltinFunction& Function_Get(int id);
int Function_Count();

int Variable_BuiltinAdd(std::string_view name, BuiltinGetter getter, BuiltinSetter setter,
                        bool is_array = false);
int Variable_BuiltinFind(std::string_view name);
const RBuiltinVariable& Variable_BuiltinGet(int id);
int Variable_BuiltinCount();
// "<unknown built-in variable>" for an index outside the table.
std::string Variable_BuiltinName(int id);

int Constant_BuiltinAdd(std::string_view name, const RValue& value);
int Constant_BuiltinFind(std::string_view name);
const RBuiltinConstant& Constant_BuiltinGet(int id);
int Constant_BuiltinCount();

// Enters the language's own builtins: the builtin variable and constant
// tables, the math, string, script, error and variable functions. Called
// first from the start-up list of every subsystem's registration.
void Code_RegisterBuiltins();
