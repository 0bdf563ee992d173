// joystick_input.h: the runner's view of the two joysticks: which one a game
// argument selects, the axis thresholds of the directions, and the step's
// joystick events.
#pragma once

#include <cstdint>

#include "platform/joystick.h"

// An axis below kJoystickLow points left/up, above kJoystickHigh right/down.
constexpr int32_t kJoystickLow = 20000;
constexpr int32_t kJoystickHigh = 44000;

// A game argument of 2 selects the second joystick; any other the first.
inline int Joystick_Index(int32_t argument) { return argument == 2 ? 1 : 0; }

// Step phase: joystick 1, then joystick 2 (when readable): directions
// (mouse-type events 16..19, 31..34) and buttons 1 to 8 (21..28, 36..43).
void Step_Joystick();
