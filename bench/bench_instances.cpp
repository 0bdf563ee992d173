// bench_instances.cpp: game logic per instance. A room of N invisible
// instances (10,000 and 50,000) of one object whose step event runs
//   x += hspeed_; if (x > 640) x = 0;
// and whose alarm 0 fires every 30 steps and re-arms itself, run headless
// (no drawing, no pacing). Reported: ns_per_instance, the step time
// divided by the instances (wall clock), and cpu_ns_per_instance, the same
// from the thread's CPU time (meaningful on a busy machine). Variants split
// the cost:
//   logic:     the whole work above
//   dispatch:  the same events with actions that execute nothing
//              (event dispatch, the action engine, the alarm clocks)
//   motion:    an object without events (the step loop's per-instance
//              phases: motion, paths, animation, bounding boxes)
// so code = logic - dispatch and dispatch alone = dispatch - motion.
#include <benchmark/benchmark.h>

#include <time.h>

#include <memory>

#include "bench/bench_support.h"

namespace {

using benchsupport::Code;

enum class Variant { Logic, Dispatch, Motion };

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BuildGame(int instances, Variant variant) {
  benchsupport::RegisterBuiltins();
  benchsupport::ResetGame();
  auto object = std::make_unique<CObject>();
  object->o_visible = false;
  if (variant != Variant::Motion) {
    const bool logic = variant == Variant::Logic;
    object->AddEvent(ev_create, 0).e_actions.push_back(
        Code("hspeed_ = 1 + id mod 3; alarm[0] = 1 + id mod 30;"));
    object->AddEvent(ev_step, 0).e_actions.push_back(
        logic ? Code("x += hspeed_; if (x > 640) x = 0;") : CAction());
    object->AddEvent(ev_alarm, 0).e_actions.push_back(logic ? Code("alarm[0] = 30;") : CAction());
  }
  Game().objects.Add(std::move(object), u"mover");
  auto room = std::make_unique<CRoom>();
  for (int i = 0; i < instances; ++i) {
    RRoomInstance placed;
    placed.index = 0;
    placed.x = i % 640;
    placed.y = i / 640;
    placed.id = 100001 + i;
    room->r_instances.push_back(placed);
  }
  Game().rooms.Add(std::move(room), u"arena");
  Game().room_order = {0};
  benchsupport::EnterFirstRoom();
}

void BM_InstanceStep(benchmark::State& state, Variant variant) {
  const int instances = static_cast<int>(state.range(0));
  BuildGame(instances, variant);
  const double cpu_start = ThreadCpuSeconds();
  const benchsupport::StepTiming timing = benchsupport::TimeSteps(state);
  const double cpu = ThreadCpuSeconds() - cpu_start;
  const double per = 1e9 / (static_cast<double>(timing.steps) * instances);
  state.counters["ns_per_instance"] = timing.elapsed_s * per;
  state.counters["cpu_ns_per_instance"] = cpu * per;
  RoomRuntime_FreeAll();
}

}  // namespace

BENCHMARK_CAPTURE(BM_InstanceStep, logic, Variant::Logic)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_InstanceStep, dispatch, Variant::Dispatch)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_InstanceStep, motion, Variant::Motion)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
