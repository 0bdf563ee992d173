// audio.h: the audio engine behind an interface of the system's own. A voice
// is one playable sound: decoded whole into memory or streamed from its
// decoder, flat (stereo with a pan) or spatial (positioned in 3D), with a
// volume in hundredths of a decibel reached over a fade time, an effect
// chain and, for spatial voices, position, velocity, distance and cone.
//
// Two backends over OpenAL Soft: the window session's device, which mixes
// on the sound card's clock, and the headless loopback device, which mixes
// only when told to render a number of frames (game time), so that timed
// behaviour follows the frames rendered and the mix can be written to a WAV
// file. Both keep every time-driven state (fades, stream refills, the ends
// of sounds) on the engine's sample clock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio_decode.h"

// Effect bits of a voice's chain, applied in this order: chorus, echo,
// flanger, gargle (ring modulator), equaliser (two stages), reverb,
// compressor, distortion, a second (environmental) reverb.
enum : int {
  AUDIO_FX_CHORUS = 1,
  AUDIO_FX_ECHO = 2,
  AUDIO_FX_FLANGER = 4,
  AUDIO_FX_GARGLE = 8,
  AUDIO_FX_REVERB = 16,
  AUDIO_FX_COMPRESSOR = 32,
  AUDIO_FX_EQUALIZER = 64,
  AUDIO_FX_DISTORTION = 128,
  AUDIO_FX_I3DL2_REVERB = 256,
};

// Parameters of one effect in the order of the game functions that set them
// (see the engine for the mapping to the backend's effect parameters).
struct AudioEffectParams {
  int effect = 0;  // one AUDIO_FX_ bit
  double values[7] = {};
  int count = 0;
};

class PlatformAudio {
 public:
  virtual ~PlatformAudio() = default;

  // Frames per second of the mix.
  virtual int MixRate() const = 0;
  // Creates a voice that owns the decoder; streamed voices decode as they
  // play, others are decoded whole (when the data turns out longer than
  // the whole-decoding limit the voice streams instead). -1 on failure.
  virtual int CreateVoice(std::unique_ptr<AudioDecoder> decoder, bool spatial, bool stream) = 0;
  virtual void DestroyVoice(int voice) = 0;

  // Starts from the beginning (restarting a voice that plays).
  virtual void Play(int voice, bool loop) = 0;
  virtual void Stop(int voice) = 0;
  virtual bool IsPlaying(int voice) = 0;
  // Seconds of one pass through the voice's data; 0 when unknown.
  virtual double Length(int voice) = 0;
  // Frames of the voice the mixer has consumed since Play (within the data
  // or the current stream buffer); 0 before the first mix.
  virtual int64_t PlayedFrames(int voice) = 0;

  // Volume in hundredths of a decibel (0 full, -10000 silent), reached
  // linearly in decibels over milliseconds of the engine's clock.
  virtual void SetVolume(int voice, double centibels, double milliseconds) = 0;
  // -10000 (left only) .. 10000 (right only): the other side is lowered by
  // that many hundredths of a decibel. Spatial voices ignore it.
  virtual void SetPan(int voice, int pan) = 0;
  virtual void SetEffects(int voice, int bits) = 0;
  // Does nothing when the voice's chain lacks that effect.
  virtual void SetEffectParams(int voice, const AudioEffectParams& params) = 0;
  // Spatial voices only (others ignore these). Coordinates are left-handed
  // (x right, y up, z away from the listener).
  virtual void SetPosition(int voice, double x, double y, double z) = 0;
  virtual void SetVelocity(int voice, double x, double y, double z) = 0;
  virtual void SetDistance(int voice, double min_distance, double max_distance) = 0;
  virtual void SetCone(int voice, double x, double y, double z, int inside_angle,
                       int outside_angle, double outside_centibels) = 0;

  // The master volume in hundredths of a decibel (may be above 0).
  virtual void SetMasterVolume(double centibels) = 0;
  // Speed multiplier of tempo-driven voices (MIDI).
  virtual void SetTempo(double tempo) = 0;

  // Advances the engine: the loopback device renders frames frames; the
  // window session's device refills streams and fades from its own clock
  // and ignores the count.
  virtual void Advance(int64_t frames) = 0;
  // Frames of the engine's clock so far.
  virtual int64_t Clock() const = 0;

  // Loopback only: every frame rendered from now on also goes to the WAV
  // file at path (written when FinishCapture is called); false when the
  // file cannot be made.
  virtual bool StartCapture(const std::string& path) { return false; }
  virtual bool FinishCapture() { return false; }
  // Loopback only: the frames of the last Advance (interleaved stereo).
  virtual const int16_t* LastBlock(size_t& frames) const {
    frames = 0;
    return nullptr;
  }
};

// The window session's engine on the default output device; null when no
// device can be opened.
std::unique_ptr<PlatformAudio> Audio_OpenDevice();
// The headless engine on OpenAL Soft's loopback device at rate frames per
// second, 16-bit stereo; null when OpenAL lacks loopback rendering.
std::unique_ptr<PlatformAudio> Audio_OpenLoopback(int rate = 44100);

// Device latency facts of the window session's engine (for measurements):
// the update period and the number of periods, in frames.
struct AudioDeviceInfo {
  int rate = 0;
  int period_frames = 0;
  int periods = 0;
  // What the device reports as the time from the mix to the speaker.
  double latency_seconds = 0;
};
AudioDeviceInfo Audio_DeviceInfo(PlatformAudio& engine);

// Converts hundredths of a decibel to a linear gain.
double Audio_CentibelsToGain(double centibels);
