#include "toolkit/core/cxGraphicsImages.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF; // stored ARGB

std::unique_ptr<TcxBitmap> Painted(int w, int h, TPixelFormat format, const std::function<std::uint32_t(int, int)>& pixel)
{
    auto b = std::make_unique<TcxBitmap>(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->ScanLine(y)[x] = pixel(x, y);
    return b;
}

struct Target {
    TBitmap bitmap;
    explicit Target(int size = 20, TColor fill = clWhite)
    {
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(size, size);
        bitmap.Canvas()->Brush()->SetColor(fill);
        bitmap.Canvas()->FillRect({0, 0, size, size});
    }
    HDC Dc() { return bitmap.Canvas()->GetHandle(); }
    std::uint32_t At(int x, int y) const { return bitmap.Surface().Pixel(x, y) & 0xFFFFFFu; }
    // The bounding box of the pixels that are not white.
    TRect Painted() const
    {
        TRect r{1000, 1000, -1, -1};
        for (int y = 0; y < bitmap.GetHeight(); ++y)
            for (int x = 0; x < bitmap.GetWidth(); ++x)
                if (At(x, y) != W)
                    r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1)};
        return r;
    }
};

// A 10 x 10 blue glyph with a red frame row at the bottom-left... : the bottom-left pixel is green.
std::unique_ptr<TcxBitmap> Glyph()
{
    return Painted(10, 10, pf24bit, [](int x, int y) { return (x == 0 && y == 9) || x > 7 ? G : B; });
}

TEST(cxDrawImage, NothingWithoutGlyphOrValidIndex)
{
    Target t;
    TcxImageList list(nullptr);
    list.Add(Painted(16, 16, pf24bit, [](int, int) { return R; }).get(), nullptr);
    cxDrawImage(t.Dc(), {0, 0, 16, 16}, {0, 0, 20, 20}, nullptr, &list, 1, idmNormal);
    cxDrawImage(t.Dc(), {0, 0, 16, 16}, {0, 0, 20, 20}, nullptr, nullptr, 0, idmNormal);
    TBitmap empty;
    cxDrawImage(t.Dc(), {0, 0, 16, 16}, {0, 0, 20, 20}, &empty, nullptr, -1, idmNormal);
    EXPECT_EQ(t.Painted().Right, -1);
    cxDrawImage(t.Dc(), {2, 2, 18, 18}, {0, 0, 20, 20}, nullptr, &list, 0, idmNormal);
    EXPECT_EQ(t.Painted(), (TRect{2, 2, 18, 18}));
}

TEST(cxDrawImage, BottomLeftPixelAndTransparentColourAreTransparent)
{
    struct Case {
        bool leftBottom;
        TColor transparent;
        std::uint32_t atGreen, atBlue;
    } cases[] = {
        {true, clNone, W, B},   // every green pixel takes the bottom-left pixel's transparency
        {false, clNone, G, B},  // drawn as it is
        {false, clBlue, G, W},  // the given colour instead
    };
    for (const auto& c : cases) {
        Target t;
        auto glyph = Glyph();
        cxDrawImage(t.Dc(), {5, 5, 15, 15}, {0, 0, 20, 20}, glyph.get(), nullptr, -1, idmNormal, false, nullptr,
                    c.transparent, c.leftBottom);
        EXPECT_EQ(t.At(5, 14), c.atGreen);
        EXPECT_EQ(t.At(14, 5), c.atGreen);
        EXPECT_EQ(t.At(7, 7), c.atBlue);
        EXPECT_EQ(t.At(4, 4), W);
    }
}

TEST(cxDrawImage, ShadowedGrowsTwoRightAndDownFromOneUpLeft)
{
    Target t;
    auto glyph = Painted(8, 8, pf24bit, [](int, int) { return B; });
    cxDrawImage(t.Dc(), {6, 6, 14, 14}, {0, 0, 20, 20}, glyph.get(), nullptr, -1, idmShadowed, false, nullptr,
                clNone, false);
    EXPECT_EQ(t.Painted(), (TRect{5, 5, 15, 15}));
    EXPECT_EQ(t.At(5, 5), B);
    EXPECT_EQ(t.At(14, 14), gdi::ColorToPixel(ColorToRef(clBtnShadow)));
}

TEST(cxDrawImage, ModesChangeTheColours)
{
    auto glyph = Painted(8, 8, pf24bit, [](int, int) { return R; });
    auto draw = [&](TcxImageDrawMode mode) {
        Target t(8);
        cxDrawImage(t.Dc(), {0, 0, 8, 8}, {0, 0, 8, 8}, glyph.get(), nullptr, -1, mode, false, nullptr, clNone, false);
        return t.At(3, 3);
    };
    EXPECT_EQ(draw(idmNormal), R);
    for (auto mode : {idmGrayScale, idmFaded}) {
        const std::uint32_t p = draw(mode);
        EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF) << mode;
        EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF) << mode;
    }
    EXPECT_EQ(draw(idmGrayScale), 0x555555u); // (255 + 0 + 0) / 3
    // Faded: grey at constant alpha 64 over white lies between the grey and white.
    const std::uint32_t faded = draw(idmFaded) & 0xFF;
    EXPECT_GT(faded, 0x55u);
    EXPECT_LT(faded, 0xFFu);
    EXPECT_NE(draw(idmDingy), R);
    EXPECT_NE(draw(idmDisabled), R);
}

TEST(cxDrawImage, BrushFillsTheBackgroundAndTheHookMayDraw)
{
    Target t;
    auto glyph = Painted(4, 4, pf24bit, [](int, int) { return B; });
    const gdi::Brush green = gdi::Brush::Solid(0x00FF00);
    cxDrawImage(t.Dc(), {2, 2, 6, 6}, {0, 0, 10, 10}, glyph.get(), nullptr, -1, idmNormal, false, &green, clNone,
                false);
    EXPECT_EQ(t.At(0, 0), G);
    EXPECT_EQ(t.At(3, 3), B);
    EXPECT_EQ(t.At(12, 12), W);

    static TRect seen;
    CustomDrawImageProc = [](TCanvas* canvas, TCustomImageList*, int, TBitmap*, const TRect& r, TcxImageDrawMode) {
        seen = r;
        canvas->Brush()->SetColor(clRed);
        canvas->FillRect(r);
        return true;
    };
    Target hooked;
    cxDrawImage(hooked.Dc(), {12, 12, 16, 16}, {10, 10, 20, 20}, glyph.get(), nullptr, -1, idmNormal);
    CustomDrawImageProc = nullptr;
    EXPECT_EQ(seen, (TRect{2, 2, 6, 6})); // in the target's coordinates
    EXPECT_EQ(hooked.At(13, 13), R);
}

TEST(cxDrawImage, TransformImagesDrawsOnTheBackgroundColour)
{
    TcxImageList list(nullptr);
    // Left half red, right half transparent through the mask colour.
    list.AddMasked(Painted(16, 16, pf24bit, [](int x, int) { return x < 8 ? R : G; }).get(), clLime);
    cxTransformImages(&list, clYellow, false);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.ImageInfoCollection()->Item(0)->GetMaskColor(), clYellow);
    TBitmap* image = list.ImageInfoCollection()->Item(0)->GetImage();
    EXPECT_EQ(image->Surface().Pixel(12, 4) & 0xFFFFFF, 0xFFFF00u); // yellow where it was transparent
    const std::uint32_t disabled = image->Surface().Pixel(4, 4) & 0xFFFFFF;
    EXPECT_NE(disabled, R);
    EXPECT_NE(disabled, 0xFFFF00u);
    // Drawn, the background colour is transparent again.
    Target t(16);
    list.Draw(t.bitmap.Canvas(), {0, 0, 16, 16}, 0);
    EXPECT_EQ(t.At(12, 4), W);
    EXPECT_EQ(t.At(4, 4), disabled);
}

TEST(cxDrawImage, DesignRectFillsFramesAndShadows)
{
    Target t(20);
    TcxCanvas canvas(t.bitmap.Canvas());
    cxDrawDesignRect(&canvas, {2, 2, 12, 12}, false);
    EXPECT_EQ(t.At(2, 2), gdi::ColorToPixel(0x507F50)); // the frame: the colour at 50 %
    EXPECT_EQ(t.At(12, 12), gdi::ColorToPixel(ColorToRef(clBtnShadow)));
    EXPECT_EQ(t.At(12, 1), W);
    // The rectangle and its shadow are left out of the clip afterwards.
    canvas.FillRect({0, 0, 20, 20}, clBlack);
    EXPECT_EQ(t.At(5, 5) == 0, false);
    EXPECT_EQ(t.At(0, 0), 0u);
    // An empty rectangle draws nothing.
    Target e;
    TcxCanvas ec(e.bitmap.Canvas());
    cxDrawDesignRect(&ec, {5, 5, 5, 9}, true);
    EXPECT_EQ(e.Painted().Right, -1);
}

class TNotified : public rtl::TComponent {
public:
    using TComponent::TComponent;
    int removed = 0;

protected:
    void Notification(rtl::TComponent* c, rtl::TOperation op) override
    {
        TComponent::Notification(c, op);
        if (op == rtl::opRemove)
            ++removed;
    }
};

TEST(cxSetImageList, MovesLinkAndFreeNotification)
{
    TNotified owner(nullptr);
    auto* first = new TcxImageList(nullptr);
    TcxImageList second(nullptr);
    TCustomImageList* field = nullptr;
    TChangeLink link;
    int changes = 0;
    link.OnChange = rtl::Event<void(rtl::TObject*)>([&](rtl::TObject*) { ++changes; });

    cxSetImageList(first, field, &link, &owner);
    EXPECT_EQ(field, first);
    EXPECT_EQ(link.Sender, first);
    EXPECT_EQ(changes, 1);
    cxSetImageList(first, field, &link, &owner); // the same list: nothing
    EXPECT_EQ(changes, 1);
    first->Add(Painted(16, 16, pf24bit, [](int, int) { return R; }).get(), nullptr);
    EXPECT_EQ(changes, 2);

    cxSetImageList(&second, field, &link, &owner);
    EXPECT_EQ(link.Sender, &second);
    first->Free(); // no longer watched
    EXPECT_EQ(owner.removed, 0);
    cxSetImageList(nullptr, field, &link, &owner);
    EXPECT_EQ(link.Sender, nullptr);
}

TEST(cxGraphicsObjects, DataReadersAndFontReset)
{
    LOGBRUSH lb = cxGetBrushData(gdi::Brush::Hatched(HS_CROSS, 0x123456));
    EXPECT_EQ(lb.lbStyle, unsigned(BS_HATCHED));
    EXPECT_EQ(lb.lbColor, 0x123456u);
    EXPECT_EQ(lb.lbHatch, HS_CROSS);
    LOGPEN lp;
    cxGetPenData(gdi::Pen{PS_DOT, 3, 0xABCDEF}, lp);
    EXPECT_EQ(lp.lopnStyle, unsigned(PS_DOT));
    EXPECT_EQ(lp.lopnWidth.X, 3);
    EXPECT_EQ(lp.lopnColor, 0xABCDEFu);

    TFont font;
    font.SetName("Courier");
    font.SetSize(20);
    font.SetStyle(FontStyle(fsBold));
    cxResetFont(&font);
    TFont fresh;
    gdi::LogFont a, b;
    cxGetFontData(font.GetHandle(), a);
    cxGetFontData(fresh.GetHandle(), b);
    EXPECT_EQ(a, b);
}

TEST(cxCursorSize, MeasuresTheMask)
{
    EXPECT_EQ(cxGetCursorSize(), (TSize{32, 32}));
    // A 32 x 32 AND mask opaque in rows 0 to 19; hot spot at y 1.
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(32, 32);
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect({0, 0, 32, 32});
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect({0, 0, 4, 20});
    EXPECT_EQ(cxCursorSizeOfMask(&mask, {0, 1}), (TSize{32, 19}));
    // A double-height mask with an empty AND part: measured by the colour picture below.
    TBitmap both;
    both.SetMonochrome(true);
    both.SetSize(32, 64);
    both.Canvas()->Brush()->SetColor(clWhite);
    both.Canvas()->FillRect({0, 0, 32, 32});
    both.Canvas()->Brush()->SetColor(clBlack);
    both.Canvas()->FillRect({0, 32, 32, 64});
    both.Canvas()->Brush()->SetColor(clWhite);
    both.Canvas()->FillRect({0, 32, 4, 42});
    EXPECT_EQ(cxCursorSizeOfMask(&both, {0, 0}), (TSize{32, 10}));
    TBitmap colour;
    colour.SetSize(8, 8);
    EXPECT_EQ(cxCursorSizeOfMask(&colour, {0, 0}), (TSize{32, 32}));
}

} // namespace
