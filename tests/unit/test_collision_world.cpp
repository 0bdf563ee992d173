// Collision queries in a live room (selection rules, placement, the point,
// shape and distance queries, the builtin functions) and the collision
// phase: the broad phase raises exactly the events of the all-pairs form.
#include <algorithm>
#include <random>

#include "motion/collision.h"
#include "motion/collision_phase.h"
#include "motion/mask_build.h"
#include "motion/sprite_class.h"
#include "world/instance_actions.h"
#include "world_test_support.h"

void Collision_InstallHooks();

namespace {

using worldtest::WorldTest;

// A sprite of size x size pixels, all set, origin (0, 0); kind as asked
// (precise over the full image, or an ellipse).
int AddBlockSprite(int size, int32_t kind = kMaskPrecise) {
  auto s = std::make_unique<CSprite>();
  TBitmap32 bm(size, size);
  for (auto& p : bm.s_data) p = 0xFF000000u;
  s->i_bitmap.push_back(bm);
  Mask_ComputeSpriteMasks(*s, false, kBoxFull, {}, kind, 0);
  return Game().sprites.Add(std::move(s), u"block");
}

class CollQuery : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    Collision_InstallHooks();
    block = AddBlockSprite(16);
    base = AddObject("base");
    child = AddObject("child", base);
    other_kind = AddObject("other");
    Object(base).o_spriteindex = block;
    Object(child).o_spriteindex = block;
    Object(other_kind).o_spriteindex = block;
  }
  CInstance* Inst(int id) { return Instance_Find(id, true); }
  int32_t IdOf(const CInstance* inst) { return inst ? inst->i_id : kCollisionNoone; }

  int block = 0, base = 0, child = 0, other_kind = 0;
};

TEST_F(CollQuery, ObjectArgumentSelection) {
  AddRoom({Placed(other_kind, 0, 0, 100001), Placed(child, 0, 0, 100002),
           Placed(base, 0, 0, 100003)});
  StartGame();
  auto first = [&](int32_t obj, CInstance* notme = nullptr) {
    return IdOf(Collision_FindPoint(5, 5, obj, true, notme));
  };
  EXPECT_EQ(first(kCollisionAll), 100001);
  EXPECT_EQ(first(base), 100002) << "the object and its descendants, in list order";
  EXPECT_EQ(first(child), 100002);
  EXPECT_EQ(first(100002), 100002);
  EXPECT_EQ(first(-1), kCollisionNoone) << "self selects nothing";
  EXPECT_EQ(first(-2), kCollisionNoone) << "other selects nothing";
  EXPECT_EQ(first(99), kCollisionNoone);
  EXPECT_EQ(first(kCollisionAll, Inst(100001)), 100002) << "notme";
  Inst(100002)->i_marked = true;
  EXPECT_EQ(first(child), kCollisionNoone) << "marked instances are skipped";
  EXPECT_EQ(first(100002), kCollisionNoone);
}

TEST_F(CollQuery, BoxEdgesEllipseCornerAndLine) {
  AddRoom({Placed(base, 0, 0, 100001)});
  StartGame();
  CInstance* a = Inst(100001);  // box (0, 0, 15, 15)
  EXPECT_TRUE(Collision_Point(a, 15.5, 3, false));
  EXPECT_FALSE(Collision_Point(a, 16, 3, false));
  EXPECT_FALSE(Collision_Point(a, 15.5, 3, true)) << "the point rounds to pixel 16, past the mask";
  EXPECT_TRUE(Collision_Point(a, 15.4, 3, true));
  EXPECT_TRUE(Collision_Rectangle(a, 15.9, 15.9, 40, 40, false));
  EXPECT_FALSE(Collision_Rectangle(a, 16, 0, 40, 40, false));
  // Centre diagonally off the box and no box corner inside: no collision,
  // even without prec, although the boxes overlap.
  EXPECT_FALSE(Collision_Ellipse(a, 14, 14, 40, 40, false));
  EXPECT_TRUE(Collision_Ellipse(a, 10, 10, 40, 40, false));
  // Radius 0: the rectangle test of one point.
  EXPECT_EQ(IdOf(Collision_FindEllipse(3, 3, 3, 3, kCollisionAll, true, nullptr)), 100001);
  EXPECT_TRUE(Collision_Line(a, -10, -10, 30, 30, true));
  EXPECT_FALSE(Collision_Line(a, -10, 20, 30, 25, true));
  EXPECT_TRUE(Collision_Line(a, -10, 0, 30, 30, false)) << "clipped to the box columns";
  EXPECT_FALSE(Collision_Line(a, 20, -10, 40, 40, false));
}

TEST_F(CollQuery, PlacementTestsPutTheCallerBack) {
  Object(other_kind).o_solid = true;
  AddRoom({Placed(base, 0, 0, 100001), Placed(other_kind, 40, 0, 100002),
           Placed(child, 0, 40, 100003)});
  StartGame();
  CInstance* me = Inst(100001);
  EXPECT_TRUE(Collision_PlaceFree(me, 0, 0)) << "the caller never meets itself";
  EXPECT_FALSE(Collision_PlaceFree(me, 30, 0));
  EXPECT_TRUE(Collision_PlaceFree(me, 0, 30)) << "child is not solid";
  EXPECT_FALSE(Collision_PlaceEmpty(me, 0, 30));
  EXPECT_EQ(IdOf(Collision_InstancePlace(me, 0, 30, base)), 100003);
  EXPECT_EQ(IdOf(Collision_InstancePlace(me, 0, 30, other_kind)), kCollisionNoone);
  EXPECT_FALSE(Collision_PlaceMeeting(me, nullptr, 0, 0, -1));
  EXPECT_TRUE(Collision_PlaceMeeting(me, Inst(100002), 30, 0, -2));
  EXPECT_EQ(me->i_x, 0);
  EXPECT_EQ(me->i_bbox, (TRect{0, 0, 15, 15}));
  EXPECT_DOUBLE_EQ(Collision_DistanceToPoint(me, 20, 10), 5.0);
  EXPECT_DOUBLE_EQ(Collision_DistanceToPoint(me, 18, 19), 5.0);
  me->SetPosition(23, 0);  // Right 38, one pixel from 100002's Left 40
  EXPECT_DOUBLE_EQ(Collision_DistanceToObject(me, nullptr, other_kind), 2.0);
  me->SetPosition(24, 0);
  EXPECT_DOUBLE_EQ(Collision_DistanceToObject(me, nullptr, other_kind), 1.0);
  EXPECT_DOUBLE_EQ(Collision_DistanceToObject(me, nullptr, -1), 1000000.0);
}

TEST_F(CollQuery, BuiltinFunctionsFromGameCode) {
  On(base, ev_destroy, 0, "say('destroyed', id);");
  const int ctrl = AddObject("ctrl");
  On(ctrl, ev_create, 0,
     "say(collision_point(5, 5, all, true, false), collision_point(5, 5, -1, true, false));"
     "say(collision_rectangle(30, 30, 60, 60, all, false, false));"
     "say(collision_circle(50, 8, 4, all, true, false), collision_line(0, 50, 60, 50, base, true, false));"
     "say(instance_position(41, 1, all), position_empty(100, 100), position_meeting(1, 1, child));"
     "position_destroy(2, 2); say(instance_number(base));"
     "position_change(41, 1, 999, false);");
  Game().settings.show_errors = false;
  AddRoom({Placed(base, 0, 0, 100001), Placed(other_kind, 40, 0, 100002),
           Placed(child, 0, 40, 100003), Placed(ctrl, 200, 200, 100004)});
  StartGame();
  EXPECT_EQ(TakeOutput(),
            "100001 -4;-4;100002 100003;100002 1 0;destroyed 100001;1;");
  EXPECT_NE(Error_State().error_last.find("Asking to change into non-existing object: 999"),
            std::string::npos);
}

// --- the collision phase: broad phase against all pairs -----------------------------------

class CollPhase : public WorldTest {
 protected:
  // Movers bounce off solid walls and off each other; events print who
  // met whom, and some move the other instance or create and destroy
  // instances, so the phase must follow changes made by events.
  std::string Run(bool broad, unsigned seed, int steps) {
    Reset();
    Collision_InstallHooks();
    const int small = AddBlockSprite(8), round = AddBlockSprite(12, kMaskEllipse);
    const int mover = AddObject("mover"), wall = AddObject("wall");
    Object(mover).o_spriteindex = round;
    Object(wall).o_spriteindex = small;
    Object(wall).o_solid = true;
    On(mover, ev_collision, mover,
       "say(id, other.id); if (id mod 7 == 0) other.x += 3; if (id mod 11 == 0) image_xscale = 1.5;");
    On(mover, ev_collision, wall,
       "say(id, 'w', other.id); hspeed = -hspeed; vspeed = -vspeed;"
       "if (id mod 13 == 0) instance_destroy(); if (other.id mod 17 == 0) instance_create(x + 5, y, other.object_index);");
    On(wall, ev_collision, mover, "say('wall', id, other.id);");
    std::mt19937 rng(seed);
    std::vector<RRoomInstance> placed;
    int id = 100001;
    for (int k = 0; k < 300; ++k) {
      const bool is_wall = k % 3 == 0;
      const int x = static_cast<int>(rng() % 400), y = static_cast<int>(rng() % 300);
      const int hs = static_cast<int>(rng() % 7) - 3, vs = static_cast<int>(rng() % 7) - 3;
      placed.push_back(Placed(is_wall ? wall : mover, x, y, id++,
                              is_wall ? "" : "hspeed = " + std::to_string(hs) + "; vspeed = " +
                                                 std::to_string(vs) + ";"));
    }
    AddRoom(placed);
    Collision_SetBroadPhase(broad);
    StartGame();
    Steps(steps);
    Collision_SetBroadPhase(true);
    return TakeOutput();
  }
};

TEST_F(CollPhase, BroadPhaseRaisesTheSameEventsInTheSameOrder) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const std::string plain = Run(false, seed, 20);
    const std::string broad = Run(true, seed, 20);
    EXPECT_GT(std::count(plain.begin(), plain.end(), ';'), 200) << "seed " << seed;
    EXPECT_EQ(broad, plain) << "seed " << seed;
  }
}

}  // namespace
