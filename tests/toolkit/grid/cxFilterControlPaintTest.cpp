// The filter builder's layout and painting on the fake font (every character 8 pixels wide in a
// 16-pixel font): row height, row and value geometry, hit testing, and pixels of the disabled
// look, the dotted level lines and the focus frame.
#include "FilterControlTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace fctest;

class FilterControlPaintTest : public FilterControlTest {
protected:
    void SetUp() override
    {
        FilterControlTest::SetUp();
        control->LookAndFeel()->SetKind(lfStandard);
        for (TcxFilterControlFont font : {fcfBoolOperator, fcfItem, fcfCondition, fcfValue})
            control->GetFont(font)->SetHeight(-16);
    }
    void Show(int width = 300, int height = 200)
    {
        control->SetBounds(0, 0, width, height);
        control->SetParent(form);
        control->HandleNeeded();
        Activate(form);
        Relayout();
    }
    void Relayout()
    {
        control->RebuildRowList();
        control->ViewInfo()->Calc();
        control->Invalidate();
    }
    TcxFilterControlViewInfo* Info() { return control->ViewInfo(); }
    TRect Client() { return control->GetClientBounds(); }
    TColor Pixel(int x, int y) { return PixelOf(control, x, y); }
    // A column segment painted with the checkerboard: dark where x + y is even.
    void ExpectDotted(int x, int top, int bottom)
    {
        for (int y = top; y < bottom; ++y)
            EXPECT_EQ(Pixel(x, y), (x + y) % 2 == 0 ? Sys(cl3DDkShadow) : Sys(clBtnFace)) << x << "," << y;
    }
    void ExpectPlain(int x, int top, int bottom)
    {
        for (int y = top; y < bottom; ++y)
            EXPECT_EQ(Pixel(x, y), Sys(clBtnFace)) << x << "," << y;
    }
};

TEST_F(FilterControlPaintTest, RowHeightIsHalfAgainTheTallerOfTextAndValueEditor)
{
    Show();
    // 16-pixel fonts everywhere: the text editor is the taller one.
    TcxEditSizeProperties oneLine{-1, 1, 10};
    auto editHeight = [&] {
        return control->DefaultProperties()
            ->GetEditSize(Info()->Canvas(), control->ValueEditStyle(), true, Variant("Yy"), oneLine)
            .cy;
    };
    int small = editHeight();
    ASSERT_GE(small, 16);
    EXPECT_EQ(Info()->RowHeight(), MulDiv(small, 3, 2));
    EXPECT_EQ(Info()->MinValueWidth(), 12 * 8);
    // A larger value font makes the editor, and so the row, taller; the item font counts as text.
    control->FontValue()->SetHeight(-30);
    Relayout();
    int large = editHeight();
    EXPECT_GT(large, small);
    EXPECT_EQ(Info()->RowHeight(), MulDiv(large, 3, 2));
    control->FontValue()->SetHeight(-16);
    control->FontItem()->SetHeight(-40);
    Relayout();
    EXPECT_EQ(Info()->RowHeight(), MulDiv(std::max(40, small), 3, 2));
}

TEST_F(FilterControlPaintTest, RowsLayOutButtonTextsAndValuesFromTheLeft)
{
    host->Add("Meter", TcxIntegerValueType::Class());
    control->SetLinkComponent(host);
    TcxConditionViewInfo* row = NewCondition();
    SetValues(row, fcoInList, {1, 22});
    Show(600);
    const int h = Info()->RowHeight();
    const TRect client = Client();
    TcxGroupViewInfo* root = control->Root();
    // "Filter00": 'i' is half a width.
    EXPECT_EQ(root->ButtonRect, (TRect{client.Left + 4, client.Top + 2, client.Left + 4 + 60, client.Top + h - 2}));
    EXPECT_EQ(root->BoolOperatorRect.Left, root->ButtonRect.Right + 8);
    EXPECT_EQ(root->BoolOperatorRect.Width(), 3 * 8 + 2);
    EXPECT_EQ(root->CaptionRect.Left, root->BoolOperatorRect.Right + 8);
    EXPECT_EQ(root->CaptionRect.Height(), 18);

    EXPECT_EQ(row->RowRect.Top, client.Top + h);
    EXPECT_EQ(row->Indent(), h);
    EXPECT_EQ(row->ButtonRect.Left, client.Left + h + 4);
    EXPECT_EQ(row->ButtonRect.Width(), 24);
    EXPECT_EQ(row->ItemRect, (TRect{row->ButtonRect.Right + 8, row->RowRect.Top + (h - 18) / 2,
                                    row->ButtonRect.Right + 8 + 42, row->RowRect.Top + (h - 18) / 2 + 18}));
    EXPECT_EQ(row->OperatorRect.Left, row->ItemRect.Right + 8);
    // "(" then the values, ", " between them, then ")0" and the three-character add button.
    TcxValuesViewInfo* values = row->Values();
    EXPECT_EQ(values->Items(0)->ValueRect.Left, row->OperatorRect.Right + 8 + 8);
    EXPECT_EQ(values->Items(1)->ValueRect.Left, values->Items(0)->ValueRect.Right + 4 + 2 * 8 + 8);
    EXPECT_EQ(values->AddButtonRect.Left, values->Items(1)->ValueRect.Right + 16);
    EXPECT_EQ(values->AddButtonRect.Width(), 24);
    EXPECT_EQ(row->GetWidth(), 24 + h + 5 + 42 + row->OperatorRect.Width() +
                                   (values->AddButtonRect.Right - row->OperatorRect.Right) + 16);
    // Without display values there are no value rectangles.
    row->SetOperator(fcoBlanks);
    Relayout();
    EXPECT_TRUE(cxRectIsEmpty(values->Items(0)->ValueRect));
    EXPECT_TRUE(cxRectIsEmpty(values->AddButtonRect));
}

TEST_F(FilterControlPaintTest, HitTestNamesThePartUnderThePoint)
{
    host->Add("Meter", TcxIntegerValueType::Class());
    control->SetLinkComponent(host);
    TcxConditionViewInfo* row = NewCondition();
    SetValues(row, fcoInList, {1, 2});
    Show(600);
    auto centre = [](const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; };
    TcxGroupViewInfo* root = control->Root();
    struct Case {
        TPoint p;
        TcxFilterControlHitTest part;
        TcxFilterRowViewInfo* row;
        int value;
    };
    const Case cases[] = {
        {centre(root->ButtonRect), fhtButton, root, -1},
        {centre(root->BoolOperatorRect), fhtBoolOperator, root, -1},
        {centre(root->CaptionRect), fhtNone, root, -1},
        {centre(row->ItemRect), fhtItem, row, -1},
        {centre(row->OperatorRect), fhtOperator, row, -1},
        {centre(row->Values()->Items(1)->ValueRect), fhtValue, row, 1},
        {centre(row->Values()->AddButtonRect), fhtAddValue, row, -1},
        {centre(Info()->AddConditionRect), fhtAddCondition, root, -1},
        {TPoint{-5, 5}, fhtNone, root, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.p.X) + "," + std::to_string(c.p.Y));
        TcxFilterControlHitTestInfo info;
        Info()->GetHitTestInfo(TShiftState{ssShift}, c.p, info);
        EXPECT_EQ(info.HitTest, c.part);
        EXPECT_EQ(info.Row, c.row);
        EXPECT_EQ(info.ValueIndex, c.value);
        EXPECT_EQ(info.Mouse, c.p);
        EXPECT_TRUE(info.Shift.Contains(ssShift));
    }
}

TEST_F(FilterControlPaintTest, FocusRectangleFramesTheFocusedTextPart)
{
    host->Add("Meter");
    control->SetLinkComponent(host);
    TcxConditionViewInfo* row = NewCondition();
    Show();
    control->FocusedInfo().Row = row;
    for (auto part : {fhtItem, fhtOperator, fhtValue, fhtButton}) {
        control->FocusedInfo().HitTest = part;
        control->FocusedInfo().ValueIndex = 0;
        Info()->CalcFocusRect();
        TRect expected = part == fhtItem ? row->ItemRect : part == fhtOperator ? row->OperatorRect
                         : part == fhtValue ? row->Values()->Items(0)->ValueRect : TRect{};
        if (!cxRectIsEmpty(expected))
            expected = {expected.Left - 1, expected.Top - 1, expected.Right + 1, expected.Bottom + 1};
        EXPECT_EQ(Info()->FocusRect, expected) << part;
    }
}

TEST_F(FilterControlPaintTest, AnEmptyBuilderIsDrawnDisabledWithAnInsetFocusFrame)
{
    Show();
    control->SetFocus();
    ASSERT_TRUE(control->Focused());
    Relayout();
    EXPECT_FALSE(Info()->Enabled());
    EXPECT_EQ(control->Root()->ButtonState, cxbsDisabled);
    EXPECT_EQ(Info()->AddConditionButtonState, cxbsDisabled);
    const TRect client = Client();
    EXPECT_EQ(Info()->FocusRect, (TRect{client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 2}));

    // "<root>" engraved: the shadow glyph box starts one pixel in, the highlight copy one pixel
    // further right and down.
    TRect caption = control->Root()->CaptionRect;
    int x = caption.Left, y = caption.Top + 1;
    EXPECT_EQ(Pixel(x + 1, y + 4), Sys(clBtnShadow));
    EXPECT_EQ(Pixel(x + 7, y + 4), Sys(clBtnHighlight));
    EXPECT_EQ(Pixel(x, y + 4), Sys(clBtnFace));

    // The focus frame's left edge: two pixels inside, dotted; the column outside it untouched.
    int below = Info()->AddConditionRect.Bottom + 4;
    int inverted = 0;
    for (int yy = below; yy < client.Bottom - 4; ++yy) {
        inverted += Pixel(client.Left + 2, yy) != Sys(clBtnFace);
        EXPECT_EQ(Pixel(client.Left + 1, yy), Sys(clBtnFace));
        EXPECT_EQ(Pixel(client.Left + 3, yy), Sys(clBtnFace));
    }
    EXPECT_GT(inverted, 0);
    // Unfocused, no frame.
    auto* other = new TcxFilterControl(form);
    other->SetParent(form);
    other->SetBounds(0, 210, 50, 20);
    other->SetFocus();
    ASSERT_FALSE(control->Focused());
    control->Invalidate();
    for (int yy = below; yy < client.Bottom - 4; ++yy)
        EXPECT_EQ(Pixel(client.Left + 2, yy), Sys(clBtnFace));
}

TEST_F(FilterControlPaintTest, LevelLinesRunDownForAncestorsWithLaterSiblingsOnly)
{
    host->Add("Meter");
    control->SetLinkComponent(host);
    // root: [outer: [inner: [deep]], last]
    auto* outer = new TcxGroupViewInfo(control, control->Root(), nullptr);
    auto* inner = new TcxGroupViewInfo(control, outer, nullptr);
    TcxConditionViewInfo* deep = NewCondition(inner);
    TcxConditionViewInfo* last = NewCondition();
    Show(600, 300);
    ASSERT_EQ(control->RowCount(), 5);
    const int h = Info()->RowHeight();
    const int half = 12;   // half of a "..." button
    const TRect& r = deep->RowRect;
    // The deep row's own lines hang from its group's button: down to the middle only (it is the
    // last child) and across to its button.
    int own = inner->ButtonRect.Left + half;
    ExpectDotted(own, r.Top, r.Top + h / 2);
    ExpectPlain(own, r.Top + h / 2 + 1, r.Bottom);
    for (int x = own; x < deep->ButtonRect.Left - 3; ++x)
        EXPECT_EQ(Pixel(x, r.Top + h / 2), (x + r.Top + h / 2) % 2 == 0 ? Sys(cl3DDkShadow) : Sys(clBtnFace));
    // "outer" has a later sibling: its line runs the full height; "inner" is a last child: none.
    ExpectDotted(control->Root()->ButtonRect.Left + half, r.Top, r.Bottom);
    ExpectPlain(outer->ButtonRect.Left + half, r.Top, r.Bottom);
    // The last top-level row: its line ends in the middle.
    ExpectDotted(control->Root()->ButtonRect.Left + half, last->RowRect.Top, last->RowRect.Top + h / 2);
    ExpectPlain(control->Root()->ButtonRect.Left + half, last->RowRect.Top + h / 2 + 1, last->RowRect.Bottom);
    // Switched off, the lines are gone.
    control->SetShowLevelLines(false);
    control->Invalidate();
    ExpectPlain(control->Root()->ButtonRect.Left + half, r.Top, r.Bottom);
}

TEST_F(FilterControlPaintTest, ANullValueShowsTheNullString)
{
    host->Add("Meter");
    control->SetLinkComponent(host);
    TcxConditionViewInfo* row = NewCondition();
    SetValues(row, fcoEqual, {Null});
    Show(600);
    TRect value = row->Values()->Items(0)->ValueRect;
    auto blueInk = [&] {
        int count = 0;
        for (int y = value.Top; y < value.Bottom; ++y)
            for (int x = value.Left; x < value.Right; ++x)
                count += Pixel(x, y) == Sys(clBlue);
        return count;
    };
    EXPECT_GT(value.Width(), 7 * 8);   // "<empty>"
    EXPECT_GT(blueInk(), 0);
    control->SetNullString("");
    Relayout();
    value = row->Values()->Items(0)->ValueRect;
    EXPECT_EQ(blueInk(), 0);
}

TEST_F(FilterControlPaintTest, TheWidestRowIncludesTheAddConditionButton)
{
    Show();
    // Every character 8 pixels wide but 'i' (4), plus "00".
    int text = 16;
    for (char c : Info()->AddConditionCaption())
        text += c == 'i' ? 4 : 8;
    ASSERT_EQ(Info()->AddConditionCaption(), "press the button to add a new condition");
    EXPECT_EQ(Info()->AddConditionRect.Width(), text);
    EXPECT_EQ(Info()->MaxRowWidth(), std::max(text + 4, control->Root()->GetWidth()));
    EXPECT_GT(Info()->MaxRowWidth(), control->Root()->GetWidth());
}

} // namespace
