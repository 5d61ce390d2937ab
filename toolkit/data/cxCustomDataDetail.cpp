// The data controller's master-detail tree (relations, detail objects, link objects, expanding)
// and the kept keys that carry expanded details and the selection through a reload.
#include "toolkit/data/cxCustomData.h"
#include "toolkit/data/cxCustomDataKeys.h"

namespace cx {

// --- detail objects ------------------------------------------------------------------------------
void TcxDetailObject::Clear()
{
    for (TcxDetailInfoObject*& info : infos_)
        FreeAndNil(info);
    infos_.clear();
}

bool TcxDetailObject::ClearHasChildrenFlag()
{
    bool any = false;
    for (TcxDetailInfoObject* info : infos_)
        if (info && info->HasChildrenAssigned) {
            info->HasChildrenAssigned = false;
            any = true;
        }
    return any;
}

void TcxDetailObject::ClearInfoObject(int index)
{
    if (index >= 0 && index < GetInfoObjectCount())
        FreeAndNil(infos_[index]);
}

void TcxDetailObject::CorrectCount(TcxCustomDataRelationList* relations)
{
    const int count = relations->GetCount();
    if (GetInfoObjectCount() < count)
        infos_.resize(count, nullptr);
    if (count == 0) {
        ActiveRelationIndex = -1;
        return;
    }
    ActiveRelationIndex = std::clamp(ActiveRelationIndex, 0, count - 1);
    if (!relations->GetItem(ActiveRelationIndex)->DetailDataController)
        for (int i = 0; i < count; ++i)
            if (relations->GetItem(i)->DetailDataController) {
                ActiveRelationIndex = i;
                break;
            }
}

TcxDetailInfoObject* TcxDetailObject::GetInfoObject(int index) const
{
    return index >= 0 && index < GetInfoObjectCount() ? infos_[index] : nullptr;
}

bool TcxDetailObject::GetIsEmpty() const
{
    for (TcxDetailInfoObject* info : infos_)
        if (info && info->LinkObject)
            return false;
    return true;
}

TObject* TcxDetailObject::GetLinkObject(int index) const
{
    TcxDetailInfoObject* info = GetInfoObject(index);
    return info ? info->LinkObject : nullptr;
}

void TcxDetailObject::SetInfoObject(int index, TcxDetailInfoObject* info)
{
    if (GetInfoObjectCount() < index + 1)
        infos_.resize(index + 1, nullptr);
    if (infos_[index] != info)
        FreeObject(infos_[index]);
    infos_[index] = info;
}

void TcxDetailObject::SetLinkObject(int index, TObject* object)
{
    if (GetInfoObjectCount() < index + 1)
        infos_.resize(index + 1, nullptr);
    if (!infos_[index])
        infos_[index] = new TcxDetailInfoObject();
    infos_[index]->LinkObject = object;
}

// --- relations -----------------------------------------------------------------------------------
TcxCustomDataRelation::TcxCustomDataRelation(TcxCustomDataRelationList* relationList, TObject* item) : item_(item)
{
    relationList->AddItem(this);
}

TcxCustomDataRelation::~TcxCustomDataRelation()
{
    if (DetailDataController) {
        TcxCustomDataController* detail = DetailDataController;
        detail->SetMasterMode(nullptr, detail->GetIsPattern());
    }
    if (relationList_)
        relationList_->RemoveItem(this);
}

void TcxCustomDataRelation::Changed()
{
    if (relationList_)
        relationList_->Changed(this);
}

TcxCustomDataController* TcxCustomDataRelation::GetDataController() const
{
    return relationList_ ? relationList_->DataController() : nullptr;
}

int TcxCustomDataRelation::GetIndex() const
{
    if (!relationList_)
        return -1;
    const auto& items = relationList_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

TcxCustomDataRelationList::~TcxCustomDataRelationList()
{
    ++lockCount_;   // the controller is going: no updates while the relations leave
    while (!items_.empty())
        items_.back()->Free();
}

TcxCustomDataRelation* TcxCustomDataRelationList::Add(TObject* item)
{
    return controller_->GetRelationClass().Create(this, item);
}

void TcxCustomDataRelationList::Assign(TcxCustomDataRelationList* source)
{
    BeginUpdate();
    try {
        Clear();
        for (TcxCustomDataRelation* r : source->items_)
            Add(r->Item())->Assign(r);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataRelationList::EndUpdate()
{
    --lockCount_;
    Changed(nullptr);
}

void TcxCustomDataRelationList::Clear()
{
    BeginUpdate();
    while (!items_.empty())
        items_.back()->Free();
    EndUpdate();
}

bool TcxCustomDataRelationList::ClearDetailObject(int recordIndex, int relationIndex)
{
    controller_->CheckRecordRange(recordIndex);
    if (!detailObjectField_)
        return false;
    TcxDetailObject* d = GetValueAsDetailObject(recordIndex);
    if (!d)
        return false;
    if (relationIndex == -1)
        for (int i = 0; i < d->GetInfoObjectCount(); ++i)
            d->ClearInfoObject(i);
    else
        d->ClearInfoObject(relationIndex);
    return true;
}

TcxCustomDataRelation* TcxCustomDataRelationList::FindByItem(TObject* item) const
{
    for (TcxCustomDataRelation* r : items_)
        if (r->Item() == item)
            return r;
    return nullptr;
}

TcxDetailObject* TcxCustomDataRelationList::GetDetailObject(int recordIndex)
{
    controller_->CheckRecordRange(recordIndex);
    if (!detailObjectField_)
        return nullptr;
    TcxDetailObject* d = GetValueAsDetailObject(recordIndex);
    if (!IsEmpty()) {
        if (!d) {
            d = new TcxDetailObject();
            d->ActiveRelationIndex = controller_->GetDefaultActiveRelationIndex();
            controller_->SetStoredValue(recordIndex, detailObjectField_,
                                        Variant(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(d))));
        }
        d->CorrectCount(this);
        return d;
    }
    if (d) {
        for (int i = 0; i < d->GetLinkObjectCount(); ++i)
            if (TObject* link = d->GetLinkObject(i))
                if (TcxCustomDataController* detail = controller_->GetDetailDataControllerByLinkObject(link))
                    detail->SetMasterRelation(nullptr, -1);
        // Storing 0 frees the held object (the object value type owns what it holds).
        controller_->SetStoredValue(recordIndex, detailObjectField_, Variant(0));
    }
    return nullptr;
}

bool TcxCustomDataRelationList::IsDetailObjectExist(int recordIndex, int relationIndex)
{
    if (!detailObjectField_ || recordIndex < 0 || recordIndex >= controller_->GetRecordCount())
        return false;
    TcxDetailObject* d = GetValueAsDetailObject(recordIndex);
    if (!d)
        return false;
    return relationIndex == -1 ? !d->GetIsEmpty() : d->GetLinkObject(relationIndex) != nullptr;
}

bool TcxCustomDataRelationList::IsEmpty() const
{
    TcxCustomDataController* pattern = controller_->GetPatternDataController();
    if (!pattern)
        return true;
    const TcxCustomDataRelationList* list = pattern == controller_ ? this : pattern->GetRelations();
    for (TcxCustomDataRelation* r : list->items_)
        if (r->DetailDataController)
            return false;
    return true;
}

void TcxCustomDataRelationList::Move(int from, int to)
{
    if (from == to)
        return;
    TcxCustomDataRelation* r = items_.at(from);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, r);
    Changed(nullptr);
}

void TcxCustomDataRelationList::RemoveByItem(TObject* item)
{
    if (TcxCustomDataRelation* r = FindByItem(item))
        r->Free();
}

void TcxCustomDataRelationList::Changed(TcxCustomDataRelation* relation)
{
    if (lockCount_ == 0)
        Update(relation);
}

TcxDetailObject* TcxCustomDataRelationList::GetValueAsDetailObject(int recordIndex)
{
    Variant v = controller_->GetInternalValue(recordIndex, detailObjectField_);
    if (v.IsNull() || v.IsEmpty())
        return nullptr;
    return reinterpret_cast<TcxDetailObject*>(static_cast<std::intptr_t>(v.ToInt64()));
}

void TcxCustomDataRelationList::RemoveDataField(TcxCustomDataField* field)
{
    if (detailObjectField_ == field)
        detailObjectField_ = nullptr;
    for (TcxCustomDataRelation* r : items_)
        r->RemoveDataField(field);
}

void TcxCustomDataRelationList::Update(TcxCustomDataRelation* relation)
{
    controller_->BeginUpdate();
    try {
        if (items_.empty()) {
            if (detailObjectField_) {
                TcxCustomDataField* f = detailObjectField_;
                detailObjectField_ = nullptr;
                f->Free();
            }
        } else if (detailObjectField_) {
            controller_->ClearDetails();
        } else {
            detailObjectField_ = controller_->AddInternalField();
            detailObjectField_->SetValueTypeClass(TcxObjectValueType::Class());
        }
        controller_->UpdateRelations(relation);
    } catch (...) {
        controller_->EndUpdate();
        throw;
    }
    controller_->EndUpdate();
}

void TcxCustomDataRelationList::AddItem(TcxCustomDataRelation* relation)
{
    items_.push_back(relation);
    relation->relationList_ = this;
    Changed(relation);
}

void TcxCustomDataRelationList::RemoveItem(TcxCustomDataRelation* relation)
{
    controller_->ClearDetailsMasterRelation(relation);
    items_.erase(std::remove(items_.begin(), items_.end(), relation), items_.end());
    relation->relationList_ = nullptr;
    Changed(relation);
}

} // namespace cx
