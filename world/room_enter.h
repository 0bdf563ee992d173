// room_enter.h: which room is current, and entering and leaving rooms by
// index. The room's own work on entering and leaving (instances, events,
// persistent rooms) is done through hooks the game world installs; this
// unit keeps the current room and guards against rooms that do not exist.
#pragma once

class CRoom;

// How a room is entered or left: a plain room change, or as part of game
// start / game end (which raise the game-start / game-end events).
enum class RoomChange { Normal, GameBoundary };

struct RoomHooks {
  void (*enter)(int room, RoomChange how) = nullptr;
  void (*leave)(int room, RoomChange how) = nullptr;
  // The live state of the current room when the game world keeps one
  // (default: the room's resource record).
  CRoom* (*live_record)() = nullptr;
};

// Installs the game world's enter and leave work (default: none).
void Room_SetHooks(const RoomHooks& hooks);

// The current room's index, -1 before the first room.
int Room_Current();
// The current room's record (its live state when the game world keeps
// one); null before the first room.
CRoom* Room_CurrentRecord();

// Enters the room with that index. A room that does not exist requests the
// abort transition (-400) and leaves the current room unchanged; false then.
bool Room_Enter(int room, RoomChange how);
// Makes room the current one without entering it: no hook runs and no
// event is raised (loading a saved game, whose live state is already built).
void Room_SetCurrent(int room);
// Leaves the current room (nothing when there is none).
void Room_Leave(RoomChange how);
// Leaves the current room and enters another (a room-index transition).
bool Room_Goto(int room);
// Enters the first room of the room order as a game start.
bool Room_EnterFirst();

// The current room's speed in steps per second (30 before the first room).
int Room_Speed();
void Room_SetSpeed(int speed);
