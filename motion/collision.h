// collision.h: the collision operations of an instance (against a point, a
// rectangle, an ellipse, a line and another instance, by box and optionally
// by mask) and the room-wide queries built on them: which instances an
// object argument selects, the first instance a shape meets, and the
// placement tests (free, empty, meeting at a position) that motion code uses.
#pragma once

#include <cstdint>
#include <type_traits>

class CInstance;

// Designators of the object argument.
constexpr int32_t kCollisionAll = -3;
constexpr int32_t kCollisionNoone = -4;

// --- one instance against a shape ------------------------------------------------------
// All false for a marked instance. A real point (x, y) lies in the box when
// Left <= x < Right + 1 and Top <= y < Bottom + 1. With prec the mask of the
// image Floor(image_index) decides; an instance without a mask sprite (or
// with an empty one) then never collides.
bool Collision_Point(CInstance* inst, double x, double y, bool prec);
bool Collision_Rectangle(CInstance* inst, double x1, double y1, double x2, double y2, bool prec);
// The ellipse inscribed in the box (x1, y1)-(x2, y2).
bool Collision_Ellipse(CInstance* inst, double x1, double y1, double x2, double y2, bool prec);
bool Collision_Line(CInstance* inst, double x1, double y1, double x2, double y2, bool prec);
// inst against other: false for the same instance or when either is marked.
bool Collision_Instance(CInstance* inst, CInstance* other, bool prec);

// --- selection ----------------------------------------------------------------------
// Calls visit(inst) for every unmarked instance that obj selects, in order,
// until visit returns true; returns the instance it stopped at or null.
// obj -3: the active list; 100000 or more: that id; an object index: the
// object and its descendants (recursive per-object list); anything else
// (-1 and -2 included): nothing.
using CollisionVisit = bool (*)(CInstance* inst, void* data);
CInstance* Collision_FindFirst(int32_t obj, CollisionVisit visit, void* data);

template <class Visit>
CInstance* Collision_FindFirstOf(int32_t obj, Visit&& visit) {
  return Collision_FindFirst(
      obj,
      [](CInstance* inst, void* data) {
        return (*static_cast<std::remove_reference_t<Visit>*>(data))(inst);
      },
      &visit);
}

// --- room queries ---------------------------------------------------------------------
// The first instance of obj that the shape meets (skipping notme when it is
// not null), or null.
CInstance* Collision_FindPoint(double x, double y, int32_t obj, bool prec, CInstance* notme);
CInstance* Collision_FindRectangle(double x1, double y1, double x2, double y2, int32_t obj,
                                   bool prec, CInstance* notme);
CInstance* Collision_FindEllipse(double x1, double y1, double x2, double y2, int32_t obj,
                                 bool prec, CInstance* notme);
CInstance* Collision_FindLine(double x1, double y1, double x2, double y2, int32_t obj, bool prec,
                              CInstance* notme);
// instance_position: precise point query.
CInstance* Collision_InstancePosition(double x, double y, int32_t obj);

// Placement tests: self is put at (x, y) for the test and back to its old
// position afterwards, whatever the outcome. Self never meets itself.
// instance_place: the first instance of obj self would meet there (precise).
CInstance* Collision_InstancePlace(CInstance* self, double x, double y, int32_t obj);
// place_free: no solid instance would meet self there.
bool Collision_PlaceFree(CInstance* self, double x, double y);
// place_empty: no instance at all would meet self there.
bool Collision_PlaceEmpty(CInstance* self, double x, double y);
// place_meeting: obj -1 means self's own id, -2 other's id.
bool Collision_PlaceMeeting(CInstance* self, CInstance* other, double x, double y, int32_t obj);

// Without moving self: does self, where it is, meet a solid instance / an
// instance of obj (the same tests as above at self's current position).
bool Collision_MeetsSolid(CInstance* self);
bool Collision_MeetsObject(CInstance* self, int32_t obj);

// distance_to_point / distance_to_object from self's box (other for obj -2).
double Collision_DistanceToPoint(const CInstance* self, double x, double y);
double Collision_DistanceToObject(CInstance* self, CInstance* other, int32_t obj);
