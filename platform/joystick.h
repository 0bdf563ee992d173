// joystick.h: the joystick interface of the host. Two joysticks, numbered
// 0 (first) and 1 (second); their capabilities and a snapshot of their
// axes, buttons and point of view. A window session reads them through SDL,
// automated runs see no joysticks; tests install their own implementation.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// Positions in the runner's own ranges: axes 0..65535 (centre 32767/32768)
// in the order x, y, z, r, u, v; buttons as bits (bit 0 = button 1);
// point of view in hundredths of a degree clockwise from up, 65535 centred.
struct PlatformJoystickState {
  static constexpr int kAxes = 6;
  static constexpr int32_t kAxisCentre = 32767;
  static constexpr int32_t kPovCentred = 65535;
  std::array<int32_t, kAxes> axis{kAxisCentre, kAxisCentre, kAxisCentre,
                                  kAxisCentre, kAxisCentre, kAxisCentre};
  uint32_t buttons = 0;
  int32_t pov = kPovCentred;
};

class PlatformJoysticks {
 public:
  virtual ~PlatformJoysticks() = default;
  virtual bool Exists(int joystick) = 0;
  virtual std::string Name(int joystick) = 0;
  virtual int Axes(int joystick) = 0;
  virtual int Buttons(int joystick) = 0;
  virtual bool HasPov(int joystick) = 0;
  // The current state; false when the joystick cannot be read.
  virtual bool Read(int joystick, PlatformJoystickState& state) = 0;
};

// Chooses the backend (called with the window backend's choice).
void Platform_SelectJoysticks(bool headless);
// The chosen backend (one without joysticks until a choice is made).
PlatformJoysticks& Platform_Joysticks();
// Installs a backend (tests); returns the previous one.
std::unique_ptr<PlatformJoysticks> Platform_SetJoysticks(std::unique_ptr<PlatformJoysticks> joysticks);

std::unique_ptr<PlatformJoysticks> CreateSdlJoystickBackend();
std::unique_ptr<PlatformJoysticks> CreateNullJoystickBackend();
