#pragma once
// TComponentList: a TObjectList of components that forgets a component when it is freed.
#include "platform/rtl/Classes.h"
#include "platform/rtl/Lists.h"

namespace rtl {

class TComponentList : public TObjectList {
    RTL_CLASS(TComponentList, TObjectList)
    explicit TComponentList(bool ownsObjects = true);
    ~TComponentList() override;
    TComponent* GetItem(int index) const { return dynamic_cast<TComponent*>(TObjectList::GetItem(index)); }
    int Add(TComponent* c) { return TList::Add(static_cast<TObject*>(c)); }
    int IndexOf(TComponent* c) const { return TList::IndexOf(static_cast<TObject*>(c)); }
    int Remove(TComponent* c) { return TList::Remove(static_cast<TObject*>(c)); }
    TComponent* Extract(TComponent* c) { return TList::Extract(static_cast<TObject*>(c)) ? c : nullptr; }

protected:
    void Notify(void* ptr, TListNotification action) override;

private:
    class Nexus;
    void HandleFreeNotify(TComponent* component);
    Nexus* nexus_ = nullptr;
};

} // namespace rtl
