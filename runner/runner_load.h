// runner_load.h: loading the game from the runner's own executable. Finds
// where its ELF image ends (the scan start of the appended data) from the
// header tables, reads only the bytes after it, runs the loader, and shows the loader's
// progress in the loading window and its messages as start-up messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runner/datanew_main.h"

// The loader's observer of a runner start-up.
class RunnerLoadObserver : public LoadObserver {
 public:
  void ShowMessage(const std::string& text) override;
  void SetProgress(int percent, const std::string& text) override;
  void SetUpLoadingWindow(bool debug, const GameSettings& settings) override;
};

// Exit status of a program that ends because the payload check failed.
constexpr int kExitCheckFailed = 3;

// Loads the game from the executable at exe_path (the first step of the
// load-prepare-run sequence). True when loaded; false after a failure whose
// message has been shown. A failed payload check ends the program at once,
// silently, with kExitCheckFailed.
bool Runner_LoadGame(const std::string& exe_path);

// Same, with the executable's bytes already in file and a given observer.
LoadStatus Runner_LoadFromStream(CStream& file, LoadObserver& observer);
