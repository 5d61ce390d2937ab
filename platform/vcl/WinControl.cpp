// TWinControl and TCustomControl: the window, its peer, painting, focus and keys.
#include "platform/vcl/Controls.h"

#include "platform/gdi/Draw.h"
#include "platform/vcl/Desktop.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Input.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"
#include "platform/vcl/SystemFacade.h"

#include <QApplication>

#include <algorithm>

TWinControl::TWinControl(rtl::TComponent* owner) : TControl(owner), brush_(std::make_unique<TBrush>())
{
    brush_->SetColor(Color());
}

TWinControl::~TWinControl() = default;

void TWinControl::BeforeDestruction()
{
    // Children that this control does not own still leave with its window.
    while (!controls_.empty())
        controls_.back()->SetParent(nullptr);
    DestroyHandle();
    TControl::BeforeDestruction();
}

HWND TWinControl::Handle()
{
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded()
{
    if (handle_)
        return;
    if (parent_)
        parent_->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle()
{
    if (!handle_) {
        CreateWnd();
        if (peer_)
            peer_->SetGeometryQuietly(QRect(Left(), Top(), Width(), Height()));
    }
    // Children are created with the parent when they are showing (lazily otherwise).
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible())
            w->HandleNeeded();
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.Caption = Text();
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (!parent_)
        params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    if (TabStop)
        params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = parent_ ? parent_->Handle() : nullptr;
    params.WinClassName = ClassName();
}

namespace {
Qt::WindowFlags FlagsOf(const TCreateParams& p)
{
    if (p.Style & WS_CHILD)
        return Qt::Widget;
    // A window that never takes the activation: placed by us, without frame or focus (on X11
    // an override-redirect window the window manager leaves alone).
    if (p.ExStyle & WS_EX_NOACTIVATE)
        return Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    Qt::WindowFlags f = (p.ExStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    if (!(p.Style & WS_CAPTION))
        f |= Qt::FramelessWindowHint;
    if (p.ExStyle & WS_EX_TOPMOST)
        f |= Qt::WindowStaysOnTopHint;
    if (p.ExStyle & WS_EX_NOACTIVATE)
        f |= Qt::WindowDoesNotAcceptFocus;
    return f;
}
} // namespace

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    QWidget* parentWidget = nullptr;
    if (params.Style & WS_CHILD) {
        if (!parent_)
            throw rtl::EInvalidOperation(rtl::Format("Control '%s' has no parent window", Name().c_str()));
        parentWidget = parent_->peer_;
    } else if (params.WndParent) {
        parentWidget = vcl::PeerOf(params.WndParent);
    }
    ControlState.Include(csCreating);
    peer_ = new vcl::TWidgetPeer(this, parentWidget, FlagsOf(params));
    style_ = params.Style;
    exStyle_ = params.ExStyle;
    if (windowRegion_)
        SetPeerRegion(peer_, windowRegion_->Q());
    if (params.ExStyle & WS_EX_NOACTIVATE)
        peer_->setAttribute(Qt::WA_ShowWithoutActivating);
    if (!(params.Style & WS_CHILD))
        peer_->setWindowTitle(QString::fromStdString(params.Caption));
    peer_->setEnabled(Enabled());
    handle_ = vcl::RegisterWindow([this](TMessage& m) { WindowProc(m); }, this, params.WinClassName);
    surface_.Resize(std::max(0, params.Width), std::max(0, params.Height));
    eraseNeeded_ = true;
    ControlState.Exclude(csCreating);
    TRect frame{params.X, params.Y, params.X + params.Width, params.Y + params.Height};
    vcl::SendMessage(handle_, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&frame));
    vcl::SendMessage(handle_, WM_CREATE);
}

void TWinControl::DestroyHandle()
{
    if (!handle_)
        return;
    ControlState.Include(csDestroyingHandle);
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->DestroyHandle();
    DestroyWnd();
    ControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() { DestroyWindowHandle(); }

void TWinControl::DestroyWindowHandle()
{
    HWND wnd = handle_;
    vcl::SendMessage(wnd, WM_DESTROY);
    if (::GetCapture() == wnd)
        ::ReleaseCapture();
    if (::GetFocus() == wnd)
        vcl::input::ControlDestroying(this);
    vcl::UnregisterWindow(wnd);
    handle_ = nullptr;
    if (peer_) {
        // We may be inside one of the peer's own events: detach now, delete later.
        vcl::TWidgetPeer* p = peer_;
        peer_ = nullptr;
        p->Detach();
        if (!p->isWindow())
            p->setParent(nullptr);
        p->deleteLater();
    }
    ControlState.Exclude(csClicked);
}

void TWinControl::RecreateWnd()
{
    if (!handle_)
        return;
    DestroyHandle();
    UpdateShowing();
}

bool TWinControl::Showing() const
{
    return handle_ && peer_ && Visible() && (parent_ ? parent_->Showing() : peer_->isVisible());
}

void TWinControl::UpdateShowing()
{
    const bool wanted = Visible() && (!parent_ || parent_->Showing() || (parent_->HandleAllocated() && parent_->Visible()));
    if (!parent_) {
        // A top-level window: its visibility is the form's business (Show, Hide, ShowModal).
        if (Visible()) {
            HandleNeeded();
            vcl::SendMessage(handle_, WM_SHOWWINDOW, 1);
            peer_->SetVisibleQuietly(true);
        } else if (handle_) {
            vcl::SendMessage(handle_, WM_SHOWWINDOW, 0);
            peer_->SetVisibleQuietly(false);
        }
        return;
    }
    if (wanted && parent_->HandleAllocated()) {
        HandleNeeded();
        if (!peer_->isVisibleTo(parent_->peer_)) {
            vcl::SendMessage(handle_, WM_SHOWWINDOW, 1);
            peer_->SetVisibleQuietly(true);
        }
    } else if (handle_ && !Visible() && peer_->isVisibleTo(parent_->peer_)) {
        vcl::SendMessage(handle_, WM_SHOWWINDOW, 0);
        peer_->SetVisibleQuietly(false);
    }
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->UpdateShowing();
}

// ---------------------------------------------------------------------------------------------
void TWinControl::InsertControl(TControl* control)
{
    auto* w = dynamic_cast<TWinControl*>(control);
    // A control that got its window while it had no parent owns a top-level window; it is made
    // again inside us (lazily, like any child), or it would float on the desktop.
    if (w && w->handle_ && !(w->style_ & WS_CHILD))
        w->DestroyHandle();
    controls_.push_back(control);
    control->parent_ = this;
    if (w) {
        if (handle_)
            w->UpdateShowing();
    } else {
        control->Invalidate();
    }
}

void TWinControl::RemoveControl(TControl* control)
{
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end())
        return;
    if (auto* w = dynamic_cast<TWinControl*>(control))
        w->DestroyHandle();
    else
        InvalidateRect(control->BoundsRect(), true);
    controls_.erase(std::find(controls_.begin(), controls_.end(), control));
    control->parent_ = nullptr;
}

void TWinControl::MoveChildToFront(TControl* control)
{
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    controls_.push_back(control);
    if (!dynamic_cast<TWinControl*>(control))
        control->Invalidate();
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& p, bool allowDisabled, bool allowWinControls) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(c))
            continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled()))
            continue;
        const TRect r = c->BoundsRect();
        if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom)
            return c;
    }
    return nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    const bool moved = left != Left() || top != Top();
    const bool sized = width != Width() || height != Height();
    if (!moved && !sized)
        return;
    UpdateBoundsRect({left, top, left + width, top + height});
    if (handle_) {
        if (peer_)
            peer_->SetGeometryQuietly(QRect(Left(), Top(), Width(), Height()));
        if (sized) {
            surface_.Resize(Width(), Height());
            eraseNeeded_ = true;
            if (peer_)
                peer_->InvalidateArea(peer_->rect());
            // The frame is the window system's: the client area is the whole window.
            TRect frame = BoundsRect();
            vcl::SendMessage(handle_, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&frame));
        }
        vcl::SendMessage(handle_, WM_WINDOWPOSCHANGED);
        if (sized)
            vcl::SendMessage(handle_, WM_SIZE, SIZE_RESTORED, MakeLParam(Width(), Height()));
        if (moved)
            vcl::SendMessage(handle_, WM_MOVE, 0, MakeLParam(Left(), Top()));
    } else if (sized) {
        Resize();
    }
}

void TWinControl::SetEnabled(bool v)
{
    if (Enabled() == v)
        return;
    TControl::SetEnabled(v);
    if (peer_)
        peer_->setEnabled(v);
    if (handle_)
        vcl::SendMessage(handle_, WM_ENABLE, v ? 1 : 0);
    if (!v && Focused())
        ::SetFocus(nullptr);
}

namespace {
// WM_SETCURSOR for the window's own client area: the screen's cursor, else the cursor of the
// graphic child under the pointer, else the control's; crDefault leaves the choice to the parent.
bool ChooseCursor(TWinControl* self, TMessage& m)
{
    if (reinterpret_cast<HWND>(m.WParam) != self->Handle() || LoWord(std::uintptr_t(m.LParam)) != HTCLIENT)
        return false;
    TCursor c = Screen->Cursor();
    if (c == crDefault) {
        if (TControl* child = self->ControlAtPos(self->ScreenToClient(vcl::LastMousePoint()), false))
            c = child->Cursor();
        if (c == crDefault)
            c = self->Cursor();
    }
    if (c == crDefault)
        return false;
    ::SetCursor(Screen->Cursors(c));
    m.Result = 1;
    return true;
}
} // namespace

// ---------------------------------------------------------------------------------------------
void TWinControl::WndProc(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(); form && form != this) {
            const auto alive = AliveToken();
            if (!form->SetFocusedControl(this) || alive.expired() || !*alive.lock())
                return;
        }
        break;
    case WM_KILLFOCUS:
        if (ControlState.Contains(csFocusing))
            return;
        break;
    default:
        if (msg.Msg >= WM_MOUSEFIRST && msg.Msg <= WM_MOUSELAST && IsControlMouseMsg(msg))
            return;
        break;
    }
    TControl::WndProc(msg);
}

bool TWinControl::IsControlMouseMsg(TMessage& msg)
{
    if (msg.Msg == WM_MOUSEWHEEL)
        return false;
    TControl* target = nullptr;
    TControl* capture = GetCaptureControl();
    if (capture && capture->Parent() == this && !dynamic_cast<TWinControl*>(capture))
        target = capture;
    else if (!capture)
        target = ControlAtPos({XFromLParam(msg.LParam), YFromLParam(msg.LParam)}, false);
    if (!target)
        return false;
    const int x = XFromLParam(msg.LParam) - target->Left();
    const int y = YFromLParam(msg.LParam) - target->Top();
    msg.Result = target->Perform(msg.Msg, msg.WParam, MakeLParam(x, y));
    return true;
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT: return HandlePaint(m);
    case WM_ERASEBKGND: return HandleEraseBackground(m);
    case WM_SETFOCUS: return HandleSetFocus(m);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(m))
            DefaultHandler(m);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(m))
            DefaultHandler(m);
        return;
    case WM_CHAR:
        if (!DoKeyPress(m))
            DefaultHandler(m);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: return HandleCnKeyDown(m);
    case CN_CHAR:
        m.Result = 1;
        if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
            if (TCustomForm* f = GetParentForm(); f && f->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
                return;
        }
        m.Result = 0;
        return;
    case CN_SYSCHAR:
        // Alt+character: an accelerator of the form's controls (Alt+Space is the window menu's).
        m.Result = 0;
        if (char16_t(m.WParam) != u' ') {
            if (TCustomForm* f = GetParentForm(); f && f->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
                m.Result = 1;
        }
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: return HandleDialogKey(m);
    case CM_CHILDKEY:
        m.Result = parent_ ? parent_->Perform(m.Msg, m.WParam, m.LParam) : 0;
        return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_COLORCHANGED:
        brush_->SetColor(Color());
        TControl::Dispatch(m);
        NotifyControls(CM_PARENTCOLORCHANGED);
        return;
    case CM_FONTCHANGED:
        TControl::Dispatch(m);
        NotifyControls(CM_PARENTFONTCHANGED);
        return;
    case CM_INVALIDATE: Invalidate(); return;
    case WM_SETCURSOR:
        if (!ChooseCursor(this, m))
            DefaultHandler(m);
        return;
    case WM_COMMAND:
        // A child's notification goes back to the child (EN_CHANGE becomes its OnChange).
        if (TWinControl* c = FindControl(reinterpret_cast<HWND>(m.LParam)); c && c != this && c->Parent() == this) {
            m.Result = c->Perform(CN_COMMAND, m.WParam, m.LParam);
            return;
        }
        DefaultHandler(m);
        return;
    case WM_SIZE:
        Resize();
        return;
    default: TControl::Dispatch(m);
    }
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (handle_) {
        switch (m.Msg) {
        case WM_CANCELMODE:
            if (::GetCapture() == handle_)
                ::ReleaseCapture();
            return;
        case WM_RBUTTONUP: {
            // The system's answer to a right click: a context-menu request at the pointer.
            const TPoint s = ClientToScreen({XFromLParam(m.LParam), YFromLParam(m.LParam)});
            vcl::SendMessage(handle_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle_), MakeLParam(s.X, s.Y));
            return;
        }
        case WM_CONTEXTMENU:
            if (parent_ && parent_->handle_)
                m.Result = vcl::SendMessage(parent_->handle_, m.Msg, m.WParam, m.LParam);
            return;
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
            // The keyboard's context-menu requests: the Menu key (on its release) and Shift+F10,
            // at the point (-1, -1), which the receiver turns into a place of its own.
            if ((m.Msg == WM_KEYUP && m.WParam == VK_APPS) ||
                (m.Msg == WM_SYSKEYDOWN && m.WParam == VK_F10 && vcl::System().GetKeyState(VK_SHIFT) < 0)) {
                vcl::SendMessage(handle_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle_), MakeLParam(-1, -1));
                return;
            }
            m.Result = vcl::DefWindowProc(handle_, m.Msg, m.WParam, m.LParam);
            return;
        case WM_SETCURSOR:
            // The parent decides first; nobody deciding leaves the arrow.
            m.Result = parent_ && parent_->handle_ ? vcl::SendMessage(parent_->handle_, m.Msg, m.WParam, m.LParam) : 0;
            return;
        case WM_MOUSEACTIVATE:
            m.Result = parent_ && parent_->handle_ ? vcl::SendMessage(parent_->handle_, m.Msg, m.WParam, m.LParam) : 0;
            if (m.Result == 0)
                m.Result = MA_ACTIVATE;
            return;
        default:
            m.Result = vcl::DefWindowProc(handle_, m.Msg, m.WParam, m.LParam);
            return;
        }
    }
    TControl::DefaultHandler(m);
}

// ---------------------------------------------------------------------------------------------
void TWinControl::HandleCnKeyDown(TMessage& m)
{
    m.Result = 1;
    // Short cuts of the popup menus of the control and its parents.
    for (TControl* c = this; c; c = c->Parent())
        if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(m))
            return;
    if (Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<LPARAM>(this)) != 0)
        return;
    int mask = 0;
    switch (m.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, m.WParam) == 0 && (Perform(WM_GETDLGCODE) & mask) == 0) {
        if (TCustomForm* f = GetParentForm(); f && f->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0)
            return;
    }
    m.Result = 0;
}

void TWinControl::HandleDialogKey(TMessage& m)
{
    // Offered to every child until one takes it (default and cancel buttons, accelerators); an
    // accelerator reaches the graphic children too (a label focuses its control).
    const auto alive = AliveToken();
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (alive.expired() || !*alive.lock())
            return;
        if (std::find(controls_.begin(), controls_.end(), c) == controls_.end() || !c->Visible() || !c->Enabled())
            continue;
        if (!dynamic_cast<TWinControl*>(c) && m.Msg != CM_DIALOGCHAR)
            continue;
        m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
        if (m.Result != 0)
            return;
    }
    m.Result = 0;
}

bool TWinControl::DoKeyDown(TMessage& m)
{
    // A handler (the form's preview or the control's own) may free the control: a freed control
    // counts the key as handled, so nothing goes on with it.
    const auto alive = AliveToken();
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview && (form->DoKeyDown(m) || alive.expired()))
        return true;
    if (!ControlStyle.Contains(csNoStdEvents)) {
        std::uint16_t key = std::uint16_t(m.WParam);
        KeyDown(key, KeyDataToShiftState(m.LParam));
        if (alive.expired())
            return true;
        m.WParam = key;
        if (key == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TMessage& m)
{
    const auto alive = AliveToken();
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview && (form->DoKeyUp(m) || alive.expired()))
        return true;
    if (!ControlStyle.Contains(csNoStdEvents)) {
        std::uint16_t key = std::uint16_t(m.WParam);
        KeyUp(key, KeyDataToShiftState(m.LParam));
        if (alive.expired())
            return true;
        m.WParam = key;
        if (key == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage& m)
{
    const auto alive = AliveToken();
    TCustomForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview && (form->DoKeyPress(m) || alive.expired()))
        return true;
    if (!ControlStyle.Contains(csNoStdEvents)) {
        char16_t ch = char16_t(m.WParam);
        KeyPress(ch);
        if (alive.expired())
            return true;
        m.WParam = ch;
        if (ch == 0)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
bool TWinControl::Focused() const { return handle_ && ::GetFocus() == handle_; }

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm(); form && form != this) {
        form->FocusControl(this);
        return;
    }
    if (!CanFocus())
        throw rtl::EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

void TWinControl::HandleSetFocus(TMessage& m) { DefaultHandler(m); }

void TWinControl::NotifyControls(UINT msg)
{
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children)
        if (std::find(controls_.begin(), controls_.end(), c) != controls_.end())
            c->Perform(msg);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TControl* c : controls_) {
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            list.push_back(w);
            w->GetTabOrderList(list);
        }
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const int n = int(list.size());
    int start = int(std::find(list.begin(), list.end(), current) - list.begin());
    if (start == n)
        start = goForward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        TWinControl* c = list[std::size_t(i)];
        if (c == current)
            break;
        if (c->CanFocus() && (!checkTabStop || c->TabStop) && (!checkParent || c->Parent() == this))
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
        next->SetFocus();
}

// ---------------------------------------------------------------------------------------------
void TWinControl::Invalidate()
{
    if (handle_)
        InvalidateRect(GetClientRect(), !ControlStyle.Contains(csOpaque));
}

void TWinControl::InvalidateRect(const TRect& r, bool erase)
{
    if (!handle_ || !peer_)
        return;
    eraseNeeded_ = eraseNeeded_ || erase;
    peer_->InvalidateArea(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void TWinControl::Update()
{
    if (peer_ && peer_->isVisible())
        peer_->repaint();
}

TPoint TWinControl::ClientOrigin() const
{
    if (peer_) {
        const QPoint p = peer_->mapToGlobal(QPoint(0, 0));
        return {p.x(), p.y()};
    }
    return TControl::ClientOrigin();
}

void TWinControl::PaintFromPeer(const TRect& area)
{
    if (!handle_ || surface_.IsEmpty())
        return;
    gdi::Dc dc(&surface_);
    dc.S().clip = gdi::Region(area);
    if (eraseNeeded_) {
        eraseNeeded_ = false;
        vcl::SendMessage(handle_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc));
    }
    if (!handle_)
        return;
    MSG msg;
    msg.hwnd = handle_;
    msg.message = WM_PAINT;
    msg.wParam = reinterpret_cast<WPARAM>(&dc);
    msg.time = vcl::System().GetTickCount();
    vcl::ProcessRetrievedMessage(msg);
}

void TWinControl::HandleEraseBackground(TMessage& m)
{
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc)
        return;
    gdi::FillRect(*dc, GetClientRect(), brush_->GetHandle());
    m.Result = 1;
}

void TWinControl::HandlePaint(TMessage& m)
{
    if (m.WParam) {
        PaintHandler(reinterpret_cast<HDC>(m.WParam));
        return;
    }
    // Sent without a device context: paint the whole surface now and show it.
    if (!handle_ || surface_.IsEmpty())
        return;
    gdi::Dc dc(&surface_);
    PaintHandler(&dc);
    if (peer_)
        peer_->update();
}

void TWinControl::PaintHandler(HDC dc)
{
    PaintWindow(dc);
    PaintControls(dc);
}

void TWinControl::PaintWindow(HDC dc)
{
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc)
{
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible())
            continue;
        const int saved = gdi::SaveDC(*dc);
        const TRect r = c->BoundsRect();
        gdi::IntersectClipRect(*dc, r);
        const TPoint o = dc->S().viewportOrg;
        gdi::SetViewportOrgEx(*dc, o.X + r.Left, o.Y + r.Top);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
        gdi::RestoreDC(*dc, saved);
    }
}

// ---------------------------------------------------------------------------------------------
TCustomControl::TCustomControl(rtl::TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc)
{
    canvas_->SetHandle(dc);
    canvas_->Font()->Assign(Font());
    canvas_->Brush()->SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
    }
    canvas_->SetHandle(nullptr);
}

// ---------------------------------------------------------------------------------------------
bool ScrollWindowEx(HWND wnd, int dx, int dy, const TRect* scroll, const TRect* clip, TRect* update, unsigned flags)
{
    TWinControl* c = FindControl(wnd);
    if (!c || !c->HandleAllocated())
        return false;
    gdi::Surface& s = c->Surface();
    QRect area = QRect(0, 0, s.Width(), s.Height());
    if (scroll)
        area &= QRect(scroll->Left, scroll->Top, scroll->Width(), scroll->Height());
    if (clip)
        area &= QRect(clip->Left, clip->Top, clip->Width(), clip->Height());
    const QRect source = area.translated(-dx, -dy) & area;
    const QRect dest = source.translated(dx, dy);
    if (!source.isEmpty()) {
        // Through a copy: source and destination overlap.
        const QImage part = s.Image().copy(source);
        for (int y = 0; y < part.height(); ++y) {
            const auto* from = reinterpret_cast<const std::uint32_t*>(part.constScanLine(y));
            std::copy(from, from + part.width(), s.Row(dest.top() + y) + dest.left());
        }
    }
    if (flags & SW_SCROLLCHILDREN) {
        for (int i = 0; i < c->ControlCount(); ++i) {
            TControl* child = c->Controls(i);
            const TRect b = child->BoundsRect();
            if (!scroll || area.intersects(QRect(b.Left, b.Top, b.Width(), b.Height())))
                child->SetBounds(b.Left + dx, b.Top + dy, b.Width(), b.Height());
        }
    }
    const QRegion uncovered = QRegion(area) - QRegion(dest);
    if (vcl::TWidgetPeer* p = c->Peer())
        p->ShowSurface(dest);
    if (flags & SW_INVALIDATE)
        for (const QRect& r : uncovered)
            c->InvalidateRect({r.left(), r.top(), r.right() + 1, r.bottom() + 1}, (flags & SW_ERASE) != 0);
    if (update) {
        const QRect b = uncovered.boundingRect();
        *update = b.isEmpty() ? TRect{} : TRect{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    }
    return true;
}

bool ScrollWindow(HWND wnd, int dx, int dy, const TRect* rect, const TRect* clip)
{
    return ScrollWindowEx(wnd, dx, dy, rect, clip, nullptr, SW_INVALIDATE | SW_ERASE | (rect ? 0u : unsigned(SW_SCROLLCHILDREN)));
}

// ---- window region ----

void TWinControl::SetWindowRgn(gdi::Region* region)
{
    windowRegion_.reset(region);
    if (peer_) {
        if (windowRegion_)
            SetPeerRegion(peer_, windowRegion_->Q());
        else
            peer_->clearMask();
    }
}

int TWinControl::GetWindowRgn(gdi::Region& region) const
{
    if (!windowRegion_)
        return RGN_ERROR;
    region = *windowRegion_;
    return region.Kind();
}
