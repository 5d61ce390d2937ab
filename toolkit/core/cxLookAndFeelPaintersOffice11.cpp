// The Office 2003 painter: the ultra-flat rules in the Office 2003 colours, gradient headers
// and bitmap expand buttons; scroll bars and group boxes are themed whenever the theme opens.
#include "toolkit/core/cxLookAndFeelPainters.h"

#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/dxOffice11.h"
#include "toolkit/core/dxThemeManager.h"

using namespace cx;

namespace {

TRect Shrink(const TRect& r, int d) { return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d}; }

} // namespace

TColor TcxOffice11LookAndFeelPainter::HeaderBottomColor() const { return dxOffice11ToolbarsColor2; }
TColor TcxOffice11LookAndFeelPainter::HeaderDarkEdgeColor() const { return dxOffice11BarSeparatorColor1; }
TColor TcxOffice11LookAndFeelPainter::HeaderHighlightEdgeColor() const { return dxOffice11BarSeparatorColor2; }
TColor TcxOffice11LookAndFeelPainter::HeaderTopColor() const
{
    return GetMiddleRGB(dxOffice11ToolbarsColor1, dxOffice11ToolbarsColor2, 50);
}

TColor TcxOffice11LookAndFeelPainter::DefaultDateNavigatorHeaderColor() const { return dxOffice11DockColor1; }
TColor TcxOffice11LookAndFeelPainter::DefaultDateNavigatorSelectionColor() const
{
    return dxOffice11DayNavigatorSelectedColor;
}
TColor TcxOffice11LookAndFeelPainter::DefaultFilterBoxColor() const { return dxOffice11BarFloatingBorderColor1; }
TColor TcxOffice11LookAndFeelPainter::DefaultFilterBoxTextColor() const
{
    return dxOffice11BarFloatingCaptionTextColor1;
}
TColor TcxOffice11LookAndFeelPainter::DefaultFooterColor() const { return dxOffice11DockColor1; }
TColor TcxOffice11LookAndFeelPainter::DefaultGroupColor() const { return dxOffice11GroupColor; }
TColor TcxOffice11LookAndFeelPainter::DefaultGroupByBoxColor() const { return dxOffice11InPlaceSubItemColor; }
TColor TcxOffice11LookAndFeelPainter::DefaultGroupByBoxTextColor() const { return dxOffice11ToolbarsColor1; }
TColor TcxOffice11LookAndFeelPainter::DefaultSchedulerBorderColor() const { return dxOffice11OutlookBorderColor; }
TColor TcxOffice11LookAndFeelPainter::DefaultSchedulerControlColor() const { return dxOffice11OutlookControlColor; }
TColor TcxOffice11LookAndFeelPainter::DefaultTabColor() const { return dxOffice11DockColor2; }
TColor TcxOffice11LookAndFeelPainter::DefaultTimeGridMinorScaleColor() const { return dxOffice11DockColor1; }
TColor TcxOffice11LookAndFeelPainter::FilterDropDownButtonBorderColor(TcxButtonState state) const
{
    return state == cxbsNormal ? HeaderDarkEdgeColor() : dxOffice11SelectedBorderColor;
}
TColor TcxOffice11LookAndFeelPainter::BorderHighlightColor() const { return dxOffice11SelectedBorderColor; }

void TcxOffice11LookAndFeelPainter::DrawContent(TcxCanvas* canvas, const TRect& bounds, const TRect& textArea,
                                                int state, TAlignment alignHorz, cx::TcxAlignmentVert alignVert,
                                                bool multiLine, bool showEndEllipsis, const std::string& text,
                                                TFont* font, TColor textColor, TColor,
                                                const TcxDrawBackgroundEvent& onDrawBackground, bool isFooter) const
{
    const HDC dc = canvas->GetHandle();
    if (!onDrawBackground.Assigned() || !onDrawBackground(canvas, bounds)) {
        const bool hot = state == cxbsHot;
        const TColor color1 = hot ? dxOffice11ToolbarsColor1 : HeaderTopColor();
        const TColor color2 = hot ? dxOffice11ToolbarsColor1 : HeaderBottomColor();
        if (isFooter) {
            FillRectByColor(dc, bounds, color1);
        } else {
            FillRectByColor(dc, {bounds.Left, bounds.Top, bounds.Right, bounds.Bottom - 3}, color1);
            FillGradientRect(dc, {bounds.Left, bounds.Bottom - 4, bounds.Right, bounds.Bottom}, color1, color2,
                             false);
        }
    }
    if (!text.empty()) {
        canvas->GetBrush()->SetStyle(bsClear);
        if (font)
            canvas->SetFont(font);
        canvas->GetFont()->SetColor(textColor);
        canvas->DrawTexT(text, textArea, alignHorz, alignVert, multiLine, showEndEllipsis);
        canvas->GetBrush()->SetStyle(bsSolid);
    }
    if (state == cxbsHot)
        FillGradientRect(dc, {bounds.Left - 1, bounds.Bottom - 2, bounds.Right, bounds.Bottom + 1},
                         dxOffice11SelectedColor1, dxOffice11SelectedColor2, false);
}

void TcxOffice11LookAndFeelPainter::DrawSchedulerNavigationButtonContent(TcxCanvas* canvas, const TRect& r,
                                                                         const TRect& arrowRect, bool isNextButton,
                                                                         TcxButtonState state) const
{
    const TColor fill = state == cxbsHot       ? dxOffice11SelectedColor1
                        : state == cxbsPressed ? dxOffice11SelectedDownColor1
                                               : dxOffice11DockColor1;
    canvas->FillRect(r, fill);
    const TcxBorders borders = isNextButton ? cxBorder(bLeft) | cxBorder(bTop) | cxBorder(bBottom)
                                            : cxBorder(bTop) | cxBorder(bRight) | cxBorder(bBottom);
    canvas->DrawComplexFrame(r, dxOffice11OutlookBorderColor, dxOffice11OutlookBorderColor, borders);
    DrawSchedulerNavigationButtonArrow(canvas, arrowRect, isNextButton, ButtonSymbolColor(state, clDefault));
}

void TcxOffice11LookAndFeelPainter::DrawBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->FrameRect(r, dxOffice11ControlBorderColor);
}

TColor TcxOffice11LookAndFeelPainter::ButtonColor(TcxButtonState state) const
{
    switch (state) {
    case cxbsHot:
        return dxOffice11SelectedColor1;
    case cxbsPressed:
        return dxOffice11SelectedDownColor1;
    case cxbsDisabled:
        return clBtnFace;
    default:
        return dxOffice11DockColor1;
    }
}

TColor TcxOffice11LookAndFeelPainter::ButtonSymbolColor(TcxButtonState state, TColor) const
{
    if (state == cxbsPressed && !IsXPStandardScheme())
        return clHighlightText;
    return state == cxbsDisabled ? dxOffice11TextDisabledColor : dxOffice11TextEnabledColor;
}

void TcxOffice11LookAndFeelPainter::DrawButtonBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const
{
    switch (state) {
    case cxbsDefault:
        TcxUltraFlatLookAndFeelPainter::DrawButtonBorder(canvas, r, state);
        break;
    case cxbsNormal:
        canvas->FrameRect(r, clBtnText);
        break;
    case cxbsDisabled:
        canvas->FrameRect(r, dxOffice11TextDisabledColor);
        break;
    default:
        canvas->FrameRect(r, dxOffice11SelectedBorderColor);
        break;
    }
}

void TcxOffice11LookAndFeelPainter::DrawExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor) const
{
    TBitmap* bitmap = expanded ? dxOffice11ExpandButtonBitmap1 : dxOffice11ExpandButtonBitmap2;
    if (!bitmap)
        return;
    // The corners blend into whatever is under the button.
    TCanvas* target = canvas->WrappedCanvas();
    const TColor topLeft = target->GetPixel(r.Left, r.Top);
    const TColor bottomRight = target->GetPixel(r.Right - 1, r.Bottom - 1);
    TCanvas* pixels = bitmap->Canvas();
    pixels->SetPixel(0, 0, GetMiddleRGB(dxOffice11ExpandButtonColor1, topLeft, 25));
    const TColor corner = GetMiddleRGB(dxOffice11ExpandButtonColor2, bottomRight, 25);
    pixels->SetPixel(10, 10, corner);
    pixels->SetPixel(0, 10, corner);
    pixels->SetPixel(10, 0, corner);
    canvas->Draw(r.Left, r.Top, bitmap);
}

void TcxOffice11LookAndFeelPainter::DrawSmallExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded, TColor,
                                                          TColor color) const
{
    DrawExpandButton(canvas, r, expanded, color);
}

TColor TcxOffice11LookAndFeelPainter::CheckButtonColor(TcxButtonState state) const
{
    if (state == cxbsHot || state == cxbsPressed || state == cxbsDisabled)
        return ButtonColor(state);
    return TcxCustomLookAndFeelPainter::CheckButtonColor(state);
}

void TcxOffice11LookAndFeelPainter::DrawHeader(TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds,
                                               TcxNeighbors neighbors, TcxBorders borders, TcxButtonState state,
                                               TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine,
                                               bool showEndEllipsis, const std::string& text, TFont* font,
                                               TColor textColor, TColor bkColor, const TcxDrawBackgroundEvent&,
                                               bool isLast, bool) const
{
    TcxCustomLookAndFeelPainter::DrawHeader(canvas, bounds, textAreaBounds, neighbors, borders, state, alignHorz,
                                            alignVert, multiLine, showEndEllipsis, text, font, textColor, bkColor,
                                            {}, isLast, false);
}

void TcxOffice11LookAndFeelPainter::DrawHeaderBorder(TcxCanvas* canvas, const TRect& r, TcxNeighbors neighbors,
                                                     TcxBorders borders) const
{
    const TColor t = HeaderTopColor(), b = HeaderBottomColor(), d = HeaderDarkEdgeColor(),
                 h = HeaderHighlightEdgeColor();
    auto column = [canvas](int x, int top, int bottom, TColor color) {
        canvas->FillRect({x, top, x + 1, bottom}, color);
    };
    if (borders & cxBorder(bTop))
        canvas->FillRect({r.Left, r.Top, r.Right, r.Top + 1}, t);
    if (borders & cxBorder(bBottom))
        canvas->FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, d);
    if (borders & cxBorder(bLeft)) {
        canvas->SetPixel(r.Left, r.Top + 1, t);
        if (neighbors.Contains(nLeft)) {
            canvas->SetPixel(r.Left, r.Top + 2, t);
            canvas->SetPixel(r.Left, r.Bottom - 3, GetMiddleRGB(t, b, 25));
            canvas->SetPixel(r.Left, r.Bottom - 2, b);
            column(r.Left, r.Top + 2, r.Bottom - 3, h);
        } else {
            canvas->SetPixel(r.Left, r.Bottom - 2, b);
            column(r.Left, r.Top + 1, r.Bottom - 2, h);
        }
    }
    if (borders & cxBorder(bRight)) {
        const int x = r.Right - 1;
        if (neighbors.Contains(nRight)) {
            canvas->SetPixel(x, r.Top + 1, t);
            canvas->SetPixel(x, r.Top + 2, t);
            canvas->SetPixel(x, r.Bottom - 3, GetMiddleRGB(t, b, 25));
            canvas->SetPixel(x, r.Bottom - 2, b);
            column(x, r.Top + 2, r.Bottom - 3, d);
        } else {
            canvas->SetPixel(x, r.Top, GetMiddleRGB(t, d, 50));
            canvas->SetPixel(x, r.Bottom - 2, GetMiddleRGB(b, d, 50));
            column(x, r.Top + 1, r.Bottom - 2, d);
        }
    }
}

void TcxOffice11LookAndFeelPainter::DrawHeaderControlSection(
    TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, TcxNeighbors neighbors, TcxBorders borders,
    TcxButtonState state, TAlignment alignHorz, cx::TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis,
    const std::string& text, TFont* font, TColor textColor, TColor bkColor) const
{
    DrawHeader(canvas, bounds, textAreaBounds, neighbors, borders, state, alignHorz, alignVert, multiLine,
               showEndEllipsis, text, font, textColor, bkColor, {}, false, false);
    if (state == cxbsPressed)
        DrawHeaderPressed(canvas, bounds);
}

void TcxOffice11LookAndFeelPainter::DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const
{
    DrawSortingArrow(canvas, r, HeaderDarkEdgeColor(), HeaderHighlightEdgeColor(), ascending);
}

void TcxOffice11LookAndFeelPainter::DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r,
                                                      TcxScrollBarPart part, TcxButtonState state) const
{
    if (AreVisualStylesAvailable(TdxThemedObjectTypes{totScrollBar}))
        TcxWinXPLookAndFeelPainter::Class()->DrawScrollBarPart(canvas, horizontal, r, part, state);
    else
        TcxStandardLookAndFeelPainter::Class()->DrawScrollBarPart(canvas, horizontal, r, part, state);
}

void TcxOffice11LookAndFeelPainter::DrawSizeGrip(TcxCanvas* canvas, const TRect& r, TColor backgroundColor) const
{
    canvas->FillRect(r, backgroundColor);
    Office11DrawSizeGrip(canvas->GetHandle(), r, clDefault, clDefault);
}

void TcxOffice11LookAndFeelPainter::DrawMonthHeader(TcxCanvas* canvas, const TRect& bounds, const std::string& text,
                                                    TcxNeighbors, const TcxViewParams& viewParams,
                                                    TcxHeaderArrows arrows, int sideWidth,
                                                    const TcxDrawBackgroundEvent& onDrawBackground) const
{
    const TRect r = Shrink(bounds, 1);
    if (!onDrawBackground.Assigned() || !onDrawBackground(canvas, r))
        canvas->FillRect(r, viewParams);
    if (!text.empty()) {
        canvas->GetBrush()->SetStyle(bsClear);
        if (viewParams.Font)
            canvas->SetFont(viewParams.Font);
        canvas->GetFont()->SetColor(viewParams.TextColor);
        canvas->DrawTexT(text, r, cxtfHCenter | cxtfVCenter | cxtfSingleLine);
        canvas->GetBrush()->SetStyle(bsSolid);
    }
    DrawMonthHeaderArrows(canvas, bounds, arrows, sideWidth, clWindowText);
}

void TcxOffice11LookAndFeelPainter::DrawSchedulerNavigatorButton(TcxCanvas* canvas, const TRect& r,
                                                                 TcxButtonState state) const
{
    TcxWinXPLookAndFeelPainter::Class()->DrawSchedulerNavigatorButton(canvas, r, state);
}

void TcxOffice11LookAndFeelPainter::DrawSchedulerBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->FrameRect(r, DefaultSchedulerBorderColor());
}

void TcxOffice11LookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& r, bool enabled,
                                                      TcxGroupBoxCaptionPosition position, TcxBorders borders) const
{
    if (AreVisualStylesAvailable(TdxThemedObjectTypes{totButton}))
        TcxWinXPLookAndFeelPainter::Class()->DrawGroupBoxFrame(canvas, r, enabled, position, borders);
    else
        TcxUltraFlatLookAndFeelPainter::DrawGroupBoxFrame(canvas, r, enabled, position, borders);
}

TColor TcxOffice11LookAndFeelPainter::GroupBoxTextColor(bool enabled, TcxGroupBoxCaptionPosition position) const
{
    if (AreVisualStylesAvailable(TdxThemedObjectTypes{totButton}))
        return TcxWinXPLookAndFeelPainter::Class()->GroupBoxTextColor(enabled, position);
    return TcxCustomLookAndFeelPainter::GroupBoxTextColor(enabled, position);
}

void TcxOffice11LookAndFeelPainter::DrawPanelBackground(TcxCanvas* canvas, rtl::TObject* control, const TRect& r,
                                                        TColor colorFrom, TColor colorTo) const
{
    if (colorFrom == clDefault)
        // Painting the parent's background behind a control needs the control layer's
        // transparent painting, which the base's panel background stands in for.
        TcxCustomLookAndFeelPainter::DrawPanelBackground(canvas, control, r, colorFrom, colorTo);
    else if (colorTo == clDefault)
        canvas->FillRect(r, colorFrom);
    else
        FillGradientRect(canvas->GetHandle(), r, colorFrom, colorTo, false);
}

void TcxOffice11LookAndFeelPainter::DrawLayoutControlBackground(TcxCanvas* canvas, const TRect& r) const
{
    FillGradientRect(canvas->GetHandle(), r, dxOffice11ToolbarsColor1, dxOffice11ToolbarsColor2, false);
}

void TcxOffice11LookAndFeelPainter::DrawDateNavigatorDateHeader(TcxCanvas* canvas, TRect& r) const
{
    canvas->FillRect(r, DefaultDateNavigatorHeaderColor());
}
