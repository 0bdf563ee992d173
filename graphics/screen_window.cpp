// screen_window.cpp: the window as the renderer sees it: the region (the
// drawing area) and its scale, the window's flags, caption, cursor, colour
// and placement, the mouse in window and screen terms, and display modes.
#include <algorithm>
#include <cmath>

#include "graphics/renderer_internal.h"
#include "graphics/screen_scale.h"
#include "platform/window.h"

namespace {

struct RWindowState {
  int region_w = 8;
  int region_h = 8;
  double scale = 1.0;
  int colour = 0;
  bool visible = true;
  bool border = true;
  bool icons = true;
  bool stay_on_top = false;
  bool sizeable = false;
  int cursor = 0;
  std::string caption;
};

RWindowState& State() {
  static RWindowState state;
  return state;
}

// The client size the window must have at least (s > 0), or 1 x 1.
void ApplyMinimumSize() {
  const RWindowState& s = State();
  if (s.scale > 0)
    Platform_Window().SetMinimumSize(Screen_ScaledSize(s.region_w, s.scale),
                                     Screen_ScaledSize(s.region_h, s.scale));
  else
    Platform_Window().SetMinimumSize(1, 1);
}

// With adapt the client takes exactly the scaled size; without, it only
// grows to it.
void FitClientToRegion(bool adapt) {
  const RWindowState& s = State();
  if (s.scale <= 0) return;
  int wanted_w = Screen_ScaledSize(s.region_w, s.scale);
  int wanted_h = Screen_ScaledSize(s.region_h, s.scale);
  int x = 0, y = 0, w = 0, h = 0;
  Platform_Window().GetClientRect(x, y, w, h);
  if (!adapt) {
    wanted_w = std::max(w, wanted_w);
    wanted_h = std::max(h, wanted_h);
  }
  ApplyMinimumSize();
  if (wanted_w != w || wanted_h != h) Platform_Window().SetSize(wanted_w, wanted_h);
}

}  // namespace

void Screen_ClientSize(int& w, int& h) {
  int x = 0, y = 0;
  Platform_Window().GetClientRect(x, y, w, h);
  if (w <= 0 || h <= 0) {
    w = State().region_w;
    h = State().region_h;
  }
}

RRegionPlacement Screen_RegionPlacement() {
  int cw = 0, ch = 0;
  Screen_ClientSize(cw, ch);
  return Screen_PlaceRegion(State().region_w, State().region_h, State().scale, cw, ch);
}

// ---------------------------------------------------------------- region

void Renderer_SetRegionSize(int w, int h, bool adapt) {
  RWindowState& s = State();
  if (w > 0) s.region_w = w;
  if (h > 0) s.region_h = h;
  RRendererCore& c = Renderer_Core();
  c.batch.Flush();
  c.backend->EnsureBackBuffer(s.region_w, s.region_h);
  if (c.target_surface < 0) Renderer_ResetViewToTarget(s.region_w, s.region_h);
  FitClientToRegion(adapt);
}
int Renderer_RegionWidth() { return State().region_w; }
int Renderer_RegionHeight() { return State().region_h; }

void Renderer_SetRegionScale(double scale, bool adapt) {
  State().scale = std::isnan(scale) ? 1.0 : scale;
  FitClientToRegion(adapt);
  if (State().scale <= 0) ApplyMinimumSize();
}
double Renderer_RegionScale() { return State().scale; }

double Renderer_EffectiveScale() {
  int cw = 0, ch = 0;
  Screen_ClientSize(cw, ch);
  return Screen_FitScale(State().region_w, State().region_h, State().scale, cw, ch);
}

void Renderer_WindowToRegion(int wx, int wy, double& rx, double& ry) {
  int cw = 0, ch = 0;
  Screen_ClientSize(cw, ch);
  Screen_MapToRegion(State().region_w, State().region_h, State().scale, cw, ch, wx, wy, rx, ry);
}

// ---------------------------------------------------------------- window flags

void Renderer_SetWindowColour(int colour) { State().colour = colour; }
int Renderer_WindowColour() { return State().colour; }

void Renderer_SetWindowVisible(bool visible) {
  State().visible = visible;
  if (visible)
    Platform_Window().ShowMain();
  else
    Platform_Window().HideMain();
}
bool Renderer_WindowVisible() { return State().visible; }

void Renderer_SetFullscreen(bool on) {
  if (on != Platform_Window().IsFullscreen()) Platform_Window().SetFullscreen(on);
}
bool Renderer_Fullscreen() { return Platform_Window().IsFullscreen(); }

void Renderer_SetShowBorder(bool on) {
  State().border = on;
  Platform_Window().SetBorder(on);
}
bool Renderer_ShowBorder() { return State().border; }
// The host draws its own title bar buttons; the flag is kept for the getter.
void Renderer_SetShowIcons(bool on) { State().icons = on; }
bool Renderer_ShowIcons() { return State().icons; }
void Renderer_SetStayOnTop(bool on) {
  State().stay_on_top = on;
  Platform_Window().SetStayOnTop(on);
}
bool Renderer_StayOnTop() { return State().stay_on_top; }
void Renderer_SetSizeable(bool on) {
  State().sizeable = on;
  Platform_Window().SetResizable(on);
  ApplyMinimumSize();
}
bool Renderer_Sizeable() { return State().sizeable; }

void Renderer_SetCaption(const std::string& caption) {
  if (caption == State().caption) return;
  State().caption = caption;
  Platform_Window().SetCaption(caption);
}
const std::string& Renderer_Caption() { return State().caption; }

void Renderer_SetCursor(int cursor) {
  State().cursor = cursor;
  Platform_Window().SetCursorShape(cursor);
}
int Renderer_Cursor() { return State().cursor; }

// ---------------------------------------------------------------- placement

void Renderer_SetWindowPosition(int x, int y) { Platform_Window().SetPosition(x, y); }

void Renderer_SetWindowSize(int w, int h) {
  const RWindowState& s = State();
  if (s.scale > 0) {
    w = Screen_ScaledSize(s.region_w, s.scale);
    h = Screen_ScaledSize(s.region_h, s.scale);
  }
  if (w > 0 && h > 0) Platform_Window().SetSize(w, h);
}

void Renderer_SetWindowRectangle(int x, int y, int w, int h) {
  Renderer_SetWindowSize(w, h);
  Renderer_SetWindowPosition(x, y);
}

void Renderer_WindowCenter() {
  int x = 0, y = 0, w = 0, h = 0;
  Platform_Window().GetClientRect(x, y, w, h);
  Renderer_SetWindowPosition((Renderer_DisplayWidth() - w) / 2, (Renderer_DisplayHeight() - h) / 2);
}

void Renderer_WindowDefault() {
  const RWindowState& s = State();
  const int w = s.scale > 0 ? Screen_ScaledSize(s.region_w, s.scale) : s.region_w;
  const int h = s.scale > 0 ? Screen_ScaledSize(s.region_h, s.scale) : s.region_h;
  Platform_Window().SetSize(w, h);
  Renderer_SetWindowPosition((Renderer_DisplayWidth() - w) / 2, (Renderer_DisplayHeight() - h) / 2);
}

static int ClientField(int field) {
  int r[4] = {0, 0, 0, 0};
  Platform_Window().GetClientRect(r[0], r[1], r[2], r[3]);
  return r[field];
}
int Renderer_WindowX() { return ClientField(0); }
int Renderer_WindowY() { return ClientField(1); }
int Renderer_WindowWidth() { return ClientField(2); }
int Renderer_WindowHeight() { return ClientField(3); }

int Renderer_WindowMouseX() {
  int x = 0, y = 0;
  Platform_Window().GetMouse(x, y);
  return x;
}
int Renderer_WindowMouseY() {
  int x = 0, y = 0;
  Platform_Window().GetMouse(x, y);
  return y;
}
void Renderer_WindowMouseSet(int x, int y) { Platform_Window().WarpMouse(x, y); }
int Renderer_DisplayMouseX() {
  int x = 0, y = 0;
  Platform_Window().GetScreenMouse(x, y);
  return x;
}
int Renderer_DisplayMouseY() {
  int x = 0, y = 0;
  Platform_Window().GetScreenMouse(x, y);
  return y;
}
void Renderer_DisplayMouseSet(int x, int y) { Platform_Window().WarpScreenMouse(x, y); }

// ---------------------------------------------------------------- display modes

static int DisplayField(int field) {
  int r[4] = {0, 0, 0, 0};
  Platform_Window().GetDisplayMode(r[0], r[1], r[2], r[3]);
  return r[field];
}
int Renderer_DisplayWidth() { return DisplayField(0); }
int Renderer_DisplayHeight() { return DisplayField(1); }
int Renderer_DisplayColourDepth() { return DisplayField(2); }
int Renderer_DisplayFrequency() { return DisplayField(3); }

bool Renderer_DisplaySetMode(int w, int h, int frequency, int bits, bool test_only) {
  return Platform_Window().SetDisplayMode(w, h, frequency, bits, test_only);
}

// OpenGL keeps textures and render targets across a mode change, so the
// reset keeps surfaces too; only the desktop mode comes back. The frame
// buffers are single-sampled: the multisample level is not used.
void Renderer_DisplayReset(int) { Platform_Window().RestoreDisplayMode(); }
