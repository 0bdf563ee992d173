// cursor_sprite.h: the sprite drawn as the mouse cursor (builtin variable
// cursor_sprite; -1 none). The world stores it; room drawing reads it.
#pragma once

#include <cstdint>

int32_t& Cursor_Sprite();
