// Master-detail trees of data controllers and the keys kept across a reload.
#include <gtest/gtest.h>

#include "DataControllerTestHelpers.h"
#include "DataSourceTestHelpers.h"
#include "toolkit/data/cxCustomDataKeys.h"

namespace cxtest {
namespace {

int gLinksFreed = 0;

// What a nested view would be: the link owns the clone controller of one master record.
class TTestLink : public TObject {
    RTL_CLASS(TTestLink, TObject)
    ~TTestLink() override
    {
        ++gLinksFreed;
        FreeAndNil(Detail);
    }
    TTestDataController* Detail = nullptr;
};

class TMasterController : public TTestDataController {
    RTL_CLASS(TMasterController, TTestDataController)
    TObject* CreateDetailLinkObject(TcxCustomDataRelation* relation, int recordIndex) override
    {
        auto* link = new TTestLink();
        link->Detail = new TTestDataController();
        link->Detail->SetMasterRelation(relation, recordIndex);
        return link;
    }
    TcxCustomDataController* GetDetailDataControllerByLinkObject(TObject* linkObject) override
    {
        auto* link = dynamic_cast<TTestLink*>(linkObject);
        return link ? link->Detail : nullptr;
    }
    bool IsKeyNavigation() const override { return KeyNavigation; }
    void GetKeyFields(TList* list) override { list->Add(Fields(0)); }
    bool KeyNavigation = false;
};

class TCountingPattern : public TTestDataController {
    RTL_CLASS(TCountingPattern, TTestDataController)
    void UpdateFocused() override
    {
        ++FocusUpdates;
        TTestDataController::UpdateFocused();
    }
    int FocusUpdates = 0;
};

struct MasterDetail : ::testing::Test {
    void SetUp() override
    {
        gLinksFreed = 0;
        master.AddColumn(TcxIntegerValueType::Class());
        Fill(master, 0, {10, 20, 30, 40, 50});
        relation = master.GetRelations()->Add(&relationItem);
        pattern.SetMasterMode(relation, true);
    }
    void TearDown() override { pattern.SetMasterMode(nullptr, false); }
    TMasterController master;
    TCountingPattern pattern;
    TTestItem relationItem{1};
    TcxCustomDataRelation* relation = nullptr;
};

TEST_F(MasterDetail, ClonesPerMasterRecordShareThePattern)
{
    EXPECT_EQ(master.GetDetailMode(), dcdmNone);
    EXPECT_EQ(pattern.GetDetailMode(), dcdmPattern);
    EXPECT_EQ(relation->DetailDataController, &pattern);

    EXPECT_FALSE(master.IsDetailDataControllerExist(0, 0));
    TcxCustomDataController* first = master.GetDetailDataController(0, 0);
    TcxCustomDataController* fourth = master.GetDetailDataController(3, 0);
    ASSERT_TRUE(first && fourth);
    EXPECT_NE(first, fourth);
    EXPECT_TRUE(master.IsDetailDataControllerExist(3, 0));
    EXPECT_EQ(master.GetDetailDataController(3, 0), fourth);   // kept, not created again
    for (auto [clone, record] : {std::pair{first, 0}, std::pair{fourth, 3}}) {
        EXPECT_EQ(clone->GetDetailMode(), dcdmClone);
        EXPECT_EQ(clone->GetMasterRecordIndex(), record);
        EXPECT_EQ(clone->GetMasterDataController(), &master);
        EXPECT_EQ(clone->GetRootDataController(), &master);
        EXPECT_EQ(clone->GetPatternDataController(), &pattern);
    }
    std::vector<TcxCustomDataController*> walked;
    master.ForEachDetail(relation, [&](TcxCustomDataController* d) { walked.push_back(d); });
    EXPECT_EQ(walked, (std::vector<TcxCustomDataController*>{first, fourth}));

    // Relations without a registered pattern have no details at all.
    pattern.SetMasterMode(nullptr, false);
    EXPECT_EQ(relation->DetailDataController, nullptr);
    EXPECT_EQ(master.GetDetailLinkObject(1, 0), nullptr);
}

// A clone's position sync is a pending change: the pattern's focus is refreshed once the clone's
// update ends, not while it is locked; the master and the pattern sync nothing.
TEST_F(MasterDetail, CloneSyncRefreshesThePatternFocusAfterTheUpdate)
{
    TcxCustomDataController* clone = master.GetDetailDataController(1, 0);
    ASSERT_NE(clone, nullptr);
    pattern.FocusUpdates = 0;
    clone->BeginUpdate();
    clone->SyncMasterPos();
    EXPECT_EQ(pattern.FocusUpdates, 0);
    clone->EndUpdate();
    EXPECT_EQ(pattern.FocusUpdates, 1);
    master.SyncMasterPos();
    pattern.SyncMasterPos();
    EXPECT_EQ(pattern.FocusUpdates, 1);
}

std::vector<TComponent*> gRemovedComponents;
struct TWatchingField : TcxCustomDataField {
    using TcxCustomDataField::TcxCustomDataField;
    void RemoveNotification(TComponent* component) override { gRemovedComponents.push_back(component); }
};

// Components the controller's fields refer to reach them through the notifier when they die.
TEST(DataControllerNotifier, RemovedComponentsReachTheFields)
{
    struct TWatchingController : TTestDataController {
        TcxCustomDataFieldClass GetFieldClass() const override { return TcxCustomDataFieldClass::Of<TWatchingField>(); }
    } dc;
    dc.AddColumn(TcxIntegerValueType::Class());
    dc.AddColumn(TcxStringValueType::Class());
    gRemovedComponents.clear();
    auto* used = new TComponent(nullptr);
    used->FreeNotification(dc.GetNotifier());
    used->Free();
    EXPECT_EQ(gRemovedComponents, (std::vector<TComponent*>{used, used}));   // once per field
}

TEST_F(MasterDetail, ExpandingAndCollapsingAskTheHandlers)
{
    std::vector<std::string> calls;
    bool allowCollapse = false;
    master.OnDetailExpanding = [&](TcxCustomDataController*, int r, bool&) { calls.push_back("expanding " + std::to_string(r)); };
    master.OnDetailExpanded = [&](TcxCustomDataController*, int r) { calls.push_back("expanded " + std::to_string(r)); };
    master.OnDetailCollapsing = [&](TcxCustomDataController*, int r, bool& allow) {
        calls.push_back("collapsing " + std::to_string(r));
        allow = allowCollapse;
    };
    master.OnDetailCollapsed = [&](TcxCustomDataController*, int r) { calls.push_back("collapsed " + std::to_string(r)); };

    EXPECT_TRUE(master.ChangeDetailExpanding(2, true));
    EXPECT_TRUE(master.GetDetailExpanding(2));
    EXPECT_TRUE(master.ChangeDetailExpanding(2, true));   // already so: no handler
    EXPECT_FALSE(master.ChangeDetailExpanding(2, false));   // refused
    EXPECT_TRUE(master.GetDetailExpanding(2));
    allowCollapse = true;
    EXPECT_TRUE(master.ChangeDetailExpanding(2, false));
    EXPECT_FALSE(master.GetDetailExpanding(2));
    EXPECT_FALSE(master.ChangeDetailExpanding(7, true));   // no such record
    EXPECT_EQ(calls, (std::vector<std::string>{"expanding 2", "expanded 2", "collapsing 2", "collapsing 2", "collapsed 2"}));

    master.ChangeDetailExpanding(1, true);
    ASSERT_NE(master.GetDetailDataController(1, 0), nullptr);
    master.CollapseDetails();
    EXPECT_FALSE(master.GetDetailExpanding(1));
    EXPECT_FALSE(master.IsDetailDataControllerExist(1, 0));
    EXPECT_EQ(gLinksFreed, 1);
    EXPECT_EQ(master.GetDetailActiveRelationIndex(1), 0);
}

TEST_F(MasterDetail, ClonesFollowInsertsAndDieWithTheirRecord)
{
    std::vector<TcxCustomDataController*> clones;
    for (int r : {1, 2, 3, 4})
        clones.push_back(master.GetDetailDataController(r, 0));
    master.InsertRecord(2);
    EXPECT_EQ(clones[0]->GetMasterRecordIndex(), 1);
    EXPECT_EQ(clones[1]->GetMasterRecordIndex(), 3);
    EXPECT_EQ(clones[3]->GetMasterRecordIndex(), 5);
    EXPECT_EQ(master.GetDetailDataController(5, 0), clones[3]);

    master.DeleteRecord(3);   // the record of clones[1]
    EXPECT_EQ(gLinksFreed, 1);
    EXPECT_EQ(clones[2]->GetMasterRecordIndex(), 3);
    EXPECT_EQ(master.GetDetailDataController(3, 0), clones[2]);
    EXPECT_EQ(master.GetDetailDataController(1, 0), clones[0]);
}

TEST_F(MasterDetail, ExpandedDetailsFollowTheirKeysThroughAReload)
{
    master.KeyNavigation = true;
    master.ChangeDetailExpanding(0, true);   // key 10
    master.ChangeDetailExpanding(2, true);   // key 30
    master.SaveKeys();
    master.SetRecordCount(0);
    Fill(master, 0, {30, 20, 60, 10});
    EXPECT_FALSE(master.GetDetailExpanding(0));
    master.RestoreKeys();
    EXPECT_TRUE(master.GetDetailExpanding(0));
    EXPECT_FALSE(master.GetDetailExpanding(1));
    EXPECT_FALSE(master.GetDetailExpanding(2));
    EXPECT_TRUE(master.GetDetailExpanding(3));

    // Without key navigation nothing is kept.
    master.KeyNavigation = false;
    master.SaveKeys();
    master.SetRecordCount(0);
    Fill(master, 0, {30, 10});
    master.RestoreKeys();
    EXPECT_FALSE(master.GetDetailExpanding(0));
    EXPECT_FALSE(master.GetDetailExpanding(1));
}

TEST_F(MasterDetail, SelectionFollowsItsKeysThroughAReload)
{
    master.KeyNavigation = true;
    master.SetMultiSelect(true);
    master.ChangeRowSelection(0, true);   // key 10
    master.ChangeRowSelection(2, true);   // key 30
    master.SaveKeys();
    master.DeleteRecord(1);   // key 20: key 30 moves to record 1
    master.RestoreKeys();
    TcxDataSelection* selection = master.DataControllerInfo()->Selection();
    EXPECT_TRUE(selection->IsRecordSelected(0));
    EXPECT_TRUE(selection->IsRecordSelected(1));
    EXPECT_FALSE(selection->IsRecordSelected(2));
    EXPECT_EQ(master.GetSelectedCount(), 2);
}

TEST(DataControllerDetail, PatternFlagFollowsTheReferenceCount)
{
    TTestDataController master, detail;
    TTestItem item(1);
    TcxCustomDataRelation* relation = master.GetRelations()->Add(&item);
    detail.SetIsPattern(true);
    EXPECT_EQ(detail.GetDetailMode(), dcdmPattern);
    detail.AddDataChangeRefCount();
    EXPECT_EQ(detail.GetDetailMode(), dcdmNone);
    detail.RemoveDataChangeRefCount();
    EXPECT_EQ(detail.GetDetailMode(), dcdmPattern);
    detail.SetIsPattern(false);
    detail.SetMasterRelation(relation, 3);
    EXPECT_EQ(detail.GetDetailMode(), dcdmClone);
    detail.AddDataChangeRefCount();
    EXPECT_THROW(detail.SetIsPattern(true), EdxException);
    detail.RemoveDataChangeRefCount();
    detail.SetMasterRelation(nullptr, -1);
}

// A data-bound master asks its source once whether a record has detail records; a change in a
// data-bound detail (not while it edits) makes it ask again.
TEST(MasterDetailHasChildren, DetailChangesResetTheMastersAnswers)
{
    struct TAskedSource : TTestDataSource {
        bool GetDetailHasChildren(int, int) override
        {
            ++Asked;
            return Answer;
        }
        int Asked = 0;
        bool Answer = false;
    };
    TTestDataController master, detail;
    auto* masterSource = new TAskedSource();
    auto* detailSource = new TTestDataSource(1);
    masterSource->Rows = {{Variant(1), Variant(2), Variant(3)}, {Variant(4), Variant(5), Variant(6)}};
    detailSource->Rows = {{Variant(7)}, {Variant(8)}};
    for (int i = 0; i < 3; ++i)
        master.AddColumn(TcxIntegerValueType::Class());
    detail.AddColumn(TcxIntegerValueType::Class());
    master.SetCustomDataSource(masterSource);
    detail.SetCustomDataSource(detailSource);
    TTestItem relationItem{1};
    TcxCustomDataRelation* relation = master.GetRelations()->Add(&relationItem);
    TTestDataController pattern;
    pattern.SetMasterMode(relation, true);
    detail.SetMasterRelation(relation, 0);
    ASSERT_EQ(detail.GetMasterDataController(), &master);

    EXPECT_EQ(master.GetDetailActiveRelationIndex(0), 0);   // the record's detail object exists
    EXPECT_FALSE(master.GetDetailHasChildren(0, 0));
    masterSource->Answer = true;
    EXPECT_FALSE(master.GetDetailHasChildren(0, 0));   // remembered
    EXPECT_EQ(masterSource->Asked, 1);

    detail.SetValue(1, 0, 9);   // a change of the detail's data
    EXPECT_TRUE(master.GetDetailHasChildren(0, 0));
    EXPECT_EQ(masterSource->Asked, 2);

    // While the detail edits, its changes leave the master's answers alone.
    masterSource->Answer = false;
    detail.ChangeFocusedRecordIndex(0);
    detail.Edit();
    ASSERT_TRUE(detail.IsEditing());
    detail.SetEditValue(0, 10, evsValue);
    EXPECT_TRUE(master.GetDetailHasChildren(0, 0));
    EXPECT_EQ(masterSource->Asked, 2);

    detail.Cancel();
    detail.SetMasterRelation(nullptr, -1);
    pattern.SetMasterMode(nullptr, false);
    detail.SetCustomDataSource(nullptr);
    master.SetCustomDataSource(nullptr);
    detailSource->Free();
    masterSource->Free();
}

} // namespace
} // namespace cxtest
