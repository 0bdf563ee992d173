// run_main.h: the run loop. Each pass runs one step, waits until the step's
// time is due (1,000,000 microseconds divided by the room speed), presents
// the frame, acts on the pending transition and lets the window process its
// messages. The step itself, the frame presentation and the handling of
// window input are hooks that the game world, the renderer and the input
// state install.
#pragma once

#include <cstdint>

#include "platform/clock.h"

struct PlatformEvent;

struct RunHooks {
  // One step of the game world; increments the step counter when it
  // completes (default: only that).
  void (*step)() = nullptr;
  // Finishes and presents the frame drawn during the step (default: none).
  void (*present)() = nullptr;
  // Handles one window event (default: the close button ends the game; Esc
  // does when the settings say so).
  void (*event)(const PlatformEvent& event) = nullptr;
  // Runs after each step, before the wait (the sound mixer follows game
  // time from here; default: none).
  void (*after_step)() = nullptr;
};

// Installs hooks; null members keep the defaults.
void Run_SetHooks(const RunHooks& hooks);

// Runs until the running flag is cleared or the paused flag is set.
void Run_Loop();
// One pass without pacing: step, present, transition (the debugger's step).
void Run_SingleStep();
// Lets the window process its pending messages, handing each input event to
// the event hook.
void Run_ProcessMessages();

// How the wait between steps sleeps and spins (see Clock_WaitUntil).
void Run_SetWaitTuning(const ClockWaitTuning& tuning);

// Steps counted in the last whole second.
int Run_Fps();
// Steps run since program start (all games together); the step limit of
// automated runs counts these.
int64_t Run_TotalSteps();

// The pacing of one pass: given the next-step time and now (microseconds)
// and the room speed, the wait in microseconds (0 .. 1,000,000). A speed
// below 1 counts as 1.
int64_t Run_PacingWait(int64_t next_step_time, int64_t now, int room_speed);
