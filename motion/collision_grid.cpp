// collision_grid.cpp: the uniform grid of the collision broad phase. The
// cell size follows the mean box size; the grid covers the boxes of the
// instances that have a shape, and coordinates outside it are clamped to
// its border cells (clamping keeps overlapping boxes in common cells).
#include "motion/collision_grid.h"

#include <algorithm>

#include "world/instance_class.h"

namespace {

constexpr int32_t kMinShift = 3;
constexpr int32_t kMaxShift = 30;
// A box covering more cells than this is kept in the list of boxes that
// every query returns.
constexpr int64_t kMaxCellsPerBox = 64;

int32_t Lo(int32_t a, int32_t b) { return std::min(a, b); }
int32_t Hi(int32_t a, int32_t b) { return std::max(a, b); }

}  // namespace

void TCollisionGrid::Build(const std::vector<CInstance*>& list, uint32_t count) {
  int64_t min_x = INT32_MAX, min_y = INT32_MAX, max_x = INT32_MIN, max_y = INT32_MIN;
  int64_t size_sum = 0, shaped = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const CInstance* inst = list[i];
    if (!inst->HasShape()) continue;
    const TRect& b = inst->i_bbox;
    min_x = std::min<int64_t>(min_x, Lo(b.left, b.right));
    min_y = std::min<int64_t>(min_y, Lo(b.top, b.bottom));
    max_x = std::max<int64_t>(max_x, Hi(b.left, b.right));
    max_y = std::max<int64_t>(max_y, Hi(b.top, b.bottom));
    size_sum += std::abs(int64_t{b.right} - b.left) + std::abs(int64_t{b.bottom} - b.top) + 2;
    ++shaped;
  }
  if (shaped == 0) min_x = min_y = max_x = max_y = 0;
  const int64_t mean = shaped > 0 ? size_sum / (2 * shaped) : 1;
  shift_ = kMinShift;
  while (shift_ < kMaxShift && (int64_t{1} << shift_) < mean) ++shift_;
  const int64_t max_cells = 4 * int64_t{count} + 64;
  for (;;) {
    const int64_t cols = ((max_x - min_x) >> shift_) + 1, rows = ((max_y - min_y) >> shift_) + 1;
    if (cols * rows <= max_cells || shift_ >= kMaxShift) {
      cols_ = static_cast<int32_t>(std::min<int64_t>(cols, max_cells));
      rows_ = static_cast<int32_t>(std::min<int64_t>(rows, max_cells));
      break;
    }
    ++shift_;
  }
  origin_x_ = static_cast<int32_t>(min_x);
  origin_y_ = static_cast<int32_t>(min_y);
  const size_t cells = static_cast<size_t>(cols_) * static_cast<size_t>(rows_);
  if (cells_.size() < cells) cells_.resize(cells);
  for (size_t c = 0; c < cells; ++c) cells_[c].clear();
  everywhere_.clear();
  stamp_.assign(count, 0);
  query_ = 0;
  for (uint32_t i = 0; i < count; ++i) Insert(i, list[i]->i_bbox);
}

TCollisionGrid::CellRange TCollisionGrid::RangeOf(const TRect& box) const {
  auto cell = [this](int32_t v, int32_t origin, int32_t limit) {
    const int64_t c = (int64_t{v} - origin) >> shift_;
    return static_cast<int32_t>(std::clamp<int64_t>(c, 0, limit - 1));
  };
  return CellRange{cell(Lo(box.left, box.right), origin_x_, cols_),
                   cell(Lo(box.top, box.bottom), origin_y_, rows_),
                   cell(Hi(box.left, box.right), origin_x_, cols_),
                   cell(Hi(box.top, box.bottom), origin_y_, rows_)};
}

bool TCollisionGrid::Huge(const CellRange& r) const {
  return int64_t{r.x1 - r.x0 + 1} * (r.y1 - r.y0 + 1) > kMaxCellsPerBox;
}

void TCollisionGrid::Insert(uint32_t index, const TRect& box) {
  const CellRange r = RangeOf(box);
  if (Huge(r)) {
    everywhere_.push_back(index);
    return;
  }
  for (int32_t y = r.y0; y <= r.y1; ++y)
    for (int32_t x = r.x0; x <= r.x1; ++x)
      cells_[static_cast<size_t>(y) * cols_ + x].push_back(index);
}

void TCollisionGrid::Query(const TRect& box, uint32_t from, std::vector<uint32_t>& out) {
  out.clear();
  if (++query_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    query_ = 1;
  }
  auto take = [&](uint32_t index) {
    if (index >= from && stamp_[index] != query_) {
      stamp_[index] = query_;
      out.push_back(index);
    }
  };
  for (uint32_t index : everywhere_) take(index);
  const CellRange r = RangeOf(box);
  if (Huge(r)) {
    // A huge query box: every indexed position is a candidate.
    for (uint32_t index = from; index < stamp_.size(); ++index) take(index);
  } else {
    for (int32_t y = r.y0; y <= r.y1; ++y)
      for (int32_t x = r.x0; x <= r.x1; ++x)
        for (uint32_t index : cells_[static_cast<size_t>(y) * cols_ + x]) take(index);
  }
  std::sort(out.begin(), out.end());
}
