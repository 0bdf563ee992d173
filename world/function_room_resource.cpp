// function_room_resource.cpp: the room resource builtins of game code
// (room_name, room_exists, room_set_*, room_add, room_duplicate,
// room_assign, room_instance_*, room_tile_*). They change the room
// resources, not the live state of a room already entered: a change shows
// the next time a fresh live state is made from the resource. A missing
// room index does nothing (and yields -1 where a result is due).
//
// Rooms made at run time are named "__newroom" + index and are appended to
// the room order, so room_goto_next and room_last reach them.
#include <memory>
#include <string>

#include "code/code_function.h"
#include "runner/game_data.h"
#include "world/instance_list.h"
#include "world/tile_args.h"

namespace {

int32_t Int(const RValue& v) { return ToInt32(v.val); }
bool Flag(const RValue& v) { return IsTrue(v.val); }

CRoom* RoomArg(const RValue* args) { return Game().rooms.Get(Int(args[0])); }

void F_Name(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::String(Game().rooms.Name(Int(args[0])));
}

void F_Exists(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(RoomArg(args) ? 1 : 0);
}

// --- settings ----------------------------------------------------------------

void F_SetWidth(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = RoomArg(args)) room->r_width = Int(args[1]);
}

void F_SetHeight(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = RoomArg(args)) room->r_height = Int(args[1]);
}

void F_SetCaption(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = RoomArg(args)) room->r_caption = args[1].str;
}

void F_SetPersistent(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = RoomArg(args)) room->r_persistent = Flag(args[1]);
}

void F_SetCode(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = RoomArg(args)) room->r_code = args[1].str;
}

// (room, colour, show)
void F_SetBackgroundColor(RValue&, CInstance*, CInstance*, int, RValue* args) {
  CRoom* room = RoomArg(args);
  if (room == nullptr) return;
  room->r_color = Int(args[1]);
  room->r_showcolor = Flag(args[2]);
}

bool InRange(int32_t index, int count) { return index >= 0 && index < count; }

// (room, layer, visible, foreground, background, x, y, htiled, vtiled,
// hspeed, vspeed, alpha)
void F_SetBackground(RValue&, CInstance*, CInstance*, int, RValue* args) {
  CRoom* room = RoomArg(args);
  const int32_t layer = Int(args[1]);
  if (room == nullptr || !InRange(layer, kRoomBackgrounds)) return;
  CBack& b = room->r_background[static_cast<size_t>(layer)];
  b.visible = Flag(args[2]);
  b.foreground = Flag(args[3]);
  b.index = Int(args[4]);
  b.x = args[5].val;
  b.y = args[6].val;
  b.htiled = Flag(args[7]);
  b.vtiled = Flag(args[8]);
  b.hspeed = args[9].val;
  b.vspeed = args[10].val;
  b.alpha = args[11].val;
}

// (room, view, visible, xview, yview, wview, hview, xport, yport, wport,
// hport, hborder, vborder, hspeed, vspeed, object)
void F_SetView(RValue&, CInstance*, CInstance*, int, RValue* args) {
  CRoom* room = RoomArg(args);
  const int32_t index = Int(args[1]);
  if (room == nullptr || !InRange(index, kRoomViews)) return;
  CView& v = room->r_view[static_cast<size_t>(index)];
  v.visible = Flag(args[2]);
  int32_t* fields[] = {&v.xview, &v.yview, &v.wview,   &v.hview,   &v.xport,  &v.yport, &v.wport,
                       &v.hport, &v.hborder, &v.vborder, &v.hspeed, &v.vspeed, &v.index};
  int arg = 3;
  for (int32_t* field : fields) *field = Int(args[arg++]);
}

void F_SetViewEnabled(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = RoomArg(args)) room->r_enableviews = Flag(args[1]);
}

// --- new rooms -----------------------------------------------------------------

int32_t AddRoom(std::unique_ptr<CRoom> room) {
  CGameData& game = Game();
  const int32_t index = game.rooms.Count();
  game.rooms.Add(std::move(room), FromUtf8("__newroom" + std::to_string(index)));
  game.room_order.push_back(index);
  return index;
}

void F_Add(RValue& result, CInstance*, CInstance*, int, RValue*) {
  result = RValue::Real(AddRoom(std::make_unique<CRoom>()));
}

void F_Duplicate(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const CRoom* source = RoomArg(args);
  result = RValue::Real(source ? AddRoom(std::make_unique<CRoom>(*source)) : -1);
}

// (room, source): room becomes a copy of source (its name stays).
void F_Assign(RValue&, CInstance*, CInstance*, int, RValue* args) {
  CRoom* room = RoomArg(args);
  const CRoom* source = Game().rooms.Get(Int(args[1]));
  if (room && source && room != source) *room = *source;
}

// --- placed instances and tiles ------------------------------------------------

// (room, x, y, object): the new instance's id; -1 without room or object.
void F_InstanceAdd(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(-1);
  CRoom* room = RoomArg(args);
  if (room == nullptr || !Game().objects.Exists(Int(args[3]))) return;
  RRoomInstance placed;
  placed.x = Int(args[1]);
  placed.y = Int(args[2]);
  placed.index = Int(args[3]);
  placed.id = ++Instance_LastId();
  room->r_instances.push_back(placed);
  result = RValue::Real(placed.id);
}

void F_InstanceClear(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = RoomArg(args)) room->r_instances.clear();
}

// (room, back, left, top, width, height, x, y, depth [, xscale, yscale,
// alpha]): the new tile's id; -1 without room or background.
void AddRoomTile(RValue& result, const RValue* args, bool extended) {
  result = RValue::Real(-1);
  CRoom* room = RoomArg(args);
  if (room == nullptr || !Game().backgrounds.Exists(Int(args[1]))) return;
  RTile tile = Tile_FromArgs(args + 1);
  if (extended) {
    tile.xscale = args[9].val;
    tile.yscale = args[10].val;
    tile.alpha = args[11].val;
  }
  const int index = room->AddTile(tile);
  result = RValue::Real(room->r_tile[static_cast<size_t>(index)].id);
}

void F_TileAdd(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  AddRoomTile(result, args, false);
}

void F_TileAddExt(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  AddRoomTile(result, args, true);
}

void F_TileClear(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = RoomArg(args)) room->ClearTiles();
}

}  // namespace

void World_RegisterRoomResourceFunctions() {
  Function_Add("room_name", F_Name, 1);
  Function_Add("room_exists", F_Exists, 1);
  Function_Add("room_get_name", F_Name, 1);
  Function_Add("room_set_width", F_SetWidth, 2);
  Function_Add("room_set_height", F_SetHeight, 2);
  Function_Add("room_set_caption", F_SetCaption, 2);
  Function_Add("room_set_persistent", F_SetPersistent, 2);
  Function_Add("room_set_code", F_SetCode, 2);
  Function_Add("room_set_background_color", F_SetBackgroundColor, 3);
  Function_Add("room_set_background", F_SetBackground, 12);
  Function_Add("room_set_view", F_SetView, 16);
  Function_Add("room_set_view_enabled", F_SetViewEnabled, 2);
  Function_Add("room_add", F_Add, 0);
  Function_Add("room_duplicate", F_Duplicate, 1);
  Function_Add("room_assign", F_Assign, 2);
  Function_Add("room_instance_add", F_InstanceAdd, 4);
  Function_Add("room_instance_clear", F_InstanceClear, 1);
  Function_Add("room_tile_add", F_TileAdd, 9);
  Function_Add("room_tile_add_ext", F_TileAddExt, 12);
  Function_Add("room_tile_clear", F_TileClear, 1);
}
