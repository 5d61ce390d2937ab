#include "platform/vcl/Input.h"

#include "platform/rtl/Unicode.h"
#include "platform/vcl/Desktop.h"
#include "platform/vcl/Keys.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"
#include "platform/vcl/SystemFacade.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cstdlib>

namespace vcl::input {

namespace {

// A control pointer that knows when its control died.
struct ControlRef {
    TControl* control = nullptr;
    std::weak_ptr<bool> alive;

    void Set(TControl* c)
    {
        control = c;
        alive = c ? c->AliveToken() : std::weak_ptr<bool>();
    }
    TControl* Get() const
    {
        if (!control)
            return nullptr;
        auto a = alive.lock();
        return a && *a ? control : nullptr;
    }
};

struct ClickState {
    HWND wnd = nullptr;
    UINT downMsg = 0;
    std::uint32_t time = 0;
    TPoint pt;
    bool wasDouble = false;
};

struct InputState {
    HWND focus = nullptr;
    HWND capture = nullptr;
    ControlRef captureControl;
    ControlRef mouseControl;
    ClickState lastClick;
    // The input method's state: a composition is open, its text, and the last result.
    bool composing = false;
    std::u16string composition;
    std::u16string result;
};

InputState& St()
{
    static InputState s;
    return s;
}

bool IsDown(UINT m) { return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN; }

HWND LiveHandle(TWinControl* c) { return c && c->HandleAllocated() ? c->Handle() : nullptr; }

// The double click rule: the same button on the same window, within the double-click time and
// the double-click square of the first press; a third press starts over.
UINT CountClick(HWND target, UINT msg, const TPoint& screen)
{
    auto& last = St().lastClick;
    auto& sys = System();
    const std::uint32_t now = sys.GetTickCount();
    const int cx = sys.GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    const int cy = sys.GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    const bool isDouble = !last.wasDouble && last.wnd == target && last.downMsg == msg &&
                          now - last.time <= sys.GetDoubleClickTime() &&
                          std::abs(screen.X - last.pt.X) <= cx && std::abs(screen.Y - last.pt.Y) <= cy;
    last = {target, msg, now, screen, isDouble};
    return isDouble ? msg + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN) : msg;
}

void SetButtonState(UINT msg)
{
    auto& sys = System();
    switch (msg) {
    case WM_LBUTTONDOWN: sys.SetKeyDown(VK_LBUTTON, true); break;
    case WM_LBUTTONUP: sys.SetKeyDown(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN: sys.SetKeyDown(VK_RBUTTON, true); break;
    case WM_RBUTTONUP: sys.SetKeyDown(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN: sys.SetKeyDown(VK_MBUTTON, true); break;
    case WM_MBUTTONUP: sys.SetKeyDown(VK_MBUTTON, false); break;
    default: break;
    }
}

// The window the window system delivered an event to lies on top at its point: our own list of
// windows has no stacking order, so looking the point up there could pick a window underneath
// (the form under an open popup). Only a point outside that window (a drag past its edge), or
// input we synthesise ourselves, is looked up.
TWidgetPeer* PeerUnder(const TPoint& screen, TWidgetPeer* delivered)
{
    QWidget* top = delivered ? delivered->window() : nullptr;
    const QPoint g(screen.X, screen.Y);
    if (top && top->isVisible() && top->geometry().contains(g)) {
        QWidget* child = top->childAt(top->mapFromGlobal(g));
        for (QWidget* w = child ? child : top; w; w = w->parentWidget())
            if (auto* p = dynamic_cast<TWidgetPeer*>(w); p && p->Control())
                return p;
    }
    TWidgetPeer* p = PeerAt(screen);
    return p ? p : delivered;
}

void DeliverMouse(UINT msg, const TPoint& screen, unsigned keys, TWidgetPeer* hint)
{
    SetButtonState(msg);
    HWND target = St().capture;
    if (!target || !IsWindow(target)) {
        TWidgetPeer* p = PeerUnder(screen, hint);
        target = p && p->Control() ? LiveHandle(p->Control()) : nullptr;
    }
    if (!target)
        return;
    // The system's steps before a mouse message: activation by a press, then the cursor.
    if (IsDown(msg) && (!MouseActivate(target, msg) || !IsWindow(target)))
        return;
    if (target != St().capture) {
        UpdateCursorFor(target, msg, screen);
        if (!IsWindow(target))
            return;
    }
    if (IsDown(msg))
        msg = CountClick(target, msg, screen);
    TrackMouseControl(screen);
    TWinControl* c = FindControl(target);
    if (!c)
        return;
    const TPoint client = c->ScreenToClient(screen);
    MSG m;
    m.hwnd = target;
    m.message = msg;
    m.wParam = keys;
    m.lParam = MakeLParam(client.X, client.Y);
    m.time = System().GetTickCount();
    m.ptX = screen.X;
    m.ptY = screen.Y;
    ProcessRetrievedMessage(m);
}

unsigned KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    unsigned k = 0;
    if (buttons & Qt::LeftButton)
        k |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        k |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        k |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier)
        k |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        k |= MK_CONTROL;
    return k;
}

void SetModifierState(Qt::KeyboardModifiers mods)
{
    auto& sys = System();
    sys.SetKeyDown(VK_SHIFT, mods & Qt::ShiftModifier);
    sys.SetKeyDown(VK_CONTROL, mods & Qt::ControlModifier);
    sys.SetKeyDown(VK_MENU, mods & Qt::AltModifier);
}

void DeliverKey(std::uint16_t vk, bool down, const std::u16string& text, HWND target, bool repeat = false)
{
    if (!target || !IsWindow(target))
        return;
    // Posted messages come before input, so the characters of the last key precede this one.
    DrainPostedMessages();
    if (!IsWindow(target))
        return;
    auto& sys = System();
    // Alt without Ctrl makes system keys (Alt itself included); Ctrl+Alt is the AltGr of
    // layouts that type with it, and F10 is the menu key.
    const bool alt = (sys.GetKeyState(VK_MENU) < 0 || (vk == VK_MENU && !down)) && sys.GetKeyState(VK_CONTROL) >= 0;
    const bool sys10 = alt || (vk == VK_F10 && sys.GetKeyState(VK_CONTROL) >= 0);
    LPARAM keyData = 1;
    if (alt)
        keyData |= LPARAM(1) << 29;
    if (repeat)
        keyData |= LPARAM(1) << 30;
    if (!down)
        keyData |= LPARAM(3) << 30;
    MSG m;
    m.hwnd = target;
    m.message = down ? (sys10 ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys10 ? WM_SYSKEYUP : WM_KEYUP);
    m.wParam = vk;
    m.lParam = keyData;
    m.time = sys.GetTickCount();
    auto translate = [text, alt](const MSG& mm) {
        for (char16_t unit : text)
            PostMessage(mm.hwnd, alt ? WM_SYSCHAR : WM_CHAR, unit, mm.lParam);
    };
    if (down)
        ProcessRetrievedMessage(m, translate);
    else
        ProcessRetrievedMessage(m);
}

HWND KeyTarget(TWidgetPeer* peer)
{
    HWND f = St().focus;
    if (f && IsWindow(f))
        return f;
    return peer ? LiveHandle(peer->Control()) : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------------
void MouseEvent(TWidgetPeer* peer, QMouseEvent* e)
{
    const QPointF g = e->globalPosition();
    const TPoint screen{int(g.x()), int(g.y())};
    SetModifierState(e->modifiers());
    UINT msg = WM_MOUSEMOVE;
    const bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
    if (e->type() != QEvent::MouseMove) {
        switch (e->button()) {
        case Qt::LeftButton: msg = press ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case Qt::RightButton: msg = press ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case Qt::MiddleButton: msg = press ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        default: return;
        }
    }
    DeliverMouse(msg, screen, KeysOf(e->buttons(), e->modifiers()), peer);
}

void WheelEvent(TWidgetPeer* peer, QWheelEvent* e)
{
    SetModifierState(e->modifiers());
    const QPointF g = e->globalPosition();
    const int delta = e->angleDelta().y() != 0 ? e->angleDelta().y() : e->angleDelta().x();
    HWND target = KeyTarget(peer);
    if (!target)
        return;
    MSG m;
    m.hwnd = target;
    m.message = WM_MOUSEWHEEL;
    m.wParam = WPARAM(std::uint16_t(KeysOf(e->buttons(), e->modifiers()))) | (WPARAM(std::uint16_t(delta)) << 16);
    m.lParam = MakeLParam(int(g.x()), int(g.y()));
    m.time = System().GetTickCount();
    m.ptX = int(g.x());
    m.ptY = int(g.y());
    ProcessRetrievedMessage(m);
}

void KeyEvent(TWidgetPeer* peer, QKeyEvent* e)
{
    const bool down = e->type() == QEvent::KeyPress;
    // A held key repeats its key-down alone; the system sends one key-up at the end.
    if (!down && e->isAutoRepeat())
        return;
    SetModifierState(e->modifiers());
    const std::uint16_t vk = keys::VirtualKeyOf(e->key(), e->modifiers(), e->nativeScanCode(), e->text());
    if (vk == 0)
        return;
    System().SetKeyDown(vk, down);
    const bool types = down && !keys::IsDeadKey(e->key());
    const std::u16string text = types ? keys::CharsOf(vk, e->modifiers(), e->text()) : std::u16string();
    DeliverKey(vk, down, text, KeyTarget(peer), down && e->isAutoRepeat());
}

void InputMethodEvent(TWidgetPeer* peer, QInputMethodEvent* e)
{
    HWND target = KeyTarget(peer);
    if (!target)
        return;
    DrainPostedMessages();
    auto& s = St();
    const std::u16string commit = e->commitString().toStdU16String();
    const std::u16string preedit = e->preeditString().toStdU16String();
    if (commit.empty() && preedit.empty() && !s.composing)
        return;
    if (!s.composing) {
        s.composing = true;
        SendMessage(target, WM_IME_STARTCOMPOSITION);
    }
    if (!commit.empty()) {
        s.result = commit;
        s.composition.clear();
        SendMessage(target, WM_IME_COMPOSITION, commit.back(), GCS_RESULTSTR);
    }
    s.composition = preedit;
    if (!preedit.empty()) {
        SendMessage(target, WM_IME_COMPOSITION, preedit.front(), GCS_COMPSTR);
    } else {
        s.composing = false;
        SendMessage(target, WM_IME_ENDCOMPOSITION);
    }
    // The result as characters, through the queue like typed ones (a parent may refuse them).
    for (char16_t unit : commit)
        PostMessage(target, WM_CHAR, unit, 1);
}

std::u16string CompositionString(unsigned which)
{
    return which == GCS_RESULTSTR ? St().result : St().composition;
}

void PointerLeftWindow(TWidgetPeer*)
{
    if (St().captureControl.Get())
        return;
    if (TControl* old = St().mouseControl.Get()) {
        St().mouseControl.Set(nullptr);
        old->Perform(CM_MOUSELEAVE);
    }
}

void WindowActivation(TWidgetPeer* peer, bool active)
{
    TWinControl* c = peer->Control();
    HWND wnd = LiveHandle(c);
    if (!wnd)
        return;
    if (active) {
        SendMessage(wnd, WM_ACTIVATE, WA_ACTIVE, 0);
        return;
    }
    // The capture and the focus do not outlive the window's activation.
    auto& s = St();
    if (s.capture) {
        TWinControl* cap = FindControl(s.capture);
        if (cap && c->ContainsControl(cap))
            SendMessage(s.capture, WM_CANCELMODE);
    }
    SendMessage(wnd, WM_ACTIVATE, WA_INACTIVE, 0);
    if (s.focus) {
        TWinControl* f = FindControl(s.focus);
        if (f && c->ContainsControl(f))
            ::SetFocus(nullptr);
    }
}

void InjectMouse(UINT msg, const TPoint& screen, unsigned keys)
{
    DeliverMouse(msg, screen, keys, nullptr);
}

void InjectKey(std::uint16_t vk, bool down, const std::string& text)
{
    System().SetKeyDown(vk, down);
    DeliverKey(vk, down, rtl::Utf8ToUtf16(text), KeyTarget(nullptr));
}

void TrackMouseControl(const TPoint& screen)
{
    auto& s = St();
    TControl* now = s.captureControl.Get();
    if (!now) {
        if (TWidgetPeer* p = PeerAt(screen)) {
            now = p->Control();
            if (TControl* sub = p->Control()->ControlAtPos(p->Control()->ScreenToClient(screen), true))
                now = sub;
        }
    }
    TControl* old = s.mouseControl.Get();
    if (now == old)
        return;
    s.mouseControl.Set(now);
    const auto nowAlive = now ? now->AliveToken() : std::weak_ptr<bool>();
    if (old)
        old->Perform(CM_MOUSELEAVE);
    if (now && !nowAlive.expired() && *nowAlive.lock())
        now->Perform(CM_MOUSEENTER);
}

TControl* MouseControl() { return St().mouseControl.Get(); }

void ControlDestroying(TControl* control)
{
    auto& s = St();
    if (s.mouseControl.control == control)
        s.mouseControl.Set(nullptr);
    if (s.captureControl.control == control)
        s.captureControl.Set(nullptr);
    if (auto* w = dynamic_cast<TWinControl*>(control); w && w->HandleAllocated()) {
        HWND h = w->Handle();
        if (s.focus == h)
            s.focus = nullptr;
        if (s.capture == h)
            s.capture = nullptr;
    }
}

void RaisePeer(TWinControl* control)
{
    if (control->Peer())
        control->Peer()->raise();
}

void ResetClickCount() { St().lastClick = {}; }

std::uint16_t VirtualKeyOf(int qtKey) { return keys::VirtualKeyOf(qtKey, Qt::NoModifier); }

} // namespace vcl::input

// ---------------------------------------------------------------------------------------------
using vcl::input::St;

HWND GetFocus() { return vcl::IsWindow(St().focus) ? St().focus : nullptr; }

HWND SetFocus(HWND wnd)
{
    auto& s = St();
    HWND old = GetFocus();
    if (wnd == old)
        return old;
    if (wnd && !vcl::IsWindow(wnd))
        return nullptr;
    s.focus = wnd;
    if (old)
        vcl::SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(wnd));
    if (s.focus != wnd || !wnd)
        return old;
    if (vcl::TWidgetPeer* p = vcl::PeerOf(wnd))
        p->setFocus(Qt::OtherFocusReason);
    vcl::SendMessage(wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old));
    return old;
}

HWND GetCapture() { return vcl::IsWindow(St().capture) ? St().capture : nullptr; }

namespace {
HWND CaptureTo(HWND wnd, TControl* control)
{
    auto& s = St();
    HWND old = GetCapture();
    s.capture = wnd;
    s.captureControl.Set(control);
    if (old != wnd)
        vcl::GrabMouseFor(wnd);
    if (old && old != wnd)
        vcl::SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(wnd));
    return old;
}
} // namespace

HWND SetCapture(HWND wnd)
{
    if (!vcl::IsWindow(wnd))
        return nullptr;
    return CaptureTo(wnd, FindControl(wnd));
}

bool ReleaseCapture()
{
    auto& s = St();
    HWND old = GetCapture();
    s.capture = nullptr;
    s.captureControl.Set(nullptr);
    vcl::GrabMouseFor(nullptr);
    if (old)
        vcl::SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

TControl* GetCaptureControl()
{
    if (!GetCapture())
        return nullptr;
    return St().captureControl.Get();
}

void SetCaptureControl(TControl* control)
{
    if (!control) {
        ReleaseCapture();
        return;
    }
    auto* w = dynamic_cast<TWinControl*>(control);
    TWinControl* owner = w ? w : control->Parent();
    if (!owner)
        return;
    CaptureTo(owner->Handle(), control);
}

bool IsWindowVisible(HWND wnd)
{
    TWinControl* c = FindControl(wnd);
    return c && c->Peer() && c->Peer()->isVisible();
}

bool IsWindowEnabled(HWND wnd)
{
    TWinControl* c = FindControl(wnd);
    return c && c->Enabled();
}

bool EnableWindow(HWND wnd, bool enable)
{
    TWinControl* c = FindControl(wnd);
    if (!c)
        return false;
    const bool wasDisabled = !c->Enabled();
    c->SetEnabled(enable);
    return wasDisabled;
}
