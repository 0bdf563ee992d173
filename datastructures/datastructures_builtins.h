// datastructures_builtins.h: the data-structure subsystem's one registration entry.
#pragma once

// Enters the 110 ds_* builtin functions (idempotent).
void Datastructures_RegisterBuiltins();

// Destroys every container of every kind, empties the six id tables and
// restores the initial precision (for tests and a fresh game).
void Datastructures_Reset();
