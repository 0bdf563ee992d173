// dialog_box.h: TDialog, one modal dialog of the runner's own toolkit: what
// it shows (caption bar with close box, a text or a text list with a
// vertical scroll bar, an edit field, buttons with & accelerators and a
// default button), where everything lies for a given client size, and how
// it answers input events. Pure logic: no window, no clock, so tests drive
// it with synthetic events. dialog_draw.h renders it, dialog_modal.h runs it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "motion/bitmap32.h"
#include "platform/window.h"

class TDialogFont;

struct TDialogRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  bool Empty() const { return w <= 0 || h <= 0; }
};

struct TDialogButton {
  std::string caption;  // '&' marks the accelerator letter, "&&" is a plain '&'
  int id = 0;           // the answer when this button closes the dialog
  bool visible = true;
};

// Where everything lies, in client (window) pixels. Rectangles of hidden
// parts are empty.
struct TDialogLayout {
  TDialogRect dialog, caption_bar, close_box, text_area, scroll_bar, scroll_up, scroll_down,
      thumb, edit;
  std::vector<TDialogRect> buttons;   // parallel to TDialog::buttons
  std::vector<std::string> lines;     // the text as shown (wrapped unless a list)
  int visible_lines = 0;
  int line_height = 0;
};

class TDialog {
 public:
  // What a pressed button does; returning false keeps the dialog open (Clear,
  // Copy). Null: every button closes the dialog with its id.
  using Action = std::function<bool(TDialog& dialog, int id)>;

  // --- What it shows (set before running) ---
  std::string caption;
  std::vector<std::string> lines;  // UTF-8 text, one entry per paragraph or list line
  bool list = false;               // a bordered list in the monospace face, lines never wrap
  TColor32 text_background = 0xFFF0F0F0u;  // behind the text (white for a list)
  TColor32 text_colour = 0xFF000000u;
  std::vector<TDialogButton> buttons;
  int default_button = -1;  // index: Enter, the first focus and the headless answer
  int cancel_id = 0;        // answer of Esc and of the close box
  bool edit = false;        // an edit field below the text
  std::u16string edit_text;
  int preferred_width = 0, preferred_height = 0;  // 0: fit the content
  int left = -1, top = -1;                        // -1: centred in the client area
  Action on_button;

  // --- Look (the message settings of game code); null fonts: the toolkit's ---
  std::shared_ptr<const TDialogFont> text_font, button_font, input_font;
  TColor32 button_text_colour = 0xFF000000u;
  TColor32 input_colour = 0xFFFFFFFFu;    // behind the edit field's text
  TColor32 input_text_colour = 0xFF000000u;
  TColor32 hover_colour = 0;              // button face under the pointer; 0: unchanged
  std::shared_ptr<const TBitmap32> background;  // stretched behind the text; null: none
  std::shared_ptr<const TBitmap32> button_image;  // stretched over each button face
  bool show_caption = true;               // false: no caption bar (and no close box)
  double alpha = 1.0;                     // opacity of the whole dialog, 0..1

  // --- State ---
  int top_line = 0;  // first visible line
  int focus = -1;    // focused button (-1: the default one)
  bool closed = false;
  int answer = 0;

  // Computes the layout for a client area of the given size and clamps the
  // scroll position to it. Call before drawing and before input.
  void Layout(int client_width, int client_height);
  const TDialogLayout& layout() const { return layout_; }

  // Feeds one input event (after Layout). Sets closed and answer when the
  // dialog ends.
  void HandleEvent(const PlatformEvent& event);

  // Scrolling in lines; ScrollToEnd holds until the next Layout.
  void ScrollBy(int delta);
  void ScrollToEnd() { top_line = kToEnd; }
  int MaxTopLine() const;

  // Presses the button at index (closes or runs on_button), or cancels.
  void Press(int index);
  void Cancel();
  // The answer when nobody is there to choose: the default button's id.
  int DefaultAnswer() const;
  // The index of the button whose accelerator is letter (any case), or -1.
  int ButtonForLetter(char16_t letter) const;
  int FocusedButton() const;
  // The button under a held mouse button, or -1.
  int PressedButton() const { return pressed_; }
  // The button under the pointer, or -1.
  int HoverButton() const { return hover_; }
  const TDialogFont& TextFont() const;
  const TDialogFont& ButtonFont() const;
  const TDialogFont& InputFont() const;

  static constexpr int kToEnd = 1 << 30;

 private:
  int CaptionHeight() const;
  int ButtonHeight() const;
  int EditHeight() const;
  int ButtonWidth(const TDialogButton& button) const;
  void PlaceButtons(int bottom);
  void PlaceScrollBar();
  void MouseDown(int x, int y);
  void MouseUp(int x, int y);
  void MouseMove(int x, int y);
  void KeyDown(int key);
  void MoveFocus();
  void DragThumbTo(int y);

  TDialogLayout layout_;
  int client_width_ = 0, client_height_ = 0;
  int pressed_ = -1;            // button under a held mouse button
  bool close_pressed_ = false;  // close box under a held mouse button
  int drag_offset_ = -1;        // thumb grab point while dragging, -1 when not
  bool alt_held_ = false;
  int hover_ = -1;
};

// Accelerator of a caption: the upper-case character after a single '&', or
// 0 when it has none.
char16_t Dialog_Accelerator(std::string_view caption);
// The caption as shown ('&' marks removed, "&&" shown as '&') and the byte
// offset of the accelerator character in it (-1 when none).
std::string Dialog_CaptionText(std::string_view caption, int* accelerator_at = nullptr);
// Word wraps paragraphs to width pixels; a word wider than a line is broken
// between characters. An empty paragraph stays an empty line.
std::vector<std::string> Dialog_Wrap(const std::vector<std::string>& paragraphs,
                                     const TDialogFont& font, int width);
// Splits text at line breaks: CR LF, a lone CR or a lone LF each end a line.
std::vector<std::string> Dialog_SplitLines(std::string_view text);
