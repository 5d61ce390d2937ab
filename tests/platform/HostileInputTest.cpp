// Inputs that once took the process down or never finished: huge surfaces, lines and polygons
// far beyond the surface, and date formats that name themselves.
#include "platform/gdi/Draw.h"
#include "platform/rtl/Locale.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>

using namespace gdi;

namespace {

constexpr std::uint32_t kBack = 0xFF123456;
constexpr COLORREF kRed = 0x0000FF;
constexpr std::uint32_t kRedPixel = 0x00FF0000;

struct Canvas {
    Surface surface;
    Dc dc;
    explicit Canvas(int w = 16, int h = 16) : surface(w, h), dc(&surface) { surface.Fill(kBack); }
    std::uint32_t At(int x, int y) const { return surface.Pixel(x, y); }
};

// The line as it was stepped before clipping came first: every pixel from a up to b, each
// plotted only when it lies on the surface. It is the oracle for the clipped line.
void ReferenceLine(Surface& s, TPoint a, TPoint b, int& dashPos, const std::vector<int>& dashes)
{
    int period = 0;
    for (int d : dashes)
        period += d;
    const int dx = std::abs(b.X - a.X), dy = -std::abs(b.Y - a.Y);
    const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
    int err = dx + dy, x = a.X, y = a.Y;
    while (x != b.X || y != b.Y) {
        bool on = true;
        if (period) {
            int p = dashPos % period, i = 0;
            while (p >= dashes[size_t(i)])
                p -= dashes[size_t(i++)];
            on = i % 2 == 0;
            ++dashPos;
        }
        if (on && x >= 0 && y >= 0 && x < s.Width() && y < s.Height())
            s.SetPixel(x, y, kRedPixel);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace

TEST(GdiHostile, SurfaceThatCannotBeStoredRaisesAndStaysAsItWas)
{
    Canvas c(8, 6);
    EXPECT_THROW(c.surface.Resize(70000, 70000), rtl::EOutOfResources);
    EXPECT_EQ(c.surface.Width(), 8);
    EXPECT_EQ(c.surface.Height(), 6);
    EXPECT_EQ(c.At(7, 5), kBack);
    FillRect(c.dc, {0, 0, 100, 100}, Brush::Solid(kRed));
    EXPECT_EQ(c.At(7, 5), kRedPixel);
    EXPECT_THROW(Surface(INT_MAX, 2), rtl::EOutOfResources);
    // One side 0 stores nothing and is no failure.
    Surface thin(70000, 0);
    EXPECT_TRUE(thin.IsEmpty());
}

// The clipped line must paint exactly the pixels the stepped line painted, dashes included,
// whatever part of it lies on the surface.
TEST(GdiHostile, ClippedLinesMatchTheSteppedLine)
{
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> coord(-40, 60);
    const int styles[] = {PS_SOLID, PS_DOT, PS_DASHDOTDOT};
    const std::vector<int> pictures[] = {{}, {3, 3}, {9, 3, 3, 3, 3, 3}};
    for (int round = 0; round < 600; ++round) {
        const int style = round % 3;
        TPoint pts[3];
        for (TPoint& p : pts)
            p = {coord(random), coord(random)};
        Canvas drawn(24, 20), expected(24, 20);
        SelectPen(drawn.dc, Pen{styles[style], 1, kRed});
        Polyline(drawn.dc, pts, 3);
        int dash = 0;
        ReferenceLine(expected.surface, pts[0], pts[1], dash, pictures[style]);
        ReferenceLine(expected.surface, pts[1], pts[2], dash, pictures[style]);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 24; ++x)
                ASSERT_EQ(drawn.At(x, y), expected.At(x, y))
                    << "round " << round << " at " << x << "," << y << ": (" << pts[0].X << "," << pts[0].Y
                    << ") (" << pts[1].X << "," << pts[1].Y << ") (" << pts[2].X << "," << pts[2].Y << ")";
    }
}

TEST(GdiHostile, HugeLinesDrawTheirVisiblePartAtOnce)
{
    Canvas c(16, 16);
    SelectPen(c.dc, Pen{PS_SOLID, 1, kRed});
    // 10^8 pixels long, almost horizontal: through y = 5 on the whole surface.
    MoveToEx(c.dc, -50'000'000, 5, nullptr);
    LineTo(c.dc, 50'000'000, 5);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(c.At(x, 5), kRedPixel) << x;
    EXPECT_EQ(c.At(3, 4), kBack);
    // Corner to corner of the coordinate space: the diagonal through the origin.
    MoveToEx(c.dc, INT_MIN + 1, INT_MIN + 1, nullptr);
    LineTo(c.dc, INT_MAX, INT_MAX);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(c.At(i, i), kRedPixel) << i;
    EXPECT_EQ(c.At(1, 0), kBack);
    // A wide pen over the same span.
    Canvas w(16, 16);
    SelectPen(w.dc, Pen{PS_SOLID, 3, kRed});
    MoveToEx(w.dc, INT_MIN + 1, 8, nullptr);
    LineTo(w.dc, INT_MAX, 8);
    EXPECT_EQ(w.At(0, 8), kRedPixel);
    EXPECT_EQ(w.At(15, 9), kRedPixel);
    EXPECT_EQ(w.At(7, 3), kBack);
}

TEST(GdiHostile, PolygonNearTheCoordinateLimitsFillsWhatIsVisible)
{
    Canvas c(16, 16);
    SelectBrush(c.dc, Brush::Solid(kRed));
    SelectPen(c.dc, Pen{PS_NULL, 1, 0});
    const TPoint huge[] = {{INT_MIN + 10, INT_MIN + 10}, {INT_MAX - 10, 0}, {INT_MIN + 10, INT_MAX - 10}};
    Polygon(c.dc, huge, 3);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(c.At(x, y), kRedPixel) << x << "," << y;
    // A polygon that reaches far out on one side only keeps its visible edge where it was.
    Canvas d(16, 16);
    SelectBrush(d.dc, Brush::Solid(kRed));
    SelectPen(d.dc, Pen{PS_NULL, 1, 0});
    const TPoint wedge[] = {{0, 0}, {8, 0}, {8, INT_MAX - 1}, {0, INT_MAX - 1}};
    Polygon(d.dc, wedge, 4);
    EXPECT_EQ(d.At(0, 15), kRedPixel);
    EXPECT_EQ(d.At(7, 15), kRedPixel);
    EXPECT_EQ(d.At(8, 15), kBack);
    // With its outline pen the edges are drawn too (they are huge lines as well).
    Canvas e(16, 16);
    SelectBrush(e.dc, Brush::Solid(kRed));
    SelectPen(e.dc, Pen{PS_SOLID, 1, 0x00FF00});
    Polygon(e.dc, huge, 3);
    EXPECT_EQ(e.At(8, 8), kRedPixel);
}

TEST(RtlHostile, DateFormatsThatNameThemselvesExpandOnce)
{
    auto fixed = std::make_unique<rtl::FixedLocaleService>();
    auto* service = fixed.get();
    auto previous = rtl::SetLocaleService(std::move(fixed));
    const rtl::TDateTime when = rtl::EncodeDate(2024, 3, 5) + rtl::EncodeTime(13, 7, 9, 0);
    auto& fs = service->Settings();
    struct Case {
        std::string shortDate, longDate, shortTime, longTime, format, expected;
    };
    const Case cases[] = {
        {"yyyy-m-d", "yyyy", "h:nn", "h:nn:ss", "c", "2024-3-5 13:07:09"},
        {"c", "yyyy", "h:nn", "h:nn:ss", "c", " 13:07:09"},
        {"ddddd", "yyyy", "h:nn", "h:nn:ss", "ddddd", ""},
        {"d dddddd", "yyyy dddddd ddddd", "h:nn", "h:nn:ss", "ddddd", "5 2024  "},
        {"yyyy", "yyyy", "t", "tt", "t|tt", "|"},
        {"yyyy", "yyyy", "h tt", "nn t", "t", "13 07 "},
        {"m c", "yyyy", "h", "s c", "c", "3  9 "},
    };
    for (const Case& c : cases) {
        fs.ShortDateFormat = c.shortDate;
        fs.LongDateFormat = c.longDate;
        fs.ShortTimeFormat = c.shortTime;
        fs.LongTimeFormat = c.longTime;
        EXPECT_EQ(rtl::FormatDateTime(c.format, when), c.expected) << c.shortDate << " / " << c.format;
    }
    fs.ShortDateFormat = "c";
    fs.LongTimeFormat = "h:nn:ss";
    EXPECT_EQ(rtl::DateToStr(when), " 13:07:09");
    rtl::SetLocaleService(std::move(previous));
}
