// transition_geometry.cpp: the picture placement of the 21 built-in room
// transitions.
#include "graphics/transition_geometry.h"

#include <cmath>
#include <numbers>

#include "common/value.h"

namespace {

using Draw = RTransitionDraw;

double R(double x) { return static_cast<double>(Round(x)); }

// The whole picture at (x, y).
Draw Whole(Draw::Picture p, int w, int h, double x = 0, double y = 0, double alpha = 1) {
  Draw d;
  d.picture = p;
  d.width = w;
  d.height = h;
  d.x = x;
  d.y = y;
  d.alpha = alpha;
  return d;
}

// A part of the picture drawn at its own place.
Draw Part(Draw::Picture p, double left, double top, double width, double height) {
  Draw d;
  d.picture = p;
  d.left = d.x = left;
  d.top = d.y = top;
  d.width = width;
  d.height = height;
  return d;
}

// Kinds 1..5: the new picture grows over the old one.
void CreateFrom(int kind, int w, int h, double f, std::vector<Draw>& out) {
  out.push_back(Whole(Draw::kOld, w, h));
  double pw = R(w * f), ph = R(h * f);
  switch (kind) {
    case 1: out.push_back(Part(Draw::kNew, 0, 0, pw, h)); break;
    case 2: out.push_back(Part(Draw::kNew, w - pw, 0, pw, h)); break;
    case 3: out.push_back(Part(Draw::kNew, 0, 0, w, ph)); break;
    case 4: out.push_back(Part(Draw::kNew, 0, h - ph, w, ph)); break;
    default:
      out.push_back(Part(Draw::kNew, R((w - w * f) / 2), R((h - h * f) / 2), pw, ph));
      break;
  }
}

// Kinds 10..13: stripes of the new picture, after the matching create-from
// kind once more than half the stripes are in.
void Interlaced(int kind, int steps, int w, int h, double f, std::vector<Draw>& out) {
  int64_t s = steps, c = Round(f * steps), g = steps / 2;
  if (c == s) {
    out.push_back(Whole(Draw::kNew, w, h));
    return;
  }
  if (g < c)
    CreateFrom(kind - 9, w, h, static_cast<double>(c - g) / static_cast<double>(g), out);
  else
    out.push_back(Whole(Draw::kOld, w, h));
  bool vertical = kind == 10 || kind == 11;
  bool forward = kind == 10 || kind == 12;
  for (int64_t i = 0; i <= g; ++i) {
    if (forward ? c < i : i < g - c) continue;
    double di = static_cast<double>(i), ds = static_cast<double>(s);
    if (vertical)
      out.push_back(Part(Draw::kNew, R(2 * di * w / ds), 0, R(w / ds), h));
    else
      out.push_back(Part(Draw::kNew, 0, R(2 * di * h / ds), w, R(h / ds)));
  }
}

// Kinds 18, 19: the new picture grows from the centre while turning.
void Rotate(bool counter_clockwise, int w, int h, double f, std::vector<Draw>& out) {
  out.push_back(Whole(Draw::kOld, w, h));
  double degrees = std::sqrt(f) * 360 * (counter_clockwise ? 1 : -1);
  double a = degrees * std::numbers::pi / 180;
  Draw d = Whole(Draw::kNew, w, h, w / 2.0 - f * w * std::cos(a) / 2 - f * h * std::sin(a) / 2,
                 h / 2.0 + f * w * std::sin(a) / 2 - f * h * std::cos(a) / 2);
  d.xscale = d.yscale = f;
  d.angle = degrees;
  out.push_back(d);
}

}  // namespace

std::vector<RTransitionDraw> Transition_Frame(int kind, int steps, int w, int h, double f) {
  std::vector<Draw> out;
  double pw = R(w * f), ph = R(h * f);
  switch (kind) {
    case 1: case 2: case 3: case 4: case 5: CreateFrom(kind, w, h, f, out); break;
    case 6: out = {Whole(Draw::kOld, w, h), Whole(Draw::kNew, w, h, pw - w, 0)}; break;
    case 7: out = {Whole(Draw::kOld, w, h), Whole(Draw::kNew, w, h, w - pw, 0)}; break;
    case 8: out = {Whole(Draw::kOld, w, h), Whole(Draw::kNew, w, h, 0, ph - h)}; break;
    case 9: out = {Whole(Draw::kOld, w, h), Whole(Draw::kNew, w, h, 0, h - ph)}; break;
    case 10: case 11: case 12: case 13: Interlaced(kind, steps, w, h, f, out); break;
    case 14: out = {Whole(Draw::kOld, w, h, pw, 0), Whole(Draw::kNew, w, h, pw - w, 0)}; break;
    case 15: out = {Whole(Draw::kOld, w, h, -pw, 0), Whole(Draw::kNew, w, h, w - pw, 0)}; break;
    case 16: out = {Whole(Draw::kOld, w, h, 0, ph), Whole(Draw::kNew, w, h, 0, ph - h)}; break;
    case 17: out = {Whole(Draw::kOld, w, h, 0, -ph), Whole(Draw::kNew, w, h, 0, h - ph)}; break;
    case 18: case 19: Rotate(kind == 18, w, h, f, out); break;
    case 20: out = {Whole(Draw::kOld, w, h), Whole(Draw::kNew, w, h, 0, 0, f)}; break;
    case 21: {
      Draw clear;
      clear.picture = Draw::kClearBlack;
      out.push_back(clear);
      if (f > 0.5)
        out.push_back(Whole(Draw::kNew, w, h, 0, 0, 2 * f - 1));
      else
        out.push_back(Whole(Draw::kOld, w, h, 0, 0, 1 - 2 * f));
      break;
    }
    default: break;
  }
  return out;
}
