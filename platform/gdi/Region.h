#pragma once
// A set of pixels in device coordinates, kept as y-x banded rectangles (QRegion).
#include "platform/gdi/GdiConsts.h"
#include "platform/rtl/Types.h"

#include <QRegion>
#include <vector>

class QImage;
class QPainterPath;

namespace gdi {

QRect ToQRect(const TRect& r);
TRect FromQRect(const QRect& r);

class Region {
public:
    Region() = default;
    explicit Region(const TRect& r);
    explicit Region(QRegion r) : region_(std::move(r)) {}

    // Shapes rasterised the way the drawing primitives fill them.
    static Region Ellipse(const TRect& r);
    static Region RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight);
    static Region Polygon(const TPoint* points, int count, int fillMode);
    // Pixels of an 8-bit mask (value >= 128) placed with its top-left at (x, y).
    static Region FromMask(const QImage& mask, int x, int y);
    // Pixels whose centres a filled path covers.
    static Region FromPath(const QPainterPath& path);

    bool IsEmpty() const { return region_.isEmpty(); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    TRect Box() const;
    void Offset(int dx, int dy) { region_.translate(dx, dy); }
    bool Contains(int x, int y) const { return region_.contains(QPoint(x, y)); }
    bool IntersectsRect(const TRect& r) const;
    bool Equals(const Region& other) const { return (region_ ^ other.region_).isEmpty(); }
    // dest = a (mode) b; returns the kind of the result.
    int Combine(const Region& a, const Region* b, int mode);
    std::vector<TRect> Rects() const;

    const QRegion& Q() const { return region_; }
    QRegion& Q() { return region_; }

private:
    QRegion region_;
};

} // namespace gdi
