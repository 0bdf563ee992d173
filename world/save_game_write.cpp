// save_game_write.cpp: the saved-game image of the running game, field by
// field in the order of the file layout (room, background, view, tile and
// instance records; variable lists and the globals block in their stream
// forms).
#include <cmath>

#include "code/builtin_variables.h"
#include "code/code_variable.h"
#include "graphics/screen_frame.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "common/support_stream.h"
#include "world/cursor_sprite.h"
#include "world/instance_list.h"
#include "world/save_game.h"

namespace {

// Bytes of a room with a few instances; the image grows from there.
constexpr size_t kInitialImageBytes = 64 * 1024;
constexpr size_t kInstanceRecordGuess = 700;

void WriteBackground(CStream& s, const CBack& b) {
  s.WriteBoolean(b.visible);
  s.WriteBoolean(b.foreground);
  s.WriteInteger(b.index);
  s.WriteReal(b.x);
  s.WriteReal(b.y);
  s.WriteBoolean(b.htiled);
  s.WriteBoolean(b.vtiled);
  s.WriteReal(b.xscale);
  s.WriteReal(b.yscale);
  s.WriteReal(b.hspeed);
  s.WriteReal(b.vspeed);
  s.WriteInteger(b.blend);
  s.WriteReal(b.alpha);
}

void WriteView(CStream& s, const CView& v) {
  s.WriteBoolean(v.visible);
  for (int32_t n : {v.xview, v.yview, v.wview, v.hview, v.xport, v.yport, v.wport, v.hport})
    s.WriteInteger(n);
  s.WriteReal(v.angle);
  for (int32_t n : {v.hborder, v.vborder, v.hspeed, v.vspeed, v.index}) s.WriteInteger(n);
}

void WriteTile(CStream& s, const RTile& t) {
  s.WriteReal(t.x);
  s.WriteReal(t.y);
  s.WriteInteger(t.index);
  for (int32_t n : {t.xo, t.yo, t.w, t.h}) s.WriteInteger(n);
  s.WriteReal(t.depth);
  s.WriteInteger(t.id);
  s.WriteReal(t.xscale);
  s.WriteReal(t.yscale);
  s.WriteInteger(t.blend);
  s.WriteReal(t.alpha);
  s.WriteBoolean(t.visible);
}

void WriteReals(CStream& s, std::initializer_list<double> values) {
  for (double v : values) s.WriteReal(v);
}

// CInstance.SaveToStream.
void WriteInstance(CStream& s, const CInstance& i) {
  s.WriteInteger(i.i_id);
  s.WriteInteger(i.i_spriteindex);
  WriteReals(s, {i.i_imageindex, i.i_imagespeed, i.i_imagescalex, i.i_imagescaley, i.i_imageangle,
                 i.i_imagealpha});
  s.WriteInteger(static_cast<int32_t>(i.i_imageblend));
  s.WriteInteger(i.i_maskindex);
  WriteReals(s, {i.i_depth, i.i_x, i.i_y, i.i_xstart, i.i_ystart, i.i_xprevious, i.i_yprevious,
                 i.i_direction, i.i_speed, i.i_friction, i.i_gravitydir, i.i_gravity, i.i_hspeed,
                 i.i_vspeed});
  for (int32_t n : {i.i_bbox.left, i.i_bbox.right, i.i_bbox.top, i.i_bbox.bottom}) s.WriteInteger(n);
  s.WriteBoolean(i.i_visible);
  s.WriteBoolean(i.i_solid);
  s.WriteBoolean(i.i_persistent);
  s.WriteInteger(i.i_objectindex);
  for (int32_t alarm : i.i_timer) s.WriteInteger(alarm);
  s.WriteBoolean(i.i_marked);
  s.WriteBoolean(i.i_deactivated);
  s.WriteInteger(i.i_pathindex);
  WriteReals(s, {i.i_pathposition, i.i_pathpositionprevious, i.i_pathspeed, i.i_pathscale,
                 i.i_pathorientation});
  s.WriteInteger(i.i_pathend);
  WriteReals(s, {i.i_pathxstart, i.i_pathystart});
  s.WriteInteger(i.i_timelineindex);
  WriteReals(s, {i.i_timelineposition, i.i_timelinespeed});
  s.WriteBoolean(i.i_timelinerunning);
  s.WriteBoolean(i.i_timelineloop);
  s.WriteString(i.i_initcode);
  i.i_vars.SaveToStream(s);
}

void WriteInstances(CStream& s, const InstanceOwnerList& list) {
  s.WriteInteger(static_cast<int32_t>(list.size()));
  for (const auto& inst : list) WriteInstance(s, *inst);
}

// CRoom.SaveGameToStream: the live settings and the given instance lists
// (the current lists for the current room, the slot's own for the others).
void WriteRoom(CStream& s, const CRoom& r, const RInstanceLists& lists) {
  s.WriteInteger(kSaveRoomVersion);
  s.WriteString(r.r_caption);
  s.WriteInteger(r.r_width);
  s.WriteInteger(r.r_height);
  s.WriteInteger(r.r_speed);
  s.WriteBoolean(r.r_persistent);
  s.WriteInteger(r.r_color);
  s.WriteBoolean(r.r_showcolor);
  s.WriteString(r.r_code);
  s.WriteInteger(kRoomBackgrounds);
  for (const CBack& b : r.r_background) WriteBackground(s, b);
  s.WriteBoolean(r.r_enableviews);
  s.WriteInteger(kRoomViews);
  for (const CView& v : r.r_view) WriteView(s, v);
  WriteInstances(s, lists.active);
  WriteInstances(s, lists.deactivated);
  s.WriteInteger(static_cast<int32_t>(r.r_tile.size()));
  for (const RTile& t : r.r_tile) WriteTile(s, t);
}

size_t ImageGuess(const RLiveRoomTable& table) {
  size_t instances = Instance_Lists().active.size() + Instance_Lists().deactivated.size();
  for (const auto& live : table)
    if (live) instances += live->instances.active.size() + live->instances.deactivated.size();
  return kInitialImageBytes + instances * kInstanceRecordGuess;
}

}  // namespace

void SaveGame_WriteStream(CStream& s) {
  const RLiveRoomTable& table = RoomRuntime_Table();
  const int current = Room_LiveIndex();
  s.Bytes().reserve(s.Size() + ImageGuess(table));
  s.WriteInteger(kSaveGameVersion);
  s.WriteInteger(Game().game_id);
  s.WriteInteger(current);
  s.WriteInteger(g_GameGlobals.transition_kind);
  s.WriteInteger(g_GameGlobals.score);
  s.WriteInteger(g_GameGlobals.lives);
  s.WriteReal(g_GameGlobals.health);
  s.WriteInteger(Cursor_Sprite());
  s.WriteInteger(static_cast<int32_t>(RunnerForm().step_counter));
  s.WriteBoolean(Screen_AutomaticDraw());
  Variable_GlobalsSave(s);
  s.WriteInteger(static_cast<int32_t>(table.size()));
  for (size_t room = 0; room < table.size(); ++room) {
    const RLiveRoom* live = table[room].get();
    s.WriteBoolean(live != nullptr);
    if (live == nullptr) continue;
    const bool is_current = static_cast<int>(room) == current;
    WriteRoom(s, live->room, is_current ? Instance_Lists() : live->instances);
  }
  s.WriteInteger(Instance_LastId());
  s.WriteInteger(Tile_LastId());
}
