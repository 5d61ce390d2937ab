// The ultra-flat painter: one-pixel frames and fills, hot-tracked buttons in the selection
// colours.
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeelPaintersUnit.h"

#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsPixels.h"

using namespace cx;

namespace {

TRect Shrink(const TRect& r, int d) { return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d}; }

} // namespace

void TcxUltraFlatLookAndFeelPainter::DrawFooterBorderEx(TcxCanvas* canvas, const TRect& r, TcxBorders borders) const
{
    canvas->FrameRect(r, FooterSeparatorColor(), FooterSeparatorSize(), borders);
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerNavigationButtonContent(TcxCanvas* canvas, const TRect& r,
                                                                          const TRect& arrowRect, bool isNextButton,
                                                                          TcxButtonState state) const
{
    canvas->FillRect(r, clBtnFace);
    const TColor color = state == cxbsHot ? TabBorderHighlightColor() : TabBorderDarkColor();
    const TcxBorders borders = isNextButton ? cxBorder(bLeft) | cxBorder(bTop) | cxBorder(bBottom)
                                            : cxBorder(bTop) | cxBorder(bRight) | cxBorder(bBottom);
    canvas->DrawComplexFrame(r, color, color, borders);
    DrawSchedulerNavigationButtonArrow(canvas, arrowRect, isNextButton, ButtonSymbolColor(state, clDefault));
}

void TcxUltraFlatLookAndFeelPainter::DrawBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->FrameRect(r, clBtnShadow);
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonColor(TcxButtonState state) const
{
    if (state == cxbsHot)
        return GetLightSelColor();
    if (state == cxbsPressed)
        return GetLightDownedSelColor();
    return TcxCustomLookAndFeelPainter::ButtonColor(state);
}

TRect TcxUltraFlatLookAndFeelPainter::ButtonFocusRect(TcxCanvas*, const TRect& r) const
{
    const TRect inner = Shrink(r, 3);
    return cxRectIsEmpty(inner) ? r : inner;
}

TRect TcxUltraFlatLookAndFeelPainter::ButtonGroupBorderSizes(int buttonCount, int buttonIndex) const
{
    TRect sizes{1, 2, 1, 2};
    if (buttonIndex == 0)
        sizes.Left = 2;
    else if (buttonIndex == buttonCount - 1)
        sizes.Right = 2;
    return sizes;
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonSymbolColor(TcxButtonState state, TColor defaultColor) const
{
    if (state == cxbsPressed)
        return clHighlightText;
    return TcxCustomLookAndFeelPainter::ButtonSymbolColor(state, defaultColor);
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const
{
    switch (state) {
    case cxbsDefault:
        canvas->FrameRect(r, clWindowFrame);
        canvas->FrameRect(Shrink(r, 1), clWindowFrame);
        break;
    case cxbsNormal:
        canvas->FrameRect(r, clBtnText);
        break;
    case cxbsDisabled:
        canvas->FrameRect(r, clBtnShadow);
        break;
    default:
        canvas->FrameRect(r, clHighlight);
        break;
    }
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonInGroup(TcxCanvas* canvas, const TRect& bounds, TcxButtonState state,
                                                       int buttonCount, int buttonIndex, TColor backgroundColor) const
{
    TRect r{bounds.Left, bounds.Top + 1, bounds.Right, bounds.Bottom - 1};
    const bool first = buttonIndex == 0, last = buttonIndex == buttonCount - 1;
    if (first)
        ++r.Left;
    if (last)
        --r.Right;
    if (state == cxbsNormal || state == cxbsDisabled) {
        canvas->FrameRect(r, backgroundColor);
        r = Shrink(r, 1);
    } else {
        const TColor border = BorderHighlightColor();
        if (!first) {
            canvas->FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, border);
            ++r.Left;
        }
        if (!last) {
            canvas->FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, border);
            --r.Right;
        }
    }
    canvas->FillRect(r, ButtonColor(state));
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonGroupBorder(TcxCanvas* canvas, const TRect& r, bool inplace,
                                                           bool selected) const
{
    canvas->FrameRect(r, inplace ? clBtnText : selected ? BorderHighlightColor() : clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                      TColor color) const
{
    canvas->FrameRect(r, clBtnShadow);
    const TRect inner = Shrink(r, 1);
    canvas->FillRect(inner, color == clDefault ? clBtnFace : color);
    DrawExpandButtonCross(canvas, inner, expanded, clBtnText);
    canvas->ExcludeClipRect(r);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderControlSectionBorder(TcxCanvas* canvas, const TRect& r,
                                                                    TcxBorders borders, TcxButtonState state) const
{
    const TColor color = state == cxbsDisabled ? clBtnShadow : clBlack;
    canvas->DrawComplexFrame(r, color, color, borders);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderControlSectionContent(
    TcxCanvas* canvas, const TRect& bounds, const TRect& textAreaBounds, TcxButtonState state, TAlignment alignHorz,
    cx::TcxAlignmentVert alignVert, bool multiLine, bool showEndEllipsis, const std::string& text, TFont* font,
    TColor textColor, TColor bkColor) const
{
    const TColor background = state > cxbsNormal ? ButtonColor(state) : bkColor;
    canvas->FillRect(bounds, background);
    if (font)
        font->SetColor(textColor);
    DrawHeaderControlSectionText(canvas, textAreaBounds, state, alignHorz, alignVert, multiLine, showEndEllipsis,
                                 text, font, textColor);
}

void TcxUltraFlatLookAndFeelPainter::DrawCheckBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const
{
    canvas->FrameRect(r, clBtnText);
    canvas->FrameRect(Shrink(r, 1), CheckButtonColor(state));
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderEx(TcxCanvas* canvas, const TRect& bounds,
                                                  const TRect& textAreaBounds, TcxNeighbors neighbors,
                                                  TcxBorders borders, TcxButtonState state, TAlignment alignHorz,
                                                  cx::TcxAlignmentVert alignVert, bool multiLine,
                                                  bool showEndEllipsis, const std::string& text, TFont* font,
                                                  TColor textColor, TColor bkColor,
                                                  const TcxDrawBackgroundEvent& onDrawBackground) const
{
    DrawContent(canvas, bounds, Shrink(textAreaBounds, 1), state, alignHorz, alignVert, multiLine, showEndEllipsis,
                text, font, textColor, bkColor, onDrawBackground, false);
    DrawHeaderBorder(canvas, Shrink(bounds, 1), neighbors, borders);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderBorder(TcxCanvas* canvas, const TRect& r, TcxNeighbors,
                                                      TcxBorders borders) const
{
    if (borders & cxBorder(bLeft))
        canvas->FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, clBtnText);
    if (borders & cxBorder(bTop))
        canvas->FillRect({r.Left, r.Top, r.Right, r.Top + 1}, clBtnText);
    canvas->FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, clBtnText);
    canvas->FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, clBtnText);
}

void TcxUltraFlatLookAndFeelPainter::DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const
{
    DrawSortingArrow(canvas, r, clBtnShadow, clBtnShadow, ascending);
}

TcxBorders TcxUltraFlatLookAndFeelPainter::HeaderBorders(TcxNeighbors neighbors) const
{
    TcxBorders borders = TcxCustomLookAndFeelPainter::HeaderBorders(neighbors);
    if (neighbors.Contains(nLeft))
        borders &= ~cxBorder(bLeft);
    if (neighbors.Contains(nTop))
        borders &= ~cxBorder(bTop);
    return borders;
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterBorder(TcxCanvas* canvas, const TRect& r) const
{
    DrawFooterBorderEx(canvas, r, cxBorder(bRight) | cxBorder(bBottom));
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->FrameRect(r, FooterSeparatorColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawFilterDropDownButton(TcxCanvas* canvas, const TRect& r,
                                                              TcxButtonState state, bool isFilterActive) const
{
    canvas->FrameRect(r, FilterDropDownButtonBorderColor(state));
    const TRect inner = Shrink(r, 1);
    canvas->FillRect(inner, ButtonColor(state));
    DrawButtonArrow(canvas, inner, isFilterActive ? clBlue : ButtonSymbolColor(state, clDefault));
}

TSize TcxUltraFlatLookAndFeelPainter::FilterCloseButtonSize() const
{
    TSize size = TcxCustomLookAndFeelPainter::FilterCloseButtonSize();
    ++size.cy;
    return size;
}

void TcxUltraFlatLookAndFeelPainter::DrawTabBorder(TcxCanvas* canvas, const TRect& bounds, TcxBorder border,
                                                   TcxBorders, bool vertical) const
{
    TRect r = bounds;
    const bool far = vertical ? border == bBottom : border == bRight;
    if (!vertical && border == bRight)
        r.Bottom -= TabBorderSize(vertical);
    canvas->FillRect(r, far ? TabBorderDarkColor() : TabBorderHighlightColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawTabsRoot(TcxCanvas* canvas, const TRect& r, TcxBorders borders,
                                                  bool vertical) const
{
    const TColor color = TabBorderHighlightColor();
    canvas->DrawComplexFrame(r, color, color, borders, TabBorderSize(vertical));
}

void TcxUltraFlatLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r,
                                                       TcxScrollBarPart part, TcxButtonState state) const
{
    if (cxRectIsEmpty(r) || part == sbpNone || (part == sbpThumbnail && state == cxbsDisabled))
        return;
    if (part == sbpPageUp || part == sbpPageDown) {
        cxFillScrollBarPage(canvas, r, state == cxbsPressed);
        return;
    }
    DrawButton(canvas, r, "", state, true, clDefault, clDefault, false, false);
    if (part != sbpThumbnail)
        DrawScrollBarArrow(canvas, r, state, GetArrowDirection(horizontal, part));
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerNavigatorButton(TcxCanvas* canvas, const TRect& r,
                                                                  TcxButtonState state) const
{
    DrawButton(canvas, r, "", state, state == cxbsHot || state == cxbsPressed, clDefault, clDefault, false, false);
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas* canvas, const TRect& r,
                                                                 const TcxViewParams& viewParams,
                                                                 bool horizontal) const
{
    const TColor color = DefaultSchedulerBorderColor();
    cxFlatSplitterRest(canvas, r, viewParams, horizontal, color, color);
}

void TcxUltraFlatLookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& r, bool enabled,
                                                       TcxGroupBoxCaptionPosition, TcxBorders borders) const
{
    canvas->FrameRect(r, enabled ? clHighlight : clBtnShadow, 1, borders, true);
}

void TcxUltraFlatLookAndFeelPainter::DrawPrintPreviewBackground(TcxCanvas* canvas, const TRect& r) const
{
    const TColor shadow = ColorToRGB(clBtnShadow);
    auto lighten = [](int c) { return c + (255 - c) / 3; };
    const int red = lighten(shadow & 0xFF), green = lighten((shadow >> 8) & 0xFF),
              blue = lighten((shadow >> 16) & 0xFF);
    canvas->FillRect(r, TColor(red | (green << 8) | (blue << 16)));
}

TColor TcxUltraFlatLookAndFeelPainter::FilterDropDownButtonBorderColor(TcxButtonState state) const
{
    return state == cxbsNormal ? clBtnShadow : clHighlight;
}
