#pragma once
// A criteria over the fields of a record storage, for the filter tests and the benchmark: item
// links are TTestField objects, a record is passed as its record index.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/data/cxDataStorage.h"
#include "toolkit/data/cxFilter.h"

namespace cxtest {
using namespace cx;

class TTestField : public TObject {
    RTL_CLASS(TTestField, TObject)
    TTestField(int id, std::string name, std::string caption, TcxValueDef* def)
        : ID(id), Name(std::move(name)), Caption(std::move(caption)), Def(def) {}
    int ID;
    std::string Name, Caption;
    TcxValueDef* Def;
};

class TTestCriteria;

class TTestCriteriaItem : public TcxFilterCriteriaItem {
    RTL_CLASS(TTestCriteriaItem, TcxFilterCriteriaItem)
    using TcxFilterCriteriaItem::TcxFilterCriteriaItem;
    Variant GetDataValue(void* data) override;
    std::string GetFieldCaption() override { return Field() ? Field()->Caption : std::string(); }
    std::string GetFieldName() override { return Field() ? Field()->Name : std::string(); }
    TTestField* Field() const { return static_cast<TTestField*>(ItemLink()); }
};

class TTestCriteria : public TcxFilterCriteria {
    RTL_CLASS(TTestCriteria, TcxFilterCriteria)
    explicit TTestCriteria(TcxDataStorage* storage) : Storage(storage) {}
    ~TTestCriteria() override
    {
        for (TTestField* f : Fields)
            f->Free();
    }
    TTestField* AddField(int id, const std::string& name, TcxValueTypeClass type, const std::string& caption = {})
    {
        TcxValueDef* def = Storage ? Storage->ValueDefs()->Add(type, true, false, nullptr) : nullptr;
        Fields.push_back(new TTestField(id, name, caption.empty() ? name : caption, def));
        return Fields.back();
    }
    TcxFilterCriteriaItemClass GetItemClass() override { return TcxFilterCriteriaItemClass::Of<TTestCriteriaItem>(); }
    int GetIDByItemLink(TObject* link) override { return link ? static_cast<TTestField*>(link)->ID : -1; }
    std::string GetNameByItemLink(TObject* link) override { return link ? static_cast<TTestField*>(link)->Name : std::string(); }
    TObject* GetItemLinkByID(int id) override
    {
        for (TTestField* f : Fields)
            if (f->ID == id)
                return f;
        return nullptr;
    }
    TObject* GetItemLinkByName(const std::string& name) override
    {
        for (TTestField* f : Fields)
            if (f->Name == name)
                return f;
        return nullptr;
    }
    bool Filter(int recordIndex) { return DoFilterData(reinterpret_cast<void*>(static_cast<std::intptr_t>(recordIndex))); }

    TcxDataStorage* Storage;
    std::vector<TTestField*> Fields;
};

inline Variant TTestCriteriaItem::GetDataValue(void* data)
{
    auto* criteria = static_cast<TTestCriteria*>(GetCriteria());
    return criteria->Storage->GetValue(static_cast<int>(reinterpret_cast<std::intptr_t>(data)), Field()->Def);
}

} // namespace cxtest
