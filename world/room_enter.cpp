// room_enter.cpp: the current room and room changes by index.
#include "world/room_enter.h"

#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "world/room_class.h"

namespace {

RoomHooks g_hooks;
int g_current = -1;

// Speed used while no room is current.
constexpr int kDefaultSpeed = 30;

}  // namespace

void Room_SetHooks(const RoomHooks& hooks) { g_hooks = hooks; }

int Room_Current() { return g_current; }

CRoom* Room_CurrentRecord() {
  if (g_current < 0) return nullptr;
  if (g_hooks.live_record) return g_hooks.live_record();
  return Game().rooms.Get(g_current);
}

bool Room_Enter(int room, RoomChange how) {
  if (!Game().rooms.Exists(room)) {
    Runner_RequestTransition(TRANSITION_ABORT);
    return false;
  }
  g_current = room;
  if (g_hooks.enter) g_hooks.enter(room, how);
  return true;
}

void Room_SetCurrent(int room) { g_current = room; }

void Room_Leave(RoomChange how) {
  if (g_current < 0) return;
  if (g_hooks.leave) g_hooks.leave(g_current, how);
  g_current = -1;
}

bool Room_Goto(int room) {
  if (!Game().rooms.Exists(room)) {
    Runner_RequestTransition(TRANSITION_ABORT);
    return false;
  }
  Room_Leave(RoomChange::Normal);
  // A fatal error in the old room's end events ends the game here.
  if (RunnerForm().pending_transition == TRANSITION_ABORT) return false;
  return Room_Enter(room, RoomChange::Normal);
}

bool Room_EnterFirst() { return Room_Enter(Game().RoomFirst(), RoomChange::GameBoundary); }

int Room_Speed() {
  const CRoom* room = Room_CurrentRecord();
  return room ? room->r_speed : kDefaultSpeed;
}

void Room_SetSpeed(int speed) {
  if (CRoom* room = Room_CurrentRecord()) room->r_speed = speed;
}
