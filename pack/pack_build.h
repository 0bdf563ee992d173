// pack_build.h: the three jobs of the builder: pack a project into a game
// executable, unpack a game executable into a project, and check a
// project. Each writes its output under a temporary name beside the target
// and renames it at the end, so a failure leaves nothing behind.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "pack/pack_error.h"
#include "pack/project_layout.h"

class CGameData;

// The runner games are appended to when none is given: vexlo-runner-ship
// beside the builder's own executable (a build tree), else in the libexec
// folder of an installation. Raises PackError when neither exists.
std::filesystem::path DefaultRunnerPath();

// The Debian packages the runner needs at run time, one per line: the list
// the build wrote beside it (RUNNER.deps). Raises PackError when missing.
std::string RuntimeDependencies(const std::filesystem::path& runner);

// Reads the project and writes runner + game data to output (mode 0755).
void PackProject(const std::filesystem::path& project, const std::filesystem::path& output,
                 const std::filesystem::path& runner);

// Loads the game data of any game executable into the process-wide Game()
// and returns it. Raises PackError naming the file with the loader's
// message when it does not load.
CGameData& LoadGameFile(const std::filesystem::path& game_file);

// Loads the game and writes it as a project into output (which must not
// exist or be an empty directory).
void UnpackGame(const std::filesystem::path& game_file, const std::filesystem::path& output);

// Compiles one piece of code; returns its errors (each with the file, line
// and column of the error itself). The compiler of the runner plugs in here.
using CodeChecker = std::function<std::vector<PackError>(const CodeText&)>;

// Every piece of game code of the project, with where its text starts.
std::vector<CodeText> ProjectCodeTexts(const std::filesystem::path& project);

// Reads the project (raising at the first project error) and runs checker
// (when given) over every piece of code; returns the code errors found.
std::vector<PackError> CheckProject(const std::filesystem::path& project,
                                    const CodeChecker& checker = nullptr);

// Writes bytes to path through a temporary file in the same directory that
// is renamed over path at the end; executable sets mode 0755.
void WriteOutputFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                     bool executable);
