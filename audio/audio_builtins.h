// audio_builtins.h: the audio subsystem's entry points for the runner: its
// builtins, the "Preparing sounds" stage and the release at shutdown.
#pragma once

#include <string>

// Enters every sound, CD and media-player builtin (once, at program start).
void Audio_RegisterBuiltins();

// "Preparing sounds": starts the player (the loopback engine when headless,
// writing the mix to audio_out when that is not empty), sets the master
// volume to 1, prepares every sound of the game (preloading those marked)
// and lets the mixer follow the run loop's steps. Never fails on its own.
bool Audio_Prepare(bool headless, const std::string& audio_out,
                   void (*message)(const std::string& text));
// Stops every sound, writes the headless mix file and releases the engine.
void Audio_Shutdown();

// Internal: the function table entries (function_sound.cpp).
void Audio_RegisterFunctions();
