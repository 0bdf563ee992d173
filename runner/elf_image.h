// elf_image.h: the end of an executable's own ELF image, the offset from
// which the loader scans for appended game data (and at or after which the
// builder appends it).
#pragma once

#include <cstddef>
#include <cstdint>

// The largest of: the end of the section header table, p_offset + p_filesz
// over the program headers, and sh_offset + sh_size over the sections that
// occupy file bytes (not SHT_NOBITS), for a little-endian ELF64 file. Entries
// that lie outside the file are skipped; the result is at most size. 0 for a
// file that is not ELF64.
size_t ElfImageEnd(const uint8_t* data, size_t size);
// The same for the open file fd of the given size, read through a few small
// reads of its header tables (the file itself is not read).
size_t ElfImageEndOfFile(int fd, size_t size);
