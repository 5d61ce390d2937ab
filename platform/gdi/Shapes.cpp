#include "platform/gdi/BlitEngine.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/Path.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi {
namespace {

// Dash pictures of the cosmetic pen styles, in pixels: on, off, on, off...
const std::vector<int>& DashesOf(int style)
{
    static const std::vector<int> none, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3}, alternate{1, 1};
    switch (style & PS_STYLE_MASK) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashDot;
    case PS_DASHDOTDOT: return dashDotDot;
    case PS_ALTERNATE: return alternate;
    default: return none;
    }
}

bool PenVisible(const Pen& pen) { return (pen.style & PS_STYLE_MASK) != PS_NULL; }

// Composes a shape's device region with a brush under the pen raster mode.
void PaintRegion(Dc& dc, const Region& deviceShape, const Brush& brush)
{
    detail::RunRop(dc, detail::Intersect(dc.DrawableArea(), deviceShape), Rop2ToRop3(dc.S().rop2),
                   &brush, nullptr);
}

// A one-pixel line from a to b (device), leaving out b, through the rop2 masks.
void CosmeticLine(Dc& dc, const Region& area, TPoint a, TPoint b, int& dashPos)
{
    Surface& s = *dc.Target();
    const Pen& pen = dc.S().pen;
    const Rop2Masks m = MakeRop2Masks(dc.S().rop2, s.Normalise(ColorToPixel(pen.color)));
    const std::vector<int>& dashes = DashesOf(pen.style);
    int period = 0;
    for (int d : dashes)
        period += d;
    const int dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
    const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
    int err = dx + dy, x = a.X, y = a.Y;
    while (x != b.X || y != b.Y) {
        bool on = true;
        if (period) {
            int p = dashPos % period, i = 0;
            while (p >= dashes[size_t(i)])
                p -= dashes[size_t(i++)];
            on = (i % 2) == 0;
            ++dashPos;
        }
        if (on && area.Contains(x, y)) {
            std::uint32_t& px = s.Row(y)[x];
            px = ((px & m.andMask) ^ m.xorMask) & (s.IsMono() ? 0x00FFFFFFu : ~0u);
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void WideLine(Dc& dc, TPoint a, TPoint b)
{
    QPainterPath path;
    path.moveTo(a.X + 0.5, a.Y + 0.5);
    path.lineTo(b.X + 0.5, b.Y + 0.5);
    QPainterPathStroker stroker;
    stroker.setWidth(dc.S().pen.width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    PaintRegion(dc, Region::FromPath(stroker.createStroke(path)), Brush::Solid(dc.S().pen.color));
}

void Segment(Dc& dc, TPoint a, TPoint b, int& dashPos)
{
    if (!dc.Target() || !PenVisible(dc.S().pen))
        return;
    a = dc.ToDevice(a);
    b = dc.ToDevice(b);
    if (dc.S().pen.width > 1)
        WideLine(dc, a, b);
    else
        CosmeticLine(dc, dc.DrawableArea(), a, b, dashPos);
}

TRect Ordered(int l, int t, int r, int b)
{
    return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// A closed curved shape: the brush fills it and the pen draws a band of its width just inside
// the outline (the shape's path runs along pixel edges; pixels count by their centres).
void CurvedShape(Dc& dc, const QPainterPath& path)
{
    if (detail::Recording(dc)) {
        detail::RecordShape(dc, path);
        return;
    }
    if (!dc.Target())
        return;
    TPoint o = dc.Origin();
    QPainterPath device = path.translated(o.X, o.Y);
    Region fill = Region::FromPath(device);
    Region outline;
    if (PenVisible(dc.S().pen)) {
        QPainterPathStroker stroker;
        stroker.setWidth(2.0 * std::max(dc.S().pen.width, 1));
        stroker.setJoinStyle(Qt::MiterJoin);
        outline = Region::FromPath(stroker.createStroke(device));
        outline.Combine(outline, &fill, RGN_AND);
        fill.Combine(fill, &outline, RGN_DIFF);
    }
    PaintRegion(dc, fill, dc.S().brush);
    if (!outline.IsEmpty())
        PaintRegion(dc, outline, Brush::Solid(dc.S().pen.color));
}

QRectF ToRectF(const TRect& r) { return QRectF(r.Left, r.Top, r.Width(), r.Height()); }

} // namespace

bool MoveToEx(Dc& dc, int x, int y, TPoint* old)
{
    if (old)
        *old = dc.S().pos;
    dc.S().pos = {x, y};
    if (detail::Recording(dc))
        detail::RecordMoveTo(dc, {x, y});
    return true;
}

bool LineTo(Dc& dc, int x, int y)
{
    if (detail::Recording(dc)) {
        detail::RecordLineTo(dc, dc.S().pos, {x, y});
    } else {
        int dash = 0;
        Segment(dc, dc.S().pos, {x, y}, dash);
    }
    dc.S().pos = {x, y};
    return true;
}

bool Polyline(Dc& dc, const TPoint* pts, int count)
{
    if (count < 2)
        return false;
    if (detail::Recording(dc)) {
        detail::RecordPolyline(dc, pts, count, false);
        return true;
    }
    int dash = 0;
    for (int i = 1; i < count; ++i)
        Segment(dc, pts[i - 1], pts[i], dash);
    return true;
}

bool Polygon(Dc& dc, const TPoint* pts, int count)
{
    if (count < 2)
        return false;
    if (detail::Recording(dc)) {
        detail::RecordPolyline(dc, pts, count, true);
        return true;
    }
    if (!dc.Target())
        return false;
    std::vector<TPoint> device(pts, pts + count);
    for (TPoint& p : device)
        p = dc.ToDevice(p);
    PaintRegion(dc, Region::Polygon(device.data(), count, dc.S().polyFillMode), dc.S().brush);
    int dash = 0;
    for (int i = 0; i < count; ++i)
        Segment(dc, pts[i], pts[(i + 1) % count], dash);
    return true;
}

bool Rectangle(Dc& dc, int l, int t, int r, int b)
{
    TRect box = Ordered(l, t, r, b);
    if (detail::Recording(dc)) {
        QPainterPath outline;
        outline.addRect(ToRectF(box));
        detail::RecordShape(dc, outline);
        return true;
    }
    if (!dc.Target())
        return false;
    if (!PenVisible(dc.S().pen)) {
        // Without a pen the fill ends one pixel short on the right and bottom.
        PaintRegion(dc, Region(dc.ToDevice({box.Left, box.Top, box.Right - 1, box.Bottom - 1})), dc.S().brush);
        return true;
    }
    const int w = std::max(dc.S().pen.width, 1);
    Region outer(dc.ToDevice(box));
    Region inner(dc.ToDevice({box.Left + w, box.Top + w, box.Right - w, box.Bottom - w}));
    PaintRegion(dc, inner, dc.S().brush);
    Region frame;
    frame.Combine(outer, &inner, RGN_DIFF);
    PaintRegion(dc, frame, Brush::Solid(dc.S().pen.color));
    return true;
}

bool Ellipse(Dc& dc, int l, int t, int r, int b)
{
    QPainterPath path;
    path.addEllipse(ToRectF(Ordered(l, t, r, b)));
    CurvedShape(dc, path);
    return true;
}

bool RoundRect(Dc& dc, int l, int t, int r, int b, int ew, int eh)
{
    QPainterPath path;
    path.addRoundedRect(ToRectF(Ordered(l, t, r, b)), std::abs(ew) / 2.0, std::abs(eh) / 2.0);
    CurvedShape(dc, path);
    return true;
}

bool Pie(Dc& dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2)
{
    const TRect box = Ordered(l, t, r, b);
    if (box.Width() == 0 || box.Height() == 0)
        return false;
    const double cx = (box.Left + box.Right) / 2.0, cy = (box.Top + box.Bottom) / 2.0;
    // Angles counter-clockwise from the positive x axis, y growing downwards on the device.
    const double a1 = std::atan2(cy - y1, x1 - cx) * 180.0 / M_PI;
    const double a2 = std::atan2(cy - y2, x2 - cx) * 180.0 / M_PI;
    double sweep = std::fmod(a2 - a1 + 720.0, 360.0);
    if (sweep == 0.0)
        sweep = 360.0; // coinciding radials: the whole ellipse
    QPainterPath path;
    path.moveTo(cx, cy);
    path.arcTo(ToRectF(box), a1, sweep);
    path.closeSubpath();
    CurvedShape(dc, path);
    return true;
}

COLORREF SetPixel(Dc& dc, int x, int y, COLORREF c)
{
    if (!dc.Target())
        return CLR_INVALID;
    TPoint p = dc.ToDevice(TPoint{x, y});
    if (!dc.DrawableArea().Contains(p.X, p.Y))
        return CLR_INVALID;
    const std::uint32_t v = dc.Target()->Normalise(ColorToPixel(c));
    dc.Target()->SetPixel(p.X, p.Y, v);
    return PixelToColor(v);
}

COLORREF GetPixel(const Dc& dc, int x, int y)
{
    if (!dc.Target())
        return CLR_INVALID;
    TPoint p = dc.ToDevice(TPoint{x, y});
    if (!dc.DrawableArea().Contains(p.X, p.Y))
        return CLR_INVALID;
    return PixelToColor(dc.Target()->Pixel(p.X, p.Y));
}

} // namespace gdi
