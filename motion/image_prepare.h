// image_prepare.h: the preparation sequence applied to every image that is
// loaded from a file at run time.
#pragma once

class TBitmap32;

// With removeback: background removal, edge smoothing when smooth, then
// colour extension into the transparent pixels. Without: only the
// smoothing, when smooth.
void Image_PrepareLoaded(TBitmap32& bm, bool removeback, bool smooth);
