// files_builtins.h: entering the file and system builtins of game code.
#pragma once

void Files_RegisterBuiltins();
