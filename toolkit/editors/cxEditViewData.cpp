#include <algorithm>
#include <climits>
#include <exception>
#include <memory>

#include "toolkit/core/cxDWMApi.h"
#include "toolkit/editors/cxEditViewInfo.h"

namespace cx {

namespace {

bool RectHasNonZero(const TRect& r) { return r.Left != 0 || r.Top != 0 || r.Right != 0 || r.Bottom != 0; }

TShiftState LeftShift() { return TShiftState{ssLeft}; }
TShiftState LeftDoubleShift() { return TShiftState{ssLeft} + TShiftState{ssDouble}; }

} // namespace

TcxCustomEditViewData::TcxCustomEditViewData(TcxCustomEditProperties* properties, TcxCustomEditStyle* style,
                                             bool isInplace)
    : isInplace_(isInplace), properties_(properties), style_(style), baseStyle_(style)
{
    // C++ does not dispatch to a descendant's overrides from here: the properties' CreateViewData
    // fills the cache again once the object is whole.
    Initialize();
    ExtraColor1 = ExtraColor2 = clDefault;
    InitCacheData();
}

TcxCustomEditViewData::~TcxCustomEditViewData() = default;

void TcxCustomEditViewData::Initialize()
{
    ContentOffset = cxNullRect;
    Enabled = true;
}

void TcxCustomEditViewData::InitCacheData()
{
    VisibleButtonCount = properties_->Buttons()->VisibleCount();
    HorzAlignment = properties_->Alignment()->Horz();
    VertAlignment = properties_->Alignment()->Vert();
    NativeStyle = IsNativeStyle(baseStyle_->GetLookAndFeel());
    InitEditContentParams(editContentParams_);
}

// ---- the calculation --------------------------------------------------------------------------

void TcxCustomEditViewData::Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                      TcxMouseButton button, TShiftState shift, TcxCustomEditViewInfo* viewInfo,
                                      bool isMouseEvent)
{
    TcxCustomEditViewInfo* v = viewInfo;
    const int previousBorderWidth = GetContainerBorderWidth(v->BorderStyle);
    auto stateStep = [&] {
        v->ContainerState = GetContainerState(bounds, p, button, shift, isMouseEvent);
        containerState_ = v->ContainerState;
        isActiveOrHot_ = v->ContainerState.Contains(csActive) || v->ContainerState.Contains(csHotTrack);
        if (IsDesigning || isInplace_ || !style_->GetHotTrack())
            v->HotState = chsNoHotTrack;
        else
            v->HotState = isActiveOrHot_ ? chsSelected : chsNormal;
        if (Edit)
            if (TcxCustomEditStyle* active = Edit->GetEditActiveStyle())
                style_ = active;
        v->EditBorderStyle = isInplace_ || !NativeStyle ? GetBorderStyle() : BaseStyle()->GetBorderStyle();
        v->BorderStyle = TcxContainerBorderStyle(v->EditBorderStyle);
    };
    stateStep();
    // A thinner frame may leave the mouse outside: the state is taken again with the new frame.
    if (!isInplace_ && !NativeStyle && GetContainerBorderWidth(v->BorderStyle) < previousBorderWidth)
        stateStep();

    v->EditProperties = properties_;
    VisibleButtonCount = properties_->Buttons()->VisibleCount();
    // Bounds reaching MaxInt are a measurement: buttons stretched over them would make the
    // editor measure MaxInt wide (and overflow what is added to it), so they keep their widths.
    const bool measuring = bounds.Right == INT_MAX;
    if (isInplace_)
        buttonsOnly_ = !measuring && properties_->ButtonsViewStyle() != bvsNormal;
    else
        buttonsOnly_ = !measuring && properties_->ButtonsViewStyle() == bvsButtonsOnly;

    editBounds_ = bounds;
    v->Edit = Edit;
    v->Painter = style_->GetLookAndFeel()->SkinPainter();
    v->Bounds = bounds;
    v->Enabled = Enabled;
    v->Focused = InternalFocused();
    v->HasBackground = Edit && Edit->HasBackground();
    TWinControl* inner = Edit ? Edit->GetInnerEditControl() : nullptr;
    v->HasInnerEdit = inner && inner->Visible();
    v->IsDBEditPaintCopyDrawing = Edit && Edit->IsDBEditPaintCopyDrawing();
    v->IsContainerInnerControl = Edit && Edit->IsContainerInnerControl();
    v->IsDesigning = IsDesigning;
    v->IsInplace = isInplace_;
    v->IsSelected = IsSelected;
    v->PaintOptions = GetPaintOptions();
    v->Edges = style_->GetEdges();
    v->Font = style_->DirectAccessMode() ? style_->GetFont() : style_->GetVisibleFont();
    v->Shadow = !isInplace_ && HasShadow();
    v->Data = HostValue;

    CalculateViewInfo(v);
    CalculateButtonsViewInfo(canvas, bounds, p, button, shift, v, isMouseEvent);

    v->ClientRect = cxRectContent(bounds, GetClientExtent(canvas, v));
    v->InnerEditRect = v->HasInnerEdit ? inner->BoundsRect() : v->ClientRect;

    TcxEditPopupBorderStyle popup = style_->GetPopupBorderStyle();
    if (popup == epbsDefault && Edit) {
        const TcxEditBorderStyle styleBorder = style_->GetBorderStyle();
        if (isInplace_)
            popup = PopupBorderStyleByKind(style_->GetLookAndFeel()->GetKind());
        else if (styleBorder != ebsNone || v->ButtonCount() == 0)
            popup = PopupBorderStyleByBorderStyle(styleBorder);
        else
            popup = PopupBorderStyleByKind(Edit->GetPopupWindowControlsLookAndFeelKind());
    }
    v->PopupBorderStyle = popup;
}

void TcxCustomEditViewData::CalculateEx(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                        TcxMouseButton button, TShiftState shift, TcxCustomEditViewInfo* viewInfo,
                                        bool isMouseEvent)
{
    viewInfo->Left = bounds.Left;
    viewInfo->Top = bounds.Top;
    Calculate(canvas, cxRectOffset(bounds, -bounds.Left, -bounds.Top), TPoint{p.X - bounds.Left, p.Y - bounds.Top},
              button, shift, viewInfo, isMouseEvent);
}

void TcxCustomEditViewData::CalculateViewInfo(TcxCustomEditViewInfo* v)
{
    v->NativeStyle = NativeStyle;
    v->NativeState = NativeStyle ? GetEditNativeState(v) : 0;
    v->BorderWidth = cxEditGetBorderWidthBySkinPainter(v->EditBorderStyle, v->Painter);
    v->BorderExtent = GetBorderExtent();
    v->BorderRect = cxRectContent(v->Bounds, v->BorderExtent);
    v->ShadowRect = v->BorderRect;
    v->HasContentOffsets = RectHasNonZero(ContentOffset);
    if (!isInplace_)
        v->BorderColor = GetBorderColor();
    TColor background, text;
    GetColorSettings(v, background, text);
    v->TextColor = text;
    v->SetBackgroundColor(background);
}

TcxContainerState TcxCustomEditViewData::GetContainerState(const TRect& bounds, const TPoint& p, TcxMouseButton,
                                                           TShiftState shift, bool)
{
    if (!Enabled)
        return TcxContainerState{csDisabled};
    if (IsDesigning)
        return TcxContainerState{csNormal};
    TcxContainerState state{InternalFocused() ? csActive : csNormal};
    TcxContainer* control = Edit ? Edit->GetEditContainer() : nullptr;
    const TRect visible = control ? control->GetVisibleBounds() : cxRectContent(bounds, ContentOffset);
    // A button held down elsewhere (a drag passing over) does not make the editor hot unless
    // the editor itself holds the mouse.
    if (cxRectPtIn(visible, p) && (shift.Empty() || (Edit && Edit->HasMouseCapture())))
        state.Include(csHotTrack);
    return state;
}

int TcxCustomEditViewData::GetEditNativeState(TcxCustomEditViewInfo* viewInfo)
{
    if (!Enabled)
        return 4;
    if (properties_->GetReadOnly())
        return 6;
    if (InternalFocused())
        return IsCompositionEnabled() ? 3 : 5;
    if (viewInfo->ContainerState.Contains(csHotTrack))
        return 2;
    return 1;
}

// ---- frame ------------------------------------------------------------------------------------

TcxCustomEditStyle* TcxCustomEditViewData::BaseStyle() const
{
    return static_cast<TcxCustomEditStyle*>(style_->GetBaseStyle());
}

TcxEditBorderStyle TcxCustomEditViewData::GetBorderStyle()
{
    return isInplace_ ? ebsNone : CorrectBorderStyle(style_->GetBorderStyle());
}

TColor TcxCustomEditViewData::GetBorderColor()
{
    const bool highlighted = containerState_.Contains(csActive) ||
                             (containerState_.Contains(csHotTrack) && style_->GetHotTrack());
    if (TcxCustomLookAndFeelPainterClass painter = style_->GetLookAndFeel()->SkinPainter())
        return painter->GetContainerBorderColor(highlighted);
    const TcxEditBorderStyle bs = style_->GetBorderStyle();
    if (bs != ebsUltraFlat && bs != ebsOffice11)
        return style_->GetBorderColor();
    if (highlighted || (IsDesigning && Enabled))
        return GetEditBorderHighlightColor(bs == ebsOffice11);
    return clBtnShadow;
}

TRect TcxCustomEditViewData::GetBorderExtent()
{
    if (isInplace_)
        return ContentOffset;
    TRect r = cxNullRect;
    if (style_->GetLookAndFeel()->SkinPainter())
        r = GetBorderExtentByPainter();
    else if (style_->GetTransparentBorder())
        r = cxContainerDefaultBorderExtent;
    else if (style_->HasBorder() && (!NativeStyle || BaseStyle()->GetBorderStyle() != ebsNone))
        r = NativeStyle ? TRect{2, 2, 2, 2}
                        : GetBorderExtentByEdges(GetContainerBorderWidth(TcxContainerBorderStyle(GetBorderStyle())));
    if (HasShadow()) {
        r.Right += 3;
        r.Bottom += 3;
    }
    return r;
}

TRect TcxCustomEditViewData::GetBorderExtentByEdges(int width)
{
    const TcxBorders edges = style_->GetEdges();
    return {edges & cxBorder(bLeft) ? width : 0, edges & cxBorder(bTop) ? width : 0,
            edges & cxBorder(bRight) ? width : 0, edges & cxBorder(bBottom) ? width : 0};
}

TRect TcxCustomEditViewData::GetBorderExtentByPainter()
{
    if (!style_->HasBorder() || (style_->GetBorderStyle() == ebsNone && !style_->GetTransparentBorder()))
        return cxNullRect;
    return GetBorderExtentByEdges(cxEditGetBorderWidthBySkinPainter(HasThickBorders() ? ebsThick : GetBorderStyle(),
                                                                     style_->GetLookAndFeel()->SkinPainter()));
}

TRect TcxCustomEditViewData::GetButtonsExtent(TcxCanvas*)
{
    if (isInplace_)
        return ContentOffset;
    if (!NativeStyle)
        return GetBorderExtent();
    // The edit theme's content insets stand where a theme exists; none opens on this platform,
    // so the default frame's extent is used.
    if (BaseStyle()->GetBorderStyle() != ebsNone || style_->GetTransparentBorder())
        return cxContainerDefaultBorderExtent;
    return cxNullRect;
}

TRect TcxCustomEditViewData::GetClientExtent(TcxCanvas* canvas, TcxCustomEditViewInfo* viewInfo)
{
    TRect r = GetBorderExtent();
    if (properties_->ButtonsViewStyle() != bvsNormal && viewInfo->ButtonCount() > 0) {
        const TRect be = GetButtonsExtent(canvas);
        r.Left = be.Left;
        r.Right = be.Right;
    }
    if (HScrollBar && HScrollBar->Visible())
        r.Bottom += HScrollBar->Height();
    if (VScrollBar && VScrollBar->Visible())
        r.Right += VScrollBar->Width();
    // A button wider than the room left keeps its full bounds but covers only its visible part:
    // that part is what the client area gives way to (the full bounds would turn the client
    // rectangle inside out), and a button left without room takes nothing.
    for (const TcxEditButtonViewInfo* b : viewInfo->ButtonsInfo) {
        if (cxRectIsEmpty(b->VisibleBounds))
            continue;
        if (b->Data.LeftAlignment)
            r.Left = std::max(r.Left, b->VisibleBounds.Right - viewInfo->Bounds.Left);
        else
            r.Right = std::max(r.Right, viewInfo->Bounds.Right - b->VisibleBounds.Left);
    }
    return r;
}

bool TcxCustomEditViewData::HasShadow() { return style_->GetShadow() && !NativeStyle; }

bool TcxCustomEditViewData::HasThickBorders()
{
    TcxContainer* control = Edit ? Edit->GetEditContainer() : nullptr;
    if (!control)
        return style_->GetBorderStyle() == ebsThick;
    for (TcxContainerStateItem s : {csNormal, csDisabled, csActive, csHotTrack})
        if (control->GetInternalStyle(s)->GetBorderStyle() == cbsThick)
            return true;
    return false;
}

bool TcxCustomEditViewData::IsNativeStyle(TcxLookAndFeel* lookAndFeel)
{
    return AreVisualStylesMustBeUsed(lookAndFeel->GetNativeStyle(), totEdit);
}

TcxEditButtonStyle TcxCustomEditViewData::GetButtonsStyle()
{
    const TcxEditButtonStyle own = style_->GetButtonStyle();
    if (own != btsDefault)
        return own;
    return DefaultButtonsStyle(isInplace_, style_->GetBorderStyle(), style_->GetHotTrack(),
                               style_->GetLookAndFeel()->GetKind());
}

void TcxCustomEditViewData::GetColorSettings(TcxCustomEditViewInfo* viewInfo, TColor& background, TColor& textColor)
{
    viewInfo->GetColorSettingsByPainter(background, textColor);
    if (textColor == clDefault)
        textColor = style_->GetTextColor();
    TcxContainer* control = Edit ? Edit->GetEditContainer() : nullptr;
    // The theme's fill colour of a disabled native editor would go here; no theme opens on this
    // platform, so the style's colour stands in.
    if ((control && control->DefaultParentColor()) || background == clDefault)
        background = style_->GetColor();
}

TcxEditPaintOptions TcxCustomEditViewData::GetPaintOptions() const
{
    TcxEditPaintOptions options = PaintOptionsBase;
    if (!cxRectIsEmpty(editContentParams_.ExternalBorderBounds))
        options.Include(epoHasExternalBorder);
    if (editContentParams_.Options.Contains(ecoShowFocusRectWhenInplace))
        options.Include(epoShowFocusRectWhenInplace);
    return options;
}

int TcxCustomEditViewData::GetCaptureButtonVisibleIndex() { return Edit ? Edit->GetCaptureButtonVisibleIndex() : -1; }

bool TcxCustomEditViewData::InternalFocused() { return Edit ? Edit->IsEditFocused() : Focused; }

// ---- buttons ----------------------------------------------------------------------------------

void TcxCustomEditViewData::CalculateButtonsViewInfo(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                                     TcxMouseButton button, TShiftState shift,
                                                     TcxCustomEditViewInfo* v, bool isMouseEvent)
{
    const TcxContainerState state = v->ContainerState;
    const TcxEditButtonTransparency transparency = style_->GetButtonTransparency();
    marks_ = {};
    if (VisibleButtonCount == 0 || (!state.Contains(csActive) && transparency == ebtHideInactive) ||
        (!state.Contains(csActive) && !state.Contains(csHotTrack) && transparency == ebtHideUnselected)) {
        v->SetButtonCount(0);
        v->PressedButton = v->SelectedButton = -1;
        v->IsButtonReallyPressed = false;
        return;
    }
    v->SetButtonCount(VisibleButtonCount);
    v->IsButtonReallyPressed = false;
    const int previousPressed = isMouseEvent ? v->PressedButton : -1;
    v->PressedButton = v->SelectedButton = -1;

    // Layout, from the last button to the first.
    TRect r = bounds;
    if (isInplace_ || !IsCompositionEnabled() || v->ButtonsInfo[0]->Data.ComboBoxStyle == false)
        r = cxRectContent(r, GetButtonsExtent(canvas));
    const int widthBefore = r.Width();
    TcxEditButtons* buttons = properties_->Buttons();
    bool fontPrepared = false;
    int visibleIndex = VisibleButtonCount - 1;
    for (int i = buttons->Count() - 1; i >= 0 && visibleIndex >= 0; --i) {
        TcxEditButton* eb = buttons->Items(i);
        if (!eb->Visible())
            continue;
        if (eb->Kind() == bkText && !fontPrepared) {
            canvas->SetFont(style_->GetVisibleFont());
            v->PrepareCanvasFont(canvas->WrappedCanvas());
            fontPrepared = true;
        }
        TcxEditButtonViewInfo* b = v->ButtonsInfo[visibleIndex];
        b->Index = i;
        b->Data.Style = GetButtonsStyle();
        CalculateButtonViewInfo(canvas, v, visibleIndex, r);
        --visibleIndex;
    }
    CheckButtonsOnly(v, widthBefore, r.Width());

    // States.
    const bool leftOnly = shift == LeftShift() || shift == LeftDoubleShift();
    for (int i = 0; i < v->ButtonCount(); ++i) {
        TcxEditButtonViewInfo* b = v->ButtonsInfo[i];
        const TcxEditButtonState previous = b->Data.State;
        const bool pressed = IsButtonPressed(v, i);
        TcxEditButtonState s;
        if (!Enabled || !buttons->Items(b->Index)->Enabled())
            s = ebsDisabled;
        else if (!pressed && (IsDesigning || !cxRectPtIn(b->VisibleBounds, p)))
            s = ebsNormal;
        else {
            const bool capture = button == cxmbNone && shift.Contains(ssLeft) && previous == ebsNormal &&
                                 i == GetCaptureButtonVisibleIndex();
            const bool leftClick = button == cxmbLeft && leftOnly;
            const bool held = previous == ebsPressed && shift.Contains(ssLeft);
            if (pressed || leftClick || held || capture)
                v->IsButtonReallyPressed = true;
            if (!pressed && shift.Empty() && !capture) {
                s = ebsSelected;
                v->SelectedButton = i;
            } else if (pressed || (capture && CanPressButton(v, i)) ||
                       (leftOnly && ((button == cxmbLeft && CanPressButton(v, i)) || i == previousPressed)) || held) {
                s = ebsPressed;
                v->PressedButton = i;
            } else
                s = ebsNormal;
        }
        DoGetButtonState(v, i, s);
        b->Data.State = s;
        CalculateButtonNativeInfo(b);
    }

    // Edge marks; in buttons-only mode the two groups meet and count as one row.
    auto mark = [&](int index, bool TcxEditButtonViewInfoData::*flag) {
        if (index >= 0)
            v->ButtonsInfo[index]->Data.*flag = true;
    };
    mark(marks_.LeftLeftmost, &TcxEditButtonViewInfoData::Leftmost);
    if (!(buttonsOnly_ && marks_.RightLeftmost >= 0))
        mark(marks_.LeftRightmost, &TcxEditButtonViewInfoData::Rightmost);
    if (!(buttonsOnly_ && marks_.LeftLeftmost >= 0))
        mark(marks_.RightLeftmost, &TcxEditButtonViewInfoData::Leftmost);
    mark(marks_.RightRightmost, &TcxEditButtonViewInfoData::Rightmost);
    if (buttonsOnly_)
        for (TcxEditButtonViewInfo* b : v->ButtonsInfo)
            b->Data.LeftAlignment = false;
}

void TcxCustomEditViewData::CalculateButtonViewInfo(TcxCanvas* canvas, TcxCustomEditViewInfo* v, int visibleIndex,
                                                    TRect& r)
{
    TcxEditButtonViewInfo* b = v->ButtonsInfo[visibleIndex];
    TcxEditButton* eb = properties_->Buttons()->Items(b->Index);
    TcxEditButtonViewInfoData& d = b->Data;
    d.ComboBoxStyle = eb->Kind() == bkDown && v->ButtonCount() == 1;
    d.Kind = eb->Kind();
    if (d.Kind == bkText) {
        d.Caption = eb->Caption();
        d.TextColor = v->Painter ? v->Painter->EditButtonTextColor() : eb->TextColor();
        d.VisibleCaption = eb->VisibleCaption();
    }
    d.ContentAlignment = eb->ContentAlignment();
    d.Default = eb->Default();
    b->Glyph = eb->HasGlyph() ? eb->Glyph() : nullptr;
    b->HasBackground = v->HasBackground;
    d.Gradient = style_->GetGradientButtons();
    d.IsInplace = isInplace_;
    d.LeftAlignment = eb->LeftAlignment();
    d.Leftmost = d.Rightmost = false;
    d.NativeStyle = v->NativeStyle;
    b->Stretchable = eb->Stretchable();
    b->Width = eb->Width() != 0 ? eb->Width() : DoGetDefaultButtonWidth(visibleIndex);
    const TcxEditButtonTransparency t = style_->GetButtonTransparency();
    d.Transparent = t == ebtAlways || (t == ebtInactive && !isActiveOrHot_);
    d.BackgroundColor = v->BackgroundColor;
    CalculateButtonBounds(canvas, v, visibleIndex, r);
}

void TcxCustomEditViewData::CalculateButtonBounds(TcxCanvas* canvas, TcxCustomEditViewInfo* v, int visibleIndex,
                                                  TRect& r)
{
    TcxEditButtonViewInfo* b = v->ButtonsInfo[visibleIndex];
    if (!cxRectIsEmpty(r))
        b->Width = CalculateEditDefaultButtonWidth(canvas, b);
    LayoutEditButton(*b, visibleIndex, r, marks_);
}

void TcxCustomEditViewData::CalculateButtonNativeInfo(TcxEditButtonViewInfo* button)
{
    TcxEditButtonViewInfoData& d = button->Data;
    const bool themed =
        d.NativeStyle && AreVisualStylesMustBeUsed(true, d.ComboBoxStyle ? totComboBox : totButton);
    if (!themed) {
        d.NativePart = 0;
        d.NativeState = 0;
        d.BackgroundPartiallyTransparent = false;
        return;
    }
    d.NativePart = d.ComboBoxStyle && IsCompositionEnabled() && !isInplace_ ? (d.LeftAlignment ? 7 : 6) : 1;
    static constexpr int nativeStates[] = {4, 1, 3, 2};
    d.NativeState = nativeStates[d.State];
    // Partial transparency is the theme's answer; the platform's themes are opaque.
    d.BackgroundPartiallyTransparent = false;
}

void TcxCustomEditViewData::CheckButtonsOnly(TcxCustomEditViewInfo* v, int previousWidth, int remainingWidth)
{
    if (!buttonsOnly_ || remainingWidth <= 0)
        return;
    std::vector<bool> ignore(v->ButtonsInfo.size());
    for (int i = 0; i < v->ButtonCount(); ++i)
        ignore[i] = IgnoreButtonWhileStretching(i);
    StretchEditButtons(v->ButtonsInfo, previousWidth, remainingWidth, ignore);
}

// ---- measuring --------------------------------------------------------------------------------

TSize TcxCustomEditViewData::GetEditSize(TcxCanvas* canvas, const Variant& value,
                                         const TcxEditSizeProperties& sizeProperties,
                                         TcxCustomEditViewInfo* viewInfo)
{
    TSize minContent{0, 0};
    const TSize constant = GetEditConstantPartSize(canvas, sizeProperties, minContent, viewInfo);
    TcxEditSizeProperties contentProperties = sizeProperties;
    bool tooNarrow = false;
    if (sizeProperties.Width >= 0) {
        contentProperties.Width = sizeProperties.Width - constant.cx;
        if (contentProperties.Width < 0) {
            contentProperties.Width = 0;
            tooNarrow = true;
        }
    }
    TSize content = GetEditContentSize(canvas, value, contentProperties);
    CheckSize(content, minContent);
    TSize result{tooNarrow ? sizeProperties.Width : constant.cx + content.cx, constant.cy + content.cy};
    if (!isInplace_ && Edit)
        CheckSizeConstraints(result);
    return result;
}

TSize TcxCustomEditViewData::GetEditConstantPartSize(TcxCanvas* canvas, const TcxEditSizeProperties& sizeProperties,
                                                     TSize& minContentSize, TcxCustomEditViewInfo* viewInfo)
{
    std::unique_ptr<TcxCustomEditViewInfo> temporary;
    if (!viewInfo) {
        temporary.reset(properties_->GetViewInfoClass().Create());
        Calculate(canvas, {0, 0, INT_MAX, INT_MAX}, {-1, -1}, cxmbNone, {}, temporary.get(), false);
        viewInfo = temporary.get();
    }
    return InternalGetEditConstantPartSize(canvas, isInplace_, sizeProperties, minContentSize, viewInfo);
}

TSize TcxCustomEditViewData::InternalGetEditConstantPartSize(TcxCanvas* canvas, bool isInplace,
                                                             const TcxEditSizeProperties&, TSize& minContentSize,
                                                             TcxCustomEditViewInfo* viewInfo)
{
    const TSize result{viewInfo->Bounds.Width() - viewInfo->ClientRect.Width(),
                       viewInfo->Bounds.Height() - viewInfo->ClientRect.Height()};
    minContentSize = {0, 0};
    TcxEditButtons* buttons = properties_->Buttons();
    if (isInplace)
        for (int i = 0; i < buttons->Count(); ++i)
            if (buttons->Items(i)->Visible() && buttons->Items(i)->Kind() == bkText) {
                canvas->SetFont(style_->GetVisibleFont());
                viewInfo->PrepareCanvasFont(canvas->WrappedCanvas());
                break;
            }
    int h = 0;
    for (int i = 0; i < buttons->Count(); ++i) {
        TcxEditButton* b = buttons->Items(i);
        if (!b->Visible())
            continue;
        if (b->Kind() == bkGlyph && b->HasGlyph() && VerifyBitmap(b->Glyph()))
            h = std::max(h, b->Glyph()->GetHeight());
        else if (isInplace && b->Kind() == bkText && !b->VisibleCaption().empty())
            h = std::max(h, canvas->TextHeight(b->VisibleCaption()));
    }
    if (h > 0) {
        if (!style_->GetLookAndFeel()->SkinPainter()) {
            const TRect be = GetButtonsExtent(canvas);
            h += be.Top + be.Bottom;
        }
        h += GetEditButtonsContentVerticalOffset(canvas, GetButtonsStyle(), NativeStyle);
        minContentSize.cy = std::max(0, h - result.cy);
    }
    return result;
}

TSize TcxCustomEditViewData::GetEditContentSize(TcxCanvas* canvas, const Variant& value,
                                                const TcxEditSizeProperties& sizeProperties)
{
    if (properties_->ButtonsViewStyle() == bvsNormal)
        return InternalGetEditContentSize(canvas, value, sizeProperties);
    canvas->SetFont(style_->GetVisibleFont());
    return {0, GetEditContentSizeCorrection().cy + canvas->TextHeight("Zg")};
}

TSize TcxCustomEditViewData::GetEditContentSizeCorrection()
{
    const TcxEditContentParams& p = editContentParams_;
    return {p.Offsets.Left + p.Offsets.Right + p.SizeCorrectionWidth,
            p.Offsets.Top + p.Offsets.Bottom + p.SizeCorrectionHeight};
}

TRect TcxCustomEditViewData::GetEditContentDefaultOffsets() { return EditContentDefaultOffsets[isInplace_ ? 1 : 0]; }

void TcxCustomEditViewData::InitEditContentParams(TcxEditContentParams& params)
{
    params.Offsets = GetEditContentDefaultOffsets();
    params.SizeCorrectionWidth = 3 - params.Offsets.Left - params.Offsets.Right;
    params.SizeCorrectionHeight =
        NativeStyle ? GetNativeInnerTextEditContentHeightCorrection(properties_, isInplace_) : 0;
    params.ExternalBorderBounds = cxNullRect;
    params.Options = TcxEditContentOptions{ecoOffsetButtonContent};
}

void TcxCustomEditViewData::CheckSizeConstraints(TSize& size)
{
    const TcxEditSizeConstraints c = Edit->GetSizeConstraints();
    if (c.MaxHeight > 0 && size.cy > c.MaxHeight)
        size.cy = c.MaxHeight;
    if (c.MinHeight > 0 && size.cy < c.MinHeight)
        size.cy = c.MinHeight;
    if (c.MaxWidth > 0 && size.cx > c.MaxWidth)
        size.cx = c.MaxWidth;
    if (c.MinWidth > 0 && size.cx < c.MinWidth)
        size.cx = c.MinWidth;
}

// ---- display text and events ------------------------------------------------------------------

std::string TcxCustomEditViewData::EditValueToDisplayText(const Variant& value)
{
    // The text is what an editor cell paints: a value that cannot be converted or formatted
    // shows an empty text instead of raising inside a paint.
    try {
        std::string text = InternalEditValueToDisplayText(value);
        DoOnGetDisplayText(text);
        return text;
    } catch (const std::exception&) {
        return {};
    }
}

void TcxCustomEditViewData::DoGetButtonState(TcxCustomEditViewInfo* viewInfo, int visibleIndex,
                                             TcxEditButtonState& state)
{
    CallEvent(viewInfo->OnGetButtonState, viewInfo, visibleIndex, state);
}

int TcxCustomEditViewData::DoGetDefaultButtonWidth(int index)
{
    int width = 0;
    CallEvent(OnGetDefaultButtonWidth, this, index, width);
    return width;
}

void TcxCustomEditViewData::DoOnGetDisplayText(std::string& text) { CallEvent(OnGetDisplayText, this, text); }

// ---- the properties' view operations ----------------------------------------------------------

TcxCustomEditViewDataClass TcxCustomEditProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxCustomEditViewData>();
}

TcxCustomEditViewInfoClass TcxCustomEditProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxCustomEditViewInfo>();
}

TcxCustomEditViewData* TcxCustomEditProperties::CreateViewData(TcxCustomEditStyle* style, bool isInplace,
                                                               bool previewMode)
{
    TcxCustomEditViewData* viewData = GetViewDataClass().Create(this, style, isInplace);
    viewData->PreviewMode = previewMode;
    viewData->InitCacheData();
    return viewData;
}

TSize TcxCustomEditProperties::GetEditConstantPartSize(TcxCanvas* canvas, TcxCustomEditStyle* style, bool isInplace,
                                                       const TcxEditSizeProperties& sizeProperties,
                                                       TSize& minContentSize)
{
    std::unique_ptr<TcxCustomEditViewData> viewData(CreateViewData(style, isInplace));
    return viewData->GetEditConstantPartSize(canvas, sizeProperties, minContentSize);
}

TSize TcxCustomEditProperties::GetEditContentSize(TcxCanvas* canvas, TcxCustomEditStyle* style, bool isInplace,
                                                  const Variant& editValue,
                                                  const TcxEditSizeProperties& sizeProperties)
{
    std::unique_ptr<TcxCustomEditViewData> viewData(CreateViewData(style, isInplace));
    return viewData->GetEditContentSize(canvas, editValue, sizeProperties);
}

TSize TcxCustomEditProperties::GetEditSize(TcxCanvas* canvas, TcxCustomEditStyle* style, bool isInplace,
                                           const Variant& editValue, const TcxEditSizeProperties& sizeProperties)
{
    std::unique_ptr<TcxCustomEditViewData> viewData(CreateViewData(style, isInplace));
    const TcxEditSizeProperties copy = sizeProperties;
    return viewData->GetEditSize(canvas, editValue, copy);
}

} // namespace cx
