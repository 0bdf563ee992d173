// runner_stages.h: the work of each start-up stage, game-start and game-end
// step and shutdown step, one named function each. The spine
// (runner_form.cpp) calls them in their fixed order; each subsystem's entry
// point is called from here, so the spine never depends on a subsystem's
// internals. A stage returns false when it failed; the spine then shows the
// stage's failure message.
#pragma once

#include <string>

// Program start: enter every builtin function, variable and constant.
void Stage_RegisterBuiltins();
// Program start: connect the run loop and room changes to the game world,
// the renderer and the input state.
void Stage_InstallHooks();
// Program start: secure mode, decided once from the player's preferences.
void Stage_DecideSecureMode();

// Preparation stages, in their order.
void Stage_SetPriority();
bool Stage_ExtractIncludedFiles();
bool Stage_PrepareExtensions();
bool Stage_DefineConstants();
bool Stage_PrepareTriggers();
bool Stage_CompileScripts();
bool Stage_CompileTimeLines();
bool Stage_CompileObjects();
// Never fails on its own: a host without sound shows its message and goes
// on.
bool Stage_PrepareSounds();
// Display mode, game window, graphics device, textures. Shows its own
// messages; on failure the sound system is stopped.
bool Stage_PrepareGraphics();
// Hooks up the window's input handlers and clears the input state.
bool Stage_Ready();

// Game start steps (between them the spine resets its own state and enters
// the first room).
void GameStart_BuildDispatchLists();
void GameStart_ResetGlobals();
// Score 0, lives -1, cursor sprite none.
void GameStart_ResetScore();
void GameStart_SeedRandom();
bool GameStart_RunLibraryInitCode();
// False after a failure (reported as a fatal error, which requests -400).
bool GameStart_InitExtensions();
void GameStart_ResetRoomStates();

// Game end steps (after the current room has been left as a game end).
void GameEnd_FreeRoomStates();
// True when every finalisation function succeeded.
bool GameEnd_FinalizeExtensions();

// Transition -300: clear the input state and load the saved game.
void Transition_LoadSavedGame(const std::string& file_name);

// Shutdown steps, in order.
void Shutdown_UnloadSupportLibrary();
void Shutdown_ReleaseGraphics();
void Shutdown_StopSound();
void Shutdown_RemoveIncludedFiles();
// Closes the files game code left open (text files being written take their
// names now).
void Shutdown_CloseFiles();
