// dialog_draw.cpp: the software rendering of a dialog: frame, caption bar
// with close box, text or list with scroll bar, edit field and buttons.
#include "dialogs/dialog_draw.h"

#include <algorithm>

#include "dialogs/dialog_font.h"
#include "common/value.h"

void Dialog_Fill(TBitmap32& f, const TDialogRect& r, TColor32 c) {
  const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
  const int x1 = std::min(r.x + r.w, f.s_w), y1 = std::min(r.y + r.h, f.s_h);
  for (int y = y0; y < y1; ++y)
    std::fill(f.s_data.begin() + static_cast<size_t>(y) * f.s_w + x0,
              f.s_data.begin() + static_cast<size_t>(y) * f.s_w + x1, c);
}

void Dialog_Frame(TBitmap32& f, const TDialogRect& r, TColor32 c, int thickness) {
  for (int t = 0; t < thickness; ++t) {
    const TDialogRect in{r.x + t, r.y + t, r.w - 2 * t, r.h - 2 * t};
    if (in.Empty()) return;
    Dialog_Fill(f, {in.x, in.y, in.w, 1}, c);
    Dialog_Fill(f, {in.x, in.y + in.h - 1, in.w, 1}, c);
    Dialog_Fill(f, {in.x, in.y, 1, in.h}, c);
    Dialog_Fill(f, {in.x + in.w - 1, in.y, 1, in.h}, c);
  }
}

namespace {

void Fill(TBitmap32& f, const TDialogRect& r, TColor32 c) { Dialog_Fill(f, r, c); }
void Frame(TBitmap32& f, const TDialogRect& r, TColor32 c, int thickness = 1) {
  Dialog_Frame(f, r, c, thickness);
}

TDialogClip ClipOf(const TDialogRect& r) { return {r.x, r.y, r.x + r.w, r.y + r.h}; }

// A small filled triangle pointing up or down, centred in r.
void Arrow(TBitmap32& f, const TDialogRect& r, bool up) {
  const int cx = r.x + r.w / 2, cy = r.y + r.h / 2;
  for (int row = 0; row < 4; ++row) {
    const int half = up ? row : 3 - row;
    Fill(f, {cx - half, cy - 2 + row, 2 * half + 1, 1}, kDialogBorder);
  }
}

void DrawCloseBox(TBitmap32& f, const TDialogRect& r) {
  for (int i = 2; i < r.w - 2; ++i) {
    Fill(f, {r.x + i, r.y + i, 2, 1}, kDialogCaptionText);
    Fill(f, {r.x + r.w - 1 - i, r.y + i, 2, 1}, kDialogCaptionText);
  }
}

void DrawCaption(const TDialog& d, TBitmap32& f) {
  const TDialogLayout& l = d.layout();
  Dialog_DrawCaptionBar(f, l.caption_bar, l.close_box, d.caption);
}

void DrawScrollBar(const TDialogLayout& l, TBitmap32& f) {
  if (l.scroll_bar.Empty()) return;
  Fill(f, l.scroll_bar, kDialogScrollTrack);
  Fill(f, l.scroll_up, kDialogScrollArrow);
  Fill(f, l.scroll_down, kDialogScrollArrow);
  Arrow(f, l.scroll_up, true);
  Arrow(f, l.scroll_down, false);
  Fill(f, {l.thumb.x + 2, l.thumb.y, l.thumb.w - 4, l.thumb.h}, kDialogScrollThumb);
}

void DrawText(const TDialog& d, TBitmap32& f) {
  const TDialogLayout& l = d.layout();
  const TDialogFont& font = d.TextFont();
  TDialogRect area = l.text_area;
  Fill(f, area, d.text_background);
  if (d.background) Dialog_Stretch(f, *d.background, area);
  if (d.list) {
    Frame(f, area, kDialogListBorder);
    area = {area.x + 2, area.y + 2, area.w - 4, area.h - 4};
  }
  TDialogClip clip = ClipOf(area);
  if (!l.scroll_bar.Empty()) clip.right = l.scroll_bar.x;
  const int count = static_cast<int>(l.lines.size());
  for (int i = 0; i < l.visible_lines && d.top_line + i < count; ++i)
    font.Draw(f, area.x, area.y + i * l.line_height, l.lines[d.top_line + i], d.text_colour, clip);
  DrawScrollBar(l, f);
}

void DrawEdit(const TDialog& d, TBitmap32& f) {
  const TDialogLayout& l = d.layout();
  if (l.edit.Empty()) return;
  const TDialogFont& font = d.InputFont();
  Fill(f, l.edit, d.input_colour | 0xFF000000u);
  Frame(f, l.edit, kDialogFocusBorder);
  const std::string text = ToUtf8(d.edit_text);
  const int room = l.edit.w - 8;
  // Long text scrolls left so that its end and the caret stay visible.
  const int shift = std::max(font.TextWidth(text) - room, 0);
  const TDialogClip clip{l.edit.x + 2, l.edit.y + 2, l.edit.x + l.edit.w - 2, l.edit.y + l.edit.h - 2};
  const int x = l.edit.x + 4 - shift, y = l.edit.y + 4;
  font.Draw(f, x, y, text, d.input_text_colour, clip);
  Fill(f, {x + font.TextWidth(text), y, 1, font.LineHeight()}, d.input_text_colour);
}

void DrawButton(const TDialog& d, size_t index, bool pressed, TBitmap32& f) {
  const TDialogRect& r = d.layout().buttons[index];
  if (r.Empty()) return;
  const TDialogFont& font = d.ButtonFont();
  const bool hover = d.hover_colour != 0 && d.HoverButton() == static_cast<int>(index);
  Fill(f, r, pressed ? kDialogButtonPressed : hover ? d.hover_colour | 0xFF000000u : kDialogButtonFace);
  if (d.button_image && !pressed && !hover) Dialog_Stretch(f, *d.button_image, r);
  const bool active = static_cast<int>(index) == d.FocusedButton();
  Frame(f, r, active ? kDialogFocusBorder : kDialogButtonBorder, active ? 2 : 1);
  int accelerator = -1;
  const std::string text = Dialog_CaptionText(d.buttons[index].caption, &accelerator);
  const int x = r.x + (r.w - font.TextWidth(text)) / 2;
  const int y = r.y + (r.h - font.LineHeight()) / 2 + 1;
  font.Draw(f, x, y, text, d.button_text_colour, ClipOf(r));
  if (accelerator < 0) return;
  const int under_x = x + font.TextWidth(text.substr(0, accelerator));
  const int under_w = font.TextWidth(text.substr(accelerator, 1));
  Fill(f, {under_x, y + font.LineHeight() - 2, under_w, 1}, d.button_text_colour);
}

}  // namespace

void Dialog_DrawCaptionBar(TBitmap32& f, const TDialogRect& bar, const TDialogRect& close_box,
                           const std::string& caption) {
  const TDialogFont& font = Dialog_UiFont();
  Fill(f, bar, kDialogCaptionBar);
  TDialogClip clip = ClipOf(bar);
  clip.right = close_box.x - 2;
  font.Draw(f, bar.x + 6, bar.y + (bar.h - font.LineHeight()) / 2 + 1, caption, kDialogCaptionText,
            clip);
  DrawCloseBox(f, close_box);
}

void Dialog_Draw(TDialog& dialog, TBitmap32& frame) {
  if (frame.Empty()) return;
  dialog.Layout(frame.s_w, frame.s_h);
  std::fill(frame.s_data.begin(), frame.s_data.end(), 0u);
  const TDialogLayout& l = dialog.layout();
  Fill(frame, l.dialog, kDialogFace);
  Frame(frame, l.dialog, kDialogBorder);
  if (dialog.show_caption) DrawCaption(dialog, frame);
  DrawText(dialog, frame);
  DrawEdit(dialog, frame);
  for (size_t i = 0; i < dialog.buttons.size(); ++i)
    DrawButton(dialog, i, dialog.PressedButton() == static_cast<int>(i), frame);
  if (dialog.alpha < 1.0) Dialog_Fade(frame, dialog.alpha);
}

void Dialog_Stretch(TBitmap32& f, const TBitmap32& image, const TDialogRect& r) {
  if (image.Empty() || r.Empty()) return;
  for (int y = std::max(r.y, 0); y < std::min(r.y + r.h, f.s_h); ++y) {
    const int sy = static_cast<int>(static_cast<int64_t>(y - r.y) * image.s_h / r.h);
    for (int x = std::max(r.x, 0); x < std::min(r.x + r.w, f.s_w); ++x) {
      const int sx = static_cast<int>(static_cast<int64_t>(x - r.x) * image.s_w / r.w);
      const TColor32 c = image.s_data[static_cast<size_t>(sy) * image.s_w + sx];
      if (Color32Alpha(c) != 0) f.s_data[static_cast<size_t>(y) * f.s_w + x] = c | 0xFF000000u;
    }
  }
}

void Dialog_Fade(TBitmap32& f, double alpha) {
  const uint32_t a = static_cast<uint32_t>(std::clamp(alpha, 0.0, 1.0) * 255.0 + 0.5);
  for (TColor32& c : f.s_data)
    if (Color32Alpha(c) != 0) c = (c & 0x00FFFFFFu) | ((Color32Alpha(c) * a / 255) << 24);
}
