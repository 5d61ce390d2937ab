// The navigator glyphs drawn from an image list, and the check-box size measured from the
// system's check-box picture.
#include "PainterTestSupport.h"

#include "toolkit/core/cxGraphicsImages.h"

namespace {

class PainterGlyphTest : public PainterCanvasTest {
protected:
    // The colour only: the toolkit list blends, and a blend leaves its alpha in the top byte.
    bool Shows(int x, int y, TColor c) { return (Raw(x, y) & 0xFFFFFFu) == gdi::ColorToPixel(ColorToRef(c)); }
};

// The navigator's glyph kinds: first, prior page, prior, next, next page, last, insert, append,
// delete, edit, post, cancel, refresh, save bookmark, go to bookmark, filter.
constexpr int kGlyphKinds = 16;
constexpr int kSide = 8;

TColor KindColor(int kind) { return TColor(0x101010 * (kind + 1) + 0x000040); }

// One 8 x 8 image per kind in its own colour, its top-left 2 x 2 corner transparent.
void FillGlyphs(TCustomImageList& list)
{
    list.SetWidth(kSide);
    list.SetHeight(kSide);
    for (int kind = 0; kind < kGlyphKinds; ++kind) {
        TBitmap image, mask;
        image.SetPixelFormat(pf24bit);
        image.SetSize(kSide, kSide);
        image.Canvas()->Brush()->SetColor(KindColor(kind));
        image.Canvas()->FillRect({0, 0, kSide, kSide});
        mask.SetMonochrome(true);
        mask.SetSize(kSide, kSide);
        mask.Canvas()->Brush()->SetColor(clBlack);
        mask.Canvas()->FillRect({0, 0, kSide, kSide});
        mask.Canvas()->Brush()->SetColor(clWhite);
        mask.Canvas()->FillRect({0, 0, 2, 2});
        list.Add(&image, &mask);
    }
}

} // namespace

TEST_F(PainterGlyphTest, NavigatorGlyphEveryKindEnabledAndDisabled)
{
    TImageList plain(nullptr);
    TcxImageList toolkit(nullptr);
    FillGlyphs(plain);
    FillGlyphs(toolkit);
    ASSERT_EQ(plain.Count(), kGlyphKinds);
    TcxCustomLookAndFeelPainterClass painter = TcxCustomLookAndFeelPainter::Class();
    for (TCustomImageList* list : {static_cast<TCustomImageList*>(&plain), static_cast<TCustomImageList*>(&toolkit)})
        for (int kind = 0; kind < kGlyphKinds; ++kind) {
            SCOPED_TRACE(kind);
            // The button is larger than the glyph: the glyph sits at its top-left corner.
            Reset(24, 24);
            painter->DrawNavigatorGlyph(canvas.get(), list, kind, kind, {4, 5, 20, 21}, true, false);
            EXPECT_TRUE(Shows(4 + 2, 5 + 2, KindColor(kind)));
            EXPECT_TRUE(Shows(4 + 7, 5 + 7, KindColor(kind)));
            EXPECT_TRUE(Shows(4, 5, kBack));      // transparent corner
            EXPECT_TRUE(Shows(4 + 8, 5 + 3, kBack)); // right of the glyph, still in the button
            EXPECT_TRUE(Shows(3, 7, kBack));
            if (list != &plain)
                continue;
            // Disabled: the shape embossed, shadow on the glyph, highlight one pixel down-right.
            Reset(24, 24);
            painter->DrawNavigatorGlyph(canvas.get(), list, kind, kind, {4, 5, 20, 21}, false, false);
            EXPECT_TRUE(Is(4 + 3, 5 + 3, clBtnShadow));
            EXPECT_TRUE(Is(4 + 8, 5 + 8, clBtnHighlight));
            EXPECT_TRUE(Is(4, 5, kBack));
        }
    // The disabled toolkit list draws no glyph colour.
    Reset(24, 24);
    painter->DrawNavigatorGlyph(canvas.get(), &toolkit, 3, 3, {0, 0, 16, 16}, false, false);
    EXPECT_FALSE(Shows(4, 4, KindColor(3)));
    EXPECT_FALSE(Shows(4, 4, kBack));
    // Without an image list, or with an index beyond it, nothing is drawn.
    Reset(24, 24);
    const auto before = Snapshot();
    painter->DrawNavigatorGlyph(canvas.get(), nullptr, 0, 0, {0, 0, 16, 16}, true, false);
    painter->DrawNavigatorGlyph(canvas.get(), &plain, kGlyphKinds, 0, {0, 0, 16, 16}, true, false);
    painter->DrawNavigatorGlyph(canvas.get(), &plain, -1, 0, {0, 0, 16, 16}, false, false);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(painter->NavigatorGlyphSize().cx, 0);
}

TEST_F(PainterGlyphTest, CheckButtonSizeIsOneCellOfTheSystemPicture)
{
    TBitmap picture;
    cxDrawSystemCheckBoxes(picture);
    EXPECT_EQ(picture.GetWidth(), 4 * cxSystemCheckBoxCellSize);
    EXPECT_EQ(picture.GetHeight(), 3 * cxSystemCheckBoxCellSize);
    const TSize size = TcxCustomLookAndFeelPainter::Class()->CheckButtonSize();
    EXPECT_EQ(size.cx, picture.GetWidth() / 4);
    EXPECT_EQ(size.cy, picture.GetHeight() / 3);
    // The cells: a sunken edge, then the window colour; the second one carries the tick.
    auto at = [&](int x, int y) { return picture.ScanLine(y)[x] & 0xFFFFFFu; };
    auto pixel = [](TColor c) { return gdi::ColorToPixel(ColorToRef(c)); };
    EXPECT_EQ(at(0, 0), pixel(clBtnShadow));
    EXPECT_EQ(at(6, 6), pixel(clWindow));
    EXPECT_EQ(at(13 + 6, 9), pixel(clWindowText));
    EXPECT_EQ(at(2 * 13 + 6, 6), pixel(clBtnFace)); // pushed
    EXPECT_EQ(at(6, 2 * 13 + 9), pixel(clBtnShadow)); // grayed tick
}
