// function_keys.h: the function keys of the game settings (F1 game
// information, Esc end, F4 full screen, F5/F6 quick save and load, F9
// screenshot) and the hooks through which other subsystems do the work.
// A null hook means the key does nothing beyond clearing keyboard_lastkey.
#pragma once

#include <string>

// Shows the game information window (F1); the input state is cleared after.
extern void (*GameInfo_ShowHook)();
// Saves / loads the whole game at once to / from the file (F5 / F6,
// game_save and the pending load); true on success. SaveGame_Save and
// SaveGame_Load (save_game.h) unless replaced (tests).
extern bool (*SaveGame_Hook)(const std::string& file_name);
extern bool (*LoadGame_Hook)(const std::string& file_name);
// Writes the current frame as a PNG file (F9); true on success. Screen_SaveFile
// of the renderer unless replaced (tests).
extern bool (*Screenshot_Hook)(const std::string& file_name);

// "_save" + the game id + ".sav", in the working directory.
std::string QuickSave_FileName();
// "screenshot" + n + ".png" for the smallest n from 100 up whose file does
// not exist yet in the working directory.
std::string Screenshot_FileName();
