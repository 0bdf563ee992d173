// instance_list.h: the instance lists of the current room: the active list
// (creation order, re-sorted by depth when the room is drawn), the
// deactivated list, and the per-object lists, direct (exactly that object)
// and recursive (that object or a descendant), which every operation on all
// instances of an object walks. Also the process-wide last instance id and
// the room operations on instances: AddInstance, RemoveMarked,
// UpdateActive, SortInstances. Each per-object list lives in its own
// allocation, so adding objects (which grows the tables) never moves a list
// that a walk over instances holds.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "world/instance_class.h"

using InstanceOwnerList = std::vector<std::unique_ptr<CInstance>>;
using InstanceRefList = std::vector<CInstance*>;
// Indexed by object; a null entry is an object without a list yet.
using InstanceListTable = std::vector<std::unique_ptr<InstanceRefList>>;

struct RInstanceLists {
  InstanceOwnerList active;       // r_instance
  InstanceOwnerList deactivated;  // r_instance_deact
  InstanceListTable per_object;            // r_obj_instance
  InstanceListTable per_object_recursive;  // r_obj_instance_recursive
};

// The lists of the current room.
RInstanceLists& Instance_Lists();
// Exchanges the current room's lists with a stored set (entering and
// leaving persistent rooms).
void Instance_SwapLists(RInstanceLists& stored);

// The highest id handed out; a game-made instance gets this + 1.
int32_t& Instance_LastId();

// AddInstance: a new instance of the object at (x, y) with a new id,
// appended to the active and per-object lists; raises no event.
CInstance* Instance_AddNew(double x, double y, int32_t object);
// The same with a given id (instances placed in the room editor).
CInstance* Instance_AddWithId(double x, double y, int32_t id, int32_t object);
// Appends an already built instance to the active and per-object lists.
CInstance* Instance_Append(std::unique_ptr<CInstance> inst);

// Rebuilds both per-object tables from the active list (lists are emptied
// and refilled in place, never freed).
void Instance_RebuildObjectLists();
// Rebuilds only the recursive table (after a parent changed); the direct
// lists keep their order.
void Instance_RebuildRecursiveLists();
// After a change to a sprite's images, offset or mask: every instance in
// the room (active or deactivated) that uses it as sprite or mask gets a
// fresh bounding box.
void Instance_SpriteChanged(int32_t sprite);
// Frees every marked active instance, keeping the order of the rest.
void Instance_RemoveMarked();
// Moves instances between the active and deactivated lists by their
// deactivated flags (reactivated ones first, to the end of the active list).
void Instance_UpdateActive();
// Stable sort of the active list by non-increasing depth (only when it is
// not already ordered).
void Instance_SortByDepth();

// The direct / recursive per-object list; null for an object without one.
const InstanceRefList* Instance_ObjectList(int32_t object);
const InstanceRefList* Instance_ObjectListRecursive(int32_t object);
// Obj_Number / Obj_Instance and their recursive forms (0 / null out of range).
int Instance_ObjNumber(int32_t object);
CInstance* Instance_ObjInstance(int32_t object, int position);
int Instance_ObjNumberRecursive(int32_t object);
CInstance* Instance_ObjInstanceRecursive(int32_t object, int position);
