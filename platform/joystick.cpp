// joystick.cpp: holds the joystick backend and the one without joysticks
// used by automated runs.
#include "platform/joystick.h"

namespace {

class NullJoysticks final : public PlatformJoysticks {
 public:
  bool Exists(int) override { return false; }
  std::string Name(int) override { return {}; }
  int Axes(int) override { return 0; }
  int Buttons(int) override { return 0; }
  bool HasPov(int) override { return false; }
  bool Read(int, PlatformJoystickState&) override { return false; }
};

std::unique_ptr<PlatformJoysticks>& Backend() {
  static std::unique_ptr<PlatformJoysticks> backend;
  return backend;
}

}  // namespace

std::unique_ptr<PlatformJoysticks> CreateNullJoystickBackend() { return std::make_unique<NullJoysticks>(); }

void Platform_SelectJoysticks(bool headless) {
  Backend() = headless ? CreateNullJoystickBackend() : CreateSdlJoystickBackend();
}

PlatformJoysticks& Platform_Joysticks() {
  if (!Backend()) Backend() = CreateNullJoystickBackend();
  return *Backend();
}

std::unique_ptr<PlatformJoysticks> Platform_SetJoysticks(std::unique_ptr<PlatformJoysticks> joysticks) {
  std::unique_ptr<PlatformJoysticks> previous = std::move(Backend());
  Backend() = std::move(joysticks);
  return previous;
}
