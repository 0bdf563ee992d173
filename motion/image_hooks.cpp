// image_hooks.cpp: the renderer hooks of the sprite code and the texture
// calls made through them.
#include "motion/image_hooks.h"

#include "motion/sprite_class.h"
#include "runner/game_data.h"

namespace {
RImageRendererHooks g_hooks;
}

void Image_SetRendererHooks(const RImageRendererHooks& hooks) {
  if (hooks.create_texture) g_hooks.create_texture = hooks.create_texture;
  if (hooks.free_texture) g_hooks.free_texture = hooks.free_texture;
  if (hooks.grab_screen) g_hooks.grab_screen = hooks.grab_screen;
  if (hooks.grab_surface) g_hooks.grab_surface = hooks.grab_surface;
}

const RImageRendererHooks& Image_RendererHooks() { return g_hooks; }

int32_t Image_CreateTexture(const TBitmap32& image) {
  return g_hooks.create_texture ? g_hooks.create_texture(image) : -1;
}

void Image_FreeTexture(int32_t tex) {
  if (tex >= 0 && g_hooks.free_texture) g_hooks.free_texture(tex);
}

void Sprite_InitTextures() {
  ResourceTable<CSprite>& table = Game().sprites;
  for (int i = 0; i < table.Count(); ++i)
    if (CSprite* s = table.Get(i)) s->InitTexture();
}

void Image_ClearRendererHooks() { g_hooks = RImageRendererHooks(); }
