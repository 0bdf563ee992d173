// timeline_class.cpp: CTimeLine stored form.
#include "world/timeline_class.h"

#include "runner/record_io.h"
#include "runner/support_stream.h"

namespace {
constexpr int32_t kTimeLineVersion = 500;
constexpr size_t kMinMomentBytes = 12;  // step, event version, action count
}  // namespace

void CTimeLine::Clear() {
  s_step.clear();
  s_event.clear();
}

bool CTimeLine::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kTimeLineVersion)) return false;
  int32_t n = 0;
  if (!ReadCount(s, n, kMinMomentBytes)) return false;
  s_step.reserve(static_cast<size_t>(n));
  s_event.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    int32_t step = s.ReadInteger();
    CEvent ev;
    if (!ev.LoadFromStream(s)) return false;
    s_step.push_back(step);
    s_event.push_back(std::move(ev));
  }
  return true;
}

void CTimeLine::SaveToStream(CStream& s) const {
  s.WriteInteger(kTimeLineVersion);
  s.WriteInteger(Count());
  for (size_t i = 0; i < s_step.size(); ++i) {
    s.WriteInteger(s_step[i]);
    s_event[i].SaveToStream(s);
  }
}
