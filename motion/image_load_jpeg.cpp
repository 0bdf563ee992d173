// image_load_jpeg.cpp: JPEG decoding with libjpeg(-turbo). Greyscale, YCbCr
// and RGB images decode straight to BGRA; CMYK and YCCK images (inverted as
// the common writers store them) are converted here. Decoder errors jump
// back out and give false, and so does data that ends early (the decoder
// would pad the missing lines and go on); other warnings are ignored.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>

// libjpeg's headers need size_t and FILE declared before them.
#include <jpeglib.h>
#include <jerror.h>

#include "motion/image_load.h"

namespace {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  bool truncated = false;
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  if (level < 0 && error->manager.msg_code == JWRN_JPEG_EOF) error->truncated = true;
}

bool SizeAcceptable(const jpeg_decompress_struct& info) {
  return info.output_width > 0 && info.output_height > 0 && info.output_width <= kImageMaxSide &&
         info.output_height <= kImageMaxSide &&
         int64_t{info.output_width} * info.output_height <= kImageMaxPixels;
}

// Reads every scanline into bm (already sized). cmyk: 4 bytes per pixel of
// inverted C, M, Y, K.
void ReadLines(jpeg_decompress_struct& info, TBitmap32& bm, bool cmyk, std::vector<uint8_t>& line) {
  while (info.output_scanline < info.output_height) {
    JDIMENSION y = info.output_scanline;
    TColor32* row = &bm.s_data[static_cast<size_t>(y) * bm.s_w];
    JSAMPROW target = cmyk ? line.data() : reinterpret_cast<JSAMPROW>(row);
    if (jpeg_read_scanlines(&info, &target, 1) != 1) break;
    if (!cmyk) continue;
    for (int32_t x = 0; x < bm.s_w; ++x) {
      const uint8_t* p = &line[static_cast<size_t>(x) * 4];
      uint32_t k = p[3];
      row[x] = Color32(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
    }
  }
}

// The decoding proper; the objects it touches after setjmp are held by the
// caller so that nothing with a destructor lives in this frame.
bool Decode(jpeg_decompress_struct& info, JpegError& error, const uint8_t* data, size_t size,
            TBitmap32& bm, std::vector<uint8_t>& line) {
  if (setjmp(error.jump)) return false;
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
  bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_calc_output_dimensions(&info);
  if (!SizeAcceptable(info)) return false;
  bm = TBitmap32(static_cast<int32_t>(info.output_width), static_cast<int32_t>(info.output_height),
                 Color32(0, 0, 0));
  if (cmyk) line.resize(static_cast<size_t>(info.output_width) * 4);
  jpeg_start_decompress(&info);
  ReadLines(info, bm, cmyk, line);
  if (error.truncated) return false;
  jpeg_finish_decompress(&info);
  return !error.truncated;
}

}  // namespace

bool Image_DecodeJpeg(const uint8_t* data, size_t size, TBitmap32& out) {
  out = TBitmap32();
  if (!data || size == 0) return false;
  jpeg_decompress_struct info;
  JpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = OnError;
  error.manager.emit_message = OnMessage;
  jpeg_create_decompress(&info);
  TBitmap32 bm;
  std::vector<uint8_t> line;
  bool ok = Decode(info, error, data, size, bm, line);
  jpeg_destroy_decompress(&info);
  if (!ok) return false;
  out = std::move(bm);
  return true;
}
