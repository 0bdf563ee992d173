// datanew_write.cpp: writes a CGameData as appendable game data, the exact
// inverse of the loader (runner/datanew_main.cpp).
#include "runner/datanew_write.h"

#include <cstring>

#include "runner/elf_image.h"
#include "runner/game_data.h"
#include "runner/game_data_format.h"
#include "common/random.h"
#include "common/support_stream.h"

namespace {

constexpr uint32_t kMarkerSum = 0xF7140067u;
constexpr size_t kHeaderBytes = 20;  // marker, seed, check value, version

uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// The filler of padding and marker: a small generator of its own, so the
// output depends on the seed alone and the game's generator is untouched.
class Filler {
 public:
  explicit Filler(uint32_t seed) : z_(seed ^ 0x9E3779B9u), w_(seed * 2654435761u + 1) {}
  uint32_t Next() { return CStream::LocalRandom(z_, w_); }

 private:
  uint32_t z_, w_;
};

template <class T>
void WriteResources(CStream& body, const ResourceTable<T>& table) {
  body.WriteInteger(kSectionVersion);
  body.WriteInteger(table.Count());
  for (int i = 0; i < table.Count(); ++i) {
    CStream entry;
    const T* item = table.Get(i);
    entry.WriteBoolean(item != nullptr);
    if (item) {
      entry.WriteString(table.names[static_cast<size_t>(i)]);
      item->SaveToStream(entry);
    }
    body.WriteStreamC(entry);
  }
}

void WriteExtensions(CStream& body, const CGameData& game) {
  body.WriteInteger(kExtensionSectionVersion);
  int32_t n = 0;
  for (const auto& pkg : game.extensions.items) n += pkg ? 1 : 0;
  body.WriteInteger(n);
  for (const auto& pkg : game.extensions.items)
    if (pkg) pkg->SaveToStream(body);
}

void WriteTriggers(CStream& body, const CGameData& game) {
  body.WriteInteger(kSectionVersion);
  body.WriteInteger(game.triggers.Count());
  for (const auto& trigger : game.triggers.items) {
    CStream entry;
    entry.WriteBoolean(trigger != nullptr);
    if (trigger) trigger->SaveToStream(entry);
    body.WriteStreamC(entry);
  }
}

void WriteConstants(CStream& body, const CGameData& game) {
  body.WriteInteger(kSectionVersion);
  body.WriteInteger(static_cast<int32_t>(game.constants.size()));
  for (const RConstant& c : game.constants) {
    body.WriteString(c.name);
    body.WriteString(c.value);
  }
}

// Included files carry no exists flag: a missing slot is written as an
// empty, non-existing file.
void WriteIncludedFiles(CStream& body, const CGameData& game) {
  body.WriteInteger(kSectionVersion);
  body.WriteInteger(game.included_files.Count());
  for (const auto& file : game.included_files.items) {
    CStream entry;
    (file ? *file : CDataFile()).SaveToStream(entry);
    body.WriteStreamC(entry);
  }
}

void WriteSections(CStream& body, const CGameData& game) {
  WriteExtensions(body, game);
  WriteTriggers(body, game);
  WriteConstants(body, game);
  WriteResources(body, game.sounds);
  WriteResources(body, game.sprites);
  WriteResources(body, game.backgrounds);
  WriteResources(body, game.paths);
  WriteResources(body, game.scripts);
  WriteResources(body, game.fonts);
  WriteResources(body, game.timelines);
  WriteResources(body, game.objects);
  WriteResources(body, game.rooms);
  body.WriteInteger(game.last_instance_id);
  body.WriteInteger(game.last_tile_id);
  WriteIncludedFiles(body, game);
  body.WriteInteger(kSectionVersion);
  CStream info;
  game.game_information.SaveToStream(info);
  body.WriteStreamC(info);
  body.WriteInteger(kInitCodeSectionVersion);
  body.WriteInteger(static_cast<int32_t>(game.library_init_code.size()));
  for (const VString& code : game.library_init_code) body.WriteString(code);
  body.WriteInteger(kRoomOrderSectionVersion);
  body.WriteInteger(static_cast<int32_t>(game.room_order.size()));
  for (int32_t room : game.room_order) body.WriteInteger(room);
}

// Random bytes that hold no marker at any position before limit, the
// marker's own place. A marker at p needs byte p + 1 to be 0 (and bytes
// p + 3, p + 4, p + 6 to be F7, 67, 14); setting byte p + 1 to 1 removes it
// without making one elsewhere. Position limit - 1 cannot match, as its
// byte p + 4 is the marker's F7.
void FillPadding(std::vector<uint8_t>& bytes, size_t limit, Filler& filler) {
  for (size_t i = 0; i < limit; ++i) bytes[i] = static_cast<uint8_t>(filler.Next() >> 24);
  for (size_t i = 0; i + 1 < limit; ++i)
    if (GameDataMarkerAt(bytes.data() + i)) bytes[i + 1] = 1;
}

void WriteMarker(uint8_t* p, Filler& filler) {
  uint32_t a = 0xF7000000u | (filler.Next() & 0x00FF00FFu);
  uint32_t b = 0x00140067u | (filler.Next() & 0xFF00FF00u);
  Store32(p, a);
  Store32(p + 4, b);
}

}  // namespace

bool GameDataMarkerAt(const uint8_t* p) {
  return (Load32(p) & 0xFF00FF00u) + (Load32(p + 4) & 0x00FF00FFu) == kMarkerSum;
}

void WriteGameBody(const CGameData& game, CStream& body, uint32_t seed) {
  Filler filler(seed);
  int32_t padding = static_cast<int32_t>(filler.Next() % 16);
  body.WriteInteger(padding);
  for (int32_t i = 0; i < padding; ++i) body.WriteInteger(static_cast<int32_t>(filler.Next() >> 1));
  body.WriteInteger(game.edition);
  body.WriteInteger(game.game_id);
  body.WriteBytes(game.guid.data(), game.guid.size());
  WriteSections(body, game);
}

void WriteGamePayload(const CGameData& game, const CStream& body, CStream& out) {
  out.WriteInteger(game.day_count);
  out.WriteBoolean(game.debug_mode);
  out.WriteInteger(game.seconds);
  out.WriteInteger(kSettingsVersion);
  CStream settings;
  game.settings.SaveToStream(settings);
  out.WriteStreamC(settings);
  out.WriteString(game.support_library_name);
  out.WriteStreamC(CStream(game.support_library));
  CStream scrambled = body;  // WriteStreamE leaves its source scrambled
  out.WriteStreamE(scrambled);
}

std::vector<uint8_t> WriteGameEnvelope(const CStream& payload, const GameDataWriteOptions& options) {
  Filler filler(options.seed ^ 0x5A5A5A5Au);
  const size_t marker = options.padding;
  CStream out(std::vector<uint8_t>(marker + kHeaderBytes, 0));
  out.Seek(out.Size());
  out.WriteBytes(payload.Data(), payload.Size());
  WriteMarker(out.Data() + marker, filler);
  // Padding is filled after the marker so that positions overlapping the
  // marker are checked against its real bytes.
  FillPadding(out.Bytes(), marker, filler);
  out.EncryptWad(marker + 8, options.seed);

  const int64_t p = static_cast<int64_t>(options.offset + marker);
  const int64_t mask = (p - 1 - static_cast<int64_t>(options.scan_start)) / 4;
  Store32(out.Data() + marker + 16, static_cast<uint32_t>(kHeaderVersion) ^ static_cast<uint32_t>(mask));
  return std::move(out.Bytes());
}

std::vector<uint8_t> WriteGameData(const CGameData& game, const GameDataWriteOptions& options) {
  CStream body;
  WriteGameBody(game, body, options.seed);
  CStream payload;
  WriteGamePayload(game, body, payload);
  return WriteGameEnvelope(payload, options);
}

std::vector<uint8_t> AppendGameData(const std::vector<uint8_t>& runner, const CGameData& game) {
  const size_t scan_start = ElfImageEnd(runner.data(), runner.size());
  if (scan_start == 0) return {};
  // A marker found before ours, in the runner's bytes after the scan start
  // or across the join, would be taken for it. The join depends on the
  // drawn padding, so a few draws are tried.
  for (int attempt = 0; attempt < 16; ++attempt) {
    GameDataWriteOptions options;
    options.offset = runner.size();
    options.scan_start = scan_start;
    options.padding = RandomInt(64);
    options.seed = RandomInt(0xFFFFFFFFu);
    std::vector<uint8_t> exe = runner;
    std::vector<uint8_t> data = WriteGameData(game, options);
    exe.insert(exe.end(), data.begin(), data.end());
    bool early = false;
    for (size_t p = scan_start; p < runner.size() && !early; ++p)
      early = GameDataMarkerAt(exe.data() + p);
    if (!early) return exe;
  }
  return {};
}
