// mp_potential.h: the motion-planning steppers: straight-line stepping that
// stops at obstacles and the potential-field stepper that steers around
// them within a turning limit, each moving the instance directly or
// simulated to fill a path.
#pragma once

#include <cstdint>

class CInstance;
class CPath;

// Settings of the potential stepper (process-wide). Values below the lower
// bound (1 for each number) are stored as the bound.
struct RPotentialSettings {
  double maxrot = 30.0;  // largest turn per step, and the turn on the spot
  double rotstep = 10.0;  // angular increment of the search for a free direction
  double ahead = 3.0;     // look-ahead in steps
  bool onspot = true;     // turn on the spot when no direction is free
};
const RPotentialSettings& Mp_PotentialSettings();
void Mp_SetPotentialSettings(double maxrot, double rotstep, double ahead, bool onspot);

// What blocks the planner: obj -3 (all) means the solid instances, or every
// instance with checkall; another obj (object, id, -1 self, -2 other) means
// any instance of obj, solid or not.
struct RPlanner {
  CInstance* self = nullptr;
  CInstance* other = nullptr;
  int32_t obj = -3;
  bool checkall = false;
};
// True when self placed at (x, y) is not blocked.
bool Mp_IsFree(const RPlanner& planner, double x, double y);

// One step of stepsize towards (x, y); true when the goal is reached.
bool Mp_LinearStep(const RPlanner& planner, double x, double y, double stepsize);
bool Mp_PotentialStep(const RPlanner& planner, double x, double y, double stepsize);
// Simulate the steppers from self's position and write the positions into
// path (straight, open); self ends where and as it was. True when the goal
// was reached.
bool Mp_LinearPath(const RPlanner& planner, CPath& path, double xg, double yg, double stepsize);
bool Mp_PotentialPath(const RPlanner& planner, CPath& path, double xg, double yg, double stepsize,
                      double factor);
