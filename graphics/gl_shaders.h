// gl_shaders.h: the one shader program of the OpenGL backend. It reproduces
// the fixed-function stage the renderer needs: a 2D affine projection with
// depth, vertex colour, texture modulated by the vertex colour (texture
// blending) or alone, and the alpha test of hidden-surface removal.
#pragma once

#include <epoxy/gl.h>

#include <string>

struct RGLProgram {
  GLuint program = 0;
  GLint row0 = -1;        // vec3: first row of the projection
  GLint row1 = -1;        // vec3: second row
  GLint depth = -1;       // vec2: z scale and offset
  GLint mode = -1;        // int: 0 colour only, 1 texture * colour, 2 texture alone
  GLint alpha_test = -1;  // int: 1 drops fully transparent fragments
  GLint sampler = -1;
};

// Compiles and links the program; false with the log in `error`.
bool GLShaders_Build(RGLProgram& program, std::string& error);
void GLShaders_Release(RGLProgram& program);
