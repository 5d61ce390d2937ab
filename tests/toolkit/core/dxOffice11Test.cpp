#include "toolkit/core/dxOffice11.h"

#include <gtest/gtest.h>

namespace {

struct Surface {
    TBitmap bitmap;
    explicit Surface(int w, int h)
    {
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(w, h);
        bitmap.Canvas()->Brush()->SetColor(0x123456);
        bitmap.Canvas()->FillRect({0, 0, w, h});
    }
    HDC Dc() { return bitmap.Canvas()->GetHandle(); }
    // The pixel as a COLORREF (0x00BBGGRR).
    TColor At(int x, int y)
    {
        const std::uint32_t p = bitmap.ScanLine(y)[x];
        return TColor(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
    }
};

} // namespace

TEST(dxOffice11, ColourArithmetic)
{
    struct Case {
        TColor got, want;
    } cases[] = {
        {GetMiddleRGB(0x102030, 0xF0E0D0, 100), 0x102030},
        {GetMiddleRGB(0x102030, 0xF0E0D0, 0), 0xF0E0D0},
        {GetMiddleRGB(clBtnFace, clWindow, 22), 0xF3F5F6},
        {Light(0x406080, 100), 0x406080},
        {Light(0x406080, 0), 0xFFFFFF},
        {Dark(0x406080, 100), 0x406080},
        {Dark(0x406080, 0), 0x000000},
        {Dark(0x406080, 50), 0x203040},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST(dxOffice11, PaletteFromSystemColoursWithoutAStandardScheme)
{
    CreateOffice11Colors();
    EXPECT_EQ(GetOffice11Scheme(), schUnknown);
    EXPECT_FALSE(IsXPStandardScheme());
    struct Row {
        const char* name;
        TColor got, want;
    } rows[] = {
        {"DockColor1", dxOffice11DockColor1, 0xC8D0D4},
        {"ToolbarsColor1", dxOffice11ToolbarsColor1, 0xF3F5F6},
        {"BarMarkColors2[0]", dxOffice11BarMarkColors2[0], 0x808080},
        {"DropDownBorderColor1", dxOffice11DropDownBorderColor1, 0x808080},
        {"MenuColor", dxOffice11MenuColor, 0xFFFFFF},
        {"DropDownBorderColor2", dxOffice11DropDownBorderColor2, 0xFFFFFF},
        {"SelectedBorderColor", dxOffice11SelectedBorderColor, 0x6A240A},
        {"DownedColor", dxOffice11DownedColor, 0xD8D3D2},
        {"TextEnabledColor", dxOffice11TextEnabledColor, 0x000000},
        {"TextDisabledColor", dxOffice11TextDisabledColor, 0x808080},
        {"BarSeparatorColor2", dxOffice11BarSeparatorColor2, 0xFFFFFF},
        {"NavPaneHeaderFontColor", dxOffice11NavPaneHeaderFontColor, 0xFFFFFF},
        {"StaticBorderColor", dxOffice11StaticBorderColor, 0x808080},
        {"DateHeaderColor", dxOffice11DateHeaderColor, 0xC8D0D4},
        {"ExpandButtonColor1", dxOffice11ExpandButtonColor1, 0xBFAE9E},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.got, r.want) << r.name;
    EXPECT_EQ(dxOffice11TubeMidPercent, 75);
    ReleaseOffice11Colors();
}

TEST(dxOffice11, BrushesLiveWhileCreatesOutnumberReleases)
{
    CreateOffice11Colors();
    CreateOffice11Colors();
    ReleaseOffice11Colors();
    ASSERT_NE(dxOffice11MenuBrush, nullptr);
    EXPECT_EQ(dxOffice11DropDownBorderBrush2, dxOffice11MenuBrush); // shared, made once
    EXPECT_EQ(dxOffice11StaticBorderBrush, dxOffice11DropDownBorderBrush1);
    ASSERT_NE(dxOffice11ExpandButtonBitmap2, nullptr);
    EXPECT_EQ(dxOffice11ExpandButtonBitmap2->GetWidth(), 11);
    ReleaseOffice11Colors();
    EXPECT_EQ(dxOffice11MenuBrush, nullptr);
    EXPECT_EQ(dxOffice11ExpandButtonBitmap1, nullptr);
    ReleaseOffice11Colors(); // unmatched: nothing happens
    EXPECT_EQ(dxOffice11MenuBrush, nullptr);
}

TEST(dxOffice11, BandGradientUsesAtMost256BandsAndMatchesItsColourQuery)
{
    Surface s(1000, 2);
    const TRect r{0, 0, 1000, 2};
    FillGradientRect(s.Dc(), r, clBlack, clWhite, true);
    EXPECT_EQ(s.At(0, 0), TColor(0));
    EXPECT_EQ(s.At(3, 0), TColor(0));        // the first band is 4 pixels wide
    EXPECT_EQ(s.At(4, 1), TColor(0x010101)); // band 1
    EXPECT_EQ(s.At(999, 0), TColor(0xFFFFFF));
    int changes = 0;
    for (int x = 1; x < 1000; ++x)
        changes += s.At(x, 0) != s.At(x - 1, 0);
    EXPECT_EQ(changes, 255);
    for (int x : {0, 2, 3, 4, 500, 998, 999})
        EXPECT_EQ(GetGradientColorRect(r, x, clBlack, clWhite, true), s.At(x, 0)) << x;

    Surface v(2, 10);
    FillGradientRect(v.Dc(), {0, 0, 2, 10}, 0x000010, 0x000090, false);
    EXPECT_EQ(v.At(0, 0), TColor(0x10));
    EXPECT_EQ(v.At(1, 9), TColor(0x90));

    Surface same(4, 4);
    FillGradientRect(same.Dc(), {0, 0, 4, 4}, clBtnFace, 0xC8D0D4, true);
    EXPECT_EQ(same.At(3, 3), TColor(0xC8D0D4));
}

TEST(dxOffice11, TubeGradientRunsThroughTheMiddleColour)
{
    Surface s(2, 1);
    FillTubeGradientRect(s.Dc(), {0, 0, 2, 1}, 0x000000, 0x0000C8, true);
    EXPECT_EQ(s.At(0, 0), TColor(0));
    // middle = c1 - MulDiv(c1 - c2, 75, 200) = 0 + 75 on red
    EXPECT_EQ(s.At(1, 0), TColor(75));

    Surface t(1, 1);
    // One pixel is the middle itself: 0x10 + MulDiv(0x80, 75, 200); and no division by zero.
    FillTubeGradientRect(t.Dc(), {0, 0, 1, 1}, 0x000010, 0x000090, true);
    EXPECT_EQ(t.At(0, 0), TColor(64));
}

TEST(dxOffice11, ItemArrowSizeFollowsTheRectangle)
{
    CreateOffice11Colors();
    for (auto [width, size] : {std::pair{20, 5}, std::pair{21, 7}, std::pair{10, 3}}) {
        Surface s(width, 20);
        Office11DrawItemArrow(s.Dc(), {0, 0, width, 20}, true, true, false);
        int rows = 0, widest = 0;
        for (int y = 0; y < 20; ++y) {
            int n = 0;
            for (int x = 0; x < width; ++x)
                n += s.At(x, y) == dxOffice11TextEnabledColor;
            rows += n > 0;
            widest = std::max(widest, n);
        }
        EXPECT_EQ(rows, size) << width;
        EXPECT_EQ(widest, 2 * size - 1) << width;
    }
    ReleaseOffice11Colors();
}

TEST(dxOffice11, SizeGripIsATriangleOfSixDots)
{
    CreateOffice11Colors();
    Surface s(16, 16);
    Office11DrawSizeGrip(s.Dc(), {0, 0, 16, 16}, clRed, clBlue);
    int dots = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            dots += s.At(x, y) == clRed;
    EXPECT_EQ(dots, 6 * 4); // 2 x 2 pixels a dot
    EXPECT_EQ(s.At(14, 14), clBlue); // the shadow of the corner dot
    EXPECT_EQ(s.At(13, 13), clRed);
    EXPECT_EQ(s.At(2, 13), TColor(0x123456));
    ReleaseOffice11Colors();
}
