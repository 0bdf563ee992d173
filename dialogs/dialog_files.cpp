// dialog_files.cpp: listing, input and drawing of the file browser.
#include "dialogs/dialog_files.h"

#include <fnmatch.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "dialogs/dialog_draw.h"
#include "dialogs/dialog_font.h"

namespace fs = std::filesystem;

namespace {

enum : int { kKeyBackspace = 8, kKeyEnter = 13, kKeyEscape = 27, kKeyUp = 38, kKeyDown = 40 };
constexpr int kPad = 10, kRows = 12, kWidth = 420;
constexpr TColor32 kSelected = 0xFF0078D7u;

std::vector<std::string> SplitOn(const std::string& text, char sep) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(sep, start);
    out.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return out;
    start = at + 1;
  }
}

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

TFileBrowser::TFileBrowser(Mode mode, std::string caption, const std::string& filter,
                           const std::string& start)
    : mode_(mode), caption_(std::move(caption)) {
  const std::vector<std::string> parts = SplitOn(filter, '|');
  if (parts.size() >= 2)
    for (const std::string& p : SplitOn(parts[1], ';'))
      if (!p.empty() && p != "*.*" && p != "*") patterns_.push_back(p);
  std::error_code ec;
  fs::path path(start);
  std::string folder = fs::current_path(ec).string();
  if (!start.empty() && fs::is_directory(path, ec)) {
    folder = path.string();
  } else if (!start.empty()) {
    if (path.has_parent_path() && fs::is_directory(path.parent_path(), ec)) folder = path.parent_path().string();
    if (mode_ != Mode::Directory) name_ = path.filename().string();
  }
  Enter(fs::absolute(folder, ec).lexically_normal().string());
}

void TFileBrowser::Enter(const std::string& folder) {
  folder_ = WithSlash(folder);
  selected_ = -1;
  top_ = 0;
  Read();
}

void TFileBrowser::Read() {
  entries_.clear();
  std::vector<std::string> dirs, files;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string n = it->path().filename().string();
    if (!n.empty() && n[0] == '.') continue;
    std::error_code kind_ec;
    if (it->is_directory(kind_ec)) {
      dirs.push_back(n + "/");
    } else if (mode_ != Mode::Directory) {
      bool match = patterns_.empty();
      for (const std::string& p : patterns_) match = match || fnmatch(p.c_str(), n.c_str(), FNM_CASEFOLD) == 0;
      if (match) files.push_back(n);
    }
  }
  std::sort(dirs.begin(), dirs.end());
  std::sort(files.begin(), files.end());
  if (folder_ != "/") entries_.push_back("../");
  entries_.insert(entries_.end(), dirs.begin(), dirs.end());
  entries_.insert(entries_.end(), files.begin(), files.end());
}

void TFileBrowser::Select(int index) {
  if (entries_.empty()) return;
  selected_ = std::clamp(index, 0, static_cast<int>(entries_.size()) - 1);
  if (selected_ < top_) top_ = selected_;
  if (selected_ >= top_ + kRows) top_ = selected_ - kRows + 1;
  const std::string& e = entries_[selected_];
  if (e.back() != '/') name_ = e;
}

void TFileBrowser::Activate() {
  if (selected_ >= 0 && entries_[selected_].back() == '/') {
    const std::string& e = entries_[selected_];
    std::error_code ec;
    const fs::path next = e == "../" ? fs::path(folder_).parent_path().parent_path() : fs::path(folder_) / e;
    Enter(fs::absolute(next, ec).lexically_normal().string());
    return;
  }
  if (mode_ == Mode::Directory) {
    result_ = folder_;
    closed_ = true;
    return;
  }
  if (name_.empty()) return;
  const fs::path chosen = name_[0] == '/' ? fs::path(name_) : fs::path(folder_) / name_;
  std::error_code ec;
  if (fs::is_directory(chosen, ec)) {
    name_.clear();
    Enter(chosen.lexically_normal().string());
    return;
  }
  // Opening needs a file that exists; saving any name.
  if (mode_ == Mode::Open && !fs::exists(chosen, ec)) return;
  result_ = chosen.lexically_normal().string();
  closed_ = true;
}

void TFileBrowser::Layout(int cw, int ch) {
  const TDialogFont& font = Dialog_UiFont();
  const int line = font.LineHeight(), bar = line + 8, button_h = line + 10;
  const int h = bar + kPad + line + 4 + kRows * line + 4 + kPad + line + 8 + kPad + button_h + kPad;
  const int w = std::min(kWidth, cw);
  frame_ = {std::max((cw - w) / 2, 0), std::max((ch - h) / 2, 0), w, std::min(h, ch)};
  bar_ = {frame_.x + 1, frame_.y + 1, w - 2, bar - 1};
  close_box_ = {bar_.x + bar_.w - (bar - 8) - 4, bar_.y + 3, bar - 8, bar - 8};
  list_ = {frame_.x + kPad, frame_.y + bar + kPad + line + 4, w - 2 * kPad, kRows * line + 4};
  row_rects_.clear();
  for (int i = 0; i < kRows && top_ + i < static_cast<int>(entries_.size()); ++i)
    row_rects_.push_back({list_.x + 2, list_.y + 2 + i * line, list_.w - 4, line});
  edit_ = {list_.x, list_.y + list_.h + kPad, list_.w, line + 8};
  const int by = edit_.y + edit_.h + kPad;
  ok_ = {frame_.x + w - 2 * (75 + kPad), by, 75, button_h};
  cancel_ = {frame_.x + w - (75 + kPad), by, 75, button_h};
}

void TFileBrowser::HandleEvent(const PlatformEvent& e) {
  if (closed_) return;
  switch (e.kind) {
    case PlatformEvent::Close:
      closed_ = true;
      break;
    case PlatformEvent::KeyDown:
      if (e.key == kKeyEscape) closed_ = true;
      else if (e.key == kKeyEnter) Activate();
      else if (e.key == kKeyUp) Select(selected_ - 1);
      else if (e.key == kKeyDown) Select(selected_ + 1);
      else if (e.key == kKeyBackspace && mode_ != Mode::Directory && !name_.empty()) {
        name_.pop_back();
        selected_ = -1;
      }
      break;
    case PlatformEvent::TextChar:
      if (mode_ != Mode::Directory && e.key >= 32 && e.key < 127) {
        name_ += static_cast<char>(e.key);
        selected_ = -1;
      }
      break;
    case PlatformEvent::MouseWheel:
      top_ = std::clamp(top_ - 3 * e.wheel, 0, std::max(static_cast<int>(entries_.size()) - kRows, 0));
      break;
    case PlatformEvent::MouseUp:
      if (e.button != 1) break;
      for (size_t i = 0; i < row_rects_.size(); ++i)
        if (row_rects_[i].Contains(e.x, e.y)) {
          const int index = top_ + static_cast<int>(i);
          if (index == selected_) Activate();
          else Select(index);
          return;
        }
      if (ok_.Contains(e.x, e.y)) Activate();
      else if (cancel_.Contains(e.x, e.y) || close_box_.Contains(e.x, e.y)) closed_ = true;
      break;
    default:
      break;
  }
}

void TFileBrowser::Draw(TBitmap32& f) {
  if (f.Empty()) return;
  Layout(f.s_w, f.s_h);
  std::fill(f.s_data.begin(), f.s_data.end(), 0u);
  const TDialogFont& font = Dialog_UiFont();
  Dialog_Fill(f, frame_, kDialogFace);
  Dialog_Frame(f, frame_, kDialogBorder);
  Dialog_DrawCaptionBar(f, bar_, close_box_, caption_);
  const TDialogClip inner{frame_.x + kPad, frame_.y, frame_.x + frame_.w - kPad, frame_.y + frame_.h};
  font.Draw(f, list_.x, list_.y - font.LineHeight() - 2, folder_, 0xFF000000u, inner);
  Dialog_Fill(f, list_, kDialogListBack);
  Dialog_Frame(f, list_, kDialogListBorder);
  for (size_t i = 0; i < row_rects_.size(); ++i) {
    const TDialogRect& r = row_rects_[i];
    const bool sel = top_ + static_cast<int>(i) == selected_;
    if (sel) Dialog_Fill(f, r, kSelected);
    font.Draw(f, r.x + 2, r.y, entries_[top_ + i], sel ? 0xFFFFFFFFu : 0xFF000000u,
              {r.x, r.y, r.x + r.w, r.y + r.h});
  }
  Dialog_Fill(f, edit_, kDialogListBack);
  Dialog_Frame(f, edit_, kDialogFocusBorder);
  const std::string shown = mode_ == Mode::Directory ? folder_ : name_;
  font.Draw(f, edit_.x + 4, edit_.y + 4, shown, 0xFF000000u, {edit_.x + 2, edit_.y, edit_.x + edit_.w - 2, edit_.y + edit_.h});
  const std::pair<const TDialogRect*, const char*> buttons[2] = {
      {&ok_, mode_ == Mode::Save ? "Save" : mode_ == Mode::Open ? "Open" : "OK"}, {&cancel_, "Cancel"}};
  for (const auto& [r, text] : buttons) {
    Dialog_Fill(f, *r, kDialogButtonFace);
    Dialog_Frame(f, *r, r == &ok_ ? kDialogFocusBorder : kDialogButtonBorder, r == &ok_ ? 2 : 1);
    font.Draw(f, r->x + (r->w - font.TextWidth(text)) / 2, r->y + (r->h - font.LineHeight()) / 2 + 1, text,
              0xFF000000u, {r->x, r->y, r->x + r->w, r->y + r->h});
  }
}

std::string Dialog_RunFileBrowser(TFileBrowser& browser) {
  if (Dialog_RunView(browser)) return browser.result();
  std::fprintf(stderr, "%s\n", browser.caption().c_str());
  std::fflush(stderr);
  return std::string();
}
