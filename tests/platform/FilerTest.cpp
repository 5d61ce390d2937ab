#include <gtest/gtest.h>

#include "platform/rtl/Filer.h"
#include "platform/rtl/Classes.h"

using namespace rtl;

TEST(Filer, ValuesRoundTripThroughTheBuffer)
{
    TMemoryStream stream;
    {
        TWriter writer(&stream, 8);
        writer.WriteString("名字 \"x\"");
        writer.WriteWideString(u"wide\u00e9");
        writer.WriteInteger(-5);
        writer.WriteInt64(std::int64_t(1) << 40);
        writer.WriteBoolean(true);
        writer.WriteChar(0xAB);
        writer.WriteCurrency(Currency::FromScaled(-15000));
        writer.WriteDate(45351.5);
        writer.WriteFloat(0.1);
        writer.WriteSingle(1.5f);
    }   // freeing the writer flushes what is buffered
    stream.SetPosition(0);
    TReader reader(&stream, 500000);
    EXPECT_EQ(reader.NextValue(), vaString);
    EXPECT_EQ(reader.ReadString(), "名字 \"x\"");
    EXPECT_EQ(reader.ReadWideString(), u"wide\u00e9");
    EXPECT_EQ(reader.ReadInteger(), -5);
    EXPECT_EQ(reader.ReadInt64(), std::int64_t(1) << 40);
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_EQ(reader.ReadChar(), 0xAB);
    EXPECT_EQ(reader.ReadCurrency().Value, -15000);
    EXPECT_EQ(reader.ReadDate(), 45351.5);
    EXPECT_EQ(reader.ReadFloat(), 0.1);
    EXPECT_EQ(reader.ReadSingle(), 1.5f);
    EXPECT_TRUE(reader.EndOfStream());
}

TEST(Filer, WrongKindsShortStreamsAndImpossibleLengthsRaise)
{
    TMemoryStream stream;
    {
        TWriter writer(&stream, 100);
        writer.WriteInteger(3);
        writer.WriteString("abc");
        EXPECT_EQ(stream.Size(), 0);   // still buffered
        writer.FlushBuffer();
        EXPECT_EQ(writer.Position(), stream.Size());
    }
    stream.SetPosition(0);
    TReader reader(&stream, 100);
    EXPECT_THROW(reader.ReadString(), EReadError);   // an integer comes first

    std::vector<Byte> bytes = stream.Bytes();
    bytes.resize(bytes.size() - 1);
    TMemoryStream shortStream(bytes);
    TReader shortReader(&shortStream, 100);
    EXPECT_EQ(shortReader.ReadInteger(), 3);
    EXPECT_THROW(shortReader.ReadString(), EReadError);

    TMemoryStream huge(std::vector<Byte>{vaString, 0xFF, 0xFF, 0xFF, 0x7F, 'a'});
    TReader hugeReader(&huge, 100);
    EXPECT_THROW(hugeReader.ReadString(), EReadError);
}

namespace {
// An object with two defined properties: "Count" (an integer, stored when not 0) and "Blob" (bytes,
// stored when there are any).
class TDefinedObject : public TPersistent {
    RTL_CLASS(TDefinedObject, TPersistent)
public:
    int Count = 0;
    std::vector<Byte> Blob;
    int BlobReads = 0;

protected:
    void DefineProperties(TFiler* filer) override
    {
        TPersistent::DefineProperties(filer);
        filer->DefineProperty(
            "Count", [this](TReader* r) { Count = r->ReadInteger(); }, [this](TWriter* w) { w->WriteInteger(Count); },
            Count != 0);
        filer->DefineBinaryProperty(
            "Blob",
            [this](TStream* s) {
                ++BlobReads;
                Blob.assign(static_cast<size_t>(s->Size()), 0);
                if (!Blob.empty())
                    s->ReadBuffer(Blob.data(), s->Size());
            },
            [this](TStream* s) { s->WriteBuffer(Blob.data(), static_cast<std::int64_t>(Blob.size())); }, !Blob.empty());
    }
};

std::vector<Byte> WriteProps(TDefinedObject& obj)
{
    TMemoryStream stream;
    {
        TWriter writer(&stream, 4);
        writer.WriteProperties(&obj);
    }
    return stream.Bytes();
}
} // namespace

TEST(Filer, DefinedPropertiesWriteNamesWithDataAndReadBack)
{
    TDefinedObject source;
    source.Count = 7;
    source.Blob = {1, 2, 3};
    std::vector<Byte> bytes = WriteProps(source);
    const std::vector<Byte> expected = {vaString, 5, 0, 0, 0, 'C', 'o', 'u', 'n', 't', vaInteger, 7, 0, 0, 0,
                                        vaString, 4, 0, 0, 0, 'B', 'l', 'o', 'b', vaBinary, 3, 0, 0, 0, 1, 2, 3,
                                        vaNull};
    EXPECT_EQ(bytes, expected);

    TMemoryStream stream(bytes);
    TReader reader(&stream, 100);
    TDefinedObject target;
    reader.ReadProperties(&target);
    EXPECT_EQ(target.Count, 7);
    EXPECT_EQ(target.Blob, source.Blob);
    EXPECT_TRUE(reader.EndOfStream());

    // Properties without data are left out; the list still ends.
    TDefinedObject empty;
    EXPECT_EQ(WriteProps(empty), std::vector<Byte>{vaNull});
}

TEST(Filer, DefinedPropertyNamesMatchWithoutCaseAndAReaderTakesOnlyItsBytes)
{
    // "BLOB" with five bytes, of which the object reads all; then "count".
    std::vector<Byte> bytes = {vaString, 4, 0, 0, 0, 'B', 'L', 'O', 'B', vaBinary, 5, 0, 0, 0, 9, 8, 7, 6, 5,
                               vaString, 5, 0, 0, 0, 'c', 'o', 'u', 'n', 't', vaInteger, 2, 0, 0, 0, vaNull};
    TMemoryStream stream(bytes);
    TReader reader(&stream, 100);
    TDefinedObject target;
    reader.ReadProperties(&target);
    EXPECT_EQ(target.Blob, (std::vector<Byte>{9, 8, 7, 6, 5}));
    EXPECT_EQ(target.BlobReads, 1);
    EXPECT_EQ(target.Count, 2);
}

TEST(Filer, UnknownNamesAndDamagedBinaryValuesRaise)
{
    struct Case {
        const char* what;
        std::vector<Byte> bytes;
    };
    const Case cases[] = {
        {"unknown name", {vaString, 1, 0, 0, 0, 'X', vaInteger, 1, 0, 0, 0, vaNull}},
        {"binary count beyond the bytes", {vaString, 4, 0, 0, 0, 'B', 'l', 'o', 'b', vaBinary, 0xFF, 0xFF, 0xFF, 0x7F, 1}},
        {"binary expected, integer found", {vaString, 4, 0, 0, 0, 'B', 'l', 'o', 'b', vaInteger, 1, 0, 0, 0, vaNull}},
        {"no end of list", {vaString, 5, 0, 0, 0, 'C', 'o', 'u', 'n', 't', vaInteger, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TMemoryStream stream(c.bytes);
        TReader reader(&stream, 100);
        TDefinedObject target;
        EXPECT_THROW(reader.ReadProperties(&target), EReadError) << c.what;
        EXPECT_TRUE(target.Blob.empty()) << c.what;
        EXPECT_EQ(target.BlobReads, 0) << c.what;
        EXPECT_TRUE(reader.PropName().empty()) << c.what;
    }
}
