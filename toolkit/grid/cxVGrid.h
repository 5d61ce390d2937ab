#pragma once
// cxVGrid: the vertical grid's model: the row tree and its rows, their options and caption
// properties, the flat row list, the bands list, the scroll strategies and the scroller, the
// grid's options and the grid classes. Layout lives in cxVGridViewInfo.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Filer.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxStorage.h"
#include "toolkit/data/cxData.h"
#include "toolkit/editors/cxControls.h"
#include "toolkit/grid/cxVGridConsts.h"

class TcxCanvas;
struct TcxViewParams;

namespace cx {

class TcxCustomVerticalGrid;
class TcxCustomRow;
class TcxCategoryRow;
class TcxVerticalGridRows;
class TcxvgScroller;
class TcxvgCustomViewInfo;
class TcxCustomRowViewInfo;
class TcxCustomRowHeaderInfo;
class TcxvgCustomPaintStyleCalcHelper;
class TcxvgPainter;
class TcxvgController;

enum TcxvgPaintStyle { psdotNet, psDelphi };
enum TcxvgGridLines { vglNone, vglHorizontal, vglVertical, vglBoth };
enum TcxvgUnboundLayoutStyle { ulsBandsView, ulsSingleRecordView };
enum TSeparatorKind { skVertLine, skString };

using TcxCustomRowClass = TClassRef<TcxCustomRow, TComponent*>;
using TcxvgCustomPaintStyleCalcHelperClass = TClassRef<TcxvgCustomPaintStyleCalcHelper, TcxvgCustomViewInfo*>;
using TcxvgPainterClass = TClassRef<TcxvgPainter, TcxCanvas*, TcxCustomVerticalGrid*>;

// --- row options ----------------------------------------------------------------------------------
class TcxRowOptions : public TPersistent {
    RTL_CLASS(TcxRowOptions, TPersistent)
    explicit TcxRowOptions(TcxCustomRow* row) : row_(row) {}
    void Assign(TPersistent* source) override;
    virtual void Changed();
    virtual void RestoreDefaults();
    TPersistent* GetOwner() override;
    TcxCustomRow* Row() const { return row_; }

    bool CanAutoHeight() const { return canAutoHeight_; }
    void SetCanAutoHeight(bool value) { SetNotifying(canAutoHeight_, value); }
    bool CanMovedToCustomizationForm = true;
    bool CanResized = true;
    bool Focusing() const { return focusing_; }
    void SetFocusing(bool value) { SetNotifying(focusing_, value); }
    bool Moving = true;
    bool ShowExpandButton() const { return showExpandButton_; }
    void SetShowExpandButton(bool value) { SetNotifying(showExpandButton_, value); }
    bool ShowInCustomizationForm() const { return showInCustomizationForm_; }
    void SetShowInCustomizationForm(bool value) { SetNotifying(showInCustomizationForm_, value); }
    bool TabStop = true;

private:
    void SetNotifying(bool& field, bool value);
    TcxCustomRow* row_;
    bool canAutoHeight_ = true;
    bool focusing_ = true;
    bool showExpandButton_ = true;
    bool showInCustomizationForm_ = true;
};

// --- row properties -------------------------------------------------------------------------------
class TcxCustomRowProperties : public TcxInterfacedCollectionItem {
    RTL_CLASS(TcxCustomRowProperties, TcxInterfacedCollectionItem)
    // A row's own properties object: owned by the row, outside any collection.
    explicit TcxCustomRowProperties(TcxCustomRow* row);
    // An editor of a multi-editor row: the row is the one that owns the collection.
    TcxCustomRowProperties(TCollection* collection, TcxCustomRow* row);
    virtual void Changed();
    TPersistent* GetOwner() override;
    TcxCustomRow* Row() const { return row_; }

private:
    TcxCustomRow* row_;
};

using TcxRowPropertiesClass = TClassRef<TcxCustomRowProperties, TcxCustomRow*>;

class TcxCaptionRowProperties : public TcxCustomRowProperties {
    RTL_CLASS(TcxCaptionRowProperties, TcxCustomRowProperties)
    using TcxCustomRowProperties::TcxCustomRowProperties;
    void Assign(TPersistent* source) override;
    virtual std::string DefaultCaption() { return ""; }
    virtual void RestoreDefaults();

    std::string GetCaption() { return captionAssigned_ ? caption_ : DefaultCaption(); }
    void SetCaption(const std::string& value);
    bool IsCaptionAssigned() const { return captionAssigned_; }
    // The form keeps the caption only when it was assigned and differs from the default.
    bool IsCaptionStored() { return captionAssigned_ && caption_ != DefaultCaption(); }
    TAlignment HeaderAlignmentHorz() const { return headerAlignmentHorz_; }
    void SetHeaderAlignmentHorz(TAlignment value);
    TcxAlignmentVert HeaderAlignmentVert() const { return headerAlignmentVert_; }
    void SetHeaderAlignmentVert(TcxAlignmentVert value);
    std::string Hint;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);

private:
    std::string caption_;
    bool captionAssigned_ = false;
    TAlignment headerAlignmentHorz_ = taLeftJustify;
    TcxAlignmentVert headerAlignmentVert_ = vaTop;
    int imageIndex_ = -1;
};

// Text output flags of a header's alignment.
unsigned GetTextAligmentFlags(TAlignment horz, TcxAlignmentVert vert);
unsigned GetTextAligmentFlags(TcxCaptionRowProperties* properties);

// The editor row's properties: caption, editor kind and the value. The value container comes
// with the in-place edit container; until then an editor row has caption properties only.
class TcxCustomEditorRowProperties : public TcxCaptionRowProperties {
    RTL_CLASS(TcxCustomEditorRowProperties, TcxCaptionRowProperties)
    using TcxCaptionRowProperties::TcxCaptionRowProperties;
};

class TcxEditorRowProperties : public TcxCustomEditorRowProperties {
    RTL_CLASS(TcxEditorRowProperties, TcxCustomEditorRowProperties)
    using TcxCustomEditorRowProperties::TcxCustomEditorRowProperties;
};

class TcxMultiEditorRowProperties : public TcxCustomRowProperties {
    RTL_CLASS(TcxMultiEditorRowProperties, TcxCustomRowProperties)
    // The row must be a multi-editor row (EInvalidCast otherwise).
    explicit TcxMultiEditorRowProperties(TcxCustomRow* row);
    void Assign(TPersistent* source) override;

    bool Fixed() const { return fixed_; }
    void SetFixed(bool value);
    TcxAlignmentVert SeparatorAlignmentVert() const { return separatorAlignmentVert_; }
    void SetSeparatorAlignmentVert(TcxAlignmentVert value);
    TSeparatorKind SeparatorKind() const { return separatorKind_; }
    void SetSeparatorKind(TSeparatorKind value);
    const std::string& SeparatorString() const { return separatorString_; }
    void SetSeparatorString(const std::string& value);

private:
    bool fixed_ = false;
    TcxAlignmentVert separatorAlignmentVert_ = vaTop;
    TSeparatorKind separatorKind_ = skVertLine;
    std::string separatorString_;
};

// --- rows -----------------------------------------------------------------------------------------
// A row's children; every insertion and deletion renumbers the rows' Index.
class TcxRowList {
public:
    explicit TcxRowList(TcxCustomRow* owner) : owner_(owner) {}
    int Count() const { return static_cast<int>(items_.size()); }
    TcxCustomRow* Get(int index) const;   // EListError outside the list
    int IndexOf(const TcxCustomRow* row) const;
    void Insert(int index, TcxCustomRow* row);
    void Delete(int index);
    void Move(int curIndex, int newIndex);

private:
    void Renumber();
    TcxCustomRow* owner_;
    std::vector<TcxCustomRow*> items_;
};

class TcxCustomRow : public TComponent, public IcxStoredObject {
    RTL_CLASS(TcxCustomRow, TComponent)
    explicit TcxCustomRow(TComponent* owner);
    ~TcxCustomRow() override;
    void BeforeDestruction() override;

    // Tree.
    void Add(TcxCustomRow* row) { Insert(GetCount(), row); }
    void Insert(int index, TcxCustomRow* row);
    void Delete(int index);
    void Remove(TcxCustomRow* row) { Delete(IndexOf(row)); }
    void RemoveAll();
    void RemoveChildren();
    int IndexOf(const TcxCustomRow* row) const { return children_ ? children_->IndexOf(row) : -1; }
    int GetCount() const { return children_ ? children_->Count() : 0; }
    TcxCustomRow* GetRow(int index) const;
    bool HasChildren() const { return GetCount() > 0; }
    bool HasVisibleChildren() const;
    TcxCustomRow* GetFirstVisibleChild() const;
    TcxCustomRow* GetLastVisibleChild() const;
    bool IsParent(const TcxCustomRow* row) const;
    bool IsChild(const TcxCustomRow* row) const;
    bool IsFirst() const { return index_ == 0; }
    bool IsLast() const;
    bool IsFirstVisible() const;
    bool IsLastVisible() const;
    bool IsRootLevel() const;
    int GetLevel() const;
    TcxCustomRow* GetParent() const;
    void SetParent(TcxCustomRow* row);
    int Index() const { return index_; }
    void SetIndex(int index);
    int GetAbsoluteIndex() const;
    bool GetFocused() const;
    void SetFocused(bool value);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    void MakeVisible();
    virtual void RestoreDefaults();
    TcxCustomRowViewInfo* GetViewInfo();
    TcxVerticalGridRows* GetOwnerRows() const;
    TcxCustomVerticalGrid* VerticalGrid() const { return grid_; }
    TcxCustomRow* ParentRow() const { return parent_; }
    int RowID() const { return id_; }

    // State.
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool value);
    int Height() const { return height_; }
    void SetHeight(int value);
    bool IsHeightAssigned() const { return height_ >= 0; }
    TcxRowOptions* Options() const { return options_.get(); }
    void SetOptions(TcxRowOptions* value) { options_->Assign(value); }
    TcxCustomRowProperties* PropertiesObject() const { return properties_.get(); }
    int Version = 1;

    // Operations a row kind supplies.
    virtual bool CanFocus() const { return options_->Focusing(); }
    virtual void Changed(bool rebuild = false);
    virtual TcxCustomRowHeaderInfo* CreateHeaderInfo();
    virtual TcxCustomRowViewInfo* CreateViewInfo();
    virtual int GetDefaultHeight() const;
    virtual int GetEditContainerCount() const { return 0; }
    virtual TcxRowPropertiesClass GetPropertiesClass() const;
    int GetRealHeight() const { return std::max(height_, GetDefaultHeight()); }
    virtual void SetVerticalGrid(TcxCustomVerticalGrid* grid);
    void SetName(const std::string& name) override;
    void Assign(TPersistent* source) override;

    // Stored object of the layout storage.
    std::string GetObjectName() override;
    bool GetProperties(TStrings* properties) override;
    void GetPropertyValue(const std::string& name, Variant& value) override;
    void SetPropertyValue(const std::string& name, const Variant& value) override;

    // Form streaming: rows hang under the grid or under their parent row; the four defined
    // integer values are written and read by these procedures.
    bool HasParent() override { return true; }
    TComponent* GetParentComponent() override;
    void SetParentComponent(TComponent* parent) override;
    void WriteDefinedProperties(TWriter* writer);
    void ReadDefinedProperty(const std::string& name, TReader* reader);
    int LoadedID() const { return loadedID_; }
    int LoadedParentID() const { return loadedParentID_; }
    int LoadedIndex() const { return loadedIndex_; }
    const std::string& LoadingParentName() const { return loadingParentName_; }
    int LoadingIndex() const { return loadingIndex_; }

protected:
    // C++ constructors do not dispatch virtually: each kind makes its properties after the base.
    void CreateProperties();
    int HeaderDefaultHeight(TFont* font, int extra) const;

private:
    friend class TcxCustomVerticalGrid;
    friend class TcxVerticalGridRows;
    friend class TcxRowList;
    friend class TcxCustomRowViewInfo;
    friend class TcxvgCustomViewInfo;
    void ResetOwnerCount();
    TcxCustomRow* parent_ = nullptr;
    TcxCustomVerticalGrid* grid_ = nullptr;
    std::unique_ptr<TcxRowList> children_;
    int index_ = -1;
    int id_ = -1;
    bool expanded_ = true;
    bool visible_ = true;
    int height_ = -1;
    std::unique_ptr<TcxRowOptions> options_;
    UniqueObject<TcxCustomRowProperties> properties_;
    TcxCustomRowViewInfo* viewInfo_ = nullptr;
    int loadedID_ = -1;
    int loadedParentID_ = -1;
    int loadedIndex_ = -1;
    std::string loadingParentName_;
    int loadingIndex_ = -1;
    bool readingVersion_ = false;
};

class TcxCategoryRow : public TcxCustomRow {
    RTL_CLASS(TcxCategoryRow, TcxCustomRow)
    explicit TcxCategoryRow(TComponent* owner);
    TcxCaptionRowProperties* Properties() const;
    TcxCustomRowHeaderInfo* CreateHeaderInfo() override;
    TcxCustomRowViewInfo* CreateViewInfo() override;
    int GetDefaultHeight() const override;
    bool GetProperties(TStrings* properties) override;
    void GetPropertyValue(const std::string& name, Variant& value) override;
    void SetPropertyValue(const std::string& name, const Variant& value) override;
};

class TcxCustomEditorRow : public TcxCustomRow {
    RTL_CLASS(TcxCustomEditorRow, TcxCustomRow)
    explicit TcxCustomEditorRow(TComponent* owner);
    TcxRowPropertiesClass GetPropertiesClass() const override;
    TcxCustomEditorRowProperties* Properties() const;
    bool CanFocus() const override { return Options()->Focusing(); }
    TcxCustomRowHeaderInfo* CreateHeaderInfo() override;
    TcxCustomRowViewInfo* CreateViewInfo() override;
    int GetEditContainerCount() const override { return 1; }
    TNotifyEvent PropertiesEvents;
    TNotifyEvent EditPropertiesEvents;
};

class TcxEditorRow : public TcxCustomEditorRow {
    RTL_CLASS(TcxEditorRow, TcxCustomEditorRow)
    explicit TcxEditorRow(TComponent* owner);
    TcxRowPropertiesClass GetPropertiesClass() const override;
    TcxEditorRowProperties* Properties() const;
    TcxEditorRowProperties* GetProperties() const { return Properties(); }
};

class TcxCustomMultiEditorRow : public TcxCustomRow {
    RTL_CLASS(TcxCustomMultiEditorRow, TcxCustomRow)
    explicit TcxCustomMultiEditorRow(TComponent* owner);
    TcxRowPropertiesClass GetPropertiesClass() const override;
    TcxMultiEditorRowProperties* Properties() const;
    // No editors yet: the editors collection comes with the value container.
    bool CanFocus() const override { return false; }
    TcxCustomRowHeaderInfo* CreateHeaderInfo() override;
    TcxCustomRowViewInfo* CreateViewInfo() override;
};

class TcxMultiEditorRow : public TcxCustomMultiEditorRow {
    RTL_CLASS(TcxMultiEditorRow, TcxCustomMultiEditorRow)
    using TcxCustomMultiEditorRow::TcxCustomMultiEditorRow;
};

// --- the flat row list ------------------------------------------------------------------------
class TcxVerticalGridRows : public TObject {
    RTL_CLASS(TcxVerticalGridRows, TObject)
    explicit TcxVerticalGridRows(TcxCustomVerticalGrid* owner) : owner_(owner) {}

    int GetCount();
    TcxCustomRow* GetRow(int index);
    void SetRow(int index, TcxCustomRow* row);
    int IndexOf(const TcxCustomRow* row);
    void Add(TcxCustomRow* row);
    void AddChild(TcxCustomRow* parent, TcxCustomRow* row);
    void Remove(TcxCustomRow* row);
    void Clear();
    void BeginUpdate() { ++lockCount_; }
    void EndUpdate();
    // Leaves the lock without the notice of EndUpdate.
    void CancelUpdate() { --lockCount_; }
    bool IsLocked() const { return lockCount_ > 0; }
    virtual void Changed(bool rebuild);
    int GetNextID() { return nextID_++; }
    TcxCustomRow* FindRowByID(int id);
    TcxCustomRow* FindLoadedParent(int id);
    TcxCustomRow* FindRowByStoredName(const std::string& name);
    void PrepareList();
    void UnprepareList() { count_ = -1; }
    void CheckList();
    void RestoreDefaults();
    TcxCustomRow* GetRoot() const;
    void AssignRows(TcxVerticalGridRows* rows);
    TcxCustomVerticalGrid* Owner() const { return owner_; }

private:
    void Build(TcxCustomRow* row);
    TcxCustomVerticalGrid* owner_;
    std::vector<TcxCustomRow*> list_;
    int count_ = -1;
    int lockCount_ = 0;
    int nextID_ = 0;
};

// --- bands and scrolling ----------------------------------------------------------------------
struct TBandInfo {
    int BandIndex;
    int RowsCount;
    int BandHeight;
    int FirstRow;
};

class TBandInfoList {
public:
    int Add(int bandIndex, int rowsCount, int height, int firstRow);
    TBandInfo GetItem(int index) const { return items_.at(index); }
    int Count() const { return static_cast<int>(items_.size()); }
    void Clear() { items_.clear(); }

private:
    std::vector<TBandInfo> items_;
};

// A data-aware data controller's say in scrolling; nothing here implements it.
class IcxVerticalGridDBDataContoller {
public:
    virtual ~IcxVerticalGridDBDataContoller() = default;
    virtual void CheckGridModeBufferCount() = 0;
    virtual bool DoScroll(bool forward) = 0;
    virtual bool DoScrollPage(bool forward) = 0;
    virtual int GetScrollBarPos() = 0;
    virtual int GetScrollBarRecordCount() = 0;
    virtual bool SetScrollBarPos(int value) = 0;
};

class TcxvgCustomScrollStrategy : public TObject {
    RTL_CLASS(TcxvgCustomScrollStrategy, TObject)
    explicit TcxvgCustomScrollStrategy(TcxvgScroller* scroller);

    virtual bool CanContinueForward(int index);
    virtual bool CanContinueBackward(int index) { return index >= 0; }
    virtual bool CanCalcRowsOnTheNextBand(int left, int bandCount) { return false; }
    virtual void CheckLeftVisibleRecord(int& index);
    virtual int GetBandInterval() = 0;
    virtual int GetLeftVisibleBand() = 0;
    virtual int GetScrollBarOffsetBegin();
    virtual int GetScrollBarOffsetEnd();
    virtual int GetVisibleBandCount() = 0;
    virtual int GetVisibleCount(int startIndex, int height, int step, bool forward);
    virtual int GetVisibleValueCount() = 0;
    virtual bool IsHideHScrollBar();
    virtual bool IsHideVScrollBar();
    virtual bool IsRecordsScrollMode() { return true; }
    virtual void ScrollH(TScrollCode code, int& pos);
    virtual void ScrollV(TScrollCode code, int& pos);
    virtual void SetLeftVisibleBand(int index) = 0;
    virtual void SetLeftVisibleRecord(int index);
    virtual void CheckDecreaseLeftIndex() {}
    virtual void CheckDecreaseTopIndex(int height);
    virtual int CheckTopVisibleIndex(int index, int direction);
    virtual int GetBandIndexByRowIndex(int rowIndex) = 0;
    virtual int GetFirstRowByBandIndex(int bandIndex);
    virtual void InitHScrollBarParameters();
    virtual void InitVScrollBarParameters();
    virtual void RecalcBandsInfo();
    virtual void SetRowMaxVisible(TcxCustomRow* row);

    int GetVisibleCountFromTop(int index, int height) { return GetVisibleCount(index, height, 1, true); }
    int GetVisibleCountFromBottom(int index, int height) { return GetVisibleCount(index, height, -1, false); }
    int GetVisibleRowCount();
    void SetTopVisibleRowIndex(int index);
    int TopVisibleRowIndex() const { return topVisibleRowIndex_; }
    int LeftVisibleRecord() const { return leftVisibleRecord_; }
    TBandInfoList& BandsInfo() { return bandsInfo_; }
    bool FocusNextRecord(int recordIndex, bool goForward);
    int FindNextRecord(int recordIndex, bool goForward);
    int GetScrollBarRecordCount();
    int GetScrollBarPos();
    void SetScrollBarPos(int pos);
    void ScrollRecords(bool forward, int delta);

protected:
    TcxvgScroller* Scroller() const { return scroller_; }
    TcxvgCustomViewInfo* ViewInfo() const;
    TcxCustomVerticalGrid* Grid() const;
    TcxCustomDataController* DataController() const;
    int ClientHeight() const;
    int RowHeightAt(int visibleIndex);
    TBandInfoList bandsInfo_;
    int leftVisibleRecord_ = 0;
    int topVisibleRowIndex_ = 0;

private:
    TcxvgScroller* scroller_;
    bool checking_ = false;
};

class TcxvgSingleRecordScrollStrategy : public TcxvgCustomScrollStrategy {
    RTL_CLASS(TcxvgSingleRecordScrollStrategy, TcxvgCustomScrollStrategy)
    using TcxvgCustomScrollStrategy::TcxvgCustomScrollStrategy;
    int GetBandIndexByRowIndex(int) override { return 0; }
    int GetBandInterval() override { return 0; }
    int GetLeftVisibleBand() override { return 0; }
    int GetVisibleBandCount() override { return 1; }
    int GetVisibleValueCount() override { return 1; }
    void SetLeftVisibleBand(int) override {}
};

class TcxvgMultiRecordsScrollStrategy : public TcxvgCustomScrollStrategy {
    RTL_CLASS(TcxvgMultiRecordsScrollStrategy, TcxvgCustomScrollStrategy)
    using TcxvgCustomScrollStrategy::TcxvgCustomScrollStrategy;
    int GetBandIndexByRowIndex(int) override { return 0; }
    int GetBandInterval() override { return 0; }
    int GetLeftVisibleBand() override { return 0; }
    int GetVisibleBandCount() override { return 1; }
    int GetVisibleValueCount() override;
    void SetLeftVisibleBand(int) override {}
    void CheckDecreaseLeftIndex() override;
};

class TcxvgBandsScrollStrategy : public TcxvgCustomScrollStrategy {
    RTL_CLASS(TcxvgBandsScrollStrategy, TcxvgCustomScrollStrategy)
    using TcxvgCustomScrollStrategy::TcxvgCustomScrollStrategy;
    int GetBandIndexByRowIndex(int rowIndex) override;
    int GetBandInterval() override;
    int GetLeftVisibleBand() override { return leftVisibleBand_; }
    int GetVisibleBandCount() override;
    int GetVisibleValueCount() override { return 1; }
    void SetLeftVisibleBand(int index) override;
    bool CanCalcRowsOnTheNextBand(int left, int bandCount) override;
    void CheckDecreaseTopIndex(int height) override;
    int CheckTopVisibleIndex(int index, int direction) override;
    bool IsHideVScrollBar() override { return true; }
    bool IsRecordsScrollMode() override;
    void InitHScrollBarParameters() override;
    void RecalcBandsInfo() override;
    void SetRowMaxVisible(TcxCustomRow* row) override;
    void ScrollH(TScrollCode code, int& pos) override;

private:
    void LimitLeftVisibleBand(int index, bool notify);
    int leftVisibleBand_ = 0;
};

using TcxvgCustomScrollStrategyClass = TClassRef<TcxvgCustomScrollStrategy, TcxvgScroller*>;

class TcxvgScroller : public TObject {
    RTL_CLASS(TcxvgScroller, TObject)
    explicit TcxvgScroller(TcxCustomVerticalGrid* grid);
    ~TcxvgScroller() override;

    virtual TcxvgCustomScrollStrategy* CreateScrollStrategy();
    void RecreateScrollStrategy();
    virtual void InitScrollBarsParameters();
    void RecalcBandsInfo();
    void SetCheckDecrease(bool value) { checkDecreaseLeft_ = checkDecreaseTop_ = value; }
    bool GetCheckDecrease() const { return checkDecreaseLeft_ || checkDecreaseTop_; }
    void CheckDecreaseLeftIndex();
    void CheckDecreaseTopIndex();
    void Scroll(bool vertical, TScrollCode code, int& pos);
    void SetTopVisibleRowIndex(int index);
    void SetLeftVisibleBand(int index);
    void SetLeftVisibleRecord(int index);
    virtual bool SetRecordVisible(int recordIndex);
    virtual void SetRowVisible(TcxCustomRow* row);
    void SetRowMaxVisible(TcxCustomRow* row);
    void LayoutStyleChanged();
    bool GoToFirst() { return strategy_->FocusNextRecord(-1, true); }
    bool GoToLast();
    bool GoToNext() { return strategy_->FocusNextRecord(GetFocusedRecordIndex(), true); }
    bool GoToPrev() { return strategy_->FocusNextRecord(GetFocusedRecordIndex(), false); }

    TBandInfoList& GetBandsInfo() { return strategy_->BandsInfo(); }
    int GetLeftVisibleBand() { return strategy_->GetLeftVisibleBand(); }
    int GetLeftVisibleRecord() { return strategy_->LeftVisibleRecord(); }
    int GetTopVisibleRowIndex() { return strategy_->TopVisibleRowIndex(); }
    int GetVisibleRowCount() { return strategy_->GetVisibleRowCount(); }
    int GetVisibleValueCount() { return strategy_->GetVisibleValueCount(); }
    int GetVisibleCountFromBottom(int index);
    int GetBandIndexByRowIndex(int index) { return strategy_->GetBandIndexByRowIndex(index); }
    int GetFocusedRecordIndex();
    TcxvgCustomViewInfo* GetViewInfo() const;
    TcxCustomVerticalGrid* Grid() const { return grid_; }
    TcxvgCustomScrollStrategy* Strategy() const { return strategy_.get(); }

private:
    TcxCustomVerticalGrid* grid_;
    UniqueObject<TcxvgCustomScrollStrategy> strategy_;
    bool checkDecreaseLeft_ = false;
    bool checkDecreaseTop_ = false;
};

// --- options ----------------------------------------------------------------------------------
enum TcxEditingControlEditShowButtons { ecsbAlways, ecsbFocused, ecsbNever };

class TcxvgOptionsView : public TPersistent {
    RTL_CLASS(TcxvgOptionsView, TPersistent)
    explicit TcxvgOptionsView(TcxCustomVerticalGrid* grid) : grid_(grid) {}
    void Assign(TPersistent* source) override;
    virtual void Changed();
    virtual void RestoreDefaults();
    TPersistent* GetOwner() override;

    bool CellAutoHeight() const { return cellAutoHeight_; }
    void SetCellAutoHeight(bool value) { Set(cellAutoHeight_, value); }
    bool CellEndEllipsis() const { return cellEndEllipsis_; }
    void SetCellEndEllipsis(bool value) { Set(cellEndEllipsis_, value); }
    int CellTextMaxLineCount() const { return cellTextMaxLineCount_; }
    void SetCellTextMaxLineCount(int value) { Set(cellTextMaxLineCount_, value); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    TcxEditingControlEditShowButtons ShowEditButtons() const { return showEditButtons_; }
    void SetShowEditButtons(TcxEditingControlEditShowButtons value) { Set(showEditButtons_, value); }
    bool AutoScaleBands() const { return autoScaleBands_; }
    void SetAutoScaleBands(bool value);
    int BandsInterval() const { return bandsInterval_; }
    void SetBandsInterval(int value) { Set(bandsInterval_, std::max(value, 0)); }
    bool CategoryExplorerStyle() const { return categoryExplorerStyle_; }
    void SetCategoryExplorerStyle(bool value) { Set(categoryExplorerStyle_, value); }
    TcxvgPaintStyle PaintStyle() const { return paintStyle_; }
    void SetPaintStyle(TcxvgPaintStyle value);
    TColor GridLineColor() const;
    void SetGridLineColor(TColor value);
    bool IsGridLineColorAssigned() const { return gridLineColorAssigned_; }
    int RowHeaderMinWidth() const { return rowHeaderMinWidth_; }
    void SetRowHeaderMinWidth(int value);
    int RowHeaderWidth() const { return rowHeaderWidth_; }
    void SetRowHeaderWidth(int value);
    void CheckRowHeaderWidth() { SetRowHeaderWidth(rowHeaderWidth_); }
    int RowHeight() const { return rowHeight_; }
    void SetRowHeight(int value) { Set(rowHeight_, std::max(value, -1)); }
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool value) { Set(showButtons_, value); }
    bool ShowEmptyRowImage() const { return showEmptyRowImage_; }
    void SetShowEmptyRowImage(bool value) { Set(showEmptyRowImage_, value); }
    bool ShowHeaders() const { return showHeaders_; }
    void SetShowHeaders(bool value) { Set(showHeaders_, value); }
    TcxvgGridLines GridLines() const { return gridLines_; }
    void SetGridLines(TcxvgGridLines value) { Set(gridLines_, value); }
    int ValueWidth() const { return valueWidth_; }
    void SetValueWidth(int value) { Set(valueWidth_, std::max(value, valueMinWidth_)); }
    int ValueMinWidth() const { return valueMinWidth_; }
    void SetValueMinWidth(int value);

private:
    template <class T>
    void Set(T& field, T value)
    {
        if (field != value) {
            field = value;
            Changed();
        }
    }
    TcxCustomVerticalGrid* grid_;
    bool cellAutoHeight_ = false;
    bool cellEndEllipsis_ = false;
    int cellTextMaxLineCount_ = 0;
    TScrollStyle scrollBars_ = ssBoth;
    TcxEditingControlEditShowButtons showEditButtons_ = ecsbNever;
    bool autoScaleBands_ = true;
    int bandsInterval_ = 2;
    bool categoryExplorerStyle_ = false;
    TcxvgPaintStyle paintStyle_ = psdotNet;
    TColor gridLineColor_ = clBtnFace;
    bool gridLineColorAssigned_ = false;
    int rowHeaderMinWidth_ = 24;
    int rowHeaderWidth_ = 100;
    int rowHeight_ = -1;
    bool showButtons_ = true;
    bool showEmptyRowImage_ = false;
    bool showHeaders_ = true;
    TcxvgGridLines gridLines_ = vglBoth;
    int valueWidth_ = 100;
    int valueMinWidth_ = 40;
};

class TcxvgOptionsBehavior : public TPersistent {
    RTL_CLASS(TcxvgOptionsBehavior, TPersistent)
    explicit TcxvgOptionsBehavior(TcxCustomVerticalGrid* grid) : grid_(grid) {}
    void Assign(TPersistent* source) override;
    virtual void RestoreDefaults() { alwaysShowEditorAssigned_ = false; }

    bool AlwaysShowEditor() const;
    void SetAlwaysShowEditor(bool value);
    bool IsAlwaysShowEditorAssigned() const { return alwaysShowEditorAssigned_; }
    // The base value, without marking it assigned (Loaded takes it from the paint style).
    void SetAlwaysShowEditorValue(bool value) { alwaysShowEditor_ = value; }
    bool BandSizing = true;
    bool CellHints = true;
    bool HeaderSizing = true;
    bool RowSizing = false;
    bool RowTracking = true;
    bool GoToNextCellOnEnter = false;
    bool GoToNextCellOnTab = false;
    bool ImmediateEditor = true;

private:
    TcxCustomVerticalGrid* grid_;
    bool alwaysShowEditor_ = false;
    bool alwaysShowEditorAssigned_ = false;
};

struct TcxControlOptionsData {
    bool CancelOnExit = true;
    bool Editing = true;
};

// --- the grids --------------------------------------------------------------------------------
using TcxVerticalGridItemChangedEvent = Event<void(TObject* sender, TcxCustomRow* oldRow, int oldCellIndex)>;

// The grid stands on the control base here; the editing control's own pieces (update lock,
// layout change, data controller) are kept on the grid until that control exists.
class TcxCustomVerticalGrid : public TcxControl, public IcxStoredObject, public IcxStoredParent {
    RTL_CLASS(TcxCustomVerticalGrid, TcxControl)
    explicit TcxCustomVerticalGrid(TComponent* owner);
    ~TcxCustomVerticalGrid() override;
    void BeforeDestruction() override;

    // Rows.
    TcxCustomRow* Add(TcxCustomRowClass rowClass);
    TcxCustomRow* AddChild(TcxCustomRow* parent, TcxCustomRowClass rowClass);
    template <class T>
    T* Add() { return static_cast<T*>(Add(TcxCustomRowClass::Of<T>())); }
    template <class T>
    T* AddChild(TcxCustomRow* parent) { return static_cast<T*>(AddChild(parent, TcxCustomRowClass::Of<T>())); }
    virtual void CheckRowClass(TcxCustomRowClass rowClass);
    void Remove(TcxCustomRow* row) { FreeObject(row); }
    void ClearRows();
    virtual void AssignRows(TcxCustomVerticalGrid* grid);
    TcxCustomRow* RowByName(const std::string& name);
    TcxCustomRow* RowByCaption(const std::string& caption);
    bool HasRows() const;
    TcxCustomRow* FirstRow() const;
    TcxCustomRow* LastRow();
    TcxCustomRow* NextRow(TcxCustomRow* row);
    TcxCustomRow* PrevRow(TcxCustomRow* row);
    bool IsRowVisible(const TcxCustomRow* row) const;
    TcxCustomRow* FirstVisibleRow() const;
    bool HasVisibleRows() const { return FirstVisibleRow() != nullptr; }
    TcxCustomRow* LastVisibleRow();
    TcxCustomRow* NextVisibleRow(TcxCustomRow* row);
    TcxCustomRow* PrevVisibleRow(TcxCustomRow* row);
    void FullExpand();
    void FullCollapse();
    TcxCustomRow* GetFocusedRow() const { return focusedRow_; }
    void SetFocusedRow(TcxCustomRow* row);
    int GetTopVisibleRowIndex();
    void SetTopVisibleRowIndex(int index);
    int GetLeftVisibleBand();
    void SetLeftVisibleBand(int index);
    int GetLeftVisibleRecord();
    void SetLeftVisibleRecord(int index);
    int GetRecordCount() const { return dataController_->GetRowCount(); }
    virtual void RestoreDefaults();
    TcxVerticalGridRows* Rows() const { return rows_.get(); }
    TcxCategoryRow* Root() const { return root_; }

    // Editing control pieces.
    void BeginUpdate() { ++lockCount_; }
    void EndUpdate();
    void CancelUpdate() { --lockCount_; }
    bool IsLocked() const { return lockCount_ > 0; }
    void LayoutChanged();
    TcxDataController* DataController() const { return dataController_.get(); }
    TcxvgOptionsView* OptionsView() const { return optionsView_.get(); }
    TcxvgOptionsBehavior* OptionsBehavior() const { return optionsBehavior_.get(); }
    TcxControlOptionsData& OptionsData() { return optionsData_; }
    TcxvgCustomViewInfo* ViewInfo() const { return viewInfo_.get(); }
    TcxvgScroller* Scroller() const { return scroller_.get(); }
    TFont* CategoryFont() const { return categoryFont_.get(); }
    virtual void RecreateViewInfo();
    bool IsCalculating() const { return calcLock_ > 0; }

    // Class choices.
    virtual TcxCustomRowClass GetEditorRowClass() const;
    virtual TcxCustomRowClass GetMultiEditorRowClass() const;
    virtual TcxvgCustomScrollStrategyClass GetScrollStrategyClass() const = 0;
    virtual TcxvgCustomViewInfo* CreateViewInfo() = 0;
    // The paint style's layout helper and painter (cxVGridPainter).
    virtual TcxvgCustomPaintStyleCalcHelperClass GetCalcHelperClass() const;
    virtual TcxvgPainterClass GetPainterClass() const;
    // Input goes through the controller (cxVGridController), made on first use.
    TcxvgController* Controller();

    // Notices.
    virtual void RowsChanged();
    virtual void DoLayoutChanged();
    virtual void DoTopRowIndexChanged() { vcl::FireEvent(OnTopRowIndexChanged, this); }
    virtual void DoLeftVisibleBandIndexChanged() { vcl::FireEvent(OnLeftVisibleBandIndexChanged, this); }
    virtual void DoLeftVisibleRecordIndexChanged() {}
    virtual void DoItemChanged(TcxCustomRow* oldRow, int oldCellIndex);
    void Loaded() override;
    void RestoreLayout();
    void SetName(const std::string& name) override;
    void FontChanged() override;
    void BoundsChanged() override;
    void InitControl() override;
    void InitScrollBarsParameters() override;
    void Scroll(TScrollBarKind kind, TScrollCode code, int& pos) override;
    void WriteVersion(TWriter* writer) { writer->WriteInteger(1); }
    void ReadVersion(TReader* reader) { loadedVersion_ = reader->ReadInteger(); }
    // The rows a form writes as this grid's children, flat in tree order.
    void GetChildren(const std::function<void(TComponent*)>& proc);

    // Stored object and parent of the layout storage.
    std::string GetObjectName() override { return Name(); }
    bool GetProperties(TStrings* properties) override;
    void GetPropertyValue(const std::string& name, Variant& value) override;
    void SetPropertyValue(const std::string& name, const Variant& value) override;
    TObject* CreateChild(const std::string& objectName, const std::string& className) override;
    void DeleteChild(const std::string& objectName, TObject* object) override;
    void GetStoredChildren(TStringList* children) override;
    bool NameMode = false;

    TNotifyEvent OnLayoutChanged;
    TNotifyEvent OnTopRowIndexChanged;
    TNotifyEvent OnLeftVisibleBandIndexChanged;
    TcxVerticalGridItemChangedEvent OnItemChanged;
    Event<void(TObject* sender, TcxCanvas* canvas, const TRect& r, const TcxViewParams& params, bool& done)>
        OnDrawBackground;
    Event<void(TObject* sender, TcxCanvas* canvas, TcxvgPainter* painter, TcxCustomRowViewInfo* header, bool& done)>
        OnDrawRowHeader;
    Event<void(TObject* sender, TcxCanvas* canvas, TcxvgPainter* painter, TcxCustomRowViewInfo* row, int valueIndex,
               bool& done)>
        OnDrawValue;

    // Layout storage (cxVGridStorage).
    void StoreToIniFile(const std::string& storageName, bool reCreate = true);
    void StoreToRegistry(const std::string& storageName, bool reCreate = true);
    void StoreToStream(TStream* stream);
    void RestoreFromIniFile(const std::string& storageName);
    void RestoreFromRegistry(const std::string& storageName);
    void RestoreFromStream(TStream* stream);
    void MarkLoadingIndexesNotRead();

protected:
    void Paint() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    TCursor GetCursor(int x, int y) override;
    // The sub-objects made at construction; a descendant's class choices take effect from its
    // own constructor's call of CreateLayout.
    void CreateLayout();
    virtual void InitDataController();
    void RemoveRowFromVerticalGrid(TcxCustomRow* row);

private:
    friend class TcxCustomRow;
    std::unique_ptr<TcxVerticalGridRows> rows_;
    TcxCategoryRow* root_ = nullptr;
    UniqueObject<TcxDataController> dataController_;
    std::unique_ptr<TcxvgOptionsView> optionsView_;
    std::unique_ptr<TcxvgOptionsBehavior> optionsBehavior_;
    TcxControlOptionsData optionsData_;
    UniqueObject<TcxvgCustomViewInfo> viewInfo_;
    UniqueObject<TcxvgScroller> scroller_;
    UniqueObject<TFont> categoryFont_;
    TcxCustomRow* focusedRow_ = nullptr;
    UniqueObject<TObject> controller_;
    int lockCount_ = 0;
    bool layoutPending_ = false;
    int calcLock_ = 0;
    int loadedVersion_ = 0;
    bool destroying_ = false;
};

class TcxUnboundVerticalGrid : public TcxCustomVerticalGrid {
    RTL_CLASS(TcxUnboundVerticalGrid, TcxCustomVerticalGrid)
    explicit TcxUnboundVerticalGrid(TComponent* owner);
    TcxvgUnboundLayoutStyle LayoutStyle() const { return layoutStyle_; }
    void SetLayoutStyle(TcxvgUnboundLayoutStyle value);
    TcxvgCustomScrollStrategyClass GetScrollStrategyClass() const override;
    TcxvgCustomViewInfo* CreateViewInfo() override;

private:
    TcxvgUnboundLayoutStyle layoutStyle_ = ulsSingleRecordView;
};

class TcxVerticalGrid : public TcxUnboundVerticalGrid {
    RTL_CLASS(TcxVerticalGrid, TcxUnboundVerticalGrid)
    explicit TcxVerticalGrid(TComponent* owner);
};

namespace cxVGridUnit {
// Registers the row and row-properties classes for streaming by class name.
void Initialize();
void Finalize();
} // namespace cxVGridUnit

} // namespace cx
