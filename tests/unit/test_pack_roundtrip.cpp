// test_pack_roundtrip.cpp: a game holding every record kind, written as a
// project and read back, gives the same game data field for field; plus the
// pieces the project format rests on (PNG, JSON positions, masks, fonts).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "graphics/font_raster.h"
#include "pack/pack_build.h"
#include "pack/pack_error.h"
#include "pack/pack_image.h"
#include "pack/pack_json.h"
#include "pack/pack_mask.h"
#include "pack/project_read.h"
#include "pack/project_write.h"
#include "runner/datanew_write.h"
#include "runner/game_data.h"

namespace fs = std::filesystem;

namespace {

// A fresh directory under the system temporary directory, removed at the end.
class TempDir {
 public:
  TempDir() {
    std::random_device device;
    path_ = fs::temp_directory_path() / ("vexlo_pack_test_" + std::to_string(device()));
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

TBitmap32 Gradient(int w, int h, uint32_t seed) {
  TBitmap32 bm(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      // Alpha 0 on the left column keeps colours under full transparency.
      bm.SetPixel(x, y, (x == 0 ? 0u : (seed + 40u * x) & 0xFF) << 24 |
                            ((seed * 7 + x * 13 + y * 29) & 0xFFFFFF));
  return bm;
}

CAction CodeAction(const std::u16string& code) {
  CAction a;
  a.act_libid = 1;
  a.act_id = 603;
  a.act_kind = ACT_CODE;
  a.act_useapplyto = true;
  a.act_exetype = EXE_CODE;
  a.act_argumentcount = 1;
  a.act_argtypecount = 1;
  a.act_argtype[0] = 1;
  a.act_argstringcount = 1;
  a.act_argstring[0] = code;
  return a;
}

CAction OddAction() {
  CAction a;
  a.act_libid = 7;
  a.act_id = 305;
  a.act_kind = ACT_VARIABLE;
  a.act_userelative = true;
  a.act_isquestion = true;
  a.act_useapplyto = false;
  a.act_exetype = EXE_FUNCTION;
  a.act_functionname = u"action_if_variable";
  a.act_codestring = u"unused";
  a.act_argumentcount = 3;
  a.act_argtypecount = 4;
  a.act_argtype = {0, 1, 2, 15};
  a.act_who = 0;
  a.act_relative = true;
  a.act_argstringcount = 2;
  a.act_argstring[0] = u"x";
  a.act_argstring[1] = u"'str'";
  a.act_isnot = true;
  return a;
}

CAction Control(int kind) {
  CAction a;
  a.act_libid = 1;
  a.act_kind = kind;
  a.act_exetype = EXE_NONE;
  if (kind == ACT_REPEAT) {
    a.act_argstringcount = a.act_argumentcount = a.act_argtypecount = 1;
    a.act_argstring[0] = u"3";
  }
  return a;
}

template <class T>
T& AddTo(ResourceTable<T>& table, const std::u16string& name) {
  table.Add(std::make_unique<T>(), name);
  return *table.items.back();
}

// A game with every kind of record and many fields away from their defaults.
void BuildGame(CGameData& g) {
  g.day_count = 45000;
  g.debug_mode = true;
  g.seconds = 3600;
  g.support_library_name = u"vexlo3d.bin";
  g.support_library = {1, 2, 3};
  g.edition = 800;
  g.game_id = 987654;
  for (int i = 0; i < 16; ++i) g.guid[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 17);

  GameSettings& s = g.settings;
  s.full_screen = s.interpolate = s.no_border = true;
  s.show_cursor = false;
  s.scale = -1;
  s.sizeable = s.stay_on_top = s.set_display_mode = true;
  s.window_color = 0x123456;
  s.color_depth = 2;
  s.resolution = 4;
  s.frequency = 3;
  s.no_caption_buttons = s.synchronization = true;
  s.no_screen_saver = s.f4_switches_screen = s.f1_shows_information = false;
  s.esc_ends_game = s.f5_saves_f6_loads = s.f9_screenshot = s.close_button_as_esc = false;
  s.priority = 2;
  s.freeze_when_inactive = true;
  s.bar_back_image = std::make_shared<RBitmap>(RBitmap{2, 1, {0xFF000000u, 0x80FFFFFFu}});
  s.bar_front_image = std::make_shared<RBitmap>(RBitmap{1, 1, {0x00ABCDEFu}});
  s.loading_image = std::make_shared<RBitmap>(RBitmap{1, 2, {0xFF102030u, 0xFF405060u}});
  s.image_transparent = true;
  s.image_alpha = 200;
  s.stretch_bar = s.show_errors = false;
  s.log_errors = s.abort_on_errors = true;
  s.code_flags = 1 | 8;

  auto pkg = std::make_unique<CExtensionPackage>();
  pkg->s_name = u"Tools";
  pkg->s_folder = u"tools";
  CExtensionFile script;
  script.s_filename = u"tools.vxs";
  script.s_kind = EXT_SCRIPT;
  script.s_init = u"tools_init";
  std::string text = "#define tools_init\nreturn 1;\n";
  script.s_data.assign(text.begin(), text.end());
  CExtensionFunction fn;
  fn.s_name = u"tools_init";
  fn.s_extname = u"tools_init";
  fn.s_id = 3;
  fn.s_argcount = 2;
  fn.s_argtype[1] = 1;
  script.s_functions.push_back(fn);
  script.s_constants.push_back(CExtensionConstant{u"TOOLS_VERSION", u"2"});
  CExtensionFile nobytes;
  nobytes.s_filename = u"notes.txt";
  nobytes.s_kind = EXT_NOBYTES;
  pkg->s_includes = {script, nobytes};
  g.extensions.Add(std::move(pkg), u"Tools");

  auto trigger = std::make_unique<CTrigger>();
  trigger->i_name = u"far right";
  trigger->i_condition = u"x > 600";
  trigger->i_moment = 2;
  trigger->i_constname = u"tr_far";
  g.triggers.Add(std::move(trigger), u"far right");
  g.triggers.Add(nullptr, u"");

  g.constants = {{u"SPEED", u"4"}, {u"NAME", u"\"caf\u00e9\""}};

  CSound& beep = AddTo(g.sounds, u"snd_beep");
  beep.s_kind = SOUND_BACKGROUND;
  beep.s_extension = u".wav";
  beep.s_origname = u"C:\\sounds\\beep.wav";
  beep.s_sound = std::make_unique<std::vector<uint8_t>>(std::vector<uint8_t>{'R', 'I', 'F', 'F', 0});
  beep.s_effects = 5;
  beep.s_volume = 0.25;
  beep.s_pan = -0.5;
  beep.s_preload = false;
  CSound& silent = AddTo(g.sounds, u"snd_none");
  silent.s_kind = 9;
  silent.s_extension = u".x y";

  CSprite& two = AddTo(g.sprites, u"spr_two");
  two.i_bitmap = {Gradient(5, 4, 1), Gradient(5, 4, 2)};
  two.i_xorig = 2;
  two.i_yorig = -3;
  ComputeSpriteMasks(two, MaskSettings{});
  g.sprites.Add(nullptr, u"");
  CSprite& hand = AddTo(g.sprites, u"spr_hand");
  hand.i_bitmap = {Gradient(3, 3, 5), Gradient(3, 3, 6)};
  hand.i_sepmasks = true;
  for (int i = 0; i < 2; ++i) {
    TMask m;
    m.i_w = 3;
    m.i_h = 2;  // a mask no description reproduces
    m.i_mask = {1, 0, 0, 1, 1, 0};
    m.i_bbox = TRect{0, 0, 2, 1 + i};
    hand.i_mask.push_back(m);
  }
  hand.ComputeBoundingBox();
  AddTo(g.sprites, u"spr_empty");
  CSprite& odd = AddTo(g.sprites, u"odd name/\u00e9");
  odd.i_bitmap = {TBitmap32(0, 3)};
  ComputeSpriteMasks(odd, MaskSettings{});

  AddTo(g.backgrounds, u"bg").i_bitmap = Gradient(4, 2, 9);
  AddTo(g.backgrounds, u"bg").i_bitmap = TBitmap32(6, 0);  // the same name again

  CPath& path = AddTo(g.paths, u"pth");
  path.i_kind = 1;
  path.i_closed = false;
  path.i_precision = 8;
  path.i_points = {{0.5, -1.25, 100}, {1e6, 3, 0}};

  AddTo(g.scripts, u"scr_a").s_text = u"var a;\r\na = \"\u00e9\";\treturn a;";
  AddTo(g.scripts, u"scr_empty");

  CFont& font = AddTo(g.fonts, u"fnt");
  font.s_name = u"DejaVu Sans";
  font.s_size = 10;
  font.s_bold = true;
  font.s_charset = 0;
  font.s_AntiAlias = 1;
  font.s_first = 65;
  font.s_last = 66;
  font.s_bw = 3;
  font.s_bh = 2;
  font.s_bytes = {0, 64, 255, 128, 1, 2};
  font.s_x[65] = 1;
  font.s_w[65] = 2;
  font.s_h[65] = 2;
  font.s_shift[65] = 3;
  font.s_offset[66] = -1;
  font.s_FontHeight = 2;

  CTimeLine& tl = AddTo(g.timelines, u"tl");
  tl.s_step = {0, 5, 5};
  tl.s_event.resize(3);
  tl.s_event[0].e_actions = {CodeAction(u"a = 1;")};
  tl.s_event[1].e_actions = {Control(ACT_REPEAT), Control(ACT_BEGIN), CodeAction(u"b = 2;"),
                             Control(ACT_END), Control(ACT_EXIT)};

  CObject& obj = AddTo(g.objects, u"obj");
  obj.o_spriteindex = 0;
  obj.o_solid = true;
  obj.o_visible = false;
  obj.o_depth = -7;
  obj.o_persistent = true;
  obj.o_parent = 1;
  obj.o_mask = 2;
  obj.AddEvent(ev_create, 0).e_actions = {CodeAction(u"x = 1;"), CodeAction(u"y = 2;")};
  obj.AddEvent(ev_collision, 0).e_actions = {OddAction()};
  obj.AddEvent(ev_collision, 7);  // an object that does not exist, no actions
  obj.AddEvent(ev_keypress, 37).e_actions = {Control(ACT_ELSE)};
  obj.AddEvent(ev_trigger, 0).e_actions = {CodeAction(u"")};
  CObject& child = AddTo(g.objects, u"obj_child");
  child.o_parent = 0;
  child.o_spriteindex = 99;

  CRoom& room = AddTo(g.rooms, u"rm");
  room.r_caption = u"Caption \u00e9";
  room.r_width = 800;
  room.r_height = 600;
  room.r_speed = 60;
  room.r_persistent = true;
  room.r_color = 0x00FF00;
  room.r_showcolor = false;
  room.r_code = u"room_code();";
  room.r_background[0].visible = true;
  room.r_background[0].index = 1;
  room.r_background[0].x = 4;
  room.r_background[0].hspeed = -2;
  room.r_background[0].stretch = true;
  room.r_background[3].foreground = true;
  room.r_enableviews = true;
  room.r_view[1].visible = true;
  room.r_view[1].xview = 10;
  room.r_view[1].wport = 320;
  room.r_view[1].hborder = 5;
  room.r_view[1].vspeed = 3;
  room.r_view[1].index = 1;
  room.r_instances = {{10, 20, 0, 100001, u"hp = 3;"}, {-5, 7, 1, 100009, u""}, {1, 1, 5, 100003, u""}};
  RTile tile;
  tile.x = 16;
  tile.y = 32;
  tile.index = 0;
  tile.xo = 1;
  tile.yo = 2;
  tile.w = 3;
  tile.h = 4;
  tile.depth = 1000;
  tile.id = 10000005;
  room.r_tile = {tile};
  AddTo(g.rooms, u"rm_two");
  g.last_instance_id = 100020;
  g.last_tile_id = 10000005;

  auto stored = std::make_unique<CDataFile>();
  stored->s_filename = u"data.txt";
  stored->s_origname = u"C:\\data.txt";
  stored->s_exists = stored->s_store = true;
  stored->s_data = {'h', 'i', 0, 255};
  stored->s_size = 4;
  stored->s_exportaction = EXPORT_DIR;
  stored->s_exportdir = u"out";
  stored->s_overwrite = true;
  stored->s_freedata = false;
  stored->s_removeend = false;
  g.included_files.Add(std::move(stored), u"data.txt");
  auto absent = std::make_unique<CDataFile>();
  absent->s_filename = u"big.bin";
  absent->s_exists = true;
  absent->s_size = 1000;
  g.included_files.Add(std::move(absent), u"big.bin");

  CGameInformation& gi = g.game_information;
  gi.background_color = 0x101010;
  gi.embed = true;
  gi.caption = u"Help";
  gi.left = 5;
  gi.modal = false;
  gi.text = "{\\rtf1 help}";

  g.library_init_code = {u"global.a = 1;", u""};
  g.room_order = {1, 0};
}

std::vector<uint8_t> BodyBytes(const CGameData& g) {
  CStream body;
  WriteGameBody(g, body, 1);
  return body.Bytes();
}

std::vector<uint8_t> SettingsBytes(const CGameData& g) {
  CStream s;
  g.settings.SaveToStream(s);
  return s.Bytes();
}

void ExpectSameGame(const CGameData& a, const CGameData& b) {
  EXPECT_EQ(a.day_count, b.day_count);
  EXPECT_EQ(a.debug_mode, b.debug_mode);
  EXPECT_EQ(a.seconds, b.seconds);
  EXPECT_EQ(a.support_library_name, b.support_library_name);
  EXPECT_EQ(a.support_library, b.support_library);
  EXPECT_EQ(SettingsBytes(a), SettingsBytes(b));
  EXPECT_EQ(BodyBytes(a), BodyBytes(b));
  // Values derived on reading.
  ASSERT_EQ(a.sprites.Count(), b.sprites.Count());
  for (int i = 0; i < a.sprites.Count(); ++i)
    if (a.sprites.Exists(i)) {
      EXPECT_EQ(a.sprites.Get(i)->i_bbox, b.sprites.Get(i)->i_bbox) << "sprite " << i;
      EXPECT_EQ(a.sprites.Get(i)->i_mask, b.sprites.Get(i)->i_mask) << "sprite " << i;
    }
  EXPECT_EQ(a.fonts.Get(0)->s_FontHeight, b.fonts.Get(0)->s_FontHeight);
}

}  // namespace

TEST(PackRoundTrip, EveryRecordKindReadsBackFieldForField) {
  TempDir dir;
  CGameData original;
  BuildGame(original);
  WriteProject(original, dir.Path() / "project");
  CGameData read;
  ReadProject(dir.Path() / "project", read);
  ExpectSameGame(original, read);

  // A second generation writes the same files.
  WriteProject(read, dir.Path() / "again");
  for (const auto& entry : fs::recursive_directory_iterator(dir.Path() / "project")) {
    if (!entry.is_regular_file()) continue;
    fs::path other = dir.Path() / "again" / fs::relative(entry.path(), dir.Path() / "project");
    EXPECT_EQ(ReadFileBytes(entry.path()), ReadFileBytes(other)) << other;
  }
}

TEST(PackRoundTrip, CodeTextsNameTheirFiles) {
  TempDir dir;
  CGameData original;
  BuildGame(original);
  WriteProject(original, dir.Path());
  CGameData read;
  std::vector<CodeText> codes;
  ReadProject(dir.Path(), read, &codes);
  bool found_script = false;
  for (const CodeText& c : codes) {
    EXPECT_TRUE(fs::exists(c.path)) << c.path;
    if (c.what == "script scr_a") {
      found_script = true;
      EXPECT_EQ(c.line, 1);
      EXPECT_EQ(c.text, ToLatin1(original.scripts.Get(0)->s_text));
    }
  }
  EXPECT_TRUE(found_script);
}

TEST(PackJson, ParseErrorsCarryLineAndColumn) {
  struct Case {
    const char* text;
    int line, column;
  } cases[] = {
      {"{\n  \"a\": 1,\n  oops\n}", 3, 3},
      {"{\"a\": [1, 2,]}", 1, 13},
      {"{\n\"caf\u00e9\": x}", 2, 9},  // columns count characters, not bytes
      {"", 1, 1},
  };
  for (const Case& c : cases) {
    try {
      ParseJsonText(c.text, "f.json");
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const PackError& e) {
      EXPECT_EQ(e.Path(), "f.json");
      EXPECT_EQ(e.Line(), c.line) << c.text;
      EXPECT_EQ(e.Column(), c.column) << c.text;
      EXPECT_EQ(std::string(e.what()).rfind("f.json:" + std::to_string(c.line) + ":", 0), 0u);
    }
  }
}

TEST(PackJson, FieldErrorsNameFileAndKey) {
  Json j = ParseJsonText(R"({"n": "x", "b": 1, "typo": true})", "o.json");
  JsonObject o(j, "o.json");
  EXPECT_THROW(o.Int("n"), PackError);
  EXPECT_THROW(o.Bool("b", false), PackError);
  EXPECT_THROW(o.Str("missing"), PackError);
  try {
    o.Finish();
    ADD_FAILURE() << "unknown key passed";
  } catch (const PackError& e) {
    EXPECT_NE(std::string(e.what()).find("typo"), std::string::npos);
  }
  EXPECT_THROW(Utf8ToLatin1("\xe2\x82\xac", "t.vxs"), PackError);  // the euro sign
  EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8("a\xe9\xff"), "t"), "a\xe9\xff");
}

TEST(PackImage, PngKeepsEveryPixelIncludingTransparentColours) {
  RBitmap bm{3, 2, {0x00FF0000u, 0x7F00FF00u, 0xFF0000FFu, 0x01020304u, 0xFFFFFFFFu, 0u}};
  RBitmap back = DecodePng(EncodePng(bm), "x.png");
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.height, 2);
  EXPECT_EQ(back.pixels, bm.pixels);
  EXPECT_THROW(DecodePng("not a png", "bad.png"), PackError);
  std::string truncated = EncodePng(bm).substr(0, 40);
  EXPECT_THROW(DecodePng(truncated, "short.png"), PackError);
}

TEST(PackMask, KindsAndBoxModes) {
  CSprite s;
  TBitmap32 bm(4, 4);
  bm.SetPixel(1, 1, 0xFF000000u);
  bm.SetPixel(2, 3, 0x10000000u);
  s.i_bitmap = {bm};
  MaskSettings precise;
  ComputeSpriteMasks(s, precise);
  EXPECT_EQ(s.i_bbox, (TRect{1, 1, 2, 3}));
  EXPECT_TRUE(s.i_mask[0].Get(1, 1));
  EXPECT_TRUE(s.i_mask[0].Get(2, 3));
  precise.tolerance = 0x10;  // strictly greater than the tolerance counts
  ComputeSpriteMasks(s, precise);
  EXPECT_EQ(s.i_bbox, (TRect{1, 1, 1, 1}));
  MaskSettings full;
  full.kind = MaskKind::Rectangle;
  full.box_mode = BoxMode::Full;
  ComputeSpriteMasks(s, full);
  EXPECT_EQ(s.i_bbox, (TRect{0, 0, 3, 3}));
  EXPECT_TRUE(s.i_mask[0].Get(3, 0));
  MaskSettings manual;
  manual.box_mode = BoxMode::Manual;
  manual.kind = MaskKind::Rectangle;
  manual.box = TRect{-5, 2, 9, 2};  // clipped to the image
  ComputeSpriteMasks(s, manual);
  EXPECT_EQ(s.i_bbox, (TRect{0, 2, 3, 2}));
  EXPECT_FALSE(s.i_mask[0].Get(0, 1));
}

TEST(PackFont, RasterisedAtlasHoldsEveryGlyph) {
  FontRaster r;
  std::string error;
  ASSERT_TRUE(RasteriseFont("DejaVu Sans", 12, false, false, 32, 127, r, error)) << error;
  EXPECT_EQ(r.first, 32);
  EXPECT_EQ(r.last, 127);
  EXPECT_GT(r.w['A'], 0);
  EXPECT_GT(r.shift['A'], 0);
  EXPECT_EQ(r.w[200], 0);  // outside the range
  EXPECT_EQ(r.shift[32] > 0, true);
  EXPECT_EQ(r.atlas.size(), static_cast<size_t>(r.atlas_width) * r.atlas_height);
  int tallest = 0;
  for (int c = 0; c < 256; ++c) tallest = std::max(tallest, r.h[c]);
  EXPECT_EQ(r.font_height, tallest);
  // Every glyph cell lies inside the atlas and 'A' has ink in its cell.
  for (int c = 32; c <= 127; ++c) {
    EXPECT_LE(r.x[c] + r.w[c], r.atlas_width) << c;
    EXPECT_LE(r.y[c] + r.h[c], r.atlas_height) << c;
  }
  int ink = 0;
  for (int y = r.y['A']; y < r.y['A'] + r.h['A']; ++y)
    for (int x = r.x['A']; x < r.x['A'] + r.w['A']; ++x)
      ink += r.atlas[static_cast<size_t>(y) * r.atlas_width + x] > 0;
  EXPECT_GT(ink, 10);
  // The same request gives the same pixels (the runner relies on it).
  FontRaster again;
  ASSERT_TRUE(RasteriseFont("DejaVu Sans", 12, false, false, 32, 127, again, error));
  EXPECT_EQ(again.atlas, r.atlas);
}

TEST(PackCheck, CheckerSeesEveryCodeTextAndItsErrorsComeBack) {
  TempDir dir;
  CGameData original;
  BuildGame(original);
  WriteProject(original, dir.Path());
  std::vector<std::string> seen;
  CodeChecker checker = [&](const CodeText& code) {
    seen.push_back(code.what);
    std::vector<PackError> errors;
    if (code.text.find("room_code") != std::string::npos)
      errors.emplace_back(code.path, "unknown function room_code", code.line, 1);
    return errors;
  };
  std::vector<PackError> errors = CheckProject(dir.Path(), checker);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Path(), (dir.Path() / "rooms/rm/creation.vxs").string());
  EXPECT_EQ(std::string(errors[0].what()),
            errors[0].Path() + ":1:1: unknown function room_code");
  // Scripts, code actions, creation codes, trigger conditions, library code
  // and expression arguments all reach the checker.
  auto has = [&](const std::string& prefix) {
    for (const std::string& w : seen)
      if (w.rfind(prefix, 0) == 0) return true;
    return false;
  };
  for (const char* prefix : {"script scr_a", "action 1 of object obj create 0",
                             "creation code of room rm", "creation code of instance 100001",
                             "trigger far right", "library initialization code 0",
                             "argument 0 of action 1 of object obj collision 0",
                             "action 3 of time line tl step 5"})
    EXPECT_TRUE(has(prefix)) << prefix;
}
