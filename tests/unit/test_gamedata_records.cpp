// test_gamedata_records.cpp: every resource record of the game data written
// with SaveToStream and read back with LoadFromStream, field for field, and
// the reading rules and edge cases of the stored forms.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "code/code_function.h"
#include "runner/game_data.h"
#include "common/support_stream.h"

namespace {

// Writes rec, reads it into a fresh T and checks the whole stream was used.
template <class T>
T RoundTrip(const T& rec) {
  CStream s;
  rec.SaveToStream(s);
  s.Seek(0);
  T back;
  EXPECT_TRUE(back.LoadFromStream(s));
  EXPECT_EQ(s.Position(), s.Size());
  return back;
}

// The stored bytes of a record.
template <class T>
std::vector<uint8_t> Bytes(const T& rec) {
  CStream s;
  rec.SaveToStream(s);
  return s.Bytes();
}

// A stream whose first integer (the record version) is replaced.
template <class T>
CStream WithVersion(const T& rec, int32_t version) {
  CStream s;
  rec.SaveToStream(s);
  s.Seek(0);
  s.WriteInteger(version);
  s.Seek(0);
  return s;
}

TBitmap32 Image(int w, int h, uint32_t seed) {
  TBitmap32 bm(w, h);
  for (size_t i = 0; i < bm.s_data.size(); ++i) bm.s_data[i] = seed * 2654435761u + static_cast<uint32_t>(i) * 40503u;
  return bm;
}

TMask Mask(int w, int h) {
  TMask m;
  m.i_w = w;
  m.i_h = h;
  m.i_mask.assign(static_cast<size_t>(w) * h, 0);
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y) m.Set(x, y, (x * 3 + y) % 2 == 0);
  m.i_bbox = {1, 0, w - 1, h - 2};
  return m;
}

CAction FullAction() {
  CAction a;
  a.act_libid = 1;
  a.act_id = 603;
  a.act_kind = ACT_CODE;
  a.act_userelative = true;
  a.act_isquestion = true;
  a.act_useapplyto = true;
  a.act_exetype = EXE_CODE;
  a.act_functionname = u"action_execute_script";
  a.act_codestring = u"x = 1;\r\ny = \u00e9;";
  a.act_argumentcount = 3;
  a.act_argtypecount = 8;
  for (int i = 0; i < 8; ++i) a.act_argtype[i] = i * 3 - 1;
  a.act_who = -2;
  a.act_relative = true;
  a.act_argstringcount = 8;
  for (int i = 0; i < 8; ++i) a.act_argstring[i] = u"arg" + std::u16string(1, u'0' + i);
  a.act_isnot = true;
  return a;
}

void ExpectSameAction(const CAction& a, const CAction& b) {
  EXPECT_EQ(a.act_libid, b.act_libid);
  EXPECT_EQ(a.act_id, b.act_id);
  EXPECT_EQ(a.act_kind, b.act_kind);
  EXPECT_EQ(a.act_userelative, b.act_userelative);
  EXPECT_EQ(a.act_isquestion, b.act_isquestion);
  EXPECT_EQ(a.act_useapplyto, b.act_useapplyto);
  EXPECT_EQ(a.act_exetype, b.act_exetype);
  EXPECT_EQ(a.act_functionname, b.act_functionname);
  EXPECT_EQ(a.act_codestring, b.act_codestring);
  EXPECT_EQ(a.act_argumentcount, b.act_argumentcount);
  EXPECT_EQ(a.act_argtypecount, b.act_argtypecount);
  EXPECT_EQ(a.act_argtype, b.act_argtype);
  EXPECT_EQ(a.act_who, b.act_who);
  EXPECT_EQ(a.act_relative, b.act_relative);
  EXPECT_EQ(a.act_argstringcount, b.act_argstringcount);
  EXPECT_EQ(a.act_argstring, b.act_argstring);
  EXPECT_EQ(a.act_isnot, b.act_isnot);
}

void ExpectSameEvent(const CEvent& a, const CEvent& b) {
  ASSERT_EQ(a.Number(), b.Number());
  for (int i = 0; i < a.Number(); ++i) ExpectSameAction(a.e_actions[i], b.e_actions[i]);
}

CEvent EventOf(int actions) {
  CEvent ev;
  for (int i = 0; i < actions; ++i) {
    CAction a = FullAction();
    a.act_id = i;
    ev.e_actions.push_back(a);
  }
  return ev;
}

}  // namespace

// ----- images, masks, sprites, backgrounds -----

TEST(GameDataRecords, ImageRoundTripKeepsEveryPixelAndByteOrder) {
  TBitmap32 bm(2, 1);
  bm.s_data = {0x80112233u, 0xFF445566u};
  CStream s;
  bm.SaveToStream(s);
  // version, w, h, stream length 8, then blue, green, red, alpha.
  ASSERT_EQ(s.Size(), 16u + 8u);
  EXPECT_EQ(s.Bytes()[16], 0x33);
  EXPECT_EQ(s.Bytes()[17], 0x22);
  EXPECT_EQ(s.Bytes()[18], 0x11);
  EXPECT_EQ(s.Bytes()[19], 0x80);
  EXPECT_EQ(RoundTrip(bm), bm);
  TBitmap32 big = Image(7, 5, 3);
  EXPECT_EQ(RoundTrip(big), big);
}

TEST(GameDataRecords, ImageOfZeroSizeHasNoPixelStream) {
  for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 9}, std::pair{9, 0}}) {
    TBitmap32 bm;
    bm.s_w = w;
    bm.s_h = h;
    EXPECT_EQ(Bytes(bm).size(), 12u) << w << "x" << h;
    TBitmap32 back = RoundTrip(bm);
    EXPECT_EQ(back.s_w, w);
    EXPECT_EQ(back.s_h, h);
    EXPECT_TRUE(back.s_data.empty());
  }
}

TEST(GameDataRecords, ImageRejectsBadVersionNegativeSizeAndShortPixelStream) {
  TBitmap32 bm = Image(2, 2, 1);
  CStream wrong = WithVersion(bm, 801);
  EXPECT_FALSE(TBitmap32().LoadFromStream(wrong));

  CStream negative;
  negative.WriteInteger(800);
  negative.WriteInteger(-2);
  negative.WriteInteger(-2);  // w * h > 0, but no such image
  negative.Seek(0);
  EXPECT_FALSE(TBitmap32().LoadFromStream(negative));

  CStream short_pixels;
  short_pixels.WriteInteger(800);
  short_pixels.WriteInteger(2);
  short_pixels.WriteInteger(2);
  short_pixels.WriteStream(CStream(std::vector<uint8_t>(15, 0)));  // needs 16
  short_pixels.Seek(0);
  EXPECT_FALSE(TBitmap32().LoadFromStream(short_pixels));
}

TEST(GameDataRecords, MaskRoundTripKeepsPixelsAndBoxOrder) {
  TMask m = Mask(5, 3);
  TMask back = RoundTrip(m);
  EXPECT_EQ(back, m);
  // The box is stored left, right, bottom, top after the size.
  CStream s;
  m.SaveToStream(s);
  s.Seek(12);
  EXPECT_EQ(s.ReadInteger(), m.i_bbox.left);
  EXPECT_EQ(s.ReadInteger(), m.i_bbox.right);
  EXPECT_EQ(s.ReadInteger(), m.i_bbox.bottom);
  EXPECT_EQ(s.ReadInteger(), m.i_bbox.top);
  // Pixels row by row from the top: (1, 0) is the second Boolean.
  s.Seek(28 + 4);
  EXPECT_EQ(s.ReadBoolean(), m.Get(1, 0));
}

TEST(GameDataRecords, MaskWithSizeBeyondTheStreamFailsBeforeAllocating) {
  CStream s;
  s.WriteInteger(800);
  s.WriteInteger(1 << 30);
  s.WriteInteger(1 << 30);
  for (int i = 0; i < 4; ++i) s.WriteInteger(0);
  s.Seek(0);
  EXPECT_FALSE(TMask().LoadFromStream(s));
}

TEST(GameDataRecords, SpriteRoundTripWithSeparateAndSharedMasks) {
  for (bool sep : {true, false}) {
    CSprite spr;
    spr.i_xorig = -3;
    spr.i_yorig = 17;
    spr.i_sepmasks = sep;
    for (int i = 0; i < 3; ++i) spr.i_bitmap.push_back(Image(6, 4, i));
    for (int i = 0; i < (sep ? 3 : 1); ++i) spr.i_mask.push_back(Mask(6, 4));
    CSprite back = RoundTrip(spr);
    EXPECT_EQ(back.i_xorig, spr.i_xorig);
    EXPECT_EQ(back.i_yorig, spr.i_yorig);
    EXPECT_EQ(back.i_sepmasks, sep);
    ASSERT_EQ(back.Numb(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(back.i_bitmap[i], spr.i_bitmap[i]);
    ASSERT_EQ(back.i_mask.size(), spr.i_mask.size());
    for (size_t i = 0; i < back.i_mask.size(); ++i) EXPECT_EQ(back.i_mask[i], spr.i_mask[i]);
    EXPECT_EQ(back.i_bbox, (TRect{1, 0, 5, 2}));
  }
}

TEST(GameDataRecords, SpriteWithZeroImagesReadsNoMasks) {
  CStream s;
  s.WriteInteger(800);
  s.WriteInteger(4);
  s.WriteInteger(5);
  s.WriteInteger(0);     // no images
  s.WriteBoolean(true);  // separate masks, but none follow
  s.Seek(0);
  CSprite spr;
  ASSERT_TRUE(spr.LoadFromStream(s));
  EXPECT_EQ(s.Position(), s.Size());
  EXPECT_EQ(spr.Numb(), 0);
  EXPECT_TRUE(spr.i_mask.empty());
  EXPECT_EQ(spr.Width(), 1);
  EXPECT_EQ(spr.Height(), 1);
  EXPECT_EQ(spr.i_bbox, TRect());
}

TEST(GameDataRecords, SpriteSeparateMaskBoxIsTheUnionOfTheMaskBoxes) {
  CSprite spr;
  spr.i_sepmasks = true;
  spr.i_bitmap = {Image(10, 10, 0), Image(10, 10, 1)};
  spr.i_mask = {Mask(10, 10), Mask(10, 10)};
  spr.i_mask[0].i_bbox = {2, 3, 4, 5};
  spr.i_mask[1].i_bbox = {6, 1, 7, 2};
  CSprite back = RoundTrip(spr);
  EXPECT_EQ(back.i_bbox, (TRect{2, 1, 7, 5}));
}

TEST(GameDataRecords, SpriteImageCountBeyondTheStreamFails) {
  CStream s;
  s.WriteInteger(800);
  s.WriteInteger(0);
  s.WriteInteger(0);
  s.WriteInteger(0x7FFFFFFF);
  s.Seek(0);
  EXPECT_FALSE(CSprite().LoadFromStream(s));
}

TEST(GameDataRecords, BackgroundRoundTripAndVersion) {
  CBackground bg;
  bg.i_bitmap = Image(3, 2, 9);
  EXPECT_EQ(RoundTrip(bg).i_bitmap, bg.i_bitmap);
  CStream wrong = WithVersion(bg, 800);
  EXPECT_FALSE(CBackground().LoadFromStream(wrong));
}

// ----- sounds, paths, scripts, fonts, triggers -----

TEST(GameDataRecords, SoundRoundTripWithAndWithoutData) {
  CSound snd;
  snd.s_kind = SOUND_3D;
  snd.s_extension = u".wav";
  snd.s_origname = u"C:\\sounds\\boom.wav";
  snd.s_sound = std::make_unique<std::vector<uint8_t>>(std::vector<uint8_t>{1, 2, 3, 0, 255});
  snd.s_effects = 0x15;
  snd.s_volume = 0.25;
  snd.s_pan = -0.75;
  snd.s_preload = false;
  CSound back = RoundTrip(snd);
  EXPECT_EQ(back.s_kind, snd.s_kind);
  EXPECT_EQ(back.s_extension, snd.s_extension);
  EXPECT_EQ(back.s_origname, snd.s_origname);
  ASSERT_TRUE(back.s_sound);
  EXPECT_EQ(*back.s_sound, *snd.s_sound);
  EXPECT_EQ(back.s_effects, snd.s_effects);
  EXPECT_EQ(back.s_volume, snd.s_volume);
  EXPECT_EQ(back.s_pan, snd.s_pan);
  EXPECT_EQ(back.s_preload, snd.s_preload);

  snd.s_sound.reset();
  EXPECT_FALSE(RoundTrip(snd).s_sound);
  EXPECT_FALSE(CSound().LoadFromStream(*std::make_unique<CStream>(WithVersion(snd, 700))));
}

TEST(GameDataRecords, PathRoundTripAndDefaults) {
  CPath fresh;
  EXPECT_EQ(fresh.i_kind, 0);
  EXPECT_TRUE(fresh.i_closed);
  EXPECT_EQ(fresh.i_precision, 4);

  CPath path;
  path.i_kind = 1;
  path.i_closed = false;
  path.i_precision = 7;
  path.i_points = {{1.5, -2.25, 100}, {1e9, 0.125, 37.5}, {0, 0, 0}};
  CPath back = RoundTrip(path);
  EXPECT_EQ(back.i_kind, 1);
  EXPECT_FALSE(back.i_closed);
  EXPECT_EQ(back.i_precision, 7);
  EXPECT_EQ(back.i_points, path.i_points);

  CStream wrong = WithVersion(path, 800);
  EXPECT_FALSE(CPath().LoadFromStream(wrong));
}

TEST(GameDataRecords, PathPointCountBeyondTheStreamFails) {
  CStream s;
  s.WriteInteger(530);
  s.WriteInteger(0);
  s.WriteBoolean(true);
  s.WriteInteger(4);
  s.WriteInteger(2);  // two points need 48 bytes
  s.WriteReal(1);
  s.WriteReal(2);
  s.WriteReal(3);
  s.Seek(0);
  EXPECT_FALSE(CPath().LoadFromStream(s));
  CStream neg;
  neg.WriteInteger(530);
  neg.WriteInteger(0);
  neg.WriteBoolean(true);
  neg.WriteInteger(4);
  neg.WriteInteger(-1);
  neg.Seek(0);
  EXPECT_FALSE(CPath().LoadFromStream(neg));
}

TEST(GameDataRecords, ScriptRoundTripKeepsLatin1Text) {
  CScript scr;
  scr.s_text = u"show_message(\"caf\u00e9\");\r\n{ return argument0; }";
  EXPECT_EQ(RoundTrip(scr).s_text, scr.s_text);
  CStream wrong = WithVersion(scr, 0);
  EXPECT_FALSE(CScript().LoadFromStream(wrong));
}

TEST(GameDataRecords, FontPackedFirstCharacterField) {
  struct Case {
    uint32_t packed;
    int first, charset, aa;
  };
  const Case cases[] = {
      {0x02010020u, 32, 1, 1},  // the documented example
      {0x00000041u, 65, 1, 3},  // zero charset and level take their defaults
      {0x0500FFFFu, 65535, 1, 4},
      {0x01CC0000u, 0, 0xCC, 0},
  };
  for (const Case& c : cases) {
    int32_t first, charset, aa;
    CFont::UnpackFirst(static_cast<int32_t>(c.packed), first, charset, aa);
    EXPECT_EQ(first, c.first) << std::hex << c.packed;
    EXPECT_EQ(charset, c.charset) << std::hex << c.packed;
    EXPECT_EQ(aa, c.aa) << std::hex << c.packed;
  }
  EXPECT_EQ(static_cast<uint32_t>(CFont::PackFirst(32, 1, 1)), 0x02010020u);
}

TEST(GameDataRecords, FontRoundTripWithGlyphsAndAtlas) {
  CFont font;
  font.s_name = u"Arial";
  font.s_size = 14;
  font.s_bold = true;
  font.s_italic = true;
  font.s_charset = 0xA1;
  font.s_AntiAlias = 2;
  font.s_first = 33;
  font.s_last = 200;
  for (int c = 0; c < 256; ++c) {
    font.s_x[c] = c;
    font.s_y[c] = c * 2;
    font.s_w[c] = c % 9;
    font.s_h[c] = c % 17;
    font.s_shift[c] = c % 11;
    font.s_offset[c] = -(c % 3);
  }
  font.s_bw = 5;
  font.s_bh = 3;
  font.s_bytes = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 255};
  CFont back = RoundTrip(font);
  EXPECT_EQ(back.s_name, font.s_name);
  EXPECT_EQ(back.s_size, font.s_size);
  EXPECT_EQ(back.s_bold, font.s_bold);
  EXPECT_EQ(back.s_italic, font.s_italic);
  EXPECT_EQ(back.s_charset, font.s_charset);
  EXPECT_EQ(back.s_AntiAlias, font.s_AntiAlias);
  EXPECT_EQ(back.s_first, font.s_first);
  EXPECT_EQ(back.s_last, font.s_last);
  EXPECT_EQ(back.s_x, font.s_x);
  EXPECT_EQ(back.s_y, font.s_y);
  EXPECT_EQ(back.s_w, font.s_w);
  EXPECT_EQ(back.s_h, font.s_h);
  EXPECT_EQ(back.s_shift, font.s_shift);
  EXPECT_EQ(back.s_offset, font.s_offset);
  EXPECT_EQ(back.s_bw, font.s_bw);
  EXPECT_EQ(back.s_bh, font.s_bh);
  EXPECT_EQ(back.s_bytes, font.s_bytes);
  EXPECT_EQ(back.s_FontHeight, 16);  // the largest glyph height
}

TEST(GameDataRecords, FontAtlasOfTheWrongLengthFails) {
  CFont font;
  font.s_bw = 4;
  font.s_bh = 4;
  font.s_bytes.assign(15, 1);
  CStream s;
  font.SaveToStream(s);
  s.Seek(0);
  EXPECT_FALSE(CFont().LoadFromStream(s));
}

TEST(GameDataRecords, TriggerRoundTripAndDefaultMoment) {
  EXPECT_EQ(CTrigger().i_moment, 1);
  CTrigger t;
  t.i_name = u"door opens";
  t.i_condition = u"return global.open;";
  t.i_moment = 2;
  t.i_constname = u"trig_door";
  CTrigger back = RoundTrip(t);
  EXPECT_EQ(back.i_name, t.i_name);
  EXPECT_EQ(back.i_condition, t.i_condition);
  EXPECT_EQ(back.i_moment, t.i_moment);
  EXPECT_EQ(back.i_constname, t.i_constname);
}

// ----- actions, events, objects, time lines -----

TEST(GameDataRecords, ActionRoundTripKeepsEveryField) {
  CAction a = FullAction();
  ExpectSameAction(RoundTrip(a), a);
  a.act_argtypecount = 0;
  a.act_argstringcount = 0;
  a.act_argtype.fill(0);
  a.act_argstring.fill(VString());
  ExpectSameAction(RoundTrip(a), a);
}

TEST(GameDataRecords, ActionWithMoreThanEightArgumentsFails) {
  for (int which : {0, 1}) {
    CStream s;
    s.WriteInteger(440);
    for (int i = 0; i < 3; ++i) s.WriteInteger(0);
    for (int i = 0; i < 3; ++i) s.WriteBoolean(false);
    s.WriteInteger(EXE_NONE);
    s.WriteString(u"");
    s.WriteString(u"");
    s.WriteInteger(0);
    s.WriteInteger(which == 0 ? 9 : 0);
    for (int i = 0; i < (which == 0 ? 9 : 0); ++i) s.WriteInteger(0);
    s.WriteInteger(-1);
    s.WriteBoolean(false);
    s.WriteInteger(which == 1 ? 9 : 0);
    for (int i = 0; i < (which == 1 ? 9 : 0); ++i) s.WriteString(u"x");
    s.WriteBoolean(false);
    s.Seek(0);
    EXPECT_FALSE(CAction().LoadFromStream(s)) << which;
  }
}

namespace {
std::vector<std::string> g_missing;
void RecordMissing(void*, const std::string& text) { g_missing.push_back(text); }
void NoOpBuiltin(RValue&, CInstance*, CInstance*, int, RValue*) {}
}  // namespace

TEST(GameDataRecords, ActionFunctionIsResolvedOrReportedMissing) {
  int id = Function_Add("gdr_test_action_function", NoOpBuiltin, 2);
  g_missing.clear();
  Action_SetMissingFunctionReporter(RecordMissing, nullptr);

  CAction a;
  a.act_exetype = EXE_FUNCTION;
  a.act_functionname = u"gdr_test_action_function";
  EXPECT_EQ(RoundTrip(a).act_functionid, id);
  EXPECT_TRUE(g_missing.empty());

  a.act_functionname = u"gdr_no_such_function";
  CAction back = RoundTrip(a);
  EXPECT_EQ(back.act_functionid, -1);
  ASSERT_EQ(g_missing.size(), 1u);
  EXPECT_EQ(g_missing[0], "Failed to locate action function gdr_no_such_function");

  // Only execution type 1 looks the name up.
  a.act_exetype = EXE_CODE;
  EXPECT_EQ(RoundTrip(a).act_functionid, -1);
  EXPECT_EQ(g_missing.size(), 1u);
  Action_SetMissingFunctionReporter(nullptr, nullptr);
}

TEST(GameDataRecords, EventRoundTripAndActionCountBeyondStream) {
  CEvent ev = EventOf(3);
  ExpectSameEvent(RoundTrip(ev), ev);
  ExpectSameEvent(RoundTrip(CEvent()), CEvent());

  CStream s;
  s.WriteInteger(400);
  s.WriteInteger(1000000);
  s.Seek(0);
  EXPECT_FALSE(CEvent().LoadFromStream(s));
}

TEST(GameDataRecords, ObjectRoundTripKeepsSettingsAndEventsByTypeAndNumber) {
  CObject obj;
  obj.o_spriteindex = 4;
  obj.o_solid = true;
  obj.o_visible = false;
  obj.o_depth = -100;
  obj.o_persistent = true;
  obj.o_parent = 2;
  obj.o_mask = 7;
  obj.AddEvent(ev_create, 0) = EventOf(2);
  obj.AddEvent(ev_keyboard, 37) = EventOf(1);
  obj.AddEvent(ev_keyboard, 39) = EventOf(3);
  obj.AddEvent(ev_other, 10) = EventOf(1);
  CObject back = RoundTrip(obj);
  EXPECT_EQ(back.o_spriteindex, 4);
  EXPECT_TRUE(back.o_solid);
  EXPECT_FALSE(back.o_visible);
  EXPECT_EQ(back.o_depth, -100);
  EXPECT_TRUE(back.o_persistent);
  EXPECT_EQ(back.o_parent, 2);
  EXPECT_EQ(back.o_mask, 7);
  for (int type = 0; type < kEventTypeCount; ++type) {
    ASSERT_EQ(back.o_events[type].size(), obj.o_events[type].size()) << type;
    for (const auto& [number, ev] : obj.o_events[type]) {
      ASSERT_NE(back.GetEvent(type, number), nullptr) << type << "/" << number;
      ExpectSameEvent(*back.GetEvent(type, number), ev);
    }
  }
  EXPECT_EQ(back.GetEvent(ev_keyboard, 38), nullptr);
}

namespace {
CStream ObjectHeader(int32_t last_type) {
  CStream s;
  s.WriteInteger(430);
  s.WriteInteger(-1);
  s.WriteBoolean(false);
  s.WriteBoolean(true);
  s.WriteInteger(0);
  s.WriteBoolean(false);
  s.WriteInteger(-1);
  s.WriteInteger(-1);
  s.WriteInteger(last_type);
  return s;
}
}  // namespace

TEST(GameDataRecords, ObjectEventCountMinusOneAndEmptyListsHaveNoEvents) {
  CStream none = ObjectHeader(-1);
  none.Seek(0);
  CObject obj;
  ASSERT_TRUE(obj.LoadFromStream(none));
  for (const auto& list : obj.o_events) EXPECT_TRUE(list.empty());

  CStream lists = ObjectHeader(11);
  for (int type = 0; type <= 11; ++type) lists.WriteInteger(-1);  // every list just -1
  lists.Seek(0);
  ASSERT_TRUE(obj.LoadFromStream(lists));
  EXPECT_EQ(lists.Position(), lists.Size());
  for (const auto& list : obj.o_events) EXPECT_TRUE(list.empty());
}

TEST(GameDataRecords, ObjectRejectsUnknownTypeNegativeOrRepeatedNumber) {
  CStream type12 = ObjectHeader(12);
  for (int type = 0; type <= 12; ++type) type12.WriteInteger(-1);
  type12.Seek(0);
  EXPECT_FALSE(CObject().LoadFromStream(type12));

  CStream negative = ObjectHeader(0);
  negative.WriteInteger(-5);
  EventOf(1).SaveToStream(negative);
  negative.WriteInteger(-1);
  negative.Seek(0);
  EXPECT_FALSE(CObject().LoadFromStream(negative));

  CStream repeated = ObjectHeader(0);
  for (int i = 0; i < 2; ++i) {
    repeated.WriteInteger(3);
    EventOf(1).SaveToStream(repeated);
  }
  repeated.WriteInteger(-1);
  repeated.Seek(0);
  EXPECT_FALSE(CObject().LoadFromStream(repeated));
}

TEST(GameDataRecords, ObjectWithHugeEventNumberStaysSmall) {
  CStream s = ObjectHeader(0);
  s.WriteInteger(0x7FFFFFFE);
  EventOf(1).SaveToStream(s);
  s.WriteInteger(-1);
  s.Seek(0);
  CObject obj;
  ASSERT_TRUE(obj.LoadFromStream(s));
  EXPECT_EQ(obj.o_events[0].size(), 1u);
  EXPECT_NE(obj.GetEvent(0, 0x7FFFFFFE), nullptr);
}

TEST(GameDataRecords, TimeLineRoundTripKeepsMoments) {
  CTimeLine tl;
  tl.s_step = {0, 5, 1000};
  tl.s_event = {EventOf(1), EventOf(0), EventOf(2)};
  CTimeLine back = RoundTrip(tl);
  EXPECT_EQ(back.s_step, tl.s_step);
  ASSERT_EQ(back.s_event.size(), 3u);
  for (size_t i = 0; i < 3; ++i) ExpectSameEvent(back.s_event[i], tl.s_event[i]);
  CStream wrong = WithVersion(tl, 400);
  EXPECT_FALSE(CTimeLine().LoadFromStream(wrong));
}

// ----- rooms -----

TEST(GameDataRecords, FreshRoomHasTheDocumentedDefaults) {
  CRoom r;
  EXPECT_TRUE(r.r_caption.empty());
  EXPECT_EQ(r.r_width, 640);
  EXPECT_EQ(r.r_height, 480);
  EXPECT_EQ(r.r_speed, 30);
  EXPECT_FALSE(r.r_persistent);
  EXPECT_EQ(r.r_color, 0xC0C0C0);
  EXPECT_TRUE(r.r_showcolor);
  EXPECT_TRUE(r.r_code.empty());
  for (const CBack& b : r.r_background) {
    EXPECT_FALSE(b.visible);
    EXPECT_FALSE(b.foreground);
    EXPECT_EQ(b.index, -1);
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.y, 0);
    EXPECT_TRUE(b.htiled);
    EXPECT_TRUE(b.vtiled);
    EXPECT_EQ(b.xscale, 1);
    EXPECT_EQ(b.yscale, 1);
    EXPECT_EQ(b.hspeed, 0);
    EXPECT_EQ(b.vspeed, 0);
    EXPECT_EQ(b.blend, 0xFFFFFF);
    EXPECT_EQ(b.alpha, 1);
  }
  EXPECT_FALSE(r.r_enableviews);
  for (const CView& v : r.r_view) {
    EXPECT_FALSE(v.visible);
    EXPECT_EQ(std::vector<int>({v.xview, v.yview, v.wview, v.hview, v.xport, v.yport, v.wport,
                                v.hport, v.hborder, v.vborder, v.hspeed, v.vspeed, v.index}),
              std::vector<int>({0, 0, 640, 480, 0, 0, 640, 480, 32, 32, -1, -1, -1}));
    EXPECT_EQ(v.angle, 0);
  }
  EXPECT_TRUE(r.r_instances.empty());
  EXPECT_TRUE(r.r_tile.empty());
}

namespace {
CRoom FullRoom() {
  CRoom r;
  r.r_caption = u"Level \u00e9";
  r.r_width = 800;
  r.r_height = 600;
  r.r_speed = 60;
  r.r_persistent = true;
  r.r_color = 0x123456;
  r.r_showcolor = false;
  r.r_code = u"global.level = 1;";
  for (int i = 0; i < 8; ++i) {
    CBack& b = r.r_background[i];
    b.visible = i % 2 == 0;
    b.foreground = i % 3 == 0;
    b.index = i - 1;
    b.x = i * 10;
    b.y = -i;
    b.htiled = i != 2;
    b.vtiled = i != 3;
    b.hspeed = i - 4;
    b.vspeed = 4 - i;
  }
  r.r_enableviews = true;
  for (int i = 0; i < 8; ++i) {
    CView& v = r.r_view[i];
    v.visible = i == 1;
    v.xview = i;
    v.yview = i + 1;
    v.wview = 320 + i;
    v.hview = 240 + i;
    v.xport = 2 * i;
    v.yport = 3 * i;
    v.wport = 400;
    v.hport = 300;
    v.hborder = 16;
    v.vborder = 8;
    v.hspeed = 5;
    v.vspeed = -1;
    v.index = i == 1 ? 3 : -1;
  }
  r.r_instances = {{10, 20, 0, 100001, u""}, {-5, 7, 3, 100002, u"speed = 4;"}};
  RTile t;
  t.x = 32;
  t.y = 64;
  t.index = 1;
  t.xo = 16;
  t.yo = 0;
  t.w = 16;
  t.h = 16;
  t.depth = 1000000;
  t.id = 10000001;
  r.r_tile = {t, t};
  r.r_tile[1].id = 10000002;
  r.r_tile[1].depth = -5;
  return r;
}
}  // namespace

TEST(GameDataRecords, RoomRoundTripKeepsEveryStoredField) {
  Game().Clear();
  CRoom r = FullRoom();
  CRoom back = RoundTrip(r);
  EXPECT_EQ(back.r_caption, r.r_caption);
  EXPECT_EQ(back.r_width, r.r_width);
  EXPECT_EQ(back.r_height, r.r_height);
  EXPECT_EQ(back.r_speed, r.r_speed);
  EXPECT_EQ(back.r_persistent, r.r_persistent);
  EXPECT_EQ(back.r_color, r.r_color);
  EXPECT_EQ(back.r_showcolor, r.r_showcolor);
  EXPECT_EQ(back.r_code, r.r_code);
  for (int i = 0; i < 8; ++i) {
    const CBack& a = r.r_background[i];
    const CBack& b = back.r_background[i];
    EXPECT_EQ(b.visible, a.visible);
    EXPECT_EQ(b.foreground, a.foreground);
    EXPECT_EQ(b.index, a.index);
    EXPECT_EQ(b.x, a.x);
    EXPECT_EQ(b.y, a.y);
    EXPECT_EQ(b.htiled, a.htiled);
    EXPECT_EQ(b.vtiled, a.vtiled);
    EXPECT_EQ(b.hspeed, a.hspeed);
    EXPECT_EQ(b.vspeed, a.vspeed);
    EXPECT_EQ(b.stretch, a.stretch);
  }
  EXPECT_EQ(back.r_enableviews, r.r_enableviews);
  for (int i = 0; i < 8; ++i) {
    const CView& a = r.r_view[i];
    const CView& b = back.r_view[i];
    EXPECT_EQ(std::vector<int>({b.visible, b.xview, b.yview, b.wview, b.hview, b.xport, b.yport,
                                b.wport, b.hport, b.hborder, b.vborder, b.hspeed, b.vspeed, b.index}),
              std::vector<int>({a.visible, a.xview, a.yview, a.wview, a.hview, a.xport, a.yport,
                                a.wport, a.hport, a.hborder, a.vborder, a.hspeed, a.vspeed, a.index}));
  }
  ASSERT_EQ(back.r_instances.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(back.r_instances[i].x, r.r_instances[i].x);
    EXPECT_EQ(back.r_instances[i].y, r.r_instances[i].y);
    EXPECT_EQ(back.r_instances[i].index, r.r_instances[i].index);
    EXPECT_EQ(back.r_instances[i].id, r.r_instances[i].id);
    EXPECT_EQ(back.r_instances[i].code, r.r_instances[i].code);
  }
  ASSERT_EQ(back.r_tile.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const RTile& a = r.r_tile[i];
    const RTile& b = back.r_tile[i];
    EXPECT_EQ(b.x, a.x);
    EXPECT_EQ(b.y, a.y);
    EXPECT_EQ(b.index, a.index);
    EXPECT_EQ(std::vector<int>({b.xo, b.yo, b.w, b.h, b.id}), std::vector<int>({a.xo, a.yo, a.w, a.h, a.id}));
    EXPECT_EQ(b.depth, a.depth);
  }
}

TEST(GameDataRecords, RoomReadingAppliesBlendAlphaAngleAndTileDefaults) {
  Game().Clear();
  CRoom r = FullRoom();
  for (CBack& b : r.r_background) {
    b.blend = 0x00FF00;
    b.alpha = 0.5;
  }
  r.r_view[0].angle = 45;
  for (RTile& t : r.r_tile) {
    t.xscale = 3;
    t.yscale = 2;
    t.blend = 0xFF;
    t.alpha = 0.1;
    t.visible = false;
  }
  CRoom back = RoundTrip(r);
  for (const CBack& b : back.r_background) {
    EXPECT_EQ(b.blend, 0xFFFFFF);
    EXPECT_EQ(b.alpha, 1.0);
  }
  EXPECT_EQ(back.r_view[0].angle, 0.0);
  for (const RTile& t : back.r_tile) {
    EXPECT_EQ(t.xscale, 1.0);
    EXPECT_EQ(t.yscale, 1.0);
    EXPECT_EQ(t.blend, 0xFFFFFF);
    EXPECT_EQ(t.alpha, 1.0);
    EXPECT_TRUE(t.visible);
  }
}

TEST(GameDataRecords, RoomStretchScalesFollowTheBackgroundResource) {
  Game().Clear();
  auto bg = std::make_unique<CBackground>();
  bg->i_bitmap = Image(200, 100, 1);
  Game().backgrounds.Add(std::move(bg), u"bg_sky");
  auto flat = std::make_unique<CBackground>();
  flat->i_bitmap.s_w = 0;  // no positive size: the scales stay 1
  flat->i_bitmap.s_h = 0;
  Game().backgrounds.Add(std::move(flat), u"bg_empty");

  CRoom r;
  r.r_width = 800;
  r.r_height = 300;
  r.r_background[0] = CBack{.index = 0, .stretch = true};
  r.r_background[1] = CBack{.index = 0, .stretch = false};
  r.r_background[2] = CBack{.index = 1, .stretch = true};
  r.r_background[3] = CBack{.index = 9, .stretch = true};  // missing resource
  CRoom back = RoundTrip(r);
  EXPECT_EQ(back.r_background[0].xscale, 4.0);
  EXPECT_EQ(back.r_background[0].yscale, 3.0);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(back.r_background[i].xscale, 1.0) << i;
    EXPECT_EQ(back.r_background[i].yscale, 1.0) << i;
    EXPECT_EQ(back.r_background[i].stretch, r.r_background[i].stretch) << i;
  }
  Game().Clear();
}

TEST(GameDataRecords, EmptyRoomLoadsWithNoInstancesOrTiles) {
  Game().Clear();
  CRoom back = RoundTrip(CRoom());
  EXPECT_TRUE(back.r_instances.empty());
  EXPECT_TRUE(back.r_tile.empty());
}

TEST(GameDataRecords, RoomWithMoreThanEightLayersKeepsTheFirstEight) {
  Game().Clear();
  CStream s;
  s.WriteInteger(541);
  s.WriteString(u"");
  for (int v : {640, 480, 30}) s.WriteInteger(v);
  s.WriteBoolean(false);
  s.WriteInteger(0);
  s.WriteBoolean(true);
  s.WriteString(u"");
  s.WriteInteger(9);
  for (int i = 0; i < 9; ++i) {
    s.WriteBoolean(true);
    s.WriteBoolean(false);
    s.WriteInteger(i);  // index
    for (int k = 0; k < 2; ++k) s.WriteInteger(0);
    for (int k = 0; k < 2; ++k) s.WriteBoolean(true);
    for (int k = 0; k < 2; ++k) s.WriteInteger(0);
    s.WriteBoolean(false);
  }
  s.WriteBoolean(false);
  s.WriteInteger(0);  // views
  s.WriteInteger(0);  // instances
  s.WriteInteger(0);  // tiles
  s.Seek(0);
  CRoom r;
  ASSERT_TRUE(r.LoadFromStream(s));
  EXPECT_EQ(s.Position(), s.Size());
  EXPECT_EQ(r.r_background[7].index, 7);
  EXPECT_EQ(r.r_view[0].wview, 640);  // untouched defaults
}

TEST(GameDataRecords, RoomCountsBeyondTheStreamFail) {
  Game().Clear();
  CRoom r = FullRoom();
  CStream s;
  r.SaveToStream(s);
  // The tile count is the last integer before the 2 tiles of 36 bytes.
  size_t tile_count_at = s.Size() - 2 * 36 - 4;
  for (int32_t bad : {-1, 3, 0x7FFFFFFF}) {
    CStream copy(s.Bytes());
    copy.Seek(tile_count_at);
    copy.WriteInteger(bad);
    copy.Seek(0);
    EXPECT_FALSE(CRoom().LoadFromStream(copy)) << bad;
  }
}

// ----- included files, extension packages, game information, settings -----

TEST(GameDataRecords, DataFileDefaultsAndRoundTrip) {
  CDataFile fresh;
  EXPECT_TRUE(fresh.s_filename.empty());
  EXPECT_TRUE(fresh.s_origname.empty());
  EXPECT_FALSE(fresh.s_exists);
  EXPECT_EQ(fresh.s_size, 0);
  EXPECT_FALSE(fresh.s_store);
  EXPECT_TRUE(fresh.s_data.empty());
  EXPECT_EQ(fresh.s_exportaction, 2);
  EXPECT_TRUE(fresh.s_exportdir.empty());
  EXPECT_FALSE(fresh.s_overwrite);
  EXPECT_TRUE(fresh.s_freedata);
  EXPECT_TRUE(fresh.s_removeend);

  for (bool store : {true, false}) {
    CDataFile f;
    f.s_filename = u"level1.txt";
    f.s_origname = u"C:\\work\\level1.txt";
    f.s_exists = true;
    f.s_size = 4;
    f.s_store = store;
    if (store) f.s_data = {'a', 'b', 0, 'c'};
    f.s_exportaction = 3;
    f.s_exportdir = u"data\\levels";
    f.s_overwrite = true;
    f.s_freedata = false;
    f.s_removeend = false;
    CDataFile back = RoundTrip(f);
    EXPECT_EQ(back.s_filename, f.s_filename);
    EXPECT_EQ(back.s_origname, f.s_origname);
    EXPECT_EQ(back.s_exists, f.s_exists);
    EXPECT_EQ(back.s_size, f.s_size);
    EXPECT_EQ(back.s_store, f.s_store);
    EXPECT_EQ(back.s_data, f.s_data);
    EXPECT_EQ(back.s_exportaction, f.s_exportaction);
    EXPECT_EQ(back.s_exportdir, f.s_exportdir);
    EXPECT_EQ(back.s_overwrite, f.s_overwrite);
    EXPECT_EQ(back.s_freedata, f.s_freedata);
    EXPECT_EQ(back.s_removeend, f.s_removeend);
  }
}

namespace {
CExtensionPackage FullPackage() {
  CExtensionPackage pkg;
  pkg.s_name = u"Physics";
  pkg.s_folder = u"phys";
  pkg.s_key = -12345;
  CExtensionFile lib;
  lib.s_filename = u"phys.so";
  lib.s_kind = EXT_DLL;
  lib.s_init = u"phys_init";
  lib.s_final = u"phys_end";
  CExtensionFunction f;
  f.s_name = u"phys_step";
  f.s_extname = u"PhysStep";
  f.s_kind = 12;
  f.s_id = 3;
  f.s_argcount = 2;
  for (int i = 0; i < 17; ++i) f.s_argtype[i] = i % 2;
  f.s_returntype = 1;
  lib.s_functions.push_back(f);
  lib.s_constants.push_back({u"PHYS_G", u"9.81"});
  lib.s_data = {0x7F, 'E', 'L', 'F', 1, 2, 3};
  CExtensionFile script;
  script.s_filename = u"phys.vxs";
  script.s_kind = EXT_SCRIPT;
  CExtensionFunction sf;
  sf.s_name = u"phys_add";
  sf.s_extname = u"phys_add";
  sf.s_id = 4;
  sf.s_argcount = 2;
  script.s_functions.push_back(sf);
  std::string text = "#define phys_add\nreturn argument0 + argument1;\n";
  script.s_data.assign(text.begin(), text.end());
  CExtensionFile other;
  other.s_filename = u"readme.txt";
  other.s_kind = EXT_NOBYTES;
  pkg.s_includes = {lib, script, other};
  return pkg;
}

CExtensionPackage LoadPackage(const CExtensionPackage& pkg, const std::string& temp_dir = "") {
  CStream s;
  pkg.SaveToStream(s);
  s.Seek(0);
  CExtensionPackage back;
  EXPECT_TRUE(back.LoadFromStream(s, temp_dir));
  EXPECT_EQ(s.Position(), s.Size());
  return back;
}
}  // namespace

TEST(GameDataRecords, ExtensionPackageRoundTripKeepsRecordsAndFileBytes) {
  CExtensionPackage pkg = FullPackage();
  CExtensionPackage back = LoadPackage(pkg);
  EXPECT_EQ(back.s_name, pkg.s_name);
  EXPECT_EQ(back.s_folder, pkg.s_folder);
  EXPECT_EQ(back.s_key, pkg.s_key);
  ASSERT_EQ(back.s_includes.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const CExtensionFile& a = pkg.s_includes[i];
    const CExtensionFile& b = back.s_includes[i];
    EXPECT_EQ(b.s_filename, a.s_filename);
    EXPECT_EQ(b.s_kind, a.s_kind);
    EXPECT_EQ(b.s_init, a.s_init);
    EXPECT_EQ(b.s_final, a.s_final);
    EXPECT_EQ(b.s_data, a.s_data);
    ASSERT_EQ(b.s_functions.size(), a.s_functions.size());
    for (size_t k = 0; k < a.s_functions.size(); ++k) {
      EXPECT_EQ(b.s_functions[k].s_name, a.s_functions[k].s_name);
      EXPECT_EQ(b.s_functions[k].s_extname, a.s_functions[k].s_extname);
      EXPECT_EQ(b.s_functions[k].s_kind, a.s_functions[k].s_kind);
      EXPECT_EQ(b.s_functions[k].s_id, a.s_functions[k].s_id);
      EXPECT_EQ(b.s_functions[k].s_argcount, a.s_functions[k].s_argcount);
      EXPECT_EQ(b.s_functions[k].s_argtype, a.s_functions[k].s_argtype);
      EXPECT_EQ(b.s_functions[k].s_returntype, a.s_functions[k].s_returntype);
    }
    ASSERT_EQ(b.s_constants.size(), a.s_constants.size());
    for (size_t k = 0; k < a.s_constants.size(); ++k) {
      EXPECT_EQ(b.s_constants[k].s_name, a.s_constants[k].s_name);
      EXPECT_EQ(b.s_constants[k].s_value, a.s_constants[k].s_value);
    }
  }
  // The script file's text became the script of its function.
  EXPECT_EQ(back.s_includes[1].s_functions[0].s_script, u"return argument0 + argument1;\n");
}

TEST(GameDataRecords, ExtensionPayloadKeepsTheByteAfterTheKeyAndSubstitutesTheRest) {
  CExtensionPackage pkg = FullPackage();
  CStream s;
  pkg.SaveToStream(s);
  // The payload is the last stream of the record; rebuild it plainly.
  CStream plain;
  plain.WriteInteger(pkg.s_key);
  plain.WriteStreamC(CStream(pkg.s_includes[0].s_data));
  plain.WriteStreamC(CStream(pkg.s_includes[1].s_data));
  const std::vector<uint8_t>& all = s.Bytes();
  std::vector<uint8_t> stored(all.end() - plain.Size(), all.end());
  ASSERT_EQ(stored.size(), plain.Size());
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(stored[i], plain.Bytes()[i]) << i;
  CStream check(stored);
  check.Decrypt(pkg.s_key, 5, 0);
  EXPECT_EQ(check.Bytes(), plain.Bytes());
}

TEST(GameDataRecords, ExtensionFunctionReadingRules) {
  struct Case {
    int32_t stored, expected;
  };
  for (Case c : {Case{0, 2}, Case{3, 2}, Case{1, 1}, Case{2, 2}, Case{-7, 2}}) {
    CExtensionFunction f;
    f.s_returntype = c.stored;
    CStream s;
    f.SaveToStream(s);
    s.Seek(0);
    CExtensionFunction back;
    ASSERT_TRUE(back.LoadFromStream(s));
    EXPECT_EQ(back.s_returntype, c.expected) << c.stored;
  }
  CExtensionPackage pkg;
  pkg.s_name = u"p";
  CExtensionFile file;
  file.s_kind = EXT_NOBYTES;
  CExtensionFunction f;
  f.s_name = u"  spaced_name \t";
  f.s_extname = u"   ";
  f.s_argcount = 5;
  f.s_argtype.fill(1);
  CExtensionFunction g;
  g.s_name = u"four";
  g.s_extname = u" Four ";
  g.s_argcount = 4;
  g.s_argtype.fill(1);
  file.s_functions = {f, g};
  pkg.s_includes = {file};
  CExtensionPackage back = LoadPackage(pkg);
  const auto& fs = back.s_includes[0].s_functions;
  EXPECT_EQ(fs[0].s_name, u"spaced_name");
  EXPECT_EQ(fs[0].s_extname, u"spaced_name");
  for (int32_t t : fs[0].s_argtype) EXPECT_EQ(t, 2);
  EXPECT_EQ(fs[1].s_extname, u"Four");
  for (int32_t t : fs[1].s_argtype) EXPECT_EQ(t, 1);
}

TEST(GameDataRecords, ExtensionFilesOfKindOneAndFourAreWrittenUnderThePackageFolder) {
  std::string dir = ::testing::TempDir() + "gdr_ext_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  CExtensionPackage pkg = FullPackage();
  CExtensionFile data;
  data.s_filename = u"table.dat";
  data.s_kind = EXT_OTHER;
  data.s_data = {9, 8, 7};
  pkg.s_includes.push_back(data);
  CExtensionFile escape;
  escape.s_filename = u"../escaped.dat";  // never written outside the folder
  escape.s_kind = EXT_OTHER;
  escape.s_data = {1};
  pkg.s_includes.push_back(escape);
  LoadPackage(pkg, dir);
  auto read = [](const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ(read(std::filesystem::path(dir) / "phys" / "phys.so"), pkg.s_includes[0].s_data);
  EXPECT_EQ(read(std::filesystem::path(dir) / "phys" / "table.dat"), data.s_data);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir) / "phys" / "phys.vxs"));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir) / "escaped.dat"));
  std::filesystem::remove_all(dir);
}

TEST(GameDataRecords, ExtensionScriptFileSplitsAtDefines) {
  CExtensionFile file;
  file.s_functions.resize(3);
  file.s_functions[0].s_name = u"a";
  file.s_functions[1].s_name = u"b";
  file.s_functions[2].s_name = u"c";
  file.AssignScripts(u"ignored\n#define a\nreturn 1;\n  #define   b  \r\nx = 2;\r\nreturn x;");
  EXPECT_EQ(file.s_functions[0].s_script, u"return 1;\n");
  EXPECT_EQ(file.s_functions[1].s_script, u"x = 2;\r\nreturn x;");
  EXPECT_EQ(file.s_functions[2].s_script, u"");
}

TEST(GameDataRecords, GameInformationRoundTrip) {
  CGameInformation info;
  info.background_color = 0x00FFFF;
  info.embed = true;
  info.caption = u"Help";
  info.left = 10;
  info.top = 20;
  info.width = 300;
  info.height = 200;
  info.border = false;
  info.sizeable = false;
  info.stay_on_top = true;
  info.modal = false;
  info.text = "{\\rtf1\\ansi Hello}";
  CGameInformation back = RoundTrip(info);
  EXPECT_EQ(back.background_color, info.background_color);
  EXPECT_EQ(back.embed, info.embed);
  EXPECT_EQ(back.caption, info.caption);
  EXPECT_EQ(back.left, info.left);
  EXPECT_EQ(back.top, info.top);
  EXPECT_EQ(back.width, info.width);
  EXPECT_EQ(back.height, info.height);
  EXPECT_EQ(back.border, info.border);
  EXPECT_EQ(back.sizeable, info.sizeable);
  EXPECT_EQ(back.stay_on_top, info.stay_on_top);
  EXPECT_EQ(back.modal, info.modal);
  EXPECT_EQ(back.text, info.text);
}

TEST(GameDataRecords, SettingsInitialValuesAndRoundTrip) {
  GameSettings d;
  EXPECT_FALSE(d.full_screen);
  EXPECT_TRUE(d.show_cursor);
  EXPECT_EQ(d.scale, 100);
  EXPECT_EQ(d.window_color, 0xFFFFFF);
  EXPECT_TRUE(d.no_screen_saver);
  EXPECT_TRUE(d.close_button_as_esc);
  EXPECT_TRUE(d.show_progress_bar);
  EXPECT_EQ(d.image_alpha, 255);
  EXPECT_TRUE(d.stretch_bar);
  EXPECT_TRUE(d.show_errors);
  EXPECT_EQ(d.code_flags, 2);

  GameSettings g;
  g.full_screen = g.interpolate = g.no_border = true;
  g.show_cursor = false;
  g.scale = -1;
  g.sizeable = g.stay_on_top = true;
  g.window_color = 0x102030;
  g.set_display_mode = true;
  g.color_depth = 2;
  g.resolution = 6;
  g.frequency = 5;
  g.no_caption_buttons = g.synchronization = true;
  g.no_screen_saver = g.f4_switches_screen = g.f1_shows_information = false;
  g.esc_ends_game = g.f5_saves_f6_loads = g.f9_screenshot = g.close_button_as_esc = false;
  g.priority = 2;
  g.freeze_when_inactive = true;
  g.show_progress_bar = true;
  auto bmp = std::make_shared<RBitmap>();
  bmp->width = 2;
  bmp->height = 1;
  bmp->pixels = {0xFFFF0000u, 0xFF00FF00u};
  g.bar_front_image = bmp;
  g.loading_image = bmp;
  g.image_transparent = true;
  g.image_alpha = 128;
  g.stretch_bar = false;
  g.show_errors = false;
  g.log_errors = g.abort_on_errors = true;
  g.code_flags = 1;
  CStream s;
  g.SaveToStream(s);
  s.Seek(0);
  GameSettings b;
  b.LoadFromStream(s);
  EXPECT_EQ(s.Position(), s.Size());
  EXPECT_EQ(Bytes(b), Bytes(g));
  EXPECT_EQ(b.scale, -1);
  EXPECT_EQ(b.priority, 2);
  EXPECT_EQ(b.code_flags, 1);
  EXPECT_FALSE(b.bar_back_image);
  ASSERT_TRUE(b.bar_front_image);
  EXPECT_EQ(b.bar_front_image->width, 2);
  EXPECT_EQ(b.bar_front_image->pixels[0] & 0xFFFFFF, 0xFF0000u);

  // Without the progress bar no bar images are stored.
  g.show_progress_bar = false;
  CStream s2;
  g.SaveToStream(s2);
  s2.Seek(0);
  GameSettings b2;
  b2.LoadFromStream(s2);
  EXPECT_EQ(s2.Position(), s2.Size());
  EXPECT_FALSE(b2.bar_front_image);
  ASSERT_TRUE(b2.loading_image);
}

// ----- tables -----

TEST(GameDataRecords, ResourceTableLookups) {
  ResourceTable<CScript> t;
  t.Add(std::make_unique<CScript>(), u"scr_a");
  t.Add(nullptr, u"");
  t.Add(std::make_unique<CScript>(), u"scr_b");
  t.Add(std::make_unique<CScript>(), u"scr_a");
  EXPECT_EQ(t.Count(), 4);
  EXPECT_NE(t.Get(0), nullptr);
  EXPECT_EQ(t.Get(1), nullptr);
  EXPECT_EQ(t.Get(-1), nullptr);
  EXPECT_EQ(t.Get(4), nullptr);
  EXPECT_EQ(t.Find(u"scr_a"), 0);
  EXPECT_EQ(t.Find(u"scr_b"), 2);
  EXPECT_EQ(t.Find(u"scr_c"), -1);
  EXPECT_EQ(t.Find(u""), -1);  // a missing slot is never found
  EXPECT_EQ(t.Name(2), u"scr_b");
  for (int i : {-1, 1, 4, 1000}) EXPECT_EQ(t.Name(i), u"<undefined>") << i;
  EXPECT_TRUE(t.Delete(0));
  EXPECT_FALSE(t.Delete(0));
  EXPECT_EQ(t.Find(u"scr_a"), 3);
}

TEST(GameDataRecords, RoomOrderWalk) {
  CGameData& g = Game();
  g.Clear();
  EXPECT_EQ(g.RoomFirst(), -1);
  EXPECT_EQ(g.RoomLast(), -1);
  for (int i = 0; i < 4; ++i) g.rooms.Add(std::make_unique<CRoom>(), u"r" + std::u16string(1, u'0' + i));
  g.rooms.Delete(3);
  g.room_order = {2, 0, 1};
  EXPECT_EQ(g.RoomFirst(), 2);
  EXPECT_EQ(g.RoomLast(), 1);
  EXPECT_EQ(g.RoomNext(2), 0);
  EXPECT_EQ(g.RoomNext(0), 1);
  EXPECT_EQ(g.RoomNext(1), -1);
  EXPECT_EQ(g.RoomPrevious(2), -1);
  EXPECT_EQ(g.RoomPrevious(1), 0);
  EXPECT_EQ(g.RoomNext(3), -1);  // deleted
  EXPECT_EQ(g.RoomNext(7), -1);  // never existed
  g.Clear();
}

namespace {
int32_t ResolveOneScript(void*, const VString& name) {
  return name == u"gdr_script" ? kActionScriptBase + 3 : -1;
}
}  // namespace

// A function action may name one of the game's scripts: it resolves to the
// script (before a builtin of the same name) and is not reported missing.
TEST(GameDataRecords, ActionFunctionNamingAScriptIsNotMissing) {
  Function_Add("gdr_script", NoOpBuiltin, 0);
  g_missing.clear();
  Action_SetMissingFunctionReporter(RecordMissing, nullptr);
  Action_SetScriptResolver(ResolveOneScript, nullptr);
  CAction a;
  a.act_exetype = EXE_FUNCTION;
  a.act_functionname = u"gdr_script";
  EXPECT_EQ(RoundTrip(a).act_functionid, kActionScriptBase + 3);
  EXPECT_TRUE(g_missing.empty());
  Action_SetScriptResolver(nullptr, nullptr);
  Action_SetMissingFunctionReporter(nullptr, nullptr);
}
