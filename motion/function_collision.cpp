// function_collision.cpp: the collision query functions of game code
// (collision_*, place_*, position_*, instance_place, instance_position) and
// the collision hooks of the step loop. The distance functions are entered
// with the motion functions.
#include <string>
#include <vector>

#include "code/code_error.h"
#include "code/code_function.h"
#include "motion/collision.h"
#include "runner/game_data.h"
#include "world/instance_actions.h"
#include "world/instance_class.h"
#include "world/instance_list.h"
#include "world/run_step.h"

namespace {

constexpr int32_t kSelf = -1, kOther = -2;

int32_t Obj(const RValue& v) { return ToInt32(v.val); }
void Bool(RValue& out, bool b) { out = RValue::Real(b ? 1.0 : 0.0); }
void Id(RValue& out, const CInstance* inst) {
  out = RValue::Real(inst != nullptr ? inst->i_id : kCollisionNoone);
}
CInstance* NotMe(const RValue& flag, CInstance* self) { return IsTrue(flag.val) ? self : nullptr; }

// -1 and -2 stand for the ids of the calling and the other instance.
int32_t MapSelfOther(int32_t obj, const CInstance* self, const CInstance* other) {
  if (obj == kSelf) return self != nullptr ? self->i_id : kCollisionNoone;
  if (obj == kOther) return other != nullptr ? other->i_id : kCollisionNoone;
  return obj;
}

void F_CollisionPoint(RValue& r, CInstance* self, CInstance*, int, RValue* a) {
  Id(r, Collision_FindPoint(a[0].val, a[1].val, Obj(a[2]), IsTrue(a[3].val), NotMe(a[4], self)));
}

void F_CollisionRectangle(RValue& r, CInstance* self, CInstance*, int, RValue* a) {
  Id(r, Collision_FindRectangle(a[0].val, a[1].val, a[2].val, a[3].val, Obj(a[4]),
                                IsTrue(a[5].val), NotMe(a[6], self)));
}

void F_CollisionEllipse(RValue& r, CInstance* self, CInstance*, int, RValue* a) {
  Id(r, Collision_FindEllipse(a[0].val, a[1].val, a[2].val, a[3].val, Obj(a[4]),
                              IsTrue(a[5].val), NotMe(a[6], self)));
}

void F_CollisionCircle(RValue& r, CInstance* self, CInstance*, int, RValue* a) {
  const double xc = a[0].val, yc = a[1].val, radius = a[2].val;
  Id(r, Collision_FindEllipse(xc - radius, yc - radius, xc + radius, yc + radius, Obj(a[3]),
                              IsTrue(a[4].val), NotMe(a[5], self)));
}

void F_CollisionLine(RValue& r, CInstance* self, CInstance*, int, RValue* a) {
  Id(r, Collision_FindLine(a[0].val, a[1].val, a[2].val, a[3].val, Obj(a[4]), IsTrue(a[5].val),
                           NotMe(a[6], self)));
}

void F_InstancePosition(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  Id(r, Collision_InstancePosition(a[0].val, a[1].val, Obj(a[2])));
}

void F_InstancePlace(RValue& r, CInstance* self, CInstance*, int, RValue* a) {
  Id(r, self != nullptr ? Collision_InstancePlace(self, a[0].val, a[1].val, Obj(a[2])) : nullptr);
}

void F_PlaceFree(RValue& r, CInstance* self, CInstance*, int, RValue* a) {
  Bool(r, self == nullptr || Collision_PlaceFree(self, a[0].val, a[1].val));
}

void F_PlaceEmpty(RValue& r, CInstance* self, CInstance*, int, RValue* a) {
  Bool(r, self == nullptr || Collision_PlaceEmpty(self, a[0].val, a[1].val));
}

void F_PlaceMeeting(RValue& r, CInstance* self, CInstance* other, int, RValue* a) {
  Bool(r, self != nullptr && Collision_PlaceMeeting(self, other, a[0].val, a[1].val, Obj(a[2])));
}

void F_PositionEmpty(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  Bool(r, Collision_InstancePosition(a[0].val, a[1].val, kCollisionAll) == nullptr);
}

void F_PositionMeeting(RValue& r, CInstance* self, CInstance* other, int, RValue* a) {
  const int32_t obj = MapSelfOther(Obj(a[2]), self, other);
  Bool(r, Collision_InstancePosition(a[0].val, a[1].val, obj) != nullptr);
}

// Walks the active list by index: destroy events may append instances.
template <class Act>
void ForEachAtPosition(double x, double y, Act&& act) {
  const InstanceOwnerList& active = Instance_Lists().active;
  for (size_t i = 0; i < active.size(); ++i) {
    CInstance* inst = active[i].get();
    if (Collision_Point(inst, x, y, true)) act(inst);
  }
}

void F_PositionDestroy(RValue&, CInstance*, CInstance*, int, RValue* a) {
  ForEachAtPosition(a[0].val, a[1].val, [](CInstance* inst) { Instance_Destroy(inst); });
}

void F_PositionChange(RValue&, CInstance*, CInstance*, int, RValue* a) {
  const int32_t obj = Obj(a[2]);
  if (!Game().objects.Exists(obj)) {
    Error_Show_Action("Asking to change into non-existing object: " + std::to_string(obj), false);
    return;
  }
  const bool perform = IsTrue(a[3].val);
  // Changed instances are collected first: a change replaces the record.
  std::vector<CInstance*> covering;
  ForEachAtPosition(a[0].val, a[1].val, [&](CInstance* inst) { covering.push_back(inst); });
  for (CInstance* inst : covering) Instance_Change(inst, obj, perform);
}

bool StepCollisionInstance(CInstance* a, CInstance* b) { return Collision_Instance(a, b, true); }

bool StepCollisionPoint(CInstance* inst, double x, double y) {
  return Collision_Point(inst, x, y, true);
}

}  // namespace

void Collision_RegisterFunctions() {
  Function_Add("collision_point", F_CollisionPoint, 5);
  Function_Add("collision_rectangle", F_CollisionRectangle, 7);
  Function_Add("collision_ellipse", F_CollisionEllipse, 7);
  Function_Add("collision_circle", F_CollisionCircle, 6);
  Function_Add("collision_line", F_CollisionLine, 7);
  Function_Add("instance_position", F_InstancePosition, 3);
  Function_Add("instance_place", F_InstancePlace, 3);
  Function_Add("place_free", F_PlaceFree, 2);
  Function_Add("place_empty", F_PlaceEmpty, 2);
  Function_Add("place_meeting", F_PlaceMeeting, 3);
  Function_Add("position_empty", F_PositionEmpty, 2);
  Function_Add("position_meeting", F_PositionMeeting, 3);
  Function_Add("position_destroy", F_PositionDestroy, 2);
  Function_Add("position_change", F_PositionChange, 4);
}

void Collision_InstallHooks() {
  RWorldStepHooks hooks;
  hooks.collision_instance = StepCollisionInstance;
  hooks.collision_point = StepCollisionPoint;
  World_SetStepHooks(hooks);
}
