// function_game.cpp: the game builtins that save and load the whole game
// and report the platform: game_save (at once), game_load (requested, done
// after the step), Zarnu_GetPlatform and Zarnu_GetDevice (both 0 here).
#include "code/code_function.h"
#include "runner/runner_form.h"
#include "world/function_keys.h"

namespace {

std::string FileArg(const RValue& v) { return ToUtf8(v.str); }

void F_GameSave(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (SaveGame_Hook) SaveGame_Hook(FileArg(args[0]));
}

void F_GameLoad(RValue&, CInstance*, CInstance*, int, RValue* args) {
  Runner_RequestLoad(FileArg(args[0]));
}

void F_Zero(RValue& result, CInstance*, CInstance*, int, RValue*) { result = RValue::Real(0); }

}  // namespace

void World_RegisterGameFunctions() {
  Function_Add("game_save", F_GameSave, 1);
  Function_Add("game_load", F_GameLoad, 1);
  Function_Add("Zarnu_GetPlatform", F_Zero, 0);
  Function_Add("Zarnu_GetDevice", F_Zero, 0);
}
