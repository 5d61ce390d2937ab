#include <algorithm>

#include "toolkit/grid/cxVGridController.h"
#include "toolkit/grid/cxVGridCustomizing.h"
#include "toolkit/grid/cxVGridPainter.h"

namespace cx {

// --- TcxvgHitTest ---------------------------------------------------------------------------------
TcxCustomVerticalGrid* TcxvgHitTest::Grid() const { return controller_->Grid(); }

void TcxvgHitTest::SetHitState(TcxvgHitCode code, bool value)
{
    if (value)
        codes_ |= 1u << code;
    else
        codes_ &= ~(1u << code);
}

void TcxvgHitTest::ReCalculate(const TPoint& p)
{
    HitPoint = p;
    DoCalculate();
}

void TcxvgHitTest::DoCalculate()
{
    HitRow = nullptr;
    HitValueRow = nullptr;
    HitValue = nullptr;
    HitBandIndex = -1;
    HitCellIndex = -1;
    codes_ &= 3u;
    HitInControl = cxRectPtIn(Grid()->GetClientRect(), HitPoint);
    CalcCustomizingHitTest();
    if (HitAtCustomize())
        return;
    if (HitInControl && Grid()->ViewInfo())
        CalcBandsHitTest(Grid()->ViewInfo());
}

void TcxvgHitTest::CalcCustomizingHitTest()
{
    TcxVerticalGridCustomizing* customizing = Grid()->CustomizingIfMade();
    TCustomForm* form = customizing && customizing->Visible() ? customizing->Form() : nullptr;
    if (!form || !form->Visible())
        return;
    const TPoint screen = Grid()->ClientToScreen(HitPoint);
    SetHitState(vghcCustomize, cxRectPtIn(form->BoundsRect(), screen));
}

void TcxvgHitTest::CalcBandsHitTest(TcxvgCustomViewInfo* viewInfo)
{
    const bool dividerSizing = Grid()->OptionsBehavior()->HeaderSizing && viewInfo->ShowHeaders();
    const bool bandSizing = Grid()->CanBandSizing();
    const auto& bands = viewInfo->BandRects();
    for (int i = 0; i < static_cast<int>(bands.size()); ++i) {
        const TRect& band = bands[i];
        if (i == 0 && dividerSizing) {
            const int left = band.Left + viewInfo->ViewHeaderWidth;
            const TRect zone{left, viewInfo->ClientRect().Top, left + viewInfo->DividerWidth() + 2,
                             viewInfo->ClientRect().Bottom};
            SetHitState(vghcDivider, Check(zone));
        }
        // Only the first band's edge sizes the value width (all bands share it).
        if (i == 0 && bandSizing && !HitAtDivider())
            SetHitState(vghcBandSizing, Check(viewInfo->GetBandSizeableRect(band)));
        if (Check(band)) {
            HitBandIndex = i;
            break;
        }
    }
    CalcRowsHitTest();
}

void TcxvgHitTest::CalcRowsHitTest()
{
    TcxvgCustomViewInfo* viewInfo = Grid()->ViewInfo();
    const int clientBottom = viewInfo->ClientRect().Bottom;
    for (TcxCustomRowViewInfo* rowViewInfo : viewInfo->RowsViewInfo()) {
        const TRect& r = rowViewInfo->RowRect;
        // The row's last pixel line and the grid line under it belong to the row's sizing zone,
        // so the lowest line of a row never selects the row below.
        const TRect sizing{r.Left, r.Bottom - 1, r.Right, std::min(r.Bottom + 1, clientBottom)};
        if (Grid()->OptionsBehavior()->RowSizing && rowViewInfo->Row()->Options()->CanResized && Check(sizing)) {
            HitRow = rowViewInfo->Row();
            SetHitState(vghcRowSizing, true);
            return;
        }
        if (CalcRowHitTest(rowViewInfo))
            return;
    }
    SetHitState(vghcEmpty, true);
}

bool TcxvgHitTest::CalcRowHitTest(TcxCustomRowViewInfo* rowViewInfo)
{
    TRect r = rowViewInfo->RowRect;
    r.Bottom += Grid()->ViewInfo()->HorzLineWidth();
    if (!Check(r))
        return false;
    HitRow = rowViewInfo->Row();
    if (!CalcRowHeaderHitTest(rowViewInfo) && Check(rowViewInfo->ValuesRect))
        CalcRowValuesHitTest(rowViewInfo);
    return true;
}

bool TcxvgHitTest::CalcRowHeaderHitTest(TcxCustomRowViewInfo* rowViewInfo)
{
    if (!Check(rowViewInfo->HeaderInfo()->HeaderRect))
        return false;
    TcxCustomRowHeaderInfo* header = rowViewInfo->HeaderInfo();
    if (Check(header->ButtonRect)) {
        SetHitState(vghcButton, true);
        return true;
    }
    for (int i = 0; i < header->CaptionCount(); ++i)
        if (Check(header->Captions(i)->CaptionRect)) {
            HitCellIndex = header->Captions(i)->RowCellIndex;
            SetHitState(vghcCaption, true);
            return true;
        }
    SetHitState(vghcIndent, true);
    return true;
}

void TcxvgHitTest::CalcRowValuesHitTest(TcxCustomRowViewInfo* rowViewInfo)
{
    for (int i = 0; i < rowViewInfo->ValueCount(); ++i) {
        if (!Check(rowViewInfo->ValuesInfo(i)->Bounds))
            continue;
        // A resize in progress leaves the hot cell alone.
        if (controller_->ResizeKind() == rkNone) {
            HitValueRow = rowViewInfo;
            HitValue = rowViewInfo->ValuesInfo(i);
            HitCellIndex = rowViewInfo->Row()->GetEditContainerCount() > 0 ? HitValue->RowCellIndex : -1;
        }
        SetHitState(vghcValue, true);
        return;
    }
}

bool TcxvgHitTest::CanMoving()
{
    return Grid()->DragMode == dmAutomatic && HitRow && HitRow->Options()->Moving && HitAtCaption() && !CanSizing();
}

bool TcxvgHitTest::CanSizing(TcxvgSizingDirection& direction)
{
    direction = HitAtRowSizing() ? vgsdVert : vgsdHorz;
    return HitAtRowSizing() || HitAtBandSizing() || HitAtDivider();
}

TCursor TcxvgHitTest::GetCurrentCursor()
{
    TcxvgSizingDirection direction;
    if (controller_->DragRow == nullptr && CanSizing(direction))
        return direction == vgsdHorz ? crHSplit : crVSplit;
    return crDefault;
}

// --- TcxvgCellNavigator ---------------------------------------------------------------------------
TcxCustomRow* TcxvgCellNavigator::GetRow(int row)
{
    TcxvgCustomViewInfo* viewInfo = controller_->Grid()->ViewInfo();
    if (!viewInfo || row < 0 || row >= viewInfo->GetVisibleRowCount())
        return nullptr;
    return viewInfo->GetVisibleRow(row);
}

int TcxvgCellNavigator::GetContainerCount(int row)
{
    TcxCustomRow* r = GetRow(row);
    return r ? r->GetEditContainerCount() : 0;
}

int TcxvgCellNavigator::RecordCount() { return controller_->Grid()->GetRecordCount(); }

int TcxvgCellNavigator::GetCount(int row) { return GetContainerCount(row) * RecordCount(); }

bool TcxvgCellNavigator::IsCellAcceptable(int row, int cell)
{
    TcxCustomRow* r = GetRow(row);
    const int count = GetContainerCount(row);
    if (!r || count <= 0 || cell < 0)
        return false;
    TcxCellEdit* container = r->GetEditContainer(cell % count);
    if (!container || !container->CanFocus())
        return false;
    // The editors of a multi-editor row each have their own tab stop.
    return !dynamic_cast<TcxCustomMultiEditorRow*>(r) || container->Options()->TabStop;
}

void TcxvgCellNavigator::Init(int& row, int& cell, int& rowCount)
{
    TcxvgCustomViewInfo* viewInfo = controller_->Grid()->ViewInfo();
    rowCount = viewInfo ? viewInfo->GetVisibleRowCount() : 0;
    row = -1;
    for (int i = 0; i < rowCount; ++i)
        if (viewInfo->GetVisibleRow(i) == controller_->FocusedRow())
            row = i;
    if (controller_->CellIndex() < 0)
        cell = -1;
    else
        cell = std::max(0, controller_->GetFocusedRecordIndex()) * std::max(1, GetContainerCount(row)) +
               controller_->CellIndex();
}

int TcxvgCellNavigator::FindCell(int row, int start, int step, int base, int count)
{
    // One round of the row's containers at most: a row may pass CanFocus while none of its
    // cells is acceptable, and the search must end there.
    int c = start;
    for (int i = 0; i < count; ++i, c += step) {
        if (c < base || c >= base + count)
            break;
        if (IsCellAcceptable(row, c))
            return c;
    }
    return -1;
}

void TcxvgCellNavigator::CalcNextRow(bool forward, int& row, int& cell)
{
    const int s = forward ? 1 : -1;
    const int record = controller_->GetFocusedRecordIndex();
    if (controller_->MovingInsideMultiEditorRow && cell >= 0) {
        const int count = GetContainerCount(row);
        for (int c = count > 0 ? cell % count + s : -1; c >= 0 && c < count; c += s)
            if (IsCellAcceptable(row, c)) {
                cell = c + count * std::max(0, record);
                return;
            }
    }
    int rowCount = 0, dummyRow = 0, dummyCell = 0;
    Init(dummyRow, dummyCell, rowCount);
    int r = row + s;
    for (;; r += s) {
        if (r < 0 || r >= rowCount)
            return;
        TcxCustomRow* candidate = GetRow(r);
        if (candidate->CanFocus() && candidate->Options()->TabStop)
            break;
    }
    row = r;
    const int count = GetContainerCount(row);
    if (count == 0 || record < 0)
        return;
    const int base = count * record;
    int found;
    if (count < 2 || controller_->MovingInsideMultiEditorRow || forward)
        found = FindCell(row, base, 1, base, count);
    else
        found = FindCell(row, base + count - 1, -1, base, count);
    cell = found >= 0 ? found : base;
}

void TcxvgCellNavigator::FocusNextCell(bool forward, bool nextRow, TShiftState shift)
{
    int row = -1, cell = -1, rowCount = 0;
    Init(row, cell, rowCount);
    const int startRow = row, startCell = cell;
    if (nextRow)
        CalcNextRow(forward, row, cell);
    else {
        const int s = forward ? 1 : -1;
        const int count = GetCount(row);
        cell += s;
        for (int i = 0; i < count && cell >= 0 && cell < count && !IsCellAcceptable(row, cell); ++i)
            cell += s;
    }
    const int count = GetCount(row);
    if (row < 0 || (count > 0 && (cell < 0 || cell >= count))) {
        row = startRow;
        cell = startCell;
    }
    if (row == startRow && cell == startCell)
        return;
    SetFocusCell(row, cell, shift);
}

void TcxvgCellNavigator::SetFocusCell(int row, int cell, TShiftState)
{
    TcxCustomRow* target = GetRow(row);
    if (!target)
        return;
    const int count = GetContainerCount(row);
    const int record = controller_->GetFocusedRecordIndex();
    if (target == controller_->FocusedRow() && count > 0) {
        const int b = cell / count, n = cell % count;
        if (record < 0 || b == record) {
            controller_->SetFocusedRowAndCell(target, n);
            return;
        }
        // Another record: the first value from n that takes the focus, towards the record's
        // start when going back and towards its end when going on.
        const int step = b < record ? -1 : 1;
        for (int c = n; c >= 0 && c < count; c += step) {
            TcxCellEdit* container = target->GetEditContainer(c);
            if (container && container->CanFocus()) {
                controller_->FocusRecordCell(b, c);
                return;
            }
        }
        return;
    }
    if (record < 0 && RecordCount() > 0)
        controller_->Grid()->DataController()->ChangeFocusedRowIndex(0);
    controller_->SetFocusedRowAndCell(target, count > 0 ? cell % count : cell);
}

// --- TcxvgDragImageHelper -------------------------------------------------------------------------
TcxvgDragImageHelper::TcxvgDragImageHelper(TcxCustomVerticalGrid* grid, const TPoint& dragPos)
    : TcxDragImageHelper(grid, dragPos), grid_(grid)
{
}

void TcxvgDragImageHelper::DragAndDrop(const TPoint& p)
{
    TcxDragImageHelper::DragAndDrop(p);
    TcxvgController* controller = grid_->GridController();
    const TPoint local = grid_->ScreenToClient(p);
    controller->HitTest()->ReCalculate(local);
    if (controller->AutoScrolling() && !controller->HitTest()->HitAtCustomize())
        controller->AutoScrolling()->CheckBounds(local);
    grid_->DragCursor = GetCursor();
}

TCursor TcxvgDragImageHelper::GetCursor()
{
    TcxvgHitTest* hit = grid_->GridController()->HitTest();
    if (hit->HitAtCustomize())
        return crDrag;
    if (!hit->HitInControl)
        return crcxVGridNoDrag;
    if (hit->HitAtCaption())
        return crcxVGridAddChild;
    if (hit->HitAtEmpty())
        return crcxVGridAdd;
    return crcxVGridInsert;
}

} // namespace cx
