// function_motion.cpp: the motion functions of game code (motion_set ...
// move_bounce_all), the registration of every function of the motion
// subsystem (motion, paths, motion planning) and its step hook (paths).
#include <cmath>

#include "code/code_function.h"
#include "motion/collision.h"
#include "motion/motion_contact.h"
#include "motion/mp_functions.h"
#include "motion/path_follow.h"
#include "motion/path_functions.h"
#include "common/random.h"
#include "common/value.h"
#include "world/instance_class.h"
#include "world/room_runtime.h"
#include "world/run_step.h"

namespace {

using Args = RValue*;

constexpr int kRandomPlaceTries = 100;

void Real(RValue& out, double v) { out = RValue::Real(v); }
double RoundEven(double v) { return std::nearbyint(v); }

void F_MotionSet(RValue&, CInstance* self, CInstance*, int, Args a) {
  if (self == nullptr) return;
  self->SetDirection(a[0].val);
  self->SetSpeed(a[1].val);
}

void F_MotionAdd(RValue&, CInstance* self, CInstance*, int, Args a) {
  if (self) self->AddTo_Speed(a[0].val, a[1].val);
}

void F_MoveTowardsPoint(RValue&, CInstance* self, CInstance*, int, Args a) {
  if (self == nullptr) return;
  self->SetHspeed(a[0].val - self->i_x);
  self->SetVspeed(a[1].val - self->i_y);
  self->SetSpeed(a[2].val);
}

// A random value in [low, high) on a grid of snap (when snap > 0); an empty
// range gives low.
double RandomCoordinate(double low, double high, int64_t snap) {
  double v = low;
  if (high - low >= 1.0) v = low + RandomInt(static_cast<uint32_t>(std::min(high - low, 4294967295.0)));
  if (snap > 0) v = static_cast<double>(snap) * std::floor(v / static_cast<double>(snap));
  return v;
}

// Tries up to 100 free places in the room (box kept inside when the
// instance has a shape); x is drawn before y in each try.
void F_MoveRandom(RValue&, CInstance* self, CInstance*, int, Args a) {
  const CRoom* room = Room_Live();
  if (self == nullptr || room == nullptr) return;
  double left = 0, right = room->r_width, top = 0, bottom = room->r_height;
  if (self->HasShape()) {
    left = RoundEven(self->i_x - self->i_bbox.left);
    right = RoundEven(self->i_x + room->r_width - self->i_bbox.right);
    top = RoundEven(self->i_y - self->i_bbox.top);
    bottom = RoundEven(room->r_height + self->i_y - self->i_bbox.bottom);
  }
  int64_t hsnap = 0, vsnap = 0;
  if (!TryRound(a[0].val, hsnap)) hsnap = 0;
  if (!TryRound(a[1].val, vsnap)) vsnap = 0;
  for (int i = 0; i < kRandomPlaceTries; ++i) {
    const double nx = RandomCoordinate(left, right, hsnap);
    const double ny = RandomCoordinate(top, bottom, vsnap);
    if (Collision_PlaceFree(self, nx, ny)) return self->SetPosition(nx, ny);
  }
}

double SnapTo(double v, double snap) { return snap > 0 ? snap * RoundEven(v / snap) : v; }

void F_MoveSnap(RValue&, CInstance* self, CInstance*, int, Args a) {
  if (self) self->SetPosition(SnapTo(self->i_x, a[0].val), SnapTo(self->i_y, a[1].val));
}

void F_PlaceSnapped(RValue& result, CInstance* self, CInstance*, int, Args a) {
  if (self == nullptr) return;
  const bool snapped = std::fabs(self->i_x - SnapTo(self->i_x, a[0].val)) < 0.001 &&
                       std::fabs(self->i_y - SnapTo(self->i_y, a[1].val)) < 0.001;
  Real(result, snapped ? 1 : 0);
}

// Wraps p into [-margin, size + margin] by one room size plus both margins.
double Wrapped(double p, double size, double margin) {
  if (p < -margin) p += size + 2 * margin;
  if (p > size + margin) p -= size + 2 * margin;
  return p;
}

void F_MoveWrap(RValue&, CInstance* self, CInstance*, int, Args a) {
  const CRoom* room = Room_Live();
  if (self == nullptr || room == nullptr) return;
  const double margin = a[2].val;
  if (IsTrue(a[0].val)) self->SetPosition(Wrapped(self->i_x, room->r_width, margin), self->i_y);
  if (IsTrue(a[1].val)) self->SetPosition(self->i_x, Wrapped(self->i_y, room->r_height, margin));
}

void F_MoveContact(RValue&, CInstance* self, CInstance*, int, Args a) {
  if (self == nullptr) return;
  if (Motion_IsFree(*self, false, self->i_x, self->i_y))
    Motion_MoveContact(*self, false, a[0].val, -1);
  else
    Motion_MoveOutside(*self, false, a[0].val, -1);
}

template <bool All>
void F_MoveContactOf(RValue&, CInstance* self, CInstance*, int, Args a) {
  if (self) Motion_MoveContact(*self, All, a[0].val, a[1].val);
}

template <bool All>
void F_MoveOutsideOf(RValue&, CInstance* self, CInstance*, int, Args a) {
  if (self) Motion_MoveOutside(*self, All, a[0].val, a[1].val);
}

template <bool All>
void F_MoveBounce(RValue&, CInstance* self, CInstance*, int, Args a) {
  if (self) Motion_Bounce(*self, All, IsTrue(a[0].val));
}

void F_DistanceToPoint(RValue& result, CInstance* self, CInstance*, int, Args a) {
  if (self) Real(result, Collision_DistanceToPoint(self, a[0].val, a[1].val));
}

void F_DistanceToObject(RValue& result, CInstance* self, CInstance* other, int, Args a) {
  if (self) Real(result, Collision_DistanceToObject(self, other, ToInt32(a[0].val)));
}

struct RMotionFunction {
  const char* name;
  BuiltinFunction routine;
  int argc;
};

const RMotionFunction kFunctions[] = {
    {"motion_set", F_MotionSet, 2},
    {"motion_add", F_MotionAdd, 2},
    {"move_towards_point", F_MoveTowardsPoint, 3},
    {"move_random", F_MoveRandom, 2},
    {"move_snap", F_MoveSnap, 2},
    {"place_snapped", F_PlaceSnapped, 2},
    {"move_wrap", F_MoveWrap, 3},
    {"move_contact", F_MoveContact, 1},
    {"move_contact_solid", F_MoveContactOf<false>, 2},
    {"move_contact_all", F_MoveContactOf<true>, 2},
    {"move_outside_solid", F_MoveOutsideOf<false>, 2},
    {"move_outside_all", F_MoveOutsideOf<true>, 2},
    {"move_bounce", F_MoveBounce<false>, 1},
    {"move_bounce_solid", F_MoveBounce<false>, 1},
    {"move_bounce_all", F_MoveBounce<true>, 1},
    // Also collision queries: entered here only when the collision
    // functions have not entered them already.
    {"distance_to_point", F_DistanceToPoint, 2},
    {"distance_to_object", F_DistanceToObject, 1},
};

bool AdaptPathHook(CInstance* inst) { return inst != nullptr && Adapt_Path(*inst); }

}  // namespace

void Motion_RegisterFunctions() {
  for (const RMotionFunction& f : kFunctions)
    if (Function_Find(f.name) < 0) Function_Add(f.name, f.routine, f.argc);
  Path_RegisterFunctions();
  Path_BindVariables();
  Mp_RegisterFunctions();
}

void Motion_InstallHooks() {
  RWorldStepHooks hooks;
  hooks.adapt_path = AdaptPathHook;
  World_SetStepHooks(hooks);
}
