// step_collisions.cpp: the collision phase of the step: for every pair of
// objects with a collision event, every pair of their instances that meet
// gets the event both ways; a solid partner puts both back first and moves
// them on after, and back again when they still meet. Two forms with one
// outcome: all pairs, and a broad phase that asks a grid which instances of
// the second object may overlap the first instance's box. The grid is kept
// a superset of the boxes while events move instances (a box watcher adds
// every moved instance again) and is rebuilt when an event reorders the
// instance list.
#include <algorithm>
#include <utility>
#include <vector>

#include "motion/collision_grid.h"
#include "motion/collision_phase.h"
#include "motion/collision_watch.h"
#include "runner/game_data.h"
#include "world/action_engine.h"
#include "world/event_dispatch.h"
#include "world/instance_class.h"
#include "world/instance_list.h"
#include "world/run_step.h"

namespace {

bool use_broad_phase = true;

bool Pending() { return Event_ChangePending(); }

// --- one colliding pair --------------------------------------------------------------

bool Collide(CInstance* a, CInstance* b) {
  if (a == b || a->i_marked || b->i_marked) return false;
  if (World_StepHooks().collision_instance) return World_StepHooks().collision_instance(a, b);
  if (!a->HasShape() || !b->HasShape()) return false;
  const TRect& p = a->i_bbox;
  const TRect& q = b->i_bbox;
  return p.left <= q.right && q.left <= p.right && p.top <= q.bottom && q.top <= p.bottom;
}

void PutBack(CInstance* inst) {
  inst->SetPosition(inst->i_xprevious, inst->i_yprevious);
  inst->i_pathposition = inst->i_pathpositionprevious;
}

void MoveOn(CInstance* inst) {
  if (World_StepHooks().adapt_path) World_StepHooks().adapt_path(inst);
  inst->SetPosition(inst->i_x + inst->i_hspeed, inst->i_y + inst->i_vspeed);
}

void ResolveCollision(CInstance* i, CInstance* j) {
  const bool solid = i->i_solid || j->i_solid;
  if (solid) {
    PutBack(i);
    PutBack(j);
  }
  PerformEventInstance(i, j, ev_collision, j->i_objectindex);
  PerformEventInstance(j, i, ev_collision, i->i_objectindex);
  if (!solid) return;
  MoveOn(i);
  MoveOn(j);
  if (Collide(i, j)) {
    PutBack(i);
    PutBack(j);
  }
}

// --- all pairs ------------------------------------------------------------------------

void CollidePairAll(int32_t a, int32_t b) {
  const InstanceRefList* la = Instance_ObjectList(a);
  const InstanceRefList* lb = Instance_ObjectList(b);
  if (la == nullptr || lb == nullptr) return;
  const size_t na = la->size(), nb = lb->size();
  for (size_t p = 0; p < na && p < la->size(); ++p) {
    CInstance* i = (*la)[p];
    if (i->i_marked) continue;
    for (size_t q = a == b ? p : 0; q < nb && q < lb->size(); ++q) {
      CInstance* j = (*lb)[q];
      if (Collide(i, j)) ResolveCollision(i, j);
      if (Pending()) return;
    }
  }
}

// --- broad phase ---------------------------------------------------------------------

// The grid over the second object's list, with what keeps it true.
class PairIndex {
 public:
  void Build(const InstanceRefList& list, size_t count) {
    snapshot_.assign(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(count));
    grid_.Build(snapshot_, static_cast<uint32_t>(count));
    positions_.clear();
    moved_.clear();
  }

  void NoteMoved(CInstance* inst) { moved_.push_back(inst); }

  // After events ran: rebuild when the list changed under the snapshot,
  // else index every moved instance again under its new box.
  void Refresh(const InstanceRefList& list, size_t limit) {
    const size_t n = snapshot_.size();
    if (list.size() < n || !std::equal(snapshot_.begin(), snapshot_.end(), list.begin())) {
      Build(list, std::min(limit, list.size()));
      return;
    }
    if (!moved_.empty() && positions_.empty()) IndexPositions();
    for (CInstance* inst : moved_) {
      auto it = std::lower_bound(positions_.begin(), positions_.end(),
                                 std::make_pair(inst, uint32_t{0}));
      for (; it != positions_.end() && it->first == inst; ++it) grid_.Insert(it->second, inst->i_bbox);
    }
    moved_.clear();
  }

  void Query(const TRect& box, uint32_t from, std::vector<uint32_t>& out) {
    grid_.Query(box, from, out);
  }

 private:
  void IndexPositions() {
    positions_.resize(snapshot_.size());
    for (size_t k = 0; k < snapshot_.size(); ++k)
      positions_[k] = {snapshot_[k], static_cast<uint32_t>(k)};
    std::sort(positions_.begin(), positions_.end());
  }

  TCollisionGrid grid_;
  InstanceRefList snapshot_;
  std::vector<std::pair<CInstance*, uint32_t>> positions_;  // sorted by instance
  std::vector<CInstance*> moved_;
};

PairIndex& Index() {
  static PairIndex index;
  return index;
}

void NoteMoved(CInstance* inst) { Index().NoteMoved(inst); }

// Installs the box watcher for the phase and removes it again.
class WatchBoxes {
 public:
  WatchBoxes() : saved_(collision_box_watcher) { collision_box_watcher = NoteMoved; }
  ~WatchBoxes() { collision_box_watcher = saved_; }

 private:
  CollisionBoxWatcher saved_;
};

// The candidates are exactly the positions the all-pairs loop would test
// with a chance of a hit, in the same order; after every hit the state is
// refreshed and the query repeated for the positions after it.
void CollidePairBroad(int32_t a, int32_t b) {
  const InstanceRefList* la = Instance_ObjectList(a);
  const InstanceRefList* lb = Instance_ObjectList(b);
  if (la == nullptr || lb == nullptr) return;
  const size_t na = la->size(), nb = lb->size();
  PairIndex& index = Index();
  index.Build(*lb, nb);
  std::vector<uint32_t> candidates;
  for (size_t p = 0; p < na && p < la->size(); ++p) {
    CInstance* i = (*la)[p];
    if (i->i_marked) continue;
    index.Query(i->i_bbox, a == b ? static_cast<uint32_t>(p) : 0, candidates);
    for (size_t k = 0; k < candidates.size(); ++k) {
      const uint32_t q = candidates[k];
      if (q >= nb || q >= lb->size()) break;
      CInstance* j = (*lb)[q];
      if (!Collide(i, j)) continue;
      ResolveCollision(i, j);
      if (Pending()) return;
      index.Refresh(*lb, nb);
      index.Query(i->i_bbox, q + 1, candidates);
      k = static_cast<size_t>(-1);
    }
  }
}

}  // namespace

void Collision_SetBroadPhase(bool on) { use_broad_phase = on; }
bool Collision_BroadPhase() { return use_broad_phase; }

void Step_CollisionsAllPairs() {
  for (const auto& [a, b] : Dispatch_CollisionPairs()) {
    if (Pending()) return;
    CollidePairAll(a, b);
  }
}

void Step_CollisionsBroadPhase() {
  WatchBoxes watch;
  for (const auto& [a, b] : Dispatch_CollisionPairs()) {
    if (Pending()) return;
    CollidePairBroad(a, b);
  }
}

void Step_Collisions() {
  if (use_broad_phase)
    Step_CollisionsBroadPhase();
  else
    Step_CollisionsAllPairs();
}
