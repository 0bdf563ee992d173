// function_chooser.cpp: the choosers of game code drawn by the runner:
// show_menu, show_menu_pos, get_color, and the file and folder browsers of
// get_open_filename, get_save_filename, get_directory and
// get_directory_alt (the chosen path, or "" after Cancel).
#include <cmath>

#include "code/code_error_state.h"
#include "code/code_function.h"
#include "common/value.h"
#include "dialogs/dialog_files.h"
#include "dialogs/dialog_menu.h"
#include "dialogs/dialogs_builtins.h"
#include "platform/window.h"

namespace {

int32_t Int(const RValue& v) { return v.IsReal() && std::isfinite(v.val) ? ToInt32(v.val) : 0; }

void ClearInput() {
  if (Code_ClearInputHook != nullptr) Code_ClearInputHook();
}

int Menu(const RValue& text, int x, int y, const RValue& def) {
  TDialogMenu menu(Dialog_MenuItems(ToUtf8(ValueText(text))), x, y);
  const int answer = Dialog_RunMenu(menu, Int(def));
  ClearInput();
  return answer;
}

// At the mouse position in the window.
void F_ShowMenu(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  int x = 0, y = 0;
  if (Platform_Window().MainIsOpen()) Platform_Window().GetMouse(x, y);
  r = RValue::Real(Menu(a[0], x, y, a[1]));
}

// At a screen position: moved into the window's client area.
void F_ShowMenuPos(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  int cx = 0, cy = 0, cw = 0, ch = 0;
  if (Platform_Window().MainIsOpen()) Platform_Window().GetClientRect(cx, cy, cw, ch);
  r = RValue::Real(Menu(a[2], Int(a[0]) - cx, Int(a[1]) - cy, a[3]));
}

void F_GetColor(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = RValue::Real(Dialog_RunColorChooser(Int(a[0])));
  ClearInput();
}

RValue Browse(TFileBrowser::Mode mode, const std::string& caption, const RValue& filter,
              const RValue& start) {
  TFileBrowser browser(mode, caption, ToUtf8(ValueText(filter)), ToUtf8(ValueText(start)));
  const std::string chosen = Dialog_RunFileBrowser(browser);
  ClearInput();
  return RValue::String(FromUtf8(chosen));
}

void F_GetOpenFilename(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = Browse(TFileBrowser::Mode::Open, "Open", a[0], a[1]);
}
void F_GetSaveFilename(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = Browse(TFileBrowser::Mode::Save, "Save As", a[0], a[1]);
}
void F_GetDirectory(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = Browse(TFileBrowser::Mode::Directory, "Select Directory", RValue::String(u""), a[0]);
}
void F_GetDirectoryAlt(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  const std::string caption = ToUtf8(ValueText(a[0]));
  r = Browse(TFileBrowser::Mode::Directory, caption.empty() ? "Select Directory" : caption,
             RValue::String(u""), a[1]);
}

}  // namespace

void Dialogs_RegisterChooserFunctions() {
  struct Entry {
    const char* name;
    BuiltinFunction routine;
    int argc;
  };
  static constexpr Entry kEntries[] = {
      {"show_menu", F_ShowMenu, 2},
      {"show_menu_pos", F_ShowMenuPos, 4},
      {"get_color", F_GetColor, 1},
      {"get_open_filename", F_GetOpenFilename, 2},
      {"get_save_filename", F_GetSaveFilename, 2},
      {"get_directory", F_GetDirectory, 1},
      {"get_directory_alt", F_GetDirectoryAlt, 2},
  };
  for (const Entry& e : kEntries)
    if (Function_Find(e.name) < 0) Function_Add(e.name, e.routine, e.argc);
}
