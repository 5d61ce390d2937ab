#include "toolkit/grid/cxVGridController.h"

#include <algorithm>

#include "platform/vcl/Dialogs.h"
#include "toolkit/controls/cxControls.h"

namespace cx {

namespace {

bool NoShift(TShiftState shift) { return !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt); }

bool OnlyCtrl(TShiftState shift) { return shift.Contains(ssCtrl) && !shift.Contains(ssShift) && !shift.Contains(ssAlt); }

bool OnlyShift(TShiftState shift) { return shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt); }

bool IsPasteKey(std::uint16_t key, TShiftState shift)
{
    return (key == 'V' && OnlyCtrl(shift)) || (key == VK_INSERT && OnlyShift(shift));
}

// The focused row has a value with an editor kind, and no editor is open yet.
bool CanOpenEditor(TcxCustomVerticalGrid* grid)
{
    TcxCustomInplaceEditContainer* item = grid->Controller()->FocusedItem();
    return item && !grid->GetIsEditing() && item->DoGetEditProperties(nullptr) != nullptr;
}

} // namespace

namespace {

// The editing control's generic controller knows no rows: the keys an in-place editor leaves to
// its host (Tab, Up, Down, PgUp, PgDn) go to the grid controller, which moves the focused row and
// so posts or keeps the edited value as a row change does. Esc and Enter keep their generic way.
class TcxvgEditingKeysController : public TcxCustomControlController {
    RTL_CLASS(TcxvgEditingKeysController, TcxCustomControlController)
    using TcxCustomControlController::TcxCustomControlController;
    void KeyDown(std::uint16_t& key, TShiftState shift) override
    {
        auto* grid = dynamic_cast<TcxCustomVerticalGrid*>(EditingControl());
        const bool rowKey = key == VK_TAB || key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
        if (grid && rowKey && !CellMovesOnly) {
            grid->GridController()->KeyDown(key, shift);
            return;
        }
        TcxCustomControlController::KeyDown(key, shift);
    }
};

} // namespace

TcxCustomControlControllerClass TcxCustomVerticalGrid::GetControllerClass() const
{
    return TcxCustomControlControllerClass::Of<TcxvgEditingKeysController>();
}

// --- the grid's input hooks -----------------------------------------------------------------------
TcxvgController* TcxCustomVerticalGrid::GridController()
{
    if (!controller_)
        controller_.reset(CreateGridController());
    return static_cast<TcxvgController*>(controller_.get());
}

void TcxCustomVerticalGrid::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxControl::KeyDown(key, shift);
    if (key != 0)
        GridController()->KeyDown(key, shift);
}

void TcxCustomVerticalGrid::KeyPress(char16_t& key)
{
    GridController()->KeyPress(key);
    if (key != 0)
        TcxControl::KeyPress(key);
    // A character typed on a row opens the row's editor with it.
    if (key >= 32 && key != 127 && CanOpenEditor(this)) {
        ShowEditByKey(key);
        key = 0;
    }
}

void TcxCustomVerticalGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxControl::MouseDown(button, shift, x, y);
    GridController()->DoMouseDown(button, shift, x, y);
    // A left press on a value opens its editor at once when the options ask for it.
    TcxvgHitTest* hit = GridController()->HitTest();
    if (button == mbLeft && !shift.Contains(ssDouble) && hit->HitAtValue() && hit->HitRow &&
        hit->HitRow == GetFocusedRow() && CanOpenEditor(this) && Controller()->GetImmediateEditor())
        ShowEditByMouse(x, y, shift);
}

void TcxCustomVerticalGrid::MouseMove(TShiftState shift, int x, int y)
{
    TcxControl::MouseMove(shift, x, y);
    GridController()->MouseMove(shift, x, y);
}

void TcxCustomVerticalGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    GridController()->DoMouseUp(button, shift, x, y);
    TcxControl::MouseUp(button, shift, x, y);
}

void TcxCustomVerticalGrid::DoEnter()
{
    TcxControl::DoEnter();
    GridController()->ControlFocusChanged();
}

TCursor TcxCustomVerticalGrid::GetCursor(int x, int y)
{
    const TCursor cursor = GridController()->GetCursor(x, y);
    return cursor != crDefault ? cursor : TcxControl::GetCursor(x, y);
}

TcxvgController* TcxCustomVerticalGrid::CreateGridController() { return new TcxvgController(this); }

// --- TcxvgController ------------------------------------------------------------------------------
TcxvgController::TcxvgController(TcxCustomVerticalGrid* grid)
    : grid_(grid), hitTest_(new TcxvgHitTest(this)), navigator_(new TcxvgCellNavigator(this))
{
}

TcxvgController::~TcxvgController() { StopTracking(); }

TcxCustomRow* TcxvgController::FocusedRow() const { return grid_->GetFocusedRow(); }

int TcxvgController::GetFocusedRecordIndex() { return grid_->DataController()->GetFocusedRowIndex(); }

void TcxvgController::SetFocusedRowAndCell(TcxCustomRow* row, int cellIndex)
{
    if (grid_->ComponentState().Contains(csDesigning) || (row && !row->CanFocus()))
        return;
    const int count = row ? row->GetEditContainerCount() : 0;
    if (cellIndex < 0 || cellIndex >= count)
        cellIndex = 0;
    if (row == FocusedRow() && cellIndex == cellIndex_)
        return;
    DoUpdateRowAndCell(row, cellIndex);
}

void TcxvgController::DoUpdateRowAndCell(TcxCustomRow* row, int cellIndex)
{
    TcxCustomRow* oldRow = FocusedRow();
    const int oldCell = CellIndex();
    cellIndex_ = row ? cellIndex : -1;
    if (row != oldRow)
        grid_->SetFocusedRow(row);   // raises the item-changed notice
    else if (cellIndex_ != oldCell)
        grid_->DoItemChanged(oldRow, oldCell);
    MakeFocusedItemVisible();
    grid_->Invalidate();
}

void TcxvgController::MakeFocusedItemVisible()
{
    if (!lockUpdate_ && FocusedRow())
        grid_->Scroller()->SetRowVisible(FocusedRow());
}

void TcxvgController::MakeRowVisible(TcxCustomRow* row)
{
    if (!row)
        return;
    if (!grid_->IsRowVisible(row)) {
        grid_->BeginUpdate();
        for (TcxCustomRow* p = row->ParentRow(); p && p != grid_->Root(); p = p->ParentRow()) {
            p->SetVisible(true);
            p->SetExpanded(true);
        }
        grid_->EndUpdate();
    }
    grid_->Scroller()->SetRowVisible(row);
}

void TcxvgController::ControlFocusChanged()
{
    if (!FocusedRow() && grid_->ViewInfo())
        for (int i = 0; i < grid_->ViewInfo()->GetVisibleRowCount(); ++i)
            if (grid_->ViewInfo()->GetVisibleRow(i)->CanFocus()) {
                SetFocusedRowAndCell(grid_->ViewInfo()->GetVisibleRow(i), 0);
                break;
            }
    grid_->Invalidate();
}

void TcxvgController::Clear()
{
    StopTracking();
    DoUpdateRowAndCell(nullptr, -1);
}

// --- keys -------------------------------------------------------------------------------------------
bool TcxvgController::IsExpandable(TcxCustomRow* row) const
{
    return row && grid_->OptionsView()->ShowButtons() && row->Options()->ShowExpandButton() && row->HasChildren();
}

void TcxvgController::Consume(std::uint16_t& key)
{
    key = 0;
    SkipNextKeyPress = true;
}

bool TcxvgController::MultiEditorMoveAvailable(std::uint16_t key)
{
    // Multi-editor rows carry no editors yet, so no editor lies left or right of the focus.
    return false;
}

void TcxvgController::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxvgOptionsBehavior* behavior = grid_->OptionsBehavior();
    ForceShowEditor = key == VK_RETURN && behavior->GoToNextCellOnEnter();
    MovingInsideMultiEditorRow = dynamic_cast<TcxCustomMultiEditorRow*>(FocusedRow()) &&
                                 FocusedRow()->GetEditContainerCount() > 0 &&
                                 (ForceShowEditor || (key == VK_TAB && behavior->GoToNextCellOnTab()));
    TcxCustomRow* row = FocusedRow();
    // A paste on a value whose editor is closed opens the editor and pastes into it, as a typed
    // character opens it with that character. Ctrl+V's character follows the key to the focused
    // editor, which pastes it; Shift+Insert brings none, so its paste is made here.
    if (IsPasteKey(key, shift) && CanOpenEditor(grid_)) {
        grid_->ShowEdit();
        if (TcxCustomEdit* edit = grid_->GetInplaceEditor()) {
            edit->SelectAll();  // the pasted text takes the value's place
            if (key == VK_INSERT)
                edit->PasteFromClipboard();
            key = 0;
        }
        return;
    }
    if ((key == VK_LEFT || key == VK_RIGHT) && !MultiEditorMoveAvailable(key) && !CanChangeRecord()) {
        if (IsExpandable(row))
            row->SetExpanded(key == VK_RIGHT);
        Consume(key);
        return;
    }
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        navigator_->FocusNextCell(key == VK_DOWN, true, shift);
        key = 0;
        return;
    case VK_TAB:
        // Without moving on Tab the key leaves the grid for the next control.
        if (behavior->GoToNextCellOnTab()) {
            navigator_->FocusNextCell(!shift.Contains(ssShift), true, shift);
            key = 0;
        }
        return;
    case VK_RETURN:
        if (ForceShowEditor && NoShift(shift)) {
            TcxCustomRow* before = FocusedRow();
            navigator_->FocusNextCell(true, true, shift);
            key = 0;
            // Moving on with Enter opens the next row's editor at once.
            if (FocusedRow() != before && FocusedRow() && FocusedRow()->GetEditContainerCount() > 0)
                grid_->ShowEdit();
        }
        return;
    case VK_F2:
        // F2 opens the focused value's editor. Plain Enter does not: in a dialog Enter with no
        // editor open is the dialog's own key (its default button).
        if (NoShift(shift) && CanOpenEditor(grid_)) {
            grid_->ShowEdit();
            if (grid_->GetIsEditing())
                key = 0;
        }
        return;
    case VK_PRIOR:
    case VK_NEXT:
        DoNextPage(key == VK_NEXT, shift);
        key = 0;
        return;
    case VK_INSERT:
        if (NoShift(shift) && CanInsert(true)) {
            InsertRecord();
            key = 0;
        }
        return;
    case VK_DELETE:
        if ((NoShift(shift) || OnlyCtrl(shift)) && CanDelete(true)) {
            DeleteSelection();
            key = 0;
        }
        return;
    case VK_MULTIPLY:
        if (IsExpandable(row)) {
            row->Expand(true);
            Consume(key);
        }
        return;
    case VK_ADD:
    case VK_SUBTRACT:
        if (IsExpandable(row)) {
            row->SetExpanded(key == VK_ADD);
            Consume(key);
        }
        return;
    default: return;
    }
}

void TcxvgController::KeyPress(char16_t& key)
{
    if (SkipNextKeyPress) {
        SkipNextKeyPress = false;
        key = 0;
    }
}

void TcxvgController::DoNextPage(bool forward, TShiftState shift)
{
    TcxvgCustomViewInfo* viewInfo = grid_->ViewInfo();
    const int count = viewInfo ? viewInfo->GetVisibleRowCount() : 0;
    if (count == 0)
        return;
    int target;
    if (shift.Contains(ssCtrl))
        target = forward ? count - 1 : 0;
    else {
        int index = 0;
        for (int i = 0; i < count; ++i)
            if (viewInfo->GetVisibleRow(i) == FocusedRow())
                index = i;
        const int page = std::max(1, grid_->Scroller()->GetVisibleRowCount());
        target = std::clamp(index + (forward ? page : -page), 0, count - 1);
    }
    SetFocusedRowAndCell(viewInfo->GetVisibleRow(target), 0);
    MakeFocusedItemVisible();
}

// --- mouse --------------------------------------------------------------------------------------------
void TcxvgController::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    hitTest_->ReCalculate(TPoint{x, y});
    if (button == mbLeft && hitTest_->CanSizing() && StartSizing(TPoint{x, y}))
        return;
    const int top = grid_->Scroller()->GetTopVisibleRowIndex();
    MouseDown(button, shift, x, y);
    WasScroll = top != grid_->Scroller()->GetTopVisibleRowIndex();
    hitTest_->ReCalculate(TPoint{x, y});
    trackingEnabled_ = !(button != mbLeft || grid_->DragMode == dmAutomatic || WasScroll || hitTest_->HitAtEmpty() ||
                         hitTest_->HitAtButton() || !grid_->OptionsBehavior()->RowTracking);
    DragRow = hitTest_->CanMoving() && !trackingEnabled_ ? hitTest_->HitRow : nullptr;
}

void TcxvgController::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxCustomRow* row = hitTest_->HitRow;
    if (!row)
        return;
    bool expandClick = row->Options()->ShowExpandButton() &&
                       (hitTest_->HitAtButton() ||
                        (shift.Contains(ssDouble) && hitTest_->HitAtCaption() && row->HasVisibleChildren()));
    if (resizeKind_ == rkNone && row->CanFocus()) {
        int cell = hitTest_->HitCellIndex >= 0 ? hitTest_->HitCellIndex : row != FocusedRow() ? 0 : cellIndex_;
        SetFocusedRowAndCell(row, cell);
        expandClick = expandClick && row->VerticalGrid() == grid_;
    }
    if (!expandClick)
        return;
    row->SetExpanded(!row->Expanded());
    if (row->Expanded())
        grid_->Scroller()->SetRowMaxVisible(row);
    else if (FocusedRow() && !grid_->IsRowVisible(FocusedRow())) {
        TcxCustomRow* ancestor = FocusedRow()->ParentRow();
        while (ancestor && ancestor != grid_->Root() && !grid_->IsRowVisible(ancestor))
            ancestor = ancestor->ParentRow();
        if (ancestor == grid_->Root() || (ancestor && !ancestor->CanFocus()))
            ancestor = nullptr;
        DoUpdateRowAndCell(ancestor, 0);
    }
}

TcxCustomRow* TcxvgController::FindTrackRow(int x, int y)
{
    if (hitTest_->HitRow)
        return hitTest_->HitRow->CanFocus() ? hitTest_->HitRow : nullptr;
    for (TcxCustomRowViewInfo* rowViewInfo : grid_->ViewInfo()->RowsViewInfo()) {
        const TRect& r = rowViewInfo->RowRect;
        if (cxRectPtIn(r, x, y) || (y >= r.Top && y < r.Bottom && rowViewInfo->Row()->CanFocus()))
            return rowViewInfo->Row();
    }
    return nullptr;
}

void TcxvgController::MouseMove(TShiftState shift, int x, int y)
{
    if (resizeKind_ != rkNone) {
        DragSizing(TPoint{x, y});
        return;
    }
    if (!trackingEnabled_ || !shift.Contains(ssLeft) || grid_->IsLocked() || !grid_->ViewInfo())
        return;
    hitTest_->ReCalculate(TPoint{x, y});
    if (TcxCustomRow* row = FindTrackRow(x, y)) {
        if (scrollTimer_)
            scrollTimer_->SetEnabled(false);
        SetFocusedRowAndCell(row, hitTest_->HitCellIndex);
        return;
    }
    const TRect client = grid_->ViewInfo()->ClientRect();
    if (y <= client.Top)
        StartScrollTimer(false);
    else if (y >= client.Bottom)
        StartScrollTimer(true);
}

void TcxvgController::StartScrollTimer(bool down)
{
    scrollDown_ = down;
    if (!scrollTimer_) {
        scrollTimer_.reset(new TTimer(nullptr));
        scrollTimer_->SetInterval(5);
        scrollTimer_->SetOnTimer(TNotifyEvent([this](TObject*) { ScrollTimerTick(); }));
    }
    scrollTimer_->SetEnabled(true);
}

void TcxvgController::ScrollTimerTick()
{
    TcxCustomRow* row = FocusedRow();
    if (!row)
        return;
    TcxCustomRow* next = scrollDown_ ? grid_->NextVisibleRow(row) : grid_->PrevVisibleRow(row);
    if (next)
        SetFocusedRowAndCell(next, cellIndex_);
}

void TcxvgController::StopTracking()
{
    trackingEnabled_ = false;
    scrollTimer_.reset();
}

void TcxvgController::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (resizeKind_ != rkNone)
        EndSizing();
    StopTracking();
}

TCursor TcxvgController::GetCursor(int x, int y)
{
    if (grid_->ComponentState().Contains(csDesigning))
        return crDefault;
    if (resizeKind_ != rkNone)
        return resizeKind_ == rkRowSizing ? crVSplit : crHSplit;
    if (hitTest_->HitPoint != TPoint{x, y})
        hitTest_->ReCalculate(TPoint{x, y});
    return hitTest_->GetCurrentCursor();
}

// --- sizing ---------------------------------------------------------------------------------------
void TcxvgController::SetResizeKind(TcxvgResizeKind kind)
{
    resizeKind_ = kind;
    sizingRow_ = nullptr;
    switch (kind) {
    case rkRowSizing:
        sizingRow_ = hitTest_->HitRow;
        if (TcxCustomRowViewInfo* rowViewInfo = grid_->ViewInfo()->GetRowViewInfo(sizingRow_))
            sizingValue_ = rowViewInfo->RowRect.Height();
        else
            sizingValue_ = sizingRow_ ? sizingRow_->GetRealHeight() : 0;
        break;
    case rkDivider: sizingValue_ = grid_->OptionsView()->RowHeaderWidth(); break;
    case rkBandSizing: sizingValue_ = grid_->OptionsView()->ValueWidth(); break;
    case rkNone: break;
    }
}

bool TcxvgController::StartSizing(const TPoint& p)
{
    TcxvgSizingDirection direction;
    if (!hitTest_->CanSizing(direction))
        return false;
    SetResizeKind(direction == vgsdVert ? rkRowSizing : hitTest_->HitAtDivider() ? rkDivider : rkBandSizing);
    sizingPos_ = p;
    return true;
}

void TcxvgController::DragSizing(const TPoint& p)
{
    TcxvgSizingDirection direction = resizeKind_ == rkRowSizing ? vgsdVert : vgsdHorz;
    const TRect bounds = GetSizingBoundsRect(direction);
    TPoint q{std::clamp(p.X, bounds.Left, bounds.Right), std::clamp(p.Y, bounds.Top, bounds.Bottom)};
    const int delta = direction == vgsdVert ? q.Y - sizingPos_.Y : q.X - sizingPos_.X;
    if (delta == 0)
        return;
    sizingPos_ = q;
    SetSizeDelta(direction, delta);
}

void TcxvgController::EndSizing() { SetResizeKind(rkNone); }

bool TcxvgController::CanSizing(TcxvgSizingDirection direction)
{
    TcxvgSizingDirection hit;
    return hitTest_->CanSizing(hit) && hit == direction;
}

TRect TcxvgController::GetSizingBoundsRect(TcxvgSizingDirection)
{
    TRect r = grid_->ViewInfo()->ClientRect();
    r.Bottom -= 1;
    return r;
}

void TcxvgController::SetSizeDelta(TcxvgSizingDirection, int delta)
{
    sizingValue_ += delta;
    switch (resizeKind_) {
    case rkRowSizing:
        if (HoldsRow(sizingRow_))
            sizingRow_->SetHeight(std::max(sizingValue_, grid_->ViewInfo()->GetMinRowHeight()));
        break;
    case rkDivider: grid_->ViewInfo()->SetDividerPos(sizingValue_); break;
    case rkBandSizing: grid_->ViewInfo()->SetValueWidth(sizingValue_); break;
    case rkNone: return;
    }
    grid_->Modified();
}

// --- row drag and drop ----------------------------------------------------------------------------
bool TcxvgController::CanDrag(int x, int y)
{
    hitTest_->ReCalculate(TPoint{x, y});
    return !WasScroll && hitTest_->CanMoving();
}

void TcxvgController::StartDrag() { DragRow = DragRow ? DragRow : hitTest_->HitRow; }

bool TcxvgController::HoldsRow(TcxCustomRow* row) const
{
    return row && grid_->Rows()->IndexOf(row) >= 0;
}

bool TcxvgController::DragOver(int x, int y)
{
    // The dragged row may have gone while the mouse moved.
    if (!HoldsRow(DragRow)) {
        DragRow = nullptr;
        return false;
    }
    hitTest_->ReCalculate(TPoint{x, y});
    TcxCustomRow* target = hitTest_->HitRow;
    if (hitTest_->HitAtEmpty())
        return true;
    // A row never goes below itself: dropping on a descendant would make a cycle.
    return hitTest_->GetHitAtRowHeader() && target && target != DragRow && !DragRow->IsParent(target);
}

void TcxvgController::DragDrop(int x, int y)
{
    if (!DragOver(x, y))
        return;
    TcxCustomRow* target = hitTest_->HitRow;
    grid_->BeginUpdate();
    if (hitTest_->HitAtEmpty()) {
        DragRow->SetParent(grid_->Root());
        DragRow->SetIndex(grid_->Root()->GetCount() - 1);
    } else if (hitTest_->HitAtCaption()) {
        DragRow->SetParent(target);
        DragRow->SetIndex(target->Index());
    } else {
        DragRow->SetParent(target->ParentRow());
        DragRow->SetIndex(target->Index());
    }
    grid_->EndUpdate();
    MakeRowVisible(DragRow);
}

void TcxvgController::EndDrag()
{
    DragRow = nullptr;
    StopTracking();
}

// --- records --------------------------------------------------------------------------------------
void TcxvgController::AppendRecord()
{
    if (!CanAppend(false))
        return;
    grid_->DataController()->Append();
}

void TcxvgController::InsertRecord()
{
    if (!CanInsert(false))
        return;
    grid_->DataController()->Insert();
}

bool TcxvgMultiRecordsController::CanAppend(bool checkOptions)
{
    return Grid()->DataController()->GetEditOperations().Contains(dceoAppend) && (!checkOptions || Appending);
}

bool TcxvgMultiRecordsController::CanInsert(bool checkOptions)
{
    return Grid()->DataController()->GetEditOperations().Contains(dceoInsert) && (!checkOptions || Inserting);
}

bool TcxvgMultiRecordsController::CanDelete(bool checkOptions)
{
    TcxDataController* data = Grid()->DataController();
    return data->GetEditOperations().Contains(dceoDelete) && (!checkOptions || Deleting) && data->GetRowCount() > 0;
}

void TcxvgMultiRecordsController::DeleteSelection()
{
    if (!CanDelete(false))
        return;
    if (DeletingConfirmation) {
        const std::string text = LoadResString(&cxSvgDeletingFocusedConfirmationText);
        const std::string caption = LoadResString(&cxSvgDeletingConfirmationCaption);
        const bool confirmed = ConfirmDelete ? ConfirmDelete(text, caption)
                                             : cxMessageDlg(text, caption, mtConfirmation, {mbYes, mbNo}, 0) == mrYes;
        if (!confirmed)
            return;
    }
    Grid()->DataController()->DeleteFocused();
}

} // namespace cx
