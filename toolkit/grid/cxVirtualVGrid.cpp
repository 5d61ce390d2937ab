// TcxVirtualVerticalGrid: layout styles, multi-record options, the filter items and the navigator.
#include "toolkit/grid/cxVirtualVGrid.h"

#include "toolkit/grid/cxVGridController.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace cx {

namespace {

TcxVirtualVerticalGrid* VirtualGridOf(TcxEditingControl* control)
{
    return dynamic_cast<TcxVirtualVerticalGrid*>(control);
}

// Holds a grid's update lock for a scope (none for a null grid).
class GridUpdate {
public:
    explicit GridUpdate(TcxCustomVerticalGrid* grid) : grid_(grid)
    {
        if (grid_)
            grid_->BeginUpdate();
    }
    // A layout pass that fails at the end of the lock reaches the caller.
    ~GridUpdate() noexcept(false)
    {
        if (grid_)
            grid_->EndUpdate();
    }
    GridUpdate(const GridUpdate&) = delete;
    GridUpdate& operator=(const GridUpdate&) = delete;

private:
    TcxCustomVerticalGrid* grid_;
};

// The multi-record controller reading its record permissions from the grid's data options.
class TcxVirtualGridController : public TcxvgMultiRecordsController {
    RTL_CLASS(TcxVirtualGridController, TcxvgMultiRecordsController)
    explicit TcxVirtualGridController(TcxVirtualVerticalGrid* grid) : TcxvgMultiRecordsController(grid), grid_(grid) {}
    bool CanAppend(bool checkOptions) override
    {
        Appending = grid_->OptionsData()->Appending();
        return TcxvgMultiRecordsController::CanAppend(checkOptions);
    }
    bool CanDelete(bool checkOptions) override
    {
        Deleting = grid_->OptionsData()->Deleting();
        return TcxvgMultiRecordsController::CanDelete(checkOptions);
    }
    bool CanInsert(bool checkOptions) override
    {
        Inserting = grid_->OptionsData()->Inserting();
        return TcxvgMultiRecordsController::CanInsert(checkOptions);
    }
    void DeleteSelection() override
    {
        DeletingConfirmation = grid_->OptionsData()->DeletingConfirmation;
        TcxvgMultiRecordsController::DeleteSelection();
    }
    bool CanChangeRecord() override
    {
        AllowChangeRecord = grid_->OptionsBehavior()->AllowChangeRecord();
        MultiRecordView = grid_->LayoutStyle() == lsMultiRecordView;
        return TcxvgMultiRecordsController::CanChangeRecord();
    }

private:
    TcxVirtualVerticalGrid* grid_;
};

} // namespace

TcxVGridFilterDialogHook& cxVGridFilterDialogHook()
{
    static TcxVGridFilterDialogHook hook;
    return hook;
}

// --- options ----------------------------------------------------------------------------------
void TcxvgMultiRecordsOptionsView::SetRecordsInterval(int value)
{
    value = std::max(value, 0);
    if (recordsInterval_ == value)
        return;
    recordsInterval_ = value;
    Changed();
}

void TcxvgMultiRecordsOptionsView::RestoreDefaults()
{
    recordsInterval_ = 0;
    TcxvgOptionsView::RestoreDefaults();
}

void TcxvgMultiRecordsOptionsView::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxvgMultiRecordsOptionsView*>(source);
    GridUpdate lock(src ? Grid() : nullptr);
    if (src)
        SetRecordsInterval(src->RecordsInterval());
    TcxvgOptionsView::Assign(source);
}

void TcxvgMultiRecordsOptionsBehavior::SetAllowChangeRecord(bool value)
{
    if (allowChangeRecord_ == value)
        return;
    allowChangeRecord_ = value;
    if (TcxCustomVerticalGrid* grid = Grid())
        grid->LayoutChanged();
}

TcxCustomEditorRow* TcxvgMultiRecordsOptionsBehavior::IncSearchItem() const
{
    auto* container = dynamic_cast<TcxCellEdit*>(TcxvgOptionsBehavior::IncSearchItem());
    return container ? dynamic_cast<TcxCustomEditorRow*>(container->Row()) : nullptr;
}

void TcxvgMultiRecordsOptionsBehavior::SetIncSearchItem(TcxCustomEditorRow* row)
{
    TcxvgOptionsBehavior::SetIncSearchItem(row ? row->Properties()->EditContainer() : nullptr);
}

void TcxvgMultiRecordsOptionsBehavior::Assign(TPersistent* source)
{
    TcxvgOptionsBehavior::Assign(source);
    if (auto* src = dynamic_cast<TcxvgMultiRecordsOptionsBehavior*>(source))
        SetAllowChangeRecord(src->AllowChangeRecord());
}

void TcxvgMultiRecordsOptionsData::Assign(TPersistent* source)
{
    TcxControlOptionsData::Assign(source);
    if (auto* src = dynamic_cast<TcxvgMultiRecordsOptionsData*>(source)) {
        SetAppending(src->Appending());
        SetDeleting(src->Deleting());
        SetInserting(src->Inserting());
        DeletingConfirmation = src->DeletingConfirmation;
    }
}

void TcxvgMultiRecordsOptionsData::Changed()
{
    TcxControlOptionsData::Changed();
    if (TcxVirtualVerticalGrid* grid = VirtualGridOf(EditingControl()))
        grid->RefreshNavigators();
}

// --- the grid ---------------------------------------------------------------------------------
TcxVirtualVerticalGrid::TcxVirtualVerticalGrid(TComponent* owner)
    : TcxCustomVerticalGrid(owner), notifier_(new TcxNavigatorControlNotifier())
{
    CreateLayout();
}

TcxVirtualVerticalGrid::~TcxVirtualVerticalGrid() = default;

void TcxVirtualVerticalGrid::BeforeDestruction()
{
    destroying_ = true;
    TcxCustomVerticalGrid::BeforeDestruction();
}

void TcxVirtualVerticalGrid::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxVirtualVerticalGrid*>(source);
    if (!src) {
        TcxCustomVerticalGrid::Assign(source);
        return;
    }
    // Grid to grid: the layout style and the three option objects; the lock goes on every path.
    GridUpdate lock(this);
    SetLayoutStyle(src->LayoutStyle());
    OptionsView()->Assign(src->OptionsView());
    OptionsBehavior()->Assign(src->OptionsBehavior());
    OptionsData()->Assign(src->OptionsData());
}

void TcxVirtualVerticalGrid::SetLayoutStyle(TcxvgLayoutStyle value)
{
    if (layoutStyle_ == value)
        return;
    layoutStyle_ = value;
    RecreateViewInfo();
    if (TcxvgCustomViewInfo* viewInfo = ViewInfo())
        viewInfo->LayoutStyleChanged();
    if (auto* data = dynamic_cast<IcxVerticalGridDBDataContoller*>(DataController()))
        data->CheckGridModeBufferCount();
}

TcxControlOptionsBehaviorClass TcxVirtualVerticalGrid::GetOptionsBehaviorClass() const
{
    return TcxControlOptionsBehaviorClass::Of<TcxvgMultiRecordsOptionsBehavior>();
}

TcxControlOptionsDataClass TcxVirtualVerticalGrid::GetOptionsDataClass() const
{
    return TcxControlOptionsDataClass::Of<TcxvgMultiRecordsOptionsData>();
}

TcxControlOptionsViewClass TcxVirtualVerticalGrid::GetOptionsViewClass() const
{
    return TcxControlOptionsViewClass::Of<TcxvgMultiRecordsOptionsView>();
}

TcxvgCustomScrollStrategyClass TcxVirtualVerticalGrid::GetScrollStrategyClass() const
{
    switch (layoutStyle_) {
    case lsBandsView: return TcxvgCustomScrollStrategyClass::Of<TcxvgBandsScrollStrategy>();
    case lsMultiRecordView: return TcxvgCustomScrollStrategyClass::Of<TcxvgMultiRecordsScrollStrategy>();
    default: return TcxvgCustomScrollStrategyClass::Of<TcxvgSingleRecordScrollStrategy>();
    }
}

TcxCustomControlViewInfoClass TcxVirtualVerticalGrid::GetViewInfoClass() const
{
    switch (layoutStyle_) {
    case lsBandsView: return TcxCustomControlViewInfoClass::Of<TcxBandsViewInfo>();
    case lsMultiRecordView: return TcxCustomControlViewInfoClass::Of<TcxMultiRecordViewInfo>();
    default: return TcxCustomControlViewInfoClass::Of<TcxInspectorViewInfo>();
    }
}

TcxvgController* TcxVirtualVerticalGrid::CreateGridController() { return new TcxVirtualGridController(this); }

TcxCustomControlControllerClass TcxVirtualVerticalGrid::GetControllerClass() const
{
    return TcxCustomControlControllerClass::Of<TcxvgMultiRecordsEditingKeysController>();
}

int TcxVirtualVerticalGrid::GetRecordsInterval() const
{
    return const_cast<TcxVirtualVerticalGrid*>(this)->OptionsView()->RecordsInterval();
}

bool TcxVirtualVerticalGrid::CanBandSizing()
{
    return OptionsBehavior()->BandSizing &&
           (layoutStyle_ == lsMultiRecordView || (layoutStyle_ == lsBandsView && !OptionsView()->AutoScaleBands()));
}

bool TcxVirtualVerticalGrid::GetCellAutoHeight()
{
    return layoutStyle_ != lsMultiRecordView && OptionsView()->CellAutoHeight();
}

void TcxVirtualVerticalGrid::ApplyFilter()
{
    DataController()->Filter()->SetActive(true);
}

bool TcxVirtualVerticalGrid::DoFilterDialog()
{
    const TcxVGridFilterDialogHook& hook = cxVGridFilterDialogHook();
    return hook && hook(this, OnFilterControlDialogShow, [this] { ApplyFilter(); });
}

void TcxVirtualVerticalGrid::DoFocusedRecordChanged(int prevFocusedRecord, int focusedRecord)
{
    if (OnFocusedRecordChanged)
        OnFocusedRecordChanged(this, prevFocusedRecord, focusedRecord);
}

void TcxVirtualVerticalGrid::RefreshNavigators()
{
    if (!destroying_ && notifier_)
        notifier_->RefreshNavigatorButtons();
}

void TcxVirtualVerticalGrid::ControlUpdateData(TcxUpdateControlInfo* info)
{
    if (destroying_)
        return;
    TcxCustomVerticalGrid::ControlUpdateData(info);
    if (dynamic_cast<TcxSearchChangedInfo*>(info)) {
        // The found record's searched value takes the focus; its cell draws the search text.
        if (auto* controller = dynamic_cast<TcxvgMultiRecordsController*>(GridController()))
            controller->RefreshIncSearchItem();
        // The search mark is part of the cell's layout (a shorter text after Backspace).
        if (ViewInfo())
            ViewInfo()->UpdateRecord(GetFocusedRecordIndex());
        Invalidate();
    }
    else if (auto* focused = dynamic_cast<TcxFocusedRecordChangedInfo*>(info))
        DoFocusedRecordChanged(focused->PrevFocusedRecordIndex, focused->FocusedRecordIndex);
    RefreshNavigators();
}

void TcxVirtualVerticalGrid::DataLayoutChanged()
{
    if (DataController()->IsGridMode())
        LayoutChanged();
    else
        TcxCustomVerticalGrid::DataLayoutChanged();
}

// --- filter items -----------------------------------------------------------------------------
std::vector<TcxCellEdit*> TcxVirtualVerticalGrid::FilterItems()
{
    std::vector<TcxCellEdit*> items;
    for (int i = 0; i < Rows()->GetCount(); ++i) {
        TcxCustomRow* row = Rows()->GetRow(i);
        for (int j = 0; j < row->GetEditContainerCount(); ++j) {
            TcxCellEdit* container = row->GetEditContainer(j);
            if (!container || !container->Options()->Filtering())
                continue;
            TcxCustomEditProperties* properties = container->GetPropertiesValue();
            if (properties && properties->GetSupportedOperations().Contains(esoFiltering))
                items.push_back(container);
        }
    }
    return items;
}

TcxCellEdit* TcxVirtualVerticalGrid::FilterItem(int index)
{
    const std::vector<TcxCellEdit*> items = FilterItems();
    return index >= 0 && index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)] : nullptr;
}

int TcxVirtualVerticalGrid::GetFilterCount() { return static_cast<int>(FilterItems().size()); }

std::string TcxVirtualVerticalGrid::GetFilterCaption(int index)
{
    TcxCellEdit* item = FilterItem(index);
    return item && item->EditRowProperties() ? item->EditRowProperties()->GetCaption() : std::string();
}

TcxFilterCriteria* TcxVirtualVerticalGrid::GetFilterCriteria() { return DataController()->Filter(); }

TObject* TcxVirtualVerticalGrid::GetFilterItemLink(int index) { return FilterItem(index); }

int TcxVirtualVerticalGrid::GetFilterItemLinkID(int index)
{
    TcxCellEdit* item = FilterItem(index);
    return item ? item->DataItemIndex() : -1;
}

// Named by the item's field index, which is unique in the grid: editor rows have no collection
// number of their own, and one shared name would send every stored condition to the same row.
std::string TcxVirtualVerticalGrid::GetItemLinkName(int index)
{
    TcxCellEdit* item = FilterItem(index);
    return item ? "Item" + std::to_string(item->DataItemIndex()) : std::string();
}

TcxCustomEditProperties* TcxVirtualVerticalGrid::GetFilterProperties(int index)
{
    TcxCellEdit* item = FilterItem(index);
    return item ? item->GetPropertiesValue() : nullptr;
}

TcxValueTypeClass TcxVirtualVerticalGrid::GetFilterValueType(int index)
{
    TcxCellEdit* item = FilterItem(index);
    return item ? item->GetEditDataValueTypeClass() : nullptr;
}

// --- navigator --------------------------------------------------------------------------------
bool TcxVirtualVerticalGrid::NavigatorCanAppend() { return GridController()->CanAppend(true); }
bool TcxVirtualVerticalGrid::NavigatorCanDelete() { return GridController()->CanDelete(true); }
bool TcxVirtualVerticalGrid::NavigatorCanInsert() { return GridController()->CanInsert(true); }
bool TcxVirtualVerticalGrid::NavigatorCanEdit() { return OptionsData()->Editing(); }
bool TcxVirtualVerticalGrid::NavigatorIsActive() { return DataController()->Active(); }
bool TcxVirtualVerticalGrid::NavigatorIsBof() { return DataController()->IsBOF(); }
bool TcxVirtualVerticalGrid::NavigatorIsEof() { return DataController()->IsEOF(); }
bool TcxVirtualVerticalGrid::NavigatorIsBookmarkAvailable() { return DataController()->IsBookmarkAvailable(); }
bool TcxVirtualVerticalGrid::NavigatorIsEditing() { return DataController()->IsEditing(); }
void TcxVirtualVerticalGrid::NavigatorClearBookmark() { DataController()->ClearBookmark(); }

void TcxVirtualVerticalGrid::NavigatorDoAction(int buttonIndex)
{
    TcxControlDataController* data = DataController();
    const int page = layoutStyle_ == lsMultiRecordView ? std::max(1, Scroller()->GetVisibleValueCount()) : 1;
    switch (buttonIndex) {
    case 0: data->GotoFirst(); break;
    case 1: data->MoveBy(-page); break;
    case 2: data->GotoPrev(); break;
    case 3: data->GotoNext(); break;
    case 4: data->MoveBy(std::max(1, std::min(page, data->GetRowCount() - 1 - data->GetFocusedRowIndex()))); break;
    case 5: data->GotoLast(); break;
    case 6: GridController()->InsertRecord(); break;
    case 7: GridController()->AppendRecord(); break;
    case 8: GridController()->DeleteSelection(); break;
    case 9: ShowEdit(); break;
    case 10:
        data->PostEditingData();
        data->Post(false);
        break;
    case 11: data->Cancel(); break;
    case 12: data->Refresh(); break;
    case 13: data->SaveBookmark(); break;
    case 14: data->GotoBookmark(); break;
    case 15: DoFilterDialog(); break;
    default: break;
    }
}

} // namespace cx
