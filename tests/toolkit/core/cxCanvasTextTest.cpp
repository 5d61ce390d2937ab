// The canvas's text operations and the text measuring procedures on the fake font: 16 pixels
// high, unit width 8 ('i' and '.' 4); a glyph is a box from its cell's column 1 to its last
// column but one and from row 1 to row 11.
#include "platform/gdi/Text.h"
#include "toolkit/core/cxGraphics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace gdi;

namespace {

constexpr TColor kBack = 0x123456;
constexpr TColor kInk = 0x0000FF;

std::uint32_t Px(TColor c) { return ColorToPixel(ColorToRef(c)); }

struct CanvasText : ::testing::Test {
    TBitmap bitmap;
    std::unique_ptr<TcxCanvas> canvas;
    void SetUp() override
    {
        SetFontEngine(MakeFakeFontEngine());
        bitmap.SetSize(200, 120);
        canvas = std::make_unique<TcxCanvas>(bitmap.Canvas());
        Clear();
        canvas->GetFont()->SetHeight(-16);
        canvas->GetFont()->SetColor(kInk);
        canvas->GetBrush()->SetStyle(bsClear);
    }
    void TearDown() override { SetFontEngine(nullptr); }
    void Clear()
    {
        bitmap.Canvas()->Brush()->SetStyle(bsSolid);
        bitmap.Canvas()->Brush()->SetColor(kBack);
        bitmap.Canvas()->FillRect({0, 0, 200, 120});
        bitmap.Canvas()->Brush()->SetStyle(bsClear);
    }
    std::uint32_t At(int x, int y) { return bitmap.ScanLine(y)[x]; }
    bool Ink(int x, int y, TColor c = kInk) { return At(x, y) == Px(c); }
    std::pair<int, int> Cells(int top, TColor c = kInk)
    {
        int first = -1, last = -1;
        for (int x = 0; x < 200; ++x)
            if (Ink(x, top + 5, c)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        return first < 0 ? std::pair{0, 0} : std::pair{first - 1, last + 2};
    }
};

} // namespace

TEST(CanvasTextFlags, ConvertToDrawTextFlags)
{
    struct Case {
        int flags;
        unsigned dt;
    } cases[] = {
        {cxtfLeft | cxtfTop, DT_NOPREFIX},
        {cxtfRight | cxtfVCenter | cxtfSingleLine, DT_NOPREFIX | DT_RIGHT | DT_VCENTER | DT_SINGLELINE},
        {cxtfHCenter | cxtfBottom | cxtfNoClip | cxtfExpandTabs,
         DT_NOPREFIX | DT_CENTER | DT_BOTTOM | DT_NOCLIP | DT_EXPANDTABS},
        {cxtfShowPrefix | cxtfEndEllipsis | cxtfPathEllipsis | cxtfCalcRect,
         DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_CALCRECT},
        {cxtfWordBreak, DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL},
        {cxtfWordBreak | cxtfNoCharBreak, DT_NOPREFIX | DT_WORDBREAK},
        {cxtfWordBreak | cxtfNoCharBreak | cxtfNoFullWidthCharBreak,
         DT_NOPREFIX | DT_WORDBREAK | DT_NOFULLWIDTHCHARBREAK},
        {cxtfNoCharBreak | cxtfNoFullWidthCharBreak, DT_NOPREFIX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cxFlagsToDTFlags(c.flags), c.dt) << std::hex << c.flags;
    EXPECT_EQ(cxAlignmentsHorz[taCenter], cxtfHCenter);
    EXPECT_EQ(cxAlignmentsVert[cx::vaBottom], cxtfBottom);
    EXPECT_EQ(SystemAlignmentsVert[cx::vaCenter], DT_VCENTER);
}

TEST_F(CanvasText, ExtentsAndFontHeight)
{
    EXPECT_EQ(canvas->TextExtent("Hello"), (TSize{40, 16}));
    EXPECT_EQ(canvas->TextWidth("中文"), 32);
    EXPECT_EQ(canvas->TextHeight(""), 16);
    TFont big;
    big.SetHeight(-20);
    EXPECT_EQ(canvas->FontHeight(&big), 20);
    EXPECT_EQ(canvas->GetFont()->GetHeight(), -20); // the font stays assigned
}

TEST_F(CanvasText, TextExtentInARectangle)
{
    TRect r{10, 10, 58, 100};
    canvas->TextExtent("Hello world", r, cxtfWordBreak);
    EXPECT_EQ(r, (TRect{10, 10, 50, 42}));
    r = {10, 10, 58, 100};
    canvas->TextExtent("Hello world", r, cxtfWordBreak | cxtfHCenter | cxtfVCenter);
    EXPECT_EQ(r, (TRect{14, 39, 54, 71}));
    r = {10, 10, 58, 100};
    canvas->TextExtent("ab", r, cxtfSingleLine | cxtfRight | cxtfBottom);
    EXPECT_EQ(r, (TRect{42, 84, 58, 100}));
    // No width: measured from one pixel; an empty text collapses to the top-left point.
    r = {5, 5, 5, 5};
    canvas->TextExtent("ab", r, cxtfSingleLine);
    EXPECT_EQ(r, (TRect{5, 5, 21, 21}));
    r = {5, 5, 50, 50};
    canvas->TextExtent("", r, 0);
    EXPECT_EQ(r, (TRect{5, 5, 5, 5}));
}

TEST_F(CanvasText, AlignMultiLineTextRectVertically)
{
    struct Case {
        cx::TcxAlignmentVert align;
        bool enabled;
        int top;
    } cases[] = {{cx::vaTop, true, 0}, {cx::vaBottom, true, 68}, {cx::vaCenter, true, 34}, {cx::vaBottom, false, 67}};
    for (const Case& c : cases) {
        TRect r{0, 0, 48, 100};
        canvas->AlignMultiLineTextRectVertically(r, "Hello world", c.align, true, false, c.enabled);
        EXPECT_EQ(r, (TRect{0, c.top, 48, 100})) << c.align << c.enabled;
    }
}

TEST_F(CanvasText, DrawTexTSingleLineEnabledAndDisabled)
{
    canvas->DrawTexT("", {0, 0, 100, 16}, cxtfSingleLine, true);
    EXPECT_EQ(Cells(0), (std::pair{0, 0}));

    canvas->DrawTexT("ab", {0, 0, 100, 16}, cxtfSingleLine | cxtfRight, true);
    EXPECT_EQ(Cells(0), (std::pair{84, 100}));

    // Disabled: one pixel further left, first in the highlight one pixel down-right, then in
    // the shadow colour; the font colour comes back.
    Clear();
    canvas->DrawTexT("ab", {0, 0, 100, 16}, cxtfSingleLine | cxtfRight, false);
    EXPECT_TRUE(Ink(84, 5, clBtnShadow));
    EXPECT_TRUE(Ink(90, 5, clBtnHighlight));
    EXPECT_TRUE(Ink(98, 12, clBtnHighlight));
    EXPECT_EQ(At(99, 5), Px(kBack));
    EXPECT_EQ(canvas->GetFont()->GetColor(), kInk);
    EXPECT_EQ(canvas->GetBrush()->GetStyle(), bsClear);

    // The alignment form centres both ways.
    Clear();
    canvas->DrawTexT("ab", {0, 0, 100, 40}, taCenter, cx::vaCenter, false, false);
    EXPECT_EQ(Cells(12), (std::pair{42, 58}));

    // A text wider than the rectangle is clipped to it.
    Clear();
    canvas->DrawTexT("abcdefgh", {0, 0, 20, 16}, cxtfSingleLine, true);
    EXPECT_TRUE(Ink(17, 5));
    EXPECT_FALSE(Ink(20, 5));
}

TEST_F(CanvasText, DrawTexTMultiLineAndPrefix)
{
    canvas->DrawTexT("Hello world", {0, 0, 48, 100}, cxtfWordBreak | cxtfVCenter, true);
    EXPECT_EQ(Cells(34), (std::pair{0, 40}));
    EXPECT_EQ(Cells(50), (std::pair{0, 40}));

    Clear();
    canvas->DrawTexT("&Go", {0, 0, 100, 16}, cxtfSingleLine | cxtfShowPrefix, true);
    EXPECT_EQ(Cells(0), (std::pair{0, 16}));
    EXPECT_TRUE(Ink(3, 13)); // the underline of G

    Clear();
    canvas->DrawTexT("Hello world", {0, 0, 50, 16}, cxtfSingleLine | cxtfEndEllipsis, true);
    EXPECT_EQ(Cells(0), (std::pair{0, 44}));
}

TEST_F(CanvasText, GetTextStringsBounds)
{
    TRectArray bounds{{1, 2, 3, 4}};
    canvas->GetTextStringsBounds("Hello world foo", {0, 0, 60, 100}, cxtfLeft, true, bounds);
    EXPECT_EQ(bounds, (TRectArray{{1, 2, 3, 4}, {0, 0, 48, 16}, {0, 16, 48, 32}, {0, 32, 24, 48}}));

    bounds.clear();
    canvas->GetTextStringsBounds("Hello world foo", {0, 0, 60, 100}, cxtfRight, true, bounds);
    EXPECT_EQ(bounds, (TRectArray{{20, 0, 60, 16}, {20, 16, 60, 32}, {36, 32, 60, 48}}));

    bounds.clear();
    canvas->GetTextStringsBounds("&ab\r\ncd", {0, 0, 60, 100}, cxtfLeft | cxtfShowPrefix, true, bounds);
    EXPECT_EQ(bounds, (TRectArray{{0, 0, 16, 16}, {0, 16, 16, 32}}));

    // Every line takes at least one character, however narrow the rectangle.
    bounds.clear();
    canvas->GetTextStringsBounds("abc", {0, 0, 4, 100}, cxtfLeft, true, bounds);
    EXPECT_EQ(bounds.size(), 3u);

    bounds.clear();
    canvas->GetTextStringsBounds("ab", {0, 0, 60, 100}, cxtfLeft | cxtfBottom, true, bounds);
    EXPECT_EQ(bounds, (TRectArray{{0, 84, 16, 100}}));
}

TEST_F(CanvasText, MeasuringProcedures)
{
    HDC dc = canvas->GetHandle();
    bitmap.Canvas()->RequiredState();
    TSize size;
    EXPECT_TRUE(cxGetTextExtentPoint32(dc, "Hello", size, 2));
    EXPECT_EQ(size, (TSize{16, 16}));
    EXPECT_EQ(cxTextSize(dc, "abc"), (TSize{24, 16}));

    // The narrowest rectangle for a number of rows; a single word has one width.
    EXPECT_EQ(cxGetTextRect(dc, "Hello", 1), (TRect{0, 0, 40, 16}));
    EXPECT_EQ(cxGetTextRect(dc, "Hello", 3), (TRect{0, 0, 40, 16}));
    EXPECT_EQ(cxGetTextRect(dc, "aa bb cc", 2), (TRect{0, 0, 40, 32}));
    EXPECT_EQ(cxGetTextRect(dc, "aa bb cc", 2, true), (TRect{0, 0, 40, 32}));
    EXPECT_EQ(cxGetTextRect(dc, "aa bb cc", 0).Right, 16);

    TFont font;
    font.SetHeight(-16);
    EXPECT_EQ(cxTextExtent(&font, "ab"), (TSize{16, 16}));
    EXPECT_EQ(cxTextWidth(&font, "ab", 15), 20); // 15 pt at 96 dpi is 20 pixels
    EXPECT_EQ(cxGetTextRect(&font, "ab", 1), (TRect{0, 0, 16, 16}));
    EXPECT_EQ(cxGetStringAdjustedToWidth(&font, "Hello world", 50, mstEndEllipsis), "Hell...");
    EXPECT_EQ(cxGetStringAdjustedToWidth(&font, "Hello", 50, mstEndEllipsis), "Hello");
    EXPECT_EQ(cxGetStringAdjustedToWidth(&font, "ab\\cd\\ef", 48, mstPathEllipsis), "a...\\ef");
    EXPECT_EQ(cxGetStringAdjustedToWidth(&font, "Hello", 0, mstEndEllipsis), "");
    EXPECT_EQ(cxGetScreenPixelsPerInch(true), 96);
}

TEST_F(CanvasText, TextLines)
{
    rtl::TStringList lines;
    cxGetTextLines("aa bb cc", canvas.get(), {0, 0, 40, 100}, &lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Get(0), "aa bb");
    EXPECT_EQ(lines.Get(1), "cc");

    // A first word wider than the rectangle comes after an empty line, on a line of its own.
    lines.Clear();
    cxGetTextLines("abcdefgh x", canvas.get(), {0, 0, 40, 100}, &lines);
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Get(0), "");
    EXPECT_EQ(lines.Get(1), "abcdefgh");
    EXPECT_EQ(lines.Get(2), "x");
}

TEST(CanvasTextDirection, WritingDirection)
{
    EXPECT_FALSE(cxGetWritingDirection(178, "A"));
    EXPECT_TRUE(cxGetWritingDirection(178, "\xD8\xA7"));
    EXPECT_TRUE(cxGetWritingDirection(178, ""));
    EXPECT_TRUE(cxGetWritingDirection(1, "中")); // the default character set is GB2312 here
    EXPECT_FALSE(cxGetWritingDirection(0, "中"));
}

TEST_F(CanvasText, SmallDrawingProcedures)
{
    TRect r{1, 2, 30, 40};
    ExtendRect(r, {1, 1, 2, 3});
    EXPECT_EQ(r, (TRect{2, 3, 28, 37}));
    EXPECT_FALSE(IsGlyphAssigned(nullptr));

    // The window origin moves and the old one comes back in Left and Top.
    TRect org{5, 6, 50, 60};
    cxSetCanvasOrg(bitmap.Canvas(), org);
    EXPECT_EQ(org, (TRect{0, 0, 50, 60}));
    org = {0, 0, 0, 0};
    cxSetCanvasOrg(bitmap.Canvas(), org);
    EXPECT_EQ(org, (TRect{5, 6, 0, 0}));

    TBitmap glyph;
    glyph.SetSize(2, 2);
    glyph.ScanLine(1)[1] = 0x00ABCDEF;
    EXPECT_TRUE(IsGlyphAssigned(&glyph));
    cxDrawBitmap(canvas->GetHandle(), &glyph, {10, 10, 12, 12}, {0, 0});
    EXPECT_EQ(At(11, 11), 0x00ABCDEFu);

    // The halftone checker in the two colours; the DC's colours are kept.
    HDC dc = canvas->GetHandle();
    const COLORREF text = GetTextColor(*dc);
    cxFillHalfToneRect(bitmap.Canvas(), {20, 20, 22, 21}, clWhite, clBlack);
    EXPECT_NE(At(20, 20), At(21, 20));
    EXPECT_TRUE(At(20, 20) == Px(clWhite) || At(20, 20) == Px(clBlack));
    EXPECT_EQ(GetTextColor(*dc), text);

    // Arrows point at the anchors: the left side's first arrow ends just above the top-left.
    Clear();
    cxDrawArrows(bitmap.Canvas(), {50, 50, 80, 80}, bLeft, clRed);
    EXPECT_EQ(At(50, 45), Px(clRed));
    EXPECT_EQ(At(50, 84), Px(clRed));
    EXPECT_EQ(At(50, 50), Px(kBack));
}
