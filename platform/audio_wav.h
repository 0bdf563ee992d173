// audio_wav.h: writes 16-bit stereo PCM as a WAV file while it is rendered.
// The samples go to a temporary file beside the target; Finish writes the
// header and renames it over the target, so the file appears complete or
// not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class WavWriter {
 public:
  WavWriter() = default;
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;
  ~WavWriter();

  bool Open(const std::string& path, int rate);
  void Append(const int16_t* stereo, size_t frames);
  // Header, flush, rename; false when anything failed (no file is left).
  bool Finish();

 private:
  std::string path_, temp_;
  std::FILE* file_ = nullptr;
  int rate_ = 44100;
  uint64_t frames_ = 0;
  bool failed_ = false;
};

// The bytes of a WAV header for frames frames of 16-bit stereo at rate.
void Wav_Header(uint8_t out[44], int rate, uint64_t frames);
