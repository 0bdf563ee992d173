// function_keys.cpp: the function keys of the game settings, acted on at the
// start of every step.
#include "platform/window.h"
#include "runner/game_data.h"
#include "world/input_state.h"
#include "world/room_runtime.h"
#include "world/run_step.h"

namespace {
constexpr int kKeyEscape = 27;
constexpr int kKeyF4 = 115;
}  // namespace

// The first key whose setting is on acts, and the last key is cleared.
void Step_FunctionKeys() {
  RInputState& input = Input();
  const GameSettings& settings = Game().settings;
  if (input.last_key == kKeyEscape && settings.esc_ends_game) {
    input.last_key = 0;
    Game_RequestEnd();
  } else if (input.last_key == kKeyF4 && settings.f4_switches_screen) {
    input.last_key = 0;
    PlatformWindow& window = Platform_Window();
    window.SetFullscreen(!window.IsFullscreen());
  }
}

