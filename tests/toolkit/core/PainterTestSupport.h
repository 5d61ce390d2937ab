#pragma once
// A 32-bit bitmap with a toolkit canvas on it, the painter unit started, and pixel probes.
#include "platform/gdi/Text.h"
#include "toolkit/core/cxLookAndFeelPainters.h"

#include <gtest/gtest.h>

#include <memory>

class PainterCanvasTest : public ::testing::Test {
protected:
    static constexpr TColor kBack = 0x123456;
    TBitmap bitmap;
    std::unique_ptr<TcxCanvas> canvas;

    void SetUp() override
    {
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        cxLookAndFeelPaintersUnit::Initialize();
        Reset(64, 64);
    }
    void TearDown() override
    {
        canvas.reset();
        cxLookAndFeelPaintersUnit::Finalize();
        gdi::SetFontEngine(nullptr);
    }
    void Reset(int w, int h)
    {
        canvas.reset();
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(w, h);
        bitmap.Canvas()->Brush()->SetColor(kBack);
        bitmap.Canvas()->FillRect({0, 0, w, h});
        canvas = std::make_unique<TcxCanvas>(bitmap.Canvas());
        canvas->GetFont()->SetHeight(-8);
    }
    std::uint32_t Raw(int x, int y) { return bitmap.ScanLine(y)[x]; }
    bool Is(int x, int y, TColor c) { return Raw(x, y) == gdi::ColorToPixel(ColorToRef(c)); }
    // All pixels of the bitmap, to compare two drawings.
    std::vector<std::uint32_t> Snapshot()
    {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < bitmap.GetHeight(); ++y)
            for (int x = 0; x < bitmap.GetWidth(); ++x)
                pixels.push_back(Raw(x, y));
        return pixels;
    }
};
