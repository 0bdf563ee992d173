// input_state.cpp: the keyboard and mouse state and its window handlers.
#include "world/input_state.h"

#include "platform/window.h"

namespace {

RInputState g_input;

constexpr size_t kTypedLimit = 1024;

bool ValidKey(int32_t k) { return k >= 0 && k < RInputState::kKeys; }
bool ValidButton(int32_t b) { return b >= 1 && b < RInputState::kButtons; }

int32_t Mapped(int32_t code) {
  return ValidKey(code) ? g_input.key_map[static_cast<size_t>(code)] : -1;
}

}  // namespace

RInputState::RInputState() {
  for (int i = 0; i < kKeys; ++i) key_map[static_cast<size_t>(i)] = i;
}

RInputState& Input() { return g_input; }

void Input_KeyDown(int32_t code) {
  int32_t k = Mapped(code);
  if (!ValidKey(k)) return;
  g_input.last_key = g_input.current_key = k;
  const size_t i = static_cast<size_t>(k);
  if (!g_input.key_held[i]) g_input.key_pressed[i] = true;
  g_input.key_held[i] = true;
}

void Input_KeyUp(int32_t code) {
  int32_t k = Mapped(code);
  if (!ValidKey(k)) return;
  if (k == g_input.current_key) g_input.current_key = 0;
  const size_t i = static_cast<size_t>(k);
  g_input.key_held[i] = false;
  g_input.key_released[i] = true;
}

// The text keeps at most 1,024 characters before a new one is added.
void Input_Char(char16_t ch) {
  g_input.last_char = ch;
  VString& text = g_input.typed;
  if (text.size() > kTypedLimit) text.erase(0, text.size() - kTypedLimit);
  if (ch == 8) {
    if (!text.empty()) text.pop_back();
  } else if (ch > 31) {
    text.push_back(ch);
  }
}

void Input_ButtonDown(int32_t button) {
  if (!ValidButton(button)) return;
  g_input.current_button = g_input.last_button = button;
  g_input.button_held[static_cast<size_t>(button)] = true;
  g_input.button_pressed[static_cast<size_t>(button)] = true;
}

void Input_ButtonUp(int32_t button) {
  if (!ValidButton(button)) return;
  g_input.current_button = 0;
  g_input.button_held[static_cast<size_t>(button)] = false;
  g_input.button_released[static_cast<size_t>(button)] = true;
}

void Input_Wheel(int32_t delta) {
  if (delta > 0) g_input.wheel_up = true;
  if (delta < 0) g_input.wheel_down = true;
}

bool Input_HandleWindowEvent(const PlatformEvent& event) {
  switch (event.kind) {
    case PlatformEvent::KeyDown: Input_KeyDown(event.key); return true;
    case PlatformEvent::KeyUp: Input_KeyUp(event.key); return true;
    case PlatformEvent::TextChar: Input_Char(static_cast<char16_t>(event.key)); return true;
    case PlatformEvent::MouseDown: Input_ButtonDown(event.button); return true;
    case PlatformEvent::MouseUp: Input_ButtonUp(event.button); return true;
    case PlatformEvent::MouseWheel: Input_Wheel(event.wheel); return true;
    case PlatformEvent::FocusGained: g_input.window_active = true; return true;
    case PlatformEvent::FocusLost: g_input.window_active = false; return true;
    case PlatformEvent::MouseMove:
      g_input.window_x = event.x;
      g_input.window_y = event.y;
      return true;
    default: return false;
  }
}

void Input_EndStep() {
  g_input.key_pressed.fill(false);
  g_input.key_released.fill(false);
  g_input.button_pressed.fill(false);
  g_input.button_released.fill(false);
  g_input.wheel_up = g_input.wheel_down = false;
}

void Input_Clear() {
  g_input.typed.clear();
  g_input.current_key = g_input.last_key = 0;
  g_input.last_char = 0;
  g_input.key_held.fill(false);
  g_input.current_button = g_input.last_button = 0;
  g_input.button_held.fill(false);
  Input_EndStep();
}
