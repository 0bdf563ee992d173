// image_load.cpp: image files by content: format detection, the dispatch to
// the decoders, BMP through the runner's bitmap reader, and file reads.
#include "motion/image_load.h"

#include <cstring>

#include "common/support_file.h"
#include "common/support_stream.h"

ImageFormat Image_DetectFormat(const uint8_t* data, size_t size) {
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!data) return ImageFormat::Unknown;
  if (size >= 8 && std::memcmp(data, kPng, 8) == 0) return ImageFormat::Png;
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return ImageFormat::Jpeg;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return ImageFormat::Bmp;
  if (size >= 6 && std::memcmp(data, "GIF8", 4) == 0) return ImageFormat::Gif;
  return ImageFormat::Unknown;
}

bool Image_DecodeBmp(const uint8_t* data, size_t size, TBitmap32& out) {
  std::unique_ptr<RBitmap> bm = DecodeBmp(data, size);
  if (!bm) return false;
  out = TBitmap32(*bm);
  return !out.Empty();
}

bool Image_Decode(const uint8_t* data, size_t size, TBitmap32& out) {
  out = TBitmap32();
  switch (Image_DetectFormat(data, size)) {
    case ImageFormat::Png:
      return Image_DecodePng(data, size, out);
    case ImageFormat::Jpeg:
      return Image_DecodeJpeg(data, size, out);
    case ImageFormat::Bmp:
      return Image_DecodeBmp(data, size, out);
    case ImageFormat::Gif: {
      std::vector<TBitmap32> frames;
      if (!Image_DecodeGifFrames(data, size, frames)) return false;
      out = std::move(frames[0]);
      return true;
    }
    case ImageFormat::Unknown:
      break;
  }
  return false;
}

bool Image_LoadFile(const std::string& path, TBitmap32& out) {
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(path, bytes)) return false;
  return Image_Decode(bytes.data(), bytes.size(), out);
}

bool Image_LoadGifFile(const std::string& path, std::vector<TBitmap32>& frames) {
  std::vector<uint8_t> bytes;
  if (!File_ReadAll(path, bytes)) return false;
  return Image_DecodeGifFrames(bytes.data(), bytes.size(), frames);
}
