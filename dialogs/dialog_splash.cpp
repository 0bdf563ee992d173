// dialog_splash.cpp: layout, timing, input and drawing of splash windows.
#include "dialogs/dialog_splash.h"

#include <algorithm>
#include <cstdio>

#include "dialogs/dialog_draw.h"
#include "dialogs/dialog_font.h"

namespace {
enum : int { kKeyEscape = 27 };
constexpr int kPad = 10;
}  // namespace

RSplashSettings& Splash_Settings() {
  static RSplashSettings settings;
  return settings;
}

TSplashView::TSplashView(const RSplashSettings& settings, std::vector<std::string> lines, int delay_ms)
    : s_(settings), lines_(std::move(lines)) {
  timed_ = delay_ms > 0;
  end_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(delay_ms, 0));
}

TSplashView::TSplashView(const RSplashSettings& settings, TBitmap32 image, int delay_ms)
    : TSplashView(settings, std::vector<std::string>{}, delay_ms) {
  image_ = std::move(image);
  is_image_ = true;
}

bool TSplashView::Closed() const { return closed_ || (timed_ && std::chrono::steady_clock::now() >= end_); }

void TSplashView::Layout(int cw, int ch) {
  const bool bordered = s_.border && !s_.fullscreen;
  const int bar = bordered ? Dialog_UiFont().LineHeight() + 8 : 0, edge = bordered ? 1 : 0;
  int w = s_.width, h = s_.height;
  if (is_image_ && s_.adapt) {
    w = image_.s_w;
    h = image_.s_h;
  }
  w += 2 * edge;
  h += 2 * edge + bar;
  if (s_.fullscreen) {
    w = cw;
    h = ch;
  }
  w = std::clamp(w, 1, std::max(cw, 1));
  h = std::clamp(h, 1, std::max(ch, 1));
  const int x = s_.x >= 0 && !s_.fullscreen ? std::min(s_.x, cw - w) : (cw - w) / 2;
  const int y = s_.y >= 0 && !s_.fullscreen ? std::min(s_.y, ch - h) : (ch - h) / 2;
  frame_ = {std::max(x, 0), std::max(y, 0), w, h};
  bar_ = bordered ? TDialogRect{frame_.x + 1, frame_.y + 1, w - 2, bar - 1} : TDialogRect{};
  close_box_ = bordered && s_.close_button
                   ? TDialogRect{bar_.x + bar_.w - (bar - 8) - 4, bar_.y + 3, bar - 8, bar - 8}
                   : TDialogRect{};
  area_ = {frame_.x + edge, frame_.y + edge + bar, w - 2 * edge, h - 2 * edge - bar};
}

void TSplashView::HandleEvent(const PlatformEvent& e) {
  switch (e.kind) {
    case PlatformEvent::Close:
      closed_ = true;  // the window's close button ends the splash
      break;
    case PlatformEvent::KeyDown:
      if (s_.interrupt || (s_.stop_key && e.key == kKeyEscape)) closed_ = true;
      break;
    case PlatformEvent::MouseUp:
      if (close_box_.Contains(e.x, e.y) || s_.interrupt || s_.stop_mouse) closed_ = true;
      break;
    default:
      break;
  }
}

void TSplashView::Draw(TBitmap32& f) {
  if (f.Empty()) return;
  Layout(f.s_w, f.s_h);
  std::fill(f.s_data.begin(), f.s_data.end(), 0u);
  Dialog_Fill(f, frame_, Color32FromGameColor(s_.colour));
  if (!bar_.Empty()) {
    Dialog_Frame(f, frame_, kDialogBorder);
    Dialog_DrawCaptionBar(f, bar_, close_box_, s_.caption);
  }
  if (is_image_) {
    TDialogRect r{area_.x, area_.y, image_.s_w, image_.s_h};
    if (s_.scale && !image_.Empty()) {
      // Fit inside the area, keeping the proportions.
      const double k = std::min(static_cast<double>(area_.w) / image_.s_w,
                                static_cast<double>(area_.h) / image_.s_h);
      r.w = std::max(static_cast<int>(image_.s_w * k), 1);
      r.h = std::max(static_cast<int>(image_.s_h * k), 1);
    }
    r.x = area_.x + (area_.w - r.w) / 2;
    r.y = area_.y + (area_.h - r.h) / 2;
    Dialog_Stretch(f, image_, r);
    return;
  }
  const TDialogFont& font = Dialog_UiFont();
  const TDialogRect text{area_.x + kPad, area_.y + kPad, area_.w - 2 * kPad, area_.h - 2 * kPad};
  const std::vector<std::string> wrapped = Dialog_Wrap(lines_, font, std::max(text.w, 1));
  const int c = s_.colour & 0xFFFFFF;
  const bool dark = ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF)) < 384;
  for (size_t i = 0; i < wrapped.size(); ++i)
    font.Draw(f, text.x, text.y + static_cast<int>(i) * font.LineHeight(), wrapped[i],
              dark ? 0xFFFFFFFFu : 0xFF000000u, {text.x, text.y, text.x + text.w, text.y + text.h});
}

void Dialog_RunSplash(TSplashView& view, const std::vector<std::string>& headless_text) {
  if (Dialog_RunView(view)) return;
  for (const std::string& line : headless_text) std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}
