// builtin_variables.cpp: enters the builtin variable table in its fixed order
// (global variables, then instance variables) and implements the globals
// that need no room or instance: argument slots, score, lives, health,
// caption settings, transition settings, the error state, the game's id and
// room order, directories, clock and constants. The other names start as
// placeholders that their owners bind.
#include "code/builtin_variables.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <utility>

#include "code/code_error.h"
#include "code/code_error_state.h"
#include "code/code_game.h"
#include "code/code_variable.h"
#include "runner/game_data.h"
#include "common/support_file.h"

RScriptArguments g_Arguments;
RGameGlobals g_GameGlobals;
void (*Variable_OtherEventHook)(int event_number) = nullptr;

namespace {

constexpr int kEventNoMoreLives = 6;
constexpr int kEventNoMoreHealth = 9;
constexpr int kVersion = 810;

// Reads 0 until the owning subsystem binds its getter.
void ReadsZero(CInstance*, int, RValue& out) { out = RValue::Real(0); }

void SetReal(RValue& out, double v) { out = RValue::Real(v); }

// --- argument slots --------------------------------------------------------

template <int N>
void GetArgumentN(CInstance*, int, RValue& out) {
  out = g_Arguments.slot[N];
}

template <int N>
bool SetArgumentN(CInstance*, int, const RValue& value) {
  ++g_Arguments.writes;
  g_Arguments.slot[N] = value;
  return true;
}

bool IsArgumentSlot(int index) { return index >= 0 && index < RScriptArguments::kSlots; }

// argument[i]. With strict argument counts, reading an index the call did
// not supply is reported and the read fails. An index outside the 16 slots
// never names an argument: the read fails (a missing variable) instead of
// aliasing argument0, and so does a store.
void GetArgumentArray(CInstance*, int index, RValue& out) {
  if (index >= g_Arguments.count && CodeGame_StrictArguments()) {
    Error_Show_Action("Illegal array index in script \"" + g_Arguments.script_name + "\".\r" +
                          "trying to access argument[" + std::to_string(index) +
                          "], but only " + std::to_string(g_Arguments.count) +
                          " arguments have been supplied.",
                      false);
    Variable_GetterFails();
    return;
  }
  if (!IsArgumentSlot(index)) {
    Variable_GetterFails();
    return;
  }
  out = g_Arguments.slot[index];
}

bool SetArgumentArray(CInstance*, int index, const RValue& value) {
  if (!IsArgumentSlot(index)) return false;
  ++g_Arguments.writes;
  g_Arguments.slot[index] = value;
  return true;
}

void GetArgumentCount(CInstance*, int, RValue& out) { SetReal(out, g_Arguments.count); }

void GetArgumentRelative(CInstance*, int, RValue& out) {
  SetReal(out, g_Arguments.relative ? 1 : 0);
}

template <int N>
void EnterArgumentSlots() {
  if constexpr (N < RScriptArguments::kSlots) {
    Variable_BuiltinAdd("argument" + std::to_string(N), GetArgumentN<N>, SetArgumentN<N>);
    EnterArgumentSlots<N + 1>();
  }
}

// --- score, lives, health, caption, transitions ----------------------------

void GetScore(CInstance*, int, RValue& out) { SetReal(out, g_GameGlobals.score); }
bool SetScore(CInstance*, int, const RValue& v) {
  g_GameGlobals.score = Variable_ToInteger(v);
  return true;
}

void GetLives(CInstance*, int, RValue& out) { SetReal(out, g_GameGlobals.lives); }
bool SetLives(CInstance*, int, const RValue& v) {
  int old = g_GameGlobals.lives;
  g_GameGlobals.lives = Variable_ToInteger(v);
  if (old > 0 && g_GameGlobals.lives <= 0 && Variable_OtherEventHook)
    Variable_OtherEventHook(kEventNoMoreLives);
  return true;
}

void GetHealth(CInstance*, int, RValue& out) { SetReal(out, g_GameGlobals.health); }
bool SetHealth(CInstance*, int, const RValue& v) {
  double old = g_GameGlobals.health;
  g_GameGlobals.health = v.val;
  if (old > 0 && g_GameGlobals.health <= 0 && Variable_OtherEventHook)
    Variable_OtherEventHook(kEventNoMoreHealth);
  return true;
}

void GetTransitionKind(CInstance*, int, RValue& out) {
  SetReal(out, g_GameGlobals.transition_kind);
}
bool SetTransitionKind(CInstance*, int, const RValue& v) {
  g_GameGlobals.transition_kind = Variable_ToInteger(v);
  return true;
}

void GetTransitionSteps(CInstance*, int, RValue& out) {
  SetReal(out, g_GameGlobals.transition_steps);
}
bool SetTransitionSteps(CInstance*, int, const RValue& v) {
  int steps = Variable_ToInteger(v);
  g_GameGlobals.transition_steps = steps < 1 ? 1 : steps;
  return true;
}

template <bool RGameGlobals::*Flag>
void GetFlag(CInstance*, int, RValue& out) {
  SetReal(out, g_GameGlobals.*Flag ? 1 : 0);
}
template <bool RGameGlobals::*Flag>
bool SetFlag(CInstance*, int, const RValue& v) {
  g_GameGlobals.*Flag = Variable_ToBoolean(v);
  return true;
}

bool SetShowScore(CInstance* self, int index, const RValue& v) {
  g_GameGlobals.score_shown_by_code = true;
  return SetFlag<&RGameGlobals::show_score>(self, index, v);
}

template <VString RGameGlobals::*Text>
void GetText(CInstance*, int, RValue& out) {
  out = RValue::String(g_GameGlobals.*Text);
}
template <VString RGameGlobals::*Text>
bool SetText(CInstance*, int, const RValue& v) {
  g_GameGlobals.*Text = v.str;
  return true;
}

// --- error state ------------------------------------------------------------

void GetErrorOccurred(CInstance*, int, RValue& out) {
  SetReal(out, Error_State().error_occurred ? 1 : 0);
}
bool SetErrorOccurred(CInstance*, int, const RValue& v) {
  Error_State().error_occurred = IsTrue(v.val);
  return true;
}

void GetErrorLast(CInstance*, int, RValue& out) {
  out = RValue::String(FromUtf8(Error_State().error_last));
}
bool SetErrorLast(CInstance*, int, const RValue& v) {
  Error_State().error_last = ToUtf8(v.str);
  return true;
}

// --- game, directories, clock, constants -----------------------------------

void GetGameId(CInstance*, int, RValue& out) { SetReal(out, Game().game_id); }
void GetRoomFirst(CInstance*, int, RValue& out) { SetReal(out, Game().RoomFirst()); }
void GetRoomLast(CInstance*, int, RValue& out) { SetReal(out, Game().RoomLast()); }

void GetTempDirectory(CInstance*, int, RValue& out) {
  out = RValue::String(FromUtf8(TempDir_Path()));
}

void GetWorkingDirectory(CInstance*, int, RValue& out) {
  std::error_code error;
  std::filesystem::path cwd = std::filesystem::current_path(error);
  out = RValue::String(FromUtf8(error ? std::string() : cwd.string()));
}

void GetProgramDirectory(CInstance*, int, RValue& out) {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  out = RValue::String(FromUtf8(error ? std::string() : exe.parent_path().string()));
}

void GetCurrentTime(CInstance*, int, RValue& out) {
  auto since_start = std::chrono::steady_clock::now().time_since_epoch();
  SetReal(out, static_cast<double>(
                   std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count()));
}

std::tm LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return parts;
}

template <int std::tm::*Field, int Offset>
void GetDatePart(CInstance*, int, RValue& out) {
  SetReal(out, LocalNow().*Field + Offset);
}

template <int Value>
void GetFixed(CInstance*, int, RValue& out) {
  SetReal(out, Value);
}

// --- the table ---------------------------------------------------------------

// A name whose state another subsystem owns: reads 0 until bound.
void Placeholder(const char* name, bool is_array = false) {
  Variable_BuiltinAdd(name, ReadsZero, nullptr, is_array);
}

void Placeholders(std::initializer_list<const char*> names, bool is_array = false) {
  for (const char* name : names) Placeholder(name, is_array);
}

void EnterGlobals() {
  Variable_BuiltinAdd("argument_relative", GetArgumentRelative, nullptr);
  EnterArgumentSlots<0>();
  Variable_BuiltinAdd("argument", GetArgumentArray, SetArgumentArray, true);
  Variable_BuiltinAdd("argument_count", GetArgumentCount, nullptr);
  Placeholder("room");
  Variable_BuiltinAdd("room_first", GetRoomFirst, nullptr);
  Variable_BuiltinAdd("room_last", GetRoomLast, nullptr);
  Variable_BuiltinAdd("transition_kind", GetTransitionKind, SetTransitionKind);
  Variable_BuiltinAdd("transition_steps", GetTransitionSteps, SetTransitionSteps);
  Variable_BuiltinAdd("score", GetScore, SetScore);
  Variable_BuiltinAdd("lives", GetLives, SetLives);
  Variable_BuiltinAdd("health", GetHealth, SetHealth);
  Variable_BuiltinAdd("game_id", GetGameId, nullptr);
  Variable_BuiltinAdd("working_directory", GetWorkingDirectory, nullptr);
  Variable_BuiltinAdd("temp_directory", GetTempDirectory, nullptr);
  Variable_BuiltinAdd("program_directory", GetProgramDirectory, nullptr);
  Placeholder("instance_count");
  Placeholder("instance_id", true);
  Placeholders({"room_width", "room_height", "room_caption", "room_speed", "room_persistent",
                "background_color", "background_showcolor"});
  Placeholders({"background_visible", "background_foreground", "background_htiled",
                "background_vtiled", "background_index", "background_blend", "background_x",
                "background_y", "background_xscale", "background_yscale", "background_hspeed",
                "background_vspeed", "background_alpha", "background_width",
                "background_height"},
               true);
  Placeholders({"view_enabled", "view_current"});
  Placeholders({"view_visible", "view_xview", "view_yview", "view_wview", "view_hview",
                "view_xport", "view_yport", "view_wport", "view_hport", "view_hborder",
                "view_vborder", "view_hspeed", "view_vspeed", "view_object", "view_angle"},
               true);
  Placeholders({"mouse_x", "mouse_y", "mouse_button", "mouse_lastbutton", "keyboard_key",
                "keyboard_lastkey", "keyboard_lastchar", "keyboard_string", "cursor_sprite"});
  Variable_BuiltinAdd("show_score", GetFlag<&RGameGlobals::show_score>, SetShowScore);
  Variable_BuiltinAdd("show_lives", GetFlag<&RGameGlobals::show_lives>,
                      SetFlag<&RGameGlobals::show_lives>);
  Variable_BuiltinAdd("show_health", GetFlag<&RGameGlobals::show_health>,
                      SetFlag<&RGameGlobals::show_health>);
  Variable_BuiltinAdd("caption_score", GetText<&RGameGlobals::caption_score>,
                      SetText<&RGameGlobals::caption_score>);
  Variable_BuiltinAdd("caption_lives", GetText<&RGameGlobals::caption_lives>,
                      SetText<&RGameGlobals::caption_lives>);
  Variable_BuiltinAdd("caption_health", GetText<&RGameGlobals::caption_health>,
                      SetText<&RGameGlobals::caption_health>);
  Placeholder("fps");
  Variable_BuiltinAdd("current_time", GetCurrentTime, nullptr);
  Variable_BuiltinAdd("current_year", GetDatePart<&std::tm::tm_year, 1900>, nullptr);
  Variable_BuiltinAdd("current_month", GetDatePart<&std::tm::tm_mon, 1>, nullptr);
  Variable_BuiltinAdd("current_day", GetDatePart<&std::tm::tm_mday, 0>, nullptr);
  Variable_BuiltinAdd("current_weekday", GetDatePart<&std::tm::tm_wday, 1>, nullptr);
  Variable_BuiltinAdd("current_hour", GetDatePart<&std::tm::tm_hour, 0>, nullptr);
  Variable_BuiltinAdd("current_minute", GetDatePart<&std::tm::tm_min, 0>, nullptr);
  Variable_BuiltinAdd("current_second", GetDatePart<&std::tm::tm_sec, 0>, nullptr);
  Placeholders({"event_type", "event_number", "event_object", "event_action", "secure_mode",
                "debug_mode"});
  Variable_BuiltinAdd("error_occurred", GetErrorOccurred, SetErrorOccurred);
  Variable_BuiltinAdd("error_last", GetErrorLast, SetErrorLast);
  Variable_BuiltinAdd("vexlo_version", GetFixed<kVersion>, nullptr);
  Variable_BuiltinAdd("os_type", GetFixed<0>, nullptr);
  Variable_BuiltinAdd("os_device", GetFixed<0>, nullptr);
  Placeholder("display_aa");
}

void EnterInstanceVariables() {
  Placeholders({"x", "y", "xprevious", "yprevious", "xstart", "ystart", "hspeed", "vspeed",
                "direction", "speed", "friction", "gravity", "gravity_direction",
                "object_index", "id"});
  Placeholder("alarm", true);
  Placeholders({"solid", "visible", "persistent", "depth", "bbox_left", "bbox_right",
                "bbox_top", "bbox_bottom", "sprite_index", "image_index", "image_speed",
                "image_alpha", "image_single", "image_number", "sprite_width", "sprite_height",
                "sprite_xoffset", "sprite_yoffset", "image_xscale", "image_yscale",
                "image_angle", "image_blend", "mask_index", "path_index", "path_position",
                "path_positionprevious", "path_speed", "path_scale", "path_orientation",
                "path_endaction", "timeline_index", "timeline_position", "timeline_speed",
                "timeline_running", "timeline_loop"});
}

}  // namespace

int Variable_ToInteger(const RValue& v) { return ToInt32(v.val); }

bool Variable_ToBoolean(const RValue& v) { return ToInt32(v.val) >= 1; }

void Variable_ResetGlobals() { g_GameGlobals = RGameGlobals(); }

void Variable_RegisterBuiltin() {
  EnterGlobals();
  EnterInstanceVariables();
}
