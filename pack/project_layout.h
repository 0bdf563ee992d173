// project_layout.h: the names and places shared by the project reader and
// writer: the folder of each resource kind, resource names as file names,
// event type names, sound kind names, and the list of every piece of game
// code in a project with where it was written (for --check and the
// compiler).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/value.h"

// The folders of the resource kinds, in the order of the game data.
inline constexpr const char* kSoundsDir = "sounds";
inline constexpr const char* kSpritesDir = "sprites";
inline constexpr const char* kBackgroundsDir = "backgrounds";
inline constexpr const char* kPathsDir = "paths";
inline constexpr const char* kScriptsDir = "scripts";
inline constexpr const char* kFontsDir = "fonts";
inline constexpr const char* kTimelinesDir = "timelines";
inline constexpr const char* kObjectsDir = "objects";
inline constexpr const char* kRoomsDir = "rooms";
inline constexpr const char* kManifestName = "game.json";
inline constexpr int kProjectFormatVersion = 1;

// A resource name as a file name: letters, digits, '_', '-' and '.' (not
// first) stay, every other byte becomes %XX; the empty name is "%".
std::string FileNameOf(const VString& name);

// Event types 0..11 by name ("create", "destroy", "alarm", "step",
// "collision", "keyboard", "mouse", "other", "draw", "keypress",
// "keyrelease", "trigger").
const char* EventTypeName(int type);
// -1 when the name is not an event type.
int EventTypeFromName(const std::string& name);

// Sound kinds 0..3 ("normal", "background", "3d", "multimedia").
const char* SoundKindName(int kind);
int SoundKindFromName(const std::string& name);

// One piece of game code of a project and where its text starts.
struct CodeText {
  enum class Kind { Statements, Expression };
  Kind kind = Kind::Statements;
  std::string path;  // the file it was read from
  int line = 1;      // 1-based; 0 when only the file is known
  int column = 1;
  std::string text;  // as it goes into the game data (Latin-1 bytes)
  std::string what;  // e.g. "script scr_move", "code action 1 of obj_a create"
};
