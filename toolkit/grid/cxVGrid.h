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
#include "toolkit/controls/cxControls.h"
#include "toolkit/grid/cxInplaceContainer.h"
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
class TcxvgCustomRowStyles;
class TcxVerticalGridStyles;
class TcxVerticalGridCustomizing;

enum TcxvgPaintStyle { psdotNet, psDelphi };
enum TcxvgGridLines { vglNone, vglHorizontal, vglVertical, vglBoth };
enum TcxvgUnboundLayoutStyle { ulsBandsView, ulsSingleRecordView };
enum TSeparatorKind { skVertLine, skString };

using TcxCustomRowClass = TClassRef<TcxCustomRow, TComponent*>;
using TcxvgCustomRowStylesClass = TClassRef<TcxvgCustomRowStyles, TPersistent*>;
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

protected:
    void SetRow(TcxCustomRow* row) { row_ = row; }

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

class TcxCustomEditorRowProperties;

// The value of an editor row: one field of the grid's data controller, read and written in the
// focused record. A row that belongs to no grid has no data: reads give Null, writes do nothing.
class TcxCellEdit : public TcxCustomInplaceEditContainer {
    RTL_CLASS(TcxCellEdit, TcxCustomInplaceEditContainer)
    // Belongs to the row's properties, which free it; the row is not its component owner, so
    // the row's teardown of its components cannot free it under the properties.
    explicit TcxCellEdit(TcxCustomRow* row);
    TcxCustomRow* Row() const { return row_; }
    void SetRow(TcxCustomRow* row) { row_ = row; }
    TcxCustomEditorRowProperties* EditRowProperties() const { return rowProperties_; }
    int CellIndex = 0;
    TcxCustomVerticalGrid* Grid() const;

    bool CanFocus() override;
    bool CanTabStop() override;
    bool CanEdit() override;
    Variant GetCurrentValue() override;
    void SetCurrentValue(const Variant& value) override;
    Variant GetValue(int rowIndex) override;
    void SetValue(int rowIndex, const Variant& value) override;
    int GetValueCount() override;
    Variant GetDisplayValue(TcxCustomEditProperties* properties, int rowIndex) override;
    Variant GetEditValue() override;
    TcxCustomEditContainerItemOptionsClass GetOptionsClass() const override;
    bool HasDataTextHandler() override;
    void DoGetDisplayText(void* recordData, std::string& text) override;
    void PropertiesChanged() override;

private:
    friend class TcxCustomEditorRowProperties;
    // The data row's record, or -1 when the grid holds no such row.
    int RecordOf(int rowIndex) const;
    TcxCustomDataController* Data() const;
    TcxCustomRow* row_;
    TcxCustomEditorRowProperties* rowProperties_ = nullptr;
};

using TcxVerticalGridGetDisplayTextEvent =
    Event<void(TcxCustomEditorRowProperties* sender, int record, std::string& text)>;

// The editor row's properties: caption, editor kind, binding and the value. It owns the value
// container, which joins the grid's data controller when the row joins a grid.
class TcxCustomEditorRowProperties : public TcxCaptionRowProperties {
    RTL_CLASS(TcxCustomEditorRowProperties, TcxCaptionRowProperties)
    explicit TcxCustomEditorRowProperties(TcxCustomRow* row);
    TcxCustomEditorRowProperties(TCollection* collection, TcxCustomRow* row);
    ~TcxCustomEditorRowProperties() override;
    void Assign(TPersistent* source) override;

    TcxCellEdit* EditContainer() const { return editContainer_; }
    std::string EditPropertiesClassName() const { return editContainer_->PropertiesClassName(); }
    void SetEditPropertiesClassName(const std::string& value) { editContainer_->SetPropertiesClassName(value); }
    TcxCustomEditProperties* EditProperties() const { return editContainer_->Properties(); }
    void SetEditProperties(TcxCustomEditProperties* value) { editContainer_->SetProperties(value); }
    TcxCustomEditPropertiesClass GetEditPropertiesClass() const { return editContainer_->GetPropertiesClass(); }
    void SetEditPropertiesClass(TcxCustomEditPropertiesClass value) { editContainer_->SetPropertiesClass(value); }
    TcxEditRepositoryItem* RepositoryItem() const { return editContainer_->RepositoryItem(); }
    void SetRepositoryItem(TcxEditRepositoryItem* value) { editContainer_->SetRepositoryItem(value); }
    TcxItemDataBinding* DataBinding() const;
    void SetDataBinding(TcxItemDataBinding* value) { DataBinding()->Assign(value); }
    TcxCustomEditContainerItemOptions* Options() const { return editContainer_->Options(); }
    int GetItemIndex() const { return editContainer_->DataItemIndex(); }
    TcxCustomInplaceEditContainer* GetItemLink() const { return editContainer_; }
    IcxEditorPropertiesContainer* GetIEditorPropertiesContainer() const { return editContainer_; }

    Variant GetValue() const { return editContainer_->GetCurrentValue(); }
    // Without a focused data row nothing happens; an open edit takes the value into its buffer.
    void SetValue(const Variant& value);
    Variant Value() const { return GetValue(); }
    Variant GetValueByIndex(int recordIndex) const { return editContainer_->GetValue(recordIndex); }
    void GetDisplayText(int recordIndex, std::string& text);
    virtual void DoGetDisplayTextEvent(int recordIndex, std::string& text);
    TcxVerticalGridGetDisplayTextEvent OnGetDisplayText;

private:
    void CreateContainer();
    TcxCellEdit* editContainer_ = nullptr;
};

class TcxEditorRowProperties : public TcxCustomEditorRowProperties {
    RTL_CLASS(TcxEditorRowProperties, TcxCustomEditorRowProperties)
    using TcxCustomEditorRowProperties::TcxCustomEditorRowProperties;
    void Assign(TPersistent* source) override;
    // The form's values in their published order: the caption when stored, the editor kind,
    // the value type and then the value, so a value read back lands in a typed field.
    void WriteStreamValues(TWriter* writer);
    // One name and its value, as written above; an unknown name raises EReadError.
    void ReadStreamValue(const std::string& name, TReader* reader);
};

class TcxEditorRowPropertiesOptions : public TcxCustomEditContainerItemOptions {
    RTL_CLASS(TcxEditorRowPropertiesOptions, TcxCustomEditContainerItemOptions)
    using TcxCustomEditContainerItemOptions::TcxCustomEditContainerItemOptions;
};

class TcxMultiEditorRowPropertiesOptions : public TcxCustomEditContainerItemOptions {
    RTL_CLASS(TcxMultiEditorRowPropertiesOptions, TcxCustomEditContainerItemOptions)
    using TcxCustomEditContainerItemOptions::TcxCustomEditContainerItemOptions;
};

class TcxEditorPropertiesCollection;
class TcxEditorRowItemProperties;

// One editor of a multi-editor row: an editor row's properties that live in the row's editors
// collection, with a width of at least 20.
class TcxCollectionItemEditorRowProperties : public TcxCustomEditorRowProperties {
    RTL_CLASS(TcxCollectionItemEditorRowProperties, TcxCustomEditorRowProperties)
    // The row is the multi-editor row that owns the collection.
    explicit TcxCollectionItemEditorRowProperties(TCollection* collection);
    void Assign(TPersistent* source) override;
    std::string GetDisplayName() override { return GetCaption(); }
    // Joining the editors collection gives the editor its row and the row's grid.
    void SetCollection(TCollection* value) override;
    int Width() const { return width_; }
    void SetWidth(int value);
    TNotifyEvent EditPropertiesEvents;

private:
    int width_ = 50;
};

class TcxEditorRowItemProperties : public TcxCollectionItemEditorRowProperties {
    RTL_CLASS(TcxEditorRowItemProperties, TcxCollectionItemEditorRowProperties)
    using TcxCollectionItemEditorRowProperties::TcxCollectionItemEditorRowProperties;
    void Assign(TPersistent* source) override;
};

class TcxEditorPropertiesCollection : public TCollection {
    RTL_CLASS(TcxEditorPropertiesCollection, TCollection)
    explicit TcxEditorPropertiesCollection(TcxCustomRow* row);
    TcxEditorRowItemProperties* Add();
    TcxEditorRowItemProperties* GetItem(int index) const;
    TcxCustomRow* Row() const { return row_; }
    TPersistent* GetOwner() override;
    std::string GetNamePath() override;

protected:
    void Update(TCollectionItem* item) override;

private:
    TcxCustomRow* row_;
};

class TcxMultiEditorRowProperties : public TcxCustomRowProperties {
    RTL_CLASS(TcxMultiEditorRowProperties, TcxCustomRowProperties)
    // The row must be a multi-editor row (EInvalidCast otherwise).
    explicit TcxMultiEditorRowProperties(TcxCustomRow* row);
    ~TcxMultiEditorRowProperties() override;
    void Assign(TPersistent* source) override;

    TcxEditorPropertiesCollection* Editors() const { return editors_; }
    bool Fixed() const { return fixed_; }
    void SetFixed(bool value);
    TcxAlignmentVert SeparatorAlignmentVert() const { return separatorAlignmentVert_; }
    void SetSeparatorAlignmentVert(TcxAlignmentVert value);
    TSeparatorKind SeparatorKind() const { return separatorKind_; }
    void SetSeparatorKind(TSeparatorKind value);
    const std::string& SeparatorString() const { return separatorString_; }
    void SetSeparatorString(const std::string& value);
    // Held while an editor is being made: its collection notices change nothing yet.
    bool EditorsLocked = false;

private:
    TcxEditorPropertiesCollection* editors_ = nullptr;
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
    // Takes the same rows in a new order.
    void Assign(std::vector<TcxCustomRow*> items);

private:
    void Renumber(int from, int to);
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
    // Puts the children (all of them, none added) in the given order at once.
    void SetChildrenOrder(std::vector<TcxCustomRow*> order);
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
    virtual TcxCellEdit* GetEditContainer(int index) const { return nullptr; }
    virtual TcxRowPropertiesClass GetPropertiesClass() const;
    // The row's own styles (cxVGridStyles), made on first use of the class the row kind names.
    TcxvgCustomRowStyles* Styles();
    virtual TcxvgCustomRowStylesClass GetStylesClass() const;
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
    friend class TcxCellEdit;
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
    UniqueObject<TcxvgCustomRowStyles> styles_;
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
    TcxvgCustomRowStylesClass GetStylesClass() const override;
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
    TcxvgCustomRowStylesClass GetStylesClass() const override;
    bool CanFocus() const override;
    TcxCustomRowHeaderInfo* CreateHeaderInfo() override;
    TcxCustomRowViewInfo* CreateViewInfo() override;
    int GetDefaultHeight() const override;
    int GetEditContainerCount() const override { return 1; }
    TcxCellEdit* GetEditContainer(int index) const override;
    void SetVerticalGrid(TcxCustomVerticalGrid* grid) override;
    void SetParentComponent(TComponent* parent) override;
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
    TcxvgCustomRowStylesClass GetStylesClass() const override;
    bool CanFocus() const override;
    TcxCustomRowHeaderInfo* CreateHeaderInfo() override;
    TcxCustomRowViewInfo* CreateViewInfo() override;
    int GetDefaultHeight() const override;
    int GetEditContainerCount() const override;
    TcxCellEdit* GetEditContainer(int index) const override;
    void SetVerticalGrid(TcxCustomVerticalGrid* grid) override;
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
    void UnprepareList()
    {
        count_ = -1;
        ++structureStamp_;
    }
    // Changes whenever the tree, a row's visibility or its expansion may have changed: a list of
    // the visible rows made at one stamp holds until the stamp moves.
    int StructureStamp() const { return structureStamp_; }
    void StructureChanged() { ++structureStamp_; }
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
    int structureStamp_ = 0;
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
class TcxvgOptionsView : public TcxControlOptionsView {
    RTL_CLASS(TcxvgOptionsView, TcxControlOptionsView)
    explicit TcxvgOptionsView(TPersistent* owner) : TcxControlOptionsView(owner) {}
    void Assign(TPersistent* source) override;
    void Changed() override;
    virtual void RestoreDefaults();
    TcxCustomVerticalGrid* Grid() const;

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

class TcxvgOptionsBehavior : public TcxControlOptionsBehavior {
    RTL_CLASS(TcxvgOptionsBehavior, TcxControlOptionsBehavior)
    explicit TcxvgOptionsBehavior(TPersistent* owner) : TcxControlOptionsBehavior(owner) {}
    void Assign(TPersistent* source) override;
    virtual void RestoreDefaults();
    TcxCustomVerticalGrid* Grid() const;

    // Unassigned, it follows the paint style (on for the 3D style); the base value is kept in
    // step so the controllers read the same answer.
    bool AlwaysShowEditor() const;
    void SetAlwaysShowEditor(bool value);
    bool IsAlwaysShowEditorAssigned() const { return alwaysShowEditorAssigned_; }
    void SyncAlwaysShowEditor();
    bool BandSizing = true;
    bool HeaderSizing = true;
    bool RowSizing = false;
    bool RowTracking = true;

private:
    bool alwaysShowEditorAssigned_ = false;
};

// --- the grids --------------------------------------------------------------------------------
using TcxVerticalGridItemChangedEvent = Event<void(TObject* sender, TcxCustomRow* oldRow, int oldCellIndex)>;
using TcxVerticalGridChangedEvent = Event<void(TObject* sender, TcxCustomEditorRowProperties* rowProperties)>;
using TcxVerticalGridEditingEvent =
    Event<void(TObject* sender, TcxCustomEditorRowProperties* rowProperties, bool& allow)>;

class TcxCustomVerticalGrid : public TcxExtEditingControl, public IcxStoredObject, public IcxStoredParent {
    RTL_CLASS(TcxCustomVerticalGrid, TcxExtEditingControl)
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
    // Focuses a row's editor (cell) and scrolls it into view.
    void FocusRow(TcxCustomRow* row, int cellIndex = 0);
    // Whether a row of this grid is being dragged (within it or from its customization form).
    bool IsInternalDragging();
    // The editing road's focused item follows the focused cell of the row.
    void FocusedCellChanged(TcxCustomRow* row, int cellIndex);
    // Whether the value width may be sized with the mouse at the first band's edge.
    virtual bool CanBandSizing();
    int GetTopVisibleRowIndex();
    void SetTopVisibleRowIndex(int index);
    int GetLeftVisibleBand();
    void SetLeftVisibleBand(int index);
    int GetLeftVisibleRecord();
    void SetLeftVisibleRecord(int index);
    int GetRecordCount() { return DataController()->GetRowCount(); }
    virtual void RestoreDefaults();
    TcxVerticalGridRows* Rows() const { return rows_.get(); }
    TcxCategoryRow* Root() const { return root_; }

    // Editing.
    bool GetIsEditing();
    TcxCustomEdit* GetInplaceEditor();
    void CancelEdit();
    void HideEdit();
    void ShowEdit();
    void ShowEditByKey(char16_t key);
    void ShowEditByMouse(int x, int y, TShiftState shift);

    // The editing control's pieces, as the grid's own kinds.
    TcxvgOptionsView* OptionsView() { return static_cast<TcxvgOptionsView*>(GetOptionsView()); }
    TcxvgOptionsBehavior* OptionsBehavior() { return static_cast<TcxvgOptionsBehavior*>(GetOptionsBehavior()); }
    TcxControlOptionsData* OptionsData() { return GetOptionsData(); }
    // Null until the first layout object is made (construction of a grid kind makes it).
    TcxvgCustomViewInfo* ViewInfo();
    TcxvgScroller* Scroller() const { return scroller_.get(); }
    TFont* CategoryFont() const { return categoryFont_.get(); }
    // Pictures of the row headers (ImageIndex of the caption properties).
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    void RecreateViewInfo() override;
    bool IsCalculating() const { return calcLock_ > 0; }

    // Class choices.
    TcxControlOptionsBehaviorClass GetOptionsBehaviorClass() const override;
    TcxControlOptionsViewClass GetOptionsViewClass() const override;
    virtual TcxCustomRowClass GetEditorRowClass() const;
    virtual TcxCustomRowClass GetMultiEditorRowClass() const;
    virtual TcxvgCustomScrollStrategyClass GetScrollStrategyClass() const = 0;
    // The gap between record columns of the multi-record layout (the multi-record grid's option).
    virtual int GetRecordsInterval() const { return 0; }
    // The paint style's layout helper (cxVGridPainter).
    virtual TcxvgCustomPaintStyleCalcHelperClass GetCalcHelperClass() const;
    // The paint style's painter (cxVGridPainter).
    virtual TcxvgPainterClass GetPainterClass() const;
    // Keys and mouse go through the grid's own controller (cxVGridController), made on first use;
    // it stands beside the editing control's controller, which keeps the in-place editing.
    TcxvgController* GridController();
    // The editing control's controller: the row keys an in-place editor hands on reach the grid
    // controller (cxVGridController).
    TcxCustomControlControllerClass GetControllerClass() const override;
    // The grid's styles (cxVGridStyles).
    TcxCustomControlStylesClass GetControlStylesClass() const override;
    TcxVerticalGridStyles* Styles();
    // The grid controller's kind, made on first use.
    virtual TcxvgController* CreateGridController();
    // The customization form's object (cxVGridCustomizing), made on first use.
    TcxVerticalGridCustomizing* Customizing();
    // The customization object when it has been made, else null (never makes it).
    TcxVerticalGridCustomizing* CustomizingIfMade() const;
    TNotifyEvent OnCustomizationFormVisibleChanged;
    virtual void DoCustomizationVisibleChanged() { vcl::FireEvent(OnCustomizationFormVisibleChanged, this); }
    bool IsGridDestroying() const { return destroying_; }
    // Row drags between the grid and the customization form (cxVGridCustomizing).
    bool StartDrag(TDragObject*& dragObject) override;
    // The floating picture of a dragged row: its header as the grid draws it.
    TRect DragDropImageDisplayRect() override;
    bool HasDragDropImages() override;
    void DrawDragDropImage(TBitmap* image, TcxCanvas* canvas) override;
    TcxDragImageHelper* CreateDragImageHelper() override;
    static TRect DragImageHeaderRect(TcxCustomRowViewInfo* row);
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
    void DragDrop(TObject* source, int x, int y) override;
    void DoEndDrag(TObject* target, int x, int y) override;
    // The colours and fonts of a row's header, as a normal header, as a category and as the
    // focused header, resolved through the styles.
    virtual TcxViewParams GetRowHeaderParams(TcxCustomRow* row);
    virtual TcxViewParams GetRowCategoryParams(TcxCustomRow* row);
    virtual TcxViewParams GetRowSelectedHeaderParams(TcxCustomRow* row);
    // The unstyled look of a grid style index (0 content, 1 background, 2 inactive, 3 selection,
    // 4 category, 5 header, 6 incremental search); data is the value cell or the content request
    // (cxVGridStyles) a content look is for, or null.
    virtual void GetDefaultViewParams(int index, TObject* data, TcxViewParams& params);

    // Notices.
    virtual void RowsChanged();
    virtual void DoTopRowIndexChanged() { vcl::FireEvent(OnTopRowIndexChanged, this); }
    virtual void DoLeftVisibleBandIndexChanged() { vcl::FireEvent(OnLeftVisibleBandIndexChanged, this); }
    virtual void DoLeftVisibleRecordIndexChanged() {}
    virtual void DoItemChanged(TcxCustomRow* oldRow, int oldCellIndex);
    bool DoEditing(TcxCustomInplaceEditContainer* item) override;
    void DoEdited(TcxCustomInplaceEditContainer* item) override;
    void DoEditValueChanged(TcxCustomInplaceEditContainer* item) override;
    void DoInplaceEditContainerItemRemoved(TcxCustomInplaceEditContainer* item) override;
    void DataChanged() override;
    void Loaded() override;
    void RestoreLayout();
    void SetName(const std::string& name) override;
    void FontChanged() override;
    void InitControl() override;
    void InitScrollBarsParameters() override;
    void Scroll(TScrollBarKind kind, TScrollCode code, int& pos) override;
    // Form streaming of the grid's own values (cxVGridStreaming): each stored value as its name
    // and value, options in their published order (a minimum before the width it bounds), then
    // "Version". ReadStreamValue takes one name the writer wrote; an unknown name raises EReadError.
    void WriteStreamValues(TWriter* writer);
    void ReadStreamValue(const std::string& name, TReader* reader);
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
    // While a restore creates rows, numbering of their names goes on from the last number given
    // (names are only added meanwhile), so naming many new rows costs no repeated search.
    void BeginRuntimeRowNaming() { runtimeRowNaming_ = true, runtimeRowNumber_ = 0; }
    void EndRuntimeRowNaming() { runtimeRowNaming_ = false; }

    void DoLayoutChanged() override;
    TNotifyEvent OnLayoutChanged;
    TNotifyEvent OnTopRowIndexChanged;
    TNotifyEvent OnLeftVisibleBandIndexChanged;
    TcxVerticalGridItemChangedEvent OnItemChanged;
    TcxVerticalGridChangedEvent OnEdited;
    TcxVerticalGridEditingEvent OnEditing;
    TcxVerticalGridChangedEvent OnEditValueChanged;

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
    // The layout objects made at construction; a descendant's class choices take effect from
    // its own constructor's call of CreateLayout.
    void CreateLayout();
    virtual void InitDataController();
    void RemoveRowFromVerticalGrid(TcxCustomRow* row);

private:
    friend class TcxCustomRow;
    TcxvgCustomViewInfo* CurrentVisibleRows() const;
    std::unique_ptr<TcxVerticalGridRows> rows_;
    TcxCategoryRow* root_ = nullptr;
    UniqueObject<TcxvgScroller> scroller_;
    UniqueObject<TFont> categoryFont_;
    TcxCustomRow* focusedRow_ = nullptr;
    UniqueObject<TObject> controller_;
    UniqueObject<TObject> customizing_;
    // Refreshes the customization form after a layout change (cxVGridCustomizing).
    void CustomizingLayoutChanged();
    // Lets the customization form's lists forget a row that leaves the grid (cxVGridCustomizing).
    void CustomizingRowRemoved(TcxCustomRow* row);
    TCustomImageList* images_ = nullptr;
    bool layoutReady_ = false;
    bool runtimeRowNaming_ = false;
    int runtimeRowNumber_ = 0;
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
    TcxCustomControlViewInfoClass GetViewInfoClass() const override;
    bool CanBandSizing() override;

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
