// builtin_variables.h: the builtin variable table in its fixed order and the
// runner-wide state behind the global builtin variables that need no room
// or instance: the script argument slots, score, lives, health and their
// caption settings, the transition settings, the error state, the game's id
// and room order, the directories, the clock and the constants.
//
// Variable_RegisterBuiltin enters every name, globals first and then the
// instance variables, so the indices never depend on which subsystem
// registers first. Names whose state lives in another subsystem (room,
// views, input, events, instances) start with a getter that reads 0 and no
// setter; their owner attaches the real routines with Variable_BuiltinBind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "code/code_function.h"
#include "common/value.h"

// The 16 argument slots of script calls, the count and name of the running
// script, and the relative flag of the running action.
struct RScriptArguments {
  static constexpr int kSlots = 16;
  RValue slot[kSlots];
  int count = 0;                          // argument_count; 0 outside scripts
  std::string script_name = "<unknown>";  // the running script's name
  bool relative = false;                  // argument_relative
  uint32_t writes = 0;                    // stores through argument variables
};
extern RScriptArguments g_Arguments;

// Score, lives and health with the caption settings that show them, and
// the transition settings of the next room change.
struct RGameGlobals {
  int score = 0;
  int lives = -1;
  double health = 100.0;
  bool score_shown_by_code = false;  // set by assigning show_score
  bool show_score = true;
  bool show_lives = false;
  bool show_health = false;
  VString caption_score = u"Score: ";
  VString caption_lives = u"Lives: ";
  VString caption_health = u"Health: ";
  int transition_kind = 0;
  int transition_steps = 80;  // at least 1
};
extern RGameGlobals g_GameGlobals;

// Raises an "other" event (6 no more lives, 9 no more health) in every
// instance. Wired by the world; null: nothing is raised.
extern void (*Variable_OtherEventHook)(int event_number);

// Enters the whole builtin variable table (program start).
void Variable_RegisterBuiltin();

// Resets score, lives, health and the caption settings (game start).
void Variable_ResetGlobals();

// Replaces the getter and setter of an entered variable; the variable can be
// set exactly when a setter is given. False when the name is not entered.
bool Variable_BuiltinBind(std::string_view name, BuiltinGetter getter, BuiltinSetter setter);

// Conversions of the setters: an integer stores the value rounded to 32
// bits; a Boolean is true when that rounded value is 1 or more.
int Variable_ToInteger(const RValue& v);
bool Variable_ToBoolean(const RValue& v);
