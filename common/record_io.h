// record_io.h: the guarded reads shared by every resource record reader.
// Counts and sizes come from untrusted game data, so each one is checked
// against the bytes that are left before anything is sized from it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/support_stream.h"

// Bytes left between the position and the end (0 when the position is past
// the end).
inline size_t StreamRemaining(const CStream& s) {
  return s.Position() < s.Size() ? s.Size() - s.Position() : 0;
}

// Reads the leading version of a record; true when it equals expected.
inline bool ReadVersion(CStream& s, int32_t expected) { return s.ReadInteger() == expected; }

// Reads a count of items that each take at least min_item_bytes in the
// stream. False for a negative count or one the remaining bytes cannot hold.
inline bool ReadCount(CStream& s, int32_t& count, size_t min_item_bytes) {
  count = s.ReadInteger();
  if (count < 0) return false;
  if (min_item_bytes == 0) min_item_bytes = 1;
  return static_cast<uint64_t>(count) * min_item_bytes <= StreamRemaining(s);
}

// True when a count of n items of item_bytes each fits the remaining bytes
// (n >= 0).
inline bool CountFits(const CStream& s, int64_t n, size_t item_bytes) {
  if (n < 0) return false;
  if (item_bytes == 0) return true;
  return static_cast<uint64_t>(n) <= StreamRemaining(s) / item_bytes;
}
