// text_draw.h: the text state of game code (current font, default font,
// alignment) and the draw_text family: position snapping, layout into
// lines, alignment, line steps (rotated for the transformed forms) and the
// per-line drawing through the font.
#pragma once

#include <cstdint>
#include <vector>

#include "common/value.h"

class CFont;

enum { TEXT_ALIGN_LEFT = 0, TEXT_ALIGN_CENTER = 1, TEXT_ALIGN_RIGHT = 2 };
enum { TEXT_ALIGN_TOP = 0, TEXT_ALIGN_MIDDLE = 1, TEXT_ALIGN_BOTTOM = 2 };

// draw_set_font: an existing font becomes current, anything else selects the
// default font (index -1).
void Text_SetFont(int32_t font);
int32_t Text_FontIndex();
// The font with the current index when it exists now, else the default font
// ("Arial" 12, characters 32..127, made on first use).
CFont& Text_CurrentFont();
CFont& Text_DefaultFont();
// 1 and 2 as given, any other value 0.
void Text_SetHAlign(int32_t h);
void Text_SetVAlign(int32_t v);
int32_t Text_HAlign();
int32_t Text_VAlign();
// Game start: default font and alignment.
void Text_Reset();

// The text a draw_text argument stands for: a string as it is, a whole real
// as an integer, any other real with two decimals.
VString Text_Argument(const RValue& v);

// Moved away from zero by 0.001, then floored.
double Text_Snap(double v);

// One line as placed: its text and pen start.
struct RTextLine {
  VString text;
  double x, y;
};

// Transform of a text: scale and angle (degrees, counter-clockwise). The
// transformed forms place lines by their own rules even at scale 1, angle 0.
struct RTextTransform {
  bool transformed = false;
  double xscale = 1, yscale = 1, angle = 0;
};

// Where each line of str goes for a draw at (x, y) with sep (< 0: the font
// height) and wrap width w, with the current alignment.
std::vector<RTextLine> Text_Place(const CFont& font, double x, double y, const VString& str,
                                  double sep, double w, const RTextTransform& t);

// The draw_text family: current colour and alpha, or c1..c4 and alpha.
void Text_Draw(double x, double y, const VString& str, double sep, double w,
               const RTextTransform& t);
void Text_DrawColor(double x, double y, const VString& str, double sep, double w,
                    const RTextTransform& t, const int32_t colours[4], double alpha);
