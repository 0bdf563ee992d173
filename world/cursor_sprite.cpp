// cursor_sprite.cpp: the cursor sprite setting and its builtin variable.
#include "world/cursor_sprite.h"

#include "code/builtin_variables.h"

namespace {

int32_t g_cursor_sprite = -1;

void GetCursorSprite(CInstance*, int, RValue& out) { out = RValue::Real(g_cursor_sprite); }

bool SetCursorSprite(CInstance*, int, const RValue& value) {
  g_cursor_sprite = Variable_ToInteger(value);
  return true;
}

}  // namespace

int32_t& Cursor_Sprite() { return g_cursor_sprite; }

void World_BindCursorSprite() { Variable_BuiltinBind("cursor_sprite", GetCursorSprite, SetCursorSprite); }
