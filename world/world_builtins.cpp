// world_builtins.cpp: registration of the game world's builtins and hooks.
#include "world/world_builtins.h"

#include "code/builtin_variables.h"
#include "code/code_error_state.h"
#include "code/code_function.h"
#include "world/action_engine.h"

void World_RegisterInstanceFunctions();
void World_RegisterRoomFunctions();
void World_RegisterEventFunctions();
void World_BindVariables();

namespace {
void RaiseOtherEvent(int number) { PerformEventAll(7, number); }
}  // namespace

void World_RegisterBuiltins() {
  if (Function_Find("instance_create") >= 0) return;
  World_RegisterInstanceFunctions();
  World_RegisterRoomFunctions();
  World_RegisterEventFunctions();
  World_BindVariables();
  Code_ErrorPlaceHook = Event_ErrorPlace;
  Variable_OtherEventHook = RaiseOtherEvent;
}
