// instance_actions.cpp: creating, destroying, changing and copying
// instances with their events.
#include "world/instance_actions.h"

#include <string>

#include "code/code_error.h"
#include "runner/game_data.h"
#include "world/action_engine.h"
#include "world/instance_list.h"

CInstance* Instance_Create(int32_t object, double x, double y) {
  if (!Game().objects.Exists(object)) {
    Error_Show_Action("Creating instance for non-existing object: " + std::to_string(object), false);
    return nullptr;
  }
  CInstance* inst = Instance_AddNew(x, y, object);
  PerformEvent(inst, inst, object, ev_create, 0);
  return inst;
}

void Instance_Destroy(CInstance* inst) {
  if (inst == nullptr) return;
  PerformEventInstance(inst, inst, ev_destroy, 0);
  inst->i_marked = true;
}

void Instance_Change(CInstance* inst, int32_t object, bool perform_events) {
  if (inst == nullptr) return;
  if (!Game().objects.Exists(object)) {
    Error_Show_Action("Asking to change into non-existing object: " + std::to_string(object), false);
    return;
  }
  if (perform_events) PerformEventInstance(inst, inst, ev_destroy, 0);
  CInstance* changed = Instance_AddNew(inst->i_x, inst->i_y, object);
  changed->Assign(*inst);
  changed->SetObjectIndex(object);
  inst->i_marked = true;
  // The per-object lists filed the new record under the new object before
  // Assign; a rebuild is not needed because the object is the same.
  if (perform_events) PerformEventInstance(changed, changed, ev_create, 0);
}

CInstance* Instance_Copy(CInstance* inst, bool perform_event) {
  if (inst == nullptr) return nullptr;
  CInstance* copy = Instance_AddNew(inst->i_x, inst->i_y, inst->i_objectindex);
  const int32_t id = copy->i_id;
  copy->Assign(*inst);
  copy->i_id = id;
  if (perform_event) PerformEventInstance(copy, copy, ev_create, 0);
  return copy;
}

void Instance_SetSpriteChecked(CInstance* inst, int32_t sprite) {
  if (inst == nullptr) return;
  if (!Game().sprites.Exists(sprite)) {
    Error_Show_Action("Setting instance to non-existing sprite: " + std::to_string(sprite), false);
    return;
  }
  inst->SetSpriteIndex(sprite);
}
