// screen_save.cpp: writing screenshots and surface images as PNG or BMP
// (see screen_save.h).
#include "graphics/screen_save.h"

#include <png.h>

#include <algorithm>
#include <cctype>

#include "graphics/renderer.h"
#include "common/support_file.h"

namespace {

bool HasPngExtension(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".png";
}

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

bool Screen_EncodePng(const TBitmap32& image, bool keep_alpha, std::vector<uint8_t>& out) {
  out.clear();
  if (image.Empty()) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<uint8_t> row(static_cast<size_t>(image.s_w) * 4);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    out.clear();
    return false;
  }
  png_set_write_fn(png, &out, AppendPng, nullptr);
  png_set_IHDR(png, info, image.s_w, image.s_h, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.s_h; ++y) {
    for (int x = 0; x < image.s_w; ++x) {
      const TColor32 c = image.GetPixel(x, y);
      uint8_t* p = &row[static_cast<size_t>(x) * 4];
      p[0] = static_cast<uint8_t>(c >> 16);
      p[1] = static_cast<uint8_t>(c >> 8);
      p[2] = static_cast<uint8_t>(c);
      p[3] = keep_alpha ? static_cast<uint8_t>(c >> 24) : 255;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

void Screen_EncodeBmp(const TBitmap32& image, std::vector<uint8_t>& out) {
  out.clear();
  const uint32_t pixels = static_cast<uint32_t>(image.s_w) * static_cast<uint32_t>(image.s_h) * 4;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + pixels);  // file size
  Put32(out, 0);
  Put32(out, 54);  // pixel data offset
  Put32(out, 40);  // info header size
  Put32(out, static_cast<uint32_t>(image.s_w));
  Put32(out, static_cast<uint32_t>(image.s_h));  // positive: rows bottom to top
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);  // no compression
  Put32(out, pixels);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.s_h - 1; y >= 0; --y)
    for (int x = 0; x < image.s_w; ++x) Put32(out, image.GetPixel(x, y));
}

bool Screen_SaveImage(const std::string& path, const TBitmap32& image, bool keep_alpha) {
  if (path.empty() || image.Empty()) return false;
  std::vector<uint8_t> data;
  if (HasPngExtension(path)) {
    if (!Screen_EncodePng(image, keep_alpha, data)) return false;
  } else {
    Screen_EncodeBmp(image, data);
  }
  return File_WriteAtomic(path, data.data(), data.size());
}

bool Screen_SavePartFile(const std::string& path, int x, int y, int w, int h) {
  TBitmap32 image;
  if (!Renderer_ReadRegion(x, y, w, h, image)) return false;
  return Screen_SaveImage(path, image, false);
}

bool Screen_SaveFile(const std::string& path) {
  return Screen_SavePartFile(path, 0, 0, Renderer_RegionWidth(), Renderer_RegionHeight());
}
