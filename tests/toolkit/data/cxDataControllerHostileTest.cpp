// Faults of the data controller and its streams that lost data or the process: each case here
// once corrupted records, overflowed a block or allocated far past the bytes a stream held.
#include <gtest/gtest.h>

#include "platform/rtl/Streams.h"
#include "tests/toolkit/data/DataControllerTestHelpers.h"

using namespace cx;
using namespace cxtest;

namespace {

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

} // namespace
