#pragma once
// cxEditRegisteredRepositoryItems: repository items registered by data type and version, kept
// sorted (data type, then version) and searched by halving; the highest version of a data type
// answers for it, and a default entry answers for every data type without one.
#include <vector>

#include "toolkit/editors/cxEdit.h"

namespace cx {

struct TcxEditRegisteredRepositoryItemsData {
    NativeInt DataType = 0;
    int Version = 0;
    TcxEditRepositoryItem* RepositoryItem = nullptr;
};
using TcxEditRegisteredRepositoryItemsDataArray = std::vector<TcxEditRegisteredRepositoryItemsData>;

class TcxEditRegisteredRepositoryItems : public TcxInterfacedPersistent, public IcxEditRepositoryItemListener {
    RTL_CLASS(TcxEditRegisteredRepositoryItems, TcxInterfacedPersistent)
    explicit TcxEditRegisteredRepositoryItems(TPersistent* owner) : TcxInterfacedPersistent(owner) {}
    ~TcxEditRegisteredRepositoryItems() override;
    void BeforeDestruction() override;

    // An item's removal deletes every entry, default or not, that holds it.
    void ItemRemoved(TcxEditRepositoryItem* item) override;
    void PropertiesChanged(TcxEditRepositoryItem* item) override { Changed(); }

    // The item of the highest version registered for the data type; else the default item.
    virtual TcxEditRepositoryItem* GetItem(NativeInt dataType);
    // The default entry of the lowest version; null when there is none.
    virtual TcxEditRepositoryItem* GetDefaultItem();
    virtual void RegisterDefaultItem(int version, TcxEditRepositoryItem* item);
    virtual void RegisterItem(NativeInt dataType, int version, TcxEditRepositoryItem* item);
    virtual void UnregisterDefaultItem(int version);
    virtual void UnregisterItem(NativeInt dataType, int version);

    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    int DefaultCount() const { return static_cast<int>(defaultItems_.size()); }
    const TcxEditRegisteredRepositoryItemsDataArray& Items() const { return items_; }
    const TcxEditRegisteredRepositoryItemsDataArray& DefaultItems() const { return defaultItems_; }

    // Binary search; index is the hit or the insertion point. With findMaxVersion the versions
    // are not compared and the index ends on the highest version of the data type.
    static bool Find(const TcxEditRegisteredRepositoryItemsDataArray& array, NativeInt dataType, int version,
                     bool findMaxVersion, int& index);
    static bool FindIndexForInsertion(const TcxEditRegisteredRepositoryItemsDataArray& array, NativeInt dataType,
                                      int version, int& index);
    static int FindItemWithMaxVersion(const TcxEditRegisteredRepositoryItemsDataArray& array, NativeInt dataType);

protected:
    // An existing entry of that data type and version wins: its index is answered, nothing changes.
    virtual int Add(TcxEditRegisteredRepositoryItemsDataArray& array, NativeInt dataType, int version,
                    TcxEditRepositoryItem* item);
    void Delete(TcxEditRegisteredRepositoryItemsDataArray& array, int index);
    // A hook for descendants: an entry was added or deleted, or an item's properties changed.
    virtual void Changed() {}
    bool Destroying() const { return destroying_; }

private:
    bool HoldsItem(TcxEditRepositoryItem* item) const;
    bool destroying_ = false;
    TcxEditRegisteredRepositoryItemsDataArray defaultItems_;
    TcxEditRegisteredRepositoryItemsDataArray items_;
};

} // namespace cx
