// load_form.h: the loading window (TLoadForm). It shows the loading image
// with a progress bar (an empty-bar image with the full-bar image over it,
// as wide as the progress) and, in debug mode, the progress text. Frames
// are composed here in memory and shown through the platform window; with
// no window (headless) the frames are still composed but never shown.
#pragma once

#include <memory>
#include <string>

#include "common/support_stream.h"

struct GameSettings;

class TLoadForm {
 public:
  // Takes the images from the settings (built-in ones where absent), sizes
  // the window to the loading image, centres and shows it, and sets
  // progress 0 "Loading".
  void SetUp(bool debug, const GameSettings& settings);
  // Full bar = percent / 100 of the empty bar's width (rounded); the label
  // shows text; the window repaints and processes its messages.
  void SetProgress(int percent, const std::string& text);
  // Hides the window and frees its images.
  void Close();

  bool IsSetUp() const { return set_up_; }
  const RBitmap& Frame() const { return frame_; }
  int BarLeft() const { return bar_left_; }
  int BarTop() const { return bar_top_; }
  int BarFillWidth() const { return fill_width_; }
  const std::string& Label() const { return label_; }
  bool ShowsBar() const { return show_bar_; }
  bool ShowsLabel() const { return show_label_; }

 private:
  void Compose();

  bool set_up_ = false;
  bool window_open_ = false;
  bool show_bar_ = false;
  bool show_label_ = false;
  bool stretch_ = true;
  std::shared_ptr<RBitmap> image_;
  std::shared_ptr<RBitmap> bar_back_;
  std::shared_ptr<RBitmap> bar_front_;
  int bar_left_ = 0;
  int bar_top_ = 0;
  int fill_width_ = 0;
  std::string label_;
  RBitmap frame_;
};

// The program's one loading window.
TLoadForm& LoadForm();

// The built-in images used when the game carries none.
std::shared_ptr<RBitmap> LoadForm_BuiltinImage();
std::shared_ptr<RBitmap> LoadForm_BuiltinBarBack();
std::shared_ptr<RBitmap> LoadForm_BuiltinBarFront();
