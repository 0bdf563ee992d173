// dialog_error.cpp: the runtime error window and its list.
#include "dialogs/dialog_error.h"

#include "dialogs/dialog_modal.h"

namespace {
constexpr const char* kSeparator = "___________________________________________";
constexpr int kWidth = 600;
constexpr int kHeight = 400;
}  // namespace

TErrorForm& ErrorForm() {
  static TErrorForm form;
  return form;
}

void TErrorForm::Append(const std::string& text) {
  lines.emplace_back();
  lines.emplace_back(kSeparator);
  lines.emplace_back();
  for (char c : text) {
    if (c == '\r') lines.emplace_back();
    else if (c != '\n') lines.back() += c;
  }
}

std::string TErrorForm::ListText() const {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  return text;
}

TDialog TErrorForm::MakeDialog(bool fatal) {
  TDialog d;
  d.caption = "Error Messages";
  d.list = true;
  d.lines = lines;
  d.text_background = 0xFFFFFFFFu;
  d.buttons = {{"&Ignore", kErrorIgnore, !fatal},
               {"&Abort", kErrorAbort, true},
               {"C&lear", kErrorClear, true},
               {"&Copy", kErrorCopy, true}};
  d.default_button = 1;
  d.cancel_id = kErrorAbort;
  d.preferred_width = kWidth;
  d.preferred_height = kHeight;
  d.ScrollToEnd();
  d.on_button = [this](TDialog& dialog, int id) {
    if (id == kErrorClear) {
      lines.clear();
      dialog.lines.clear();
      dialog.top_line = 0;
      return false;
    }
    if (id == kErrorCopy) {
      // The list stays where it was scrolled to.
      DialogHost_SetClipboard(ListText());
      return false;
    }
    return true;
  };
  return d;
}

bool TErrorForm::Show(const std::string& text, bool fatal) {
  Append(text);
  TDialog dialog = MakeDialog(fatal);
  return Dialog_Run(dialog) == kErrorIgnore;
}

bool ErrorForm_Show(const std::string& text, bool fatal) { return ErrorForm().Show(text, fatal); }
