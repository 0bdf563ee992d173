// room_runtime.h: the live room states. Entering a room makes a live copy of
// the resource (or reuses the state kept from an earlier visit of a
// persistent room), carries the persistent instances over, runs creation
// codes and the create, game start and room start events in their fixed
// order; leaving runs room end (and game end), sets persistent instances
// aside and frees the live state unless the room is persistent. Also the
// room change requests of game code (recorded as the pending transition).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "world/instance_list.h"
#include "world/room_class.h"
#include "world/room_enter.h"

// The live state of a room: its settings (a copy of the resource) and,
// while it is not current, its instance lists.
struct RLiveRoom {
  CRoom room;
  RInstanceLists instances;
};

// The current room's live settings; null before the first room.
CRoom* Room_Live();
int Room_LiveIndex();

// The live room table, indexed by room (null: no live state). The current
// room's instances are in Instance_Lists(), not in its slot. Saved games
// read it whole and replace it whole.
using RLiveRoomTable = std::vector<std::unique_ptr<RLiveRoom>>;
const RLiveRoomTable& RoomRuntime_Table();
// Replaces the live table and makes room current: the instances kept in
// its slot become the current lists. No event is raised; the window region
// is adapted to the room. room must hold a live state in the new table.
void RoomRuntime_Replace(RLiveRoomTable table, int room);

// Game start: forgets every live state and carried instance, and takes the
// last instance and tile ids from the game data.
void RoomRuntime_Reset();
// Game end: frees every live state and the current instances.
void RoomRuntime_FreeAll();

// The hooks of room_enter.h.
void RoomRuntime_Enter(int room, RoomChange how);
void RoomRuntime_Leave(int room, RoomChange how);

// Room change requests (acted on between steps). A missing room, a
// previous before the first or a next after the last is a fatal error.
void Room_RequestGoto(int room);
void Room_RequestPrevious();
void Room_RequestNext();
void Room_RequestRestart();
void Game_RequestEnd();
void Game_RequestRestart();

// Optional work of other subsystems when a room is entered: adapt the
// window region, draw the room and play the transition.
struct RRoomRuntimeHooks {
  void (*adapt_window)() = nullptr;
  void (*draw_entered)() = nullptr;
  void (*clear_effects)() = nullptr;
};
// Installs hooks; null members keep the ones installed before.
void RoomRuntime_SetHooks(const RRoomRuntimeHooks& hooks);
