// headless_window.cpp: the window backend of automated runs. No window is
// ever shown; messages are printed to standard error, one line each; the
// main window only remembers its size and caption, and no input arrives.
#include <cstdio>
#include <deque>
#include <string>

#include "platform/window.h"

namespace {

class HeadlessWindow : public PlatformWindow {
 public:
  bool OpenMain(int width, int height, const std::string& caption) override {
    open_ = true;
    width_ = width;
    height_ = height;
    caption_ = caption;
    return true;
  }
  bool MainIsOpen() const override { return open_; }
  void ShowMain() override {}
  void HideMain() override {}
  void CloseMain() override { open_ = false; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  void SetSize(int width, int height) override {
    width_ = width;
    height_ = height;
  }
  void SetFullscreen(bool fullscreen) override { fullscreen_ = fullscreen; }
  bool IsFullscreen() const override { return fullscreen_; }
  void SetCursorVisible(bool) override {}
  void AllowScreenSaver(bool) override {}
  bool IsActive() const override { return true; }
  void* NativeMainWindow() const override { return nullptr; }

  void PumpEvents() override {}
  void PostEvent(const PlatformEvent& event) override { queue_.push_back(event); }
  bool NextEvent(PlatformEvent& event) override {
    if (queue_.empty()) return false;
    event = queue_.front();
    queue_.pop_front();
    return true;
  }

  // One line per message: line breaks inside the text become spaces.
  void ShowMessage(const std::string& title, const std::string& text) override {
    std::string line = text;
    for (char& c : line)
      if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
  }

  bool OpenLoadingWindow(int, int, const LoadingWindowStyle&) override { return false; }
  void DrawLoadingWindow(const RBitmap&) override {}
  void CloseLoadingWindow() override {}

 private:
  bool open_ = false;
  int width_ = 0;
  int height_ = 0;
  std::string caption_;
  std::deque<PlatformEvent> queue_;
  bool fullscreen_ = false;
};

}  // namespace

std::unique_ptr<PlatformWindow> CreateHeadlessWindowBackend() {
  return std::make_unique<HeadlessWindow>();
}
