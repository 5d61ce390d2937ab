#pragma once
// A form holding a vertical grid with its own paint-style helpers and painter, on the fake font
// (16 pixels high, rows of 18 pixels).
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "platform/gdi/Text.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridController.h"
#include "toolkit/grid/cxVGridPainter.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace vgtest {

using namespace cx;

class VGridPaintTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        cxVGridUnit::Initialize();
        form->SetBounds(100, 100, 400, 400);
        grid = new TcxVerticalGrid(form);
        grid->SetName("Grid");
        grid->Font()->SetHeight(-16);
        grid->RecreateViewInfo();
    }
    void TearDown() override
    {
        form->Free();
        form = nullptr;
        cxVGridUnit::Finalize();
        gdi::SetFontEngine(nullptr);
        ControlBaseTest::TearDown();
    }
    void Show(int width, int height)
    {
        grid->SetBounds(0, 0, width, height);
        grid->SetParent(form);
        grid->HandleNeeded();
        Activate(form);
        grid->LayoutChanged();
    }
    TcxEditorRow* AddEditor(const std::string& caption = "", TcxCustomRow* parent = nullptr)
    {
        auto* row = parent ? grid->AddChild<TcxEditorRow>(parent) : grid->Add<TcxEditorRow>();
        if (!caption.empty())
            row->Properties()->SetCaption(caption);
        return row;
    }
    TcxCategoryRow* AddCategory(const std::string& caption)
    {
        auto* row = grid->Add<TcxCategoryRow>();
        row->Properties()->SetCaption(caption);
        return row;
    }
    TcxCustomRowViewInfo* RowInfo(TcxCustomRow* row) { return grid->ViewInfo()->GetRowViewInfo(row); }
    TColor Pixel(int x, int y) { return PixelOf(grid, x, y); }
    TcxvgDotNetStyleCalcHelper* Helper()
    {
        return dynamic_cast<TcxvgDotNetStyleCalcHelper*>(grid->ViewInfo()->CalcHelper());
    }
    TcxVerticalGrid* grid = nullptr;
};

} // namespace vgtest
