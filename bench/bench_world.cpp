// bench_world.cpp: the cost of a game step. A room of 10,000 instances of
// one object with a step, an alarm and an end-step event runs headless
// (no drawing, no pacing). Reported per variant:
//   steps_per_s: whole steps per second
//   ns_per_event: step time divided by the instance events performed
// Variants: "code" runs one small code action per event (interpreter
// included); "empty" runs an action that executes nothing (dispatch and
// the statement engine only). A fourth object without events is present
// 10,000 times as well, to show that its instances cost only motion and
// animation, not dispatch.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "code/builtin_variables.h"
#include "code/code_function.h"
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

namespace {

constexpr int kInstances = 10000;

CAction Code(const char* text) {
  CAction a;
  a.act_kind = ACT_CODE;
  a.act_exetype = EXE_CODE;
  a.act_argumentcount = 1;
  a.act_argtype[0] = 1;
  a.act_argstring[0] = FromAscii(text);
  return a;
}

CAction Empty() { return CAction(); }

// Builds the game: object 0 with the three events, object 1 without any.
void BuildGame(bool with_code) {
  Builtins_RegisterAll();
  Code_RegisterFunctions();
  World_RegisterBuiltins();
  RoomRuntime_FreeAll();
  Game().Clear();
  Game().settings.show_errors = false;
  auto busy = std::make_unique<CObject>();
  busy->AddEvent(ev_step, 0).e_actions.push_back(with_code ? Code("n += 1;") : Empty());
  busy->AddEvent(ev_step, 2).e_actions.push_back(with_code ? Code("m = n;") : Empty());
  // The alarm re-arms itself: it fires every second step.
  busy->AddEvent(ev_alarm, 0).e_actions.push_back(Code("alarm[0] = 2;"));
  busy->AddEvent(ev_create, 0).e_actions.push_back(Code("alarm[0] = 1 + (id mod 2); n = 0;"));
  Game().objects.Add(std::move(busy), u"busy");
  Game().objects.Add(std::make_unique<CObject>(), u"idle");
  auto room = std::make_unique<CRoom>();
  for (int i = 0; i < 2 * kInstances; ++i) {
    RRoomInstance placed;
    placed.index = i < kInstances ? 0 : 1;
    placed.x = i % 640;
    placed.y = i / 640;
    placed.id = 100001 + i;
    room->r_instances.push_back(placed);
  }
  Game().rooms.Add(std::move(room), u"arena");
  Game().room_order = {0};
  World_CompileObjects();
  Dispatch_Build();
  RoomRuntime_Reset();
  Room_SetHooks(RoomHooks{RoomRuntime_Enter, RoomRuntime_Leave, Room_Live});
  RunnerForm().pending_transition = TRANSITION_NONE;
  Room_EnterFirst();
}

void BM_WorldStep(benchmark::State& state, bool with_code) {
  BuildGame(with_code);
  int64_t steps = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    World_Step();
    ++steps;
  }
  const double elapsed_ns =
      std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
  // Per step: step + end step for every busy instance, the alarm for half.
  const double events_per_step = kInstances * 2.5;
  state.counters["steps_per_s"] = static_cast<double>(steps) / (elapsed_ns / 1e9);
  state.counters["ns_per_event"] = elapsed_ns / (static_cast<double>(steps) * events_per_step);
  RoomRuntime_FreeAll();
}

}  // namespace

BENCHMARK_CAPTURE(BM_WorldStep, code, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorldStep, empty, false)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
