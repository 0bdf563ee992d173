// runner_load.cpp: drives the loader for the runner's own executable.
#include "runner/runner_load.h"

#include <cstdlib>

#include "runner/elf_image.h"
#include "dialogs/load_form.h"
#include "runner/runner_form.h"
#include "common/support_stream.h"

void RunnerLoadObserver::ShowMessage(const std::string& text) { Runner_ShowMessage(text); }

void RunnerLoadObserver::SetProgress(int percent, const std::string& text) {
  LoadForm().SetProgress(percent, text);
}

void RunnerLoadObserver::SetUpLoadingWindow(bool debug, const GameSettings& settings) {
  LoadForm().SetUp(debug, settings);
}

LoadStatus Runner_LoadFromStream(CStream& file, LoadObserver& observer) {
  const size_t scan_start = ElfImageEnd(file.Data(), file.Size());
  return LoadGame(file, scan_start, observer);
}

bool Runner_LoadGame(const std::string& exe_path) {
  RunnerLoadObserver observer;
  CStream::InitFastCRC();
  CStream file;
  if (!file.LoadFromFile(exe_path)) {
    Runner_ShowMessage("Error: Cannot read the game file.");
    return false;
  }
  LoadStatus status = LoadStatus::Failed;
  try {
    status = Runner_LoadFromStream(file, observer);
  } catch (...) {
    Runner_ShowMessage("Failed to load the game data. File seems corrupted.");
    return false;
  }
  // A payload that fails its check is not shown any message: the program
  // ends at once (the temporary directory still goes, by the exit handler).
  if (status == LoadStatus::CheckFailed) std::exit(kExitCheckFailed);
  return status == LoadStatus::Loaded;
}
