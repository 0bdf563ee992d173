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

// Reads the whole file; false when it cannot be opened or read.
bool File_ReadAll(const std::string& path, std::vector<uint8_t>& out);

// Reserves capacity for size bytes. A large buffer is asked to be backed by
// huge pages where the system allows it: loading touches every byte of the
// game, and the first touch of each small page is costly.
void Buffer_Reserve(std::vector<uint8_t>& buffer, size_t size);
