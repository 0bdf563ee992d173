// font_raster.h: the one font rasteriser of the system. Turns a face name,
// point size, style and character range into a glyph atlas (per-character
// cell position, size, advance and offset, plus the atlas alpha bytes)
// using fontconfig to resolve the face and FreeType to render it. The
// builder uses it at pack time and the runner for fonts made at run time,
// so both give the same pixels.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct FontRaster {
  int first = 32;
  int last = 128;
  std::array<int32_t, 256> x{}, y{}, w{}, h{}, shift{}, offset{};
  int32_t atlas_width = 0;
  int32_t atlas_height = 0;
  std::vector<uint8_t> atlas;  // atlas_width * atlas_height alpha bytes, row by row
  int32_t font_height = 0;     // the largest h
};

// Rasterises characters first..last (clamped to 0..255; codes are Windows
// code page 1252 characters) of the face that fontconfig matches for `face`
// at `size` points (96 dots per inch). Returns false with a message in
// error when no face can be loaded.
bool RasteriseFont(const std::string& face, int size, bool bold, bool italic, int first,
                   int last, FontRaster& out, std::string& error);

// Code page 1252, the character set of font ranges and dialog text: the
// Unicode character of a code 0..255 (0 for the five unassigned codes), and
// the code of a Unicode character (-1 when the code page lacks it).
uint32_t Cp1252ToUnicode(int code);
int Cp1252FromUnicode(uint32_t unicode);

// The file fontconfig resolves a request to (empty when none); for messages
// and tests.
std::string ResolveFontFile(const std::string& face, bool bold, bool italic);
