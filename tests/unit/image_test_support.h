// image_test_support.h: image files made inside the tests: animated GIFs
// written with giflib (frames with their place, colour table, transparent
// index and disposal), JPEGs written with libjpeg, and file helpers.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// giflib and libjpeg after the standard headers they rely on.
#include <gif_lib.h>
#include <jpeglib.h>

#include "motion/bitmap32.h"

namespace image_test {

struct GifFrame {
  int left = 0, top = 0, width = 1, height = 1;
  std::vector<GifColorType> local_colors;  // empty: the global table
  int transparent = NO_TRANSPARENT_COLOR;
  int disposal = DISPOSAL_UNSPECIFIED;
  std::vector<GifPixelType> pixels;  // width * height indices
};

inline int AppendToVector(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

// A palette of exactly 2^k entries (giflib wants a power of two).
inline ColorMapObject* MakeMap(std::vector<GifColorType> colors) {
  size_t n = 2;
  while (n < colors.size()) n *= 2;
  colors.resize(n, GifColorType{0, 0, 0});
  return GifMakeMapObject(static_cast<int>(n), colors.data());
}

inline std::vector<uint8_t> MakeGif(int width, int height, const std::vector<GifColorType>& global,
                                    const std::vector<GifFrame>& frames) {
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, AppendToVector, &error);
  EGifSetGifVersion(gif, true);
  ColorMapObject* global_map = MakeMap(global);
  EGifPutScreenDesc(gif, width, height, 8, 0, global_map);
  for (const GifFrame& f : frames) {
    GraphicsControlBlock gcb{f.disposal, false, 0, f.transparent};
    GifByteType ext[4];
    size_t len = EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext);
    ColorMapObject* local = f.local_colors.empty() ? nullptr : MakeMap(f.local_colors);
    if (!local && gif->Image.ColorMap) {
      // giflib drops, without freeing, the copy of an earlier frame's table.
      GifFreeMapObject(gif->Image.ColorMap);
      gif->Image.ColorMap = nullptr;
    }
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, local);
    std::vector<GifPixelType> row;
    for (int y = 0; y < f.height; ++y) {
      row.assign(f.pixels.begin() + y * f.width, f.pixels.begin() + (y + 1) * f.width);
      EGifPutLine(gif, row.data(), f.width);
    }
    if (local) GifFreeMapObject(local);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(global_map);
  return out;
}

// A JPEG of an opaque image at quality 95.
inline std::vector<uint8_t> MakeJpeg(const TBitmap32& bm) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(bm.s_w);
  info.image_height = static_cast<JDIMENSION>(bm.s_h);
  info.input_components = 4;
  info.in_color_space = JCS_EXT_BGRA;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row = reinterpret_cast<JSAMPROW>(
        const_cast<TColor32*>(&bm.s_data[static_cast<size_t>(info.next_scanline) * bm.s_w]));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  free(buffer);
  return out;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A fresh directory for one test, removed with the object.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              ("vexlo_image_" + name + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace image_test
