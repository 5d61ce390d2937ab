#include "platform/vcl/Controls.h"

#include "platform/vcl/Desktop.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Input.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/SystemFacade.h"

#include <algorithm>

TShiftState KeysToShiftState(unsigned keys)
{
    TShiftState s;
    if (keys & MK_SHIFT)
        s.Include(ssShift);
    if (keys & MK_CONTROL)
        s.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        s.Include(ssLeft);
    if (keys & MK_RBUTTON)
        s.Include(ssRight);
    if (keys & MK_MBUTTON)
        s.Include(ssMiddle);
    if (vcl::System().GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    return s;
}

TShiftState KeyboardStateToShiftState()
{
    const auto& sys = vcl::System();
    TShiftState s;
    if (sys.GetKeyState(VK_SHIFT) < 0)
        s.Include(ssShift);
    if (sys.GetKeyState(VK_CONTROL) < 0)
        s.Include(ssCtrl);
    if (sys.GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    if (sys.GetKeyState(VK_LBUTTON) < 0)
        s.Include(ssLeft);
    if (sys.GetKeyState(VK_RBUTTON) < 0)
        s.Include(ssRight);
    if (sys.GetKeyState(VK_MBUTTON) < 0)
        s.Include(ssMiddle);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    const auto& sys = vcl::System();
    TShiftState s;
    if (sys.GetKeyState(VK_SHIFT) < 0)
        s.Include(ssShift);
    if (sys.GetKeyState(VK_CONTROL) < 0)
        s.Include(ssCtrl);
    if (keyData & 0x20000000)
        s.Include(ssAlt);
    return s;
}

// ---------------------------------------------------------------------------------------------
TControl::TControl(rtl::TComponent* owner) : rtl::TComponent(owner), font_(std::make_unique<TFont>())
{
    WindowProc = rtl::Event<void(TMessage&)>(this, &TControl::WndProc);
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    font_->OnChange = [this](rtl::TObject*) { Perform(CM_FONTCHANGED); };
}

TControl::~TControl() = default;

void TControl::BeforeDestruction()
{
    *alive_ = false;
    alive_ = std::make_shared<bool>(false);
    if (GetCaptureControl() == this)
        SetCaptureControl(nullptr);
    vcl::input::ControlDestroying(this);
    rtl::TComponent::BeforeDestruction();
    SetParent(nullptr);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& msg)
{
    if (msg.Msg >= WM_MOUSEFIRST && msg.Msg <= WM_MOUSELAST) {
        if (!ControlStyle.Contains(csDoubleClicks) &&
            (msg.Msg == WM_LBUTTONDBLCLK || msg.Msg == WM_RBUTTONDBLCLK || msg.Msg == WM_MBUTTONDBLCLK))
            msg.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        // An automatic drag takes the press: the drag begins instead of the click.
        if ((msg.Msg == WM_LBUTTONDOWN || msg.Msg == WM_LBUTTONDBLCLK) && DragMode == dmAutomatic && !Dragging() &&
            !ComponentState().Contains(rtl::csDesigning)) {
            BeginDrag(true, Mouse->DragThreshold());
            return;
        }
        if (msg.Msg == WM_LBUTTONDOWN || msg.Msg == WM_LBUTTONDBLCLK)
            ControlState.Include(csLButtonDown);
        else if (msg.Msg == WM_LBUTTONUP)
            ControlState.Exclude(csLButtonDown);
    }
    Dispatch(msg);
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN: return MouseButtonDown(m, mbLeft, false);
    case WM_RBUTTONDOWN: return MouseButtonDown(m, mbRight, false);
    case WM_MBUTTONDOWN: return MouseButtonDown(m, mbMiddle, false);
    case WM_LBUTTONDBLCLK: return MouseButtonDown(m, mbLeft, true);
    case WM_RBUTTONDBLCLK: return MouseButtonDown(m, mbRight, true);
    case WM_MBUTTONDBLCLK: return MouseButtonDown(m, mbMiddle, true);
    case WM_LBUTTONUP: return MouseButtonUp(m, mbLeft);
    case WM_RBUTTONUP: return MouseButtonUp(m, mbRight);
    case WM_MBUTTONUP: return MouseButtonUp(m, mbMiddle);
    case WM_MOUSEMOVE: {
        TWMMouse mm{m};
        MouseMove(KeysToShiftState(mm.Keys()), mm.XPos(), mm.YPos());
        return;
    }
    case WM_MOUSEWHEEL: {
        const int delta = std::int16_t(HiWord(m.WParam));
        const TPoint p = ScreenToClient({XFromLParam(m.LParam), YFromLParam(m.LParam)});
        if (DoMouseWheel(KeysToShiftState(LoWord(m.WParam)), delta, p))
            m.Result = 1;
        else if (parent_)
            m.Result = parent_->Perform(m.Msg, m.WParam, m.LParam);
        return;
    }
    case WM_CONTEXTMENU: return HandleContextMenu(m);
    case WM_CANCELMODE:
        if (MouseCapture()) {
            SetMouseCapture(false);
            if (ControlState.Contains(csLButtonDown))
                Perform(WM_LBUTTONUP, 0, MakeLParam(0x7FFF, 0x7FFF));
        }
        return DefaultHandler(m);
    case CM_MOUSEENTER: return HandleMouseEnterLeave(m, true);
    case CM_MOUSELEAVE: return HandleMouseEnterLeave(m, false);
    case CM_HITTEST: m.Result = 1; return;
    case CM_DRAG: return HandleDrag(m);
    case CM_CURSORCHANGED:
        // The pointer rests on the control: the new shape shows now, not at the next move.
        if (vcl::input::MouseControl() == this && !GetCapture()) {
            auto* w = dynamic_cast<TWinControl*>(this);
            TWinControl* wnd = w ? w : parent_;
            if (wnd && wnd->HandleAllocated())
                vcl::UpdateCursorFor(wnd->Handle(), WM_MOUSEMOVE, vcl::LastMousePoint());
        }
        return;
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
        Invalidate();
        return;
    default: return DefaultHandler(m);
    }
}

void TControl::DefaultHandler(TMessage& msg)
{
    msg.Result = 0;
}

void TControl::MouseButtonDown(TMessage& m, TMouseButton button, bool doubleClick)
{
    TWMMouse mm{m};
    if (ControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    TShiftState shift = KeysToShiftState(mm.Keys());
    const auto alive = AliveToken();
    if (doubleClick) {
        shift.Include(ssDouble);
        if (button == mbLeft && ControlStyle.Contains(csClickEvents))
            DblClick();   // its handler may free the control
    } else if (button == mbLeft && ControlStyle.Contains(csClickEvents)) {
        ControlState.Include(csClicked);
    }
    if (!alive.expired() && !ControlStyle.Contains(csNoStdEvents))
        MouseDown(button, shift, mm.XPos(), mm.YPos());
}

void TControl::MouseButtonUp(TMessage& m, TMouseButton button)
{
    TWMMouse mm{m};
    const auto alive = AliveToken();
    if (button == mbLeft && ControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    if (button == mbLeft && ControlState.Contains(csClicked)) {
        ControlState.Exclude(csClicked);
        const TRect r = GetClientRect();
        if (mm.XPos() >= r.Left && mm.XPos() < r.Right && mm.YPos() >= r.Top && mm.YPos() < r.Bottom)
            Click();
    }
    if (!alive.expired() && *alive.lock() && !ControlStyle.Contains(csNoStdEvents))
        MouseUp(button, KeysToShiftState(mm.Keys()), mm.XPos(), mm.YPos());
    if (button == mbRight && !alive.expired() && *alive.lock())
        DefaultHandler(m);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    vcl::FireEvent(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) { vcl::FireEvent(OnMouseMove, this, shift, x, y); }

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    vcl::FireEvent(OnMouseUp, this, button, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    bool handled = false;
    vcl::FireEvent(OnMouseWheel, this, shift, wheelDelta, mousePos, handled);
    return handled;
}

void TControl::HandleMouseEnterLeave(TMessage& m, bool enter)
{
    if (parent_)
        parent_->Perform(m.Msg, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
    if (m.LParam == 0)
        vcl::FireEvent(enter ? OnMouseEnter : OnMouseLeave, this);
}

void TControl::HandleContextMenu(TMessage& m)
{
    if (m.Result != 0)
        return;
    TPoint p{XFromLParam(m.LParam), YFromLParam(m.LParam)};
    TPoint client = p;
    if (!(p.X == -1 && p.Y == -1))
        client = ScreenToClient(p);
    bool handled = false;
    const auto alive = AliveToken();
    DoContextPopup(client, handled);
    m.Result = handled ? 1 : 0;
    if (handled || alive.expired() || !*alive.lock())
        return;
    // Not taken: the window's own handling (an edit shows its menu; any other window passes
    // the request to its parent), or the parent of a graphic control.
    if (dynamic_cast<TWinControl*>(this))
        DefaultHandler(m);
    else if (parent_)
        m.Result = parent_->Perform(m.Msg, m.WParam, m.LParam);
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled)
{
    vcl::FireEvent(OnContextPopup, this, mousePos, handled);
    if (handled)
        return;
    TPopupMenu* menu = GetPopupMenu();
    if (menu && menu->AutoPopup) {
        if (mousePos.X == -1 && mousePos.Y == -1)
            mousePos = {0, 0};
        const TPoint s = ClientToScreen(mousePos);
        menu->PopupComponent = this;
        menu->Popup(s.X, s.Y);
        handled = true;
    }
}

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (popupMenu_ == menu)
        return;
    if (popupMenu_)
        popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu)
        menu->FreeNotification(this);
}

void TControl::Notification(rtl::TComponent* component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation == rtl::opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent_ == parent)
        return;
    if (parent == this)
        throw rtl::EInvalidOperation("A control cannot have itself as its parent");
    if (parent_)
        parent_->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

TCustomForm* TControl::GetParentForm() const
{
    const TControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    const bool moved = left != left_ || top != top_;
    const bool sized = width != width_ || height != height_;
    if (!moved && !sized)
        return;
    if (parent_)
        parent_->InvalidateRect(BoundsRect(), true);
    left_ = left;
    top_ = top;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    if (parent_)
        parent_->InvalidateRect(BoundsRect(), true);
    SendSizeMessages(moved, sized);
}

void TControl::UpdateBoundsRect(const TRect& r)
{
    left_ = r.Left;
    top_ = r.Top;
    width_ = std::max(0, r.Width());
    height_ = std::max(0, r.Height());
}

void TControl::SendSizeMessages(bool moved, bool sized)
{
    if (sized)
        Resize();
    (void)moved;
}

TPoint TControl::ClientOrigin() const
{
    if (!parent_)
        return {left_, top_};
    const TPoint p = parent_->ClientOrigin();
    return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(const TPoint& p) const
{
    const TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& p) const
{
    const TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetVisible(bool v)
{
    if (visible_ == v)
        return;
    VisibleChanging();
    visible_ = v;
    Perform(CM_VISIBLECHANGED, v ? 1 : 0);
    if (auto* w = dynamic_cast<TWinControl*>(this))
        w->UpdateShowing();
    else if (parent_)
        parent_->InvalidateRect(BoundsRect(), true);
}

void TControl::SetEnabled(bool v)
{
    if (enabled_ == v)
        return;
    enabled_ = v;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor c)
{
    if (color_ == c)
        return;
    color_ = c;
    Perform(CM_COLORCHANGED);
}

void TControl::SetText(const std::string& s)
{
    if (text_ == s)
        return;
    text_ = s;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetCursor(TCursor c)
{
    if (cursor_ == c)
        return;
    cursor_ = c;
    Perform(CM_CURSORCHANGED);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool v)
{
    if (MouseCapture() == v)
        return;
    SetCaptureControl(v ? this : nullptr);
}

bool TControl::Showing() const
{
    return visible_ && parent_ && parent_->Showing();
}

void TControl::Invalidate()
{
    if (parent_ && visible_)
        parent_->InvalidateRect(BoundsRect(), !ControlStyle.Contains(csOpaque));
}

void TControl::Update()
{
    if (parent_)
        parent_->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    // Only the z order changes: removing and inserting the child would destroy its window.
    if (parent_)
        parent_->MoveChildToFront(this);
    if (auto* w = dynamic_cast<TWinControl*>(this))
        vcl::input::RaisePeer(w);
}

// ---------------------------------------------------------------------------------------------
TGraphicControl::TGraphicControl(rtl::TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& m)
{
    if (m.Msg == WM_PAINT && m.WParam) {
        canvas_->SetHandle(reinterpret_cast<HDC>(m.WParam));
        canvas_->Font()->Assign(Font());
        try {
            Paint();
        } catch (...) {
            canvas_->SetHandle(nullptr);
            throw;
        }
        canvas_->SetHandle(nullptr);
        return;
    }
    TControl::Dispatch(m);
}

// ---------------------------------------------------------------------------------------------
TWinControl* FindControl(HWND wnd) { return dynamic_cast<TWinControl*>(vcl::WindowOwner(wnd)); }

std::string GetClassName(HWND wnd) { return vcl::WindowClassName(wnd); }
