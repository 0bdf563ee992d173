// font_class.h: CFont, a font resource (a glyph atlas of a character range),
// with its stored form.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runner/value.h"

class CStream;

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
  // The stored packed field: bits 0..15 first character, 16..23 character
  // set (0 stands for 1), 24..31 antialiasing level + 1 (0 stands for 3).
  static void UnpackFirst(int32_t packed, int32_t& first, int32_t& charset, int32_t& aa);
  static int32_t PackFirst(int32_t first, int32_t charset, int32_t aa);
  // Record version 800. False on a wrong version or an atlas stream whose
  // length is not s_bw * s_bh.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
