// room_tiles.cpp: the tile list of a room: adding with id allocation,
// finding by id or position, deleting, the depth-layer operations and the
// depth order used for drawing.
#include <algorithm>

#include "world/room_class.h"

namespace {

int32_t g_last_tile_id = 0;

double Right(const RTile& t) { return t.x + t.w * t.xscale; }
double Bottom(const RTile& t) { return t.y + t.h * t.yscale; }

// Left and top edges inside, right and bottom edges outside.
bool CoversHalfOpen(const RTile& t, double x, double y) {
  return x >= t.x && x < Right(t) && y >= t.y && y < Bottom(t);
}

bool CoversClosed(const RTile& t, double x, double y) {
  return x >= t.x && x <= Right(t) && y >= t.y && y <= Bottom(t);
}

template <class Predicate>
void EraseTiles(std::vector<RTile>& tiles, Predicate&& doomed) {
  tiles.erase(std::remove_if(tiles.begin(), tiles.end(), doomed), tiles.end());
}

template <class Predicate>
int FindFirst(CRoom& room, Predicate&& wanted) {
  const auto& tiles = room.r_tile;
  auto it = std::find_if(tiles.begin(), tiles.end(), wanted);
  if (it == tiles.end()) return -1;
  room.r_lasttile = static_cast<int>(it - tiles.begin());
  return room.r_lasttile;
}

}  // namespace

int32_t& Tile_LastId() { return g_last_tile_id; }

int CRoom::AddTile(const RTile& tile) {
  r_tile.push_back(tile);
  r_tile.back().id = ++g_last_tile_id;
  r_lasttile = static_cast<int>(r_tile.size()) - 1;
  return r_lasttile;
}

void CRoom::ClearTiles() {
  r_tile.clear();
  r_lasttile = -1;
}

void CRoom::DeleteTile(int index) {
  if (index < 0 || static_cast<size_t>(index) >= r_tile.size()) return;
  r_tile.erase(r_tile.begin() + index);
}

// The cached index is tried first: repeated calls on one tile cost nothing.
int CRoom::FindTile(int32_t id) {
  if (r_lasttile >= 0 && static_cast<size_t>(r_lasttile) < r_tile.size() &&
      r_tile[static_cast<size_t>(r_lasttile)].id == id)
    return r_lasttile;
  return FindFirst(*this, [id](const RTile& t) { return t.id == id; });
}

int CRoom::FindTileAt(double x, double y, bool foreground) {
  return FindFirst(*this, [=](const RTile& t) {
    return CoversHalfOpen(t, x, y) && (t.depth < 0) == foreground;
  });
}

void CRoom::DeleteTilesAt(double x, double y, bool foreground) {
  EraseTiles(r_tile, [=](const RTile& t) {
    const bool layer_matches = foreground ? t.depth <= 0 : t.depth >= 0;
    return layer_matches && CoversClosed(t, x, y);
  });
}

void CRoom::SortTiles() {
  auto deeper_first = [](const RTile& a, const RTile& b) { return a.depth > b.depth; };
  if (std::is_sorted(r_tile.begin(), r_tile.end(), deeper_first)) return;
  std::stable_sort(r_tile.begin(), r_tile.end(), deeper_first);
}

void CRoom::HideTilesDepth(double depth) {
  for (RTile& t : r_tile)
    if (t.depth == depth) t.visible = false;
}

void CRoom::ShowTilesDepth(double depth) {
  for (RTile& t : r_tile)
    if (t.depth == depth) t.visible = true;
}

void CRoom::DeleteTilesDepth(double depth) {
  EraseTiles(r_tile, [depth](const RTile& t) { return t.depth == depth; });
}

void CRoom::ShiftTilesDepth(double depth, double dx, double dy) {
  for (RTile& t : r_tile) {
    if (t.depth != depth) continue;
    t.x += dx;
    t.y += dy;
  }
}

int CRoom::FindTileAtDepth(double depth, double x, double y) {
  return FindFirst(*this,
                   [=](const RTile& t) { return t.depth == depth && CoversHalfOpen(t, x, y); });
}

void CRoom::DeleteTilesAtDepth(double depth, double x, double y) {
  EraseTiles(r_tile, [=](const RTile& t) { return t.depth == depth && CoversHalfOpen(t, x, y); });
}

void CRoom::ChangeTilesDepth(double olddepth, double newdepth) {
  for (RTile& t : r_tile)
    if (t.depth == olddepth) t.depth = newdepth;
}
