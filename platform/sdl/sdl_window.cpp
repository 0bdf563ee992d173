// sdl_window.cpp: the window backend of a window session, over SDL2. The
// video subsystem starts on first use; message boxes work before it (SDL's
// simple message box), and fall back to standard error when the host has no
// way to show one. The loading window draws through SDL's 2D software
// renderer, never OpenGL.
#include <SDL.h>
#include <SDL_shape.h>

#include <cstdio>
#include <deque>
#include <string>

#include "platform/sdl/sdl_gl.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/window.h"
#include "common/support_stream.h"

namespace {

class SdlWindow : public PlatformWindow {
 public:
  ~SdlWindow() override {
    if (cursor_) SDL_FreeCursor(cursor_);
    CloseLoadingWindow();
    CloseMain();
    if (video_started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  bool OpenMain(int width, int height, const std::string& caption) override {
    if (!StartVideo()) return false;
    if (main_ == nullptr) {
      // An OpenGL window when the host has OpenGL; a plain one otherwise
      // (the renderer then draws nothing).
      SdlGL_SetAttributes();
      main_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width, height, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
      if (main_ == nullptr)
        main_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 width, height, SDL_WINDOW_HIDDEN);
      if (main_ == nullptr) return false;
    } else {
      SetCaption(caption);
      SetSize(width, height);
    }
    return true;
  }
  bool MainIsOpen() const override { return main_ != nullptr; }
  void ShowMain() override {
    if (main_) SDL_ShowWindow(main_);
  }
  void HideMain() override {
    if (main_) SDL_HideWindow(main_);
  }
  void CloseMain() override {
    if (main_) SDL_DestroyWindow(main_);
    main_ = nullptr;
  }
  void SetCaption(const std::string& caption) override {
    if (main_) SDL_SetWindowTitle(main_, caption.c_str());
  }
  void SetSize(int width, int height) override {
    if (main_) SDL_SetWindowSize(main_, width, height);
  }
  void SetFullscreen(bool fullscreen) override {
    if (main_) SDL_SetWindowFullscreen(main_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  }
  bool IsFullscreen() const override {
    return main_ != nullptr && (SDL_GetWindowFlags(main_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  }
  void SetCursorVisible(bool visible) override {
    if (video_started_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
  }
  void AllowScreenSaver(bool allowed) override {
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, allowed ? "1" : "0");
    if (!video_started_) return;
    if (allowed)
      SDL_EnableScreenSaver();
    else
      SDL_DisableScreenSaver();
  }
  bool IsActive() const override {
    return main_ != nullptr && (SDL_GetWindowFlags(main_) & SDL_WINDOW_INPUT_FOCUS) != 0;
  }
  void* NativeMainWindow() const override { return main_; }

  void SetPosition(int x, int y) override {
    if (main_) SDL_SetWindowPosition(main_, x, y);
  }
  void GetClientRect(int& x, int& y, int& width, int& height) const override {
    x = y = width = height = 0;
    if (main_ == nullptr) return;
    SDL_GetWindowPosition(main_, &x, &y);
    SDL_GetWindowSize(main_, &width, &height);
  }
  void SetBorder(bool shown) override {
    if (main_) SDL_SetWindowBordered(main_, shown ? SDL_TRUE : SDL_FALSE);
  }
  void SetResizable(bool resizable) override {
    if (main_) SDL_SetWindowResizable(main_, resizable ? SDL_TRUE : SDL_FALSE);
  }
  void SetMinimumSize(int width, int height) override {
    if (main_) SDL_SetWindowMinimumSize(main_, width < 1 ? 1 : width, height < 1 ? 1 : height);
  }
  void SetStayOnTop(bool on) override {
    if (main_) SDL_SetWindowAlwaysOnTop(main_, on ? SDL_TRUE : SDL_FALSE);
  }
  void SetCursorShape(int shape) override;
  void GetMouse(int& x, int& y) const override {
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    if (main_) SDL_GetWindowPosition(main_, &wx, &wy);
    x = gx - wx;
    y = gy - wy;
  }
  void WarpMouse(int x, int y) override {
    if (main_) SDL_WarpMouseInWindow(main_, x, y);
  }
  void GetScreenMouse(int& x, int& y) const override { SDL_GetGlobalMouseState(&x, &y); }
  void WarpScreenMouse(int x, int y) override {
    if (video_started_) SDL_WarpMouseGlobal(x, y);
  }
  void GetDisplayMode(int& width, int& height, int& bits, int& frequency) const override;
  bool SetDisplayMode(int width, int height, int frequency, int bits, bool test_only) override;
  void RestoreDisplayMode() override {
    if (main_ && mode_changed_) SDL_SetWindowDisplayMode(main_, nullptr);
    mode_changed_ = false;
  }

  void* CreateGLContext(std::string& error) override {
    if (main_ == nullptr || (SDL_GetWindowFlags(main_) & SDL_WINDOW_OPENGL) == 0) {
      error = "the window has no OpenGL";
      return nullptr;
    }
    return SdlGL_CreateContext(main_, error);
  }
  void DestroyGLContext(void* context) override {
    if (context != nullptr) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
  }
  void MakeGLCurrent(void* context) override { SdlGL_MakeCurrent(main_, context); }
  void SwapGL() override {
    if (main_) SDL_GL_SwapWindow(main_);
  }
  void SetSwapInterval(int interval) override { SDL_GL_SetSwapInterval(interval); }

  void PumpEvents() override {
    if (!video_started_) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) Translate(event);
  }
  void PostEvent(const PlatformEvent& event) override { queue_.push_back(event); }
  bool NextEvent(PlatformEvent& event) override {
    if (queue_.empty()) return false;
    event = queue_.front();
    queue_.pop_front();
    return true;
  }

  void ShowMessage(const std::string& title, const std::string& text) override {
    SDL_Window* parent = main_ != nullptr ? main_ : loading_;
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(), parent) != 0) {
      std::fprintf(stderr, "%s\n", text.c_str());
      std::fflush(stderr);
    }
  }

  bool OpenLoadingWindow(int width, int height, const LoadingWindowStyle& style) override;
  void DrawLoadingWindow(const RBitmap& frame) override;
  void CloseLoadingWindow() override {
    if (loading_texture_) SDL_DestroyTexture(loading_texture_);
    if (loading_renderer_) SDL_DestroyRenderer(loading_renderer_);
    if (loading_) SDL_DestroyWindow(loading_);
    loading_texture_ = nullptr;
    loading_renderer_ = nullptr;
    loading_ = nullptr;
    loading_shaped_ = false;
  }

 private:
  bool StartVideo() {
    if (!video_started_) video_started_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    return video_started_;
  }
  void Translate(const SDL_Event& event);
  void Push(PlatformEvent::Kind kind, int key = 0, int button = 0, int x = 0, int y = 0,
            int wheel = 0) {
    queue_.push_back(PlatformEvent{kind, key, button, x, y, wheel});
  }
  void ApplyShape(const RBitmap& frame);

  bool video_started_ = false;
  SDL_Window* main_ = nullptr;
  SDL_Window* loading_ = nullptr;
  SDL_Renderer* loading_renderer_ = nullptr;
  SDL_Texture* loading_texture_ = nullptr;
  LoadingWindowStyle loading_style_;
  bool loading_shaped_ = false;
  bool shape_applied_ = false;
  bool mode_changed_ = false;
  SDL_Cursor* cursor_ = nullptr;
  std::deque<PlatformEvent> queue_;
};

// The cr_ constants: 0 default, -1 none, -2 arrow, -3 cross, -4 beam,
// -6..-9 sizing, -10 up arrow, -11 hourglass, -12 drag, -13 no drop, -14 and
// -15 splits, -16 multi drag, -17 wait, -18 no, -19 app start, -20 help,
// -21 hand, -22 size all.
SDL_SystemCursor SystemCursor(int shape) {
  switch (shape) {
    case -3: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case -4: return SDL_SYSTEM_CURSOR_IBEAM;
    case -6: return SDL_SYSTEM_CURSOR_SIZENESW;
    case -7: case -15: return SDL_SYSTEM_CURSOR_SIZENS;
    case -8: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case -9: case -14: return SDL_SYSTEM_CURSOR_SIZEWE;
    case -11: case -17: return SDL_SYSTEM_CURSOR_WAIT;
    case -19: return SDL_SYSTEM_CURSOR_WAITARROW;
    case -13: case -18: return SDL_SYSTEM_CURSOR_NO;
    case -21: return SDL_SYSTEM_CURSOR_HAND;
    case -22: return SDL_SYSTEM_CURSOR_SIZEALL;
    default: return SDL_SYSTEM_CURSOR_ARROW;
  }
}

void SdlWindow::SetCursorShape(int shape) {
  if (!video_started_) return;
  SDL_ShowCursor(shape == -1 ? SDL_DISABLE : SDL_ENABLE);
  if (shape == -1) return;
  SDL_Cursor* cursor = SDL_CreateSystemCursor(SystemCursor(shape));
  if (cursor == nullptr) return;
  SDL_SetCursor(cursor);
  if (cursor_) SDL_FreeCursor(cursor_);
  cursor_ = cursor;
}

void SdlWindow::GetDisplayMode(int& width, int& height, int& bits, int& frequency) const {
  width = 640;
  height = 480;
  bits = 32;
  frequency = 60;
  if (!video_started_) return;
  SDL_DisplayMode mode;
  const int display = main_ ? SDL_GetWindowDisplayIndex(main_) : 0;
  if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0) return;
  width = mode.w;
  height = mode.h;
  bits = static_cast<int>(SDL_BITSPERPIXEL(mode.format)) == 24 ? 32 : SDL_BITSPERPIXEL(mode.format);
  frequency = mode.refresh_rate;
}

// A mode change applies to the window while it is full screen.
bool SdlWindow::SetDisplayMode(int width, int height, int frequency, int bits, bool test_only) {
  if (!video_started_) return false;
  const int display = main_ ? SDL_GetWindowDisplayIndex(main_) : 0;
  SDL_DisplayMode wanted, found;
  if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &wanted) != 0) return false;
  if (width > 0) wanted.w = width;
  if (height > 0) wanted.h = height;
  if (frequency > 0) wanted.refresh_rate = frequency;
  if (SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &wanted, &found) == nullptr) return false;
  if (found.w != wanted.w || found.h != wanted.h) return false;
  if (bits > 0 && bits != 16 && bits != 32) return false;
  if (test_only) return true;
  if (main_ == nullptr || SDL_SetWindowDisplayMode(main_, &found) != 0) return false;
  mode_changed_ = true;
  return true;
}

int SdlButton(uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
  }
}

void SdlWindow::Translate(const SDL_Event& event) {
  const uint32_t main_id = main_ ? SDL_GetWindowID(main_) : 0;
  switch (event.type) {
    case SDL_QUIT:
      Push(PlatformEvent::Close);
      break;
    case SDL_WINDOWEVENT:
      if (event.window.windowID != main_id) break;
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) Push(PlatformEvent::Close);
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) Push(PlatformEvent::FocusGained);
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) Push(PlatformEvent::FocusLost);
      if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        Push(PlatformEvent::Resized, 0, 0, event.window.data1, event.window.data2);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const int key = SdlScancodeToVirtualKey(event.key.keysym.scancode);
      if (key != 0)
        Push(event.type == SDL_KEYDOWN ? PlatformEvent::KeyDown : PlatformEvent::KeyUp, key);
      break;
    }
    case SDL_TEXTINPUT: {
      // One event per UTF-8 sequence; characters beyond 16 bits are dropped.
      const auto* text = reinterpret_cast<const unsigned char*>(event.text.text);
      for (size_t i = 0; text[i] != 0;) {
        int code = text[i];
        int length = code < 0x80 ? 1 : code < 0xE0 ? 2 : code < 0xF0 ? 3 : 4;
        if (length == 2) code = ((code & 0x1F) << 6) | (text[i + 1] & 0x3F);
        if (length == 3)
          code = ((code & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F);
        if (length < 4) Push(PlatformEvent::TextChar, code);
        for (int k = 0; k < length && text[i] != 0; ++k) ++i;
      }
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const int button = SdlButton(event.button.button);
      if (button != 0)
        Push(event.type == SDL_MOUSEBUTTONDOWN ? PlatformEvent::MouseDown : PlatformEvent::MouseUp,
             0, button, event.button.x, event.button.y);
      break;
    }
    case SDL_MOUSEMOTION:
      Push(PlatformEvent::MouseMove, 0, 0, event.motion.x, event.motion.y);
      break;
    case SDL_MOUSEWHEEL:
      if (event.wheel.y != 0) Push(PlatformEvent::MouseWheel, 0, 0, 0, 0, event.wheel.y);
      break;
    default:
      break;
  }
}

bool SdlWindow::OpenLoadingWindow(int width, int height, const LoadingWindowStyle& style) {
  CloseLoadingWindow();
  if (width <= 0 || height <= 0 || !StartVideo()) return false;
  loading_style_ = style;
  const uint32_t flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_ALWAYS_ON_TOP;
  // A colour-keyed window needs a shaped window; hosts without them get a
  // plain rectangle.
  if (style.transparent) {
    loading_ = SDL_CreateShapedWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                      height, flags);
    loading_shaped_ = loading_ != nullptr;
  }
  if (loading_ == nullptr)
    loading_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                flags);
  if (loading_ == nullptr) return false;
  if (style.alpha < 255) SDL_SetWindowOpacity(loading_, style.alpha / 255.0f);
  loading_renderer_ = SDL_CreateRenderer(loading_, -1, SDL_RENDERER_SOFTWARE);
  if (loading_renderer_ != nullptr)
    loading_texture_ = SDL_CreateTexture(loading_renderer_, SDL_PIXELFORMAT_ARGB8888,
                                         SDL_TEXTUREACCESS_STREAMING, width, height);
  if (loading_texture_ == nullptr) {
    CloseLoadingWindow();
    return false;
  }
  shape_applied_ = false;
  SDL_ShowWindow(loading_);
  return true;
}

void SdlWindow::ApplyShape(const RBitmap& frame) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(frame.pixels.data()), frame.width, frame.height, 32, frame.width * 4,
      SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return;
  SDL_WindowShapeMode mode;
  mode.mode = ShapeModeColorKey;
  mode.parameters.colorKey = SDL_Color{static_cast<uint8_t>(loading_style_.key_colour >> 16),
                                       static_cast<uint8_t>(loading_style_.key_colour >> 8),
                                       static_cast<uint8_t>(loading_style_.key_colour), 255};
  SDL_SetWindowShape(loading_, surface, &mode);
  SDL_FreeSurface(surface);
  shape_applied_ = true;
}

void SdlWindow::DrawLoadingWindow(const RBitmap& frame) {
  if (loading_texture_ == nullptr || frame.pixels.empty()) return;
  if (loading_shaped_ && !shape_applied_) ApplyShape(frame);
  SDL_UpdateTexture(loading_texture_, nullptr, frame.pixels.data(), frame.width * 4);
  SDL_RenderClear(loading_renderer_);
  SDL_RenderCopy(loading_renderer_, loading_texture_, nullptr, nullptr);
  SDL_RenderPresent(loading_renderer_);
}

}  // namespace

std::unique_ptr<PlatformWindow> CreateSdlWindowBackend() { return std::make_unique<SdlWindow>(); }
