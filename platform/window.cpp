// window.cpp: holds the one window backend chosen at program start.
#include "platform/window.h"

#include "platform/joystick.h"

namespace {

std::unique_ptr<PlatformWindow>& Backend() {
  static std::unique_ptr<PlatformWindow> backend;
  return backend;
}

}  // namespace

void Platform_SelectWindow(bool headless) {
  Backend() = headless ? CreateHeadlessWindowBackend() : CreateSdlWindowBackend();
  Platform_SelectJoysticks(headless);
}

PlatformWindow& Platform_Window() {
  if (!Backend()) Backend() = CreateHeadlessWindowBackend();
  return *Backend();
}
