// Tests of text layout and measuring on a font with known advances: line
// break conversion, word wrapping, widths and heights, and sprite fonts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/font_class.h"
#include "graphics/text_layout.h"
#include "motion/sprite_class.h"

namespace {

// Characters 32..127, each 10 wide except 'W' (30) and space (5); 16 high.
CFont TestFont(int first = 32, int last = 127) {
  CFont font;
  font.s_first = first;
  font.s_last = last;
  for (int c = first; c <= last; ++c) {
    font.s_shift[c] = c == 'W' ? 30 : (c == ' ' ? 5 : 10);
    font.s_h[c] = 16;
  }
  font.s_FontHeight = 16;
  return font;
}

std::vector<std::u16string> Lines(const CFont& font, const char16_t* text, double width = -1) {
  return Text_Layout(font, text, width);
}

TEST(DrawTextLayout, BreakConversion) {
  struct Case {
    const char16_t* text;
    const char16_t* converted;
  };
  for (const Case& c : std::vector<Case>{{u"a#b", u"a\rb"},
                                         {u"a\\#b", u"a#b"},
                                         {u"a\r\nb", u"a\rb"},
                                         {u"a\nb", u"a\rb"},
                                         {u"a#\nb", u"a\rb"},
                                         {u"a\n\nb", u"a\r\rb"},
                                         {u"a\r\n\nb", u"a\r\rb"},
                                         {u"\\\\#", u"\\#"}}) {
    EXPECT_EQ(Text_ConvertBreaks(c.text), std::u16string(c.converted))
        << std::string(c.text, c.text + std::u16string(c.text).size());
  }
}

TEST(DrawTextLayout, LinesFromBreaks) {
  CFont font = TestFont();
  EXPECT_EQ(Lines(font, u"a#b"), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(Lines(font, u"a\\#b"), (std::vector<std::u16string>{u"a#b"}));
  EXPECT_EQ(Lines(font, u"a#"), (std::vector<std::u16string>{u"a"}));
  EXPECT_EQ(Lines(font, u"a##b"), (std::vector<std::u16string>{u"a", u"", u"b"}));
  EXPECT_EQ(Lines(font, u"#"), (std::vector<std::u16string>{u""}));
  EXPECT_TRUE(Lines(font, u"").empty());
}

TEST(DrawTextLayout, WrapsAfterSpacesAndHyphens) {
  CFont font = TestFont();
  // "one " and "two " are 35 wide each.
  EXPECT_EQ(Lines(font, u"one two ", 50), (std::vector<std::u16string>{u"one ", u"two "}));
  EXPECT_EQ(Lines(font, u"one two ", 70), (std::vector<std::u16string>{u"one two "}));
  // A word wider than the width stands alone on its line.
  EXPECT_EQ(Lines(font, u"abcdefgh ab", 50), (std::vector<std::u16string>{u"abcdefgh ", u"ab"}));
  EXPECT_EQ(Lines(font, u"well-known", 60), (std::vector<std::u16string>{u"well-", u"known"}));
  // Width 0 still gives one chunk a line; an empty line stays whole.
  EXPECT_EQ(Lines(font, u"a b##c", 0), (std::vector<std::u16string>{u"a ", u"b", u"", u"c"}));
  // Negative width: no wrapping.
  EXPECT_EQ(Lines(font, u"one two three", -1), (std::vector<std::u16string>{u"one two three"}));
}

TEST(DrawTextLayout, AdvancesOutsideTheRange) {
  CFont font = TestFont();
  EXPECT_EQ(font.TextWidth(u"W a"), 30 + 5 + 10);
  // Above s_last and below s_first: the space's advance.
  EXPECT_EQ(font.TextWidth(u"\u00e9"), 5);
  EXPECT_EQ(font.TextWidth(u"\x01"), 5);
  EXPECT_EQ(font.TextWidth(u"\u4e00"), 5);
  // Without a space in range: the first character's advance.
  CFont digits = TestFont('0', '9');
  digits.s_shift['0'] = 7;
  EXPECT_EQ(digits.TextWidth(u"a"), 7);
  EXPECT_TRUE(font.InRange('a'));
  EXPECT_FALSE(font.InRange(0x4e00));
}

TEST(DrawTextLayout, WidthAndHeight) {
  CFont font = TestFont();
  EXPECT_EQ(Text_LayoutWidth(font, Text_Layout(font, u"", -1)), 1);
  EXPECT_EQ(Text_LayoutHeight(font, Text_Layout(font, u"", -1).size(), -1), 1);
  EXPECT_EQ(Text_LayoutWidth(font, Text_Layout(font, u"ab#Wab", -1)), 50);
  EXPECT_EQ(Text_LayoutHeight(font, 1, -1), 16);
  EXPECT_EQ(Text_LayoutHeight(font, 3, -1), 48);
  EXPECT_EQ(Text_LayoutHeight(font, 3, 20), 56);
  EXPECT_EQ(Text_LayoutHeight(font, 3, 0), 16);
}

TEST(DrawTextLayout, SpriteFontFromImages) {
  CSprite sprite;
  // Two 8x4 images: the first visible in columns 2..5, the second empty.
  TBitmap32 first(8, 4), empty(8, 4);
  for (int x = 2; x <= 5; ++x) first.SetPixel(x, 1, 0xFF000000);
  sprite.i_bitmap = {first, empty};
  CFont prop;
  prop.CreateFromSprite(sprite, 3, 65, true, 1);
  EXPECT_EQ(prop.s_spr, 3);
  EXPECT_EQ(prop.s_first, 65);
  EXPECT_EQ(prop.s_last, 66);
  EXPECT_EQ(prop.s_FontHeight, 4);
  EXPECT_EQ(prop.s_shift[65], 5 + 1 - 2);
  EXPECT_EQ(prop.s_offset[65], -2);
  EXPECT_EQ(prop.s_shift[66], 8 + 1);  // no visible pixel: full width
  CFont fixed;
  fixed.CreateFromSprite(sprite, 3, 250, false, 0);
  EXPECT_EQ(fixed.s_last, 251);
  EXPECT_EQ(fixed.s_shift[250], 8);
  EXPECT_EQ(fixed.s_offset[250], 0);
  CFont clamped;
  clamped.CreateFromSprite(sprite, 3, 255, false, 0);
  EXPECT_EQ(clamped.s_last, 255);
}

TEST(DrawTextLayout, RasterisedDefaultFace) {
  // Without any installed face the font falls back to the built-in pixel
  // glyphs: either way printable text has glyphs, widths and a height.
  CFont font;
  bool rasterised = font.CreateFont(u"Arial", 12, false, false, 32, 127);
  EXPECT_EQ(font.s_first, 32);
  EXPECT_EQ(font.s_last, 127);
  EXPECT_GE(font.s_FontHeight, rasterised ? 9 : 7);
  EXPECT_GT(font.s_shift[' '], 0);
  EXPECT_GT(font.s_w['A'], 0);
  EXPECT_GE(font.TextWidth(u"WWW"), font.TextWidth(u"iii"));
  EXPECT_EQ(font.s_bytes.size(), static_cast<size_t>(font.s_bw) * font.s_bh);
  EXPECT_FALSE(font.s_name.empty());
}

}  // namespace
