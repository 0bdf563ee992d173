// runner_load.cpp: drives the loader for the runner's own executable.
#include "runner/runner_load.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

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

namespace {

// The bytes of the executable from the end of its ELF image (the scan
// start) to the end of the file: the appended game data, without reading
// the runner itself. A file that is not ELF64 is read whole.
bool ReadImageTail(const std::string& path, std::vector<uint8_t>& out) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (ok) {
    const size_t size = static_cast<size_t>(st.st_size);
    const size_t start = ElfImageEndOfFile(fd, size);
    std::vector<uint8_t> bytes(size - start);
    size_t done = 0;
    while (ok && done < bytes.size()) {
      ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(start + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;  // the file shrank: what was read is all there is
      done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    out = std::move(bytes);
  }
  ::close(fd);
  return ok;
}

}  // namespace

bool Runner_LoadGame(const std::string& exe_path) {
  RunnerLoadObserver observer;
  CStream::InitFastCRC();
  std::vector<uint8_t> tail;
  if (!ReadImageTail(exe_path, tail)) {
    Runner_ShowMessage("Error: Cannot read the game file.");
    return false;
  }
  CStream file(std::move(tail));
  LoadStatus status = LoadStatus::Failed;
  try {
    // The tail starts at the scan start.
    status = LoadGame(file, 0, observer);
  } catch (...) {
    Runner_ShowMessage("Failed to load the game data. File seems corrupted.");
    return false;
  }
  // A payload that fails its check is not shown any message: the program
  // ends at once (the temporary directory still goes, by the exit handler).
  if (status == LoadStatus::CheckFailed) std::exit(kExitCheckFailed);
  return status == LoadStatus::Loaded;
}
