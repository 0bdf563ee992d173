// pack_mask.h: collision masks computed from sprite images at pack time
// (mask kind, box mode, tolerance and separate masks, as a sprite's JSON
// describes them). The runner's mask builder does the work, so the unpacker
// can recompute a description and compare it with the stored masks.
#pragma once

#include <cstddef>
#include <vector>

#include "motion/sprite_class.h"

enum class MaskKind { Precise = 0, Rectangle = 1, Ellipse = 2, Diamond = 3 };
enum class BoxMode { Automatic = 0, Full = 1, Manual = 2 };

struct MaskSettings {
  bool separate = false;
  MaskKind kind = MaskKind::Precise;
  BoxMode box_mode = BoxMode::Automatic;
  TRect box;  // for BoxMode::Manual
  int tolerance = 0;
};

// Rebuilds the masks and the sprite box of sprite from its images.
void ComputeSpriteMasks(CSprite& sprite, const MaskSettings& settings);
