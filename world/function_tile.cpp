// function_tile.cpp: the tile builtins of game code (tile_*): they act on
// the current room's tile list and name tiles by id. An unknown id reports
// "Tile does not exist." (not fatal); its getters then give 0, and
// tile_get_background -1.
#include "code/code_error.h"
#include "code/code_function.h"
#include "runner/game_data.h"
#include "world/room_runtime.h"
#include "world/tile_args.h"

namespace {

int32_t Int(const RValue& v) { return ToInt32(v.val); }
double Round(const RValue& v) { return static_cast<double>(ToInt32(v.val)); }

// The tile with the id of args[0] in the current room; null (reported)
// when there is none.
RTile* TileArg(const RValue* args) {
  CRoom* room = Room_Live();
  int index = room ? room->FindTile(Int(args[0])) : -1;
  if (index < 0) {
    Error_Show_Action("Tile does not exist.", false);
    return nullptr;
  }
  return &room->r_tile[static_cast<size_t>(index)];
}

bool BackgroundExists(int32_t index) {
  if (Game().backgrounds.Exists(index)) return true;
  Error_Show_Action("Background does not exist.", false);
  return false;
}

// --- getters ---------------------------------------------------------------

template <class T, T RTile::*Field>
void F_Get(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  if (const RTile* t = TileArg(args)) result = RValue::Real(static_cast<double>(t->*Field));
}

void F_GetBackground(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const RTile* t = TileArg(args);
  result = RValue::Real(t ? t->index : -1);
}

// --- setters ---------------------------------------------------------------

void F_SetVisible(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (RTile* t = TileArg(args)) t->visible = IsTrue(args[1].val);
}

void F_SetBackground(RValue&, CInstance*, CInstance*, int, RValue* args) {
  RTile* t = TileArg(args);
  if (t && BackgroundExists(Int(args[1]))) t->index = Int(args[1]);
}

void F_SetRegion(RValue&, CInstance*, CInstance*, int, RValue* args) {
  RTile* t = TileArg(args);
  if (t == nullptr) return;
  t->xo = Int(args[1]);
  t->yo = Int(args[2]);
  t->w = Int(args[3]);
  t->h = Int(args[4]);
}

void F_SetPosition(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (RTile* t = TileArg(args)) {
    t->x = args[1].val;
    t->y = args[2].val;
  }
}

void F_SetDepth(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (RTile* t = TileArg(args)) t->depth = args[1].val;
}

void F_SetScale(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (RTile* t = TileArg(args)) {
    t->xscale = args[1].val;
    t->yscale = args[2].val;
  }
}

void F_SetBlend(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (RTile* t = TileArg(args)) t->blend = Int(args[1]);
}

void F_SetAlpha(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (RTile* t = TileArg(args)) t->alpha = args[1].val;
}

// --- the list --------------------------------------------------------------

// (back, left, top, width, height, x, y, depth): the new tile's id, -1 when
// the background is missing or there is no room.
void F_Add(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  result = RValue::Real(-1);
  CRoom* room = Room_Live();
  if (!BackgroundExists(Int(args[0])) || room == nullptr) return;
  const int index = room->AddTile(Tile_FromArgs(args));
  result = RValue::Real(room->r_tile[static_cast<size_t>(index)].id);
}

double IdAt(const CRoom* room, int index) {
  return index < 0 ? -1.0 : room->r_tile[static_cast<size_t>(index)].id;
}

void F_Find(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  CRoom* room = Room_Live();
  int index = room ? room->FindTileAt(Round(args[0]), Round(args[1]), IsTrue(args[2].val)) : -1;
  result = RValue::Real(IdAt(room, index));
}

void F_Exists(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  CRoom* room = Room_Live();
  result = RValue::Real(room && room->FindTile(Int(args[0])) >= 0 ? 1 : 0);
}

void F_Delete(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = Room_Live()) room->DeleteTile(room->FindTile(Int(args[0])));
}

void F_DeleteAt(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = Room_Live())
    room->DeleteTilesAt(Round(args[0]), Round(args[1]), IsTrue(args[2].val));
}

// --- depth layers ----------------------------------------------------------

void F_LayerHide(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = Room_Live()) room->HideTilesDepth(args[0].val);
}

void F_LayerShow(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = Room_Live()) room->ShowTilesDepth(args[0].val);
}

void F_LayerDelete(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = Room_Live()) room->DeleteTilesDepth(args[0].val);
}

void F_LayerShift(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = Room_Live()) room->ShiftTilesDepth(args[0].val, args[1].val, args[2].val);
}

void F_LayerFind(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  CRoom* room = Room_Live();
  int index = room ? room->FindTileAtDepth(args[0].val, args[1].val, args[2].val) : -1;
  result = RValue::Real(IdAt(room, index));
}

void F_LayerDeleteAt(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = Room_Live()) room->DeleteTilesAtDepth(args[0].val, args[1].val, args[2].val);
}

void F_LayerDepth(RValue&, CInstance*, CInstance*, int, RValue* args) {
  if (CRoom* room = Room_Live()) room->ChangeTilesDepth(args[0].val, args[1].val);
}

}  // namespace

void World_RegisterTileFunctions() {
  Function_Add("tile_get_x", F_Get<double, &RTile::x>, 1);
  Function_Add("tile_get_y", F_Get<double, &RTile::y>, 1);
  Function_Add("tile_get_left", F_Get<int32_t, &RTile::xo>, 1);
  Function_Add("tile_get_top", F_Get<int32_t, &RTile::yo>, 1);
  Function_Add("tile_get_width", F_Get<int32_t, &RTile::w>, 1);
  Function_Add("tile_get_height", F_Get<int32_t, &RTile::h>, 1);
  Function_Add("tile_get_depth", F_Get<double, &RTile::depth>, 1);
  Function_Add("tile_get_visible", F_Get<bool, &RTile::visible>, 1);
  Function_Add("tile_get_xscale", F_Get<double, &RTile::xscale>, 1);
  Function_Add("tile_get_yscale", F_Get<double, &RTile::yscale>, 1);
  Function_Add("tile_get_blend", F_Get<int32_t, &RTile::blend>, 1);
  Function_Add("tile_get_alpha", F_Get<double, &RTile::alpha>, 1);
  Function_Add("tile_get_background", F_GetBackground, 1);
  Function_Add("tile_set_visible", F_SetVisible, 2);
  Function_Add("tile_set_background", F_SetBackground, 2);
  Function_Add("tile_set_region", F_SetRegion, 5);
  Function_Add("tile_set_position", F_SetPosition, 3);
  Function_Add("tile_set_depth", F_SetDepth, 2);
  Function_Add("tile_set_scale", F_SetScale, 3);
  Function_Add("tile_set_blend", F_SetBlend, 2);
  Function_Add("tile_set_alpha", F_SetAlpha, 2);
  Function_Add("tile_add", F_Add, 8);
  Function_Add("tile_find", F_Find, 3);
  Function_Add("tile_exists", F_Exists, 1);
  Function_Add("tile_delete", F_Delete, 1);
  Function_Add("tile_delete_at", F_DeleteAt, 3);
  Function_Add("tile_layer_hide", F_LayerHide, 1);
  Function_Add("tile_layer_show", F_LayerShow, 1);
  Function_Add("tile_layer_delete", F_LayerDelete, 1);
  Function_Add("tile_layer_shift", F_LayerShift, 3);
  Function_Add("tile_layer_find", F_LayerFind, 3);
  Function_Add("tile_layer_delete_at", F_LayerDeleteAt, 3);
  Function_Add("tile_layer_depth", F_LayerDepth, 2);
}
