// game_data.h: the loaded game: the settings block, the header values and
// one table per resource kind (indexed from 0, with a parallel name table;
// a missing resource is a null slot), held by the process-wide CGameData.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/sound_class.h"
#include "code/script_class.h"
#include "files/extension_class.h"
#include "graphics/background_class.h"
#include "graphics/font_class.h"
#include "motion/path_class.h"
#include "motion/sprite_class.h"
#include "runner/datafile_class.h"
#include "runner/game_information.h"
#include "common/support_stream.h"
#include "common/value.h"
#include "world/object_class.h"
#include "world/room_class.h"
#include "world/timeline_class.h"
#include "world/trigger_class.h"

// The game settings block, each field with its value before the block is
// read.
struct GameSettings {
  bool full_screen = false;
  bool interpolate = false;
  bool no_border = false;
  bool show_cursor = true;
  int32_t scale = 100;  // region scale in percent
  bool sizeable = false;
  bool stay_on_top = false;
  int32_t window_color = 0xFFFFFF;
  bool set_display_mode = false;
  int32_t color_depth = 0;  // 0 unchanged, 1 16 bits, 2 32 bits
  int32_t resolution = 0;   // 0 unchanged, 1 320x240 .. 6 1600x1200
  int32_t frequency = 0;    // 0 unchanged, 1 60 .. 5 120 Hz
  bool no_caption_buttons = false;
  bool synchronization = false;
  bool no_screen_saver = true;
  bool f4_switches_screen = true;
  bool f1_shows_information = true;
  bool esc_ends_game = true;
  bool f5_saves_f6_loads = true;
  bool f9_screenshot = true;
  bool close_button_as_esc = true;
  int32_t priority = 0;  // 0 normal, 1 above normal, 2 high
  bool freeze_when_inactive = false;
  bool show_progress_bar = true;
  // Present only when show_progress_bar; null: the built-in image.
  std::shared_ptr<RBitmap> bar_back_image;
  std::shared_ptr<RBitmap> bar_front_image;
  std::shared_ptr<RBitmap> loading_image;  // null: the built-in image
  bool image_transparent = false;
  int32_t image_alpha = 255;
  bool stretch_bar = true;
  bool show_errors = true;
  bool log_errors = false;
  bool abort_on_errors = false;
  // Bit 0: unassigned variables read as 0; bit 1: strict argument counts.
  int32_t code_flags = 2;

  // The block's contents (inside its compressed stream).
  void LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};

// A table of one resource kind.
template <class T>
class ResourceTable {
 public:
  std::vector<std::unique_ptr<T>> items;  // null for a missing resource
  std::vector<VString> names;

  int Count() const { return static_cast<int>(items.size()); }
  bool Exists(int index) const { return Get(index) != nullptr; }
  T* Get(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items[static_cast<size_t>(index)].get();
  }
  // The first existing resource with that name, -1 when none.
  int Find(const VString& name) const {
    for (int i = 0; i < Count(); ++i)
      if (items[static_cast<size_t>(i)] && names[static_cast<size_t>(i)] == name) return i;
    return -1;
  }
  // "<undefined>" for an index out of range or missing.
  VString Name(int index) const {
    if (!Exists(index)) return u"<undefined>";
    return names[static_cast<size_t>(index)];
  }
  void Clear() {
    items.clear();
    names.clear();
  }
  void Resize(int n) {
    items.resize(static_cast<size_t>(n));
    names.resize(static_cast<size_t>(n));
  }
  // Appends and returns the new index.
  int Add(std::unique_ptr<T> item, VString name) {
    items.push_back(std::move(item));
    names.push_back(std::move(name));
    return Count() - 1;
  }
  // Frees the resource and empties its slot and name; false when missing.
  bool Delete(int index) {
    if (!Exists(index)) return false;
    items[static_cast<size_t>(index)].reset();
    names[static_cast<size_t>(index)].clear();
    return true;
  }
};

// A game constant as stored: its name and the text of its value.
struct RConstant {
  VString name;
  VString value;
};

class CGameData {
 public:
  // Header.
  int32_t day_count = 0;
  bool debug_mode = false;
  int32_t seconds = 0;
  GameSettings settings;
  VString support_library_name;
  std::vector<uint8_t> support_library;
  int32_t edition = 0;
  int32_t game_id = 0;
  std::array<uint8_t, 16> guid{};

  // The 16 sections.
  ResourceTable<CExtensionPackage> extensions;  // names: s_name
  ResourceTable<CTrigger> triggers;             // names: i_name
  std::vector<RConstant> constants;
  ResourceTable<CSound> sounds;
  ResourceTable<CSprite> sprites;
  ResourceTable<CBackground> backgrounds;
  ResourceTable<CPath> paths;
  ResourceTable<CScript> scripts;
  ResourceTable<CFont> fonts;
  ResourceTable<CTimeLine> timelines;
  ResourceTable<CObject> objects;
  ResourceTable<CRoom> rooms;
  int32_t last_instance_id = 0;
  int32_t last_tile_id = 0;
  ResourceTable<CDataFile> included_files;  // names: s_filename
  CGameInformation game_information;
  std::vector<VString> library_init_code;
  std::vector<int32_t> room_order;

  // Empties every table and restores every default.
  void Clear();

  // Room order: -1 when the order is empty, the room is not in it, or it has
  // no neighbour on that side.
  int32_t RoomFirst() const;
  int32_t RoomLast() const;
  int32_t RoomNext(int32_t room) const;
  int32_t RoomPrevious(int32_t room) const;

  // Included files by file name (-1 when none).
  int IncludedFileFind(const VString& fname) const;
};

// The process-wide game.
CGameData& Game();

// Secure mode, decided once at start-up from the player's preferences.
bool Secure_Mode();
void Secure_SetMode(bool on);
