// timeline_class.h: CTimeLine, a time line resource (moments, each a step
// with an event), with its stored form and its moment search and editing.
#pragma once

#include <cstdint>
#include <vector>

#include "world/event_class.h"

class CStream;

class CTimeLine {
 public:
  // Moment i has step s_step[i] and event s_event[i]; the count s_count is
  // s_step.size(). Sorted by ascending step as stored by the builder.
  std::vector<int32_t> s_step;
  std::vector<CEvent> s_event;

  int32_t Count() const { return static_cast<int32_t>(s_step.size()); }

  void Clear();

  // Moment with exactly that step; -1 when none.
  int32_t Find(int32_t step) const;
  // First moment whose step is >= step (Count() when none); -1 when empty.
  int32_t FindLarger(double step) const;
  // Last moment whose step is <= step; -1 when none.
  int32_t FindSmaller(double step) const;
  // Inserts an empty moment at its sorted place (nothing when that step
  // has one); returns the moment's index.
  int32_t AddMoment(int32_t step);
  // Removes the moment with exactly that step, keeping the order of the
  // rest; nothing when there is none.
  void DeleteMoment(int32_t step);

  // Record version 500: the count, then per moment its step and an event
  // record.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
