// bench_sprites.cpp: the cost of drawing sprites. Each iteration is one
// frame of 20,000 sprites drawn through the draw_sprite_ext path (image
// source, then the transformed quad), with varying position, scale,
// rotation, colour and alpha, from four 32 x 32 sprites, headless.
// Reported per variant:
//   ns_per_sprite: CPU time of the drawing thread for the frame (building
//     the quads and issuing the draw calls, not waiting for the device to
//     finish), divided by the sprites drawn
//   draws_per_frame: GL draw calls the frame took
// Variants: "grouped" draws each sprite's instances together (as room
// drawing does for instances of one object at one depth): draw calls
// follow the texture changes; "interleaved" changes the sprite with every
// draw (the worst case: one call per sprite). "gl" runs the OpenGL device
// (offscreen, flushed and finished each frame); "submit" runs the no-op
// device, the CPU cost of the renderer core alone.
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <time.h>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "graphics/draw_images.h"
#include "graphics/renderer_internal.h"
#include "motion/sprite_class.h"
#include "platform/window.h"
#include "runner/game_data.h"

namespace {

constexpr int kSprites = 20000;
constexpr int kTextures = 4;

void MakeSprites() {
  CGameData& game = Game();
  if (game.sprites.Count() >= kTextures) return;
  for (int s = 0; s < kTextures; ++s) {
    auto sprite = std::make_unique<CSprite>();
    TBitmap32 image(32, 32);
    for (size_t i = 0; i < image.s_data.size(); ++i) image.s_data[i] = 0xFF000000u | (i * 2654435761u >> 8);
    sprite->i_bitmap.push_back(image);
    sprite->i_xorig = sprite->i_yorig = 16;
    game.sprites.items.push_back(std::move(sprite));
    game.sprites.names.push_back(u"spr");
  }
}

// One device for the whole program: the real one when asked for and
// available.
bool StartDevice(bool gl) {
  static int current = -1;
  if (current == static_cast<int>(gl)) return true;
  if (gl) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    Platform_SelectWindow(true);
    Platform_Window().OpenMain(640, 480, "");
    Renderer_SetRegionSize(640, 480, true);
    if (!Renderer_Init(640, 480, false)) return false;
  } else {
    Renderer_UseBackend(CreateNullBackend());
  }
  for (auto& sprite : Game().sprites.items)
    sprite->i_tex.assign(1, Renderer_CreateTextureFromImage(sprite->i_bitmap[0]));
  current = gl;
  return true;
}

// CPU time of this thread: what drawing costs the game's own thread, apart
// from waiting for the device to finish.
double ThreadCpuNs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e9 + t.tv_nsec;
}

void DrawFrame(bool interleaved) {
  for (int i = 0; i < kSprites; ++i) {
    const int sprite = interleaved ? i % kTextures : i * kTextures / kSprites;
    RImageSource source;
    Draw_SpriteSource(sprite, 0, nullptr, source);
    const double t = i * 0.37;
    Draw_ImageExt(source, std::fmod(i * 7.0, 640), std::fmod(i * 13.0, 480), 0.5 + std::sin(t),
                  1.25, std::fmod(i * 3.0, 360), 0xFFFFFF - (i & 0xFFFF), 0.5 + (i % 2) * 0.5);
  }
}

void BM_Sprites(benchmark::State& state) {
  const bool gl = state.range(0) != 0, interleaved = state.range(1) != 0;
  MakeSprites();
  if (!StartDevice(gl)) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  RendererBackend& backend = Renderer_Backend();
  int64_t draws = 0;
  double drawing_ns = 0;
  for (auto _ : state) {
    backend.ResetDrawCalls();
    Renderer_Clear(0, 1);
    if (gl) glFinish();
    const double start = ThreadCpuNs();
    DrawFrame(interleaved);
    Renderer_Flush();
    drawing_ns += ThreadCpuNs() - start;
    if (gl) glFinish();
    draws = backend.DrawCalls();
  }
  state.counters["ns_per_sprite"] = drawing_ns / (static_cast<double>(kSprites) * state.iterations());
  state.counters["draws_per_frame"] = static_cast<double>(draws);
  state.SetLabel(std::string(gl ? "gl" : "submit") + (interleaved ? " interleaved" : " grouped"));
}

BENCHMARK(BM_Sprites)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
