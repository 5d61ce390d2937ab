// TcxCustomPopupWindow and the popup hooks: opening, the modal loop, closing, the cascade of
// closing on deactivation, and the hooks that close open popups on outside activity.
#include "toolkit/controls/cxContainerPopup.h"

#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/SystemFacade.h"

#include <cassert>

namespace cx {

namespace {
struct PopupUnit {
    bool initialized = false;
    bool transition = false;
    HHOOK callWndProcHook = nullptr;
    HHOOK getMessageHook = nullptr;
    HHOOK mouseHook = nullptr;
};
PopupUnit& P()
{
    static PopupUnit u;
    return u;
}

bool IsBeingDestroyed(TComponent* c) { return !c || c->ComponentState().Contains(csDestroying); }
} // namespace

int cxPopupWindowCount()
{
    int n = 0;
    for (int i = 0; i < VisiblePopupWindowCount(); ++i)
        n += dynamic_cast<TcxCustomPopupWindow*>(VisiblePopupWindow(i)) != nullptr;
    return n;
}

TcxCustomPopupWindow* cxPopupWindow(int index)
{
    for (int i = 0; i < VisiblePopupWindowCount(); ++i)
        if (auto* p = dynamic_cast<TcxCustomPopupWindow*>(VisiblePopupWindow(i)); p && index-- == 0)
            return p;
    return nullptr;
}

bool TcxCustomPopupWindow::InPopupTransition() { return P().transition; }

// ---- the hooks ----

struct PopupHooks {
    static TWinControl* Owner(TcxCustomPopupWindow* p) { return p->ownerAlive_.expired() ? nullptr : p->ownerControl_; }
    static TCustomForm* OwnerForm(TcxCustomPopupWindow* p)
    {
        TWinControl* o = Owner(p);
        return o ? o->GetParentForm() : nullptr;
    }
    static bool HasWindow(TWinControl* c, HWND wnd) { return c && c->HandleAllocated() && c->Handle() == wnd; }

    static LRESULT CallWndProc(int code, WPARAM, LPARAM lParam)
    {
        if (code != HC_ACTION)
            return 0;
        const CWPSTRUCT& m = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if ((m.message == CM_ACTIVATE || m.message == CM_DEACTIVATE) && IsCMActivateMessagesLocked())
            return 1;
        if (cxPopupWindowCount() == 0)
            return 0;
        switch (m.message) {
        case WM_DESTROY: OnDestroy(m.hwnd); break;
        case WM_CLOSE: OnClose(m.hwnd); break;
        case WM_SHOWWINDOW:
            if (m.wParam == 0)
                OnOwnerHidden(m.hwnd);
            break;
        case WM_ACTIVATEAPP:
            if (m.wParam == 0)
                OnApplicationDeactivated();
            break;
        case WM_WINDOWPOSCHANGED: OnWindowPosChanged(m.hwnd); break;
        case WM_NCACTIVATE:
            if (m.wParam == 0 && KeepsActiveCaption(m.hwnd))
                return 1;
            break;
        default: break;
        }
        return 0;
    }

    static void OnDestroy(HWND wnd)
    {
        for (int i = 0; i < cxPopupWindowCount(); ++i) {
            TcxCustomPopupWindow* p = cxPopupWindow(i);
            if (!IsBeingDestroyed(p) && HasWindow(p, wnd)) {
                // The window dies: it leaves the list of open popups now.
                p->CloseUp();
                return;
            }
        }
    }

    static void OnClose(HWND wnd)
    {
        for (int i = 0; i < cxPopupWindowCount(); ++i) {
            TcxCustomPopupWindow* p = cxPopupWindow(i);
            if (IsBeingDestroyed(p))
                continue;
            TWinControl* owner = Owner(p);
            if (HasWindow(p, wnd)) {
                if (p->CloseQuery())
                    p->CloseUp();
                // Closing a focus-taking drop-down (Alt+F4) closes the form it belongs to.
                if (!p->IsVisible() && p->CaptureFocus() && owner && !IsBeingDestroyed(owner) && owner->HandleAllocated())
                    if (HWND top = FindFirstNonChildParentWindow(owner->Handle()))
                        vcl::SendMessage(top, WM_CLOSE);
                return;
            }
            if (!p->CaptureFocus() && owner && !IsBeingDestroyed(owner)) {
                TCustomForm* form = owner->GetParentForm();
                if (!form || !form->HandleAllocated() || form->Handle() == wnd) {
                    p->CloseUp();
                    return;
                }
            }
        }
    }

    static void OnOwnerHidden(HWND wnd)
    {
        for (int i = cxPopupWindowCount() - 1; i >= 0; --i) {
            TcxCustomPopupWindow* p = cxPopupWindow(i);
            TWinControl* owner = Owner(p);
            if (IsBeingDestroyed(p) || !owner || IsBeingDestroyed(owner) || !HasWindow(owner, wnd))
                continue;
            // This one and every popup opened after it, from the top down.
            for (int k = cxPopupWindowCount() - 1; k >= i; --k)
                if (TcxCustomPopupWindow* q = cxPopupWindow(k))
                    q->CloseUp();
            return;
        }
    }

    static void OnApplicationDeactivated()
    {
        for (int i = 0; i < cxPopupWindowCount(); ++i) {
            TcxCustomPopupWindow* p = cxPopupWindow(i);
            TCustomForm* form = OwnerForm(p);
            if (form && form->HandleAllocated())
                vcl::PostMessage(form->Handle(), WM_NCACTIVATE, 0, 0);
            if ((!p->CaptureFocus() || !p->Active()) && p->Enabled()) {
                TWinControl* owner = Owner(p);
                const auto ownerAlive = owner ? owner->AliveToken() : std::weak_ptr<bool>();
                p->CloseUp();
                if (auto* c = dynamic_cast<TcxContainer*>(owner); c && !ownerAlive.expired() && !IsBeingDestroyed(c))
                    c->FocusChanged();
                i = -1; // the list changed: from the first one again
            }
        }
    }

    static void OnWindowPosChanged(HWND wnd)
    {
        for (int i = 0; i < cxPopupWindowCount(); ++i) {
            TcxCustomPopupWindow* p = cxPopupWindow(i);
            TWinControl* owner = Owner(p);
            if (IsBeingDestroyed(p) || !p->HandleAllocated() || !owner || IsBeingDestroyed(owner))
                continue;
            // The owner's form moved or was sized: the popup would hang in the air.
            TCustomForm* form = OwnerForm(p);
            if (form && form != static_cast<TWinControl*>(p) && !dynamic_cast<TcxCustomPopupWindow*>(form) &&
                HasWindow(form, wnd)) {
                p->CloseUp();
                i = -1;
                continue;
            }
            if (!HasWindow(owner, wnd))
                continue;
            if (!InternalIsWindowVisible(owner) || !owner->Showing()) {
                p->CloseUp();
                i = -1;
            }
        }
    }

    // A form keeps its active caption while its drop-down is open.
    static bool KeepsActiveCaption(HWND wnd)
    {
        if (P().transition)
            return true;
        for (int i = 0; i < cxPopupWindowCount(); ++i) {
            TcxCustomPopupWindow* p = cxPopupWindow(i);
            TCustomForm* form = OwnerForm(p);
            if (!IsBeingDestroyed(p) && form && HasWindow(form, wnd))
                return true;
        }
        return false;
    }

    static LRESULT GetMessage(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code != HC_ACTION || wParam != PM_REMOVE || cxPopupWindowCount() == 0)
            return 0;
        MSG& m = *reinterpret_cast<MSG*>(lParam);
        if (m.message != WM_SYSKEYDOWN)
            return 0;
        TcxCustomPopupWindow* top = cxPopupWindow(cxPopupWindowCount() - 1);
        if (!(top->CaptureFocus() && top->ModalMode) && !top->IsSysKeyAccepted(std::uint16_t(m.wParam)))
            m.message = WM_NULL;
        return 0;
    }

    static bool IsPress(UINT msg)
    {
        switch (msg) {
        case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return true;
        default: return false;
        }
    }

    static LRESULT Mouse(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code != HC_ACTION || !IsPress(UINT(wParam)) || cxPopupWindowCount() == 0)
            return 0;
        const MOUSEHOOKSTRUCT& mh = *reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        return TcxCustomPopupWindow::HandleOutsidePress(UINT(wParam), mh.hwnd, {mh.ptX, mh.ptY}) ? 0 : 1;
    }

    static bool Contains(TWinControl* popup, HWND wnd)
    {
        return wnd && (HasWindow(popup, wnd) || IsChildWindow(popup, wnd));
    }
};

bool TcxCustomPopupWindow::HandleOutsidePress(UINT msg, HWND wnd, const TPoint& screenPos)
{
    bool pass = true;
    const TShiftState shift = InternalGetShiftState();
    for (int i = 0; i < cxPopupWindowCount(); ++i) {
        TcxCustomPopupWindow* p = cxPopupWindow(i);
        if ((p->CaptureFocus() && !p->Active()) || PopupHooks::Contains(p, wnd))
            continue;
        TWinControl* owner = PopupHooks::Owner(p);
        TCustomForm* form = PopupHooks::OwnerForm(p);
        auto* formPopup = dynamic_cast<TcxCustomPopupWindow*>(form);
        if (!(owner && CheckParentsNativeHandle(owner, wnd)) && !(formPopup && !formPopup->IsVisible()))
            continue;
        // A press on the owner itself (its drop-down button, say) may be swallowed once closed.
        const bool onOwner = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) && owner &&
                             (PopupHooks::HasWindow(owner, wnd) || IsChildWindow(owner, wnd)) &&
                             cxRectPtIn(p->GetOwnerScreenBounds(), screenPos);
        if (onOwner && p->NeedIgnoreMouseMessageAfterCloseUp(wnd, msg, shift, screenPos))
            p->justClosed_ = true;
        const auto ownerAlive = owner ? owner->AliveToken() : std::weak_ptr<bool>();
        {
            FlagScope transition(P().transition, true);
            p->LockDeactivate(true);
            const auto popupAlive = p->AliveToken();
            try {
                if (!onOwner)
                    pass = pass && !p->NeedIgnoreMouseMessageAfterCloseUp(wnd, msg, shift, screenPos);
                p->CloseUp();
            } catch (...) {
                if (!popupAlive.expired())
                    p->LockDeactivate(false);
                throw;
            }
            if (!popupAlive.expired())
                p->LockDeactivate(false);
        }
        if (onOwner && (ownerAlive.expired() || IsBeingDestroyed(owner) || !owner->Showing()))
            pass = false;
        i = -1; // from the first one again
    }
    return pass;
}

void cxContainerPopupInitialize()
{
    auto& u = P();
    if (u.initialized)
        return;
    u.initialized = true;
    SetPopupOwnerQuery([](TWinControl* popup) -> TWinControl* {
        auto* p = dynamic_cast<TcxCustomPopupWindow*>(popup);
        return p ? PopupHooks::Owner(p) : nullptr;
    });
    SetPopupHooks(
        [] {
            SetHook(P().callWndProcHook, WH_CALLWNDPROC, &PopupHooks::CallWndProc);
            SetHook(P().getMessageHook, WH_GETMESSAGE, &PopupHooks::GetMessage);
            SetHook(P().mouseHook, WH_MOUSE, &PopupHooks::Mouse);
        },
        [] {
            ReleaseHook(P().callWndProcHook);
            ReleaseHook(P().getMessageHook);
            ReleaseHook(P().mouseHook);
        });
}

void cxContainerPopupFinalize()
{
    auto& u = P();
    if (!u.initialized)
        return;
    u.initialized = false;
    SetPopupOwnerQuery(nullptr);
    ReleaseHook(u.callWndProcHook);
    ReleaseHook(u.getMessageHook);
    ReleaseHook(u.mouseHook);
    SetPopupHooks({}, {});
}

// ---- TcxCustomPopupWindow ----

TcxCustomPopupWindow::TcxCustomPopupWindow(TWinControl* ownerControl) : TcxPopupWindow(ownerControl)
{
    cxContainerPopupInitialize();
    FormStyle = fsNormal;
    ownerControl_ = ownerControl;
    if (ownerControl)
        ownerAlive_ = ownerControl->AliveToken();
    KeyPreview = true;
}

TcxCustomPopupWindow::~TcxCustomPopupWindow() = default;

void TcxCustomPopupWindow::BeforeDestruction()
{
    cxClearObjectLinks(this);
    // Still open: it leaves the list without the closing events.
    for (int i = 0; i < VisiblePopupWindowCount(); ++i)
        if (VisiblePopupWindow(i) == this) {
            RemoveVisiblePopupWindow(this);
            break;
        }
    TcxPopupWindow::BeforeDestruction();
    if (viewInfo_)
        viewInfo_->Free();
    viewInfo_ = nullptr;
    if (style_)
        style_->Free();
    style_ = nullptr;
}

TcxContainerStyle* TcxCustomPopupWindow::Style()
{
    if (!style_) {
        style_ = GetStyleClass().Create(this, false, nullptr, csNormal);
        style_->OnChanged = TNotifyEvent(this, &TcxCustomPopupWindow::PopupWindowStyleChanged);
    }
    return style_;
}

TcxContainerViewInfo* TcxCustomPopupWindow::ViewInfo()
{
    if (!viewInfo_)
        viewInfo_ = GetViewInfoClass().Create();
    return viewInfo_;
}

bool TcxCustomPopupWindow::IsVisible() const
{
    for (int i = 0; i < VisiblePopupWindowCount(); ++i)
        if (VisiblePopupWindow(i) == this)
            return true;
    return false;
}

bool TcxCustomPopupWindow::HasCapture() const
{
    return HandleAllocated() && GetCapture() == const_cast<TcxCustomPopupWindow*>(this)->Handle();
}

bool TcxCustomPopupWindow::IsOwnerControlVisible() const
{
    TWinControl* o = PopupHooks::Owner(const_cast<TcxCustomPopupWindow*>(this));
    return o && o->HandleAllocated() && o->Showing();
}

bool TcxCustomPopupWindow::GetJustClosed()
{
    const bool r = justClosed_;
    justClosed_ = false;
    return r;
}

void TcxCustomPopupWindow::ClosePopup()
{
    if (HandleAllocated())
        vcl::PostMessage(Handle(), CM_CLOSEPOPUPWINDOW);
}

bool TcxCustomPopupWindow::IsSysKeyAccepted(std::uint16_t key) const
{
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_F4;
}

TWinControl* TcxCustomPopupWindow::GetFirstFocusControl(TWinControl* control)
{
    if (!control)
        return this;
    if (control->CanFocus() && control->TabStop)
        return control;
    TWinControl* first = FindNextControl(nullptr, true, false, false);
    return first ? first : this;
}

void TcxCustomPopupWindow::CorrectBoundsWithDesktopWorkArea(TPoint& position)
{
    if (!AcceptsAnySize())
        return;
    const TRect a = GetDesktopWorkArea(position);
    const int askedHeight = Height();
    int w = Width(), h = Height();
    if (position.X < a.Left) {
        w -= a.Left - position.X;
        position.X = a.Left;
    }
    if (position.Y < a.Top) {
        h -= a.Top - position.Y;
        position.Y = a.Top;
    }
    SetHeight(std::min(h, a.Bottom - position.Y));
    SetWidth(std::min(w, a.Right - position.X));
    if (Height() != askedHeight && position.Y == a.Top)
        position.Y += askedHeight - Height();
}

void TcxCustomPopupWindow::CreateParams(TCreateParams& params)
{
    TcxPopupWindow::CreateParams(params);
    TWinControl* owner = PopupHooks::Owner(this);
    TCustomForm* form = owner ? owner->GetParentForm() : nullptr;
    params.ExStyle &= ~WS_EX_TOPMOST;
    if (captureFocus_) {
        // A real top-level window of the owner's form: it takes the activation and the focus.
        if (form && form != this)
            params.WndParent = form->Handle();
        params.Style = (params.Style & ~WS_CHILD) | WS_POPUP;
        if (isTopMost_ && (!form || (form->WindowExStyle() & WS_EX_TOPMOST)))
            params.ExStyle |= WS_EX_TOPMOST;
    } else {
        // Never activated: the editor keeps the focus while the window is open.
        params.Style = (params.Style & ~WS_CHILD) | WS_POPUP;
        params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
        if (TopMostComboBoxes)
            params.ExStyle |= WS_EX_TOPMOST;
    }
    params.Style |= WS_CLIPCHILDREN;
}

void TcxCustomPopupWindow::RecreateWindow()
{
    if (HandleAllocated())
        RecreateWnd();
}

void TcxCustomPopupWindow::ReopenAfterChange()
{
    // Closed before the window is made again: the old window's destruction would otherwise close
    // it through the hooks, and it would not come back.
    const bool wasOpen = IsVisible();
    TWinControl* focused = focusedAlive_.expired() ? nullptr : focusedControl_;
    if (wasOpen)
        CloseUp();
    RecreateWindow();
    if (wasOpen)
        Popup(focused);
}

void TcxCustomPopupWindow::SetCaptureFocus(bool value)
{
    if (captureFocus_ == value)
        return;
    captureFocus_ = value;
    ReopenAfterChange();
}

void TcxCustomPopupWindow::SetIsTopMost(bool value)
{
    if (isTopMost_ == value)
        return;
    isTopMost_ = value;
    ReopenAfterChange();
}

void TcxCustomPopupWindow::Popup(TWinControl* focusedControl)
{
    if (IsVisible() || !IsOwnerControlVisible())
        return;
    InitPopup();
    CalculateSize();
    TPoint p = CalculatePosition();
    CorrectBoundsWithDesktopWorkArea(p);
    const auto alive = AliveToken();
    {
        FlagScope transition(P().transition, true);
        AddVisiblePopupWindow(this);
        DoShowing();
        if (alive.expired())
            return;
        SetBounds(p.X, p.Y, Width(), Height());
        Show();
        focusedControl_ = captureFocus_ ? GetFirstFocusControl(focusedControl) : focusedControl;
        focusedAlive_ = focusedControl_ ? focusedControl_->AliveToken() : std::weak_ptr<bool>();
        if (focusedControl_ && focusedControl_ != this && focusedControl_->CanFocus())
            focusedControl_->SetFocus();
        else if (captureFocus_)
            ::SetFocus(Handle());
    }
    if (alive.expired())
        return;
    SetModalResult(mrNone);
    DoShowed();
    if (!alive.expired() && captureFocus_ && ModalMode)
        RunModalLoop();
}

void TcxCustomPopupWindow::RunModalLoop()
{
    TcxObjectLink* link = cxAddObjectLink(this);
    const auto alive = AliveToken();
    try {
        while (!alive.expired() && link->Target && Visible() && IsVisible() && !Application->Terminated()) {
            // Alt with Enter, Alt itself or Alt+Space would reach the system menu of the owner's form.
            MSG m{};
            if (vcl::PeekMessage(m, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE) &&
                (m.wParam == VK_RETURN || m.wParam == VK_MENU || m.wParam == VK_SPACE))
                vcl::PeekMessage(m, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
            if (ModalResult() != mrNone) {
                if (CloseQuery())
                    ModalCloseUp();
                else
                    SetModalResult(mrNone);
                continue;
            }
            Application->HandleMessage();
        }
    } catch (...) {
        cxRemoveObjectLink(link);
        throw;
    }
    cxRemoveObjectLink(link);
}

void TcxCustomPopupWindow::CloseUp()
{
    if (!IsVisible())
        return;
    const auto alive = AliveToken();
    LockCMActivateMessages(true);
    try {
        RemoveVisiblePopupWindow(this);
        DoClosing();
        if (!alive.expired()) {
            Hide();
            DoClosed();
        }
        if (!alive.expired()) {
            TControl* capture = GetCaptureControl();
            for (TControl* c = capture; c; c = c->Parent())
                if (c == this) {
                    SetCaptureControl(nullptr);
                    break;
                }
        }
    } catch (...) {
        LockCMActivateMessages(false);
        throw;
    }
    LockCMActivateMessages(false);
    if (cxPopupWindowCount() > 0)
        return;
    // The owner's form draws its caption inactive again when it is not the active one.
    TCustomForm* form = alive.expired() ? nullptr : PopupHooks::OwnerForm(this);
    if (form && form->HandleAllocated() && !IsMDIForm(form) && !form->Active())
        vcl::SendMessage(form->Handle(), WM_NCACTIVATE, 0, 0);
}

void TcxCustomPopupWindow::Deactivate()
{
    TForm::Deactivate();
    if (deactivateLockCount_ != 0)
        return;
    const auto alive = AliveToken();
    if (cxPopupWindowCount() > 0) {
        for (int i = cxPopupWindowCount() - 1; i >= 0; --i) {
            TcxCustomPopupWindow* p = cxPopupWindow(i);
            if (!p)
                continue;
            // The newly active window is one of the open popups: it and those below stay.
            if (p->Active())
                break;
            if (p->Enabled() && p->deactivateLockCount_ == 0)
                p->CloseUp();
        }
    }
    if (!alive.expired() && IsVisible())
        CloseUp();
}

void TcxCustomPopupWindow::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (IsVisible() && HasCapture() && key == VK_ESCAPE) {
        // A drag inside the window is cancelled; the window stays open.
        ReleaseCapture();
        key = 0;
        return;
    }
    TcxPopupWindow::KeyDown(key, shift);
}

void TcxCustomPopupWindow::VisibleChanged()
{
    TcxPopupWindow::VisibleChanged();
    TWinControl* owner = PopupHooks::Owner(this);
    if (!captureFocus_ || !owner || !HandleAllocated() || Visible())
        return;
    TCustomForm* form = owner->GetParentForm();
    // Hiding a window does not move the focus: one left on the popup's own controls (a calendar,
    // a calculator) would take the user's next keys into a hidden window.
    HWND focus = GetFocus();
    TWinControl* focused = focus ? FindControl(focus) : nullptr;
    const bool focusInPopup = focused && (focused == this || ContainsControl(focused));
    if (form && form->HandleAllocated() && (focus == form->Handle() || focusInPopup) && owner->CanFocus() &&
        !form->ComponentState().Contains(csDesigning))
        owner->SetFocus();
}

void TcxCustomPopupWindow::Paint()
{
    TcxContainerViewInfo* vi = ViewInfo();
    vi->Bounds = GetClientRect();
    vi->ClientRect = GetClientBounds();
    if (vi->BackgroundColor == clDefault)
        vi->BackgroundColor = Color();
    vi->Paint(PopupCanvas());
    TcxPopupWindow::Paint();
}

void TcxCustomPopupWindow::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_ACTIVATEAPP:
        // The hooks decide what the application's deactivation closes.
        TForm::Dispatch(msg);
        return;
    case WM_ERASEBKGND:
        if (HasBackground())
            TcxPopupWindow::Dispatch(msg);
        else
            msg.Result = 1;
        return;
    case CM_CLOSEPOPUPWINDOW: {
        const auto alive = AliveToken();
        LockDeactivate(true);
        try {
            CloseUp();
        } catch (...) {
            if (!alive.expired())
                LockDeactivate(false);
            throw;
        }
        if (alive.expired())
            return;
        LockDeactivate(false);
        if (TWinControl* owner = PopupHooks::Owner(this); owner && owner->HandleAllocated())
            vcl::SendMessage(owner->Handle(), WM_SETFOCUS);
        return;
    }
    case CM_SHOWPOPUPWINDOW: Popup(focusedAlive_.expired() ? nullptr : focusedControl_); return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        TcxPopupWindow::Dispatch(msg);
        TControl* who = msg.LParam ? reinterpret_cast<TControl*>(msg.LParam) : this;
        if (msg.Msg == CM_MOUSEENTER)
            MouseEnter(who);
        else
            MouseLeave(who);
        return;
    }
    default: TcxPopupWindow::Dispatch(msg);
    }
}

} // namespace cx
