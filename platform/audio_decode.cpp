// audio_decode.cpp: libsndfile and FluidSynth decoders behind AudioDecoder.
#include "platform/audio_decode.h"

#include <fluidsynth.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace {

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr int kMidiRate = 44100;
// Frames a MIDI file may ring on after its last event.
constexpr int kMidiTailFrames = 2 * kMidiRate;
constexpr size_t kMaxMidiFile = 16u << 20;

// ---- libsndfile over memory ------------------------------------------------

struct MemoryFile {
  AudioBytes bytes;
  sf_count_t position = 0;
};

sf_count_t MemLength(void* user) {
  return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes->size());
}
sf_count_t MemSeek(sf_count_t offset, int whence, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const sf_count_t size = static_cast<sf_count_t>(f->bytes->size());
  sf_count_t base = whence == SEEK_CUR ? f->position : whence == SEEK_END ? size : 0;
  sf_count_t target = base + offset;
  if (target < 0) target = 0;
  if (target > size) target = size;
  f->position = target;
  return target;
}
sf_count_t MemRead(void* out, sf_count_t count, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const sf_count_t size = static_cast<sf_count_t>(f->bytes->size());
  const sf_count_t n = std::clamp<sf_count_t>(size - f->position, 0, std::max<sf_count_t>(count, 0));
  if (n > 0) std::memcpy(out, f->bytes->data() + f->position, static_cast<size_t>(n));
  f->position += n;
  return n;
}
sf_count_t MemWrite(const void*, sf_count_t, void*) { return 0; }
sf_count_t MemTell(void* user) { return static_cast<MemoryFile*>(user)->position; }

class SndfileDecoder final : public AudioDecoder {
 public:
  // Opens from memory when bytes is set, else from path.
  SndfileDecoder(AudioBytes bytes, std::string path) : path_(std::move(path)) {
    memory_.bytes = std::move(bytes);
  }
  ~SndfileDecoder() override { Close(); }

  bool Open() {
    Close();
    SF_INFO info{};
    if (memory_.bytes) {
      memory_.position = 0;
      static SF_VIRTUAL_IO io{MemLength, MemSeek, MemRead, MemWrite, MemTell};
      file_ = sf_open_virtual(&io, SFM_READ, &info, &memory_);
    } else {
      file_ = sf_open(path_.c_str(), SFM_READ, &info);
    }
    if (file_ == nullptr) return false;
    if (info.channels < 1 || info.channels > 64 || info.samplerate < kMinRate ||
        info.samplerate > kMaxRate) {
      Close();
      return false;
    }
    file_channels_ = info.channels;
    rate_ = info.samplerate;
    // Floating-point data keeps its level (no scaling to its peak) and
    // clips at full scale instead of wrapping.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return true;
  }

  int Channels() const override { return std::min(file_channels_, 2); }
  int Rate() const override { return rate_; }

  size_t Read(int16_t* out, size_t frames) override {
    if (file_ == nullptr) return 0;
    if (file_channels_ <= 2)
      return static_cast<size_t>(std::max<sf_count_t>(
          sf_readf_short(file_, out, static_cast<sf_count_t>(frames)), 0));
    // Wider files: read in pieces and keep the first two channels.
    size_t done = 0;
    wide_.resize(256 * static_cast<size_t>(file_channels_));
    while (done < frames) {
      const sf_count_t want = static_cast<sf_count_t>(std::min<size_t>(256, frames - done));
      const sf_count_t got = sf_readf_short(file_, wide_.data(), want);
      if (got <= 0) break;
      for (sf_count_t i = 0; i < got; ++i) {
        out[(done + i) * 2] = wide_[i * file_channels_];
        out[(done + i) * 2 + 1] = wide_[i * file_channels_ + 1];
      }
      done += static_cast<size_t>(got);
    }
    return done;
  }

  bool Rewind() override {
    if (file_ != nullptr && sf_seek(file_, 0, SEEK_SET) == 0) return true;
    return Open();
  }

 private:
  void Close() {
    if (file_ != nullptr) sf_close(file_);
    file_ = nullptr;
  }

  MemoryFile memory_;
  std::string path_;
  SNDFILE* file_ = nullptr;
  int file_channels_ = 0;
  int rate_ = 0;
  std::vector<int16_t> wide_;
};

// ---- MIDI through FluidSynth ------------------------------------------------

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void QuietFluidLog() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, nullptr, nullptr);
  });
}

class MidiDecoder final : public AudioDecoder {
 public:
  explicit MidiDecoder(AudioBytes bytes) : bytes_(std::move(bytes)) {}
  ~MidiDecoder() override {
    if (player_ != nullptr) delete_fluid_player(player_);
    if (synth_ != nullptr) delete_fluid_synth(synth_);
    if (settings_ != nullptr) delete_fluid_settings(settings_);
  }

  bool Open() {
    const std::string soundfont = Audio_SoundfontPath();
    if (soundfont.empty()) return false;
    QuietFluidLog();
    settings_ = new_fluid_settings();
    if (settings_ == nullptr) return false;
    fluid_settings_setnum(settings_, "synth.sample-rate", kMidiRate);
    fluid_settings_setnum(settings_, "synth.gain", 0.5);
    fluid_settings_setint(settings_, "synth.cpu-cores", 1);
    fluid_settings_setint(settings_, "synth.lock-memory", 0);
    // The player follows the samples rendered, not the wall clock, so MIDI
    // keeps time with the mixer (and with game time in headless runs).
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    synth_ = new_fluid_synth(settings_);
    if (synth_ == nullptr || fluid_synth_sfload(synth_, soundfont.c_str(), 1) == FLUID_FAILED)
      return false;
    return StartPlayer();
  }

  int Channels() const override { return 2; }
  int Rate() const override { return kMidiRate; }

  size_t Read(int16_t* out, size_t frames) override {
    if (player_ == nullptr) return 0;
    if (fluid_player_get_status(player_) == FLUID_PLAYER_DONE) {
      if (tail_ >= kMidiTailFrames || fluid_synth_get_active_voice_count(synth_) == 0) return 0;
      frames = std::min<size_t>(frames, static_cast<size_t>(kMidiTailFrames - tail_));
      tail_ += static_cast<int>(frames);
    }
    if (fluid_synth_write_s16(synth_, static_cast<int>(frames), out, 0, 2, out, 1, 2) != FLUID_OK)
      return 0;
    return frames;
  }

  bool Rewind() override {
    fluid_synth_system_reset(synth_);
    return StartPlayer();
  }

  void SetTempo(double multiplier) override {
    tempo_ = multiplier;
    if (player_ != nullptr) fluid_player_set_tempo(player_, FLUID_PLAYER_TEMPO_INTERNAL, tempo_);
  }

 private:
  bool StartPlayer() {
    if (player_ != nullptr) delete_fluid_player(player_);
    tail_ = 0;
    player_ = new_fluid_player(synth_);
    if (player_ == nullptr) return false;
    if (fluid_player_add_mem(player_, bytes_->data(), bytes_->size()) != FLUID_OK ||
        fluid_player_play(player_) != FLUID_OK) {
      delete_fluid_player(player_);
      player_ = nullptr;
      return false;
    }
    if (tempo_ != 1.0) fluid_player_set_tempo(player_, FLUID_PLAYER_TEMPO_INTERNAL, tempo_);
    return true;
  }

  AudioBytes bytes_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  int tail_ = 0;
  double tempo_ = 1.0;
};

bool LooksLikeMidi(const uint8_t* data, size_t size) {
  return size >= 4 && std::memcmp(data, "MThd", 4) == 0;
}

std::unique_ptr<AudioDecoder> OpenMidi(AudioBytes bytes) {
  if (!Audio_IsValidMidi(bytes->data(), bytes->size())) return nullptr;
  auto decoder = std::make_unique<MidiDecoder>(std::move(bytes));
  if (!decoder->Open()) return nullptr;
  return decoder;
}

}  // namespace

bool Audio_IsValidMidi(const uint8_t* data, size_t size) {
  if (!LooksLikeMidi(data, size) || size < 14) return false;
  const uint32_t header_length = BigEndian32(data + 4);
  if (header_length < 6 || header_length > size - 8) return false;
  const int tracks = (data[10] << 8) | data[11];
  const int division = (data[12] << 8) | data[13];
  if (tracks < 1 || division == 0) return false;
  size_t at = 8 + header_length;
  int found = 0;
  while (at < size) {
    if (size - at < 8) return false;
    const uint32_t length = BigEndian32(data + at + 4);
    if (length > size - at - 8) return false;
    if (std::memcmp(data + at, "MTrk", 4) == 0) ++found;
    at += 8 + length;
  }
  return found >= 1;
}

std::unique_ptr<AudioDecoder> Audio_OpenDecoder(AudioBytes bytes) {
  if (!bytes || bytes->empty()) return nullptr;
  if (LooksLikeMidi(bytes->data(), bytes->size())) return OpenMidi(std::move(bytes));
  auto decoder = std::make_unique<SndfileDecoder>(std::move(bytes), std::string());
  if (!decoder->Open()) return nullptr;
  return decoder;
}

std::unique_ptr<AudioDecoder> Audio_OpenDecoderFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  char magic[4] = {};
  in.read(magic, 4);
  if (in.gcount() == 4 && std::memcmp(magic, "MThd", 4) == 0) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxMidiFile) return nullptr;
    auto bytes = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(size));
    bytes->resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return OpenMidi(std::move(bytes));
  }
  auto decoder = std::make_unique<SndfileDecoder>(nullptr, path);
  if (!decoder->Open()) return nullptr;
  return decoder;
}

bool Audio_DecodeAll(AudioDecoder& decoder, size_t max_frames, std::vector<int16_t>& samples) {
  const size_t channels = static_cast<size_t>(decoder.Channels());
  constexpr size_t kPiece = 16384;
  samples.clear();
  size_t frames = 0;
  while (frames < max_frames) {
    const size_t want = std::min(kPiece, max_frames - frames);
    samples.resize((frames + want) * channels);
    const size_t got = decoder.Read(samples.data() + frames * channels, want);
    frames += got;
    samples.resize(frames * channels);
    if (got == 0) return true;
  }
  // At the limit: the end counts as reached only when nothing follows.
  int16_t probe[2];
  return decoder.Read(probe, 1) == 0;
}

std::string Audio_SoundfontPath() {
  static const std::string found = [] {
    std::vector<std::string> candidates;
    QuietFluidLog();
    if (fluid_settings_t* settings = new_fluid_settings()) {
      char* value = nullptr;
      if (fluid_settings_dupstr(settings, "synth.default-soundfont", &value) == FLUID_OK && value) {
        candidates.emplace_back(value);
        fluid_free(value);
      }
      delete_fluid_settings(settings);
    }
    for (const char* path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/soundfonts/default.sf2",
          "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
          "/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/sounds/sf3/MuseScore_General.sf3"})
      candidates.emplace_back(path);
    for (const std::string& path : candidates) {
      std::error_code error;
      if (std::filesystem::is_regular_file(path, error)) return path;
    }
    return std::string();
  }();
  return found;
}
