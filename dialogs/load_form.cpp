// load_form.cpp: composes and shows the loading window's frames.
#include "dialogs/load_form.h"

#include <algorithm>
#include <cmath>

#include "platform/window.h"
#include "runner/game_data.h"
#include "graphics/pixel_font.h"

namespace {

// Space between the bottom of the bar and the bottom of the window.
constexpr int kBarBottomMargin = 32;
constexpr uint32_t kLabelColour = 0xFFFFFFFFu;

uint32_t Argb(int r, int g, int b) {
  return 0xFF000000u | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
         static_cast<uint32_t>(b);
}

std::shared_ptr<RBitmap> MakeBitmap(int width, int height) {
  auto bitmap = std::make_shared<RBitmap>();
  bitmap->width = width;
  bitmap->height = height;
  bitmap->pixels.assign(static_cast<size_t>(width) * height, 0xFF000000u);
  return bitmap;
}

// src over dst, both 0xAARRGGBB; the result stays opaque where dst was.
uint32_t BlendOver(uint32_t dst, uint32_t src) {
  const uint32_t a = src >> 24;
  if (a == 255) return src;
  if (a == 0) return dst;
  auto mix = [a](uint32_t d, uint32_t s) { return (s * a + d * (255 - a) + 127) / 255; };
  const uint32_t r = mix((dst >> 16) & 255, (src >> 16) & 255);
  const uint32_t g = mix((dst >> 8) & 255, (src >> 8) & 255);
  const uint32_t b = mix(dst & 255, src & 255);
  return (dst & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

// Draws the part of src that fits width x height at (x, y): scaled to that
// size when stretch, else its top-left part unscaled.
void DrawImage(RBitmap& dst, const RBitmap& src, int x, int y, int width, int height,
               bool stretch) {
  if (src.width <= 0 || src.height <= 0) return;
  for (int row = 0; row < height; ++row) {
    const int dy = y + row;
    if (dy < 0 || dy >= dst.height) continue;
    const int sy = stretch ? row * src.height / height : row;
    if (sy >= src.height) break;
    for (int column = 0; column < width; ++column) {
      const int dx = x + column;
      if (dx < 0 || dx >= dst.width) continue;
      const int sx = stretch ? column * src.width / width : column;
      if (sx >= src.width) break;
      uint32_t& out = dst.pixels[static_cast<size_t>(dy) * dst.width + dx];
      out = BlendOver(out, src.pixels[static_cast<size_t>(sy) * src.width + sx]);
    }
  }
}

}  // namespace

// A dark blue vertical gradient with a lighter band, 400 x 160.
std::shared_ptr<RBitmap> LoadForm_BuiltinImage() {
  auto image = MakeBitmap(400, 160);
  for (int y = 0; y < image->height; ++y) {
    const int shade = 24 + y * 48 / image->height;
    for (int x = 0; x < image->width; ++x) {
      const bool band = y >= 40 && y < 44;
      const bool edge = x == 0 || y == 0 || x == image->width - 1 || y == image->height - 1;
      uint32_t colour = Argb(shade / 3, shade / 2, shade + 40);
      if (band) colour = Argb(90, 140, 220);
      if (edge) colour = Argb(120, 160, 230);
      image->pixels[static_cast<size_t>(y) * image->width + x] = colour;
    }
  }
  return image;
}

std::shared_ptr<RBitmap> LoadForm_BuiltinBarBack() {
  auto bar = MakeBitmap(300, 14);
  for (int y = 0; y < bar->height; ++y)
    for (int x = 0; x < bar->width; ++x) {
      const bool edge = x == 0 || y == 0 || x == bar->width - 1 || y == bar->height - 1;
      bar->pixels[static_cast<size_t>(y) * bar->width + x] =
          edge ? Argb(150, 150, 160) : Argb(40, 40, 48);
    }
  return bar;
}

std::shared_ptr<RBitmap> LoadForm_BuiltinBarFront() {
  auto bar = MakeBitmap(300, 14);
  for (int y = 0; y < bar->height; ++y) {
    const int light = 255 - std::abs(y - bar->height / 2) * 12;
    for (int x = 0; x < bar->width; ++x)
      bar->pixels[static_cast<size_t>(y) * bar->width + x] = Argb(light / 4, light / 2, light);
  }
  return bar;
}

void TLoadForm::SetUp(bool debug, const GameSettings& settings) {
  image_ = settings.loading_image ? settings.loading_image : LoadForm_BuiltinImage();
  if (image_->width <= 0 || image_->height <= 0) image_ = LoadForm_BuiltinImage();
  show_bar_ = settings.show_progress_bar;
  show_label_ = debug && settings.show_progress_bar;
  stretch_ = settings.stretch_bar;
  bar_back_ = settings.bar_back_image ? settings.bar_back_image : LoadForm_BuiltinBarBack();
  bar_front_ = settings.bar_front_image ? settings.bar_front_image : LoadForm_BuiltinBarFront();
  bar_left_ = (image_->width - bar_back_->width) / 2;
  bar_top_ = image_->height - kBarBottomMargin - bar_back_->height;
  frame_.width = image_->width;
  frame_.height = image_->height;
  frame_.pixels.assign(image_->pixels.size(), 0);
  set_up_ = true;

  LoadingWindowStyle style;
  style.alpha = static_cast<uint8_t>(std::clamp(settings.image_alpha, 0, 255));
  style.transparent = settings.image_transparent;
  // The key colour is the colour of the image's bottom-left pixel.
  style.key_colour =
      image_->pixels[static_cast<size_t>(image_->height - 1) * image_->width] & 0xFFFFFFu;
  window_open_ = Platform_Window().OpenLoadingWindow(frame_.width, frame_.height, style);
  SetProgress(0, "Loading");
}

void TLoadForm::SetProgress(int percent, const std::string& text) {
  if (!set_up_) return;
  const int clamped = std::clamp(percent, 0, 100);
  fill_width_ = static_cast<int>(std::lround(bar_back_->width * (clamped / 100.0)));
  label_ = text;
  Compose();
  if (window_open_) Platform_Window().DrawLoadingWindow(frame_);
  Platform_Window().PumpEvents();
}

void TLoadForm::Compose() {
  std::copy(image_->pixels.begin(), image_->pixels.end(), frame_.pixels.begin());
  for (uint32_t& pixel : frame_.pixels) pixel |= 0xFF000000u;
  if (show_bar_) {
    DrawImage(frame_, *bar_back_, bar_left_, bar_top_, bar_back_->width, bar_back_->height, false);
    // The full bar is clipped to the progress, or squeezed into it.
    if (fill_width_ > 0) {
      const int front_width = stretch_ ? fill_width_ : std::min(fill_width_, bar_front_->width);
      const int front_height = stretch_ ? bar_back_->height : bar_front_->height;
      DrawImage(frame_, *bar_front_, bar_left_, bar_top_, front_width, front_height, stretch_);
    }
  }
  if (show_label_) {
    const int x = (frame_.width - PixelFont_TextWidth(label_)) / 2;
    const int y = bar_top_ - kPixelFontHeight - 4;
    PixelFont_Draw(frame_, x, y, label_, kLabelColour);
  }
}

void TLoadForm::Close() {
  if (window_open_) Platform_Window().CloseLoadingWindow();
  window_open_ = false;
  set_up_ = false;
  image_.reset();
  bar_back_.reset();
  bar_front_.reset();
  frame_ = RBitmap();
}

TLoadForm& LoadForm() {
  static TLoadForm form;
  return form;
}
