// support_stream_wad.cpp: the check value (a CRC register) and
// the checked unscrambling of the game data appended to the runner, with its
// inverse for the builder.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "common/support_stream.h"

namespace {

uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// The register is that of CRC-32 (ISO 3309, reflected polynomial EDB88320)
// without the final inversion, so zlib's fast implementation computes it:
// zlib inverts on entry and on exit.
uint32_t CrcUpdate(uint32_t reg, const uint8_t* p, size_t n) {
  return ~static_cast<uint32_t>(crc32_z(~reg & 0xFFFFFFFFu, p, n));
}

// The generator state w of the unscrambling: the register over the key
// text's UTF-16 code units, little-endian.
uint32_t WadKey(uint32_t seed) {
  VString text = WadKeyText(seed);
  std::vector<uint8_t> bytes(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
  return CrcUpdate(0xFFFFFFFFu, bytes.data(), bytes.size());
}

// Exclusive-or of the payload words from offset (key & 255) + 6 while the
// offset is below n - 5, with the generator started at (z, w). When check is
// true the register over the whole payload, taken after the words are
// changed, is computed in the same pass (block by block, while the bytes are
// in cache) and returned.
uint32_t XorPayload(uint8_t* payload, int64_t n, uint32_t z, uint32_t w, bool check) {
  constexpr int64_t kBlock = 1 << 16;
  int64_t i = (w & 255) + 6;
  uint32_t crc = 0xFFFFFFFFu;
  int64_t checked = 0;
  while (checked < n) {
    int64_t target = std::min(checked + kBlock, n);
    for (; i < n - 5 && i < target; i += 4) {
      Store32(payload + i, Load32(payload + i) ^ CStream::LocalRandom(z, w));
    }
    // Bytes below i are final; after the last word every byte is.
    int64_t settled = i < n - 5 ? i : n;
    int64_t upto = std::min(settled, target);
    if (check) crc = CrcUpdate(crc, payload + checked, static_cast<size_t>(upto - checked));
    checked = upto;
  }
  return crc;
}

}  // namespace

void CStream::InitFastCRC() {
  // zlib's tables are static; nothing to build.
}

uint32_t CStream::CalcCRC(const uint8_t* buffer, int64_t size) {
  if (size <= 0) return 0xFFFFFFFFu;
  return CrcUpdate(0xFFFFFFFFu, buffer, static_cast<size_t>(size));
}

uint32_t CStream::LocalRandom(uint32_t& z, uint32_t& w) {
  z = 36969u * (z & 0xFFFF) + (z >> 16);
  w = 18000u * (w & 0xFFFF) + (w >> 16);
  return (z << 16) + (w & 0xFFFF);
}

VString WadKeyText(uint32_t seed) {
  return FromAscii(("VXGD" + std::to_string(seed) + "LOCK").c_str());
}

bool CStream::DecryptWad(size_t base_offset) {
  if (base_offset > data_.size() || data_.size() - base_offset < 12) return false;
  uint8_t* d = data_.data() + base_offset;
  uint32_t seed = Load32(d);
  uint32_t check = Load32(d + 4);
  int64_t n = static_cast<int64_t>(data_.size() - base_offset - 12);
  return XorPayload(d + 12, n, check, WadKey(seed), true) == check;
}

void CStream::EncryptWad(size_t base_offset, uint32_t seed) {
  if (base_offset > data_.size() || data_.size() - base_offset < 12) {
    throw std::length_error("EncryptWad: no room for the game data header");
  }
  uint8_t* d = data_.data() + base_offset;
  int64_t n = static_cast<int64_t>(data_.size() - base_offset - 12);
  uint32_t check = CalcCRC(d + 12, n);
  Store32(d, seed);
  Store32(d + 4, check);
  XorPayload(d + 12, n, check, WadKey(seed), false);
}
