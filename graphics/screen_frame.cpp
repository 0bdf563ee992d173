// screen_frame.cpp: start-up of the graphics and the per-step frame cycle
// (see screen_frame.h).
#include "graphics/screen_frame.h"

#include "graphics/background_class.h"
#include "graphics/renderer.h"
#include "graphics/room_draw.h"
#include "motion/image_hooks.h"
#include "runner/game_data.h"
#include "common/test_switches.h"
#include "platform/clock.h"
#include "platform/window.h"

#include <cstdio>
#include <vector>

namespace {

bool g_prepared = false;
bool g_automatic_draw = true;

// Present times for VEXLO_FRAME_LOG, written when the graphics are released.
std::vector<int64_t> g_frame_times;

void RecordFrameTime() {
  if (!Test_Switches().frame_log.empty()) g_frame_times.push_back(Clock_NowMicros());
}

void WriteFrameLog() {
  if (Test_Switches().frame_log.empty() || g_frame_times.empty()) return;
  if (FILE* f = std::fopen(Test_Switches().frame_log.c_str(), "w")) {
    for (int64_t t : g_frame_times) std::fprintf(f, "%lld\n", static_cast<long long>(t));
    std::fclose(f);
  }
  g_frame_times.clear();
}

// The device's first back buffer size.
constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 480;

}  // namespace

void Graphics_CreateResourceTextures() {
  Sprite_InitTextures();
  for (auto& back : Game().backgrounds.items) {
    if (!back) continue;
    Renderer_FreeTexture(back->i_tex);
    back->i_tex = back->i_bitmap.Empty() ? -1 : Renderer_CreateTextureFromImage(back->i_bitmap);
  }
}

bool Graphics_Prepare() {
  const GameSettings& settings = Game().settings;
  PlatformWindow& window = Platform_Window();
  if (!window.MainIsOpen() && !window.OpenMain(8, 8, "")) return false;
  Renderer_SetRegionScale(settings.scale / 100.0, true);
  Renderer_SetRegionSize(8, 8, true);
  Renderer_SetSizeable(settings.sizeable);
  Renderer_SetStayOnTop(settings.stay_on_top);
  Renderer_SetWindowColour(settings.window_color);
  Renderer_SetShowBorder(!settings.no_border);
  Renderer_SetShowIcons(!settings.no_caption_buttons);
  if (!settings.show_cursor) Renderer_SetCursor(-1);
  Renderer_Init(kInitialWidth, kInitialHeight, settings.synchronization);
  Renderer_SetFullscreen(settings.full_screen);
  Renderer_SetInterpolation(settings.interpolate);
  g_prepared = true;
  Graphics_CreateResourceTextures();
  Renderer_BeginFrame();
  return true;
}

bool Graphics_Prepared() { return g_prepared; }

void Graphics_Release() {
  WriteFrameLog();
  Renderer_Shutdown();
  g_prepared = false;
  Platform_Window().CloseMain();
}

void Screen_SetAutomaticDraw(bool on) { g_automatic_draw = on; }
bool Screen_AutomaticDraw() { return g_automatic_draw; }

void Screen_Redraw() {
  RoomDraw_Draw();
  Renderer_EndFrame();
  Renderer_BeginFrame();
}

void Screen_PresentStep() {
  if (!g_automatic_draw) return;
  Renderer_EndFrame();
  RecordFrameTime();
  Renderer_BeginFrame();
}
