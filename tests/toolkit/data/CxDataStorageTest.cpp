#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Locale.h"
#include "toolkit/data/cxDataStorage.h"
#include "toolkit/data/cxDataUtils.h"

using namespace cx;

namespace {

std::vector<Byte> RecordBytes(TcxDataStorage& s, int index)
{
    TMemoryStream m;
    s.WriteData(index, &m);
    return m.Bytes();
}

struct DataStorageRegistry : ::testing::Test {
    void SetUp() override { cxDataStorageUnit::Initialize(); }
    void TearDown() override { cxDataStorageUnit::Finalize(); }
};

} // namespace

TEST_F(DataStorageRegistry, CaptionsFindTheFourteenTypes)
{
    ASSERT_EQ(cxValueTypeClassList()->Count(), 14);
    EXPECT_EQ(cxValueTypeClassList()->Items(0), TcxStringValueType::Class());
    EXPECT_EQ(TcxSmallintValueType::Class()->Caption(), "Smallint");
    EXPECT_EQ(cxValueTypeClassList()->ItemByCaption("SmallInt"), nullptr);
    EXPECT_EQ(cxValueTypeClassList()->ItemByCaption("Integer"), TcxIntegerValueType::Class());
    EXPECT_EQ(cxValueTypeClassList()->ItemByCaption("SQLTimeStamp"), TcxSQLTimeStampValueType::Class());
    EXPECT_TRUE(IsDateTimeValueTypeClass(TcxDateTimeValueType::Class()));
    EXPECT_FALSE(IsDateTimeValueTypeClass(TcxFloatValueType::Class()));
    EXPECT_TRUE(TcxWideStringValueType::Class()->IsString());
    EXPECT_FALSE(TcxVariantValueType::Class()->IsString());
}

// Each value type: a value set and read back through a slot, the order of two slots, and the
// slot written to a stream and read into a fresh slot.
TEST(CxValueTypes, SlotCompareAndStreamOfEachType)
{
    struct Case {
        TcxValueTypeClass type;
        Variant low, high;
        Word kind;
    } cases[] = {
        {TcxStringValueType::Class(), Variant("ab"), Variant("b"), varString},
        {TcxWideStringValueType::Class(), Variant(u"a"), Variant(u"中"), varOleStr},
        {TcxSmallintValueType::Class(), Variant(-32768), Variant(32767), varSmallint},
        {TcxIntegerValueType::Class(), Variant(-2147483647 - 1), Variant(2147483647), varInteger},
        {TcxWordValueType::Class(), Variant(0), Variant(65535), varWord},
        {TcxBooleanValueType::Class(), Variant(false), Variant(true), varBoolean},
        {TcxFloatValueType::Class(), Variant(-0.5), Variant(1e300), varDouble},
        {TcxCurrencyValueType::Class(), Variant(Currency{-1}), Variant(Currency{1}), varCurrency},
        {TcxDateTimeValueType::Class(), Variant::FromDate(45366.5), Variant::FromDate(45367.0), varDate},
        {TcxLargeIntValueType::Class(), Variant(std::int64_t(-9000000000LL)), Variant(std::int64_t(9000000000LL)), varInt64},
        {TcxFMTBcdValueType::Class(), Variant("-12.5"), Variant("3.25"), varDouble},
        {TcxSQLTimeStampValueType::Class(), Variant::FromDate(45366.25), Variant::FromDate(45366.75), varDate},
        {TcxVariantValueType::Class(), Variant(1), Variant("z"), varInteger},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type->Caption());
        alignas(8) Byte a[40] = {}, b[40] = {}, copy[40] = {};
        c.type->SetDataValue(a, c.low);
        c.type->SetDataValue(b, c.high);
        Variant v;
        c.type->GetDataValue(a, v);
        EXPECT_EQ(v.VType(), c.kind);
        EXPECT_EQ(VarCompare(v, c.low), 0);
        EXPECT_LT(c.type->Compare(a, b), 0);
        EXPECT_GT(c.type->Compare(b, a), 0);
        EXPECT_EQ(c.type->Compare(a, a), 0);
        TMemoryStream m;
        c.type->WriteDataValue(b, &m);
        m.SetPosition(0);
        c.type->ReadDataValue(copy, &m);
        EXPECT_EQ(m.Position(), m.Size());
        EXPECT_EQ(c.type->Compare(copy, b), 0);
        c.type->FreeBuffer(a);
        c.type->FreeBuffer(b);
        c.type->FreeBuffer(copy);
    }
}

TEST(CxValueTypes, EdgeRules)
{
    alignas(8) Byte a[8] = {}, b[8] = {};
    // A null string slot sorts below any string, the empty one included.
    TcxStringValueType::Class()->SetDataValue(b, Variant(""));
    EXPECT_LT(TcxStringValueType::Class()->Compare(a, b), 0);
    TcxStringValueType::Class()->FreeBuffer(b);
    EXPECT_EQ(TcxStringValueType::Class()->Compare(a, b), 0);
    // Integer order is signed, not a subtraction that overflows.
    TcxIntegerValueType::Class()->SetDataValue(a, Variant(2147483647));
    TcxIntegerValueType::Class()->SetDataValue(b, Variant(-1));
    EXPECT_GT(TcxIntegerValueType::Class()->Compare(a, b), 0);
    // IsValueValid converts in place, keeps Null, and leaves Variant alone.
    Variant text("12");
    EXPECT_TRUE(TcxIntegerValueType::Class()->IsValueValid(text));
    EXPECT_EQ(text.VType(), varInteger);
    Variant bad("x");
    EXPECT_FALSE(TcxIntegerValueType::Class()->IsValueValid(bad));
    EXPECT_EQ(bad.VType(), varString);
    Variant n = Null;
    EXPECT_TRUE(TcxFloatValueType::Class()->IsValueValid(n));
    EXPECT_TRUE(n.IsNull());
    Variant s("abc");
    EXPECT_TRUE(TcxVariantValueType::Class()->IsValueValid(s));
    EXPECT_EQ(s.VType(), varString);
    // A Smallint has the same two bytes on a Unicode and an ANSI stream.
    TMemoryStream ansi;
    TcxSmallintValueType::Class()->SetDataValue(a, Variant(-2));
    TcxSmallintValueType::Class()->WriteDataValue(a, &ansi);
    EXPECT_EQ(ansi.Bytes(), (std::vector<Byte>{0xFE, 0xFF}));
    EXPECT_EQ(TcxBooleanValueType::Class()->GetDefaultDisplayText(a), "True");
}

TEST(CxDataStorage, RecordIDsCountFromOne)
{
    TcxDataStorage s;
    s.SetUseRecordID(true);
    TcxValueDef* def = s.ValueDefs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
    for (int i = 0; i < 3; ++i)
        s.AppendRecord();
    EXPECT_EQ(s.GetRecordID(0), 1);
    EXPECT_EQ(s.GetRecordID(2), 3);
    s.SetRecordCount(0);
    EXPECT_EQ(s.GetRecordID(s.AppendRecord()), 1);
    // Loading a record with ID 10 moves the counter past it.
    TMemoryStream m;
    WriteBooleanProc(&m, false);
    WriteIntegerProc(&m, 10);
    WriteBooleanProc(&m, false);
    WriteIntegerProc(&m, 77);
    m.SetPosition(0);
    s.ReadData(0, &m);
    EXPECT_EQ(s.GetValue(0, def).ToInteger(), 77);
    EXPECT_EQ(s.GetRecordID(s.AppendRecord()), 11);
    // Removing the only value keeps each record's ID.
    def->Free();
    EXPECT_EQ(s.GetRecordID(0), 10);
}

TEST(CxDataStorage, ValuesNullFlagsAndDefinitions)
{
    TcxDataStorage s;
    TcxValueDef* num = s.ValueDefs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
    int r = s.AppendRecord();
    EXPECT_EQ(s.RecordBuffer(r), nullptr);
    EXPECT_TRUE(s.GetValue(r, num).IsNull());
    s.SetValue(r, num, Variant("42"));
    EXPECT_NE(s.RecordBuffer(r), nullptr);
    EXPECT_EQ(s.GetValue(r, num).ToInteger(), 42);
    EXPECT_EQ(s.GetDisplayText(r, num), "42");
    // A value that does not convert leaves the record as it was, a null one too.
    EXPECT_THROW(s.SetValue(r, num, Variant("x")), EVariantError);
    EXPECT_EQ(s.GetValue(r, num).ToInteger(), 42);
    int r2 = s.AppendRecord();
    s.SetValue(r2, num, Null);
    EXPECT_THROW(s.SetValue(r2, num, Variant("x")), EVariantError);
    EXPECT_TRUE(s.GetValue(r2, num).IsNull());

    // A definition added later is null in every record; the first one keeps its values.
    TcxValueDef* name = s.ValueDefs()->Add(TcxStringValueType::Class(), true, true, nullptr);
    EXPECT_TRUE(s.GetValue(r, name).IsNull());
    EXPECT_EQ(s.GetValue(r, num).ToInteger(), 42);
    s.SetValue(r, name, Variant("alpha"));
    s.SetDisplayText(r, name, "Alpha");
    s.SetValue(r, name, Null);
    EXPECT_TRUE(s.GetValue(r, name).IsNull());
    EXPECT_EQ(s.GetDisplayText(r, name), "Alpha");   // the text slot keeps its text
    EXPECT_LT(s.CompareRecords(r, 0, num), 1);
    EXPECT_GT(s.CompareRecords(r, r2, num), 0);

    // Removing the first definition moves the second one down, values intact.
    s.SetValue(r, name, Variant("beta"));
    num->Free();
    EXPECT_EQ(s.GetValue(r, name).ToString(), "beta");
    // Removing the only stored one frees the blocks; the records stay and read as null.
    name->Free();
    EXPECT_EQ(s.RecordCount(), 2);
    EXPECT_EQ(s.RecordBuffer(r), nullptr);
}

TEST(CxDataStorage, InsertDeleteAndInternalRecords)
{
    TcxDataStorage s;
    TcxValueDef* def = s.ValueDefs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
    for (int i = 0; i < 3; ++i)
        s.SetValue(s.AppendRecord(), def, Variant(i));
    s.InsertRecord(1);
    s.SetValue(1, def, Variant(9));
    s.DeleteRecord(0);
    ASSERT_EQ(s.RecordCount(), 3);
    EXPECT_EQ(s.GetValue(0, def).ToInteger(), 9);
    EXPECT_EQ(s.GetValue(2, def).ToInteger(), 2);
    EXPECT_THROW(s.DeleteRecord(3), EListError);

    EXPECT_EQ(s.AddInternalRecord(), -1);
    EXPECT_EQ(s.AddInternalRecord(), -2);
    s.SetValue(-2, def, Variant(5));   // a main definition maps to its internal mirror
    EXPECT_EQ(s.GetValue(-2, def).ToInteger(), 5);
    s.DeleteRecord(-1);
    EXPECT_EQ(s.AddInternalRecord(), -1);
    EXPECT_TRUE(s.GetValue(-1, def).IsNull());
    // Internal records survive a change of the main layout.
    s.SetUseRecordID(true);
    EXPECT_EQ(s.GetValue(-2, def).ToInteger(), 5);
    int cleared = 0;
    s.OnClearInternalRecords = [&](TObject*) { ++cleared; };
    s.Clear(false);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(s.RecordCount(), 0);
    EXPECT_EQ(s.InternalRecordCount(), 0);
}

TEST(CxDataStorage, RecordStreamForm)
{
    TcxDataStorage s;
    TcxValueDef* def = s.ValueDefs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
    s.AppendRecord();
    EXPECT_EQ(RecordBytes(s, 0), std::vector<Byte>{0x01});
    s.SetValue(0, def, Variant(7));
    EXPECT_EQ(RecordBytes(s, 0), (std::vector<Byte>{0x00, 0x00, 0x07, 0x00, 0x00, 0x00}));
    // Text, display text, an object field (no bytes) and a null value, read into a fresh record.
    TcxValueDef* name = s.ValueDefs()->Add(TcxStringValueType::Class(), true, true, nullptr);
    s.ValueDefs()->Add(TcxObjectValueType::Class(), true, false, nullptr);
    TcxValueDef* price = s.ValueDefs()->Add(TcxCurrencyValueType::Class(), true, false, nullptr);
    s.SetValue(0, name, Variant("表"));
    s.SetDisplayText(0, name, "shown");
    std::vector<Byte> bytes = RecordBytes(s, 0);
    // mark, Integer (null mark + 4), String (mark + length + 3 bytes), text (length + 5), the
    // object's null mark and no value bytes, the Currency's null mark.
    EXPECT_EQ(bytes.size(), 1u + 5 + 1 + 4 + 3 + 4 + 5 + 1 + 1);
    s.AppendRecord();
    TMemoryStream m(bytes);
    s.ReadData(1, &m);
    EXPECT_EQ(s.GetValue(1, def).ToInteger(), 7);
    EXPECT_EQ(s.GetValue(1, name).ToString(), "表");
    EXPECT_EQ(s.GetDisplayText(1, name), "shown");
    EXPECT_TRUE(s.GetValue(1, price).IsNull());
    // A short record stream raises and the storage stays usable.
    TMemoryStream shortStream(std::vector<Byte>(bytes.begin(), bytes.begin() + 4));
    EXPECT_THROW(s.ReadData(1, &shortStream), EReadError);
    EXPECT_EQ(s.GetValue(0, def).ToInteger(), 7);
}

TEST(CxLookupList, FindGivesTheInsertionPoint)
{
    TcxLookupList list;
    list.Insert(0, 1, "one");
    list.Insert(1, 3, "three");
    list.Insert(2, 5, "five");
    struct Case {
        int key;
        bool found;
        int index;
    } cases[] = {{4, false, 2}, {0, false, 0}, {6, false, 3}, {3, true, 1}};
    for (const Case& c : cases) {
        int index = -1;
        EXPECT_EQ(list.Find(c.key, index), c.found) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
    }
}

TEST(CxDataUtils, CurrencyFormatWeekAndText)
{
    auto locale = std::make_unique<FixedLocaleService>(EncodeDate(2024, 3, 13));
    FixedLocaleService* fixed = locale.get();
    auto previous = SetLocaleService(std::move(locale));
    fixed->Settings().CurrencyDecimals = 2;
    fixed->Settings().CurrencyString = "$";
    fixed->Settings().CurrencyFormat = 0;
    EXPECT_EQ(DefaultCurrencyDisplayFormat(), "$,0.00");
    fixed->Settings().CurrencyFormat = 3;
    EXPECT_EQ(DefaultCurrencyDisplayFormat(), ",0.00 $");
    fixed->Settings().CurrencyString = "kr.";
    fixed->Settings().CurrencyFormat = 1;
    EXPECT_EQ(DefaultCurrencyDisplayFormat(), ",0.00kr'.'");

    TDateTime wednesday = EncodeDate(2024, 3, 13) + 0.5;
    SetStartOfWeek(1);
    EXPECT_EQ(GetStartDateOfWeek(wednesday), EncodeDate(2024, 3, 11));
    SetStartOfWeek(4);
    EXPECT_EQ(GetStartDateOfWeek(wednesday), EncodeDate(2024, 3, 7));
    SetStartOfWeek(7);
    EXPECT_EQ(GetStartOfWeek(), 4);
    SetStartOfWeek(10);
    EXPECT_EQ(DateOf(wednesday), EncodeDate(2024, 3, 13));
    EXPECT_DOUBLE_EQ(TimeOf(wednesday), 0.5);

    EXPECT_FALSE(DataCompareText("Abc", "ab", false));
    EXPECT_TRUE(DataCompareText("Abc", "ab", true));
    EXPECT_TRUE(DataCompareText("", "", false));
    EXPECT_FALSE(DataCompareText("x", "", true));
    SetLocaleService(std::move(previous));
}
