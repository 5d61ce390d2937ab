#include "platform/gdi/Draw.h"
#include "platform/gdi/SysParams.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace gdi;

namespace {

constexpr std::uint32_t kBack = 0xFF123456; // a top byte no drawing call writes

struct Canvas {
    Surface surface;
    Dc dc;
    explicit Canvas(int w = 16, int h = 16, std::uint32_t fill = kBack) : surface(w, h), dc(&surface)
    {
        surface.Fill(fill);
    }
    std::uint32_t At(int x, int y) const { return surface.Pixel(x, y); }
};

} // namespace

TEST(Gdi, FillRectIsHalfOpenAndWritesTopByteZero)
{
    Canvas c;
    FillRect(c.dc, {2, 3, 5, 6}, Brush::Solid(0x0000FF)); // red
    EXPECT_EQ(c.At(2, 3), 0x00FF0000u);
    EXPECT_EQ(c.At(4, 5), 0x00FF0000u);
    EXPECT_EQ(c.At(5, 5), kBack);
    EXPECT_EQ(c.At(4, 6), kBack);
    EXPECT_EQ(c.At(1, 3), kBack);
}

TEST(Gdi, TernaryRasterOperationsTruthTable)
{
    // Operand bits chosen so that every (P, S, D) combination occurs in each byte.
    const std::uint32_t P = 0x00F0F0F0, S = 0xCCCCCCCC, D = 0xAAAAAAAA;
    using F = std::function<std::uint32_t(std::uint32_t, std::uint32_t, std::uint32_t)>;
    const std::pair<DWORD, F> cases[] = {
        {SRCCOPY, [](auto, auto s, auto) { return s; }},
        {SRCPAINT, [](auto, auto s, auto d) { return s | d; }},
        {SRCAND, [](auto, auto s, auto d) { return s & d; }},
        {SRCINVERT, [](auto, auto s, auto d) { return s ^ d; }},
        {SRCERASE, [](auto, auto s, auto d) { return s & ~d; }},
        {NOTSRCCOPY, [](auto, auto s, auto) { return ~s; }},
        {NOTSRCERASE, [](auto, auto s, auto d) { return ~(s | d); }},
        {MERGECOPY, [](auto p, auto s, auto) { return p & s; }},
        {MERGEPAINT, [](auto, auto s, auto d) { return ~s | d; }},
        {PATCOPY, [](auto p, auto, auto) { return p; }},
        {PATPAINT, [](auto p, auto s, auto d) { return p | ~s | d; }},
        {PATINVERT, [](auto p, auto, auto d) { return p ^ d; }},
        {DSTINVERT, [](auto, auto, auto d) { return ~d; }},
        {BLACKNESS, [](auto, auto, auto) { return 0u; }},
        {WHITENESS, [](auto, auto, auto) { return ~0u; }},
    };
    Surface src(1, 1);
    src.Fill(S);
    Dc srcDc(&src);
    for (const auto& [rop, f] : cases) {
        Canvas c(1, 1, D);
        SelectBrush(c.dc, Brush::Solid(PixelToColor(P)));
        BitBlt(c.dc, 0, 0, 1, 1, &srcDc, 0, 0, rop);
        EXPECT_EQ(c.At(0, 0), f(P, S, D)) << std::hex << rop;
    }
}

TEST(Gdi, MonochromeAndColourConversionInCopies)
{
    Surface mono(2, 1, PixelFormat::Mono1);
    mono.SetPixel(0, 0, 0);
    mono.SetPixel(1, 0, 0x00FFFFFF);
    Dc monoDc(&mono);
    Canvas colour(2, 1);
    SetTextColor(colour.dc, 0x0000FF); // red
    SetBkColor(colour.dc, 0xFF0000);   // blue
    BitBlt(colour.dc, 0, 0, 2, 1, &monoDc, 0, 0, SRCCOPY);
    EXPECT_EQ(colour.At(0, 0), 0x00FF0000u); // black bit -> text colour
    EXPECT_EQ(colour.At(1, 0), 0x000000FFu); // white bit -> background colour

    // Colour to monochrome: the source's background colour becomes white, the rest black.
    Canvas src(2, 1);
    src.surface.SetPixel(0, 0, ColorToPixel(0x00FF00));
    src.surface.SetPixel(1, 0, ColorToPixel(0x0000FF));
    SetBkColor(src.dc, 0x00FF00);
    Surface target(2, 1, PixelFormat::Mono1);
    Dc targetDc(&target);
    BitBlt(targetDc, 0, 0, 2, 1, &src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(target.Pixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(target.Pixel(1, 0), 0u);
}

TEST(Gdi, LineToLeavesOutItsLastPoint)
{
    Canvas c;
    SelectPen(c.dc, Pen{PS_SOLID, 1, 0});
    MoveToEx(c.dc, 1, 1);
    LineTo(c.dc, 5, 1);
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(c.At(x, 1), 0u) << x;
    EXPECT_EQ(c.At(5, 1), kBack);
    LineTo(c.dc, 5, 5); // from the current position (5, 1)
    EXPECT_EQ(c.At(5, 1), 0u);
    EXPECT_EQ(c.At(5, 4), 0u);
    EXPECT_EQ(c.At(5, 5), kBack);
    EXPECT_EQ(c.dc.S().pos, (TPoint{5, 5}));
}

TEST(Gdi, PenRasterModes)
{
    Canvas c(8, 1, 0x00123456);
    SelectPen(c.dc, Pen{PS_SOLID, 1, 0xFFFFFF});
    SetROP2(c.dc, R2_XORPEN);
    MoveToEx(c.dc, 0, 0);
    LineTo(c.dc, 8, 0);
    EXPECT_EQ(c.At(3, 0), 0x00EDCBA9u);
    MoveToEx(c.dc, 0, 0);
    LineTo(c.dc, 8, 0);
    EXPECT_EQ(c.At(3, 0), 0x00123456u);
    SetROP2(c.dc, R2_NOP);
    MoveToEx(c.dc, 0, 0);
    LineTo(c.dc, 8, 0);
    EXPECT_EQ(c.At(3, 0), 0x00123456u);
    SetROP2(c.dc, R2_NOT);
    MoveToEx(c.dc, 0, 0);
    LineTo(c.dc, 8, 0);
    EXPECT_EQ(c.At(3, 0), 0xFFEDCBA9u); // all 32 bits invert
}

TEST(Gdi, TwoFocusRectanglesRestoreThePixels)
{
    Canvas c(12, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            c.surface.SetPixel(x, y, 0x01000000u * std::uint32_t(x) + std::uint32_t(y * 97 + x));
    const Surface before = c.surface;
    const TRect cases[] = {{1, 1, 9, 7}, {2, 2, 3, 8}, {0, 4, 11, 5}, {3, 4, 4, 5}};
    for (const TRect& r : cases) {
        DrawFocusRect(c.dc, r);
        EXPECT_NE(c.surface.Image(), before.Image());
        DrawFocusRect(c.dc, r);
        EXPECT_EQ(c.surface.Image(), before.Image());
    }
}

TEST(Gdi, ClipIsInDeviceCoordinatesWithAMovedWindowOrigin)
{
    Canvas c;
    SetWindowOrgEx(c.dc, 10, 10);
    Region clip(TRect{0, 0, 4, 4});
    SelectClipRgn(c.dc, &clip);
    FillRect(c.dc, {10, 10, 20, 20}, Brush::Solid(0));
    EXPECT_EQ(c.At(3, 3), 0u);
    EXPECT_EQ(c.At(4, 3), kBack);
    // Clip rectangles are given logically and stored on the device.
    ExcludeClipRect(c.dc, {10, 10, 11, 11});
    Region stored;
    ASSERT_EQ(GetClipRgn(c.dc, stored), 1);
    EXPECT_FALSE(stored.Contains(0, 0));
    EXPECT_TRUE(stored.Contains(1, 0));
    EXPECT_FALSE(RectVisible(c.dc, {14, 14, 20, 20}));
    EXPECT_TRUE(RectVisible(c.dc, {13, 13, 20, 20}));
}

TEST(Gdi, SaveStackByIndex)
{
    Canvas c;
    SetTextColor(c.dc, 1);
    const int first = SaveDC(c.dc);
    SetTextColor(c.dc, 2);
    SaveDC(c.dc);
    SetTextColor(c.dc, 3);
    EXPECT_TRUE(RestoreDC(c.dc, -1));
    EXPECT_EQ(c.dc.S().textColor, 2u);
    EXPECT_TRUE(RestoreDC(c.dc, first));
    EXPECT_EQ(c.dc.S().textColor, 1u);
    EXPECT_FALSE(RestoreDC(c.dc, 1));
}

TEST(Gdi, OverlappingSelfBlitAndStretch)
{
    Canvas c(6, 2, 0);
    for (int x = 0; x < 6; ++x)
        c.surface.SetPixel(x, 0, std::uint32_t(x + 1));
    BitBlt(c.dc, 1, 0, 5, 1, &c.dc, 0, 0, SRCCOPY);
    const std::uint32_t shifted[] = {1, 1, 2, 3, 4, 5};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(c.At(x, 0), shifted[x]);

    Canvas src(2, 1, 0);
    src.surface.SetPixel(0, 0, 7);
    src.surface.SetPixel(1, 0, 9);
    Canvas dst(4, 2, 0);
    StretchBlt(dst.dc, 0, 0, 4, 2, &src.dc, 0, 0, 2, 1, SRCCOPY);
    const std::uint32_t doubled[] = {7, 7, 9, 9};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(dst.At(x, 0), doubled[x]);
        EXPECT_EQ(dst.At(x, 1), doubled[x]);
    }
    StretchBlt(dst.dc, 3, 0, -4, 1, &src.dc, 0, 0, 2, 1, SRCCOPY); // mirrored
    EXPECT_EQ(dst.At(0, 0), 9u);
}

TEST(Gdi, PatternBrushAlignsToTheDeviceOrigin)
{
    auto bits = std::make_shared<Surface>(2, 1);
    bits->SetPixel(0, 0, 0x00000011);
    bits->SetPixel(1, 0, 0x00000022);
    Canvas c;
    SetWindowOrgEx(c.dc, 1, 0); // logical 1 is device 0
    FillRect(c.dc, {1, 0, 5, 1}, Brush::Pattern(bits));
    EXPECT_EQ(c.At(0, 0), 0x11u);
    EXPECT_EQ(c.At(1, 0), 0x22u);
    EXPECT_EQ(c.At(2, 0), 0x11u);

    // Hatches: brush colour on the set bits, background colour elsewhere (opaque mode).
    Canvas h(8, 8);
    SetBkColor(h.dc, 0xFFFFFF);
    FillRect(h.dc, {0, 0, 8, 8}, Brush::Hatched(HS_HORIZONTAL, 0));
    EXPECT_EQ(h.At(0, 3), 0u);
    EXPECT_EQ(h.At(0, 2), 0x00FFFFFFu);
    SetBkMode(h.dc, TRANSPARENT);
    h.surface.Fill(kBack);
    FillRect(h.dc, {0, 0, 8, 8}, Brush::Hatched(HS_HORIZONTAL, 0));
    EXPECT_EQ(h.At(0, 2), kBack);
}

TEST(Gdi, ShapesAndEdges)
{
    Canvas c(20, 20);
    SelectBrush(c.dc, Brush::Solid(0x0000FF));
    SelectPen(c.dc, Pen{PS_SOLID, 1, 0});
    Ellipse(c.dc, 0, 0, 20, 20);
    EXPECT_EQ(c.At(10, 10), 0x00FF0000u);
    EXPECT_EQ(c.At(0, 0), kBack);
    EXPECT_EQ(c.At(19, 19), kBack);
    EXPECT_EQ(c.At(0, 10), 0u); // the outline

    Canvas r(6, 6);
    SelectBrush(r.dc, Brush::Solid(0xFFFFFF));
    Rectangle(r.dc, 0, 0, 5, 5);
    EXPECT_EQ(r.At(0, 0), 0u);
    EXPECT_EQ(r.At(4, 4), 0u);
    EXPECT_EQ(r.At(2, 2), 0x00FFFFFFu);
    EXPECT_EQ(r.At(5, 5), kBack);

    Canvas e(6, 6);
    TRect box{0, 0, 6, 6};
    DrawEdge(e.dc, box, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(PixelToColor(e.At(0, 0)), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(PixelToColor(e.At(5, 0)), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(PixelToColor(e.At(1, 1)), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelToColor(e.At(4, 4)), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(box, (TRect{2, 2, 4, 4}));
}

TEST(Gdi, ProfileTables)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0xC8D0D4u);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), 0x808080u);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), 0x6A240Au);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0xFFFFFFu);
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), 0xA56E3Au); // the classic desktop blue 3A6EA5
    EXPECT_EQ(GetSysColor(31), 0u);
    EXPECT_EQ(GetSysColorBrush(-1).style, BS_NULL);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXMENUCHECK), 13);
}
