// renderer_internal.h: the renderer core's shared state, seen only by the
// renderer's own files (renderer_*.cpp, screen_*.cpp, gl_*.cpp): the
// drawing state, the texture and surface tables, the current target and
// the batch in front of the backend.
#pragma once

#include <memory>
#include <vector>

#include "graphics/renderer.h"
#include "graphics/renderer_backend.h"
#include "graphics/renderer_batch.h"

struct RTexture {
  int w = 0, h = 0;    // asked (image) size
  int wt = 0, ht = 0;  // real size
  bool used = false;
  bool render_target = false;
};

struct RSurface {
  int tex = -1;
  int w = 0, h = 0;
  bool used = false;
};

struct RRendererCore {
  std::unique_ptr<RendererBackend> backend;
  RBatch batch;

  // Drawing state.
  int colour = 0;
  double alpha = 1.0;
  double depth = 0.0;
  bool mode3d = false;
  bool hidden_surface = false;
  int source_factor = 5;
  int destination_factor = 6;
  bool linear = false;
  bool texture_blending = true;
  bool repeat = false;
  int circle_precision = 24;
  int current_view = 0;
  int primitive_texture = -1;
  bool synchronization = false;

  // Target, viewport and projection.
  int target_surface = -1;
  int viewport[4] = {0, 0, 8, 8};
  double projection[5] = {0, 0, 8, 8, 0};

  std::vector<RTexture> textures;
  std::vector<RSurface> surfaces;
  RViewTransform views[kViewTransformCount];
};

RRendererCore& Renderer_Core();
// Puts a backend in place (tables emptied, target the back buffer); tests
// use it to record what the core sends.
void Renderer_UseBackend(std::unique_ptr<RendererBackend> backend);
// Draws whatever the batch holds.
void Renderer_Flush();
// The batch state of the current drawing state with a texture (-1 none).
RBatchState Renderer_BatchState(int texture);
// The live entry of a texture id, null when invalid.
const RTexture* Renderer_FindTexture(int id);
// The projection of a room rectangle onto a viewport of vw x vh pixels.
RProjection Renderer_MakeProjection(double x, double y, double w, double h, double angle,
                                    int vw, int vh);
// Viewport and projection to the whole current target.
void Renderer_ResetViewToTarget(int w, int h);
// Frees every surface (their textures go too).
void Renderer_FreeAllSurfaces();

// Window side (screen_window.cpp): the client size and where the scaled
// region lies in it.
struct RRegionPlacement {
  int x = 0, y = 0, w = 0, h = 0;
};
void Screen_ClientSize(int& w, int& h);
RRegionPlacement Screen_RegionPlacement();
