// pack_check.h: the builder's code check. Compiles every piece of game code
// of a project with the runner's own compiler and reports each compile error
// at its place in the project's files.
#pragma once

#include <vector>

#include "pack/pack_build.h"

// Compiles one piece of code; an error's line and column are mapped from the
// code text back into the file the text came from.
std::vector<PackError> CheckCodeText(const CodeText& code);
