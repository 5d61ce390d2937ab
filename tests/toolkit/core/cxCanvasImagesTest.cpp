// Images and glyphs drawn through the toolkit canvas, and tiled fills over huge rectangles.
#include "platform/vcl/ImgList.h"
#include "toolkit/core/cxGraphics.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr TColor kBack = 0x123456;
constexpr TColor kGlyph = 0x0000C0, kKey = 0x00FF00; // dark red glyph on a lime key

std::uint32_t Px(TColor c) { return gdi::ColorToPixel(ColorToRef(ColorToRGB(c))); }

struct Fixture {
    TBitmap bitmap;
    TcxCanvas canvas;
    explicit Fixture(int w = 16, int h = 16) : canvas((bitmap.SetPixelFormat(pf32bit), bitmap.SetSize(w, h), bitmap.Canvas()))
    {
        bitmap.Canvas()->Brush()->SetColor(kBack);
        bitmap.Canvas()->FillRect({0, 0, w, h});
    }
    std::uint32_t At(int x, int y) { return bitmap.ScanLine(y)[x] & 0xFFFFFFu; }
    bool Is(int x, int y, TColor c) { return At(x, y) == Px(c); }
};

// A 6 x 6 glyph: a 4 x 4 block of kGlyph at (1, 1) on the key colour (its bottom-left pixel).
void Glyph(TBitmap& b)
{
    b.SetPixelFormat(pf24bit);
    b.SetSize(6, 6);
    b.Canvas()->Brush()->SetColor(kKey);
    b.Canvas()->FillRect({0, 0, 6, 6});
    b.Canvas()->Brush()->SetColor(kGlyph);
    b.Canvas()->FillRect({1, 1, 5, 5});
}

} // namespace

TEST(cxCanvasImages, TiledFillOverAHugeRectangleCopiesOnlyTheVisibleTiles)
{
    TBitmap tile;
    tile.SetPixelFormat(pf32bit);
    tile.SetSize(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            tile.ScanLine(y)[x] = std::uint32_t(0x10 * (y * 3 + x + 1));
    Fixture f(16, 16);
    f.canvas.SetWindowOrg({-4, -5});
    f.canvas.IntersectClipRect({0, 0, 6, 6});
    f.canvas.FillRect({INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2}, &tile);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int lx = x - 4, ly = y - 5;
            const bool inside = lx >= 0 && lx < 6 && ly >= 0 && ly < 6;
            const std::uint32_t tilePixel = std::uint32_t(0x10 * ((ly % 3 + 3) % 3 * 3 + (lx % 3 + 3) % 3 + 1));
            EXPECT_EQ(f.bitmap.ScanLine(y)[x], inside ? tilePixel : Px(kBack)) << x << "," << y;
        }
}

TEST(cxCanvasImages, DrawImageDrawsOneImageOfTheListEnabledOrDisabled)
{
    TImageList list(nullptr);
    list.SetWidth(6);
    list.SetHeight(6);
    TBitmap glyph;
    Glyph(glyph);
    list.AddMasked(&glyph, kKey);
    Fixture f;
    f.canvas.DrawImage(&list, 2, 3, 0);
    EXPECT_TRUE(f.Is(3, 4, kGlyph));
    EXPECT_TRUE(f.Is(2, 3, kBack));
    Fixture d;
    d.canvas.DrawImage(&list, 2, 3, 0, false);
    EXPECT_TRUE(d.Is(4, 5, clBtnShadow));
    EXPECT_TRUE(d.Is(7, 8, clBtnHighlight));
    // Indexes outside the list and a missing list draw nothing.
    Fixture n;
    n.canvas.DrawImage(&list, 0, 0, 1);
    n.canvas.DrawImage(&list, 0, 0, -1);
    n.canvas.DrawImage(nullptr, 0, 0, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_TRUE(n.Is(x, y, kBack));
}

TEST(cxCanvasImages, DrawGlyphLeavesOutTheTransparentColour)
{
    TBitmap glyph;
    Glyph(glyph);
    struct Case {
        bool enabled;
        TColor background;
        TColor border;   // what the glyph's key pixels become
        TColor body;     // what its block becomes
    };
    const Case cases[] = {
        {true, clNone, kBack, kGlyph},
        {true, clYellow, clYellow, kGlyph},
        {false, clNone, kBack, clBtnShadow},
        {false, clWhite, clWhite, clBtnShadow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.enabled) + " " + std::to_string(c.background));
        Fixture f;
        f.canvas.GetBrush()->SetStyle(bsSolid);
        f.canvas.GetBrush()->SetColor(clBlue);
        f.canvas.DrawGlyph(4, 4, &glyph, c.enabled, c.background);
        EXPECT_TRUE(f.Is(4, 4, c.border));
        EXPECT_TRUE(f.Is(5, 5, c.body));
        EXPECT_TRUE(f.Is(3, 4, kBack));
        EXPECT_TRUE(f.Is(10, 4, kBack));
        EXPECT_EQ(f.canvas.GetBrush()->GetStyle(), bsSolid);
    }
}
