// test_sound_player.cpp: the sample table and the sound builtins on the
// headless engine: the stored units of volume, pan, master volume and
// tempo, missing sounds, the fallback of undecodable data to the
// multimedia kind, one multimedia sound at a time, background music
// replacing background music, the resource functions and the CD functions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/sound_class.h"
#include "audio/sound_player.h"
#include "runner/game_data.h"
#include "common/support_file.h"
#include "test_function_util.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> WavFile(double seconds, double freq = 440) {
  const uint32_t frames = static_cast<uint32_t>(seconds * 44100);
  std::vector<uint8_t> out(44 + frames * 2);
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  std::memcpy(out.data(), "RIFF", 4);
  put(4, 36 + frames * 2, 4);
  std::memcpy(out.data() + 8, "WAVEfmt ", 8);
  put(16, 16, 4);
  put(20, 1, 2);
  put(22, 1, 2);
  put(24, 44100, 4);
  put(28, 88200, 4);
  put(32, 2, 2);
  put(34, 16, 2);
  std::memcpy(out.data() + 36, "data", 4);
  put(40, frames * 2, 4);
  for (uint32_t i = 0; i < frames; ++i)
    put(44 + 2 * i, static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(2 * M_PI * freq * i / 44100))), 2);
  return out;
}

std::vector<std::string> g_messages;
void Record(const std::string& text) { g_messages.push_back(text); }

class SoundPlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vx_sound_test_" + std::to_string(getpid()));
    fs::create_directories(dir_);
    ASSERT_TRUE(TempDir_Create(dir_.string(), nullptr));
    g_messages.clear();
    SoundPlayer_SetMessageHook(Record);
    SoundPlayer_Init(true);
    ASSERT_TRUE(SoundPlayer_Active());
    Game().sounds.Clear();
  }
  void TearDown() override {
    Game().sounds.Clear();
    SoundPlayer_Release();
    SoundPlayer_SetMessageHook(nullptr);
    TempDir_Remove();
    fs::remove_all(dir_);
  }
  // Adds a sound with data to the game's table; its index.
  int AddSound(std::vector<uint8_t> data, int kind, const char16_t* extension = u".wav") {
    auto sound = std::make_unique<CSound>();
    sound->s_kind = kind;
    sound->s_extension = extension;
    sound->s_sound = std::make_shared<std::vector<uint8_t>>(std::move(data));
    sound->Prepare();
    return Game().sounds.Add(std::move(sound), u"snd");
  }
  std::string WriteFile(const std::string& name, const std::vector<uint8_t>& data) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                                static_cast<std::streamsize>(data.size()));
    return path.string();
  }
  int Id(int index) { return Game().sounds.Get(index)->s_soundid; }
  void Advance(double seconds) { SoundPlayer_Engine()->Advance(static_cast<int64_t>(seconds * 44100)); }

  fs::path dir_;
};

TEST_F(SoundPlayerTest, StoredUnitsOfVolumePanMasterAndTempo) {
  const int snd = AddSound(WavFile(0.2), SOUND_NORMAL);
  ASSERT_GE(Id(snd), 0);
  const struct {
    double v;
    int centibels;
  } volumes[] = {{1, 0}, {0.5, -4800}, {0, -9600}, {0.75, -2400}, {-3, -10000}, {2, 0}};
  for (const auto& c : volumes) {
    CallBuiltin("sound_volume", {R(snd), R(c.v)});
    EXPECT_EQ(SoundPlayer_VolumeCentibels(Id(snd)), c.centibels) << c.v;
  }
  CallBuiltin("sound_fade", {R(snd), R(0.5), R(250.4)});
  EXPECT_EQ(SoundPlayer_VolumeCentibels(Id(snd)), -4800);
  const struct {
    double p;
    int pan;
  } pans[] = {{-1, -10000}, {1, 10000}, {0.25, 2500}, {-7, -10000}};
  for (const auto& c : pans) {
    CallBuiltin("sound_pan", {R(snd), R(c.p)});
    EXPECT_EQ(SoundPlayer_Pan(Id(snd)), c.pan) << c.p;
  }
  const struct {
    double v;
    int centibels;
  } masters[] = {{0, -10000}, {2, 1000}, {1, 1000}, {0.5, -4500}, {-1, -10000}};
  for (const auto& c : masters) {
    CallBuiltin("sound_global_volume", {R(c.v)});
    EXPECT_EQ(SoundPlayer_MasterCentibels(), c.centibels) << c.v;
  }
  for (const auto& [t, want] : std::vector<std::pair<double, double>>{{0, 0.01}, {1000, 100}, {2, 2}}) {
    CallBuiltin("sound_background_tempo", {R(t)});
    EXPECT_EQ(SoundPlayer_Tempo(), want);
  }
  CallBuiltin("sound_effect_set", {R(snd), R(64)});
  EXPECT_EQ(SoundPlayer_EffectBits(Id(snd)), 64);
  CallBuiltin("sound_effect_set", {R(snd), R(0)});
  EXPECT_EQ(SoundPlayer_EffectBits(Id(snd)), 0);
}

TEST_F(SoundPlayerTest, MissingSoundsReportExceptIsPlaying) {
  ErrorCapture errors;
  for (const char* name : {"sound_play", "sound_loop", "sound_stop", "sound_discard", "sound_restore"}) {
    errors.Reset();
    CallBuiltin(name, {R(12)});
    EXPECT_EQ(errors.Message(), "Sound does not exist.") << name;
  }
  errors.Reset();
  CallBuiltin("sound_volume", {R(-1), R(1)});
  EXPECT_EQ(errors.Message(), "Sound does not exist.");
  errors.Reset();
  CallBuiltin("sound_3d_set_sound_cone", {R(99), R(0), R(0), R(1), R(30), R(60), R(0.5)});
  EXPECT_EQ(errors.Message(), "Sound does not exist.");
  errors.Reset();
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(12)}).val, 0);
  EXPECT_FALSE(errors.Occurred());
  EXPECT_EQ(CallBuiltin("sound_exists", {R(12)}).val, 0);
  EXPECT_EQ(CallBuiltin("sound_name", {R(12)}).str, u"<undefined>");
}

TEST_F(SoundPlayerTest, PlayingFollowsTheSampleClock) {
  const int snd = AddSound(WavFile(0.2), SOUND_NORMAL);
  CallBuiltin("sound_play", {R(snd)});
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(snd)}).val, 1);
  // A step at 30 per second renders 1470 frames.
  for (int step = 0; step < 5; ++step) SoundPlayer_AfterStep(30);
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(snd)}).val, 1);
  for (int step = 0; step < 2; ++step) SoundPlayer_AfterStep(30);
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(snd)}).val, 0);
  EXPECT_EQ(SoundPlayer_Engine()->Clock(), 7 * 1470);
  // Fractions carry over: 7 steps at 60 per second are 5145 frames.
  const int64_t before = SoundPlayer_Engine()->Clock();
  for (int step = 0; step < 7; ++step) SoundPlayer_AfterStep(60);
  EXPECT_EQ(SoundPlayer_Engine()->Clock() - before, 5145);
}

TEST_F(SoundPlayerTest, UndecodableDataBecomesMultimediaPlayedFromATempFile) {
  std::vector<uint8_t> garbage(300, 0x5A);
  const int snd = AddSound(garbage, SOUND_NORMAL, u"/../../x?.wav");
  CSound* sound = Game().sounds.Get(snd);
  EXPECT_EQ(sound->s_kind, SOUND_MULTIMEDIA);
  EXPECT_FALSE(sound->s_sound);  // written out and dropped
  const fs::path file = ToUtf8(sound->s_fname);
  EXPECT_EQ(file.parent_path(), fs::path(TempDir_Path()));
  EXPECT_EQ(file.extension(), ".wav");
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(fs::file_size(file), garbage.size());
  EXPECT_EQ(CallBuiltin("sound_get_kind", {R(snd)}).val, 3);
  CallBuiltin("sound_play", {R(snd)});
  Advance(0.1);
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(snd)}).val, 0);  // nothing decodes it
}

TEST_F(SoundPlayerTest, OneMultimediaSoundAtATime) {
  const int a = AddSound(WavFile(1.0), SOUND_MULTIMEDIA);
  const int b = AddSound(WavFile(1.0, 660), SOUND_MULTIMEDIA);
  CallBuiltin("sound_play", {R(a)});
  Advance(0.1);
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(a)}).val, 1);
  CallBuiltin("sound_loop", {R(b)});
  Advance(0.1);
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(a)}).val, 0);
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(b)}).val, 1);
  Advance(2.5);  // looped past its end
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(b)}).val, 1);
  CallBuiltin("sound_stop", {R(a)});  // a is not in the player: b goes on
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(b)}).val, 1);
  CallBuiltin("sound_stop_all", {});
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(b)}).val, 0);
}

TEST_F(SoundPlayerTest, MultimediaNameTooLongShowsTheMessage) {
  std::string name = std::string(130, 'n') + ".wav";
  const std::string path = WriteFile(name, WavFile(0.1));
  int kind = SOUND_MULTIMEDIA;
  const int id = SoundPlayer_LoadFromFile(path, kind);
  ASSERT_GE(id, 0);
  SoundPlayer_Play(id, false);
  EXPECT_EQ(g_messages, std::vector<std::string>{"Music file name too long for player."});
  EXPECT_FALSE(SoundPlayer_IsPlaying(id));
  SoundPlayer_Free(id);
}

TEST_F(SoundPlayerTest, BackgroundMusicReplacesBackgroundMusicNormalSoundsOverlap) {
  const int m1 = AddSound(WavFile(1.0), SOUND_BACKGROUND);
  const int m2 = AddSound(WavFile(1.0, 660), SOUND_BACKGROUND);
  const int n1 = AddSound(WavFile(1.0), SOUND_NORMAL);
  const int n2 = AddSound(WavFile(1.0, 550), SOUND_NORMAL);
  for (int s : {m1, n1, n2, m2}) CallBuiltin("sound_play", {R(s)});
  Advance(0.1);
  EXPECT_EQ(CallBuiltin("sound_isplaying", {R(m1)}).val, 0);
  for (int s : {m2, n1, n2}) EXPECT_EQ(CallBuiltin("sound_isplaying", {R(s)}).val, 1) << s;
}

TEST_F(SoundPlayerTest, ResourceFunctions) {
  const std::string path = WriteFile("boing.wav", WavFile(0.1));
  const int snd = static_cast<int>(CallBuiltin("sound_add", {S(u""), R(2), R(0)}).val);
  EXPECT_EQ(snd, -1);  // no such file
  const int added = static_cast<int>(CallBuiltin("sound_add", {RValue::String(FromUtf8(path)), R(2), R(0)}).val);
  ASSERT_GE(added, 0);
  EXPECT_EQ(CallBuiltin("sound_exists", {R(added)}).val, 1);
  EXPECT_EQ(CallBuiltin("sound_get_name", {R(added)}).str, u"boing");
  EXPECT_EQ(CallBuiltin("sound_get_kind", {R(added)}).val, 2);
  EXPECT_EQ(CallBuiltin("sound_get_preload", {R(added)}).val, 0);
  EXPECT_LT(Id(added), 0);  // not preloaded: loaded on first use
  CallBuiltin("sound_3d_set_sound_position", {R(added), R(1), R(2), R(3)});
  EXPECT_GE(Id(added), 0);
  CallBuiltin("sound_discard", {R(added)});
  EXPECT_LT(Id(added), 0);
  EXPECT_TRUE(Game().sounds.Get(added)->s_sound);  // the data stays
  CallBuiltin("sound_restore", {R(added)});
  EXPECT_GE(Id(added), 0);
  EXPECT_EQ(CallBuiltin("sound_replace", {R(added), RValue::String(FromUtf8(path)), R(1), R(1)}).val, 1);
  EXPECT_EQ(CallBuiltin("sound_get_kind", {R(added)}).val, 1);
  EXPECT_EQ(CallBuiltin("sound_get_name", {R(added)}).str, u"boing");
  EXPECT_EQ(CallBuiltin("sound_replace", {R(added), S(u"/nonexistent.wav"), R(1), R(1)}).val, 0);
  CallBuiltin("sound_delete", {R(added)});
  EXPECT_EQ(CallBuiltin("sound_exists", {R(added)}).val, 0);
}

TEST_F(SoundPlayerTest, TheCdDriveIsAbsent) {
  for (const char* name : {"cd_init", "cd_present", "cd_number", "cd_playing", "cd_paused", "cd_track",
                           "cd_length", "cd_position", "cd_track_position"})
    EXPECT_EQ(CallBuiltin(name, {}).val, 0) << name;
  EXPECT_EQ(CallBuiltin("cd_track_length", {R(1)}).val, 0);
  CallBuiltin("cd_play", {R(1), R(3)});
  CallBuiltin("cd_open_door", {});
  EXPECT_EQ(CallBuiltin("cd_playing", {}).val, 0);
  EXPECT_EQ(CallBuiltin("MCI_command", {S(u"open cdaudio")}).str, u"");
}

// A window session without an output device: the message once, then
// silence, and every function still safe. (Where a device exists the
// session simply has sound.)
TEST(SoundPlayerDevice, NoDeviceShowsTheMessageOnceAndGoesOnSilently) {
  g_messages.clear();
  SoundPlayer_SetMessageHook(Record);
  SoundPlayer_Init(false);
  if (SoundPlayer_Active()) {
    EXPECT_TRUE(g_messages.empty());
  } else {
    EXPECT_EQ(g_messages, std::vector<std::string>{"No sound device detected. Sounds might not play."});
    std::vector<uint8_t> wav = WavFile(0.1);
    const int id = SoundPlayer_LoadFromMemory(std::make_shared<std::vector<uint8_t>>(wav), 0);
    EXPECT_EQ(id, -1);
    SoundPlayer_Play(id, true);
    SoundPlayer_AfterStep(30);
    EXPECT_FALSE(SoundPlayer_IsPlaying(id));
    SoundPlayer_SetMasterVolume(0.5);
    EXPECT_EQ(g_messages.size(), 1u);
  }
  SoundPlayer_Release();
  SoundPlayer_SetMessageHook(nullptr);
}

}  // namespace
