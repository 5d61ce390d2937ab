// The image library's rectangle fills and the start-up and shut-down of its units.
#include "GdiPlusTestSupport.h"
#include "platform/gdi/Dc.h"
#include "toolkit/core/dxGDIPlusAPI.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace cx;

using Canvas = GpCanvas;

std::string Log;
void StartA() { Log += "a+"; }
void EndA() { Log += "a-"; }
void StartB() { Log += "b+"; }
void EndB() { Log += "b-"; }

} // namespace

TEST(dxGDIPlusFill, SolidFillComposesOverTheSurfaceUnderTheClip)
{
    Canvas c(8, 8);
    dxGpFillRect(c.Dc(), {1, 1, 4, 3}, clRed, 255);
    EXPECT_EQ(c.At(1, 1), 0x00FF0000u);
    EXPECT_EQ(c.At(3, 2), 0x00FF0000u);
    EXPECT_EQ(c.At(4, 2), 0x00FFFFFFu);
    // Half opaque over white, rounded; the top byte stays 0.
    dxGpFillRect(c.Dc(), {0, 5, 2, 6}, clRed, 128);
    EXPECT_EQ(c.At(0, 5), 0x00FF7F7Fu);
    // clNone and an empty rectangle show nothing; the clip and the origin are honoured.
    dxGpFillRect(c.Dc(), {0, 0, 8, 8}, clNone, 255);
    dxGpFillRect(c.Dc(), {6, 6, 6, 8}, clBlue, 255);
    EXPECT_EQ(c.At(6, 6), 0x00FFFFFFu);
    gdi::IntersectClipRect(*c.Dc(), {5, 5, 7, 7});
    gdi::SetWindowOrgEx(*c.Dc(), -1, 0);
    dxGpFillRect(c.Dc(), {0, 0, 8, 8}, dxGpMakeARGBColor(255, 0, 0, 255));
    EXPECT_EQ(c.At(5, 5), 0x000000FFu);
    EXPECT_EQ(c.At(6, 6), 0x000000FFu);
    EXPECT_EQ(c.At(7, 7), 0x00FFFFFFu);
    EXPECT_EQ(c.At(4, 5), 0x00FFFFFFu);
}

TEST(dxGDIPlusFill, GradientsRunAcrossTheRectangle)
{
    struct Case {
        LinearGradientMode mode;
        int w, h;
        std::vector<std::uint32_t> greys;   // the blue byte, row by row
    };
    // Black to white, opaque: the colour at each pixel centre, halves to even.
    const Case cases[] = {
        {LinearGradientModeHorizontal, 4, 1, {32, 96, 159, 223}},
        {LinearGradientModeVertical, 1, 4, {32, 96, 159, 223}},
        {LinearGradientModeForwardDiagonal, 2, 2, {64, 128, 128, 191}},
        {LinearGradientModeBackwardDiagonal, 2, 2, {128, 64, 191, 128}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.mode));
        Canvas c(k.w, k.h, clRed);
        dxGpFillRectByGradient(c.Dc(), {0, 0, k.w, k.h}, clBlack, clWhite, k.mode);
        std::vector<std::uint32_t> got;
        for (int y = 0; y < k.h; ++y)
            for (int x = 0; x < k.w; ++x)
                got.push_back(c.At(x, y) & 0xFF);
        EXPECT_EQ(got, k.greys);
    }
    // The opacities run with the colours: transparent to opaque blue over white.
    Canvas c(2, 1);
    dxGpFillRectByGradient(c.Dc(), {0, 0, 2, 1}, clBlue, clBlue, LinearGradientModeHorizontal, 0, 255);
    EXPECT_EQ(c.At(0, 0), 0x00BFBFFFu); // a quarter opaque
    EXPECT_EQ(c.At(1, 0), 0x004040FFu); // three quarters
}

TEST(dxGDIPlusFill, UnitsLoaderRunsStartsAndEndsInOrder)
{
    Log.clear();
    {
        TdxUnitsLoader program;   // a program: each start runs as it is added
        program.AddUnit(StartA, EndA);
        program.AddUnit(StartB, EndB);
        EXPECT_TRUE(program.Started());
        EXPECT_EQ(Log, "a+b+");
    }
    EXPECT_EQ(Log, "a+b+b-a-"); // the destructor finalizes, last added first

    Log.clear();
    TdxUnitsLoader library(true);   // a library: the host starts it
    library.AddUnit(StartA, EndA);
    library.AddUnit(StartB, EndB);
    EXPECT_EQ(Log, "");
    EXPECT_FALSE(library.Started());
    library.Initialize();
    EXPECT_EQ(Log, "a+b+");
    library.RemoveUnit(EndA);       // runs it once and forgets it
    library.RemoveUnit(EndA);
    library.Finalize();
    EXPECT_EQ(Log, "a+b+a-b-");
    EXPECT_FALSE(library.Started());
    library.Finalize();             // not started any more: nothing runs twice
    EXPECT_EQ(Log, "a+b+a-b-");
    EXPECT_NE(dxUnitsLoader(), nullptr);
}
