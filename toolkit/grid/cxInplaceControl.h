#pragma once
// The editing control of cxInplaceContainer: the window that holds the items, its options, its
// update lock and layout, and the controllers and view info it owns. Included by
// cxInplaceContainer.h; include that one.
#include "toolkit/grid/cxInplaceContainer.h"

namespace cx {

// ---- controllers and view info (the parts the items and the control reach) ----------------------

// Opens, places, fills and closes the one in-place editor of a control.
class TcxEditingController : public TObject {
    RTL_CLASS(TcxEditingController, TObject)
    explicit TcxEditingController(TcxCustomControlController* controller) : controller_(controller) {}
    TcxCustomControlController* Controller() const { return controller_; }
    TcxEditingControl* EditingControl() const;

    TcxCustomInplaceEditContainer* EditingItem() const { return editingItem_; }
    virtual void SetEditingItem(TcxCustomInplaceEditContainer* item);
    bool IsEditing() const { return editingItem_ != nullptr; }
    bool EditHiding() const { return hiding_; }
    bool ExitFailed() const { return exitFailed_; }
    // The properties the editing item edits the focused record with; null when not editing.
    TcxCustomEditProperties* GetEditingProperties();
    virtual void HideEdit(bool accept);
    virtual void RemoveEdit(TcxCustomEditProperties* properties);
    virtual void ShowEdit(TcxCustomInplaceEditContainer* item);
    void UpdateEditValue() {}
    void UpdateValue() {}
    void PostEditUpdate() { placementPending_ = true; }
    void CancelEditUpdatePost() { placementPending_ = false; }
    bool PlacementPending() const { return placementPending_; }

private:
    TcxCustomControlController* controller_;
    bool changingEditingItem_ = false;
    TcxCustomInplaceEditContainer* editingItem_ = nullptr;
    bool exitFailed_ = false;
    bool hiding_ = false;
    bool placementPending_ = false;
};
using TcxEditingControllerClass = TClassRef<TcxEditingController, TcxCustomControlController*>;

// Turns the control's input into focus moves and edits.
class TcxCustomControlController : public TObject {
    RTL_CLASS(TcxCustomControlController, TObject)
    explicit TcxCustomControlController(TcxEditingControl* owner);
    ~TcxCustomControlController() override;
    TcxEditingControl* EditingControl() const { return owner_; }
    TcxEditingController* EditingController();

    TcxCustomInplaceEditContainer* FocusedItem() const { return focusedItem_; }
    virtual void SetFocusedItem(TcxCustomInplaceEditContainer* item);
    TcxCustomInplaceEditContainer* IncSearchingItem() const { return incSearchingItem_; }
    bool IsIncSearching() const { return incSearchingItem_ != nullptr; }
    virtual void CancelIncSearching() { incSearchingItem_ = nullptr; }
    // The view info of the item's cell in the focused record; null while cells are not laid out.
    virtual TObject* GetFocusedCellViewInfo(TcxCustomInplaceEditContainer* item) { return nullptr; }
    virtual void BehaviorChanged() {}
    virtual void Clear() { focusedItem_ = nullptr; }
    virtual void FocusedRecordChanged(int prevFocusedRecordIndex, int focusedRecordIndex) {}
    virtual void RefreshFocusedRecord() {}
    virtual void Reset() {}
    virtual void UpdateRecord(int recordIndex) {}
    virtual void ViewInfoChanged();
    bool EscapePressed = false;

protected:
    // Lets a descendant start a search on an item (the incremental search comes with the keys).
    void SetIncSearchingItem(TcxCustomInplaceEditContainer* item) { incSearchingItem_ = item; }

private:
    TcxEditingController* editingController_ = nullptr;
    TcxCustomInplaceEditContainer* focusedItem_ = nullptr;
    TcxCustomInplaceEditContainer* incSearchingItem_ = nullptr;
    TcxEditingControl* owner_;
};
using TcxCustomControlControllerClass = TClassRef<TcxCustomControlController, TcxEditingControl*>;

// The control's computed layout.
class TcxCustomControlViewInfo : public TObject {
    RTL_CLASS(TcxCustomControlViewInfo, TObject)
    explicit TcxCustomControlViewInfo(TcxEditingControl* owner) : owner_(owner) {}
    TcxEditingControl* Control() const { return owner_; }
    virtual void Calculate();
    // How often the layout was calculated (a layout pass is costly; tests count them).
    int CalculateCount() const { return calculateCount_; }
    bool IsDirty = true;
    bool StylesDirty = true;

private:
    int calculateCount_ = 0;
    TcxEditingControl* owner_;
};
using TcxCustomControlViewInfoClass = TClassRef<TcxCustomControlViewInfo, TcxEditingControl*>;

// ---- options ------------------------------------------------------------------------------------

enum TcxEditingControlEditShowButtons { ecsbAlways, ecsbFocused, ecsbNever };

class TcxControlOptionsView : public TcxOwnedPersistent {
    RTL_CLASS(TcxControlOptionsView, TcxOwnedPersistent)
    explicit TcxControlOptionsView(TPersistent* owner) : TcxOwnedPersistent(owner) {}
    void Assign(TPersistent* source) override;
    virtual void Changed();
    TcxEditingControl* EditingControl() const;

    bool CellAutoHeight() const { return cellAutoHeight_; }
    void SetCellAutoHeight(bool value);
    bool CellEndEllipsis() const { return cellEndEllipsis_; }
    void SetCellEndEllipsis(bool value);
    int CellTextMaxLineCount() const { return cellTextMaxLineCount_; }
    void SetCellTextMaxLineCount(int value);
    TScrollStyle ScrollBars() const;
    void SetScrollBars(TScrollStyle value);
    TcxEditingControlEditShowButtons ShowEditButtons() const { return showEditButtons_; }
    void SetShowEditButtons(TcxEditingControlEditShowButtons value);

private:
    bool cellAutoHeight_ = false;
    bool cellEndEllipsis_ = false;
    int cellTextMaxLineCount_ = 0;
    TcxEditingControlEditShowButtons showEditButtons_ = ecsbNever;
};
using TcxControlOptionsViewClass = TClassRef<TcxControlOptionsView, TPersistent*>;

class TcxControlOptionsData : public TcxOwnedPersistent {
    RTL_CLASS(TcxControlOptionsData, TcxOwnedPersistent)
    explicit TcxControlOptionsData(TPersistent* owner) : TcxOwnedPersistent(owner) {}
    void Assign(TPersistent* source) override;
    virtual void Changed() {}
    TcxEditingControl* EditingControl() const;

    bool CancelOnExit = true;
    bool Editing() const { return editing_; }
    void SetEditing(bool value);

private:
    bool editing_ = true;
};
using TcxControlOptionsDataClass = TClassRef<TcxControlOptionsData, TPersistent*>;

class TcxControlOptionsBehavior : public TcxOwnedPersistent {
    RTL_CLASS(TcxControlOptionsBehavior, TcxOwnedPersistent)
    explicit TcxControlOptionsBehavior(TPersistent* owner) : TcxOwnedPersistent(owner) {}
    void Assign(TPersistent* source) override;
    virtual void Changed();
    TcxEditingControl* EditingControl() const;

    bool AlwaysShowEditor() const { return alwaysShowEditor_; }
    void SetAlwaysShowEditor(bool value);
    bool CellHints() const { return cellHints_; }
    void SetCellHints(bool value);
    bool FocusCellOnCycle() const { return focusCellOnCycle_; }
    void SetFocusCellOnCycle(bool value);
    bool FocusFirstCellOnNewRecord() const { return focusFirstCellOnNewRecord_; }
    void SetFocusFirstCellOnNewRecord(bool value);
    bool GoToNextCellOnEnter() const { return goToNextCellOnEnter_; }
    void SetGoToNextCellOnEnter(bool value);
    bool GoToNextCellOnTab() const { return goToNextCellOnTab_; }
    void SetGoToNextCellOnTab(bool value);
    bool ImmediateEditor() const { return immediateEditor_; }
    void SetImmediateEditor(bool value);
    bool IncSearch() const { return incSearch_; }
    void SetIncSearch(bool value);
    TcxCustomInplaceEditContainer* IncSearchItem() const { return incSearchItem_; }
    void SetIncSearchItem(TcxCustomInplaceEditContainer* value);
    bool DragDropImages() const { return dragDropImages_; }
    void SetDragDropImages(bool value);

private:
    bool alwaysShowEditor_ = false;
    bool cellHints_ = false;
    bool dragDropImages_ = false;
    bool focusCellOnCycle_ = false;
    bool focusFirstCellOnNewRecord_ = false;
    bool goToNextCellOnEnter_ = false;
    bool goToNextCellOnTab_ = false;
    bool immediateEditor_ = true;
    bool incSearch_ = false;
    TcxCustomInplaceEditContainer* incSearchItem_ = nullptr;
};
using TcxControlOptionsBehaviorClass = TClassRef<TcxControlOptionsBehavior, TPersistent*>;

// {6A041541-53E2-413B-8377-0D249356B5DF}
class IcxEditingControlOptions {
public:
    virtual ~IcxEditingControlOptions() = default;
    virtual TcxControlOptionsBehavior* GetOptionsBehavior() = 0;
    virtual TcxControlOptionsData* GetOptionsData() = 0;
    virtual TcxControlOptionsView* GetOptionsView() = 0;
};

// The control's own styles (the descendants add theirs).
class TcxCustomControlStyles : public TcxStyles {
    RTL_CLASS(TcxCustomControlStyles, TcxStyles)
    explicit TcxCustomControlStyles(TPersistent* owner) : TcxStyles(owner) {}

protected:
    void Changed(int index) override;
};
using TcxCustomControlStylesClass = TClassRef<TcxCustomControlStyles, TPersistent*>;

using TcxEditingItemEvent = Event<void(TObject* sender, TcxCustomInplaceEditContainer* item)>;
using TcxEditingItemAllowEvent = Event<void(TObject* sender, TcxCustomInplaceEditContainer* item, bool& allow)>;
using TcxInitEditEvent = Event<void(TObject* sender, TcxCustomInplaceEditContainer* item, TWinControl* edit)>;

// ---- the control --------------------------------------------------------------------------------

// The window that shows items with one in-place editor. Its pieces (controller, data controller,
// view info, styles, edit style) are made on first use of the classes the class operations name,
// since a constructor does not dispatch to a descendant's overrides.
class TcxEditingControl : public TcxControl {
    RTL_CLASS(TcxEditingControl, TcxControl)
    explicit TcxEditingControl(TComponent* owner);
    ~TcxEditingControl() override;
    void BeforeDestruction() override;

    // --- pieces
    TcxCustomControlController* Controller();
    TcxControlDataController* DataController();
    TcxCustomControlViewInfo* ViewInfo();
    TcxCustomControlStyles* Styles();
    void SetStyles(TcxCustomControlStyles* value) { Styles()->Assign(value); }
    TcxEditStyle* EditStyle();
    void SetEditStyle(TcxEditStyle* value) { EditStyle()->Assign(value); }
    TcxEditingController* EditingController() { return Controller()->EditingController(); }
    virtual TcxCustomControlControllerClass GetControllerClass() const;
    virtual TcxCustomControlStylesClass GetControlStylesClass() const;
    virtual TcxControlDataControllerClass GetDataControllerClass() const;
    virtual TcxEditingControllerClass GetEditingControllerClass() const;
    virtual TcxCustomControlViewInfoClass GetViewInfoClass() const;
    virtual IcxEditingControlOptions* GetOptions() { cxAbstractError(); }
    virtual void RecreateViewInfo();

    // --- items
    int ItemCount() const { return static_cast<int>(itemList_.size()); }
    TcxCustomInplaceEditContainer* Items(int index) const { return itemList_.at(static_cast<std::size_t>(index)); }
    virtual void DoInplaceEditContainerItemAdded(TcxCustomInplaceEditContainer* item);
    virtual void DoInplaceEditContainerItemRemoved(TcxCustomInplaceEditContainer* item);
    void UpdateIndexes();

    // --- data notices
    virtual void ControlUpdateData(TcxUpdateControlInfo* info);
    virtual void DataChanged();
    virtual void DataLayoutChanged();
    virtual void SelectionChanged(TcxSelectionChangedInfo* info) {}
    virtual void UpdateData();

    // --- updating and layout
    void BeginUpdate() { DoBeginUpdate(); }
    void EndUpdate() { DoEndUpdate(); }
    void CancelUpdate();
    virtual bool IsLocked() const;
    int UpdateLockCount() const { return updateLockCount_; }
    void LayoutChanged();
    void UpdateViewStyles();
    virtual void BeforeUpdate() {}
    virtual void AfterLayoutChanged() {}
    bool RepaintAll = false;

    // --- editing events
    virtual bool DoEditing(TcxCustomInplaceEditContainer* item);
    virtual void DoEdited(TcxCustomInplaceEditContainer* item) { CallEvent(OnItemEdited, this, item); }
    virtual void DoEditChanged(TcxCustomInplaceEditContainer* item) { CallEvent(OnEditChanged, this, item); }
    virtual void DoEditValueChanged(TcxCustomInplaceEditContainer* item)
    {
        CallEvent(OnItemEditValueChanged, this, item);
    }
    virtual void DoInitEdit(TcxCustomInplaceEditContainer* item, TWinControl* edit)
    {
        CallEvent(OnInitEdit, this, item, edit);
    }
    TcxInitEditEvent OnInitEdit;
    TcxEditingItemEvent OnEditChanged;
    TcxEditingItemEvent OnItemEdited;
    TcxEditingItemAllowEvent OnItemEditing;
    TcxEditingItemEvent OnItemEditValueChanged;

    void Loaded() override;
    void InitControl() override;
    void BoundsChanged() override;
    void FontChanged() override;

protected:
    virtual void DoBeginUpdate();
    virtual void DoEndUpdate();
    virtual void DoLayoutChanged();
    void CreateWnd() override;

private:
    TcxCustomControlController* controller_ = nullptr;
    TcxControlDataController* dataController_ = nullptr;
    bool destroyingSubClasses_ = false;
    TcxEditStyle* editStyle_ = nullptr;
    std::vector<TcxCustomInplaceEditContainer*> itemList_;
    int layoutChangeDepth_ = 0;
    TcxCustomControlStyles* styles_ = nullptr;
    int updateLockCount_ = 0;
    TcxCustomControlViewInfo* viewInfo_ = nullptr;
};

// An editing control with its own three option objects.
class TcxExtEditingControl : public TcxEditingControl, public IcxEditingControlOptions {
    RTL_CLASS(TcxExtEditingControl, TcxEditingControl)
    explicit TcxExtEditingControl(TComponent* owner);
    ~TcxExtEditingControl() override;
    IcxEditingControlOptions* GetOptions() override { return this; }
    TcxControlOptionsBehavior* GetOptionsBehavior() override;
    TcxControlOptionsData* GetOptionsData() override;
    TcxControlOptionsView* GetOptionsView() override;
    TcxControlOptionsBehavior* OptionsBehavior() { return GetOptionsBehavior(); }
    TcxControlOptionsData* OptionsData() { return GetOptionsData(); }
    TcxControlOptionsView* OptionsView() { return GetOptionsView(); }
    void SetOptionsBehavior(TcxControlOptionsBehavior* value) { GetOptionsBehavior()->Assign(value); }
    void SetOptionsData(TcxControlOptionsData* value) { GetOptionsData()->Assign(value); }
    void SetOptionsView(TcxControlOptionsView* value) { GetOptionsView()->Assign(value); }
    virtual TcxControlOptionsBehaviorClass GetOptionsBehaviorClass() const;
    virtual TcxControlOptionsDataClass GetOptionsDataClass() const;
    virtual TcxControlOptionsViewClass GetOptionsViewClass() const;

private:
    TcxControlOptionsBehavior* optionsBehavior_ = nullptr;
    TcxControlOptionsData* optionsData_ = nullptr;
    TcxControlOptionsView* optionsView_ = nullptr;
};

namespace cxInplaceContainerUnit {
void Initialize();   // once: the value-type registry with the seven value types
void Finalize();     // once: frees the registry
} // namespace cxInplaceContainerUnit

} // namespace cx
