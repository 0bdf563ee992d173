// renderer_backend.h: what the renderer asks of a drawing device. The
// renderer core (tables, state, geometry, batching) is the same for every
// device; a backend only owns device objects and executes batches. Two
// backends: OpenGL (gl_backend.cpp) and the no-op one (renderer_null.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "graphics/renderer.h"

// Everything a draw call depends on besides its vertices. Two batches with
// equal states may be drawn as one.
struct RBatchState {
  enum Mode : uint8_t { Triangles = 0, Lines = 1, Points = 2 };
  int texture = -1;  // texture table id, -1 none
  Mode mode = Triangles;
  uint8_t source_factor = 5;
  uint8_t destination_factor = 6;
  bool linear = false;
  bool texture_blending = true;
  bool repeat = false;
  bool depth_test = false;

  bool operator==(const RBatchState&) const = default;
};

// The 2D projection as a row-major 2 x 3 affine map to normalised device
// coordinates, plus z's scale and offset.
struct RProjection {
  float m[2][3] = {{1, 0, 0}, {0, 1, 0}};
  float z_scale = 0;
  float z_offset = 0;
};

class RendererBackend {
 public:
  virtual ~RendererBackend() = default;
  virtual bool IsReal() const = 0;

  // Texture objects of table entry id (the table lives in the core).
  virtual bool CreateTexture(int id, int wt, int ht, bool render_target) = 0;
  // Writes w x h ARGB pixels at the texture's top-left.
  virtual void UploadTexture(int id, int w, int h, const uint32_t* argb) = 0;
  virtual void FreeTexture(int id) = 0;

  // Render target: a render-target texture id, or -1 for the back buffer.
  virtual bool SetTarget(int texture_id) = 0;
  virtual void SetViewport(int x, int y, int w, int h) = 0;
  virtual void SetProjection(const RProjection& projection) = 0;
  // Whole target (scissor off) or only the viewport.
  virtual void Clear(uint32_t argb, bool whole_target) = 0;
  virtual void ClearDepth() = 0;
  // Indexed vertices (16-bit indices) with one state.
  virtual void Draw(const RBatchState& state, const RVertex* vertices, int vertex_count,
                    const uint16_t* indices, int index_count) = 0;
  // Reads the current target; rows top to bottom, 0xAARRGGBB.
  virtual bool ReadPixels(int x, int y, int w, int h, uint32_t* out) = 0;
  // Copies between two render-target textures, no blending.
  virtual void CopyTexture(int destination, int x, int y, int source, int left, int top, int w,
                           int h) = 0;

  // The back buffer (at least w x h), created or grown.
  virtual bool EnsureBackBuffer(int w, int h) = 0;
  // Shows region (0, 0, rw, rh) of the back buffer stretched to
  // (dx, dy, dw, dh) of the window client (cw x ch), border filled.
  virtual void Present(int rw, int rh, int dx, int dy, int dw, int dh, int cw, int ch,
                       uint32_t border_argb, bool vsync) = 0;
  virtual void ShowImage(const TBitmap32& image, int cw, int ch) = 0;
  virtual int MaxTextureSize() const = 0;
  // Draw calls issued since the counter was last reset (benchmarks).
  virtual int64_t DrawCalls() const = 0;
  virtual void ResetDrawCalls() = 0;
};

// Makes the OpenGL backend on the main window (headless: a hidden offscreen
// window); null when no context can be made (reason in `error`).
std::unique_ptr<RendererBackend> CreateGLBackend(bool vsync, std::string& error);
std::unique_ptr<RendererBackend> CreateNullBackend();

// The backend in use (the null one before Renderer_Init).
RendererBackend& Renderer_Backend();
