#pragma once
// TList: a list of pointer-sized slots with change notification; TObjectList owns its objects.
#include <functional>
#include <vector>

#include "platform/rtl/Object.h"

namespace rtl {

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

class TList : public TObject {
    RTL_CLASS(TList, TObject)
    using TListSortCompare = std::function<int(void*, void*)>;

    ~TList() override;
    void BeforeDestruction() override { Clear(); }

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);                 // EListError for a bad index
    int Remove(void* item);                 // the index it had, -1 when absent
    void* Extract(void* item);              // removes without "deleted"; null when absent
    int IndexOf(void* item) const;
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    void Pack();                            // drops the null slots
    void Sort(const TListSortCompare& compare);
    virtual void Clear();

    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }
    int Count() const { return static_cast<int>(items_.size()); }
    void SetCount(int count);               // new slots are null
    int Capacity() const { return static_cast<int>(items_.capacity()); }
    void SetCapacity(int capacity);
    void* Get(int index) const;
    void Put(int index, void* item);
    void* operator[](int index) const { return Get(index); }
    const std::vector<void*>& List() const { return items_; }

    [[noreturn]] static void Error(const char* message, std::intptr_t data);

protected:
    virtual void Notify(void* ptr, TListNotification action) {}

private:
    std::vector<void*> items_;
};

// Owns its objects when created so: deleting or clearing frees them.
class TObjectList : public TList {
    RTL_CLASS(TObjectList, TList)
    explicit TObjectList(bool ownsObjects = true) : OwnsObjects(ownsObjects) {}
    ~TObjectList() override { Clear(); }
    TObject* GetItem(int index) const { return static_cast<TObject*>(Get(index)); }
    int Add(TObject* obj) { return TList::Add(obj); }
    bool OwnsObjects;

protected:
    void Notify(void* ptr, TListNotification action) override;
};

} // namespace rtl
