// test_dialog.cpp: the runner's own dialogs: layout and hit testing, keys
// and accelerators, scrolling, the rendered look, the modal loop with a fake
// present hook, the error window's list and answers, the game information
// window and its rich text, and the dialog functions of game code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code/code_error.h"
#include "code/code_error_state.h"
#include "platform/window.h"
#include "dialogs/dialog_draw.h"
#include "dialogs/dialog_error.h"
#include "dialogs/dialog_font.h"
#include "dialogs/dialog_gameinfo.h"
#include "dialogs/dialog_modal.h"
#include "dialogs/dialogs_builtins.h"
#include "dialogs/dialog_rtf.h"
#include "runner/game_data.h"
#include "runner/game_information.h"
#include "test_function_util.h"

namespace {

constexpr int kClientW = 640, kClientH = 480;

PlatformEvent Key(int key, PlatformEvent::Kind kind = PlatformEvent::KeyDown) {
  PlatformEvent e;
  e.kind = kind;
  e.key = key;
  return e;
}

PlatformEvent Mouse(PlatformEvent::Kind kind, int x, int y) {
  PlatformEvent e;
  e.kind = kind;
  e.button = 1;
  e.x = x;
  e.y = y;
  return e;
}

PlatformEvent Wheel(int wheel) {
  PlatformEvent e;
  e.kind = PlatformEvent::MouseWheel;
  e.wheel = wheel;
  return e;
}

void Click(TDialog& d, const TDialogRect& r) {
  d.HandleEvent(Mouse(PlatformEvent::MouseDown, r.x + r.w / 2, r.y + r.h / 2));
  d.HandleEvent(Mouse(PlatformEvent::MouseUp, r.x + r.w / 2, r.y + r.h / 2));
}

TDialog ErrorDialog(bool fatal, int extra_lines = 0) {
  static TErrorForm form;
  form.lines.clear();
  std::string text = "ERROR in\r\naction number 1";
  for (int i = 0; i < extra_lines; ++i) text += "\r\nline " + std::to_string(i);
  form.Append(text);
  TDialog d = form.MakeDialog(fatal);
  d.Layout(kClientW, kClientH);
  return d;
}

TEST(DialogText, DialogAcceleratorsAndCaptions) {
  struct Case {
    const char* caption;
    char16_t accelerator;
    const char* shown;
    int at;
  } cases[] = {
      {"&Ignore", u'I', "Ignore", 0}, {"C&lear", u'L', "Clear", 1}, {"&copy", u'C', "copy", 0},
      {"a&&b", 0, "a&b", -1},         {"&&&x", u'X', "&x", 1},      {"OK", 0, "OK", -1},
  };
  for (const Case& c : cases) {
    int at = -2;
    EXPECT_EQ(Dialog_Accelerator(c.caption), c.accelerator) << c.caption;
    EXPECT_EQ(Dialog_CaptionText(c.caption, &at), c.shown) << c.caption;
    EXPECT_EQ(at, c.at) << c.caption;
  }
}

TEST(DialogText, DialogSplitAndWrap) {
  EXPECT_EQ(Dialog_SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(Dialog_SplitLines(""), std::vector<std::string>{""});
  const TDialogFont& font = Dialog_UiFont();
  const int width = font.TextWidth("word word word");
  std::string paragraph;
  for (int i = 0; i < 20; ++i) paragraph += "word ";
  const std::string giant(200, 'W');
  auto lines = Dialog_Wrap({paragraph, "", giant}, font, width);
  ASSERT_GT(lines.size(), 8u);
  size_t empty_at = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(font.TextWidth(lines[i]), width) << lines[i];
    if (lines[i].empty() && empty_at == 0) empty_at = i;
  }
  EXPECT_GT(empty_at, 0u) << "the empty paragraph stays an empty line";
  std::string rejoined;
  for (size_t i = empty_at + 1; i < lines.size(); ++i) rejoined += lines[i];
  EXPECT_EQ(rejoined, giant) << "a word wider than the line breaks between characters";
}

TEST(DialogText, DialogUtf8ToCodePage) {
  EXPECT_EQ(Dialog_Codes("a\xC3\xA9\xE2\x82\xAC\xE4\xB8\x80"), std::u16string(u"a\u00E9\u0080?"));
  EXPECT_EQ(Dialog_Codes("\xFF"), std::u16string(u"\u00FF")) << "an invalid byte stands for itself";
}

TEST(DialogLayout, DialogErrorButtonsAndHitBoxes) {
  TDialog fatal = ErrorDialog(true);
  const TDialogLayout& l = fatal.layout();
  ASSERT_EQ(l.buttons.size(), 4u);
  EXPECT_TRUE(l.buttons[0].Empty()) << "a fatal error offers no Ignore";
  for (size_t i = 1; i < 4; ++i) {
    EXPECT_FALSE(l.buttons[i].Empty());
    EXPECT_TRUE(l.buttons[i].x >= l.dialog.x && l.buttons[i].x + l.buttons[i].w <= l.dialog.x + l.dialog.w);
    if (i > 1) {
      EXPECT_GE(l.buttons[i].x, l.buttons[i - 1].x + l.buttons[i - 1].w);
    }
  }
  EXPECT_EQ(l.dialog.x, (kClientW - l.dialog.w) / 2) << "centred";
  EXPECT_EQ(l.dialog.y, (kClientH - l.dialog.h) / 2);

  TDialog d = ErrorDialog(false);
  Click(d, d.layout().buttons[0]);
  EXPECT_TRUE(d.closed);
  EXPECT_EQ(d.answer, kErrorIgnore);

  // Pressed on one button, released elsewhere: nothing happens.
  TDialog moved = ErrorDialog(false);
  const TDialogRect& ignore = moved.layout().buttons[0];
  moved.HandleEvent(Mouse(PlatformEvent::MouseDown, ignore.x + 2, ignore.y + 2));
  moved.HandleEvent(Mouse(PlatformEvent::MouseUp, ignore.x - 20, ignore.y + 2));
  EXPECT_FALSE(moved.closed);

  TDialog boxed = ErrorDialog(false);
  Click(boxed, boxed.layout().close_box);
  EXPECT_TRUE(boxed.closed);
  EXPECT_EQ(boxed.answer, kErrorAbort) << "the close box counts as abort";
}

TEST(DialogLayout, DialogFitsSmallClient) {
  TDialog d = ErrorDialog(false, 50);
  d.Layout(320, 200);
  const TDialogLayout& l = d.layout();
  EXPECT_LE(l.dialog.w, 320);
  EXPECT_LE(l.dialog.h, 200);
  EXPECT_GE(l.dialog.x, 0);
  EXPECT_GE(l.dialog.y, 0);
  for (const TDialogRect& b : l.buttons)
    if (!b.Empty()) {
      EXPECT_LE(b.y + b.h, l.dialog.y + l.dialog.h);
    }
}

TEST(DialogInput, DialogKeysGiveAnswers) {
  struct Case {
    const char* name;
    bool fatal;
    std::vector<PlatformEvent> events;
    bool closed;
    int answer;
  } cases[] = {
      {"Enter takes the default Abort", false, {Key(13)}, true, kErrorAbort},
      {"Esc cancels as Abort", false, {Key(27)}, true, kErrorAbort},
      {"close button aborts", false, {PlatformEvent()}, true, kErrorAbort},
      {"Alt+I ignores", false, {Key(18), Key('I')}, true, kErrorIgnore},
      {"a plain letter works without an edit field", false, {Key('I')}, true, kErrorIgnore},
      {"no Ignore when fatal", true, {Key(18), Key('I')}, false, 0},
      {"Alt released: plain letter still works", false, {Key(18), Key(18, PlatformEvent::KeyUp), Key('A')}, true, kErrorAbort},
      {"Tab moves the focus, Enter presses it", false, {Key(9), Key(9), Key(9), Key(13)}, true, kErrorIgnore},
      {"Space presses the focused button", false, {Key(32)}, true, kErrorAbort},
      {"Clear keeps the window open", false, {Key('L')}, false, 0},
  };
  for (const Case& c : cases) {
    TDialog d = ErrorDialog(c.fatal);
    for (const PlatformEvent& e : c.events) d.HandleEvent(e);
    EXPECT_EQ(d.closed, c.closed) << c.name;
    if (c.closed) {
      EXPECT_EQ(d.answer, c.answer) << c.name;
    }
  }
}

TEST(DialogInput, DialogEditField) {
  TDialog d;
  d.lines = {"Name?"};
  d.edit = true;
  d.edit_text = u"Bo";
  d.buttons = {{"OK", 1}, {"Cancel", 0}};
  d.default_button = 0;
  d.Layout(kClientW, kClientH);
  EXPECT_FALSE(d.layout().edit.Empty());
  EXPECT_GT(d.layout().edit.y, d.layout().text_area.y);
  d.HandleEvent(Key(8));
  PlatformEvent typed = Key(u'x', PlatformEvent::TextChar);
  d.HandleEvent(typed);
  typed.key = 0x00E9;
  d.HandleEvent(typed);
  d.HandleEvent(Key('C'));  // a letter key is typing here, not an accelerator
  EXPECT_FALSE(d.closed);
  d.HandleEvent(Key(13));
  EXPECT_TRUE(d.closed);
  EXPECT_EQ(d.answer, 1);
  EXPECT_EQ(d.edit_text, u"Bx\u00E9");
}

TEST(DialogInput, DialogScrolling) {
  TDialog d = ErrorDialog(false, 200);
  const TDialogLayout& l = d.layout();
  const int total = static_cast<int>(l.lines.size());
  ASSERT_GT(total, l.visible_lines);
  EXPECT_EQ(d.top_line, total - l.visible_lines) << "a new error shows at the end";
  EXPECT_FALSE(l.scroll_bar.Empty());
  EXPECT_EQ(l.thumb.y + l.thumb.h, l.scroll_down.y) << "thumb at the bottom";

  d.HandleEvent(Wheel(1));
  EXPECT_EQ(d.top_line, total - l.visible_lines - 3);
  d.HandleEvent(Key(36));  // Home
  EXPECT_EQ(d.top_line, 0);
  EXPECT_EQ(d.layout().thumb.y, d.layout().scroll_up.y + d.layout().scroll_up.h);
  Click(d, d.layout().scroll_down);
  EXPECT_EQ(d.top_line, 1);
  d.HandleEvent(Key(34));  // Page Down
  EXPECT_EQ(d.top_line, l.visible_lines);
  d.HandleEvent(Key(35));  // End
  EXPECT_EQ(d.top_line, d.MaxTopLine());
  d.HandleEvent(Wheel(-5));
  EXPECT_EQ(d.top_line, d.MaxTopLine()) << "never past the end";

  // Dragging the thumb to the top of the track scrolls to the start.
  const TDialogRect thumb = d.layout().thumb;
  d.HandleEvent(Mouse(PlatformEvent::MouseDown, thumb.x + 4, thumb.y + 2));
  d.HandleEvent(Mouse(PlatformEvent::MouseMove, thumb.x + 4, 0));
  d.HandleEvent(Mouse(PlatformEvent::MouseUp, thumb.x + 4, 0));
  EXPECT_EQ(d.top_line, 0);
  EXPECT_FALSE(d.closed);

  TDialog short_list = ErrorDialog(false);
  EXPECT_TRUE(short_list.layout().scroll_bar.Empty()) << "no scroll bar when everything fits";
}

TEST(DialogDraw, DialogRenderedLook) {
  TDialog d = ErrorDialog(false, 3);
  TBitmap32 frame(kClientW, kClientH);
  Dialog_Draw(d, frame);
  const TDialogLayout& l = d.layout();
  EXPECT_EQ(frame.GetPixel(0, 0), 0u) << "outside the dialog stays transparent";
  EXPECT_EQ(frame.GetPixel(l.dialog.x, l.dialog.y), kDialogBorder);
  // The default button (Abort) has the two-pixel focus frame, the others one
  // pixel of the plain border.
  const TDialogRect& abort = l.buttons[1];
  for (int t = 0; t < 2; ++t) {
    EXPECT_EQ(frame.GetPixel(abort.x + t, abort.y + abort.h / 2), kDialogFocusBorder);
    EXPECT_EQ(frame.GetPixel(abort.x + abort.w - 1 - t, abort.y + abort.h / 2), kDialogFocusBorder);
  }
  const TDialogRect& ignore = l.buttons[0];
  EXPECT_EQ(frame.GetPixel(ignore.x, ignore.y + ignore.h / 2), kDialogButtonBorder);
  EXPECT_EQ(frame.GetPixel(ignore.x + 1, ignore.y + ignore.h / 2), kDialogButtonFace);

  auto count_not = [&](const TDialogRect& r, TColor32 background) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
      for (int x = r.x; x < r.x + r.w; ++x) n += frame.GetPixel(x, y) != background;
    return n;
  };
  EXPECT_GT(count_not(l.caption_bar, kDialogCaptionBar), 20) << "caption text and close box";
  TDialogRect inside{l.text_area.x + 2, l.text_area.y + 2, l.text_area.w - 4, l.text_area.h - 4};
  EXPECT_GT(count_not(inside, kDialogListBack), 50) << "the list shows its lines";

  // After Clear the list is empty: only the background inside the frame.
  d.HandleEvent(Key('L'));
  Dialog_Draw(d, frame);
  EXPECT_EQ(count_not(inside, kDialogListBack), 0);
}

TEST(DialogFont, DialogFacesLoad) {
  EXPECT_TRUE(Dialog_UiFont().HasFace());
  ASSERT_TRUE(Dialog_MonoFont().HasFace());
  EXPECT_EQ(Dialog_MonoFont().TextWidth("iiii"), Dialog_MonoFont().TextWidth("WWWW"))
      << "the list face is monospace";
  EXPECT_LT(Dialog_UiFont().TextWidth("iiii"), Dialog_UiFont().TextWidth("WWWW"));
}

// The modal loop inside a window, driven by queued events and a fake
// renderer.
class DialogModalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    opened_window = !Platform_Window().MainIsOpen();
    if (opened_window) Platform_Window().OpenMain(kClientW, kClientH, "test");
    PlatformEvent e;
    while (Platform_Window().NextEvent(e)) {
    }
    presented = 0;
    script.clear();
    // The player acts once the dialog shows.
    Dialog_PresentHook = [](const TBitmap32& frame) {
      if (++presented == 1)
        for (const PlatformEvent& e : script) Platform_Window().PostEvent(e);
      last_frame = frame;
    };
    Dialog_ClientSizeHook = [](int& w, int& h) {
      w = kClientW;
      h = kClientH;
      return true;
    };
  }
  void TearDown() override {
    Dialog_PresentHook = nullptr;
    Dialog_ClientSizeHook = nullptr;
    Code_ErrorWindowHook = nullptr;
    Code_AbortHook = nullptr;
    PlatformEvent e;
    while (Platform_Window().NextEvent(e)) {
    }
    if (opened_window) Platform_Window().CloseMain();
  }
  static void Post(const PlatformEvent& e) { script.push_back(e); }
  static int presented;
  static std::vector<PlatformEvent> script;
  bool opened_window = false;
  static TBitmap32 last_frame;
};
int DialogModalTest::presented = 0;
std::vector<PlatformEvent> DialogModalTest::script;
TBitmap32 DialogModalTest::last_frame;

TEST_F(DialogModalTest, DialogModalLoopAnswers) {
  TDialog d;
  d.caption = "Question";
  d.lines = {"Go on?"};
  d.buttons = {{"&Yes", 1}, {"&No", 0}};
  d.default_button = 0;
  Platform_Window().PostEvent(Key(13));  // queued before the dialog: meant for the game
  Post(Key(18));
  Post(Key('N'));
  EXPECT_EQ(Dialog_Run(d), 0);
  EXPECT_EQ(presented, 1);

  // A click on a button, in window coordinates.
  TDialog again = d;
  again.closed = false;
  again.Layout(kClientW, kClientH);
  const TDialogRect yes = again.layout().buttons[0];
  presented = 0;
  script.clear();
  Post(Mouse(PlatformEvent::MouseDown, yes.x + 3, yes.y + 3));
  Post(Mouse(PlatformEvent::MouseUp, yes.x + 3, yes.y + 3));
  EXPECT_EQ(Dialog_Run(again), 1);
}

TEST_F(DialogModalTest, DialogErrorWindowThroughErrorRoutine) {
  static int aborts = 0;
  aborts = 0;
  GameSettings saved = Game().settings;
  Game().settings.show_errors = true;
  Game().settings.log_errors = false;
  Game().settings.abort_on_errors = false;
  Error_State() = RErrorReportState();
  TErrorForm& form = ErrorForm();
  form.lines.clear();
  Code_ErrorWindowHook = ErrorForm_Show;
  Code_AbortHook = [] { ++aborts; };

  Post(Key(18));
  Post(Key('I'));
  Error_Show("first\r\nline two", false);
  EXPECT_EQ(aborts, 0) << "Ignore lets the game go on";
  EXPECT_GT(presented, 0);
  EXPECT_EQ(last_frame.s_w, kClientW);
  EXPECT_EQ(form.lines, (std::vector<std::string>{
                            "", "___________________________________________", "first", "line two"}));

  presented = 0;
  script = {Key(13)};
  Error_Show("second", false);
  EXPECT_EQ(aborts, 1) << "Abort (Enter) ends the game";
  EXPECT_EQ(form.lines.size(), 7u) << "the list keeps the earlier error";
  EXPECT_EQ(form.lines.back(), "second");

  Game().settings = saved;
  Error_State() = RErrorReportState();
}

TEST_F(DialogModalTest, DialogErrorClearThenClose) {
  TErrorForm form;
  form.Append("old");
  Post(Key('L'));  // Clear: the window stays
  Post(Key(27));   // Esc: closed as abort
  TDialog d = form.MakeDialog(false);
  EXPECT_EQ(Dialog_Run(d), kErrorAbort);
  EXPECT_TRUE(form.lines.empty());
  form.Append("new");
  EXPECT_EQ(form.lines.size(), 3u);
}

TEST_F(DialogModalTest, DialogFunctionsOfGameCode) {
  Dialogs_RegisterBuiltins();
  // Types text, then presses the closing key (13 Enter, 27 Esc).
  auto typed = [](const char16_t* text, int closing) {
    std::vector<PlatformEvent> events;
    for (const char16_t* c = text; *c; ++c) events.push_back(Key(*c, PlatformEvent::TextChar));
    events.push_back(Key(closing));
    return events;
  };
  struct Case {
    const char* name;
    const char* function;
    std::vector<RValue> args;
    std::vector<PlatformEvent> events;
    RValue expected;
  } cases[] = {
      {"question: No", "show_question", {S(u"Sure?")}, {Key('N')}, R(0)},
      {"question: Enter is Yes", "show_question", {S(u"Sure?")}, {Key(13)}, R(1)},
      {"question: Esc is No", "show_question", {S(u"Sure?")}, {Key(27)}, R(0)},
      {"string: typed", "get_string", {S(u"Name?"), S(u"")}, typed(u"Zed", 13), S(u"Zed")},
      {"string: Esc keeps the default", "get_string", {S(u"Name?"), S(u"Bob")}, typed(u"x", 27), S(u"Bob")},
      {"integer: typed", "get_integer", {S(u"N?"), R(7)}, typed(u"2.5", 13), R(72.5)},
      {"integer: replaced", "get_integer", {S(u"N?"), R(7)}, {Key(8), Key(u'3', PlatformEvent::TextChar), Key(13)}, R(3)},
      {"integer: not a number", "get_integer", {S(u"N?"), R(7)}, typed(u"x", 13), R(7)},
  };
  for (Case& c : cases) {
    presented = 0;
    script = c.events;
    RValue got = CallBuiltin(c.function, c.args);
    EXPECT_EQ(got.kind, c.expected.kind) << c.name;
    EXPECT_EQ(got.val, c.expected.val) << c.name;
    EXPECT_EQ(got.str, c.expected.str) << c.name;
  }
  // show_message: any way of closing ends it; the text breaks at '#'.
  presented = 0;
  script = {Key(27)};
  CallBuiltin("show_message", {S(u"a#b\\#c")});
  EXPECT_EQ(presented, 1);
}

TEST(DialogRtf, DialogRtfPlainText) {
  struct Case {
    const char* rtf;
    const char* text;
  } cases[] = {
      {"plain text stays", "plain text stays"},
      {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"
       "\\f0\\fs20 Hello\\par World\\par\n}",
       "Hello\nWorld"},
      {"{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
      {"{\\rtf1 caf\\'e9\\tab x}", "caf\xC3\xA9\tx"},
      {"{\\rtf1\\uc1 \\u8364?5 \\u-3?}", "\xE2\x82\xAC" "5 \xEF\xBF\xBD"},
      {"{\\rtf1 {\\*\\generator Writer;}shown{\\b bold}}", "shownbold"},
      {"{\\rtf1 line\\line next}", "line\nnext"},
      {"{\\rtf1 unclosed {group", "unclosed group"},
  };
  for (const Case& c : cases) EXPECT_EQ(Rtf_PlainText(c.rtf), c.text) << c.rtf;
}

TEST(DialogGameInfo, DialogGameInfoWindow) {
  CGameInformation info;
  info.background_color = 0x0000FF;  // red
  info.width = 300;
  info.height = 200;
  info.left = 10;
  info.top = 20;
  info.text = "{\\rtf1 Help\\par\\tab Keys}";
  TDialog d = GameInfo_MakeDialog(info);
  EXPECT_EQ(d.caption, "Game Information");
  EXPECT_EQ(d.lines, (std::vector<std::string>{"Help", "    Keys"}));
  EXPECT_EQ(d.text_background, 0xFFFF0000u);
  EXPECT_TRUE(d.buttons.empty());
  d.Layout(kClientW, kClientH);
  EXPECT_EQ(d.layout().dialog.x, 10);
  EXPECT_EQ(d.layout().dialog.y, 20);
  EXPECT_EQ(d.layout().dialog.w, 300);
  d.HandleEvent(Key(27));
  EXPECT_TRUE(d.closed);

  info.caption = u"My Game";
  EXPECT_EQ(GameInfo_MakeDialog(info).caption, "My Game");
}

}  // namespace
