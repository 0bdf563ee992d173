// project_read.h: the packer's half of the project format: reads a project
// directory into a CGameData, resolving resource names, reading code,
// images, sounds and included files, and rasterising described fonts.
#pragma once

#include <filesystem>
#include <vector>

#include "pack/project_layout.h"

class CGameData;

// Reads the project in dir into game (cleared first). Raises PackError
// naming the file (and line and column where known) at the first error.
// When codes is given, every piece of game code is appended to it with the
// file and position where its text starts.
void ReadProject(const std::filesystem::path& dir, CGameData& game,
                 std::vector<CodeText>* codes = nullptr);
