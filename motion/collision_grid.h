// collision_grid.h: TCollisionGrid, the broad phase of the collision phase:
// a uniform grid over the boxes of one per-object instance list, answering
// which list positions may overlap a box. Entries are never removed while
// the grid lives: a moved instance is added again under its new box, so a
// query returns a superset of the positions whose boxes overlap now.
#pragma once

#include <cstdint>
#include <vector>

#include "motion/sprite_mask.h"

class CInstance;

class TCollisionGrid {
 public:
  // Indexes positions 0..count-1 of list by their current boxes.
  void Build(const std::vector<CInstance*>& list, uint32_t count);
  // Adds position index under box (after the instance moved).
  void Insert(uint32_t index, const TRect& box);
  // The positions >= from whose boxes (as inserted) meet box, ascending and
  // without repeats.
  void Query(const TRect& box, uint32_t from, std::vector<uint32_t>& out);

 private:
  struct CellRange {
    int32_t x0, y0, x1, y1;
  };
  CellRange RangeOf(const TRect& box) const;
  bool Huge(const CellRange& r) const;

  int32_t origin_x_ = 0;
  int32_t origin_y_ = 0;
  int32_t shift_ = 5;  // cell size 1 << shift_ pixels
  int32_t cols_ = 1;
  int32_t rows_ = 1;
  std::vector<std::vector<uint32_t>> cells_;
  std::vector<uint32_t> everywhere_;  // boxes too large for the cells
  std::vector<uint32_t> stamp_;       // per position: the last query that saw it
  uint32_t query_ = 0;
};
