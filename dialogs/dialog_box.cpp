// dialog_box.cpp: the layout of a TDialog (sizes from its fonts, clamped to
// the client area) and the text helpers it uses: accelerators, line
// splitting and word wrapping.
#include "dialogs/dialog_box.h"

#include <algorithm>

#include "dialogs/dialog_font.h"

namespace {

constexpr int kPad = 10;
constexpr int kGap = 8;          // between buttons, and above the edit field
constexpr int kScrollWidth = 16;
constexpr int kButtonMinWidth = 75;
constexpr int kListBorder = 2;   // list frame plus one pixel of air
constexpr int kMinWidth = 200;
constexpr int kMaxFitWidth = 520;  // widest a dialog grows to fit its text

int CaptionBarHeight() { return Dialog_UiFont().LineHeight() + 8; }

}  // namespace

const TDialogFont& TDialog::TextFont() const {
  return list ? Dialog_MonoFont() : text_font ? *text_font : Dialog_UiFont();
}
const TDialogFont& TDialog::ButtonFont() const { return button_font ? *button_font : Dialog_UiFont(); }
const TDialogFont& TDialog::InputFont() const { return input_font ? *input_font : Dialog_UiFont(); }

// Without a caption bar one pixel of frame stays at the top.
int TDialog::CaptionHeight() const { return show_caption ? CaptionBarHeight() : 1; }
int TDialog::ButtonHeight() const { return ButtonFont().LineHeight() + 10; }
int TDialog::EditHeight() const { return InputFont().LineHeight() + 8; }
int TDialog::ButtonWidth(const TDialogButton& button) const {
  return std::max(kButtonMinWidth, ButtonFont().TextWidth(Dialog_CaptionText(button.caption)) + 20);
}

namespace {

int WidestLine(const std::vector<std::string>& lines, const TDialogFont& font) {
  int widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, font.TextWidth(line));
  return widest;
}

// Byte length of the UTF-8 sequence that starts with c.
size_t SequenceLength(unsigned char c) {
  return c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// Breaks one word wider than width between characters.
void BreakWord(const std::string& word, const TDialogFont& font, int width,
               std::vector<std::string>& out, std::string& line) {
  for (size_t i = 0; i < word.size();) {
    size_t n = std::min(SequenceLength(static_cast<unsigned char>(word[i])), word.size() - i);
    std::string piece = word.substr(i, n);
    if (!line.empty() && font.TextWidth(line + piece) > width) {
      out.push_back(line);
      line.clear();
    }
    line += piece;
    i += n;
  }
}

void WrapParagraph(const std::string& text, const TDialogFont& font, int width,
                   std::vector<std::string>& out) {
  std::string line;
  size_t i = 0;
  while (i <= text.size()) {
    size_t end = text.find(' ', i);
    if (end == std::string::npos) end = text.size();
    std::string word = text.substr(i, end - i);
    std::string joined = line.empty() ? word : line + " " + word;
    if (font.TextWidth(joined) <= width) {
      line = joined;
    } else if (font.TextWidth(word) <= width) {
      out.push_back(line);
      line = word;
    } else {
      if (!line.empty()) line += ' ';
      BreakWord(word, font, width, out, line);
    }
    i = end + 1;
  }
  out.push_back(line);
}

}  // namespace

char16_t Dialog_Accelerator(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    char c = caption[i + 1];
    return static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  }
  return 0;
}

std::string Dialog_CaptionText(std::string_view caption, int* accelerator_at) {
  std::string out;
  if (accelerator_at) *accelerator_at = -1;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != '&' && accelerator_at && *accelerator_at < 0)
        *accelerator_at = static_cast<int>(out.size());
    }
    out += caption[i];
  }
  return out;
}

std::vector<std::string> Dialog_SplitLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

std::vector<std::string> Dialog_Wrap(const std::vector<std::string>& paragraphs,
                                     const TDialogFont& font, int width) {
  std::vector<std::string> out;
  width = std::max(width, 1);
  for (const std::string& paragraph : paragraphs) WrapParagraph(paragraph, font, width, out);
  return out;
}

void TDialog::Layout(int client_width, int client_height) {
  client_width_ = std::max(client_width, 1);
  client_height_ = std::max(client_height, 1);
  const TDialogFont& font = TextFont();
  TDialogLayout& l = layout_;
  l = TDialogLayout();
  l.line_height = font.LineHeight();

  int buttons_width = -kGap;
  for (const TDialogButton& b : buttons)
    if (b.visible) buttons_width += ButtonWidth(b) + kGap;
  const bool has_buttons = buttons_width > 0;

  int width = preferred_width;
  if (width <= 0) {
    int content = std::min(WidestLine(lines, font) + (list ? kScrollWidth + 2 * kListBorder : 0),
                           kMaxFitWidth);
    content = std::max({content, buttons_width, Dialog_UiFont().TextWidth(caption) + 40});
    width = std::max(content + 2 * kPad, kMinWidth);
  }
  width = std::min(width, client_width_);
  const int text_width = std::max(width - 2 * kPad, 1);

  const int fixed = CaptionHeight() + 2 * kPad + (edit ? kGap + EditHeight() : 0) +
                    (has_buttons ? ButtonHeight() + kPad : 0);
  const int frame = list ? 2 * kListBorder : 0;
  l.lines = list ? lines : Dialog_Wrap(lines, font, text_width);
  int height = preferred_height > 0 ? preferred_height
                                    : fixed + frame + static_cast<int>(l.lines.size()) * l.line_height;
  height = std::min(height, client_height_);
  int text_height = std::max(height - fixed, 0);
  if (!list && static_cast<int>(l.lines.size()) * l.line_height > text_height)
    l.lines = Dialog_Wrap(lines, font, text_width - kScrollWidth - 4);

  const int x = left >= 0 ? std::min(left, client_width_ - width) : (client_width_ - width) / 2;
  const int y = top >= 0 ? std::min(top, client_height_ - height) : (client_height_ - height) / 2;
  l.dialog = {std::max(x, 0), std::max(y, 0), width, height};
  if (show_caption) {
    l.caption_bar = {l.dialog.x + 1, l.dialog.y + 1, width - 2, CaptionHeight() - 1};
    const int box = CaptionHeight() - 8;
    l.close_box = {l.caption_bar.x + l.caption_bar.w - box - 4, l.caption_bar.y + 3, box, box};
  }
  l.text_area = {l.dialog.x + kPad, l.dialog.y + CaptionHeight() + kPad, text_width, text_height};
  l.visible_lines = std::max((text_height - frame) / std::max(l.line_height, 1), 0);
  if (edit)
    l.edit = {l.text_area.x, l.text_area.y + l.text_area.h + kGap, text_width, EditHeight()};
  if (has_buttons) PlaceButtons(l.dialog.y + height - kPad - ButtonHeight());
  else l.buttons.assign(buttons.size(), TDialogRect());
  top_line = std::clamp(top_line, 0, MaxTopLine());
  PlaceScrollBar();
}

void TDialog::PlaceButtons(int y) {
  TDialogLayout& l = layout_;
  int total = -kGap;
  for (const TDialogButton& b : buttons)
    if (b.visible) total += ButtonWidth(b) + kGap;
  int x = l.dialog.x + (l.dialog.w - total) / 2;
  l.buttons.clear();
  for (const TDialogButton& b : buttons) {
    if (!b.visible) {
      l.buttons.emplace_back();
      continue;
    }
    const int w = ButtonWidth(b);
    l.buttons.push_back({x, y, w, ButtonHeight()});
    x += w + kGap;
  }
}

void TDialog::PlaceScrollBar() {
  TDialogLayout& l = layout_;
  if (static_cast<int>(l.lines.size()) <= l.visible_lines || l.text_area.Empty()) return;
  const int inset = list ? 1 : 0;
  const TDialogRect& t = l.text_area;
  l.scroll_bar = {t.x + t.w - inset - kScrollWidth, t.y + inset, kScrollWidth, t.h - 2 * inset};
  const int arrow = std::min(kScrollWidth, l.scroll_bar.h / 2);
  l.scroll_up = {l.scroll_bar.x, l.scroll_bar.y, kScrollWidth, arrow};
  l.scroll_down = {l.scroll_bar.x, l.scroll_bar.y + l.scroll_bar.h - arrow, kScrollWidth, arrow};
  const int track = l.scroll_bar.h - 2 * arrow;
  const int total = static_cast<int>(l.lines.size());
  const int thumb = std::clamp(track * l.visible_lines / std::max(total, 1), std::min(10, track), track);
  const int max_top = MaxTopLine();
  const int offset = max_top > 0 ? (track - thumb) * top_line / max_top : 0;
  l.thumb = {l.scroll_bar.x, l.scroll_up.y + arrow + offset, kScrollWidth, thumb};
}

int TDialog::MaxTopLine() const {
  return std::max(static_cast<int>(layout_.lines.size()) - layout_.visible_lines, 0);
}

void TDialog::ScrollBy(int delta) {
  if (top_line == kToEnd) top_line = MaxTopLine();
  top_line = std::clamp(top_line + delta, 0, MaxTopLine());
  PlaceScrollBar();
}

int TDialog::DefaultAnswer() const {
  if (default_button >= 0 && default_button < static_cast<int>(buttons.size()))
    return buttons[default_button].id;
  return cancel_id;
}

int TDialog::ButtonForLetter(char16_t letter) const {
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - u'a' + u'A');
  for (size_t i = 0; i < buttons.size(); ++i)
    if (buttons[i].visible && Dialog_Accelerator(buttons[i].caption) == letter)
      return static_cast<int>(i);
  return -1;
}

int TDialog::FocusedButton() const {
  const int index = focus >= 0 ? focus : default_button;
  if (index < 0 || index >= static_cast<int>(buttons.size()) || !buttons[index].visible) return -1;
  return index;
}

void TDialog::Press(int index) {
  if (index < 0 || index >= static_cast<int>(buttons.size()) || !buttons[index].visible) return;
  const int id = buttons[index].id;
  if (on_button && !on_button(*this, id)) return;
  closed = true;
  answer = id;
}

void TDialog::Cancel() {
  closed = true;
  answer = cancel_id;
}
