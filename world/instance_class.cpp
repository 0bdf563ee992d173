// instance_class.cpp: the CInstance record, its setters (object data,
// sprite, mask, scale and angle with the bounding box; the coupled motion
// forms, friction and gravity) and the lookups game code uses on the
// current room's active list.
#include "world/instance_class.h"

#include <algorithm>
#include <cmath>

#include "motion/collision_watch.h"
#include "runner/game_data.h"
#include "world/instance_list.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kNoBox = -100000;

// Rounds to the nearest integer, halves to even (no error for huge values).
double RoundEven(double v) { return std::nearbyint(v); }
int32_t RoundBox(double v) { return static_cast<int32_t>(std::clamp(RoundEven(v), -2.0e9, 2.0e9)); }

// Whole-number values stay exact after trigonometry.
double Snap(double v) {
  double r = RoundEven(v);
  return std::fabs(v - r) < 0.0001 ? r : v;
}

double Wrap360(double v) { return v - std::floor(v / 360.0) * 360.0; }

const CSprite* SpriteOf(int32_t index) { return Game().sprites.Get(index); }

}  // namespace

CInstance::CInstance(int32_t id, int32_t object) : i_id(id), i_objectindex(object) {
  i_timer.fill(-1);
}

void CInstance::Create(double x, double y, int32_t id, int32_t object) {
  i_id = id;
  i_x = i_xstart = i_xprevious = x;
  i_y = i_ystart = i_yprevious = y;
  SetObjectIndex(object);
}

void CInstance::Assign(const CInstance& other) { *this = other; }

void CInstance::SetPosition(double x, double y) {
  if (x == i_x && y == i_y) return;
  i_x = x;
  i_y = y;
  UpdateBoundingBox();
}

void CInstance::SetSpriteIndex(int32_t sprite) {
  i_spriteindex = sprite;
  const CSprite* s = SpriteOf(sprite);
  int32_t count = s ? s->Numb() : 0;
  if (std::floor(i_imageindex) >= count) i_imageindex = 0;
  UpdateBoundingBox();
}

void CInstance::SetMaskIndex(int32_t mask) {
  i_maskindex = mask;
  UpdateBoundingBox();
}

void CInstance::SetObjectIndex(int32_t object) {
  i_objectindex = object;
  i_object = Game().objects.Get(object);
  if (i_object != nullptr) {
    SetSpriteIndex(i_object->o_spriteindex);
    i_maskindex = i_object->o_mask;
    i_depth = i_object->o_depth;
    i_solid = i_object->o_solid;
    i_visible = i_object->o_visible;
    i_persistent = i_object->o_persistent;
  }
  UpdateBoundingBox();
}

void CInstance::SetImageScaleX(double v) {
  if (v == i_imagescalex) return;
  i_imagescalex = v;
  UpdateBoundingBox();
}

void CInstance::SetImageScaleY(double v) {
  if (v == i_imagescaley) return;
  i_imagescaley = v;
  UpdateBoundingBox();
}

void CInstance::SetImageAngle(double v) {
  if (v == i_imageangle) return;
  i_imageangle = v;
  UpdateBoundingBox();
}

void CInstance::SpeedsFromDirection() {
  double radians = i_direction * kPi / 180.0;
  i_hspeed = Snap(std::cos(radians) * i_speed);
  i_vspeed = Snap(-std::sin(radians) * i_speed);
}

void CInstance::DirectionFromSpeeds() {
  double direction;
  if (i_hspeed != 0.0) {
    double d = std::atan2(i_vspeed, i_hspeed) * 180.0 / kPi;
    direction = d > 0 ? 360.0 - d : -d;
  } else {
    direction = i_vspeed > 0 ? 270.0 : (i_vspeed < 0 ? 90.0 : 0.0);
  }
  i_direction = Wrap360(Snap(direction));
  i_speed = Snap(std::sqrt(i_hspeed * i_hspeed + i_vspeed * i_vspeed));
}

void CInstance::SetDirection(double v) {
  if (v == i_direction) return;
  i_direction = Wrap360(v);
  SpeedsFromDirection();
}

void CInstance::SetSpeed(double v) {
  if (v == i_speed) return;
  i_speed = v;
  SpeedsFromDirection();
}

void CInstance::SetHspeed(double v) {
  if (v == i_hspeed) return;
  i_hspeed = v;
  DirectionFromSpeeds();
}

void CInstance::SetVspeed(double v) {
  if (v == i_vspeed) return;
  i_vspeed = v;
  DirectionFromSpeeds();
}

void CInstance::AddTo_Speed(double dir, double amount) {
  double radians = dir * kPi / 180.0;
  i_hspeed += std::cos(radians) * amount;
  i_vspeed -= std::sin(radians) * amount;
  DirectionFromSpeeds();
}

// Friction never reverses the motion; a negative friction accelerates.
void CInstance::Adapt_Speed() {
  if (i_friction != 0.0) {
    double s = i_speed;
    double a = s > 0 ? s - i_friction : s + i_friction;
    if ((s > 0 && a < 0) || (s < 0 && a > 0)) {
      SetSpeed(0.0);
    } else if (s != 0.0) {
      SetSpeed(a);
    }
  }
  if (i_gravity != 0.0) AddTo_Speed(i_gravitydir, i_gravity);
}

int32_t CInstance::GetTimer(int index) const {
  return index >= 0 && index < kAlarmCount ? i_timer[static_cast<size_t>(index)] : -1;
}

void CInstance::SetTimer(int index, int32_t value) {
  if (index >= 0 && index < kAlarmCount) i_timer[static_cast<size_t>(index)] = value;
}

int32_t CInstance::ImageNumber() const {
  const CSprite* s = SpriteOf(i_spriteindex);
  return s ? s->Numb() : 0;
}

bool CInstance::HasShape() const {
  return SpriteOf(i_maskindex >= 0 ? i_maskindex : i_spriteindex) != nullptr;
}

void CInstance::UpdateBoundingBox() {
  const CSprite* s = SpriteOf(i_maskindex >= 0 ? i_maskindex : i_spriteindex);
  if (s == nullptr) {
    i_bbox = TRect{kNoBox, kNoBox, kNoBox, kNoBox};
    Collision_NoteBoxChange(this);
    return;
  }
  const double l = s->i_bbox.left, t = s->i_bbox.top, r = s->i_bbox.right, b = s->i_bbox.bottom;
  const double xo = s->i_xorig, yo = s->i_yorig, sx = i_imagescalex, sy = i_imagescaley;
  TRect box;
  if (i_imageangle == 0.0) {
    box.left = RoundBox((l - xo) * sx + i_x);
    box.right = RoundBox((r - xo + 1) * sx + i_x - 1);
    if (box.right < box.left) std::swap(box.left, box.right);
    box.top = RoundBox((t - yo) * sy + i_y);
    box.bottom = RoundBox(i_y + sy * (b - yo + 1) - 1);
    if (box.bottom < box.top) std::swap(box.top, box.bottom);
  } else {
    double p = (std::min(l, r) - xo) * sx, q = (std::max(l, r) - xo + 1) * sx - 1;
    double u = sy * (std::min(t, b) - yo), v = sy * (std::max(t, b) - yo + 1) - 1;
    double c = std::cos(i_imageangle * kPi / 180.0), sn = std::sin(i_imageangle * kPi / 180.0);
    box.left = RoundBox(std::min(sn * u, sn * v) + i_x + std::min(c * p, c * q));
    box.right = RoundBox(std::max(sn * u, sn * v) + std::max(c * p, c * q) + i_x);
    box.top = RoundBox(std::min(c * u, c * v) + i_y - std::max(sn * p, sn * q));
    box.bottom = RoundBox(std::max(c * u, c * v) + i_y - std::min(sn * p, sn * q));
  }
  i_bbox = box;
  Collision_NoteBoxChange(this);
}

// --- the active list as game code sees it ------------------------------------

std::vector<std::unique_ptr<CInstance>>& Instance_List() { return Instance_Lists().active; }

CInstance* Instance_Add(int32_t id, int32_t object) {
  auto inst = std::make_unique<CInstance>(id, object);
  inst->i_object = Game().objects.Get(object);
  return Instance_Append(std::move(inst));
}

void Instance_ClearAll() {
  RInstanceLists& lists = Instance_Lists();
  lists.active.clear();
  lists.deactivated.clear();
  lists.per_object.clear();
  lists.per_object_recursive.clear();
}

// Walks from the end: recently made instances are found fastest, and of
// two records with one id (a changed instance) the live one comes last.
CInstance* Instance_Find(int32_t id, bool for_read) {
  InstanceOwnerList& list = Instance_Lists().active;
  for (size_t i = list.size(); i-- > 0;) {
    CInstance* inst = list[i].get();
    if (inst->i_id != id) continue;
    if (for_read && inst->i_marked) continue;
    return inst;
  }
  return nullptr;
}

bool Instance_IsOfObject(const CInstance& inst, int32_t obj) {
  int32_t current = inst.i_objectindex;
  // The parent chain is bounded so a cycle in bad data cannot hang.
  for (int depth = 0; current >= 0 && depth < 10000; ++depth) {
    if (current == obj) return true;
    const CObject* object = Game().objects.Get(current);
    if (object == nullptr) return false;
    current = object->o_parent;
  }
  return false;
}
