// TcxContainer: the refresh pipeline (state, active style, border extent and colours, visible
// bounds, shadow region, frame invalidation), the two-way Color/Font synchronisation with the
// normal style, hot tracking, and the hosting of one inner control (placement and clipping,
// focus, Tab order, keys, its messages, its scroll bars mirrored by the painted ones).
#include "toolkit/controls/cxContainer.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"
#include "toolkit/core/dxOffice11.h"

#include <algorithm>

namespace cx {

namespace {
constexpr int kShadowSize = 3;


bool IsKeyMessage(UINT msg)
{
    return (msg >= WM_KEYDOWN && msg <= WM_CHAR) || (msg >= CN_KEYDOWN && msg <= CN_CHAR);
}
} // namespace

// ---- construction ----

TcxContainer::TcxContainer(TComponent* owner) : TcxControl(owner)
{
    creating_ = true;
    sizeGripData_.Visible = false;
    styles_ = GetStylesClass().Create(this, GetStyleClass());
    styles_->SetOnChanged(TNotifyEvent(this, &TcxContainer::ContainerStyleChanged));
    containerState_ = {csNormal};
    activeStyle_ = Style();
    viewInfo_ = GetViewInfoClass().Create();
    LookAndFeel()->SetMasterLookAndFeel(Style()->GetLookAndFeel());
    ControlStyle.Include(csCaptureMouse).Include(csSetCaption);
    TabStop = true;
    InitParentColor();
    if (!parentColor_) {
        // The default colour is not a colour the style was given.
        FlagScope guard(ownChange_, true);
        SetColor(clWindow);
    }
    ClearSavedChildControlRegions();
    creating_ = false;
}

void TcxContainer::InitParentColor()
{
    TColor assigned;
    parentColor_ = DefaultParentColor() && !IsInplace() && !Style()->InternalGetColor(assigned);
    if (parentColor_ && Parent())
        Perform(CM_PARENTCOLORCHANGED);
}

void TcxContainer::RecreateStylesAndViewInfo()
{
    LookAndFeel()->SetMasterLookAndFeel(nullptr);
    styles_->SetOnChanged({});
    FreeAndNil(styles_);
    styles_ = GetStylesClass().Create(this, GetStyleClass());
    styles_->SetOnChanged(TNotifyEvent(this, &TcxContainer::ContainerStyleChanged));
    activeStyle_ = Style();
    LookAndFeel()->SetMasterLookAndFeel(Style()->GetLookAndFeel());
    FreeAndNil(viewInfo_);
    viewInfo_ = GetViewInfoClass().Create();
    viewInfoCalculated_ = false;
}

TcxContainer::~TcxContainer()
{
    if (styles_)
        BeforeDestruction();
}

void TcxContainer::BeforeDestruction()
{
    if (!styles_)
        return TcxControl::BeforeDestruction();
    cx::EndMouseTracking(this);
    SetInnerControl(nullptr);
    TcxControl::BeforeDestruction();
    FreeAndNil(viewInfo_);
    styles_->SetOnChanged({});
    LookAndFeel()->SetMasterLookAndFeel(nullptr);
    FreeAndNil(styles_);
}

void TcxContainer::Loaded()
{
    TcxControl::Loaded();
    SetSize();
    ContainerStyleChanged(Style());
}

void TcxContainer::Notification(TComponent* component, TOperation operation)
{
    TcxControl::Notification(component, operation);
    if (operation == opRemove && component == innerControl_) {
        innerControl_ = nullptr;
        innerOldWindowProc_ = {};
    }
}

// ---- refreshing ----

bool TcxContainer::CanRefreshContainer() const
{
    return refreshLockCount_ <= 0 && !creating_ && !IsDestroying() && !ControlState.Contains(csDestroyingHandle) &&
           HandleAllocated();
}

void TcxContainer::RefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent)
{
    if (!styles_ || !CanRefreshContainer()) {
        viewInfoCalculated_ = false;
        return;
    }
    // A refresh reports clicks (a button's click event): a handler may free the container.
    const auto alive = AliveToken();
    ++refreshLockCount_;
    bool done = false;
    try {
        done = DoRefreshContainer(p, button, shift, isMouseEvent);
    } catch (...) {
        if (!alive.expired())
            --refreshLockCount_;
        throw;
    }
    if (alive.expired())
        return;
    --refreshLockCount_;
    viewInfoCalculated_ = done;
}

void TcxContainer::ShortRefreshContainer(bool isMouseEvent)
{
    TPoint p = cxInvalidPoint;
    if (HandleAllocated()) {
        const TPoint s = InternalGetCursorPos();
        vcl::TWidgetPeer* peer = vcl::PeerAt(s);
        TWinControl* under = peer ? peer->Control() : nullptr;
        if (under && under->HandleAllocated() && IsChildEx(Handle(), under->Handle()))
            p = ScreenToClient(s);
    }
    RefreshContainer(p, cxmbNone, InternalGetShiftState(), isMouseEvent);
}

void TcxContainer::CheckIsViewInfoCalculated()
{
    if (!viewInfoCalculated_)
        ShortRefreshContainer(false);
}

bool TcxContainer::DoRefreshContainer(const TPoint& p, TcxMouseButton, TShiftState shift, bool)
{
    CalculateViewInfo(p, shift.Empty() && GetActiveStyle()->GetHotTrack());
    SetSize();
    AdjustInnerControl();
    SetShadowRegion();
    if (innerControl_)
        InternalInvalidate(Handle(), GetControlRect(this), viewInfo_->BorderRect, false);
    else
        TcxControl::InvalidateRect(GetControlRect(this), false);
    if (viewInfo_->ContainerState.Contains(csHotTrack))
        BeginMouseTracking(this, GetBounds(), this);
    return true;
}

void TcxContainer::CalculateContainerState(const TPoint& p, bool mayBeHot)
{
    TcxContainerViewInfo* vi = viewInfo_;
    TcxContainerState state;
    if (!Enabled())
        state = {csDisabled};
    else if (IsDesigning())
        state = {csNormal};
    else if (GetIsFocused())
        state = {csActive};
    else
        state = {csNormal};
    if (mayBeHot && cxRectPtIn(GetVisibleBounds(), p))
        state.Include(csHotTrack);
    vi->ContainerState = state;
    TcxContainerStyle* active = GetActiveStyle();
    if (!active->GetHotTrack())
        vi->HotState = chsNoHotTrack;
    else if (state.Contains(csActive) || state.Contains(csHotTrack))
        vi->HotState = chsSelected;
    else
        vi->HotState = chsNormal;
    if (vi->NativeStyle) {
        vi->BorderStyle = Style()->GetBorderStyle();
    } else {
        TcxContainerBorderStyle bs = active->GetBorderStyle();
        if (bs == cbsUltraFlat || bs == cbsOffice11)
            bs = cbsSingle;
        vi->BorderStyle = bs;
    }
}

void TcxContainer::CalculateViewInfo(const TPoint& p, bool mayBeHot)
{
    TcxContainerViewInfo* vi = viewInfo_;
    vi->NativeStyle = IsNativeStyle();
    vi->Painter = Style()->GetLookAndFeel()->SkinPainter();
    const int oldWidth = GetContainerBorderWidth(vi->BorderStyle);
    CalculateContainerState(p, mayBeHot);
    // The visible bounds depend on the border style: a thinner border asks for a second pass.
    if (!vi->NativeStyle && GetContainerBorderWidth(vi->BorderStyle) < oldWidth)
        CalculateContainerState(p, mayBeHot);
    if (vi->NativeStyle) {
        vi->ThemedObjectType = GetBackgroundThemedObjectType();
        vi->NativePart = GetBackgroundNativePart();
        vi->NativeState = GetBackgroundNativeState();
    }
    vi->Bounds = GetControlRect(this);
    const TRect e = GetBorderExtent();
    vi->BorderRect = {vi->Bounds.Left + e.Left, vi->Bounds.Top + e.Top, vi->Bounds.Right - e.Right,
                      vi->Bounds.Bottom - e.Bottom};
    vi->ClientRect = vi->BorderRect;
    vi->BorderWidth = vi->Painter ? 1 : GetContainerBorderWidth(vi->BorderStyle);
    vi->Edges = GetActiveStyle()->GetEdges();
    vi->Shadow = HasShadow();
    vi->BorderColor = GetBorderColor();
    vi->SetBackgroundColor(GetBackgroundColor());
}

TcxContainerStyle* TcxContainer::GetActiveStyle() const
{
    if (!(containerState_ == viewInfo_->ContainerState)) {
        containerState_ = viewInfo_->ContainerState;
        activeStyle_ = InternalGetActiveStyle();
    }
    return activeStyle_;
}

TcxContainerStyle* TcxContainer::InternalGetActiveStyle() const
{
    const TcxContainerState s = viewInfo_->ContainerState;
    if (s.Contains(csDisabled))
        return StyleDisabled();
    if (s.Contains(csActive))
        return StyleFocused();
    if (Style()->GetHotTrack() && s.Contains(csHotTrack))
        return StyleHot();
    return Style();
}

TRect TcxContainer::GetBorderExtent() const
{
    TRect r{};
    TcxContainerStyle* active = GetActiveStyle();
    if (active->GetTransparentBorder() && !viewInfo_->Painter) {
        r = cxContainerDefaultBorderExtent;
    } else if (!active->HasBorder() || (IsNativeStyle() && Style()->GetBorderStyle() == cbsNone)) {
        r = {};
    } else if (IsNativeStyle()) {
        r = {2, 2, 2, 2};
    } else {
        const int w = GetContainerBorderWidth(viewInfo_->BorderStyle);
        const TcxBorders edges = active->GetEdges();
        r = {edges & cxBorder(bLeft) ? w : 0, edges & cxBorder(bTop) ? w : 0, edges & cxBorder(bRight) ? w : 0,
             edges & cxBorder(bBottom) ? w : 0};
    }
    if (HasShadow()) {
        r.Right += kShadowSize;
        r.Bottom += kShadowSize;
    }
    return r;
}

TColor TcxContainer::GetBorderColor() const
{
    const TcxContainerState s = viewInfo_->ContainerState;
    TcxContainerStyle* active = GetActiveStyle();
    const bool highlighted = s.Contains(csActive) || (s.Contains(csHotTrack) && active->GetHotTrack()) ||
                             (IsDesigning() && Enabled());
    if (viewInfo_->Painter)
        return viewInfo_->Painter->GetContainerBorderColor(highlighted);
    const TcxContainerBorderStyle bs = active->GetBorderStyle();
    if (bs != cbsUltraFlat && bs != cbsOffice11)
        return active->GetBorderColor();
    if (!highlighted)
        return clBtnShadow;
    return bs == cbsOffice11 ? dxOffice11SelectedBorderColor : clHighlight;
}

void TcxContainer::GetColorSettingsByPainter(TColor& background, TColor& textColor) const
{
    background = clDefault;
    textColor = clDefault;
    TcxCustomLookAndFeelPainterClass painter = viewInfo_->Painter;
    if (!painter)
        return;
    TcxContainerStyle* active = GetActiveStyle();
    if (!Style()->IsValueAssigned(csvTextColor) && !active->IsValueAssigned(csvTextColor))
        textColor = painter->DefaultEditorTextColorEx(GetEditStateColorKind());
    if (!parentColor_ && !Style()->IsValueAssigned(csvColor) && !active->IsValueAssigned(csvColor))
        background = painter->DefaultEditorBackgroundColorEx(GetEditStateColorKind());
}

TcxEditStateColorKind TcxContainer::GetEditStateColorKind() const
{
    if (!Enabled())
        return esckDisabled;
    return GetIsFocused() ? esckNormal : esckInactive;
}

TColor TcxContainer::GetBackgroundColor() const
{
    TColor background, text;
    GetColorSettingsByPainter(background, text);
    if (background != clDefault)
        return background;
    return GetActiveStyle()->GetColor();
}

bool TcxContainer::IsNativeStyle() const
{
    return AreVisualStylesMustBeUsed(Style()->GetLookAndFeel()->GetNativeStyle(), GetBackgroundThemedObjectType());
}

int TcxContainer::GetBackgroundNativePart() const { return 1; }

int TcxContainer::GetBackgroundNativeState() const
{
    if (!Enabled())
        return 4;
    if (IsReadOnly())
        return 6;
    if (GetIsFocused())
        return 5;
    if (viewInfo_->ContainerState.Contains(csHotTrack))
        return 2;
    return 1;
}

bool TcxContainer::HasShadow() const { return GetActiveStyle()->GetShadow() && !IsNativeStyle(); }

bool TcxContainer::CanHaveTransparentBorder() const
{
    return !(IsNativeStyle() && viewInfo_->BorderStyle != cbsNone);
}

TRect TcxContainer::GetVisibleBounds() const
{
    TRect r = GetControlRect(const_cast<TcxContainer*>(this));
    if (IsInplace())
        return r;
    if (HasShadow()) {
        r.Right -= kShadowSize;
        r.Bottom -= kShadowSize;
    }
    const bool transparent = Style()->GetTransparentBorder();
    if (Style()->HasBorder()) {
        if (viewInfo_->NativeStyle) {
            if (transparent && viewInfo_->BorderStyle == cbsNone)
                r = cxRectInflate(r, -2, -2);
        } else if (transparent) {
            const int w = GetContainerBorderWidth(viewInfo_->BorderStyle);
            r = cxRectInflate(r, w - 2, w - 2);
            InflateRectByBorders(r, w, viewInfo_->Edges);
        }
    } else if (transparent) {
        r = cxRectInflate(r, -2, -2);
    }
    if (r.Bottom < r.Top)
        r = {r.Left, 0, r.Right, 0};
    return r;
}

TRect TcxContainer::GetShadowBounds() const
{
    const TRect e = GetBorderExtent();
    TRect r{e.Left, e.Top, Width() - e.Right, Height() - e.Bottom};
    const int w = viewInfo_->BorderWidth;
    r = cxRectInflate(r, w, w);
    InflateRectByBorders(r, w, GetActiveStyle()->GetEdges());
    return r;
}

void TcxContainer::SetShadowRegion()
{
    if (!HandleAllocated())
        return;
    SetWindowShadowRegion(Handle(), GetShadowBounds(), GetShadowBoundsExtent(),
                          IsNativeStyle() && viewInfo_->BorderStyle != cbsNone, viewInfo_->Shadow, TRect{});
}

void TcxContainer::SetVisibleBoundsClipRect()
{
    const auto region = GetWindowShadowRegion(Handle(), GetShadowBounds(), GetShadowBoundsExtent(),
                                              !CanHaveTransparentBorder(), viewInfo_->Shadow, TRect{});
    if (region)
        Canvas()->SetClipRegion(new TcxRegion(new gdi::Region(*region)), roIntersect);
}

TFont* TcxContainer::GetVisibleFont()
{
    TFont* f = GetActiveStyle()->GetVisibleFont();
    TColor background, text;
    GetColorSettingsByPainter(background, text);
    if (text != clDefault)
        f->SetColor(text);
    return f;
}

bool TcxContainer::IsStylePropertyPublished(const std::string& name, bool extended) const
{
    if (extended && !Style()->IsExtendedStylePropertyPublished(name))
        return false;
    TcxContainerStyleValue v;
    if (!Style()->GetStyleValue(name, v))
        return true;
    return (InternalGetNotPublishedStyleValues() & cxStyleValue(v)) == 0;
}

void TcxContainer::LockAlignControls(bool lock)
{
    if (lock)
        ++alignControlsLockCount_;
    else if (alignControlsLockCount_ > 0)
        --alignControlsLockCount_;
}

void TcxContainer::LockPopupMenu(bool lock)
{
    if (lock)
        ++popupMenuLockCount_;
    else if (popupMenuLockCount_ > 0)
        --popupMenuLockCount_;
}

bool TcxContainer::IsMouseTracking() { return cx::IsMouseTracking(this); }

void TcxContainer::EndMouseTracking()
{
    MouseLeave(nullptr);
    cx::EndMouseTracking(this);
}

// ---- painting ----

void TcxContainer::Paint()
{
    if (!viewInfo_ || IsDestroying())
        return;
    // A refresh refused earlier (no handle yet) left the view info empty: calculate it first.
    CheckIsViewInfoCalculated();
    if (!Canvas()->RectVisible(viewInfo_->Bounds))
        return;
    if (ControlState.Contains(csPaintCopy))
        SetVisibleBoundsClipRect();
    viewInfo_->Paint(Canvas());
}

void TcxContainer::CreateParams(TCreateParams& params) { TcxControl::CreateParams(params); }

void TcxContainer::CreateHandle()
{
    TcxControl::CreateHandle();
    if (innerControl_ && CanAllocateHandle(innerControl_))
        innerControl_->HandleNeeded();
    ShortRefreshContainer(false);
}

void TcxContainer::Invalidate()
{
    TcxControl::Invalidate();
    if (innerControl_)
        innerControl_->Invalidate();
}

void TcxContainer::Update()
{
    TcxControl::Update();
    if (innerControl_)
        innerControl_->Update();
}

void TcxContainer::CursorChanged()
{
    TcxControl::CursorChanged();
    if (innerControl_)
        innerControl_->SetCursor(Cursor());
}

TCursor TcxContainer::GetCursor(int x, int y)
{
    // The border and shadow around an inner control always show the arrow.
    if (innerControl_ && !cxRectPtIn(viewInfo_->ClientRect, x, y))
        return crArrow;
    return TcxControl::GetCursor(x, y);
}

TRect TcxContainer::GetClientBounds() const
{
    if (IsDestroying() || !viewInfo_)
        return TcxControl::GetClientBounds();
    return viewInfo_->ClientRect;
}

// ---- styles, colour and font ----

void TcxContainer::ContainerStyleChanged(TObject*)
{
    if (creating_ || IsLoading() || IsDestroying())
        return;
    ShortRefreshContainer(false);
    FlagScope guard(ownChange_, true);
    if (!parentColor_ || (Style()->GetAssignedValues() & cxStyleValue(csvColor)))
        SetColor(Style()->GetStyleColor());
    {
        FlagScope keepParentFont(applyingParentValue_, true);
        if (TFont* f = Style()->GetFont(); f && f != Font())
            Font()->Assign(f);
    }
    if (Style()->IsValueAssigned(csvFont))
        parentFont_ = false;
}

void TcxContainer::ColorChanged()
{
    if (ownChange_) {
        TcxControl::ColorChanged();
        ShortRefreshContainer(false);
    } else {
        Style()->SetColor(Color());
    }
}

void TcxContainer::HandleFontChanged(TMessage& msg)
{
    if (ownChange_) {
        TcxControl::Dispatch(msg);
        SetSize();
        SetScrollBarsParameters(false);
        ShortRefreshContainer(false);
        return;
    }
    // One notice, after the flag is back: a font that only mirrors the control's (the parent's,
    // say) must not look assigned to the style change that follows.
    const bool wasAssigned = (Style()->GetAssignedValues() & cxStyleValue(csvFont)) != 0;
    Style()->BeginUpdate();
    Style()->SetFont(Font());
    if (!wasAssigned)
        Style()->ExcludeAssignedValue(csvFont);
    Style()->EndUpdate();
    TcxControl::Dispatch(msg);
}

void TcxContainer::ApplyParentColor()
{
    if (!Parent())
        return;
    FlagScope guard(applyingParentValue_, true);
    SetColor(Parent()->Color());
}

void TcxContainer::ApplyParentFont()
{
    if (!Parent())
        return;
    FlagScope guard(applyingParentValue_, true);
    Font()->Assign(Parent()->Font());
}

void TcxContainer::HandleParentColorChanged(TMessage&)
{
    const bool wasAssigned = (Style()->GetAssignedValues() & cxStyleValue(csvColor)) != 0;
    if (parentColor_)
        ApplyParentColor();
    if (!wasAssigned || parentColor_)
        Style()->ExcludeAssignedValue(csvColor);
    if (Style()->GetColor() != Color())
        ContainerStyleChanged(Style());
    if (IsTransparentBackground() && !parentColor_)
        Invalidate();
}

void TcxContainer::HandleParentFontChanged(TMessage&)
{
    const bool wasAssigned = (Style()->GetAssignedValues() & cxStyleValue(csvFont)) != 0;
    if (parentFont_)
        ApplyParentFont();
    if (!parentFont_)
        Style()->UpdateFont();
    if (!wasAssigned || parentFont_)
        Style()->ExcludeAssignedValue(csvFont);
}

void TcxContainer::SetParentColor(bool value)
{
    if (parentColor_ == value)
        return;
    parentColor_ = value;
    if (value && Parent())
        Perform(CM_PARENTCOLORCHANGED);
}

void TcxContainer::SetParentFont(bool value)
{
    if (parentFont_ == value)
        return;
    parentFont_ = value;
    if (value && Parent())
        Perform(CM_PARENTFONTCHANGED);
}

void TcxContainer::SetParent(TWinControl* parent)
{
    TcxControl::SetParent(parent);
    if (!parent || IsDestroying())
        return;
    if (parentColor_)
        Perform(CM_PARENTCOLORCHANGED);
    if (parentFont_)
        Perform(CM_PARENTFONTCHANGED);
}

void TcxContainer::ChangeScale(int m, int d)
{
    if (m == d)
        return;
    const bool scaleFont = Style()->IsValueAssigned(csvFont);
    {
        FlagScope guard(ownChange_, !parentFont_);
        SetBounds(MulDiv(Left(), m, d), MulDiv(Top(), m, d), MulDiv(Width(), m, d), MulDiv(Height(), m, d));
    }
    if (!scaleFont)
        return;
    if (Style()->GetAssignedValues() & cxStyleValue(csvFont))
        Font()->SetSize(MulDiv(Font()->GetSize(), m, d));
    else if (IsLoading())
        if (TcxStyleController* c = Style()->GetActiveStyleController())
            c->ChangeFontScale(m, d);
}

// ---- other refresh triggers ----

void TcxContainer::Resize()
{
    TcxControl::Resize();
    ShortRefreshContainer(false);
}

void TcxContainer::FocusChanged()
{
    TcxControl::FocusChanged();
    ShortRefreshContainer(false);
}

void TcxContainer::EnabledChanged()
{
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* bar = dynamic_cast<TcxScrollBar*>(Controls(i)))
            bar->SetEnabled(Enabled());
    ShortRefreshContainer(false);
}

// ---- mouse and hot tracking ----

void TcxContainer::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TcxControl::MouseDown(button, shift, x, y);
    if (alive.expired() || IsDestroying())
        return;
    if (IsMouseTracking())
        RefreshContainer({x, y}, ButtonTocxButton(button), shift, true);
}

void TcxContainer::MouseMove(TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TcxControl::MouseMove(shift, x, y);
    if (alive.expired() || IsDestroying())
        return;
    RefreshContainer({x, y}, cxmbNone, shift, true);
    if (!alive.expired())
        BeginMouseTracking(this, GetBounds(), this);
}

void TcxContainer::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TcxControl::MouseUp(button, shift, x, y);
    if (alive.expired() || IsDestroying())
        return;
    RefreshContainer({x, y}, ButtonTocxButton(button), shift, true);
}

void TcxContainer::MouseEnter(TControl* control)
{
    TcxControl::MouseEnter(control);
    ShortRefreshContainer(true);
    BeginMouseTracking(this, GetBounds(), this);
}

void TcxContainer::MouseLeave(TControl* control)
{
    TcxControl::MouseLeave(control);
    ShortRefreshContainer(true);
    cx::EndMouseTracking(this);
}

void TcxContainer::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (!IsPopupMenuLocked() && ((mousePos.X == -1 && mousePos.Y == -1) || CanShowPopupMenu(mousePos)))
        TcxControl::DoContextPopup(mousePos, handled);
    else
        handled = true;
}

// ---- messages ----

void TcxContainer::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_SETFOCUS:
        if (!Visible())
            return;
        break;
    case WM_NCCALCSIZE:
        if (refreshLockCount_ > 0) {
            msg.Result = 0;
            return;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (DragMode == dmAutomatic && !IsDesigning()) {
            BeginPlatformDrag();
            return;
        }
        break;
    default:
        if (IsKeyMessage(msg.Msg) && innerControl_ && innerControl_->HandleAllocated()) {
            msg.Result = vcl::SendMessage(innerControl_->Handle(), msg.Msg, msg.WParam, msg.LParam);
            return;
        }
        break;
    }
    TcxControl::WndProc(msg);
}

void TcxContainer::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case CM_COLORCHANGED:
        if (!applyingParentValue_)
            parentColor_ = false;
        break;
    case CM_FONTCHANGED:
        if (!applyingParentValue_)
            parentFont_ = false;
        return HandleFontChanged(msg);
    case CM_PARENTCOLORCHANGED: return HandleParentColorChanged(msg);
    case CM_PARENTFONTCHANGED: return HandleParentFontChanged(msg);
    case CM_ENABLEDCHANGED:
        TcxControl::Dispatch(msg);
        EnabledChanged();
        return;
    case CM_CTL3DCHANGED:
    case CM_SYSCOLORCHANGE:
        TcxControl::Dispatch(msg);
        ShortRefreshContainer(false);
        return;
    case CM_SHORTREFRESHCONTAINER: ShortRefreshContainer(false); return;
    case CM_UPDATESCROLLBARS: SetScrollBarsParameters(false); return;
    case WM_WINDOWPOSCHANGED:
        TcxControl::Dispatch(msg);
        if (IsTransparentBackground() && !IsDestroying())
            ShortRefreshContainer(false);
        return;
    case WM_NCPAINT: msg.Result = 0; return;
    case WM_SETFOCUS: return HandleSetFocus(msg);
    case WM_KILLFOCUS: return HandleKillFocus(msg);
    default: break;
    }
    TcxControl::Dispatch(msg);
}

// ---- the inner control ----

void TcxContainer::SetInnerControl(TWinControl* value)
{
    if (innerControl_ == value)
        return;
    if (innerControl_) {
        innerControl_->RemoveFreeNotification(this);
        innerControl_->WindowProc = innerOldWindowProc_;
        innerOldWindowProc_ = {};
    }
    innerControl_ = value;
    if (value) {
        value->FreeNotification(this);
        innerOldWindowProc_ = value->WindowProc;
        const auto alive = AliveToken();
        const auto oldProc = innerOldWindowProc_;
        value->WindowProc = rtl::Event<void(TMessage&)>([this, alive, value, oldProc](TMessage& m) {
            // Locals only from here: restoring the window procedure destroys this closure.
            TcxContainer* self = this;
            TWinControl* inner = value;
            const auto proc = oldProc;
            if (const auto containerAlive = alive; containerAlive.expired())
                return proc.Assigned() ? proc(m) : inner->WndProc(m);
            self->InnerControlHook(inner, proc, m);
        });
        RealignInnerControl();
    }
}

// Watches what reaches the inner control: keys go to the container first, moves and sizes
// re-clip it, focus changes refresh the container's state.
void TcxContainer::InnerControlHook(TWinControl* inner, const rtl::Event<void(TMessage&)>& innerProc, TMessage& m)
{
    const auto alive = AliveToken();
    const auto innerAlive = inner->AliveToken();
    // The container lets go of a control on its way out (or freed meanwhile): only its own
    // window procedure then.
    auto gone = [&] { return alive.expired() || innerAlive.expired() || IsDestroying() || innerControl_ != inner; };
    if (gone())
        return innerProc.Assigned() ? innerProc(m) : inner->WndProc(m);
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN || m.Msg == WM_KEYUP || m.Msg == WM_SYSKEYUP) {
        std::uint16_t key = std::uint16_t(m.WParam);
        const TShiftState shift = KeyDataToShiftState(m.LParam);
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN)
            KeyDown(key, shift);
        else
            KeyUp(key, shift);
        if (innerAlive.expired())
            return;
        if (key == 0) {
            m.Result = 0;
            return;
        }
        m.WParam = key;
    } else if (m.Msg == WM_CHAR) {
        char16_t ch = char16_t(m.WParam);
        KeyPress(ch);
        if (innerAlive.expired())
            return;
        if (ch == 0) {
            m.Result = 0;
            return;
        }
        m.WParam = ch;
    }
    if (innerProc.Assigned())
        innerProc(m);
    else
        inner->WndProc(m);
    if (gone())
        return;
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_SIZE:
    case WM_MOVE: RealignInnerControl(); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: FocusChanged(); break;
    default: break;
    }
}

void TcxContainer::RealignInnerControl()
{
    if (!innerControl_)
        return;
    TRect r = GetClientBounds();
    AlignControls(innerControl_, r);
}

bool TcxContainer::InnerControlDefaultHandler(TMessage& message)
{
    if (!innerControl_ || IsDestroying())
        return false;
    return DoInnerControlDefaultHandler(message);
}

bool TcxContainer::DoInnerControlDefaultHandler(TMessage& message)
{
    if (message.Msg == WM_CONTEXTMENU) {
        message.Result = Perform(WM_CONTEXTMENU, message.WParam, message.LParam);
        return message.Result != 0;
    }
    // The repaint on composition glass: the platform has no composition, so nothing is posted.
    return false;
}

bool TcxContainer::InnerControlMenuHandler(TMessage& message)
{
    if (message.Msg != CN_KEYDOWN && message.Msg != CN_SYSKEYDOWN)
        return false;
    if (!IsMenuKey(message))
        return false;
    message.Result = 1;
    return true;
}

void TcxContainer::InnerControlWndProc(TMessage& message)
{
    if (InnerControlWindowMethod)
        InnerControlWindowMethod(message);
}

void TcxContainer::UpdateScrollBarsParameters()
{
    if (!IsDestroying() && HandleAllocated() && innerControl_)
        vcl::PostMessage(Handle(), CM_UPDATESCROLLBARS);
}

void TcxContainer::SafeSelectionFocusInnerControl()
{
    if (innerControl_ && innerControl_->CanFocus())
        innerControl_->SetFocus();
}

void TcxContainer::SetSize()
{
    if (!innerControl_ || !viewInfo_)
        return;
    const TRect& c = viewInfo_->ClientRect;
    if (innerControl_->BoundsRect() == c)
        return;
    ++refreshLockCount_;
    innerControl_->SetBounds(c.Left, c.Top, c.Width(), c.Height());
    --refreshLockCount_;
}

void TcxContainer::AdjustInnerControl()
{
    if (!innerControl_)
        return;
    innerControl_->SetColor(viewInfo_->BackgroundColor);
    TFont* f = GetVisibleFont();
    TFont* innerFont = innerControl_->Font();
    if (innerFont->GetHandle().lf != f->GetHandle().lf || innerFont->GetColor() != f->GetColor())
        innerFont->Assign(f);
}

void TcxContainer::AlignControls(TControl* control, TRect& rect)
{
    if (IsContainerClass() || IsAlignControlsLocked() || IsInternalControl(control) || !control || creating_)
        return;
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w || !w->HandleAllocated())
        return;
    TcxContainerInnerControlBounds bounds;
    GetInnerControlBounds(rect, control, bounds);
    if (IsInnerControlBoundsChanged(control, bounds)) {
        SetWindowRegion(w, bounds);
        SaveInnerControlBounds(control, bounds);
    }
}

void TcxContainer::GetInnerControlBounds(const TRect& r, TControl* control, TcxContainerInnerControlBounds& bounds) const
{
    if (!control) {
        bounds.IsEmpty = true;
        return;
    }
    bounds.IsEmpty = false;
    const TRect whole{0, 0, control->Width(), control->Height()};
    TRect rect = whole;
    const TRect b = control->BoundsRect();
    if (b.Left < r.Left)
        rect.Left = r.Left - b.Left;
    if (b.Top < r.Top)
        rect.Top = r.Top - b.Top;
    if (r.Right < b.Right)
        rect.Right -= b.Right - r.Right;
    if (r.Bottom < b.Bottom)
        rect.Bottom -= b.Bottom - r.Bottom;
    bounds.Rect = rect;
    if (rect == whole)
        bounds.IsEmpty = true;
}

bool TcxContainer::IsInnerControlBoundsChanged(TControl* control, const TcxContainerInnerControlBounds& bounds) const
{
    if (control != innerControl_)
        return true;
    if (innerControlBounds_.IsEmpty && bounds.IsEmpty)
        return false;
    if (innerControlBounds_.IsEmpty != bounds.IsEmpty)
        return true;
    return !(innerControlBounds_.Rect == bounds.Rect);
}

void TcxContainer::SaveInnerControlBounds(TControl* control, const TcxContainerInnerControlBounds& bounds)
{
    if (control == innerControl_)
        innerControlBounds_ = bounds;
}

// ---- focus ----

bool TcxContainer::GetIsFocused() const
{
    if (IsDesigning() || ControlState.Contains(csDestroyingHandle))
        return false;
    return Focused() || (innerControl_ && innerControl_->HandleAllocated() && innerControl_->Focused());
}

bool TcxContainer::MayFocus() const
{
    return !(innerControl_ && innerControl_->HandleAllocated() && innerControl_->Focused());
}

bool TcxContainer::CanFocusOnClick()
{
    if (innerControl_ && innerControl_->HandleAllocated() && innerControl_->Focused())
        return false;
    return !InnerControlMouseDown && TcxControl::CanFocusOnClick();
}

void TcxContainer::SetFocus()
{
    if (IsDesigning() || GetIsFocused())
        return;
    const auto alive = AliveToken();
    TcxControl::SetFocus();
    if (alive.expired() || !innerControl_ || !innerControl_->HandleAllocated())
        return;
    if (HandleAllocated() && ::GetFocus() == Handle()) {
        SafeSelectionFocusInnerControl();
        if (alive.expired() || !innerControl_)
            return;
        if (TCustomForm* form = GetParentForm(); form && innerControl_->CanFocus())
            form->FocusControl(innerControl_);
    }
}

void TcxContainer::HandleSetFocus(TMessage& msg)
{
    if (IsDestroying() || !HandleAllocated() || !innerControl_ || !innerControl_->HandleAllocated())
        return TcxControl::Dispatch(msg);
    if (reinterpret_cast<HWND>(msg.WParam) == innerControl_->Handle()) {
        // The focus came back from the inner control (the form moving it on): no notice.
        msg.Msg = 0;
        msg.Result = 0;
        return;
    }
    TcxControl::Dispatch(msg);
    if (innerControl_ && innerControl_->CanFocus())
        innerControl_->SetFocus();
}

void TcxContainer::HandleKillFocus(TMessage& msg)
{
    if (innerControl_ && innerControl_->HandleAllocated() &&
        reinterpret_cast<HWND>(msg.WParam) == innerControl_->Handle()) {
        msg.Msg = 0;
        msg.Result = 0;
        return;
    }
    TcxControl::Dispatch(msg);
}

void TcxContainer::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxControl::KeyDown(key, shift);
    if (key != VK_TAB || !GetIsFocused() || shift.Contains(ssCtrl) || shift.Contains(ssAlt) ||
        !CanContainerHandleTabs())
        return;
    key = 0;
    const auto alive = AliveToken();
    if (TCustomForm* form = GetParentForm())
        form->SelectNext(form->ActiveControl(), !shift.Contains(ssShift), true);
    if (alive.expired())
        return;
    if (HandleAllocated() && ::GetFocus() == Handle() && innerControl_)
        innerControl_->SetFocus();
}

void TcxContainer::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    if (IsContainerClass())
        return TcxControl::GetTabOrderList(list);
    TCustomForm* form = GetParentForm();
    if (form && innerControl_ && form->ActiveControl() == innerControl_ && form->ActiveControl() != this &&
        CanFocus()) {
        list.push_back(innerControl_);
        auto it = std::find(list.begin(), list.end(), static_cast<const TWinControl*>(this));
        if (it != list.end())
            list.erase(it);
    }
}

// ---- the inner control's scroll bars ----

bool TcxContainer::GetScrollBarInfo(TcxScrollBarInfo& info, TScrollBarKind kind) const
{
    if (IsDestroying() || !Parent() || !HandleAllocated() || !innerControl_ || !innerControl_->HandleAllocated())
        return false;
    return cxGetScrollBarInfo(innerControl_->Handle(), kind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, info);
}

bool TcxContainer::IsAdjustingScrollBarPositionNeeded(const TcxScrollBarInfo& info) const
{
    return (info.rgstate & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0;
}

bool TcxContainer::GetScrollBarEnabled(TcxControlScrollBar* scrollBar, const TcxScrollBarInfo& info) const
{
    return scrollBar->Parent() && scrollBar->Parent()->Enabled() && (info.rgstate & STATE_SYSTEM_UNAVAILABLE) == 0;
}

TRect TcxContainer::GetScrollBarBounds(const TRect& scrollBarRect) const
{
    const TPoint p = ScreenToClient({scrollBarRect.Left, scrollBarRect.Top});
    const int w = scrollBarRect.Width(), h = scrollBarRect.Height();
    if (p.X < 0 || p.Y < 0 || w > Width() || h > Height())
        return {};
    return {p.X, p.Y, p.X + w, p.Y + h};
}

void TcxContainer::SetScrollBarVisible(TcxControlScrollBar* scrollBar, bool visible)
{
    scrollBar->Data.Visible = visible;
    scrollBar->SetVisible(visible);
    if (visible && Parent())
        MoveChildToFront(scrollBar);
}

void TcxContainer::AdjustScrollBarPosition(TcxControlScrollBar* scrollBar)
{
    TcxScrollBarInfo info;
    if (!GetScrollBarInfo(info, scrollBar->Kind()) || !IsAdjustingScrollBarPositionNeeded(info)) {
        SetScrollBarVisible(scrollBar, false);
        return;
    }
    scrollBar->SetEnabled(GetScrollBarEnabled(scrollBar, info));
    const TRect r = GetScrollBarBounds(info.rcScrollBar);
    scrollBar->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetScrollBarVisible(scrollBar, r.Width() > 0 && r.Height() > 0);
}

void TcxContainer::SetScrollBarsParameters(bool skipPlacement)
{
    if (!innerControl_ || !NeedsScrollBars() || IsDestroying() || !UsecxScrollBars() || scrollBarsUpdating_)
        return;
    if (!HScrollBar() || !VScrollBar())
        return;
    FlagScope updating(scrollBarsUpdating_, true);
    for (TcxControlScrollBar* bar : {HScrollBar(), VScrollBar()}) {
        if (!skipPlacement)
            AdjustScrollBarPosition(bar);
        if (!bar->Visible())
            continue;
        TcxScrollInfo si;
        if (!innerControl_->HandleAllocated() || !cxGetScrollInfo(innerControl_->Handle(), bar->Kind(), si))
            continue;
        int page = int(si.nPage);
        if (page > si.nMax)
            page = si.nMax;
        bar->SetScrollParams(si.nMin, si.nMax, si.nPos, page, true);
    }
    TcxContainerSizeGripData grip;
    grip.Visible = HScrollBar()->Visible() && VScrollBar()->Visible() && innerControl_->HandleAllocated() &&
                   dynamic_cast<IcxContainerInnerControl*>(innerControl_) != nullptr;
    if (grip.Visible)
        grip.Bounds = GetSizeGripRect(this);
    if (grip.Visible && (!sizeGripData_.Visible || !(grip.Bounds == sizeGripData_.Bounds)))
        cxFillSizeGrip(this, grip.Bounds);
    sizeGripData_ = grip;
}

// ---- mouse input of inner controls ----

namespace {
// The container's own handlers are protected; an inner control stands in for the system.
struct InnerInputAccess : TcxContainer {
    using TcxContainer::Click;
    using TcxContainer::DblClick;
    using TcxContainer::MouseDown;
    using TcxContainer::MouseMove;
    using TcxContainer::MouseUp;
};
} // namespace

void ForwardInnerMouseDown(TcxContainer* container, TControl* inner, TMouseButton button, TShiftState shift, int x, int y)
{
    if (!container)
        return;
    container->InnerControlMouseDown = true;
    const auto alive = container->AliveToken();
    struct Unmark {
        TcxContainer* c;
        const std::weak_ptr<bool>& alive;
        ~Unmark()
        {
            if (!alive.expired())
                c->InnerControlMouseDown = false;
        }
    } unmark{container, alive};
    (container->*(&InnerInputAccess::MouseDown))(button, shift, x + inner->Left(), y + inner->Top());
}

void ForwardInnerMouseMove(TcxContainer* container, TControl* inner, TShiftState shift, int x, int y)
{
    if (container)
        (container->*(&InnerInputAccess::MouseMove))(shift, x + inner->Left(), y + inner->Top());
}

void ForwardInnerMouseUp(TcxContainer* container, TControl* inner, TMouseButton button, TShiftState shift, int x, int y)
{
    if (container)
        (container->*(&InnerInputAccess::MouseUp))(button, shift, x + inner->Left(), y + inner->Top());
}

void ForwardInnerClick(TcxContainer* container)
{
    if (container)
        (container->*(&InnerInputAccess::Click))();
}

void ForwardInnerDblClick(TcxContainer* container)
{
    if (container)
        (container->*(&InnerInputAccess::DblClick))();
}

} // namespace cx
