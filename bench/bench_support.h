// bench_support.h: the set-up shared by the game-step benchmarks: builtin
// registration, an empty game, code actions, entering the first room of a
// built game headless (no transition), and timing World_Step over a
// benchmark's iterations.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "code/builtin_variables.h"
#include "code/code_function.h"
#include "runner/builtins.h"
#include "code/code_main.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "world/action_engine.h"
#include "world/event_dispatch.h"
#include "world/instance_list.h"
#include "world/room_enter.h"
#include "world/room_runtime.h"
#include "world/run_step.h"
#include "world/world_builtins.h"

namespace benchsupport {

inline void RegisterBuiltins() {
  Builtins_RegisterAll();
  Code_RegisterFunctions();
  World_RegisterBuiltins();
}

// Frees the running room and clears the game; errors are not shown.
inline void ResetGame() {
  RoomRuntime_FreeAll();
  Game().Clear();
  Game().settings.show_errors = false;
}

// A code action running text.
inline CAction Code(const char* text) {
  CAction a;
  a.act_kind = ACT_CODE;
  a.act_exetype = EXE_CODE;
  a.act_argumentcount = 1;
  a.act_argtype[0] = 1;
  a.act_argstring[0] = FromAscii(text);
  return a;
}

// Compiles the objects, builds the dispatch lists and enters the first
// room of the game.
inline void EnterFirstRoom() {
  World_CompileObjects();
  Dispatch_Build();
  RoomRuntime_Reset();
  Room_SetHooks(RoomHooks{RoomRuntime_Enter, RoomRuntime_Leave, Room_Live});
  RunnerForm().pending_transition = TRANSITION_NONE;
  Room_EnterFirst();
}

struct StepTiming {
  int64_t steps = 0;
  double elapsed_s = 0;
};

// Runs one World_Step per benchmark iteration.
inline StepTiming TimeSteps(benchmark::State& state) {
  StepTiming timing;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    World_Step();
    ++timing.steps;
  }
  timing.elapsed_s =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return timing;
}

}  // namespace benchsupport
