// code_variable.cpp: the variable name table, the global variables with
// their declared-global flags, and instance and designated access.
#include "code/code_variable.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "code/code_function.h"
#include "common/support_stream.h"
#include "world/instance_class.h"
#include "world/instance_list.h"

namespace {

constexpr int32_t kGlobalsVersion = 700;
constexpr size_t kDeclaredFlagsAtStart = 10000;
constexpr size_t kDeclaredFlagsGrowth = 1000;

struct NameTable {
  std::vector<std::string> names;
  std::unordered_map<std::string, int32_t> index;
};

NameTable& Names() {
  static NameTable table;
  return table;
}

CVariableList g_globals;
bool g_getter_failed = false;

}  // namespace

std::vector<bool> g_VariableDeclaredGlobal(kDeclaredFlagsAtStart, false);

int32_t Variable_Index(std::string_view name) {
  int builtin = Variable_BuiltinFind(name);
  if (builtin >= 0) return builtin;
  NameTable& table = Names();
  std::string key(name);
  auto found = table.index.find(key);
  if (found != table.index.end()) return kUserVariableBase + found->second;
  int32_t position = static_cast<int32_t>(table.names.size());
  table.names.push_back(key);
  table.index.emplace(std::move(key), position);
  return kUserVariableBase + position;
}

std::string Variable_Name(int32_t ind) {
  if (ind < kUserVariableBase) return Variable_BuiltinName(ind);
  size_t position = static_cast<size_t>(ind - kUserVariableBase);
  const NameTable& table = Names();
  if (position >= table.names.size()) return "<unknown variable>";
  return table.names[position];
}

CVariableList& Variable_Globals() { return g_globals; }

void Variable_DeclareGlobal(int32_t ind) {
  if (ind < kUserVariableBase) return;
  size_t position = static_cast<size_t>(ind - kUserVariableBase);
  if (position >= g_VariableDeclaredGlobal.size()) g_VariableDeclaredGlobal.resize(position + kDeclaredFlagsGrowth, false);
  g_VariableDeclaredGlobal[position] = true;
  g_globals.Init(ind);
}

void Variable_GlobalsReset() {
  g_globals.Clear();
  g_VariableDeclaredGlobal.assign(kDeclaredFlagsAtStart, false);
}

void Variable_GlobalsSave(CStream& stream) {
  stream.WriteInteger(kGlobalsVersion);
  g_globals.SaveToStream(stream);
  stream.WriteInteger(static_cast<int32_t>(g_VariableDeclaredGlobal.size()));
  for (bool flag : g_VariableDeclaredGlobal) stream.WriteBoolean(flag);
}

void Variable_GlobalsLoad(CStream& stream) {
  if (stream.ReadInteger() != kGlobalsVersion) return;
  CVariableList list;
  list.LoadFromStream(stream);
  int32_t count = stream.ReadInteger();
  std::vector<bool> flags;
  for (int32_t i = 0; i < count; ++i) flags.push_back(stream.ReadBoolean());
  g_globals = std::move(list);
  g_VariableDeclaredGlobal = std::move(flags);
}

bool Variable_InstanceGet(CInstance* inst, int32_t ind, int32_t arr, RValue& out) {
  if (ind >= kUserVariableBase) return inst->i_vars.GetVar(ind, arr, out);
  if (ind < 0 || ind >= Variable_BuiltinCount()) return false;
  const RBuiltinVariable& var = Variable_BuiltinGet(ind);
  if (var.getter == nullptr) return false;
  out.kind = VALUE_REAL;  // the real 0 unless the getter stores more
  out.val = 0.0;
  if (!out.str.empty()) out.str.clear();
  g_getter_failed = false;
  var.getter(inst, arr, out);
  if (g_getter_failed) [[unlikely]] {
    g_getter_failed = false;
    return false;
  }
  return true;
}

void Variable_GetterFails() { g_getter_failed = true; }

bool Variable_InstanceSet(CInstance* inst, int32_t ind, int32_t arr, const RValue& value) {
  if (ind >= kUserVariableBase) {
    inst->i_vars.SetVar(ind, arr, value);
    return true;
  }
  if (ind < 0 || ind >= Variable_BuiltinCount()) return false;
  const RBuiltinVariable& var = Variable_BuiltinGet(ind);
  if (!var.can_set || var.setter == nullptr) return false;
  return var.setter(inst, arr, value);
}

CInstance* Variable_DesignatedInstance(int64_t designator) {
  if (designator >= kFirstInstanceId) {
    if (designator > INT32_MAX) return nullptr;
    return Instance_Find(static_cast<int32_t>(designator), true);
  }
  if (designator == -3) {
    for (const auto& inst : Instance_List()) {
      if (!inst->i_marked) return inst.get();
    }
    return nullptr;
  }
  if (designator < 0) return nullptr;
  int32_t object = static_cast<int32_t>(designator);
  int n = Instance_ObjNumberRecursive(object);
  for (int j = 0; j < n; ++j) {
    CInstance* inst = Instance_ObjInstanceRecursive(object, j);
    if (inst != nullptr && !inst->i_marked) return inst;
  }
  return nullptr;
}

bool Variable_DesignatedSet(int64_t designator, int32_t ind, int32_t arr, const RValue& value) {
  if (designator >= kFirstInstanceId) {
    if (designator > INT32_MAX) return true;
    CInstance* inst = Instance_Find(static_cast<int32_t>(designator), true);
    return inst == nullptr || Variable_InstanceSet(inst, ind, arr, value);
  }
  bool ok = true;
  if (designator == -3) {
    std::vector<std::unique_ptr<CInstance>>& list = Instance_List();
    for (size_t i = 0; i < list.size(); ++i) {
      if (!list[i]->i_marked) ok = Variable_InstanceSet(list[i].get(), ind, arr, value);
    }
    return ok;
  }
  if (designator < 0) return false;
  int32_t object = static_cast<int32_t>(designator);
  int n = Instance_ObjNumberRecursive(object);
  for (int j = 0; j < n; ++j) {
    CInstance* inst = Instance_ObjInstanceRecursive(object, j);
    if (inst != nullptr && !inst->i_marked) ok = Variable_InstanceSet(inst, ind, arr, value);
  }
  return ok;
}
