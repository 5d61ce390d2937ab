#include "toolkit/core/cxGraphicsShared.h"

#include "platform/gdi/Region.h"
#include "tests/platform/vcl/VclTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Surface {
    TBitmap bitmap;
    explicit Surface(int size = 40)
    {
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(size, size);
        bitmap.Canvas()->Brush()->SetColor(clWhite);
        bitmap.Canvas()->FillRect({0, 0, size, size});
    }
    std::uint32_t At(int x, int y) const { return bitmap.Surface().Pixel(x, y) & 0xFFFFFFu; }
};

TEST(cxSharedCanvases, OneInstanceEachUntilShutDown)
{
    TcxScreenCanvas* screen = cxScreenCanvas();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(cxScreenCanvas(), screen);
    EXPECT_EQ(cxPaintCanvas(), cxPaintCanvas());
    cxGraphicsSharedUnit::Finalize();
    EXPECT_EQ(cxScreenCanvas(), nullptr);
    EXPECT_EQ(cxPaintCanvas(), nullptr);
    cxGraphicsSharedUnit::Initialize();
    EXPECT_NE(cxScreenCanvas(), nullptr);
}

TEST(cxSharedCanvases, ScreenCanvasGivesItsContextBackWhenDormant)
{
    TcxScreenCanvas screen;
    EXPECT_FALSE(screen.WrappedCanvas()->HandleAllocated());
    EXPECT_GT(screen.TextExtent("Wg").cy, 0);
    EXPECT_TRUE(screen.WrappedCanvas()->HandleAllocated());
    screen.Dormant();
    EXPECT_FALSE(screen.WrappedCanvas()->HandleAllocated());
    screen.Dormant(); // nothing held: nothing to do
    EXPECT_NE(screen.GetHandle(), nullptr); // taken again on the next use
}

TEST(cxPaintCanvas, EndPaintWithoutBeginPaintDoesNothing)
{
    TcxPaintCanvas canvas;
    TCanvas* internal = canvas.WrappedCanvas();
    canvas.EndPaint();
    EXPECT_EQ(canvas.PaintDepth(), 0);
    EXPECT_EQ(canvas.WrappedCanvas(), internal);
}

TEST(cxPaintCanvas, DeviceContextLevelOnACanvasWithoutHandleLeavesNone)
{
    Surface s;
    HDC dc = s.bitmap.Canvas()->GetHandle();
    const int depthBefore = dc->SaveDepth();
    TcxPaintCanvas canvas;
    canvas.BeginPaint(dc);
    EXPECT_TRUE(canvas.HandleValid());
    EXPECT_EQ(canvas.GetHandle(), dc);
    canvas.SetWindowOrg({5, 5});
    canvas.FillRect({5, 5, 10, 10}, clRed);
    canvas.EndPaint();
    EXPECT_FALSE(canvas.HandleValid());
    EXPECT_EQ(dc->SaveDepth(), depthBefore);
    EXPECT_EQ(gdi::GetPixel(*dc, 0, 0), 0x0000FFu); // drawn at the moved origin
    EXPECT_EQ(dc->S().windowOrg, (TPoint{0, 0}));  // the context's state came back
}

TEST(cxPaintCanvas, LevelsNestAndMixBothForms)
{
    Surface outer, inner;
    TcxPaintCanvas canvas;
    TCanvas* internal = canvas.WrappedCanvas();

    // Level 1: a canvas; level 2: a device context; level 3: another canvas.
    outer.bitmap.Canvas()->Brush()->SetColor(clBlue);
    canvas.BeginPaint(outer.bitmap.Canvas());
    EXPECT_EQ(canvas.WrappedCanvas(), outer.bitmap.Canvas());
    canvas.IntersectClipRect({0, 0, 10, 10});
    canvas.GetBrush()->SetColor(clRed);

    HDC innerDc = inner.bitmap.Canvas()->GetHandle();
    canvas.BeginPaint(innerDc);
    EXPECT_EQ(canvas.GetHandle(), innerDc);
    canvas.SetWindowOrg({-3, -3});

    Surface third;
    canvas.BeginPaint(third.bitmap.Canvas());
    EXPECT_EQ(canvas.PaintDepth(), 3);
    canvas.GetBrush()->SetColor(clLime);
    canvas.EndPaint();
    EXPECT_EQ(canvas.WrappedCanvas(), outer.bitmap.Canvas());
    EXPECT_EQ(canvas.GetHandle(), innerDc);

    canvas.EndPaint();
    EXPECT_EQ(innerDc->S().windowOrg, (TPoint{0, 0}));
    // Back on the first canvas, with its handle, its brush as set inside the level.
    EXPECT_EQ(canvas.GetHandle(), outer.bitmap.Canvas()->GetHandle());
    EXPECT_EQ(canvas.GetBrush()->GetColor(), clRed);
    canvas.FillRect({0, 0, 40, 40}, clRed);
    EXPECT_EQ(outer.At(5, 5), gdi::ColorToPixel(0x0000FF));
    EXPECT_EQ(outer.At(20, 20), 0xFFFFFFu); // still clipped inside the level

    canvas.EndPaint();
    EXPECT_EQ(canvas.PaintDepth(), 0);
    EXPECT_EQ(canvas.WrappedCanvas(), internal);
    // The canvas got its brush and clip back.
    EXPECT_EQ(outer.bitmap.Canvas()->Brush()->GetColor(), clBlue);
    outer.bitmap.Canvas()->FillRect({0, 0, 40, 40});
    EXPECT_EQ(outer.At(20, 20), gdi::ColorToPixel(0xFF0000));
}

// A control that fills itself with its colour.
class TFilled : public TCustomControl {
public:
    TFilled(TWinControl* parent, const TRect& bounds, TColor color) : TCustomControl(nullptr)
    {
        SetBoundsRect(bounds);
        SetColor(color);
        if (parent)
            SetParent(parent);
    }
    int paints = 0;

protected:
    void Paint() override
    {
        ++paints;
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(GetClientRect());
    }
};

struct Tree {
    std::unique_ptr<TFilled> parent;
    TFilled *below, *above;
    Tree()
    {
        parent = std::make_unique<TFilled>(nullptr, TRect{0, 0, 40, 40}, clRed);
        below = new TFilled(parent.get(), {15, 15, 25, 25}, clBlue);
        above = new TFilled(parent.get(), {20, 20, 30, 30}, clLime);
    }
    ~Tree()
    {
        above->Free();
        below->Free();
    }
};

TEST(cxPaintControlTo, PaintsTheTreeAndStopsAtTheFirstExclusion)
{
    Tree tree;
    Surface all;
    TcxCanvas canvas(all.bitmap.Canvas());
    cxPaintControlTo(tree.parent.get(), &canvas, 0, 0, {0, 0, 40, 40}, false, nullptr);
    EXPECT_EQ(all.At(2, 2), gdi::ColorToPixel(0x0000FF));
    EXPECT_EQ(all.At(16, 16), gdi::ColorToPixel(0xFF0000));
    EXPECT_EQ(all.At(22, 22), gdi::ColorToPixel(0x00FF00));
    EXPECT_FALSE(tree.parent->ControlState.Contains(csPaintCopy));

    Surface cut;
    TcxCanvas cutCanvas(cut.bitmap.Canvas());
    rtl::TList exclusions;
    exclusions.Add(tree.below);
    cxPaintControlTo(tree.parent.get(), &cutCanvas, 0, 0, {0, 0, 40, 40}, false, &exclusions);
    EXPECT_EQ(cut.At(16, 16), gdi::ColorToPixel(0x0000FF)); // the parent shows through
    EXPECT_EQ(cut.At(27, 27), gdi::ColorToPixel(0x0000FF)); // the child above is never painted
    EXPECT_EQ(tree.above->paints, 1);
}

TEST(cxPaintControlTo, TransparentBackgroundIsWhatLiesUnderTheControl)
{
    Tree tree;
    Surface under(10);
    cxDrawTransparentControlBackground(tree.above, under.bitmap.Canvas(), {0, 0, 10, 10});
    EXPECT_EQ(under.At(0, 0), gdi::ColorToPixel(0xFF0000));  // the sibling below at (20, 20)
    EXPECT_EQ(under.At(6, 6), gdi::ColorToPixel(0x0000FF));  // the parent
    EXPECT_EQ(tree.above->paints, 0);

    Surface none(10);
    cxDrawThemeParentBackground(tree.parent.get(), none.bitmap.Canvas(), {0, 0, 10, 10});
    EXPECT_EQ(none.At(5, 5), 0xFFFFFFu); // no parent: nothing drawn
}

// A control with a client edge and a window region when asked, and the paint helper; it notes
// whether the canvas being painted into was locked while it painted.
class TEdged : public TFilled, public IcxPaintControlsHelper {
public:
    TEdged(TWinControl* parent, const TRect& bounds, TColor color, bool edge)
        : TFilled(parent, bounds, color), edge_(edge)
    {
    }
    bool allowEdges = true;
    TCanvas* target = nullptr;
    int lockedWhilePainting = -1;
    bool AllowDrawEdgesAndBorders() override { return allowEdges; }

protected:
    void CreateParams(TCreateParams& params) override
    {
        TFilled::CreateParams(params);
        if (edge_)
            params.ExStyle |= WS_EX_CLIENTEDGE;
    }
    void Paint() override
    {
        if (target)
            lockedWhilePainting = target->LockCount();
        TFilled::Paint();
    }

private:
    bool edge_;
};

TEST(cxPaintControlTo, DrawsTheWindowEdgeKeepsTheWindowRegionAndLocksTheCanvas)
{
    EnsureVclApp();
    const std::uint32_t shadow = gdi::ColorToPixel(ColorToRGB(clBtnShadow));
    for (bool allow : {true, false}) {
        SCOPED_TRACE(allow);
        rtl::UniqueObject<TFilled> parent(new TFilled(nullptr, TRect{0, 0, 40, 40}, clRed));
        auto* edged = new TEdged(parent.get(), {10, 10, 30, 30}, clBlue, true);
        edged->allowEdges = allow;
        edged->HandleNeeded();
        ASSERT_TRUE(edged->WindowExStyle() & WS_EX_CLIENTEDGE);
        Surface s;
        TcxCanvas canvas(s.bitmap.Canvas());
        edged->target = s.bitmap.Canvas();
        cxPaintControlTo(parent.get(), &canvas, 0, 0, {0, 0, 40, 40}, false, nullptr);
        // The sunken edge's outer shadow line around the child, unless the child refuses it.
        EXPECT_EQ(s.At(10, 20) == shadow, allow);
        EXPECT_EQ(s.At(20, 20), gdi::ColorToPixel(ColorToRGB(clBlue)));
        EXPECT_EQ(edged->lockedWhilePainting, 1);
        EXPECT_EQ(s.bitmap.Canvas()->LockCount(), 0);
        edged->Free();
    }

    // A window region limits what the control paints; the parent shows outside it.
    rtl::UniqueObject<TFilled> parent(new TFilled(nullptr, TRect{0, 0, 40, 40}, clRed));
    auto* round = new TEdged(parent.get(), {10, 10, 30, 30}, clBlue, false);
    round->HandleNeeded();
    round->SetWindowRgn(new gdi::Region(gdi::Region::Ellipse({0, 0, 20, 20})));
    gdi::Region region;
    EXPECT_EQ(round->GetWindowRgn(region), COMPLEXREGION);
    Surface s;
    TcxCanvas canvas(s.bitmap.Canvas());
    cxPaintControlTo(parent.get(), &canvas, 0, 0, {0, 0, 40, 40}, true, nullptr);
    EXPECT_EQ(s.At(20, 20), gdi::ColorToPixel(ColorToRGB(clBlue)));
    EXPECT_EQ(s.At(11, 11), gdi::ColorToPixel(ColorToRGB(clRed)));
    round->SetWindowRgn(nullptr);
    EXPECT_EQ(round->GetWindowRgn(region), RGN_ERROR);
    round->Free();
}

} // namespace
