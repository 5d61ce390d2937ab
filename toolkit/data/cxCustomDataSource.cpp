// Provider mode: the custom data source, the provider's bridge to it, and the controller's
// structure and loading machinery shared by all modes (RestructData, UpdateItems, UpdateStorage,
// LoadStorage, UpdateFields, CheckMode and the smart-load operations).
#include "toolkit/data/cxCustomData.h"

#include <algorithm>
#include <cstring>

namespace cx {

// --- TcxCustomDataSource -----------------------------------------------------------------------------
void TcxCustomDataSource::BeforeDestruction()
{
    RemoveFromProviders();
    TObject::BeforeDestruction();
}

int TcxCustomDataSource::GetDefaultItemID(int itemIndex)
{
    TcxCustomDataController* c = GetDataController();
    return c ? c->GetItemID(c->GetItem(itemIndex)) : -1;
}

std::string TcxCustomDataSource::GetDisplayText(TcxDataRecordHandle recordHandle, TcxDataItemHandle itemHandle)
{
    try {
        return VarToStr(GetValue(recordHandle, itemHandle));
    } catch (const EVariantError&) {
        return {};
    }
}

bool TcxCustomDataSource::GetInfoForCompare(TcxDataRecordHandle, TcxDataItemHandle, void*&)
{
    InvalidOperation(&cxSDataCustomDataSourceInvalidCompare);
}

TcxCustomDataController* TcxCustomDataSource::GetDataController() const
{
    TcxCustomDataProvider* p = GetProvider();
    return p ? p->DataController() : nullptr;
}

// Read straight from the handle's slot: every value and every comparison in provider mode asks
// for a handle, so this stays free of variants.
TcxDataRecordHandle TcxCustomDataSource::GetRecordHandleByIndex(int recordIndex)
{
    TcxCustomDataController* c = GetDataController();
    TcxCustomDataField* f = c ? c->RecordHandlesField() : nullptr;
    void* p = nullptr;
    if (!f || !f->ValueDef() || c->DataStorage()->GetCompareInfo(recordIndex, f->ValueDef(), p))
        return cxNullRecordHandle;
    std::int64_t h;
    std::memcpy(&h, p, sizeof h);
    return static_cast<TcxDataRecordHandle>(h);
}

int TcxCustomDataSource::GetRecordIndexByHandle(TcxDataRecordHandle recordHandle)
{
    TcxCustomDataController* c = GetDataController();
    if (!c)
        return -1;
    for (int i = 0; i < c->GetRecordCount(); ++i)
        if (GetRecordHandleByIndex(i) == recordHandle)
            return i;
    return -1;
}

int TcxCustomDataSource::AddRecordHandle(TcxDataRecordHandle recordHandle)
{
    TcxCustomDataController* c = GetDataController();
    int r = c->DataStorage()->AppendRecord();
    c->SetStoredValue(r, c->RecordHandlesField(), Variant(static_cast<std::int64_t>(recordHandle)));
    return r;
}

void TcxCustomDataSource::LoadRecordHandles()
{
    TcxCustomDataController* c = GetDataController();
    TcxCustomDataProvider* p = GetProvider();
    TcxDataStorage* storage = c->DataStorage();
    storage->Clear(p->DataChangedLocked);
    const int count = std::max(GetRecordCount(), 0);
    storage->SetRecordCount(count);
    TcxCustomDataField* handles = c->RecordHandlesField();
    for (int i = 0; i < count; ++i)
        c->SetStoredValue(i, handles, Variant(static_cast<std::int64_t>(GetRecordHandle(i))));
}

void TcxCustomDataSource::DataChanged()
{
    TcxCustomDataProvider* p = GetProvider();
    if (!p)
        return;
    TcxCustomDataController* c = p->DataController();
    c->BeginFullUpdate();
    try {
        p->DataChanged(dcTotal, -1, -1);
    } catch (...) {
        c->EndFullUpdate();
        throw;
    }
    c->EndFullUpdate();
}

void TcxCustomDataSource::AddProvider(TcxCustomDataProvider* provider)
{
    if (std::find(providers_.begin(), providers_.end(), provider) == providers_.end())
        providers_.push_back(provider);
}

void TcxCustomDataSource::RemoveProvider(TcxCustomDataProvider* provider)
{
    auto it = std::find(providers_.begin(), providers_.end(), provider);
    if (it != providers_.end())
        providers_.erase(it);
    if (currentProvider_ == provider)
        currentProvider_ = nullptr;
    if (DefaultProvider == provider)
        DefaultProvider = nullptr;
}

void TcxCustomDataSource::RemoveFromProviders()
{
    for (int i = static_cast<int>(providers_.size()) - 1; i >= 0; --i) {
        if (i >= static_cast<int>(providers_.size()))
            continue;
        TcxCustomDataProvider* p = providers_[i];
        if (p->CustomDataSource() == this)
            p->DataController()->SetCustomDataSource(nullptr);
        else
            RemoveProvider(p);
    }
    providers_.clear();
}

// --- the provider's bridge ---------------------------------------------------------------------------
void TcxCustomDataProvider::BeforeDestruction()
{
    ClearSavedRecord();
    if (customDataSource_) {
        customDataSource_->RemoveProvider(this);
        customDataSource_ = nullptr;
    }
    TObject::BeforeDestruction();
}

void TcxCustomDataProvider::SetCustomDataSource(TcxCustomDataSource* value)
{
    if (!IsCustomDataSourceSupported() || customDataSource_ == value)
        return;
    if (customDataSource_)
        customDataSource_->RemoveProvider(this);
    customDataSource_ = value;
    if (customDataSource_)
        customDataSource_->AddProvider(this);
    if (controller_->IsDestroying())
        return;
    controller_->inSetCustomDataSource_ = true;
    try {
        controller_->RestructData();
    } catch (...) {
        controller_->inSetCustomDataSource_ = false;
        throw;
    }
    controller_->inSetCustomDataSource_ = false;
}

void TcxCustomDataProvider::ActiveChanged(bool active)
{
    controller_->ActiveChanged(active);
    ResetEditing();
}

void TcxCustomDataProvider::LayoutChanged(TcxDataLayoutChanges changes) { controller_->LayoutChanged(changes); }

TcxDataRecordHandle TcxCustomDataProvider::Handle(int recordIndex)
{
    customDataSource_->SetCurrentProvider(this);
    if (recordIndex >= 0 && static_cast<std::size_t>(recordIndex) < handleCache_.size())
        return handleCache_[recordIndex];
    return customDataSource_->GetRecordHandleByIndex(recordIndex);
}

void TcxCustomDataProvider::BeginHandleCache()
{
    handleCache_.clear();
    if (!customDataSource_)
        return;
    customDataSource_->SetCurrentProvider(this);
    const int n = controller_->GetRecordCount();
    handleCache_.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        handleCache_.push_back(customDataSource_->GetRecordHandleByIndex(i));
}

TcxDataItemHandle TcxCustomDataProvider::ItemHandle(TcxCustomDataField* field)
{
    return customDataSource_->GetItemHandle(field->Index());
}

void TcxCustomDataProvider::CustomSort()
{
    if (!customDataSource_)
        return;
    customDataSource_->SetCurrentProvider(this);
    customDataSource_->CustomSort();
}

bool TcxCustomDataProvider::IsCustomSorting()
{
    if (!customDataSource_)
        return false;
    customDataSource_->SetCurrentProvider(this);
    return customDataSource_->IsCustomSorting();
}

bool TcxCustomDataProvider::IsRecordIdSupported()
{
    if (!customDataSource_)
        return false;
    customDataSource_->SetCurrentProvider(this);
    return customDataSource_->IsRecordIdSupported();
}

int TcxCustomDataProvider::AppendRecord()
{
    if (!customDataSource_)
        return -1;
    customDataSource_->SetCurrentProvider(this);
    TcxDataRecordHandle h = customDataSource_->AppendRecord();
    customDataSource_->SetCurrentProvider(this);
    return customDataSource_->GetRecordIndexByHandle(h);
}

int TcxCustomDataProvider::InsertRecord(int recordIndex)
{
    if (!customDataSource_)
        return -1;
    customDataSource_->SetCurrentProvider(this);
    TcxDataRecordHandle h = customDataSource_->GetRecordCount() != 0
                                ? customDataSource_->InsertRecord(Handle(recordIndex))
                                : customDataSource_->AppendRecord();
    customDataSource_->SetCurrentProvider(this);
    return customDataSource_->GetRecordIndexByHandle(h);
}

void TcxCustomDataProvider::DeleteRecord(int recordIndex)
{
    if (customDataSource_)
        customDataSource_->DeleteRecord(Handle(recordIndex));
}

bool TcxCustomDataProvider::GetDetailHasChildren(int recordIndex, int relationIndex)
{
    if (!customDataSource_)
        return false;
    customDataSource_->SetCurrentProvider(this);
    return customDataSource_->GetDetailHasChildren(recordIndex, relationIndex);
}

std::string TcxCustomDataProvider::GetDisplayText(int recordIndex, TcxCustomDataField* field)
{
    if (!customDataSource_)
        return {};
    return customDataSource_->GetDisplayText(Handle(recordIndex), ItemHandle(field));
}

Variant TcxCustomDataProvider::GetValue(int recordIndex, TcxCustomDataField* field)
{
    if (!customDataSource_)
        return Null;
    return customDataSource_->GetValue(Handle(recordIndex), ItemHandle(field));
}

void TcxCustomDataProvider::SetValue(int recordIndex, TcxCustomDataField* field, const Variant& value)
{
    if (customDataSource_)
        customDataSource_->SetValue(Handle(recordIndex), ItemHandle(field), value);
}

Variant TcxCustomDataProvider::GetRecordId(int recordIndex)
{
    if (!customDataSource_)
        return Null;
    return customDataSource_->GetRecordId(Handle(recordIndex));
}

void TcxCustomDataProvider::SetRecordCount(int count)
{
    if (!customDataSource_)
        return;
    customDataSource_->SetCurrentProvider(this);
    customDataSource_->SetRecordCount(count);
}

void TcxCustomDataProvider::LoadRecordHandles()
{
    if (!customDataSource_)
        return;
    customDataSource_->SetCurrentProvider(this);
    customDataSource_->LoadRecordHandles();
}

int TcxCustomDataProvider::AddRecordHandle(TcxDataRecordHandle recordHandle)
{
    if (!customDataSource_)
        return -1;
    customDataSource_->SetCurrentProvider(this);
    return customDataSource_->AddRecordHandle(recordHandle);
}

int TcxCustomDataProvider::NativeCompare(int recordIndex1, int recordIndex2, TcxCustomDataField* field)
{
    TcxDataStorage* storage = controller_->DataStorage();
    TcxValueDef* def = field->ValueDef();
    if (!def)
        return 0;
    if (recordIndex1 < 0 && recordIndex2 < 0)
        return storage->CompareRecords(recordIndex1, recordIndex2, def);
    auto info = [&](int recordIndex, void*& p) {
        if (recordIndex < 0 || !customDataSource_)
            return storage->GetCompareInfo(recordIndex, def, p);
        return !customDataSource_->GetInfoForCompare(Handle(recordIndex), ItemHandle(field), p);
    };
    void *p1 = nullptr, *p2 = nullptr;
    bool n1 = info(recordIndex1, p1);
    bool n2 = info(recordIndex2, p2);
    return def->CompareValues(n1, n2, p1, p2);
}

int TcxCustomDataProvider::NativeCompareFunc(int recordIndex1, int recordIndex2, TcxCustomDataField* field)
{
    if (!customDataSource_)
        return 0;
    TcxDataRecordHandle h1 = Handle(recordIndex1), h2 = Handle(recordIndex2);
    return customDataSource_->NativeCompareFunc(h1, h2, ItemHandle(field));
}

// --- the controller: structure and loading -------------------------------------------------------------
void TcxCustomDataController::RecreateProvider()
{
    TcxCustomDataSource* source = CustomDataSource();
    SetCustomDataSource(nullptr);
    provider_->Free();
    provider_ = GetDataProviderClass().Create(this);
    prevGridMode_ = false;
    SetCustomDataSource(source);
}

void TcxCustomDataController::SetCustomDataSource(TcxCustomDataSource* value)
{
    if (CustomDataSource() == value)
        return;
    provider_->SetCustomDataSource(value);
    CustomDataSourceChanged();
}

void TcxCustomDataController::UpdateUseRecordIDState() { storage_->SetUseRecordID(IsRecordID()); }

void TcxCustomDataController::RestructData()
{
    BeginFullUpdate();
    try {
        provider_->ResetEditing();
        if (!IsUnboundMode() || (inSetCustomDataSource_ && !CustomDataSource()))
            storage_->Clear(false);
        bookmarkRecordIndex_ = -1;
        CheckSelectedCount(-1);
        storage_->SetStoredValuesOnly(IsProviderMode() || IsGridMode());
        UpdateUseRecordIDState();
        if (!CustomDataSource()) {
            if (recordHandlesField_) {
                TcxCustomDataField* f = recordHandlesField_;
                recordHandlesField_ = nullptr;
                f->Free();
            }
        } else if (!recordHandlesField_) {
            // Handles are pointer-sized: a 32-bit slot would cut a pointer handle in half.
            recordHandlesField_ = AddInternalField();
            recordHandlesField_->SetValueTypeClass(TcxLargeIntValueType::Class());
        }
        structureRecreated_ = true;
        LayoutChanged({lcData});
    } catch (...) {
        EndFullUpdate();
        throw;
    }
    EndFullUpdate();
}

void TcxCustomDataController::LayoutChanged(TcxDataLayoutChanges) { UpdateItems(provider_->IsActive()); }

void TcxCustomDataController::ActiveChanged(bool active)
{
    active_ = active;
    UpdateItems(provider_->IsActive());
    ResetMasterHasChildrenFlag();
}

void TcxCustomDataController::UpdateItems(bool updateFields)
{
    if (inUpdateItems_)
        return;
    inUpdateItems_ = true;
    try {
        // Under a lock the load waits for the unlock (CheckChanges); the storage pass still runs
        // and ends the structure-recreated state, so an unbound controller keeps its records.
        if (LockCount() != 0)
            structureChanged_ = true;
        if (IsProviderDataSource())
            UpdateStorage(updateFields);
    } catch (...) {
        inUpdateItems_ = false;
        throw;
    }
    inUpdateItems_ = false;
}

void TcxCustomDataController::UpdateStorage(bool updateFields)
{
    BeginFullUpdate();
    try {
        if (IsProviderDataSource()) {
            if (updateFields || provider_->IsActiveDataSet()) {
                if (updateFieldsLockCount_ > 0)
                    updateFieldsPending_ = true;
                else if (!(provider_->IsGridModeUpdating() &&
                           (GetEditState().Contains(dceInsert) || fields_->FieldDestroyed)))
                    UpdateFields();
            }
            if (!structureChanged_)
                LoadStorage();
        }
        info_->Refresh();
        structureRecreated_ = false;
    } catch (...) {
        structureRecreated_ = false;
        EndFullUpdate();
        throw;
    }
    EndFullUpdate();
}

void TcxCustomDataController::LoadStorage()
{
    if (!(IsSmartLoad() && InSmartLoad))
        storage_->Clear(provider_->DataChangedLocked);
    if (provider_->IsActive() && !IsSmartLoad()) {
        if (GetDetailMode() != dcdmPattern) {
            if (IsGridMode()) {
                storage_->BeginLoad();
                try {
                    provider_->LoadDataBuffer();
                } catch (...) {
                    storage_->EndLoad();
                    throw;
                }
                storage_->EndLoad();
            } else {
                provider_->Freeze();
                try {
                    provider_->SavePos();
                    provider_->First();
                    if (provider_->RecreatedFieldsAfterFirst)
                        UpdateFields();
                    storage_->BeginLoad();
                    try {
                        if (IsProviderMode())
                            provider_->LoadRecordHandles();
                        else {
                            TcxValueDefReader* reader = provider_->GetValueDefReaderClass().Create();
                            try {
                                while (!provider_->IsEOF()) {
                                    int r = storage_->AppendRecord();
                                    storage_->ReadRecord(r, reader);
                                    DoReadRecord(r);
                                    provider_->Next();
                                }
                            } catch (...) {
                                reader->Free();
                                throw;
                            }
                            reader->Free();
                        }
                    } catch (...) {
                        storage_->EndLoad();
                        throw;
                    }
                    storage_->EndLoad();
                    LoadedStorage = provider_->ActiveChanging;
                    provider_->RestorePos();
                } catch (...) {
                    provider_->Unfreeze();
                    throw;
                }
                provider_->Unfreeze();
            }
        }
        inLoadStorage_ = true;
        try {
            CheckSelectedCount(-1);
        } catch (...) {
            inLoadStorage_ = false;
            throw;
        }
        inLoadStorage_ = false;
        UpdateFocused();
    }
    Change({dccData});
    SyncMasterPos();
}

void TcxCustomDataController::UpdateFields()
{
    for (int i = 0; i < fields_->Count(); ++i)
        fields_->Items(i)->Prepared = false;
    for (;;) {
        fields_->FieldDestroyed = false;
        bool all = true;
        for (int i = 0; i < fields_->Count(); ++i) {
            TcxCustomDataField* f = fields_->Items(i);
            if (f->Prepared)
                continue;
            PrepareField(f);
            f->Prepared = true;
            if (fields_->FieldDestroyed) {
                all = false;
                break;
            }
        }
        if (all)
            break;
    }
}

void TcxCustomDataController::CheckMode()
{
    bool wasGridMode = prevGridMode_;
    prevGridMode_ = IsGridMode();
    provider_->Grouped = info_->GroupingFieldList()->Count() > 0;
    if (provider_->IsGridMode() != wasGridMode)
        RestructData();
}

void TcxCustomDataController::ProviderValueDefSetProc(TcxValueDef* def, int fromRecord, int toRecord, TcxValueDefReader*)
{
    auto* field = static_cast<TcxCustomDataField*>(def->LinkObject());
    if (!field || field->IsValueDefInternal())
        return;
    provider_->SetValue(toRecord, field, storage_->GetValue(fromRecord, def));
    if (def->TextStored())
        provider_->SetDisplayText(toRecord, field, storage_->GetDisplayText(fromRecord, def));
}

// --- smart load (for descendants whose IsSmartLoad answers true) --------------------------------------
void TcxCustomDataController::BeginSmartLoad()
{
    provider_->Freeze();
    provider_->SavePos();
    storage_->BeginLoad();
}

void TcxCustomDataController::EndSmartLoad()
{
    storage_->EndLoad();
    provider_->RestorePos();
    provider_->Unfreeze();
    UpdateFocused();
    info_->Refresh();
}

int TcxCustomDataController::AppendInSmartLoad()
{
    const bool was = InSmartLoad;
    InSmartLoad = true;
    int r;
    try {
        if (IsProviderMode()) {
            CustomDataSource()->SetCurrentProvider(provider_);
            r = LoadRecord(CustomDataSource()->AppendRecord());
        } else {
            TcxValueDefReader* reader = provider_->GetValueDefReaderClass().Create();
            try {
                r = LoadRecord(reinterpret_cast<TcxDataRecordHandle>(reader));
            } catch (...) {
                reader->Free();
                throw;
            }
            reader->Free();
            DataChanged(dcNew, -1, -1);
        }
    } catch (...) {
        InSmartLoad = was;
        throw;
    }
    InSmartLoad = was;
    return r;
}

int TcxCustomDataController::LoadRecord(TcxDataRecordHandle data)
{
    if (IsProviderMode())
        return provider_->AddRecordHandle(data);
    int r = storage_->AppendRecord();
    storage_->ReadRecord(r, reinterpret_cast<TcxValueDefReader*>(data));
    DoReadRecord(r);
    return r;
}

void TcxCustomDataController::DeleteInSmartLoad(int recordIndex)
{
    if (IsProviderMode())
        provider_->DeleteRecord(recordIndex);
    storage_->DeleteRecord(recordIndex);
}

} // namespace cx
