// The paint styles' choices and what the painters put on the grid's surface.
#include "tests/toolkit/grid/VGridPaintTestSupport.h"
#include "tests/common/TestPictures.h"

#include "platform/vcl/ImgList.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/grid/cxVirtualVGrid.h"

#include <cstdlib>

using namespace vgtest;

namespace {

class VGridPainterTest : public VGridPaintTest {
protected:
    // Row 0 and 1 under a category, row 2 at the top level; row 1 focused.
    void Build()
    {
        cat = AddCategory("Delays");
        r0 = AddEditor("Row 0", cat);
        r1 = AddEditor("Row 1", cat);
        r2 = AddEditor("Row 2");
        Show(220, 120);
        grid->SetFocusedRow(r1);
        grid->Update();
    }
    TRect Value(TcxCustomRow* row) { return RowInfo(row)->ValuesInfo(0)->Bounds; }
    TRect Header(TcxCustomRow* row) { return RowInfo(row)->HeaderInfo()->HeaderRect; }
    TcxCategoryRow* cat = nullptr;
    TcxEditorRow *r0 = nullptr, *r1 = nullptr, *r2 = nullptr;
};

} // namespace

TEST_F(VGridPainterTest, PaintStyleChoosesHelperAndPainterClasses)
{
    Show(200, 100);
    EXPECT_TRUE(grid->GetCalcHelperClass() == TcxvgCustomPaintStyleCalcHelperClass::Of<TcxvgDotNetStyleCalcHelper>());
    EXPECT_TRUE(grid->GetPainterClass() == TcxvgPainterClass::Of<TcxvgPainter>());
    grid->OptionsView()->SetPaintStyle(psDelphi);
    EXPECT_TRUE(grid->GetCalcHelperClass() == TcxvgCustomPaintStyleCalcHelperClass::Of<TcxvgStyle3DCalcHelper>());
    EXPECT_TRUE(grid->GetPainterClass() == TcxvgPainterClass::Of<TcxStyle3DPainter>());
    EXPECT_NE(dynamic_cast<TcxvgStyle3DCalcHelper*>(grid->ViewInfo()->CalcHelper()), nullptr);
}

TEST_F(VGridPainterTest, HelpersAnswerByStyle)
{
    Show(200, 100);
    const int button = grid->GetLookAndFeelPainter()->ExpandButtonSize();
    struct Case {
        TcxvgPaintStyle style;
        int divider;
        TColor content, focusedContent, contentText, header, background, gridLine;
        bool valueFocusRect, halftone;
    };
    const Case cases[] = {
        {psdotNet, 1, clWindow, clWindow, clWindowText, clWindow, clWindow, clBtnFace, true, false},
        {psDelphi, 2, clBtnFace, clWindow, clNavy, clBtnFace, clBtnFace, clBtnShadow, false, true},
    };
    for (const Case& k : cases) {
        grid->OptionsView()->SetPaintStyle(k.style);
        TcxvgDotNetStyleCalcHelper* h = Helper();
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->GetDividerWidth(), k.divider) << k.style;
        EXPECT_EQ(h->GetIndentWidth(), button + 4) << k.style;
        EXPECT_EQ(h->GetContentColor(false), k.content) << k.style;
        EXPECT_EQ(h->GetContentColor(true), k.focusedContent) << k.style;
        EXPECT_EQ(h->GetContentTextColor(), k.contentText) << k.style;
        EXPECT_EQ(h->GetHeaderColor(), k.header) << k.style;
        EXPECT_EQ(h->GetBackgroundColor(), k.background) << k.style;
        EXPECT_EQ(h->GetBandBorderColor(), k.gridLine) << k.style;
        EXPECT_EQ(h->IsDrawValueFocusRect(), k.valueFocusRect) << k.style;
        EXPECT_EQ(h->HorzLineBrush()->GetBitmap() != nullptr, k.halftone) << k.style;
    }
}

TEST_F(VGridPainterTest, DividerLinesByStyle)
{
    Show(200, 100);
    const TRect r{10, 20, 50, 38};   // height 18, H 1
    std::vector<TLineInfo> lines;
    Helper()->AddDivider(lines, r, false, clRed);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Rect, (TRect{50, 20, 51, 39}));

    grid->OptionsView()->SetPaintStyle(psDelphi);
    lines.clear();
    Helper()->AddDivider(lines, r, false, clRed);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Rect, (TRect{50, 20, 51, 39}));
    EXPECT_EQ(lines[0].Color, clBtnShadow);
    EXPECT_EQ(lines[1].Rect, (TRect{51, 20, 52, 39}));
    EXPECT_EQ(lines[1].Color, clBtnHighlight);

    lines.clear();
    Helper()->AddDivider(lines, r, true, clRed);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].Rect, (TRect{50, 20, 52, 22}));
    EXPECT_EQ(lines[1].Rect, (TRect{50, 36, 52, 38}));
    EXPECT_EQ(lines[0].Color, clRed);
    EXPECT_EQ(lines[2].Rect, (TRect{50, 22, 51, 36}));   // R.top + 2, height 18 + 1 - 5
}

TEST_F(VGridPainterTest, DotNetFocusedHeaderInSelectionColoursAndValueFocusRect)
{
    Build();
    const TRect h1 = Header(r1), h0 = Header(r0);
    // The inactive look until the grid has the focus, the selection colours then.
    EXPECT_EQ(Pixel(h1.Right - 3, h1.Top + 2), Sys(clBtnFace));
    form->Show();
    grid->SetFocus();
    vcl::DrainPostedMessages();
    ASSERT_TRUE(grid->Focused());
    grid->Update();
    SaveSurface(grid, "vgrid-dotnet.png");
    EXPECT_EQ(Pixel(h1.Right - 3, h1.Top + 2), Sys(clHighlight));
    EXPECT_EQ(Pixel(h0.Right - 3, h0.Top + 2), Sys(clWindow));
    const TRect v1 = Value(r1), v0 = Value(r0);
    EXPECT_EQ(Pixel(v0.Left, v0.Top), Sys(clWindow));   // no frame on an unfocused value
    EXPECT_EQ(Pixel((v1.Left + v1.Right) / 2, (v1.Top + v1.Bottom) / 2), Sys(clWindow));
    EXPECT_NE(Pixel(v1.Left, v1.Top), Sys(clWindow));   // the dotted focus frame
    // The category's children sit in its colour column.
    EXPECT_EQ(Pixel(h0.Left + 2, h0.Top + 2), Sys(clBtnFace));
}

TEST_F(VGridPainterTest, Style3DValuesOnButtonFaceAndFocusedRowFramed)
{
    grid->OptionsView()->SetPaintStyle(psDelphi);
    Build();
    SaveSurface(grid, "vgrid-3d.png");
    const TRect v0 = Value(r0), v1 = Value(r1);
    EXPECT_EQ(Pixel(v0.Left + 5, v0.Top + 5), Sys(clBtnFace));
    EXPECT_EQ(Pixel(v1.Left + 5, v1.Top + 5), Sys(clWindow));
    EXPECT_EQ(Pixel(v1.Left + 1, v1.Top + 1), Sys(clWindow));   // no focus rectangle on the value
    const TRect row = RowInfo(r1)->RowRect;
    EXPECT_EQ(Pixel(row.Left, row.Top + 3), Sys(cl3DDkShadow));
    EXPECT_EQ(Pixel(row.Left + 1, row.Top + 3), Sys(clBtnShadow));
    EXPECT_EQ(Pixel(row.Left + 10, row.Bottom), Sys(clBtnHighlight));
    // The row above the focused one carries the frame's top: its last line and the grid line.
    EXPECT_EQ(Pixel(row.Left + 10, row.Top - 2), Sys(cl3DDkShadow));
    EXPECT_EQ(Pixel(row.Left + 10, row.Top - 1), Sys(clBtnShadow));
}

TEST_F(VGridPainterTest, DrawEventsReplaceTheGridsOwnPainting)
{
    Build();
    int headers = 0, values = 0;
    grid->OnDrawRowHeader = [&](TObject*, TcxCanvas* canvas, TcxvgPainter*, TcxCustomRowViewInfo* info, bool& done) {
        ++headers;
        if (info->Row() == r0) {
            canvas->FillRect(info->HeaderInfo()->HeaderRect, clRed);
            done = true;
        }
    };
    grid->OnDrawValue = [&](TObject*, TcxCanvas* canvas, TcxvgPainter*, TcxCustomRowViewInfo* info, int i,
                            bool& done) {
        ++values;
        canvas->GetBrush()->SetColor(clYellow);   // the cell is painted in the handler's colour
    };
    grid->Invalidate();
    grid->Update();
    EXPECT_EQ(headers, 4);
    EXPECT_EQ(values, 3);
    const TRect h0 = Header(r0);
    EXPECT_EQ(Pixel(h0.Right - 3, h0.Top + 3), Sys(clRed));
    const TRect v2 = Value(r2);
    EXPECT_EQ(Pixel(v2.Left + 5, v2.Top + 5), Sys(clYellow));
}

TEST_F(VGridPainterTest, BackgroundEventTakesOverTheEmptyArea)
{
    grid->SetLayoutStyle(ulsBandsView);
    for (int i = 0; i < 3; ++i)
        AddEditor(std::to_string(i));
    Show(220, 200);
    grid->Update();
    const auto& empty = grid->ViewInfo()->EmptyRects();
    ASSERT_FALSE(empty.empty());
    const TRect e = empty[0];
    ASSERT_FALSE(cxRectIsEmpty(e));
    EXPECT_EQ(Pixel(e.Left + 2, e.Bottom - 2), Sys(clWindow));
    int calls = 0;
    grid->OnDrawBackground = [&](TObject*, TcxCanvas* canvas, const TRect& r, const TcxViewParams& params, bool& done) {
        ++calls;
        EXPECT_EQ(params.Color, clWindow);
        canvas->FillRect(r, clRed);
        done = true;
    };
    grid->Invalidate();
    grid->Update();
    EXPECT_EQ(calls, static_cast<int>(empty.size()));
    EXPECT_EQ(Pixel(e.Left + 2, e.Bottom - 2), Sys(clRed));
}

TEST_F(VGridPainterTest, FocusedCategoryFramesItsCaptionText)
{
    Build();
    grid->SetFocusedRow(cat);
    grid->Update();
    const TRect header = RowInfo(cat)->HeaderInfo()->HeaderRect;
    const TRect frame = RowInfo(cat)->HeaderInfo()->FocusRect;   // what the painter frames
    ASSERT_FALSE(cxRectIsEmpty(frame));
    // Around the text only, not the whole caption cell.
    EXPECT_LT(frame.Right, header.Right - 10);
    int dots = 0;   // the dotted frame along its top edge
    for (int x = frame.Left; x < frame.Right; ++x)
        dots += Pixel(x, frame.Top) != Sys(clBtnFace);
    EXPECT_GE(dots, frame.Width() / 3);
    EXPECT_EQ(Pixel(frame.Right + 3, frame.Top), Sys(clBtnFace));
    // Other rows and the 3D style have none.
    EXPECT_TRUE(cxRectIsEmpty(Helper()->GetCategoryFocusRect(r0, header, header, grid->Font())));
    grid->OptionsView()->SetPaintStyle(psDelphi);
    EXPECT_TRUE(cxRectIsEmpty(Helper()->GetCategoryFocusRect(cat, header, header, grid->Font())));
}

// A caption's image stays inside its caption cell, and a caption without an image shows none.
TEST_F(VGridPainterTest, CaptionImagesAreClippedToTheirCell)
{
    TImageList images(nullptr);
    images.SetWidth(16);
    images.SetHeight(16);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(TRect{0, 0, 16, 16});
    images.AddMasked(&glyph, clLime);
    grid->SetImages(&images);
    TcxEditorRow* plain = AddEditor("Plain");
    TcxEditorRow* pictured = AddEditor("Pictured");
    pictured->Properties()->SetImageIndex(0);
    // A caption cell narrower than the image; the values are left unpainted from the first
    // paint on, so nothing painted later covers an image that ran over its cell.
    const int indent = grid->GetLookAndFeelPainter()->ExpandButtonSize() + 4;
    grid->OptionsView()->SetRowHeaderWidth(indent + 8);
    grid->OnDrawValue = [](TObject*, TcxCanvas*, TcxvgPainter*, TcxCustomRowViewInfo*, int, bool& done) { done = true; };
    Show(220, 120);
    grid->Update();
    TcxRowCaptionInfo* caption = RowInfo(pictured)->HeaderInfo()->Captions(0);
    ASSERT_EQ(caption->ImageIndex, 0);
    ASSERT_GT(caption->ImageRect.Right, caption->CaptionRect.Right + 2);   // wider than its cell
    const int y = caption->ImageRect.Top + 8;
    EXPECT_EQ(Pixel(caption->CaptionRect.Left + 2, y), Sys(clRed));
    for (int x = caption->CaptionRect.Right; x < caption->ImageRect.Right; ++x)
        EXPECT_NE(Pixel(x, y), Sys(clRed)) << x;
    TcxRowCaptionInfo* none = RowInfo(plain)->HeaderInfo()->Captions(0);
    EXPECT_EQ(none->ImageIndex, -1);
    for (int x = none->CaptionRect.Left; x < none->CaptionRect.Right; ++x)
        EXPECT_NE(Pixel(x, none->CaptionRect.Top + 8), Sys(clRed)) << x;
    grid->SetImages(nullptr);
}

// No explorer-bar theme exists here: a category asked for that style looks like any header.
TEST_F(VGridPainterTest, ExplorerStyleCategoryWithoutThemeIsAPlainHeader)
{
    Build();
    const TRect h = Header(cat);
    std::vector<TColor> before;
    for (int x = h.Left; x < h.Right; x += 3)
        before.push_back(Pixel(x, h.Top + h.Height() / 2));
    grid->OptionsView()->SetCategoryExplorerStyle(true);
    grid->Update();
    std::vector<TColor> after;
    for (int x = h.Left; x < h.Right; x += 3)
        after.push_back(Pixel(x, h.Top + h.Height() / 2));
    EXPECT_EQ(after, before);
}

// A value cell shows what the row's editor would show unfocused: a check box row its mark when
// checked and no "True"/"False" text, which the grid alone would have drawn.
TEST_F(VGridPainterTest, ValueCellsArePaintedByTheirRowsEditors)
{
    r0 = AddEditor("Text");
    r1 = AddEditor("Off");
    r2 = AddEditor("On");
    for (TcxEditorRow* row : {r1, r2})
        row->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxCheckBoxProperties>());
    r1->Properties()->SetValue(false);
    r2->Properties()->SetValue(true);
    Show(220, 120);
    grid->SetFocusedRow(r0);
    grid->Update();
    SaveSurface(grid, "vgrid-checkbox.png");
    // Dark pixels inside a value cell, its one-pixel edge left out.
    auto dark = [&](const TRect& r) {
        int n = 0;
        for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
            for (int x = r.Left + 1; x < r.Right - 1; ++x)
                n += (Pixel(x, y) & 0xFFFFFF) < 0x505050;
        return n;
    };
    const int text = dark(Value(r0)), off = dark(Value(r1)), on = dark(Value(r2));
    EXPECT_EQ(text, 0);   // an empty text value
    EXPECT_EQ(off, 0);    // no mark, no text
    EXPECT_GT(on, 10);    // the mark
    // The cell's editor view info was calculated for the cell and is the check box's.
    EXPECT_NE(dynamic_cast<TcxCheckBoxProperties*>(RowInfo(r2)->ValuesInfo(0)->CellProperties), nullptr);
}

// With a gap between the record columns, every column after the first is a box of its own whose
// first pixel column is its band-coloured left line, right after the gap: nothing there is left
// unpainted, black on a fresh grid or stale from the last layout.
TEST_F(VGridPainterTest, MultiRecordColumnsAfterAGapOpenWithTheirLine)
{
    auto* multi = new TcxVirtualVerticalGrid(form);
    multi->Font()->SetHeight(-16);
    multi->SetLayoutStyle(lsMultiRecordView);
    multi->OptionsView()->SetRowHeaderWidth(60);
    multi->OptionsView()->SetValueWidth(50);
    multi->OptionsView()->SetRecordsInterval(6);
    TcxEditorRow* rows[2] = {multi->Add<TcxEditorRow>(), multi->Add<TcxEditorRow>()};
    multi->DataController()->SetRecordCount(3);
    multi->SetBounds(0, 0, 300, 100);
    multi->SetParent(form);
    multi->HandleNeeded();
    Activate(form);
    multi->LayoutChanged();
    TcxvgCustomViewInfo* vi = multi->ViewInfo();
    ASSERT_EQ(vi->GetVisibleValueCount(), 3);
    const TColor line = Sys(vi->BandBorderColor());
    const TColor background = Sys(vi->CalcHelper()->GetBackgroundColor());
    ASSERT_NE(line, background);
    SaveSurface(multi, "vgrid-multirecord-gap.png");
    for (TcxEditorRow* row : rows) {
        TcxCustomRowViewInfo* r = vi->GetRowViewInfo(row);
        ASSERT_NE(r, nullptr);
        for (int i = 1; i < 3; ++i) {
            const TRect cell = r->GetRowValueInfo(i, 0)->Bounds;
            const TRect before = r->GetRowValueInfo(i - 1, 0)->Bounds;
            for (int y = cell.Top; y < cell.Bottom; ++y) {
                // The previous column's right line, the gap, this column's left line.
                EXPECT_EQ(PixelOf(multi, before.Right, y), line) << "record " << i << " y " << y;
                for (int x = before.Right + 1; x < cell.Left - 1; ++x)
                    EXPECT_EQ(PixelOf(multi, x, y), background) << "record " << i << " x " << x << " y " << y;
                EXPECT_EQ(PixelOf(multi, cell.Left - 1, y), line) << "record " << i << " y " << y;
            }
            EXPECT_EQ(cell.Left - 1 - (before.Right + 1), 6) << "record " << i;   // the interval
        }
    }
}
