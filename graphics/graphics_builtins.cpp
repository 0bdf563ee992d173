// graphics_builtins.cpp: the drawing, font, text and transition functions and
// the graphics variables of game code, entered from their function files.
#include "graphics/graphics_builtins.h"
#include "graphics/function_register.h"

void Graphics_AddFunction(std::string_view name, BuiltinFunction routine, int argc) {
  if (Function_Find(name) < 0) Function_Add(name, routine, argc);
}

void Graphics_RegisterBuiltins() {
  Graphics_RegisterWindowFunctions();
  Graphics_RegisterScreenFunctions();
  Graphics_RegisterStateFunctions();
  Graphics_RegisterShapeFunctions();
  Graphics_RegisterPrimitiveFunctions();
  Graphics_RegisterTextFunctions();
  Graphics_RegisterImageFunctions();
  Graphics_RegisterSurfaceFunctions();
  Graphics_RegisterTransitionFunctions();
}
