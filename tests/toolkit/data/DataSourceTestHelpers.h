#pragma once
// A custom data source over rows of variants (a record handle is the row's position), for the
// provider-mode tests and the benchmark.
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/data/cxCustomData.h"

namespace cxtest {
using namespace cx;

class TTestDataSource : public TcxCustomDataSource {
    RTL_CLASS(TTestDataSource, TcxCustomDataSource)
    explicit TTestDataSource(int itemCount = 3) : ItemCount(itemCount) {}
    int GetRecordCount() override { return static_cast<int>(Rows.size()); }
    Variant GetValue(TcxDataRecordHandle h, TcxDataItemHandle item) override { return Rows.at(h).at(item); }
    void SetValue(TcxDataRecordHandle h, TcxDataItemHandle item, const Variant& value) override
    {
        Log.push_back("set " + std::to_string(h) + "." + std::to_string(item));
        Rows.at(h).at(item) = value;
    }
    TcxDataRecordHandle AppendRecord() override
    {
        Log.push_back("append");
        Rows.emplace_back(ItemCount, Variant(Null));
        DataChanged();
        return static_cast<TcxDataRecordHandle>(Rows.size() - 1);
    }
    TcxDataRecordHandle InsertRecord(TcxDataRecordHandle h) override
    {
        Log.push_back("insert " + std::to_string(h));
        Rows.insert(Rows.begin() + h, std::vector<Variant>(ItemCount, Variant(Null)));
        DataChanged();
        return h;
    }
    void DeleteRecord(TcxDataRecordHandle h) override
    {
        Log.push_back("delete " + std::to_string(h));
        Rows.erase(Rows.begin() + h);
        DataChanged();
    }
    bool IsNativeCompare() override { return Native; }
    // Native comparison over integer items: the slot holds the row's 32-bit value.
    bool GetInfoForCompare(TcxDataRecordHandle h, TcxDataItemHandle item, void*& buffer) override
    {
        const Variant& v = Rows.at(h).at(item);
        if (v.IsNull())
            return false;
        slots_[slot_ ^= 1] = v.ToInteger();
        buffer = &slots_[slot_];
        return true;
    }
    bool IsRecordIdSupported() override { return true; }
    Variant GetRecordId(TcxDataRecordHandle h) override { return Rows.at(h).at(0); }

    int ItemCount;
    bool Native = false;
    std::vector<std::vector<Variant>> Rows;
    std::vector<std::string> Log;

private:
    std::int32_t slots_[2] = {};
    int slot_ = 0;
};

} // namespace cxtest
