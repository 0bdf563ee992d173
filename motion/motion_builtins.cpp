// motion_builtins.cpp: the one registration entry of the collision and
// motion subsystem, in table order.
#include "motion/motion_builtins.h"

void Sprite_RegisterFunctions();
void Collision_RegisterFunctions();
void Motion_RegisterFunctions();

void Motion_RegisterBuiltins() {
  Sprite_RegisterFunctions();
  Collision_RegisterFunctions();
  Motion_RegisterFunctions();
}
