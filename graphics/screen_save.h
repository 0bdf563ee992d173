// screen_save.h: images of the screen and of surfaces written to files: PNG
// (by the ".png" extension, any case) or else a 32-bit Windows bitmap.
// Files are written atomically (old or new content, never half).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "motion/bitmap32.h"

// The whole region (screen_save, the F9 key). False when nothing could be
// read or written.
bool Screen_SaveFile(const std::string& path);
// A part of the region, clipped to it (screen_save_part).
bool Screen_SavePartFile(const std::string& path, int x, int y, int w, int h);
// An image by the extension rule; keep_alpha false makes PNG pixels opaque.
bool Screen_SaveImage(const std::string& path, const TBitmap32& image, bool keep_alpha);

// The encoders (pure, for tests): PNG RGBA 8-bit and 32-bit bottom-up BMP.
bool Screen_EncodePng(const TBitmap32& image, bool keep_alpha, std::vector<uint8_t>& out);
void Screen_EncodeBmp(const TBitmap32& image, std::vector<uint8_t>& out);
