#pragma once
// A form holding a vertical grid on the fake font (16 pixels high, so rows are 18 pixels), with a
// dotNet stand-in for the paint style's layout helper (divider 1, indent = expand button + 4).
#include "tests/toolkit/editors/EditorsTestSupport.h"
#include "platform/gdi/Text.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace vgtest {

using namespace cx;

class DotNetCalcHelper : public TcxvgCustomPaintStyleCalcHelper {
    RTL_CLASS(DotNetCalcHelper, TcxvgCustomPaintStyleCalcHelper)
    using TcxvgCustomPaintStyleCalcHelper::TcxvgCustomPaintStyleCalcHelper;
    int GetDividerWidth() override { return 1; }
    int GetIndentWidth() override { return ViewInfo()->Grid()->GetLookAndFeelPainter()->ExpandButtonSize() + 4; }
    TColor GetBandBorderColor() override { return clBtnShadow; }
};

// Counts the row notices that reach the grid.
class TestGrid : public TcxVerticalGrid {
    RTL_CLASS(TestGrid, TcxVerticalGrid)
    explicit TestGrid(TComponent* owner) : TcxVerticalGrid(owner) { RecreateViewInfo(); }
    TcxvgCustomPaintStyleCalcHelperClass GetCalcHelperClass() const override
    {
        return TcxvgCustomPaintStyleCalcHelperClass::Of<DotNetCalcHelper>();
    }
    void RowsChanged() override
    {
        ++rowNotices;
        TcxVerticalGrid::RowsChanged();
    }
    int rowNotices = 0;
};

class VGridTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        cxVGridUnit::Initialize();
        form->SetBounds(100, 100, 400, 400);
        grid = new TestGrid(form);
        grid->Font()->SetHeight(-16);
    }
    void TearDown() override
    {
        form->Free();
        form = nullptr;
        cxVGridUnit::Finalize();
        gdi::SetFontEngine(nullptr);
        ControlBaseTest::TearDown();
    }
    // Puts the grid on the form and gives it its window.
    void Show(int width, int height)
    {
        grid->SetBounds(0, 0, width, height);
        grid->SetParent(form);
        grid->HandleNeeded();
        grid->LayoutChanged();
    }
    TcxEditorRow* AddEditor(const std::string& caption = "")
    {
        auto* row = grid->Add<TcxEditorRow>();
        if (!caption.empty())
            row->Properties()->SetCaption(caption);
        return row;
    }
    TestGrid* grid = nullptr;
};

} // namespace vgtest
