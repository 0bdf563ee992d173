// function_draw_image.cpp: draw_self and the draw_sprite*, draw_background*
// and draw_surface* families. The three families share their forms; only
// the image source (and the message for a missing one) differs.
#include <cmath>

#include "code/code_error.h"
#include "graphics/draw_images.h"
#include "graphics/function_args.h"
#include "graphics/function_register.h"
#include "world/instance_class.h"

namespace {

using namespace graphics_args;

// Which family a builtin belongs to; the arguments after the source start
// at `first`.
enum class Family { Sprite, Background, Surface };

template <Family F>
constexpr int First() {
  return F == Family::Sprite ? 2 : 1;
}

// The source of a call, or a report when it is missing.
template <Family F>
bool Source(CInstance* self, RValue* a, RImageSource& s) {
  bool found = false;
  const char* message = nullptr;
  if constexpr (F == Family::Sprite) {
    found = Draw_SpriteSource(Int(a[0]), Real(a[1]), self, s);
    message = "Trying to draw non-existing sprite.";
  } else if constexpr (F == Family::Background) {
    found = Draw_BackgroundSource(Int(a[0]), s);
    message = "Trying to draw non-existing background.";
  } else {
    found = Draw_SurfaceSource(Int(a[0]), s);
    message = "Trying to use non-existing surface.";
  }
  if (!found) Error_Show_Action(message, false);
  return found;
}

template <Family F>
void F_Draw(RValue&, CInstance* self, CInstance*, int, RValue* a) {
  RImageSource s;
  if (!Source<F>(self, a, s)) return;
  const RValue* p = a + First<F>();
  Draw_Image(s, Real(p[0]), Real(p[1]));
}

template <Family F>
void F_DrawExt(RValue&, CInstance* self, CInstance*, int, RValue* a) {
  RImageSource s;
  if (!Source<F>(self, a, s)) return;
  const RValue* p = a + First<F>();
  Draw_ImageExt(s, Real(p[0]), Real(p[1]), Real(p[2]), Real(p[3]), Real(p[4]), Int(p[5]),
                Real(p[6]));
}

template <Family F>
void F_DrawStretched(RValue&, CInstance* self, CInstance*, int, RValue* a) {
  RImageSource s;
  if (!Source<F>(self, a, s)) return;
  const RValue* p = a + First<F>();
  Draw_ImageStretched(s, Real(p[0]), Real(p[1]), Real(p[2]), Real(p[3]), 0xFFFFFF, 1);
}

template <Family F>
void F_DrawStretchedExt(RValue&, CInstance* self, CInstance*, int, RValue* a) {
  RImageSource s;
  if (!Source<F>(self, a, s)) return;
  const RValue* p = a + First<F>();
  Draw_ImageStretched(s, Real(p[0]), Real(p[1]), Real(p[2]), Real(p[3]), Int(p[4]), Real(p[5]));
}

template <Family F>
void F_DrawPart(RValue&, CInstance* self, CInstance*, int, RValue* a) {
  RImageSource s;
  if (!Source<F>(self, a, s)) return;
  const RValue* p = a + First<F>();
  Draw_ImagePart(s, Real(p[0]), Real(p[1]), Real(p[2]), Real(p[3]), Real(p[4]), Real(p[5]), 1, 1,
                 0xFFFFFF, 1);
}

template <Family F>
void F_DrawPartExt(RValue&, CInstance* self, CInstance*, int, RValue* a) {
  RImageSource s;
  if (!Source<F>(self, a, s)) return;
  const RValue* p = a + First<F>();
  Draw_ImagePart(s, Real(p[0]), Real(p[1]), Real(p[2]), Real(p[3]), Real(p[4]), Real(p[5]),
                 Real(p[6]), Real(p[7]), Int(p[8]), Real(p[9]));
}

template <Family F>
void F_DrawGeneral(RValue&, CInstance* self, CInstance*, int, RValue* a) {
  RImageSource s;
  if (!Source<F>(self, a, s)) return;
  const RValue* p = a + First<F>();
  Draw_ImageGeneral(s, Real(p[0]), Real(p[1]), Real(p[2]), Real(p[3]), Real(p[4]), Real(p[5]),
                    Real(p[6]), Real(p[7]), Real(p[8]), Int(p[9]), Int(p[10]), Int(p[11]),
                    Int(p[12]), Real(p[13]));
}

template <Family F>
void F_DrawTiled(RValue&, CInstance* self, CInstance*, int, RValue* a) {
  RImageSource s;
  if (!Source<F>(self, a, s)) return;
  const RValue* p = a + First<F>();
  Draw_ImageTiled(s, Real(p[0]), Real(p[1]), 1, 1, 0xFFFFFF, 1);
}

template <Family F>
void F_DrawTiledExt(RValue&, CInstance* self, CInstance*, int, RValue* a) {
  RImageSource s;
  if (!Source<F>(self, a, s)) return;
  const RValue* p = a + First<F>();
  Draw_ImageTiled(s, Real(p[0]), Real(p[1]), Real(p[2]), Real(p[3]), Int(p[4]), Real(p[5]));
}

void F_DrawSelf(RValue&, CInstance* self, CInstance*, int, RValue*) {
  if (self == nullptr) return;
  RImageSource s;
  if (!Draw_SpriteSource(self->i_spriteindex, std::floor(self->i_imageindex), self, s)) {
    Error_Show_Action("Trying to draw non-existing sprite.", false);
    return;
  }
  Draw_ImageExt(s, self->i_x, self->i_y, self->i_imagescalex, self->i_imagescaley,
                self->i_imageangle, static_cast<int32_t>(self->i_imageblend),
                self->i_imagealpha);
}

// Enters the nine forms of one family under prefix ("draw_sprite" ...).
template <Family F>
void RegisterFamily(const std::string& prefix) {
  constexpr int n = First<F>();
  Graphics_AddFunction(prefix, F_Draw<F>, n + 2);
  Graphics_AddFunction(prefix + "_ext", F_DrawExt<F>, n + 7);
  Graphics_AddFunction(prefix + "_stretched", F_DrawStretched<F>, n + 4);
  Graphics_AddFunction(prefix + "_stretched_ext", F_DrawStretchedExt<F>, n + 6);
  Graphics_AddFunction(prefix + "_part", F_DrawPart<F>, n + 6);
  Graphics_AddFunction(prefix + "_part_ext", F_DrawPartExt<F>, n + 10);
  Graphics_AddFunction(prefix + "_general", F_DrawGeneral<F>, n + 14);
  Graphics_AddFunction(prefix + "_tiled", F_DrawTiled<F>, n + 2);
  Graphics_AddFunction(prefix + "_tiled_ext", F_DrawTiledExt<F>, n + 6);
}

}  // namespace

void Graphics_RegisterImageFunctions() {
  Graphics_AddFunction("draw_self", F_DrawSelf, 0);
  RegisterFamily<Family::Sprite>("draw_sprite");
  RegisterFamily<Family::Background>("draw_background");
  RegisterFamily<Family::Surface>("draw_surface");
}
