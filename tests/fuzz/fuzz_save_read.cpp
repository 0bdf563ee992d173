// fuzz_save_read.cpp: libFuzzer target for the saved-game reader. Each
// input follows a valid header (version 540 and the running game's id), so
// it reaches the records. The read may fail; a read that succeeds is put in
// effect, and the game written again must read back to the same bytes.
// Anything else (a crash, a leak, an allocation beyond the input, a hang)
// is a finding.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "runner/game_data.h"
#include "common/support_stream.h"
#include "world/object_class.h"
#include "world/room_class.h"
#include "world/save_game.h"

namespace {

constexpr int32_t kGameId = 1234;

// Two objects and three rooms, so object and room indices in the input
// resolve to real resources some of the time.
void MakeGame() {
  static bool made = false;
  if (made) return;
  made = true;
  Game().game_id = kGameId;
  for (int i = 0; i < 2; ++i) Game().objects.Add(std::make_unique<CObject>(), u"obj");
  for (int i = 0; i < 3; ++i) Game().rooms.Add(std::make_unique<CRoom>(), u"room");
}

std::vector<uint8_t> Image() {
  CStream s;
  SaveGame_WriteStream(s);
  return s.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MakeGame();
  CStream image;
  image.WriteInteger(kSaveGameVersion);
  image.WriteInteger(kGameId);
  image.WriteBytes(data, size);
  image.Seek(0);
  RSavedGame game;
  if (SaveGame_ReadStream(image, kGameId, game) != SaveGameRead::Ok) return 0;
  SaveGame_Apply(std::move(game));
  CStream again(Image());
  RSavedGame reread;
  if (SaveGame_ReadStream(again, kGameId, reread) != SaveGameRead::Ok) __builtin_trap();
  SaveGame_Apply(std::move(reread));
  if (Image() != again.Bytes()) __builtin_trap();
  return 0;
}
