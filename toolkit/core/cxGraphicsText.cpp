// The text half of cxGraphics: the canvas's text output and measuring, and the unit's text
// measuring procedures.
#include "platform/gdi/SysParams.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/Profile.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxGraphics.h"

#include <algorithm>

using namespace gdi;
using cx::TcxAlignmentVert;
using cx::vaBottom;
using cx::vaCenter;
using cx::vaTop;

const int cxAlignmentsHorz[3] = {cxtfLeft, cxtfRight, cxtfHCenter};
const int cxAlignmentsVert[3] = {cxtfTop, cxtfBottom, cxtfVCenter};
const unsigned SystemAlignmentsHorz[3] = {DT_LEFT, DT_RIGHT, DT_CENTER};
const unsigned SystemAlignmentsVert[3] = {DT_TOP, DT_BOTTOM, DT_VCENTER};

unsigned cxFlagsToDTFlags(int flags)
{
    unsigned r = DT_NOPREFIX;
    const std::pair<int, unsigned> plain[] = {
        {cxtfRight, DT_RIGHT},         {cxtfHCenter, DT_CENTER},         {cxtfBottom, DT_BOTTOM},
        {cxtfVCenter, DT_VCENTER},     {cxtfSingleLine, DT_SINGLELINE},  {cxtfNoClip, DT_NOCLIP},
        {cxtfExpandTabs, DT_EXPANDTABS}, {cxtfEndEllipsis, DT_END_ELLIPSIS}, {cxtfCalcRect, DT_CALCRECT},
        {cxtfPathEllipsis, DT_PATH_ELLIPSIS}};
    for (auto [cx, dt] : plain)
        if (flags & cx)
            r |= dt;
    if (flags & cxtfShowPrefix)
        r &= ~DT_NOPREFIX;
    if (flags & cxtfWordBreak) {
        r |= DT_WORDBREAK;
        if (!(flags & cxtfNoCharBreak))
            r |= DT_EDITCONTROL;
        else if (flags & cxtfNoFullWidthCharBreak)
            r |= DT_NOFULLWIDTHCHARBREAK;
    }
    return r;
}

namespace {

// Removes accelerator characters: each "&" goes and the character after it stays ("&&" is "&").
std::string StripHotKey(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (++i >= text.size())
                break;
        }
        out += text[i];
    }
    return out;
}

} // namespace

// ---- TcxCanvas text ----

TSize TcxCanvas::TextExtent(const std::string& text) { return canvas_->TextExtent(text); }

void TcxCanvas::TextExtent(const std::string& text, TRect& r, int flags)
{
    const int w0 = r.Width(), h0 = r.Height();
    const unsigned f = cxFlagsToDTFlags(flags);
    if (w0 <= 0 && !text.empty())
        r.Right = r.Left + 1;
    canvas_->RequiredState();
    HDC dc = GetHandle();
    if (!dc || DrawText(*dc, text, r, (f & ~DT_VCENTER) | DT_CALCRECT) == 0)
        r = {r.Left, r.Top, r.Left, r.Top};
    const int w1 = r.Width(), h1 = r.Height();
    int dx = 0, dy = 0;
    if (f & DT_CENTER)
        dx = (w0 - w1) / 2;
    else if (f & DT_RIGHT)
        dx = w0 - w1;
    if (f & DT_VCENTER)
        dy = (h0 - h1) / 2;
    else if (f & DT_BOTTOM)
        dy = h0 - h1;
    r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

void TcxCanvas::AlignMultiLineTextRectVertically(TRect& r, const std::string& text, TcxAlignmentVert alignVert,
                                                 bool wordWrap, bool showPrefix, bool enabled, bool noCharBreak)
{
    if (alignVert == vaTop)
        return;
    const int d = enabled ? 0 : 1;
    TRect measured{0, 0, r.Width() - d, 0};
    int flags = cxtfLeft | cxtfTop;
    if (wordWrap)
        flags |= cxtfWordBreak;
    if (showPrefix)
        flags |= cxtfShowPrefix;
    if (noCharBreak)
        flags |= cxtfNoCharBreak;
    TextExtent(text, measured, flags);
    if (alignVert == vaBottom)
        r.Top = r.Bottom - (measured.Height() + d);
    else
        r.Top = (r.Top + r.Bottom - measured.Height()) / 2;
}

void TcxCanvas::DrawTexT(const std::string& text, const TRect& rect, int flags, bool enabled)
{
    if (text.empty())
        return;
    const bool viaDrawText =
        !(flags & cxtfSingleLine) || (flags & (cxtfShowPrefix | cxtfEndEllipsis | cxtfPathEllipsis));
    TRect r = rect;
    const TSize size = TextExtent(text);
    if (r.Width() >= size.cx && r.Height() >= size.cy)
        flags |= cxtfNoClip;
    unsigned format = 0, options = 0;
    if (viaDrawText) {
        if (!(flags & cxtfSingleLine) && (flags & (cxtfBottom | cxtfVCenter)))
            AlignMultiLineTextRectVertically(r, text, (flags & cxtfBottom) ? vaBottom : vaCenter,
                                             flags & cxtfWordBreak, flags & cxtfShowPrefix, enabled,
                                             flags & cxtfNoCharBreak);
        format = cxFlagsToDTFlags(flags);
    } else {
        const int d = enabled ? 0 : 1;
        if (r.Width() > size.cx) {
            if (flags & cxtfRight)
                r.Left = r.Right - size.cx - d;
            else if (flags & cxtfHCenter)
                r.Left = (r.Left + r.Right - size.cx) / 2;
        }
        if (r.Height() > size.cy) {
            if (flags & cxtfBottom)
                r.Top = r.Bottom - size.cy - d;
            else if (flags & cxtfVCenter)
                r.Top = (r.Top + r.Bottom - size.cy) / 2;
        }
        options = (flags & cxtfNoClip) ? 0u : unsigned(ETO_CLIPPED);
    }
    const TBrushStyle brushStyle = GetBrush()->GetStyle();
    const TColor fontColor = GetFont()->GetColor();
    auto draw = [&](TRect at) {
        canvas_->RequiredState();
        HDC dc = GetHandle();
        if (!dc)
            return;
        if (viaDrawText)
            DrawText(*dc, text, at, format);
        else
            ExtTextOut(*dc, at.Left, at.Top, options, &at, std::string_view(text));
    };
    if (!enabled) {
        GetBrush()->SetStyle(bsClear);
        GetFont()->SetColor(clBtnHighlight);
        draw({r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1});
        GetFont()->SetColor(clBtnShadow);
    }
    draw(r);
    if (GetBrush()->GetStyle() != brushStyle)
        GetBrush()->SetStyle(brushStyle);
    GetFont()->SetColor(fontColor);
}

void TcxCanvas::DrawTexT(const std::string& text, const TRect& r, TAlignment alignHorz,
                         TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis)
{
    if (text.empty())
        return;
    int flags = cxAlignmentsHorz[alignHorz] | cxAlignmentsVert[alignVert] |
                (multiLine ? cxtfWordBreak : cxtfSingleLine);
    if (showEndEllipsis)
        flags |= cxtfEndEllipsis;
    DrawTexT(text, r, flags, true);
}

void TcxCanvas::GetTextStringsBounds(std::string text, const TRect& rect, int flags, bool enabled,
                                     TRectArray& bounds)
{
    if (text.empty())
        return;
    if (flags & cxtfShowPrefix) {
        text = StripHotKey(text);
        flags &= ~cxtfShowPrefix;
    }
    const int h = flags & 7;
    TRect r = rect;
    if (!enabled) {
        --r.Right;
        --r.Bottom;
    }
    TRect t = r;
    TextExtent(text, t, flags);
    int dy = 0;
    if (flags & cxtfBottom)
        dy = r.Bottom - t.Bottom;
    else if (flags & cxtfVCenter)
        dy = (r.Bottom - t.Bottom) / 2;
    t.Top += dy;
    t.Bottom += dy;
    canvas_->RequiredState();
    HDC dc = GetHandle();
    if (!dc)
        return;
    while (!text.empty()) {
        int n = 0;
        TSize size;
        GetTextExtentExPoint(*dc, std::string_view(text), r.Right - r.Left, &n, nullptr, size);
        const std::size_t lineBreak = text.find_first_of("\r\n");
        if (lineBreak != std::string::npos && int(lineBreak) < n) {
            n = int(lineBreak);
            const char c = text[lineBreak];
            std::size_t len = 1;
            if (lineBreak + 1 < text.size() && (text[lineBreak + 1] == '\r' || text[lineBreak + 1] == '\n') &&
                text[lineBreak + 1] != c)
                len = 2;
            text.erase(lineBreak, len);
        } else {
            if (int(text.size()) > n) {
                // The last space up to the character after those that fit (1-based i <= n + 1).
                const std::size_t space = text.rfind(' ', std::size_t(n));
                if (space != std::string::npos && int(space) + 1 < n) {
                    n = int(space) + 1;
                    if (h != cxtfLeft) {
                        text.erase(space, 1);
                        n = int(space);
                    }
                }
            }
            if (n == 0) // every line takes at least one character
                n = std::max(1, rtl::Utf8CharLength(text, 0));
        }
        TSize line{0, size.cy};
        if (n > 0)
            cxGetTextExtentPoint32(dc, text, line, n);
        TRect b = t;
        if (h == cxtfLeft)
            b.Right = b.Left + line.cx;
        else if (h == cxtfRight)
            b.Left = b.Right - line.cx;
        else if (h == cxtfHCenter) {
            b.Left = (t.Left + t.Right - line.cx) / 2;
            b.Right = b.Left + line.cx;
        }
        b.Bottom = b.Top + line.cy;
        t.Top = b.Bottom;
        bounds.push_back(b);
        text.erase(0, std::size_t(n));
    }
}

int TcxCanvas::FontHeight(TFont* font)
{
    SetFont(font);
    return TextHeight("Qq");
}

// ---- measuring procedures ----

namespace {

std::string_view Counted(const std::string& text, int count)
{
    if (count < 0 || std::size_t(count) >= text.size())
        return text;
    return std::string_view(text).substr(0, std::size_t(count));
}

// The unit's measuring canvas: a canvas on a one-pixel surface.
TCanvas& MeasuringCanvas()
{
    static Surface surface(1, 1);
    static Dc dc(&surface);
    static TCanvas canvas;
    canvas.SetHandle(&dc);
    return canvas;
}

} // namespace

int cxDrawText(HDC dc, const std::string& text, TRect& r, unsigned format, int count)
{
    return dc ? DrawText(*dc, Counted(text, count), r, format) : 0;
}

bool cxExtTextOut(HDC dc, const std::string& text, const TPoint& p, const TRect& r, unsigned options, int count)
{
    return dc && ExtTextOut(*dc, p.X, p.Y, options, &r, Counted(text, count));
}

bool cxExtTextOut(HDC dc, const std::string& text, const TPoint& p, unsigned options, int count)
{
    return dc && ExtTextOut(*dc, p.X, p.Y, options, nullptr, Counted(text, count));
}

bool cxGetTextExtentPoint32(HDC dc, const std::string& text, TSize& size, int count)
{
    return dc && GetTextExtentPoint32(*dc, Counted(text, count), size);
}

TSize cxTextExtent(TFont* font, const std::string& text, int fontSize)
{
    TCanvas& canvas = MeasuringCanvas();
    canvas.Font()->Assign(font);
    if (fontSize != 0)
        canvas.Font()->SetSize(fontSize);
    return canvas.TextExtent(text);
}

int cxTextWidth(TFont* font, const std::string& text, int fontSize) { return cxTextExtent(font, text, fontSize).cx; }
int cxTextHeight(TFont* font, const std::string& text, int fontSize) { return cxTextExtent(font, text, fontSize).cy; }

TSize cxTextSize(HDC dc, const std::string& text)
{
    const TRect r = cxGetTextRect(dc, text, 1);
    return {r.Right, r.Bottom};
}

TRect cxGetTextRect(HDC dc, const std::string& text, int rowCount, bool forceHeight)
{
    TRect r{};
    if (!dc)
        return r;
    if (rowCount == 1) {
        DrawText(*dc, text, r, DT_CALCRECT | DT_SINGLELINE);
        return r;
    }
    const int limit = rowCount > 0 ? rowCount * cxTextSize(dc, "Wg").cy : 32000;
    const unsigned wrap = DT_CALCRECT | DT_WORDBREAK | DT_NOFULLWIDTHCHARBREAK;
    auto layout = [&](int width) {
        TRect at{0, 0, width, 1};
        DrawText(*dc, text, at, wrap);
        return at;
    };
    int lower = layout(1).Right;
    TRect single{};
    DrawText(*dc, text, single, DT_CALCRECT | DT_SINGLELINE);
    int upper = single.Right;
    while (upper - lower > 1) {
        const int middle = (lower + upper) / 2;
        if (layout(middle).Bottom > limit)
            lower = middle;
        else
            upper = middle;
    }
    r = layout(lower);
    if (r.Bottom > limit)
        r = layout(upper);
    if (forceHeight)
        r.Bottom = limit;
    return r;
}

TRect cxGetTextRect(TFont* font, const std::string& text, int rowCount)
{
    TCanvas& canvas = MeasuringCanvas();
    canvas.Font()->Assign(font);
    canvas.RequiredState();
    return cxGetTextRect(canvas.GetHandle(), text, rowCount, false);
}

int cxGetScreenPixelsPerInch(bool horizontal) { return GetDeviceCaps(horizontal ? LOGPIXELSX : LOGPIXELSY); }

std::string cxGetStringAdjustedToWidth(HDC dc, const gdi::Font* font, const std::string& text, int width,
                                       TcxModifyStringType type)
{
    if (text.empty() || width <= 0)
        return {};
    if (!dc) {
        TCanvas& canvas = MeasuringCanvas();
        canvas.RequiredState();
        dc = canvas.GetHandle();
    }
    if (font)
        SelectFont(*dc, *font);
    TRect r{0, 0, width, 32};
    std::string shown;
    const unsigned ellipsis = type == mstEndEllipsis ? DT_END_ELLIPSIS : DT_PATH_ELLIPSIS;
    DrawText(*dc, text, r, ellipsis | DT_MODIFYSTRING | DT_CALCRECT | DT_SINGLELINE, &shown);
    return shown;
}

std::string cxGetStringAdjustedToWidth(TFont* font, const std::string& text, int width, TcxModifyStringType type)
{
    const gdi::Font handle = font->GetHandle();
    return cxGetStringAdjustedToWidth(nullptr, &handle, text, width, type);
}

void cxGetTextLines(const std::string& text, TcxCanvas* canvas, const TRect& r, rtl::TStrings* lines)
{
    const std::u16string t = rtl::Utf8ToUtf16(text);
    auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    auto part = [&](std::size_t from, std::size_t to) { return rtl::Utf16ToUtf8(t.substr(from, to - from)); };
    HDC dc = canvas->GetHandle();
    canvas->WrappedCanvas()->RequiredState();
    const int width = r.Width();
    std::size_t lineStart = 0, prevEnd = 0, pos = 0;
    while (pos < t.size()) {
        // A single white-space character is skipped; one that follows another starts a word.
        if (isSpace(t[pos]))
            ++pos;
        if (pos >= t.size())
            break;
        const std::size_t start = pos;
        std::size_t end = pos + 1;
        while (end < t.size() && !isSpace(t[end]))
            ++end;
        if (cxTextSize(dc, part(lineStart, end)).cx > width) {
            lines->Add(part(lineStart, prevEnd));
            lineStart = start;
        }
        prevEnd = end;
        pos = end;
    }
    lines->Add(part(lineStart, t.size()));
}

bool cxGetWritingDirection(int charset, const std::string& text)
{
    if (charset == DEFAULT_CHARSET)
        charset = rtl::profile::DefaultCharset;
    if (!text.empty() && static_cast<unsigned char>(text[0]) < 0x80 && rtl::Utf8CharLength(text, 0) == 1)
        return false;
    return charset == 134 || charset == 136 || charset == 178;
}
