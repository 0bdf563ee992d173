// mp_grid.h: CGrid, a motion-planning grid of cells over the room (free or
// forbidden), its breadth-first shortest cell path search, and the table of
// grids that game code addresses by index (destroyed indices are reused).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CInstance;
class CPath;

// Fills the rectangle (x1, y1)-(x2, y2) with an RGB colour in the current
// drawing alpha. Set by the renderer; null: grids draw nothing.
using GridRectangleHook = void (*)(double x1, double y1, double x2, double y2, uint32_t colour);
void Grid_SetRectangleHook(GridRectangleHook hook);

class CGrid {
 public:
  static constexpr int32_t kFree = 0;
  static constexpr int32_t kForbidden = -1;

  int32_t i_left = 0;
  int32_t i_top = 0;
  int32_t i_cellw = 1;
  int32_t i_cellh = 1;
  int32_t i_hcells = 0;
  int32_t i_vcells = 0;
  // Cell (i, j) is element j + i * i_vcells: 0 free, -1 forbidden; positive
  // labels exist only during a search.
  std::vector<int32_t> i_cells;

  // Negative counts become 0 and cell sizes below 1 become 1 (a cell of no
  // width would divide by zero). All cells free.
  void Create(int32_t left, int32_t top, int32_t hcells, int32_t vcells, int32_t cellw, int32_t cellh);
  void ClearAll();
  // Ignored outside the grid.
  void ClearCell(int32_t i, int32_t j);
  void AddCell(int32_t i, int32_t j);
  // The cells a room rectangle covers (corners in any order).
  void ClearRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void AddRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // Forbids the cells of the instance's box; with prec only those whose
  // pixel rectangle meets the instance's mask.
  void AddInstance(CInstance* inst, bool prec);
  // Shortest cell path from (xs, ys) to (xg, yg); on success the path becomes
  // straight and open: the start point, the centres of the cells between,
  // the goal point. A failed search leaves the path untouched.
  bool FindPath(CPath& path, double xs, double ys, double xg, double yg, bool allowdiag);
  void Draw() const;

  // -1 for a cell outside the grid (treated as forbidden).
  int32_t Cell(int32_t i, int32_t j) const;

 private:
  bool Inside(int32_t i, int32_t j) const { return i >= 0 && i < i_hcells && j >= 0 && j < i_vcells; }
  size_t At(int32_t i, int32_t j) const {
    return static_cast<size_t>(j) + static_cast<size_t>(i) * static_cast<size_t>(i_vcells);
  }
  void SetRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value);
  int32_t Column(double x) const;
  int32_t Row(double y) const;
  bool Search(int32_t si, int32_t sj, int32_t gi, int32_t gj, bool allowdiag);
  void WriteCellPath(CPath& path, int32_t si, int32_t sj, int32_t gi, int32_t gj, bool allowdiag) const;
  void ClearLabels();
};

// The grid table.
int32_t Grid_Create(int32_t left, int32_t top, int32_t hcells, int32_t vcells, int32_t cellw,
                    int32_t cellh);
// Null when ind holds no grid.
CGrid* Grid_Get(int32_t ind);
void Grid_Destroy(int32_t ind);
// Destroys every grid (game start).
void Grid_DestroyAll();
