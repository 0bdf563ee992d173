// event_dispatch_inline.h: the dispatch walk shared by the step phases.
#pragma once

#include "world/action_engine.h"
#include "world/instance_list.h"
#include "world/object_table.h"

template <class Visit>
void Dispatch_ForEach(int32_t type, int32_t number, Visit&& visit) {
  const DispatchList& objects = Dispatch_List(type, number);
  // Events that change objects meanwhile leave this list and the instance
  // lists alive and in place until the walk ends.
  ObjectRunScope walking;
  for (int32_t object : objects) {
    const InstanceRefList* list = Instance_ObjectList(object);
    if (list == nullptr) continue;
    // Positions that no longer hold an instance (deactivated meanwhile) are
    // skipped; instances added meanwhile are not visited.
    const size_t count = list->size();
    for (size_t i = 0; i < count && i < list->size(); ++i) {
      CInstance* inst = (*list)[i];
      if (inst->i_marked) continue;
      visit(inst);
      if (Event_ChangePending()) return;
    }
  }
}
