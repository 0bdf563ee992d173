// function_surface.cpp: the surface builtins: creating, freeing and
// querying surfaces, drawing into them, reading, saving and copying them.
#include <algorithm>
#include <string>

#include "code/code_error.h"
#include "graphics/function_args.h"
#include "graphics/function_register.h"
#include "graphics/renderer.h"
#include "graphics/screen_save.h"

namespace {

using namespace graphics_args;

// The id when it is a live surface; otherwise the report, and false.
bool Live(int id) {
  if (Renderer_SurfaceExists(id)) return true;
  Error_Show_Action("Trying to use non-existing surface.", false);
  return false;
}

std::string FileName(const RValue& v) {
  std::string name = ToUtf8(ValueText(v));
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

void F_Create(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, Renderer_SurfaceCreate(Int(a[0]), Int(a[1])));
}
void F_Free(RValue&, CInstance*, CInstance*, int, RValue* a) {
  if (Live(Int(a[0]))) Renderer_SurfaceFree(Int(a[0]));
}
void F_Exists(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Renderer_SurfaceExists(Int(a[0])));
}
template <int (*Get)(int)>
void F_Get(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetReal(r, Live(Int(a[0])) ? Get(Int(a[0])) : -1);
}
void F_SetTarget(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Live(Int(a[0])) && Renderer_SurfaceSetTarget(Int(a[0])));
}
void F_ResetTarget(RValue&, CInstance*, CInstance*, int, RValue*) {
  Renderer_SurfaceResetTarget();
}
void F_GetPixel(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  if (!Live(Int(a[0]))) return;
  TBitmap32 pixel;
  if (Renderer_SurfaceRead(Int(a[0]), Int(a[1]), Int(a[2]), 1, 1, pixel) && !pixel.Empty())
    SetReal(r, Renderer_ARGBToColour(pixel.GetPixel(0, 0)));
}

// Saves the part (x, y, w, h) of surface id, clipped to it.
void Save(int id, const RValue& name, int x, int y, int w, int h) {
  if (!Live(id)) return;
  std::string file = FileName(name);
  if (file.empty()) {
    Error_Show_Action("Trying to save surface to empty image file name.", false);
    return;
  }
  TBitmap32 image;
  // Write failures are not reported.
  if (Renderer_SurfaceRead(id, x, y, w, h, image)) Screen_SaveImage(file, image, true);
}
void F_Save(RValue&, CInstance*, CInstance*, int, RValue* a) {
  int id = Int(a[0]);
  Save(id, a[1], 0, 0, Renderer_SurfaceWidth(id), Renderer_SurfaceHeight(id));
}
void F_SavePart(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Save(Int(a[0]), a[1], Int(a[2]), Int(a[3]), Int(a[4]), Int(a[5]));
}

void F_Copy(RValue&, CInstance*, CInstance*, int, RValue* a) {
  int destination = Int(a[0]), source = Int(a[3]);
  if (!Live(destination) || !Live(source)) return;
  Renderer_SurfaceCopy(destination, Int(a[1]), Int(a[2]), source, 0, 0,
                       Renderer_SurfaceWidth(source), Renderer_SurfaceHeight(source));
}
void F_CopyPart(RValue&, CInstance*, CInstance*, int, RValue* a) {
  int destination = Int(a[0]), source = Int(a[3]);
  if (!Live(destination) || !Live(source)) return;
  Renderer_SurfaceCopy(destination, Int(a[1]), Int(a[2]), source, Int(a[4]), Int(a[5]),
                       Int(a[6]), Int(a[7]));
}

}  // namespace

void Graphics_RegisterSurfaceFunctions() {
  Graphics_AddFunction("surface_create", F_Create, 2);
  Graphics_AddFunction("surface_free", F_Free, 1);
  Graphics_AddFunction("surface_exists", F_Exists, 1);
  Graphics_AddFunction("surface_get_width", F_Get<Renderer_SurfaceWidth>, 1);
  Graphics_AddFunction("surface_get_height", F_Get<Renderer_SurfaceHeight>, 1);
  Graphics_AddFunction("surface_get_texture", F_Get<Renderer_SurfaceTexture>, 1);
  Graphics_AddFunction("surface_set_target", F_SetTarget, 1);
  Graphics_AddFunction("surface_reset_target", F_ResetTarget, 0);
  Graphics_AddFunction("surface_getpixel", F_GetPixel, 3);
  Graphics_AddFunction("surface_save", F_Save, 2);
  Graphics_AddFunction("surface_save_part", F_SavePart, 6);
  Graphics_AddFunction("surface_copy", F_Copy, 4);
  Graphics_AddFunction("surface_copy_part", F_CopyPart, 8);
}
