// audio_openal.cpp: the audio engine on OpenAL Soft, for both the window
// session's output device and the headless loopback device.
//
// A flat voice is two sources fixed at the far left and the far right of
// the listener (OpenAL Soft's stereo decoder then feeds each to one speaker
// only): the left one plays the left channel (or the mono data) and the
// right one the right channel, started together, so a pan is exactly a gain
// on the opposite side. A spatial voice is one mono source in the world.
//
// The effect chain uses EFX auxiliary effect slots, one per effect, each on
// its own send of the voice's sources. OpenAL Soft 1.19 cannot chain slots,
// so the effects of a chain run side by side on the same input: the
// time-based ones (chorus, echo, flanger, reverbs) add their wet signal to
// the dry one; the ones that reshape the whole signal (ring modulator,
// equaliser, compressor, distortion) replace the dry path, sharing it
// equally when there are several.
#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/efx.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/audio.h"
#include "platform/audio_wav.h"

namespace {

// Voices decoded whole hold at most this many seconds; longer data streams.
constexpr double kWholeDecodeSeconds = 20.0;
constexpr int kStreamBuffers = 4;
constexpr size_t kStreamChunkFrames = 4096;
// The loopback renders in blocks this long, so fades and stream refills
// follow the sample clock to within 6 ms.
constexpr int64_t kRenderBlock = 256;
constexpr int kMaxEffects = 9;

double Clamp(double v, double lo, double hi) { return std::max(lo, std::min(hi, v)); }

struct Fade {
  double from = 0;
  double to = 0;
  int64_t start = 0;
  int64_t frames = 0;
};

struct EffectSlot {
  int bit = 0;
  ALuint effect = 0;
  ALuint slot = 0;
  double gain = 1.0;  // the slot gain the parameters ask for
};

struct Voice {
  bool used = false;
  bool spatial = false;
  int channels = 1;
  int rate = 44100;
  int sources = 0;
  ALuint source[2] = {0, 0};
  // Whole voices: one buffer per source (flat mono data shares one).
  std::vector<ALuint> buffers;
  double length = 0;
  // Streamed voices.
  std::unique_ptr<AudioDecoder> decoder;
  bool stream = false;
  bool loop = false;
  bool stream_ended = false;
  bool started = false;  // streamed: Play called and not stopped
  std::vector<ALuint> free_buffers[2];
  // Level.
  Fade fade;
  int pan = 0;
  ALuint direct_filter = 0;
  std::vector<EffectSlot> effects;
  int effect_bits = 0;
};

// Chain order: bit and whether it replaces the dry path.
struct ChainEntry {
  int bit;
  ALint type;
  bool insert;
};
constexpr ChainEntry kChain[kMaxEffects] = {
    {AUDIO_FX_CHORUS, AL_EFFECT_CHORUS, false},
    {AUDIO_FX_ECHO, AL_EFFECT_ECHO, false},
    {AUDIO_FX_FLANGER, AL_EFFECT_FLANGER, false},
    {AUDIO_FX_GARGLE, AL_EFFECT_RING_MODULATOR, true},
    {AUDIO_FX_EQUALIZER, AL_EFFECT_EQUALIZER, true},
    {AUDIO_FX_REVERB, AL_EFFECT_REVERB, false},
    {AUDIO_FX_COMPRESSOR, AL_EFFECT_COMPRESSOR, true},
    {AUDIO_FX_DISTORTION, AL_EFFECT_DISTORTION, true},
    {AUDIO_FX_I3DL2_REVERB, AL_EFFECT_REVERB, false},
};

bool IsInsert(int bit) {
  for (const ChainEntry& e : kChain)
    if (e.bit == bit) return e.insert;
  return false;
}

// Default wet levels: the standard effects mix half wet.
double DefaultGain(int bit) {
  switch (bit) {
    case AUDIO_FX_CHORUS:
    case AUDIO_FX_ECHO:
    case AUDIO_FX_FLANGER:
      return 0.5;
    default:
      return 1.0;
  }
}

class OpenAlAudio final : public PlatformAudio {
 public:
  OpenAlAudio(ALCdevice* device, ALCcontext* context, bool loopback, int rate)
      : device_(device), context_(context), loopback_(loopback), rate_(rate) {
    alcMakeContextCurrent(context_);
    alcGetIntegerv(device_, ALC_MAX_AUXILIARY_SENDS, 1, &sends_);
    sends_ = std::clamp(sends_, 0, kMaxEffects);
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    start_ = std::chrono::steady_clock::now();
  }

  ~OpenAlAudio() override {
    FinishCapture();
    alcMakeContextCurrent(context_);
    for (size_t i = 0; i < voices_.size(); ++i)
      if (voices_[i].used) DestroyVoice(static_cast<int>(i));
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
  }

  int MixRate() const override { return rate_; }
  ALCdevice* Device() const { return device_; }

  int CreateVoice(std::unique_ptr<AudioDecoder> decoder, bool spatial, bool stream) override {
    if (!decoder) return -1;
    Voice v;
    v.used = true;
    v.spatial = spatial;
    v.channels = spatial ? 1 : decoder->Channels();
    v.rate = decoder->Rate();
    v.sources = spatial ? 1 : 2;
    alGetError();
    alGenSources(v.sources, v.source);
    if (alGetError() != AL_NO_ERROR) return -1;
    ConfigureSources(v);
    if (!stream) {
      std::vector<int16_t> samples;
      const size_t limit = static_cast<size_t>(kWholeDecodeSeconds * v.rate);
      if (Audio_DecodeAll(*decoder, limit, samples)) {
        if (!LoadWhole(v, *decoder, samples)) {
          alDeleteSources(v.sources, v.source);
          return -1;
        }
      } else {
        stream = decoder->Rewind();
        if (!stream) {
          alDeleteSources(v.sources, v.source);
          return -1;
        }
      }
    }
    if (stream) {
      v.stream = true;
      for (int s = 0; s < v.sources; ++s) {
        v.free_buffers[s].resize(kStreamBuffers);
        alGenBuffers(kStreamBuffers, v.free_buffers[s].data());
      }
      v.decoder = std::move(decoder);
      v.decoder->SetTempo(tempo_);
    }
    const int id = FreeSlot();
    voices_[static_cast<size_t>(id)] = std::move(v);
    ApplyGain(voices_[static_cast<size_t>(id)]);
    return id;
  }

  void DestroyVoice(int id) override {
    Voice* v = Get(id);
    if (v == nullptr) return;
    alSourceStopv(v->sources, v->source);
    if (v->stream) ResetStream(*v);
    for (int s = 0; s < v->sources; ++s) alSourcei(v->source[s], AL_BUFFER, 0);
    ClearEffects(*v);
    if (v->direct_filter) alDeleteFilters(1, &v->direct_filter);
    alDeleteSources(v->sources, v->source);
    if (!v->buffers.empty()) alDeleteBuffers(static_cast<ALsizei>(v->buffers.size()), v->buffers.data());
    for (int s = 0; s < v->sources; ++s) {
      std::vector<ALuint>& pool = v->free_buffers[s];
      if (!pool.empty()) alDeleteBuffers(static_cast<ALsizei>(pool.size()), pool.data());
    }
    *v = Voice();
  }

  void Play(int id, bool loop) override {
    Voice* v = Get(id);
    if (v == nullptr) return;
    alSourceStopv(v->sources, v->source);
    v->loop = loop;
    if (v->stream) {
      ResetStream(*v);
      v->decoder->Rewind();
      v->stream_ended = false;
      v->started = true;
      Refill(*v);
    } else {
      for (int s = 0; s < v->sources; ++s) alSourcei(v->source[s], AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
      alSourceRewindv(v->sources, v->source);
    }
    alSourcePlayv(v->sources, v->source);
  }

  void Stop(int id) override {
    Voice* v = Get(id);
    if (v == nullptr) return;
    alSourceStopv(v->sources, v->source);
    if (v->stream) {
      v->started = false;
      ResetStream(*v);
    }
  }

  bool IsPlaying(int id) override {
    Voice* v = Get(id);
    if (v == nullptr) return false;
    if (v->stream && v->started && !v->stream_ended) return true;
    ALint state = AL_STOPPED;
    alGetSourcei(v->source[0], AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
  }

  double Length(int id) override {
    Voice* v = Get(id);
    return v ? v->length : 0;
  }

  int64_t PlayedFrames(int id) override {
    Voice* v = Get(id);
    if (v == nullptr) return 0;
    ALint offset = 0;
    alGetSourcei(v->source[0], AL_SAMPLE_OFFSET, &offset);
    return offset;
  }

  void SetVolume(int id, double centibels, double milliseconds) override {
    Voice* v = Get(id);
    if (v == nullptr) return;
    centibels = Clamp(centibels, -10000, 0);
    const int64_t now = Clock();
    v->fade.from = CurrentCentibels(*v, now);
    v->fade.to = centibels;
    v->fade.start = now;
    v->fade.frames = std::max<int64_t>(0, std::llround(milliseconds * rate_ / 1000.0));
    ApplyGain(*v);
  }

  void SetPan(int id, int pan) override {
    Voice* v = Get(id);
    if (v == nullptr || v->spatial) return;
    v->pan = std::clamp(pan, -10000, 10000);
    ApplyGain(*v);
  }

  void SetEffects(int id, int bits) override {
    Voice* v = Get(id);
    if (v == nullptr) return;
    ClearEffects(*v);
    v->effect_bits = bits;
    for (const ChainEntry& entry : kChain) {
      if ((bits & entry.bit) == 0 || static_cast<int>(v->effects.size()) >= sends_) continue;
      EffectSlot fx;
      fx.bit = entry.bit;
      fx.gain = DefaultGain(entry.bit);
      alGetError();
      alGenEffects(1, &fx.effect);
      alEffecti(fx.effect, AL_EFFECT_TYPE, entry.type);
      alGenAuxiliaryEffectSlots(1, &fx.slot);
      if (alGetError() != AL_NO_ERROR) {
        if (fx.effect) alDeleteEffects(1, &fx.effect);
        continue;
      }
      DefaultParams(fx);
      alAuxiliaryEffectSloti(fx.slot, AL_EFFECTSLOT_EFFECT, static_cast<ALint>(fx.effect));
      v->effects.push_back(fx);
    }
    ApplyEffectRouting(*v);
  }

  void SetEffectParams(int id, const AudioEffectParams& p) override {
    Voice* v = Get(id);
    if (v == nullptr) return;
    for (EffectSlot& fx : v->effects) {
      if (fx.bit != p.effect) continue;
      ApplyParams(fx, p);
      alAuxiliaryEffectSloti(fx.slot, AL_EFFECTSLOT_EFFECT, static_cast<ALint>(fx.effect));
      ApplyEffectRouting(*v);
      return;
    }
  }

  void SetPosition(int id, double x, double y, double z) override {
    if (Voice* v = Spatial(id)) alSource3f(v->source[0], AL_POSITION, float(x), float(y), float(-z));
  }
  void SetVelocity(int id, double x, double y, double z) override {
    if (Voice* v = Spatial(id)) alSource3f(v->source[0], AL_VELOCITY, float(x), float(y), float(-z));
  }
  void SetDistance(int id, double min_distance, double max_distance) override {
    Voice* v = Spatial(id);
    if (v == nullptr) return;
    const double lo = Clamp(min_distance, 0.0, 1e9);
    alSourcef(v->source[0], AL_REFERENCE_DISTANCE, float(lo));
    alSourcef(v->source[0], AL_MAX_DISTANCE, float(Clamp(max_distance, lo, 1e9)));
  }
  void SetCone(int id, double x, double y, double z, int inside, int outside,
               double outside_centibels) override {
    Voice* v = Spatial(id);
    if (v == nullptr) return;
    alSource3f(v->source[0], AL_DIRECTION, float(x), float(y), float(-z));
    alSourcef(v->source[0], AL_CONE_INNER_ANGLE, float(std::clamp(inside, 0, 360)));
    alSourcef(v->source[0], AL_CONE_OUTER_ANGLE, float(std::clamp(outside, 0, 360)));
    alSourcef(v->source[0], AL_CONE_OUTER_GAIN,
              float(Clamp(Audio_CentibelsToGain(Clamp(outside_centibels, -10000, 0)), 0, 1)));
  }

  void SetMasterVolume(double centibels) override {
    alListenerf(AL_GAIN, float(Audio_CentibelsToGain(centibels)));
  }

  void SetTempo(double tempo) override {
    tempo_ = tempo;
    for (Voice& v : voices_)
      if (v.used && v.decoder) v.decoder->SetTempo(tempo);
  }

  void Advance(int64_t frames) override {
    if (!loopback_) {
      Update();
      return;
    }
    block_.assign(static_cast<size_t>(std::max<int64_t>(frames, 0)) * 2, 0);
    int64_t done = 0;
    while (done < frames) {
      const int64_t n = std::min(kRenderBlock, frames - done);
      Update();
      alcRenderSamplesSOFT(device_, block_.data() + done * 2, static_cast<ALCsizei>(n));
      done += n;
      rendered_ += n;
    }
    Update();
    if (capture_) capture_->Append(block_.data(), static_cast<size_t>(frames));
  }

  int64_t Clock() const override {
    if (loopback_) return rendered_;
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * rate_ / 1000000;
  }

  bool StartCapture(const std::string& path) override {
    if (!loopback_) return false;
    capture_ = std::make_unique<WavWriter>();
    if (capture_->Open(path, rate_)) return true;
    capture_.reset();
    return false;
  }

  bool FinishCapture() override {
    if (!capture_) return false;
    const bool ok = capture_->Finish();
    capture_.reset();
    return ok;
  }

  const int16_t* LastBlock(size_t& frames) const override {
    frames = block_.size() / 2;
    return block_.data();
  }

 private:
  Voice* Get(int id) {
    if (id < 0 || static_cast<size_t>(id) >= voices_.size() || !voices_[static_cast<size_t>(id)].used)
      return nullptr;
    return &voices_[static_cast<size_t>(id)];
  }
  Voice* Spatial(int id) {
    Voice* v = Get(id);
    return v && v->spatial ? v : nullptr;
  }
  int FreeSlot() {
    for (size_t i = 0; i < voices_.size(); ++i)
      if (!voices_[i].used) return static_cast<int>(i);
    voices_.emplace_back();
    return static_cast<int>(voices_.size() - 1);
  }

  void ConfigureSources(Voice& v) {
    if (v.spatial) {
      alSourcei(v.source[0], AL_SOURCE_RELATIVE, AL_FALSE);
      alSourcef(v.source[0], AL_REFERENCE_DISTANCE, 1.0f);
      alSourcef(v.source[0], AL_MAX_DISTANCE, 1e9f);
      alSourcef(v.source[0], AL_ROLLOFF_FACTOR, 1.0f);
      return;
    }
    const float side[2] = {-1.0f, 1.0f};
    for (int s = 0; s < 2; ++s) {
      alSourcei(v.source[s], AL_SOURCE_RELATIVE, AL_TRUE);
      alSource3f(v.source[s], AL_POSITION, side[s], 0.0f, 0.0f);
      alSourcef(v.source[s], AL_ROLLOFF_FACTOR, 0.0f);
    }
  }

  // Splits interleaved samples into the mono data of source s.
  static void Channel(const Voice& v, int source_channels, const int16_t* samples, size_t frames,
                      int s, std::vector<int16_t>& out) {
    out.resize(frames);
    if (v.spatial && source_channels == 2) {
      for (size_t i = 0; i < frames; ++i)
        out[i] = static_cast<int16_t>((samples[2 * i] + samples[2 * i + 1]) / 2);
      return;
    }
    if (source_channels == 1) {
      std::copy(samples, samples + frames, out.begin());
      return;
    }
    for (size_t i = 0; i < frames; ++i) out[i] = samples[2 * i + s];
  }

  bool LoadWhole(Voice& v, AudioDecoder& decoder, const std::vector<int16_t>& samples) {
    const int channels = decoder.Channels();
    const size_t frames = samples.size() / static_cast<size_t>(channels);
    v.length = static_cast<double>(frames) / v.rate;
    const bool shared = v.spatial || channels == 1;
    v.buffers.resize(shared ? 1 : 2);
    alGetError();
    alGenBuffers(static_cast<ALsizei>(v.buffers.size()), v.buffers.data());
    std::vector<int16_t> mono;
    for (size_t b = 0; b < v.buffers.size(); ++b) {
      Channel(v, channels, samples.data(), frames, static_cast<int>(b), mono);
      if (mono.empty()) mono.push_back(0);
      alBufferData(v.buffers[b], AL_FORMAT_MONO16, mono.data(),
                   static_cast<ALsizei>(mono.size() * sizeof(int16_t)), v.rate);
    }
    for (int s = 0; s < v.sources; ++s)
      alSourcei(v.source[s], AL_BUFFER, static_cast<ALint>(v.buffers[shared ? 0 : s]));
    if (alGetError() != AL_NO_ERROR) {
      alDeleteBuffers(static_cast<ALsizei>(v.buffers.size()), v.buffers.data());
      v.buffers.clear();
      return false;
    }
    return true;
  }

  // Stops a streamed voice's queue and returns every buffer to its pool.
  void ResetStream(Voice& v) {
    for (int s = 0; s < v.sources; ++s) {
      ALint queued = 0;
      alGetSourcei(v.source[s], AL_BUFFERS_QUEUED, &queued);
      std::vector<ALuint> back(static_cast<size_t>(queued));
      // A stopped source has every buffer processed.
      if (queued > 0) alSourceUnqueueBuffers(v.source[s], queued, back.data());
      v.free_buffers[s].insert(v.free_buffers[s].end(), back.begin(), back.end());
    }
  }

  // Queues decoded chunks while buffers are free on every source.
  void Refill(Voice& v) {
    if (!v.stream || !v.started) return;
    for (int s = 0; s < v.sources; ++s) {
      ALint processed = 0;
      alGetSourcei(v.source[s], AL_BUFFERS_PROCESSED, &processed);
      if (processed <= 0) continue;
      std::vector<ALuint> done(static_cast<size_t>(processed));
      alSourceUnqueueBuffers(v.source[s], processed, done.data());
      v.free_buffers[s].insert(v.free_buffers[s].end(), done.begin(), done.end());
    }
    const int channels = v.decoder->Channels();
    while (!v.stream_ended && !v.free_buffers[0].empty() &&
           (v.sources == 1 || !v.free_buffers[1].empty())) {
      chunk_.resize(kStreamChunkFrames * static_cast<size_t>(channels));
      size_t got = v.decoder->Read(chunk_.data(), kStreamChunkFrames);
      if (got == 0 && v.loop && v.decoder->Rewind())
        got = v.decoder->Read(chunk_.data(), kStreamChunkFrames);
      if (got == 0) {
        v.stream_ended = true;
        break;
      }
      for (int s = 0; s < v.sources; ++s) {
        const ALuint buffer = v.free_buffers[s].back();
        v.free_buffers[s].pop_back();
        Channel(v, channels, chunk_.data(), got, s, mono_);
        alBufferData(buffer, AL_FORMAT_MONO16, mono_.data(),
                     static_cast<ALsizei>(mono_.size() * sizeof(int16_t)), v.rate);
        alSourceQueueBuffers(v.source[s], 1, &buffer);
      }
    }
  }

  // Per block: fades and refills; a stream that ran dry while data is left
  // (a device that waited on the game) starts again where it stopped.
  void Update() {
    const int64_t now = Clock();
    for (Voice& v : voices_) {
      if (!v.used) continue;
      if (v.fade.frames > 0) {
        ApplyGain(v, now);
        if (now >= v.fade.start + v.fade.frames) v.fade.frames = 0;
      }
      if (!v.stream || !v.started) continue;
      Refill(v);
      ALint state = AL_STOPPED;
      alGetSourcei(v.source[0], AL_SOURCE_STATE, &state);
      if (state == AL_STOPPED) {
        ALint queued = 0;
        alGetSourcei(v.source[0], AL_BUFFERS_QUEUED, &queued);
        ALint processed = 0;
        alGetSourcei(v.source[0], AL_BUFFERS_PROCESSED, &processed);
        if (queued > processed) {
          alSourcePlayv(v.sources, v.source);
        } else if (v.stream_ended) {
          v.started = false;
        }
      }
    }
  }

  double CurrentCentibels(const Voice& v, int64_t now) const {
    if (v.fade.frames <= 0 || now >= v.fade.start + v.fade.frames) return v.fade.to;
    const double t = static_cast<double>(now - v.fade.start) / static_cast<double>(v.fade.frames);
    return v.fade.from + (v.fade.to - v.fade.from) * Clamp(t, 0, 1);
  }

  void ApplyGain(Voice& v) { ApplyGain(v, Clock()); }
  void ApplyGain(Voice& v, int64_t now) {
    const double base = Audio_CentibelsToGain(CurrentCentibels(v, now));
    if (v.spatial) {
      alSourcef(v.source[0], AL_GAIN, float(base));
      return;
    }
    const double left = v.pan > 0 ? Audio_CentibelsToGain(-v.pan) : 1.0;
    const double right = v.pan < 0 ? Audio_CentibelsToGain(v.pan) : 1.0;
    alSourcef(v.source[0], AL_GAIN, float(base * left));
    alSourcef(v.source[1], AL_GAIN, float(base * right));
  }

  void ClearEffects(Voice& v) {
    for (int s = 0; s < v.sources; ++s)
      for (int send = 0; send < sends_; ++send)
        alSource3i(v.source[s], AL_AUXILIARY_SEND_FILTER, AL_EFFECTSLOT_NULL, send, AL_FILTER_NULL);
    for (EffectSlot& fx : v.effects) {
      alDeleteAuxiliaryEffectSlots(1, &fx.slot);
      alDeleteEffects(1, &fx.effect);
    }
    v.effects.clear();
    v.effect_bits = 0;
    for (int s = 0; s < v.sources; ++s) alSourcei(v.source[s], AL_DIRECT_FILTER, AL_FILTER_NULL);
  }

  void ApplyEffectRouting(Voice& v) {
    int inserts = 0;
    for (const EffectSlot& fx : v.effects) inserts += IsInsert(fx.bit) ? 1 : 0;
    for (size_t i = 0; i < v.effects.size(); ++i) {
      const EffectSlot& fx = v.effects[i];
      const double share = IsInsert(fx.bit) ? 1.0 / inserts : 1.0;
      alAuxiliaryEffectSlotf(fx.slot, AL_EFFECTSLOT_GAIN, float(Clamp(fx.gain * share, 0, 1)));
      for (int s = 0; s < v.sources; ++s)
        alSource3i(v.source[s], AL_AUXILIARY_SEND_FILTER, static_cast<ALint>(fx.slot),
                   static_cast<ALint>(i), AL_FILTER_NULL);
    }
    if (inserts > 0 && v.direct_filter == 0) {
      alGenFilters(1, &v.direct_filter);
      alFilteri(v.direct_filter, AL_FILTER_TYPE, AL_FILTER_LOWPASS);
      alFilterf(v.direct_filter, AL_LOWPASS_GAIN, 0.0f);
      alFilterf(v.direct_filter, AL_LOWPASS_GAINHF, 0.0f);
    }
    for (int s = 0; s < v.sources; ++s)
      alSourcei(v.source[s], AL_DIRECT_FILTER,
                inserts > 0 ? static_cast<ALint>(v.direct_filter) : AL_FILTER_NULL);
  }

  static void DefaultParams(EffectSlot& fx) {
    if (fx.bit == AUDIO_FX_GARGLE) alEffectf(fx.effect, AL_RING_MODULATOR_FREQUENCY, 20.0f);
    if (fx.bit == AUDIO_FX_COMPRESSOR) alEffecti(fx.effect, AL_COMPRESSOR_ONOFF, AL_TRUE);
  }

  // The game's parameters (see the builtins) on the EFX parameters.
  static void ApplyParams(EffectSlot& fx, const AudioEffectParams& p) {
    const double* a = p.values;
    const ALuint e = fx.effect;
    switch (fx.bit) {
      case AUDIO_FX_CHORUS:
      case AUDIO_FX_FLANGER: {
        // wetdry, depth, feedback, frequency, wave, delay, phase
        const bool chorus = fx.bit == AUDIO_FX_CHORUS;
        fx.gain = Clamp(a[0] / 100.0, 0, 1);
        alEffectf(e, chorus ? AL_CHORUS_DEPTH : AL_FLANGER_DEPTH, float(Clamp(a[1] / 100.0, 0, 1)));
        alEffectf(e, chorus ? AL_CHORUS_FEEDBACK : AL_FLANGER_FEEDBACK,
                  float(Clamp(a[2] / 100.0, -1, 1)));
        alEffectf(e, chorus ? AL_CHORUS_RATE : AL_FLANGER_RATE, float(Clamp(a[3], 0, 10)));
        // Waveform 0 is a triangle and 1 a sine here, the other way round in EFX.
        alEffecti(e, chorus ? AL_CHORUS_WAVEFORM : AL_FLANGER_WAVEFORM, std::lround(a[4]) == 0 ? 1 : 0);
        alEffectf(e, chorus ? AL_CHORUS_DELAY : AL_FLANGER_DELAY,
                  float(Clamp(a[5] / 1000.0, 0, chorus ? 0.016 : 0.004)));
        // Phase 0..4 stands for -180, -90, 0, 90, 180 degrees.
        alEffecti(e, chorus ? AL_CHORUS_PHASE : AL_FLANGER_PHASE,
                  static_cast<ALint>(std::clamp<long>((std::lround(a[6]) - 2) * 90, -180, 180)));
        break;
      }
      case AUDIO_FX_ECHO:
        // wetdry, feedback, leftdelay, rightdelay, pandelay
        fx.gain = Clamp(a[0] / 100.0, 0, 1);
        alEffectf(e, AL_ECHO_FEEDBACK, float(Clamp(a[1] / 100.0, 0, 0.99)));
        alEffectf(e, AL_ECHO_DELAY, float(Clamp(a[2] / 1000.0, 0, 0.207)));
        alEffectf(e, AL_ECHO_LRDELAY, float(Clamp(a[3] / 1000.0, 0, 0.404)));
        alEffectf(e, AL_ECHO_SPREAD, a[4] >= 0.5 ? 1.0f : -1.0f);
        break;
      case AUDIO_FX_GARGLE:
        // rate, wave (0 triangle -> sine, 1 square)
        alEffectf(e, AL_RING_MODULATOR_FREQUENCY, float(Clamp(a[0], 0, 8000)));
        alEffecti(e, AL_RING_MODULATOR_WAVEFORM, std::lround(a[1]) == 1 ? 2 : 0);
        break;
      case AUDIO_FX_EQUALIZER: {
        // center (Hz), bandwidth (semitones), gain (dB): the band of the
        // four-band equaliser whose range holds the centre.
        const double center = a[0];
        const float gain = float(Clamp(std::pow(10.0, a[2] / 20.0), 0.126, 7.943));
        const float width = float(Clamp(a[1] / 12.0, 0.01, 1.0));
        if (center < 200) {
          alEffectf(e, AL_EQUALIZER_LOW_CUTOFF, float(Clamp(center, 50, 800)));
          alEffectf(e, AL_EQUALIZER_LOW_GAIN, gain);
        } else if (center <= 3000) {
          alEffectf(e, AL_EQUALIZER_MID1_CENTER, float(center));
          alEffectf(e, AL_EQUALIZER_MID1_WIDTH, width);
          alEffectf(e, AL_EQUALIZER_MID1_GAIN, gain);
        } else if (center <= 8000) {
          alEffectf(e, AL_EQUALIZER_MID2_CENTER, float(Clamp(center, 1000, 8000)));
          alEffectf(e, AL_EQUALIZER_MID2_WIDTH, width);
          alEffectf(e, AL_EQUALIZER_MID2_GAIN, gain);
        } else {
          alEffectf(e, AL_EQUALIZER_HIGH_CUTOFF, float(Clamp(center, 4000, 16000)));
          alEffectf(e, AL_EQUALIZER_HIGH_GAIN, gain);
        }
        break;
      }
      case AUDIO_FX_REVERB:
        // gain (dB), mix (dB), time (ms), high-frequency ratio
        fx.gain = Clamp(std::pow(10.0, (a[0] + a[1]) / 20.0), 0, 1);
        alEffectf(e, AL_REVERB_DECAY_TIME, float(Clamp(a[2] / 1000.0, 0.1, 20.0)));
        alEffectf(e, AL_REVERB_DECAY_HFRATIO, float(Clamp(a[3], 0.1, 2.0)));
        break;
      case AUDIO_FX_COMPRESSOR:
        // gain (dB); attack, release, threshold, ratio and delay have no
        // counterpart in the EFX compressor, which is only on or off.
        fx.gain = Clamp(std::pow(10.0, a[0] / 20.0), 0, 1);
        alEffecti(e, AL_COMPRESSOR_ONOFF, AL_TRUE);
        break;
      default:
        break;
    }
  }

  ALCdevice* device_;
  ALCcontext* context_;
  bool loopback_;
  int rate_;
  ALCint sends_ = 0;
  double tempo_ = 1.0;
  int64_t rendered_ = 0;
  std::chrono::steady_clock::time_point start_;
  std::vector<Voice> voices_;
  std::vector<int16_t> block_, chunk_, mono_;
  std::unique_ptr<WavWriter> capture_;
};

const ALCint kContextSends[] = {ALC_MAX_AUXILIARY_SENDS, kMaxEffects};

}  // namespace

double Audio_CentibelsToGain(double centibels) {
  if (centibels <= -10000) return 0.0;
  return std::pow(10.0, centibels / 2000.0);
}

std::unique_ptr<PlatformAudio> Audio_OpenDevice() {
  ALCdevice* device = alcOpenDevice(nullptr);
  if (device == nullptr) return nullptr;
  const ALCint attrs[] = {kContextSends[0], kContextSends[1], 0};
  ALCcontext* context = alcCreateContext(device, attrs);
  if (context == nullptr) {
    alcCloseDevice(device);
    return nullptr;
  }
  ALCint rate = 44100;
  alcGetIntegerv(device, ALC_FREQUENCY, 1, &rate);
  return std::make_unique<OpenAlAudio>(device, context, false, rate > 0 ? rate : 44100);
}

std::unique_ptr<PlatformAudio> Audio_OpenLoopback(int rate) {
  if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return nullptr;
  ALCdevice* device = alcLoopbackOpenDeviceSOFT(nullptr);
  if (device == nullptr) return nullptr;
  // No head-related filtering and no output limiter: levels in the mix are
  // exactly the gains asked for.
  const ALCint attrs[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                          ALC_SHORT_SOFT, ALC_FREQUENCY, rate, ALC_HRTF_SOFT, ALC_FALSE,
                          ALC_OUTPUT_LIMITER_SOFT, ALC_FALSE, kContextSends[0], kContextSends[1], 0};
  ALCcontext* context = alcCreateContext(device, attrs);
  if (context == nullptr) {
    alcCloseDevice(device);
    return nullptr;
  }
  return std::make_unique<OpenAlAudio>(device, context, true, rate);
}

AudioDeviceInfo Audio_DeviceInfo(PlatformAudio& engine) {
  AudioDeviceInfo info;
  info.rate = engine.MixRate();
  ALCdevice* device = alcGetContextsDevice(alcGetCurrentContext());
  if (device == nullptr) return info;
  ALCint refresh = 0;
  alcGetIntegerv(device, ALC_REFRESH, 1, &refresh);
  if (refresh > 0) info.period_frames = info.rate / refresh;
  info.periods = 3;  // OpenAL Soft's default number of periods
  if (alcIsExtensionPresent(device, "ALC_SOFT_device_clock")) {
    ALCint64SOFT latency = 0;
    alcGetInteger64vSOFT(device, ALC_DEVICE_LATENCY_SOFT, 1, &latency);
    info.latency_seconds = static_cast<double>(latency) / 1e9;
  }
  return info;
}
