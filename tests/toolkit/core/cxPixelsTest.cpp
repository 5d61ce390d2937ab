#include "toolkit/core/cxGraphicsBitmaps.h"
#include "toolkit/core/cxGraphicsPixels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

RGBQUAD Q(Byte b, Byte g, Byte r, Byte a) { return {b, g, r, a}; }

std::uint32_t Word32(const RGBQUAD& q)
{
    std::uint32_t v;
    std::memcpy(&v, &q, 4);
    return v;
}

// A 32-bit bitmap with every pixel set to v (0xAARRGGBB).
std::unique_ptr<TBitmap> Filled(int w, int h, std::uint32_t v)
{
    std::unique_ptr<TBitmap> b(cxCreateTrueColorBitmap(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->ScanLine(y)[x] = v;
    return b;
}

TEST(cxPixels, LightColorsFollowTheSystemColours)
{
    // Button face D4D0C8, highlight 0A246A, window FFFFFF (stored red-low).
    EXPECT_EQ(GetLightColor(100, 0, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(GetLightColor(0, 0, 100), 0xFFFFFF);
    // Channel mixes with MulDiv rounding: red 0xD4*11% + 0x0A*9% + 0xFF*73% = 23 + 1 + 186.
    EXPECT_EQ(GetLightDownedColor() & 0xFF, 23 + 1 + 186);
    // Over-range sums clamp.
    EXPECT_EQ(GetLightColor(100, 100, 100), 0xFFFFFF);
    EXPECT_EQ(GetLightBtnFaceColor() & 0xFF, 0xD4 + rtl::MulDiv(255 - 0xD4, 16, 100));
}

TEST(cxPixels, ColourKeywordsAreFirstMatch)
{
    EXPECT_EQ(cxColorsByName.size(), 168u);
    TColor c = 0;
    ASSERT_TRUE(cxColorByName("ButtonFace", c));
    EXPECT_EQ(c, clBtnFace);
    ASSERT_TRUE(cxColorByName("CornflowerBlue", c));
    EXPECT_EQ(c, TColor(0xED9564));
    EXPECT_FALSE(cxColorByName("lightgray", c)); // only "lightgrey" is spelt with an e
    std::string name = "unchanged";
    EXPECT_TRUE(cxNameByColor(TColor(0xFFFF00), name));
    EXPECT_EQ(name, "aqua");
    EXPECT_TRUE(cxNameByColor(TColor(0xFF00FF), name));
    EXPECT_EQ(name, "fuchsia");
    EXPECT_TRUE(cxNameByColor(clBtnFace, name));
    EXPECT_EQ(name, "buttonface");
    name = "unchanged";
    EXPECT_FALSE(cxNameByColor(TColor(0x010203), name));
    EXPECT_EQ(name, "unchanged");
}

TEST(cxPixels, BlendFunctionRoundsHalvesToEven)
{
    struct Case {
        RGBQUAD source, dest;
        Byte alpha;
        RGBQUAD expected;
    };
    const Case cases[] = {
        {Q(10, 20, 30, 255), Q(200, 200, 200, 200), 255, Q(10, 20, 30, 255)}, // opaque copies
        {Q(10, 20, 30, 255), Q(200, 100, 50, 7), 0, Q(200, 100, 50, 7)},      // alpha 0 keeps
        // Half alpha, premultiplied source: 0 + 255 * 0.5 = 127.5 -> 128; 1 + 127.5 = 128.5 -> 128.
        {Q(0, 1, 0, 128), Q(255, 255, 0, 0), 255, Q(127, 128, 0, 128)},
    };
    for (const Case& c : cases) {
        RGBQUAD d = c.dest;
        cxBlendFunction(c.source, d, c.alpha);
        EXPECT_EQ(Word32(d), Word32(c.expected));
    }
}

TEST(cxPixels, AlphaBlendInSoftwareBetweenBitmaps)
{
    auto dest = Filled(4, 4, 0x00646464);    // grey 100, alpha 0
    auto source = Filled(2, 2, 0x80800000);  // premultiplied half red, alpha 128
    cxAlphaBlend(dest.get(), source.get(), {1, 1, 3, 3}, {0, 0, 2, 2});
    // inv = 1 - 128/255: 100 * inv = 49.8 -> 50 for blue and green; red 128 + 49.8 -> 178.
    EXPECT_EQ(dest->ScanLine(1)[1], 0x80B23232u);
    EXPECT_EQ(dest->ScanLine(0)[0], 0x00646464u); // outside the rectangle
    EXPECT_EQ(dest->ScanLine(3)[3], 0x00646464u);
}

TEST(cxPixels, ColourVeilClampsInsteadOfWrapping)
{
    auto b = Filled(3, 1, 0xFFFFFFFF);
    // 255 * 0.5 rounds up twice: the sum 256 is clamped to 255.
    cxAlphaBlend(b.get(), {0, 0, 2, 1}, clWhite, 128);
    EXPECT_EQ(b->ScanLine(0)[0] & 0x00FFFFFF, 0x00FFFFFFu);
    EXPECT_EQ(b->ScanLine(0)[0] >> 24, unsigned(std::nearbyint(255 * (1 - 128 / 255.0))));
    EXPECT_EQ(b->ScanLine(0)[2], 0xFFFFFFFFu); // clipped out
}

TEST(cxPixels, RegionFromOpaquePixelsKeepsHoles)
{
    auto b = Filled(4, 4, 0x000000FF); // red in RGBQUAD order is 0x00FF0000; this is blue
    b->ScanLine(1)[1] = 0x00FFFFFF;
    b->ScanLine(1)[2] = 0x00FFFFFF;
    std::unique_ptr<gdi::Region> rgn(cxCreateRegionFromBitmap(b.get(), clWhite));
    ASSERT_TRUE(rgn);
    EXPECT_TRUE(rgn->Contains(0, 1));
    EXPECT_FALSE(rgn->Contains(1, 1));
    EXPECT_FALSE(rgn->Contains(2, 1));
    EXPECT_TRUE(rgn->Contains(3, 1));
    EXPECT_EQ(rgn->Box(), (TRect{0, 0, 4, 4}));
    auto white = Filled(2, 2, 0xFFFFFFFF); // alpha is ignored
    EXPECT_EQ(cxCreateRegionFromBitmap(white.get(), clWhite), nullptr);
}

TEST(cxPixels, CopiesAndComparisons)
{
    auto a = Filled(4, 4, 0x00112233);
    auto b = Filled(4, 4, 0x00112233);
    EXPECT_TRUE(cxCompareBitmaps(a.get(), b.get()));
    b->ScanLine(3)[0] = 0x00010203;
    EXPECT_FALSE(cxCompareBitmaps(a.get(), b.get()));
    EXPECT_FALSE(cxCompareBitmaps(a.get(), nullptr));
    auto c = Filled(4, 4, 0);
    cxCopyImage(b.get(), c.get(), {1, 0}, {0, 3}, {0, 0, 1, 1}); // source (0,3) to dest (1,0)
    EXPECT_EQ(c->ScanLine(0)[1], 0x00010203u);
    std::unique_ptr<TBitmap> made(cxCreateBitmap(TSize{3, 2}, pf24bit));
    EXPECT_EQ(made->GetWidth(), 3);
    EXPECT_EQ(cxGetBitmapPixelFormat(made.get()), 24);
    made->SetPixelFormat(pf15bit);
    EXPECT_EQ(cxGetBitmapPixelFormat(made.get()), 16);
}

TEST(cxPixels, BitmapHandlesOfTheirOwn)
{
    HBITMAP handle = cxCreateTrueColorBitmapHandle(5, 3, 32);
    ASSERT_NE(handle, nullptr);
    gdi::BITMAP data;
    ASSERT_TRUE(cxGetBitmapData(handle, data));
    EXPECT_EQ(data.bmWidth, 5);
    EXPECT_EQ(data.bmHeight, 3);
    EXPECT_EQ(data.bmBitsPixel, 32);
    EXPECT_EQ(data.bmWidthBytes, 20);
    EXPECT_EQ(data.bmPlanes, 1);
    EXPECT_TRUE(gdi::DeleteObject(handle));
    // A depth or size no bitmap has gives no handle, and no handle no data.
    EXPECT_EQ(cxCreateTrueColorBitmapHandle(5, 3, 12), nullptr);
    EXPECT_EQ(cxCreateTrueColorBitmapHandle(0x10000, 0x10000), nullptr);
    EXPECT_FALSE(cxGetBitmapData(nullptr, data));
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf1bit);
    bitmap.SetSize(17, 2);
    ASSERT_TRUE(cxGetBitmapData(bitmap.GetHandle(), data));
    EXPECT_EQ(data.bmBitsPixel, 1);
    EXPECT_EQ(data.bmWidthBytes, 4);   // rows padded to 16 bits
}

// ---- Lanczos-3 ----

std::unique_ptr<TBitmap> Gradient(int w, int h)
{
    auto b = Filled(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->ScanLine(y)[x] = 0xFF000000u | std::uint32_t(x * 40 + y * 5) << 8 | std::uint32_t(200 - x * 10);
    return b;
}

TEST(cxSmoothResize, IdentitySizeReproducesTheSource)
{
    auto src = Gradient(5, 4);
    auto dst = Filled(5, 4, 0x12345678);
    cxSmoothResizeBitmap(src.get(), dst.get(), true);
    EXPECT_TRUE(cxCompareBitmaps(src.get(), dst.get()));
    for (const TContributors& c : cxBuildContributors(5, 5, 1.0f)) {
        ASSERT_EQ(c.TapCount, 1);
        EXPECT_EQ(c.Taps[0].Weight, 256);
    }
}

TEST(cxSmoothResize, DoubleSizeKeepsTheCornersAndStaysInRange)
{
    auto src = Filled(4, 4, 0xFFC86432);
    auto dst = Filled(8, 8, 0);
    cxSmoothResizeBitmap(src.get(), dst.get(), true);
    // Scale (8-1)/(4-1): the first and last destination pixels sit on source pixels.
    EXPECT_EQ(dst->ScanLine(0)[0], 0xFFC86432u);
    EXPECT_EQ(dst->ScanLine(7)[7], 0xFFC86432u);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t p = dst->ScanLine(y)[x];
            EXPECT_NEAR(int(p & 0xFF), 0x32, 3);
            EXPECT_NEAR(int(p >> 24), 0xFF, 4);
        }
}

TEST(cxSmoothResize, HalfSizeOfAStepKeepsItsOrder)
{
    auto src = Filled(8, 2, 0xFF000000);
    for (int y = 0; y < 2; ++y)
        for (int x = 4; x < 8; ++x)
            src->ScanLine(y)[x] = 0xFFC8C8C8;
    auto dst = Filled(4, 1, 0);
    cxSmoothResizeBitmap(src.get(), dst.get(), true);
    const int left = int(dst->ScanLine(0)[0] & 0xFF), right = int(dst->ScanLine(0)[3] & 0xFF);
    EXPECT_LT(left, 20);
    EXPECT_GT(right, 180);
    // Weights of a narrowed kernel sum to about 256.
    for (const TContributors& c : cxBuildContributors(8, 4, 3.0f / 7.0f)) {
        int sum = 0;
        for (const TContributor& t : c.Taps) {
            sum += t.Weight;
            EXPECT_GE(t.SourceIndex, 0);
            EXPECT_LT(t.SourceIndex, 8);
        }
        EXPECT_NEAR(sum, 256, 4);
    }
}

TEST(cxSmoothResize, OnePixelSourceStaysInsideTheBitmap)
{
    auto src = Filled(1, 1, 0xFF646464);
    auto dst = Filled(3, 3, 0);
    cxSmoothResizeBitmap(src.get(), dst.get(), true);
    // The plain ratio 3/1 puts destination 0 on the pixel itself.
    EXPECT_EQ(dst->ScanLine(2)[0], 0xFF646464u);
    for (const TContributors& c : cxBuildContributors(1, 3, 3.0f))
        for (const TContributor& t : c.Taps)
            EXPECT_EQ(t.SourceIndex, 0);
    auto empty = Filled(0, 0, 0);
    cxSmoothResizeBitmap(empty.get(), dst.get(), true); // nothing happens
    EXPECT_EQ(dst->ScanLine(2)[0], 0xFF646464u);
}

TEST(cxSmoothResize, WithoutForceTheSystemStretchScalesTheWholeImage)
{
    auto src = Filled(2, 2, 0x00AABBCC);
    auto dst = Filled(4, 4, 0);
    cxSmoothResizeBitmap(src.get(), dst.get(), false);
    EXPECT_EQ(dst->ScanLine(3)[3] & 0xFFFFFF, 0x00AABBCCu);
}

} // namespace
