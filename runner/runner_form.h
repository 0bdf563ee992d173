// runner_form.h: the runner's spine (TRunnerForm). Program start, the
// load-prepare-run sequence with its preparation stages, game start and
// game end, the pending transition and its handling, shutdown, and the
// runner-wide state other parts query: running and paused flags, the step
// counter, the game id, debug mode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Values of the pending transition besides a room index (0 or more).
enum : int {
  TRANSITION_NONE = -1,
  TRANSITION_END = -100,
  TRANSITION_RESTART = -200,
  TRANSITION_LOAD = -300,
  TRANSITION_ABORT = -400,
};

// Runner-wide state: one instance, living from program start to exit.
struct TRunnerForm {
  bool running = false;
  bool paused = false;
  int pending_transition = TRANSITION_NONE;
  std::string pending_load_file;  // recorded with a -300 request
  int64_t step_counter = 0;       // steps since game start
  int transition_kind = 0;        // room-transition effect of the next change
  int game_id = 0;
  bool debug_mode = false;
  bool aborted = false;           // the game ended through -400
  bool quit_requested = false;    // the program ends after the current step
  std::string app_title;          // executable name without extension
  std::string exe_path;           // the runner's own executable
  std::vector<std::string> arguments;  // the command line, program name first
};

TRunnerForm& RunnerForm();

// Program entry: start-up, the whole game, shutdown. Returns the exit
// status: 0 after a normal end (game_end, Esc, the close button, the step
// limit, SIGINT or SIGTERM), 1 after a failed start-up, 2 after a game
// aborted by a fatal error (-400). A game data check that fails ends the
// program with 3 (runner_load.h).
int Runner_Main(int argc, char** argv);

// Requests a transition (the last request of a step wins); acted on by the
// run loop after the current step. Room indices are 0 or more.
void Runner_RequestTransition(int transition);
// Requests loading the saved game in file_name (-300).
void Runner_RequestLoad(const std::string& file_name);
// Asks the program to end after the current step (a fatal error does this
// together with -400).
void Runner_RequestQuit();
// A fatal error: requests the abort transition (-400) and the end of the
// program after the current step.
void Runner_Abort();
// True once SIGINT or SIGTERM arrived: the run loop then ends the game as
// game_end does, so the program still cleans up (a second signal ends it at
// once).
bool Runner_StopSignalled();
bool Runner_TransitionPending();

// Queries.
bool Runner_IsRunning();
bool Runner_DebugMode();
int Runner_GameId();
int64_t Runner_StepCount();

// Game lifecycle, used by the run loop and the debugger.
void Runner_GameStart();
void Runner_GameEnd();
// The run entry: game start when not yet running, then the run loop until
// the game ends or is paused; game end when it ended.
void Runner_RunGame();
// Acts on the pending transition and resets it to -1.
void Runner_HandleTransition();

// Shows a start-up message: a message box in a window session, one line on
// standard error when headless. The title is the application title.
void Runner_ShowMessage(const std::string& text);

// The load-prepare-run sequence: true when the game was loaded, prepared and
// run to its end; false when start-up failed (its message has been shown).
bool Runner_LoadPrepareRun();
// The preparation stages in their fixed order; false at the first failure
// (its message has been shown).
bool Runner_Prepare();

// One preparation stage: progress shown before it, its work, and the
// message shown when it fails (empty: it shows its own messages).
struct RunnerStage {
  int percent;
  const char* progress_text;
  bool (*run)();
  const char* failure_message;
};
// The stage table, in order (exposed for tests).
const std::vector<RunnerStage>& Runner_Stages();
