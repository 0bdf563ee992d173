// dialog_highscore.h: the high-score window, a view of the modal loop. It
// lists the ten ranks with their scores; the rank just reached shows the
// name being typed followed by a caret "|". Escape or Enter closes it;
// while a rank is being named, Backspace removes the last character and
// every character from code 32 up is appended. Pure logic and software
// drawing, so tests drive it with synthetic events.
#pragma once

#include <string>
#include <vector>

#include "dialogs/dialog_box.h"
#include "dialogs/dialog_font.h"
#include "dialogs/dialog_modal.h"

struct RHighscoreLook {
  const TBitmap32* background = nullptr;  // stretched over the inside; null for none
  bool border = true;                      // a dialog frame with caption bar, else none
  TColor32 window = Color32(0xF0, 0xFB, 0xFF);
  TColor32 new_entry = Color32(0xFF, 0, 0);
  TColor32 other = Color32(0, 0, 0);
  std::string font = "Times New Roman";
  int font_size = 12;
  bool bold = false, italic = false;
  std::string caption = "Top Ten Players";
  std::string hint = "press <Escape> to close";
};

struct RHighscoreRow {
  std::u16string name;
  int score = 0;
};

// Where the window's parts lie for a client size, in client pixels.
struct RHighscoreLayout {
  TDialogRect window, caption_bar, close_box, inside;
  std::vector<TDialogRect> names, scores;  // one per row
  TDialogRect hint;
};

class THighscoreWindow : public TModalView {
 public:
  THighscoreWindow(RHighscoreLook look, std::vector<RHighscoreRow> rows, int new_rank);

  void Layout(int client_width, int client_height);
  const RHighscoreLayout& layout() const { return layout_; }
  void Draw(TBitmap32& frame) override;
  void HandleEvent(const PlatformEvent& event) override;
  void Resize(int width, int height) override { Layout(width, height); }
  bool Closed() const override { return closed_; }

  // The name typed so far at the new rank.
  const std::u16string& typed() const { return typed_; }
  // The text the name label of a row shows (typed text and caret for the
  // new rank).
  std::string RowName(int index) const;

  // The window as text: caption, "rank. name  score" per row, hint.
  std::vector<std::string> TextLines() const;

  static constexpr size_t kNameLimit = 240;

 private:
  RHighscoreLook look_;
  std::vector<RHighscoreRow> rows_;
  int new_rank_;  // 1..10, or -1
  std::u16string typed_;
  bool closed_ = false;
  bool close_pressed_ = false;
  TDialogFont font_;
  RHighscoreLayout layout_;
};

// Shows the window modally. Headless, or with no game window, it prints
// the table to standard error and closes at once with nothing typed.
void Dialog_RunHighscore(THighscoreWindow& window);
