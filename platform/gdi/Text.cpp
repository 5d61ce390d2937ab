// Text measuring and output of the software GDI.
#include "platform/gdi/BlitEngine.h"
#include "platform/gdi/TextDetail.h"
#include "platform/rtl/Unicode.h"

#include <QImage>
#include <algorithm>
#include <utility>

namespace gdi {
namespace detail {

char32_t CodePointAt(std::u16string_view s, std::size_t i, int& units)
{
    const char16_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
        units = 2;
        return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00);
    }
    units = 1;
    return c;
}

namespace {

int NextTabStop(int pos, const std::vector<int>& stops, int defaultStep)
{
    int step = defaultStep;
    if (stops.size() == 1 && stops[0] > 0)
        step = stops[0];
    else if (stops.size() > 1) {
        for (int s : stops)
            if (s > pos)
                return s;
    }
    step = std::max(1, step);
    return pos < 0 ? 0 : (pos / step + 1) * step;
}

} // namespace

std::vector<int> UnitAdvances(const Dc& dc, const FontMetrics& fm, std::u16string_view text,
                              const TabSpec& tabs, bool justify)
{
    const TEXTMETRIC tm = fm.Metrics();
    std::vector<int> adv(text.size(), 0);
    const int breaks = justify ? dc.S().breakCount : 0;
    int breakIndex = 0, pos = tabs.origin;
    for (std::size_t i = 0; i < text.size();) {
        int units = 1;
        const char32_t c = CodePointAt(text, i, units);
        int w;
        if (c == U'\t' && tabs.expand)
            w = NextTabStop(pos, tabs.stops, 8 * tm.tmAveCharWidth) - pos;
        else
            w = fm.CharWidth(c);
        if (breaks > 0 && c == tm.tmBreakChar) {
            w += dc.S().breakExtra / breaks + (breakIndex < dc.S().breakExtra % breaks ? 1 : 0);
            ++breakIndex;
        }
        adv[i] = w;
        pos += w;
        i += std::size_t(units);
    }
    return adv;
}

int Sum(const std::vector<int>& v, std::size_t from, std::size_t to)
{
    int s = 0;
    for (std::size_t i = from; i < std::min(to, v.size()); ++i)
        s += v[i];
    return s;
}

namespace {

// Composes a mask (ink where coverage >= 128) placed at device (x, y) in a solid colour.
void ComposeMask(Dc& dc, const QImage& mask, int x, int y, const TRect* logicalClip, COLORREF color)
{
    Region ink = Region::FromMask(mask, x, y);
    Region area = dc.DrawableArea();
    if (logicalClip) {
        Region clip(dc.ToDevice(*logicalClip));
        area.Combine(area, &clip, RGN_AND);
    }
    const Brush brush = Brush::Solid(color);
    RunRop(dc, Intersect(area, ink), kPat, &brush, nullptr);
}

// Blends a smoothed mask's coverage placed at device (x, y) into the surface in a solid colour;
// every covered pixel moves towards the colour by its coverage.
void BlendMask(Dc& dc, const QImage& mask, int x, int y, const TRect* logicalClip, COLORREF color)
{
    Surface* target = dc.Target();
    if (!target || target->IsMono())
        return ComposeMask(dc, mask, x, y, logicalClip, color);
    QImage covered = mask.copy();
    for (int v = 0; v < covered.height(); ++v) {
        uchar* row = covered.scanLine(v);
        for (int u = 0; u < covered.width(); ++u)
            row[u] = row[u] ? 255 : 0;
    }
    Region area = dc.DrawableArea();
    if (logicalClip) {
        Region clip(dc.ToDevice(*logicalClip));
        area.Combine(area, &clip, RGN_AND);
    }
    const std::uint32_t ink = ColorToPixel(color);
    auto mix = [](std::uint32_t from, std::uint32_t to, unsigned c, int shift) {
        const unsigned a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        return std::uint32_t((a * (255 - c) + b * c + 127) / 255) << shift;
    };
    for (const TRect& r : Intersect(area, Region::FromMask(covered, x, y))) {
        for (int py = r.Top; py < r.Bottom; ++py) {
            const uchar* cov = mask.constScanLine(py - y);
            std::uint32_t* dst = target->Row(py);
            for (int px = r.Left; px < r.Right; ++px) {
                const unsigned c = cov[px - x];
                if (c == 0)
                    continue;
                const std::uint32_t d = dst[px];
                dst[px] = target->Normalise(mix(d, ink, c, 16) | mix(d, ink, c, 8) | mix(d, ink, c, 0));
            }
        }
    }
}

// Rotates a mask by the font's escapement (multiples of 90 degrees, counter-clockwise) about
// the reference point, which lies at (refU, refV) in the mask. Returns the new mask and moves
// (x, y), the device position of the mask's top-left, accordingly.
QImage Rotated(const QImage& m, int quarter, int refU, int refV, int& x, int& y)
{
    if (quarter == 0)
        return m;
    const int rx = x + refU, ry = y + refV, w = m.width(), h = m.height();
    // Device pixel of mask pixel (u, v), with (du, dv) relative to the reference point.
    auto map = [&](int u, int v) {
        const int du = u - refU, dv = v - refV;
        switch (quarter) {
        case 1: return TPoint{rx + dv, ry - du - 1};
        case 2: return TPoint{rx - du - 1, ry - dv - 1};
        default: return TPoint{rx - dv - 1, ry + du};
        }
    };
    const TPoint a = map(0, 0), b = map(w - 1, h - 1);
    const int left = std::min(a.X, b.X), top = std::min(a.Y, b.Y);
    QImage out(quarter == 2 ? w : h, quarter == 2 ? h : w, QImage::Format_Alpha8);
    out.fill(0);
    for (int v = 0; v < h; ++v) {
        const uchar* row = m.constScanLine(v);
        for (int u = 0; u < w; ++u)
            if (row[u]) {
                const TPoint p = map(u, v);
                out.scanLine(p.Y - top)[p.X - left] = row[u];
            }
    }
    x = left;
    y = top;
    return out;
}

int QuarterOf(int escapement)
{
    int q = ((escapement % 3600) + 3600) % 3600;
    return ((q + 450) / 900) % 4;
}

} // namespace

void PaintText(Dc& dc, int left, int top, std::u16string_view text, const std::vector<int>& adv,
               const PaintSpec& spec)
{
    if (!dc.Target())
        return;
    auto fm = FontMetricsOf(dc);
    const TEXTMETRIC tm = fm->Metrics();
    const int width = Sum(adv);
    if (width <= 0 || tm.tmHeight <= 0)
        return;
    const TPoint dev = dc.ToDevice(TPoint{left, top});
    if (spec.opaqueCells) {
        QImage cells(width, tm.tmHeight, QImage::Format_Alpha8);
        cells.fill(255);
        ComposeMask(dc, cells, dev.X, dev.Y, spec.clip, dc.S().bkColor);
    }
    QImage mask(width, tm.tmHeight, QImage::Format_Alpha8);
    mask.fill(0);
    int x = 0;
    for (std::size_t i = 0; i < text.size();) {
        int units = 1;
        const char32_t c = CodePointAt(text, i, units);
        if (!spec.underlineOnly)
            fm->DrawGlyph(mask, x, 0, c);
        for (int k = 0; k < units; ++k)
            x += adv[i + std::size_t(k)];
        i += std::size_t(units);
    }
    auto line = [&](int row, int from, int to) {
        if (row < 0 || row >= mask.height())
            return;
        for (int col = std::max(0, from); col < std::min(to, width); ++col)
            mask.scanLine(row)[col] = 255;
    };
    const int underlineRow = std::min(tm.tmAscent + 1, tm.tmHeight - 1);
    if (tm.tmUnderlined && !spec.underlineOnly)
        line(underlineRow, 0, width);
    if (tm.tmStruckOut && !spec.underlineOnly)
        line(tm.tmAscent - tm.tmAscent / 3, 0, width);
    if (spec.underlineFrom >= 0 && spec.underlineTo > spec.underlineFrom) {
        const int from = Sum(adv, 0, std::size_t(spec.underlineFrom));
        line(underlineRow, from, from + Sum(adv, std::size_t(spec.underlineFrom), std::size_t(spec.underlineTo)));
    }
    (fm->Smooth() ? BlendMask : ComposeMask)(dc, mask, dev.X, dev.Y, spec.clip, dc.S().textColor);
}

std::vector<int> UnitToByteOffsets(std::string_view utf8, const std::u16string& utf16)
{
    std::vector<int> out(utf16.size(), int(utf8.size()));
    std::size_t b = 0, u = 0;
    while (b < utf8.size() && u < utf16.size()) {
        const int len = std::max(1, rtl::Utf8CharLength(utf8, b));
        const int units = rtl::Utf8ToUtf16(utf8.substr(b, std::size_t(len))).size() > 1 ? 2 : 1;
        for (int k = 0; k < units && u < utf16.size(); ++k)
            out[u++] = int(b);
        b += std::size_t(len);
    }
    return out;
}

} // namespace detail

using namespace detail;

// ---- state ----

unsigned SetTextAlign(Dc& dc, unsigned align) { return std::exchange(dc.S().textAlign, align); }
unsigned GetTextAlign(const Dc& dc) { return dc.S().textAlign; }
bool SetTextJustification(Dc& dc, int breakExtra, int breakCount)
{
    dc.S().breakExtra = breakCount > 0 ? breakExtra : 0;
    dc.S().breakCount = breakExtra != 0 ? std::max(0, breakCount) : 0;
    return true;
}
COLORREF GetTextColor(const Dc& dc) { return dc.S().textColor; }
COLORREF GetBkColor(const Dc& dc) { return dc.S().bkColor; }
int GetBkMode(const Dc& dc) { return dc.S().bkMode; }

// ---- measuring ----

bool GetTextMetrics(const Dc& dc, TEXTMETRIC& tm)
{
    tm = FontMetricsOf(dc)->Metrics();
    return true;
}

bool GetTextExtentPoint32(const Dc& dc, std::u16string_view text, TSize& size)
{
    auto fm = FontMetricsOf(dc);
    size = {Sum(UnitAdvances(dc, *fm, text, {})), fm->Metrics().tmHeight};
    return true;
}

bool GetTextExtentPoint32(const Dc& dc, std::string_view text, TSize& size)
{
    return GetTextExtentPoint32(dc, rtl::Utf8ToUtf16(text), size);
}

bool GetTextExtentExPoint(const Dc& dc, std::u16string_view text, int maxExtent, int* fit,
                          std::vector<int>* widths, TSize& size)
{
    auto fm = FontMetricsOf(dc);
    const std::vector<int> adv = UnitAdvances(dc, *fm, text, {});
    int sum = 0, n = 0;
    bool fitting = true;
    if (widths)
        widths->assign(text.size(), 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        sum += adv[i];
        if (widths)
            (*widths)[i] = sum;
        // A surrogate pair fits or not as a whole: its low half advances 0 with it.
        if (fitting && sum <= maxExtent)
            n = int(i) + 1;
        else
            fitting = false;
    }
    if (n > 0 && text[std::size_t(n - 1)] >= 0xD800 && text[std::size_t(n - 1)] < 0xDC00)
        --n;
    if (fit)
        *fit = n;
    size = {sum, fm->Metrics().tmHeight};
    return true;
}

bool GetTextExtentExPoint(const Dc& dc, std::string_view text, int maxExtent, int* fit,
                          std::vector<int>* widths, TSize& size)
{
    const std::u16string wide = rtl::Utf8ToUtf16(text);
    std::vector<int> w16;
    int fit16 = 0;
    GetTextExtentExPoint(dc, wide, maxExtent, &fit16, &w16, size);
    const std::vector<int> offsets = UnitToByteOffsets(text, wide);
    if (fit)
        *fit = fit16 < int(wide.size()) ? offsets[std::size_t(fit16)] : int(text.size());
    if (widths) {
        // Every byte of a character carries the extent after the whole character.
        widths->assign(text.size(), 0);
        for (std::size_t u = 0; u < wide.size(); ++u) {
            const int end = u + 1 < wide.size() ? offsets[u + 1] : int(text.size());
            for (int b = offsets[u]; b < end; ++b)
                (*widths)[std::size_t(b)] = w16[u];
        }
    }
    return true;
}

TSize GetTabbedTextExtent(const Dc& dc, std::u16string_view text, const std::vector<int>& tabStops)
{
    auto fm = FontMetricsOf(dc);
    return {Sum(UnitAdvances(dc, *fm, text, {true, tabStops, 0})), fm->Metrics().tmHeight};
}

TSize GetTabbedTextExtent(const Dc& dc, std::string_view text, const std::vector<int>& tabStops)
{
    return GetTabbedTextExtent(dc, rtl::Utf8ToUtf16(text), tabStops);
}

// ---- output ----

namespace {

bool TextOutWith(Dc& dc, int x, int y, unsigned options, const TRect* rect, std::u16string_view text,
                 std::vector<int> adv)
{
    auto fm = FontMetricsOf(dc);
    const TEXTMETRIC tm = fm->Metrics();
    const unsigned align = dc.S().textAlign;
    if (align & TA_UPDATECP) {
        x = dc.S().pos.X;
        y = dc.S().pos.Y;
    }
    if (rect && (options & ETO_OPAQUE) && dc.Target()) {
        Brush bk = Brush::Solid(dc.S().bkColor);
        RunRop(dc, dc.ClipRects(*rect), kPat, &bk, nullptr);
    }
    const int width = Sum(adv);
    // The cell's top-left relative to the reference point, in the text's own direction.
    int du = 0, dv = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        du = -width / 2;
    else if (align & TA_RIGHT)
        du = -width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        dv = -tm.tmAscent;
    else if (align & TA_BOTTOM)
        dv = -tm.tmHeight;
    if (align & TA_UPDATECP) {
        if ((align & TA_CENTER) == TA_LEFT)
            dc.S().pos.X = x + width;
        else if ((align & TA_CENTER) == TA_RIGHT)
            dc.S().pos.X = x - width;
    }
    const TRect* clip = rect && (options & ETO_CLIPPED) ? rect : nullptr;
    const int quarter = QuarterOf(dc.S().font.lf.lfEscapement);
    if (quarter == 0) {
        PaintSpec spec;
        spec.clip = clip;
        spec.opaqueCells = dc.S().bkMode == OPAQUE;
        PaintText(dc, x + du, y + dv, text, adv, spec);
        return true;
    }
    // Turned text: draw the glyphs into a mask of their own, turn it about the reference point.
    if (!dc.Target() || width <= 0)
        return true;
    QImage mask(width, tm.tmHeight, QImage::Format_Alpha8);
    mask.fill(0);
    int gx = 0;
    for (std::size_t i = 0; i < text.size();) {
        int units = 1;
        const char32_t c = CodePointAt(text, i, units);
        fm->DrawGlyph(mask, gx, 0, c);
        for (int k = 0; k < units; ++k)
            gx += adv[i + std::size_t(k)];
        i += std::size_t(units);
    }
    const TPoint ref = dc.ToDevice(TPoint{x, y});
    int mx = ref.X + du, my = ref.Y + dv;
    if (dc.S().bkMode == OPAQUE) {
        QImage cells(width, tm.tmHeight, QImage::Format_Alpha8);
        cells.fill(255);
        int cx = mx, cy = my;
        QImage turned = Rotated(cells, quarter, -du, -dv, cx, cy);
        ComposeMask(dc, turned, cx, cy, clip, dc.S().bkColor);
    }
    QImage turned = Rotated(mask, quarter, -du, -dv, mx, my);
    (fm->Smooth() ? BlendMask : ComposeMask)(dc, turned, mx, my, clip, dc.S().textColor);
    return true;
}

std::vector<int> ByteAdvancesToUnits(std::string_view text, const std::u16string& wide, const int* dx)
{
    // A character advances by the sum of its bytes' advances.
    std::vector<int> adv(wide.size(), 0);
    const std::vector<int> offsets = UnitToByteOffsets(text, wide);
    for (std::size_t u = 0; u < wide.size(); ++u) {
        if (u > 0 && offsets[u] == offsets[u - 1])
            continue;
        const int end = u + 1 < wide.size() ? offsets[u + 1] : int(text.size());
        for (int b = offsets[u]; b < end; ++b)
            adv[u] += dx[b];
    }
    return adv;
}

} // namespace

bool ExtTextOut(Dc& dc, int x, int y, unsigned options, const TRect* rect, std::u16string_view text,
                const int* dx)
{
    std::vector<int> adv;
    if (dx)
        adv.assign(dx, dx + text.size());
    else
        adv = UnitAdvances(dc, *FontMetricsOf(dc), text, {});
    return TextOutWith(dc, x, y, options, rect, text, std::move(adv));
}

bool ExtTextOut(Dc& dc, int x, int y, unsigned options, const TRect* rect, std::string_view text,
                const int* dx)
{
    const std::u16string wide = rtl::Utf8ToUtf16(text);
    if (!dx)
        return ExtTextOut(dc, x, y, options, rect, std::u16string_view(wide));
    return TextOutWith(dc, x, y, options, rect, wide, ByteAdvancesToUnits(text, wide, dx));
}

bool TextOut(Dc& dc, int x, int y, std::u16string_view text)
{
    return ExtTextOut(dc, x, y, 0, nullptr, text);
}

bool TextOut(Dc& dc, int x, int y, std::string_view text)
{
    return ExtTextOut(dc, x, y, 0, nullptr, text);
}

TSize TabbedTextOut(Dc& dc, int x, int y, std::u16string_view text, const std::vector<int>& tabStops,
                    int tabOrigin)
{
    auto fm = FontMetricsOf(dc);
    std::vector<int> adv = UnitAdvances(dc, *fm, text, {true, tabStops, x - tabOrigin});
    const TSize size{Sum(adv), fm->Metrics().tmHeight};
    TextOutWith(dc, x, y, 0, nullptr, text, std::move(adv));
    return size;
}

TSize TabbedTextOut(Dc& dc, int x, int y, std::string_view text, const std::vector<int>& tabStops,
                    int tabOrigin)
{
    return TabbedTextOut(dc, x, y, rtl::Utf8ToUtf16(text), tabStops, tabOrigin);
}

} // namespace gdi
