// room_runtime.cpp: the live room table, room start and room end, carried
// persistent instances, creation codes, and room change requests.
#include "world/room_runtime.h"

#include "code/builtin_variables.h"
#include "code/code_error.h"
#include "code/code_errortext.h"
#include "code/code_main.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "world/action_engine.h"
#include "world/cursor_sprite.h"
#include "world/input_state.h"

namespace {

RLiveRoomTable g_live;
int g_current = -1;
std::vector<std::unique_ptr<CInstance>> g_carried;
RRoomRuntimeHooks g_hooks;

constexpr int32_t kOtherGameStart = 2;
constexpr int32_t kOtherGameEnd = 3;
constexpr int32_t kOtherRoomStart = 4;
constexpr int32_t kOtherRoomEnd = 5;

std::string RoomName(int room) { return ToUtf8(Game().rooms.Name(room)); }

RLiveRoom* Slot(int room) {
  if (room < 0 || static_cast<size_t>(room) >= g_live.size()) return nullptr;
  return g_live[static_cast<size_t>(room)].get();
}

// Compiles and runs a creation code; both failures are reported with the
// given subject ("for instance 100001 in room r" / "of room r").
void RunCreationCode(const VString& text, CInstance* inst, const std::string& subject) {
  RCodeCompileError error;
  std::unique_ptr<CCode> code = Code_CompileText(text, CODE_PROGRAM, &error);
  if (code == nullptr) {
    Error_Show("COMPILATION ERROR in creation code " + subject + "\r\n" + error.text, false);
    return;
  }
  RValue result;
  if (!Code_Run(*code, inst, inst, result)) {
    Error_Show("EXECUTION ERROR in creation code " + subject + "\r\n" + CodeErrorState().text, false);
    CodeError_Clear();
  }
}

// A new live state: the resource's settings and its placed instances.
void CreateLiveState(int room) {
  const CRoom& resource = *Game().rooms.Get(room);
  auto live = std::make_unique<RLiveRoom>();
  live->room = resource;
  g_live[static_cast<size_t>(room)] = std::move(live);
  Instance_ClearAll();
  for (const RRoomInstance& placed : resource.r_instances) {
    if (!Game().objects.Exists(placed.index)) continue;
    CInstance* inst = Instance_AddWithId(placed.x, placed.y, placed.id, placed.index);
    inst->i_initcode = placed.code;
  }
  Instance_RebuildObjectLists();
}

// The carried copies replace any instance with their id left in the room.
void BringCarriedInstances() {
  InstanceOwnerList& active = Instance_Lists().active;
  for (std::unique_ptr<CInstance>& carried : g_carried) {
    for (auto& inst : active)
      if (inst->i_id == carried->i_id) inst->i_marked = true;
    CInstance* inst = Instance_AddNew(carried->i_x, carried->i_y, carried->i_objectindex);
    inst->Assign(*carried);
  }
  g_carried.clear();
}

// Creation code and create event alternate, instance by instance.
void StartOwnInstances(size_t own_count, int room) {
  InstanceOwnerList& active = Instance_Lists().active;
  for (size_t i = 0; i < own_count && i < active.size(); ++i) {
    CInstance* inst = active[i].get();
    if (inst->i_marked) continue;
    if (!inst->i_initcode.empty()) {
      RunCreationCode(inst->i_initcode, inst,
                      "for instance " + std::to_string(inst->i_id) + " in room " + RoomName(room));
    }
    PerformEvent(inst, inst, inst->i_objectindex, ev_create, 0);
  }
}

void RunRoomCreationCode(int room) {
  const VString& text = Slot(room)->room.r_code;
  if (text.empty()) return;
  CInstance temporary(0, 0);
  RunCreationCode(text, &temporary, "of room " + RoomName(room));
}

void SetAsideCarried() {
  g_carried.clear();
  for (auto& inst : Instance_Lists().active) {
    if (inst->i_marked || !inst->i_persistent) continue;
    g_carried.push_back(std::make_unique<CInstance>(*inst));
    inst->i_marked = true;
  }
}

void FatalRoomError(const std::string& message) {
  Error_Show_Action(message, true);
  Runner_RequestTransition(TRANSITION_ABORT);
}

}  // namespace

CRoom* Room_Live() {
  RLiveRoom* live = Slot(g_current);
  return live ? &live->room : nullptr;
}

int Room_LiveIndex() { return g_current; }

void RoomRuntime_SetHooks(const RRoomRuntimeHooks& hooks) {
  if (hooks.adapt_window) g_hooks.adapt_window = hooks.adapt_window;
  if (hooks.draw_entered) g_hooks.draw_entered = hooks.draw_entered;
  if (hooks.clear_effects) g_hooks.clear_effects = hooks.clear_effects;
}

const RLiveRoomTable& RoomRuntime_Table() { return g_live; }

void RoomRuntime_Replace(RLiveRoomTable table, int room) {
  Instance_ClearAll();
  g_live = std::move(table);
  g_current = room;
  Room_SetCurrent(room);
  if (RLiveRoom* live = Slot(room)) {
    RInstanceLists& lists = Instance_Lists();
    lists.active = std::move(live->instances.active);
    lists.deactivated = std::move(live->instances.deactivated);
    live->instances = RInstanceLists();
  }
  Instance_RebuildObjectLists();
  if (g_hooks.adapt_window) g_hooks.adapt_window();
}

void RoomRuntime_Reset() {
  RoomRuntime_FreeAll();
  Instance_LastId() = Game().last_instance_id;
  Tile_LastId() = Game().last_tile_id;
  Cursor_Sprite() = -1;
}

void RoomRuntime_FreeAll() {
  g_live.clear();
  g_carried.clear();
  g_current = -1;
  Instance_ClearAll();
}

void RoomRuntime_Enter(int room, RoomChange how) {
  const bool game_start = how == RoomChange::GameBoundary;
  // The change that led here is done; an abort requested on the way stays.
  int& pending = RunnerForm().pending_transition;
  if (pending != TRANSITION_ABORT) pending = TRANSITION_NONE;
  Input_Clear();
  if (g_hooks.clear_effects) g_hooks.clear_effects();
  if (static_cast<size_t>(room) >= g_live.size()) g_live.resize(static_cast<size_t>(room) + 1);
  g_current = room;
  const bool is_new = Slot(room) == nullptr;
  if (is_new) {
    CreateLiveState(room);
  } else {
    Instance_ClearAll();
    Instance_SwapLists(Slot(room)->instances);
    Instance_RebuildObjectLists();
  }
  if (g_hooks.adapt_window) g_hooks.adapt_window();
  const size_t own_count = Instance_Lists().active.size();
  BringCarriedInstances();
  if (is_new) StartOwnInstances(own_count, room);
  if (game_start) PerformEventAll(ev_other, kOtherGameStart);
  if (is_new) RunRoomCreationCode(room);
  PerformEventAll(ev_other, kOtherRoomStart);
  if (!Runner_TransitionPending() && g_hooks.draw_entered) g_hooks.draw_entered();
}

void RoomRuntime_Leave(int room, RoomChange how) {
  RLiveRoom* live = Slot(g_current);
  if (live == nullptr) return;
  Instance_RemoveMarked();
  TRunnerForm& form = RunnerForm();
  const int pending = form.pending_transition;
  form.pending_transition = TRANSITION_NONE;
  PerformEventAll(ev_other, kOtherRoomEnd);
  if (how == RoomChange::GameBoundary) PerformEventAll(ev_other, kOtherGameEnd);
  if (form.pending_transition != TRANSITION_ABORT) form.pending_transition = pending;
  SetAsideCarried();
  if (live->room.r_persistent) {
    Instance_SwapLists(live->instances);
    Instance_ClearAll();
  } else {
    g_live[static_cast<size_t>(g_current)].reset();
    Instance_ClearAll();
  }
  g_current = -1;
}

void Room_RequestGoto(int room) {
  if (!Game().rooms.Exists(room)) {
    FatalRoomError("Unexisting room number: " + std::to_string(room));
    return;
  }
  RunnerForm().transition_kind = g_GameGlobals.transition_kind;
  Runner_RequestTransition(room);
}

void Room_RequestPrevious() {
  int previous = Game().RoomPrevious(g_current);
  if (previous < 0) {
    FatalRoomError("Moving to previous room before the first room.");
    return;
  }
  Room_RequestGoto(previous);
}

void Room_RequestNext() {
  int next = Game().RoomNext(g_current);
  if (next < 0) {
    FatalRoomError("Moving to next room after the last room.");
    return;
  }
  Room_RequestGoto(next);
}

void Room_RequestRestart() { Room_RequestGoto(g_current); }
void Game_RequestEnd() { Runner_RequestTransition(TRANSITION_END); }
void Game_RequestRestart() { Runner_RequestTransition(TRANSITION_RESTART); }
