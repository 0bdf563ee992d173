// input_state.h: the runner's own keyboard and mouse state, fed by the game
// window's input messages (through the run loop's event hook) and read by
// the step loop, the input builtin variables and the input functions.
#pragma once

#include <array>
#include <cstdint>

#include "common/value.h"

struct PlatformEvent;

struct RInputState {
  static constexpr int kKeys = 256;
  static constexpr int kButtons = 4;  // 1 left, 2 right, 3 middle (0 unused)
  std::array<bool, kKeys> key_held{};
  std::array<bool, kKeys> key_pressed{};
  std::array<bool, kKeys> key_released{};
  std::array<int32_t, kKeys> key_map{};  // identity at start
  int32_t current_key = 0;               // keyboard_key
  int32_t last_key = 0;                  // keyboard_lastkey
  char16_t last_char = 0;                // keyboard_lastchar
  VString typed;                         // keyboard_string
  std::array<bool, kButtons> button_held{};
  std::array<bool, kButtons> button_pressed{};
  std::array<bool, kButtons> button_released{};
  int32_t current_button = 0;  // mouse_button
  int32_t last_button = 0;     // mouse_lastbutton
  bool wheel_up = false;
  bool wheel_down = false;
  // Window position of the mouse; room positions, taken by the step loop.
  int32_t window_x = 0, window_y = 0;
  double mouse_x = 0, mouse_y = 0;
  double mouse_xprevious = 0, mouse_yprevious = 0;
  bool window_active = true;  // the game window has the focus

  RInputState();
};

RInputState& Input();

// Window message handlers.
void Input_KeyDown(int32_t code);
void Input_KeyUp(int32_t code);
void Input_Char(char16_t ch);
void Input_ButtonDown(int32_t button);
void Input_ButtonUp(int32_t button);
void Input_Wheel(int32_t delta);
// Routes a window event to the handlers above (the close button is left to
// the caller). Returns false for events that are not input.
bool Input_HandleWindowEvent(const PlatformEvent& event);

// End of step: pressed and released marks and wheel flags cleared.
void Input_EndStep();
// Clears the whole input state except the key map.
void Input_Clear();
