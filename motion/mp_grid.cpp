// mp_grid.cpp: CGrid cells, the breadth-first cell path search and the grid
// table.
#include "motion/mp_grid.h"

#include <algorithm>
#include <cmath>

#include "motion/collision.h"
#include "motion/path_class.h"
#include "world/instance_class.h"

namespace {

constexpr uint32_t kColourForbidden = 0x0000FF;  // red
constexpr uint32_t kColourFree = 0x008000;       // green (0, 128, 0)

GridRectangleHook g_rectangle = nullptr;
std::vector<std::unique_ptr<CGrid>> g_grids;

struct RCell {
  int32_t i, j;
};

// The neighbours of a cell, in the order the search labels them.
enum Neighbour { kLeft, kRight, kUp, kDown, kLeftDown, kLeftUp, kRightDown, kRightUp, kNeighbours };
constexpr int kDi[kNeighbours] = {-1, 1, 0, 0, -1, -1, 1, 1};
constexpr int kDj[kNeighbours] = {0, 0, -1, 1, 1, -1, 1, -1};
// The two orthogonal neighbours a diagonal step passes between.
constexpr Neighbour kSideA[kNeighbours] = {kLeft, kRight, kUp, kDown, kLeft, kLeft, kRight, kRight};
constexpr Neighbour kSideB[kNeighbours] = {kLeft, kRight, kUp, kDown, kDown, kUp, kDown, kUp};
// The order in which the way back picks among equally good neighbours.
constexpr Neighbour kBackOrder[kNeighbours] = {kLeft,     kRight,     kUp,     kDown,
                                               kLeftDown, kRightDown, kLeftUp, kRightUp};

// Truncating division (toward zero), as the cell of a coordinate is defined.
int64_t CellOf(int64_t offset, int32_t size) { return offset / size; }

}  // namespace

void Grid_SetRectangleHook(GridRectangleHook hook) { g_rectangle = hook; }

void CGrid::Create(int32_t left, int32_t top, int32_t hcells, int32_t vcells, int32_t cellw,
                   int32_t cellh) {
  i_left = left;
  i_top = top;
  i_hcells = std::max(hcells, 0);
  i_vcells = std::max(vcells, 0);
  i_cellw = std::max(cellw, 1);
  i_cellh = std::max(cellh, 1);
  i_cells.assign(static_cast<size_t>(i_hcells) * static_cast<size_t>(i_vcells), kFree);
}

void CGrid::ClearAll() { std::fill(i_cells.begin(), i_cells.end(), kFree); }

void CGrid::ClearCell(int32_t i, int32_t j) {
  if (Inside(i, j)) i_cells[At(i, j)] = kFree;
}

void CGrid::AddCell(int32_t i, int32_t j) {
  if (Inside(i, j)) i_cells[At(i, j)] = kForbidden;
}

int32_t CGrid::Cell(int32_t i, int32_t j) const { return Inside(i, j) ? i_cells[At(i, j)] : kForbidden; }

void CGrid::SetRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value) {
  const int64_t i0 = std::max<int64_t>(CellOf(int64_t{std::min(x1, x2)} - i_left, i_cellw), 0);
  const int64_t i1 = std::min<int64_t>(CellOf(int64_t{std::max(x1, x2)} - i_left, i_cellw), i_hcells - 1);
  const int64_t j0 = std::max<int64_t>(CellOf(int64_t{std::min(y1, y2)} - i_top, i_cellh), 0);
  const int64_t j1 = std::min<int64_t>(CellOf(int64_t{std::max(y1, y2)} - i_top, i_cellh), i_vcells - 1);
  for (int64_t i = i0; i <= i1; ++i)
    for (int64_t j = j0; j <= j1; ++j) i_cells[At(static_cast<int32_t>(i), static_cast<int32_t>(j))] = value;
}

void CGrid::ClearRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { SetRectangle(x1, y1, x2, y2, kFree); }
void CGrid::AddRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  SetRectangle(x1, y1, x2, y2, kForbidden);
}

void CGrid::AddInstance(CInstance* inst, bool prec) {
  if (inst == nullptr) return;
  const TRect& box = inst->i_bbox;
  if (!prec) return SetRectangle(box.left, box.top, box.right, box.bottom, kForbidden);
  const int64_t i0 = std::max<int64_t>(CellOf(int64_t{box.left} - i_left, i_cellw), 0);
  const int64_t i1 = std::min<int64_t>(CellOf(int64_t{box.right} - i_left, i_cellw), i_hcells - 1);
  const int64_t j0 = std::max<int64_t>(CellOf(int64_t{box.top} - i_top, i_cellh), 0);
  const int64_t j1 = std::min<int64_t>(CellOf(int64_t{box.bottom} - i_top, i_cellh), i_vcells - 1);
  for (int64_t i = i0; i <= i1; ++i) {
    for (int64_t j = j0; j <= j1; ++j) {
      int32_t& cell = i_cells[At(static_cast<int32_t>(i), static_cast<int32_t>(j))];
      if (cell == kForbidden) continue;
      const double x = static_cast<double>(i_left) + static_cast<double>(i * i_cellw);
      const double y = static_cast<double>(i_top) + static_cast<double>(j * i_cellh);
      if (Collision_Rectangle(inst, x, y, x + i_cellw - 1, y + i_cellh - 1, true)) cell = kForbidden;
    }
  }
}

// --- path search -------------------------------------------------------------------

int32_t CGrid::Column(double x) const { return static_cast<int32_t>(std::floor((x - i_left) / i_cellw)); }
int32_t CGrid::Row(double y) const { return static_cast<int32_t>(std::floor((y - i_top) / i_cellh)); }

bool CGrid::FindPath(CPath& path, double xs, double ys, double xg, double yg, bool allowdiag) {
  const double right = static_cast<double>(i_left) + static_cast<double>(i_hcells) * i_cellw;
  const double bottom = static_cast<double>(i_top) + static_cast<double>(i_vcells) * i_cellh;
  auto inside = [&](double x, double y) { return x >= i_left && x < right && y >= i_top && y < bottom; };
  if (!inside(xs, ys) || !inside(xg, yg)) return false;
  const int32_t si = Column(xs), sj = Row(ys), gi = Column(xg), gj = Row(yg);
  if (Cell(si, sj) == kForbidden || Cell(gi, gj) == kForbidden) return false;
  const bool found = Search(si, sj, gi, gj, allowdiag);
  if (found) {
    path.i_points.clear();
    path.i_kind = 0;
    path.i_closed = false;
    path.i_points.push_back(RWayPoint{xg, yg, 100.0});
    WriteCellPath(path, si, sj, gi, gj, allowdiag);
    path.i_points.push_back(RWayPoint{xs, ys, 100.0});
    std::reverse(path.i_points.begin(), path.i_points.end());
    path.ComputeInterpolation();
  }
  ClearLabels();
  return found;
}

// Labels every reached cell with 1 + its distance in steps from the start.
// A diagonal step needs both orthogonal neighbours free and unvisited.
bool CGrid::Search(int32_t si, int32_t sj, int32_t gi, int32_t gj, bool allowdiag) {
  std::vector<RCell> queue;
  queue.reserve(64);
  queue.push_back(RCell{si, sj});
  i_cells[At(si, sj)] = 1;
  const int directions = allowdiag ? kNeighbours : kLeftDown;
  for (size_t head = 0; head < queue.size(); ++head) {
    const RCell c = queue[head];
    if (c.i == gi && c.j == gj) return true;
    const int32_t label = i_cells[At(c.i, c.j)];
    bool open[kNeighbours];
    for (int n = 0; n < kNeighbours; ++n) open[n] = Cell(c.i + kDi[n], c.j + kDj[n]) == kFree;
    for (int n = 0; n < directions; ++n) {
      if (!open[n] || !open[kSideA[n]] || !open[kSideB[n]]) continue;
      const RCell next{c.i + kDi[n], c.j + kDj[n]};
      i_cells[At(next.i, next.j)] = label + 1;
      queue.push_back(next);
    }
  }
  return false;
}

// From the goal back to the start through cells labelled one less each
// time; a diagonal step back never cuts between two forbidden cells.
void CGrid::WriteCellPath(CPath& path, int32_t si, int32_t sj, int32_t gi, int32_t gj, bool allowdiag) const {
  const int directions = allowdiag ? kNeighbours : kLeftDown;
  int32_t i = gi, j = gj;
  while (!(i == si && j == sj)) {
    const int32_t want = Cell(i, j) - 1;
    bool moved = false;
    for (int k = 0; k < directions && !moved; ++k) {
      const Neighbour n = kBackOrder[k];
      if (Cell(i + kDi[n], j + kDj[n]) != want || want < 1) continue;
      if (Cell(i + kDi[kSideA[n]], j + kDj[kSideA[n]]) == kForbidden ||
          Cell(i + kDi[kSideB[n]], j + kDj[kSideB[n]]) == kForbidden)
        continue;
      i += kDi[n];
      j += kDj[n];
      moved = true;
    }
    if (!moved) return;  // cannot happen for labels the search wrote
    if (i == si && j == sj) break;
    const double cx = static_cast<double>(i_left) + static_cast<double>(i) * i_cellw + i_cellw / 2;
    const double cy = static_cast<double>(i_top) + static_cast<double>(j) * i_cellh + i_cellh / 2;
    path.i_points.push_back(RWayPoint{cx, cy, 100.0});
  }
}

void CGrid::ClearLabels() {
  for (int32_t& cell : i_cells)
    if (cell > 0) cell = kFree;
}

void CGrid::Draw() const {
  if (g_rectangle == nullptr) return;
  for (int32_t i = 0; i < i_hcells; ++i) {
    for (int32_t j = 0; j < i_vcells; ++j) {
      const double x = static_cast<double>(i_left) + static_cast<double>(i) * i_cellw;
      const double y = static_cast<double>(i_top) + static_cast<double>(j) * i_cellh;
      g_rectangle(x, y, x + i_cellw, y + i_cellh,
                  i_cells[At(i, j)] == kForbidden ? kColourForbidden : kColourFree);
    }
  }
}

// --- the table ---------------------------------------------------------------------

int32_t Grid_Create(int32_t left, int32_t top, int32_t hcells, int32_t vcells, int32_t cellw,
                    int32_t cellh) {
  auto grid = std::make_unique<CGrid>();
  grid->Create(left, top, hcells, vcells, cellw, cellh);
  auto empty = std::find(g_grids.begin(), g_grids.end(), nullptr);
  if (empty != g_grids.end()) {
    *empty = std::move(grid);
    return static_cast<int32_t>(empty - g_grids.begin());
  }
  g_grids.push_back(std::move(grid));
  return static_cast<int32_t>(g_grids.size()) - 1;
}

CGrid* Grid_Get(int32_t ind) {
  if (ind < 0 || static_cast<size_t>(ind) >= g_grids.size()) return nullptr;
  return g_grids[static_cast<size_t>(ind)].get();
}

void Grid_Destroy(int32_t ind) {
  if (Grid_Get(ind) != nullptr) g_grids[static_cast<size_t>(ind)].reset();
}

void Grid_DestroyAll() { g_grids.clear(); }
