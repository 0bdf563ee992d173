// variable_class.cpp: CVariableList storage, lookup and stream form.
#include "code/variable_class.h"

#include "code/code_game.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kListVersion = 440;

void WriteValue(CStream& stream, const RValue& v) {
  stream.WriteInteger(v.kind);
  stream.WriteReal(v.val);
  stream.WriteString(v.str);
}

RValue ReadValue(CStream& stream) {
  RValue v;
  v.kind = stream.ReadInteger() == VALUE_STRING ? VALUE_STRING : VALUE_REAL;
  v.val = stream.ReadReal();
  v.str = stream.ReadString();
  return v;
}
}  // namespace

RVariable* CVariableList::Find(int32_t var_ind) {
  for (size_t i = v_vars.size(); i-- > 0;) {
    if (v_vars[i].ind == var_ind) return &v_vars[i];
  }
  return nullptr;
}

const RVariable* CVariableList::Find(int32_t var_ind) const {
  return const_cast<CVariableList*>(this)->Find(var_ind);
}

RValue& CVariableList::MakeCell(RVariable& var, int32_t arr_ind) {
  if (arr_ind == 0) return var.simplevalue;
  size_t row = static_cast<size_t>(arr_ind / kArrayRowSize);
  size_t column = static_cast<size_t>(arr_ind % kArrayRowSize);
  if (row >= var.value.size()) var.value.resize(row + 1);
  std::vector<RValue>& cells = var.value[row];
  if (column >= cells.size()) cells.resize(column + 1);
  return cells[column];
}

const RValue* CVariableList::Slot(int32_t var_ind, int32_t arr_ind) const {
  const RVariable* var = Find(var_ind);
  if (var == nullptr) return nullptr;
  if (arr_ind == 0) return &var->simplevalue;
  return Cell(*var, arr_ind);
}

RValue& CVariableList::Ref(int32_t var_ind, int32_t arr_ind) {
  RVariable* var = Find(var_ind);
  if (var == nullptr) {
    v_vars.emplace_back();
    var = &v_vars.back();
    var->ind = var_ind;
  }
  return MakeCell(*var, arr_ind);
}

RValue& CVariableList::RefHinted(int32_t var_ind, int32_t arr_ind, int32_t& hint) {
  RVariable* var = FindHinted(var_ind, hint);
  if (var == nullptr) {
    hint = v_numb();
    return Ref(var_ind, arr_ind);
  }
  return MakeCell(*var, arr_ind);
}

bool CVariableList::GetVar(int32_t var_ind, int32_t arr_ind, RValue& val) const {
  const RValue* slot = Slot(var_ind, arr_ind);
  if (slot != nullptr) {
    val = *slot;
    return true;
  }
  if (CodeGame_UninitialisedAsZero()) {
    val = RValue();
    return true;
  }
  return false;
}

void CVariableList::Init(int32_t var_ind) {
  if (Find(var_ind) == nullptr) Ref(var_ind, 0);
}

void CVariableList::SaveToStream(CStream& stream) const {
  stream.WriteInteger(kListVersion);
  stream.WriteInteger(v_numb());
  for (const RVariable& var : v_vars) {
    stream.WriteInteger(var.ind);
    WriteValue(stream, var.simplevalue);
    stream.WriteInteger(static_cast<int32_t>(var.value.size()));
    for (const std::vector<RValue>& row : var.value) {
      stream.WriteInteger(static_cast<int32_t>(row.size()));
      for (const RValue& v : row) WriteValue(stream, v);
    }
  }
}

void CVariableList::LoadFromStream(CStream& stream) {
  Clear();
  if (stream.ReadInteger() != kListVersion) return;
  int32_t count = stream.ReadInteger();
  for (int32_t i = 0; i < count; ++i) {
    RVariable var;
    var.ind = stream.ReadInteger();
    var.simplevalue = ReadValue(stream);
    int32_t rows = stream.ReadInteger();
    for (int32_t r = 0; r < rows; ++r) {
      int32_t columns = stream.ReadInteger();
      std::vector<RValue> row;
      for (int32_t c = 0; c < columns; ++c) row.push_back(ReadValue(stream));
      var.value.push_back(std::move(row));
    }
    if (v_unique && Find(var.ind) != nullptr) v_unique = false;
    v_vars.push_back(std::move(var));
  }
}
