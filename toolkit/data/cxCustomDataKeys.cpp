// Kept keys and the controller's master-detail operations.
#include "toolkit/data/cxCustomDataKeys.h"

#include "toolkit/data/cxVariants.h"

namespace cx {

// --- kept keys -----------------------------------------------------------------------------------
TcxKeys::~TcxKeys()
{
    ClearKeys();
}

void TcxKeys::ClearKeys()
{
    for (TcxKeyInfo* k : keys_)
        FreeKeyInfo(k);
    keys_.clear();
}

void TcxKeys::InitKeyFields(TcxCustomDataController* controller)
{
    controller_ = controller;
    keyFields_.Clear();
    controller->GetKeyFields(&keyFields_);
}

void TcxKeys::SaveState(TcxCustomDataController* controller)
{
    ClearKeys();
    InitKeyFields(controller);
    CollectKeys();
    std::stable_sort(keys_.begin(), keys_.end(),
                     [](TcxKeyInfo* a, TcxKeyInfo* b) { return VarCompare(a->Key, b->Key) < 0; });
}

void TcxKeys::RestoreState(TcxCustomDataController* controller)
{
    InitKeyFields(controller);
    if (!keys_.empty()) {
        ApplyKeys();
        ClearKeys();
    }
}

bool TcxKeys::FindRecordKey(int recordIndex, int& keyIndex)
{
    Variant key = controller_->GetInternalRecordId(recordIndex, &keyFields_);
    for (int i = 0; i < Count(); ++i)
        if (VarEquals(keys_[i]->Key, key)) {
            keyIndex = i;
            return true;
        }
    return false;
}

void TcxKeys::DeleteKey(int keyIndex)
{
    FreeKeyInfo(keys_.at(keyIndex));
    keys_.erase(keys_.begin() + keyIndex);
}

static TcxCustomDataController* KeptDetail(TcxCustomDataController* master, int record, int relation)
{
    if (!master->IsDetailDataControllerExist(record, relation))
        return nullptr;
    TcxCustomDataController* detail = master->GetDetailDataController(record, relation);
    return detail && detail->InheritsFrom(master->ClassType()) ? detail : nullptr;
}

void TcxDetailKeys::CollectKeys()
{
    for (int i = 0; i < controller_->GetRecordCount(); ++i) {
        if (!controller_->GetDetailExpanding(i))
            continue;
        auto* k = new TcxDetailKeyInfo();
        k->Key = controller_->GetInternalRecordId(i, &keyFields_);
        k->ActiveRelationIndex = controller_->GetDetailActiveRelationIndex(i);
        k->SaveObject = new TcxSaveObject();
        keys_.push_back(k);
        if (TcxCustomDataController* detail = KeptDetail(controller_, i, k->ActiveRelationIndex))
            k->SaveObject->SaveState(detail);
    }
}

void TcxDetailKeys::ApplyKeys()
{
    for (int i = 0; i < controller_->GetRecordCount(); ++i) {
        int keyIndex;
        if (!FindRecordKey(i, keyIndex))
            continue;
        auto* k = static_cast<TcxDetailKeyInfo*>(keys_[keyIndex]);
        controller_->ChangeDetailExpanding(i, true);
        controller_->ChangeDetailActiveRelationIndex(i, k->ActiveRelationIndex);
        if (k->SaveObject && controller_->GetDetailExpanding(i) &&
            controller_->GetDetailActiveRelationIndex(i) == k->ActiveRelationIndex)
            if (TcxCustomDataController* detail = KeptDetail(controller_, i, k->ActiveRelationIndex))
                k->SaveObject->RestoreState(detail);
    }
}

void TcxDetailKeys::FreeKeyInfo(TcxKeyInfo* keyInfo)
{
    if (auto* k = dynamic_cast<TcxDetailKeyInfo*>(keyInfo))
        FreeAndNil(k->SaveObject);
    TcxKeys::FreeKeyInfo(keyInfo);
}

void TcxSelectedKeys::CollectKeys()
{
    TcxDataSelection* sel = controller_->DataControllerInfo()->Selection();
    for (int j = 0; j < sel->Count(); ++j) {
        const TcxDataSelectionInfo& e = sel->Items(j);
        if (e.Level < 0 || e.RecordIndex >= controller_->GetRecordCount())
            continue;
        auto* k = new TcxSelectedKeyInfo();
        k->SelectionIndex = j;
        k->Key = controller_->GetInternalRecordId(e.RecordIndex, &keyFields_);
        keys_.push_back(k);
    }
}

void TcxSelectedKeys::ApplyKeys()
{
    TcxDataSelection* sel = controller_->DataControllerInfo()->Selection();
    if (sel->Count() == 0)
        return;
    for (int i = 0; i < controller_->GetRecordCount(); ++i) {
        int keyIndex;
        if (!FindRecordKey(i, keyIndex))
            continue;
        auto* k = static_cast<TcxSelectedKeyInfo*>(keys_[keyIndex]);
        if (k->SelectionIndex < sel->Count())
            sel->Items(k->SelectionIndex).RecordIndex = i;
        DeleteKey(keyIndex);
    }
    for (TcxKeyInfo* key : keys_) {
        auto* k = static_cast<TcxSelectedKeyInfo*>(key);
        if (k->SelectionIndex >= 0 && k->SelectionIndex < sel->Count())
            sel->Items(k->SelectionIndex).RecordIndex = -1;
    }
    for (int j = sel->Count() - 1; j >= 0; --j)
        if (sel->Items(j).RecordIndex == -1)
            sel->InternalDelete(j);
    controller_->DataControllerInfo()->ExpandingChanged();
}

TcxSaveObject::~TcxSaveObject()
{
    FreeAndNil(DetailKeys);
    FreeAndNil(SelectedKeys);
}

void TcxSaveObject::SaveState(TcxCustomDataController* controller)
{
    if (controller->CreatingLinkObject() || controller->IsDestroying() || !controller->IsKeyNavigation())
        return;
    DetailKeys->SaveState(controller);
    SelectedKeys->SaveState(controller);
}

void TcxSaveObject::RestoreState(TcxCustomDataController* controller)
{
    if (controller->CreatingLinkObject())
        return;
    if (controller->IsKeyNavigation()) {
        DetailKeys->RestoreState(controller);
        SelectedKeys->RestoreState(controller);
    } else {
        controller->CheckSelectedCount(-1);
    }
}

} // namespace cx

namespace cx {

// --- the controller: master relation and mode ----------------------------------------------------
TcxDataControllerDetailMode TcxCustomDataController::GetDetailMode() const
{
    if (masterRelation_)
        return masterRecordIndex_ == -1 ? dcdmPattern : dcdmClone;
    return isPattern_ ? dcdmPattern : dcdmNone;
}

void TcxCustomDataController::SetIsPattern(bool value)
{
    if (value && dataChangeRefCount_ != 0 && masterRelation_)
        throw EdxException("!");
    const bool was = GetIsPattern();
    requestedIsPattern_ = value;
    isPattern_ = value && dataChangeRefCount_ == 0;
    if (was != GetIsPattern() && !IsDestroying())
        LayoutChanged({lcStructure});
}

void TcxCustomDataController::AddDataChangeRefCount()
{
    ++dataChangeRefCount_;
    SetIsPattern(requestedIsPattern_);
}

void TcxCustomDataController::RemoveDataChangeRefCount()
{
    --dataChangeRefCount_;
    SetIsPattern(requestedIsPattern_);
}

TcxCustomDataController* TcxCustomDataController::GetMasterDataController() const
{
    return masterRelation_ ? masterRelation_->GetDataController() : nullptr;
}

TcxCustomDataController* TcxCustomDataController::GetRootDataController()
{
    TcxCustomDataController* c = this;
    while (TcxCustomDataController* m = c->GetMasterDataController())
        c = m;
    return c;
}

static TcxCustomDataController* FindPattern(TcxCustomDataController* c, TObject* item)
{
    TcxCustomDataRelationList* relations = c->GetRelations();
    for (int i = 0; i < relations->GetCount(); ++i) {
        TcxCustomDataRelation* r = relations->GetItem(i);
        if (!r->DetailDataController)
            continue;
        if (r->Item() == item)
            return r->DetailDataController;
        if (TcxCustomDataController* found = FindPattern(r->DetailDataController, item))
            return found;
    }
    return nullptr;
}

TcxCustomDataController* TcxCustomDataController::GetPatternDataController()
{
    if (!masterRelation_)
        return this;
    return FindPattern(GetRootDataController(), masterRelation_->Item());
}

void TcxCustomDataController::SetMasterRelation(TcxCustomDataRelation* relation, int masterRecordIndex)
{
    if (!relation && !masterRelation_ && masterRecordIndex == -1 && masterRecordIndex_ == -1)
        return;
    BeginUpdate();
    try {
        if (masterRelation_) {
            if (masterRelation_->DetailDataController == this && masterRecordIndex == -1)
                masterRelation_->DetailDataController = nullptr;
            TcxCustomDataController* master = masterRelation_->GetDataController();
            if (master && master->CreatingDataController == this)
                master->CreatingDataController = nullptr;
            GetRelations()->Changed(nullptr);
        }
        masterRelation_ = relation;
        if (relation && masterRecordIndex == -1) {
            relation->DetailDataController = this;
            relation->Changed();
        } else if (relation) {
            if (TcxCustomDataController* master = relation->GetDataController())
                master->CreatingDataController = this;
        }
        masterRecordIndex_ = masterRecordIndex;
        LayoutChanged({lcData});
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataController::SetMasterMode(TcxCustomDataRelation* relation, bool isPattern)
{
    BeginFullUpdate();
    try {
        SetMasterRelation(relation, -1);
        SetIsPattern(isPattern);
    } catch (...) {
        EndFullUpdate();
        throw;
    }
    EndFullUpdate();
}

TcxCustomDataRelationList* TcxCustomDataController::GetRelations()
{
    if (!relations_)
        relations_ = new TcxCustomDataRelationList(this);
    return relations_;
}

void TcxCustomDataController::UpdateRelations(TcxCustomDataRelation* relation)
{
    if (IsDestroying())
        return;
    if (GetIsPattern()) {
        if (masterRelation_)
            GetRootDataController()->ResetRelationByItem(masterRelation_->Item());
    } else {
        Change({dccData});
    }
}

void TcxCustomDataController::ResetRelationByItem(TObject* item)
{
    if (GetRelations()->FindByItem(item)) {
        ClearDetails();
        return;
    }
    for (int i = 0; i < GetRecordCount(); ++i)
        for (int j = 0; j < GetRelations()->GetCount(); ++j)
            if (IsDetailDataControllerExist(i, j))
                if (TcxCustomDataController* d = GetDetailDataController(i, j))
                    d->ResetRelationByItem(item);
}

void TcxCustomDataController::ClearDetailsMasterRelation(TcxCustomDataRelation* relation)
{
    const int index = relation->GetIndex();
    if (!relations_ || relations_->DetailObjectField() == nullptr)
        return;
    for (int i = 0; i < GetRecordCount(); ++i)
        if (IsDetailDataControllerExist(i, index))
            if (TcxCustomDataController* d = GetDetailDataController(i, index))
                d->masterRelation_ = nullptr;
}

// --- details of a record -------------------------------------------------------------------------
TObject* TcxCustomDataController::GetDetailLinkObject(int recordIndex, int relationIndex)
{
    TcxCustomDataRelationList* relations = GetRelations();
    TcxDetailObject* d = relations->GetDetailObject(recordIndex);
    if (!d)
        return nullptr;
    TObject* link = d->GetLinkObject(relationIndex);
    if (!link && !creatingLinkObject_ && relationIndex >= 0 && relationIndex < relations->GetCount()) {
        TcxCustomDataController* pattern = GetPatternDataController();
        creatingLinkObject_ = true;
        if (pattern)
            pattern->creatingLinkObject_ = true;
        try {
            link = CreateDetailLinkObject(relations->GetItem(relationIndex), recordIndex);
            CreatingDataController = nullptr;
        } catch (...) {
            creatingLinkObject_ = false;
            if (pattern)
                pattern->creatingLinkObject_ = false;
            throw;
        }
        creatingLinkObject_ = false;
        if (pattern)
            pattern->creatingLinkObject_ = false;
        if (link) {
            // The record may have vanished while the link was being created.
            if (recordIndex >= GetRecordCount() || relations->GetValueAsDetailObject(recordIndex) != d) {
                FreeAndNil(link);
            } else {
                d->SetLinkObject(relationIndex, link);
            }
        }
    }
    if (!link && !recreatingLinkObject_ && relationIndex >= 0 && relationIndex < relations->GetCount() &&
        recordIndex < GetRecordCount()) {
        recreatingLinkObject_ = true;
        try {
            link = GetDetailLinkObject(recordIndex, relationIndex);
        } catch (...) {
            recreatingLinkObject_ = false;
            throw;
        }
        recreatingLinkObject_ = false;
    }
    return link;
}

TcxCustomDataController* TcxCustomDataController::GetDetailDataController(int recordIndex, int relationIndex)
{
    return GetDetailDataControllerByLinkObject(GetDetailLinkObject(recordIndex, relationIndex));
}

bool TcxCustomDataController::IsDetailDataControllerExist(int recordIndex, int relationIndex)
{
    return GetRelations()->IsDetailObjectExist(recordIndex, relationIndex);
}

void TcxCustomDataController::ClearDetailLinkObject(int recordIndex, int relationIndex)
{
    if (GetRelations()->ClearDetailObject(recordIndex, relationIndex))
        Change({dccDetail});
}

void TcxCustomDataController::ClearDetails()
{
    BeginUpdate();
    try {
        for (int i = 0; i < GetRecordCount(); ++i)
            ClearDetailLinkObject(i, -1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataController::CollapseDetails()
{
    CheckBrowseMode();
    BeginUpdate();
    try {
        for (int i = 0; i < GetRecordCount(); ++i) {
            ClearDetailLinkObject(i, -1);
            if (TcxDetailObject* d = GetRelations()->GetDetailObject(i)) {
                d->Expanded = false;
                Change({dccDetail});
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TcxCustomDataController::GetDetailExpanding(int recordIndex)
{
    if (recordIndex < 0 || recordIndex >= GetRecordCount())
        return false;
    TcxDetailObject* d = GetRelations()->GetDetailObject(recordIndex);
    return d && d->Expanded;
}

bool TcxCustomDataController::CanChangeDetailExpanding(int recordIndex, bool expanded)
{
    bool allow = true;
    if (expanded)
        DoDetailExpanding(recordIndex, allow);
    else
        DoDetailCollapsing(recordIndex, allow);
    return allow;
}

bool TcxCustomDataController::ChangeDetailExpanding(int recordIndex, bool expanded)
{
    if (GetDetailExpanding(recordIndex) == expanded)
        return true;
    detailExpanding_ = true;
    try {
        CheckBrowseMode();
        TcxDetailObject* d = recordIndex >= 0 && recordIndex < GetRecordCount()
                                 ? GetRelations()->GetDetailObject(recordIndex) : nullptr;
        if (!d || !CanChangeDetailExpanding(recordIndex, expanded)) {
            detailExpanding_ = false;
            return false;
        }
        d->Expanded = expanded;
        TcxCustomDataController* master = GetMasterDataController();
        if (!master || master->LockCount() == 0)
            Change({dccDetail});
        if (expanded)
            DoDetailExpanded(recordIndex);
        else
            DoDetailCollapsed(recordIndex);
    } catch (...) {
        detailExpanding_ = false;
        throw;
    }
    detailExpanding_ = false;
    return true;
}

int TcxCustomDataController::GetDetailActiveRelationIndex(int recordIndex)
{
    if (GetRelations()->GetCount() == 0)
        return -1;
    TcxDetailObject* d = GetRelations()->GetDetailObject(recordIndex);
    return d ? d->ActiveRelationIndex : -1;
}

void TcxCustomDataController::ChangeDetailActiveRelationIndex(int recordIndex, int relationIndex)
{
    if (GetDetailActiveRelationIndex(recordIndex) == relationIndex)
        return;
    CheckBrowseMode();
    if (TcxDetailObject* d = GetRelations()->GetDetailObject(recordIndex)) {
        d->ActiveRelationIndex = relationIndex;
        Change({dccDetail});
    }
}

bool TcxCustomDataController::GetDetailHasChildren(int recordIndex, int relationIndex)
{
    if (IsDetailDataControllerExist(recordIndex, relationIndex)) {
        TcxCustomDataController* d = GetDetailDataController(recordIndex, relationIndex);
        return d && d->GetRecordCount() > 0;
    }
    // Only a data-bound controller can ask its data source; the unbound one knows no children.
    if (!IsDataBound())
        return false;
    TcxDetailObject* detail = GetRelations()->GetValueAsDetailObject(recordIndex);
    if (!detail)
        return true;
    TcxDetailInfoObject* info = detail->GetInfoObject(relationIndex);
    if (!info) {
        info = new TcxDetailInfoObject();
        detail->SetInfoObject(relationIndex, info);
    }
    if (!info->HasChildrenAssigned) {   // asked once until the answers are reset
        info->HasChildren = provider_->GetDetailHasChildren(recordIndex, relationIndex);
        info->HasChildrenAssigned = true;
    }
    return info->HasChildren;
}

void TcxCustomDataController::ResetHasChildrenFlag()
{
    if (!relations_ || !relations_->DetailObjectField())
        return;
    bool any = false;
    for (int i = 0; i < GetRecordCount(); ++i)
        if (TcxDetailObject* d = relations_->GetValueAsDetailObject(i))
            any = d->ClearHasChildrenFlag() || any;
    if (any)
        info_->RefreshView();
}

void TcxCustomDataController::ResetMasterHasChildrenFlag()
{
    // Only a data-bound controller remembers has-children answers; nothing to reset otherwise.
    if (!IsDataBound() || IsEditing())
        return;
    if (TcxCustomDataController* master = GetMasterDataController())
        master->ResetHasChildrenFlag();
}

void TcxCustomDataController::FocusDetails(int recordIndex)
{
    for (int i = 0; i < GetRelations()->GetCount(); ++i)
        if (IsDetailDataControllerExist(recordIndex, i) && GetDetailActiveRelationIndex(recordIndex) == i)
            if (TcxCustomDataController* d = GetDetailDataController(recordIndex, i))
                d->CheckFocusedRow();
}

static void WalkDetails(TcxCustomDataController* c, const std::vector<int>& path, size_t level,
                        const TcxDataControllerEachDetailProc& proc)
{
    for (int i = 0; i < c->GetRecordCount(); ++i) {
        TcxCustomDataController* d = c->IsDetailDataControllerExist(i, path[level])
                                         ? c->GetDetailDataController(i, path[level]) : c->CreatingDataController;
        if (!d)
            continue;
        if (level + 1 == path.size())
            proc(d);
        else
            WalkDetails(d, path, level + 1, proc);
    }
}

void TcxCustomDataController::ForEachDetail(TcxCustomDataRelation* relation, const TcxDataControllerEachDetailProc& proc)
{
    std::vector<int> path;
    TcxCustomDataController* root = nullptr;
    for (TcxCustomDataRelation* r = relation; r; r = root->GetMasterRelation()) {
        path.insert(path.begin(), r->GetIndex());
        root = r->GetDataController();
    }
    if (root && !path.empty())
        WalkDetails(root, path, 0, proc);
}

bool TcxCustomDataController::CheckDetailsBrowseMode()
{
    if (!relations_ || !relations_->DetailObjectField())
        return true;
    for (int i = 0; i < GetRecordCount(); ++i)
        for (int j = 0; j < relations_->GetCount(); ++j)
            if (IsDetailDataControllerExist(i, j))
                if (TcxCustomDataController* d = GetDetailDataController(i, j))
                    d->CheckBrowseMode();
    return true;
}

void TcxCustomDataController::SyncMasterPos()
{
    if (GetDetailMode() == dcdmClone)
        Change({dccSyncMasterPos});
    NotifyDataControllers();
}

void TcxCustomDataController::ShiftDetailMasterIndexes(int from, int delta)
{
    TcxCustomDataController* c = this;
    TcxCustomDataRelationList* relations = c->GetRelations();
    if (!relations->DetailObjectField())
        return;
    for (int i = std::max(from, 0); i < c->GetRecordCount(); ++i)
        for (int j = 0; j < relations->GetCount(); ++j)
            if (c->IsDetailDataControllerExist(i, j))
                if (TcxCustomDataController* d = c->GetDetailDataController(i, j))
                    d->masterRecordIndex_ += delta;
}

void TcxCustomDataController::CorrectAfterInsert(int recordIndex)
{
    // A record inserted at or before the edited one moves it: its saved copy would be restored
    // into its former neighbour, so the edit ends as it does for a delete.
    CheckEditingRecordIndex(recordIndex);
    if (relations_ && relations_->GetCount() > 0)
        ShiftDetailMasterIndexes(recordIndex + 1, 1);
}

void TcxCustomDataController::CorrectAfterDelete(int recordIndex)
{
    if (recordIndex < 0)
        return;
    CheckEditingRecordIndex(recordIndex);
    if (relations_ && relations_->GetCount() > 0)
        ShiftDetailMasterIndexes(recordIndex, -1);
}

// --- kept keys -----------------------------------------------------------------------------------
bool TcxCustomDataController::IsKeyNavigation() const
{
    // Record ids come from a provider-mode data source only.
    return IsProviderMode() && provider_->IsRecordIdSupported();
}

Variant TcxCustomDataController::GetInternalRecordId(int recordIndex, TList* keyFields)
{
    const int n = keyFields->Count();
    if (n == 0)
        return IsProviderMode() ? GetRecordId(recordIndex) : Variant(Null);
    if (n == 1)
        return GetInternalValue(recordIndex, static_cast<TcxCustomDataField*>(keyFields->Get(0)));
    Variant result = Variant::CreateArray(0, n - 1, varVariant);
    for (int i = 0; i < n; ++i)
        result[i] = GetInternalValue(recordIndex, static_cast<TcxCustomDataField*>(keyFields->Get(i)));
    return result;
}

void TcxCustomDataController::SaveKeys()
{
    if (saveObjectLockCount_ == 0) {
        BeginFullUpdate();
        saveObject_ = new TcxSaveObject();
        saveObject_->SaveState(this);
    }
    ++saveObjectLockCount_;
}

void TcxCustomDataController::RestoreKeys()
{
    if (saveObjectLockCount_ == 0)
        return;
    if (--saveObjectLockCount_ != 0)
        return;
    try {
        saveObject_->RestoreState(this);
    } catch (...) {
        FreeAndNil(saveObject_);
        EndFullUpdate();
        throw;
    }
    FreeAndNil(saveObject_);
    EndFullUpdate();
}

} // namespace cx
