#include "PainterTestSupport.h"
#include "platform/gdi/Text.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxLookAndFeelPainters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A 32-bit bitmap filled with kBack, a toolkit canvas on it and the fake font; the base painter.
class PainterTest : public PainterCanvasTest {
protected:
    TcxCustomLookAndFeelPainterClass painter = TcxCustomLookAndFeelPainter::Class();
    int Count(const TRect& r, TColor c)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += Is(x, y, c);
        return n;
    }
};

// A derived painter that overrides only sizes and one colour.
class TTestPainter : public TcxCustomLookAndFeelPainter {
    CX_PAINTER_CLASS(TTestPainter)
    int ButtonBorderSize(TcxButtonState) const override { return 3; }
    void DrawButtonBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState) const override
    {
        canvas->FillRect(r, clRed);
    }
    TColor DefaultEditorBackgroundColorEx(TcxEditStateColorKind) const override { return clYellow; }
    int HeaderBorderSize() const override { return 2; }
    TSize SortingMarkSize() const override { return {8, 4}; }
    TcxLookAndFeelStyle LookAndFeelStyle() const override { return lfsUltraFlat; }
};

} // namespace

TEST_F(PainterTest, SizesAndColoursOfTheBase)
{
    struct Row {
        const char* name;
        long got, want;
    } rows[] = {
        {"LookAndFeelStyle", painter->LookAndFeelStyle(), lfsStandard},
        {"DefaultContentColor", long(painter->DefaultContentColor()), long(clWindow)},
        {"DefaultContentOddColor", long(painter->DefaultContentOddColor()), long(clWindow)},
        {"DefaultEditorBackgroundColor", long(painter->DefaultEditorBackgroundColor(true)), long(clDefault)},
        {"DefaultDateNavigatorContentColor", long(painter->DefaultDateNavigatorContentColor()), long(clWindow)},
        {"DefaultDateNavigatorHeaderTextColor", long(painter->DefaultDateNavigatorHeaderTextColor(false)), long(clBtnText)},
        {"DefaultRecordSeparatorColor", long(painter->DefaultRecordSeparatorColor()), long(clBtnShadow)},
        {"DefaultVGridBandLineColor", long(painter->DefaultVGridBandLineColor()), long(clBlack)},
        {"DefaultSchedulerBorderColor", long(painter->DefaultSchedulerBorderColor()), 0x009D9DA1},
        {"DefaultSchedulerViewSelectedTextColor", long(painter->DefaultSchedulerViewSelectedTextColor()), long(clHighlightText)},
        {"PivotGridHeadersAreaColor", long(painter->PivotGridHeadersAreaColor()), long(clBtnShadow)},
        {"ButtonSymbolColor disabled", long(painter->ButtonSymbolColor(cxbsDisabled, clRed)), long(clBtnShadow)},
        {"ButtonSymbolColor normal", long(painter->ButtonSymbolColor(cxbsNormal, clDefault)), long(clBtnText)},
        {"CheckButtonColor hot", long(painter->CheckButtonColor(cxbsHot)), long(clWindow)},
        {"CheckButtonColor pressed", long(painter->CheckButtonColor(cxbsPressed)), long(clBtnFace)},
        {"CheckBorderSize", painter->CheckBorderSize(), 2},
        {"CheckButtonSize", painter->CheckButtonSize().cx, 13},
        {"GroupExpandButtonSize", painter->GroupExpandButtonSize(), 15},
        {"SmallExpandButtonSize", painter->SmallExpandButtonSize(), 9},
        {"HeaderHeight(13)", painter->HeaderHeight(13), 17},
        {"HeaderControlSectionBorderSize", painter->HeaderControlSectionBorderSize(cxbsNormal), 1},
        {"SortingMarkAreaSize", painter->SortingMarkAreaSize().cx, 16},
        {"FilterCloseButtonSize", painter->FilterCloseButtonSize().cx, 16},
        {"FilterDropDownButtonSize", painter->FilterDropDownButtonSize().cx, 15},
        {"FooterSeparatorSize", painter->FooterSeparatorSize(), 1},
        {"SizeGripSize", painter->SizeGripSize().cx, 16},
        {"ScrollBarMinimalThumbSize", painter->ScrollBarMinimalThumbSize(true), 8},
        {"PrintPreviewPageBordersWidth.Right", painter->PrintPreviewPageBordersWidth().Right, 4},
        {"GroupBoxBorderSize.Top", painter->GroupBoxBorderSize(true, cxgpTop).Top, 0},
        {"GroupBoxTextColor disabled", long(painter->GroupBoxTextColor(false, cxgpTop)), long(clBtnShadow)},
        {"ProgressBarTextColor", long(painter->ProgressBarTextColor()), long(clWindowText)},
        {"ProgressBarTextColorEx filled", long(painter->ProgressBarTextColorEx(true)), long(clDefault)},
        {"CalcEditButtonTextColor digit", long(painter->CalcEditButtonTextColor(cebtDigit)), long(clBlue)},
        {"PopupBorderStyle", painter->PopupBorderStyle(), pbsUltraFlat},
        {"GetArrowDirection(false, sbpPageDown)", painter->GetArrowDirection(false, sbpPageDown), adDown},
        {"GetArrowDirection(true, sbpLineUp)", painter->GetArrowDirection(true, sbpLineUp), adLeft},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.got, r.want) << r.name;
}

TEST_F(PainterTest, AnOverrideInADerivedPainterChangesTheCompositeDrawings)
{
    TcxCustomLookAndFeelPainterClass test = TTestPainter::Class();
    EXPECT_EQ(test, TTestPainter::Class()); // one class reference
    EXPECT_EQ(test->DefaultDateNavigatorContentColor(), clYellow);
    EXPECT_EQ(test->ButtonGroupBorderSizes(3, 1).Left, 3);

    test->DrawButton(canvas.get(), {0, 0, 20, 20}, "", cxbsNormal);
    EXPECT_TRUE(Is(2, 2, clRed));     // the border the override drew
    EXPECT_TRUE(Is(3, 3, clBtnFace)); // the fill starts inside ButtonBorderSize
    painter->DrawButton(canvas.get(), {30, 0, 50, 20}, "", cxbsNormal);
    EXPECT_TRUE(Is(30, 0, clBtnFace));

    test->DrawFilterCloseButton(canvas.get(), {0, 30, 16, 44}, cxbsNormal);
    EXPECT_TRUE(Is(2, 32, clRed));
    EXPECT_TRUE(Is(3, 33, clBtnFace));

    // Content shrinks by the overridden border size; HeaderBounds grows only on the sides the
    // header does not draw itself (all four here).
    EXPECT_EQ(test->HeaderBounds({10, 10, 20, 20}, {}, cxBordersAll).Left, 10);
    EXPECT_EQ(test->HeaderContentBounds({10, 10, 20, 20}, cxBorder(bTop)).Top, 12);
}

TEST_F(PainterTest, ButtonsFillInTheirStateColourAndRaiseShortText)
{
    painter->DrawButton(canvas.get(), {0, 0, 40, 17}, "", cxbsPressed, true, clLime);
    EXPECT_EQ(Count({0, 0, 40, 17}, clLime), 40 * 17);
    EXPECT_EQ(canvas->GetBrush()->GetStyle(), bsSolid);

    // A caption is drawn centred in the symbol colour; disabled text is embossed.
    painter->DrawButton(canvas.get(), {0, 20, 40, 38}, "AB", cxbsNormal);
    EXPECT_GT(Count({0, 20, 40, 38}, clBtnText), 0);
    painter->DrawButton(canvas.get(), {0, 40, 40, 58}, "AB", cxbsDisabled);
    EXPECT_EQ(Count({0, 40, 40, 58}, clBtnText), 0);
    EXPECT_GT(Count({0, 40, 40, 58}, clBtnShadow), 0);
}

TEST_F(PainterTest, ArrowsPointInFourDirections)
{
    TPoint p[3];
    painter->CalculateArrowPoints({0, 0, 16, 16}, p, adDown, false);
    // Base 2*4-1 = 7 wide, 4 deep.
    EXPECT_EQ(p[2].X, 4);
    EXPECT_EQ(p[0].X, 10);
    EXPECT_EQ(p[1].Y - p[2].Y, 3);

    struct Case {
        TcxArrowDirection direction;
        TPoint tip, base;
    } cases[] = {
        {adUp, {7, 6}, {4, 9}},
        {adDown, {7, 9}, {4, 6}},
        {adLeft, {6, 8}, {9, 5}},
        {adRight, {9, 8}, {6, 5}},
    };
    for (const Case& c : cases) {
        Reset(16, 16);
        painter->DrawArrow(canvas.get(), {0, 0, 16, 16}, c.direction, clBlack);
        EXPECT_TRUE(Is(c.tip.X, c.tip.Y, clBlack)) << c.direction;
        EXPECT_TRUE(Is(c.base.X, c.base.Y, clBlack)) << c.direction;
        EXPECT_EQ(Count({0, 0, 16, 16}, clBlack), 16) << c.direction; // 7 + 5 + 3 + 1
    }

    // The first form squares the rectangle; the second fills it in the button colour.
    Reset(30, 16);
    painter->DrawArrow(canvas.get(), {0, 0, 30, 16}, cxbsNormal, adUp, false);
    EXPECT_TRUE(Is(0, 0, clBtnFace));
    EXPECT_GT(Count({0, 0, 30, 16}, clBtnText), 16);

    // A disabled scroll-bar arrow is embossed.
    Reset(16, 16);
    painter->DrawScrollBarArrow(canvas.get(), {0, 0, 16, 16}, cxbsDisabled, adDown);
    EXPECT_EQ(Count({0, 0, 16, 16}, clBtnShadow), 16);
    EXPECT_GT(Count({0, 0, 16, 16}, clBtnHighlight), 0);
}

TEST_F(PainterTest, CheckBoxStates)
{
    const TRect box{0, 0, 13, 13}, inner{2, 2, 11, 11};
    painter->DrawCheckButton(canvas.get(), box, cxbsNormal, cbsUnchecked);
    EXPECT_EQ(Count(inner, clWindow), 81);
    EXPECT_TRUE(Is(0, 0, kBack)); // the base draws no border

    Reset(13, 13);
    painter->DrawCheckButton(canvas.get(), box, cxbsNormal, cbsChecked);
    const int mark = Count(inner, clBtnText);
    EXPECT_GT(mark, 15);
    EXPECT_TRUE(Is(6, 7, clBtnText)); // the hook of the mark

    Reset(13, 13);
    painter->DrawCheckButton(canvas.get(), box, cxbsNormal, cbsGrayed);
    EXPECT_EQ(Count(inner, clWindow), 81); // grayed shows no mark in the base

    Reset(13, 13);
    painter->DrawCheckButton(canvas.get(), box, cxbsDisabled, true);
    EXPECT_EQ(Count(inner, clGrayText), mark);
    EXPECT_EQ(Count(inner, clBtnFace), 81 - mark);

    // A clear brush keeps the background and draws only the mark.
    Reset(13, 13);
    canvas->GetBrush()->SetStyle(bsClear);
    painter->DrawCheck(canvas.get(), inner, cxbsNormal, true, clBlack);
    EXPECT_EQ(Count(inner, clBlack), mark);
    EXPECT_EQ(Count(inner, kBack), 81 - mark);
}

TEST_F(PainterTest, ExpandButtonsAndLabelLines)
{
    painter->DrawSmallExpandButton(canvas.get(), {0, 0, 9, 9}, false, clBlack, clWhite);
    EXPECT_TRUE(Is(0, 0, clBlack));
    EXPECT_TRUE(Is(1, 1, clWhite));
    EXPECT_TRUE(Is(4, 2, clBtnText) && Is(2, 4, clBtnText) && Is(6, 4, clBtnText)); // plus
    painter->DrawSmallExpandButton(canvas.get(), {10, 0, 19, 9}, true, clBlack, clWhite);
    EXPECT_TRUE(Is(14, 2, clWhite)); // minus

    painter->DrawLabelLine(canvas.get(), {0, 20, 30, 22}, clDefault, clDefault, false);
    EXPECT_TRUE(Is(5, 20, clBtnShadow));
    EXPECT_TRUE(Is(5, 21, clBtnHighlight));
}

TEST_F(PainterTest, RadioButtonImages)
{
    TcxRadioButtonImageList* list = PrepareRadioButtonImageList();
    EXPECT_EQ(painter->RadioButtonSize().cx, 12); // the circle, not the 13-pixel cell
    EXPECT_EQ(list->ImageCount(), 128);
    EXPECT_EQ(list->CheckRect(), (TRect{4, 4, 8, 8}));
    EXPECT_EQ(list->PatternAt(0, 0), 0);
    EXPECT_EQ(list->PatternAt(0, 5), 1);   // outer ring, upper-left half
    EXPECT_EQ(list->PatternAt(11, 6), 2);  // outer ring, lower-right half
    EXPECT_EQ(list->PatternAt(1, 5), 3);   // inner ring
    EXPECT_EQ(list->PatternAt(10, 6), 4);
    EXPECT_EQ(list->PatternAt(5, 5), 6);   // dot
    EXPECT_EQ(list->PatternAt(3, 3), 5);   // body

    // clDefault leaves the corners alone; a brush colour fills them.
    painter->DrawRadioButton(canvas.get(), 0, 0, cxbsNormal, true, false, clDefault);
    EXPECT_TRUE(Is(0, 0, kBack));
    EXPECT_TRUE(Is(5, 5, clWindowText));
    EXPECT_TRUE(Is(3, 3, clWindow));
    EXPECT_TRUE(Is(5, 0, clBtnShadow));
    EXPECT_TRUE(Is(5, 1, cl3DDkShadow));
    painter->DrawRadioButton(canvas.get(), 20, 0, cxbsNormal, false, false, clLime);
    EXPECT_TRUE(Is(20, 0, clLime));
    EXPECT_TRUE(Is(25, 5, clWindow)); // unchecked: the dot is body-coloured

    // Design time lights the ultra-flat ring; a disabled one stays unlit.
    TcxCustomLookAndFeelPainterClass ultra = TTestPainter::Class();
    ultra->DrawRadioButton(canvas.get(), 0, 20, cxbsNormal, false, false, clDefault, true);
    EXPECT_TRUE(Is(5, 20, clHighlight));
    ultra->DrawRadioButton(canvas.get(), 20, 20, cxbsDisabled, false, false, clDefault, true);
    EXPECT_TRUE(Is(25, 20, clBtnShadow));
    EXPECT_TRUE(Is(23, 23, clBtnFace));
}

TEST_F(PainterTest, HeadersFootersAndIndicators)
{
    int handled = 0;
    TcxDrawBackgroundEvent handler = [&](TcxCanvas*, const TRect&) { ++handled; return true; };
    painter->DrawHeader(canvas.get(), {0, 0, 40, 16}, {2, 2, 38, 14}, {}, cxBordersAll, cxbsNormal, taLeftJustify,
                        cx::vaCenter, false, false, "Ab", nullptr, clBlack, clWhite, handler);
    EXPECT_EQ(handled, 1);
    EXPECT_TRUE(Is(0, 0, kBack)); // the handler painted (nothing)
    EXPECT_GT(Count({0, 0, 40, 16}, clBlack), 0);

    painter->DrawHeader(canvas.get(), {0, 20, 40, 36}, {0, 20, 40, 36}, {}, cxBordersAll, cxbsNormal, taLeftJustify,
                        cx::vaCenter, false, false, "", nullptr, clBlack, clWhite);
    EXPECT_EQ(Count({0, 20, 40, 36}, clWhite), 40 * 16);

    Reset(30, 30);
    painter->DrawIndicatorItem(canvas.get(), {0, 0, 20, 20}, ikArrow, clBtnFace);
    EXPECT_TRUE(Is(0, 0, clBtnFace));
    EXPECT_EQ(Count({0, 0, 20, 20}, clWindowText), 16); // the arrow picture
    painter->DrawIndicatorImage(canvas.get(), {0, 0, 20, 20}, ikNone);
    EXPECT_EQ(Count({0, 0, 20, 20}, clWindowText), 16);

    Reset(30, 30);
    painter->DrawFooterBorderEx(canvas.get(), {0, 0, 30, 10}, cxBordersAll);
    EXPECT_EQ(Count({0, 0, 30, 1}, clBtnShadow), 30);
    EXPECT_TRUE(Is(0, 1, kBack));
    EXPECT_EQ(painter->FooterCellTextAreaBounds({0, 0, 30, 10}), (TRect{2, 2, 28, 8}));

    // The sorting arrow of a painter with a mark size.
    Reset(30, 30);
    TTestPainter::Class()->DrawSortingArrow(canvas.get(), {0, 0, 30, 30}, clRed, clBlue, true);
    EXPECT_GT(Count({0, 0, 30, 30}, clRed), 0);
    EXPECT_GT(Count({0, 0, 30, 30}, clBlue), 0);

    Reset(30, 30);
    painter->DrawMonthHeader(canvas.get(), {0, 0, 30, 12}, "", {}, TcxViewParams{nullptr, clWhite, nullptr, clBlack},
                             haBoth, 6);
    EXPECT_TRUE(Is(5, 5, clWindowText));  // left arrow
    EXPECT_TRUE(Is(26, 5, clWindowText)); // right arrow
    EXPECT_TRUE(Is(15, 5, clWhite));
}

TEST_F(PainterTest, GroupBoxesPanelsAndPrintPreview)
{
    painter->DrawGroupBoxFrame(canvas.get(), {0, 0, 30, 30}, true, cxgpTop, cxBordersAll);
    painter->DrawGroupBoxBackground(canvas.get(), {0, 0, 30, 30}, {0, 0, 30, 30});
    EXPECT_EQ(Count({0, 0, 30, 30}, kBack), 900); // the base draws no group box
    painter->DrawPanelContent(canvas.get(), {0, 0, 10, 10}, false);
    EXPECT_TRUE(Is(9, 9, clBtnFace));

    Reset(30, 30);
    painter->DrawPrintPreviewPageBackground(canvas.get(), {0, 0, 20, 20}, {2, 2, 16, 16}, true, true);
    EXPECT_TRUE(Is(0, 0, clHighlight) && Is(1, 1, clHighlight) && Is(17, 17, clHighlight));
    EXPECT_TRUE(Is(2, 2, clWindow));
    EXPECT_TRUE(Is(19, 19, clWindowText)); // shadow
    EXPECT_TRUE(Is(1, 19, kBack));

    Reset(30, 30);
    painter->DrawPrintPreviewPageBackground(canvas.get(), {0, 0, 20, 20}, {2, 2, 16, 16}, false, true);
    EXPECT_TRUE(Is(0, 0, kBack));
    EXPECT_TRUE(Is(1, 1, clWindowText));
    EXPECT_TRUE(Is(16, 16, clWindowText));
}

TEST_F(PainterTest, ProgressBarText)
{
    // Plain text with clDefault takes ProgressBarTextColor.
    painter->DrawProgressBarText(canvas.get(), false, true, "8", {0, 0, 20, 10}, {0, 0, 10, 10}, {0, 0, 20, 10});
    EXPECT_GT(Count({0, 0, 20, 10}, clWindowText), 0);

    // The inverting path turns the pixels under the characters into their inverse.
    Reset(20, 10);
    painter->DrawProgressBarText(canvas.get(), false, false, "8", {0, 0, 20, 10}, {0, 0, 10, 10}, {0, 0, 20, 10});
    const int inverted = Count({0, 0, 20, 10}, TColor(0xFFFFFF ^ kBack));
    EXPECT_GT(inverted, 0);
    EXPECT_EQ(Count({0, 0, 20, 10}, kBack), 200 - inverted);
}

TEST_F(PainterTest, SchedulerButtonsAndTheClock)
{
    TRect bounds{0, 0, 20, 100}, text, arrow;
    painter->CalculateSchedulerNavigationButtonRects(false, true, {0, 0}, {0, 0}, bounds, text, arrow);
    EXPECT_EQ(bounds.Bottom - bounds.Top, 33);
    EXPECT_EQ(bounds.Top, 33);
    EXPECT_TRUE(cx::cxRectIsEmpty(text));

    TRect b2{0, 0, 20, 100};
    painter->CalculateSchedulerNavigationButtonRects(true, false, {80, 10}, {0, 0}, b2, text, arrow);
    // content 6..94; text 6+21+5 = 32 .. 94-14 = 80 (48 high); need 32 more.
    EXPECT_EQ(b2.Top, -32);
    EXPECT_EQ(text.Bottom - text.Top, 48 + 2 * 32);

    Reset(60, 60);
    painter->DrawClock(canvas.get(), {0, 0, 60, 60}, 3.0 / 24, clWhite);
    EXPECT_TRUE(Is(40, 30, clTeal));  // hour hand to the right
    EXPECT_TRUE(Is(31, 20, clTeal));  // minute hand up
    EXPECT_TRUE(Is(30, 15, clRed));   // second hand up
    EXPECT_TRUE(Is(20, 30, clWhite));
    EXPECT_TRUE(Is(30, 45, clWhite));
}
