// pack_mask.cpp: the packer's mask settings applied through the runner's own
// mask builder, so packed masks are exactly what the runner would compute.
#include "pack/pack_mask.h"

#include "motion/mask_build.h"

void ComputeSpriteMasks(CSprite& sprite, const MaskSettings& settings) {
  Mask_ComputeSpriteMasks(sprite, settings.separate, static_cast<int32_t>(settings.box_mode),
                          settings.box, static_cast<int32_t>(settings.kind), settings.tolerance);
}
