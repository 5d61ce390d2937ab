#include "platform/gdi/Region.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace gdi {

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

TRect FromQRect(const QRect& r)
{
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

Region::Region(const TRect& r)
{
    if (r.Right > r.Left && r.Bottom > r.Top)
        region_ = QRegion(ToQRect(r));
}

Region Region::FromMask(const QImage& mask, int x0, int y0)
{
    std::vector<QRect> runs;
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* row = mask.constScanLine(y);
        int x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && row[x] < 128)
                ++x;
            int start = x;
            while (x < mask.width() && row[x] >= 128)
                ++x;
            if (x > start)
                runs.emplace_back(x0 + start, y0 + y, x - start, 1);
        }
    }
    QRegion out;
    if (!runs.empty())
        out.setRects(runs.data(), int(runs.size()));
    // setRects keeps one band a row; a union with nothing normalises the bands.
    return Region(out.united(QRegion()));
}

Region Region::FromPath(const QPainterPath& path)
{
    QRect box = path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    if (box.isEmpty())
        return {};
    QImage mask(box.size(), QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-box.x(), -box.y());
        p.fillPath(path, QColor(0, 0, 0, 255));
    }
    return FromMask(mask, box.x(), box.y());
}

Region Region::Ellipse(const TRect& r)
{
    QPainterPath path;
    path.addEllipse(QRectF(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top));
    return FromPath(path);
}

Region Region::RoundRect(const TRect& r, int ew, int eh)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top),
                        std::abs(ew) / 2.0, std::abs(eh) / 2.0);
    return FromPath(path);
}

Region Region::Polygon(const TPoint* pts, int count, int fillMode)
{
    if (count < 3)
        return {};
    QPainterPath path;
    path.setFillRule(fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    path.moveTo(pts[0].X, pts[0].Y);
    for (int i = 1; i < count; ++i)
        path.lineTo(pts[i].X, pts[i].Y);
    path.closeSubpath();
    return FromPath(path);
}

int Region::Kind() const
{
    if (region_.isEmpty())
        return NULLREGION;
    return region_.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

TRect Region::Box() const
{
    if (region_.isEmpty())
        return {};
    return FromQRect(region_.boundingRect());
}

bool Region::IntersectsRect(const TRect& r) const
{
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return false;
    return region_.intersects(ToQRect(r));
}

int Region::Combine(const Region& a, const Region* b, int mode)
{
    QRegion other = b ? b->region_ : QRegion();
    switch (mode) {
    case RGN_AND: region_ = a.region_.intersected(other); break;
    case RGN_OR: region_ = a.region_.united(other); break;
    case RGN_XOR: region_ = a.region_.xored(other); break;
    case RGN_DIFF: region_ = a.region_.subtracted(other); break;
    case RGN_COPY: region_ = a.region_; break;
    default: return RGN_ERROR;
    }
    return Kind();
}

std::vector<TRect> Region::Rects() const
{
    std::vector<TRect> out;
    out.reserve(size_t(region_.rectCount()));
    for (const QRect& r : region_)
        out.push_back(FromQRect(r));
    return out;
}

} // namespace gdi
