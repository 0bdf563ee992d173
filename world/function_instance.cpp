// function_instance.cpp: the builtin functions that find, count, create,
// copy, change, destroy, deactivate and activate instances. Designators:
// -1 self, -2 other, -3 all, 0..99,999 an object with its descendants,
// above 99,999 an instance id. Marked instances are skipped everywhere.
#include <cmath>

#include "code/code_function.h"
#include "runner/game_data.h"
#include "world/instance_actions.h"
#include "world/instance_list.h"

namespace {

constexpr int32_t kSelf = -1, kOther = -2, kAll = -3, kNoone = -4;

int32_t Arg(const RValue& v) { return ToInt32(v.val); }
void Real(RValue& out, double v) { out = RValue::Real(v); }
double IdOf(const CInstance* inst) { return inst ? inst->i_id : kNoone; }
bool Live(const CInstance* inst) { return inst != nullptr && !inst->i_marked; }

// Calls visit(inst) for each unmarked instance a designator selects, in
// list order, until visit returns false.
template <class Visit>
void ForEachDesignated(int32_t who, CInstance* self, CInstance* other, Visit&& visit) {
  if (who == kSelf || who == kOther) {
    CInstance* inst = who == kSelf ? self : other;
    if (Live(inst)) visit(inst);
    return;
  }
  if (who == kAll) {
    const InstanceOwnerList& active = Instance_Lists().active;
    for (size_t i = 0; i < active.size(); ++i)
      if (Live(active[i].get()) && !visit(active[i].get())) return;
    return;
  }
  if (who > 99999) {
    if (CInstance* inst = Instance_Find(who, true)) visit(inst);
    return;
  }
  const InstanceRefList* list = Instance_ObjectListRecursive(who);
  if (list == nullptr) return;
  for (size_t i = 0; i < list->size(); ++i)
    if (Live((*list)[i]) && !visit((*list)[i])) return;
}

void F_InstanceFind(RValue& result, CInstance* self, CInstance* other, int, RValue* args) {
  const int32_t who = Arg(args[0]);
  const int32_t n = Arg(args[1]);
  CInstance* found = nullptr;
  if (who == kAll || (who >= 0 && who <= 99999)) {
    int32_t seen = 0;
    ForEachDesignated(who, self, other, [&](CInstance* inst) {
      if (seen++ == n) found = inst;
      return found == nullptr;
    });
  } else if (who > 99999 && n == 0) {
    found = Instance_Find(who, true);
  }
  Real(result, IdOf(found));
}

void F_InstanceExists(RValue& result, CInstance* self, CInstance* other, int, RValue* args) {
  bool any = false;
  ForEachDesignated(Arg(args[0]), self, other, [&](CInstance*) { return !(any = true); });
  Real(result, any ? 1 : 0);
}

void F_InstanceNumber(RValue& result, CInstance* self, CInstance* other, int, RValue* args) {
  int count = 0;
  ForEachDesignated(Arg(args[0]), self, other, [&](CInstance*) { return ++count > 0; });
  Real(result, count);
}

// Positions, not boxes; ties keep the first found. An id gives noone.
template <bool Nearest>
void NearestOrFurthest(RValue& result, CInstance* self, CInstance* other, RValue* args) {
  const double x = args[0].val, y = args[1].val;
  const int32_t who = Arg(args[2]);
  CInstance* best = nullptr;
  double bound = Nearest ? 10000000000.0 : -1.0;
  if (who == kAll || (who >= 0 && who <= 99999)) {
    ForEachDesignated(who, self, other, [&](CInstance* inst) {
      const double dx = inst->i_x - x, dy = inst->i_y - y;
      const double d = dx * dx + dy * dy;
      if (Nearest ? d < bound : d > bound) {
        bound = d;
        best = inst;
      }
      return true;
    });
  }
  Real(result, IdOf(best));
}

void F_InstanceNearest(RValue& result, CInstance* self, CInstance* other, int, RValue* args) {
  NearestOrFurthest<true>(result, self, other, args);
}
void F_InstanceFurthest(RValue& result, CInstance* self, CInstance* other, int, RValue* args) {
  NearestOrFurthest<false>(result, self, other, args);
}

// No instance is made for a missing object; the result is then noone.
void F_InstanceCreate(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  Real(result, IdOf(Instance_Create(Arg(args[2]), args[0].val, args[1].val)));
}

void F_InstanceCopy(RValue& result, CInstance* self, CInstance*, int, RValue* args) {
  Real(result, IdOf(Instance_Copy(self, IsTrue(args[0].val))));
}

void F_InstanceChange(RValue&, CInstance* self, CInstance*, int, RValue* args) {
  Instance_Change(self, Arg(args[0]), IsTrue(args[1].val));
}

void F_InstanceDestroy(RValue&, CInstance* self, CInstance*, int, RValue*) { Instance_Destroy(self); }

void F_InstanceSprite(RValue&, CInstance* self, CInstance*, int, RValue* args) {
  Instance_SetSpriteChecked(self, Arg(args[0]));
}

// --- deactivation --------------------------------------------------------------------

// Out of a region: with a shape the box does not overlap it, without one
// the position lies outside it (ends included).
bool IsOutOf(const CInstance* inst, double left, double top, double width, double height) {
  if (!inst->HasShape()) {
    return inst->i_x < left || inst->i_x > left + width || inst->i_y < top || inst->i_y > top + height;
  }
  const TRect& b = inst->i_bbox;
  return b.right < left || b.left > left + width || b.bottom < top || b.top > top + height;
}

void F_DeactivateAll(RValue&, CInstance* self, CInstance*, int, RValue* args) {
  const bool notme = IsTrue(args[0].val);
  for (auto& inst : Instance_Lists().active)
    if (!(notme && inst.get() == self)) inst->i_deactivated = true;
  Instance_UpdateActive();
}

void F_DeactivateObject(RValue&, CInstance* self, CInstance* other, int, RValue* args) {
  const int32_t who = Arg(args[0]);
  if (who == kSelf || who == kOther) {
    if (CInstance* inst = who == kSelf ? self : other) inst->i_deactivated = true;
  } else if (who == kAll || who > 99999) {
    for (auto& inst : Instance_Lists().active)
      if (who == kAll || inst->i_id == who) inst->i_deactivated = true;
  } else if (const InstanceRefList* list = Instance_ObjectListRecursive(who)) {
    for (CInstance* inst : *list) inst->i_deactivated = true;
  }
  Instance_UpdateActive();
}

void F_DeactivateRegion(RValue&, CInstance* self, CInstance*, int, RValue* args) {
  const bool inside = IsTrue(args[4].val), notme = IsTrue(args[5].val);
  for (auto& inst : Instance_Lists().active) {
    if (notme && inst.get() == self) continue;
    if (IsOutOf(inst.get(), args[0].val, args[1].val, args[2].val, args[3].val) != inside)
      inst->i_deactivated = true;
  }
  Instance_UpdateActive();
}

void F_ActivateAll(RValue&, CInstance*, CInstance*, int, RValue*) {
  for (auto& inst : Instance_Lists().deactivated) inst->i_deactivated = false;
  Instance_UpdateActive();
}

void F_ActivateObject(RValue&, CInstance* self, CInstance* other, int, RValue* args) {
  const int32_t who = Arg(args[0]);
  if (who == kSelf || who == kOther) {
    if (CInstance* inst = who == kSelf ? self : other) inst->i_deactivated = false;
  } else {
    for (auto& inst : Instance_Lists().deactivated) {
      const bool chosen = who == kAll || (who > 99999 && inst->i_id == who) ||
                          (who >= 0 && who <= 99999 && Instance_IsOfObject(*inst, who));
      if (chosen) inst->i_deactivated = false;
    }
  }
  Instance_UpdateActive();
}

void F_ActivateRegion(RValue&, CInstance*, CInstance*, int, RValue* args) {
  const bool inside = IsTrue(args[4].val);
  for (auto& inst : Instance_Lists().deactivated)
    if (IsOutOf(inst.get(), args[0].val, args[1].val, args[2].val, args[3].val) != inside)
      inst->i_deactivated = false;
  Instance_UpdateActive();
}

}  // namespace

void World_RegisterInstanceFunctions() {
  Function_Add("instance_find", F_InstanceFind, 2);
  Function_Add("instance_exists", F_InstanceExists, 1);
  Function_Add("instance_number", F_InstanceNumber, 1);
  Function_Add("instance_nearest", F_InstanceNearest, 3);
  Function_Add("instance_furthest", F_InstanceFurthest, 3);
  Function_Add("instance_create", F_InstanceCreate, 3);
  Function_Add("instance_copy", F_InstanceCopy, 1);
  Function_Add("instance_change", F_InstanceChange, 2);
  Function_Add("instance_destroy", F_InstanceDestroy, 0);
  Function_Add("instance_sprite", F_InstanceSprite, 1);
  Function_Add("instance_deactivate_all", F_DeactivateAll, 1);
  Function_Add("instance_deactivate_object", F_DeactivateObject, 1);
  Function_Add("instance_deactivate_region", F_DeactivateRegion, 6);
  Function_Add("instance_activate_all", F_ActivateAll, 0);
  Function_Add("instance_activate_object", F_ActivateObject, 1);
  Function_Add("instance_activate_region", F_ActivateRegion, 5);
}
