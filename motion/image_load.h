// image_load.h: image files decoded into TBitmap32 at run time (PNG, JPEG,
// BMP and GIF, told apart by their content), the frames of animated GIFs
// composed as sprites need them, and PNG encoding for saved images. Every
// decoder checks sizes before it allocates and fails with false, never a
// crash, on a bad or truncated file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "motion/bitmap32.h"

// Largest image the decoders accept (per side, and in pixels in all).
inline constexpr int64_t kImageMaxSide = 1 << 15;
inline constexpr int64_t kImageMaxPixels = int64_t{1} << 26;

enum class ImageFormat { Unknown, Png, Jpeg, Bmp, Gif };

ImageFormat Image_DetectFormat(const uint8_t* data, size_t size);

// One image from a file's bytes; for a GIF its first composed frame (no
// preparation). False for an unknown format or a decoding failure.
bool Image_Decode(const uint8_t* data, size_t size, TBitmap32& out);
bool Image_LoadFile(const std::string& path, TBitmap32& out);

bool Image_DecodePng(const uint8_t* data, size_t size, TBitmap32& out);
bool Image_DecodeJpeg(const uint8_t* data, size_t size, TBitmap32& out);
// BMP through the runner's bitmap reader, with its alpha test.
bool Image_DecodeBmp(const uint8_t* data, size_t size, TBitmap32& out);

// The colour that fills the GIF work canvas before the first frame and after
// every frame whose disposal is not "leave in place".
inline constexpr TColor32 kGifCanvasColor = Color32(64, 128, 0);

// Every frame of a GIF, each of the GIF's logical size (at least 1 x 1),
// composed on a canvas as described for kGifCanvasColor: a frame is drawn at
// its place with its colour table (local, else global), its transparent
// index left undrawn. False when the decoder rejects the file or it has no
// frame.
bool Image_DecodeGifFrames(const uint8_t* data, size_t size, std::vector<TBitmap32>& frames);
bool Image_LoadGifFile(const std::string& path, std::vector<TBitmap32>& frames);

// An 8-bit RGBA PNG of bm; false for an empty image or an encoder failure.
bool Image_EncodePng(const TBitmap32& bm, std::vector<uint8_t>& out);
// Written so that a crash leaves the old or the new complete file.
bool Image_SavePng(const std::string& path, const TBitmap32& bm);
