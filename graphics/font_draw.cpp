// font_draw.cpp: drawing one line of text with a CFont (atlas parts or
// sprite images per character) and the font's atlas texture.
#include <cmath>
#include <numbers>

#include "graphics/draw_color.h"
#include "graphics/draw_images.h"
#include "graphics/font_class.h"
#include "graphics/renderer.h"
#include "motion/sprite_class.h"
#include "runner/game_data.h"

namespace {

// Corner colours of one glyph: top-left, top-right, bottom-right,
// bottom-left.
struct Corners {
  int32_t c[4];
};

// Where one glyph goes and how it is drawn; the pen is relative to the
// line's start.
struct GlyphPlacement {
  double x, y;          // top-left corner of the glyph
  double xsc, ysc;
  double angle;         // degrees
  const Corners* colours;  // null: col alone
  int32_t col;
  double alpha;
};

// The texture of sprite font image c - s_first, with the sprite.
CSprite* SpriteGlyph(const CFont& font, uint32_t c, int32_t& tex) {
  CSprite* sprite = Game().sprites.Get(font.s_spr);
  tex = sprite ? Draw_SpriteTexture(*sprite, static_cast<int32_t>(c) - font.s_first) : -1;
  return sprite;
}

void DrawGlyph(const CFont& font, uint32_t c, const GlyphPlacement& p) {
  const double radians = p.angle * std::numbers::pi / 180;
  if (font.IsSpriteFont()) {
    int32_t tex = -1;
    CSprite* sprite = SpriteGlyph(font, c, tex);
    if (sprite == nullptr) return;
    if (p.colours)
      Renderer_DrawTextureGeneral(tex, 0, 0, sprite->Width(), sprite->Height(), p.x, p.y, p.xsc,
                                  p.ysc, radians, p.colours->c[0], p.colours->c[1],
                                  p.colours->c[2], p.colours->c[3], p.alpha);
    else
      Renderer_DrawTextureTransformed(tex, p.col, sprite->i_xorig, sprite->i_yorig, p.x, p.y,
                                      p.xsc, p.ysc, radians, p.alpha);
    return;
  }
  if (p.colours)
    Renderer_DrawTextureGeneral(font.s_tex, font.s_x[c], font.s_y[c], font.s_w[c], font.s_h[c],
                                p.x, p.y, p.xsc, p.ysc, radians, p.colours->c[0],
                                p.colours->c[1], p.colours->c[2], p.colours->c[3], p.alpha);
  else
    Renderer_DrawTexturePart(font.s_tex, p.col, font.s_x[c], font.s_y[c], font.s_w[c],
                             font.s_h[c], p.x, p.y, p.xsc, p.ysc, radians, p.alpha);
}

// The shared loop: glyph d = pen + s_offset goes to (x + xsc*d*cos, y -
// xsc*d*sin); corner colours, when given, spread c1..c4 across the width.
void DrawLine(CFont& font, double x, double y, const VString& str, double xsc, double ysc,
              double angle, const Corners* colours, int32_t col, double alpha) {
  if (!font.IsSpriteFont()) font.InitTexture();
  const double radians = angle * std::numbers::pi / 180;
  const double cosine = std::cos(radians), sine = std::sin(radians);
  const double width = colours ? font.TextWidth(str) : 0;
  double pen = 0;
  for (char16_t ch : str) {
    const uint32_t c = ch;
    const int32_t advance = font.Advance(c);
    if (font.InRange(c)) {
      const double d = pen + font.s_offset[c];
      Corners corners{};
      if (colours) {
        const double from = width > 0 ? pen / width : 0;
        const double to = width > 0 ? (pen + advance) / width : 0;
        corners = Corners{{Color_Merge(colours->c[0], colours->c[1], from),
                           Color_Merge(colours->c[0], colours->c[1], to),
                           Color_Merge(colours->c[3], colours->c[2], to),
                           Color_Merge(colours->c[3], colours->c[2], from)}};
      }
      DrawGlyph(font, c,
                GlyphPlacement{x + xsc * d * cosine, y - xsc * d * sine, xsc, ysc, angle,
                               colours ? &corners : nullptr, col, alpha});
    }
    pen += advance;
  }
}

}  // namespace

void CFont::InitTexture() {
  if (Renderer_TextureExists(s_tex) || s_name.empty() || s_bytes.empty() || s_bw <= 0 ||
      s_bh <= 0 || !Renderer_HasDevice())
    return;
  s_tex = Renderer_CreateTextureFromAlpha(s_bw, s_bh, s_bytes.data());
}

void CFont::FreeTexture() {
  if (Renderer_TextureExists(s_tex)) Renderer_FreeTexture(s_tex);
  s_tex = -1;
}

void CFont::Draw_String(double x, double y, const VString& str, int32_t col, double alpha) {
  DrawLine(*this, x, y, str, 1, 1, 0, nullptr, col, alpha);
}

void CFont::Draw_String_Transformed(double x, double y, const VString& str, double xsc,
                                    double ysc, double angle, int32_t col, double alpha) {
  DrawLine(*this, x, y, str, xsc, ysc, angle, nullptr, col, alpha);
}

void CFont::Draw_String_Color(double x, double y, const VString& str, int32_t c1, int32_t c2,
                              int32_t c3, int32_t c4, double alpha) {
  Corners colours{{c1, c2, c3, c4}};
  DrawLine(*this, x, y, str, 1, 1, 0, &colours, 0, alpha);
}

void CFont::Draw_String_Transformed_Color(double x, double y, const VString& str, double xsc,
                                          double ysc, double angle, int32_t c1, int32_t c2,
                                          int32_t c3, int32_t c4, double alpha) {
  Corners colours{{c1, c2, c3, c4}};
  DrawLine(*this, x, y, str, xsc, ysc, angle, &colours, 0, alpha);
}
