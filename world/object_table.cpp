// object_table.cpp: object table changes that are safe while events and
// dispatch walks run (see object_table.h).
#include "world/object_table.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runner/game_data.h"
#include "world/action_engine.h"
#include "world/event_dispatch.h"
#include "world/instance_list.h"

namespace {

using EventMap = std::map<int32_t, CEvent>;

bool g_recursive_stale = false;
// Extracted map nodes keep their event at its address until released.
std::vector<EventMap::node_type> g_retired_events;
std::vector<std::unique_ptr<CObject>> g_retired_objects;

void ParentsChanged() {
  Dispatch_Build();
  if (Object_Running())
    g_recursive_stale = true;
  else
    Instance_RebuildRecursiveLists();
}

bool ValidEvent(int32_t type, int32_t number) {
  return type >= 0 && type < kEventTypeCount && number >= 0;
}

EventMap& EventsOf(CObject& object, int32_t type) { return object.o_events[static_cast<size_t>(type)]; }

// The event to change in place: while events run, the stored event is
// moved aside (still alive) and a copy takes its place.
CEvent& EditableEvent(CObject& object, int32_t type, int32_t number) {
  EventMap& events = EventsOf(object, type);
  if (Object_Running() && events.count(number) != 0) {
    EventMap::node_type old = events.extract(number);
    CEvent copy = old.mapped();
    g_retired_events.push_back(std::move(old));
    return events.emplace(number, std::move(copy)).first->second;
  }
  return events[number];
}

// A code action holding text, compiled in the context of the event it joins.
bool CompileCodeAction(const VString& text, int32_t object, int32_t type, int32_t number,
                       CAction& out) {
  CEvent event;
  CAction& action = event.e_actions.emplace_back();
  action.act_kind = ACT_CODE;
  action.act_exetype = EXE_CODE;
  action.act_argumentcount = 1;
  action.act_argtype[0] = 1;
  action.act_argstring[0] = text;
  REventContext& context = Event_Context();
  const REventContext saved = context;
  context = REventContext{object, type, number, 0};
  const bool compiled = Event_Compile(event);
  context = saved;
  if (compiled) out = std::move(event.e_actions.front());
  return compiled;
}

// Marks the room's instances of the object (no events) and forgets their
// template.
void RemoveInstancesOf(int32_t object) {
  RInstanceLists& lists = Instance_Lists();
  for (auto* list : {&lists.active, &lists.deactivated}) {
    for (const auto& inst : *list) {
      if (inst->i_objectindex != object) continue;
      inst->i_marked = true;
      inst->i_object = nullptr;
    }
  }
}

}  // namespace

void object_table_detail::LastReturned() {
  g_retired_events.clear();
  g_retired_objects.clear();
  if (g_recursive_stale) {
    g_recursive_stale = false;
    Instance_RebuildRecursiveLists();
  }
}

int32_t Object_Add() {
  ResourceTable<CObject>& table = Game().objects;
  const int32_t index = table.Count();
  return table.Add(std::make_unique<CObject>(), FromUtf8("__newobject" + std::to_string(index)));
}

bool Object_Delete(int32_t index) {
  ResourceTable<CObject>& table = Game().objects;
  if (!table.Exists(index)) return false;
  RemoveInstancesOf(index);
  std::unique_ptr<CObject>& slot = table.items[static_cast<size_t>(index)];
  if (Object_Running()) g_retired_objects.push_back(std::move(slot));
  slot.reset();
  for (const auto& object : table.items)
    if (object && object->o_parent == index) object->o_parent = -1;
  ParentsChanged();
  return true;
}

bool Object_SetParent(int32_t index, int32_t parent) {
  CObject* object = Game().objects.Get(index);
  if (object == nullptr) return false;
  if (!Game().objects.Exists(parent)) parent = -1;
  // A cycle would make the object inherit from itself.
  if (parent == index || Object_IsDecendentOf(parent, index)) return false;
  if (object->o_parent == parent) return true;
  object->o_parent = parent;
  ParentsChanged();
  return true;
}

bool Object_EventAddCode(int32_t index, int32_t type, int32_t number, const VString& code) {
  if (!Game().objects.Exists(index) || !ValidEvent(type, number)) return false;
  CAction action;
  if (!CompileCodeAction(code, index, type, number, action)) return false;
  // Compiling runs no game code, but look the object up again all the same.
  CObject* object = Game().objects.Get(index);
  if (object == nullptr) return false;
  EditableEvent(*object, type, number).e_actions.push_back(std::move(action));
  Dispatch_Build();
  return true;
}

bool Object_EventClear(int32_t index, int32_t type, int32_t number) {
  CObject* object = Game().objects.Get(index);
  if (object == nullptr || !ValidEvent(type, number)) return false;
  EventMap& events = EventsOf(*object, type);
  auto found = events.find(number);
  if (found == events.end()) return false;
  if (Object_Running())
    g_retired_events.push_back(events.extract(found));
  else
    events.erase(found);
  Dispatch_Build();
  return true;
}
