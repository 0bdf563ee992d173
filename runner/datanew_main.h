// datanew_main.h: the game data loader. Finds the marker in the runner's own
// executable, unmasks the header, unscrambles and checks the payload, reads
// the settings block, writes out the support library and reads the game body
// (16 sections) into the tables of CGameData (runner/game_data.h).
#pragma once

#include <cstddef>
#include <string>

class CStream;
struct GameSettings;

// What the loader shows while it works. The runner implements it with its
// loading window and message boxes (or standard error when headless).
class LoadObserver {
 public:
  virtual ~LoadObserver() = default;
  // A start-up message (message box).
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void SetProgress(int percent, const std::string& text) = 0;
  // Called once after the settings are read.
  virtual void SetUpLoadingWindow(bool debug, const GameSettings& settings) = 0;
};

enum class LoadStatus {
  Loaded,
  Failed,       // a message has been shown
  CheckFailed,  // the payload check failed: end the program at once, silently
};

// Loads the game from the executable (or its tail) held in file, searching for the
// marker from scan_start. Exceptions from reading past the end or corrupt
// compressed data propagate to the caller, which shows "Failed to load the
// game data. File seems corrupted.". Fills Game() (runner/game_data.h).
// Once the header is read, file's bytes are taken over by the game body:
// file is left empty (or partly consumed when loading failed).
LoadStatus LoadGame(CStream& file, size_t scan_start, LoadObserver& observer);
