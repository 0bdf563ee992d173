// code_game.cpp: the game data as the compiler and interpreter see it.
#include "code/code_game.h"

#include "runner/game_data.h"

int (*Code_ExtensionFindHook)(std::string_view name) = nullptr;
int (*Code_ExtensionArgCountHook)(int index) = nullptr;
bool (*Code_ExtensionCallHook)(int index, CInstance* self, CInstance* other, int argc,
                               RValue* args, RValue& result) = nullptr;

bool CodeGame_UninitialisedAsZero() { return (Game().settings.code_flags & 1) != 0; }
bool CodeGame_StrictArguments() { return (Game().settings.code_flags & 2) != 0; }

int CodeGame_ScriptFind(std::string_view name) {
  return Game().scripts.Find(FromLatin1(name));
}

bool CodeGame_ScriptExists(int index) { return Game().scripts.Exists(index); }
int CodeGame_ScriptCount() { return Game().scripts.Count(); }

const VString* CodeGame_ScriptText(int index) {
  CScript* script = Game().scripts.Get(index);
  return script == nullptr ? nullptr : &script->s_text;
}

VString CodeGame_ScriptName(int index) { return Game().scripts.Name(index); }
