// Function keys: which hook each key calls with which file name, the game
// settings that switch them off, and the screenshot and quick-save names.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "world/function_keys.h"
#include "world_test_support.h"

namespace {

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}
bool RecordSave(const std::string& f) { return Calls().push_back("save " + f), true; }
bool RecordLoad(const std::string& f) { return Calls().push_back("load " + f), true; }
bool RecordShot(const std::string& f) { return Calls().push_back("shot " + f), true; }
void RecordInfo() { Calls().push_back("info"); }

// Runs in a fresh working directory with recording hooks.
class WorldFunctionKeyTest : public worldtest::WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    old_dir_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / ("vx_keys_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    Calls().clear();
    saved_screenshot_hook_ = Screenshot_Hook;
    saved_save_hook_ = SaveGame_Hook;
    saved_load_hook_ = LoadGame_Hook;
    GameInfo_ShowHook = RecordInfo;
    SaveGame_Hook = RecordSave;
    LoadGame_Hook = RecordLoad;
    Screenshot_Hook = RecordShot;
    Game().game_id = 4321;
  }
  void TearDown() override {
    GameInfo_ShowHook = nullptr;
    SaveGame_Hook = saved_save_hook_;
    LoadGame_Hook = saved_load_hook_;
    Screenshot_Hook = saved_screenshot_hook_;
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
    WorldTest::TearDown();
  }
  static void Touch(const std::string& name) { std::ofstream(name) << "x"; }
  // Presses the key as the last key and runs the function-key phase.
  static void Press(int key) {
    Input().last_key = key;
    Step_FunctionKeys();
  }

  std::filesystem::path old_dir_, dir_;
  bool (*saved_screenshot_hook_)(const std::string&) = nullptr;
  bool (*saved_save_hook_)(const std::string&) = nullptr;
  bool (*saved_load_hook_)(const std::string&) = nullptr;
};

TEST_F(WorldFunctionKeyTest, ScreenshotNameIsTheFirstFreeNumberFrom100) {
  EXPECT_EQ(Screenshot_FileName(), "screenshot100.png");
  Touch("screenshot100.png");
  Touch("screenshot101.png");
  Touch("screenshot103.png");
  EXPECT_EQ(Screenshot_FileName(), "screenshot102.png");
  Touch("screenshot102.png");
  EXPECT_EQ(Screenshot_FileName(), "screenshot104.png");
}

TEST_F(WorldFunctionKeyTest, KeysCallTheirHooksAndClearTheLastKey) {
  EXPECT_EQ(QuickSave_FileName(), "_save4321.sav");
  Press(116);  // F5
  Press(117);  // F6 without a quick save file: nothing
  Touch("_save4321.sav");
  Press(117);
  Press(120);  // F9
  Input().key_held[65] = true;
  Press(112);  // F1: the input state is cleared after the window
  EXPECT_FALSE(Input().key_held[65]);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"save _save4321.sav", "load _save4321.sav",
                                               "shot screenshot100.png", "info"}));
  EXPECT_EQ(Input().last_key, 0);
}

TEST_F(WorldFunctionKeyTest, SwitchedOffKeysDoNothing) {
  GameSettings& s = Game().settings;
  s.f1_shows_information = s.f5_saves_f6_loads = s.f9_screenshot = s.esc_ends_game = false;
  Touch("_save4321.sav");
  for (int key : {112, 116, 117, 120, 27}) {
    Press(key);
    EXPECT_EQ(Input().last_key, key);
  }
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(RunnerForm().pending_transition, TRANSITION_NONE);
}

TEST_F(WorldFunctionKeyTest, GameSaveAndLoadFunctions) {
  int obj = AddObject("obj");
  On(obj, ev_create, 0, "game_save('slot1.sav'); game_load('slot2.sav');"
                        "say(Zarnu_GetPlatform(), Zarnu_GetDevice());");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  EXPECT_EQ(TakeOutput(), "0 0;");
  EXPECT_EQ(Calls(), std::vector<std::string>{"save slot1.sav"});
  EXPECT_EQ(RunnerForm().pending_transition, TRANSITION_LOAD);
  EXPECT_EQ(RunnerForm().pending_load_file, "slot2.sav");
}

}  // namespace
