// renderer_surfaces.cpp: the surface table. A surface is a render-target
// texture of the texture table; ids are reused like texture ids. Drawing
// goes to a surface between set target and reset target.
#include <algorithm>

#include "graphics/renderer_internal.h"

static RSurface* FindSurface(int id) {
  RRendererCore& c = Renderer_Core();
  if (id < 0 || id >= static_cast<int>(c.surfaces.size()) || !c.surfaces[id].used) return nullptr;
  return &c.surfaces[id];
}

int Renderer_SurfaceDepthSize(int n) { return std::max(4, Renderer_TextureSize(n)); }

int Renderer_SurfaceCreate(int w, int h) {
  RRendererCore& c = Renderer_Core();
  if (w <= 0 || h <= 0) return -1;
  const int tex = Renderer_CreateTexture(w, h, true);
  if (tex < 0) return -1;
  int id = 0;
  while (id < static_cast<int>(c.surfaces.size()) && c.surfaces[id].used) ++id;
  if (id == static_cast<int>(c.surfaces.size())) c.surfaces.emplace_back();
  c.surfaces[id] = RSurface{tex, w, h, true};
  return id;
}

bool Renderer_SurfaceExists(int id) { return FindSurface(id) != nullptr; }

void Renderer_SurfaceFree(int id) {
  RSurface* s = FindSurface(id);
  if (s == nullptr) return;
  if (Renderer_Core().target_surface == id) Renderer_SurfaceResetTarget();
  Renderer_FreeTexture(s->tex);
  *s = RSurface();
}

void Renderer_FreeAllSurfaces() {
  RRendererCore& c = Renderer_Core();
  for (int id = 0; id < static_cast<int>(c.surfaces.size()); ++id) Renderer_SurfaceFree(id);
  c.surfaces.clear();
}

int Renderer_SurfaceWidth(int id) {
  const RSurface* s = FindSurface(id);
  return s ? s->w : -1;
}
int Renderer_SurfaceHeight(int id) {
  const RSurface* s = FindSurface(id);
  return s ? s->h : -1;
}
int Renderer_SurfaceTexture(int id) {
  const RSurface* s = FindSurface(id);
  return s ? s->tex : -1;
}
int Renderer_SurfaceTarget() { return Renderer_Core().target_surface; }

bool Renderer_SurfaceSetTarget(int id) {
  RRendererCore& c = Renderer_Core();
  const RSurface* s = FindSurface(id);
  if (s == nullptr) return false;
  if (c.target_surface == id) return true;
  c.batch.Flush();
  if (!c.backend->SetTarget(s->tex)) return false;
  c.target_surface = id;
  Renderer_ResetViewToTarget(s->w, s->h);
  return true;
}

void Renderer_SurfaceResetTarget() {
  RRendererCore& c = Renderer_Core();
  if (c.target_surface < 0) return;
  c.batch.Flush();
  c.backend->SetTarget(-1);
  c.target_surface = -1;
  Renderer_ResetViewToTarget(Renderer_RegionWidth(), Renderer_RegionHeight());
}

bool Renderer_SurfaceRead(int id, int x, int y, int w, int h, TBitmap32& out) {
  RRendererCore& c = Renderer_Core();
  out = TBitmap32();
  const RSurface* s = FindSurface(id);
  if (s == nullptr) return false;
  x = std::max(x, 0);
  y = std::max(y, 0);
  w = std::min(w, s->w - x);
  h = std::min(h, s->h - y);
  if (w <= 0 || h <= 0 || !c.backend->IsReal()) return false;
  c.batch.Flush();
  c.backend->SetTarget(s->tex);
  TBitmap32 image(w, h);
  const bool ok = c.backend->ReadPixels(x, y, w, h, image.s_data.data());
  const int target = c.target_surface;
  c.backend->SetTarget(target >= 0 ? c.surfaces[target].tex : -1);
  if (ok) out = std::move(image);
  return ok;
}

void Renderer_SurfaceCopy(int destination, int x, int y, int source, int left, int top, int w,
                          int h) {
  RRendererCore& c = Renderer_Core();
  const RSurface* d = FindSurface(destination);
  const RSurface* s = FindSurface(source);
  if (d == nullptr || s == nullptr) return;
  // Clip the source rectangle to the source, then the destination.
  if (left < 0) { w += left; x -= left; left = 0; }
  if (top < 0) { h += top; y -= top; top = 0; }
  w = std::min(w, s->w - left);
  h = std::min(h, s->h - top);
  if (x < 0) { w += x; left -= x; x = 0; }
  if (y < 0) { h += y; top -= y; y = 0; }
  w = std::min(w, d->w - x);
  h = std::min(h, d->h - y);
  if (w <= 0 || h <= 0) return;
  c.batch.Flush();
  c.backend->CopyTexture(d->tex, x, y, s->tex, left, top, w, h);
  const int target = c.target_surface;
  c.backend->SetTarget(target >= 0 ? c.surfaces[target].tex : -1);
}
