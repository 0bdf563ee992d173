// room_class.h: CRoom, a room resource (size, speed, background layers,
// views, the instances placed in it and its tiles), with its stored form
// and its tile operations (room_tiles.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/value.h"

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

  // Tiles. A tile covers the area x .. x + w * xscale, y .. y + h * yscale.
  // "Half-open" tests take the left and top edges and leave the right and
  // bottom ones out; the Delete...At operations include all four edges.
  // r_lasttile caches the index last found or added.
  //
  // Appends a copy with the next tile id (Tile_LastId, incremented first);
  // returns its index.
  int AddTile(const RTile& tile);
  void ClearTiles();
  // Out-of-range indices are ignored; the order of the rest is kept.
  void DeleteTile(int index);
  // Index of the tile with that id, or -1.
  int FindTile(int32_t id);
  // First tile covering (x, y) (half-open) whose depth < 0 equals
  // foreground; -1 when none.
  int FindTileAt(double x, double y, bool foreground);
  // Every tile covering (x, y) with edges included whose depth is <= 0
  // (foreground) or >= 0 (background): a tile at depth 0 goes either way.
  void DeleteTilesAt(double x, double y, bool foreground);
  // Stable: tiles of equal depth keep their order; nothing moves when the
  // list is already ordered by non-increasing depth.
  void SortTiles();
  // The layer operations act on the tiles whose depth equals depth.
  void HideTilesDepth(double depth);
  void ShowTilesDepth(double depth);
  void DeleteTilesDepth(double depth);
  void ShiftTilesDepth(double depth, double dx, double dy);
  int FindTileAtDepth(double depth, double x, double y);
  void DeleteTilesAtDepth(double depth, double x, double y);
  void ChangeTilesDepth(double olddepth, double newdepth);
};

// The highest tile id handed out (set from the game data at game start).
int32_t& Tile_LastId();
