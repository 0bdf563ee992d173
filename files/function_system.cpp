// function_system.cpp: the system builtin functions of game code. So far
// show_debug_message, which writes its line to standard output (a string
// unchanged, a whole real as an integer, any other real with two decimals),
// one line per call, flushed at once so that tests can follow it; and sleep,
// the paced wait that keeps the window responsive while no step runs.
#include <cmath>
#include <cstdio>
#include <string>

#include "code/code_function.h"
#include "platform/clock.h"
#include "common/test_switches.h"
#include "common/value.h"
#include "world/run_main.h"

namespace {

void F_ShowDebugMessage(RValue&, CInstance*, CInstance*, int, RValue* a) {
  std::string line = ToUtf8(ValueText(a[0], '.'));
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

// Waits the given milliseconds from the call, processing window messages
// meanwhile; zero or less (and automated fast runs) return at once.
void F_Sleep(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (a[0].kind != VALUE_REAL || !(a[0].val > 0) || Test_Switches().fast) return;
  const double micros = std::nearbyint(std::fmin(a[0].val, 86400000.0) * 1000.0);
  const int64_t start = Clock_NowMicros();
  Clock_WaitUntil(start + static_cast<int64_t>(micros), Run_ProcessMessages);
}

}  // namespace

void Function_RegisterSystem() {
  Function_Add("show_debug_message", F_ShowDebugMessage, 1);
  Function_Add("sleep", F_Sleep, 1);
}
