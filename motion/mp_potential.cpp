// mp_potential.cpp: the linear and potential steppers and the paths they
// simulate. A simulated path restores the instance's position and then its
// direction, whatever the outcome.
#include "motion/mp_potential.h"

#include <algorithm>
#include <cmath>

#include "motion/collision.h"
#include "motion/path_class.h"
#include "world/instance_class.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// A simulated path gives up after this many steps (a tiny step size over a
// long way would otherwise run for hours).
constexpr int64_t kMaxPathSteps = 1000000;

RPotentialSettings g_settings;

// The direction of the vector (dx, dy) (y down), in [0, 360), unsnapped.
double DirectionOf(double dx, double dy) {
  if (dx != 0.0) {
    const double d = std::atan2(dy, dx) * 180.0 / kPi;
    return d > 0 ? 360.0 - d : -d;
  }
  return dy > 0 ? 270.0 : (dy < 0 ? 90.0 : 0.0);
}

double Reduced(double degrees) { return degrees - std::floor(degrees / 360.0) * 360.0; }

// The smaller angle between two directions, 0..180.
double TurnBetween(double a, double b) {
  double diff = std::fabs(Reduced(a) - Reduced(b));
  return diff > 180.0 ? 360.0 - diff : diff;
}

// Moves self to (x, y) facing that way when the place is free.
void MoveIfFree(const RPlanner& p, double x, double y) {
  if (!Mp_IsFree(p, x, y)) return;
  p.self->SetDirection(DirectionOf(x - p.self->i_x, y - p.self->i_y));
  p.self->SetPosition(x, y);
}

// One try of the potential step in direction a.
bool TryDirection(const RPlanner& p, double a, double stepsize) {
  const RPotentialSettings& s = g_settings;
  if (TurnBetween(a, p.self->i_direction) > s.maxrot) return false;
  const double c = std::cos(a * kPi / 180.0), sn = std::sin(a * kPi / 180.0);
  const double x = p.self->i_x, y = p.self->i_y;
  if (!Mp_IsFree(p, x + c * stepsize * s.ahead, y - sn * stepsize * s.ahead)) return false;
  if (!Mp_IsFree(p, x + c * stepsize, y - sn * stepsize)) return false;
  p.self->SetDirection(a);
  p.self->SetPosition(x + c * stepsize, y - sn * stepsize);
  return true;
}

// Keeps the instance's position and direction and gives them back.
class SavedPlace {
 public:
  explicit SavedPlace(CInstance& inst) : inst_(inst), x_(inst.i_x), y_(inst.i_y), dir_(inst.i_direction) {}
  ~SavedPlace() {
    inst_.SetPosition(x_, y_);
    inst_.SetDirection(dir_);
  }
  SavedPlace(const SavedPlace&) = delete;
  SavedPlace& operator=(const SavedPlace&) = delete;

 private:
  CInstance& inst_;
  double x_, y_, dir_;
};

// Collects the visited positions with their running length.
class PathWriter {
 public:
  explicit PathWriter(CPath& path) : path_(path) {
    path_.i_points.clear();
    path_.i_kind = 0;
    path_.i_closed = false;
  }
  ~PathWriter() { path_.ComputeInterpolation(); }
  PathWriter(const PathWriter&) = delete;
  PathWriter& operator=(const PathWriter&) = delete;

  void Add(double x, double y) {
    if (!path_.i_points.empty()) {
      const RWayPoint& last = path_.i_points.back();
      length_ += std::hypot(x - last.x, y - last.y);
    }
    path_.i_points.push_back(RWayPoint{x, y, 100.0});
  }
  double Length() const { return length_; }

 private:
  CPath& path_;
  double length_ = 0.0;
};

}  // namespace

const RPotentialSettings& Mp_PotentialSettings() { return g_settings; }

void Mp_SetPotentialSettings(double maxrot, double rotstep, double ahead, bool onspot) {
  g_settings.maxrot = std::max(maxrot, 1.0);
  g_settings.rotstep = std::max(rotstep, 1.0);
  g_settings.ahead = std::max(ahead, 1.0);
  g_settings.onspot = onspot;
}

bool Mp_IsFree(const RPlanner& p, double x, double y) {
  if (p.obj == kCollisionAll)
    return p.checkall ? Collision_PlaceEmpty(p.self, x, y) : Collision_PlaceFree(p.self, x, y);
  return !Collision_PlaceMeeting(p.self, p.other, x, y, p.obj);
}

bool Mp_LinearStep(const RPlanner& p, double x, double y, double stepsize) {
  CInstance& self = *p.self;
  if (self.i_x == x && self.i_y == y) return true;
  const double dx = x - self.i_x, dy = y - self.i_y;
  const double d = std::hypot(dx, dy);
  if (d > stepsize) {
    MoveIfFree(p, self.i_x + dx * stepsize / d, self.i_y + dy * stepsize / d);
    return false;
  }
  MoveIfFree(p, x, y);
  return true;
}

bool Mp_PotentialStep(const RPlanner& p, double x, double y, double stepsize) {
  CInstance& self = *p.self;
  if (self.i_x == x && self.i_y == y) return true;
  const double dx = x - self.i_x, dy = y - self.i_y;
  if (std::hypot(dx, dy) <= stepsize) {
    MoveIfFree(p, x, y);
    return true;
  }
  const double goal = DirectionOf(dx, dy);
  for (double d = 0.0; d < 180.0; d += g_settings.rotstep) {
    if (TryDirection(p, goal - d, stepsize)) return false;
    if (d > 0.0 && TryDirection(p, goal + d, stepsize)) return false;
  }
  if (g_settings.onspot) self.SetDirection(self.i_direction + g_settings.maxrot);
  return false;
}

bool Mp_LinearPath(const RPlanner& p, CPath& path, double xg, double yg, double stepsize) {
  if (!(stepsize > 0.0)) return false;
  CInstance& self = *p.self;
  SavedPlace saved(self);
  PathWriter writer(path);
  for (int64_t step = 0; step < kMaxPathSteps; ++step) {
    writer.Add(self.i_x, self.i_y);
    const double x = self.i_x, y = self.i_y;
    if (Mp_LinearStep(p, xg, yg, stepsize)) {
      writer.Add(xg, yg);
      return true;
    }
    if (self.i_x == x && self.i_y == y) return false;
  }
  return false;
}

// Ends with the goal, when the path grows longer than factor times the
// straight distance, when the instance is stuck (it does not move and, with
// turning on the spot, has turned through a full circle without moving), or
// after the step limit.
bool Mp_PotentialPath(const RPlanner& p, CPath& path, double xg, double yg, double stepsize,
                      double factor) {
  if (factor < 1.0 || !(stepsize > 0.0)) return false;
  CInstance& self = *p.self;
  const double bound = factor * std::hypot(xg - self.i_x, yg - self.i_y);
  const int64_t turns_allowed = g_settings.onspot ? static_cast<int64_t>(std::ceil(360.0 / g_settings.maxrot)) : 0;
  SavedPlace saved(self);
  PathWriter writer(path);
  writer.Add(self.i_x, self.i_y);
  int64_t still = 0;
  for (int64_t step = 0; step < kMaxPathSteps; ++step) {
    const double x = self.i_x, y = self.i_y;
    if (Mp_PotentialStep(p, xg, yg, stepsize)) {
      writer.Add(xg, yg);
      return true;
    }
    writer.Add(self.i_x, self.i_y);
    if (writer.Length() > bound) return false;
    still = self.i_x == x && self.i_y == y ? still + 1 : 0;
    if (still > turns_allowed) return false;
  }
  return false;
}
