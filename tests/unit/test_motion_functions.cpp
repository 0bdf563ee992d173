// test_motion_functions.cpp: the motion functions of game code against
// instances in a room (contact, outside, bounce, snapping, wrapping, random
// places) and the linear and potential steppers with their paths.
#include <cmath>

#include "motion/collision.h"
#include "motion/mp_grid.h"
#include "motion/mp_potential.h"
#include "motion/path_main.h"
#include "motion/sprite_class.h"
#include "common/random.h"
#include "test_function_util.h"
#include "world_test_support.h"

namespace {

using worldtest::WorldTest;

class MotionFunctions : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    Game().paths.Clear();
    Mp_SetPotentialSettings(30, 10, 3, true);
    block_ = AddSprite(16, 16);
    wall_ = AddObject("wall");
    Object(wall_).o_spriteindex = block_;
    Object(wall_).o_solid = true;
    ball_ = AddObject("ball");
    Object(ball_).o_spriteindex = block_;
    rock_ = AddObject("rock");  // not solid
    Object(rock_).o_spriteindex = block_;
  }

  // A sprite of w x h pixels with a full rectangular mask, origin (0, 0).
  int AddSprite(int w, int h) {
    auto s = std::make_unique<CSprite>();
    s->i_bitmap.push_back(TBitmap32(w, h, 0xFFFFFFFF));
    s->ComputeMask(false, kBoxFull, TRect{}, kMaskRectangle, 0);
    return Game().sprites.Add(std::move(s), worldtest::W("spr"));
  }

  // Starts a 320 x 240 room with the placed instances.
  void Start(std::vector<RRoomInstance> placed) {
    AddRoom(std::move(placed));
    Game().rooms.Get(0)->r_width = 320;
    Game().rooms.Get(0)->r_height = 240;
    StartGame();
  }

  static RValue Call(const char* name, CInstance* self, std::vector<double> args) {
    const int id = Function_Find(name);
    EXPECT_GE(id, 0) << name;
    RValue slots[16];
    for (size_t i = 0; i < args.size(); ++i) slots[i] = RValue::Real(args[i]);
    RValue result = RValue::Real(0);
    if (id >= 0) Function_Get(id).routine(result, self, nullptr, static_cast<int>(args.size()), slots);
    return result;
  }

  CInstance* Inst(int id) { return Instance_Find(id, true); }

  int block_ = 0, wall_ = 0, ball_ = 0, rock_ = 0;
};

TEST_F(MotionFunctions, ContactStopsOnTheLastFreePixel) {
  Start({Placed(wall_, 100, 0, 100001), Placed(ball_, 10, 0, 100002), Placed(rock_, 50, 0, 100003)});
  CInstance* ball = Inst(100002);
  // Solid only: passes the rock, stops touching the wall (box 84..99).
  Call("move_contact_solid", ball, {0, -1});
  EXPECT_DOUBLE_EQ(ball->i_x, 84);
  // A step limit.
  ball->SetPosition(10, 0);
  Call("move_contact_solid", ball, {0, 5});
  EXPECT_DOUBLE_EQ(ball->i_x, 15);
  // All instances: stops before the rock.
  ball->SetPosition(10, 0);
  Call("move_contact_all", ball, {0, 0});
  EXPECT_DOUBLE_EQ(ball->i_x, 34);
  // Inside a solid instance: nothing happens.
  ball->SetPosition(95, 0);
  Call("move_contact_solid", ball, {0, -1});
  EXPECT_DOUBLE_EQ(ball->i_x, 95);
  // Diagonal steps stay real-valued: one pixel along 45 degrees.
  ball->SetPosition(10, 100);
  Call("move_contact_solid", ball, {45, 1});
  EXPECT_NEAR(ball->i_x, 10 + std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(ball->i_y, 100 - std::sqrt(0.5), 1e-12);
}

TEST_F(MotionFunctions, OutsideAndContactChooseByOverlap) {
  Start({Placed(wall_, 100, 0, 100001), Placed(ball_, 95, 0, 100002)});
  CInstance* ball = Inst(100002);
  Call("move_outside_solid", ball, {0, -1});
  EXPECT_DOUBLE_EQ(ball->i_x, 116);
  ball->SetPosition(95, 0);
  Call("move_outside_solid", ball, {180, 3});
  EXPECT_DOUBLE_EQ(ball->i_x, 92);  // still inside after 3 steps
  // move_contact: outside when inside, to contact when free.
  ball->SetPosition(95, 0);
  Call("move_contact", ball, {180});
  EXPECT_DOUBLE_EQ(ball->i_x, 84);
  ball->SetPosition(0, 0);
  Call("move_contact", ball, {0});
  EXPECT_DOUBLE_EQ(ball->i_x, 84);
}

TEST_F(MotionFunctions, SimpleBounceReversesTheBlockedAxis) {
  Start({Placed(wall_, 100, 0, 100001), Placed(ball_, 80, 40, 100002)});
  CInstance* ball = Inst(100002);
  // Moving right and down past the wall's side: only hspeed turns.
  ball->SetPosition(80, 0);
  ball->i_xprevious = 80;
  ball->i_yprevious = 0;
  ball->SetHspeed(6);
  ball->SetVspeed(2);
  Call("move_bounce_solid", ball, {0});
  EXPECT_EQ(ball->i_hspeed, -6);
  EXPECT_EQ(ball->i_vspeed, 2);
  // Overlapping: back to the previous position first.
  ball->SetPosition(90, 0);
  ball->SetHspeed(6);
  Call("move_bounce", ball, {0});
  EXPECT_EQ(ball->i_x, 80);
  EXPECT_EQ(ball->i_hspeed, -6);
  // Free all around: nothing changes.
  ball->SetPosition(10, 100);
  Call("move_bounce_solid", ball, {0});
  EXPECT_EQ(ball->i_hspeed, -6);
}

TEST_F(MotionFunctions, AdvancedBounceReflectsOffAWall) {
  Start({Placed(wall_, 100, 0, 100001), Placed(wall_, 100, 16, 100003), Placed(wall_, 100, 32, 100004),
         Placed(ball_, 80, 16, 100002)});
  CInstance* ball = Inst(100002);
  ball->SetPosition(80, 16);
  ball->i_xprevious = 80;
  ball->i_yprevious = 16;
  ball->SetDirection(0);
  ball->SetSpeed(8);
  Call("move_bounce_solid", ball, {1});
  EXPECT_EQ(ball->i_direction, 180);
  EXPECT_EQ(ball->i_speed, 8);
  // Free on both nearest sides and not overlapping: unchanged.
  ball->SetPosition(10, 150);
  ball->SetDirection(30);
  Call("move_bounce_all", ball, {1});
  EXPECT_EQ(ball->i_direction, 30);
}

TEST_F(MotionFunctions, SnapWrapAndMotionSetters) {
  Start({Placed(ball_, 24, 40, 100002)});
  CInstance* ball = Inst(100002);
  // Halves go to even: 24 / 16 = 1.5 -> 32; 40 / 16 = 2.5 -> 32.
  Call("move_snap", ball, {16, 16});
  EXPECT_EQ(ball->i_x, 32);
  EXPECT_EQ(ball->i_y, 32);
  EXPECT_EQ(Call("place_snapped", ball, {16, 16}).val, 1);
  EXPECT_EQ(Call("place_snapped", ball, {0, 0}).val, 1);
  EXPECT_EQ(Call("place_snapped", ball, {0, 20}).val, 0);
  ball->SetPosition(-12, 250);
  Call("move_wrap", ball, {1, 0, 10});
  EXPECT_EQ(ball->i_x, -12 + 320 + 20);
  EXPECT_EQ(ball->i_y, 250);
  Call("move_wrap", ball, {0, 1, 5});
  EXPECT_EQ(ball->i_y, 250 - 240 - 10);
  Call("motion_set", ball, {45, 0});
  EXPECT_EQ(ball->i_direction, 45);
  EXPECT_EQ(ball->i_hspeed, 0);
  Call("motion_add", ball, {90, 3});
  EXPECT_EQ(ball->i_direction, 90);
  EXPECT_EQ(ball->i_vspeed, -3);
  // Towards its own place while moving: direction 0, then speed along it.
  Call("move_towards_point", ball, {ball->i_x, ball->i_y, 2});
  EXPECT_EQ(ball->i_direction, 0);
  EXPECT_EQ(ball->i_hspeed, 2);
  Call("move_towards_point", ball, {ball->i_x, ball->i_y - 10, 5});
  EXPECT_EQ(ball->i_direction, 90);
  EXPECT_EQ(ball->i_vspeed, -5);
}

TEST_F(MotionFunctions, RandomPlaceIsFreeAndInside) {
  Start({Placed(wall_, 0, 0, 100001), Placed(ball_, 100, 100, 100002)});
  CInstance* ball = Inst(100002);
  RandomSetSeed(7);
  for (int i = 0; i < 50; ++i) {
    Call("move_random", ball, {8, 0});
    EXPECT_GE(ball->i_bbox.left, 0);
    EXPECT_LE(ball->i_bbox.right, 319);
    EXPECT_LE(ball->i_bbox.bottom, 239);
    EXPECT_EQ(std::fmod(ball->i_x, 8), 0);
    EXPECT_TRUE(Collision_PlaceFree(ball, ball->i_x, ball->i_y));
  }
}

// --- steppers ----------------------------------------------------------------------

TEST_F(MotionFunctions, LinearStepStopsAtObstacles) {
  Start({Placed(wall_, 100, 0, 100001), Placed(ball_, 0, 0, 100002)});
  CInstance* ball = Inst(100002);
  EXPECT_EQ(Call("mp_linear_step", ball, {60, 0, 40, 0}).val, 0);
  EXPECT_EQ(ball->i_x, 40);
  EXPECT_EQ(Call("mp_linear_step", ball, {60, 0, 40, 0}).val, 1);
  EXPECT_EQ(ball->i_x, 60);
  // The goal is closer than a step but occupied: reached, yet staying.
  EXPECT_EQ(Call("mp_linear_step", ball, {95, 0, 40, 0}).val, 1);
  EXPECT_EQ(ball->i_x, 60);
  EXPECT_EQ(Call("mp_linear_step", ball, {60, 0, 40, 0}).val, 1);
  // Only instances of the object block the object form, solid or not.
  EXPECT_EQ(Call("mp_linear_step_object", ball, {95, 0, 40, static_cast<double>(ball_)}).val, 1);
  EXPECT_EQ(ball->i_x, 95);
}

TEST_F(MotionFunctions, LinearPathRestoresTheInstance) {
  Start({Placed(wall_, 100, 0, 100001), Placed(ball_, 0, 0, 100002)});
  CInstance* ball = Inst(100002);
  ball->SetDirection(123);
  const int path = Path_Add();
  EXPECT_EQ(Call("mp_linear_path", ball, {static_cast<double>(path), 0, 50, 20, 0}).val, 1);
  const CPath& p = *Path_Get(path);
  ASSERT_EQ(p.Count(), 4);  // 0, 20, 40, then the goal
  EXPECT_EQ(p.i_points[2].y, 40);
  EXPECT_EQ(p.i_points[3].y, 50);
  EXPECT_FALSE(p.i_closed);
  EXPECT_EQ(ball->i_x, 0);
  EXPECT_EQ(ball->i_y, 0);
  EXPECT_EQ(ball->i_direction, 123);
  // Blocked by the wall: fails once the instance cannot move.
  EXPECT_EQ(Call("mp_linear_path", ball, {static_cast<double>(path), 200, 0, 10, 0}).val, 0);
  EXPECT_EQ(p.i_points.back().x, 80);
  EXPECT_EQ(ball->i_x, 0);
  ErrorCapture capture;
  EXPECT_EQ(Call("mp_linear_path", ball, {99, 200, 0, 10, 0}).val, 0);
  EXPECT_EQ(capture.Message(), "Trying to assign to a non-existing path.");
}

TEST_F(MotionFunctions, PotentialStepSteersAroundAWall) {
  // A wall block in the way on the straight line to the goal.
  Start({Placed(wall_, 100, 96, 100001), Placed(ball_, 40, 100, 100002)});
  CInstance* ball = Inst(100002);
  const int path = Path_Add();
  EXPECT_EQ(Call("mp_potential_path", ball, {static_cast<double>(path), 200, 100, 4, 4, 0}).val, 1);
  const CPath& p = *Path_Get(path);
  EXPECT_EQ(p.i_points.back().x, 200);
  for (const RWayPoint& w : p.i_points) {
    // No point of the way puts the instance on the wall.
    EXPECT_TRUE(Collision_PlaceFree(ball, w.x, w.y)) << w.x << "," << w.y;
  }
  EXPECT_EQ(ball->i_x, 40);
  // Stepping for real gets there too.
  int steps = 0;
  while (Call("mp_potential_step", ball, {200, 100, 4, 0}).val == 0 && steps < 500) ++steps;
  EXPECT_LT(steps, 500);
  EXPECT_EQ(ball->i_x, 200);
}

TEST_F(MotionFunctions, PotentialPathEndsWhenEnclosed) {
  // The ball walled in on every side: no direction is ever free.
  Start({Placed(wall_, 84, 100, 100001), Placed(wall_, 116, 100, 100003), Placed(wall_, 100, 84, 100004),
         Placed(wall_, 100, 116, 100005), Placed(ball_, 100, 100, 100002)});
  CInstance* ball = Inst(100002);
  const int path = Path_Add();
  // A huge factor: only the stuck rule ends the search.
  EXPECT_EQ(Call("mp_potential_path", ball, {static_cast<double>(path), 300, 100, 4, 1000, 0}).val, 0);
  EXPECT_LE(Path_Get(path)->Count(), 20);
  Mp_SetPotentialSettings(0, 0, 0, false);
  EXPECT_EQ(Mp_PotentialSettings().maxrot, 1);
  EXPECT_EQ(Mp_PotentialSettings().rotstep, 1);
  EXPECT_EQ(Mp_PotentialSettings().ahead, 1);
  EXPECT_EQ(Call("mp_potential_path", ball, {static_cast<double>(path), 300, 100, 4, 1000, 0}).val, 0);
  EXPECT_EQ(Call("mp_potential_path", ball, {static_cast<double>(path), 300, 100, 4, 0.5, 0}).val, 0);
}

TEST_F(MotionFunctions, GridFunctionsWithInstances) {
  Start({Placed(wall_, 40, 8, 100001), Placed(ball_, 0, 0, 100002)});
  CInstance* ball = Inst(100002);
  const double grid = Call("mp_grid_create", ball, {0, 0, 10, 10, 16, 16}).val;
  // The wall's box 40..55 x 8..23 covers columns 2..3 and rows 0..1.
  Call("mp_grid_add_instances", ball, {grid, static_cast<double>(wall_), 0});
  CGrid* g = Grid_Get(static_cast<int32_t>(grid));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->Cell(2, 0), -1);
  EXPECT_EQ(g->Cell(3, 1), -1);
  EXPECT_EQ(g->Cell(4, 1), 0);
  EXPECT_EQ(g->Cell(2, 2), 0);
  const int path = Path_Add();
  EXPECT_EQ(Call("mp_grid_path", ball, {grid, static_cast<double>(path), 8, 8, 88, 8, 0}).val, 1);
  EXPECT_EQ(Call("mp_grid_path", ball, {grid, 99, 8, 8, 88, 8, 0}).val, 0);
  EXPECT_EQ(Call("mp_grid_path", ball, {grid + 5, static_cast<double>(path), 8, 8, 88, 8, 0}).val, 0);
  Call("mp_grid_destroy", ball, {grid});
  EXPECT_EQ(Grid_Get(static_cast<int32_t>(grid)), nullptr);
}

}  // namespace
