#pragma once
// cxCustomData: the data controller. Items (a control's columns or rows) are bound to data fields
// whose values live in a TcxDataStorage; the row-view engine turns the records into the rows a
// control shows (filtered, sorted, grouped, with focus, expansion and selection); the provider
// keeps the edit state; the summary computes footer and group values. Every change only marks
// what must be recomputed; the outermost EndUpdate runs one pass and hands the control one set of
// notices through UpdateControl.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Variant.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/dxCore.h"
#include "toolkit/data/cxDataConsts.h"
#include "toolkit/data/cxDataStorage.h"
#include "toolkit/data/cxDataUtils.h"
#include "toolkit/data/cxFilter.h"

namespace cx {

RTL_EXCEPTION(EcxInvalidDataControllerOperation, EdxException);
// Raises EcxInvalidDataControllerOperation with the message read from the string table.
[[noreturn]] void InvalidOperation(const TResStringRec* message);

inline constexpr int cxNoEditingRecord = -2147483647;   // the provider's "no editing record"

enum TcxDataChange { dcField, dcRecord, dcNew, dcDeleted, dcTotal };
enum TcxDataControllerChange {
    dccLayout, dccData, dccFocus, dccSelection, dccDetail, dccSummary, dccSearch, dccSorting, dccGrouping,
    dccSyncMasterPos, dccBookmark, dccUpdateRecord
};
using TcxDataControllerChanges = Set<TcxDataControllerChange>;
enum TcxDataControllerEditKind { dceInsert, dceEdit, dceChanging, dceModified };
using TcxDataControllerEditState = Set<TcxDataControllerEditKind>;
enum TcxDataControllerEditOperation { dceoAppend, dceoDelete, dceoEdit, dceoInsert, dceoShowEdit };
using TcxDataControllerEditOperations = Set<TcxDataControllerEditOperation>;
enum TcxDataControllerComparisonMode { dccmSorting, dccmGrouping, dccmOther };
enum TcxDataLayoutChange { lcStructure, lcData };
using TcxDataLayoutChanges = Set<TcxDataLayoutChange>;
enum TcxDataSortOrder { soNone, soAscending, soDescending };
enum TcxDataControllerOption {
    dcoAnsiSort, dcoCaseInsensitive, dcoAssignGroupingValues, dcoAssignMasterDetailKeys, dcoSaveExpanding,
    dcoSortByDisplayText, dcoFocusTopRowAfterSorting, dcoGroupsAlwaysExpanded, dcoImmediatePost,
    dcoInsertOnNewItemRowFocusing
};
using TcxDataControllerOptions = Set<TcxDataControllerOption>;
enum TcxDataControllerInfoChange {
    dcicLoad, dcicGrouping, dcicSorting, dcicFocusedRow, dcicView, dcicExpanding, dcicResetFocusedRow,
    dcicSelection, dcicSummary, dcicFocusedRecord
};
using TcxDataControllerInfoChanges = Set<TcxDataControllerInfoChange>;

enum TcxSummaryKind { skNone, skSum, skMin, skMax, skCount, skAverage };
enum TcxSummaryPosition { spGroup, spFooter };
enum TcxSummaryValueType { svtFloat, svtCurrency, svtDate };
enum TcxSummaryOption { soNullIgnore, soSelectedRecords, soMultipleSelectedRecords };
enum TcxSummaryProperty { spFormat, spKind, spSorted };
using TcxSummaryProperties = Set<TcxSummaryProperty>;
using TcxSummaryOptions = Set<TcxSummaryOption>;
using TcxDataSummaryValues = std::vector<Variant>;

class TcxCustomDataController;
class TcxCustomDataControllerInfo;
class TcxCustomDataFieldList;
class TcxCustomDataProvider;
class TcxDataSummary;

// The default text formats of summary values (group row when isFooter is false, footer when true).
std::string cxDataGetDataSummaryValueDefaultFormat(TcxSummaryValueType valueType, TcxSummaryKind kind, bool isFooter);
// Sorts list[l..r] in place (not stable; callers make the comparison a total order).
void QuickSortList(int* list, int l, int r, int (*compare)(void* info, int a, int b), void* info);
// The platform's FormatFloat: sections "pos;neg;zero", digit placeholders 0 and #, one decimal
// point, a thousands comma, any other character copied (quoted text too).
std::string cxFormatFloat(const std::string& format, double value);

// --- fields ----------------------------------------------------------------------------------------
class TcxCustomDataField : public TObject {
    RTL_CLASS(TcxCustomDataField, TObject)
    explicit TcxCustomDataField(TcxCustomDataFieldList* fieldList) : fieldList_(fieldList) {}
    void BeforeDestruction() override;

    virtual void Reassign(TcxCustomDataField* source);
    virtual void RemoveNotification(TComponent* component) {}
    virtual bool CanModify(int valueSource) const;
    virtual bool IsUnbound() const { return false; }
    virtual bool IsValueDefInternal() const { return isInternal_; }

    TcxCustomDataController* DataController() const;
    TcxCustomDataFieldList* FieldList() const { return fieldList_; }
    int Index() const;
    void SetIndex(int value);
    TObject* Item() const { return item_; }
    void SetItem(TObject* value) { item_ = value; }
    bool IsInternal() const { return isInternal_; }
    void SetIsInternal(bool value);
    TcxValueDef* ValueDef() const;
    TcxValueTypeClass ValueTypeClass() const;
    void SetValueTypeClass(TcxValueTypeClass value);
    bool TextStored() const;
    void SetTextStored(bool value);
    TcxCustomDataField* ReferenceField() const { return referenceField_; }
    void SetReferenceField(TcxCustomDataField* value);
    bool NeedConversion = false;
    bool Prepared = false;   // UpdateFields has let the controller prepare it
    int CompareMode = 0;   // during a sort pass: -1 native, 1 converted values, 2 display texts

    void BeginRecreateData();
    void EndRecreateData();
    void CreateData();
    void ClearData();
    void Changed();

private:
    friend class TcxCustomDataFieldList;
    friend class TcxCustomDataController;
    friend class TcxCustomDataHelper;
    TcxCustomDataFieldList* fieldList_;
    bool isInternal_ = false;
    TObject* item_ = nullptr;
    int recreateLockCount_ = 0;
    TcxCustomDataField* referenceField_ = nullptr;
    bool textStored_ = false;
    TcxValueDef* valueDef_ = nullptr;
    TcxValueTypeClass valueTypeClass_ = nullptr;
};
using TcxCustomDataFieldClass = TClassRef<TcxCustomDataField, TcxCustomDataFieldList*>;

// Direct access to a field's value definition and text-stored flag, without notification.
class TcxCustomDataHelper {
public:
    static TcxValueDef* GetValueDef(TcxCustomDataField* field) { return field->ValueDef(); }
    static void SetTextStored(TcxCustomDataField* field, bool value) { field->textStored_ = value; }
};

class TcxCustomDataFieldList : public TObject {
    RTL_CLASS(TcxCustomDataFieldList, TObject)
    explicit TcxCustomDataFieldList(TcxCustomDataController* controller) : controller_(controller) {}
    void BeforeDestruction() override { Clear(); }

    void Add(TcxCustomDataField* field);
    void Clear();
    TcxCustomDataField* FieldByItem(TObject* item) const;
    void RemoveField(TcxCustomDataField* field);
    void ReassignFields(TcxCustomDataField* field);
    void RemoveNotification(TComponent* component);
    void Update();
    int Count() const { return static_cast<int>(items_.size()); }
    int ItemCount() const { return Count() - internalCount_; }
    TcxCustomDataField* Items(int index) const { return items_.at(index); }
    int IndexOf(const TcxCustomDataField* field) const;
    void Move(int from, int to);
    TcxCustomDataController* DataController() const { return controller_; }
    bool FieldDestroyed = false;

private:
    TcxCustomDataController* controller_;
    int internalCount_ = 0;
    std::vector<TcxCustomDataField*> items_;
};

// --- value readers ---------------------------------------------------------------------------------
class TcxValueDefUnboundReader : public TcxValueDefReader {
    RTL_CLASS(TcxValueDefUnboundReader, TcxValueDefReader)
    Variant GetValue(TcxValueDef* def) override;
    bool IsInternal(TcxValueDef* def) override;
    void SetValue(TcxValueDef* def, const Variant& value);
    void Truncate(int count);
    void Clear() { Truncate(0); }

private:
    std::vector<TcxValueDef*> defs_;
    std::vector<Variant> values_;   // Empty = no value given
};

class TcxValueDefRecordReader : public TcxValueDefReader {
    RTL_CLASS(TcxValueDefRecordReader, TcxValueDefReader)
    TcxValueDefRecordReader(TcxCustomDataController* controller, int recordIndex)
        : controller_(controller), recordIndex_(recordIndex) {}
    std::string GetDisplayText(TcxValueDef* def) override;
    Variant GetValue(TcxValueDef* def) override;
    bool IsInternal(TcxValueDef* def) override;

private:
    TcxCustomDataController* controller_;
    int recordIndex_;
};

// --- update notices --------------------------------------------------------------------------------
class TcxUpdateControlInfo : public TObject {
    RTL_CLASS(TcxUpdateControlInfo, TObject)
};
class TcxDataChangedInfo : public TcxUpdateControlInfo {
    RTL_CLASS(TcxDataChangedInfo, TcxUpdateControlInfo)
    TcxDataChangedInfo(TcxDataChange kind, int itemIndex, int recordIndex)
        : Kind(kind), ItemIndex(itemIndex), RecordIndex(recordIndex) {}
    TcxDataChange Kind;
    int ItemIndex, RecordIndex;
};
class TcxLayoutChangedInfo : public TcxUpdateControlInfo {
    RTL_CLASS(TcxLayoutChangedInfo, TcxUpdateControlInfo)
};
class TcxFocusedRecordChangedInfo : public TcxUpdateControlInfo {
    RTL_CLASS(TcxFocusedRecordChangedInfo, TcxUpdateControlInfo)
    TcxFocusedRecordChangedInfo(int prevRecord, int record, int prevRow, int row, bool newItemRowFocusingChanged)
        : PrevFocusedRecordIndex(prevRecord), FocusedRecordIndex(record), FocusedRowIndex(row),
          PrevFocusedRowIndex(prevRow), NewItemRowFocusingChanged(newItemRowFocusingChanged) {}
    int PrevFocusedRecordIndex, FocusedRecordIndex, FocusedRowIndex, PrevFocusedRowIndex;
    bool NewItemRowFocusingChanged;
};
class TcxFocusedRowChangedInfo : public TcxUpdateControlInfo {
    RTL_CLASS(TcxFocusedRowChangedInfo, TcxUpdateControlInfo)
    TcxFocusedRowChangedInfo(int prevRow, int row) : FocusedRowIndex(row), PrevFocusedRowIndex(prevRow) {}
    int FocusedRowIndex, PrevFocusedRowIndex;
};
class TcxSelectionChangedInfo : public TcxUpdateControlInfo {
    RTL_CLASS(TcxSelectionChangedInfo, TcxUpdateControlInfo)
    TcxSelectionChangedInfo() = default;   // many rows changed
    TcxSelectionChangedInfo(int prevRow, int row);
    int Count() const { return static_cast<int>(rows_.size()); }
    int RowIndexes(int index) const { return rows_.at(index); }

private:
    std::vector<int> rows_;
};
class TcxUpdateRecordInfo : public TcxUpdateControlInfo {
    RTL_CLASS(TcxUpdateRecordInfo, TcxUpdateControlInfo)
    explicit TcxUpdateRecordInfo(int recordIndex) : RecordIndex(recordIndex) {}
    int RecordIndex;
};
class TcxSearchChangedInfo : public TcxUpdateControlInfo {
    RTL_CLASS(TcxSearchChangedInfo, TcxUpdateControlInfo)
};
class TcxBookmarkChangedInfo : public TcxUpdateControlInfo {
    RTL_CLASS(TcxBookmarkChangedInfo, TcxUpdateControlInfo)
};
class TcxGroupingChangingInfo : public TcxUpdateControlInfo {
    RTL_CLASS(TcxGroupingChangingInfo, TcxUpdateControlInfo)
};

// --- sorting and grouping field lists ---------------------------------------------------------------
struct TcxDataSortInfo {
    TcxCustomDataField* Field;
    TcxDataSortOrder SortOrder;
};

class TcxSortingFieldList : public TObject {
    RTL_CLASS(TcxSortingFieldList, TObject)
    void Add(TcxCustomDataField* field, TcxDataSortOrder order);
    void Insert(int index, TcxCustomDataField* field, TcxDataSortOrder order);
    void Delete(int index);
    void Remove(TcxCustomDataField* field);
    void Move(int from, int to);
    int Find(TcxCustomDataField* field) const;
    int SortIndexByField(TcxCustomDataField* field) const { return Find(field); }
    TcxDataSortOrder SortOrderByField(TcxCustomDataField* field) const;
    void SetSortOrder(int index, TcxDataSortOrder order);
    void CheckField(TcxCustomDataField* field);
    void Clear();
    void AppendFrom(const TcxSortingFieldList* list);
    virtual void ChangeSorting(TcxCustomDataField* field, TcxDataSortOrder order);
    TcxDataSortInfo Items(int index) const { return items_.at(index); }
    int Count() const { return static_cast<int>(items_.size()); }
    Event<void()> OnChanged;

protected:
    void Changed() { CallEvent(OnChanged); }
    std::vector<TcxDataSortInfo> items_;
};

class TcxGroupingFieldList : public TcxSortingFieldList {
    RTL_CLASS(TcxGroupingFieldList, TcxSortingFieldList)
    void ChangeGrouping(TcxCustomDataField* field, int index);
    void ChangeSorting(TcxCustomDataField* field, TcxDataSortOrder order) override;
    int GroupIndexByField(TcxCustomDataField* field) const { return Find(field); }
    void UpdateSorting(const TcxSortingFieldList* sortingList);
};

// --- groups ----------------------------------------------------------------------------------------
struct TcxRowInfo {
    bool Expanded = false;
    int Level = 0;
    int RecordIndex = -1;
    int RecordListIndex = -1;
};

struct TcxDataGroupInfo {
    int RowIndex = 0;
    bool Expanded = false;
    int Level = 0;
    int FirstRecordListIndex = 0;   // deepest level: records; inner level: groups
    int LastRecordListIndex = 0;
    Variant SummaryValues;
};

class TcxDataGroups : public TObject {
    RTL_CLASS(TcxDataGroups, TObject)
    void Clear() { fields_.clear(); items_.clear(); }
    TcxDataGroupInfo& AddEmpty() { items_.emplace_back(); return items_.back(); }
    void AddField(TcxCustomDataField* field) { fields_.push_back(field); }
    TcxCustomDataField* Fields(int level) const { return fields_.at(level); }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TcxDataGroupInfo& Items(int index) { return items_.at(index); }
    const TcxDataGroupInfo& Items(int index) const { return items_.at(index); }
    int Count() const { return static_cast<int>(items_.size()); }
    bool ChangeExpanding(int rowIndex, bool expanded, bool recursive);
    void FullExpanding(bool expanded);
    int Find(int rowIndex, int& holder) const;
    int FindByIndex(int listIndex, int level) const;
    int FindDeepest(int listIndex) const;
    int GetChildCount(int group) const;
    int GetChildIndex(int group, int n) const;
    int GetChildRecordListIndex(int group, int n) const;
    int GetFirstRecordListIndex(int group) const;
    int GetIndexByRowIndexLevel(int rowIndex, int level) const;
    int GetParentIndex(int group) const;
    int GetRowCount() const;
    bool GetRowInfo(int rowIndex, TcxRowInfo& info) const;   // false for a data row's group lookups
    int GetTopVisibleItem(int index) const;
    bool IsVisible(int group) const { return GetTopVisibleItem(group) == group; }
    bool MakeVisible(int group, bool expand);
    void Rebuild();

private:
    std::vector<TcxCustomDataField*> fields_;
    std::vector<TcxDataGroupInfo> items_;
};

class TcxDataControllerGroups : public TObject {
    RTL_CLASS(TcxDataControllerGroups, TObject)
    explicit TcxDataControllerGroups(TcxCustomDataController* controller) : controller_(controller) {}
    void ChangeExpanding(int rowIndex, bool expanded, bool recursive);
    void ChangeGrouping(int itemIndex, int groupIndex);
    void ClearGrouping();
    void FullCollapse();
    void FullExpand();
    int GetDataGroupIndexByGroupValue(int parentGroup, const Variant& value);
    bool HasAsParent(int rowIndex, int parentRowIndex);
    void LoadRecordIndexes(std::vector<int>& list, int group);
    void LoadRecordIndexesByRowIndex(std::vector<int>& list, int rowIndex);
    int GetGroupRecordIndex(int group);
    int ChildCount(int group);
    int ChildDataGroupIndex(int group, int n);
    int ChildRecordIndex(int group, int n);
    int DataGroupIndexByRowIndex(int rowIndex);
    int GroupingItemCount();
    int GroupingItemIndex(int level);
    std::string GroupDisplayText(int group);
    Variant GroupValue(int group);
    int ItemGroupIndex(int itemIndex);
    int Level(int group);
    int ParentDataGroupIndex(int group);

private:
    TcxDataGroups* Tree();
    TcxCustomDataController* controller_;
};

// --- focus and selection ---------------------------------------------------------------------------
class TcxDataFocusingInfo : public TObject {
    RTL_CLASS(TcxDataFocusingInfo, TObject)
    explicit TcxDataFocusingInfo(TcxCustomDataControllerInfo* info) : info_(info) {}
    void Assign(const TcxDataFocusingInfo* source);
    void Clear() { Level = RecordIndex = RowIndex = -1; }
    bool IsEqual(const TcxDataFocusingInfo* other) const;
    void ResetPos();
    void SavePos();
    bool Changed = false;
    int Level = -1;
    bool PrevNewItemRowFocused = false;
    int PrevRecordIndex = -1;
    int RecordIndex = -1;
    int RowIndex = -1;

private:
    TcxCustomDataControllerInfo* info_;
};

struct TcxDataSelectionInfo {
    int Level;         // -1 for a group entry
    int RecordIndex;   // a group entry: the data group index
    int RowIndex;
};

class TcxDataSelection : public TObject {
    RTL_CLASS(TcxDataSelection, TObject)
    explicit TcxDataSelection(TcxCustomDataController* controller) : controller_(controller) {}
    virtual void Add(int position, int rowIndex, int level, int recordIndex);
    void Clear();
    void ClearAll();
    virtual void ClearAnchor() { AnchorRowIndex = -1; }
    void Delete(int index);
    int FindByGroupIndex(int group) const;
    int FindByRecordIndex(int record) const;
    virtual bool FindByRowIndex(int rowIndex, int& position) const;
    bool IsRecordSelected(int record) const { return FindByRecordIndex(record) != -1; }
    bool IsRowSelected(int rowIndex) const;
    void Sort();
    void Changed() { CallEvent(OnChanged); }
    virtual void InternalAdd(int position, int rowIndex, int level, int recordIndex);
    virtual void InternalClear() { items_.clear(); }
    virtual void InternalDelete(int index);
    int Count() const { return static_cast<int>(items_.size()); }
    TcxDataSelectionInfo& Items(int index) { return items_.at(index); }
    TcxCustomDataController* DataController() const { return controller_; }
    int AnchorRowIndex = -1;
    Event<void()> OnChanged;

private:
    TcxCustomDataController* controller_;
    std::vector<TcxDataSelectionInfo> items_;
};
using TcxDataSelectionClass = TClassRef<TcxDataSelection, TcxCustomDataController*>;

// --- the row-view engine ---------------------------------------------------------------------------
class TcxCustomDataControllerInfo : public TObject {
    RTL_CLASS(TcxCustomDataControllerInfo, TObject)
    explicit TcxCustomDataControllerInfo(TcxCustomDataController* controller);
    ~TcxCustomDataControllerInfo() override;

    void BeginUpdate() { ++lockCount_; }
    void EndUpdate();
    void CheckChanges();
    int LockCount() const { return lockCount_; }
    virtual void Update();

    void Refresh();
    void RefreshFocused();
    void RefreshSummary(bool redrawOnly);
    void RefreshView();
    void ExpandingChanged();
    void FocusedRecordChanged(bool changed);
    void GroupingChanged();
    void SortingChanged();
    void SelectionChanged();

    void ChangeSorting(TcxCustomDataField* field, TcxDataSortOrder order);
    void ChangeSortIndex(TcxCustomDataField* field, int index);
    void ClearSorting(bool keepGroupedItems);
    void ChangeGrouping(TcxCustomDataField* field, int index);
    void ClearGrouping();
    void RemoveField(TcxCustomDataField* field);
    void UpdateField(TcxCustomDataField* field);

    int GetRowCount() const;
    TcxRowInfo GetRowInfo(int rowIndex);
    int GetRowIndexByRecordIndex(int recordIndex, bool makeVisible);
    int GetNearestRowIndex(int rowIndex);
    void CheckRowIndex(int rowIndex) const;
    bool IsGrouped() const { return groups_->Count() > 0; }
    bool IsAlwaysExpanded() const;
    int GetInternalRecordCount() const { return static_cast<int>(recordList_.size()); }
    int GetInternalRecordIndex(int listIndex) const { return recordList_.at(listIndex); }
    int GetInternalRecordListIndex(int recordIndex) const;

    // Groups and expansion.
    void ChangeExpanding(int rowIndex, bool expanded, bool recursive);
    void FullCollapse();
    void FullExpand();
    int LocateDetail(int group, int listIndex, bool makeVisible);
    int LocateGroupByLevel(int group, int level);

    // Focus.
    int GetFocusedRowIndex() const { return focusingInfo_->RowIndex; }
    int GetFocusedRecordIndex();
    int GetPrevFocusedRecordIndex() const { return prevFocusingInfo_->PrevRecordIndex; }
    int GetPrevFocusedRowIndex() const { return prevFocusingInfo_->RowIndex; }
    bool GetNewItemRowFocusingChanged() const { return prevFocusingInfo_->Changed; }
    void SetFocusedRowIndex(int rowIndex);
    void CorrectFocusedRow(int rowIndex);
    void DoChangeFocusedRow(int rowIndex, bool forced);
    int FindFocusedRow(bool afterCollapse);
    TcxDataFocusingInfo* FocusingInfo() const { return focusingInfo_; }
    TcxDataFocusingInfo* PrevFocusingInfo() const { return prevFocusingInfo_; }
    bool Focusing() const { return focusing_; }
    bool InCanFocus() const { return inCanFocus_; }

    // Selection.
    void ChangeRowSelection(int rowIndex, bool select);
    void ClearSelection();
    int GetSelectedCount() const { return selection_->Count(); }
    int GetSelectedRowIndex(int index) { return selection_->Items(index).RowIndex; }
    bool IsRowSelected(int rowIndex) const;
    void TruncateSelection();
    TcxDataSelection* Selection() const { return selection_; }
    // Makes the selection again when the controller's GetDataSelectionClass names another class;
    // the entries and the anchor go over.
    void RecreateSelection();

    // Sorting support for lookups.
    void PrepareSorting();
    void PrepareHandles();
    void UnprepareSorting();
    int CompareRecords(int a, int b);
    int CompareGroupRecords(int a, int b, int level);

    TcxDataGroups* DataGroups() const { return groups_; }
    TcxSortingFieldList* SortingFieldList() const { return sortingFieldList_; }
    TcxGroupingFieldList* GroupingFieldList() const { return groupingFieldList_; }
    TcxSortingFieldList* TotalSortingFieldList() const { return totalSortingFieldList_; }
    TcxCustomDataController* DataController() const { return controller_; }
    bool InfoCalculation() const { return infoCalculation_; }
    TcxDataControllerInfoChanges Changes() const { return changes_; }
    // Groups are sorted by summary when, for some grouping level, that level's group summary
    // items have a sorted item and the summary does not follow the selection.
    bool IsSortingBySummary();
    void DoSortBySummary();

private:
    friend class TcxDataSortingBySummaryEngine;
    struct ExpandingItem {
        int Level;
        Variant Value;
        bool Expanded, Selected;
    };
    void DoLoad();
    void DoFilter();
    void DoSort();
    void DoGrouping();
    void ResetFocusing();
    void CheckInfo();
    void CheckFocusing();
    void CheckAfterCollapsing();
    void ForwardChanges();
    void SaveInfo();
    void CheckExpanding();
    void RestoreExpanding();
    void RecalcSelection();
    void ReseatSelection();
    int FindDataGroup(int listIndex) const { return groups_->FindDeepest(listIndex); }

    TcxDataControllerInfoChanges changes_;
    TcxCustomDataController* controller_;
    TcxDataGroups* groups_;
    bool expanding_ = false;
    bool focusing_ = false;
    TcxDataFocusingInfo* focusingInfo_;
    TcxGroupingFieldList* groupingFieldList_;
    bool inCanFocus_ = false;
    bool infoCalculation_ = false;
    int lockCount_ = 0;
    TcxDataFocusingInfo* prevFocusingInfo_;
    std::vector<int> recordList_;
    TcxDataSelection* selection_;
    TcxSortingFieldList* sortingFieldList_;
    TcxSortingFieldList* totalSortingFieldList_;
    // Saved expansion and group selection of one pass.
    std::vector<TcxCustomDataField*> savedFields_;
    std::vector<ExpandingItem> savedItems_;
    bool saveExpanded_ = false, saveSelected_ = false;
};

// Reorders a grouped view's groups by a group summary value; run by the row-view engine after the
// group summaries are calculated.
class TcxSortingBySummaryEngine : public TObject {
    RTL_CLASS(TcxSortingBySummaryEngine, TObject)
    explicit TcxSortingBySummaryEngine(TcxCustomDataControllerInfo* info) : info_(info) {}
    TcxCustomDataController* GetDataController() const { return info_->DataController(); }
    virtual void SortGroups() {}

protected:
    TcxCustomDataControllerInfo* info_;
};
using TcxSortingBySummaryEngineClass = TClassRef<TcxSortingBySummaryEngine, TcxCustomDataControllerInfo*>;

// Sorts the sibling groups of every level that has a sorted summary item by that item's value
// (in the direction of the level's grouping field; equal values keep their order), carrying each
// group's descendants and records with it.
class TcxDataSortingBySummaryEngine : public TcxSortingBySummaryEngine {
    RTL_CLASS(TcxDataSortingBySummaryEngine, TcxSortingBySummaryEngine)
    using TcxSortingBySummaryEngine::TcxSortingBySummaryEngine;
    void SortGroups() override;
};

// --- custom data source -------------------------------------------------------------------------------
// Opaque handles by which a custom data source names its records and items.
using TcxDataRecordHandle = std::intptr_t;
using TcxDataItemHandle = std::intptr_t;
inline constexpr TcxDataRecordHandle cxNullRecordHandle = -1;

// An application object that answers for records and values by handle. A controller given one is
// in provider mode: its storage holds one record handle per record and every value of a data field
// is asked from the source. The base answers with empty data.
class TcxCustomDataSource : public TObject {
    RTL_CLASS(TcxCustomDataSource, TObject)
    void BeforeDestruction() override;

    virtual TcxDataRecordHandle AppendRecord() { return cxNullRecordHandle; }
    virtual void CustomSort() {}
    virtual void DeleteRecord(TcxDataRecordHandle recordHandle) {}
    virtual int GetDefaultItemID(int itemIndex);
    virtual bool GetDetailHasChildren(int recordIndex, int relationIndex) { return false; }
    virtual std::string GetDisplayText(TcxDataRecordHandle recordHandle, TcxDataItemHandle itemHandle);
    // The value's slot for a native comparison (in the item's value type form); false when null.
    virtual bool GetInfoForCompare(TcxDataRecordHandle recordHandle, TcxDataItemHandle itemHandle, void*& valueBuffer);
    virtual TcxDataItemHandle GetItemHandle(int itemIndex) { return itemIndex; }
    virtual int GetRecordCount() { return 0; }
    virtual Variant GetRecordId(TcxDataRecordHandle recordHandle) { return Null; }
    virtual TcxDataRecordHandle GetRecordHandle(int recordIndex) { return recordIndex; }
    virtual Variant GetValue(TcxDataRecordHandle recordHandle, TcxDataItemHandle itemHandle) { return Null; }
    virtual TcxDataRecordHandle InsertRecord(TcxDataRecordHandle recordHandle) { return AppendRecord(); }
    virtual bool IsCustomSorting() { return false; }
    virtual bool IsNativeCompare() { return false; }
    virtual bool IsNativeCompareFunc() { return false; }
    virtual bool IsRecordIdSupported() { return false; }
    virtual void LoadRecordHandles();
    virtual int NativeCompareFunc(TcxDataRecordHandle recordHandle1, TcxDataRecordHandle recordHandle2,
                                  TcxDataItemHandle itemHandle) { return 0; }
    virtual void SetRecordCount(int count) {}
    virtual void SetValue(TcxDataRecordHandle recordHandle, TcxDataItemHandle itemHandle, const Variant& value) {}
    // The application's call after it changed its data: the calling controller reloads.
    virtual void DataChanged();

    TcxCustomDataProvider* GetProvider() const { return currentProvider_ ? currentProvider_ : DefaultProvider; }
    TcxCustomDataController* GetDataController() const;
    TcxDataRecordHandle GetRecordHandleByIndex(int recordIndex);
    int GetRecordIndexByHandle(TcxDataRecordHandle recordHandle);
    int AddRecordHandle(TcxDataRecordHandle recordHandle);
    void AddProvider(TcxCustomDataProvider* provider);
    void RemoveProvider(TcxCustomDataProvider* provider);
    void RemoveFromProviders();
    TcxCustomDataProvider* CurrentProvider() const { return currentProvider_; }
    void SetCurrentProvider(TcxCustomDataProvider* provider) { currentProvider_ = provider; }
    TcxCustomDataProvider* DefaultProvider = nullptr;

private:
    TcxCustomDataProvider* currentProvider_ = nullptr;
    std::vector<TcxCustomDataProvider*> providers_;
};

// --- the provider ----------------------------------------------------------------------------------
class TcxCustomDataProvider : public TObject {
    RTL_CLASS(TcxCustomDataProvider, TObject)
    explicit TcxCustomDataProvider(TcxCustomDataController* controller) : controller_(controller) {}
    void BeforeDestruction() override;

    virtual bool IsGridMode() const { return false; }
    virtual bool IsGridModeUpdating() const { return false; }
    virtual bool IsActiveDataSet() const { return false; }
    virtual bool IsDataSource() const { return false; }
    virtual bool IsCustomDataSourceSupported() const { return true; }
    virtual bool IsSyncMode() const { return false; }
    virtual bool IsActive() const { return customDataSource_ != nullptr; }
    virtual bool IsBOF() const { return true; }
    virtual bool IsEOF() const { return true; }
    virtual bool CanModify() const { return true; }
    virtual bool CanAppend() const { return CanModify(); }
    virtual bool CanInsert() const { return CanModify(); }
    virtual bool CanDelete() const;
    virtual bool IsUnboundColumnMode() const { return !CanModify(); }
    bool IsEditing() const { return editingRecordIndex_ != cxNoEditingRecord; }
    bool IsInserting() const { return IsEditing() && inserting_; }
    bool IsChanging() const { return changing_; }
    bool IsModified() const { return modified_; }

    virtual void Append() { InsertingRecord(true); }
    virtual void Insert() { InsertingRecord(false); }
    virtual void Edit() { EditingRecord(); }
    virtual void Cancel();
    virtual void Post(bool force);
    virtual void PostEditingData();
    virtual void Delete();
    virtual void DeleteRecords(std::vector<int>& list);
    virtual void DeleteSelection();
    virtual bool CanInitEditing(int recordIndex);
    virtual Variant GetEditValue(int recordIndex, TcxCustomDataField* field, TcxDataEditValueSource source);
    virtual bool SetEditValue(int recordIndex, TcxCustomDataField* field, const Variant& value, TcxDataEditValueSource source);
    virtual void AssignItemValue(int recordIndex, TcxCustomDataField* field, const Variant& value);
    virtual void DoUpdateData();
    virtual void BeginDeleting();
    virtual void EndDeleting();
    void ResetEditing();
    void ResetChanging() { changing_ = false; }
    void SetChanging() { changing_ = true; }
    void ResetModified() { modified_ = false; }
    void SetModified() { modified_ = true; }
    void BeginLocate() { ++locateCount_; }
    void EndLocate() { --locateCount_; }
    int LocateCount() const { return locateCount_; }
    void Freeze() { ++freezeCount_; }
    void Unfreeze() { --freezeCount_; }
    int FreezeCount() const { return freezeCount_; }
    virtual void DataChanged(TcxDataChange kind, int itemIndex, int recordIndex);
    virtual void ActiveChanged(bool active);
    virtual void LayoutChanged(TcxDataLayoutChanges changes);

    // The data source bridge: each call makes this provider the source's current one first.
    TcxCustomDataSource* CustomDataSource() const { return customDataSource_; }
    virtual void SetCustomDataSource(TcxCustomDataSource* value);
    virtual void CustomSort();
    virtual bool IsCustomSorting();
    virtual bool IsRecordIdSupported();
    virtual int AppendRecord();
    virtual int InsertRecord(int recordIndex);
    virtual void DeleteRecord(int recordIndex);
    virtual bool GetDetailHasChildren(int recordIndex, int relationIndex);
    virtual std::string GetDisplayText(int recordIndex, TcxCustomDataField* field);
    // In grid mode the provider holds the records' data fields outside the controller's storage:
    // a grid-mode provider answers for them here.
    virtual std::string GetExternalDataDisplayText(int recordIndex, TcxCustomDataField* field) { return {}; }
    virtual Variant GetExternalDataValue(int recordIndex, TcxCustomDataField* field) { return Null; }
    virtual Variant GetValue(int recordIndex, TcxCustomDataField* field);
    virtual void SetValue(int recordIndex, TcxCustomDataField* field, const Variant& value);
    virtual void SetDisplayText(int recordIndex, TcxCustomDataField* field, const std::string& text) {}
    virtual Variant GetRecordId(int recordIndex);
    virtual void SetRecordCount(int count);
    virtual void LoadRecordHandles();
    int AddRecordHandle(TcxDataRecordHandle recordHandle);
    virtual int NativeCompare(int recordIndex1, int recordIndex2, TcxCustomDataField* field);
    virtual int NativeCompareFunc(int recordIndex1, int recordIndex2, TcxCustomDataField* field);
    virtual void CorrectRecordIndex(int recordIndex) {}
    // While a sort or grouping pass compares records, their handles are read from one array
    // instead of from every record's block (the records do not change during the pass).
    void BeginHandleCache();
    void EndHandleCache() { handleCache_.clear(); }

    // Loading hooks of a data-set descendant (grid mode, positions); the base has no data set.
    virtual void First() {}
    virtual void Next() {}
    virtual void SavePos() {}
    virtual void RestorePos() {}
    virtual void LoadDataBuffer() {}
    virtual TClassRef<TcxValueDefReader> GetValueDefReaderClass() const { return TClassRef<TcxValueDefReader>::Of<TcxValueDefReader>(); }
    bool DataChangedLocked = false;
    bool Grouped = false;
    bool RecreatedFieldsAfterFirst = false;
    bool ActiveChanging = false;

    int EditingRecordIndex() const { return editingRecordIndex_; }
    void SetEditingRecordIndex(int value) { editingRecordIndex_ = value; }
    int EditingRecordIndexBefore() const { return editingBefore_; }
    int EditingRecordIndexAfter() const { return editingAfter_; }
    int SavedRecordIndex() const { return savedRecordIndex_; }
    void ClearSavedRecordIndex() { savedRecordIndex_ = 0; }
    int InsertedRecordIndex = -1;
    TcxCustomDataController* DataController() const { return controller_; }

protected:
    void EditingRecord();
    void InsertingRecord(bool isAppend);
    void DoInitInsertingRecord(int recordIndex, const TcxDataSummaryValues& groupValues);
    void CreateSavedRecord(int recordIndex);
    void ClearSavedRecord();

private:
    bool changing_ = false;
    TcxCustomDataController* controller_;
    int editingRecordIndex_ = cxNoEditingRecord;
    int editingBefore_ = cxNoEditingRecord;
    int editingAfter_ = cxNoEditingRecord;
    bool inUpdateData_ = false;
    int locateCount_ = 0;
    int freezeCount_ = 0;
    bool modified_ = false;
    int savedRecordIndex_ = 0;
    bool inserting_ = false;
    TcxCustomDataSource* customDataSource_ = nullptr;
    std::vector<TcxDataRecordHandle> handleCache_;
    TcxDataRecordHandle Handle(int recordIndex);
    TcxDataItemHandle ItemHandle(TcxCustomDataField* field);
};
using TcxCustomDataProviderClass = TClassRef<TcxCustomDataProvider, TcxCustomDataController*>;

// --- filter ----------------------------------------------------------------------------------------
class TcxDataFilterCriteria;
class TcxDataFilterValueList;
using TcxDataFilterGetValueListEvent = Event<void(TcxFilterCriteria*, int itemIndex, TcxDataFilterValueList*)>;

class TcxDataFilterCriteria : public TcxFilterCriteria {
    RTL_CLASS(TcxDataFilterCriteria, TcxFilterCriteria)
    explicit TcxDataFilterCriteria(TcxCustomDataController* controller);
    void BeforeDestruction() override;

    virtual bool IsFiltering() const;
    int GetIDByItemLink(TObject* itemLink) override;
    std::string GetNameByItemLink(TObject* itemLink) override;
    TcxFilterCriteriaItemClass GetItemClass() override;
    TObject* GetItemLinkByID(int id) override;
    TObject* GetItemLinkByName(const std::string& name) override;
    void Update() override;
    void Assign(TPersistent* source, bool limitToVersion2) override;
    using TcxFilterCriteria::Assign;
    TcxFilterCriteriaItem* FindItemByItemLink(TObject* itemLink) override;
    TcxFilterCriteriaItem* AddItem(TcxFilterCriteriaItemList* parent, TObject* itemLink, TcxFilterOperatorKind kind,
                                   const Variant& value, const std::string& displayValue) override;
    bool DoFilterRecord(int recordIndex) { return DoFilterData(reinterpret_cast<void*>(static_cast<intptr_t>(recordIndex))); }
    TcxFilterValueListClass GetValueListClass() override;
    // A new value list of this criteria (the caller frees it).
    virtual TcxDataFilterValueList* CreateValueList();
    void AssignEvents(TPersistent* source) override;
    TcxDataFilterGetValueListEvent OnGetValueList;
    void RemoveItemByField(TcxCustomDataField* field) { RemoveItemByItemLink(field); }
    bool Active() const { return active_; }
    void SetActive(bool value);
    TcxCustomDataController* DataController() const { return controller_; }
    bool IsInternal() const;

protected:
    // The conditions are stored as the binary property "Criteria" (the criteria stream) when
    // there is something to store (IsStore).
    void DefineProperties(TFiler* filer) override;

private:
    bool active_ = false;
    TcxCustomDataController* controller_;
    bool destroying_ = false;
};

using TcxDataFilterCriteriaClass = TClassRef<TcxDataFilterCriteria, TcxCustomDataController*>;

// The drop-down list of values a user can pick for one item of the controller.
class TcxDataFilterValueList : public TcxFilterValueList {
    RTL_CLASS(TcxDataFilterValueList, TcxFilterValueList)
    using TcxFilterValueList::TcxFilterValueList;
    virtual void Load(int itemIndex, bool initSortByDisplayText = true, bool useFilteredValues = false);
    TcxCustomDataController* DataController() const;
};

// Criteria of the controller besides its filter (made by CreateFilter), owned by it.
class TcxDataFilterList : public TObject {
    RTL_CLASS(TcxDataFilterList, TObject)
    ~TcxDataFilterList() override { Clear(); }
    void Add(TcxDataFilterCriteria* criteria) { items_.push_back(criteria); }
    void Remove(TcxDataFilterCriteria* criteria);
    void Clear();
    void RemoveItemByField(TcxCustomDataField* field);
    bool Contains(const TcxDataFilterCriteria* criteria) const;
    int Count() const { return static_cast<int>(items_.size()); }
    TcxDataFilterCriteria* Items(int index) const { return items_.at(index); }

private:
    std::vector<TcxDataFilterCriteria*> items_;
};

class TcxDataFilterCriteriaItem : public TcxFilterCriteriaItem {
    RTL_CLASS(TcxDataFilterCriteriaItem, TcxFilterCriteriaItem)
    using TcxFilterCriteriaItem::TcxFilterCriteriaItem;
    Variant GetDataValue(void* data) override;
    std::string GetFieldCaption() override;
    std::string GetFieldName() override;
    TObject* GetItemLink() const override;
    void SetItemLink(TObject* value) override;
    TcxCustomDataField* Field() const { return static_cast<TcxCustomDataField*>(TcxFilterCriteriaItem::GetItemLink()); }
    TcxCustomDataController* DataController() const;
};

// --- incremental search ----------------------------------------------------------------------------
class TcxDataControllerSearch : public TObject {
    RTL_CLASS(TcxDataControllerSearch, TObject)
    explicit TcxDataControllerSearch(TcxCustomDataController* controller) : controller_(controller) {}
    void Cancel();
    virtual bool Locate(int itemIndex, const std::string& text);
    virtual bool LocateNext(bool forward);
    void Lock() { locked_ = true; }
    void Unlock() { locked_ = false; }
    int ItemIndex() const;
    void SetItemIndex(int itemIndex);
    bool Searching() const;
    std::string SearchText() const;

protected:
    virtual void DoFocusedRecord(int filteredIndex);
    virtual int DoSearch(int start, int end, bool forward, const std::string& text);

private:
    TcxCustomDataController* controller_;
    bool locked_ = false;
};
using TcxDataControllerSearchClass = TClassRef<TcxDataControllerSearch, TcxCustomDataController*>;

// --- locate objects --------------------------------------------------------------------------------
// A set of values held in an internal record of the storage, and the record (or group) that
// carries them.
class TcxDataControllerLocateObject : public TObject {
    RTL_CLASS(TcxDataControllerLocateObject, TObject)
    explicit TcxDataControllerLocateObject(TcxCustomDataController* controller) : controller_(controller) {}
    void BeforeDestruction() override { Clear(); }
    virtual void Clear();
    virtual int FindRecordIndex() = 0;
    void ReadData(TcxValueDefReader* reader);
    TcxCustomDataController* DataController() const { return controller_; }
    int RecordIndex() const { return recordIndex_; }   // 0 before any ReadData

protected:
    TcxCustomDataController* controller_;
    int recordIndex_ = 0;
};

class TcxDataControllerKeyLocateObject : public TcxDataControllerLocateObject {
    RTL_CLASS(TcxDataControllerKeyLocateObject, TcxDataControllerLocateObject)
    using TcxDataControllerLocateObject::TcxDataControllerLocateObject;
    void AddField(TcxCustomDataField* field) { fields_.push_back(field); }
    void ClearFields() { fields_.clear(); }
    int FindRecordIndex() override;

private:
    std::vector<TcxCustomDataField*> fields_;
};

class TcxDataControllerGroupLocateObject : public TcxDataControllerLocateObject {
    RTL_CLASS(TcxDataControllerGroupLocateObject, TcxDataControllerLocateObject)
    explicit TcxDataControllerGroupLocateObject(TcxCustomDataController* controller);
    int FindRecordIndex() override;
    int Level() const { return level_; }
    void SetLevel(int value);
    void CorrectFindFields();

private:
    std::vector<TcxCustomDataField*> groupingFields_;
    std::vector<TcxCustomDataField*> findFields_;
    bool findGroupRecordEnabled_ = true;
    int level_ = 0;
};

// --- summary ---------------------------------------------------------------------------------------
class TcxDataSummaryItems;

struct TcxSummaryEventArguments {
    int RecordIndex;
    class TcxDataSummaryItem* SummaryItem;
};
struct TcxSummaryEventOutArguments {
    Variant Value;
    Variant SummaryValue;
    int CountValue;
    bool Done;
};
using TcxSummaryEvent = Event<void(TcxDataSummaryItems*, const TcxSummaryEventArguments&, TcxSummaryEventOutArguments&)>;

class TcxDataSummaryItem : public TCollectionItem {
    RTL_CLASS(TcxDataSummaryItem, TCollectionItem)
    explicit TcxDataSummaryItem(TCollection* collection) : TCollectionItem(collection) {}
    void BeforeDestruction() override;
    void Assign(TPersistent* source) override;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    virtual bool IsPositionStored() const;

    virtual std::string FormatValue(const Variant& value, bool isFooter);
    virtual std::string GetValueFormat(TcxSummaryValueType valueType, const Variant& value, bool isFooter);
    virtual bool IsDataBinded() const;
    TcxCustomDataController* DataController() const;
    TcxDataSummaryItems* SummaryItems() const;
    TcxCustomDataField* Field() const { return field_; }
    void SetField(TcxCustomDataField* value) { field_ = value; }
    TObject* ItemLink() const { return field_ ? field_->Item() : nullptr; }
    void SetItemLink(TObject* item);
    const std::string& Format() const { return format_; }
    void SetFormat(const std::string& value);
    TcxSummaryKind Kind() const { return kind_; }
    void SetKind(TcxSummaryKind value);
    TcxSummaryPosition Position() const;
    void SetPosition(TcxSummaryPosition value);
    Event<void(TcxDataSummaryItem*, const Variant&, bool, std::string&)> OnGetText;

private:
    void NotifyChanged(bool full);
    TcxCustomDataField* field_ = nullptr;
    std::string format_;
    TcxSummaryKind kind_ = skNone;
    TcxSummaryPosition position_ = spGroup;
    bool sorted_ = false;
};

class TcxDataSummaryItems : public TcxCollection {
    RTL_CLASS(TcxDataSummaryItems, TcxCollection)
    explicit TcxDataSummaryItems(TcxDataSummary* summary,
                                 TCollectionItemClass itemClass = TCollectionItemClass::Of<TcxDataSummaryItem>());
    TcxDataSummaryItem* Add() { return static_cast<TcxDataSummaryItem*>(TcxCollection::Add()); }
    TcxDataSummaryItem* Add(TObject* itemLink, TcxSummaryPosition position, TcxSummaryKind kind,
                            const std::string& format = {});
    TcxDataSummaryItem* Items(int index) const { return static_cast<TcxDataSummaryItem*>(TcxCollection::Items(index)); }
    int IndexOfItemLink(TObject* itemLink) const;
    TcxDataSummaryItem* ItemOfField(TcxCustomDataField* field) const;
    virtual TcxSummaryPosition GetItemPosition(const TcxDataSummaryItem* item, TcxSummaryPosition stored) const { return stored; }
    virtual bool IsPositionStored(const TcxDataSummaryItem* item) const { return item->Position() != spGroup; }
    virtual void BeforeSortingChange(TcxDataSummaryItem* item, bool sorted) {}

    // Per controller item and position: one item carries a format, a kind and a sorted flag; an
    // item left with none of them is removed.
    static bool IsPropertiesEmpty(TcxSummaryProperties properties, const std::string& format, TcxSummaryKind kind, bool sorted);
    virtual TcxDataSummaryItem* GetDataItem(int itemIndex, TcxSummaryPosition position, bool checkKind = false,
                                            TcxSummaryKind kind = skNone);
    TcxDataSummaryItem* AddDataItem(int itemIndex, TcxSummaryPosition position);
    void DeleteItems(TObject* itemLink, TcxSummaryPosition position);
    void GetDataItemProperties(int itemIndex, TcxSummaryPosition position, TcxSummaryProperties properties,
                               std::string& format, TcxSummaryKind& kind, bool& sorted);
    void SetDataItemProperties(int itemIndex, TcxSummaryPosition position, TcxSummaryProperties properties,
                               const std::string& format, TcxSummaryKind kind, bool sorted);
    std::string GetDataItemFormat(int itemIndex, TcxSummaryPosition position);
    TcxSummaryKind GetDataItemKind(int itemIndex, TcxSummaryPosition position);
    bool GetDataItemSorted(int itemIndex, TcxSummaryPosition position);
    void SetDataItemFormat(int itemIndex, TcxSummaryPosition position, const std::string& value);
    void SetDataItemKind(int itemIndex, TcxSummaryPosition position, TcxSummaryKind value);
    void SetDataItemSorted(int itemIndex, TcxSummaryPosition position, bool value);
    virtual std::string GetGroupText(const Variant& values) { return {}; }
    std::string DefaultFormat(TcxSummaryValueType valueType, TcxSummaryKind kind, bool isFooter)
    {
        return cxDataGetDataSummaryValueDefaultFormat(valueType, kind, isFooter);
    }
    TcxDataSummary* Summary() const { return summary_; }
    void ItemChanged(bool full);
    TcxSummaryEvent OnSummary;

protected:
    void Update(TCollectionItem* item) override;

private:
    TcxDataSummary* summary_;
};

class TcxDataFooterSummaryItems : public TcxDataSummaryItems {
    RTL_CLASS(TcxDataFooterSummaryItems, TcxDataSummaryItems)
    using TcxDataSummaryItems::TcxDataSummaryItems;
    TcxSummaryPosition GetItemPosition(const TcxDataSummaryItem*, TcxSummaryPosition) const override { return spFooter; }
    bool IsPositionStored(const TcxDataSummaryItem*) const override { return false; }
};

class TcxDataGroupSummaryItems : public TcxDataSummaryItems {
    RTL_CLASS(TcxDataGroupSummaryItems, TcxDataSummaryItems)
    using TcxDataSummaryItems::TcxDataSummaryItems;
    std::string GetGroupText(const Variant& values) override;
    void BeforeSortingChange(TcxDataSummaryItem* item, bool sorted) override;
    // The item the groups are sorted by: the first sorted one, or none.
    TcxDataSummaryItem* SortedSummaryItem() const;
    std::string BeginText = "(";
    std::string EndText = ")";
    std::string Separator = ",";
    // The summary group whose items these are; none for the default group items.
    class TcxDataSummaryGroup* SummaryGroup = nullptr;
};

class TcxDataSummaryGroupItemLinks;
class TcxDataSummaryGroups;

// Names one grouping field (through its item) for which a summary group's items apply.
class TcxDataSummaryGroupItemLink : public TCollectionItem {
    RTL_CLASS(TcxDataSummaryGroupItemLink, TCollectionItem)
    explicit TcxDataSummaryGroupItemLink(TCollection* collection) : TCollectionItem(collection) {}
    void Assign(TPersistent* source) override;
    TcxDataSummaryGroupItemLinks* Links() const;
    TcxCustomDataController* DataController() const;
    TcxCustomDataField* Field() const { return field_; }
    void SetField(TcxCustomDataField* value) { field_ = value; }
    TObject* ItemLink() const { return field_ ? field_->Item() : nullptr; }
    void SetItemLink(TObject* item);

protected:
    // A field is linked by one summary group at most: the other groups lose their links to it.
    virtual void ItemLinkChanging(TcxCustomDataField* field);

private:
    TcxCustomDataField* field_ = nullptr;
};

class TcxDataSummaryGroupItemLinks : public TcxCollection {
    RTL_CLASS(TcxDataSummaryGroupItemLinks, TcxCollection)
    TcxDataSummaryGroupItemLinks(TcxDataSummaryGroup* group, TCollectionItemClass itemClass)
        : TcxCollection(itemClass), group_(group) {}
    TcxDataSummaryGroupItemLink* Add() { return static_cast<TcxDataSummaryGroupItemLink*>(TcxCollection::Add()); }
    TcxDataSummaryGroupItemLink* Items(int index) const
    {
        return static_cast<TcxDataSummaryGroupItemLink*>(TcxCollection::Items(index));
    }
    int IndexOfItemLink(TObject* itemLink) const;
    TcxDataSummaryGroupItemLink* ItemOfItemLink(TObject* itemLink) const;
    int IndexOfField(TcxCustomDataField* field) const;
    TcxDataSummaryGroupItemLink* ItemOfField(TcxCustomDataField* field) const;
    TcxDataSummaryGroup* SummaryGroup() const { return group_; }
    TPersistent* GetOwner() override;

protected:
    void Update(TCollectionItem* item) override;

private:
    TcxDataSummaryGroup* group_;
};

// Group summary items of their own for the grouping fields the links name.
class TcxDataSummaryGroup : public TCollectionItem {
    RTL_CLASS(TcxDataSummaryGroup, TCollectionItem)
    explicit TcxDataSummaryGroup(TCollection* collection);
    void BeforeDestruction() override;
    void Assign(TPersistent* source) override;
    TcxDataSummaryGroupItemLinks* Links();   // created on first use
    bool HasLinks() const { return links_ != nullptr; }
    TcxDataGroupSummaryItems* SummaryItems();   // made once the group is in its collection
    TcxDataSummaryGroups* SummaryGroups() const;

private:
    TcxDataSummaryGroupItemLinks* links_ = nullptr;
    mutable TcxDataGroupSummaryItems* summaryItems_ = nullptr;
};

class TcxDataSummaryGroups : public TcxCollection {
    RTL_CLASS(TcxDataSummaryGroups, TcxCollection)
    explicit TcxDataSummaryGroups(TcxDataSummary* summary)
        : TcxCollection(TCollectionItemClass::Of<TcxDataSummaryGroup>()), summary_(summary) {}
    TcxDataSummaryGroup* Add() { return static_cast<TcxDataSummaryGroup*>(TcxCollection::Add()); }
    TcxDataSummaryGroup* Items(int index) const { return static_cast<TcxDataSummaryGroup*>(TcxCollection::Items(index)); }
    // The group that links the item, or none.
    TcxDataSummaryGroup* FindByItemLink(TObject* itemLink) const;
    TcxDataSummary* Summary() const { return summary_; }
    TPersistent* GetOwner() override;

protected:
    void Update(TCollectionItem* item) override;

private:
    TcxDataSummary* summary_;
};

class TcxDataSummary : public TPersistent {
    RTL_CLASS(TcxDataSummary, TPersistent)
    explicit TcxDataSummary(TcxCustomDataController* controller);
    void BeforeDestruction() override;
    void Assign(TPersistent* source) override;

    void BeginUpdate();
    void EndUpdate();
    void CancelUpdate();
    void Recalculate() { Changed(false); }
    virtual void Changed(bool redrawOnly);
    TcxCustomDataController* DataController() const { return controller_; }

    void BeginCalculate();
    void EndCalculate();
    void Calculate() { BeginCalculate(); EndCalculate(); }
    void CalculateFooterSummary();
    void CalculateGroupSummary();
    bool FollowsSelection();
    virtual void DoAfterSummary();

    Variant FooterSummaryValues(int index) const;
    void SetFooterSummaryValues(int index, const Variant& value);
    std::string FooterSummaryTexts(int index);
    Variant GroupSummaryValue(int group, int index) const;
    void SetGroupSummaryValue(int group, int index, const Variant& value);
    // The summary items and values of the group at a row; false without a group or values.
    bool GetGroupSummaryInfo(int rowIndex, TcxDataSummaryItems*& items, Variant& values);
    std::string GroupSummaryText(int rowIndex);
    std::string GroupFooterSummaryText(int rowIndex, int level, int index);
    int GroupFooterIndexOfItemLink(int level, TObject* itemLink);
    TcxDataSummaryItems* GetGroupSummaryItems(int level);
    void RemoveItemByField(TcxCustomDataField* field);

    TcxDataGroupSummaryItems* DefaultGroupSummaryItems() const { return defaultGroupItems_; }
    TcxDataFooterSummaryItems* FooterSummaryItems() const { return footerItems_; }
    TcxDataSummaryGroups* SummaryGroups() const { return summaryGroups_; }
    // The pattern controller's collection that stands where `items` stands in this summary.
    TcxDataSummaryItems* GetPatternSummaryItems(TcxDataSummary* pattern, TcxDataSummaryItems* items) const;
    TcxSummaryOptions Options() const { return options_; }
    void SetOptions(TcxSummaryOptions value);
    Event<void(TcxDataSummary*)> OnAfterSummary;

protected:
    void BeginCalculateSummary(TcxDataSummaryItems* items, TcxDataSummaryValues& values, std::vector<int>& counts);
    void CalculateSummary(TcxDataSummaryItems* items, int first, int last, TcxDataSummaryValues& values, std::vector<int>& counts);
    Variant EndCalculateSummary(TcxDataSummaryItems* items, TcxDataSummaryValues& values, std::vector<int>& counts);
    virtual void DoSummaryValue(TcxDataSummaryItem* item, int recordIndex, int& count, Variant& value);
    virtual void DoFinishSummaryValue(TcxDataSummaryItem* item, Variant& value, int count);
    virtual int GetRecordIndex(int listIndex);

private:
    void SetCustomValue(Variant& values, int index, const Variant& value);
    TcxCustomDataController* controller_;
    TcxDataGroupSummaryItems* defaultGroupItems_;
    bool destroying_ = false;
    TcxDataFooterSummaryItems* footerItems_;
    TcxDataSummaryGroups* summaryGroups_ = nullptr;
    Variant footerValues_ = Null;
    bool inAfterSummary_ = false;
    int lockCount_ = 0;
    TcxSummaryOptions options_;
    bool setCustomSummary_ = false;
};
using TcxDataSummaryClass = TClassRef<TcxDataSummary, TcxCustomDataController*>;

// --- the controller --------------------------------------------------------------------------------
// The component through which a controller hears that components it references (through its
// fields) are being destroyed: a component the controller uses asks it for a free notification.
class TcxDataControllerNotifier : public TComponent {
    RTL_CLASS(TcxDataControllerNotifier, TComponent)
    TcxDataControllerNotifier(TComponent* owner, TcxCustomDataController* controller)
        : TComponent(owner), controller_(controller) {}

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TcxCustomDataController* controller_;
};

using TcxDataControllerNotifyEvent = Event<void(TcxCustomDataController*)>;
using TcxDataControllerRecordEvent = Event<void(TcxCustomDataController*, int recordIndex)>;
using TcxDataFilterRecordEvent = Event<void(TcxCustomDataController*, int recordIndex, bool& accept)>;
using TcxDataControllerCompareEvent =
    Event<void(TcxCustomDataController*, int r1, int r2, int itemIndex, const Variant& v1, const Variant& v2, int& compare)>;
using TcxDataRecordChangedEvent = Event<void(TcxCustomDataController*, int recordIndex, int itemIndex)>;
using TcxUpdateControlEvent = Event<void(TcxUpdateControlInfo*)>;

struct TcxDataChangeInfo {
    TcxDataChange Kind = dcTotal;
    int ItemIndex = -1;
    int RecordIndex = -1;
    bool Pending = false;   // a change was recorded since the last notice
};
struct TcxDataSelectionChangedInfo {
    int SelectedCount = 0;
    int RowIndex = -1;
};

// --- master-detail relations ------------------------------------------------------------------------
class TcxCustomDataRelationList;

// What a master record keeps for one relation: the link object the control attached (owned) and
// the provider's remembered has-children answer.
class TcxDetailInfoObject : public TObject {
    RTL_CLASS(TcxDetailInfoObject, TObject)
    ~TcxDetailInfoObject() override { FreeAndNil(LinkObject); }
    TObject* LinkObject = nullptr;
    bool HasChildren = false;
    bool HasChildrenAssigned = false;
};

// Held by a master record in the relation list's internal field (freed with the record).
class TcxDetailObject : public TObject {
    RTL_CLASS(TcxDetailObject, TObject)
    ~TcxDetailObject() override { Clear(); }
    void Clear();
    bool ClearHasChildrenFlag();
    void ClearInfoObject(int index);
    void CorrectCount(TcxCustomDataRelationList* relations);
    TcxDetailInfoObject* GetInfoObject(int index) const;
    int GetInfoObjectCount() const { return static_cast<int>(infos_.size()); }
    bool GetIsEmpty() const;
    TObject* GetLinkObject(int index) const;
    int GetLinkObjectCount() const { return GetInfoObjectCount(); }
    void SetInfoObject(int index, TcxDetailInfoObject* info);
    void SetLinkObject(int index, TObject* object);
    int ActiveRelationIndex = -1;
    bool Expanded = false;

private:
    std::vector<TcxDetailInfoObject*> infos_;
};

class TcxCustomDataRelation : public TObject {
    RTL_CLASS(TcxCustomDataRelation, TObject)
    TcxCustomDataRelation(TcxCustomDataRelationList* relationList, TObject* item);
    ~TcxCustomDataRelation() override;
    virtual void RemoveDataField(TcxCustomDataField* field) {}
    virtual void Assign(TcxCustomDataRelation* source) {}
    void Changed();
    TcxCustomDataController* GetDataController() const;
    int GetIndex() const;
    TObject* Item() const { return item_; }
    TcxCustomDataRelationList* RelationList() const { return relationList_; }
    TcxCustomDataController* DetailDataController = nullptr;

private:
    friend class TcxCustomDataRelationList;
    TObject* item_;
    TcxCustomDataRelationList* relationList_ = nullptr;
};
using TcxCustomDataRelationClass = TClassRef<TcxCustomDataRelation, TcxCustomDataRelationList*, TObject*>;

class TcxCustomDataRelationList : public TObject {
    RTL_CLASS(TcxCustomDataRelationList, TObject)
    explicit TcxCustomDataRelationList(TcxCustomDataController* controller) : controller_(controller) {}
    ~TcxCustomDataRelationList() override;
    TcxCustomDataRelation* Add(TObject* item);
    void Assign(TcxCustomDataRelationList* source);
    void BeginUpdate() { ++lockCount_; }
    void EndUpdate();
    void Clear();
    bool ClearDetailObject(int recordIndex, int relationIndex);
    TcxCustomDataRelation* FindByItem(TObject* item) const;
    TcxDetailObject* GetDetailObject(int recordIndex);
    bool IsDetailObjectExist(int recordIndex, int relationIndex);
    bool IsEmpty() const;
    void Move(int from, int to);
    void RemoveByItem(TObject* item);
    void Changed(TcxCustomDataRelation* relation);
    TcxDetailObject* GetValueAsDetailObject(int recordIndex);
    void RemoveDataField(TcxCustomDataField* field);
    int GetCount() const { return static_cast<int>(items_.size()); }
    TcxCustomDataRelation* GetItem(int index) const { return items_.at(index); }
    TcxCustomDataController* DataController() const { return controller_; }
    TcxCustomDataField* DetailObjectField() const { return detailObjectField_; }

private:
    friend class TcxCustomDataRelation;
    void Update(TcxCustomDataRelation* relation);
    void AddItem(TcxCustomDataRelation* relation);
    void RemoveItem(TcxCustomDataRelation* relation);
    TcxCustomDataController* controller_;
    TcxCustomDataField* detailObjectField_ = nullptr;
    std::vector<TcxCustomDataRelation*> items_;
    int lockCount_ = 0;
};

enum TcxDataControllerDetailMode { dcdmNone, dcdmPattern, dcdmClone };
class TcxSaveObject;
using TcxDataControllerEachDetailProc = std::function<void(TcxCustomDataController*)>;
using TcxDataDetailExpandingEvent = Event<void(TcxCustomDataController*, int, bool&)>;
using TcxDataDetailExpandedEvent = Event<void(TcxCustomDataController*, int)>;

class TcxDataListenerLink : public TObject {
    RTL_CLASS(TcxDataListenerLink, TObject)
    TcxCustomDataController* Ref = nullptr;
};

class TcxCustomDataController : public TPersistent {
    RTL_CLASS(TcxCustomDataController, TPersistent)
    explicit TcxCustomDataController(TComponent* owner);
    ~TcxCustomDataController() override;
    void BeforeDestruction() override;
    TPersistent* GetOwner() override { return owner_; }
    void Assign(TPersistent* source) override;

    // Class factories.
    virtual TCollectionItemClass GetSummaryItemClass() const { return TCollectionItemClass::Of<TcxDataSummaryItem>(); }
    virtual TCollectionItemClass GetSummaryGroupItemLinkClass() const
    {
        return TCollectionItemClass::Of<TcxDataSummaryGroupItemLink>();
    }
    virtual TcxCustomDataProviderClass GetDataProviderClass() const { return TcxCustomDataProviderClass::Of<TcxCustomDataProvider>(); }
    virtual TcxCustomDataFieldClass GetFieldClass() const { return TcxCustomDataFieldClass::Of<TcxCustomDataField>(); }
    virtual TcxDataControllerSearchClass GetSearchClass() const { return TcxDataControllerSearchClass::Of<TcxDataControllerSearch>(); }
    virtual TcxDataSummaryClass GetSummaryClass() const { return TcxDataSummaryClass::Of<TcxDataSummary>(); }
    virtual TcxDataSelectionClass GetDataSelectionClass() const { return TcxDataSelectionClass::Of<TcxDataSelection>(); }
    // Constructors do not dispatch virtually: a descendant with its own provider class calls this
    // once it is constructed, before it is used.
    void RecreateProvider();
    // The same for all the objects the constructor makes by class (provider, filter criteria,
    // search, summary, the engine's selection): each whose factory names another class than it
    // has is made again; the filter's conditions and settings, the summary's items and the
    // selection's entries go over to the new object.
    void RecreateClassObjects();

    // Items and fields.
    virtual TObject* GetItem(int index) const = 0;
    virtual int GetItemCount() const { return fields_->ItemCount(); }
    virtual int GetItemID(TObject* item) const { return -1; }
    virtual std::string GetItemName(TObject* item) const;
    virtual TObject* FindItemByInternalID(int id) const;
    virtual TObject* FindItemByName(const std::string& name) const;
    virtual TObject* FindProperItemLink(TObject* item) const { return FindItemByInternalID(GetItemID(item)); }
    virtual TcxCustomDataField* AddItem(TObject* item);
    virtual void RemoveItem(TObject* item);
    virtual void UpdateItemIndexes();
    virtual TcxCustomDataField* AddField();
    virtual TcxCustomDataField* AddInternalField();
    virtual void RemoveField(TcxCustomDataField* field);
    virtual bool ItemPropertiesChanged(int itemIndex);
    TcxCustomDataField* Fields(int itemIndex) const { return fields_->Items(itemIndex); }
    TcxCustomDataFieldList* FieldList() const { return fields_; }
    TcxDataControllerNotifier* GetNotifier() const { return notifier_; }
    virtual void RemoveNotification(TComponent* component) { fields_->RemoveNotification(component); }
    virtual TcxValueTypeClass GetItemValueTypeClass(int itemIndex) const;
    virtual bool GetItemTextStored(int itemIndex) const;
    virtual bool IsDisplayFormatDefined(int itemIndex, bool currencyAccepted) const { return GetItemTextStored(itemIndex); }
    virtual void ChangeValueTypeClass(int itemIndex, TcxValueTypeClass valueType);
    virtual void ChangeTextStored(int itemIndex, bool value);
    virtual void DoValueTypeClassChanged(int itemIndex) {}
    void BeginUpdateFields() { ++updateFieldsLockCount_; }
    void EndUpdateFields();

    // Values and records.
    virtual Variant GetValue(int recordIndex, int itemIndex);
    virtual void SetValue(int recordIndex, int itemIndex, const Variant& value);
    virtual std::string GetDisplayText(int recordIndex, int itemIndex);
    virtual void SetDisplayText(int recordIndex, int itemIndex, const std::string& text);
    virtual Variant GetInternalValue(int recordIndex, TcxCustomDataField* field);
    virtual std::string GetInternalDisplayText(int recordIndex, TcxCustomDataField* field);
    Variant GetStoredValue(int recordIndex, TcxCustomDataField* field);
    std::string GetStoredDisplayText(int recordIndex, TcxCustomDataField* field);
    void SetStoredValue(int recordIndex, TcxCustomDataField* field, const Variant& value);
    virtual bool IsDataField(TcxCustomDataField* field) const;
    virtual int GetRecordCount() const { return storage_->RecordCount(); }
    virtual void SetRecordCount(int count);
    int AppendRecord();
    int InsertRecord(int recordIndex);
    void DeleteRecord(int recordIndex);
    virtual Variant GetRecordId(int recordIndex);
    virtual void Refresh();
    TcxDataStorage* DataStorage() const { return storage_; }

    // Range checks.
    void CheckItemRange(int itemIndex) const;
    void CheckRecordRange(int recordIndex);
    void CheckRange(int recordIndex, int itemIndex) { CheckRecordRange(recordIndex); CheckItemRange(itemIndex); }

    // Modes.
    virtual bool IsProviderMode() const { return provider_->CustomDataSource() != nullptr; }
    virtual bool IsProviderDataSource() const { return IsProviderMode() || structureRecreated_; }
    bool IsDataBound() const { return IsProviderMode() || provider_->IsDataSource(); }
    virtual bool UseRecordID() const { return false; }
    bool IsRecordID() const { return IsUnboundMode() && UseRecordID(); }
    virtual bool IsSmartLoad() const { return false; }
    bool IsDataLoading() const { return provider_->FreezeCount() != 0; }

    // Provider mode, structure and loading.
    TcxCustomDataSource* CustomDataSource() const { return provider_->CustomDataSource(); }
    void SetCustomDataSource(TcxCustomDataSource* value);
    virtual void CustomDataSourceChanged() {}
    virtual void RestructData();
    void UpdateItems(bool updateFields);
    void UpdateStorage(bool updateFields);
    virtual void LoadStorage();
    virtual void UpdateFields();
    virtual void PrepareField(TcxCustomDataField* field) {}
    void UpdateUseRecordIDState();
    virtual void DoReadRecord(int recordIndex) { provider_->CorrectRecordIndex(recordIndex); }
    virtual void ProviderValueDefSetProc(TcxValueDef* def, int fromRecord, int toRecord, TcxValueDefReader* reader);
    virtual void BeginSmartLoad();
    virtual void EndSmartLoad();
    virtual int AppendInSmartLoad();
    virtual int LoadRecord(TcxDataRecordHandle data);
    virtual void DeleteInSmartLoad(int recordIndex);
    virtual void BeginReadRecord() {}
    virtual void EndReadRecord() {}
    TcxCustomDataField* RecordHandlesField() const { return recordHandlesField_; }
    bool InSetCustomDataSource() const { return inSetCustomDataSource_; }
    bool InLoadStorage() const { return inLoadStorage_; }
    bool StructureChanged() const { return structureChanged_; }
    virtual bool IsUnboundMode() const { return provider_->IsCustomDataSourceSupported() && !IsProviderMode(); }
    virtual bool IsGridMode() const { return provider_->IsGridMode(); }
    virtual bool IsSmartRefresh() const { return false; }
    virtual bool IsLoading() const;
    virtual bool IsDestroying() const;
    virtual bool IsKeyNavigation() const;

    // Master-detail: the pattern controller is set up with a relation; clones are created per
    // master record through link objects and share the pattern's settings.
    TcxDataControllerDetailMode GetDetailMode() const;
    bool GetIsPattern() const { return GetDetailMode() == dcdmPattern; }
    virtual bool IsDetailMode() const { return masterRelation_ != nullptr; }
    void SetIsPattern(bool value);
    void AddDataChangeRefCount();
    void RemoveDataChangeRefCount();
    virtual TcxCustomDataRelation* GetMasterRelation() const { return masterRelation_; }
    virtual int GetMasterRecordIndex() const { return masterRecordIndex_; }
    virtual TcxCustomDataController* GetMasterDataController() const;
    TcxCustomDataController* GetRootDataController();
    TcxCustomDataController* GetPatternDataController();
    virtual void SetMasterRelation(TcxCustomDataRelation* relation, int masterRecordIndex);
    void SetMasterMode(TcxCustomDataRelation* relation, bool isPattern);
    TcxCustomDataRelationList* GetRelations();
    virtual TcxCustomDataRelationClass GetRelationClass() const { return TcxCustomDataRelationClass::Of<TcxCustomDataRelation>(); }
    virtual void UpdateRelations(TcxCustomDataRelation* relation);
    virtual void ResetRelationByItem(TObject* item);
    void ClearDetailsMasterRelation(TcxCustomDataRelation* relation);
    virtual TObject* CreateDetailLinkObject(TcxCustomDataRelation* relation, int recordIndex) { return nullptr; }
    virtual TcxCustomDataController* GetDetailDataControllerByLinkObject(TObject* linkObject) { return nullptr; }
    TObject* GetDetailLinkObject(int recordIndex, int relationIndex);
    TcxCustomDataController* GetDetailDataController(int recordIndex, int relationIndex);
    bool IsDetailDataControllerExist(int recordIndex, int relationIndex);
    void ClearDetailLinkObject(int recordIndex, int relationIndex);
    void ClearDetails();
    void CollapseDetails();
    bool GetDetailExpanding(int recordIndex);
    bool ChangeDetailExpanding(int recordIndex, bool expanded);
    virtual bool CanChangeDetailExpanding(int recordIndex, bool expanded);
    virtual void DoDetailExpanding(int recordIndex, bool& allow) { if (OnDetailExpanding) OnDetailExpanding(this, recordIndex, allow); }
    virtual void DoDetailCollapsing(int recordIndex, bool& allow) { if (OnDetailCollapsing) OnDetailCollapsing(this, recordIndex, allow); }
    virtual void DoDetailExpanded(int recordIndex) { if (OnDetailExpanded) OnDetailExpanded(this, recordIndex); }
    virtual void DoDetailCollapsed(int recordIndex) { if (OnDetailCollapsed) OnDetailCollapsed(this, recordIndex); }
    int GetDetailActiveRelationIndex(int recordIndex);
    void ChangeDetailActiveRelationIndex(int recordIndex, int relationIndex);
    virtual int GetDefaultActiveRelationIndex() const { return 0; }
    bool GetDetailHasChildren(int recordIndex, int relationIndex);
    void ResetHasChildrenFlag();
    void ResetMasterHasChildrenFlag();
    void FocusDetails(int recordIndex);
    void ForEachDetail(TcxCustomDataRelation* relation, const TcxDataControllerEachDetailProc& proc);
    virtual bool CheckDetailsBrowseMode();
    virtual bool CheckMasterBrowseMode() { return true; }
    virtual void CheckDataSetCurrent() {}
    virtual bool SyncDetailsFocusWithMaster() { return false; }
    virtual void SyncMasterPos();
    virtual void NotifyDataControllers() {}
    virtual void CorrectAfterInsert(int recordIndex);
    virtual void CorrectAfterDelete(int recordIndex);
    TcxCustomDataController* CreatingDataController = nullptr;
    TcxDataDetailExpandingEvent OnDetailExpanding;
    TcxDataDetailExpandingEvent OnDetailCollapsing;
    TcxDataDetailExpandedEvent OnDetailExpanded;
    TcxDataDetailExpandedEvent OnDetailCollapsed;

    // Kept keys: expanded details and the selection follow their records by key through a reload.
    void SaveKeys();
    void RestoreKeys();
    virtual Variant GetInternalRecordId(int recordIndex, TList* keyFields);
    virtual void GetKeyFields(TList* list) {}
    bool CreatingLinkObject() const { return creatingLinkObject_; }
    virtual void CheckMode();
    TcxDataControllerOptions Options() const { return options_; }
    void SetOptions(TcxDataControllerOptions value);

    // Update locking and notices.
    void BeginUpdate();
    void EndUpdate();
    virtual void BeginFullUpdate() { BeginUpdate(); }
    virtual void EndFullUpdate() { EndUpdate(); }
    int LockCount() const { return info_->LockCount(); }
    void Change(TcxDataControllerChanges changes);
    virtual void DataChanged(TcxDataChange kind, int itemIndex, int recordIndex);
    virtual void LayoutChanged(TcxDataLayoutChanges changes);
    virtual void ActiveChanged(bool active);
    virtual void UpdateControl(TcxUpdateControlInfo* info) { CallEvent(OnUpdateControl, info); }
    virtual void DoBeforeFocusedRowChange(int rowIndex) {}
    virtual void Loaded();
    virtual void DoDataChanged();
    virtual void Unlocked() {}
    bool Active() const { return active_; }
    void AddDataChangedListener(TObject* instance, const Event<void(TObject*)>& event);
    void RemoveDataChangedListener(TObject* instance, const Event<void(TObject*)>& event);
    static TcxDataListenerLink* AddListenerLink(TcxCustomDataController* controller);
    static void RemoveListenerLink(TcxDataListenerLink* link);
    void BeforeGroupingNotification();

    // Stream.
    void SaveToStream(TStream* stream);
    void LoadFromStream(TStream* stream);

    // Editing.
    void Append();
    void Insert();
    void Edit();
    virtual void Post(bool force = false);
    virtual void Cancel();
    void PostEditingData() { provider_->PostEditingData(); }
    virtual void CheckBrowseMode() {}
    virtual void UpdateData() {}
    virtual TcxDataEditValueSource GetItemValueSource(int itemIndex) { return evsText; }
    virtual bool CanInitEditing(int itemIndex);
    virtual Variant GetEditValue(int itemIndex, TcxDataEditValueSource source);
    virtual bool SetEditValue(int itemIndex, const Variant& value, TcxDataEditValueSource source);
    virtual bool IsImmediatePost() const;
    virtual int GetEditingRecordIndex();
    virtual int CalcEditingRecordIndex();
    virtual void CheckEditingRecordIndex(int recordIndex);
    virtual void CopyRecord(int fromRecord, int toRecord);
    virtual void DeleteFocused();
    virtual void DeleteSelection();
    void DeleteFocusedRecord();
    void DeleteRecords(std::vector<int>& list);
    TcxDataControllerEditState GetEditState() const;
    TcxDataControllerEditOperations GetEditOperations() const;
    bool IsEditing() const;
    int GetNewItemRecordIndex();
    bool IsNewItemRecordIndex(int recordIndex);
    bool NewItemRowFocused() const;
    void SetNewItemRowFocused(bool value);
    void ResetNewItemRowFocused();
    bool UseNewItemRowForEditing() const { return useNewItemRowForEditing_; }
    void SetUseNewItemRowForEditing(bool value);
    virtual void DoAfterCancel() { CallEvent(OnAfterCancel, this); }
    virtual void DoAfterDelete() { CallEvent(OnAfterDelete, this); }
    virtual void DoAfterInsert() { CallEvent(OnAfterInsert, this); }
    virtual void DoAfterPost() { CallEvent(OnAfterPost, this); }
    virtual void DoBeforeCancel() { CallEvent(OnBeforeCancel, this); }
    virtual void DoBeforeDelete(int recordIndex) { CallEvent(OnBeforeDelete, this, recordIndex); }
    virtual void DoBeforeInsert() { CallEvent(OnBeforeInsert, this); }
    virtual void DoBeforePost() { CallEvent(OnBeforePost, this); }
    virtual void DoNewRecord(int recordIndex) { CallEvent(OnNewRecord, this, recordIndex); }
    TcxCustomDataProvider* Provider() const { return provider_; }
    int NearestRecordIndex = -1;
    bool InCancel() const { return inCancel_; }
    bool InDeleteSelection = false;
    bool InSmartLoad = false;

    // Rows, focus, navigation, bookmark, selection.
    int GetRowCount() const { return info_->GetRowCount(); }
    TcxRowInfo GetRowInfo(int rowIndex) { return info_->GetRowInfo(rowIndex); }
    int GetNearestRowIndex(int rowIndex) { return info_->GetNearestRowIndex(rowIndex); }
    int GetRowIndexByRecordIndex(int recordIndex, bool makeVisible);
    void MakeRecordVisible(int recordIndex) { GetRowIndexByRecordIndex(recordIndex, true); }
    std::string GetRowDisplayText(const TcxRowInfo& rowInfo, int& itemIndex);
    Variant GetRowValue(const TcxRowInfo& rowInfo, int itemIndex);
    void ForEachRow(bool selectedOnly, const std::function<void(int, const TcxRowInfo&)>& proc);
    int GetFilteredRecordCount() const { return info_->GetInternalRecordCount(); }
    int GetFilteredRecordIndex(int index) const { return info_->GetInternalRecordIndex(index); }
    int GetFilteredIndexByRecordIndex(int recordIndex) const { return info_->GetInternalRecordListIndex(recordIndex); }
    int GetLastRecordIndex();
    int GetFocusedRowIndex() const { return info_->GetFocusedRowIndex(); }
    int GetFocusedRecordIndex() { return info_->GetFocusedRecordIndex(); }
    void SetFocusedRowIndex(int rowIndex) { ChangeFocusedRowIndex(rowIndex); }
    bool ChangeFocusedRecordIndex(int recordIndex);
    virtual bool ChangeFocusedRowIndex(int rowIndex);
    void CheckFocusedRow();
    virtual bool CanFocusRecord(int recordIndex);
    virtual void UpdateFocused();
    virtual int GetRecordIndex() { return info_->GetFocusedRecordIndex(); }
    void CheckNearestFocusRow();
    bool GotoFirst() { return ChangeFocusedRowIndex(0); }
    bool GotoLast() { return ChangeFocusedRowIndex(GetRowCount() - 1); }
    bool GotoNext() { return ChangeFocusedRowIndex(GetFocusedRowIndex() + 1); }
    bool GotoPrev() { return ChangeFocusedRowIndex(std::max(GetFocusedRowIndex() - 1, 0)); }
    bool MoveBy(int distance) { return ChangeFocusedRowIndex(std::max(GetFocusedRowIndex() + distance, 0)); }
    void Scroll(int distance) {}
    bool IsBOF() const;
    bool IsEOF() const;
    bool IsBookmarkAvailable() const { return bookmarkRecordIndex_ != -1; }
    void SaveBookmark();
    void GotoBookmark();
    void ClearBookmark();
    bool IsBookmarkRow(int rowIndex);
    virtual void CheckBookmarkValid(int deletedRecordIndex);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool IsFocusedSelectedMode() const { return !multiSelect_; }
    int GetSelectedCount() const;
    int GetSelectedRowIndex(int index) const;
    bool IsRowSelected(int rowIndex) const;
    virtual void ChangeRowSelection(int rowIndex, bool select);
    void SelectRows(int rowIndex1, int rowIndex2);
    void SelectAll();
    void ClearSelection() { info_->ClearSelection(); }
    void ClearSelectionAnchor() { info_->Selection()->ClearAnchor(); }
    int GetSelectionAnchorRowIndex() const { return info_->Selection()->AnchorRowIndex; }
    void SetSelectionAnchor(int rowIndex);
    void SelectFromAnchor(int rowIndex, bool keepSelection);
    void SyncSelectionFocusedRecord();
    void CheckFocusedSelected();
    void SyncSelected(bool selected);
    virtual bool CanSelectRow(int rowIndex) { return true; }
    void CheckSelectedCount(int recordIndex);
    void CorrectPrevSelectionChangedInfo();

    // Sorting, comparison, filtering, search.
    void ChangeSorting(int itemIndex, TcxDataSortOrder order);
    void ChangeItemSortingIndex(int itemIndex, int sortingIndex);
    TcxDataSortOrder GetItemSortOrder(int itemIndex);
    int GetItemSortingIndex(int itemIndex);
    int GetSortingItemCount() const;
    int GetSortingItemIndex(int index) const;
    void ClearSorting(bool keepGroupIndex) { info_->ClearSorting(keepGroupIndex); }
    virtual void BeforeSorting();
    virtual bool GetItemSortByDisplayText(int itemIndex, bool defaultValue) { return false; }
    virtual bool IsSortByDisplayTextNeeded(TcxCustomDataField* field);
    virtual bool IsStringConversionNeeded(TcxCustomDataField* field);
    virtual bool IsConversionNeededForCompare(TcxCustomDataField* field);
    virtual int CompareByField(int r1, int r2, TcxCustomDataField* field, TcxDataControllerComparisonMode mode);
    virtual int CompareRecords(int r1, int r2, const TcxDataSortInfo& sortInfo, TcxDataControllerComparisonMode mode);
    virtual int CompareEqualRecords(int r1, int r2) { return r1 < r2 ? -1 : (r1 > r2 ? 1 : 0); }
    virtual Variant GetComparedValue(int recordIndex, TcxCustomDataField* field);
    int NativeCompare(int r1, int r2, TcxCustomDataField* field);
    TcxDataFilterCriteria* Filter() const { return filter_; }
    virtual TcxDataFilterCriteriaClass GetFilterCriteriaClass() const { return TcxDataFilterCriteriaClass::Of<TcxDataFilterCriteria>(); }
    virtual TcxDataFilterCriteria* CreateFilter();
    TcxDataFilterList* FilterList() const { return filterList_; }
    virtual bool IsFilterItemSortByDisplayText(int itemIndex);
    virtual bool IsFilterRecord() const { return OnFilterRecord_.Assigned(); }
    virtual bool DoFilterRecord(int recordIndex);
    void SetOnFilterRecord(const TcxDataFilterRecordEvent& handler);
    virtual void FilterChanged();
    virtual Variant GetFilterDataValue(int recordIndex, TcxCustomDataField* field) { return GetInternalValue(recordIndex, field); }
    virtual std::string GetFilterDisplayText(int recordIndex, int itemIndex) { return GetDisplayText(recordIndex, itemIndex); }
    virtual std::string GetFilterItemFieldCaption(TObject* item) { return {}; }
    virtual std::string GetFilterItemFieldName(TObject* item) { return GetFilterItemFieldCaption(item); }
    virtual int SetIncrementalFilter(int itemIndex, const std::string& text);
    virtual void ResetIncrementalFilter();
    virtual bool IsIncrementalFilter() const { return incrementalFilterField_ && !incrementalFilterText_.empty(); }
    virtual std::string GetIncrementalFilterText() const { return incrementalFilterText_; }
    bool ChangeIncrementalFilterText(const std::string& text);
    virtual bool DoIncrementalFilterRecord(int recordIndex);
    virtual int FindRecordIndexByText(int start, int itemIndex, const std::string& text, bool partial, bool wrap, bool forward);
    virtual std::string GetIncrementalSearchText(int recordIndex, int itemIndex) { return GetDisplayText(recordIndex, itemIndex); }
    // The first record (of the storage, or with viewOnly of the filtered view) whose values of
    // the fields equal those of the given record.
    int FindRecordByFields(int recordIndex, const std::vector<TcxCustomDataField*>& fields, bool viewOnly = false);
    bool InternalFindRecord() const { return internalFindRecord_; }
    int FindGroupRecord(int recordIndex, int levelCount);
    TcxDataControllerSearch* Search() const { return search_; }
    virtual Variant GetGroupValue(int recordIndex, TcxCustomDataField* field) { return GetInternalValue(recordIndex, field); }
    virtual void GetGroupValues(int recordIndex, TcxDataSummaryValues& values);
    virtual void DoGroupingChanged();
    virtual void DoSortingChanged();
    virtual void SummaryChanged(bool redrawOnly) { info_->RefreshSummary(redrawOnly); }
    // The item whose group summary sorts the groups of every level (it overrides the items'
    // own sorted flags); -1 for none.
    virtual int GetSortingBySummaryDataItemIndex() const;
    void SetSortingBySummaryDataItemIndex(int value);
    virtual void DoSortingBySummaryChanged();
    virtual TcxSortingBySummaryEngineClass GetSortingBySummaryEngineClass();
    bool SortingBySummaryChanged = false;

    TcxDataControllerGroups* Groups() const { return groups_; }
    TcxDataSummary* Summary() const { return summary_; }
    TcxCustomDataControllerInfo* DataControllerInfo() const { return info_; }

    // State shared with the engine, the provider and the search.
    bool SortingChanged = false;
    bool GroupingChanged = false;
    bool FilterChangedFlag = false;
    bool LoadedStorage = false;
    bool CheckFocusingAfterFilter = false;
    bool InNotifyControl() const { return inNotifyControl_; }
    bool IncrementalSearching = false;
    std::string IncrementalSearchText;
    TcxCustomDataField* IncrementalSearchField = nullptr;
    TcxDataSelectionChangedInfo PrevSelectionChangedInfo;
    bool AfterSummaryPending = false;
    bool FocusedSelected() const { return focusedSelected_; }

    // Events.
    TcxDataControllerNotifyEvent OnAfterCancel, OnAfterDelete, OnAfterInsert, OnAfterPost, OnBeforeCancel;
    TcxDataControllerRecordEvent OnBeforeDelete;
    TcxDataControllerNotifyEvent OnBeforeInsert, OnBeforePost;
    TcxDataControllerRecordEvent OnNewRecord;
    TcxDataControllerCompareEvent OnCompare;
    TcxDataControllerNotifyEvent OnDataChanged;
    TcxDataControllerNotifyEvent OnGroupingChanged;
    TcxDataRecordChangedEvent OnRecordChanged;
    TcxDataControllerNotifyEvent OnSortingChanged;
    TcxUpdateControlEvent OnUpdateControl;
    const TcxDataFilterRecordEvent& OnFilterRecord() const { return OnFilterRecord_; }

protected:
    void CheckChanges();
    void NotifyControl(TcxUpdateControlInfo* info);
    void NotifyDataChangedListeners();
    bool IsDataChangedListenersExist() const;
    void CheckInternalRecordRange(int recordIndex);
    void DataStorageClearInternalRecords(TObject* sender);

public:
    void DataStorageClearNewItem();   // the new-item record was dropped

private:
    void UpdatePass();
    void ReadRecordsFromStream(TStream* stream);
    void DataNotification();
    void FocusedNotification();
    void SelectionNotification();
    bool IsRecordDesignated(int recordIndex);

    bool active_ = false;
    int bookmarkRecordIndex_ = -1;
    TcxDataControllerChanges changes_;
    bool dataChangedPending_ = false;
    TcxDataChangeInfo dataChangeInfo_;
    bool destroying_ = false;
    TcxCustomDataFieldList* fields_;
    TcxDataFilterCriteria* filter_;
    bool focusedSelected_ = true;
    TcxDataControllerGroups* groups_;
    bool inCancel_ = false;
    bool inNotifyControl_ = false;
    bool inSortingChangedHandler_ = false;
    TcxCustomDataField* incrementalFilterField_ = nullptr;
    std::string incrementalFilterText_;
    TcxCustomDataControllerInfo* info_;
    bool internalFindRecord_ = false;
    std::vector<TcxDataListenerLink*> listenerLinks_;
    struct Listener {
        TObject* Instance;
        Event<void(TObject*)> Handler;
    };
    std::vector<Listener> listeners_;
    bool multiSelect_ = false;
    int newItemRecordIndex_ = 0;
    bool newItemRowFocused_ = false;
    TcxDataFilterRecordEvent OnFilterRecord_;
    TcxDataControllerOptions options_;
    TComponent* owner_;
    TcxCustomDataProvider* provider_;
    TcxDataControllerSearch* search_;
    TcxDataSelectionChangedInfo selectionChangedInfo_;
    TcxDataStorage* storage_;
    TcxDataSummary* summary_;
    int updateFieldsLockCount_ = 0;
    bool updateFieldsPending_ = false;
    bool useNewItemRowForEditing_ = false;
    TcxCustomDataRelation* masterRelation_ = nullptr;
    int masterRecordIndex_ = -1;
    TcxCustomDataRelationList* relations_ = nullptr;
    bool creatingLinkObject_ = false;
    bool recreatingLinkObject_ = false;
    bool detailExpanding_ = false;
    bool isPattern_ = false;
    bool requestedIsPattern_ = false;
    int dataChangeRefCount_ = 0;
    TcxSaveObject* saveObject_ = nullptr;
    void ShiftDetailMasterIndexes(int from, int delta);
    int saveObjectLockCount_ = 0;
    TcxCustomDataField* recordHandlesField_ = nullptr;
    TcxCustomDataField* sortingBySummaryField_ = nullptr;
    TcxDataControllerNotifier* notifier_ = nullptr;
    TcxDataFilterList* filterList_ = nullptr;
    bool structureChanged_ = false;
    bool structureRecreated_ = false;
    bool inUpdateItems_ = false;
    bool inSetCustomDataSource_ = false;
    bool inLoadStorage_ = false;
    bool prevGridMode_ = false;
    friend class TcxCustomDataControllerInfo;
    friend class TcxCustomDataProvider;
    friend class TcxDataControllerGroupLocateObject;
};

} // namespace cx
