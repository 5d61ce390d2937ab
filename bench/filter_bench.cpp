// Evaluating a filter criteria tree over 100,000 records of a record storage.
#include <benchmark/benchmark.h>

#include "tests/toolkit/data/FilterTestCriteria.h"

using namespace cx;
using namespace cxtest;

namespace {

constexpr int kRecords = 100000;

struct Table {
    TcxDataStorage storage;
    TTestCriteria criteria{&storage};
    TTestField* id;
    TTestField* name;
    TTestField* price;

    Table()
    {
        id = criteria.AddField(1, "ID", TcxIntegerValueType::Class());
        name = criteria.AddField(2, "Name", TcxStringValueType::Class());
        price = criteria.AddField(3, "Price", TcxFloatValueType::Class());
        storage.SetRecordCount(kRecords);
        for (int r = 0; r < kRecords; ++r) {
            storage.SetValue(r, id->Def, r);
            storage.SetValue(r, name->Def, "meter " + std::to_string(r % 977));
            if (r % 10 != 0)
                storage.SetValue(r, price->Def, (r % 500) * 0.25);
        }
        // (ID >= 1000) AND ((Name LIKE 'meter 1%') OR NOT ((Price IS NULL) OR (Price BETWEEN 10 AND 20)))
        criteria.AddItem(nullptr, id, foGreaterEqual, 1000, "1000");
        TcxFilterCriteriaItemList* orList = criteria.Root()->AddItemList(fboOr);
        criteria.AddItem(orList, name, foLike, "meter 1%", "meter 1%");
        TcxFilterCriteriaItemList* notList = orList->AddItemList(fboNotOr);
        criteria.AddItem(notList, price, foEqual, Null, "");
        Variant range;
        VarBetweenArrayCreate(range, 10, 20);
        criteria.AddItem(notList, price, foBetween, range, "10;20");
    }
};

void BM_FilterTree100k(benchmark::State& state)
{
    Table t;
    for (auto _ : state) {
        int passed = 0;
        for (int r = 0; r < kRecords; ++r)
            passed += t.criteria.Filter(r);
        benchmark::DoNotOptimize(passed);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_FilterTree100k)->Unit(benchmark::kMillisecond);

void BM_FilterCaseInsensitive100k(benchmark::State& state)
{
    Table t;
    t.criteria.SetOptions({fcoCaseInsensitive});
    for (auto _ : state) {
        int passed = 0;
        for (int r = 0; r < kRecords; ++r)
            passed += t.criteria.Filter(r);
        benchmark::DoNotOptimize(passed);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_FilterCaseInsensitive100k)->Unit(benchmark::kMillisecond);

} // namespace
