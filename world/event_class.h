// event_class.h: CEvent, an ordered list of actions, with its stored form.
#pragma once

#include <cstdint>
#include <vector>

#include "world/action_class.h"

class CStream;

class CEvent {
 public:
  // The action count e_number is e_actions.size().
  std::vector<CAction> e_actions;

  int32_t Number() const { return static_cast<int32_t>(e_actions.size()); }
  // An event without actions counts as absent.
  bool Empty() const { return e_actions.empty(); }

  void Clear() { e_actions.clear(); }
  // Record version 400: the action count and the action records.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
