// builtins.cpp: the start-up list of every subsystem's registration entry.
// The order is the order of the tables: a function or variable name found
// twice resolves to the earlier entry.
#include "runner/builtins.h"

#include "audio/audio_builtins.h"
#include "code/code_function.h"
#include "datastructures/datastructures_builtins.h"
#include "dialogs/dialogs_builtins.h"
#include "files/files_builtins.h"
#include "graphics/graphics_builtins.h"
#include "motion/motion_builtins.h"
#include "scores/scores_builtins.h"
#include "world/world_builtins.h"

void Builtins_RegisterAll() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  Code_RegisterBuiltins();  // first: subsystems bind their variables to its table
  Files_RegisterBuiltins();
  World_RegisterBuiltins();
  Motion_RegisterBuiltins();
  Graphics_RegisterBuiltins();
  Dialogs_RegisterBuiltins();
  Datastructures_RegisterBuiltins();
  Audio_RegisterBuiltins();
  Scores_RegisterBuiltins();
}
