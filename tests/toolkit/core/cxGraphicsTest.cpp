#include "toolkit/core/cxGraphics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr TColor kBack = 0x123456;

std::uint32_t Px(TColor c) { return gdi::ColorToPixel(ColorToRef(c)); }

// A 32-bit bitmap filled with kBack and a toolkit canvas on it.
struct Fixture {
    TBitmap bitmap;
    TcxCanvas canvas;
    explicit Fixture(int w = 16, int h = 16) : canvas((bitmap.SetSize(w, h), bitmap.Canvas()))
    {
        bitmap.Canvas()->Brush()->SetColor(kBack);
        bitmap.Canvas()->FillRect({0, 0, w, h});
    }
    std::uint32_t At(int x, int y) { return bitmap.ScanLine(y)[x]; }
    bool IsBack(int x, int y) { return At(x, y) == Px(kBack); }
};

// A bitmap whose pixel (x, y) holds the number y * w + x + 1.
void Number(TBitmap& b, int w, int h)
{
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.ScanLine(y)[x] = std::uint32_t(y * w + x + 1);
}

std::string Dump(TBitmap& b)
{
    std::string s;
    for (int y = 0; y < b.GetHeight(); ++y) {
        for (int x = 0; x < b.GetWidth(); ++x)
            s += char('0' + b.ScanLine(y)[x]);
        s += y + 1 < b.GetHeight() ? "/" : "";
    }
    return s;
}

} // namespace

TEST(cxCanvas, TiledFillKeepsThePhaseAndCoversNegativeCoordinates)
{
    TBitmap tile;
    Number(tile, 4, 4);
    Fixture f(20, 20);
    f.canvas.FillRect({5, 5, 9, 9}, &tile);
    EXPECT_EQ(f.At(5, 5), 6u); // the tile's pixel (1, 1)
    EXPECT_TRUE(f.IsBack(9, 9));

    // Logical (-10, -10) is device (0, 0): the rectangle starts left of and above the origin.
    Fixture g(20, 20);
    g.canvas.SetWindowOrg({-10, -10});
    g.canvas.FillRect({-5, -6, 3, 2}, &tile);
    for (int y = -6; y < 2; ++y)
        for (int x = -5; x < 3; ++x) {
            const int tx = ((x % 4) + 4) % 4, ty = ((y % 4) + 4) % 4;
            EXPECT_EQ(g.At(x + 10, y + 10), std::uint32_t(ty * 4 + tx + 1)) << x << "," << y;
        }
    EXPECT_TRUE(g.IsBack(4, 4));   // logical (-6, -6)
    EXPECT_TRUE(g.IsBack(13, 12)); // logical (3, 2)
}

TEST(cxCanvas, FillRectColourSentinels)
{
    Fixture f;
    f.canvas.FillRect({0, 0, 4, 4}, clNone);
    EXPECT_TRUE(f.IsBack(0, 0));
    f.canvas.FillRect({0, 0, 4, 4}, clRed);
    EXPECT_EQ(f.At(3, 3), 0x00FF0000u);
    f.canvas.FillRect({4, 0, 8, 4}, clDefault); // keeps the current brush colour
    EXPECT_EQ(f.At(4, 0), 0x00FF0000u);
    f.canvas.FillRect({8, 0, 9, 1}, clBtnFace);
    EXPECT_EQ(f.At(8, 0), 0x00D4D0C8u);
}

TEST(cxCanvas, FrameRectWiderThanTheRectangleStaysInside)
{
    Fixture f;
    f.canvas.FrameRect({2, 2, 6, 5}, clBlack, 10);
    for (int y = 2; y < 5; ++y)
        for (int x = 2; x < 6; ++x)
            EXPECT_EQ(f.At(x, y), 0u);
    EXPECT_TRUE(f.IsBack(1, 2));
    EXPECT_TRUE(f.IsBack(6, 4));
    EXPECT_TRUE(f.IsBack(2, 5));

    Fixture g;
    g.canvas.FrameRect({2, 2, 8, 8}, clBlack, 1, cxBorder(bTop));
    EXPECT_EQ(g.At(7, 2), 0u);
    EXPECT_TRUE(g.IsBack(2, 3));
}

TEST(cxCanvas, ComplexFrameCornersBelongToTheSideDrawnLast)
{
    Fixture f;
    f.canvas.DrawComplexFrame({1, 1, 6, 6}, clWhite, clBlack);
    EXPECT_EQ(f.At(1, 1), Px(clWhite));
    EXPECT_EQ(f.At(5, 1), Px(clBlack)); // top-right
    EXPECT_EQ(f.At(1, 5), Px(clBlack)); // bottom-left
    EXPECT_EQ(f.At(5, 5), Px(clBlack));
    EXPECT_TRUE(f.IsBack(3, 3));
}

TEST(cxCanvas, EdgeColours)
{
    struct Case {
        bool sunken, outer;
        TColor leftTop, rightBottom;
    };
    const Case cases[] = {{true, true, clBtnShadow, clBtnHighlight},
                          {true, false, cl3DDkShadow, cl3DLight},
                          {false, true, cl3DLight, cl3DDkShadow},
                          {false, false, clBtnHighlight, clBtnShadow}};
    for (const Case& c : cases) {
        Fixture f;
        f.canvas.DrawEdge({0, 0, 6, 6}, c.sunken, c.outer);
        EXPECT_EQ(f.At(0, 3), Px(c.leftTop)) << c.sunken << c.outer;
        EXPECT_EQ(f.At(3, 0), Px(c.leftTop));
        EXPECT_EQ(f.At(5, 3), Px(c.rightBottom));
        EXPECT_EQ(f.At(3, 5), Px(c.rightBottom));
    }
}

TEST(cxCanvas, InvertFrameTwiceRestores)
{
    Fixture f;
    f.canvas.InvertFrame({1, 1, 9, 9}, 2);
    EXPECT_EQ(f.At(1, 1), ~Px(kBack));
    EXPECT_EQ(f.At(8, 5), ~Px(kBack));
    EXPECT_TRUE(f.IsBack(3, 3)); // inside the frame
    f.canvas.InvertFrame({1, 1, 9, 9}, 2);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_TRUE(f.IsBack(x, y)) << x << "," << y;
    EXPECT_EQ(f.canvas.GetCopyMode(), SRCCOPY);
}

TEST(cxCanvas, FocusRectanglesUndoEachOther)
{
    Fixture f;
    f.canvas.DrawDesignSelection({1, 1, 10, 10}, 2);
    EXPECT_FALSE(f.IsBack(2, 1));
    f.canvas.DrawDesignSelection({1, 1, 10, 10}, 2);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_TRUE(f.IsBack(x, y));
}

TEST(cxCanvas, ClipRegionInLogicalCoordinates)
{
    Fixture f;
    f.canvas.SetViewportOrg({3, 4});
    TcxRegion* clip = f.canvas.GetClipRegion();
    EXPECT_EQ(clip->GetBoundsRect(), (TRect{-3, -4, 29997, 29996}));
    delete clip;

    // roSet without destroying: the caller's region is left where it was.
    TcxRegion region(0, 0, 2, 2);
    f.canvas.SetClipRegion(&region, roSet, true, false);
    EXPECT_EQ(region.GetBoundsRect(), (TRect{0, 0, 2, 2}));
    f.canvas.FillRect({0, 0, 10, 10}, clBlack);
    EXPECT_EQ(f.At(4, 5), 0u);   // logical (1, 1)
    EXPECT_TRUE(f.IsBack(5, 5)); // logical (2, 1)

    // With the destroy flag the canvas takes the region; combining narrows the clip.
    f.canvas.SetClipRegion(new TcxRegion(0, 0, 8, 8), roSet, true, true);
    f.canvas.SetClipRegion(new TcxRegion(4, 4, 20, 20), roIntersect, true, true);
    TcxRegion* now = f.canvas.GetClipRegion();
    EXPECT_EQ(now->GetBoundsRect(), (TRect{4, 4, 8, 8}));
    delete now;
    EXPECT_TRUE(f.canvas.RectFullyVisible({5, 5, 7, 7}));
    EXPECT_FALSE(f.canvas.RectFullyVisible({5, 5, 9, 7}));

    // Excluding a filled rectangle from the clip.
    Fixture g;
    g.canvas.FillRect({0, 0, 4, 4}, nullptr, true);
    g.canvas.FillRect({0, 0, 8, 8}, clBlack);
    EXPECT_TRUE(g.IsBack(1, 1));
    EXPECT_EQ(g.At(5, 5), 0u);
}

TEST(cxCanvas, SavedClipRegionsAndStates)
{
    Fixture f;
    f.canvas.SaveClipRegion();
    f.canvas.IntersectClipRect({0, 0, 2, 2});
    f.canvas.RestoreClipRegion();
    f.canvas.FillRect({0, 0, 8, 8}, clBlack);
    EXPECT_EQ(f.At(7, 7), 0u);

    f.canvas.GetBrush()->SetColor(clRed);
    f.canvas.GetPen()->SetWidth(3);
    f.canvas.SaveState();
    f.canvas.GetBrush()->SetColor(clBlue);
    f.canvas.GetPen()->SetWidth(1);
    f.canvas.RestoreState();
    EXPECT_EQ(f.canvas.GetBrush()->GetColor(), clRed);
    EXPECT_EQ(f.canvas.GetPen()->GetWidth(), 3);
}

TEST(cxCanvas, RestoresOnAnEmptyStackDoNothing)
{
    Fixture f;
    HDC dc = f.canvas.GetHandle();
    gdi::SaveDC(*dc); // a save the toolkit canvas did not make
    f.canvas.GetBrush()->SetColor(clRed);
    f.canvas.RestoreState();
    f.canvas.RestoreDC();
    f.canvas.RestoreClipRegion();
    EXPECT_EQ(dc->SaveDepth(), 1);
    EXPECT_EQ(f.canvas.GetBrush()->GetColor(), clRed);
}

TEST(cxCanvas, PenModes)
{
    Fixture f;
    f.canvas.GetPen()->SetColor(clWhite);
    f.canvas.GetPen()->SetMode(pmXor);
    for (int pass = 0; pass < 2; ++pass) {
        f.canvas.MoveTo(0, 2);
        f.canvas.LineTo(8, 2);
        EXPECT_EQ(f.At(3, 2), pass == 0 ? (Px(kBack) ^ 0x00FFFFFFu) : Px(kBack));
    }
    f.canvas.GetPen()->SetMode(pmNot);
    f.canvas.MoveTo(0, 3);
    f.canvas.LineTo(8, 3);
    EXPECT_EQ(f.At(3, 3), ~Px(kBack));
    f.canvas.GetPen()->SetMode(pmBlack);
    f.canvas.MoveTo(0, 4);
    f.canvas.LineTo(8, 4);
    EXPECT_EQ(f.At(3, 4), 0u);

    // A canvas synchronised with a device context takes its pen mode over.
    gdi::SetROP2(*f.canvas.GetHandle(), R2_MASKPEN);
    f.canvas.SynchronizeObjects(f.canvas.GetHandle());
    EXPECT_EQ(f.canvas.GetPen()->GetMode(), pmMask);
}

TEST(cxCanvas, PieFullSweepAndTinySweep)
{
    Fixture f(21, 21);
    f.canvas.GetBrush()->SetColor(clBlack);
    f.canvas.Pie({0, 0, 21, 21}, 90, 360);
    EXPECT_EQ(f.At(10, 10), 0u);
    EXPECT_EQ(f.At(10, 3), 0u);
    EXPECT_EQ(f.At(3, 10), 0u);
    EXPECT_EQ(f.At(17, 10), 0u);
    EXPECT_TRUE(f.IsBack(0, 0));

    Fixture g(21, 21);
    const QImage before = g.bitmap.Surface().Image().copy();
    g.canvas.GetBrush()->SetColor(clBlack);
    g.canvas.Pie({0, 0, 21, 21}, 0, 1); // both radial points round to the same pixel
    g.canvas.Pie({0, 0, 21, 21}, 30, 0);
    EXPECT_EQ(g.bitmap.Surface().Image(), before);

    Fixture h(21, 21);
    h.canvas.GetBrush()->SetColor(clBlack);
    h.canvas.Pie({0, 0, 21, 21}, 0, 90); // the upper right quarter
    EXPECT_EQ(h.At(15, 5), 0u);
    EXPECT_TRUE(h.IsBack(5, 15));
}

TEST(cxCanvas, RotateBitmapEveryAngleAndFlip)
{
    struct Case {
        TcxRotationAngle angle;
        bool flip;
        const char* picture;
    };
    const Case cases[] = {
        {ra0, false, "123/456"},       {ra0, true, "456/123"},
        {raPlus90, false, "36/25/14"}, {raPlus90, true, "14/25/36"},
        {raMinus90, false, "41/52/63"}, {raMinus90, true, "63/52/41"},
        {ra180, false, "654/321"},     {ra180, true, "321/654"},
    };
    Fixture f;
    for (const Case& c : cases) {
        TBitmap b;
        Number(b, 3, 2);
        f.canvas.RotateBitmap(&b, c.angle, c.flip);
        EXPECT_EQ(Dump(b), c.picture) << c.angle << c.flip;
    }

    TBitmap empty;
    f.canvas.RotateBitmap(&empty, raPlus90);
    EXPECT_EQ(empty.GetWidth(), 0);
    EXPECT_EQ(empty.GetHeight(), 0);
    TBitmap column;
    column.SetSize(0, 3);
    f.canvas.RotateBitmap(&column, raMinus90, true);
    f.canvas.FlipHorizontally(&column);
    EXPECT_EQ(column.GetWidth(), 0);
    EXPECT_EQ(column.GetHeight(), 3);

    TBitmap b;
    Number(b, 3, 2);
    f.canvas.FlipHorizontally(&b);
    EXPECT_EQ(Dump(b), "321/654");
}

TEST(cxCanvas, BitmapBitsOrder)
{
    TBitmap b;
    Number(b, 2, 2);
    TRGBColors colors;
    ASSERT_TRUE(GetBitmapBits(&b, false, colors));
    ASSERT_EQ(colors.size(), 4u);
    EXPECT_EQ(colors[0].rgbBlue, 3); // bottom-up: the last row first
    colors[0].rgbBlue = 9;
    SetBitmapBits(&b, colors, false);
    EXPECT_TRUE(colors.empty());
    EXPECT_EQ(b.ScanLine(1)[0], 9u);
    TBitmap none;
    EXPECT_FALSE(GetBitmapBits(&none, true, colors));
}

TEST(cxCanvas, TransparentDrawMixesAtConstantOpacity)
{
    Fixture f(4, 4);
    f.canvas.FillRect({0, 0, 4, 4}, clBlack);
    TBitmap white;
    white.SetSize(2, 2);
    white.Canvas()->Brush()->SetColor(clWhite);
    white.Canvas()->FillRect({0, 0, 2, 2});
    f.canvas.TransparentDraw(1, 1, &white, 128);
    EXPECT_EQ(f.At(1, 1), 0x00808080u);
    EXPECT_EQ(f.At(0, 0), 0u);
}

TEST(cxRegion, OperationsAndEmptyRegions)
{
    TcxRegion a(0, 0, 10, 10);
    a.Combine(new TcxRegion(5, 0, 10, 10), roSubtract);
    EXPECT_EQ(a.GetBoundsRect(), (TRect{0, 0, 5, 10}));
    a.Combine(new TcxRegion(20, 20, 21, 21), roAdd);
    EXPECT_TRUE(a.PtInRegion(20, 20));
    a.Combine(new TcxRegion(0, 0, 2, 2), roIntersect);
    EXPECT_EQ(a.GetBoundsRect(), (TRect{0, 0, 2, 2}));
    TcxRegion other(0, 0, 2, 2);
    a.Combine(&other, roSet, false);
    EXPECT_TRUE(a.IsEqual(&other));
    a.Offset(1, 1);
    EXPECT_FALSE(a.IsEqual(&other));
    EXPECT_FALSE(a.IsEqual(static_cast<TcxRegion*>(nullptr)));

    TcxRegion e1, e2(5, 5, 5, 9);
    EXPECT_TRUE(e1.GetIsEmpty());
    EXPECT_EQ(e1.GetBoundsRect(), (TRect{}));
    EXPECT_TRUE(e1.IsEqual(&e2));

    TcxRegion round(TRect{0, 0, 10, 10}, 4, 4); // left and top move in by one
    EXPECT_FALSE(round.PtInRegion(0, 5));
    EXPECT_TRUE(round.PtInRegion(1, 5));
    EXPECT_TRUE(round.PtInRegion(9, 5));
    EXPECT_FALSE(round.PtInRegion(1, 1));
}

TEST(cxCanvas, RegionFillAndFrame)
{
    Fixture f;
    TcxRegion r(2, 2, 8, 8);
    f.canvas.DrawRegion(&r, clWhite, clBlack, 1, 1);
    EXPECT_EQ(f.At(2, 2), 0u);
    EXPECT_EQ(f.At(7, 4), 0u);
    EXPECT_EQ(f.At(4, 4), Px(clWhite));
    EXPECT_TRUE(f.IsBack(8, 8));
}

TEST(cxCanvas, PathsGiveRegionsInDeviceCoordinates)
{
    Fixture f(24, 24);
    f.canvas.SetWindowOrg({-10, -10});
    f.canvas.BeginPath();
    const TPoint square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    f.canvas.Polygon(square, 3);
    f.canvas.EndPath();
    TcxRegion* region = f.canvas.PathToRegion();
    EXPECT_EQ(region->GetBoundsRect(), (TRect{10, 10, 14, 14}));
    EXPECT_TRUE(f.IsBack(11, 11)); // recorded, not painted
    delete region;

    // The canvas's pen widens, whatever was selected when the path was recorded.
    f.canvas.BeginPath();
    f.canvas.MoveTo(0, 5);
    f.canvas.LineTo(10, 5);
    f.canvas.EndPath();
    f.canvas.GetPen()->SetWidth(6);
    f.canvas.WidenPath();
    region = f.canvas.PathToRegion();
    EXPECT_TRUE(region->PtInRegion(15, 12));
    EXPECT_TRUE(region->PtInRegion(15, 17));
    EXPECT_FALSE(region->PtInRegion(15, 18));
    delete region;

    // Without a closed path the region is empty but usable.
    region = f.canvas.PathToRegion();
    ASSERT_NE(region->Handle, nullptr);
    EXPECT_TRUE(region->GetIsEmpty());
    delete region;
}

TEST(cxCanvas, FontsBrushesAndPensArePersistentsThatNotifyTheirChanges)
{
    TBrush brush;
    TFont font;
    std::vector<rtl::TObject*> senders;
    brush.OnChange = rtl::Event<void(rtl::TObject*)>([&](rtl::TObject* s) { senders.push_back(s); });
    brush.SetColor(clRed);
    brush.SetColor(clRed); // no change, no notification
    TBrush other;
    other.SetStyle(bsCross);
    brush.Assign(&other);
    EXPECT_EQ(senders, (std::vector<rtl::TObject*>{&brush, &brush}));
    EXPECT_EQ(brush.GetStyle(), bsCross);
    EXPECT_EQ(brush.ClassName(), "TBrush");

    // Only like converts into like: a brush is no font.
    EXPECT_THROW(font.Assign(&brush), rtl::EConvertError);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC8D0D4);
}
