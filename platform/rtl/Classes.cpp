#include "platform/rtl/Classes.h"

#include <algorithm>

namespace rtl {

// ---------------------------------------------------------------------------------------------
void TPersistent::Assign(TPersistent* source)
{
    if (source)
        source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source)
{
    std::string sourceName = source ? source->ClassName() : "nil";
    throw EConvertError(Format("Cannot assign a %s to a %s", sourceName, ClassName()));
}

std::string TPersistent::GetNamePath()
{
    std::string result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        std::string s = owner->GetNamePath();
        if (!s.empty())
            result = s + "." + result;
    }
    return result;
}

long TInterfacedPersistent::QueryInterface(const TGUID& iid, void** obj)
{
    return GetInterface(iid, obj) ? S_OK : E_NOINTERFACE;
}

int TInterfacedPersistent::_AddRef() { return -1; }
int TInterfacedPersistent::_Release() { return -1; }

// ---------------------------------------------------------------------------------------------
TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    // Normally done by Free() while the object was whole; a plain delete lands here.
    TearDown();
}

void TComponent::BeforeDestruction() { TearDown(); }

void TComponent::TearDown()
{
    if (tornDown_)
        return;
    tornDown_ = true;
    Destroying();
    while (!freeNotifies_.empty()) {
        TComponent* partner = freeNotifies_.back();
        freeNotifies_.pop_back();
        partner->RemoveNotification(this);
        partner->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::Destroying()
{
    if (state_.Contains(csDestroying))
        return;
    state_.Include(csDestroying);
    for (TComponent* c : components_)
        c->Destroying();
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* instance = components_.back();
        if (instance->state_.Contains(csFreeNotification) ||
            (state_.Contains(csDesigning) && state_.Contains(csInline)))
            RemoveComponent(instance);
        else
            Remove(instance);
        instance->Free();
    }
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    const auto [first, last] = nameIndex_.equal_range(UpperCase(name));
    if (first == last)
        return nullptr;
    if (std::next(first) == last)
        return first->second;
    // Several of the same name (set before the owner took them): the first in the list.
    for (TComponent* c : components_)
        if (SameText(c->name_, name))
            return c;
    return nullptr;
}

void TComponent::IndexName(TComponent* component)
{
    if (!component->name_.empty())
        nameIndex_.emplace(UpperCase(component->name_), component);
}

void TComponent::UnindexName(TComponent* component)
{
    if (component->name_.empty())
        return;
    auto [first, last] = nameIndex_.equal_range(UpperCase(component->name_));
    for (auto it = first; it != last; ++it)
        if (it->second == component) {
            nameIndex_.erase(it);
            return;
        }
}

namespace {
bool IsValidIdent(const std::string& s)
{
    if (s.empty())
        return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(s[0]))
        return false;
    for (char c : s)
        if (!alpha(c) && !(c >= '0' && c <= '9'))
            return false;
    return true;
}
} // namespace

void TComponent::ValidateRename(TComponent* component, const std::string& curName, const std::string& newName)
{
    if (component && !SameText(curName, newName) && component->owner_ == this && FindComponent(newName))
        throw EComponentError(Format("A component named %s already exists", newName));
}

void TComponent::SetName(const std::string& name)
{
    if (name_ == name)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Format("'%s' is not a valid component name", name));
    if (owner_)
        owner_->ValidateRename(this, name_, name);
    else
        ValidateRename(nullptr, name_, name);
    if (owner_)
        owner_->UnindexName(this);
    name_ = name;
    if (owner_)
        owner_->IndexName(this);
}

void TComponent::Insert(TComponent* component)
{
    components_.push_back(component);
    component->owner_ = this;
    IndexName(component);
}

void TComponent::Remove(TComponent* component)
{
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end()) {
        components_.erase(it);
        UnindexName(component);
    }
    component->owner_ = nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    ValidateRename(component, "", component->name_);
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    Insert(component);
    if (state_.Contains(csDesigning))
        component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component)
        RemoveFreeNotification(component);
    // The owner passes a removal on to everything it owns (whoever points at the component must
    // let go); the list may shrink meanwhile. An insertion stays with the owner: nothing owned
    // acts on it, and passing it on made owning n components cost n * n calls.
    if (operation == opInsert)
        return;
    int i = ComponentCount() - 1;
    while (i >= 0) {
        components_[i]->Notification(component, operation);
        --i;
        if (i >= ComponentCount())
            i = ComponentCount() - 1;
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component)
        return;
    if (!owner_ || component->owner_ != owner_) {
        if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
            freeNotifies_.push_back(component);
            component->FreeNotification(this);
        }
    }
    state_.Include(csFreeNotification);
}

void TComponent::RemoveNotification(TComponent* component)
{
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), component);
    if (it != freeNotifies_.end())
        freeNotifies_.erase(it);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    RemoveNotification(component);
    component->RemoveNotification(this);
}

void TComponent::SetDesigning(bool value)
{
    if (value)
        state_.Include(csDesigning);
    else
        state_.Exclude(csDesigning);
    for (TComponent* c : components_)
        c->SetDesigning(value);
}

void TComponent::SetLoading(bool value)
{
    if (value)
        state_.Include(csLoading);
    else
        state_.Exclude(csLoading);
}

void TComponent::SetAncestor(bool value)
{
    if (value)
        state_.Include(csAncestor);
    else
        state_.Exclude(csAncestor);
    for (TComponent* c : components_)
        c->SetAncestor(value);
}

// ---------------------------------------------------------------------------------------------
TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::BeforeDestruction() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* value)
{
    if (collection_ == value)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (value)
        value->InsertItem(this);
}

int TCollectionItem::Index() const { return collection_ ? collection_->items_.IndexOf(const_cast<TCollectionItem*>(this)) : -1; }

void TCollectionItem::SetIndex(int value)
{
    int cur = Index();
    if (cur >= 0 && cur != value) {
        collection_->items_.Move(cur, value);
        Changed(true);
    }
}

void TCollectionItem::Changed(bool allItems)
{
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(allItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return collection_; }

std::string TCollectionItem::GetNamePath()
{
    if (collection_)
        return Format("%s[%d]", collection_->GetNamePath(), Index());
    return ClassName();
}

// ---------------------------------------------------------------------------------------------
TCollection::TCollection(TCollectionItemClass itemClass) : itemClass_(itemClass) {}

TCollection::~TCollection()
{
    updateCount_ = 1;
    while (items_.Count() > 0)
        static_cast<TCollectionItem*>(items_.Last())->Free();
}

void TCollection::BeforeDestruction()
{
    updateCount_ = 1;
    Clear();
}

TCollectionItem* TCollection::Add()
{
    // Made without a collection and then inserted, so that the item is whole when the
    // collection's notices see it.
    TCollectionItem* item = itemClass_.Create(nullptr);
    item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = Items(index);
    Notify(item, cnDeleting);
    item->Free();
}

void TCollection::Clear()
{
    if (items_.Count() == 0)
        return;
    BeginUpdate();
    try {
        while (items_.Count() > 0)
            static_cast<TCollectionItem*>(items_.Last())->Free();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::EndUpdate()
{
    --updateCount_;
    Changed();
}

void TCollection::Changed()
{
    if (updateCount_ == 0)
        Update(nullptr);
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->id_ == id)
            return Items(i);
    return nullptr;
}

void TCollection::InsertItem(TCollectionItem* item)
{
    if (!item->InheritsFrom(*itemClass_.Meta()))
        TList::Error("Invalid property value (%d)", 0);
    items_.Add(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    SetItemName(item);
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    Notify(item, cnExtracting);
    items_.Remove(item);
    item->collection_ = nullptr;
    Changed();
}

void TCollection::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TCollection*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        for (int i = 0; i < src->Count(); ++i)
            Add()->Assign(src->Items(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TCollection::GetNamePath()
{
    if (TPersistent* owner = GetOwner()) {
        std::string s = owner->GetNamePath();
        if (!s.empty())
            return s + ".Items";
    }
    return ClassName();
}

} // namespace rtl
