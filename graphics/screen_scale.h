// screen_scale.h: the arithmetic of showing the region in the window's
// client area (scale modes and centring) and of mapping the mouse back.
#pragma once

#include "graphics/renderer_internal.h"

// The factor the region is shown at: s > 0 as given; s < 0 the largest
// factor that keeps the aspect ratio and fits the client; 0 for s = 0
// (stretched to fill).
double Screen_FitScale(int rw, int rh, double s, int cw, int ch);
// Where the scaled region lies in a client of cw x ch: centred.
RRegionPlacement Screen_PlaceRegion(int rw, int rh, double s, int cw, int ch);
// Client pixel (mx, my) -> region pixel (rounded, ties to even).
void Screen_MapToRegion(int rw, int rh, double s, int cw, int ch, int mx, int my, double& rx,
                        double& ry);
// The client size the region asks for at scale s > 0.
int Screen_ScaledSize(int n, double s);
