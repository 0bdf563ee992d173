// file_open.h: opening the files game code names, only ever as regular files:
// a folder, a pipe or a device is refused at once (a pipe would block the
// game forever), so every file function works on plain files.
#pragma once

#include <string>

// open(2) of a regular file with flags (O_CREAT allowed); the descriptor, or
// -1 when it cannot be opened or is not a regular file. Close-on-exec.
int File_OpenRegular(const std::string& path, int flags);

// True when something that is not a regular file has that name.
bool File_IsFolderOrDevice(const std::string& path);
