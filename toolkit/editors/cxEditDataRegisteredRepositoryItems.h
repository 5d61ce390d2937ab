#pragma once
// cxEditDataRegisteredRepositoryItems: the repository items a grid uses for a value type when the
// user named no editor (the text item for every value type without an entry).
#include "toolkit/data/cxDataStorage.h"
#include "toolkit/editors/cxEditRegisteredRepositoryItems.h"

namespace cx {

// Registered items keyed by value type class.
class TcxEditDataRegisteredRepositoryItems : public TcxEditRegisteredRepositoryItems {
    RTL_CLASS(TcxEditDataRegisteredRepositoryItems, TcxEditRegisteredRepositoryItems)
    using TcxEditRegisteredRepositoryItems::TcxEditRegisteredRepositoryItems;
    using TcxEditRegisteredRepositoryItems::GetItem;
    using TcxEditRegisteredRepositoryItems::RegisterItem;
    using TcxEditRegisteredRepositoryItems::UnregisterItem;
    TcxEditRepositoryItem* GetItem(TcxValueTypeClass valueType) { return GetItem(DataTypeOf(valueType)); }
    void RegisterItem(TcxValueTypeClass valueType, int version, TcxEditRepositoryItem* item)
    {
        RegisterItem(DataTypeOf(valueType), version, item);
    }
    void UnregisterItem(TcxValueTypeClass valueType, int version) { UnregisterItem(DataTypeOf(valueType), version); }

private:
    static NativeInt DataTypeOf(TcxValueTypeClass valueType) { return reinterpret_cast<NativeInt>(valueType); }
};

// Created on first use; freed at the unit's shut-down.
TcxEditDataRegisteredRepositoryItems* GetDefaultEditDataRepositoryItems();

namespace cxEditDataRegisteredRepositoryItemsUnit {
// Once: creates the default items in the default editor repository and registers them.
void Initialize();
// Once: unregisters them (the default repository keeps the items) and frees the registry.
void Finalize();
} // namespace cxEditDataRegisteredRepositoryItemsUnit

} // namespace cx
