// sound_player.cpp: the sample table, the engine and the multimedia player.
#include "audio/sound_player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

// Longest multimedia file name the player takes.
constexpr size_t kMaxPlayerName = 127;
// The master volume at which the mix has unity gain.
constexpr int kMasterUnity = 1000;

struct MediaPlayer {
  std::string fname;  // the file the player holds
  int voice = -1;
};

struct PlayerState {
  std::unique_ptr<PlatformAudio> engine;
  std::vector<RSoundSample> samples;
  std::vector<int> volume;  // per entry, hundredths of a decibel
  std::vector<int> pan;
  std::vector<int> effects;
  MediaPlayer media;
  int master = 1000;
  double tempo = 1.0;
  std::string search_dir;
  int64_t frame_remainder = 0;
  bool headless = false;
  void (*message)(const std::string&) = nullptr;
};

// Never destroyed: sounds may be freed during static destruction.
PlayerState& State() {
  static PlayerState* state = new PlayerState();
  return *state;
}

void ShowMessage(const std::string& text) {
  if (State().message != nullptr) {
    State().message(text);
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

RSoundSample* Entry(int id) {
  PlayerState& st = State();
  if (id < 0 || static_cast<size_t>(id) >= st.samples.size() || !st.samples[static_cast<size_t>(id)].inuse)
    return nullptr;
  return &st.samples[static_cast<size_t>(id)];
}

// An entry with an engine voice (kinds 0-2).
int VoiceOf(int id) {
  RSoundSample* e = Entry(id);
  return e && e->kind != 3 ? e->voice : -1;
}

int Allocate(int kind) {
  PlayerState& st = State();
  size_t id = 0;
  while (id < st.samples.size() && st.samples[id].inuse) ++id;
  if (id == st.samples.size()) {
    st.samples.emplace_back();
    st.volume.push_back(0);
    st.pan.push_back(0);
    st.effects.push_back(0);
  }
  st.samples[id] = RSoundSample();
  st.samples[id].inuse = true;
  st.samples[id].kind = st.engine ? kind : 3;
  st.volume[id] = 0;
  st.pan[id] = 0;
  st.effects[id] = 0;
  return static_cast<int>(id);
}

bool IsMidi(const std::vector<uint8_t>& data) {
  return data.size() >= 4 && data[0] == 'M' && data[1] == 'T' && data[2] == 'h' && data[3] == 'd';
}

std::string Resolve(const std::string& fname) {
  std::error_code error;
  if (std::filesystem::exists(fname, error) || State().search_dir.empty()) return fname;
  const std::filesystem::path candidate = std::filesystem::path(State().search_dir) / fname;
  return std::filesystem::exists(candidate, error) ? candidate.string() : fname;
}

void StopMedia() {
  PlayerState& st = State();
  if (st.engine && st.media.voice >= 0) st.engine->DestroyVoice(st.media.voice);
  st.media = MediaPlayer();
}

void PlayMedia(const RSoundSample& e, bool loop) {
  PlayerState& st = State();
  if (e.fname.size() >= kMaxPlayerName) {
    ShowMessage("Music file name too long for player.");
    return;
  }
  std::error_code error;
  if (!std::filesystem::exists(e.fname, error)) return;
  StopMedia();
  st.media.fname = e.fname;
  if (!st.engine) return;
  st.media.voice = st.engine->CreateVoice(Audio_OpenDecoderFile(e.fname), false, true);
  if (st.media.voice >= 0) st.engine->Play(st.media.voice, loop);
}

}  // namespace

void SoundPlayer_SetMessageHook(void (*hook)(const std::string& text)) { State().message = hook; }

void SoundPlayer_Init(bool headless) {
  PlayerState& st = State();
  if (st.engine) return;
  st.headless = headless;
  st.frame_remainder = 0;
  st.engine = headless ? Audio_OpenLoopback(44100) : Audio_OpenDevice();
  if (!st.engine && !headless) ShowMessage("No sound device detected. Sounds might not play.");
  SoundPlayer_SetMasterVolume(1.0);
  SoundPlayer_SetTempo(1.0);
}

void SoundPlayer_Release() {
  PlayerState& st = State();
  SoundPlayer_StopAll();
  StopMedia();
  for (size_t id = 0; id < st.samples.size(); ++id)
    if (st.samples[id].inuse && st.samples[id].voice >= 0 && st.engine)
      st.engine->DestroyVoice(st.samples[id].voice);
  for (RSoundSample& e : st.samples) e.voice = -1;
  if (st.engine) st.engine->FinishCapture();
  st.engine.reset();
}

bool SoundPlayer_Active() { return State().engine != nullptr; }
PlatformAudio* SoundPlayer_Engine() { return State().engine.get(); }

int SoundPlayer_LoadFromMemory(AudioBytes data, int kind) {
  PlayerState& st = State();
  if (!st.engine || !data) return -1;
  const bool stream = kind == 1 || IsMidi(*data);
  const int voice = st.engine->CreateVoice(Audio_OpenDecoder(data), kind == 2, stream);
  if (voice < 0) return -1;
  const int id = Allocate(kind);
  st.samples[static_cast<size_t>(id)].voice = voice;
  return id;
}

int SoundPlayer_LoadFromFile(const std::string& name, int& kind) {
  PlayerState& st = State();
  const std::string fname = Resolve(name);
  std::error_code error;
  if (!std::filesystem::is_regular_file(fname, error)) return -1;
  if (!st.engine) kind = 3;
  if (kind != 3) {
    const bool stream = kind == 1;
    const int voice = st.engine->CreateVoice(Audio_OpenDecoderFile(fname), kind == 2, stream);
    if (voice >= 0) {
      const int id = Allocate(kind);
      st.samples[static_cast<size_t>(id)].voice = voice;
      return id;
    }
    kind = 3;
  }
  const int id = Allocate(3);
  st.samples[static_cast<size_t>(id)].fname = fname;
  return id;
}

void SoundPlayer_Free(int id) {
  RSoundSample* e = Entry(id);
  if (e == nullptr) return;
  PlayerState& st = State();
  SoundPlayer_Stop(id);
  if (e->voice >= 0 && st.engine) st.engine->DestroyVoice(e->voice);
  *e = RSoundSample();
}

void SoundPlayer_Play(int id, bool loop) {
  RSoundSample* e = Entry(id);
  PlayerState& st = State();
  if (e == nullptr) return;
  if (e->kind == 3) {
    PlayMedia(*e, loop);
    return;
  }
  if (!st.engine || e->voice < 0) return;
  // Background music replaces the background music that plays.
  if (e->kind == 1)
    for (size_t other = 0; other < st.samples.size(); ++other)
      if (static_cast<int>(other) != id && st.samples[other].inuse && st.samples[other].kind == 1)
        SoundPlayer_Stop(static_cast<int>(other));
  st.engine->Play(e->voice, loop);
}

void SoundPlayer_Stop(int id) {
  RSoundSample* e = Entry(id);
  PlayerState& st = State();
  if (e == nullptr) return;
  if (e->kind == 3) {
    if (!st.media.fname.empty() && st.media.fname == e->fname) StopMedia();
    return;
  }
  if (st.engine && e->voice >= 0) st.engine->Stop(e->voice);
}

void SoundPlayer_StopAll() {
  for (size_t id = 0; id < State().samples.size(); ++id) SoundPlayer_Stop(static_cast<int>(id));
}

bool SoundPlayer_IsPlaying(int id) {
  RSoundSample* e = Entry(id);
  PlayerState& st = State();
  if (e == nullptr || !st.engine) return false;
  if (e->kind == 3)
    return !e->fname.empty() && st.media.fname == e->fname && st.media.voice >= 0 &&
           st.engine->IsPlaying(st.media.voice);
  return e->voice >= 0 && st.engine->IsPlaying(e->voice);
}

void SoundPlayer_SetVolume(int id, double v, double milliseconds) {
  const int voice = VoiceOf(id);
  if (voice < 0) return;
  const int centibels = static_cast<int>(std::clamp<long>(std::lround(v * 9600) - 9600, -10000, 0));
  State().volume[static_cast<size_t>(id)] = centibels;
  if (State().engine) State().engine->SetVolume(voice, centibels, std::max(milliseconds, 0.0));
}

void SoundPlayer_SetPan(int id, double p) {
  const int voice = VoiceOf(id);
  if (voice < 0) return;
  const int pan = static_cast<int>(std::clamp<long>(std::lround(p * 10000), -10000, 10000));
  State().pan[static_cast<size_t>(id)] = pan;
  if (State().engine) State().engine->SetPan(voice, pan);
}

void SoundPlayer_SetEffects(int id, int bits) {
  const int voice = VoiceOf(id);
  if (voice < 0) return;
  State().effects[static_cast<size_t>(id)] = bits;
  if (State().engine) State().engine->SetEffects(voice, bits);
}

void SoundPlayer_SetEffectParams(int id, const AudioEffectParams& params) {
  const int voice = VoiceOf(id);
  if (voice >= 0 && State().engine) State().engine->SetEffectParams(voice, params);
}

namespace {
int SpatialVoice(int id) {
  RSoundSample* e = Entry(id);
  return e && e->kind == 2 && State().engine ? e->voice : -1;
}
}  // namespace

void SoundPlayer_SetPosition(int id, double x, double y, double z) {
  if (const int v = SpatialVoice(id); v >= 0) State().engine->SetPosition(v, x, y, z);
}
void SoundPlayer_SetVelocity(int id, double x, double y, double z) {
  if (const int v = SpatialVoice(id); v >= 0) State().engine->SetVelocity(v, x, y, z);
}
void SoundPlayer_SetDistance(int id, double min_distance, double max_distance) {
  if (const int v = SpatialVoice(id); v >= 0) State().engine->SetDistance(v, min_distance, max_distance);
}
void SoundPlayer_SetCone(int id, double x, double y, double z, double inside, double outside,
                         double outside_volume) {
  if (const int v = SpatialVoice(id); v >= 0)
    State().engine->SetCone(v, x, y, z, static_cast<int>(std::lround(inside)),
                            static_cast<int>(std::lround(outside)),
                            static_cast<double>(std::lround(outside_volume * 10000 - 10000)));
}

void SoundPlayer_SetMasterVolume(double v) {
  PlayerState& st = State();
  st.master = static_cast<int>(std::clamp<long>(std::lround(v * 11000 - 10000), -10000, 1000));
  // The start-up level (+1000) plays sounds at their recorded level: the
  // mix keeps 10 dB of headroom below the top of the scale.
  if (st.engine) st.engine->SetMasterVolume(st.master - kMasterUnity);
}

void SoundPlayer_SetTempo(double t) {
  PlayerState& st = State();
  st.tempo = std::isnan(t) ? 1.0 : std::clamp(t, 0.01, 100.0);
  if (st.engine) st.engine->SetTempo(st.tempo);
}

void SoundPlayer_SetSearchDirectory(const std::string& dir) { State().search_dir = dir; }

int SoundPlayer_MasterCentibels() { return State().master; }
double SoundPlayer_Tempo() { return State().tempo; }
int SoundPlayer_VolumeCentibels(int id) { return Entry(id) ? State().volume[static_cast<size_t>(id)] : 0; }
int SoundPlayer_Pan(int id) { return Entry(id) ? State().pan[static_cast<size_t>(id)] : 0; }
int SoundPlayer_EffectBits(int id) { return Entry(id) ? State().effects[static_cast<size_t>(id)] : 0; }
const RSoundSample* SoundPlayer_Sample(int id) { return Entry(id); }

void SoundPlayer_AfterStep(int room_speed) {
  PlayerState& st = State();
  if (!st.engine) return;
  const int64_t speed = std::max(room_speed, 1);
  st.frame_remainder += st.engine->MixRate();
  const int64_t frames = st.frame_remainder / speed;
  st.frame_remainder %= speed;
  st.engine->Advance(frames);
}

bool SoundPlayer_StartCapture(const std::string& path) {
  return State().engine && State().engine->StartCapture(path);
}
