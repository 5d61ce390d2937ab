#include "toolkit/editors/cxEditRegisteredRepositoryItems.h"

namespace cx {

TcxEditRegisteredRepositoryItems::~TcxEditRegisteredRepositoryItems()
{
    destroying_ = true;
    Clear();
}

void TcxEditRegisteredRepositoryItems::BeforeDestruction()
{
    destroying_ = true;
    Clear();
    TcxInterfacedPersistent::BeforeDestruction();
}

bool TcxEditRegisteredRepositoryItems::Find(const TcxEditRegisteredRepositoryItemsDataArray& array, NativeInt dataType,
                                            int version, bool findMaxVersion, int& index)
{
    int low = 0;
    int high = static_cast<int>(array.size()) - 1;
    index = -1;
    while (low <= high) {
        int middle = (low + high) / 2;
        const auto& e = array[static_cast<std::size_t>(middle)];
        int c = e.DataType < dataType ? -1 : e.DataType > dataType ? 1 : 0;
        if (c == 0 && !findMaxVersion)
            c = e.Version < version ? -1 : e.Version > version ? 1 : 0;
        if (c < 0)
            low = middle + 1;
        else if (c > 0)
            high = middle - 1;
        else {
            index = middle;
            break;
        }
    }
    if (index < 0)
        index = low;
    if (findMaxVersion)
        while (index + 1 < static_cast<int>(array.size()) && array[static_cast<std::size_t>(index + 1)].DataType == dataType)
            ++index;
    if (index >= static_cast<int>(array.size()))
        return false;
    const auto& e = array[static_cast<std::size_t>(index)];
    return e.DataType == dataType && (findMaxVersion || e.Version == version);
}

bool TcxEditRegisteredRepositoryItems::FindIndexForInsertion(const TcxEditRegisteredRepositoryItemsDataArray& array,
                                                             NativeInt dataType, int version, int& index)
{
    return Find(array, dataType, version, false, index);
}

int TcxEditRegisteredRepositoryItems::FindItemWithMaxVersion(const TcxEditRegisteredRepositoryItemsDataArray& array,
                                                             NativeInt dataType)
{
    int index;
    return Find(array, dataType, 0, true, index) ? index : -1;
}

int TcxEditRegisteredRepositoryItems::Add(TcxEditRegisteredRepositoryItemsDataArray& array, NativeInt dataType,
                                          int version, TcxEditRepositoryItem* item)
{
    int index;
    if (FindIndexForInsertion(array, dataType, version, index))
        return index;
    array.insert(array.begin() + index, TcxEditRegisteredRepositoryItemsData{dataType, version, item});
    if (item)
        item->AddListener(this);
    Changed();
    return index;
}

bool TcxEditRegisteredRepositoryItems::HoldsItem(TcxEditRepositoryItem* item) const
{
    for (const auto* array : {&defaultItems_, &items_})
        for (const auto& e : *array)
            if (e.RepositoryItem == item)
                return true;
    return false;
}

void TcxEditRegisteredRepositoryItems::Delete(TcxEditRegisteredRepositoryItemsDataArray& array, int index)
{
    if (index < 0 || index >= static_cast<int>(array.size()))
        return;
    TcxEditRepositoryItem* item = array[static_cast<std::size_t>(index)].RepositoryItem;
    array.erase(array.begin() + index);
    // An item registered under several entries keeps this registry listening until its last
    // entry goes, so that its destruction still clears the others.
    if (item && !HoldsItem(item))
        item->RemoveListener(this);
    Changed();
}

void TcxEditRegisteredRepositoryItems::ItemRemoved(TcxEditRepositoryItem* item)
{
    for (auto* array : {&defaultItems_, &items_})
        for (int i = static_cast<int>(array->size()) - 1; i >= 0; --i)
            if ((*array)[static_cast<std::size_t>(i)].RepositoryItem == item)
                Delete(*array, i);
}

TcxEditRepositoryItem* TcxEditRegisteredRepositoryItems::GetItem(NativeInt dataType)
{
    int index = FindItemWithMaxVersion(items_, dataType);
    return index >= 0 ? items_[static_cast<std::size_t>(index)].RepositoryItem : GetDefaultItem();
}

TcxEditRepositoryItem* TcxEditRegisteredRepositoryItems::GetDefaultItem()
{
    return defaultItems_.empty() ? nullptr : defaultItems_.front().RepositoryItem;
}

void TcxEditRegisteredRepositoryItems::RegisterDefaultItem(int version, TcxEditRepositoryItem* item)
{
    Add(defaultItems_, 0, version, item);
}

void TcxEditRegisteredRepositoryItems::RegisterItem(NativeInt dataType, int version, TcxEditRepositoryItem* item)
{
    Add(items_, dataType, version, item);
}

void TcxEditRegisteredRepositoryItems::UnregisterDefaultItem(int version)
{
    int index;
    if (Find(defaultItems_, 0, version, false, index))
        Delete(defaultItems_, index);
}

void TcxEditRegisteredRepositoryItems::UnregisterItem(NativeInt dataType, int version)
{
    int index;
    if (Find(items_, dataType, version, false, index))
        Delete(items_, index);
}

void TcxEditRegisteredRepositoryItems::Clear()
{
    while (!defaultItems_.empty())
        Delete(defaultItems_, DefaultCount() - 1);
    while (!items_.empty())
        Delete(items_, Count() - 1);
}

} // namespace cx
