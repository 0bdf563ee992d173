// motion_builtins.h: entering the sprite, collision, motion, path and
// motion-planning builtins of game code.
#pragma once

void Motion_RegisterBuiltins();
