// bench_load.cpp: the stream work of loading a game, on a game-like payload
// of about 50 MB built in memory: resource records (compressible pixel data
// and incompressible data such as sounds), each a compressed sub-stream, all
// inside one scrambled sub-stream, scrambled again as appended game data.
// Measures the check value, the unscrambling, the decompression and the
// three together; throughput is given in bytes of game data.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "common/support_stream.h"

namespace {

constexpr int kPixelRecords = 64;
constexpr int kImageSide = 512;
constexpr int kDataRecords = 130;
constexpr size_t kDataRecordSize = 256 * 1024;
constexpr size_t kHeader = 12;

uint32_t Next(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state;
}

// A sprite-like image: a shaded disc on a transparent (all zero) ground,
// with a little noise in one channel.
CStream PixelRecord(int index, uint32_t& rng) {
  std::vector<uint8_t> pixels(size_t{kImageSide} * kImageSide * 4);
  int c = kImageSide / 2;
  int radius = c - index;
  for (int y = 0; y < kImageSide; ++y) {
    for (int x = 0; x < kImageSide; ++x) {
      int d2 = (x - c) * (x - c) + (y - c) * (y - c);
      if (d2 >= radius * radius) continue;
      uint8_t* p = &pixels[(static_cast<size_t>(y) * kImageSide + x) * 4];
      p[0] = static_cast<uint8_t>(x / 2 + index + (Next(rng) >> 31));
      p[1] = static_cast<uint8_t>(y / 2);
      p[2] = static_cast<uint8_t>(255 - d2 / 512);
      p[3] = 255;
    }
  }
  return CStream(std::move(pixels));
}

CStream DataRecord(uint32_t& rng) {
  std::vector<uint8_t> bytes(kDataRecordSize);
  for (size_t i = 0; i < bytes.size(); i += 4) {
    uint32_t v = Next(rng);
    std::memcpy(&bytes[i], &v, 4);
  }
  return CStream(std::move(bytes));
}

struct GameFile {
  std::vector<uint8_t> scrambled;  // header + payload, as appended to the runner
  size_t records = 0;
  size_t plain_record_bytes = 0;
};

const GameFile& TheGame() {
  static const GameFile game = [] {
    GameFile g;
    uint32_t rng = 12345;
    CStream body;
    for (int i = 0; i < kPixelRecords + kDataRecords; ++i) {
      CStream record = i % 3 == 0 && i / 3 < kPixelRecords ? PixelRecord(i / 3, rng) : DataRecord(rng);
      g.plain_record_bytes += record.Size();
      body.WriteStreamC(record);
      ++g.records;
    }
    CStream file;
    file.WriteBytes(std::vector<uint8_t>(kHeader).data(), kHeader);
    file.WriteInteger(static_cast<int32_t>(g.records));
    file.WriteStreamE(body);
    file.EncryptWad(0, 0xC0FFEEu);
    g.scrambled = std::move(file.Bytes());
    return g;
  }();
  return game;
}

// The unscrambled inner body, for the decompression benchmark.
const CStream& TheBody() {
  static const CStream body = [] {
    CStream file(TheGame().scrambled);
    if (!file.DecryptWad(0)) throw std::runtime_error("check failed");
    file.Seek(kHeader + 4);
    return std::move(*file.ReadStreamE());
  }();
  return body;
}

void SetGameBytes(benchmark::State& state) {
  const GameFile& g = TheGame();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(g.scrambled.size()));
  state.counters["game_MB"] = static_cast<double>(g.scrambled.size()) / 1e6;
}

void BM_Check(benchmark::State& state) {
  const GameFile& g = TheGame();
  for (auto _ : state) {
    uint32_t crc = CStream::CalcCRC(g.scrambled.data() + kHeader,
                                    static_cast<int64_t>(g.scrambled.size() - kHeader));
    benchmark::DoNotOptimize(crc);
  }
  SetGameBytes(state);
}

void BM_Unscramble(benchmark::State& state) {
  const GameFile& g = TheGame();
  CStream file;
  for (auto _ : state) {
    state.PauseTiming();
    file.Bytes() = g.scrambled;
    state.ResumeTiming();
    if (!file.DecryptWad(0)) state.SkipWithError("check failed");
    file.Seek(kHeader + 4);
    std::unique_ptr<CStream> body = file.ReadStreamE();
    benchmark::DoNotOptimize(body->Data());
  }
  SetGameBytes(state);
}

void BM_Decompress(benchmark::State& state) {
  const CStream& body = TheBody();
  const GameFile& g = TheGame();
  CStream reader(body.Bytes());
  for (auto _ : state) {
    reader.Seek(0);
    for (size_t i = 0; i < g.records; ++i) {
      std::unique_ptr<CStream> record = reader.ReadStreamC();
      benchmark::DoNotOptimize(record->Data());
    }
  }
  SetGameBytes(state);
  state.counters["plain_MB"] = static_cast<double>(g.plain_record_bytes) / 1e6;
}

// What the loader does, in order: check and unscramble, open the scrambled
// body, decompress every record.
void BM_LoadAll(benchmark::State& state) {
  const GameFile& g = TheGame();
  CStream file;
  for (auto _ : state) {
    state.PauseTiming();
    file.Bytes() = g.scrambled;
    state.ResumeTiming();
    if (!file.DecryptWad(0)) state.SkipWithError("check failed");
    file.Seek(kHeader);
    int32_t records = file.ReadInteger();
    std::unique_ptr<CStream> body = file.ReadStreamE();
    for (int32_t i = 0; i < records; ++i) {
      std::unique_ptr<CStream> record = body->ReadStreamC();
      benchmark::DoNotOptimize(record->Data());
    }
  }
  SetGameBytes(state);
}

BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unscramble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decompress)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAll)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
