// Pictures: JPEG through libjpeg (round trip, damaged and oversized data), the picture's
// graphic by file extension, its change notice, and the clipboard.
#include "VclTestSupport.h"

#include "platform/rtl/Streams.h"
#include "platform/vcl/BitmapStreams.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Jpeg.h"
#include "platform/vcl/Picture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

#include <jpeglib.h>

namespace {

// Four flat quarters (red, green, blue, white): large areas survive lossy compression.
std::unique_ptr<TBitmap> Quarters(int w = 32, int h = 16)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp->ScanLine(y)[x] = y < h / 2 ? (x < w / 2 ? 0xFF0000u : 0x00FF00u) : (x < w / 2 ? 0x0000FFu : 0xFFFFFFu);
    return bmp;
}

std::vector<std::uint8_t> JpegBytes()
{
    auto bmp = Quarters();
    return EncodeJpeg(bmp.get(), 90);
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 24)
{
    for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

void LoadJpeg(TJPEGImage& jpeg, const std::vector<std::uint8_t>& bytes)
{
    rtl::TMemoryStream stream(bytes);
    jpeg.LoadFromStream(&stream);
}

} // namespace

TEST(VclJpeg, RoundTripKeepsSizeAndColours)
{
    auto source = Quarters();
    TJPEGImage out;
    out.Assign(source.get());
    EXPECT_TRUE(out.Data().empty());
    rtl::TMemoryStream stream;
    out.SaveToStream(&stream);
    ASSERT_GT(stream.Size(), 4);
    EXPECT_EQ(stream.Memory()[0], 0xFF);
    EXPECT_EQ(stream.Memory()[1], 0xD8);

    stream.SetPosition(0);
    TJPEGImage in;
    in.LoadFromStream(&stream);
    ASSERT_EQ(in.GetWidth(), 32);
    ASSERT_EQ(in.GetHeight(), 16);
    TBitmap* bmp = in.Bitmap();
    for (auto [x, y] : {std::pair{3, 3}, {28, 3}, {3, 12}, {28, 12}})
        EXPECT_TRUE(Near(bmp->ScanLine(y)[x], source->ScanLine(y)[x])) << x << "," << y;
}

TEST(VclJpeg, QualityChangesTheSize)
{
    auto bmp = Quarters(64, 64);
    for (int y = 0; y < 64; ++y) // detail that costs bytes at high quality
        for (int x = 0; x < 64; ++x)
            bmp->ScanLine(y)[x] ^= std::uint32_t((x * 37 + y * 91) & 0x3F) * 0x010101u;
    EXPECT_LT(EncodeJpeg(bmp.get(), 10).size(), EncodeJpeg(bmp.get(), 90).size());
}

TEST(VclJpeg, DamagedDataRaisesAndKeepsTheImage)
{
    const auto good = JpegBytes();
    TJPEGImage jpeg;
    LoadJpeg(jpeg, good);
    // Every cut short of the end-of-image marker is refused.
    for (std::size_t len = 0; len + 2 < good.size(); ++len) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + std::ptrdiff_t(len));
        EXPECT_THROW(LoadJpeg(jpeg, cut), EInvalidGraphic) << "length " << len;
        ASSERT_EQ(jpeg.GetWidth(), 32);
    }
    // Flipped bytes may or may not still decode; neither may take the process down.
    for (std::size_t i = 0; i < good.size(); ++i) {
        auto flipped = good;
        flipped[i] ^= 0xA5;
        try {
            LoadJpeg(jpeg, flipped);
        } catch (const EInvalidGraphic&) {
        }
    }
    EXPECT_THROW(LoadJpeg(jpeg, std::vector<std::uint8_t>(100, 0x42)), EInvalidGraphic);
}

TEST(VclJpeg, OversizedHeaderIsRefusedBeforeDecoding)
{
    auto bytes = JpegBytes();
    // The frame header: FF C0, length (2), precision (1), height (2), width (2).
    std::size_t sof = 0;
    while (sof + 1 < bytes.size() && !(bytes[sof] == 0xFF && bytes[sof + 1] == 0xC0))
        ++sof;
    ASSERT_LT(sof + 9, bytes.size());
    for (auto [h, w] : {std::pair{0xFFFF, 0xFFFF}, {20000, 10}, {10000, 10000}}) {
        auto crafted = bytes;
        crafted[sof + 5] = std::uint8_t(h >> 8);
        crafted[sof + 6] = std::uint8_t(h);
        crafted[sof + 7] = std::uint8_t(w >> 8);
        crafted[sof + 8] = std::uint8_t(w);
        TJPEGImage jpeg;
        EXPECT_THROW(LoadJpeg(jpeg, crafted), EInvalidGraphic) << h << "x" << w;
        EXPECT_TRUE(jpeg.GetEmpty());
    }
}

namespace {

// A progressive JPEG of a 16 x 16 picture whose scan script sends the DC coefficients in one
// scan and then the given AC bands of each component a scan each: one coefficient per scan makes
// 63 scans a component.
std::vector<std::uint8_t> ProgressiveJpeg(const std::vector<std::pair<int, int>>& bandsPerComponent)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = info.image_height = 16;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    std::vector<jpeg_scan_info> scans;
    scans.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int c = 0; c < 3; ++c)
        for (int k = 1; k <= 63;) {
            const int last = bandsPerComponent[size_t(c)].first == 1 ? k : 63;
            scans.push_back({1, {c, 0, 0, 0}, k, last, 0, 0});
            k = last + 1;
        }
    info.scan_info = scans.data();
    info.num_scans = int(scans.size());
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(16 * 3);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            row[size_t(x) * 3] = std::uint8_t(x * 16);
            row[size_t(x) * 3 + 1] = std::uint8_t(y * 16);
            row[size_t(x) * 3 + 2] = 0x80;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

} // namespace

TEST(VclJpeg, ProgressiveFilesOfEndlessScansAreRefused)
{
    // A scan is a pass over the whole picture for a few bytes: bounded, so that a small file at
    // the largest size cannot decode for minutes. 66 scans still read, 190 do not.
    TJPEGImage jpeg;
    LoadJpeg(jpeg, ProgressiveJpeg({{1, 0}, {63, 0}, {63, 0}}));
    EXPECT_EQ(jpeg.GetWidth(), 16);
    EXPECT_TRUE(Near(jpeg.Bitmap()->ScanLine(15)[15] & 0xFFFFFFu, 0xF0F080u, 40));
    TJPEGImage endless;
    EXPECT_THROW(LoadJpeg(endless, ProgressiveJpeg({{1, 0}, {1, 0}, {1, 0}})), EInvalidGraphic);
    EXPECT_TRUE(endless.GetEmpty());
}

TEST(VclPicture, FilesByExtensionAndChangeNotices)
{
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString() + "/p";
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](rtl::TObject* sender) {
        EXPECT_EQ(sender, &picture);
        ++changes;
    };
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(Quarters().get());
    picture.SetGraphic(jpeg.release());
    EXPECT_EQ(changes, 1);
    picture.SaveToFile(base + ".JPG");
    picture.Bitmap(); // forced to a bitmap: a new graphic
    EXPECT_EQ(changes, 2);
    picture.Bitmap()->Assign(Quarters().get());
    picture.SaveToFile(base + ".bmp");

    TPicture loaded;
    loaded.LoadFromFile(base + ".JPG");
    EXPECT_EQ(loaded.GetGraphic()->ClassName(), "TJPEGImage");
    EXPECT_EQ(loaded.GetWidth(), 32);
    loaded.LoadFromFile(base + ".bmp");
    EXPECT_EQ(loaded.GetGraphic()->ClassName(), "TBitmap");

    // A bitmap under a JPEG name and an unknown extension are both refused, the picture kept.
    QFile::copy(QString::fromStdString(base + ".bmp"), QString::fromStdString(base + "2.jpeg"));
    EXPECT_THROW(loaded.LoadFromFile(base + "2.jpeg"), EInvalidGraphic);
    EXPECT_THROW(loaded.LoadFromFile(base + ".xyz"), EInvalidGraphic);
    EXPECT_EQ(loaded.GetGraphic()->ClassName(), "TBitmap");

    loaded.Assign(nullptr);
    EXPECT_TRUE(loaded.IsEmpty());
}

TEST(VclPicture, MetafilesAreKnownButNeverRead)
{
    TMetafile meta;
    rtl::TMemoryStream stream(std::vector<Byte>(64, 1));
    EXPECT_THROW(meta.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_TRUE(meta.GetEmpty());
}

TEST(VclPicture, ClipboardCarriesThePictureAsABitmap)
{
    EnsureVclApp();
    TPicture picture;
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(Quarters().get());
    picture.SetGraphic(jpeg.release());
    Clipboard()->Assign(&picture);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));

    TPicture pasted;
    pasted.Assign(Clipboard());
    ASSERT_EQ(pasted.GetGraphic()->ClassName(), "TBitmap");
    EXPECT_EQ(pasted.GetWidth(), 32);
    EXPECT_TRUE(Near(pasted.Bitmap()->ScanLine(12)[3], 0x0000FFu));
}

TEST(VclPicture, FilterListsTheClassFormats)
{
    EXPECT_EQ(GraphicFilter(TGraphicClass::Of<TJPEGImage>()),
              "All (*.jpg;*.jpeg)|*.jpg;*.jpeg|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg");
    EXPECT_NE(GraphicFilter({}).find("*.bmp;*.ico;*.jpg"), std::string::npos);
    EXPECT_EQ(GraphicExtension(TGraphicClass::Of<TIcon>()), "ico");
    EXPECT_EQ(GraphicFilter(TGraphicClass::Of<TMetafile>()), "");
}
