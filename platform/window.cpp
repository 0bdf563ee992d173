// window.cpp: holds the one window backend chosen at program start.
#include "platform/window.h"

namespace {

std::unique_ptr<PlatformWindow>& Backend() {
  static std::unique_ptr<PlatformWindow> backend;
  return backend;
}

}  // namespace

void Platform_SelectWindow(bool headless) {
  Backend() = headless ? CreateHeadlessWindowBackend() : CreateSdlWindowBackend();
}

PlatformWindow& Platform_Window() {
  if (!Backend()) Backend() = CreateHeadlessWindowBackend();
  return *Backend();
}
