// image_load_png.cpp: PNG decoding and encoding with libpng's memory API.
// Any colour type and depth decodes to 8-bit BGRA, which is TBitmap32's
// byte order; saved images are 8-bit RGBA.
#include <png.h>

#include <cstring>

#include "motion/image_load.h"
#include "common/support_file.h"

bool Image_DecodePng(const uint8_t* data, size_t size, TBitmap32& out) {
  out = TBitmap32();
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return false;
  if (image.width == 0 || image.height == 0 || image.width > kImageMaxSide ||
      image.height > kImageMaxSide || int64_t{image.width} * image.height > kImageMaxPixels) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_BGRA;
  TBitmap32 bm(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
  // On failure libpng frees the image itself.
  if (!png_image_finish_read(&image, nullptr, bm.s_data.data(), 0, nullptr)) return false;
  out = std::move(bm);
  return true;
}

bool Image_EncodePng(const TBitmap32& bm, std::vector<uint8_t>& out) {
  out.clear();
  if (bm.Empty()) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bm.s_w);
  image.height = static_cast<png_uint_32>(bm.s_h);
  image.format = PNG_FORMAT_BGRA;  // written as RGBA
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, bm.s_data.data(), 0, nullptr)) return false;
  out.resize(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, bm.s_data.data(), 0, nullptr)) {
    out.clear();
    return false;
  }
  out.resize(size);
  return true;
}

bool Image_SavePng(const std::string& path, const TBitmap32& bm) {
  std::vector<uint8_t> bytes;
  return Image_EncodePng(bm, bytes) && File_WriteAtomic(path, bytes.data(), bytes.size());
}
