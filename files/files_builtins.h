// files_builtins.h: the one entry of the files subsystem: the file, ini and
// registry builtins of game code, their constants, and the start-up and
// shutdown work of the subsystem.
#pragma once

// Enters every file, ini and registry builtin and the fa_ constants.
void Files_RegisterBuiltins();

// Start-up: decides secure mode once from the player's preferences.
void Files_DecideSecureMode();

// Program end: closes every file game code left open; text files being
// written take their names now (until then the old content stays).
void Files_CloseAll();
