// bench_image.cpp: the cost of images loaded at run time: PNG decoding, the
// preparation sequence, stretching and sprite masks over a strip.
#include <benchmark/benchmark.h>

#include "motion/image_load.h"
#include "motion/image_prepare.h"
#include "motion/sprite_class.h"

namespace {

// An image with a keyed background and an opaque disc.
TBitmap32 Disc(int32_t size) {
  TBitmap32 bm(size, size, Color32(255, 0, 255));
  int32_t r = size / 2 - 1;
  for (int32_t y = 0; y < size; ++y)
    for (int32_t x = 0; x < size; ++x) {
      int32_t dx = x - size / 2, dy = y - size / 2;
      if (dx * dx + dy * dy < r * r) bm.SetPixel(x, y, Color32(x & 0xFF, y & 0xFF, 90));
    }
  return bm;
}

void BM_ImageDecodePng(benchmark::State& state) {
  std::vector<uint8_t> png;
  Image_EncodePng(Disc(static_cast<int32_t>(state.range(0))), png);
  TBitmap32 out;
  for (auto _ : state) benchmark::DoNotOptimize(Image_Decode(png.data(), png.size(), out));
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(BM_ImageDecodePng)->Arg(64)->Arg(256);

void BM_ImagePrepareLoaded(benchmark::State& state) {
  TBitmap32 source = Disc(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    TBitmap32 bm = source;
    Image_PrepareLoaded(bm, true, true);
    benchmark::DoNotOptimize(bm.s_data.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(0));
}
BENCHMARK(BM_ImagePrepareLoaded)->Arg(64)->Arg(256);

void BM_ImageStretchBilinear(benchmark::State& state) {
  TBitmap32 source = Disc(128);
  for (auto _ : state) benchmark::DoNotOptimize(source.Stretch(256, 256, 1).s_data.data());
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_ImageStretchBilinear);

void BM_SpriteMasksOfStrip(benchmark::State& state) {
  CSprite sprite;
  for (int i = 0; i < 8; ++i) sprite.i_bitmap.push_back(Disc(64));
  for (auto _ : state) {
    sprite.ComputeMask(state.range(0) != 0, 0, TRect(), 0, 0);
    benchmark::DoNotOptimize(sprite.i_bbox);
  }
}
BENCHMARK(BM_SpriteMasksOfStrip)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
