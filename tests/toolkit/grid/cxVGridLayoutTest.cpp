// The single-record layout, the row headers and the bands layout: rectangles and lines as the
// painter and the hit test read them.
#include "VGridTestSupport.h"

#include "platform/vcl/ImgList.h"

#include <memory>

using namespace vgtest;

namespace {
class VGridLayoutTest : public VGridTest {
protected:
    void TearDown() override
    {
        DotNetCalcHelper::watched = nullptr;
        DotNetCalcHelper::indentCalls.clear();
        VGridTest::TearDown();
    }
    TcxvgCustomViewInfo* vi() { return grid->ViewInfo(); }
    TcxCustomRowViewInfo* rvi(TcxCustomRow* row) { return vi()->GetRowViewInfo(row); }
    TcxCustomRowHeaderInfo* header(TcxCustomRow* row) { return rvi(row)->HeaderInfo(); }
    int I() { return vi()->RowIndentWidth(); }
};
} // namespace

TEST_F(VGridLayoutTest, DelayGridCellsAndTheRowsLaidOut)
{
    grid->OptionsView()->SetScrollBars(ssVertical);
    grid->OptionsView()->SetRowHeaderWidth(114);
    grid->BeginUpdate();
    for (int i = 0; i < 50; ++i)
        AddEditor("Byte " + std::to_string(i + 1), "Integer");
    grid->EndUpdate();
    Show(181, 400);
    const TRect client = vi()->ClientRect();
    EXPECT_EQ(vi()->MaxVisibleLevel(), 0);
    EXPECT_EQ(vi()->ViewHeaderWidth, std::max(I() + 1 + 1, 114));
    const TRect band = vi()->BandRects().front();
    const int rowStep = 18 + 1;
    // Only the rows from the top down to the first that starts below the client are placed.
    const int expected = (client.Height() - 1 + rowStep - 1) / rowStep;
    ASSERT_EQ(static_cast<int>(vi()->RowsViewInfo().size()), expected);
    for (TcxCustomRowViewInfo* row : vi()->RowsViewInfo()) {
        ASSERT_EQ(row->ValueCount(), 1);
        const TRect cell = row->ValuesInfo(0)->Bounds;
        EXPECT_EQ(cell.Left, client.Left + 116);
        EXPECT_EQ(cell.Right, band.Right - vi()->VertLineWidth());
        EXPECT_EQ(cell.Height(), 18);
    }
    EXPECT_LT(vi()->RowsViewInfo().back()->RowRect.Top, client.Bottom);
    // The cells are the control's cells: the focused one is found for the in-place editor.
    TcxCustomRow* first = grid->FirstRow();
    EXPECT_EQ(vi()->CellCount(), expected);
    grid->Controller()->SetFocusedItem(first->GetEditContainer(0));
    EXPECT_EQ(grid->Controller()->GetFocusedCellViewInfo(first->GetEditContainer(0)), rvi(first)->ValuesInfo(0));
}

TEST_F(VGridLayoutTest, EmptyGridHasAZeroBandAndOnlyTheDivider)
{
    struct Case {
        bool showHeaders;
        int lines;
    };
    for (const Case c : {Case{true, 1}, Case{false, 0}}) {
        grid->OptionsView()->SetShowHeaders(c.showHeaders);
        Show(200, 150);
        const TRect client = vi()->ClientRect();
        ASSERT_EQ(vi()->BandRects().size(), 1u);
        EXPECT_EQ(vi()->BandRects()[0].Height(), 0);
        EXPECT_EQ(vi()->BandRects()[0].Top, client.Top);
        ASSERT_EQ(vi()->EmptyRects().size(), 1u);
        EXPECT_EQ(vi()->EmptyRects()[0], client);
        EXPECT_EQ(vi()->LinesInfo().Count(), c.lines) << "headers " << c.showHeaders;
    }
}

TEST_F(VGridLayoutTest, NoGridLinesAndNoHeaders)
{
    TcxEditorRow* a = AddEditor("A");
    TcxEditorRow* b = AddEditor("B");
    grid->OptionsView()->SetGridLines(vglNone);
    Show(200, 150);
    EXPECT_EQ(vi()->HorzLineWidth(), 0);
    EXPECT_EQ(vi()->VertLineWidth(), 0);
    EXPECT_EQ(vi()->DividerWidth(), 0);
    EXPECT_EQ(vi()->LinesInfo().Count(), 0);
    EXPECT_EQ(rvi(b)->RowRect.Top, rvi(a)->RowRect.Bottom);

    grid->OptionsView()->SetShowHeaders(false);
    EXPECT_EQ(vi()->ViewHeaderWidth, 0);
    EXPECT_EQ(header(a)->HeaderRect.Width(), 0);
    EXPECT_EQ(rvi(a)->ValuesInfo(0)->Bounds, rvi(a)->RowRect);
    // Without headers there are no indents and no caption.
    EXPECT_EQ(header(a)->IndentBounds.Width(), 0);
    EXPECT_EQ(header(a)->RowIndents.Count(), 0);
    EXPECT_EQ(header(a)->CaptionCount(), 0);
}

TEST_F(VGridLayoutTest, RowHeightsAndTheCutOffRow)
{
    TcxEditorRow* zero = AddEditor();
    zero->SetHeight(0);
    TcxEditorRow* tall = AddEditor();
    tall->SetHeight(200);
    TcxEditorRow* after = AddEditor();
    Show(200, 150);
    EXPECT_EQ(rvi(zero)->Height, 18);
    // The tall row starts inside the band and is placed though cut; the next one is not.
    ASSERT_TRUE(rvi(tall));
    EXPECT_GT(rvi(tall)->RowRect.Bottom, vi()->ClientRect().Bottom);
    EXPECT_FALSE(rvi(after));
    // Rows below the band are measured on request.
    EXPECT_EQ(vi()->CalcRowHeight(zero), 18);
    EXPECT_EQ(vi()->CalcRowHeight(tall), 200);
    EXPECT_EQ(vi()->CalcRowHeight(after), 18);
}

TEST_F(VGridLayoutTest, RowRectsScaleToTheRowWithTheirMinimums)
{
    TcxEditorRow* row = AddEditor("Row");
    grid->OptionsView()->SetRowHeaderWidth(100);
    Show(300, 150);
    const TRect r = rvi(row)->RowRect;
    std::unique_ptr<TRectScaler> scaler(vi()->ScaleRowRects(rvi(row)));
    ASSERT_EQ(scaler->Count(), 2);
    const TRect header = scaler->ScaledRect(0), values = scaler->ScaledRect(1);
    EXPECT_EQ(header.Left, r.Left);
    EXPECT_EQ(values.Right, r.Right);   // the last part ends at the row's right edge
    EXPECT_EQ(values.Left - header.Right, vi()->DividerWidth());
    EXPECT_GE(header.Width(), vi()->RowHeaderMinWidth());
    EXPECT_GE(values.Width(), vi()->BandMinWidth());
    EXPECT_EQ(header.Top, r.Top);
    EXPECT_EQ(header.Bottom, r.Bottom);
}

TEST_F(VGridLayoutTest, IndentsMergePlainLevelsAndGiveCategoriesTheirOwn)
{
    TcxEditorRow* top = AddEditor("Top");
    auto* mid = grid->AddChild<TcxEditorRow>(top);
    auto* deep = grid->AddChild<TcxEditorRow>(mid);
    auto* cat = grid->Add<TcxCategoryRow>();
    auto* inCat = grid->AddChild<TcxEditorRow>(cat);
    Show(300, 300);
    const int v = vi()->VertLineWidth();

    // A top-level editor row: one indent cell, I wide, bottom line, no right line.
    TcxCustomRowHeaderInfo* h = header(top);
    ASSERT_EQ(h->RowIndents.Count(), 1);
    EXPECT_EQ(h->CategoryIndents.Count(), 0);
    EXPECT_EQ(h->RowIndents.Items(0).Rect.Width(), I());
    ASSERT_EQ(h->CaptionCount(), 1);
    EXPECT_EQ(h->Captions(0)->CaptionRect.Left, h->HeaderRect.Left + I());

    // Two plain ancestors and the row's own level make one cell three indents wide.
    DotNetCalcHelper::watched = deep;
    DotNetCalcHelper::indentCalls.clear();
    grid->LayoutChanged();
    ASSERT_EQ(header(deep)->RowIndents.Count(), 1);
    EXPECT_EQ(header(deep)->RowIndents.Items(0).Rect.Width(), 3 * I());
    ASSERT_EQ(DotNetCalcHelper::indentCalls.size(), 1u);
    EXPECT_FALSE(DotNetCalcHelper::indentCalls[0].rightLine);
    EXPECT_TRUE(DotNetCalcHelper::indentCalls[0].bottomLine);

    // Under a category: the category's own cell with its right line, then the row's cell.
    DotNetCalcHelper::watched = inCat;
    DotNetCalcHelper::indentCalls.clear();
    grid->LayoutChanged();
    h = header(inCat);
    ASSERT_EQ(h->CategoryIndents.Count(), 1);
    EXPECT_EQ(h->CategoryIndents.Items(0).Rect.Width(), I() + v);
    ASSERT_EQ(h->RowIndents.Count(), 1);
    EXPECT_EQ(h->RowIndents.Items(0).Rect.Left, h->HeaderRect.Left + I() + v);
    ASSERT_EQ(DotNetCalcHelper::indentCalls.size(), 2u);
    EXPECT_TRUE(DotNetCalcHelper::indentCalls[0].isCategory && DotNetCalcHelper::indentCalls[0].rightLine);
    EXPECT_FALSE(DotNetCalcHelper::indentCalls[1].isCategory);
    EXPECT_EQ(h->IndentBounds.Width(), 2 * I() + v);
}

TEST_F(VGridLayoutTest, ExpandButtonCategoryColoursAndFocusRect)
{
    auto* cat = grid->Add<TcxCategoryRow>();
    cat->Properties()->SetCaption("Group");
    auto* child = grid->AddChild<TcxEditorRow>(cat);
    TcxEditorRow* plain = AddEditor("Plain");
    Show(300, 300);
    TcxCustomRowHeaderInfo* h = header(cat);
    const int size = vi()->ButtonSize();
    ASSERT_EQ(h->ButtonRect.Width(), size);
    EXPECT_EQ(h->ButtonRect.Height(), size);
    const TRect cell = h->CategoryIndents.Items(0).Rect;
    EXPECT_EQ(h->ButtonRect.Left, h->IndentBounds.Right - I() + (I() - size) / 2);
    EXPECT_EQ(h->ButtonColor, h->ViewParams.Color);
    EXPECT_EQ(h->ViewParams.Font, grid->CategoryFont());
    EXPECT_TRUE(cxRectIsEmpty(h->FocusRect));
    EXPECT_TRUE(cxRectIsEmpty(header(plain)->ButtonRect));
    (void)cell;

    // Hidden children take the button away; a focused category gets its focus frame.
    child->SetVisible(false);
    grid->SetFocusedRow(cat);
    grid->LayoutChanged();
    h = header(cat);
    EXPECT_TRUE(cxRectIsEmpty(h->ButtonRect));
    EXPECT_EQ(h->FocusRect, h->Captions(0)->CaptionTextRect);
}

TEST_F(VGridLayoutTest, NarrowHeaderGetsNoCaptionDividerOrFocus)
{
    auto* cat = grid->Add<TcxCategoryRow>();
    auto* child = grid->AddChild<TcxEditorRow>(cat);
    Show(300, 300);
    TcxCustomRowHeaderInfo* h = header(child);
    TRect narrow{h->HeaderRect.Left, h->HeaderRect.Top, h->HeaderRect.Left + I(), h->HeaderRect.Bottom};
    h->Calc(narrow, vi(), true, nullptr);
    EXPECT_EQ(h->CaptionCount(), 0);
    EXPECT_TRUE(cxRectIsEmpty(h->HeaderCellsRect));
    EXPECT_TRUE(cxRectIsEmpty(h->FocusRect));
}

TEST_F(VGridLayoutTest, ImagesCaptionsAndHints)
{
    auto* images = new TCustomImageList(form);
    images->SetWidth(16);
    images->SetHeight(10);
    grid->SetImages(images);
    TcxEditorRow* row = AddEditor("Caption");
    row->Properties()->SetImageIndex(5);   // the list is empty: no such image
    struct Case {
        bool showEmpty;
        int imageWidth;
    };
    for (const Case c : {Case{true, 16}, Case{false, 0}}) {
        grid->OptionsView()->SetShowEmptyRowImage(c.showEmpty);
        Show(300, 200);
        TcxRowCaptionInfo* caption = header(row)->Captions(0);
        EXPECT_EQ(caption->ImageIndex, -1);
        EXPECT_EQ(caption->ImageRect.Width(), c.imageWidth);
        EXPECT_EQ(caption->ImageRect.Top, caption->CaptionRect.Top + (18 - 10) / 2);
        // One pixel after the image, then the in-place text editor's offsets and one more pixel.
        const TRect& cell = caption->CaptionRect;
        EXPECT_EQ(caption->CaptionTextRect,
                  (TRect{cell.Left + c.imageWidth + 3, cell.Top + 2, cell.Right - 3, cell.Bottom - 2}));
    }
    grid->SetImages(nullptr);

    // A caption that fits needs no hint; one cut by its text rectangle does. The row is tall
    // enough for the text's height inside the in-place offsets, so only the width decides.
    grid->OptionsView()->SetCellEndEllipsis(true);
    grid->OptionsView()->SetRowHeaderWidth(60);
    grid->OptionsView()->SetRowHeight(24);
    Show(300, 200);
    TcxRowCaptionInfo* caption = header(row)->Captions(0);
    EXPECT_TRUE(caption->TextFlags & cxvgEndEllipsisFlag);
    bool atMouse = true, multiLine = true;
    TRect hintRect;
    std::string text;
    const int room = caption->CaptionTextRect.Width();
    const int charWidth = cxTextWidth(grid->Font(), "W");
    row->Properties()->SetCaption(std::string(static_cast<std::size_t>(room / charWidth), 'W'));
    caption = header(row)->Captions(0);
    EXPECT_FALSE(caption->IsNeedHint(nullptr, TPoint{}, atMouse, hintRect, multiLine, text));
    EXPECT_FALSE(atMouse);
    row->Properties()->SetCaption(std::string(static_cast<std::size_t>(room / charWidth + 2), 'W'));
    caption = header(row)->Captions(0);
    EXPECT_TRUE(caption->IsNeedHint(nullptr, TPoint{}, atMouse, hintRect, multiLine, text));
    EXPECT_EQ(text, caption->Caption);
    row->Properties()->Hint = "Help";
    EXPECT_TRUE(caption->IsNeedHint(nullptr, TPoint{}, atMouse, hintRect, multiLine, text));
    EXPECT_TRUE(atMouse);
    EXPECT_EQ(text, "Help");
}

TEST_F(VGridLayoutTest, MultiEditorRowWithoutEditorsTakesTheHeaderColour)
{
    auto* multi = grid->Add<TcxMultiEditorRow>();
    Show(300, 200);
    TcxCustomRowHeaderInfo* h = header(multi);
    ASSERT_GT(h->LinesInfo.Count(), 0);
    bool filled = false;
    for (int i = 0; i < h->LinesInfo.Count(); ++i)
        filled |= h->LinesInfo.Items(i).Rect == rvi(multi)->RowRect && h->LinesInfo.Items(i).Color == h->ViewParams.Color;
    EXPECT_TRUE(filled);
    EXPECT_EQ(rvi(multi)->ValueCount(), 0);
}

TEST_F(VGridLayoutTest, BandWidthsWithAndWithoutAutoScaling)
{
    grid->SetLayoutStyle(ulsBandsView);
    grid->OptionsView()->SetRowHeaderWidth(60);
    grid->OptionsView()->SetValueWidth(50);
    grid->OptionsView()->SetBandsInterval(4);
    grid->BeginUpdate();
    for (int i = 0; i < 20; ++i)
        AddEditor();
    grid->EndUpdate();
    grid->OptionsView()->SetAutoScaleBands(false);
    Show(400, 100);
    const auto& bands = vi()->BandRects();
    ASSERT_GE(bands.size(), 2u);
    const int width = vi()->ViewHeaderWidth + vi()->DividerWidth() + 50 + 2;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].Width(), width) << i;
        if (i > 0) {
            EXPECT_EQ(bands[i].Left, bands[i - 1].Right + 4) << i;
        }
    }
    grid->OptionsView()->SetAutoScaleBands(true);
    ASSERT_FALSE(vi()->BandRects().empty());
    EXPECT_EQ(vi()->BandRects().back().Right, vi()->ClientRect().Right);
}

namespace {
// A grid over several records laid out one value column per record.
class MultiRecordGrid : public TestGrid {
    RTL_CLASS(MultiRecordGrid, TestGrid)
    explicit MultiRecordGrid(TComponent* owner) : TestGrid(owner) { RecreateViewInfo(); }
    TcxCustomControlViewInfoClass GetViewInfoClass() const override
    {
        return TcxCustomControlViewInfoClass::Of<TcxMultiRecordViewInfo>();
    }
    TcxvgCustomScrollStrategyClass GetScrollStrategyClass() const override
    {
        return TcxvgCustomScrollStrategyClass::Of<TcxvgMultiRecordsScrollStrategy>();
    }
    int GetRecordsInterval() const override { return interval; }
    int interval = 0;
};

class VGridMultiRecordTest : public VGridLayoutTest {
protected:
    void SetUp() override
    {
        VGridLayoutTest::SetUp();
        multi = new MultiRecordGrid(form);
        multi->Font()->SetHeight(-16);
        multi->OptionsView()->SetRowHeaderWidth(60);
        multi->OptionsView()->SetValueWidth(50);
    }
    void ShowMulti(int records, int width)
    {
        multi->DataController()->SetRecordCount(records);
        multi->SetBounds(0, 0, width, 200);
        multi->SetParent(form);
        multi->HandleNeeded();
        multi->LayoutChanged();
    }
    TcxMultiRecordViewInfo* mvi() { return static_cast<TcxMultiRecordViewInfo*>(multi->ViewInfo()); }
    MultiRecordGrid* multi = nullptr;
};
} // namespace

TEST_F(VGridMultiRecordTest, ValueColumnsPerRecord)
{
    auto* row = multi->Add<TcxEditorRow>();
    row->Properties()->DataBinding()->SetValueType("Integer");
    struct Case {
        int interval, step;
    };
    for (const Case c : {Case{0, 1 + 50}, Case{6, 6 + 2 + 50}}) {
        multi->interval = c.interval;
        ShowMulti(3, 400);
        ASSERT_EQ(mvi()->GetVisibleValueCount(), 3) << c.interval;
        TcxCustomRowViewInfo* r = mvi()->GetRowViewInfo(row);
        ASSERT_EQ(r->ValueCount(), 3);
        const int first = r->RowRect.Left + mvi()->ViewHeaderWidth + mvi()->DividerWidth();
        for (int i = 0; i < 3; ++i) {
            TcxRowValueInfo* cell = r->GetRowValueInfo(i, 0);
            ASSERT_TRUE(cell) << i;
            EXPECT_EQ(cell->Bounds.Left, first + i * c.step) << "interval " << c.interval << " record " << i;
            EXPECT_EQ(cell->Bounds.Width(), 50);
        }
        EXPECT_EQ(mvi()->ViewBandWidth, mvi()->FirstBlockWidth() + 2 * c.step);
    }
    // With an interval the gaps between the record columns are empty areas.
    int gaps = 0;
    for (const TRect& e : mvi()->EmptyRects())
        gaps += e.Width() == 6 ? 1 : 0;
    EXPECT_EQ(gaps, 2);
}

TEST_F(VGridMultiRecordTest, NoRecordsStillShowOneValueColumn)
{
    multi->Add<TcxEditorRow>();
    ShowMulti(0, 300);
    EXPECT_EQ(multi->GetRecordCount(), 0);
    EXPECT_EQ(mvi()->GetVisibleValueCount(), 1);
}

TEST_F(VGridMultiRecordTest, ColumnsThatDoNotFitAreLeftOut)
{
    multi->Add<TcxEditorRow>();
    ShowMulti(10, 250);
    const int w = mvi()->ClientRect().Width() - (mvi()->ViewHeaderWidth + mvi()->DividerWidth() + 1);
    EXPECT_EQ(mvi()->GetVisibleValueCount(), (w + 49) / 50);
    EXPECT_EQ(mvi()->ViewBandWidth, mvi()->ClientRect().Width());
}

namespace {
TcxMultiEditorRow* AddMulti(TcxCustomVerticalGrid* grid, std::initializer_list<int> widths)
{
    auto* row = grid->Add<TcxMultiEditorRow>();
    int i = 0;
    for (int width : widths) {
        TcxEditorRowItemProperties* editor = row->Properties()->Editors()->Add();
        editor->SetWidth(width);
        editor->DataBinding()->SetValueType("Integer");
        editor->SetCaption("E" + std::to_string(i++));
    }
    return row;
}
} // namespace

TEST_F(VGridLayoutTest, MultiEditorEditorsAreFieldsWithWidthsOfAtLeastTwenty)
{
    auto* row = grid->Add<TcxMultiEditorRow>();
    EXPECT_FALSE(row->CanFocus());
    TcxEditorRowItemProperties* a = row->Properties()->Editors()->Add();
    TcxEditorRowItemProperties* b = row->Properties()->Editors()->Add();
    EXPECT_TRUE(row->CanFocus());
    struct Case {
        int set, stored;
    };
    for (const Case c : {Case{5, 20}, Case{20, 20}, Case{75, 75}}) {
        a->SetWidth(c.set);
        EXPECT_EQ(a->Width(), c.stored) << c.set;
    }
    EXPECT_EQ(b->Width(), 50);
    a->DataBinding()->SetValueType("Integer");
    b->DataBinding()->SetValueType("Integer");
    a->SetValue(1);
    b->SetValue(2);
    EXPECT_EQ(a->GetValue(), Variant(1));
    EXPECT_EQ(b->GetValue(), Variant(2));
    EXPECT_EQ(row->GetEditContainerCount(), 2);
    EXPECT_EQ(row->GetEditContainer(1)->CellIndex, 1);
    EXPECT_EQ(grid->DataController()->GetItemCount(), 2);
}

TEST_F(VGridLayoutTest, MultiEditorCaptionsCellsAndSeparators)
{
    TcxMultiEditorRow* row = AddMulti(grid, {50, 50});
    row->Properties()->SetFixed(true);
    grid->OptionsView()->SetRowHeaderWidth(150);
    Show(400, 200);
    auto* h = static_cast<TcxMultiEditorRowHeaderInfo*>(header(row));
    ASSERT_EQ(h->CaptionCount(), 2);
    EXPECT_EQ(h->Captions(0)->Caption, "E0");
    EXPECT_EQ(h->Captions(1)->RowCellIndex, 1);
    EXPECT_EQ(h->Captions(0)->CaptionRect.Width(), 50);
    // One value cell per editor, in the editors' order.
    TcxCustomRowViewInfo* r = rvi(row);
    ASSERT_EQ(r->ValueCount(), 2);
    EXPECT_LT(r->GetRowValueInfo(0, 0)->Bounds.Left, r->GetRowValueInfo(0, 1)->Bounds.Left);

    // A separator text takes its width and leaves its gap as a separator rectangle.
    row->Properties()->SetSeparatorKind(skString);
    row->Properties()->SetSeparatorString("-");
    h = static_cast<TcxMultiEditorRowHeaderInfo*>(header(row));
    EXPECT_EQ(h->SeparatorWidth, cxTextWidth(grid->Font(), "-0"));
    ASSERT_EQ(h->SeparatorRects.Count(), 1);
    EXPECT_EQ(h->SeparatorRects[0].Width(), h->SeparatorWidth);
    EXPECT_EQ(static_cast<TcxMultiEditorRowViewInfo*>(rvi(row))->ValueSeparatorRects.Count(), 1);
}

TEST_F(VGridLayoutTest, FixedEditorsWiderThanTheHeaderAreCutAtItsEdge)
{
    TcxMultiEditorRow* row = AddMulti(grid, {60, 60, 60});
    row->Properties()->SetFixed(true);
    grid->OptionsView()->SetRowHeaderWidth(100);
    Show(400, 200);
    TcxCustomRowHeaderInfo* h = header(row);
    ASSERT_EQ(h->CaptionCount(), 2);
    EXPECT_EQ(h->Captions(1)->CaptionRect.Right, h->HeaderCellsRect.Right);
    EXPECT_LT(h->Captions(1)->CaptionRect.Width(), 60);
}

TEST_F(VGridLayoutTest, FocusingARowFocusesItsValueAndRedoesTheTwoRows)
{
    TcxEditorRow* a = AddEditor("A", "Integer");
    TcxEditorRow* b = AddEditor("B", "Integer");
    Show(300, 200);
    grid->SetFocusedRow(a);
    EXPECT_EQ(grid->Controller()->FocusedItem(), a->GetEditContainer(0));
    EXPECT_TRUE(rvi(a)->ValuesInfo(0)->GetFocused());
    DotNetCalcHelper::focusRecalcs = 0;
    grid->SetFocusedRow(b);
    EXPECT_EQ(grid->Controller()->FocusedItem(), b->GetEditContainer(0));
    EXPECT_EQ(DotNetCalcHelper::focusRecalcs, 2);
    EXPECT_FALSE(rvi(a)->ValuesInfo(0)->GetFocused());
    EXPECT_TRUE(rvi(b)->ValuesInfo(0)->GetFocused());
}

TEST_F(VGridLayoutTest, BandSizingZonesAndTheBandsDivider)
{
    AddEditor();
    Show(300, 200);
    TRect band = vi()->BandRects().front();
    EXPECT_EQ(vi()->GetBandSizeableRect(band),
              (TRect{band.Right - 1, band.Top, band.Right + 2, vi()->ClientRect().Bottom}));

    grid->SetLayoutStyle(ulsBandsView);
    grid->LayoutChanged();
    band = vi()->BandRects().front();
    EXPECT_TRUE(cxRectIsEmpty(vi()->GetBandSizeableRect(band)));   // auto-scaled bands
    grid->OptionsView()->SetAutoScaleBands(false);
    band = vi()->BandRects().front();
    EXPECT_FALSE(cxRectIsEmpty(vi()->GetBandSizeableRect(band)));
    // Without auto scaling the divider may go up to four pixels short of the clip edge.
    vi()->SetDividerPos(1000);
    EXPECT_EQ(grid->OptionsView()->RowHeaderWidth(), vi()->ClipRect().Right - 4);
    vi()->SetDividerPos(80);
    EXPECT_EQ(grid->OptionsView()->RowHeaderWidth(), 80);
}
