// The controllers of an editing control: the editing controller (the one in-place editor), the
// hot-track controller, the hit test, the cell navigator and the control controller.
#include <algorithm>

#include "platform/vcl/Peer.h"
#include "toolkit/grid/cxInplaceContainer.h"

#include "platform/gdi/SysParams.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxGraphicsShared.h"

namespace cx {

namespace {
constexpr std::uint16_t vkTab = 9, vkReturn = 13, vkEscape = 27, vkPrior = 33, vkNext = 34, vkLeft = 37,
                        vkUp = 38, vkRight = 39, vkDown = 40, vkInsert = 45, vkDelete = 46, vkBack = 8,
                        vkF2 = 113;
constexpr UINT wmImeStartComposition = 0x010D;
const int cxIntOffs[2] = {-1, 1};

bool NoShift(TShiftState s) { return s == TShiftState{}; }
bool OnlyShift(TShiftState s) { return s == TShiftState{ssShift}; }
bool OnlyCtrl(TShiftState s) { return s == TShiftState{ssCtrl}; }
} // namespace

// ---- cells and view info ------------------------------------------------------------------------

TcxEditCellViewInfo::~TcxEditCellViewInfo()
{
    TcxEditingControl* control = owner_ ? owner_->Control() : nullptr;
    if (control && control->Controller())
        control->Controller()->HitTestController()->DestroyingItem(this);
    FreeEditViewInfo();
}

bool TcxEditCellViewInfo::GetFocused() const
{
    TcxEditingControl* control = owner_ ? owner_->Control() : nullptr;
    if (!control || !control->Controller())
        return false;
    TcxCustomControlController* controller = control->Controller();
    return controller->FocusedItem() == Item && controller->GetFocusedRecordIndex() == RecordIndex;
}

TcxEditButtonTransparency TcxEditCellViewInfo::GetButtonTransparency() const
{
    switch (Item->Options()->ShowEditButtons()) {
    case eisbAlways:
        return ebtNone;
    case eisbNever:
        return ebtHideInactive;
    case eisbDefault:
        break;
    }
    TcxEditingControl* control = owner_->Control();
    switch (control->GetOptions()->GetOptionsView()->ShowEditButtons()) {
    case ecsbAlways:
        return ebtNone;
    case ecsbFocused:
        return GetFocused() ? ebtNone : ebtHideInactive;
    case ecsbNever:
        break;
    }
    return ebtHideInactive;
}

bool cxStylesToViewParams(TcxStyles* styles, int index, TObject* data, const std::vector<TcxStyle*>& styleList,
                          TcxViewParams& params)
{
    params = TcxViewParams{nullptr, TColor(0), nullptr, TColor(0)};
    TcxStyleValues taken;
    const TcxStyleValues all{svBitmap, svColor, svFont, svTextColor};
    for (TcxStyle* style : styleList) {
        if (!style || style->ComponentState().Contains(csDestroying))
            continue;
        const TcxStyleValues assigned = style->AssignedValues() - taken;
        if (assigned.Contains(svColor))
            params.Color = style->Color();
        if (assigned.Contains(svFont))
            params.Font = style->Font();
        if (assigned.Contains(svTextColor))
            params.TextColor = style->TextColor();
        if (assigned.Contains(svBitmap))
            params.Bitmap = style->Bitmap();
        taken = taken + assigned;
        if (taken == all)
            return true;
    }
    TcxViewParams defaults;
    styles->GetDefaultViewParams(index, data, defaults);
    if (!taken.Contains(svColor))
        params.Color = defaults.Color;
    if (!taken.Contains(svFont))
        params.Font = defaults.Font;
    if (!taken.Contains(svTextColor))
        params.TextColor = defaults.TextColor;
    if (!taken.Contains(svBitmap))
        params.Bitmap = defaults.Bitmap;
    return false;
}

TcxEditCellViewInfo* TcxCustomControlViewInfo::AddCell(TcxEditCellViewInfo* cell)
{
    cells_.push_back(cell);
    return cell;
}

void TcxCustomControlViewInfo::RemoveCell(TcxEditCellViewInfo* cell)
{
    auto it = std::find(cells_.begin(), cells_.end(), cell);
    if (it == cells_.end())
        return;
    cells_.erase(it);
    cell->Free();
}

void TcxCustomControlViewInfo::ClearCells()
{
    std::vector<TcxEditCellViewInfo*> cells;
    cells.swap(cells_);
    for (TcxEditCellViewInfo* cell : cells)
        cell->Free();
}

void TcxCustomControlViewInfo::Calculate()
{
    ++calculateCount_;
    TcxEditingController* editing = owner_->Controller() ? owner_->EditingController() : nullptr;
    if (editing)
        editing->BeforeViewInfoCalculate();
    ClearCells();
    CalculateStyles();
    ClientBounds = owner_->GetClientBounds();
    DoCalculate();
    IsDirty = false;
    StylesDirty = false;
    if (editing) {
        // The editing item's cell is laid out again: its editor follows it.
        if (editing->IsEditing() && owner_->Controller()->GetFocusedCellViewInfo(editing->EditingItem()))
            editing->UpdateEdit();
        editing->AfterViewInfoCalculate();
    }
}

// ---- editing controller ---------------------------------------------------------------------

TcxEditingController::TcxEditingController(TcxCustomControlController* controller)
    : controller_(controller), editorCache_(new TcxInplaceEditList(controller->EditingControl()))
{
}

TcxEditingController::~TcxEditingController()
{
    StopEditShowingTimer();
    FreeAndNil(editorCache_);
}

TcxEditingControl* TcxEditingController::EditingControl() const { return controller_->EditingControl(); }

namespace {
// The properties an item edits the focused record with; null for an item without an editor kind.
TcxCustomEditProperties* EditingPropertiesOf(TcxEditingControl* control, TcxCustomInplaceEditContainer* item)
{
    if (!item || control->IsDestroying())
        return nullptr;
    TcxCustomEditProperties* properties = item->DoGetEditProperties(nullptr);
    item->DoGetEditingProperties(nullptr, properties);
    return properties;
}
} // namespace

TcxCustomEditProperties* TcxEditingController::GetEditingProperties()
{
    return EditingPropertiesOf(EditingControl(), editingItem_);
}

void TcxEditingController::SetEditingItem(TcxCustomInplaceEditContainer* item)
{
    if (item == editingItem_ || changingEditingItem_)
        return;
    changingEditingItem_ = true;
    try {
        if (item) {
            if (!item->CanEdit() || !EditingControl()->DoEditing(item)) {
                changingEditingItem_ = false;
                return;
            }
            item->SetFocused(true);
        }
        HideEdit(false);
        editingItem_ = item;
        if (item) {
            try {
                ShowEdit(item);
            } catch (...) {
                editingItem_ = nullptr;
                throw;
            }
            if (!inplaceEditor_ && !preparing_)
                editingItem_ = nullptr;
        }
    } catch (...) {
        changingEditingItem_ = false;
        throw;
    }
    changingEditingItem_ = false;
}

void TcxEditingController::ShowEdit(TcxCustomInplaceEditContainer* item)
{
    if (!item)
        item = controller_->FocusedItem();
    if (PrepareEdit(item, false))
        inplaceEditor_->Activate(item->SavedEditData());
}

void TcxEditingController::ShowEdit(TcxCustomInplaceEditContainer* item, char16_t key)
{
    if (!item)
        item = controller_->FocusedItem();
    if (PrepareEdit(item, false))
        inplaceEditor_->ActivateByKey(key, item->SavedEditData());
}

void TcxEditingController::ShowEdit(TcxCustomInplaceEditContainer* item, TShiftState shift, int x, int y)
{
    if (!item)
        item = controller_->FocusedItem();
    if (PrepareEdit(item, true))
        inplaceEditor_->ActivateByMouse(shift, x, y, item->SavedEditData());
}

bool TcxEditingController::IsDragging() const
{
    TcxEditingControl* control = EditingControl();
    return control->Dragging() || control->DragAndDropState() != ddsNone;
}

bool TcxEditingController::PrepareEdit(TcxCustomInplaceEditContainer* item, bool isMouseEvent)
{
    controller_->CancelCheckEditPost();
    if (preparing_ || hiding_ || !item || IsDragging())
        return false;
    // An item without an editor kind (no properties of its own, no repository item, no value
    // type) has nothing to open, whichever road asked.
    if (!EditingPropertiesOf(EditingControl(), item))
        return false;
    TcxEditingControl* control = EditingControl();
    if (item == editingItem_ && !changingEditingItem_)
        return inplaceEditor_ && ((control->Focused() && !inplaceEditor_->IsEditFocused()) || isMouseEvent);
    if (control->ViewInfo()->IsDirty)
        control->LayoutChanged();
    preparing_ = true;
    if (!control->Focused()) {
        preparing_ = false;
        return false;
    }
    controller_->BeforeShowEdit();
    item->SetEditing(controller_->GetFocusedCellViewInfo(item) != nullptr);
    const bool granted = item->GetEditing();
    if (control->ViewInfo()->IsDirty)
        control->LayoutChanged();
    TcxCustomEditProperties* properties = granted ? GetEditingProperties() : nullptr;
    if (granted && !properties) {
        // The properties went while the editing began (an editing-properties handler, a
        // layout change): no editor opens.
        preparing_ = false;
        item->SetEditing(false);
        return false;
    }
    if (granted) {
        try {
            item->EditingValueSource = properties->GetEditValueSource(true);
            TcxCustomEditProperties* own = item->Properties();
            const bool assignRepositoryItem = NeedAssignRepositoryItem(own, item->RepositoryItem(), properties);
            inplaceEditor_ = editorCache_->GetEdit(properties);
            if (assignRepositoryItem)
                inplaceEditor_->SetRepositoryItem(item->RepositoryItem());
            inplaceEditor_->SetVisible(false);
            inplaceEditor_->SetParent(nullptr);
            inplaceEditor_->SetParent(control);
        } catch (...) {
            preparing_ = false;
            inplaceEditor_ = nullptr;
            item->SetEditing(false);
            throw;
        }
        if (TcxEditCellViewInfo* cell = controller_->GetFocusedCellViewInfo(item))
            control->InvalidateRect(cell->Bounds, false);
        InitEdit();
    }
    preparing_ = false;
    return granted;
}

void TcxEditingController::InitEdit()
{
    TcxCustomEditProperties* properties = inplaceEditor_->ActiveProperties();
    savedOnChange_ = properties->OnChange;
    savedOnEditValueChanged_ = properties->OnEditValueChanged;
    properties->OnChange = nullptr;
    properties->OnEditValueChanged = nullptr;
    inplaceEditor_->InplaceEditPosition.Item = editingItem_;
    inplaceEditor_->InplaceEditPosition.RecordIndex = controller_->GetFocusedRecordIndex();
    UpdateEdit();
    UpdateEditValue();
    AssignEditEvents();
    EditingControl()->DoInitEdit(editingItem_, inplaceEditor_);
}

void TcxEditingController::AssignEditEvents()
{
    TcxCustomEdit* e = inplaceEditor_;
    e->OnAfterKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { EditAfterKeyDown(s, k, sh); };
    e->OnEditing = [this](TObject* s, bool& canEdit) { EditEditing(s, canEdit); };
    e->OnPostEditValue = [this](TObject* s) { EditPostEditValue(s); };
    e->OnExit = [this](TObject* s) { EditExit(s); };
    e->OnDblClick = [this](TObject* s) { EditDblClick(s); };
    e->OnFocusChanged = [this](TObject* s) { EditFocusChanged(s); };
    e->OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { EditKeyDown(s, k, sh); };
    e->OnKeyPress = [this](TObject* s, char16_t& k) { EditKeyPress(s, k); };
    e->OnKeyUp = [this](TObject* s, std::uint16_t& k, TShiftState sh) { EditKeyUp(s, k, sh); };
    e->ActiveProperties()->OnChange = [this](TObject* s) { EditChanged(s); };
    e->ActiveProperties()->OnEditValueChanged = [this](TObject* s) { EditValueChanged(s); };
}

void TcxEditingController::UnassignEditEvents()
{
    TcxCustomEdit* e = inplaceEditor_;
    e->OnAfterKeyDown = nullptr;
    e->OnEditing = nullptr;
    e->OnPostEditValue = nullptr;
    e->OnExit = nullptr;
    e->OnDblClick = nullptr;
    e->OnFocusChanged = nullptr;
    e->OnKeyDown = nullptr;
    e->OnKeyPress = nullptr;
    e->OnKeyUp = nullptr;
    e->ActiveProperties()->OnChange = savedOnChange_;
    e->ActiveProperties()->OnEditValueChanged = savedOnEditValueChanged_;
}

void TcxEditingController::UpdateEdit()
{
    if (inplaceEditor_ && controller_->GetFocusedCellViewInfo(editingItem_)) {
        if (preparing_)
            DoUpdateEdit();
        else
            PostEditUpdate();
    }
    placedInLastCalculation_ = true;
}

void TcxEditingController::MoveEditOut()
{
    if (inplaceEditor_)
        inplaceEditor_->SetLeft(30000);
}

void TcxEditingController::DoUpdateEdit()
{
    placementPending_ = false;
    if (!IsEditing() || !inplaceEditor_)
        return;
    controller_->BeforeShowEdit();
    TcxEditCellViewInfo* cell = controller_->GetFocusedCellViewInfo(controller_->FocusedItem());
    if (cell && cell->IsVisiblePart() && !cxRectIsEmpty(cell->EditRect())) {
        if (preparing_)
            cell->Refresh(false);
        inplaceEditor_->SetBoundsRect(cell->EditRect());
        inplaceEditor_->SetVisible(true);
    } else
        MoveEditOut();
}

void TcxEditingController::CheckEditUpdatePost()
{
    if (placementPending_)
        DoUpdateEdit();
}

void TcxEditingController::AfterViewInfoCalculate()
{
    if (IsEditing() && (!placedInLastCalculation_ || !editingItem_->IsEditPartVisible())) {
        CancelEditUpdatePost();
        MoveEditOut();
    }
}

bool TcxEditingController::CanUpdateEditValue()
{
    return IsEditing() && !hiding_ && !askingToEdit_ && inplaceEditor_ && !inplaceEditor_->IsPosting();
}

void TcxEditingController::UpdateEditValue()
{
    if (!CanUpdateEditValue())
        return;
    inplaceEditor_->LockChangeEvents(true);
    try {
        inplaceEditor_->SetEditValue(editingItem_->GetEditValue());
    } catch (...) {
        inplaceEditor_->LockChangeEvents(false);
        throw;
    }
    inplaceEditor_->LockChangeEvents(false);
    inplaceEditor_->SelectAll();
}

void TcxEditingController::UpdateValue()
{
    if (!IsEditing() || !inplaceEditor_ || !inplaceEditor_->Modified())
        return;
    inplaceEditor_->ValidateEdit(true);
    editingItem_->SetEditValue(inplaceEditor_->EditValue());
    if (inplaceEditor_)
        inplaceEditor_->SetModifiedAfterEnter(false);
}

bool TcxEditingController::CanRemoveEditFocus()
{
    return !(IsEditing() && inplaceEditor_ && inplaceEditor_->IsEditFocused() && !hiding_);
}

bool TcxEditingController::GetHideEditOnExit()
{
    return !controller_->GetAlwaysShowEditor() || EditingControl()->IsFocused();
}

bool TcxEditingController::GetHideEditOnFocusedRecordChange()
{
    if (!controller_->GetAlwaysShowEditor())
        return true;
    TcxEditingControl* control = EditingControl();
    return (editingItem_ && editingItem_->OnGetEditProperties) || control->OnItemEditing || control->OnInitEdit;
}

void TcxEditingController::HideEdit(bool accept)
{
    controller_->CancelCheckEditPost();
    CancelEditUpdatePost();
    StopEditShowingTimer();
    TcxEditingControl* control = EditingControl();
    if (hiding_ || !IsEditing() || control->IsDestroying())
        return;
    hiding_ = true;
    auto finish = [&] {
        hiding_ = false;
        if (control->ViewInfo()->IsDirty)
            control->LayoutChanged();
    };
    try {
        TcxCustomInplaceEditContainer* item = editingItem_;
        if (accept && inplaceEditor_) {
            if (!inplaceEditor_->Deactivate())
                throw EAbort("");
            control->DataController()->PostEditingData();
            if (controller_->IsImmediatePost())
                control->DataController()->Post(false);
            if (!editingItem_) {
                finish();
                return;
            }
            if (controller_->GetFocusedCellViewInfo(item))
                inplaceEditor_->ActiveProperties()->Update(item->GetPropertiesValue());
        }
        if (!control->IsDestroying())
            control->DoEdited(item);
        editingItem_ = nullptr;
        controller_->RefreshFocusedCellViewInfo(item);
        HideInplaceEditor();
        exitFailed_ = false;
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TcxEditingController::HideInplaceEditor()
{
    if (!inplaceEditor_)
        return;
    UnassignEditEvents();
    inplaceEditor_->SetModified(false);
    const bool allowed = controller_->CheckEditAllowed;
    controller_->CheckEditAllowed = false;
    try {
        controller_->SetFocus();
    } catch (...) {
        controller_->CheckEditAllowed = allowed;
        throw;
    }
    controller_->CheckEditAllowed = allowed;
    inplaceEditor_->SetVisible(false);
    inplaceEditor_->SetRepositoryItem(nullptr);
    inplaceEditor_ = nullptr;
}

void TcxEditingController::RemoveEdit(TcxCustomEditProperties* properties)
{
    if (properties && properties == GetEditingProperties())
        SetEditingItem(nullptr);
    if (properties)
        editorCache_->RemoveItem(properties);
}

void TcxEditingController::StartEditShowingTimer(TcxCustomInplaceEditContainer* item)
{
    StopEditShowingTimer();
    delayedShowItem_ = item;
    editShowingTimer_ = new TcxTimer(nullptr);
    editShowingTimer_->SetInterval(GetDblClickInterval());
    editShowingTimer_->SetOnTimer([this](TObject* sender) { EditShowingTimerHandler(sender); });
}

void TcxEditingController::StopEditShowingTimer()
{
    if (!editShowingTimer_)
        return;
    TcxTimer* timer = editShowingTimer_;
    editShowingTimer_ = nullptr;
    delayedShowItem_ = nullptr;
    timer->Free();
}

void TcxEditingController::EditShowingTimerHandler(TObject*)
{
    // The timer is freed inside its own handler: the timer unit defers the destruction of a timer
    // whose event is running.
    TcxCustomInplaceEditContainer* item = delayedShowItem_;
    StopEditShowingTimer();
    if (item)
        item->SetEditing(true);
    controller_->EditorOpenBeforePress = IsEditing();
}

// --- the editor's hooks

void TcxEditingController::EditKeyDown(TObject*, std::uint16_t& key, TShiftState shift)
{
    TcxEditingControl* control = EditingControl();
    vcl::FireEvent(control->OnKeyDown, control, key, shift);
    if (key == 0)
        return;
    controller_->BeforeEditKeyDown(key, shift);
    if (!control->ScrollingContent() && controller_->IsKeyForController(key, shift))
        controller_->MakeFocusedItemVisible();
    switch (key) {
    case vkReturn:
        HideEdit(true);
        if (controller_->GetGoToNextCellOnEnter()) {
            controller_->CellMovesOnly = true;
            try {
                controller_->KeyDown(key, shift);
            } catch (...) {
                controller_->CellMovesOnly = false;
                throw;
            }
            controller_->CellMovesOnly = false;
            ShowEdit(nullptr);
        } else
            controller_->CheckEdit();
        key = 0;
        break;
    case vkEscape: {
        const bool modified = inplaceEditor_ && inplaceEditor_->ModifiedAfterEnter();
        HideEdit(false);
        controller_->CheckEdit();
        if (modified)
            key = 0;
        break;
    }
    case vkDelete:
        if (OnlyCtrl(shift)) {
            controller_->KeyDown(key, shift);
            key = 0;
        }
        break;
    default:
        break;
    }
}

void TcxEditingController::EditKeyPress(TObject*, char16_t& key)
{
    TcxEditingControl* control = EditingControl();
    vcl::FireEvent(control->OnKeyPress, control, key);
    if (key == 27)
        key = 0;
    controller_->MakeFocusedItemVisible();
}

void TcxEditingController::EditKeyUp(TObject*, std::uint16_t& key, TShiftState shift)
{
    TcxEditingControl* control = EditingControl();
    vcl::FireEvent(control->OnKeyUp, control, key, shift);
}

void TcxEditingController::EditAfterKeyDown(TObject*, std::uint16_t& key, TShiftState shift)
{
    if (controller_->IsKeyForController(key, shift))
        controller_->KeyDown(key, shift);
}

void TcxEditingController::EditChanged(TObject* sender)
{
    CallEvent(savedOnChange_, sender);
    EditingControl()->DoEditChanged(editingItem_);
}

void TcxEditingController::EditValueChanged(TObject* sender)
{
    CallEvent(savedOnEditValueChanged_, sender);
    EditingControl()->DoEditValueChanged(editingItem_);
}

void TcxEditingController::EditEditing(TObject*, bool& canEdit)
{
    askingToEdit_ = true;
    try {
        canEdit = editingItem_ && editingItem_->CanInitEditing();
    } catch (...) {
        askingToEdit_ = false;
        throw;
    }
    askingToEdit_ = false;
}

void TcxEditingController::EditDblClick(TObject*) { controller_->DoEditDblClick(); }

void TcxEditingController::EditEnter(TObject*)
{
    if (!controller_->Focused()) {
        controller_->SetFocusedFlag(true);
        controller_->ControlFocusChanged();
    }
}

void TcxEditingController::EditExit(TObject*)
{
    if (GetHideEditOnExit()) {
        try {
            HideEdit(!controller_->GetCancelEditingOnExit());
        } catch (...) {
            if (IsEditing() && inplaceEditor_) {
                if (inplaceEditor_->CanFocus())
                    inplaceEditor_->SetFocus();
                exitFailed_ = true;
            }
            throw;
        }
    }
    EditingControl()->DoExit();
}

void TcxEditingController::EditFocusChanged(TObject*)
{
    TcxEditingControl* control = EditingControl();
    controller_->SetFocusedFlag(control->Focused() || (IsEditing() && inplaceEditor_ && inplaceEditor_->IsEditFocused()));
    control->ViewInfo()->UpdateSelection();
}

// ---- hot track ----------------------------------------------------------------------------------

TcxHotTrackController::TcxHotTrackController(TcxEditingControl* control) : control_(control)
{
    cellHintTimer_ = new TcxTimer(nullptr);
    ResetTimer();
}

TcxHotTrackController::~TcxHotTrackController()
{
    cellHintTimer_->Free();
    if (cellHintWindow_)
        cellHintWindow_->Free();
}

THintWindow* TcxHotTrackController::CellHintWindow()
{
    // A new application hint window class replaces the window.
    THintWindowClass cls = Application->HintWindowClass ? Application->HintWindowClass
                                                        : THintWindowClass::Of<THintWindow>();
    if (cellHintWindow_ && hintWindowClass_ != cls.Meta()) {
        if (shownHintWindow_ == cellHintWindow_)
            shownHintWindow_ = nullptr;
        FreeAndNil(cellHintWindow_);
    }
    if (!cellHintWindow_) {
        cellHintWindow_ = cls.Create(nullptr);
        cellHintWindow_->SetColor(Application->HintColor);
        // The hint lies over the cell it belongs to: the mouse goes on to the control below, as
        // for a window that answers HTTRANSPARENT.
        cellHintWindow_->HandleNeeded();
        cellHintWindow_->Peer()->setAttribute(Qt::WA_TransparentForMouseEvents);
        hintWindowClass_ = cls.Meta();
    }
    return cellHintWindow_;
}

bool TcxHotTrackController::HintVisible() const
{
    return shownHintWindow_ && shownHintWindow_->HandleAllocated() && shownHintWindow_->Visible();
}

void TcxHotTrackController::ResetTimer()
{
    cellHintTimer_->SetEnabled(false);
    cellHintTimer_->SetInterval(static_cast<unsigned>(std::max(Application->HintPause, 1)));
    cellHintTimer_->SetOnTimer([this](TObject* sender) { TimerShowHint(sender); });
}

void TcxHotTrackController::SetHotElement(TObject* element, const TPoint& p)
{
    if (control_->IsLocked()) {
        Clear();
        return;
    }
    if (element != HotElement) {
        HintOwner = HotElement;
        if (auto* old = dynamic_cast<IcxHotTrackElement*>(HotElement))
            old->UpdateHotTrackState(cxInvalidPoint);
        if (auto* hot = dynamic_cast<IcxHotTrackElement*>(element))
            hot->UpdateHotTrackState(p);
    } else if (p != HotPoint) {
        if (auto* hot = dynamic_cast<IcxHotTrackElement*>(element))
            hot->UpdateHotTrackState(p);
    }
    HotPoint = p;
    HotElement = element;
    if (element != HintOwner)
        CancelHint();
    if (HintNeeded())
        InternalShowHint();
}

void TcxHotTrackController::CheckDestroyingElement(TObject* element)
{
    if (!element || (element != HotElement && element != HintOwner))
        return;
    if (element == HintOwner) {
        CancelHint();
        HintOwner = nullptr;
    }
    if (element == HotElement)
        HotElement = nullptr;
    SetHotElement(nullptr, cxInvalidPoint);
}

bool TcxHotTrackController::CanShowHint()
{
    if (!HintsAllowed || control_->Controller()->MouseButtonDown)
        return false;
    if (TCustomForm* form = GetParentForm(control_)) {
        if (!Application->Active() || !form->Active())
            return false;
    }
    if (control_->IsDesigning() || control_->Dragging() || control_->DragAndDropState() != ddsNone)
        return false;
    TcxEditingController* editing = control_->EditingController();
    return !(editing->IsEditing() && HotElement &&
             HotElement == control_->Controller()->GetFocusedCellViewInfo(editing->EditingItem()));
}

bool TcxHotTrackController::HintNeeded()
{
    auto* element = dynamic_cast<IcxHotTrackElement*>(HotElement);
    if (!element || !CanShowHint())
        return false;
    THintWindow* window = CellHintWindow();
    HintText.clear();
    TcxScreenCanvas* canvas = cxScreenCanvas();
    bool needHint = false;
    try {
        bool isMultiLine = false, atCursor = false;
        TRect textRect;
        needHint = element->IsNeedHint(canvas, HotPoint, HintText, isMultiLine, textRect, atCursor);
        if (needHint)
            control_->DoGetCellHint(HotElement, HintText, needHint);
        if (needHint) {
            TPoint origin = control_->ClientToScreen(element->GetOrigin());
            if (atCursor)
                origin.Y += gdi::GetSystemMetrics(SM_CYCURSOR);
            if (dynamic_cast<TcxEditCellViewInfo*>(HotElement)) {
                --origin.X;
                --origin.Y;
            }
            window->Font()->Assign(canvas->GetFont());
            HintBounds = cxRectOffset(window->CalcHintRect(Screen->Width(), HintText), origin.X, origin.Y);
        }
    } catch (...) {
        canvas->Dormant();
        throw;
    }
    canvas->Dormant();
    return needHint;
}

void TcxHotTrackController::InternalShowHint()
{
    if (HintVisible() || HintOwner == HotElement)
        return;
    THintInfo info;
    THintWindow* window = CellHintWindow();
    TRect bounds = HintBounds;
    if (!cxProcessControlHintInfo(info, window, control_, HintText, bounds))
        return;
    DoShowHint();
    HintOwner = HotElement;
    HintShown = true;
    HintText = info.HintStr;
    HintBounds = bounds;
    shownHintWindow_ = window;
    cxActivateHint(window, HintBounds, HintText);
    cellHintTimer_->SetEnabled(false);
    cellHintTimer_->SetOnTimer([this](TObject* sender) { TimerHideHint(sender); });
    if (info.HideTimeout > 0) {
        cellHintTimer_->SetInterval(static_cast<unsigned>(info.HideTimeout));
        cellHintTimer_->SetEnabled(true);
    }
}

void TcxHotTrackController::InternalHideHint()
{
    if (!HintVisible())
        return;
    try {
        DoHideHint();
    } catch (...) {
        HintShown = false;
        shownHintWindow_->SetVisible(false);
        ResetTimer();
        throw;
    }
    HintShown = false;
    shownHintWindow_->SetVisible(false);
    ResetTimer();
}

// ---- hit test -----------------------------------------------------------------------------------

void TcxCustomHitTestController::ReCalculate() { ReCalculate(HitPoint); }

void TcxCustomHitTestController::ReCalculate(const TPoint& p)
{
    ClearState();
    TcxEditingControl* control = controller_->EditingControl();
    if (control->IsLocked())
        return;
    HitPoint = p;
    if (control->ViewInfo()->IsDirty)
        control->LayoutChanged();
    DoCalculate();
}

void TcxCustomHitTestController::RecalculateOnMouseEvent(int x, int y, TShiftState shift)
{
    HitShift = shift;
    hitCodes_ |= 1;
    try {
        ReCalculate(TPoint(x, y));
    } catch (...) {
        hitCodes_ &= ~std::uint64_t(1);
        throw;
    }
    hitCodes_ &= ~std::uint64_t(1);
}

void TcxCustomHitTestController::DoCalculate()
{
    TcxCustomControlViewInfo* viewInfo = controller_->EditingControl()->ViewInfo();
    for (int i = 0; i < viewInfo->CellCount(); ++i) {
        TcxEditCellViewInfo* cell = viewInfo->Cells(i);
        if (cell->Visible && cxRectPtIn(cell->VisibleBounds, HitPoint)) {
            SetHitTestItem(cell);
            return;
        }
    }
    SetHitTestItem(nullptr);
}

void TcxCustomHitTestController::SetHitTestItem(TObject* item)
{
    TObject* previous = hitTestItem_;
    hitTestItem_ = item;
    if (IsMouseEvent()) {
        TcxHotTrackController* hot = controller_->HotTrackController();
        hot->HintsAllowed = CanShowHint(item);
        hot->SetHotElement(item, HitPoint);
    }
    if (item != previous)
        HitTestItemChanged(previous);
}

bool TcxCustomHitTestController::CanShowHint(TObject*)
{
    IcxEditingControlOptions* options = controller_->EditingControl()->GetOptions();
    return options->GetOptionsBehavior()->CellHints();
}

void TcxCustomHitTestController::DestroyingItem(TObject* item)
{
    if (item == hitTestItem_) {
        hitTestItem_ = nullptr;
        ClearState();
    }
    controller_->HotTrackController()->CheckDestroyingElement(item);
}

// ---- cell navigator -----------------------------------------------------------------------------

TcxCustomInplaceEditContainer* TcxCustomCellNavigator::SelectCell(bool forward, bool nextRow, int& cell, int& row)
{
    const int startCell = cell;
    for (int guard = 0; guard < 1 << 16; ++guard) {
        for (;;) {
            TcxCustomInplaceEditContainer* item = GetCellContainer(row, cell);
            if (!item)
                break;
            if (item->CanFocus() && item->CanTabStop())
                return item;
            cell += cxIntOffs[forward];
        }
        cell = startCell;
        const int prevRow = row;
        if (controller_->GetFocusCellOnCycle() && !nextRow)
            CalcNextRow(forward, row, cell);
        if (row == prevRow)
            return nullptr;
        if (GetCount(row) == 0 && MayFocusedEmptyRow(row))
            return nullptr;
        cell = forward ? 0 : GetCount(row) - 1;
    }
    return nullptr;
}

void TcxCustomCellNavigator::FocusNextCell(bool forward, bool nextRow, TShiftState shift)
{
    int row = 0, cell = 0, rowCount = 0;
    Init(row, cell, rowCount);
    int newRow = row, newCell = cell;
    if (nextRow)
        CalcNextRow(forward, newRow, newCell);
    else
        newCell = cell + cxIntOffs[forward];
    SelectCell(forward, nextRow, newCell, newRow);
    const int count = GetCount(newRow);
    if ((newCell < 0 || newCell >= count) && !(count == 0 && MayFocusedEmptyRow(newRow))) {
        newRow = row;
        newCell = cell;
    }
    if (newRow != row || newCell != cell)
        SetFocusCell(newRow, newCell, shift);
}

void TcxCustomCellNavigator::KeyDown(std::uint16_t& key, TShiftState shift)
{
    switch (key) {
    case vkTab:
        FocusNextCell(!shift.Contains(ssShift), TabMovesRow, shift);
        key = 0;
        break;
    case vkReturn:
    case vkF2:
        if (TcxCustomInplaceEditContainer* item = controller_->FocusedItem(); item && NoShift(shift)) {
            item->SetEditing(true);
            if (controller_->EditingController()->IsEditing())
                key = 0;
        }
        break;
    case vkLeft:
    case vkRight:
        FocusNextCell(key == vkRight, false, shift);
        key = 0;
        break;
    case vkUp:
    case vkDown:
        FocusNextCell(key == vkDown, true, shift);
        key = 0;
        break;
    default:
        break;
    }
}

void TcxCustomCellNavigator::DoKeyPress(char16_t& key)
{
    if (SkipNextKeyPress)
        SkipNextKeyPress = false;
    else
        KeyPress(key);
}

void TcxCustomCellNavigator::KeyPress(char16_t& key)
{
    if (IsEditStartChar(key) && controller_->FocusedItem()) {
        controller_->EditingController()->ShowEdit(controller_->FocusedItem(), key);
        key = 0;
    }
}

// ---- control controller -------------------------------------------------------------------------

TcxCustomControlController::TcxCustomControlController(TcxEditingControl* owner) : owner_(owner) {}

TcxCustomControlController::~TcxCustomControlController()
{
    FreeAndNil(navigator_);
    FreeAndNil(editingController_);
    FreeAndNil(hotTrackController_);
    FreeAndNil(hitTestController_);
}

TcxEditingController* TcxCustomControlController::EditingController()
{
    if (!editingController_)
        editingController_ = owner_->GetEditingControllerClass().Create(this);
    return editingController_;
}

TcxCustomHitTestController* TcxCustomControlController::HitTestController()
{
    if (!hitTestController_)
        hitTestController_ = owner_->GetHitTestControllerClass().Create(this);
    return hitTestController_;
}

TcxHotTrackController* TcxCustomControlController::HotTrackController()
{
    if (!hotTrackController_)
        hotTrackController_ = owner_->GetHotTrackControllerClass().Create(owner_);
    return hotTrackController_;
}

TcxCustomCellNavigator* TcxCustomControlController::Navigator()
{
    if (!navigator_)
        navigator_ = GetNavigatorClass().Create(this);
    return navigator_;
}

TcxCustomCellNavigatorClass TcxCustomControlController::GetNavigatorClass() const
{
    return TcxCustomCellNavigatorClass::Of<TcxCustomCellNavigator>();
}

TcxCustomDataController* TcxCustomControlController::DataController() const { return owner_->DataController(); }

// --- options

bool TcxCustomControlController::GetAlwaysShowEditor()
{
    return owner_->GetOptions()->GetOptionsBehavior()->AlwaysShowEditor();
}

bool TcxCustomControlController::GetCancelEditingOnExit()
{
    const TcxDataControllerEditState state =
        DataController()->GetEditState() * TcxDataControllerEditState{dceInsert, dceChanging, dceModified};
    return owner_->GetOptions()->GetOptionsData()->CancelOnExit && state == TcxDataControllerEditState{dceInsert};
}

bool TcxCustomControlController::GetFocusCellOnCycle()
{
    return owner_->GetOptions()->GetOptionsBehavior()->FocusCellOnCycle();
}

bool TcxCustomControlController::GetGoToNextCellOnEnter()
{
    return owner_->GetOptions()->GetOptionsBehavior()->GoToNextCellOnEnter();
}

bool TcxCustomControlController::GetGoToNextCellOnTab()
{
    return owner_->GetOptions()->GetOptionsBehavior()->GoToNextCellOnTab();
}

bool TcxCustomControlController::GetImmediateEditor()
{
    TcxControlOptionsBehavior* b = owner_->GetOptions()->GetOptionsBehavior();
    return (b->ImmediateEditor() || b->AlwaysShowEditor()) && owner_->DragMode == dmManual;
}

// --- focus of items and records

void TcxCustomControlController::SetFocusedItem(TcxCustomInplaceEditContainer* item)
{
    TcxEditingController* editing = EditingController();
    if (editing->IsEditing() && editing->EditingItem() != item)
        editing->HideEdit(true);
    if (item && !item->CanFocus())
        return;
    if (item != focusedItem_) {
        TcxCustomInplaceEditContainer* prev = focusedItem_;
        focusedItem_ = item;
        FocusedItemChanged(prev);
    } else if (item)
        MakeFocusedItemVisible();
    PostCheckEdit();
}

void TcxCustomControlController::FocusedItemChanged(TcxCustomInplaceEditContainer* prevItem)
{
    if (owner_->IsLoading() || owner_->IsDestroying())
        return;
    CancelIncSearching();
    MakeFocusedItemVisible();
    TcxEditCellViewInfo* prevCell = prevItem ? GetFocusedCellViewInfo(prevItem) : nullptr;
    TcxEditCellViewInfo* cell = focusedItem_ ? GetFocusedCellViewInfo(focusedItem_) : nullptr;
    if (prevCell != cell && !SuppressCellRefresh) {
        if (prevCell) {
            prevCell->Refresh(false);
            owner_->InvalidateRect(prevCell->Bounds, false);
        }
        if (cell) {
            cell->Refresh(false);
            owner_->InvalidateRect(cell->Bounds, false);
        }
    }
    Navigator()->Refresh();
}

int TcxCustomControlController::GetFocusedRecordIndex() { return DataController()->GetFocusedRecordIndex(); }

bool TcxCustomControlController::SetFocusedRecordIndex(int recordIndex)
{
    TcxCustomDataController* dc = DataController();
    if (recordIndex < 0 || recordIndex >= dc->GetRecordCount())
        return false;
    if (!CanFocusedRecordIndex(recordIndex) || !dc->ChangeFocusedRecordIndex(recordIndex))
        return false;
    const bool result = dc->GetFocusedRecordIndex() == recordIndex;
    if (result)
        MakeFocusedRecordVisible();
    return result;
}

void TcxCustomControlController::SetFocusedRecordItem(int recordIndex, TcxCustomInplaceEditContainer* item)
{
    EditingController()->HideEdit(true);
    CheckEditAllowed = false;
    try {
        SuppressCellRefresh = recordIndex == GetFocusedRecordIndex();
        SetFocusedRecordIndex(recordIndex);
        SuppressCellRefresh = SuppressCellRefresh && item == focusedItem_;
        SetFocusedItem(item);
    } catch (...) {
        CheckEditAllowed = true;
        SuppressCellRefresh = false;
        throw;
    }
    CheckEditAllowed = true;
    CheckEdit();
    SuppressCellRefresh = false;
}

void TcxCustomControlController::FocusedRecordChanged(int, int)
{
    TcxEditingController* editing = EditingController();
    if (editing->GetHideEditOnFocusedRecordChange())
        editing->HideEdit(true);
    CheckEdit();
    editing->UpdateEditValue();
}

TcxEditCellViewInfo* TcxCustomControlController::GetFocusedCellViewInfo(TcxCustomInplaceEditContainer* item)
{
    if (!item)
        return nullptr;
    TcxCustomControlViewInfo* viewInfo = owner_->ViewInfo();
    const int record = GetFocusedRecordIndex();
    for (int i = 0; i < viewInfo->CellCount(); ++i) {
        TcxEditCellViewInfo* cell = viewInfo->Cells(i);
        if (cell->Item == item && cell->RecordIndex == record)
            return cell;
    }
    return nullptr;
}

TcxEditCellViewInfo* TcxCustomControlController::GetEditingViewInfo()
{
    return GetFocusedCellViewInfo(EditingController()->EditingItem());
}

void TcxCustomControlController::RefreshFocusedCellViewInfo(TcxCustomInplaceEditContainer* item)
{
    if (SuppressCellRefresh)
        return;
    if (TcxEditCellViewInfo* cell = GetFocusedCellViewInfo(item))
        if (cell->Refresh(true))
            owner_->LayoutChanged();
}

void TcxCustomControlController::RefreshFocusedRecord()
{
    bool heightChanged = false;
    owner_->BeginUpdate();
    try {
        for (int i = 0; i < owner_->ItemCount() && !heightChanged; ++i)
            if (TcxEditCellViewInfo* cell = GetFocusedCellViewInfo(owner_->Items(i)))
                heightChanged = cell->Refresh(true);
    } catch (...) {
        owner_->CancelUpdate();
        throw;
    }
    owner_->CancelUpdate();
    if (heightChanged && !owner_->IsLocked()) {
        owner_->BeforeUpdate();
        owner_->LayoutChanged();
    }
}

void TcxCustomControlController::UpdateRecord(int) { EditingController()->UpdateEditValue(); }

// --- edit checks

void TcxCustomControlController::CheckEdit()
{
    CheckEditPending = false;
    if (CheckEditAllowed && GetAlwaysShowEditor())
        EditingController()->ShowEdit(nullptr);
}

void TcxCustomControlController::PostCheckEdit()
{
    if (CheckEditAllowed)
        CheckEditPending = true;
}

void TcxCustomControlController::ProcessCheckEditPost()
{
    if (CheckEditPending)
        CheckEdit();
}

void TcxCustomControlController::PostShowEdit()
{
    if (!EditingController()->IsEditing() && (GetImmediateEditor() || GetAlwaysShowEditor()) &&
        owner_->DragAndDropState() == ddsNone && HitTestController()->IsItemEditCell())
        PostCheckEdit();
}

bool TcxCustomControlController::IsKeyForController(std::uint16_t key, TShiftState)
{
    if (key == vkTab)
        return GetGoToNextCellOnTab();
    return key == vkEscape || key == vkPrior || key == vkNext || (key >= vkLeft && key <= vkDown) ||
           key == vkInsert;
}

// --- keys

void TcxCustomControlController::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (!CellMovesOnly) {
        if (GetIsIncSearching())
            key = IncSearchKeyDown(key, shift);
        Navigator()->KeyDown(key, shift);
    }
    switch (key) {
    case vkTab:
        if (GetGoToNextCellOnTab() && (NoShift(shift) || OnlyShift(shift))) {
            Navigator()->FocusNextCell(NoShift(shift), Navigator()->TabMovesRow, shift);
            key = 0;
        }
        break;
    case vkReturn:
        if (GetGoToNextCellOnEnter() && (NoShift(shift) || OnlyShift(shift)))
            Navigator()->FocusNextCell(NoShift(shift), Navigator()->EnterMovesRow, shift);
        break;
    case vkEscape:
        DataController()->Cancel();
        break;
    case vkPrior:
    case vkNext:
        DoNextPage(key == vkNext, shift);
        break;
    default:
        break;
    }
}

void TcxCustomControlController::KeyPress(char16_t& key)
{
    if (SkipNextKeyPress) {
        SkipNextKeyPress = false;
        return;
    }
    TcxCustomInplaceEditContainer* item = GetItemForIncSearching();
    if (IsIncSearchStartChar(key) && item && item->CanIncSearch()) {
        const TcxDataControllerEditState state = DataController()->GetEditState();
        if (!state.Contains(dceInsert) && !state.Contains(dceEdit)) {
            if (key != vkBack) {
                std::u16string ch(1, key);
                SetIncSearchingText(GetIncSearchingText() + Utf16ToUtf8(ch));
            }
            key = 0;
        }
    }
    Navigator()->DoKeyPress(key);
}

// --- incremental search

TcxCustomInplaceEditContainer* TcxCustomControlController::GetItemForIncSearching()
{
    TcxControlOptionsBehavior* b = owner_->GetOptions()->GetOptionsBehavior();
    if (b->IncSearch() && b->IncSearchItem())
        return b->IncSearchItem();
    return focusedItem_;
}

bool TcxCustomControlController::GetIsIncSearching() { return DataController()->Search()->Searching(); }

std::string TcxCustomControlController::GetIncSearchingText() { return DataController()->Search()->SearchText(); }

TcxCustomInplaceEditContainer* TcxCustomControlController::GetIncSearchingItem()
{
    TcxDataControllerSearch* search = DataController()->Search();
    if (!search->Searching())
        return nullptr;
    const int index = search->ItemIndex();
    return index >= 0 && index < owner_->ItemCount() ? owner_->Items(index) : nullptr;
}

void TcxCustomControlController::CancelIncSearching()
{
    DataController()->Search()->Cancel();
    if (TcxEditCellViewInfo* cell = GetFocusedCellViewInfo(GetItemForIncSearching())) {
        cell->Refresh(true);
        owner_->InvalidateRect(cell->Bounds, false);
    }
}

void TcxCustomControlController::SetIncSearchingText(const std::string& text)
{
    if (text == GetIncSearchingText())
        return;
    TcxCustomInplaceEditContainer* item = GetIsIncSearching() ? GetIncSearchingItem() : GetItemForIncSearching();
    if (!item)
        return;
    if (!text.empty())
        SearchLocate(item, text);
    else
        CancelIncSearching();
    if (TcxEditCellViewInfo* cell = GetFocusedCellViewInfo(GetItemForIncSearching())) {
        cell->Refresh(true);
        owner_->InvalidateRect(cell->Bounds, false);
    }
}

void TcxCustomControlController::SearchLocate(TcxCustomInplaceEditContainer* item, const std::string& text)
{
    DataController()->Search()->Locate(item->DataItemIndex(), text);
}

void TcxCustomControlController::SearchLocateNext(TcxCustomInplaceEditContainer*, bool forward)
{
    DataController()->Search()->LocateNext(forward);
}

std::uint16_t TcxCustomControlController::IncSearchKeyDown(std::uint16_t key, TShiftState shift)
{
    TcxCustomInplaceEditContainer* item = GetItemForIncSearching();
    if (!item)
        return key;
    switch (key) {
    case vkBack: {
        std::u16string text = Utf8ToUtf16(GetIncSearchingText());
        if (!text.empty())
            text.pop_back();
        SetIncSearchingText(Utf16ToUtf8(text));
        return 0;
    }
    case vkEscape:
        CancelIncSearching();
        return 0;
    case vkUp:
    case vkDown:
        if (OnlyCtrl(shift)) {
            SearchLocateNext(item, key == vkDown);
            return 0;
        }
        return key;
    default:
        return key;
    }
}

// --- mouse

void TcxCustomControlController::BeforeMouseDown(TMouseButton, TShiftState, int, int)
{
    EditorOpenBeforePress = EditingController()->IsEditing();
}

void TcxCustomControlController::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const int prevRecord = GetFocusedRecordIndex();
    TcxCustomInplaceEditContainer* prevItem = focusedItem_;
    PressIsDoubleClick = shift.Contains(ssDouble);
    ClickOnFocusedCell = false;
    EditingController()->StopEditShowingTimer();
    TcxCustomHitTestController* hit = HitTestController();
    // A press on a part of the painted editor that reacts to the mouse (a spin button): the cell
    // is remembered by item and record, since focusing it lays the cells out anew.
    TcxCustomInplaceEditContainer* hotItem = nullptr;
    int hotRecord = -1;
    hit->RecalculateOnMouseEvent(x, y, shift);
    if (hit->IsItemEditCell()) {
        TcxEditCellViewInfo* cell = hit->GetEditCellViewInfo();
        const TPoint org = cell->GetCellOrg();
        if (cell->CellEditViewInfo && cell->CellEditViewInfo->IsHotTrack(TPoint{x - org.X, y - org.Y})) {
            hotItem = cell->Item;
            hotRecord = cell->RecordIndex;
        }
    }
    MouseDown(button, shift, x, y);
    hit->RecalculateOnMouseEvent(x, y, shift);
    if (button == mbMiddle || !hit->IsItemEditCell())
        return;
    TcxEditCellViewInfo* cell = hit->GetEditCellViewInfo();
    SetFocusedRecordItem(cell->RecordIndex, cell->Item);
    hit->RecalculateOnMouseEvent(x, y, shift);
    if (!hit->IsItemEditCell())
        return;
    cell = hit->GetEditCellViewInfo();
    const bool onHotPart = hotItem && cell->Item == hotItem && cell->RecordIndex == hotRecord;
    if (GetImmediateEditor() || onHotPart) {
        // The press goes into the editor only when it landed on such a part.
        if (button == mbLeft) {
            if (onHotPart)
                EditingController()->ShowEdit(cell->Item, shift, x, y);
            else
                EditingController()->ShowEdit(cell->Item, TShiftState{}, -1, -1);
        }
    } else {
        ClickOnFocusedCell = prevRecord == GetFocusedRecordIndex() && prevItem == focusedItem_ && focusedItem_;
        if (!ClickOnFocusedCell && focusedItem_ && GetIsIncSearching())
            CancelIncSearching();
    }
}

void TcxCustomControlController::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    MouseUp(button, shift, x, y);
    TcxCustomHitTestController* hit = HitTestController();
    TcxEditingController* editing = EditingController();
    if (ClickOnFocusedCell && !editing->IsEditing() && !PressIsDoubleClick && hit->IsItemEditCell() &&
        button == mbLeft)
        editing->StartEditShowingTimer(hit->GetEditCellViewInfo()->Item);
    hit->RecalculateOnMouseEvent(x, y, shift);
    if (!editing->IsEditing() && !PressIsDoubleClick && hit->IsItemEditCell() && GetImmediateEditor()) {
        editing->StopEditShowingTimer();
        if (button == mbLeft)
            editing->ShowEdit(hit->GetEditCellViewInfo()->Item);
    }
}

void TcxCustomControlController::DoMouseMove(TShiftState shift, int x, int y)
{
    MouseMove(shift, x, y);
    HitTestController()->RecalculateOnMouseEvent(x, y, shift);
}

void TcxCustomControlController::MouseEnter() { HitTestController()->ReCalculate(); }

void TcxCustomControlController::MouseLeave()
{
    HideHint();
    HitTestController()->RecalculateOnMouseEvent(-1, -1, {});
    HitTestController()->SetHitTestItem(nullptr);
}

void TcxCustomControlController::DoEditDblClick() { owner_->DblClick(); }

// --- focus of the control

bool TcxCustomControlController::HasFocusedControls()
{
    TcxCustomEdit* editor = EditingController()->InplaceEditor();
    return editor && editor->IsEditFocused();
}

void TcxCustomControlController::FocusChanged()
{
    TcxEditingController* editing = EditingController();
    TcxCustomEdit* editor = editing->InplaceEditor();
    const bool focused = owner_->Focused() || (editing->IsEditing() && editor && editor->IsEditFocused());
    if (focused) {
        CheckEdit();
        editor = editing->InplaceEditor();
        if (editing->IsEditing() && editor && GetAlwaysShowEditor() && !editor->IsEditFocused() &&
            editor->CanFocus())
            editor->SetFocus();
        else if (!editor || editor->IsEditFocused() || GetAlwaysShowEditor()) {
            if (GetAlwaysShowEditor() && !editing->IsEditing() && GetImmediateEditor())
                editing->ShowEdit(nullptr);
        } else
            editing->HideEdit(true);
    }
    if (focused != focused_) {
        focused_ = focused;
        ControlFocusChanged();
    }
}

void TcxCustomControlController::ControlFocusChanged()
{
    if (!focused_ && EditingController()->GetHideEditOnExit())
        EditingController()->HideEdit(true);
    owner_->ViewInfo()->UpdateSelection();
}

void TcxCustomControlController::DoExit()
{
    TcxCustomDataController* dc = DataController();
    if (GetCancelEditingOnExit())
        dc->Cancel();
    else {
        dc->PostEditingData();
        if (IsImmediatePost())
            dc->Post(false);
    }
}

bool TcxCustomControlController::MayFocus()
{
    TcxEditingController* editing = EditingController();
    if (owner_->Focused() && editing->IsEditing() && editing->InplaceEditor())
        return !(GetAlwaysShowEditor() || !editing->InplaceEditor()->ValidateEdit(true));
    return true;
}

void TcxCustomControlController::SetFocus()
{
    TcxEditingController* editing = EditingController();
    if (editing->CanRemoveEditFocus()) {
        if (owner_->CanFocusEx() && owner_->IsFocused() && !owner_->Focused())
            owner_->SetFocus();
    }
    PostCheckEdit();
}

// --- painting, layout and the rest

void TcxCustomControlController::BeforePaint() { EditingController()->CheckEditUpdatePost(); }

void TcxCustomControlController::AfterPaint() { ProcessCheckEditPost(); }

void TcxCustomControlController::BehaviorChanged() { owner_->ViewInfo()->UpdateSelection(); }

void TcxCustomControlController::Clear()
{
    HitTestController()->ClearState();
    HotTrackController()->Clear();
}

void TcxCustomControlController::Reset()
{
    EditingController()->PostEditUpdate();
    HitTestController()->ClearState();
    HitTestController()->ForgetHitTestItem();
    HotTrackController()->Clear();
}

void TcxCustomControlController::ViewInfoChanged()
{
    if (TcxCustomControlViewInfo* viewInfo = owner_->ViewInfo())
        viewInfo->IsDirty = true;
    HitTestController()->ForgetHitTestItem();
    HotTrackController()->SetHotElement(nullptr, HitTestController()->HitPoint);
}

void TcxCustomControlController::HideHint() { HotTrackController()->CancelHint(); }

void TcxCustomControlController::WndProc(TMessage& message)
{
    if (message.Msg == wmImeStartComposition)
        EditingController()->ShowEdit(nullptr);
}

} // namespace cx
