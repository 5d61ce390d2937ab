#pragma once
// A form holding a vertical grid on the fake font (16 pixels high, so rows are 18 pixels), with a
// dotNet stand-in for the paint style's layout helper (divider 1, indent = expand button + 4).
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "platform/gdi/Text.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditRepositoryItems.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridViewInfo.h"

#include <QImage>
#include <QPainter>

namespace vgtest {

using namespace cx;

class DotNetCalcHelper : public TcxvgCustomPaintStyleCalcHelper {
    RTL_CLASS(DotNetCalcHelper, TcxvgCustomPaintStyleCalcHelper)
    using TcxvgCustomPaintStyleCalcHelper::TcxvgCustomPaintStyleCalcHelper;
    TBrush* CreateHorzLineBrush() override { return SolidBrush(); }
    TBrush* CreateVertLineBrush() override { return SolidBrush(); }
    int GetDividerWidth() override { return 1; }
    int GetIndentWidth() override { return Grid()->GetLookAndFeelPainter()->ExpandButtonSize() + 4; }
    void AddBoundHeaderLines(TcxCustomRowHeaderInfo* header) override
    {
        header->AddBottomHorzLine(header->HeaderRect);
    }
    void AddDivider(TLineInfoList* lines, const TRect& r, bool separator, TColor color) override
    {
        // The divider stands right of the header rectangle, one pixel wide.
        if (ViewInfo()->DividerWidth() > 0)
            lines->Add(r.Right, r.Top, 1, r.Height() + ViewInfo()->HorzLineWidth(),
                       color == clNone ? Grid()->OptionsView()->GridLineColor() : color);
    }
    void AddHeaderIndentLines(TcxCustomRowHeaderInfo* header, const TRect& r, bool rightLine, bool bottomLine,
                              bool isCategory, const TcxViewParams&) override
    {
        if (header->Row() == watched)
            indentCalls.push_back({r, rightLine, bottomLine, isCategory});
        if (bottomLine)
            header->LinesInfo.Add(r.Left, r.Bottom, r.Width(), ViewInfo()->HorzLineWidth(), clBtnFace);
        if (rightLine)
            header->LinesInfo.Add(r.Right, r.Top, ViewInfo()->VertLineWidth(), r.Height(), clBtnFace);
    }
    void CalcPaintViewParamsLines(TcxCustomRowViewInfo*, TcxCustomRow*) override {}
    void ChangeFocusedRow(TcxCustomRow* newRow, TcxCustomRow* oldRow, TRect& updateRect) override
    {
        for (TcxCustomRow* row : {newRow, oldRow})
            if (TcxCustomRowViewInfo* rowViewInfo = ViewInfo()->GetRowViewInfo(row)) {
                ++focusRecalcs;
                updateRect = cxRectIsEmpty(updateRect) ? rowViewInfo->RowRect : cxRectUnion(updateRect, rowViewInfo->RowRect);
            }
    }
    TColor GetCategoryColor() override { return clBtnFace; }
    TRect GetCategoryFocusRect(TcxCustomRowHeaderInfo* header) override
    {
        return header->Focused && header->CaptionCount() > 0 ? header->Captions(0)->CaptionTextRect : TRect{};
    }
    TColor GetCategoryTextColor() override { return clGrayText; }
    TColor GetContentColor(bool) override { return clWindow; }
    TColor GetContentTextColor() override { return clWindowText; }
    TColor GetHeaderColor() override { return clWindow; }
    TColor GetHeaderTextColor() override { return clWindowText; }
    TcxViewParams GetIndentViewParams(TcxCustomRow* row, TcxCustomRow* parentRow) override
    {
        return TcxViewParams{nullptr, dynamic_cast<TcxCategoryRow*>(parentRow) ? clBtnFace : clWindow,
                             Grid()->Font(), clWindowText};
    }
    bool IsDrawValueFocusRect() override { return true; }
    static inline int focusRecalcs = 0;
    // The indent cells a watched row's header asked lines for, in order.
    struct IndentCall {
        TRect rect;
        bool rightLine, bottomLine, isCategory;
    };
    static inline TcxCustomRow* watched = nullptr;
    static inline std::vector<IndentCall> indentCalls;

private:
    TBrush* SolidBrush()
    {
        auto* brush = new TBrush;
        brush->SetColor(Grid()->OptionsView()->GridLineColor());
        return brush;
    }
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
        // The value types and editor registries the rows' values need, in start-up order.
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditRepositoryItemsUnit::Initialize();
        cxEditDataRegisteredRepositoryItemsUnit::Initialize();
        cxInplaceContainerUnit::Initialize();
        cxVGridUnit::Initialize();
        form->SetBounds(100, 100, 400, 400);
        grid = new TestGrid(form);
        grid->Font()->SetHeight(-16);
    }
    void TearDown() override
    {
        if (form)
            form->Free();
        form = nullptr;
        cxVGridUnit::Finalize();
        cxInplaceContainerUnit::Finalize();
        cxEditDataRegisteredRepositoryItemsUnit::Finalize();
        cxEditRepositoryItemsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
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
    TcxEditorRow* AddEditor(const std::string& caption = "", const std::string& valueType = "")
    {
        auto* row = grid->Add<TcxEditorRow>();
        if (!valueType.empty())
            row->Properties()->DataBinding()->SetValueType(valueType);
        if (!caption.empty())
            row->Properties()->SetCaption(caption);
        return row;
    }
    // The delay dialog's grid as its form builds it: 50 rows owned by the form, hung under the
    // grid inside one update, each typed before it joins when a value type is given.
    std::vector<TcxEditorRow*> BuildDelayRows(const std::string& valueType = "")
    {
        grid->OptionsView()->SetScrollBars(ssVertical);
        grid->OptionsView()->SetRowHeaderWidth(114);
        std::vector<TcxEditorRow*> rows;
        grid->BeginUpdate();
        for (int i = 0; i < 50; ++i) {
            auto* row = new TcxEditorRow(form);
            if (!valueType.empty())
                row->GetProperties()->DataBinding()->SetValueType(valueType);
            row->SetParentComponent(grid);
            rows.push_back(row);
        }
        grid->EndUpdate();
        return rows;
    }
    TestGrid* grid = nullptr;
};

// Paints a window and its windowed children into one picture (origin: the picture's top left on
// the screen).
inline void Compose(QImage& image, TWinControl* c, const TPoint& origin)
{
    c->Update();
    QPainter painter(&image);
    const TPoint at = c->ClientToScreen({0, 0});
    painter.drawImage(at.X - origin.X, at.Y - origin.Y, c->Surface().Image().convertToFormat(QImage::Format_RGB32));
    painter.end();
    for (int i = 0; i < c->ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(c->Controls(i)); child && child->Visible())
            Compose(image, child, origin);
}

} // namespace vgtest
