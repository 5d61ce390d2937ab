// The data controller's core: fields, value readers, notices, items, values and records, update
// locking with the change set, the stream, the filter criteria and the incremental search.
#include "toolkit/data/cxCustomData.h"

#include "platform/rtl/TypInfo.h"
#include "toolkit/data/cxCustomDataKeys.h"
#include "platform/rtl/Filer.h"

#include <algorithm>

#include "toolkit/core/dxCore.h"

namespace cx {

void InvalidOperation(const TResStringRec* message)
{
    throw EcxInvalidDataControllerOperation(LoadResString(message));
}

// --- fields ----------------------------------------------------------------------------------------
void TcxCustomDataField::BeforeDestruction()
{
    if (fieldList_)
        fieldList_->RemoveField(this);
    ClearData();
    TObject::BeforeDestruction();
}

TcxCustomDataController* TcxCustomDataField::DataController() const { return fieldList_->DataController(); }
int TcxCustomDataField::Index() const { return fieldList_->IndexOf(this); }

void TcxCustomDataField::SetIndex(int value)
{
    int i = Index();
    if (i != value)
        fieldList_->Move(i, value);
}

bool TcxCustomDataField::CanModify(int) const
{
    return ValueDef() != nullptr || DataController()->IsProviderMode();
}

void TcxCustomDataField::SetIsInternal(bool value)
{
    if (isInternal_ == value)
        return;
    isInternal_ = value;
    fieldList_->Update();
}

TcxValueDef* TcxCustomDataField::ValueDef() const { return referenceField_ ? referenceField_->ValueDef() : valueDef_; }
TcxValueTypeClass TcxCustomDataField::ValueTypeClass() const
{
    return referenceField_ ? referenceField_->ValueTypeClass() : valueTypeClass_;
}
bool TcxCustomDataField::TextStored() const { return referenceField_ ? referenceField_->TextStored() : textStored_; }

void TcxCustomDataField::SetValueTypeClass(TcxValueTypeClass value)
{
    if (referenceField_ || valueTypeClass_ == value)
        return;
    BeginRecreateData();
    valueTypeClass_ = value;
    EndRecreateData();
}

void TcxCustomDataField::SetTextStored(bool value)
{
    if (referenceField_ || textStored_ == value)
        return;
    BeginRecreateData();
    textStored_ = value;
    EndRecreateData();
}

void TcxCustomDataField::SetReferenceField(TcxCustomDataField* value)
{
    if (value == referenceField_)
        return;
    if (!value) {
        referenceField_ = nullptr;
        return;
    }
    TcxCustomDataField* root = value;
    while (root->referenceField_)
        root = root->referenceField_;
    if (root == this)
        return;   // no cycles
    if (!referenceField_)
        SetValueTypeClass(nullptr);
    referenceField_ = root;
}

void TcxCustomDataField::Reassign(TcxCustomDataField* source)
{
    referenceField_ = nullptr;
    valueDef_ = source->valueDef_;
    if (valueDef_)
        valueDef_->SetLinkObject(this);
    valueTypeClass_ = source->valueTypeClass_;
    textStored_ = source->textStored_;
    source->valueDef_ = nullptr;
    source->valueTypeClass_ = nullptr;
}

void TcxCustomDataField::BeginRecreateData()
{
    if (recreateLockCount_ == 0)
        ClearData();
    ++recreateLockCount_;
}

void TcxCustomDataField::EndRecreateData()
{
    if (--recreateLockCount_ == 0)
        CreateData();
}

void TcxCustomDataField::CreateData()
{
    if (referenceField_ || !valueTypeClass_)
        return;
    ClearData();
    // Only internal fields must keep bytes in every mode; a data field's values live in the data
    // source in provider mode, where the storage keeps stored values only.
    valueDef_ = DataController()->DataStorage()->ValueDefs()->Add(valueTypeClass_, isInternal_, textStored_, this);
}

void TcxCustomDataField::ClearData()
{
    if (referenceField_ || !valueDef_)
        return;
    TcxValueDef* def = valueDef_;
    valueDef_ = nullptr;
    def->Free();
}

void TcxCustomDataField::Changed() {}

// --- field list ------------------------------------------------------------------------------------
void TcxCustomDataFieldList::Add(TcxCustomDataField* field)
{
    if (field->IsInternal())
        items_.push_back(field);
    else
        items_.insert(items_.begin() + ItemCount(), field);
    Update();
}

void TcxCustomDataFieldList::Clear()
{
    while (!items_.empty())
        items_.back()->Free();
}

TcxCustomDataField* TcxCustomDataFieldList::FieldByItem(TObject* item) const
{
    for (TcxCustomDataField* f : items_)
        if (f->Item() == item)
            return f;
    return nullptr;
}

int TcxCustomDataFieldList::IndexOf(const TcxCustomDataField* field) const
{
    auto it = std::find(items_.begin(), items_.end(), field);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TcxCustomDataFieldList::Move(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= Count() || to >= Count())
        return;
    TcxCustomDataField* f = items_[from];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, f);
}

void TcxCustomDataFieldList::ReassignFields(TcxCustomDataField* field)
{
    TcxCustomDataField* heir = nullptr;
    for (TcxCustomDataField* f : items_) {
        if (f == field || f->referenceField_ != field)
            continue;
        if (!heir) {
            heir = f;
            f->Reassign(field);
        } else {
            f->referenceField_ = heir;
        }
    }
}

void TcxCustomDataFieldList::RemoveField(TcxCustomDataField* field)
{
    int i = IndexOf(field);
    if (i < 0)
        return;
    FieldDestroyed = true;
    ReassignFields(field);
    items_.erase(items_.begin() + i);
    controller_->RemoveField(field);
    Update();
}

void TcxCustomDataFieldList::RemoveNotification(TComponent* component)
{
    for (TcxCustomDataField* f : items_)
        f->RemoveNotification(component);
}

void TcxCustomDataFieldList::Update()
{
    // Visible fields stay before internal ones.
    std::stable_partition(items_.begin(), items_.end(), [](TcxCustomDataField* f) { return !f->IsInternal(); });
    internalCount_ = static_cast<int>(std::count_if(items_.begin(), items_.end(), [](TcxCustomDataField* f) { return f->IsInternal(); }));
}

// --- value readers ---------------------------------------------------------------------------------
namespace {
bool IsInternalDef(TcxValueDef* def)
{
    auto* field = dynamic_cast<TcxCustomDataField*>(def->LinkObject());
    return field && field->IsValueDefInternal();
}
} // namespace

void TcxValueDefUnboundReader::SetValue(TcxValueDef* def, const Variant& value)
{
    auto it = std::find(defs_.begin(), defs_.end(), def);
    size_t i = it - defs_.begin();
    if (it == defs_.end())
        defs_.push_back(def);
    if (values_.size() < defs_.size())
        values_.resize(defs_.size());
    values_[i] = value;
}

Variant TcxValueDefUnboundReader::GetValue(TcxValueDef* def)
{
    if (auto* internal = dynamic_cast<TcxInternalValueDef*>(def))
        def = internal->GetValueDef();
    auto it = std::find(defs_.begin(), defs_.end(), def);
    size_t i = it - defs_.begin();
    if (it == defs_.end() || i >= values_.size() || values_[i].IsEmpty())
        return Null;
    return values_[i];
}

void TcxValueDefUnboundReader::Truncate(int count)
{
    if (count >= 0 && static_cast<size_t>(count) < values_.size())
        values_.resize(count);
}

bool TcxValueDefUnboundReader::IsInternal(TcxValueDef* def) { return IsInternalDef(def); }

Variant TcxValueDefRecordReader::GetValue(TcxValueDef* def)
{
    return controller_->GetInternalValue(recordIndex_, static_cast<TcxCustomDataField*>(def->LinkObject()));
}

std::string TcxValueDefRecordReader::GetDisplayText(TcxValueDef* def)
{
    if (IsInternalDef(def))
        return {};
    return controller_->GetInternalDisplayText(recordIndex_, static_cast<TcxCustomDataField*>(def->LinkObject()));
}

bool TcxValueDefRecordReader::IsInternal(TcxValueDef* def) { return IsInternalDef(def); }

TcxSelectionChangedInfo::TcxSelectionChangedInfo(int prevRow, int row)
{
    if (prevRow != -1)
        rows_.push_back(prevRow);
    if (row != -1 && row != prevRow)
        rows_.push_back(row);
}

// --- the controller: construction --------------------------------------------------------------------
TcxCustomDataController::TcxCustomDataController(TComponent* owner) : owner_(owner)
{
    options_ = {dcoAssignGroupingValues, dcoAssignMasterDetailKeys, dcoSaveExpanding};
    storage_ = new TcxDataStorage();
    groups_ = new TcxDataControllerGroups(this);
    fields_ = new TcxCustomDataFieldList(this);
    // Within the constructor these give the base classes; RecreateClassObjects makes a
    // descendant's own.
    filter_ = GetFilterCriteriaClass().Create(this);
    search_ = GetSearchClass().Create(this);
    summary_ = GetSummaryClass().Create(this);
    provider_ = GetDataProviderClass().Create(this);
    info_ = new TcxCustomDataControllerInfo(this);
    notifier_ = new TcxDataControllerNotifier(nullptr, this);
    filterList_ = new TcxDataFilterList();
    storage_->OnClearInternalRecords = Event<void(TObject*)>(this, &TcxCustomDataController::DataStorageClearInternalRecords);
}

namespace {
// Puts an object of `objectClass` in the slot and has it take over what the old one held (with
// the new object in place, so that the controller's work during the copy uses it); when the copy
// fails, the old object is put back.
template <class T, class TClass>
void RecreateAssigned(T*& slot, const TClass& objectClass, TcxCustomDataController* controller)
{
    T* old = slot;
    slot = objectClass.Create(controller);
    try {
        slot->Assign(old);
    } catch (...) {
        slot->Free();
        slot = old;
        throw;
    }
    old->Free();
}
} // namespace

void TcxCustomDataController::RecreateClassObjects()
{
    if (GetDataProviderClass().Meta() != &provider_->ClassType())
        RecreateProvider();
    if (TcxDataFilterCriteriaClass c = GetFilterCriteriaClass(); c.Meta() != &filter_->ClassType())
        RecreateAssigned(filter_, c, this);
    if (TcxDataControllerSearchClass c = GetSearchClass(); c.Meta() != &search_->ClassType()) {
        search_->Cancel();
        search_->Free();
        search_ = c.Create(this);
    }
    if (TcxDataSummaryClass c = GetSummaryClass(); c.Meta() != &summary_->ClassType())
        RecreateAssigned(summary_, c, this);
    info_->RecreateSelection();
}

void TcxCustomDataController::BeforeDestruction()
{
    destroying_ = true;
    TPersistent::BeforeDestruction();
}

TcxCustomDataController::~TcxCustomDataController()
{
    destroying_ = true;
    FreeAndNil(notifier_);
    FreeAndNil(saveObject_);
    if (masterRelation_ && masterRelation_->DetailDataController == this)
        masterRelation_->DetailDataController = nullptr;
    // The detail objects (and the link objects they own) go with the storage below.
    FreeAndNil(relations_);
    FreeAndNil(info_);
    FreeAndNil(summary_);
    FreeAndNil(filter_);
    FreeAndNil(filterList_);
    storage_->OnClearInternalRecords = {};
    provider_->ClearSavedRecordIndex();
    storage_->Clear(false);
    FreeAndNil(groups_);
    FreeAndNil(fields_);
    FreeAndNil(storage_);
    FreeAndNil(provider_);
    FreeAndNil(search_);
    for (auto it = listenerLinks_.rbegin(); it != listenerLinks_.rend(); ++it)
        (*it)->Ref = nullptr;
    listenerLinks_.clear();
}

void TcxCustomDataController::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxCustomDataController*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    SetOptions(src->Options());
    filter_->Assign(src->Filter(), true);
    summary_->Assign(src->Summary());
    OnAfterCancel = src->OnAfterCancel;
    OnAfterDelete = src->OnAfterDelete;
    OnAfterInsert = src->OnAfterInsert;
    OnAfterPost = src->OnAfterPost;
    OnBeforeCancel = src->OnBeforeCancel;
    OnBeforeDelete = src->OnBeforeDelete;
    OnBeforeInsert = src->OnBeforeInsert;
    OnBeforePost = src->OnBeforePost;
    SetOnFilterRecord(src->OnFilterRecord());
    OnNewRecord = src->OnNewRecord;
    OnCompare = src->OnCompare;
    OnDataChanged = src->OnDataChanged;
    OnGroupingChanged = src->OnGroupingChanged;
    OnRecordChanged = src->OnRecordChanged;
    OnSortingChanged = src->OnSortingChanged;
}

bool TcxCustomDataController::IsLoading() const { return owner_ && owner_->ComponentState().Contains(csLoading); }
bool TcxCustomDataController::IsDestroying() const
{
    return destroying_ || (owner_ && owner_->ComponentState().Contains(csDestroying));
}

void TcxCustomDataController::SetOptions(TcxDataControllerOptions value)
{
    if (options_ == value)
        return;
    options_ = value;
    Refresh();
}

// --- items and fields ------------------------------------------------------------------------------
std::string TcxCustomDataController::GetItemName(TObject* item) const
{
    auto* c = dynamic_cast<TComponent*>(item);
    return c ? c->Name() : std::string();
}

TObject* TcxCustomDataController::FindItemByInternalID(int id) const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetItemID(GetItem(i)) == id)
            return GetItem(i);
    return nullptr;
}

TObject* TcxCustomDataController::FindItemByName(const std::string& name) const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (SameText(GetItemName(GetItem(i)), name))
            return GetItem(i);
    return nullptr;
}

TcxCustomDataField* TcxCustomDataController::AddField()
{
    TcxCustomDataField* f = GetFieldClass().Create(fields_);
    fields_->Add(f);
    return f;
}

TcxCustomDataField* TcxCustomDataController::AddInternalField()
{
    TcxCustomDataField* f = GetFieldClass().Create(fields_);
    f->isInternal_ = true;
    fields_->Add(f);
    return f;
}

TcxCustomDataField* TcxCustomDataController::AddItem(TObject* item)
{
    if (item && fields_->FieldByItem(item))
        InvalidOperation(&cxSDataItemExistError);
    TcxCustomDataField* f = AddField();
    f->SetItem(item);
    return f;
}

void TcxCustomDataController::RemoveItem(TObject* item)
{
    TcxCustomDataField* f = fields_->FieldByItem(item);
    if (!f)
        return;
    BeginUpdate();
    try {
        info_->RemoveField(f);
        f->Free();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataController::UpdateItemIndexes()
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (TcxCustomDataField* f = fields_->FieldByItem(GetItem(i)))
            f->SetIndex(i);
    Change({dccLayout});
}

void TcxCustomDataController::RemoveField(TcxCustomDataField* field)
{
    if (field == recordHandlesField_)
        recordHandlesField_ = nullptr;
    if (field == sortingBySummaryField_) {
        sortingBySummaryField_ = nullptr;
        if (!destroying_)
            DoSortingBySummaryChanged();
    }
    if (relations_)
        relations_->RemoveDataField(field);
    if (destroying_)
        return;
    filter_->RemoveItemByField(field);
    filterList_->RemoveItemByField(field);
    summary_->RemoveItemByField(field);
    if (incrementalFilterField_ == field)
        ResetIncrementalFilter();
    if (IncrementalSearchField == field) {
        search_->Cancel();
        IncrementalSearchField = nullptr;
    }
}

bool TcxCustomDataController::ItemPropertiesChanged(int itemIndex)
{
    if (itemIndex == -1 || GetItemSortOrder(itemIndex) != soNone) {
        Refresh();
        return true;
    }
    return false;
}

TcxValueTypeClass TcxCustomDataController::GetItemValueTypeClass(int itemIndex) const
{
    CheckItemRange(itemIndex);
    return Fields(itemIndex)->ValueTypeClass();
}

bool TcxCustomDataController::GetItemTextStored(int itemIndex) const
{
    CheckItemRange(itemIndex);
    return Fields(itemIndex)->TextStored();
}

void TcxCustomDataController::ChangeValueTypeClass(int itemIndex, TcxValueTypeClass valueType)
{
    CheckItemRange(itemIndex);
    TcxCustomDataField* f = Fields(itemIndex);
    if (f->ValueTypeClass() == valueType)
        return;
    f->SetValueTypeClass(valueType);
    if (IsProviderMode())
        RestructData();
    info_->UpdateField(f);
    DoValueTypeClassChanged(itemIndex);
}

void TcxCustomDataController::ChangeTextStored(int itemIndex, bool value)
{
    CheckItemRange(itemIndex);
    TcxCustomDataField* f = Fields(itemIndex);
    if (f->TextStored() == value)
        return;
    f->SetTextStored(value);
    info_->UpdateField(f);
}

void TcxCustomDataController::EndUpdateFields()
{
    if (--updateFieldsLockCount_ == 0 && updateFieldsPending_) {
        updateFieldsPending_ = false;
        LayoutChanged({lcStructure});
    }
}

// --- values and records ----------------------------------------------------------------------------
Variant TcxCustomDataController::GetValue(int recordIndex, int itemIndex)
{
    CheckRange(recordIndex, itemIndex);
    return GetInternalValue(recordIndex, Fields(itemIndex));
}

std::string TcxCustomDataController::GetDisplayText(int recordIndex, int itemIndex)
{
    CheckRange(recordIndex, itemIndex);
    return GetInternalDisplayText(recordIndex, Fields(itemIndex));
}

Variant TcxCustomDataController::GetInternalValue(int recordIndex, TcxCustomDataField* field)
{
    if (recordIndex >= 0 && field && IsProviderMode() && IsDataField(field))
        return provider_->GetValue(recordIndex, field);
    return GetStoredValue(recordIndex, field);
}

std::string TcxCustomDataController::GetInternalDisplayText(int recordIndex, TcxCustomDataField* field)
{
    if (recordIndex >= 0 && field && IsProviderMode() && IsDataField(field))
        return provider_->GetDisplayText(recordIndex, field);
    return GetStoredDisplayText(recordIndex, field);
}

Variant TcxCustomDataController::GetStoredValue(int recordIndex, TcxCustomDataField* field)
{
    if (!field)
        return Null;
    if (IsDataField(field) && IsGridMode())
        return provider_->GetExternalDataValue(recordIndex, field);
    if (TcxValueDef* def = field->ValueDef())
        return storage_->GetValue(recordIndex, def);
    return Null;
}

std::string TcxCustomDataController::GetStoredDisplayText(int recordIndex, TcxCustomDataField* field)
{
    if (field && IsDataField(field) && IsGridMode())
        return provider_->GetExternalDataDisplayText(recordIndex, field);
    if (field)
        if (TcxValueDef* def = field->ValueDef())
            return storage_->GetDisplayText(recordIndex, def);
    return {};
}

void TcxCustomDataController::SetStoredValue(int recordIndex, TcxCustomDataField* field, const Variant& value)
{
    if (TcxValueDef* def = field->ValueDef())
        storage_->SetValue(recordIndex, def, value);
}

bool TcxCustomDataController::IsDataField(TcxCustomDataField* field) const
{
    return !field->IsInternal() || (field->ReferenceField() && !field->ReferenceField()->IsInternal());
}

void TcxCustomDataController::SetValue(int recordIndex, int itemIndex, const Variant& value)
{
    if (IsGridMode())
        return;
    CheckRange(recordIndex, itemIndex);
    TcxCustomDataField* f = Fields(itemIndex);
    if (IsProviderMode() && recordIndex >= 0)
        provider_->SetValue(recordIndex, f, value);
    else if (f->ValueDef())
        SetStoredValue(recordIndex, f, value);
    else
        return;
    DataChanged(dcField, itemIndex, recordIndex);
}

void TcxCustomDataController::SetDisplayText(int recordIndex, int itemIndex, const std::string& text)
{
    if (IsGridMode())
        return;
    CheckRange(recordIndex, itemIndex);
    TcxCustomDataField* f = Fields(itemIndex);
    if (IsProviderMode() && recordIndex >= 0)
        provider_->SetDisplayText(recordIndex, f, text);
    else if (f->ValueDef())
        storage_->SetDisplayText(recordIndex, f->ValueDef(), text);
    else
        return;
    DataChanged(dcField, itemIndex, recordIndex);
}

void TcxCustomDataController::SetRecordCount(int count)
{
    if (IsGridMode())
        return;
    count = std::max(count, 0);
    int old = GetRecordCount();
    if (count == old)
        return;
    if (IsProviderMode()) {
        provider_->SetRecordCount(count);
        return;
    }
    storage_->SetRecordCount(count);
    CheckSelectedCount(-1);
    CheckEditingRecordIndex(-1);
    DataChanged(count > old ? dcNew : dcDeleted, -1, -1);
}

int TcxCustomDataController::AppendRecord()
{
    if (IsSmartLoad())
        return AppendInSmartLoad();
    if (IsProviderMode())
        return provider_->AppendRecord();
    int r = storage_->AppendRecord();
    DataChanged(dcNew, -1, -1);
    return r;
}

int TcxCustomDataController::InsertRecord(int recordIndex)
{
    if (recordIndex < 0 || recordIndex > GetRecordCount())
        InvalidOperation(&cxSDataRecordIndexError);
    if (IsSmartLoad())
        return AppendInSmartLoad();
    if (IsProviderMode())
        return provider_->InsertRecord(recordIndex);
    storage_->InsertRecord(recordIndex);
    CorrectAfterInsert(recordIndex);
    DataChanged(dcNew, -1, -1);
    return recordIndex;
}

void TcxCustomDataController::DeleteRecord(int recordIndex)
{
    CheckRecordRange(recordIndex);
    if (IsSmartLoad() && InSmartLoad) {
        DeleteInSmartLoad(recordIndex);
        return;
    }
    if (recordIndex == provider_->EditingRecordIndex())
        provider_->SetEditingRecordIndex(cxNoEditingRecord);
    if (IsProviderMode() && recordIndex >= 0) {
        provider_->DeleteRecord(recordIndex);   // the data source reports the change itself
        return;
    }
    storage_->DeleteRecord(recordIndex);   // frees the record's detail object and its details
    CorrectAfterDelete(recordIndex);       // the edited record moved too: its edit ends here
    CheckSelectedCount(recordIndex);
    CheckInternalRecordRange(recordIndex);
    DataChanged(dcDeleted, -1, -1);
}

Variant TcxCustomDataController::GetRecordId(int recordIndex)
{
    if (recordIndex < 0 || recordIndex >= GetRecordCount())
        InvalidOperation(&cxSDataRecordIndexError);
    if (IsRecordID())
        return storage_->GetRecordID(recordIndex);
    if (IsProviderMode() && provider_->IsRecordIdSupported())
        return provider_->GetRecordId(recordIndex);
    return Null;
}

void TcxCustomDataController::Refresh()
{
    BeginUpdate();
    try {
        info_->Refresh();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataController::CheckItemRange(int itemIndex) const
{
    if (itemIndex < 0 || itemIndex >= GetItemCount())
        InvalidOperation(&cxSDataItemIndexError);
}

void TcxCustomDataController::CheckRecordRange(int recordIndex)
{
    int newItem = GetNewItemRecordIndex();
    if (recordIndex >= 0 && recordIndex < GetRecordCount())
        return;
    if (recordIndex == newItem)
        return;
    if (provider_->SavedRecordIndex() != 0 && recordIndex == provider_->SavedRecordIndex())
        return;
    InvalidOperation(&cxSDataRecordIndexError);
}

void TcxCustomDataController::CheckInternalRecordRange(int recordIndex)
{
    if (recordIndex == newItemRecordIndex_)
        newItemRecordIndex_ = 0;
}

void TcxCustomDataController::DataStorageClearInternalRecords(TObject*)
{
    provider_->ClearSavedRecordIndex();
    newItemRecordIndex_ = 0;
}

// --- update locking and notices ---------------------------------------------------------------------
void TcxCustomDataController::BeginUpdate() { info_->BeginUpdate(); }

void TcxCustomDataController::EndUpdate()
{
    info_->EndUpdate();
    CheckChanges();
}

void TcxCustomDataController::Change(TcxDataControllerChanges changes)
{
    changes_ = changes_ + changes;
    CheckChanges();
}

void TcxCustomDataController::CheckChanges()
{
    if (LockCount() != 0)
        return;
    Unlocked();
    // The structure changed under a lock: reload now (this also runs when nothing else is pending,
    // or a data source assigned under a lock would never load).
    if (structureChanged_) {
        structureChanged_ = false;
        LayoutChanged({lcStructure});
    }
    if (changes_.Empty())
        return;
    UpdatePass();
}

void TcxDataControllerNotifier::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && !(component == this && ComponentState().Contains(csDestroying)))
        controller_->RemoveNotification(component);
}

void TcxCustomDataController::UpdatePass()
{
    TcxDataControllerChanges c = changes_;
    changes_ = {};
    if (c.Contains(dccData))
        DataNotification();
    else if (c.Contains(dccLayout) || c.Contains(dccDetail) || c.Contains(dccSummary))
        NotifyControl(new TcxLayoutChangedInfo());
    else if (c.Contains(dccUpdateRecord)) {
        NotifyControl(new TcxUpdateRecordInfo(GetFocusedRecordIndex()));
        search_->Cancel();
    }
    if (c.Contains(dccFocus))
        FocusedNotification();
    if (c.Contains(dccSelection))
        SelectionNotification();
    if (c.Contains(dccSearch))
        NotifyControl(new TcxSearchChangedInfo());
    if (c.Contains(dccBookmark))
        NotifyControl(new TcxBookmarkChangedInfo());
    if (c.Contains(dccGrouping))
        DoGroupingChanged();
    if (c.Contains(dccSorting))
        DoSortingChanged();
    // A clone's master position moved: the pattern's focus follows once the update is over.
    if (c.Contains(dccSyncMasterPos) && GetDetailMode() == dcdmClone)
        if (TcxCustomDataController* pattern = GetPatternDataController(); pattern && pattern != this)
            pattern->UpdateFocused();
}

void TcxCustomDataController::NotifyControl(TcxUpdateControlInfo* info)
{
    inNotifyControl_ = true;
    try {
        UpdateControl(info);
    } catch (...) {
        info->Free();
        inNotifyControl_ = false;
        throw;
    }
    info->Free();
    inNotifyControl_ = false;
}

bool TcxCustomDataController::IsRecordDesignated(int recordIndex)
{
    return recordIndex != -1 || (newItemRecordIndex_ != 0 && recordIndex == newItemRecordIndex_);
}

void TcxCustomDataController::DataNotification()
{
    TcxDataChangeInfo& d = dataChangeInfo_;
    if (d.Kind == dcField && d.ItemIndex == -1)
        d.Kind = dcRecord;
    if ((d.Kind == dcField || d.Kind == dcRecord) && d.RecordIndex == -1)
        d.Kind = dcTotal;
    try {
        NotifyControl(new TcxDataChangedInfo(d.Kind, d.ItemIndex, d.RecordIndex));
        DoDataChanged();
    } catch (...) {
        dataChangeInfo_ = {};
        throw;
    }
    dataChangeInfo_ = {};
}

void TcxCustomDataController::FocusedNotification()
{
    TcxDataFocusingInfo* prev = info_->PrevFocusingInfo();
    TcxDataFocusingInfo* cur = info_->FocusingInfo();
    if (prev->RowIndex != cur->RowIndex)
        NotifyControl(new TcxFocusedRowChangedInfo(prev->RowIndex, cur->RowIndex));
    int prevRecord = prev->PrevRecordIndex;
    int record = info_->GetFocusedRecordIndex();
    if (prevRecord >= 0 || record >= 0 || prev->Changed) {
        NotifyControl(new TcxFocusedRecordChangedInfo(prevRecord, record, prev->RowIndex, cur->RowIndex, prev->Changed));
        search_->Cancel();
    }
    prev->Assign(cur);
}

void TcxCustomDataController::SelectionNotification()
{
    int n = GetSelectedCount();
    selectionChangedInfo_.SelectedCount = n;
    int first = -1, second = -1;
    if (n <= 1) {
        selectionChangedInfo_.RowIndex = n == 1 ? GetSelectedRowIndex(0) : -1;
        if (PrevSelectionChangedInfo.SelectedCount <= 1) {
            first = PrevSelectionChangedInfo.SelectedCount == 1 ? PrevSelectionChangedInfo.RowIndex : -1;
            second = selectionChangedInfo_.RowIndex;
        }
    }
    NotifyControl(new TcxSelectionChangedInfo(first, second));
    PrevSelectionChangedInfo = selectionChangedInfo_;
}

void TcxCustomDataController::DataChanged(TcxDataChange kind, int itemIndex, int recordIndex)
{
    TcxDataChangeInfo& d = dataChangeInfo_;
    // Only a change still pending designates a record: the new-item record is internal record -1,
    // which a reset pending change must not be taken for.
    if (d.Pending && IsRecordDesignated(d.RecordIndex) && recordIndex != d.RecordIndex)
        d.Kind = dcTotal;
    else if (kind != dcField || d.ItemIndex == -1 || itemIndex == d.ItemIndex)
        d.Kind = kind;
    else {
        d.Kind = dcRecord;
        itemIndex = -1;
    }
    d.ItemIndex = itemIndex;
    d.RecordIndex = recordIndex;
    d.Pending = true;
    if (d.Kind == dcTotal) {
        UpdateStorage(false);
    } else {
        if (kind == dcNew || kind == dcDeleted)
            info_->FocusedRecordChanged(false);
        info_->Refresh();
    }
    ResetMasterHasChildrenFlag();
}

void TcxCustomDataController::Loaded()
{
    if (dataChangedPending_)
        DoDataChanged();
    if (AfterSummaryPending)
        summary_->DoAfterSummary();
}

bool TcxCustomDataController::IsDataChangedListenersExist() const
{
    return OnDataChanged.Assigned() || OnRecordChanged.Assigned() || !listeners_.empty();
}

void TcxCustomDataController::DoDataChanged()
{
    if (IsDestroying() || !IsDataChangedListenersExist())
        return;
    if (IsLoading()) {
        dataChangedPending_ = true;
        return;
    }
    dataChangedPending_ = false;
    NotifyDataChangedListeners();
}

void TcxCustomDataController::NotifyDataChangedListeners()
{
    const TcxDataChangeInfo& d = dataChangeInfo_;
    if ((d.Kind == dcField || d.Kind == dcRecord) && IsRecordDesignated(d.RecordIndex))
        CallEvent(OnRecordChanged, this, d.RecordIndex, d.ItemIndex);
    CallEvent(OnDataChanged, this);
    if (IsGridMode() && provider_->LocateCount() != 0)
        return;
    std::vector<Listener> copy = listeners_;
    for (auto& l : copy)
        CallEvent(l.Handler, static_cast<TObject*>(this));
}

void TcxCustomDataController::AddDataChangedListener(TObject* instance, const Event<void(TObject*)>& event)
{
    listeners_.push_back({instance, event});
}

void TcxCustomDataController::RemoveDataChangedListener(TObject* instance, const Event<void(TObject*)>& event)
{
    for (auto it = listeners_.begin(); it != listeners_.end(); ++it)
        if (it->Instance == instance && it->Handler == event) {
            listeners_.erase(it);
            return;
        }
}

TcxDataListenerLink* TcxCustomDataController::AddListenerLink(TcxCustomDataController* controller)
{
    auto* link = new TcxDataListenerLink();
    link->Ref = controller;
    controller->listenerLinks_.push_back(link);
    return link;
}

void TcxCustomDataController::RemoveListenerLink(TcxDataListenerLink* link)
{
    if (link->Ref) {
        auto& v = link->Ref->listenerLinks_;
        v.erase(std::remove(v.begin(), v.end(), link), v.end());
    }
    link->Free();
}

void TcxCustomDataController::BeforeGroupingNotification() { NotifyControl(new TcxGroupingChangingInfo()); }

// --- stream ----------------------------------------------------------------------------------------
namespace {
const char* const kStreamSignature = "DataController1";

int MarkStreamedValueDefs(TcxDataStorage* storage)
{
    int n = 0;
    TcxValueDefs* defs = storage->ValueDefs();
    for (int i = 0; i < defs->Count(); ++i) {
        TcxValueDef* def = defs->Items(i);
        auto* field = dynamic_cast<TcxCustomDataField*>(def->LinkObject());
        def->StreamStored = !(field && field->IsValueDefInternal());
        if (def->StreamStored)
            ++n;
    }
    return n;
}

int CompareByFieldIndex(TcxValueDef* a, TcxValueDef* b)
{
    auto* fa = dynamic_cast<TcxCustomDataField*>(a->LinkObject());
    auto* fb = dynamic_cast<TcxCustomDataField*>(b->LinkObject());
    int ia = fa ? fa->Index() : -1, ib = fb ? fb->Index() : -1;
    return ia < ib ? -1 : (ia > ib ? 1 : 0);
}

std::vector<TcxValueDef*> StreamedDefs(TcxDataStorage* storage)
{
    std::vector<TcxValueDef*> result;
    for (TcxValueDef* def : storage->StreamingOrder())
        if (def->StreamStored && def->Stored())
            result.push_back(def);
    return result;
}
} // namespace

void TcxCustomDataController::SaveToStream(TStream* stream)
{
    TcxWriter writer(stream);
    writer.WriteAnsiString(kStreamSignature);
    // Outside provider mode the storage holds the items' values; in provider mode nothing is
    // written but the empty header, so the stream stays consistent with its count.
    int count = IsProviderMode() ? 0 : MarkStreamedValueDefs(storage_);
    writer.WriteInteger(count);
    storage_->BeginStreaming(&CompareByFieldIndex);
    try {
        if (count > 0)
            for (TcxValueDef* def : StreamedDefs(storage_))
                writer.WriteAnsiString(dxStringToAnsiString(def->ValueTypeClass()->ClassName()));
        writer.WriteInteger(GetRecordCount());
        for (int i = 0; i < GetRecordCount(); ++i)
            storage_->WriteData(i, stream);
    } catch (...) {
        storage_->EndStreaming();
        throw;
    }
    storage_->EndStreaming();
}

void TcxCustomDataController::LoadFromStream(TStream* stream)
{
    if (IsProviderMode())
        InvalidOperation(&cxSDataProviderModeError);
    // A stream damaged past its header fails while the records are already being replaced: the
    // records it found are put back, so a bad file loses nothing.
    TMemoryStream backup;
    SaveToStream(&backup);
    try {
        ReadRecordsFromStream(stream);
    } catch (...) {
        backup.SetPosition(0);
        ReadRecordsFromStream(&backup);
        throw;
    }
}

void TcxCustomDataController::ReadRecordsFromStream(TStream* stream)
{
    TcxReader reader(stream);
    if (reader.ReadAnsiString() != kStreamSignature)
        InvalidOperation(&cxSDataInvalidStreamFormat);
    int count = reader.ReadInteger();
    if (count != MarkStreamedValueDefs(storage_))
        InvalidOperation(&cxSDataInvalidStreamFormat);
    storage_->BeginStreaming(&CompareByFieldIndex);
    try {
        for (TcxValueDef* def : StreamedDefs(storage_))
            if (dxAnsiStringToString(reader.ReadAnsiString()) != def->ValueTypeClass()->ClassName())
                InvalidOperation(&cxSDataInvalidStreamFormat);
        BeginUpdate();
        try {
            ClearSelection();
            // Every record takes at least its one-byte empty mark.
            int records = reader.ReadInteger();
            if (records < 0 || records > stream->Size() - stream->Position())
                InvalidOperation(&cxSDataInvalidStreamFormat);
            SetRecordCount(records);
            for (int i = 0; i < GetRecordCount(); ++i)
                storage_->ReadData(i, stream);
            info_->Refresh();
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    } catch (...) {
        storage_->EndStreaming();
        throw;
    }
    storage_->EndStreaming();
}

// --- filter criteria -------------------------------------------------------------------------------
TcxDataFilterCriteria::TcxDataFilterCriteria(TcxCustomDataController* controller) : controller_(controller)
{
    SetVersion(cxDataFilterVersion);
}

void TcxDataFilterCriteria::BeforeDestruction()
{
    destroying_ = true;
    if (TcxDataFilterList* list = controller_->FilterList())
        list->Remove(this);
    active_ = false;
    TcxFilterCriteria::BeforeDestruction();
}

bool TcxDataFilterCriteria::IsFiltering() const { return active_ && !IsEmpty() && !controller_->IsGridMode(); }
bool TcxDataFilterCriteria::IsInternal() const
{
    TcxDataFilterList* list = controller_->FilterList();
    return controller_->Filter() != this || (list && list->Contains(this));
}

TcxFilterValueListClass TcxDataFilterCriteria::GetValueListClass() { return TcxFilterValueListClass::Of<TcxDataFilterValueList>(); }

TcxDataFilterValueList* TcxDataFilterCriteria::CreateValueList()
{
    return static_cast<TcxDataFilterValueList*>(GetValueListClass().Create(this));
}

void TcxDataFilterCriteria::AssignEvents(TPersistent* source)
{
    TcxFilterCriteria::AssignEvents(source);
    if (auto* src = dynamic_cast<TcxDataFilterCriteria*>(source))
        OnGetValueList = src->OnGetValueList;
}

// --- the filter value list and the extra filters ---------------------------------------------------
TcxCustomDataController* TcxDataFilterValueList::DataController() const
{
    return static_cast<TcxDataFilterCriteria*>(Criteria())->DataController();
}

void TcxDataFilterValueList::Load(int itemIndex, bool initSortByDisplayText, bool useFilteredValues)
{
    TcxCustomDataController* c = DataController();
    auto* criteria = static_cast<TcxDataFilterCriteria*>(Criteria());
    Clear();
    if (initSortByDisplayText)
        SortByDisplayText = c->IsFilterItemSortByDisplayText(itemIndex);
    Add(fviAll, Null, cxSFilterString(&cxSFilterBoxAllCaption), true);
    Add(fviCustom, Null, cxSFilterString(&cxSFilterBoxCustomCaption), true);
    bool blanks = false;
    if (c->IsGridMode()) {
        blanks = true;   // a grid-mode buffer holds a page only: blanks may be anywhere
    } else {
        TcxCustomDataField* field = c->Fields(itemIndex);
        const bool filtered = useFilteredValues && c->GetFilteredRecordCount() > 0;
        useFilteredValues = filtered;
        const int n = filtered ? c->GetFilteredRecordCount() : c->GetRecordCount();
        for (int i = 0; i < n; ++i) {
            const int r = filtered ? c->GetFilteredRecordIndex(i) : i;
            Variant v = c->GetFilterDataValue(r, field);
            if (criteria->ValueIsNull(v))
                blanks = true;
            else
                Add(fviValue, v, c->GetFilterDisplayText(r, itemIndex));
        }
    }
    if (blanks)
        Add(fviBlanks, Null, cxSFilterString(&cxSFilterBoxBlanksCaption), true);
    bool nonBlanks = blanks;
    if (!nonBlanks && useFilteredValues)
        if (TcxFilterCriteriaItem* item = criteria->FindItemByItemLink(c->Fields(itemIndex)))
            nonBlanks = dynamic_cast<TcxFilterNotNullOperator*>(item->Operator()) != nullptr;
    if (nonBlanks)
        Add(fviNonBlanks, Null, cxSFilterString(&cxSFilterBoxNonBlanksCaption), true);
    CallEvent(criteria->OnGetValueList, criteria, itemIndex, this);
}

void TcxDataFilterList::Remove(TcxDataFilterCriteria* criteria)
{
    auto it = std::find(items_.begin(), items_.end(), criteria);
    if (it != items_.end())
        items_.erase(it);
}

void TcxDataFilterList::Clear()
{
    while (!items_.empty()) {
        TcxDataFilterCriteria* c = items_.back();
        items_.pop_back();
        c->Free();
    }
}

void TcxDataFilterList::RemoveItemByField(TcxCustomDataField* field)
{
    for (TcxDataFilterCriteria* c : items_)
        c->RemoveItemByField(field);
}

bool TcxDataFilterList::Contains(const TcxDataFilterCriteria* criteria) const
{
    return std::find(items_.begin(), items_.end(), criteria) != items_.end();
}

TcxDataFilterCriteria* TcxCustomDataController::CreateFilter()
{
    TcxDataFilterCriteria* criteria = GetFilterCriteriaClass().Create(this);
    filterList_->Add(criteria);
    return criteria;
}

bool TcxCustomDataController::IsFilterItemSortByDisplayText(int itemIndex)
{
    if (GetItemSortByDisplayText(itemIndex, true))
        return true;
    if (options_.Contains(dcoAnsiSort))
        if (TcxValueDef* def = Fields(itemIndex)->ValueDef())
            return def->IsNeedConversion();
    return false;
}

void TcxDataFilterCriteria::DefineProperties(TFiler* filer)
{
    TcxFilterCriteria::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Criteria", [this](TStream* stream) { ReadData(stream); }, [this](TStream* stream) { WriteData(stream); },
        IsStore());
}

void TcxDataFilterCriteria::SetActive(bool value)
{
    if (active_ == value)
        return;
    active_ = value;
    Changed();
}

void TcxDataFilterCriteria::Update()
{
    if (IsInternal() || destroying_ || controller_->IsDestroying() || controller_->IsLoading())
        return;
    if (!controller_->Provider()->IsDataSource())
        controller_->Post();
    controller_->FilterChanged();
    TcxFilterCriteria::Update();
}

void TcxDataFilterCriteria::Assign(TPersistent* source, bool limitToVersion2)
{
    if (auto* src = dynamic_cast<TcxDataFilterCriteria*>(source)) {
        BeginUpdate();
        try {
            TcxFilterCriteria::Assign(source, limitToVersion2);
            SetActive(src->Active());
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    } else {
        TcxFilterCriteria::Assign(source, limitToVersion2);
    }
}

namespace {
TObject* FieldOf(TcxCustomDataController* controller, TObject* item)
{
    if (!item || dynamic_cast<TcxCustomDataField*>(item))
        return item;
    return controller->FieldList()->FieldByItem(item);
}

} // namespace

TcxFilterCriteriaItem* TcxDataFilterCriteria::FindItemByItemLink(TObject* itemLink)
{
    // Conditions keep their field but show the controller's item as their link: compare fields, or
    // a removed field would stay behind in the tree.
    TObject* field = FieldOf(controller_, itemLink);
    if (!field)
        return nullptr;
    return FindItem([field](TcxFilterCriteriaItem* item) {
        auto* leaf = dynamic_cast<TcxDataFilterCriteriaItem*>(item);
        return leaf && leaf->Field() == field;
    });
}


TcxFilterCriteriaItem* TcxDataFilterCriteria::AddItem(TcxFilterCriteriaItemList* parent, TObject* itemLink,
                                                       TcxFilterOperatorKind kind, const Variant& value,
                                                       const std::string& displayValue)
{
    return TcxFilterCriteria::AddItem(parent, FieldOf(controller_, itemLink), kind, value, displayValue);
}

int TcxDataFilterCriteria::GetIDByItemLink(TObject* itemLink) { return controller_->GetItemID(itemLink); }
std::string TcxDataFilterCriteria::GetNameByItemLink(TObject* itemLink) { return controller_->GetItemName(itemLink); }
TcxFilterCriteriaItemClass TcxDataFilterCriteria::GetItemClass() { return TcxFilterCriteriaItemClass::Of<TcxDataFilterCriteriaItem>(); }
TObject* TcxDataFilterCriteria::GetItemLinkByID(int id) { return controller_->FindItemByInternalID(id); }
TObject* TcxDataFilterCriteria::GetItemLinkByName(const std::string& name) { return controller_->FindItemByName(name); }

TcxCustomDataController* TcxDataFilterCriteriaItem::DataController() const
{
    return static_cast<TcxDataFilterCriteria*>(GetCriteria())->DataController();
}

Variant TcxDataFilterCriteriaItem::GetDataValue(void* data)
{
    TcxCustomDataField* f = Field();
    if (!f)
        return Null;
    return DataController()->GetFilterDataValue(static_cast<int>(reinterpret_cast<intptr_t>(data)), f);
}

std::string TcxDataFilterCriteriaItem::GetFieldCaption()
{
    TObject* item = GetItemLink();
    return item ? DataController()->GetFilterItemFieldCaption(item) : std::string();
}

std::string TcxDataFilterCriteriaItem::GetFieldName()
{
    TObject* item = GetItemLink();
    return item ? DataController()->GetFilterItemFieldName(item) : std::string();
}

TObject* TcxDataFilterCriteriaItem::GetItemLink() const
{
    TcxCustomDataField* f = Field();
    return f ? f->Item() : nullptr;
}

void TcxDataFilterCriteriaItem::SetItemLink(TObject* value)
{
    TcxFilterCriteriaItem::SetItemLink(FieldOf(DataController(), value));
}

// --- incremental search ----------------------------------------------------------------------------
int TcxDataControllerSearch::ItemIndex() const
{
    return controller_->IncrementalSearchField ? controller_->IncrementalSearchField->Index() : -1;
}

void TcxDataControllerSearch::SetItemIndex(int itemIndex)
{
    controller_->CheckItemRange(itemIndex);
    controller_->IncrementalSearchField = controller_->Fields(itemIndex);
}

bool TcxDataControllerSearch::Searching() const { return controller_->IncrementalSearching; }
std::string TcxDataControllerSearch::SearchText() const { return controller_->IncrementalSearchText; }

int TcxDataControllerSearch::DoSearch(int start, int end, bool forward, const std::string& text)
{
    int n = controller_->GetFilteredRecordCount();
    if (end == -1)
        end = forward ? n - 1 : 0;
    int item = ItemIndex();
    for (int i = start; forward ? i <= end : i >= end; i += forward ? 1 : -1) {
        int r = controller_->GetFilteredRecordIndex(i);
        if (DataCompareText(controller_->GetIncrementalSearchText(r, item), text, true))
            return i;
    }
    return -1;
}

void TcxDataControllerSearch::DoFocusedRecord(int filteredIndex)
{
    Lock();
    try {
        controller_->ChangeFocusedRecordIndex(controller_->GetFilteredRecordIndex(filteredIndex));
        controller_->SyncSelectionFocusedRecord();
    } catch (...) {
        Unlock();
        throw;
    }
    Unlock();
}

bool TcxDataControllerSearch::Locate(int itemIndex, const std::string& text)
{
    if (text.empty() || controller_->GetFilteredRecordCount() == 0)
        return false;
    SetItemIndex(itemIndex);
    int focused = controller_->GetFocusedRecordIndex();
    int start = focused < 0 ? 0 : std::max(controller_->GetFilteredIndexByRecordIndex(focused), 0);
    int found = DoSearch(start, -1, true, text);
    if (found == -1 && start > 0)
        found = DoSearch(0, start - 1, true, text);
    if (found == -1)
        return false;
    DoFocusedRecord(found);
    controller_->IncrementalSearching = true;
    controller_->IncrementalSearchText = text;
    controller_->Change({dccSearch});
    controller_->CheckFocusedSelected();
    return true;
}

bool TcxDataControllerSearch::LocateNext(bool forward)
{
    if (!Searching() || SearchText().empty() || !controller_->IncrementalSearchField ||
        controller_->GetFilteredRecordCount() == 0)
        return false;
    int focused = controller_->GetFocusedRecordIndex();
    if (focused < 0)
        return false;
    int current = controller_->GetFilteredIndexByRecordIndex(focused);
    if (current < 0)
        return false;
    int found = forward ? DoSearch(current + 1, -1, true, SearchText()) : DoSearch(current - 1, -1, false, SearchText());
    if (found == -1)
        return false;
    DoFocusedRecord(found);
    controller_->CheckFocusedSelected();
    return true;
}

void TcxDataControllerSearch::Cancel()
{
    if (locked_ || !Searching())
        return;
    controller_->IncrementalSearchText.clear();
    controller_->IncrementalSearching = false;
    controller_->Change({dccSearch});
}

namespace {
const bool dataFilterPropsRegistered = [] {
    using F = TcxDataFilterCriteria;
    auto active = PublishedProp<F, bool>("Active", tkEnumeration, &F::Active, &F::SetActive);
    active.EnumNames = {"False", "True"};
    active.HasDefault = true;
    RegisterPublishedProperties(F::StaticClass(), {active});
    return true;
}();
} // namespace

} // namespace cx
