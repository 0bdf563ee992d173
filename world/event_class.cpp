// event_class.cpp: the stored form of CEvent.
#include "world/event_class.h"

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kEventVersion = 400;
// The fixed part of an action record: version, 7 integers and Booleans,
// 2 string counts, argument count, 2 list counts, who, relative, isnot.
constexpr size_t kMinActionBytes = 16 * 4;
}  // namespace

bool CEvent::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kEventVersion)) return false;
  int32_t n = 0;
  if (!ReadCount(s, n, kMinActionBytes)) return false;
  e_actions.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    CAction a;
    if (!a.LoadFromStream(s)) return false;
    e_actions.push_back(std::move(a));
  }
  return true;
}

void CEvent::SaveToStream(CStream& s) const {
  s.WriteInteger(kEventVersion);
  s.WriteInteger(Number());
  for (const CAction& a : e_actions) a.SaveToStream(s);
}
