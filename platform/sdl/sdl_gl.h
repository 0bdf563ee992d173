// sdl_gl.h: OpenGL contexts over SDL, shared by the window backend and the
// headless one (which uses SDL's offscreen video driver with EGL).
#pragma once

#include <string>

struct SDL_Window;

// Asks for OpenGL 3.3 core, double-buffered, 24-bit depth and 8-bit stencil
// on windows made after the call.
void SdlGL_SetAttributes();
// A context current on the window; null with the reason in `error`.
void* SdlGL_CreateContext(SDL_Window* window, std::string& error);
// Makes `context` current on `window` unless it already is. Creating or
// destroying another window (the loading window's renderer has a context of
// its own) can leave another context current, or none.
void SdlGL_MakeCurrent(SDL_Window* window, void* context);
// A hidden 16 x 16 OpenGL window of SDL's offscreen driver (started on first
// use); null with the reason in `error`.
SDL_Window* SdlGL_OpenOffscreenWindow(std::string& error);
void SdlGL_CloseOffscreenWindow(SDL_Window* window);
