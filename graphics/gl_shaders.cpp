// gl_shaders.cpp: source and building of the backend's shader program. The
// sources use only what OpenGL ES 3.0 shaders also have (a version line
// apart).
#include "graphics/gl_shaders.h"

namespace {

const char* kVertexSource = R"(#version 330 core
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec4 a_colour;
layout(location = 2) in vec2 a_uv;
uniform vec3 u_row0;
uniform vec3 u_row1;
uniform vec2 u_depth;
out vec4 v_colour;
out vec2 v_uv;
void main() {
  vec3 p = vec3(a_position.xy, 1.0);
  gl_Position = vec4(dot(u_row0, p), dot(u_row1, p), a_position.z * u_depth.x + u_depth.y, 1.0);
  v_colour = a_colour.bgra;
  v_uv = a_uv;
  gl_PointSize = 1.0;
}
)";

const char* kFragmentSource = R"(#version 330 core
in vec4 v_colour;
in vec2 v_uv;
uniform sampler2D u_texture;
uniform int u_mode;
uniform int u_alpha_test;
out vec4 o_colour;
void main() {
  vec4 c = v_colour;
  if (u_mode == 1) c *= texture(u_texture, v_uv);
  else if (u_mode == 2) c = texture(u_texture, v_uv);
  if (u_alpha_test == 1 && c.a <= 0.0) discard;
  o_colour = c;
}
)";

GLuint Compile(GLenum kind, const char* source, std::string& error) {
  GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (ok) return shader;
  char log[1024] = {0};
  glGetShaderInfoLog(shader, sizeof log, nullptr, log);
  error = log;
  glDeleteShader(shader);
  return 0;
}

}  // namespace

bool GLShaders_Build(RGLProgram& p, std::string& error) {
  GLuint vs = Compile(GL_VERTEX_SHADER, kVertexSource, error);
  if (vs == 0) return false;
  GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragmentSource, error);
  if (fs == 0) {
    glDeleteShader(vs);
    return false;
  }
  p.program = glCreateProgram();
  glAttachShader(p.program, vs);
  glAttachShader(p.program, fs);
  glLinkProgram(p.program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(p.program, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[1024] = {0};
    glGetProgramInfoLog(p.program, sizeof log, nullptr, log);
    error = log;
    GLShaders_Release(p);
    return false;
  }
  p.row0 = glGetUniformLocation(p.program, "u_row0");
  p.row1 = glGetUniformLocation(p.program, "u_row1");
  p.depth = glGetUniformLocation(p.program, "u_depth");
  p.mode = glGetUniformLocation(p.program, "u_mode");
  p.alpha_test = glGetUniformLocation(p.program, "u_alpha_test");
  p.sampler = glGetUniformLocation(p.program, "u_texture");
  return true;
}

void GLShaders_Release(RGLProgram& p) {
  if (p.program != 0) glDeleteProgram(p.program);
  p = RGLProgram();
}
