// timeline_class.h: CTimeLine, a time line resource (moments, each a step
// with an event), with its stored form.
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
  // Record version 500: the count, then per moment its step and an event
  // record.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
