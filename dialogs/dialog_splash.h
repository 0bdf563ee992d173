// dialog_splash.h: splash windows: a text (plain or rich text, shown as
// the game information window shows it) or an image, in the game window
// for a time or until the player ends it, with the splash settings of game
// code. A view of the modal loop: the game does not step meanwhile.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "dialogs/dialog_box.h"
#include "dialogs/dialog_modal.h"

// The splash settings (splash_set_*); they last for the run.
struct RSplashSettings {
  bool main = true;             // inside the game window (a separate window is not made)
  bool scale = true;            // an image is scaled to fit (keeping its proportions)
  bool cursor = true;
  int colour = 0;               // game colour behind the splash
  std::string caption;          // shown in the caption bar when the border is
  bool fullscreen = false;      // fill the whole client area
  bool border = true;
  int width = 640, height = 480;
  int x = -1, y = -1;           // -1: centred
  bool adapt = true;            // an image sets the size
  bool top = true;
  bool interrupt = true;        // any key or click ends the splash
  bool stop_key = true;         // Escape ends it
  bool stop_mouse = true;       // a click ends it
  bool close_button = true;     // a close box in the caption bar
};

RSplashSettings& Splash_Settings();

class TSplashView : public TModalView {
 public:
  // A text splash (lines already plain) or an image splash; delay in
  // milliseconds, 0 or less: until the player ends it.
  TSplashView(const RSplashSettings& settings, std::vector<std::string> lines, int delay_ms);
  TSplashView(const RSplashSettings& settings, TBitmap32 image, int delay_ms);

  void Layout(int client_width, int client_height);
  void Draw(TBitmap32& frame) override;
  void HandleEvent(const PlatformEvent& event) override;
  void Resize(int width, int height) override { Layout(width, height); }
  bool Closed() const override;

  const TDialogRect& area() const { return area_; }        // the splash's inside
  const TDialogRect& close_box() const { return close_box_; }

 private:
  RSplashSettings s_;
  std::vector<std::string> lines_;
  TBitmap32 image_;
  bool is_image_ = false;
  std::chrono::steady_clock::time_point end_;
  bool timed_ = false, closed_ = false;
  TDialogRect frame_, bar_, close_box_, area_;
};

// Shows the splash modally; headless (or with no game window) it prints
// the text (or the image file's name) to standard error and ends at once.
void Dialog_RunSplash(TSplashView& view, const std::vector<std::string>& headless_text);
