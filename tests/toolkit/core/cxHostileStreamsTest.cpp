// Damaged and hostile image data: image-list streams, compressed and plain bitmap streams and
// sizes that cannot be stored must raise the designed exception and leave the target as it was.
#include "platform/vcl/BitmapStreams.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxGraphicsImages.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using rtl::TMemoryStream;

constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00;

std::unique_ptr<TcxBitmap> Solid(int w, int h, std::uint32_t pixel)
{
    auto b = std::make_unique<TcxBitmap>(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b->ScanLine(y)[x] = pixel;
    return b;
}

// An 8 x 8 list of a red and a green image, its stream form, and a reader of it.
struct ListFixture {
    TcxImageList list{nullptr};
    ListFixture()
    {
        list.SetWidth(8);
        list.SetHeight(8);
        list.Add(Solid(8, 8, R).get(), nullptr);
        list.Add(Solid(8, 8, G).get(), nullptr);
    }
    std::vector<Byte> Stream()
    {
        TMemoryStream stream;
        {
            rtl::TWriter writer(&stream, 4096);
            list.WriteState(&writer);
        }
        return stream.Bytes();
    }
};

void ReadInto(TCustomImageList& list, const std::vector<Byte>& bytes)
{
    TMemoryStream stream(bytes);
    rtl::TReader reader(&stream, 4096);
    list.ReadState(&reader);
}

// The stream with the value of one published property replaced (the filer's integer and
// boolean forms are a kind byte and a fixed payload, so the size stays).
std::vector<Byte> Patched(std::vector<Byte> bytes, const std::string& name, std::int32_t value)
{
    TMemoryStream stream(bytes);
    rtl::TReader reader(&stream, 4096);
    for (std::string n = reader.ReadString(); !n.empty(); n = reader.ReadString()) {
        const std::int64_t at = reader.Position();
        const rtl::TValueType kind = reader.NextValue();
        if (n == name) {
            if (kind == rtl::vaBoolean)
                bytes[size_t(at) + 1] = Byte(value);
            else
                std::memcpy(&bytes[size_t(at) + 1], &value, 4);
            return bytes;
        }
        if (kind == rtl::vaBoolean)
            reader.ReadBoolean();
        else
            reader.ReadInteger();
    }
    ADD_FAILURE() << name << " not in the stream";
    return bytes;
}

// What a list shows: sizes, settings and the first pixel of each image.
std::string Picture(TcxImageList& list)
{
    std::string out = std::to_string(list.GetWidth()) + "x" + std::to_string(list.GetHeight()) + " ds" +
                      std::to_string(list.GetDrawingStyle()) + " it" + std::to_string(list.GetImageType()) +
                      " share" + std::to_string(list.GetShareImages()) + " n" + std::to_string(list.Count()) + "/" +
                      std::to_string(list.ImageInfoCollection()->Count());
    for (int i = 0; i < list.Count(); ++i) {
        TBitmap b;
        list.GetImage(i, &b);
        char text[16];
        std::snprintf(text, sizeof text, " %06X", b.Surface().Pixel(0, 0) & 0xFFFFFFu);
        out += text;
    }
    return out;
}

} // namespace

TEST(cxHostileStreams, ImageListValuesOutsideTheirRangeRaiseAndLeaveTheListAsItWas)
{
    ListFixture source;
    const std::vector<Byte> good = source.Stream();
    struct Case {
        const char* name;
        std::int32_t value;
    };
    const Case cases[] = {
        {"Height", 0x7FFFFFFF}, {"Width", 0x7FFFFFFF}, {"Height", 4097}, {"Width", -5},
        {"DrawingStyle", 4},    {"DrawingStyle", -1},  {"ImageType", 2}, {"ImageType", 0x40000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = " + std::to_string(c.value));
        TcxImageList target(nullptr);
        target.SetWidth(4);
        target.SetHeight(4);
        target.SetDrawingStyle(dsTransparent);
        target.Add(Solid(4, 4, G).get(), nullptr);
        const std::string before = Picture(target);
        EXPECT_THROW(ReadInto(target, Patched(good, c.name, c.value)), rtl::EReadError);
        EXPECT_EQ(Picture(target), before);
    }
    // A Boolean where an enumeration or a size is stored is refused too.
    for (const char* name : {"DrawingStyle", "ImageType", "Width"}) {
        SCOPED_TRACE(name);
        TMemoryStream stream;
        {
            rtl::TWriter writer(&stream, 4096);
            writer.WriteString(name);
            writer.WriteBoolean(true);
            writer.WriteString("");
        }
        TcxImageList target(nullptr);
        target.SetDrawingStyle(dsTransparent);
        const std::string before = Picture(target);
        EXPECT_THROW(ReadInto(target, stream.Bytes()), rtl::EReadError);
        EXPECT_EQ(Picture(target), before);
    }
    // The untouched stream reads, and the largest side the list holds is accepted.
    TcxImageList target(nullptr);
    ReadInto(target, good);
    EXPECT_EQ(Picture(target), "8x8 ds2 it0 share0 n2/2 FF0000 00FF00");
    TcxImageList big(nullptr);
    ReadInto(big, Patched(Patched(ListFixture().Stream(), "Height", MaxImageSide), "Width", 1));
    EXPECT_EQ(big.GetHeight(), MaxImageSide);
}

TEST(cxHostileStreams, ImageSizesBeyondTheLimitAreRefusedBeforeAnythingChanges)
{
    TcxImageList list(nullptr);
    list.Add(Solid(16, 16, R).get(), nullptr);
    EXPECT_THROW(list.SetHeight(0x7FFFFFFF), rtl::EInvalidOperation);
    EXPECT_THROW(list.SetWidth(MaxImageSide + 1), rtl::EInvalidOperation);
    EXPECT_EQ(Picture(list), "16x16 ds2 it0 share0 n1/1 FF0000");
    EXPECT_EQ(ImageList_Create(16, 0x7FFFFFFF, ILC_COLOR32, 4, 4), nullptr);
}

// ShareImages read from a stream must not keep the list from freeing its own handle (run this
// test in the sanitized tree with ASAN_OPTIONS=detect_leaks=1 to see the lost handle).
TEST(cxHostileStreams, SharedImagesFromAStreamStillFreeTheListsOwnHandle)
{
    ListFixture source;
    const auto shared = Patched(source.Stream(), "ShareImages", 1);
    {
        TcxImageList list(nullptr);
        ReadInto(list, shared);
        EXPECT_TRUE(list.GetShareImages());
        ReadInto(list, shared); // the second read replaces a handle made by the first
        EXPECT_EQ(list.Count(), 2);
    }
    // A handle given from outside stays its owner's while ShareImages is set.
    HIMAGELIST outside = ImageList_Create(8, 8, ILC_COLOR32, 4, 4);
    {
        TImageList list(nullptr);
        list.SetShareImages(true);
        list.SetHandle(outside);
    }
    EXPECT_EQ(ImageList_GetImageCount(outside), 0);
    EXPECT_TRUE(ImageList_Destroy(outside));
}

namespace {

// A compressed bitmap property: the "XDBM" header, method 2 with 255-byte blocks and `runs`
// repeat runs of 127 blocks each.
std::vector<Byte> Bomb(int runs)
{
    std::vector<Byte> bytes(10);
    std::vector<Byte> body{255, 0};
    for (int i = 0; i < runs; ++i) {
        body.push_back(0x7F);
        body.insert(body.end(), 255, Byte(i));
    }
    const std::uint32_t size = std::uint32_t(body.size());
    std::memcpy(&bytes[0], &size, 4);
    std::memcpy(&bytes[4], "XDBM", 4);
    bytes[8] = 2;
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

} // namespace

TEST(cxHostileStreams, CompressedBitmapThatExpandsBeyondAnyBitmapIsRefusedUnread)
{
    // About 9 MB of runs stand for more than a gigabyte of bitmap.
    const auto bomb = Bomb(35'000);
    TcxBitmap target(3, 2, pf24bit);
    target.ScanLine(1)[2] = 0x123456;
    TMemoryStream stream(bomb);
    EXPECT_THROW(target.ReadData(&stream), EInvalidGraphic);
    EXPECT_EQ(target.GetWidth(), 3);
    EXPECT_EQ(target.GetHeight(), 2);
    EXPECT_EQ(target.ScanLine(1)[2], 0x123456u);
    // The counting pass agrees with what the runs really expand to.
    TMemoryStream small(Bomb(3)), out;
    small.SetPosition(10);
    EXPECT_EQ(TcxBitmap::Decompress2(&small, nullptr, int(small.Size() - 10)), 3 * 127 * 255);
    small.SetPosition(10);
    const std::int64_t produced = TcxBitmap::Decompress2(&small, &out, int(small.Size() - 10));
    EXPECT_EQ(produced, out.Size());
}

namespace {

// A plain bitmap file with the given header values and `dataBytes` bytes of pixels.
std::vector<Byte> BitmapFile(std::int32_t w, std::int32_t h, int bits, int dataBytes)
{
    std::vector<Byte> f(54 + size_t(dataBytes));
    auto put = [&](size_t at, auto v) { std::memcpy(&f[at], &v, sizeof v); };
    f[0] = 'B';
    f[1] = 'M';
    put(2, std::uint32_t(f.size()));
    put(10, std::uint32_t(54));
    put(14, std::uint32_t(40));
    put(18, w);
    put(22, h);
    put(26, std::uint16_t(1));
    put(28, std::uint16_t(bits));
    return f;
}

} // namespace

TEST(cxHostileStreams, PlainBitmapHeadersAreCheckedBeforeTheBitmapChanges)
{
    struct Case {
        std::int32_t w, h;
        int bits, data;
        bool loads;
    };
    const Case cases[] = {
        {0, 5, 24, 0, true},          // no columns: nothing to index
        {5, 0, 24, 0, true},
        {0, INT_MIN, 32, 0, false},   // top-down beyond any height
        {32767, 32767, 32, 64, false}, // claims 4 GB, holds 64 bytes
        {-1, 1, 24, 4, false},
        {2, 2, 24, 16, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        TcxBitmap target(3, 2, pf24bit);
        TMemoryStream stream(BitmapFile(c.w, c.h, c.bits, c.data));
        if (c.loads) {
            LoadBitmapFromStream(&target, &stream);
            EXPECT_EQ(target.GetWidth(), c.w);
            EXPECT_EQ(target.GetHeight(), c.h);
        } else {
            EXPECT_THROW(LoadBitmapFromStream(&target, &stream), EInvalidGraphic);
            EXPECT_EQ(target.GetWidth(), 3);
        }
    }
}

TEST(cxHostileStreams, BitmapTooLargeToStoreRaisesAndStaysAsItWas)
{
    TcxBitmap bitmap(8, 6, pf32bit);
    int changes = 0;
    bitmap.OnChange = [&](rtl::TObject*) { ++changes; };
    EXPECT_THROW(bitmap.SetSize(70000, 70000), rtl::EOutOfResources);
    EXPECT_EQ(bitmap.GetWidth(), 8);
    EXPECT_EQ(bitmap.GetHeight(), 6);
    EXPECT_EQ(changes, 0);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect({0, 0, 8, 6});
    EXPECT_EQ(bitmap.ScanLine(5)[7] & 0xFFFFFFu, 0xFF0000u);
    bitmap.SetSize(9, 6); // the update lock was left balanced
    EXPECT_EQ(changes, 1);
}

TEST(cxHostileStreams, RoundDivAtTheExtremes)
{
    struct Case {
        int a, b, expected;
    };
    const Case cases[] = {
        {7, 2, 4},           {-7, 2, -2},         {7, -2, -2},        {-7, -2, 4},      {6, 3, 2},
        {0, -5, 0},          {INT_MAX, 1, INT_MAX}, {INT_MIN, 1, INT_MIN}, {INT_MAX, -1, -INT_MAX},
        {INT_MIN, 2, INT_MIN / 2}, {INT_MIN, INT_MAX, 0}, {INT_MAX, INT_MIN, 1}, {INT_MIN + 1, -1, INT_MAX},
        {INT_MAX, 2, (INT_MAX / 2) + 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cx::RoundDiv(c.a, c.b), c.expected) << c.a << " / " << c.b;
    EXPECT_THROW(cx::RoundDiv(INT_MIN, -1), rtl::EIntOverflow);
    EXPECT_THROW(cx::RoundDiv(1, 0), rtl::EDivByZero);
}

// Mutated streams from a fixed seed: each either loads or raises the designed exception.
TEST(cxHostileStreams, MutatedImageListAndBitmapStreamsLoadOrRaise)
{
    std::mt19937 random(34);
    ListFixture list;
    list.list.AddMasked(Solid(16, 8, R).get(), clLime);
    const std::vector<Byte> listStream = list.Stream();
    TcxBitmap bitmap(6, 5, pf32bit);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            bitmap.ScanLine(y)[x] = std::uint32_t(x * 40 + y);
    std::vector<Byte> bitmapStreams[2];
    for (bool compress : {false, true}) {
        bitmap.CompressData = compress;
        TMemoryStream s;
        bitmap.WriteData(&s);
        bitmapStreams[compress] = s.Bytes();
    }
    auto mutate = [&](std::vector<Byte> bytes) {
        const int edits = 1 + int(random() % 4);
        for (int i = 0; i < edits && !bytes.empty(); ++i) {
            const size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0: bytes[at] = Byte(random()); break;
            case 1: bytes[at] ^= Byte(1u << (random() % 8)); break;
            case 2: bytes.resize(at); break;
            default: {
                static const std::uint32_t extremes[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 4096, 4097, 65535};
                const std::uint32_t v = extremes[random() % 8];
                std::memcpy(&bytes[at], &v, std::min<size_t>(4, bytes.size() - at));
            }
            }
        }
        return bytes;
    };
    int loaded = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        TcxImageList target(nullptr);
        try {
            ReadInto(target, mutate(listStream));
            ++loaded;
        } catch (const rtl::EReadError&) {
            ++refused;
        }
        for (const auto& source : bitmapStreams) {
            TcxBitmap image;
            TMemoryStream stream(mutate(source));
            try {
                image.ReadData(&stream);
                ++loaded;
            } catch (const EInvalidGraphic&) {
                ++refused;
            } catch (const rtl::EReadError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

namespace {

// A compressed 1-bit picture of w x h pixels, all of colour 0: its plain data (the property's
// length and a bitmap file) coded in one-byte blocks, the header as a literal, the rows as runs.
std::vector<Byte> CompressedMonochrome(int w, int h)
{
    const int row = ((w + 31) / 32) * 4;
    std::vector<Byte> file = BitmapFile(w, h, 1, 0);
    const std::uint32_t length = std::uint32_t(file.size()) + std::uint32_t(row) * std::uint32_t(h);
    std::vector<Byte> head(4);
    std::memcpy(head.data(), &length, 4);
    head.insert(head.end(), file.begin(), file.end());
    std::vector<Byte> body;
    for (size_t at = 0; at < head.size(); at += 127) {
        const size_t n = std::min<size_t>(127, head.size() - at);
        body.push_back(Byte(0x80 | n));
        body.insert(body.end(), head.begin() + std::ptrdiff_t(at), head.begin() + std::ptrdiff_t(at + n));
    }
    for (std::int64_t left = std::int64_t(row) * h; left > 0; left -= 127) {
        body.push_back(Byte(std::min<std::int64_t>(127, left)));
        body.push_back(0);
    }
    Byte header[10] = {};
    const std::uint32_t size = std::uint32_t(body.size());
    std::memcpy(&header[0], &size, 4);
    std::memcpy(&header[4], "XDBM", 4);
    header[8] = 1;
    body.insert(body.begin(), std::begin(header), std::end(header));
    return body;
}

} // namespace

TEST(cxHostileStreams, CompressedPicturesAreBoundedByTheLargestListImage)
{
    struct Case {
        int w, h;
        bool loads;
    };
    // 17 KB of runs once stood for a 16384 x 16384 picture (a gigabyte of surface).
    const Case cases[] = {{16384, 16384, false}, {MaxImageSide + 1, MaxImageSide, false}, {2048, 8, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        TcxBitmap target(3, 2, pf24bit);
        TMemoryStream stream(CompressedMonochrome(c.w, c.h));
        if (c.loads) {
            target.ReadData(&stream);
            EXPECT_EQ(target.GetWidth(), c.w);
            EXPECT_EQ(target.GetHeight(), c.h);
        } else {
            EXPECT_THROW(target.ReadData(&stream), EInvalidGraphic);
            EXPECT_EQ(target.GetWidth(), 3);
        }
    }
}

TEST(cxHostileStreams, OneItemCannotBecomeMillionsOfListImages)
{
    // A list of 1 x 1 images whose one stored item is a small compressed picture: cut into cells,
    // 2048 x 2048 would be four million images from about 8 KB.
    auto listStream = [](int side) {
        TMemoryStream stream;
        {
            rtl::TWriter writer(&stream, 4096);
            writer.WriteString("Width");
            writer.WriteInteger(1);
            writer.WriteString("Height");
            writer.WriteInteger(1);
            writer.WriteString("ImageInfo");
            writer.WriteInteger(1);
            writer.WriteString("Image");
            const std::vector<Byte> image = CompressedMonochrome(side, side);
            writer.WriteString(std::string(image.begin(), image.end()));
            writer.WriteString("");
            writer.WriteString("");
        }
        return stream.Bytes();
    };
    TcxImageList target(nullptr);
    target.SetWidth(4);
    target.SetHeight(4);
    target.Add(Solid(4, 4, G).get(), nullptr);
    const std::string before = Picture(target);
    EXPECT_THROW(ReadInto(target, listStream(2048)), rtl::EReadError);
    EXPECT_EQ(Picture(target), before);
    // A few images from a few bytes still read.
    ReadInto(target, listStream(4));
    EXPECT_EQ(target.Count(), 16);
}
