// dialog_host.cpp: the few host services the dialogs need beyond the window
// interface: the host's message box with custom buttons (the stand-in
// before the game window exists), the client size of the game window and
// the clipboard. The only dialog file that talks to SDL.
#include <SDL.h>

#include <vector>

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
