// transition_geometry.h: what one frame of a built-in room transition draws:
// a list of clears and picture parts (old or new room picture) with their
// placement, for a region of w x h at fraction f (0 .. 1).
#pragma once

#include <vector>

constexpr int kTransitionBuiltinCount = 21;

struct RTransitionDraw {
  enum Picture { kClearBlack, kOld, kNew };
  Picture picture = kOld;
  // Part of the picture, in its own pixels.
  double left = 0, top = 0, width = 0, height = 0;
  // Where the part's top-left corner lands, its scale, its rotation about
  // that corner (degrees, counter-clockwise) and its alpha.
  double x = 0, y = 0;
  double xscale = 1, yscale = 1;
  double angle = 0;
  double alpha = 1;
};

// The drawing of built-in kind 1..21 with `steps` steps (the interlaced
// kinds need it); empty for any other kind.
std::vector<RTransitionDraw> Transition_Frame(int kind, int steps, int w, int h, double f);
