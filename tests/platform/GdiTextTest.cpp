// Text of the software GDI on the fake font: 16 pixels high (ascent 12), unit width 8, 'i' and
// '.' 4, full-width characters 16; a glyph is a box from its cell's column 1 to its last
// column but one and from row 1 to row 11.
#include "platform/gdi/Draw.h"
#include "platform/gdi/Text.h"
#include "platform/vcl/Graphics.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace gdi;

namespace {

constexpr std::uint32_t kBack = 0xFF123456;
constexpr COLORREF kInk = 0x0000FF;   // red
constexpr COLORREF kPaper = 0x00FF00; // green

struct TextCanvas : ::testing::Test {
    Surface surface{200, 100};
    Dc dc{&surface};
    void SetUp() override
    {
        SetFontEngine(MakeFakeFontEngine());
        surface.Fill(kBack);
        Font f;
        f.lf.lfHeight = -16;
        SelectFont(dc, f);
        SetTextColor(dc, kInk);
        SetBkColor(dc, kPaper);
        SetBkMode(dc, TRANSPARENT);
    }
    void TearDown() override { SetFontEngine(nullptr); }

    bool Ink(int x, int y) const { return surface.Pixel(x, y) == ColorToPixel(kInk); }
    // The cells of the ink on glyph row 5 of the line whose cell starts at top: [left, right),
    // or (0, 0) for no ink. A glyph's box leaves one column on the left and one on the right.
    std::pair<int, int> Cells(int top) const
    {
        int first = -1, last = -1;
        for (int x = 0; x < surface.Width(); ++x)
            if (Ink(x, top + 5)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return first < 0 ? std::pair{0, 0} : std::pair{first - 1, last + 2};
    }
    int Draw(const std::string& text, TRect r, unsigned format)
    {
        return DrawText(dc, text, r, format);
    }
    TRect Calc(const std::string& text, TRect r, unsigned format)
    {
        DrawText(dc, text, r, format | DT_CALCRECT);
        return r;
    }
};

} // namespace

TEST_F(TextCanvas, MetricsAndExtents)
{
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(dc, tm));
    EXPECT_EQ(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmAscent, 12);
    EXPECT_EQ(tm.tmExternalLeading, 2);
    EXPECT_EQ(tm.tmAveCharWidth, 8);

    TSize s;
    GetTextExtentPoint32(dc, "Hello", s);
    EXPECT_EQ(s, (TSize{40, 16}));
    GetTextExtentPoint32(dc, u"il.\u4E2D", s);
    EXPECT_EQ(s.cx, 32);
    GetTextExtentPoint32(dc, "中文", s); // UTF-8 measures the same characters
    EXPECT_EQ(s.cx, 32);

    // Fit counts: in characters for UTF-16, in whole characters' bytes for UTF-8.
    int fit = -1;
    std::vector<int> widths;
    GetTextExtentExPoint(dc, u"a\u4E2Db", 24, &fit, &widths, s);
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(widths, (std::vector<int>{8, 24, 32}));
    GetTextExtentExPoint(dc, "a中b", 23, &fit, &widths, s);
    EXPECT_EQ(fit, 1);
    GetTextExtentExPoint(dc, "a中b", 24, &fit, &widths, s);
    EXPECT_EQ(fit, 4);
    EXPECT_EQ(widths, (std::vector<int>{8, 24, 24, 24, 32}));

    // Justification spreads pixels over the spaces, the first taking the remainder.
    SetTextJustification(dc, 5, 2);
    GetTextExtentExPoint(dc, u"a b c", 1000, nullptr, &widths, s);
    EXPECT_EQ(widths, (std::vector<int>{8, 19, 27, 37, 45}));
    SetTextJustification(dc, 0, 0);
    GetTextExtentPoint32(dc, "a b c", s);
    EXPECT_EQ(s.cx, 40);
}

TEST_F(TextCanvas, WordBreakCharacterBreakAndLineEnds)
{
    struct Case {
        const char* text;
        int width;
        unsigned format;
        TRect calc;
    } cases[] = {
        {"Hello world", 48, DT_WORDBREAK, {0, 0, 40, 32}},
        {"Hello world", 88, DT_WORDBREAK, {0, 0, 88, 16}},
        {"Hello   world", 48, DT_WORDBREAK, {0, 0, 40, 32}}, // all spaces at a break go
        {"abcdefghij", 24, DT_WORDBREAK, {0, 0, 76, 16}},   // an over-long word overflows whole
        {"abcdefghij", 24, DT_WORDBREAK | DT_EDITCONTROL, {0, 0, 24, 64}},
        {"ab cdefghij", 24, DT_WORDBREAK | DT_EDITCONTROL, {0, 0, 24, 64}},
        {"中文字。", 40, DT_WORDBREAK, {0, 0, 32, 32}}, // 。stays with 字
        {"中文字。", 40, DT_WORDBREAK | DT_NOFULLWIDTHCHARBREAK, {0, 0, 64, 16}},
        {"a\r\nb\nc", 100, 0, {0, 0, 8, 48}},
        {"a\r\n", 100, 0, {0, 0, 8, 16}},
        {"a\r\nb", 100, DT_SINGLELINE, {0, 0, 32, 16}},
        {"a\r\n\r\nb", 100, DT_EXTERNALLEADING, {0, 0, 8, 54}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Calc(c.text, {0, 0, c.width, 10}, c.format), c.calc);
    }

    // Drawn: the rows of "Hello world" are "Hello" and "world", each from the left edge.
    EXPECT_EQ(Draw("Hello world", {0, 0, 48, 100}, DT_WORDBREAK), 32);
    EXPECT_EQ(Cells(0), (std::pair{0, 40}));
    EXPECT_EQ(Cells(16), (std::pair{0, 40}));
    EXPECT_EQ(Cells(32), (std::pair{0, 0}));

    // Character break: rows of three characters and a last one, right-aligned.
    surface.Fill(kBack);
    Draw("abcdefghij", {0, 0, 24, 100}, DT_WORDBREAK | DT_EDITCONTROL | DT_RIGHT);
    EXPECT_EQ(Cells(0), (std::pair{0, 24}));
    EXPECT_EQ(Cells(48), (std::pair{16, 24}));
}

TEST_F(TextCanvas, Ellipses)
{
    struct Case {
        const char* text;
        int width;
        unsigned format;
        const char* shown;
        int calcWidth;
    } cases[] = {
        {"Hello world", 50, DT_END_ELLIPSIS, "Hell...", 44},
        {"Hello", 40, DT_END_ELLIPSIS, "Hello", 40}, // fits: unchanged
        {"Hello", 10, DT_END_ELLIPSIS, "...", 12},   // not even one character fits
        {"ab\\cd\\ef", 48, DT_PATH_ELLIPSIS, "a...\\ef", 44},
        {"ab\\cd\\ef", 64, DT_PATH_ELLIPSIS, "ab\\cd\\ef", 64},
        {"ab\\cdefgh", 40, DT_PATH_ELLIPSIS, "...\\c...", 40}, // the last part is cut as well
        {"abcdefgh", 40, DT_PATH_ELLIPSIS, "abc...", 36},         // no separator: end ellipsis
        {"Hello world", 50, DT_WORD_ELLIPSIS, "Hell...", 44},
        {"&Hello", 50, DT_END_ELLIPSIS, "Hello", 40}, // the prefix is gone before measuring
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TRect r{0, 0, c.width, 16};
        std::string shown;
        DrawText(dc, c.text, r, c.format | DT_SINGLELINE | DT_MODIFYSTRING | DT_CALCRECT, &shown);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(r.Width(), c.calcWidth);
    }
    // Drawn with the ellipsis: "Hell" then three narrow dots, nothing past the rectangle.
    Draw("Hello world", {0, 0, 50, 16}, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(Cells(0), (std::pair{0, 44}));
}

TEST_F(TextCanvas, PrefixesAreUnderlinedHiddenOrDoubled)
{
    const int underline = 13; // ascent + 1
    TRect r{0, 0, 100, 16};
    EXPECT_EQ(Calc("A&&B", r, 0).Width(), 24);
    EXPECT_EQ(Calc("A&&B", r, DT_NOPREFIX).Width(), 32);
    EXPECT_EQ(Calc("&File", r, 0).Width(), 28);
    EXPECT_EQ(Calc("File&", r, 0).Width(), 28); // a lone "&" at the end shows nothing

    Draw("x&File", r, 0); // the F under (8..16) is underlined, nothing else
    EXPECT_TRUE(Ink(8, underline) && Ink(15, underline));
    EXPECT_FALSE(Ink(7, underline) || Ink(16, underline));

    surface.Fill(kBack);
    Draw("x&File", r, DT_HIDEPREFIX);
    EXPECT_FALSE(Ink(10, underline));
    EXPECT_EQ(Cells(0), (std::pair{0, 36}));

    surface.Fill(kBack);
    Draw("x&File", r, DT_PREFIXONLY);
    EXPECT_TRUE(Ink(10, underline));
    EXPECT_EQ(Cells(0), (std::pair{0, 0})); // no glyphs

    surface.Fill(kBack);
    Draw("A&&B", r, 0);
    EXPECT_FALSE(Ink(12, underline));
}

TEST_F(TextCanvas, SingleLinePlacementAndResult)
{
    // Centred both ways in (0, 0, 100, 40): cell at ((100 - 16) / 2, (40 - 16) / 2).
    EXPECT_EQ(Draw("ab", {0, 0, 100, 40}, DT_SINGLELINE | DT_CENTER | DT_VCENTER), 28);
    EXPECT_EQ(Cells(12), (std::pair{42, 58}));
    EXPECT_FALSE(Ink(45, 12));
    EXPECT_TRUE(Ink(45, 13));

    surface.Fill(kBack);
    EXPECT_EQ(Draw("ab", {0, 0, 100, 40}, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM), 40);
    EXPECT_EQ(Cells(24), (std::pair{84, 100}));

    // Vertical placement is a single-line matter; several lines start at the top.
    surface.Fill(kBack);
    EXPECT_EQ(Draw("a\nb", {0, 0, 100, 60}, DT_VCENTER), 32);
    EXPECT_EQ(Cells(0), (std::pair{0, 8}));

    // An empty text draws nothing and returns 0; its calculated rectangle is empty.
    TRect r{5, 6, 50, 60};
    EXPECT_EQ(DrawText(dc, "", r, DT_CALCRECT), 0);
    EXPECT_EQ(r, (TRect{5, 6, 5, 6}));
}

TEST_F(TextCanvas, Tabs)
{
    TRect r{0, 0, 200, 16};
    EXPECT_EQ(Calc("a\tb", r, DT_EXPANDTABS).Width(), 72); // stops every 8 average widths
    EXPECT_EQ(Calc("a\tb", r, 0).Width(), 24); // unexpanded, a tab is a character
    // DT_TABSTOP: the second byte is the tab size in characters (and no longer flags).
    Draw("a\tb", r, DT_EXPANDTABS | DT_TABSTOP | (4 << 8));
    EXPECT_EQ(Cells(0), (std::pair{0, 40}));
    EXPECT_FALSE(Ink(20, 5));
    surface.Fill(kBack);

    EXPECT_EQ(GetTabbedTextExtent(dc, "a\tb", {20}), (TSize{28, 16}));
    EXPECT_EQ(GetTabbedTextExtent(dc, "a\tb\tc", {10, 30}), (TSize{38, 16}));
    // Stops count from the tab origin: from x = 10 with origin 0, "a" ends at 18, the tab at 20.
    EXPECT_EQ(TabbedTextOut(dc, 10, 0, "a\tb", {20}, 0), (TSize{18, 16}));
    EXPECT_EQ(Cells(0), (std::pair{10, 28}));
    EXPECT_FALSE(Ink(19, 5)); // the tab leaves no ink
}

TEST_F(TextCanvas, ClippingToTheRectangleAndTheRegion)
{
    Draw("abcdefgh", {10, 0, 30, 16}, DT_SINGLELINE);
    EXPECT_EQ(Cells(0), (std::pair{10, 31})); // ink stops at the rectangle's right edge
    EXPECT_FALSE(Ink(30, 5));

    surface.Fill(kBack);
    Draw("abcdefgh", {10, 0, 30, 16}, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(Cells(0), (std::pair{10, 74}));

    // The DC's clip region limits every text call.
    surface.Fill(kBack);
    Region clip(TRect{0, 0, 20, 100});
    SelectClipRgn(dc, &clip);
    TextOut(dc, 0, 0, "abcdefgh");
    EXPECT_TRUE(Ink(17, 5));
    EXPECT_FALSE(Ink(20, 5));
    SelectClipRgn(dc, nullptr);

    // An edit-control layout leaves a partly visible last line out.
    surface.Fill(kBack);
    Draw("a\nb\nc", {0, 0, 50, 40}, DT_EDITCONTROL);
    EXPECT_EQ(Cells(16), (std::pair{0, 8}));
    EXPECT_EQ(Cells(32), (std::pair{0, 0}));
}

TEST_F(TextCanvas, GlyphsInTextColourOverTransparentOrOpaqueBackground)
{
    // Transparent: only the glyph boxes change.
    TextOut(dc, 2, 3, "A");
    EXPECT_TRUE(Ink(3, 4));
    EXPECT_TRUE(Ink(8, 14));
    EXPECT_EQ(surface.Pixel(2, 3), kBack);  // the cell's corner keeps the background
    EXPECT_EQ(surface.Pixel(9, 4), kBack);
    EXPECT_EQ(surface.Pixel(3, 15), kBack); // below the baseline
    EXPECT_EQ(surface.Pixel(3, 4) >> 24, 0u); // ordinary drawing writes 0 in the top byte

    // Opaque: the whole cell takes the background colour first.
    surface.Fill(kBack);
    SetBkMode(dc, OPAQUE);
    TextOut(dc, 2, 3, "A");
    EXPECT_EQ(surface.Pixel(2, 3), ColorToPixel(kPaper));
    EXPECT_EQ(surface.Pixel(9, 18), ColorToPixel(kPaper));
    EXPECT_EQ(surface.Pixel(10, 3), kBack);
    EXPECT_TRUE(Ink(5, 8));

    // ETO_OPAQUE fills the rectangle, ETO_CLIPPED keeps everything inside it.
    surface.Fill(kBack);
    SetBkMode(dc, TRANSPARENT);
    const TRect box{0, 0, 12, 10};
    ExtTextOut(dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &box, u"AB", nullptr);
    EXPECT_EQ(surface.Pixel(0, 0), ColorToPixel(kPaper));
    EXPECT_EQ(surface.Pixel(11, 9), ColorToPixel(kInk));
    EXPECT_EQ(surface.Pixel(11, 0), ColorToPixel(kPaper));
    EXPECT_TRUE(Ink(10, 5));
    EXPECT_EQ(surface.Pixel(12, 5), kBack);
    EXPECT_EQ(surface.Pixel(5, 10), kBack);

    // Alignment places the reference point; logical coordinates follow the window origin.
    surface.Fill(kBack);
    SetTextAlign(dc, TA_RIGHT | TA_BASELINE);
    SetWindowOrgEx(dc, -10, 0);
    TextOut(dc, 40, 30, "ab");
    EXPECT_EQ(Cells(18), (std::pair{34, 50}));
}

TEST_F(TextCanvas, EscapementTurnsTheText)
{
    Font f = dc.S().font;
    f.lf.lfEscapement = 900; // bottom to top
    SelectFont(dc, f);
    TextOut(dc, 20, 50, "ab");
    // Text-frame pixel (u, v) lands at (20 + v, 50 - u - 1): "a"'s box at u 1..6, v 1..11.
    EXPECT_TRUE(Ink(21, 48));
    EXPECT_TRUE(Ink(31, 43));
    EXPECT_FALSE(Ink(20, 48));
    EXPECT_FALSE(Ink(21, 50));
    EXPECT_TRUE(Ink(25, 50 - 9 - 1)); // "b" starts at u = 8

    surface.Fill(kBack);
    f.lf.lfEscapement = -900; // top to bottom: (u, v) lands at (20 - v - 1, 50 + u)
    SelectFont(dc, f);
    TextOut(dc, 20, 50, "ab");
    EXPECT_TRUE(Ink(18, 51));
    EXPECT_FALSE(Ink(20, 51));
}

TEST_F(TextCanvas, ComponentCanvasText)
{
    TBitmap bitmap;
    bitmap.SetSize(60, 20);
    TCanvas* c = bitmap.Canvas();
    c->Font()->SetHeight(-16);
    c->Font()->SetColor(TColor(kInk));
    c->Brush()->SetColor(TColor(kPaper));
    EXPECT_EQ(c->TextWidth("ab"), 16);
    EXPECT_EQ(c->TextHeight("ab"), 16);
    c->TextOut(2, 2, "a"); // a solid brush: opaque cells in the brush colour
    EXPECT_EQ(bitmap.ScanLine(2)[2], ColorToPixel(kPaper));
    EXPECT_EQ(bitmap.ScanLine(7)[5], ColorToPixel(kInk));
    // TextRect fills the rectangle and clips to it.
    c->TextRect({20, 0, 30, 10}, 20, 0, "ab");
    EXPECT_EQ(bitmap.ScanLine(0)[20], ColorToPixel(kPaper));
    EXPECT_EQ(bitmap.ScanLine(5)[25], ColorToPixel(kInk));
    EXPECT_EQ(bitmap.ScanLine(5)[29], ColorToPixel(kInk));
    EXPECT_NE(bitmap.ScanLine(5)[30], ColorToPixel(kInk));
    EXPECT_NE(bitmap.ScanLine(10)[22], ColorToPixel(kPaper));
}

namespace {

// Exits 0 when Qt's fonts measure and draw.
[[noreturn]] void MeasureAndDrawWithQt()
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    SetFontEngine(MakeQtFontEngine());
    Surface s(100, 40);
    s.Fill(0xFFFFFFFF);
    Dc dc(&s);
    TEXTMETRIC tm;
    GetTextMetrics(dc, tm);
    TSize size;
    GetTextExtentPoint32(dc, "Wg中", size);
    TextOut(dc, 2, 2, "Wg中");
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            ink += s.Pixel(x, y) == 0 ? 1 : 0;
    const bool ok = tm.tmHeight > 8 && size.cx > 10 && size.cy == tm.tmHeight && ink > 10;
    std::exit(ok ? 0 : 1);
}

} // namespace

TEST(GdiTextQt, QtFontsMeasureAndDrawUnderAGuiApplication)
{
    // Run apart, so that the application object does not reach the other tests.
    EXPECT_EXIT(MeasureAndDrawWithQt(), ::testing::ExitedWithCode(0), "");
}
