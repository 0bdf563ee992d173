// path_main.h: the game's path table at run time (the paths of the game
// data plus those game code adds): lookup, adding, copying, assigning and
// deleting. Indices are never reused by the table itself.
#pragma once

#include <cstdint>

#include "motion/path_class.h"
#include "common/value.h"

// The path at ind, null when the slot is missing or empty.
CPath* Path_Get(int32_t ind);
bool Path_Exists(int32_t ind);
// "<undefined>" when missing.
VString Path_Name(int32_t ind);
// First existing path with exactly that name, -1 when none.
int32_t Path_Find(const VString& name);
// Appends a new empty path named "__newpath" + its index; returns the index.
int32_t Path_Add();
// Appends a copy of ind; -1 when ind does not exist.
int32_t Path_Duplicate(int32_t ind);
// Copies source into ind (creating the entry when empty); false unless the
// source exists and 0 <= ind < count.
bool Path_Assign(int32_t ind, int32_t source);
// Frees the path and empties its slot; false when there was none.
bool Path_Delete(int32_t ind);
