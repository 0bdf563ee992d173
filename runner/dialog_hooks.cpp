// dialog_hooks.cpp: connects the runner's dialogs to the rest of the system
// once at start: the runtime error routine shows the error window. In
// automated (headless) runs the error routine keeps its own standard-error
// report, so nothing is installed there.
#include "code/code_error_state.h"
#include "runner/dialog_error.h"
#include "runner/test_switches.h"

void Dialog_InstallHooks() {
  if (Test_Switches().headless) return;
  Code_ErrorWindowHook = ErrorForm_Show;
}
