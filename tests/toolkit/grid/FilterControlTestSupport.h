#pragma once
// A filter builder on a form with a small fake host: items with captions, IDs, names and value
// types (text editing for all), the host's own criteria resolving its links by ID and name, and
// switches that make the host fail in the middle of a stream write.
#include <memory>
#include <vector>

#include "VGridTestSupport.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxFilterControl.h"

namespace fctest {

using namespace cx;

// Criteria whose conditions name their items through a filter host.
class HostCriteria : public TcxFilterCriteria {
    RTL_CLASS(HostCriteria, TcxFilterCriteria)
    explicit HostCriteria(IcxFilterControl* host) : host_(host) { SetVersion(3); }
    int GetIDByItemLink(TObject* link) override
    {
        int i = IndexOf(link);
        return i >= 0 ? host_->GetFilterItemLinkID(i) : -1;
    }
    std::string GetNameByItemLink(TObject* link) override
    {
        int i = IndexOf(link);
        return i >= 0 ? host_->GetItemLinkName(i) : std::string();
    }
    TObject* GetItemLinkByID(int id) override
    {
        for (int i = 0; i < host_->GetFilterCount(); ++i)
            if (host_->GetFilterItemLinkID(i) == id)
                return host_->GetFilterItemLink(i);
        return nullptr;
    }
    TObject* GetItemLinkByName(const std::string& name) override
    {
        for (int i = 0; i < host_->GetFilterCount(); ++i)
            if (SameText(host_->GetItemLinkName(i), name))
                return host_->GetFilterItemLink(i);
        return nullptr;
    }

private:
    int IndexOf(TObject* link)
    {
        for (int i = 0; i < host_->GetFilterCount(); ++i)
            if (host_->GetFilterItemLink(i) == link)
                return i;
        return -1;
    }
    IcxFilterControl* host_;
};

class FakeFilterHost : public TComponent, public IcxFilterControl {
    RTL_CLASS(FakeFilterHost, TComponent)
    explicit FakeFilterHost(TComponent* owner)
        : TComponent(owner), criteria(this), properties(std::make_unique<TcxTextEditProperties>(nullptr))
    {
    }
    struct Item {
        std::string caption;
        int id;
        std::string name;
        TcxValueTypeClass type;
        std::unique_ptr<TObject> link;
    };
    // An item with the next ID and the name "Item<ID>" unless given.
    TObject* Add(const std::string& caption, TcxValueTypeClass type = TcxStringValueType::Class(), int id = -1,
                 const std::string* name = nullptr)
    {
        if (id < 0)
            id = static_cast<int>(items.size());
        items.push_back({caption, id, name ? *name : "Item" + std::to_string(id), type, std::make_unique<TObject>()});
        return items.back().link.get();
    }
    bool Valid(int i) const { return i >= 0 && i < static_cast<int>(items.size()); }
    std::string GetFilterCaption(int i) override { return Valid(i) ? items[std::size_t(i)].caption : ""; }
    int GetFilterCount() override { return static_cast<int>(items.size()); }
    TcxFilterCriteria* GetFilterCriteria() override { return hasCriteria ? &criteria : nullptr; }
    TObject* GetFilterItemLink(int i) override { return Valid(i) ? items[std::size_t(i)].link.get() : nullptr; }
    int GetFilterItemLinkID(int i) override { return Valid(i) ? items[std::size_t(i)].id : -1; }
    std::string GetItemLinkName(int i) override
    {
        if (failNames)
            throw EWriteError("host gone");
        return Valid(i) ? items[std::size_t(i)].name : "";
    }
    std::string GetFilterFieldName(int i) override { return Valid(i) ? "F" + items[std::size_t(i)].caption : ""; }
    TcxCustomEditProperties* GetFilterProperties(int i) override { return Valid(i) ? properties.get() : nullptr; }
    TcxValueTypeClass GetFilterValueType(int i) override { return Valid(i) ? items[std::size_t(i)].type : nullptr; }

    std::vector<Item> items;
    HostCriteria criteria;
    std::unique_ptr<TcxTextEditProperties> properties;
    bool hasCriteria = true;
    bool failNames = false;
};

class FilterControlTest : public vgtest::VGridTest {
protected:
    void SetUp() override
    {
        VGridTest::SetUp();
        cxTextEditUnit::Initialize();
        host = new FakeFilterHost(form);
        control = new TcxFilterControl(form);
        control->Font()->SetHeight(-16);
    }
    void TearDown() override
    {
        form->Free();
        form = nullptr;
        cxTextEditUnit::Finalize();
        VGridTest::TearDown();
    }
    TcxFilterCriteriaItemList* HostRoot() { return host->criteria.Root(); }
    static TcxFilterCriteriaItem* Condition(TcxFilterCriteriaItemList* list, int i)
    {
        return dynamic_cast<TcxFilterCriteriaItem*>(list->Items(i));
    }
    TcxConditionViewInfo* ConditionRow(int row) { return dynamic_cast<TcxConditionViewInfo*>(control->Rows(row)); }
    // A condition added by hand under the group (the default item, as the user adds one).
    TcxConditionViewInfo* NewCondition(TcxGroupViewInfo* group = nullptr)
    {
        auto* row = new TcxConditionViewInfo(control, group ? group : control->Root(), nullptr);
        control->RebuildRowList();
        return row;
    }
    static void SetValues(TcxConditionViewInfo* row, TcxFilterControlOperator op, const std::vector<Variant>& values)
    {
        row->SetOperator(op);
        row->Values()->Clear();
        for (const Variant& v : values) {
            TcxValueInfo* value = row->Values()->AddValue();
            value->Value = v;
            value->ValueText = v.IsNull() ? std::string() : VarToStr(v);
        }
    }
    // Writes the host criteria in the given version.
    std::vector<Byte> HostStream(Byte version)
    {
        TMemoryStream stream;
        host->criteria.WriteData(&stream, version);
        return stream.Bytes();
    }
    void Load(const std::vector<Byte>& bytes)
    {
        TMemoryStream stream(bytes);
        control->LoadFromStream(&stream);
    }
    std::vector<Byte> Save()
    {
        TMemoryStream stream;
        control->SaveToStream(&stream);
        return stream.Bytes();
    }

    FakeFilterHost* host = nullptr;
    TcxFilterControl* control = nullptr;
};

} // namespace fctest
