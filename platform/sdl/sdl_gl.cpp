// sdl_gl.cpp: OpenGL context creation over SDL (see sdl_gl.h).
#include "platform/sdl/sdl_gl.h"

#include <SDL.h>

void SdlGL_SetAttributes() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
}

void* SdlGL_CreateContext(SDL_Window* window, std::string& error) {
  if (window == nullptr) {
    error = "no window";
    return nullptr;
  }
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (context == nullptr) {
    error = SDL_GetError();
    return nullptr;
  }
  if (SDL_GL_MakeCurrent(window, context) != 0) {
    error = SDL_GetError();
    SDL_GL_DeleteContext(context);
    return nullptr;
  }
  return context;
}

void SdlGL_MakeCurrent(SDL_Window* window, void* context) {
  if (window == nullptr || context == nullptr) return;
  if (SDL_GL_GetCurrentContext() == context && SDL_GL_GetCurrentWindow() == window) return;
  SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(context));
}

SDL_Window* SdlGL_OpenOffscreenWindow(std::string& error) {
  if ((SDL_WasInit(SDL_INIT_VIDEO) & SDL_INIT_VIDEO) == 0) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      error = SDL_GetError();
      return nullptr;
    }
  }
  SdlGL_SetAttributes();
  SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window == nullptr) error = SDL_GetError();
  return window;
}

void SdlGL_CloseOffscreenWindow(SDL_Window* window) {
  if (window != nullptr) SDL_DestroyWindow(window);
}
