// room_class.cpp: CRoom defaults and stored form (with the rules applied on
// reading: stretched background scales, view angle, tile defaults).
#include "world/room_class.h"

#include <cmath>

#include "runner/game_data.h"
#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kRoomVersion = 541;
constexpr size_t kBackBytes = 10 * 4;
constexpr size_t kViewBytes = 14 * 4;
constexpr size_t kInstanceBytes = 5 * 4;
constexpr size_t kTileBytes = 9 * 4;

void ReadBack(CStream& s, CBack& b) {
  b.visible = s.ReadBoolean();
  b.foreground = s.ReadBoolean();
  b.index = s.ReadInteger();
  b.x = s.ReadInteger();
  b.y = s.ReadInteger();
  b.htiled = s.ReadBoolean();
  b.vtiled = s.ReadBoolean();
  b.hspeed = s.ReadInteger();
  b.vspeed = s.ReadInteger();
  b.stretch = s.ReadBoolean();
  b.blend = 0xFFFFFF;
  b.alpha = 1.0;
  b.xscale = 1.0;
  b.yscale = 1.0;
}

// A stretched layer covers the room: its scales follow the background
// resource's size when it exists with a positive size.
void ApplyStretch(CBack& b, int32_t room_w, int32_t room_h) {
  if (!b.stretch) return;
  const CBackground* bg = Game().backgrounds.Get(b.index);
  if (!bg) return;
  if (bg->Width() > 0) b.xscale = static_cast<double>(room_w) / bg->Width();
  if (bg->Height() > 0) b.yscale = static_cast<double>(room_h) / bg->Height();
}

void WriteBack(CStream& s, const CBack& b) {
  s.WriteBoolean(b.visible);
  s.WriteBoolean(b.foreground);
  s.WriteInteger(b.index);
  s.WriteInteger(static_cast<int32_t>(std::lround(b.x)));
  s.WriteInteger(static_cast<int32_t>(std::lround(b.y)));
  s.WriteBoolean(b.htiled);
  s.WriteBoolean(b.vtiled);
  s.WriteInteger(static_cast<int32_t>(std::lround(b.hspeed)));
  s.WriteInteger(static_cast<int32_t>(std::lround(b.vspeed)));
  s.WriteBoolean(b.stretch);
}

void ReadView(CStream& s, CView& v) {
  v.visible = s.ReadBoolean();
  v.xview = s.ReadInteger();
  v.yview = s.ReadInteger();
  v.wview = s.ReadInteger();
  v.hview = s.ReadInteger();
  v.xport = s.ReadInteger();
  v.yport = s.ReadInteger();
  v.wport = s.ReadInteger();
  v.hport = s.ReadInteger();
  v.hborder = s.ReadInteger();
  v.vborder = s.ReadInteger();
  v.hspeed = s.ReadInteger();
  v.vspeed = s.ReadInteger();
  v.index = s.ReadInteger();
  v.angle = 0.0;
}

void WriteView(CStream& s, const CView& v) {
  s.WriteBoolean(v.visible);
  for (int32_t x : {v.xview, v.yview, v.wview, v.hview, v.xport, v.yport, v.wport, v.hport,
                    v.hborder, v.vborder, v.hspeed, v.vspeed, v.index})
    s.WriteInteger(x);
}

void ReadTile(CStream& s, RTile& t) {
  t = RTile();
  t.x = s.ReadInteger();
  t.y = s.ReadInteger();
  t.index = s.ReadInteger();
  t.xo = s.ReadInteger();
  t.yo = s.ReadInteger();
  t.w = s.ReadInteger();
  t.h = s.ReadInteger();
  t.depth = s.ReadInteger();
  t.id = s.ReadInteger();
}

void WriteTile(CStream& s, const RTile& t) {
  s.WriteInteger(static_cast<int32_t>(std::lround(t.x)));
  s.WriteInteger(static_cast<int32_t>(std::lround(t.y)));
  s.WriteInteger(t.index);
  s.WriteInteger(t.xo);
  s.WriteInteger(t.yo);
  s.WriteInteger(t.w);
  s.WriteInteger(t.h);
  s.WriteInteger(static_cast<int32_t>(std::lround(t.depth)));
  s.WriteInteger(t.id);
}
}  // namespace

void CRoom::Clear() { *this = CRoom(); }

bool CRoom::LoadFromStream(CStream& s) {
  Clear();
  if (!ReadVersion(s, kRoomVersion)) return false;
  r_caption = s.ReadString();
  r_width = s.ReadInteger();
  r_height = s.ReadInteger();
  r_speed = s.ReadInteger();
  r_persistent = s.ReadBoolean();
  r_color = s.ReadInteger();
  r_showcolor = s.ReadBoolean();
  r_code = s.ReadString();

  int32_t n = 0;
  if (!ReadCount(s, n, kBackBytes)) return false;
  for (int32_t i = 0; i < n; ++i) {
    CBack b;
    ReadBack(s, b);
    if (i < kRoomBackgrounds) r_background[i] = b;
  }
  for (CBack& b : r_background) ApplyStretch(b, r_width, r_height);

  r_enableviews = s.ReadBoolean();
  if (!ReadCount(s, n, kViewBytes)) return false;
  for (int32_t i = 0; i < n; ++i) {
    CView v;
    ReadView(s, v);
    if (i < kRoomViews) r_view[i] = v;
  }

  if (!ReadCount(s, n, kInstanceBytes)) return false;
  r_instances.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    RRoomInstance inst;
    inst.x = s.ReadInteger();
    inst.y = s.ReadInteger();
    inst.index = s.ReadInteger();
    inst.id = s.ReadInteger();
    inst.code = s.ReadString();
    r_instances.push_back(std::move(inst));
  }

  if (!ReadCount(s, n, kTileBytes)) return false;
  r_tile.resize(static_cast<size_t>(n));
  for (RTile& t : r_tile) ReadTile(s, t);
  return true;
}

void CRoom::SaveToStream(CStream& s) const {
  s.WriteInteger(kRoomVersion);
  s.WriteString(r_caption);
  s.WriteInteger(r_width);
  s.WriteInteger(r_height);
  s.WriteInteger(r_speed);
  s.WriteBoolean(r_persistent);
  s.WriteInteger(r_color);
  s.WriteBoolean(r_showcolor);
  s.WriteString(r_code);
  s.WriteInteger(kRoomBackgrounds);
  for (const CBack& b : r_background) WriteBack(s, b);
  s.WriteBoolean(r_enableviews);
  s.WriteInteger(kRoomViews);
  for (const CView& v : r_view) WriteView(s, v);
  s.WriteInteger(static_cast<int32_t>(r_instances.size()));
  for (const RRoomInstance& inst : r_instances) {
    s.WriteInteger(inst.x);
    s.WriteInteger(inst.y);
    s.WriteInteger(inst.index);
    s.WriteInteger(inst.id);
    s.WriteString(inst.code);
  }
  s.WriteInteger(static_cast<int32_t>(r_tile.size()));
  for (const RTile& t : r_tile) WriteTile(s, t);
}
