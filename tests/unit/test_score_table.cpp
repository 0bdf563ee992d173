// test_score_table.cpp: the high-score table: the stored encoding byte for
// byte, insertion with ties below, storage under the game's key, the
// builtins over the settings store, the window driven with synthetic events
// (alone and inside the modal loop), and draw_highscore's rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code/builtin_variables.h"
#include "dialogs/dialog_draw.h"
#include "dialogs/dialog_highscore.h"
#include "dialogs/dialog_modal.h"
#include "file_test_support.h"
#include "platform/settings_store.h"
#include "platform/window.h"
#include "runner/game_data.h"
#include "scores/score_functions.h"
#include "scores/score_table.h"

using namespace filetest;

namespace {

constexpr SettingsRoot kUser = SettingsRoot::CurrentUser;

// The stored form written out by hand: byte j (from 1) as (j + b + g) mod
// 256 in two letters.
std::string HandEncode(const std::vector<int>& bytes, int game_id) {
  std::string out;
  for (size_t k = 0; k < bytes.size(); ++k) {
    const int d = ((static_cast<int>(k) + 1 + bytes[k] + game_id) % 256 + 256) % 256;
    out += static_cast<char>('A' + d / 16);
    out += static_cast<char>('A' + d % 16);
  }
  return out;
}

std::vector<int> ScoreBytes(uint32_t score, const std::u16string& name) {
  std::vector<int> b(16, 0);
  for (int i = 0; i < 4; ++i) b[i] = (score >> (8 * i)) & 0xFF;
  for (char16_t c : name) b.push_back(c & 0xFF);
  return b;
}

TEST(ScoreEncoding, ScoreEncodingByteForByte) {
  // "ab", 100, game id 0: 36 letters, the first pair (1 + 100) = 101 = "GF".
  const std::string ab = Score_Encode(u"ab", 100, 0);
  ASSERT_EQ(ab.size(), 36u);
  EXPECT_EQ(ab.substr(0, 2), "GF");
  EXPECT_EQ(ab, HandEncode(ScoreBytes(100, u"ab"), 0));
  struct Case {
    std::u16string name;
    int32_t score;
    int64_t game_id;
  } cases[] = {
      {u"", 0, 0},           {u"Ann", 123456, 7},       {u"x", -1, 250},
      {u"zz", INT32_MIN, 1}, {u"q", INT32_MAX, 123456}, {u"neg", 42, -3},
  };
  for (const Case& c : cases) {
    const std::string text = Score_Encode(c.name, c.score, c.game_id);
    EXPECT_EQ(text, HandEncode(ScoreBytes(static_cast<uint32_t>(c.score), c.name),
                               static_cast<int>(((c.game_id % 256) + 256) % 256)));
    RScoreEntry back;
    ASSERT_TRUE(Score_Decode(text, c.game_id, back));
    EXPECT_EQ(back.score, c.score);
    EXPECT_EQ(back.name, c.name);
    // Another game's id does not decode to the same entry.
    RScoreEntry other;
    if (Score_Decode(text, c.game_id + 1, other)) {
      EXPECT_FALSE(other.score == c.score && other.name == c.name);
    }
  }
}

TEST(ScoreEncoding, ScoreDecodeLowBytesAndBadText) {
  RScoreEntry e;
  // Characters above 255 keep only their low byte.
  ASSERT_TRUE(Score_Decode(Score_Encode(u"\u0141\u00e9", 5, 3), 3, e));
  EXPECT_EQ(e.name, u"\u0041\u00e9");
  // Exactly 32 letters: no name; 33 (odd) and letters past 'P' are not entries.
  ASSERT_TRUE(Score_Decode(Score_Encode(u"", 9, 0), 0, e));
  EXPECT_EQ(e.name, u"");
  EXPECT_EQ(e.score, 9);
  e = {u"keep", 77};
  EXPECT_FALSE(Score_Decode(Score_Encode(u"", 9, 0) + "A", 0, e));
  EXPECT_FALSE(Score_Decode("ZZ" + Score_Encode(u"", 9, 0).substr(2), 0, e));
  EXPECT_FALSE(Score_Decode("", 0, e));
  EXPECT_EQ(e.name, u"keep");
  // A long name survives whole.
  const std::u16string long_name(300, u'n');
  ASSERT_TRUE(Score_Decode(Score_Encode(long_name, 1, 0), 0, e));
  EXPECT_EQ(e.name, long_name);
}

class ScoreTableTest : public ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    Score_ResetSettings();
    saved_id_ = Game().game_id;
    Game().game_id = 4242;
  }
  void TearDown() override {
    Game().game_id = saved_id_;
    Score_ResetSettings();
    ScratchTest::TearDown();
  }
  static std::vector<int32_t> Scores() {
    std::vector<int32_t> out;
    for (int r = 1; r <= 10; ++r) out.push_back(Score_Table().Read(r).score);
    return out;
  }
  int32_t saved_id_ = 0;
};

TEST_F(ScoreTableTest, ScoreInsertionTiesGoBelow) {
  TScoreTable t = Score_Table();
  // Empty table: 0 does not beat the stored 0, 1 does.
  EXPECT_EQ(t.Insert(u"zero", 0), -1);
  EXPECT_FALSE(Settings_Store().Read(kUser, Score_Key(4242), "Rank1").has_value());
  EXPECT_EQ(t.Insert(u"one", 1), 1);
  t.Clear();
  for (int s = 100; s >= 10; s -= 10) t.Insert(FromAscii(("p" + std::to_string(s)).c_str()), s);
  EXPECT_EQ(Scores(), (std::vector<int32_t>{100, 90, 80, 70, 60, 50, 40, 30, 20, 10}));
  // Equal to rank 3: goes to rank 4, ranks 4..9 move down, rank 10 drops.
  EXPECT_EQ(t.Insert(u"tie", 80), 4);
  EXPECT_EQ(Scores(), (std::vector<int32_t>{100, 90, 80, 80, 70, 60, 50, 40, 30, 20}));
  EXPECT_EQ(t.Read(3).name, u"p80");
  EXPECT_EQ(t.Read(4).name, u"tie");
  EXPECT_EQ(t.Read(5).name, u"p70");
  EXPECT_EQ(t.Insert(u"low", 20), -1);  // equal to rank 10
  EXPECT_EQ(t.Insert(u"top", 1000), 1);
  EXPECT_EQ(t.Read(10).name, u"p30");
  // Ranks outside 1..10 read as nobody and 0.
  EXPECT_EQ(t.Read(0).name, u"<nobody>");
  EXPECT_EQ(t.Read(11).score, 0);
}

TEST_F(ScoreTableTest, ScoreBuiltinsOverTheStore) {
  // Storage: the key of the game id, values Rank1..Rank10, encoded text.
  CallBuiltin("highscore_add", {S(u"ab"), R(100)});
  EXPECT_EQ(Settings_Store().ReadString(kUser, "\\Software\\Vexlo\\Scores\\4242", "Rank1"),
            Score_Encode(u"ab", 100, 4242));
  EXPECT_EQ(CallBuiltin("highscore_value", {R(1)}).val, 100);
  EXPECT_EQ(CallBuiltin("highscore_name", {R(1)}).str, u"ab");
  EXPECT_EQ(CallBuiltin("highscore_name", {R(2)}).str, u"<nobody>");
  // A value that is not an entry reads as nobody.
  Settings_Store().WriteString(kUser, Score_Key(4242), "Rank2", "garbage");
  EXPECT_EQ(CallBuiltin("highscore_name", {R(2)}).str, u"<nobody>");
  // Clear after set_strings stores the new nobody string everywhere.
  CallBuiltin("highscore_set_strings", {S(u"Best"), S(u"-"), S(u"bye")});
  CallBuiltin("highscore_clear", {});
  for (int r = 1; r <= 10; ++r) {
    EXPECT_EQ(Settings_Store().ReadString(kUser, Score_Key(4242), Score_ValueName(r)),
              Score_Encode(u"-", 0, 4242));
  }
  // Font style: 0..3 apply, others leave it.
  CallBuiltin("highscore_set_font", {S(u"Arial"), R(14), R(3)});
  CallBuiltin("highscore_set_font", {S(u"Arial"), R(14), R(7)});
  EXPECT_EQ(Score_Settings().font_style, 3);
  EXPECT_EQ(Score_Settings().font_size, 14);
  CallBuiltin("highscore_set_colors", {R(1), R(2), R(3)});
  CallBuiltin("highscore_set_border", {R(0.4)});
  EXPECT_EQ(Score_Settings().window_colour, 1);
  EXPECT_FALSE(Score_Settings().border);
}

TEST_F(ScoreTableTest, ScoreAddCurrentAndShowHeadless) {
  CallBuiltin("highscore_clear", {});
  for (int r = 0; r < 10; ++r) CallBuiltin("highscore_add", {S(u"x"), R(50)});
  // Equal to rank 10: nothing asked, nothing changed.
  g_GameGlobals.score = 50;
  testing::internal::CaptureStderr();
  CallBuiltin("highscore_add_current", {});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  g_GameGlobals.score = 60;
  testing::internal::CaptureStderr();
  CallBuiltin("highscore_add_current", {});
  const std::string asked = testing::internal::GetCapturedStderr();
  EXPECT_NE(asked.find("You reached a place in the highscore table."), std::string::npos);
  EXPECT_EQ(CallBuiltin("highscore_name", {R(1)}).str, u"player");
  EXPECT_EQ(CallBuiltin("highscore_value", {R(1)}).val, 60);
  // No window to type in: the rank reached keeps an empty name.
  testing::internal::CaptureStderr();
  CallBuiltin("highscore_show", {R(55)});
  const std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("Top Ten Players"), std::string::npos);
  EXPECT_EQ(CallBuiltin("highscore_value", {R(2)}).val, 55);
  EXPECT_EQ(CallBuiltin("highscore_name", {R(2)}).str, u"");
  g_GameGlobals.score = 0;
}

PlatformEvent Ev(PlatformEvent::Kind kind, int key) {
  PlatformEvent e;
  e.kind = kind;
  e.key = key;
  return e;
}

std::vector<RHighscoreRow> Rows() {
  std::vector<RHighscoreRow> rows;
  for (int i = 0; i < 10; ++i) rows.push_back({u"name" + std::u16string(1, u'0' + i), 100 - i});
  return rows;
}

TEST(ScoreWindow, ScoreWindowTypingAndClosing) {
  THighscoreWindow w(RHighscoreLook{}, Rows(), 3);
  w.Layout(640, 480);
  for (char16_t c : std::u16string(u"Bo\u00e9")) w.HandleEvent(Ev(PlatformEvent::TextChar, c));
  w.HandleEvent(Ev(PlatformEvent::TextChar, 7));  // below 32: ignored
  EXPECT_EQ(w.RowName(2), "Bo\xC3\xA9|");
  w.HandleEvent(Ev(PlatformEvent::KeyDown, 8));
  EXPECT_EQ(w.typed(), u"Bo");
  EXPECT_EQ(w.RowName(0), "name0");
  EXPECT_FALSE(w.Closed());
  w.HandleEvent(Ev(PlatformEvent::KeyDown, 13));
  EXPECT_TRUE(w.Closed());
  w.HandleEvent(Ev(PlatformEvent::TextChar, 'x'));
  EXPECT_EQ(w.typed(), u"Bo");
  // Without a rank reached nothing is typed; Escape closes.
  THighscoreWindow plain(RHighscoreLook{}, Rows(), -1);
  plain.HandleEvent(Ev(PlatformEvent::TextChar, 'a'));
  EXPECT_EQ(plain.typed(), u"");
  plain.HandleEvent(Ev(PlatformEvent::KeyDown, 27));
  EXPECT_TRUE(plain.Closed());
}

TEST(ScoreWindow, ScoreWindowPixels) {
  RHighscoreLook look;
  look.font = "DejaVu Sans";
  THighscoreWindow w(look, Rows(), 2);
  TBitmap32 frame(640, 480);
  w.Draw(frame);
  const RHighscoreLayout& l = w.layout();
  auto at = [&](int x, int y) { return frame.s_data[static_cast<size_t>(y) * frame.s_w + x]; };
  EXPECT_EQ(at(0, 0), 0u);  // outside: the game shows through
  EXPECT_EQ(at(l.caption_bar.x + l.caption_bar.w / 2, l.caption_bar.y + 1), kDialogCaptionBar);
  EXPECT_EQ(at(l.inside.x + 2, l.inside.y + 2), Color32(0xF0, 0xFB, 0xFF));  // window colour
  // Text in each colour: the new rank red, the others black.
  auto has = [&](const TDialogRect& r, auto pred) {
    for (int y = r.y; y < r.y + r.h; ++y)
      for (int x = r.x; x < r.x + r.w; ++x)
        if (pred(at(x, y))) return true;
    return false;
  };
  auto reddish = [](TColor32 c) { return Color32Red(c) > 200 && Color32Green(c) < 120 && Color32Blue(c) < 120; };
  auto dark = [](TColor32 c) { return Color32Red(c) < 60 && Color32Green(c) < 60 && Color32Blue(c) < 60; };
  EXPECT_TRUE(has(l.scores[1], reddish));
  EXPECT_FALSE(has(l.scores[1], dark));
  EXPECT_TRUE(has(l.scores[0], dark));
  EXPECT_FALSE(has(l.scores[0], reddish));
  // Without a border there is no caption bar.
  look.border = false;
  THighscoreWindow bare(look, Rows(), -1);
  bare.Draw(frame);
  EXPECT_TRUE(bare.layout().caption_bar.Empty());
  EXPECT_EQ(at(bare.layout().window.x + 2, bare.layout().window.y + 2), Color32(0xF0, 0xFB, 0xFF));
}

// The window inside the modal loop of the game window: the player types a
// name and presses Enter; the name is stored at the rank reached.
class ScoreModalTest : public ScoreTableTest {
 protected:
  void SetUp() override {
    ScoreTableTest::SetUp();
    opened_ = !Platform_Window().MainIsOpen();
    if (opened_) Platform_Window().OpenMain(640, 480, "test");
    PlatformEvent e;
    while (Platform_Window().NextEvent(e)) {
    }
    presented = 0;
    Dialog_PresentHook = [](const TBitmap32&) {
      if (++presented != 1) return;
      for (char16_t c : std::u16string(u"Zed")) Platform_Window().PostEvent(Ev(PlatformEvent::TextChar, c));
      Platform_Window().PostEvent(Ev(PlatformEvent::KeyDown, 13));
    };
    Dialog_ClientSizeHook = [](int& w, int& h) {
      w = 640;
      h = 480;
      return true;
    };
  }
  void TearDown() override {
    Dialog_PresentHook = nullptr;
    Dialog_ClientSizeHook = nullptr;
    if (opened_) Platform_Window().CloseMain();
    ScoreTableTest::TearDown();
  }
  static int presented;
  bool opened_ = false;
};
int ScoreModalTest::presented = 0;

TEST_F(ScoreModalTest, ScoreShowStoresTypedName) {
  if (Dialog_Headless()) GTEST_SKIP() << "headless: no modal loop";
  CallBuiltin("highscore_add", {S(u"first"), R(900)});
  CallBuiltin("highscore_show", {R(500)});
  EXPECT_GE(presented, 1);
  EXPECT_EQ(CallBuiltin("highscore_name", {R(2)}).str, u"Zed");
  EXPECT_EQ(CallBuiltin("highscore_value", {R(2)}).val, 500);
  EXPECT_EQ(CallBuiltin("highscore_name", {R(1)}).str, u"first");
}

}  // namespace
