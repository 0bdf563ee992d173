// bench_pacing.cpp: how closely the run loop keeps a room speed of 60 and
// what the wait between steps costs in CPU. Each run drives the real run
// loop for 180 steps (3 s) with an empty step and reports:
//   dev_median_us / dev_p99_us: how late each step starts after the time
//   the loop scheduled it for (period after the previous due time)
//   cpu_percent: process CPU time (getrusage) over wall time
// The variants differ in the wait's spin tail (spin_us) and whether the
// tail yields with short sleeps (yield_us, 0 = pure polling).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "world/room_enter.h"
#include "world/run_main.h"

namespace {

constexpr int kSteps = 180;
constexpr int kSpeed = 60;

std::vector<int64_t> g_starts;

void RecordingStep() {
  g_starts.push_back(Clock_NowMicros());
  ++RunnerForm().step_counter;
  if (static_cast<int>(g_starts.size()) >= kSteps) Runner_RequestTransition(TRANSITION_END);
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void PrepareRoom() {
  Game().Clear();
  auto room = std::make_unique<CRoom>();
  room->r_speed = kSpeed;
  Game().rooms.Add(std::move(room), u"bench");
  Game().room_order = {0};
  Room_Leave(RoomChange::Normal);
  Room_EnterFirst();
}

void BM_Pacing60(benchmark::State& state) {
  Run_SetWaitTuning(ClockWaitTuning{state.range(0), state.range(1)});
  RunHooks hooks;
  hooks.step = RecordingStep;
  Run_SetHooks(hooks);
  PrepareRoom();
  std::vector<double> deviations;
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    g_starts.clear();
    RunnerForm().running = true;
    const double cpu0 = CpuSeconds();
    const int64_t wall0 = Clock_NowMicros();
    Run_Loop();
    cpu += CpuSeconds() - cpu0;
    wall += (Clock_NowMicros() - wall0) / 1e6;
    // The loop's own schedule: from the loop's start, each step is due one
    // period after the previous due time, or at once when the previous step
    // started late.
    const int64_t period = 1000000 / kSpeed;
    int64_t due = wall0;
    for (size_t i = 1; i < g_starts.size(); ++i) {
      due = std::max(due + period, g_starts[i - 1]);
      deviations.push_back(static_cast<double>(g_starts[i] - due));
    }
  }
  std::sort(deviations.begin(), deviations.end());
  state.counters["dev_median_us"] = deviations[deviations.size() / 2];
  state.counters["dev_p99_us"] = deviations[deviations.size() * 99 / 100];
  state.counters["cpu_percent"] = 100.0 * cpu / wall;
}

BENCHMARK(BM_Pacing60)
    ->ArgNames({"spin_us", "yield_us"})
    ->Args({1000, 0})
    ->Args({1000, 100})
    ->Args({300, 50})
    ->Args({0, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
