#include "platform/rtl/Contnrs.h"

namespace rtl {

// Receives the free notices of the listed components on the list's behalf.
class TComponentList::Nexus : public TComponent {
public:
    explicit Nexus(TComponentList* list) : TComponent(nullptr), list_(list) {}

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == opRemove && list_)
            list_->HandleFreeNotify(component);
        TComponent::Notification(component, operation);
    }

private:
    friend class TComponentList;
    TComponentList* list_;
};

TComponentList::TComponentList(bool ownsObjects) : TObjectList(ownsObjects) {}

TComponentList::~TComponentList()
{
    Clear();
    if (nexus_) {
        nexus_->list_ = nullptr;
        FreeAndNil(nexus_);
    }
}

void TComponentList::HandleFreeNotify(TComponent* component)
{
    // The component is dying: drop it without freeing it again.
    while (TList::Extract(static_cast<TObject*>(component))) {
    }
}

void TComponentList::Notify(void* ptr, TListNotification action)
{
    auto* component = dynamic_cast<TComponent*>(static_cast<TObject*>(ptr));
    if (component) {
        if (!nexus_)
            nexus_ = new Nexus(this);
        if (action == lnAdded)
            nexus_->FreeNotification(component);
        else if (TList::IndexOf(ptr) < 0)
            nexus_->RemoveFreeNotification(component);
    }
    TObjectList::Notify(ptr, action);
}

} // namespace rtl
