// random.cpp: the runner's one random generator, a process-wide 32-bit linear
// congruential state.
#include "common/random.h"

#include <chrono>

namespace {

uint32_t g_seed = 0;

uint32_t NextState() {
  g_seed = g_seed * 134775813u + 1u;
  return g_seed;
}

}  // namespace

uint32_t RandomGetSeed() { return g_seed; }

void RandomSetSeed(uint32_t seed) { g_seed = seed; }

void RandomSeedFromClock() {
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  g_seed = static_cast<uint32_t>(ns.count());
}

double RandomReal() { return NextState() * (1.0 / 4294967296.0); }

uint32_t RandomInt(uint32_t n) {
  return static_cast<uint32_t>((static_cast<uint64_t>(NextState()) * n) >> 32);
}
