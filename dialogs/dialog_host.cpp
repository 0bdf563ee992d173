// dialog_host.cpp: the few host services the dialogs need beyond the window
// interface: the host's message box with custom buttons (the stand-in
// before the game window exists), the client size of the game window and
// the clipboard. The only dialog file that talks to SDL.
#include <SDL.h>

#include <vector>

#include "platform/sdl/sdl_keys.h"
#include "platform/window.h"
#include "dialogs/dialog_modal.h"

namespace {

// Message boxes work without the video subsystem; the window size and the
// clipboard need it started, which the game window has done.
bool VideoStarted() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }

// A host box cannot scroll: of a long list it shows the end, where the
// newest lines are.
constexpr size_t kBoxListLines = 40;

std::string BoxText(const TDialog& dialog) {
  const std::vector<std::string>& lines = dialog.lines;
  size_t first = dialog.list && lines.size() > kBoxListLines ? lines.size() - kBoxListLines : 0;
  std::string text;
  for (size_t i = first; i < lines.size(); ++i) text += (i > first ? "\n" : "") + lines[i];
  return text;
}

}  // namespace

bool DialogHost_MessageBox(const TDialog& dialog, int& answer) {
  std::vector<SDL_MessageBoxButtonData> buttons;
  std::vector<std::string> captions;
  captions.reserve(dialog.buttons.size());
  for (size_t i = 0; i < dialog.buttons.size(); ++i) {
    const TDialogButton& b = dialog.buttons[i];
    if (!b.visible) continue;
    captions.push_back(Dialog_CaptionText(b.caption));
    Uint32 flags = static_cast<int>(i) == dialog.default_button
                       ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
    if (b.id == dialog.cancel_id) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    buttons.push_back({flags, b.id, nullptr});
  }
  for (size_t i = 0; i < buttons.size(); ++i) buttons[i].text = captions[i].c_str();
  if (buttons.empty()) {
    captions.push_back("OK");
    buttons.push_back({SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                       dialog.cancel_id, captions.back().c_str()});
  }
  const std::string text = BoxText(dialog);
  SDL_MessageBoxData data{};
  data.flags = SDL_MESSAGEBOX_INFORMATION;
  data.window = static_cast<SDL_Window*>(Platform_Window().NativeMainWindow());
  data.title = dialog.caption.c_str();
  data.message = text.c_str();
  data.numbuttons = static_cast<int>(buttons.size());
  data.buttons = buttons.data();
  int chosen = dialog.cancel_id;
  if (SDL_ShowMessageBox(&data, &chosen) != 0) return false;
  // -1: closed without a button (the window manager's close).
  answer = chosen == -1 ? dialog.cancel_id : chosen;
  return true;
}

bool DialogHost_ClientSize(int& width, int& height) {
  auto* window = static_cast<SDL_Window*>(Platform_Window().NativeMainWindow());
  if (window == nullptr || !VideoStarted()) return false;
  SDL_GetWindowSize(window, &width, &height);
  return width > 0 && height > 0;
}

bool DialogHost_SetClipboard(const std::string& text) {
  return VideoStarted() && SDL_SetClipboardText(text.c_str()) == 0;
}

bool DialogHost_KeyIsDown(int key) {
  if (!VideoStarted()) return key == 0;
  SDL_PumpEvents();
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  const SDL_Keymod mods = SDL_GetModState();
  // The generic Shift, Control and Alt codes stand for either side.
  if (key == 16) return (mods & KMOD_SHIFT) != 0;
  if (key == 17) return (mods & KMOD_CTRL) != 0;
  if (key == 18) return (mods & KMOD_ALT) != 0;
  bool any = false;
  for (int sc = 0; sc < count; ++sc) {
    if (!state[sc]) continue;
    const int vk = SdlScancodeToVirtualKey(static_cast<SDL_Scancode>(sc));
    if (vk == 0) continue;
    any = true;
    if (vk == key) return true;
  }
  if (key == 0) return !any;
  return key == 1 && any;
}

// SDL keeps the lock state as it sees it from the window system's key
// messages; it needs no started subsystem.
bool DialogHost_NumLock() { return (SDL_GetModState() & KMOD_NUM) != 0; }

void DialogHost_SetNumLock(bool on) {
  const SDL_Keymod mods = SDL_GetModState();
  SDL_SetModState(static_cast<SDL_Keymod>(on ? (mods | KMOD_NUM) : (mods & ~KMOD_NUM)));
}
