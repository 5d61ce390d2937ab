#include "toolkit/core/cxGraphics.h"

#include "platform/gdi/SysParams.h"
#include "platform/vcl/ImgList.h"
#include "toolkit/core/cxGeometry.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

using cx::cxRectHeight;
using cx::cxRectIsEmpty;
using cx::cxRectOffset;
using cx::cxRectWidth;
using rtl::MulDiv;

// Division rounding toward minus infinity, so that tiles left of and above the origin count.
inline int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

gdi::Region* NewRegion(const gdi::Region& r) { return new gdi::Region(r); }

} // namespace

// ---- TcxRegion ----

TcxRegion::TcxRegion(HRGN handle) : Handle(handle) {}
TcxRegion::TcxRegion(const TRect& r) : Handle(NewRegion(gdi::Region(r))) {}
TcxRegion::TcxRegion() : TcxRegion(TRect{0, 0, 0, 0}) {}
TcxRegion::TcxRegion(int l, int t, int r, int b) : TcxRegion(TRect{l, t, r, b}) {}
TcxRegion::TcxRegion(const TRect& r, int ew, int eh)
    : TcxRegion(r.Left, r.Top, r.Right, r.Bottom, ew, eh)
{
}
TcxRegion::TcxRegion(int l, int t, int r, int b, int ew, int eh)
    // Left and top move in by one pixel, right and bottom do not.
    : Handle(NewRegion(gdi::Region::RoundRect({l + 1, t + 1, r, b}, ew, eh)))
{
}

TcxRegion::~TcxRegion() { DestroyHandle(); }

void TcxRegion::DestroyHandle()
{
    delete Handle;
    Handle = nullptr;
}

void TcxRegion::Combine(TcxRegion* region, TcxRegionOperation operation, bool destroyRegion)
{
    static constexpr int kModes[] = {RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND};
    if (!Handle)
        Handle = new gdi::Region();
    const gdi::Region* other = region ? region->Handle : nullptr;
    if (operation == roSet)
        Handle->Combine(other ? *other : gdi::Region(), nullptr, RGN_COPY);
    else
        Handle->Combine(*Handle, other, kModes[operation]);
    if (destroyRegion)
        delete region;
}

bool TcxRegion::IsEqual(TcxRegion* region) const
{
    if (!region)
        return false;
    if (GetIsEmpty() && region->GetIsEmpty())
        return true;
    return IsEqual(region->Handle);
}

bool TcxRegion::IsEqual(HRGN region) const
{
    if (!Handle || !region)
        return Handle == region;
    return Handle->Equals(*region);
}

void TcxRegion::Offset(int dx, int dy)
{
    if (Handle)
        Handle->Offset(dx, dy);
}

bool TcxRegion::PtInRegion(int x, int y) const { return Handle && Handle->Contains(x, y); }
bool TcxRegion::RectInRegion(const TRect& r) const { return Handle && Handle->IntersectsRect(r); }
bool TcxRegion::RectInRegion(int l, int t, int r, int b) const { return RectInRegion(TRect{l, t, r, b}); }
TRect TcxRegion::GetBoundsRect() const { return GetIsEmpty() ? TRect{} : Handle->Box(); }
bool TcxRegion::GetIsEmpty() const { return !Handle || Handle->Kind() == NULLREGION; }

// ---- TcxCanvas: forwarding ----

TcxCanvas::TcxCanvas(TCanvas* canvas) : canvas_(canvas) {}
// Entries left on the stacks are the caller's unpaired saves; they are not freed here.
TcxCanvas::~TcxCanvas() = default;

void TcxCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect)
{
    canvas_->CopyRect(dest, source, sourceRect);
}
void TcxCanvas::Draw(int x, int y, TGraphic* graphic) { canvas_->Draw(x, y, graphic); }

void TcxCanvas::DrawImage(TCustomImageList* images, int x, int y, int index, bool enabled)
{
    if (!images || index < 0 || index >= images->Count())
        return;
    SaveDC();
    images->Draw(canvas_, x, y, index, enabled);
    RestoreDC();
}

void TcxCanvas::DrawGlyph(int x, int y, TBitmap* glyph, bool enabled, TColor background)
{
    if (!glyph || glyph->GetEmpty())
        return;
    const int w = glyph->GetWidth(), h = glyph->GetHeight();
    const TColor transparent = glyph->GetTransparentColor();
    if (enabled) {
        // The glyph over what the canvas shows there (clNone) or over the brush, its transparent
        // pixels left out; composed aside, then copied under the canvas's clip.
        const TBrushStyle style = GetBrush()->GetStyle();
        if (background == clNone)
            GetBrush()->SetStyle(bsClear);
        else
            GetBrush()->SetColor(background);
        TBitmap composed;
        composed.SetPixelFormat(pf32bit);
        composed.SetSize(w, h);
        const TRect area = cx::cxRectBounds(x, y, w, h);
        composed.Canvas()->CopyRect({0, 0, w, h}, canvas_, area);
        if (GetBrush()->GetStyle() != bsClear) {
            composed.Canvas()->Brush()->Assign(GetBrush());
            composed.Canvas()->FillRect({0, 0, w, h});
        }
        TBitmap source;
        source.SetPixelFormat(pf32bit);
        source.SetSize(w, h);
        source.Canvas()->Draw(0, 0, glyph);
        const std::uint32_t key = gdi::ColorToPixel(ColorToRef(transparent)) & 0xFFFFFFu;
        for (int py = 0; py < h; ++py)
            for (int px = 0; px < w; ++px) {
                const std::uint32_t p = source.ScanLine(py)[px] & 0xFFFFFFu;
                if (p != key)
                    composed.ScanLine(py)[px] = p;
            }
        canvas_->CopyRect(area, composed.Canvas(), {0, 0, w, h});
        GetBrush()->SetStyle(style);
        return;
    }
    TImageList images(nullptr);
    images.SetWidth(w);
    images.SetHeight(h);
    // tmAuto's transparent colour is the glyph's own (its bottom-left pixel), which is what the
    // system's default mask colour stands for.
    images.AddMasked(glyph, transparent);
    if (background == clNone) {
        images.Draw(canvas_, x, y, 0, false);
        return;
    }
    TBitmap composed;
    composed.SetPixelFormat(pf32bit);
    composed.SetSize(w, h);
    composed.Canvas()->Brush()->SetColor(background);
    composed.Canvas()->FillRect({0, 0, w, h});
    images.Draw(composed.Canvas(), 0, 0, 0, false);
    canvas_->Draw(x, y, &composed);
}
void TcxCanvas::LineTo(int x, int y) { canvas_->LineTo(x, y); }
void TcxCanvas::MoveTo(int x, int y) { canvas_->MoveTo(x, y); }
void TcxCanvas::Polygon(const TPoint* points, int lastIndex) { canvas_->Polygon(points, lastIndex); }
void TcxCanvas::Polyline(const TPoint* points, int lastIndex) { canvas_->Polyline(points, lastIndex); }
void TcxCanvas::SetPixel(int x, int y, TColor color) { canvas_->SetPixel(x, y, color); }
TPoint TcxCanvas::GetViewportOrg() const { return GetHandle()->S().viewportOrg; }
void TcxCanvas::SetViewportOrg(const TPoint& p) { gdi::SetViewportOrgEx(*GetHandle(), p.X, p.Y); }
TPoint TcxCanvas::GetWindowOrg() const { return GetHandle()->S().windowOrg; }
void TcxCanvas::SetWindowOrg(const TPoint& p) { gdi::SetWindowOrgEx(*GetHandle(), p.X, p.Y); }
TPoint TcxCanvas::GetDCOrigin() const { return GetHandle()->Origin(); }
void TcxCanvas::BeginPath() { gdi::BeginPath(*GetHandle()); }
void TcxCanvas::EndPath() { gdi::EndPath(*GetHandle()); }

void TcxCanvas::WidenPath()
{
    canvas_->RequiredState(); // the pen the canvas shows now is the one that widens
    gdi::WidenPath(*GetHandle());
}

TcxRegion* TcxCanvas::PathToRegion()
{
    std::optional<gdi::Region> region = gdi::PathToRegion(*GetHandle());
    return new TcxRegion(new gdi::Region(region ? std::move(*region) : gdi::Region()));
}

void TcxCanvas::ExcludeClipRect(const TRect& r) { gdi::ExcludeClipRect(*GetHandle(), r); }
void TcxCanvas::IntersectClipRect(const TRect& r) { gdi::IntersectClipRect(*GetHandle(), r); }
bool TcxCanvas::RectVisible(const TRect& r) const { return gdi::RectVisible(*GetHandle(), r); }

// ---- TcxCanvas: state stacks ----

void TcxCanvas::SaveDC() { savedDCs_.push_back(gdi::SaveDC(*GetHandle())); }

void TcxCanvas::RestoreDC()
{
    if (savedDCs_.empty())
        return;
    gdi::RestoreDC(*GetHandle(), savedDCs_.back());
    savedDCs_.pop_back();
}

void TcxCanvas::SaveClipRegion() { savedClipRegions_.push_back(GetClipRegion(true)); }

void TcxCanvas::RestoreClipRegion()
{
    if (savedClipRegions_.empty())
        return;
    TcxRegion* top = savedClipRegions_.back();
    savedClipRegions_.pop_back();
    SetClipRegion(top, roSet, true, true);
}

void TcxCanvas::SaveState()
{
    SaveDC();
    TcxCanvasState state{new TFont, new TBrush, new TPen};
    state.SavedFont->Assign(GetFont());
    state.SavedBrush->Assign(GetBrush());
    state.SavedPen->Assign(GetPen());
    savedStates_.push_back(state);
}

void TcxCanvas::RestoreState()
{
    if (savedStates_.empty())
        return;
    TcxCanvasState state = savedStates_.back();
    SetFont(state.SavedFont);
    SetBrush(state.SavedBrush);
    SetPen(state.SavedPen);
    delete state.SavedFont;
    delete state.SavedBrush;
    delete state.SavedPen;
    savedStates_.pop_back();
    RestoreDC();
}

void TcxCanvas::SynchronizeObjects(HDC dc)
{
    if (!dc)
        return;
    const gdi::Dc::State& s = dc->S();
    GetFont()->SetHandle(s.font);
    GetFont()->SetColor(TColor(s.textColor));
    GetBrush()->SetHandle(s.brush);
    GetPen()->SetHandle(s.pen);
    TPenMode mode = pmCopy;
    for (int m = pmBlack; m <= pmNotXor; ++m)
        if (PenModeToRop2(TPenMode(m)) == gdi::GetROP2(*dc)) {
            mode = TPenMode(m);
            break;
        }
    GetPen()->SetMode(mode);
}

// ---- TcxCanvas: colours and parameters ----

void TcxCanvas::SetBrushColor(TColor color)
{
    if (GetBrush()->GetColor() != color)
        GetBrush()->SetColor(color);
}

void TcxCanvas::GetParams(TcxViewParams& params) const
{
    params.Color = GetBrush()->GetColor();
    params.Font = GetFont();
    params.TextColor = GetFont()->GetColor();
}

void TcxCanvas::SetParams(const TcxViewParams& params)
{
    SetBrushColor(params.Color);
    SetFont(params.Font);
    GetFont()->SetColor(params.TextColor);
}

void TcxCanvas::SetFontAngle(int degrees)
{
    gdi::Font font = GetFont()->GetHandle();
    font.lf.lfEscapement = degrees * 10;
    if (degrees != 0)
        font.lf.lfOutPrecision = gdi::OUT_TT_ONLY_PRECIS;
    GetFont()->SetHandle(font);
}

// ---- TcxCanvas: fills, frames and edges ----

void TcxCanvas::FillRect(const TRect& r, TColor color)
{
    if (color == clNone)
        return;
    if (color != clDefault)
        SetBrushColor(color);
    canvas_->FillRect(r);
}

void TcxCanvas::FillRect(const TRect& r, TBitmap* bitmap, bool excludeRect)
{
    if (cxRectIsEmpty(r))
        return;
    if (!bitmap || bitmap->GetEmpty()) {
        canvas_->FillRect(r);
    } else {
        // Tiles anchored at the logical origin; floor division keeps the phase for negative
        // coordinates and covers the rectangle's left and top parts there too.
        // Only the tiles over the visible part are copied: a rectangle far larger than the
        // device would otherwise cost one copy per tile it spans.
        TRect area = r;
        if (HDC dc = GetHandle(); dc && dc->Target()) {
            const TRect visible = cxRectOffset(dc->DrawableArea().Box(), dc->ToDevice(TPoint{0, 0}), false);
            if (!cx::cxRectIntersect(area, r, visible))
                area = cx::cxNullRect;
        }
        const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
        const int firstCol = FloorDiv(area.Left, w), lastCol = FloorDiv(area.Right - 1, w);
        const int firstRow = FloorDiv(area.Top, h), lastRow = FloorDiv(area.Bottom - 1, h);
        for (int row = firstRow; !cxRectIsEmpty(area) && row <= lastRow; ++row)
            for (int col = firstCol; col <= lastCol; ++col) {
                TRect tile;
                if (cx::cxRectIntersect(tile, cx::cxRectBounds(col * w, row * h, w, h), area))
                    canvas_->CopyRect(tile, bitmap->Canvas(), cxRectOffset(tile, -col * w, -row * h));
            }
    }
    if (excludeRect)
        SetClipRegion(new TcxRegion(r), roSubtract, true, true);
}

void TcxCanvas::FillRect(const TRect& rect, const TcxViewParams& params, TcxBorders borders,
                         TColor borderColor, int lineWidth, bool excludeRect)
{
    TRect r = rect;
    FrameRect(r, borderColor, lineWidth, borders, excludeRect);
    if (borders & cxBorder(bLeft)) r.Left += lineWidth;
    if (borders & cxBorder(bTop)) r.Top += lineWidth;
    if (borders & cxBorder(bRight)) r.Right -= lineWidth;
    if (borders & cxBorder(bBottom)) r.Bottom -= lineWidth;
    SetBrushColor(params.Color);
    FillRect(r, params.Bitmap, excludeRect);
}

void TcxCanvas::FrameRect(const TRect& r, TColor color, int lineWidth, TcxBorders borders,
                          bool excludeFrame)
{
    if (cxRectIsEmpty(r) || color == clNone)
        return;
    if (color != clDefault)
        SetBrushColor(color);
    const int w = lineWidth;
    if (borders & cxBorder(bLeft))
        FillRect({r.Left, r.Top, std::min(r.Left + w, r.Right), r.Bottom}, nullptr, excludeFrame);
    if (borders & cxBorder(bRight))
        FillRect({std::max(r.Right - w, r.Left), r.Top, r.Right, r.Bottom}, nullptr, excludeFrame);
    if (borders & cxBorder(bTop))
        FillRect({r.Left, r.Top, r.Right, std::min(r.Top + w, r.Bottom)}, nullptr, excludeFrame);
    if (borders & cxBorder(bBottom))
        FillRect({r.Left, std::max(r.Bottom - w, r.Top), r.Right, r.Bottom}, nullptr, excludeFrame);
}

void TcxCanvas::DrawComplexFrame(const TRect& r, TColor leftTop, TColor rightBottom,
                                 TcxBorders borders, int width)
{
    for (int b = bLeft; b <= bBottom; ++b) {
        if (!(borders & cxBorder(TcxBorder(b))))
            continue;
        TRect strip = r;
        switch (b) {
        case bLeft: strip.Right = r.Left + width; break;
        case bTop: strip.Bottom = r.Top + width; break;
        case bRight: strip.Left = r.Right - width; break;
        case bBottom: strip.Top = r.Bottom - width; break;
        }
        GetBrush()->SetColor(b == bLeft || b == bTop ? leftTop : rightBottom);
        canvas_->FillRect(strip);
    }
}

void TcxCanvas::DrawEdge(const TRect& r, bool sunken, bool outer, TcxBorders borders)
{
    if (sunken) {
        if (outer)
            DrawComplexFrame(r, clBtnShadow, clBtnHighlight, borders, 1);
        else
            DrawComplexFrame(r, cl3DDkShadow, cl3DLight, borders, 1);
    } else {
        if (outer)
            DrawComplexFrame(r, cl3DLight, cl3DDkShadow, borders, 1);
        else
            DrawComplexFrame(r, clBtnHighlight, clBtnShadow, borders, 1);
    }
}

void TcxCanvas::DrawFocusRect(const TRect& r)
{
    SetBrushColor(clWhite);
    GetFont()->SetColor(clBlack);
    canvas_->DrawFocusRect(r);
}

void TcxCanvas::DrawDesignSelection(const TRect& rect, int width)
{
    TRect r = rect;
    for (int i = 0; i < width; ++i) {
        DrawFocusRect(r);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

void TcxCanvas::InvertRect(const TRect& r)
{
    canvas_->CopyMode = DSTINVERT;
    canvas_->CopyRect(r, canvas_, r);
    canvas_->CopyMode = SRCCOPY;
}

void TcxCanvas::InvertFrame(const TRect& r, int w)
{
    InvertRect({r.Left, r.Top, r.Left + w, r.Bottom});
    InvertRect({r.Right - w, r.Top, r.Right, r.Bottom});
    InvertRect({r.Left + w, r.Top, r.Right - w, r.Top + w});
    InvertRect({r.Left + w, r.Bottom - w, r.Right - w, r.Bottom});
}

void TcxCanvas::FillRegion(TcxRegion* region, TColor color) { FillRegion(region ? region->Handle : nullptr, color); }

void TcxCanvas::FillRegion(HRGN region, TColor color)
{
    SetBrushColor(color);
    canvas_->RequiredState();
    if (region)
        gdi::FillRgn(*GetHandle(), *region, GetBrush()->GetHandle());
}

void TcxCanvas::FrameRegion(TcxRegion* region, TColor color, int w, int h)
{
    FrameRegion(region ? region->Handle : nullptr, color, w, h);
}

void TcxCanvas::FrameRegion(HRGN region, TColor color, int w, int h)
{
    SetBrushColor(color);
    canvas_->RequiredState();
    if (region)
        gdi::FrameRgn(*GetHandle(), *region, GetBrush()->GetHandle(), w, h);
}

void TcxCanvas::DrawRegion(TcxRegion* region, TColor content, TColor border, int bw, int bh)
{
    DrawRegion(region ? region->Handle : nullptr, content, border, bw, bh);
}

void TcxCanvas::DrawRegion(HRGN region, TColor content, TColor border, int bw, int bh)
{
    FillRegion(region, content);
    FrameRegion(region, border, bw, bh);
}

void TcxCanvas::Pie(const TRect& r, const TPoint& p1, const TPoint& p2)
{
    canvas_->Pie(r.Left, r.Top, r.Right, r.Bottom, p1.X, p1.Y, p2.X, p2.Y);
}

void TcxCanvas::Pie(const TRect& r, int startAngle, int sweepAngle)
{
    if (cxRectIsEmpty(r) || sweepAngle == 0)
        return;
    const int rx = cxRectWidth(r) / 2, ry = cxRectHeight(r) / 2;
    const TPoint centre{r.Left + rx, r.Top + ry};
    // Rounds halves to the even neighbour (the default rounding mode).
    auto roundEven = [](long double v) { return int(std::nearbyint(v)); };
    auto pointOf = [&](int degrees) {
        const long double a = degrees * 3.14159265358979323846264338327950288L / 180.0L;
        const long double s = std::sin(a), c = std::cos(a);
        long double radius = 0;
        if (rx != 0 && ry != 0)
            radius = (long double)rx * ry / std::sqrt((long double)rx * rx * s * s + (long double)ry * ry * c * c);
        return TPoint{roundEven(radius * c) + centre.X, centre.Y - roundEven(radius * s)};
    };
    const TPoint p1 = pointOf(startAngle);
    const TPoint p2 = sweepAngle == 360 ? p1 : pointOf(startAngle + sweepAngle);
    if (p1 != p2 || sweepAngle > 180)
        Pie(r, p1, p2);
}

// ---- TcxCanvas: bitmaps ----

void TcxCanvas::TransparentDraw(int x, int y, TBitmap* bitmap, unsigned char alpha, TBitmap* background)
{
    if (!bitmap || bitmap->GetEmpty())
        return;
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    TBitmap temp;
    temp.SetSize(w, h);
    if (background)
        temp.Canvas()->Draw(0, 0, background);
    else
        temp.Canvas()->CopyRect({0, 0, w, h}, canvas_, {x, y, x + w, y + h});
    // The system alpha blend is never bound here: constant-alpha mixing of blue, green and red.
    for (int row = 0; row < h; ++row) {
        const std::uint32_t* src = bitmap->ScanLine(row);
        std::uint32_t* dst = temp.ScanLine(row);
        for (int col = 0; col < w; ++col) {
            std::uint32_t out = dst[col] & 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const int d = int((dst[col] >> shift) & 0xFF), s = int((src[col] >> shift) & 0xFF);
                const int v = std::clamp(MulDiv(d, 255 - alpha, 255) + MulDiv(s, alpha, 255), 0, 255);
                out |= std::uint32_t(v) << shift;
            }
            dst[col] = out;
        }
    }
    canvas_->Draw(x, y, &temp);
}

void TcxCanvas::RotateBitmap(TBitmap* bitmap, TcxRotationAngle angle, bool flip)
{
    if (angle == ra0 && !flip)
        return;
    TRGBColors src;
    // A bitmap without pixels stays as it is.
    if (!bitmap || !GetBitmapBits(bitmap, true, src))
        return;
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    TRGBColors dst(src.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int index = 0;
            switch (angle) {
            case ra0: index = (h - 1 - y) * w + x; break;
            case raPlus90: index = flip ? x * h + y : (w - 1 - x) * h + y; break;
            case raMinus90: index = flip ? (w - 1 - x) * h + (h - 1 - y) : x * h + (h - 1 - y); break;
            case ra180: index = flip ? y * w + (w - 1 - x) : (h - 1 - y) * w + (w - 1 - x); break;
            }
            dst[size_t(index)] = src[size_t(y * w + x)];
        }
    if (angle == raPlus90 || angle == raMinus90) {
        bitmap->SetHeight(0);
        bitmap->SetWidth(h);
        bitmap->SetHeight(w);
    }
    SetBitmapBits(bitmap, dst, true);
}

void TcxCanvas::FlipHorizontally(TBitmap* bitmap)
{
    TRGBColors colors;
    if (!bitmap || !GetBitmapBits(bitmap, true, colors))
        return;
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    for (int y = 0; y < h; ++y)
        std::reverse(colors.begin() + y * w, colors.begin() + (y + 1) * w);
    SetBitmapBits(bitmap, colors, true);
}

// ---- TcxCanvas: clipping ----

TcxRegion* TcxCanvas::GetClipRegion(bool considerOrigin)
{
    auto* result = new TcxRegion();
    if (gdi::GetClipRgn(*GetHandle(), *result->Handle) == 0)
        *result->Handle = gdi::Region(TRect{0, 0, 30000, 30000});
    if (considerOrigin) {
        const TPoint o = GetDCOrigin();
        result->Offset(-o.X, -o.Y);
    }
    return result;
}

void TcxCanvas::SetClipRegion(TcxRegion* region, TcxRegionOperation operation, bool considerOrigin,
                              bool destroyRegion)
{
    if (operation != roSet) {
        TcxRegion* clip = GetClipRegion(considerOrigin);
        clip->Combine(region, operation, destroyRegion);
        SetClipRegion(clip, roSet, considerOrigin, true);
        return;
    }
    const TPoint o = GetDCOrigin();
    if (considerOrigin)
        region->Offset(o.X, o.Y);
    gdi::SelectClipRgn(*GetHandle(), region->Handle);
    if (destroyRegion)
        delete region;
    else if (considerOrigin)
        region->Offset(-o.X, -o.Y);
}

bool TcxCanvas::RectFullyVisible(const TRect& r)
{
    TcxRegion* clip = GetClipRegion(true);
    TcxRegion* rect = new TcxRegion(r);
    clip->Combine(rect, roIntersect, false);
    const bool result = clip->IsEqual(rect);
    delete clip;
    delete rect;
    return result;
}

// ---- pixels ----

namespace {
// Formats below 32 bits have no fourth byte to give back.
std::uint32_t QuadMask(const TBitmap* b)
{
    return b->Surface().Format() == gdi::PixelFormat::Argb32 ? ~0u : 0x00FFFFFFu;
}
} // namespace

bool GetBitmapBits(TBitmap* bitmap, bool topDown, TRGBColors& colors)
{
    if (!bitmap || bitmap->GetEmpty())
        return false;
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    const std::uint32_t mask = QuadMask(bitmap);
    colors.resize(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = bitmap->ScanLine(topDown ? y : h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = row[x] & mask;
            std::memcpy(&colors[size_t(y) * w + x], &v, 4);
        }
    }
    return true;
}

void SetBitmapBits(TBitmap* bitmap, TRGBColors& colors, bool topDown)
{
    if (bitmap && !bitmap->GetEmpty()) {
        const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
        const std::uint32_t mask = QuadMask(bitmap);
        const gdi::Surface& s = bitmap->Surface();
        for (int y = 0; y < h && size_t(y + 1) * w <= colors.size(); ++y) {
            std::uint32_t* row = bitmap->ScanLine(topDown ? y : h - 1 - y);
            for (int x = 0; x < w; ++x) {
                std::uint32_t v;
                std::memcpy(&v, &colors[size_t(y) * w + x], 4);
                row[x] = s.Normalise(v & mask);
            }
        }
    }
    colors.clear();
}

// ---- brush cache ----

namespace {
int cxGraphicsUnitCount = 0;
bool cxGraphicsFinalized = false;
std::array<TBrush*, SYS_COLOR_COUNT> systemBrushes{};
constexpr TColor kSystemBit = TColor(0x80000000u);
} // namespace

TBrush* cxHalfToneBrush = nullptr;

TBrush* cxSystemBrush(int index)
{
    return index >= 0 && index < SYS_COLOR_COUNT ? systemBrushes[size_t(index)] : nullptr;
}

TcxBrushCache::~TcxBrushCache()
{
    for (int i = 0; i < count_; ++i)
        delete data_[size_t(i)].Brush;
}

TBrush* TcxBrushCache::Add(TColor color)
{
    TBrush* brush;
    if (color & kSystemBit) {
        // An index outside the system table falls back to the window colour's brush.
        const int index = int(unsigned(color) & 0x7FFFFFFFu);
        brush = cxSystemBrush(index < SYS_COLOR_COUNT ? index : COLOR_WINDOW);
    } else {
        brush = AddItemAt(FindNearestItem(color), color);
    }
    if (brush)
        brush->SetColor(color);
    return brush;
}

void TcxBrushCache::ReleaseBrush(TBrush*& brush)
{
    int index;
    if (!brush || IsSystemBrush(brush) || !IndexOf(brush->GetColor(), index))
        return;
    TcxBrushData& d = data_[size_t(index)];
    --d.RefCount;
    CacheCheck(d.RefCount < 0, "Release unused brush");
    if (d.RefCount == 0)
        Delete(index);
}

void TcxBrushCache::SetBrushColor(TBrush*& brush, TColor color)
{
    ReleaseBrush(brush);
    brush = Add(color);
}

void TcxBrushCache::BeginUpdate() { ++lockCount_; }

void TcxBrushCache::EndUpdate()
{
    if (lockCount_ == 0)
        return;
    if (--lockCount_ == 0 && deletedCount_ != 0)
        Pack();
}

void TcxBrushCache::Release(int index)
{
    if (index < 0 || index >= count_)
        return;
    if (--data_[size_t(index)].RefCount == 0)
        Delete(index);
}

void TcxBrushCache::Recreate()
{
    for (int i = 0; i < count_; ++i)
        data_[size_t(i)].Brush->SetColor(data_[size_t(i)].Color);
}

bool TcxBrushCache::IsSystemBrush(TBrush* brush) const
{
    return !brush || (brush->GetColor() & kSystemBit);
}

bool TcxBrushCache::IndexOf(TColor color, int& index) const
{
    index = (color & kSystemBit) ? -1 : FindNearestItem(color);
    return index >= 0 && index < count_ && data_[size_t(index)].Color == color;
}

int TcxBrushCache::FindNearestItem(TColor color) const
{
    int lo = 0, hi = count_;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (data_[size_t(mid)].Color < color)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

TBrush* TcxBrushCache::AddItemAt(int index, TColor color)
{
    if (index == count_ || data_[size_t(index)].Color != color) {
        if (count_ == capacity_) {
            capacity_ += std::max(capacity_ / 4, 8);
            data_.resize(size_t(capacity_));
        }
        Move(index, index + 1, count_ - index);
        InitItem(data_[size_t(index)], color);
        ++count_;
    } else if (data_[size_t(index)].RefCount == 0) {
        --deletedCount_; // a deletion deferred while locked: in use again
    }
    TcxBrushData& d = data_[size_t(index)];
    ++d.RefCount;
    return d.Brush;
}

void TcxBrushCache::InitItem(TcxBrushData& data, TColor color)
{
    data = TcxBrushData{};
    data.Color = color;
    data.Brush = new TBrush;
    data.Brush->SetColor(color);
}

void TcxBrushCache::Delete(int index)
{
    if (lockCount_ > 0) {
        ++deletedCount_;
        return;
    }
    delete data_[size_t(index)].Brush;
    Move(index + 1, index, count_ - index - 1);
    --count_;
    data_[size_t(count_)] = TcxBrushData{};
}

void TcxBrushCache::Move(int source, int dest, int count)
{
    if (count > 0)
        std::memmove(static_cast<void*>(&data_[size_t(dest)]), &data_[size_t(source)],
                     size_t(count) * sizeof(TcxBrushData));
}

void TcxBrushCache::Pack()
{
    // An entry released below zero while locked is as unused as one at zero.
    int remaining = deletedCount_;
    for (int i = count_ - 1; i >= 0 && remaining > 0; --i)
        if (data_[size_t(i)].RefCount <= 0) {
            Delete(i);
            --remaining;
        }
    deletedCount_ = 0;
}

void TcxBrushCache::CacheCheck(bool condition, const std::string& message) const
{
    if (condition)
        throw EBrushCache(message);
}

// ---- unit start-up and shut-down ----

void cxGraphicsInitialize()
{
    if (cxGraphicsUnitCount++ != 0)
        return;
    cxGraphicsFinalized = false;
    cxHalfToneBrush = new TBrush;
    cxHalfToneBrush->SetHandle(gdi::HalftoneBrush());
    for (int i = 0; i < SYS_COLOR_COUNT; ++i) {
        systemBrushes[size_t(i)] = new TBrush;
        systemBrushes[size_t(i)]->SetHandle(gdi::GetSysColorBrush(i));
    }
    // The system alpha-blending library does not exist on this platform: the graphics
    // routines always use their own blending.
}

void cxGraphicsFinalize()
{
    if (cxGraphicsUnitCount == 0 || --cxGraphicsUnitCount != 0)
        return;
    cxGraphicsFinalized = true;
    for (TBrush*& b : systemBrushes) {
        delete b;
        b = nullptr;
    }
    delete cxHalfToneBrush;
    cxHalfToneBrush = nullptr;
}

bool cxAlphaBlendBound() { return false; }
