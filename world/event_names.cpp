// event_names.cpp: display names of events, keys, mouse and other events.
#include "world/event_names.h"

#include "runner/game_data.h"

namespace {

constexpr const char* kUnknown = "<unknown>";

std::string ObjectName(int32_t index) { return ToUtf8(Game().objects.Name(index)); }
std::string TriggerName(int32_t index) { return ToUtf8(Game().triggers.Name(index)); }

const char* FixedKeyName(int32_t key) {
  switch (key) {
    case 0: return "<no key>";
    case 1: return "<any key>";
    case 8: return "<Backspace>";
    case 9: return "<Tab>";
    case 13: return "<Enter>";
    case 16: return "<Shift>";
    case 17: return "<Ctrl>";
    case 18: return "<Alt>";
    case 27: return "<Escape>";
    case 32: return "<Space>";
    case 33: return "<Page Up>";
    case 34: return "<Page Down>";
    case 35: return "<End>";
    case 36: return "<Home>";
    case 37: return "<Left>";
    case 38: return "<Up>";
    case 39: return "<Right>";
    case 40: return "<Down>";
    case 45: return "<Insert>";
    case 46: return "<Delete>";
    case 106: return "Keypad *";
    case 107: return "Keypad +";
    case 109: return "Keypad -";
    case 110: return "Keypad .";
    case 111: return "Keypad /";
    default: return nullptr;
  }
}

const char* MouseButtonName(int32_t number) {
  static const char* const kNames[] = {
      "Left Button",  "Right Button",   "Middle Button",  "No Button",
      "Left Pressed", "Right Pressed",   "Middle Pressed", "Left Released",
      "Right Released", "Middle Released", "Mouse Enter", "Mouse Leave"};
  return number >= 0 && number < 12 ? kNames[number] : nullptr;
}

const char* GlobalMouseName(int32_t number) {
  static const char* const kNames[] = {
      "Glob Left Button",  "Glob Right Button",   "Glob Middle Button",
      "Glob Left Pressed", "Glob Right Pressed",   "Glob Middle Pressed",
      "Glob Left Released", "Glob Right Released", "Glob Middle Released"};
  return number >= 50 && number <= 58 ? kNames[number - 50] : nullptr;
}

// Joystick j (1 or 2) events start at base 16 (j = 1) or 31 (j = 2).
std::string JoystickName(int32_t number) {
  static const char* const kDirections[] = {"Left", "Right", "Up", "Down"};
  for (int j = 1; j <= 2; ++j) {
    int32_t base = j == 1 ? 16 : 31;
    std::string prefix = "Joystick " + std::to_string(j) + " ";
    if (number >= base && number < base + 4) return prefix + kDirections[number - base];
    if (number >= base + 5 && number < base + 13)
      return prefix + "Button " + std::to_string(number - base - 4);
  }
  return kUnknown;
}

const char* StepPrefix(int32_t number) {
  switch (number) {
    case 1: return "Begin";
    case 2: return "End";
    default: return "<unknown>";
  }
}

}  // namespace

std::string Event_KeyName(int32_t key) {
  if (const char* fixed = FixedKeyName(key)) return fixed;
  if ((key >= 48 && key <= 57) || (key >= 65 && key <= 90))
    return std::string(1, static_cast<char>(key)) + "-key";
  if (key >= 96 && key <= 105) return "Keypad " + std::to_string(key - 96);
  if (key >= 112 && key <= 123) return "F" + std::to_string(key - 111);
  return kUnknown;
}

std::string Event_MouseName(int32_t number) {
  if (const char* name = MouseButtonName(number)) return name;
  if (const char* name = GlobalMouseName(number)) return name;
  if (number == 60) return "Mouse Wheel Up";
  if (number == 61) return "Mouse Wheel Down";
  return JoystickName(number);
}

std::string Event_OtherName(int32_t number) {
  static const char* const kNames[] = {
      "Outside Room", "Intersect Boundary", "Game Start",      "Game End",
      "Room Start",   "Room End",           "No More Lives",   "Animation End",
      "End Of Path",  "No More Health"};
  if (number >= 0 && number < 10) return kNames[number];
  if (number >= 10 && number <= 25) return "User Defined " + std::to_string(number - 10);
  if (number == 30) return "Close Button";
  if (number >= 40 && number <= 47) return "Outside View " + std::to_string(number - 40);
  if (number >= 50 && number <= 57) return "Boundary View " + std::to_string(number - 50);
  return kUnknown;
}

std::string Event_Name(int32_t type, int32_t number) {
  switch (type) {
    case 0: return "Create Event";
    case 1: return "Destroy Event";
    case 2: return "Alarm Event for alarm " + std::to_string(number);
    case 3: return number == 0 ? "Step Event" : std::string(StepPrefix(number)) + " Step Event";
    case 4: return "Collision Event with object " + ObjectName(number);
    case 5: return "Keyboard Event for " + Event_KeyName(number) + " Key";
    case 6: return "Mouse Event for " + Event_MouseName(number);
    case 7: return "Other Event: " + Event_OtherName(number);
    case 8: return "Draw Event";
    case 9: return "Key Press Event for " + Event_KeyName(number) + " Key";
    case 10: return "Key Release Event for " + Event_KeyName(number) + " Key";
    case 11: return "Trigger Event: " + TriggerName(number);
    default: return "<Unknown Event>";
  }
}
