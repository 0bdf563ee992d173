// test_font_codepage.cpp: the code page 1252 conversions shared by font
// rasterising and dialog text.
#include <gtest/gtest.h>

#include "graphics/font_raster.h"

TEST(FontCodePage, CodesMapToUnicodeAndBack) {
  struct Case {
    int code;
    uint32_t unicode;
  };
  const Case cases[] = {
      {0x41, 0x41},     {0x7F, 0x7F},     {0x80, 0x20AC}, {0x8A, 0x0160}, {0x92, 0x2019},
      {0x9F, 0x0178},   {0xA0, 0xA0},     {0xE9, 0xE9},   {0xFF, 0xFF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp1252ToUnicode(c.code), c.unicode) << c.code;
    EXPECT_EQ(Cp1252FromUnicode(c.unicode), c.code) << c.unicode;
  }
}

TEST(FontCodePage, UnassignedAndForeignCharactersHaveNoCode) {
  for (int code : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(Cp1252ToUnicode(code), 0u) << code;
  // C1 controls are not the code page's 0x80..0x9F.
  for (uint32_t unicode : {0x80u, 0x81u, 0x9Fu, 0x100u, 0x4E00u, 0x1F600u})
    EXPECT_EQ(Cp1252FromUnicode(unicode), -1) << unicode;
}
