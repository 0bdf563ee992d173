// random.h: the runner's one random generator, a process-wide 32-bit linear
// congruential state shared by game code and every part that draws random
// numbers. One step: S := S * 134775813 + 1 (mod 2^32).
#pragma once

#include <cstdint>

uint32_t RandomGetSeed();
void RandomSetSeed(uint32_t seed);
// Seeds from the low 32 bits of the high-resolution clock.
void RandomSeedFromClock();
// The next state as a real in [0, 1): S * 2^-32.
double RandomReal();
// The next state as an integer below n: floor(S * n / 2^32).
uint32_t RandomInt(uint32_t n);
