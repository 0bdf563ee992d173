// bitmap32.cpp: TBitmap32 construction, its stored form (the image record)
// and the geometric operations.
#include "motion/bitmap32.h"

#include <algorithm>
#include <cstring>

#include "common/record_io.h"
#include "common/support_stream.h"

namespace {
constexpr int32_t kImageVersion = 800;
}

TBitmap32::TBitmap32(int32_t w, int32_t h, TColor32 fill) {
  if (w <= 0 || h <= 0) return;
  s_w = w;
  s_h = h;
  s_data.assign(static_cast<size_t>(w) * h, fill);
}

TBitmap32::TBitmap32(const RBitmap& bm) {
  if (bm.width <= 0 || bm.height <= 0 ||
      bm.pixels.size() != static_cast<size_t>(bm.width) * bm.height) {
    return;
  }
  s_w = bm.width;
  s_h = bm.height;
  s_data = bm.pixels;
}

RBitmap TBitmap32::ToRBitmap() const {
  RBitmap bm;
  bm.width = s_w;
  bm.height = s_h;
  bm.pixels = s_data;
  return bm;
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

void TBitmap32::Fill(TColor32 c) { std::fill(s_data.begin(), s_data.end(), c); }

TBitmap32 TBitmap32::Crop(int32_t x, int32_t y, int32_t w, int32_t h) const {
  int32_t left = std::max(x, 0), top = std::max(y, 0);
  int64_t right = std::min<int64_t>(int64_t{x} + w, s_w);
  int64_t bottom = std::min<int64_t>(int64_t{y} + h, s_h);
  if (right <= left || bottom <= top) return TBitmap32();
  TBitmap32 out(static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top));
  out.Draw(*this, -left, -top);
  return out;
}

void TBitmap32::Resize(int32_t w, int32_t h, TColor32 fill) {
  TBitmap32 out(w, h, fill);
  out.Draw(*this, 0, 0);
  *this = std::move(out);
}

void TBitmap32::Draw(const TBitmap32& src, int32_t x, int32_t y, bool honour_alpha) {
  DrawPart(src, 0, 0, src.s_w, src.s_h, x, y, honour_alpha);
}

void TBitmap32::DrawPart(const TBitmap32& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                         int32_t x, int32_t y, bool honour_alpha) {
  // Clip the source part to the source, then the destination to this image,
  // in 64 bits so that extreme arguments cannot overflow.
  int64_t x0 = std::max<int64_t>(sx, 0), y0 = std::max<int64_t>(sy, 0);
  int64_t x1 = std::min<int64_t>(int64_t{sx} + sw, src.s_w);
  int64_t y1 = std::min<int64_t>(int64_t{sy} + sh, src.s_h);
  int64_t dx = int64_t{x} - sx, dy = int64_t{y} - sy;  // destination = source + d
  x0 = std::max(x0, -dx);
  y0 = std::max(y0, -dy);
  x1 = std::min(x1, s_w - dx);
  y1 = std::min(y1, s_h - dy);
  if (x1 <= x0 || y1 <= y0) return;
  for (int64_t j = y0; j < y1; ++j) {
    const TColor32* from = &src.s_data[static_cast<size_t>(j * src.s_w + x0)];
    TColor32* to = &s_data[static_cast<size_t>((j + dy) * s_w + x0 + dx)];
    if (!honour_alpha) {
      std::memcpy(to, from, static_cast<size_t>(x1 - x0) * sizeof(TColor32));
      continue;
    }
    for (int64_t i = 0; i < x1 - x0; ++i)
      if (Color32Alpha(from[i])) to[i] = from[i];
  }
}

void TBitmap32::Mirror() {
  for (int32_t y = 0; y < s_h; ++y) {
    auto row = s_data.begin() + static_cast<ptrdiff_t>(y) * s_w;
    std::reverse(row, row + s_w);
  }
}

void TBitmap32::Flip() {
  for (int32_t y = 0; y < s_h / 2; ++y) {
    auto top = s_data.begin() + static_cast<ptrdiff_t>(y) * s_w;
    auto bottom = s_data.begin() + static_cast<ptrdiff_t>(s_h - 1 - y) * s_w;
    std::swap_ranges(top, top + s_w, bottom);
  }
}
