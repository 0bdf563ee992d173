// collision.cpp: the collision operations of an instance (point, rectangle,
// ellipse, line, instance; box first, then the mask when precise) and the
// room queries over the instances an object argument selects.
#include "motion/collision.h"

#include <algorithm>
#include <cmath>

#include "motion/sprite_class.h"
#include "runner/game_data.h"
#include "world/instance_list.h"

namespace {

constexpr int32_t kSelf = -1, kOther = -2;
constexpr int32_t kFirstId = 100000;

// Rounds to the nearest integer, halves to even, kept inside the range
// where box arithmetic cannot overflow (NaN goes far outside every room).
int32_t RoundCoord(double v) {
  if (std::isnan(v)) return -2000000000;
  return static_cast<int32_t>(std::clamp(std::nearbyint(v), -2.0e9, 2.0e9));
}

const CSprite* MaskSprite(const CInstance* inst) {
  return Game().sprites.Get(inst->i_maskindex >= 0 ? inst->i_maskindex : inst->i_spriteindex);
}

// The mask the instance wears for its current image, or null when its mask
// sprite is missing or has no images.
const TMask* WornMask(const CInstance* inst, const CSprite*& sprite) {
  sprite = MaskSprite(inst);
  if (sprite == nullptr || sprite->Numb() == 0 || sprite->i_mask.empty()) return nullptr;
  size_t image = 0;
  if (sprite->i_sepmasks) {
    const double n = sprite->Numb();
    double f = std::floor(inst->i_imageindex);
    f = std::isfinite(f) ? std::fmod(f, n) : 0.0;
    if (f < 0) f += n;
    image = static_cast<size_t>(f);
  }
  return image < sprite->i_mask.size() ? &sprite->i_mask[image] : nullptr;
}

RMaskPose PoseOf(const CInstance* inst, const CSprite& sprite) {
  RMaskPose pose;
  pose.bbox = inst->i_bbox;
  pose.x = RoundCoord(inst->i_x);
  pose.y = RoundCoord(inst->i_y);
  pose.xo = sprite.i_xorig;
  pose.yo = sprite.i_yorig;
  pose.scalex = inst->i_imagescalex;
  pose.scaley = inst->i_imagescaley;
  pose.angle = inst->i_imageangle;
  return pose;
}

// A real point in the box: Left <= x < Right + 1, Top <= y < Bottom + 1.
bool InBox(const TRect& b, double x, double y) {
  return b.left <= x && x < b.right + 1.0 && b.top <= y && y < b.bottom + 1.0;
}

// The rectangle rejection shared by rectangles, ellipses and lines.
bool RangeMeetsBox(const TRect& b, double minx, double miny, double maxx, double maxy) {
  return minx < b.right + 1.0 && maxx >= b.left && miny < b.bottom + 1.0 && maxy >= b.top;
}

TRect RoundedBox(double minx, double miny, double maxx, double maxy) {
  return TRect{RoundCoord(minx), RoundCoord(miny), RoundCoord(maxx), RoundCoord(maxy)};
}

// Whether (px, py) lies in the ellipse inscribed in the integer box e.
bool InEllipse(const TRect& e, double px, double py) {
  const double cx = (e.left + static_cast<double>(e.right)) / 2.0;
  const double cy = (e.top + static_cast<double>(e.bottom)) / 2.0;
  const double rx = (static_cast<double>(e.right) - e.left) / 2.0;
  const double ry = (static_cast<double>(e.bottom) - e.top) / 2.0;
  const double ex = (px - cx) / rx, ey = (py - cy) / ry;
  return ex * ex + ey * ey <= 1.0;
}

// An ellipse whose centre lies diagonally off the box meets it only when
// it holds one of the box's corners.
bool EllipseMissesCorner(const TRect& b, const TRect& e, double centre_x, double centre_y) {
  const bool off_x = centre_x < b.left || centre_x > b.right;
  const bool off_y = centre_y < b.top || centre_y > b.bottom;
  if (!off_x || !off_y) return false;
  return !InEllipse(e, b.left, b.top) && !InEllipse(e, b.left, b.bottom) &&
         !InEllipse(e, b.right, b.top) && !InEllipse(e, b.right, b.bottom);
}

// Runs test(mask, pose) on the instance's worn mask; false without one.
template <class Test>
bool MaskTest(const CInstance* inst, Test&& test) {
  const CSprite* sprite;
  const TMask* mask = WornMask(inst, sprite);
  return mask != nullptr && test(*mask, PoseOf(inst, *sprite));
}

// Moves self to (x, y) for test() and back afterwards.
template <class Test>
auto AtPosition(CInstance* self, double x, double y, Test&& test) {
  const double old_x = self->i_x, old_y = self->i_y;
  self->SetPosition(x, y);
  auto result = test();
  self->SetPosition(old_x, old_y);
  return result;
}

CInstance* FirstSolidMeeting(CInstance* self) {
  return Collision_FindFirstOf(kCollisionAll, [self](CInstance* inst) {
    return inst->i_solid && Collision_Instance(inst, self, true);
  });
}

CInstance* FirstMeeting(CInstance* self, int32_t obj) {
  return Collision_FindFirstOf(
      obj, [self](CInstance* inst) { return Collision_Instance(inst, self, true); });
}

// Box gap along one axis between inclusive ranges (0 when they overlap).
double Gap(int32_t lo, int32_t hi, int32_t other_lo, int32_t other_hi) {
  if (hi < other_lo) return static_cast<double>(other_lo) - hi;
  if (other_hi < lo) return static_cast<double>(other_hi) - lo;
  return 0.0;
}

double BoxDistance(const TRect& a, const TRect& b) {
  const double dx = Gap(a.left, a.right, b.left, b.right);
  const double dy = Gap(a.top, a.bottom, b.top, b.bottom);
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

// --- one instance against a shape ------------------------------------------------------

bool Collision_Point(CInstance* inst, double x, double y, bool prec) {
  if (inst->i_marked || !InBox(inst->i_bbox, x, y)) return false;
  if (!prec) return true;
  return MaskTest(inst, [&](const TMask& m, const RMaskPose& pose) {
    return m.CollisionPoint(pose, RoundCoord(x), RoundCoord(y));
  });
}

bool Collision_Rectangle(CInstance* inst, double x1, double y1, double x2, double y2, bool prec) {
  const double minx = std::min(x1, x2), maxx = std::max(x1, x2);
  const double miny = std::min(y1, y2), maxy = std::max(y1, y2);
  if (inst->i_marked || !RangeMeetsBox(inst->i_bbox, minx, miny, maxx, maxy)) return false;
  if (!prec) return true;
  const TRect rr = RoundedBox(minx, miny, maxx, maxy);
  return MaskTest(inst, [&](const TMask& m, const RMaskPose& pose) {
    return m.CollisionRectangle(pose, rr);
  });
}

bool Collision_Ellipse(CInstance* inst, double x1, double y1, double x2, double y2, bool prec) {
  const double minx = std::min(x1, x2), maxx = std::max(x1, x2);
  const double miny = std::min(y1, y2), maxy = std::max(y1, y2);
  if (inst->i_marked || !RangeMeetsBox(inst->i_bbox, minx, miny, maxx, maxy)) return false;
  if (RoundCoord(x1) == RoundCoord(x2) || RoundCoord(y1) == RoundCoord(y2))
    return Collision_Rectangle(inst, x1, y1, x2, y2, prec);
  const TRect e = RoundedBox(minx, miny, maxx, maxy);
  if (EllipseMissesCorner(inst->i_bbox, e, (x1 + x2) / 2.0, (y1 + y2) / 2.0)) return false;
  if (!prec) return true;
  return MaskTest(inst, [&](const TMask& m, const RMaskPose& pose) {
    return m.CollisionEllipse(pose, e);
  });
}

bool Collision_Line(CInstance* inst, double x1, double y1, double x2, double y2, bool prec) {
  const TRect& b = inst->i_bbox;
  if (inst->i_marked ||
      !RangeMeetsBox(b, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)))
    return false;
  if (x1 > x2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  // Clip to the box columns; an endpoint moves along the line.
  if (x1 < b.left) {
    y1 += (b.left - x1) * (y2 - y1) / (x2 - x1);
    x1 = b.left;
  }
  if (x2 > b.right + 1.0) {
    y2 = y1 + (b.right + 1.0 - x1) * (y2 - y1) / (x2 - x1);
    x2 = b.right + 1.0;
  }
  if ((y1 < b.top && y2 < b.top) || (y1 >= b.bottom + 1.0 && y2 >= b.bottom + 1.0)) return false;
  if (!prec) return true;
  return MaskTest(inst, [&](const TMask& m, const RMaskPose& pose) {
    return m.CollisionLine(pose, RoundCoord(x1), RoundCoord(y1), RoundCoord(x2), RoundCoord(y2));
  });
}

bool Collision_Instance(CInstance* inst, CInstance* other, bool prec) {
  const TRect& a = inst->i_bbox;
  const TRect& b = other->i_bbox;
  if (b.left > a.right || a.left > b.right || b.top > a.bottom || a.top > b.bottom) return false;
  if (inst == other || inst->i_marked || other->i_marked) return false;
  if (!prec) return true;
  const CSprite *sa, *sb;
  const TMask* ma = WornMask(inst, sa);
  const TMask* mb = WornMask(other, sb);
  if (ma == nullptr || mb == nullptr) return false;
  return ma->CollisionMask(PoseOf(inst, *sa), *mb, PoseOf(other, *sb));
}

// --- selection ----------------------------------------------------------------------

CInstance* Collision_FindFirst(int32_t obj, CollisionVisit visit, void* data) {
  if (obj == kCollisionAll) {
    // Indexed: a visit may append instances (destroy events).
    const InstanceOwnerList& active = Instance_Lists().active;
    for (size_t i = 0; i < active.size(); ++i) {
      CInstance* inst = active[i].get();
      if (!inst->i_marked && visit(inst, data)) return inst;
    }
    return nullptr;
  }
  if (obj >= kFirstId) {
    CInstance* inst = Instance_Find(obj, true);
    return inst != nullptr && visit(inst, data) ? inst : nullptr;
  }
  const InstanceRefList* list = obj >= 0 ? Instance_ObjectListRecursive(obj) : nullptr;
  if (list == nullptr) return nullptr;
  for (size_t i = 0; i < list->size(); ++i) {
    CInstance* inst = (*list)[i];
    if (!inst->i_marked && visit(inst, data)) return inst;
  }
  return nullptr;
}

// --- room queries ---------------------------------------------------------------------

CInstance* Collision_FindPoint(double x, double y, int32_t obj, bool prec, CInstance* notme) {
  return Collision_FindFirstOf(obj, [&](CInstance* inst) {
    return inst != notme && Collision_Point(inst, x, y, prec);
  });
}

CInstance* Collision_FindRectangle(double x1, double y1, double x2, double y2, int32_t obj,
                                   bool prec, CInstance* notme) {
  return Collision_FindFirstOf(obj, [&](CInstance* inst) {
    return inst != notme && Collision_Rectangle(inst, x1, y1, x2, y2, prec);
  });
}

CInstance* Collision_FindEllipse(double x1, double y1, double x2, double y2, int32_t obj,
                                 bool prec, CInstance* notme) {
  return Collision_FindFirstOf(obj, [&](CInstance* inst) {
    return inst != notme && Collision_Ellipse(inst, x1, y1, x2, y2, prec);
  });
}

CInstance* Collision_FindLine(double x1, double y1, double x2, double y2, int32_t obj, bool prec,
                              CInstance* notme) {
  return Collision_FindFirstOf(obj, [&](CInstance* inst) {
    return inst != notme && Collision_Line(inst, x1, y1, x2, y2, prec);
  });
}

CInstance* Collision_InstancePosition(double x, double y, int32_t obj) {
  return Collision_FindPoint(x, y, obj, true, nullptr);
}

CInstance* Collision_InstancePlace(CInstance* self, double x, double y, int32_t obj) {
  return AtPosition(self, x, y, [&] { return FirstMeeting(self, obj); });
}

bool Collision_PlaceFree(CInstance* self, double x, double y) {
  return AtPosition(self, x, y, [&] { return FirstSolidMeeting(self) == nullptr; });
}

bool Collision_PlaceEmpty(CInstance* self, double x, double y) {
  return AtPosition(self, x, y, [&] { return FirstMeeting(self, kCollisionAll) == nullptr; });
}

bool Collision_PlaceMeeting(CInstance* self, CInstance* other, double x, double y, int32_t obj) {
  if (obj == kSelf) obj = self->i_id;
  if (obj == kOther) obj = other != nullptr ? other->i_id : kCollisionNoone;
  return Collision_InstancePlace(self, x, y, obj) != nullptr;
}

bool Collision_MeetsSolid(CInstance* self) { return FirstSolidMeeting(self) != nullptr; }

bool Collision_MeetsObject(CInstance* self, int32_t obj) {
  return FirstMeeting(self, obj) != nullptr;
}

double Collision_DistanceToPoint(const CInstance* self, double x, double y) {
  const TRect& b = self->i_bbox;
  const double dx = x > b.right ? x - b.right : (x < b.left ? x - b.left : 0.0);
  const double dy = y > b.bottom ? y - b.bottom : (y < b.top ? y - b.top : 0.0);
  return std::sqrt(dx * dx + dy * dy);
}

double Collision_DistanceToObject(CInstance* self, CInstance* other, int32_t obj) {
  double best = 1000000.0;
  auto measure = [&](CInstance* inst) {
    if (inst != nullptr && inst != self && !inst->i_marked)
      best = std::min(best, BoxDistance(self->i_bbox, inst->i_bbox));
    return false;
  };
  if (obj == kOther) {
    measure(other);
  } else if (obj != kSelf) {
    Collision_FindFirstOf(obj, measure);
  }
  return best;
}
