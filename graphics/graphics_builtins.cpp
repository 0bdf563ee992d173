// graphics_builtins.cpp: the drawing, font, text and transition functions and
// the graphics variables of game code.

void Graphics_RegisterFunctions() {}
