#include "platform/vcl/BitmapStreams.h"
#include "toolkit/core/cxGraphicsBitmaps.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using rtl::TMemoryStream;

std::vector<Byte> Compressed(const std::vector<Byte>& data, int block)
{
    TMemoryStream in(data), out;
    TcxBitmap::CompressByBlock(&in, &out, block, int(data.size()));
    return out.Bytes();
}

std::vector<Byte> Repeat(std::vector<Byte> block, int times)
{
    std::vector<Byte> out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), block.begin(), block.end());
    return out;
}

TEST(cxBitmapCodec, RunsOfBlocks)
{
    // 300 identical 3-byte blocks: repeat runs of 125, 125 and 50, each with the block once.
    const std::vector<Byte> abc{1, 2, 3};
    const std::vector<Byte> expected{0x7D, 1, 2, 3, 0x7D, 1, 2, 3, 0x32, 1, 2, 3};
    EXPECT_EQ(Compressed(Repeat(abc, 300), 3), expected);
    // Two equal blocks then a different one: a repeat run of 2, then the last one as a literal 1.
    EXPECT_EQ(Compressed({7, 7, 9}, 1), (std::vector<Byte>{0x02, 7, 0x81, 9}));
    // A literal run gives its last block to a following repeat run.
    EXPECT_EQ(Compressed({1, 2, 3, 3}, 1), (std::vector<Byte>{0x82, 1, 2, 0x02, 3}));
    for (const auto& data : {Repeat(abc, 300), std::vector<Byte>{1, 2, 3, 3, 3, 4, 5, 5}}) {
        TMemoryStream packed(Compressed(data, 1)), out;
        TcxBitmap::DecompressByBlock(&packed, &out, 1, int(packed.Size()));
        EXPECT_EQ(out.Bytes(), data);
    }
}

void Paint(TBitmap& b)
{
    for (int y = 0; y < b.GetHeight(); ++y)
        for (int x = 0; x < b.GetWidth(); ++x)
            b.ScanLine(y)[x] = (x < 3 ? 0x80102030u : 0x00C0C0C0u) + std::uint32_t(y);
}

TEST(cxBitmapStream, CompressedRoundTripAndBothReaders)
{
    for (TPixelFormat format : {pf24bit, pf32bit}) {
        TcxBitmap source(7, 5, format);
        Paint(source);
        source.CompressData = true;
        TMemoryStream stream;
        source.WriteData(&stream);
        const auto& bytes = stream.Bytes();
        ASSERT_GT(bytes.size(), 10u);
        EXPECT_EQ(std::memcmp(&bytes[4], "XDBM", 4), 0);
        EXPECT_EQ(bytes[8], 2);
        std::uint32_t size;
        std::memcpy(&size, bytes.data(), 4);
        EXPECT_EQ(size, bytes.size() - 10);

        TcxBitmap copy;
        stream.SetPosition(0);
        copy.ReadData(&stream);
        EXPECT_TRUE(cxCompareBitmaps(&source, &copy));
        EXPECT_EQ(stream.Position(), stream.Size());

        // Plain data is read by the same reader.
        source.CompressData = false;
        TMemoryStream plain;
        source.WriteData(&plain);
        TcxBitmap fromPlain;
        plain.SetPosition(0);
        fromPlain.ReadData(&plain);
        EXPECT_TRUE(cxCompareBitmaps(&source, &fromPlain));
    }
}

TEST(cxBitmapStream, TruncatedCompressedDataFailsCleanly)
{
    TcxBitmap source(8, 8, pf24bit);
    Paint(source);
    source.CompressData = true;
    TMemoryStream stream;
    source.WriteData(&stream);
    std::vector<Byte> cut(stream.Bytes().begin(), stream.Bytes().begin() + 40);
    TMemoryStream shortStream(cut);
    TcxBitmap target;
    EXPECT_THROW(target.ReadData(&shortStream), EInvalidGraphic);
}

TEST(cxBitmap, NotificationsFollowTheLock)
{
    TcxBitmap b(4, 4);
    int changes = 0;
    b.OnChange = [&](rtl::TObject*) { ++changes; };
    b.SetSize(4, 4);
    EXPECT_EQ(changes, 0); // unchanged size
    b.SetSize(-3, -1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.GetWidth(), 0);
    EXPECT_EQ(b.GetHeight(), 0);
    b.BeginUpdate();
    b.EndUpdate(false);
    EXPECT_EQ(changes, 1);
    b.BeginUpdate();
    b.BeginUpdate();
    b.SetSize(2, 2);
    b.EndUpdate(true);
    EXPECT_EQ(changes, 1); // inner unlock
    b.EndUpdate(false);
    EXPECT_EQ(changes, 2); // changed while locked
    b.BeginUpdate();
    b.EndUpdate(true);
    EXPECT_EQ(changes, 3);
}

TEST(cxBitmap32, FormatAndAlphaOperations)
{
    TcxBitmap32 b(2, 2, true);
    EXPECT_EQ(b.GetPixelFormat(), pf32bit);
    EXPECT_FALSE(b.GetIsAlphaUsed());
    b.ScanLine(0)[0] = 0x00FFFFFF; // white is the transparent colour below
    b.ScanLine(0)[1] = 0x00102030;
    b.RecoverTransparency(clWhite);
    EXPECT_EQ(b.ScanLine(0)[0], 0u);
    EXPECT_EQ(b.ScanLine(0)[1], 0xFF102030u);
    EXPECT_TRUE(b.GetIsAlphaUsed());
    b.SetAlphaChannel(7);
    EXPECT_EQ(b.ScanLine(1)[1] >> 24, 7u);
    b.SetPixelFormat(pf24bit);
    EXPECT_THROW(b.Changed(&b), cx::EdxException);
}

TEST(cxAlphaBitmap, MaskHatchAndShadow)
{
    TcxAlphaBitmap b(4, 4);
    b.Clear();
    b.ScanLine(0)[0] = 0xFF112233;
    b.TransformBitmap(btmMakeMask);
    EXPECT_EQ(b.ScanLine(0)[0], 0u);          // opaque -> 0
    EXPECT_EQ(b.ScanLine(3)[3], 0xFFFFFFFFu); // transparent black -> white, alpha 255

    TcxAlphaBitmap h(4, 4);
    h.Clear();
    h.DrawHatch(clRed, clBlue, 2, 255, 255);
    // Cells of 2 x 2 anchored at the bottom-left: the first colour there.
    EXPECT_EQ(h.ScanLine(3)[0], 0xFFFF0000u);
    EXPECT_EQ(h.ScanLine(2)[1], 0xFFFF0000u);
    EXPECT_EQ(h.ScanLine(3)[2], 0xFF0000FFu);
    EXPECT_EQ(h.ScanLine(1)[0], 0xFF0000FFu);
    EXPECT_EQ(h.ScanLine(0)[3], 0xFFFF0000u);

    TcxAlphaBitmap g(4, 4);
    g.Clear();
    g.TransformBitmap(btmSetOpaque);
    TcxAlphaBitmap mask(4, 4);
    mask.Clear();
    g.DrawShadow(&mask, 2, clGray, true);
    EXPECT_EQ(g.GetWidth(), 6);
    EXPECT_EQ(g.GetHeight(), 6);
}

TEST(cxAlphaBitmap, GreyMapsRoundHalvesToEven)
{
    RGBQUAD p{10, 10, 10, 255};
    TcxAlphaBitmap::Scale(p, GrayMap);
    EXPECT_EQ(p.rgbRed, 10);
    TcxAlphaBitmap b(1, 1);
    b.ScanLine(0)[0] = 0xFF0000FF; // pure blue
    b.TransformBitmap(btmFade);
    EXPECT_EQ(b.ScanLine(0)[0] & 0xFF, unsigned(std::nearbyint(255 * 0.114)));
    b.ScanLine(0)[0] = 0x80646464;
    b.TransformBitmap(btmDingy); // not opaque: all four channels times 200/255
    EXPECT_EQ(b.ScanLine(0)[0], 0x644E4E4Eu);
}

} // namespace
