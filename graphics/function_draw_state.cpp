// function_draw_state.cpp: the drawing state builtins: colour, alpha, blend
// modes, clearing, circle precision, texture render states, and the colour
// arithmetic (make_color_*, color_get_*, merge_color).
#include <algorithm>

#include "graphics/draw_color.h"
#include "graphics/draw_shapes.h"
#include "graphics/function_args.h"
#include "graphics/function_register.h"
#include "graphics/renderer.h"

namespace {

using namespace graphics_args;

void F_SetColor(RValue&, CInstance*, CInstance*, int, RValue* a) { Renderer_SetColour(Int(a[0])); }
void F_SetAlpha(RValue&, CInstance*, CInstance*, int, RValue* a) { Renderer_SetAlpha(Real(a[0])); }
void F_GetColor(RValue& r, CInstance*, CInstance*, int, RValue*) { SetReal(r, Renderer_Colour()); }
void F_GetAlpha(RValue& r, CInstance*, CInstance*, int, RValue*) { SetReal(r, Renderer_Alpha()); }

void F_MakeColor(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, static_cast<double>(Color_Make(Real(a[0]), Real(a[1]), Real(a[2]))));
}
void F_MakeColorHsv(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, static_cast<double>(Color_MakeHSV(Real(a[0]), Real(a[1]), Real(a[2]))));
}
template <int64_t (*Channel)(double)>
void F_Channel(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, static_cast<double>(Channel(Real(a[0]))));
}
void F_MergeColor(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, Color_Merge(Int(a[0]), Int(a[1]), Real(a[2])));
}

void F_SetBlendMode(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetBlendMode(Int(a[0]));
}
void F_SetBlendModeExt(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetBlendModeExt(Int(a[0]), Int(a[1]));
}
void F_Clear(RValue&, CInstance*, CInstance*, int, RValue* a) { Renderer_Clear(Int(a[0]), 1); }
void F_ClearAlpha(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_Clear(Int(a[0]), std::clamp(Real(a[1]), 0.0, 1.0));
}
void F_SetCirclePrecision(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Draw_SetCirclePrecision(Int(a[0]));
}

void F_TextureSetInterpolation(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetInterpolation(Flag(a[0]));
}
void F_TextureSetBlending(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetTextureBlending(Flag(a[0]));
}
void F_TextureSetRepeat(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetTextureRepeat(Flag(a[0]));
}

}  // namespace

void Graphics_RegisterStateFunctions() {
  Graphics_AddFunction("draw_set_color", F_SetColor, 1);
  Graphics_AddFunction("draw_set_alpha", F_SetAlpha, 1);
  Graphics_AddFunction("draw_get_color", F_GetColor, 0);
  Graphics_AddFunction("draw_get_alpha", F_GetAlpha, 0);
  Graphics_AddFunction("make_color", F_MakeColor, 3);
  Graphics_AddFunction("make_color_rgb", F_MakeColor, 3);
  Graphics_AddFunction("make_color_hsv", F_MakeColorHsv, 3);
  Graphics_AddFunction("color_get_red", F_Channel<Color_GetRed>, 1);
  Graphics_AddFunction("color_get_green", F_Channel<Color_GetGreen>, 1);
  Graphics_AddFunction("color_get_blue", F_Channel<Color_GetBlue>, 1);
  Graphics_AddFunction("color_get_hue", F_Channel<Color_GetHue>, 1);
  Graphics_AddFunction("color_get_saturation", F_Channel<Color_GetSaturation>, 1);
  Graphics_AddFunction("color_get_value", F_Channel<Color_GetValue>, 1);
  Graphics_AddFunction("merge_color", F_MergeColor, 3);
  Graphics_AddFunction("draw_set_blend_mode", F_SetBlendMode, 1);
  Graphics_AddFunction("draw_set_blend_mode_ext", F_SetBlendModeExt, 2);
  Graphics_AddFunction("draw_clear", F_Clear, 1);
  Graphics_AddFunction("draw_clear_alpha", F_ClearAlpha, 2);
  Graphics_AddFunction("draw_set_circle_precision", F_SetCirclePrecision, 1);
  Graphics_AddFunction("texture_set_interpolation", F_TextureSetInterpolation, 1);
  Graphics_AddFunction("texture_set_blending", F_TextureSetBlending, 1);
  Graphics_AddFunction("texture_set_repeat", F_TextureSetRepeat, 1);
}
