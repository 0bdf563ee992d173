// variable_class.h: CVariableList, the container of user variables of an
// instance, of the global variables and of one run's locals. Entries are kept
// in order of creation and looked up from the last to the first; each entry
// holds the value at array position 0 and rows of further array elements
// (position p > 0 is row p div 32000, column p mod 32000).
#pragma once

#include <cstdint>
#include <vector>

#include "common/value.h"

class CStream;

constexpr int32_t kArrayRowSize = 32000;

struct RVariable {
  int32_t ind = 0;
  RValue simplevalue;
  std::vector<std::vector<RValue>> value;
};

class CVariableList {
 public:
  std::vector<RVariable> v_vars;
  // False once a loaded stream held one index twice; lookups then always
  // scan, so the last such entry keeps winning.
  bool v_unique = true;

  int32_t v_numb() const { return static_cast<int32_t>(v_vars.size()); }
  void Create() { Clear(); }
  void Clear() {
    v_vars.clear();
    v_unique = true;
  }
  void Assign(const CVariableList& other) {
    v_vars = other.v_vars;
    v_unique = other.v_unique;
  }
  void Destroy() { Clear(); }

  // The entry of variable var_ind, or null.
  RVariable* Find(int32_t var_ind);
  const RVariable* Find(int32_t var_ind) const;
  // Find with a caller-kept position hint (a syntax-tree node's cache):
  // the hinted entry when it holds var_ind, else a scan that updates hint.
  RVariable* FindHinted(int32_t var_ind, int32_t& hint) {
    size_t at = static_cast<size_t>(hint);
    if (at < v_vars.size() && v_vars[at].ind == var_ind && v_unique) [[likely]]
      return &v_vars[at];
    RVariable* var = Find(var_ind);
    if (var != nullptr) hint = static_cast<int32_t>(var - v_vars.data());
    return var;
  }
  // Slot and Ref through FindHinted.
  RValue* SlotHinted(int32_t var_ind, int32_t arr_ind, int32_t& hint) {
    RVariable* var = FindHinted(var_ind, hint);
    if (var == nullptr) return nullptr;
    if (arr_ind == 0) return &var->simplevalue;
    return const_cast<RValue*>(Cell(*var, arr_ind));
  }
  RValue& RefHinted(int32_t var_ind, int32_t arr_ind, int32_t& hint);
  // The stored value at array position arr_ind, or null when the variable,
  // the row or the column is missing.
  const RValue* Slot(int32_t var_ind, int32_t arr_ind) const;
  // The value at arr_ind, created (rows and columns filled with the real 0)
  // when missing.
  RValue& Ref(int32_t var_ind, int32_t arr_ind);

  void SetVar(int32_t var_ind, int32_t arr_ind, const RValue& val) { Ref(var_ind, arr_ind) = val; }
  // Missing values read as the real 0 (and true) when uninitialised
  // variables count as 0 (code flag bit 0).
  bool GetVar(int32_t var_ind, int32_t arr_ind, RValue& val) const;
  void Init(int32_t var_ind);

  void SaveToStream(CStream& stream) const;
  void LoadFromStream(CStream& stream);

 private:
  // Array position arr_ind (> 0) of var, or null when missing.
  static const RValue* Cell(const RVariable& var, int32_t arr_ind) {
    size_t row = static_cast<size_t>(arr_ind / kArrayRowSize);
    size_t column = static_cast<size_t>(arr_ind % kArrayRowSize);
    if (row >= var.value.size() || column >= var.value[row].size()) return nullptr;
    return &var.value[row][column];
  }
  // Array position arr_ind of var, created when missing.
  static RValue& MakeCell(RVariable& var, int32_t arr_ind);
};
