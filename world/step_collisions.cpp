// step_collisions.cpp: the collision phase of the step: for every pair of
// objects with a collision event, every pair of their instances that meet
// gets the event both ways; a solid partner puts both back first and moves
// them on after, and back again when they still meet.
#include "world/run_step.h"

#include "runner/game_data.h"
#include "world/action_engine.h"
#include "world/event_dispatch.h"
#include "world/instance_class.h"
#include "world/instance_list.h"

namespace {

bool Pending() { return Event_ChangePending(); }

// --- collisions ----------------------------------------------------------------------

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

void CollidePair(int32_t a, int32_t b) {
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

}  // namespace

void Step_Collisions() {
  for (const auto& [a, b] : Dispatch_CollisionPairs()) {
    if (Pending()) return;
    CollidePair(a, b);
  }
}

