// function_draw_primitive.cpp: primitive lists built vertex by vertex
// (draw_primitive_begin .. draw_primitive_end) and the texture queries.
#include <cmath>
#include <vector>

#include "code/code_error.h"
#include "graphics/draw_images.h"
#include "graphics/function_args.h"
#include "graphics/function_register.h"
#include "graphics/renderer.h"
#include "motion/sprite_class.h"
#include "runner/game_data.h"

namespace {

using namespace graphics_args;

constexpr size_t kMaxVertices = 1001;  // later vertices are ignored

struct PrimitiveList {
  int kind = 0;
  int tex = -1;
  std::vector<RVertex> vertices;
};

PrimitiveList& List() {
  static PrimitiveList list;
  return list;
}

void Begin(int kind, int tex) {
  PrimitiveList& list = List();
  list.kind = kind;
  list.tex = tex;
  list.vertices.clear();
  list.vertices.reserve(kMaxVertices);
}

void Add(double x, double y, double u, double v, uint32_t colour) {
  PrimitiveList& list = List();
  if (list.vertices.size() >= kMaxVertices) return;
  list.vertices.push_back(RVertex{static_cast<float>(x), static_cast<float>(y),
                                  static_cast<float>(Renderer_Depth()), colour,
                                  static_cast<float>(u), static_cast<float>(v)});
}

void F_Begin(RValue&, CInstance*, CInstance*, int, RValue* a) { Begin(Int(a[0]), -1); }
void F_BeginTexture(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Begin(Int(a[0]), Int(a[1]));
}
void F_Vertex(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Add(Real(a[0]), Real(a[1]), 0, 0, Renderer_ColourARGB());
}
void F_VertexColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Add(Real(a[0]), Real(a[1]), 0, 0, Renderer_MakeARGB(Int(a[2]), Real(a[3])));
}
void F_VertexTexture(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Add(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Renderer_ColourARGB());
}
void F_VertexTextureColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Add(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]), Renderer_MakeARGB(Int(a[4]), Real(a[5])));
}
void F_End(RValue&, CInstance*, CInstance*, int, RValue*) {
  PrimitiveList& list = List();
  Renderer_SetPrimitiveTexture(Renderer_TextureExists(list.tex) ? list.tex : -1);
  Renderer_DrawPrimitive(list.kind, list.vertices.data(), static_cast<int>(list.vertices.size()));
  Renderer_SetPrimitiveTexture(-1);
  list.vertices.clear();
}

void F_SpriteGetTexture(RValue& r, CInstance* self, CInstance*, int, RValue* a) {
  CSprite* sprite = Game().sprites.Get(Int(a[0]));
  if (sprite == nullptr) {
    Error_Show_Action("Trying to get texture from non-existing sprite.", false);
    return;
  }
  SetReal(r, Draw_SpriteTexture(*sprite, Draw_SubImage(*sprite, Real(a[1]), self)));
}
void F_BackgroundGetTexture(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  CBackground* back = Game().backgrounds.Get(Int(a[0]));
  if (back == nullptr) {
    Error_Show_Action("Trying to get texture from non-existing background.", false);
    return;
  }
  SetReal(r, Draw_BackgroundTexture(*back));
}
void F_TextureExists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Renderer_TextureExists(Int(a[0])));
}
void F_TextureGetWidth(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, Renderer_TextureWidthFraction(Int(a[0])));
}
void F_TextureGetHeight(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, Renderer_TextureHeightFraction(Int(a[0])));
}
// Textures live in video memory from their creation on; nothing to ask.
void F_TextureNoOp(RValue&, CInstance*, CInstance*, int, RValue*) {}

}  // namespace

void Graphics_RegisterPrimitiveFunctions() {
  Graphics_AddFunction("draw_primitive_begin", F_Begin, 1);
  Graphics_AddFunction("draw_primitive_begin_texture", F_BeginTexture, 2);
  Graphics_AddFunction("draw_primitive_end", F_End, 0);
  Graphics_AddFunction("draw_vertex", F_Vertex, 2);
  Graphics_AddFunction("draw_vertex_color", F_VertexColor, 4);
  Graphics_AddFunction("draw_vertex_texture", F_VertexTexture, 4);
  Graphics_AddFunction("draw_vertex_texture_color", F_VertexTextureColor, 6);
  Graphics_AddFunction("sprite_get_texture", F_SpriteGetTexture, 2);
  Graphics_AddFunction("background_get_texture", F_BackgroundGetTexture, 1);
  Graphics_AddFunction("texture_exists", F_TextureExists, 1);
  Graphics_AddFunction("texture_get_width", F_TextureGetWidth, 1);
  Graphics_AddFunction("texture_get_height", F_TextureGetHeight, 1);
  Graphics_AddFunction("texture_preload", F_TextureNoOp, 1);
  Graphics_AddFunction("texture_set_priority", F_TextureNoOp, 2);
}
