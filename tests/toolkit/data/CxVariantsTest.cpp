#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/data/cxVariants.h"

using namespace cx;

namespace {

Variant Kind(Word kind, const Variant& v) { return Variant::OfType(kind, v); }

std::vector<Byte> Written(const Variant& v)
{
    TMemoryStream s;
    WriteVariantProc(&s, v);
    return s.Bytes();
}

Variant ReadBack(const std::vector<Byte>& bytes)
{
    TMemoryStream s(bytes);
    return ReadVariantFunc(&s);
}

int Sign(int v) { return (v > 0) - (v < 0); }

} // namespace

TEST(CxVariants, CompareOrdersEmptyThenNullThenValues)
{
    struct Case {
        Variant a, b;
        int sign;
    } cases[] = {
        {Unassigned, Null, -1},
        {Null, Unassigned, 1},
        {Unassigned, Unassigned, 0},
        {Null, Null, 0},
        {Null, Variant(5), -1},
        {Variant(5), Null, 1},
        {Unassigned, Variant(""), -1},
        {Variant("abc"), Variant("ABC"), 1},                         // byte order, case-sensitive
        {Variant(3), Variant("10"), -1},                             // a numeric text compares as a number
        {Variant(2.5), Variant(Currency{25000}), 0},
        {Variant::FromDate(10.0), Variant::FromDate(11.5), -1},
        {Variant::FromDate(3.0), Variant(3), 0},                     // Date against Integer by the operators
        {Variant(true), Variant(false), 1},
        {VarArrayOf({1, 2, 3}), VarArrayOf({1, 2}), 1},
        {VarArrayOf({1, 2}), VarArrayOf({1, 3}), -1},
        {VarArrayOf({}), VarArrayOf({}), 0},
        {VarArrayOf({1}), Variant(7), 1},
        {Variant(7), VarArrayOf({1}), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sign(VarCompare(c.a, c.b)), c.sign) << VarTypeAsText(c.a.VType()) << " vs " << VarTypeAsText(c.b.VType());
    // String against OleStr goes through the operators (the locale's comparison), not bytes.
    EXPECT_EQ(VarCompare(Variant("a"), Variant(u"B")), -1);
    EXPECT_GT(CompareStr("a", "B"), 0);
}

TEST(CxVariants, CompareIsAntisymmetricForKindsThatDoNotRelate)
{
    // A number and a text that is no number: the pair must not be "less" both ways, or sorting
    // breaks; they are kept apart by their kinds.
    Variant n(5), s("abc");
    EXPECT_EQ(Sign(VarCompare(n, s)), -Sign(VarCompare(s, n)));
    EXPECT_NE(VarCompare(n, s), 0);
    std::vector<Variant> values = {Variant("x"), Variant(3), Null, Variant("abc"), Unassigned, Variant(1.5)};
    std::sort(values.begin(), values.end(), [](const Variant& a, const Variant& b) { return VarCompare(a, b) < 0; });
    EXPECT_TRUE(values[0].IsEmpty());
    EXPECT_TRUE(values[1].IsNull());
}

TEST(CxVariants, EqualityTestsAndClassification)
{
    EXPECT_TRUE(VarEqualsSoft(Null, Variant("")));
    EXPECT_FALSE(VarEqualsSoft(Variant(""), Unassigned));
    EXPECT_TRUE(VarIsSoftNull(Variant(u"")));
    EXPECT_FALSE(VarIsSoftNull(Variant(" ")));
    EXPECT_FALSE(VarIsSoftNull(Unassigned));
    EXPECT_TRUE(VarEqualsExact(Variant(true), Variant("True")));
    EXPECT_FALSE(VarEqualsExact(Variant(true), Null));
    EXPECT_TRUE(VarEqualsExact(Variant(2), Variant("2")));
    EXPECT_EQ(VarIndex({Variant(1), Variant("b"), Variant(2)}, Variant(2.0)), 2);
    EXPECT_EQ(VarIndex({Variant(1)}, Variant(3)), -1);
    EXPECT_TRUE(VarIsDate(Variant::FromDate(1)));
    EXPECT_FALSE(VarIsDate(Variant(1.0)));
    EXPECT_TRUE(VarIsNumericEx(Variant(Currency{1})));
    EXPECT_TRUE(VarTypeIsCurrency(varCurrency));
    EXPECT_FALSE(VarTypeIsCurrency(varDouble));
}

TEST(CxVariants, BetweenAndListArrays)
{
    Variant between;
    VarBetweenArrayCreate(between, 5, 1);   // kept in the order given
    EXPECT_EQ(between.LowBound(), 0);
    EXPECT_EQ(between.HighBound(), 1);
    EXPECT_EQ(between[0].ToInteger(), 5);
    Variant list;
    VarListArrayCreate(list, "a");
    VarListArrayAddValue(list, "b");
    VarListArrayAddValue(list, Null);
    ASSERT_EQ(list.HighBound(), 2);
    EXPECT_EQ(list[0].ToString(), "a");
    EXPECT_EQ(list[1].ToString(), "b");
    EXPECT_TRUE(list[2].IsNull());
}

TEST(CxVariants, StreamBytesOfEachTag)
{
    struct Case {
        Variant v;
        std::vector<Byte> bytes;
    } cases[] = {
        {Variant(127), {0x02, 0x7F}},
        {Variant(128), {0x03, 0x80, 0x00}},
        {Variant(-32769), {0x04, 0xFF, 0x7F, 0xFF, 0xFF}},
        {Variant(std::int64_t(2147483648LL)), {0x13, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00}},
        {Variant(""), {0x06, 0x00}},
        {Unassigned, {0x0D}},
        {Null, {0x00}},
        {Variant(true), {0x09}},
        {Variant(false), {0x08}},
        {VarArrayOf({1, "a"}), {0x01, 0x02, 0x02, 0x02, 0x01, 0x06, 0x01, 0x61}},
        {Variant(u"hi"), {0x12, 0x02, 0x00, 0x00, 0x00, 'h', 0x00, 'i', 0x00}},
        {Variant(Currency{15000}), {0x10, 0x98, 0x3A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {Kind(varSingle, Variant(1.0)), {0x0F, 0x00, 0x00, 0x80, 0x3F}},
        {Variant(1.0), {0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x3F}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Written(c.v), c.bytes) << VarTypeAsText(c.v.VType());
    std::vector<Byte> s255 = Written(Variant(std::string(255, 'x')));
    EXPECT_EQ(s255.size(), 257u);
    EXPECT_EQ(s255[0], 0x06);
    EXPECT_EQ(s255[1], 0xFF);
    std::vector<Byte> s256 = Written(Variant(std::string(256, 'x')));
    EXPECT_EQ(std::vector<Byte>(s256.begin(), s256.begin() + 5), (std::vector<Byte>{0x0C, 0x00, 0x01, 0x00, 0x00}));
}

TEST(CxVariants, StreamRoundTripOfEveryKind)
{
    struct Case {
        Variant v;
        Word readKind;
    } cases[] = {
        {Unassigned, varEmpty},
        {Null, varNull},
        {Kind(varSmallint, Variant(-300)), varSmallint},
        {Variant(100000), varInteger},
        {Kind(varSingle, Variant(0.5)), varSingle},
        {Variant(3.141592653589793), varDouble},
        {Variant(Currency{-123456789}), varCurrency},
        {Variant::FromDate(45366.75), varDate},
        {Variant(u"宽字符"), varOleStr},
        {Variant(false), varBoolean},
        {Variant(true), varBoolean},
        {Kind(varShortInt, Variant(-5)), varShortInt},
        {Kind(varByte, Variant(200)), varSmallint},
        {Kind(varWord, Variant(65535)), varInteger},
        {Kind(varLongWord, Variant(std::int64_t(4000000000LL))), varInt64},
        {Variant(std::int64_t(-9000000000000LL)), varInt64},
        {Variant("text 文字"), varString},
        {Variant(std::string(300, 'z')), varString},
        {VarArrayOf({Null, VarArrayOf({1, 2}), "x"}), varArray | varVariant},
    };
    for (const Case& c : cases) {
        Variant back = ReadBack(Written(c.v));
        EXPECT_EQ(back.VType(), c.readKind) << VarTypeAsText(c.v.VType());
        EXPECT_EQ(VarCompare(back, c.v), 0) << VarTypeAsText(c.v.VType());
    }
}

TEST(CxVariants, DamagedStreamsRaiseReadErrors)
{
    // An unknown tag is refused after its byte was taken.
    TMemoryStream tag7(std::vector<Byte>{0x07, 0x00});
    EXPECT_THROW(ReadVariantFunc(&tag7), EReadError);
    EXPECT_EQ(tag7.Position(), 1);
    // A short payload, a short string, an array header promising more than the stream holds.
    for (std::vector<Byte> bytes : std::vector<std::vector<Byte>>{
             {0x04, 0x01, 0x02},
             {0x06, 0x05, 'a'},
             {0x0C, 0xFF, 0xFF, 0xFF, 0x7F, 'a'},
             {0x12, 0x00, 0x00, 0x00, 0x40},
             {0x01, 0x04, 0xFF, 0xFF, 0xFF, 0x7F, 0x00},
             {0x01, 0x02, 0xFF},
             {}}) {
        TMemoryStream s(bytes);
        EXPECT_THROW(ReadVariantFunc(&s), EReadError) << bytes.size();
    }
    // A count written with tag 19 inside an array header is accepted.
    TMemoryStream wide(std::vector<Byte>{0x01, 0x13, 1, 0, 0, 0, 0, 0, 0, 0, 0x02, 0x07});
    Variant v = ReadVariantFunc(&wide);
    ASSERT_TRUE(v.IsArray());
    EXPECT_EQ(v[0].ToInteger(), 7);
}

TEST(CxVariants, ReaderAndWriterBindTheProcedures)
{
    TMemoryStream s;
    {
        TcxWriter w(&s);
        w.WriteInteger(-2);
        w.WriteFloat(2.5);
        w.WriteAnsiString("abc");
        w.WriteWideString(u"中");
        w.WriteVariant(Variant(42));
        w.WriteWord(65535);
        w.WriteBoolean(true);
    }
    EXPECT_EQ(s.Size(), 4 + 10 + 7 + 6 + 2 + 2 + 1);
    s.SetPosition(0);
    TcxReader r(&s);
    EXPECT_FALSE(r.IsUnicode());
    EXPECT_EQ(r.ReadInteger(), -2);
    EXPECT_EQ(r.ReadFloat(), 2.5);
    EXPECT_EQ(r.ReadAnsiString(), "abc");
    EXPECT_EQ(r.ReadWideString(), u"中");
    EXPECT_EQ(r.ReadVariant().ToInteger(), 42);
    EXPECT_EQ(r.ReadWord(), 65535);
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_THROW(r.ReadByte(), EReadError);
}
