// code_script.cpp: compiled scripts, the script call with its argument
// slots and count check, and execute_string, execute_file, script_execute.
#include "code/code_script.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "code/builtin_variables.h"
#include "code/code_error.h"
#include "code/code_errortext.h"
#include "code/code_exec.h"
#include "code/code_function.h"
#include "code/code_game.h"
#include "common/support_file.h"

namespace {

constexpr int kArgumentSlots = 16;

struct CompiledScript {
  std::unique_ptr<CCode> code;
  std::string name;  // UTF-8, for the running script name and messages
};

// Entries never move, so a running script's name stays valid.
std::vector<std::unique_ptr<CompiledScript>> g_scripts;

// Compiles script index into the table; false (error recorded) on failure.
bool CompileScript(int index) {
  const VString* text = CodeGame_ScriptText(index);
  if (text == nullptr) return false;
  if (static_cast<size_t>(index) >= g_scripts.size()) g_scripts.resize(static_cast<size_t>(index) + 1);
  auto& slot = g_scripts[static_cast<size_t>(index)];
  if (slot == nullptr) slot = std::make_unique<CompiledScript>();
  CompiledScript& entry = *slot;
  entry.name = ToUtf8(CodeGame_ScriptName(index));
  auto code = std::make_unique<CCode>(*text, false);
  if (!code->Compile()) return false;
  entry.code = std::move(code);
  return true;
}

// A slot that holds the real +0 and no string needs no saving: whatever a
// call leaves there is put back to that.
inline bool IsClearSlot(const RValue& slot) {
  static_assert(VALUE_REAL == 0);
  return (static_cast<uint64_t>(static_cast<uint32_t>(slot.kind)) | std::bit_cast<uint64_t>(slot.val) |
          slot.str.size()) == 0;
}

// True when a slot in [begin, end) is not clear (one test for the range).
template <int begin, int end>
inline bool AnyInUse() {
  uint64_t bits = 0;
#pragma GCC unroll 8
  for (int i = begin; i < end; ++i) {
    const RValue& slot = g_Arguments.slot[i];
    bits |= static_cast<uint64_t>(static_cast<uint32_t>(slot.kind)) | std::bit_cast<uint64_t>(slot.val) |
            slot.str.size();
  }
  return bits != 0;
}

// One more than the last slot that is not clear (0 when all are clear).
int SlotsInUse() {
  int used = kArgumentSlots;
  if (!AnyInUse<8, 16>()) used = AnyInUse<4, 8>() ? 8 : 4;
  while (used > 0 && IsClearSlot(g_Arguments.slot[used - 1])) --used;
  return used;
}

// Saves the 16 slots, the count and the script name; restores them when
// it goes out of scope (also after an exception). Only the slots below the
// last one in use are copied; the others are clear, and only the slots the
// call filled are cleared again on restore, unless an argument variable was
// assigned meanwhile (or an exception unwinds), when all are checked. Strings move only when a slot holds one, and the name is
// kept when a script calls itself, so a call with real arguments copies no
// string.
class SavedArguments {
 public:
  SavedArguments(bool with_script, const std::string* name)
      : with_script_(with_script), writes_(g_Arguments.writes) {
    int used = SlotsInUse();
    used_ = used;
    saved_.Used(used);
    for (int i = 0; i < used_; ++i) {
      RValue& slot = g_Arguments.slot[i];
      saved_[i].kind = slot.kind;
      saved_[i].val = slot.val;
      if (!slot.str.empty()) saved_[i].str.swap(slot.str);
    }
    if (!with_script_) return;
    count_ = g_Arguments.count;
    if (name != nullptr && g_Arguments.script_name != *name) {
      name_changed_ = true;
      name_.swap(g_Arguments.script_name);
      g_Arguments.script_name = *name;
    }
  }
  ~SavedArguments() { Restore(false); }

  // Puts the saved state back; normal is false when unwinding (every slot
  // is then checked).
  void Restore(bool normal) {
    if (restored_) return;
    restored_ = true;
    bool all = !normal || g_Arguments.writes != writes_;
    int end = all ? kArgumentSlots : filled_;
    for (int i = 0; i < end; ++i) {
      RValue& slot = g_Arguments.slot[i];
      if (i >= used_) {
        if (!IsClearSlot(slot)) slot = RValue();
        continue;
      }
      slot.kind = saved_[i].kind;
      slot.val = saved_[i].val;
      if (!slot.str.empty() || !saved_[i].str.empty()) {
        slot.str.swap(saved_[i].str);
        saved_[i].str.clear();
      }
    }
    if (!with_script_) return;
    g_Arguments.count = count_;
    if (name_changed_) name_.swap(g_Arguments.script_name);
  }

  // Slots 0..n-1 take args; the rest become the real 0 (their string part
  // is left as it was; slots from the saved count on are clear already).
  void Fill(const RValue* args, int n) {
    int end = std::max(n, used_);
    filled_ = std::max(filled_, end);
    for (int i = 0; i < end; ++i) {
      RValue& slot = g_Arguments.slot[i];
      if (i < n) {
        slot.kind = args[i].kind;
        slot.val = args[i].val;
        if (!args[i].str.empty() || !slot.str.empty()) slot.str = args[i].str;
      } else {
        slot.kind = VALUE_REAL;
        slot.val = 0.0;
      }
    }
  }

 private:
  ArgumentFrame saved_;
  int used_ = kArgumentSlots;
  int filled_ = 0;  // slots below this may have been written by Fill
  bool with_script_;
  bool restored_ = false;
  uint32_t writes_;
  bool name_changed_ = false;
  int count_ = 0;
  std::string name_;
};

// The count check of strict argument counts; false with the error recorded.
bool CheckArgumentCount(const CCode& code, const std::string& name, int n) {
  bool ok = code.i_ArgArray ? n >= code.i_Args : n == code.i_Args;
  if (ok) return true;
  std::string text = "Illegal argument count calling script \"" + name + "\".\r";
  text += code.i_ArgArray ? "Script requires at least " : "Script requires ";
  text += std::to_string(code.i_Args) + " arguments, " + std::to_string(n) + " have been supplied.";
  CodeError_SetText(std::move(text));
  return false;
}

// Compiles text as a program and runs it as an action with the extra
// arguments in the slots; a compile error is reported with the prefix.
void RunText(const VString& text, const char* prefix, RValue& result, CInstance* self,
             CInstance* other, const RValue* args, int n) {
  SavedArguments saved(false, nullptr);
  saved.Fill(args, std::min(n, kArgumentSlots - 1));
  CCode code(text, false);
  if (!code.Compile()) {
    Error_Show_Action(std::string(prefix) + "\r" + CodeErrorState().text, false);
    CodeError_Clear();
    saved.Restore(true);
    return;
  }
  RValue value;
  Code_RunAction(code, self, other, value);
  result = std::move(value);
  saved.Restore(true);
}

VString TextArgument(const RValue& v) { return v.kind == VALUE_STRING ? v.str : ValueText(v); }

void F_ExecuteString(RValue& result, CInstance* self, CInstance* other, int argc, RValue* args) {
  if (argc < 1) return;
  RunText(TextArgument(args[0]), "COMPILATION ERROR in string to be executed", result, self, other,
          args + 1, argc - 1);
}

// The file's lines, each followed by a carriage return; false when the file
// cannot be read.
bool ReadLines(const VString& name, VString& text) {
  std::string path = ToUtf8(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(path, bytes)) return false;
  std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  size_t i = 0;
  while (i < all.size()) {
    size_t end = all.find_first_of("\r\n", i);
    if (end == std::string_view::npos) end = all.size();
    text += FromUtf8(all.substr(i, end - i));
    text += u'\r';
    i = end;
    if (i < all.size() && all[i] == '\r') ++i;
    if (i < all.size() && all[i] == '\n' && (i == 0 || all[i - 1] == '\r' || end == i)) ++i;
  }
  return true;
}

void F_ExecuteFile(RValue& result, CInstance* self, CInstance* other, int argc, RValue* args) {
  if (argc < 1) return;
  VString text;
  if (!ReadLines(TextArgument(args[0]), text)) return;
  RunText(text, "COMPILATION ERROR in file to be executed", result, self, other, args + 1, argc - 1);
}

void F_ScriptExecute(RValue& result, CInstance* self, CInstance* other, int argc, RValue* args) {
  if (argc < 1) return;
  int64_t index;
  if (args[0].kind != VALUE_REAL || !TryRound(args[0].val, index) || index < 0 || index > INT32_MAX ||
      !CodeGame_ScriptExists(static_cast<int>(index))) {
    Error_Show_Action("Trying to execute non-existing script.", false);
    return;
  }
  RValue value;
  bool ok = Code_CallScript(static_cast<int>(index), self, other, value, true, args + 1,
                            std::min(argc - 1, kArgumentSlots - 1));
  if (!ok && CodeErrorState().flag) {
    Error_Show_Action(CodeErrorState().text, false);
    CodeError_Clear();
  }
  result = std::move(value);
}

}  // namespace

bool Code_CompileScripts() {
  g_scripts.clear();
  for (int i = 0; i < CodeGame_ScriptCount(); ++i) {
    if (!CodeGame_ScriptExists(i)) continue;
    if (!CompileScript(i)) {
      Error_Show("COMPILATION ERROR in Script: " + ToUtf8(CodeGame_ScriptName(i)) + "\r" +
                     CodeErrorState().text,
                 true);
      CodeError_Clear();
      return false;
    }
  }
  return true;
}

void Code_ClearScripts() { g_scripts.clear(); }

const CCode* Code_ScriptCode(int index) {
  if (!CodeGame_ScriptExists(index)) return nullptr;
  size_t i = static_cast<size_t>(index);
  if (i < g_scripts.size() && g_scripts[i] != nullptr && g_scripts[i]->code != nullptr)
    return g_scripts[i]->code.get();
  if (!CompileScript(index)) return nullptr;
  return g_scripts[i]->code.get();
}

bool Code_CallScript(int s, CInstance* self, CInstance* other, RValue& result, bool check,
                     const RValue* args, int n) {
  const CCode* code = Code_ScriptCode(s);
  if (code == nullptr) return false;
  const std::string& name = g_scripts[static_cast<size_t>(s)]->name;
  SavedArguments saved(true, &name);
  g_Arguments.count = n;
  saved.Fill(args, n);
  result.kind = VALUE_REAL;
  result.val = 0.0;
  if (!result.str.empty()) result.str.clear();
  if (!Code_RunForValue(*code, self, other, result)) {
    RCodeErrorState& error = CodeErrorState();
    error.text = "In script " + name + ":\r" + error.text;
    saved.Restore(true);
    return false;
  }
  bool ok = !check || !CodeGame_StrictArguments() || CheckArgumentCount(*code, name, n);
  saved.Restore(true);
  return ok;
}

void Code_RegisterScriptFunctions() {
  if (Function_Find("execute_string") >= 0) return;
  Function_Add("execute_string", F_ExecuteString, -1);
  Function_Add("execute_file", F_ExecuteFile, -1);
  Function_Add("script_execute", F_ScriptExecute, -1);
}
