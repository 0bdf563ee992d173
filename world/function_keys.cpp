// function_keys.cpp: the function keys of the game settings, acted on at the
// start of every step, and the file names of quick saves and screenshots.
#include "world/function_keys.h"

#include <unistd.h>

#include "graphics/screen_save.h"
#include "platform/window.h"
#include "runner/game_data.h"
#include "world/input_state.h"
#include "world/room_runtime.h"
#include "world/run_step.h"
#include "world/save_game.h"

void (*GameInfo_ShowHook)() = nullptr;
bool (*SaveGame_Hook)(const std::string&) = SaveGame_Save;
bool (*LoadGame_Hook)(const std::string&) = SaveGame_Load;
bool (*Screenshot_Hook)(const std::string&) = Screen_SaveFile;

namespace {

constexpr int kKeyEscape = 27;
constexpr int kKeyF1 = 112;
constexpr int kKeyF4 = 115;
constexpr int kKeyF5 = 116;
constexpr int kKeyF6 = 117;
constexpr int kKeyF9 = 120;
constexpr int kFirstScreenshot = 100;

bool FileExists(const std::string& name) { return access(name.c_str(), F_OK) == 0; }

void ShowGameInformation() {
  if (GameInfo_ShowHook) GameInfo_ShowHook();
  Input_Clear();
}

void ToggleFullScreen() {
  PlatformWindow& window = Platform_Window();
  window.SetFullscreen(!window.IsFullscreen());
}

void QuickSave() {
  if (SaveGame_Hook) SaveGame_Hook(QuickSave_FileName());
}

// Without a quick save file nothing happens.
void QuickLoad() {
  const std::string name = QuickSave_FileName();
  if (LoadGame_Hook && FileExists(name)) LoadGame_Hook(name);
}

void SaveScreenshot() {
  if (Screenshot_Hook) Screenshot_Hook(Screenshot_FileName());
}

struct RFunctionKey {
  int code;
  bool GameSettings::*enabled;
  void (*act)();
};

const RFunctionKey kKeys[] = {
    {kKeyF1, &GameSettings::f1_shows_information, ShowGameInformation},
    {kKeyEscape, &GameSettings::esc_ends_game, Game_RequestEnd},
    {kKeyF4, &GameSettings::f4_switches_screen, ToggleFullScreen},
    {kKeyF5, &GameSettings::f5_saves_f6_loads, QuickSave},
    {kKeyF6, &GameSettings::f5_saves_f6_loads, QuickLoad},
    {kKeyF9, &GameSettings::f9_screenshot, SaveScreenshot},
};

}  // namespace

std::string QuickSave_FileName() { return "_save" + std::to_string(Game().game_id) + ".sav"; }

std::string Screenshot_FileName() {
  for (int n = kFirstScreenshot;; ++n) {
    std::string name = "screenshot" + std::to_string(n) + ".png";
    if (!FileExists(name)) return name;
  }
}

// The key whose setting is on acts; keyboard_lastkey is cleared first, so
// an action that clears the input state leaves it cleared.
void Step_FunctionKeys() {
  RInputState& input = Input();
  const GameSettings& settings = Game().settings;
  for (const RFunctionKey& key : kKeys) {
    if (input.last_key != key.code || !(settings.*key.enabled)) continue;
    input.last_key = 0;
    key.act();
    return;
  }
}
