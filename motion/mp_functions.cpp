// mp_functions.cpp: the motion-planning functions of game code: the grid
// functions (mp_grid_*), the linear and potential steppers and paths
// (mp_linear_*, mp_potential_*) and the potential settings. Grid functions
// on an index without a grid do nothing; path functions on a missing path
// report it and do nothing.
#include "motion/mp_functions.h"

#include "code/code_error.h"
#include "code/code_function.h"
#include "motion/collision.h"
#include "motion/mp_grid.h"
#include "motion/mp_potential.h"
#include "motion/path_main.h"
#include "common/value.h"
#include "world/instance_class.h"
#include "world/instance_list.h"

namespace {

using Args = RValue*;
constexpr int32_t kSelf = -1, kOther = -2, kAll = -3;

int32_t Int(const RValue& v) { return ToInt32(v.val); }
void Real(RValue& out, double v) { out = RValue::Real(v); }
CGrid* GridArg(const RValue& v) { return Grid_Get(Int(v)); }

// --- grids ---------------------------------------------------------------------------

void F_GridCreate(RValue& result, CInstance*, CInstance*, int, Args a) {
  Real(result, Grid_Create(Int(a[0]), Int(a[1]), Int(a[2]), Int(a[3]), Int(a[4]), Int(a[5])));
}
void F_GridDestroy(RValue&, CInstance*, CInstance*, int, Args a) { Grid_Destroy(Int(a[0])); }
void F_GridClearAll(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CGrid* g = GridArg(a[0])) g->ClearAll();
}
void F_GridClearCell(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CGrid* g = GridArg(a[0])) g->ClearCell(Int(a[1]), Int(a[2]));
}
void F_GridAddCell(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CGrid* g = GridArg(a[0])) g->AddCell(Int(a[1]), Int(a[2]));
}
void F_GridClearRectangle(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CGrid* g = GridArg(a[0])) g->ClearRectangle(Int(a[1]), Int(a[2]), Int(a[3]), Int(a[4]));
}
void F_GridAddRectangle(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CGrid* g = GridArg(a[0])) g->AddRectangle(Int(a[1]), Int(a[2]), Int(a[3]), Int(a[4]));
}

// Instances marked for destruction still count here.
void F_GridAddInstances(RValue&, CInstance* self, CInstance* other, int, Args a) {
  CGrid* g = GridArg(a[0]);
  if (g == nullptr) return;
  const int32_t obj = Int(a[1]);
  const bool prec = IsTrue(a[2].val);
  if (obj == kSelf || obj == kOther) return g->AddInstance(obj == kSelf ? self : other, prec);
  if (obj == kAll) {
    for (const auto& inst : Instance_Lists().active) g->AddInstance(inst.get(), prec);
    return;
  }
  if (obj >= kFirstInstanceId) {
    for (const auto& inst : Instance_Lists().active)
      if (inst->i_id == obj) return g->AddInstance(inst.get(), prec);
    return;
  }
  if (const InstanceRefList* list = Instance_ObjectListRecursive(obj))
    for (CInstance* inst : *list) g->AddInstance(inst, prec);
}

void F_GridPath(RValue& result, CInstance*, CInstance*, int, Args a) {
  CGrid* g = GridArg(a[0]);
  CPath* path = Path_Get(Int(a[1]));
  if (g == nullptr || path == nullptr) return;
  Real(result, g->FindPath(*path, a[2].val, a[3].val, a[4].val, a[5].val, IsTrue(a[6].val)) ? 1 : 0);
}

void F_GridDraw(RValue&, CInstance*, CInstance*, int, Args a) {
  if (CGrid* g = GridArg(a[0])) g->Draw();
}

// --- steppers ------------------------------------------------------------------------

RPlanner AllPlanner(CInstance* self, CInstance* other, const RValue& checkall) {
  return RPlanner{self, other, kAll, IsTrue(checkall.val)};
}
RPlanner ObjectPlanner(CInstance* self, CInstance* other, const RValue& obj) {
  return RPlanner{self, other, Int(obj), false};
}

template <bool (*Step)(const RPlanner&, double, double, double), bool Object>
void F_Step(RValue& result, CInstance* self, CInstance* other, int, Args a) {
  if (self == nullptr) return;
  const RPlanner p = Object ? ObjectPlanner(self, other, a[3]) : AllPlanner(self, other, a[3]);
  Real(result, Step(p, a[0].val, a[1].val, a[2].val) ? 1 : 0);
}

// The path argument of the path planners; reports a missing one.
CPath* PlannedPath(const RValue& v) {
  CPath* path = Path_Get(Int(v));
  if (path == nullptr) Error_Show_Action("Trying to assign to a non-existing path.", false);
  return path;
}

template <bool Object>
void F_LinearPath(RValue& result, CInstance* self, CInstance* other, int, Args a) {
  CPath* path = PlannedPath(a[0]);
  if (path == nullptr || self == nullptr) return;
  const RPlanner p = Object ? ObjectPlanner(self, other, a[4]) : AllPlanner(self, other, a[4]);
  Real(result, Mp_LinearPath(p, *path, a[1].val, a[2].val, a[3].val) ? 1 : 0);
}

template <bool Object>
void F_PotentialPath(RValue& result, CInstance* self, CInstance* other, int, Args a) {
  CPath* path = PlannedPath(a[0]);
  if (path == nullptr || self == nullptr) return;
  const RPlanner p = Object ? ObjectPlanner(self, other, a[5]) : AllPlanner(self, other, a[5]);
  Real(result, Mp_PotentialPath(p, *path, a[1].val, a[2].val, a[3].val, a[4].val) ? 1 : 0);
}

void F_PotentialSettings(RValue&, CInstance*, CInstance*, int, Args a) {
  Mp_SetPotentialSettings(a[0].val, a[1].val, a[2].val, IsTrue(a[3].val));
}

struct RMpFunction {
  const char* name;
  BuiltinFunction routine;
  int argc;
};

const RMpFunction kFunctions[] = {
    {"mp_grid_create", F_GridCreate, 6},
    {"mp_grid_destroy", F_GridDestroy, 1},
    {"mp_grid_clear_all", F_GridClearAll, 1},
    {"mp_grid_clear_cell", F_GridClearCell, 3},
    {"mp_grid_clear_rectangle", F_GridClearRectangle, 5},
    {"mp_grid_add_cell", F_GridAddCell, 3},
    {"mp_grid_add_rectangle", F_GridAddRectangle, 5},
    {"mp_grid_add_instances", F_GridAddInstances, 3},
    {"mp_grid_path", F_GridPath, 7},
    {"mp_grid_draw", F_GridDraw, 1},
    {"mp_linear_step", F_Step<Mp_LinearStep, false>, 4},
    {"mp_linear_step_object", F_Step<Mp_LinearStep, true>, 4},
    {"mp_linear_path", F_LinearPath<false>, 5},
    {"mp_linear_path_object", F_LinearPath<true>, 5},
    {"mp_potential_step", F_Step<Mp_PotentialStep, false>, 4},
    {"mp_potential_step_object", F_Step<Mp_PotentialStep, true>, 4},
    {"mp_potential_path", F_PotentialPath<false>, 6},
    {"mp_potential_path_object", F_PotentialPath<true>, 6},
    {"mp_potential_settings", F_PotentialSettings, 4},
};

}  // namespace

void Mp_RegisterFunctions() {
  for (const RMpFunction& f : kFunctions) Function_Add(f.name, f.routine, f.argc);
}
