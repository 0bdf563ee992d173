// event_dispatch.h: the event dispatch lists built at game start (for every
// event type and number, the objects that have that event, own or
// inherited, ascending) and the collision pair list, and the dispatch of an
// event to all instances of the listed objects, grouped by object.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

using DispatchList = std::vector<int32_t>;

// Builds every list from the objects as they are now (game start, and
// after events or parents changed). While an event or a walk runs, the
// lists in use stay as they are and the build happens when the lists are
// next asked for with nothing running.
void Dispatch_Build();
// The objects that have event (type, number); empty outside the ranges.
const DispatchList& Dispatch_List(int32_t type, int32_t number);
// Object pairs (a, b), a <= b, where a has a collision event with b or b
// one with a; ordered by a, then b.
const std::vector<std::pair<int32_t, int32_t>>& Dispatch_CollisionPairs();

// For each listed object in order, for each unmarked instance of its direct
// list (count taken at the start): the event with the instance as self and
// other. Stops when a room change becomes pending.
void Dispatch_Event(int32_t type, int32_t number);

// Calls visit(instance) for every unmarked instance of the objects listed
// for (type, number), in dispatch order, until a change is pending.
template <class Visit>
void Dispatch_ForEach(int32_t type, int32_t number, Visit&& visit);

#include "world/event_dispatch_inline.h"
