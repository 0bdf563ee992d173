// path_functions.cpp: the path functions of game code (path_start ...
// path_shift) and the instance path variables that need path logic
// (path_position, path_positionprevious, path_speed). A query on a missing
// path gives -1; an edit of a missing path does nothing.
#include "motion/path_functions.h"

#include <algorithm>

#include "code/builtin_variables.h"
#include "code/code_error.h"
#include "code/code_function.h"
#include "motion/path_follow.h"
#include "motion/path_main.h"
#include "world/instance_class.h"

namespace {

using Args = RValue*;

int32_t Index(const RValue& v) { return ToInt32(v.val); }
void Real(RValue& out, double v) { out = RValue::Real(v); }
void Report(const char* message) { Error_Show_Action(message, false); }

// --- following -----------------------------------------------------------------------

void F_PathStart(RValue&, CInstance* self, CInstance*, int, Args a) {
  if (self == nullptr) return;
  Assign_Path(*self, Index(a[0]), a[1].val, 1.0, 0.0, !IsTrue(a[3].val), Index(a[2]));
}

void F_PathEnd(RValue&, CInstance* self, CInstance*, int, Args) {
  if (self != nullptr) Assign_Path(*self, -1, 0.0, 1.0, 0.0, true, 0);
}

// --- queries -------------------------------------------------------------------------

// A query of one path: -1 when it is missing.
template <double (*Query)(const CPath&)>
void F_PathQuery(RValue& result, CInstance*, CInstance*, int, Args a) {
  const CPath* path = Path_Get(Index(a[0]));
  Real(result, path ? Query(*path) : -1.0);
}
double Length(const CPath& p) { return p.i_length; }
double Kind(const CPath& p) { return p.i_kind; }
double Closed(const CPath& p) { return p.i_closed ? 1.0 : 0.0; }
double Precision(const CPath& p) { return p.i_precision; }
double Number(const CPath& p) { return p.Count(); }

void F_PathExists(RValue& result, CInstance*, CInstance*, int, Args a) {
  Real(result, Path_Exists(Index(a[0])) ? 1.0 : 0.0);
}

void F_PathName(RValue& result, CInstance*, CInstance*, int, Args a) {
  result = RValue::String(Path_Name(Index(a[0])));
}

// A waypoint outside the path reads as x 0, y 0, speed 1.
template <double RWayPoint::*Field>
void F_PathPoint(RValue& result, CInstance*, CInstance*, int, Args a) {
  const CPath* path = Path_Get(Index(a[0]));
  if (path == nullptr) return Real(result, -1.0);
  const int32_t n = Index(a[1]);
  static const RWayPoint kOutside{0.0, 0.0, 1.0};
  const RWayPoint& p = n >= 0 && n < path->Count() ? path->i_points[static_cast<size_t>(n)] : kOutside;
  Real(result, p.*Field);
}

template <double (CPath::*Reader)(double) const>
void F_PathAt(RValue& result, CInstance*, CInstance*, int, Args a) {
  const CPath* path = Path_Get(Index(a[0]));
  Real(result, path ? (path->*Reader)(a[1].val) : -1.0);
}

// --- settings and points -------------------------------------------------------------

void F_PathSetKind(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->SetKind(Index(a[1]));
}
void F_PathSetClosed(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->SetClosed(IsTrue(a[1].val));
}
void F_PathSetPrecision(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->SetPrecision(Index(a[1]));
}
void F_PathAddPoint(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->AddPoint(a[1].val, a[2].val, a[3].val);
}
void F_PathInsertPoint(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->InsertPoint(Index(a[1]), a[2].val, a[3].val, a[4].val);
}
void F_PathChangePoint(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->ChangePoint(Index(a[1]), a[2].val, a[3].val, a[4].val);
}
void F_PathDeletePoint(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->DeletePoint(Index(a[1]));
}

template <void (CPath::*Transform)()>
void F_PathTransform(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) (path->*Transform)();
}
void F_PathRotate(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->Rotate(a[1].val);
}
void F_PathScale(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->Scale(a[1].val, a[2].val);
}
void F_PathShift(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CPath* path = Path_Get(Index(a[0]))) path->Shift(a[1].val, a[2].val);
}

// --- the table -----------------------------------------------------------------------

void F_PathAdd(RValue& result, CInstance*, CInstance*, int, Args) { Real(result, Path_Add()); }

void F_PathDuplicate(RValue& result, CInstance*, CInstance*, int, Args a) {
  const int32_t copy = Path_Duplicate(Index(a[0]));
  if (copy < 0) Report("Trying to duplicate non-existing path.");
  Real(result, copy < 0 ? 0 : copy);
}

void F_PathAssign(RValue&, CInstance*, CInstance*, int, Args a) {
  if (!Path_Assign(Index(a[0]), Index(a[1]))) Report("Error assigning a path.");
}

void F_PathAppend(RValue&, CInstance*, CInstance*, int, Args a) {
  CPath* path = Path_Get(Index(a[0]));
  const CPath* added = Path_Get(Index(a[1]));
  if (path == nullptr) return Report("Appending to non-existing path.");
  if (added == nullptr) return Report("Appending a non-existing path.");
  path->Append(*added);
}

void F_PathDelete(RValue& result, CInstance*, CInstance*, int, Args a) {
  const bool deleted = Path_Delete(Index(a[0]));
  if (!deleted) Report("Trying to delete non-existing path.");
  Real(result, deleted ? 1 : 0);
}

// --- instance variables --------------------------------------------------------------

template <double CInstance::*Field>
void GetPathField(CInstance* self, int, RValue& out) {
  Real(out, self ? self->*Field : 0.0);
}
template <double CInstance::*Field>
bool SetPathFraction(CInstance* self, int, const RValue& v) {
  if (self) self->*Field = std::clamp(v.val, 0.0, 1.0);
  return true;
}
bool SetPathSpeed(CInstance* self, int, const RValue& v) {
  if (self) self->i_pathspeed = v.val;
  return true;
}

struct RPathFunction {
  const char* name;
  BuiltinFunction routine;
  int argc;
};

const RPathFunction kFunctions[] = {
    {"path_start", F_PathStart, 4},
    {"path_end", F_PathEnd, 0},
    {"path_exists", F_PathExists, 1},
    {"path_name", F_PathName, 1},
    {"path_get_name", F_PathName, 1},
    {"path_get_length", F_PathQuery<Length>, 1},
    {"path_get_kind", F_PathQuery<Kind>, 1},
    {"path_get_closed", F_PathQuery<Closed>, 1},
    {"path_get_precision", F_PathQuery<Precision>, 1},
    {"path_get_number", F_PathQuery<Number>, 1},
    {"path_get_point_x", F_PathPoint<&RWayPoint::x>, 2},
    {"path_get_point_y", F_PathPoint<&RWayPoint::y>, 2},
    {"path_get_point_speed", F_PathPoint<&RWayPoint::speed>, 2},
    {"path_get_x", F_PathAt<&CPath::XPosition>, 2},
    {"path_get_y", F_PathAt<&CPath::YPosition>, 2},
    {"path_get_speed", F_PathAt<&CPath::Speed>, 2},
    {"path_set_kind", F_PathSetKind, 2},
    {"path_set_closed", F_PathSetClosed, 2},
    {"path_set_precision", F_PathSetPrecision, 2},
    {"path_add", F_PathAdd, 0},
    {"path_duplicate", F_PathDuplicate, 1},
    {"path_assign", F_PathAssign, 2},
    {"path_append", F_PathAppend, 2},
    {"path_delete", F_PathDelete, 1},
    {"path_add_point", F_PathAddPoint, 4},
    {"path_insert_point", F_PathInsertPoint, 5},
    {"path_change_point", F_PathChangePoint, 5},
    {"path_delete_point", F_PathDeletePoint, 2},
    {"path_clear_points", F_PathTransform<&CPath::Clear>, 1},
    {"path_reverse", F_PathTransform<&CPath::Reverse>, 1},
    {"path_mirror", F_PathTransform<&CPath::Mirror>, 1},
    {"path_flip", F_PathTransform<&CPath::Flip>, 1},
    {"path_rotate", F_PathRotate, 2},
    {"path_scale", F_PathScale, 3},
    {"path_shift", F_PathShift, 3},
};

}  // namespace

void Path_RegisterFunctions() {
  for (const RPathFunction& f : kFunctions) Function_Add(f.name, f.routine, f.argc);
}

void Path_BindVariables() {
  Variable_BuiltinBind("path_position", GetPathField<&CInstance::i_pathposition>,
                       SetPathFraction<&CInstance::i_pathposition>);
  Variable_BuiltinBind("path_positionprevious", GetPathField<&CInstance::i_pathpositionprevious>,
                       SetPathFraction<&CInstance::i_pathpositionprevious>);
  Variable_BuiltinBind("path_speed", GetPathField<&CInstance::i_pathspeed>, SetPathSpeed);
}
