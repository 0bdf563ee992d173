// test_switches.h: the runner's automation switches, read once from the
// environment at program start:
//   VEXLO_HEADLESS=1  no window and no audio device; messages go to stderr
//   VEXLO_FAST=1      steps and game-requested waits run without pacing
//   VEXLO_MAX_STEPS=N the game ends as game_end does after N steps
//   VEXLO_AUDIO_OUT=F headless runs also write the sound mix to F (WAV)
//   VEXLO_FRAME_LOG=FILE  the time of each presented frame (microseconds of
//                         the run loop's clock, one per line) goes to FILE
//                         at game end, for pacing measurements
#pragma once

#include <cstdint>
#include <string>

struct TestSwitches {
  bool headless = false;
  bool fast = false;
  int64_t max_steps = 0;  // 0: no limit
  std::string audio_out;  // headless runs: the WAV file of the sound mix
  std::string frame_log;  // empty: none
};

// Reads the environment (once; later calls keep the first reading).
void TestSwitches_Read();
const TestSwitches& Test_Switches();

// Parses a switch value: "1" (or any positive whole number) is on.
bool TestSwitches_ParseFlag(const char* text);
// Parses a step limit: a positive decimal number, otherwise 0 (no limit).
int64_t TestSwitches_ParseCount(const char* text);
