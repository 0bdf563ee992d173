// gl_backend.h: the OpenGL drawing device. Every picture is drawn into
// framebuffer objects whose row 0 is the top of the picture (the back
// buffer, or a surface's texture), so read-back and textures need no flips;
// presenting copies the back buffer's region into the window, flipped and
// scaled. Textures are RGBA8 (the subset OpenGL ES 3.0 also has).
#pragma once

#include <epoxy/gl.h>

#include <vector>

#include "graphics/gl_shaders.h"
#include "graphics/renderer_backend.h"
#include "platform/window.h"

// One texture table entry's GL objects, and its sampling parameters as last
// set (so unchanged parameters are never set again).
struct RGLTexture {
  GLuint texture = 0;
  GLuint framebuffer = 0;  // render targets, made on first use
  GLuint depth = 0;
  int wt = 0, ht = 0;
  bool render_target = false;
  int filter = -1;  // 0 nearest, 1 linear
  int wrap = -1;    // 0 clamp, 1 repeat
};

class GLBackend : public RendererBackend {
 public:
  GLBackend(void* context, bool vsync) : context_(context), vsync_(vsync) {}
  ~GLBackend() override;
  // Shaders and buffers; false with the reason in `error`.
  bool Start(std::string& error);

  bool IsReal() const override { return true; }
  bool CreateTexture(int id, int wt, int ht, bool render_target) override;
  void UploadTexture(int id, int w, int h, const uint32_t* argb) override;
  void FreeTexture(int id) override;
  bool SetTarget(int texture_id) override;
  void SetViewport(int x, int y, int w, int h) override;
  void SetProjection(const RProjection& projection) override;
  void Clear(uint32_t argb, bool whole_target) override;
  void ClearDepth() override;
  void Draw(const RBatchState& state, const RVertex* vertices, int vertex_count,
            const uint16_t* indices, int index_count) override;
  bool ReadPixels(int x, int y, int w, int h, uint32_t* out) override;
  void CopyTexture(int destination, int x, int y, int source, int left, int top, int w,
                   int h) override;
  bool EnsureBackBuffer(int w, int h) override;
  void Present(int rw, int rh, int dx, int dy, int dw, int dh, int cw, int ch,
               uint32_t border_argb, bool vsync) override;
  void ShowImage(const TBitmap32& image, int cw, int ch) override;
  int MaxTextureSize() const override { return max_texture_size_; }
  int64_t DrawCalls() const override { return draw_calls_; }
  void ResetDrawCalls() override { draw_calls_ = 0; }

 private:
  // Every entry that touches OpenGL starts here: the game's context current.
  void Bind() const { Platform_Window().MakeGLCurrent(context_); }
  RGLTexture* Find(int id);
  // The framebuffer of a render-target texture (made on first use).
  GLuint TargetFramebuffer(RGLTexture& t);
  void ApplyState(const RBatchState& state);
  void ApplySampling(RGLTexture& t, bool linear, bool repeat);
  void BindTarget();

  void* context_;
  bool vsync_;
  int swap_interval_ = -1;
  RGLProgram program_;
  GLuint vertex_array_ = 0;
  GLuint vertex_buffer_ = 0;
  GLuint index_buffer_ = 0;
  std::vector<RGLTexture> textures_;
  // The back buffer.
  GLuint back_texture_ = 0;
  GLuint back_framebuffer_ = 0;
  GLuint back_depth_ = 0;
  int back_w_ = 0, back_h_ = 0;
  int target_ = -1;  // texture id of the bound target, -1 back buffer
  int viewport_[4] = {0, 0, 1, 1};
  // Last applied draw state (nothing applied yet when !state_valid_).
  RBatchState state_;
  bool state_valid_ = false;
  int mode_ = -1;
  int max_texture_size_ = 2048;
  int64_t draw_calls_ = 0;
};
