// function_joystick.cpp: the builtin functions over the two joysticks:
// capabilities, buttons, the keypad direction, axis positions and the point
// of view, read from the platform when asked.
#include "code/code_function.h"
#include "world/joystick_input.h"

namespace {

int Joystick(const RValue& v) { return Joystick_Index(ToInt32(v.val)); }
PlatformJoysticks& Joysticks() { return Platform_Joysticks(); }

void F_Exists(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(Joysticks().Exists(Joystick(args[0])) ? 1 : 0);
}

void F_Name(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::String(FromUtf8(Joysticks().Name(Joystick(args[0]))));
}

void F_Axes(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(Joysticks().Axes(Joystick(args[0])));
}

void F_Buttons(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(Joysticks().Buttons(Joystick(args[0])));
}

void F_HasPov(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(Joysticks().HasPov(Joystick(args[0])) ? 1 : 0);
}

// Buttons count from 1; any other number is not held.
void F_CheckButton(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  PlatformJoystickState state;
  const int32_t button = ToInt32(args[1].val);
  const bool held = button >= 1 && button <= 32 && Joysticks().Read(Joystick(args[0]), state) &&
                    ((state.buttons >> (button - 1)) & 1u);
  result = RValue::Real(held ? 1 : 0);
}

// The keypad code of the direction: 96 + row (6 up, 3 middle, 0 down) +
// column (1 left, 2 middle, 3 right); 101, the centre, when unreadable.
void F_Direction(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  PlatformJoystickState state;
  if (!Joysticks().Read(Joystick(args[0]), state)) return void(result = RValue::Real(101));
  const int32_t x = state.axis[0], y = state.axis[1];
  const int row = y < kJoystickLow ? 6 : (y <= kJoystickHigh ? 3 : 0);
  const int column = x < kJoystickLow ? 1 : (x > kJoystickHigh ? 3 : 2);
  result = RValue::Real(96 + row + column);
}

// Axis 0..65535 as -1..1; 0 when unreadable.
template <int Axis>
void F_Position(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  PlatformJoystickState state;
  if (!Joysticks().Read(Joystick(args[0]), state)) return void(result = RValue::Real(0));
  result = RValue::Real(state.axis[Axis] / 32767.0 - 1);
}

// Degrees clockwise from up; -1 when centred or unreadable.
void F_Pov(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  PlatformJoystickState state;
  const bool read = Joysticks().Read(Joystick(args[0]), state);
  const double degrees = state.pov / 100.0;
  result = RValue::Real(read && degrees <= 360 ? degrees : -1);
}

}  // namespace

void World_RegisterJoystickFunctions() {
  Function_Add("joystick_exists", F_Exists, 1);
  Function_Add("joystick_name", F_Name, 1);
  Function_Add("joystick_axes", F_Axes, 1);
  Function_Add("joystick_buttons", F_Buttons, 1);
  Function_Add("joystick_has_pov", F_HasPov, 1);
  Function_Add("joystick_check_button", F_CheckButton, 2);
  Function_Add("joystick_direction", F_Direction, 1);
  Function_Add("joystick_xpos", F_Position<0>, 1);
  Function_Add("joystick_ypos", F_Position<1>, 1);
  Function_Add("joystick_zpos", F_Position<2>, 1);
  Function_Add("joystick_rpos", F_Position<3>, 1);
  Function_Add("joystick_upos", F_Position<4>, 1);
  Function_Add("joystick_vpos", F_Position<5>, 1);
  Function_Add("joystick_pov", F_Pov, 1);
}
