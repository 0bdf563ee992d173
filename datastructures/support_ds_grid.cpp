// support_ds_grid.cpp: grids, stored as one array column by column, so the
// traversal order of statistics and searches (columns ascending, rows
// ascending within a column) walks memory in order.
#include <algorithm>
#include <cmath>
#include <utility>

#include "datastructures/support_data_structures.h"
#include "datastructures/support_ds_text.h"
#include "common/random.h"

namespace {

constexpr double kMaxStart = -100000000.0;
constexpr double kMinStart = 100000000.0;

int64_t ClampSize(int64_t n) { return n < 0 ? 0 : n; }

}  // namespace

void DS_ApplyOperation(int op, RValue& cell, const RValue& val) {
  switch (op) {
    case DS_OP_SET:
      cell = val;
      break;
    case DS_OP_ADD:
      if (cell.IsReal() && val.IsReal()) {
        cell.val += val.val;
      } else if (cell.IsString() && val.IsString()) {
        cell.str += val.str;
      } else {
        cell = val;
      }
      break;
    case DS_OP_MULTIPLY:
      if (cell.IsReal() && val.IsReal()) cell.val *= val.val;
      break;
    default:
      break;
  }
}

bool CDS_Grid::Create(int64_t w, int64_t h) {
  w = ClampSize(w);
  h = ClampSize(h);
  if (w > INT32_MAX || h > INT32_MAX || (w != 0 && h > kDSGridMaxCells / w)) return false;
  std::vector<RValue> cells(static_cast<size_t>(w * h));
  i_val = std::move(cells);
  i_w = static_cast<int32_t>(w);
  i_h = static_cast<int32_t>(h);
  return true;
}

bool CDS_Grid::Resize(int64_t w, int64_t h) {
  w = ClampSize(w);
  h = ClampSize(h);
  if (w > INT32_MAX || h > INT32_MAX || (w != 0 && h > kDSGridMaxCells / w)) return false;
  std::vector<RValue> cells(static_cast<size_t>(w * h));
  int keep_w = std::min<int64_t>(w, i_w), keep_h = std::min<int64_t>(h, i_h);
  for (int x = 0; x < keep_w; ++x) {
    for (int y = 0; y < keep_h; ++y) cells[static_cast<size_t>(x) * h + y] = std::move(At(x, y));
  }
  i_val = std::move(cells);
  i_w = static_cast<int32_t>(w);
  i_h = static_cast<int32_t>(h);
  return true;
}

void CDS_Grid::Clear(const RValue& val) { std::fill(i_val.begin(), i_val.end(), val); }

void CDS_Grid::Assign(const CDS_Grid* source) {
  if (source == nullptr) {
    i_val.clear();
    i_w = 0;
    i_h = 0;
  } else if (source != this) {
    i_val = source->i_val;
    i_w = source->i_w;
    i_h = source->i_h;
  }
}

void CDS_Grid::Cell_Operation(int op, int64_t x, int64_t y, const RValue& val) {
  if (x < 0 || y < 0 || x >= i_w || y >= i_h) return;
  DS_ApplyOperation(op, At(static_cast<int>(x), static_cast<int>(y)), val);
}

CDS_Grid::Range CDS_Grid::RegionRange(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const {
  // Both ends are clamped into 0..size before narrowing, so far-away
  // corners give an empty range rather than wrapped integers.
  auto clamp = [](int64_t v, int32_t size) { return static_cast<int>(std::clamp<int64_t>(v, -1, size)); };
  Range r;
  r.x_lo = clamp(std::max<int64_t>(std::min(x1, x2), 0), i_w);
  r.x_hi = clamp(std::min<int64_t>(std::max(x1, x2), int64_t{i_w} - 1), i_w);
  r.y_lo = clamp(std::max<int64_t>(std::min(y1, y2), 0), i_h);
  r.y_hi = clamp(std::min<int64_t>(std::max(y1, y2), int64_t{i_h} - 1), i_h);
  return r;
}

// Floor(c − r) to Ceiling(c + r), clipped; empty for a NaN bound.
CDS_Grid::Range CDS_Grid::DiskRange(double x, double y, double r) const {
  auto clip = [](double lo, double hi, int size, int& out_lo, int& out_hi) {
    out_lo = 0;
    out_hi = -1;
    if (std::isnan(lo) || std::isnan(hi)) return;
    lo = std::max(lo, 0.0);
    hi = std::min(hi, static_cast<double>(size) - 1);
    if (lo > hi) return;
    out_lo = static_cast<int>(lo);
    out_hi = static_cast<int>(hi);
  };
  Range range;
  clip(std::floor(x - r), std::ceil(x + r), i_w, range.x_lo, range.x_hi);
  clip(std::floor(y - r), std::ceil(y + r), i_h, range.y_lo, range.y_hi);
  return range;
}

template <typename Visit>
void CDS_Grid::ForRegion(int64_t x1, int64_t y1, int64_t x2, int64_t y2, Visit visit) const {
  Range r = RegionRange(x1, y1, x2, y2);
  // A grid without rows has no column storage to point into.
  if (r.x_lo > r.x_hi || r.y_lo > r.y_hi) return;
  for (int x = r.x_lo; x <= r.x_hi; ++x) {
    const RValue* column = &i_val[static_cast<size_t>(x) * i_h];
    for (int y = r.y_lo; y <= r.y_hi; ++y) {
      if (!visit(x, y, column[y])) return;
    }
  }
}

template <typename Visit>
void CDS_Grid::ForDisk(double cx, double cy, double r, Visit visit) const {
  Range range = DiskRange(cx, cy, r);
  if (range.x_lo > range.x_hi || range.y_lo > range.y_hi) return;
  double r2 = r * r;
  for (int x = range.x_lo; x <= range.x_hi; ++x) {
    const RValue* column = &i_val[static_cast<size_t>(x) * i_h];
    double dx = x - cx;
    for (int y = range.y_lo; y <= range.y_hi; ++y) {
      double dy = y - cy;
      if (dx * dx + dy * dy > r2) continue;
      if (!visit(x, y, column[y])) return;
    }
  }
}

void CDS_Grid::Region_Operation(int op, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                                const RValue& val) {
  ForRegion(x1, y1, x2, y2, [&](int x, int y, const RValue&) {
    DS_ApplyOperation(op, At(x, y), val);
    return true;
  });
}

void CDS_Grid::Disk_Operation(int op, double x, double y, double r, const RValue& val) {
  ForDisk(x, y, r, [&](int i, int j, const RValue&) {
    DS_ApplyOperation(op, At(i, j), val);
    return true;
  });
}

// The source rectangle is clipped to the source, then shifted where the
// target position is negative, then cut to the target. A grid applied to
// itself reads the whole rectangle first, which gives what the traversal
// away from the overlap gives: every cell is read before it is written.
void CDS_Grid::Grid_Operation(int op, const CDS_Grid& source, int64_t x1, int64_t y1, int64_t x2,
                              int64_t y2, int64_t xpos, int64_t ypos) {
  int64_t xs = std::max<int64_t>(std::min(x1, x2), 0);
  int64_t xe = std::min<int64_t>(std::max(x1, x2), int64_t{source.i_w} - 1);
  int64_t ys = std::max<int64_t>(std::min(y1, y2), 0);
  int64_t ye = std::min<int64_t>(std::max(y1, y2), int64_t{source.i_h} - 1);
  if (xpos < 0) {
    xs -= xpos;
    xpos = 0;
  }
  if (ypos < 0) {
    ys -= ypos;
    ypos = 0;
  }
  xe = std::min(xe, xs + (int64_t{i_w} - 1 - xpos));
  ye = std::min(ye, ys + (int64_t{i_h} - 1 - ypos));
  if (xs > xe || ys > ye) return;
  int64_t cols = xe - xs + 1, rows = ye - ys + 1;
  std::vector<RValue> copy;
  const CDS_Grid* from = &source;
  int64_t from_x = xs, from_y = ys;
  CDS_Grid snapshot;
  if (&source == this) {
    copy.reserve(static_cast<size_t>(cols * rows));
    for (int64_t i = 0; i < cols; ++i) {
      for (int64_t j = 0; j < rows; ++j) copy.push_back(At(static_cast<int>(xs + i), static_cast<int>(ys + j)));
    }
    snapshot.i_w = static_cast<int32_t>(cols);
    snapshot.i_h = static_cast<int32_t>(rows);
    snapshot.i_val = std::move(copy);
    from = &snapshot;
    from_x = 0;
    from_y = 0;
  }
  for (int64_t i = 0; i < cols; ++i) {
    for (int64_t j = 0; j < rows; ++j) {
      DS_ApplyOperation(op, At(static_cast<int>(xpos + i), static_cast<int>(ypos + j)),
                        from->At(static_cast<int>(from_x + i), static_cast<int>(from_y + j)));
    }
  }
}

RValue CDS_Grid::Get_Cell(int64_t x, int64_t y) const {
  if (x < 0 || y < 0 || x >= i_w || y >= i_h) return RValue();
  return At(static_cast<int>(x), static_cast<int>(y));
}

double CDS_Grid::Get_Sum(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const {
  double sum = 0.0;
  ForRegion(x1, y1, x2, y2, [&](int, int, const RValue& c) {
    if (c.IsReal()) sum += c.val;
    return true;
  });
  return sum;
}

double CDS_Grid::Get_Max(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const {
  double best = kMaxStart;
  ForRegion(x1, y1, x2, y2, [&](int, int, const RValue& c) {
    if (c.IsReal() && c.val > best) best = c.val;
    return true;
  });
  return best;
}

double CDS_Grid::Get_Min(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const {
  double best = kMinStart;
  ForRegion(x1, y1, x2, y2, [&](int, int, const RValue& c) {
    if (c.IsReal() && c.val < best) best = c.val;
    return true;
  });
  return best;
}

double CDS_Grid::Get_Mean(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const {
  double sum = 0.0;
  int64_t count = 0;
  ForRegion(x1, y1, x2, y2, [&](int, int, const RValue& c) {
    if (c.IsReal()) {
      sum += c.val;
      ++count;
    }
    return true;
  });
  return count == 0 ? 0.0 : sum / static_cast<double>(count);
}

double CDS_Grid::Get_Disk_Sum(double x, double y, double r) const {
  double sum = 0.0;
  ForDisk(x, y, r, [&](int, int, const RValue& c) {
    if (c.IsReal()) sum += c.val;
    return true;
  });
  return sum;
}

double CDS_Grid::Get_Disk_Max(double x, double y, double r) const {
  double best = kMaxStart;
  ForDisk(x, y, r, [&](int, int, const RValue& c) {
    if (c.IsReal() && c.val > best) best = c.val;
    return true;
  });
  return best;
}

double CDS_Grid::Get_Disk_Min(double x, double y, double r) const {
  double best = kMinStart;
  ForDisk(x, y, r, [&](int, int, const RValue& c) {
    if (c.IsReal() && c.val < best) best = c.val;
    return true;
  });
  return best;
}

double CDS_Grid::Get_Disk_Mean(double x, double y, double r) const {
  double sum = 0.0;
  int64_t count = 0;
  ForDisk(x, y, r, [&](int, int, const RValue& c) {
    if (c.IsReal()) {
      sum += c.val;
      ++count;
    }
    return true;
  });
  return count == 0 ? 0.0 : sum / static_cast<double>(count);
}

CDS_Grid::Match CDS_Grid::Value_Find(int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                                     const RValue& val) const {
  Match m;
  ForRegion(x1, y1, x2, y2, [&](int x, int y, const RValue& c) {
    if (!DS_Equal(c, val)) return true;
    m = Match{true, x, y};
    return false;
  });
  return m;
}

CDS_Grid::Match CDS_Grid::Value_Disk_Find(double x, double y, double r, const RValue& val) const {
  Match m;
  ForDisk(x, y, r, [&](int i, int j, const RValue& c) {
    if (!DS_Equal(c, val)) return true;
    m = Match{true, i, j};
    return false;
  });
  return m;
}

void CDS_Grid::Shuffle() {
  uint64_t count = uint64_t{8} * static_cast<uint64_t>(i_w) * static_cast<uint64_t>(i_h);
  for (uint64_t k = 0; k < count; ++k) {
    uint32_t x1 = RandomInt(static_cast<uint32_t>(i_w));
    uint32_t x2 = RandomInt(static_cast<uint32_t>(i_w));
    uint32_t y1 = RandomInt(static_cast<uint32_t>(i_h));
    uint32_t y2 = RandomInt(static_cast<uint32_t>(i_h));
    std::swap(At(static_cast<int>(x1), static_cast<int>(y1)), At(static_cast<int>(x2), static_cast<int>(y2)));
  }
}

VString CDS_Grid::WriteToString() const {
  DSTextWriter w(DS_MAGIC_GRID);
  w.Integer(i_w);
  w.Integer(i_h);
  for (const RValue& v : i_val) w.Value(v);
  return w.Text();
}

bool CDS_Grid::ReadFromString(const VString& text) {
  DSTextReader r(text);
  if (!r.Magic(DS_MAGIC_GRID)) return false;
  int32_t w = r.Integer();
  int32_t h = r.Integer();
  if (w < 0 || h < 0) throw DSTextError("Data structure text holds a negative grid size.");
  uint64_t cells = static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
  if (cells > r.Remaining() / kDSValueBytes) throw DSTextError("Data structure text ends early.");
  std::vector<RValue> values;
  values.reserve(static_cast<size_t>(cells));
  for (uint64_t i = 0; i < cells; ++i) values.push_back(r.Value());
  i_val = std::move(values);
  i_w = w;
  i_h = h;
  return true;
}
