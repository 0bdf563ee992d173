// instance_class.h: CInstance, a live instance of an object: position,
// motion, sprite and image state, alarms, path and time line state, its own
// variables and the flags that tie it into the room. The setters keep the
// derived state consistent (object data, bounding box, the two motion
// forms). Also the room's active instance list as game code sees it, with
// lookups by id and by object (the object or a descendant).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "code/variable_class.h"
#include "motion/sprite_mask.h"
#include "common/value.h"

class CObject;

constexpr int32_t kFirstInstanceId = 100000;
constexpr int kAlarmCount = 12;

class CInstance {
 public:
  int32_t i_id = 0;
  int32_t i_spriteindex = -1;
  double i_imageindex = 0.0;
  double i_imagespeed = 1.0;
  double i_imagescalex = 1.0;
  double i_imagescaley = 1.0;
  double i_imageangle = 0.0;
  double i_imagealpha = 1.0;
  uint32_t i_imageblend = 0xFFFFFF;
  int32_t i_maskindex = -1;
  double i_depth = 0.0;
  double i_x = 0.0;
  double i_y = 0.0;
  double i_xstart = 0.0;
  double i_ystart = 0.0;
  double i_xprevious = 0.0;
  double i_yprevious = 0.0;
  double i_direction = 0.0;
  double i_speed = 0.0;
  double i_friction = 0.0;
  double i_gravitydir = 270.0;
  double i_gravity = 0.0;
  double i_hspeed = 0.0;
  double i_vspeed = 0.0;
  TRect i_bbox{-100000, -100000, -100000, -100000};
  bool i_visible = true;
  bool i_solid = false;
  bool i_persistent = false;
  int32_t i_objectindex = 0;
  CObject* i_object = nullptr;  // not owned
  std::array<int32_t, kAlarmCount> i_timer;
  CVariableList i_vars;  // user variables
  bool i_marked = false;       // destroyed; removed at the next RemoveMarked
  bool i_deactivated = false;  // to be (or being) kept out of the active list
  int32_t i_pathindex = -1;
  double i_pathposition = 0.0;
  double i_pathpositionprevious = 0.0;
  double i_pathspeed = 0.0;
  double i_pathscale = 1.0;
  double i_pathorientation = 0.0;
  int32_t i_pathend = 0;
  double i_pathxstart = 0.0;
  double i_pathystart = 0.0;
  int32_t i_timelineindex = -1;
  double i_timelineposition = 0.0;
  double i_timelinespeed = 1.0;
  bool i_timelinerunning = false;
  bool i_timelineloop = false;
  VString i_initcode;

  // A blank record (no object data applied): used for temporary instances.
  CInstance(int32_t id = 0, int32_t object = 0);
  // The record of a new instance at (x, y): initial values, then the
  // object through the object setter.
  void Create(double x, double y, int32_t id, int32_t object);
  // Copies every field of another instance (id, flags and a deep copy of
  // the variables included; the object pointer is shared).
  void Assign(const CInstance& other);

  void SetPosition(double x, double y);
  void SetSpriteIndex(int32_t sprite);
  void SetMaskIndex(int32_t mask);
  void SetObjectIndex(int32_t object);
  void SetImageScaleX(double v);
  void SetImageScaleY(double v);
  void SetImageAngle(double v);
  // The motion setters keep direction/speed and hspeed/vspeed in step; an
  // assignment of the current value does nothing.
  void SetDirection(double v);
  void SetSpeed(double v);
  void SetHspeed(double v);
  void SetVspeed(double v);
  void AddTo_Speed(double dir, double amount);
  // Friction and gravity of one step.
  void Adapt_Speed();

  // Alarm index outside 0..11: get yields -1, set does nothing.
  int32_t GetTimer(int index) const;
  void SetTimer(int index, int32_t value);
  // Image count of the sprite, 0 for a missing sprite.
  int32_t ImageNumber() const;
  // True when the sprite or mask sprite exists (the instance has a shape).
  bool HasShape() const;
  void UpdateBoundingBox();

 private:
  void SpeedsFromDirection();
  void DirectionFromSpeeds();
};

// The current room's active instances in list order; the list owns them.
std::vector<std::unique_ptr<CInstance>>& Instance_List();
// Appends a blank instance (no object data) with that id to the active and
// per-object lists, and returns it (tests and temporary use).
CInstance* Instance_Add(int32_t id, int32_t object);
// Frees every instance of the current room (active and deactivated).
void Instance_ClearAll();
// The active instance with that id (not marked for deletion when for_read),
// or null.
CInstance* Instance_Find(int32_t id, bool for_read);
// True when the instance's object is obj or a descendant of obj.
bool Instance_IsOfObject(const CInstance& inst, int32_t obj);
