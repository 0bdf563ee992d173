// dialog_hooks.cpp: connects the runner's dialogs to the rest of the system
// once at start: F1 shows the game information window, and the runtime
// error routine shows the error window. In automated (headless) runs the
// error routine keeps its own standard-error report, so its hook stays
// unset there.
#include "code/code_error_state.h"
#include "runner/dialog_error.h"
#include "runner/dialog_gameinfo.h"
#include "runner/test_switches.h"
#include "world/function_keys.h"

void Dialog_InstallHooks() {
  GameInfo_ShowHook = GameInfo_Show;
  if (!Test_Switches().headless) Code_ErrorWindowHook = ErrorForm_Show;
}
