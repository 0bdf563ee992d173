// project_write.h: the unpacker's half of the project format: writes a
// loaded game (CGameData) as a project directory that packs back to the
// same game data.
#pragma once

#include <filesystem>

class CGameData;

// Writes the project into dir (created; it should be empty). Raises
// PackError on a write failure.
void WriteProject(const CGameData& game, const std::filesystem::path& dir);
