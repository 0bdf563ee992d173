// bench_motion.cpp: the hot reads of paths and motion planning.
//   BM_PathPosition: one position read (GetPosition) on a closed smooth
//     path of 64 waypoints at precision 8 (a polyline of some thousand
//     points), at positions spread over the whole path.
//   BM_GridPath: one breadth-first cell path search on a 200 x 200 grid
//     with walls, corner to corner, with and without diagonals.
#include <benchmark/benchmark.h>

#include <cmath>

#include "motion/mp_grid.h"
#include "motion/path_class.h"

namespace {

CPath WavyPath() {
  CPath p;
  p.i_kind = 1;
  p.i_precision = 8;
  for (int i = 0; i < 64; ++i) {
    const double a = i * 2 * 3.14159265358979 / 64;
    p.i_points.push_back(RWayPoint{400 + 300 * std::cos(a), 300 + (200 + 60 * (i % 3)) * std::sin(a), 100});
  }
  p.ComputeInterpolation();
  return p;
}

void BM_PathPosition(benchmark::State& state) {
  const CPath p = WavyPath();
  double pos = 0, x, y, s, sum = 0;
  for (auto _ : state) {
    pos += 0.000731;
    if (pos > 1) pos -= 1;
    p.GetPosition(pos, x, y, s);
    sum += x;
  }
  benchmark::DoNotOptimize(sum);
  state.counters["polyline_points"] = p.IntCount();
}
BENCHMARK(BM_PathPosition);

void BM_GridPath(benchmark::State& state) {
  CGrid g;
  g.Create(0, 0, 200, 200, 8, 8);
  // Walls every 10 columns with a gap that alternates top and bottom.
  for (int i = 10; i < 200; i += 10)
    for (int j = 0; j < 200; ++j)
      if ((i / 10) % 2 ? j < 190 : j >= 10) g.AddCell(i, j);
  CPath p;
  const bool diagonal = state.range(0) != 0;
  for (auto _ : state) benchmark::DoNotOptimize(g.FindPath(p, 4, 4, 1596, 1596, diagonal));
  state.counters["path_points"] = p.Count();
}
BENCHMARK(BM_GridPath)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
