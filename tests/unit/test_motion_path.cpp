// test_motion_path.cpp: paths: straight and smooth polylines with their
// lengths and positions (numbers worked out by hand), transforms, the path
// table and path following with every end action.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "motion/path_class.h"
#include "motion/path_follow.h"
#include "motion/path_main.h"
#include "code/code_function.h"
#include "runner/builtins.h"
#include "runner/game_data.h"
#include "test_function_util.h"
#include "world/instance_class.h"

namespace {

CPath MakePath(std::vector<RWayPoint> points, int kind, bool closed, int precision = 4) {
  CPath p;
  p.i_points = std::move(points);
  p.i_kind = kind;
  p.i_closed = closed;
  p.i_precision = precision;
  p.ComputeInterpolation();
  return p;
}

void ExpectPolyline(const CPath& p, const std::vector<std::pair<double, double>>& xy) {
  ASSERT_EQ(p.IntCount(), static_cast<int>(xy.size()));
  for (size_t i = 0; i < xy.size(); ++i) {
    EXPECT_DOUBLE_EQ(p.i_intpoints[i].x, xy[i].first) << "point " << i;
    EXPECT_DOUBLE_EQ(p.i_intpoints[i].y, xy[i].second) << "point " << i;
  }
}

const std::vector<RWayPoint> kCorner = {{0, 0, 100}, {100, 0, 50}, {100, 100, 100}};

TEST(MotionPath, StraightClosedRepeatsFirstPointAndMeasuresByArcLength) {
  CPath p = MakePath(kCorner, 0, true);
  ExpectPolyline(p, {{0, 0}, {100, 0}, {100, 100}, {0, 0}});
  EXPECT_NEAR(p.i_length, 200 + 100 * std::sqrt(2.0), 1e-9);
  // Half of 341.42 is 170.71: 70.71 down the second leg.
  double x, y, s;
  p.GetPosition(0.5, x, y, s);
  EXPECT_DOUBLE_EQ(x, 100);
  EXPECT_NEAR(y, 70.7106781, 1e-6);
  EXPECT_NEAR(s, 50 + 50 * 0.707106781, 1e-6);  // speeds interpolate like x and y
  // A quarter (85.36) is on the first leg: speed 100 -> 50 over 100 pixels.
  p.GetPosition(0.25, x, y, s);
  EXPECT_NEAR(x, 85.3553391, 1e-6);
  EXPECT_DOUBLE_EQ(y, 0);
  EXPECT_NEAR(s, 100 - 50 * 0.853553391, 1e-6);
}

TEST(MotionPath, PositionsOutsideZeroToOneClampToTheEnds) {
  CPath p = MakePath(kCorner, 0, false);
  EXPECT_DOUBLE_EQ(p.i_length, 200);
  EXPECT_DOUBLE_EQ(p.XPosition(-0.5), 0);
  EXPECT_DOUBLE_EQ(p.YPosition(-0.5), 0);
  EXPECT_DOUBLE_EQ(p.XPosition(7), 100);
  EXPECT_DOUBLE_EQ(p.YPosition(7), 100);
  // Exactly on a waypoint the next segment starts there.
  EXPECT_DOUBLE_EQ(p.XPosition(0.5), 100);
  EXPECT_DOUBLE_EQ(p.YPosition(0.5), 0);
  EXPECT_DOUBLE_EQ(p.Speed(0.5), 50);
}

TEST(MotionPath, DegenerateShapes) {
  CPath single = MakePath({{5, 5, 100}}, 0, false);
  EXPECT_EQ(single.i_length, 0);
  for (double pos : {0.0, 0.3, 1.0}) {
    EXPECT_EQ(single.XPosition(pos), 5);
    EXPECT_EQ(single.YPosition(pos), 5);
  }
  CPath empty;
  double x, y, s;
  empty.GetPosition(0.5, x, y, s);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(s, 100);
  // A closed smooth path of precision 0 emits no curve point: no polyline.
  CPath none = MakePath(kCorner, 1, true, 0);
  EXPECT_EQ(none.IntCount(), 0);
  EXPECT_EQ(none.i_length, 0);
  // Repeated points make zero-length segments; positions skip over them.
  CPath dup = MakePath({{0, 0, 100}, {0, 0, 100}, {10, 0, 100}}, 0, false);
  EXPECT_DOUBLE_EQ(dup.XPosition(0.5), 5);
}

TEST(MotionPath, SmoothOpenKeepsEndsAndCutsCorners) {
  // Two points: the straight segment, no corner to smooth.
  ExpectPolyline(MakePath({{0, 0, 100}, {30, 40, 100}}, 1, false), {{0, 0}, {30, 40}});
  // Precision 0: only the end points of an open path.
  ExpectPolyline(MakePath(kCorner, 1, false, 0), {{0, 0}, {100, 100}});
  // Precision 1: the corner becomes the curve middle (A + 2B + C) / 4 of
  // A = (50, 0), B = (100, 0), C = (100, 50).
  CPath one = MakePath(kCorner, 1, false, 1);
  ExpectPolyline(one, {{0, 0}, {87.5, 12.5}, {100, 100}});
  EXPECT_NEAR(one.i_length, 2 * std::hypot(87.5, 12.5), 1e-9);
  // The speed of the curve middle: A 75, B 50, C 75 give 62.5.
  EXPECT_DOUBLE_EQ(one.i_intpoints[1].speed, 62.5);
  // Precision 2: both long legs are halved once more.
  ExpectPolyline(MakePath(kCorner, 1, false, 2),
                 {{0, 0}, {71.875, 3.125}, {87.5, 12.5}, {96.875, 28.125}, {100, 100}});
}

TEST(MotionPath, SmoothShortLegsAreNotRefined) {
  // Legs of 2 pixels (squared 4 <= 16): one middle per corner at any precision.
  CPath p = MakePath({{0, 0, 100}, {4, 0, 100}, {4, 4, 100}}, 1, false, 8);
  ExpectPolyline(p, {{0, 0}, {3.5, 0.5}, {4, 4}});
}

TEST(MotionPath, SmoothClosedTurnsEveryCornerAndCloses) {
  // A square of side 100, precision 1: each corner's curve middle.
  CPath p = MakePath({{0, 0, 100}, {100, 0, 100}, {100, 100, 100}, {0, 100, 100}}, 1, true, 1);
  ExpectPolyline(p, {{87.5, 12.5}, {87.5, 87.5}, {12.5, 87.5}, {12.5, 12.5}, {87.5, 12.5}});
  EXPECT_DOUBLE_EQ(p.i_length, 4 * 75);
}

TEST(MotionPath, EditingKeepsThePolylineCurrent) {
  CPath p;
  p.SetClosed(false);
  EXPECT_EQ(p.AddPoint(0, 0, 100), 0);
  EXPECT_EQ(p.AddPoint(10, 0, 100), 1);
  EXPECT_DOUBLE_EQ(p.i_length, 10);
  p.InsertPoint(1, 0, 10, 100);  // (0,0) (0,10) (10,0)
  EXPECT_NEAR(p.i_length, 10 + std::hypot(10, 10), 1e-9);
  p.InsertPoint(4, 99, 99, 100);  // beyond count: ignored
  p.ChangePoint(-1, 99, 99, 100);
  p.DeletePoint(3);
  EXPECT_EQ(p.Count(), 3);
  p.ChangePoint(2, 0, 20, 100);
  EXPECT_DOUBLE_EQ(p.i_length, 20);
  p.DeletePoint(0);
  EXPECT_DOUBLE_EQ(p.i_length, 10);
  p.SetClosed(true);
  EXPECT_DOUBLE_EQ(p.i_length, 20);
  p.SetKind(7);
  EXPECT_EQ(p.i_kind, 0);
  p.SetPrecision(12);
  EXPECT_EQ(p.i_precision, 8);
  p.SetPrecision(-1);
  EXPECT_EQ(p.i_precision, 0);
  p.Clear();
  EXPECT_EQ(p.Count(), 0);
  EXPECT_EQ(p.IntCount(), 0);
  EXPECT_TRUE(p.i_closed);  // settings stay
}

TEST(MotionPath, TransformsAboutTheCentre) {
  struct Case {
    const char* name;
    void (*apply)(CPath&);
    std::vector<std::pair<double, double>> expected;
  };
  // Start: (0,0) (2,0) (2,4): centre (1, 2).
  const Case cases[] = {
      {"rotate 90", [](CPath& p) { p.Rotate(90); }, {{-1, 3}, {-1, 1}, {3, 1}}},
      {"mirror", [](CPath& p) { p.Mirror(); }, {{2, 0}, {0, 0}, {0, 4}}},
      {"flip", [](CPath& p) { p.Flip(); }, {{0, 4}, {2, 4}, {2, 0}}},
      {"scale", [](CPath& p) { p.Scale(2, 0.5); }, {{-1, 1}, {3, 1}, {3, 3}}},
      {"shift", [](CPath& p) { p.Shift(5, -1); }, {{5, -1}, {7, -1}, {7, 3}}},
      {"reverse", [](CPath& p) { p.Reverse(); }, {{2, 4}, {2, 0}, {0, 0}}},
  };
  for (const Case& c : cases) {
    CPath p = MakePath({{0, 0, 100}, {2, 0, 100}, {2, 4, 100}}, 0, false);
    c.apply(p);
    ASSERT_EQ(p.Count(), 3) << c.name;
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR(p.i_points[i].x, c.expected[i].first, 1e-12) << c.name << " " << i;
      EXPECT_NEAR(p.i_points[i].y, c.expected[i].second, 1e-12) << c.name << " " << i;
    }
    // The polyline follows every transform.
    EXPECT_DOUBLE_EQ(p.i_intpoints[0].x, p.i_points[0].x) << c.name;
  }
}

TEST(MotionPath, RotatingTurnsRightIntoUp) {
  // (1, 0) from the centre becomes (0, -1): upwards on the screen.
  CPath p = MakePath({{-1, 0, 100}, {1, 0, 100}}, 0, false);
  p.Rotate(90);
  EXPECT_NEAR(p.i_points[1].x, 0, 1e-12);
  EXPECT_NEAR(p.i_points[1].y, -1, 1e-12);
  double cx, cy;
  CPath().Center(cx, cy);
  EXPECT_EQ(cx, 0);
  EXPECT_EQ(cy, 0);
}

TEST(MotionPath, AppendAndAssignCopyPointsOnly) {
  CPath a = MakePath({{0, 0, 100}, {10, 0, 100}}, 0, false);
  CPath b = MakePath({{10, 10, 50}}, 1, true, 2);
  a.Append(b);
  EXPECT_EQ(a.Count(), 3);
  EXPECT_EQ(a.i_kind, 0);
  EXPECT_DOUBLE_EQ(a.i_length, 20);
  a.Append(a);  // onto itself: the old points once
  EXPECT_EQ(a.Count(), 6);
  a.Assign(b);
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(a.i_kind, 1);
  EXPECT_EQ(a.i_precision, 2);
  EXPECT_TRUE(a.i_closed);
}

std::vector<std::vector<double>> g_strips;
void RecordStrip(const double* xy, int count) { g_strips.emplace_back(xy, xy + 2 * count); }

TEST(MotionPath, DrawSplitsLongStripsAndPlacesTheStart) {
  g_strips.clear();
  Path_SetLineStripHook(RecordStrip);
  CPath p = MakePath({{10, 10, 100}, {4010, 10, 100}}, 0, false);  // 1000 segments of 4
  p.Draw(0, 0, false);  // position 0 lands on (0, 0)
  ASSERT_EQ(g_strips.size(), 2u);
  EXPECT_EQ(g_strips[0].size(), 2u * 501);
  EXPECT_EQ(g_strips[1].size(), 2u * 501);
  EXPECT_DOUBLE_EQ(g_strips[0][0], 0);
  EXPECT_DOUBLE_EQ(g_strips[1][0], 2000);  // the new strip starts where the last ended
  EXPECT_DOUBLE_EQ(g_strips[1].back(), 0);
  g_strips.clear();
  p.Draw(0, 0, true);
  EXPECT_DOUBLE_EQ(g_strips[0][0], 10);
  g_strips.clear();
  MakePath({{0, 0, 100}, {1, 0, 100}}, 0, false).Draw(0, 0, true);  // length 1: nothing
  EXPECT_TRUE(g_strips.empty());
  Path_SetLineStripHook(nullptr);
}

// --- the table ---------------------------------------------------------------------

class MotionPathTable : public ::testing::Test {
 protected:
  void SetUp() override { Game().paths.Clear(); }
  void TearDown() override { Game().paths.Clear(); }
};

TEST_F(MotionPathTable, AddDuplicateAssignDelete) {
  EXPECT_EQ(Path_Add(), 0);
  EXPECT_EQ(Path_Add(), 1);
  EXPECT_EQ(ToUtf8(Path_Name(1)), "__newpath1");
  Path_Get(0)->AddPoint(1, 2, 100);
  EXPECT_EQ(Path_Duplicate(0), 2);
  EXPECT_EQ(Path_Get(2)->Count(), 1);
  EXPECT_EQ(Path_Duplicate(9), -1);
  EXPECT_TRUE(Path_Delete(1));
  EXPECT_FALSE(Path_Delete(1));
  EXPECT_EQ(ToUtf8(Path_Name(1)), "<undefined>");
  EXPECT_EQ(Path_Add(), 3);  // indices are not reused
  EXPECT_TRUE(Path_Assign(1, 0));  // recreates the deleted entry
  EXPECT_EQ(Path_Get(1)->Count(), 1);
  EXPECT_FALSE(Path_Assign(4, 0));
  EXPECT_FALSE(Path_Assign(1, 7));
  EXPECT_EQ(Path_Find(u"__newpath2"), 2);
  EXPECT_EQ(Path_Find(u"nothing"), -1);
}

TEST_F(MotionPathTable, FunctionsAnswerAndReport) {
  ErrorCapture capture;
  const double p = CallBuiltin("path_add", {}).val;
  CallBuiltin("path_add_point", {R(p), R(0), R(0), R(100)});
  CallBuiltin("path_add_point", {R(p), R(30), R(40), R(50)});
  CallBuiltin("path_set_closed", {R(p), R(0.4)});
  EXPECT_EQ(CallBuiltin("path_get_closed", {R(p)}).val, 0);
  EXPECT_EQ(CallBuiltin("path_get_length", {R(p)}).val, 50);
  EXPECT_EQ(CallBuiltin("path_get_point_speed", {R(p), R(1)}).val, 50);
  EXPECT_EQ(CallBuiltin("path_get_point_speed", {R(p), R(2)}).val, 1);  // beyond the last
  EXPECT_EQ(CallBuiltin("path_get_point_x", {R(p), R(-1)}).val, 0);
  EXPECT_EQ(CallBuiltin("path_get_y", {R(p), R(0.5)}).val, 20);
  EXPECT_EQ(CallBuiltin("path_get_speed", {R(p), R(0.5)}).val, 75);
  EXPECT_EQ(CallBuiltin("path_get_length", {R(9)}).val, -1);
  EXPECT_EQ(CallBuiltin("path_get_number", {R(9)}).val, -1);
  EXPECT_EQ(ToUtf8(CallBuiltin("path_get_name", {R(9)}).str), "<undefined>");
  EXPECT_FALSE(capture.Occurred());
  struct Case {
    const char* function;
    std::vector<RValue> args;
    double result;
    const char* message;
  };
  const Case cases[] = {
      {"path_duplicate", {R(9)}, 0, "Trying to duplicate non-existing path."},
      {"path_assign", {R(9), R(p)}, 0, "Error assigning a path."},
      {"path_append", {R(9), R(p)}, 0, "Appending to non-existing path."},
      {"path_append", {R(p), R(9)}, 0, "Appending a non-existing path."},
      {"path_delete", {R(9)}, 0, "Trying to delete non-existing path."},
  };
  for (const Case& c : cases) {
    capture.Reset();
    EXPECT_EQ(CallBuiltin(c.function, c.args).val, c.result) << c.function;
    EXPECT_EQ(capture.Message(), c.message) << c.function;
  }
  capture.Reset();
  EXPECT_EQ(CallBuiltin("path_delete", {R(p)}).val, 1);
  EXPECT_FALSE(capture.Occurred());
}

TEST_F(MotionPathTable, PositionVariablesClamp) {
  Builtins_RegisterAll();
  CInstance inst(100001, 0);
  const RBuiltinVariable& position = Variable_BuiltinGet(Variable_BuiltinFind("path_position"));
  ASSERT_NE(position.setter, nullptr);
  position.setter(&inst, 0, R(1.5));
  EXPECT_EQ(inst.i_pathposition, 1);
  position.setter(&inst, 0, R(-2));
  EXPECT_EQ(inst.i_pathposition, 0);
  const RBuiltinVariable& speed = Variable_BuiltinGet(Variable_BuiltinFind("path_speed"));
  speed.setter(&inst, 0, R(-7));
  RValue out;
  speed.getter(&inst, 0, out);
  EXPECT_EQ(out.val, -7);
}

// --- following ---------------------------------------------------------------------

class MotionPathFollow : public MotionPathTable {
 protected:
  // A straight open path from (0, 0) to (200, 0).
  int32_t Line() {
    const int32_t ind = Path_Add();
    CPath* p = Path_Get(ind);
    p->SetClosed(false);
    p->AddPoint(0, 0, 100);
    p->AddPoint(200, 0, 100);
    return ind;
  }
  CInstance inst{100001, 0};
};

TEST_F(MotionPathFollow, AdvancesBySpeedOverScaledLength) {
  const int32_t ind = Line();
  inst.SetPosition(50, 60);
  Assign_Path(inst, ind, 4, 1, 0, true, 0);
  EXPECT_FALSE(Adapt_Path(inst));
  EXPECT_DOUBLE_EQ(inst.i_pathposition, 0.02);
  EXPECT_DOUBLE_EQ(inst.i_x, 54);
  EXPECT_DOUBLE_EQ(inst.i_y, 60);
  // The direction follows the motion; the speeds end at 0.
  EXPECT_EQ(inst.i_direction, 0);
  EXPECT_EQ(inst.i_speed, 0);
  EXPECT_EQ(inst.i_hspeed, 0);
  Assign_Path(inst, ind, 4, 2, 90, true, 0);
  Adapt_Path(inst);
  EXPECT_DOUBLE_EQ(inst.i_pathposition, 0.01);
  // Orientation 90 turns the path upwards; scale 2 doubles the 2 pixels.
  EXPECT_NEAR(inst.i_x, 54, 1e-9);
  EXPECT_NEAR(inst.i_y, 56, 1e-9);
  EXPECT_EQ(inst.i_direction, 90);
}

TEST_F(MotionPathFollow, EndActions) {
  const int32_t ind = Line();
  struct Case {
    int32_t endaction;
    double speed, expected_position, expected_speed, expected_x;
    int32_t expected_index;
  };
  // 12 pixels per step on 200 pixels: 0.06, so 0.97 reaches 1.03 and 0.03
  // (backwards) reaches -0.03.
  const Case cases[] = {
      {0, 12, 1.0, 12, 200, -1},      // stop at the end
      {1, 12, 0.03, 12, 6, ind},      // restart from the start
      {2, 12, 0.03, 12, 206, ind},    // continue: the path moved on by its extent
      {3, 12, 0.97, -12, 194, ind},   // reverse
      {9, 12, 1.0, 12, 200, -1},      // unknown acts as stop
      {0, -12, 0.0, -12, 0, -1},      // backwards: stops at the start
      {1, -12, 0.97, -12, 194, ind},  // backwards restart from the end
      {3, -12, 0.03, 12, 6, ind},
  };
  for (const Case& c : cases) {
    inst.SetPosition(0, 0);
    Assign_Path(inst, ind, c.speed, 1, 0, false, c.endaction);
    inst.i_pathposition = c.speed > 0 ? 0.97 : 0.03;
    EXPECT_TRUE(Adapt_Path(inst)) << c.endaction;
    EXPECT_NEAR(inst.i_pathposition, c.expected_position, 1e-12) << c.endaction << " " << c.speed;
    EXPECT_EQ(inst.i_pathspeed, c.expected_speed) << c.endaction;
    EXPECT_NEAR(inst.i_x, c.expected_x, 1e-9) << c.endaction << " " << c.speed;
    EXPECT_EQ(inst.i_pathindex, c.expected_index) << c.endaction;
  }
}

TEST_F(MotionPathFollow, AbsoluteStartPlacesOnThePathAtEitherEnd) {
  const int32_t ind = Line();
  Path_Get(ind)->Shift(10, 20);  // (10, 20) to (210, 20)
  inst.SetPosition(500, 500);
  Assign_Path(inst, ind, 2, 1, 0, false, 0);
  EXPECT_EQ(inst.i_x, 10);
  EXPECT_EQ(inst.i_y, 20);
  Adapt_Path(inst);
  EXPECT_DOUBLE_EQ(inst.i_x, 12);
  // Backwards: starts at the end point and walks back along the path.
  Assign_Path(inst, ind, -2, 1, 0, false, 0);
  EXPECT_EQ(inst.i_x, 210);
  EXPECT_DOUBLE_EQ(inst.i_pathposition, 1);
  Adapt_Path(inst);
  EXPECT_DOUBLE_EQ(inst.i_x, 208);
  EXPECT_DOUBLE_EQ(inst.i_y, 20);
}

TEST_F(MotionPathFollow, RefusedStartsLeaveThePath) {
  const int32_t ind = Line();
  const int32_t point = Path_Add();
  Path_Get(point)->AddPoint(5, 5, 100);
  Path_Get(point)->SetClosed(false);
  inst.SetPosition(1, 1);
  for (int32_t refused : {point, 99}) {
    Assign_Path(inst, refused, 4, 1, 0, false, 0);
    EXPECT_EQ(inst.i_pathindex, -1);
    EXPECT_EQ(inst.i_x, 1);
  }
  Assign_Path(inst, ind, 4, -1, 0, false, 0);
  EXPECT_EQ(inst.i_pathindex, -1);
  // Speed 0 and scale 0 freeze the instance on the path.
  Assign_Path(inst, ind, 0, 1, 0, false, 0);
  EXPECT_FALSE(Adapt_Path(inst));
  Assign_Path(inst, ind, 3, 0, 0, false, 0);
  EXPECT_FALSE(Adapt_Path(inst));
  EXPECT_EQ(inst.i_pathposition, 0);
  EXPECT_TRUE(std::isfinite(inst.i_x));
  // A negative index leaves the path and keeps the motion.
  inst.SetHspeed(3);
  Assign_Path(inst, -1, 0, 1, 0, true, 0);
  EXPECT_EQ(inst.i_pathindex, -1);
  EXPECT_EQ(inst.i_hspeed, 3);
}

TEST_F(MotionPathFollow, PointSpeedsScaleTheAdvance) {
  const int32_t ind = Path_Add();
  CPath* p = Path_Get(ind);
  p->SetClosed(false);
  p->AddPoint(0, 0, 50);
  p->AddPoint(100, 0, 50);
  Assign_Path(inst, ind, 4, 1, 0, true, 0);
  Adapt_Path(inst);
  EXPECT_DOUBLE_EQ(inst.i_pathposition, 0.02);  // 2 pixels of 100
}

}  // namespace
