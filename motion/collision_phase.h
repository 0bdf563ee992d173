// collision_phase.h: the two forms of the step's collision phase. The plain
// form tests every pair of instances of every collision pair of objects;
// the broad-phase form tests only the pairs whose boxes may overlap, found
// through a grid, and raises exactly the same events in the same order.
#pragma once

// The collision phase with the broad phase (the default) or without it.
void Collision_SetBroadPhase(bool on);
bool Collision_BroadPhase();

// The two forms, callable directly (tests and benchmarks compare them).
void Step_CollisionsAllPairs();
void Step_CollisionsBroadPhase();
