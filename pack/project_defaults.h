// project_defaults.h: what the project format assumes where a file leaves
// a field out. The reader starts from these values and the writer leaves
// out what equals them, so both sides must use the same ones.
#pragma once

#include <array>
#include <string>

#include "pack/pack_json.h"
#include "world/action_class.h"

// The three written forms of an action: code (a .vxs file), a call of an
// action function, and a control action (block, else, exit, repeat).
enum class ActionShape { Code, Function, Control };

ActionShape ShapeOfAction(const CAction& a);
// The action a shape implies before its arguments are known.
CAction DefaultAction(ActionShape shape);
// Sets the argument texts and the counts and kinds they imply: code
// actions take every argument as a string (kind 1), the others as an
// expression (kind 0).
void ApplyArguments(CAction& a, ActionShape shape,
                    const std::array<VString, kMaxActionArgs>& texts, int count);

// Control kinds by name: "begin", "end", "else", "exit", "repeat".
const char* ControlName(int kind);
int ControlKindFromName(const std::string& name);

// A room's background layer and view as written when left at the defaults.
const Json& DefaultRoomBackgroundJson();
const Json& DefaultRoomViewJson();
