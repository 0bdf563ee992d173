// path_class.h: CPath, a path resource: the waypoints as entered (kind,
// closedness, precision) and the interpolated polyline with cumulative
// lengths from which every position along the path is read by arc length.
// Also the transforms, the stored form and the drawing hook the renderer
// may set (a path never draws by itself).
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

// A point of the polyline with l, the length from the first point to it.
struct RIntPoint {
  double x = 0.0;
  double y = 0.0;
  double speed = 100.0;
  double l = 0.0;
};

// Draws one line strip (xy holds count pairs) in the current drawing colour
// and alpha. Set by the renderer; null: paths draw nothing.
using PathLineStripHook = void (*)(const double* xy, int count);
void Path_SetLineStripHook(PathLineStripHook hook);

class CPath {
 public:
  static constexpr int kMaxPrecision = 8;

  // The waypoint count i_count is i_points.size(). Code that writes the
  // fields directly calls ComputeInterpolation afterwards; every method
  // below keeps the polyline current by itself.
  std::vector<RWayPoint> i_points;
  int32_t i_kind = 0;  // 0 straight, 1 smooth
  bool i_closed = true;
  int32_t i_precision = 4;
  std::vector<RIntPoint> i_intpoints;  // i_intcount is its size
  double i_length = 0.0;

  int32_t Count() const { return static_cast<int32_t>(i_points.size()); }
  int32_t IntCount() const { return static_cast<int32_t>(i_intpoints.size()); }

  // Removes the points and the polyline; kind, closed and precision stay.
  void Clear();
  // Copies kind, closed, precision and points.
  void Assign(const CPath& other);
  // Record version 530: kind, closed, precision, count and the points.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;

  int32_t AddPoint(double x, double y, double speed);
  // 0 <= index <= count (count appends); other indices are ignored.
  void InsertPoint(int32_t index, double x, double y, double speed);
  // Ignored outside 0..count - 1.
  void ChangePoint(int32_t index, double x, double y, double speed);
  void DeletePoint(int32_t index);

  void SetKind(int32_t kind);  // other than 0 or 1 stores 0
  void SetClosed(bool closed);
  void SetPrecision(int32_t precision);  // clamped to 0..8

  // The point and speed at relative position pos (0 start, 1 end; clamped).
  void GetPosition(double pos, double& x, double& y, double& speed) const;
  double XPosition(double pos) const;
  double YPosition(double pos) const;
  double Speed(double pos) const;

  // Centre of the waypoints' bounding box; (0, 0) for an empty path.
  void Center(double& cx, double& cy) const;
  void Reverse();
  void Mirror();  // horizontally about the centre
  void Flip();    // vertically about the centre
  // Counter-clockwise on the screen by angle degrees about the centre.
  void Rotate(double angle);
  void Scale(double xscale, double yscale);  // about the centre
  void Shift(double dx, double dy);
  // Appends the waypoints of another path (its settings are ignored).
  void Append(const CPath& other);

  // Draws the polyline through the line strip hook: with absolute false the
  // path's position 0 lands on (xoff, yoff), else (xoff, yoff) is added.
  void Draw(double xoff, double yoff, bool absolute) const;

  // Rebuilds the polyline and the length from the waypoints.
  void ComputeInterpolation();

 private:
  void ComputeStraight();
  void ComputeSmooth();
  void Subdivide(int level, const RIntPoint& a, const RIntPoint& b, const RIntPoint& c);
  void ComputeLengths();
};
