// Text rows layout and text output on the fake font: 16 pixels high (ascent 12, external leading
// 2), unit width 8, 'i' and '.' 4, full-width characters 16; a glyph is a box from its cell's
// column 1 to its last column but one and from row 1 to row 11.
#include "platform/gdi/Text.h"
#include "toolkit/core/cxDrawTextUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace gdi;

namespace {

constexpr std::uint32_t kBack = 0xFF123456;
constexpr COLORREF kInk = 0x0000FF;

struct DrawTextFixture : ::testing::Test {
    Surface surface{200, 120};
    Dc dc{&surface};
    void SetUp() override
    {
        SetFontEngine(MakeFakeFontEngine());
        surface.Fill(kBack);
        Font f;
        f.lf.lfHeight = -16;
        SelectFont(dc, f);
        SetTextColor(dc, kInk);
    }
    void TearDown() override { SetFontEngine(nullptr); }

    std::uint32_t At(int x, int y) const { return surface.Pixel(x, y); }
    bool Ink(int x, int y, COLORREF c = kInk) const { return At(x, y) == ColorToPixel(c); }
    // [left, right) of the glyph cells on glyph row 5 of the row whose cell starts at top.
    std::pair<int, int> Cells(int top, COLORREF c = kInk) const
    {
        int first = -1, last = -1;
        for (int x = 0; x < surface.Width(); ++x)
            if (Ink(x, top + 5, c)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return first < 0 ? std::pair{0, 0} : std::pair{first - 1, last + 2};
    }

    struct Laid {
        std::vector<std::u16string> rows;
        std::vector<int> spaces;
        bool fitted;
    };
    Laid Rows(const std::u16string& text, int width, int height, unsigned format, int maxRows = 0)
    {
        TcxTextParams p = cxCalcTextParams(&dc, format);
        TcxTextRows rows;
        int n = -1;
        Laid out;
        out.fitted = cxMakeTextRows(&dc, text.data(), int(text.size()), {0, 0, width, height}, p, rows, n, maxRows);
        for (int i = 0; i < n; ++i) {
            PcxTextRow row = cxGetTextRow(rows, i);
            out.rows.emplace_back(row->Text, std::size_t(row->TextLength));
            out.spaces.push_back(row->SpaceCount);
        }
        return out;
    }
};

using Strings = std::vector<std::u16string>;

} // namespace

TEST_F(DrawTextFixture, TextParams)
{
    TcxTextParams p = cxCalcTextParams(
        &dc, cxMakeFormat(taCenterX, taBottom) | CXTO_EXTERNALLEADING | CXTO_END_ELLIPSIS | CXTO_PATTERNEDTEXT, 1.5);
    EXPECT_EQ(p.TextHeight, 16);
    EXPECT_EQ(p.ExternalLeading, 2);
    EXPECT_EQ(p.RowHeight, 27);
    EXPECT_EQ(p.EllipsisWidth, 12);
    EXPECT_EQ(p.AlignX, taCenterX);
    EXPECT_EQ(p.AlignY, taBottom);
    EXPECT_TRUE(p.EndEllipsis && p.UseExternalLeading);
    EXPECT_FALSE(p.DrawAsBars); // the font is readable
    EXPECT_TRUE(p.CharBreak);   // a Chinese system locale breaks long words by characters
    EXPECT_EQ(p.OnePixel, 1);
    EXPECT_EQ(cxCalcTextParams(&dc, CXTO_EXTERNALLEADING, 1.25).RowHeight, 22); // 22.5: halves to even

    Font tiny;
    tiny.lf.lfHeight = -4;
    SelectFont(dc, tiny);
    EXPECT_TRUE(cxCalcTextParams(&dc, CXTO_PATTERNEDTEXT).DrawAsBars);
}

TEST_F(DrawTextFixture, WordBreaksAndCharacterClasses)
{
    const std::u16string s = u"ab cd\u4E2D\u3002ef";
    const char16_t* b = s.data();
    const char16_t* e = b + s.size();
    EXPECT_EQ(cxGetNextWordBreak(0, b, e), b + 2);     // "ab"
    EXPECT_EQ(cxGetNextWordBreak(0, b + 2, e), b + 3); // the space alone
    EXPECT_EQ(cxGetNextWordBreak(0, b + 3, e), b + 5); // "cd" ends before the CJK character
    EXPECT_EQ(cxGetNextWordBreak(0, b + 5, e), b + 7); // CJK with its full stop
    EXPECT_EQ(cxGetNextWordBreak(0, b + 7, e), e);
    EXPECT_TRUE(cxGetIsWordDelimeter(0, u'\u3002'));
    EXPECT_TRUE(cxGetIsWordDelimeter(0, u')'));
    EXPECT_FALSE(cxGetIsWordDelimeter(0, u'a'));
}

TEST_F(DrawTextFixture, Rows)
{
    const unsigned wb = CXTO_WORDBREAK;
    struct Case {
        std::u16string text;
        int width, height;
        unsigned format;
        int maxRows;
        Strings rows;
        bool fitted;
    } cases[] = {
        {u"", 100, 100, wb, 0, {}, true},
        {u"Hello world", 40, 100, wb, 0, {u"Hello", u"world"}, true},       // the space is skipped
        {u"Hello world", 48, 100, wb, 0, {u"Hello ", u"world"}, true},      // it fits on the row
        {u"Hello world", 48, 100, wb | taRight, 0, {u"Hello", u"world"}, true}, // cut at a right edge
        {u"abcdefghij", 24, 100, wb, 0, {u"abc", u"def", u"ghi", u"j"}, true},
        {u"\u4E2D\u6587\u3002", 40, 100, wb, 0, {u"\u4E2D", u"\u6587\u3002"}, true},
        {u"a\r\nb", 100, 100, 0, 0, {u"a", u"b"}, true},
        {u"a\n\rb\n\nc", 100, 100, 0, 0, {u"a", u"b", u"", u"c"}, true},
        {u"1\n2\n3\n4\n5", 100, 100, 0, 2, {u"1", u"2"}, false},
        {u"1\n2\n3", 100, 40, 0, 0, {u"1", u"2", u"3"}, true},          // the third shows in part
        {u"1\n2\n3", 100, 40, CXTO_EDITCONTROL, 0, {u"1", u"2"}, false}, // an edit control hides it
        {u"aa   bb", 24, 100, wb, 0, {u"aa ", u" bb"}, true},
        {u"aa   bb", 24, 100, wb | CXTO_SKIPALLSPACESAFTERBREAK, 0, {u"aa ", u"bb"}, true},
        {u"Hello world", 50, 16, CXTO_SINGLELINE, 0, {u"Hello world"}, false}, // too wide
        {u"a\r\nb", 100, 16, CXTO_SINGLELINE, 0, {u"a"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row case " << (&c - cases));
        Laid laid = Rows(c.text, c.width, c.height, c.format, c.maxRows);
        EXPECT_EQ(laid.rows, c.rows);
        EXPECT_EQ(laid.fitted, c.fitted);
    }
}

TEST_F(DrawTextFixture, JustifiedRowsCountTheirSpaces)
{
    Laid justify = Rows(u"aa bb cc dd", 56, 100, cxMakeFormat(taJustifyX, taTop));
    EXPECT_EQ(justify.rows, (Strings{u"aa bb", u"cc dd"})); // the wrapped row loses its trailing space
    EXPECT_EQ(justify.spaces, (std::vector<int>{1, 0}));  // the last row is not justified
    Laid distribute = Rows(u"aa bb cc dd", 56, 100, cxMakeFormat(taDistributeX, taTop));
    EXPECT_EQ(distribute.spaces, (std::vector<int>{1, 1}));

    // Drawn justified: the free pixels go to the space, so "bb" ends at the right edge.
    TRect r{0, 0, 56, 100};
    cxTextOut(&dc, std::string("aa bb cc dd"), r, cxMakeFormat(taJustifyX, taTop));
    EXPECT_EQ(Cells(0), (std::pair{0, 56}));
    EXPECT_EQ(Cells(16), (std::pair{0, 40}));
}

TEST_F(DrawTextFixture, ManyRowsUseTheOverflowArray)
{
    std::u16string text;
    for (int i = 0; i < 33; ++i)
        text += i == 32 ? u"last" : u"x\n";
    TcxTextParams p = cxCalcTextParams(&dc, cxMakeFormat(taLeft, taBottom));
    TcxTextRows rows;
    int n = 0;
    EXPECT_TRUE(cxMakeTextRows(&dc, text.data(), int(text.size()), {0, 0, 100, 1000}, p, rows, n));
    EXPECT_EQ(n, 33);
    EXPECT_EQ(cxGetTextRowCount(rows), 33);
    EXPECT_EQ(rows.DynamicRows.size(), 5u); // grown to n - 28 entries
    EXPECT_EQ(std::u16string(cxGetTextRow(rows, 32)->Text, 4), u"last");
    EXPECT_EQ(cxGetTextRow(rows, 32)->TextStartOffset, 64);
    EXPECT_EQ(cxGetLongestTextRowWidth(rows, 33), 32);
    cxResetTextRows(rows);
    EXPECT_EQ(cxGetTextRowCount(rows), 0);
    EXPECT_TRUE(rows.DynamicRows.empty());
}

TEST_F(DrawTextFixture, Placement)
{
    auto place = [&](unsigned format, const std::u16string& text, TRect r) {
        TcxTextParams p = cxCalcTextParams(&dc, format);
        TcxTextRows rows;
        int n = 0;
        cxMakeTextRows(&dc, text.data(), int(text.size()), r, p, rows, n);
        cxPlaceTextRows(&dc, r, p, rows, n);
        std::vector<TPoint> origins;
        for (int i = 0; i < n; ++i)
            origins.push_back({cxGetTextRow(rows, i)->TextOriginX, cxGetTextRow(rows, i)->TextOriginY});
        return origins;
    };
    // Distributed: first row at the top, last row ending at the bottom, the spare pixel first.
    EXPECT_EQ(place(cxMakeFormat(taLeft, taDistributeY), u"a\nb\nc", {0, 0, 100, 101}),
              (std::vector<TPoint>{{0, 0}, {0, 43}, {0, 85}}));
    EXPECT_EQ(place(cxMakeFormat(taCenterX, taCenterY), u"ab\nabcd", {0, 0, 100, 100}),
              (std::vector<TPoint>{{42, 34}, {34, 50}}));
    EXPECT_EQ(place(cxMakeFormat(taRight, taBottom), u"ab", {0, 0, 100, 100}), (std::vector<TPoint>{{84, 84}}));
    // Rows never start left of or above the rectangle when asked.
    EXPECT_EQ(place(cxMakeFormat(taCenterX, taCenterY) | CXTO_SINGLELINE, u"abcdefghij", {10, 10, 30, 20}),
              (std::vector<TPoint>{{-18, 7}}));
    EXPECT_EQ(place(cxMakeFormat(taCenterX, taCenterY) | CXTO_SINGLELINE | CXTO_PREVENT_LEFT_EXCEED |
                        CXTO_PREVENT_TOP_EXCEED,
                    u"abcdefghij", {10, 10, 30, 20}),
              (std::vector<TPoint>{{10, 10}}));
}

TEST_F(DrawTextFixture, TextOutMeasuresAndCounts)
{
    TRect r{10, 10, 60, 60};
    EXPECT_EQ(cxTextOut(&dc, std::string(), r), 0);
    EXPECT_EQ(r, (TRect{10, 10, 60, 60}));

    // The calculated rectangle holds the rows plus margins and indents; nothing is drawn.
    r = {10, 10, 200, 100};
    cxTextOut(&dc, std::string("Hello world\nab"), r, CXTO_WORDBREAK | CXTO_CALCRECT | CXTO_AUTOINDENTS,
              nullptr, 0, 3, 5);
    EXPECT_EQ(r, (TRect{10, 10, 110, 46}));
    EXPECT_EQ(Cells(12), (std::pair{0, 0}));

    // It wraps as the drawing does.
    r = {0, 0, 48, 100};
    cxTextOut(&dc, std::string("Hello world"), r, CXTO_WORDBREAK | CXTO_CALCRECT);
    EXPECT_EQ(r, (TRect{0, 0, 48, 32}));

    r = {0, 0, 24, 100};
    EXPECT_EQ(cxTextOut(&dc, std::string("abcdefghij"), r, CXTO_WORDBREAK | CXTO_CALCROWCOUNT), 4);
    EXPECT_EQ(cxTextOut(&dc, std::string("abcdefghij"), r, CXTO_WORDBREAK), 64); // the height used
    EXPECT_EQ(Cells(48), (std::pair{0, 8}));

    // A rectangle that cannot hold text draws nothing.
    r = {0, 0, 0, 100};
    EXPECT_EQ(cxTextOut(&dc, std::string("abc"), r), 0);
}

TEST_F(DrawTextFixture, EndEllipsisAndClipping)
{
    TRect r{0, 0, 50, 16};
    cxTextOut(&dc, std::string("Hello world"), r, CXTO_SINGLELINE | CXTO_END_ELLIPSIS);
    EXPECT_EQ(Cells(0), (std::pair{0, 44})); // "Hell" and the dots fit the 50 pixels
    EXPECT_TRUE(Ink(33, 5));                  // first dot

    // Centred, text and ellipsis are centred together.
    surface.Fill(kBack);
    r = {0, 20, 50, 36};
    cxTextOut(&dc, std::string("Hello world"), r, cxMakeFormat(taCenterX, taTop) | CXTO_SINGLELINE | CXTO_END_ELLIPSIS);
    EXPECT_EQ(Cells(20), (std::pair{3, 47}));

    // Without an ellipsis the row is clipped to the rectangle.
    surface.Fill(kBack);
    r = {0, 40, 50, 56};
    cxTextOut(&dc, std::string("Hello world"), r, CXTO_SINGLELINE);
    EXPECT_EQ(Cells(40), (std::pair{0, 51}));
    EXPECT_FALSE(Ink(50, 45));
    surface.Fill(kBack);
    cxTextOut(&dc, std::string("Hello world"), r, CXTO_SINGLELINE | CXTO_NOCLIP);
    EXPECT_EQ(Cells(40), (std::pair{0, 88}));
}

TEST_F(DrawTextFixture, SelectionPaintsItsOwnColours)
{
    const COLORREF green = 0x00FF00, blue = 0xFF0000;
    TRect r{0, 0, 100, 16};
    cxTextOut(&dc, std::string("abcdef"), r, CXTO_SINGLELINE, 2, 3, nullptr, TColor(green), TColor(blue));
    EXPECT_EQ(Cells(0, kInk), (std::pair{0, 48}));
    EXPECT_TRUE(Ink(17, 5, blue) && Ink(38, 5, blue)); // c .. e
    EXPECT_TRUE(Ink(14, 5) && Ink(41, 5));             // b and f keep the text colour
    EXPECT_TRUE(Ink(16, 14, green) && Ink(39, 14, green) && Ink(16, 0, green));
    EXPECT_EQ(At(15, 14), kBack);
    EXPECT_EQ(At(40, 14), kBack);

    // A start past the end selects nothing.
    surface.Fill(kBack);
    cxTextOut(&dc, std::string("abcdef"), r, CXTO_SINGLELINE, 6, 3, nullptr, TColor(green), TColor(blue));
    EXPECT_EQ(At(17, 14), kBack);
    EXPECT_TRUE(Ink(17, 5));
}

TEST_F(DrawTextFixture, FontColourPrefixesAndBars)
{
    TFont font;
    font.SetHeight(-16);
    font.SetColor(TColor(0x00FF00));
    TRect r{0, 0, 100, 16};
    cxTextOut(&dc, std::string("ab"), r, CXTO_SINGLELINE, &font);
    EXPECT_TRUE(Ink(3, 5, 0x00FF00));
    EXPECT_EQ(GetTextColor(dc), kInk); // the text colour comes back
    cxTextOut(&dc, std::string("ab"), r, CXTO_SINGLELINE, &font, 0, 0, 0, TColor(0xFF0000));
    EXPECT_TRUE(Ink(3, 5, 0xFF0000)); // a text colour overrides the font's

    // Prefixes removed: nothing is left of "&", and the DC is as it was.
    const Font before = dc.S().font;
    EXPECT_EQ(cxTextOut(&dc, std::string("&"), r, CXTO_HIDEPREFIX, &font), 0);
    EXPECT_EQ(dc.S().font, before);
    EXPECT_EQ(GetTextColor(dc), kInk);
    surface.Fill(kBack);
    r = {0, 0, 100, 16};
    cxTextOut(&dc, std::string("a&&&b"), r, CXTO_HIDEPREFIX);
    EXPECT_EQ(Cells(0), (std::pair{0, 24})); // "a&b"

    // A font under 6 pixels draws bars: a checker in the text colour and window white.
    surface.Fill(kBack);
    Font tiny;
    tiny.lf.lfHeight = -4;
    SelectFont(dc, tiny);
    r = {0, 0, 100, 4};
    cxTextOut(&dc, std::string("abcd"), r, CXTO_PATTERNEDTEXT);
    EXPECT_EQ(At(0, 0), kBack); // the bar leaves a pixel at the top and bottom
    EXPECT_NE(At(0, 1), kBack);
    EXPECT_NE(At(0, 1), At(1, 1));
    EXPECT_EQ(At(8, 1), kBack); // four characters of width 2
}

TEST_F(DrawTextFixture, RotatedTextRunsUpOrDown)
{
    TFont font;
    font.SetHeight(-16);
    font.SetColor(TColor(kInk));
    // Bottom to top, left-aligned along the column: the text starts at the rectangle's bottom.
    cxRotatedTextOut(&dc, {0, 0, 40, 100}, std::string("ab"), &font, taLeft, taTop, false, false, false,
                     vtdBottomToTop);
    int inkTop = 1000, inkBottom = -1, inkLeft = 1000;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x)
            if (Ink(x, y)) {
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
                inkLeft = std::min(inkLeft, x);
            }
    EXPECT_EQ(inkBottom, 96); // the rectangle shrunk by 2, the glyph box inset by one
    EXPECT_EQ(inkTop, 98 - 15);
    EXPECT_EQ(inkLeft, 3);
    EXPECT_EQ(GetTextAlign(dc), 0u);
    EXPECT_EQ(dc.S().font.lf.lfEscapement, 0);
}
