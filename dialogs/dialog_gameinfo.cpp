// dialog_gameinfo.cpp: the game information window.
#include "dialogs/dialog_gameinfo.h"

#include "code/code_error_state.h"

#include "dialogs/dialog_modal.h"
#include "dialogs/dialog_rtf.h"
#include "runner/game_data.h"
#include "runner/game_information.h"

namespace {

// Colours of game data have red in the lowest byte.
TColor32 OpaqueColour(int32_t colour) {
  const uint32_t c = static_cast<uint32_t>(colour);
  return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

std::string ExpandTabs(const std::string& line) {
  std::string out;
  for (char c : line) out += c == '\t' ? std::string("    ") : std::string(1, c);
  return out;
}

}  // namespace

TDialog GameInfo_MakeDialog(const CGameInformation& info) {
  TDialog d;
  d.caption = info.caption.empty() ? "Game Information" : ToUtf8(info.caption);
  for (const std::string& line : Dialog_SplitLines(Rtf_PlainText(info.text)))
    d.lines.push_back(ExpandTabs(line));
  d.text_background = OpaqueColour(info.background_color);
  d.preferred_width = info.width > 0 ? info.width : 600;
  d.preferred_height = info.height > 0 ? info.height : 400;
  d.left = info.left;
  d.top = info.top;
  return d;
}

void GameInfo_Show() {
  TDialog dialog = GameInfo_MakeDialog(Game().game_information);
  Dialog_Run(dialog);
  // Keys pressed while the window was open do not reach the game.
  if (Code_ClearInputHook != nullptr) Code_ClearInputHook();
}
