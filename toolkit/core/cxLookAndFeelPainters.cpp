// The painter base: colours that depend on other colours, buttons, arrows, crosses, expand
// buttons, check boxes, label lines, scroll bars, size grips and the other small controls.
#include "toolkit/core/cxLookAndFeelPainters.h"

#include "platform/vcl/ImgList.h"

#include "platform/gdi/SysParams.h"
#include "toolkit/core/cxGeometry.h"

#include <utility>

using namespace cx;

namespace {

void SetBrushAndPen(TcxCanvas* canvas, TColor color)
{
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(color);
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(color);
}

void Triangle(TcxCanvas* canvas, const TPoint (&p)[3], TColor color)
{
    SetBrushAndPen(canvas, color);
    canvas->Polygon(p, 2);
}

TRect Shrink(const TRect& r, int d) { return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d}; }

} // namespace

// ---- colours that defer to others ----

TColor TcxCustomLookAndFeelPainter::DefaultEditorBackgroundColor(bool isDisabled) const
{
    return DefaultEditorBackgroundColorEx(isDisabled ? esckDisabled : esckNormal);
}

TColor TcxCustomLookAndFeelPainter::DefaultEditorTextColor(bool isDisabled) const
{
    return DefaultEditorTextColorEx(isDisabled ? esckDisabled : esckNormal);
}

TColor TcxCustomLookAndFeelPainter::DefaultDateNavigatorContentColor() const
{
    const TColor color = DefaultEditorBackgroundColor(false);
    return color == clDefault ? DefaultContentColor() : color;
}

TColor TcxCustomLookAndFeelPainter::DefaultDateNavigatorHeaderTextColor(bool isHighlight) const
{
    return isHighlight ? clHighlightText : DefaultHeaderTextColor();
}

TColor TcxCustomLookAndFeelPainter::ButtonSymbolColor(TcxButtonState state, TColor defaultColor) const
{
    if (state == cxbsDisabled)
        return clBtnShadow;
    return defaultColor == clDefault ? clBtnText : defaultColor;
}

TColor TcxCustomLookAndFeelPainter::CheckButtonColor(TcxButtonState state) const
{
    return state == cxbsPressed || state == cxbsDisabled ? clBtnFace : clWindow;
}

// ---- buttons ----

TRect TcxCustomLookAndFeelPainter::ButtonFocusRect(TcxCanvas*, const TRect& r) const
{
    const TRect inner = Shrink(r, 4);
    return cxRectIsEmpty(inner) ? r : inner;
}

TRect TcxCustomLookAndFeelPainter::ButtonGroupBorderSizes(int, int) const
{
    const int size = ButtonBorderSize(cxbsNormal);
    return {size, size, size, size};
}

void TcxCustomLookAndFeelPainter::DrawButton(TcxCanvas* canvas, const TRect& bounds, const std::string& caption,
                                             TcxButtonState state, bool drawBorder, TColor color, TColor textColor,
                                             bool wordWrap, bool) const
{
    TRect r = bounds;
    if (drawBorder) {
        DrawButtonBorder(canvas, r, state);
        r = Shrink(r, ButtonBorderSize(state));
    }
    canvas->FillRect(r, color == clDefault ? ButtonColor(state) : color);
    canvas->GetFont()->SetColor(textColor == clDefault ? ButtonSymbolColor(state, clDefault) : textColor);
    canvas->GetBrush()->SetStyle(bsClear);
    if ((r.Bottom - r.Top) % 2 != 0)
        --r.Bottom;
    if (r.Bottom - r.Top < 18)
        --r.Top;
    if (state == cxbsPressed)
        r = cxRectOffset(r, ButtonTextShift(), ButtonTextShift());
    if (!caption.empty())
        canvas->DrawTexT(caption, r,
                         cxtfHCenter | cxtfVCenter | cxtfShowPrefix | (wordWrap ? cxtfWordBreak : cxtfSingleLine),
                         state != cxbsDisabled);
    canvas->GetBrush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawButtonInGroup(TcxCanvas* canvas, const TRect& r, TcxButtonState state, int,
                                                    int, TColor) const
{
    DrawButton(canvas, r, "", state, true, clDefault, clDefault, false, false);
}

void TcxCustomLookAndFeelPainter::DrawButtonArrow(TcxCanvas* canvas, const TRect& r, TColor color) const
{
    int w = (r.Right - r.Left) / 2;
    if (w % 2 == 0)
        ++w;
    const int h = w / 2 + 1;
    TPoint p[3];
    p[0] = {(r.Left + r.Right - w) / 2, rtl::MulDiv(r.Top + r.Bottom - h, 1, 2)};
    p[1] = {p[0].X + w - 1, p[0].Y};
    p[2] = {p[0].X + w / 2, p[0].Y + h - 1};
    Triangle(canvas, p, color);
}

void TcxCustomLookAndFeelPainter::DrawButtonCross(TcxCanvas* canvas, const TRect& r, TColor color,
                                                  TcxButtonState state) const
{
    int s = FilterCloseButtonSize().cx / 2;
    if (s % 2 == 0)
        --s;
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(color);
    for (int d = 0; d <= 1; ++d) {
        int x = (r.Left + r.Right - s) / 2 + d, y = (r.Top + r.Bottom - s) / 2;
        if (state == cxbsPressed) {
            ++x;
            ++y;
        }
        canvas->MoveTo(x, y);
        canvas->LineTo(x + s, y + s);
        canvas->MoveTo(x, y + s - 1);
        canvas->LineTo(x + s, y - 1);
    }
}

// ---- arrows ----

void TcxCustomLookAndFeelPainter::CalculateArrowPoints(TRect r, TPoint (&p)[3], TcxArrowDirection direction,
                                                       bool proportional, int arrowSize) const
{
    if (proportional) {
        const int d = (r.Right - r.Left) - (r.Bottom - r.Top);
        if (d > 0)
            r = cxRectInflate(r, -(d / 2), 0);
        else
            r = cxRectInflate(r, 0, -(-d / 2));
    }
    const bool vertical = direction == adUp || direction == adDown;
    int size = arrowSize;
    if (size == 0)
        size = (vertical ? r.Right - r.Left - 1 : r.Bottom - r.Top - 1) / 4 + 1;
    const int X = vertical ? 2 * size - 1 : size, Y = vertical ? size : 2 * size - 1;
    const int cx1 = (r.Left + r.Right - 1) / 2, cxl = (r.Left + r.Right - X) / 2, cy = (r.Top + r.Bottom) / 2;
    const int ty = rtl::MulDiv(r.Top + r.Bottom - Y, 1, 2);
    switch (direction) {
    case adUp:
        p[1] = {cx1, ty};
        p[0] = {cxl, p[1].Y + Y - 1};
        p[2] = {p[0].X + X - 1, p[0].Y};
        break;
    case adDown:
        p[2] = {cxl, ty};
        p[0] = {p[2].X + X - 1, p[2].Y};
        p[1] = {cx1, p[2].Y + Y - 1};
        break;
    case adLeft:
        p[1] = {cxl, cy};
        p[2] = {p[1].X + X - 1, ty};
        p[0] = {p[2].X, p[2].Y + Y - 1};
        break;
    case adRight:
        p[0] = {cxl, ty};
        p[1] = {p[0].X + X - 1, cy};
        p[2] = {p[0].X, p[0].Y + Y - 1};
        break;
    }
}

void TcxCustomLookAndFeelPainter::DrawArrow(TcxCanvas* canvas, const TRect& r, TcxArrowDirection direction,
                                            TColor color) const
{
    TPoint p[3];
    CalculateArrowPoints(r, p, direction, true, 0);
    Triangle(canvas, p, color);
}

void TcxCustomLookAndFeelPainter::DrawArrow(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                            TcxArrowDirection direction, bool drawBorder) const
{
    TPoint p[3];
    CalculateArrowPoints(r, p, direction, false, 0);
    canvas->GetBrush()->SetStyle(bsSolid);
    if (drawBorder)
        DrawArrowBorder(canvas, r, state);
    else
        canvas->FillRect(r, ButtonColor(state));
    Triangle(canvas, p, ButtonSymbolColor(state, clDefault));
}

void TcxCustomLookAndFeelPainter::DrawArrowBorder(TcxCanvas* canvas, const TRect& r, TcxButtonState state) const
{
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(r, ButtonColor(state));
    DrawButtonBorder(canvas, r, state);
}

void TcxCustomLookAndFeelPainter::DrawScrollBarArrow(TcxCanvas* canvas, TRect r, TcxButtonState state,
                                                     TcxArrowDirection direction) const
{
    if (state == cxbsPressed)
        r = cxRectOffset(r, ButtonTextShift(), ButtonTextShift());
    TPoint p[3];
    CalculateArrowPoints(r, p, direction, true, 0);
    canvas->GetBrush()->SetStyle(bsSolid);
    if (state != cxbsDisabled) {
        Triangle(canvas, p, ButtonSymbolColor(state, clDefault));
        return;
    }
    TPoint moved[3];
    for (int i = 0; i < 3; ++i)
        moved[i] = {p[i].X + 1, p[i].Y + 1};
    Triangle(canvas, moved, clBtnHighlight);
    Triangle(canvas, p, clBtnShadow);
}

TcxArrowDirection TcxCustomLookAndFeelPainter::GetArrowDirection(bool horizontal, TcxScrollBarPart part) const
{
    if (horizontal)
        return part == sbpLineUp ? adLeft : adRight;
    return part == sbpLineUp ? adUp : adDown;
}

// ---- expand buttons ----

void TcxCustomLookAndFeelPainter::DrawExpandButtonCross(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                        TColor color) const
{
    const int half = (r.Right - r.Left - 4) / 2;
    const int cx = GetRangeCenter(r.Left, r.Right), cy = GetRangeCenter(r.Top, r.Bottom);
    canvas->FillRect({cx - half, cy, cx + half + 1, cy + 1}, color);
    if (!expanded)
        canvas->FillRect({cx, cy - half, cx + 1, cy + half + 1}, color);
}

void TcxCustomLookAndFeelPainter::DrawSmallExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                        TColor borderColor, TColor color) const
{
    canvas->FrameRect(r, borderColor, 1, cxBordersAll);
    if (color != clDefault)
        canvas->FillRect(Shrink(r, 1), color);
    DrawExpandButtonCross(canvas, r, expanded, clBtnText);
}

void TcxCustomLookAndFeelPainter::DrawGroupExpandButton(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                        TcxButtonState state) const
{
    DrawButton(canvas, r, "", state, true, clDefault, clDefault, false, false);
    DrawGroupExpandButtonMark(canvas, r, expanded, state);
}

void TcxCustomLookAndFeelPainter::DrawGroupExpandButtonMark(TcxCanvas* canvas, const TRect& r, bool expanded,
                                                            TcxButtonState state) const
{
    const int s = 3;
    const int x = (r.Left + r.Right - 7) / 2, y0 = (r.Top + r.Bottom - 8) / 2;
    const int d = expanded ? 1 : -1;
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(ButtonSymbolColor(state, clDefault));
    for (int i = 0; i < 4; ++i) {
        int y = y0 + i + (i >= 2 ? 2 : 0);
        if (expanded)
            y += s;
        int p = i % 2;
        if (!expanded)
            p = 1 - p;
        canvas->MoveTo(x + p, y - d * p);
        canvas->LineTo(x + s, y - s * d);
        canvas->LineTo(x + 2 * s + 1 - p, y + (1 - p) * d);
    }
}

bool TcxCustomLookAndFeelPainter::IsPointOverGroupExpandButton(const TRect& r, const TPoint& p) const
{
    return cxRectPtIn(r, p);
}

// ---- check boxes ----

TSize TcxCustomLookAndFeelPainter::CheckButtonSize() const { return cxSystemCheckBoxSize(); }

void TcxCustomLookAndFeelPainter::DrawCheck(TcxCanvas* canvas, const TRect& r, TcxButtonState state, bool checked,
                                            TColor color) const
{
    if (canvas->GetBrush()->GetStyle() == bsSolid)
        canvas->FillRect(r, CheckButtonColor(state));
    if (!checked)
        return;
    const int w = r.Right - r.Left - 2, h = r.Bottom - r.Top - 4, x = (r.Left + r.Right) / 2 - 1;
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetColor(color);
    for (int d = 0; d <= 2; ++d) {
        const int y = (r.Top + r.Bottom + h) / 2 - 2 + d;
        canvas->MoveTo(x - (w / 2 - 1), y - h / 2);
        canvas->LineTo(x, y);
        canvas->LineTo(x + w / 2 + 2, y - h);
    }
}

void TcxCustomLookAndFeelPainter::DrawCheckButton(TcxCanvas* canvas, const TRect& r, TcxButtonState state,
                                                  bool checked) const
{
    DrawCheckButton(canvas, r, state, checked ? cbsChecked : cbsUnchecked);
}

void TcxCustomLookAndFeelPainter::DrawCheckButton(TcxCanvas* canvas, const TRect& bounds, TcxButtonState state,
                                                  TcxCheckBoxState checkState) const
{
    DrawCheckBorder(canvas, bounds, state);
    const TRect r = Shrink(bounds, CheckBorderSize());
    const TColor color = state == cxbsDisabled || checkState == cbsGrayed ? clGrayText : clBtnText;
    DrawCheck(canvas, r, state, checkState == cbsChecked, color);
}

void TcxCustomLookAndFeelPainter::DrawLabelLine(TcxCanvas* canvas, const TRect& r, TColor outerColor,
                                                TColor innerColor, bool isVertical) const
{
    canvas->DrawComplexFrame(r, outerColor == clDefault ? clBtnShadow : outerColor,
                             innerColor == clDefault ? clBtnHighlight : innerColor,
                             isVertical ? cxBorder(bLeft) | cxBorder(bRight) : cxBorder(bTop) | cxBorder(bBottom), 1);
}

// ---- scroll bars, size grips, windows, navigator ----

void TcxCustomLookAndFeelPainter::DrawScrollBarBackground(TcxCanvas* canvas, const TRect& r, bool horizontal) const
{
    DrawScrollBarPart(canvas, horizontal, r, sbpPageUp, cxbsNormal);
}

TSize TcxCustomLookAndFeelPainter::SizeGripSize() const
{
    return {gdi::GetSystemMetrics(SM_CXVSCROLL), gdi::GetSystemMetrics(SM_CYHSCROLL)};
}

void TcxCustomLookAndFeelPainter::DrawSizeGrip(TcxCanvas* canvas, const TRect& r, TColor backgroundColor) const
{
    canvas->FillRect(r, backgroundColor);
    // The platform's fixed size-grip picture: diagonals (x + y constant) at distance k = 1..12
    // from the bottom-right corner; k mod 4 = 1 is left empty, 2 and 3 are button shadow, 0 is
    // button highlight, so three ridges of light over shadow run towards the corner.
    for (int k = 1; k <= 12; ++k) {
        const int kind = k % 4;
        if (kind == 1)
            continue;
        const TColor color = kind == 0 ? clBtnHighlight : clBtnShadow;
        for (int i = 0; i < k; ++i) {
            const int x = r.Right - k + i, y = r.Bottom - 1 - i;
            if (x >= r.Left && y >= r.Top)
                canvas->SetPixel(x, y, color);
        }
    }
}

void TcxCustomLookAndFeelPainter::DrawWindowContent(TcxCanvas* canvas, const TRect& r) const
{
    canvas->FillRect(r, clBtnFace);
}

void TcxCustomLookAndFeelPainter::DrawNavigatorGlyph(TcxCanvas* canvas, TCustomImageList* images, int imageIndex,
                                                     int, const TRect& r, bool enabled, bool) const
{
    if (canvas && images)
        images->Draw(canvas->WrappedCanvas(), r.Left, r.Top, imageIndex, enabled);
}
