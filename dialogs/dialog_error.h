// dialog_error.h: TErrorForm, the runtime error window ("Error Messages"):
// a read-only list in the monospace face with a vertical scroll bar that
// keeps every error shown in the run, and the buttons Ignore (only for a
// non-fatal error), Abort (the default), Clear and Copy.
#pragma once

#include <string>
#include <vector>

#include "dialogs/dialog_box.h"

// Button ids of the error window.
enum : int { kErrorIgnore = 1, kErrorAbort = 2, kErrorClear = 3, kErrorCopy = 4 };

class TErrorForm {
 public:
  // Lives for the whole run of the program; restarting the game keeps it.
  std::vector<std::string> lines;

  // Appends an empty line, the separator line and the text split at
  // carriage returns (line feeds dropped).
  void Append(const std::string& text);
  // The window as a dialog over the current list, scrolled to its end.
  // Clear and Copy act on this form and keep the window open.
  TDialog MakeDialog(bool fatal);
  // The whole list as text, lines joined with CR LF.
  std::string ListText() const;
  // Appends, shows modally; true only when closed with Ignore.
  bool Show(const std::string& text, bool fatal);
};

TErrorForm& ErrorForm();

// The error window hook of the runtime error routine.
bool ErrorForm_Show(const std::string& text, bool fatal);
