// dialog_files.h: the file and folder browser of get_open_filename,
// get_save_filename, get_directory and get_directory_alt, a view of the
// modal loop. It lists the current folder (".." and the subfolders, then
// the files that match the filter), with the name being typed below.
// Up and Down select, a click selects and a second click on the selected
// entry opens it, Enter opens a selected folder or accepts, Backspace and
// typing edit the name, Escape and Cancel give the empty answer.
#pragma once

#include <string>
#include <vector>

#include "dialogs/dialog_box.h"
#include "dialogs/dialog_modal.h"

class TFileBrowser : public TModalView {
 public:
  enum class Mode { Open, Save, Directory };
  // filter: "description|pattern|description|pattern..." (patterns such as
  // "*.txt;*.ini"); the first pair applies, an empty one shows every file.
  // start: a file or folder name; its folder (or the working directory)
  // is listed first and its file part prefills the name.
  TFileBrowser(Mode mode, std::string caption, const std::string& filter, const std::string& start);

  void Layout(int client_width, int client_height);
  void Draw(TBitmap32& frame) override;
  void HandleEvent(const PlatformEvent& event) override;
  void Resize(int width, int height) override { Layout(width, height); }
  bool Closed() const override { return closed_; }

  // The chosen full path ("" after Cancel); a folder ends with '/'.
  const std::string& result() const { return result_; }
  const std::string& caption() const { return caption_; }
  const std::string& folder() const { return folder_; }
  const std::vector<std::string>& entries() const { return entries_; }  // folders end with '/'
  const std::string& name() const { return name_; }
  int selected() const { return selected_; }
  const std::vector<TDialogRect>& rows() const { return row_rects_; }

 private:
  void Read();
  void Enter(const std::string& folder);
  void Activate();  // Enter / OK
  void Select(int index);

  Mode mode_;
  std::string caption_;
  std::vector<std::string> patterns_;
  std::string folder_, name_, result_;
  std::vector<std::string> entries_;
  int selected_ = -1, top_ = 0;
  bool closed_ = false;
  TDialogRect frame_, bar_, close_box_, list_, edit_, ok_, cancel_;
  std::vector<TDialogRect> row_rects_;  // visible rows, from top_
};

// Shows the browser modally; headless (or with no game window) it prints
// its caption to standard error and answers "" at once.
std::string Dialog_RunFileBrowser(TFileBrowser& browser);
