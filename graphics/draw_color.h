// draw_color.h: the colour arithmetic of game code: game colours are
// blue-green-red integers (red in the lowest byte); the renderer works in
// ARGB (renderer.h converts). Channel access, HSV conversion and merging.
#pragma once

#include <cstdint>

// red + 256*green + 65536*blue of the rounded channels, without clamping:
// values above 255 carry into the next channel.
int64_t Color_Make(double r, double g, double b);

// Channels of a game colour; division and remainder truncate toward zero,
// so a negative colour gives negative channels.
int64_t Color_GetRed(double col);
int64_t Color_GetGreen(double col);
int64_t Color_GetBlue(double col);

// HSV with every component on 0..255.
int64_t Color_MakeHSV(double h, double s, double v);
int64_t Color_GetHue(double col);
int64_t Color_GetSaturation(double col);
int64_t Color_GetValue(double col);

// Per channel round((1 - amount)*x1 + amount*x2), kept to its low 8 bits;
// amount is not clamped.
int32_t Color_Merge(int32_t c1, int32_t c2, double amount);
