#pragma once
// The drawing calls. Coordinates are logical; rectangles are half-open; lines leave out their
// last point. Every call composes its pixels through a raster operation under the DC's clip.
#include "platform/gdi/Dc.h"

namespace gdi {

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Blits. The pattern is the selected brush; a copy between a monochrome and a colour surface
// converts: monochrome black becomes the destination's text colour and white its background
// colour; a colour pixel equal to the source's background colour becomes white, others black.
// Source and destination may be the same surface, overlapping.
bool PatBlt(Dc& dc, int x, int y, int w, int h, DWORD rop);
bool BitBlt(Dc& dst, int x, int y, int w, int h, const Dc* src, int sx, int sy, DWORD rop);
// Nearest-pixel scaling; a negative width or height on one side mirrors.
bool StretchBlt(Dc& dst, int x, int y, int w, int h, const Dc* src, int sx, int sy, int sw, int sh,
                DWORD rop);

int FillRect(Dc& dc, const TRect& r, const Brush& brush);
int FrameRect(Dc& dc, const TRect& r, const Brush& brush);
bool InvertRect(Dc& dc, const TRect& r);
// Regions here are logical, like the rectangles.
bool FillRgn(Dc& dc, const Region& rgn, const Brush& brush);
bool FrameRgn(Dc& dc, const Region& rgn, const Brush& brush, int w, int h);
bool InvertRgn(Dc& dc, const Region& rgn);

// The dotted frame, drawn by inverting through a one-pixel checkerboard aligned to the device
// origin: drawing the same rectangle twice restores the pixels.
bool DrawFocusRect(Dc& dc, const TRect& r);
// The system's three-dimensional edges: see docs/architecture.md for the picture.
bool DrawEdge(Dc& dc, TRect& r, unsigned edge, unsigned flags);

// Lines and shapes use the selected pen and brush under the pen raster mode.
bool MoveToEx(Dc& dc, int x, int y, TPoint* old = nullptr);
bool LineTo(Dc& dc, int x, int y);
bool Polyline(Dc& dc, const TPoint* points, int count);
bool Polygon(Dc& dc, const TPoint* points, int count);
bool Rectangle(Dc& dc, int l, int t, int r, int b);
bool Ellipse(Dc& dc, int l, int t, int r, int b);
bool Pie(Dc& dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2);
bool RoundRect(Dc& dc, int l, int t, int r, int b, int ew, int eh);

COLORREF SetPixel(Dc& dc, int x, int y, COLORREF c);
COLORREF GetPixel(const Dc& dc, int x, int y);

// The 8 x 8 one-pixel checkerboard brush (rows 0xAA, 0x55) of focus rectangles and halftones.
Brush HalftoneBrush();

} // namespace gdi
