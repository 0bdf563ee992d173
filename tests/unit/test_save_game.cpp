// Saved games: the byte layout against an independently written file, the
// round trip of a whole game (rooms, instances, deactivated instances,
// tiles, variables, globals, game values), loading without events, the
// deferred game_load, the quick-save keys, and files that must change
// nothing: other version, other game, truncated at every byte, counts that
// claim more than the file holds, values that are not numbers.
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "graphics/screen_frame.h"
#include "common/support_file.h"
#include "common/support_stream.h"
#include "world/cursor_sprite.h"
#include "world/function_keys.h"
#include "world/save_game.h"
#include "world_test_support.h"

namespace {

using worldtest::W;

constexpr int32_t kGameId = 777;

// The image of the running game.
std::vector<uint8_t> Image() {
  CStream s;
  SaveGame_WriteStream(s);
  return s.Bytes();
}

class SaveGameTest : public worldtest::WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    old_dir_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / ("vx_save_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    Game().game_id = kGameId;
    Secure_SetMode(false);
    Screen_SetAutomaticDraw(true);
  }
  void TearDown() override {
    Secure_SetMode(false);
    Screen_SetAutomaticDraw(true);
    std::filesystem::current_path(old_dir_);
    std::filesystem::remove_all(dir_);
    WorldTest::TearDown();
  }
  static void ClearErrors() { Error_State() = RErrorReportState(); }
  // The message of the last report, without the place lines before it.
  static std::string LastError() {
    const std::string& text = Error_State().error_last;
    size_t end = text.rfind("\r\n");
    return end == std::string::npos ? text : text.substr(end + 2);
  }

  // Two objects, a persistent room 1 visited once (a live state that is
  // not current), then room 0 with instances in every kind of state.
  void BuildGame() {
    hero_ = AddObject("hero");
    rock_ = AddObject("rock");
    AddRoom({Placed(hero_, 10, 20, 100001), Placed(rock_, 30, 40, 100002),
             Placed(rock_, 50, 60, 100003)});
    AddRoom({Placed(rock_, 5, 5, 100004)});
    Game().rooms.Get(1)->r_persistent = true;
    Game().last_instance_id = 100010;
    StartGame();
    Room_Goto(1);
    Room_Instance(0).i_vars.SetVar(Variable_Index("kept"), 0, RValue::String(u"in room 1"));
    Room_Goto(0);
    CInstance& hero = *Instance_Find(100001, true);
    hero.SetPosition(12.5, 21.25);
    hero.i_timer[3] = 17;
    hero.i_pathindex = 2;
    hero.i_pathposition = 0.375;
    hero.i_pathspeed = 4;
    hero.i_timelineindex = 1;
    hero.i_timelineposition = 9;
    hero.i_timelinerunning = true;
    hero.SetHspeed(-3);
    const int32_t hp = Variable_Index("hp");
    const int32_t name = Variable_Index("name");
    hero.i_vars.SetVar(hp, 0, RValue::Real(42));
    hero.i_vars.SetVar(hp, 32000 * 2 + 5, RValue::Real(-1.5));
    hero.i_vars.SetVar(name, 3, RValue::String(u"caf\u00e9"));
    Instance_Find(100003, true)->i_deactivated = true;
    Instance_UpdateActive();
    RTile tile;
    tile.x = 64;
    tile.depth = 1000;
    tile.w = tile.h = 16;
    Room_Live()->AddTile(tile);
    Variable_Globals().SetVar(Variable_Index("level"), 0, RValue::Real(3));
    Variable_DeclareGlobal(Variable_Index("level"));
    g_GameGlobals.score = 1200;
    g_GameGlobals.lives = 2;
    g_GameGlobals.health = 37.5;
    g_GameGlobals.transition_kind = 4;
    Cursor_Sprite() = 1;
    RunnerForm().step_counter = 321;
  }
  // Changes everything the file holds.
  void Disturb() {
    Room_Goto(1);
    Instance_AddNew(1, 1, hero_);
    Room_Goto(0);
    Instance_Find(100001, true)->SetPosition(0, 0);
    Instance_Find(100001, true)->i_vars.Clear();
    Instance_Find(100002, true)->i_marked = true;
    Instance_RemoveMarked();
    Room_Live()->ClearTiles();
    Variable_GlobalsReset();
    g_GameGlobals.score = 0;
    g_GameGlobals.lives = 9;
    g_GameGlobals.health = 100;
    Cursor_Sprite() = -1;
    RunnerForm().step_counter = 5;
    Screen_SetAutomaticDraw(false);
  }
  static CInstance& Room_Instance(size_t i) { return *Instance_Lists().active[i]; }

  std::filesystem::path old_dir_, dir_;
  int hero_ = 0, rock_ = 0;
};

TEST_F(SaveGameTest, RoundTripRestoresTheWholeGame) {
  BuildGame();
  const std::vector<uint8_t> saved = Image();
  ASSERT_TRUE(SaveGame_Save("slot.sav"));
  Disturb();
  ASSERT_NE(Image(), saved);
  ClearErrors();
  ASSERT_TRUE(SaveGame_Load("slot.sav"));
  EXPECT_EQ(LastError(), "");
  EXPECT_EQ(Image(), saved);  // every field of the file is back

  EXPECT_EQ(Room_Current(), 0);
  EXPECT_EQ(Room_LiveIndex(), 0);
  CInstance* hero = Instance_Find(100001, true);
  ASSERT_NE(hero, nullptr);
  EXPECT_EQ(hero->i_x, 12.5);
  EXPECT_EQ(hero->i_timer[3], 17);
  EXPECT_EQ(hero->i_pathposition, 0.375);
  EXPECT_TRUE(hero->i_timelinerunning);
  EXPECT_EQ(hero->i_hspeed, -3);
  EXPECT_EQ(hero->i_direction, 180);
  EXPECT_EQ(hero->i_object, Game().objects.Get(hero_));
  RValue v;
  ASSERT_TRUE(hero->i_vars.GetVar(Variable_Index("hp"), 32000 * 2 + 5, v));
  EXPECT_EQ(v.val, -1.5);
  ASSERT_TRUE(hero->i_vars.GetVar(Variable_Index("name"), 3, v));
  EXPECT_EQ(v.str, u"caf\u00e9");
  // The per-object lists are rebuilt; the deactivated instance stays out.
  EXPECT_EQ(Instance_ObjNumber(rock_), 1);
  ASSERT_EQ(Instance_Lists().deactivated.size(), 1u);
  EXPECT_EQ(Instance_Lists().deactivated[0]->i_id, 100003);
  EXPECT_TRUE(Instance_Lists().deactivated[0]->i_deactivated);
  EXPECT_EQ(Room_Live()->r_tile.size(), 1u);
  EXPECT_EQ(g_GameGlobals.score, 1200);
  EXPECT_EQ(g_GameGlobals.lives, 2);
  EXPECT_EQ(g_GameGlobals.health, 37.5);
  EXPECT_TRUE(Variable_IsDeclaredGlobal(Variable_Index("level")));
  EXPECT_TRUE(Screen_AutomaticDraw());
  // The persistent room's own state came back too: entering it finds it.
  Room_Goto(1);
  ASSERT_EQ(Instance_Lists().active.size(), 1u);
  ASSERT_TRUE(Room_Instance(0).i_vars.GetVar(Variable_Index("kept"), 0, v));
  EXPECT_EQ(v.str, u"in room 1");
}

TEST_F(SaveGameTest, LoadingRaisesNoEvent) {
  int obj = AddObject("watch");
  for (int32_t number : {2, 3, 4, 5}) On(obj, ev_other, number, "say('other', " + std::to_string(number) + ");");
  On(obj, ev_create, 0, "say('create');");
  On(obj, ev_destroy, 0, "say('destroy');");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  ASSERT_TRUE(SaveGame_Save("slot.sav"));
  TakeOutput();
  ASSERT_TRUE(SaveGame_Load("slot.sav"));
  EXPECT_EQ(TakeOutput(), "");
}

// Writes the layout field by field, independently of the runner's writer.
class LayoutWriter {
 public:
  CStream s;
  void I(int32_t v) { s.WriteInteger(v); }
  void R(double v) { s.WriteReal(v); }
  void B(bool v) { s.WriteBoolean(v); }
  void S(const VString& v) { s.WriteString(v); }
  void Value(const RValue& v) {
    I(v.kind);
    R(v.val);
    S(v.str);
  }
  void Background(int k) {
    B(k == 1);         // visible
    B(false);          // foreground
    I(k == 1 ? 0 : -1);  // index
    R(k);              // x
    R(0);              // y
    B(true);           // htiled
    B(false);          // vtiled
    R(1);              // xscale
    R(2);              // yscale
    R(0.5);            // hspeed
    R(0);              // vspeed
    I(0xFFFFFF);       // blend
    R(1);              // alpha
  }
  void View(int k) {
    B(k == 0);
    for (int32_t n : {0, 0, 320, 240, 0, 0, 640, 480}) I(n);
    R(0);
    for (int32_t n : {32, 32, -1, -1, -1}) I(n);
  }
  void Instance(int32_t object, int32_t var_ind) {
    I(100005);            // i_id
    I(-1);                // i_spriteindex
    for (double v : {0.0, 1.0, 1.0, 1.0, 0.0, 1.0}) R(v);  // image index .. alpha
    I(0xFFFFFF);          // i_imageblend
    I(-1);                // i_maskindex
    // depth, x, y, xstart, ystart, xprevious, yprevious, direction, speed,
    // friction, gravitydir, gravity, hspeed, vspeed
    for (double v : {-5.0, 100.0, 200.0, 90.0, 190.0, 99.0, 199.0, 0.0, 2.0, 0.0, 270.0, 0.0, 2.0, 0.0}) R(v);
    for (int32_t n : {-100000, -100000, -100000, -100000}) I(n);  // left, right, top, bottom
    B(true);              // i_visible
    B(true);              // i_solid
    B(false);             // i_persistent
    I(object);            // i_objectindex
    for (int a = 0; a < 12; ++a) I(a == 0 ? 30 : -1);  // alarms
    B(false);             // i_marked
    B(false);             // i_deactivated
    I(-1);                // i_pathindex
    for (double v : {0.25, 0.0, 0.0, 1.0, 0.0}) R(v);  // path position .. orientation
    I(0);                 // i_pathend
    R(0);                 // i_pathxstart
    R(0);                 // i_pathystart
    I(-1);                // i_timelineindex
    R(0);                 // i_timelineposition
    R(1);                 // i_timelinespeed
    B(false);             // i_timelinerunning
    B(false);             // i_timelineloop
    S(u"");               // i_initcode
    I(440);
    I(1);
    I(var_ind);
    Value(RValue::String(u"abc"));
    I(1);  // one row of array elements
    I(2);
    Value(RValue::Real(0));
    Value(RValue::Real(8));
  }
  void Tile() {
    R(16);   // x
    R(32);   // y
    I(0);    // index
    for (int32_t n : {0, 0, 16, 16}) I(n);  // xo, yo, w, h
    R(1000);  // depth
    I(10000001);
    R(1);    // xscale
    R(1);    // yscale
    I(0xFFFFFF);
    R(0.5);  // alpha
    B(true);
  }
};

TEST_F(SaveGameTest, ReadsAFileWrittenFieldByFieldAndWritesTheSameBytes) {
  int obj = AddObject("obj");
  AddRoom({});
  StartGame();
  const int32_t global = Variable_Index("g");
  const int32_t local = Variable_Index("local_v");
  LayoutWriter w;
  w.I(540);
  w.I(kGameId);
  w.I(0);      // current room
  w.I(3);      // transition kind
  w.I(77);     // score
  w.I(2);      // lives
  w.R(55.5);   // health
  w.I(-1);     // cursor sprite
  w.I(1234);   // step counter
  w.B(false);  // automatic drawing
  w.I(700);
  w.I(440);
  w.I(1);
  w.I(global);
  w.Value(RValue::Real(4.5));
  w.I(0);
  w.I(2);  // declared-global flags
  w.B(false);
  w.B(true);
  w.I(1);  // room count
  w.B(true);
  w.I(540);
  w.S(u"Hi");
  w.I(320);
  w.I(240);
  w.I(60);
  w.B(false);
  w.I(255);
  w.B(true);
  w.S(u"");
  w.I(8);
  for (int k = 0; k < 8; ++k) w.Background(k);
  w.B(true);
  w.I(8);
  for (int k = 0; k < 8; ++k) w.View(k);
  w.I(1);
  w.Instance(obj, local);
  w.I(0);
  w.I(1);
  w.Tile();
  w.I(100005);
  w.I(10000001);
  std::ofstream("other.sav", std::ios::binary)
      .write(reinterpret_cast<const char*>(w.s.Data()), static_cast<std::streamsize>(w.s.Size()));

  ClearErrors();
  ASSERT_TRUE(SaveGame_Load("other.sav")) << LastError();
  EXPECT_EQ(Image(), w.s.Bytes());
  EXPECT_EQ(g_GameGlobals.score, 77);
  EXPECT_EQ(g_GameGlobals.transition_kind, 3);
  EXPECT_EQ(RunnerForm().step_counter, 1234);
  EXPECT_FALSE(Screen_AutomaticDraw());
  EXPECT_TRUE(Variable_IsDeclaredGlobal(kUserVariableBase + 1));
  EXPECT_EQ(Room_Live()->r_caption, u"Hi");
  EXPECT_EQ(Room_Live()->r_speed, 60);
  EXPECT_EQ(Room_Live()->r_background[1].x, 1);
  EXPECT_EQ(Room_Live()->r_background[1].yscale, 2);
  EXPECT_EQ(Room_Live()->r_view[0].wport, 640);
  ASSERT_EQ(Instance_Lists().active.size(), 1u);
  const CInstance& inst = Room_Instance(0);
  EXPECT_EQ(inst.i_id, 100005);
  EXPECT_EQ(inst.i_depth, -5);
  EXPECT_EQ(inst.i_xprevious, 99);
  EXPECT_TRUE(inst.i_solid);
  EXPECT_EQ(inst.i_timer[0], 30);
  EXPECT_EQ(inst.i_pathposition, 0.25);
  RValue v;
  ASSERT_TRUE(inst.i_vars.GetVar(local, 1, v));
  EXPECT_EQ(v.val, 8);
  ASSERT_EQ(Room_Live()->r_tile.size(), 1u);
  EXPECT_EQ(Room_Live()->r_tile[0].alpha, 0.5);
  EXPECT_EQ(Instance_LastId(), 100005);
  EXPECT_EQ(Tile_LastId(), 10000001);
}

TEST_F(SaveGameTest, RefusedFilesChangeNothing) {
  BuildGame();
  ASSERT_TRUE(SaveGame_Save("good.sav"));
  std::vector<uint8_t> good;
  ASSERT_TRUE(File_ReadAll("good.sav", good));
  auto write = [](const std::string& name, std::vector<uint8_t> bytes) {
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  };
  auto with_integer = [&](size_t at, int32_t v) {
    std::vector<uint8_t> bytes = good;
    std::memcpy(bytes.data() + at, &v, 4);
    return bytes;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    std::string message;
  };
  std::vector<uint8_t> nan_health = good;
  const double nan = std::nan("");
  std::memcpy(nan_health.data() + 24, &nan, 8);
  const std::string damaged = "Failed to load game from file ";
  const std::vector<Case> cases = {
      {"version.sav", with_integer(0, 541), "Cannot load game saved with other version."},
      {"other.sav", with_integer(4, kGameId + 1), "This is a save file for a different game!"},
      {"empty.sav", {}, damaged + "empty.sav"},
      {"two.sav", {0x1c, 0x02}, damaged + "two.sav"},
      {"header.sav", std::vector<uint8_t>(good.begin(), good.begin() + 8), damaged + "header.sav"},
      {"nan.sav", nan_health, damaged + "nan.sav"},
      {"room.sav", with_integer(8, 5), damaged + "room.sav"},  // no live state at room 5
  };
  Disturb();
  const std::vector<uint8_t> before = Image();
  for (const Case& c : cases) {
    write(c.name, c.bytes);
    ClearErrors();
    EXPECT_FALSE(SaveGame_Load(c.name)) << c.name;
    EXPECT_EQ(LastError(), c.message) << c.name;
    EXPECT_EQ(Image(), before) << c.name;
  }
  ClearErrors();
  EXPECT_FALSE(SaveGame_Load("missing.sav"));
  EXPECT_EQ(LastError(), "");  // a missing file is no error
  EXPECT_EQ(Image(), before);
}

TEST_F(SaveGameTest, TruncatedAtAnyByteLeavesTheGameAsItWas) {
  BuildGame();
  CStream full;
  SaveGame_WriteStream(full);
  Disturb();
  const std::vector<uint8_t> before = Image();
  for (size_t size = 0; size < full.Size(); ++size) {
    CStream cut(std::vector<uint8_t>(full.Bytes().begin(), full.Bytes().begin() + static_cast<long>(size)));
    RSavedGame game;
    ASSERT_EQ(SaveGame_ReadStream(cut, kGameId, game), SaveGameRead::Damaged) << size;
  }
  EXPECT_EQ(Image(), before);
  full.Seek(0);
  RSavedGame game;
  EXPECT_EQ(SaveGame_ReadStream(full, kGameId, game), SaveGameRead::Ok);
}

// Every count field in turn claims two billion records: the read fails at
// once instead of reserving memory or reading on.
TEST_F(SaveGameTest, CountsBeyondTheFileFailBeforeAllocating) {
  BuildGame();
  CStream full;
  SaveGame_WriteStream(full);
  size_t failures = 0;
  for (size_t at = 8; at + 4 <= full.Size(); at += 4) {
    CStream bad(full.Bytes());
    const int32_t huge = 2000000000;
    std::memcpy(bad.Data() + at, &huge, 4);
    RSavedGame game;
    SaveGameRead result = SaveGame_ReadStream(bad, kGameId, game);
    if (result == SaveGameRead::Damaged) ++failures;
    // Nothing read from a damaged file may be larger than the file.
    EXPECT_LE(game.rooms.size(), full.Size());
    EXPECT_LE(game.declared_global.size(), full.Size());
  }
  EXPECT_GT(failures, 0u);
}

TEST_F(SaveGameTest, GameLoadWaitsForTheEndOfTheStep) {
  int obj = AddObject("obj");
  On(obj, ev_step, 0, "say('step', score); if (score == 0) { score = 5; game_save('a.sav'); score = 6; game_load('a.sav'); say('after request', score); }");
  int late = AddObject("late");
  On(late, ev_step, 0, "say('late step');");
  AddRoom({Placed(obj, 0, 0, 100001), Placed(late, 0, 0, 100002)});
  StartGame();
  World_Step();
  // The pending load stops the rest of the step's events.
  EXPECT_EQ(TakeOutput(), "step 0;after request 6;");
  EXPECT_EQ(RunnerForm().pending_transition, TRANSITION_LOAD);
  EXPECT_EQ(g_GameGlobals.score, 6);
  Runner_HandleTransition();
  EXPECT_EQ(g_GameGlobals.score, 5);
  World_Step();
  EXPECT_EQ(TakeOutput(), "step 5;late step;");
}

TEST_F(SaveGameTest, QuickSaveAndLoadKeys) {
  BuildGame();
  const std::vector<uint8_t> saved = Image();
  Input().last_key = 116;  // F5
  Step_FunctionKeys();
  ASSERT_TRUE(std::filesystem::exists("_save777.sav"));
  Disturb();
  Input().last_key = 117;  // F6: at once
  Step_FunctionKeys();
  EXPECT_EQ(Image(), saved);
  std::filesystem::remove("_save777.sav");
  Disturb();
  const std::vector<uint8_t> before = Image();
  Input().last_key = 117;  // no quick save: nothing
  Step_FunctionKeys();
  EXPECT_EQ(Image(), before);
}

TEST_F(SaveGameTest, SecureModeRefusesNamesWithAPath) {
  BuildGame();
  std::filesystem::create_directories("sub");
  Secure_SetMode(true);
  for (const std::string name : {"sub/a.sav", "sub\\a.sav"}) {
    ClearErrors();
    EXPECT_FALSE(SaveGame_Save(name));
    EXPECT_EQ(LastError(), "In secure mode you cannot save game to file " + name);
  }
  EXPECT_FALSE(std::filesystem::exists("sub/a.sav"));
  EXPECT_TRUE(SaveGame_Save("plain.sav"));
  Secure_SetMode(false);
  EXPECT_TRUE(SaveGame_Save("sub\\b.sav"));  // either separator works
  EXPECT_TRUE(std::filesystem::exists("sub/b.sav"));
}

TEST_F(SaveGameTest, FailedWriteIsReportedAndKeepsTheOldFile) {
  BuildGame();
  ASSERT_TRUE(SaveGame_Save("keep.sav"));
  std::vector<uint8_t> old_bytes;
  ASSERT_TRUE(File_ReadAll("keep.sav", old_bytes));
  ClearErrors();
  EXPECT_FALSE(SaveGame_Save("no_such_dir/keep.sav"));
  EXPECT_EQ(LastError(), "Failed to save game to file no_such_dir/keep.sav");
  std::vector<uint8_t> now;
  ASSERT_TRUE(File_ReadAll("keep.sav", now));
  EXPECT_EQ(now, old_bytes);
}

}  // namespace
