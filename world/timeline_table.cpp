// timeline_table.cpp: time line table changes that are safe while moments
// run (see timeline_table.h).
#include "world/timeline_table.h"

#include <memory>
#include <string>
#include <vector>

#include "runner/game_data.h"

namespace {

int g_running_moments = 0;
std::vector<std::unique_ptr<CTimeLine>> g_retired;

// Moves the table's time line aside while moments run; the slot is left
// empty.
std::unique_ptr<CTimeLine> Detach(int32_t index) {
  return std::move(Game().timelines.items[static_cast<size_t>(index)]);
}

}  // namespace

TimeLineRunScope::TimeLineRunScope() { ++g_running_moments; }

TimeLineRunScope::~TimeLineRunScope() {
  if (--g_running_moments == 0) g_retired.clear();
}

CTimeLine* TimeLine_Edit(int32_t index) {
  CTimeLine* line = Game().timelines.Get(index);
  if (line == nullptr || g_running_moments == 0) return line;
  auto copy = std::make_unique<CTimeLine>(*line);
  g_retired.push_back(Detach(index));
  line = copy.get();
  Game().timelines.items[static_cast<size_t>(index)] = std::move(copy);
  return line;
}

int32_t TimeLine_Add() {
  ResourceTable<CTimeLine>& table = Game().timelines;
  const int32_t index = table.Count();
  return table.Add(std::make_unique<CTimeLine>(),
                   FromUtf8("__newtimeline" + std::to_string(index)));
}

bool TimeLine_Delete(int32_t index) {
  ResourceTable<CTimeLine>& table = Game().timelines;
  if (!table.Exists(index)) return false;
  if (g_running_moments > 0) g_retired.push_back(Detach(index));
  return table.Delete(index);
}
