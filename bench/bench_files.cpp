// bench_files.cpp: the settings store (a read, a write: one transaction
// with its sync), an ini write (parse, change, crash-safe rewrite) of a
// file of 200 keys, and text-file number writing and reading.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "files/file_text.h"
#include "files/ini_file.h"
#include "platform/settings_store.h"
#include "common/support_file.h"

namespace fs = std::filesystem;

namespace {

std::string Scratch(const char* name) {
  fs::path dir = fs::temp_directory_path() / ("vexlo_bench_files_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return (dir / name).string();
}

void BM_StoreRead(benchmark::State& state) {
  auto store = SettingsStore_OpenSqlite(Scratch("read.db"));
  store->WriteReal(SettingsRoot::CurrentUser, "\\Software\\Vexlo\\1", "best", 42);
  for (auto _ : state)
    benchmark::DoNotOptimize(store->ReadReal(SettingsRoot::CurrentUser, "\\Software\\Vexlo\\1", "best"));
}
BENCHMARK(BM_StoreRead);

void BM_StoreWrite(benchmark::State& state) {
  auto store = SettingsStore_OpenSqlite(Scratch("write.db"));
  double x = 0;
  for (auto _ : state) store->WriteReal(SettingsRoot::CurrentUser, "\\Software\\Vexlo\\1", "best", x++);
}
BENCHMARK(BM_StoreWrite)->Unit(benchmark::kMicrosecond);

void BM_IniWrite(benchmark::State& state) {
  std::string text = "[settings]\r\n";
  for (int i = 0; i < 200; ++i) text += "key" + std::to_string(i) + "=" + std::to_string(i * 3) + "\r\n";
  const std::string path = Scratch("bench.ini");
  File_WriteAtomic(path, text.data(), text.size());
  int n = 0;
  for (auto _ : state) {
    std::vector<uint8_t> bytes;
    File_ReadAll(path, bytes);
    TIniFile ini;
    ini.Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    ini.Write("settings", "key100", std::to_string(n++));
    std::string out = ini.Serialize();
    File_WriteAtomic(path, out.data(), out.size());
  }
}
BENCHMARK(BM_IniWrite)->Unit(benchmark::kMicrosecond);

void BM_TextNumbers(benchmark::State& state) {
  const std::string path = Scratch("numbers.txt");
  for (auto _ : state) {
    TTextFile out;
    out.OpenWrite(path);
    for (int i = 0; i < 10000; ++i) out.Write(File_RealText(i * 0.25) + "\r\n");
    out.Close();
    TTextFile in;
    in.OpenRead(path);
    double sum = 0;
    while (!in.AtEof()) {
      sum += in.ReadRealText();
      in.ReadLine();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_TextNumbers)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
