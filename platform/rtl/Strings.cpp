#include "platform/rtl/Strings.h"

#include <algorithm>

namespace rtl {

void TStrings::Put(int index, const std::string& s)
{
    TObject* obj = GetObject(index);
    Delete(index);
    InsertObject(index, s, obj);
}

void TStrings::InsertObject(int index, const std::string& s, TObject* obj)
{
    Insert(index, s);
    PutObject(index, obj);
}

int TStrings::Add(const std::string& s)
{
    int i = Count();
    Insert(i, s);
    return i;
}

int TStrings::AddObject(const std::string& s, TObject* obj)
{
    int i = Add(s);
    PutObject(i, obj);
    return i;
}

void TStrings::AddStrings(TStrings* strings)
{
    BeginUpdate();
    for (int i = 0; i < strings->Count(); ++i)
        AddObject(strings->Get(i), strings->GetObject(i));
    EndUpdate();
}

int TStrings::IndexOf(const std::string& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), s) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(TObject* obj) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == obj)
            return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const
{
    for (int i = 0; i < Count(); ++i) {
        std::string s = Get(i);
        std::size_t p = s.find('=');
        if (p != std::string::npos && CompareStrings(s.substr(0, p), name) == 0)
            return i;
    }
    return -1;
}

void TStrings::Exchange(int a, int b)
{
    BeginUpdate();
    std::string sa = Get(a), sb = Get(b);
    TObject* oa = GetObject(a);
    TObject* ob = GetObject(b);
    Put(a, sb);
    Put(b, sa);
    PutObject(a, ob);
    PutObject(b, oa);
    EndUpdate();
}

void TStrings::Move(int cur, int to)
{
    if (cur == to)
        return;
    BeginUpdate();
    std::string s = Get(cur);
    TObject* o = GetObject(cur);
    Delete(cur);
    InsertObject(to, s, o);
    EndUpdate();
}

std::string TStrings::Names(int index) const
{
    std::string s = Get(index);
    std::size_t p = s.find('=');
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::ValueFromIndex(int index) const
{
    std::string s = Get(index);
    std::size_t p = s.find('=');
    return p == std::string::npos ? std::string() : s.substr(p + 1);
}

std::string TStrings::Values(const std::string& name) const
{
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(const std::string& name, const std::string& value)
{
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0)
            Delete(i);
    } else if (i < 0) {
        Add(name + "=" + value);
    } else {
        Put(i, name + "=" + value);
    }
}

std::string TStrings::Text() const
{
    std::string out;
    for (int i = 0; i < Count(); ++i)
        out += Get(i) + "\r\n";
    return out;
}

void TStrings::SetText(const std::string& text)
{
    BeginUpdate();
    Clear();
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t e = text.find_first_of("\r\n", i);
        if (e == std::string::npos) {
            Add(text.substr(i));
            break;
        }
        Add(text.substr(i, e - i));
        i = e + 1;
        if (text[e] == '\r' && i < text.size() && text[i] == '\n')
            ++i;
    }
    EndUpdate();
}

void TStrings::BeginUpdate()
{
    if (updateCount_++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (--updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TStrings*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        AddStrings(src);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---------------------------------------------------------------------------------------------
TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (OwnsObjects)
        for (auto& item : items_)
            FreeObject(item.object);
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EStringListError(Format("List index out of bounds (%d)", index));
}

std::string TStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[index].text;
}

TObject* TStringList::GetObject(int index) const
{
    CheckIndex(index);
    return items_[index].object;
}

void TStringList::Put(int index, const std::string& s)
{
    if (sorted_)
        throw EStringListError("Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    items_[index].text = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* obj)
{
    CheckIndex(index);
    Changing();
    items_[index].object = obj;
    Changed();
}

void TStringList::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string& s, TObject* obj)
{
    if (sorted_)
        throw EStringListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        throw EStringListError(Format("List index out of bounds (%d)", index));
    InsertItem(index, s, obj);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* obj)
{
    Changing();
    items_.insert(items_.begin() + index, Item{s, obj});
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    TObject* obj = items_[index].object;
    items_.erase(items_.begin() + index);
    if (OwnsObjects)
        FreeObject(obj);
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    Changing();
    std::vector<Item> old;
    old.swap(items_);
    if (OwnsObjects)
        for (auto& item : old)
            FreeObject(item.object);
    Changed();
}

int TStringList::Add(const std::string& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string& s, TObject* obj)
{
    int index;
    if (!sorted_) {
        index = Count();
    } else if (Find(s, index)) {
        switch (Duplicates) {
        case dupIgnore: return index;
        case dupError: throw EStringListError("String list does not allow duplicates");
        case dupAccept: break;
        }
    }
    InsertItem(index, s, obj);
    return index;
}

int TStringList::IndexOf(const std::string& s) const
{
    if (!sorted_)
        return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

void TStringList::Exchange(int a, int b)
{
    CheckIndex(a);
    CheckIndex(b);
    Changing();
    std::swap(items_[a], items_[b]);
    Changed();
}

bool TStringList::Find(const std::string& s, int& index) const
{
    bool found = false;
    int l = 0, h = Count() - 1;
    while (l <= h) {
        int i = (l + h) / 2;
        int c = CompareStrings(items_[i].text, s);
        if (c < 0) {
            l = i + 1;
        } else {
            h = i - 1;
            if (c == 0) {
                found = true;
                if (Duplicates != dupAccept)
                    l = i;
            }
        }
    }
    index = l;
    return found;
}

void TStringList::Sort()
{
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->items_[a].text, list->items_[b].text);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& compare)
{
    if (Count() <= 1)
        return;
    Changing();
    // Sort an index permutation so that the compare function can address the list by index.
    std::vector<int> order(items_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(items_[i]);
    items_.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool value)
{
    if (sorted_ == value)
        return;
    if (value)
        Sort();
    sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value)
{
    if (caseSensitive_ == value)
        return;
    caseSensitive_ = value;
    if (sorted_)
        Sort();
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const
{
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changed()
{
    if (UpdateCount() == 0)
        CallEvent(OnChange, this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0)
        CallEvent(OnChanging, this);
}

} // namespace rtl
