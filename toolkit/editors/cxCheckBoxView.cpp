// The check box as view data and view info: the square and caption laid out and painted for a
// cell without a control (or measured for one), the check state from the mouse, preview mode and
// the constant part of the size.
#include "toolkit/editors/cxCheckBox.h"

#include "toolkit/core/cxGeometry.h"
#include "toolkit/controls/cxControls.h"
#include "toolkit/editors/cxEditUtils.h"

#include <algorithm>

namespace cx {

// ---- view info --------------------------------------------------------------------------------

void TcxCustomCheckBoxViewInfo::Assign(TObject* source)
{
    TcxCustomEditViewInfo::Assign(source);
    if (auto* vi = dynamic_cast<TcxCustomCheckBoxViewInfo*>(source)) {
        CheckState = vi->CheckState;
        State = vi->State;
    }
}

void TcxCustomCheckBoxViewInfo::Offset(int dx, int dy)
{
    TcxCustomEditViewInfo::Offset(dx, dy);
    CheckRect = cxRectOffset(CheckRect, dx, dy);
    TextRect = cxRectOffset(TextRect, dx, dy);
    if (!cxRectIsEmpty(FocusRect))
        FocusRect = cxRectOffset(FocusRect, dx, dy);
}

void TcxCustomCheckBoxViewInfo::InternalPaint(TcxCanvas* canvas)
{
    const bool transparent = IsTransparent();
    if (!transparent)
        canvas->FillRect(Bounds, BackgroundColor);
    DrawEditCheck(canvas, CheckRect, State, CheckState, Glyph, GlyphCount, CheckBorderStyle, NativeStyle, BorderColor,
                  BackgroundColor, !transparent, IsDesigning, Focused, true, Painter, NullShowingStyle);
    if (Alignment != taCenter)
        DrawText(canvas);
    if (!cxRectIsEmpty(FocusRect))
        canvas->DrawFocusRect(FocusRect);
}

void TcxCustomCheckBoxViewInfo::DrawText(TcxCanvas* canvas)
{
    DrawCheckBoxText(canvas, Text, Font, TextColor, TextRect, DrawTextFlags, TextEnabled);
}

// ---- view data --------------------------------------------------------------------------------

void TcxCustomCheckBoxViewData::Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                          TcxMouseButton button, TShiftState shift, TcxCustomEditViewInfo* viewInfo,
                                          bool isMouseEvent)
{
    TcxCustomEditViewData::Calculate(canvas, bounds, p, button, shift, viewInfo, isMouseEvent);
    auto* vi = dynamic_cast<TcxCustomCheckBoxViewInfo*>(viewInfo);
    auto* props = dynamic_cast<TcxCustomCheckBoxProperties*>(Properties());
    if (!vi || !props)
        return;
    auto* box = Edit ? dynamic_cast<TcxCustomCheckBox*>(Edit->GetEditContainer()) : nullptr;
    const TcxEditCheckState previous = vi->CheckState;
    vi->Text = box ? box->Caption() : Caption;
    vi->Alignment = !IsInplace() || props->UseAlignmentWhenInplace() || !vi->Text.empty() ? props->CheckAlignment()
                                                                                          : taCenter;
    vi->CheckBorderStyle = GetStyle()->GetBorderStyle();
    vi->Glyph = props->HasGlyph() ? props->Glyph() : nullptr;
    vi->GlyphCount = props->GlyphCount();
    vi->NullShowingStyle = props->NullStyle();
    const bool hasGlyph = vi->GlyphCount > 0 && VerifyBitmap(vi->Glyph);
    vi->CheckBorderOffset = GetEditCheckBorderOffset(vi->CheckBorderStyle, NativeStyle, hasGlyph, vi->Painter);
    const TSize check = GetEditCheckSize(canvas, NativeStyle, vi->Glyph, vi->GlyphCount, vi->Painter);

    // The square: centred, then against the side the caption alignment names.
    const TRect client = vi->ClientRect;
    TRect r = client;
    if (IsInplace()) {
        if (vi->Alignment == taLeftJustify)
            r.Left += 2;
        else if (vi->Alignment == taRightJustify)
            r.Right -= 2;
    } else {
        r = cxRectInflate(r, -2, -2);
    }
    const int w = std::min(check.cx, r.Width());
    vi->CheckRect = cxRectBounds(r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - check.cy) / 2, w, check.cy);
    if (w < r.Width() && vi->Alignment == taLeftJustify)
        vi->CheckRect = cxRectBounds(r.Left, vi->CheckRect.Top, w, check.cy);
    else if (w < r.Width() && vi->Alignment == taRightJustify)
        vi->CheckRect = cxRectBounds(r.Right - w, vi->CheckRect.Top, w, check.cy);

    // The caption beside it.
    TRect t = client;
    if (IsInplace()) {
        if (vi->Alignment == taLeftJustify)
            t.Right -= 2;
        else if (vi->Alignment == taRightJustify)
            t.Left += 2;
    } else {
        t = cxRectInflate(t, -2, -2);
        --t.Top;
    }
    if (vi->CheckRect.Width() >= client.Width())
        t.Right = t.Left;
    else if (vi->Alignment == taLeftJustify)
        t.Left = vi->CheckRect.Right + 3;
    else if (vi->Alignment == taRightJustify)
        t.Right = vi->CheckRect.Left - 3;
    vi->TextEnabled = Enabled || NativeStyle;
    if (!vi->TextEnabled) {
        ++t.Right;
        ++t.Bottom;
    }
    vi->TextRect = t;
    vi->DrawTextFlags = props->GetDrawTextFlags(vi->Alignment, IsInplace());

    // The square's state: a control knows its own; a cell follows the mouse.
    if (!Enabled)
        vi->CheckState = ecsDisabled;
    else if (box)
        vi->CheckState = box->CheckState();
    else if (!IsDesigning && cxRectPtIn(vi->BorderRect, p)) {
        const bool noButton = !shift.Contains(ssLeft) && !shift.Contains(ssRight) && !shift.Contains(ssMiddle);
        if (noButton)
            vi->CheckState = ecsHot;
        else if (shift.Contains(ssLeft) && (button == cxmbLeft || previous == ecsPressed))
            vi->CheckState = ecsPressed;
        else
            vi->CheckState = ecsNormal;
    } else {
        vi->CheckState = ecsNormal;
    }
    if (box)
        vi->State = box->State();
    if (IsInplace() && vi->CheckBorderStyle == ebsSingle)
        vi->BorderColor = vi->CheckState == ecsHot || (IsDesigning && vi->CheckState != ecsDisabled) ? clHighlight
                                                                                                    : clBtnShadow;
    CalculateFocusRect(canvas, vi);
}

void TcxCustomCheckBoxViewData::CalculateFocusRect(TcxCanvas* canvas, TcxCustomCheckBoxViewInfo* vi)
{
    vi->FocusRect = cxNullRect;
    if (!vi->Focused)
        return;
    auto* props = static_cast<TcxCustomCheckBoxProperties*>(Properties());
    TRect focus = cxNullRect;
    if (!IsInplace() && vi->Alignment != taCenter) {
        if (vi->Text.empty())
            return;
        focus = vi->TextRect;
        if (!props->FullFocusRect() && canvas) {
            canvas->SetFont(vi->Font);
            canvas->TextExtent(vi->Text, focus, vi->DrawTextFlags);
        }
        focus = cxRectInflate(focus, 1, 1, 1, 2);
    } else if (IsInplace() && vi->Alignment == taCenter && GetPaintOptions().Contains(epoShowFocusRectWhenInplace)) {
        focus = cxRectInflate(vi->ClientRect, -1, -1);
    } else {
        return;
    }
    TRect limit = vi->Alignment == taCenter ? TRect{focus.Left, vi->ClientRect.Top, focus.Right, vi->ClientRect.Bottom}
                                            : cxRectInflate(vi->TextRect, 1, 1);
    limit.Right = std::min(limit.Right, vi->BorderRect.Right - 1);
    if (!cxRectIntersect(vi->FocusRect, focus, limit))
        vi->FocusRect = cxNullRect;
}

void TcxCustomCheckBoxViewData::EditValueToDrawValue(TcxCanvas* canvas, const Variant& value,
                                                     TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = dynamic_cast<TcxCustomCheckBoxViewInfo*>(viewInfo);
    auto* props = dynamic_cast<TcxCustomCheckBoxProperties*>(Properties());
    if (!vi || !props)
        return;
    vi->State = PreviewMode ? cbsChecked : props->GetState(value);
    if (IsInplace())
        vi->Text.clear();
    CalculateFocusRect(canvas, vi);
}

TSize TcxCustomCheckBoxViewData::InternalGetEditConstantPartSize(TcxCanvas* canvas, bool isInplace,
                                                                 const TcxEditSizeProperties& sizeProperties,
                                                                 TSize& minContentSize,
                                                                 TcxCustomEditViewInfo* viewInfo)
{
    const TSize result =
        TcxCustomEditViewData::InternalGetEditConstantPartSize(canvas, isInplace, sizeProperties, minContentSize, viewInfo);
    auto* props = static_cast<TcxCustomCheckBoxProperties*>(Properties());
    TBitmap* glyph = props->HasGlyph() ? props->Glyph() : nullptr;
    TSize s = GetEditCheckSize(canvas, NativeStyle, glyph, props->GlyphCount(), nullptr);
    const bool hasGlyph = props->GlyphCount() > 0 && VerifyBitmap(glyph);
    const int offset = GetEditCheckBorderOffset(GetStyle()->GetBorderStyle(), NativeStyle, hasGlyph, nullptr);
    auto* box = Edit ? dynamic_cast<TcxCustomCheckBox*>(Edit->GetEditContainer()) : nullptr;
    const std::string text = RemoveAccelChars(box ? box->Caption() : Caption, false);
    const bool captionShown = props->CheckAlignment() != taCenter && !text.empty();
    if (canvas)
        canvas->SetFont(GetStyle()->GetVisibleFont());
    if (isInplace && captionShown && canvas)
        s.cx += 3 + 2 + canvas->TextWidth(text);
    else
        s.cx += 4;
    s.cy += isInplace ? 2 * (1 - offset) : 4;
    if (canvas) {
        const std::string sample = isInplace || props->CheckAlignment() == taCenter ? std::string("Gg") : text;
        TRect r{0, 0, sizeProperties.Width > 0 ? sizeProperties.Width : 0x7FFFFF, 0};
        canvas->TextExtent(sample.empty() ? std::string("Gg") : sample, r,
                           (props->GetDrawTextFlags(props->CheckAlignment(), isInplace) | cxtfCalcRect) &
                               ~cxtfNoClip);
        s.cy = std::max(s.cy, r.Height());
    }
    minContentSize.cx += s.cx;
    minContentSize.cy += s.cy;
    return result;
}

TcxCustomEditViewDataClass TcxCustomCheckBoxProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxCustomCheckBoxViewData>();
}

TcxCustomEditViewInfoClass TcxCustomCheckBoxProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxCustomCheckBoxViewInfo>();
}

} // namespace cx
