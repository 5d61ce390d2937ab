// DrawText: lines, word and character breaks, ellipses, prefixes and the calculated rectangle.
#include "platform/gdi/TextDetail.h"
#include "platform/rtl/Unicode.h"

#include <algorithm>

namespace gdi {
namespace {

using namespace detail;

const std::u16string kEllipsis = u"...";

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// Full-width characters may break before and after each other.
bool IsFullWidth(char16_t c)
{
    return (c >= 0x2E80 && c < 0xD800) || (c >= 0xF900 && c < 0xFFF0);
}

// Punctuation that stays with the full-width character before it.
bool StaysWithPrevious(char16_t c)
{
    static const std::u16string set = u"、。，．！？：；）」』】〉》〕";
    return set.find(c) != std::u16string::npos;
}

struct Options {
    unsigned format = 0;
    int tabStep = 0;
    bool Has(unsigned f) const { return (format & f) != 0; }
};

// The text as shown, with the prefix character (the last "&x") marked.
struct Display {
    std::u16string text;
    int prefix = -1;
};

Display StripPrefixes(std::u16string_view text, bool process)
{
    Display d;
    if (!process) {
        d.text = text;
        return d;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            d.text += text[i];
            continue;
        }
        if (i + 1 >= text.size())
            break; // a lone "&" at the end shows nothing
        if (text[i + 1] != u'&')
            d.prefix = int(d.text.size());
        d.text += text[++i];
    }
    return d;
}

struct Line {
    std::u16string text;
    int prefix = -1; // unit index inside the line
    int width = 0;
};

class Layout {
public:
    Layout(const Dc& dc, const Options& o) : dc_(dc), o_(o), fm_(FontMetricsOf(dc)) {}

    int Width(std::u16string_view s) const
    {
        TabSpec tabs{o_.Has(DT_EXPANDTABS), {o_.tabStep}, 0};
        return Sum(UnitAdvances(dc_, *fm_, s, tabs));
    }

    // Lines of the display text that fit width w.
    std::vector<Line> Lines(const Display& d, int w) const
    {
        std::vector<Line> out;
        const std::u16string& t = d.text;
        if (o_.Has(DT_SINGLELINE)) {
            out.push_back(MakeLine(d, 0, t.size()));
            return out;
        }
        std::size_t ps = 0;
        while (ps < t.size()) {
            std::size_t pe = ps;
            while (pe < t.size() && !IsBreak(t[pe]))
                ++pe;
            if (o_.Has(DT_WORDBREAK))
                Wrap(d, ps, pe, w, out);
            else
                out.push_back(MakeLine(d, ps, pe));
            ps = pe;
            if (ps < t.size()) { // CR LF is one break; so is a lone CR or LF
                const char16_t c = t[ps++];
                if (c == u'\r' && ps < t.size() && t[ps] == u'\n')
                    ++ps;
            }
        }
        return out;
    }

    // Shortens a line wider than w with the ellipsis the format asks for.
    void Ellipsis(Line& line, int w) const
    {
        if (line.width <= w)
            return;
        if (o_.Has(DT_PATH_ELLIPSIS)) {
            const std::size_t sep = line.text.find_last_of(u"\\/");
            if (sep != std::u16string::npos && sep > 0) {
                const std::u16string tail = line.text.substr(sep);
                for (std::size_t k = sep + 1; k-- > 0;) {
                    std::u16string s = line.text.substr(0, Whole(line.text, k)) + kEllipsis + tail;
                    if (Width(s) <= w) {
                        line.prefix = line.prefix < int(k) ? line.prefix : -1;
                        line.text = std::move(s);
                        line.width = Width(line.text);
                        return;
                    }
                }
                // Not even the last part fits: it is cut at its end as well.
                line.prefix = -1;
                line.text = kEllipsis + tail;
                line.width = Width(line.text);
            }
        }
        EndEllipsis(line, w);
    }

private:
    // Never ends inside a surrogate pair.
    static std::size_t Whole(const std::u16string& s, std::size_t k)
    {
        if (k > 0 && k < s.size() && s[k] >= 0xDC00 && s[k] < 0xE000)
            --k;
        return k;
    }

    void EndEllipsis(Line& line, int w) const
    {
        const int ew = Width(kEllipsis);
        const std::vector<int> adv = UnitAdvances(dc_, *fm_, line.text, {o_.Has(DT_EXPANDTABS), {o_.tabStep}, 0});
        std::size_t k = 0;
        int sum = 0;
        while (k < adv.size() && sum + adv[k] + ew <= w)
            sum += adv[k++];
        k = Whole(line.text, k);
        if (line.prefix >= int(k))
            line.prefix = -1;
        line.text = line.text.substr(0, k) + kEllipsis;
        line.width = Width(line.text);
    }

    Line MakeLine(const Display& d, std::size_t from, std::size_t to) const
    {
        Line l;
        l.text = d.text.substr(from, to - from);
        if (d.prefix >= int(from) && d.prefix < int(to))
            l.prefix = d.prefix - int(from);
        l.width = Width(l.text);
        return l;
    }

    // End of the word that starts at i: before a space or break, or around full-width characters.
    std::size_t WordEnd(const std::u16string& t, std::size_t i, std::size_t end) const
    {
        const bool cjkBreaks = !o_.Has(DT_NOFULLWIDTHCHARBREAK);
        if (i < end && cjkBreaks && IsFullWidth(t[i])) {
            ++i;
            while (i < end && StaysWithPrevious(t[i]))
                ++i;
            return i;
        }
        while (i < end && !IsSpace(t[i]) && !(cjkBreaks && IsFullWidth(t[i])))
            ++i;
        return i;
    }

    void Wrap(const Display& d, std::size_t ps, std::size_t pe, int w, std::vector<Line>& out) const
    {
        const std::u16string& t = d.text;
        const bool charBreak = o_.Has(DT_EDITCONTROL);
        std::size_t pos = ps;
        do {
            const std::size_t start = pos;
            std::size_t lineEnd = start, next = start, i = start;
            while (i < pe) {
                const std::size_t wordEnd = WordEnd(t, i, pe);
                std::size_t spacesEnd = wordEnd;
                while (spacesEnd < pe && IsSpace(t[spacesEnd]))
                    ++spacesEnd;
                if (Width(std::u16string_view(t).substr(start, wordEnd - start)) > w) {
                    if (lineEnd > start)
                        break; // the word goes to the next line
                    if (charBreak) {
                        lineEnd = start + FitCount(std::u16string_view(t).substr(start, wordEnd - start), w);
                        next = lineEnd;
                    } else {
                        lineEnd = wordEnd; // an over-long word overflows the line whole
                        next = spacesEnd;
                    }
                    break;
                }
                lineEnd = wordEnd;
                next = i = spacesEnd;
            }
            out.push_back(MakeLine(d, start, lineEnd));
            pos = std::max(next, start + 1);
        } while (pos < pe);
    }

    // The most characters (at least one) of s that fit width w.
    std::size_t FitCount(std::u16string_view s, int w) const
    {
        const std::vector<int> adv = UnitAdvances(dc_, *fm_, s, {o_.Has(DT_EXPANDTABS), {o_.tabStep}, 0});
        std::size_t k = 0;
        int sum = 0;
        while (k < adv.size() && sum + adv[k] <= w)
            sum += adv[k++];
        std::u16string copy(s);
        k = Whole(copy, k);
        if (k == 0) {
            int units = 1;
            CodePointAt(s, 0, units);
            k = std::size_t(units);
        }
        return k;
    }

    const Dc& dc_;
    Options o_;
    std::shared_ptr<const FontMetrics> fm_;
};

} // namespace

int DrawText(Dc& dc, std::u16string_view text, TRect& rect, unsigned format, std::u16string* modified)
{
    Options o;
    o.format = format;
    int tabChars = 8;
    if (format & DT_TABSTOP) { // bits 8..15 hold the tab size instead of flags
        tabChars = int((format >> 8) & 0xFF);
        o.format &= ~0xFF00u;
    }
    if (text.empty()) {
        if (modified && o.Has(DT_MODIFYSTRING))
            modified->clear();
        if (o.Has(DT_CALCRECT)) {
            rect.Right = rect.Left;
            rect.Bottom = rect.Top;
        }
        return 0;
    }
    TEXTMETRIC tm;
    GetTextMetrics(dc, tm);
    o.tabStep = std::max(1, tabChars) * tm.tmAveCharWidth;
    const int lh = tm.tmHeight + (o.Has(DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const int w = rect.Width();

    const Display display = StripPrefixes(text, !o.Has(DT_NOPREFIX));
    Layout layout(dc, o);
    std::vector<Line> lines = layout.Lines(display, w);
    if (o.Has(DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
        for (Line& l : lines)
            layout.Ellipsis(l, w);
    if (modified && o.Has(DT_MODIFYSTRING)) {
        const bool shortened = o.Has(DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS) &&
                               o.Has(DT_SINGLELINE) && !lines.empty();
        *modified = shortened ? lines[0].text : std::u16string(text);
    }

    const int n = int(lines.size());
    int top = rect.Top;
    if (o.Has(DT_SINGLELINE)) {
        if (o.Has(DT_VCENTER))
            top = rect.Top + (rect.Height() - lh) / 2;
        else if (o.Has(DT_BOTTOM))
            top = rect.Bottom - lh;
    }
    if (o.Has(DT_CALCRECT)) {
        int widest = 0;
        for (const Line& l : lines)
            widest = std::max(widest, l.width);
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + n * lh;
        return n * lh;
    }

    PaintSpec spec;
    spec.clip = o.Has(DT_NOCLIP) ? nullptr : &rect;
    spec.opaqueCells = dc.S().bkMode == OPAQUE;
    spec.underlineOnly = o.Has(DT_PREFIXONLY);
    const bool showPrefix = !o.Has(DT_NOPREFIX) && !o.Has(DT_HIDEPREFIX);
    int y = top;
    for (int i = 0; i < n; ++i, y += lh) {
        // Like an edit control: a partly visible last line is left out.
        if (o.Has(DT_EDITCONTROL) && !o.Has(DT_SINGLELINE) && i > 0 && y + lh > rect.Bottom)
            break;
        const Line& l = lines[size_t(i)];
        int x = rect.Left;
        if (o.Has(DT_CENTER))
            x = rect.Left + (w - l.width) / 2;
        else if (o.Has(DT_RIGHT))
            x = rect.Right - l.width;
        spec.underlineFrom = showPrefix ? l.prefix : -1;
        spec.underlineTo = showPrefix && l.prefix >= 0 ? l.prefix + 1 : -1;
        if (spec.underlineOnly && spec.underlineFrom < 0)
            continue;
        TabSpec tabs{o.Has(DT_EXPANDTABS), {o.tabStep}, 0};
        PaintText(dc, x, y, l.text, UnitAdvances(dc, *FontMetricsOf(dc), l.text, tabs), spec);
    }
    return o.Has(DT_SINGLELINE) ? top - rect.Top + lh : n * lh;
}

int DrawText(Dc& dc, std::string_view text, TRect& rect, unsigned format, std::string* modified)
{
    std::u16string wideModified;
    const int result = DrawText(dc, rtl::Utf8ToUtf16(text), rect, format, modified ? &wideModified : nullptr);
    if (modified && (format & DT_MODIFYSTRING))
        *modified = rtl::Utf16ToUtf8(wideModified);
    return result;
}

} // namespace gdi
