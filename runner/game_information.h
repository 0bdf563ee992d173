// game_information.h: the game information block (the help text window's
// settings and its rich text), with its stored form.
#pragma once

#include <cstdint>
#include <string>

#include "common/value.h"

class CStream;

class CGameInformation {
 public:
  int32_t background_color = 0xFFFFFF;
  bool embed = false;  // shown inside the game window
  VString caption;
  int32_t left = -1, top = -1, width = 600, height = 400;
  bool border = true;
  bool sizeable = true;
  bool stay_on_top = false;
  bool modal = true;  // the game waits while it is shown
  std::string text;   // rich text, as stored

  void Clear() { *this = CGameInformation(); }
  // The block inside the section's compressed stream (no version of its
  // own; the section carries it).
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
