// secure_mode.h: the game-wide secure mode, decided once at start-up from
// the player's preferences in the settings store: on only when the current
// user's key "\Software\Vexlo\Version 8\Preferences" exists, its value
// "Warning" is true, and its value "ToolerRunning" is true or missing.
// While it is on, the file functions refuse names with a path for writing
// and any name whose ".." parts reach outside the working directory.
#pragma once

class SettingsStore;

// The decision itself, from the given store.
bool Secure_Decide(SettingsStore& store);
