// room_class.h: CRoom, a room resource (size, speed, background layers,
// views, the instances placed in it and its tiles), with its stored form.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "runner/value.h"

class CStream;

class CBack {
 public:
  bool visible = false;
  bool foreground = false;
  int32_t index = -1;  // background resource
  double x = 0.0;
  double y = 0.0;
  bool htiled = true;
  bool vtiled = true;
  double hspeed = 0.0;
  double vspeed = 0.0;
  double xscale = 1.0;
  double yscale = 1.0;
  int32_t blend = 0xFFFFFF;
  double alpha = 1.0;
  // The stored stretch flag: the scales were derived from it on reading.
  bool stretch = false;
};

class CView {
 public:
  bool visible = false;
  int32_t xview = 0, yview = 0, wview = 640, hview = 480;
  int32_t xport = 0, yport = 0, wport = 640, hport = 480;
  double angle = 0.0;
  int32_t hborder = 32, vborder = 32;
  int32_t hspeed = -1, vspeed = -1;  // -1: unlimited
  int32_t index = -1;                // object or instance followed
};

struct RTile {
  double x = 0.0;
  double y = 0.0;
  int32_t index = -1;  // background resource
  int32_t xo = 0, yo = 0, w = 0, h = 0;  // source rectangle
  double depth = 0.0;
  int32_t id = 0;
  double xscale = 1.0;
  double yscale = 1.0;
  int32_t blend = 0xFFFFFF;
  double alpha = 1.0;
  bool visible = true;
};

// An instance placed in the room by the editor.
struct RRoomInstance {
  int32_t x = 0;
  int32_t y = 0;
  int32_t index = 0;  // object
  int32_t id = 0;
  VString code;       // creation code
};

constexpr int kRoomBackgrounds = 8;
constexpr int kRoomViews = 8;

class CRoom {
 public:
  VString r_caption;
  int32_t r_speed = 30;
  int32_t r_width = 640;
  int32_t r_height = 480;
  bool r_persistent = false;
  int32_t r_color = 0xC0C0C0;
  bool r_showcolor = true;
  std::array<CBack, kRoomBackgrounds> r_background;
  bool r_enableviews = false;
  std::array<CView, kRoomViews> r_view;
  VString r_code;
  std::vector<RRoomInstance> r_instances;  // the placed instances
  std::vector<RTile> r_tile;               // r_tnumb is r_tile.size()
  int32_t r_lasttile = -1;

  void Clear();
  // Record version 541. Background scales follow the stretch flag and the
  // background resources already loaded in Game(); views get angle 0; tiles
  // scale 1, blend FFFFFF, alpha 1, visible. Background and view counts
  // above 8 are read and the extra entries dropped. False on a wrong
  // version or a count the stream cannot hold.
  bool LoadFromStream(CStream& s);
  void SaveToStream(CStream& s) const;
};
