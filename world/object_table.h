// object_table.h: changing the object table while game code runs (adding
// and deleting objects, setting parents, adding and clearing events).
// A performed event holds a reference into its object's event list, and
// walks over instances hold the dispatch lists and the per-object instance
// lists, so while any event or dispatch walk runs: an event that is
// replaced or cleared and an object that is deleted are kept alive until
// the last one returns, and the recursive instance lists are rebuilt at
// that moment; the dispatch lists are rebuilt before the next walk starts.
// The event lookup sees every change at once.
#pragma once

#include <cstdint>

#include "common/value.h"

namespace object_table_detail {
inline int running = 0;  // events and walks in progress
// Frees what was kept alive and applies the deferred list rebuild.
void LastReturned();
}  // namespace object_table_detail

// Brackets performing an event or walking a dispatch list (nesting
// allowed). Inline: it wraps every event performed.
class ObjectRunScope {
 public:
  ObjectRunScope() { ++object_table_detail::running; }
  ~ObjectRunScope() {
    if (--object_table_detail::running == 0) object_table_detail::LastReturned();
  }
  ObjectRunScope(const ObjectRunScope&) = delete;
  ObjectRunScope& operator=(const ObjectRunScope&) = delete;
};
// True while an event or a dispatch walk runs.
inline bool Object_Running() { return object_table_detail::running > 0; }

// A new object without events, named "__newobject" + index; its index.
int32_t Object_Add();
// Removes the object; its instances in the room are removed without
// events and objects naming it as parent lose their parent. False when it
// did not exist.
bool Object_Delete(int32_t index);
// Sets the parent (-1 or a missing object: none). Refused (false) when it
// would make the object its own ancestor.
bool Object_SetParent(int32_t index, int32_t parent);
// Appends a code action with that text to event (type, number), compiled
// in that event's context (errors are reported as action errors). False
// for a missing object, an event outside the types, or code that does not
// compile (the event is then left as it was).
bool Object_EventAddCode(int32_t index, int32_t type, int32_t number, const VString& code);
// Removes every action of event (type, number); false when there was none.
bool Object_EventClear(int32_t index, int32_t type, int32_t number);
