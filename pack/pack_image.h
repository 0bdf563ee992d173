// pack_image.h: PNG files of a project (sprite frames, backgrounds, masks,
// loading-window images, font atlases) read and written with libpng. Pixels
// are 0xAARRGGBB, rows top to bottom, as RBitmap (runner/support_stream.h)
// and TBitmap32 hold them; 8-bit PNGs round-trip exactly, transparent
// pixels keep their colour.
#pragma once

#include <filesystem>
#include <string>

#include "common/support_stream.h"

// Decodes a PNG file of any colour type; raises PackError naming the path
// when it is missing or not a decodable PNG.
RBitmap ReadPng(const std::filesystem::path& path);
// Decodes PNG bytes that came from `path` (named in errors).
RBitmap DecodePng(const std::string& bytes, const std::string& path);
// Writes an 8-bit RGBA PNG.
void WritePng(const std::filesystem::path& path, const RBitmap& bitmap);
std::string EncodePng(const RBitmap& bitmap);

// A part of a bitmap (for sprite strips).
RBitmap CropBitmap(const RBitmap& bitmap, int left, int top, int width, int height);
