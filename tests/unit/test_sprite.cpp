// test_sprite.cpp: sprites made at run time: strips and animated GIFs from
// files, sprite files, sprites from bitmaps and other sprites, copies,
// textures through the renderer hook, and the sprite functions of game code
// over the sprite table.
#include <gtest/gtest.h>

#include <algorithm>

#include "motion/image_hooks.h"
#include "motion/image_load.h"
#include "motion/sprite_class.h"
#include "runner/game_data.h"
#include "common/support_file.h"
#include "tests/unit/image_test_support.h"
#include "tests/unit/test_function_util.h"

namespace {

using image_test::GifFrame;
using image_test::ScratchDir;

constexpr TColor32 kRed = Color32(255, 0, 0), kBlue = Color32(0, 0, 255),
                   kGreen = Color32(0, 255, 0);

// A strip of width w: column x has red x, the bottom-left pixel is green.
TBitmap32 Strip(int32_t w, int32_t h) {
  TBitmap32 bm(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) bm.SetPixel(x, y, Color32(static_cast<uint32_t>(x), 0, 100));
  bm.SetPixel(0, h - 1, kGreen);
  return bm;
}

class SpriteTest : public testing::Test {
 protected:
  void SetUp() override {
    Game().sprites.Clear();
    Image_ClearRendererHooks();
  }
  void TearDown() override {
    Game().sprites.Clear();
    Image_ClearRendererHooks();
  }
  ScratchDir dir_{"sprite"};
};

TEST_F(SpriteTest, StripIsCutIntoEqualFramesAndTheRestDropped) {
  Image_SavePng(dir_.File("strip.png"), Strip(100, 2));
  CSprite s;
  ASSERT_TRUE(s.LoadFromFile(dir_.File("strip.png"), 3, false, false, 4, 5));
  ASSERT_EQ(s.Numb(), 3);
  EXPECT_EQ(s.Width(), 33);
  EXPECT_EQ(s.Height(), 2);
  EXPECT_EQ(s.i_bitmap[2].GetPixel(32, 0), Color32(98, 0, 100));  // column 99 dropped
  EXPECT_EQ(s.i_bitmap[1].GetPixel(0, 1), Color32(33, 0, 100));
  EXPECT_EQ(s.i_xorig, 4);
  EXPECT_EQ(s.i_yorig, 5);
  // One precise mask with the automatic box, tolerance 0.
  ASSERT_EQ(s.i_mask.size(), 1u);
  EXPECT_FALSE(s.i_sepmasks);
  EXPECT_EQ(s.i_bbox, (TRect{0, 0, 32, 1}));
  EXPECT_EQ(s.i_tex, (std::vector<int32_t>{-1, -1, -1}));

  CSprite one;
  ASSERT_TRUE(one.LoadFromFile(dir_.File("strip.png"), 0, false, false, 0, 0));
  EXPECT_EQ(one.Numb(), 1);
  EXPECT_EQ(one.Width(), 100);
  // More frames than columns: no 0-pixel frames, the load fails.
  EXPECT_FALSE(one.LoadFromFile(dir_.File("strip.png"), 101, false, false, 0, 0));
  EXPECT_EQ(one.Width(), 100);
}

TEST_F(SpriteTest, RemoveBackgroundKeysTheBottomLeftColour) {
  TBitmap32 bm(3, 2, kGreen);
  bm.SetPixel(1, 0, kRed);
  Image_SavePng(dir_.File("key.png"), bm);
  CSprite s;
  ASSERT_TRUE(s.LoadFromFile(dir_.File("key.png"), 1, true, false, 0, 0));
  // Keyed pixels take the red of a neighbour (extension), alpha 0.
  EXPECT_EQ(s.i_bitmap[0].GetPixel(0, 0), kRed & 0xFFFFFF);
  EXPECT_EQ(s.i_bitmap[0].GetPixel(1, 1), kRed & 0xFFFFFF);
  EXPECT_EQ(s.i_bitmap[0].GetPixel(0, 1), kGreen & 0xFFFFFF);
  EXPECT_EQ(s.i_bitmap[0].GetPixel(1, 0), kRed);
  EXPECT_EQ(s.i_bbox, (TRect{1, 0, 1, 0}));
  ASSERT_TRUE(s.LoadFromFile(dir_.File("key.png"), 1, true, true, 0, 0));
  // Five transparent neighbours take 32 each.
  EXPECT_EQ(Color32Alpha(s.i_bitmap[0].GetPixel(1, 0)), 95u);
}

TEST_F(SpriteTest, GifByExtensionGivesOneImagePerFrame) {
  std::vector<GifFrame> frames(2);
  frames[0] = {0, 0, 2, 1, {}, NO_TRANSPARENT_COLOR, DISPOSE_DO_NOT, {1, 1}};
  frames[1] = {1, 0, 1, 1, {}, 0, DISPOSAL_UNSPECIFIED, {0}};  // all transparent
  image_test::WriteFile(dir_.File("anim.GIF"),
                        image_test::MakeGif(2, 2, {{0, 0, 0}, {0, 0, 255}}, frames));
  CSprite s;
  ASSERT_TRUE(s.LoadFromFile(dir_.File("anim.GIF"), 7, true, false, 0, 0));
  ASSERT_EQ(s.Numb(), 2);
  // The canvas colour is the bottom-left key: it becomes transparent.
  EXPECT_EQ(s.i_bitmap[0].GetPixel(0, 0), kBlue);
  EXPECT_EQ(Color32Alpha(s.i_bitmap[0].GetPixel(0, 1)), 0u);
  EXPECT_EQ(s.i_bitmap[1].GetPixel(1, 0), kBlue);  // left in place
  EXPECT_EQ(s.i_bbox, (TRect{0, 0, 1, 0}));
  // The same bytes under another extension: a strip of the first frame.
  image_test::WriteFile(dir_.File("anim.png"),
                        image_test::MakeGif(2, 2, {{0, 0, 0}, {0, 0, 255}}, frames));
  ASSERT_TRUE(s.LoadFromFile(dir_.File("anim.png"), 2, false, false, 0, 0));
  EXPECT_EQ(s.Numb(), 2);
  EXPECT_EQ(s.Width(), 1);
}

TEST_F(SpriteTest, FailedLoadsLeaveTheSpriteAsItWas) {
  Image_SavePng(dir_.File("a.png"), Strip(4, 4));
  image_test::WriteFile(dir_.File("bad.png"), {0x89, 'P', 'N', 'G', 1, 2, 3});
  image_test::WriteFile(dir_.File("bad.gif"), {'G', 'I', 'F', '8', '9', 'a', 1});
  CSprite s;
  ASSERT_TRUE(s.LoadFromFile(dir_.File("a.png"), 2, false, false, 1, 1));
  CSprite before = s;
  for (const char* name : {"missing.png", "bad.png", "bad.gif", ""}) {
    EXPECT_FALSE(s.LoadFromFile(dir_.File(name), 1, true, true, 9, 9)) << name;
    EXPECT_FALSE(s.LoadFromSpriteFile(dir_.File(name))) << name;
  }
  EXPECT_EQ(s.i_bitmap, before.i_bitmap);
  EXPECT_EQ(s.i_xorig, 1);
  EXPECT_EQ(s.i_mask, before.i_mask);
}

TEST_F(SpriteTest, SpriteFileRoundTripAppliesItsMaskSettings) {
  CSprite s;
  s.i_bitmap = {Strip(6, 4), Strip(6, 4)};
  s.i_xorig = 2;
  s.i_yorig = 3;
  s.i_sepmasks = true;
  ASSERT_TRUE(
      s.SaveToSpriteFile(dir_.File("s.vxspr"), kMaskRectangle, 0, kBoxManual, TRect{1, 1, 3, 2}));
  CSprite back;
  ASSERT_TRUE(back.LoadFromSpriteFile(dir_.File("s.vxspr")));
  EXPECT_EQ(back.i_bitmap, s.i_bitmap);
  EXPECT_EQ(back.i_xorig, 2);
  EXPECT_EQ(back.i_yorig, 3);
  EXPECT_TRUE(back.i_sepmasks);
  ASSERT_EQ(back.i_mask.size(), 2u);
  EXPECT_EQ(back.i_bbox, (TRect{1, 1, 3, 2}));
  EXPECT_TRUE(back.i_mask[1].Get(3, 2));
  EXPECT_FALSE(back.i_mask[1].Get(4, 2));

  // Every shorter file, a wrong magic and a wrong version fail.
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(File_ReadAll(dir_.File("s.vxspr"), bytes));
  for (size_t n = 0; n < bytes.size(); n += 7) {
    image_test::WriteFile(
        dir_.File("cut.vxspr"),
        std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(n)));
    EXPECT_FALSE(back.LoadFromSpriteFile(dir_.File("cut.vxspr"))) << n;
  }
  bytes[0] ^= 1;
  image_test::WriteFile(dir_.File("magic.vxspr"), bytes);
  EXPECT_FALSE(back.LoadFromSpriteFile(dir_.File("magic.vxspr")));
  CStream body, file;
  body.WriteInteger(700);
  file.WriteInteger(1234321);
  file.WriteStreamC(body);
  image_test::WriteFile(dir_.File("version.vxspr"), file.Bytes());
  EXPECT_FALSE(back.LoadFromSpriteFile(dir_.File("version.vxspr")));
  EXPECT_EQ(back.i_bitmap, s.i_bitmap);
}

// Bodies whose counts and sizes claim more than the data holds fail
// before anything is sized from them.
TEST_F(SpriteTest, SpriteFileBodiesWithImpossibleCountsFail) {
  struct Case {
    const char* what;
    std::vector<int32_t> integers;  // after version and origin
  } cases[] = {
      {"negative count", {-1}},
      {"a billion images", {1000000000}},
      {"huge image without pixels", {1, 800, 100000, 100000, 0}},
      {"negative image size", {1, 800, -5, 3}},
      {"wrong image version", {1, 700, 1, 1}},
  };
  for (const Case& c : cases) {
    CStream body, file;
    body.WriteInteger(800);
    body.WriteInteger(0);
    body.WriteInteger(0);
    for (int32_t v : c.integers) body.WriteInteger(v);
    file.WriteInteger(1234321);
    file.WriteStreamC(body);
    image_test::WriteFile(dir_.File("bad.vxspr"), file.Bytes());
    CSprite s;
    EXPECT_FALSE(s.LoadFromSpriteFile(dir_.File("bad.vxspr"))) << c.what;
    EXPECT_EQ(s.Numb(), 0) << c.what;
  }
}

TEST_F(SpriteTest, SpriteFileImagesGetTheirColoursExtended) {
  CSprite s;
  TBitmap32 bm(2, 1, Color32(9, 9, 9, 0));
  bm.SetPixel(1, 0, kRed);
  s.i_bitmap = {bm};
  ASSERT_TRUE(s.SaveToSpriteFile(dir_.File("e.vxspr"), kMaskPrecise, 0, kBoxAutomatic, TRect()));
  CSprite back;
  ASSERT_TRUE(back.LoadFromSpriteFile(dir_.File("e.vxspr")));
  EXPECT_EQ(back.i_bitmap[0].GetPixel(0, 0), kRed & 0xFFFFFF);
}

TEST_F(SpriteTest, CreateFromBitmapByRemoveBackMode) {
  // Every alpha 0: the alpha test makes the image opaque unless removeback
  // is 2; removeback 1 then keys on the bottom-left pixel.
  TBitmap32 bm(2, 1, Color32(5, 5, 5, 0));
  bm.SetPixel(1, 0, Color32(7, 7, 7, 0));
  struct Case {
    int32_t removeback;
    std::vector<uint32_t> alphas;
  } cases[] = {{2, {0, 0}}, {0, {255, 255}}, {-1, {255, 255}}, {1, {0, 255}}};
  for (const Case& c : cases) {
    CSprite s;
    s.CreateFromBitmap(bm, c.removeback, false, 1, 2);
    ASSERT_EQ(s.Numb(), 1);
    EXPECT_EQ(Color32Alpha(s.i_bitmap[0].s_data[0]), c.alphas[0]) << c.removeback;
    EXPECT_EQ(Color32Alpha(s.i_bitmap[0].s_data[1]), c.alphas[1]) << c.removeback;
    EXPECT_EQ(s.i_xorig, 1);
    EXPECT_EQ(s.i_yorig, 2);
    EXPECT_EQ(s.i_mask.size(), 1u);
  }
}

TEST_F(SpriteTest, AddedImagesAreStretchedToTheFirstImage) {
  CSprite s;
  s.AddFromBitmap(TBitmap32(2, 2, kRed), false, false);
  EXPECT_EQ(s.Width(), 2);
  s.AddFromBitmap(TBitmap32(4, 1, kBlue), false, false);
  ASSERT_EQ(s.Numb(), 2);
  EXPECT_EQ(s.i_bitmap[1], TBitmap32(2, 2, kBlue));
  s.AddFromSprite(s);  // itself: doubles
  EXPECT_EQ(s.Numb(), 4);
  EXPECT_EQ(s.i_bitmap[3], TBitmap32(2, 2, kBlue));
  EXPECT_EQ(s.i_tex.size(), 4u);
  EXPECT_EQ(s.i_bbox, (TRect{0, 0, 1, 1}));

  CSprite alpha;
  alpha.i_bitmap = {TBitmap32(2, 2, Color32(30, 30, 30)), TBitmap32(2, 2, Color32(90, 0, 0))};
  s.SetAlphaFromSprite(alpha);
  EXPECT_EQ(Color32Alpha(s.i_bitmap[0].s_data[0]), 30u);
  EXPECT_EQ(Color32Alpha(s.i_bitmap[1].s_data[0]), 30u);
  EXPECT_EQ(Color32Alpha(s.i_bitmap[2].s_data[0]), 30u);
  EXPECT_EQ(s.i_bitmap[3].s_data[3], Color32(0, 0, 255, 30));
  s.SetAlphaFromSprite(CSprite());  // no images: nothing
  EXPECT_EQ(Color32Alpha(s.i_bitmap[0].s_data[0]), 30u);
}

TEST_F(SpriteTest, ImageIndicesWrapAndCopiesAreDeep) {
  CSprite s;
  for (int32_t i = 0; i < 3; ++i) s.i_bitmap.push_back(TBitmap32(1, 1, static_cast<TColor32>(i)));
  struct Case {
    int32_t in, out;
  } cases[] = {{0, 0}, {2, 2}, {5, 2}, {-1, 2}, {-3, 0}, {-4, 2}};
  for (const Case& c : cases) EXPECT_EQ(s.ImageIndex(c.in), c.out) << c.in;
  EXPECT_EQ(CSprite().ImageIndex(0), -1);
  EXPECT_EQ(CSprite().MaskOf(0), nullptr);
  EXPECT_EQ(CSprite().GetTexture(0), -1);
  TBitmap32 out;
  EXPECT_FALSE(s.GetBitmap(3, out));
  EXPECT_TRUE(s.GetBitmap(1, out));
  EXPECT_EQ(s.GetBoundingBoxImg(-1), TRect());

  // Assign copies the masks as they are, without recomputing them.
  s.i_mask.resize(1);
  s.i_mask[0].i_w = 42;
  s.i_bbox = TRect{1, 2, 3, 4};
  CSprite copy;
  copy.Assign(s);
  EXPECT_EQ(copy.i_mask[0].i_w, 42);
  EXPECT_EQ(copy.i_bbox, (TRect{1, 2, 3, 4}));
  EXPECT_EQ(copy.i_bitmap, s.i_bitmap);
  copy.Assign(copy);
  EXPECT_EQ(copy.Numb(), 3);
}

int g_next_texture = 0;
std::vector<int32_t> g_freed;
int32_t FakeCreate(const TBitmap32&) { return g_next_texture++; }
void FakeFree(int32_t tex) { g_freed.push_back(tex); }
bool FakeGrab(int32_t, int32_t, int32_t w, int32_t h, TBitmap32& out) {
  out = TBitmap32(w, h, kRed);
  return true;
}
bool FakeGrabSurface(int32_t id, int32_t, int32_t, int32_t w, int32_t h, TBitmap32& out) {
  if (id != 7) return false;
  out = TBitmap32(w, h, kBlue);
  return true;
}

TEST_F(SpriteTest, TexturesComeFromTheRendererHook) {
  g_next_texture = 10;
  g_freed.clear();
  Image_SetRendererHooks({FakeCreate, FakeFree, nullptr, nullptr});
  CSprite s;
  s.CreateFromBitmap(TBitmap32(1, 1, kRed), 0, false, 0, 0);
  EXPECT_EQ(s.i_tex, (std::vector<int32_t>{10}));
  s.AddFromBitmap(TBitmap32(1, 1, kRed), false, false);
  EXPECT_EQ(s.i_tex, (std::vector<int32_t>{11, 12}));
  EXPECT_EQ(s.GetTexture(-1), 12);
  s.Clear();
  EXPECT_EQ(g_freed, (std::vector<int32_t>{10, 11, 12}));
  EXPECT_TRUE(s.i_tex.empty());
}

TEST_F(SpriteTest, FunctionsAddInspectAndDeleteSprites) {
  Image_SavePng(dir_.File("walk.png"), Strip(30, 8));
  std::u16string path = FromUtf8(dir_.File("walk.png"));
  RValue index = CallBuiltin("sprite_add", {S(path.c_str()), R(3), R(0), R(0), R(4), R(6)});
  ASSERT_EQ(index.val, 0);
  EXPECT_EQ(CallBuiltin("sprite_get_name", {R(0)}).str, u"__newsprite0");
  EXPECT_EQ(CallBuiltin("sprite_exists", {R(0)}).val, 1);
  struct Case {
    const char* name;
    double value;
  } cases[] = {
      {"sprite_get_number", 3},     {"sprite_get_width", 10},   {"sprite_get_height", 8},
      {"sprite_get_xoffset", 4},    {"sprite_get_yoffset", 6},  {"sprite_get_bbox_left", 0},
      {"sprite_get_bbox_right", 9}, {"sprite_get_bbox_top", 0}, {"sprite_get_bbox_bottom", 7}};
  for (const Case& c : cases) {
    EXPECT_EQ(CallBuiltin(c.name, {R(0)}).val, c.value) << c.name;
    EXPECT_EQ(CallBuiltin(c.name, {R(5)}).val, -1) << c.name;
  }
  // A missing file: -1 and the table as it was.
  EXPECT_EQ(CallBuiltin("sprite_add", {S(u"nothing.png"), R(1), R(0), R(0), R(0), R(0)}).val, -1);
  EXPECT_EQ(Game().sprites.Count(), 1);

  CallBuiltin("sprite_set_offset", {R(0), R(1), R(2)});
  EXPECT_EQ(CallBuiltin("sprite_get_yoffset", {R(0)}).val, 2);
  EXPECT_EQ(CallBuiltin("sprite_duplicate", {R(0)}).val, 1);
  EXPECT_EQ(CallBuiltin("sprite_get_name", {R(1)}).str, u"__newsprite1");
  EXPECT_EQ(CallBuiltin("sprite_duplicate", {R(9)}).val, -1);
  EXPECT_EQ(CallBuiltin("sprite_merge", {R(1), R(0)}).val, 1);
  EXPECT_EQ(CallBuiltin("sprite_get_number", {R(1)}).val, 6);

  EXPECT_EQ(CallBuiltin("sprite_delete", {R(0)}).val, 1);
  EXPECT_EQ(CallBuiltin("sprite_delete", {R(0)}).val, 0);
  EXPECT_EQ(CallBuiltin("sprite_exists", {R(0)}).val, 0);
  EXPECT_EQ(CallBuiltin("sprite_get_name", {R(0)}).str, u"<undefined>");
  // Assign from a missing source or to an index outside: false, no change.
  EXPECT_EQ(CallBuiltin("sprite_assign", {R(1), R(0)}).val, 0);
  EXPECT_EQ(CallBuiltin("sprite_assign", {R(2), R(1)}).val, 0);
  EXPECT_EQ(CallBuiltin("sprite_get_number", {R(1)}).val, 6);
  EXPECT_EQ(CallBuiltin("sprite_assign", {R(0), R(1)}).val, 1);
  EXPECT_EQ(CallBuiltin("sprite_get_number", {R(0)}).val, 6);
  // Replace: outside the table false; a backslash works as a separator.
  std::u16string back = path;
  std::replace(back.begin(), back.end(), u'/', u'\\');
  EXPECT_EQ(
      CallBuiltin("sprite_replace", {R(7), S(back.c_str()), R(1), R(0), R(0), R(0), R(0)}).val, 0);
  EXPECT_EQ(
      CallBuiltin("sprite_replace", {R(0), S(back.c_str()), R(1), R(0), R(0), R(0), R(0)}).val, 1);
  EXPECT_EQ(CallBuiltin("sprite_get_width", {R(0)}).val, 30);
}

TEST_F(SpriteTest, FunctionsSaveMaskAndGrab) {
  Image_SavePng(dir_.File("walk.png"), Strip(30, 8));
  std::u16string path = FromUtf8(dir_.File("walk.png"));
  ASSERT_EQ(CallBuiltin("sprite_add", {S(path.c_str()), R(3), R(0), R(0), R(0), R(0)}).val, 0);

  // One image as PNG (index wraps), and the strip of all of them.
  std::u16string one = FromUtf8(dir_.File("one.png")), strip = FromUtf8(dir_.File("strip.png"));
  EXPECT_EQ(CallBuiltin("sprite_save", {R(0), R(4), S(one.c_str())}).val, 1);
  TBitmap32 bm;
  ASSERT_TRUE(Image_LoadFile(dir_.File("one.png"), bm));
  EXPECT_EQ(bm, Game().sprites.Get(0)->i_bitmap[1]);
  EXPECT_EQ(CallBuiltin("sprite_save_strip", {R(0), S(strip.c_str())}).val, 1);
  ASSERT_TRUE(Image_LoadFile(dir_.File("strip.png"), bm));
  EXPECT_EQ(bm, Strip(30, 8));

  // Manual rectangle mask.
  CallBuiltin("sprite_collision_mask", {R(0), R(0), R(2), R(2), R(1), R(5), R(6), R(1), R(0)});
  EXPECT_EQ(CallBuiltin("sprite_get_bbox_left", {R(0)}).val, 2);
  EXPECT_EQ(CallBuiltin("sprite_get_bbox_bottom", {R(0)}).val, 6);

  // Without the renderer's grab hooks nothing is made.
  EXPECT_EQ(
      CallBuiltin("sprite_create_from_screen", {R(0), R(0), R(4), R(4), R(0), R(0), R(0), R(0)})
          .val,
      -1);
  Image_SetRendererHooks({nullptr, nullptr, FakeGrab, FakeGrabSurface});
  EXPECT_EQ(
      CallBuiltin("sprite_create_from_screen", {R(0), R(0), R(4), R(3), R(0), R(0), R(1), R(1)})
          .val,
      1);
  EXPECT_EQ(CallBuiltin("sprite_get_width", {R(1)}).val, 4);
  EXPECT_EQ(CallBuiltin("sprite_add_from_screen", {R(1), R(0), R(0), R(8), R(8), R(0), R(0)}).val,
            1);
  EXPECT_EQ(CallBuiltin("sprite_get_number", {R(1)}).val, 2);
  EXPECT_EQ(CallBuiltin("sprite_get_width", {R(1)}).val, 4);
  EXPECT_EQ(CallBuiltin("sprite_create_from_surface",
                        {R(3), R(0), R(0), R(2), R(2), R(0), R(0), R(0), R(0)})
                .val,
            -1);
  EXPECT_EQ(CallBuiltin("sprite_create_from_surface",
                        {R(7), R(0), R(0), R(2), R(2), R(0), R(0), R(0), R(0)})
                .val,
            2);
  EXPECT_EQ(Game().sprites.Get(2)->i_bitmap[0].s_data[0], kBlue);
  EXPECT_EQ(
      CallBuiltin("sprite_add_from_surface", {R(2), R(7), R(0), R(0), R(1), R(1), R(0), R(0)}).val,
      1);
  EXPECT_EQ(CallBuiltin("sprite_get_number", {R(2)}).val, 2);

  // Sprite files by extension through sprite_add and sprite_add_sprite.
  ASSERT_TRUE(Game().sprites.Get(0)->SaveToSpriteFile(dir_.File("s.vxspr"), 1, 0, 1, TRect()));
  std::u16string spr = FromUtf8(dir_.File("s.vxspr"));
  EXPECT_EQ(CallBuiltin("sprite_add", {S(spr.c_str()), R(1), R(0), R(0), R(0), R(0)}).val, 3);
  EXPECT_EQ(CallBuiltin("sprite_get_number", {R(3)}).val, 3);
  EXPECT_EQ(CallBuiltin("sprite_add_sprite", {S(spr.c_str())}).val, 4);
  EXPECT_EQ(CallBuiltin("sprite_add_sprite", {S(path.c_str())}).val,
            -1);  // a PNG is no sprite file
  EXPECT_EQ(CallBuiltin("sprite_replace_sprite", {R(1), S(spr.c_str())}).val, 1);
  EXPECT_EQ(CallBuiltin("sprite_get_number", {R(1)}).val, 3);
}

}  // namespace
