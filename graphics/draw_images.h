// draw_images.h: drawing whole images and parts of them from sprites,
// backgrounds and surfaces: the texture behind each (made on first use
// when the resource has none yet), sub-image selection, and the plain,
// transformed, stretched, part, general and tiled forms.
#pragma once

#include <cstdint>

class CInstance;
class CSprite;
class CBackground;

// A drawable image: its texture, size and origin.
struct RImageSource {
  int32_t tex = -1;
  double w = 0, h = 0;
  double xo = 0, yo = 0;
};

// The sub-image to draw: subimg < 0 means floor of self's image_index; the
// index wraps into 0..count - 1 (negative values wrapping upward). -1 for a
// sprite without images.
int32_t Draw_SubImage(const CSprite& sprite, double subimg, const CInstance* self);
// Sources; false (with nothing drawn) when the resource is missing. A
// sprite or background without a texture gets one here.
bool Draw_SpriteSource(int32_t ind, double subimg, const CInstance* self, RImageSource& out);
bool Draw_BackgroundSource(int32_t ind, RImageSource& out);
bool Draw_SurfaceSource(int32_t id, RImageSource& out);
// The texture of sprite image img / of a background, made when missing.
int32_t Draw_SpriteTexture(CSprite& sprite, int32_t img);
int32_t Draw_BackgroundTexture(CBackground& back);

// Angles in degrees, counter-clockwise; colours are game colours.
void Draw_Image(const RImageSource& s, double x, double y);
void Draw_ImageExt(const RImageSource& s, double x, double y, double xscale, double yscale,
                   double angle, int32_t colour, double alpha);
// Origin ignored, scaled to w x h; nothing when w or h <= 0.
void Draw_ImageStretched(const RImageSource& s, double x, double y, double w, double h,
                         int32_t colour, double alpha);
void Draw_ImagePart(const RImageSource& s, double left, double top, double width, double height,
                    double x, double y, double xscale, double yscale, int32_t colour,
                    double alpha);
void Draw_ImageGeneral(const RImageSource& s, double left, double top, double width,
                       double height, double x, double y, double xscale, double yscale,
                       double angle, int32_t c1, int32_t c2, int32_t c3, int32_t c4,
                       double alpha);
// Tiled in both directions over the room (0, 0, room width, room height).
void Draw_ImageTiled(const RImageSource& s, double x, double y, double xscale, double yscale,
                     int32_t colour, double alpha);
