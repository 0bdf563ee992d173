// run_step.cpp: one step of the game world, phase by phase.
#include "world/run_step.h"

#include <cmath>

#include "code/code_error.h"
#include "platform/window.h"
#include "code/code_errortext.h"
#include "code/code_exec.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "world/action_engine.h"
#include "world/event_dispatch.h"
#include "world/input_state.h"
#include "world/instance_list.h"
#include "world/joystick_input.h"
#include "world/room_runtime.h"

namespace {

RWorldStepHooks g_hooks;

constexpr int32_t kStepNormal = 0, kStepBegin = 1, kStepEnd = 2;
constexpr int32_t kOtherOutside = 0, kOtherBoundary = 1, kOtherAnimationEnd = 7,
                  kOtherEndOfPath = 8, kOtherOutsideView = 40, kOtherBoundaryView = 50;
constexpr int kKeyEscape = 27;
constexpr int32_t kOtherCloseButton = 30;

bool Pending() { return Event_ChangePending(); }

// Calls visit(inst) for the active instances present when it starts.
template <class Visit>
void ForEachActive(Visit&& visit) {
  InstanceOwnerList& active = Instance_Lists().active;
  const size_t count = active.size();
  for (size_t i = 0; i < count && i < active.size(); ++i) visit(active[i].get());
}

// --- time lines --------------------------------------------------------------------

void AdvanceTimeLine(CInstance* inst) {
  const int32_t index = inst->i_timelineindex;
  const CTimeLine* line = Game().timelines.Get(index);
  if (line == nullptr || line->Count() == 0) return;
  const double s = inst->i_timelinespeed;
  const int32_t last_step = line->s_step.back();
  if (s > 0) {
    int32_t b = line->FindLarger(inst->i_timelineposition);
    inst->i_timelineposition += s;
    int32_t e = line->FindLarger(inst->i_timelineposition);
    for (int32_t m = b; m < e; ++m) PerformMoment(inst, inst, index, m);
    if (last_step < inst->i_timelineposition && inst->i_timelineloop) inst->i_timelineposition = 0;
  } else {
    int32_t b = line->FindSmaller(inst->i_timelineposition);
    inst->i_timelineposition += s;
    int32_t e = line->FindSmaller(inst->i_timelineposition);
    for (int32_t m = b; m > e; --m) PerformMoment(inst, inst, index, m);
    if (inst->i_timelineposition < 0 && inst->i_timelineloop) inst->i_timelineposition = last_step;
  }
}

// --- keyboard and mouse ------------------------------------------------------------

// Dispatches (type, k) for every key k in 8..255 whose mark is set, then
// event 1 when some was, event 0 when none was.
template <class Marked>
void DispatchKeys(int32_t type, Marked&& marked) {
  bool any = false;
  for (int32_t k = 8; k < RInputState::kKeys && !Pending(); ++k) {
    if (!marked(static_cast<size_t>(k))) continue;
    any = true;
    Dispatch_Event(type, k);
  }
  if (!Pending()) Dispatch_Event(type, any ? 1 : 0);
}

bool ContainsPoint(CInstance* inst, double x, double y) {
  if (g_hooks.collision_point) return g_hooks.collision_point(inst, x, y);
  if (!inst->HasShape()) return false;
  const TRect& b = inst->i_bbox;
  return x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
}

// Mouse event for the listed instances under the mouse.
void MouseLocal(int32_t number) {
  const RInputState& in = Input();
  Dispatch_ForEach(ev_mouse, number, [&](CInstance* inst) {
    if (ContainsPoint(inst, in.mouse_x, in.mouse_y)) PerformEventInstance(inst, inst, ev_mouse, number);
  });
}

void MouseGlobal(int32_t number) { Dispatch_Event(ev_mouse, number); }

void MouseButtons() {
  const RInputState& in = Input();
  bool any = false;
  for (int32_t b = 1; b <= 3 && !Pending(); ++b) {
    if (!in.button_held[b] && !in.button_pressed[b]) continue;
    any = true;
    MouseLocal(b - 1);
    MouseGlobal(b + 49);
  }
  if (!any && !Pending()) MouseLocal(3);
  for (int32_t b = 1; b <= 3 && !Pending(); ++b) {
    if (!in.button_pressed[b]) continue;
    MouseLocal(b + 3);
    MouseGlobal(12);
    MouseGlobal(b + 52);
  }
  for (int32_t b = 1; b <= 3 && !Pending(); ++b) {
    if (!in.button_released[b]) continue;
    MouseLocal(b + 6);
    MouseGlobal(13);
    MouseGlobal(b + 55);
  }
}

void MouseEnterLeave() {
  const RInputState& in = Input();
  for (int32_t number : {10, 11}) {
    if (Pending()) return;
    Dispatch_ForEach(ev_mouse, number, [&](CInstance* inst) {
      bool now = ContainsPoint(inst, in.mouse_x, in.mouse_y);
      bool before = ContainsPoint(inst, in.mouse_xprevious, in.mouse_yprevious);
      if (number == 10 ? (now && !before) : (before && !now))
        PerformEventInstance(inst, inst, ev_mouse, number);
    });
  }
}

// --- other events ------------------------------------------------------------------

struct RArea {
  double left, top, right, bottom;
};

// With a shape the box is tested, without one the position.
bool IsOutside(const CInstance* inst, const RArea& a) {
  if (!inst->HasShape()) return inst->i_x < a.left || inst->i_x > a.right || inst->i_y < a.top || inst->i_y > a.bottom;
  const TRect& b = inst->i_bbox;
  return b.right < a.left || b.left > a.right || b.bottom < a.top || b.top > a.bottom;
}

bool CrossesBoundary(const CInstance* inst, const RArea& a) {
  if (!inst->HasShape()) return IsOutside(inst, a);
  const TRect& b = inst->i_bbox;
  return b.left < a.left || b.right > a.right || b.top < a.top || b.bottom > a.bottom;
}

template <class Test>
void DispatchWhere(int32_t number, const RArea& area, Test&& test) {
  Dispatch_ForEach(ev_other, number, [&](CInstance* inst) {
    if (test(inst, area)) PerformEventInstance(inst, inst, ev_other, number);
  });
}

// --- background scrolling ------------------------------------------------------------

void ScrollBackground() {
  CRoom* room = Room_Live();
  if (room == nullptr) return;
  for (CBack& back : room->r_background) {
    back.x += back.hspeed;
    back.y += back.vspeed;
  }
}

}  // namespace

const RWorldStepHooks& World_StepHooks() { return g_hooks; }

void World_SetStepHooks(const RWorldStepHooks& hooks) {
  if (hooks.collision_instance) g_hooks.collision_instance = hooks.collision_instance;
  if (hooks.collision_point) g_hooks.collision_point = hooks.collision_point;
  if (hooks.adapt_path) g_hooks.adapt_path = hooks.adapt_path;
  if (hooks.mouse_to_room) g_hooks.mouse_to_room = hooks.mouse_to_room;
  if (hooks.update_particles) g_hooks.update_particles = hooks.update_particles;
  if (hooks.draw) g_hooks.draw = hooks.draw;
}

void Step_SavePrevious() {
  for (auto& inst : Instance_Lists().active) {
    inst->i_xprevious = inst->i_x;
    inst->i_yprevious = inst->i_y;
    inst->i_pathpositionprevious = inst->i_pathposition;
  }
}

void Step_Triggers(int moment) {
  const CGameData& game = Game();
  for (int32_t q = 0; q < game.triggers.Count() && !Pending(); ++q) {
    const CTrigger* trigger = game.triggers.Get(q);
    if (trigger == nullptr || trigger->i_moment != moment || trigger->i_code == nullptr) continue;
    Dispatch_ForEach(ev_trigger, q, [&](CInstance* inst) {
      RValue result;
      if (!Code_Run(*trigger->i_code, inst, inst, result)) {
        Error_Show("ERROR in trigger " + ToUtf8(trigger->i_name) + "\r\n" + CodeErrorState().text, false);
        CodeError_Clear();
        return;
      }
      if (result.IsReal() && IsTrue(result.val)) PerformEventInstance(inst, inst, ev_trigger, q);
    });
  }
}

void Step_TimeLines() {
  ForEachActive([](CInstance* inst) {
    if (Pending() || inst->i_marked || !inst->i_timelinerunning || inst->i_timelinespeed == 0) return;
    AdvanceTimeLine(inst);
  });
}

void Step_Alarms() {
  for (int32_t a = 0; a < kAlarmCount && !Pending(); ++a) {
    Dispatch_ForEach(ev_alarm, a, [a](CInstance* inst) {
      int32_t& timer = inst->i_timer[static_cast<size_t>(a)];
      if (timer < 0) return;
      if (--timer == 0) PerformEventInstance(inst, inst, ev_alarm, a);
    });
  }
}

void Step_Keyboard() {
  const RInputState& in = Input();
  DispatchKeys(ev_keyboard, [&](size_t k) { return in.key_held[k] || in.key_pressed[k]; });
  if (!Pending()) DispatchKeys(ev_keypress, [&](size_t k) { return in.key_pressed[k]; });
  if (!Pending()) DispatchKeys(ev_keyrelease, [&](size_t k) { return in.key_released[k]; });
}

void Step_Mouse() {
  RInputState& in = Input();
  in.mouse_xprevious = in.mouse_x;
  in.mouse_yprevious = in.mouse_y;
  if (g_hooks.mouse_to_room) {
    g_hooks.mouse_to_room(in.window_x, in.window_y, in.mouse_x, in.mouse_y);
  } else {
    in.mouse_x = in.window_x;
    in.mouse_y = in.window_y;
  }
  MouseButtons();
  if (!Pending()) MouseEnterLeave();
  if (in.wheel_up && !Pending()) MouseGlobal(60);
  if (in.wheel_down && !Pending()) MouseGlobal(61);
}

void Step_Motion() {
  ForEachActive([](CInstance* inst) {
    inst->Adapt_Speed();
    if (g_hooks.adapt_path && g_hooks.adapt_path(inst))
      PerformEventInstance(inst, inst, ev_other, kOtherEndOfPath);
    inst->SetPosition(inst->i_x + inst->i_hspeed, inst->i_y + inst->i_vspeed);
  });
}

void Step_OtherEvents() {
  const CRoom* room = Room_Live();
  if (room == nullptr) return;
  const RArea area{0, 0, static_cast<double>(room->r_width), static_cast<double>(room->r_height)};
  DispatchWhere(kOtherOutside, area, IsOutside);
  if (!Pending()) DispatchWhere(kOtherBoundary, area, CrossesBoundary);
  if (!room->r_enableviews) return;
  for (int v = 0; v < kRoomViews && !Pending(); ++v) {
    const CView& view = room->r_view[static_cast<size_t>(v)];
    if (!view.visible) continue;
    const RArea va{static_cast<double>(view.xview), static_cast<double>(view.yview),
                   static_cast<double>(view.xview + view.wview),
                   static_cast<double>(view.yview + view.hview)};
    DispatchWhere(kOtherOutsideView + v, va, IsOutside);
    if (!Pending()) DispatchWhere(kOtherBoundaryView + v, va, CrossesBoundary);
  }
}

// An instance without a sprite has 0 images: it gets Animation End every
// step while its image index is 0 or more.
void Step_Animation() {
  const bool has_event_list = !Dispatch_List(ev_other, kOtherAnimationEnd).empty();
  ForEachActive([has_event_list](CInstance* inst) {
    inst->i_imageindex += inst->i_imagespeed;
    const int32_t count = inst->ImageNumber();
    if (std::floor(inst->i_imageindex) < count) return;
    inst->i_imageindex -= count;
    if (has_event_list) PerformEventInstance(inst, inst, ev_other, kOtherAnimationEnd);
  });
}

void World_Step() {
  TRunnerForm& form = RunnerForm();
  if (!Input().window_active && Game().settings.freeze_when_inactive) return;
  Step_FunctionKeys();
  if (!Input().window_active) Input_Clear();
  Step_SavePrevious();
  // Each phase ends the step when it left a transition pending.
  Step_Triggers(kStepBegin);
  Dispatch_Event(ev_step, kStepBegin);
  if (Pending()) return;
  Step_TimeLines();
  if (Pending()) return;
  Step_Alarms();
  if (Pending()) return;
  Step_Keyboard();
  if (Pending()) return;
  Step_Joystick();
  if (Pending()) return;
  Step_Mouse();
  if (Pending()) return;
  Step_Triggers(kStepNormal);
  Dispatch_Event(ev_step, kStepNormal);
  if (Pending()) return;
  Step_Motion();
  Step_OtherEvents();
  if (Pending()) return;
  Step_Collisions();
  if (Pending()) return;
  Step_Triggers(kStepEnd);
  Dispatch_Event(ev_step, kStepEnd);
  if (Pending()) return;
  if (g_hooks.update_particles) g_hooks.update_particles();
  Instance_RemoveMarked();
  if (g_hooks.draw) g_hooks.draw();
  ScrollBackground();
  Step_Animation();
  ++form.step_counter;
  Input_EndStep();
}

void World_HandleWindowEvent(const PlatformEvent& event) {
  if (event.kind != PlatformEvent::Close) {
    Input_HandleWindowEvent(event);
    return;
  }
  if (!Game().settings.close_button_as_esc) {
    PerformEventAll(ev_other, kOtherCloseButton);
    return;
  }
  RInputState& input = Input();
  input.key_held[kKeyEscape] = true;
  input.last_key = input.current_key = kKeyEscape;
}
