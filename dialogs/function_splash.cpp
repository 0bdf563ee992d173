// function_splash.cpp: the splash functions of game code: text (plain or
// rich text), image and web-page splashes and their settings. A missing file is a
// non-fatal error with the action library's message.
#include <algorithm>
#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <fstream>
#include <cstdio>
#include <iterator>
#include <thread>

#include "code/code_error.h"
#include "code/code_error_state.h"
#include "code/code_function.h"
#include "common/value.h"
#include "dialogs/dialog_modal.h"
#include "dialogs/dialog_rtf.h"
#include "dialogs/dialog_splash.h"
#include "dialogs/dialogs_builtins.h"
#include "motion/image_load.h"
#include "runner/game_data.h"

extern char** environ;

namespace {

int32_t Int(const RValue& v) { return v.IsReal() && std::isfinite(v.val) ? ToInt32(v.val) : 0; }
bool Truth(const RValue& v) { return v.IsReal() && IsTrue(v.val); }

void ClearInput() {
  if (Code_ClearInputHook != nullptr) Code_ClearInputHook();
}

void F_SplashText(RValue&, CInstance*, CInstance*, int, RValue* a) {
  const std::string name = ToUtf8(ValueText(a[0]));
  std::ifstream in(name, std::ios::binary);
  if (!in) {
    Error_Show_Action("Text file not found.", false);
    return;
  }
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<std::string> lines = Dialog_SplitLines(Rtf_PlainText(raw));
  TSplashView view(Splash_Settings(), lines, Int(a[1]));
  Dialog_RunSplash(view, lines);
  ClearInput();
}

void F_SplashImage(RValue&, CInstance*, CInstance*, int, RValue* a) {
  const std::string name = ToUtf8(ValueText(a[0]));
  TBitmap32 image;
  if (!Image_LoadFile(name, image) || image.Empty()) {
    Error_Show_Action("Image file not found.", false);
    return;
  }
  TSplashView view(Splash_Settings(), std::move(image), Int(a[1]));
  Dialog_RunSplash(view, {name});
  ClearInput();
}

// A web page opens in the desktop's browser (xdg-open, started without a
// shell so the address is never interpreted); refused in secure mode.
// Headless runs print the address and open nothing.
void F_SplashWeb(RValue&, CInstance*, CInstance*, int, RValue* a) {
  const std::string url = ToUtf8(ValueText(a[0]));
  if (Secure_Mode()) {
    Error_Show_Action("In secure mode you cannot open webpages.", false);
    return;
  }
  if (url.empty()) {
    Error_Show_Action("Web page not found.", false);
    return;
  }
  if (Dialog_Headless()) {
    std::fprintf(stderr, "%s\n", url.c_str());
    std::fflush(stderr);
    return;
  }
  std::string program = "xdg-open";
  char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
    Error_Show_Action("Failed to open the webpage.", false);
    return;
  }
  // Some openers keep running as long as the browser does: the game goes
  // on, and a thread of its own reaps the opener when it ends.
  std::thread([pid] {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }).detach();
}

template <bool RSplashSettings::*Flag>
void SetFlag(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Splash_Settings().*Flag = Truth(a[0]);
}

void F_SetColor(RValue&, CInstance*, CInstance*, int, RValue* a) { Splash_Settings().colour = Int(a[0]); }
void F_SetCaption(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Splash_Settings().caption = ToUtf8(ValueText(a[0]));
}
void F_SetSize(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Splash_Settings().width = std::max(Int(a[0]), 1);
  Splash_Settings().height = std::max(Int(a[1]), 1);
}
void F_SetPosition(RValue&, CInstance*, CInstance*, int, RValue* a) {
  Splash_Settings().x = Int(a[0]);
  Splash_Settings().y = Int(a[1]);
}

}  // namespace

void Dialogs_RegisterSplashFunctions() {
  struct Entry {
    const char* name;
    BuiltinFunction routine;
    int argc;
  };
  static constexpr Entry kEntries[] = {
      {"splash_show_text", F_SplashText, 2},
      {"splash_show_image", F_SplashImage, 2},
      {"splash_show_web", F_SplashWeb, 2},
      {"splash_set_main", SetFlag<&RSplashSettings::main>, 1},
      {"splash_set_scale", SetFlag<&RSplashSettings::scale>, 1},
      {"splash_set_cursor", SetFlag<&RSplashSettings::cursor>, 1},
      {"splash_set_color", F_SetColor, 1},
      {"splash_set_caption", F_SetCaption, 1},
      {"splash_set_fullscreen", SetFlag<&RSplashSettings::fullscreen>, 1},
      {"splash_set_border", SetFlag<&RSplashSettings::border>, 1},
      {"splash_set_size", F_SetSize, 2},
      {"splash_set_position", F_SetPosition, 2},
      {"splash_set_adapt", SetFlag<&RSplashSettings::adapt>, 1},
      {"splash_set_top", SetFlag<&RSplashSettings::top>, 1},
      {"splash_set_interrupt", SetFlag<&RSplashSettings::interrupt>, 1},
      {"splash_set_stop_key", SetFlag<&RSplashSettings::stop_key>, 1},
      {"splash_set_stop_mouse", SetFlag<&RSplashSettings::stop_mouse>, 1},
      {"splash_set_close_button", SetFlag<&RSplashSettings::close_button>, 1},
  };
  for (const Entry& e : kEntries)
    if (Function_Find(e.name) < 0) Function_Add(e.name, e.routine, e.argc);
}
