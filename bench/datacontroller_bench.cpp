// Sorting and grouping 100,000 records of the data controller.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "toolkit/data/cxData.h"

namespace {
using namespace cx;

class TBenchController : public TcxDataController {
public:
    TBenchController() : TcxDataController(nullptr) {}
    ~TBenchController() override
    {
        for (TObject* o : items)
            o->Free();
    }
    TObject* GetItem(int index) const override { return items.at(index); }
    int Add(TcxValueTypeClass type)
    {
        items.push_back(new TObject());
        TcxCustomDataField* f = AddItem(items.back());
        f->SetValueTypeClass(type);
        return f->Index();
    }
    std::vector<TObject*> items;
};

void Load(TBenchController& dc, int n)
{
    dc.Add(TcxIntegerValueType::Class());
    dc.Add(TcxStringValueType::Class());
    std::mt19937 rng(42);
    dc.BeginUpdate();
    dc.SetRecordCount(n);
    for (int i = 0; i < n; ++i) {
        dc.SetValue(i, 0, static_cast<int>(rng() % 1000));
        dc.SetValue(i, 1, "K" + std::to_string(rng() % 100));
    }
    dc.EndUpdate();
}

void BM_Sort100k(benchmark::State& state)
{
    TBenchController dc;
    Load(dc, 100000);
    bool descending = false;
    for (auto _ : state) {
        dc.ChangeSorting(0, descending ? soDescending : soAscending);
        descending = !descending;
        benchmark::DoNotOptimize(dc.GetRowCount());
    }
}
BENCHMARK(BM_Sort100k)->Unit(benchmark::kMillisecond);

void BM_Group100kTwoLevels(benchmark::State& state)
{
    TBenchController dc;
    Load(dc, 100000);
    for (auto _ : state) {
        dc.BeginUpdate();
        dc.Groups()->ChangeGrouping(1, 0);
        dc.Groups()->ChangeGrouping(0, 1);
        dc.EndUpdate();
        benchmark::DoNotOptimize(dc.GetRowCount());
        dc.Groups()->ClearGrouping();
    }
}
BENCHMARK(BM_Group100kTwoLevels)->Unit(benchmark::kMillisecond);

// A reload of 100,000 records grouped on two levels with every group expanded (some 60,000
// groups): each saved group is found again by its values, so the pass stays near a regrouping.
void BM_ReloadKeepsExpansion100k(benchmark::State& state)
{
    TBenchController dc;
    Load(dc, 100000);
    dc.BeginUpdate();
    dc.Groups()->ChangeGrouping(1, 0);
    dc.Groups()->ChangeGrouping(0, 1);
    dc.EndUpdate();
    dc.Groups()->FullExpand();
    const int rows = dc.GetRowCount();
    int v = 0;
    for (auto _ : state) {
        dc.SetValue(0, 1, "K" + std::to_string(v++ % 100));   // a reload
        if (dc.GetRowCount() < rows - 2)
            state.SkipWithError("the expansion was lost");
    }
}
BENCHMARK(BM_ReloadKeepsExpansion100k)->Unit(benchmark::kMillisecond);

// The same records in provider mode: an application source over plain vectors that compares
// natively through its own slots. Sorting and grouping should stay close to unbound mode.
class TBenchSource : public TcxCustomDataSource {
public:
    int GetRecordCount() override { return static_cast<int>(ints.size()); }
    Variant GetValue(TcxDataRecordHandle h, TcxDataItemHandle item) override
    {
        return item == 0 ? Variant(ints[h]) : Variant(strs[h]);
    }
    bool IsNativeCompare() override { return true; }
    bool GetInfoForCompare(TcxDataRecordHandle h, TcxDataItemHandle item, void*& buffer) override
    {
        buffer = item == 0 ? static_cast<void*>(&ints[h]) : static_cast<void*>(&strs[h]);
        return true;
    }
    std::vector<std::int32_t> ints;
    std::vector<std::string> strs;
};

struct TProviderBench {
    TBenchController dc;
    TBenchSource* source = new TBenchSource();
    explicit TProviderBench(int n)
    {
        dc.Add(TcxIntegerValueType::Class());
        dc.Add(TcxStringValueType::Class());
        std::mt19937 rng(42);
        for (int i = 0; i < n; ++i) {
            source->ints.push_back(static_cast<int>(rng() % 1000));
            source->strs.push_back("K" + std::to_string(rng() % 100));
        }
        dc.SetCustomDataSource(source);
    }
    ~TProviderBench()
    {
        dc.SetCustomDataSource(nullptr);
        source->Free();
    }
};

void BM_ProviderSort100k(benchmark::State& state)
{
    TProviderBench b(100000);
    bool descending = false;
    for (auto _ : state) {
        b.dc.ChangeSorting(0, descending ? soDescending : soAscending);
        descending = !descending;
        benchmark::DoNotOptimize(b.dc.GetRowCount());
    }
}
BENCHMARK(BM_ProviderSort100k)->Unit(benchmark::kMillisecond);

void BM_ProviderGroup100kTwoLevels(benchmark::State& state)
{
    TProviderBench b(100000);
    for (auto _ : state) {
        b.dc.BeginUpdate();
        b.dc.Groups()->ChangeGrouping(1, 0);
        b.dc.Groups()->ChangeGrouping(0, 1);
        b.dc.EndUpdate();
        benchmark::DoNotOptimize(b.dc.GetRowCount());
        b.dc.Groups()->ClearGrouping();
    }
}
BENCHMARK(BM_ProviderGroup100kTwoLevels)->Unit(benchmark::kMillisecond);

} // namespace
