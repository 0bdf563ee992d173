// text_draw.cpp: the text state and the draw_text family.
#include "graphics/text_draw.h"

#include <cmath>
#include <memory>
#include <numbers>

#include "graphics/font_class.h"
#include "graphics/renderer.h"
#include "graphics/text_layout.h"
#include "runner/game_data.h"

namespace {

struct TextState {
  int32_t font = -1;
  int32_t halign = TEXT_ALIGN_LEFT;
  int32_t valign = TEXT_ALIGN_TOP;
  std::unique_ptr<CFont> default_font;
};

TextState& State() {
  static TextState state;
  return state;
}

bool IsTransformed(const RTextTransform& t) { return t.transformed; }

double R(double v) { return static_cast<double>(Round(v)); }

// Lines of the plain forms: whole-pixel offsets, truncated halves.
void PlacePlain(const CFont& font, double x, double y, const std::vector<VString>& lines,
                double sep, std::vector<RTextLine>& out) {
  const double count = static_cast<double>(lines.size());
  const int32_t valign = State().valign, halign = State().halign;
  if (valign == TEXT_ALIGN_MIDDLE) y -= std::trunc(count * sep / 2);
  if (valign == TEXT_ALIGN_BOTTOM) y -= count * sep;
  for (const VString& line : lines) {
    const int32_t width = font.TextWidth(line);
    double offset = 0;
    if (halign == TEXT_ALIGN_CENTER) offset = -(width / 2);
    if (halign == TEXT_ALIGN_RIGHT) offset = -width;
    out.push_back(RTextLine{line, x + offset, y});
    y += sep;
  }
}

// Lines of the transformed forms: the line step and the alignment offsets
// follow the rotation.
void PlaceTransformed(const CFont& font, double x, double y, const std::vector<VString>& lines,
                      double sep, const RTextTransform& t, std::vector<RTextLine>& out) {
  const double a = t.angle * std::numbers::pi / 180;
  const double s = std::sin(a), k = std::cos(a);
  const double step_x = s * t.yscale * sep, step_y = k * t.yscale * sep;
  const double count = static_cast<double>(lines.size());
  const int32_t valign = State().valign, halign = State().halign;
  if (valign == TEXT_ALIGN_MIDDLE) {
    x -= R(count * step_x / 2);
    y -= R(count * step_y / 2);
  }
  if (valign == TEXT_ALIGN_BOTTOM) {
    x -= R(count * step_x);
    y -= R(count * step_y);
  }
  for (const VString& line : lines) {
    const double width = font.TextWidth(line);
    double o = 0;
    if (halign == TEXT_ALIGN_CENTER) o = -R(t.xscale * width / 2);
    if (halign == TEXT_ALIGN_RIGHT) o = -R(t.xscale * width);
    out.push_back(RTextLine{line, x + k * o, y - s * o});
    x += step_x;
    y += step_y;
  }
}

}  // namespace

void Text_SetFont(int32_t font) {
  if (Game().fonts.Exists(font)) {
    State().font = font;
  } else {
    Text_DefaultFont();
    State().font = -1;
  }
}

int32_t Text_FontIndex() { return State().font; }

CFont& Text_DefaultFont() {
  TextState& state = State();
  if (!state.default_font) {
    state.default_font = std::make_unique<CFont>();
    state.default_font->CreateFont(u"Arial", 12, false, false, 32, 127);
  }
  return *state.default_font;
}

CFont& Text_CurrentFont() {
  CFont* font = Game().fonts.Get(State().font);
  return font ? *font : Text_DefaultFont();
}

void Text_SetHAlign(int32_t h) { State().halign = h == 1 || h == 2 ? h : 0; }
void Text_SetVAlign(int32_t v) { State().valign = v == 1 || v == 2 ? v : 0; }
int32_t Text_HAlign() { return State().halign; }
int32_t Text_VAlign() { return State().valign; }

void Text_Reset() {
  State().font = -1;
  State().halign = TEXT_ALIGN_LEFT;
  State().valign = TEXT_ALIGN_TOP;
}

VString Text_Argument(const RValue& v) { return ValueText(v); }

double Text_Snap(double v) { return v >= 0 ? std::floor(v + 0.001) : std::floor(v - 0.001); }

std::vector<RTextLine> Text_Place(const CFont& font, double x, double y, const VString& str,
                                  double sep, double w, const RTextTransform& t) {
  x = Text_Snap(x);
  y = Text_Snap(y);
  std::vector<VString> lines = Text_Layout(font, str, w);
  if (sep < 0) sep = font.TextHeight(str);
  std::vector<RTextLine> out;
  if (IsTransformed(t))
    PlaceTransformed(font, x, y, lines, sep, t, out);
  else
    PlacePlain(font, x, y, lines, sep, out);
  return out;
}

void Text_Draw(double x, double y, const VString& str, double sep, double w,
               const RTextTransform& t) {
  CFont& font = Text_CurrentFont();
  const int32_t col = Renderer_Colour();
  const double alpha = Renderer_Alpha();
  for (const RTextLine& line : Text_Place(font, x, y, str, sep, w, t)) {
    if (IsTransformed(t))
      font.Draw_String_Transformed(line.x, line.y, line.text, t.xscale, t.yscale, t.angle, col,
                                   alpha);
    else
      font.Draw_String(line.x, line.y, line.text, col, alpha);
  }
}

void Text_DrawColor(double x, double y, const VString& str, double sep, double w,
                    const RTextTransform& t, const int32_t colours[4], double alpha) {
  CFont& font = Text_CurrentFont();
  for (const RTextLine& line : Text_Place(font, x, y, str, sep, w, t)) {
    if (IsTransformed(t))
      font.Draw_String_Transformed_Color(line.x, line.y, line.text, t.xscale, t.yscale, t.angle,
                                         colours[0], colours[1], colours[2], colours[3], alpha);
    else
      font.Draw_String_Color(line.x, line.y, line.text, colours[0], colours[1], colours[2],
                             colours[3], alpha);
  }
}
