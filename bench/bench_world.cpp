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

#include <memory>

#include "bench/bench_support.h"

namespace {

constexpr int kInstances = 10000;

using benchsupport::Code;

CAction Empty() { return CAction(); }

// Builds the game: object 0 with the three events, object 1 without any.
void BuildGame(bool with_code) {
  benchsupport::RegisterBuiltins();
  benchsupport::ResetGame();
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
  benchsupport::EnterFirstRoom();
}

void BM_WorldStep(benchmark::State& state, bool with_code) {
  BuildGame(with_code);
  const benchsupport::StepTiming timing = benchsupport::TimeSteps(state);
  // Per step: step + end step for every busy instance, the alarm for half.
  const double events_per_step = kInstances * 2.5;
  const auto steps = static_cast<double>(timing.steps);
  state.counters["steps_per_s"] = steps / timing.elapsed_s;
  state.counters["ns_per_event"] = timing.elapsed_s * 1e9 / (steps * events_per_step);
  RoomRuntime_FreeAll();
}

}  // namespace

BENCHMARK_CAPTURE(BM_WorldStep, code, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorldStep, empty, false)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
