#include "toolkit/grid/cxInplaceContainer.h"
#include "toolkit/grid/cxInplaceDragDrop.h"

namespace cx {

// ---- options ------------------------------------------------------------------------------------

namespace {
template <class T>
bool Store(T& field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

TcxEditingControl* ControlOf(const TcxOwnedPersistent* p)
{
    return dynamic_cast<TcxEditingControl*>(const_cast<TcxOwnedPersistent*>(p)->GetOwner());
}
} // namespace

TcxEditingControl* TcxControlOptionsView::EditingControl() const { return ControlOf(this); }

void TcxControlOptionsView::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TcxControlOptionsView*>(source)) {
        SetCellAutoHeight(s->CellAutoHeight());
        SetCellEndEllipsis(s->CellEndEllipsis());
        SetCellTextMaxLineCount(s->CellTextMaxLineCount());
        SetScrollBars(s->ScrollBars());
        SetShowEditButtons(s->ShowEditButtons());
    } else
        TcxOwnedPersistent::Assign(source);
}

void TcxControlOptionsView::Changed()
{
    if (TcxEditingControl* control = EditingControl())
        control->LayoutChanged();
}

void TcxControlOptionsView::SetCellAutoHeight(bool value)
{
    if (Store(cellAutoHeight_, value))
        Changed();
}

void TcxControlOptionsView::SetCellEndEllipsis(bool value)
{
    if (Store(cellEndEllipsis_, value))
        Changed();
}

void TcxControlOptionsView::SetCellTextMaxLineCount(int value)
{
    if (Store(cellTextMaxLineCount_, value))
        Changed();
}

TScrollStyle TcxControlOptionsView::ScrollBars() const
{
    TcxEditingControl* control = EditingControl();
    return control ? control->ScrollBars() : ssBoth;
}

void TcxControlOptionsView::SetScrollBars(TScrollStyle value)
{
    if (TcxEditingControl* control = EditingControl())
        control->SetScrollBars(value);
}

void TcxControlOptionsView::SetShowEditButtons(TcxEditingControlEditShowButtons value)
{
    if (Store(showEditButtons_, value))
        Changed();
}

TcxEditingControl* TcxControlOptionsData::EditingControl() const { return ControlOf(this); }

void TcxControlOptionsData::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TcxControlOptionsData*>(source)) {
        CancelOnExit = s->CancelOnExit;
        SetEditing(s->Editing());
    } else
        TcxOwnedPersistent::Assign(source);
}

void TcxControlOptionsData::SetEditing(bool value)
{
    if (!Store(editing_, value))
        return;
    if (!value)
        if (TcxEditingControl* control = EditingControl())
            control->EditingController()->SetEditingItem(nullptr);
    Changed();
}

TcxEditingControl* TcxControlOptionsBehavior::EditingControl() const { return ControlOf(this); }

void TcxControlOptionsBehavior::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TcxControlOptionsBehavior*>(source)) {
        SetAlwaysShowEditor(s->AlwaysShowEditor());
        SetCellHints(s->CellHints());
        SetFocusCellOnCycle(s->FocusCellOnCycle());
        SetFocusFirstCellOnNewRecord(s->FocusFirstCellOnNewRecord());
        SetGoToNextCellOnEnter(s->GoToNextCellOnEnter());
        SetGoToNextCellOnTab(s->GoToNextCellOnTab());
        SetImmediateEditor(s->ImmediateEditor());
    } else
        TcxOwnedPersistent::Assign(source);
}

void TcxControlOptionsBehavior::Changed()
{
    if (TcxEditingControl* control = EditingControl())
        control->Controller()->BehaviorChanged();
}

void TcxControlOptionsBehavior::SetAlwaysShowEditor(bool value)
{
    if (Store(alwaysShowEditor_, value))
        Changed();
}

void TcxControlOptionsBehavior::SetCellHints(bool value)
{
    if (Store(cellHints_, value))
        Changed();
}

void TcxControlOptionsBehavior::SetFocusCellOnCycle(bool value)
{
    if (Store(focusCellOnCycle_, value))
        Changed();
}

void TcxControlOptionsBehavior::SetFocusFirstCellOnNewRecord(bool value)
{
    if (Store(focusFirstCellOnNewRecord_, value))
        Changed();
}

void TcxControlOptionsBehavior::SetGoToNextCellOnEnter(bool value)
{
    if (Store(goToNextCellOnEnter_, value))
        Changed();
}

void TcxControlOptionsBehavior::SetGoToNextCellOnTab(bool value)
{
    if (!Store(goToNextCellOnTab_, value))
        return;
    if (TcxEditingControl* control = EditingControl()) {
        TcxKeys keys = control->Keys();
        if (value)
            keys.Include(kTab);
        else
            keys.Exclude(kTab);
        control->SetKeys(keys);
    }
    Changed();
}

void TcxControlOptionsBehavior::SetImmediateEditor(bool value)
{
    if (Store(immediateEditor_, value))
        Changed();
}

void TcxControlOptionsBehavior::SetIncSearch(bool value)
{
    if (!Store(incSearch_, value))
        return;
    if (!value)
        if (TcxEditingControl* control = EditingControl())
            control->Controller()->CancelIncSearching();
    Changed();
}

void TcxControlOptionsBehavior::SetIncSearchItem(TcxCustomInplaceEditContainer* value)
{
    if (incSearchItem_ == value)
        return;
    if (TcxEditingControl* control = EditingControl())
        control->Controller()->CancelIncSearching();
    incSearchItem_ = value;
    Changed();
}

void TcxControlOptionsBehavior::SetDragDropImages(bool value) { dragDropImages_ = value; }

void TcxCustomControlStyles::Changed(int index)
{
    TcxStyles::Changed(index);
    if (auto* control = dynamic_cast<TcxEditingControl*>(GetOwner()))
        control->UpdateViewStyles();
}

// ---- the control --------------------------------------------------------------------------------

TcxEditingControl::TcxEditingControl(TComponent* owner) : TcxControl(owner)
{
    SetKeys(TcxKeys{kArrows, kChars});
    SetBorderStyle(cxcbsDefault);
    DragCursor = crDefault;
}

TcxEditingControl::~TcxEditingControl()
{
    // A control freed while its drag images follow the mouse takes them (and the hook) along.
    if (cxDragImagesControl() == this)
        cxFinishDragImages();
    destroyingSubClasses_ = true;
    for (TcxCustomInplaceEditContainer* item : itemList_)
        item->SetDataItemIndex(-1);
    FreeAndNil(viewInfo_);
    FreeAndNil(controller_);
    FreeAndNil(editStyle_);
    FreeAndNil(dataController_);
    FreeAndNil(styles_);
}

void TcxEditingControl::BeforeDestruction()
{
    // The items outlive the control (their owner frees them): they are detached now, while the
    // control is still whole, so none reaches back into a half-destroyed control later.
    if (controller_)
        controller_->EditingController()->SetEditingItem(nullptr);
    while (!itemList_.empty())
        itemList_.back()->SetEditingControl(nullptr);
    // The cached editors are components of the control: the controller's cache frees them now,
    // before the inherited teardown frees the control's components.
    destroyingSubClasses_ = true;
    FreeAndNil(viewInfo_);
    FreeAndNil(controller_);
    TcxControl::BeforeDestruction();
}

TcxCustomControlControllerClass TcxEditingControl::GetControllerClass() const
{
    return TcxCustomControlControllerClass::Of<TcxCustomControlController>();
}

TcxCustomControlStylesClass TcxEditingControl::GetControlStylesClass() const
{
    return TcxCustomControlStylesClass::Of<TcxCustomControlStyles>();
}

TcxControlDataControllerClass TcxEditingControl::GetDataControllerClass() const
{
    return TcxControlDataControllerClass::Of<TcxControlDataController>();
}

TcxEditingControllerClass TcxEditingControl::GetEditingControllerClass() const
{
    return TcxEditingControllerClass::Of<TcxEditingController>();
}

TcxCustomHitTestControllerClass TcxEditingControl::GetHitTestControllerClass() const
{
    return TcxCustomHitTestControllerClass::Of<TcxCustomHitTestController>();
}

TcxHotTrackControllerClass TcxEditingControl::GetHotTrackControllerClass() const
{
    return TcxHotTrackControllerClass::Of<TcxHotTrackController>();
}

TcxCustomControlViewInfoClass TcxEditingControl::GetViewInfoClass() const
{
    return TcxCustomControlViewInfoClass::Of<TcxCustomControlViewInfo>();
}

TcxCustomControlController* TcxEditingControl::Controller()
{
    if (!controller_ && !destroyingSubClasses_)
        controller_ = GetControllerClass().Create(this);
    return controller_;
}

TcxControlDataController* TcxEditingControl::DataController()
{
    if (!dataController_ && !destroyingSubClasses_)
        dataController_ = GetDataControllerClass().Create(this);
    return dataController_;
}

TcxCustomControlViewInfo* TcxEditingControl::ViewInfo()
{
    if (!viewInfo_ && !destroyingSubClasses_)
        viewInfo_ = GetViewInfoClass().Create(this);
    return viewInfo_;
}

TcxCustomControlStyles* TcxEditingControl::Styles()
{
    if (!styles_ && !destroyingSubClasses_)
        styles_ = GetControlStylesClass().Create(this);
    return styles_;
}

TcxEditStyle* TcxEditingControl::EditStyle()
{
    if (!editStyle_ && !destroyingSubClasses_) {
        editStyle_ = new TcxEditStyle(nullptr, true, nullptr, csNormal);
        editStyle_->GetLookAndFeel()->SetMasterLookAndFeel(LookAndFeel());
    }
    return editStyle_;
}

void TcxEditingControl::RecreateViewInfo()
{
    if (controller_) {
        controller_->EditingController()->SetEditingItem(nullptr);
        controller_->Clear();
    }
    FreeAndNil(viewInfo_);
    ViewInfo();
}

// --- items

void TcxEditingControl::DoInplaceEditContainerItemAdded(TcxCustomInplaceEditContainer* item)
{
    try {
        itemList_.push_back(item);
        UpdateIndexes();
        DataController()->AddItem(item);
    } catch (...) {
        LayoutChanged();
        throw;
    }
    LayoutChanged();
}

void TcxEditingControl::DoInplaceEditContainerItemRemoved(TcxCustomInplaceEditContainer* item)
{
    try {
        if (controller_) {
            if (controller_->EditingController()->EditingItem() == item)
                controller_->EditingController()->SetEditingItem(nullptr);
            if (controller_->FocusedItem() == item)
                controller_->SetFocusedItem(nullptr);
            if (controller_->IncSearchingItem() == item)
                controller_->CancelIncSearching();
        }
        if (TcxExtEditingControl* ext = dynamic_cast<TcxExtEditingControl*>(this);
            ext && ext->OptionsBehavior()->IncSearchItem() == item)
            ext->OptionsBehavior()->SetIncSearchItem(nullptr);
        std::erase(itemList_, item);
        DataController()->RemoveItem(item);
        UpdateIndexes();
    } catch (...) {
        LayoutChanged();
        throw;
    }
    item->SetDataItemIndex(-1);
    LayoutChanged();
}

void TcxEditingControl::UpdateIndexes()
{
    for (std::size_t i = 0; i < itemList_.size(); ++i)
        itemList_[i]->SetDataItemIndex(static_cast<int>(i));
}

// --- data notices

void TcxEditingControl::ControlUpdateData(TcxUpdateControlInfo* info)
{
    if (dynamic_cast<TcxDataChangedInfo*>(info))
        DataChanged();
    else if (dynamic_cast<TcxLayoutChangedInfo*>(info))
        DataLayoutChanged();
    else if (auto* focused = dynamic_cast<TcxFocusedRecordChangedInfo*>(info))
        Controller()->FocusedRecordChanged(focused->PrevFocusedRecordIndex, focused->FocusedRecordIndex);
    else if (auto* selection = dynamic_cast<TcxSelectionChangedInfo*>(info))
        SelectionChanged(selection);
    else if (auto* record = dynamic_cast<TcxUpdateRecordInfo*>(info))
        Controller()->UpdateRecord(record->RecordIndex);
}

void TcxEditingControl::DataChanged()
{
    ++updateLockCount_;
    try {
        for (TcxCustomInplaceEditContainer* item : itemList_)
            item->DataChanged();
    } catch (...) {
        --updateLockCount_;
        throw;
    }
    --updateLockCount_;
    if (!IsLocked())
        Controller()->RefreshFocusedRecord();
}

void TcxEditingControl::DataLayoutChanged()
{
    EditingController()->UpdateEditValue();
    Controller()->RefreshFocusedRecord();
}

void TcxEditingControl::UpdateData() { EditingController()->UpdateValue(); }

// --- updating and layout

void TcxEditingControl::DoBeginUpdate()
{
    ++updateLockCount_;
    DataController()->BeginUpdate();
}

void TcxEditingControl::DoEndUpdate()
{
    DataController()->EndUpdate();
    if (--updateLockCount_ == 0)
        BeforeUpdate();
    LayoutChanged();
}

void TcxEditingControl::CancelUpdate()
{
    DataController()->EndUpdate();
    --updateLockCount_;
}

bool TcxEditingControl::IsLocked() const
{
    return updateLockCount_ > 0 || IsLoading() || IsDestroying() || destroyingSubClasses_ || !HandleAllocated();
}

void TcxEditingControl::LayoutChanged()
{
    // The pieces are not made here before the first real layout: during construction the class
    // operations still answer the base classes.
    if (viewInfo_)
        viewInfo_->IsDirty = true;
    if (IsLocked())
        return;
    ++layoutChangeDepth_;
    Controller()->Reset();
    BeginUpdate();
    try {
        DoLayoutChanged();
    } catch (...) {
        ViewInfo()->IsDirty = false;
        CancelUpdate();
        --layoutChangeDepth_;
        throw;
    }
    ViewInfo()->IsDirty = false;
    CancelUpdate();
    SetInternalControlsBounds();
    UpdateScrollBars();
    if (--layoutChangeDepth_ == 0) {
        EditingController()->PostEditUpdate();
        RepaintAll = true;
        AfterLayoutChanged();
        Invalidate();
    }
}

void TcxEditingControl::DoLayoutChanged() { ViewInfo()->Calculate(); }

void TcxEditingControl::UpdateViewStyles()
{
    if (viewInfo_)
        viewInfo_->StylesDirty = true;
    LayoutChanged();
}

bool TcxEditingControl::DoEditing(TcxCustomInplaceEditContainer* item)
{
    bool allow = true;
    CallEvent(OnItemEditing, this, item, allow);
    return allow;
}

void TcxEditingControl::Loaded()
{
    TcxControl::Loaded();
    DataController()->Loaded();
    LayoutChanged();
}

void TcxEditingControl::InitControl()
{
    TcxControl::InitControl();
    LayoutChanged();
}

void TcxEditingControl::BoundsChanged()
{
    LayoutChanged();
    TcxControl::BoundsChanged();
}

void TcxEditingControl::FontChanged()
{
    TcxControl::FontChanged();
    UpdateViewStyles();
}

void TcxEditingControl::CreateWnd()
{
    TcxControl::CreateWnd();
    LayoutChanged();
}

// --- window events, handed to the controller after the inherited handling

void TcxEditingControl::FocusChanged()
{
    TcxControl::FocusChanged();
    if (!IsDestroying() && controller_)
        controller_->FocusChanged();
}

void TcxEditingControl::LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues)
{
    const bool editing = controller_ && !IsDestroying() && EditingController()->IsEditing();
    if (editing)
        EditingController()->HideEdit(true);
    TcxControl::LookAndFeelChanged(sender, changedValues);
    if (IsDestroying())
        return;
    BeginUpdate();
    try {
        for (TcxCustomInplaceEditContainer* item : std::vector<TcxCustomInplaceEditContainer*>(itemList_))
            item->InternalPropertiesChanged();
        UpdateViewStyles();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (editing)
        EditingController()->ShowEdit(nullptr);
}

void TcxEditingControl::WndProc(TMessage& msg)
{
    if (msg.Msg == cxWM_RAISEDRAGIMAGESHOOK) {
        cxRaiseDragImagesHook(this);
        return;
    }
    if (controller_ && !destroyingSubClasses_) {
        controller_->WndProc(msg);
        // Characters queued to the control before its editor took the focus (an input-method
        // commit that opened the editor) belong to the editor.
        TcxCustomEdit* editor = controller_->EditingController()->InplaceEditor();
        if ((msg.Msg == WM_CHAR || msg.Msg == WM_IME_COMPOSITION || msg.Msg == WM_IME_ENDCOMPOSITION) && editor &&
            editor->IsEditFocused()) {
            TWinControl* target = editor->GetInnerEditControl() ? editor->GetInnerEditControl() : editor;
            msg.Result = target->Perform(msg.Msg, msg.WParam, msg.LParam);
            return;
        }
    }
    TcxControl::WndProc(msg);
}

TCursor TcxEditingControl::GetCursor(int x, int y)
{
    TCursor cursor = controller_ ? controller_->GetCursor(x, y) : crDefault;
    return cursor == crDefault ? TcxControl::GetCursor(x, y) : cursor;
}

bool TcxEditingControl::GetIsFocused() const
{
    return TcxControl::GetIsFocused() || (controller_ && controller_->HasFocusedControls());
}

bool TcxEditingControl::MayFocus() const { return TcxControl::MayFocus() && (!controller_ || controller_->MayFocus()); }

void TcxEditingControl::DoCancelMode()
{
    TcxControl::DoCancelMode();
    if (controller_)
        controller_->DoCancelMode();
}

void TcxEditingControl::AfterMouseDown(TMouseButton button, int x, int y)
{
    DragStartPoint = TPoint(x, y);
    TcxControl::AfterMouseDown(button, x, y);
}

void TcxEditingControl::Scroll(TScrollBarKind kind, TScrollCode code, int& pos)
{
    EditingController()->PostEditUpdate();
    TcxControl::Scroll(kind, code, pos);
}

void TcxEditingControl::DblClick()
{
    Controller()->DblClick();
    TcxControl::DblClick();
}

void TcxEditingControl::KeyDown(std::uint16_t& key, TShiftState shift)
{
    Controller()->EscapePressed = key == 27;
    try {
        TcxControl::KeyDown(key, shift);
        if (key != 0)
            Controller()->KeyDown(key, shift);
    } catch (...) {
        Controller()->EscapePressed = false;
        throw;
    }
    Controller()->EscapePressed = false;
}

void TcxEditingControl::KeyPress(char16_t& key)
{
    TcxControl::KeyPress(key);
    if (key != 0)
        Controller()->KeyPress(key);
}

void TcxEditingControl::KeyUp(std::uint16_t& key, TShiftState shift)
{
    TcxControl::KeyUp(key, shift);
    if (key != 0)
        Controller()->KeyUp(key, shift);
}

void TcxEditingControl::DoExit()
{
    if (controller_)
        controller_->DoExit();
    TcxControl::DoExit();
}

void TcxEditingControl::Paint()
{
    Controller()->BeforePaint();
    try {
        TcxControl::Paint();
        Painter()->Paint(Canvas());
    } catch (...) {
        Controller()->AfterPaint();
        throw;
    }
    Controller()->AfterPaint();
}

void TcxEditingControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxCustomControlController* controller = Controller();
    controller->HideHint();
    controller->MouseButtonDown = true;
    controller->BeforeMouseDown(button, shift, x, y);
    TcxControl::MouseDown(button, shift, x, y);
    if (!EditingController()->ExitFailed())
        controller->DoMouseDown(button, shift, x, y);
    else
        controller->HitTestController()->RecalculateOnMouseEvent(x, y, shift);
}

void TcxEditingControl::MouseMove(TShiftState shift, int x, int y)
{
    TcxControl::MouseMove(shift, x, y);
    if (DragAndDropState() == ddsNone)
        Controller()->DoMouseMove(shift, x, y);
}

void TcxEditingControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxCustomControlController* controller = Controller();
    controller->MouseButtonDown = false;
    if (DragAndDropState() != ddsNone) {
        TcxControl::MouseUp(button, shift, x, y);
        controller->DoMouseUp(button, shift, x, y);
    } else {
        controller->DoMouseUp(button, shift, x, y);
        TcxControl::MouseUp(button, shift, x, y);
    }
    controller->PostShowEdit();
}

void TcxEditingControl::MouseEnter(TControl* control)
{
    TcxControl::MouseEnter(control);
    Controller()->MouseEnter();
}

void TcxEditingControl::MouseLeave(TControl* control)
{
    Controller()->MouseLeave();
    TcxControl::MouseLeave(control);
}

// ---- the control with its own options ---------------------------------------------------------

TcxExtEditingControl::TcxExtEditingControl(TComponent* owner) : TcxEditingControl(owner) {}

TcxExtEditingControl::~TcxExtEditingControl()
{
    FreeAndNil(optionsBehavior_);
    FreeAndNil(optionsData_);
    FreeAndNil(optionsView_);
}

TcxControlOptionsBehaviorClass TcxExtEditingControl::GetOptionsBehaviorClass() const
{
    return TcxControlOptionsBehaviorClass::Of<TcxControlOptionsBehavior>();
}

TcxControlOptionsDataClass TcxExtEditingControl::GetOptionsDataClass() const
{
    return TcxControlOptionsDataClass::Of<TcxControlOptionsData>();
}

TcxControlOptionsViewClass TcxExtEditingControl::GetOptionsViewClass() const
{
    return TcxControlOptionsViewClass::Of<TcxControlOptionsView>();
}

TcxControlOptionsBehavior* TcxExtEditingControl::GetOptionsBehavior()
{
    if (!optionsBehavior_)
        optionsBehavior_ = GetOptionsBehaviorClass().Create(this);
    return optionsBehavior_;
}

TcxControlOptionsData* TcxExtEditingControl::GetOptionsData()
{
    if (!optionsData_)
        optionsData_ = GetOptionsDataClass().Create(this);
    return optionsData_;
}

TcxControlOptionsView* TcxExtEditingControl::GetOptionsView()
{
    if (!optionsView_)
        optionsView_ = GetOptionsViewClass().Create(this);
    return optionsView_;
}

} // namespace cx
