// graphics_hooks.cpp: wires the renderer into the run loop, the step loop and
// room entry (frame presentation, room drawing, window adaptation), gives the
// sprite code its textures and screen grabs, and binds view_current.
#include "code/builtin_variables.h"
#include "graphics/renderer.h"
#include "graphics/room_draw.h"
#include "graphics/screen_frame.h"
#include "graphics/transition.h"
#include "motion/image_hooks.h"
#include "world/room_runtime.h"
#include "world/run_main.h"
#include "world/run_step.h"

namespace {

// Start-up normally prepares the graphics; a runner that did not (tests,
// tools) gets them on first use.
void EnsurePrepared() {
  if (!Graphics_Prepared()) Graphics_Prepare();
}

void DrawStep() {
  if (!Screen_AutomaticDraw()) return;
  EnsurePrepared();
  RoomDraw_Draw();
}

void AdaptWindow() {
  EnsurePrepared();
  RoomDraw_AdaptRegion();
}

void DrawEntered() {
  if (!Screen_AutomaticDraw()) return;
  EnsurePrepared();
  if (Transition_Play()) return;  // the transition drew the new room
  RoomDraw_Draw();
}

void Present() {
  if (Graphics_Prepared()) Screen_PresentStep();
}

void MouseToRoom(int wx, int wy, double& rx, double& ry) { Renderer_WindowToRoom(wx, wy, rx, ry); }

int32_t CreateTexture(const TBitmap32& image) { return Renderer_CreateTextureFromImage(image); }
void FreeTexture(int32_t tex) { Renderer_FreeTexture(tex); }
bool GrabScreen(int32_t x, int32_t y, int32_t w, int32_t h, TBitmap32& out) {
  return Renderer_ReadRegion(x, y, w, h, out);
}
bool GrabSurface(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h, TBitmap32& out) {
  return Renderer_SurfaceRead(id, x, y, w, h, out);
}

void GetViewCurrent(CInstance*, int, RValue& out) { out = RValue::Real(Renderer_CurrentView()); }

}  // namespace

void Graphics_InstallHooks() {
  RWorldStepHooks step;
  step.draw = DrawStep;
  step.mouse_to_room = MouseToRoom;
  World_SetStepHooks(step);
  RunHooks run;
  run.present = Present;
  Run_SetHooks(run);
  RRoomRuntimeHooks room;
  room.adapt_window = AdaptWindow;
  room.draw_entered = DrawEntered;
  RoomRuntime_SetHooks(room);
  RImageRendererHooks image;
  image.create_texture = CreateTexture;
  image.free_texture = FreeTexture;
  image.grab_screen = GrabScreen;
  image.grab_surface = GrabSurface;
  Image_SetRendererHooks(image);
  Variable_BuiltinBind("view_current", GetViewCurrent, nullptr);
}
