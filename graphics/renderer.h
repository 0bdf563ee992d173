// renderer.h: the one renderer interface. Every pixel the runner shows goes
// through these functions: the drawing state, the texture and surface
// tables, textured quads, tiling, primitives, the view projection, the frame
// cycle, read-back, the window region with its scaling and mouse mapping,
// and display modes. One backend is chosen at Renderer_Init (OpenGL in a
// window, OpenGL offscreen when headless, or a no-op backend when no GL
// context can be made); callers never see which.
//
// Conventions:
// - Colours given as `int` are game colours (red in the lowest byte); ARGB
//   values (`uint32_t`, alpha in the top byte) appear only in RVertex and in
//   read-back bitmaps (TColor32, 0xAARRGGBB).
// - Coordinates are room coordinates with pixel centres at whole numbers: an
//   unscaled texture drawn at whole (x, y) puts texel (i, j) exactly on the
//   pixel whose top-left corner is (x + i, y + j).
// - Angles of the texture drawing calls are radians, counter-clockwise on
//   screen; the view projection angle is degrees.
// - Quads are batched: consecutive draws with the same texture and state are
//   one GL draw call. Order is kept, so batching never changes a pixel.
#pragma once

#include <cstdint>
#include <string>

#include "motion/bitmap32.h"

// ---------------------------------------------------------------- lifecycle

// Creates the drawing device on the main window (Platform_Window()), or on a
// hidden offscreen window when headless. The back buffer holds at least
// width x height. When no GL context can be made, prints one line on
// standard error and installs the no-op backend: every call below still
// works (drawing does nothing, read-back gives nothing). Returns whether a
// real device exists.
bool Renderer_Init(int width, int height, bool vsync);
// Releases the device, every texture and surface; restores the display mode.
void Renderer_Shutdown();
// True while a real (GL) device exists.
bool Renderer_HasDevice();

// ---------------------------------------------------------------- frame cycle

void Renderer_BeginFrame();
// Flushes, waits for vertical blank when synchronisation is on and presents
// the region into the window at its scale.
void Renderer_EndFrame();
// Presents the last frame again without drawing (screen_refresh, repaint).
void Renderer_Represent();
void Renderer_SetSynchronization(bool on);
bool Renderer_Synchronization();
void Renderer_WaitVSync();
// Draws an RGBA image (0xAARRGGBB, any size: it is stretched) over the whole
// window client area and shows it at once, leaving the game's back buffer as
// it was. For the runner's own modal windows.
void Renderer_ShowImage(const TBitmap32& image);

// ---------------------------------------------------------------- drawing state

// Game colour <-> ARGB: alpha byte = round(clamp(alpha * 255, 0, 255)).
uint32_t Renderer_MakeARGB(int colour, double alpha);
int Renderer_ARGBToColour(uint32_t argb);

void Renderer_SetColour(int colour);
int Renderer_Colour();
// Clamped to 0..1.
void Renderer_SetAlpha(double alpha);
double Renderer_Alpha();
// The current colour and alpha as ARGB (for vertices in the current colour).
uint32_t Renderer_ColourARGB();

// Depth of following 2D drawing; 0 unless 3D mode is on, then clamped to
// -16000..16000.
void Renderer_SetDepth(double z);
double Renderer_Depth();
void Renderer_Set3DMode(bool on);
bool Renderer_3DMode();
void Renderer_SetHiddenSurfaceRemoval(bool on);
bool Renderer_HiddenSurfaceRemoval();

// Blend modes 0 normal, 1 add, 2 max, 3 subtract; factors 1..11 numbered
// zero, one, source colour, inverse source colour, source alpha, inverse
// source alpha, destination alpha, inverse destination alpha, destination
// colour, inverse destination colour, source alpha saturated.
void Renderer_SetBlendMode(int mode);
void Renderer_SetBlendModeExt(int source_factor, int destination_factor);
int Renderer_BlendSource();
int Renderer_BlendDestination();

void Renderer_SetInterpolation(bool linear);
bool Renderer_Interpolation();
void Renderer_SetTextureBlending(bool on);
bool Renderer_TextureBlending();
void Renderer_SetTextureRepeat(bool on);
bool Renderer_TextureRepeat();
// Stores n as given (draw_set_circle_precision clamps and rounds it).
void Renderer_SetCirclePrecision(int n);
int Renderer_CirclePrecision();
// view_current: valid during room drawing, 0 outside.
void Renderer_SetCurrentView(int view);
int Renderer_CurrentView();

// ---------------------------------------------------------------- viewport and projection

// Later drawing lands in this rectangle of the region (or surface) pixels.
void Renderer_SetViewport(int x, int y, int w, int h);
// The room rectangle (x, y, w, h) fills the viewport, turned by angle
// degrees counter-clockwise about its centre.
void Renderer_SetViewProjection(double x, double y, double w, double h, double angle);
// Fills the whole render target (not only the viewport) with colour/alpha
// and resets the depth buffer.
void Renderer_Clear(int colour, double alpha);
// Fills only the current viewport, opaque (a view port's room colour).
void Renderer_ClearViewport(int colour);
void Renderer_ClearDepth();

// ---------------------------------------------------------------- textures

// Table ids: >= 0, reused after free (the first free entry), never compacted.
// The real size of a texture for an image of w x h: the smallest power of
// two not below each dimension (at most the device maximum).
int Renderer_TextureSize(int n);
// w x h pixels, transparent black; -1 on failure.
int Renderer_CreateTexture(int w, int h, bool render_target);
// Uploads the image with a one-pixel copied border at the right and bottom
// edges when the texture is larger; -1 on failure.
int Renderer_CreateTextureFromImage(const TBitmap32& image);
// White pixels with alpha from bytes (w * h, rows top to bottom); fonts.
int Renderer_CreateTextureFromAlpha(int w, int h, const uint8_t* bytes);
// Replaces the pixels of a texture with an image of the same asked size.
bool Renderer_UpdateTexture(int id, const TBitmap32& image);
void Renderer_FreeTexture(int id);
bool Renderer_TextureExists(int id);
// w / wt and h / ht: the part of the coordinate range the image fills (1 for
// an invalid id).
double Renderer_TextureWidthFraction(int id);
double Renderer_TextureHeightFraction(int id);
// The asked (image) size and the real texture size; 0 for an invalid id.
int Renderer_TextureImageWidth(int id);
int Renderer_TextureImageHeight(int id);
int Renderer_TextureRealWidth(int id);
int Renderer_TextureRealHeight(int id);

// ---------------------------------------------------------------- textured quads

// Whole texture at (x, y), unscaled, white, opaque.
void Renderer_DrawTexture(int id, double x, double y);
// Origin (xo, yo) of the image placed at (x, y), scaled and rotated about it.
void Renderer_DrawTextureTransformed(int id, int colour, double xo, double yo, double x, double y,
                                     double xscale, double yscale, double angle, double alpha);
// The image part (left, top, width, height) with its top-left at (x, y),
// scaled and rotated about that corner.
void Renderer_DrawTexturePart(int id, int colour, double left, double top, double width,
                              double height, double x, double y, double xscale, double yscale,
                              double angle, double alpha);
// As the part form with corner colours c1 top-left, c2 top-right, c3
// bottom-right, c4 bottom-left.
void Renderer_DrawTextureGeneral(int id, double left, double top, double width, double height,
                                 double x, double y, double xscale, double yscale, double angle,
                                 int c1, int c2, int c3, int c4, double alpha);
// Repeats the image (origin honoured in every tile) over the region
// rectangle (rx, ry, rw, rh) in the tiled directions; a single column / row
// at round(x) / round(y) otherwise.
void Renderer_DrawTextureTiled(int id, bool htiled, bool vtiled, double xo, double yo, double x,
                               double y, double xscale, double yscale, double rx, double ry,
                               double rw, double rh, int colour, double alpha);

// ---------------------------------------------------------------- primitives

// One vertex as drawn: room coordinates, depth, ARGB colour, texture
// coordinates (0..1 over the whole real texture).
struct RVertex {
  float x, y, z;
  uint32_t colour;
  float u, v;
};

// Primitive kinds 1 point list, 2 line list, 3 line strip, 4 triangle list,
// 5 triangle strip, 6 triangle fan; any other kind draws nothing.
enum RPrimitiveKind : int {
  PrimitivePointList = 1,
  PrimitiveLineList = 2,
  PrimitiveLineStrip = 3,
  PrimitiveTriangleList = 4,
  PrimitiveTriangleStrip = 5,
  PrimitiveTriangleFan = 6,
};

// Texture for the following primitives; -1 (or an invalid id) for none.
void Renderer_SetPrimitiveTexture(int id);
// Draws count vertices as given (no half-pixel shift; z is used as given).
void Renderer_DrawPrimitive(int kind, const RVertex* vertices, int count);

// ---------------------------------------------------------------- read-back

// Pixels (x, y, w, h) of the region as drawn so far (0xAARRGGBB), clipped to
// the region; false (and an empty image) when the clipped rectangle is empty
// or there is no device.
bool Renderer_ReadRegion(int x, int y, int w, int h, TBitmap32& out);
// One region pixel as ARGB; false when outside or unreadable.
bool Renderer_ReadRegionPixel(int x, int y, uint32_t& argb);

// ---------------------------------------------------------------- surfaces

int Renderer_SurfaceCreate(int w, int h);
bool Renderer_SurfaceExists(int id);
void Renderer_SurfaceFree(int id);
int Renderer_SurfaceWidth(int id);    // -1 for an invalid id
int Renderer_SurfaceHeight(int id);   // -1 for an invalid id
int Renderer_SurfaceTexture(int id);  // -1 for an invalid id
// The power-of-two size of a surface's depth buffer: at least n and at least 4.
int Renderer_SurfaceDepthSize(int n);
// Later drawing goes to the surface (viewport and projection set to it).
bool Renderer_SurfaceSetTarget(int id);
// Back to the region: viewport and projection to the whole region.
void Renderer_SurfaceResetTarget();
// The current target surface, -1 for the region.
int Renderer_SurfaceTarget();
// Clipped to the surface; false when nothing is left.
bool Renderer_SurfaceRead(int id, int x, int y, int w, int h, TBitmap32& out);
// Copies the source rectangle pixel for pixel (no blending), clipped to both.
void Renderer_SurfaceCopy(int destination, int x, int y, int source, int left, int top, int w,
                          int h);

// ---------------------------------------------------------------- view transform table

// One entry per view index 0..31, filled by room drawing for visible views.
struct RViewTransform {
  bool used = false;
  double xview = 0, yview = 0, wview = 0, hview = 0;
  double xport = 0, yport = 0, wport = 0, hport = 0;
  double angle = 0;
};
constexpr int kViewTransformCount = 32;

void Renderer_SetViewTransform(int view, const RViewTransform& transform);
void Renderer_ClearViewTransform(int view);
const RViewTransform& Renderer_ViewTransform(int view);

// Mouse mapping. Window client pixels -> region pixels (scale and centring).
void Renderer_WindowToRegion(int wx, int wy, double& rx, double& ry);
// Region -> room through one view entry; false when the entry is unused or
// degenerate (then the result is the region point).
bool Renderer_RegionToRoom(int view, double rx, double ry, double& x, double& y);
// Room -> region through one view entry (the exact inverse).
bool Renderer_RoomToRegion(int view, double x, double y, double& rx, double& ry);
// The combined mapping of mouse_x / mouse_y: used views from 31 down to 0,
// the first containing the point wins, else the lowest used view.
void Renderer_WindowToRoom(int wx, int wy, double& x, double& y);
// Room -> window client pixels through one view (-1: the combined rule's
// lowest used view, or the region directly when no view is used).
void Renderer_RoomToWindow(int view, double x, double y, int& wx, int& wy);

// ---------------------------------------------------------------- window and region

// The region: the drawing area in pixels (initially 8 x 8).
void Renderer_SetRegionSize(int w, int h, bool adapt);
int Renderer_RegionWidth();
int Renderer_RegionHeight();
// s > 0: shown at s times; 0: stretched to the client; < 0: the largest
// aspect-keeping fit. Always centred, bordered with the window colour.
void Renderer_SetRegionScale(double scale, bool adapt);
double Renderer_RegionScale();
// The scale that applies in the current client area (s < 0 resolved).
double Renderer_EffectiveScale();

void Renderer_SetWindowColour(int colour);
int Renderer_WindowColour();
void Renderer_SetWindowVisible(bool visible);
bool Renderer_WindowVisible();
void Renderer_SetFullscreen(bool on);
bool Renderer_Fullscreen();
void Renderer_SetShowBorder(bool on);
bool Renderer_ShowBorder();
void Renderer_SetShowIcons(bool on);
bool Renderer_ShowIcons();
void Renderer_SetStayOnTop(bool on);
bool Renderer_StayOnTop();
void Renderer_SetSizeable(bool on);
bool Renderer_Sizeable();
void Renderer_SetCaption(const std::string& caption);  // UTF-8
const std::string& Renderer_Caption();
// Cursor shapes of the cr_ constants; cr_none (-1) hides the cursor.
void Renderer_SetCursor(int cursor);
int Renderer_Cursor();
// Client area on the screen. Sizes are forced to round(region * scale)
// while the scale is > 0.
void Renderer_SetWindowPosition(int x, int y);
void Renderer_SetWindowSize(int w, int h);
void Renderer_SetWindowRectangle(int x, int y, int w, int h);
void Renderer_WindowCenter();
void Renderer_WindowDefault();
int Renderer_WindowX();
int Renderer_WindowY();
int Renderer_WindowWidth();
int Renderer_WindowHeight();
// Mouse relative to the client area (unscaled) and on the screen.
int Renderer_WindowMouseX();
int Renderer_WindowMouseY();
void Renderer_WindowMouseSet(int x, int y);
int Renderer_DisplayMouseX();
int Renderer_DisplayMouseY();
void Renderer_DisplayMouseSet(int x, int y);

// ---------------------------------------------------------------- display modes

int Renderer_DisplayWidth();
int Renderer_DisplayHeight();
int Renderer_DisplayColourDepth();
int Renderer_DisplayFrequency();
// Each value is applied only when > 0; test_only changes nothing. True when
// the mode could be (or was) set; a real change resets the device.
bool Renderer_DisplaySetMode(int w, int h, int frequency, int bits, bool test_only);
// Restores the desktop mode and resets the device after the current step
// with the multisample level (2, 4, 8, else none).
void Renderer_DisplayReset(int samples);
