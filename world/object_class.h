// object_class.h: CObject, an object resource (the template of instances)
// with its events by type and number, and its stored form.
#pragma once

#include <array>
#include <cstdint>
#include <map>

#include "world/event_class.h"

class CStream;

// Event types.
enum : int32_t {
  ev_create = 0, ev_destroy = 1, ev_alarm = 2, ev_step = 3, ev_collision = 4,
  ev_keyboard = 5, ev_mouse = 6, ev_other = 7, ev_draw = 8, ev_keypress = 9,
  ev_keyrelease = 10, ev_trigger = 11
};
constexpr int kEventTypeCount = 12;

class CObject {
 public:
  int32_t o_spriteindex = -1;
  bool o_solid = false;
  bool o_visible = true;
  int32_t o_depth = 0;
  bool o_persistent = false;
  int32_t o_parent = -1;
  int32_t o_mask = -1;
  // Per event type, the events by event number (sparse: only the numbers
  // that were stored or created are present).
  std::array<std::map<int32_t, CEvent>, kEventTypeCount> o_events;

  void Clear();
  // The event of type/number, or null when there is none or it is empty.
  const CEvent* GetEvent(int32_t type, int32_t number) const;
  CEvent* GetEvent(int32_t type, int32_t number);
  // Creates the event when missing.
  CEvent& AddEvent(int32_t type, int32_t number);
  // Record version 430: the settings, the highest event type T (negative:
  // none), then per type 0..T a list of (number, event record) closed by -1.
  // False on a wrong version, a type above 11, a negative or repeated event
  // number, or a failed event record.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
