// pack_build.cpp: packing, unpacking and checking, with outputs that appear
// complete or not at all.
#include "pack/pack_build.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "pack/pack_json.h"
#include "pack/project_read.h"
#include "pack/project_write.h"
#include "runner/datanew_main.h"
#include "runner/datanew_write.h"
#include "runner/elf_image.h"
#include "runner/game_data.h"
#include "common/support_stream.h"

namespace fs = std::filesystem;

// Where an installed builder finds its runner, relative to its own folder.
#ifndef VEXLO_INSTALLED_RUNNER_DIR
#define VEXLO_INSTALLED_RUNNER_DIR "../libexec/vexlo"
#endif

constexpr const char* kShipRunnerName = "vexlo-runner-ship";

namespace {

// Gathers the loader's messages instead of showing them.
class SilentObserver : public LoadObserver {
 public:
  std::vector<std::string> messages;
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void SetProgress(int, const std::string&) override {}
  void SetUpLoadingWindow(bool, const GameSettings&) override {}
};

std::string TempSuffix() {
  std::random_device device;
  return ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(device() % 1000000);
}

}  // namespace

std::vector<fs::path> DefaultRunnerCandidates() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) return {};
  fs::path dir = self.parent_path();
  return {dir / kShipRunnerName, (dir / VEXLO_INSTALLED_RUNNER_DIR / kShipRunnerName).lexically_normal()};
}

fs::path DefaultRunnerPath() {
  std::vector<fs::path> candidates = DefaultRunnerCandidates();
  for (const fs::path& candidate : candidates) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) return candidate;
  }
  std::string tried;
  for (const fs::path& candidate : candidates) tried += (tried.empty() ? "" : ", ") + candidate.string();
  throw PackError("vexlo-pack", "no runner found (looked for " + (tried.empty() ? std::string(kShipRunnerName) : tried) +
                                    "); give one with --runner PATH");
}

std::string RuntimeDependencies(const fs::path& runner) {
  fs::path list = runner;
  list += ".deps";
  std::error_code error;
  if (!fs::is_regular_file(list, error))
    throw PackError(list.string(), "no list of run-time packages beside the runner (it is made with "
                                   "vexlo-runner-ship by the build)");
  return ReadFileBytes(list);
}

void WriteOutputFile(const fs::path& path, const std::vector<uint8_t>& bytes, bool executable) {
  fs::path temp = path;
  temp += TempSuffix();
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, executable ? 0755 : 0644);
  if (fd < 0) throw PackError(path.string(), std::string("cannot write file: ") + std::strerror(errno));
  size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  int saved = errno;
  // The umask may have narrowed the mode given to open.
  ok = ok && (!executable || ::fchmod(fd, 0755) == 0) && ::fsync(fd) == 0;
  if (!ok) saved = errno;
  ok = (::close(fd) == 0) && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    if (ok) saved = errno;
    ::unlink(temp.c_str());
    throw PackError(path.string(), std::string("cannot write file: ") + std::strerror(saved));
  }
}

void PackProject(const fs::path& project, const fs::path& output, const fs::path& runner) {
  CGameData& game = Game();
  ReadProject(project, game);
  std::string runner_bytes = ReadFileBytes(runner);
  std::vector<uint8_t> exe = AppendGameData(
      std::vector<uint8_t>(runner_bytes.begin(), runner_bytes.end()), game);
  if (exe.empty())
    throw PackError(runner.string(), "not a runner executable (an ELF64 file is needed)");
  WriteOutputFile(output, exe, true);
}

CGameData& LoadGameFile(const fs::path& game_file) {
  CStream file;
  if (!fs::is_regular_file(game_file) || !file.LoadFromFile(game_file.string()))
    throw PackError(game_file.string(), "cannot read file");
  CStream::InitFastCRC();
  size_t scan_start = ElfImageEnd(file.Data(), file.Size());
  SilentObserver observer;
  LoadStatus status;
  try {
    status = LoadGame(file, scan_start, observer);
  } catch (const std::exception&) {
    throw PackError(game_file.string(), "Failed to load the game data. File seems corrupted.");
  }
  if (status == LoadStatus::CheckFailed)
    throw PackError(game_file.string(), "the game data fails its check value");
  if (status != LoadStatus::Loaded) {
    std::string text;
    for (const std::string& m : observer.messages) text += (text.empty() ? "" : " ") + m;
    throw PackError(game_file.string(), text.empty() ? "the game data does not load" : text);
  }
  return Game();
}

void UnpackGame(const fs::path& game_file, const fs::path& output) {
  if (fs::exists(output) && !(fs::is_directory(output) && fs::is_empty(output)))
    throw PackError(output.string(), "the output exists and is not an empty directory");
  CGameData& game = LoadGameFile(game_file);
  fs::path temp = output;
  temp += TempSuffix();
  try {
    WriteProject(game, temp);
    if (fs::exists(output)) fs::remove(output);
    fs::rename(temp, output);
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(temp, ignored);
    throw;
  }
}

std::vector<CodeText> ProjectCodeTexts(const fs::path& project) {
  CGameData game;
  std::vector<CodeText> codes;
  ReadProject(project, game, &codes);
  return codes;
}

std::vector<PackError> CheckProject(const fs::path& project, const CodeChecker& checker) {
  // Code resolves script and resource names through the process-wide game
  // data, as it does in the runner.
  std::vector<CodeText> codes;
  ReadProject(project, Game(), &codes);
  std::vector<PackError> errors;
  for (const CodeText& code : codes) {
    if (!checker) continue;
    std::vector<PackError> found = checker(code);
    errors.insert(errors.end(), found.begin(), found.end());
  }
  return errors;
}
