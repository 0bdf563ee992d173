// sdl_keys.cpp: scancode to virtual-key table. Scancodes name physical
// positions, so the codes follow the keyboard layout's positions (US
// layout), as games expect of WASD-style controls.
#include "platform/sdl/sdl_keys.h"

namespace {

struct KeyRange {
  SDL_Scancode first;
  SDL_Scancode last;
  int first_code;
};

// Runs of scancodes whose virtual-key codes are consecutive too.
constexpr KeyRange kRanges[] = {
    {SDL_SCANCODE_A, SDL_SCANCODE_Z, 65},
    {SDL_SCANCODE_1, SDL_SCANCODE_9, 49},
    {SDL_SCANCODE_F1, SDL_SCANCODE_F12, 112},
    {SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, 97},
};

struct KeyPair {
  SDL_Scancode scancode;
  int code;
};

constexpr KeyPair kSingles[] = {
    {SDL_SCANCODE_0, 48},          {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_BACKSPACE, 8},   {SDL_SCANCODE_TAB, 9},
    {SDL_SCANCODE_RETURN, 13},     {SDL_SCANCODE_KP_ENTER, 13},
    {SDL_SCANCODE_LSHIFT, 16},     {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17},      {SDL_SCANCODE_RCTRL, 17},
    {SDL_SCANCODE_LALT, 18},       {SDL_SCANCODE_RALT, 18},
    {SDL_SCANCODE_PAUSE, 19},      {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, 27},     {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_PAGEUP, 33},     {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35},        {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37},       {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_RIGHT, 39},      {SDL_SCANCODE_DOWN, 40},
    {SDL_SCANCODE_PRINTSCREEN, 44}, {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46},     {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_PLUS, 107},   {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PERIOD, 110}, {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144}, {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},     {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},     {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220}, {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
};

}  // namespace

int SdlScancodeToVirtualKey(SDL_Scancode scancode) {
  for (const KeyRange& range : kRanges)
    if (scancode >= range.first && scancode <= range.last)
      return range.first_code + (scancode - range.first);
  for (const KeyPair& pair : kSingles)
    if (pair.scancode == scancode) return pair.code;
  return 0;
}
