// support_file.cpp: the runner's private temporary directory and the one
// crash-safe file write.
#include "common/support_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/random.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxEnvValue = 256;
constexpr uint32_t kNameRange = 100000;  // names use 0..99999
constexpr const char* kDefaultBase = "/tmp";
constexpr const char* kFailureMessage =
    "Failed to create temp dir. This can cause serious problems with sounds, etc.";

std::string g_temp_dir;

// The first line of tempdir.txt beside the executable, without line ends.
std::string BaseFromFile(const std::string& exe_dir) {
  if (exe_dir.empty()) return {};
  std::ifstream in(fs::path(exe_dir) / "tempdir.txt");
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

std::string BaseFromEnvironment() {
  for (const char* name : {"temp", "tmp", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (value && *value) return std::string(value).substr(0, kMaxEnvValue);
  }
  return {};
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() != fs::file_type::not_found;
}

// Makes base/vx_ttt_<random> with its missing parents; empty on failure.
std::string CreateUnder(const std::string& base) {
  if (base.empty()) return {};
  fs::path dir;
  // A bounded search: a full or unwritable base must not loop forever.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    dir = fs::path(base) / ("vx_ttt_" + std::to_string(RandomInt(kNameRange)));
    if (!Exists(dir)) break;
    dir.clear();
  }
  if (dir.empty()) return {};
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec || !fs::is_directory(dir, ec)) return {};
  return fs::absolute(dir, ec).lexically_normal().string();
}

bool SyncDirectoryOf(const fs::path& file) {
  fs::path dir = file.parent_path();
  if (dir.empty()) dir = ".";
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync directories
  ::close(fd);
  return ok;
}

void (*g_atomic_probe)(AtomicWriteStage) = nullptr;

}  // namespace

bool TempDir_Create(const std::string& exe_dir,
                    const std::function<void(const std::string&)>& show_message) {
  std::string base = BaseFromFile(exe_dir);
  if (base.empty()) base = BaseFromEnvironment();
  if (base.empty()) base = kDefaultBase;
  RandomSeedFromClock();
  std::error_code ec;
  for (const std::string& candidate : {base, std::string(kDefaultBase), fs::current_path(ec).string()}) {
    g_temp_dir = CreateUnder(candidate);
    if (!g_temp_dir.empty()) return true;
  }
  if (show_message) show_message(kFailureMessage);
  return false;
}

const std::string& TempDir_Path() { return g_temp_dir; }

std::string TempDir_UniqueFile(const std::string& extension) {
  fs::path dir = g_temp_dir.empty() ? fs::path(".") : fs::path(g_temp_dir);
  fs::path file;
  do {
    file = dir / ("a" + std::to_string(RandomInt(kNameRange)) + extension);
  } while (Exists(file));
  return file.string();
}

void TempDir_Remove() {
  if (g_temp_dir.empty()) return;
  // remove_all deletes symbolic links themselves and never descends through
  // them, so nothing outside the directory can be reached.
  std::error_code ec;
  fs::remove_all(g_temp_dir, ec);
  g_temp_dir.clear();
}

bool File_WriteAtomic(const std::string& path, const void* data, size_t size) {
  TAtomicFile file;
  if (!file.Begin(path)) return false;
  const char* bytes = static_cast<const char*>(data);
  const size_t half = size / 2;
  if (!file.Write(bytes, half)) return false;
  if (g_atomic_probe) g_atomic_probe(AtomicWriteStage::HalfWritten);
  if (!file.Write(bytes + half, size - half)) return false;
  return file.Commit();
}

TAtomicFile::~TAtomicFile() { Abandon(); }

bool TAtomicFile::Begin(const std::string& path) {
  Abandon();
  static unsigned counter = 0;
  path_ = path;
  temp_ = path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  failed_ = fd_ < 0;
  if (failed_) return false;
  struct stat old;
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd_, old.st_mode & 07777);
  return true;
}

bool TAtomicFile::Write(const void* data, size_t size) {
  if (fd_ < 0 || failed_) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd_, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      return false;
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool TAtomicFile::Commit() {
  if (fd_ < 0) return false;
  bool ok = !failed_ && ::fsync(fd_) == 0;
  ok = (::close(fd_) == 0) && ok;
  fd_ = -1;
  if (ok && g_atomic_probe) g_atomic_probe(AtomicWriteStage::BeforeRename);
  if (ok) ok = ::rename(temp_.c_str(), path_.c_str()) == 0;
  if (!ok) {
    ::unlink(temp_.c_str());
    return false;
  }
  SyncDirectoryOf(fs::path(path_));
  return true;
}

void TAtomicFile::Abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlink(temp_.c_str());
}

void File_SetAtomicWriteProbe(void (*probe)(AtomicWriteStage stage)) { g_atomic_probe = probe; }

bool File_ReadAll(const std::string& path, std::vector<uint8_t>& out) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  std::vector<uint8_t> bytes;
  Buffer_Reserve(bytes, static_cast<size_t>(st.st_size));
  bytes.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  bool ok = true;
  while (ok) {
    if (done == bytes.size()) bytes.resize(bytes.size() + 65536);  // the file may grow
    ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  if (!ok) return false;
  bytes.resize(done);
  out = std::move(bytes);
  return true;
}

void Buffer_Reserve(std::vector<uint8_t>& buffer, size_t size) {
  constexpr size_t kHugePage = size_t{2} << 20;
  constexpr size_t kWorthIt = 2 * kHugePage;
  if (size <= buffer.capacity()) return;
  buffer.reserve(size);
  if (size < kWorthIt || !buffer.empty()) return;  // only fresh, untouched memory
  uintptr_t start = reinterpret_cast<uintptr_t>(buffer.data());
  uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
  uintptr_t end = (start + size) & ~(kHugePage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}
