// The filter builder on long filters: 10, 100, 1,000 and 10,000 conditions on a vertical grid
// with 100 records. Loading the ".flt" stream, focusing the last row (which scrolls it into
// view), Insert straight after opening, and applying the filter to the grid each grow linearly
// with the number of conditions (the reported complexity).
#include "platform/rtl/Streams.h"
#include "platform/vcl/Forms.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditRepositoryItems.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxFilterControl.h"
#include "toolkit/grid/cxFilterControlStrs.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVirtualVGrid.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace cx;

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "filter_builder_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

class HostGrid : public TcxVirtualVerticalGrid {
    RTL_CLASS(HostGrid, TcxVirtualVerticalGrid)
    explicit HostGrid(TComponent* owner) : TcxVirtualVerticalGrid(owner) { RecreateViewInfo(); }
};

// A grid of meters (a text and an integer row, 100 records) and a builder linked to it, with a
// stream of `conditions` conditions ready to load.
struct BuilderOnForm {
    explicit BuilderOnForm(int conditions)
    {
        App();
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditRepositoryItemsUnit::Initialize();
        cxEditDataRegisteredRepositoryItemsUnit::Initialize();
        cxInplaceContainerUnit::Initialize();
        cxVGridUnit::Initialize();
        cxTextEditUnit::Initialize();
        cxFilterControlStrsUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 500, 300);
        host = new HostGrid(form);
        for (auto [caption, type] : {std::pair{"电表编号", "String"}, std::pair{"读数", "Integer"}}) {
            auto* row = host->Add<TcxEditorRow>();
            row->Properties()->SetCaption(caption);
            row->Properties()->DataBinding()->SetValueType(type);
            row->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
        }
        host->SetLayoutStyle(lsMultiRecordView);
        TcxCustomDataController* data = host->DataController();
        data->SetRecordCount(100);
        for (int i = 0; i < 100; ++i) {
            data->SetValue(i, 0, Variant("东区-" + std::to_string(i)));
            data->SetValue(i, 1, Variant(i * 10));
        }
        builder = new TcxFilterControl(form);
        builder->SetBounds(0, 0, 480, 260);
        builder->SetParent(form);
        builder->HandleNeeded();
        builder->SetLinkComponent(host);
        TcxFilterControlCriteria* criteria = builder->Criteria();
        criteria->BeginUpdate();
        for (int i = 0; i < conditions; ++i) {
            if (i % 2 == 0)
                criteria->AddItem(criteria->Root(), host->GetFilterItemLink(1), foGreater, Variant(i), std::to_string(i));
            else
                criteria->AddItem(criteria->Root(), host->GetFilterItemLink(0), foLike,
                                  Variant(std::string("东区%")), "东区%");
        }
        criteria->EndUpdate();
        builder->BuildFromCriteria();
        builder->SaveToStream(&flt);
    }
    ~BuilderOnForm()
    {
        form->Free();
        cxFilterControlStrsUnit::Finalize();
        cxTextEditUnit::Finalize();
        cxVGridUnit::Finalize();
        cxInplaceContainerUnit::Finalize();
        cxEditDataRegisteredRepositoryItemsUnit::Finalize();
        cxEditRepositoryItemsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    void Load()
    {
        flt.SetPosition(0);
        builder->LoadFromStream(&flt);
    }
    TcxFilterRowViewInfo* LastRow() { return builder->Rows(builder->RowCount() - 1); }
    TForm* form = nullptr;
    HostGrid* host = nullptr;
    TcxFilterControl* builder = nullptr;
    TMemoryStream flt;
};

void Sizes(benchmark::internal::Benchmark* b)
{
    for (int n : {10, 100, 1000, 10000})
        b->Arg(n);
    b->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
}

} // namespace

static void BM_LoadFilter(benchmark::State& state)
{
    BuilderOnForm f(static_cast<int>(state.range(0)));
    for (auto _ : state)
        f.Load();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadFilter)->Apply(Sizes);

static void BM_FocusLastRow(benchmark::State& state)
{
    BuilderOnForm f(static_cast<int>(state.range(0)));
    f.Load();
    for (auto _ : state) {
        state.PauseTiming();
        f.builder->SetFocusedRow(f.builder->Root());
        state.ResumeTiming();
        f.builder->SetFocusedRow(f.LastRow());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FocusLastRow)->Apply(Sizes);

// Insert straight after opening the file: the focus is on the root, so the new condition goes to
// the end and the view jumps from the top to it.
static void BM_InsertAfterOpening(benchmark::State& state)
{
    BuilderOnForm f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        f.Load();
        state.ResumeTiming();
        f.builder->AddCondition(f.builder->FocusedRow());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InsertAfterOpening)->Apply(Sizes);

static void BM_ApplyFilter(benchmark::State& state)
{
    BuilderOnForm f(static_cast<int>(state.range(0)));
    f.Load();
    for (auto _ : state)
        f.builder->ApplyFilter();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ApplyFilter)->Apply(Sizes);
