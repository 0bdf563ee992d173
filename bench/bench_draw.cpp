// Benchmarks of the drawing functions' own work (the renderer is the no-op
// backend): text layout with wrapping, a draw_text of a paragraph, and the
// shape vertex lists.
#include <benchmark/benchmark.h>

#include "graphics/draw_shapes.h"
#include "graphics/font_class.h"
#include "graphics/text_draw.h"
#include "graphics/text_layout.h"

namespace {

CFont BenchFont() {
  CFont font;
  font.s_name = u"bench";
  font.s_first = 32;
  font.s_last = 127;
  for (int c = 32; c <= 127; ++c) {
    font.s_shift[c] = 6 + c % 3;
    font.s_w[c] = 5;
    font.s_h[c] = 12;
  }
  font.s_FontHeight = 12;
  return font;
}

const VString kParagraph =
    u"The quick brown fox jumps over the lazy dog, then a well-known cat "
    u"walks by.#Score: 12345 Lives: 3 Health: 100#"
    u"Another line of text that needs wrapping at the given width to fit.";

void BM_TextLayoutWrapped(benchmark::State& state) {
  CFont font = BenchFont();
  for (auto _ : state) benchmark::DoNotOptimize(Text_Layout(font, kParagraph, 200));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kParagraph.size()));
}
BENCHMARK(BM_TextLayoutWrapped);

void BM_DrawTextParagraph(benchmark::State& state) {
  for (auto _ : state) Text_Draw(10, 10, kParagraph, -1, 200, RTextTransform{});
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kParagraph.size()));
}
BENCHMARK(BM_DrawTextParagraph);

void BM_EllipseFilled(benchmark::State& state) {
  Draw_SetCirclePrecision(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Shape_Ellipse(0, 0, 100, 60, 1, 2, false));
}
BENCHMARK(BM_EllipseFilled)->Arg(24)->Arg(64);

void BM_RectangleDraw(benchmark::State& state) {
  for (auto _ : state) Shape_Draw(Shape_Rectangle(10, 10, 50, 40, 1, 1, 1, 1, false));
}
BENCHMARK(BM_RectangleDraw);

}  // namespace

BENCHMARK_MAIN();
