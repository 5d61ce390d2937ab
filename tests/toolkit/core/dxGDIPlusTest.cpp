#include "platform/vcl/BitmapStreams.h"
#include "toolkit/core/dxGDIPlusClasses.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace cx;
using rtl::TMemoryStream;

std::unique_ptr<TBitmap> SmallAlphaBitmap()
{
    std::unique_ptr<TBitmap> b(cxCreateTrueColorBitmap(3, 2));
    const std::uint32_t pixels[2][3] = {{0xFFFF0000, 0x80400020, 0x00000000},
                                        {0xFF00FF00, 0xFF0000FF, 0x40202020}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            b->ScanLine(y)[x] = pixels[y][x];
    return b;
}

TEST(dxGDIPlus, ColourConversions)
{
    EXPECT_TRUE(CheckGdiPlus());
    EXPECT_EQ(dxGpColorToARGB(clNone, 255), 0u);
    EXPECT_EQ(dxGpColorToARGB(clRed, 255), 0xFFFF0000u);
    EXPECT_EQ(dxGpColorToARGB(clBtnFace, 0x80), 0x80D4D0C8u);
    EXPECT_EQ(dxGpMakeARGBColor(1, 2, 3, 4), 0x01020304u);
    const TdxGPRect r = MakeRect(TRect{2, 3, 10, 7});
    EXPECT_EQ(r.Width, 8);
    EXPECT_EQ(r.Height, 4);
    TGUIDValue id;
    EXPECT_EQ(GetCodecID("IMAGE/PNG", id), Ok);
    EXPECT_EQ(GetCodecID("image/gif", id), GenericError);
    EXPECT_THROW(GdipCheck(NotImplemented), rtl::EAssertionFailed);
}

TEST(dxGDIPlus, PngRoundTripKeepsAlpha)
{
    auto source = SmallAlphaBitmap();
    TMemoryStream png;
    Bitmap2PNG(source.get(), &png);
    ASSERT_GT(png.Size(), 8);
    EXPECT_EQ(png.Bytes()[1], 'P');
    png.SetPosition(0);
    std::unique_ptr<TBitmap> back(DifferentImage2Bitmap(&png));
    EXPECT_EQ(back->GetPixelFormat(), pf32bit);
    EXPECT_TRUE(cxCompareBitmaps(source.get(), back.get()));
}

TEST(dxGDIPlus, CorruptDataRaisesAndBitmapFilesAreRead)
{
    TMemoryStream junk(std::vector<Byte>(40, 0x5A));
    EXPECT_THROW(std::unique_ptr<TBitmap>(DifferentImage2Bitmap(&junk)), rtl::EAssertionFailed);
    // Exactly 14 bytes starting "BM" are not taken as a bitmap file here (more are needed).
    std::vector<Byte> bm(14, 0);
    bm[0] = 'B';
    bm[1] = 'M';
    TMemoryStream fourteen(bm);
    EXPECT_THROW(std::unique_ptr<TBitmap>(DifferentImage2Bitmap(&fourteen)), rtl::EAssertionFailed);
    // The image made from a stream takes the same 14 bytes for a bitmap file (and finds it short).
    fourteen.SetPosition(0);
    EXPECT_THROW(TdxGPImage{&fourteen}, EInvalidGraphic);
    TBitmap small;
    small.SetPixelFormat(pf24bit);
    small.SetSize(2, 2);
    small.ScanLine(1)[1] = 0x00123456;
    TMemoryStream file;
    SaveBitmapToStream(&small, &file);
    file.SetPosition(0);
    std::unique_ptr<TBitmap> read(DifferentImage2Bitmap(&file));
    EXPECT_EQ(read->GetPixelFormat(), pf32bit);
    EXPECT_EQ(read->ScanLine(1)[1] & 0xFFFFFF, 0x123456u);
}

TEST(dxPNGImage, LoadSaveCompareAndAlpha)
{
    TdxPNGImage empty;
    TMemoryStream nothing;
    empty.LoadFromStream(&nothing);
    EXPECT_TRUE(empty.GetEmpty());
    EXPECT_EQ(empty.GetWidth(), 0);
    TdxPNGImage otherEmpty;
    EXPECT_TRUE(empty.Compare(&otherEmpty));

    auto source = SmallAlphaBitmap();
    TdxPNGImage picture;
    picture.Assign(source.get());
    EXPECT_EQ(picture.GetWidth(), 3);
    EXPECT_TRUE(picture.GetIsAlphaUsed());
    TMemoryStream saved;
    picture.SaveToStream(&saved);
    saved.SetPosition(0);
    TdxPNGImage loaded;
    loaded.LoadFromStream(&saved);
    EXPECT_TRUE(picture.Compare(&loaded));

    TdxPNGImage copy;
    copy.Assign(&picture);
    EXPECT_TRUE(copy.Compare(&picture));
    copy.Assign(&empty); // a picture without image: no assignment cycle
    EXPECT_TRUE(copy.GetEmpty());

    TMemoryStream junk(std::vector<Byte>(20, 1));
    EXPECT_THROW(loaded.LoadFromStream(&junk), rtl::EAssertionFailed);
}

TEST(dxPNGImage, EnlargedDrawingTakesOnePixelLess)
{
    TRect used;
    ASSERT_TRUE(TdxPNGImage::DrawSourceRect({0, 0, 32, 32}, {0, 0, 16, 16}, used));
    EXPECT_EQ(used, (TRect{0, 0, 15, 15}));
    ASSERT_TRUE(TdxPNGImage::DrawSourceRect({0, 0, 16, 8}, {0, 0, 16, 16}, used));
    EXPECT_EQ(used, (TRect{0, 0, 16, 16}));
    EXPECT_FALSE(TdxPNGImage::DrawSourceRect({0, 0, 0, 32}, {0, 0, 16, 16}, used));
}

TEST(dxPNGImage, DrawsSourceOverOntoACanvas)
{
    auto source = SmallAlphaBitmap();
    TdxPNGImage picture;
    picture.Assign(source.get());
    std::unique_ptr<TBitmap> target(cxCreateTrueColorBitmap(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            target->ScanLine(y)[x] = 0x00FFFFFF;
    target->Canvas()->Draw(0, 0, &picture);
    EXPECT_EQ(target->ScanLine(0)[0] & 0xFFFFFF, 0xFF0000u); // opaque pixel copied
    EXPECT_EQ(target->ScanLine(0)[2] & 0xFFFFFF, 0xFFFFFFu); // transparent pixel leaves white
}

} // namespace
