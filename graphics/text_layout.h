// text_layout.h: turning a text into drawn lines: '#' and line feeds as
// line breaks, word wrapping at a width, and the width and height of the
// laid-out text.
#pragma once

#include <cstdint>
#include <vector>

#include "common/value.h"

class CFont;

// '#' becomes a line break (carriage return) unless preceded by a
// backslash, which is then dropped and the '#' kept; CR LF becomes CR and a
// lone LF becomes CR.
VString Text_ConvertBreaks(const VString& text);

// The lines of a text: split at breaks (a final break adds no empty line,
// the empty text gives none); with width >= 0 each non-empty line is
// wrapped after spaces and hyphens so that it stays within width where the
// words allow (a word wider than width stands alone).
std::vector<VString> Text_Layout(const CFont& font, const VString& text, double width);

// The widest line, at least 1.
int32_t Text_LayoutWidth(const CFont& font, const std::vector<VString>& lines);
// Font height + sep * (lines - 1) (sep < 0: the font height); 1 without
// lines.
double Text_LayoutHeight(const CFont& font, size_t lines, double sep);
