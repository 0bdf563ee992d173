// code_game.h: what the compiler and interpreter read from the loaded game
// and from neighbouring subsystems: the code flags, the script table, and the
// hooks through which extension functions are found and called.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/value.h"

class CInstance;

// Bit 0 of the game's code flags: a missing variable reads as the real 0.
bool CodeGame_UninitialisedAsZero();
// Bit 1: script argument counts are checked.
bool CodeGame_StrictArguments();

// Scripts of the game: -1 when no script has the name.
int CodeGame_ScriptFind(std::string_view name);
bool CodeGame_ScriptExists(int index);
int CodeGame_ScriptCount();
const VString* CodeGame_ScriptText(int index);  // null when missing
VString CodeGame_ScriptName(int index);         // "<undefined>" when missing

// Extension functions (wired by the extension subsystem; null: none).
// Find gives the extension function index or -1; the count is the declared
// argument count; Call runs it and returns false on failure (the error text
// is recorded through CodeError_SetText by the caller's convention).
extern int (*Code_ExtensionFindHook)(std::string_view name);
extern int (*Code_ExtensionArgCountHook)(int index);
extern bool (*Code_ExtensionCallHook)(int index, CInstance* self, CInstance* other, int argc,
                                      RValue* args, RValue& result);
