// save_game.cpp: the save and load operations with their messages, putting
// a read game in effect, and the game_save / game_load builtins.
#include "world/save_game.h"

#include <filesystem>
#include <new>

#include "code/builtin_variables.h"
#include "code/code_error.h"
#include "code/code_function.h"
#include "code/code_variable.h"
#include "graphics/screen_frame.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "common/support_file.h"
#include "common/support_stream.h"
#include "world/cursor_sprite.h"
#include "world/function_keys.h"
#include "world/instance_list.h"

namespace {

// A name "contains a path" when it holds either separator.
bool HasPath(const std::string& name) { return name.find_first_of("\\/") != std::string::npos; }

// Game code may use "\" as well as "/" between folders.
std::string HostPath(std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

void ReportLoadFailure(const std::string& file_name) {
  Error_Show_Action("Failed to load game from file " + file_name, false);
}

bool ReadFile(const std::string& path, CStream& s) {
  try {
    return s.LoadFromFile(path);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void F_GameSave(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (SaveGame_Hook) SaveGame_Hook(ToUtf8(args[0].str));
}

// Loading happens after the step, through the pending transition.
void F_GameLoad(RValue&, CInstance*, CInstance*, int, RValue* args) {
  Runner_RequestLoad(ToUtf8(args[0].str));
}

}  // namespace

void SaveGame_Apply(RSavedGame&& game) {
  g_GameGlobals.transition_kind = game.transition_kind;
  g_GameGlobals.score = game.score;
  g_GameGlobals.lives = game.lives;
  g_GameGlobals.health = game.health;
  Cursor_Sprite() = game.cursor_sprite;
  RunnerForm().step_counter = game.step_counter;
  Screen_SetAutomaticDraw(game.automatic_draw);
  if (game.has_globals) {
    Variable_Globals() = std::move(game.globals);
    g_VariableDeclaredGlobal = std::move(game.declared_global);
  }
  RoomRuntime_Replace(std::move(game.rooms), game.current_room);
  Instance_LastId() = game.last_instance_id;
  Tile_LastId() = game.last_tile_id;
}

bool SaveGame_Save(const std::string& file_name) {
  if (Secure_Mode() && HasPath(file_name)) {
    Error_Show_Action("In secure mode you cannot save game to file " + file_name, false);
    return false;
  }
  bool written = false;
  try {
    CStream image;
    SaveGame_WriteStream(image);
    written = File_WriteAtomic(HostPath(file_name), image.Data(), image.Size());
  } catch (const std::bad_alloc&) {
    written = false;
  }
  if (!written) Error_Show_Action("Failed to save game to file " + file_name, false);
  return written;
}

bool SaveGame_Load(const std::string& file_name) {
  const std::string path = HostPath(file_name);
  std::error_code error;
  if (file_name.empty() || !std::filesystem::exists(path, error)) return false;
  CStream image;
  if (!ReadFile(path, image)) {
    ReportLoadFailure(file_name);
    return false;
  }
  RSavedGame game;
  switch (SaveGame_ReadStream(image, Game().game_id, game)) {
    case SaveGameRead::Ok:
      break;
    case SaveGameRead::OtherVersion:
      Error_Show_Action("Cannot load game saved with other version.", false);
      return false;
    case SaveGameRead::OtherGame:
      Error_Show_Action("This is a save file for a different game!", false);
      return false;
    case SaveGameRead::Damaged:
      ReportLoadFailure(file_name);
      return false;
  }
  SaveGame_Apply(std::move(game));
  return true;
}

void SaveGame_RegisterBuiltins() {
  Function_Add("game_save", F_GameSave, 1);
  Function_Add("game_load", F_GameLoad, 1);
}
