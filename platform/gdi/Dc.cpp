#include "platform/gdi/Dc.h"

#include <utility>

namespace gdi {

int Dc::Save()
{
    saved_.push_back(state_);
    return int(saved_.size());
}

bool Dc::Restore(int index)
{
    int depth = int(saved_.size());
    if (index < 0)
        index = depth + 1 + index;
    if (index <= 0 || index > depth)
        return false;
    state_ = std::move(saved_[size_t(index - 1)]);
    saved_.resize(size_t(index - 1));
    return true;
}

TPoint Dc::Origin() const
{
    return {state_.viewportOrg.X - state_.windowOrg.X, state_.viewportOrg.Y - state_.windowOrg.Y};
}

TPoint Dc::ToDevice(TPoint p) const
{
    TPoint o = Origin();
    return {p.X + o.X, p.Y + o.Y};
}

TRect Dc::ToDevice(const TRect& r) const
{
    TPoint o = Origin();
    return {r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y};
}

Region Dc::DrawableArea() const
{
    Region area(target_ ? target_->Bounds() : TRect{});
    if (state_.clip)
        area.Combine(area, &*state_.clip, RGN_AND);
    return area;
}

std::vector<TRect> Dc::ClipRects(const TRect& logical) const
{
    Region r(ToDevice(logical));
    Region area = DrawableArea();
    r.Combine(r, &area, RGN_AND);
    return r.Rects();
}

COLORREF SetTextColor(Dc& dc, COLORREF c) { return std::exchange(dc.S().textColor, c); }
COLORREF SetBkColor(Dc& dc, COLORREF c) { return std::exchange(dc.S().bkColor, c); }
int SetBkMode(Dc& dc, int mode) { return std::exchange(dc.S().bkMode, mode); }
int SetROP2(Dc& dc, int rop2)
{
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    return std::exchange(dc.S().rop2, rop2);
}
int GetROP2(const Dc& dc) { return dc.S().rop2; }
int SetStretchBltMode(Dc& dc, int mode) { return std::exchange(dc.S().stretchMode, mode); }
TPoint SetViewportOrgEx(Dc& dc, int x, int y) { return std::exchange(dc.S().viewportOrg, TPoint{x, y}); }
TPoint SetWindowOrgEx(Dc& dc, int x, int y) { return std::exchange(dc.S().windowOrg, TPoint{x, y}); }
TPoint SetBrushOrgEx(Dc& dc, int x, int y) { return std::exchange(dc.S().brushOrg, TPoint{x, y}); }
Pen SelectPen(Dc& dc, const Pen& pen) { return std::exchange(dc.S().pen, pen); }
Brush SelectBrush(Dc& dc, const Brush& brush) { return std::exchange(dc.S().brush, brush); }
Font SelectFont(Dc& dc, const Font& font) { return std::exchange(dc.S().font, font); }
int SaveDC(Dc& dc) { return dc.Save(); }
bool RestoreDC(Dc& dc, int index) { return dc.Restore(index); }

int SelectClipRgn(Dc& dc, const Region* region)
{
    if (!region) {
        dc.S().clip.reset();
        return SIMPLEREGION;
    }
    dc.S().clip = *region;
    return region->Kind();
}

int GetClipRgn(const Dc& dc, Region& out)
{
    if (!dc.S().clip)
        return 0;
    out = *dc.S().clip;
    return 1;
}

namespace {
Region& ClipOrSurface(Dc& dc)
{
    if (!dc.S().clip)
        dc.S().clip = Region(dc.Target() ? dc.Target()->Bounds() : TRect{});
    return *dc.S().clip;
}
} // namespace

int ExcludeClipRect(Dc& dc, const TRect& logical)
{
    Region& clip = ClipOrSurface(dc);
    Region r(dc.ToDevice(logical));
    return clip.Combine(clip, &r, RGN_DIFF);
}

int IntersectClipRect(Dc& dc, const TRect& logical)
{
    Region& clip = ClipOrSurface(dc);
    Region r(dc.ToDevice(logical));
    return clip.Combine(clip, &r, RGN_AND);
}

int OffsetClipRgn(Dc& dc, int dx, int dy)
{
    Region& clip = ClipOrSurface(dc);
    clip.Offset(dx, dy);
    return clip.Kind();
}

bool RectVisible(const Dc& dc, const TRect& logical)
{
    return dc.DrawableArea().IntersectsRect(dc.ToDevice(logical));
}

} // namespace gdi
