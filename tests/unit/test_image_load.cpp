// test_image_load.cpp: image files decoded at run time: PNG and BMP round
// trips, JPEG, animated GIF frame composition checked pixel for pixel, and
// truncated or damaged files, which must fail cleanly.
#include <gtest/gtest.h>

#include <cstdlib>

#include "motion/image_load.h"
#include "common/support_stream.h"
#include "tests/unit/image_test_support.h"

namespace {

using image_test::GifFrame;
using image_test::MakeGif;

constexpr TColor32 kCanvas = kGifCanvasColor;
const GifColorType kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRedC{255, 0, 0}, kBlueC{0, 0, 255},
    kGreenC{0, 255, 0};
constexpr TColor32 kRed = Color32(255, 0, 0), kBlue = Color32(0, 0, 255),
                   kGreen = Color32(0, 255, 0), kWhite32 = Color32(255, 255, 255);

// A small image with varied colours and alphas.
TBitmap32 Sample(int32_t w, int32_t h) {
  TBitmap32 bm(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      bm.SetPixel(x, y,
                  Color32(x * 40 % 256, y * 70 % 256, (x + y) * 25 % 256, (x * 37 + y * 91) % 256));
  return bm;
}

// Four frames on a 4 x 3 canvas. Frame 0 fills it red and stays (no
// disposal); frame 1 (local table, transparent index 1) is drawn over it
// and disposed; frame 2 puts one blue pixel on a fresh canvas with the
// disposal unspecified, so frame 3 starts on a fresh canvas again.
std::vector<uint8_t> AnimatedGif() {
  std::vector<GifFrame> frames(4);
  frames[0] = {
      0, 0, 4, 3, {}, NO_TRANSPARENT_COLOR, DISPOSE_DO_NOT, std::vector<GifPixelType>(12, 2)};
  frames[1] = {1, 1, 2, 2, {kGreenC, kBlack}, 1, DISPOSE_BACKGROUND, {0, 1, 1, 0}};
  frames[2] = {3, 0, 1, 1, {}, NO_TRANSPARENT_COLOR, DISPOSAL_UNSPECIFIED, {3}};
  frames[3] = {0, 0, 1, 1, {}, NO_TRANSPARENT_COLOR, DISPOSE_PREVIOUS, {1}};
  return MakeGif(4, 3, {kBlack, kWhite, kRedC, kBlueC}, frames);
}

TBitmap32 Canvas(std::vector<std::pair<int, TColor32>> set) {
  TBitmap32 bm(4, 3, kCanvas);
  for (auto [i, c] : set) bm.s_data[static_cast<size_t>(i)] = c;
  return bm;
}

TEST(ImageLoad, PngRoundTripKeepsEveryPixelAndAlpha) {
  TBitmap32 bm = Sample(7, 5);
  std::vector<uint8_t> png;
  ASSERT_TRUE(Image_EncodePng(bm, png));
  EXPECT_EQ(Image_DetectFormat(png.data(), png.size()), ImageFormat::Png);
  TBitmap32 back;
  ASSERT_TRUE(Image_Decode(png.data(), png.size(), back));
  EXPECT_EQ(back, bm);
  EXPECT_FALSE(Image_EncodePng(TBitmap32(), png));
}

TEST(ImageLoad, BmpRoundTripThroughTheRunnerReader) {
  TBitmap32 bm = Sample(5, 3);
  std::vector<uint8_t> bmp = EncodeBmp(bm.ToRBitmap());
  TBitmap32 back;
  ASSERT_TRUE(Image_Decode(bmp.data(), bmp.size(), back));
  EXPECT_EQ(back, bm);
  // A 32-bit BMP whose alpha bytes are all 0 did not use them: opaque.
  TBitmap32 flat(2, 2, Color32(1, 2, 3, 0));
  bmp = EncodeBmp(flat.ToRBitmap());
  ASSERT_TRUE(Image_Decode(bmp.data(), bmp.size(), back));
  EXPECT_EQ(back, TBitmap32(2, 2, Color32(1, 2, 3)));
}

TEST(ImageLoad, JpegDecodesCloseToItsSource) {
  TBitmap32 bm(16, 8, Color32(200, 100, 50));
  for (int32_t x = 8; x < 16; ++x)
    for (int32_t y = 0; y < 8; ++y) bm.SetPixel(x, y, Color32(20, 40, 220));
  std::vector<uint8_t> jpg = image_test::MakeJpeg(bm);
  TBitmap32 back;
  ASSERT_TRUE(Image_Decode(jpg.data(), jpg.size(), back));
  ASSERT_EQ(back.s_w, 16);
  ASSERT_EQ(back.s_h, 8);
  for (int32_t i : {0, 3 * 16 + 2, 7 * 16 + 12, 15}) {
    TColor32 got = back.s_data[static_cast<size_t>(i)], want = bm.s_data[static_cast<size_t>(i)];
    EXPECT_EQ(Color32Alpha(got), 255u);
    EXPECT_NEAR(Color32Red(got), Color32Red(want), 6.0) << i;
    EXPECT_NEAR(Color32Green(got), Color32Green(want), 6.0) << i;
    EXPECT_NEAR(Color32Blue(got), Color32Blue(want), 6.0) << i;
  }
}

TEST(ImageLoad, AnimatedGifFramesAreComposedByDisposalAndTransparency) {
  std::vector<uint8_t> gif = AnimatedGif();
  std::vector<TBitmap32> frames;
  ASSERT_TRUE(Image_DecodeGifFrames(gif.data(), gif.size(), frames));
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames[0], TBitmap32(4, 3, kRed));
  // Index 1 of the local table is transparent: the red of frame 0 shows.
  TBitmap32 second(4, 3, kRed);
  second.SetPixel(1, 1, kGreen);
  second.SetPixel(2, 2, kGreen);
  EXPECT_EQ(frames[1], second);
  EXPECT_EQ(frames[2], Canvas({{3, kBlue}}));
  EXPECT_EQ(frames[3], Canvas({{0, kWhite32}}));
  // A single image is the first composed frame.
  TBitmap32 first;
  ASSERT_TRUE(Image_Decode(gif.data(), gif.size(), first));
  EXPECT_EQ(first, frames[0]);
}

TEST(ImageLoad, GifFramesOutsideTheCanvasAndMissingColoursAreSafe) {
  // Frame partly outside the logical screen, index beyond a 2-colour table.
  std::vector<GifFrame> frames(1);
  frames[0] = {1, 1, 2, 2, {}, NO_TRANSPARENT_COLOR, DISPOSAL_UNSPECIFIED, {1, 1, 1, 3}};
  std::vector<uint8_t> gif = MakeGif(2, 2, {kBlack, kWhite}, frames);
  std::vector<TBitmap32> out;
  ASSERT_TRUE(Image_DecodeGifFrames(gif.data(), gif.size(), out));
  ASSERT_EQ(out.size(), 1u);
  TBitmap32 want(2, 2, kCanvas);
  want.SetPixel(1, 1, kWhite32);
  EXPECT_EQ(out[0], want);
}

// Every format, cut at every length short of the whole: either no image or,
// when only trailing bookkeeping is missing (a PNG without its end chunk),
// the whole image; never a partial one, never a crash. Damaged bytes may
// decode or not, but never crash.
TEST(ImageLoad, TruncatedAndDamagedFilesFailCleanly) {
  std::vector<uint8_t> png, gif = AnimatedGif();
  ASSERT_TRUE(Image_EncodePng(Sample(9, 4), png));
  std::vector<uint8_t> bmp = EncodeBmp(Sample(3, 3).ToRBitmap());
  std::vector<uint8_t> jpg = image_test::MakeJpeg(TBitmap32(16, 16, Color32(9, 99, 199)));
  for (const std::vector<uint8_t>* file : {&png, &gif, &bmp, &jpg}) {
    TBitmap32 whole;
    ASSERT_TRUE(Image_Decode(file->data(), file->size(), whole));
    size_t decoded = 0;
    for (size_t n = 0; n < file->size(); ++n) {
      TBitmap32 out;
      std::vector<uint8_t> cut(file->begin(), file->begin() + static_cast<ptrdiff_t>(n));
      if (!Image_Decode(cut.data(), cut.size(), out)) {
        EXPECT_TRUE(out.Empty());
        continue;
      }
      ++decoded;
      EXPECT_EQ(out, whole) << "at " << n;
    }
    EXPECT_LE(decoded, 12u);  // at most a PNG's end chunk may be missing
    std::srand(7);
    for (int round = 0; round < 200; ++round) {
      std::vector<uint8_t> bad = *file;
      for (int k = 0; k < 3; ++k)
        bad[static_cast<size_t>(std::rand()) % bad.size()] ^= 1 << (std::rand() % 8);
      TBitmap32 out;
      if (Image_Decode(bad.data(), bad.size(), out)) {
        EXPECT_FALSE(out.Empty());
        EXPECT_EQ(out.s_data.size(), static_cast<size_t>(out.s_w) * out.s_h);
      }
    }
  }
  TBitmap32 out;
  EXPECT_FALSE(Image_Decode(nullptr, 0, out));
  const uint8_t text[] = "not an image at all";
  EXPECT_FALSE(Image_Decode(text, sizeof text, out));
}

TEST(ImageLoad, HugeDeclaredSizesAreRefusedBeforeAllocating) {
  // A GIF whose logical screen is 65535 x 65535 with one 1 x 1 frame.
  std::vector<GifFrame> frames(1);
  frames[0].pixels = {0};
  std::vector<uint8_t> gif = MakeGif(65535, 65535, {kBlack, kWhite}, frames);
  std::vector<TBitmap32> out;
  EXPECT_FALSE(Image_DecodeGifFrames(gif.data(), gif.size(), out));
}

TEST(ImageLoad, FilesAreReadAndWritten) {
  image_test::ScratchDir dir("load");
  TBitmap32 bm = Sample(3, 2), back;
  ASSERT_TRUE(Image_SavePng(dir.File("a.png"), bm));
  ASSERT_TRUE(Image_LoadFile(dir.File("a.png"), back));
  EXPECT_EQ(back, bm);
  EXPECT_FALSE(Image_LoadFile(dir.File("missing.png"), back));
  EXPECT_FALSE(Image_LoadFile(dir.File(""), back));  // the directory itself
  std::vector<TBitmap32> frames;
  image_test::WriteFile(dir.File("a.gif"), AnimatedGif());
  ASSERT_TRUE(Image_LoadGifFile(dir.File("a.gif"), frames));
  EXPECT_EQ(frames.size(), 4u);
}

}  // namespace
