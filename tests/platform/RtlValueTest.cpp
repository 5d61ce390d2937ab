#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Unicode.h"
#include "platform/rtl/Variant.h"

using namespace rtl;

TEST(RtlMath, MulDivRoundsHalfAwayFromZero)
{
    struct V { int a, b, c, r; };
    const V vectors[] = {
        {5, 1, 2, 3},  {-5, 1, 2, -3}, {5, -1, 2, -3}, {-5, -1, 2, 3}, {5, 1, -2, -3},
        {7, 1, 3, 2},  {8, 1, 3, 3},   {1, 1, 0, -1},  {2147483647, 2, 2, 2147483647},
        {2147483647, 2, 1, -1}, {100, 96, 72, 133}, {0, 5, 7, 0},
    };
    for (const V& v : vectors)
        EXPECT_EQ(MulDiv(v.a, v.b, v.c), v.r) << v.a << "*" << v.b << "/" << v.c;
}

TEST(RtlMath, CurrencyAndDates)
{
    EXPECT_EQ(Currency::FromDouble(1.23456).Value, 12346);
    EXPECT_EQ(Currency::FromDouble(-1.23456).Value, -12346);
    EXPECT_EQ(CurrToStr(Currency{-12345}), "-1.2345");
    EXPECT_THROW(Currency::FromDouble(1e300), ERangeError);

    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2011, 5, 5), 40668.0);
    int y, m, d;
    DecodeDate(40668.75, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20110505);
    int h, mi, s, ms;
    DecodeTime(40668.75, h, mi, s, ms);
    EXPECT_EQ(h, 18);
    EXPECT_EQ(DayOfWeek(0), 7);   // a Saturday
    EXPECT_THROW(EncodeDate(2011, 2, 29), EConvertError);
}

TEST(RtlLocale, ReplaceableServiceMakesTextsDeterministic)
{
    auto fixed = std::make_unique<FixedLocaleService>(EncodeDate(2011, 5, 5) + EncodeTime(13, 50, 56, 0));
    auto* service = fixed.get();
    auto previous = SetLocaleService(std::move(fixed));
    EXPECT_EQ(DateTimeToStr(Now()), "2011-5-5 13:50:56");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", Now()), "2011-05-05 13:50:56");
    service->Settings().DecimalSeparator = ',';
    EXPECT_EQ(FloatToStr(1.5), "1,5");
    EXPECT_EQ(StrToFloat("2,25"), 2.25);
    EXPECT_THROW(StrToFloat("2.25"), EConvertError);
    TDateTime t;
    EXPECT_TRUE(TryStrToDateTime("2011-5-5 13:50", t));
    EXPECT_DOUBLE_EQ(t, EncodeDate(2011, 5, 5) + EncodeTime(13, 50, 0, 0));
    SetLocaleService(std::move(previous));
}

TEST(RtlText, FormatAndConversions)
{
    EXPECT_EQ(Format("%s=%d|%5.2f|%-4s|%.4x|%%", "a", -12, 3.14159, "ab", 255), "a=-12| 3.14|ab  |00FF|%");
    EXPECT_THROW(Format("%d", "text"), EConvertError);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_THROW(StrToInt("12a"), EConvertError);
    std::u16string w = Utf8ToUtf16("非本地址 \xF0\x9F\x98\x80");
    EXPECT_EQ(w.size(), 7u);
    EXPECT_EQ(Utf16ToUtf8(w), "非本地址 \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\xFFFD" "b");
    EXPECT_EQ(Utf8CharLength("非a", 0), 3);
}

TEST(RtlStringList, SortedDuplicatesObjectsAndCase)
{
    TStringList list;
    list.SetSorted(true);
    TObject marker;
    list.AddObject("beta", &marker);
    list.Add("Alpha");
    list.Add("alpha");   // equal without regard to case: ignored
    list.Add("gamma");
    EXPECT_EQ(list.Text(), "Alpha\r\nbeta\r\ngamma\r\n");
    EXPECT_EQ(list.IndexOf("BETA"), 1);
    EXPECT_EQ(list.GetObject(1), &marker);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);

    list.Duplicates = dupError;
    EXPECT_THROW(list.Add("GAMMA"), EStringListError);
    list.SetCaseSensitive(true);
    list.Add("GAMMA");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.IndexOf("gamma"), 2);   // lower case before upper case of the same letters
    EXPECT_EQ(list.IndexOf("GAMMA"), 3);

    TStringList plain;
    int changes = 0;
    plain.OnChange = [&](TObject*) { ++changes; };
    plain.BeginUpdate();
    plain.SetText("k1=v1\nk2=v2\r\n");
    plain.EndUpdate();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(plain.Values("K2"), "v2");
    EXPECT_THROW(plain.Get(5), EStringListError);
}

TEST(RtlVariant, ConversionsFollowTheTable)
{
    EXPECT_EQ(Variant(true).ToInteger(), -1);
    EXPECT_EQ(Variant("12").ToInteger(), 12);
    EXPECT_EQ(Variant(2.5).ToInteger(), 2);       // half to even
    EXPECT_EQ(Variant(Currency{35000}).ToInt64(), 4);
    EXPECT_EQ(Variant().ToString(), "");
    EXPECT_EQ(Variant(false).ToString(), "False");
    EXPECT_TRUE(Variant("TRUE").ToBoolean());
    EXPECT_THROW(Null.ToInteger(), EVariantTypeCastError);
    EXPECT_EQ(VarToStr(Null), "");
    EXPECT_THROW(Variant("abc").ToDouble(), EVariantTypeCastError);
    EXPECT_THROW(Variant(std::int64_t(1) << 40).ToInteger(), EVariantError);
    EXPECT_EQ(Variant(200).AsType(varByte).VType(), varByte);
    EXPECT_THROW(Variant(300).AsType(varByte), EVariantError);
}

TEST(RtlVariant, ArraysAndOperators)
{
    Variant a = VarArrayCreate(1, 3, varByte);
    EXPECT_EQ(a.VType(), varArray | varByte);
    EXPECT_EQ(VarArrayLowBound(a), 1);
    EXPECT_EQ(VarArrayHighBound(a), 3);
    a[2] = Variant(65);
    Variant copy = a;
    copy[2] = Variant(66);
    EXPECT_EQ(a[2].ToInteger(), 65);   // arrays are values
    EXPECT_THROW(a[4], EVariantBadIndexError);

    EXPECT_TRUE(Variant(10) == Variant("10"));
    EXPECT_TRUE(Variant(9) < Variant("10"));       // a number and a numeric string meet as numbers
    EXPECT_TRUE(Variant("a") < Variant("B"));      // strings by the locale's comparison
    EXPECT_TRUE(Null == Null);
    EXPECT_FALSE(Null == Variant(0));
    EXPECT_TRUE(Null < Variant(-5));
    EXPECT_THROW((void)(Variant(1) == Variant("x")), EVariantError);
    EXPECT_THROW((void)(a == Variant(1)), EVariantError);
}

TEST(RtlVariant, CompareIsAStrictWeakOrderOverMixedKinds)
{
    const std::vector<Variant> ordered = {
        Variant(), Null, Variant(false), Variant(true), Variant(std::nan("")), Variant(-2.5),
        Variant(Currency{-10000}), Variant(0), Variant::FromDate(1.5), Variant(2), Variant("10"),
        Variant("9"), Variant(u"\u975E"), VarArrayOf({Variant(1)}), VarArrayOf({Variant(1), Variant(2)}),
    };
    for (std::size_t i = 0; i < ordered.size(); ++i)
        for (std::size_t j = 0; j < ordered.size(); ++j) {
            int expected = (i > j) - (i < j);
            EXPECT_EQ(Variant::Compare(ordered[i], ordered[j]), expected) << i << " vs " << j;
        }
    EXPECT_EQ(Variant::Compare(Variant(1), Variant(1.0)), 0);
    EXPECT_EQ(Variant::Compare(Variant("x"), Variant(u"x")), 0);
}

TEST(RtlStream, MemoryStreamLittleEndianAndExtended)
{
    TMemoryStream s;
    WriteLE<std::uint16_t>(&s, 0x1234);
    WriteLE<std::int32_t>(&s, -2);
    WriteExtended(&s, 1.0);
    WriteExtended(&s, -0.1);
    ASSERT_EQ(s.Size(), 26);
    const auto& b = s.Bytes();
    EXPECT_EQ(b[0], 0x34);
    EXPECT_EQ(b[1], 0x12);
    // 1.0 as an 80-bit float: mantissa 0x8000000000000000, exponent 0x3FFF.
    const Byte one[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_TRUE(std::equal(one, one + 10, b.begin() + 6));
    s.SetPosition(0);
    EXPECT_EQ(ReadLE<std::uint16_t>(&s), 0x1234);
    EXPECT_EQ(ReadLE<std::int32_t>(&s), -2);
    EXPECT_EQ(ReadExtended(&s), 1.0);
    EXPECT_EQ(ReadExtended(&s), -0.1);
    EXPECT_THROW(ReadLE<std::int32_t>(&s), EReadError);

    for (double v : {0.0, -0.0, 3.5e-310, 1.7976931348623157e308, std::numeric_limits<double>::infinity()}) {
        Byte x[10];
        DoubleToExtended(v, x);
        EXPECT_EQ(ExtendedToDouble(x), v);
    }
}

TEST(RtlStream, FileStreamRoundTripAndErrors)
{
    std::string path = ::testing::TempDir() + "rtl_stream_test.bin";
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("abc", 3);
    }
    TMemoryStream m;
    m.LoadFromFile(path);
    EXPECT_EQ(m.Size(), 3);
    EXPECT_THROW(TFileStream("/nonexistent/dir/file", fmOpenRead), EFOpenError);
    std::remove(path.c_str());
}
