// dialog_menu.h: the pop-up menu of show_menu and show_menu_pos, a view of
// the modal loop: items one under the other at a point of the client area
// (moved inside it when it would stick out), the item under the pointer or
// chosen with the arrow keys highlighted; a click or Enter chooses, Escape
// or a click outside closes with no choice. An item "-" is a separator.
#pragma once

#include <string>
#include <vector>

#include "dialogs/dialog_box.h"
#include "dialogs/dialog_modal.h"

class TDialogMenu : public TModalView {
 public:
  TDialogMenu(std::vector<std::string> items, int x, int y);

  void Layout(int client_width, int client_height);
  const std::vector<TDialogRect>& item_rects() const { return rects_; }
  const TDialogRect& frame() const { return frame_; }
  void Draw(TBitmap32& frame) override;
  void HandleEvent(const PlatformEvent& event) override;
  void Resize(int width, int height) override { Layout(width, height); }
  bool Closed() const override { return closed_; }

  // The chosen item's index, or -1 when none was chosen.
  int chosen() const { return chosen_; }
  int highlighted() const { return highlight_; }
  const std::vector<std::string>& items() const { return items_; }

 private:
  bool Selectable(int index) const;
  void Move(int step);

  std::vector<std::string> items_;
  int x_, y_;
  std::vector<TDialogRect> rects_;
  TDialogRect frame_;
  int highlight_ = -1;
  int chosen_ = -1;
  bool closed_ = false;
};

// Items of a menu text: the pieces between '|' characters.
std::vector<std::string> Dialog_MenuItems(const std::string& text);

// Shows the menu modally; returns the chosen index, or def when nothing was
// chosen. Headless, or with no game window, it prints the items to standard
// error and returns def at once.
int Dialog_RunMenu(TDialogMenu& menu, int def);

// The colour chooser of get_color: a grid of swatches (the starting colour
// selected when it is one of them, else added as the last one) with OK and
// Cancel. Click a swatch to select it, the arrow keys move the selection,
// Enter or OK gives the selected colour, Escape or Cancel the start colour.
class TColorChooser : public TModalView {
 public:
  explicit TColorChooser(int start_colour);  // a game colour (red lowest)

  void Layout(int client_width, int client_height);
  void Draw(TBitmap32& frame) override;
  void HandleEvent(const PlatformEvent& event) override;
  void Resize(int width, int height) override { Layout(width, height); }
  bool Closed() const override { return closed_; }

  // The answer: the selected colour after OK, the start colour otherwise.
  int result() const { return ok_ ? colours_[selected_] : start_; }
  const std::vector<TDialogRect>& swatches() const { return swatch_rects_; }
  const TDialogRect& ok_button() const { return ok_rect_; }
  const TDialogRect& cancel_button() const { return cancel_rect_; }
  static constexpr int kColumns = 8;

 private:
  int start_;
  std::vector<int> colours_;
  int selected_ = 0;
  bool ok_ = false, closed_ = false;
  TDialogRect frame_, caption_, close_box_, ok_rect_, cancel_rect_;
  std::vector<TDialogRect> swatch_rects_;
};

// Shows the chooser modally; headless (or with no game window) it answers
// the start colour at once.
int Dialog_RunColorChooser(int start_colour);
