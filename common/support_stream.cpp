// support_stream.cpp: CStream's typed reads and writes, plain, compressed and
// scrambled sub-streams, the hexadecimal text form and the byte
// substitutions. Bitmaps are in support_stream_bitmap.cpp, the check value
// and the unscrambling of appended game data in support_stream_wad.cpp.
#include "common/support_stream.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <new>

#include "common/random.h"
#include "common/support_file.h"

static_assert(std::endian::native == std::endian::little,
              "streams copy little-endian values straight from memory");

namespace {

// Sub-stream lengths are stored as 32-bit signed integers.
constexpr size_t kMaxSubStream = INT32_MAX;

[[noreturn]] void ThrowReadError() { throw StreamReadError("Stream read error"); }

int32_t CheckedLength(size_t n) {
  if (n > kMaxSubStream) throw std::length_error("stream too large for a 32-bit length");
  return static_cast<int32_t>(n);
}

// Decompressed bytes collect in pieces that are kept between calls, so the
// result is allocated once, at its exact size, and no memory is touched that
// the result does not need.
constexpr size_t kPieceSize = size_t{1} << 18;
constexpr size_t kPiecesKept = 16;

struct InflatePieces {
  std::vector<std::unique_ptr<uint8_t[]>> pieces;
  uint8_t* Get(size_t k) {
    if (k == pieces.size()) pieces.push_back(std::make_unique<uint8_t[]>(kPieceSize));
    return pieces[k].get();
  }
  void Trim() {
    if (pieces.size() > kPiecesKept) pieces.resize(kPiecesKept);
  }
};

// Gives back the pieces beyond those kept, also when inflating fails.
struct TrimOnExit {
  InflatePieces& store;
  ~TrimOnExit() { store.Trim(); }
};

// Inflates one zlib stream held in src into out. Corrupt data raises
// StreamFormatError; data that ends before the zlib stream does raises
// StreamReadError.
// The one-shot decoder of the zlib format: about twice as fast as zlib's
// streaming inflate. It decodes into a reused scratch buffer that doubles
// when a block does not fit (up to the largest stream), then the result is
// copied out at its exact size. False when the data is not a whole, valid
// block or is very large; the streaming path then decodes it or decides the
// exact error.
bool InflateOneShot(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
  struct Decoder {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    ~Decoder() { libdeflate_free_decompressor(d); }
  };
  thread_local Decoder decoder;
  thread_local std::vector<uint8_t> scratch;
  constexpr size_t kInitialScratch = size_t{16} << 20;
  constexpr size_t kKeptScratch = size_t{64} << 20;
  constexpr size_t kLargestOneShot = size_t{256} << 20;  // larger: streamed
  if (decoder.d == nullptr) return false;
  if (scratch.size() < kInitialScratch) {
    Buffer_Reserve(scratch, kInitialScratch);
    scratch.resize(kInitialScratch);
  }
  bool ok = false;
  for (;;) {
    size_t used_in = 0, produced = 0;
    libdeflate_result r = libdeflate_zlib_decompress_ex(decoder.d, src, n, scratch.data(),
                                                        scratch.size(), &used_in, &produced);
    if (r == LIBDEFLATE_SUCCESS) {
      Buffer_Reserve(out, produced);
      out.assign(scratch.data(), scratch.data() + produced);
      ok = true;
      break;
    }
    if (r != LIBDEFLATE_INSUFFICIENT_SPACE || scratch.size() >= kLargestOneShot) break;
    scratch.resize(scratch.size() * 2);
  }
  if (scratch.size() > kKeptScratch) std::vector<uint8_t>().swap(scratch);
  return ok;
}

void InflateStreaming(const uint8_t* src, size_t n, std::vector<uint8_t>& out);

void Inflate(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
  if (!InflateOneShot(src, n, out)) InflateStreaming(src, n, out);
}

void InflateStreaming(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
  thread_local InflatePieces store;
  TrimOnExit trim{store};
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw std::bad_alloc();
  z.next_in = const_cast<Bytef*>(src);
  z.avail_in = static_cast<uInt>(n);
  size_t pieces = 0;
  int ret = Z_OK;
  while (ret != Z_STREAM_END) {
    if (z.avail_out == 0) {
      if (pieces * kPieceSize >= kMaxSubStream) {
        ret = Z_DATA_ERROR;  // larger than any stream can be
        break;
      }
      z.next_out = store.Get(pieces++);
      z.avail_out = static_cast<uInt>(kPieceSize);
    }
    ret = inflate(&z, Z_NO_FLUSH);
    if (ret == Z_OK || ret == Z_STREAM_END) continue;
    if (ret == Z_BUF_ERROR && z.avail_out == 0) continue;  // the piece is full
    break;
  }
  bool truncated = ret == Z_BUF_ERROR && z.avail_in == 0;
  inflateEnd(&z);
  if (ret == Z_MEM_ERROR) throw std::bad_alloc();
  if (truncated) throw StreamReadError("Compressed data ends early");
  if (ret != Z_STREAM_END) throw StreamFormatError("Corrupt compressed data");
  size_t total = pieces * kPieceSize - z.avail_out;
  Buffer_Reserve(out, total);
  for (size_t k = 0; k < pieces; ++k) {
    const uint8_t* piece = store.pieces[k].get();
    out.insert(out.end(), piece, piece + std::min(kPieceSize, total - k * kPieceSize));
  }
}

std::vector<uint8_t> Deflate(const uint8_t* src, size_t n) {
  z_stream z{};
  if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK) throw std::bad_alloc();
  std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(n)));
  z.next_in = const_cast<Bytef*>(src);
  z.avail_in = static_cast<uInt>(n);
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int ret = deflate(&z, Z_FINISH);
  out.resize(out.size() - z.avail_out);
  deflateEnd(&z);
  if (ret != Z_STREAM_END) throw std::runtime_error("compression failed");
  return out;
}

// Scrambling of WriteStreamE with the key permutation p: a swap pass that
// pulls bytes from up to 255 places back, then a chained substitution.
void Scramble(uint8_t* m, size_t len, const uint8_t p[256]) {
  for (size_t i = 0; i < len; ++i) {
    size_t back = p[i & 255];
    std::swap(m[i], m[i >= back ? i - back : 0]);
  }
  for (size_t i = 1; i < len; ++i) {
    m[i] = p[static_cast<uint8_t>(m[i] + m[i - 1] + i)];
  }
}

// Undoes Scramble back to front, in cache-sized blocks: a block's chained
// substitution is undone (each byte needs only its own and its predecessor's
// scrambled value, so going down leaves the predecessor intact), then every
// swap whose reach, at most 255 places back, lies in undone bytes.
void Unscramble(uint8_t* m, size_t len, const uint8_t p[256]) {
  constexpr size_t kBlock = size_t{1} << 14;
  uint8_t q[256];
  for (int i = 0; i < 256; ++i) q[p[i]] = static_cast<uint8_t>(i);
  size_t undone = len;  // m[undone..len) hold unsubstituted bytes
  size_t swaps = len;   // the swaps of indices >= swaps are undone
  while (swaps > 0) {
    size_t low = undone > kBlock ? undone - kBlock : 0;
    for (size_t k = undone; k-- > std::max<size_t>(low, 1);) {
      m[k] = static_cast<uint8_t>(q[m[k]] - m[k - 1] - k);
    }
    undone = low;
    size_t stop = undone == 0 ? 0 : undone + 255;
    // From index 255 up a swap never reaches below 0: no clamp needed.
    for (size_t fast_stop = std::max<size_t>(stop, 255); swaps > fast_stop;) {
      --swaps;
      std::swap(m[swaps], m[swaps - p[swaps & 255]]);
    }
    for (; swaps > stop;) {
      --swaps;
      size_t back = p[swaps & 255];
      std::swap(m[swaps], m[swaps >= back ? swaps - back : 0]);
    }
  }
}

// The forward (t) and inverse (u) byte substitutions for a key.
struct SubstitutionTables {
  uint8_t t[256];
  uint8_t u[256];
};

SubstitutionTables MakeSubstitution(int32_t key) {
  int64_t a = key % 250 + 6;
  if (a < 0) a += 256;
  int64_t b = key / 250;
  if (b < 0) b += 256;
  SubstitutionTables s;
  for (int i = 0; i < 256; ++i) s.t[i] = static_cast<uint8_t>(i);
  for (int64_t i = 1; i <= 10000; ++i) {
    // A very negative key leaves b negative; the residue is taken as 0..253 so
    // that j stays within 1..254 and entry 0 is never moved.
    int64_t j = (i * a + b) % 254;
    if (j < 0) j += 254;
    j += 1;
    std::swap(s.t[j], s.t[j + 1]);
  }
  s.u[0] = 0;
  for (int i = 1; i < 256; ++i) s.u[s.t[i]] = static_cast<uint8_t>(i);
  return s;
}

// The byte range [first, last) of a substitution call, cut to the stream.
void SubstitutionRange(size_t size, int32_t pos, int32_t count, size_t& first, size_t& last) {
  first = std::min(static_cast<size_t>(std::max(pos, 0)), size);
  last = count <= 0 ? size : std::min(size, first + static_cast<size_t>(count));
}

// Skips the random padding of a scrambled sub-stream.
void SkipIntegers(CStream& s, int32_t count) {
  if (count < 0) ThrowReadError();
  s.Skip(static_cast<size_t>(count) * 4);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool CStream::LoadFromFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(path, bytes)) return false;
  data_ = std::move(bytes);
  pos_ = 0;
  return true;
}

bool CStream::SaveToFile(const std::string& path) const {
  return File_WriteAtomic(path, data_.data(), data_.size());
}

void CStream::Require(size_t n) const {
  if (pos_ > data_.size() || n > data_.size() - pos_) ThrowReadError();
}

void CStream::ReadBytes(void* dst, size_t n) {
  Require(n);
  if (n) std::memcpy(dst, data_.data() + pos_, n);
  pos_ += n;
}

void CStream::WriteBytes(const void* src, size_t n) {
  if (n == 0) return;
  if (pos_ + n > data_.size()) data_.resize(pos_ + n);  // a gap left by Seek reads as zeros
  std::memcpy(data_.data() + pos_, src, n);
  pos_ += n;
}

void CStream::Skip(size_t n) {
  Require(n);
  pos_ += n;
}

int32_t CStream::ReadInteger() {
  int32_t v;
  ReadBytes(&v, 4);
  return v;
}

double CStream::ReadReal() {
  double v;
  ReadBytes(&v, 8);
  return v;
}

bool CStream::ReadBoolean() { return ReadInteger() > 0; }

VString CStream::ReadString() {
  int32_t n = ReadInteger();
  if (n <= 0) return VString();
  Require(static_cast<size_t>(n));
  const uint8_t* p = data_.data() + pos_;
  VString s(static_cast<size_t>(n), u'\0');
  for (int32_t i = 0; i < n; ++i) s[i] = p[i];
  pos_ += n;
  return s;
}

void CStream::WriteInteger(int32_t v) { WriteBytes(&v, 4); }

void CStream::WriteReal(double v) { WriteBytes(&v, 8); }

void CStream::WriteBoolean(bool v) { WriteInteger(v ? 1 : 0); }

void CStream::WriteString(const VString& s) {
  WriteInteger(CheckedLength(s.size()));
  std::string bytes = ToLatin1(s);
  WriteBytes(bytes.data(), bytes.size());
}

size_t CStream::ReadLength() {
  int32_t n = ReadInteger();
  if (n < 0) ThrowReadError();
  Require(static_cast<size_t>(n));
  return static_cast<size_t>(n);
}

std::unique_ptr<CStream> CStream::ReadStream() {
  size_t n = ReadLength();
  const uint8_t* p = data_.data() + pos_;
  pos_ += n;
  auto out = std::make_unique<CStream>();
  Buffer_Reserve(out->data_, n);
  out->data_.insert(out->data_.end(), p, p + n);
  return out;
}

std::unique_ptr<CStream> CStream::ReadStreamC() {
  size_t n = ReadLength();
  const uint8_t* p = data_.data() + pos_;
  pos_ += n;  // the block is consumed even when it turns out corrupt
  auto out = std::make_unique<CStream>();
  Inflate(p, n, out->data_);
  return out;
}

std::unique_ptr<CStream> CStream::ReadStreamE() {
  int32_t a = ReadInteger();
  int32_t b = ReadInteger();
  SkipIntegers(*this, a);
  uint8_t p[256];
  ReadBytes(p, 256);
  SkipIntegers(*this, b);
  std::unique_ptr<CStream> out = ReadStream();
  Unscramble(out->Data(), out->Size(), p);
  return out;
}

std::unique_ptr<CStream> CStream::TakeStreamE() {
  int32_t a = ReadInteger();
  int32_t b = ReadInteger();
  SkipIntegers(*this, a);
  uint8_t p[256];
  ReadBytes(p, 256);
  SkipIntegers(*this, b);
  size_t n = ReadLength();
  data_.erase(data_.begin(), data_.begin() + static_cast<std::ptrdiff_t>(pos_));
  data_.resize(n);
  auto out = std::make_unique<CStream>(std::move(data_));
  Clear();
  Unscramble(out->Data(), out->Size(), p);
  return out;
}

void CStream::WriteStream(const CStream& s) {
  WriteInteger(CheckedLength(s.Size()));
  WriteBytes(s.Data(), s.Size());
}

void CStream::WriteStreamC(const CStream& s) {
  CheckedLength(s.Size());  // larger content could never be read back
  std::vector<uint8_t> packed = Deflate(s.Data(), s.Size());
  WriteInteger(CheckedLength(packed.size()));
  WriteBytes(packed.data(), packed.size());
}

void CStream::WriteStreamE(CStream& s) {
  int32_t len = CheckedLength(s.Size());
  RandomSeedFromClock();
  uint8_t p[256];
  for (int i = 0; i < 256; ++i) p[i] = static_cast<uint8_t>(i);
  for (int i = 0; i < 256; ++i) std::swap(p[i], p[RandomInt(255)]);
  int32_t a = 100 + static_cast<int32_t>(RandomInt(500));
  int32_t b = 100 + static_cast<int32_t>(RandomInt(500));
  WriteInteger(a);
  WriteInteger(b);
  for (int32_t i = 0; i < a; ++i) WriteInteger(static_cast<int32_t>(RandomInt(268435455)));
  WriteBytes(p, 256);
  for (int32_t i = 0; i < b; ++i) WriteInteger(static_cast<int32_t>(RandomInt(268435455)));
  Scramble(s.Data(), s.Size(), p);
  WriteInteger(len);
  WriteBytes(s.Data(), s.Size());
}

int32_t CStream::CheckSum() const {
  // Reducing after every addition of a byte gives the total modulo 1,000,000.
  uint64_t sum = 0;
  for (uint8_t b : data_) sum += b;
  return static_cast<int32_t>(sum % 1000000);
}

std::string CStream::ConvertToString() const {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out(data_.size() * 2, '\0');
  for (size_t i = 0; i < data_.size(); ++i) {
    out[2 * i] = kDigits[data_[i] >> 4];
    out[2 * i + 1] = kDigits[data_[i] & 15];
  }
  return out;
}

void CStream::ConvertFromString(std::string_view text) {
  std::vector<uint8_t> bytes(text.size() / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
    if (hi < 0 || lo < 0) throw StreamFormatError("Not a hexadecimal text");
    bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
  }
  data_ = std::move(bytes);
  pos_ = 0;
}

void CStream::Encrypt(int32_t key, int32_t pos, int32_t count) {
  SubstitutionTables s = MakeSubstitution(key);
  size_t first, last;
  SubstitutionRange(data_.size(), pos, count, first, last);
  for (size_t p = first; p < last; ++p) data_[p] = s.t[data_[p]];
}

void CStream::Decrypt(int32_t key, int32_t pos, int32_t count) {
  SubstitutionTables s = MakeSubstitution(key);
  size_t first, last;
  SubstitutionRange(data_.size(), pos, count, first, last);
  for (size_t p = first; p < last; ++p) data_[p] = s.u[data_[p]];
}

void CStream::Encrypt2(int32_t key, int32_t pos, int32_t count) {
  SubstitutionTables s = MakeSubstitution(key);
  size_t first, last;
  SubstitutionRange(data_.size(), pos, count, first, last);
  for (size_t p = first; p < last; ++p) data_[p] = s.t[static_cast<uint8_t>(data_[p] + p)];
}

void CStream::Decrypt2(int32_t key, int32_t pos, int32_t count) {
  SubstitutionTables s = MakeSubstitution(key);
  size_t first, last;
  SubstitutionRange(data_.size(), pos, count, first, last);
  for (size_t p = first; p < last; ++p) data_[p] = static_cast<uint8_t>(s.u[data_[p]] - p);
}
