// path_main.cpp: the run-time path table over the game data's path table.
#include "motion/path_main.h"

#include <memory>
#include <string>

#include "runner/game_data.h"

namespace {

VString NewPathName(int32_t index) { return u"__newpath" + FromAscii(std::to_string(index).c_str()); }

int32_t AppendNamed(std::unique_ptr<CPath> path) {
  ResourceTable<CPath>& table = Game().paths;
  const int32_t index = table.Add(std::move(path), VString());
  table.names[static_cast<size_t>(index)] = NewPathName(index);
  return index;
}

}  // namespace

CPath* Path_Get(int32_t ind) { return Game().paths.Get(ind); }
bool Path_Exists(int32_t ind) { return Game().paths.Exists(ind); }
VString Path_Name(int32_t ind) { return Game().paths.Name(ind); }
int32_t Path_Find(const VString& name) { return Game().paths.Find(name); }

int32_t Path_Add() { return AppendNamed(std::make_unique<CPath>()); }

int32_t Path_Duplicate(int32_t ind) {
  const CPath* source = Path_Get(ind);
  if (source == nullptr) return -1;
  auto copy = std::make_unique<CPath>();
  copy->Assign(*source);
  return AppendNamed(std::move(copy));
}

bool Path_Assign(int32_t ind, int32_t source) {
  ResourceTable<CPath>& table = Game().paths;
  const CPath* from = Path_Get(source);
  if (from == nullptr || ind < 0 || ind >= table.Count()) return false;
  std::unique_ptr<CPath>& slot = table.items[static_cast<size_t>(ind)];
  if (!slot) {
    slot = std::make_unique<CPath>();
    table.names[static_cast<size_t>(ind)] = NewPathName(ind);
  }
  slot->Assign(*from);
  return true;
}

bool Path_Delete(int32_t ind) { return Game().paths.Delete(ind); }
