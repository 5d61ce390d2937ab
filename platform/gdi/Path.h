#pragma once
// Paths. BeginPath opens a bracket on a device context: the lines, polylines, polygons,
// rectangles, ellipses, round rectangles and pies drawn while it is open are recorded as figures
// (in device coordinates) instead of painted. EndPath closes the bracket; the closed path can then
// be widened by the pen or turned into a region. Outlines lie where the shapes' fills have their
// edges: a rectangle's or ellipse's along its bounding box, a polygon's through its points, so
// the region of a path covers the pixels whose centres lie inside it (like CreatePolygonRgn).
#include "platform/gdi/Region.h"
#include "platform/rtl/Types.h"

#include <QPainterPath>

#include <optional>

namespace gdi {

class Dc;

struct Path {
    enum Phase { None, Open, Closed };
    Phase phase = None;
    QPainterPath outline; // device coordinates
    bool figureOpen = false; // LineTo continues the last figure
};

// Discards any path and opens a new bracket.
bool BeginPath(Dc& dc);
// Closes the open bracket; false when none is open.
bool EndPath(Dc& dc);
// Replaces the closed path by the outline of the band the selected pen's width (at least one
// pixel) covers, centred on the path. False, with the path unchanged, when there is no closed
// path or the pen is a null pen.
bool WidenPath(Dc& dc);
// The area the closed path encloses under the DC's polygon fill mode (open figures are closed
// first); the path is used up. Nothing when there is no closed path.
std::optional<Region> PathToRegion(Dc& dc);

namespace detail {
// Whether drawing on the DC records into an open path rather than paints.
bool Recording(const Dc& dc);
void RecordMoveTo(Dc& dc, TPoint logical);
void RecordLineTo(Dc& dc, TPoint fromLogical, TPoint toLogical);
void RecordPolyline(Dc& dc, const TPoint* logical, int count, bool closed);
// A closed shape given in logical coordinates (the path of a rectangle, ellipse, ...).
void RecordShape(Dc& dc, const QPainterPath& logical);
} // namespace detail

} // namespace gdi
