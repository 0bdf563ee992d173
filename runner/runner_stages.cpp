// runner_stages.cpp: the work of each start-up, game-start, game-end and
// shutdown step. Steps whose subsystem offers its entry point call it; the
// others succeed with what exists and are marked "not wired yet".
#include "runner/runner_stages.h"

#include <sys/resource.h>

#include "code/builtin_variables.h"
#include "code/code_constant.h"
#include "code/code_error_state.h"
#include "code/code_function.h"
#include "runner/builtins.h"
#include "code/code_main.h"
#include "code/code_script.h"
#include "code/code_variable.h"
#include "files/files_builtins.h"
#include "graphics/screen_frame.h"
#include "graphics/text_draw.h"
#include "graphics/transition.h"
#include "motion/mp_grid.h"
#include "platform/window.h"
#include "runner/game_data.h"
#include "common/random.h"
#include "runner/runner_form.h"
#include "common/support_file.h"
#include "common/value.h"
#include "world/action_engine.h"
#include "world/event_dispatch.h"
#include "world/function_keys.h"
#include "world/input_state.h"
#include "world/room_runtime.h"
#include "world/world_builtins.h"

void Stage_RegisterBuiltins() { Builtins_RegisterAll(); }

void Stage_DecideSecureMode() { Files_DecideSecureMode(); }

void Collision_InstallHooks();
void Motion_InstallHooks();
void Graphics_InstallHooks();
void Dialog_InstallHooks();

void Stage_InstallHooks() {
  World_InstallHooks();
  Collision_InstallHooks();
  Motion_InstallHooks();
  Graphics_InstallHooks();
  Dialog_InstallHooks();
  Code_AbortHook = Runner_Abort;
  Constant_MessageHook = Runner_ShowMessage;
}

// Priority 1 raises the process a little, 2 a lot. Raising needs privileges
// that a player's session usually lacks; the game then runs at normal
// priority, as a refused change is no reason to fail.
void Stage_SetPriority() {
  const int priority = Game().settings.priority;
  if (priority == 1) setpriority(PRIO_PROCESS, 0, -5);
  if (priority == 2) setpriority(PRIO_PROCESS, 0, -15);
}

bool Stage_ExtractIncludedFiles() {
  const std::string& temp_dir = TempDir_Path();
  for (auto& file : Game().included_files.items)
    if (file) file->Prepare(temp_dir);
  return true;
}

// Not wired yet: extension packages (files/).
bool Stage_PrepareExtensions() { return true; }
bool Stage_DefineConstants() { return Constants_Prepare(); }
bool Stage_PrepareTriggers() { return World_PrepareTriggers(); }
bool Stage_CompileScripts() { return Code_CompileScripts(); }
bool Stage_CompileTimeLines() { return World_CompileTimeLines(); }
bool Stage_CompileObjects() { return World_CompileObjects(); }
// Not wired yet: the sound system (audio/).
bool Stage_PrepareSounds() { return true; }

// The game window, first of the first room's size with the game's caption,
// then the renderer in it (the room sizes the region when it is entered).
bool Stage_PrepareGraphics() {
  const CGameData& game = Game();
  const CRoom* first = game.rooms.Get(game.RoomFirst());
  const int width = first ? first->r_width : 640;
  const int height = first ? first->r_height : 480;
  std::string caption = first ? ToUtf8(first->r_caption) : std::string();
  if (caption.empty()) caption = RunnerForm().app_title;
  Platform_Window().AllowScreenSaver(!game.settings.no_screen_saver);
  if (!Platform_Window().OpenMain(width, height, caption)) {
    Runner_ShowMessage(
        "Failed to initialize drawing surfaces. Please check that your graphics card meets the "
        "minimum requirements and that your drivers are up-to-date. If your graphics card has "
        "little memory, try switching your computer to a lower resolution.");
    Shutdown_StopSound();
    return false;
  }
  // The renderer degrades to drawing nothing when no OpenGL context can be
  // made; only a window that cannot open fails the start.
  return Graphics_Prepare();
}

// The window's input handlers are the run loop's event hook (installed at
// program start); events that arrived while loading wait in the window's
// queue until the run loop takes them.
bool Stage_Ready() {
  Input_Clear();
  return true;
}

void GameStart_BuildDispatchLists() { Dispatch_Build(); }
// Globals, the text drawing settings, the transitions game code defined and
// the motion-planning grids start afresh with every game.
void GameStart_ResetGlobals() {
  Variable_GlobalsReset();
  Text_Reset();
  Transition_ClearDefinitions();
  Grid_DestroyAll();
}
void GameStart_ResetScore() { Variable_ResetGlobals(); }
void GameStart_SeedRandom() { RandomSeedFromClock(); }
// A text that does not compile has been reported as a fatal error, which
// requested the abort; false then, so game start enters no room.
bool GameStart_RunLibraryInitCode() { return Code_RunLibraryInit(); }
// Not wired yet: extension initialisers (files/).
bool GameStart_InitExtensions() { return true; }
void GameStart_ResetRoomStates() { RoomRuntime_Reset(); }

void GameEnd_FreeRoomStates() { RoomRuntime_FreeAll(); }
// Not wired yet: extension finalisers (files/).
bool GameEnd_FinalizeExtensions() { return true; }

// The input state is cleared, then the saved game is loaded (world/save_game).
void Transition_LoadSavedGame(const std::string& file_name) {
  Input_Clear();
  if (LoadGame_Hook != nullptr) LoadGame_Hook(file_name);
}

void Shutdown_UnloadSupportLibrary() {}
void Shutdown_ReleaseGraphics() { Graphics_Release(); }
// Not wired yet: the sound system (audio/).
void Shutdown_StopSound() {}

void Shutdown_RemoveIncludedFiles() {
  const std::string& temp_dir = TempDir_Path();
  for (auto& file : Game().included_files.items)
    if (file) file->Remove(temp_dir);
}

void Shutdown_CloseFiles() { Files_CloseAll(); }
