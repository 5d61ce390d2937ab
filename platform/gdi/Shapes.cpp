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

using Wide = __int128;

// Smallest t with floor((2 * minor * t + major) / (2 * major)) >= k (minor > 0).
Wide FirstStepReaching(Wide k, Wide major, Wide minor)
{
    const Wide num = 2 * major * k - major, den = 2 * minor;
    return num <= 0 ? -((-num) / den) : (num + den - 1) / den;
}

// A one-pixel line from a to b (device), leaving out b, through the rop2 masks.
// Step t (0 <= t < major) of the line lies at major offset t and minor offset
// floor((2 * minor * t + major) / (2 * major)), halves rounding away from the start; only the
// steps inside the area's bounds are visited, so a line of any length costs what it shows.
void CosmeticLine(Dc& dc, const Region& area, TPoint a, TPoint b, int& dashPos)
{
    Surface& s = *dc.Target();
    const Pen& pen = dc.S().pen;
    const Rop2Masks m = MakeRop2Masks(dc.S().rop2, s.Normalise(ColorToPixel(pen.color)));
    const std::vector<int>& dashes = DashesOf(pen.style);
    int period = 0;
    for (int d : dashes)
        period += d;
    const std::int64_t dx = std::llabs(std::int64_t(b.X) - a.X), dy = std::llabs(std::int64_t(b.Y) - a.Y);
    const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
    const bool xMajor = dx >= dy;
    const std::int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const int dashStart = period ? dashPos % period : 0;
    if (period)
        dashPos = int((dashStart + major % period) % period);
    const TRect box = area.Box();
    if (major == 0 || box.Right <= box.Left || box.Bottom <= box.Top)
        return;
    // Offsets from the start, along each axis, that stay inside the box.
    auto range = [](std::int64_t from, int step, int lo, int hi, std::int64_t& first, std::int64_t& last) {
        first = step > 0 ? lo - from : from - (hi - 1);
        last = step > 0 ? (hi - 1) - from : from - lo;
    };
    std::int64_t majLo, majHi, minLo, minHi;
    if (xMajor) {
        range(a.X, sx, box.Left, box.Right, majLo, majHi);
        range(a.Y, sy, box.Top, box.Bottom, minLo, minHi);
    } else {
        range(a.Y, sy, box.Top, box.Bottom, majLo, majHi);
        range(a.X, sx, box.Left, box.Right, minLo, minHi);
    }
    Wide t0 = std::max<Wide>(0, majLo), t1 = std::min<Wide>(major - 1, majHi);
    if (minor == 0) {
        if (minLo > 0 || minHi < 0)
            return;
    } else {
        t0 = std::max(t0, FirstStepReaching(minLo, major, minor));
        t1 = std::min(t1, FirstStepReaching(Wide(minHi) + 1, major, minor) - 1);
    }
    if (t0 > t1)
        return;
    // The minor offset at t0 and the remainder of its division, then stepped incrementally.
    const Wide twoMajor = 2 * Wide(major);
    const Wide num = 2 * Wide(minor) * t0 + major;
    std::int64_t minorAt = std::int64_t(num / twoMajor);
    Wide rest = num % twoMajor;
    for (std::int64_t t = std::int64_t(t0); t <= std::int64_t(t1); ++t) {
        bool on = true;
        if (period) {
            int p = int((dashStart + t % period) % period), i = 0;
            while (p >= dashes[size_t(i)])
                p -= dashes[size_t(i++)];
            on = (i % 2) == 0;
        }
        const std::int64_t x = xMajor ? a.X + sx * t : a.X + sx * minorAt;
        const std::int64_t y = xMajor ? a.Y + sy * minorAt : a.Y + sy * t;
        if (on && area.Contains(int(x), int(y))) {
            std::uint32_t& px = s.Row(int(y))[int(x)];
            px = ((px & m.andMask) ^ m.xorMask) & (s.IsMono() ? 0x00FFFFFFu : ~0u);
        }
        rest += 2 * Wide(minor);
        if (rest >= twoMajor) {
            rest -= twoMajor;
            ++minorAt;
        }
    }
}

// Cuts the segment a-b down to the part inside r (Liang-Barsky); false when nothing is left.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF from = a;
    a = from + QPointF(dx, dy) * t0;
    b = from + QPointF(dx, dy) * t1;
    return true;
}

// The part of a polygon inside r (Sutherland-Hodgman, one edge of r at a time). Inside r the
// winding of every point is kept, so both fill modes fill the same pixels there.
std::vector<QPointF> ClipPolygon(std::vector<QPointF> poly, const QRectF& r)
{
    auto clipEdge = [&](auto inside, auto cross) {
        std::vector<QPointF> out;
        for (size_t i = 0; i < poly.size(); ++i) {
            const QPointF& cur = poly[i];
            const QPointF& prev = poly[(i + poly.size() - 1) % poly.size()];
            if (inside(cur)) {
                if (!inside(prev))
                    out.push_back(cross(prev, cur));
                out.push_back(cur);
            } else if (inside(prev)) {
                out.push_back(cross(prev, cur));
            }
        }
        poly = std::move(out);
    };
    auto atX = [](double x) {
        return [x](QPointF p, QPointF q) { return QPointF(x, p.y() + (q.y() - p.y()) * (x - p.x()) / (q.x() - p.x())); };
    };
    auto atY = [](double y) {
        return [y](QPointF p, QPointF q) { return QPointF(p.x() + (q.x() - p.x()) * (y - p.y()) / (q.y() - p.y()), y); };
    };
    clipEdge([&](QPointF p) { return p.x() >= r.left(); }, atX(r.left()));
    clipEdge([&](QPointF p) { return p.x() <= r.right(); }, atX(r.right()));
    clipEdge([&](QPointF p) { return p.y() >= r.top(); }, atY(r.top()));
    clipEdge([&](QPointF p) { return p.y() <= r.bottom(); }, atY(r.bottom()));
    return poly;
}

// The drawable area's bounds grown by a margin, as the window that clipped geometry must cover.
QRectF ClipWindow(const Dc& dc, double margin)
{
    const TRect box = dc.DrawableArea().Box();
    return QRectF(box.Left - margin, box.Top - margin, double(box.Right) - box.Left + 2 * margin,
                  double(box.Bottom) - box.Top + 2 * margin);
}

void WideLine(Dc& dc, TPoint a, TPoint b)
{
    // Only the part that can reach the visible pixels is stroked.
    QPointF from(a.X + 0.5, a.Y + 0.5), to(b.X + 0.5, b.Y + 0.5);
    if (!ClipSegment(from, to, ClipWindow(dc, dc.S().pen.width + 2.0)))
        return;
    QPainterPath path;
    path.moveTo(from);
    path.lineTo(to);
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
    // The fill is rasterised over the polygon's bounds, so the polygon is cut to the visible
    // area first (a polygon reaching far outside would need a mask of its whole extent).
    std::vector<QPointF> device;
    device.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const TPoint p = dc.ToDevice(pts[i]);
        device.emplace_back(p.X, p.Y);
    }
    device = ClipPolygon(std::move(device), ClipWindow(dc, 2.0));
    if (device.size() >= 3) {
        QPainterPath path;
        path.setFillRule(dc.S().polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        path.moveTo(device[0]);
        for (size_t i = 1; i < device.size(); ++i)
            path.lineTo(device[i]);
        path.closeSubpath();
        PaintRegion(dc, Region::FromPath(path), dc.S().brush);
    }
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
