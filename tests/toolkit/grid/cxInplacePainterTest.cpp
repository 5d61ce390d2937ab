// Painting an editing control's value cells: clipping and the editor's rectangle, the painter
// (plain and buffered), the custom-draw hook, the control's styles and the shared edit style.
#include "tests/toolkit/grid/InplacePaintTestSupport.h"

namespace {

const TColor White = TColor(ColorToRGB(clWindow));
const TColor Black = TColor(ColorToRGB(clWindowText));

} // namespace

TEST_F(InplacePaintTest, CellClippingGivesVisiblePartContentAndEditorRectangle)
{
    Show();
    TcxEditCellViewInfo cell(grid->ViewInfo(), nullptr, 0);
    const TRect client{0, 0, 200, 60};
    struct Case {
        TcxBorders borders;
        TRect display;
        TRect visible, content, edit;
        bool clipped;
    };
    const TcxBorders rb = cxBorder(bRight) | cxBorder(bBottom);
    const Case cases[] = {
        // Without borders the editor sits one pixel inside the visible part on every side.
        {0, {10, 10, 70, 30}, {10, 10, 70, 30}, {10, 10, 70, 30}, {11, 11, 69, 29}, false},
        {rb, {10, 10, 70, 30}, {10, 10, 70, 30}, {10, 10, 69, 29}, {11, 11, 68, 28}, false},
        {cxBordersAll, {10, 10, 70, 30}, {10, 10, 70, 30}, {11, 11, 69, 29}, {12, 12, 68, 28}, false},
        // Half scrolled out to the left: only the visible content takes the editor.
        {rb, {-30, 0, 30, 20}, {0, 0, 30, 20}, {-30, 0, 29, 19}, {1, 1, 28, 18}, true},
        // Below the client area: nothing visible, no editor room.
        {rb, {0, 70, 60, 90}, {0, 0, 0, 0}, {0, 70, 59, 89}, {0, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.display.Left << "," << c.display.Top << " borders " << c.borders);
        cell.Borders = c.borders;
        cell.CheckClipping(c.display, client);
        EXPECT_EQ(cell.VisibleBounds, c.visible);
        EXPECT_EQ(cell.ContentBounds, c.content);
        EXPECT_EQ(cell.EditRect(), c.edit);
        EXPECT_EQ(cell.IsClipped, c.clipped);
        EXPECT_EQ(cell.Visible, !cxRectIsEmpty(c.visible));
    }
    // Scrolling moves the cell, clips it again and asks for a new detailed calculation.
    cell.CheckClipping({10, 10, 70, 30}, client);
    cell.DetailsCalculated = true;
    cell.Scroll(-40, 0);
    EXPECT_EQ(cell.VisibleBounds, (TRect{0, 10, 30, 30}));
    EXPECT_FALSE(cell.DetailsCalculated);
}

TEST_F(InplacePaintTest, CellsAreCalculatedOnlyWhenFirstPaintedAndDrawTheirText)
{
    grid->AddTextItem("Meter 7");
    grid->AddTextItem("");
    grid->AddTextItem("Hidden");   // x 120..180 is visible, the fourth is not
    grid->AddTextItem("Gone");
    grid->SetBounds(0, 0, 170, 60);
    Activate(form);
    grid->LayoutChanged();
    for (int i = 0; i < grid->ViewInfo()->CellCount(); ++i)
        EXPECT_EQ(Cell(i)->CellEditViewInfo, nullptr) << i;
    grid->Invalidate();
    grid->Update();
    EXPECT_TRUE(Cell(0)->DetailsCalculated);
    ASSERT_NE(Cell(0)->CellEditViewInfo, nullptr);
    EXPECT_EQ(VarToStr(Cell(0)->DisplayValue), "Meter 7");
    // The cell shares the item's view data; the editor view info was made for its properties.
    EXPECT_EQ(Cell(0)->CellViewData, Cell(0)->Item->SharedViewData());
    EXPECT_FALSE(Cell(0)->OwnsViewData);
    EXPECT_EQ(Cell(3)->CellEditViewInfo, nullptr) << "a cell out of sight is never calculated";
    // The text is drawn in the content text colour inside the first cell; the empty one stays
    // clear; the grid line right of each cell is not painted by the base painter.
    EXPECT_GT(Count({0, 0, 59, 19}, clWindowText), 20);
    EXPECT_EQ(Count({60, 0, 119, 19}, clWindowText), 0);
    EXPECT_EQ(Pixel(100, 40), White) << "the background fills the rest of the client area";
    SavePng("cellpaint-row.png");
}

TEST_F(InplacePaintTest, ClippedCellIsPaintedOnlyInsideItsVisiblePart)
{
    grid->AddTextItem("WWWWWWWW");
    grid->AddTextItem("WWWWWWWW");
    grid->Layout()->ScrollLeft = 30;
    Show();
    ASSERT_TRUE(Cell(0)->IsClipped);
    // The first cell's text would reach x 29 from -29; painting stops at its visible part and
    // the second cell starts clean at 30.
    EXPECT_GT(Count({0, 0, 29, 19}, clWindowText), 0);
    EXPECT_EQ(Cell(1)->VisibleBounds, (TRect{30, 0, 90, 24}));
    EXPECT_EQ(Pixel(30, 10), White) << "the second cell's content offset column";
}

TEST_F(InplacePaintTest, CustomDrawBrushColourStaysForThatPaintAndDoneSkipsTheCell)
{
    grid->AddTextItem("A");
    grid->AddTextItem("B");
    std::vector<TcxEditCellViewInfo*> asked;
    grid->OnCustomDrawCell = [&](TObject*, TcxCanvas* canvas, TcxEditCellViewInfo* cell, bool& done) {
        asked.push_back(cell);
        if (cell->Item == grid->Items(0))
            canvas->SetBrushColor(clYellow);   // no drawing: the cell paints itself in yellow
        else {
            canvas->FillRect(cell->Bounds, clRed);
            done = true;
        }
    };
    Show();
    ASSERT_GE(asked.size(), 2u);
    EXPECT_EQ(Pixel(30, 17), TColor(ColorToRGB(clYellow)));
    EXPECT_EQ(Count({60, 0, 120, 24}, clRed), 60 * 24) << "the handler's drawing stays";
    EXPECT_EQ(Cell(0)->ViewParams.Color, clWindow) << "the cell's own look is back after the paint";
    // Without the handler the cell is white again.
    grid->OnCustomDrawCell = nullptr;
    grid->Invalidate();
    EXPECT_EQ(Pixel(30, 17), White);
}

TEST_F(InplacePaintTest, BufferedPaintPutsTheSamePixelsOnTheSurface)
{
    grid->AddTextItem("Value 1");
    grid->AddTextItem("Value 2");
    Show();
    grid->Invalidate();
    const QImage plain = (grid->Update(), grid->Surface().Image().copy());
    grid->Painter()->SetBuffered(true);
    grid->RepaintAll = true;
    grid->Invalidate();
    grid->Update();
    EXPECT_EQ(grid->Painter()->BufferedPaintCount(), 1);
    EXPECT_FALSE(grid->RepaintAll) << "the full-repaint request is used up";
    EXPECT_EQ(grid->Surface().Image(), plain);
    grid->Painter()->SetBuffered(false);
    grid->Invalidate();
    grid->Update();
    EXPECT_EQ(grid->Painter()->BufferedPaintCount(), 1);
    EXPECT_EQ(grid->Surface().Image(), plain);
}

TEST_F(InplacePaintTest, ControlStylesDefaultToTheLookAndFeelAndFollowFocus)
{
    grid->AddTextItem("x");
    Show();
    TcxCustomControlStyles* styles = grid->Styles();
    TcxCustomLookAndFeelPainterClass painter = grid->GetLookAndFeelPainter();
    struct Row {
        int index;
        TColor color, text;
    };
    const Row rows[] = {
        {ecs_Content, painter->DefaultContentColor(), painter->DefaultContentTextColor()},
        {ecs_Background, painter->DefaultContentColor(), painter->DefaultContentTextColor()},
        {ecs_Inactive, painter->DefaultInactiveColor(), painter->DefaultInactiveTextColor()},
        {ecs_Selection, painter->DefaultSelectionColor(), painter->DefaultSelectionTextColor()},
    };
    for (const Row& r : rows) {
        TcxViewParams p;
        styles->GetDefaultViewParams(r.index, nullptr, p);
        EXPECT_EQ(p.Color, r.color) << r.index;
        EXPECT_EQ(p.TextColor, r.text) << r.index;
        EXPECT_EQ(p.Font, grid->Font()) << r.index;
        TcxStyle* def = styles->GetDefaultStyle(r.index, nullptr);
        EXPECT_EQ(def->Color(), r.color);
        EXPECT_EQ(def->AssignedValues(), (TcxStyleValues{svColor, svFont, svTextColor}));
    }
    // An assigned background reaches the view info (and the painted background) with the next
    // layout.
    TcxStyle background(nullptr);
    background.SetColor(clAqua);
    styles->SetBackground(&background);
    grid->LayoutChanged();
    EXPECT_EQ(grid->ViewInfo()->BackgroundParams.Color, clAqua);
    EXPECT_EQ(Pixel(150, 50), TColor(ColorToRGB(clAqua)));
    styles->SetBackground(nullptr);
    // Selection while focused, Inactive otherwise.
    grid->Controller()->SetFocusedFlag(true);
    EXPECT_EQ(styles->GetSelectionParams().Color, painter->DefaultSelectionColor());
    grid->Controller()->SetFocusedFlag(false);
    form->ActiveControl();
    if (!grid->Focused()) {
        EXPECT_EQ(styles->GetSelectionParams().Color, painter->DefaultInactiveColor());
    }
}

TEST_F(InplacePaintTest, AssignEditStyleGivesTheSharedStyleTheCellsLook)
{
    TcxTestItem* item = grid->AddTextItem("x");
    item->Options()->SetShowEditButtons(eisbNever);
    Show();
    grid->Update();
    TcxEditCellViewInfo* cell = Cell(0);
    TFont font;
    font.SetHeight(-20);
    cell->ViewParams = TcxViewParams{nullptr, clLime, &font, clMaroon};
    TcxEditStyle* style = grid->EditStyle();
    style->SetFont(grid->Font());   // an own font the cell's look replaces
    cxAssignEditStyle(cell);
    EXPECT_EQ(style->GetColor(), clLime);
    EXPECT_EQ(style->GetTextColor(), clMaroon);
    EXPECT_EQ(style->GetFont()->GetHeight(), -20);
    EXPECT_EQ(style->GetButtonTransparency(), ebtHideInactive);
    EXPECT_TRUE(style->GetAssignedValues() & cxStyleValue(csvColor));
    EXPECT_FALSE(cell->CellEditViewInfo->Transparent);
    // A cell without a font of its own takes the font of its edit view parameters. (The option
    // lays the control out again: the cell is a new one.)
    item->Options()->SetShowEditButtons(eisbAlways);
    grid->Update();
    cell = Cell(0);
    cell->ViewParams.Font = nullptr;
    cxAssignEditStyle(cell);
    EXPECT_EQ(style->GetFont()->GetHeight(), grid->Font()->GetHeight());
    EXPECT_EQ(style->GetButtonTransparency(), ebtNone);
    // The incremental-search highlight inverts the cell's colours.
    cell->ViewParams = TcxViewParams{nullptr, TColor(0x00FF8000), nullptr, TColor(0x00000080)};
    EXPECT_EQ(cell->GetSelectedBKColor(), TColor(0x00007FFF));
    EXPECT_EQ(cell->GetSelectedTextColor(), TColor(0x00FFFF7F));
}

TEST_F(InplacePaintTest, AutoHeightMeasuresTheCellOtherwiseTheDefaultHeight)
{
    grid->AddTextItem("one");
    Show();
    TcxEditCellViewInfo* cell = Cell(0);
    const int single = cell->CalculateEditHeight();
    EXPECT_EQ(single, grid->ViewInfo()->DefaultEditHeight());
    EXPECT_GE(single, 16);
    // With automatic height the cell is measured in its own font, plus its bottom grid line.
    TcxStyle big(nullptr);
    TFont font;
    font.SetHeight(-30);
    big.SetFont(&font);
    grid->Styles()->SetBackground(&big);
    grid->OptionsView()->SetCellAutoHeight(true);
    grid->Update();
    cell = Cell(0);   // the style and the option laid the control out again
    const int grown = cell->CalculateEditHeight();
    EXPECT_GE(grown, single + 14);
    // Refresh reports the change so that the control lays out again; the same height again is no
    // change.
    EXPECT_TRUE(cell->Refresh(true));
    EXPECT_EQ(cell->CalculatedHeight, grown);
    EXPECT_FALSE(cell->Refresh(true));
    grid->Styles()->SetBackground(nullptr);
}


TEST_F(InplacePaintTest, PaintDuringAnUpdateLockDrawsNoCellOfTheWaitingLayout)
{
    grid->AddTextItem("Meter 7");
    TcxTestItem* gone = grid->AddTextItem("Gone");
    Show();
    EXPECT_GT(Count({60, 0, 119, 23}, clWindowText), 0);
    grid->BeginUpdate();
    gone->Free();   // its cell stays in the waiting layout
    grid->Invalidate();
    EXPECT_EQ(Count({0, 0, 200, 60}, clWindowText), 0) << "only the background until the new layout";
    grid->EndUpdate();
    grid->Invalidate();
    EXPECT_GT(Count({0, 0, 59, 23}, clWindowText), 0);
    EXPECT_EQ(Count({60, 0, 119, 23}, clWindowText), 0);
    EXPECT_EQ(grid->ViewInfo()->CellCount(), 1);
}
