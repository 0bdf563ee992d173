// path_follow.cpp: instances on paths. The instance's position is the path
// point at its path position, relative to the path's first point, turned by
// the orientation, scaled, and placed at the start point
// (i_pathxstart, i_pathystart).
#include "motion/path_follow.h"

#include <cmath>

#include "motion/path_main.h"
#include "world/instance_class.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A usable path: it exists and has a positive length.
const CPath* FollowedPath(int32_t ind) {
  const CPath* path = Path_Get(ind);
  return path != nullptr && path->i_length > 0.0 ? path : nullptr;
}

// The offset of the path point at pos from the path's first point, turned
// by the orientation and scaled, in room pixels.
void PlacedOffset(const CPath& path, const CInstance& inst, double pos, double& ox, double& oy) {
  const double theta = inst.i_pathorientation * kPi / 180.0;
  const double c = std::cos(theta), s = std::sin(theta);
  const double px = path.XPosition(pos) - path.XPosition(0.0);
  const double py = path.YPosition(pos) - path.YPosition(0.0);
  ox = (c * px + s * py) * inst.i_pathscale;
  oy = (c * py - s * px) * inst.i_pathscale;
}

// The end action at the end reached: at_end is the far end (position >= 1),
// otherwise the start (position <= 0, running backwards).
void ApplyEndAction(CInstance& inst, const CPath& path, bool at_end) {
  double& pos = inst.i_pathposition;
  switch (inst.i_pathend) {
    case PATH_END_RESTART:
      pos += at_end ? -1.0 : 1.0;
      break;
    case PATH_END_CONTINUE: {
      double ex, ey;
      PlacedOffset(path, inst, 1.0, ex, ey);
      const double sign = at_end ? 1.0 : -1.0;
      inst.i_pathxstart += sign * ex;
      inst.i_pathystart += sign * ey;
      pos -= sign;
      break;
    }
    case PATH_END_REVERSE:
      pos = at_end ? 2.0 - pos : -pos;
      inst.i_pathspeed = at_end ? -std::fabs(inst.i_pathspeed) : std::fabs(inst.i_pathspeed);
      break;
    default:
      // Stop at the end that was reached (the start when running backwards).
      pos = at_end ? 1.0 : 0.0;
      inst.i_pathindex = -1;
      break;
  }
}

}  // namespace

void Assign_Path(CInstance& inst, int32_t ind, double speed, double scale, double orientation,
                 bool relative, int32_t endaction) {
  inst.i_pathindex = ind;
  if (ind < 0) return;
  const CPath* path = FollowedPath(ind);
  if (path == nullptr || scale < 0.0) {
    inst.i_pathindex = -1;
    return;
  }
  inst.i_pathspeed = speed;
  const double start = speed >= 0.0 ? 0.0 : 1.0;
  inst.i_pathposition = inst.i_pathpositionprevious = start;
  inst.i_pathscale = scale;
  inst.i_pathorientation = orientation;
  inst.i_pathend = endaction;
  if (!relative) {
    double ox, oy;
    PlacedOffset(*path, inst, start, ox, oy);
    inst.SetPosition(path->XPosition(0.0) + ox, path->YPosition(0.0) + oy);
  }
  // The start point is where the path's first point lands, so that the
  // instance stays where it is also when it starts at the far end.
  double ox, oy;
  PlacedOffset(*path, inst, start, ox, oy);
  inst.i_pathxstart = inst.i_x - ox;
  inst.i_pathystart = inst.i_y - oy;
}

bool Adapt_Path(CInstance& inst) {
  if (inst.i_pathindex < 0 || inst.i_pathspeed == 0.0) return false;
  const CPath* path = FollowedPath(inst.i_pathindex);
  // A scale of 0 or less has no length to advance along: the instance stays.
  if (path == nullptr || !(inst.i_pathscale > 0.0)) return false;
  const double sp = path->Speed(inst.i_pathposition);
  inst.i_pathposition += inst.i_pathspeed * (sp / (inst.i_pathscale * 100.0)) / path->i_length;
  bool reached = false;
  if (inst.i_pathposition >= 1.0 || inst.i_pathposition <= 0.0) {
    reached = true;
    ApplyEndAction(inst, *path, inst.i_pathposition >= 1.0);
  }
  double ox, oy;
  PlacedOffset(*path, inst, inst.i_pathposition, ox, oy);
  const double nx = inst.i_pathxstart + ox, ny = inst.i_pathystart + oy;
  inst.SetHspeed(nx - inst.i_x);
  inst.SetVspeed(ny - inst.i_y);
  inst.SetSpeed(0.0);
  inst.SetPosition(nx, ny);
  return reached;
}
