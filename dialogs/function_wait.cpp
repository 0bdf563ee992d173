// function_wait.cpp: waiting for the player and the direct input queries:
// keyboard_wait and mouse_wait (the window keeps processing its messages
// while they wait), io_handle, keyboard_check_direct and the num-lock
// state. Headless runs have nobody to wait for: the waits return at once.
#include <chrono>
#include <cmath>
#include <thread>

#include "code/code_function.h"
#include "common/value.h"
#include "dialogs/dialog_modal.h"
#include "platform/window.h"
#include "world/input_state.h"
#include "world/run_main.h"

namespace {

constexpr auto kWaitSlice = std::chrono::milliseconds(50);

int32_t Int(const RValue& v) { return v.IsReal() && std::isfinite(v.val) ? ToInt32(v.val) : 0; }

// Processes window messages every 50 ms until done() holds. Ends too when
// the game window is gone, so a closed window never leaves the game hanging.
// Waits have no text of their own, so nothing is printed for them.
template <typename Done>
void WaitFor(Done done) {
  if (Dialog_Headless() || !Platform_Window().MainIsOpen()) return;
  for (;;) {
    Run_ProcessMessages();
    if (done() || !Platform_Window().MainIsOpen()) return;
    std::this_thread::sleep_for(kWaitSlice);
  }
}

void F_KeyboardWait(RValue&, CInstance*, CInstance*, int, RValue*) {
  Input().last_key = 0;
  WaitFor([] { return Input().last_key != 0; });
}

void F_MouseWait(RValue&, CInstance*, CInstance*, int, RValue*) {
  Input().last_button = 0;
  WaitFor([] { return Input().last_button != 0; });
}

void F_IoHandle(RValue&, CInstance*, CInstance*, int, RValue*) { Run_ProcessMessages(); }

void F_CheckDirect(RValue& r, CInstance*, CInstance*, int, RValue* a) {
  r = RValue::Real(DialogHost_KeyIsDown(Int(a[0])) ? 1.0 : 0.0);
}

void F_GetNumlock(RValue& r, CInstance*, CInstance*, int, RValue*) {
  r = RValue::Real(DialogHost_NumLock() ? 1.0 : 0.0);
}

void F_SetNumlock(RValue&, CInstance*, CInstance*, int, RValue* a) {
  const bool on = a[0].IsReal() && IsTrue(a[0].val);
  if (on != DialogHost_NumLock()) DialogHost_SetNumLock(on);
}

}  // namespace

void Dialogs_RegisterWaitFunctions() {
  struct Entry {
    const char* name;
    BuiltinFunction routine;
    int argc;
  };
  static constexpr Entry kEntries[] = {
      {"keyboard_wait", F_KeyboardWait, 0},       {"mouse_wait", F_MouseWait, 0},
      {"io_handle", F_IoHandle, 0},               {"keyboard_check_direct", F_CheckDirect, 1},
      {"keyboard_get_numlock", F_GetNumlock, 0},  {"keyboard_set_numlock", F_SetNumlock, 1},
  };
  for (const Entry& e : kEntries)
    if (Function_Find(e.name) < 0) Function_Add(e.name, e.routine, e.argc);
}
