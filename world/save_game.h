// save_game.h: saved games. A saved game is one stream image of the whole
// running game: the game-wide values, the global variables, every live room
// state with its active and deactivated instances and its tiles, and the
// instance and tile id counters. Saving builds the image in memory and
// writes it crash-safe (the old file or the new one survives a crash, never
// a torn one). Loading reads the whole image into a new state first and
// replaces the running game only when every record was read, so a damaged
// file leaves the game exactly as it was. Loading raises no event.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "code/variable_class.h"
#include "world/room_runtime.h"

class CStream;

constexpr int32_t kSaveGameVersion = 540;
constexpr int32_t kSaveRoomVersion = 540;

// A whole game read from a saved-game image, not yet in effect.
struct RSavedGame {
  int32_t current_room = -1;
  int32_t transition_kind = 0;
  int32_t score = 0;
  int32_t lives = 0;
  double health = 0.0;
  int32_t cursor_sprite = -1;
  int32_t step_counter = 0;
  bool automatic_draw = true;
  // False when the globals block had another leading number: the running
  // globals and declared-global flags then stay as they are.
  bool has_globals = false;
  CVariableList globals;
  std::vector<bool> declared_global;
  RLiveRoomTable rooms;
  int32_t last_instance_id = 0;
  int32_t last_tile_id = 0;
};

enum class SaveGameRead {
  Ok,
  OtherVersion,  // the leading version is not 540
  OtherGame,     // written by a game with another game id
  Damaged,       // truncated or inconsistent after the header checks
};

// Appends the image of the running game to s, in the order of the layout.
void SaveGame_WriteStream(CStream& s);
// Reads an image for the game with game_id into out. Nothing outside out is
// touched. A count or length larger than the bytes that remain fails before
// anything is allocated for it; so does a current room without a live state
// or without a room resource, and a room record with another version.
SaveGameRead SaveGame_ReadStream(CStream& s, int32_t game_id, RSavedGame& out);
// Puts a read game in effect: the live room table, the current room with
// its instances, the globals, the game-wide values and the id counters.
// The window region follows the room. No event is raised.
void SaveGame_Apply(RSavedGame&& game);

// The save operation (F5, game_save): in secure mode a name with "\" or "/"
// is refused; failures are reported as non-fatal action errors. True when
// the file was written.
bool SaveGame_Save(const std::string& file_name);
// The load operation (F6 at once, game_load through the pending transition
// at the end of the step): a missing file does nothing; an unreadable,
// damaged, other-version or other-game file is reported and changes
// nothing. True when the game was loaded.
bool SaveGame_Load(const std::string& file_name);

// Registers game_save and game_load (called from World_RegisterBuiltins).
void SaveGame_RegisterBuiltins();
