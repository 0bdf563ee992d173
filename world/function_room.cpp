// function_room.cpp: the builtin functions that move between rooms and end
// or restart the game. They only record the pending transition, which the
// run loop carries out after the step.
#include "code/code_function.h"
#include "runner/game_data.h"
#include "world/room_runtime.h"

namespace {

int32_t Arg(const RValue& v) { return ToInt32(v.val); }

void F_RoomGoto(RValue&, CInstance*, CInstance*, int, RValue* args) { Room_RequestGoto(Arg(args[0])); }
void F_RoomGotoPrevious(RValue&, CInstance*, CInstance*, int, RValue*) { Room_RequestPrevious(); }
void F_RoomGotoNext(RValue&, CInstance*, CInstance*, int, RValue*) { Room_RequestNext(); }
void F_RoomRestart(RValue&, CInstance*, CInstance*, int, RValue*) { Room_RequestRestart(); }
void F_GameEnd(RValue&, CInstance*, CInstance*, int, RValue*) { Game_RequestEnd(); }
void F_GameRestart(RValue&, CInstance*, CInstance*, int, RValue*) { Game_RequestRestart(); }

// -1 when the room is missing or has no neighbour on that side.
void F_RoomPrevious(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(Game().RoomPrevious(Arg(args[0])));
}
void F_RoomNext(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(Game().RoomNext(Arg(args[0])));
}

}  // namespace

void World_RegisterRoomFunctions() {
  Function_Add("room_goto", F_RoomGoto, 1);
  Function_Add("room_goto_previous", F_RoomGotoPrevious, 0);
  Function_Add("room_goto_next", F_RoomGotoNext, 0);
  Function_Add("room_restart", F_RoomRestart, 0);
  Function_Add("room_previous", F_RoomPrevious, 1);
  Function_Add("room_next", F_RoomNext, 1);
  Function_Add("game_end", F_GameEnd, 0);
  Function_Add("game_restart", F_GameRestart, 0);
}
