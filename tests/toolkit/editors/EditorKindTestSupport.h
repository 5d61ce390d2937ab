#pragma once
// A shown, active form with the editor units started and the fake font, for the tests of one
// editor kind; the form goes before the units shut down.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/Text.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"

class EditorKindTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        cx::cxEditConstsUnit::Initialize();
        cx::cxEditUnit::Initialize();
        cx::cxEditPaintUtilsUnit::Initialize();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        ASSERT_TRUE(Activate(form));
    }
    void TearDown() override
    {
        FreeForm();
        cx::cxEditPaintUtilsUnit::Finalize();
        cx::cxEditUnit::Finalize();
        cx::cxEditConstsUnit::Finalize();
        gdi::SetFontEngine(nullptr);
        ControlBaseTest::TearDown();
    }
    // A kind's own unit shuts down after the form and before the editor units.
    void FreeForm()
    {
        if (form)
            form->Free();
        form = nullptr;
    }
};
