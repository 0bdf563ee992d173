// sdl_keys.h: maps SDL scancodes to the virtual-key codes game code sees.
#pragma once

#include <SDL.h>

// The virtual-key code of a scancode; 0 for keys without one.
int SdlScancodeToVirtualKey(SDL_Scancode scancode);
