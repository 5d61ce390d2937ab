#include "platform/vcl/BitmapStreams.h"
#include "toolkit/core/cxGraphicsImages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using rtl::TMemoryStream;

// A bitmap painted pixel by pixel (colour as 0x00BBGGRR, alpha in the top byte for 32-bit).
std::unique_ptr<TcxBitmap> Painted(int w, int h, TPixelFormat format, const std::function<std::uint32_t(int, int)>& pixel)
{
    auto b = std::make_unique<TcxBitmap>(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->ScanLine(y)[x] = pixel(x, y);
    return b;
}

// A strip of solid 16 x 16 cells of the given stored pixels.
std::unique_ptr<TcxBitmap> Strip(const std::vector<std::uint32_t>& cells, TPixelFormat format = pf24bit)
{
    return Painted(16 * int(cells.size()), 16, format, [&](int x, int) { return cells[size_t(x / 16)]; });
}

std::uint32_t ImagePixel(TcxImageList& list, int index, int x = 0, int y = 0)
{
    TBitmap b;
    list.GetImage(index, &b);
    return b.Surface().Pixel(x, y) & 0xFFFFFFu;
}

std::vector<std::uint32_t> Firsts(TcxImageList& list)
{
    std::vector<std::uint32_t> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(ImagePixel(list, i));
    return out;
}

// A canvas of w x h filled with one colour, with a pixel reader.
struct Canvas {
    TBitmap bitmap;
    Canvas(int w, int h, TColor fill)
    {
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(w, h);
        bitmap.Canvas()->Brush()->SetColor(fill);
        bitmap.Canvas()->FillRect({0, 0, w, h});
    }
    std::uint32_t At(int x, int y) const { return bitmap.Surface().Pixel(x, y) & 0xFFFFFFu; }
};

constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, K = 0x000000, W = 0xFFFFFF; // stored ARGB

TEST(cxImageList, AddCutsStripsAndGridsIntoImages)
{
    TcxImageList list(nullptr);
    EXPECT_EQ(list.GetWidth(), 16);
    EXPECT_EQ(list.Add(Strip({R, G, B}).get(), nullptr), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.ImageInfoCollection()->Count(), 3);
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{R, G, B}));

    // 40 pixels hold no whole number of images: the system list takes two, the collection one.
    auto odd = Painted(40, 16, pf24bit, [](int, int) { return R; });
    EXPECT_EQ(list.Add(odd.get(), nullptr), 3);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.ImageInfoCollection()->Count(), 4);

    // A 2 x 2 grid is cut row by row, left to right.
    TcxImageList grid(nullptr);
    auto cells = Painted(32, 32, pf24bit, [](int x, int y) { return y < 16 ? (x < 16 ? R : G) : (x < 16 ? B : W); });
    EXPECT_EQ(grid.Add(cells.get(), nullptr), 0);
    EXPECT_EQ(Firsts(grid), (std::vector<std::uint32_t>{R, G, B, W}));
    EXPECT_EQ(grid.ImageInfoCollection()->Count(), 4);
}

// The class form reads the system list: index -1 gives the whole strip, an index its own cell,
// an index outside the list (or -1 of an empty list) leaves the bitmaps alone.
TEST(cxImageList, SystemImageInfoGivesTheStripForMinusOneAndACellOtherwise)
{
    TcxImageList list(nullptr);
    list.Add(Strip({R, G, B}).get(), nullptr);
    TBitmap image, mask;
    TcxImageList::GetImageInfo(list.GetHandle(), -1, &image, &mask);
    ASSERT_EQ(image.GetWidth(), 48);
    EXPECT_EQ(image.GetHeight(), 16);
    EXPECT_EQ(mask.GetWidth(), 48);
    EXPECT_EQ(mask.GetPixelFormat(), pf1bit);
    for (int cell = 0; cell < 3; ++cell)
        EXPECT_EQ(image.Surface().Pixel(cell * 16 + 5, 5) & W, (std::vector<std::uint32_t>{R, G, B})[size_t(cell)]);

    TcxImageList::GetImageInfo(list.GetHandle(), 2, &image, nullptr);
    EXPECT_EQ(image.GetWidth(), 16);
    EXPECT_EQ(image.Surface().Pixel(15, 15) & W, B);

    for (int index : {3, -2}) {
        TcxImageList::GetImageInfo(list.GetHandle(), index, &image, &mask);
        EXPECT_EQ(image.GetWidth(), 16) << index;
        EXPECT_EQ(mask.GetWidth(), 48) << index;
    }
    TcxImageList empty(nullptr);
    TcxImageList::GetImageInfo(empty.GetHandle(), -1, &image, &mask);
    EXPECT_EQ(image.GetWidth(), 16);
    EXPECT_EQ(mask.GetWidth(), 48);
}

TEST(cxImageList, InsertMoveDeleteReplaceKeepBothListsPaired)
{
    TcxImageList list(nullptr);
    list.Add(Strip({R, G}).get(), nullptr);
    list.Insert(1, Strip({B, W, K}).get(), nullptr);
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{R, B, W, K, G}));

    list.Move(0, 3);
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{B, W, K, R, G}));
    list.Move(4, 1);
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{B, G, W, K, R}));
    list.Delete(2);
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{B, G, K, R}));
    list.Replace(0, Strip({W}).get(), nullptr);
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{W, G, K, R}));
    list.Insert(9, Strip({B}).get(), nullptr); // beyond the end: nothing
    list.Delete(7);                            // beyond the end: nothing
    EXPECT_EQ(list.Count(), 4);

    // The collection moved with the system list: a list rebuilt from it shows the same order.
    TcxImageList copy(nullptr);
    copy.Assign(&list);
    EXPECT_EQ(Firsts(copy), (std::vector<std::uint32_t>{W, G, K, R}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ImageInfoCollection()->Count(), 0);
}

TEST(cxImageList, AddImageAndCopyImages)
{
    TcxImageList source(nullptr), dest(nullptr);
    source.Add(Strip({R, G, B}).get(), nullptr);
    EXPECT_EQ(dest.AddImage(&source, 3), -1);
    EXPECT_EQ(dest.AddImage(nullptr, 0), -1);
    EXPECT_EQ(dest.AddImage(&source, 1), 0);
    dest.CopyImages(&source, 1, 99);
    EXPECT_EQ(Firsts(dest), (std::vector<std::uint32_t>{G, G, B}));
    dest.AddImages(&source);
    EXPECT_EQ(dest.Count(), 6);

    // A plain image list is converted image by image.
    TImageList plain(nullptr);
    plain.AddMasked(Strip({R, B}).get(), clBlue);
    TcxImageList fromPlain(nullptr);
    fromPlain.AddImages(&plain);
    EXPECT_EQ(fromPlain.Count(), 2);
}

TEST(cxImageList, AssignFromOtherObjectsChangesNothing)
{
    TcxImageList list(nullptr);
    list.Add(Strip({R}).get(), nullptr);
    TFont font;
    list.Assign(&font);
    EXPECT_EQ(list.Count(), 1);
}

TEST(cxImageList, UpdateLockSendsOneChangeAtTheOutermostEnd)
{
    TcxImageList list(nullptr);
    int changes = 0;
    list.OnChange = rtl::Event<void(rtl::TObject*)>([&](rtl::TObject*) { ++changes; });
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(Strip({R, G}).get(), nullptr);
    list.EndUpdate(true);
    EXPECT_EQ(changes, 0);
    list.EndUpdate(true);
    EXPECT_EQ(changes, 1);
    list.EndUpdate(true); // not locked: nothing
    EXPECT_EQ(changes, 1);
    list.Move(0, 1);
    EXPECT_EQ(changes, 2);
}

TEST(cxImageList, MasksAndMaskColourMakePixelsTransparent)
{
    TcxImageList list(nullptr);
    // Left half red, right half the key colour green.
    auto keyed = Painted(16, 16, pf24bit, [](int x, int) { return x < 8 ? R : G; });
    list.AddMasked(keyed.get(), clLime);
    // Top half masked out.
    auto mask = Painted(16, 16, pf1bit, [](int, int y) { return y < 8 ? W : K; });
    list.Add(Strip({B}).get(), mask.get());
    // 32-bit without alpha, keyed: the key must still come through the system list's mask.
    list.AddMasked(Painted(16, 16, pf32bit, [](int x, int) { return x < 8 ? R : G; }).get(), clLime);

    Canvas c(48, 16, clWhite);
    for (int i = 0; i < 3; ++i)
        list.Draw(c.bitmap.Canvas(), {16 * i, 0, 16 * i + 16, 16}, i);
    EXPECT_EQ(c.At(2, 5), R);
    EXPECT_EQ(c.At(12, 5), W);
    EXPECT_EQ(c.At(20, 2), W);
    EXPECT_EQ(c.At(20, 12), B);
    EXPECT_EQ(c.At(34, 5), R);
    EXPECT_EQ(c.At(44, 5), W);
}

TEST(cxImageList, AlphaImagesBlendAndDisabledFadedDrawGrey)
{
    TcxImageList list(nullptr);
    // Premultiplied: left half opaque red, right half red at alpha 128, a transparent corner.
    auto alpha = Painted(16, 16, pf32bit, [](int x, int y) -> std::uint32_t {
        if (x < 2 && y < 2)
            return 0;
        return x < 8 ? 0xFFFF0000u : 0x80800000u;
    });
    list.Add(alpha.get(), nullptr);

    Canvas normal(16, 16, clWhite), disabled(16, 16, clWhite);
    list.Draw(normal.bitmap.Canvas(), {0, 0, 16, 16}, 0, false, false, true);
    EXPECT_EQ(normal.At(0, 0), W);
    EXPECT_EQ(normal.At(4, 4), R);
    const std::uint32_t half = normal.At(12, 4);
    EXPECT_EQ(half >> 16, 0xFFu);
    EXPECT_NEAR(int(half & 0xFF), 127, 2);

    list.Draw(disabled.bitmap.Canvas(), {0, 0, 16, 16}, 0, false, false, false);
    const std::uint32_t grey = disabled.At(4, 4);
    EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
    EXPECT_EQ(grey & 0xFF, (grey >> 16) & 0xFF);
    EXPECT_NE(grey, W);
    EXPECT_EQ(disabled.At(0, 0), W);

    // Through the plain list, a disabled image is embossed in the button colours.
    TImageList plain(nullptr);
    plain.Add(Strip({B}).get(), nullptr);
    Canvas embossed(20, 20, clWhite);
    plain.Draw(embossed.bitmap.Canvas(), 2, 2, 0, false);
    EXPECT_EQ(embossed.At(5, 5), gdi::ColorToPixel(ColorToRef(clBtnShadow)));
    EXPECT_EQ(embossed.At(18, 18), gdi::ColorToPixel(ColorToRef(clBtnHighlight)));
    EXPECT_EQ(embossed.At(19, 19), W);
}

TEST(cxImageList, DrawCentresUnlessStretched)
{
    TcxImageList list(nullptr);
    list.Add(Strip({R}).get(), nullptr);
    Canvas centred(32, 32, clWhite), stretched(32, 32, clWhite);
    list.Draw(centred.bitmap.Canvas(), {0, 0, 32, 32}, 0, false);
    EXPECT_EQ(centred.At(7, 7), W);
    EXPECT_EQ(centred.At(8, 8), R);
    EXPECT_EQ(centred.At(23, 23), R);
    EXPECT_EQ(centred.At(24, 24), W);
    list.Draw(stretched.bitmap.Canvas(), {0, 0, 32, 32}, 0, true);
    EXPECT_EQ(stretched.At(0, 0), R);
    EXPECT_EQ(stretched.At(31, 31), R);
}

// ---- stream form ----

std::vector<std::string> PropertyNames(TMemoryStream& stream)
{
    stream.SetPosition(0);
    rtl::TReader reader(&stream, 4096);
    std::vector<std::string> names;
    for (std::string name = reader.ReadString(); !name.empty(); name = reader.ReadString()) {
        names.push_back(name);
        if (name == "ImageInfo")
            break;
        if (reader.NextValue() == rtl::vaBoolean)
            reader.ReadBoolean();
        else if (reader.NextValue() == rtl::vaString)
            reader.ReadString();
        else
            reader.ReadInteger();
    }
    return names;
}

void Write(TcxImageList& list, TMemoryStream& stream, TCustomImageList* ancestor = nullptr)
{
    rtl::TWriter writer(&stream, 4096);
    list.WriteState(&writer, ancestor);
}

void Read(TcxImageList& list, TMemoryStream& stream)
{
    stream.SetPosition(0);
    rtl::TReader reader(&stream, 4096);
    list.ReadState(&reader);
}

TEST(cxImageListStream, EmptyListWritesVersionAndDesignInfoOnly)
{
    TcxImageList list(nullptr);
    TMemoryStream stream;
    Write(list, stream);
    const auto names = PropertyNames(stream);
    EXPECT_EQ(std::count(names.begin(), names.end(), "FormatVersion"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "DesignInfo"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "ImageInfo"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Bitmap"), 0);
    EXPECT_EQ(list.FormatVersion(), 1);
}

TEST(cxImageListStream, RoundTripKeepsImagesMasksAlphaAndSettings)
{
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress);
        TcxImageList list(nullptr);
        list.SetWidth(8);
        list.SetHeight(8);
        list.DesignInfo = 0x00100020;
        list.SetCompressData(compress);
        list.AddMasked(Painted(16, 8, pf24bit, [](int x, int) { return x < 12 ? R : G; }).get(), clLime);
        list.Add(Painted(8, 8, pf32bit, [](int x, int) { return x < 4 ? 0xFF00FF00u : 0x40004000u; }).get(), nullptr);
        list.Add(Painted(8, 8, pf24bit, [](int, int) { return B; }).get(),
                 Painted(8, 8, pf1bit, [](int x, int) { return x < 2 ? W : K; }).get());
        TMemoryStream stream;
        Write(list, stream);
        const auto names = PropertyNames(stream);
        EXPECT_EQ(std::count(names.begin(), names.end(), "ImageInfo"), 1);
        // Images added after the flag was set are stored in the compressed form too.
        const std::string bytes(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
        size_t compressedBitmaps = 0;
        for (size_t at = bytes.find("XDBM"); at != std::string::npos; at = bytes.find("XDBM", at + 1))
            ++compressedBitmaps;
        EXPECT_EQ(compressedBitmaps, compress ? 5u : 0u); // the four images and the one mask given

        TcxImageList back(nullptr);
        Read(back, stream);
        EXPECT_EQ(back.GetWidth(), 8);
        EXPECT_EQ(back.DesignInfo, 0x00100020);
        ASSERT_EQ(back.Count(), 4);
        EXPECT_EQ(back.ImageInfoCollection()->Item(0)->GetMaskColor(), clLime);
        EXPECT_EQ(back.ImageInfoCollection()->Item(3)->GetMaskColor(), clNone);
        EXPECT_TRUE(TcxImageList::Equal(&list, &back));

        Canvas a(32, 8, clWhite), b(32, 8, clWhite);
        for (int i = 0; i < 4; ++i) {
            list.Draw(a.bitmap.Canvas(), {8 * i, 0, 8 * i + 8, 8}, i);
            back.Draw(b.bitmap.Canvas(), {8 * i, 0, 8 * i + 8, 8}, i);
        }
        for (int x = 0; x < 32; ++x)
            for (int y = 0; y < 8; ++y)
                ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
        EXPECT_EQ(b.At(12, 0), W); // the keyed green
        EXPECT_EQ(b.At(25, 0), W); // masked
        EXPECT_EQ(b.At(27, 0), B);
    }
}

TEST(cxImageListStream, AncestorWithSameImagesAndDesignInfoLeavesThemOut)
{
    TcxImageList list(nullptr), ancestor(nullptr);
    list.Add(Strip({R}).get(), nullptr);
    ancestor.Add(Strip({R}).get(), nullptr);
    TMemoryStream same;
    Write(list, same, &ancestor);
    auto names = PropertyNames(same);
    EXPECT_EQ(std::count(names.begin(), names.end(), "ImageInfo"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "DesignInfo"), 0);

    ancestor.Add(Strip({G}).get(), nullptr);
    ancestor.DesignInfo = 5;
    TMemoryStream differs;
    Write(list, differs, &ancestor);
    names = PropertyNames(differs);
    EXPECT_EQ(std::count(names.begin(), names.end(), "ImageInfo"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "DesignInfo"), 1);
}

TEST(cxImageListStream, OlderStreamWithTheSystemListDataFillsTheCollection)
{
    TImageList plain(nullptr);
    plain.Add(Strip({R, G}).get(), nullptr);
    TMemoryStream stream;
    {
        rtl::TWriter writer(&stream, 4096);
        plain.WriteState(&writer);
    }
    TcxImageList list(nullptr);
    Read(list, stream);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ImageInfoCollection()->Count(), 2);
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{R, G}));
}

TEST(cxImageListStream, DamagedStreamsRaiseReadErrors)
{
    TcxImageList list(nullptr);
    list.Add(Strip({R}).get(), nullptr);
    TMemoryStream stream;
    Write(list, stream);
    TMemoryStream cut(std::vector<Byte>(stream.Bytes().begin(), stream.Bytes().end() - 40));
    TcxImageList back(nullptr);
    EXPECT_THROW(Read(back, cut), rtl::EReadError);

    TMemoryStream unknown;
    {
        rtl::TWriter writer(&unknown, 4096);
        writer.WriteString("Colour");
        writer.WriteInteger(1);
        writer.WriteString("");
    }
    EXPECT_THROW(Read(back, unknown), rtl::EReadError);
}

} // namespace

namespace {

// An icon of solid colour whose left column is transparent.
std::unique_ptr<TIcon> SolidIcon(int size, std::uint32_t color)
{
    auto image = Painted(size, size, pf32bit, [&](int, int) { return color; });
    auto mask = Painted(size, size, pf1bit, [](int x, int) { return x == 0 ? W : K; });
    auto icon = std::make_unique<TIcon>();
    icon->SetImages(image.get(), mask.get());
    return icon;
}

} // namespace

TEST(cxImageList, IconsAreAddedInsertedAndReplacedInBothLists)
{
    TcxImageList list(nullptr);
    list.Add(Strip({R, G}).get(), nullptr);
    EXPECT_EQ(list.AddIcon(SolidIcon(16, B).get()), 2);
    list.InsertIcon(1, SolidIcon(16, W).get());
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{R, W, G, B}));
    // The collection holds the icon's image and mask as the system list has them.
    TcxImageInfo info;
    list.GetImageInfo(1, &info);
    EXPECT_EQ(info.GetImage()->GetPixelFormat(), pf32bit);
    EXPECT_EQ(info.GetMask()->Surface().Pixel(0, 5) & W, W);
    EXPECT_EQ(info.GetMask()->Surface().Pixel(1, 5) & W, K);
    // Another size is stretched to the list's; no icon, or an index beyond the end, adds nothing.
    list.ReplaceIcon(0, SolidIcon(32, K).get());
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{K, W, G, B}));
    EXPECT_EQ(list.AddIcon(nullptr), -1);
    TIcon empty;
    EXPECT_EQ(list.AddIcon(&empty), -1);
    list.InsertIcon(9, SolidIcon(16, R).get());
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.ImageInfoCollection()->Count(), 4);
    // Drawn through its mask: the transparent column keeps the canvas.
    Canvas c(16, 16, clYellow);
    list.Draw(c.bitmap.Canvas(), 0, 0, 1);
    EXPECT_EQ(c.At(0, 3), 0xFFFF00u);
    EXPECT_EQ(c.At(3, 3), W);
}

TEST(cxImageList, IconFilesRoundTripAndDamagedOnesLeaveTheIconAlone)
{
    auto icon = SolidIcon(16, R);
    TMemoryStream file;
    icon->SaveToStream(&file);
    file.SetPosition(0);
    TIcon back;
    back.LoadFromStream(&file);
    ASSERT_EQ(back.GetWidth(), 16);
    EXPECT_EQ(back.Image()->ScanLine(4)[4] & W, R);
    EXPECT_EQ(back.Mask()->Surface().Pixel(0, 4) & W, W);
    EXPECT_EQ(back.Mask()->Surface().Pixel(4, 4) & W, K);

    // Truncated, foreign and empty data raise with the icon unchanged.
    std::vector<Byte> bytes(size_t(file.Size()));
    std::memcpy(bytes.data(), file.Memory(), bytes.size());
    const std::vector<std::vector<Byte>> damaged = {
        std::vector<Byte>(bytes.begin(), bytes.begin() + 30),
        {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {},
    };
    for (const auto& d : damaged) {
        TMemoryStream s(d);
        EXPECT_THROW(back.LoadFromStream(&s), EInvalidGraphic);
        EXPECT_EQ(back.GetWidth(), 16);
    }
}

namespace {

std::vector<Byte> BitmapFile(TBitmap* bitmap)
{
    TMemoryStream file;
    SaveBitmapToStream(bitmap, &file);
    std::vector<Byte> bytes(size_t(file.Size()));
    std::memcpy(bytes.data(), file.Memory(), bytes.size());
    return bytes;
}

} // namespace

TEST(cxImageList, ResourcesAndBitmapFilesLoadAsImages)
{
    // A strip of red, green and blue cells whose top-left pixel is yellow.
    auto strip = Strip({R, G, B});
    strip->ScanLine(0)[0] = 0xFFFF00;
    RegisterBitmapResource(HInstance, "STRIP", BitmapFile(strip.get()));
    RegisterBitmapResource(HInstance, "BROKEN", {'B', 'M', 1, 2, 3});

    TcxImageList list(nullptr);
    list.Add(Strip({W}).get(), nullptr);
    ASSERT_TRUE(list.ResourceLoad(rtBitmap, "strip", clNone));
    EXPECT_EQ(Firsts(list), (std::vector<std::uint32_t>{0xFFFF00, G, B}));
    EXPECT_EQ(list.ImageInfoCollection()->Count(), 3);
    // Another width cuts other images; a missing or damaged resource leaves the list alone.
    ASSERT_TRUE(list.GetResource(rtBitmap, "STRIP", 24, {}, clNone));
    EXPECT_EQ(list.GetWidth(), 24);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_FALSE(list.ResourceLoad(rtBitmap, "MISSING", clNone));
    EXPECT_FALSE(list.ResourceLoad(rtBitmap, "BROKEN", clNone));
    EXPECT_FALSE(list.GetResource(rtIcon, "STRIP", 16, {}, clNone));
    EXPECT_EQ(list.Count(), 2);

    // LoadImage adds the images; the default mask colour is the top-left pixel's.
    TcxImageList added(nullptr);
    added.Add(Strip({W}).get(), nullptr);
    ASSERT_TRUE(added.LoadImage(HInstance, "STRIP", clDefault));
    EXPECT_EQ(Firsts(added), (std::vector<std::uint32_t>{W, K, G, B}));
    TBitmap mask;
    added.GetMask(1, &mask);
    EXPECT_EQ(mask.Surface().Pixel(0, 0) & W, W);
    EXPECT_EQ(mask.Surface().Pixel(1, 0) & W, K);
    EXPECT_FALSE(added.LoadImage(HInstance, "MISSING"));

    // From a file with lrFromFile.
    const std::string path = testing::TempDir() + "cxImageListStrip.bmp";
    {
        rtl::TFileStream file(path, rtl::fmCreate);
        SaveBitmapToStream(strip.get(), &file);
    }
    TcxImageList fromFile(nullptr);
    ASSERT_TRUE(fromFile.LoadImage(nullptr, path, clNone, 16, TLoadResources{lrFromFile}));
    EXPECT_EQ(fromFile.Count(), 3);
    EXPECT_FALSE(fromFile.LoadImage(nullptr, path + ".none", clNone, 16, TLoadResources{lrFromFile}));
    std::remove(path.c_str());
    UnregisterBitmapResource(HInstance, "STRIP");
    UnregisterBitmapResource(HInstance, "BROKEN");
    EXPECT_FALSE(list.ResourceLoad(rtBitmap, "STRIP", clNone));
}
