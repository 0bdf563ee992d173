// function_system.cpp: the system builtin functions of game code. So far
// show_debug_message, which writes its line to standard output (a string
// unchanged, a whole real as an integer, any other real with two decimals),
// one line per call, flushed at once so that tests can follow it.
#include <cstdio>
#include <string>

#include "code/code_function.h"
#include "runner/value.h"

namespace {

void F_ShowDebugMessage(RValue&, CInstance*, CInstance*, int, RValue* a) {
  std::string line = ToUtf8(ValueText(a[0], '.'));
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

void Function_RegisterSystem() { Function_Add("show_debug_message", F_ShowDebugMessage, 1); }
