// dialog_input.cpp: how a TDialog answers input: mouse clicks on buttons,
// the close box and the scroll bar, the wheel, Enter (the focused or default
// button), Esc and the close button (cancel), Tab (next button), Alt+letter
// accelerators (a plain letter too when there is no edit field), the
// scrolling keys, and typing into the edit field.
#include <algorithm>

#include "dialogs/dialog_box.h"

namespace {

// Virtual-key codes of the keys a dialog uses.
enum : int {
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyEnter = 13,
  kKeyAlt = 18,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyUp = 38,
  kKeyDown = 40,
};

constexpr int kWheelLines = 3;
constexpr size_t kEditLimit = 1024;

bool IsAcceleratorKey(int key) { return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'); }

}  // namespace

void TDialog::HandleEvent(const PlatformEvent& event) {
  if (closed) return;
  switch (event.kind) {
    case PlatformEvent::Close:
      Cancel();
      break;
    case PlatformEvent::KeyDown:
      KeyDown(event.key);
      break;
    case PlatformEvent::KeyUp:
      if (event.key == kKeyAlt) alt_held_ = false;
      break;
    case PlatformEvent::TextChar:
      if (edit && !alt_held_ && event.key >= 32 && edit_text.size() < kEditLimit)
        edit_text += static_cast<char16_t>(event.key);
      break;
    case PlatformEvent::MouseDown:
      if (event.button == 1) MouseDown(event.x, event.y);
      break;
    case PlatformEvent::MouseUp:
      if (event.button == 1) MouseUp(event.x, event.y);
      break;
    case PlatformEvent::MouseMove:
      MouseMove(event.x, event.y);
      break;
    case PlatformEvent::MouseWheel:
      ScrollBy(-event.wheel * kWheelLines);
      break;
    case PlatformEvent::FocusLost:
      alt_held_ = false;
      break;
    default:
      break;
  }
}

void TDialog::KeyDown(int key) {
  const int page = std::max(layout_.visible_lines - 1, 1);
  switch (key) {
    case kKeyAlt: alt_held_ = true; return;
    case kKeyEnter: Press(FocusedButton() >= 0 ? FocusedButton() : default_button); return;
    case kKeyEscape: Cancel(); return;
    case kKeyTab: MoveFocus(); return;
    case kKeyUp: ScrollBy(-1); return;
    case kKeyDown: ScrollBy(1); return;
    case kKeyPageUp: ScrollBy(-page); return;
    case kKeyPageDown: ScrollBy(page); return;
    default: break;
  }
  if (edit) {
    if (key == kKeyBackspace && !edit_text.empty()) edit_text.pop_back();
  } else {
    if (key == kKeyHome) ScrollBy(-kToEnd);
    if (key == kKeyEnd) ScrollBy(kToEnd);
    if (key == kKeySpace) Press(FocusedButton());
  }
  if (IsAcceleratorKey(key) && (alt_held_ || !edit)) Press(ButtonForLetter(static_cast<char16_t>(key)));
}

void TDialog::MoveFocus() {
  const int count = static_cast<int>(buttons.size());
  int index = FocusedButton();
  for (int step = 0; step < count; ++step) {
    index = (index + 1 + count) % count;
    if (buttons[index].visible) {
      focus = index;
      return;
    }
  }
}

void TDialog::MouseDown(int x, int y) {
  const TDialogLayout& l = layout_;
  if (l.close_box.Contains(x, y)) {
    close_pressed_ = true;
    return;
  }
  for (size_t i = 0; i < l.buttons.size(); ++i)
    if (l.buttons[i].Contains(x, y)) {
      pressed_ = static_cast<int>(i);
      focus = pressed_;
      return;
    }
  if (!l.scroll_bar.Contains(x, y)) return;
  const int page = std::max(l.visible_lines - 1, 1);
  if (l.scroll_up.Contains(x, y)) ScrollBy(-1);
  else if (l.scroll_down.Contains(x, y)) ScrollBy(1);
  else if (l.thumb.Contains(x, y)) drag_offset_ = y - l.thumb.y;
  else ScrollBy(y < l.thumb.y ? -page : page);
}

void TDialog::MouseUp(int x, int y) {
  const TDialogLayout& l = layout_;
  const int pressed = pressed_;
  const bool close_pressed = close_pressed_;
  pressed_ = -1;
  close_pressed_ = false;
  drag_offset_ = -1;
  if (close_pressed && l.close_box.Contains(x, y)) Cancel();
  else if (pressed >= 0 && l.buttons[pressed].Contains(x, y)) Press(pressed);
}

void TDialog::MouseMove(int x, int y) {
  if (drag_offset_ >= 0) DragThumbTo(y);
  hover_ = -1;
  for (size_t i = 0; i < layout_.buttons.size(); ++i)
    if (layout_.buttons[i].Contains(x, y)) hover_ = static_cast<int>(i);
}

// The thumb follows the pointer: its top goes where the grab point says,
// and the first visible line follows in proportion.
void TDialog::DragThumbTo(int y) {
  const TDialogLayout& l = layout_;
  const int track_top = l.scroll_up.y + l.scroll_up.h;
  const int travel = l.scroll_down.y - track_top - l.thumb.h;
  if (travel <= 0) return;
  const int offset = std::clamp(y - drag_offset_ - track_top, 0, travel);
  top_line = (offset * MaxTopLine() + travel / 2) / travel;
  PlaceScrollBar();
}
