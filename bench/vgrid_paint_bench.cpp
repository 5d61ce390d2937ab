// The vertical grid painted as the screen would ask for it: 50 visible rows in one paint, and a
// 10,000-row grid scrolled by a Page Down before each full paint. Each paint is also reported
// as a share of one 60 Hz frame (16.7 ms), the budget on this machine class.
#include "platform/gdi/Text.h"
#include "platform/vcl/Forms.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridController.h"
#include "toolkit/grid/cxVGridPainter.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

using namespace cx;

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;

QApplication& App()
{
    static int argc = 1;
    static char name[] = "vgrid_paint_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

struct GridOnForm {
    explicit GridOnForm(int rows, int height)
    {
        App();
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxVGridUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 400, height + 40);
        grid = new TcxVerticalGrid(form);
        grid->BeginUpdate();
        for (int i = 0; i < rows; ++i)
            grid->Add<TcxEditorRow>()->Properties()->SetCaption("Delay " + std::to_string(i));
        grid->EndUpdate();
        grid->SetBounds(0, 0, 300, height);
        grid->SetParent(form);
        grid->HandleNeeded();
        form->Show();
        grid->LayoutChanged();
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(300, height);
        canvas = std::make_unique<TcxCanvas>(bitmap.Canvas());
    }
    ~GridOnForm()
    {
        canvas.reset();
        form->Free();
        cxVGridUnit::Finalize();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    void Paint()
    {
        UniqueObject<TcxvgPainter> painter(grid->GetPainterClass().Create(canvas.get(), grid));
        painter->DoPaint();
    }
    TForm* form = nullptr;
    TcxVerticalGrid* grid = nullptr;
    TBitmap bitmap;
    std::unique_ptr<TcxCanvas> canvas;
};

void ReportFrames(benchmark::State& state, double seconds)
{
    const double ms = seconds * 1000.0 / static_cast<double>(state.iterations());
    state.counters["frame_ratio"] = ms / kFrameMs;
}

} // namespace

static void BM_PaintFiftyVisibleRows(benchmark::State& state)
{
    GridOnForm g(50, 50 * 19 + 2);
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        g.Paint();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    ReportFrames(state, total);
}
BENCHMARK(BM_PaintFiftyVisibleRows)->Unit(benchmark::kMillisecond);

static void BM_PageDownAndPaintTenThousandRows(benchmark::State& state)
{
    GridOnForm g(10000, 400);
    TcxvgController* controller = g.grid->GridController();
    controller->ControlFocusChanged();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        controller->DoNextPage(true, TShiftState{});
        if (g.grid->GetFocusedRow() == g.grid->LastVisibleRow())
            controller->DoNextPage(false, TShiftState{ssCtrl});
        g.Paint();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    ReportFrames(state, total);
}
BENCHMARK(BM_PageDownAndPaintTenThousandRows)->Unit(benchmark::kMillisecond);
