// motion_contact.h: moving an instance against obstacles: to contact, out
// of overlap, and bouncing. Obstacles are the solid instances (all false)
// or every instance (all true); tests are precise placement tests.
#pragma once

class CInstance;

// True when inst placed at (x, y) meets no obstacle.
bool Motion_IsFree(CInstance& inst, bool all, double x, double y);
// Steps of one pixel along dir while the next place is free, at most
// maxdist steps (1000 when maxdist <= 0); nothing when inst is not free.
void Motion_MoveContact(CInstance& inst, bool all, double dir, double maxdist);
// Steps of one pixel along dir until inst is free, at most maxdist steps
// (1000 when maxdist <= 0).
void Motion_MoveOutside(CInstance& inst, bool all, double dir, double maxdist);
// Reverses the speed against obstacles (simple: by the horizontal and
// vertical free tests; advanced: reflection about the blocked arc).
void Motion_Bounce(CInstance& inst, bool all, bool advanced);
