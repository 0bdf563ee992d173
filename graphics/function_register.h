// function_register.h: the registration parts of the graphics builtins, one
// per function file, entered by Graphics_RegisterBuiltins.
#pragma once

#include <string_view>

#include "code/code_function.h"

// Function_Add unless another subsystem already entered the name.
void Graphics_AddFunction(std::string_view name, BuiltinFunction routine, int argc);

void Graphics_RegisterStateFunctions();      // function_draw_state.cpp
void Graphics_RegisterShapeFunctions();      // function_draw_shapes.cpp
void Graphics_RegisterPrimitiveFunctions();  // function_draw_primitive.cpp
void Graphics_RegisterImageFunctions();      // function_draw_image.cpp
void Graphics_RegisterSurfaceFunctions();    // function_surface.cpp
void Graphics_RegisterScreenFunctions();     // function_screen.cpp
void Graphics_RegisterTextFunctions();       // function_text.cpp
void Graphics_RegisterWindowFunctions();     // function_window.cpp
void Graphics_RegisterTransitionFunctions(); // function_transition.cpp
