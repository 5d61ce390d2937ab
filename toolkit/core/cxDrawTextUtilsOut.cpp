// Text output: cxTextOut, the row painter and turned text.
#include "toolkit/core/cxDrawTextUtils.h"

#include "platform/gdi/SysParams.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxGraphics.h"

#include <algorithm>
#include <optional>

using namespace gdi;

namespace {

bool IsColor(TColor c) { return c != clNone && c != clDefault; }

// The 8 x 8 fill patterns of text too small to read: 0 bits paint in the text colour, 1 bits in
// the background colour. The normal one is a 50 % checker, the bold one solid.
const Brush& BarBrush(bool bold)
{
    auto make = [](bool solid) {
        auto bits = std::make_shared<Surface>(8, 8, PixelFormat::Mono1);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const int row = (y % 2 == 0) ? 0x55 : 0xAA;
                const bool set = !solid && ((row >> (7 - x)) & 1);
                bits->SetPixel(x, y, set ? 0x00FFFFFFu : 0u);
            }
        return Brush::Pattern(bits);
    };
    static const Brush normal = make(false), solid = make(true);
    return bold ? solid : normal;
}

// Accelerator characters go: "&x" shows x, "&&" shows "&".
std::u16string RemoveAccelChars(const std::u16string& text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && ++i >= text.size())
            break;
        out += text[i];
    }
    return out;
}

TRect Widened(const TRect& r, const TcxTextParams& p, int leftIndent, int rightIndent)
{
    TRect out = r;
    out.Left -= leftIndent * p.OnePixel;
    out.Right += rightIndent * p.OnePixel;
    if (p.WithMargins) {
        const int m = 2 * p.OnePixel;
        out = {out.Left - m, out.Top - m, out.Right + m, out.Bottom + m};
    }
    return out;
}

// Saves the clip region on construction and puts it back on destruction.
class ClipGuard {
public:
    explicit ClipGuard(Dc& dc) : dc_(dc)
    {
        Region r;
        if (GetClipRgn(dc, r))
            saved_ = r;
    }
    ~ClipGuard() { SelectClipRgn(dc_, saved_ ? &*saved_ : nullptr); }
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;

private:
    Dc& dc_;
    std::optional<Region> saved_;
};

void DrawRowText(Dc& dc, const TcxTextParams& p, int x, int y, std::u16string_view text)
{
    if (p.ExpandTabs)
        TabbedTextOut(dc, x, y, text, {}, x);
    else
        TextOut(dc, x, y, text);
}

void DrawEllipsis(Dc& dc, const TRect& r, const TcxTextParams& p, int x, int y)
{
    if (x >= r.Right)
        return;
    const bool clip = !p.NoClip && x + p.EllipsisWidth > r.Right;
    ExtTextOut(dc, x, y, clip ? unsigned(ETO_CLIPPED) : 0u, &r, std::u16string_view(u"..."));
}

struct Selection {
    int start = 0, length = 0;
    std::optional<Brush> brush;
    std::optional<COLORREF> textColor;
};

void DrawRow(Dc& dc, const TRect& r, const TcxTextParams& p, const TcxTextRow& row, bool isLast,
             bool forceEllipsis, const Selection& sel)
{
    const int w = r.Width();
    const TRect band{r.Left, row.TextOriginY, r.Right, row.TextOriginY + p.RowHeight};
    std::u16string_view text(row.Text, std::size_t(row.TextLength));
    int width = row.TextExtents.cx, x = row.TextOriginX;
    const bool ellipsisRow = p.EndEllipsis && isLast && (forceEllipsis || w < width);
    const bool spread = p.AlignX == taJustifyX || p.AlignX == taDistributeX;
    if (spread && !ellipsisRow && w - width > 0 && row.SpaceCount > 0)
        SetTextJustification(dc, w - width, row.SpaceCount);
    ClipGuard clipGuard(dc);
    const bool fits = x >= r.Left && x + width <= r.Right && band.Top >= r.Top && band.Bottom <= r.Bottom;
    if (!p.NoClip && !fits)
        IntersectClipRect(dc, {r.Left, std::max(band.Top, r.Top), r.Right, std::min(band.Bottom, r.Bottom)});
    if (ellipsisRow) {
        int fit = 0;
        TSize size;
        GetTextExtentExPoint(dc, text, w - p.EllipsisWidth, &fit, nullptr, size);
        if (p.AlignX == taLeft && fit < 1)
            fit = 1;
        text = text.substr(0, std::size_t(std::min<int>(fit, int(text.size()))));
        GetTextExtentPoint32(dc, text, size);
        width = size.cx;
        // Text and ellipsis are placed together, as the alignment asks.
        if (p.AlignX == taCenterX)
            x = r.Left + (w - width - p.EllipsisWidth) / 2;
        else if (p.AlignX == taRight)
            x = r.Right - width - p.EllipsisWidth;
        else
            x = r.Left;
        if (p.PreventLeftExceed)
            x = std::max(x, r.Left);
    }
    bool ellipsisDrawn = false;
    const int selFrom = std::max(sel.start, row.TextStartOffset) - row.TextStartOffset;
    const int selTo = std::min(sel.start + sel.length, row.TextStartOffset + int(text.size())) - row.TextStartOffset;
    if (sel.length > 0 && selTo > selFrom) {
        std::vector<int> widths;
        TSize size;
        GetTextExtentExPoint(dc, text, 0, nullptr, &widths, size);
        int x0 = x + (selFrom > 0 ? widths[std::size_t(selFrom - 1)] : 0);
        int x1 = x + widths[std::size_t(selTo - 1)];
        // Mirrored only for text that runs right to left (Arabic).
        const std::string utf8 = rtl::Utf16ToUtf8(text);
        if (p.CharSet == 178 && cxGetWritingDirection(p.CharSet, utf8)) {
            const int m0 = x + width - (x1 - x), m1 = x + width - (x0 - x);
            x0 = m0;
            x1 = m1;
        }
        const TRect hl{x0, band.Top, x1, band.Bottom};
        if (x1 > x0 && band.Bottom > band.Top) {
            const int depth = SaveDC(dc);
            IntersectClipRect(dc, hl);
            if (sel.brush)
                FillRect(dc, hl, *sel.brush);
            if (sel.textColor)
                SetTextColor(dc, *sel.textColor);
            DrawRowText(dc, p, x, row.TextOriginY, text);
            if (ellipsisRow && selTo >= int(text.size())) {
                DrawEllipsis(dc, r, p, x + width, row.TextOriginY);
                ellipsisDrawn = true;
            }
            RestoreDC(dc, depth);
            ExcludeClipRect(dc, hl);
        }
    }
    DrawRowText(dc, p, x, row.TextOriginY, text);
    if (ellipsisRow && !ellipsisDrawn)
        DrawEllipsis(dc, r, p, x + width, row.TextOriginY);
    if (spread)
        SetTextJustification(dc, 0, 0);
}

} // namespace

void cxTextRowsOutHighlight(HDC dc, const TRect& r, const TcxTextParams& p, TcxTextRows& rows, int rowCount,
                            int selStart, int selLength, TColor selBkColor, TColor selTextColor,
                            bool forceEndEllipsis)
{
    if (!dc)
        return;
    const int bkMode = SetBkMode(*dc, TRANSPARENT);
    Selection sel{selStart, selLength, {}, {}};
    if (selLength >= 1 && IsColor(selBkColor))
        sel.brush = Brush::Solid(ColorToRef(selBkColor));
    if (IsColor(selTextColor))
        sel.textColor = ColorToRef(selTextColor);
    for (int i = 0; i < rowCount; ++i) {
        const TcxTextRow& row = *cxGetTextRow(rows, i);
        const bool isLast = i == rowCount - 1;
        if (row.TextLength <= 0) {
            if (isLast && forceEndEllipsis && p.EndEllipsis)
                DrawEllipsis(*dc, r, p, r.Left, row.TextOriginY);
            continue;
        }
        const TRect band{r.Left, row.TextOriginY, r.Right, row.TextOriginY + p.RowHeight};
        if (!RectVisible(*dc, band))
            continue;
        if (p.DrawAsBars) {
            TRect bar{row.TextOriginX, band.Top + p.OnePixel, std::min(r.Right, row.TextOriginX + row.TextExtents.cx),
                      band.Bottom - p.OnePixel};
            bar.Bottom = std::max(bar.Bottom, bar.Top + p.OnePixel);
            const COLORREF bk = SetBkColor(*dc, GetSysColor(COLOR_WINDOW));
            FillRect(*dc, bar, BarBrush(p.IsBold));
            SetBkColor(*dc, bk);
            continue;
        }
        DrawRow(*dc, r, p, row, isLast, forceEndEllipsis, sel);
    }
    SetBkMode(*dc, bkMode);
}

int cxTextOut(HDC dc, const std::u16string& source, TRect& r, unsigned format, int selStart, int selLength,
              TFont* font, TColor selBkColor, TColor selTextColor, int maxLineCount, int leftIndent,
              int rightIndent, TColor textColor, double factor)
{
    if (source.empty() || !dc)
        return 0;
    const Font savedFont = dc->S().font;
    const COLORREF savedColor = GetTextColor(*dc);
    if (font) {
        SelectFont(*dc, font->GetHandle());
        SetTextColor(*dc, ColorToRef(font->GetColor()));
    }
    if (IsColor(textColor))
        SetTextColor(*dc, ColorToRef(textColor));
    auto restore = [&](int result) {
        SelectFont(*dc, savedFont);
        SetTextColor(*dc, savedColor);
        return result;
    };
    TcxTextParams p = cxCalcTextParams(dc, format, factor);
    TRect l = cxPrepareRect(r, p, leftIndent, rightIndent);
    if (p.CalcRect ? l.Width() <= 0 : (l.Width() < 1 || l.Height() < 1))
        return restore(0);
    const std::u16string text = p.HidePrefix ? RemoveAccelChars(source) : source;
    if (text.empty())
        return restore(0);
    TcxTextRows rows;
    int count = 0;
    const bool forceEllipsis =
        !cxMakeTextRows(dc, text.data(), int(text.size()), l, p, rows, count, maxLineCount);
    if (count > 0 && p.CalcRect) {
        const int considered = maxLineCount > 0 && maxLineCount < count ? maxLineCount : count;
        l.Right = l.Left + cxGetLongestTextRowWidth(rows, considered);
        if (!p.SingleLine)
            cxMakeTextRows(dc, text.data(), int(text.size()), l, p, rows, count, maxLineCount);
        cxPlaceTextRows(dc, l, p, rows, count);
        l.Bottom = cxGetTextRow(rows, count - 1)->TextOriginY + p.TextHeight;
        r = Widened(l, p, leftIndent, rightIndent);
    } else if (count > 0) {
        cxPlaceTextRows(dc, l, p, rows, count);
        const int length = int(text.size());
        if (selStart < 0 || selStart >= length)
            selLength = 0;
        else if (selStart + selLength > length)
            selLength = length - selStart;
        cxTextRowsOutHighlight(dc, l, p, rows, count, selStart, selLength, selBkColor, selTextColor, forceEllipsis);
    }
    int result = 0;
    if (p.CalcRowCount)
        result = count;
    else if (count > 0) {
        result = cxGetTextRow(rows, count - 1)->TextOriginY + p.TextHeight - l.Top;
        if (result == 0)
            result = count;
    }
    return restore(result);
}

int cxTextOut(HDC dc, const std::u16string& text, TRect& r, unsigned format, TFont* font, int maxLineCount,
              int leftIndent, int rightIndent, TColor textColor, double factor)
{
    return cxTextOut(dc, text, r, format, 0, 0, font, clDefault, clDefault, maxLineCount, leftIndent,
                     rightIndent, textColor, factor);
}

int cxTextOut(HDC dc, const std::string& text, TRect& r, unsigned format, int selStart, int selLength,
              TFont* font, TColor selBkColor, TColor selTextColor, int maxLineCount, int leftIndent,
              int rightIndent, TColor textColor, double factor)
{
    return cxTextOut(dc, rtl::Utf8ToUtf16(text), r, format, selStart, selLength, font, selBkColor, selTextColor,
                     maxLineCount, leftIndent, rightIndent, textColor, factor);
}

int cxTextOut(HDC dc, const std::string& text, TRect& r, unsigned format, TFont* font, int maxLineCount,
              int leftIndent, int rightIndent, TColor textColor, double factor)
{
    return cxTextOut(dc, rtl::Utf8ToUtf16(text), r, format, 0, 0, font, clDefault, clDefault, maxLineCount,
                     leftIndent, rightIndent, textColor, factor);
}

int cxTextOut(TCanvas* canvas, const std::u16string& text, TRect& r, unsigned format, int selStart,
              int selLength, TFont* font, TColor selBkColor, TColor selTextColor, int maxLineCount,
              int leftIndent, int rightIndent, TColor textColor, double factor)
{
    canvas->RequiredState();
    return cxTextOut(canvas->GetHandle(), text, r, format, selStart, selLength, font, selBkColor, selTextColor,
                     maxLineCount, leftIndent, rightIndent, textColor, factor);
}

int cxTextOut(TCanvas* canvas, const std::u16string& text, TRect& r, unsigned format, TFont* font,
              int maxLineCount, int leftIndent, int rightIndent, TColor textColor, double factor)
{
    return cxTextOut(canvas, text, r, format, 0, 0, font, clDefault, clDefault, maxLineCount, leftIndent,
                     rightIndent, textColor, factor);
}

int cxTextOut(TCanvas* canvas, const std::string& text, TRect& r, unsigned format, int selStart, int selLength,
              TFont* font, TColor selBkColor, TColor selTextColor, int maxLineCount, int leftIndent,
              int rightIndent, TColor textColor, double factor)
{
    return cxTextOut(canvas, rtl::Utf8ToUtf16(text), r, format, selStart, selLength, font, selBkColor,
                     selTextColor, maxLineCount, leftIndent, rightIndent, textColor, factor);
}

int cxTextOut(TCanvas* canvas, const std::string& text, TRect& r, unsigned format, TFont* font, int maxLineCount,
              int leftIndent, int rightIndent, TColor textColor, double factor)
{
    return cxTextOut(canvas, rtl::Utf8ToUtf16(text), r, format, 0, 0, font, clDefault, clDefault, maxLineCount,
                     leftIndent, rightIndent, textColor, factor);
}

// ---- turned text ----

namespace {

struct TurnedLine {
    std::u16string text;
    int width = 0;
};

std::vector<TurnedLine> TurnedLines(Dc& dc, const std::u16string& text, int room, bool wordBreak)
{
    auto widthOf = [&](const std::u16string& s) {
        TSize size;
        GetTextExtentPoint32(dc, s, size);
        return size.cx;
    };
    std::vector<TurnedLine> lines;
    if (!wordBreak) {
        lines.push_back({text, widthOf(text)});
        return lines;
    }
    auto isCut = [](char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; };
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos, best = std::u16string::npos;
        while (end < text.size()) {
            std::size_t wordEnd = end;
            while (wordEnd < text.size() && !isCut(text[wordEnd]))
                ++wordEnd;
            if (best != std::u16string::npos && widthOf(text.substr(pos, wordEnd - pos)) >= room)
                break;
            best = wordEnd;
            end = wordEnd;
            if (end < text.size() && (text[end] == u'\r' || text[end] == u'\n'))
                break;
            if (end < text.size())
                ++end;
        }
        const std::u16string line = text.substr(pos, best - pos);
        lines.push_back({line, widthOf(line)});
        pos = best;
        if (pos < text.size() && isCut(text[pos])) // one space (or line end) after a cut
            ++pos;
    }
    return lines;
}

} // namespace

void cxRotatedTextOut(HDC dc, const TRect& rect, const std::u16string& text, TFont* font, TcxTextAlignX alignX,
                      TcxTextAlignY alignY, bool wordBreak, bool keepStartVisible, bool keepEndVisible,
                      TcxVerticalTextOutDirection direction, int fontSize)
{
    if (!dc || text.empty())
        return;
    const TRect r{rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2};
    const Font savedFont = dc->S().font;
    const int savedMode = SetBkMode(*dc, TRANSPARENT);
    const bool down = direction == vtdTopToBottom;
    const unsigned savedAlign = SetTextAlign(*dc, down ? TA_BOTTOM : TA_TOP);
    Font turned = font ? font->GetHandle() : savedFont;
    turned.lf.lfEscapement = down ? -900 : 900;
    turned.lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    if (fontSize != 0)
        turned.lf.lfHeight = -rtl::MulDiv(fontSize, GetDeviceCaps(LOGPIXELSY), 72);
    SelectFont(*dc, turned);

    const int height = r.Height();
    const std::vector<TurnedLine> lines = TurnedLines(*dc, text, height, wordBreak);
    TSize wg;
    GetTextExtentPoint32(*dc, u"Wg", wg);
    const int pitch = wg.cy, n = int(lines.size());
    int x;
    if (!down) {
        x = alignY == taCenterY ? r.Left + (r.Width() - pitch * n) / 2
            : alignY == taBottom ? r.Right - pitch * n
                                 : r.Left;
        x = std::max(x, r.Left);
    } else {
        x = alignY == taCenterY ? (r.Left + r.Right + pitch * (n - 2)) / 2
            : alignY == taBottom ? r.Left + pitch * (n - 1)
                                 : r.Right - pitch;
        x = std::min(x, r.Right - pitch);
    }
    for (const TurnedLine& line : lines) {
        if (x < r.Left || x >= r.Right)
            break;
        int y;
        if (down)
            y = alignX == taLeft ? r.Top : alignX == taRight ? r.Bottom - line.width : r.Top + (height - line.width) / 2;
        else
            y = alignX == taLeft ? r.Bottom : alignX == taRight ? r.Top + line.width : r.Bottom - (height - line.width) / 2;
        if (line.width > height) {
            if (keepEndVisible)
                y = down ? r.Bottom - line.width : r.Top + line.width;
            else if (keepStartVisible)
                y = down ? r.Top : r.Bottom;
        }
        ExtTextOut(*dc, x, y, 0, nullptr, std::u16string_view(line.text));
        x += down ? -pitch : pitch;
    }
    SelectFont(*dc, savedFont);
    SetTextAlign(*dc, savedAlign);
    SetBkMode(*dc, savedMode);
}

void cxRotatedTextOut(HDC dc, const TRect& r, const std::string& text, TFont* font, TcxTextAlignX alignX,
                      TcxTextAlignY alignY, bool wordBreak, bool keepStartVisible, bool keepEndVisible,
                      TcxVerticalTextOutDirection direction, int fontSize)
{
    cxRotatedTextOut(dc, r, rtl::Utf8ToUtf16(text), font, alignX, alignY, wordBreak, keepStartVisible,
                     keepEndVisible, direction, fontSize);
}
