// clock.cpp: steady-clock time base, tick count and the precise wait.
#include "platform/clock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>

namespace {

using SteadyClock = std::chrono::steady_clock;

// Longest sleep between two polls of the window.
constexpr int64_t kSleepSliceMicros = 10000;

SteadyClock::time_point ClockOrigin() {
  static const SteadyClock::time_point origin = SteadyClock::now();
  return origin;
}

}  // namespace

int64_t Clock_NowMicros() {
  const auto origin = ClockOrigin();
  return std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - origin)
      .count();
}

int64_t Clock_TickMillis() { return Clock_NowMicros() / 1000; }

void Clock_Sleep(int64_t micros) {
  if (micros <= 0) return;
  timespec request{static_cast<time_t>(micros / 1000000),
                   static_cast<long>((micros % 1000000) * 1000)};
  timespec remaining{};
  // A signal cuts the sleep short: sleep again for what is left.
  while (nanosleep(&request, &remaining) != 0 && errno == EINTR) request = remaining;
}

void Clock_WaitUntil(int64_t target_micros, ClockPollFunction poll,
                     const ClockWaitTuning& tuning) {
  // The bulk: sleeps, in slices so that the window stays responsive even
  // when a room runs at a few steps per second.
  int64_t now = Clock_NowMicros();
  for (int64_t bulk = target_micros - now - tuning.spin_micros; bulk > 0;
       bulk = target_micros - now - tuning.spin_micros) {
    Clock_Sleep(std::min(bulk, kSleepSliceMicros));
    if (poll) poll();
    now = Clock_NowMicros();
  }
  // The tail: polls until the target, yielding while there is time to.
  int64_t previous = now;
  while (now < target_micros) {
    if (poll) poll();
    const int64_t left = target_micros - Clock_NowMicros();
    if (tuning.yield_micros > 0 && left > 2 * tuning.yield_micros) Clock_Sleep(tuning.yield_micros);
    now = Clock_NowMicros();
    if (now < previous) break;  // the clock went backwards: stop waiting
    previous = now;
  }
}
