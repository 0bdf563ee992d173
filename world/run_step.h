// run_step.h: one step of the game world, in its fixed order of phases:
// previous positions, begin step, time lines, alarms, keyboard, joystick, mouse,
// step, motion, other events, collisions, end step, particles, removal of
// destroyed instances, drawing, background scrolling, animation, input
// reset. A pending transition stops the step after the phase that made it.
#pragma once

class CInstance;
struct PlatformEvent;

// Work of other subsystems inside the step; null members skip the work or
// take the simple default named.
struct RWorldStepHooks {
  // Collision_Instance, precise (default: the bounding boxes overlap and
  // both instances have a shape).
  bool (*collision_instance)(CInstance* a, CInstance* b) = nullptr;
  // Collision_Point with the mouse position (default: the bounding box
  // contains the point).
  bool (*collision_point)(CInstance* inst, double x, double y) = nullptr;
  // Adapt_Path: advances on the path; true when its end was reached.
  bool (*adapt_path)(CInstance* inst) = nullptr;
  // Window to room coordinates of the mouse (default: unchanged).
  void (*mouse_to_room)(int wx, int wy, double& rx, double& ry) = nullptr;
  void (*update_particles)() = nullptr;
  // Draws the room (when automatic drawing is on).
  void (*draw)() = nullptr;
};
// Installs hooks; null members keep the ones installed before.
void World_SetStepHooks(const RWorldStepHooks& hooks);

// The run loop's step hook: one whole step; increments the step counter.
void World_Step();
// The run loop's window event hook: input goes to the input state; the
// close button acts as Esc (close-button-as-Esc setting) or raises the
// Close Button event in all instances.
void World_HandleWindowEvent(const PlatformEvent& event);

// The hooks installed (members null where none).
const RWorldStepHooks& World_StepHooks();

// Phases, exposed for tests and the debugger.
void Step_FunctionKeys();
void Step_SavePrevious();
void Step_Alarms();
void Step_TimeLines();
void Step_Keyboard();
void Step_Mouse();
void Step_Motion();
void Step_OtherEvents();
void Step_Collisions();
void Step_Animation();
void Step_Triggers(int moment);
