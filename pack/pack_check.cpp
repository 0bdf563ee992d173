// pack_check.cpp: compiles project code with the runner's compiler. The
// builtin tables are entered once so that builtin names resolve exactly as
// they do in the runner.
#include "pack/pack_check.h"

#include "code/code_function.h"
#include "runner/builtins.h"
#include "code/code_main.h"
#include "code/code_tree.h"

std::vector<PackError> CheckCodeText(const CodeText& code) {
  Builtins_RegisterAll();
  const int kind = code.kind == CodeText::Kind::Expression ? CODE_EXPRESSION : CODE_PROGRAM;
  int line = 0;
  int column = 0;
  std::string message;
  if (Code_CheckText(FromLatin1(code.text), kind, line, column, message)) return {};
  if (code.line <= 0)  // the text sits inside a JSON value: name the file and what
    return {PackError(code.path, code.what + ": line " + std::to_string(line) + ", column " +
                                     std::to_string(column) + ": " + message)};
  const int file_line = code.line + line - 1;
  const int file_column = line == 1 ? code.column + column - 1 : column;
  return {PackError(code.path, message, file_line, file_column)};
}
