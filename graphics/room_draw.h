// room_draw.h: drawing the live room into one frame: views that follow an
// instance, the depth order of instances and tiles, background colour and
// layers, the depth merge of tiles, instances and particle systems,
// foregrounds, the cursor sprite and the window caption. Also the region
// size a room asks for.
#pragma once

#include <string>

class CRoom;
class CInstance;

// The whole room, every visible view (or the room directly without views).
void RoomDraw_Draw();
// Moves the views that follow an instance and fills the view transform
// table (views 0..7).
void RoomDraw_UpdateViews();
// Region size from the room and its views; when it changed the window takes
// the scaled size, centred on the screen.
void RoomDraw_AdaptRegion();
// The caption room drawing sets: the room caption with score, lives and
// health as the caption settings say.
std::string RoomDraw_Caption(const CRoom& room);

// One view's following step (exposed for tests): the new (x, y) of a view
// with position (xview, yview), size (wview, hview), borders and speed
// limits following the point (ix, iy) in a room of width x height.
void RoomDraw_FollowPoint(double ix, double iy, int room_width, int room_height, int& xview,
                          int& yview, int wview, int hview, int hborder, int vborder, int hspeed,
                          int vspeed);

// Particle systems drawn by depth with the room (installed by the particle
// subsystem; without hooks there are none).
struct RParticleDrawHooks {
  // The highest depth of an automatically drawn system strictly below
  // `below` (-1e9 when none).
  double (*highest_depth_below)(double below) = nullptr;
  // Draws every automatically drawn system within 0.01 of depth, in index
  // order.
  void (*draw_at_depth)(double depth) = nullptr;
};
void RoomDraw_SetParticleHooks(const RParticleDrawHooks& hooks);
