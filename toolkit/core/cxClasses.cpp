#include "toolkit/core/cxClasses.h"

#include <algorithm>

namespace cx {

// --- interface bases -----------------------------------------------------------------------------
long TcxIUnknownObject::QueryInterface(const TGUID& iid, void** obj)
{
    return GetInterface(iid, obj) ? S_OK : E_NOINTERFACE;
}

long TcxOwnedInterfacedPersistent::QueryInterface(const TGUID& iid, void** obj)
{
    return GetInterface(iid, obj) ? S_OK : E_NOINTERFACE;
}

long TcxInterfacedCollectionItem::QueryInterface(const TGUID& iid, void** obj)
{
    return GetInterface(iid, obj) ? S_OK : E_NOINTERFACE;
}

IUnknown* TcxInterfacedCollectionItem::OwnerInterface() { return dynamic_cast<IUnknown*>(GetOwner()); }

int TcxInterfacedCollectionItem::_AddRef()
{
    IUnknown* owner = OwnerInterface();
    return owner ? owner->_AddRef() : -1;
}

int TcxInterfacedCollectionItem::_Release()
{
    IUnknown* owner = OwnerInterface();
    return owner ? owner->_Release() : -1;
}

// --- components ---------------------------------------------------------------------------------------
TcxComponent::~TcxComponent() { cxClearObjectLinks(this); }

void TcxComponent::BeforeDestruction()
{
    if (!GetIsDestroying())
        Destroying();
    // Links read empty from here on, also while the owned components are freed.
    cxClearObjectLinks(this);
    TComponent::BeforeDestruction();
}

void TcxComponent::Loaded()
{
    TComponent::Loaded();
    UpdateFakeLinks();
}

void TcxComponent::SetFakeComponentLink(int index, TComponent* component)
{
    switch (index) {
    case 0: FakeComponentLink1 = component; break;
    case 1: FakeComponentLink2 = component; break;
    case 2: FakeComponentLink3 = component; break;
    default: break;
    }
}

void TcxComponent::UpdateFakeLinks()
{
    if (!GetIsDesigning() || GetIsDestroying() || !Owner())
        return;
    TList list;
    GetFakeComponentLinks(&list);
    for (int i = 0; i < GetFakeComponentLinkCount(); ++i)
        SetFakeComponentLink(i, i < list.Count() ? static_cast<TComponent*>(static_cast<TObject*>(list.Get(i))) : nullptr);
}

// --- object links ----------------------------------------------------------------------------------------
namespace {
struct LinkController {
    std::vector<TcxObjectLink*> links;
    int useCount = 0;
};
LinkController* controller = nullptr;
} // namespace

TcxObjectLink* cxAddObjectLink(TObject* object)
{
    if (!object)
        return nullptr;
    if (!controller)
        controller = new LinkController();
    ++controller->useCount;
    auto* link = new TcxObjectLink();
    link->Target = object;
    controller->links.push_back(link);
    return link;
}

void cxRemoveObjectLink(TcxObjectLink* link)
{
    if (!link)
        return;
    if (controller && link->Target) {
        auto& v = controller->links;
        v.erase(std::remove(v.begin(), v.end(), link), v.end());
    }
    link->Free();
    if (controller && --controller->useCount == 0) {
        delete controller;
        controller = nullptr;
    }
}

void cxClearObjectLinks(TObject* object)
{
    if (!controller)
        return;
    auto& v = controller->links;
    for (int i = static_cast<int>(v.size()) - 1; i >= 0; --i)
        if (v[i]->Target == object) {
            v[i]->Target = nullptr;
            v.erase(v.begin() + i);
        }
}

int cxObjectLinkCount() { return controller ? controller->useCount : 0; }

// --- collections -------------------------------------------------------------------------------------------
void TcxCollection::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TCollection*>(source);
    if (!src) {
        TCollection::Assign(source);
        return;
    }
    if (Count() == 0 && src->Count() == 0)
        return;
    BeginUpdate();
    try {
        for (int i = 0; i < src->Count(); ++i) {
            TCollectionItem* item = i < Count() ? Items(i) : Add();
            item->Assign(src->Items(i));
        }
        for (int i = Count() - 1; i >= src->Count(); --i)
            Delete(i);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TcxOwnedInterfacedCollection::~TcxOwnedInterfacedCollection() { state_.Include(cisDestroying); }

void TcxOwnedInterfacedCollection::BeforeDestruction()
{
    state_.Include(cisDestroying);
    TOwnedCollection::BeforeDestruction();
}

long TcxOwnedInterfacedCollection::QueryInterface(const TGUID& iid, void** obj)
{
    return GetInterface(iid, obj) ? S_OK : E_NOINTERFACE;
}

void TcxOwnedInterfacedCollection::Update(TCollectionItem* item)
{
    // A change raised from inside the change handler is not reported again.
    if (state_.Contains(cisUpdating))
        return;
    state_.Include(cisUpdating);
    try {
        if (sorted_ && !item)
            Sort();
        TOwnedCollection::Update(item);
        if (OnItemsChanged.Assigned() && !GetIsDestroying())
            OnItemsChanged(this, item);
    } catch (...) {
        state_.Exclude(cisUpdating);
        throw;
    }
    state_.Exclude(cisUpdating);
}

void TcxOwnedInterfacedCollection::Sort()
{
    if (UpdateCount() > 0 || state_.Contains(cisSorting))
        return;
    state_.Include(cisSorting);
    TcxStringList list;
    try {
        for (int i = 0; i < Count(); ++i)
            list.AddObject(std::to_string(i), Items(i));
        list.OnCompare = Event<int(TStringList*, int, int)>(this, &TcxOwnedInterfacedCollection::CompareItems);
        list.Sort();
        BeginUpdate();
        try {
            for (int i = 0; i < list.Count(); ++i)
                static_cast<TCollectionItem*>(list.GetObject(i))->SetIndex(i);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    } catch (...) {
        state_.Exclude(cisSorting);
        throw;
    }
    state_.Exclude(cisSorting);
}

int TcxOwnedInterfacedCollection::CompareItems(TStringList* list, int index1, int index2)
{
    auto* item1 = static_cast<TCollectionItem*>(list->GetObject(index1));
    auto* item2 = static_cast<TCollectionItem*>(list->GetObject(index2));
    if (OnCompareItems.Assigned())
        return OnCompareItems(this, item1, item2);
    return DoCompareItems(item1, item2);
}

int TcxOwnedInterfacedCollection::DoCompareItems(TCollectionItem* item1, TCollectionItem* item2)
{
    int d = item1->Index() - item2->Index();
    return (d > 0) - (d < 0);
}

void TcxOwnedInterfacedCollection::SetSorted(bool value)
{
    if (sorted_ == value)
        return;
    sorted_ = value;
    if (value)
        Sort();
}

// --- lists --------------------------------------------------------------------------------------------------
void TcxStringList::Sort()
{
    if (OnCompare.Assigned())
        CustomSort([this](TStringList* list, int a, int b) { return OnCompare(list, a, b); });
    else
        TStringList::Sort();
}

void TcxObjectList::Clear()
{
    if (ownsObjects_)
        for (int i = 0; i < Count(); ++i)
            FreeObject(GetItem(i));
    TList::Clear();
}

void TcxOpenList::SetItem(int index, TObject* obj)
{
    if (index >= Count())
        SetCount(index + 1);
    Put(index, obj);
}

TcxComponentList::~TcxComponentList()
{
    updateCount_ = 1;
    Clear();
}

void TcxComponentList::BeforeDestruction()
{
    updateCount_ = 1;   // destruction reports nothing
    Clear();
}

void TcxComponentList::Clear()
{
    if (Count() > 0) {
        BeginUpdate();
        try {
            while (Count() > 0)
                Delete(0);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
    }
    TComponentList::Clear();
}

void TcxComponentList::EndUpdate()
{
    --updateCount_;
    Update(nullptr, ccnChanged);
}

void TcxComponentList::Notify(void* ptr, TListNotification action)
{
    auto* obj = static_cast<TObject*>(ptr);
    if (obj->InheritsFrom(GetItemClass()))
        DoNotify(static_cast<TComponent*>(obj), action);
    else if (action == lnAdded)
        TList::Extract(ptr);   // not of the item class: out again at once, unreported
}

void TcxComponentList::DoNotify(TComponent* item, TListNotification action)
{
    TComponentList::Notify(static_cast<TObject*>(item), action);
    if (OnItemNotify.Assigned())
        OnItemNotify(this, item, action);
    static const TcxComponentCollectionNotification map[] = {ccnAdded, ccnExtracted, ccnDeleting};
    Update(item, map[action]);
}

void TcxComponentList::Update(TComponent* component, TcxComponentCollectionNotification action)
{
    if (updateCount_ == 0 && OnListChanged.Assigned())
        OnListChanged(this, component, action);
}

// --- component collections -------------------------------------------------------------------------------
TcxComponentCollectionItem::~TcxComponentCollectionItem() { SetCollection(nullptr); }

void TcxComponentCollectionItem::BeforeDestruction()
{
    if (!ComponentState().Contains(csDestroying))
        Destroying();
    SetCollection(nullptr);
    TComponent::BeforeDestruction();
}

int TcxComponentCollectionItem::GetIndex() const
{
    if (!collection_)
        return -1;
    auto& v = collection_->items_;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

void TcxComponentCollectionItem::SetIndex(int value)
{
    if (collection_ && GetIndex() != value) {
        collection_->MoveItem(this, value);
        Changed(true);
    }
}

void TcxComponentCollectionItem::SetCollection(TcxComponentCollection* value)
{
    if (collection_ == value)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (value)
        value->InsertItem(this);
}

void TcxComponentCollectionItem::SetParentComponent(TComponent* parent) { SetCollection(GetCollectionFromParent(parent)); }

TComponent* TcxComponentCollectionItem::GetParentComponent()
{
    return collection_ ? collection_->ParentComponent() : TComponent::GetParentComponent();
}

void TcxComponentCollectionItem::Changed(bool allItems)
{
    if (!ComponentState().Contains(csDestroying) && collection_)
        collection_->Changed(allItems ? nullptr : this, ccnChanged);
}

TcxComponentCollection::TcxComponentCollection(TComponent* parentComponent, TcxComponentCollectionItemClass itemClass)
    : itemClass_(itemClass), parent_(parentComponent)
{
}

TcxComponentCollection::~TcxComponentCollection()
{
    updateCount_ = 1;
    Clear();
}

void TcxComponentCollection::BeforeDestruction()
{
    updateCount_ = 1;
    Clear();
}

TcxComponentCollectionItem* TcxComponentCollection::Add()
{
    TcxComponentCollectionItem* item = itemClass_.Create(parent_ ? parent_->Owner() : nullptr);
    item->SetParentComponent(parent_);
    SetItemName(item);
    return item;
}

TcxComponentCollectionItem* TcxComponentCollection::Insert(int index)
{
    TcxComponentCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TcxComponentCollection::InsertItem(TcxComponentCollectionItem* item)
{
    if (!item->InheritsFrom(*itemClass_.Meta()))
        return;
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Notify(item, ccnAdded);
    Changed(item, ccnAdded);
}

void TcxComponentCollection::RemoveItem(TcxComponentCollectionItem* item)
{
    Notify(item, ccnExtracting);
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->collection_ = nullptr;
    Notify(item, ccnExtracted);
    Changed(item, ccnExtracted);
}

void TcxComponentCollection::MoveItem(TcxComponentCollectionItem* item, int index)
{
    int cur = item->GetIndex();
    if (cur < 0 || index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + cur);
    items_.insert(items_.begin() + index, item);
}

void TcxComponentCollection::Delete(int index)
{
    TcxComponentCollectionItem* item = Items(index);
    Notify(item, ccnDeleting);
    item->Free();   // its destructor path takes it out of the collection
}

void TcxComponentCollection::Remove(TcxComponentCollectionItem* item)
{
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it != items_.end())
        Delete(static_cast<int>(it - items_.begin()));
}

void TcxComponentCollection::Clear()
{
    if (items_.empty())
        return;
    BeginUpdate();
    try {
        while (!items_.empty())
            items_.back()->Free();
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

void TcxComponentCollection::EndUpdate(bool forceUpdate)
{
    --updateCount_;
    if (forceUpdate)
        Changed(nullptr, ccnChanged);
}

void TcxComponentCollection::Changed(TcxComponentCollectionItem* item, TcxComponentCollectionNotification action)
{
    if (updateCount_ == 0)
        Update(item, action);
}

void TcxComponentCollection::Update(TcxComponentCollectionItem* item, TcxComponentCollectionNotification action)
{
    if (OnChange.Assigned())
        OnChange(this, item, action);
}

void TcxComponentCollection::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxComponentCollection*>(source);
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
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

TcxComponentCollectionItem* TcxComponentCollection::FindItemByID(int id) const
{
    for (auto* item : items_)
        if (item->id_ == id)
            return item;
    return nullptr;
}

// --- free notificator ------------------------------------------------------------------------------------
void TcxFreeNotificator::AddSender(TComponent* component)
{
    if (component)
        component->FreeNotification(this);
}

void TcxFreeNotificator::RemoveSender(TComponent* component)
{
    if (component)
        component->RemoveFreeNotification(this);
}

void TcxFreeNotificator::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && OnSenderFreed.Assigned())
        OnSenderFreed(component);
}

// --- hashed string list ---------------------------------------------------------------------------------
void TcxHashedStringList::Changed()
{
    hashesValid_ = false;
    TStringList::Changed();
}

void TcxHashedStringList::Changing()
{
    hashesValid_ = false;
    TStringList::Changing();
}

int TcxHashedStringList::IndexOf(const std::string& s) const
{
    if (!hashesValid_) {
        hashes_.clear();
        for (int i = 0; i < Count(); ++i)
            hashes_.push_back(dxElfHash(Get(i), 0));
        hashesValid_ = true;
    }
    Cardinal h = dxElfHash(s, 0);
    for (int i = 0; i < Count(); ++i)
        if (hashes_[i] == h) {
            std::string item = Get(i);
            if (item.size() == s.size() && AnsiSameText(item, s))
                return i;
        }
    return -1;
}

} // namespace cx
