// elf_image.cpp: the end of the ELF64 image of an executable, from its
// section and program header tables.
#include "runner/elf_image.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kShtNobits = 8;
constexpr size_t kElf64HeaderBytes = 64;
constexpr size_t kProgramHeaderBytes = 56;
constexpr size_t kSectionHeaderBytes = 64;

template <class T>
T Read(const uint8_t* data, size_t size, uint64_t offset) {
  T v{};
  if (offset <= size && sizeof(T) <= size - offset) std::memcpy(&v, data + offset, sizeof(T));
  return v;
}

// offset + length when that range lies inside the file, else 0.
uint64_t RangeEnd(uint64_t offset, uint64_t length, size_t size) {
  if (offset > size || length > size - offset) return 0;
  return offset + length;
}

}  // namespace

size_t ElfImageEnd(const uint8_t* data, size_t size) {
  if (!data || size < kElf64HeaderBytes) return 0;
  static const uint8_t kMagic[4] = {0x7F, 'E', 'L', 'F'};
  if (std::memcmp(data, kMagic, 4) != 0 || data[4] != 2 /* 64-bit */ || data[5] != 1 /* LE */)
    return 0;
  const uint64_t phoff = Read<uint64_t>(data, size, 0x20);
  const uint64_t shoff = Read<uint64_t>(data, size, 0x28);
  const uint16_t phentsize = Read<uint16_t>(data, size, 0x36);
  const uint16_t phnum = Read<uint16_t>(data, size, 0x38);
  const uint16_t shentsize = Read<uint16_t>(data, size, 0x3A);
  const uint16_t shnum = Read<uint16_t>(data, size, 0x3C);

  uint64_t end = kElf64HeaderBytes;
  end = std::max(end, RangeEnd(shoff, static_cast<uint64_t>(shnum) * shentsize, size));
  if (phentsize >= kProgramHeaderBytes && RangeEnd(phoff, uint64_t{phnum} * phentsize, size)) {
    for (uint32_t i = 0; i < phnum; ++i) {
      const uint64_t ph = phoff + uint64_t{i} * phentsize;
      end = std::max(end, RangeEnd(Read<uint64_t>(data, size, ph + 0x08),
                                   Read<uint64_t>(data, size, ph + 0x20), size));
    }
  }
  if (shentsize >= kSectionHeaderBytes && RangeEnd(shoff, uint64_t{shnum} * shentsize, size)) {
    for (uint32_t i = 0; i < shnum; ++i) {
      const uint64_t sh = shoff + uint64_t{i} * shentsize;
      if (Read<uint32_t>(data, size, sh + 0x04) == kShtNobits) continue;
      end = std::max(end, RangeEnd(Read<uint64_t>(data, size, sh + 0x18),
                                   Read<uint64_t>(data, size, sh + 0x20), size));
    }
  }
  return static_cast<size_t>(std::min<uint64_t>(end, size));
}
