// fuzz_loader.cpp: libFuzzer target for the game data loader. Each input is
// loaded three ways: as a whole executable, as the payload of a valid
// envelope (marker, seed, check value, header version), and as the game
// body inside a valid payload. Loading may fail or raise the stream
// exceptions; anything else (a crash, a leak, a hang) is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runner/datanew_main.h"
#include "runner/datanew_write.h"
#include "runner/game_data.h"
#include "common/support_stream.h"

namespace {

class SilentObserver : public LoadObserver {
 public:
  void ShowMessage(const std::string&) override {}
  void SetProgress(int, const std::string&) override {}
  void SetUpLoadingWindow(bool, const GameSettings&) override {}
};

void TryLoad(std::vector<uint8_t> bytes, size_t scan_start) {
  CStream file(std::move(bytes));
  SilentObserver observer;
  try {
    LoadGame(file, scan_start, observer);
  } catch (const StreamReadError&) {
  } catch (const StreamFormatError&) {
  }
}

std::vector<uint8_t> Envelope(const CStream& payload, uint32_t seed) {
  GameDataWriteOptions options;
  options.seed = seed;
  options.padding = seed % 8;
  return WriteGameEnvelope(payload, options);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> input(data, data + size);
  TryLoad(input, 0);

  const uint32_t seed = static_cast<uint32_t>(size * 2654435761u);
  CStream payload(input);
  TryLoad(Envelope(payload, seed), 0);

  CGameData empty;
  CStream body(input);
  CStream full;
  WriteGamePayload(empty, body, full);
  TryLoad(Envelope(full, seed), 0);
  Game().Clear();
  return 0;
}
