// Filling and copying a full-HD surface with the software GDI, against QPainter doing the same
// fill and copy on an image of the same format. Items are pixels.
#include "platform/gdi/Draw.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr int kW = 1920, kH = 1080;

void GdiFill(benchmark::State& state)
{
    gdi::Surface s(kW, kH);
    gdi::Dc dc(&s);
    const gdi::Brush brush = gdi::Brush::Solid(0x336699);
    for (auto _ : state) {
        gdi::FillRect(dc, {0, 0, kW, kH}, brush);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

void QPainterFill(benchmark::State& state)
{
    QImage image(kW, kH, QImage::Format_ARGB32);
    for (auto _ : state) {
        QPainter p(&image);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(0, 0, kW, kH, QColor(0x99, 0x66, 0x33, 0));
        p.end();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

void GdiBlit(benchmark::State& state)
{
    const DWORD rop = DWORD(state.range(0));
    gdi::Surface src(kW, kH), dst(kW, kH);
    src.Fill(0x00112233);
    gdi::Dc srcDc(&src), dstDc(&dst);
    for (auto _ : state) {
        gdi::BitBlt(dstDc, 0, 0, kW, kH, &srcDc, 0, 0, rop);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

void QPainterBlit(benchmark::State& state)
{
    QImage src(kW, kH, QImage::Format_ARGB32), dst(kW, kH, QImage::Format_ARGB32);
    src.fill(0x00112233);
    for (auto _ : state) {
        QPainter p(&dst);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, src);
        p.end();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}

} // namespace

BENCHMARK(GdiFill)->Unit(benchmark::kMillisecond);
BENCHMARK(QPainterFill)->Unit(benchmark::kMillisecond);
BENCHMARK(GdiBlit)->Arg(SRCCOPY)->Arg(SRCINVERT)->Unit(benchmark::kMillisecond);
BENCHMARK(QPainterBlit)->Unit(benchmark::kMillisecond);
