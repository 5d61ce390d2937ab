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

} // namespace
