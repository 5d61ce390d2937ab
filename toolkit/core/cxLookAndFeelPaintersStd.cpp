// The standard (raised and sunken 3-D) and flat (single-pixel edge) painters.
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeelPaintersUnit.h"

#include "toolkit/core/cxGeometry.h"

using namespace cx;

namespace {

TRect Shrink(const TRect& r, int d) { return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d}; }
bool Has(TcxBorders borders, TcxBorder b) { return (borders & cxBorder(b)) != 0; }

// The look of the platform's scroll-arrow frame control: a face with the arrow glyph, embossed
// when inactive; the painter draws the button border over it.
void DrawScrollArrowControl(TcxCanvas* canvas, const TRect& r, TcxArrowDirection direction, bool inactive)
{
    canvas->FillRect(r, clBtnFace);
    TPoint p[3];
    TcxStandardLookAndFeelPainter::Class()->CalculateArrowPoints(r, p, direction, true, 0);
    auto triangle = [canvas](const TPoint (&q)[3], TColor color) {
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(color);
        canvas->GetPen()->SetStyle(psSolid);
        canvas->GetPen()->SetColor(color);
        canvas->Polygon(q, 2);
    };
    if (!inactive) {
        triangle(p, clBtnText);
        return;
    }
    TPoint moved[3];
    for (int i = 0; i < 3; ++i)
        moved[i] = {p[i].X + 1, p[i].Y + 1};
    triangle(moved, clBtnHighlight);
    triangle(p, clBtnShadow);
}

void FillLine(TcxCanvas* canvas, const TRect& r, TColor color) { canvas->FillRect(r, color); }

} // namespace

void cxFillScrollBarPage(TcxCanvas* canvas, const TRect& r, bool pressed)
{
    canvas->FillRect(r, cxScrollBarPageBitmap(pressed ? 1 : 0));
    canvas->GetBrush()->SetBitmap(nullptr);
    canvas->GetBrush()->SetStyle(bsSolid);
}

// ---- standard ----

void TcxStandardLookAndFeelPainter::DrawBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->DrawComplexFrame(r, clBtnShadow, clBtnHighlight);
    canvas->DrawComplexFrame(Shrink(r, 1), cl3DDkShadow, cl3DLight);
}

void TcxStandardLookAndFeelPainter::DrawButtonBorder(TcxCanvas* canvas, const TRect& bounds,
                                                     TcxButtonState state) const
{
    TRect r = bounds;
    if (state == cxbsPressed) {
        canvas->FrameRect(r, clBlack);
        canvas->DrawComplexFrame(Shrink(r, 1), clBtnShadow, clBtnShadow);
        return;
    }
    if (state == cxbsDefault) {
        canvas->FrameRect(r, clBlack);
        r = Shrink(r, 1);
    }
    canvas->DrawComplexFrame(r, clBtnHighlight, cl3DDkShadow);
    canvas->DrawComplexFrame(Shrink(r, 1), cl3DLight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::DrawExpandButton(TcxCanvas* canvas, const TRect& bounds, bool expanded,
                                                     TColor color) const
{
    TRect r = bounds;
    canvas->DrawEdge(r, false, false, cxBorder(bLeft) | cxBorder(bTop));
    canvas->DrawEdge(r, false, true, cxBorder(bRight) | cxBorder(bBottom));
    r = Shrink(r, 1);
    canvas->DrawEdge(r, false, false, cxBorder(bRight) | cxBorder(bBottom));
    --r.Right;
    --r.Bottom;
    canvas->FillRect(r, color == clDefault ? clBtnFace : color);
    DrawExpandButtonCross(canvas, r, expanded, clBtnText);
    canvas->ExcludeClipRect(bounds);
}

void TcxStandardLookAndFeelPainter::DrawGroupExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                          TcxButtonState state) const
{
    // Both 3-D looks share the flat group expand button.
    TcxFlatLookAndFeelPainter::Class()->TcxCustomLookAndFeelPainter::DrawGroupExpandButton(canvas, r, expanded, state);
}

void TcxStandardLookAndFeelPainter::DrawCheckBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState) const
{
    canvas->DrawEdge(r, true, false);
    canvas->DrawEdge(Shrink(r, 1), true, true);
}

namespace {

void StandardHeaderBorder(TcxCanvas* canvas, const TRect& r, TcxNeighbors neighbors)
{
    canvas->DrawEdge(r, false, false);
    if (neighbors.Contains(nLeft)) {
        canvas->SetPixel(r.Left, r.Top + 1, clBtnFace);
        canvas->SetPixel(r.Left, r.Bottom - 2, clBtnFace);
    }
    if (neighbors.Contains(nRight)) {
        canvas->SetPixel(r.Right - 1, r.Top, clBtnHighlight);
        canvas->SetPixel(r.Right - 1, r.Top + 1, clBtnFace);
        canvas->SetPixel(r.Right - 1, r.Bottom - 2, clBtnFace);
    }
}

// One side of a tab as a filled strip; the far side is shadowed.
void ClassicTabBorder(TcxCanvas* canvas, TRect r, TcxBorder border, TcxBorders borders, bool vertical)
{
    if (vertical) {
        if (border == bLeft) {
            r.Top += Has(borders, bTop) ? 2 : 1;
            r.Bottom -= Has(borders, bBottom) ? 2 : 1;
            canvas->SetPixel(r.Left + 1, r.Top - 1, clBtnHighlight);
            canvas->SetPixel(r.Left + 1, r.Bottom, clBtnHighlight);
        } else if ((border == bTop || border == bBottom) && Has(borders, bLeft)) {
            ++r.Left;
        }
    } else {
        if (border == bLeft || border == bRight) {
            if (Has(borders, bTop))
                r.Top += 2;
            if (Has(borders, bBottom))
                --r.Bottom;
        } else if (border == bTop) {
            ++r.Left;
            --r.Right;
            canvas->SetPixel(r.Left - 1, r.Top + 1, clBtnHighlight);
            canvas->SetPixel(r.Right, r.Top + 1, clBtnHighlight);
        }
    }
    const bool far = vertical ? border == bBottom : border == bRight;
    canvas->FillRect(r, far ? clBtnShadow : clBtnHighlight);
}

void ClassicFilterDropDownButton(const TcxCustomLookAndFeelPainter* painter, TcxCanvas* canvas, const TRect& r,
                                 TcxButtonState state, bool isFilterActive)
{
    canvas->DrawEdge(r, state == cxbsPressed, state == cxbsPressed);
    const TRect inner = Shrink(r, 1);
    canvas->FillRect(inner, clBtnFace);
    painter->DrawButtonArrow(canvas, inner, isFilterActive ? clBlue : clBtnText);
}

// Both classic looks: the page parts filled with the checkerboard, nothing for empty parts.
bool ScrollBarPartSkipped(const TRect& r, TcxScrollBarPart part, TcxButtonState state)
{
    return cxRectIsEmpty(r) || part == sbpNone || (part == sbpThumbnail && state == cxbsDisabled);
}

} // namespace

void TcxStandardLookAndFeelPainter::DrawHeaderBorder(TcxCanvas* canvas, const TRect& r, TcxNeighbors neighbors,
                                                     TcxBorders) const
{
    StandardHeaderBorder(canvas, r, neighbors);
}

void TcxStandardLookAndFeelPainter::DrawHeaderControlSectionBorder(TcxCanvas* canvas, const TRect& r,
                                                                   TcxBorders borders, TcxButtonState state) const
{
    if (state == cxbsPressed) {
        canvas->DrawComplexFrame(r, clBtnShadow, clBtnShadow, borders);
        return;
    }
    canvas->DrawComplexFrame(r, clBtnHighlight, cl3DDkShadow, borders);
    canvas->DrawComplexFrame(Shrink(r, 1), cl3DLight, clBtnShadow, borders);
}

void TcxStandardLookAndFeelPainter::DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const
{
    DrawSortingArrow(canvas, r, clBtnShadow, clBtnHighlight, ascending);
}

void TcxStandardLookAndFeelPainter::DrawFooterBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->DrawEdge(r, false, false);
}

void TcxStandardLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->DrawEdge(r, true, true);
}

void TcxStandardLookAndFeelPainter::DrawFilterDropDownButton(TcxCanvas* canvas, const TRect& r,
                                                             TcxButtonState state, bool isFilterActive) const
{
    ClassicFilterDropDownButton(this, canvas, r, state, isFilterActive);
}

void TcxStandardLookAndFeelPainter::DrawTabBorder(TcxCanvas* canvas, const TRect& r, TcxBorder border,
                                                  TcxBorders borders, bool vertical) const
{
    ClassicTabBorder(canvas, r, border, borders, vertical);
}

void TcxStandardLookAndFeelPainter::DrawTabsRoot(TcxCanvas* canvas, const TRect& r, TcxBorders borders, bool) const
{
    canvas->DrawEdge(r, false, false, borders);
}

void TcxStandardLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& bounds,
                                                      TcxScrollBarPart part, TcxButtonState state) const
{
    if (ScrollBarPartSkipped(bounds, part, state))
        return;
    if (state == cxbsHot)
        state = cxbsNormal;
    TRect r = bounds;
    const bool pressed = state == cxbsPressed;
    if (part == sbpPageUp || part == sbpPageDown) {
        cxFillScrollBarPage(canvas, r, pressed);
        return;
    }
    const bool isArrow = part == sbpLineUp || part == sbpLineDown;
    if (isArrow) {
        if (pressed)
            r = cxRectOffset(r, 1, 1);
        DrawScrollArrowControl(canvas, r, GetArrowDirection(horizontal, part), state == cxbsDisabled);
        if (pressed)
            r = cxRectOffset(r, -1, -1);
    }
    if (isArrow && pressed) {
        canvas->DrawComplexFrame(r, clBtnShadow, clBtnShadow);
        canvas->DrawComplexFrame(Shrink(r, 1), clBtnFace, clBtnFace);
    } else {
        canvas->DrawComplexFrame(r, clBtnFace, cl3DDkShadow);
        canvas->DrawComplexFrame(Shrink(r, 1), clBtnHighlight, clBtnShadow);
    }
    if (part == sbpThumbnail)
        canvas->FillRect(Shrink(r, ButtonBorderSize(cxbsNormal)), clBtnFace);
}

void TcxStandardLookAndFeelPainter::DrawMonthHeader(TcxCanvas* canvas, const TRect& bounds, const std::string& text,
                                                    TcxNeighbors neighbors, const TcxViewParams& viewParams,
                                                    TcxHeaderArrows arrows, int sideWidth,
                                                    const TcxDrawBackgroundEvent& onDrawBackground) const
{
    TcxBorders borders = cxBordersAll;
    if (neighbors.Contains(nRight))
        borders &= ~cxBorder(bRight);
    if (neighbors.Contains(nLeft))
        borders &= ~cxBorder(bLeft);
    canvas->FrameRect(bounds, clBlack, 1, borders);
    const TRect content = HeaderContentBounds(bounds, borders);
    DrawHeader(canvas, content, content, neighbors, cxBordersAll, cxbsNormal, taCenter, vaCenter, false, false, text,
               viewParams.Font, viewParams.TextColor, viewParams.Color, onDrawBackground, false, false);
    DrawMonthHeaderArrows(canvas, bounds, arrows, sideWidth, clWindowText);
}

void TcxStandardLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas* canvas, const TRect& bounds,
                                                                const TcxViewParams& viewParams,
                                                                bool horizontal) const
{
    TRect r = bounds;
    const TColor colors[2][2] = {{clBtnFace, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}};
    for (const auto& pair : colors) {
        if (horizontal) {
            FillLine(canvas, {r.Left, r.Top, r.Right, r.Top + 1}, pair[0]);
            FillLine(canvas, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, pair[1]);
            r = cxRectInflate(r, 1, -1);
        } else {
            FillLine(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom}, pair[0]);
            FillLine(canvas, {r.Right - 1, r.Top, r.Right, r.Bottom}, pair[1]);
            r = cxRectInflate(r, -1, 1);
        }
    }
    canvas->FillRect(r, viewParams);
}

void TcxStandardLookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& bounds, bool,
                                                      TcxGroupBoxCaptionPosition, TcxBorders borders) const
{
    TRect r = bounds;
    --r.Right;
    --r.Bottom;
    canvas->FrameRect(r, clBtnShadow, 1, borders, true);
    canvas->FrameRect(cxRectOffset(r, 1, 1), clBtnHighlight, 1, borders, true);
}

// ---- flat ----

void TcxFlatLookAndFeelPainter::DrawBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->DrawEdge(r, true, true);
}

void TcxFlatLookAndFeelPainter::DrawButtonBorder(TcxCanvas* canvas, const TRect& bounds, TcxButtonState state) const
{
    if (state == cxbsPressed) {
        canvas->DrawComplexFrame(bounds, clBtnShadow, clBtnHighlight);
        return;
    }
    TRect r = bounds;
    if (state == cxbsDefault) {
        canvas->FrameRect(r, clBlack);
        r = Shrink(r, 1);
    }
    canvas->DrawComplexFrame(r, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                 TColor color) const
{
    DrawButton(canvas, r, "", cxbsNormal, true, color, clDefault, false, false);
    DrawExpandButtonCross(canvas, Shrink(r, 1), expanded, clBtnText);
    canvas->ExcludeClipRect(r);
}

void TcxFlatLookAndFeelPainter::DrawCheckBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const
{
    canvas->DrawEdge(r, true, true);
    canvas->FrameRect(Shrink(r, 1), CheckButtonColor(state));
}

void TcxFlatLookAndFeelPainter::DrawHeaderBorder(TcxCanvas* canvas, const TRect& r, TcxNeighbors neighbors,
                                                 TcxBorders) const
{
    StandardHeaderBorder(canvas, r, neighbors);
}

void TcxFlatLookAndFeelPainter::DrawHeaderControlSectionBorder(TcxCanvas* canvas, const TRect& r,
                                                               TcxBorders borders, TcxButtonState state) const
{
    if (state == cxbsPressed)
        canvas->DrawComplexFrame(r, clBtnShadow, clBtnHighlight, borders);
    else
        canvas->DrawComplexFrame(r, clBtnHighlight, clBtnShadow, borders);
}

void TcxFlatLookAndFeelPainter::DrawSortingMark(TcxCanvas* canvas, const TRect& r, bool ascending) const
{
    DrawSortingArrow(canvas, r, clBtnShadow, clBtnHighlight, ascending);
}

void TcxFlatLookAndFeelPainter::DrawFooterBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->DrawEdge(r, false, false);
}

void TcxFlatLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* canvas, const TRect& r) const
{
    canvas->DrawEdge(r, true, true);
}

void TcxFlatLookAndFeelPainter::DrawFilterDropDownButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                                         bool isFilterActive) const
{
    ClassicFilterDropDownButton(this, canvas, r, state, isFilterActive);
}

void TcxFlatLookAndFeelPainter::DrawTabBorder(TcxCanvas* canvas, const TRect& r, TcxBorder border,
                                              TcxBorders borders, bool vertical) const
{
    ClassicTabBorder(canvas, r, border, borders, vertical);
}

void TcxFlatLookAndFeelPainter::DrawTabsRoot(TcxCanvas* canvas, const TRect& r, TcxBorders borders, bool) const
{
    canvas->DrawEdge(r, false, false, borders);
}

void TcxFlatLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r,
                                                  TcxScrollBarPart part, TcxButtonState state) const
{
    if (ScrollBarPartSkipped(r, part, state))
        return;
    if (state == cxbsHot)
        state = cxbsNormal;
    if (part == sbpPageUp || part == sbpPageDown) {
        cxFillScrollBarPage(canvas, r, state == cxbsPressed);
        return;
    }
    DrawButton(canvas, r, "", state, true, clDefault, clDefault, false, false);
    if (part != sbpThumbnail)
        DrawScrollBarArrow(canvas, Shrink(r, ButtonBorderSize(cxbsNormal)), state,
                           GetArrowDirection(horizontal, part));
}

void cxFlatSplitterRest(TcxCanvas* canvas, TRect r, const TcxViewParams& viewParams, bool horizontal,
                        TColor first, TColor second)
{
    if (horizontal) {
        FillLine(canvas, {r.Left, r.Top, r.Right, r.Top + 1}, first);
        FillLine(canvas, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, second);
        r = cxRectInflate(r, 1, -1);
    } else {
        FillLine(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom}, first);
        FillLine(canvas, {r.Right - 1, r.Top, r.Right, r.Bottom}, second);
        r = cxRectInflate(r, -1, 1);
    }
    canvas->FillRect(r, viewParams);
}

void TcxFlatLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas* canvas, const TRect& r,
                                                            const TcxViewParams& viewParams, bool horizontal) const
{
    cxFlatSplitterRest(canvas, r, viewParams, horizontal, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* canvas, const TRect& r, bool,
                                                  TcxGroupBoxCaptionPosition, TcxBorders borders) const
{
    canvas->FrameRect(r, clBtnShadow, 1, borders, true);
    canvas->FrameRect(Shrink(r, 1), clBtnHighlight, 1, borders, true);
}

void TcxFlatLookAndFeelPainter::DrawDateNavigatorDateHeader(TcxCanvas* canvas, TRect& r) const
{
    canvas->FillRect(r, DefaultDateNavigatorHeaderColor());
    FillLine(canvas, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, clBtnFace);
    --r.Bottom;
}
