// function_dialog.cpp: the message and input dialogs of game code:
// show_message, show_message_ext, show_question, get_string, get_integer,
// show_info and load_info, and the message_* settings of their look. Each
// waits for the player in the runner's own modal dialog (headless: prints
// its text to standard error and takes the default answer at once), then
// clears the input state so that keys pressed in the dialog do not reach
// the game.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "code/code_error_state.h"
#include "code/code_function.h"
#include "dialogs/dialog_gameinfo.h"
#include "dialogs/dialog_modal.h"
#include "dialogs/dialog_font.h"
#include "dialogs/dialogs_builtins.h"
#include "graphics/background_class.h"
#include "motion/sprite_class.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "common/value.h"

namespace {

enum : int { kAnswerNo = 0, kAnswerYes = 1 };

// Message text as game code writes it: '#' breaks the line, "\#" is a
// plain '#'.
std::vector<std::string> MessageLines(const RValue& value) {
  const std::string text = ToUtf8(ValueText(value));
  std::string expanded;
  for (char c : text) {
    if (c != '#') expanded += c;
    else if (!expanded.empty() && expanded.back() == '\\') expanded.back() = '#';
    else expanded += '\n';
  }
  return Dialog_SplitLines(expanded);
}

// The look of messages, questions and input dialogs (message_*); it lasts
// for the run. Null fonts and images: the toolkit's own.
struct RMessageLook {
  int background = -1;  // background resource behind the text
  double alpha = 1.0;
  int button_sprite = -1;
  std::shared_ptr<const TDialogFont> text_font, button_font, input_font;
  TColor32 text_colour = 0xFF000000u, button_colour = 0xFF000000u, input_text_colour = 0xFF000000u;
  TColor32 mouse_colour = 0;  // 0: the toolkit's pressed look only
  TColor32 input_colour = 0xFFFFFFFFu;
  bool show_caption = true;
  std::string caption;  // empty: the application title
  int x = -1, y = -1;   // -1: centred
  int w = -1, h = -1;   // -1 (or 0): fitted to the content
};

RMessageLook& Look() {
  static RMessageLook look;
  return look;
}

int32_t Int(const RValue& v) { return v.IsReal() && std::isfinite(v.val) ? ToInt32(v.val) : 0; }

// A face of the message settings: name, size and style 0 regular, 1 bold,
// 2 italic, 3 bold italic. An empty name keeps the toolkit's face.
std::shared_ptr<const TDialogFont> MakeFont(const RValue& name, const RValue& size, const RValue& style) {
  const std::string face = ToUtf8(ValueText(name));
  if (face.empty()) return nullptr;
  auto font = std::make_shared<TDialogFont>();
  const int st = Int(style);
  font->Load(face, std::max(Int(size), 1), st == 1 || st == 3, st == 2 || st == 3);
  return font;
}

std::shared_ptr<const TBitmap32> FirstImage(const TBitmap32* image) {
  if (image == nullptr || image->Empty()) return nullptr;
  return std::make_shared<TBitmap32>(*image);
}

void ApplyLook(TDialog& d) {
  const RMessageLook& look = Look();
  if (const CBackground* back = Game().backgrounds.Get(look.background)) d.background = FirstImage(&back->i_bitmap);
  if (const CSprite* spr = Game().sprites.Get(look.button_sprite))
    d.button_image = FirstImage(spr->i_bitmap.empty() ? nullptr : &spr->i_bitmap[0]);
  d.alpha = look.alpha;
  d.text_font = look.text_font;
  d.button_font = look.button_font;
  d.input_font = look.input_font;
  d.text_colour = look.text_colour;
  d.button_text_colour = look.button_colour;
  d.input_text_colour = look.input_text_colour;
  d.input_colour = look.input_colour;
  d.hover_colour = look.mouse_colour;
  d.show_caption = look.show_caption;
  if (!look.caption.empty()) d.caption = look.caption;
  d.left = look.x;
  d.top = look.y;
  d.preferred_width = std::max(look.w, 0);
  d.preferred_height = std::max(look.h, 0);
}

TDialog MessageDialog(const RValue& text) {
  TDialog d;
  d.caption = RunnerForm().app_title;
  d.lines = MessageLines(text);
  ApplyLook(d);
  return d;
}

int RunAndClearInput(TDialog& dialog) {
  const int answer = Dialog_Run(dialog);
  if (Code_ClearInputHook != nullptr) Code_ClearInputHook();
  return answer;
}

// An edit dialog: OK (default) gives the typed text, Cancel and Esc the
// text the dialog started with.
VString AskText(const RValue& message, const VString& initial) {
  TDialog d = MessageDialog(message);
  d.edit = true;
  d.edit_text = initial;
  d.buttons = {{"OK", kAnswerYes}, {"Cancel", kAnswerNo}};
  d.default_button = 0;
  d.cancel_id = kAnswerNo;
  return RunAndClearInput(d) == kAnswerYes ? d.edit_text : initial;
}

// A number typed by the player: blanks around it allowed, nothing else.
bool ParseNumber(const VString& text, double& out) {
  const std::string utf8 = ToUtf8(text);
  const char* start = utf8.c_str();
  char* end = nullptr;
  out = std::strtod(start, &end);
  if (end == start) return false;
  while (*end == ' ') ++end;
  return *end == '\0' && std::isfinite(out);
}

void F_ShowMessage(RValue&, CInstance*, CInstance*, int, RValue* a) {
  TDialog d = MessageDialog(a[0]);
  d.buttons = {{"OK", kAnswerYes}};
  d.default_button = 0;
  d.cancel_id = kAnswerYes;
  RunAndClearInput(d);
}

// Up to three buttons with the texts given (empty texts leave their button
// out); the result is the number (1..3) of the button pressed, 0 for Esc
// and the close box. With no texts at all one "OK" button answers 0.
void F_ShowMessageExt(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  TDialog d = MessageDialog(a[0]);
  for (int i = 1; i <= 3; ++i) {
    const std::string text = ToUtf8(ValueText(a[i]));
    if (!text.empty()) d.buttons.push_back({text, i});
  }
  if (d.buttons.empty()) d.buttons.push_back({"OK", 0});
  d.default_button = 0;
  d.cancel_id = 0;
  r = RValue::Real(RunAndClearInput(d));
}

void F_ShowQuestion(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  TDialog d = MessageDialog(a[0]);
  d.buttons = {{"&Yes", kAnswerYes}, {"&No", kAnswerNo}};
  d.default_button = 0;
  d.cancel_id = kAnswerNo;
  r.val = RunAndClearInput(d) == kAnswerYes ? 1.0 : 0.0;
}

void F_GetString(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = RValue::String(AskText(a[0], ValueText(a[1])));
}

void F_GetInteger(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const double fallback = a[1].IsReal() ? a[1].val : 0.0;
  double value = 0.0;
  r.val = ParseNumber(AskText(a[0], ValueText(a[1])), value) ? value : fallback;
}

void F_ShowInfo(RValue&, CInstance*, CInstance*, int, RValue*) { GameInfo_Show(); }

// The game information text from a rich-text file; a file that cannot be
// read leaves the text as it was.
void F_LoadInfo(RValue&, CInstance*, CInstance*, int, RValue* a) {
  std::ifstream in(ToUtf8(ValueText(a[0])), std::ios::binary);
  if (!in) return;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.bad()) Game().game_information.text = std::move(text);
}

void F_MessageBackground(RValue&, CInstance*, CInstance*, int, RValue* a) { Look().background = Int(a[0]); }
void F_MessageAlpha(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Look().alpha = a[0].IsReal() && std::isfinite(a[0].val) ? std::clamp(a[0].val, 0.0, 1.0) : 1.0;
}
void F_MessageButton(RValue&, CInstance*, CInstance*, int, RValue* a) { Look().button_sprite = Int(a[0]); }
void F_MessageTextFont(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Look().text_font = MakeFont(a[0], a[1], a[3]);
  Look().text_colour = Color32FromGameColor(Int(a[2]));
}
void F_MessageButtonFont(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Look().button_font = MakeFont(a[0], a[1], a[3]);
  Look().button_colour = Color32FromGameColor(Int(a[2]));
}
void F_MessageInputFont(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Look().input_font = MakeFont(a[0], a[1], a[3]);
  Look().input_text_colour = Color32FromGameColor(Int(a[2]));
}
void F_MessageMouseColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Look().mouse_colour = Color32FromGameColor(Int(a[0]));
}
void F_MessageInputColor(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Look().input_colour = Color32FromGameColor(Int(a[0]));
}
void F_MessageCaption(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Look().show_caption = a[0].IsReal() && IsTrue(a[0].val);
  Look().caption = ToUtf8(ValueText(a[1]));
}
void F_MessagePosition(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Look().x = Int(a[0]);
  Look().y = Int(a[1]);
}
void F_MessageSize(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Look().w = Int(a[0]);
  Look().h = Int(a[1]);
}

}  // namespace

void Dialogs_RegisterBuiltins() {
  struct Entry {
    const char* name;
    BuiltinFunction routine;
    int argc;
  };
  static constexpr Entry kEntries[] = {
      {"show_message", F_ShowMessage, 1}, {"show_question", F_ShowQuestion, 1},
      {"get_string", F_GetString, 2},     {"get_integer", F_GetInteger, 2},
      {"show_info", F_ShowInfo, 0},
      {"show_message_ext", F_ShowMessageExt, 4},
      {"load_info", F_LoadInfo, 1},
      {"message_background", F_MessageBackground, 1},
      {"message_alpha", F_MessageAlpha, 1},
      {"message_button", F_MessageButton, 1},
      {"message_text_font", F_MessageTextFont, 4},
      {"message_button_font", F_MessageButtonFont, 4},
      {"message_input_font", F_MessageInputFont, 4},
      {"message_mouse_color", F_MessageMouseColor, 1},
      {"message_input_color", F_MessageInputColor, 1},
      {"message_caption", F_MessageCaption, 2},
      {"message_position", F_MessagePosition, 2},
      {"message_size", F_MessageSize, 2},
  };
  for (const Entry& e : kEntries)
    if (Function_Find(e.name) < 0) Function_Add(e.name, e.routine, e.argc);
  Dialogs_RegisterWaitFunctions();
  Dialogs_RegisterChooserFunctions();
  Dialogs_RegisterSplashFunctions();
}
