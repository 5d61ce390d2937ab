#include <algorithm>
#include <exception>
#include <memory>

#include "platform/vcl/Forms.h"
#include "toolkit/core/cxGraphicsImages.h"
#include "toolkit/core/cxGraphicsShared.h"
#include "toolkit/core/dxOffice11.h"
#include "toolkit/editors/cxEditViewInfo.h"

namespace cx {

namespace {

bool IsPressedOrSelected(const TcxEditButtonViewInfo* b)
{
    return b->Data.State == ebsPressed || b->Data.State == ebsSelected;
}

// The part of a hint before the first '|'.
std::string ShortHint(const std::string& hint)
{
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

// Keeps evsPaintButtons set for the duration of a buttons paint, also when a paint path throws.
struct PaintButtonsGuard {
    explicit PaintButtonsGuard(TcxEditViewInfoStates& s) : state(s) { state.Include(evsPaintButtons); }
    ~PaintButtonsGuard() { state = state - TcxEditViewInfoStates{evsPaintButtons}; }
    TcxEditViewInfoStates& state;
};

struct ClipGuard {
    explicit ClipGuard(TcxCanvas* c, bool active = true) : canvas(active ? c : nullptr)
    {
        if (canvas)
            canvas->SaveClipRegion();
    }
    ~ClipGuard()
    {
        if (canvas)
            canvas->RestoreClipRegion();
    }
    TcxCanvas* canvas;
};

} // namespace

TcxCustomEditViewInfo::TcxCustomEditViewInfo() = default;

TcxCustomEditViewInfo::~TcxCustomEditViewInfo() { SetButtonCount(0); }

// ---- buttons ----------------------------------------------------------------------------------

void TcxCustomEditViewInfo::SetButtonCount(int count)
{
    while (int(ButtonsInfo.size()) > count) {
        delete ButtonsInfo.back();
        ButtonsInfo.pop_back();
    }
    if (int(ButtonsInfo.size()) < count) {
        const TcxEditButtonViewInfoClass cls = GetButtonViewInfoClass();
        while (int(ButtonsInfo.size()) < count)
            ButtonsInfo.push_back(cls.Create());
    }
}

TcxEditButtonViewInfoClass TcxCustomEditViewInfo::GetButtonViewInfoClass() const
{
    return TcxEditButtonViewInfoClass::Of<TcxEditButtonViewInfo>();
}

// ---- container view info overrides ------------------------------------------------------------

void TcxCustomEditViewInfo::Assign(TObject* source)
{
    if (auto* src = dynamic_cast<TcxCustomEditViewInfo*>(source)) {
        SetBackgroundColor(src->BackgroundColor);
        BorderColor = src->BorderColor;
        EditBorderStyle = src->EditBorderStyle;
        BorderStyle = src->BorderStyle;
        ContainerState = src->ContainerState;
        NativeState = src->NativeState;
        SetButtonCount(src->ButtonCount());
        for (int i = 0; i < ButtonCount(); ++i)
            ButtonsInfo[i]->Assign(src->ButtonsInfo[i]);
        PressedButton = src->PressedButton;
        SelectedButton = src->SelectedButton;
    }
    TcxContainerViewInfo::Assign(source);
}

TcxRegion* TcxCustomEditViewInfo::GetUpdateRegion(TObject* viewInfo)
{
    auto* old = dynamic_cast<TcxCustomEditViewInfo*>(viewInfo);
    if (!old || &old->ClassType() != &ClassType())
        return new TcxRegion();
    const bool sameFrame = (BorderColor == old->BorderColor || EditBorderStyle == ebsNone) &&
                           EditBorderStyle == old->EditBorderStyle;
    if (sameFrame && ButtonCount() == old->ButtonCount() && NativeState == old->NativeState) {
        auto* region = new TcxRegion();
        for (int i = 0; i < ButtonCount(); ++i) {
            TcxRegion* buttonRegion = ButtonsInfo[i]->GetUpdateRegion(old->ButtonsInfo[i]);
            if (buttonRegion->GetIsEmpty())
                delete buttonRegion;
            else
                region->Combine(buttonRegion, roAdd);
        }
        return region;
    }
    return cxRectIsEmpty(Bounds) ? new TcxRegion() : new TcxRegion(Bounds);
}

void TcxCustomEditViewInfo::Offset(int dx, int dy)
{
    TcxContainerViewInfo::Offset(dx, dy);
    InnerEditRect = cxRectOffset(InnerEditRect, dx, dy);
    ShadowRect = cxRectOffset(ShadowRect, dx, dy);
    for (TcxEditButtonViewInfo* b : ButtonsInfo) {
        b->Bounds = cxRectOffset(b->Bounds, dx, dy);
        b->VisibleBounds = cxRectOffset(b->VisibleBounds, dx, dy);
    }
}

void TcxCustomEditViewInfo::Paint(TcxCanvas* canvas)
{
    // An exception must not leave a paint (it would cross the window system's paint event):
    // a conversion or formatting failure in a handler or a descendant leaves its text undrawn.
    try {
        CallEvent(OnPaint, this, canvas);
    } catch (const std::exception&) {
    }
    try {
        TcxContainerViewInfo::Paint(canvas);
    } catch (const std::exception&) {
    }
}

void TcxCustomEditViewInfo::InternalPaint(TcxCanvas* canvas) { DrawCustomEdit(canvas, true, bpsSolid); }

void TcxCustomEditViewInfo::PaintEx(TcxCanvas* canvas)
{
    const TPoint origin = canvas->GetWindowOrg();
    canvas->SetWindowOrg({origin.X - Left, origin.Y - Top});
    Paint(canvas);
    canvas->SetWindowOrg(origin);
}

// ---- background -------------------------------------------------------------------------------

bool TcxCustomEditViewInfo::DrawBackground(TcxCanvas* canvas)
{
    if (!IsInplace || !OnDrawBackground.Assigned())
        return false;
    bool handled = false;
    OnDrawBackground(this, canvas, handled);
    return handled;
}

bool TcxCustomEditViewInfo::DrawBackground(TcxCanvas* canvas, const TPoint& p)
{
    const TPoint origin = canvas->GetWindowOrg();
    canvas->SetWindowOrg({origin.X - p.X, origin.Y - p.Y});
    bool handled = false;
    try {
        handled = DrawBackground(canvas);
    } catch (...) {
        canvas->SetWindowOrg(origin);
        throw;
    }
    canvas->SetWindowOrg(origin);
    return handled;
}

TcxDrawBackgroundStyle TcxCustomEditViewInfo::GetDrawBackgroundStyle() const
{
    if (IsInplace) {
        if (const_cast<TcxCustomEditViewInfo*>(this)->IsCustomBackground())
            return dbsCustom;
        return IsTransparent() ? dbsNone : dbsSimpleFill;
    }
    if (IsTransparent())
        return dbsSimpleParent;
    if (IsNativeBackground())
        return dbsThemeParent;
    return NativeStyle ? dbsSimpleFill : dbsCustomEdit;
}

void TcxCustomEditViewInfo::DrawEditBackground(TcxCanvas* canvas, const TRect& r, const TRect& excludedRect,
                                               bool keepExcluded)
{
    canvas->SaveDC();
    if (!keepExcluded)
        canvas->ExcludeClipRect(excludedRect);
    switch (GetDrawBackgroundStyle()) {
    case dbsCustom:
        canvas->IntersectClipRect(r);
        DrawBackground(canvas);
        break;
    case dbsCustomEdit: DrawCustomEdit(canvas, true, bpsSolid); break;
    case dbsSimpleFill: cxEditFillRect(canvas, r, BackgroundColor); break;
    case dbsSimpleParent:
    case dbsThemeParent:
        if (TcxContainer* control = Edit ? Edit->GetEditContainer() : nullptr)
            cxDrawTransparentControlBackground(control, canvas, r);
        break;
    case dbsNone: break;
    }
    canvas->RestoreDC();
}

void TcxCustomEditViewInfo::DrawCustomEdit(TcxCanvas* canvas, bool fillAll,
                                           TcxEditBackgroundPaintingStyle paintingStyle)
{
    {
        const bool clipButtons = ButtonCount() > 0 && !ButtonsInfo[0]->Data.BackgroundPartiallyTransparent;
        ClipGuard clip(canvas, clipButtons);
        if (clipButtons)
            for (const TcxEditButtonViewInfo* b : ButtonsInfo)
                canvas->ExcludeClipRect(b->VisibleBounds);
        const gdi::Brush* brush = GetSolidBrush(BackgroundColor);
        if (DrawBackground(canvas)) {
        } else if (NativeStyle)
            DrawNativeStyleEditBackground(canvas, fillAll, paintingStyle, brush);
        else {
            BorderWidth = cxEditGetBorderWidthBySkinPainter(EditBorderStyle, Painter);
            const TRect frame = DrawShadow(canvas);
            if (!Painter || EditBorderStyle != ebsNone)
                DrawBorder(canvas, frame);
            const bool transparent = IsTransparent();
            if (!IsInplace) {
                if (fillAll && !transparent)
                    cxEditFillRect(canvas->GetHandle(), BorderRect, brush);
            } else if (!transparent) {
                if (fillAll)
                    cxEditFillRect(canvas->GetHandle(), Bounds, brush);
                else if (HasContentOffsets)
                    InternalFillRect(canvas, Bounds, BorderRect, brush);
            }
        }
    }
    DrawButtons(canvas);
}

void TcxCustomEditViewInfo::DrawNativeStyleEditBackground(TcxCanvas* canvas, bool fillAll,
                                                          TcxEditBackgroundPaintingStyle paintingStyle,
                                                          const gdi::Brush* brush)
{
    // No theme opens on this platform: the themed frame is not drawn and the background covers
    // the whole editor (the fill rules below are those of the themed form).
    const TRect background = Bounds;
    if (IsTransparent())
        return;
    if (!fillAll && !IsInplace && EditBorderStyle != ebsNone) {
        if (paintingStyle != bpsComboListEdit)
            InternalFillRect(canvas, background, BorderRect, brush);
    } else
        cxEditFillRect(canvas->GetHandle(), background, brush);
}

bool TcxCustomEditViewInfo::IsBackgroundTransparent() const
{
    const TcxDrawBackgroundStyle s = GetDrawBackgroundStyle();
    return s != dbsCustomEdit && s != dbsSimpleFill;
}

bool TcxCustomEditViewInfo::IsCustomBackground()
{
    bool handled = false;
    CallEvent(OnDrawBackground, this, static_cast<TcxCanvas*>(nullptr), handled);
    return handled;
}

bool TcxCustomEditViewInfo::IsNativeBackground() const { return Edit && Edit->IsEditNativeBackground(); }

bool TcxCustomEditViewInfo::IsTransparent() const { return Transparent || (Edit && Edit->IsEditTransparent()); }

// ---- buttons' painting ------------------------------------------------------------------------

void TcxCustomEditViewInfo::DrawButtons(TcxCanvas* canvas)
{
    if (State.Contains(evsPaintButtons) || (Edit && Edit->IsButtonDC(canvas->GetHandle())))
        return;
    PaintButtonsGuard guard(State);
    for (int i = 0; i < ButtonCount(); ++i)
        DrawButton(canvas, i);
}

void TcxCustomEditViewInfo::DrawButton(TcxCanvas* canvas, int visibleIndex)
{
    TcxEditButtonViewInfo* b = ButtonsInfo[visibleIndex];
    b->Data.BackgroundColor = BackgroundColor;
    if (cxRectIsEmpty(b->VisibleBounds))
        return;
    TRect inside;
    const bool sticksOut = !cxRectIntersect(inside, b->Bounds, BorderRect) || inside != b->Bounds;
    ClipGuard clip(canvas, sticksOut);
    if (sticksOut)
        canvas->IntersectClipRect(b->VisibleBounds);
    bool handled = false;
    CallEvent(OnDrawButton, this, canvas, visibleIndex, handled);
    if (!handled)
        DrawEditButton(canvas, visibleIndex);
}

void TcxCustomEditViewInfo::DrawEditButton(TcxCanvas* canvas, int visibleIndex)
{
    // The platform's window paint is already double-buffered, so buttons are drawn straight onto
    // the canvas rather than through a bitmap of their own.
    TcxEditButtonViewInfo* b = ButtonsInfo[visibleIndex];
    TColor textColor = clBtnText;
    TColor backgroundColor = b->Data.BackgroundColor;
    TRect backgroundRect = b->Bounds;
    TRect contentRect = cxNullRect;
    DrawButtonBorder(canvas, visibleIndex, backgroundRect, contentRect, textColor, backgroundColor);
    if (!cxRectIsEmpty(backgroundRect))
        DrawButtonBackground(canvas, visibleIndex, backgroundRect, backgroundColor);
    if (!cxRectIsEmpty(contentRect)) {
        const bool pressedOffset =
            b->Data.State == ebsPressed && (!Edit || Edit->GetEditContentOptions().Contains(ecoOffsetButtonContent));
        DrawButtonContent(canvas, visibleIndex, contentRect, textColor, backgroundColor, pressedOffset);
    }
}

void TcxCustomEditViewInfo::DrawButtonBorder(TcxCanvas* canvas, int visibleIndex, TRect& backgroundRect,
                                             TRect& contentRect, TColor& textColor, TColor& backgroundColor)
{
    bool handled = false;
    CallEvent(OnDrawButtonBorder, this, canvas, visibleIndex, backgroundRect, contentRect, handled);
    if (handled)
        return;
    TcxEditButtonViewInfo* b = ButtonsInfo[visibleIndex];
    if (b->Data.NativeState != 0) {
        DrawNativeButtonBorder(canvas, b, backgroundRect, contentRect, textColor, backgroundColor);
        return;
    }
    if (Painter) {
        DrawButtonBorderByPainter(canvas, b, backgroundRect, contentRect, textColor, backgroundColor);
        return;
    }
    TcxEditButtonStyle style = b->Data.Style;
    if (style == btsSimple && IsPressedOrSelected(b))
        style = btsFlat;
    switch (style) {
    case bts3D: Draw3DButtonBorder(canvas, b, backgroundRect, contentRect, textColor, backgroundColor); break;
    case btsFlat: DrawFlatButtonBorder(canvas, b, backgroundRect, contentRect, textColor, backgroundColor); break;
    case btsSimple: DrawSimpleButtonBorder(canvas, b, backgroundRect, contentRect, textColor, backgroundColor); break;
    case btsHotFlat:
        DrawHotFlatButtonBorder(canvas, b, backgroundRect, contentRect, textColor, backgroundColor);
        break;
    case btsUltraFlat:
    case btsOffice11:
        DrawUltraFlatButtonBorder(canvas, b, style == btsOffice11, backgroundRect, contentRect, textColor,
                                  backgroundColor);
        break;
    case btsDefault: break;
    }
}

void TcxCustomEditViewInfo::Draw3DButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button,
                                               TRect& backgroundRect, TRect& contentRect, TColor& textColor,
                                               TColor& backgroundColor)
{
    if (!button->Data.Transparent)
        backgroundColor = clBtnFace;
    textColor = clBtnText;
    TRect& r = backgroundRect;
    if (button->Data.State == ebsPressed) {
        cx::DrawButtonBorder(canvas, r, cxBordersAll, clBtnShadow);
        cx::DrawButtonBorder(canvas, r, cxBordersAll, backgroundColor);
    } else {
        canvas->DrawComplexFrame(r, cl3DLight, cl3DDkShadow);
        r = cxRectInflate(r, -1, -1);
        canvas->DrawComplexFrame(r, clBtnHighlight, clBtnShadow);
        r = cxRectInflate(r, -1, -1);
    }
    contentRect = r;
}

void TcxCustomEditViewInfo::DrawFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button,
                                                 TRect& backgroundRect, TRect& contentRect, TColor&,
                                                 TColor& backgroundColor)
{
    if (!button->Data.Transparent)
        backgroundColor = clBtnFace;
    TRect& r = backgroundRect;
    cx::DrawButtonBorder(canvas, r, cxBorder(bLeft), backgroundColor);
    if (button->Data.State == ebsPressed)
        canvas->DrawComplexFrame(r, clBtnShadow, clBtnHighlight);
    else
        canvas->DrawComplexFrame(r, clBtnHighlight, clBtnShadow);
    r = cxRectInflate(r, -1, -1);
    cx::DrawButtonBorder(canvas, r, cxBorder(bRight), backgroundColor);
    contentRect = r;
}

void TcxCustomEditViewInfo::DrawSimpleButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button,
                                                   TRect& backgroundRect, TRect& contentRect, TColor&,
                                                   TColor& backgroundColor)
{
    const TColor gapColor = button->Data.BackgroundColor;
    if (!button->Data.Transparent)
        backgroundColor = clBtnFace;
    TRect& r = backgroundRect;
    if (!IsTransparent())
        cx::DrawButtonBorder(canvas, r, cxBordersAll, gapColor);
    else
        r = cxRectInflate(r, -1, -1);
    cx::DrawButtonBorder(canvas, r, cxBorder(bLeft) | cxBorder(bRight), backgroundColor);
    contentRect = r;
}

void TcxCustomEditViewInfo::DrawHotFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button,
                                                    TRect& backgroundRect, TRect& contentRect, TColor& textColor,
                                                    TColor& backgroundColor)
{
    const TcxEditButtonState state = button->Data.State;
    if (!button->Data.Transparent) {
        static constexpr TColor byState[] = {clBtnFace, clBtnFace, clBtnText, clBtnShadow};
        backgroundColor = byState[state];
    }
    textColor = clBtnText;
    if (state == ebsPressed || state == ebsSelected)
        textColor = button->Data.Transparent && state == ebsSelected ? clBtnShadow : clWindow;
    TRect& r = backgroundRect;
    const bool left = button->Data.LeftAlignment;
    const bool innermost = left ? button->Data.Rightmost : button->Data.Leftmost;
    if (innermost)
        cx::DrawButtonBorder(canvas, r, cxBordersAll, clBtnShadow);
    else {
        const TcxBorder outer = left ? bLeft : bRight, inner = left ? bRight : bLeft;
        cx::DrawButtonBorder(canvas, r, cxBorder(bTop) | cxBorder(outer) | cxBorder(bBottom), clBtnShadow);
        cx::DrawButtonBorder(canvas, r, cxBorder(inner), backgroundColor);
    }
    cx::DrawButtonBorder(canvas, r, cxBorder(bLeft) | cxBorder(bRight), backgroundColor);
    contentRect = r;
}

void TcxCustomEditViewInfo::DrawUltraFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button,
                                                      bool isOffice11, TRect& backgroundRect, TRect& contentRect,
                                                      TColor&, TColor& backgroundColor)
{
    const TcxEditButtonState state = button->Data.State;
    if (!button->Data.Transparent) {
        if (state == ebsDisabled)
            backgroundColor = clBtnFace;
        else if (state == ebsNormal)
            backgroundColor = isOffice11 ? dxOffice11DockColor1 : clBtnFace;
        else
            backgroundColor = GetEditButtonHighlightColor(state == ebsPressed, isOffice11);
    }
    const TColor highlight = GetEditBorderHighlightColor(isOffice11);
    TRect& r = backgroundRect;
    const bool framed = state == ebsDisabled || state == ebsNormal || (!IsInplace && EditBorderStyle == ebsNone) ||
                        (IsInplace && !PaintOptions.Contains(epoHasExternalBorder));
    if (framed) {
        if (IsPressedOrSelected(button))
            cx::DrawButtonBorder(canvas, r, cxBordersAll, highlight);
        else if (!IsTransparent())
            cx::DrawButtonBorder(canvas, r, cxBordersAll, button->Data.BackgroundColor);
        else
            r = cxRectInflate(r, -1, -1);
        contentRect = cxRectInflate(r, -1, 0);
        return;
    }
    // Pressed or hot inside the editor's frame: the frame gives the top and bottom lines, the
    // button draws the sides that do not meet the frame or the row's end.
    // A skipped pixel is a gap in the editor's colour (the editor's fill leaves the buttons out,
    // so it would otherwise keep whatever was there before).
    auto side = [&](TcxBorder border, bool skipOnly) {
        cx::DrawButtonBorder(canvas, r, cxBorder(border), skipOnly ? button->Data.BackgroundColor : highlight);
    };
    if (button->Data.LeftAlignment) {
        side(bLeft, button->Data.Leftmost);
        side(bRight, button->Bounds.Right == BorderRect.Right);
    } else {
        side(bRight, button->Data.Rightmost);
        side(bLeft, button->Bounds.Left == BorderRect.Left);
    }
    contentRect = cxRectInflate(r, -1, -1);
}

void TcxCustomEditViewInfo::DrawNativeButtonBorder(TcxCanvas*, TcxEditButtonViewInfo* button,
                                                   TRect& backgroundRect, TRect& contentRect, TColor&, TColor&)
{
    // The theme's content rectangle stands where a theme exists; none opens on this platform.
    if (IsCustomDrawButton(0))
        contentRect = backgroundRect;
    else if (button->Data.ComboBoxStyle)
        contentRect = cxNullRect;
    else
        contentRect = cxRectInflate(backgroundRect, -2, -2);
}

void TcxCustomEditViewInfo::DrawButtonBorderByPainter(TcxCanvas*, TcxEditButtonViewInfo* button,
                                                      TRect& backgroundRect, TRect& contentRect, TColor& textColor,
                                                      TColor& backgroundColor)
{
    if (!button->Data.Transparent) {
        if (TcxContainer* control = Edit ? Edit->GetEditContainer() : nullptr)
            backgroundColor = control->GetBackgroundColor();
        else
            backgroundColor = button->Data.State == ebsDisabled ? clBtnFace : clWindow;
    }
    textColor = clBtnText;
    contentRect = backgroundRect;
}

void TcxCustomEditViewInfo::DrawButtonBackground(TcxCanvas* canvas, int visibleIndex, const TRect& r, TColor color)
{
    bool handled = false;
    CallEvent(OnDrawButtonBackground, this, canvas, r, visibleIndex, handled);
    if (handled)
        return;
    TcxEditButtonViewInfo* b = ButtonsInfo[visibleIndex];
    if (b->Data.NativeStyle && b->Data.NativePart != 0)
        DrawNativeButtonBackground(canvas, b, r);
    else
        DrawUsualButtonBackground(canvas, b, r, color);
}

void TcxCustomEditViewInfo::DrawNativeButtonBackground(TcxCanvas* canvas, TcxEditButtonViewInfo* button,
                                                       const TRect& r)
{
    // The themed face stands where a theme exists; none opens on this platform.
    cxEditFillRect(canvas, r, clBtnFace);
}

void TcxCustomEditViewInfo::DrawUsualButtonBackground(TcxCanvas* canvas, TcxEditButtonViewInfo* button,
                                                      const TRect& r, TColor color)
{
    const TcxEditButtonViewInfoData& d = button->Data;
    if (d.Style == btsOffice11 && d.Gradient && !d.Transparent && d.State != ebsDisabled && !Painter) {
        TColor c1 = dxOffice11ToolbarsColor1, c2 = dxOffice11ToolbarsColor2;
        if (d.State == ebsPressed) {
            c1 = dxOffice11SelectedDownColor1;
            c2 = dxOffice11SelectedDownColor2;
        } else if (d.State == ebsSelected) {
            c1 = dxOffice11SelectedColor1;
            c2 = dxOffice11SelectedColor2;
        }
        TRect g{r.Left, BorderRect.Top, r.Right, BorderRect.Bottom};
        if (d.State == ebsNormal)
            g = cxRectInflate(g, 0, -1);
        ClipGuard clip(canvas);
        canvas->IntersectClipRect(r);
        FillGradientRect(canvas->GetHandle(), g, c1, c2, false);
        return;
    }
    cxEditFillRect(canvas, r, color);
}

void TcxCustomEditViewInfo::DrawButtonContent(TcxCanvas* canvas, int visibleIndex, const TRect& r, TColor textColor,
                                              TColor, bool pressedOffset)
{
    TcxEditButtonViewInfo* b = ButtonsInfo[visibleIndex];
    const TcxEditButtonViewInfoData& d = b->Data;
    const bool enabled = d.State != ebsDisabled;
    ClipGuard clip(canvas);
    canvas->IntersectClipRect(r);
    if (Painter)
        Painter->DrawEditorButton(canvas, r, EditBtnKind2PainterKind[d.Kind], EditBtnState2ButtonState[d.State]);
    switch (d.Kind) {
    case bkEllipsis:
        if (!Painter)
            DrawEllipsisButtonContent(canvas, r, textColor, enabled, pressedOffset);
        break;
    case bkDown:
        if (!Painter) {
            // The arrow keeps its place in the whole button whatever the border took.
            TRect a = r;
            const int dx = b->Bounds.Width() - r.Width();
            a.Left -= pressedOffset ? dx / 2 : (dx + 1) / 2;
            a.Right += pressedOffset ? (dx + 1) / 2 : dx / 2;
            if (pressedOffset && dx % 2 == 0)
                a = cxRectOffset(a, 1, 0);
            if (IsInplace) {
                const int dy = b->Bounds.Height() - r.Height();
                a.Top -= pressedOffset ? dy / 2 : (dy + 1) / 2;
                a.Bottom += pressedOffset ? (dy + 1) / 2 : dy / 2;
            }
            if (pressedOffset)
                a = cxRectOffset(a, 0, 1);
            const TcxCustomLookAndFeelPainter* standard = TcxStandardLookAndFeelPainter::Class();
            if (enabled)
                standard->DrawArrow(canvas, a, adDown, textColor);
            else {
                standard->DrawArrow(canvas, cxRectOffset(a, 1, 1), adDown, clBtnHighlight);
                standard->DrawArrow(canvas, a, adDown, clBtnShadow);
            }
        }
        break;
    case bkGlyph:
        if (VerifyBitmap(b->Glyph)) {
            const int w = std::min(b->Glyph->GetWidth(), r.Width());
            const int h = std::min(b->Glyph->GetHeight(), r.Height());
            int x = r.Left + (r.Width() - w) / 2, y = r.Top + (r.Height() - h) / 2;
            if (pressedOffset) {
                if (x + w < r.Right)
                    ++x;
                if (y + h < r.Bottom)
                    ++y;
            }
            DrawGlyph(canvas, x, y, b->Glyph, enabled);
        }
        break;
    case bkText: {
        canvas->GetBrush()->SetStyle(bsClear);
        if (Font)
            canvas->SetFont(Font);
        TRect t = cxRectInflate(r, -1, IsInplace ? 0 : -1);
        --t.Right;
        TColor color = d.TextColor == clDefault ? TextColor : d.TextColor;
        if (d.Style == btsHotFlat && IsPressedOrSelected(b))
            color = textColor;
        if (pressedOffset)
            t = cxRectOffset(t, 1, 1);
        canvas->GetFont()->SetColor(color);
        canvas->DrawTexT(d.Caption, t, 0xA60 | cxAlignmentsHorz[d.ContentAlignment], enabled);
        canvas->GetBrush()->SetStyle(bsSolid);
        break;
    }
    }
}

bool TcxCustomEditViewInfo::IsCustomButton(int visibleIndex)
{
    bool handled = false;
    CallEvent(OnDrawButton, this, static_cast<TcxCanvas*>(nullptr), visibleIndex, handled);
    return handled;
}

bool TcxCustomEditViewInfo::IsCustomButtonBackground(int visibleIndex)
{
    bool handled = false;
    CallEvent(OnDrawButtonBackground, this, static_cast<TcxCanvas*>(nullptr), cxNullRect, visibleIndex, handled);
    return handled;
}

bool TcxCustomEditViewInfo::IsCustomButtonBorder(int visibleIndex)
{
    bool handled = false;
    TRect backgroundRect, contentRect;
    CallEvent(OnDrawButtonBorder, this, static_cast<TcxCanvas*>(nullptr), visibleIndex, backgroundRect, contentRect,
              handled);
    return handled;
}

bool TcxCustomEditViewInfo::IsCustomDrawButton(int visibleIndex)
{
    return IsCustomButton(visibleIndex) || IsCustomButtonBackground(visibleIndex) ||
           IsCustomButtonBorder(visibleIndex);
}

// ---- hit tests and hints ----------------------------------------------------------------------

int TcxCustomEditViewInfo::GetPart(const TPoint& p) const
{
    for (const TcxEditButtonViewInfo* b : ButtonsInfo)
        if (b->Data.State == ebsSelected)
            return b->Index;
    return cxRectPtIn(BorderRect, p) ? -1 : -2;
}

TRect TcxCustomEditViewInfo::GetPartRect(int part) const
{
    if (part == -1) {
        TRect r = BorderRect;
        if (ButtonCount() > 0)
            r.Right = ButtonsInfo[0]->Bounds.Left;
        return r;
    }
    if (part >= 0 && part < ButtonCount())
        return ButtonsInfo[part]->Bounds;
    return cxNullRect;
}

bool TcxCustomEditViewInfo::IsHotTrack() const
{
    return std::any_of(ButtonsInfo.begin(), ButtonsInfo.end(),
                       [](const TcxEditButtonViewInfo* b) { return b->Data.State == ebsSelected; });
}

bool TcxCustomEditViewInfo::IsHotTrack(const TPoint& p) const
{
    const TPoint q{p.X - Left, p.Y - Top};
    return std::any_of(ButtonsInfo.begin(), ButtonsInfo.end(),
                       [&](const TcxEditButtonViewInfo* b) { return cxRectPtIn(b->Bounds, q); });
}

bool TcxCustomEditViewInfo::NeedShowHint(TcxCanvas* canvas, const TPoint& p, std::string& text, bool& isMultiLine,
                                         TRect& textRect)
{
    return NeedShowHint(canvas, p, cxNullRect, text, isMultiLine, textRect);
}

bool TcxCustomEditViewInfo::NeedShowHint(TcxCanvas*, const TPoint& p, const TRect&, std::string& text,
                                         bool& isMultiLine, TRect& textRect)
{
    text.clear();
    const int part = GetPart(p);
    if (part < 0)
        return false;
    if (EditProperties && part < EditProperties->Buttons()->Count())
        text = ShortHint(EditProperties->Buttons()->Items(part)->Hint());
    isMultiLine = false;
    textRect = GetHintTextRect(p, part, text);
    return !text.empty();
}

TRect TcxCustomEditViewInfo::GetHintTextRect(const TPoint& p, int, const std::string& text) const
{
    TRect r = cxNullRect;
    if (Application && Application->HintWindowClass && !text.empty()) {
        std::unique_ptr<THintWindow> window(Application->HintWindowClass.Create(nullptr));
        r = window->CalcHintRect(Screen ? Screen->Width() : 1024, text);
    }
    return cxRectOffset(r, p.X, p.Y + cxGetCursorSize().cy);
}

// ---- repainting -------------------------------------------------------------------------------

bool TcxCustomEditViewInfo::Repaint(TWinControl* control, TcxCustomEditViewInfo* oldViewInfo)
{
    return Repaint(control, cxNullRect, oldViewInfo);
}

bool TcxCustomEditViewInfo::Repaint(TWinControl* control, const TRect& innerRect, TcxCustomEditViewInfo* old)
{
    if (!control || !control->HandleAllocated())
        return false;
    const TRect r = cxRectOffset(Bounds, Left, Top);
    TRect inner = cxNullRect;
    cxRectIntersect(inner, innerRect, ClientRect);
    if (!old) {
        InternalInvalidate(control->Handle(), r, inner, HasBackground);
        return false;
    }
    bool repaintFrame = true;
    TRect preserved = cxNullRect;
    if (NativeState != old->NativeState || BackgroundColor != old->BackgroundColor ||
        ButtonCount() != old->ButtonCount() ||
        (!(ContainerState == old->ContainerState) && IsRepaintOnStateChangingNeeded()))
        preserved = inner;
    else if ((EditBorderStyle != ebsNone && BorderColor != old->BorderColor) || EditBorderStyle != old->EditBorderStyle)
        preserved = cxRectOffset(BorderRect, Left, Top);
    else
        repaintFrame = false;
    if (repaintFrame && !cxRectIsEmpty(Bounds) && r != preserved)
        InternalInvalidate(control->Handle(), r, preserved, old->HasBackground);
    bool invalidated = false;
    if (ButtonCount() == old->ButtonCount())
        for (int i = 0; i < ButtonCount(); ++i)
            invalidated = ButtonsInfo[i]->Repaint(control, old->ButtonsInfo[i], {Left, Top}) || invalidated;
    return invalidated;
}

// ---- colours ----------------------------------------------------------------------------------

void TcxCustomEditViewInfo::GetColorSettingsByPainter(TColor& background, TColor& textColor) const
{
    background = textColor = clDefault;
    if (!IsInplace && Edit)
        if (TcxContainer* control = Edit->GetEditContainer())
            control->GetColorSettingsByPainter(background, textColor);
}

} // namespace cx
