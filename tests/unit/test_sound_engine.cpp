// test_sound_engine.cpp: the audio engine on OpenAL Soft's loopback device
// and its decoders: formats decoded from memory, bad data refused without a
// crash or an unbounded allocation, levels of volume, fades, pan and master
// volume measured in the rendered mix, sounds ending on the sample clock,
// streaming of long data, every effect and 3D parameter changing the
// signal, and the WAV file of the mix.
#include <gtest/gtest.h>

#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/audio_wav.h"

namespace {

constexpr int kRate = 44100;

// ---- making sound data -------------------------------------------------------

std::vector<int16_t> Sine(double seconds, double freq, double amp, int channels = 1,
                          int rate = kRate) {
  const size_t frames = static_cast<size_t>(seconds * rate);
  std::vector<int16_t> out(frames * channels);
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      out[i * channels + c] =
          static_cast<int16_t>(std::lround(amp * 32767 * std::sin(2 * M_PI * freq * i / rate)));
  return out;
}

// libsndfile writing into memory, to make every format the decoder reads.
struct MemOut {
  std::vector<uint8_t> bytes;
  sf_count_t pos = 0;
};
sf_count_t OLen(void* u) { return static_cast<sf_count_t>(static_cast<MemOut*>(u)->bytes.size()); }
sf_count_t OSeek(sf_count_t off, int whence, void* u) {
  auto* m = static_cast<MemOut*>(u);
  sf_count_t base = whence == SEEK_CUR ? m->pos : whence == SEEK_END ? OLen(u) : 0;
  m->pos = std::max<sf_count_t>(0, base + off);
  return m->pos;
}
sf_count_t ORead(void* out, sf_count_t n, void* u) {
  auto* m = static_cast<MemOut*>(u);
  const sf_count_t k = std::clamp<sf_count_t>(OLen(u) - m->pos, 0, n);
  std::memcpy(out, m->bytes.data() + m->pos, static_cast<size_t>(k));
  m->pos += k;
  return k;
}
sf_count_t OWrite(const void* in, sf_count_t n, void* u) {
  auto* m = static_cast<MemOut*>(u);
  if (m->pos + n > OLen(u)) m->bytes.resize(static_cast<size_t>(m->pos + n));
  std::memcpy(m->bytes.data() + m->pos, in, static_cast<size_t>(n));
  m->pos += n;
  return n;
}
sf_count_t OTell(void* u) { return static_cast<MemOut*>(u)->pos; }

AudioBytes Encode(int format, const std::vector<int16_t>& samples, int channels, int rate = kRate) {
  MemOut out;
  SF_VIRTUAL_IO io{OLen, OSeek, ORead, OWrite, OTell};
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* f = sf_open_virtual(&io, SFM_WRITE, &info, &out);
  if (f == nullptr) return nullptr;
  sf_writef_short(f, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
  sf_close(f);
  return std::make_shared<std::vector<uint8_t>>(std::move(out.bytes));
}

AudioBytes Wav(double seconds, double freq = 440, double amp = 0.5, int channels = 1) {
  return Encode(SF_FORMAT_WAV | SF_FORMAT_PCM_16, Sine(seconds, freq, amp, channels), channels);
}

AudioBytes Bytes(std::vector<uint8_t> v) {
  return std::make_shared<std::vector<uint8_t>>(std::move(v));
}

std::vector<uint8_t> MidiFile(int notes) {
  std::vector<uint8_t> track = {0x00, 0xC0, 0x00};
  for (int i = 0; i < notes; ++i) {
    const uint8_t pitch = static_cast<uint8_t>(60 + i);
    for (uint8_t b : {uint8_t(0x00), uint8_t(0x90), pitch, uint8_t(100), uint8_t(0x83),
                      uint8_t(0x60), uint8_t(0x80), pitch, uint8_t(0)})
      track.push_back(b);
  }
  for (uint8_t b : {0x00, 0xFF, 0x2F, 0x00}) track.push_back(b);
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                              'M', 'T', 'r', 'k'};
  const uint32_t n = static_cast<uint32_t>(track.size());
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(n >> s));
  out.insert(out.end(), track.begin(), track.end());
  return out;
}

// ---- measuring the mix -------------------------------------------------------

struct Mix {
  std::vector<int16_t> samples;  // interleaved stereo
  void Append(PlatformAudio& engine, int64_t frames) {
    engine.Advance(frames);
    size_t n = 0;
    const int16_t* block = engine.LastBlock(n);
    samples.insert(samples.end(), block, block + n * 2);
  }
  double Rms(int channel, double t0, double t1) const {
    const size_t a = static_cast<size_t>(t0 * kRate), b = static_cast<size_t>(t1 * kRate);
    double sum = 0;
    for (size_t i = a; i < b && i * 2 + 1 < samples.size(); ++i) {
      const double v = samples[i * 2 + channel] / 32768.0;
      sum += v * v;
    }
    return std::sqrt(sum / std::max<size_t>(b - a, 1));
  }
};

double Db(double ratio) { return 20 * std::log10(std::max(ratio, 1e-12)); }
const double kSineRms = 0.5 / std::sqrt(2.0);

std::unique_ptr<PlatformAudio> Loopback() {
  auto engine = Audio_OpenLoopback(kRate);
  EXPECT_TRUE(engine);
  return engine;
}

int Voice(PlatformAudio& engine, AudioBytes bytes, bool spatial = false, bool stream = false) {
  return engine.CreateVoice(Audio_OpenDecoder(std::move(bytes)), spatial, stream);
}

// ---- decoders ------------------------------------------------------------------

TEST(SoundDecode, EveryFormatDecodesFromMemory) {
  struct Case {
    const char* name;
    int format;
    int channels;
    int rate;
    double tolerance_db;
  };
  const Case cases[] = {
      {"wav16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100, 0.1},
      {"wav16 stereo", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 22050, 0.1},
      {"wav float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 48000, 0.1},
      {"wav six channels", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 6, 44100, 0.1},
      {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100, 0.1},
      {"ogg vorbis", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, 44100, 1.0},
      {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 1, 44100, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AudioBytes bytes = Encode(c.format, Sine(1.0, 440, 0.5, c.channels, c.rate), c.channels, c.rate);
    ASSERT_TRUE(bytes) << "the test cannot encode " << c.name;
    auto decoder = Audio_OpenDecoder(bytes);
    ASSERT_TRUE(decoder);
    EXPECT_EQ(decoder->Channels(), std::min(c.channels, 2));
    EXPECT_EQ(decoder->Rate(), c.rate);
    std::vector<int16_t> samples;
    EXPECT_TRUE(Audio_DecodeAll(*decoder, 10 * c.rate, samples));
    const size_t frames = samples.size() / decoder->Channels();
    EXPECT_NEAR(static_cast<double>(frames), c.rate, c.rate * 0.06);
    double sum = 0;
    for (size_t i = frames / 4; i < frames * 3 / 4; ++i) sum += std::pow(samples[i * decoder->Channels()] / 32768.0, 2);
    EXPECT_NEAR(Db(std::sqrt(sum / (frames / 2)) / kSineRms), 0, c.tolerance_db);
    // Rewinding gives the first frame again.
    ASSERT_TRUE(decoder->Rewind());
    int16_t first[2] = {};
    EXPECT_EQ(decoder->Read(first, 1), 1u);
  }
}

TEST(SoundDecode, BadDataGivesNoDecoderOrAShortBoundedRead) {
  std::vector<uint8_t> claims_2gb(*Wav(0.01));
  // RIFF and data sizes claiming 2 GB of samples that are not there.
  for (int at : {4, 40}) {
    claims_2gb[at] = 0xF0;
    claims_2gb[at + 1] = 0xFF;
    claims_2gb[at + 2] = 0xFF;
    claims_2gb[at + 3] = 0x7F;
  }
  std::vector<uint8_t> zero_length(*Wav(0));
  std::vector<uint8_t> truncated(*Wav(0.1));
  truncated.resize(50);
  std::vector<uint8_t> broken_mp3 = {0xFF, 0xFB, 0x90, 0x64};
  broken_mp3.resize(2000, 0xAA);
  std::vector<uint8_t> midi_past_end = MidiFile(3);
  midi_past_end.resize(midi_past_end.size() - 5);
  std::vector<uint8_t> garbage(4096);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 7919 >> 3);
  const std::pair<const char*, std::vector<uint8_t>> cases[] = {
      {"empty", {}},
      {"garbage", garbage},
      {"zero-length wav", zero_length},
      {"truncated header", truncated},
      {"claims 2 GB", claims_2gb},
      {"broken mp3", broken_mp3},
      {"midi track past its end", midi_past_end},
      {"midi header only", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}},
  };
  for (const auto& [name, data] : cases) {
    SCOPED_TRACE(name);
    auto decoder = Audio_OpenDecoder(Bytes(data));
    if (!decoder) continue;
    std::vector<int16_t> samples;
    Audio_DecodeAll(*decoder, 60 * kRate, samples);
    // Never more audio than the bytes could hold.
    EXPECT_LE(samples.size() * 2, data.size() + 64);
  }
}

TEST(SoundDecode, MidiChunksMustLieInsideTheFile) {
  const std::vector<uint8_t> good = MidiFile(2);
  EXPECT_TRUE(Audio_IsValidMidi(good.data(), good.size()));
  std::vector<uint8_t> huge_track = good;
  huge_track[18] = 0x7F;  // track length 2 GB
  std::vector<uint8_t> no_tracks = good;
  no_tracks[11] = 0;
  std::vector<uint8_t> short_header = good;
  short_header[7] = 2;
  for (const auto* bad : {&huge_track, &no_tracks, &short_header})
    EXPECT_FALSE(Audio_IsValidMidi(bad->data(), bad->size()));
  EXPECT_FALSE(Audio_IsValidMidi(good.data(), 10));
}

TEST(SoundDecode, MidiRendersThroughTheSoundfont) {
  ASSERT_FALSE(Audio_SoundfontPath().empty()) << "install timgm6mb-soundfont";
  auto decoder = Audio_OpenDecoder(Bytes(MidiFile(2)));
  ASSERT_TRUE(decoder);
  std::vector<int16_t> samples;
  EXPECT_TRUE(Audio_DecodeAll(*decoder, 30 * kRate, samples));
  double peak = 0;
  for (int16_t s : samples) peak = std::max(peak, std::abs(s / 32768.0));
  EXPECT_GT(peak, 0.02);
  // Two quarter notes at 120 beats per minute, then the player's end and at
  // most two seconds of ring: the rendering ends.
  EXPECT_GT(samples.size() / 2, static_cast<size_t>(0.9 * kRate));
  EXPECT_LT(samples.size() / 2, static_cast<size_t>(5.5 * kRate));
}

// ---- the engine ------------------------------------------------------------

TEST(SoundEngine, LevelsFollowVolumePanAndMaster) {
  struct Case {
    double volume_cb;
    int pan;
    double master_cb;
    double left_db, right_db;  // -200: silent
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0},          {-4800, 0, 0, -48, -48}, {0, -10000, 0, 0, -200},
      {0, 10000, 0, -200, 0},   {0, 2500, 0, -25, 0},    {0, 0, -1000, -10, -10},
      {-600, -1000, 0, -6, -16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.volume_cb << " " << c.pan << " " << c.master_cb);
    auto engine = Loopback();
    const int v = Voice(*engine, Wav(0.5));
    ASSERT_GE(v, 0);
    engine->SetVolume(v, c.volume_cb, 0);
    engine->SetPan(v, c.pan);
    engine->SetMasterVolume(c.master_cb);
    engine->Play(v, false);
    Mix mix;
    mix.Append(*engine, kRate / 2);
    const double want[2] = {c.left_db, c.right_db};
    for (int ch = 0; ch < 2; ++ch) {
      const double level = mix.Rms(ch, 0.05, 0.45);
      if (want[ch] < -150)
        EXPECT_LT(level, 1e-4);
      else
        EXPECT_NEAR(Db(level / kSineRms), want[ch], 0.3);
    }
  }
}

TEST(SoundEngine, SoundsEndAndFadesArriveOnTheSampleClock) {
  auto engine = Loopback();
  const int v = Voice(*engine, Wav(0.25));
  engine->Play(v, false);
  engine->Advance(kRate / 4 - 300);
  EXPECT_TRUE(engine->IsPlaying(v));
  engine->Advance(600);
  EXPECT_FALSE(engine->IsPlaying(v));
  EXPECT_NEAR(engine->Length(v), 0.25, 1e-6);

  const int loop = Voice(*engine, Wav(0.1));
  engine->Play(loop, true);
  engine->SetVolume(loop, -2000, 500);  // -20 dB over half a second
  Mix mix;
  mix.Append(*engine, kRate);
  EXPECT_TRUE(engine->IsPlaying(loop));
  EXPECT_NEAR(Db(mix.Rms(0, 0.245, 0.255) / kSineRms), -10, 0.5);
  EXPECT_NEAR(Db(mix.Rms(0, 0.6, 0.95) / kSineRms), -20, 0.3);
  engine->Stop(loop);
  engine->Advance(512);
  EXPECT_FALSE(engine->IsPlaying(loop));
}

TEST(SoundEngine, LongDataStreamsAndLoops) {
  auto engine = Loopback();
  // Longer than whole decoding allows: the voice streams.
  const int longer = Voice(*engine, Wav(21.0, 440, 0.5, 2));
  ASSERT_GE(longer, 0);
  EXPECT_EQ(engine->Length(longer), 0);  // unknown for a stream
  engine->Play(longer, false);
  Mix mix;
  for (int i = 0; i < 30; ++i) mix.Append(*engine, kRate / 30);
  EXPECT_NEAR(Db(mix.Rms(0, 0.1, 0.9) / kSineRms), 0, 0.3);
  EXPECT_TRUE(engine->IsPlaying(longer));
  engine->Stop(longer);
  EXPECT_FALSE(engine->IsPlaying(longer));

  const int looped = Voice(*engine, Wav(0.15), false, true);
  engine->Play(looped, true);
  Mix loop_mix;
  loop_mix.Append(*engine, kRate);
  EXPECT_TRUE(engine->IsPlaying(looped));
  for (double t : {0.05, 0.4, 0.8}) EXPECT_NEAR(Db(loop_mix.Rms(0, t, t + 0.1) / kSineRms), 0, 0.5);

  const int once = Voice(*engine, Wav(0.15), false, true);
  engine->Play(once, false);
  engine->Advance(kRate / 2);
  EXPECT_FALSE(engine->IsPlaying(once));
}

// Renders a short beep with the effect bits and parameters; the mix.
Mix WithEffect(int bits, const AudioEffectParams* params) {
  auto engine = Loopback();
  const int v = Voice(*engine, Wav(0.2, 440, 0.4));
  engine->SetEffects(v, bits);
  if (params) engine->SetEffectParams(v, *params);
  engine->Play(v, false);
  Mix mix;
  mix.Append(*engine, kRate * 6 / 10);
  return mix;
}

double Difference(const Mix& a, const Mix& b) {
  double sum = 0;
  for (size_t i = 0; i < a.samples.size() && i < b.samples.size(); ++i)
    sum += std::pow((a.samples[i] - b.samples[i]) / 32768.0, 2);
  return std::sqrt(sum / std::max<size_t>(a.samples.size(), 1));
}

TEST(SoundEngine, EveryEffectAndItsParametersChangeTheSignal) {
  const Mix dry = WithEffect(0, nullptr);
  struct Case {
    int bit;
    std::vector<double> params;
  };
  const Case cases[] = {
      {AUDIO_FX_CHORUS, {100, 80, -50, 5, 0, 10, 4}},
      {AUDIO_FX_ECHO, {100, 80, 150, 300, 1}},
      {AUDIO_FX_FLANGER, {100, 90, 60, 8, 0, 3, 0}},
      {AUDIO_FX_GARGLE, {500, 1}},
      {AUDIO_FX_EQUALIZER, {440, 12, -15}},
      {AUDIO_FX_REVERB, {0, -3, 2500, 0.5}},
      {AUDIO_FX_COMPRESSOR, {-12, 10, 200, -20, 3, 4}},
      {AUDIO_FX_DISTORTION, {}},
      {AUDIO_FX_I3DL2_REVERB, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bit);
    const Mix with = WithEffect(c.bit, nullptr);
    EXPECT_GT(Difference(dry, with), 0.005);
    if (c.params.empty()) continue;
    AudioEffectParams p;
    p.effect = c.bit;
    p.count = static_cast<int>(c.params.size());
    std::copy(c.params.begin(), c.params.end(), p.values);
    EXPECT_GT(Difference(with, WithEffect(c.bit, &p)), 0.002);
    // Parameters of an effect the chain lacks change nothing.
    const int other = c.bit == AUDIO_FX_ECHO ? AUDIO_FX_CHORUS : AUDIO_FX_ECHO;
    EXPECT_EQ(Difference(WithEffect(other, nullptr), WithEffect(other, &p)), 0);
  }
  // The whole chain at once, then none.
  EXPECT_GT(Difference(dry, WithEffect(511, nullptr)), 0.005);
  EXPECT_EQ(Difference(dry, WithEffect(0, nullptr)), 0);
}

TEST(SoundEngine, SpatialVoicesFollowDistanceAndCone) {
  auto level = [](auto setup) {
    auto engine = Loopback();
    const int v = Voice(*engine, Wav(0.4), true);
    setup(*engine, v);
    engine->Play(v, false);
    Mix mix;
    mix.Append(*engine, kRate * 4 / 10);
    return std::make_pair(mix.Rms(0, 0.05, 0.35), mix.Rms(1, 0.05, 0.35));
  };
  const auto near = level([](PlatformAudio& e, int v) { e.SetPosition(v, 0, 0, 1); });
  const auto far = level([](PlatformAudio& e, int v) { e.SetPosition(v, 0, 0, 4); });
  EXPECT_NEAR(Db(far.first / near.first), Db(0.25), 0.5);  // inverse distance
  const auto clamped = level([](PlatformAudio& e, int v) {
    e.SetPosition(v, 0, 0, 4);
    e.SetDistance(v, 4, 100);
  });
  EXPECT_NEAR(Db(clamped.first / near.first), 0, 0.5);
  const auto left = level([](PlatformAudio& e, int v) { e.SetPosition(v, -2, 0, 0); });
  EXPECT_GT(left.first, 10 * left.second);
  const auto away = level([](PlatformAudio& e, int v) {
    e.SetPosition(v, 0, 0, 1);
    e.SetCone(v, 0, 0, 1, 30, 60, -2000);  // pointing away from the listener
  });
  EXPECT_NEAR(Db(away.first / near.first), -20, 0.5);
  const auto moving = level([](PlatformAudio& e, int v) {
    e.SetPosition(v, 0, 0, 1);
    e.SetVelocity(v, 0, 0, 100);
  });
  EXPECT_GT(moving.first, 0.01);
}

TEST(SoundEngine, ManyVoicesAndBadHandlesAreSafe) {
  auto engine = Loopback();
  std::vector<int> voices;
  for (int i = 0; i < 40; ++i) voices.push_back(Voice(*engine, Wav(0.05, 200 + 20 * i, 0.02), i % 3 == 0));
  for (int v : voices) {
    ASSERT_GE(v, 0);
    engine->SetEffects(v, 3);
    engine->Play(v, true);
  }
  engine->Advance(kRate / 10);
  for (int v : voices) EXPECT_TRUE(engine->IsPlaying(v));
  for (int bad : {-1, 999}) {
    engine->Play(bad, true);
    engine->SetVolume(bad, 0, 10);
    engine->SetEffects(bad, 511);
    EXPECT_FALSE(engine->IsPlaying(bad));
  }
  EXPECT_EQ(engine->CreateVoice(nullptr, false, false), -1);
  engine->DestroyVoice(voices[3]);
  EXPECT_FALSE(engine->IsPlaying(voices[3]));
  EXPECT_EQ(Voice(*engine, Wav(0.05)), voices[3]);  // the free entry is reused
}

TEST(SoundEngine, CaptureWritesTheMixAsAWavFile) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("vx_mix_" + std::to_string(getpid()) + ".wav")).string();
  auto engine = Loopback();
  ASSERT_TRUE(engine->StartCapture(path));
  const int v = Voice(*engine, Wav(0.1));
  engine->Play(v, false);
  Mix mix;
  mix.Append(*engine, 1470);
  mix.Append(*engine, 1471);
  EXPECT_FALSE(std::filesystem::exists(path));  // only at the end
  ASSERT_TRUE(engine->FinishCapture());
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(file.size(), 44u + (1470 + 1471) * 4);
  uint8_t header[44];
  Wav_Header(header, kRate, 1470 + 1471);
  EXPECT_EQ(std::memcmp(file.data(), header, 44), 0);
  EXPECT_EQ(std::memcmp(file.data() + 44, mix.samples.data(), mix.samples.size() * 2), 0);
  std::filesystem::remove(path);
}

}  // namespace
