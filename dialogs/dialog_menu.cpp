// dialog_menu.cpp: layout, input and drawing of the pop-up menu.
#include "dialogs/dialog_menu.h"

#include <algorithm>
#include <cstdio>

#include "dialogs/dialog_draw.h"
#include "dialogs/dialog_font.h"

namespace {

enum : int { kKeyEnter = 13, kKeyEscape = 27, kKeyUp = 38, kKeyDown = 40 };

constexpr int kItemPad = 6;
constexpr int kSeparatorHeight = 7;
constexpr int kMinWidth = 80;
constexpr TColor32 kHighlight = 0xFF0078D7u;

}  // namespace

std::vector<std::string> Dialog_MenuItems(const std::string& text) {
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    const size_t bar = text.find('|', start);
    items.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) return items;
    start = bar + 1;
  }
}

TDialogMenu::TDialogMenu(std::vector<std::string> items, int x, int y)
    : items_(std::move(items)), x_(x), y_(y) {}

bool TDialogMenu::Selectable(int index) const {
  return index >= 0 && index < static_cast<int>(items_.size()) && items_[index] != "-";
}

void TDialogMenu::Layout(int cw, int ch) {
  const TDialogFont& font = Dialog_UiFont();
  const int item_h = font.LineHeight() + kItemPad;
  int width = kMinWidth, height = 2;
  for (const std::string& item : items_) {
    width = std::max(width, font.TextWidth(item) + 4 * kItemPad);
    height += item == "-" ? kSeparatorHeight : item_h;
  }
  width = std::min(width, std::max(cw, 1));
  const int x = std::clamp(x_, 0, std::max(cw - width, 0));
  const int y = std::clamp(y_, 0, std::max(ch - height, 0));
  frame_ = {x, y, width, height};
  rects_.clear();
  int top = y + 1;
  for (const std::string& item : items_) {
    const int h = item == "-" ? kSeparatorHeight : item_h;
    rects_.push_back({x + 1, top, width - 2, h});
    top += h;
  }
}

void TDialogMenu::Move(int step) {
  const int count = static_cast<int>(items_.size());
  int index = highlight_;
  for (int i = 0; i < count; ++i) {
    index = index < 0 ? (step > 0 ? 0 : count - 1) : (index + step + count) % count;
    if (Selectable(index)) {
      highlight_ = index;
      return;
    }
  }
}

void TDialogMenu::HandleEvent(const PlatformEvent& event) {
  if (closed_) return;
  auto item_at = [&](int x, int y) {
    for (size_t i = 0; i < rects_.size(); ++i)
      if (rects_[i].Contains(x, y)) return static_cast<int>(i);
    return -1;
  };
  switch (event.kind) {
    case PlatformEvent::Close:
      closed_ = true;
      break;
    case PlatformEvent::KeyDown:
      if (event.key == kKeyEscape) closed_ = true;
      else if (event.key == kKeyUp) Move(-1);
      else if (event.key == kKeyDown) Move(1);
      else if (event.key == kKeyEnter && Selectable(highlight_)) {
        chosen_ = highlight_;
        closed_ = true;
      }
      break;
    case PlatformEvent::MouseMove: {
      const int at = item_at(event.x, event.y);
      if (Selectable(at)) highlight_ = at;
      break;
    }
    case PlatformEvent::MouseUp: {
      const int at = item_at(event.x, event.y);
      if (Selectable(at)) {
        chosen_ = at;
        closed_ = true;
      } else if (!frame_.Contains(event.x, event.y)) {
        closed_ = true;  // a click outside the menu
      }
      break;
    }
    default:
      break;
  }
}

void TDialogMenu::Draw(TBitmap32& f) {
  if (f.Empty()) return;
  Layout(f.s_w, f.s_h);
  std::fill(f.s_data.begin(), f.s_data.end(), 0u);
  Dialog_Fill(f, frame_, kDialogListBack);
  Dialog_Frame(f, frame_, kDialogBorder);
  const TDialogFont& font = Dialog_UiFont();
  for (size_t i = 0; i < items_.size(); ++i) {
    const TDialogRect& r = rects_[i];
    if (items_[i] == "-") {
      Dialog_Fill(f, {r.x + 2, r.y + r.h / 2, r.w - 4, 1}, kDialogButtonBorder);
      continue;
    }
    const bool lit = static_cast<int>(i) == highlight_;
    if (lit) Dialog_Fill(f, r, kHighlight);
    font.Draw(f, r.x + 2 * kItemPad, r.y + kItemPad / 2 + 1, items_[i],
              lit ? 0xFFFFFFFFu : 0xFF000000u, {r.x, r.y, r.x + r.w, r.y + r.h});
  }
}

int Dialog_RunMenu(TDialogMenu& menu, int def) {
  if (Dialog_RunView(menu)) return menu.chosen() >= 0 ? menu.chosen() : def;
  for (const std::string& item : menu.items()) std::fprintf(stderr, "%s\n", item.c_str());
  std::fflush(stderr);
  return def;
}

namespace {

// Six rows of eight: greys, then full, dark, light and pale hues.
std::vector<int> Palette() {
  std::vector<int> out;
  const int greys[8] = {0x000000, 0x404040, 0x808080, 0xA0A0A0, 0xC0C0C0, 0xD8D8D8, 0xF0F0F0, 0xFFFFFF};
  for (int g : greys) out.push_back(g);
  const int hues[8][3] = {{255, 0, 0},   {255, 128, 0}, {255, 255, 0}, {0, 255, 0},
                          {0, 255, 255}, {0, 0, 255},   {128, 0, 255}, {255, 0, 255}};
  const double scales[4][2] = {{1.0, 0.0}, {0.5, 0.0}, {1.0, 0.5}, {1.0, 0.8}};  // factor, mix with white
  for (const auto& sc : scales)
    for (const auto& h : hues) {
      int c[3];
      for (int k = 0; k < 3; ++k) c[k] = static_cast<int>(h[k] * sc[0] * (1 - sc[1]) + 255 * sc[1] + 0.5);
      out.push_back(c[0] | (c[1] << 8) | (c[2] << 16));  // game colour: red lowest
    }
  return out;
}

constexpr int kSwatch = 22, kSwatchGap = 4, kPad = 10;

}  // namespace

TColorChooser::TColorChooser(int start_colour) : start_(start_colour), colours_(Palette()) {
  auto found = std::find(colours_.begin(), colours_.end(), start_colour & 0xFFFFFF);
  if (found == colours_.end()) {
    colours_.push_back(start_colour & 0xFFFFFF);
    found = colours_.end() - 1;
  }
  selected_ = static_cast<int>(found - colours_.begin());
}

void TColorChooser::Layout(int cw, int ch) {
  const TDialogFont& font = Dialog_UiFont();
  const int bar = font.LineHeight() + 8, button_h = font.LineHeight() + 10;
  const int rows = (static_cast<int>(colours_.size()) + kColumns - 1) / kColumns;
  const int w = 2 * kPad + kColumns * kSwatch + (kColumns - 1) * kSwatchGap;
  const int h = bar + 2 * kPad + rows * (kSwatch + kSwatchGap) + kPad + button_h;
  frame_ = {std::max((cw - w) / 2, 0), std::max((ch - h) / 2, 0), w, h};
  caption_ = {frame_.x + 1, frame_.y + 1, w - 2, bar - 1};
  close_box_ = {caption_.x + caption_.w - (bar - 8) - 4, caption_.y + 3, bar - 8, bar - 8};
  swatch_rects_.clear();
  for (size_t i = 0; i < colours_.size(); ++i) {
    const int col = static_cast<int>(i) % kColumns, row = static_cast<int>(i) / kColumns;
    swatch_rects_.push_back({frame_.x + kPad + col * (kSwatch + kSwatchGap),
                             frame_.y + bar + kPad + row * (kSwatch + kSwatchGap), kSwatch, kSwatch});
  }
  const int by = frame_.y + h - kPad - button_h, bw = 75;
  ok_rect_ = {frame_.x + w / 2 - bw - 4, by, bw, button_h};
  cancel_rect_ = {frame_.x + w / 2 + 4, by, bw, button_h};
}

void TColorChooser::HandleEvent(const PlatformEvent& e) {
  if (closed_) return;
  const int count = static_cast<int>(colours_.size());
  switch (e.kind) {
    case PlatformEvent::Close:
      closed_ = true;
      break;
    case PlatformEvent::KeyDown:
      if (e.key == kKeyEscape) closed_ = true;
      else if (e.key == kKeyEnter) ok_ = closed_ = true;
      else if (e.key == 37) selected_ = (selected_ + count - 1) % count;
      else if (e.key == 39) selected_ = (selected_ + 1) % count;
      else if (e.key == kKeyUp && selected_ >= kColumns) selected_ -= kColumns;
      else if (e.key == kKeyDown && selected_ + kColumns < count) selected_ += kColumns;
      break;
    case PlatformEvent::MouseUp:
      if (e.button != 1) break;
      for (int i = 0; i < count; ++i)
        if (swatch_rects_[i].Contains(e.x, e.y)) selected_ = i;
      if (ok_rect_.Contains(e.x, e.y)) ok_ = closed_ = true;
      if (cancel_rect_.Contains(e.x, e.y) || close_box_.Contains(e.x, e.y)) closed_ = true;
      break;
    default:
      break;
  }
}

void TColorChooser::Draw(TBitmap32& f) {
  if (f.Empty()) return;
  Layout(f.s_w, f.s_h);
  std::fill(f.s_data.begin(), f.s_data.end(), 0u);
  Dialog_Fill(f, frame_, kDialogFace);
  Dialog_Frame(f, frame_, kDialogBorder);
  Dialog_DrawCaptionBar(f, caption_, close_box_, "Color");
  for (size_t i = 0; i < colours_.size(); ++i) {
    const TDialogRect& r = swatch_rects_[i];
    Dialog_Fill(f, r, Color32FromGameColor(colours_[i]));
    const bool sel = static_cast<int>(i) == selected_;
    Dialog_Frame(f, {r.x - 2, r.y - 2, r.w + 4, r.h + 4}, sel ? kDialogFocusBorder : kDialogFace, 2);
    Dialog_Frame(f, r, kDialogButtonBorder);
  }
  const TDialogFont& font = Dialog_UiFont();
  const std::pair<const TDialogRect*, const char*> buttons[2] = {{&ok_rect_, "OK"}, {&cancel_rect_, "Cancel"}};
  for (const auto& [r, text] : buttons) {
    Dialog_Fill(f, *r, kDialogButtonFace);
    Dialog_Frame(f, *r, r == &ok_rect_ ? kDialogFocusBorder : kDialogButtonBorder, r == &ok_rect_ ? 2 : 1);
    font.Draw(f, r->x + (r->w - font.TextWidth(text)) / 2, r->y + (r->h - font.LineHeight()) / 2 + 1, text,
              0xFF000000u, {r->x, r->y, r->x + r->w, r->y + r->h});
  }
}

int Dialog_RunColorChooser(int start_colour) {
  TColorChooser chooser(start_colour);
  if (Dialog_RunView(chooser)) return chooser.result();
  std::fprintf(stderr, "Color\n");
  std::fflush(stderr);
  return start_colour;
}
