// dialog_font.h: the faces of the runner's own dialogs. A face is rasterised
// once through the one font rasteriser (FreeType + fontconfig) and then
// measures and draws UTF-8 text into a TBitmap32 with coverage blending.
// When no face can be loaded the built-in pixel font stands in, so a dialog
// always shows its text.
#pragma once

#include <string>
#include <string_view>

#include "graphics/font_raster.h"
#include "motion/bitmap32.h"

// A clip rectangle in bitmap pixels; right and bottom exclusive.
struct TDialogClip {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class TDialogFont {
 public:
  // Rasterises the face; false when it cannot, and the pixel font is used.
  bool Load(const std::string& face, int size, bool bold = false, bool italic = false);
  bool HasFace() const { return has_face_; }

  int LineHeight() const;
  int TextWidth(std::string_view utf8) const;
  // Width of one character (a code page 1252 code) in pixels.
  int CharWidth(int code) const;
  // Draws text with the top of its line at x, y, clipped to clip.
  void Draw(TBitmap32& target, int x, int y, std::string_view utf8, TColor32 colour,
            const TDialogClip& clip) const;

 private:
  void DrawChar(TBitmap32& target, int x, int y, int code, TColor32 colour,
                const TDialogClip& clip) const;
  bool has_face_ = false;
  FontRaster raster_;
};

// Decodes UTF-8 into code page 1252 codes; a character outside it becomes
// '?', an invalid byte stands for itself.
std::u16string Dialog_Codes(std::string_view utf8);

// The proportional face of captions, messages and buttons, and the monospace
// face of text lists ("Courier New"), loaded on first use.
const TDialogFont& Dialog_UiFont();
const TDialogFont& Dialog_MonoFont();
