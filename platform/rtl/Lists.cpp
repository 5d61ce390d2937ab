#include "platform/rtl/Lists.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"

namespace rtl {

TList::~TList()
{
    // Notifications here reach only TList itself; descendants clear in their own destructors.
    items_.clear();
}

void TList::Error(const char* message, std::intptr_t data) { throw EListError(Format(message, data)); }

int TList::Add(void* item)
{
    items_.push_back(item);
    if (item)
        Notify(item, lnAdded);
    return Count() - 1;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count())
        Error("List index out of bounds (%d)", index);
    items_.insert(items_.begin() + index, item);
    if (item)
        Notify(item, lnAdded);
}

void TList::Delete(int index)
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
    void* item = items_[index];
    items_.erase(items_.begin() + index);
    if (item)
        Notify(item, lnDeleted);
}

int TList::Remove(void* item)
{
    int i = IndexOf(item);
    if (i >= 0)
        Delete(i);
    return i;
}

void* TList::Extract(void* item)
{
    int i = IndexOf(item);
    if (i < 0)
        return nullptr;
    items_.erase(items_.begin() + i);
    Notify(item, lnExtracted);
    return item;
}

int TList::IndexOf(void* item) const
{
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int a, int b)
{
    if (a < 0 || a >= Count())
        Error("List index out of bounds (%d)", a);
    if (b < 0 || b >= Count())
        Error("List index out of bounds (%d)", b);
    std::swap(items_[a], items_[b]);
}

void TList::Move(int cur, int to)
{
    if (cur == to)
        return;
    if (to < 0 || to >= Count())
        Error("List index out of bounds (%d)", to);
    void* item = Get(cur);
    items_.erase(items_.begin() + cur);
    items_.insert(items_.begin() + to, item);
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::Sort(const TListSortCompare& compare)
{
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::Clear()
{
    while (!items_.empty())
        Delete(Count() - 1);
    items_.shrink_to_fit();
}

void TList::SetCount(int count)
{
    if (count < 0)
        Error("List count out of bounds (%d)", count);
    while (Count() > count)
        Delete(Count() - 1);
    items_.resize(count, nullptr);
}

void TList::SetCapacity(int capacity)
{
    if (capacity < Count())
        Error("List capacity out of bounds (%d)", capacity);
    items_.reserve(capacity);
}

void* TList::Get(int index) const
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
    return items_[index];
}

void TList::Put(int index, void* item)
{
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%d)", index);
    void* old = items_[index];
    if (old == item)
        return;
    items_[index] = item;
    if (old)
        Notify(old, lnDeleted);
    if (item)
        Notify(item, lnAdded);
}

void TObjectList::Notify(void* ptr, TListNotification action)
{
    if (OwnsObjects && action == lnDeleted)
        FreeObject(static_cast<TObject*>(ptr));
    TList::Notify(ptr, action);
}

} // namespace rtl
