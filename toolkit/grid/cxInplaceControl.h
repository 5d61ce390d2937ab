#pragma once
// The editing control of cxInplaceContainer: the window that holds the items, its options, its
// update lock and layout, and the controllers and view info it owns. Included by
// cxInplaceContainer.h; include that one.
#include "toolkit/grid/cxInplaceContainer.h"

namespace cx {

// ---- cells and view info ------------------------------------------------------------------------

// An element the hot-track controller follows under the mouse: its origin, its hint and its hot
// state.
// {E7171E58-276E-499B-9DDF-298D850883C9}
class IcxHotTrackElement {
public:
    virtual ~IcxHotTrackElement() = default;
    // The element's top-left on the control (client coordinates).
    virtual TPoint GetOrigin() = 0;
    // Whether a hint is wanted at p; the text and where it goes (client coordinates).
    virtual bool IsNeedHint(TcxCanvas* canvas, const TPoint& p, std::string& text, bool& isMultiLine,
                            TRect& textRect, bool& atCursor) = 0;
    virtual void UpdateHotTrackState(const TPoint& p) = 0;
};

// The calculated look of one item's value in one record: where it is, where its editor goes and,
// once it is painted, the editor view data and view info that draw it without an editor control.
class TcxEditCellViewInfo : public TObject, public IcxHotTrackElement {
    RTL_CLASS(TcxEditCellViewInfo, TObject)
    TcxEditCellViewInfo(TcxCustomControlViewInfo* owner, TcxCustomInplaceEditContainer* item, int recordIndex)
        : Item(item), RecordIndex(recordIndex), owner_(owner) {}
    ~TcxEditCellViewInfo() override;
    TcxCustomControlViewInfo* Owner() const { return owner_; }
    // The content area inside borders and content offsets, where the in-place editor is placed
    // (the bounds while the cell was never clipped through CheckClipping).
    virtual TRect EditRect() const { return editRectSet_ ? editRect_ : Bounds; }
    // Recomputes the view parameters (and the layout with recalculate); true when the height
    // changed. A cell never calculated for painting has nothing to refresh.
    virtual bool Refresh(bool recalculate);
    bool IsVisiblePart() const { return Visible && !cxRectIsEmpty(VisibleBounds); }
    // Whether this is the focused item's cell in the focused record.
    virtual bool GetFocused() const;
    // Whether the editor buttons of the value show: by the item's option, else the control's.
    virtual TcxEditButtonTransparency GetButtonTransparency() const;
    TcxCustomInplaceEditContainer* Item;
    int RecordIndex;
    TRect Bounds;
    TRect VisibleBounds;
    bool Visible = true;

    // --- placing
    // Bounds, the area it may show in, the visible part, the content and the editor's rectangle.
    virtual void CheckClipping(const TRect& displayRect, const TRect& availableRect);
    // Clipped against the control view info's client bounds.
    void CheckClipping(const TRect& displayRect);
    void SetBounds(const TRect& displayRect, const TRect& availableRect);
    void UpdateEditRect() { CheckClipping(Bounds, ClipArea); }
    void Scroll(int dx, int dy);
    TRect ClipArea;
    bool IsClipped = false;
    TcxBorders Borders = 0;
    TRect ContentBounds;

    // --- calculating (lazily, when first painted)
    virtual void DoCalculate();
    void CheckVisibleInfo();
    bool DetailsCalculated = false;
    virtual TRect ContentOffset() const { return TRect{1, 1, 1, 1}; }
    virtual TPoint GetCellOrg() const { return cxNullPoint; }
    virtual Variant GetDisplayValue() const;
    virtual TcxViewParams GetEditViewParams();
    virtual int GetMaxLineCount() const;
    virtual bool IsAutoHeight() const;
    virtual bool IsEndEllipsis() const;
    // The record data the view data and the properties' events get.
    virtual void* GetViewInfoData() const { return reinterpret_cast<void*>(static_cast<std::intptr_t>(RecordIndex)); }
    // The incremental-search highlight: the cell's colours with every bit inverted.
    TColor GetSelectedTextColor() const;
    TColor GetSelectedBKColor() const;
    bool ChangedHeight(int previous, int value);
    int CalculateEditHeight();
    TcxCustomEditProperties* CellProperties = nullptr;
    TcxCustomEditViewData* CellViewData = nullptr;
    bool OwnsViewData = false;
    TcxCustomEditViewInfo* CellEditViewInfo = nullptr;   // owned
    Variant DisplayValue;
    TcxViewParams ViewParams;
    int CalculatedHeight = 0;

    // --- painting
    void Draw(TcxCanvas* canvas);
    virtual void DoDraw(TcxCanvas* canvas);
    // The canvas during Draw (null outside).
    TcxCanvas* PaintCanvas = nullptr;
    // A cell with a background bitmap draws it itself.
    virtual bool IsTransparent() const;
    bool GetTransparent() const;
    void SetTransparent(bool value);
    void Invalidate(bool recalculate);
    bool ForceTransparent = false;

    // --- hot tracking and hints
    TPoint GetOrigin() override;
    bool IsNeedHint(TcxCanvas* canvas, const TPoint& p, std::string& text, bool& isMultiLine, TRect& textRect,
                    bool& atCursor) override;
    void UpdateHotTrackState(const TPoint& p) override;
    virtual bool IsSupportedHotTrack() const;

protected:
    void FreeEditViewInfo();

private:
    TcxCustomControlViewInfo* owner_;
    TRect editRect_;
    bool editRectSet_ = false;
};

class TcxCustomControlPainter;
class TcxDragImageHelper;

// The control's computed layout: its cells (owned), recalculated by Calculate, and the look the
// painter takes from the control's styles.
class TcxCustomControlViewInfo : public TObject {
    RTL_CLASS(TcxCustomControlViewInfo, TObject)
    explicit TcxCustomControlViewInfo(TcxEditingControl* owner) : owner_(owner) {}
    ~TcxCustomControlViewInfo() override;
    TcxEditingControl* Control() const { return owner_; }
    void Calculate();
    // How often the layout was calculated (a layout pass is costly; tests count them).
    int CalculateCount() const { return calculateCount_; }
    int CellCount() const { return static_cast<int>(cells_.size()); }
    TcxEditCellViewInfo* Cells(int index) const { return cells_.at(static_cast<std::size_t>(index)); }
    TcxEditCellViewInfo* AddCell(TcxEditCellViewInfo* cell);
    // Frees one cell of this pass; a pointer not in the list is ignored.
    void RemoveCell(TcxEditCellViewInfo* cell);
    void ClearCells();
    virtual void UpdateSelection();
    // Calculates when the layout is dirty.
    void ValidateDirty();
    // True: a new layout; false: the client area painted again.
    void Invalidate(bool recalculate);
    // Made on first use from the control's painter class.
    TcxCustomControlPainter* Painter();
    bool IsDirty = true;
    bool StylesDirty = true;
    TRect ClientBounds;
    TcxViewParams BackgroundParams;
    TcxViewParams SelectionParams;
    // The height of a value cell without automatic height; measured when first asked after the
    // styles changed.
    int DefaultEditHeight();

protected:
    // Fills the cells; the base has none.
    virtual void DoCalculate() {}
    // The height of a value cell without automatic height; the base measures the first item's
    // editor with the control's font.
    virtual int CalculateDefaultEditHeight();
    // The background and selection look from the control's styles, when they changed.
    void CalculateStyles();

private:
    int calculateCount_ = 0;
    int defaultEditHeight_ = -1;
    std::vector<TcxEditCellViewInfo*> cells_;
    TcxEditingControl* owner_;
    TcxCustomControlPainter* painter_ = nullptr;
};
using TcxCustomControlViewInfoClass = TClassRef<TcxCustomControlViewInfo, TcxEditingControl*>;

// Asked before a cell is drawn; done = true leaves the cell as the handler drew it. Colours the
// handler sets on the canvas without drawing stick for the cell's own paint.
using TcxCustomDrawCellEvent =
    Event<void(TObject* sender, TcxCanvas* canvas, TcxEditCellViewInfo* cell, bool& done)>;

// Draws the view info onto the control's canvas, optionally through an off-screen bitmap.
class TcxCustomControlPainter : public TObject {
    RTL_CLASS(TcxCustomControlPainter, TObject)
    explicit TcxCustomControlPainter(TcxEditingControl* control) : control_(control) {}
    ~TcxCustomControlPainter() override;
    TcxEditingControl* Control() const { return control_; }
    TcxCustomControlViewInfo* ViewInfo() const;
    void Paint(TcxCanvas* canvas);
    // The canvas being painted (the buffer's while buffered); null outside a paint unless set.
    TcxCanvas* Canvas() const { return targetCanvas_; }
    void SetCanvas(TcxCanvas* canvas) { targetCanvas_ = canvas; }
    bool Buffered() const { return buffered_; }
    void SetBuffered(bool value);
    // How many paints went through the buffer (tests tell the two roads apart).
    int BufferedPaintCount() const { return bufferedPaints_; }

    virtual void DoPaint();
    // Every visible cell in the clip, in list order, each through the custom-draw hook.
    void PaintCells();
    virtual void DoPaintEditCell(TcxEditCellViewInfo* cell, bool excludeFromClipping = true);
    // True when the cell needs no further drawing (outside the clip, or the hook drew it).
    virtual bool DoCustomDraw(TcxEditCellViewInfo* cell);
    virtual void BeforeCustomDraw(TcxEditCellViewInfo* cell);
    virtual void AfterCustomDraw(TcxEditCellViewInfo* cell);

private:
    void DrawCell(TcxEditCellViewInfo* cell);
    TcxEditingControl* control_;
    TcxCanvas* targetCanvas_ = nullptr;
    bool buffered_ = false;
    TBitmap* bufferBitmap_ = nullptr;
    TcxCanvas* bufferCanvas_ = nullptr;
    TcxViewParams savedParams_;
    TFont* savedFont_ = nullptr;
    int bufferedPaints_ = 0;
};
using TcxCustomControlPainterClass = TClassRef<TcxCustomControlPainter, TcxEditingControl*>;

// The control's one shared edit style takes the cell's look (font, colours, button transparency)
// before the cell is calculated or the editor placed over it.
void cxAssignEditStyle(TcxEditCellViewInfo* cell);
bool cxPtInViewInfoItem(TcxEditCellViewInfo* item, const TPoint& p);

// ---- editing controller ---------------------------------------------------------------------

// Opens, places, fills and closes the one in-place editor of a control.
class TcxEditingController : public TObject {
    RTL_CLASS(TcxEditingController, TObject)
    explicit TcxEditingController(TcxCustomControlController* controller);
    ~TcxEditingController() override;
    TcxCustomControlController* Controller() const { return controller_; }
    TcxEditingControl* EditingControl() const;
    TcxInplaceEditList* EditorCache() const { return editorCache_; }
    TcxCustomEdit* InplaceEditor() const { return inplaceEditor_; }

    TcxCustomInplaceEditContainer* EditingItem() const { return editingItem_; }
    virtual void SetEditingItem(TcxCustomInplaceEditContainer* item);
    bool IsEditing() const { return editingItem_ != nullptr; }
    bool EditHiding() const { return hiding_; }
    bool EditPreparing() const { return preparing_; }
    bool ExitFailed() const { return exitFailed_; }
    // The properties the editing item edits the focused record with; null when not editing.
    TcxCustomEditProperties* GetEditingProperties();
    void ShowEdit(TcxCustomInplaceEditContainer* item = nullptr);
    void ShowEdit(TcxCustomInplaceEditContainer* item, char16_t key);
    void ShowEdit(TcxCustomInplaceEditContainer* item, TShiftState shift, int x, int y);
    virtual void HideEdit(bool accept);
    virtual void RemoveEdit(TcxCustomEditProperties* properties);
    void UpdateEdit();
    void UpdateEditValue();
    void UpdateValue();
    void PostEditUpdate() { placementPending_ = true; }
    void CancelEditUpdatePost() { placementPending_ = false; }
    void CheckEditUpdatePost();
    bool PlacementPending() const { return placementPending_; }
    void StartEditShowingTimer(TcxCustomInplaceEditContainer* item);
    void StopEditShowingTimer();
    bool EditShowingTimerActive() const { return editShowingTimer_ != nullptr; }
    bool IsDragging() const;

    virtual void AfterViewInfoCalculate();
    virtual void BeforeViewInfoCalculate() { placedInLastCalculation_ = false; }
    virtual bool CanRemoveEditFocus();
    virtual bool CanUpdateEditValue();
    virtual bool GetHideEditOnExit();
    virtual bool GetHideEditOnFocusedRecordChange();

    // The editor's hooks (the control is the sender of the events raised from them).
    virtual void EditAfterKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);
    virtual void EditChanged(TObject* sender);
    virtual void EditDblClick(TObject* sender);
    virtual void EditEditing(TObject* sender, bool& canEdit);
    virtual void EditEnter(TObject* sender);
    virtual void EditExit(TObject* sender);
    virtual void EditFocusChanged(TObject* sender);
    virtual void EditKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);
    virtual void EditKeyPress(TObject* sender, char16_t& key);
    virtual void EditKeyUp(TObject* sender, std::uint16_t& key, TShiftState shift);
    virtual void EditPostEditValue(TObject* sender) { UpdateValue(); }
    virtual void EditValueChanged(TObject* sender);

protected:
    virtual void AssignEditEvents();
    virtual void UnassignEditEvents();
    virtual void InitEdit();
    virtual bool PrepareEdit(TcxCustomInplaceEditContainer* item, bool isMouseEvent);
    void DoUpdateEdit();
    void HideInplaceEditor();
    void MoveEditOut();

private:
    void EditShowingTimerHandler(TObject* sender);
    bool askingToEdit_ = false;
    bool changingEditingItem_ = false;
    TcxCustomControlController* controller_;
    TcxCustomInplaceEditContainer* delayedShowItem_ = nullptr;
    TcxInplaceEditList* editorCache_;
    TcxCustomInplaceEditContainer* editingItem_ = nullptr;
    TcxTimer* editShowingTimer_ = nullptr;
    bool exitFailed_ = false;
    bool hiding_ = false;
    TcxCustomEdit* inplaceEditor_ = nullptr;
    bool placedInLastCalculation_ = false;
    bool placementPending_ = false;
    bool preparing_ = false;
    TNotifyEvent savedOnChange_;
    TNotifyEvent savedOnEditValueChanged_;
};
using TcxEditingControllerClass = TClassRef<TcxEditingController, TcxCustomControlController*>;

// Tracks the element under the mouse, hands it its hot state and shows its cell hint: at once when
// the element wants one, hidden again after the application's hide pause, when the mouse moves to
// another element or leaves the control.
class TcxHotTrackController : public TObject {
    RTL_CLASS(TcxHotTrackController, TObject)
    explicit TcxHotTrackController(TcxEditingControl* control);
    ~TcxHotTrackController() override;
    TcxEditingControl* Control() const { return control_; }
    void SetHotElement(TObject* element, const TPoint& p);
    void CheckDestroyingElement(TObject* element);
    void CancelHint() { InternalHideHint(); }
    void Clear()
    {
        HotElement = nullptr;
        HotPoint = cxInvalidPoint;
    }
    // Whether the hot element wants a hint now; fills HintText and HintBounds (screen).
    virtual bool HintNeeded();
    virtual bool CanShowHint();
    THintWindow* CellHintWindow();
    TcxTimer* CellHintTimer() const { return cellHintTimer_; }
    bool HintVisible() const;
    bool HintsAllowed = false;
    TObject* HotElement = nullptr;
    TPoint HotPoint = cxInvalidPoint;
    TObject* HintOwner = nullptr;
    bool HintShown = false;
    std::string HintText;
    TRect HintBounds;

protected:
    virtual void DoHideHint() {}
    virtual void DoShowHint() {}
    void InternalShowHint();
    void InternalHideHint();
    void ResetTimer();

private:
    void TimerShowHint(TObject*) { InternalShowHint(); }
    void TimerHideHint(TObject*) { InternalHideHint(); }
    TcxEditingControl* control_;
    TcxTimer* cellHintTimer_ = nullptr;
    THintWindow* cellHintWindow_ = nullptr;
    // The window the hint shows in: the own one, or one the application's OnShowHint asked for.
    THintWindow* shownHintWindow_ = nullptr;
    const rtl::TClassMeta* hintWindowClass_ = nullptr;
};
using TcxHotTrackControllerClass = TClassRef<TcxHotTrackController, TcxEditingControl*>;

// ---- hit test and navigator ---------------------------------------------------------------------

class TcxCustomHitTestController : public TObject {
    RTL_CLASS(TcxCustomHitTestController, TObject)
    explicit TcxCustomHitTestController(TcxCustomControlController* controller) : controller_(controller) {}
    TcxCustomControlController* Controller() const { return controller_; }
    void ReCalculate();
    void ReCalculate(const TPoint& p);
    void RecalculateOnMouseEvent(int x, int y, TShiftState shift);
    void ClearState() { hitCodes_ &= 1; }
    TObject* HitTestItem() const { return hitTestItem_; }
    void SetHitTestItem(TObject* item);
    void ForgetHitTestItem() { hitTestItem_ = nullptr; }
    bool IsItemEditCell() const { return GetEditCellViewInfo() != nullptr; }
    TcxEditCellViewInfo* GetEditCellViewInfo() const { return dynamic_cast<TcxEditCellViewInfo*>(hitTestItem_); }
    void DestroyingItem(TObject* item);
    TPoint HitPoint = cxInvalidPoint;
    TShiftState HitShift;
    virtual bool CanShowHint(TObject* item);
    virtual TCursor GetCurrentCursor() { return crDefault; }

protected:
    virtual void DoCalculate();
    virtual void HitTestItemChanged(TObject* previous) {}
    bool IsMouseEvent() const { return (hitCodes_ & 1) != 0; }

private:
    TcxCustomControlController* controller_;
    std::uint64_t hitCodes_ = 0;
    TObject* hitTestItem_ = nullptr;
};
using TcxCustomHitTestControllerClass = TClassRef<TcxCustomHitTestController, TcxCustomControlController*>;

// Moves the focus from cell to cell; the control supplies the rows and cells.
class TcxCustomCellNavigator : public TObject {
    RTL_CLASS(TcxCustomCellNavigator, TObject)
    explicit TcxCustomCellNavigator(TcxCustomControlController* controller) : controller_(controller) {}
    TcxCustomControlController* Controller() const { return controller_; }
    virtual void Init(int& row, int& cell, int& rowCount) { cxAbstractError(); }
    virtual int GetCount(int row) { cxAbstractError(); }
    virtual TcxCustomInplaceEditContainer* GetCellContainer(int row, int cell) { cxAbstractError(); }
    virtual void CalcNextRow(bool forward, int& row, int& cell) { cxAbstractError(); }
    virtual void SetFocusCell(int row, int cell, TShiftState shift) { cxAbstractError(); }
    virtual bool MayFocusedEmptyRow(int row) { return false; }
    virtual TcxCustomInplaceEditContainer* SelectCell(bool forward, bool nextRow, int& cell, int& row);
    virtual void DoKeyPress(char16_t& key);
    virtual void FocusNextCell(bool forward, bool nextRow, TShiftState shift);
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyPress(char16_t& key);
    virtual void Refresh() {}
    bool SkipNextKeyPress = false;
    bool EnterMovesRow = false;
    bool TabMovesRow = false;

private:
    TcxCustomControlController* controller_;
};
using TcxCustomCellNavigatorClass = TClassRef<TcxCustomCellNavigator, TcxCustomControlController*>;

// ---- control controller -------------------------------------------------------------------------

// Turns the control's input into focus moves and edits.
class TcxCustomControlController : public TObject {
    RTL_CLASS(TcxCustomControlController, TObject)
    explicit TcxCustomControlController(TcxEditingControl* owner);
    ~TcxCustomControlController() override;
    TcxEditingControl* EditingControl() const { return owner_; }
    TcxEditingController* EditingController();
    TcxCustomHitTestController* HitTestController();
    TcxHotTrackController* HotTrackController();
    TcxCustomCellNavigator* Navigator();
    TcxCustomDataController* DataController() const;
    virtual TcxCustomCellNavigatorClass GetNavigatorClass() const;

    // --- options
    virtual bool GetAlwaysShowEditor();
    virtual bool GetCancelEditingOnExit();
    virtual bool GetFocusCellOnCycle();
    virtual bool GetGoToNextCellOnEnter();
    virtual bool GetGoToNextCellOnTab();
    virtual bool GetImmediateEditor();

    // --- focus of items and records
    TcxCustomInplaceEditContainer* FocusedItem() const { return focusedItem_; }
    virtual void SetFocusedItem(TcxCustomInplaceEditContainer* item);
    virtual void FocusedItemChanged(TcxCustomInplaceEditContainer* prevItem);
    virtual int GetFocusedRecordIndex();
    virtual bool SetFocusedRecordIndex(int recordIndex);
    virtual bool CanFocusedRecordIndex(int recordIndex) { return true; }
    void SetFocusedRecordItem(int recordIndex, TcxCustomInplaceEditContainer* item);
    virtual void FocusedRecordChanged(int prevFocusedRecordIndex, int focusedRecordIndex);
    // The view info of the item's cell in the focused record; null when it has none.
    virtual TcxEditCellViewInfo* GetFocusedCellViewInfo(TcxCustomInplaceEditContainer* item);
    TcxEditCellViewInfo* GetEditingViewInfo();
    virtual void MakeFocusedItemVisible() {}
    virtual void MakeFocusedRecordVisible() {}
    virtual void RefreshFocusedCellViewInfo(TcxCustomInplaceEditContainer* item);
    virtual void RefreshFocusedRecord();
    virtual void UpdateRecord(int recordIndex);
    virtual bool IsImmediatePost() { return false; }

    // --- edit checks
    void CheckEdit();
    void PostCheckEdit();
    void ProcessCheckEditPost();
    void CancelCheckEditPost() { CheckEditPending = false; }
    void PostShowEdit();
    bool CheckEditAllowed = true;
    bool CheckEditPending = false;
    virtual void BeforeShowEdit() {}
    virtual void BeforeEditKeyDown(std::uint16_t& key, TShiftState shift) {}
    virtual bool IsKeyForController(std::uint16_t key, TShiftState shift);

    // --- keys
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyPress(char16_t& key);
    virtual void KeyUp(std::uint16_t& key, TShiftState shift) {}
    virtual void DoNextPage(bool forward, TShiftState shift) {}
    bool CellMovesOnly = false;
    bool SkipNextKeyPress = false;
    bool EscapePressed = false;

    // --- incremental search
    TcxCustomInplaceEditContainer* GetItemForIncSearching();
    virtual bool GetIsIncSearching();
    virtual std::string GetIncSearchingText();
    virtual TcxCustomInplaceEditContainer* GetIncSearchingItem();
    TcxCustomInplaceEditContainer* IncSearchingItem() { return GetIncSearchingItem(); }
    bool IsIncSearching() { return GetIsIncSearching(); }
    virtual void CancelIncSearching();
    void SetIncSearchingText(const std::string& text);
    virtual void SearchLocate(TcxCustomInplaceEditContainer* item, const std::string& text);
    virtual void SearchLocateNext(TcxCustomInplaceEditContainer* item, bool forward);
    virtual std::uint16_t IncSearchKeyDown(std::uint16_t key, TShiftState shift);

    // --- mouse
    virtual void BeforeMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseMove(TShiftState shift, int x, int y);
    virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) {}
    virtual void MouseMove(TShiftState shift, int x, int y) {}
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void DblClick() {}
    virtual void DoEditDblClick();
    bool MouseButtonDown = false;
    bool PressIsDoubleClick = false;
    bool ClickOnFocusedCell = false;
    bool EditorOpenBeforePress = false;
    bool SuppressCellRefresh = false;

    // --- focus of the control
    bool Focused() const { return focused_; }
    virtual void FocusChanged();
    virtual void ControlFocusChanged();
    virtual void DoEnter() {}
    virtual void DoExit();
    virtual bool MayFocus();
    virtual void SetFocus();
    virtual bool HasFocusedControls();
    void SetFocusedFlag(bool value) { focused_ = value; }

    // --- drag and drop and sizing (the concrete control decides what is dragged or sized)
    TObject* DragItem = nullptr;
    // Something dragged over the control, or a drag of the control's own beginning: the open
    // editor posts and closes.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void BeginDragAndDrop();
    // The control's platform drag ended: the editor open before the press opens again.
    virtual void EndDrag(TObject* target, int x, int y);
    virtual void EndDragAndDrop(bool accepted);
    // Posts and closes the editor; one that refuses its value stays open.
    void HideEditForDrag();
    // 0: horizontal, 1: vertical.
    virtual int GetResizeDirection() { return 0; }

    // --- painting, layout and the rest
    virtual void BeforePaint();
    virtual void AfterPaint();
    virtual void BehaviorChanged();
    virtual void Clear();
    virtual void Reset();
    virtual void ViewInfoChanged();
    virtual void DoCancelMode() { FocusChanged(); }
    virtual void HideHint();
    virtual TCursor GetCursor(int x, int y) { return crDefault; }
    virtual void WndProc(TMessage& message);

private:
    TcxEditingController* editingController_ = nullptr;
    bool focused_ = false;
    TcxCustomInplaceEditContainer* focusedItem_ = nullptr;
    TcxCustomHitTestController* hitTestController_ = nullptr;
    TcxHotTrackController* hotTrackController_ = nullptr;
    TcxCustomCellNavigator* navigator_ = nullptr;
    TcxEditingControl* owner_;
};
using TcxCustomControlControllerClass = TClassRef<TcxCustomControlController, TcxEditingControl*>;

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

// The control's own styles (the descendants add theirs): Content, Background, Inactive and
// Selection, with the look and feel's colours and the control's font where none is set.
inline constexpr int ecs_Background = 1, ecs_Inactive = 2, ecs_Selection = 3;

class TcxCustomControlStyles : public TcxStyles {
    RTL_CLASS(TcxCustomControlStyles, TcxStyles)
    explicit TcxCustomControlStyles(TPersistent* owner) : TcxStyles(owner) {}
    ~TcxCustomControlStyles() override;
    void Assign(TPersistent* source) override;
    void GetDefaultViewParams(int index, TObject* data, TcxViewParams& params) override;
    // DefaultStyle filled with the defaults of an index (colour, font and text colour assigned).
    TcxStyle* GetDefaultStyle(int index, TObject* data);
    TcxViewParams GetBackgroundParams();
    // Selection while the control (or its controller) has the focus, else Inactive.
    TcxViewParams GetSelectionParams();
    TcxStyle* Background() { return GetValue(ecs_Background); }
    void SetBackground(TcxStyle* value) { SetValue(ecs_Background, value); }
    TcxStyle* Content() { return GetValue(ecs_Content); }
    void SetContent(TcxStyle* value) { SetValue(ecs_Content, value); }
    TcxStyle* Inactive() { return GetValue(ecs_Inactive); }
    void SetInactive(TcxStyle* value) { SetValue(ecs_Inactive, value); }
    TcxStyle* Selection() { return GetValue(ecs_Selection); }
    void SetSelection(TcxStyle* value) { SetValue(ecs_Selection, value); }
    TcxEditingControl* EditingControl() const;

protected:
    void Changed(int index) override;

private:
    TcxStyle* defaultStyle_ = nullptr;
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
    virtual TcxCustomHitTestControllerClass GetHitTestControllerClass() const;
    virtual TcxHotTrackControllerClass GetHotTrackControllerClass() const;
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

    virtual void DoGetCellHint(TObject* hotElement, std::string& text, bool& needHint) {}

    // --- painting
    virtual TcxCustomControlPainterClass GetControlPainterClass() const;
    TcxCustomControlPainter* Painter() { return ViewInfo()->Painter(); }
    // Asks OnCustomDrawCell; true when the handler drew the cell.
    virtual bool DoCustomDrawCell(TcxCanvas* canvas, TcxEditCellViewInfo* cell);
    TcxCustomDrawCellEvent OnCustomDrawCell;
    // What the floating picture of a platform drag shows (client coordinates; none in the base)
    // and its drawing into the picture's bitmap.
    virtual TRect DragDropImageDisplayRect() { return cxNullRect; }
    virtual void DrawDragDropImage(TBitmap* image, TcxCanvas* canvas) {}
    // Whether a platform drag of the control shows a floating picture (OptionsBehavior).
    virtual bool HasDragDropImages() { return GetOptions()->GetOptionsBehavior()->DragDropImages(); }
    virtual TcxDragImageHelper* CreateDragImageHelper();
    void DoStartDrag(TDragObject*& dragObject) override;
    void DoEndDrag(TObject* target, int x, int y) override;
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
    void BeginDragAndDrop() override;
    void EndDragAndDrop(bool accepted) override;

    void Loaded() override;
    void InitControl() override;
    void BoundsChanged() override;
    void FontChanged() override;
    void FocusChanged() override;
    // The open editor is posted and closed, every item's properties take the new look, and the
    // editor opens again.
    void LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues) override;
    void WndProc(TMessage& msg) override;
    TCursor GetCursor(int x, int y) override;
    bool GetIsFocused() const override;
    bool MayFocus() const override;
    void DoCancelMode() override;
    void AfterMouseDown(TMouseButton button, int x, int y) override;
    void Scroll(TScrollBarKind kind, TScrollCode code, int& pos) override;
    void DblClick() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    void DoExit() override;
    TPoint DragStartPoint = cxNullPoint;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter(TControl* control) override;
    void MouseLeave(TControl* control) override;
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

// The view parameters of a style index from a list of styles: each of colour, font, text colour
// and bitmap comes from the first style in the list that assigns it (missing and dying styles are
// skipped); what none assigns comes from the styles' defaults. True when the list gave all four.
bool cxStylesToViewParams(TcxStyles* styles, int index, TObject* data, const std::vector<TcxStyle*>& styleList,
                          TcxViewParams& params);

namespace cxInplaceContainerUnit {
void Initialize();   // once: the value-type registry with the seven value types
void Finalize();     // once: frees the registry
} // namespace cxInplaceContainerUnit

} // namespace cx
