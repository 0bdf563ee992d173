// draw_images.cpp: image sources of sprites, backgrounds and surfaces, and
// the drawing forms over the renderer's textured quads.
#include "graphics/draw_images.h"

#include <cmath>
#include <numbers>

#include "graphics/background_class.h"
#include "graphics/renderer.h"
#include "motion/sprite_class.h"
#include "runner/game_data.h"
#include "world/instance_class.h"
#include "world/room_enter.h"
#include "world/room_class.h"

namespace {

constexpr int32_t kWhite = 0xFFFFFF;

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

}  // namespace

int32_t Draw_SubImage(const CSprite& sprite, double subimg, const CInstance* self) {
  const int64_t count = sprite.Numb();
  if (count == 0) return -1;
  double index = subimg < 0 && self != nullptr ? self->i_imageindex : subimg;
  if (!std::isfinite(index)) return 0;
  int64_t i = static_cast<int64_t>(std::floor(std::fmod(std::floor(index), double(count))));
  if (i < 0) i += count;
  return static_cast<int32_t>(i);
}

int32_t Draw_SpriteTexture(CSprite& sprite, int32_t img) {
  if (img < 0 || img >= sprite.Numb()) return -1;
  if (sprite.i_tex.size() < sprite.i_bitmap.size()) sprite.i_tex.resize(sprite.i_bitmap.size(), -1);
  int32_t& tex = sprite.i_tex[static_cast<size_t>(img)];
  if (!Renderer_TextureExists(tex) && Renderer_HasDevice())
    tex = Renderer_CreateTextureFromImage(sprite.i_bitmap[static_cast<size_t>(img)]);
  return tex;
}

int32_t Draw_BackgroundTexture(CBackground& back) {
  if (!Renderer_TextureExists(back.i_tex) && Renderer_HasDevice() && !back.i_bitmap.Empty())
    back.i_tex = Renderer_CreateTextureFromImage(back.i_bitmap);
  return back.i_tex;
}

bool Draw_SpriteSource(int32_t ind, double subimg, const CInstance* self, RImageSource& out) {
  CSprite* sprite = Game().sprites.Get(ind);
  if (sprite == nullptr) return false;
  out = RImageSource{};
  out.w = sprite->Width();
  out.h = sprite->Height();
  out.xo = sprite->i_xorig;
  out.yo = sprite->i_yorig;
  out.tex = Draw_SpriteTexture(*sprite, Draw_SubImage(*sprite, subimg, self));
  return true;
}

bool Draw_BackgroundSource(int32_t ind, RImageSource& out) {
  CBackground* back = Game().backgrounds.Get(ind);
  if (back == nullptr) return false;
  out = RImageSource{};
  out.w = back->Width();
  out.h = back->Height();
  out.tex = Draw_BackgroundTexture(*back);
  return true;
}

bool Draw_SurfaceSource(int32_t id, RImageSource& out) {
  if (!Renderer_SurfaceExists(id)) return false;
  out = RImageSource{};
  out.w = Renderer_SurfaceWidth(id);
  out.h = Renderer_SurfaceHeight(id);
  out.tex = Renderer_SurfaceTexture(id);
  return true;
}

void Draw_Image(const RImageSource& s, double x, double y) {
  Renderer_DrawTextureTransformed(s.tex, kWhite, s.xo, s.yo, x, y, 1, 1, 0, 1);
}

void Draw_ImageExt(const RImageSource& s, double x, double y, double xscale, double yscale,
                   double angle, int32_t colour, double alpha) {
  Renderer_DrawTextureTransformed(s.tex, colour, s.xo, s.yo, x, y, xscale, yscale,
                                  Radians(angle), alpha);
}

void Draw_ImageStretched(const RImageSource& s, double x, double y, double w, double h,
                         int32_t colour, double alpha) {
  if (w <= 0 || h <= 0 || s.w <= 0 || s.h <= 0) return;
  Renderer_DrawTextureTransformed(s.tex, colour, 0, 0, x, y, w / s.w, h / s.h, 0, alpha);
}

void Draw_ImagePart(const RImageSource& s, double left, double top, double width, double height,
                    double x, double y, double xscale, double yscale, int32_t colour,
                    double alpha) {
  Renderer_DrawTexturePart(s.tex, colour, left, top, width, height, x, y, xscale, yscale, 0,
                           alpha);
}

void Draw_ImageGeneral(const RImageSource& s, double left, double top, double width,
                       double height, double x, double y, double xscale, double yscale,
                       double angle, int32_t c1, int32_t c2, int32_t c3, int32_t c4,
                       double alpha) {
  Renderer_DrawTextureGeneral(s.tex, left, top, width, height, x, y, xscale, yscale,
                              Radians(angle), c1, c2, c3, c4, alpha);
}

void Draw_ImageTiled(const RImageSource& s, double x, double y, double xscale, double yscale,
                     int32_t colour, double alpha) {
  const CRoom* room = Room_CurrentRecord();
  double rw = room ? room->r_width : Renderer_RegionWidth();
  double rh = room ? room->r_height : Renderer_RegionHeight();
  Renderer_DrawTextureTiled(s.tex, true, true, s.xo, s.yo, x, y, xscale, yscale, 0, 0, rw, rh,
                            colour, alpha);
}
