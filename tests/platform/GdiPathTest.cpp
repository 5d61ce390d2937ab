#include "platform/gdi/Draw.h"
#include "platform/gdi/Path.h"

#include <gtest/gtest.h>

using namespace gdi;

namespace {

constexpr std::uint32_t kBack = 0xFF123456;

struct Canvas {
    Surface surface{24, 24};
    Dc dc{&surface};
    Canvas() { surface.Fill(kBack); }
    bool Untouched() const
    {
        for (int y = 0; y < surface.Height(); ++y)
            for (int x = 0; x < surface.Width(); ++x)
                if (surface.Pixel(x, y) != kBack)
                    return false;
        return true;
    }
};

// The region of what the calls record between BeginPath and EndPath.
template <class F>
Region RegionOf(Dc& dc, F&& draw)
{
    EXPECT_TRUE(BeginPath(dc));
    draw(dc);
    EXPECT_TRUE(EndPath(dc));
    std::optional<Region> r = PathToRegion(dc);
    EXPECT_TRUE(r.has_value());
    return r ? *r : Region();
}

} // namespace

TEST(GdiPath, ShapesAreRecordedNotPaintedAndFillLikeTheirShapes)
{
    Canvas c;
    SetWindowOrgEx(c.dc, -3, -2); // logical (0, 0) is device (3, 2): the region is in device terms
    Region rect = RegionOf(c.dc, [](Dc& dc) { Rectangle(dc, 1, 1, 6, 5); });
    EXPECT_TRUE(rect.Equals(Region(TRect{4, 3, 9, 7})));

    // A polygon through the same corners encloses the same pixels.
    const TPoint square[] = {{1, 1}, {6, 1}, {6, 5}, {1, 5}};
    EXPECT_TRUE(RegionOf(c.dc, [&](Dc& dc) { Polygon(dc, square, 4); }).Equals(rect));

    // Open figures of lines are closed for filling; MoveToEx starts a new figure.
    Region lines = RegionOf(c.dc, [](Dc& dc) {
        MoveToEx(dc, 0, 0);
        LineTo(dc, 8, 0);
        LineTo(dc, 0, 8);
        MoveToEx(dc, 12, 12);
        LineTo(dc, 16, 12);
        LineTo(dc, 16, 16);
        LineTo(dc, 12, 16);
    });
    EXPECT_TRUE(lines.Contains(3 + 1, 2 + 1));
    EXPECT_FALSE(lines.Contains(3 + 6, 2 + 6)); // beyond the triangle's diagonal
    EXPECT_TRUE(lines.Contains(3 + 14, 2 + 14));
    EXPECT_FALSE(lines.Contains(3 + 10, 2 + 10)); // between the figures
    EXPECT_TRUE(c.Untouched());

    // An ellipse's region is exactly what Ellipse paints.
    SetWindowOrgEx(c.dc, 0, 0);
    Region ellipse = RegionOf(c.dc, [](Dc& dc) { Ellipse(dc, 2, 3, 19, 14); });
    Ellipse(c.dc, 2, 3, 19, 14);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            EXPECT_EQ(ellipse.Contains(x, y), c.surface.Pixel(x, y) != kBack) << x << "," << y;
}

TEST(GdiPath, FillModeDecidesOverlappingFigures)
{
    Canvas c;
    auto nested = [](Dc& dc) {
        Rectangle(dc, 0, 0, 20, 20);
        Rectangle(dc, 5, 5, 15, 15);
    };
    Region alternate = RegionOf(c.dc, nested);
    EXPECT_TRUE(alternate.Contains(2, 2));
    EXPECT_FALSE(alternate.Contains(10, 10)); // the inner figure cuts a hole
    c.dc.S().polyFillMode = WINDING;
    EXPECT_TRUE(RegionOf(c.dc, nested).Equals(Region(TRect{0, 0, 20, 20})));
}

TEST(GdiPath, WidenPathUsesThePenWidth)
{
    Canvas c;
    SelectPen(c.dc, Pen{PS_SOLID, 4, 0});
    BeginPath(c.dc);
    MoveToEx(c.dc, 4, 10);
    LineTo(c.dc, 16, 10);
    EndPath(c.dc);
    ASSERT_TRUE(WidenPath(c.dc));
    std::optional<Region> band = PathToRegion(c.dc);
    ASSERT_TRUE(band);
    // A band four pixels high centred on the line, with round ends.
    for (int y = 8; y < 12; ++y)
        EXPECT_TRUE(band->Contains(10, y)) << y;
    EXPECT_FALSE(band->Contains(10, 7));
    EXPECT_FALSE(band->Contains(10, 12));
    EXPECT_TRUE(band->Contains(3, 10));
    EXPECT_FALSE(band->Contains(1, 10));

    // A widened rectangle is a ring: its inside is no longer part of the path.
    BeginPath(c.dc);
    Rectangle(c.dc, 2, 2, 20, 20);
    EndPath(c.dc);
    ASSERT_TRUE(WidenPath(c.dc));
    Region ring = *PathToRegion(c.dc);
    EXPECT_TRUE(ring.Contains(1, 10));
    EXPECT_TRUE(ring.Contains(2, 10));
    EXPECT_FALSE(ring.Contains(10, 10));
    EXPECT_FALSE(ring.Contains(5, 10));
}

TEST(GdiPath, CallsOutOfOrderFailAndChangeNothing)
{
    Canvas c;
    EXPECT_FALSE(EndPath(c.dc));
    EXPECT_FALSE(WidenPath(c.dc));
    EXPECT_FALSE(PathToRegion(c.dc));

    BeginPath(c.dc);
    Rectangle(c.dc, 1, 1, 5, 5);
    EXPECT_FALSE(PathToRegion(c.dc)); // the bracket is still open
    EXPECT_FALSE(WidenPath(c.dc));
    EndPath(c.dc);
    EXPECT_FALSE(EndPath(c.dc));
    SelectPen(c.dc, Pen{PS_NULL, 1, 0});
    EXPECT_FALSE(WidenPath(c.dc)); // a null pen widens nothing; the path stays
    std::optional<Region> r = PathToRegion(c.dc);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->Equals(Region(TRect{1, 1, 5, 5})));
    EXPECT_FALSE(PathToRegion(c.dc)); // used up

    // After the bracket, drawing paints again.
    Rectangle(c.dc, 1, 1, 5, 5);
    EXPECT_FALSE(c.Untouched());
}
