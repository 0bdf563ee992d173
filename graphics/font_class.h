// font_class.h: CFont, a font resource (a glyph atlas of a character range),
// with its stored form.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "common/value.h"

class CStream;
class CSprite;

class CFont {
 public:
  VString s_name;  // empty for a sprite font
  int32_t s_size = 12;
  bool s_bold = false;
  bool s_italic = false;
  int32_t s_charset = 1;
  int32_t s_AntiAlias = 3;
  int32_t s_first = 32;
  int32_t s_last = 128;
  int32_t s_spr = -1;  // sprite of a sprite font, -1 for an atlas font
  std::array<int32_t, 256> s_x{}, s_y{}, s_w{}, s_h{}, s_shift{}, s_offset{};
  int32_t s_bw = 0;
  int32_t s_bh = 0;
  std::vector<uint8_t> s_bytes;  // s_bw * s_bh alpha values, row by row
  int32_t s_tex = -1;
  int32_t s_FontHeight = 0;  // the largest s_h

  void Clear();

  // Rasterises the face at run time (the default font and font_add); first
  // is clamped to >= 0 and last to <= 255. False when no face could be
  // loaded: the font then holds the built-in 5 x 7 pixel glyphs instead.
  bool CreateFont(const VString& name, int32_t size, bool bold, bool italic, int32_t first,
                  int32_t last);
  // A font whose glyphs are the sub-images of sprite ind (font_add_sprite):
  // character first + i is image i. With prop each glyph is as wide as the
  // visible part of its image, else as wide as the sprite; sep is added to
  // every advance.
  void CreateFromSprite(const CSprite& sprite, int32_t ind, int32_t first, bool prop,
                        int32_t sep);

  bool IsSpriteFont() const { return s_spr >= 0; }
  // Advance of code unit c: its own inside s_first..s_last, else the space's
  // when the space is in range, else the first character's.
  int32_t Advance(uint32_t c) const {
    if (c >= static_cast<uint32_t>(s_first) && c <= static_cast<uint32_t>(s_last) && c < 256)
      return s_shift[c];
    if (s_first <= 32 && 32 <= s_last) return s_shift[32];
    return s_first >= 0 && s_first < 256 ? s_shift[static_cast<size_t>(s_first)] : 0;
  }
  // True when c has a glyph slot (drawn); other characters only advance.
  bool InRange(uint32_t c) const {
    return c >= static_cast<uint32_t>(std::max(s_first, 0)) &&
           c <= static_cast<uint32_t>(std::min(s_last, 255));
  }
  // Sum of the advances.
  int32_t TextWidth(const VString& str) const;
  // The line height, whatever the string.
  int32_t TextHeight(const VString&) const { return s_FontHeight; }

  // The atlas texture (atlas fonts with a name and pixels); FreeTexture
  // releases it.
  void InitTexture();
  void FreeTexture();
  // Draws str on one line from pen position (x, y): per character its atlas
  // part (or sprite image) at pen + s_offset, unscaled; characters outside
  // s_first..s_last only advance the pen. Angles in degrees,
  // counter-clockwise; each glyph turns about its own top-left corner.
  void Draw_String(double x, double y, const VString& str, int32_t col, double alpha);
  void Draw_String_Transformed(double x, double y, const VString& str, double xsc, double ysc,
                               double angle, int32_t col, double alpha);
  // Corner colours c1 top-left, c2 top-right, c3 bottom-right, c4
  // bottom-left, spread over the line's width.
  void Draw_String_Color(double x, double y, const VString& str, int32_t c1, int32_t c2,
                         int32_t c3, int32_t c4, double alpha);
  void Draw_String_Transformed_Color(double x, double y, const VString& str, double xsc,
                                     double ysc, double angle, int32_t c1, int32_t c2,
                                     int32_t c3, int32_t c4, double alpha);

  // The stored packed field: bits 0..15 first character, 16..23 character
  // set (0 stands for 1), 24..31 antialiasing level + 1 (0 stands for 3).
  static void UnpackFirst(int32_t packed, int32_t& first, int32_t& charset, int32_t& aa);
  static int32_t PackFirst(int32_t first, int32_t charset, int32_t aa);
  // Record version 800. False on a wrong version or an atlas stream whose
  // length is not s_bw * s_bh.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
