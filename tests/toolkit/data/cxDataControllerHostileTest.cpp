// Faults of the data controller and its streams that lost data or the process: each case here
// once corrupted records, overflowed a block or allocated far past the bytes a stream held.
#include <gtest/gtest.h>

#include "platform/rtl/Streams.h"
#include "tests/toolkit/data/DataControllerTestHelpers.h"
#include "tests/toolkit/data/FilterTestCriteria.h"

using namespace cx;
using namespace cxtest;

namespace {

void PutInt(std::vector<Byte>& b, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<Byte>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

std::vector<int> Ints(TTestDataController& dc, int item)
{
    std::vector<int> r;
    for (int i = 0; i < dc.GetRecordCount(); ++i)
        r.push_back(dc.GetValue(i, item).IsNull() ? -1 : dc.GetValue(i, item).ToInteger());
    return r;
}

TEST(DataControllerFaults, DeletingARecordBeforeTheEditedOneKeepsTheOthers)
{
    TTestDataController dc;
    int a = dc.AddColumn(TcxIntegerValueType::Class());
    Fill(dc, a, {10, 11, 12, 13, 14});
    dc.ChangeFocusedRecordIndex(3);
    dc.Edit();
    dc.SetEditValue(a, 99, evsValue);
    dc.DeleteRecord(0);
    dc.Cancel();
    EXPECT_EQ(Ints(dc, a), (std::vector<int>{11, 12, 99, 14}));
}

TEST(DataControllerFaults, RecordEditedInAGroupedViewStaysInItsGroupUntilPost)
{
    TTestDataController dc;
    int a = dc.AddColumn(TcxIntegerValueType::Class());
    int b = dc.AddColumn(TcxStringValueType::Class());
    Fill(dc, a, {1, 1, 2, 2, 3});
    Fill(dc, b, {"a", "b", "c", "d", "e"});
    dc.Groups()->ChangeGrouping(a, 0);
    dc.Groups()->FullExpand();
    auto rows = [&] {
        std::vector<std::pair<int, int>> r;   // (level, record) for every row
        for (int i = 0; i < dc.GetRowCount(); ++i)
            r.push_back({dc.GetRowInfo(i).Level, dc.GetRowInfo(i).RecordIndex});
        return r;
    };
    const auto before = rows();
    ASSERT_EQ(before.size(), 8u);
    dc.ChangeFocusedRecordIndex(2);
    dc.Edit();
    dc.SetEditValue(a, 9, evsValue);
    dc.SetEditValue(b, "x", evsValue);
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(dc.Groups()->ChildCount(1), 2);
    dc.Post();
    dc.Groups()->FullExpand();
    EXPECT_EQ(dc.GetRowCount(), 9);   // 9 now has its own group
}

// A definition between two others changes its form while records (and an edited row's internal
// copy) exist: every block is laid out again (ASan checks no byte outside one is touched) and the
// values survive where the new form holds them.
TEST(DataStorageFaults, ChangingADefinitionsFormLaysTheRecordsOutAgain)
{
    TcxDataStorage s;
    TcxValueDef* before = s.ValueDefs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
    TcxValueDef* def = s.ValueDefs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
    TcxValueDef* after = s.ValueDefs()->Add(TcxStringValueType::Class(), true, true, nullptr);
    s.SetRecordCount(3);
    for (int i = 0; i < 3; ++i) {
        s.SetValue(i, before, i);
        s.SetValue(i, def, 10 + i);
        s.SetValue(i, after, "r" + std::to_string(i));
        s.SetDisplayText(i, after, "t" + std::to_string(i));
    }
    s.SetValue(1, def, Null);
    int internal = s.AddInternalRecord();
    s.SetValue(internal, def, 77);
    s.SetValue(internal, after, "edited");

    def->SetTextStored(true);
    s.SetDisplayText(0, def, "ten");
    def->SetValueTypeClass(TcxStringValueType::Class());
    EXPECT_EQ(s.GetValue(0, def).ToString(), "10");
    EXPECT_TRUE(s.GetValue(1, def).IsNull());
    EXPECT_EQ(s.GetDisplayText(0, def), "ten");
    def->SetValueTypeClass(TcxDateTimeValueType::Class());   // "10" converts, nothing else is lost
    def->SetValueTypeClass(TcxSmallintValueType::Class());
    TcxDataStorageHelper::SetTextStored(def, false);
    EXPECT_EQ(s.GetValue(2, def).ToInteger(), 12);
    EXPECT_EQ(s.GetValue(internal, def).ToInteger(), 77);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.GetValue(i, before).ToInteger(), i);
        EXPECT_EQ(s.GetValue(i, after).ToString(), "r" + std::to_string(i));
        EXPECT_EQ(s.GetDisplayText(i, after), "t" + std::to_string(i));
    }
    EXPECT_EQ(s.GetValue(internal, after).ToString(), "edited");
    def->SetValueTypeClass(TcxStringValueType::Class());
    s.SetValue(0, def, "not a number");
    def->SetValueTypeClass(TcxIntegerValueType::Class());   // what the new type cannot hold is null
    EXPECT_TRUE(s.GetValue(0, def).IsNull());
    EXPECT_EQ(s.GetValue(2, def).ToInteger(), 12);
}

// A definition of the Object kind owns the objects of its records: a change of its text flag keeps
// them (once freed, with their addresses kept, the storage freed them again), a change into another
// kind frees each once, and integers never become owned objects.
TEST(DataStorageFaults, AnObjectDefinitionKeepsOrFreesItsObjectsWhenItsFormChanges)
{
    struct Counted : TObject {
        explicit Counted(int& freed) : freed_(freed) {}
        ~Counted() override { ++freed_; }
        int& freed_;
    };
    int freed = 0;
    const auto addressOf = [](TObject* o) { return Variant(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(o))); };
    {
        TcxDataStorage s;
        TcxValueDef* def = s.ValueDefs()->Add(TcxObjectValueType::Class(), true, false, nullptr);
        TcxValueDef* after = s.ValueDefs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
        s.SetRecordCount(2);
        auto* first = new Counted(freed);
        s.SetValue(0, def, addressOf(first));
        s.SetValue(0, after, 7);
        s.SetValue(1, def, addressOf(new Counted(freed)));
        def->SetTextStored(true);
        s.SetDisplayText(0, def, "first");
        TcxDataStorageHelper::SetTextStored(def, false);
        EXPECT_EQ(freed, 0);
        EXPECT_EQ(s.GetValue(0, def).ToInt64(), addressOf(first).ToInt64());
        EXPECT_EQ(s.GetValue(0, after).ToInteger(), 7);
        s.DeleteRecord(1);
        EXPECT_EQ(freed, 1);
        def->SetValueTypeClass(TcxIntegerValueType::Class());
        EXPECT_EQ(freed, 2);
        EXPECT_TRUE(s.GetValue(0, def).IsNull());
        EXPECT_EQ(s.GetValue(0, after).ToInteger(), 7);

        s.SetValue(0, def, 12345);
        def->SetValueTypeClass(TcxObjectValueType::Class());
        EXPECT_TRUE(s.GetValue(0, def).IsNull());
        s.DeleteRecord(0);
    }
    EXPECT_EQ(freed, 2);
}

// Variant streams: arrays nested past any real filter value, and nested counts that each fit the
// bytes left but together ask for far more, are refused before they are allocated.
TEST(StreamFaults, VariantArraysAreBoundedInDepthAndInTotalCount)
{
    std::vector<Byte> deep;
    for (int i = 0; i < 65; ++i)
        deep.insert(deep.end(), {1, 2, 1});   // an array of one element, counted in a byte
    deep.push_back(0);
    std::vector<Byte> shallow(deep.begin() + 3, deep.end());   // 64 levels still read

    std::vector<Byte> wide;
    const int size = 24 * 1024, count = size / 2;
    for (int i = 0; i < 4; ++i) {   // every level declares half of the stream
        wide.insert(wide.end(), {1, 4});
        PutInt(wide, count);
    }
    wide.resize(size, 0);

    struct Case {
        const char* name;
        std::vector<Byte> bytes;
        bool reads;
    } cases[] = {
        {"65 levels", deep, false},
        {"64 levels", shallow, true},
        {"nested counts past the bytes", wide, false},
        {"negative count", {1, 4, 0xFF, 0xFF, 0xFF, 0xFF}, false},
        {"truncated element", {1, 2, 3, 0, 0}, false},
    };
    for (const Case& c : cases) {
        TMemoryStream ms(c.bytes);
        if (c.reads)
            EXPECT_NO_THROW(ReadVariantFunc(&ms)) << c.name;
        else
            EXPECT_THROW(ReadVariantFunc(&ms), EReadError) << c.name;
    }
}

struct FilterStreamFaults : ::testing::Test {
    TcxDataStorage storage;
    TTestCriteria criteria{&storage};
    TTestCriteria target{&storage};
    TTestField* field = nullptr;
    void SetUp() override
    {
        cxDataStorageUnit::Initialize();
        field = criteria.AddField(1, "A", TcxIntegerValueType::Class());
        target.AddField(1, "A", TcxIntegerValueType::Class());
        target.AddItem(nullptr, target.Fields[0], foEqual, 7, "7");
    }
    void TearDown() override { cxDataStorageUnit::Finalize(); }
    void ExpectRefused(const char* name)
    {
        TMemoryStream ms;
        criteria.WriteData(&ms);
        ms.SetPosition(0);
        EXPECT_THROW(target.ReadData(&ms), EReadError) << name;
        EXPECT_EQ(target.GetFilterText(), "(A = 7)") << name;   // what the filter held survives
        EXPECT_EQ(target.LockCount(), 0);
    }
};

TEST_F(FilterStreamFaults, NestingAndImproperArraysAreRefusedKeepingTheFilter)
{
    criteria.SetVersion(3);
    TcxFilterCriteriaItemList* list = criteria.Root();
    for (int i = 0; i < 65; ++i)
        list = list->AddItemList(fboOr);
    list->AddItem(field, foEqual, 1, "1");
    ExpectRefused("lists 65 deep below the root");

    criteria.Clear();
    criteria.AddItem(nullptr, field, foBetween, 5, "5");
    ExpectRefused("between over a plain value");
    criteria.Clear();
    Variant three = VarArrayCreate(0, 2, varVariant);
    criteria.AddItem(nullptr, field, foNotBetween, three, "");
    ExpectRefused("between over three values");
    criteria.Clear();
    criteria.AddItem(nullptr, field, foInList, "x", "x");
    ExpectRefused("list over a plain value");

    // A proper list and a tree 64 deep still read.
    criteria.Clear();
    Variant inList;
    VarListArrayCreate(inList, 1);
    VarListArrayAddValue(inList, 2);
    list = criteria.Root();
    for (int i = 0; i < 64; ++i)
        list = list->AddItemList(fboAnd);
    list->AddItem(field, foInList, inList, "");
    TMemoryStream ms;
    criteria.WriteData(&ms);
    ms.SetPosition(0);
    target.ReadData(&ms);
    EXPECT_TRUE(target.EqualItems(&criteria, false));
}

// The "DataController1" stream: counts past the bytes present are refused before anything is
// allocated, and a stream that breaks off while records are read puts the old records back.
TEST(StreamFaults, ControllerStreamRefusesCountsPastItsBytesAndKeepsTheRecords)
{
    auto header = [](int fields) {
        std::vector<Byte> b;
        PutInt(b, 15);
        for (char c : std::string("DataController1"))
            b.push_back(static_cast<Byte>(c));
        PutInt(b, fields);
        return b;
    };
    std::vector<Byte> huge = header(0);
    PutInt(huge, 0x7FFFFFFF);
    ASSERT_EQ(huge.size(), 27u);
    std::vector<Byte> tenMillion = header(0);
    PutInt(tenMillion, 10000000);
    tenMillion.resize(141, 1);

    TTestDataController full;
    int a = full.AddColumn(TcxIntegerValueType::Class());
    Fill(full, a, {1, 2, 3});
    TMemoryStream saved;
    full.SaveToStream(&saved);
    std::vector<Byte> cut(saved.Bytes().begin(), saved.Bytes().end() - 3);

    struct Case {
        const char* name;
        std::vector<Byte> bytes;
        bool withColumn;
    } cases[] = {
        {"27 bytes asking for 2^31 records", huge, false},
        {"141 bytes asking for ten million", tenMillion, false},
        {"cut inside the last record", cut, true},
    };
    for (const Case& c : cases) {
        TTestDataController dc;
        int item = c.withColumn ? dc.AddColumn(TcxIntegerValueType::Class()) : -1;
        if (item >= 0)
            Fill(dc, item, {7, 8, 9, 10});
        else
            dc.SetRecordCount(4);
        TMemoryStream ms(c.bytes);
        EXPECT_THROW(dc.LoadFromStream(&ms), Exception) << c.name;
        ASSERT_EQ(dc.GetRecordCount(), 4) << c.name;
        if (item >= 0) {
            EXPECT_EQ(Ints(dc, item), (std::vector<int>{7, 8, 9, 10})) << c.name;
        }
    }
}

TEST(StreamFaults, RecordIdsNeverWrap)
{
    TcxDataStorage s;
    s.SetUseRecordID(true);
    s.ValueDefs()->Add(TcxIntegerValueType::Class(), true, false, nullptr);
    s.SetRecordCount(1);
    s.SetValue(0, s.ValueDefs()->Items(0), 5);
    TMemoryStream ms;
    s.WriteData(0, &ms);
    std::vector<Byte> bytes = ms.Bytes();   // empty mark, then the ID
    auto withId = [&](std::int32_t id) {
        std::vector<Byte> b = bytes;
        for (int i = 0; i < 4; ++i)
            b[1 + i] = static_cast<Byte>(static_cast<std::uint32_t>(id) >> (8 * i));
        return b;
    };
    TMemoryStream atMax(withId(0x7FFFFFFF));
    EXPECT_THROW(s.ReadData(0, &atMax), EReadError);
    TMemoryStream belowMax(withId(0x7FFFFFFD));
    s.ReadData(0, &belowMax);
    EXPECT_EQ(s.GetRecordID(0), 0x7FFFFFFD);
    s.AppendRecord();   // takes the last ID there is
    EXPECT_EQ(s.GetRecordID(1), 0x7FFFFFFE);
    EXPECT_THROW(s.AppendRecord(), ERangeError);
    EXPECT_THROW(s.SetRecordCount(5), ERangeError);
    EXPECT_EQ(s.RecordCount(), 2);
}

} // namespace
