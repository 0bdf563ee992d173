// bitmap32.cpp: the stored form of TBitmap32 (the image record).
#include "motion/bitmap32.h"

#include <cstring>

#include "runner/record_io.h"
#include "runner/support_stream.h"

namespace {
constexpr int32_t kImageVersion = 800;
}

bool TBitmap32::LoadFromStream(CStream& s) {
  s_w = 0;
  s_h = 0;
  s_data.clear();
  if (!ReadVersion(s, kImageVersion)) return false;
  int32_t w = s.ReadInteger();
  int32_t h = s.ReadInteger();
  if (w < 0 || h < 0) return false;
  s_w = w;
  s_h = h;
  uint64_t pixels = static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
  if (pixels == 0) return true;
  auto block = s.ReadStream();
  if (block->Size() != pixels * 4) return false;
  s_data.resize(pixels);
  const uint8_t* b = block->Data();
  for (size_t i = 0; i < pixels; ++i, b += 4)
    s_data[i] = static_cast<TColor32>(b[0]) | static_cast<TColor32>(b[1]) << 8 |
                static_cast<TColor32>(b[2]) << 16 | static_cast<TColor32>(b[3]) << 24;
  return true;
}

void TBitmap32::SaveToStream(CStream& s) const {
  s.WriteInteger(kImageVersion);
  s.WriteInteger(s_w);
  s.WriteInteger(s_h);
  if (s_w <= 0 || s_h <= 0) return;
  std::vector<uint8_t> bytes(s_data.size() * 4);
  for (size_t i = 0; i < s_data.size(); ++i) {
    TColor32 c = s_data[i];
    bytes[i * 4 + 0] = static_cast<uint8_t>(c);
    bytes[i * 4 + 1] = static_cast<uint8_t>(c >> 8);
    bytes[i * 4 + 2] = static_cast<uint8_t>(c >> 16);
    bytes[i * 4 + 3] = static_cast<uint8_t>(c >> 24);
  }
  s.WriteStream(CStream(std::move(bytes)));
}
