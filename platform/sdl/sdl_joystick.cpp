// sdl_joystick.cpp: the two joysticks read through SDL's joystick API. The
// joystick subsystem starts on first use; devices open on demand and are
// opened again after being unplugged and plugged back in.
#include <SDL.h>

#include <algorithm>
#include <array>

#include "platform/joystick.h"

namespace {

constexpr int kJoysticks = 2;

// SDL hat positions to hundredths of a degree clockwise from up.
int32_t PovFromHat(Uint8 hat) {
  switch (hat) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return PlatformJoystickState::kPovCentred;
  }
}

class SdlJoysticks final : public PlatformJoysticks {
 public:
  // After a full SDL shutdown the devices are already closed.
  ~SdlJoysticks() override {
    if (!started_ || !SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    for (SDL_Joystick* j : open_) {
      if (j) SDL_JoystickClose(j);
    }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  bool Exists(int joystick) override { return Open(joystick) != nullptr; }

  std::string Name(int joystick) override {
    SDL_Joystick* j = Open(joystick);
    const char* name = j ? SDL_JoystickName(j) : nullptr;
    return name ? name : "";
  }

  int Axes(int joystick) override {
    SDL_Joystick* j = Open(joystick);
    return j ? std::max(0, SDL_JoystickNumAxes(j)) : 0;
  }

  int Buttons(int joystick) override {
    SDL_Joystick* j = Open(joystick);
    return j ? std::max(0, SDL_JoystickNumButtons(j)) : 0;
  }

  bool HasPov(int joystick) override {
    SDL_Joystick* j = Open(joystick);
    return j && SDL_JoystickNumHats(j) > 0;
  }

  bool Read(int joystick, PlatformJoystickState& state) override {
    SDL_Joystick* j = Open(joystick);
    if (!j) return false;
    state = PlatformJoystickState{};
    const int axes = std::min(SDL_JoystickNumAxes(j), PlatformJoystickState::kAxes);
    for (int a = 0; a < axes; ++a) {
      state.axis[static_cast<size_t>(a)] = static_cast<int32_t>(SDL_JoystickGetAxis(j, a)) + 32768;
    }
    const int buttons = std::min(SDL_JoystickNumButtons(j), 32);
    for (int b = 0; b < buttons; ++b) {
      if (SDL_JoystickGetButton(j, b)) state.buttons |= 1u << b;
    }
    if (SDL_JoystickNumHats(j) > 0) state.pov = PovFromHat(SDL_JoystickGetHat(j, 0));
    return true;
  }

 private:
  bool Start() {
    if (!started_ && !failed_) {
      started_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
      failed_ = !started_;
      // Joysticks are polled; their events would only fill the window's queue.
      if (started_) SDL_JoystickEventState(SDL_IGNORE);
    }
    return started_;
  }

  // The open device of a joystick (0 or 1), refreshed; null when absent.
  SDL_Joystick* Open(int joystick) {
    if (joystick < 0 || joystick >= kJoysticks || !Start()) return nullptr;
    SDL_JoystickUpdate();
    SDL_Joystick*& j = open_[static_cast<size_t>(joystick)];
    if (j && !SDL_JoystickGetAttached(j)) {
      SDL_JoystickClose(j);
      j = nullptr;
    }
    if (!j && joystick < SDL_NumJoysticks()) j = SDL_JoystickOpen(joystick);
    return j;
  }

  bool started_ = false;
  bool failed_ = false;
  std::array<SDL_Joystick*, kJoysticks> open_{};
};

}  // namespace

std::unique_ptr<PlatformJoysticks> CreateSdlJoystickBackend() { return std::make_unique<SdlJoysticks>(); }
