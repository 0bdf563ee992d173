// code_main.h: the public face of the scripting language for the rest of the
// runner and for the builder: compiling a text as a program or an
// expression with the error's line, column and full text; running compiled
// code; the start-up stages that compile scripts and run the library
// initialisation code; and the registration of the language's builtins.
#pragma once

#include <memory>
#include <string>

#include "code/code_exec.h"
#include "code/code_script.h"
#include "code/code_tree.h"
#include "common/value.h"

class CInstance;

// A compile error: line and column as the error text shows them, the bare
// message and the full text (with the line and caret, or the expression).
struct RCodeCompileError {
  int line = 0;
  int column = 0;
  std::string message;
  std::string text;
};

// Compiles text as a program (CODE_PROGRAM) or an expression
// (CODE_EXPRESSION). Null on failure, with error filled when given.
std::unique_ptr<CCode> Code_CompileText(const VString& text, int kind, RCodeCompileError* error);

// The builder's check: true when the text compiles; otherwise line, column
// and the bare message of the first error.
bool Code_CheckText(const VString& text, int kind, int& line, int& col, std::string& message);

// Runs every library initialisation code text of the game in order with a
// fresh blank instance as self and other; runtime errors are reported as
// action errors. A text that does not compile is a fatal error and ends the
// stage with false.
bool Code_RunLibraryInit();

// Evaluates a constant's value text (compile as expression, run for value
// with a blank instance). The signature of Constant_EvaluateHook.
bool Code_EvaluateConstant(const VString& text, RValue& out, std::string& error);

// Enters the language's builtin functions (execute_string, execute_file,
// script_execute, show_error, the variable_ functions) and wires the
// constant evaluation hook. Idempotent.
void Code_RegisterFunctions();
