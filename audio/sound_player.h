// sound_player.h: the sample table and the player (unit Sound_DirectX). A
// sample entry is one loaded sound: normal, background and 3D sounds are
// voices of the audio engine; multimedia sounds are file names that the one
// streaming player plays, one at a time. Headless runs use the engine's
// loopback device driven by game time; window sessions the output device.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"

struct RSoundSample {
  bool inuse = false;
  int kind = 0;
  int voice = -1;     // engine voice (kinds 0-2)
  std::string fname;  // multimedia kind
};

// Starts the player: the loopback engine when headless, else the output
// device. A window session without a device shows the no-device message
// once (through the message hook) and goes on silently.
void SoundPlayer_Init(bool headless);
// Stops everything and releases the engine (finishing a capture first).
void SoundPlayer_Release();
bool SoundPlayer_Active();
PlatformAudio* SoundPlayer_Engine();

// How messages are shown (the runner's message box); stderr when unset.
void SoundPlayer_SetMessageHook(void (*hook)(const std::string& text));

// Load from memory (kinds 0-2): -1 when the engine is missing or cannot
// decode the data.
int SoundPlayer_LoadFromMemory(AudioBytes data, int kind);
// Load from file: -1 when the file does not exist. Kinds 0-2 that cannot be
// decoded become kind 3 (kind is updated).
int SoundPlayer_LoadFromFile(const std::string& fname, int& kind);
void SoundPlayer_Free(int id);

void SoundPlayer_Play(int id, bool loop);
void SoundPlayer_Stop(int id);
void SoundPlayer_StopAll();
bool SoundPlayer_IsPlaying(int id);
// v 0..1 is round(v*9600)-9600 hundredths of a decibel, over milliseconds.
void SoundPlayer_SetVolume(int id, double v, double milliseconds);
// p -1..1 is round(p*10000).
void SoundPlayer_SetPan(int id, double p);
void SoundPlayer_SetEffects(int id, int bits);
void SoundPlayer_SetEffectParams(int id, const AudioEffectParams& params);
// Kind 2 only.
void SoundPlayer_SetPosition(int id, double x, double y, double z);
void SoundPlayer_SetVelocity(int id, double x, double y, double z);
void SoundPlayer_SetDistance(int id, double min_distance, double max_distance);
void SoundPlayer_SetCone(int id, double x, double y, double z, double inside, double outside,
                         double outside_volume);
// clamp(round(v*11000 - 10000), -10000, 1000) hundredths of a decibel;
// the start-up value (v = 1, +1000) is unity gain in the mix.
void SoundPlayer_SetMasterVolume(double v);
// Clamped to 0.01 .. 100.
void SoundPlayer_SetTempo(double t);
void SoundPlayer_SetSearchDirectory(const std::string& dir);

// The master volume and tempo last set (for tests), in their stored units.
int SoundPlayer_MasterCentibels();
double SoundPlayer_Tempo();
// The volume of an entry in hundredths of a decibel (the target of a fade).
int SoundPlayer_VolumeCentibels(int id);
int SoundPlayer_Pan(int id);
int SoundPlayer_EffectBits(int id);
const RSoundSample* SoundPlayer_Sample(int id);

// After each step: the engine advances by the step's share of a second at
// room_speed steps per second (the fractions carried over).
void SoundPlayer_AfterStep(int room_speed);
// Headless runs: the mix also goes to a WAV file written at release.
bool SoundPlayer_StartCapture(const std::string& path);
