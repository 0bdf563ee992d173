// dialog_modal.cpp: the modal loop of the runner's dialogs and the choice
// between it, the host's message box and standard error.
#include "dialogs/dialog_modal.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/window.h"
#include "dialogs/dialog_draw.h"
#include "common/test_switches.h"

void (*Dialog_PresentHook)(const TBitmap32& frame) = nullptr;
bool (*Dialog_ClientSizeHook)(int& width, int& height) = nullptr;

namespace {

// How often the loop looks for input, and how often it presents an
// unchanged frame again (the window may have been covered meanwhile).
constexpr auto kPoll = std::chrono::milliseconds(10);
constexpr auto kRefresh = std::chrono::milliseconds(250);

bool ClientSize(int& width, int& height) {
  if (Dialog_ClientSizeHook != nullptr && Dialog_ClientSizeHook(width, height)) return true;
  return DialogHost_ClientSize(width, height);
}

// Nobody is there to answer: the text goes to standard error and the
// default button is taken.
int PrintAndDefault(const TDialog& dialog) {
  for (const std::string& line : dialog.lines) std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  return dialog.DefaultAnswer();
}

// The TDialog as a view of the modal loop.
class TDialogView : public TModalView {
 public:
  explicit TDialogView(TDialog& dialog) : dialog_(dialog) {}
  void Draw(TBitmap32& frame) override { Dialog_Draw(dialog_, frame); }
  void HandleEvent(const PlatformEvent& event) override { dialog_.HandleEvent(event); }
  void Resize(int width, int height) override { dialog_.Layout(width, height); }
  bool Closed() const override { return dialog_.closed; }

 private:
  TDialog& dialog_;
};

// Feeds every queued event to the view; true when any arrived.
bool FeedEvents(TModalView& view, int& width, int& height) {
  PlatformWindow& window = Platform_Window();
  window.PumpEvents();
  bool any = false;
  PlatformEvent event;
  while (!view.Closed() && window.NextEvent(event)) {
    any = true;
    if (event.kind == PlatformEvent::Resized && event.x > 0 && event.y > 0) {
      width = event.x;
      height = event.y;
    }
    if (event.kind == PlatformEvent::Resized) view.Resize(width, height);
    view.HandleEvent(event);
  }
  return any;
}

// Input that arrived before the dialog showed was meant for the game: a key
// held for the game must not answer the dialog.
void DropStaleEvents() {
  PlatformWindow& window = Platform_Window();
  window.PumpEvents();
  PlatformEvent event;
  while (window.NextEvent(event)) {
  }
}

void RunInWindow(TModalView& view, int width, int height) {
  TBitmap32 frame;
  auto last_present = std::chrono::steady_clock::now();
  bool dirty = true;
  DropStaleEvents();
  while (!view.Closed()) {
    const auto now = std::chrono::steady_clock::now();
    if (dirty || now - last_present >= kRefresh) {
      if (frame.s_w != width || frame.s_h != height) frame = TBitmap32(width, height);
      view.Draw(frame);
      Dialog_PresentHook(frame);
      last_present = now;
      dirty = false;
    }
    // Drawing laid the view out; FeedEvents lays it out again when the
    // window's size changes.
    if (FeedEvents(view, width, height)) dirty = true;
    else std::this_thread::sleep_for(kPoll);
  }
}

bool WindowSize(int& width, int& height) {
  return Dialog_PresentHook != nullptr && Platform_Window().MainIsOpen() && ClientSize(width, height);
}

}  // namespace

bool Dialog_Headless() { return Test_Switches().headless; }

bool Dialog_RunView(TModalView& view) {
  int width = 0, height = 0;
  if (Dialog_Headless() || !WindowSize(width, height)) return false;
  RunInWindow(view, width, height);
  return true;
}

int Dialog_Run(TDialog& dialog) {
  if (Dialog_Headless()) return PrintAndDefault(dialog);
  int width = 0, height = 0;
  if (WindowSize(width, height)) {
    dialog.closed = false;
    TDialogView view(dialog);
    RunInWindow(view, width, height);
    return dialog.answer;
  }
  // The host's box closes on every button: one that keeps the dialog open
  // (Clear, Copy) acts and the box comes back.
  int answer = 0;
  while (DialogHost_MessageBox(dialog, answer)) {
    if (answer == dialog.cancel_id || !dialog.on_button || dialog.on_button(dialog, answer))
      return answer;
  }
  return PrintAndDefault(dialog);
}
