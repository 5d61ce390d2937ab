#include "toolkit/core/cxGeometry.h"

#include <algorithm>

namespace cx {

TRect cxRect(int l, int t, int r, int b) { return {l, t, r, b}; }
TRect cxRect(const TPoint& tl, const TPoint& br) { return {tl.X, tl.Y, br.X, br.Y}; }
TRect cxRectBounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }
TPoint cxPoint(int x, int y) { return {x, y}; }
TPoint cxPoint(const TSize& s) { return {s.cx, s.cy}; }
TSize cxSize(int cx, int cy) { return {cx, cy}; }
TSize cxSize(const TPoint& p) { return {p.X, p.Y}; }

int cxRectWidth(const TRect& r) { return r.Right - r.Left; }
int cxRectHeight(const TRect& r) { return r.Bottom - r.Top; }
TSize cxRectSize(const TRect& r) { return {cxRectWidth(r), cxRectHeight(r)}; }
int cxRectGetSize(const TRect& r, int index) { return index == 0 ? cxRectWidth(r) : cxRectHeight(r); }

int cxRectGetItem(const TRect& r, int index)
{
    switch (index) {
    case 0: return r.Left;
    case 1: return r.Top;
    case 2: return r.Right;
    case 3: return r.Bottom;
    default: return 0;
    }
}

int cxPointGetItem(const TPoint& p, int index) { return index == 0 ? p.X : p.Y; }
TPoint cxRectLeftBottom(const TRect& r) { return {r.Left, r.Bottom}; }
TPoint cxRectRightTop(const TRect& r) { return {r.Right, r.Top}; }
TPoint cxRectCenter(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

TRect cxRectCenter(const TRect& r, int width, int height)
{
    int l = (r.Left + r.Right - width) / 2, t = (r.Top + r.Bottom - height) / 2;
    return {l, t, l + width, t + height};
}

TRect cxRectCenter(const TRect& r, const TSize& size) { return cxRectCenter(r, size.cx, size.cy); }

bool cxRectIsEmpty(const TRect& r) { return !(r.Left < r.Right && r.Top < r.Bottom); }
bool cxRectIsNull(const TRect& r) { return r == cxNullRect; }
bool cxRectIsInvalid(const TRect& r) { return r == cxInvalidRect; }
bool cxRectIsEqual(const TRect& r1, const TRect& r2) { return r1 == r2; }
bool cxRectCompare(const TRect& r1, const TRect& r2) { return r1 == r2; }
bool cxRectPtIn(const TRect& r, int x, int y) { return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom; }
bool cxRectPtIn(const TRect& r, const TPoint& p) { return cxRectPtIn(r, p.X, p.Y); }

TcxPtInRectType cxRectPtInEx(const TRect& r, int x, int y, int lo, int to, int ro, int bo)
{
    if (cxRectPtIn(r, x, y))
        return ptrtArea;
    if (!cxRectPtIn(cxRectInflate(r, lo, to, ro, bo), x, y))
        return ptrtNone;
    auto within = [](int diff, int offset) { return -offset <= diff && diff < offset; };
    if (within(x - r.Right, ro))
        return ptrtRight;
    if (within(y - r.Bottom, bo))
        return ptrtBottom;
    if (within(x - r.Left, lo))
        return ptrtLeft;
    return ptrtTop;
}

TcxPtInRectType cxRectPtInEx(const TRect& r, int x, int y, int offset) { return cxRectPtInEx(r, x, y, offset, offset, offset, offset); }
TcxPtInRectType cxRectPtInEx(const TRect& r, int x, int y, int h, int v) { return cxRectPtInEx(r, x, y, h, v, h, v); }

bool cxRectContain(const TRect& b, const TRect& i)
{
    return i.Left >= b.Left && i.Right <= b.Right && i.Top >= b.Top && i.Bottom <= b.Bottom;
}

bool cxPointIsEqual(const TPoint& p1, const TPoint& p2) { return p1 == p2; }
bool cxSizeIsEqual(const TSize& s1, const TSize& s2) { return s1 == s2; }
bool cxPointIsNull(const TPoint& p) { return p == cxNullPoint; }

TRect cxRectInflate(const TRect& r, int dx, int dy) { return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy}; }
TRect cxRectInflate(const TRect& r, int l, int t, int rr, int b) { return {r.Left - l, r.Top - t, r.Right + rr, r.Bottom + b}; }
TRect cxRectInflate(const TRect& r, const TRect& m) { return cxRectInflate(r, m.Left, m.Top, m.Right, m.Bottom); }
TRect cxRectContent(const TRect& r, const TRect& m) { return {r.Left + m.Left, r.Top + m.Top, r.Right - m.Right, r.Bottom - m.Bottom}; }

TPoint cxPointOffset(const TPoint& p, int dx, int dy, bool positive)
{
    return positive ? TPoint{p.X + dx, p.Y + dy} : TPoint{p.X - dx, p.Y - dy};
}
TPoint cxPointOffset(const TPoint& p, const TPoint& d, bool positive) { return cxPointOffset(p, d.X, d.Y, positive); }
TPoint cxPointOffset(const TPoint& p, const std::vector<TPoint>& ds, bool positive) { return cxPointOffset(p, cxPointSum(ds), positive); }

TRect cxRectOffset(const TRect& r, int dx, int dy, bool positive)
{
    return cxRect(cxPointOffset({r.Left, r.Top}, dx, dy, positive), cxPointOffset({r.Right, r.Bottom}, dx, dy, positive));
}
TRect cxRectOffset(const TRect& r, const TPoint& d, bool positive) { return cxRectOffset(r, d.X, d.Y, positive); }
TRect cxRectOffset(const TRect& r, const std::vector<TPoint>& ds, bool positive) { return cxRectOffset(r, cxPointSum(ds), positive); }
TRect cxRectOffsetHorz(const TRect& r, int dx) { return {r.Left + dx, r.Top, r.Right + dx, r.Bottom}; }
TRect cxRectOffsetVert(const TRect& r, int dy) { return {r.Left, r.Top + dy, r.Right, r.Bottom + dy}; }

TPoint cxPointSum(const std::vector<TPoint>& points)
{
    TPoint s = cxNullPoint;
    for (const TPoint& p : points) {
        s.X += p.X;
        s.Y += p.Y;
    }
    return s;
}

TPoint cxPointInvert(const TPoint& p) { return {-p.X, -p.Y}; }
TRect cxRectInvert(const TRect& r) { return {-r.Left, -r.Top, -r.Right, -r.Bottom}; }

TRect cxRectSetLeft(const TRect& r, int x) { return cxRectSetLeft(r, x, cxRectWidth(r)); }
TRect cxRectSetLeft(const TRect& r, int x, int w) { return {x, r.Top, x + w, r.Bottom}; }
TRect cxRectSetTop(const TRect& r, int y) { return cxRectSetTop(r, y, cxRectHeight(r)); }
TRect cxRectSetTop(const TRect& r, int y, int h) { return {r.Left, y, r.Right, y + h}; }
TRect cxRectSetRight(const TRect& r, int x) { return cxRectSetRight(r, x, cxRectWidth(r)); }
TRect cxRectSetRight(const TRect& r, int x, int w) { return {x - w, r.Top, x, r.Bottom}; }
TRect cxRectSetBottom(const TRect& r, int y) { return cxRectSetBottom(r, y, cxRectHeight(r)); }
TRect cxRectSetBottom(const TRect& r, int y, int h) { return {r.Left, y - h, r.Right, y}; }
TRect cxRectSetWidth(const TRect& r, int w) { return {r.Left, r.Top, r.Left + w, r.Bottom}; }
TRect cxRectSetWidth(const TRect& r, int x, int w) { return {x, r.Top, x + w, r.Bottom}; }
TRect cxRectSetHeight(const TRect& r, int h) { return {r.Left, r.Top, r.Right, r.Top + h}; }
TRect cxRectSetSize(const TRect& r, int w, int h) { return {r.Left, r.Top, r.Left + w, r.Top + h}; }
TRect cxRectSetXPos(const TRect& r, int x1, int x2) { return {x1, r.Top, x2, r.Bottom}; }
TRect cxRectSetYPos(const TRect& r, int y1, int y2) { return {r.Left, y1, r.Right, y2}; }
TPoint cxPointReplaceItem(const TPoint& p, int index, int value) { return index == 0 ? TPoint{value, p.Y} : TPoint{p.X, value}; }

TRect cxRectAdjust(const TRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

TRect cxRectRotate(const TRect& r) { return {r.Top, r.Left, r.Bottom, r.Right}; }

bool cxRectIntersect(TRect& result, const TRect& r1, const TRect& r2)
{
    result = {std::max(r1.Left, r2.Left), std::max(r1.Top, r2.Top), std::min(r1.Right, r2.Right), std::min(r1.Bottom, r2.Bottom)};
    if (!(result.Left < result.Right && result.Top < result.Bottom)) {
        result = cxNullRect;
        return false;
    }
    return true;
}

bool cxRectIntersect(const TRect& r1, const TRect& r2)
{
    TRect r;
    return cxRectIntersect(r, r1, r2);
}

TRect cxRectUnion(const TRect& r1, const TRect& r2)
{
    TRect r = r1;
    if (cxRectWidth(r2) <= 0 || cxRectHeight(r2) <= 0)
        return r;
    r.Left = std::min(r.Left, r2.Left);
    r.Top = std::min(r.Top, r2.Top);
    r.Right = std::max(r.Right, r2.Right);
    r.Bottom = std::max(r.Bottom, r2.Bottom);
    return r;
}

void cxRectSplitHorz(const TRect& r, TRect& left, TRect& right)
{
    int mid = (r.Left + r.Right) / 2;
    left = r;
    right = r;
    left.Right = mid;
    right.Left = mid;
}

void cxRectSplitVert(const TRect& r, TRect& top, TRect& bottom)
{
    int mid = (r.Top + r.Bottom) / 2;
    top = r;
    bottom = r;
    top.Bottom = mid;
    bottom.Top = mid;
}

TRect cxRectScaleHeight(const TRect& r, int y1, int y2, int h1, int h2)
{
    TRect res = r;
    res.Top = y2 + MulDiv(y1 - r.Top, h2, h1);
    res.Bottom = res.Top + MulDiv(r.Bottom - r.Top, h2, h1);
    return res;
}

TRect cxRectScaleWidth(const TRect& r, int x1, int x2, int w1, int w2)
{
    TRect res = r;
    res.Left = x2 + MulDiv(x1 - r.Left, w2, w1);
    res.Right = res.Left + MulDiv(r.Right - r.Left, w2, w1);
    return res;
}

void cxRectOverlapped(const TRect& r1, const TRect& r2, TRect& r1Vert, TRect& r1Horz, TRect& r2Vert, TRect& r2Horz)
{
    int dy = r1.Bottom - r2.Bottom, dx = r1.Right - r2.Right;
    r1Vert = r2Vert = r1Horz = r2Horz = cxNullRect;
    if (dy > 0) {
        r1Vert = r1;
        r1Vert.Top = r1.Bottom - dy;
        r2Vert = r2;
        r2Vert.Bottom = r2.Top + dy;
    } else if (dy < 0) {
        r1Vert = r1;
        r1Vert.Bottom = r1.Top - dy;
        r2Vert = r2;
        r2Vert.Top = r2.Bottom + dy;
    }
    if (dx > 0) {
        r1Horz = r1;
        r1Horz.Left = r1.Right - dx;
        r2Horz = r2;
        r2Horz.Right = r2.Left + dx;
    } else if (dx < 0) {
        r1Horz = r1;
        r1Horz.Right = r1.Left - dx;
        r2Horz = r2;
        r2Horz.Left = r2.Right + dx;
    }
}

void cxRectMinMaxInit(int& min, int& max)
{
    min = 2147483647;
    max = -1;
}

void cxRectMinMaxHeight(const TRect& r, int& max, int& min)
{
    max = std::max(max, r.Bottom);
    min = std::min(min, r.Top);
}

void cxRectMinMaxWidth(const TRect& r, int& max, int& min)
{
    max = std::max(max, r.Right);
    min = std::min(min, r.Left);
}

// --- TcxRect ----------------------------------------------------------------------------------------
void TcxRect::Assign(TPersistent* source)
{
    if (auto* r = dynamic_cast<TcxRect*>(source))
        SetRect(r->Rect());
    // Any other source is ignored, as designed.
}

void TcxRect::SetRect(const TRect& value)
{
    TRect r = value;
    ValidateRect(r);
    if (r == rect_)
        return;
    rect_ = r;
    DoChange();
}

int TcxRect::GetValue(int index) const
{
    switch (index) {
    case 0: return rect_.Left;
    case 1: return rect_.Top;
    case 2: return rect_.Right;
    default: return rect_.Bottom;
    }
}

void TcxRect::SetValue(int index, int value)
{
    TRect r = rect_;
    switch (index) {
    case 0: r.Left = value; break;
    case 1: r.Top = value; break;
    case 2: r.Right = value; break;
    case 3: r.Bottom = value; break;
    default: break;
    }
    SetRect(r);
}

TPoint TcxRect::GetVertex(int index) const
{
    switch (index) {
    case 0: return {rect_.Left, rect_.Top};
    case 1: return {rect_.Right, rect_.Top};
    case 2: return {rect_.Left, rect_.Bottom};
    default: return {rect_.Right, rect_.Bottom};
    }
}

void TcxRect::SetVertex(int index, const TPoint& value)
{
    TRect r = rect_;
    switch (index) {
    case 0: r.Left = value.X; r.Top = value.Y; break;
    case 1: r.Right = value.X; r.Top = value.Y; break;
    case 2: r.Left = value.X; r.Bottom = value.Y; break;
    case 3: r.Right = value.X; r.Bottom = value.Y; break;
    default: break;
    }
    SetRect(r);
}

// --- TcxSize ------------------------------------------------------------------------------------------
void TcxSize::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TcxSize*>(source))
        SetSize(s->GetSize());
    else
        TPersistent::Assign(source);
}

void TcxSize::SetSize(const TSize& value)
{
    TSize s{std::max(value.cx, 0), std::max(value.cy, 0)};
    if (s == size_)
        return;
    size_ = s;
    DoChange();
}

void TcxSize::SetValue(int index, int value)
{
    TSize s = size_;
    if (index == 0)
        s.cy = value;
    else
        s.cx = value;
    SetSize(s);
}

namespace cxGeometryUnit {
namespace {
int startCount = 0;
}
void Initialize()
{
    if (startCount++ == 0) {
        TcxRectClass::Of<TcxRect>();   // the streaming factory
        RegisterClassMeta(TcxRect::StaticClass());
    }
}
void Finalize()
{
    if (startCount > 0 && --startCount == 0)
        UnRegisterClassMeta(TcxRect::StaticClass());
}
} // namespace cxGeometryUnit

} // namespace cx
