// headless_window.cpp: the window backend of automated runs. No window is
// ever shown; messages are printed to standard error, one line each; the
// main window only remembers its placement and caption, and no input
// arrives but what is posted. The display is a virtual 1920 x 1080, 32-bit,
// 60 Hz screen. OpenGL runs on a hidden window of SDL's offscreen driver.
#include <SDL.h>

#include <cstdio>
#include <deque>
#include <string>

#include "platform/sdl/sdl_gl.h"
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
  void SetPosition(int x, int y) override {
    x_ = x;
    y_ = y;
  }
  void GetClientRect(int& x, int& y, int& width, int& height) const override {
    x = x_;
    y = y_;
    width = width_;
    height = height_;
  }
  void SetBorder(bool) override {}
  void SetResizable(bool) override {}
  void SetMinimumSize(int, int) override {}
  void SetStayOnTop(bool) override {}
  void SetCursorShape(int) override {}
  void GetMouse(int& x, int& y) const override {
    x = mouse_x_ - x_;
    y = mouse_y_ - y_;
  }
  void WarpMouse(int x, int y) override {
    mouse_x_ = x + x_;
    mouse_y_ = y + y_;
  }
  void GetScreenMouse(int& x, int& y) const override {
    x = mouse_x_;
    y = mouse_y_;
  }
  void WarpScreenMouse(int x, int y) override {
    mouse_x_ = x;
    mouse_y_ = y;
  }
  void GetDisplayMode(int& width, int& height, int& bits, int& frequency) const override {
    width = 1920;
    height = 1080;
    bits = 32;
    frequency = 60;
  }
  bool SetDisplayMode(int, int, int, int, bool) override { return false; }
  void RestoreDisplayMode() override {}

  void* CreateGLContext(std::string& error) override {
    if (gl_window_ == nullptr) gl_window_ = SdlGL_OpenOffscreenWindow(error);
    if (gl_window_ == nullptr) return nullptr;
    return SdlGL_CreateContext(gl_window_, error);
  }
  void DestroyGLContext(void* context) override {
    if (context != nullptr) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
    SdlGL_CloseOffscreenWindow(gl_window_);
    gl_window_ = nullptr;
  }
  void MakeGLCurrent(void* context) override { SdlGL_MakeCurrent(gl_window_, context); }
  void SwapGL() override {}
  void SetSwapInterval(int) override {}
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
  int x_ = 0;
  int y_ = 0;
  int mouse_x_ = 0;
  int mouse_y_ = 0;
  SDL_Window* gl_window_ = nullptr;
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
