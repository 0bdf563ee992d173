// fuzz_sound_decode.cpp: libFuzzer target for the sound decoders as the
// runner calls them. Each input becomes a voice of the loopback engine (the
// decoder opened from memory, decoded whole up to the engine's limit or
// streamed), plays for a moment and is freed; the first byte also selects a
// MIDI reading (the rest behind a MIDI header) and a streamed voice. A
// refused input is fine; a crash, a leak, a hang or an allocation larger
// than the input can justify is a finding.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/audio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::unique_ptr<PlatformAudio> engine = Audio_OpenLoopback(44100);
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  auto bytes = std::make_shared<std::vector<uint8_t>>();
  if (mode & 1) {
    const uint8_t header[] = {'M', 'T', 'h', 'd'};
    bytes->assign(header, header + 4);
  }
  bytes->insert(bytes->end(), data + 1, data + size);
  auto decoder = Audio_OpenDecoder(bytes);
  if (!decoder) return 0;
  if (!engine) {
    std::vector<int16_t> samples;
    Audio_DecodeAll(*decoder, 44100 * 2, samples);
    return 0;
  }
  const int voice = engine->CreateVoice(std::move(decoder), (mode & 4) != 0, (mode & 2) != 0);
  if (voice < 0) return 0;
  engine->Play(voice, (mode & 8) != 0);
  engine->Advance(2048);
  engine->DestroyVoice(voice);
  return 0;
}
