// path_class.cpp: CPath defaults and stored form.
#include "motion/path_class.h"

#include "runner/record_io.h"
#include "runner/support_stream.h"

namespace {
constexpr int32_t kPathVersion = 530;
constexpr size_t kPointBytes = 24;  // x, y, speed as reals
}  // namespace

void CPath::Clear() { *this = CPath(); }

bool CPath::LoadFromStream(CStream& s) {
  Clear();
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
