// world_builtins.h: entering the game world's builtins (instance, room and
// event functions; the world's builtin variables) and wiring its hooks into
// the scripting language (error place, no-more-lives/health events).
#pragma once

// Called once from Builtins_RegisterAll, after the variable table is entered.
void World_RegisterBuiltins();
