#include <gtest/gtest.h>

#include "tests/toolkit/data/DataControllerTestHelpers.h"
#include "toolkit/core/dxCore.h"

using namespace cx;
using namespace cxtest;

namespace {

struct Summary : ::testing::Test {
    TTestDataController* dc = new TTestDataController();
    int g = dc->AddColumn(TcxStringValueType::Class());
    int v = dc->AddColumn(TcxIntegerValueType::Class());
    void TearDown() override { dc->Free(); }
    TcxDataSummaryItems* Footer() { return dc->Summary()->FooterSummaryItems(); }
};

TEST_F(Summary, FooterKindsWithNulls)
{
    Fill(*dc, g, {"a", "a", "b", "b"});
    Fill(*dc, v, {Null, 4, 3, 7});
    for (TcxSummaryKind k : {skSum, skMin, skMax, skCount, skAverage})
        Footer()->Add(dc->Items[v], spFooter, k);
    TcxDataSummary* s = dc->Summary();
    EXPECT_EQ(s->FooterSummaryValues(0).ToInteger(), 14);
    EXPECT_EQ(s->FooterSummaryValues(1).ToInteger(), 3);
    EXPECT_EQ(s->FooterSummaryValues(2).ToInteger(), 7);
    EXPECT_EQ(s->FooterSummaryValues(3).ToInteger(), 4);   // Null counts without soNullIgnore
    EXPECT_DOUBLE_EQ(s->FooterSummaryValues(4).ToDouble(), 3.5);
    s->SetOptions({soNullIgnore});
    EXPECT_EQ(s->FooterSummaryValues(3).ToInteger(), 3);
    EXPECT_NEAR(s->FooterSummaryValues(4).ToDouble(), 14.0 / 3, 1e-9);
    EXPECT_TRUE(s->FooterSummaryValues(9).IsNull());
    EXPECT_EQ(s->FooterSummaryTexts(0), "14.00");
    EXPECT_EQ(s->FooterSummaryTexts(1), "MIN=3.00");
    // A filter changes the footer.
    dc->Filter()->AddItem(dc->Filter()->Root(), dc->Items[g], foEqual, "b", "b");
    dc->Filter()->SetActive(true);
    EXPECT_EQ(s->FooterSummaryValues(0).ToInteger(), 10);
}

TEST_F(Summary, NullOnlyAndEmpty)
{
    Footer()->Add(dc->Items[v], spFooter, skSum);
    Footer()->Add(dc->Items[v], spFooter, skMin);
    Footer()->Add(dc->Items[v], spFooter, skCount);
    TcxDataSummary* s = dc->Summary();
    dc->Refresh();
    EXPECT_TRUE(s->FooterSummaryValues(0).IsNull());   // no records
    EXPECT_EQ(s->FooterSummaryValues(2).ToInteger(), 0);
    Fill(*dc, v, {Null});
    EXPECT_EQ(s->FooterSummaryValues(0).ToInteger(), 0);   // Null alone sums to 0
    EXPECT_TRUE(s->FooterSummaryValues(1).IsNull());
}

TEST_F(Summary, GroupValuesAndText)
{
    Fill(*dc, g, {"a", "b", "a", "b", "b"});
    Fill(*dc, v, {1, 2, 3, Null, 5});
    TcxDataGroupSummaryItems* items = dc->Summary()->DefaultGroupSummaryItems();
    items->Add(dc->Items[v], spGroup, skSum);
    items->Add(dc->Items[v], spGroup, skMax);
    items->Add(nullptr, spGroup, skCount);   // counts the group's records
    dc->Groups()->ChangeGrouping(g, 0);
    ASSERT_EQ(dc->GetRowCount(), 2);
    TcxDataSummary* s = dc->Summary();
    int ga = dc->Groups()->DataGroupIndexByRowIndex(0), gb = dc->Groups()->DataGroupIndexByRowIndex(1);
    EXPECT_EQ(s->GroupSummaryValue(ga, 0).ToInteger(), 4);
    EXPECT_EQ(s->GroupSummaryValue(gb, 0).ToInteger(), 7);
    EXPECT_EQ(s->GroupSummaryValue(gb, 1).ToInteger(), 5);
    EXPECT_EQ(s->GroupSummaryValue(gb, 2).ToInteger(), 3);
    EXPECT_EQ(s->GroupSummaryText(0), "(SUM=4.00, MAX=3.00, COUNT=2)");
    TcxDataSummaryItems* info = nullptr;
    Variant values;
    ASSERT_TRUE(s->GetGroupSummaryInfo(1, info, values));
    EXPECT_EQ(info, items);
    EXPECT_EQ(values[0].ToInteger(), 7);
    EXPECT_FALSE(s->GetGroupSummaryInfo(5, info, values));

    // A value set by hand shows until the next full calculation.
    s->SetGroupSummaryValue(gb, 0, 70);
    s->SetGroupSummaryValue(gb, 9, 1);   // no such item: ignored
    EXPECT_EQ(s->GroupSummaryValue(gb, 0).ToInteger(), 70);
    EXPECT_EQ(s->GroupFooterSummaryText(1, 0, 0), "70.00");   // the footer form of the format
    EXPECT_EQ(s->GroupFooterSummaryText(1, 1, 0), "");   // no level 1
    EXPECT_EQ(s->GroupFooterSummaryText(1, 0, 3), "");
    s->Recalculate();
    EXPECT_EQ(s->GroupSummaryValue(gb, 0).ToInteger(), 7);

    items->Add(dc->Items[v], spFooter, skMin);
    EXPECT_EQ(s->GroupFooterIndexOfItemLink(0, dc->Items[v]), 3);
    EXPECT_EQ(s->GroupFooterIndexOfItemLink(0, dc->Items[g]), -1);
    items->Clear();
    EXPECT_EQ(s->GroupSummaryText(0), "");
}

TEST_F(Summary, SelectedRecordsAndDefaultFormats)
{
    Fill(*dc, v, {1, 2, 3});
    Footer()->Add(dc->Items[v], spFooter, skSum);
    dc->SetMultiSelect(true);
    dc->Summary()->SetOptions({soSelectedRecords});
    dc->ChangeRowSelection(0, true);
    dc->ChangeRowSelection(2, true);
    EXPECT_EQ(dc->Summary()->FooterSummaryValues(0).ToInteger(), 4);
    dc->Summary()->SetOptions({soSelectedRecords, soMultipleSelectedRecords});
    EXPECT_TRUE(dc->Summary()->Options() == TcxSummaryOptions{soMultipleSelectedRecords});
    EXPECT_EQ(cxDataGetDataSummaryValueDefaultFormat(svtFloat, skCount, false), "COUNT=0");
    EXPECT_EQ(cxDataGetDataSummaryValueDefaultFormat(svtDate, skNone, true), "");
    std::string cur = DefaultCurrencyDisplayFormat();
    EXPECT_EQ(cxDataGetDataSummaryValueDefaultFormat(svtCurrency, skSum, true), cur + ";-" + cur);
    EXPECT_EQ(cxFormatFloat("0.00;-0.00", 1234.5), "1234.50");
    EXPECT_EQ(cxFormatFloat("0.00;-0.00", -2), "-2.00");
    EXPECT_EQ(cxFormatFloat("COUNT=0", 7), "COUNT=7");
}

TEST(DataConsts, RegisteredUnderTheProductKey)
{
    cxDataConstsUnit::Initialize();
    EXPECT_EQ(LoadResString(&cxSDataInvalidStreamFormat), "Invalid stream format");
    EXPECT_EQ(cxSDataRowIndexError.Identifier, 65527);
    cxDataConstsUnit::Finalize();
}

// Per item and position one summary item carries format, kind and the sorted flag; setting the
// last of them empty removes it. Only one group item sorts the groups.
TEST_F(Summary, DataItemPropertiesAndTheSortedGroupItem)
{
    TcxDataSummaryItems* group = dc->Summary()->DefaultGroupSummaryItems();
    EXPECT_EQ(group->GetDataItemKind(v, spGroup), skNone);
    group->SetDataItemKind(v, spGroup, skNone);   // empty: nothing is added
    EXPECT_EQ(group->Count(), 0);
    group->SetDataItemKind(v, spGroup, skSum);
    group->SetDataItemFormat(v, spGroup, "S=0");
    ASSERT_EQ(group->Count(), 1);
    EXPECT_EQ(group->GetDataItemFormat(v, spGroup), "S=0");
    EXPECT_EQ(group->GetDataItem(v, spFooter), nullptr);
    EXPECT_EQ(group->GetDataItem(v, spGroup, true, skMax), nullptr);
    EXPECT_TRUE(TcxDataSummaryItems::IsPropertiesEmpty({spKind}, "x", skNone, true));
    EXPECT_FALSE(TcxDataSummaryItems::IsPropertiesEmpty({spSorted}, "", skNone, true));
    group->SetDataItemKind(v, spGroup, skNone);
    EXPECT_EQ(group->Count(), 1);   // the format keeps it
    group->SetDataItemFormat(v, spGroup, "");
    EXPECT_EQ(group->Count(), 0);
    EXPECT_THROW(group->GetDataItem(9, spGroup), EcxInvalidDataControllerOperation);

    TcxDataSummaryItem* first = group->Add(dc->Items[v], spGroup, skSum);
    TcxDataSummaryItem* second = group->Add(dc->Items[g], spFooter, skCount);
    EXPECT_FALSE(first->IsPositionStored());
    EXPECT_TRUE(second->IsPositionStored());
    EXPECT_FALSE(Footer()->Add(dc->Items[v], spFooter, skSum)->IsPositionStored());
    auto* sorted = static_cast<TcxDataGroupSummaryItems*>(group);
    EXPECT_EQ(sorted->SortedSummaryItem(), nullptr);
    first->SetSorted(true);
    second->SetSorted(true);
    EXPECT_FALSE(first->Sorted());
    EXPECT_EQ(sorted->SortedSummaryItem(), second);
    group->DeleteItems(dc->Items[g], spFooter);
    EXPECT_EQ(group->Count(), 1);
    EXPECT_EQ(sorted->SortedSummaryItem(), nullptr);
}

} // namespace
