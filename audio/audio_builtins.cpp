// audio_builtins.cpp: registration, start-up and shutdown of the audio
// subsystem, and the mixer's place in the run loop.
#include "audio/audio_builtins.h"

#include <cstdio>

#include "audio/sound_class.h"
#include "audio/sound_player.h"
#include "runner/game_data.h"
#include "world/room_enter.h"
#include "world/run_main.h"

namespace {

// After each step the mixer renders the step's share of a second of game
// time (headless) or refills its streams (window sessions).
void AfterStep() { SoundPlayer_AfterStep(Room_Speed()); }

}  // namespace

void Audio_RegisterBuiltins() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  Audio_RegisterFunctions();
}

bool Audio_Prepare(bool headless, const std::string& audio_out,
                   void (*message)(const std::string& text)) {
  SoundPlayer_SetMessageHook(message);
  SoundPlayer_Init(headless);
  if (headless && !audio_out.empty() && !SoundPlayer_StartCapture(audio_out))
    std::fprintf(stderr, "Cannot write the sound mix to %s\n", audio_out.c_str());
  SoundPlayer_SetMasterVolume(1.0);
  for (auto& sound : Game().sounds.items)
    if (sound) sound->Prepare();
  RunHooks hooks;
  hooks.after_step = AfterStep;
  Run_SetHooks(hooks);
  return true;
}

void Audio_Shutdown() {
  for (auto& sound : Game().sounds.items)
    if (sound) sound->Discard();
  SoundPlayer_Release();
}
