// Input state: the window handlers, the key map, the typed text, the check
// functions and the close button.
#include "platform/window.h"
#include "world_test_support.h"

namespace {

class WorldInputTest : public worldtest::WorldTest {
 protected:
  double Call(const std::string& name, std::vector<double> values = {}) {
    RValue result;
    std::vector<RValue> args;
    for (double v : values) args.push_back(RValue::Real(v));
    args.resize(16);
    Function_Get(Function_Find(name)).routine(result, nullptr, nullptr, static_cast<int>(values.size()),
                                             args.data());
    return result.val;
  }
};

TEST_F(WorldInputTest, KeysHeldPressedReleasedAndCurrentKey) {
  Input_KeyDown(65);
  Input_KeyDown(66);
  Input_KeyUp(66);
  // B released: the current key is 0 although A is still held.
  EXPECT_EQ(Input().current_key, 0);
  EXPECT_EQ(Input().last_key, 66);
  EXPECT_EQ(Call("keyboard_check", {65}), 1);
  EXPECT_EQ(Call("keyboard_check", {66}), 0);
  EXPECT_EQ(Call("keyboard_check_pressed", {66}), 1);
  EXPECT_EQ(Call("keyboard_check_released", {66}), 1);
  EXPECT_EQ(Call("keyboard_check", {1}), 1);
  EXPECT_EQ(Call("keyboard_check", {0}), 0);
  EXPECT_EQ(Call("keyboard_check", {300}), 0);
  Input_EndStep();
  EXPECT_EQ(Call("keyboard_check_pressed", {66}), 0);
  EXPECT_EQ(Call("keyboard_check", {65}), 1);
  Call("keyboard_clear", {65});
  EXPECT_EQ(Call("keyboard_check", {0}), 1);
}

TEST_F(WorldInputTest, KeyMapTranslatesIncomingKeys) {
  Call("keyboard_set_map", {65, 66});
  EXPECT_EQ(Call("keyboard_get_map", {65}), 66);
  EXPECT_EQ(Call("keyboard_get_map", {999}), 999);
  Input_KeyDown(65);
  EXPECT_EQ(Call("keyboard_check", {66}), 1);
  EXPECT_EQ(Call("keyboard_check", {65}), 0);
  Call("keyboard_unset_map");
  EXPECT_EQ(Call("keyboard_get_map", {65}), 65);
}

TEST_F(WorldInputTest, TypedTextKeepsAtMost1024BeforeAdding) {
  Input_Char(8);
  EXPECT_TRUE(Input().typed.empty());
  Input().typed = VString(1024, u'a');
  Input_Char(u'b');
  EXPECT_EQ(Input().typed.size(), 1025u);
  Input_Char(u'c');
  EXPECT_EQ(Input().typed.size(), 1025u);
  EXPECT_EQ(Input().typed.substr(1022), u"abc");
  Input_Char(8);
  EXPECT_EQ(Input().typed.back(), u'b');
  Input_Char(7);  // control characters are not appended
  EXPECT_EQ(Input().last_char, 7);
  EXPECT_EQ(Input().typed.back(), u'b');
}

TEST_F(WorldInputTest, MouseButtonsAndWheel) {
  EXPECT_EQ(Call("mouse_check_button", {0}), 1);
  Input_ButtonDown(2);
  EXPECT_EQ(Call("mouse_check_button", {-1}), 1);
  EXPECT_EQ(Call("mouse_check_button", {2}), 1);
  EXPECT_EQ(Call("mouse_check_button_pressed", {2}), 1);
  EXPECT_EQ(Input().last_button, 2);
  Input_ButtonUp(2);
  EXPECT_EQ(Call("mouse_check_button_released", {2}), 1);
  EXPECT_EQ(Input().current_button, 0);
  Input_Wheel(-1);
  EXPECT_EQ(Call("mouse_wheel_down"), 1);
  EXPECT_EQ(Call("mouse_wheel_up"), 0);
  Input_EndStep();
  EXPECT_EQ(Call("mouse_wheel_down"), 0);
}

TEST_F(WorldInputTest, CloseButtonActsAsEscapeOrRaisesTheEvent) {
  int obj = AddObject("obj");
  On(obj, ev_other, 30, "say('close');");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  PlatformEvent close;
  close.kind = PlatformEvent::Close;
  Game().settings.close_button_as_esc = false;
  World_HandleWindowEvent(close);
  EXPECT_EQ(TakeOutput(), "close;");
  Game().settings.close_button_as_esc = true;
  World_HandleWindowEvent(close);
  EXPECT_EQ(TakeOutput(), "");
  EXPECT_EQ(Input().last_key, 27);
  // The next step's function keys end the game (Esc ends the game).
  World_Step();
  EXPECT_EQ(RunnerForm().pending_transition, TRANSITION_END);
}

TEST_F(WorldInputTest, F4TogglesFullScreenWhenTheSettingIsOn) {
  AddRoom({});
  StartGame();
  Platform_Window().SetFullscreen(false);
  for (bool setting : {false, true}) {
    Game().settings.f4_switches_screen = setting;
    Input_KeyDown(115);
    World_Step();
    EXPECT_EQ(Platform_Window().IsFullscreen(), setting);
    // The key is used up only when it acted.
    EXPECT_EQ(Input().last_key, setting ? 0 : 115);
    Input_KeyUp(115);
  }
  Platform_Window().SetFullscreen(false);
}

}  // namespace
