// Text rows layout: parameters, measuring, word breaks, rows and their placement.
#include "toolkit/core/cxDrawTextUtils.h"

#include "platform/gdi/Text.h"
#include "platform/rtl/Profile.h"
#include "platform/rtl/Unicode.h"

#include <algorithm>
#include <cmath>

namespace {


void SetRowCount(TcxTextRows& rows, int n)
{
    rows.Count = n;
    if (n > 32 && int(rows.DynamicRows.size()) < n - 32)
        rows.DynamicRows.resize(std::size_t(n - 28));
    if (n > 0)
        *cxGetTextRow(rows, n - 1) = TcxTextRow{};
}

bool IsSpaceOrTab(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

bool IsCJK(int codePage, char16_t c)
{
    if (c < 0x80)
        return false;
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3040 && c <= 0x309F) || (c >= 0x30A0 && c <= 0x30FF) ||
        (c >= 0xAC00 && c <= 0xD7A3))
        return true;
    // Characters the code page writes in more than one byte. The ANSI code page of this build is
    // UTF-8, where every character from U+0080 on takes two bytes or more.
    (void)codePage;
    return true;
}

bool IsNoLineStart(char16_t c)
{
    static const std::u16string set =
        u"!%),.:;>?]}\u00A8\u00B0\u00B7\u02C7\u02C9\u2013\u2014\u2015\u2016\u2018\u2019\u201D\u2022"
        u"\u2025\u2026\u2027\u2032\u2033\u2103\u2236\u2574\u3001\u3002\u3003\u3005\u3009\u300B\u300D"
        u"\u300F\u3011\u3015\u3017\u301E\u309B\u309C\uFE30\uFE31\uFE33\uFE34\uFE36\uFE38\uFE3A\uFE3C"
        u"\uFE3E\uFE40\uFE42\uFE44\uFE4F\uFE50\uFE51\uFE52\uFE54\uFE55\uFE56\uFE57\uFE5A\uFE5C\uFE5E"
        u"\uFF01\uFF02\uFF05\uFF07\uFF09\uFF0C\uFF0D\uFF0E\uFF1A\uFF1B\uFF1E\uFF1F\uFF3D\uFF5C\uFF5D"
        u"\uFF5E\uFF61\uFF63\uFF64\uFF9E\uFF9F";
    return c >= 0xFFE0 || set.find(c) != std::u16string::npos;
}

int Measure(HDC dc, const char16_t* text, int count, bool expandTabs, void* data, TcxCalcTextExtentsProc proc)
{
    TSize size;
    (proc ? proc : cxCalcTextExtentsEx)(dc, text, count, size, data, expandTabs);
    return size.cx;
}

} // namespace

// ---- rows ----

void cxResetTextRows(TcxTextRows& rows)
{
    rows.Count = 0;
    rows.DynamicRows.clear();
}

PcxTextRow cxGetTextRow(TcxTextRows& rows, int index)
{
    return index < 32 ? &rows.FixedRows[index] : &rows.DynamicRows[std::size_t(index - 32)];
}

int cxGetTextRowCount(const TcxTextRows& rows) { return rows.Count; }

int cxGetLongestTextRowWidth(TcxTextRows& rows, int count)
{
    int widest = 0;
    for (int i = 0; i < std::min(count, rows.Count); ++i)
        widest = std::max(widest, cxGetTextRow(rows, i)->TextExtents.cx);
    return widest;
}

// ---- parameters and measuring ----

TcxTextParams cxCalcTextParams(HDC dc, unsigned format, double factor)
{
    TcxTextParams p;
    if (!dc)
        return p;
    gdi::TEXTMETRIC tm;
    gdi::GetTextMetrics(*dc, tm);
    p.AlignX = TcxTextAlignX(std::min(format & 7u, unsigned(taDistributeX)));
    p.AlignY = TcxTextAlignY((format >> 4) & 3u);
    p.WordBreak = format & CXTO_WORDBREAK;
    p.SingleLine = format & CXTO_SINGLELINE;
    p.ExpandTabs = format & CXTO_EXPANDTABS;
    p.EndEllipsis = format & CXTO_END_ELLIPSIS;
    p.DrawAsBars = format & CXTO_PATTERNEDTEXT;
    p.UseExternalLeading = format & CXTO_EXTERNALLEADING;
    p.EditControl = format & CXTO_EDITCONTROL;
    p.NoClip = format & CXTO_NOCLIP;
    p.WithMargins = format & CXTO_AUTOINDENTS;
    // Chinese, Japanese and Korean system locales break over-long words by characters.
    p.CharBreak = (format & CXTO_CHARBREAK) || rtl::profile::FarEastLocale;
    p.PreventLeftExceed = format & CXTO_PREVENT_LEFT_EXCEED;
    p.PreventTopExceed = format & CXTO_PREVENT_TOP_EXCEED;
    p.CalcRect = format & CXTO_CALCRECT;
    p.CalcRowCount = format & CXTO_CALCROWCOUNT;
    p.HidePrefix = format & CXTO_HIDEPREFIX;
    p.SkipAllSpacesAfterBreak = format & CXTO_SKIPALLSPACESAFTERBREAK;
    p.TextHeight = tm.tmHeight;
    p.ExternalLeading = p.UseExternalLeading ? tm.tmExternalLeading : 0;
    p.RowHeight = int(std::nearbyint((p.TextHeight + p.ExternalLeading) * factor)); // halves to even
    p.IsBold = tm.tmWeight >= gdi::FW_BOLD;
    p.BreakChar = tm.tmBreakChar;
    p.MaxCharWidth = tm.tmMaxCharWidth;
    p.CharSet = Byte(tm.tmCharSet);
    p.OnePixel = 1; // no mapping modes: a logical unit is a device pixel
    if (p.DrawAsBars && p.TextHeight >= 6 * p.OnePixel)
        p.DrawAsBars = false;
    if (p.EndEllipsis)
        p.EllipsisWidth = cxCalcTextExtents(dc, u"...", 3, false).cx;
    return p;
}

TcxTextParams cxCalcTextParams(TCanvas* canvas, unsigned format, double factor)
{
    canvas->RequiredState();
    return cxCalcTextParams(canvas->GetHandle(), format, factor);
}

TSize cxCalcTextExtents(HDC dc, const char16_t* text, int count, bool expandTabs)
{
    TSize size;
    if (!dc || count <= 0)
        return dc ? TSize{0, gdi::FontMetricsOf(*dc)->Metrics().tmHeight} : size;
    const std::u16string_view s(text, std::size_t(count));
    if (expandTabs)
        return gdi::GetTabbedTextExtent(*dc, s);
    gdi::GetTextExtentPoint32(*dc, s, size);
    return size;
}

TSize cxCalcTextExtents(HDC dc, const std::string& text, int count, bool expandTabs)
{
    const std::string_view s = count < 0 || std::size_t(count) >= text.size()
                                   ? std::string_view(text)
                                   : std::string_view(text).substr(0, std::size_t(count));
    const std::u16string wide = rtl::Utf8ToUtf16(s);
    return cxCalcTextExtents(dc, wide.data(), int(wide.size()), expandTabs);
}

void cxCalcTextExtentsEx(HDC dc, const char16_t* text, int count, TSize& size, void*, bool expandTabs)
{
    size = cxCalcTextExtents(dc, text, count, expandTabs);
}

void cxCalcTextRowExtents(HDC dc, PcxTextRow row, const TcxTextParams& params, void* data,
                          TcxCalcTextExtentsProc measure)
{
    (measure ? measure : cxCalcTextExtentsEx)(dc, row->Text, row->TextLength, row->TextExtents, data,
                                               params.ExpandTabs);
}

// ---- word breaks ----

bool cxGetIsWordDelimeter(int codePage, char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ' || IsCJK(codePage, c) || IsNoLineStart(c);
}

const char16_t* cxGetNextWordBreak(int codePage, const char16_t* start, const char16_t* end)
{
    const char16_t* p = start;
    if (p < end && IsSpaceOrTab(*p))
        return p + 1;
    if (p < end && IsCJK(codePage, *p)) {
        ++p;
        if (p < end && IsNoLineStart(*p))
            ++p;
        return p;
    }
    while (p < end && !IsSpaceOrTab(*p) && !IsLineEnd(*p) && !IsCJK(codePage, *p))
        ++p;
    return p;
}

// ---- rows ----

namespace {

struct RowMaker {
    HDC dc;
    const char16_t* text;
    int length;
    const TcxTextParams& p;
    void* data;
    TcxCalcTextExtentsProc proc;
    int width = 0;
    bool wrap = false, breakInside = false, ellipsis = false;

    int Width(int from, int to) const
    {
        return to > from ? Measure(dc, text + from, to - from, p.ExpandTabs, data, proc) : 0;
    }

    // The most characters (at least one) of [from, to) that fit room, found by halving.
    int Fit(int from, int to, int room) const
    {
        int lo = 1, hi = to - from;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (Width(from, from + mid) <= room)
                lo = mid;
            else
                hi = mid - 1;
        }
        return lo;
    }

    // One row from pos: its end, where the next row starts and whether it was wrapped.
    void Row(int pos, bool isLast, int& rowEnd, int& next, bool& wrapped) const
    {
        rowEnd = next = pos;
        wrapped = false;
        int cur = pos;
        while (cur < length) {
            int cand;
            if (wrap)
                cand = int(cxGetNextWordBreak(0, text + cur, text + length) - text);
            else {
                cand = cur;
                while (cand < length && !IsLineEnd(text[cand]))
                    ++cand;
            }
            if (wrap && cand > cur && Width(pos, cand) > width) {
                if (rowEnd > pos && !(ellipsis && isLast)) {
                    wrapped = true;
                    next = rowEnd;
                    return;
                }
                if (breakInside) {
                    const int fit = Fit(cur, cand, width - Width(pos, rowEnd));
                    rowEnd = next = cur + fit;
                    wrapped = true;
                    return;
                }
                rowEnd = next = cand; // the word overflows the row whole
                wrapped = true;
                if (p.EndEllipsis && cand < length && IsLineEnd(text[cand])) {
                    next = ConsumeLineEnd(cand);
                    wrapped = false;
                }
                return;
            }
            if (cand < length && IsLineEnd(text[cand])) {
                rowEnd = cand;
                next = ConsumeLineEnd(cand);
                return;
            }
            rowEnd = next = cur = cand;
        }
    }

    // A CR and a following LF, or an LF and a following CR, end one row.
    int ConsumeLineEnd(int i) const
    {
        const char16_t c = text[i++];
        if (i < length && IsLineEnd(text[i]) && text[i] != c)
            ++i;
        return i;
    }
};

} // namespace

bool cxMakeTextRows(HDC dc, const char16_t* text, int length, const TRect& r, const TcxTextParams& p,
                    TcxTextRows& rows, int& rowCount, int maxRowCount, void* data, TcxCalcTextExtentsProc proc)
{
    cxResetTextRows(rows);
    rowCount = 0;
    if (!text || length <= 0)
        return true;
    auto addRow = [&](int from, int to, int spaces) {
        SetRowCount(rows, rowCount + 1);
        PcxTextRow row = cxGetTextRow(rows, rowCount++);
        row->Text = text + from;
        row->TextLength = to - from;
        row->TextStartOffset = from;
        row->SpaceCount = spaces;
        cxCalcTextRowExtents(dc, row, p, data, proc);
    };
    if (p.CalcRect && p.SingleLine) {
        addRow(0, length, 0);
        return true;
    }
    RowMaker m{dc, text, length, p, data, proc};
    const bool spread = p.AlignX == taJustifyX || p.AlignX == taDistributeX;
    m.wrap = !p.SingleLine && (p.WordBreak || spread);
    m.breakInside = m.wrap && (p.CharBreak || p.EditControl);
    m.ellipsis = p.EndEllipsis && !p.NoClip && !p.CalcRect && !p.CalcRowCount && !spread;
    m.width = r.Width();
    const int height = r.Height();
    int total = 0, pos = 0;
    bool isLast = false;
    while (pos < length && !isLast) {
        total += p.RowHeight;
        if (p.SingleLine)
            isLast = true;
        else if (p.AlignY == taTop && !p.CalcRect && !p.CalcRowCount)
            isLast = height < total + (p.EditControl && !p.NoClip ? p.RowHeight : 0);
        else
            isLast = maxRowCount > 0 && rowCount + 1 >= maxRowCount;
        int rowEnd, next;
        bool wrapped;
        m.Row(pos, isLast, rowEnd, next, wrapped);
        if (wrapped) {
            if (p.AlignX == taLeft && next < length && IsSpaceOrTab(text[next]))
                ++next;
            else if (p.AlignX == taCenterX) {
                if (rowEnd > pos && IsSpaceOrTab(text[rowEnd - 1]))
                    --rowEnd;
                if (next < length && IsSpaceOrTab(text[next]))
                    ++next;
            } else if (p.AlignX == taRight && rowEnd > pos && IsSpaceOrTab(text[rowEnd - 1]))
                --rowEnd;
            if (p.SkipAllSpacesAfterBreak)
                while (next < length && text[next] == u' ')
                    ++next;
        }
        int spaces = 0;
        if (p.AlignX == taDistributeX || (p.AlignX == taJustifyX && wrapped)) {
            while (rowEnd > pos && IsSpaceOrTab(text[rowEnd - 1]))
                --rowEnd;
            for (int i = pos; i < rowEnd; ++i)
                spaces += IsSpaceOrTab(text[i]) ? 1 : 0;
        }
        addRow(pos, rowEnd, spaces);
        pos = next;
        if (maxRowCount > 0 && rowCount >= maxRowCount)
            break;
    }
    if (p.CalcRect || p.CalcRowCount)
        return true;
    if (p.SingleLine)
        return cxGetTextRow(rows, rowCount - 1)->TextExtents.cx <= m.width;
    return pos >= length;
}

bool cxMakeTextRows(HDC dc, const std::string& text, const TRect& r, const TcxTextParams& params,
                    TcxTextRows& rows, int& rowCount, int maxRowCount, void* data, TcxCalcTextExtentsProc measure)
{
    std::u16string wide = rtl::Utf8ToUtf16(text);
    cxResetTextRows(rows);
    rows.Text = std::move(wide);
    // The rows point into rows.Text, which cxMakeTextRows leaves alone.
    return cxMakeTextRows(dc, rows.Text.data(), int(rows.Text.size()), r, params, rows, rowCount, maxRowCount,
                          data, measure);
}

bool cxMakeTextRows(TCanvas* canvas, const std::u16string& text, const TRect& r, const TcxTextParams& params,
                    TcxTextRows& rows, int& rowCount, int maxRowCount)
{
    canvas->RequiredState();
    return cxMakeTextRows(canvas->GetHandle(), text.data(), int(text.size()), r, params, rows, rowCount,
                          maxRowCount);
}

void cxPlaceTextRows(HDC, const TRect& r, TcxTextParams& p, TcxTextRows& rows, int n)
{
    if (n <= 0)
        return;
    int remainder = 0;
    if (n > 1 && p.AlignY == taDistributeY) {
        const int gap = r.Height() - p.TextHeight;
        if (p.TextHeight < double(gap) / (n - 1)) {
            p.RowHeight = gap / (n - 1);
            remainder = gap % (n - 1);
        }
    }
    int top = r.Top;
    if (p.AlignY == taCenterY)
        top = r.Top + (r.Height() - n * p.RowHeight) / 2;
    else if (p.AlignY == taBottom)
        top = r.Bottom - n * p.RowHeight;
    if (p.PreventTopExceed)
        top = std::max(top, r.Top);
    for (int i = 0; i < n; ++i) {
        PcxTextRow row = cxGetTextRow(rows, i);
        int x = r.Left;
        if (p.AlignX == taCenterX)
            x = r.Left + (r.Width() - row->TextExtents.cx) / 2;
        else if (p.AlignX == taRight)
            x = r.Right - row->TextExtents.cx;
        if (p.PreventLeftExceed)
            x = std::max(x, r.Left);
        row->TextOriginX = x;
        row->TextOriginY = top;
        top += p.RowHeight;
        if (remainder > 0) {
            ++top;
            --remainder;
        }
    }
}

TRect cxPrepareRect(const TRect& r, const TcxTextParams& p, int leftIndent, int rightIndent)
{
    TRect out = r;
    if (p.WithMargins) {
        const int m = 2 * p.OnePixel;
        out = {out.Left + m, out.Top + m, out.Right - m, out.Bottom - m};
    }
    out.Left += leftIndent * p.OnePixel;
    out.Right -= rightIndent * p.OnePixel;
    return out;
}
