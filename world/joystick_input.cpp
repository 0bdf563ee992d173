// joystick_input.cpp: the step's joystick events, raised from the platform's
// joystick state (not stored by the runner).
#include "world/joystick_input.h"

#include "world/action_engine.h"
#include "world/event_dispatch.h"
#include "world/object_class.h"

namespace {

constexpr int kEventButtons = 8;

bool Pending() { return Event_ChangePending(); }

// Raises the events of one joystick; base is 16 for the first, 31 for the second.
void JoystickEvents(int joystick, int32_t base) {
  PlatformJoystickState state;
  if (!Platform_Joysticks().Read(joystick, state)) return;
  const int32_t x = state.axis[0], y = state.axis[1];
  const bool directions[4] = {x < kJoystickLow, x > kJoystickHigh, y < kJoystickLow, y > kJoystickHigh};
  for (int32_t d = 0; d < 4; ++d) {
    if (directions[d] && !Pending()) Dispatch_Event(ev_mouse, base + d);
  }
  for (int32_t b = 0; b < kEventButtons; ++b) {
    if ((state.buttons >> b) & 1u && !Pending()) Dispatch_Event(ev_mouse, base + 5 + b);
  }
}

}  // namespace

void Step_Joystick() {
  JoystickEvents(0, 16);
  JoystickEvents(1, 31);
}
