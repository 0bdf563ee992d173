// bench_audio.cpp: the audio engine's costs. BM_Mixer32 renders one second
// of audio on the loopback device with 32 looping voices playing at once
// (normal ones, 3D ones and ones with effect chains); the time per
// iteration is the mixer's CPU cost per second of audio, and cpu_percent
// the share of one core that it takes. BM_PlayToFirstFrame, in a session
// with an output device, times sound_play's engine call up to the first
// frame the mixer takes from the sound, plus the latency the device reports
// to the speaker; it reports the device's period and rate, and skips where
// no device opens.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/audio.h"

namespace {

constexpr int kRate = 44100;

AudioBytes SineWav(double seconds, double freq) {
  const uint32_t frames = static_cast<uint32_t>(seconds * kRate);
  std::vector<uint8_t> out(44 + frames * 2);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  std::memcpy(out.data(), "RIFF", 4);
  put32(4, 36 + frames * 2);
  std::memcpy(out.data() + 8, "WAVEfmt ", 8);
  put32(16, 16);
  put32(20, 1 | (1 << 16));
  put32(24, kRate);
  put32(28, kRate * 2);
  put32(32, 2 | (16 << 16));
  std::memcpy(out.data() + 36, "data", 4);
  put32(40, frames * 2);
  for (uint32_t i = 0; i < frames; ++i) {
    const int16_t v = static_cast<int16_t>(3000 * std::sin(2 * M_PI * freq * i / kRate));
    out[44 + 2 * i] = static_cast<uint8_t>(v);
    out[45 + 2 * i] = static_cast<uint8_t>(v >> 8);
  }
  return std::make_shared<std::vector<uint8_t>>(std::move(out));
}

void BM_Mixer32(benchmark::State& state) {
  auto engine = Audio_OpenLoopback(kRate);
  if (!engine) {
    state.SkipWithError("no loopback device");
    return;
  }
  const int effects = static_cast<int>(state.range(0));
  for (int i = 0; i < 32; ++i) {
    const bool spatial = i % 3 == 1;
    const int v = engine->CreateVoice(Audio_OpenDecoder(SineWav(0.7 + 0.01 * i, 200 + 17 * i)),
                                      spatial, false);
    if (spatial) engine->SetPosition(v, i - 16, 0, 3);
    // effects 1: every third voice has echo, chorus and reverb; 2: echo only.
    if (effects == 1 && i % 3 == 2) engine->SetEffects(v, AUDIO_FX_ECHO | AUDIO_FX_CHORUS | AUDIO_FX_REVERB);
    if (effects == 2 && i % 3 == 2) engine->SetEffects(v, AUDIO_FX_ECHO);
    engine->SetPan(v, (i - 16) * 500);
    engine->Play(v, true);
  }
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) engine->Advance(kRate);  // one second of audio
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // Seconds of work per second of audio, as a share of one core.
  state.counters["cpu_percent"] = 100.0 * seconds / std::max<double>(1, static_cast<double>(state.iterations()));
}
BENCHMARK(BM_Mixer32)->Arg(0)->Arg(1)->Arg(2)->ArgName("effects")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlayToFirstFrame(benchmark::State& state) {
  auto engine = Audio_OpenDevice();
  if (!engine) {
    state.SkipWithError("no output device");
    return;
  }
  const AudioDeviceInfo info = Audio_DeviceInfo(*engine);
  const int v = engine->CreateVoice(Audio_OpenDecoder(SineWav(2.0, 440)), false, false);
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    engine->Play(v, false);
    while (engine->PlayedFrames(v) == 0) std::this_thread::yield();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() + info.latency_seconds;
    state.SetIterationTime(seconds);
    total += seconds;
    engine->Stop(v);
  }
  state.counters["latency_ms"] = 1000 * total / std::max<double>(1, static_cast<double>(state.iterations()));
  state.counters["rate"] = info.rate;
  state.counters["period_frames"] = info.period_frames;
  state.counters["periods"] = info.periods;
  state.counters["device_latency_ms"] = 1000 * info.latency_seconds;
}
BENCHMARK(BM_PlayToFirstFrame)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
