// function_dialog.cpp: the message and input dialogs of game code:
// show_message, show_question, get_string, get_integer and show_info. Each
// waits for the player in the runner's own modal dialog (headless: prints
// its text to standard error and takes the default answer at once), then
// clears the input state so that keys pressed in the dialog do not reach
// the game.
#include <cmath>
#include <cstdlib>
#include <string>

#include "code/code_error_state.h"
#include "code/code_function.h"
#include "dialogs/dialog_gameinfo.h"
#include "dialogs/dialog_modal.h"
#include "dialogs/dialogs_builtins.h"
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

TDialog MessageDialog(const RValue& text) {
  TDialog d;
  d.caption = RunnerForm().app_title;
  d.lines = MessageLines(text);
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
  };
  for (const Entry& e : kEntries)
    if (Function_Find(e.name) < 0) Function_Add(e.name, e.routine, e.argc);
}
