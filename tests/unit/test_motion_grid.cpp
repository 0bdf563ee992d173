// test_motion_grid.cpp: motion-planning grids: cells of rectangles, the
// breadth-first cell path (straight, diagonal, a small maze), refusals and
// the reuse of grid indices.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "motion/mp_grid.h"
#include "motion/path_class.h"

namespace {

std::vector<std::pair<double, double>> Points(const CPath& p) {
  std::vector<std::pair<double, double>> xy;
  for (const RWayPoint& w : p.i_points) xy.emplace_back(w.x, w.y);
  return xy;
}

// A grid from rows of text: '#' forbidden, anything else free; cells of 10
// pixels at (0, 0).
CGrid Maze(const std::vector<std::string>& rows) {
  CGrid g;
  g.Create(0, 0, static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()), 10, 10);
  for (size_t j = 0; j < rows.size(); ++j)
    for (size_t i = 0; i < rows[j].size(); ++i)
      if (rows[j][i] == '#') g.AddCell(static_cast<int32_t>(i), static_cast<int32_t>(j));
  return g;
}

TEST(MotionGrid, StraightRunThroughCellCentres) {
  CGrid g;
  g.Create(0, 0, 10, 10, 32, 32);
  CPath p;
  ASSERT_TRUE(g.FindPath(p, 16, 16, 304, 16, false));
  std::vector<std::pair<double, double>> expected = {{16, 16}};
  for (int i = 1; i <= 8; ++i) expected.emplace_back(i * 32 + 16, 16);
  expected.emplace_back(304, 16);
  EXPECT_EQ(Points(p), expected);
  EXPECT_EQ(p.i_kind, 0);
  EXPECT_FALSE(p.i_closed);
  EXPECT_DOUBLE_EQ(p.i_length, 288);
  // Labels are gone after the search.
  for (int32_t cell : g.i_cells) EXPECT_EQ(cell, 0);
}

TEST(MotionGrid, DiagonalRun) {
  CGrid g;
  g.Create(0, 0, 10, 10, 32, 32);
  CPath p;
  ASSERT_TRUE(g.FindPath(p, 16, 16, 112, 112, true));
  EXPECT_EQ(Points(p), (std::vector<std::pair<double, double>>{{16, 16}, {48, 48}, {80, 80}, {112, 112}}));
}

TEST(MotionGrid, MazeShortestWay) {
  CGrid g = Maze({
      "S.#....",
      ".##.##.",
      "...#G#.",
      ".#.#.#.",
      ".#...#.",
  });
  CPath p;
  ASSERT_TRUE(g.FindPath(p, 5, 5, 45, 25, false));
  // Down the left side, along the bottom, up into the pocket.
  EXPECT_EQ(Points(p), (std::vector<std::pair<double, double>>{
                           {5, 5}, {5, 15}, {5, 25}, {15, 25}, {25, 25}, {25, 35}, {25, 45},
                           {35, 45}, {45, 45}, {45, 35}, {45, 25}}));
}

TEST(MotionGrid, RefusalsLeaveThePathAlone) {
  CGrid g = Maze({
      "..#",
      "..#",
      "###",
  });
  CPath p;
  p.AddPoint(1, 2, 3);
  struct Case {
    double xs, ys, xg, yg;
  } cases[] = {
      {5, 5, 25, 5},   // goal cell forbidden
      {25, 5, 5, 5},   // start cell forbidden
      {5, 5, 30, 5},   // goal outside (right edge is exclusive)
      {-1, 5, 5, 5},   // start outside
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(g.FindPath(p, c.xs, c.ys, c.xg, c.yg, true));
    EXPECT_EQ(p.Count(), 1);
  }
  CGrid walled = Maze({".#.", ".#.", ".#."});
  EXPECT_FALSE(walled.FindPath(p, 5, 5, 25, 5, true));
  EXPECT_EQ(p.Count(), 1);
  for (int32_t cell : walled.i_cells) EXPECT_LE(cell, 0);
}

TEST(MotionGrid, DiagonalStepsNeedBothSidesOpen) {
  // From the top-left the only way to (1, 1) would squeeze between walls.
  CGrid g = Maze({".#", "#."});
  CPath p;
  EXPECT_FALSE(g.FindPath(p, 5, 5, 15, 15, true));
}

// In random mazes every found path steps between neighbouring cells, and a
// diagonal step never passes between forbidden cells.
TEST(MotionGrid, RandomMazesGiveConnectedPaths) {
  uint32_t state = 12345;
  auto next = [&state]() { return (state = state * 134775813u + 1u) >> 16; };
  int found = 0;
  for (int round = 0; round < 200; ++round) {
    CGrid g;
    g.Create(0, 0, 12, 9, 10, 10);
    for (int k = 0; k < 35; ++k) g.AddCell(static_cast<int32_t>(next() % 12), static_cast<int32_t>(next() % 9));
    g.ClearCell(0, 0);
    g.ClearCell(11, 8);
    CPath p;
    if (!g.FindPath(p, 5, 5, 115, 85, round % 2 == 0)) continue;
    ++found;
    for (size_t k = 1; k + 1 < p.i_points.size(); ++k) {
      const int i0 = static_cast<int>(p.i_points[k - 1].x) / 10, j0 = static_cast<int>(p.i_points[k - 1].y) / 10;
      const int i1 = static_cast<int>(p.i_points[k].x) / 10, j1 = static_cast<int>(p.i_points[k].y) / 10;
      ASSERT_LE(std::abs(i1 - i0), 1) << round;
      ASSERT_LE(std::abs(j1 - j0), 1) << round;
      ASSERT_EQ(g.Cell(i1, j1), 0) << round;
      if (i1 != i0 && j1 != j0) {
        ASSERT_EQ(g.Cell(i1, j0), 0) << round;
        ASSERT_EQ(g.Cell(i0, j1), 0) << round;
      }
    }
  }
  EXPECT_GT(found, 20);
}

TEST(MotionGrid, RectanglesCoverCellsByTruncation) {
  CGrid g;
  g.Create(0, 0, 4, 4, 10, 10);
  // Left of the grid by less than a cell: column 0 (division truncates).
  g.AddRectangle(-9, 0, -1, 0);
  EXPECT_EQ(g.Cell(0, 0), -1);
  EXPECT_EQ(g.Cell(1, 0), 0);
  // Corners in any order; the range is clipped to the grid.
  g.AddRectangle(35, 39, 25, 11);
  EXPECT_EQ(g.Cell(2, 1), -1);
  EXPECT_EQ(g.Cell(3, 3), -1);
  EXPECT_EQ(g.Cell(1, 1), 0);
  g.ClearRectangle(0, 0, 100, 15);
  EXPECT_EQ(g.Cell(0, 0), 0);
  EXPECT_EQ(g.Cell(2, 1), 0);
  EXPECT_EQ(g.Cell(2, 2), -1);
  // Wholly right of the grid: nothing.
  g.AddRectangle(50, 0, 60, 10);
  g.ClearAll();
  for (int32_t cell : g.i_cells) EXPECT_EQ(cell, 0);
  // Degenerate sizes never divide by zero.
  CGrid flat;
  flat.Create(0, 0, -3, 2, 0, 0);
  EXPECT_EQ(flat.i_hcells, 0);
  flat.AddRectangle(0, 0, 5, 5);
  CPath p;
  EXPECT_FALSE(flat.FindPath(p, 0, 0, 0, 0, false));
}

TEST(MotionGrid, TableReusesDestroyedIndices) {
  Grid_DestroyAll();
  EXPECT_EQ(Grid_Create(0, 0, 2, 2, 8, 8), 0);
  EXPECT_EQ(Grid_Create(0, 0, 2, 2, 8, 8), 1);
  Grid_Destroy(0);
  EXPECT_EQ(Grid_Get(0), nullptr);
  EXPECT_EQ(Grid_Create(0, 0, 2, 2, 8, 8), 0);
  EXPECT_EQ(Grid_Create(0, 0, 2, 2, 8, 8), 2);
  Grid_Destroy(7);
  Grid_DestroyAll();
}

std::vector<std::vector<double>> g_rects;
void RecordRect(double x1, double y1, double x2, double y2, uint32_t colour) {
  g_rects.push_back({x1, y1, x2, y2, static_cast<double>(colour)});
}

TEST(MotionGrid, DrawColoursCells) {
  g_rects.clear();
  Grid_SetRectangleHook(RecordRect);
  CGrid g;
  g.Create(5, 6, 2, 1, 10, 20);
  g.AddCell(1, 0);
  g.Draw();
  ASSERT_EQ(g_rects.size(), 2u);
  EXPECT_EQ(g_rects[0], (std::vector<double>{5, 6, 15, 26, 0x008000}));
  EXPECT_EQ(g_rects[1], (std::vector<double>{15, 6, 25, 26, 0x0000FF}));
  Grid_SetRectangleHook(nullptr);
}

}  // namespace
