// bench_save.cpp: saving and loading a whole game. The room holds 10,000
// instances of one object, each with 10 variables (eight reals and two
// short strings). Variants:
//   save_file: the save operation: the image built in memory and written
//     crash-safe (temporary file, fsync, rename, fsync of the directory)
//   load_file: the load operation: file read, every record parsed into a
//     new state and put in effect
//   write_image / read_image: the same without the file system
// Times are wall times (the file variants include the waits for the disk);
// bytes_per_second is the image size over the wall time of one operation
// (Google Benchmark's M is 2^20 bytes).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "code/code_variable.h"
#include "common/support_stream.h"
#include "world/save_game.h"

namespace {

constexpr int kInstances = 10000;
constexpr int kVariables = 10;

void BuildGame() {
  benchsupport::RegisterBuiltins();
  benchsupport::ResetGame();
  Game().game_id = 5150;
  Game().objects.Add(std::make_unique<CObject>(), u"thing");
  auto room = std::make_unique<CRoom>();
  for (int i = 0; i < kInstances; ++i) {
    RRoomInstance placed;
    placed.x = i % 640;
    placed.y = i / 640;
    placed.id = 100001 + i;
    room->r_instances.push_back(placed);
  }
  Game().rooms.Add(std::move(room), u"crowd");
  Game().room_order = {0};
  benchsupport::EnterFirstRoom();
  int32_t names[kVariables];
  for (int v = 0; v < kVariables; ++v) names[v] = Variable_Index("var" + std::to_string(v));
  for (auto& inst : Instance_Lists().active) {
    for (int v = 0; v < kVariables; ++v) {
      RValue value = v < 8 ? RValue::Real(inst->i_id * 0.5 + v) : RValue::String(u"name of thing");
      inst->i_vars.SetVar(names[v], 0, value);
    }
  }
}

size_t ImageSize() {
  CStream s;
  SaveGame_WriteStream(s);
  return s.Size();
}

// A private working directory for the file variants.
class WorkDir {
 public:
  WorkDir() {
    old_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() / ("vx_bench_save_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
  }
  ~WorkDir() {
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }

 private:
  std::filesystem::path old_, dir_;
};

void Report(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["image_bytes"] = static_cast<double>(bytes);
}

void BM_WriteImage(benchmark::State& state) {
  BuildGame();
  for (auto _ : state) {
    CStream s;
    SaveGame_WriteStream(s);
    benchmark::DoNotOptimize(s.Data());
  }
  Report(state, ImageSize());
  RoomRuntime_FreeAll();
}

void BM_ReadImage(benchmark::State& state) {
  BuildGame();
  CStream image;
  SaveGame_WriteStream(image);
  for (auto _ : state) {
    image.Seek(0);
    RSavedGame game;
    if (SaveGame_ReadStream(image, Game().game_id, game) != SaveGameRead::Ok) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(game.rooms.data());
  }
  Report(state, image.Size());
  RoomRuntime_FreeAll();
}

void BM_SaveFile(benchmark::State& state) {
  BuildGame();
  WorkDir dir;
  for (auto _ : state)
    if (!SaveGame_Save("bench.sav")) state.SkipWithError("save failed");
  Report(state, ImageSize());
  RoomRuntime_FreeAll();
}

void BM_LoadFile(benchmark::State& state) {
  BuildGame();
  WorkDir dir;
  SaveGame_Save("bench.sav");
  for (auto _ : state)
    if (!SaveGame_Load("bench.sav")) state.SkipWithError("load failed");
  if (Instance_Lists().active.size() != static_cast<size_t>(kInstances)) state.SkipWithError("lost instances");
  Report(state, ImageSize());
  RoomRuntime_FreeAll();
}

}  // namespace

BENCHMARK(BM_SaveFile)->Name("save_file")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadFile)->Name("load_file")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteImage)->Name("write_image")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadImage)->Name("read_image")->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
