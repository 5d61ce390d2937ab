#include "PainterTestSupport.h"

#include "toolkit/core/dxOffice11.h"

using namespace cx;

namespace {

using Painter = TcxCustomLookAndFeelPainterClass;
const Painter kStandard = TcxStandardLookAndFeelPainter::Class();
const Painter kFlat = TcxFlatLookAndFeelPainter::Class();
const Painter kUltraFlat = TcxUltraFlatLookAndFeelPainter::Class();
const Painter kOffice11 = TcxOffice11LookAndFeelPainter::Class();

class KindPainterTest : public PainterCanvasTest {};

} // namespace

TEST_F(KindPainterTest, SizesDistinguishTheKinds)
{
    struct Row {
        const char* name;
        Painter painter;
        long got, want;
    } rows[] = {
        {"style", kStandard, kStandard->LookAndFeelStyle(), lfsStandard},
        {"style", kFlat, kFlat->LookAndFeelStyle(), lfsFlat},
        {"style", kUltraFlat, kUltraFlat->LookAndFeelStyle(), lfsUltraFlat},
        {"style", kOffice11, kOffice11->LookAndFeelStyle(), lfsOffice11},
        {"border", kStandard, kStandard->BorderSize(), 2},
        {"border", kFlat, kFlat->BorderSize(), 1},
        {"border", kUltraFlat, kUltraFlat->BorderSize(), 1},
        {"button default", kStandard, kStandard->ButtonBorderSize(cxbsDefault), 3},
        {"button normal", kStandard, kStandard->ButtonBorderSize(cxbsNormal), 2},
        {"button default", kFlat, kFlat->ButtonBorderSize(cxbsDefault), 2},
        {"button pressed", kFlat, kFlat->ButtonBorderSize(cxbsPressed), 1},
        {"button default", kUltraFlat, kUltraFlat->ButtonBorderSize(cxbsDefault), 2},
        {"expand", kStandard, kStandard->ExpandButtonSize(), 12},
        {"expand", kFlat, kFlat->ExpandButtonSize(), 11},
        {"expand", kOffice11, kOffice11->ExpandButtonSize(), 11},
        {"small expand", kOffice11, kOffice11->SmallExpandButtonSize(), 11},
        {"text shift", kStandard, kStandard->ButtonTextShift(), 1},
        {"text shift", kUltraFlat, kUltraFlat->ButtonTextShift(), 0},
        {"sorting mark width", kStandard, kStandard->SortingMarkSize().cx, 8},
        {"sorting mark width", kUltraFlat, kUltraFlat->SortingMarkSize().cx, 7},
        {"footer cell offset", kFlat, kFlat->FooterCellOffset(), 1},
        {"footer cell offset", kUltraFlat, kUltraFlat->FooterCellOffset(), 2},
        {"hot track", kStandard, kStandard->IsButtonHotTrack(), false},
        {"hot track", kUltraFlat, kUltraFlat->IsButtonHotTrack(), true},
        {"section border pressed", kStandard, kStandard->HeaderControlSectionBorderSize(cxbsPressed), 1},
        {"filter close height", kUltraFlat, kUltraFlat->FilterCloseButtonSize().cy,
         TcxCustomLookAndFeelPainter::Class()->FilterCloseButtonSize().cy + 1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.got, row.want) << row.name << " of style " << row.painter->LookAndFeelStyle();
}

TEST_F(KindPainterTest, ButtonBordersPerKindAndState)
{
    const TRect r{0, 0, 20, 16};
    struct Case {
        Painter painter;
        TcxButtonState state;
        TColor outer, inner, outerFar;
    } cases[] = {
        {kStandard, cxbsNormal, clBtnHighlight, cl3DLight, cl3DDkShadow},
        {kStandard, cxbsDefault, clBlack, clBtnHighlight, clBlack},
        {kStandard, cxbsPressed, clBlack, clBtnShadow, clBlack},
        {kFlat, cxbsNormal, clBtnHighlight, kBack, clBtnShadow},
        {kFlat, cxbsPressed, clBtnShadow, kBack, clBtnHighlight},
        {kFlat, cxbsDefault, clBlack, clBtnHighlight, clBlack},
        {kUltraFlat, cxbsNormal, clBtnText, kBack, clBtnText},
        {kUltraFlat, cxbsHot, clHighlight, kBack, clHighlight},
        {kUltraFlat, cxbsDisabled, clBtnShadow, kBack, clBtnShadow},
        {kUltraFlat, cxbsDefault, clWindowFrame, clWindowFrame, clWindowFrame},
        {kOffice11, cxbsHot, dxOffice11SelectedBorderColor, kBack, dxOffice11SelectedBorderColor},
        {kOffice11, cxbsDisabled, dxOffice11TextDisabledColor, kBack, dxOffice11TextDisabledColor},
    };
    for (const Case& c : cases) {
        Reset(32, 32);
        c.painter->DrawButtonBorder(canvas.get(), r, c.state);
        SCOPED_TRACE(testing::Message() << "style " << c.painter->LookAndFeelStyle() << " state " << c.state);
        EXPECT_TRUE(Is(0, 0, c.outer));
        EXPECT_TRUE(Is(1, 1, c.inner));
        EXPECT_TRUE(Is(r.Right - 1, r.Bottom - 1, c.outerFar));
    }
}

TEST_F(KindPainterTest, ControlBordersPerKind)
{
    const TRect r{0, 0, 10, 10};
    kStandard->DrawBorder(canvas.get(), r);
    EXPECT_TRUE(Is(0, 0, clBtnShadow));
    EXPECT_TRUE(Is(1, 1, cl3DDkShadow));
    EXPECT_TRUE(Is(8, 8, cl3DLight));
    EXPECT_TRUE(Is(9, 9, clBtnHighlight));
    Reset(16, 16);
    kFlat->DrawBorder(canvas.get(), r);
    EXPECT_TRUE(Is(0, 5, clBtnShadow));
    EXPECT_TRUE(Is(9, 5, clBtnHighlight));
    EXPECT_TRUE(Is(1, 1, kBack));
    Reset(16, 16);
    kUltraFlat->DrawBorder(canvas.get(), r);
    EXPECT_TRUE(Is(0, 0, clBtnShadow));
    EXPECT_TRUE(Is(9, 9, clBtnShadow));
    EXPECT_TRUE(Is(1, 1, kBack));
    Reset(16, 16);
    kOffice11->DrawBorder(canvas.get(), r);
    EXPECT_TRUE(Is(9, 9, dxOffice11ControlBorderColor));
}

TEST_F(KindPainterTest, ClassicScrollBarsIgnoreHotAndSkipADisabledThumb)
{
    const TRect r{0, 0, 16, 16};
    for (Painter painter : {kStandard, kFlat}) {
        Reset(16, 16);
        painter->DrawScrollBarPart(canvas.get(), false, r, sbpLineUp, cxbsNormal);
        const auto normal = Snapshot();
        Reset(16, 16);
        painter->DrawScrollBarPart(canvas.get(), false, r, sbpLineUp, cxbsHot);
        EXPECT_EQ(Snapshot(), normal) << painter->LookAndFeelStyle();
        Reset(16, 16);
        painter->DrawScrollBarPart(canvas.get(), false, r, sbpThumbnail, cxbsDisabled);
        EXPECT_TRUE(Is(0, 0, kBack) && Is(8, 8, kBack)) << painter->LookAndFeelStyle();
    }
    // The ultra-flat painter draws a hot part hot.
    Reset(16, 16);
    kUltraFlat->DrawScrollBarPart(canvas.get(), false, r, sbpLineUp, cxbsNormal);
    const auto normal = Snapshot();
    Reset(16, 16);
    kUltraFlat->DrawScrollBarPart(canvas.get(), false, r, sbpLineUp, cxbsHot);
    EXPECT_NE(Snapshot(), normal);
    EXPECT_TRUE(Is(0, 0, clHighlight));
}

TEST_F(KindPainterTest, ScrollBarPagesAreCheckerboards)
{
    const TRect r{0, 0, 8, 8};
    kStandard->DrawScrollBarPart(canvas.get(), true, r, sbpPageUp, cxbsNormal);
    EXPECT_TRUE(Is(0, 0, clBtnFace));
    EXPECT_TRUE(Is(1, 0, clBtnHighlight));
    EXPECT_TRUE(Is(1, 1, clBtnFace));
    kUltraFlat->DrawScrollBarPart(canvas.get(), true, r, sbpPageDown, cxbsPressed);
    EXPECT_TRUE(Is(0, 0, clBlack));
    EXPECT_TRUE(Is(0, 1, cl3DDkShadow));
}

TEST_F(KindPainterTest, StandardScrollArrowBorder)
{
    const TRect r{0, 0, 16, 16};
    kStandard->DrawScrollBarPart(canvas.get(), false, r, sbpLineDown, cxbsNormal);
    EXPECT_TRUE(Is(0, 0, clBtnFace));
    EXPECT_TRUE(Is(15, 15, cl3DDkShadow));
    EXPECT_TRUE(Is(1, 1, clBtnHighlight));
    Reset(16, 16);
    kStandard->DrawScrollBarPart(canvas.get(), false, r, sbpLineDown, cxbsPressed);
    EXPECT_TRUE(Is(15, 15, clBtnShadow));
    EXPECT_TRUE(Is(1, 1, clBtnFace));
}

TEST_F(KindPainterTest, MonthHeaderWithBothNeighboursHasNoVerticalBlackLines)
{
    TcxViewParams params;
    params.Color = clBtnFace;
    params.TextColor = clBtnText;
    const TRect r{0, 0, 40, 20};
    kStandard->DrawMonthHeader(canvas.get(), r, "", TcxNeighbors{nLeft, nRight}, params, haNone, 0);
    EXPECT_TRUE(Is(10, 0, clBlack));
    EXPECT_TRUE(Is(10, 19, clBlack));
    EXPECT_FALSE(Is(0, 10, clBlack));
    EXPECT_FALSE(Is(39, 10, clBlack));
    Reset(64, 64);
    kStandard->DrawMonthHeader(canvas.get(), r, "", TcxNeighbors{}, params, haNone, 0);
    EXPECT_TRUE(Is(0, 10, clBlack));
    EXPECT_TRUE(Is(39, 10, clBlack));
}

TEST_F(KindPainterTest, FlatDateHeaderLosesItsBottomRow)
{
    TRect r{0, 0, 20, 10};
    kFlat->DrawDateNavigatorDateHeader(canvas.get(), r);
    EXPECT_EQ(r.Bottom, 9);
    EXPECT_TRUE(Is(5, 9, clBtnFace));
    TRect o{0, 0, 20, 10};
    kOffice11->DrawDateNavigatorDateHeader(canvas.get(), o);
    EXPECT_EQ(o.Bottom, 10);
}

TEST_F(KindPainterTest, ExpandButtonsPerKind)
{
    kStandard->DrawExpandButton(canvas.get(), {0, 0, 12, 12}, false, clDefault);
    EXPECT_TRUE(Is(0, 0, clBtnHighlight));
    EXPECT_TRUE(Is(11, 11, cl3DDkShadow));
    // The button excluded itself from the clipping region: drawing over it again changes nothing.
    kUltraFlat->DrawExpandButton(canvas.get(), {0, 0, 12, 12}, true, clDefault);
    EXPECT_TRUE(Is(0, 0, clBtnHighlight));
    kUltraFlat->DrawExpandButton(canvas.get(), {20, 0, 31, 11}, true, clDefault);
    EXPECT_TRUE(Is(20, 0, clBtnShadow));
    EXPECT_TRUE(Is(22, 2, clBtnFace));
    EXPECT_TRUE(Is(25, 5, clBtnText)); // the minus
}

TEST_F(KindPainterTest, UltraFlatButtonGroupSizesAndPrintPreview)
{
    EXPECT_EQ(kUltraFlat->ButtonGroupBorderSizes(1, 0), (TRect{2, 2, 1, 2}));
    EXPECT_EQ(kUltraFlat->ButtonGroupBorderSizes(3, 2), (TRect{1, 2, 2, 2}));
    EXPECT_EQ(kUltraFlat->ButtonGroupBorderSizes(3, 1), (TRect{1, 2, 1, 2}));
    kUltraFlat->DrawPrintPreviewBackground(canvas.get(), {0, 0, 4, 4});
    const TColor shadow = ColorToRGB(clBtnShadow);
    auto lighten = [](int c) { return c + (255 - c) / 3; };
    const TColor want = TColor(lighten(shadow & 0xFF) | lighten((shadow >> 8) & 0xFF) << 8 |
                               lighten((shadow >> 16) & 0xFF) << 16);
    EXPECT_TRUE(Is(1, 1, want));
}

TEST_F(KindPainterTest, Office11HeadersAreGradients)
{
    const auto* office = TcxOffice11LookAndFeelPainter::Class();
    const TRect r{0, 0, 30, 20};
    office->DrawContent(canvas.get(), r, r, cxbsNormal, taLeftJustify, vaTop, false, false, "", nullptr, clBtnText,
                        clRed, {}, false);
    EXPECT_TRUE(Is(5, 0, office->HeaderTopColor()));
    EXPECT_TRUE(Is(5, 16, office->HeaderTopColor()));
    const TRect gradient{0, 16, 30, 20};
    EXPECT_TRUE(Is(5, 19, GetGradientColorRect(gradient, 19, office->HeaderTopColor(), office->HeaderBottomColor(),
                                               false)));
    // A footer is one plain colour.
    Reset(64, 64);
    office->DrawContent(canvas.get(), r, r, cxbsNormal, taLeftJustify, vaTop, false, false, "", nullptr, clBtnText,
                        clRed, {}, true);
    EXPECT_TRUE(Is(5, 19, office->HeaderTopColor()));
}

TEST_F(KindPainterTest, Office11NeighbouringHeadersShareTheirEdge)
{
    const auto* office = TcxOffice11LookAndFeelPainter::Class();
    const TRect r{0, 0, 20, 16};
    office->DrawHeaderBorder(canvas.get(), r, TcxNeighbors{nLeft, nRight}, cxBordersAll);
    EXPECT_TRUE(Is(0, 1, office->HeaderTopColor()));
    EXPECT_TRUE(Is(19, 1, office->HeaderTopColor()));
    EXPECT_TRUE(Is(0, 2, office->HeaderHighlightEdgeColor()));
    EXPECT_TRUE(Is(19, 2, office->HeaderDarkEdgeColor()));
    EXPECT_TRUE(Is(0, 13, GetMiddleRGB(office->HeaderTopColor(), office->HeaderBottomColor(), 25)));
    EXPECT_TRUE(Is(19, 5, office->HeaderDarkEdgeColor()));
    Reset(64, 64);
    office->DrawHeaderBorder(canvas.get(), r, TcxNeighbors{}, cxBordersAll);
    EXPECT_TRUE(Is(0, 2, office->HeaderHighlightEdgeColor()));
    EXPECT_TRUE(Is(19, 0, GetMiddleRGB(office->HeaderTopColor(), office->HeaderDarkEdgeColor(), 50)));
    EXPECT_TRUE(Is(19, 2, office->HeaderDarkEdgeColor()));
}

TEST_F(KindPainterTest, Office11ColoursFollowThePalette)
{
    const auto* office = TcxOffice11LookAndFeelPainter::Class();
    EXPECT_EQ(office->ButtonSymbolColor(cxbsDisabled), dxOffice11TextDisabledColor);
    EXPECT_EQ(office->ButtonSymbolColor(cxbsNormal), dxOffice11TextEnabledColor);
    EXPECT_EQ(office->ButtonSymbolColor(cxbsPressed), IsXPStandardScheme() ? dxOffice11TextEnabledColor
                                                                         : TColor(clHighlightText));
    EXPECT_EQ(office->ButtonColor(cxbsHot), dxOffice11SelectedColor1);
    EXPECT_EQ(office->CheckButtonColor(cxbsHot), dxOffice11SelectedColor1);
    EXPECT_EQ(office->CheckButtonColor(cxbsNormal), TColor(clWindow));
    EXPECT_EQ(office->DefaultHeaderColor(), office->HeaderTopColor());
    EXPECT_EQ(office->FooterSeparatorColor(), dxOffice11BarSeparatorColor1);
    // The inherited ultra-flat rules pick up the Office 2003 colours.
    office->DrawFilterDropDownButton(canvas.get(), {0, 0, 12, 12}, cxbsHot, false);
    EXPECT_TRUE(Is(0, 0, dxOffice11SelectedBorderColor));
    EXPECT_TRUE(Is(1, 1, dxOffice11SelectedColor1));
}

TEST_F(KindPainterTest, Office11ScrollBarsAndGroupBoxesFallBackWithoutThemes)
{
    const TRect r{0, 0, 16, 16};
    kOffice11->DrawScrollBarPart(canvas.get(), false, r, sbpThumbnail, cxbsNormal);
    const auto office = Snapshot();
    Reset(64, 64);
    kStandard->DrawScrollBarPart(canvas.get(), false, r, sbpThumbnail, cxbsNormal);
    EXPECT_EQ(Snapshot(), office);
    Reset(64, 64);
    kOffice11->DrawGroupBoxFrame(canvas.get(), {0, 0, 20, 20}, true, cxgpTop, cxBordersAll);
    EXPECT_TRUE(Is(0, 0, clHighlight));
}
