// function_input.cpp: the builtin functions over the runner's keyboard and
// mouse state: checks of held, pressed and released keys and buttons, the
// wheel flags, the key map and the clearing functions.
#include "code/code_function.h"
#include "platform/window.h"
#include "world/input_state.h"

namespace {

constexpr int kKeys = RInputState::kKeys;

int32_t Arg(const RValue& v) { return ToInt32(v.val); }
void Bool(RValue& result, bool b) { result = RValue::Real(b ? 1 : 0); }

// Key 0: no key marked; key 1: some key marked; 2..255: that key.
template <std::array<bool, RInputState::kKeys> RInputState::*Marks>
void KeyCheck(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const auto& marks = Input().*Marks;
  const int32_t key = Arg(args[0]);
  if (key == 0 || key == 1) {
    bool any = false;
    for (int k = 0; k < kKeys && !any; ++k) any = marks[static_cast<size_t>(k)];
    return Bool(result, key == 1 ? any : !any);
  }
  Bool(result, key >= 2 && key < kKeys && marks[static_cast<size_t>(key)]);
}

// Button -1: some button marked; 0: none; 1..3: that button.
template <std::array<bool, RInputState::kButtons> RInputState::*Marks>
void ButtonCheck(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const auto& marks = Input().*Marks;
  const int32_t button = Arg(args[0]);
  const bool any = marks[1] || marks[2] || marks[3];
  if (button == -1) return Bool(result, any);
  if (button == 0) return Bool(result, !any);
  Bool(result, button >= 1 && button <= 3 && marks[static_cast<size_t>(button)]);
}

void F_KeyboardClear(RValue&, CInstance*, CInstance*, int, RValue* args) {
  const int32_t key = Arg(args[0]);
  if (key < 0 || key >= kKeys) return;
  RInputState& in = Input();
  const size_t k = static_cast<size_t>(key);
  in.key_held[k] = in.key_pressed[k] = in.key_released[k] = false;
}

void F_MouseClear(RValue&, CInstance*, CInstance*, int, RValue* args) {
  const int32_t button = Arg(args[0]);
  if (button < 1 || button > 3) return;
  RInputState& in = Input();
  const size_t b = static_cast<size_t>(button);
  in.button_held[b] = in.button_pressed[b] = in.button_released[b] = false;
}

// Sends a key down / key up to the window; it then arrives like a real key,
// between steps.
template <PlatformEvent::Kind Kind>
void KeySend(RValue&, CInstance*, CInstance*, int, RValue* args) {
  PlatformEvent event;
  event.kind = Kind;
  event.key = Arg(args[0]);
  if (event.key <= 0 || event.key >= kKeys) return;
  Platform_Window().PostEvent(event);
}

void F_IoClear(RValue&, CInstance*, CInstance*, int, RValue*) { Input_Clear(); }

void F_WheelUp(RValue& result, CInstance*, CInstance*, int, RValue*) { Bool(result, Input().wheel_up); }
void F_WheelDown(RValue& result, CInstance*, CInstance*, int, RValue*) { Bool(result, Input().wheel_down); }

void F_SetMap(RValue&, CInstance*, CInstance*, int, RValue* args) {
  const int32_t from = Arg(args[0]);
  if (from >= 0 && from < kKeys) Input().key_map[static_cast<size_t>(from)] = Arg(args[1]);
}

// A key outside 0..255 maps to itself.
void F_GetMap(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const int32_t key = Arg(args[0]);
  result = RValue::Real(key >= 0 && key < kKeys ? Input().key_map[static_cast<size_t>(key)] : key);
}

void F_UnsetMap(RValue&, CInstance*, CInstance*, int, RValue*) {
  for (int k = 0; k < kKeys; ++k) Input().key_map[static_cast<size_t>(k)] = k;
}

}  // namespace

void World_RegisterInputFunctions() {
  Function_Add("keyboard_check", KeyCheck<&RInputState::key_held>, 1);
  Function_Add("keyboard_check_pressed", KeyCheck<&RInputState::key_pressed>, 1);
  Function_Add("keyboard_check_released", KeyCheck<&RInputState::key_released>, 1);
  Function_Add("keyboard_clear", F_KeyboardClear, 1);
  Function_Add("keyboard_key_press", KeySend<PlatformEvent::KeyDown>, 1);
  Function_Add("keyboard_key_release", KeySend<PlatformEvent::KeyUp>, 1);
  Function_Add("keyboard_set_map", F_SetMap, 2);
  Function_Add("keyboard_get_map", F_GetMap, 1);
  Function_Add("keyboard_unset_map", F_UnsetMap, 0);
  Function_Add("mouse_check_button", ButtonCheck<&RInputState::button_held>, 1);
  Function_Add("mouse_check_button_pressed", ButtonCheck<&RInputState::button_pressed>, 1);
  Function_Add("mouse_check_button_released", ButtonCheck<&RInputState::button_released>, 1);
  Function_Add("mouse_clear", F_MouseClear, 1);
  Function_Add("mouse_wheel_up", F_WheelUp, 0);
  Function_Add("mouse_wheel_down", F_WheelDown, 0);
  Function_Add("io_clear", F_IoClear, 0);
}
