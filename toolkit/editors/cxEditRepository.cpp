#include "toolkit/editors/cxEdit.h"

#include <algorithm>

namespace cx {

// ---- TcxEditRepositoryItem ------------------------------------------------------------------------

TcxEditRepositoryItem::TcxEditRepositoryItem(TComponent* owner) : TComponent(owner) {}

// The last registered first; a listener removed meanwhile is not told.
void TcxEditRepositoryItem::TellListeners(const std::function<void(IcxEditRepositoryItemListener*)>& tell)
{
    std::vector<IcxEditRepositoryItemListener*> snapshot = listeners_;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
        if (std::find(listeners_.begin(), listeners_.end(), *it) != listeners_.end())
            tell(*it);
}

// Listeners are told before anything goes; a listener may unregister itself (or another one)
// while it is told. Afterwards nobody is listening and nobody can start to.
void TcxEditRepositoryItem::NotifyItemRemoved()
{
    if (removalNotified_)
        return;
    removalNotified_ = true;
    TellListeners([this](IcxEditRepositoryItemListener* l) { l->ItemRemoved(this); });
    listeners_.clear();
}

void TcxEditRepositoryItem::BeforeDestruction()
{
    NotifyItemRemoved();
    SetRepository(nullptr);
    TComponent::BeforeDestruction();
}

TcxEditRepositoryItem::~TcxEditRepositoryItem()
{
    NotifyItemRemoved();
    SetRepository(nullptr);
    if (properties_)
        properties_->OnPropertiesChanged = {};
    FreeAndNil(properties_);
}

void TcxEditRepositoryItem::AddListener(IcxEditRepositoryItemListener* listener)
{
    if (!listener || removalNotified_)
        return;
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void TcxEditRepositoryItem::RemoveListener(IcxEditRepositoryItemListener* listener)
{
    auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it != listeners_.end())
        listeners_.erase(it);
}

void TcxEditRepositoryItem::PropertiesChanged(TObject*)
{
    TellListeners([this](IcxEditRepositoryItemListener* l) { l->PropertiesChanged(this); });
}

TcxCustomEditPropertiesClass TcxEditRepositoryItem::GetEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxCustomEditProperties>();
}

TcxCustomEditProperties* TcxEditRepositoryItem::Properties()
{
    if (!properties_) {
        properties_ = GetEditPropertiesClass().Create(this);
        properties_->OnPropertiesChanged = Event<void(TObject*)>(this, &TcxEditRepositoryItem::PropertiesChanged);
    }
    return properties_;
}

bool TcxEditRepositoryItem::ArePropertiesCompatible(const TClassMeta& propertiesClass)
{
    return Properties()->InheritsFrom(propertiesClass);
}

std::string TcxEditRepositoryItem::GetBaseName()
{
    static const std::string marker = "TcxEditRepository";
    const std::string& name = ClassName();
    std::string::size_type pos = name.find(marker);
    std::string kind = pos == std::string::npos ? std::string() : name.substr(pos + marker.size());
    return (repository_ ? repository_->Name() : std::string()) + kind;
}

void TcxEditRepositoryItem::SetRepository(TcxEditRepository* value)
{
    if (repository_ == value)
        return;
    if (repository_)
        repository_->RemoveItem(this);
    repository_ = value;
    if (repository_)
        repository_->AddItem(this);
}

TComponent* TcxEditRepositoryItem::GetParentComponent() { return repository_; }

void TcxEditRepositoryItem::SetParentComponent(TComponent* parent)
{
    if (!ComponentState().Contains(csLoading))
        SetRepository(dynamic_cast<TcxEditRepository*>(parent));
}

// ---- TcxEditRepository ------------------------------------------------------------------------------

void TcxEditRepository::BeforeDestruction()
{
    Clear();
    TComponent::BeforeDestruction();
}

TcxEditRepository::~TcxEditRepository()
{
    // Without Free the items were not freed; they stay with their owners but leave this list.
    for (TcxEditRepositoryItem* item : std::vector<TcxEditRepositoryItem*>(items_))
        item->SetRepository(nullptr);
}

void TcxEditRepository::Clear()
{
    while (!items_.empty())
        items_.back()->Free();   // the item leaves the list while it is destroyed
}

TcxEditRepositoryItem* TcxEditRepository::CreateItem(TcxEditRepositoryItemClass itemClass)
{
    return CreateItemEx(itemClass, this);
}

TcxEditRepositoryItem* TcxEditRepository::CreateItemEx(TcxEditRepositoryItemClass itemClass, TComponent* owner)
{
    TcxEditRepositoryItem* item = itemClass.Create(owner);
    item->SetRepository(this);
    return item;
}

TcxEditRepositoryItem* TcxEditRepository::ItemByName(const std::string& name) const
{
    for (TcxEditRepositoryItem* item : items_)
        if (AnsiCompareText(item->Name(), name) == 0)
            return item;
    return nullptr;
}

void TcxEditRepository::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root)
{
    for (TcxEditRepositoryItem* item : std::vector<TcxEditRepositoryItem*>(items_))
        if (item->Owner() == root)
            proc(item);
}

void TcxEditRepository::AddItem(TcxEditRepositoryItem* item)
{
    if (std::find(items_.begin(), items_.end(), item) == items_.end())
        items_.push_back(item);
}

void TcxEditRepository::RemoveItem(TcxEditRepositoryItem* item)
{
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it != items_.end())
        items_.erase(it);
}

} // namespace cx
