// transition.cpp: the room transition run: the two pictures, the frame loop
// and the kinds defined by game code.
#include "graphics/transition.h"

#include <cmath>
#include <numbers>
#include <unordered_map>

#include "code/builtin_variables.h"
#include "code/code_error.h"
#include "code/code_errortext.h"
#include "code/code_script.h"
#include "graphics/renderer.h"
#include "graphics/room_draw.h"
#include "graphics/transition_geometry.h"
#include "platform/clock.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "common/test_switches.h"
#include "world/instance_class.h"

namespace {

constexpr int kMaxKind = 999999;
constexpr int64_t kRefreshMicros = 1000000 / 60;  // one display refresh
constexpr int32_t kWhite = 0xFFFFFF;

// A kind defined by game code: the script it calls and the name it was
// given by.
struct CustomKind {
  int script = -1;
  std::u16string name;
};

struct TransitionState {
  int kind = 0;
  int old_surface = -1;
  int new_surface = -1;
  std::unordered_map<int, CustomKind> custom;
};

TransitionState& State() {
  static TransitionState state;
  return state;
}

bool IsCustom(int kind) { return State().custom.count(kind) != 0; }

void FreeSurfaces() {
  TransitionState& s = State();
  if (Renderer_SurfaceTarget() >= 0) Renderer_SurfaceResetTarget();
  if (s.old_surface >= 0) Renderer_SurfaceFree(s.old_surface);
  if (s.new_surface >= 0) Renderer_SurfaceFree(s.new_surface);
  s.old_surface = s.new_surface = -1;
  s.kind = 0;
}

// The room as drawn into a new surface of the region size; -1 when no
// surface could be made.
int DrawRoomInto() {
  int surface = Renderer_SurfaceCreate(Renderer_RegionWidth(), Renderer_RegionHeight());
  if (surface < 0 || !Renderer_SurfaceSetTarget(surface)) {
    if (surface >= 0) Renderer_SurfaceFree(surface);
    return -1;
  }
  RoomDraw_Draw();
  Renderer_SurfaceResetTarget();
  return surface;
}

void DrawPiece(const RTransitionDraw& d, int old_tex, int new_tex) {
  if (d.picture == RTransitionDraw::kClearBlack) {
    Renderer_Clear(0, 1);
    return;
  }
  int tex = d.picture == RTransitionDraw::kOld ? old_tex : new_tex;
  Renderer_DrawTexturePart(tex, kWhite, d.left, d.top, d.width, d.height, d.x, d.y, d.xscale,
                           d.yscale, d.angle * std::numbers::pi / 180, d.alpha);
}

// A kind defined by game code: its script with a dummy instance as self and
// other; a failure or a missing definition is reported.
void DrawCustom(int kind, int w, int h, double f) {
  const CustomKind& custom = State().custom[kind];
  if (!Game().scripts.Exists(custom.script)) {
    Error_Show("Transition Function does not exist.", false);
    return;
  }
  CInstance dummy;
  RValue result;
  const RValue args[5] = {RValue::Real(State().old_surface), RValue::Real(State().new_surface),
                          RValue::Real(w), RValue::Real(h), RValue::Real(f)};
  if (!Code_CallScript(custom.script, &dummy, &dummy, result, false, args, 5))
    Error_Show("ERROR in transition function " + ToUtf8(custom.name) + "\r\n" +
                   CodeErrorState().text,
               false);
}

void DrawFrame(int kind, int steps, double f) {
  const int w = Renderer_RegionWidth(), h = Renderer_RegionHeight();
  if (IsCustom(kind)) {
    DrawCustom(kind, w, h, f);
    return;
  }
  const int old_tex = Renderer_SurfaceTexture(State().old_surface);
  const int new_tex = Renderer_SurfaceTexture(State().new_surface);
  for (const RTransitionDraw& d : Transition_Frame(kind, steps, w, h, f))
    DrawPiece(d, old_tex, new_tex);
}

// One display refresh, none in fast runs.
void WaitRefresh() {
  Renderer_WaitVSync();
  if (!Test_Switches().fast) Clock_Sleep(kRefreshMicros);
}

}  // namespace

bool Transition_Exists(int kind) {
  return (kind >= 1 && kind <= kTransitionBuiltinCount) || IsCustom(kind);
}

bool Transition_Define(int kind, const std::u16string& name) {
  int script = Game().scripts.Find(name);
  if (script < 0 || kind < 1 || kind > kMaxKind) return false;
  State().custom[kind] = CustomKind{script, name};
  return true;
}

void Transition_ClearDefinitions() { State().custom.clear(); }

void Transition_Begin() {
  Transition_Cancel();
  const int kind = RunnerForm().transition_kind;
  if (!Transition_Exists(kind)) return;
  State().old_surface = DrawRoomInto();
  if (State().old_surface >= 0) State().kind = kind;
}

bool Transition_Pending() { return State().old_surface >= 0; }

void Transition_Cancel() { FreeSurfaces(); }

bool Transition_Play() {
  if (!Transition_Pending()) return false;
  TransitionState& s = State();
  s.new_surface = DrawRoomInto();
  if (s.new_surface < 0) {
    FreeSurfaces();
    return false;
  }
  const int steps = std::max(1, g_GameGlobals.transition_steps);
  const int source = Renderer_BlendSource(), destination = Renderer_BlendDestination();
  Renderer_SetBlendMode(0);
  for (int count = 0; count <= steps; ++count) {
    DrawFrame(s.kind, steps, static_cast<double>(count) / steps);
    WaitRefresh();
    Renderer_EndFrame();
    Renderer_BeginFrame();
  }
  Renderer_SetBlendModeExt(source, destination);
  FreeSurfaces();
  return true;
}
