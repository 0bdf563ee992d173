// function_game.cpp: the game builtins that report the platform:
// Zarnu_GetPlatform and Zarnu_GetDevice (both 0 here). game_save and
// game_load are entered with the saved games (save_game.cpp).
#include "code/code_function.h"

namespace {

void F_Zero(RValue& result, CInstance*, CInstance*, int, RValue*) { result = RValue::Real(0); }

}  // namespace

void World_RegisterGameFunctions() {
  Function_Add("Zarnu_GetPlatform", F_Zero, 0);
  Function_Add("Zarnu_GetDevice", F_Zero, 0);
}
