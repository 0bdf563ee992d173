// run_main.cpp: the run loop and its pacing.
#include "world/run_main.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/window.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "common/test_switches.h"
#include "world/room_enter.h"

namespace {

void DefaultStep() { ++RunnerForm().step_counter; }

void DefaultEvent(const PlatformEvent& event) {
  const GameSettings& settings = Game().settings;
  if (event.kind == PlatformEvent::Close) Runner_RequestTransition(TRANSITION_END);
  if (event.kind == PlatformEvent::KeyDown && event.key == 27 && settings.esc_ends_game)
    Runner_RequestTransition(TRANSITION_END);
}

RunHooks g_hooks{DefaultStep, nullptr, DefaultEvent};

struct LoopClock {
  int64_t next_step_time = 0;
  int64_t last_second_mark = 0;
  int steps_this_second = 0;
};

ClockWaitTuning g_wait_tuning;
int g_fps = 0;
int64_t g_total_steps = 0;

bool EndPending() {
  const int pending = RunnerForm().pending_transition;
  return pending == TRANSITION_END || pending == TRANSITION_ABORT;
}

// Runs one step; with a step limit set, the game ends as game_end would
// once the limit is reached.
void RunStep() {
  g_hooks.step();
  if (g_hooks.after_step) g_hooks.after_step();
  ++g_total_steps;
  const int64_t limit = Test_Switches().max_steps;
  if (limit > 0 && g_total_steps >= limit) Runner_RequestTransition(TRANSITION_END);
}

void PresentFrame() {
  if (g_hooks.present && !Runner_TransitionPending()) g_hooks.present();
}

// Steps 2 to 5 of a pass: wait for the step's time, count the frame rate.
void Pace(LoopClock& clock) {
  const int64_t now = Clock_NowMicros();
  if (now < clock.next_step_time) clock.next_step_time = now;
  int speed = Room_Speed();
  if (speed < 1) {
    Room_SetSpeed(1);
    speed = 1;
  }
  const int64_t wait = Test_Switches().fast ? 0 : Run_PacingWait(clock.next_step_time, now, speed);
  if (wait > 0) Clock_WaitUntil(now + wait, Run_ProcessMessages, g_wait_tuning);
  clock.next_step_time = now + wait;
  if (clock.next_step_time / 1000000 > clock.last_second_mark / 1000000) {
    g_fps = clock.steps_this_second;
    clock.steps_this_second = 0;
    clock.last_second_mark = clock.next_step_time;
  }
  ++clock.steps_this_second;
}

void RunPass(LoopClock& clock) {
  if (Runner_StopSignalled()) Runner_RequestTransition(TRANSITION_END);
  // An end requested outside a step (while entering a room, by the window,
  // by a signal) acts before another step runs.
  if (EndPending()) {
    Runner_HandleTransition();
    return;
  }
  RunStep();
  Pace(clock);
  PresentFrame();
  Runner_HandleTransition();
  Run_ProcessMessages();
}

}  // namespace

void Run_SetHooks(const RunHooks& hooks) {
  if (hooks.step) g_hooks.step = hooks.step;
  if (hooks.present) g_hooks.present = hooks.present;
  if (hooks.event) g_hooks.event = hooks.event;
  if (hooks.after_step) g_hooks.after_step = hooks.after_step;
}

void Run_SetWaitTuning(const ClockWaitTuning& tuning) { g_wait_tuning = tuning; }

int64_t Run_PacingWait(int64_t next_step_time, int64_t now, int room_speed) {
  const int64_t period = 1000000 / std::max(room_speed, 1);
  return std::clamp<int64_t>(next_step_time + period - now, 0, 1000000);
}

void Run_ProcessMessages() {
  PlatformWindow& window = Platform_Window();
  window.PumpEvents();
  PlatformEvent event;
  while (window.NextEvent(event)) g_hooks.event(event);
}

void Run_Loop() {
  TRunnerForm& form = RunnerForm();
  Runner_HandleTransition();
  LoopClock clock;
  clock.next_step_time = clock.last_second_mark = Clock_NowMicros();
  g_fps = 0;
  Run_ProcessMessages();
  while (form.running && !form.paused) {
    // An exception that escapes a pass is dropped; the loop goes on.
    try {
      RunPass(clock);
    } catch (...) {
    }
  }
}

void Run_SingleStep() {
  try {
    RunStep();
    PresentFrame();
    Runner_HandleTransition();
    Run_ProcessMessages();
  } catch (...) {
  }
}

int Run_Fps() { return g_fps; }

int64_t Run_TotalSteps() { return g_total_steps; }
