// datanew_write.h: the inverse of the loader, used by the builder: writes a
// CGameData as the game data (marker, seed, check value, masked header
// version, scrambled payload) to append to a runner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CGameData;
class CStream;

// True when the eight bytes at p form the marker.
bool GameDataMarkerAt(const uint8_t* p);

struct GameDataWriteOptions {
  size_t offset = 0;      // where the returned bytes will start in the file
  size_t scan_start = 0;  // the runner's scan start (ElfImageEnd), <= offset
  size_t padding = 0;     // random bytes before the marker
  uint32_t seed = 0;      // scramble seed of the payload
};

// The plain game body (padding, edition, game id, GUID, the 16 sections);
// the padding length and values come from seed.
void WriteGameBody(const CGameData& game, CStream& body, uint32_t seed = 0);
// The plain payload (header fields, settings block, support library) with
// the given body scrambled into it.
void WriteGamePayload(const CGameData& game, const CStream& body, CStream& out);
// The bytes to write at options.offset for a plain payload: padding,
// marker, seed, check value, masked header version, scrambled payload. No
// marker occurs in them before the real one.
std::vector<uint8_t> WriteGameEnvelope(const CStream& payload, const GameDataWriteOptions& options);
// WriteGameBody, WriteGamePayload and WriteGameEnvelope in one.
std::vector<uint8_t> WriteGameData(const CGameData& game, const GameDataWriteOptions& options);

// A game executable: the runner followed by the game data. The padding
// length and the seed come from the runner's random generator. Returns an
// empty vector when the runner is not an ELF64 file or a marker occurs in
// its bytes after the scan start.
std::vector<uint8_t> AppendGameData(const std::vector<uint8_t>& runner, const CGameData& game);
