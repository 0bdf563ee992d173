// pack_image.cpp: PNG decoding and encoding through libpng's simplified API.
#include "pack/pack_image.h"

#include <png.h>

#include <cstring>

#include "pack/pack_error.h"
#include "pack/pack_json.h"

RBitmap DecodePng(const std::string& bytes, const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    throw PackError(path, std::string("cannot decode PNG image: ") + image.message);
  // BGRA bytes in memory are the little-endian words 0xAARRGGBB.
  image.format = PNG_FORMAT_BGRA;
  RBitmap bitmap;
  bitmap.width = static_cast<int>(image.width);
  bitmap.height = static_cast<int>(image.height);
  bitmap.pixels.resize(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, bitmap.pixels.data(), 0, nullptr)) {
    std::string message = image.message;
    png_image_free(&image);
    throw PackError(path, "cannot decode PNG image: " + message);
  }
  return bitmap;
}

RBitmap ReadPng(const std::filesystem::path& path) {
  return DecodePng(ReadFileBytes(path), path.string());
}

std::string EncodePng(const RBitmap& bitmap) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.width);
  image.height = static_cast<png_uint_32>(bitmap.height);
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, bitmap.pixels.data(), 0, nullptr))
    throw PackError("<png>", std::string("cannot encode PNG image: ") + image.message);
  std::string bytes(size, '\0');
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, bitmap.pixels.data(), 0,
                                 nullptr))
    throw PackError("<png>", std::string("cannot encode PNG image: ") + image.message);
  bytes.resize(size);
  return bytes;
}

void WritePng(const std::filesystem::path& path, const RBitmap& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0)
    throw PackError(path.string(), "cannot write an empty image as PNG");
  WriteFileBytes(path, EncodePng(bitmap));
}

RBitmap CropBitmap(const RBitmap& bitmap, int left, int top, int width, int height) {
  RBitmap part;
  part.width = width;
  part.height = height;
  part.pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    std::memcpy(&part.pixels[static_cast<size_t>(y) * width],
                &bitmap.pixels[static_cast<size_t>(top + y) * bitmap.width + left],
                sizeof(uint32_t) * width);
  return part;
}
