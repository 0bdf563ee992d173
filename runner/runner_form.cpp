// runner_form.cpp: program start, the load-prepare-run sequence, the game
// lifecycle, transitions and shutdown.
#include "runner/runner_form.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "platform/clock.h"
#include "graphics/transition.h"
#include "platform/window.h"
#include "runner/game_data.h"
#include "dialogs/load_form.h"
#include "runner/runner_load.h"
#include "runner/runner_stages.h"
#include "common/support_file.h"
#include "common/test_switches.h"
#include "world/room_enter.h"
#include "world/run_main.h"

namespace {

// Exit statuses.
constexpr int kExitNormal = 0;
constexpr int kExitStartFailed = 1;
constexpr int kExitAborted = 2;

// The debug-mode end timer's period.
constexpr int64_t kEndTimerMicros = 100000;

volatile std::sig_atomic_t g_stop_signalled = 0;

void OnStopSignal(int signal_number) {
  if (g_stop_signalled) _exit(128 + signal_number);
  g_stop_signalled = 1;
}

void InstallStopSignals() {
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
}

bool StageReady() {
  if (!Stage_Ready()) return false;
  LoadForm().Close();
  return true;
}

// Runs the priority stage's work (no progress, never fails).
bool StagePriority() {
  Stage_SetPriority();
  return true;
}

void RecordCommandLine(int argc, char** argv) {
  TRunnerForm& form = RunnerForm();
  form.arguments.assign(argv, argv + argc);
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error && argc > 0) exe = std::filesystem::absolute(argv[0], error);
  form.exe_path = exe.string();
  form.app_title = exe.stem().string();
}

void RemoveTempDirAtExit() { TempDir_Remove(); }

void StartTempDir() {
  const std::string exe_dir = std::filesystem::path(RunnerForm().exe_path).parent_path().string();
  TempDir_Create(exe_dir, Runner_ShowMessage);
  std::atexit(RemoveTempDirAtExit);
}

void Shutdown() {
  Shutdown_UnloadSupportLibrary();
  Shutdown_ReleaseGraphics();
  Shutdown_StopSound();
  Shutdown_RemoveIncludedFiles();
  Shutdown_CloseFiles();
}

// Debug mode keeps the program alive after the run loop returned until the
// game no longer runs (the debugger ends it); polled every 100 ms.
void WaitWhileDebuggerRuns() {
  TRunnerForm& form = RunnerForm();
  while (form.running && !form.quit_requested && !Runner_StopSignalled()) {
    Run_ProcessMessages();
    Clock_Sleep(kEndTimerMicros);
  }
}

// The start timer's work: the whole start-up, the game and shutdown.
int StartTimer() {
  Platform_Window().HideMain();
  if (!Runner_LoadPrepareRun()) return kExitStartFailed;
  if (RunnerForm().debug_mode) WaitWhileDebuggerRuns();
  Shutdown();
  Platform_Window().HideMain();
  return RunnerForm().aborted ? kExitAborted : kExitNormal;
}

}  // namespace

TRunnerForm& RunnerForm() {
  static TRunnerForm form;
  return form;
}

const std::vector<RunnerStage>& Runner_Stages() {
  static const std::vector<RunnerStage> stages = {
      {-1, nullptr, StagePriority, nullptr},
      {50, "Extracting included files", Stage_ExtractIncludedFiles,
       "Failed to extract the included files."},
      {55, "Preparing extension pacakges", Stage_PrepareExtensions,
       "Failed to prepare extension packages."},
      {60, "Preparing constants", Stage_DefineConstants, "Failed to define the constants."},
      {61, "Preparing triggers", Stage_PrepareTriggers, "Failed to prepare triggers."},
      {62, "Compiling scripts", Stage_CompileScripts, "Failed to compile the scripts."},
      {70, "Compiling time line actions", Stage_CompileTimeLines,
       "Failed to compile the actions in the time lines."},
      {72, "Compiling object actions", Stage_CompileObjects,
       "Failed to compile the actions in the objects."},
      {80, "Preparing sounds", Stage_PrepareSounds, "Failed to prepare the sounds."},
      {90, "Preparing graphics", Stage_PrepareGraphics, nullptr},
      {100, "Ready", StageReady, nullptr},
  };
  return stages;
}

bool Runner_Prepare() {
  for (const RunnerStage& stage : Runner_Stages()) {
    if (stage.progress_text != nullptr) LoadForm().SetProgress(stage.percent, stage.progress_text);
    if (stage.run()) continue;
    if (stage.failure_message != nullptr) Runner_ShowMessage(stage.failure_message);
    return false;
  }
  return true;
}

bool Runner_LoadPrepareRun() {
  if (!Runner_LoadGame(RunnerForm().exe_path)) return false;
  TRunnerForm& form = RunnerForm();
  form.game_id = Game().game_id;
  form.debug_mode = Game().debug_mode;
  try {
    if (!Runner_Prepare()) return false;
    // The debugger window does not exist yet: nothing to show or destroy.
    Platform_Window().ShowMain();
    Runner_RunGame();
    return true;
  } catch (...) {
    Runner_ShowMessage("Unexpected error occured when running the game.");
    return false;
  }
}

void Runner_GameStart() {
  TRunnerForm& form = RunnerForm();
  GameStart_BuildDispatchLists();
  GameStart_ResetGlobals();
  GameStart_ResetScore();
  form.step_counter = 0;
  form.transition_kind = 0;
  GameStart_SeedRandom();
  // A fatal error here (init code that does not compile, a failing
  // extension initialiser) has requested the abort: no room is entered and
  // the run loop ends before its first step.
  if (!GameStart_RunLibraryInitCode()) return;
  if (!GameStart_InitExtensions()) return;
  Platform_Window().SetCursorVisible(Game().settings.show_cursor);
  GameStart_ResetRoomStates();
  Room_EnterFirst();
}

void Runner_GameEnd() {
  Room_Leave(RoomChange::GameBoundary);
  GameEnd_FreeRoomStates();
  if (GameEnd_FinalizeExtensions()) Platform_Window().SetCursorVisible(true);
}

void Runner_RunGame() {
  TRunnerForm& form = RunnerForm();
  if (!form.running) {
    form.running = true;
    Runner_GameStart();
  }
  form.running = true;
  form.paused = false;
  Run_Loop();
  if (!form.running) Runner_GameEnd();
}

void Runner_HandleTransition() {
  TRunnerForm& form = RunnerForm();
  const int transition = form.pending_transition;
  // Cleared first: a request made while acting on this one stays pending.
  form.pending_transition = TRANSITION_NONE;
  if (transition == TRANSITION_END || transition == TRANSITION_ABORT) {
    if (transition == TRANSITION_ABORT) form.aborted = true;
    form.running = false;
  } else if (transition == TRANSITION_LOAD) {
    Transition_LoadSavedGame(form.pending_load_file);
  } else if (transition == TRANSITION_RESTART) {
    Runner_GameEnd();
    Runner_GameStart();
  } else if (transition >= 0) {
    Transition_Begin();  // takes the old room's picture before it is left
    Room_Goto(transition);
  }
  // A fatal error while acting on the request ends the game before any
  // further step.
  if (form.pending_transition == TRANSITION_ABORT) {
    form.pending_transition = TRANSITION_NONE;
    form.aborted = true;
    form.running = false;
  }
}

// An abort after a fatal error wins over every later request of the step.
void Runner_RequestTransition(int transition) {
  int& pending = RunnerForm().pending_transition;
  if (pending != TRANSITION_ABORT) pending = transition;
}

void Runner_RequestLoad(const std::string& file_name) {
  RunnerForm().pending_load_file = file_name;
  Runner_RequestTransition(TRANSITION_LOAD);
}

void Runner_RequestQuit() { RunnerForm().quit_requested = true; }

void Runner_Abort() {
  Runner_RequestTransition(TRANSITION_ABORT);
  Runner_RequestQuit();
}

bool Runner_StopSignalled() { return g_stop_signalled != 0; }

bool Runner_TransitionPending() { return RunnerForm().pending_transition != TRANSITION_NONE; }

bool Runner_IsRunning() { return RunnerForm().running; }
bool Runner_DebugMode() { return RunnerForm().debug_mode; }
int Runner_GameId() { return RunnerForm().game_id; }
int64_t Runner_StepCount() { return RunnerForm().step_counter; }

void Runner_ShowMessage(const std::string& text) {
  Platform_Window().ShowMessage(RunnerForm().app_title, text);
}

int Runner_Main(int argc, char** argv) {
  TestSwitches_Read();
  Platform_SelectWindow(Test_Switches().headless);
  RecordCommandLine(argc, argv);
  StartTempDir();
  InstallStopSignals();
  Stage_RegisterBuiltins();
  Stage_DecideSecureMode();
  Stage_InstallHooks();
  Platform_Window().PumpEvents();
  const int status = StartTimer();
  TempDir_Remove();
  return status;
}
