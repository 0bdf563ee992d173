// instance_list.cpp: the current room's instance lists, the last instance
// id, and the list operations (add, remove marked, activate/deactivate,
// depth sort, per-object lists).
#include "world/instance_list.h"

#include <algorithm>

#include "runner/game_data.h"

namespace {

RInstanceLists g_lists;
int32_t g_last_id = kFirstInstanceId;

// Parent chains are bounded so a cycle in bad data cannot hang.
constexpr int kMaxParentDepth = 10000;

InstanceRefList& SlotOf(InstanceListTable& table, int32_t object) {
  if (static_cast<size_t>(object) >= table.size()) table.resize(static_cast<size_t>(object) + 1);
  std::unique_ptr<InstanceRefList>& slot = table[static_cast<size_t>(object)];
  if (!slot) slot = std::make_unique<InstanceRefList>();
  return *slot;
}

// Appends to the recursive list of the object and each existing ancestor.
void AddToRecursiveLists(RInstanceLists& lists, CInstance* inst) {
  int32_t object = inst->i_objectindex;
  for (int depth = 0; depth < kMaxParentDepth && Game().objects.Exists(object); ++depth) {
    SlotOf(lists.per_object_recursive, object).push_back(inst);
    object = Game().objects.Get(object)->o_parent;
  }
}

// Appends to the direct list of its object and to the recursive lists.
void AddToObjectLists(RInstanceLists& lists, CInstance* inst) {
  int32_t object = inst->i_objectindex;
  if (!Game().objects.Exists(object)) return;
  SlotOf(lists.per_object, object).push_back(inst);
  AddToRecursiveLists(lists, inst);
}

const InstanceRefList* ListIn(const InstanceListTable& table, int32_t object) {
  if (object < 0 || static_cast<size_t>(object) >= table.size()) return nullptr;
  return table[static_cast<size_t>(object)].get();
}

// Empties every list of the table in place and gives it a slot per object
// (it never shrinks: a walk may hold any of its lists).
void ResetTable(InstanceListTable& table) {
  const size_t objects = static_cast<size_t>(Game().objects.Count());
  if (table.size() < objects) table.resize(objects);
  for (auto& list : table)
    if (list) list->clear();
}

void UpdateBoxesOf(InstanceOwnerList& list, int32_t sprite) {
  for (const auto& inst : list)
    if (inst->i_spriteindex == sprite || inst->i_maskindex == sprite) inst->UpdateBoundingBox();
}

// Moves the entries whose deactivated flag equals `flag` from `from` to
// the end of `to`, keeping both orders; the count moved.
size_t MoveByFlag(InstanceOwnerList& from, InstanceOwnerList& to, bool flag) {
  size_t moved = 0;
  size_t kept = 0;
  for (size_t i = 0; i < from.size(); ++i) {
    if (from[i]->i_deactivated == flag) {
      to.push_back(std::move(from[i]));
      ++moved;
    } else {
      if (kept != i) from[kept] = std::move(from[i]);
      ++kept;
    }
  }
  from.resize(kept);
  return moved;
}

}  // namespace

RInstanceLists& Instance_Lists() { return g_lists; }

void Instance_SwapLists(RInstanceLists& stored) { std::swap(g_lists, stored); }

int32_t& Instance_LastId() { return g_last_id; }

CInstance* Instance_Append(std::unique_ptr<CInstance> inst) {
  CInstance* raw = inst.get();
  g_lists.active.push_back(std::move(inst));
  AddToObjectLists(g_lists, raw);
  return raw;
}

CInstance* Instance_AddWithId(double x, double y, int32_t id, int32_t object) {
  auto inst = std::make_unique<CInstance>();
  inst->Create(x, y, id, object);
  return Instance_Append(std::move(inst));
}

CInstance* Instance_AddNew(double x, double y, int32_t object) {
  return Instance_AddWithId(x, y, ++g_last_id, object);
}

void Instance_RebuildObjectLists() {
  ResetTable(g_lists.per_object);
  ResetTable(g_lists.per_object_recursive);
  for (const auto& inst : g_lists.active) AddToObjectLists(g_lists, inst.get());
}

void Instance_RebuildRecursiveLists() {
  ResetTable(g_lists.per_object_recursive);
  for (const auto& inst : g_lists.active)
    if (Game().objects.Exists(inst->i_objectindex)) AddToRecursiveLists(g_lists, inst.get());
}

void Instance_SpriteChanged(int32_t sprite) {
  if (sprite < 0) return;
  UpdateBoxesOf(g_lists.active, sprite);
  UpdateBoxesOf(g_lists.deactivated, sprite);
}

void Instance_RemoveMarked() {
  InstanceOwnerList& active = g_lists.active;
  auto kept = std::remove_if(active.begin(), active.end(),
                             [](const std::unique_ptr<CInstance>& inst) { return inst->i_marked; });
  if (kept == active.end()) return;
  active.erase(kept, active.end());
  Instance_RebuildObjectLists();
}

void Instance_UpdateActive() {
  bool leaving = std::any_of(g_lists.active.begin(), g_lists.active.end(),
                             [](const auto& inst) { return inst->i_deactivated; });
  bool returning = std::any_of(g_lists.deactivated.begin(), g_lists.deactivated.end(),
                               [](const auto& inst) { return !inst->i_deactivated; });
  if (!leaving && !returning) return;
  if (returning) MoveByFlag(g_lists.deactivated, g_lists.active, false);
  if (leaving) MoveByFlag(g_lists.active, g_lists.deactivated, true);
  Instance_RebuildObjectLists();
}

void Instance_SortByDepth() {
  InstanceOwnerList& active = g_lists.active;
  auto deeper_first = [](const std::unique_ptr<CInstance>& a, const std::unique_ptr<CInstance>& b) {
    return a->i_depth > b->i_depth;
  };
  if (std::is_sorted(active.begin(), active.end(), deeper_first)) return;
  // Stable insertion sort: cheap for the nearly sorted lists of a game.
  for (size_t i = 1; i < active.size(); ++i) {
    std::unique_ptr<CInstance> moving = std::move(active[i]);
    size_t j = i;
    while (j > 0 && active[j - 1]->i_depth < moving->i_depth) {
      active[j] = std::move(active[j - 1]);
      --j;
    }
    active[j] = std::move(moving);
  }
}

const InstanceRefList* Instance_ObjectList(int32_t object) {
  return ListIn(g_lists.per_object, object);
}

const InstanceRefList* Instance_ObjectListRecursive(int32_t object) {
  return ListIn(g_lists.per_object_recursive, object);
}

int Instance_ObjNumber(int32_t object) {
  const InstanceRefList* list = Instance_ObjectList(object);
  return list ? static_cast<int>(list->size()) : 0;
}

CInstance* Instance_ObjInstance(int32_t object, int position) {
  const InstanceRefList* list = Instance_ObjectList(object);
  if (list == nullptr || position < 0 || static_cast<size_t>(position) >= list->size()) return nullptr;
  return (*list)[static_cast<size_t>(position)];
}

int Instance_ObjNumberRecursive(int32_t object) {
  const InstanceRefList* list = Instance_ObjectListRecursive(object);
  return list ? static_cast<int>(list->size()) : 0;
}

CInstance* Instance_ObjInstanceRecursive(int32_t object, int position) {
  const InstanceRefList* list = Instance_ObjectListRecursive(object);
  if (list == nullptr || position < 0 || static_cast<size_t>(position) >= list->size()) return nullptr;
  return (*list)[static_cast<size_t>(position)];
}
