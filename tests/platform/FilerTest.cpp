#include <gtest/gtest.h>

#include "platform/rtl/Filer.h"

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
