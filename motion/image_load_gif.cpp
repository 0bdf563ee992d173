// image_load_gif.cpp: GIF files with giflib, every frame composed on a work
// canvas of the GIF's logical size: a frame is drawn at its place through
// its colour table, its transparent index leaves the canvas as it is, and
// after the frame the canvas is refilled with kGifCanvasColor unless the
// frame asks to be left in place.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "motion/image_load.h"

namespace {

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
  auto* in = static_cast<MemoryReader*>(gif->UserData);
  size_t n = std::min(static_cast<size_t>(std::max(length, 0)), in->size - in->pos);
  std::memcpy(buffer, in->data + in->pos, n);
  in->pos += n;
  return static_cast<int>(n);
}

// Closes the decoder however the decoding ends.
struct GifCloser {
  GifFileType* gif;
  ~GifCloser() {
    int error = 0;
    if (gif) DGifCloseFile(gif, &error);
  }
};

GraphicsControlBlock ControlOf(GifFileType* gif, int index) {
  GraphicsControlBlock gcb;
  gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
  gcb.UserInputFlag = false;
  gcb.DelayTime = 0;
  gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  DGifSavedExtensionToGCB(gif, index, &gcb);  // keeps the defaults when absent
  return gcb;
}

// Draws one frame at its place, clipped to the canvas. Indices beyond the
// colour table (or with no table at all) draw black.
void DrawFrame(const SavedImage& image, const ColorMapObject* map, int transparent,
               TBitmap32& canvas) {
  const GifImageDesc& d = image.ImageDesc;
  if (!image.RasterBits) return;
  for (int y = 0; y < d.Height; ++y) {
    int cy = d.Top + y;
    if (cy < 0 || cy >= canvas.s_h) continue;
    const GifByteType* row = image.RasterBits + static_cast<size_t>(y) * d.Width;
    for (int x = 0; x < d.Width; ++x) {
      int cx = d.Left + x;
      if (cx < 0 || cx >= canvas.s_w || row[x] == transparent) continue;
      TColor32 colour = Color32(0, 0, 0);
      if (map && row[x] < map->ColorCount) {
        const GifColorType& c = map->Colors[row[x]];
        colour = Color32(c.Red, c.Green, c.Blue);
      }
      canvas.SetPixel(cx, cy, colour);
    }
  }
}

bool Compose(GifFileType* gif, std::vector<TBitmap32>& frames) {
  int32_t w = std::max(gif->SWidth, 1), h = std::max(gif->SHeight, 1);
  if (gif->ImageCount <= 0 || w > kImageMaxSide || h > kImageMaxSide ||
      int64_t{gif->ImageCount} * w * h > kImageMaxPixels) {
    return false;
  }
  TBitmap32 canvas(w, h, kGifCanvasColor);
  frames.reserve(static_cast<size_t>(gif->ImageCount));
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock gcb = ControlOf(gif, i);
    const ColorMapObject* map =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    DrawFrame(image, map, gcb.TransparentColor, canvas);
    frames.push_back(canvas);
    if (gcb.DisposalMode != DISPOSE_DO_NOT) canvas.Fill(kGifCanvasColor);
  }
  return true;
}

}  // namespace

bool Image_DecodeGifFrames(const uint8_t* data, size_t size, std::vector<TBitmap32>& frames) {
  frames.clear();
  if (!data || size == 0) return false;
  MemoryReader reader{data, size, 0};
  int error = 0;
  GifCloser closer{DGifOpen(&reader, ReadFromMemory, &error)};
  if (!closer.gif || DGifSlurp(closer.gif) != GIF_OK) return false;
  if (!Compose(closer.gif, frames)) {
    frames.clear();
    return false;
  }
  return true;
}
