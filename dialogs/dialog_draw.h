// dialog_draw.h: renders a TDialog in software into a frame of the client
// area's size. Pixels outside the dialog are fully transparent (alpha 0), so
// whoever presents the frame shows the game's last picture there.
#pragma once

#include <string>

#include "motion/bitmap32.h"
#include "dialogs/dialog_box.h"

// Colours of the look (0xAARRGGBB), shared with tests.
constexpr TColor32 kDialogFace = 0xFFF0F0F0u;
constexpr TColor32 kDialogBorder = 0xFF505050u;
constexpr TColor32 kDialogCaptionBar = 0xFF2B5797u;
constexpr TColor32 kDialogCaptionText = 0xFFFFFFFFu;
constexpr TColor32 kDialogButtonFace = 0xFFE1E1E1u;
constexpr TColor32 kDialogButtonPressed = 0xFFCCE4F7u;
constexpr TColor32 kDialogButtonBorder = 0xFFADADADu;
constexpr TColor32 kDialogFocusBorder = 0xFF0078D7u;  // the default / focused button, 2 pixels
constexpr TColor32 kDialogListBack = 0xFFFFFFFFu;
constexpr TColor32 kDialogListBorder = 0xFF7A7A7Au;
constexpr TColor32 kDialogScrollTrack = 0xFFE8E8E8u;
constexpr TColor32 kDialogScrollThumb = 0xFFB0B0B0u;
constexpr TColor32 kDialogScrollArrow = 0xFFDADADAu;

// Lays out the dialog for the frame's size, then draws it. The frame keeps
// its size; an empty frame draws nothing.
void Dialog_Draw(TDialog& dialog, TBitmap32& frame);

// Fills r (clipped to the frame) with c.
void Dialog_Fill(TBitmap32& frame, const TDialogRect& r, TColor32 c);
// A frame thickness pixels wide just inside r.
void Dialog_Frame(TBitmap32& frame, const TDialogRect& r, TColor32 c, int thickness = 1);
// The caption bar of a window: bar colour, caption text and close box.
void Dialog_DrawCaptionBar(TBitmap32& frame, const TDialogRect& bar, const TDialogRect& close_box,
                           const std::string& caption);
// Nearest-neighbour stretch of image over r (transparent pixels skipped).
void Dialog_Stretch(TBitmap32& frame, const TBitmap32& image, const TDialogRect& r);
// Scales the alpha of every drawn pixel by alpha (0..1).
void Dialog_Fade(TBitmap32& frame, double alpha);
