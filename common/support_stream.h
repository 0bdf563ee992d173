// support_stream.h: CStream, the one binary container of the runner. The game
// data file, every resource record in it, saved games, extension payloads and
// the text form of data structures are read and written through it: typed
// little-endian reads and writes, plain, zlib and self-keyed scrambled
// sub-streams, embedded bitmaps, a hexadecimal text form, the byte
// substitutions and the checked unscrambling of appended game data, with the
// inverse operations the builder needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/value.h"

// Reading past the end of a stream.
class StreamReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Corrupt compressed data or a text that is not hexadecimal.
class StreamFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A decoded bitmap: pixels top to bottom, left to right, each 0xAARRGGBB.
struct RBitmap {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

class CStream {
 public:
  CStream() = default;
  explicit CStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

  // Buffer access.
  size_t Size() const { return data_.size(); }
  size_t Position() const { return pos_; }
  void Seek(size_t pos) { pos_ = pos; }
  void Clear() { data_.clear(); pos_ = 0; }
  uint8_t* Data() { return data_.data(); }
  const uint8_t* Data() const { return data_.data(); }
  std::vector<uint8_t>& Bytes() { return data_; }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  bool LoadFromFile(const std::string& path);
  bool SaveToFile(const std::string& path) const;

  // Raw bytes at the position; a short read raises StreamReadError.
  void ReadBytes(void* dst, size_t n);
  void WriteBytes(const void* src, size_t n);
  void Skip(size_t n);

  // Typed values.
  int32_t ReadInteger();
  double ReadReal();
  bool ReadBoolean();  // true when the stored integer is > 0
  VString ReadString();  // one Latin-1 byte per character
  void WriteInteger(int32_t v);
  void WriteReal(double v);
  void WriteBoolean(bool v);
  void WriteString(const VString& s);  // low 8 bits of each unit

  // Sub-streams. Reads return a new stream positioned at 0. A negative
  // length, or one beyond the end, raises StreamReadError before anything is
  // allocated. ReadStreamC raises StreamFormatError for corrupt data and
  // StreamReadError when the zlib stream ends early; the block counts as read
  // either way.
  std::unique_ptr<CStream> ReadStream();
  std::unique_ptr<CStream> ReadStreamC();
  std::unique_ptr<CStream> ReadStreamE();
  // As ReadStreamE, but the block's bytes move out of this stream instead of
  // being copied (the loader's file buffer becomes the game body, so the
  // file and the body are never in memory twice). This stream is left empty.
  std::unique_ptr<CStream> TakeStreamE();
  void WriteStream(const CStream& s);
  void WriteStreamC(const CStream& s);
  // Leaves s scrambled, as the format does.
  void WriteStreamE(CStream& s);

  // Bitmaps: a presence flag and a compressed BMP file. ReadBitmap returns
  // null when absent, undecodable or not a valid zlib stream (no error); a
  // block running past the end of the stream still raises StreamReadError.
  std::unique_ptr<RBitmap> ReadBitmap();
  void WriteBitmap(const RBitmap* bitmap);

  // Sum of all bytes, reduced modulo 1,000,000 after each addition.
  int32_t CheckSum() const;

  // Two uppercase hexadecimal digits per byte.
  std::string ConvertToString() const;
  // Replaces the content; an odd last character is ignored; a pair that is
  // not hexadecimal raises StreamFormatError.
  void ConvertFromString(std::string_view text);

  // Byte substitution in place from byte pos for count bytes (count <= 0:
  // to the end), cut to the bytes the stream holds. Tables are built per call,
  // so calls never share state.
  void Encrypt(int32_t key, int32_t pos, int32_t count);
  void Decrypt(int32_t key, int32_t pos, int32_t count);
  void Encrypt2(int32_t key, int32_t pos, int32_t count);
  void Decrypt2(int32_t key, int32_t pos, int32_t count);

  static void InitFastCRC();
  // CRC register after size bytes, without the final inversion (the
  // complement of the standard CRC-32); FFFFFFFF for size <= 0.
  static uint32_t CalcCRC(const uint8_t* buffer, int64_t size);
  static uint32_t LocalRandom(uint32_t& z, uint32_t& w);

  // Unscrambles in place the game data at base_offset (seed, check value,
  // payload from base_offset + 12). Returns false when the check fails; the
  // caller then ends the program.
  bool DecryptWad(size_t base_offset);
  // Inverse for the builder: the stream holds 12 placeholder bytes at
  // base_offset followed by the plain payload; writes the seed and the check
  // value and scrambles the payload.
  void EncryptWad(size_t base_offset, uint32_t seed);

 private:
  void Require(size_t n) const;
  // A sub-stream length; negative or beyond the end raises StreamReadError.
  size_t ReadLength();

  std::vector<uint8_t> data_;
  size_t pos_ = 0;
};

// BMP coding used by embedded bitmaps (exposed for the builder and tests).
// Encoding writes a bottom-up 32-bit image with the alpha byte. Decoding
// takes uncompressed 1, 4, 8, 16, 24 and 32-bit images; a 32-bit image whose
// every alpha byte is 0 did not use it and decodes opaque; other depths are
// opaque. Returns null for anything it cannot decode.
std::vector<uint8_t> EncodeBmp(const RBitmap& bitmap);
std::unique_ptr<RBitmap> DecodeBmp(const uint8_t* data, size_t size);

// The key text of DecryptWad for seed s: "VXGD" + decimal s + "LOCK".
VString WadKeyText(uint32_t seed);
