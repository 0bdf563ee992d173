// file_names.h: file names as game code gives them. Both "\" and "/" are
// separators (games written for backslashes work unchanged); the filename_*
// functions cut names as text, with ":" ending a drive. Also the tests that
// secure mode makes on a name.
#pragma once

#include <string>

#include "common/value.h"

// The platform path of a game's file name: UTF-8 with "\" turned into "/".
std::string File_PlatformPath(const VString& name);

// True when the name contains "\" or "/".
bool File_HasPath(const VString& name);

// True when the name's ".." parts climb above the place the name starts
// from ("..", "a/../..", "../x"); "a/../b" stays inside.
bool File_ReachesOutside(const VString& name);

// The text functions of file names.
VString File_NameOf(const VString& name);       // name with extension
VString File_PathOf(const VString& name);       // drive and folders with the final separator
VString File_DirOf(const VString& name);        // the same without the final separator
VString File_DriveOf(const VString& name);      // "C:" or "\\server\share", else empty
VString File_ExtOf(const VString& name);        // with its dot, else empty
VString File_ChangeExt(const VString& name, const VString& ext);
