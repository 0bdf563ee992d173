// audio_wav.cpp: the WAV file of the headless mix.
#include "platform/audio_wav.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
// A RIFF file holds at most 4 GB; longer mixes keep their first part.
constexpr uint64_t kMaxFrames = (0xFFFFFFFFull - 36) / 4;
}  // namespace

void Wav_Header(uint8_t out[44], int rate, uint64_t frames) {
  const uint32_t data = static_cast<uint32_t>(std::min(frames, kMaxFrames) * 4);
  std::memcpy(out, "RIFF", 4);
  Put32(out + 4, 36 + data);
  std::memcpy(out + 8, "WAVEfmt ", 8);
  Put32(out + 16, 16);
  Put16(out + 20, 1);  // PCM
  Put16(out + 22, 2);
  Put32(out + 24, static_cast<uint32_t>(rate));
  Put32(out + 28, static_cast<uint32_t>(rate) * 4);
  Put16(out + 32, 4);
  Put16(out + 34, 16);
  std::memcpy(out + 36, "data", 4);
  Put32(out + 40, data);
}

WavWriter::~WavWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(temp_.c_str());
  }
}

bool WavWriter::Open(const std::string& path, int rate) {
  path_ = path;
  rate_ = rate;
  temp_ = path + ".part" + std::to_string(getpid());
  file_ = std::fopen(temp_.c_str(), "wb");
  if (file_ == nullptr) return false;
  uint8_t header[44];
  Wav_Header(header, rate_, 0);
  failed_ = std::fwrite(header, 1, 44, file_) != 44;
  return !failed_;
}

void WavWriter::Append(const int16_t* stereo, size_t frames) {
  if (file_ == nullptr || failed_ || frames == 0) return;
  frames = static_cast<size_t>(std::min<uint64_t>(frames, kMaxFrames - std::min(frames_, kMaxFrames)));
  // Little-endian samples, as the host stores them.
  if (std::fwrite(stereo, 4, frames, file_) != frames) failed_ = true;
  frames_ += frames;
}

bool WavWriter::Finish() {
  if (file_ == nullptr) return false;
  uint8_t header[44];
  Wav_Header(header, rate_, frames_);
  bool ok = !failed_ && std::fseek(file_, 0, SEEK_SET) == 0 &&
            std::fwrite(header, 1, 44, file_) == 44 && std::fflush(file_) == 0 &&
            fsync(fileno(file_)) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (ok) ok = std::rename(temp_.c_str(), path_.c_str()) == 0;
  if (!ok) std::remove(temp_.c_str());
  return ok;
}
