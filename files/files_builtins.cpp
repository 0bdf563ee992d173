// files_builtins.cpp: the registration entry of the files subsystem.
#include "files/files_builtins.h"

#include <cstdlib>

void Function_RegisterSystem();
void Files_RegisterFileFunctions();
void Files_RegisterSystemFunctions();
void Files_RegisterIniFunctions();
void Files_RegisterRegistryFunctions();

namespace {
void CloseAllAtExit() { Files_CloseAll(); }
}  // namespace

void Files_RegisterBuiltins() {
  Function_RegisterSystem();
  Files_RegisterFileFunctions();
  Files_RegisterSystemFunctions();
  Files_RegisterIniFunctions();
  Files_RegisterRegistryFunctions();
  // Also after a fatal error or a step limit: the program ends through exit.
  // The file tables are made first, so they outlive the exit handler
  // (objects made before a handler is registered are destroyed after it).
  static bool registered = false;
  if (!registered) {
    Files_CloseAll();
    std::atexit(CloseAllAtExit);
  }
  registered = true;
}
