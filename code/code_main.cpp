// code_main.cpp: compile and check entries, library initialisation code,
// constant evaluation and registration of the language's builtins.
#include "code/code_main.h"

#include "code/code_constant.h"
#include "code/code_error.h"
#include "code/code_error_state.h"
#include "code/code_errortext.h"
#include "code/code_variable_functions.h"
#include "runner/game_data.h"
#include "world/instance_class.h"

std::unique_ptr<CCode> Code_CompileText(const VString& text, int kind, RCodeCompileError* error) {
  auto code = std::make_unique<CCode>(text, kind != CODE_PROGRAM);
  if (code->Compile()) return code;
  if (error != nullptr) {
    const RCodeErrorState& state = CodeErrorState();
    error->line = state.line;
    error->column = state.column;
    error->message = state.message;
    error->text = state.text;
  }
  CodeError_Clear();
  return nullptr;
}

bool Code_CheckText(const VString& text, int kind, int& line, int& col, std::string& message) {
  RCodeCompileError error;
  if (Code_CompileText(text, kind, &error) != nullptr) return true;
  line = error.line;
  col = error.column;
  message = error.message;
  return false;
}

bool Code_RunLibraryInit() {
  for (const VString& text : Game().library_init_code) {
    if (text.empty()) continue;
    RCodeCompileError error;
    std::unique_ptr<CCode> code = Code_CompileText(text, CODE_PROGRAM, &error);
    if (code == nullptr) {
      Error_Show_Action("COMPILATION ERROR in library initialization code\r" + error.text, true);
      return false;
    }
    CInstance blank(0, 0);
    RValue result;
    Code_RunAction(*code, &blank, &blank, result);
  }
  return true;
}

bool Code_EvaluateConstant(const VString& text, RValue& out, std::string& error) {
  RCodeCompileError compile_error;
  std::unique_ptr<CCode> code = Code_CompileText(text, CODE_EXPRESSION, &compile_error);
  if (code == nullptr) {
    error = compile_error.text;
    return false;
  }
  CInstance blank(0, 0);
  if (Code_Run(*code, &blank, &blank, out)) return true;
  error = CodeErrorState().text;
  CodeError_Clear();
  return false;
}

void Code_RegisterFunctions() {
  Code_RegisterScriptFunctions();
  Code_RegisterErrorFunctions();
  Code_RegisterVariableFunctions();
  Constant_EvaluateHook = Code_EvaluateConstant;
}
