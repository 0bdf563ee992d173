// path_class.cpp: CPath: waypoint editing, the straight and smooth
// polylines with their lengths, positions by arc length, the transforms,
// drawing through the renderer's hook, and the stored form.
#include "motion/path_class.h"

#include <algorithm>
#include <cmath>

#include "common/record_io.h"
#include "common/support_stream.h"
#include "common/value.h"

namespace {

constexpr int32_t kPathVersion = 530;
constexpr size_t kPointBytes = 24;  // x, y, speed as reals
constexpr double kPi = 3.14159265358979323846;
// A control leg longer than 4 pixels (squared: 16) is refined further.
constexpr double kLegRefineSquared = 16.0;
// A drawn strip holds at most 501 vertices; the next one starts at its end.
constexpr int kStripVertices = 500;
// One segment per 4 pixels of length, bounded so a huge path cannot stall.
constexpr int64_t kMaxDrawnSegments = 1 << 20;

PathLineStripHook g_line_strip = nullptr;

RIntPoint FromWay(const RWayPoint& p) { return RIntPoint{p.x, p.y, p.speed, 0.0}; }

RIntPoint Mid(const RIntPoint& a, const RIntPoint& b) {
  return RIntPoint{(a.x + b.x) / 2, (a.y + b.y) / 2, (a.speed + b.speed) / 2, 0.0};
}

// The curve point at one half of the quadratic curve A, B, C.
RIntPoint CurveMiddle(const RIntPoint& a, const RIntPoint& b, const RIntPoint& c) {
  return RIntPoint{(a.x + 2 * b.x + c.x) / 4, (a.y + 2 * b.y + c.y) / 4,
                   (a.speed + 2 * b.speed + c.speed) / 4, 0.0};
}

double DistanceSquared(const RIntPoint& a, const RIntPoint& b) {
  return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

}  // namespace

void Path_SetLineStripHook(PathLineStripHook hook) { g_line_strip = hook; }

void CPath::Clear() {
  i_points.clear();
  ComputeInterpolation();
}

void CPath::Assign(const CPath& other) {
  if (&other == this) return;
  i_kind = other.i_kind;
  i_closed = other.i_closed;
  i_precision = other.i_precision;
  i_points = other.i_points;
  ComputeInterpolation();
}

bool CPath::LoadFromStream(CStream& s) {
  *this = CPath();
  if (!ReadVersion(s, kPathVersion)) return false;
  i_kind = s.ReadInteger();
  i_closed = s.ReadBoolean();
  i_precision = s.ReadInteger();
  int32_t n = 0;
  if (!ReadCount(s, n, kPointBytes)) return false;
  i_points.resize(static_cast<size_t>(n));
  for (RWayPoint& p : i_points) {
    p.x = s.ReadReal();
    p.y = s.ReadReal();
    p.speed = s.ReadReal();
  }
  ComputeInterpolation();
  return true;
}

void CPath::SaveToStream(CStream& s) const {
  s.WriteInteger(kPathVersion);
  s.WriteInteger(i_kind);
  s.WriteBoolean(i_closed);
  s.WriteInteger(i_precision);
  s.WriteInteger(Count());
  for (const RWayPoint& p : i_points) {
    s.WriteReal(p.x);
    s.WriteReal(p.y);
    s.WriteReal(p.speed);
  }
}

// --- editing -----------------------------------------------------------------------

int32_t CPath::AddPoint(double x, double y, double speed) {
  i_points.push_back(RWayPoint{x, y, speed});
  ComputeInterpolation();
  return Count() - 1;
}

void CPath::InsertPoint(int32_t index, double x, double y, double speed) {
  if (index < 0 || index > Count()) return;
  i_points.insert(i_points.begin() + index, RWayPoint{x, y, speed});
  ComputeInterpolation();
}

void CPath::ChangePoint(int32_t index, double x, double y, double speed) {
  if (index < 0 || index >= Count()) return;
  i_points[static_cast<size_t>(index)] = RWayPoint{x, y, speed};
  ComputeInterpolation();
}

void CPath::DeletePoint(int32_t index) {
  if (index < 0 || index >= Count()) return;
  i_points.erase(i_points.begin() + index);
  ComputeInterpolation();
}

void CPath::SetKind(int32_t kind) {
  i_kind = kind == 1 ? 1 : 0;
  ComputeInterpolation();
}

void CPath::SetClosed(bool closed) {
  i_closed = closed;
  ComputeInterpolation();
}

void CPath::SetPrecision(int32_t precision) {
  i_precision = std::clamp(precision, 0, kMaxPrecision);
  ComputeInterpolation();
}

// --- polyline ----------------------------------------------------------------------

void CPath::ComputeInterpolation() {
  i_intpoints.clear();
  if (i_kind == 1)
    ComputeSmooth();
  else
    ComputeStraight();
  ComputeLengths();
}

void CPath::ComputeStraight() {
  i_intpoints.reserve(i_points.size() + 1);
  for (const RWayPoint& p : i_points) i_intpoints.push_back(FromWay(p));
  if (i_closed && !i_points.empty()) i_intpoints.push_back(FromWay(i_points.front()));
}

// Each corner becomes points of the quadratic curve between the midpoints of
// its two legs; an open path keeps its two end points exactly.
void CPath::ComputeSmooth() {
  const int n = Count();
  if (n == 0) return;
  const int level = std::clamp(i_precision, 0, kMaxPrecision);
  if (!i_closed) i_intpoints.push_back(FromWay(i_points.front()));
  const int last = i_closed ? n - 1 : n - 3;
  for (int i = 0; i <= last; ++i) {
    const RIntPoint p0 = FromWay(i_points[static_cast<size_t>(i % n)]);
    const RIntPoint p1 = FromWay(i_points[static_cast<size_t>((i + 1) % n)]);
    const RIntPoint p2 = FromWay(i_points[static_cast<size_t>((i + 2) % n)]);
    Subdivide(level, Mid(p0, p1), p1, Mid(p1, p2));
  }
  if (!i_closed) {
    i_intpoints.push_back(FromWay(i_points.back()));
  } else if (!i_intpoints.empty()) {
    // Precision 0 emits no curve point: the polyline stays empty.
    i_intpoints.push_back(i_intpoints.front());
  }
}

void CPath::Subdivide(int level, const RIntPoint& a, const RIntPoint& b, const RIntPoint& c) {
  if (level == 0) return;
  const RIntPoint m = CurveMiddle(a, b, c);
  if (DistanceSquared(a, b) > kLegRefineSquared) Subdivide(level - 1, a, Mid(a, b), m);
  i_intpoints.push_back(m);
  if (DistanceSquared(b, c) > kLegRefineSquared) Subdivide(level - 1, m, Mid(b, c), c);
}

void CPath::ComputeLengths() {
  double total = 0.0;
  for (size_t i = 0; i < i_intpoints.size(); ++i) {
    if (i > 0) total += std::sqrt(DistanceSquared(i_intpoints[i - 1], i_intpoints[i]));
    i_intpoints[i].l = total;
  }
  i_length = i_intpoints.size() < 2 ? 0.0 : total;
}

// --- positions ---------------------------------------------------------------------

void CPath::GetPosition(double pos, double& x, double& y, double& speed) const {
  x = 0.0;
  y = 0.0;
  speed = 100.0;
  if (i_intpoints.empty()) return;
  const RIntPoint* at = &i_intpoints.front();
  if (i_intpoints.size() > 1 && i_length > 0.0 && pos > 0.0) {
    if (pos >= 1.0) {
      at = &i_intpoints.back();
    } else {
      const double d = i_length * pos;
      // The segment i is the last whose start length is <= d (lengths never
      // decrease), and never the closing point itself.
      auto after = std::upper_bound(i_intpoints.begin() + 1, i_intpoints.end(), d,
                                    [](double v, const RIntPoint& p) { return v < p.l; });
      const size_t i = std::min(static_cast<size_t>(after - i_intpoints.begin()) - 1,
                                i_intpoints.size() - 2);
      const RIntPoint& a = i_intpoints[i];
      const RIntPoint& b = i_intpoints[i + 1];
      const double s = b.l - a.l;
      if (s != 0.0) {
        const double t = (d - a.l) / s;
        x = a.x + (b.x - a.x) * t;
        y = a.y + (b.y - a.y) * t;
        speed = a.speed + (b.speed - a.speed) * t;
        return;
      }
      at = &a;
    }
  }
  x = at->x;
  y = at->y;
  speed = at->speed;
}

double CPath::XPosition(double pos) const {
  double x, y, s;
  GetPosition(pos, x, y, s);
  return x;
}

double CPath::YPosition(double pos) const {
  double x, y, s;
  GetPosition(pos, x, y, s);
  return y;
}

double CPath::Speed(double pos) const {
  double x, y, s;
  GetPosition(pos, x, y, s);
  return s;
}

// --- transforms --------------------------------------------------------------------

void CPath::Center(double& cx, double& cy) const {
  double left = 100000000.0, right = -100000000.0, top = 100000000.0, bottom = -100000000.0;
  for (const RWayPoint& p : i_points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  cx = (left + right) / 2;
  cy = (top + bottom) / 2;
}

void CPath::Reverse() {
  std::reverse(i_points.begin(), i_points.end());
  ComputeInterpolation();
}

void CPath::Mirror() {
  double cx, cy;
  Center(cx, cy);
  for (RWayPoint& p : i_points) p.x = 2 * cx - p.x;
  ComputeInterpolation();
}

void CPath::Flip() {
  double cx, cy;
  Center(cx, cy);
  for (RWayPoint& p : i_points) p.y = 2 * cy - p.y;
  ComputeInterpolation();
}

// y points down, so a positive angle turning counter-clockwise on the screen
// maps (1, 0) to (0, -1).
void CPath::Rotate(double angle) {
  double cx, cy;
  Center(cx, cy);
  const double c = std::cos(angle * kPi / 180.0), s = std::sin(angle * kPi / 180.0);
  for (RWayPoint& p : i_points) {
    const double x = p.x - cx, y = p.y - cy;
    p.x = cx + c * x + s * y;
    p.y = cy + c * y - s * x;
  }
  ComputeInterpolation();
}

void CPath::Scale(double xscale, double yscale) {
  double cx, cy;
  Center(cx, cy);
  for (RWayPoint& p : i_points) {
    p.x = cx + (p.x - cx) * xscale;
    p.y = cy + (p.y - cy) * yscale;
  }
  ComputeInterpolation();
}

void CPath::Shift(double dx, double dy) {
  for (RWayPoint& p : i_points) {
    p.x += dx;
    p.y += dy;
  }
  ComputeInterpolation();
}

void CPath::Append(const CPath& other) {
  if (other.i_points.empty()) return;
  // A copy first: appending a path to itself must read the old points.
  const std::vector<RWayPoint> added = other.i_points;
  i_points.insert(i_points.end(), added.begin(), added.end());
  ComputeInterpolation();
}

// --- drawing -----------------------------------------------------------------------

void CPath::Draw(double xoff, double yoff, bool absolute) const {
  if (g_line_strip == nullptr) return;
  int64_t n = 0;
  if (!TryRound(i_length / 4, n) || n <= 0) return;
  n = std::min(n, kMaxDrawnSegments);
  if (!absolute) {
    xoff -= XPosition(0.0);
    yoff -= YPosition(0.0);
  }
  std::vector<double> strip;
  strip.reserve(2 * (kStripVertices + 1));
  for (int64_t i = 0; i <= n; ++i) {
    double x, y, s;
    GetPosition(static_cast<double>(i) / static_cast<double>(n), x, y, s);
    strip.push_back(x + xoff);
    strip.push_back(y + yoff);
    if (i > 0 && i % kStripVertices == 0 && i < n) {
      g_line_strip(strip.data(), static_cast<int>(strip.size() / 2));
      strip.erase(strip.begin(), strip.end() - 2);
    }
  }
  g_line_strip(strip.data(), static_cast<int>(strip.size() / 2));
}
