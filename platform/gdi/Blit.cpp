#include "platform/gdi/BlitEngine.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/SysParams.h"

#include <algorithm>
#include <array>
#include <memory>

namespace gdi {
namespace {

// Hatch pictures, one byte a row, bit 7 = leftmost pixel; a set bit is the brush colour.
constexpr std::array<std::array<std::uint8_t, 8>, 6> kHatches = {{
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08}, // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // HS_DIAGCROSS
}};

int Mod(int a, int m)
{
    int r = a % m;
    return r < 0 ? r + m : r;
}

// One row of the brush for device row y from device column x.
void PatternRow(const Dc& dc, const Brush& b, int y, int x, int n, std::uint32_t* out,
                std::uint8_t* valid, bool& masked)
{
    const Surface& target = *dc.Target();
    const TPoint org = dc.S().brushOrg;
    const std::uint32_t text = target.Normalise(ColorToPixel(dc.S().textColor));
    const std::uint32_t back = target.Normalise(ColorToPixel(dc.S().bkColor));
    switch (b.style) {
    case BS_HATCHED: {
        std::uint8_t bits = kHatches[size_t(std::clamp(b.hatch, 0, 5))][size_t(Mod(y - org.Y, 8))];
        std::uint32_t fore = target.Normalise(ColorToPixel(b.color));
        bool transparent = dc.S().bkMode == TRANSPARENT;
        for (int i = 0; i < n; ++i) {
            bool on = (bits >> (7 - Mod(x + i - org.X, 8))) & 1;
            out[i] = on ? fore : back;
            if (transparent) {
                valid[i] = on;
                masked = true;
            }
        }
        return;
    }
    case BS_PATTERN:
        if (b.pattern && !b.pattern->IsEmpty()) {
            const Surface& p = *b.pattern;
            const std::uint32_t* row = p.Row(Mod(y - org.Y, p.Height()));
            for (int i = 0; i < n; ++i) {
                std::uint32_t v = row[Mod(x + i - org.X, p.Width())];
                out[i] = p.IsMono() ? ((v & 0xFFFFFF) ? back : text) : target.Normalise(v);
            }
            return;
        }
        [[fallthrough]];
    case BS_SOLID:
    default:
        std::fill(out, out + n, target.Normalise(ColorToPixel(b.color)));
        return;
    }
}

// A row of one colour; the wide-register version is picked at load time where the processor
// has it.
[[gnu::target_clones("avx2", "default")]] void FillWords(std::uint32_t* d, std::uint32_t v, int n)
{
    for (int i = 0; i < n; ++i)
        d[i] = v;
}

} // namespace

namespace detail {

std::vector<TRect> Intersect(const Region& area, const Region& shape)
{
    Region r;
    r.Combine(area, &shape, RGN_AND);
    return r.Rects();
}

void RunRop(Dc& dc, const std::vector<TRect>& rects, std::uint8_t rop, const Brush* brush,
            const SourceRowFn* source)
{
    Surface* target = dc.Target();
    if (!target || rects.empty())
        return;
    if (brush && brush->style == BS_NULL && RopUsesPattern(rop))
        return;
    const bool useP = RopUsesPattern(rop) && brush;
    const bool useS = RopUsesSource(rop) && source;
    const RopRowFn fn = RopRow(rop);
    const bool mono = target->IsMono();
    // A solid brush gives the same row everywhere: built once per rectangle, and a plain fill
    // of a colour surface is a row fill.
    const bool patterned = brush && brush->style == BS_PATTERN && brush->pattern && !brush->pattern->IsEmpty();
    const bool solid = useP && brush->style != BS_HATCHED && !patterned;
    const std::uint32_t solidColour = solid ? target->Normalise(ColorToPixel(brush->color)) : 0;
    std::vector<std::uint32_t> pat, src, tmp;
    std::vector<std::uint8_t> pvalid, svalid;
    for (const TRect& r : rects) {
        const int n = r.Width();
        if (n <= 0)
            continue;
        if (solid && rop == kPat && !mono) {
            for (int y = r.Top; y < r.Bottom; ++y)
                FillWords(target->Row(y) + r.Left, solidColour, n);
            continue;
        }
        pat.resize(size_t(n));
        src.resize(size_t(n));
        tmp.resize(size_t(n));
        pvalid.assign(size_t(n), 1);
        svalid.assign(size_t(n), 1);
        if (solid)
            std::fill(pat.begin(), pat.end(), solidColour);
        for (int y = r.Top; y < r.Bottom; ++y) {
            bool masked = false;
            if (useP && !solid)
                PatternRow(dc, *brush, y, r.Left, n, pat.data(), pvalid.data(), masked);
            const std::uint32_t* s = nullptr;
            if (useS)
                s = (*source)(y, r.Left, n, src.data(), svalid.data(), masked);
            std::uint32_t* d = target->Row(y) + r.Left;
            if (!masked && !mono) {
                fn(d, s, useP ? pat.data() : nullptr, n);
                continue;
            }
            std::copy(d, d + n, tmp.begin());
            fn(tmp.data(), s, useP ? pat.data() : nullptr, n);
            const std::uint32_t keep = mono ? 0x00FFFFFFu : ~0u;
            for (int i = 0; i < n; ++i)
                if (pvalid[size_t(i)] && svalid[size_t(i)])
                    d[i] = tmp[size_t(i)] & keep;
            std::fill(pvalid.begin(), pvalid.end(), 1);
            std::fill(svalid.begin(), svalid.end(), 1);
        }
    }
}

} // namespace detail

namespace {

TRect Normalised(int x, int y, int w, int h)
{
    TRect r{x, y, x + w, y + h};
    if (r.Left > r.Right)
        std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    return r;
}

// Converts one source pixel for the destination's format (see BitBlt).
struct Converter {
    bool monoToColour = false, colourToMono = false;
    std::uint32_t text = 0, back = 0, srcBack = 0;
    std::uint32_t operator()(std::uint32_t v) const
    {
        if (monoToColour)
            return (v & 0xFFFFFF) ? back : text;
        if (colourToMono)
            return ((v ^ srcBack) & 0xFFFFFF) == 0 ? 0x00FFFFFFu : 0u;
        return v;
    }
};

Converter MakeConverter(const Dc& dst, const Dc& src)
{
    Converter c;
    c.monoToColour = src.Target()->IsMono() && !dst.Target()->IsMono();
    c.colourToMono = !src.Target()->IsMono() && dst.Target()->IsMono();
    c.text = ColorToPixel(dst.S().textColor);
    c.back = ColorToPixel(dst.S().bkColor);
    c.srcBack = ColorToPixel(src.S().bkColor);
    return c;
}

} // namespace

bool PatBlt(Dc& dc, int x, int y, int w, int h, DWORD rop)
{
    if (!dc.Target())
        return false;
    detail::RunRop(dc, dc.ClipRects(Normalised(x, y, w, h)), RopByte(rop), &dc.S().brush, nullptr);
    return true;
}

bool StretchBlt(Dc& dst, int x, int y, int w, int h, const Dc* src, int sx, int sy, int sw, int sh,
                DWORD rop)
{
    const std::uint8_t code = RopByte(rop);
    if (!RopUsesSource(code))
        return PatBlt(dst, x, y, w, h, rop);
    if (!dst.Target() || !src || !src->Target() || w == 0 || h == 0 || sw == 0 || sh == 0)
        return false;
    bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
    TRect d = Normalised(x, y, w, h);
    TRect s = src->ToDevice(Normalised(sx, sy, sw, sh));
    TRect dd = dst.ToDevice(d);
    const int dw = d.Width(), dh = d.Height(), srw = s.Width(), srh = s.Height();

    // A self-blit reads from a snapshot so that overlapping moves are safe.
    std::shared_ptr<Surface> snapshot;
    const Surface* from = src->Target();
    if (from == dst.Target()) {
        snapshot = std::make_shared<Surface>(*from);
        from = snapshot.get();
    }
    const Converter conv = MakeConverter(dst, *src);
    detail::SourceRowFn fetch = [&](int y, int x, int n, std::uint32_t* out, std::uint8_t* valid,
                                    bool& masked) -> const std::uint32_t* {
        int row = y - dd.Top;
        int sr = int((std::int64_t(row) * 2 + 1) * srh / (std::int64_t(dh) * 2));
        if (flipY)
            sr = srh - 1 - sr;
        sr += s.Top;
        const bool rowOk = sr >= 0 && sr < from->Height();
        const std::uint32_t* line = rowOk ? from->Row(sr) : nullptr;
        const int first = x - dd.Left + s.Left;
        if (dw == srw && !flipX && !conv.monoToColour && !conv.colourToMono && rowOk && first >= 0 &&
            first + n <= from->Width()) {
            // Unscaled, unconverted and inside the source: the row as it stands.
            return line + first;
        }
        for (int i = 0; i < n; ++i) {
            int col = x + i - dd.Left;
            int sc = (dw == srw) ? col : int((std::int64_t(col) * 2 + 1) * srw / (std::int64_t(dw) * 2));
            if (flipX)
                sc = srw - 1 - sc;
            sc += s.Left;
            bool ok = rowOk && sc >= 0 && sc < from->Width();
            valid[i] = ok;
            masked = masked || !ok;
            out[i] = ok ? conv(line[sc]) : 0;
        }
        return out;
    };
    detail::RunRop(dst, dst.ClipRects(d), code, &dst.S().brush, &fetch);
    return true;
}

bool BitBlt(Dc& dst, int x, int y, int w, int h, const Dc* src, int sx, int sy, DWORD rop)
{
    return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

int FillRect(Dc& dc, const TRect& r, const Brush& brush)
{
    if (!dc.Target())
        return 0;
    detail::RunRop(dc, dc.ClipRects(r), RopByte(PATCOPY), &brush, nullptr);
    return 1;
}

int FrameRect(Dc& dc, const TRect& r, const Brush& brush)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return 0;
    FillRect(dc, {r.Left, r.Top, r.Right, r.Top + 1}, brush);
    FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, brush);
    FillRect(dc, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, brush);
    FillRect(dc, {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, brush);
    return 1;
}

bool InvertRect(Dc& dc, const TRect& r)
{
    return PatBlt(dc, r.Left, r.Top, r.Width(), r.Height(), DSTINVERT);
}

namespace {
std::vector<TRect> DeviceRects(const Dc& dc, const Region& logical)
{
    Region shape = logical;
    TPoint o = dc.Origin();
    shape.Offset(o.X, o.Y);
    return detail::Intersect(dc.DrawableArea(), shape);
}
} // namespace

bool FillRgn(Dc& dc, const Region& rgn, const Brush& brush)
{
    if (!dc.Target())
        return false;
    detail::RunRop(dc, DeviceRects(dc, rgn), RopByte(PATCOPY), &brush, nullptr);
    return true;
}

bool InvertRgn(Dc& dc, const Region& rgn)
{
    if (!dc.Target())
        return false;
    detail::RunRop(dc, DeviceRects(dc, rgn), RopByte(DSTINVERT), nullptr, nullptr);
    return true;
}

bool FrameRgn(Dc& dc, const Region& rgn, const Brush& brush, int w, int h)
{
    // The frame is what erosion by (w, h) takes away from the region.
    Region inner = rgn;
    const std::pair<int, int> shifts[] = {{w, 0}, {-w, 0}, {0, h}, {0, -h}};
    for (auto [dx, dy] : shifts) {
        Region moved = rgn;
        moved.Offset(dx, dy);
        inner.Combine(inner, &moved, RGN_AND);
    }
    Region frame;
    frame.Combine(rgn, &inner, RGN_DIFF);
    return FillRgn(dc, frame, brush);
}

Brush HalftoneBrush()
{
    static const std::shared_ptr<const Surface> bits = [] {
        auto s = std::make_shared<Surface>(8, 8, PixelFormat::Mono1);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                s->SetPixel(x, y, ((x + y) & 1) ? 0x00FFFFFFu : 0u); // 0xAA, 0x55 rows
        return s;
    }();
    return Brush::Pattern(bits);
}

bool DrawFocusRect(Dc& dc, const TRect& r)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top || !dc.Target())
        return false;
    // Four strips that never overlap, so each pixel is inverted once.
    const TRect strips[] = {{r.Left, r.Top, r.Right, r.Top + 1},
                            {r.Left, r.Bottom - 1, r.Right, r.Bottom},
                            {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1},
                            {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}};
    const Brush halftone = HalftoneBrush();
    std::vector<TRect> done;
    for (const TRect& s : strips) {
        // A one-pixel-high or -wide rectangle makes two strips coincide: invert them once.
        if (s.Top >= s.Bottom || s.Left >= s.Right || std::find(done.begin(), done.end(), s) != done.end())
            continue;
        done.push_back(s);
        detail::RunRop(dc, dc.ClipRects(s), RopByte(PATINVERT), &halftone, nullptr);
    }
    return true;
}

namespace {

struct EdgeColours {
    int outerLT, outerRB, innerLT, innerRB;
};

EdgeColours ColoursOf(unsigned edge, unsigned flags)
{
    EdgeColours c{-1, -1, -1, -1};
    if (flags & BF_MONO) {
        c = {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, COLOR_WINDOW, COLOR_WINDOW};
    } else if (flags & BF_FLAT) {
        c = {COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE};
    } else {
        if (edge & BDR_RAISEDOUTER)
            c.outerLT = (flags & BF_SOFT) ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, c.outerRB = COLOR_3DDKSHADOW;
        else if (edge & BDR_SUNKENOUTER)
            c.outerLT = (flags & BF_SOFT) ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, c.outerRB = COLOR_BTNHIGHLIGHT;
        if (edge & BDR_RAISEDINNER)
            c.innerLT = (flags & BF_SOFT) ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, c.innerRB = COLOR_BTNSHADOW;
        else if (edge & BDR_SUNKENINNER)
            c.innerLT = (flags & BF_SOFT) ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, c.innerRB = COLOR_3DLIGHT;
    }
    if (!(edge & BDR_OUTER))
        c.outerLT = c.outerRB = -1;
    if (!(edge & BDR_INNER))
        c.innerLT = c.innerRB = -1;
    return c;
}

// One ring: left and top stop short of the far corners, which belong to right and bottom.
void EdgeRing(Dc& dc, TRect& r, int lt, int rb, unsigned flags)
{
    if (lt < 0 || r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    const Brush ltBrush = GetSysColorBrush(lt), rbBrush = GetSysColorBrush(rb);
    if (flags & BF_LEFT)
        FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, ltBrush);
    if (flags & BF_TOP)
        FillRect(dc, {r.Left, r.Top, r.Right - 1, r.Top + 1}, ltBrush);
    if (flags & BF_RIGHT)
        FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, rbBrush);
    if (flags & BF_BOTTOM)
        FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, rbBrush);
    if (flags & BF_LEFT) ++r.Left;
    if (flags & BF_TOP) ++r.Top;
    if (flags & BF_RIGHT) --r.Right;
    if (flags & BF_BOTTOM) --r.Bottom;
}

} // namespace

bool DrawEdge(Dc& dc, TRect& rect, unsigned edge, unsigned flags)
{
    // Diagonal edges are not drawn by this layer; the toolkit does not ask for them.
    if (flags & BF_DIAGONAL)
        return false;
    TRect r = rect;
    const EdgeColours c = ColoursOf(edge, flags);
    EdgeRing(dc, r, c.outerLT, c.outerRB, flags);
    EdgeRing(dc, r, c.innerLT, c.innerRB, flags);
    if (flags & BF_MIDDLE)
        FillRect(dc, r, GetSysColorBrush((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (flags & BF_ADJUST)
        rect = r;
    return true;
}

} // namespace gdi
