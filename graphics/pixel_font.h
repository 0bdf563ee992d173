// pixel_font.h: a built-in 5x7 pixel font for the few texts the runner draws
// before any game font exists (the loading window's label).
#pragma once

#include <cstdint>
#include <string_view>

struct RBitmap;

constexpr int kPixelFontWidth = 5;
constexpr int kPixelFontHeight = 7;
constexpr int kPixelFontAdvance = 6;

// Width in pixels of text drawn with PixelFont_Draw.
int PixelFont_TextWidth(std::string_view text);
// Draws text with its top-left corner at x, y in colour (0xAARRGGBB),
// clipped to the bitmap. Characters outside printable ASCII draw as '?'.
void PixelFont_Draw(RBitmap& target, int x, int y, std::string_view text, uint32_t colour);
