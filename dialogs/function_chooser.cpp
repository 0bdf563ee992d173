// function_chooser.cpp: the choosers of game code drawn by the runner:
// show_menu, show_menu_pos and get_color.
#include <cmath>

#include "code/code_error_state.h"
#include "code/code_function.h"
#include "common/value.h"
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
  };
  for (const Entry& e : kEntries)
    if (Function_Find(e.name) < 0) Function_Add(e.name, e.routine, e.argc);
}
