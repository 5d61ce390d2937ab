// The fills every editor cell repeats: the frame of a cell with two buttons (one-pixel borders,
// ellipsis dots and a drop-down arrow) through the solid brush cache, and the whole cell painted
// through its view info.
#include "platform/gdi/Text.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditLayout.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxEditViewInfo.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace cx;

static void BM_EditCellButtons(benchmark::State& state)
{
    cxEditPaintUtilsUnit::Initialize();
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(200, 20);
    TcxCanvas canvas(bitmap.Canvas());
    TcxEditButtonViewInfo ellipsis, down;
    ellipsis.Width = down.Width = 17;
    for (auto _ : state) {
        TRect r{0, 0, 200, 20};
        TcxEditButtonMarks marks;
        LayoutEditButton(down, 1, r, marks);
        LayoutEditButton(ellipsis, 0, r, marks);
        cxEditFillRect(&canvas, r, clWindow);
        for (TcxEditButtonViewInfo* b : {&ellipsis, &down}) {
            TRect content = b->Bounds;
            DrawButtonBorder(&canvas, content, cxBordersAll, clBtnShadow);
            cxEditFillRect(&canvas, content, clBtnFace);
            if (b == &ellipsis)
                DrawEllipsisButtonContent(&canvas, content, clBtnText, true, false);
            else
                DrawArrow(&canvas, GetArrowSize({content.Width(), content.Height()}, adDown).cy, content,
                          adDown, false, false, clBtnText);
        }
    }
    state.SetItemsProcessed(state.iterations());
    cxEditPaintUtilsUnit::Finalize();
}
BENCHMARK(BM_EditCellButtons);

static void BM_SolidBrushCacheHit(benchmark::State& state)
{
    TcxSolidBrushCache cache;
    for (int i = 0; i < 128; ++i)
        cache.GetBrush(TColor(i * 0x10101));
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.GetBrush(TColor((i++ & 127) * 0x10101)));
}
BENCHMARK(BM_SolidBrushCacheHit);

// One editor cell with two buttons painted the way a grid paints every visible row: the view
// info placed at the cell's origin on the host canvas (cells per second).

namespace {

struct EditCell {
    EditCell()
    {
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(400, 200);
        canvas = std::make_unique<TcxCanvas>(bitmap.Canvas());
        properties = std::make_unique<TcxCustomEditProperties>(nullptr);
        properties->Buttons()->Add()->SetKind(bkEllipsis);
        properties->Buttons()->Add()->SetKind(bkDown);
        style = std::make_unique<TcxEditStyle>(nullptr, true);
        viewData.reset(properties->CreateViewData(style.get(), true));
        viewData->ContentOffset = {1, 1, 1, 1};
    }
    ~EditCell()
    {
        viewInfo.reset();
        viewData.reset();
        style.reset();
        properties.reset();
        canvas.reset();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
    }
    void Calculate(int row)
    {
        viewData->CalculateEx(canvas.get(), {100, row * 20, 300, row * 20 + 20}, {-1, -1}, cxmbNone, {},
                              viewInfo.get(), false);
    }
    TBitmap bitmap;
    std::unique_ptr<TcxCanvas> canvas;
    std::unique_ptr<TcxCustomEditProperties> properties;
    std::unique_ptr<TcxEditStyle> style;
    std::unique_ptr<TcxCustomEditViewData> viewData;
    std::unique_ptr<TcxCustomEditViewInfo> viewInfo = std::make_unique<TcxCustomEditViewInfo>();
};

} // namespace

static void BM_EditCellPaintEx(benchmark::State& state)
{
    EditCell cell;
    cell.Calculate(3);
    for (auto _ : state)
        cell.viewInfo->PaintEx(cell.canvas.get());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EditCellPaintEx);

// The same cell laid out again for each row before it is painted.
static void BM_EditCellCalculateAndPaintEx(benchmark::State& state)
{
    EditCell cell;
    int row = 0;
    for (auto _ : state) {
        cell.Calculate(row);
        cell.viewInfo->PaintEx(cell.canvas.get());
        row = (row + 1) % 10;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EditCellCalculateAndPaintEx);
