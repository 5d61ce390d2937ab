// Restoring a vertical grid's layout that lists rows the grid lacks: each stored category row is
// created and named on the way, as when a layout saved with run-time categories is loaded into a
// fresh grid. 10 to 10,000 rows from an INI file, the registry store and a stream; the time per
// row must stay flat (linear in the layout's size). The counter "us_per_row" shows it.
#include "platform/rtl/Streams.h"
#include "platform/vcl/Forms.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/grid/cxVGrid.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace cx;

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "vgrid_layout_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

QTemporaryDir& Dir()
{
    static QTemporaryDir dir;
    return dir;
}

enum Medium { kIni, kRegistry, kStream };

// A form with an empty grid named as the saving one was.
struct EmptyGrid {
    EmptyGrid()
    {
        form = new TForm(nullptr);
        form->SetName("Form1");
        grid = new TcxVerticalGrid(form);
        grid->SetName("Grid1");
    }
    ~EmptyGrid() { form->Free(); }
    TForm* form = nullptr;
    TcxVerticalGrid* grid = nullptr;
};

// Saves a layout of `rows` category rows (every fifth a child of the one before) to the medium.
void SaveLayout(int rows, Medium medium, const std::string& name, TMemoryStream& stream)
{
    EmptyGrid source;
    source.grid->BeginUpdate();
    TcxCustomRow* parent = nullptr;
    for (int i = 0; i < rows; ++i) {
        auto* row = parent && i % 5 != 0 ? source.grid->AddChild<TcxCategoryRow>(parent)
                                         : source.grid->Add<TcxCategoryRow>();
        row->Properties()->SetCaption("分类 " + std::to_string(i));
        row->SetName("Grid1Row" + std::to_string(i));
        if (i % 5 == 0)
            parent = row;
    }
    source.grid->EndUpdate();
    switch (medium) {
    case kIni: source.grid->StoreToIniFile(name); break;
    case kRegistry: source.grid->StoreToRegistry(name); break;
    case kStream: source.grid->StoreToStream(&stream); break;
    }
}

void BM_RestoreLayout(benchmark::State& state)
{
    App();
    cxLookAndFeelPaintersUnit::Initialize();
    cxLookAndFeelsUnit::Initialize();
    cxVGridUnit::Initialize();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Dir().path());
    const int rows = static_cast<int>(state.range(0));
    const auto medium = static_cast<Medium>(state.range(1));
    const std::string name = medium == kIni ? (Dir().path() + "/layout" + QString::number(rows) + ".ini").toStdString()
                                            : "Software\\AmmerlinBench\\Layout" + std::to_string(rows);
    TMemoryStream stream;
    SaveLayout(rows, medium, name, stream);
    int restored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto target = std::make_unique<EmptyGrid>();
        stream.SetPosition(0);
        state.ResumeTiming();
        switch (medium) {
        case kIni: target->grid->RestoreFromIniFile(name); break;
        case kRegistry: target->grid->RestoreFromRegistry(name); break;
        case kStream: target->grid->RestoreFromStream(&stream); break;
        }
        state.PauseTiming();
        restored = target->grid->Rows()->GetCount();
        target.reset();
        state.ResumeTiming();
    }
    if (restored != rows)
        state.SkipWithError("the layout did not come back whole");
    state.counters["us_per_row"] = benchmark::Counter(static_cast<double>(rows) * 1e-6,
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
    state.SetLabel(medium == kIni ? "ini" : medium == kRegistry ? "registry" : "stream");
}

} // namespace

BENCHMARK(BM_RestoreLayout)
    ->ArgsProduct({{10, 100, 1000, 10000}, {kIni, kRegistry, kStream}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
