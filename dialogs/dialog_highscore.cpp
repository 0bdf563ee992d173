// dialog_highscore.cpp: layout, input and drawing of the high-score window.
#include "dialogs/dialog_highscore.h"

#include <algorithm>
#include <cstdio>

#include "common/value.h"
#include "dialogs/dialog_draw.h"

namespace {

enum : int { kKeyBackspace = 8, kKeyEnter = 13, kKeyEscape = 27 };

constexpr int kPad = 12;
constexpr int kColumnGap = 24;
constexpr int kMinNameWidth = 200;

TDialogClip ClipOf(const TDialogRect& r) { return {r.x, r.y, r.x + r.w, r.y + r.h}; }

}  // namespace

THighscoreWindow::THighscoreWindow(RHighscoreLook look, std::vector<RHighscoreRow> rows,
                                   int new_rank)
    : look_(std::move(look)), rows_(std::move(rows)), new_rank_(new_rank) {
  if (new_rank_ < 1 || new_rank_ > static_cast<int>(rows_.size())) new_rank_ = -1;
  font_.Load(look_.font, std::max(look_.font_size, 1), look_.bold, look_.italic);
}

std::string THighscoreWindow::RowName(int index) const {
  if (index + 1 == new_rank_) return ToUtf8(typed_) + "|";
  return ToUtf8(rows_[index].name);
}

void THighscoreWindow::Layout(int cw, int ch) {
  RHighscoreLayout& l = layout_;
  const int line = font_.LineHeight();
  const int row_h = line + line / 4;
  int name_w = kMinNameWidth, score_w = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    name_w = std::max(name_w, font_.TextWidth(RowName(static_cast<int>(i))));
    score_w = std::max(score_w, font_.TextWidth(std::to_string(rows_[i].score)));
  }
  const int hint_w = font_.TextWidth(look_.hint);
  const int inside_w = std::max(name_w + kColumnGap + score_w, hint_w) + 2 * kPad;
  const int inside_h = static_cast<int>(rows_.size()) * row_h + line + 3 * kPad;
  const int bar_h = look_.border ? Dialog_UiFont().LineHeight() + 8 : 0;
  const int frame = look_.border ? 1 : 0;
  const int w = std::min(inside_w + 2 * frame, cw);
  const int h = std::min(inside_h + bar_h + 2 * frame, ch);
  l.window = {(cw - w) / 2, (ch - h) / 2, w, h};
  l.caption_bar = look_.border ? TDialogRect{l.window.x + 1, l.window.y + 1, w - 2, bar_h}
                               : TDialogRect{};
  const int box = bar_h - 8;
  l.close_box = look_.border ? TDialogRect{l.caption_bar.x + l.caption_bar.w - box - 4,
                                           l.caption_bar.y + 4, box, box}
                             : TDialogRect{};
  l.inside = {l.window.x + frame, l.window.y + frame + bar_h, w - 2 * frame, h - 2 * frame - bar_h};
  l.names.clear();
  l.scores.clear();
  const int left = l.inside.x + kPad, right = l.inside.x + l.inside.w - kPad;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const int y = l.inside.y + kPad + static_cast<int>(i) * row_h;
    const int sw = font_.TextWidth(std::to_string(rows_[i].score));
    l.names.push_back({left, y, std::max(right - left - score_w - kColumnGap, 0), line});
    l.scores.push_back({right - sw, y, sw, line});
  }
  l.hint = {l.inside.x + (l.inside.w - hint_w) / 2,
            l.inside.y + kPad + static_cast<int>(rows_.size()) * row_h + kPad, hint_w, line};
}

void THighscoreWindow::HandleEvent(const PlatformEvent& event) {
  if (closed_) return;
  switch (event.kind) {
    case PlatformEvent::Close:
      closed_ = true;
      break;
    case PlatformEvent::KeyDown:
      if (event.key == kKeyEscape || event.key == kKeyEnter) closed_ = true;
      else if (event.key == kKeyBackspace && new_rank_ > 0 && !typed_.empty()) typed_.pop_back();
      break;
    case PlatformEvent::TextChar:
      if (new_rank_ > 0 && event.key >= 32 && typed_.size() < kNameLimit)
        typed_ += static_cast<char16_t>(event.key);
      break;
    case PlatformEvent::MouseDown:
      close_pressed_ = event.button == 1 && layout_.close_box.Contains(event.x, event.y);
      break;
    case PlatformEvent::MouseUp:
      if (close_pressed_ && layout_.close_box.Contains(event.x, event.y)) closed_ = true;
      close_pressed_ = false;
      break;
    default:
      break;
  }
}

void THighscoreWindow::Draw(TBitmap32& frame) {
  if (frame.Empty()) return;
  Layout(frame.s_w, frame.s_h);
  std::fill(frame.s_data.begin(), frame.s_data.end(), 0u);
  const RHighscoreLayout& l = layout_;
  Dialog_Fill(frame, l.window, look_.window | 0xFF000000u);
  if (look_.border) {
    Dialog_Frame(frame, l.window, kDialogBorder);
    Dialog_DrawCaptionBar(frame, l.caption_bar, l.close_box, look_.caption);
  }
  if (look_.background != nullptr) Dialog_Stretch(frame, *look_.background, l.inside);
  const TDialogClip clip = ClipOf(l.inside);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const bool is_new = static_cast<int>(i) + 1 == new_rank_;
    const TColor32 c = (is_new ? look_.new_entry : look_.other) | 0xFF000000u;
    font_.Draw(frame, l.names[i].x, l.names[i].y, RowName(static_cast<int>(i)), c, clip);
    font_.Draw(frame, l.scores[i].x, l.scores[i].y, std::to_string(rows_[i].score), c, clip);
  }
  font_.Draw(frame, l.hint.x, l.hint.y, look_.hint, look_.other | 0xFF000000u, clip);
}

std::vector<std::string> THighscoreWindow::TextLines() const {
  std::vector<std::string> lines{look_.caption};
  for (size_t i = 0; i < rows_.size(); ++i)
    lines.push_back(std::to_string(i + 1) + ". " + ToUtf8(rows_[i].name) + "  " +
                    std::to_string(rows_[i].score));
  lines.push_back(look_.hint);
  return lines;
}

void Dialog_RunHighscore(THighscoreWindow& window) {
  if (Dialog_RunView(window)) return;
  // Nobody can type: the table goes to standard error and the window
  // closes with nothing typed.
  for (const std::string& line : window.TextLines()) std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}
