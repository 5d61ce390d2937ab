// The fills every editor cell repeats: the frame of a cell with two buttons (one-pixel borders,
// ellipsis dots and a drop-down arrow) through the solid brush cache.
#include "platform/gdi/Text.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/editors/cxEditLayout.h"
#include "toolkit/editors/cxEditUtils.h"

#include <benchmark/benchmark.h>

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
