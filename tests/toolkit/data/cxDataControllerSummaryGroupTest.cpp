#include <gtest/gtest.h>

#include "tests/toolkit/data/DataControllerTestHelpers.h"

using namespace cx;
using namespace cxtest;

namespace {

// Two grouping columns (country, city) and a value column.
struct SummaryGroups : ::testing::Test {
    TTestDataController* dc = new TTestDataController();
    int country = dc->AddColumn(TcxStringValueType::Class());
    int city = dc->AddColumn(TcxStringValueType::Class());
    int v = dc->AddColumn(TcxIntegerValueType::Class());
    void SetUp() override
    {
        Fill(*dc, country, {"A", "A", "A", "B", "B", "C"});
        Fill(*dc, city, {"x", "y", "y", "z", "z", "w"});
        Fill(*dc, v, {1, 20, 30, 4, 5, 100});
    }
    void TearDown() override { dc->Free(); }
    TcxDataSummary* S() { return dc->Summary(); }
    // The group value of every level-0 group in list order.
    std::vector<std::string> TopGroups()
    {
        std::vector<std::string> r;
        TcxDataGroups* groups = dc->DataControllerInfo()->DataGroups();
        for (int k = 0; k < groups->Count(); ++k)
            if (groups->Items(k).Level == 0)
                r.push_back(dc->Groups()->GroupValue(k).ToString());
        return r;
    }
};

// A level whose grouping field a summary group links uses that group's items; the others use
// the default items.
TEST_F(SummaryGroups, LinkedLevelsUseTheirGroupsItems)
{
    S()->DefaultGroupSummaryItems()->Add(dc->Items[v], spGroup, skSum);
    TcxDataSummaryGroup* byCity = S()->SummaryGroups()->Add();
    byCity->Links()->Add()->SetItemLink(dc->Items[city]);
    byCity->SummaryItems()->Add(dc->Items[v], spGroup, skMax);
    byCity->SummaryItems()->Add(nullptr, spGroup, skCount);
    dc->Groups()->ChangeGrouping(country, 0);
    dc->Groups()->ChangeGrouping(city, 1);

    EXPECT_EQ(S()->GetGroupSummaryItems(0), S()->DefaultGroupSummaryItems());
    EXPECT_EQ(S()->GetGroupSummaryItems(1), byCity->SummaryItems());
    EXPECT_EQ(S()->GetGroupSummaryItems(2), nullptr);
    EXPECT_EQ(S()->SummaryGroups()->FindByItemLink(dc->Items[city]), byCity);
    EXPECT_EQ(S()->SummaryGroups()->FindByItemLink(nullptr), nullptr);

    dc->Groups()->FullExpand();
    // Rows: A, A/x, 1, A/y, 20, 30, B, ...
    EXPECT_EQ(S()->GroupSummaryText(0), "(SUM=51.00)");
    EXPECT_EQ(S()->GroupSummaryText(3), "(MAX=30.00, COUNT=2)");
    TcxDataSummaryItems* items = nullptr;
    Variant values;
    ASSERT_TRUE(S()->GetGroupSummaryInfo(1, items, values));
    EXPECT_EQ(items, byCity->SummaryItems());
    EXPECT_EQ(values[0].ToInteger(), 1);

    // Unlinking the city returns its level to the default items and recalculates.
    byCity->Links()->Clear();
    EXPECT_EQ(S()->GroupSummaryText(3), "(SUM=50.00)");
}

// A field is linked by one group at most; a removed field leaves links and items without a field.
TEST_F(SummaryGroups, OneGroupPerFieldAndRemovedFields)
{
    TcxDataSummaryGroup* first = S()->SummaryGroups()->Add();
    TcxDataSummaryGroup* second = S()->SummaryGroups()->Add();
    EXPECT_FALSE(first->HasLinks());   // made on first use
    first->Links()->Add()->SetItemLink(dc->Items[city]);
    first->Links()->Add()->SetItemLink(dc->Items[country]);
    second->Links()->Add()->SetItemLink(dc->Items[city]);
    EXPECT_EQ(first->Links()->Count(), 1);
    EXPECT_EQ(first->Links()->IndexOfItemLink(dc->Items[country]), 0);
    EXPECT_EQ(second->Links()->ItemOfItemLink(dc->Items[city])->Field(), dc->Fields(city));
    EXPECT_EQ(S()->SummaryGroups()->FindByItemLink(dc->Items[city]), second);

    second->SummaryItems()->Add(dc->Items[v], spGroup, skSum);
    TTestItem* cityItem = dc->Items[city];
    dc->RemoveItem(cityItem);
    EXPECT_EQ(second->Links()->Count(), 1);
    EXPECT_EQ(second->Links()->Items(0)->Field(), nullptr);
    EXPECT_EQ(S()->SummaryGroups()->FindByItemLink(cityItem), nullptr);
}

// A clone's summary collection answers the pattern's collection at the same place.
TEST_F(SummaryGroups, PatternItemsAndAssign)
{
    TcxDataSummaryGroup* group = S()->SummaryGroups()->Add();
    group->Links()->Add()->SetItemLink(dc->Items[city]);
    group->SummaryItems()->Add(dc->Items[v], spGroup, skMin);
    TcxDataSummaryGroup* other = S()->SummaryGroups()->Add();

    TTestDataController* pattern = new TTestDataController();
    for (int i = 0; i < 3; ++i)
        pattern->AddColumn(TcxStringValueType::Class());
    pattern->Summary()->Assign(S());
    TcxDataSummary* p = pattern->Summary();
    ASSERT_EQ(p->SummaryGroups()->Count(), 2);
    EXPECT_EQ(p->SummaryGroups()->Items(0)->SummaryItems()->Count(), 1);
    EXPECT_EQ(p->SummaryGroups()->Items(0)->SummaryItems()->Items(0)->Kind(), skMin);
    // The link is mapped to the pattern's own field for the same item position.
    EXPECT_EQ(p->SummaryGroups()->Items(0)->Links()->Items(0)->Field(), pattern->Fields(city));

    struct Case {
        TcxDataSummaryItems* Mine;
        TcxDataSummaryItems* Expected;
    } cases[] = {
        {S()->FooterSummaryItems(), p->FooterSummaryItems()},
        {S()->DefaultGroupSummaryItems(), p->DefaultGroupSummaryItems()},
        {group->SummaryItems(), p->SummaryGroups()->Items(0)->SummaryItems()},
        {other->SummaryItems(), p->SummaryGroups()->Items(1)->SummaryItems()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(S()->GetPatternSummaryItems(p, c.Mine), c.Expected);
    p->SummaryGroups()->Delete(1);
    EXPECT_EQ(S()->GetPatternSummaryItems(p, other->SummaryItems()), nullptr);   // no group there
    EXPECT_EQ(S()->GetPatternSummaryItems(p, p->FooterSummaryItems()), nullptr);  // not ours
    pattern->Free();
}

// Groups sort by the sorted summary item's value, in the direction of their grouping field, and
// carry their records along; unsorting restores the value order.
TEST_F(SummaryGroups, SortingGroupsBySummary)
{
    TcxDataSummaryItem* sum = S()->DefaultGroupSummaryItems()->Add(dc->Items[v], spGroup, skSum);
    dc->Groups()->ChangeGrouping(country, 0);
    EXPECT_EQ(TopGroups(), (std::vector<std::string>{"A", "B", "C"}));   // sums 51, 9, 100
    EXPECT_FALSE(dc->DataControllerInfo()->IsSortingBySummary());

    sum->SetSorted(true);
    EXPECT_TRUE(dc->DataControllerInfo()->IsSortingBySummary());
    EXPECT_EQ(TopGroups(), (std::vector<std::string>{"B", "A", "C"}));
    dc->Groups()->FullExpand();
    // Group rows answer their first record.
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{3, 3, 4, 0, 0, 1, 2, 5, 5}));
    EXPECT_EQ(dc->Summary()->GroupSummaryText(0), "(SUM=9.00)");

    // A value change regroups and sorts again: B grows past C.
    dc->SetValue(4, v, 500);
    EXPECT_EQ(TopGroups(), (std::vector<std::string>{"A", "C", "B"}));

    // Descending grouping field: largest sum first; expansion survives by group value.
    dc->ChangeSorting(country, soDescending);
    EXPECT_EQ(TopGroups(), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(dc->GetRowCount(), 9);

    sum->SetSorted(false);
    EXPECT_FALSE(dc->DataControllerInfo()->IsSortingBySummary());
    EXPECT_EQ(TopGroups(), (std::vector<std::string>{"C", "B", "A"}));   // plain descending values
}

// The controller's sorting item overrides the items' own flags at every level; the inner level
// sorts within each parent.
TEST_F(SummaryGroups, SortingBySummaryDataItemIndex)
{
    S()->DefaultGroupSummaryItems()->Add(dc->Items[v], spGroup, skMax);
    dc->Groups()->ChangeGrouping(country, 0);
    dc->Groups()->ChangeGrouping(city, 1);
    EXPECT_EQ(dc->GetSortingBySummaryDataItemIndex(), -1);
    EXPECT_THROW(dc->SetSortingBySummaryDataItemIndex(7), EcxInvalidDataControllerOperation);
    dc->SetSortingBySummaryDataItemIndex(v);
    EXPECT_EQ(dc->GetSortingBySummaryDataItemIndex(), v);
    // Max per country: A 30, B 5, C 100.
    EXPECT_EQ(TopGroups(), (std::vector<std::string>{"B", "A", "C"}));
    dc->Groups()->FullExpand();
    // Within A: x (max 1) before y (max 30); records follow their groups.
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{3, 3, 3, 4, 0, 0, 0, 1, 1, 2, 5, 5, 5}));
    EXPECT_EQ(dc->GetRowInfo(4).Level, 0);
    EXPECT_EQ(dc->GetRowInfo(5).Level, 1);
    EXPECT_EQ(dc->GetRowInfo(6).Level, 2);
    // Item flags are ignored while the controller chooses the item.
    TcxDataSummaryItem* item = S()->DefaultGroupSummaryItems()->Items(0);
    item->SetSorted(true);
    EXPECT_FALSE(item->Sorted());

    // Removing the field ends sorting by summary.
    dc->RemoveItem(dc->Items[v]);
    EXPECT_EQ(dc->GetSortingBySummaryDataItemIndex(), -1);
    EXPECT_FALSE(dc->DataControllerInfo()->IsSortingBySummary());
    EXPECT_EQ(TopGroups(), (std::vector<std::string>{"A", "B", "C"}));
}

// A summary that follows the selection never sorts the groups.
TEST_F(SummaryGroups, NoSortingWhenTheSummaryFollowsTheSelection)
{
    S()->DefaultGroupSummaryItems()->Add(dc->Items[v], spGroup, skSum)->SetSorted(true);
    dc->Groups()->ChangeGrouping(country, 0);
    EXPECT_EQ(TopGroups(), (std::vector<std::string>{"B", "A", "C"}));
    S()->SetOptions({soSelectedRecords});
    EXPECT_FALSE(dc->DataControllerInfo()->IsSortingBySummary());
}

} // namespace
