// score_functions.h: the high-score operations shared by game code and the
// score actions: the process-wide display settings, the table of the
// running game, showing it with name entry, and drawing it into the room.
#pragma once

#include <string>

#include "common/value.h"
#include "scores/score_table.h"

// Display settings; they last for the run and are never saved.
struct RScoreSettings {
  int background = -1;
  bool border = true;
  int window_colour = 15793151;  // game colour: red FF, green FB, blue F0
  int new_colour = 255;
  int other_colour = 0;
  VString font = u"Times New Roman";
  int font_size = 12;
  int font_style = 0;  // 0 regular, 1 bold, 2 italic, 3 bold italic
  VString caption = u"Top Ten Players";
  VString nobody = u"<nobody>";
  VString hint = u"press <Escape> to close";
};

RScoreSettings& Score_Settings();
// Back to the defaults (game start, tests).
void Score_ResetSettings();
// 0..3 set the style; any other value leaves it.
void Score_SetFontStyle(int style);

// The running game's table in the process-wide settings store.
TScoreTable Score_Table();

// Inserts score with an empty name, shows the window in which the player
// names the rank reached, stores the typed name, then clears the input
// state. Returns the rank reached or -1.
int Score_Show(int32_t score);
// When the game's score beats rank 10, asks the player's name (default
// "player") and inserts it; then clears the input state.
void Score_AddCurrent();
// Draws the ten ranks into the room in the current font, colour and
// alignment: names at x1, scores right-aligned to end at x1 + (x2 - x1).
void Score_Draw(double x1, double y1, double x2, double y2);
