// gl_backend.cpp: the OpenGL device's drawing side: creation, textures,
// draw state and batched draws (targets and presenting: gl_targets.cpp).
#include "graphics/gl_backend.h"

#include <cstddef>

#include "platform/window.h"

namespace {

// Blend factors 1..11 in their game numbering.
GLenum BlendFactor(int factor) {
  switch (factor) {
    case 1: return GL_ZERO;
    case 2: return GL_ONE;
    case 3: return GL_SRC_COLOR;
    case 4: return GL_ONE_MINUS_SRC_COLOR;
    case 5: return GL_SRC_ALPHA;
    case 6: return GL_ONE_MINUS_SRC_ALPHA;
    case 7: return GL_DST_ALPHA;
    case 8: return GL_ONE_MINUS_DST_ALPHA;
    case 9: return GL_DST_COLOR;
    case 10: return GL_ONE_MINUS_DST_COLOR;
    case 11: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
  }
}

// 0xAARRGGBB -> bytes R, G, B, A.
uint32_t ToRGBA(uint32_t argb) {
  return (argb & 0xFF00FF00u) | ((argb >> 16) & 0xFFu) | ((argb & 0xFFu) << 16);
}

}  // namespace

std::unique_ptr<RendererBackend> CreateGLBackend(bool vsync, std::string& error) {
  void* context = Platform_Window().CreateGLContext(error);
  if (context == nullptr) return nullptr;
  if (epoxy_gl_version() < 33 && !(epoxy_is_desktop_gl() == 0 && epoxy_gl_version() >= 30)) {
    error = "OpenGL 3.3 is not available";
    Platform_Window().DestroyGLContext(context);
    return nullptr;
  }
  auto backend = std::make_unique<GLBackend>(context, vsync);
  if (!backend->Start(error)) return nullptr;
  return backend;
}

bool GLBackend::Start(std::string& error) {
  if (!GLShaders_Build(program_, error)) return false;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_texture_size_);
  glGenVertexArrays(1, &vertex_array_);
  glBindVertexArray(vertex_array_);
  glGenBuffers(1, &vertex_buffer_);
  glGenBuffers(1, &index_buffer_);
  glBindBuffer(GL_ARRAY_BUFFER, vertex_buffer_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, index_buffer_);
  const GLsizei stride = sizeof(RVertex);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<void*>(offsetof(RVertex, x)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                        reinterpret_cast<void*>(offsetof(RVertex, colour)));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<void*>(offsetof(RVertex, u)));
  glUseProgram(program_.program);
  glUniform1i(program_.sampler, 0);
  glActiveTexture(GL_TEXTURE0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glEnable(GL_BLEND);
  glBlendEquation(GL_FUNC_ADD);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_CULL_FACE);
  return glGetError() == GL_NO_ERROR;
}

GLBackend::~GLBackend() {
  Bind();
  for (auto& t : textures_) {
    if (t.framebuffer) glDeleteFramebuffers(1, &t.framebuffer);
    if (t.depth) glDeleteRenderbuffers(1, &t.depth);
    if (t.texture) glDeleteTextures(1, &t.texture);
  }
  if (back_framebuffer_) glDeleteFramebuffers(1, &back_framebuffer_);
  if (back_depth_) glDeleteRenderbuffers(1, &back_depth_);
  if (back_texture_) glDeleteTextures(1, &back_texture_);
  if (vertex_buffer_) glDeleteBuffers(1, &vertex_buffer_);
  if (index_buffer_) glDeleteBuffers(1, &index_buffer_);
  if (vertex_array_) glDeleteVertexArrays(1, &vertex_array_);
  GLShaders_Release(program_);
  Platform_Window().DestroyGLContext(context_);
}

RGLTexture* GLBackend::Find(int id) {
  if (id < 0 || id >= static_cast<int>(textures_.size()) || textures_[id].texture == 0)
    return nullptr;
  return &textures_[id];
}

// New textures start transparent black.
bool GLBackend::CreateTexture(int id, int wt, int ht, bool render_target) {
  Bind();
  if (id < 0) return false;
  if (id >= static_cast<int>(textures_.size())) textures_.resize(id + 1);
  FreeTexture(id);
  RGLTexture& t = textures_[id];
  glGenTextures(1, &t.texture);
  glBindTexture(GL_TEXTURE_2D, t.texture);
  std::vector<uint32_t> zeros(static_cast<size_t>(wt) * ht, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, wt, ht, 0, GL_RGBA, GL_UNSIGNED_BYTE, zeros.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  t.wt = wt;
  t.ht = ht;
  t.render_target = render_target;
  state_valid_ = false;
  if (glGetError() != GL_NO_ERROR) {
    FreeTexture(id);
    return false;
  }
  return true;
}

void GLBackend::UploadTexture(int id, int w, int h, const uint32_t* argb) {
  Bind();
  RGLTexture* t = Find(id);
  if (t == nullptr) return;
  std::vector<uint32_t> rgba(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = ToRGBA(argb[i]);
  glBindTexture(GL_TEXTURE_2D, t->texture);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  state_valid_ = false;
}

void GLBackend::FreeTexture(int id) {
  Bind();
  RGLTexture* t = Find(id);
  if (t == nullptr) return;
  if (target_ == id) {
    target_ = -1;
    BindTarget();
  }
  if (t->framebuffer) glDeleteFramebuffers(1, &t->framebuffer);
  if (t->depth) glDeleteRenderbuffers(1, &t->depth);
  glDeleteTextures(1, &t->texture);
  *t = RGLTexture();
  state_valid_ = false;
}

void GLBackend::ApplySampling(RGLTexture& t, bool linear, bool repeat) {
  if (t.filter != static_cast<int>(linear)) {
    const GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    t.filter = linear;
  }
  if (t.wrap != static_cast<int>(repeat)) {
    const GLint wrap = repeat ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    t.wrap = repeat;
  }
}

void GLBackend::ApplyState(const RBatchState& s) {
  const bool first = !state_valid_;
  if (first || s.source_factor != state_.source_factor ||
      s.destination_factor != state_.destination_factor)
    glBlendFunc(BlendFactor(s.source_factor), BlendFactor(s.destination_factor));
  if (first || s.depth_test != state_.depth_test) {
    if (s.depth_test)
      glEnable(GL_DEPTH_TEST);
    else
      glDisable(GL_DEPTH_TEST);
    glUniform1i(program_.alpha_test, s.depth_test ? 1 : 0);
  }
  RGLTexture* t = Find(s.texture);
  // A target texture can't be sampled while it is drawn into.
  if (t != nullptr && s.texture == target_) t = nullptr;
  const int mode = t == nullptr ? 0 : s.texture_blending ? 1 : 2;
  if (first || mode != mode_) glUniform1i(program_.mode, mode);
  mode_ = mode;
  if (t != nullptr) {
    if (first || s.texture != state_.texture) glBindTexture(GL_TEXTURE_2D, t->texture);
    ApplySampling(*t, s.linear, s.repeat);
  }
  state_ = s;
  state_valid_ = true;
}

void GLBackend::Draw(const RBatchState& state, const RVertex* vertices, int vertex_count,
                     const uint16_t* indices, int index_count) {
  Bind();
  ApplyState(state);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertex_count) * sizeof(RVertex), vertices,
               GL_STREAM_DRAW);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(index_count) * sizeof(uint16_t),
               indices, GL_STREAM_DRAW);
  const GLenum mode = state.mode == RBatchState::Points  ? GL_POINTS
                      : state.mode == RBatchState::Lines ? GL_LINES
                                                         : GL_TRIANGLES;
  glDrawElements(mode, index_count, GL_UNSIGNED_SHORT, nullptr);
  ++draw_calls_;
}

void GLBackend::SetProjection(const RProjection& p) {
  Bind();
  glUniform3f(program_.row0, p.m[0][0], p.m[0][1], p.m[0][2]);
  glUniform3f(program_.row1, p.m[1][0], p.m[1][1], p.m[1][2]);
  glUniform2f(program_.depth, p.z_scale, p.z_offset);
}
