// world_builtins.cpp: registration of the game world's builtins and hooks.
#include "world/world_builtins.h"

#include "code/builtin_variables.h"
#include "code/code_error_state.h"
#include "code/code_function.h"
#include "world/action_engine.h"
#include "world/input_state.h"
#include "world/room_enter.h"
#include "world/room_runtime.h"
#include "world/run_main.h"
#include "world/run_step.h"
#include "world/save_game.h"

void World_RegisterInstanceFunctions();
void World_RegisterRoomFunctions();
void World_RegisterEventFunctions();
void World_RegisterInputFunctions();
void World_RegisterJoystickFunctions();
void World_RegisterTileFunctions();
void World_RegisterTimeLineFunctions();
void World_RegisterRoomResourceFunctions();
void World_RegisterGameFunctions();
void World_RegisterObjectFunctions();
void World_BindVariables();
void World_BindRoomVariables();
void World_BindCursorSprite();

namespace {
void RaiseOtherEvent(int number) { PerformEventAll(7, number); }
}  // namespace

void World_RegisterBuiltins() {
  if (Function_Find("instance_create") >= 0) return;
  World_RegisterInstanceFunctions();
  World_RegisterRoomFunctions();
  World_RegisterEventFunctions();
  World_RegisterInputFunctions();
  World_RegisterJoystickFunctions();
  World_RegisterTileFunctions();
  World_RegisterTimeLineFunctions();
  World_RegisterRoomResourceFunctions();
  World_RegisterGameFunctions();
  SaveGame_RegisterBuiltins();
  World_RegisterObjectFunctions();
  World_BindVariables();
  World_BindRoomVariables();
  World_BindCursorSprite();
  Code_ErrorPlaceHook = Event_ErrorPlace;
  Variable_OtherEventHook = RaiseOtherEvent;
  Code_ClearInputHook = Input_Clear;
}

void World_InstallHooks() {
  RunHooks run;
  run.step = World_Step;
  run.event = World_HandleWindowEvent;
  Run_SetHooks(run);
  Room_SetHooks(RoomHooks{RoomRuntime_Enter, RoomRuntime_Leave, Room_Live});
}
