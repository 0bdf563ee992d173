// motion_contact.cpp: move to contact, move outside and bounce. Positions
// stay real-valued: each step is exactly one pixel along the direction.
#include "motion/motion_contact.h"

#include <cmath>

#include "motion/collision.h"
#include "common/value.h"
#include "world/instance_class.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int64_t kDefaultSteps = 1000;
// The advanced bounce looks in steps of 10 degrees, at most 35 each way.
constexpr int kBounceTries = 35;
constexpr double kBounceStep = 10.0;

int64_t StepLimit(double maxdist) {
  int64_t n = 0;
  return maxdist > 0.0 && TryRound(maxdist, n) ? n : kDefaultSteps;
}

double Radians(double degrees) { return degrees * kPi / 180.0; }

void SimpleBounce(CInstance& inst, bool all) {
  const double x = inst.i_x, y = inst.i_y, h = inst.i_hspeed, v = inst.i_vspeed;
  const bool free_h = Motion_IsFree(inst, all, x + h, y);
  const bool free_v = Motion_IsFree(inst, all, x, y + v);
  const bool free_d = Motion_IsFree(inst, all, x + h, y + v);
  if ((!free_h && !free_v) || (free_h && free_v && !free_d)) {
    inst.SetHspeed(-inst.i_hspeed);
    inst.SetVspeed(-inst.i_vspeed);
  } else if (!free_h) {
    inst.SetHspeed(-inst.i_hspeed);
  } else if (!free_v) {
    inst.SetVspeed(-inst.i_vspeed);
  }
}

// The first free direction from m in steps of step degrees (at most 35);
// due is set when a blocked direction was met on the way.
double FreeDirectionFrom(CInstance& inst, bool all, double m, double step, bool& due) {
  double d = m;
  for (int i = 0; i < kBounceTries; ++i) {
    d += step;
    const double c = std::cos(Radians(d)), s = std::sin(Radians(d));
    if (Motion_IsFree(inst, all, inst.i_x + c * inst.i_speed, inst.i_y - s * inst.i_speed)) break;
    due = true;
  }
  return d;
}

// Reflects the motion about the normal of the blocked arc between the first
// free directions on either side; the speed is unchanged.
void AdvancedBounce(CInstance& inst, bool all, bool due) {
  const double m = kBounceStep * static_cast<double>(Round(inst.i_direction / kBounceStep));
  const double o = FreeDirectionFrom(inst, all, m, -kBounceStep, due);
  const double r = FreeDirectionFrom(inst, all, m, kBounceStep, due);
  if (due) inst.SetDirection(o + r + 180.0 - m);
}

}  // namespace

bool Motion_IsFree(CInstance& inst, bool all, double x, double y) {
  return all ? Collision_PlaceEmpty(&inst, x, y) : Collision_PlaceFree(&inst, x, y);
}

void Motion_MoveContact(CInstance& inst, bool all, double dir, double maxdist) {
  const double c = std::cos(Radians(dir)), s = std::sin(Radians(dir));
  if (!Motion_IsFree(inst, all, inst.i_x, inst.i_y)) return;
  const int64_t n = StepLimit(maxdist);
  for (int64_t i = 0; i < n; ++i) {
    const double nx = inst.i_x + c, ny = inst.i_y - s;
    if (!Motion_IsFree(inst, all, nx, ny)) return;
    inst.SetPosition(nx, ny);
  }
}

void Motion_MoveOutside(CInstance& inst, bool all, double dir, double maxdist) {
  const double c = std::cos(Radians(dir)), s = std::sin(Radians(dir));
  const int64_t n = StepLimit(maxdist);
  bool free = Motion_IsFree(inst, all, inst.i_x, inst.i_y);
  for (int64_t i = 0; !free && i < n; ++i) {
    inst.SetPosition(inst.i_x + c, inst.i_y - s);
    free = Motion_IsFree(inst, all, inst.i_x, inst.i_y);
  }
}

void Motion_Bounce(CInstance& inst, bool all, bool advanced) {
  bool due = false;
  if (!Motion_IsFree(inst, all, inst.i_x, inst.i_y)) {
    inst.SetPosition(inst.i_xprevious, inst.i_yprevious);
    due = true;
  }
  if (advanced)
    AdvancedBounce(inst, all, due);
  else
    SimpleBounce(inst, all);
}
