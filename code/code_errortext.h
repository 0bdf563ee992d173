// code_errortext.h: the error text routine CodeError shared by the compiler
// passes, the operators and the interpreter. It records only the first error
// of the current compile or run, with its line, column and the full text that
// points into the source (line shown with a caret, or the expression).
#pragma once

#include <string>
#include <string_view>

class CCode;

struct RCodeErrorState {
  bool flag = false;     // an error is recorded for the current compile/run
  std::string text;      // the full error text
  std::string message;   // the bare message
  int line = 0;          // line and column as shown in the text
  int column = 0;
};

RCodeErrorState& CodeErrorState();
// Clears the flag (start of a compile or run); the old text stays readable.
void CodeError_Clear();
// Records the first error: formats the text for code at position (1-based).
void CodeError(const CCode& code, int position, std::string_view message);
// Records an already formatted text as the first error (script call checks).
void CodeError_SetText(std::string text);
