#pragma once
// cxVGridController: the vertical grid's hit test, cell navigator and controllers. They turn
// keys and mouse input into focus moves, expanding, sizing and row dragging.
//
// They stand beside the editing control's controller (which keeps the in-place editing) and keep
// the generic controller's share (key routing, the cell search) themselves.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/vcl/ExtCtrls.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/grid/cxInplaceDragDrop.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace cx {

class TcxvgController;

// The direction a sizing zone sizes in (rows vertically, divider and bands horizontally).
enum TcxvgSizingDirection { vgsdHorz, vgsdVert };

// Positions in the hit-code set (0 and 1 belong to the generic hit test).
enum TcxvgHitCode {
    vghcBandSizing = 4,
    vghcButton,
    vghcCaption,
    vghcDivider,
    vghcEmpty,
    vghcImage,
    vghcIndent,
    vghcRowSizing,
    vghcValue,
    vghcCustomize
};

class TcxvgHitTest : public TObject {
    RTL_CLASS(TcxvgHitTest, TObject)
    explicit TcxvgHitTest(TcxvgController* controller) : controller_(controller) {}

    void ReCalculate(const TPoint& p);
    void ReCalculate() { ReCalculate(HitPoint); }
    bool GetState(TcxvgHitCode code) const { return (codes_ >> code) & 1u; }
    void SetHitState(TcxvgHitCode code, bool value);
    bool HitAtBandSizing() const { return GetState(vghcBandSizing); }
    bool HitAtButton() const { return GetState(vghcButton); }
    bool HitAtCaption() const { return GetState(vghcCaption); }
    bool HitAtDivider() const { return GetState(vghcDivider); }
    bool HitAtEmpty() const { return GetState(vghcEmpty); }
    bool HitAtImage() const { return GetState(vghcImage); }
    bool HitAtIndent() const { return GetState(vghcIndent); }
    bool HitAtRowSizing() const { return GetState(vghcRowSizing); }
    bool HitAtValue() const { return GetState(vghcValue); }
    bool HitAtCustomize() const { return GetState(vghcCustomize); }
    bool GetHitAtRowHeader() const { return HitAtCaption() || HitAtIndent() || HitAtImage() || HitAtButton(); }

    virtual bool CanMoving();
    virtual bool CanSizing(TcxvgSizingDirection& direction);
    bool CanSizing()
    {
        TcxvgSizingDirection d;
        return CanSizing(d);
    }
    virtual TCursor GetCurrentCursor();

    TPoint HitPoint{-1, -1};
    TcxCustomRow* HitRow = nullptr;
    int HitBandIndex = -1;
    int HitCellIndex = -1;
    bool HitInControl = false;
    // The value cell under the point, as (row view info, value index).
    TcxCustomRowViewInfo* HitValueRow = nullptr;
    TcxRowValueInfo* HitValue = nullptr;

protected:
    virtual void DoCalculate();
    virtual void CalcBandsHitTest(TcxvgCustomViewInfo* viewInfo);
    // Over a shown customization form nothing of the grid is hit.
    virtual void CalcCustomizingHitTest();
    virtual bool CalcRowHeaderHitTest(TcxCustomRowViewInfo* rowViewInfo);
    virtual void CalcRowValuesHitTest(TcxCustomRowViewInfo* rowViewInfo);
    void CalcRowsHitTest();
    bool CalcRowHitTest(TcxCustomRowViewInfo* rowViewInfo);
    bool Check(const TRect& r) const { return cxRectPtIn(r, HitPoint); }
    TcxvgController* Controller() const { return controller_; }
    TcxCustomVerticalGrid* Grid() const;

private:
    TcxvgController* controller_;
    std::uint32_t codes_ = 0;
};

// Moves the focused cell. A row is an index into the layout's visible rows; the cells of a row
// number its edit containers record by record.
class TcxvgCellNavigator : public TObject {
    RTL_CLASS(TcxvgCellNavigator, TObject)
    explicit TcxvgCellNavigator(TcxvgController* controller) : controller_(controller) {}

    virtual void Init(int& row, int& cell, int& rowCount);
    virtual void CalcNextRow(bool forward, int& row, int& cell);
    virtual void FocusNextCell(bool forward, bool nextRow, TShiftState shift);
    virtual void SetFocusCell(int row, int cell, TShiftState shift);
    // Whether cell (a container of the row, any record) may take the focus.
    virtual bool IsCellAcceptable(int row, int cell);
    int GetContainerCount(int row);
    int GetCount(int row);
    TcxCustomRow* GetRow(int row);
    bool DownOnTab = true;
    bool DownOnEnter = true;

protected:
    TcxvgController* Controller() const { return controller_; }
    int RecordCount();

private:
    // The first acceptable cell of the row from start, stepping by step, at most one round of
    // the row's containers; -1 when none.
    int FindCell(int row, int start, int step, int base, int count);
    TcxvgController* controller_;
};

// The floating picture of a dragged row's header; it keeps the hit test and the grid's drag
// cursor up to date while the row is dragged.
class TcxvgDragImageHelper : public TcxDragImageHelper {
    RTL_CLASS(TcxvgDragImageHelper, TcxDragImageHelper)
    TcxvgDragImageHelper(TcxCustomVerticalGrid* grid, const TPoint& dragPos);
    // The picture follows the point (on the screen); the hit test follows it in grid
    // coordinates, the grid scrolls near its edges and the drag cursor follows the hit.
    void DragAndDrop(const TPoint& p) override;
    // Over the customization form the plain drag cursor; over a caption the row would become a
    // child, over the empty area it is appended, elsewhere in the grid it goes before the row;
    // outside the grid it cannot be dropped.
    TCursor GetCursor();

private:
    TcxCustomVerticalGrid* grid_;
};

// The editing control's controller of a grid: it keeps the in-place editing and the incremental
// search and hands the row keys to the grid controller. A grid of one record posts every edit at
// once and on every move to another value.
class TcxvgEditingKeysController : public TcxCustomControlController {
    RTL_CLASS(TcxvgEditingKeysController, TcxCustomControlController)
    using TcxCustomControlController::TcxCustomControlController;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void BeforeEditKeyDown(std::uint16_t& key, TShiftState shift) override;
    bool IsImmediatePost() override { return true; }
    // Leaving the grid drops nothing that was edited.
    bool GetCancelEditingOnExit() override;
    // Whether a move to another value posts the pending record.
    virtual bool GetPostDataOnChangeItem() { return true; }
    void FocusedItemChanged(TcxCustomInplaceEditContainer* prevItem) override;
    void MakeFocusedItemVisible() override;
    void MakeFocusedRecordVisible() override;
    // While set, focus moves leave a running incremental search alone.
    void CancelIncSearching() override;
    bool LockIncSearch = false;
};

// The multi-record grid's: a record is posted when the focus leaves it (not on every edit), an
// untouched new record is dropped when the grid loses the focus, and Left/Right take part in the
// incremental search.
class TcxvgMultiRecordsEditingKeysController : public TcxvgEditingKeysController {
    RTL_CLASS(TcxvgMultiRecordsEditingKeysController, TcxvgEditingKeysController)
    using TcxvgEditingKeysController::TcxvgEditingKeysController;
    bool IsImmediatePost() override { return false; }
    bool GetPostDataOnChangeItem() override { return false; }
    bool GetCancelEditingOnExit() override;
    std::uint16_t IncSearchKeyDown(std::uint16_t key, TShiftState shift) override;
    void FocusedRecordChanged(int prevFocusedRecordIndex, int focusedRecordIndex) override;
};

enum TcxvgResizeKind { rkNone, rkRowSizing, rkDivider, rkBandSizing };

class TcxvgController : public TObject {
    RTL_CLASS(TcxvgController, TObject)
    explicit TcxvgController(TcxCustomVerticalGrid* grid);
    ~TcxvgController() override;

    TcxCustomVerticalGrid* Grid() const { return grid_; }
    TcxvgHitTest* HitTest() const { return hitTest_.get(); }
    TcxvgCellNavigator* Navigator() const { return navigator_.get(); }
    TcxCustomRow* FocusedRow() const;
    int CellIndex() const { return FocusedRow() ? cellIndex_ : -1; }
    int GetFocusedRecordIndex();

    // Focus pipeline.
    virtual void SetFocusedRowAndCell(TcxCustomRow* row, int cellIndex);
    virtual void DoUpdateRowAndCell(TcxCustomRow* row, int cellIndex);
    virtual void MakeFocusedItemVisible();
    virtual void MakeRowVisible(TcxCustomRow* row);
    virtual void MakeRecordVisible(int recordIndex);
    // Focuses the cell of the focused row in another record (a row index of the data
    // controller); the open editor is closed, accepting its value, first.
    void FocusRecordCell(int recordIndex, int cellIndex);
    virtual void ControlFocusChanged();
    void Clear();

    // Keys.
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    void KeyPress(char16_t& key);
    virtual void DoNextPage(bool forward, TShiftState shift);
    bool SkipNextKeyPress = false;
    bool ForceShowEditor = false;
    bool MovingInsideMultiEditorRow = false;

    // Mouse.
    virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual TCursor GetCursor(int x, int y);
    bool TrackingEnabled() const { return trackingEnabled_; }
    TTimer* ScrollTimer() const { return scrollTimer_.get(); }
    void ScrollTimerTick();
    void StopTracking();
    bool WasScroll = false;

    // Sizing (row height, divider, value width).
    TcxvgResizeKind ResizeKind() const { return resizeKind_; }
    void SetResizeKind(TcxvgResizeKind kind);
    bool StartSizing(const TPoint& p);
    void DragSizing(const TPoint& p);
    void EndSizing();
    bool CanSizing(TcxvgSizingDirection direction);
    TRect GetSizingBoundsRect(TcxvgSizingDirection direction);
    int GetSizingIncrement(TcxvgSizingDirection) { return 1; }
    bool IsDynamicUpdate() { return true; }
    void SetSizeDelta(TcxvgSizingDirection direction, int delta);
    int SizingValue() const { return sizingValue_; }

    // Row drag and drop inside the grid.
    TcxCustomRow* DragRow = nullptr;
    // The dragged row's header as the picture shows it: the grid's own header of the row, or
    // the one the customization form laid out in its list (origin: that list's client origin
    // on the screen).
    TcxCustomRowViewInfo* DragImageRow = nullptr;
    TPoint DragImageOrigin{};
    bool DragFromCustomizationForm = false;
    // Scrolls the grid while a dragged row is near its top or bottom edge.
    TcxControllerAutoScrollingObject* AutoScrolling() const { return autoScrolling_.get(); }
    bool IsInternalDragging() const { return internalDragging_; }
    bool CanDrag(int x, int y);
    void StartDrag();
    bool DragOver(int x, int y);
    void DragDrop(int x, int y);
    void EndDrag();

    // Records; the single-record controller refuses all of them.
    virtual bool CanAppend(bool checkOptions) { return false; }
    virtual bool CanChangeRecord() { return false; }
    virtual bool CanDelete(bool checkOptions) { return false; }
    virtual bool CanInsert(bool checkOptions) { return false; }
    virtual void DeleteSelection() {}
    void AppendRecord();
    void InsertRecord();

protected:
    bool IsExpandable(TcxCustomRow* row) const;
    // Whether the row still belongs to the grid (rows remembered across mouse events may go).
    bool HoldsRow(TcxCustomRow* row) const;
    // Eats the next key press after a consumed key.
    void Consume(std::uint16_t& key);
    bool MultiEditorMoveAvailable(std::uint16_t key);
    TcxCustomRow* FindTrackRow(int x, int y);
    void StartScrollTimer(bool down);

private:
    TcxCustomVerticalGrid* grid_;
    UniqueObject<TcxvgHitTest> hitTest_;
    UniqueObject<TcxvgCellNavigator> navigator_;
    int cellIndex_ = -1;
    TcxvgResizeKind resizeKind_ = rkNone;
    TcxCustomRow* sizingRow_ = nullptr;
    int sizingValue_ = 0;
    TPoint sizingPos_{};
    bool trackingEnabled_ = false;
    bool scrollDown_ = false;
    UniqueObject<TTimer> scrollTimer_;
    UniqueObject<TcxControllerAutoScrollingObject> autoScrolling_;
    bool internalDragging_ = false;
    bool lockUpdate_ = false;
};

// The multi-record controller: records may be appended, inserted and deleted.
class TcxvgMultiRecordsController : public TcxvgController {
    RTL_CLASS(TcxvgMultiRecordsController, TcxvgController)
    using TcxvgController::TcxvgController;
    bool CanAppend(bool checkOptions) override;
    // Left and Right (and the records scroll bar) change the record only when allowed, and
    // always where the records stand side by side.
    bool CanChangeRecord() override { return AllowChangeRecord || MultiRecordView; }
    bool CanDelete(bool checkOptions) override;
    // While an incremental search runs, its item's value takes the focus in the found record.
    void RefreshIncSearchItem();
    bool AllowChangeRecord = true;
    bool MultiRecordView = false;
    bool CanInsert(bool checkOptions) override;
    void DeleteSelection() override;
    bool Appending = true;
    bool Inserting = true;
    bool Deleting = true;
    bool DeletingConfirmation = true;
    // Asks (text, caption) before a delete; the default shows the confirmation box.
    std::function<bool(const std::string& text, const std::string& caption)> ConfirmDelete;
};

} // namespace cx
