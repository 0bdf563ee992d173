// timeline_table.h: changing the time line table while game code runs. A
// moment being performed holds a reference into its time line, so a time
// line that game code adds to, clears or deletes while any moment runs is
// replaced by an edited copy (or just removed from the table) and the old
// one is kept alive until the last running moment returns.
#pragma once

#include <cstdint>

class CTimeLine;

// Brackets the performing of a moment (nesting allowed).
class TimeLineRunScope {
 public:
  TimeLineRunScope();
  ~TimeLineRunScope();
  TimeLineRunScope(const TimeLineRunScope&) = delete;
  TimeLineRunScope& operator=(const TimeLineRunScope&) = delete;
};

// The time line to change in place; null when it does not exist.
CTimeLine* TimeLine_Edit(int32_t index);
// A new empty time line named "__newtimeline" + index; returns the index.
int32_t TimeLine_Add();
// Frees the time line and empties its slot; false when it did not exist.
bool TimeLine_Delete(int32_t index);
