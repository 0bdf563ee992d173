// builtins.h: the assembly of every subsystem's builtins. Each subsystem
// folder exports one registration entry; this is the one list that calls
// them, so no subsystem needs to know another's.
#pragma once

// Enters every builtin function, variable and constant of all subsystems
// once (idempotent). Called at start-up and by tools and tests that compile
// game code.
void Builtins_RegisterAll();
