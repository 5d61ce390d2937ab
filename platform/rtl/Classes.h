#pragma once
// Persistent objects, components (owner, name, state, free notification) and collections.
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Lists.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/SysUtils.h"

namespace rtl {

class TFiler;

class TPersistent : public TObject {
    RTL_CLASS(TPersistent, TObject)
    // Copies Source into this object: Source->AssignTo(this) unless overridden; raises
    // EConvertError "Cannot assign a X to a Y" when neither side knows the other.
    virtual void Assign(TPersistent* source);
    virtual TPersistent* GetOwner() { return nullptr; }
    virtual std::string GetNamePath();

protected:
    friend class TReader;
    friend class TWriter;
    virtual void AssignTo(TPersistent* dest);
    [[noreturn]] void AssignError(TPersistent* source);
    // Names what the object stores beyond its published properties (TFiler::DefineProperty).
    virtual void DefineProperties(TFiler* filer) {}
};

// A persistent object with interfaces; its reference counting defers to the owner's and never
// frees the object (lifetime is by owner).
class TInterfacedPersistent : public TPersistent, public IUnknown {
    RTL_CLASS(TInterfacedPersistent, TPersistent)
    long QueryInterface(const TGUID& iid, void** obj) override;
    int _AddRef() override;
    int _Release() override;

protected:
    // Answers GUID-based queries; descendants that publish interfaces by GUID override it.
    virtual bool GetInterface(const TGUID& iid, void** obj) { return false; }
};

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups,
    csFreeNotification, csInline, csDesignInstance
};
using TComponentState = Set<TComponentStateFlag>;

class TComponent : public TPersistent {
    RTL_CLASS(TComponent, TPersistent)
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    // The designed order: set destroying, notify the free-notification partners, free the owned
    // components (last first), leave the owner.
    void BeforeDestruction() override;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name);
    NativeInt Tag = 0;
    TComponentState ComponentState() const { return state_; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& name) const;   // case-insensitive, null if none
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();
    void Destroying();

    // Asks to be told (Notification opRemove) when the component dies; symmetric.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    virtual void Loaded() { state_.Exclude(csLoading); }
    virtual TComponent* GetParentComponent() { return nullptr; }
    virtual bool HasParent() { return false; }
    virtual void SetParentComponent(TComponent* parent) {}
    TPersistent* GetOwner() override { return owner_; }
    std::string GetNamePath() override { return name_; }

    // State changes for loaders and designers.
    void SetDesigning(bool value);
    void SetLoading(bool value);
    void SetAncestor(bool value);

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    void ValidateRename(TComponent* component, const std::string& curName, const std::string& newName);
    TComponentState state_;

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void RemoveNotification(TComponent* component);
    void TearDown();

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    // The owned components by their upper-cased names, so a look-up by name (every rename and
    // insertion checks one) costs the same however many components the owner holds.
    std::unordered_multimap<std::string, TComponent*> nameIndex_;
    void IndexName(TComponent* component);
    void UnindexName(TComponent* component);
    std::vector<TComponent*> freeNotifies_;
    bool tornDown_ = false;
};

using TComponentClass = TClassRef<TComponent, TComponent*>;

// ---------------------------------------------------------------------------------------------
class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
    RTL_CLASS(TCollectionItem, TPersistent)
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    void BeforeDestruction() override;

    TCollection* Collection() const { return collection_; }
    virtual void SetCollection(TCollection* value);
    int ID() const { return id_; }
    int Index() const;
    virtual void SetIndex(int value);
    virtual std::string GetDisplayName() { return ClassName(); }
    TPersistent* GetOwner() override;
    std::string GetNamePath() override;

protected:
    virtual void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

using TCollectionItemClass = TClassRef<TCollectionItem, TCollection*>;

class TCollection : public TPersistent {
    RTL_CLASS(TCollection, TPersistent)
    explicit TCollection(TCollectionItemClass itemClass);
    ~TCollection() override;
    void BeforeDestruction() override;

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    virtual void BeginUpdate() { ++updateCount_; }
    virtual void EndUpdate();
    TCollectionItem* FindItemID(int id) const;
    int Count() const { return items_.Count(); }
    TCollectionItem* Items(int index) const { return static_cast<TCollectionItem*>(items_.Get(index)); }
    void SetItem(int index, TCollectionItem* value) { Items(index)->Assign(value); }
    TCollectionItemClass ItemClass() const { return itemClass_; }
    int UpdateCount() const { return updateCount_; }
    void Assign(TPersistent* source) override;
    std::string GetNamePath() override;

protected:
    friend class TCollectionItem;
    virtual void InsertItem(TCollectionItem* item);
    virtual void RemoveItem(TCollectionItem* item);
    virtual void Notify(TCollectionItem* item, TCollectionNotification action) {}
    virtual void SetItemName(TCollectionItem* item) {}
    virtual void Update(TCollectionItem* item) {}
    void Changed();
    TList& ItemList() { return items_; }
    void SetUpdateCount(int value) { updateCount_ = value; }

private:
    TCollectionItemClass itemClass_;
    TList items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

class TOwnedCollection : public TCollection {
    RTL_CLASS(TOwnedCollection, TCollection)
    TOwnedCollection(TPersistent* owner, TCollectionItemClass itemClass)
        : TCollection(itemClass), owner_(owner) {}
    TPersistent* GetOwner() override { return owner_; }

private:
    TPersistent* owner_;
};

} // namespace rtl
