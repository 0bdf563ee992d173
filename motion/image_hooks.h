// image_hooks.h: what the sprite code needs from the renderer, as hooks the
// renderer installs at start: textures for sprite images, and copies of the
// screen or of a surface for the sprites made from them. Until a hook is
// installed, textures stay -1 and grabs fail.
#pragma once

#include <cstdint>

class TBitmap32;

struct RImageRendererHooks {
  // A texture of one image; returns its handle, -1 on failure.
  int32_t (*create_texture)(const TBitmap32& image) = nullptr;
  void (*free_texture)(int32_t tex) = nullptr;
  // The part (x, y, w, h) of the screen (of surface id), clipped to it;
  // false when nothing could be read.
  bool (*grab_screen)(int32_t x, int32_t y, int32_t w, int32_t h, TBitmap32& out) = nullptr;
  bool (*grab_surface)(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h,
                       TBitmap32& out) = nullptr;
};

// Installs the non-null members; null members keep what was installed.
void Image_SetRendererHooks(const RImageRendererHooks& hooks);
const RImageRendererHooks& Image_RendererHooks();

// Texture of one image through the hook (-1 without one), and its release.
int32_t Image_CreateTexture(const TBitmap32& image);
void Image_FreeTexture(int32_t tex);

// Recreates the textures of every existing sprite (after the renderer is
// created or recreated).
void Sprite_InitTextures();

// Removes every hook (tests that install their own).
void Image_ClearRendererHooks();
