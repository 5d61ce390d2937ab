// Record editing through the provider, and the controller's focus, navigation, bookmark,
// selection, sorting, comparison and filter entry points.
#include <algorithm>

#include "toolkit/data/cxCustomData.h"

namespace cx {

// --- provider --------------------------------------------------------------------------------------
bool TcxCustomDataProvider::CanDelete() const { return controller_->GetFilteredRecordCount() > 0; }

void TcxCustomDataProvider::ResetEditing()
{
    if (editingRecordIndex_ != cxNoEditingRecord && editingRecordIndex_ < 0 &&
        editingRecordIndex_ == controller_->GetNewItemRecordIndex()) {
        // Dropping the new-item record's values frees its slot; the controller makes a fresh one
        // on next use, so the slot cannot be shared with another internal record meanwhile.
        controller_->DataStorage()->DeleteRecord(editingRecordIndex_);
        controller_->DataStorageClearNewItem();
    }
    editingRecordIndex_ = editingBefore_ = editingAfter_ = cxNoEditingRecord;
    inserting_ = false;
    ResetChanging();
    ResetModified();
    ClearSavedRecord();
}

void TcxCustomDataProvider::CreateSavedRecord(int recordIndex)
{
    if (savedRecordIndex_ == 0)
        savedRecordIndex_ = controller_->DataStorage()->AddInternalRecord();
    controller_->CopyRecord(recordIndex, savedRecordIndex_);
}

void TcxCustomDataProvider::ClearSavedRecord()
{
    if (savedRecordIndex_ == 0)
        return;
    controller_->DataStorage()->DeleteRecord(savedRecordIndex_);
    savedRecordIndex_ = 0;
}

bool TcxCustomDataProvider::CanInitEditing(int recordIndex)
{
    controller_->CheckRecordRange(recordIndex);
    if (!IsEditing())
        EditingRecord();
    if (IsEditing())
        SetChanging();
    return true;
}

Variant TcxCustomDataProvider::GetEditValue(int recordIndex, TcxCustomDataField* field, TcxDataEditValueSource)
{
    if (recordIndex == cxNoEditingRecord)
        InvalidOperation(&cxSDataRecordIndexError);
    return controller_->GetInternalValue(recordIndex, field);
}

bool TcxCustomDataProvider::SetEditValue(int recordIndex, TcxCustomDataField* field, const Variant& value,
                                         TcxDataEditValueSource source)
{
    if (source == evsText && VarToStr(value).empty())
        controller_->SetValue(recordIndex, field->Index(), Null);
    else
        controller_->SetValue(recordIndex, field->Index(), value);
    SetModified();
    return true;
}

void TcxCustomDataProvider::AssignItemValue(int recordIndex, TcxCustomDataField* field, const Variant& value)
{
    controller_->SetValue(recordIndex, field->Index(), value);
}

void TcxCustomDataProvider::DoUpdateData()
{
    if (inUpdateData_)
        return;
    inUpdateData_ = true;
    try {
        if (changing_)
            controller_->UpdateData();
    } catch (...) {
        inUpdateData_ = false;
        throw;
    }
    inUpdateData_ = false;
}

void TcxCustomDataProvider::PostEditingData()
{
    DoUpdateData();
    ResetChanging();
}

void TcxCustomDataProvider::DataChanged(TcxDataChange kind, int itemIndex, int recordIndex)
{
    if (freezeCount_ == 0)
        controller_->DataChanged(kind, itemIndex, recordIndex);
    if (DataChangedLocked)
        ResetChanging();
    else
        ResetEditing();
}

void TcxCustomDataProvider::EditingRecord()
{
    if (controller_->UseNewItemRowForEditing() && controller_->NewItemRowFocused() && !inserting_) {
        Insert();
        return;
    }
    editingRecordIndex_ = controller_->CalcEditingRecordIndex();
    if (editingRecordIndex_ >= 0) {
        editingBefore_ = editingAfter_ = cxNoEditingRecord;
        int row = controller_->GetFocusedRowIndex();
        if (row != -1) {
            if (row < controller_->GetRowCount() - 1)
                editingAfter_ = controller_->GetRowInfo(row + 1).RecordIndex;
            else
                editingBefore_ = controller_->GetRowInfo(row == 0 ? row : row - 1).RecordIndex;
        }
    }
    if (editingRecordIndex_ == cxNoEditingRecord)
        return;
    if (!IsDataSource() && !inserting_)
        CreateSavedRecord(editingRecordIndex_);
    controller_->Change({dccUpdateRecord});
}

void TcxCustomDataProvider::DoInitInsertingRecord(int recordIndex, const TcxDataSummaryValues& groupValues)
{
    TcxGroupingFieldList* grouping = controller_->DataControllerInfo()->GroupingFieldList();
    if (grouping->Count() > 0 && controller_->Options().Contains(dcoAssignGroupingValues))
        for (int l = 0; l < grouping->Count() && l < static_cast<int>(groupValues.size()); ++l)
            AssignItemValue(recordIndex, grouping->Items(l).Field, groupValues[l]);
    controller_->DoNewRecord(recordIndex);
}

void TcxCustomDataProvider::InsertingRecord(bool isAppend)
{
    if (!IsDataSource() && IsInserting() && !changing_ && !modified_)
        return;   // the empty new record is reused
    if (IsEditing() && (changing_ || modified_) && !IsDataSource()) {
        if (changing_)
            PostEditingData();
        Post(false);
    }
    controller_->DoBeforeInsert();
    controller_->BeginUpdate();
    try {
        TcxDataSummaryValues groupValues;
        int r;
        if (controller_->UseNewItemRowForEditing()) {
            r = controller_->GetFocusedRecordIndex();
            if (r == -1 && controller_->GetRowCount() > 0)
                r = controller_->GetRowInfo(0).RecordIndex;
            editingRecordIndex_ = controller_->GetNewItemRecordIndex();
            controller_->SetNewItemRowFocused(true);
            controller_->GetGroupValues(r, groupValues);
        } else {
            if (!isAppend)
                controller_->ClearSelection();
            if (isAppend) {
                r = controller_->GetLastRecordIndex();
                controller_->GetGroupValues(r, groupValues);
                editingRecordIndex_ = controller_->AppendRecord();
                editingBefore_ = r == -1 ? cxNoEditingRecord : r;
                editingAfter_ = cxNoEditingRecord;
            } else {
                r = controller_->GetFocusedRecordIndex();
                if (r == -1)
                    r = 0;
                controller_->GetGroupValues(r, groupValues);
                editingRecordIndex_ = controller_->InsertRecord(r);
                editingBefore_ = cxNoEditingRecord;
                editingAfter_ = r;
                if (r >= editingRecordIndex_ && editingAfter_ < controller_->GetRecordCount() - 1)
                    ++editingAfter_;
            }
        }
        DoInitInsertingRecord(editingRecordIndex_, groupValues);
        ResetChanging();
        inserting_ = true;
    } catch (...) {
        controller_->EndUpdate();
        throw;
    }
    controller_->EndUpdate();
    if (!controller_->UseNewItemRowForEditing())
        controller_->ChangeFocusedRecordIndex(editingRecordIndex_);
    controller_->DoAfterInsert();
}

void TcxCustomDataProvider::Post(bool force)
{
    controller_->BeginFullUpdate();
    bool posted = false;
    int postedRecord = -1;
    try {
        DoUpdateData();
        if (!IsInserting() || modified_ || force) {
            controller_->DoBeforePost();
            postedRecord = editingRecordIndex_;
            if (IsInserting() && controller_->UseNewItemRowForEditing() && editingRecordIndex_ < 0) {
                int real = controller_->AppendRecord();
                InsertedRecordIndex = real;
                controller_->CopyRecord(editingRecordIndex_, real);
                postedRecord = real;
            }
            ResetEditing();
            posted = true;
        } else {
            Cancel();
        }
        controller_->DataChanged(dcRecord, -1, postedRecord);
    } catch (...) {
        controller_->EndFullUpdate();
        throw;
    }
    controller_->EndFullUpdate();
    if (posted)
        controller_->DoAfterPost();
}

void TcxCustomDataProvider::Cancel()
{
    controller_->DoBeforeCancel();
    controller_->BeginUpdate();
    try {
        int e = editingRecordIndex_;
        bool exists = e != cxNoEditingRecord &&
                      ((e >= 0 && e < controller_->GetRecordCount()) || (e < 0 && e == controller_->GetNewItemRecordIndex()));
        if (exists) {
            if (inserting_) {
                if (e >= 0) {
                    int f = controller_->GetFocusedRecordIndex();
                    controller_->DeleteRecord(e);
                    if (!controller_->InCancel() && f >= controller_->GetRecordCount())
                        controller_->ChangeFocusedRecordIndex(f - 1);
                }
            } else if (savedRecordIndex_ != 0) {
                controller_->CopyRecord(savedRecordIndex_, e);
            }
        }
        ResetEditing();
    } catch (...) {
        controller_->EndUpdate();
        throw;
    }
    controller_->EndUpdate();
    controller_->DoAfterCancel();
}

void TcxCustomDataProvider::BeginDeleting()
{
    if (IsGridMode())
        return;
    int row = controller_->GetFocusedRowIndex();
    if (row == -1)
        return;
    if (controller_->MultiSelect() && !controller_->IsRowSelected(row) && controller_->GetSelectedCount() > 0) {
        controller_->NearestRecordIndex = controller_->GetFocusedRecordIndex();
        return;
    }
    int nearest = controller_->GetNearestRowIndex(row);
    if (nearest != -1)
        controller_->NearestRecordIndex = controller_->GetRowInfo(nearest).RecordIndex;
}

void TcxCustomDataProvider::EndDeleting() { controller_->NearestRecordIndex = -1; }

void TcxCustomDataProvider::Delete()
{
    int r = controller_->GetFocusedRecordIndex();
    if (r == -1)
        return;
    controller_->DoBeforeDelete(r);
    controller_->DeleteRecord(r);
    controller_->CheckNearestFocusRow();
    controller_->DoAfterDelete();
}

void TcxCustomDataProvider::DeleteRecords(std::vector<int>& list)
{
    controller_->BeginFullUpdate();
    try {
        for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
            controller_->DoBeforeDelete(list[i]);
            controller_->DeleteRecord(list[i]);
            controller_->DoAfterDelete();
        }
        if (controller_->InDeleteSelection)
            controller_->ClearSelection();
    } catch (...) {
        controller_->EndFullUpdate();
        throw;
    }
    controller_->EndFullUpdate();
    controller_->CheckNearestFocusRow();
}

void TcxCustomDataProvider::DeleteSelection()
{
    std::vector<int> list;
    for (int i = 0; i < controller_->GetSelectedCount(); ++i) {
        int row = controller_->GetSelectedRowIndex(i);
        TcxRowInfo ri = controller_->GetRowInfo(row);
        if (ri.Level < controller_->Groups()->GroupingItemCount())
            controller_->Groups()->LoadRecordIndexesByRowIndex(list, row);
        else
            list.push_back(ri.RecordIndex);
    }
    controller_->InDeleteSelection = true;
    try {
        controller_->DeleteRecords(list);
    } catch (...) {
        controller_->InDeleteSelection = false;
        throw;
    }
    controller_->InDeleteSelection = false;
}

// --- controller editing ----------------------------------------------------------------------------
void TcxCustomDataController::DataStorageClearNewItem() { newItemRecordIndex_ = 0; }

void TcxCustomDataController::Append()
{
    if (provider_->CanAppend())
        provider_->Append();
}

void TcxCustomDataController::Insert()
{
    if (provider_->CanInsert())
        provider_->Insert();
}

void TcxCustomDataController::Edit()
{
    if (provider_->CanModify())
        provider_->Edit();
}

void TcxCustomDataController::Post(bool force)
{
    TcxDataListenerLink* link = AddListenerLink(this);
    try {
        CheckFocusingAfterFilter = true;
        if (provider_->IsEditing())
            provider_->Post(force);
    } catch (...) {
        if (link->Ref)
            provider_->InsertedRecordIndex = -1;
        RemoveListenerLink(link);
        throw;
    }
    if (link->Ref)
        provider_->InsertedRecordIndex = -1;
    RemoveListenerLink(link);
}

void TcxCustomDataController::Cancel()
{
    if (inCancel_)
        return;
    inCancel_ = true;
    try {
        int row = GetFocusedRowIndex();
        if (provider_->IsEditing())
            provider_->Cancel();
        row = std::min(row, GetRowCount() - 1);
        if (!info_->InCanFocus())
            ChangeFocusedRowIndex(row);
    } catch (...) {
        inCancel_ = false;
        throw;
    }
    inCancel_ = false;
}

bool TcxCustomDataController::CanInitEditing(int itemIndex)
{
    CheckItemRange(itemIndex);
    TcxCustomDataField* f = Fields(itemIndex);
    if (!provider_->CanModify() && !f->IsUnbound())
        return false;
    if (!f->CanModify(GetItemValueSource(itemIndex)))
        return false;
    return provider_->CanInitEditing(GetEditingRecordIndex());
}

Variant TcxCustomDataController::GetEditValue(int itemIndex, TcxDataEditValueSource source)
{
    CheckItemRange(itemIndex);
    if (useNewItemRowForEditing_ && NewItemRowFocused() && !provider_->IsEditing())
        return Null;
    return provider_->GetEditValue(GetEditingRecordIndex(), Fields(itemIndex), source);
}

bool TcxCustomDataController::SetEditValue(int itemIndex, const Variant& value, TcxDataEditValueSource source)
{
    if (!CanInitEditing(itemIndex))
        return false;
    bool accepted = provider_->SetEditValue(GetEditingRecordIndex(), Fields(itemIndex), value, source);
    if (accepted && IsImmediatePost())
        Post(false);
    return accepted;
}

bool TcxCustomDataController::IsImmediatePost() const
{
    return options_.Contains(dcoImmediatePost) || provider_->IsUnboundColumnMode();
}

int TcxCustomDataController::GetEditingRecordIndex()
{
    int r = provider_->EditingRecordIndex();
    return r != cxNoEditingRecord ? r : CalcEditingRecordIndex();
}

int TcxCustomDataController::CalcEditingRecordIndex()
{
    if (NewItemRowFocused())
        return GetNewItemRecordIndex();
    if (GetFocusedRowIndex() == -1)
        return cxNoEditingRecord;
    return GetFocusedRecordIndex();
}

void TcxCustomDataController::CheckEditingRecordIndex(int recordIndex)
{
    int e = provider_->EditingRecordIndex();
    if (e == cxNoEditingRecord)
        return;
    if ((recordIndex >= 0 && recordIndex <= e) || e >= GetRecordCount())
        provider_->ResetEditing();
}

void TcxCustomDataController::CopyRecord(int fromRecord, int toRecord)
{
    TcxValueDefRecordReader reader(this, fromRecord);
    if (IsProviderMode() && toRecord >= 0)
        storage_->ReadRecordFrom(fromRecord, toRecord, &reader,
                                 [this](TcxValueDef* def, int from, int to, TcxValueDefReader* r) {
                                     ProviderValueDefSetProc(def, from, to, r);
                                 });
    else
        storage_->ReadRecord(toRecord, &reader);
    if (toRecord >= 0)
        DataChanged(dcRecord, -1, -1);
}

void TcxCustomDataController::DeleteFocused()
{
    if (GetFocusedRowIndex() == -1 || !provider_->CanDelete())
        return;
    provider_->BeginDeleting();
    try {
        TcxRowInfo ri = GetRowInfo(GetFocusedRowIndex());
        if (ri.Level < groups_->GroupingItemCount()) {
            std::vector<int> list;
            groups_->LoadRecordIndexesByRowIndex(list, GetFocusedRowIndex());
            DeleteRecords(list);
        } else {
            DeleteFocusedRecord();
        }
        ClearSelection();
    } catch (...) {
        provider_->EndDeleting();
        throw;
    }
    provider_->EndDeleting();
}

void TcxCustomDataController::DeleteSelection()
{
    if (GetSelectedCount() <= 0 || !provider_->CanDelete())
        return;
    provider_->BeginDeleting();
    try {
        if (IsFocusedSelectedMode())
            DeleteFocusedRecord();
        else
            provider_->DeleteSelection();
    } catch (...) {
        provider_->EndDeleting();
        throw;
    }
    provider_->EndDeleting();
}

void TcxCustomDataController::DeleteFocusedRecord()
{
    int focused = GetFocusedRecordIndex();
    if (NearestRecordIndex >= focused && NearestRecordIndex != -1)
        --NearestRecordIndex;
    try {
        provider_->Delete();
    } catch (...) {
        NearestRecordIndex = focused;
        throw;
    }
}

void TcxCustomDataController::DeleteRecords(std::vector<int>& list)
{
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    int nearest = NearestRecordIndex;
    for (int r : list)
        if (r <= nearest)
            --NearestRecordIndex;
    try {
        provider_->DeleteRecords(list);
    } catch (...) {
        NearestRecordIndex = GetFocusedRecordIndex();
        throw;
    }
}

TcxDataControllerEditState TcxCustomDataController::GetEditState() const
{
    TcxDataControllerEditState s;
    if (provider_->IsInserting())
        s.Include(dceInsert);
    else if (provider_->IsEditing())
        s.Include(dceEdit);
    if (!s.Empty()) {
        if (provider_->IsChanging())
            s.Include(dceChanging);
        if (provider_->IsModified())
            s.Include(dceModified);
    }
    return s;
}

TcxDataControllerEditOperations TcxCustomDataController::GetEditOperations() const
{
    TcxDataControllerEditOperations o;
    if (provider_->CanAppend())
        o.Include(dceoAppend);
    if (provider_->CanDelete())
        o.Include(dceoDelete);
    if (provider_->CanModify())
        o.Include(dceoEdit);
    if (provider_->CanInsert())
        o.Include(dceoInsert);
    if (!provider_->IsDataSource() || provider_->IsSyncMode())
        o.Include(dceoShowEdit);
    return o;
}

bool TcxCustomDataController::IsEditing() const
{
    TcxDataControllerEditState s = GetEditState();
    return (s.Contains(dceInsert) || s.Contains(dceEdit)) && provider_->EditingRecordIndex() != cxNoEditingRecord;
}

int TcxCustomDataController::GetNewItemRecordIndex()
{
    if (newItemRecordIndex_ == 0)
        newItemRecordIndex_ = storage_->AddInternalRecord();
    return newItemRecordIndex_;
}

bool TcxCustomDataController::IsNewItemRecordIndex(int recordIndex)
{
    return useNewItemRowForEditing_ && recordIndex == GetNewItemRecordIndex();
}

bool TcxCustomDataController::NewItemRowFocused() const
{
    return newItemRowFocused_ && useNewItemRowForEditing_ && info_->GetFocusedRowIndex() == -1;
}

void TcxCustomDataController::SetNewItemRowFocused(bool value)
{
    if (newItemRowFocused_ == value)
        return;
    BeginUpdate();
    try {
        if (!newItemRowFocused_)
            ChangeFocusedRowIndex(-1);
        else if (!IsDestroying())
            Post(false);
        info_->FocusedRecordChanged(true);
        newItemRowFocused_ = value;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    if (options_.Contains(dcoInsertOnNewItemRowFocusing) && NewItemRowFocused() && !provider_->IsInserting())
        Insert();
}

void TcxCustomDataController::ResetNewItemRowFocused()
{
    if (!newItemRowFocused_)
        return;
    newItemRowFocused_ = false;
    info_->PrevFocusingInfo()->Changed = true;
}

void TcxCustomDataController::SetUseNewItemRowForEditing(bool value)
{
    if (useNewItemRowForEditing_ == value)
        return;
    Cancel();
    ClearSelection();
    useNewItemRowForEditing_ = value;
    Change({dccData});
}

// --- rows and focus --------------------------------------------------------------------------------
int TcxCustomDataController::GetRowIndexByRecordIndex(int recordIndex, bool makeVisible)
{
    CheckRecordRange(recordIndex);
    return info_->GetRowIndexByRecordIndex(recordIndex, makeVisible);
}

std::string TcxCustomDataController::GetRowDisplayText(const TcxRowInfo& rowInfo, int& itemIndex)
{
    if (!IsNewItemRecordIndex(rowInfo.RecordIndex) && rowInfo.Level < groups_->GroupingItemCount())
        itemIndex = groups_->GroupingItemIndex(rowInfo.Level);
    return GetDisplayText(rowInfo.RecordIndex, itemIndex);
}

Variant TcxCustomDataController::GetRowValue(const TcxRowInfo& rowInfo, int itemIndex)
{
    if (!IsNewItemRecordIndex(rowInfo.RecordIndex) && rowInfo.Level < groups_->GroupingItemCount())
        itemIndex = groups_->GroupingItemIndex(rowInfo.Level);
    return GetValue(rowInfo.RecordIndex, itemIndex);
}

void TcxCustomDataController::ForEachRow(bool selectedOnly, const std::function<void(int, const TcxRowInfo&)>& proc)
{
    if (selectedOnly) {
        for (int i = 0; i < GetSelectedCount(); ++i) {
            int row = GetSelectedRowIndex(i);
            proc(row, GetRowInfo(row));
        }
    } else {
        for (int row = 0; row < GetRowCount(); ++row)
            proc(row, GetRowInfo(row));
    }
}

int TcxCustomDataController::GetLastRecordIndex()
{
    int n = GetRowCount();
    return n == 0 ? -1 : GetRowInfo(n - 1).RecordIndex;
}

bool TcxCustomDataController::ChangeFocusedRecordIndex(int recordIndex)
{
    return ChangeFocusedRowIndex(recordIndex < 0 ? -1 : GetRowIndexByRecordIndex(recordIndex, true));
}

bool TcxCustomDataController::ChangeFocusedRowIndex(int rowIndex)
{
    info_->SetFocusedRowIndex(rowIndex);
    return true;
}

void TcxCustomDataController::CheckFocusedRow()
{
    if (GetFocusedRowIndex() == -1 && !NewItemRowFocused())
        ChangeFocusedRowIndex(0);
}

bool TcxCustomDataController::CanFocusRecord(int recordIndex)
{
    if (!provider_->IsDataSource() && recordIndex != provider_->EditingRecordIndex())
        Post(false);
    return true;
}

void TcxCustomDataController::UpdateFocused()
{
    if (provider_->LocateCount() != 0 && info_->Focusing())
        return;
    info_->RefreshFocused();
}

void TcxCustomDataController::CheckNearestFocusRow()
{
    if (NearestRecordIndex == -1) {
        if (LockCount() == 0 && GetFocusedRecordIndex() == -1 && GetRowCount() > 0)
            ChangeFocusedRowIndex(GetRowCount() - 1);
    } else if (NearestRecordIndex < GetRecordCount()) {
        ChangeFocusedRecordIndex(NearestRecordIndex);
    }
}

bool TcxCustomDataController::IsBOF() const
{
    return GetFocusedRowIndex() == 0 || GetRowCount() == 0;
}

bool TcxCustomDataController::IsEOF() const
{
    return GetRowCount() == 0 || GetFocusedRowIndex() == GetRowCount() - 1;
}

void TcxCustomDataController::SaveBookmark()
{
    int r = GetFocusedRecordIndex();
    if (r == bookmarkRecordIndex_)
        return;
    bookmarkRecordIndex_ = r;
    Change({dccBookmark});
}

void TcxCustomDataController::GotoBookmark()
{
    if (IsBookmarkAvailable())
        ChangeFocusedRecordIndex(bookmarkRecordIndex_);
}

void TcxCustomDataController::ClearBookmark()
{
    bool was = IsBookmarkAvailable();
    bookmarkRecordIndex_ = -1;
    if (was)
        Change({dccBookmark});
}

bool TcxCustomDataController::IsBookmarkRow(int rowIndex)
{
    return IsBookmarkAvailable() && GetRowInfo(rowIndex).RecordIndex == bookmarkRecordIndex_;
}

void TcxCustomDataController::CheckBookmarkValid(int deletedRecordIndex)
{
    if (!IsBookmarkAvailable())
        return;
    bool invalid = (deletedRecordIndex != -1 && deletedRecordIndex == bookmarkRecordIndex_) ||
                   GetFilteredIndexByRecordIndex(bookmarkRecordIndex_) == -1;
    if (invalid) {
        bookmarkRecordIndex_ = -1;
        Change({dccBookmark});
    }
}

// --- selection -------------------------------------------------------------------------------------
void TcxCustomDataController::SetMultiSelect(bool value)
{
    if (multiSelect_ == value)
        return;
    multiSelect_ = value;
    focusedSelected_ = true;
    BeginUpdate();
    try {
        if (!value)
            ClearSelection();
        else if (GetFocusedRowIndex() != -1)
            ChangeRowSelection(GetFocusedRowIndex(), true);
        TcxSummaryOptions o = summary_->Options();
        if (o.Contains(soSelectedRecords) || o.Contains(soMultipleSelectedRecords))
            summary_->Changed(false);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TcxCustomDataController::GetSelectedCount() const
{
    if (IsFocusedSelectedMode())
        return focusedSelected_ && GetFocusedRowIndex() != -1 ? 1 : 0;
    return info_->GetSelectedCount();
}

int TcxCustomDataController::GetSelectedRowIndex(int index) const
{
    if (IsFocusedSelectedMode())
        return index == 0 && focusedSelected_ ? GetFocusedRowIndex() : -1;
    return info_->GetSelectedRowIndex(index);
}

bool TcxCustomDataController::IsRowSelected(int rowIndex) const
{
    if (IsFocusedSelectedMode())
        return focusedSelected_ && rowIndex != -1 && rowIndex == GetFocusedRowIndex();
    return info_->IsRowSelected(rowIndex);
}

void TcxCustomDataController::ChangeRowSelection(int rowIndex, bool select)
{
    if (multiSelect_)
        info_->ChangeRowSelection(rowIndex, select);
}

void TcxCustomDataController::SelectRows(int rowIndex1, int rowIndex2)
{
    if (!multiSelect_)
        return;
    BeginUpdate();
    try {
        for (int r = std::min(rowIndex1, rowIndex2); r <= std::max(rowIndex1, rowIndex2); ++r)
            ChangeRowSelection(r, true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataController::SelectAll()
{
    if (GetRowCount() > 0)
        SelectRows(0, GetRowCount() - 1);
}

void TcxCustomDataController::SetSelectionAnchor(int rowIndex)
{
    info_->CheckRowIndex(rowIndex);
    info_->Selection()->AnchorRowIndex = rowIndex;
}

void TcxCustomDataController::SelectFromAnchor(int rowIndex, bool keepSelection)
{
    int anchor = GetSelectionAnchorRowIndex();
    if (anchor == -1)
        return;
    BeginUpdate();
    try {
        if (!keepSelection)
            ClearSelection();
        SelectRows(anchor, rowIndex);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataController::SyncSelectionFocusedRecord()
{
    int row = GetFocusedRowIndex();
    if (row == -1) {
        ClearSelection();
        return;
    }
    SetSelectionAnchor(row);
    SelectFromAnchor(row, false);
}

void TcxCustomDataController::CheckFocusedSelected()
{
    if (!multiSelect_)
        return;
    BeginUpdate();
    try {
        ClearSelection();
        if (GetFocusedRowIndex() != -1)
            ChangeRowSelection(GetFocusedRowIndex(), true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataController::SyncSelected(bool selected)
{
    if (!IsFocusedSelectedMode() || focusedSelected_ == selected)
        return;
    focusedSelected_ = selected;
    if (GetFocusedRowIndex() != -1) {
        PrevSelectionChangedInfo = {1, GetFocusedRowIndex()};
        Change({dccSelection});
    }
}

void TcxCustomDataController::CheckSelectedCount(int recordIndex)
{
    info_->TruncateSelection();
    CheckBookmarkValid(recordIndex);
}

void TcxCustomDataController::CorrectPrevSelectionChangedInfo()
{
    if (PrevSelectionChangedInfo.SelectedCount != 1)
        return;
    PrevSelectionChangedInfo.SelectedCount = GetSelectedCount();
    PrevSelectionChangedInfo.RowIndex = PrevSelectionChangedInfo.SelectedCount == 1 ? GetSelectedRowIndex(0) : -1;
}

// --- sorting and comparison ------------------------------------------------------------------------
void TcxCustomDataController::BeforeSorting()
{
    if (provider_->IsEditing())
        Post(false);
}

void TcxCustomDataController::ChangeSorting(int itemIndex, TcxDataSortOrder order)
{
    CheckItemRange(itemIndex);
    TcxCustomDataField* f = Fields(itemIndex);
    if (info_->SortingFieldList()->SortOrderByField(f) == order && info_->SortingFieldList()->Find(f) != -1)
        return;
    if (order == soNone && info_->SortingFieldList()->Find(f) == -1)
        return;
    BeforeSorting();
    SortingChanged = true;
    info_->ChangeSorting(f, order);
}

void TcxCustomDataController::ChangeItemSortingIndex(int itemIndex, int sortingIndex)
{
    CheckItemRange(itemIndex);
    if (GetItemSortingIndex(itemIndex) == sortingIndex)
        return;
    BeginUpdate();
    try {
        TcxCustomDataField* f = Fields(itemIndex);
        if (groups_->ItemGroupIndex(itemIndex) != -1 && GetItemSortOrder(itemIndex) == soAscending && sortingIndex == -1)
            ChangeSorting(itemIndex, soNone);
        else {
            if (info_->SortingFieldList()->Find(f) == -1)
                ChangeSorting(itemIndex, GetItemSortOrder(itemIndex));
            if (GetItemSortOrder(itemIndex) != soNone)
                info_->ChangeSortIndex(f, sortingIndex);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TcxDataSortOrder TcxCustomDataController::GetItemSortOrder(int itemIndex)
{
    CheckItemRange(itemIndex);
    TcxCustomDataField* f = Fields(itemIndex);
    if (info_->SortingFieldList()->Find(f) != -1)
        return info_->SortingFieldList()->SortOrderByField(f);
    return info_->GroupingFieldList()->SortOrderByField(f);
}

int TcxCustomDataController::GetItemSortingIndex(int itemIndex)
{
    CheckItemRange(itemIndex);
    return info_->SortingFieldList()->Find(Fields(itemIndex));
}

int TcxCustomDataController::GetSortingItemCount() const { return info_->SortingFieldList()->Count(); }
int TcxCustomDataController::GetSortingItemIndex(int index) const { return info_->SortingFieldList()->Items(index).Field->Index(); }

bool TcxCustomDataController::IsSortByDisplayTextNeeded(TcxCustomDataField* field)
{
    if (internalFindRecord_ || field->IsInternal())
        return false;
    return GetItemSortByDisplayText(field->Index(), options_.Contains(dcoSortByDisplayText));
}

bool TcxCustomDataController::IsStringConversionNeeded(TcxCustomDataField* field)
{
    return (options_.Contains(dcoAnsiSort) || options_.Contains(dcoCaseInsensitive)) && field->ValueDef() &&
           field->ValueDef()->IsNeedConversion();
}

bool TcxCustomDataController::IsConversionNeededForCompare(TcxCustomDataField* field)
{
    if (field->CompareMode != 0)
        return field->CompareMode > 0;
    if (field->NeedConversion || IsStringConversionNeeded(field) || IsSortByDisplayTextNeeded(field))
        return true;
    return IsProviderMode() && !CustomDataSource()->IsNativeCompare();
}

Variant TcxCustomDataController::GetComparedValue(int recordIndex, TcxCustomDataField* field)
{
    if (field->CompareMode == 2)
        return Variant(GetDisplayText(recordIndex, field->Index()));
    return GetInternalValue(recordIndex, field);
}

int TcxCustomDataController::NativeCompare(int r1, int r2, TcxCustomDataField* field)
{
    TcxValueDef* def = field->ValueDef();
    if (!def)
        return 0;
    if (IsProviderMode())
        return provider_->NativeCompare(r1, r2, field);
    return storage_->CompareRecords(r1, r2, def);
}

int TcxCustomDataController::CompareByField(int r1, int r2, TcxCustomDataField* field, TcxDataControllerComparisonMode)
{
    bool handler = OnCompare.Assigned() && !field->IsInternal();
    if (!handler && !IsConversionNeededForCompare(field))
        return NativeCompare(r1, r2, field);
    if (!handler && IsProviderMode() && r1 >= 0 && r2 >= 0 && CustomDataSource()->IsNativeCompareFunc())
        return provider_->NativeCompareFunc(r1, r2, field);
    Variant v1 = GetComparedValue(r1, field), v2 = GetComparedValue(r2, field);
    if (handler) {
        int result = 0;
        OnCompare(this, r1, r2, field->Index(), v1, v2, result);
        return result;
    }
    if (VarIsStr(v1) && VarIsStr(v2)) {
        std::string s1 = VarToStr(v1), s2 = VarToStr(v2);
        bool ansi = options_.Contains(dcoAnsiSort), insensitive = options_.Contains(dcoCaseInsensitive);
        int c;
        if (ansi && insensitive)
            c = AnsiCompareText(s1, s2);
        else if (ansi)
            c = AnsiCompareStr(s1, s2);
        else if (insensitive)
            c = AnsiUpperCase(s1).compare(AnsiUpperCase(s2));
        else
            return VarCompare(v1, v2);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return VarCompare(v1, v2);
}

int TcxCustomDataController::CompareRecords(int r1, int r2, const TcxDataSortInfo& sortInfo, TcxDataControllerComparisonMode mode)
{
    int c = CompareByField(r1, r2, sortInfo.Field, mode);
    return sortInfo.SortOrder == soDescending ? -c : c;
}

// --- filtering -------------------------------------------------------------------------------------
bool TcxCustomDataController::DoFilterRecord(int recordIndex)
{
    bool accept = true;
    CallEvent(OnFilterRecord_, this, recordIndex, accept);
    return accept;
}

void TcxCustomDataController::SetOnFilterRecord(const TcxDataFilterRecordEvent& handler)
{
    if (OnFilterRecord_ == handler)
        return;
    OnFilterRecord_ = handler;
    filter_->Changed();
}

void TcxCustomDataController::FilterChanged()
{
    CheckFocusingAfterFilter = true;
    Cancel();
    Refresh();
    CheckBookmarkValid(-1);
    CorrectPrevSelectionChangedInfo();
}

int TcxCustomDataController::SetIncrementalFilter(int itemIndex, const std::string& text)
{
    CheckItemRange(itemIndex);
    incrementalFilterField_ = Fields(itemIndex);
    incrementalFilterText_ = text;
    Refresh();
    return GetFilteredRecordCount() > 0 ? GetFilteredRecordIndex(0) : -1;
}

void TcxCustomDataController::ResetIncrementalFilter()
{
    bool was = IsIncrementalFilter();
    incrementalFilterField_ = nullptr;
    incrementalFilterText_.clear();
    if (was && !IsDestroying())
        Refresh();
}

bool TcxCustomDataController::ChangeIncrementalFilterText(const std::string& text)
{
    if (!incrementalFilterField_ || text == incrementalFilterText_)
        return false;
    SetIncrementalFilter(incrementalFilterField_->Index(), text);
    return true;
}

bool TcxCustomDataController::DoIncrementalFilterRecord(int recordIndex)
{
    return DataCompareText(GetDisplayText(recordIndex, incrementalFilterField_->Index()), incrementalFilterText_, true);
}

int TcxCustomDataController::FindRecordIndexByText(int start, int itemIndex, const std::string& text, bool partial,
                                                   bool wrap, bool forward)
{
    CheckItemRange(itemIndex);
    int n = GetFilteredRecordCount();
    if (start < 0 || start >= n)
        return -1;
    auto sweep = [&](int a, int b) {
        for (int i = a; forward ? i <= b : i >= b; i += forward ? 1 : -1) {
            int r = GetFilteredRecordIndex(i);
            if (DataCompareText(GetInternalDisplayText(r, Fields(itemIndex)), text, partial))
                return r;
        }
        return -1;
    };
    int r = forward ? sweep(start, n - 1) : sweep(start, 0);
    if (r == -1 && start != 0 && wrap)
        r = forward ? sweep(0, start - 1) : sweep(n - 1, start + 1);
    return r;
}

int TcxCustomDataController::FindRecordByFields(int recordIndex, const std::vector<TcxCustomDataField*>& fields,
                                                bool viewOnly)
{
    if (fields.empty())
        return -1;
    for (TcxCustomDataField* f : fields)
        f->CompareMode = 0;
    const int n = viewOnly ? GetFilteredRecordCount() : GetRecordCount();
    for (int i = 0; i < n; ++i) {
        const int r = viewOnly ? GetFilteredRecordIndex(i) : i;
        bool match = true;
        for (TcxCustomDataField* f : fields)
            if (CompareByField(r, recordIndex, f, dccmOther) != 0) {
                match = false;
                break;
            }
        if (match)
            return r;
    }
    return -1;
}

int TcxCustomDataController::FindGroupRecord(int recordIndex, int levelCount)
{
    int lo = 0, hi = GetFilteredRecordCount() - 1;
    info_->PrepareSorting();
    int result = -1;
    try {
        while (lo <= hi && result == -1) {
            int mid = (lo + hi) / 2;
            int d = 0;
            for (int l = 0; l < levelCount && d == 0; ++l)
                d = info_->CompareGroupRecords(GetFilteredRecordIndex(mid), recordIndex, l);
            if (d < 0)
                lo = mid + 1;
            else if (d > 0)
                hi = mid - 1;
            else
                result = GetFilteredRecordIndex(mid);
        }
    } catch (...) {
        info_->UnprepareSorting();
        throw;
    }
    info_->UnprepareSorting();
    return result;
}

void TcxCustomDataController::GetGroupValues(int recordIndex, TcxDataSummaryValues& values)
{
    TcxGroupingFieldList* grouping = info_->GroupingFieldList();
    values.assign(grouping->Count(), Null);
    if (recordIndex >= 0 && recordIndex < GetRecordCount())
        for (int i = 0; i < grouping->Count(); ++i)
            values[i] = GetGroupValue(recordIndex, grouping->Items(i).Field);
}

void TcxCustomDataController::DoGroupingChanged()
{
    TComponent* owner = owner_;
    if (owner && owner->ComponentState().Contains(csReading))
        return;
    CallEvent(OnGroupingChanged, this);
}

void TcxCustomDataController::DoSortingChanged()
{
    if ((owner_ && owner_->ComponentState().Contains(csReading)) || inSortingChangedHandler_)
        return;
    inSortingChangedHandler_ = true;
    try {
        CallEvent(OnSortingChanged, this);
    } catch (...) {
        inSortingChangedHandler_ = false;
        throw;
    }
    inSortingChangedHandler_ = false;
}

} // namespace cx

namespace cx {

// --- locate objects ----------------------------------------------------------------------------------
void TcxDataControllerLocateObject::Clear()
{
    if (recordIndex_ != 0)
        controller_->DataStorage()->DeleteRecord(recordIndex_);
    recordIndex_ = 0;
}

void TcxDataControllerLocateObject::ReadData(TcxValueDefReader* reader)
{
    if (recordIndex_ == 0)
        recordIndex_ = controller_->DataStorage()->AddInternalRecord();
    controller_->BeginReadRecord();
    try {
        controller_->DataStorage()->ReadRecord(recordIndex_, reader);
    } catch (...) {
        controller_->EndReadRecord();
        throw;
    }
    controller_->EndReadRecord();
}

int TcxDataControllerKeyLocateObject::FindRecordIndex()
{
    return recordIndex_ == 0 ? -1 : controller_->FindRecordByFields(recordIndex_, fields_);
}

TcxDataControllerGroupLocateObject::TcxDataControllerGroupLocateObject(TcxCustomDataController* controller)
    : TcxDataControllerLocateObject(controller)
{
    TcxGroupingFieldList* grouping = controller->DataControllerInfo()->GroupingFieldList();
    for (int i = 0; i < grouping->Count(); ++i) {
        TcxCustomDataField* f = grouping->Items(i).Field;
        groupingFields_.push_back(f);
        if (controller->IsSortByDisplayTextNeeded(f))
            findGroupRecordEnabled_ = false;   // the sorted list is not ordered by the values
    }
    CorrectFindFields();
}

void TcxDataControllerGroupLocateObject::SetLevel(int value)
{
    if (level_ != value) {
        level_ = value;
        CorrectFindFields();
    }
}

void TcxDataControllerGroupLocateObject::CorrectFindFields()
{
    if (findGroupRecordEnabled_)
        return;
    findFields_.clear();
    for (int i = 0; i <= level_ && i < static_cast<int>(groupingFields_.size()); ++i)
        findFields_.push_back(groupingFields_[i]);
}

int TcxDataControllerGroupLocateObject::FindRecordIndex()
{
    if (recordIndex_ == 0)
        return -1;
    if (findGroupRecordEnabled_)
        return controller_->FindGroupRecord(recordIndex_, level_ + 1);
    controller_->internalFindRecord_ = true;
    int r;
    try {
        // Groups hold only the records in view: a filtered-out record with the values would
        // name no group.
        r = controller_->FindRecordByFields(recordIndex_, findFields_, true);
    } catch (...) {
        controller_->internalFindRecord_ = false;
        throw;
    }
    controller_->internalFindRecord_ = false;
    return r;
}

} // namespace cx
