// timeline_class.cpp: CTimeLine stored form, moment search and editing.
#include "world/timeline_class.h"

#include <algorithm>

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kTimeLineVersion = 500;
constexpr size_t kMinMomentBytes = 12;  // step, event version, action count
}  // namespace

void CTimeLine::Clear() {
  s_step.clear();
  s_event.clear();
}

// Moments are sorted by step, so the searches are binary.
int32_t CTimeLine::Find(int32_t step) const {
  auto it = std::lower_bound(s_step.begin(), s_step.end(), step);
  return it != s_step.end() && *it == step ? static_cast<int32_t>(it - s_step.begin()) : -1;
}

int32_t CTimeLine::FindLarger(double step) const {
  if (s_step.empty()) return -1;
  auto it = std::lower_bound(s_step.begin(), s_step.end(), step,
                             [](int32_t s, double p) { return s < p; });
  return static_cast<int32_t>(it - s_step.begin());
}

int32_t CTimeLine::FindSmaller(double step) const {
  auto it = std::upper_bound(s_step.begin(), s_step.end(), step,
                             [](double p, int32_t s) { return p < s; });
  return static_cast<int32_t>(it - s_step.begin()) - 1;
}

int32_t CTimeLine::AddMoment(int32_t step) {
  auto it = std::lower_bound(s_step.begin(), s_step.end(), step);
  const auto at = it - s_step.begin();
  if (it == s_step.end() || *it != step) {
    s_step.insert(it, step);
    s_event.insert(s_event.begin() + at, CEvent());
  }
  return static_cast<int32_t>(at);
}

void CTimeLine::DeleteMoment(int32_t step) {
  const int32_t at = Find(step);
  if (at < 0) return;
  s_step.erase(s_step.begin() + at);
  s_event.erase(s_event.begin() + at);
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
