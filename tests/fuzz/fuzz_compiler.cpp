// fuzz_compiler: compiles arbitrary bytes as a program and as an expression
// and, when the program compiles, runs it with a step budget so endless
// loops end. Errors must be reported, never crash or hang.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "code/code_function.h"
#include "runner/builtins.h"
#include "code/code_main.h"
#include "runner/game_data.h"
#include "world/instance_class.h"

namespace {
void Setup() {
  static bool done = false;
  if (done) return;
  done = true;
  Builtins_RegisterAll();
  Code_RegisterFunctions();
  Game().settings.show_errors = false;
  Game().settings.log_errors = false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Setup();
  VString text = FromLatin1(std::string_view(reinterpret_cast<const char*>(data), size));
  RCodeCompileError error;
  std::unique_ptr<CCode> expression = Code_CompileText(text, CODE_EXPRESSION, nullptr);
  std::unique_ptr<CCode> program = Code_CompileText(text, CODE_PROGRAM, &error);
  if (program == nullptr) return 0;
  CInstance self(100001, 0);
  Code_SetStepBudget(2000);
  RValue result;
  Code_Run(*program, &self, &self, result);
  if (expression != nullptr) Code_Run(*expression, &self, &self, result);
  Code_SetStepBudget(-1);
  return 0;
}
