// graphics_builtins.h: entering the drawing, font, text, surface and
// transition builtins and the graphics variables of game code.
#pragma once

void Graphics_RegisterBuiltins();
