// test_dialog_message.cpp: show_message_ext and the message_* look inside
// the modal loop with scripted input, and the look settings on the drawn
// dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/dialog_draw.h"
#include "dialogs/dialog_modal.h"
#include "platform/window.h"
#include "world/input_state.h"
#include "world/run_main.h"
#include "test_function_util.h"

namespace {

constexpr int kW = 640, kH = 480;

PlatformEvent Ev(PlatformEvent::Kind kind, int key) {
  PlatformEvent e;
  e.kind = kind;
  e.key = key;
  return e;
}

class DialogMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    opened_ = !Platform_Window().MainIsOpen();
    if (opened_) Platform_Window().OpenMain(kW, kH, "test");
    PlatformEvent e;
    while (Platform_Window().NextEvent(e)) {
    }
    presented = 0;
    script.clear();
    Dialog_PresentHook = [](const TBitmap32& frame) {
      if (++presented == 1)
        for (const PlatformEvent& e : script) Platform_Window().PostEvent(e);
      last_frame = frame;
    };
    Dialog_ClientSizeHook = [](int& w, int& h) {
      w = kW;
      h = kH;
      return true;
    };
  }
  void TearDown() override {
    Dialog_PresentHook = nullptr;
    Dialog_ClientSizeHook = nullptr;
    CallBuiltin("message_caption", {R(1), S(u"")});
    CallBuiltin("message_alpha", {R(1)});
    CallBuiltin("message_position", {R(-1), R(-1)});
    CallBuiltin("message_input_color", {R(0xFFFFFF)});
    if (opened_) Platform_Window().CloseMain();
  }
  static int presented;
  static std::vector<PlatformEvent> script;
  static TBitmap32 last_frame;
  bool opened_ = false;
};
int DialogMessageTest::presented = 0;
std::vector<PlatformEvent> DialogMessageTest::script;
TBitmap32 DialogMessageTest::last_frame;

TEST_F(DialogMessageTest, DialogMessageExtAnswers) {
  if (Dialog_Headless()) GTEST_SKIP();
  struct Case {
    std::vector<PlatformEvent> keys;
    const char16_t *b1, *b2, *b3;
    double answer;
  } cases[] = {
      {{Ev(PlatformEvent::KeyDown, 13)}, u"One", u"Two", u"Three", 1},
      {{Ev(PlatformEvent::KeyDown, 9), Ev(PlatformEvent::KeyDown, 13)}, u"One", u"Two", u"Three", 2},
      // An empty text leaves its button out; numbers stay those of the texts.
      {{Ev(PlatformEvent::KeyDown, 9), Ev(PlatformEvent::KeyDown, 13)}, u"One", u"", u"Three", 3},
      {{Ev(PlatformEvent::KeyDown, 27)}, u"One", u"Two", u"", 0},
      {{Ev(PlatformEvent::KeyDown, 13)}, u"", u"", u"", 0},
  };
  for (const Case& c : cases) {
    script = c.keys;
    presented = 0;
    EXPECT_EQ(CallBuiltin("show_message_ext", {S(u"Pick"), S(c.b1), S(c.b2), S(c.b3)}).val, c.answer);
  }
}

TEST_F(DialogMessageTest, DialogMessageLook) {
  if (Dialog_Headless()) GTEST_SKIP();
  // No caption bar, placed at (20, 30), the edit field green, half opaque.
  CallBuiltin("message_caption", {R(0), S(u"")});
  CallBuiltin("message_position", {R(20), R(30)});
  CallBuiltin("message_input_color", {R(0x00FF00)});
  CallBuiltin("message_alpha", {R(0.5)});
  script = {Ev(PlatformEvent::KeyDown, 27)};
  EXPECT_EQ(CallBuiltin("get_string", {S(u"Name?"), S(u"")}).str, u"");
  ASSERT_EQ(last_frame.s_w, kW);
  auto at = [&](int x, int y) { return last_frame.s_data[static_cast<size_t>(y) * kW + x]; };
  EXPECT_EQ(Color32Alpha(at(19, 31)), 0u);
  EXPECT_EQ(Color32Alpha(at(25, 35)), 128u);
  // Just below the top frame: the dialog face, not the caption bar.
  EXPECT_EQ(at(25, 32) & 0x00FFFFFFu, kDialogFace & 0x00FFFFFFu);
  bool green = false;
  for (TColor32 c : last_frame.s_data) green = green || (c & 0x00FFFFFFu) == 0x0000FF00u;
  EXPECT_TRUE(green);
}

TEST(DialogMessageHeadless, DialogMessageExtDefault) {
  if (!Dialog_Headless() && Platform_Window().MainIsOpen()) GTEST_SKIP();
  testing::internal::CaptureStderr();
  EXPECT_EQ(CallBuiltin("show_message_ext", {S(u"Which#one"), S(u""), S(u"B"), S(u"C")}).val, 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Which\none\n");
}

}  // namespace

namespace {

// keyboard_wait and mouse_wait return once the window's messages bring a
// key or a button; io_handle lets queued input arrive.
class DialogWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    opened_ = !Platform_Window().MainIsOpen();
    if (opened_) Platform_Window().OpenMain(kW, kH, "test");
    RunHooks hooks;
    hooks.event = [](const PlatformEvent& e) { Input_HandleWindowEvent(e); };
    Run_SetHooks(hooks);
    Input_Clear();
  }
  void TearDown() override {
    Input_Clear();
    if (opened_) Platform_Window().CloseMain();
  }
  bool opened_ = false;
};

TEST_F(DialogWaitTest, DialogWaitsEndOnInput) {
  if (Dialog_Headless()) GTEST_SKIP();
  Input().last_key = 70;
  PlatformEvent key = Ev(PlatformEvent::KeyDown, 65);
  Platform_Window().PostEvent(key);
  CallBuiltin("keyboard_wait", {});
  EXPECT_EQ(Input().last_key, 65);
  PlatformEvent click;
  click.kind = PlatformEvent::MouseDown;
  click.button = 2;
  Platform_Window().PostEvent(click);
  CallBuiltin("mouse_wait", {});
  EXPECT_EQ(Input().last_button, 2);
  Platform_Window().PostEvent(Ev(PlatformEvent::KeyDown, 66));
  CallBuiltin("io_handle", {});
  EXPECT_EQ(Input().last_key, 66);
  EXPECT_TRUE(Input().key_held[66]);
  // No real key is down on the host.
  EXPECT_EQ(CallBuiltin("keyboard_check_direct", {R(66)}).val, 0);
  const double numlock = CallBuiltin("keyboard_get_numlock", {}).val;
  CallBuiltin("keyboard_set_numlock", {R(numlock < 0.5 ? 1 : 0)});
  EXPECT_NE(CallBuiltin("keyboard_get_numlock", {}).val, numlock);
  CallBuiltin("keyboard_set_numlock", {R(numlock)});
  EXPECT_EQ(CallBuiltin("keyboard_get_numlock", {}).val, numlock);
}

}  // namespace
