// code_function.cpp: the builtin function, variable and constant tables and
// Code_RegisterBuiltins, which enters the language's own builtins.
// Functions and variables are found by the first entry with an equal name;
// constants by the last, so that a later definition hides an earlier one.
#include "code/code_function.h"

#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "code/builtin_variables.h"
#include "code/code_constant.h"
#include "code/code_main.h"

// Registration routines of the math and string builtins.
void Function_RegisterMath();
void Function_RegisterString();

namespace {

// Hash lookup by string_view without building a std::string per query.
struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using NameIndex = std::unordered_map<std::string, int, NameHash, std::equal_to<>>;

int FindIn(const NameIndex& index, std::string_view name) {
  auto it = index.find(name);
  return it == index.end() ? -1 : it->second;
}

struct FunctionTable {
  std::vector<RBuiltinFunction> entries;
  NameIndex first;  // name -> first entry
};

struct VariableTable {
  std::vector<RBuiltinVariable> entries;
  NameIndex first;
};

struct ConstantTable {
  std::vector<RBuiltinConstant> entries;
  NameIndex last;  // name -> last entry
};

FunctionTable& Functions() {
  static FunctionTable table;
  return table;
}

VariableTable& Variables() {
  static VariableTable table;
  return table;
}

ConstantTable& Constants() {
  static ConstantTable table;
  return table;
}

// At most this many builtin variables: their indices must stay below the
// first user variable index.
constexpr size_t kMaxBuiltinVariables = 500;

}  // namespace

int Function_Add(std::string_view name, BuiltinFunction routine, int argc) {
  FunctionTable& table = Functions();
  int id = static_cast<int>(table.entries.size());
  table.entries.push_back(RBuiltinFunction{std::string(name), routine, argc});
  table.first.emplace(std::string(name), id);  // keeps an earlier entry
  return id;
}

int Function_Find(std::string_view name) { return FindIn(Functions().first, name); }

const RBuiltinFunction& Function_Get(int id) { return Functions().entries.at(id); }

int Function_Count() { return static_cast<int>(Functions().entries.size()); }

int Variable_BuiltinAdd(std::string_view name, BuiltinGetter getter, BuiltinSetter setter,
                        bool is_array) {
  VariableTable& table = Variables();
  if (table.entries.size() >= kMaxBuiltinVariables) {
    Constant_MessageHook("INTERNAL ERROR: Adding too many variables");
    return -1;
  }
  int id = static_cast<int>(table.entries.size());
  table.entries.push_back(
      RBuiltinVariable{std::string(name), getter, setter, setter != nullptr, is_array});
  table.first.emplace(std::string(name), id);
  return id;
}

int Variable_BuiltinFind(std::string_view name) { return FindIn(Variables().first, name); }

const RBuiltinVariable& Variable_BuiltinGet(int id) { return Variables().entries.at(id); }

int Variable_BuiltinCount() { return static_cast<int>(Variables().entries.size()); }

bool Variable_BuiltinBind(std::string_view name, BuiltinGetter getter, BuiltinSetter setter) {
  int id = Variable_BuiltinFind(name);
  if (id < 0) return false;
  RBuiltinVariable& entry = Variables().entries[id];
  entry.getter = getter;
  entry.setter = setter;
  entry.can_set = setter != nullptr;
  return true;
}

std::string Variable_BuiltinName(int id) {
  if (id < 0 || id >= Variable_BuiltinCount()) return "<unknown built-in variable>";
  return Variables().entries[id].name;
}

int Constant_BuiltinAdd(std::string_view name, const RValue& value) {
  ConstantTable& table = Constants();
  int id = static_cast<int>(table.entries.size());
  table.entries.push_back(RBuiltinConstant{std::string(name), value});
  table.last.insert_or_assign(std::string(name), id);
  return id;
}

int Constant_BuiltinFind(std::string_view name) { return FindIn(Constants().last, name); }

const RBuiltinConstant& Constant_BuiltinGet(int id) { return Constants().entries.at(id); }

int Constant_BuiltinCount() { return static_cast<int>(Constants().entries.size()); }

void Constant_TruncateTable(int count) {
  ConstantTable& table = Constants();
  if (count < 0 || static_cast<size_t>(count) >= table.entries.size()) return;
  table.entries.resize(count);
  table.last.clear();
  for (int id = 0; id < count; ++id) table.last.insert_or_assign(table.entries[id].name, id);
}

void Code_RegisterBuiltins() {
  // The variable table first: subsystems bind their variables to it.
  Variable_RegisterBuiltin();
  Constant_RegisterBuiltin();
  Function_RegisterMath();
  Function_RegisterString();
  Code_RegisterFunctions();
}
