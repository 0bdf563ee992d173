// font_raster.cpp: glyph rendering with FreeType, face matching with
// fontconfig, and the row packing of glyphs into the smallest atlas.
#include "graphics/font_raster.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <mutex>

namespace {

// Code page 1252 characters 0x80..0x9F (0 = unassigned); the rest of the
// code page is Latin-1.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

uint32_t Cp1252ToUnicode(int code) {
  if (code >= 0x80 && code <= 0x9F) return kCp1252High[code - 0x80];
  return static_cast<uint32_t>(code);
}

int Cp1252FromUnicode(uint32_t unicode) {
  if (unicode < 0x80 || (unicode >= 0xA0 && unicode <= 0xFF)) return static_cast<int>(unicode);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] != 0 && kCp1252High[i] == unicode) return 0x80 + i;
  return -1;
}

namespace {

struct FontFile {
  std::string path;
  int index = 0;
  bool bold = false;    // the matched face is bold itself
  bool italic = false;  // the matched face is italic or oblique itself
};

bool MatchFace(const std::string& face, bool bold, bool italic, FontFile& out) {
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  if (!FcInit()) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  FcChar8* file = nullptr;
  int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
  if (found) {
    out.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &out.index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    out.bold = weight >= FC_WEIGHT_DEMIBOLD;
    out.italic = slant != FC_SLANT_ROMAN;
  }
  FcPatternDestroy(match);
  return found;
}

// One rendered glyph before packing.
struct Glyph {
  int code = 0;
  int width = 0, rows = 0;  // black box
  int left = 0, top = 0;    // glyph origin
  std::vector<uint8_t> grey;  // 0..64 coverage levels
};

void RenderGlyph(FT_Face face, int code, const FontFile& file, bool bold, bool italic,
                 Glyph& glyph, int& advance) {
  glyph.code = code;
  advance = 0;
  uint32_t cp = Cp1252ToUnicode(code);
  FT_UInt index = cp ? FT_Get_Char_Index(face, cp) : 0;
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP)) return;
  if (bold && !file.bold) FT_GlyphSlot_Embolden(face->glyph);
  if (italic && !file.italic) FT_GlyphSlot_Oblique(face->glyph);
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL)) return;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.rows = static_cast<int>(bitmap.rows);
  glyph.left = face->glyph->bitmap_left;
  glyph.top = face->glyph->bitmap_top;
  advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
  glyph.grey.resize(static_cast<size_t>(glyph.width) * glyph.rows);
  for (int r = 0; r < glyph.rows; ++r)
    for (int c = 0; c < glyph.width; ++c) {
      int g = bitmap.buffer[r * bitmap.pitch + c];
      glyph.grey[static_cast<size_t>(r) * glyph.width + c] =
          static_cast<uint8_t>((g * 64 + 127) / 255);
    }
}

// Row packing with 2 pixels between glyphs and rows. Returns false when the
// glyphs do not fit; fills the cell positions when they do.
bool PackRows(const std::vector<int>& order, FontRaster& font, int width, int height) {
  int x = 0, y = 0, row = 0;
  for (int code : order) {
    int w = font.w[code], h = font.h[code];
    if (x + w > width && x > 0) {
      x = 0;
      y += row + 2;
      row = 0;
    }
    if (w > width) return false;
    font.x[code] = x;
    font.y[code] = y;
    x += w + 2;
    row = std::max(row, h);
  }
  return y + row <= height;
}

}  // namespace

std::string ResolveFontFile(const std::string& face, bool bold, bool italic) {
  FontFile file;
  return MatchFace(face, bold, italic, file) ? file.path : std::string();
}

bool RasteriseFont(const std::string& face_name, int size, bool bold, bool italic, int first,
                   int last, FontRaster& out, std::string& error) {
  out = FontRaster();
  out.first = std::max(first, 0);
  out.last = std::min(last, 255);
  FontFile file;
  if (!MatchFace(face_name, bold, italic, file)) {
    error = "no installed font matches \"" + face_name + "\"";
    return false;
  }
  FT_Library library;
  if (FT_Init_FreeType(&library)) {
    error = "cannot start the font rasteriser";
    return false;
  }
  FT_Face face;
  if (FT_New_Face(library, file.path.c_str(), file.index, &face)) {
    FT_Done_FreeType(library);
    error = "cannot load font file " + file.path;
    return false;
  }
  FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::max(size, 1)) * 64, 96, 96);
  const int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  const int line_height = static_cast<int>((face->size->metrics.height + 63) >> 6);

  std::vector<Glyph> glyphs(256);
  for (int code = out.first; code <= out.last; ++code) {
    int advance = 0;
    Glyph& g = glyphs[code];
    RenderGlyph(face, code, file, bold, italic, g, advance);
    if (g.width == 0 && advance == 0 && g.rows == 0) continue;
    out.w[code] = g.width;
    out.h[code] = ascent + g.rows - g.top;
    out.shift[code] = advance - std::min(g.left, 0);
    out.offset[code] = g.left;
  }
  if (out.first <= 32 && 32 <= out.last) {
    if (out.h[32] == 0) out.h[32] = line_height;
    if (out.shift[32] == 0)
      out.shift[32] = static_cast<int>((face->size->metrics.max_advance + 63) >> 6) / 2;
  }
  for (int code = 0; code < 256; ++code) out.font_height = std::max(out.font_height, out.h[code]);

  // Largest glyphs first, then find the smallest atlas by halving.
  std::vector<int> order;
  for (int code = out.first; code <= out.last; ++code)
    if (out.w[code] * out.h[code] != 1) order.push_back(code);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return out.w[a] * out.h[a] > out.w[b] * out.h[b];
  });
  int width = 2048, height = 2048, best_w = 2048, best_h = 2048;
  bool halve_height = true;
  while (width >= 1 && height >= 1 && PackRows(order, out, width, height)) {
    best_w = width;
    best_h = height;
    if (halve_height) height /= 2; else width /= 2;
    halve_height = !halve_height;
  }
  PackRows(order, out, best_w, best_h);
  out.atlas_width = best_w;
  out.atlas_height = best_h;
  out.atlas.assign(static_cast<size_t>(best_w) * best_h, 0);
  for (int code : order) {
    const Glyph& g = glyphs[code];
    int top = out.y[code] + ascent - g.top;
    for (int r = 0; r < g.rows; ++r) {
      int ay = top + r;
      if (ay < 0 || ay >= best_h) continue;
      for (int c = 0; c < g.width; ++c) {
        int ax = out.x[code] + c;
        if (ax >= best_w) continue;
        int level = g.grey[static_cast<size_t>(r) * g.width + c];
        out.atlas[static_cast<size_t>(ay) * best_w + ax] =
            static_cast<uint8_t>(std::min(level * 4, 255));
      }
    }
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return true;
}
