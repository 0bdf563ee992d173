// renderer_core.cpp: the renderer's lifecycle, frame cycle, drawing state,
// viewport, projection, clearing and region read-back, over the backend
// chosen at Renderer_Init.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "graphics/renderer_internal.h"

RRendererCore& Renderer_Core() {
  static RRendererCore* core = [] {
    auto* made = new RRendererCore();
    made->backend = CreateNullBackend();
    made->batch.SetBackend(made->backend.get());
    return made;
  }();
  return *core;
}

RendererBackend& Renderer_Backend() { return *Renderer_Core().backend; }

void Renderer_Flush() { Renderer_Core().batch.Flush(); }

RBatchState Renderer_BatchState(int texture) {
  const RRendererCore& c = Renderer_Core();
  RBatchState state;
  state.texture = texture;
  state.source_factor = static_cast<uint8_t>(c.source_factor);
  state.destination_factor = static_cast<uint8_t>(c.destination_factor);
  state.linear = c.linear;
  state.texture_blending = c.texture_blending;
  state.repeat = c.repeat;
  state.depth_test = c.mode3d && c.hidden_surface;
  return state;
}

// ---------------------------------------------------------------- lifecycle

bool Renderer_Init(int width, int height, bool vsync) {
  RRendererCore& c = Renderer_Core();
  c.batch.Flush();
  std::string error;
  std::unique_ptr<RendererBackend> backend = CreateGLBackend(vsync, error);
  if (!backend) {
    std::fprintf(stderr, "No OpenGL device (%s): the game runs without drawing.\n", error.c_str());
    std::fflush(stderr);
    backend = CreateNullBackend();
  }
  Renderer_UseBackend(std::move(backend));
  c.synchronization = vsync;
  c.backend->EnsureBackBuffer(std::max({width, Renderer_RegionWidth(), 1}),
                              std::max({height, Renderer_RegionHeight(), 1}));
  c.backend->SetTarget(-1);
  Renderer_ResetViewToTarget(Renderer_RegionWidth(), Renderer_RegionHeight());
  c.backend->Clear(0xFF000000u, true);
  return c.backend->IsReal();
}

void Renderer_Shutdown() {
  Renderer_FreeAllSurfaces();
  Renderer_UseBackend(CreateNullBackend());
}

void Renderer_UseBackend(std::unique_ptr<RendererBackend> backend) {
  RRendererCore& c = Renderer_Core();
  c.batch.SetBackend(nullptr);
  c.batch.Flush();
  c.textures.clear();
  c.surfaces.clear();
  c.target_surface = -1;
  c.primitive_texture = -1;
  c.backend = std::move(backend);
  c.batch.SetBackend(c.backend.get());
}

bool Renderer_HasDevice() { return Renderer_Core().backend->IsReal(); }

// ---------------------------------------------------------------- frame cycle

void Renderer_BeginFrame() {}

void Renderer_EndFrame() {
  Renderer_Flush();
  Renderer_Represent();
}

void Renderer_Represent() {
  RRendererCore& c = Renderer_Core();
  Renderer_Flush();
  int cw = 0, ch = 0;
  Screen_ClientSize(cw, ch);
  const RRegionPlacement place = Screen_RegionPlacement();
  c.backend->Present(Renderer_RegionWidth(), Renderer_RegionHeight(), place.x, place.y, place.w,
                     place.h, cw, ch, Renderer_MakeARGB(Renderer_WindowColour(), 1.0),
                     c.synchronization);
  // Presenting leaves the back buffer bound as the target again.
  if (c.target_surface >= 0) {
    const int surface = c.target_surface;
    c.target_surface = -1;
    Renderer_SurfaceSetTarget(surface);
  }
}

void Renderer_SetSynchronization(bool on) { Renderer_Core().synchronization = on; }
bool Renderer_Synchronization() { return Renderer_Core().synchronization; }
// Presenting waits for the blank when synchronisation is on; an explicit
// wait has no separate host call, so it is a no-op beyond flushing.
void Renderer_WaitVSync() { Renderer_Flush(); }

void Renderer_ShowImage(const TBitmap32& image) {
  Renderer_Flush();
  int cw = 0, ch = 0;
  Screen_ClientSize(cw, ch);
  Renderer_Core().backend->ShowImage(image, cw, ch);
}

// ---------------------------------------------------------------- drawing state

uint32_t Renderer_MakeARGB(int colour, double alpha) {
  const double a = std::clamp(alpha * 255.0, 0.0, 255.0);
  const auto alpha_byte = static_cast<uint32_t>(std::nearbyint(a));
  const auto c = static_cast<uint32_t>(colour);
  return (alpha_byte << 24) | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

int Renderer_ARGBToColour(uint32_t argb) {
  return static_cast<int>(((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16));
}

void Renderer_SetColour(int colour) { Renderer_Core().colour = colour; }
int Renderer_Colour() { return Renderer_Core().colour; }
void Renderer_SetAlpha(double alpha) {
  Renderer_Core().alpha = std::isnan(alpha) ? 0.0 : std::clamp(alpha, 0.0, 1.0);
}
double Renderer_Alpha() { return Renderer_Core().alpha; }
uint32_t Renderer_ColourARGB() {
  const RRendererCore& c = Renderer_Core();
  return Renderer_MakeARGB(c.colour, c.alpha);
}

void Renderer_SetDepth(double z) {
  RRendererCore& c = Renderer_Core();
  c.depth = c.mode3d ? std::clamp(z, -16000.0, 16000.0) : 0.0;
}
double Renderer_Depth() { return Renderer_Core().depth; }
void Renderer_Set3DMode(bool on) {
  RRendererCore& c = Renderer_Core();
  c.mode3d = on;
  if (!on) c.depth = 0.0;
}
bool Renderer_3DMode() { return Renderer_Core().mode3d; }
void Renderer_SetHiddenSurfaceRemoval(bool on) { Renderer_Core().hidden_surface = on; }
bool Renderer_HiddenSurfaceRemoval() { return Renderer_Core().hidden_surface; }

void Renderer_SetBlendMode(int mode) {
  switch (mode) {
    case 1: Renderer_SetBlendModeExt(5, 2); break;
    case 2: Renderer_SetBlendModeExt(5, 4); break;
    case 3: Renderer_SetBlendModeExt(1, 4); break;
    default: Renderer_SetBlendModeExt(5, 6); break;
  }
}
void Renderer_SetBlendModeExt(int source_factor, int destination_factor) {
  RRendererCore& c = Renderer_Core();
  c.source_factor = source_factor;
  c.destination_factor = destination_factor;
}
int Renderer_BlendSource() { return Renderer_Core().source_factor; }
int Renderer_BlendDestination() { return Renderer_Core().destination_factor; }

void Renderer_SetInterpolation(bool linear) { Renderer_Core().linear = linear; }
bool Renderer_Interpolation() { return Renderer_Core().linear; }
void Renderer_SetTextureBlending(bool on) { Renderer_Core().texture_blending = on; }
bool Renderer_TextureBlending() { return Renderer_Core().texture_blending; }
void Renderer_SetTextureRepeat(bool on) { Renderer_Core().repeat = on; }
bool Renderer_TextureRepeat() { return Renderer_Core().repeat; }
void Renderer_SetCirclePrecision(int n) { Renderer_Core().circle_precision = n; }
int Renderer_CirclePrecision() { return Renderer_Core().circle_precision; }
void Renderer_SetCurrentView(int view) { Renderer_Core().current_view = view; }
int Renderer_CurrentView() { return Renderer_Core().current_view; }

// ---------------------------------------------------------------- viewport and projection

// Pixel centres lie at whole room coordinates, so the picture is moved by
// half a pixel: the point x lands on the pixel whose centre is x.
RProjection Renderer_MakeProjection(double x, double y, double w, double h, double angle, int vw,
                                    int vh) {
  RProjection p;
  if (w == 0 || h == 0 || vw <= 0 || vh <= 0) return p;
  const double a = angle * M_PI / 180.0;
  const double cs = std::cos(a), sn = std::sin(a);
  const double cx = x + w / 2, cy = y + h / 2;
  const double kx = 2.0 / w, ky = 2.0 / h;
  // Turned: (dx, dy) -> (dx cos a + dy sin a, -dx sin a + dy cos a).
  p.m[0][0] = static_cast<float>(kx * cs);
  p.m[0][1] = static_cast<float>(kx * sn);
  p.m[0][2] = static_cast<float>(-kx * (cs * cx + sn * cy) + 1.0 / vw);
  p.m[1][0] = static_cast<float>(-ky * sn);
  p.m[1][1] = static_cast<float>(ky * cs);
  p.m[1][2] = static_cast<float>(-ky * (-sn * cx + cs * cy) + 1.0 / vh);
  // The camera sits at z = -16000 with near plane 1 and far plane 32000.
  p.z_scale = static_cast<float>(2.0 / 31999.0);
  p.z_offset = static_cast<float>(2.0 * 15999.0 / 31999.0 - 1.0);
  return p;
}

void Renderer_SetViewport(int x, int y, int w, int h) {
  RRendererCore& c = Renderer_Core();
  c.batch.Flush();
  c.viewport[0] = x;
  c.viewport[1] = y;
  c.viewport[2] = w;
  c.viewport[3] = h;
  c.backend->SetViewport(x, y, w, h);
  const double* p = c.projection;
  c.backend->SetProjection(Renderer_MakeProjection(p[0], p[1], p[2], p[3], p[4], w, h));
}

void Renderer_SetViewProjection(double x, double y, double w, double h, double angle) {
  RRendererCore& c = Renderer_Core();
  c.batch.Flush();
  c.projection[0] = x;
  c.projection[1] = y;
  c.projection[2] = w;
  c.projection[3] = h;
  c.projection[4] = angle;
  c.backend->SetProjection(
      Renderer_MakeProjection(x, y, w, h, angle, c.viewport[2], c.viewport[3]));
}

void Renderer_ResetViewToTarget(int w, int h) {
  Renderer_SetViewport(0, 0, w, h);
  Renderer_SetViewProjection(0, 0, w, h, 0);
}

void Renderer_Clear(int colour, double alpha) {
  RRendererCore& c = Renderer_Core();
  c.batch.Flush();
  c.backend->Clear(Renderer_MakeARGB(colour, alpha), true);
}

void Renderer_ClearViewport(int colour) {
  RRendererCore& c = Renderer_Core();
  c.batch.Flush();
  c.backend->Clear(Renderer_MakeARGB(colour, 1.0), false);
}

void Renderer_ClearDepth() {
  RRendererCore& c = Renderer_Core();
  c.batch.Flush();
  c.backend->ClearDepth();
}

// ---------------------------------------------------------------- read-back

// Reads from the back buffer even while a surface is the target.
bool Renderer_ReadRegion(int x, int y, int w, int h, TBitmap32& out) {
  RRendererCore& c = Renderer_Core();
  out = TBitmap32();
  const int rw = Renderer_RegionWidth(), rh = Renderer_RegionHeight();
  if (x < 0) {
    w += x;
    x = 0;
  }
  if (y < 0) {
    h += y;
    y = 0;
  }
  w = std::min(w, rw - x);
  h = std::min(h, rh - y);
  if (w <= 0 || h <= 0 || !c.backend->IsReal()) return false;
  c.batch.Flush();
  const int surface = c.target_surface;
  if (surface >= 0) c.backend->SetTarget(-1);
  TBitmap32 image(w, h);
  const bool ok = c.backend->ReadPixels(x, y, w, h, image.s_data.data());
  if (surface >= 0) c.backend->SetTarget(c.surfaces[surface].tex);
  if (ok) out = std::move(image);
  return ok;
}

bool Renderer_ReadRegionPixel(int x, int y, uint32_t& argb) {
  TBitmap32 pixel;
  if (x < 0 || y < 0 || !Renderer_ReadRegion(x, y, 1, 1, pixel)) return false;
  argb = pixel.s_data[0];
  return true;
}
