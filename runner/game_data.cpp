// game_data.cpp: the process-wide game, the settings block's stored form,
// the room order walk and the secure-mode flag.
#include "runner/game_data.h"

#include <algorithm>

namespace {
bool g_secure_mode = false;

std::shared_ptr<RBitmap> ReadSharedBitmap(CStream& s) {
  return std::shared_ptr<RBitmap>(s.ReadBitmap());
}
}  // namespace

void GameSettings::LoadFromStream(CStream& s) {
  full_screen = s.ReadBoolean();
  interpolate = s.ReadBoolean();
  no_border = s.ReadBoolean();
  show_cursor = s.ReadBoolean();
  scale = s.ReadInteger();
  sizeable = s.ReadBoolean();
  stay_on_top = s.ReadBoolean();
  window_color = s.ReadInteger();
  set_display_mode = s.ReadBoolean();
  color_depth = s.ReadInteger();
  resolution = s.ReadInteger();
  frequency = s.ReadInteger();
  no_caption_buttons = s.ReadBoolean();
  synchronization = s.ReadBoolean();
  no_screen_saver = s.ReadBoolean();
  f4_switches_screen = s.ReadBoolean();
  f1_shows_information = s.ReadBoolean();
  esc_ends_game = s.ReadBoolean();
  f5_saves_f6_loads = s.ReadBoolean();
  f9_screenshot = s.ReadBoolean();
  close_button_as_esc = s.ReadBoolean();
  priority = s.ReadInteger();
  freeze_when_inactive = s.ReadBoolean();
  show_progress_bar = s.ReadBoolean();
  if (show_progress_bar) {
    bar_back_image = ReadSharedBitmap(s);
    bar_front_image = ReadSharedBitmap(s);
  }
  loading_image = ReadSharedBitmap(s);
  image_transparent = s.ReadBoolean();
  image_alpha = s.ReadInteger();
  stretch_bar = s.ReadBoolean();
  show_errors = s.ReadBoolean();
  log_errors = s.ReadBoolean();
  abort_on_errors = s.ReadBoolean();
  code_flags = s.ReadInteger();
}

void GameSettings::SaveToStream(CStream& s) const {
  s.WriteBoolean(full_screen);
  s.WriteBoolean(interpolate);
  s.WriteBoolean(no_border);
  s.WriteBoolean(show_cursor);
  s.WriteInteger(scale);
  s.WriteBoolean(sizeable);
  s.WriteBoolean(stay_on_top);
  s.WriteInteger(window_color);
  s.WriteBoolean(set_display_mode);
  s.WriteInteger(color_depth);
  s.WriteInteger(resolution);
  s.WriteInteger(frequency);
  s.WriteBoolean(no_caption_buttons);
  s.WriteBoolean(synchronization);
  s.WriteBoolean(no_screen_saver);
  s.WriteBoolean(f4_switches_screen);
  s.WriteBoolean(f1_shows_information);
  s.WriteBoolean(esc_ends_game);
  s.WriteBoolean(f5_saves_f6_loads);
  s.WriteBoolean(f9_screenshot);
  s.WriteBoolean(close_button_as_esc);
  s.WriteInteger(priority);
  s.WriteBoolean(freeze_when_inactive);
  s.WriteBoolean(show_progress_bar);
  if (show_progress_bar) {
    s.WriteBitmap(bar_back_image.get());
    s.WriteBitmap(bar_front_image.get());
  }
  s.WriteBitmap(loading_image.get());
  s.WriteBoolean(image_transparent);
  s.WriteInteger(image_alpha);
  s.WriteBoolean(stretch_bar);
  s.WriteBoolean(show_errors);
  s.WriteBoolean(log_errors);
  s.WriteBoolean(abort_on_errors);
  s.WriteInteger(code_flags);
}

void CGameData::Clear() {
  day_count = 0;
  debug_mode = false;
  seconds = 0;
  settings = GameSettings();
  support_library_name.clear();
  support_library.clear();
  edition = 0;
  game_id = 0;
  guid.fill(0);
  extensions.Clear();
  triggers.Clear();
  constants.clear();
  sounds.Clear();
  sprites.Clear();
  backgrounds.Clear();
  paths.Clear();
  scripts.Clear();
  fonts.Clear();
  timelines.Clear();
  objects.Clear();
  rooms.Clear();
  last_instance_id = 0;
  last_tile_id = 0;
  included_files.Clear();
  game_information.Clear();
  library_init_code.clear();
  room_order.clear();
}

int32_t CGameData::RoomFirst() const { return room_order.empty() ? -1 : room_order.front(); }

int32_t CGameData::RoomLast() const { return room_order.empty() ? -1 : room_order.back(); }

int32_t CGameData::RoomNext(int32_t room) const {
  if (!rooms.Exists(room)) return -1;
  auto it = std::find(room_order.begin(), room_order.end(), room);
  if (it == room_order.end() || it + 1 == room_order.end()) return -1;
  return *(it + 1);
}

int32_t CGameData::RoomPrevious(int32_t room) const {
  if (!rooms.Exists(room)) return -1;
  auto it = std::find(room_order.begin(), room_order.end(), room);
  if (it == room_order.end() || it == room_order.begin()) return -1;
  return *(it - 1);
}

int CGameData::IncludedFileFind(const VString& fname) const { return included_files.Find(fname); }

CGameData& Game() {
  static CGameData game;
  return game;
}

bool Secure_Mode() { return g_secure_mode; }
void Secure_SetMode(bool on) { g_secure_mode = on; }
