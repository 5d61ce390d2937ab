// Pictures as editor values: the graphic-class registry, the header rule of LoadPicture,
// SavePicture, and damaged values of every picture kind giving an empty picture.
#include "tests/platform/vcl/VclTestSupport.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/BitmapStreams.h"
#include "platform/vcl/Jpeg.h"
#include "toolkit/core/dxGDIPlusClasses.h"
#include "toolkit/editors/cxImage.h"

#include <gtest/gtest.h>

using rtl::Variant;

using namespace cx;

namespace {

std::unique_ptr<TBitmap> SmallBitmap(int w = 6, int h = 4)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp->ScanLine(y)[x] = std::uint32_t(x * 40) << 16 | std::uint32_t(y * 60);
    return bmp;
}

std::string BytesOf(TGraphic* graphic)
{
    rtl::TMemoryStream stream;
    graphic->SaveToStream(&stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
}

std::string WithHeader(const std::string& bytes, std::uint32_t size)
{
    std::string h = {1, 0, 0, 1, char(size), char(size >> 8), char(size >> 16), char(size >> 24)};
    return h + bytes;
}

Variant ByteArray(const std::string& bytes)
{
    Variant v = rtl::VarArrayCreate(0, int(bytes.size()) - 1, rtl::varByte);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        v[int(i)] = int(std::uint8_t(bytes[i]));
    return v;
}

} // namespace

TEST(cxGraphicRegistry, DefaultsNamesAndChanges)
{
    std::vector<std::string> names;
    for (const auto& c : GetRegisteredGraphicClasses())
        names.push_back(c.ClassName());
    EXPECT_EQ(names, (std::vector<std::string>{"TBitmap", "TIcon", "TMetafile", "TdxPNGImage", "TJPEGImage"}));
    EXPECT_EQ(GetGraphicClassByName("tjpegimage"), TGraphicClass::Of<TJPEGImage>());
    EXPECT_FALSE(GetGraphicClassByName("TGraphic"));

    UnRegisterGraphicClass(TGraphicClass::Of<TIcon>());
    EXPECT_FALSE(GetGraphicClassByName("TIcon"));
    RegisterGraphicClass(TGraphicClass::Of<TIcon>());
    RegisterGraphicClass(TGraphicClass::Of<TIcon>()); // once only
    EXPECT_EQ(GetRegisteredGraphicClasses().size(), 5u);
    EXPECT_EQ(GetRegisteredGraphicClasses().back(), TGraphicClass::Of<TIcon>());
    // Back to the usual order for the other tests.
    UnRegisterGraphicClass(TGraphicClass::Of<TIcon>());
    UnRegisterGraphicClass(TGraphicClass::Of<TMetafile>());
    UnRegisterGraphicClass(TGraphicClass::Of<TdxPNGImage>());
    UnRegisterGraphicClass(TGraphicClass::Of<TJPEGImage>());
    for (auto c : {TGraphicClass::Of<TIcon>(), TGraphicClass::Of<TMetafile>(), TGraphicClass::Of<TdxPNGImage>(),
                   TGraphicClass::Of<TJPEGImage>()})
        RegisterGraphicClass(c);
    EXPECT_EQ(GetRegisteredGraphicClasses().front(), TGraphicClass::Of<TBitmap>());
}

TEST(cxLoadPicture, ValuesAndTheGraphicHeader)
{
    auto bmp = SmallBitmap();
    const std::string file = BytesOf(bmp.get());
    const std::uint32_t n = std::uint32_t(file.size());
    struct Case {
        const char* name;
        Variant value;
        bool picture;
    } cases[] = {
        {"bytes as a string", Variant(file), true},
        {"byte array", ByteArray(file), true},
        {"header with the right count", Variant(WithHeader(file, n)), true},
        {"header in an array", ByteArray(WithHeader(file, n)), true},
        {"header with a wrong count is read from byte 0", Variant(WithHeader(file, n + 1)), false},
        {"other start", Variant(std::string{1, 0, 0, 2, 0, 0, 0, 0} + file), false},
        {"seven bytes", Variant(file.substr(0, 7)), false},
        {"empty string", Variant(std::string()), false},
        {"a number", Variant(42), false},
        {"null", Variant::MakeNull(), false},
    };
    for (const auto& c : cases) {
        TPicture picture;
        picture.SetGraphic(SmallBitmap(2, 2).release()); // something to be replaced or emptied
        LoadPicture(&picture, TGraphicClass::Of<TBitmap>(), c.value);
        EXPECT_EQ(!picture.IsEmpty(), c.picture) << c.name;
        if (c.picture) {
            EXPECT_EQ(picture.GetWidth(), 6) << c.name;
            EXPECT_EQ(SavePicture(&picture), file) << c.name; // saved without a header
        }
    }
}

TEST(cxLoadPicture, GraphicClassDecidesTheReader)
{
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(SmallBitmap(16, 8).get());
    const std::string bytes = BytesOf(jpeg.get());

    TPicture picture;
    LoadPicture(&picture, TGraphicClass::Of<TJPEGImage>(), Variant(bytes));
    ASSERT_FALSE(picture.IsEmpty());
    EXPECT_EQ(picture.GetGraphic()->ClassName(), "TJPEGImage");
    EXPECT_EQ(SavePicture(&picture), bytes);
    // Without a class the value is read as a bitmap, which a JPEG file is not.
    LoadPicture(&picture, {}, Variant(bytes));
    EXPECT_TRUE(picture.IsEmpty());
    LoadPicture(&picture, {}, Variant(BytesOf(SmallBitmap().get())));
    EXPECT_EQ(picture.GetGraphic()->ClassName(), "TBitmap");
    // Metafiles are never read.
    LoadPicture(&picture, TGraphicClass::Of<TMetafile>(), Variant(std::string(64, 'x')));
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_EQ(SavePicture(&picture), "");
}

TEST(cxLoadPicture, DamagedValuesOfEveryKindGiveAnEmptyPicture)
{
    auto bmp = SmallBitmap();
    TIcon icon;
    icon.SetImages(bmp.get(), nullptr);
    TdxPNGImage png;
    png.Assign(bmp.get());
    TJPEGImage jpeg;
    jpeg.Assign(bmp.get());
    struct Seed {
        TGraphicClass cls;
        std::string bytes;
    } seeds[] = {
        {TGraphicClass::Of<TBitmap>(), BytesOf(bmp.get())},
        {TGraphicClass::Of<TIcon>(), BytesOf(&icon)},
        {TGraphicClass::Of<TdxPNGImage>(), BytesOf(&png)},
        {TGraphicClass::Of<TJPEGImage>(), BytesOf(&jpeg)},
    };
    for (const auto& seed : seeds) {
        const std::string name = seed.cls.ClassName();
        TPicture picture;
        LoadPicture(&picture, seed.cls, Variant(seed.bytes));
        ASSERT_FALSE(picture.IsEmpty()) << name;
        // Cut at every length: a picture, when one comes, has a sane size; mostly none comes.
        for (std::size_t len = 0; len < seed.bytes.size(); ++len) {
            LoadPicture(&picture, seed.cls, Variant(seed.bytes.substr(0, len)));
            if (!picture.IsEmpty()) {
                EXPECT_LE(picture.GetWidth(), 6) << name << " cut at " << len;
            }
        }
        for (std::size_t i = 0; i < seed.bytes.size(); ++i) {
            std::string flipped = seed.bytes;
            flipped[i] = char(flipped[i] ^ 0xFF);
            LoadPicture(&picture, seed.cls, Variant(flipped));
        }
        LoadPicture(&picture, seed.cls, Variant(std::string(40, '\x7F')));
        EXPECT_TRUE(picture.IsEmpty()) << name;
    }
}

TEST(cxPastePicture, APastedBitmapIsStoredAsTheClassAsks)
{
    EnsureVclApp();
    Clipboard()->SetAsText("no picture");
    TPicture picture;
    EXPECT_FALSE(CanPasteFromClipboard(TGraphicClass::Of<TBitmap>()));
    EXPECT_FALSE(PastePictureFromClipboard(&picture, TGraphicClass::Of<TBitmap>()));
    EXPECT_TRUE(picture.IsEmpty());

    auto bmp = SmallBitmap(16, 8);
    Clipboard()->Assign(bmp.get());
    struct Case {
        TGraphicClass cls;
        bool canPaste;
    } cases[] = {
        {TGraphicClass::Of<TBitmap>(), true},  {TGraphicClass::Of<TJPEGImage>(), true},
        {TGraphicClass::Of<TIcon>(), false},   {TGraphicClass::Of<TMetafile>(), false},
        {TGraphicClass::Of<TdxPNGImage>(), true}, {TGraphicClass(), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CanPasteFromClipboard(c.cls), c.canPaste) << (c.cls ? c.cls.ClassName() : "none");

    ASSERT_TRUE(PastePictureFromClipboard(&picture, TGraphicClass::Of<TJPEGImage>()));
    ASSERT_EQ(picture.GetGraphic()->ClassName(), "TJPEGImage");
    const std::string stored = SavePicture(&picture);
    ASSERT_GT(stored.size(), 2u);
    EXPECT_EQ(std::uint8_t(stored[0]), 0xFF); // compressed already: a JPEG file
    EXPECT_EQ(std::uint8_t(stored[1]), 0xD8);
    TPicture reloaded;
    LoadPicture(&reloaded, TGraphicClass::Of<TJPEGImage>(), Variant(stored));
    EXPECT_EQ(reloaded.GetWidth(), 16);
    EXPECT_EQ(reloaded.GetHeight(), 8);

    ASSERT_TRUE(PastePictureFromClipboard(&picture, TGraphicClass::Of<TBitmap>()));
    EXPECT_EQ(picture.GetGraphic()->ClassName(), "TBitmap");
}

TEST(cxImageGeometry, DrawRectangleTable)
{
    const TRect client{10, 20, 110, 70}; // 100 x 50
    struct Case {
        const char* name;
        TSize picture;
        bool stretch, proportional, center;
        TRect expected;
    } cases[] = {
        {"small, proportional: own size at the corner", {40, 20}, false, true, false, {10, 20, 50, 40}},
        {"small, centred", {40, 20}, false, true, true, {40, 35, 80, 55}},
        {"wide, proportional: width-limited", {400, 100}, false, true, false, {10, 20, 110, 45}},
        {"tall, proportional: height-limited", {100, 200}, false, true, true, {47, 20, 72, 70}},
        {"stretch proportional enlarges", {20, 20}, true, true, false, {10, 20, 60, 70}},
        {"stretch fills", {20, 20}, true, false, false, {10, 20, 110, 70}},
        {"large, not proportional: clipped at its size", {300, 300}, false, false, false, {10, 20, 310, 320}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cxImageDrawRect(c.picture, client, c.stretch, c.proportional, c.center, {0, 0}), c.expected)
            << c.name;
    // A scrolled, uncentred picture moves back by the offset.
    EXPECT_EQ(cxImageDrawRect({300, 300}, client, false, false, false, {8, 16}), (TRect{2, 4, 302, 304}));
}

TEST(cxImageGeometry, ScaledSideRoundsHalvesToEven)
{
    EXPECT_EQ(cxImageScaledSide(10, 4, 10), 25);
    EXPECT_EQ(cxImageScaledSide(5, 2, 5), 12);  // 12.5 -> 12
    EXPECT_EQ(cxImageScaledSide(3, 2, 5), 8);   // 7.5 -> 8
    EXPECT_EQ(cxImageScaledSide(3, 0, 5), 0);
}
