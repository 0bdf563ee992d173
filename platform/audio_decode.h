// audio_decode.h: decoders that turn encoded sound data into 16-bit PCM for
// the audio engine: WAV, Ogg Vorbis, FLAC, MP3 and the other formats of
// libsndfile, read from memory or from a file, and standard MIDI files
// rendered by FluidSynth with a General MIDI soundfont. A decoder reads
// progressively, so long files are streamed and never decoded whole; bad
// data gives no decoder (or a short read), never a crash or an allocation
// larger than the data read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using AudioBytes = std::shared_ptr<const std::vector<uint8_t>>;

class AudioDecoder {
 public:
  virtual ~AudioDecoder() = default;
  // 1 or 2 (wider files are read as their first two channels).
  virtual int Channels() const = 0;
  // Frames per second, 1000 .. 384000.
  virtual int Rate() const = 0;
  // Reads up to frames frames of interleaved samples; 0 at the end.
  virtual size_t Read(int16_t* out, size_t frames) = 0;
  // Back to the first frame; false when the data cannot be read again.
  virtual bool Rewind() = 0;
  // Playback speed of tempo-driven data (MIDI); others ignore it.
  virtual void SetTempo(double multiplier) {}
};

// True when the bytes look like a standard MIDI file with every chunk inside
// the data (a track claiming a length past the end is refused).
bool Audio_IsValidMidi(const uint8_t* data, size_t size);

// A decoder over the bytes (kept alive by the decoder); null when no decoder
// understands them. MIDI is recognised by its header, everything else is
// offered to libsndfile.
std::unique_ptr<AudioDecoder> Audio_OpenDecoder(AudioBytes bytes);
// The same for a file; null when it cannot be read or decoded. Files are
// read through the operating system, never loaded whole (MIDI files, small
// by nature, are read whole up to 16 MB).
std::unique_ptr<AudioDecoder> Audio_OpenDecoderFile(const std::string& path);

// Decodes up to max_frames frames into samples (interleaved, Channels() per
// frame); true when the end of the data was reached within the limit.
bool Audio_DecodeAll(AudioDecoder& decoder, size_t max_frames, std::vector<int16_t>& samples);

// The soundfont file MIDI is rendered with: FluidSynth's default soundfont
// when that file exists, else the first of the General MIDI soundfonts that
// Debian packages install; empty when none is installed.
std::string Audio_SoundfontPath();
