// Check boxes and radio groups painted as cells without a control (states, preview mode, the
// square's mouse states, the caption's place), and the check box control's glyph and
// multi-line caption.
#include "EditorKindTestSupport.h"

#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxRadioGroup.h"

using namespace cx;

namespace {

struct Cell {
    TBitmap bitmap;
    std::unique_ptr<TcxCanvas> canvas;
    Cell(int w, int h)
    {
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(w, h);
        canvas = std::make_unique<TcxCanvas>(bitmap.Canvas());
    }
    TColor Pixel(int x, int y) { return bitmap.Canvas()->GetPixel(x, y); }
    int CountOf(const TRect& r, TColor c)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += Pixel(x, y) == TColor(ColorToRGB(c));
        return n;
    }
};

} // namespace

class CxCheckCellsTest : public EditorKindTest {
protected:
    void SetUp() override
    {
        EditorKindTest::SetUp();
        cxCheckBoxUnit::Initialize();
        if (HasFatalFailure())
            return;
        box = new TcxCheckBox(form);
        box->SetParent(form);
        box->SetBounds(10, 10, 120, 21);
        box->Style()->SetBorderStyle(cbs3D);
        props = box->Properties();
    }
    void TearDown() override
    {
        FreeForm();
        cxCheckBoxUnit::Finalize();
        EditorKindTest::TearDown();
    }
    // A cell of the check box kind calculated at the point with the shift state and value.
    std::unique_ptr<TcxCustomCheckBoxViewInfo> CheckCell(Cell& cell, const Variant& value, bool preview = false,
                                                         TPoint p = {-1, -1}, TShiftState shift = {},
                                                         TcxMouseButton button = cxmbNone)
    {
        std::unique_ptr<TcxCustomEditViewData> data(props->CreateViewData(box->EditStyle(), true, preview));
        std::unique_ptr<TcxCustomCheckBoxViewInfo> vi(
            static_cast<TcxCustomCheckBoxViewInfo*>(props->GetViewInfoClass().Create()));
        data->CalculateEx(cell.canvas.get(), {0, 0, cell.bitmap.GetWidth(), cell.bitmap.GetHeight()}, p, button, shift,
                          vi.get(), false);
        data->EditValueToDrawValue(cell.canvas.get(), value, vi.get());
        vi->PaintEx(cell.canvas.get());
        return vi;
    }
    TcxCheckBox* box = nullptr;
    TcxCheckBoxProperties* props = nullptr;
};

TEST_F(CxCheckCellsTest, CheckBoxCellsPaintTheirStateAndPreviewChecked)
{
    Cell on(60, 20), off(60, 20), preview(60, 20);
    auto checked = CheckCell(on, true);
    auto unchecked = CheckCell(off, false);
    auto previewed = CheckCell(preview, false, true);
    EXPECT_EQ(checked->State, cbsChecked);
    EXPECT_EQ(unchecked->State, cbsUnchecked);
    EXPECT_EQ(previewed->State, cbsChecked);
    // A cell shows no caption, so its square is centred.
    EXPECT_EQ(checked->Alignment, taCenter);
    EXPECT_LE(std::abs(checked->CheckRect.Left + checked->CheckRect.Right - 60), 1);
    const TRect inner = cxRectInflate(checked->CheckRect, -3, -3);
    EXPECT_GT(on.CountOf(inner, clWindowText), 3);       // the tick
    EXPECT_EQ(off.CountOf(inner, clWindowText), 0);
    EXPECT_EQ(preview.CountOf(inner, clWindowText), on.CountOf(inner, clWindowText));
}

TEST_F(CxCheckCellsTest, TheSquareFollowsTheMouseInACell)
{
    Cell cell(60, 20);
    struct Row {
        TPoint p;
        TShiftState shift;
        TcxMouseButton button;
        TcxEditCheckState expected;
    } rows[] = {
        {{30, 10}, {}, cxmbNone, ecsHot},
        {{30, 10}, {ssLeft}, cxmbLeft, ecsPressed},
        {{30, 10}, {ssLeft}, cxmbNone, ecsNormal},   // held from elsewhere
        {{-5, 10}, {}, cxmbNone, ecsNormal},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CheckCell(cell, true, false, r.p, r.shift, r.button)->CheckState, r.expected) << r.p.X;
    box->SetEnabled(false);
    std::unique_ptr<TcxCustomEditViewData> data(props->CreateViewData(box->EditStyle(), true));
    data->Enabled = false;
    TcxCustomCheckBoxViewInfo vi;
    data->CalculateEx(cell.canvas.get(), {0, 0, 60, 20}, {30, 10}, cxmbNone, {}, &vi, false);
    EXPECT_EQ(vi.CheckState, ecsDisabled);
}

TEST_F(CxCheckCellsTest, DrawTextFlagsForAlignmentAndLines)
{
    struct Row {
        TAlignment alignment;
        bool multiLine, inplace;
        int expected;
    } rows[] = {
        {taLeftJustify, false, false, cxtfLeft | cxtfShowPrefix | cxtfSingleLine | cxtfVCenter},
        {taRightJustify, false, true, cxtfLeft | cxtfShowPrefix | cxtfSingleLine | cxtfVCenter},
        {taCenter, false, false, cxtfHCenter | cxtfShowPrefix | cxtfSingleLine | cxtfVCenter},
        {taLeftJustify, true, false, cxtfLeft | cxtfShowPrefix | cxtfWordBreak | cxtfNoClip | cxtfTop},
        {taLeftJustify, true, true, cxtfLeft | cxtfShowPrefix | cxtfWordBreak | cxtfNoClip | cxtfVCenter},
    };
    for (const Row& r : rows) {
        props->SetMultiLine(r.multiLine);
        EXPECT_EQ(props->GetDrawTextFlags(r.alignment, r.inplace), r.expected) << r.alignment << r.multiLine;
    }
}

TEST_F(CxCheckCellsTest, TheControlWrapsAMultiLineCaption)
{
    box->SetBounds(10, 10, 90, 60);
    box->SetCaption("aaaa bbbb cccc dddd");
    const TRect text = box->GetTextRect();
    auto rowsWithText = [&] {
        int rows = 0;
        for (int y = text.Top; y < text.Bottom; ++y) {
            bool any = false;
            for (int x = text.Left; x < text.Right && !any; ++x)
                any = PixelOf(box, x, y) == Sys(clBtnText) || PixelOf(box, x, y) == Sys(clWindowText);
            rows += any;
        }
        return rows;
    };
    const int single = rowsWithText();
    ASSERT_GT(single, 0);
    props->SetMultiLine(true);
    box->Invalidate();
    EXPECT_GT(rowsWithText(), single * 3 / 2);   // more than one line now
}

TEST_F(CxCheckCellsTest, TheControlDrawsItsGlyphCellByState)
{
    // Six cells of distinct colours; the square shows the one the index rule picks.
    static const TColor colours[] = {clRed, clLime, clBlue, clYellow, clAqua, clFuchsia};
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(6 * 15, 15);
    for (int i = 0; i < 6; ++i) {
        strip.Canvas()->Brush()->SetColor(colours[i]);
        strip.Canvas()->FillRect({i * 15, 0, i * 15 + 15, 15});
        strip.Canvas()->SetPixel(i * 15, 14, clGray);   // each cell's own transparent corner
    }
    props->SetGlyph(&strip);
    ASSERT_EQ(props->GlyphCount(), 6);
    for (bool checked : {false, true}) {
        box->SetChecked(checked);
        const TRect r = box->GetCheckRect();
        EXPECT_EQ(r.Width(), 15);
        const int index = GetEditCheckGlyphIndex(box->State(), box->CheckState(), true, 6);
        EXPECT_EQ(PixelOf(box, r.Left + 6, r.Top + 6), Sys(colours[index])) << checked;
    }
    props->SetGlyph(nullptr);
    EXPECT_FALSE(props->HasGlyph());
    EXPECT_NE(box->GetCheckRect().Width(), 15);
}

TEST_F(CxCheckCellsTest, RadioGroupCellsPaintTheCheckedItemOrTheFirstInPreview)
{
    TcxRadioGroupProperties rp(nullptr);
    rp.AddItem("A");
    rp.AddItem("B", 2);
    rp.AddItem("C");
    rp.SetColumns(3);
    auto paint = [&](Cell& cell, const Variant& value, bool preview) {
        std::unique_ptr<TcxCustomEditViewData> data(rp.CreateViewData(box->EditStyle(), true, preview));
        auto vi = std::unique_ptr<TcxCustomRadioGroupViewInfo>(
            static_cast<TcxCustomRadioGroupViewInfo*>(rp.GetViewInfoClass().Create()));
        data->CalculateEx(cell.canvas.get(), {0, 0, 150, 20}, {-1, -1}, cxmbNone, {}, vi.get(), false);
        data->EditValueToDrawValue(cell.canvas.get(), value, vi.get());
        vi->PaintEx(cell.canvas.get());
        return vi;
    };
    Cell cell(150, 20), previewCell(150, 20);
    auto vi = paint(cell, 2, false);
    ASSERT_EQ(vi->Cells.size(), 3u);
    EXPECT_EQ(vi->ItemIndex, 1);
    EXPECT_LT(vi->Cells[0].Right, vi->Cells[1].Left + 1);   // three columns side by side
    EXPECT_EQ(vi->Cells[0].Top, vi->Cells[2].Top);
    auto dot = [&](Cell& c, TcxCustomRadioGroupViewInfo* v, int i) {
        const TRect g = v->GetGlyphRect(i);
        return c.CountOf(cxRectInflate(g, -4, -4), clWindowText);
    };
    EXPECT_GT(dot(cell, vi.get(), 1), 0);   // the checked item's dot
    EXPECT_EQ(dot(cell, vi.get(), 0), 0);
    EXPECT_EQ(dot(cell, vi.get(), 2), 0);
    auto pv = paint(previewCell, 2, true);
    EXPECT_EQ(pv->ItemIndex, 0);
    EXPECT_GT(dot(previewCell, pv.get(), 0), 0);
    // A value that matches no item checks nothing.
    Cell none(150, 20);
    EXPECT_EQ(paint(none, "zzz", false)->ItemIndex, -1);
}

TEST_F(CxCheckCellsTest, RadioGroupCellsMeasureTheirAutoSize)
{
    TcxRadioGroupProperties rp(nullptr);
    Cell cell(10, 10);
    TcxCanvas* c = cell.canvas.get();
    const TSize glyph = box->EditStyle()->GetLookAndFeel()->GetPainter()->RadioButtonSize();
    c->SetFont(box->EditStyle()->GetVisibleFont());
    // Without items: one text row ("Zg" and the content's top offset).
    const int row = rp.GetEditSize(c, box->EditStyle(), true, Null, DefaultcxEditSizeProperties).cy;
    EXPECT_GE(row, c->TextHeight("Zg"));
    EXPECT_LE(row, c->TextHeight("Zg") + 2);

    rp.AddItem("A");
    rp.AddItem("Longer caption");
    rp.AddItem("B");
    rp.SetColumns(2);   // two columns: two buttons in the first, one in the second
    const TSize free = rp.GetEditSize(c, box->EditStyle(), true, Null, DefaultcxEditSizeProperties);
    EXPECT_EQ(free.cx, (c->TextWidth("Longer caption") + 7 + glyph.cx) * 2 + 1);
    EXPECT_EQ(free.cy, std::max(glyph.cy, row) * 2);

    // At a given width rows grow only for captions that wrap.
    const TSize narrow = rp.GetEditSize(c, box->EditStyle(), true, Null, {-1, 0, 80});
    EXPECT_EQ(narrow.cx, 80);
    EXPECT_EQ(narrow.cy, row * 2);
    rp.SetWordWrap(true);
    const TSize wrapped = rp.GetEditSize(c, box->EditStyle(), true, Null, {-1, 0, 80});
    EXPECT_GE(wrapped.cy, (row + c->TextHeight("Zg")) * 2);   // "Longer caption" takes two lines
}
