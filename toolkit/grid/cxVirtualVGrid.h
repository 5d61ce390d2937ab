#pragma once
// cxVirtualVGrid: the vertical grid over many records. Its data controller is filled from outside
// (the grid makes no record of its own); records stand side by side in the multi-record layout.
// It drives data navigators (IcxNavigator) and serves the filter builder (IcxFilterControl).
#include <functional>
#include <vector>

#include "toolkit/editors/cxNavigator.h"
#include "toolkit/grid/cxFilterControlLink.h"
#include "toolkit/grid/cxVGrid.h"

namespace cx {

class TcxVirtualVerticalGrid;

enum TcxvgLayoutStyle { lsBandsView, lsSingleRecordView, lsMultiRecordView };

class TcxvgMultiRecordsOptionsView : public TcxvgOptionsView {
    RTL_CLASS(TcxvgMultiRecordsOptionsView, TcxvgOptionsView)
    using TcxvgOptionsView::TcxvgOptionsView;
    void Assign(TPersistent* source) override;
    void RestoreDefaults() override;
    // The gap between record columns; negative values count as 0.
    int RecordsInterval() const { return recordsInterval_; }
    void SetRecordsInterval(int value);

private:
    int recordsInterval_ = 0;
};

class TcxvgMultiRecordsOptionsBehavior : public TcxvgOptionsBehavior {
    RTL_CLASS(TcxvgMultiRecordsOptionsBehavior, TcxvgOptionsBehavior)
    using TcxvgOptionsBehavior::TcxvgOptionsBehavior;
    void Assign(TPersistent* source) override;
    bool AllowChangeRecord() const { return allowChangeRecord_; }
    void SetAllowChangeRecord(bool value);
    // The incremental-search item as the editor row whose value it is.
    TcxCustomEditorRow* IncSearchItem() const;
    void SetIncSearchItem(TcxCustomEditorRow* row);

private:
    bool allowChangeRecord_ = true;
};

class TcxvgMultiRecordsOptionsData : public TcxControlOptionsData {
    RTL_CLASS(TcxvgMultiRecordsOptionsData, TcxControlOptionsData)
    using TcxControlOptionsData::TcxControlOptionsData;
    void Assign(TPersistent* source) override;
    // Refreshes the navigators of the grid.
    void Changed() override;
    bool Appending() const { return appending_; }
    void SetAppending(bool value) { Set(appending_, value); }
    bool Deleting() const { return deleting_; }
    void SetDeleting(bool value) { Set(deleting_, value); }
    bool Inserting() const { return inserting_; }
    void SetInserting(bool value) { Set(inserting_, value); }
    // Read by the controller before a delete.
    bool DeletingConfirmation = true;

private:
    void Set(bool& field, bool value)
    {
        if (field != value) {
            field = value;
            Changed();
        }
    }
    bool appending_ = true;
    bool deleting_ = true;
    bool inserting_ = true;
};

using TcxVerticalGridFocusedRecordChangedEvent =
    Event<void(TcxVirtualVerticalGrid* sender, int prevFocusedRecord, int focusedRecord)>;

// Opens the filter builder dialog for a grid: the show handler, the apply action; true when the
// dialog closed with OK. The builder registers its dialog here; without one nothing opens.
using TcxVGridFilterDialogHook =
    std::function<bool(TcxVirtualVerticalGrid* grid, const TNotifyEvent& onShow, const std::function<void()>& apply)>;
TcxVGridFilterDialogHook& cxVGridFilterDialogHook();

class TcxVirtualVerticalGrid : public TcxCustomVerticalGrid, public IcxFilterControl, public IcxNavigator {
    RTL_CLASS(TcxVirtualVerticalGrid, TcxCustomVerticalGrid)
    explicit TcxVirtualVerticalGrid(TComponent* owner);
    ~TcxVirtualVerticalGrid() override;
    void BeforeDestruction() override;
    void Assign(TPersistent* source) override;

    TcxvgLayoutStyle LayoutStyle() const { return layoutStyle_; }
    void SetLayoutStyle(TcxvgLayoutStyle value);
    TcxvgMultiRecordsOptionsView* OptionsView() { return static_cast<TcxvgMultiRecordsOptionsView*>(GetOptionsView()); }
    TcxvgMultiRecordsOptionsBehavior* OptionsBehavior()
    {
        return static_cast<TcxvgMultiRecordsOptionsBehavior*>(GetOptionsBehavior());
    }
    TcxvgMultiRecordsOptionsData* OptionsData() { return static_cast<TcxvgMultiRecordsOptionsData*>(GetOptionsData()); }

    int GetFocusedRecordIndex() { return DataController()->GetFocusedRowIndex(); }
    void SetFocusedRecordIndex(int index) { DataController()->SetFocusedRowIndex(index); }
    bool CanBandSizing() override;
    TcxCustomControlControllerClass GetControllerClass() const override;
    bool GetCellAutoHeight();
    void ApplyFilter();
    virtual bool DoFilterDialog();
    virtual void DoFocusedRecordChanged(int prevFocusedRecord, int focusedRecord);
    void RefreshNavigators();
    void SetOnFilterRecord(const TcxDataFilterRecordEvent& handler) { DataController()->SetOnFilterRecord(handler); }

    TNotifyEvent OnFilterControlDialogShow;
    TcxVerticalGridFocusedRecordChangedEvent OnFocusedRecordChanged;
    TNotifyEvent OnLeftVisibleRecordIndexChanged;

    // Class choices.
    TcxControlOptionsBehaviorClass GetOptionsBehaviorClass() const override;
    TcxControlOptionsDataClass GetOptionsDataClass() const override;
    TcxControlOptionsViewClass GetOptionsViewClass() const override;
    TcxvgCustomScrollStrategyClass GetScrollStrategyClass() const override;
    TcxCustomControlViewInfoClass GetViewInfoClass() const override;
    TcxvgController* CreateGridController() override;
    int GetRecordsInterval() const override;

    // Data notices.
    void ControlUpdateData(TcxUpdateControlInfo* info) override;
    void DataLayoutChanged() override;
    void DoLeftVisibleRecordIndexChanged() override { vcl::FireEvent(OnLeftVisibleRecordIndexChanged, this); }

    // IcxFilterControl: the value containers of all rows (flat-list order, then container order)
    // that filter and whose editor supports filtering.
    std::string GetFilterCaption(int index) override;
    int GetFilterCount() override;
    TcxFilterCriteria* GetFilterCriteria() override;
    TObject* GetFilterItemLink(int index) override;
    int GetFilterItemLinkID(int index) override;
    std::string GetItemLinkName(int index) override;
    std::string GetFilterFieldName(int) override { return {}; }
    TcxCustomEditProperties* GetFilterProperties(int index) override;
    TcxValueTypeClass GetFilterValueType(int index) override;

    // IcxNavigator.
    bool NavigatorCanAppend() override;
    bool NavigatorCanDelete() override;
    bool NavigatorCanEdit() override;
    bool NavigatorCanInsert() override;
    bool NavigatorIsActive() override;
    bool NavigatorIsBof() override;
    bool NavigatorIsBookmarkAvailable() override;
    bool NavigatorIsEditing() override;
    bool NavigatorIsEof() override;
    void NavigatorClearBookmark() override;
    void NavigatorDoAction(int buttonIndex) override;
    TcxNavigatorControlNotifier* NavigatorGetNotifier() override { return notifier_.get(); }
    bool NavigatorIsActionSupported(int buttonIndex) override { return buttonIndex >= 0 && buttonIndex <= 15; }

protected:
    void InitDataController() override {}

private:
    std::vector<TcxCellEdit*> FilterItems();
    TcxCellEdit* FilterItem(int index);
    TcxvgLayoutStyle layoutStyle_ = lsSingleRecordView;
    UniqueObject<TcxNavigatorControlNotifier> notifier_;
    bool destroying_ = false;
};

} // namespace cx
