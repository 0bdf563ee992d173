// clock.h: the runner's monotonic time base and its waits. Microseconds and
// millisecond ticks both count from the first use of the clock; waits sleep
// with nanosleep for the bulk and spin only for a short tail, so pacing keeps
// sub-millisecond accuracy at little CPU cost.
#pragma once

#include <cstdint>

// Microseconds of the steady clock since the clock's first use.
int64_t Clock_NowMicros();
// Milliseconds since the clock's first use (the tick count).
int64_t Clock_TickMillis();

// Blocks the thread for the given number of microseconds (no spin).
void Clock_Sleep(int64_t micros);

// Called repeatedly while a wait spins or after it sleeps: lets the window
// process its pending messages.
using ClockPollFunction = void (*)();

// Waits until Clock_NowMicros() reaches target_micros. Sleeps until
// spin_micros before the target (calling poll, when given, at least every
// 10 ms), then polls (calling poll on every pass) until the target is
// reached or the clock goes backwards. The
// spin tail itself yields with very short sleeps whenever more than
// 2 * yield_micros remain, so a wait uses the CPU only in its last moments.
// The defaults keep steps within a few microseconds of their time at room
// speed 60 for under 1% CPU (bench/bench_pacing.cpp); a plain sleep to the
// target is late by about 0.1 ms, a 1 ms pure spin costs 3-4% CPU.
struct ClockWaitTuning {
  int64_t spin_micros = 300;
  int64_t yield_micros = 50;
};
void Clock_WaitUntil(int64_t target_micros, ClockPollFunction poll,
                     const ClockWaitTuning& tuning = ClockWaitTuning());
