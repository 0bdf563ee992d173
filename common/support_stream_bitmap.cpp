// support_stream_bitmap.cpp: bitmaps embedded in streams (a presence flag and
// a compressed BMP file) and the BMP coding behind them. Decoding takes
// uncompressed 1, 4, 8, 16, 24 and 32-bit images, bottom-up and top-down,
// and checks every size against the data, so a hostile header yields no
// bitmap instead of a crash or a huge allocation.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "common/support_stream.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kRgb = 0;        // uncompressed
constexpr uint32_t kBitFields = 3;  // uncompressed with channel masks
constexpr int64_t kMaxDimension = 1 << 20;
constexpr int64_t kMaxPixels = int64_t{1} << 28;

uint32_t Get32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

// One channel of a bit-field pixel, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    max = m >> shift;
  }
  uint32_t Get(uint32_t px, uint32_t absent) const {
    if (!mask) return absent;
    return static_cast<uint32_t>((((px & mask) >> shift) * uint64_t{255} + max / 2) / max);
  }
};

struct BmpLayout {
  int64_t width = 0;
  int64_t height = 0;  // always positive here
  bool top_down = false;
  int bpp = 0;
  uint32_t compression = kRgb;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  size_t palette_at = 0;
  uint32_t palette_entries = 0;  // 0: all that the depth allows
  size_t palette_entry_size = 4;
  uint32_t palette[256];
  size_t pixel_offset = 0;
  size_t stride = 0;
};

// Colours beyond the stored palette read as opaque black.
bool ReadPalette(const uint8_t* data, size_t size, BmpLayout& b) {
  for (uint32_t& c : b.palette) c = 0xFF000000u;
  if (b.bpp > 8) return true;
  uint32_t count = b.palette_entries ? b.palette_entries : (1u << b.bpp);
  count = std::min<uint32_t>(count, 256);
  size_t at = b.palette_at;
  if (at > size || (size - at) / b.palette_entry_size < count) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = data + at + i * b.palette_entry_size;
    b.palette[i] = 0xFF000000u | (e[2] << 16) | (e[1] << 8) | e[0];
  }
  return true;
}

bool ParseHeaders(const uint8_t* data, size_t size, BmpLayout& b) {
  if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') return false;
  b.pixel_offset = Get32(data + 10);
  uint32_t header = Get32(data + 14);
  if (header > size - kFileHeaderSize) return false;
  b.palette_at = kFileHeaderSize + header;
  if (header == kCoreHeaderSize) {
    b.width = Get16(data + 18);
    b.height = Get16(data + 20);
    b.bpp = Get16(data + 24);
    b.palette_entry_size = 3;
  } else if (header >= kInfoHeaderSize) {
    b.width = static_cast<int32_t>(Get32(data + 18));
    b.height = static_cast<int32_t>(Get32(data + 22));
    b.bpp = Get16(data + 28);
    b.compression = Get32(data + 30);
    b.palette_entries = Get32(data + 46);
    if (b.compression == kBitFields) {
      // The masks follow a plain info header, or are part of a longer one.
      size_t at = kFileHeaderSize + kInfoHeaderSize;
      size_t count = header >= 56 ? 4 : 3;
      if (at + 4 * count > size) return false;
      for (size_t i = 0; i < count; ++i) b.masks[i] = Get32(data + at + 4 * i);
      if (header == kInfoHeaderSize) b.palette_at += 12;
    }
  } else {
    return false;
  }
  if (b.height < 0) {
    b.top_down = true;
    b.height = -b.height;
  }
  return true;
}

bool CheckLayout(size_t size, BmpLayout& b) {
  bool known = (b.compression == kRgb && (b.bpp == 1 || b.bpp == 4 || b.bpp == 8 ||
                                          b.bpp == 16 || b.bpp == 24 || b.bpp == 32)) ||
               (b.compression == kBitFields && (b.bpp == 16 || b.bpp == 32));
  if (!known) return false;
  if (b.width <= 0 || b.height <= 0 || b.width > kMaxDimension || b.height > kMaxDimension ||
      b.width * b.height > kMaxPixels) {
    return false;
  }
  b.stride = static_cast<size_t>((b.width * b.bpp + 31) / 32 * 4);
  if (b.pixel_offset > size) return false;
  return (size - b.pixel_offset) / b.stride >= static_cast<size_t>(b.height);
}

void DecodeRow(const BmpLayout& b, const uint8_t* row, uint32_t* out) {
  int64_t w = b.width;
  switch (b.bpp) {
    case 1:
    case 4:
    case 8: {
      int per_byte = 8 / b.bpp;
      uint32_t mask = (1u << b.bpp) - 1;
      for (int64_t x = 0; x < w; ++x) {
        int shift = (per_byte - 1 - static_cast<int>(x % per_byte)) * b.bpp;
        out[x] = b.palette[(row[x / per_byte] >> shift) & mask];
      }
      break;
    }
    case 24:
      for (int64_t x = 0; x < w; ++x, row += 3) {
        out[x] = 0xFF000000u | (row[2] << 16) | (row[1] << 8) | row[0];
      }
      break;
    case 32:
      if (b.compression == kRgb) {
        std::memcpy(out, row, static_cast<size_t>(w) * 4);  // B, G, R, A bytes
        break;
      }
      [[fallthrough]];
    case 16: {
      uint32_t defaults[3] = {0x7C00, 0x03E0, 0x001F};  // 5-5-5 without masks
      Channel r(b.compression == kBitFields ? b.masks[0] : defaults[0]);
      Channel g(b.compression == kBitFields ? b.masks[1] : defaults[1]);
      Channel bl(b.compression == kBitFields ? b.masks[2] : defaults[2]);
      Channel a(b.compression == kBitFields ? b.masks[3] : 0);
      int bytes = b.bpp / 8;
      for (int64_t x = 0; x < w; ++x, row += bytes) {
        uint32_t px = bytes == 2 ? Get16(row) : Get32(row);
        out[x] = (a.Get(px, 255) << 24) | (r.Get(px, 0) << 16) | (g.Get(px, 0) << 8) |
                 bl.Get(px, 0);
      }
      break;
    }
  }
}

// A 32-bit image whose every alpha byte is 0 did not use the fourth byte:
// it is opaque.
void ApplyAlphaTest(RBitmap& bm) {
  for (uint32_t p : bm.pixels) {
    if (p >> 24) return;
  }
  for (uint32_t& p : bm.pixels) p |= 0xFF000000u;
}

}  // namespace

std::unique_ptr<RBitmap> DecodeBmp(const uint8_t* data, size_t size) {
  BmpLayout b;
  if (!data || !ParseHeaders(data, size, b) || !CheckLayout(size, b) ||
      !ReadPalette(data, size, b)) {
    return nullptr;
  }

  auto bm = std::make_unique<RBitmap>();
  bm->width = static_cast<int>(b.width);
  bm->height = static_cast<int>(b.height);
  bm->pixels.resize(static_cast<size_t>(b.width * b.height));
  for (int64_t r = 0; r < b.height; ++r) {
    int64_t y = b.top_down ? r : b.height - 1 - r;
    DecodeRow(b, data + b.pixel_offset + r * b.stride, bm->pixels.data() + y * b.width);
  }
  if (b.bpp == 32 && b.compression == kRgb) ApplyAlphaTest(*bm);
  return bm;
}

std::vector<uint8_t> EncodeBmp(const RBitmap& bitmap) {
  uint32_t w = static_cast<uint32_t>(std::max(bitmap.width, 0));
  uint32_t h = static_cast<uint32_t>(std::max(bitmap.height, 0));
  if (uint64_t{w} * h > static_cast<uint64_t>(kMaxPixels)) {
    throw std::length_error("bitmap too large to embed");
  }
  uint32_t image_size = w * h * 4;
  uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<uint8_t> out;
  out.reserve(offset + image_size);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + image_size);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, kInfoHeaderSize);
  Put32(out, w);
  Put32(out, h);  // bottom-up
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, kRgb);
  Put32(out, image_size);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  out.resize(offset + image_size);
  size_t available = bitmap.pixels.size();
  for (uint32_t r = 0; r < h; ++r) {
    size_t y = h - 1 - r;
    size_t first = y * w;
    size_t count = first < available ? std::min<size_t>(w, available - first) : 0;
    if (count) std::memcpy(out.data() + offset + size_t{r} * w * 4, &bitmap.pixels[first], count * 4);
  }
  return out;
}

std::unique_ptr<RBitmap> CStream::ReadBitmap() {
  if (!ReadBoolean()) return nullptr;
  size_t start = pos_;
  size_t n = ReadLength();  // a block running past the end is a read error
  pos_ = start;
  std::unique_ptr<CStream> file;
  try {
    file = ReadStreamC();
  } catch (const StreamFormatError&) {
    file = nullptr;
  } catch (const StreamReadError&) {
    file = nullptr;  // the zlib stream ended inside the block
  }
  if (!file) {
    pos_ = start + 4 + n;  // the block is skipped; reading goes on after it
    return nullptr;
  }
  return DecodeBmp(file->Data(), file->Size());
}

void CStream::WriteBitmap(const RBitmap* bitmap) {
  WriteBoolean(bitmap != nullptr);
  if (!bitmap) return;
  CStream file(EncodeBmp(*bitmap));
  WriteStreamC(file);
}
