// renderer_quads.cpp: textured quads (transformed, part, general), tiling
// and primitives. Quads are shifted by half a pixel so that an unscaled
// texture drawn at whole coordinates maps each texel onto one pixel.
#include <cmath>

#include "graphics/renderer_internal.h"

namespace {

// Local corner offsets of a quad (before rotation) and its texture rectangle.
struct RQuad {
  double left, top, right, bottom;
  float u0, v0, u1, v1;
};

// Below this angle (radians) a quad stays axis-aligned.
constexpr double kNoRotation = 0.001;

void EmitQuad(int id, const RQuad& q, double x, double y, double angle, const uint32_t colours[4]) {
  RRendererCore& c = Renderer_Core();
  const float z = static_cast<float>(c.depth);
  RVertex v[4];
  if (std::fabs(angle) < kNoRotation) {
    const float l = static_cast<float>(x + q.left), r = static_cast<float>(x + q.right);
    const float t = static_cast<float>(y + q.top), b = static_cast<float>(y + q.bottom);
    v[0] = {l, t, z, colours[0], q.u0, q.v0};
    v[1] = {r, t, z, colours[1], q.u1, q.v0};
    v[2] = {r, b, z, colours[2], q.u1, q.v1};
    v[3] = {l, b, z, colours[3], q.u0, q.v1};
  } else {
    const double cs = std::cos(angle), sn = std::sin(angle);
    auto corner = [&](double px, double py, uint32_t colour, float u, float tv) {
      return RVertex{static_cast<float>(x + px * cs + py * sn),
                     static_cast<float>(y - px * sn + py * cs), z, colour, u, tv};
    };
    v[0] = corner(q.left, q.top, colours[0], q.u0, q.v0);
    v[1] = corner(q.right, q.top, colours[1], q.u1, q.v0);
    v[2] = corner(q.right, q.bottom, colours[2], q.u1, q.v1);
    v[3] = corner(q.left, q.bottom, colours[3], q.u0, q.v1);
  }
  c.batch.AddQuad(Renderer_BatchState(id), v);
}

void EmitQuad(int id, const RQuad& q, double x, double y, double angle, uint32_t colour) {
  const uint32_t colours[4] = {colour, colour, colour, colour};
  EmitQuad(id, q, x, y, angle, colours);
}

// The part (left, top, width, height) of a texture, its top-left at the
// local origin.
RQuad PartQuad(const RTexture& t, double left, double top, double width, double height,
               double xscale, double yscale) {
  return RQuad{-0.5,
               -0.5,
               width * xscale - 0.5,
               height * yscale - 0.5,
               static_cast<float>(left / t.wt),
               static_cast<float>(top / t.ht),
               static_cast<float>((left + width) / t.wt),
               static_cast<float>((top + height) / t.ht)};
}

}  // namespace

void Renderer_DrawTexture(int id, double x, double y) {
  Renderer_DrawTextureTransformed(id, 0xFFFFFF, 0, 0, x, y, 1, 1, 0, 1);
}

void Renderer_DrawTextureTransformed(int id, int colour, double xo, double yo, double x, double y,
                                     double xscale, double yscale, double angle, double alpha) {
  const RTexture* t = Renderer_FindTexture(id);
  if (t == nullptr) return;
  const double left = -xo * xscale - 0.5, top = -yo * yscale - 0.5;
  const RQuad q{left,
                top,
                left + t->w * xscale,
                top + t->h * yscale,
                0.0f,
                0.0f,
                static_cast<float>(static_cast<double>(t->w) / t->wt),
                static_cast<float>(static_cast<double>(t->h) / t->ht)};
  EmitQuad(id, q, x, y, angle, Renderer_MakeARGB(colour, alpha));
}

void Renderer_DrawTexturePart(int id, int colour, double left, double top, double width,
                              double height, double x, double y, double xscale, double yscale,
                              double angle, double alpha) {
  const RTexture* t = Renderer_FindTexture(id);
  if (t == nullptr) return;
  EmitQuad(id, PartQuad(*t, left, top, width, height, xscale, yscale), x, y, angle,
           Renderer_MakeARGB(colour, alpha));
}

void Renderer_DrawTextureGeneral(int id, double left, double top, double width, double height,
                                 double x, double y, double xscale, double yscale, double angle,
                                 int c1, int c2, int c3, int c4, double alpha) {
  const RTexture* t = Renderer_FindTexture(id);
  if (t == nullptr) return;
  const uint32_t colours[4] = {Renderer_MakeARGB(c1, alpha), Renderer_MakeARGB(c2, alpha),
                               Renderer_MakeARGB(c3, alpha), Renderer_MakeARGB(c4, alpha)};
  EmitQuad(id, PartQuad(*t, left, top, width, height, xscale, yscale), x, y, angle, colours);
}

// The first tile position of a tiled direction: the tile grid through
// `start` with the first tile that still reaches into [from, ...).
static double TileStart(double start, int step, double from) {
  double p = std::fmod(start, static_cast<double>(step));
  if (p >= 1) p -= step;
  const double skip = std::ceil((from - step - p) / step);
  if (skip > 0) p += skip * step;
  return p;
}

void Renderer_DrawTextureTiled(int id, bool htiled, bool vtiled, double xo, double yo, double x,
                               double y, double xscale, double yscale, double rx, double ry,
                               double rw, double rh, int colour, double alpha) {
  const RTexture* t = Renderer_FindTexture(id);
  if (t == nullptr) return;
  const double sw = std::nearbyint(t->w * xscale), sh = std::nearbyint(t->h * yscale);
  if (sw < 1 || sh < 1) return;
  const int step_x = static_cast<int>(sw), step_y = static_cast<int>(sh);
  const double x0 = htiled ? TileStart(std::nearbyint(x), step_x, rx) : std::nearbyint(x);
  const double y0 = vtiled ? TileStart(std::nearbyint(y), step_y, ry) : std::nearbyint(y);
  // Without tiling one column (row), and only when it starts inside.
  const double x_end = htiled || x0 >= rx + rw ? rx + rw : x0 + 0.5;
  const double y_end = vtiled || y0 >= ry + rh ? ry + rh : y0 + 0.5;
  const RTexture tex = *t;
  const RQuad q{-xo * xscale - 0.5,
                -yo * yscale - 0.5,
                -xo * xscale - 0.5 + tex.w * xscale,
                -yo * yscale - 0.5 + tex.h * yscale,
                0.0f,
                0.0f,
                static_cast<float>(static_cast<double>(tex.w) / tex.wt),
                static_cast<float>(static_cast<double>(tex.h) / tex.ht)};
  const uint32_t argb = Renderer_MakeARGB(colour, alpha);
  for (double py = y0; py < y_end; py += step_y)
    for (double px = x0; px < x_end; px += step_x) EmitQuad(id, q, px, py, 0, argb);
}

void Renderer_SetPrimitiveTexture(int id) {
  Renderer_Core().primitive_texture = Renderer_FindTexture(id) ? id : -1;
}

void Renderer_DrawPrimitive(int kind, const RVertex* vertices, int count) {
  RRendererCore& c = Renderer_Core();
  if (vertices == nullptr || count <= 0) return;
  const int texture = Renderer_FindTexture(c.primitive_texture) ? c.primitive_texture : -1;
  c.batch.AddPrimitive(Renderer_BatchState(texture), kind, vertices, count);
}
