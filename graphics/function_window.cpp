// function_window.cpp: the display and window builtins: display modes, the
// window's flags, caption, cursor, colour, position and size, the region
// and its scale, and the mouse in window, view and room terms.
#include <cmath>

#include "graphics/function_args.h"
#include "graphics/function_register.h"
#include "graphics/renderer.h"

namespace {

using namespace graphics_args;

// A getter of no arguments returning a number.
template <auto Get>
void F_Value(RValue& r, CInstance*, CInstance*, int, RValue*) {
  SetReal(r, static_cast<double>(Get()));
}
// A setter of one boolean.
template <void (*Set)(bool)>
void F_SetFlag(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Set(Flag(a[0]));
}

void F_DisplaySetSize(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Renderer_DisplaySetMode(Int(a[0]), Int(a[1]), 0, 0, false));
}
void F_DisplaySetColorDepth(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Renderer_DisplaySetMode(0, 0, 0, Int(a[0]), false));
}
void F_DisplaySetFrequency(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Renderer_DisplaySetMode(0, 0, Int(a[0]), 0, false));
}
void F_DisplaySetAll(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Renderer_DisplaySetMode(Int(a[0]), Int(a[1]), Int(a[2]), Int(a[3]), false));
}
void F_DisplayTestAll(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  SetBool(r, Renderer_DisplaySetMode(Int(a[0]), Int(a[1]), Int(a[2]), Int(a[3]), true));
}
// Without an argument the multisample level is 0 (none).
void F_DisplayReset(RValue&, CInstance*, CInstance*, int argc, RValue* a) {
  Renderer_DisplayReset(argc > 0 ? Int(a[0]) : 0);
}
void F_DisplayMouseSet(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_DisplayMouseSet(Int(a[0]), Int(a[1]));
}

void F_SetCaption(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetCaption(ToUtf8(ValueText(a[0])));
}
void F_GetCaption(RValue& r, CInstance*, CInstance*, int, RValue*) {
  r = RValue::String(FromUtf8(Renderer_Caption()));
}
void F_SetCursor(RValue&, CInstance*, CInstance*, int, RValue* a) { Renderer_SetCursor(Int(a[0])); }
void F_SetColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetWindowColour(Int(a[0]));
}
void F_SetPosition(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetWindowPosition(Int(a[0]), Int(a[1]));
}
void F_SetSize(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetWindowSize(Int(a[0]), Int(a[1]));
}
void F_SetRectangle(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetWindowRectangle(Int(a[0]), Int(a[1]), Int(a[2]), Int(a[3]));
}
void F_Center(RValue&, CInstance*, CInstance*, int, RValue*) { Renderer_WindowCenter(); }
void F_Default(RValue&, CInstance*, CInstance*, int, RValue*) { Renderer_WindowDefault(); }
void F_SetRegionSize(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetRegionSize(Int(a[0]), Int(a[1]), Flag(a[2]));
}
void F_SetRegionScale(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_SetRegionScale(Real(a[0]), Flag(a[1]));
}
void F_WindowMouseSet(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Renderer_WindowMouseSet(Int(a[0]), Int(a[1]));
}

// The mouse through view id; the region position when that view is unused.
void MouseThroughView(int view, double& x, double& y) {
  double rx = 0, ry = 0;
  Renderer_WindowToRegion(Renderer_WindowMouseX(), Renderer_WindowMouseY(), rx, ry);
  x = rx;
  y = ry;
  if (view >= 0 && view < kViewTransformCount) Renderer_RegionToRoom(view, rx, ry, x, y);
}
void F_ViewMouseX(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  double x = 0, y = 0;
  MouseThroughView(Int(a[0]), x, y);
  SetReal(r, x);
}
void F_ViewMouseY(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  double x = 0, y = 0;
  MouseThroughView(Int(a[0]), x, y);
  SetReal(r, y);
}
void F_ViewMouseSet(RValue&, CInstance*, CInstance*, int, RValue* a) {
  int wx = 0, wy = 0;
  Renderer_RoomToWindow(Int(a[0]), Real(a[1]), Real(a[2]), wx, wy);
  Renderer_WindowMouseSet(wx, wy);
}
void F_ViewsMouseX(RValue& r, CInstance*, CInstance*, int, RValue*) {
  double x = 0, y = 0;
  Renderer_WindowToRoom(Renderer_WindowMouseX(), Renderer_WindowMouseY(), x, y);
  SetReal(r, x);
}
void F_ViewsMouseY(RValue& r, CInstance*, CInstance*, int, RValue*) {
  double x = 0, y = 0;
  Renderer_WindowToRoom(Renderer_WindowMouseX(), Renderer_WindowMouseY(), x, y);
  SetReal(r, y);
}
void F_ViewsMouseSet(RValue&, CInstance*, CInstance*, int, RValue* a) {
  int wx = 0, wy = 0;
  Renderer_RoomToWindow(-1, Real(a[0]), Real(a[1]), wx, wy);
  Renderer_WindowMouseSet(wx, wy);
}

}  // namespace

void Graphics_RegisterWindowFunctions() {
  Graphics_AddFunction("display_get_width", F_Value<Renderer_DisplayWidth>, 0);
  Graphics_AddFunction("display_get_height", F_Value<Renderer_DisplayHeight>, 0);
  Graphics_AddFunction("display_get_colordepth", F_Value<Renderer_DisplayColourDepth>, 0);
  Graphics_AddFunction("display_get_frequency", F_Value<Renderer_DisplayFrequency>, 0);
  Graphics_AddFunction("display_set_size", F_DisplaySetSize, 2);
  Graphics_AddFunction("display_set_colordepth", F_DisplaySetColorDepth, 1);
  Graphics_AddFunction("display_set_frequency", F_DisplaySetFrequency, 1);
  Graphics_AddFunction("display_set_all", F_DisplaySetAll, 4);
  Graphics_AddFunction("display_test_all", F_DisplayTestAll, 4);
  Graphics_AddFunction("display_reset", F_DisplayReset, -1);
  Graphics_AddFunction("display_mouse_get_x", F_Value<Renderer_DisplayMouseX>, 0);
  Graphics_AddFunction("display_mouse_get_y", F_Value<Renderer_DisplayMouseY>, 0);
  Graphics_AddFunction("display_mouse_set", F_DisplayMouseSet, 2);
  Graphics_AddFunction("window_set_visible", F_SetFlag<Renderer_SetWindowVisible>, 1);
  Graphics_AddFunction("window_get_visible", F_Value<Renderer_WindowVisible>, 0);
  Graphics_AddFunction("window_set_fullscreen", F_SetFlag<Renderer_SetFullscreen>, 1);
  Graphics_AddFunction("window_get_fullscreen", F_Value<Renderer_Fullscreen>, 0);
  Graphics_AddFunction("window_set_showborder", F_SetFlag<Renderer_SetShowBorder>, 1);
  Graphics_AddFunction("window_get_showborder", F_Value<Renderer_ShowBorder>, 0);
  Graphics_AddFunction("window_set_showicons", F_SetFlag<Renderer_SetShowIcons>, 1);
  Graphics_AddFunction("window_get_showicons", F_Value<Renderer_ShowIcons>, 0);
  Graphics_AddFunction("window_set_stayontop", F_SetFlag<Renderer_SetStayOnTop>, 1);
  Graphics_AddFunction("window_get_stayontop", F_Value<Renderer_StayOnTop>, 0);
  Graphics_AddFunction("window_set_sizeable", F_SetFlag<Renderer_SetSizeable>, 1);
  Graphics_AddFunction("window_get_sizeable", F_Value<Renderer_Sizeable>, 0);
  Graphics_AddFunction("window_set_caption", F_SetCaption, 1);
  Graphics_AddFunction("window_get_caption", F_GetCaption, 0);
  Graphics_AddFunction("window_set_cursor", F_SetCursor, 1);
  Graphics_AddFunction("window_get_cursor", F_Value<Renderer_Cursor>, 0);
  Graphics_AddFunction("window_set_color", F_SetColor, 1);
  Graphics_AddFunction("window_get_color", F_Value<Renderer_WindowColour>, 0);
  Graphics_AddFunction("window_set_position", F_SetPosition, 2);
  Graphics_AddFunction("window_set_size", F_SetSize, 2);
  Graphics_AddFunction("window_set_rectangle", F_SetRectangle, 4);
  Graphics_AddFunction("window_center", F_Center, 0);
  Graphics_AddFunction("window_default", F_Default, 0);
  Graphics_AddFunction("window_get_x", F_Value<Renderer_WindowX>, 0);
  Graphics_AddFunction("window_get_y", F_Value<Renderer_WindowY>, 0);
  Graphics_AddFunction("window_get_width", F_Value<Renderer_WindowWidth>, 0);
  Graphics_AddFunction("window_get_height", F_Value<Renderer_WindowHeight>, 0);
  Graphics_AddFunction("window_set_region_size", F_SetRegionSize, 3);
  Graphics_AddFunction("window_get_region_width", F_Value<Renderer_RegionWidth>, 0);
  Graphics_AddFunction("window_get_region_height", F_Value<Renderer_RegionHeight>, 0);
  Graphics_AddFunction("window_set_region_scale", F_SetRegionScale, 2);
  Graphics_AddFunction("window_get_region_scale", F_Value<Renderer_RegionScale>, 0);
  Graphics_AddFunction("window_mouse_get_x", F_Value<Renderer_WindowMouseX>, 0);
  Graphics_AddFunction("window_mouse_get_y", F_Value<Renderer_WindowMouseY>, 0);
  Graphics_AddFunction("window_mouse_set", F_WindowMouseSet, 2);
  Graphics_AddFunction("window_view_mouse_get_x", F_ViewMouseX, 1);
  Graphics_AddFunction("window_view_mouse_get_y", F_ViewMouseY, 1);
  Graphics_AddFunction("window_view_mouse_set", F_ViewMouseSet, 3);
  Graphics_AddFunction("window_views_mouse_get_x", F_ViewsMouseX, 0);
  Graphics_AddFunction("window_views_mouse_get_y", F_ViewsMouseY, 0);
  Graphics_AddFunction("window_views_mouse_set", F_ViewsMouseSet, 2);
}
