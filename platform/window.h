// window.h: the window and input interface of the host. One backend is
// chosen once at program start (SDL for a window session, headless for
// automated runs); everything else calls this interface only. It owns the
// main game window, the borderless loading window, start-up message boxes
// and the queue of input events the window has received.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct RBitmap;

// One input event, in the runner's own codes: keys are the virtual-key codes
// game code sees (37 left arrow, 27 Esc, 112 F1 ...); buttons 1 left,
// 2 right, 3 middle; positions in window pixels.
struct PlatformEvent {
  enum Kind : int {
    Close,        // the window's close button
    KeyDown,
    KeyUp,
    TextChar,     // a typed character (key = the character's code unit)
    MouseDown,
    MouseUp,
    MouseMove,
    MouseWheel,   // wheel > 0 up, < 0 down
    FocusGained,
    FocusLost,
    Resized,      // x, y: new client size
  };
  Kind kind = Close;
  int key = 0;
  int button = 0;
  int x = 0;
  int y = 0;
  int wheel = 0;
};

// How the loading window looks: fully opaque unless alpha < 255; with
// transparent set, pixels of the key colour (0xRRGGBB) are see-through.
struct LoadingWindowStyle {
  uint8_t alpha = 255;
  bool transparent = false;
  uint32_t key_colour = 0;
};

class PlatformWindow {
 public:
  virtual ~PlatformWindow() = default;

  // Main game window: created hidden, shown when the game starts.
  virtual bool OpenMain(int width, int height, const std::string& caption) = 0;
  virtual bool MainIsOpen() const = 0;
  virtual void ShowMain() = 0;
  virtual void HideMain() = 0;
  virtual void CloseMain() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetSize(int width, int height) = 0;
  virtual void SetCursorVisible(bool visible) = 0;
  // Full screen on the window's display at the desktop's resolution, or
  // back to a normal window.
  virtual void SetFullscreen(bool fullscreen) = 0;
  virtual bool IsFullscreen() const = 0;
  // Whether the host's screen saver and monitor power-off may start while
  // the game runs.
  virtual void AllowScreenSaver(bool allowed) = 0;
  // True when the main window has the input focus (always true headless).
  virtual bool IsActive() const = 0;
  // The backend's own handle of the main window (SDL_Window*), for the
  // renderer; null when there is none.
  virtual void* NativeMainWindow() const = 0;

  // Placement and style of the main window; positions and sizes are of the
  // client area in screen pixels.
  virtual void SetPosition(int x, int y) = 0;
  virtual void GetClientRect(int& x, int& y, int& width, int& height) const = 0;
  virtual void SetBorder(bool shown) = 0;
  virtual void SetResizable(bool resizable) = 0;
  virtual void SetMinimumSize(int width, int height) = 0;
  virtual void SetStayOnTop(bool on) = 0;
  // Cursor shapes of the cr_ constants (0 default, -1 none, -2 arrow ...).
  virtual void SetCursorShape(int shape) = 0;
  // The mouse relative to the client area, and on the screen.
  virtual void GetMouse(int& x, int& y) const = 0;
  virtual void WarpMouse(int x, int y) = 0;
  virtual void GetScreenMouse(int& x, int& y) const = 0;
  virtual void WarpScreenMouse(int x, int y) = 0;

  // The display mode of the window's screen.
  virtual void GetDisplayMode(int& width, int& height, int& bits, int& frequency) const = 0;
  // Each value applies only when > 0; test_only changes nothing. True when
  // the mode exists (and was set).
  virtual bool SetDisplayMode(int width, int height, int frequency, int bits, bool test_only) = 0;
  virtual void RestoreDisplayMode() = 0;

  // An OpenGL 3.3 core context current on the main window (headless: on a
  // hidden window of the offscreen video driver); null with the reason in
  // `error` when none can be made.
  virtual void* CreateGLContext(std::string& error) = 0;
  virtual void DestroyGLContext(void* context) = 0;
  // Makes the game's context current again on its window when something
  // else (another window, a dialog, a mode switch) left it otherwise. The
  // renderer calls it before it touches OpenGL; cheap when nothing changed.
  virtual void MakeGLCurrent(void* context) = 0;
  virtual void SwapGL() = 0;
  // 1 waits for vertical blank when presenting, 0 does not.
  virtual void SetSwapInterval(int interval) = 0;

  // Moves every pending host message into the event queue.
  virtual void PumpEvents() = 0;
  // Takes the oldest queued event; false when the queue is empty.
  virtual bool NextEvent(PlatformEvent& event) = 0;
  // Appends an event that then arrives like one from the host (keys sent by
  // game code; also how tests drive input headless).
  virtual void PostEvent(const PlatformEvent& event) = 0;

  // A plain modal message with an OK button (stderr when headless).
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;

  // The borderless loading window, centred on the screen and sized to the
  // frame. Failure is not an error: start-up goes on without it.
  virtual bool OpenLoadingWindow(int width, int height, const LoadingWindowStyle& style) = 0;
  // Shows a new frame (0xAARRGGBB pixels, the window's size).
  virtual void DrawLoadingWindow(const RBitmap& frame) = 0;
  virtual void CloseLoadingWindow() = 0;
};

// Chooses the backend (once, at program start).
void Platform_SelectWindow(bool headless);
// The chosen backend (the headless one until a choice is made).
PlatformWindow& Platform_Window();

std::unique_ptr<PlatformWindow> CreateSdlWindowBackend();
std::unique_ptr<PlatformWindow> CreateHeadlessWindowBackend();
