// function_score.cpp: the high-score table of game code: display settings,
// the table in the settings store, the modal window with name entry, and
// draw_highscore.
#include <cmath>

#include "code/builtin_variables.h"
#include "code/code_error_state.h"
#include "code/code_function.h"
#include "dialogs/dialog_highscore.h"
#include "dialogs/dialog_modal.h"
#include "graphics/background_class.h"
#include "graphics/text_draw.h"
#include "graphics/text_layout.h"
#include "platform/settings_store.h"
#include "runner/game_data.h"
#include "scores/score_functions.h"
#include "scores/scores_builtins.h"

namespace {

RScoreSettings g_settings;

void ClearInput() {
  if (Code_ClearInputHook != nullptr) Code_ClearInputHook();
}

// Arguments: numbers rounded to integers (a string counts as 0), text as
// its text form.
int32_t Int(const RValue& v) { return v.IsReal() && std::isfinite(v.val) ? ToInt32(v.val) : 0; }
double Real(const RValue& v) { return v.IsReal() ? v.val : 0.0; }
bool Truth(const RValue& v) { return v.IsReal() && IsTrue(v.val); }

RHighscoreLook Look(const TBitmap32* background) {
  const RScoreSettings& s = g_settings;
  RHighscoreLook look;
  look.background = background;
  look.border = s.border;
  look.window = Color32FromGameColor(s.window_colour);
  look.new_entry = Color32FromGameColor(s.new_colour);
  look.other = Color32FromGameColor(s.other_colour);
  look.font = ToUtf8(s.font);
  look.font_size = s.font_size;
  look.bold = s.font_style == 1 || s.font_style == 3;
  look.italic = s.font_style == 2 || s.font_style == 3;
  look.caption = ToUtf8(s.caption);
  look.hint = ToUtf8(s.hint);
  return look;
}

// The player's name for a rank reached: the input dialog of get_string,
// with OK keeping the typed text and Cancel the default.
VString AskName() {
  TDialog d;
  d.caption = "Highscore";
  d.lines = Dialog_SplitLines("You reached a place in the highscore table.\rPlease provide your name.");
  d.edit = true;
  d.edit_text = u"player";
  d.buttons = {{"OK", 1}, {"Cancel", 0}};
  d.default_button = 0;
  d.cancel_id = 0;
  return Dialog_Run(d) == 1 ? d.edit_text : VString(u"player");
}

void F_Show(RValue&, CInstance*, CInstance*, int, RValue* a) { Score_Show(Int(a[0])); }

void F_ShowExt(RValue&, CInstance*, CInstance*, int, RValue* a) {
  g_settings.background = Int(a[1]);
  g_settings.border = Truth(a[2]);
  g_settings.new_colour = Int(a[3]);
  g_settings.other_colour = Int(a[4]);
  g_settings.font = ValueText(a[5]);
  g_settings.font_size = Int(a[6]);
  Score_Show(Int(a[0]));
}

void F_SetBackground(RValue&, CInstance*, CInstance*, int, RValue* a) {
  g_settings.background = Int(a[0]);
}
void F_SetBorder(RValue&, CInstance*, CInstance*, int, RValue* a) { g_settings.border = Truth(a[0]); }
void F_SetFont(RValue&, CInstance*, CInstance*, int, RValue* a) {
  g_settings.font = ValueText(a[0]);
  g_settings.font_size = Int(a[1]);
  Score_SetFontStyle(Int(a[2]));
}
void F_SetStrings(RValue&, CInstance*, CInstance*, int, RValue* a) {
  g_settings.caption = ValueText(a[0]);
  g_settings.nobody = ValueText(a[1]);
  g_settings.hint = ValueText(a[2]);
}
void F_SetColors(RValue&, CInstance*, CInstance*, int, RValue* a) {
  g_settings.window_colour = Int(a[0]);
  g_settings.new_colour = Int(a[1]);
  g_settings.other_colour = Int(a[2]);
}
void F_Clear(RValue&, CInstance*, CInstance*, int, RValue*) { Score_Table().Clear(); }
void F_Add(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Score_Table().Insert(ValueText(a[0]), Int(a[1]));
}
void F_AddCurrent(RValue&, CInstance*, CInstance*, int, RValue*) { Score_AddCurrent(); }
void F_Value(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = RValue::Real(Score_Table().Read(Int(a[0])).score);
}
void F_Name(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = RValue::String(Score_Table().Read(Int(a[0])).name);
}
void F_Draw(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Score_Draw(Real(a[0]), Real(a[1]), Real(a[2]), Real(a[3]));
}

}  // namespace

RScoreSettings& Score_Settings() { return g_settings; }
void Score_ResetSettings() { g_settings = RScoreSettings{}; }
void Score_SetFontStyle(int style) {
  if (style >= 0 && style <= 3) g_settings.font_style = style;
}

TScoreTable Score_Table() { return TScoreTable(Settings_Store(), Game().game_id, g_settings.nobody); }

int Score_Show(int32_t score) {
  TScoreTable table = Score_Table();
  const int rank = table.Insert(VString(), score);
  std::vector<RHighscoreRow> rows;
  for (int r = 1; r <= kScoreRanks; ++r) {
    RScoreEntry e = table.Read(r);
    rows.push_back({std::move(e.name), e.score});
  }
  const CBackground* back = Game().backgrounds.Get(g_settings.background);
  THighscoreWindow window(Look(back != nullptr ? &back->i_bitmap : nullptr), std::move(rows), rank);
  Dialog_RunHighscore(window);
  if (rank > 0) table.Write(rank, {window.typed(), table.Read(rank).score});
  ClearInput();
  return rank;
}

void Score_AddCurrent() {
  TScoreTable table = Score_Table();
  const int32_t score = g_GameGlobals.score;
  if (score > table.Read(kScoreRanks).score) table.Insert(AskName(), score);
  ClearInput();
}

void Score_Draw(double x1, double y1, double x2, double y2) {
  TScoreTable table = Score_Table();
  const int32_t h = ToInt32((y2 - y1) / 10.0), w = ToInt32(x2 - x1);
  const int32_t left = ToInt32(x1), top = ToInt32(y1);
  const CFont& font = Text_CurrentFont();
  for (int i = 1; i <= kScoreRanks; ++i) {
    const RScoreEntry e = table.Read(i);
    const double y = top + (i - 1) * static_cast<double>(h);
    Text_Draw(left, y, e.name, -1, -1, RTextTransform{});
    const VString text = FromAscii(std::to_string(e.score).c_str());
    const int32_t width = Text_LayoutWidth(font, Text_Layout(font, text, -1));
    Text_Draw(static_cast<double>(left) + w - width, y, text, -1, -1, RTextTransform{});
  }
}

void Scores_RegisterBuiltins() {
  struct Entry {
    const char* name;
    BuiltinFunction routine;
    int argc;
  };
  static constexpr Entry kEntries[] = {
      {"highscore_show", F_Show, 1},
      {"highscore_show_ext", F_ShowExt, 7},
      {"highscore_set_background", F_SetBackground, 1},
      {"highscore_set_border", F_SetBorder, 1},
      {"highscore_set_font", F_SetFont, 3},
      {"highscore_set_strings", F_SetStrings, 3},
      {"highscore_set_colors", F_SetColors, 3},
      {"highscore_clear", F_Clear, 0},
      {"highscore_add", F_Add, 2},
      {"highscore_add_current", F_AddCurrent, 0},
      {"highscore_value", F_Value, 1},
      {"highscore_name", F_Name, 1},
      {"draw_highscore", F_Draw, 4},
  };
  for (const Entry& e : kEntries)
    if (Function_Find(e.name) < 0) Function_Add(e.name, e.routine, e.argc);
}
