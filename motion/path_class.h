// path_class.h: CPath, a path resource (waypoints, kind, closedness,
// precision), with its stored form.
#pragma once

#include <cstdint>
#include <vector>

class CStream;

struct RWayPoint {
  double x = 0.0;
  double y = 0.0;
  double speed = 100.0;  // percent of the instance's path speed
};

inline bool operator==(const RWayPoint& a, const RWayPoint& b) {
  return a.x == b.x && a.y == b.y && a.speed == b.speed;
}

class CPath {
 public:
  // The waypoint count i_count is i_points.size().
  std::vector<RWayPoint> i_points;
  int32_t i_kind = 0;  // 0 straight, 1 smooth
  bool i_closed = true;
  int32_t i_precision = 4;

  int32_t Count() const { return static_cast<int32_t>(i_points.size()); }

  void Clear();
  // Record version 530: kind, closed, precision, count and the points.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
