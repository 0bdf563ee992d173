// bench_collision.cpp: the cost of a game step with a busy collision phase.
// A room of 2,000 moving instances with precise round masks and collision
// events with each other and with 2,000 solid walls (precise masks) runs
// headless, with no drawing and no pacing. Reported per variant:
//   steps_per_s: whole steps per second
//   events_per_step: collision events performed per step
// Variants: "broad" (the grid broad phase) and "all_pairs" (the plain
// form that tests every pair of instances).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "bench/bench_support.h"
#include "motion/collision_phase.h"
#include "motion/mask_build.h"
#include "motion/sprite_class.h"

void Collision_InstallHooks();

namespace {

constexpr int kMovers = 2000;
constexpr int kWalls = 2000;
constexpr int kRoomWidth = 3200;
constexpr int kRoomHeight = 2400;

int64_t collision_events = 0;

void CountEvent(RValue&, CInstance*, CInstance*, int, RValue*) { ++collision_events; }

using benchsupport::Code;

// A 16 x 16 sprite with a precise mask: a disc or a full square.
int AddSprite(bool disc) {
  auto s = std::make_unique<CSprite>();
  TBitmap32 bm(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const double dx = x - 7.5, dy = y - 7.5;
      if (!disc || dx * dx + dy * dy < 64) bm.SetPixel(x, y, 0xFF000000u);
    }
  s->i_bitmap.push_back(bm);
  Mask_ComputeSpriteMasks(*s, false, kBoxAutomatic, {}, kMaskPrecise, 0);
  return Game().sprites.Add(std::move(s), disc ? u"ball" : u"brick");
}

void BuildGame() {
  benchsupport::RegisterBuiltins();
  if (Function_Find("bench_count") < 0) Function_Add("bench_count", CountEvent, 0);
  Collision_InstallHooks();
  benchsupport::ResetGame();
  const int ball = AddSprite(true), brick = AddSprite(false);
  auto mover = std::make_unique<CObject>();
  mover->o_spriteindex = ball;
  mover->AddEvent(ev_collision, 0).e_actions.push_back(Code("bench_count();"));
  mover->AddEvent(ev_collision, 1)
      .e_actions.push_back(Code("bench_count(); hspeed = -hspeed; vspeed = -vspeed;"));
  auto wall = std::make_unique<CObject>();
  wall->o_spriteindex = brick;
  wall->o_solid = true;
  Game().objects.Add(std::move(mover), u"mover");
  Game().objects.Add(std::move(wall), u"wall");
  auto room = std::make_unique<CRoom>();
  std::mt19937 rng(1);
  for (int i = 0; i < kMovers + kWalls; ++i) {
    RRoomInstance placed;
    placed.index = i < kMovers ? 0 : 1;
    placed.x = static_cast<int>(rng() % kRoomWidth);
    placed.y = static_cast<int>(rng() % kRoomHeight);
    placed.id = 100001 + i;
    if (i < kMovers) {
      const int hs = static_cast<int>(rng() % 9) - 4, vs = static_cast<int>(rng() % 9) - 4;
      placed.code = FromAscii(("hspeed = " + std::to_string(hs) + "; vspeed = " +
                               std::to_string(vs) + ";").c_str());
    }
    room->r_instances.push_back(placed);
  }
  room->r_width = kRoomWidth;
  room->r_height = kRoomHeight;
  Game().rooms.Add(std::move(room), u"arena");
  Game().room_order = {0};
  benchsupport::EnterFirstRoom();
}

void BM_CollisionStep(benchmark::State& state, bool broad) {
  BuildGame();
  Collision_SetBroadPhase(broad);
  collision_events = 0;
  const benchsupport::StepTiming timing = benchsupport::TimeSteps(state);
  const auto steps = static_cast<double>(timing.steps);
  state.counters["steps_per_s"] = steps / timing.elapsed_s;
  state.counters["events_per_step"] = static_cast<double>(collision_events) / steps;
  Collision_SetBroadPhase(true);
  RoomRuntime_FreeAll();
}

}  // namespace

BENCHMARK_CAPTURE(BM_CollisionStep, broad, true)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_CollisionStep, all_pairs, false)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
