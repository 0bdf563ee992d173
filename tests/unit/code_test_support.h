// code_test_support.h: a small harness for the scripting language tests:
// registers the builtins plus a capturing "trace" function, resets the game
// state the language reads (settings, scripts, globals, instances, error
// state), and compiles and runs texts for their output or first error.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "code/builtin_variables.h"
#include "code/code_error.h"
#include "code/code_error_state.h"
#include "code/code_errortext.h"
#include "code/code_function.h"
#include "runner/builtins.h"
#include "code/code_main.h"
#include "code/code_variable.h"
#include "runner/game_data.h"
#include "world/instance_class.h"

namespace codetest {

inline std::string& Output() {
  static std::string out;
  return out;
}

// trace(v, ...): appends the text of each argument, separated by blanks, and
// a line feed.
inline void Trace(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
  for (int i = 0; i < argc; ++i) {
    if (i > 0) Output() += ' ';
    Output() += ToUtf8(ValueText(args[i]));
  }
  Output() += '\n';
}

// calls(): counts its calls and returns 1, to observe evaluation.
inline int& CallCount() {
  static int n = 0;
  return n;
}
inline void Count(RValue& result, CInstance*, CInstance*, int, RValue*) {
  ++CallCount();
  result = RValue::Real(1);
}

inline void RegisterAll() {
  Builtins_RegisterAll();
  Code_RegisterFunctions();
  // The instance fields game code reads in these tests.
  Variable_BuiltinBind("id", [](CInstance* inst, int, RValue& out) { out = RValue::Real(inst->i_id); },
                       nullptr);
  if (Function_Find("trace") < 0) {
    Function_Add("trace", Trace, -1);
    Function_Add("calls", Count, 0);
  }
}

inline VString W(const std::string& s) { return FromUtf8(s); }

class CodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterAll();
    Game().Clear();
    Game().settings.code_flags = 0;
    Game().settings.show_errors = false;
    Game().settings.log_errors = false;
    Game().settings.abort_on_errors = false;
    Error_State() = RErrorReportState();
    Code_ClearScripts();
    Variable_GlobalsReset();
    Instance_ClearAll();
    CodeError_Clear();
    Output().clear();
    CallCount() = 0;
    // Two objects, so instances have per-object lists.
    Game().objects.Add(std::make_unique<CObject>(), u"obj0");
    Game().objects.Add(std::make_unique<CObject>(), u"obj1");
    self = Instance_Add(100001, 0);
    other = Instance_Add(100002, 1);
  }
  void TearDown() override {
    Instance_ClearAll();
    Game().Clear();
    Code_ClearScripts();
  }

  void AddScript(const std::string& name, const std::string& text) {
    auto script = std::make_unique<CScript>();
    script->s_text = W(text);
    Game().scripts.Add(std::move(script), W(name));
  }

  // Compiles and runs a program for self and other: the trace output, then
  // "error: " and the bare message when the compile or the run failed.
  std::string Run(const std::string& text) {
    RCodeCompileError error;
    std::unique_ptr<CCode> code = Code_CompileText(W(text), CODE_PROGRAM, &error);
    if (code == nullptr) return Output() + "compile error: " + error.message;
    RValue result;
    if (!Code_Run(*code, self, other, result)) return Output() + "error: " + CodeErrorState().message;
    return Output();
  }

  // The value of an expression as text, or "error: " and the message.
  std::string Eval(const std::string& text) {
    RCodeCompileError error;
    std::unique_ptr<CCode> code = Code_CompileText(W(text), CODE_EXPRESSION, &error);
    if (code == nullptr) return "compile error: " + error.message;
    RValue result;
    if (!Code_Run(*code, self, other, result)) return "error: " + CodeErrorState().message;
    return (result.kind == VALUE_STRING ? "\"" : "") + ToUtf8(ValueText(result)) +
           (result.kind == VALUE_STRING ? "\"" : "");
  }

  // "message @line:column" of the first compile error, "ok" when it compiles.
  std::string CompileError(const std::string& text, int kind = CODE_PROGRAM) {
    RCodeCompileError error;
    if (Code_CompileText(W(text), kind, &error) != nullptr) return "ok";
    return error.message + " @" + std::to_string(error.line) + ":" + std::to_string(error.column);
  }

  CInstance* self = nullptr;
  CInstance* other = nullptr;
};

}  // namespace codetest
