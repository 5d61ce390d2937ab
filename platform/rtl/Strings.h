#pragma once
// TStrings and TStringList: strings with an object each; sorted lists, duplicate rules and the
// case rule (without regard to case unless CaseSensitive, under the locale's comparison).
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Event.h"

namespace rtl {

class TStrings : public TPersistent {
    RTL_CLASS(TStrings, TPersistent)
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s);
    virtual TObject* GetObject(int index) const { return nullptr; }
    virtual void PutObject(int index, TObject* obj) {}
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void InsertObject(int index, const std::string& s, TObject* obj);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::string& s);
    virtual int AddObject(const std::string& s, TObject* obj);
    void AddStrings(TStrings* strings);
    virtual int IndexOf(const std::string& s) const;
    int IndexOfObject(TObject* obj) const;
    int IndexOfName(const std::string& name) const;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);
    std::string operator[](int index) const { return Get(index); }

    // NAME=VALUE lines.
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& value);

    // Lines joined with CR LF (a last line break is not kept); setting splits at CR, LF or CR LF.
    std::string Text() const;
    void SetText(const std::string& text);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    void Assign(TPersistent* source) override;

protected:
    virtual void SetUpdateState(bool updating) {}
    virtual int CompareStrings(const std::string& a, const std::string& b) const { return AnsiCompareText(a, b); }

private:
    int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
    RTL_CLASS(TStringList, TStrings)
    using TStringListSortCompare = std::function<int(TStringList*, int, int)>;

    ~TStringList() override;
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    void Insert(int index, const std::string& s) override;
    void InsertObject(int index, const std::string& s, TObject* obj) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;
    int AddObject(const std::string& s, TObject* obj) override;
    int IndexOf(const std::string& s) const override;
    void Exchange(int index1, int index2) override;

    // Binary search of a sorted list; index is where the string is or would be inserted.
    virtual bool Find(const std::string& s, int& index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TDuplicates Duplicates = dupIgnore;
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    bool OwnsObjects = false;   // frees the objects of deleted lines

    Event<void(TObject*)> OnChange;
    Event<void(TObject*)> OnChanging;

protected:
    int CompareStrings(const std::string& a, const std::string& b) const override;
    void SetUpdateState(bool updating) override;
    virtual void Changed();
    virtual void Changing();
    void InsertItem(int index, const std::string& s, TObject* obj);

private:
    struct Item {
        std::string text;
        TObject* object;
    };
    void CheckIndex(int index) const;
    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
};

} // namespace rtl
