#pragma once
// A data controller over plain item objects, recording every notice it is handed.
#include <memory>
#include <string>
#include <vector>

#include "toolkit/data/cxData.h"

namespace cxtest {
using namespace cx;

class TTestItem : public TObject {
    RTL_CLASS(TTestItem, TObject)
    explicit TTestItem(int id) : ID(id) {}
    int ID;
};

struct TRecordedNotice {
    std::string Kind;
    int A = -1, B = -1, C = -1;
};

class TTestDataController : public TcxDataController {
    RTL_CLASS(TTestDataController, TcxDataController)
    TTestDataController() : TcxDataController(nullptr) {}
    ~TTestDataController() override
    {
        for (TTestItem* item : Items)
            item->Free();
    }
    TObject* GetItem(int index) const override { return Items.at(index); }
    int GetItemID(TObject* item) const override
    {
        auto* t = dynamic_cast<TTestItem*>(item);
        return t ? t->ID : -1;
    }
    void UpdateControl(TcxUpdateControlInfo* info) override
    {
        TRecordedNotice n;
        n.Kind = info->ClassName();
        if (auto* d = dynamic_cast<TcxDataChangedInfo*>(info)) {
            n.A = d->Kind;
            n.B = d->ItemIndex;
            n.C = d->RecordIndex;
        } else if (auto* s = dynamic_cast<TcxSelectionChangedInfo*>(info)) {
            n.A = s->Count();
        } else if (auto* f = dynamic_cast<TcxFocusedRowChangedInfo*>(info)) {
            n.A = f->PrevFocusedRowIndex;
            n.B = f->FocusedRowIndex;
        }
        Notices.push_back(n);
        TcxDataController::UpdateControl(info);
    }
    int AddColumn(TcxValueTypeClass type)
    {
        auto* item = new TTestItem(static_cast<int>(Items.size()) + 100);
        Items.push_back(item);
        TcxCustomDataField* f = AddItem(item);
        f->SetValueTypeClass(type);
        return f->Index();
    }
    int CountOf(const std::string& kind) const
    {
        int n = 0;
        for (const auto& x : Notices)
            n += x.Kind == kind;
        return n;
    }
    // Record indexes in row order (data rows only for a flat view).
    std::vector<int> RowRecords()
    {
        std::vector<int> r;
        for (int i = 0; i < GetRowCount(); ++i)
            r.push_back(GetRowInfo(i).RecordIndex);
        return r;
    }
    std::vector<TTestItem*> Items;
    std::vector<TRecordedNotice> Notices;
};

// Fills column `item` of records 0..n-1 with the given values (appending records as needed).
inline void Fill(TTestDataController& dc, int item, const std::vector<Variant>& values)
{
    dc.BeginUpdate();
    if (dc.GetRecordCount() < static_cast<int>(values.size()))
        dc.SetRecordCount(static_cast<int>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        dc.SetValue(static_cast<int>(i), item, values[i]);
    dc.EndUpdate();
}

} // namespace cxtest
