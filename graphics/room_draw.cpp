// room_draw.cpp: the frame of the live room (see room_draw.h). Views are
// drawn in index order; inside a view backgrounds, then tiles, instances
// and particle systems merged from far to near, then foregrounds and the
// cursor sprite.
#include "graphics/room_draw.h"

#include <algorithm>
#include <cmath>

#include "code/builtin_variables.h"
#include "graphics/background_class.h"
#include "graphics/renderer.h"
#include "motion/sprite_class.h"
#include "runner/game_data.h"
#include "world/action_engine.h"
#include "world/cursor_sprite.h"
#include "world/input_state.h"
#include "world/instance_list.h"
#include "world/object_class.h"
#include "world/room_runtime.h"

namespace {

RParticleDrawHooks g_particles;
int g_cursor_counter = 0;

constexpr double kNoParticles = -1e9;

// The room rectangle a view draws (culling), left/top/right/bottom.
struct RDrawRect {
  double left, top, right, bottom;
};

double ParticleDepthBelow(double below) {
  return g_particles.highest_depth_below ? g_particles.highest_depth_below(below) : kNoParticles;
}

void DrawBackgroundLayers(const CRoom& room, const RDrawRect& r, bool foreground) {
  for (const CBack& layer : room.r_background) {
    if (!layer.visible || layer.foreground != foreground) continue;
    const CBackground* back = Game().backgrounds.Get(layer.index);
    if (back == nullptr) continue;
    Renderer_DrawTextureTiled(back->i_tex, layer.htiled, layer.vtiled, 0, 0, layer.x, layer.y,
                              layer.xscale, layer.yscale, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, layer.blend, layer.alpha);
  }
}

void DrawTile(const RTile& tile, const RDrawRect& r) {
  const double x2 = tile.x + tile.w * tile.xscale, y2 = tile.y + tile.h * tile.yscale;
  const double left = std::min(tile.x, x2), right = std::max(tile.x, x2);
  const double top = std::min(tile.y, y2), bottom = std::max(tile.y, y2);
  if (r.right < left || r.bottom < top || r.left > right || r.top > bottom) return;
  const CBackground* back = Game().backgrounds.Get(tile.index);
  if (back == nullptr) return;
  Renderer_SetDepth(std::min(tile.depth, 11000.0));
  Renderer_DrawTexturePart(back->i_tex, tile.blend, tile.xo, tile.yo, tile.w, tile.h, tile.x,
                           tile.y, tile.xscale, tile.yscale, 0, tile.alpha);
}

void DrawInstance(CInstance* inst) {
  Renderer_SetDepth(std::min(inst->i_depth, 11000.0));
  if (Object_HasEventRecursive(inst->i_objectindex, ev_draw)) {
    PerformEventInstance(inst, inst, ev_draw, 0);
    return;
  }
  const CSprite* sprite = Game().sprites.Get(inst->i_spriteindex);
  if (sprite == nullptr) return;
  const int tex = sprite->GetTexture(static_cast<int32_t>(std::floor(inst->i_imageindex)));
  if (inst->i_imagescalex != 1 || inst->i_imagescaley != 1 || inst->i_imageangle != 0 ||
      inst->i_imageblend != 0xFFFFFF || inst->i_imagealpha != 1) {
    Renderer_DrawTextureTransformed(tex, static_cast<int>(inst->i_imageblend), sprite->i_xorig,
                                    sprite->i_yorig, inst->i_x, inst->i_y, inst->i_imagescalex,
                                    inst->i_imagescaley, inst->i_imageangle * M_PI / 180.0,
                                    inst->i_imagealpha);
  } else {
    Renderer_DrawTexture(tex, inst->i_x - sprite->i_xorig, inst->i_y - sprite->i_yorig);
  }
}

// Tiles, instances and particle systems from far to near. Ties: particle
// systems first, then an instance before a tile of the same depth.
void DrawMerged(CRoom& room, const RDrawRect& r) {
  const InstanceOwnerList& active = Instance_Lists().active;
  const size_t instance_count = active.size();
  const size_t tile_count = room.r_tile.size();
  size_t i = 0, j = 0;
  double p = ParticleDepthBelow(HUGE_VAL);
  while (j < tile_count || i < instance_count || p > -1e8) {
    CInstance* inst = i < instance_count && i < active.size() ? active[i].get() : nullptr;
    const bool instance_left = inst != nullptr;
    const bool tile_left = j < room.r_tile.size();
    if (instance_left && (inst->i_marked || !inst->i_visible)) {
      ++i;
      continue;
    }
    if (tile_left && !room.r_tile[j].visible) {
      ++j;
      continue;
    }
    if ((!instance_left || p >= inst->i_depth) && (!tile_left || p >= room.r_tile[j].depth) &&
        p > -1e8) {
      Renderer_SetDepth(std::min(p, 11000.0));
      if (g_particles.draw_at_depth) g_particles.draw_at_depth(p);
      p = ParticleDepthBelow(p);
    } else if (!instance_left || (tile_left && room.r_tile[j].depth > inst->i_depth)) {
      DrawTile(room.r_tile[j], r);
      ++j;
    } else {
      DrawInstance(inst);
      ++i;
    }
  }
}

void DrawCursor() {
  const CSprite* sprite = Game().sprites.Get(Cursor_Sprite());
  if (sprite == nullptr || sprite->Numb() <= 0) return;
  double x = 0, y = 0;
  Renderer_WindowToRoom(Input().window_x, Input().window_y, x, y);
  Renderer_DrawTextureTransformed(sprite->GetTexture(g_cursor_counter % sprite->Numb()), 0xFFFFFF,
                                  sprite->i_xorig, sprite->i_yorig, x, y, 1, 1, 0, 1);
}

void DrawView(CRoom& room, const RDrawRect& r) {
  if (Renderer_3DMode()) Renderer_ClearDepth();
  if (room.r_showcolor) Renderer_ClearViewport(room.r_color);
  Renderer_SetDepth(12000);
  DrawBackgroundLayers(room, r, false);
  DrawMerged(room, r);
  Renderer_SetDepth(-12000);
  DrawBackgroundLayers(room, r, true);
  Renderer_SetDepth(-13000);
  DrawCursor();
}

// The instance a view follows: an instance id above 99999, else the first
// unmarked instance of the object (descendants included).
CInstance* Followed(int32_t index) {
  if (index > 99999) {
    for (const auto& inst : Instance_Lists().active)
      if (inst->i_id == index && !inst->i_marked) return inst.get();
    return nullptr;
  }
  const InstanceRefList* list = Instance_ObjectListRecursive(index);
  if (list == nullptr) return nullptr;
  for (CInstance* inst : *list)
    if (!inst->i_marked) return inst;
  return nullptr;
}

// The following rule of one axis.
int FollowAxis(double i, int room_size, int view, int length, int border, int speed) {
  int x;
  if (2 * border < length) {
    if (i - border < view)
      x = static_cast<int>(i) - border;
    else if (view + length < i + border)
      x = static_cast<int>(i) + border - length;
    else
      x = view;
  } else {
    x = static_cast<int>(i) - length / 2;
  }
  if (x < 0) x = 0;
  if (x + length > room_size) x = room_size - length;
  if (speed >= 0) {
    if (x < view - speed) x = view - speed;
    if (x > view + speed) x = view + speed;
  }
  return x;
}

}  // namespace

void RoomDraw_SetParticleHooks(const RParticleDrawHooks& hooks) {
  if (hooks.highest_depth_below) g_particles.highest_depth_below = hooks.highest_depth_below;
  if (hooks.draw_at_depth) g_particles.draw_at_depth = hooks.draw_at_depth;
}

void RoomDraw_FollowPoint(double ix, double iy, int room_width, int room_height, int& xview,
                          int& yview, int wview, int hview, int hborder, int vborder, int hspeed,
                          int vspeed) {
  const double rx = std::nearbyint(ix), ry = std::nearbyint(iy);
  const int x = FollowAxis(rx, room_width, xview, wview, hborder, hspeed);
  const int y = FollowAxis(ry, room_height, yview, hview, vborder, vspeed);
  xview = x;
  yview = y;
}

void RoomDraw_UpdateViews() {
  CRoom* room = Room_Live();
  for (int v = 0; v < kRoomViews; ++v) Renderer_ClearViewTransform(v);
  if (room == nullptr || !room->r_enableviews) return;
  for (CView& view : room->r_view) {
    if (!view.visible) continue;
    const CInstance* inst = Followed(view.index);
    if (inst == nullptr) continue;
    RoomDraw_FollowPoint(inst->i_x, inst->i_y, room->r_width, room->r_height, view.xview,
                         view.yview, view.wview, view.hview, view.hborder, view.vborder,
                         view.hspeed, view.vspeed);
  }
  for (int v = 0; v < kRoomViews; ++v) {
    const CView& view = room->r_view[v];
    if (!view.visible) continue;
    RViewTransform t;
    t.xview = view.xview;
    t.yview = view.yview;
    t.wview = view.wview;
    t.hview = view.hview;
    t.xport = view.xport;
    t.yport = view.yport;
    t.wport = view.wport;
    t.hport = view.hport;
    t.angle = view.angle;
    Renderer_SetViewTransform(v, t);
  }
}

void RoomDraw_AdaptRegion() {
  const CRoom* room = Room_Live();
  if (room == nullptr) return;
  int w = room->r_width, h = room->r_height;
  if (room->r_enableviews) {
    w = h = 8;
    for (const CView& view : room->r_view) {
      if (!view.visible) continue;
      w = std::max(w, view.xport + view.wport);
      h = std::max(h, view.yport + view.hport);
    }
  }
  w = std::min(w, Renderer_DisplayWidth());
  h = std::min(h, Renderer_DisplayHeight());
  if (w == Renderer_RegionWidth() && h == Renderer_RegionHeight()) return;
  Renderer_SetRegionSize(w, h, true);
  Renderer_WindowDefault();
}

std::string RoomDraw_Caption(const CRoom& room) {
  const RGameGlobals& g = g_GameGlobals;
  std::string caption = ToUtf8(room.r_caption);
  if (g.show_score && (g.score_shown_by_code || g.score > 0))
    caption += " " + ToUtf8(g.caption_score) + std::to_string(g.score);
  if (g.show_lives) caption += " " + ToUtf8(g.caption_lives) + std::to_string(g.lives);
  if (g.show_health)
    caption += " " + ToUtf8(g.caption_health) +
               std::to_string(static_cast<long long>(std::nearbyint(g.health)));
  return caption;
}

void RoomDraw_Draw() {
  CRoom* room = Room_Live();
  if (room == nullptr) return;
  RoomDraw_UpdateViews();
  Instance_SortByDepth();
  room->SortTiles();
  ++g_cursor_counter;
  if (room->r_enableviews) {
    Renderer_SetViewport(0, 0, Renderer_RegionWidth(), Renderer_RegionHeight());
    Renderer_Clear(Renderer_WindowColour(), 1.0);
    for (int v = 0; v < kRoomViews; ++v) {
      const CView& view = room->r_view[v];
      if (!view.visible) continue;
      Renderer_SetCurrentView(v);
      Renderer_SetViewport(view.xport, view.yport, view.wport, view.hport);
      Renderer_SetViewProjection(view.xview, view.yview, view.wview, view.hview, view.angle);
      RDrawRect r{static_cast<double>(view.xview), static_cast<double>(view.yview),
                  static_cast<double>(view.xview + view.wview),
                  static_cast<double>(view.yview + view.hview)};
      if (std::fabs(view.angle) >= 0.01)
        r = RDrawRect{static_cast<double>(view.xview - view.hview / 2),
                      static_cast<double>(view.yview - view.wview / 2),
                      static_cast<double>(view.xview + view.wview + view.hview / 2),
                      static_cast<double>(view.yview + view.hview + view.wview / 2)};
      DrawView(*room, r);
    }
    Renderer_SetViewport(0, 0, Renderer_RegionWidth(), Renderer_RegionHeight());
    Renderer_SetViewProjection(0, 0, Renderer_RegionWidth(), Renderer_RegionHeight(), 0);
  } else {
    Renderer_SetCurrentView(0);
    Renderer_SetViewport(0, 0, room->r_width, room->r_height);
    Renderer_SetViewProjection(0, 0, room->r_width, room->r_height, 0);
    DrawView(*room, RDrawRect{0, 0, static_cast<double>(room->r_width),
                              static_cast<double>(room->r_height)});
  }
  Renderer_SetCaption(RoomDraw_Caption(*room));
  Renderer_SetCurrentView(0);
}
