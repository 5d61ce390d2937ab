#pragma once
// A form with a fixed system for the control-base tests, and helpers to probe pixels.
#include "tests/platform/vcl/VclTestSupport.h"
#include "platform/gdi/Surface.h"
#include "toolkit/controls/cxControls.h"

#include <gtest/gtest.h>

class ControlBaseTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        // The painters' scroll-bar page bitmaps and the root look and feel live in these units.
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 300, 250);
    }
    void TearDown() override
    {
        if (form)
            form->Free();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    // Paints the control now and gives the colour of a pixel of its surface.
    static TColor PixelOf(TWinControl* c, int x, int y)
    {
        c->Update();
        return TColor(gdi::PixelToColor(c->Surface().Pixel(x, y)));
    }
    TForm* form = nullptr;
};

inline TColor Sys(TColor c) { return TColor(ColorToRGB(c)); }
