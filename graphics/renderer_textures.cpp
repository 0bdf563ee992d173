// renderer_textures.cpp: the texture table. Ids index a growable table;
// creation takes the first free entry. Images go up with a one-pixel copied
// border at the right and bottom so bilinear filtering never blends in
// texels outside the image.
#include <algorithm>
#include <vector>

#include "graphics/renderer_internal.h"

int Renderer_TextureSize(int n) {
  int size = 1;
  while (size < n && size < (1 << 30)) size <<= 1;
  return size;
}

const RTexture* Renderer_FindTexture(int id) {
  const RRendererCore& c = Renderer_Core();
  if (id < 0 || id >= static_cast<int>(c.textures.size()) || !c.textures[id].used) return nullptr;
  return &c.textures[id];
}

int Renderer_CreateTexture(int w, int h, bool render_target) {
  RRendererCore& c = Renderer_Core();
  if (w <= 0 || h <= 0) return -1;
  const int wt = Renderer_TextureSize(w), ht = Renderer_TextureSize(h);
  if (wt > c.backend->MaxTextureSize() || ht > c.backend->MaxTextureSize()) return -1;
  int id = 0;
  while (id < static_cast<int>(c.textures.size()) && c.textures[id].used) ++id;
  if (id == static_cast<int>(c.textures.size())) c.textures.emplace_back();
  if (!c.backend->CreateTexture(id, wt, ht, render_target)) return -1;
  c.textures[id] = RTexture{w, h, wt, ht, true, render_target};
  return id;
}

// The block written into the texture: the image, plus a copy of its last
// column and last row where the texture has room for them.
static void UploadWithBorder(int id, const RTexture& t, const TColor32* pixels) {
  RendererBackend& backend = Renderer_Backend();
  if (t.w == t.wt && t.h == t.ht) {
    backend.UploadTexture(id, t.w, t.h, pixels);
    return;
  }
  const int bw = std::min(t.w + 1, t.wt), bh = std::min(t.h + 1, t.ht);
  std::vector<TColor32> block(static_cast<size_t>(bw) * bh);
  for (int y = 0; y < bh; ++y) {
    const TColor32* row = pixels + static_cast<size_t>(std::min(y, t.h - 1)) * t.w;
    TColor32* out = block.data() + static_cast<size_t>(y) * bw;
    std::copy(row, row + t.w, out);
    if (bw > t.w) out[t.w] = row[t.w - 1];
  }
  backend.UploadTexture(id, bw, bh, block.data());
}

int Renderer_CreateTextureFromImage(const TBitmap32& image) {
  if (image.Empty() ||
      image.s_data.size() < static_cast<size_t>(image.s_w) * static_cast<size_t>(image.s_h))
    return -1;
  const int id = Renderer_CreateTexture(image.s_w, image.s_h, false);
  if (id >= 0) UploadWithBorder(id, Renderer_Core().textures[id], image.s_data.data());
  return id;
}

int Renderer_CreateTextureFromAlpha(int w, int h, const uint8_t* bytes) {
  if (w <= 0 || h <= 0 || bytes == nullptr) return -1;
  TBitmap32 image(w, h);
  for (size_t i = 0; i < image.s_data.size(); ++i)
    image.s_data[i] = (static_cast<TColor32>(bytes[i]) << 24) | 0xFFFFFFu;
  return Renderer_CreateTextureFromImage(image);
}

bool Renderer_UpdateTexture(int id, const TBitmap32& image) {
  const RTexture* t = Renderer_FindTexture(id);
  if (t == nullptr || image.s_w != t->w || image.s_h != t->h ||
      image.s_data.size() < static_cast<size_t>(t->w) * t->h)
    return false;
  Renderer_Flush();
  UploadWithBorder(id, *t, image.s_data.data());
  return true;
}

void Renderer_FreeTexture(int id) {
  RRendererCore& c = Renderer_Core();
  if (Renderer_FindTexture(id) == nullptr) return;
  if (c.batch.State().texture == id) c.batch.Flush();
  if (c.primitive_texture == id) c.primitive_texture = -1;
  c.backend->FreeTexture(id);
  c.textures[id] = RTexture();
}

bool Renderer_TextureExists(int id) { return Renderer_FindTexture(id) != nullptr; }

double Renderer_TextureWidthFraction(int id) {
  const RTexture* t = Renderer_FindTexture(id);
  return t ? static_cast<double>(t->w) / t->wt : 1.0;
}
double Renderer_TextureHeightFraction(int id) {
  const RTexture* t = Renderer_FindTexture(id);
  return t ? static_cast<double>(t->h) / t->ht : 1.0;
}
int Renderer_TextureImageWidth(int id) {
  const RTexture* t = Renderer_FindTexture(id);
  return t ? t->w : 0;
}
int Renderer_TextureImageHeight(int id) {
  const RTexture* t = Renderer_FindTexture(id);
  return t ? t->h : 0;
}
int Renderer_TextureRealWidth(int id) {
  const RTexture* t = Renderer_FindTexture(id);
  return t ? t->wt : 0;
}
int Renderer_TextureRealHeight(int id) {
  const RTexture* t = Renderer_FindTexture(id);
  return t ? t->ht : 0;
}
