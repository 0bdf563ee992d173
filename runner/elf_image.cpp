// elf_image.cpp: the end of the ELF64 image of an executable, from its
// section and program header tables.
#include "runner/elf_image.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kShtNobits = 8;
constexpr size_t kElf64HeaderBytes = 64;
constexpr size_t kProgramHeaderBytes = 56;
constexpr size_t kSectionHeaderBytes = 64;

// A reader fills n bytes at offset and returns false when that range is not
// in the file; fields read through it are 0 then.
template <class T, class Reader>
T Read(const Reader& read, uint64_t offset) {
  T v{};
  if (!read(offset, &v, sizeof(T))) v = T{};
  return v;
}

// offset + length when that range lies inside the file, else 0.
uint64_t RangeEnd(uint64_t offset, uint64_t length, size_t size) {
  if (offset > size || length > size - offset) return 0;
  return offset + length;
}

template <class Reader>
size_t ImageEnd(const Reader& read, size_t size) {
  if (size < kElf64HeaderBytes) return 0;
  uint8_t ident[6] = {};
  static const uint8_t kMagic[4] = {0x7F, 'E', 'L', 'F'};
  if (!read(0, ident, sizeof ident) || std::memcmp(ident, kMagic, 4) != 0 ||
      ident[4] != 2 /* 64-bit */ || ident[5] != 1 /* LE */)
    return 0;
  const uint64_t phoff = Read<uint64_t>(read, 0x20);
  const uint64_t shoff = Read<uint64_t>(read, 0x28);
  const uint16_t phentsize = Read<uint16_t>(read, 0x36);
  const uint16_t phnum = Read<uint16_t>(read, 0x38);
  const uint16_t shentsize = Read<uint16_t>(read, 0x3A);
  const uint16_t shnum = Read<uint16_t>(read, 0x3C);

  uint64_t end = kElf64HeaderBytes;
  end = std::max(end, RangeEnd(shoff, static_cast<uint64_t>(shnum) * shentsize, size));
  if (phentsize >= kProgramHeaderBytes && RangeEnd(phoff, uint64_t{phnum} * phentsize, size)) {
    for (uint32_t i = 0; i < phnum; ++i) {
      const uint64_t ph = phoff + uint64_t{i} * phentsize;
      end = std::max(end, RangeEnd(Read<uint64_t>(read, ph + 0x08), Read<uint64_t>(read, ph + 0x20), size));
    }
  }
  if (shentsize >= kSectionHeaderBytes && RangeEnd(shoff, uint64_t{shnum} * shentsize, size)) {
    for (uint32_t i = 0; i < shnum; ++i) {
      const uint64_t sh = shoff + uint64_t{i} * shentsize;
      if (Read<uint32_t>(read, sh + 0x04) == kShtNobits) continue;
      end = std::max(end, RangeEnd(Read<uint64_t>(read, sh + 0x18), Read<uint64_t>(read, sh + 0x20), size));
    }
  }
  return static_cast<size_t>(std::min<uint64_t>(end, size));
}

}  // namespace

size_t ElfImageEnd(const uint8_t* data, size_t size) {
  if (!data) return 0;
  auto read = [data, size](uint64_t offset, void* out, size_t n) {
    if (offset > size || n > size - offset) return false;
    std::memcpy(out, data + offset, n);
    return true;
  };
  return ImageEnd(read, size);
}

size_t ElfImageEndOfFile(int fd, size_t size) {
  // The header tables are read in a few small reads; a table is read once
  // into a buffer rather than field by field.
  struct Cache {
    uint64_t start = 0;
    std::vector<uint8_t> bytes;
  };
  std::vector<Cache> cache;
  auto read = [fd, size, &cache](uint64_t offset, void* out, size_t n) {
    if (offset > size || n > size - offset) return false;
    for (const Cache& c : cache) {
      if (offset >= c.start && offset + n <= c.start + c.bytes.size()) {
        std::memcpy(out, c.bytes.data() + (offset - c.start), n);
        return true;
      }
    }
    // A block of up to 64 KiB from offset (the rest of a header table).
    Cache block;
    block.start = offset;
    block.bytes.resize(static_cast<size_t>(std::min<uint64_t>(std::max<size_t>(n, 65536), size - offset)));
    size_t done = 0;
    while (done < block.bytes.size()) {
      ssize_t got = ::pread(fd, block.bytes.data() + done, block.bytes.size() - done,
                            static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      done += static_cast<size_t>(got);
    }
    if (done < n) return false;
    block.bytes.resize(done);
    std::memcpy(out, block.bytes.data(), n);
    cache.push_back(std::move(block));
    return true;
  };
  return ImageEnd(read, size);
}
