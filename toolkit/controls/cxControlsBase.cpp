// TcxControl: focus rules, mouse capture objects, keys, context menu, painting and invalidation.
#include "toolkit/controls/cxControls.h"

#include "platform/gdi/GdiConsts.h"
#include "platform/vcl/Desktop.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Input.h"
#include "toolkit/core/cxGraphicsShared.h"

#include <algorithm>
#include <utility>

namespace cx {

namespace {
// A link that tells whether the control survived a call out to user code.
class TcxLinkGuard {
public:
    explicit TcxLinkGuard(TObject* o) : link_(cxAddObjectLink(o)) {}
    ~TcxLinkGuard() { cxRemoveObjectLink(link_); }
    bool Alive() const { return link_->Target != nullptr; }

private:
    TcxObjectLink* link_;
};
} // namespace

// ---- child components ----

TcxControlChildComponent::TcxControlChildComponent(TComponent* owner) : TcxComponent(owner) { Initialize(); }

TcxControlChildComponent::TcxControlChildComponent(TcxControl* control, bool assignOwner)
    : TcxControlChildComponent(assignOwner && control ? control->Owner() : nullptr)
{
    SetControl(control);
}

void TcxControlChildComponent::BeforeDestruction()
{
    if (control_)
        control_->RemoveChildComponent(this);
    TcxComponent::BeforeDestruction();
}

TComponent* TcxControlChildComponent::GetParentComponent() { return control_; }

void TcxControlChildComponent::SetParentComponent(TComponent* value)
{
    TcxComponent::SetParentComponent(value);
    if (auto* c = dynamic_cast<TcxControl*>(value))
        c->AddChildComponent(this);
}

// ---- the control ----

TcxControl::TcxControl(TComponent* owner) : TCustomControl(owner)
{
    canvas_ = std::make_unique<TcxCanvas>(TCustomControl::Canvas());
    defaultCursor_ = Cursor();
    lookAndFeel_ = std::make_unique<TcxLookAndFeel>(this);
    lookAndFeel_->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxControl::LookAndFeelChangeHandler);
    scrollBars_ = ssBoth;
    CreateScrollBars();
    TabStop = MayFocus();
    dxResourceStringsRepository()->AddListener(this);
}

TcxControl::~TcxControl() = default;

void TcxControl::BeforeDestruction()
{
    dxResourceStringsRepository()->RemoveListener(this);
    // Destroying first, so that the children left to the parent are not freed twice.
    TCustomControl::BeforeDestruction();
    DestroyScrollBars();
    fontListeners_.clear();
    if (TcxDragAndDropObject* o = std::exchange(dragAndDropObject_, nullptr))
        o->Free();
    if (TDragImageList* images = std::exchange(dragImages_, nullptr))
        images->Free();
    screenCanvas_.reset();
    cxClearObjectLinks(this);
}

TcxCanvas* TcxControl::GetActiveCanvas()
{
    if (HandleAllocated()) {
        screenCanvas_.reset();
        return canvas_.get();
    }
    if (!screenCanvas_)
        screenCanvas_ = std::make_unique<TcxScreenCanvas>();
    return screenCanvas_.get();
}

void TcxControl::LookAndFeelChangeHandler(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues)
{
    if (IsDestroying() || (Application && Application->ComponentState().Contains(csDestroying)))
        return;
    LookAndFeelChanged(sender, changedValues);
}

// Another painter may have another border size, which moves the client area and the bars.
void TcxControl::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues)
{
    if (borderStyle_ != cxcbsNone)
        BoundsChanged();
    Invalidate();
}

void TcxControl::SetBorderStyle(TcxControlBorderStyle value)
{
    if (borderStyle_ != value) {
        borderStyle_ = value;
        BoundsChanged();
    }
}

void TcxControl::SetScrollBars(TScrollStyle value)
{
    if (scrollBars_ != value) {
        scrollBars_ = value;
        BoundsChanged();
    }
}

void TcxControl::SetParentBackground(bool value)
{
    parentBackground_ = value;
    Invalidate();
}

void TcxControl::SetPopupMenu(TComponent* value) { cxSetPopupMenu(this, popupMenu_, value); }

void TcxControl::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
}

TPopupMenu* TcxControl::GetPopupMenu() { return dynamic_cast<TPopupMenu*>(popupMenu_); }

void TcxControl::SetMouseCaptureObject(TObject* value)
{
    if (mouseCaptureObject_ == value)
        return;
    if (auto* o = dynamic_cast<IcxMouseCaptureObject*>(mouseCaptureObject_))
        o->CancelMouseCapture();
    const bool hadCapture = MouseCapture();
    mouseCaptureObject_ = value;
    SetMouseCapture(value != nullptr);
    if (hadCapture && !MouseCapture() && dragAndDropState_ == ddsStarting && HandleAllocated())
        Perform(WM_CANCELMODE);
}

void TcxControl::SetDragAndDropState(TcxDragAndDropState value)
{
    if (dragAndDropState_ == value)
        return;
    dragAndDropState_ = value;
    if (value == ddsNone && !finishingDragAndDrop_)
        DoCancelMode();
}

void TcxControl::FinishDragAndDrop(bool accepted)
{
    if (finishingDragAndDrop_)
        return;
    finishingDragAndDrop_ = true;
    // The object lives until the drag is over; the next drag makes a new one.
    auto freeObject = [this] {
        if (TcxDragAndDropObject* o = std::exchange(dragAndDropObject_, nullptr))
            o->Free();
    };
    try {
        if (dragAndDropState_ == ddsInProcess)
            EndDragAndDrop(accepted);
        dragAndDropState_ = ddsNone;
    } catch (...) {
        finishingDragAndDrop_ = false;
        dragAndDropState_ = ddsNone;
        freeObject();
        throw;
    }
    finishingDragAndDrop_ = false;
    freeObject();
}

TcxDragAndDropObject* TcxControl::GetDragAndDropObject()
{
    if (!dragAndDropObject_)
        dragAndDropObject_ = GetDragAndDropObjectClass().Create(this);
    return dragAndDropObject_;
}

void TcxControl::BeginDragAndDrop()
{
    GetDragAndDropObject()->DoBeginDragAndDrop();
    SetMouseCapture(true);
    dragAndDropPrevCursor_ = Screen->Cursor();
    SetDragAndDropState(ddsInProcess);
}

void TcxControl::DragAndDrop(const TPoint& p, bool& accepted) { GetDragAndDropObject()->DoDragAndDrop(p, accepted); }

void TcxControl::EndDragAndDrop(bool accepted)
{
    dragAndDropState_ = ddsNone;
    Screen->SetCursor(dragAndDropPrevCursor_);
    SetMouseCapture(false);
    SetMouseCaptureObject(nullptr);
    GetDragAndDropObject()->DoEndDragAndDrop(accepted);
}

// ---- virtual operations ----

bool TcxControl::DoShowPopupMenu(TComponent* menu, int x, int y) { return ShowPopupMenu(this, menu, x, y); }

void TcxControl::Modified()
{
    if (!IsDesigning())
        return;
    for (TControl* c = this; c; c = c->Parent()) {
        const auto st = c->ComponentState();
        if (st.Contains(csLoading) || st.Contains(csWriting) || st.Contains(csDestroying))
            return;
    }
    SetDesignerModified(this);
}

void TcxControl::AfterMouseDown(TMouseButton button, int x, int y)
{
    if (DragMode == dmAutomatic && button == mbLeft && MouseCapture() && !IsDesigning() && CanDrag(x, y) &&
        DragDetect(Handle()) == ddDrag)
        BeginPlatformDrag();
    if (button == mbMiddle)
        DoScrolling();
}

void TcxControl::BringInternalControlsToFront()
{
    // The platform's BringToFront takes the child out of its parent and loses the parent on the
    // way (a null dereference); raising the children's windows is what is wanted here.
    for (TWinControl* c : std::initializer_list<TWinControl*>{hScrollBar_, vScrollBar_, sizeGrip_})
        if (c && c->HandleAllocated())
            vcl::input::RaisePeer(c);
}

void TcxControl::CancelMouseOperations()
{
    FinishDragAndDrop(true);
    SetMouseCaptureObject(nullptr);
}

int TcxControl::GetBorderSize() const { return borderStyle_ == cxcbsNone ? 0 : GetLookAndFeelPainter()->BorderSize(); }

TRect TcxControl::GetBounds() const
{
    return HandleAllocated() ? GetClientRect() : TRect{0, 0, Width(), Height()};
}

TRect TcxControl::GetClientBounds() const
{
    TRect r = GetBounds();
    const int b = GetBorderSize();
    r = {r.Left + b, r.Top + b, r.Right - b, r.Bottom - b};
    if (HScrollBarVisible())
        r.Bottom -= hScrollBar_->Height();
    if (VScrollBarVisible())
        r.Right -= vScrollBar_->Width();
    return r;
}

TcxMouseWheelScrollingKind TcxControl::GetMouseWheelScrollingKind()
{
    return VScrollBarVisible() ? mwskVertical : mwskNone;
}

void TcxControl::InitControl() { InitScrollBars(); }

bool TcxControl::CanFocusOnClick()
{
    return !IsDesigning() && FocusOnClick && MayFocus() && CanFocus();
}

bool TcxControl::IsInternalControl(TControl* control) const
{
    return control && (control == hScrollBar_ || control == vScrollBar_ || control == sizeGrip_);
}

bool TcxControl::CanFocusEx() const
{
    if (!CanFocus())
        return false;
    TCustomForm* form = GetParentForm();
    return !form || (form->CanFocus() && form->Enabled() && form->Visible());
}

void TcxControl::BoundsChanged()
{
    UpdateScrollBars();
    if (NeedRedrawOnResize())
        Invalidate();
}

void TcxControl::FontChanged()
{
    const auto listeners = fontListeners_;
    for (IcxFontListener* l : listeners)
        l->DefaultFontChanged(this, Font());
    Invalidate();
}

void TcxControl::AddFontListener(IcxFontListener* listener) { fontListeners_.push_back(listener); }

void TcxControl::RemoveFontListener(IcxFontListener* listener)
{
    fontListeners_.erase(std::remove(fontListeners_.begin(), fontListeners_.end(), listener), fontListeners_.end());
}

// ---- invalidation ----

void TcxControl::InvalidateControl(TWinControl* control, bool needInvalidateSelf, bool needInvalidateChildren)
{
    if (!control || !control->HandleAllocated())
        return;
    if (control->Parent() && control->Parent()->HandleAllocated())
        vcl::SendMessage(control->Parent()->Handle(), CM_INVALIDATE, 1, 0);
    if (!needInvalidateSelf)
        return;
    control->InvalidateRect(control->GetClientRect(), !control->ControlStyle.Contains(csOpaque));
    if (needInvalidateChildren)
        for (int i = 0; i < control->ControlCount(); ++i) {
            auto* c = dynamic_cast<TWinControl*>(control->Controls(i));
            if (c && !c->ControlStyle.Contains(csOpaque))
                c->Invalidate();
        }
}

void TcxControl::InvalidateRect(const TRect& r, bool eraseBackground)
{
    if (HandleAllocated())
        TCustomControl::InvalidateRect(r, eraseBackground);
}

void TcxControl::InvalidateWithChildren()
{
    if (!HandleAllocated())
        return;
    TCustomControl::InvalidateRect(GetClientRect(), false);
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TcxControl::UpdateWithChildren()
{
    if (!HandleAllocated())
        return;
    Update();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Update();
}

void TcxControl::PostMouseMove() { PostMouseMove(ScreenToClient(vcl::System().GetCursorPos())); }

void TcxControl::PostMouseMove(const TPoint& p)
{
    if (HandleAllocated())
        vcl::PostMessage(Handle(), WM_MOUSEMOVE, 0, MakeLParam(p.X, p.Y));
}

// ---- window and messages ----

void TcxControl::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TcxControl::CreateWnd()
{
    creatingWindow_ = true;
    try {
        TCustomControl::CreateWnd();
        CheckNeedsScrollBars();
        InitControl();
    } catch (...) {
        creatingWindow_ = false;
        throw;
    }
    creatingWindow_ = false;
}

void TcxControl::DestroyWindowHandle()
{
    TCustomControl::DestroyWindowHandle();
    ControlState.Exclude(csClicked);
}

void TcxControl::Resize()
{
    TCustomControl::Resize();
    BoundsChanged();
}

void TcxControl::WndProc(TMessage& msg)
{
    TcxLinkGuard link(this);
    // The press of an automatic drag (or a design-time hit) is ours: the platform would start its
    // drag at once; we start it after DragDetect (AfterMouseDown), so the press is dispatched here.
    const bool leftPress = msg.Msg == WM_LBUTTONDOWN || msg.Msg == WM_LBUTTONDBLCLK;
    const TPoint at{XFromLParam(msg.LParam), YFromLParam(msg.LParam)};
    if (leftPress && !Dragging() &&
        (IsDesigning() ? GetDesignHitTest(at.X, at.Y, TShiftState{ssLeft}) : DragMode == dmAutomatic)) {
        if (!IsControlMouseMsg(msg)) {
            ControlState.Include(csLButtonDown);
            Dispatch(msg);
            if (link.Alive())
                ControlState.Exclude(csLButtonDown);
        }
    } else {
        TCustomControl::WndProc(msg);
    }
    if (!link.Alive() || IsDestroying())
        return;
    switch (msg.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: FocusChanged(); break;
    case WM_PAINT:
        if (parentBackground_ != lastParentBackground_) {
            lastParentBackground_ = parentBackground_;
            ParentBackgroundChanged();
        }
        break;
    default: break;
    }
    if (!link.Alive() || IsDestroying())
        return;
    const TPoint p{XFromLParam(msg.LParam), YFromLParam(msg.LParam)};
    switch (msg.Msg) {
    case WM_LBUTTONDOWN: AfterMouseDown(mbLeft, p.X, p.Y); break;
    case WM_RBUTTONDOWN: AfterMouseDown(mbRight, p.X, p.Y); break;
    case WM_MBUTTONDOWN: AfterMouseDown(mbMiddle, p.X, p.Y); break;
    default: break;
    }
}

bool TcxControl::IsMenuKey(TMessage& keyMessage)
{
    if (IsDesigning())
        return false;
    for (TControl* c = this; c; c = c->Parent()) {
        auto* cx = dynamic_cast<TcxControl*>(c);
        if (cx && cx->popupMenu_ && IsPopupMenuShortCut(cx->popupMenu_, keyMessage))
            return true;
    }
    return false;
}

void TcxControl::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_CANCELMODE:
        TCustomControl::Dispatch(msg);
        FinishDragAndDrop(false);
        DoCancelMode();
        return;
    case WM_CONTEXTMENU: return HandleContextMenu(msg);
    case WM_ERASEBKGND:
        if (HasBackground())
            TCustomControl::Dispatch(msg);
        else
            msg.Result = 0;
        return;
    case WM_GETDLGCODE: {
        LRESULT r = 0;
        if (keys_.Contains(kAll))
            r += DLGC_WANTALLKEYS;
        if (keys_.Contains(kArrows))
            r += DLGC_WANTARROWS;
        if (keys_.Contains(kChars))
            r += DLGC_WANTCHARS;
        if (keys_.Contains(kTab) && !IsCtrlPressed())
            r += DLGC_WANTTAB;
        msg.Result = r;
        return;
    }
    case WM_NCCALCSIZE:
        TCustomControl::Dispatch(msg);
        if (HandleAllocated())
            vcl::PostMessage(Handle(), CM_NCSIZECHANGED);
        return;
    case CM_NCSIZECHANGED: HandleNcSizeChanged(); return;
    case WM_SETCURSOR:
        // At design time the parts that take the mouse show the control's own cursor.
        if (IsDesigning() && dragAndDropState_ == ddsNone) {
            const TPoint p = ScreenToClient(vcl::LastMousePoint());
            if (GetDesignHitTest(p.X, p.Y, TShiftState{ssLeft})) {
                ::SetCursor(Screen->Cursors(GetCursor(p.X, p.Y)));
                msg.Result = 1;
                return;
            }
        }
        break;
    case CM_COLORCHANGED:
        ColorChanged();
        TCustomControl::Dispatch(msg);
        return;
    case CM_CURSORCHANGED:
        CursorChanged();
        TCustomControl::Dispatch(msg);
        return;
    case CM_FONTCHANGED:
        TCustomControl::Dispatch(msg);
        FontChanged();
        return;
    case CM_INVALIDATE:
        if (HandleAllocated() && !IsDestroying())
            InvalidateControl(this, msg.WParam == 0, NeedRedrawOnResize());
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        if (Parent())
            Parent()->Perform(msg.Msg, 0, msg.LParam ? msg.LParam : reinterpret_cast<LPARAM>(static_cast<TControl*>(this)));
        TControl* c = msg.LParam ? reinterpret_cast<TControl*>(msg.LParam) : this;
        if (msg.Msg == CM_MOUSEENTER)
            MouseEnter(c);
        else
            MouseLeave(c);
        return;
    }
    case CM_TEXTCHANGED:
        TCustomControl::Dispatch(msg);
        TextChanged();
        return;
    case CM_VISIBLECHANGED:
        TCustomControl::Dispatch(msg);
        VisibleChanged();
        return;
    case CN_KEYDOWN:
        if (IsMenuKey(msg)) {
            msg.Result = 1;
            return;
        }
        if (dragAndDropState_ != ddsNone) {
            FinishDragAndDrop(false);
            msg.Result = 1;
            return;
        }
        break;
    case CN_SYSKEYDOWN:
        if (IsMenuKey(msg)) {
            msg.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TCustomControl::Dispatch(msg);
}

// ---- context menu ----

void TcxControl::HandleContextMenu(TMessage& m)
{
    if (m.Result != 0)
        return;
    if (IsDesigning())
        return TCustomControl::Dispatch(m);
    TPoint p{XFromLParam(m.LParam), YFromLParam(m.LParam)};
    if (!(p.X == -1 && p.Y == -1)) {
        p = ScreenToClient(p);
        // Outside the client area (a scroll bar, the border) the system's handling applies.
        if (!cxRectPtIn(GetClientRect(), p))
            return DefaultHandler(m);
    }
    bool handled = false;
    TcxLinkGuard link(this);
    DoContextPopup(p, handled);
    if (!link.Alive())
        return;
    m.Result = handled ? 1 : 0;
    if (!handled)
        TCustomControl::Dispatch(m);
}

void TcxControl::DoContextPopup(TPoint mousePos, bool& handled)
{
    vcl::FireEvent(OnContextPopup, this, mousePos, handled);
    if (handled)
        return;
    if (mousePos.X == -1 && mousePos.Y == -1)
        mousePos = {0, 0};
    const TPoint s = ClientToScreen(mousePos);
    if (dxISpellChecker)
        handled = dxISpellChecker->QueryPopup(popupMenu_, s);
    if (!handled)
        handled = DoShowPopupMenu(popupMenu_, s.X, s.Y);
}

// ---- mouse ----

void TcxControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    mouseDownPos_ = {x, y};
    TcxLinkGuard link(this);
    auto finish = [&] {
        if (link.Alive() && MouseCapture())
            mouseButtonPressed_ = true;
    };
    if (CanFocusOnClick(x, y) && !shift.Contains(ssDouble)) {
        const TRect before = BoundsRect();
        SetFocus();
        if (!link.Alive())
            return;
        TCustomForm* form = GetParentForm();
        if (form && form->ActiveControl() == this && !GetIsFocused())
            ::SetFocus(Handle());
        if (!GetIsFocused() && !AllowDragAndDropWithoutFocus()) {
            ::ReleaseCapture();
            return;
        }
        if (UpdateMousePositionIfControlMoved()) {
            x += before.Left - Left();
            y += before.Top - Top();
        }
    }
    if (button == mbLeft && !shift.Contains(ssDouble) && StartDragAndDrop({x, y})) {
        if (DragAndDropImmediateStart())
            BeginDragAndDrop();
        else
            SetDragAndDropState(ddsStarting);
    } else {
        FinishDragAndDrop(false);
    }
    if (!link.Alive())
        return;
    BeforeMouseDown(button, shift, x, y);
    if (!link.Alive())
        return;
    TCustomControl::MouseDown(button, shift, x, y);
    finish();
}

void TcxControl::MouseMove(TShiftState shift, int x, int y)
{
    const TCursor keep = defaultCursor_;
    TCustomControl::SetCursor(GetCursor(x, y));
    defaultCursor_ = keep;
    TCustomControl::MouseMove(shift, x, y);
    if (dragAndDropState_ == ddsStarting && !IsMouseInPressedArea(x, y))
        BeginDragAndDrop();
    if (dragAndDropState_ == ddsInProcess) {
        bool accepted = false;
        DragAndDrop({x, y}, accepted);
    }
}

void TcxControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    mouseButtonPressed_ = false;
    CancelMouseOperations();
    TCustomControl::MouseUp(button, shift, x, y);
}

// ---- painting ----

void TcxControl::Paint()
{
    if (borderStyle_ == cxcbsDefault) {
        GetLookAndFeelPainter()->DrawBorder(canvas_.get(), GetBounds());
        canvas_->IntersectClipRect(GetClientBounds());
    }
    TCustomControl::Paint();
    UpdateInternalControlsState();
}

} // namespace cx
