// dialog_modal.h: runs a TDialog modally. Inside the game window it has its
// own loop: it pumps the window's events into the dialog, renders it and
// hands each frame to the renderer through Dialog_PresentHook; the game
// does not step meanwhile. Before the game window exists, or with no
// present hook, the host's message box stands in with the same buttons. In
// automated (headless) runs the text goes to standard error and the default
// answer is taken at once.
#pragma once

#include <string>

#include "motion/bitmap32.h"
#include "dialogs/dialog_box.h"

// Set by the renderer: shows the frame (client-sized, alpha 0 where the
// game's last picture shows through) over the window and presents it.
extern void (*Dialog_PresentHook)(const TBitmap32& frame);
// Optional, set by the renderer: the client area in window pixels (the
// coordinates of mouse events). Null or false: the backend's own size.
extern bool (*Dialog_ClientSizeHook)(int& width, int& height);

// Shows the dialog and returns its answer (a button id, or cancel_id).
int Dialog_Run(TDialog& dialog);

// Any window of the toolkit that draws itself into a client-sized frame and
// answers input events (the high-score window, menus, choosers).
class TModalView {
 public:
  virtual ~TModalView() = default;
  // Lays out for the frame's size and draws; alpha 0 where the game shows.
  virtual void Draw(TBitmap32& frame) = 0;
  virtual void HandleEvent(const PlatformEvent& event) = 0;
  // The client area changed size (before the next event and draw).
  virtual void Resize(int /*width*/, int /*height*/) {}
  virtual bool Closed() const = 0;
};

// Runs the view modally inside the game window until it closes; false, at
// once, when there is no game window to show it in (headless runs, before
// the window exists): the caller then takes its default answer.
bool Dialog_RunView(TModalView& view);
// True when no player can answer: the run is headless.
bool Dialog_Headless();

// The host's own message box (dialog_host.cpp): the dialog's caption, its
// text and its visible buttons; false when the host cannot show one.
bool DialogHost_MessageBox(const TDialog& dialog, int& answer);
// The client size of the game window; false when there is none.
bool DialogHost_ClientSize(int& width, int& height);
// The host's immediate state of a key (a virtual-key code; 0 any key, 1
// also any key, as the runner's own state counts them); false without a
// window.
bool DialogHost_KeyIsDown(int key);
// The host's num-lock toggle, and setting it (the host's keyboard state as
// the runner sees it).
bool DialogHost_NumLock();
void DialogHost_SetNumLock(bool on);
// Puts UTF-8 text on the host's clipboard; false when it cannot.
bool DialogHost_SetClipboard(const std::string& text);

// Sets the hooks through which the error routine and F1 reach the dialogs
// (runner/dialog_hooks.cpp); called once at start.
void Dialog_InstallHooks();
