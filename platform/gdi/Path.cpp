#include "platform/gdi/Path.h"

#include "platform/gdi/Dc.h"

#include <QPainterPathStroker>
#include <algorithm>

namespace gdi {
namespace {

QPointF DevicePoint(const Dc& dc, TPoint logical)
{
    const TPoint p = dc.ToDevice(logical);
    return QPointF(p.X, p.Y);
}

} // namespace

bool BeginPath(Dc& dc)
{
    dc.S().path = Path{Path::Open, QPainterPath(), false};
    return true;
}

bool EndPath(Dc& dc)
{
    Path& path = dc.S().path;
    if (path.phase != Path::Open)
        return false;
    path.phase = Path::Closed;
    path.figureOpen = false;
    return true;
}

bool WidenPath(Dc& dc)
{
    Path& path = dc.S().path;
    const Pen& pen = dc.S().pen;
    if (path.phase != Path::Closed || (pen.style & PS_STYLE_MASK) == PS_NULL)
        return false;
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(pen.width, 1));
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    // The stroke's pieces overlap; simplified() merges them into an outline that fills the same
    // under either polygon fill mode.
    path.outline = stroker.createStroke(path.outline).simplified();
    return true;
}

std::optional<Region> PathToRegion(Dc& dc)
{
    Path& path = dc.S().path;
    if (path.phase != Path::Closed)
        return std::nullopt;
    QPainterPath outline = std::move(path.outline);
    path = Path{};
    outline.setFillRule(dc.S().polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    return Region::FromPath(outline);
}

namespace detail {

bool Recording(const Dc& dc) { return dc.S().path.phase == Path::Open; }

void RecordMoveTo(Dc& dc, TPoint) { dc.S().path.figureOpen = false; }

void RecordLineTo(Dc& dc, TPoint from, TPoint to)
{
    Path& path = dc.S().path;
    if (!path.figureOpen) {
        path.outline.moveTo(DevicePoint(dc, from));
        path.figureOpen = true;
    }
    path.outline.lineTo(DevicePoint(dc, to));
}

void RecordPolyline(Dc& dc, const TPoint* pts, int count, bool closed)
{
    Path& path = dc.S().path;
    path.outline.moveTo(DevicePoint(dc, pts[0]));
    for (int i = 1; i < count; ++i)
        path.outline.lineTo(DevicePoint(dc, pts[i]));
    if (closed)
        path.outline.closeSubpath();
    path.figureOpen = false;
}

void RecordShape(Dc& dc, const QPainterPath& logical)
{
    const TPoint o = dc.Origin();
    Path& path = dc.S().path;
    path.outline.addPath(logical.translated(o.X, o.Y));
    path.figureOpen = false;
}

} // namespace detail
} // namespace gdi
