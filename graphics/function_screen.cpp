// function_screen.cpp: the screen builtins: synchronisation, automatic
// drawing, redraw and refresh, saving the screen and reading one pixel.
#include <algorithm>
#include <cmath>
#include <string>

#include "code/code_error.h"
#include "graphics/function_args.h"
#include "graphics/function_register.h"
#include "graphics/renderer.h"
#include "graphics/screen_frame.h"
#include "graphics/screen_save.h"

namespace {

using namespace graphics_args;

std::string FileName(const RValue& v) {
  std::string name = ToUtf8(ValueText(v));
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

void F_SetSynchronization(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetSynchronization(Flag(a[0]));
}
void F_SetAutomaticDraw(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Screen_SetAutomaticDraw(Flag(a[0]));
}
void F_Redraw(RValue&, CInstance*, CInstance*, int, RValue*) { Screen_Redraw(); }
void F_Refresh(RValue&, CInstance*, CInstance*, int, RValue*) { Renderer_Represent(); }
void F_WaitVSync(RValue&, CInstance*, CInstance*, int, RValue*) { Renderer_WaitVSync(); }

// The file name, or the report for an empty one.
bool ScreenFile(const RValue& v, std::string& file) {
  file = FileName(v);
  if (!file.empty()) return true;
  Error_Show_Action("Trying to save screen to empty image file name.", false);
  return false;
}
// Write failures are not reported.
void F_Save(RValue&, CInstance*, CInstance*, int, RValue* a) {
  std::string file;
  if (ScreenFile(a[0], file)) Screen_SaveFile(file);
}
void F_SavePart(RValue&, CInstance*, CInstance*, int, RValue* a) {
  std::string file;
  if (ScreenFile(a[0], file)) Screen_SavePartFile(file, Int(a[1]), Int(a[2]), Int(a[3]), Int(a[4]));
}

// The room point through view_current's transform (the region point itself
// when that view is not in use), read from the frame drawn so far.
void F_GetPixel(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  double rx = Real(a[0]), ry = Real(a[1]);
  double px = rx, py = ry;
  Renderer_RoomToRegion(Renderer_CurrentView(), rx, ry, px, py);
  if (!std::isfinite(px) || !std::isfinite(py)) return;
  uint32_t argb = 0;
  if (Renderer_ReadRegionPixel(ToInt32(px), ToInt32(py), argb))
    SetReal(r, Renderer_ARGBToColour(argb));
}

}  // namespace

void Graphics_RegisterScreenFunctions() {
  Graphics_AddFunction("set_synchronization", F_SetSynchronization, 1);
  Graphics_AddFunction("set_automatic_draw", F_SetAutomaticDraw, 1);
  Graphics_AddFunction("screen_redraw", F_Redraw, 0);
  Graphics_AddFunction("screen_refresh", F_Refresh, 0);
  Graphics_AddFunction("screen_wait_vsync", F_WaitVSync, 0);
  Graphics_AddFunction("screen_save", F_Save, 1);
  Graphics_AddFunction("screen_save_part", F_SavePart, 5);
  Graphics_AddFunction("draw_getpixel", F_GetPixel, 2);
}
