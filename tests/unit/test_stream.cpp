// test_stream.cpp: CStream encodings, sub-streams, bitmaps, the text form,
// the byte substitutions, the check value and the game data unscrambling.
#include <gtest/gtest.h>
#include <zlib.h>

#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <numeric>

#include "common/random.h"
#include "common/support_stream.h"

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<uint8_t> out;
  for (int b : list) out.push_back(static_cast<uint8_t>(b));
  return out;
}

std::vector<uint8_t> Pattern(size_t n, uint32_t seed = 1) {
  std::vector<uint8_t> out(n);
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    out[i] = static_cast<uint8_t>(seed >> 16);
  }
  return out;
}

CStream StreamWithInteger(int32_t v) {
  CStream s;
  s.WriteInteger(v);
  s.Seek(0);
  return s;
}

TEST(StreamTest, PrimitivesAreLittleEndian) {
  CStream s;
  s.WriteInteger(0x01020304);
  s.WriteReal(1.0);
  s.WriteBoolean(true);
  s.WriteBoolean(false);
  EXPECT_EQ(s.Bytes(), Bytes({4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 1, 0, 0, 0, 0, 0, 0, 0}));
  s.Seek(0);
  EXPECT_EQ(s.ReadInteger(), 0x01020304);
  EXPECT_EQ(s.ReadReal(), 1.0);
  EXPECT_TRUE(s.ReadBoolean());
  EXPECT_FALSE(s.ReadBoolean());
  EXPECT_EQ(s.Position(), s.Size());
}

TEST(StreamTest, BooleanIsTrueWhenPositive) {
  struct Case { int32_t stored; bool value; };
  for (Case c : {Case{-1, false}, {0, false}, {1, true}, {7, true}, {INT32_MIN, false}}) {
    CStream s = StreamWithInteger(c.stored);
    EXPECT_EQ(s.ReadBoolean(), c.value) << c.stored;
  }
}

TEST(StreamTest, StringsAreOneBytePerCharacter) {
  struct Case { VString written; std::vector<uint8_t> bytes; VString read; };
  for (const Case& c : {Case{u"\u00E9", Bytes({1, 0, 0, 0, 0xE9}), u"\u00E9"},
                        {u"\u20AC", Bytes({1, 0, 0, 0, 0xAC}), u"\u00AC"},
                        {u"", Bytes({0, 0, 0, 0}), u""},
                        {u"Ab", Bytes({2, 0, 0, 0, 'A', 'b'}), u"Ab"}}) {
    CStream s;
    s.WriteString(c.written);
    EXPECT_EQ(s.Bytes(), c.bytes);
    s.Seek(0);
    EXPECT_EQ(s.ReadString(), c.read);
  }
}

TEST(StreamTest, NonPositiveStringCountReadsEmpty) {
  for (int32_t count : {0, -1, INT32_MIN}) {
    CStream s = StreamWithInteger(count);
    EXPECT_EQ(s.ReadString(), u"");
    EXPECT_EQ(s.Position(), 4u);
  }
}

TEST(StreamTest, ReadingPastTheEndRaises) {
  CStream s(Bytes({1, 2, 3}));
  EXPECT_THROW(s.ReadInteger(), StreamReadError);
  s.Seek(0);
  EXPECT_THROW(s.ReadReal(), StreamReadError);
  s.Seek(10);  // beyond the end
  uint8_t b;
  EXPECT_THROW(s.ReadBytes(&b, 1), StreamReadError);
  s.Seek(2);
  EXPECT_THROW(s.Skip(2), StreamReadError);
  EXPECT_EQ(s.Position(), 2u);
}

// A huge length must raise before anything is allocated or read.
TEST(StreamTest, StringBeyondTheEndRaises) {
  for (int32_t length : {4, INT32_MAX}) {
    CStream s = StreamWithInteger(length);
    s.WriteBytes("abc", 3);
    s.Seek(0);
    EXPECT_THROW(s.ReadString(), StreamReadError) << length;
  }
}

TEST(StreamTest, BadSubStreamLengthsRaiseReadError) {
  using Reader = std::unique_ptr<CStream> (CStream::*)();
  for (Reader read : {&CStream::ReadStream, &CStream::ReadStreamC}) {
    for (int32_t length : {-1, INT32_MIN, 4, INT32_MAX}) {
      CStream s = StreamWithInteger(length);
      s.WriteBytes("ab", 2);
      s.Seek(0);
      EXPECT_THROW((s.*read)(), StreamReadError) << length;
    }
  }
}

TEST(StreamTest, EmptySubStream) {
  CStream s;
  s.WriteInteger(0);
  s.WriteInteger(99);
  s.Seek(0);
  std::unique_ptr<CStream> sub = s.ReadStream();
  EXPECT_EQ(sub->Size(), 0u);
  EXPECT_EQ(s.Position(), 4u);
  EXPECT_EQ(s.ReadInteger(), 99);
}

TEST(StreamTest, PlainSubStreamRoundTrip) {
  CStream inner(Pattern(1000));
  inner.Seek(17);
  CStream s;
  s.WriteStream(inner);
  EXPECT_EQ(inner.Position(), 17u);
  s.WriteInteger(-5);
  s.Seek(0);
  std::unique_ptr<CStream> back = s.ReadStream();
  EXPECT_EQ(back->Bytes(), inner.Bytes());
  EXPECT_EQ(back->Position(), 0u);
  EXPECT_EQ(s.ReadInteger(), -5);
}

TEST(StreamTest, CompressedSubStreamRoundTrip) {
  std::vector<uint8_t> compressible(300000);
  for (size_t i = 0; i < compressible.size(); ++i) compressible[i] = static_cast<uint8_t>(i / 1000);
  for (const std::vector<uint8_t>& payload : {std::vector<uint8_t>{}, Pattern(1), Pattern(100000),
                                              compressible}) {
    CStream inner(payload);
    inner.Seek(3);
    CStream s;
    s.WriteStreamC(inner);
    s.WriteInteger(42);
    EXPECT_EQ(inner.Position(), 3u);
    // The block is a plain zlib stream.
    std::vector<uint8_t> plain(payload.size() + 1);
    uLongf plain_size = plain.size();
    ASSERT_EQ(uncompress(plain.data(), &plain_size, s.Data() + 4, s.Size() - 8), Z_OK);
    EXPECT_EQ(plain_size, payload.size());
    s.Seek(0);
    std::unique_ptr<CStream> back = s.ReadStreamC();
    EXPECT_EQ(back->Bytes(), payload);
    EXPECT_EQ(back->Position(), 0u);
    EXPECT_EQ(s.ReadInteger(), 42);
  }
}

// A compressed block of payload, for damaging.
CStream CompressedBlock(const std::vector<uint8_t>& payload) {
  CStream inner(payload);
  CStream s;
  s.WriteStreamC(inner);
  s.Seek(0);
  return s;
}

TEST(StreamTest, TruncatedCompressedDataRaisesReadError) {
  CStream s = CompressedBlock(Pattern(5000));
  s.Bytes().erase(s.Bytes().end() - 10, s.Bytes().end());  // the declared length runs past the end
  EXPECT_THROW(s.ReadStreamC(), StreamReadError);

  CStream cut = CompressedBlock(Pattern(5000));
  int32_t shorter = static_cast<int32_t>(cut.Size() - 4 - 100);
  std::memcpy(cut.Data(), &shorter, 4);  // the zlib stream itself ends early
  cut.Bytes().erase(cut.Bytes().begin() + 4 + shorter, cut.Bytes().end());
  EXPECT_THROW(cut.ReadStreamC(), StreamReadError);
}

TEST(StreamTest, CorruptCompressedDataRaisesFormatError) {
  for (size_t offset : {size_t{4}, size_t{0} /* from the end: the check value */}) {
    CStream s = CompressedBlock(Pattern(5000));
    size_t at = offset ? offset : s.Size() - 1;
    s.Data()[at] ^= 0x5A;
    EXPECT_THROW(s.ReadStreamC(), StreamFormatError) << at;
  }
}

TEST(StreamTest, ScrambledSubStreamRoundTrip) {
  for (size_t n : {0, 1, 2, 255, 256, 257, 70000}) {
    std::vector<uint8_t> payload = Pattern(n, static_cast<uint32_t>(n));
    CStream inner(payload);
    CStream s;
    s.WriteStreamE(inner);
    s.WriteInteger(7);
    if (n == 70000) {
      EXPECT_NE(inner.Bytes(), payload) << "the source is left scrambled";
    }
    // A, B in 100..599, then A integers, the key, B integers, the length.
    s.Seek(0);
    int32_t a = s.ReadInteger(), b = s.ReadInteger();
    EXPECT_GE(a, 100);
    EXPECT_LT(a, 600);
    EXPECT_GE(b, 100);
    EXPECT_LT(b, 600);
    EXPECT_EQ(s.Size(), 8 + 4u * a + 256 + 4u * b + 4 + n + 4);
    s.Seek(0);
    std::unique_ptr<CStream> back = s.ReadStreamE();
    EXPECT_EQ(back->Bytes(), payload) << n;
    EXPECT_EQ(back->Position(), 0u);
    EXPECT_EQ(s.ReadInteger(), 7);
  }
}

// A scrambled stream built by hand, with the key permutation p[i] = 37i + 11
// and no padding, reads back as the plain bytes m[i] = i * i + 3.
TEST(StreamTest, ScrambledSubStreamKnownBytes) {
  CStream s;
  s.WriteInteger(0);
  s.WriteInteger(0);
  for (int i = 0; i < 256; ++i) {
    uint8_t p = static_cast<uint8_t>(i * 37 + 11);
    s.WriteBytes(&p, 1);
  }
  std::vector<uint8_t> scrambled = Bytes({108, 59, 112, 173, 92, 207, 224, 17, 44, 99, 240, 53, 92,
                                          119, 32, 153, 108, 139, 240, 189});
  s.WriteInteger(static_cast<int32_t>(scrambled.size()));
  s.WriteBytes(scrambled.data(), scrambled.size());
  s.Seek(0);
  std::unique_ptr<CStream> back = s.ReadStreamE();
  std::vector<uint8_t> plain;
  for (int i = 0; i < 20; ++i) plain.push_back(static_cast<uint8_t>(i * i + 3));
  EXPECT_EQ(back->Bytes(), plain);
}

TEST(StreamTest, ScrambledSubStreamBadPaddingRaisesReadError) {
  for (int32_t a : {-1, INT32_MIN, INT32_MAX, 1000}) {
    CStream s;
    s.WriteInteger(a);
    s.WriteInteger(100);
    s.WriteBytes(Pattern(2000).data(), 2000);
    s.Seek(0);
    EXPECT_THROW(s.ReadStreamE(), StreamReadError) << a;
  }
}

TEST(StreamTest, WritingPastTheEndGrowsWithZeros) {
  CStream s;
  s.Seek(3);
  s.WriteInteger(-1);
  EXPECT_EQ(s.Bytes(), Bytes({0, 0, 0, 255, 255, 255, 255}));
  s.Seek(1);
  s.WriteInteger(0x01010101);  // overwrites in place
  EXPECT_EQ(s.Bytes(), Bytes({0, 1, 1, 1, 1, 255, 255}));
}

TEST(StreamTest, CheckSumReducesModuloOneMillion) {
  EXPECT_EQ(CStream().CheckSum(), 0);
  EXPECT_EQ(CStream(Bytes({1, 2, 250})).CheckSum(), 253);
  EXPECT_EQ(CStream(std::vector<uint8_t>(4000, 255)).CheckSum(), 20000);
}

TEST(StreamTest, HexTextForm) {
  EXPECT_EQ(CStream(Bytes({0x0A, 0xFF, 0x00, 0x5c})).ConvertToString(), "0AFF005C");
  EXPECT_EQ(CStream().ConvertToString(), "");
  struct Case { const char* text; std::vector<uint8_t> bytes; };
  for (const Case& c : {Case{"0aFf1", Bytes({0x0A, 0xFF})}, {"", {}}, {"7", {}},
                        {"0AFF005C", Bytes({0x0A, 0xFF, 0x00, 0x5C})}}) {
    CStream s(Bytes({1, 2, 3}));
    s.Seek(2);
    s.ConvertFromString(c.text);
    EXPECT_EQ(s.Bytes(), c.bytes) << c.text;
    EXPECT_EQ(s.Position(), 0u);
  }
  for (const char* bad : {"0G", "zz", " 1", "-1", "1x"}) {
    CStream s;
    EXPECT_THROW(s.ConvertFromString(bad), StreamFormatError) << bad;
  }
}

const int32_t kKeys[] = {0, 1, 249, 250, 251, 12345, -1, -249, -250, -7777, -64249, -70000,
                         INT32_MAX, INT32_MIN};

TEST(StreamTest, DecryptUndoesEncrypt) {
  std::vector<uint8_t> all(512);
  std::iota(all.begin(), all.end(), 0);
  for (int32_t key : kKeys) {
    CStream s(all);
    s.Encrypt(key, 0, 0);
    EXPECT_EQ(s.Data()[0], 0) << "byte 0 is never moved, key " << key;
    EXPECT_NE(s.Bytes(), all) << key;
    s.Decrypt(key, 0, 0);
    EXPECT_EQ(s.Bytes(), all) << key;
    s.Encrypt2(key, 0, 0);
    EXPECT_NE(s.Bytes(), all) << key;
    s.Decrypt2(key, 0, 0);
    EXPECT_EQ(s.Bytes(), all) << key;
  }
}

TEST(StreamTest, SubstitutionKnownValues) {
  struct Case { int32_t key; std::vector<uint8_t> encrypted; std::vector<uint8_t> encrypted2; };
  // Plain bytes 0, 1, 2, 3, 250, 251, 252, 253 from position 0.
  for (const Case& c : {Case{12345, Bytes({0, 0x3b, 0x3d, 0x3a}), Bytes({0, 61, 62, 56, 133, 0, 61, 62})},
                        {-7777, Bytes({0, 0x5e, 0x60, 0x5b}), Bytes({0, 96, 89, 86, 188, 0, 96, 89})},
                        {0, Bytes({0, 1, 2, 4}), Bytes({0, 2, 3, 5, 253, 0, 2, 3})}}) {
    CStream s(Bytes({0, 1, 2, 3}));
    s.Encrypt(c.key, 0, 0);
    EXPECT_EQ(s.Bytes(), c.encrypted) << c.key;
    CStream s2(Bytes({0, 1, 2, 3, 250, 251, 252, 253}));
    s2.Encrypt2(c.key, 0, -5);
    EXPECT_EQ(s2.Bytes(), c.encrypted2) << c.key;
  }
}

TEST(StreamTest, SubstitutionRange) {
  std::vector<uint8_t> plain(10, 77);
  struct Case { int32_t pos, count; size_t first, last; };
  for (Case c : {Case{2, 3, 2, 5}, {2, 0, 2, 10}, {2, -1, 2, 10}, {8, 100, 8, 10}, {10, 1, 10, 10},
                 {50, 1, 10, 10}, {-5, 2, 0, 2}, {0, INT32_MAX, 0, 10}}) {
    CStream s(plain);
    s.Encrypt2(3, c.pos, c.count);
    for (size_t i = 0; i < plain.size(); ++i) {
      bool inside = i >= c.first && i < c.last;
      EXPECT_EQ(s.Data()[i] != 77, inside) << c.pos << "," << c.count << " byte " << i;
    }
  }
}

TEST(StreamTest, CalcCrcIsComplementOfCrc32) {
  CStream::InitFastCRC();
  EXPECT_EQ(CStream::CalcCRC(reinterpret_cast<const uint8_t*>("abc"), 3), 0xCADBBE3Du);
  EXPECT_EQ(CStream::CalcCRC(nullptr, 0), 0xFFFFFFFFu);
  EXPECT_EQ(CStream::CalcCRC(reinterpret_cast<const uint8_t*>("abc"), -3), 0xFFFFFFFFu);
  std::vector<uint8_t> data = Pattern(10000);
  for (size_t start : {0, 1, 3, 7}) {
    for (size_t n : {1, 7, 8, 9, 15, 16, 17, 1000, 9993}) {
      uint32_t standard = static_cast<uint32_t>(crc32(0, data.data() + start, n));
      EXPECT_EQ(CStream::CalcCRC(data.data() + start, n), ~standard) << start << "+" << n;
    }
  }
}

TEST(StreamTest, LocalRandomSteps) {
  uint32_t z = 1, w = 1;
  EXPECT_EQ(CStream::LocalRandom(z, w), (36969u << 16) + 18000u);
  EXPECT_EQ(z, 36969u);
  EXPECT_EQ(w, 18000u);
  z = 0xFFFFFFFFu, w = 0xFFFFFFFFu;
  CStream::LocalRandom(z, w);
  EXPECT_EQ(z, 36969u * 0xFFFF + 0xFFFF);
  EXPECT_EQ(w, 18000u * 0xFFFF + 0xFFFF);
}

TEST(StreamTest, WadKeyText) {
  EXPECT_EQ(WadKeyText(0), u"VXGD0LOCK");
  EXPECT_EQ(WadKeyText(4000000000u), u"VXGD4000000000LOCK");
}

// Game data at offset 5: junk, 12 header bytes, then the payload.
CStream WadStream(const std::vector<uint8_t>& payload) {
  CStream s(Bytes({9, 9, 9, 9, 9}));
  s.Seek(5);
  s.WriteBytes(Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0xA1, 0xA2, 0xA3, 0xA4}).data(), 12);
  s.WriteBytes(payload.data(), payload.size());
  return s;
}

TEST(StreamTest, WadKnownScrambling) {
  std::vector<uint8_t> payload(300);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 7);
  CStream s = WadStream(payload);
  s.EncryptWad(5, 4000000000u);
  uint32_t seed, check;
  std::memcpy(&seed, s.Data() + 5, 4);
  std::memcpy(&check, s.Data() + 9, 4);
  EXPECT_EQ(seed, 4000000000u);
  EXPECT_EQ(check, 0x1FFF4E04u);
  EXPECT_EQ(CStream::CalcCRC(s.Data() + 17, 300), 0xB26913A4u);
  // The key's low byte gives the start offset 163: bytes before stay plain.
  EXPECT_TRUE(std::equal(payload.begin(), payload.begin() + 163, s.Data() + 17));
  EXPECT_EQ(s.Data()[13], 0xA1) << "header bytes 8..11 are left alone";
}

TEST(StreamTest, DecryptWadUndoesEncryptWad) {
  for (size_t n : {0, 1, 5, 6, 200, 300, 1000, 200000}) {
    std::vector<uint8_t> payload = Pattern(n, static_cast<uint32_t>(n));
    CStream s = WadStream(payload);
    s.EncryptWad(5, static_cast<uint32_t>(n * 31 + 1));
    if (n >= 1000) {
      EXPECT_FALSE(std::equal(payload.begin(), payload.end(), s.Data() + 17));
    }
    ASSERT_TRUE(s.DecryptWad(5)) << n;
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), s.Data() + 17)) << n;
    EXPECT_EQ(s.Data()[0], 9);
  }
}

TEST(StreamTest, DecryptWadDetectsDamage) {
  std::vector<uint8_t> payload = Pattern(5000);
  for (size_t at : {size_t{5}, size_t{9}, size_t{17}, size_t{2000}, size_t{5016}}) {
    CStream s = WadStream(payload);
    s.EncryptWad(5, 77);
    s.Data()[at] ^= 1;
    EXPECT_FALSE(s.DecryptWad(5)) << at;
  }
  CStream tiny(Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_FALSE(tiny.DecryptWad(0));
  EXPECT_FALSE(tiny.DecryptWad(100));
}

RBitmap TestBitmap(int w, int h) {
  RBitmap bm;
  bm.width = w;
  bm.height = h;
  for (int i = 0; i < w * h; ++i) bm.pixels.push_back(0x80000000u * (i % 2) + 0x10203 * i + 0x7F);
  return bm;
}

TEST(StreamTest, BitmapRoundTrip) {
  RBitmap bm = TestBitmap(3, 2);
  CStream s;
  s.WriteBitmap(&bm);
  s.WriteBitmap(nullptr);
  s.WriteInteger(5);
  s.Seek(0);
  std::unique_ptr<RBitmap> back = s.ReadBitmap();
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 3);
  EXPECT_EQ(back->height, 2);
  EXPECT_EQ(back->pixels, bm.pixels);
  EXPECT_FALSE(s.ReadBitmap());
  EXPECT_EQ(s.ReadInteger(), 5);
}

TEST(StreamTest, UndecodableBitmapReadsAsNone) {
  CStream garbage(Pattern(100));
  CStream s;
  s.WriteBoolean(true);
  s.WriteStreamC(garbage);  // not a BMP file
  s.WriteBoolean(true);
  s.WriteInteger(3);
  s.WriteBytes("xyz", 3);  // not a zlib stream
  CStream cut = CompressedBlock(Pattern(5000));
  int32_t shorter = 50;
  s.WriteBoolean(true);
  s.WriteInteger(shorter);
  s.WriteBytes(cut.Data() + 4, shorter);  // a zlib stream that ends early
  s.WriteInteger(5);
  s.Seek(0);
  EXPECT_FALSE(s.ReadBitmap());
  EXPECT_FALSE(s.ReadBitmap());
  EXPECT_FALSE(s.ReadBitmap());
  EXPECT_EQ(s.ReadInteger(), 5);
}

TEST(StreamTest, BitmapBlockPastTheEndRaises) {
  CStream s;
  s.WriteBoolean(true);
  s.WriteInteger(1000);
  s.WriteBytes("xyz", 3);
  s.Seek(0);
  EXPECT_THROW(s.ReadBitmap(), StreamReadError);
}

// Builds a BMP file: file header, 40-byte info header, palette, rows.
std::vector<uint8_t> Bmp(int32_t w, int32_t h, int bpp, const std::vector<uint32_t>& palette,
                         const std::vector<uint8_t>& rows, uint32_t compression = 0) {
  std::vector<uint8_t> out;
  auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> 8 * i)); };
  auto put16 = [&](uint16_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
  uint32_t offset = 54 + 4 * static_cast<uint32_t>(palette.size());
  out.push_back('B');
  out.push_back('M');
  put32(offset + static_cast<uint32_t>(rows.size()));
  put32(0);
  put32(offset);
  put32(40);
  put32(static_cast<uint32_t>(w));
  put32(static_cast<uint32_t>(h));
  put16(1);
  put16(static_cast<uint16_t>(bpp));
  put32(compression);
  put32(0);
  put32(0);
  put32(0);
  put32(static_cast<uint32_t>(palette.size()));
  put32(0);
  for (uint32_t c : palette) put32(c);
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

TEST(StreamTest, DecodesBmpDepths) {
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    std::vector<uint32_t> pixels;  // top to bottom
  };
  const uint32_t red = 0xFFFF0000u, green = 0xFF00FF00u, blue = 0xFF0000FFu, black = 0xFF000000u;
  std::vector<Case> cases = {
      // 2x2, bottom-up: the first row in the file is the bottom row; rows pad to 4 bytes.
      {"24-bit", Bmp(2, 2, 24, {}, Bytes({255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0})),
       {red, black, blue, green}},
      {"8-bit top-down", Bmp(3, -1, 8, {0xFF0000, 0x00FF00}, Bytes({1, 0, 200, 0})),
       {green, red, black}},
      {"4-bit", Bmp(3, 1, 4, {0xFF0000, 0x00FF00, 0x0000FF}, Bytes({0x21, 0x00, 0, 0})),
       {blue, green, red}},
      {"1-bit", Bmp(9, 1, 1, {0x000000, 0x0000FF}, Bytes({0x81, 0x80, 0, 0})),
       {blue, black, black, black, black, black, black, blue, blue}},
      {"32-bit alpha", Bmp(2, 1, 32, {}, Bytes({1, 2, 3, 0, 4, 5, 6, 128})), {0x00030201u, 0x80060504u}},
      {"32-bit no alpha", Bmp(2, 1, 32, {}, Bytes({1, 2, 3, 0, 4, 5, 6, 0})), {0xFF030201u, 0xFF060504u}},
      {"16-bit 555", Bmp(1, 1, 16, {}, Bytes({0x1F, 0x7C, 0, 0})), {0xFFFF00FFu}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<RBitmap> bm = DecodeBmp(c.file.data(), c.file.size());
    ASSERT_TRUE(bm) << c.name;
    EXPECT_EQ(bm->pixels, c.pixels) << c.name;
  }
}

TEST(StreamTest, RejectsHostileBmp) {
  std::vector<uint8_t> good = Bmp(2, 2, 24, {}, std::vector<uint8_t>(16, 0));
  ASSERT_TRUE(DecodeBmp(good.data(), good.size()));
  auto patched = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> f = good;
    std::memcpy(f.data() + at, &v, 4);
    return f;
  };
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"huge width", patched(18, 0x7FFFFFFF)},
      {"zero width", patched(18, 0)},
      {"negative width", patched(18, 0xFFFFFFFF)},
      {"minimum height", patched(22, 0x80000000)},
      {"pixels beyond the file", patched(22, 3)},
      {"pixel offset beyond the file", patched(10, 0xFFFFFFF0)},
      {"huge header", patched(14, 0xFFFFFFFF)},
      {"small header", patched(14, 20)},
      {"unknown depth", patched(26, 0x00070001)},
      {"run-length compression", patched(30, 1)},
      {"truncated", std::vector<uint8_t>(good.begin(), good.begin() + 60)},
      {"no signature", patched(0, 0)},
      {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 16)},
      {"huge palette", Bmp(1, 1, 8, {}, Bytes({0, 0, 0, 0}))},
  };
  // The palette count field claims more entries than the file holds.
  std::memcpy(cases.back().second.data() + 46, "\xFF\xFF\xFF\x00", 4);
  for (const auto& [name, file] : cases) {
    EXPECT_FALSE(DecodeBmp(file.data(), file.size())) << name;
  }
  EXPECT_FALSE(DecodeBmp(nullptr, 0));
}

TEST(StreamTest, FileRoundTrip) {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("vexlo_stream_test_" + std::to_string(::getpid()))).string();
  CStream s(Pattern(1000));
  ASSERT_TRUE(s.SaveToFile(path));
  CStream back;
  back.WriteInteger(1);
  ASSERT_TRUE(back.LoadFromFile(path));
  EXPECT_EQ(back.Bytes(), s.Bytes());
  EXPECT_EQ(back.Position(), 0u);
  std::filesystem::remove(path);
  EXPECT_FALSE(back.LoadFromFile(path));
  EXPECT_EQ(back.Bytes(), s.Bytes()) << "a failed load leaves the stream alone";
}

}  // namespace
