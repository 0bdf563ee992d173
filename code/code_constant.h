// code_constant.h: the constants that the compiler replaces by values: the
// builtin constants (entered at program start), the constants of extension
// packages and of the game (defined from text during preparation), and the
// lookup order that puts resource names and trigger constant names in front
// of the constant table.
#pragma once

#include <string>
#include <string_view>

#include "common/value.h"

// Compiles text as an expression and runs it for its value with a fresh
// blank instance as self and other. Returns false (error holds the reason)
// when it does not compile or its run fails. Wired to the compiler at
// program start; while it is null every value text fails.
extern bool (*Constant_EvaluateHook)(const VString& text, RValue& out, std::string& error);

// Shows a start-up message (message box). Defaults to standard error.
extern void (*Constant_MessageHook)(const std::string& text);

// Enters the builtin constants, in their fixed order (program start).
void Constant_RegisterBuiltin();

// Defines a constant from a name text and a value text: the name is trimmed
// of blanks and control characters and must be an identifier; the value is
// evaluated through Constant_EvaluateHook. Shows the failure message and
// returns false on failure; the table is unchanged then.
bool Constant_DefineFromText(const VString& name, const VString& value_text);

// The "Preparing constants" stage: defines the game's constants in the order
// of the game data. Stops at the first failure and returns false.
bool Constants_Prepare();

// Finds a name as the compiler does: object, sprite, sound, background,
// path, font, time line, script and room names (the index of the first
// resource of that kind with the name), then trigger constant names (the
// trigger's index), then the constant table from its last entry back.
bool Constant_Resolve(std::string_view name, RValue& out);

// Number of builtin constants entered by Constant_RegisterBuiltin.
int Constant_BuiltinFixedCount();

// Drops every constant defined after the builtin ones (a new game is loaded,
// or tests start over).
void Constant_ResetDefinitions();

// Shrinks the constant table to its first count entries (code_function.cpp).
void Constant_TruncateTable(int count);
