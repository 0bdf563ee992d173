// runner_stages.cpp: the work of each start-up, game-start, game-end and
// shutdown step. Steps whose subsystem offers its entry point call it; the
// others succeed with what exists and are marked "not wired yet".
#include "runner/runner_stages.h"

#include <sys/resource.h>

#include "code/code_function.h"
#include "platform/window.h"
#include "runner/game_data.h"
#include "runner/random.h"
#include "runner/runner_form.h"
#include "runner/support_file.h"
#include "runner/value.h"
#include "world/room_runtime.h"
#include "world/run_main.h"
#include "world/run_step.h"

void Stage_RegisterBuiltins() {
  Builtins_RegisterAll();
  Run_SetHooks(RunHooks{World_Step, nullptr, World_HandleWindowEvent});
  RoomHooks rh; rh.enter = RoomRuntime_Enter; rh.leave = RoomRuntime_Leave; rh.live_record = Room_Live;
  Room_SetHooks(rh);
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
// Not wired yet: the game's constants (code/).
bool Stage_DefineConstants() { return true; }
// Not wired yet: trigger conditions (world/).
bool Stage_PrepareTriggers() { return true; }
// Not wired yet: scripts (code/).
bool Stage_CompileScripts() { return true; }
// Not wired yet: time line actions (world/).
bool Stage_CompileTimeLines() { return true; }
// Not wired yet: object actions (world/).
bool Stage_CompileObjects() { return true; }
// Not wired yet: the sound system (audio/).
bool Stage_PrepareSounds() { return true; }

// The game window for now: a plain window of the first room's size with the
// game's caption. The renderer (graphics/) takes over this stage later.
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
  return true;
}

// Not wired yet: input handlers and input state (world/ input).
bool Stage_Ready() { return true; }

// Not wired yet: event dispatch lists (world/).
void GameStart_BuildDispatchLists() {}
// Not wired yet: global variables (code/).
void GameStart_ResetGlobals() {}
// Not wired yet: score, lives and cursor sprite (world/).
void GameStart_ResetScore() {}
void GameStart_SeedRandom() { RandomSeedFromClock(); }
// Not wired yet: library initialisation code (code/, world/).
void GameStart_RunLibraryInitCode() {}
// Not wired yet: extension initialisers (files/).
bool GameStart_InitExtensions() { return true; }
// Not wired yet: live room states (world/).
void GameStart_ResetRoomStates() { RoomRuntime_Reset(); }

// Not wired yet: live room states (world/).
void GameEnd_FreeRoomStates() { RoomRuntime_FreeAll(); }
// Not wired yet: extension finalisers (files/).
bool GameEnd_FinalizeExtensions() { return true; }

// Not wired yet: saved games (world/) and the input state.
void Transition_LoadSavedGame(const std::string& file_name) {}

// Not wired yet: graphics (graphics/).
void Shutdown_UnloadSupportLibrary() {}
void Shutdown_ReleaseGraphics() { Platform_Window().CloseMain(); }
// Not wired yet: the sound system (audio/).
void Shutdown_StopSound() {}

void Shutdown_RemoveIncludedFiles() {
  const std::string& temp_dir = TempDir_Path();
  for (auto& file : Game().included_files.items)
    if (file) file->Remove(temp_dir);
}
