// gl_targets.cpp: the OpenGL device's render targets: the back buffer,
// surfaces' framebuffers, viewport, clearing, read-back, copies between
// targets, presenting into the window and showing a full-window image.
#include <algorithm>

#include "graphics/gl_backend.h"
#include "platform/window.h"

namespace {

GLuint MakeDepthBuffer(int w, int h) {
  GLuint depth = 0;
  glGenRenderbuffers(1, &depth);
  glBindRenderbuffer(GL_RENDERBUFFER, depth);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
  return depth;
}

GLuint MakeFramebuffer(GLuint texture, GLuint depth) {
  GLuint framebuffer = 0;
  glGenFramebuffers(1, &framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  if (depth != 0)
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
  return framebuffer;
}

void SetClearColour(uint32_t argb) {
  glClearColor(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f,
               (argb & 0xFF) / 255.0f, ((argb >> 24) & 0xFF) / 255.0f);
}

}  // namespace

// The depth buffer of a surface is the power-of-two size, at least 4.
GLuint GLBackend::TargetFramebuffer(RGLTexture& t) {
  if (t.framebuffer == 0) {
    t.depth = MakeDepthBuffer(std::max(t.wt, 4), std::max(t.ht, 4));
    t.framebuffer = MakeFramebuffer(t.texture, t.depth);
  }
  return t.framebuffer;
}

void GLBackend::BindTarget() {
  RGLTexture* t = target_ >= 0 ? Find(target_) : nullptr;
  glBindFramebuffer(GL_FRAMEBUFFER, t != nullptr ? TargetFramebuffer(*t) : back_framebuffer_);
}

bool GLBackend::SetTarget(int texture_id) {
  Bind();
  if (texture_id >= 0) {
    RGLTexture* t = Find(texture_id);
    if (t == nullptr || !t->render_target) return false;
  }
  target_ = texture_id;
  BindTarget();
  // A texture that was bound for sampling may now be the target.
  state_valid_ = false;
  return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void GLBackend::SetViewport(int x, int y, int w, int h) {
  Bind();
  viewport_[0] = x;
  viewport_[1] = y;
  viewport_[2] = w;
  viewport_[3] = h;
  glViewport(x, y, w, h);
}

void GLBackend::Clear(uint32_t argb, bool whole_target) {
  Bind();
  SetClearColour(argb);
  if (!whole_target) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
}

// The depth clear value stays at its initial 1.
void GLBackend::ClearDepth() {
  Bind();
  glClear(GL_DEPTH_BUFFER_BIT);
}

bool GLBackend::ReadPixels(int x, int y, int w, int h, uint32_t* out) {
  Bind();
  glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, out);
  if (glGetError() != GL_NO_ERROR) return false;
  const size_t n = static_cast<size_t>(w) * h;
  for (size_t i = 0; i < n; ++i) {
    const uint32_t rgba = out[i];  // bytes R, G, B, A
    out[i] = (rgba & 0xFF00FF00u) | ((rgba >> 16) & 0xFFu) | ((rgba & 0xFFu) << 16);
  }
  return true;
}

void GLBackend::CopyTexture(int destination, int x, int y, int source, int left, int top, int w,
                            int h) {
  Bind();
  RGLTexture* d = Find(destination);
  RGLTexture* s = Find(source);
  if (d == nullptr || s == nullptr || !d->render_target || !s->render_target) return;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, TargetFramebuffer(*s));
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, TargetFramebuffer(*d));
  glBlitFramebuffer(left, top, left + w, top + h, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT,
                    GL_NEAREST);
  BindTarget();
}

// The back buffer only grows; what was drawn is kept.
bool GLBackend::EnsureBackBuffer(int w, int h) {
  Bind();
  if (w <= back_w_ && h <= back_h_) return true;
  const int nw = std::max(w, back_w_), nh = std::max(h, back_h_);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, nw, nh, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  GLuint depth = MakeDepthBuffer(nw, nh);
  GLuint framebuffer = MakeFramebuffer(texture, depth);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  if (back_framebuffer_ != 0) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, back_framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    glBlitFramebuffer(0, 0, back_w_, back_h_, 0, 0, back_w_, back_h_, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glDeleteFramebuffers(1, &back_framebuffer_);
    glDeleteRenderbuffers(1, &back_depth_);
    glDeleteTextures(1, &back_texture_);
  }
  back_texture_ = texture;
  back_depth_ = depth;
  back_framebuffer_ = framebuffer;
  back_w_ = nw;
  back_h_ = nh;
  state_valid_ = false;
  BindTarget();
  return glGetError() == GL_NO_ERROR;
}

// The window's framebuffer has row 0 at the bottom, so the copy flips.
void GLBackend::Present(int rw, int rh, int dx, int dy, int dw, int dh, int cw, int ch,
                        uint32_t border_argb, bool vsync) {
  Bind();
  if (Platform_Window().NativeMainWindow() == nullptr) return;  // headless
  if (swap_interval_ != (vsync ? 1 : 0)) {
    swap_interval_ = vsync ? 1 : 0;
    Platform_Window().SetSwapInterval(swap_interval_);
  }
  glBindFramebuffer(GL_READ_FRAMEBUFFER, back_framebuffer_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glViewport(0, 0, cw, ch);
  SetClearColour(border_argb | 0xFF000000u);
  glClear(GL_COLOR_BUFFER_BIT);
  const bool whole_multiple = rw > 0 && rh > 0 && dw % rw == 0 && dh % rh == 0;
  glBlitFramebuffer(0, 0, std::min(rw, back_w_), std::min(rh, back_h_), dx, ch - dy, dx + dw,
                    ch - dy - dh, GL_COLOR_BUFFER_BIT, whole_multiple ? GL_NEAREST : GL_LINEAR);
  Platform_Window().SwapGL();
  BindTarget();
  glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}

void GLBackend::ShowImage(const TBitmap32& image, int cw, int ch) {
  Bind();
  if (Platform_Window().NativeMainWindow() == nullptr || image.Empty()) return;
  std::vector<uint32_t> rgba(image.s_data.size());
  for (size_t i = 0; i < rgba.size(); ++i) {
    const uint32_t argb = image.s_data[i];
    rgba[i] = (argb & 0xFF00FF00u) | ((argb >> 16) & 0xFFu) | ((argb & 0xFFu) << 16);
  }
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.s_w, image.s_h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               rgba.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  GLuint framebuffer = MakeFramebuffer(texture, 0);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glViewport(0, 0, cw, ch);
  glBlitFramebuffer(0, 0, image.s_w, image.s_h, 0, ch, cw, 0, GL_COLOR_BUFFER_BIT, GL_LINEAR);
  Platform_Window().SwapGL();
  glDeleteFramebuffers(1, &framebuffer);
  glDeleteTextures(1, &texture);
  state_valid_ = false;
  BindTarget();
  glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
}
