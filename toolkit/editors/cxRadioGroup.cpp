// The stand-alone radio button: states that follow the mouse, the glyph through the painter, the
// caption with its insets and colour, the focus rectangle, transparency and the popup menu.
#include "toolkit/editors/cxRadioGroup.h"

#include "platform/vcl/SystemFacade.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsShared.h"
#include "toolkit/editors/cxContainer.h"
#include "toolkit/editors/cxControls.h"
#include "toolkit/editors/cxEdit.h"

#include <algorithm>

namespace cx {

TRect RadioButtonTextCorrection(bool inplace, bool native, bool wordWrap, bool textLeftOfGlyph)
{
    if (inplace)
        return native ? TRect{3, 0, 0, 0} : TRect{5, 0, 1, 0};
    TRect r;
    if (!native) {
        if (!wordWrap)
            r = textLeftOfGlyph ? TRect{2, -1, 1, 0} : TRect{5, -1, 0, 0};
        else
            r = textLeftOfGlyph ? TRect{2, -1, 6, 0} : TRect{5, -1, 2, 0};
        return r;
    }
    if (!wordWrap)
        r = textLeftOfGlyph ? TRect{0, -1, 1, 0} : TRect{3, -1, 0, 0};
    else
        r = textLeftOfGlyph ? TRect{0, -1, 3, 0} : TRect{3, -1, 0, 0};
    if (EmulateStandardControlDrawing())
        r.Top = r.Bottom = 0;
    return r;
}

TcxRadioButton::TcxRadioButton(TComponent* owner) : TRadioButton(owner)
{
    ControlStyle.Include(csDoubleClicks);
    lookAndFeel_ = new TcxLookAndFeel(this);
    lookAndFeel_->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxRadioButton::LookAndFeelChanged);
    PrepareRadioButtonImageList();   // the painters' radio images, made once
}

TcxRadioButton::~TcxRadioButton()
{
    lookAndFeel_->OnChanged = {};
    lookAndFeel_->Free();
}

TcxCustomLookAndFeelPainterClass TcxRadioButton::Painter() const { return lookAndFeel_->GetAvailablePainter(totButton); }

void TcxRadioButton::SetAlignment(TAlignment value)
{
    if (alignment_ != value) {
        alignment_ = value;
        Invalidate();
    }
}

void TcxRadioButton::SetParentBackground(bool value)
{
    parentBackground_ = value;
    Invalidate();
}

void TcxRadioButton::SetTransparent(bool value)
{
    transparent_ = value;
    Invalidate();
}

void TcxRadioButton::SetWordWrap(bool value)
{
    wordWrap_ = value;
    Invalidate();
}

void TcxRadioButton::SetPopupMenu(TComponent* value) { cxSetPopupMenu(this, popupMenu_, value); }

void TcxRadioButton::Notification(TComponent* component, TOperation operation)
{
    TRadioButton::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
}

bool TcxRadioButton::IsNativeStyle() const
{
    return AreVisualStylesMustBeUsed(lookAndFeel_->GetNativeStyle(), totButton);
}

bool TcxRadioButton::IsNativeBackground() const
{
    return IsNativeStyle() && parentBackground_ && !IsInplace() && !transparent_;
}

// ---- state ------------------------------------------------------------------------------------

void TcxRadioButton::SetState(TcxRadioButtonState value)
{
    if (state_ == value)
        return;
    state_ = value;
    InvalidateRect(cxRectInflate(buttonRect_, 1, 1), false);
}

void TcxRadioButton::UpdateState(TShiftState shift, const TPoint& p)
{
    const bool inside = cxRectPtIn(GetClientRect(), p);
    if (!Enabled())
        SetState(rbsDisabled);
    else if (ComponentState().Contains(csDesigning))
        SetState(rbsNormal);
    else if (MouseCapture())
        SetState(inside ? rbsPressed : rbsHot);
    else
        SetState(!inside || !shift.Empty() ? rbsNormal : rbsHot);
}

void TcxRadioButton::ShortUpdateState()
{
    UpdateState({}, ScreenToClient(vcl::System().GetCursorPos()));
}

void TcxRadioButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TRadioButton::MouseDown(button, shift, x, y);
    UpdateState(shift, {x, y});
}

void TcxRadioButton::MouseMove(TShiftState shift, int x, int y)
{
    TRadioButton::MouseMove(shift, x, y);
    UpdateState(shift, {x, y});
}

void TcxRadioButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TRadioButton::MouseUp(button, shift, x, y);
    UpdateState(shift, {x, y});
}

void TcxRadioButton::DoEnter()
{
    TRadioButton::DoEnter();
    // Entering an unchecked button checks it, which clicks once.
    if (!Checked() && !ComponentState().Contains(csLoading))
        SetChecked(true);
}

void TcxRadioButton::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_ERASEBKGND: msg.Result = 1; return;
    case CM_MOUSEENTER:
        TRadioButton::Dispatch(msg);
        ShortUpdateState();
        return;
    case CM_MOUSELEAVE:
        TRadioButton::Dispatch(msg);
        UpdateState({}, {-1, -1});
        return;
    case CM_ENABLEDCHANGED:
        TRadioButton::Dispatch(msg);
        ShortUpdateState();
        Invalidate();
        return;
    case CM_SYSCOLORCHANGE: Invalidate(); break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        if (popupMenu_ && IsPopupMenuShortCut(popupMenu_, msg)) {
            msg.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TRadioButton::Dispatch(msg);
}

void TcxRadioButton::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (ComponentState().Contains(csDesigning))
        return;
    TRadioButton::DoContextPopup(mousePos, handled);
    if (handled)
        return;
    if (mousePos.X == -1 && mousePos.Y == -1)
        mousePos = {0, 0};
    const TPoint s = ClientToScreen(mousePos);
    handled = DoShowPopupMenu(popupMenu_, s.X, s.Y);
}

bool TcxRadioButton::DoShowPopupMenu(TComponent* menu, int x, int y) { return ShowPopupMenu(this, menu, x, y); }

// ---- painting ---------------------------------------------------------------------------------

TRect TcxRadioButton::GetRadioButtonRect(const TSize& size, bool nativeStyle) const
{
    const int top = (Height() - size.cy) / 2;
    if (alignment_ == taRightJustify) {
        const int left = nativeStyle || IsInplace() ? 0 : 1;
        return cxRectBounds(left, top, size.cx, size.cy);
    }
    return cxRectBounds(Width() - size.cx, top, size.cx, size.cy);
}

TColor TcxRadioButton::GetTextColor() const
{
    const TColor fontColor = Font()->GetColor();
    if (fontColor == clWindowText) {
        const TColor c = Painter()->DefaultEditorTextColor(!Enabled());
        if (c != clDefault)
            return c;
    }
    return Enabled() || IsRadioGroupButton() ? fontColor : TColor(clBtnShadow);
}

TColor TcxRadioButton::GlyphBrushColor() const
{
    if (IsTransparentBackground())
        return lookAndFeel_->SkinPainter() ? TColor(clNone) : TColor(clDefault);
    return Color();
}

void TcxRadioButton::CorrectTextRect(TRect& r, bool nativeStyle) const
{
    const TRect c = RadioButtonTextCorrection(IsInplace(), nativeStyle, wordWrap_, alignment_ != taRightJustify);
    r = {r.Left + c.Left, r.Top + c.Top, r.Right - c.Right, r.Bottom - c.Bottom};
}

void TcxRadioButton::DrawBackground(TcxCanvas* canvas)
{
    if (!IsTransparentBackground())
        canvas->FillRect(GetClientRect(), Color());
}

void TcxRadioButton::DrawCaption(TcxCanvas* canvas, bool nativeStyle)
{
    canvas->SetFont(Font());
    canvas->GetFont()->SetColor(GetTextColor());
    TRect r = GetClientRect();
    if (alignment_ == taRightJustify)
        r.Left = buttonRect_.Right;
    else
        r.Right = buttonRect_.Left;
    canvas->GetBrush()->SetStyle(bsClear);
    CorrectTextRect(r, nativeStyle);
    const int flags = cxtfLeft | cxtfVCenter | cxtfShowPrefix | (wordWrap_ ? cxtfWordBreak | cxtfNoClip : cxtfSingleLine);
    const bool disabledManner = !Enabled() && Painter()->DefaultEditorTextColor(true) == clDefault &&
                                !IsRadioGroupButton() && !nativeStyle;
    canvas->DrawTexT(Caption(), r, flags, !disabledManner);
    canvas->GetBrush()->SetStyle(bsSolid);
    if (!Focused() || Caption().empty())
        return;
    TRect text = r;
    canvas->TextExtent(Caption(), text, flags);
    text = cxRectInflate(text, 1, 1, 1, 2);
    if (IsInplace()) {
        text.Top = std::max(text.Top, 1);
        text.Bottom = std::min(text.Bottom, Height() - 1);
        text.Right = std::min(text.Right, Width());
    }
    canvas->GetBrush()->SetColor(Color());
    canvas->GetFont()->SetColor(Font()->GetColor());
    canvas->DrawFocusRect(text);
}

void TcxRadioButton::PaintButton(TCanvas* c, const TRect& client, bool)
{
    TcxCanvas canvas(c);
    const bool native = IsNativeStyle();
    if (IsTransparent() || IsNativeBackground())
        cxDrawTransparentControlBackground(this, &canvas, client);
    else if (native)
        DrawBackground(&canvas);
    const TcxCustomLookAndFeelPainterClass painter = Painter();
    buttonRect_ = GetRadioButtonRect(painter->RadioButtonSize(), native);
    static constexpr TcxButtonState states[] = {cxbsDisabled, cxbsHot, cxbsNormal, cxbsPressed};
    painter->DrawRadioButton(&canvas, buttonRect_.Left, buttonRect_.Top, states[state_], Checked(), Focused(),
                             GlyphBrushColor(), ComponentState().Contains(csDesigning));
    canvas.SaveClipRegion();
    canvas.ExcludeClipRect(buttonRect_);
    DrawBackground(&canvas);
    DrawCaption(&canvas, native);
    canvas.RestoreClipRegion();
}

} // namespace cx
