#include <gtest/gtest.h>

#include "platform/rtl/Filer.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"
#include "tests/toolkit/data/DataControllerTestHelpers.h"

using namespace cx;
using namespace cxtest;

namespace {

struct DC : ::testing::Test {
    TTestDataController* dc = new TTestDataController();
    void TearDown() override { dc->Free(); }
};

// --- core ------------------------------------------------------------------------------------------
TEST_F(DC, NewControllerDefaultsAndItemErrors)
{
    EXPECT_EQ(dc->GetItemCount(), 0);
    EXPECT_EQ(dc->GetRecordCount(), 0);
    TcxDataControllerOptions expected{dcoAssignGroupingValues, dcoAssignMasterDetailKeys, dcoSaveExpanding};
    EXPECT_TRUE(dc->Options() == expected);
    EXPECT_FALSE(dc->MultiSelect());
    int i = dc->AddColumn(TcxIntegerValueType::Class());
    EXPECT_THROW(dc->AddItem(dc->Items[i]), EcxInvalidDataControllerOperation);
    dc->AddItem(nullptr);
    dc->AddItem(nullptr);
    EXPECT_EQ(dc->GetItemCount(), 3);
    TcxCustomDataField* internal = dc->AddInternalField();
    dc->AddItem(nullptr);
    EXPECT_EQ(dc->GetItemCount(), 4);
    EXPECT_EQ(internal->Index(), 4);   // internal fields stay behind visible ones
    try {
        dc->GetValue(0, 0);
        FAIL();
    } catch (const EcxInvalidDataControllerOperation& e) {
        EXPECT_STREQ(e.what(), "RecordIndex out of range");
    }

    // The data helper reaches a field's definition and writes its text-stored flag as it is:
    // the definition is not made again and nobody is told.
    TcxCustomDataField* field = dc->Fields(i);
    TcxValueDef* def = TcxCustomDataHelper::GetValueDef(field);
    EXPECT_EQ(def, field->ValueDef());
    dc->Notices.clear();
    TcxCustomDataHelper::SetTextStored(field, true);
    EXPECT_TRUE(field->TextStored());
    EXPECT_EQ(field->ValueDef(), def);
    EXPECT_FALSE(def->TextStored());
    EXPECT_TRUE(dc->Notices.empty());
}

TEST_F(DC, RecordCountInsertAndRanges)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, a, {1, 2, 3});
    dc->Notices.clear();
    dc->SetRecordCount(3);
    EXPECT_TRUE(dc->Notices.empty());
    EXPECT_EQ(dc->InsertRecord(3), 3);
    EXPECT_THROW(dc->InsertRecord(5), EcxInvalidDataControllerOperation);
    EXPECT_THROW(dc->GetValue(0, 7), EcxInvalidDataControllerOperation);
    EXPECT_TRUE(dc->GetValue(dc->GetNewItemRecordIndex(), a).IsNull());   // the new-item record passes
    EXPECT_THROW(dc->GetValue(-5, a), EcxInvalidDataControllerOperation);
    EXPECT_TRUE(dc->GetRecordId(0).IsNull());
    dc->Notices.clear();
    dc->SetRecordCount(-5);
    EXPECT_EQ(dc->GetRecordCount(), 0);
    ASSERT_EQ(dc->CountOf("TcxDataChangedInfo"), 1);
    EXPECT_EQ(dc->Notices[0].A, dcDeleted);
}

// --- change notices --------------------------------------------------------------------------------
TEST_F(DC, OneCombinedNoticePerOutermostUpdate)
{
    for (int i = 0; i < 4; ++i)
        dc->AddColumn(TcxIntegerValueType::Class());
    dc->SetRecordCount(8);
    struct Case {
        std::vector<std::pair<int, int>> writes;   // (record, item)
        TcxDataChange kind;
        int item, record;
    } cases[] = {
        {{{5, 2}, {5, 3}}, dcRecord, -1, 5},
        {{{5, 2}, {6, 2}}, dcTotal, 2, 6},
        {{{5, 2}, {5, 2}}, dcField, 2, 5},
    };
    for (const Case& c : cases) {
        dc->Notices.clear();
        dc->BeginUpdate();
        dc->BeginUpdate();
        for (auto [r, i] : c.writes)
            dc->SetValue(r, i, 7);
        dc->EndUpdate();
        EXPECT_TRUE(dc->Notices.empty());   // nothing before the outermost end
        dc->EndUpdate();
        ASSERT_EQ(dc->CountOf("TcxDataChangedInfo"), 1);
        EXPECT_EQ(dc->CountOf("TcxLayoutChangedInfo"), 0);   // data and layout: only the data notice
        EXPECT_EQ(dc->Notices[0].A, c.kind);
        EXPECT_EQ(dc->Notices[0].B, c.item);
        EXPECT_EQ(dc->Notices[0].C, c.record);
    }
    dc->Notices.clear();
    dc->AppendRecord();
    ASSERT_EQ(dc->CountOf("TcxDataChangedInfo"), 1);
    EXPECT_EQ(dc->Notices[0].A, dcNew);
    EXPECT_EQ(dc->Notices[0].C, -1);
}

// --- sorting ---------------------------------------------------------------------------------------
TEST_F(DC, SortingOneAndTwoFieldsStableWithNulls)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    int b = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, a, {3, Null, 1, 3, 1, Null});
    Fill(*dc, b, {1, 2, 9, 0, 8, 1});
    dc->ChangeSorting(a, soAscending);
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{1, 5, 2, 4, 0, 3}));   // Null first, ties by record index
    dc->ChangeSorting(a, soDescending);
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{0, 3, 2, 4, 1, 5}));   // ties stay ascending
    dc->ChangeSorting(b, soAscending);
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{3, 0, 4, 2, 5, 1}));
    EXPECT_EQ(dc->GetItemSortingIndex(b), 1);
    dc->ChangeItemSortingIndex(b, 0);
    EXPECT_EQ(dc->GetSortingItemIndex(0), b);
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{3, 0, 5, 1, 4, 2}));
    dc->ClearSorting(false);
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(DC, StringSortRulesAndCompareHandler)
{
    int s = dc->AddColumn(TcxStringValueType::Class());
    Fill(*dc, s, {"b", "B", "a", "Z"});
    dc->ChangeSorting(s, soAscending);
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{1, 3, 2, 0}));   // byte order
    dc->SetOptions(dc->Options() + TcxDataControllerOptions{dcoCaseInsensitive});
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{2, 0, 1, 3}));   // "b" and "B" equal: index order
    dc->OnCompare = [](TcxCustomDataController*, int r1, int r2, int, const Variant&, const Variant&, int& c) {
        c = r2 - r1;   // reverse record order
    };
    dc->Refresh();
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{3, 2, 1, 0}));
}

TEST_F(DC, FocusFollowsTheRecordAcrossSortingAndSortingEventRuns)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, a, {5, 1, 3});
    int sortingChanged = 0;
    dc->OnSortingChanged = [&](TcxCustomDataController*) { ++sortingChanged; };
    dc->ChangeFocusedRecordIndex(0);
    EXPECT_EQ(dc->GetFocusedRowIndex(), 0);
    dc->Notices.clear();
    dc->ChangeSorting(a, soAscending);
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 0);
    EXPECT_EQ(dc->GetFocusedRowIndex(), 2);
    EXPECT_EQ(sortingChanged, 1);
    EXPECT_EQ(dc->CountOf("TcxLayoutChangedInfo"), 1);
    ASSERT_EQ(dc->CountOf("TcxFocusedRowChangedInfo"), 1);
    dc->ChangeSorting(a, soAscending);   // the same order again: nothing
    EXPECT_EQ(sortingChanged, 1);
}

// --- class factories -------------------------------------------------------------------------------
class TCountingSearch : public TcxDataControllerSearch {
    RTL_CLASS(TCountingSearch, TcxDataControllerSearch)
    using TcxDataControllerSearch::TcxDataControllerSearch;
    int Searches = 0;

protected:
    int DoSearch(int start, int end, bool forward, const std::string& text) override
    {
        ++Searches;
        return TcxDataControllerSearch::DoSearch(start, end, forward, text);
    }
};

class TCountingSummary : public TcxDataSummary {
    RTL_CLASS(TCountingSummary, TcxDataSummary)
    using TcxDataSummary::TcxDataSummary;
    int Finished = 0;

protected:
    void DoFinishSummaryValue(TcxDataSummaryItem* item, Variant& value, int count) override
    {
        ++Finished;
        TcxDataSummary::DoFinishSummaryValue(item, value, count);
    }
};

class TCountingSelection : public TcxDataSelection {
    RTL_CLASS(TCountingSelection, TcxDataSelection)
    using TcxDataSelection::TcxDataSelection;
    int Adds = 0;
    void InternalAdd(int position, int rowIndex, int level, int recordIndex) override
    {
        ++Adds;
        TcxDataSelection::InternalAdd(position, rowIndex, level, recordIndex);
    }
};

class TOwnCriteria : public TcxDataFilterCriteria {
    RTL_CLASS(TOwnCriteria, TcxDataFilterCriteria)
    using TcxDataFilterCriteria::TcxDataFilterCriteria;
};

// A controller whose factories name its own classes once OwnClasses is set.
class TOwnClassesController : public TTestDataController {
    RTL_CLASS(TOwnClassesController, TTestDataController)
    bool OwnClasses = false;
    TcxDataControllerSearchClass GetSearchClass() const override
    {
        return OwnClasses ? TcxDataControllerSearchClass::Of<TCountingSearch>() : TcxDataController::GetSearchClass();
    }
    TcxDataSummaryClass GetSummaryClass() const override
    {
        return OwnClasses ? TcxDataSummaryClass::Of<TCountingSummary>() : TcxDataController::GetSummaryClass();
    }
    TcxDataSelectionClass GetDataSelectionClass() const override
    {
        return OwnClasses ? TcxDataSelectionClass::Of<TCountingSelection>() : TcxDataController::GetDataSelectionClass();
    }
    TcxDataFilterCriteriaClass GetFilterCriteriaClass() const override
    {
        return OwnClasses ? TcxDataFilterCriteriaClass::Of<TOwnCriteria>() : TcxDataController::GetFilterCriteriaClass();
    }
};

// The constructor makes the base classes; RecreateClassObjects makes the descendant's own, and the
// filter, the summary items and the selection keep what they held.
TEST(DataControllerFactories, RecreatedObjectsAreOfTheFactoriesClassesAndKeepTheirState)
{
    TOwnClassesController dc;
    int s = dc.AddColumn(TcxStringValueType::Class());
    int v = dc.AddColumn(TcxIntegerValueType::Class());
    Fill(dc, s, {"abc", "xab", "abd", "q"});
    Fill(dc, v, {1, 2, 3, 4});
    dc.Filter()->AddItem(nullptr, dc.Items[v], foNotEqual, 4, "4");
    dc.Filter()->SetActive(true);
    dc.Summary()->FooterSummaryItems()->Add(dc.Items[v], spFooter, skSum);
    dc.SetMultiSelect(true);
    dc.ChangeRowSelection(1, true);
    dc.ChangeRowSelection(2, true);
    ASSERT_EQ(dc.Summary()->FooterSummaryValues(0).ToInteger(), 6);
    ASSERT_EQ(dc.GetSelectedCount(), 3);   // with the focused row

    dc.RecreateClassObjects();   // the factories still give the base classes: nothing changes
    EXPECT_TRUE(IsExactly<TcxDataSummary>(dc.Summary()));

    dc.OwnClasses = true;
    dc.RecreateClassObjects();
    EXPECT_TRUE(IsExactly<TOwnCriteria>(dc.Filter()));
    auto* search = dynamic_cast<TCountingSearch*>(dc.Search());
    auto* summary = dynamic_cast<TCountingSummary*>(dc.Summary());
    auto* selection = dynamic_cast<TCountingSelection*>(dc.DataControllerInfo()->Selection());
    ASSERT_TRUE(search && summary && selection);

    EXPECT_EQ(dc.Filter()->Root()->Count(), 1);
    EXPECT_TRUE(dc.Filter()->Active());
    EXPECT_EQ(dc.GetRowCount(), 3);
    EXPECT_EQ(dc.GetSelectedCount(), 3);
    EXPECT_EQ(dc.GetSelectedRowIndex(2), 2);
    ASSERT_EQ(summary->FooterSummaryItems()->Count(), 1);
    EXPECT_EQ(summary->FooterSummaryValues(0).ToInteger(), 6);
    EXPECT_GT(summary->Finished, 0);

    ASSERT_TRUE(search->Locate(s, "AB"));
    EXPECT_GT(search->Searches, 0);
    dc.ChangeRowSelection(2, false);
    const int adds = selection->Adds;
    dc.ChangeRowSelection(2, true);
    EXPECT_GT(selection->Adds, adds);
    EXPECT_TRUE(dc.DataControllerInfo()->IsRowSelected(2));
}

// --- grouping --------------------------------------------------------------------------------------
TEST_F(DC, GroupingOneLevelWithExpansion)
{
    int g = dc->AddColumn(TcxStringValueType::Class());
    int v = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, g, {"B", "A", "A"});
    Fill(*dc, v, {1, 2, 3});
    dc->Groups()->ChangeGrouping(g, 0);
    ASSERT_EQ(dc->GetRowCount(), 2);
    TcxRowInfo ri = dc->GetRowInfo(0);
    EXPECT_EQ(ri.Level, 0);
    EXPECT_EQ(ri.RecordIndex, 1);   // a group row answers its first record
    EXPECT_FALSE(ri.Expanded);
    dc->Groups()->ChangeExpanding(0, true, false);
    ASSERT_EQ(dc->GetRowCount(), 4);
    EXPECT_EQ(dc->GetRowInfo(1).RecordIndex, 1);
    EXPECT_EQ(dc->GetRowInfo(2).RecordIndex, 2);
    EXPECT_EQ(dc->GetRowInfo(2).Level, 1);
    EXPECT_EQ(dc->GetRowInfo(3).Level, 0);
    EXPECT_EQ(dc->Groups()->GroupDisplayText(dc->Groups()->DataGroupIndexByRowIndex(3)), "B");
    // A reload keeps the expansion of groups whose values still exist.
    dc->SetValue(0, v, 10);
    EXPECT_EQ(dc->GetRowCount(), 4);
    // Collapsing the group of the focused data row moves the focus to the group row.
    dc->ChangeFocusedRowIndex(2);
    dc->Groups()->ChangeExpanding(0, false, false);
    EXPECT_EQ(dc->GetRowCount(), 2);
    EXPECT_EQ(dc->GetFocusedRowIndex(), 0);
    EXPECT_THROW(dc->GetRowInfo(2), EcxInvalidDataControllerOperation);
}

TEST_F(DC, GroupingTwoLevelsAndFullExpand)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    int b = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, a, {1, 2, 1, 1, 2});
    Fill(*dc, b, {7, 7, 8, 7, 7});
    dc->Groups()->ChangeGrouping(a, 0);
    dc->Groups()->ChangeGrouping(b, 1);
    EXPECT_EQ(dc->GetRowCount(), 2);
    dc->Groups()->FullExpand();
    // 1 / 7 / r0 r3 / 8 / r2 / 2 / 7 / r1 r4
    std::vector<int> levels, records;
    for (int i = 0; i < dc->GetRowCount(); ++i) {
        levels.push_back(dc->GetRowInfo(i).Level);
        records.push_back(dc->GetRowInfo(i).RecordIndex);
    }
    EXPECT_EQ(levels, (std::vector<int>{0, 1, 2, 2, 1, 2, 0, 1, 2, 2}));
    EXPECT_EQ(records, (std::vector<int>{0, 0, 0, 3, 2, 2, 1, 1, 1, 4}));
    EXPECT_EQ(dc->Groups()->ChildCount(-1), 2);
    EXPECT_EQ(dc->Groups()->ChildCount(0), 2);
    EXPECT_TRUE(dc->Groups()->HasAsParent(3, 0));
    EXPECT_TRUE(dc->Groups()->HasAsParent(5, 0));   // a grandchild lies within its grandparent
    EXPECT_FALSE(dc->Groups()->HasAsParent(8, 0));
    std::vector<int> list;
    dc->Groups()->LoadRecordIndexesByRowIndex(list, 0);
    EXPECT_EQ(list, (std::vector<int>{0, 3, 2}));
    dc->Groups()->FullCollapse();
    EXPECT_EQ(dc->GetRowCount(), 2);
    dc->Groups()->ClearGrouping();
    EXPECT_EQ(dc->GetRowCount(), 5);
}

// --- filtering -------------------------------------------------------------------------------------
TEST_F(DC, FilterCriteriaTreeAndFocusAfterFilter)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    int s = dc->AddColumn(TcxStringValueType::Class());
    Fill(*dc, a, {1, 5, 10, 15, Null});
    Fill(*dc, s, {"x", "y", "x", "y", "x"});
    dc->ChangeFocusedRecordIndex(0);
    TcxDataFilterCriteria* f = dc->Filter();
    f->BeginUpdate();
    TcxFilterCriteriaItemList* orList = f->Root()->AddItemList(fboOr);
    f->AddItem(orList, dc->Items[a], foGreater, 8, "8");
    f->AddItem(orList, dc->Items[s], foEqual, "y", "y");
    f->SetActive(true);
    f->EndUpdate();
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(f->Root()->Items(0)->GetIsItemList(), true);
    // The item reports the controller's item, not its internal field.
    auto* item = static_cast<TcxFilterCriteriaItem*>(orList->Items(0));
    EXPECT_EQ(item->ItemLink(), dc->Items[a]);
    // The focused record was filtered out: the first row is focused.
    EXPECT_EQ(dc->GetFocusedRowIndex(), 0);
    f->Root()->SetBoolOperatorKind(fboNotAnd);
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{0, 4}));
    f->SetActive(false);
    EXPECT_EQ(dc->GetRowCount(), 5);
    dc->SetOnFilterRecord([](TcxCustomDataController*, int, bool& accept) { accept = false; });
    EXPECT_EQ(dc->GetRowCount(), 0);
    dc->Groups()->ChangeGrouping(s, 0);
    EXPECT_EQ(dc->GetRowCount(), 0);   // grouping without rows is a flat empty view
}

// The filter stores its conditions as the binary property "Criteria": the criteria stream, written
// when there is something to store, read back into a controller with the same items.
TEST(DataControllerFilter, CriteriaPropertyStreamsTheConditions)
{
    auto makeController = [] {
        auto* dc = new TTestDataController();
        dc->AddColumn(TcxIntegerValueType::Class());
        dc->AddColumn(TcxStringValueType::Class());
        Fill(*dc, 0, {1, 5, 10});
        Fill(*dc, 1, {"x", "y", "z"});
        return std::unique_ptr<TTestDataController, void (*)(TTestDataController*)>(
            dc, [](TTestDataController* p) { p->Free(); });
    };
    auto writeProps = [](TPersistent* obj) {
        TMemoryStream stream;
        {
            TWriter writer(&stream, 64);
            writer.WriteProperties(obj);
        }
        return stream.Bytes();
    };
    auto source = makeController();
    TcxDataFilterCriteria* f = source->Filter();
    // An empty AND root stores nothing; an empty OR root is stored.
    EXPECT_EQ(writeProps(f), std::vector<Byte>{vaNull});
    f->Root()->SetBoolOperatorKind(fboOr);
    f->AddItem(nullptr, source->Items[0], foGreater, 6, "6");
    f->AddItem(nullptr, source->Items[1], foEqual, "x", "x");
    std::vector<Byte> bytes = writeProps(f);
    TMemoryStream criteria;
    f->WriteData(&criteria);
    std::vector<Byte> expected = {vaString, 8, 0, 0, 0, 'C', 'r', 'i', 't', 'e', 'r', 'i', 'a', vaBinary};
    const auto n = static_cast<std::uint32_t>(criteria.Size());
    expected.insert(expected.end(), {Byte(n), Byte(n >> 8), Byte(n >> 16), Byte(n >> 24)});
    expected.insert(expected.end(), criteria.Bytes().begin(), criteria.Bytes().end());
    expected.push_back(vaNull);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(criteria.Bytes()[0], 0xFE);   // version 3, with the items' names

    auto target = makeController();
    TcxDataFilterCriteria* g = target->Filter();
    g->SetActive(true);
    TMemoryStream in(bytes);
    TReader reader(&in, 64);
    reader.ReadProperties(g);
    EXPECT_TRUE(g->EqualItems(f, false));
    EXPECT_EQ(g->GetFilterText(), f->GetFilterText());
    EXPECT_EQ(target->RowRecords(), (std::vector<int>{0, 2}));

    // A "Criteria" value whose criteria stream ends early is a read error, and the filter keeps
    // what it held.
    std::vector<Byte> damaged(expected.begin(), expected.begin() + 14);
    const std::uint32_t cut = n - 3;
    damaged.insert(damaged.end(), {Byte(cut), Byte(cut >> 8), Byte(cut >> 16), Byte(cut >> 24)});
    damaged.insert(damaged.end(), criteria.Bytes().begin(), criteria.Bytes().begin() + cut);
    damaged.push_back(vaNull);
    TMemoryStream bad(damaged);
    TReader badReader(&bad, 64);
    EXPECT_THROW(badReader.ReadProperties(g), EReadError);
    EXPECT_TRUE(g->EqualItems(f, false));
}

namespace {

// A stored form in miniature: a component whose published Filter is a controller's filter.
class TFilteredForm : public TComponent {
    RTL_CLASS(TFilteredForm, TComponent)
    TFilteredForm() : TComponent(nullptr) {}
    TTestDataController* Controller = nullptr;
    TcxDataFilterCriteria* Filter() const { return Controller->Filter(); }
};
const bool filteredFormRegistered = [] {
    RegisterPublishedProperties(TFilteredForm::StaticClass(),
                                {PublishedObjectProp<TFilteredForm, TcxDataFilterCriteria>("Filter", &TFilteredForm::Filter)});
    return true;
}();

} // namespace

// The filter's settings travel with its conditions: SaveToStream writes the criteria as a
// component property, and a form holding the filter keeps Active and Options.
TEST(DataControllerFilter, SettingsAndConditionsSurviveTheComponentStream)
{
    auto makeController = [] {
        auto* dc = new TTestDataController();
        dc->AddColumn(TcxStringValueType::Class());
        Fill(*dc, 0, {"ab", "AB", "x"});
        return std::unique_ptr<TTestDataController, void (*)(TTestDataController*)>(
            dc, [](TTestDataController* p) { p->Free(); });
    };
    auto source = makeController();
    TcxDataFilterCriteria* f = source->Filter();
    f->SetOptions({fcoCaseInsensitive, fcoSoftNull});
    f->SetMaxValueListCount(25);
    f->SetPercentWildcard('*');
    f->AddItem(nullptr, source->Items[0], foEqual, "ab", "ab");
    f->SetActive(true);
    ASSERT_EQ(source->RowRecords(), (std::vector<int>{0, 1}));

    for (bool viaForm : {false, true}) {
        SCOPED_TRACE(viaForm ? "form" : "SaveToStream");
        TMemoryStream stream;
        TFilteredForm sourceForm;
        sourceForm.Controller = source.get();
        if (viaForm)
            stream.WriteComponent(&sourceForm);
        else
            f->SaveToStream(&stream);
        stream.SetPosition(0);
        auto target = makeController();
        TcxDataFilterCriteria* g = target->Filter();
        TFilteredForm targetForm;
        targetForm.Controller = target.get();
        if (viaForm)
            stream.ReadComponent(&targetForm);
        else
            g->LoadFromStream(&stream);
        EXPECT_TRUE(g->Active());
        EXPECT_TRUE(g->Options() == (TcxFilterCriteriaOptions{fcoCaseInsensitive, fcoSoftNull}));
        EXPECT_EQ(g->MaxValueListCount(), 25);
        EXPECT_EQ(g->PercentWildcard(), '*');
        EXPECT_EQ(g->UnderscoreWildcard(), '_');
        EXPECT_TRUE(g->EqualItems(f, false));
        EXPECT_EQ(target->RowRecords(), (std::vector<int>{0, 1}));   // case-insensitive, active
    }

    // An empty criteria still writes its conditions while saving (IsStore), and reading it
    // back clears the target's; a stream of another component is refused.
    auto empty = makeController();
    TMemoryStream stream;
    empty->Filter()->SaveToStream(&stream);
    EXPECT_FALSE(empty->Filter()->IsStore());
    const std::string bytes(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
    EXPECT_NE(bytes.find("Filter.Criteria"), std::string::npos);
    stream.SetPosition(0);
    auto target = makeController();
    target->Filter()->AddItem(nullptr, target->Items[0], foEqual, "x", "x");
    target->Filter()->LoadFromStream(&stream);
    EXPECT_TRUE(target->Filter()->IsEmpty());
    TMemoryStream other;
    TFilteredForm form;
    form.Controller = source.get();
    other.WriteComponent(&form);
    other.SetPosition(0);
    EXPECT_THROW(target->Filter()->LoadFromStream(&other), EReadError);
}

// --- focus, navigation, selection, bookmark --------------------------------------------------------
TEST_F(DC, NavigationAndBookmark)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    EXPECT_TRUE(dc->IsBOF());
    EXPECT_TRUE(dc->IsEOF());
    Fill(*dc, a, {1, 2, 3, 4, 5});
    dc->GotoFirst();
    dc->GotoPrev();
    EXPECT_EQ(dc->GetFocusedRowIndex(), 0);
    dc->MoveBy(3);
    dc->MoveBy(-10);
    EXPECT_EQ(dc->GetFocusedRowIndex(), 0);
    dc->GotoLast();
    EXPECT_TRUE(dc->IsEOF());
    dc->Notices.clear();
    dc->SaveBookmark();
    dc->SaveBookmark();
    EXPECT_EQ(dc->CountOf("TcxBookmarkChangedInfo"), 1);
    dc->GotoFirst();
    dc->GotoBookmark();
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 4);
    dc->Filter()->AddItem(dc->Filter()->Root(), dc->Items[a], foLess, 3, "3");
    dc->Filter()->SetActive(true);
    EXPECT_FALSE(dc->IsBookmarkAvailable());   // the bookmarked record was filtered out
    dc->Notices.clear();
    dc->ClearBookmark();
    EXPECT_EQ(dc->CountOf("TcxBookmarkChangedInfo"), 0);
}

TEST_F(DC, SelectionModesAndNotices)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, a, {1, 2, 3, 4, 5, 6});
    dc->ChangeFocusedRowIndex(1);
    EXPECT_EQ(dc->GetSelectedCount(), 1);   // focused-selected mode
    dc->SyncSelected(false);
    EXPECT_EQ(dc->GetSelectedCount(), 0);
    dc->SetMultiSelect(true);
    EXPECT_EQ(dc->GetSelectedCount(), 1);
    dc->ChangeRowSelection(3, true);
    dc->Notices.clear();
    dc->ChangeRowSelection(4, true);
    ASSERT_EQ(dc->CountOf("TcxSelectionChangedInfo"), 1);
    EXPECT_EQ(dc->Notices.back().A, 0);   // many rows changed
    dc->ClearSelection();
    dc->SelectRows(5, 2);
    EXPECT_EQ(dc->GetSelectedCount(), 4);
    EXPECT_EQ(dc->GetSelectedRowIndex(0), 2);
    EXPECT_THROW(dc->SetSelectionAnchor(9), EcxInvalidDataControllerOperation);
    // Sorting keeps the selected records selected.
    dc->ChangeSorting(a, soDescending);
    std::vector<int> selected;
    for (int i = 0; i < dc->GetSelectedCount(); ++i)
        selected.push_back(dc->GetRowInfo(dc->GetSelectedRowIndex(i)).RecordIndex);
    EXPECT_EQ(selected, (std::vector<int>{5, 4, 3, 2}));
}

// --- editing ---------------------------------------------------------------------------------------
TEST_F(DC, AppendInsertPostCancel)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    int posts = 0;
    dc->OnAfterPost = [&](TcxCustomDataController*) { ++posts; };
    dc->Append();   // no rows: appends, no neighbour
    EXPECT_EQ(dc->GetRecordCount(), 1);
    EXPECT_TRUE(dc->GetEditState().Contains(dceInsert));
    dc->Post();   // nobody typed: the insert is cancelled
    EXPECT_EQ(dc->GetRecordCount(), 0);
    EXPECT_EQ(posts, 0);
    dc->Append();
    EXPECT_TRUE(dc->SetEditValue(a, 42, evsValue));
    EXPECT_TRUE(dc->GetEditState().Contains(dceModified));
    dc->Post();
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(dc->GetRecordCount(), 1);
    EXPECT_EQ(dc->GetValue(0, a).ToInteger(), 42);
    EXPECT_TRUE(dc->GetEditState().Empty());
    // Insert twice without typing reuses the first new record.
    dc->Insert();
    dc->Insert();
    EXPECT_EQ(dc->GetRecordCount(), 2);
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 0);
    dc->Cancel();
    EXPECT_EQ(dc->GetRecordCount(), 1);
    EXPECT_EQ(dc->GetValue(0, a).ToInteger(), 42);
    // Cancelling an edit restores the values it began with.
    dc->ChangeFocusedRowIndex(0);
    dc->Edit();
    dc->SetEditValue(a, 7, evsValue);
    dc->SetValue(0, a, 8);
    EXPECT_EQ(dc->GetEditValue(a, evsValue).ToInteger(), 8);
    dc->Cancel();
    EXPECT_EQ(dc->GetValue(0, a).ToInteger(), 42);
    // An empty text stores Null; immediate post posts at once.
    dc->SetOptions(dc->Options() + TcxDataControllerOptions{dcoImmediatePost});
    EXPECT_TRUE(dc->SetEditValue(a, "", evsText));
    EXPECT_TRUE(dc->GetValue(0, a).IsNull());
    EXPECT_FALSE(dc->IsEditing());
    EXPECT_EQ(posts, 2);
}

TEST_F(DC, EditedRecordKeepsItsRowWhileSortedValueChanges)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, a, {1, 2, 3});
    dc->ChangeSorting(a, soAscending);
    dc->ChangeFocusedRowIndex(0);
    dc->SetEditValue(a, 10, evsValue);
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{0, 1, 2}));
    dc->Post();
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 0);
}

TEST_F(DC, NewItemRowPostsOneRealRecord)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    dc->SetUseNewItemRowForEditing(true);
    dc->SetOptions(dc->Options() + TcxDataControllerOptions{dcoInsertOnNewItemRowFocusing});
    dc->SetNewItemRowFocused(true);
    EXPECT_TRUE(dc->GetEditState().Contains(dceInsert));
    EXPECT_TRUE(dc->GetEditValue(a, evsValue).IsNull());
    dc->SetEditValue(a, 5, evsValue);
    dc->Post();
    EXPECT_EQ(dc->GetRecordCount(), 1);
    EXPECT_EQ(dc->GetValue(0, a).ToInteger(), 5);
    EXPECT_TRUE(dc->GetValue(dc->GetNewItemRecordIndex(), a).IsNull());
}

TEST_F(DC, DeleteFocusedAndGroupRows)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, a, {1, 2, 2, 3});
    dc->GotoLast();
    dc->DeleteFocused();
    EXPECT_EQ(dc->GetRecordCount(), 3);
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 2);
    std::vector<int> deleted;
    dc->OnBeforeDelete = [&](TcxCustomDataController*, int r) { deleted.push_back(r); };
    dc->Groups()->ChangeGrouping(a, 0);
    dc->ChangeFocusedRowIndex(1);   // the group of value 2
    dc->DeleteFocused();
    EXPECT_EQ(deleted, (std::vector<int>{2, 1}));
    EXPECT_EQ(dc->GetRecordCount(), 1);
}

// --- stream ----------------------------------------------------------------------------------------
TEST_F(DC, StreamLayoutRoundTripAndErrors)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, a, {3, Null});
    TMemoryStream ms;
    dc->SaveToStream(&ms);
    const Byte* p = static_cast<const Byte*>(ms.Memory());
    std::vector<Byte> head(p, p + 4 + 15 + 4 + 4 + 19 + 4);
    std::vector<Byte> expected = {0x0F, 0, 0, 0};
    for (char c : std::string("DataController1"))
        expected.push_back(c);
    for (Byte b : {1, 0, 0, 0, 0x13, 0, 0, 0})
        expected.push_back(b);
    for (char c : std::string("TcxIntegerValueType"))
        expected.push_back(c);
    for (Byte b : {2, 0, 0, 0})
        expected.push_back(b);
    EXPECT_EQ(head, expected);

    TTestDataController other;
    int b = other.AddColumn(TcxIntegerValueType::Class());
    Fill(other, b, {9, 9, 9, 9, 9});
    ms.SetPosition(0);
    other.LoadFromStream(&ms);
    ASSERT_EQ(other.GetRecordCount(), 2);
    EXPECT_EQ(other.GetValue(0, b).ToInteger(), 3);
    EXPECT_TRUE(other.GetValue(1, b).IsNull());

    TTestDataController wrong;
    int c = wrong.AddColumn(TcxStringValueType::Class());
    Fill(wrong, c, {"keep"});
    ms.SetPosition(0);
    EXPECT_THROW(wrong.LoadFromStream(&ms), EcxInvalidDataControllerOperation);
    EXPECT_EQ(wrong.GetValue(0, c).ToString(), "keep");

    TMemoryStream bad;
    WriteAnsiStringProc(&bad, "dataController1");
    bad.SetPosition(0);
    EXPECT_THROW(wrong.LoadFromStream(&bad), EcxInvalidDataControllerOperation);
}

// --- search ----------------------------------------------------------------------------------------
TEST_F(DC, IncrementalSearchAndLocate)
{
    int s = dc->AddColumn(TcxStringValueType::Class());
    Fill(*dc, s, {"abc", "xab", "Abd", "zzz", "ab"});
    TcxDataControllerSearch* search = dc->Search();
    EXPECT_FALSE(search->Locate(s, ""));
    dc->ChangeFocusedRowIndex(3);
    dc->Notices.clear();
    ASSERT_TRUE(search->Locate(s, "AB"));   // from the focused row down
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 4);
    EXPECT_TRUE(search->Searching());
    EXPECT_EQ(search->SearchText(), "AB");
    EXPECT_EQ(dc->CountOf("TcxSearchChangedInfo"), 1);
    EXPECT_FALSE(search->LocateNext(true));   // never wraps
    EXPECT_TRUE(search->LocateNext(false));
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 2);
    dc->GotoFirst();   // any other focus change ends the search
    EXPECT_FALSE(search->Searching());
    dc->ChangeFocusedRowIndex(4);
    ASSERT_TRUE(search->Locate(s, "X"));   // nothing from the focused row down: wraps to the top once
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 1);
    EXPECT_FALSE(search->Locate(s, "Q"));
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 1);
    EXPECT_EQ(dc->FindRecordIndexByText(0, s, "ab", false, false, true), 4);
    EXPECT_EQ(dc->FindRecordIndexByText(0, s, "zz", true, true, false), -1);   // backward from 0 searches only 0
    EXPECT_EQ(dc->FindRecordIndexByText(9, s, "ab", true, true, true), -1);
    EXPECT_EQ(dc->SetIncrementalFilter(s, "ab"), 0);
    EXPECT_EQ(dc->RowRecords(), (std::vector<int>{0, 2, 4}));
    dc->ResetIncrementalFilter();
    EXPECT_EQ(dc->GetRowCount(), 5);
}

// The value list of a column's filter drop-down: special entries first, then distinct values.
TEST_F(DC, FilterValueListOffersSpecialEntriesThenDistinctValues)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    int n = dc->AddColumn(TcxIntegerValueType::Class());
    int full = dc->AddColumn(TcxIntegerValueType::Class());
    Fill(*dc, a, {3, Null, 1, 3, Null});
    Fill(*dc, n, {Null, Null, Null, Null, Null});
    Fill(*dc, full, {2, 1, 2, 1, 2});
    auto texts = [&](int item, bool filtered) {
        TcxDataFilterValueList* list = dc->Filter()->CreateValueList();
        list->Load(item, true, filtered);
        std::vector<std::string> t;
        for (int i = 0; i < list->Count(); ++i)
            t.push_back(list->Items(i)->DisplayText);
        list->Free();
        return t;
    };
    using V = std::vector<std::string>;
    struct Case {
        int item;
        bool filtered;
        V expected;
    } cases[] = {
        {a, false, V{"(All)", "(Custom...)", "(Blanks)", "(NonBlanks)", "1", "3"}},
        {n, false, V{"(All)", "(Custom...)", "(Blanks)", "(NonBlanks)"}},
        {full, false, V{"(All)", "(Custom...)", "1", "2"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(texts(c.item, c.filtered), c.expected) << c.item;

    // Filtered to "a is not blank": no blank record is left, yet (NonBlanks) stays on offer.
    dc->Filter()->AddItem(nullptr, dc->Items[a], foNotEqual, Null, "");
    dc->Filter()->SetActive(true);
    EXPECT_EQ(texts(a, true), (V{"(All)", "(Custom...)", "(NonBlanks)", "1", "3"}));
    int asked = -1;
    dc->Filter()->OnGetValueList = [&](TcxFilterCriteria*, int item, TcxDataFilterValueList* list) {
        asked = item;
        list->Delete(0);
    };
    EXPECT_EQ(texts(full, false), (V{"(Custom...)", "1", "2"}));
    EXPECT_EQ(asked, full);

    // Criteria made by CreateFilter are the controller's own: changing them filters nothing.
    int changes = 0;
    dc->OnDataChanged = [&](TcxCustomDataController*) { ++changes; };
    TcxDataFilterCriteria* extra = dc->CreateFilter();
    EXPECT_EQ(dc->FilterList()->Count(), 1);
    extra->AddItem(nullptr, dc->Items[full], foEqual, 2, "2");
    extra->SetActive(true);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(dc->GetRowCount(), 3);   // the records with a value in a
    // Conditions on a removed item go with it (they used to stay, holding the freed field).
    dc->RemoveItem(dc->Items[full]);
    EXPECT_TRUE(extra->IsEmpty());
    dc->RemoveItem(dc->Items[a]);
    EXPECT_TRUE(dc->Filter()->IsEmpty());
}

// Locate objects: values read into an internal record find the record (or the group) that
// carries them; nothing is found before values were read.
TEST_F(DC, KeyAndGroupLocateObjectsFindTheirRecords)
{
    int a = dc->AddColumn(TcxIntegerValueType::Class());
    int b = dc->AddColumn(TcxStringValueType::Class());
    Fill(*dc, a, {3, 1, 2, 1, 2});
    Fill(*dc, b, {"x", "p", "q", "r", "s"});
    TcxValueDefUnboundReader reader;
    reader.SetValue(dc->Fields(a)->ValueDef(), 2);
    reader.SetValue(dc->Fields(b)->ValueDef(), "s");

    auto* key = new TcxDataControllerKeyLocateObject(dc);
    key->AddField(dc->Fields(a));
    EXPECT_EQ(key->FindRecordIndex(), -1);
    key->ReadData(&reader);
    EXPECT_LT(key->RecordIndex(), 0);
    EXPECT_EQ(key->FindRecordIndex(), 2);   // the first record with a = 2
    key->AddField(dc->Fields(b));
    EXPECT_EQ(key->FindRecordIndex(), 4);
    const int held = key->RecordIndex();
    key->Free();   // its internal record goes with it
    EXPECT_EQ(dc->DataStorage()->RecordBuffer(held), nullptr);

    dc->Groups()->ChangeGrouping(a, 0);
    dc->Groups()->ChangeGrouping(b, 1);
    auto* group = new TcxDataControllerGroupLocateObject(dc);
    group->ReadData(&reader);
    int r = group->FindRecordIndex();   // a record of the group a = 2
    ASSERT_GE(r, 0);
    EXPECT_EQ(dc->GetValue(r, a).ToInteger(), 2);
    group->SetLevel(1);
    EXPECT_EQ(group->FindRecordIndex(), 4);
    reader.SetValue(dc->Fields(a)->ValueDef(), 7);
    group->ReadData(&reader);
    EXPECT_EQ(group->FindRecordIndex(), -1);
    group->Free();
}

// Group rows as "G<level>:<text>", data rows as "r<record>".
std::vector<std::string> RowTexts(TTestDataController& dc)
{
    std::vector<std::string> rows;
    for (int i = 0; i < dc.GetRowCount(); ++i) {
        TcxRowInfo ri = dc.GetRowInfo(i);
        if (ri.Level < dc.Groups()->GroupingItemCount())
            rows.push_back("G" + std::to_string(ri.Level) + ":" +
                           dc.Groups()->GroupDisplayText(dc.Groups()->DataGroupIndexByRowIndex(i)));
        else
            rows.push_back("r" + std::to_string(ri.RecordIndex));
    }
    return rows;
}

// A reload finds the expanded groups again by their values and their ancestors' (a group locate
// object): by the sorted view, or, when grouping sorts by display text, by a search of the records
// in view, so a filtered-out record that carries the values does not hide its group.
class TDisplayTextController : public TTestDataController {
    RTL_CLASS(TDisplayTextController, TTestDataController)
    bool GetItemSortByDisplayText(int, bool defaultValue) override { return defaultValue; }
};

TEST(DataControllerExpansion, ReloadRestoresExpandedGroupsByTheirValues)
{
    for (bool byDisplayText : {false, true}) {
        SCOPED_TRACE(byDisplayText ? "by display text" : "by value");
        TDisplayTextController dc;
        if (byDisplayText)
            dc.SetOptions(dc.Options() + TcxDataControllerOptions{dcoSortByDisplayText});
        int a = dc.AddColumn(TcxIntegerValueType::Class());
        int b = dc.AddColumn(TcxStringValueType::Class());
        int v = dc.AddColumn(TcxIntegerValueType::Class());
        Fill(dc, a, {1, 2, 1, 2, 3, 2});
        Fill(dc, b, {"p", "q", "r", "q", "p", "s"});
        Fill(dc, v, {0, 1, 2, 3, 4, 5});
        TcxDataFilterCriteria* f = dc.Filter();
        f->BeginUpdate();
        f->AddItem(nullptr, dc.Items[v], foNotEqual, 1, "1");   // record 1, the first of group 2 / q
        f->SetActive(true);
        f->EndUpdate();
        dc.Groups()->ChangeGrouping(a, 0);
        dc.Groups()->ChangeGrouping(b, 1);
        EXPECT_EQ(RowTexts(dc), (std::vector<std::string>{"G0:1", "G0:2", "G0:3"}));
        dc.Groups()->ChangeExpanding(1, true, false);
        dc.Groups()->ChangeExpanding(2, true, false);
        const std::vector<std::string> expanded{"G0:1", "G0:2", "G1:q", "r3", "G1:s", "G0:3"};
        ASSERT_EQ(RowTexts(dc), expanded);

        dc.SetValue(0, v, 10);   // a reload
        EXPECT_EQ(RowTexts(dc), expanded);
        dc.SetValue(4, a, 1);   // group 3 vanishes; record 4 joins 1 / p
        EXPECT_EQ(RowTexts(dc), (std::vector<std::string>{"G0:1", "G0:2", "G1:q", "r3", "G1:s"}));
    }
}

} // namespace
