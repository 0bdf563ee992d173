// event_dispatch.cpp: building the dispatch lists and the collision pair
// list, and dispatching an event to the instances of the listed objects.
#include "world/event_dispatch.h"

#include <algorithm>
#include <set>

#include "runner/game_data.h"
#include "world/object_table.h"

namespace {

// Numbers with a list, per event type: 0 create, 1 destroy, 8 draw: 0;
// alarm 0..12; step 0..16; keyboard, mouse, other, key press, key
// release 0..128; trigger: one per trigger; collision: the pair list.
int32_t NumberCount(int32_t type) {
  switch (type) {
    case ev_create: case ev_destroy: case ev_draw: return 1;
    case ev_alarm: return 13;
    case ev_step: return 17;
    case ev_collision: return 0;
    case ev_trigger: return Game().triggers.Count();
    default: return 129;
  }
}

std::vector<DispatchList> g_lists[kEventTypeCount];
std::vector<std::pair<int32_t, int32_t>> g_pairs;
const DispatchList g_empty;
bool g_stale = false;

constexpr int kMaxParentDepth = 10000;

// Every (type, number) with actions in the object or an ancestor.
std::set<std::pair<int32_t, int32_t>> EventsOfChain(int32_t object) {
  std::set<std::pair<int32_t, int32_t>> found;
  for (int depth = 0; depth < kMaxParentDepth; ++depth) {
    const CObject* obj = Game().objects.Get(object);
    if (obj == nullptr) break;
    for (int32_t type = 0; type < kEventTypeCount; ++type)
      for (const auto& [number, event] : obj->o_events[static_cast<size_t>(type)])
        if (!event.Empty()) found.emplace(type, number);
    object = obj->o_parent;
  }
  return found;
}

void BuildCollisionPairs() {
  g_pairs.clear();
  const int32_t count = Game().objects.Count();
  for (int32_t a = 0; a < count; ++a) {
    if (!Game().objects.Exists(a) || !Object_HasEventRecursive(a, ev_collision)) continue;
    for (int32_t b = 0; b < count; ++b) {
      if (!Game().objects.Exists(b)) continue;
      if (Event_Lookup(a, ev_collision, b, nullptr) == nullptr) continue;
      g_pairs.emplace_back(std::min(a, b), std::max(a, b));
    }
  }
  std::set<std::pair<int32_t, int32_t>> unique(g_pairs.begin(), g_pairs.end());
  g_pairs.assign(unique.begin(), unique.end());
}

void BuildNow() {
  g_stale = false;
  for (int32_t type = 0; type < kEventTypeCount; ++type) {
    g_lists[type].assign(static_cast<size_t>(NumberCount(type)), DispatchList());
  }
  for (int32_t o = 0; o < Game().objects.Count(); ++o) {
    if (!Game().objects.Exists(o)) continue;
    for (const auto& [type, number] : EventsOfChain(o)) {
      std::vector<DispatchList>& lists = g_lists[type];
      if (number >= 0 && static_cast<size_t>(number) < lists.size())
        lists[static_cast<size_t>(number)].push_back(o);
    }
  }
  BuildCollisionPairs();
}

// The lists are only replaced when no walk can hold them.
void RefreshIfStale() {
  if (g_stale && !Object_Running()) BuildNow();
}

}  // namespace

void Dispatch_Build() {
  if (Object_Running())
    g_stale = true;
  else
    BuildNow();
}

const DispatchList& Dispatch_List(int32_t type, int32_t number) {
  RefreshIfStale();
  if (type < 0 || type >= kEventTypeCount || number < 0) return g_empty;
  const std::vector<DispatchList>& lists = g_lists[type];
  return static_cast<size_t>(number) < lists.size() ? lists[static_cast<size_t>(number)] : g_empty;
}

const std::vector<std::pair<int32_t, int32_t>>& Dispatch_CollisionPairs() {
  RefreshIfStale();
  return g_pairs;
}

void Dispatch_Event(int32_t type, int32_t number) {
  Dispatch_ForEach(type, number,
                   [&](CInstance* inst) { PerformEventInstance(inst, inst, type, number); });
}
