// The grid's styles, the row styles and the style sheet: which style gives each look, and that
// a style change reaches the screen.
#include "tests/toolkit/grid/VGridPaintTestSupport.h"
#include "toolkit/grid/cxVGridStyles.h"

using namespace vgtest;

namespace {

class VGridStylesTest : public VGridPaintTest {
protected:
    TcxStyle* NewStyle(TColor color, TColor textColor = clDefault)
    {
        auto* style = new TcxStyle(form);
        style->SetColor(color);
        style->SetTextColor(textColor);
        return style;
    }
    TcxVerticalGridStyles* Styles() { return grid->Styles(); }
};

} // namespace

// Each look takes, value by value, the first of: the event's style, the row's own style, the
// grid's style; what none assigns comes from the paint style.
TEST_F(VGridStylesTest, EventThenRowThenGridThenPaintStyle)
{
    TcxCategoryRow* cat = AddCategory("Group");
    TcxEditorRow* row = AddEditor("Row");
    Show(220, 120);
    TcxStyle* gridStyle = NewStyle(clRed, clBlue);
    TcxStyle* rowStyle = NewStyle(clGreen);
    TcxStyle* eventStyle = NewStyle(clDefault, clYellow);   // only a text colour

    struct Look {
        const char* name;
        std::function<TcxViewParams()> params;
        std::function<void(TcxStyle*)> setGrid;
        std::function<void(TcxStyle*)> setRow;
        TColor defaultColor;
    };
    TcxCustomEditorRowProperties* props = row->Properties();
    const Look looks[] = {
        {"header", [&] { return Styles()->GetHeaderParams(row); }, [&](TcxStyle* s) { Styles()->SetHeader(s); },
         [&](TcxStyle* s) { static_cast<TcxEditorRowStyles*>(row->Styles())->SetHeader(s); }, clWindow},
        {"category", [&] { return Styles()->GetCategoryParams(cat); }, [&](TcxStyle* s) { Styles()->SetCategory(s); },
         [&](TcxStyle* s) { static_cast<TcxCategoryRowStyles*>(cat->Styles())->SetHeader(s); }, clBtnFace},
        {"content", [&] { return Styles()->GetContentParams(props, false, 0); },
         [&](TcxStyle* s) { Styles()->SetContent(s); },
         [&](TcxStyle* s) { static_cast<TcxEditorRowStyles*>(row->Styles())->SetContent(s); }, clWindow},
    };
    Styles()->OnGetHeaderStyle = [&](TObject* sender, TcxCustomRow* r, TcxStyle*& style) {
        EXPECT_EQ(sender, grid);
        if (r == row)
            style = eventStyle;
    };
    Styles()->OnGetCategoryStyle = [&](TObject*, TcxCustomRow*, TcxStyle*& style) { style = eventStyle; };
    Styles()->OnGetContentStyle = [&](TObject*, TcxCustomEditorRowProperties* p, bool focused, int record,
                                      TcxStyle*& style) {
        EXPECT_EQ(p, props);
        EXPECT_FALSE(focused);
        EXPECT_EQ(record, 0);
        style = eventStyle;
    };
    for (const Look& look : looks) {
        TcxViewParams p = look.params();
        EXPECT_EQ(p.Color, look.defaultColor) << look.name;   // the event gives no colour
        EXPECT_EQ(p.TextColor, clYellow) << look.name;
        look.setGrid(gridStyle);
        p = look.params();
        EXPECT_EQ(p.Color, clRed) << look.name;
        EXPECT_EQ(p.TextColor, clYellow) << look.name;   // the event's value still comes first
        look.setRow(rowStyle);
        EXPECT_EQ(look.params().Color, clGreen) << look.name;
        look.setRow(nullptr);
        look.setGrid(nullptr);
    }
    // Without an event the grid's own text colour shows.
    Styles()->OnGetHeaderStyle = nullptr;
    Styles()->SetHeader(gridStyle);
    EXPECT_EQ(Styles()->GetHeaderParams(row).TextColor, clBlue);
    EXPECT_EQ(Styles()->GetHeaderParams(row).Font, grid->Font());
    EXPECT_EQ(Styles()->GetCategoryParams(cat).Font, grid->CategoryFont());
}

TEST_F(VGridStylesTest, FocusedHeaderTakesSelectionThenTheHeaderEventsValues)
{
    AddEditor("A");
    TcxEditorRow* row = AddEditor("B");
    Show(220, 120);
    grid->SetFocusedRow(row);
    // Not focused: the inactive look; focused: the selection.
    EXPECT_EQ(Styles()->GetSelectedHeaderParams(row).Color, clBtnFace);
    form->Show();
    grid->SetFocus();
    vcl::DrainPostedMessages();
    ASSERT_TRUE(grid->Focused());
    EXPECT_EQ(Styles()->GetSelectedHeaderParams(row).Color, clHighlight);
    EXPECT_EQ(Styles()->GetSelectedHeaderParams(row).TextColor, clHighlightText);
    Styles()->SetSelection(NewStyle(clLime));
    EXPECT_EQ(Styles()->GetSelectedHeaderParams(row).Color, clLime);
    TcxStyle* eventStyle = NewStyle(clDefault, clRed);
    Styles()->OnGetHeaderStyle = [&](TObject*, TcxCustomRow*, TcxStyle*& style) { style = eventStyle; };
    const TcxViewParams p = Styles()->GetSelectedHeaderParams(row);
    EXPECT_EQ(p.Color, clLime);
    EXPECT_EQ(p.TextColor, clRed);
    // The focused header on screen carries these.
    grid->LayoutChanged();
    grid->Update();
    const TRect h = RowInfo(row)->HeaderInfo()->HeaderRect;
    EXPECT_EQ(Pixel(h.Right - 3, h.Top + 3), Sys(clLime));
}

TEST_F(VGridStylesTest, SheetFillsUnsetSlotsAndStyleChangesRepaint)
{
    TcxEditorRow* row = AddEditor("Row");
    TcxEditorRow* other = AddEditor("Other");
    Show(220, 120);
    auto* sheet = new TcxVerticalGridStyleSheet(form);
    sheet->Styles()->SetHeader(NewStyle(clAqua));
    sheet->Styles()->SetContent(NewStyle(clFuchsia));
    Styles()->SetStyleSheet(sheet);
    EXPECT_EQ(Styles()->StyleSheet(), sheet);
    Styles()->SetContent(NewStyle(clOlive));   // the grid's own slot wins over the sheet
    grid->Update();
    const TRect h = RowInfo(other)->HeaderInfo()->HeaderRect;
    EXPECT_EQ(Pixel(h.Right - 3, h.Top + 3), Sys(clAqua));
    const TRect v = RowInfo(other)->ValuesInfo(0)->Bounds;
    EXPECT_EQ(Pixel(v.Left + 5, v.Top + 5), Sys(clOlive));

    // A row's own style and a change of a style in use both show at the next paint.
    TcxStyle* own = NewStyle(clMaroon);
    static_cast<TcxEditorRowStyles*>(row->Styles())->SetHeader(own);
    grid->Update();
    const TRect rh = RowInfo(row)->HeaderInfo()->HeaderRect;
    EXPECT_EQ(Pixel(rh.Right - 3, rh.Top + 3), Sys(clMaroon));
    own->SetColor(clNavy);
    grid->Update();
    EXPECT_EQ(Pixel(rh.Right - 3, rh.Top + 3), Sys(clNavy));
    EXPECT_EQ(Pixel(h.Right - 3, h.Top + 3), Sys(clAqua));

    // A sheet of another grid kind's styles is refused.
    auto* foreign = new TcxCustomStyleSheet(form);
    Styles()->SetStyleSheet(foreign);
    EXPECT_EQ(Styles()->StyleSheet(), sheet);
}

TEST_F(VGridStylesTest, AssignCopiesSlotsAndEvents)
{
    Show(220, 120);
    TcxVerticalGrid* second = new TcxVerticalGrid(form);
    TcxStyle* header = NewStyle(clRed);
    TcxStyle* category = NewStyle(clGreen);
    TcxStyle* incSearch = NewStyle(clBlue);
    TcxStyle* content = NewStyle(clYellow);
    Styles()->SetHeader(header);
    Styles()->SetCategory(category);
    Styles()->SetIncSearch(incSearch);
    Styles()->SetContent(content);
    int calls = 0;
    Styles()->OnGetHeaderStyle = [&](TObject*, TcxCustomRow*, TcxStyle*&) { ++calls; };
    second->Styles()->Assign(Styles());
    EXPECT_EQ(second->Styles()->Header(), header);
    EXPECT_EQ(second->Styles()->Category(), category);
    EXPECT_EQ(second->Styles()->IncSearch(), incSearch);
    EXPECT_EQ(second->Styles()->Content(), content);
    EXPECT_EQ(second->Styles()->GetIncSearchParams().Color, clBlue);
    second->Styles()->GetHeaderParams(nullptr);
    EXPECT_EQ(calls, 1);

    // Row styles copy their own slots.
    TcxEditorRow* a = AddEditor("A");
    TcxEditorRow* b = AddEditor("B");
    auto* aStyles = static_cast<TcxEditorRowStyles*>(a->Styles());
    aStyles->SetHeader(header);
    aStyles->SetContent(content);
    b->Styles()->Assign(aStyles);
    EXPECT_EQ(static_cast<TcxEditorRowStyles*>(b->Styles())->Header(), header);
    EXPECT_EQ(static_cast<TcxEditorRowStyles*>(b->Styles())->Content(), content);
}
