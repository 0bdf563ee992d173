// event_names.h: the display names of events (as shown in error messages
// and the debugger) and of the keys and mouse and other events they use.
#pragma once

#include <cstdint>
#include <string>

// "Step Event", "Collision Event with object wall", "<Unknown Event>" ...
std::string Event_Name(int32_t type, int32_t number);
// "<Left>", "A-key", "Keypad 5", "F1", "<unknown>" ...
std::string Event_KeyName(int32_t key);
std::string Event_MouseName(int32_t number);
std::string Event_OtherName(int32_t number);
