// screen_frame.h: the frame cycle as the game sees it: starting the
// graphics (window set-up, device, textures of the game's sprites and
// backgrounds), automatic drawing, screen_redraw, and the presentation
// after each step.
#pragma once

// Start-up "Preparing graphics": the window (region 8 x 8, scale, sizeable,
// stay on top, colour, border, full screen, cursor) from the game settings,
// the device (a no-op one when no OpenGL context can be made), the
// interpolation setting and the textures of every sprite and background.
// False only when the window can't be opened.
bool Graphics_Prepare();
// True once Graphics_Prepare ran.
bool Graphics_Prepared();
// Shutdown: releases the device and closes the window.
void Graphics_Release();

// set_automatic_draw (default on).
void Screen_SetAutomaticDraw(bool on);
bool Screen_AutomaticDraw();
// screen_redraw: draws the room, presents, begins the next frame.
void Screen_Redraw();
// After each step: ends the frame, presents it, performs a pending display
// reset and begins the next frame.
void Screen_PresentStep();
// The textures of every sprite and background of the game (again).
void Graphics_CreateResourceTextures();
