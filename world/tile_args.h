// tile_args.h: the tile described by the arguments of the tile-adding
// builtins: (background, left, top, width, height, x, y, depth), the
// source rectangle in whole pixels.
#pragma once

#include "common/value.h"
#include "world/room_class.h"

inline RTile Tile_FromArgs(const RValue* args) {
  RTile tile;
  tile.index = ToInt32(args[0].val);
  tile.xo = ToInt32(args[1].val);
  tile.yo = ToInt32(args[2].val);
  tile.w = ToInt32(args[3].val);
  tile.h = ToInt32(args[4].val);
  tile.x = args[5].val;
  tile.y = args[6].val;
  tile.depth = args[7].val;
  return tile;
}
