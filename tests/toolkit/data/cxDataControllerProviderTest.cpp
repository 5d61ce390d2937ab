// Provider mode: a controller whose records and values come from a custom data source, and the
// structure and loading machinery (restructure, reload, smart load, grid mode).
#include <gtest/gtest.h>

#include "tests/toolkit/data/DataControllerTestHelpers.h"
#include "tests/toolkit/data/DataSourceTestHelpers.h"

using namespace cx;
using namespace cxtest;

namespace {

struct Provider : ::testing::Test {
    TTestDataController* dc = new TTestDataController();
    TTestDataSource* ds = new TTestDataSource(3);
    int id = 0, name = 0, amount = 0;
    void SetUp() override
    {
        for (int i = 0; i < 1000; ++i)
            ds->Rows.push_back({Variant((i * 7) % 1000), Variant("N" + std::to_string(i % 10)), Variant(i * 0.5)});
        id = dc->AddColumn(TcxIntegerValueType::Class());
        name = dc->AddColumn(TcxStringValueType::Class());
        amount = dc->AddColumn(TcxFloatValueType::Class());
    }
    void TearDown() override
    {
        dc->Free();
        if (ds)
            ds->Free();
    }
    std::vector<std::string> Kinds() const
    {
        std::vector<std::string> k;
        for (const auto& n : dc->Notices)
            k.push_back(n.Kind + (n.Kind == "TcxDataChangedInfo" ? ":" + std::to_string(n.A) : ""));
        return k;
    }
};

TEST_F(Provider, AssigningASourceLoadsOneHandlePerRecordAndReadsValuesThroughIt)
{
    EXPECT_TRUE(dc->IsUnboundMode());
    dc->SetCustomDataSource(ds);
    EXPECT_TRUE(dc->IsProviderMode());
    EXPECT_FALSE(dc->IsUnboundMode());
    ASSERT_EQ(dc->GetRecordCount(), 1000);
    EXPECT_EQ(ds->GetRecordHandleByIndex(999), 999);
    EXPECT_EQ(ds->GetRecordIndexByHandle(500), 500);
    EXPECT_EQ(ds->GetRecordIndexByHandle(cxNullRecordHandle), -1);
    EXPECT_EQ(dc->GetValue(3, id).ToInteger(), 21);
    EXPECT_EQ(dc->GetDisplayText(12, name), "N2");
    EXPECT_EQ(dc->GetRecordId(4).ToInteger(), 28);
    EXPECT_EQ(dc->GetRowCount(), 1000);
    // One reload, told once as a whole-data change.
    EXPECT_EQ(Kinds(), (std::vector<std::string>{"TcxDataChangedInfo:" + std::to_string(dcTotal)}));
    // The storage keeps the handles only.
    EXPECT_TRUE(dc->DataStorage()->StoredValuesOnly());
    ASSERT_NE(dc->RecordHandlesField(), nullptr);
    EXPECT_TRUE(dc->RecordHandlesField()->IsInternal());
}

TEST_F(Provider, WritesEditsAndRecordOperationsGoThroughTheSource)
{
    dc->SetCustomDataSource(ds);
    dc->Notices.clear();
    dc->SetValue(2, name, "changed");
    EXPECT_EQ(ds->Rows[2][1].ToString(), "changed");
    ASSERT_EQ(dc->Notices.size(), 1u);
    EXPECT_EQ(dc->Notices[0].A, dcField);

    // An edit cancelled writes the saved values back through the source.
    dc->ChangeFocusedRecordIndex(5);
    dc->Edit();
    dc->SetEditValue(amount, 99.5, evsValue);
    EXPECT_DOUBLE_EQ(ds->Rows[5][2].ToDouble(), 99.5);
    dc->Cancel();
    EXPECT_DOUBLE_EQ(ds->Rows[5][2].ToDouble(), 2.5);

    // Append, post and delete: the source changes and reports it, the controller reloads.
    ds->Log.clear();
    dc->Append();
    EXPECT_EQ(dc->GetRecordCount(), 1001);
    EXPECT_TRUE(dc->IsEditing());
    dc->SetEditValue(id, 5000, evsValue);
    dc->Post();
    EXPECT_EQ(ds->Rows.back()[0].ToInteger(), 5000);
    EXPECT_EQ(ds->Log, (std::vector<std::string>{"append", "set 1000.0"}));
    dc->ChangeFocusedRecordIndex(0);
    dc->Insert();
    EXPECT_EQ(ds->Log.back(), "insert 0");
    EXPECT_EQ(dc->GetRecordCount(), 1002);
    dc->Cancel();   // the empty inserted record is deleted again
    EXPECT_EQ(ds->Log.back(), "delete 0");
    EXPECT_EQ(dc->GetRecordCount(), 1001);
    dc->ChangeFocusedRecordIndex(10);
    dc->DeleteFocused();
    EXPECT_EQ(ds->Log.back(), "delete 10");
    EXPECT_EQ(dc->GetRecordCount(), 1000);
    EXPECT_EQ(dc->GetValue(10, id).ToInteger(), 77);

    // The application changed its rows and says so: all handles reload.
    ds->Rows.resize(4);
    ds->DataChanged();
    EXPECT_EQ(dc->GetRecordCount(), 4);
}

TEST_F(Provider, SortingAndGroupingReadTheSourceOrCompareNatively)
{
    dc->SetCustomDataSource(ds);
    auto sortedIds = [&] {
        std::vector<int> v;
        for (int r = 0; r < 5; ++r)
            v.push_back(dc->GetValue(dc->GetRowInfo(r).RecordIndex, id).ToInteger());
        return v;
    };
    dc->ChangeSorting(id, soAscending);
    EXPECT_EQ(sortedIds(), (std::vector<int>{0, 1, 2, 3, 4}));
    ds->Native = true;   // through the source's compare slots
    dc->ChangeSorting(id, soDescending);
    EXPECT_EQ(sortedIds(), (std::vector<int>{999, 998, 997, 996, 995}));
    dc->ChangeSorting(id, soNone);
    ds->Native = false;   // its slots hold integers only
    dc->Groups()->ChangeGrouping(name, 0);
    EXPECT_EQ(dc->GetRowCount(), 10);
    EXPECT_EQ(dc->Groups()->ChildCount(0), 100);

    // A source that claims native comparison without the compare slots fails clearly.
    struct TNoCompare : TcxCustomDataSource {
        int GetRecordCount() override { return 2; }
        bool IsNativeCompare() override { return true; }
    };
    auto* bare = new TNoCompare();
    dc->Groups()->ClearGrouping();
    dc->SetCustomDataSource(bare);
    try {
        dc->ChangeSorting(id, soAscending);
        ADD_FAILURE();
    } catch (const EcxInvalidDataControllerOperation& e) {
        EXPECT_STREQ(e.what(), "GetInfoForCompare not implemented");
    }
    bare->Free();   // detaches the controller
    EXPECT_FALSE(dc->IsProviderMode());
    EXPECT_EQ(dc->GetRecordCount(), 0);
}

// The source's reload keeps expanded groups: the group locate object's internal record holds the
// saved values, compared with the source's values (natively through its compare slots, too).
TEST_F(Provider, ReloadKeepsExpandedGroups)
{
    dc->SetCustomDataSource(ds);
    dc->Groups()->ChangeGrouping(id, 0);   // ids are distinct: one group per record
    for (bool native : {false, true}) {
        SCOPED_TRACE(native ? "native" : "by value");
        ds->Native = native;
        dc->Groups()->FullCollapse();
        dc->Groups()->ChangeExpanding(7, true, false);   // the group of id 7
        const int rows = dc->GetRowCount();
        ASSERT_EQ(rows, static_cast<int>(ds->Rows.size()) + 1);
        ds->Rows.erase(ds->Rows.begin() + 3);   // a record of a later group goes
        ds->DataChanged();
        EXPECT_EQ(dc->GetRowCount(), rows - 1);
        EXPECT_EQ(dc->GetRowInfo(8).Level, 1);
        EXPECT_EQ(dc->GetValue(dc->GetRowInfo(8).RecordIndex, id).ToInteger(), 7);
    }
}

TEST_F(Provider, LeavingAndRestructuring)
{
    dc->SetCustomDataSource(ds);
    // A new item in provider mode restructures and reloads when its type is set.
    ds->ItemCount = 4;
    for (auto& row : ds->Rows)
        row.push_back(Variant("extra"));
    int extra = dc->AddColumn(TcxStringValueType::Class());
    dc->ChangeValueTypeClass(extra, TcxWideStringValueType::Class());
    EXPECT_EQ(dc->GetRecordCount(), 1000);
    EXPECT_EQ(dc->GetValue(7, extra).ToString(), "extra");

    // Base answers: an array value shows as empty text; no source, no records.
    ds->Rows[0][1] = VarArrayCreate(0, 1, varVariant);
    EXPECT_EQ(dc->GetDisplayText(0, name), "");
    dc->SetCustomDataSource(nullptr);
    EXPECT_TRUE(dc->IsUnboundMode());
    EXPECT_EQ(dc->GetRecordCount(), 0);
    EXPECT_EQ(dc->RecordHandlesField(), nullptr);
    EXPECT_FALSE(dc->DataStorage()->StoredValuesOnly());

    // Unbound: a restructure or a type change keeps the records.
    Fill(*dc, id, {1, 2, 3});
    dc->RestructData();
    dc->ChangeValueTypeClass(amount, TcxIntegerValueType::Class());
    ASSERT_EQ(dc->GetRecordCount(), 3);
    EXPECT_EQ(dc->GetValue(2, id).ToInteger(), 3);

    // A source destroyed while in use detaches every controller using it.
    TTestDataController other;
    other.AddColumn(TcxIntegerValueType::Class());
    dc->SetCustomDataSource(ds);
    other.SetCustomDataSource(ds);
    ds->Free();
    ds = nullptr;
    EXPECT_FALSE(dc->IsProviderMode());
    EXPECT_FALSE(other.IsProviderMode());
    EXPECT_EQ(other.GetRecordCount(), 0);
}

// Field preparation restarts when preparing one destroys fields.
TEST_F(Provider, UpdateFieldsPreparesEveryFieldOnceRestartingAfterADestroyedField)
{
    struct TPreparing : TTestDataController {
        std::vector<int> prepared;
        TcxCustomDataField* victim = nullptr;
        void PrepareField(TcxCustomDataField* f) override
        {
            prepared.push_back(f->Index());
            if (victim && f->Index() == 0) {
                TcxCustomDataField* v = victim;
                victim = nullptr;
                v->Free();
            }
        }
    } c;
    for (int i = 0; i < 3; ++i)
        c.AddColumn(TcxIntegerValueType::Class());
    c.victim = c.Fields(2);
    c.UpdateFields();
    EXPECT_EQ(c.prepared, (std::vector<int>{0, 1}));   // restarted: field 0 and 1 were done
    // Locked field updates only mark the structure: it reloads when the lock ends.
    c.prepared.clear();
    c.BeginUpdateFields();
    c.UpdateStorage(true);
    EXPECT_TRUE(c.prepared.empty());
}

// --- smart load and grid mode ----------------------------------------------------------------------
struct TSmartController : TTestDataController {
    bool IsSmartLoad() const override { return true; }
};

TEST_F(Provider, SmartLoadAppendsHandlesWithoutReloading)
{
    TSmartController smart;
    smart.AddColumn(TcxIntegerValueType::Class());
    struct TQuiet : TTestDataSource {
        TcxDataRecordHandle AppendRecord() override
        {
            Rows.push_back({Variant(static_cast<int>(Rows.size()) * 10)});
            return static_cast<TcxDataRecordHandle>(Rows.size() - 1);
        }
    };
    auto* quiet = new TQuiet();
    quiet->ItemCount = 1;
    smart.SetCustomDataSource(quiet);
    EXPECT_EQ(smart.GetRecordCount(), 0);   // smart load does not load on assignment
    smart.BeginSmartLoad();
    EXPECT_TRUE(smart.IsDataLoading());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(smart.AppendRecord(), i);
    smart.EndSmartLoad();
    EXPECT_FALSE(smart.IsDataLoading());
    ASSERT_EQ(smart.GetRecordCount(), 3);
    EXPECT_EQ(smart.GetValue(2, 0).ToInteger(), 20);
    EXPECT_EQ(smart.GetRowCount(), 3);
    smart.SetCustomDataSource(nullptr);
    quiet->Free();
}

// A data-set style provider in grid mode: the storage holds one page of the source.
class TPagingProvider : public TcxCustomDataProvider {
    RTL_CLASS(TPagingProvider, TcxCustomDataProvider)
    using TcxCustomDataProvider::TcxCustomDataProvider;
    bool IsGridMode() const override { return GridMode; }
    void LoadDataBuffer() override
    {
        for (int i = 0; i < PageSize && PageStart + i < CustomDataSource()->GetRecordCount(); ++i)
            AddRecordHandle(PageStart + i);
    }
    bool GridMode = true;
    int PageStart = 0, PageSize = 100;
};

struct TPagingController : TTestDataController {
    TcxCustomDataProviderClass GetDataProviderClass() const override { return TcxCustomDataProviderClass::Of<TPagingProvider>(); }
    TPagingProvider* Paging() const { return static_cast<TPagingProvider*>(Provider()); }
};

TEST_F(Provider, GridModePagesThroughTheSourceAndLeavesSortingAndFilteringToIt)
{
    TPagingController grid;
    grid.RecreateProvider();
    int a = grid.AddColumn(TcxIntegerValueType::Class());
    grid.SetCustomDataSource(ds);
    ASSERT_TRUE(grid.IsGridMode());
    ASSERT_EQ(grid.GetRecordCount(), 100);
    EXPECT_EQ(grid.GetValue(0, a).ToInteger(), 0);
    grid.Paging()->PageStart = 950;
    grid.Provider()->DataChanged(dcTotal, -1, -1);
    ASSERT_EQ(grid.GetRecordCount(), 50);
    EXPECT_EQ(grid.GetValue(0, a).ToInteger(), (950 * 7) % 1000);
    // The engine neither sorts nor filters a page; writes are the data set's business.
    grid.ChangeSorting(a, soAscending);
    EXPECT_EQ(grid.GetRowInfo(0).RecordIndex, 0);
    grid.SetValue(0, a, 1);
    EXPECT_EQ(ds->Rows[950][0].ToInteger(), (950 * 7) % 1000);
    // A page cannot list a column's values: the drop-down offers the special entries only.
    TcxDataFilterValueList* list = grid.Filter()->CreateValueList();
    list->Load(a);
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Items(3)->Kind, fviNonBlanks);
    list->Free();
    // Leaving grid mode restructures at the next pass: the whole source loads.
    grid.Paging()->GridMode = false;
    grid.Refresh();
    EXPECT_FALSE(grid.DataStorage()->StoredValuesOnly() && !grid.IsProviderMode());
    EXPECT_EQ(grid.GetRecordCount(), 1000);
    grid.SetCustomDataSource(nullptr);
}

// In grid mode a data field's stored value and text come from the provider, which holds them
// outside the controller's storage; the base provider has none.
class TExternalProvider : public TPagingProvider {
    RTL_CLASS(TExternalProvider, TPagingProvider)
    using TPagingProvider::TPagingProvider;
    Variant GetExternalDataValue(int recordIndex, TcxCustomDataField*) override { return recordIndex * 100; }
    std::string GetExternalDataDisplayText(int recordIndex, TcxCustomDataField*) override
    {
        return "外部 " + std::to_string(recordIndex);
    }
};

TEST_F(Provider, GridModeAsksTheProviderForStoredValues)
{
    struct TExternalController : TTestDataController {
        TcxCustomDataProviderClass GetDataProviderClass() const override
        {
            return TcxCustomDataProviderClass::Of<TExternalProvider>();
        }
    } grid;
    grid.RecreateProvider();
    int a = grid.AddColumn(TcxIntegerValueType::Class());
    ASSERT_TRUE(grid.IsGridMode());
    TcxCustomDataField* field = grid.Fields(a);
    EXPECT_EQ(grid.GetStoredValue(2, field).ToInteger(), 200);
    EXPECT_EQ(grid.GetStoredDisplayText(1, field), "外部 1");
    static_cast<TPagingProvider*>(grid.Provider())->GridMode = false;
    grid.SetRecordCount(3);
    EXPECT_TRUE(grid.GetStoredValue(2, field).IsNull());   // out of grid mode: the storage, still empty
    EXPECT_EQ(grid.GetStoredDisplayText(1, field), "");
}

// The provider's layout and active notices reach UpdateItems: each reloads what the source holds
// now (a source that added rows without telling anyone).
TEST_F(Provider, LayoutAndActiveChangesReloadFromTheSource)
{
    dc->SetCustomDataSource(ds);
    struct Step {
        const char* name;
        void (*notify)(TTestDataController*);
    } steps[] = {
        {"layout", [](TTestDataController* c) { c->LayoutChanged({lcData}); }},
        {"active", [](TTestDataController* c) { c->ActiveChanged(true); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int before = dc->GetRecordCount();
        ds->Rows.push_back({Variant(5000), Variant("new"), Variant(1.0)});
        EXPECT_EQ(dc->GetRecordCount(), before);
        dc->Notices.clear();
        step.notify(dc);
        ASSERT_EQ(dc->GetRecordCount(), before + 1);
        EXPECT_EQ(dc->GetValue(before, id).ToInteger(), 5000);
        EXPECT_EQ(dc->CountOf("TcxDataChangedInfo"), 1);
    }
    EXPECT_TRUE(dc->Active());
    // Under a lock the reload waits for the unlock.
    ds->Rows.pop_back();
    dc->BeginUpdate();
    dc->LayoutChanged({lcData});
    EXPECT_EQ(dc->GetRecordCount(), 1002);
    dc->EndUpdate();
    EXPECT_EQ(dc->GetRecordCount(), 1001);
}

} // namespace
