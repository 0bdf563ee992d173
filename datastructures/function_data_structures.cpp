// function_data_structures.cpp: the ds_* builtin functions. Six id tables,
// one per kind, hold the containers; a new container takes the lowest free
// id of its kind. An id that names no container is reported as a non-fatal
// runtime error and the function does nothing else (its result stays the
// real 0). Reading a malformed text is reported the same way and leaves the
// container as it was.
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "code/code_error.h"
#include "code/code_function.h"
#include "datastructures/datastructures_builtins.h"
#include "datastructures/support_data_structures.h"

namespace {

constexpr const char* kNoStructure = "Data structure with index does not exist.";

template <typename T>
struct DSTable {
  std::vector<std::unique_ptr<T>> entries;

  int Add(std::unique_ptr<T> item) {
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i] == nullptr) {
        entries[i] = std::move(item);
        return static_cast<int>(i);
      }
    }
    entries.push_back(std::move(item));
    return static_cast<int>(entries.size() - 1);
  }

  // The container of a rounded id, or null after reporting the error.
  T* Get(const RValue& id) {
    int64_t i;
    if (TryRound(id.val, i) && i >= 0 && static_cast<uint64_t>(i) < entries.size() &&
        entries[static_cast<size_t>(i)] != nullptr)
      return entries[static_cast<size_t>(i)].get();
    Error_Show_Action(kNoStructure, false);
    return nullptr;
  }

  void Destroy(const RValue& id) {
    if (Get(id) != nullptr) entries[static_cast<size_t>(Round(id.val))].reset();
  }
};

struct Tables {
  DSTable<CDS_Stack> stacks;
  DSTable<CDS_Queue> queues;
  DSTable<CDS_List> lists;
  DSTable<CDS_Map> maps;
  DSTable<CDS_Priority> priorities;
  DSTable<CDS_Grid> grids;
};

Tables& DS() {
  static Tables tables;
  return tables;
}

// A position or size: rounded, NaN far outside every range, beyond 64 bits
// clamped.
int64_t Position(const RValue& v) {
  int64_t i;
  if (TryRound(v.val, i)) return i;
  if (std::isnan(v.val)) return std::numeric_limits<int64_t>::min();
  return v.val < 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
}

// The value as stored: a real keeps no leftover text.
RValue Stored(const RValue& v) { return v.IsString() ? v : RValue::Real(v.val); }

void SetBool(RValue& result, bool b) { result.val = b ? 1.0 : 0.0; }

void SetReal(RValue& result, double v) { result.val = v; }

void SetValue(RValue& result, RValue v) { result = std::move(v); }

void SetText(RValue& result, VString text) { result = RValue::String(std::move(text)); }

// Reads a text form, reporting a malformed one.
template <typename T>
void ReadText(T* ds, const RValue& text) {
  if (ds == nullptr) return;
  try {
    ds->ReadFromString(text.IsString() ? text.str : ValueText(text));
  } catch (const DSTextError& e) {
    Error_Show_Action(e.what(), false);
  } catch (const std::bad_alloc&) {
    Error_Show_Action("Not enough memory to read the data structure.", false);
  }
}

#define DS_FN(name) void name(RValue& result, CInstance*, CInstance*, int, RValue* a)

// ---- common ----

DS_FN(F_SetPrecision) { DS_SetPrecision(a[0].val); }

// ---- stacks ----

DS_FN(F_StackCreate) { SetReal(result, DS().stacks.Add(std::make_unique<CDS_Stack>())); }
DS_FN(F_StackDestroy) { DS().stacks.Destroy(a[0]); }
DS_FN(F_StackClear) {
  if (auto* s = DS().stacks.Get(a[0])) s->Clear();
}
DS_FN(F_StackCopy) {
  auto* s = DS().stacks.Get(a[0]);
  auto* source = s != nullptr ? DS().stacks.Get(a[1]) : nullptr;
  if (source != nullptr) s->Assign(source);
}
DS_FN(F_StackSize) {
  if (auto* s = DS().stacks.Get(a[0])) SetReal(result, s->Size());
}
DS_FN(F_StackEmpty) {
  if (auto* s = DS().stacks.Get(a[0])) SetBool(result, s->Empty());
}
DS_FN(F_StackPush) {
  if (auto* s = DS().stacks.Get(a[0])) s->Push(Stored(a[1]));
}
DS_FN(F_StackPop) {
  if (auto* s = DS().stacks.Get(a[0])) SetValue(result, s->Pop());
}
DS_FN(F_StackTop) {
  if (auto* s = DS().stacks.Get(a[0])) SetValue(result, s->Top());
}
DS_FN(F_StackWrite) {
  if (auto* s = DS().stacks.Get(a[0])) SetText(result, s->WriteToString());
}
DS_FN(F_StackRead) { ReadText(DS().stacks.Get(a[0]), a[1]); }

// ---- queues ----

DS_FN(F_QueueCreate) { SetReal(result, DS().queues.Add(std::make_unique<CDS_Queue>())); }
DS_FN(F_QueueDestroy) { DS().queues.Destroy(a[0]); }
DS_FN(F_QueueClear) {
  if (auto* q = DS().queues.Get(a[0])) q->Clear();
}
DS_FN(F_QueueCopy) {
  auto* q = DS().queues.Get(a[0]);
  auto* source = q != nullptr ? DS().queues.Get(a[1]) : nullptr;
  if (source != nullptr) q->Assign(source);
}
DS_FN(F_QueueSize) {
  if (auto* q = DS().queues.Get(a[0])) SetReal(result, q->Size());
}
DS_FN(F_QueueEmpty) {
  if (auto* q = DS().queues.Get(a[0])) SetBool(result, q->Empty());
}
DS_FN(F_QueueEnqueue) {
  if (auto* q = DS().queues.Get(a[0])) q->Enqueue(Stored(a[1]));
}
DS_FN(F_QueueDequeue) {
  if (auto* q = DS().queues.Get(a[0])) SetValue(result, q->Dequeue());
}
DS_FN(F_QueueHead) {
  if (auto* q = DS().queues.Get(a[0])) SetValue(result, q->Head());
}
DS_FN(F_QueueTail) {
  if (auto* q = DS().queues.Get(a[0])) SetValue(result, q->Tail());
}
DS_FN(F_QueueWrite) {
  if (auto* q = DS().queues.Get(a[0])) SetText(result, q->WriteToString());
}
DS_FN(F_QueueRead) { ReadText(DS().queues.Get(a[0]), a[1]); }

// ---- lists ----

DS_FN(F_ListCreate) { SetReal(result, DS().lists.Add(std::make_unique<CDS_List>())); }
DS_FN(F_ListDestroy) { DS().lists.Destroy(a[0]); }
DS_FN(F_ListClear) {
  if (auto* l = DS().lists.Get(a[0])) l->Clear();
}
DS_FN(F_ListCopy) {
  auto* l = DS().lists.Get(a[0]);
  auto* source = l != nullptr ? DS().lists.Get(a[1]) : nullptr;
  if (source != nullptr) l->Assign(source);
}
DS_FN(F_ListSize) {
  if (auto* l = DS().lists.Get(a[0])) SetReal(result, l->Size());
}
DS_FN(F_ListEmpty) {
  if (auto* l = DS().lists.Get(a[0])) SetBool(result, l->Empty());
}
DS_FN(F_ListAdd) {
  if (auto* l = DS().lists.Get(a[0])) l->Add(Stored(a[1]));
}
DS_FN(F_ListInsert) {
  if (auto* l = DS().lists.Get(a[0])) l->Insert(Position(a[1]), Stored(a[2]));
}
DS_FN(F_ListReplace) {
  if (auto* l = DS().lists.Get(a[0])) l->Replace(Position(a[1]), Stored(a[2]));
}
DS_FN(F_ListDelete) {
  if (auto* l = DS().lists.Get(a[0])) l->Delete(Position(a[1]));
}
DS_FN(F_ListFindIndex) {
  if (auto* l = DS().lists.Get(a[0])) SetReal(result, l->Find(a[1]));
}
DS_FN(F_ListFindValue) {
  if (auto* l = DS().lists.Get(a[0])) SetValue(result, l->GetValue(Position(a[1])));
}
DS_FN(F_ListSort) {
  if (auto* l = DS().lists.Get(a[0])) l->Sort(IsTrue(a[1].val));
}
DS_FN(F_ListShuffle) {
  if (auto* l = DS().lists.Get(a[0])) l->Shuffle();
}
DS_FN(F_ListWrite) {
  if (auto* l = DS().lists.Get(a[0])) SetText(result, l->WriteToString());
}
DS_FN(F_ListRead) { ReadText(DS().lists.Get(a[0]), a[1]); }

// ---- maps ----

DS_FN(F_MapCreate) { SetReal(result, DS().maps.Add(std::make_unique<CDS_Map>())); }
DS_FN(F_MapDestroy) { DS().maps.Destroy(a[0]); }
DS_FN(F_MapClear) {
  if (auto* m = DS().maps.Get(a[0])) m->Clear();
}
DS_FN(F_MapCopy) {
  auto* m = DS().maps.Get(a[0]);
  auto* source = m != nullptr ? DS().maps.Get(a[1]) : nullptr;
  if (source != nullptr) m->Assign(source);
}
DS_FN(F_MapSize) {
  if (auto* m = DS().maps.Get(a[0])) SetReal(result, m->Size());
}
DS_FN(F_MapEmpty) {
  if (auto* m = DS().maps.Get(a[0])) SetBool(result, m->Empty());
}
DS_FN(F_MapAdd) {
  if (auto* m = DS().maps.Get(a[0])) m->Add(Stored(a[1]), Stored(a[2]));
}
DS_FN(F_MapReplace) {
  if (auto* m = DS().maps.Get(a[0])) m->Replace(a[1], Stored(a[2]));
}
DS_FN(F_MapDelete) {
  if (auto* m = DS().maps.Get(a[0])) m->Delete(a[1]);
}
DS_FN(F_MapExists) {
  if (auto* m = DS().maps.Get(a[0])) SetBool(result, m->Exists(a[1]));
}
DS_FN(F_MapFindValue) {
  if (auto* m = DS().maps.Get(a[0])) SetValue(result, m->Find(a[1]));
}
DS_FN(F_MapFindPrevious) {
  if (auto* m = DS().maps.Get(a[0])) SetValue(result, m->FindPrevious(a[1]));
}
DS_FN(F_MapFindNext) {
  if (auto* m = DS().maps.Get(a[0])) SetValue(result, m->FindNext(a[1]));
}
DS_FN(F_MapFindFirst) {
  if (auto* m = DS().maps.Get(a[0])) SetValue(result, m->FindFirst());
}
DS_FN(F_MapFindLast) {
  if (auto* m = DS().maps.Get(a[0])) SetValue(result, m->FindLast());
}
DS_FN(F_MapWrite) {
  if (auto* m = DS().maps.Get(a[0])) SetText(result, m->WriteToString());
}
DS_FN(F_MapRead) { ReadText(DS().maps.Get(a[0]), a[1]); }

// ---- priority queues ----

DS_FN(F_PriorityCreate) { SetReal(result, DS().priorities.Add(std::make_unique<CDS_Priority>())); }
DS_FN(F_PriorityDestroy) { DS().priorities.Destroy(a[0]); }
DS_FN(F_PriorityClear) {
  if (auto* p = DS().priorities.Get(a[0])) p->Clear();
}
DS_FN(F_PriorityCopy) {
  auto* p = DS().priorities.Get(a[0]);
  auto* source = p != nullptr ? DS().priorities.Get(a[1]) : nullptr;
  if (source != nullptr) p->Assign(source);
}
DS_FN(F_PrioritySize) {
  if (auto* p = DS().priorities.Get(a[0])) SetReal(result, p->Size());
}
DS_FN(F_PriorityEmpty) {
  if (auto* p = DS().priorities.Get(a[0])) SetBool(result, p->Empty());
}
DS_FN(F_PriorityAdd) {
  if (auto* p = DS().priorities.Get(a[0])) p->Add(Stored(a[1]), Stored(a[2]));
}
DS_FN(F_PriorityChange) {
  if (auto* p = DS().priorities.Get(a[0])) p->Change(a[1], Stored(a[2]));
}
DS_FN(F_PriorityFind) {
  if (auto* p = DS().priorities.Get(a[0])) SetValue(result, p->Find(a[1]));
}
DS_FN(F_PriorityDelete) {
  if (auto* p = DS().priorities.Get(a[0])) p->Delete(a[1]);
}
DS_FN(F_PriorityDeleteMin) {
  if (auto* p = DS().priorities.Get(a[0])) SetValue(result, p->DeleteMin());
}
DS_FN(F_PriorityFindMin) {
  if (auto* p = DS().priorities.Get(a[0])) SetValue(result, p->FindMin());
}
DS_FN(F_PriorityDeleteMax) {
  if (auto* p = DS().priorities.Get(a[0])) SetValue(result, p->DeleteMax());
}
DS_FN(F_PriorityFindMax) {
  if (auto* p = DS().priorities.Get(a[0])) SetValue(result, p->FindMax());
}
DS_FN(F_PriorityWrite) {
  if (auto* p = DS().priorities.Get(a[0])) SetText(result, p->WriteToString());
}
DS_FN(F_PriorityRead) { ReadText(DS().priorities.Get(a[0]), a[1]); }

// ---- grids ----

constexpr const char* kGridTooLarge = "Data structure grid is too large.";

DS_FN(F_GridCreate) {
  auto grid = std::make_unique<CDS_Grid>();
  if (!grid->Create(Position(a[0]), Position(a[1]))) {
    Error_Show_Action(kGridTooLarge, false);
    SetReal(result, -1);
    return;
  }
  SetReal(result, DS().grids.Add(std::move(grid)));
}
DS_FN(F_GridDestroy) { DS().grids.Destroy(a[0]); }
DS_FN(F_GridCopy) {
  auto* g = DS().grids.Get(a[0]);
  auto* source = g != nullptr ? DS().grids.Get(a[1]) : nullptr;
  if (source != nullptr) g->Assign(source);
}
DS_FN(F_GridResize) {
  auto* g = DS().grids.Get(a[0]);
  if (g != nullptr && !g->Resize(Position(a[1]), Position(a[2]))) Error_Show_Action(kGridTooLarge, false);
}
DS_FN(F_GridWidth) {
  if (auto* g = DS().grids.Get(a[0])) SetReal(result, g->Width());
}
DS_FN(F_GridHeight) {
  if (auto* g = DS().grids.Get(a[0])) SetReal(result, g->Height());
}
DS_FN(F_GridClear) {
  if (auto* g = DS().grids.Get(a[0])) g->Clear(Stored(a[1]));
}

template <int Op>
DS_FN(F_GridCell) {
  if (auto* g = DS().grids.Get(a[0])) g->Cell_Operation(Op, Position(a[1]), Position(a[2]), Stored(a[3]));
}
template <int Op>
DS_FN(F_GridRegion) {
  if (auto* g = DS().grids.Get(a[0]))
    g->Region_Operation(Op, Position(a[1]), Position(a[2]), Position(a[3]), Position(a[4]), Stored(a[5]));
}
template <int Op>
DS_FN(F_GridDisk) {
  if (auto* g = DS().grids.Get(a[0])) g->Disk_Operation(Op, a[1].val, a[2].val, a[3].val, Stored(a[4]));
}
template <int Op>
DS_FN(F_GridGrid) {
  auto* g = DS().grids.Get(a[0]);
  auto* source = g != nullptr ? DS().grids.Get(a[1]) : nullptr;
  if (source == nullptr) return;
  g->Grid_Operation(Op, *source, Position(a[2]), Position(a[3]), Position(a[4]), Position(a[5]),
                    Position(a[6]), Position(a[7]));
}

DS_FN(F_GridGet) {
  if (auto* g = DS().grids.Get(a[0])) SetValue(result, g->Get_Cell(Position(a[1]), Position(a[2])));
}

#define DS_GRID_REGION_STAT(name, method)                                                      \
  DS_FN(name) {                                                                                \
    if (auto* g = DS().grids.Get(a[0]))                                                        \
      SetReal(result, g->method(Position(a[1]), Position(a[2]), Position(a[3]), Position(a[4]))); \
  }
DS_GRID_REGION_STAT(F_GridGetSum, Get_Sum)
DS_GRID_REGION_STAT(F_GridGetMax, Get_Max)
DS_GRID_REGION_STAT(F_GridGetMin, Get_Min)
DS_GRID_REGION_STAT(F_GridGetMean, Get_Mean)

#define DS_GRID_DISK_STAT(name, method)                                             \
  DS_FN(name) {                                                                     \
    if (auto* g = DS().grids.Get(a[0])) SetReal(result, g->method(a[1].val, a[2].val, a[3].val)); \
  }
DS_GRID_DISK_STAT(F_GridGetDiskSum, Get_Disk_Sum)
DS_GRID_DISK_STAT(F_GridGetDiskMax, Get_Disk_Max)
DS_GRID_DISK_STAT(F_GridGetDiskMin, Get_Disk_Min)
DS_GRID_DISK_STAT(F_GridGetDiskMean, Get_Disk_Mean)

// What a search returns: 0 found flag, 1 x, 2 y.
double MatchPart(const CDS_Grid::Match& m, int part) {
  if (!m.found) return 0.0;
  return part == 0 ? 1.0 : (part == 1 ? m.x : m.y);
}

template <int Part>
DS_FN(F_GridValue) {
  if (auto* g = DS().grids.Get(a[0]))
    SetReal(result, MatchPart(g->Value_Find(Position(a[1]), Position(a[2]), Position(a[3]), Position(a[4]), a[5]), Part));
}
template <int Part>
DS_FN(F_GridValueDisk) {
  if (auto* g = DS().grids.Get(a[0]))
    SetReal(result, MatchPart(g->Value_Disk_Find(a[1].val, a[2].val, a[3].val, a[4]), Part));
}

DS_FN(F_GridShuffle) {
  if (auto* g = DS().grids.Get(a[0])) g->Shuffle();
}
DS_FN(F_GridWrite) {
  if (auto* g = DS().grids.Get(a[0])) SetText(result, g->WriteToString());
}
DS_FN(F_GridRead) { ReadText(DS().grids.Get(a[0]), a[1]); }

#undef DS_FN

struct Entry {
  const char* name;
  BuiltinFunction routine;
  int argc;
};

const Entry kFunctions[] = {
    {"ds_set_precision", F_SetPrecision, 1},
    {"ds_stack_create", F_StackCreate, 0},
    {"ds_stack_destroy", F_StackDestroy, 1},
    {"ds_stack_clear", F_StackClear, 1},
    {"ds_stack_copy", F_StackCopy, 2},
    {"ds_stack_size", F_StackSize, 1},
    {"ds_stack_empty", F_StackEmpty, 1},
    {"ds_stack_push", F_StackPush, 2},
    {"ds_stack_pop", F_StackPop, 1},
    {"ds_stack_top", F_StackTop, 1},
    {"ds_stack_write", F_StackWrite, 1},
    {"ds_stack_read", F_StackRead, 2},
    {"ds_queue_create", F_QueueCreate, 0},
    {"ds_queue_destroy", F_QueueDestroy, 1},
    {"ds_queue_clear", F_QueueClear, 1},
    {"ds_queue_copy", F_QueueCopy, 2},
    {"ds_queue_size", F_QueueSize, 1},
    {"ds_queue_empty", F_QueueEmpty, 1},
    {"ds_queue_enqueue", F_QueueEnqueue, 2},
    {"ds_queue_dequeue", F_QueueDequeue, 1},
    {"ds_queue_head", F_QueueHead, 1},
    {"ds_queue_tail", F_QueueTail, 1},
    {"ds_queue_write", F_QueueWrite, 1},
    {"ds_queue_read", F_QueueRead, 2},
    {"ds_list_create", F_ListCreate, 0},
    {"ds_list_destroy", F_ListDestroy, 1},
    {"ds_list_clear", F_ListClear, 1},
    {"ds_list_copy", F_ListCopy, 2},
    {"ds_list_size", F_ListSize, 1},
    {"ds_list_empty", F_ListEmpty, 1},
    {"ds_list_add", F_ListAdd, 2},
    {"ds_list_insert", F_ListInsert, 3},
    {"ds_list_replace", F_ListReplace, 3},
    {"ds_list_delete", F_ListDelete, 2},
    {"ds_list_find_index", F_ListFindIndex, 2},
    {"ds_list_find_value", F_ListFindValue, 2},
    {"ds_list_sort", F_ListSort, 2},
    {"ds_list_shuffle", F_ListShuffle, 1},
    {"ds_list_write", F_ListWrite, 1},
    {"ds_list_read", F_ListRead, 2},
    {"ds_map_create", F_MapCreate, 0},
    {"ds_map_destroy", F_MapDestroy, 1},
    {"ds_map_clear", F_MapClear, 1},
    {"ds_map_copy", F_MapCopy, 2},
    {"ds_map_size", F_MapSize, 1},
    {"ds_map_empty", F_MapEmpty, 1},
    {"ds_map_add", F_MapAdd, 3},
    {"ds_map_replace", F_MapReplace, 3},
    {"ds_map_delete", F_MapDelete, 2},
    {"ds_map_exists", F_MapExists, 2},
    {"ds_map_find_value", F_MapFindValue, 2},
    {"ds_map_find_previous", F_MapFindPrevious, 2},
    {"ds_map_find_next", F_MapFindNext, 2},
    {"ds_map_find_first", F_MapFindFirst, 1},
    {"ds_map_find_last", F_MapFindLast, 1},
    {"ds_map_write", F_MapWrite, 1},
    {"ds_map_read", F_MapRead, 2},
    {"ds_priority_create", F_PriorityCreate, 0},
    {"ds_priority_destroy", F_PriorityDestroy, 1},
    {"ds_priority_clear", F_PriorityClear, 1},
    {"ds_priority_copy", F_PriorityCopy, 2},
    {"ds_priority_size", F_PrioritySize, 1},
    {"ds_priority_empty", F_PriorityEmpty, 1},
    {"ds_priority_add", F_PriorityAdd, 3},
    {"ds_priority_change_priority", F_PriorityChange, 3},
    {"ds_priority_find_priority", F_PriorityFind, 2},
    {"ds_priority_delete_value", F_PriorityDelete, 2},
    {"ds_priority_delete_min", F_PriorityDeleteMin, 1},
    {"ds_priority_find_min", F_PriorityFindMin, 1},
    {"ds_priority_delete_max", F_PriorityDeleteMax, 1},
    {"ds_priority_find_max", F_PriorityFindMax, 1},
    {"ds_priority_write", F_PriorityWrite, 1},
    {"ds_priority_read", F_PriorityRead, 2},
    {"ds_grid_create", F_GridCreate, 2},
    {"ds_grid_destroy", F_GridDestroy, 1},
    {"ds_grid_copy", F_GridCopy, 2},
    {"ds_grid_resize", F_GridResize, 3},
    {"ds_grid_width", F_GridWidth, 1},
    {"ds_grid_height", F_GridHeight, 1},
    {"ds_grid_clear", F_GridClear, 2},
    {"ds_grid_set", F_GridCell<DS_OP_SET>, 4},
    {"ds_grid_add", F_GridCell<DS_OP_ADD>, 4},
    {"ds_grid_multiply", F_GridCell<DS_OP_MULTIPLY>, 4},
    {"ds_grid_set_region", F_GridRegion<DS_OP_SET>, 6},
    {"ds_grid_add_region", F_GridRegion<DS_OP_ADD>, 6},
    {"ds_grid_multiply_region", F_GridRegion<DS_OP_MULTIPLY>, 6},
    {"ds_grid_set_disk", F_GridDisk<DS_OP_SET>, 5},
    {"ds_grid_add_disk", F_GridDisk<DS_OP_ADD>, 5},
    {"ds_grid_multiply_disk", F_GridDisk<DS_OP_MULTIPLY>, 5},
    {"ds_grid_set_grid_region", F_GridGrid<DS_OP_SET>, 8},
    {"ds_grid_add_grid_region", F_GridGrid<DS_OP_ADD>, 8},
    {"ds_grid_multiply_grid_region", F_GridGrid<DS_OP_MULTIPLY>, 8},
    {"ds_grid_get", F_GridGet, 3},
    {"ds_grid_get_sum", F_GridGetSum, 5},
    {"ds_grid_get_max", F_GridGetMax, 5},
    {"ds_grid_get_min", F_GridGetMin, 5},
    {"ds_grid_get_mean", F_GridGetMean, 5},
    {"ds_grid_get_disk_sum", F_GridGetDiskSum, 4},
    {"ds_grid_get_disk_max", F_GridGetDiskMax, 4},
    {"ds_grid_get_disk_min", F_GridGetDiskMin, 4},
    {"ds_grid_get_disk_mean", F_GridGetDiskMean, 4},
    {"ds_grid_value_exists", F_GridValue<0>, 6},
    {"ds_grid_value_x", F_GridValue<1>, 6},
    {"ds_grid_value_y", F_GridValue<2>, 6},
    {"ds_grid_value_disk_exists", F_GridValueDisk<0>, 5},
    {"ds_grid_value_disk_x", F_GridValueDisk<1>, 5},
    {"ds_grid_value_disk_y", F_GridValueDisk<2>, 5},
    {"ds_grid_shuffle", F_GridShuffle, 1},
    {"ds_grid_write", F_GridWrite, 1},
    {"ds_grid_read", F_GridRead, 2},
};

}  // namespace

void Datastructures_RegisterBuiltins() {
  if (Function_Find("ds_set_precision") >= 0) return;
  for (const Entry& e : kFunctions) Function_Add(e.name, e.routine, e.argc);
}

void Datastructures_Reset() {
  DS() = Tables();
  DS_SetPrecision(0.00000001);
}
