// mask_build.h: the masks and the box of a whole sprite, built from its
// images, and the automatic box of an image.
#pragma once

#include <cstdint>

#include "motion/sprite_mask.h"

class CSprite;
class TBitmap32;

// The box of the pixels whose alpha exceeds the tolerance; without such a
// pixel the inverted box (width - 1, height - 1, 0, 0).
TRect Mask_AutomaticBox(const TBitmap32& bm, int32_t tolerance);

// Rebuilds all masks of the sprite and its box: one mask per image with
// sepmasks, else mask 0 from image 0 with every further image merged in.
// A sprite without images gets no mask and the box (0, 0, 0, 0).
void Mask_ComputeSpriteMasks(CSprite& sprite, bool sepmasks, int32_t bbmode, const TRect& bbox,
                             int32_t kind, int32_t tolerance);
