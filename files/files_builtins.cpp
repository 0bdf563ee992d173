// files_builtins.cpp: the one registration entry of the files and system
// subsystem.
#include "files/files_builtins.h"

void Function_RegisterSystem();

void Files_RegisterBuiltins() { Function_RegisterSystem(); }
