// world_builtins.h: entering the game world's builtins (instance, room and
// event functions; the world's builtin variables) and wiring its hooks into
// the scripting language (error place, no-more-lives/health events, input
// clearing), the run loop and room changes.
#pragma once

// Called once from Builtins_RegisterAll, after the variable table is entered.
void World_RegisterBuiltins();
// Installs the world's step and window-event hooks in the run loop and its
// room enter/leave hooks in room_enter (start-up, before the game starts).
void World_InstallHooks();
