// dialog_hooks.cpp: connects the runner's dialogs to the rest of the system
// once at start: dialogs draw inside the game window through the renderer,
// F1 shows the game information window, and the runtime
// error routine shows the error window. In automated (headless) runs the
// error routine keeps its own standard-error report, so its hook stays
// unset there.
#include "code/code_error_state.h"
#include "dialogs/dialog_error.h"
#include "dialogs/dialog_gameinfo.h"
#include "dialogs/dialog_modal.h"
#include "graphics/renderer.h"
#include "graphics/screen_frame.h"
#include "common/test_switches.h"
#include "world/function_keys.h"

namespace {

// The runner's own dialogs show inside the game window once it draws.
bool DialogClientSize(int& width, int& height) {
  if (!Graphics_Prepared()) return false;
  width = Renderer_WindowWidth();
  height = Renderer_WindowHeight();
  return width > 0 && height > 0;
}

}  // namespace

void Dialog_InstallHooks() {
  Dialog_PresentHook = Renderer_ShowImage;
  Dialog_ClientSizeHook = DialogClientSize;
  GameInfo_ShowHook = GameInfo_Show;
  if (!Test_Switches().headless) Code_ErrorWindowHook = ErrorForm_Show;
}
