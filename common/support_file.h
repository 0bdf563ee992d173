// support_file.h: the runner's private temporary directory (made at start-up,
// removed at exit; sounds, included files, extension files and the support
// library are written there), the one crash-safe file write, whole-file
// reads and the reservation of large byte buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Makes the temporary directory. The base is the first line of
// "tempdir.txt" in exe_dir, else the environment variable temp, tmp or TMPDIR
// (the first that is set, up to 256 characters), else "/tmp". The directory
// is base + "/vx_ttt_" + a random number 0..99999 that does not exist yet,
// made with its missing parents. When the base fails, "/tmp" and then the
// working directory are tried; when all fail, show_message gets the failure
// text and false is returned (start-up goes on). Reseeds the random
// generator from the clock.
bool TempDir_Create(const std::string& exe_dir,
                    const std::function<void(const std::string&)>& show_message);

// The directory made by TempDir_Create, without a trailing separator; empty
// when there is none.
const std::string& TempDir_Path();

// A file name inside the temporary directory that does not exist yet:
// "a" + a random number 0..99999 + extension (extension includes its dot).
std::string TempDir_UniqueFile(const std::string& extension);

// Removes the temporary directory and everything in it. Symbolic links are
// removed as links and never followed, so nothing outside is touched.
void TempDir_Remove();

// Writes the whole file so that a crash or power loss leaves either the old or
// the new complete content: a temporary file in the same directory, fsync,
// rename over the name, fsync of the directory. False on any failure (the old
// file is then untouched).
bool File_WriteAtomic(const std::string& path, const void* data, size_t size);

// The same guarantee for a file written piece by piece: Begin makes the
// temporary file beside path, Write appends to it, Commit syncs it, renames
// it over path and syncs the directory. Until Commit, path keeps its old
// content; destroying an uncommitted writer removes the temporary file.
// The new file keeps the permission bits of the file it replaces.
class TAtomicFile {
 public:
  TAtomicFile() = default;
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  bool Begin(const std::string& path);
  bool Write(const void* data, size_t size);
  bool Commit();
  void Abandon();
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }

 private:
  int fd_ = -1;
  bool failed_ = false;
  std::string path_;
  std::string temp_;
};

// Test seam of the crash-safe writes: the probe is called when half the
// bytes of File_WriteAtomic are written and right before every rename, so a
// test can end the process there as a crash would.
enum class AtomicWriteStage { HalfWritten, BeforeRename };
void File_SetAtomicWriteProbe(void (*probe)(AtomicWriteStage stage));

// Reads the whole file; false when it cannot be opened or read.
bool File_ReadAll(const std::string& path, std::vector<uint8_t>& out);

// Reserves capacity for size bytes. A large buffer is asked to be backed by
// huge pages where the system allows it: loading touches every byte of the
// game, and the first touch of each small page is costly.
void Buffer_Reserve(std::vector<uint8_t>& buffer, size_t size);
