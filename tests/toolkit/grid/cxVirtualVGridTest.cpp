// The multi-record grid: its defaults and layout classes, the filter items it offers, the
// navigator actions and notices, the focused-record event and the filter dialog hook.
#include "VGridTestSupport.h"

#include "platform/rtl/Streams.h"
#include "toolkit/data/cxCustomData.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxVGridController.h"
#include "toolkit/grid/cxVirtualVGrid.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace vgtest;

class VirtualGrid : public TcxVirtualVerticalGrid {
    RTL_CLASS(VirtualGrid, TcxVirtualVerticalGrid)
    explicit VirtualGrid(TComponent* owner) : TcxVirtualVerticalGrid(owner) { RecreateViewInfo(); }
    TcxvgCustomPaintStyleCalcHelperClass GetCalcHelperClass() const override
    {
        return TcxvgCustomPaintStyleCalcHelperClass::Of<DotNetCalcHelper>();
    }
};

// A navigator that only counts how often its buttons were told to refresh.
class CountingNavigator : public IcxNavigatorOwner {
public:
    void NavigatorChanged(TcxNavigatorChangeType) override {}
    TRect GetNavigatorBounds() override { return {}; }
    TcxCustomNavigatorButtons* GetNavigatorButtons() override { return nullptr; }
    TCanvas* GetNavigatorCanvas() override { return nullptr; }
    TWinControl* GetNavigatorControl() override { return nullptr; }
    bool GetNavigatorFocused() override { return false; }
    TcxLookAndFeel* GetNavigatorLookAndFeel() override { return nullptr; }
    TComponent* GetNavigatorOwner() override { return nullptr; }
    bool GetNavigatorShowHint() override { return false; }
    bool GetNavigatorTabStop() override { return false; }
    void NavigatorButtonsStateChanged() override { ++refreshes; }
    void RefreshNavigator() override {}
    int refreshes = 0;
};

// Criteria whose conditions name their items through a filter host, as a filter builder keeps them.
class HostCriteria : public TcxFilterCriteria {
    RTL_CLASS(HostCriteria, TcxFilterCriteria)
    explicit HostCriteria(IcxFilterControl* host) : host_(host) { SetVersion(3); }
    int GetIDByItemLink(TObject* link) override
    {
        const int i = IndexOf(link);
        return i >= 0 ? host_->GetFilterItemLinkID(i) : -1;
    }
    std::string GetNameByItemLink(TObject* link) override
    {
        const int i = IndexOf(link);
        return i >= 0 ? host_->GetItemLinkName(i) : std::string();
    }
    TObject* GetItemLinkByID(int id) override
    {
        for (int i = 0; i < host_->GetFilterCount(); ++i)
            if (host_->GetFilterItemLinkID(i) == id)
                return host_->GetFilterItemLink(i);
        return nullptr;
    }
    TObject* GetItemLinkByName(const std::string& name) override
    {
        for (int i = 0; i < host_->GetFilterCount(); ++i)
            if (host_->GetItemLinkName(i) == name)
                return host_->GetFilterItemLink(i);
        return nullptr;
    }

private:
    int IndexOf(TObject* link)
    {
        for (int i = 0; i < host_->GetFilterCount(); ++i)
            if (host_->GetFilterItemLink(i) == link)
                return i;
        return -1;
    }
    IcxFilterControl* host_;
};

class VirtualVGridTest : public VGridTest {
protected:
    void SetUp() override
    {
        VGridTest::SetUp();
        cxTextEditUnit::Initialize();
        vgrid = new VirtualGrid(form);
        vgrid->Font()->SetHeight(-16);
        vgrid->OptionsView()->SetRowHeaderWidth(60);
        vgrid->OptionsView()->SetValueWidth(50);
    }
    void TearDown() override
    {
        cxVGridFilterDialogHook() = nullptr;
        form->Free();
        form = nullptr;
        cxTextEditUnit::Finalize();
        VGridTest::TearDown();
    }
    void ShowGrid(int records, int width)
    {
        vgrid->DataController()->SetRecordCount(records);
        vgrid->SetBounds(0, 0, width, 200);
        vgrid->SetParent(form);
        vgrid->HandleNeeded();
        vgrid->LayoutChanged();
    }
    TcxEditorRow* AddRow(const std::string& caption)
    {
        auto* row = vgrid->Add<TcxEditorRow>();
        row->Properties()->SetCaption(caption);
        row->Properties()->SetEditPropertiesClass(TextKind());
        return row;
    }
    static TcxCustomEditPropertiesClass TextKind() { return TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>(); }
    int Focused() { return vgrid->DataController()->GetFocusedRowIndex(); }
    VirtualGrid* vgrid = nullptr;
};

TEST_F(VirtualVGridTest, NewGridHasNoRecordAndItsDefaults)
{
    EXPECT_EQ(vgrid->GetRecordCount(), 0);
    EXPECT_EQ(vgrid->LayoutStyle(), lsSingleRecordView);
    EXPECT_EQ(vgrid->OptionsView()->RecordsInterval(), 0);
    EXPECT_TRUE(vgrid->OptionsBehavior()->AllowChangeRecord());
    EXPECT_TRUE(vgrid->OptionsData()->Appending());
    EXPECT_TRUE(vgrid->OptionsData()->Deleting());
    EXPECT_TRUE(vgrid->OptionsData()->DeletingConfirmation);
    EXPECT_TRUE(vgrid->OptionsData()->Inserting());
    EXPECT_NE(dynamic_cast<TcxvgMultiRecordsController*>(vgrid->GridController()), nullptr);
    vgrid->OptionsView()->SetRecordsInterval(-4);
    EXPECT_EQ(vgrid->OptionsView()->RecordsInterval(), 0);
    vgrid->OptionsView()->SetRecordsInterval(5);
    EXPECT_EQ(vgrid->GetRecordsInterval(), 5);
    vgrid->OptionsView()->RestoreDefaults();
    EXPECT_EQ(vgrid->OptionsView()->RecordsInterval(), 0);
}

TEST_F(VirtualVGridTest, LayoutStyleChoosesLayoutScrollingAndBandSizing)
{
    ShowGrid(5, 300);
    struct Case {
        TcxvgLayoutStyle style;
        const TClassMeta* viewInfo;
        const TClassMeta* strategy;
        bool bandSizingAutoScaled, bandSizingFixed;
    };
    const Case cases[] = {
        {lsBandsView, &TcxBandsViewInfo::StaticClass(), &TcxvgBandsScrollStrategy::StaticClass(), false, true},
        {lsMultiRecordView, &TcxMultiRecordViewInfo::StaticClass(), &TcxvgMultiRecordsScrollStrategy::StaticClass(),
         true, true},
        {lsSingleRecordView, &TcxInspectorViewInfo::StaticClass(), &TcxvgSingleRecordScrollStrategy::StaticClass(),
         false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        vgrid->SetLayoutStyle(c.style);
        EXPECT_EQ(&vgrid->ViewInfo()->ClassType(), c.viewInfo);
        EXPECT_EQ(&vgrid->Scroller()->Strategy()->ClassType(), c.strategy);
        vgrid->OptionsView()->SetAutoScaleBands(true);
        EXPECT_EQ(vgrid->CanBandSizing(), c.bandSizingAutoScaled);
        vgrid->OptionsView()->SetAutoScaleBands(false);
        EXPECT_EQ(vgrid->CanBandSizing(), c.bandSizingFixed);
        vgrid->OptionsBehavior()->BandSizing = false;
        EXPECT_FALSE(vgrid->CanBandSizing());
        vgrid->OptionsBehavior()->BandSizing = true;
    }
    // Scrolling starts over with a new layout style.
    vgrid->SetLayoutStyle(lsMultiRecordView);
    vgrid->SetLeftVisibleRecord(1);
    ASSERT_EQ(vgrid->GetLeftVisibleRecord(), 1);
    vgrid->SetLayoutStyle(lsBandsView);
    EXPECT_EQ(vgrid->GetLeftVisibleRecord(), 0);
    EXPECT_EQ(vgrid->GetTopVisibleRowIndex(), 0);
    vgrid->OptionsView()->SetCellAutoHeight(true);
    EXPECT_TRUE(vgrid->GetCellAutoHeight());
    vgrid->SetLayoutStyle(lsMultiRecordView);
    EXPECT_FALSE(vgrid->GetCellAutoHeight());
}

TEST_F(VirtualVGridTest, FilterItemsAreTheFilteringContainersInRowOrder)
{
    TcxEditorRow* first = AddRow("Meter");
    TcxEditorRow* skipped = AddRow("Hidden from filters");
    skipped->Properties()->Options()->SetFiltering(false);
    auto* multi = vgrid->Add<TcxMultiEditorRow>();
    for (const char* caption : {"Phase A", "Phase B"}) {
        TcxEditorRowItemProperties* editor = multi->Properties()->Editors()->Add();
        editor->SetCaption(caption);
        editor->SetEditPropertiesClass(TextKind());
    }
    TcxEditorRow* last = AddRow("Tariff");

    ASSERT_EQ(vgrid->GetFilterCount(), 4);
    const std::vector<std::string> captions = {"Meter", "Phase A", "Phase B", "Tariff"};
    std::vector<std::string> names;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(vgrid->GetFilterCaption(i), captions[std::size_t(i)]);
        auto* item = static_cast<TcxCellEdit*>(vgrid->GetFilterItemLink(i));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(vgrid->GetFilterItemLinkID(i), item->DataItemIndex());
        EXPECT_EQ(vgrid->GetFilterProperties(i), item->GetPropertiesValue());
        EXPECT_EQ(vgrid->GetFilterValueType(i), item->GetEditDataValueTypeClass());
        EXPECT_EQ(vgrid->GetFilterFieldName(i), "");
        names.push_back(vgrid->GetItemLinkName(i));
    }
    EXPECT_EQ(vgrid->GetFilterItemLink(0), first->Properties()->EditContainer());
    EXPECT_EQ(vgrid->GetFilterItemLink(3), last->Properties()->EditContainer());
    // Two editor rows never share a name: a stored condition finds its own row again.
    EXPECT_EQ(names[0], "Item" + std::to_string(first->Properties()->EditContainer()->DataItemIndex()));
    EXPECT_NE(names[0], names[3]);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    // Out of range: nothing.
    EXPECT_EQ(vgrid->GetFilterItemLink(4), nullptr);
    EXPECT_EQ(vgrid->GetFilterItemLinkID(-1), -1);
    EXPECT_EQ(vgrid->GetItemLinkName(4), "");
    EXPECT_EQ(vgrid->GetFilterCaption(4), "");
    EXPECT_EQ(vgrid->GetFilterCriteria(), vgrid->DataController()->Filter());
}

TEST_F(VirtualVGridTest, StoredConditionsOnTwoEditorRowsComeBackOnBoth)
{
    AddRow("Meter");
    AddRow("Tariff");
    HostCriteria saved(vgrid);
    saved.AddItem(saved.Root(), vgrid->GetFilterItemLink(0), foEqual, Variant("A"), "A");
    saved.AddItem(saved.Root(), vgrid->GetFilterItemLink(1), foEqual, Variant("B"), "B");
    TMemoryStream stream;
    saved.WriteData(&stream);
    stream.Seek(0, soBeginning);
    HostCriteria loaded(vgrid);
    loaded.ReadData(&stream);
    ASSERT_EQ(loaded.Root()->Count(), 2);
    EXPECT_EQ(static_cast<TcxFilterCriteriaItem*>(loaded.Root()->Items(0))->ItemLink(), vgrid->GetFilterItemLink(0));
    EXPECT_EQ(static_cast<TcxFilterCriteriaItem*>(loaded.Root()->Items(1))->ItemLink(), vgrid->GetFilterItemLink(1));
}

TEST_F(VirtualVGridTest, NavigatorMovesByTheVisibleRecordsOnlyInMultiRecordView)
{
    AddRow("Value");
    vgrid->SetLayoutStyle(lsMultiRecordView);
    ShowGrid(10, 60 + 1 + 3 * 51 + 10);
    ASSERT_EQ(vgrid->Scroller()->GetVisibleValueCount(), 3);
    struct Step {
        int action, expected;
    };
    // First, next page, previous, previous page, last, and the page forward stops at the end.
    for (const Step s : {Step{0, 0}, Step{4, 3}, Step{3, 4}, Step{2, 3}, Step{1, 0}, Step{5, 9}, Step{4, 9},
                         Step{16, 9}, Step{-1, 9}}) {
        SCOPED_TRACE(s.action);
        vgrid->NavigatorDoAction(s.action);
        EXPECT_EQ(Focused(), s.expected);
    }
    vgrid->SetLayoutStyle(lsSingleRecordView);
    vgrid->NavigatorDoAction(0);
    vgrid->NavigatorDoAction(4);
    EXPECT_EQ(Focused(), 1);
    vgrid->NavigatorDoAction(1);
    EXPECT_EQ(Focused(), 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(vgrid->NavigatorIsActionSupported(i));
    EXPECT_FALSE(vgrid->NavigatorIsActionSupported(16));
    EXPECT_FALSE(vgrid->NavigatorIsActionSupported(-1));
}

TEST_F(VirtualVGridTest, NavigatorEditsRecordsThroughTheDataOptions)
{
    TcxEditorRow* value = AddRow("Value");
    ShowGrid(3, 300);
    std::vector<std::string> asked;
    static_cast<TcxvgMultiRecordsController*>(vgrid->GridController())->ConfirmDelete =
        [&](const std::string& text, const std::string&) {
            asked.push_back(text);
            return true;
        };
    EXPECT_TRUE(vgrid->NavigatorCanAppend());
    EXPECT_TRUE(vgrid->NavigatorCanInsert());
    EXPECT_TRUE(vgrid->NavigatorCanDelete());
    EXPECT_TRUE(vgrid->NavigatorCanEdit());
    vgrid->NavigatorDoAction(7);   // append
    EXPECT_TRUE(vgrid->NavigatorIsEditing());
    vgrid->DataController()->SetEditValue(value->Properties()->GetItemIndex(), Variant("new"), evsValue);
    vgrid->NavigatorDoAction(10);   // post
    EXPECT_FALSE(vgrid->NavigatorIsEditing());
    EXPECT_EQ(vgrid->GetRecordCount(), 4);
    vgrid->NavigatorDoAction(8);   // delete, asked first
    EXPECT_EQ(vgrid->GetRecordCount(), 3);
    EXPECT_EQ(asked.size(), 1u);
    vgrid->OptionsData()->DeletingConfirmation = false;
    vgrid->NavigatorDoAction(8);
    EXPECT_EQ(vgrid->GetRecordCount(), 2);
    EXPECT_EQ(asked.size(), 1u);

    vgrid->OptionsData()->SetAppending(false);
    vgrid->OptionsData()->SetDeleting(false);
    vgrid->OptionsData()->SetInserting(false);
    vgrid->OptionsData()->SetEditing(false);
    EXPECT_FALSE(vgrid->NavigatorCanAppend());
    EXPECT_FALSE(vgrid->NavigatorCanDelete());
    EXPECT_FALSE(vgrid->NavigatorCanInsert());
    EXPECT_FALSE(vgrid->NavigatorCanEdit());

    // Bookmarks.
    vgrid->NavigatorDoAction(0);
    vgrid->NavigatorDoAction(13);
    EXPECT_TRUE(vgrid->NavigatorIsBookmarkAvailable());
    vgrid->NavigatorDoAction(5);
    vgrid->NavigatorDoAction(14);
    EXPECT_EQ(Focused(), 0);
    vgrid->NavigatorClearBookmark();
    EXPECT_FALSE(vgrid->NavigatorIsBookmarkAvailable());
}

TEST_F(VirtualVGridTest, NavigatorsAreRefreshedOnDataChangesAndDataOptions)
{
    AddRow("Value");
    ShowGrid(3, 300);
    CountingNavigator navigator;
    vgrid->NavigatorGetNotifier()->AddNavigator(&navigator);
    vgrid->DataController()->SetRecordCount(5);
    const int afterData = navigator.refreshes;
    EXPECT_GT(afterData, 0);
    vgrid->NavigatorDoAction(3);   // a focus change is a data notice too
    EXPECT_GT(navigator.refreshes, afterData);
    const int afterFocus = navigator.refreshes;
    vgrid->OptionsData()->SetDeleting(false);
    EXPECT_EQ(navigator.refreshes, afterFocus + 1);
    vgrid->OptionsData()->SetDeleting(false);   // unchanged: no notice
    EXPECT_EQ(navigator.refreshes, afterFocus + 1);
    vgrid->NavigatorGetNotifier()->RemoveNavigator(&navigator);
}

TEST_F(VirtualVGridTest, FocusedRecordChangeIsReported)
{
    AddRow("Value");
    ShowGrid(4, 300);
    vgrid->SetFocusedRecordIndex(0);
    std::vector<std::pair<int, int>> changes;
    vgrid->OnFocusedRecordChanged = [&](TcxVirtualVerticalGrid* sender, int prev, int now) {
        EXPECT_EQ(sender, vgrid);
        changes.emplace_back(prev, now);
    };
    vgrid->SetFocusedRecordIndex(2);
    vgrid->NavigatorDoAction(5);
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, 2}, {2, 3}}));
    EXPECT_EQ(vgrid->GetFocusedRecordIndex(), 3);
}

TEST_F(VirtualVGridTest, FilterDialogGoesThroughTheHookAndAppliesTheFilter)
{
    AddRow("Value");
    ShowGrid(2, 300);
    EXPECT_FALSE(vgrid->DoFilterDialog());   // no builder registered: nothing opens
    int shows = 0;
    vgrid->OnFilterControlDialogShow = [&](TObject*) { ++shows; };
    TcxVirtualVerticalGrid* asked = nullptr;
    cxVGridFilterDialogHook() = [&](TcxVirtualVerticalGrid* grid, const TNotifyEvent& onShow,
                                    const std::function<void()>& apply) {
        asked = grid;
        onShow(grid);
        apply();
        return true;
    };
    vgrid->DataController()->Filter()->SetActive(false);
    vgrid->NavigatorDoAction(15);
    EXPECT_EQ(asked, vgrid);
    EXPECT_EQ(shows, 1);
    EXPECT_TRUE(vgrid->DataController()->Filter()->Active());
}

TEST_F(VirtualVGridTest, AssignFromAnotherGridTakesLayoutAndOptions)
{
    ShowGrid(2, 300);
    ASSERT_FALSE(vgrid->IsLocked());
    auto* other = new VirtualGrid(form);
    other->SetLayoutStyle(lsMultiRecordView);
    other->OptionsView()->SetRecordsInterval(7);
    other->OptionsBehavior()->SetAllowChangeRecord(false);
    other->OptionsData()->SetAppending(false);
    other->OptionsData()->DeletingConfirmation = false;
    vgrid->Assign(other);
    EXPECT_EQ(vgrid->LayoutStyle(), lsMultiRecordView);
    EXPECT_EQ(vgrid->OptionsView()->RecordsInterval(), 7);
    EXPECT_FALSE(vgrid->OptionsBehavior()->AllowChangeRecord());
    EXPECT_FALSE(vgrid->OptionsData()->Appending());
    EXPECT_FALSE(vgrid->OptionsData()->DeletingConfirmation);
    EXPECT_FALSE(vgrid->IsLocked());
}

TEST_F(VirtualVGridTest, IncSearchItemIsTheEditorRow)
{
    TcxEditorRow* row = AddRow("Serial");
    vgrid->OptionsBehavior()->SetIncSearchItem(row);
    EXPECT_EQ(vgrid->OptionsBehavior()->IncSearchItem(), row);
    EXPECT_EQ(static_cast<TcxvgOptionsBehavior*>(vgrid->OptionsBehavior())->TcxvgOptionsBehavior::IncSearchItem(),
              row->Properties()->EditContainer());
    vgrid->OptionsBehavior()->SetIncSearchItem(nullptr);
    EXPECT_EQ(vgrid->OptionsBehavior()->IncSearchItem(), nullptr);
}

} // namespace

// --- keys on records ------------------------------------------------------------------------------
namespace {

void GridKey(TWinControl* c, Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::keyClick(c->Peer(), key, m);
    vcl::DrainPostedMessages();
}

void GridType(TWinControl* c, const char* text)
{
    QTest::keyClicks(c->Peer(), text);
    vcl::DrainPostedMessages();
}

class VirtualVGridKeysTest : public VirtualVGridTest {
protected:
    void FocusGrid()
    {
        Activate(form);
        vgrid->SetFocus();
        vcl::DrainPostedMessages();
    }
    void SetText(TcxEditorRow* row, int record, const char* text)
    {
        vgrid->DataController()->SetValue(record, row->Properties()->EditContainer()->DataItemIndex(), Variant(text));
    }
    std::string Text(TcxEditorRow* row, int record)
    {
        return VarToStr(vgrid->DataController()->GetValue(record, row->Properties()->EditContainer()->DataItemIndex()));
    }
    TcxvgController* C() { return vgrid->GridController(); }
};

} // namespace

// Where records may change (always side by side, elsewhere with AllowChangeRecord), Left and
// Right move to the same value of the previous or next record and stop at the ends; where they
// may not, the keys change nothing.
TEST_F(VirtualVGridKeysTest, LeftRightChangeTheRecordWhereRecordsMayChange)
{
    AddRow("Name");
    TcxEditorRow* serial = AddRow("Serial");
    struct Case {
        TcxvgLayoutStyle style;
        bool allow;
        std::vector<int> afterRightRightRightLeft;
    };
    const Case cases[] = {
        {lsMultiRecordView, false, {1, 2, 2, 1}},
        {lsSingleRecordView, true, {1, 2, 2, 1}},
        {lsSingleRecordView, false, {0, 0, 0, 0}},
        {lsBandsView, false, {0, 0, 0, 0}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.style << " allow " << k.allow);
        vgrid->SetLayoutStyle(k.style);
        vgrid->OptionsBehavior()->SetAllowChangeRecord(k.allow);
        ShowGrid(3, 400);
        FocusGrid();
        vgrid->SetFocusedRecordIndex(0);
        C()->SetFocusedRowAndCell(serial, 0);
        std::vector<int> seen;
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}) {
            GridKey(vgrid, key);
            seen.push_back(Focused());
            EXPECT_EQ(vgrid->GetFocusedRow(), serial);
        }
        EXPECT_EQ(seen, k.afterRightRightRightLeft);
    }
    EXPECT_FALSE(vgrid->GetIsEditing());
}

// A value typed into one record is posted when Right takes the focus to the next record; a move
// to another row of the same record leaves the record open (the multi-record grid posts a record
// when it is left, not every value).
TEST_F(VirtualVGridKeysTest, ARecordIsPostedWhenItIsLeftNotOnEveryValue)
{
    TcxEditorRow* name = AddRow("Name");
    TcxEditorRow* serial = AddRow("Serial");
    vgrid->SetLayoutStyle(lsMultiRecordView);
    ShowGrid(3, 400);
    FocusGrid();
    vgrid->SetFocusedRecordIndex(0);
    C()->SetFocusedRowAndCell(name, 0);
    GridType(vgrid, "ab");
    ASSERT_TRUE(vgrid->GetIsEditing());
    GridKey(vgrid->GetInplaceEditor(), Qt::Key_Down);
    EXPECT_EQ(vgrid->GetFocusedRow(), serial);
    EXPECT_FALSE(vgrid->GetIsEditing());
    EXPECT_TRUE(vgrid->DataController()->GetEditState().Contains(dceEdit)) << "the record stays open";
    GridKey(vgrid, Qt::Key_Right);
    EXPECT_EQ(Focused(), 1);
    EXPECT_FALSE(vgrid->DataController()->GetEditState().Contains(dceEdit));
    EXPECT_EQ(Text(name, 0), "ab");
}

// A record appended and left untouched is dropped when the focus leaves the grid; one that got a
// value stays.
TEST_F(VirtualVGridKeysTest, AnUntouchedNewRecordIsDroppedOnExit)
{
    AddRow("Name");
    vgrid->SetLayoutStyle(lsMultiRecordView);
    ShowGrid(2, 400);
    auto* other = new TcxVerticalGrid(form);
    other->SetBounds(0, 250, 100, 50);
    other->SetParent(form);
    FocusGrid();
    vgrid->NavigatorDoAction(7);   // append
    ASSERT_EQ(vgrid->DataController()->GetRecordCount(), 3);
    ASSERT_TRUE(vgrid->DataController()->GetEditState().Contains(dceInsert));
    other->SetFocus();
    vcl::DrainPostedMessages();
    EXPECT_EQ(vgrid->DataController()->GetRecordCount(), 2);

    FocusGrid();
    vgrid->NavigatorDoAction(7);
    GridType(vgrid, "new");
    ASSERT_TRUE(vgrid->GetIsEditing());
    other->SetFocus();
    vcl::DrainPostedMessages();
    EXPECT_EQ(vgrid->DataController()->GetRecordCount(), 3);
}

// With incremental search on, typed letters find the first record whose searched value starts
// with them and focus that value (no editor opens); Ctrl+Right/Left find the next and previous
// match, Backspace shortens the text, a plain Left ends the search and moves as usual.
TEST_F(VirtualVGridKeysTest, TypedLettersSearchTheRecords)
{
    TcxEditorRow* other = AddRow("Other");
    TcxEditorRow* fruit = AddRow("Fruit");
    vgrid->SetLayoutStyle(lsMultiRecordView);
    ShowGrid(4, 400);
    const char* fruits[] = {"apple", "cherry", "banana", "cranberry"};
    for (int i = 0; i < 4; ++i)
        SetText(fruit, i, fruits[i]);
    vgrid->OptionsBehavior()->SetIncSearch(true);
    vgrid->OptionsBehavior()->SetIncSearchItem(fruit);
    FocusGrid();
    vgrid->SetFocusedRecordIndex(0);
    C()->SetFocusedRowAndCell(other, 0);
    GridType(vgrid, "c");
    EXPECT_FALSE(vgrid->GetIsEditing());
    EXPECT_EQ(Focused(), 1);
    EXPECT_EQ(vgrid->GetFocusedRow(), fruit);
    EXPECT_EQ(vgrid->Controller()->GetIncSearchingText(), "c");
    GridType(vgrid, "r");
    EXPECT_EQ(Focused(), 3);
    GridKey(vgrid, Qt::Key_Backspace);
    EXPECT_EQ(vgrid->Controller()->GetIncSearchingText(), "c");
    GridKey(vgrid, Qt::Key_Left, Qt::ControlModifier);   // the previous "c…"
    EXPECT_EQ(Focused(), 1);
    GridKey(vgrid, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Focused(), 3);
    EXPECT_TRUE(vgrid->Controller()->IsIncSearching());
    GridKey(vgrid, Qt::Key_Left);   // ends the search, then moves
    EXPECT_FALSE(vgrid->Controller()->IsIncSearching());
    EXPECT_EQ(Focused(), 2);
    // Without incremental search a letter opens the editor with it, as before.
    vgrid->OptionsBehavior()->SetIncSearch(false);
    GridType(vgrid, "x");
    EXPECT_TRUE(vgrid->GetIsEditing());
}

// Side by side, the first record column's right edge sizes the value width by mouse: every record
// column takes the new width, so the second record's value moves right by the distance dragged.
TEST_F(VirtualVGridKeysTest, TheFirstRecordColumnsEdgeSizesTheValueWidthByMouse)
{
    TcxEditorRow* name = AddRow("Name");
    vgrid->SetLayoutStyle(lsMultiRecordView);
    ShowGrid(3, 400);
    FocusGrid();
    auto valueOf = [&](int record) { return vgrid->ViewInfo()->GetRowViewInfo(name)->GetRowValueInfo(record, 0)->Bounds; };
    const TRect first = valueOf(0);
    const int secondLeft = valueOf(1).Left;
    const int before = vgrid->OptionsView()->ValueWidth();
    const int x = first.Right, y = first.Top + 3;
    vgrid->GridController()->HitTest()->ReCalculate(TPoint{x, y});
    ASSERT_TRUE(vgrid->GridController()->HitTest()->HitAtBandSizing());
    EXPECT_EQ(C()->GetCursor(x, y), crHSplit);
    QTest::mousePress(vgrid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
    vcl::DrainPostedMessages();
    ASSERT_EQ(C()->ResizeKind(), rkBandSizing);
    QTest::mouseMove(vgrid->Peer(), QPoint(x + 25, y));
    vcl::DrainPostedMessages();
    QTest::mouseRelease(vgrid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x + 25, y));
    vcl::DrainPostedMessages();
    EXPECT_EQ(vgrid->OptionsView()->ValueWidth(), before + 25);
    EXPECT_EQ(valueOf(0).Width(), first.Width() + 25);
    EXPECT_EQ(valueOf(1).Left, secondLeft + 25);
    // Band sizing switched off: the edge is only a value.
    vgrid->OptionsBehavior()->BandSizing = false;
    vgrid->GridController()->HitTest()->ReCalculate(TPoint{x + 25, y});
    EXPECT_FALSE(vgrid->GridController()->HitTest()->HitAtBandSizing());
}
