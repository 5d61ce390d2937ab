// The image library's brushes, pens and graphics, in software. A shape is rasterised without
// smoothing into a coverage layer the size of its bounds (cut to what the device context may
// draw on), and each covered pixel receives the brush's colour at that pixel, composed
// source-over onto its opaque colour. Rectangles are filled without a layer.
#include "toolkit/core/dxGDIPlusAPI.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace cx {

struct GpBrush {
    BrushType type = BrushTypeSolidColor;
    ARGB color1 = 0, color2 = 0; // solid: color1; gradient: start and end; hatch: fore and back
    TdxGPRect rect{};
    LinearGradientMode mode = LinearGradientModeHorizontal;
    WrapMode wrap = WrapModeTile;
    HatchStyle hatch = HatchStyleHorizontal;
    QImage texture{}; // straight (not premultiplied) ARGB
};

struct GpPen {
    float width = 1;
    PenAlignment alignment = PenAlignmentCenter;
    GpBrush brush;
};

struct GpGraphics {
    HDC dc = nullptr;
};

namespace {

inline double Channel(ARGB c, int shift) { return double((c >> shift) & 0xFF); }

ARGB Lerp(ARGB a, ARGB b, double t)
{
    ARGB c = 0;
    for (int shift : {24, 16, 8, 0}) {
        const double value = Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * t;
        c |= ARGB(std::clamp(std::nearbyint(value), 0.0, 255.0)) << shift;
    }
    return c;
}

// Where a gradient position outside 0..1 lands: repeated, mirrored or held at the ends.
double Wrapped(double t, WrapMode mode)
{
    switch (mode) {
    case WrapModeClamp: return std::clamp(t, 0.0, 1.0);
    case WrapModeTileFlipX:
    case WrapModeTileFlipXY: {
        const double m = t - 2 * std::floor(t / 2);
        return m <= 1 ? m : 2 - m;
    }
    default: return t - std::floor(t);
    }
}

bool HatchBit(HatchStyle style, int x, int y)
{
    x &= 7;
    y &= 7;
    const bool horizontal = y == 0, vertical = x == 0, forward = x == y, backward = x + y == 7;
    switch (style) {
    case HatchStyleHorizontal: return horizontal;
    case HatchStyleVertical: return vertical;
    case HatchStyleForwardDiagonal: return forward;
    case HatchStyleBackwardDiagonal: return backward;
    case HatchStyleCross: return horizontal || vertical;
    case HatchStyleDiagonalCross: return forward || backward;
    }
    return false;
}

// The brush's colour at the logical pixel (x, y); positions are the pixels' centres.
ARGB ColorAt(const GpBrush& b, int x, int y)
{
    switch (b.type) {
    case BrushTypeLinearGradient: {
        const double u = b.rect.Width ? (x + 0.5 - b.rect.X) / b.rect.Width : 0;
        const double v = b.rect.Height ? (y + 0.5 - b.rect.Y) / b.rect.Height : 0;
        double t = u;
        switch (b.mode) {
        case LinearGradientModeVertical: t = v; break;
        case LinearGradientModeForwardDiagonal: t = (u + v) / 2; break;
        case LinearGradientModeBackwardDiagonal: t = (1 - u + v) / 2; break;
        default: break;
        }
        return Lerp(b.color1, b.color2, Wrapped(t, b.wrap));
    }
    case BrushTypeHatchFill: return HatchBit(b.hatch, x, y) ? b.color1 : b.color2;
    case BrushTypeTextureFill: {
        if (b.texture.isNull())
            return 0;
        const int w = b.texture.width(), h = b.texture.height();
        return ARGB(b.texture.pixel(((x % w) + w) % w, ((y % h) + h) % h));
    }
    default: return b.color1;
    }
}

// The device rectangle of the logical one, limited to the surface; computed wide so that no
// coordinate overflows.
QRect DeviceBox(HDC dc, double left, double top, double right, double bottom)
{
    const gdi::Surface& s = *dc->Target();
    const TPoint o = dc->Origin();
    const double l = std::max(std::floor(left) + o.X, 0.0), t = std::max(std::floor(top) + o.Y, 0.0);
    const double r = std::min(std::ceil(right) + o.X, double(s.Width()));
    const double b = std::min(std::ceil(bottom) + o.Y, double(s.Height()));
    if (r <= l || b <= t)
        return {};
    return QRect(int(l), int(t), int(r - l), int(b - t));
}

// Composes the brush's colour, source-over, onto every pixel of the box that the clip lets
// through and covered(x, y) (device coordinates) accepts.
template <class Covered>
void Compose(HDC dc, const GpBrush& brush, const QRect& box, Covered covered)
{
    if (box.isEmpty())
        return;
    gdi::Surface& s = *dc->Target();
    const TPoint o = dc->Origin();
    const QRegion area = dc->DrawableArea().Q() & box;
    for (const QRect& part : area)
        for (int y = part.top(); y <= part.bottom(); ++y) {
            std::uint32_t* row = s.Row(y);
            for (int x = part.left(); x <= part.right(); ++x) {
                if (!covered(x, y))
                    continue;
                const ARGB c = ColorAt(brush, x - o.X, y - o.Y);
                const double a = Channel(c, 24) / 255.0;
                std::uint32_t out = 0;
                for (int shift : {16, 8, 0}) {
                    const double v = Channel(c, shift) * a + Channel(row[x], shift) * (1.0 - a);
                    out |= std::uint32_t(std::clamp(std::nearbyint(v), 0.0, 255.0)) << shift;
                }
                row[x] = s.Normalise(out);
            }
        }
}

bool CanDraw(GpGraphics* g) { return g->dc && g->dc->Target() && !g->dc->Target()->IsEmpty(); }

// Fills (brush) or strokes (pen) the logical path.
Status Render(GpGraphics* g, const QPainterPath& path, const GpBrush& brush, const GpPen* pen,
              Qt::FillRule rule = Qt::OddEvenFill)
{
    if (!CanDraw(g))
        return Ok;
    const double extra = pen ? std::ceil(std::max(pen->width, 1.0f)) + 2 : 1;
    const QRectF bounds = path.controlPointRect();
    const QRect box = DeviceBox(g->dc, bounds.left() - extra, bounds.top() - extra, bounds.right() + extra,
                                bounds.bottom() + extra);
    if (box.isEmpty())
        return Ok;
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        const TPoint o = g->dc->Origin();
        p.translate(o.X - box.left(), o.Y - box.top());
        QPainterPath filled = path;
        filled.setFillRule(rule);
        if (pen) {
            QPen qpen(Qt::white);
            qpen.setWidthF(std::max(pen->width, 1.0f));
            // Thin lines keep both end points, as the library draws them.
            qpen.setCapStyle(pen->width <= 1 ? Qt::SquareCap : Qt::FlatCap);
            qpen.setJoinStyle(Qt::MiterJoin);
            p.strokePath(filled, qpen);
        } else {
            p.fillPath(filled, Qt::white);
        }
    }
    Compose(g->dc, brush, box, [&](int x, int y) { return qAlpha(layer.pixel(x - box.left(), y - box.top())) >= 128; });
    return Ok;
}

QRectF RectF(int x, int y, int w, int h) { return QRectF(x, y, w, h); }

QPainterPath Arc(int x, int y, int w, int h, float start, float sweep, bool pie)
{
    QPainterPath path;
    const QRectF r = RectF(x, y, w, h);
    if (pie)
        path.moveTo(r.center());
    else
        path.arcMoveTo(r, -start);
    path.arcTo(r, -start, -sweep);
    if (pie)
        path.closeSubpath();
    return path;
}

// A cardinal spline through the points as Bézier segments.
QPainterPath Curve(const TdxGPPoint* points, int count, float tension, bool closed)
{
    auto at = [&](int i) {
        i = closed ? ((i % count) + count) % count : std::clamp(i, 0, count - 1);
        return QPointF(points[i].X, points[i].Y);
    };
    QPainterPath path(at(0));
    const double k = tension / 3.0;
    const int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        const QPointF p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        path.cubicTo(p1 + (p2 - p0) * k, p2 - (p3 - p1) * k, p2);
    }
    if (closed)
        path.closeSubpath();
    return path;
}

QPainterPath Polygon(const TdxGPPoint* points, int count)
{
    QPainterPath path(QPointF(points[0].X, points[0].Y));
    for (int i = 1; i < count; ++i)
        path.lineTo(points[i].X, points[i].Y);
    path.closeSubpath();
    return path;
}

} // namespace

// ---- brushes ----

Status GdipCloneBrush(GpBrush* brush, GpBrush** clone)
{
    if (!brush || !clone)
        return InvalidParameter;
    *clone = new GpBrush(*brush);
    return Ok;
}

Status GdipDeleteBrush(GpBrush* brush)
{
    if (!brush)
        return InvalidParameter;
    delete brush;
    return Ok;
}

Status GdipGetBrushType(GpBrush* brush, BrushType* type)
{
    if (!brush || !type)
        return InvalidParameter;
    *type = brush->type;
    return Ok;
}

Status GdipCreateSolidFill(ARGB color, GpBrush** brush)
{
    if (!brush)
        return InvalidParameter;
    *brush = new GpBrush{BrushTypeSolidColor, color};
    return Ok;
}

namespace {
// The brush when it is of the type, else null.
GpBrush* OfType(GpBrush* brush, BrushType type) { return brush && brush->type == type ? brush : nullptr; }
} // namespace

Status GdipSetSolidFillColor(GpBrush* brush, ARGB color)
{
    GpBrush* b = OfType(brush, BrushTypeSolidColor);
    if (!b)
        return InvalidParameter;
    b->color1 = color;
    return Ok;
}

Status GdipGetSolidFillColor(GpBrush* brush, ARGB* color)
{
    GpBrush* b = OfType(brush, BrushTypeSolidColor);
    if (!b || !color)
        return InvalidParameter;
    *color = b->color1;
    return Ok;
}

Status GdipCreateLineBrushFromRectI(const TdxGPRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                    WrapMode wrapMode, GpBrush** brush)
{
    if (!rect || !brush || mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal ||
        wrapMode == WrapModeClamp || rect->Width == 0 || rect->Height == 0)
        return InvalidParameter;
    auto* b = new GpBrush{BrushTypeLinearGradient, color1, color2, *rect, mode, wrapMode};
    *brush = b;
    return Ok;
}

Status GdipGetLineRectI(GpBrush* brush, TdxGPRect* rect)
{
    GpBrush* b = OfType(brush, BrushTypeLinearGradient);
    if (!b || !rect)
        return InvalidParameter;
    *rect = b->rect;
    return Ok;
}

Status GdipSetLineColors(GpBrush* brush, ARGB color1, ARGB color2)
{
    GpBrush* b = OfType(brush, BrushTypeLinearGradient);
    if (!b)
        return InvalidParameter;
    b->color1 = color1;
    b->color2 = color2;
    return Ok;
}

Status GdipGetLineColors(GpBrush* brush, ARGB* colors)
{
    GpBrush* b = OfType(brush, BrushTypeLinearGradient);
    if (!b || !colors)
        return InvalidParameter;
    colors[0] = b->color1;
    colors[1] = b->color2;
    return Ok;
}

Status GdipSetLineWrapMode(GpBrush* brush, WrapMode wrapMode)
{
    GpBrush* b = OfType(brush, BrushTypeLinearGradient);
    if (!b || wrapMode < WrapModeTile || wrapMode > WrapModeClamp)
        return InvalidParameter;
    b->wrap = wrapMode;
    return Ok;
}

Status GdipGetLineWrapMode(GpBrush* brush, WrapMode* wrapMode)
{
    GpBrush* b = OfType(brush, BrushTypeLinearGradient);
    if (!b || !wrapMode)
        return InvalidParameter;
    *wrapMode = b->wrap;
    return Ok;
}

Status GdipCreateHatchBrush(HatchStyle style, ARGB foreColor, ARGB backColor, GpBrush** brush)
{
    if (!brush || style < HatchStyleHorizontal || style > HatchStyleDiagonalCross)
        return InvalidParameter;
    auto* b = new GpBrush{BrushTypeHatchFill, foreColor, backColor};
    b->hatch = style;
    *brush = b;
    return Ok;
}

Status GdipGetHatchStyle(GpBrush* brush, HatchStyle* style)
{
    GpBrush* b = OfType(brush, BrushTypeHatchFill);
    if (!b || !style)
        return InvalidParameter;
    *style = b->hatch;
    return Ok;
}

Status GdipGetHatchForegroundColor(GpBrush* brush, ARGB* color)
{
    GpBrush* b = OfType(brush, BrushTypeHatchFill);
    if (!b || !color)
        return InvalidParameter;
    *color = b->color1;
    return Ok;
}

Status GdipGetHatchBackgroundColor(GpBrush* brush, ARGB* color)
{
    GpBrush* b = OfType(brush, BrushTypeHatchFill);
    if (!b || !color)
        return InvalidParameter;
    *color = b->color2;
    return Ok;
}

Status GdipCreateTexture(const QImage& image, WrapMode wrapMode, GpBrush** brush)
{
    if (!brush || image.isNull())
        return InvalidParameter;
    auto* b = new GpBrush{BrushTypeTextureFill};
    b->wrap = wrapMode;
    b->texture = image.convertToFormat(QImage::Format_ARGB32);
    *brush = b;
    return Ok;
}

// ---- pens ----

Status GdipCreatePen1(ARGB color, float width, GpUnit, GpPen** pen)
{
    if (!pen)
        return InvalidParameter;
    *pen = new GpPen{width, PenAlignmentCenter, GpBrush{BrushTypeSolidColor, color}};
    return Ok;
}

Status GdipCreatePen2(GpBrush* brush, float width, GpUnit, GpPen** pen)
{
    if (!brush || !pen)
        return InvalidParameter;
    *pen = new GpPen{width, PenAlignmentCenter, *brush};
    return Ok;
}

Status GdipClonePen(GpPen* pen, GpPen** clone)
{
    if (!pen || !clone)
        return InvalidParameter;
    *clone = new GpPen(*pen);
    return Ok;
}

Status GdipDeletePen(GpPen* pen)
{
    if (!pen)
        return InvalidParameter;
    delete pen;
    return Ok;
}

Status GdipGetPenFillType(GpPen* pen, PenType* type)
{
    if (!pen || !type)
        return InvalidParameter;
    *type = PenType(pen->brush.type);
    return Ok;
}

Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush)
{
    if (!pen || !brush)
        return InvalidParameter;
    pen->brush = *brush;
    return Ok;
}

Status GdipGetPenBrushFill(GpPen* pen, GpBrush** brush)
{
    if (!pen || !brush)
        return InvalidParameter;
    *brush = new GpBrush(pen->brush);
    return Ok;
}

Status GdipSetPenColor(GpPen* pen, ARGB color)
{
    if (!pen)
        return InvalidParameter;
    pen->brush = GpBrush{BrushTypeSolidColor, color};
    return Ok;
}

Status GdipGetPenColor(GpPen* pen, ARGB* color)
{
    if (!pen || !color || pen->brush.type != BrushTypeSolidColor)
        return InvalidParameter;
    *color = pen->brush.color1;
    return Ok;
}

Status GdipSetPenMode(GpPen* pen, PenAlignment alignment)
{
    if (!pen || (alignment != PenAlignmentCenter && alignment != PenAlignmentInset))
        return InvalidParameter;
    pen->alignment = alignment;
    return Ok;
}

Status GdipGetPenMode(GpPen* pen, PenAlignment* alignment)
{
    if (!pen || !alignment)
        return InvalidParameter;
    *alignment = pen->alignment;
    return Ok;
}

Status GdipSetPenWidth(GpPen* pen, float width)
{
    if (!pen || !(width >= 0))
        return InvalidParameter;
    pen->width = width;
    return Ok;
}

Status GdipGetPenWidth(GpPen* pen, float* width)
{
    if (!pen || !width)
        return InvalidParameter;
    *width = pen->width;
    return Ok;
}

// ---- graphics ----

Status GdipCreateFromHDC(HDC dc, GpGraphics** graphics)
{
    if (!dc || !graphics)
        return InvalidParameter;
    *graphics = new GpGraphics{dc};
    return Ok;
}

Status GdipDeleteGraphics(GpGraphics* graphics)
{
    if (!graphics)
        return InvalidParameter;
    delete graphics;
    return Ok;
}

Status GdipGetDC(GpGraphics* graphics, HDC* dc)
{
    if (!graphics || !dc)
        return InvalidParameter;
    *dc = graphics->dc;
    return Ok;
}

Status GdipReleaseDC(GpGraphics* graphics, HDC dc)
{
    return graphics && dc == graphics->dc ? Ok : InvalidParameter;
}

Status GdipGraphicsClear(GpGraphics* graphics, ARGB color)
{
    if (!graphics)
        return InvalidParameter;
    if (!CanDraw(graphics))
        return Ok;
    const double a = Channel(color, 24) / 255.0;
    std::uint32_t pixel = 0;
    for (int shift : {16, 8, 0})
        pixel |= std::uint32_t(std::nearbyint(Channel(color, shift) * a)) << shift;
    gdi::Surface& s = *graphics->dc->Target();
    for (const QRect& part : graphics->dc->DrawableArea().Q())
        for (int y = part.top(); y <= part.bottom(); ++y)
            std::fill(s.Row(y) + part.left(), s.Row(y) + part.right() + 1, s.Normalise(pixel));
    return Ok;
}

Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height)
{
    if (!graphics || !brush)
        return InvalidParameter;
    if (!CanDraw(graphics) || width <= 0 || height <= 0)
        return Ok;
    const QRect box = DeviceBox(graphics->dc, x, y, double(x) + width, double(y) + height);
    Compose(graphics->dc, *brush, box, [](int, int) { return true; });
    return Ok;
}

Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, int x1, int y1, int x2, int y2)
{
    if (!graphics || !pen)
        return InvalidParameter;
    QPainterPath path(QPointF(x1, y1));
    path.lineTo(x2, y2);
    return Render(graphics, path, pen->brush, pen);
}

Status GdipDrawArcI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height, float startAngle,
                    float sweepAngle)
{
    if (!graphics || !pen)
        return InvalidParameter;
    return Render(graphics, Arc(x, y, width, height, startAngle, sweepAngle, false), pen->brush, pen);
}

Status GdipDrawBezierI(GpGraphics* graphics, GpPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                       int y4)
{
    if (!graphics || !pen)
        return InvalidParameter;
    QPainterPath path(QPointF(x1, y1));
    path.cubicTo(x2, y2, x3, y3, x4, y4);
    return Render(graphics, path, pen->brush, pen);
}

Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height)
{
    if (!graphics || !pen)
        return InvalidParameter;
    QPainterPath path;
    path.addRect(RectF(x, y, width, height));
    return Render(graphics, path, pen->brush, pen);
}

Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height)
{
    if (!graphics || !pen)
        return InvalidParameter;
    QPainterPath path;
    path.addEllipse(RectF(x, y, width, height));
    return Render(graphics, path, pen->brush, pen);
}

Status GdipDrawPieI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height, float startAngle,
                    float sweepAngle)
{
    if (!graphics || !pen)
        return InvalidParameter;
    return Render(graphics, Arc(x, y, width, height, startAngle, sweepAngle, true), pen->brush, pen);
}

Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const TdxGPPoint* points, int count)
{
    if (!graphics || !pen || !points || count < 2)
        return InvalidParameter;
    return Render(graphics, Polygon(points, count), pen->brush, pen);
}

Status GdipDrawCurve2I(GpGraphics* graphics, GpPen* pen, const TdxGPPoint* points, int count, float tension)
{
    if (!graphics || !pen || !points || count < 2)
        return InvalidParameter;
    return Render(graphics, Curve(points, count, tension, false), pen->brush, pen);
}

Status GdipDrawClosedCurve2I(GpGraphics* graphics, GpPen* pen, const TdxGPPoint* points, int count, float tension)
{
    if (!graphics || !pen || !points || count < 2)
        return InvalidParameter;
    return Render(graphics, Curve(points, count, tension, true), pen->brush, pen);
}

Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const TdxGPPoint* points, int count,
                        GpFillMode fillMode)
{
    if (!graphics || !brush || !points || count < 2)
        return InvalidParameter;
    return Render(graphics, Polygon(points, count), *brush, nullptr,
                  fillMode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
}

Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height)
{
    if (!graphics || !brush)
        return InvalidParameter;
    QPainterPath path;
    path.addEllipse(RectF(x, y, width, height));
    return Render(graphics, path, *brush, nullptr);
}

Status GdipFillPieI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height, float startAngle,
                    float sweepAngle)
{
    if (!graphics || !brush)
        return InvalidParameter;
    return Render(graphics, Arc(x, y, width, height, startAngle, sweepAngle, true), *brush, nullptr);
}

Status GdipFillClosedCurveI(GpGraphics* graphics, GpBrush* brush, const TdxGPPoint* points, int count)
{
    if (!graphics || !brush || !points || count < 2)
        return InvalidParameter;
    return Render(graphics, Curve(points, count, 0.5f, true), *brush, nullptr);
}

// ---- the fills of the binding ----

void dxGpFillRect(GpGraphics* graphics, const TRect& r, ARGB color)
{
    GpBrush* brush = nullptr;
    GdipCheck(GdipCreateSolidFill(color, &brush));
    const TdxGPRect rect = MakeRect(r);
    const Status status = GdipFillRectangleI(graphics, brush, rect.X, rect.Y, rect.Width, rect.Height);
    GdipCheck(GdipDeleteBrush(brush));
    GdipCheck(status);
}

void dxGpFillRectByGradient(GpGraphics* graphics, const TRect& r, ARGB color1, ARGB color2, LinearGradientMode mode)
{
    const TdxGPRect rect = MakeRect(r);
    // An empty rectangle has no gradient to make and nothing to fill.
    if (rect.Width <= 0 || rect.Height <= 0)
        return;
    GpBrush* brush = nullptr;
    GdipCheck(GdipCreateLineBrushFromRectI(&rect, color1, color2, mode, WrapModeTile, &brush));
    const Status status = GdipFillRectangleI(graphics, brush, rect.X, rect.Y, rect.Width, rect.Height);
    GdipCheck(GdipDeleteBrush(brush));
    GdipCheck(status);
}

} // namespace cx
