#pragma once
// A 32-bit surface in one colour with a device context on it, for the image library's tests.
#include "platform/vcl/Graphics.h"

#include <cstdint>

struct GpCanvas {
    TBitmap bitmap;
    explicit GpCanvas(int w, int h, TColor fill = clWhite)
    {
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(w, h);
        bitmap.Canvas()->Brush()->SetColor(fill);
        bitmap.Canvas()->FillRect({0, 0, w, h});
    }
    HDC Dc() { return bitmap.Canvas()->GetHandle(); }
    std::uint32_t At(int x, int y) { return bitmap.ScanLine(y)[x]; }
    int Count(std::uint32_t pixel)
    {
        int n = 0;
        for (int y = 0; y < bitmap.GetHeight(); ++y)
            for (int x = 0; x < bitmap.GetWidth(); ++x)
                n += At(x, y) == pixel;
        return n;
    }
};
