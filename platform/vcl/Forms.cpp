#include "platform/vcl/Forms.h"

#include "platform/gdi/Draw.h"
#include "platform/gdi/Text.h"
#include "platform/vcl/Desktop.h"
#include "platform/vcl/Input.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFont>
#include <QFontMetrics>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>

Q_DECLARE_LOGGING_CATEGORY(lcVclMsg)

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);
TMouse* Mouse = new TMouse;

TCustomForm* GetParentForm(TControl* control) { return control ? control->GetParentForm() : nullptr; }

// ---------------------------------------------------------------------------------------------
void TCustomForm::WinRef::Set(TWinControl* c)
{
    control = c;
    alive = c ? c->AliveToken() : std::weak_ptr<bool>();
}

TWinControl* TCustomForm::WinRef::Get() const
{
    auto a = alive.lock();
    return control && a && *a ? control : nullptr;
}

TCustomForm::TCustomForm(rtl::TComponent* owner) : TWinControl(owner)
{
    SetVisible(false);
    SetColor(clBtnFace);
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 320, 240);
    Screen->forms_.push_back(this);
}

namespace {
// The window system activates another window when the active one goes: the main form when it
// can take the activation, else the newest shown form that can. A form hosted inside a Qt
// window is no window of its own and is never chosen.
void ActivateNextForm(TCustomForm* leaving)
{
    if (!Screen)
        return;
    auto candidate = [leaving](TCustomForm* f) {
        return f && f != leaving && f->Visible() && f->Enabled() && f->Peer() && f->Peer()->isWindow() &&
               f->Peer()->isVisible() &&
               !f->ComponentState().Contains(rtl::csDestroying) &&
               !f->Peer()->testAttribute(Qt::WA_ShowWithoutActivating);
    };
    TCustomForm* next = Application && candidate(Application->MainForm) ? Application->MainForm : nullptr;
    for (int i = Screen->FormCount() - 1; !next && i >= 0; --i)
        if (candidate(Screen->Forms(i)))
            next = Screen->Forms(i);
    if (next)
        next->Peer()->activateWindow();
}
} // namespace

// A form deleted without Free skips BeforeDestruction. Its teardown happens here instead, while
// the form's window, peer and children still stand: hidden first, out of the screen's list, the
// children and the window destroyed, the activation handed to another form. What a descendant
// class added is gone already, so no event of the form (OnHide, OnDeactivate, OnDestroy) runs.
TCustomForm::~TCustomForm()
{
    if (const auto alive = AliveToken().lock(); alive && *alive) {
        const bool wasActive = active_ || (Screen && Screen->activeForm_ == this);
        active_ = false;
        FormState.Exclude(fsModal);
        ForgetForm();
        if (vcl::TWidgetPeer* peer = Peer(); peer && peer->isVisible())
            peer->SetVisibleQuietly(false);
        TWinControl::BeforeDestruction();
        if (wasActive)
            ActivateNextForm(this);
    }
    ForgetForm();
}

void TCustomForm::ForgetForm()
{
    if (!Screen)
        return;
    auto& forms = Screen->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Screen->activeForm_ == this)
        Screen->activeForm_ = nullptr;
    if (Application && Application->MainForm == this)
        Application->MainForm = nullptr;
}

void TCustomForm::BeforeDestruction()
{
    vcl::FireEvent(OnDestroy, this);
    const bool wasActive = active_ || (Screen && Screen->activeForm_ == this);
    ForgetForm();
    TWinControl::BeforeDestruction();
    if (wasActive)
        ActivateNextForm(this);
}

void TCustomForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Style &= ~(WS_CHILD | WS_CAPTION | WS_THICKFRAME);
    params.Style |= WS_POPUP | WS_CLIPCHILDREN;
    switch (BorderStyle) {
    case bsNone: break;
    case bsSingle:
    case bsDialog: params.Style |= WS_CAPTION; break;
    case bsToolWindow: params.Style |= WS_CAPTION; params.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeable: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsSizeToolWin: params.Style |= WS_CAPTION | WS_THICKFRAME; params.ExStyle |= WS_EX_TOOLWINDOW; break;
    }
    if (FormStyle == fsStayOnTop)
        params.ExStyle |= WS_EX_TOPMOST;
    params.WndParent = nullptr;
}

void TCustomForm::VisibleChanging()
{
    if (FormState.Contains(fsModal) && Visible())
        throw rtl::EInvalidOperation("Cannot change Visible in OnShow or OnHide");
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
    // A window made not to take the activation (WS_EX_NOACTIVATE) shows without it.
    if (Peer() && !Peer()->testAttribute(Qt::WA_ShowWithoutActivating))
        Peer()->activateWindow();
}

void TCustomForm::Close()
{
    if (FormState.Contains(fsModal)) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = Application->MainForm == this ? caFree : caHide;
    const auto alive = AliveToken();
    DoClose(action);
    if (alive.expired() || !*alive.lock())
        return;
    if (action == caNone)
        return;
    if (Application->MainForm == this) {
        Application->Terminate();
        Hide();
        return;
    }
    if (action == caHide || action == caMinimize)
        Hide();
    else if (action == caFree)
        Release();
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    vcl::FireEvent(OnCloseQuery, this, canClose);
    return canClose;
}

void TCustomForm::Release() { vcl::PostMessage(Handle(), CM_RELEASE); }

void TCustomForm::CloseModal()
{
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        modalResult_ = mrNone;
    else if (action == caFree)
        Release();
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || FormState.Contains(fsModal))
        throw rtl::EInvalidOperation("Cannot make a visible window modal");
    // The mouse belongs to nobody while a modal window opens.
    if (HWND cap = GetCapture()) {
        vcl::SendMessage(cap, WM_CANCELMODE);
        ReleaseCapture();
    }
    const auto alive = AliveToken();
    FormState.Include(fsModal);
    ++Application->modalLevel_;
    std::vector<std::pair<TCustomForm*, std::weak_ptr<bool>>> disabled;
    for (TCustomForm* f : std::vector<TCustomForm*>(Screen->forms_)) {
        if (f != this && f->Visible() && f->Enabled()) {
            disabled.push_back({f, f->AliveToken()});
            f->SetEnabled(false);
        }
    }
    auto restore = [&] {
        for (auto& [f, token] : disabled)
            if (auto a = token.lock(); a && *a)
                f->SetEnabled(true);
        --Application->modalLevel_;
    };
    try {
        Show();
        modalResult_ = mrNone;
        QEventLoop loop;
        for (;;) {
            if (alive.expired() || !*alive.lock() || Application->Terminated())
                break;
            if (modalResult_ != mrNone) {
                CloseModal();
                if (modalResult_ != mrNone)
                    break;
            }
            vcl::GuardQtEntry(this, [&] { loop.processEvents(QEventLoop::WaitForMoreEvents); });
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (alive.expired() || !*alive.lock()) {
        // Freed or deleted inside its own loop: the forms it disabled were no candidates for the
        // activation then; now that they take input again, one of them gets it.
        if (Screen && !Screen->ActiveForm())
            ActivateNextForm(nullptr);
        return mrCancel;
    }
    FormState.Exclude(fsModal);
    const TModalResult result = modalResult_;
    Hide();
    return result;
}

// ---------------------------------------------------------------------------------------------
void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control && (!ContainsControl(control) || control == this))
        throw rtl::EInvalidOperation("Invalid active control");
    activeControl_.Set(control);
    if (control && active_ && control->CanFocus())
        ::SetFocus(control->Handle());
}

void TCustomForm::FocusControl(TWinControl* control)
{
    if (!control->CanFocus())
        throw rtl::EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_.Set(control);
    if (Visible())
        ::SetFocus(control->Handle());
}

bool TCustomForm::SetFocusedControl(TWinControl* control)
{
    ++focusCount_;
    const int count = focusCount_;
    activeControl_.Set(control != this ? control : nullptr);
    Screen->activeForm_ = this;
    if (control->ControlState.Contains(csFocusing))
        return true;
    control->ControlState.Include(csFocusing);
    // The mark goes however the walk ends: a CM_EXIT that raises (a refused validation) must not
    // leave the target marked, or every later focus move to it would skip the walk.
    struct FocusingMark {
        TWinControl* control;
        std::weak_ptr<bool> alive;
        ~FocusingMark()
        {
            if (auto a = alive.lock(); a && *a)
                control->ControlState.Exclude(csFocusing);
        }
    } mark{control, control->AliveToken()};
    // A handler that moved the focus elsewhere ends the walk.
    auto send = [&](TWinControl* target, UINT msg) {
        target->Perform(msg);
        return focusCount_ == count;
    };
    TWinControl* focused = focusedControl_.Get();
    if (!focused)
        focused = this;
    while (focused && focused != control && !focused->ContainsControl(control)) {
        TWinControl* next = focused->Parent();
        focusedControl_.Set(next);
        if (!send(focused, CM_EXIT))
            return false;
        focused = next;
    }
    while (focused != control) {
        TControl* step = control;
        while (step->Parent() != focused)
            step = step->Parent();
        auto* w = static_cast<TWinControl*>(step);
        focusedControl_.Set(w);
        focused = w;
        if (!send(w, CM_ENTER))
            return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    return true;
}

void TCustomForm::SetWindowFocus()
{
    TWinControl* target = activeControl_.Get();
    if (target && !target->CanFocus())
        target = nullptr;
    ::SetFocus(target ? target->Handle() : Handle());
}

// ---------------------------------------------------------------------------------------------
void TCustomForm::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_ACTIVATE: return HandleActivate(m);
    case WM_CLOSE: Close(); return;
    case WM_SHOWWINDOW:
        if (m.WParam) {
            FormState.Include(fsShowing);
            DoShow();
            FormState.Exclude(fsShowing);
        } else {
            DoHide();
        }
        return;
    case CM_ACTIVATE: Activate(); return;
    case CM_DEACTIVATE: Deactivate(); return;
    case CM_DIALOGKEY: return HandleDialogKey(m);
    case CM_RELEASE: Free(); return;
    case WM_SETFOCUS:
        // The form itself got the focus: pass it on to its active control.
        if (TWinControl* a = activeControl_.Get(); a && a->CanFocus())
            ::SetFocus(a->Handle());
        else
            SetFocusedControl(this);
        return;
    default: TWinControl::Dispatch(m);
    }
}

void TCustomForm::HandleActivate(TMessage& m)
{
    const bool activating = LoWord(m.WParam) != WA_INACTIVE;
    if (activating == active_)
        return;
    active_ = activating;
    if (activating) {
        Screen->activeForm_ = this;
        FormState.Include(fsActivated);
        Perform(CM_ACTIVATE);
        SetWindowFocus();
    } else {
        Perform(CM_DEACTIVATE);
    }
}

void TCustomForm::HandleDialogKey(TMessage& m)
{
    if (vcl::System().GetKeyState(VK_MENU) >= 0) {
        const auto key = std::uint16_t(m.WParam);
        if (key == VK_TAB && vcl::System().GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(activeControl_.Get(), vcl::System().GetKeyState(VK_SHIFT) >= 0, true);
            m.Result = 1;
            return;
        }
        if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
            if (TWinControl* a = activeControl_.Get()) {
                a->Parent()->SelectNext(a, key == VK_RIGHT || key == VK_DOWN, false);
                m.Result = 1;
            }
            return;
        }
    }
    TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------------------------------------
THintWindow::THintWindow(rtl::TComponent* owner) : TCustomControl(owner)
{
    SetVisible(false);
    SetColor(clInfoBk);
}

void THintWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
}

namespace {
constexpr unsigned HintTextFormat = gdi::DT_LEFT | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX;
// From the window's edge to the text: the one-pixel frame and two pixels of the hint's colour.
constexpr int HintMargin = 3;

// The hint's text is smoothed, as the window system draws its tool tips.
gdi::Font SmoothedFont(const TFont* font)
{
    gdi::Font f = font->GetHandle();
    f.lf.lfQuality = gdi::ANTIALIASED_QUALITY;
    return f;
}
} // namespace

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*)
{
    // Measured with the same layout that paints it.
    gdi::Surface probe(1, 1);
    gdi::Dc dc(&probe);
    gdi::SelectFont(dc, SmoothedFont(Font()));
    TRect r{0, 0, maxWidth, 0};
    gdi::DrawText(dc, hint, r, HintTextFormat | gdi::DT_CALCRECT);
    // The frame and a margin of two pixels on every side: Chinese glyphs fill their whole cell
    // and would touch the frame otherwise.
    return {0, 0, r.Right + 2 * HintMargin, r.Bottom + 2 * HintMargin};
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint)
{
    SetCaption(hint);
    SetBoundsRect(rect);
    SetVisible(true);
    Invalidate();
}

void THintWindow::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(GetClientRect());
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(GetClientRect());
    c->Font()->SetHandle(SmoothedFont(Font()));
    c->Font()->SetColor(clInfoText);
    c->RequiredState();
    HDC dc = c->GetHandle();
    gdi::SetBkMode(*dc, TRANSPARENT);
    TRect r = GetClientRect();
    r.Left += HintMargin;
    r.Top += HintMargin;
    gdi::DrawText(*dc, Caption(), r, HintTextFormat);
}

// ---------------------------------------------------------------------------------------------
TApplication::TApplication(rtl::TComponent* owner) : rtl::TComponent(owner)
{
    vcl::SetExceptionSink([this](rtl::TObject* sender) { HandleException(sender); });
    // Keys are offered to the control as CN_ notices first (dialog keys, menu short cuts).
    vcl::SetMessagePreprocessor([this](MSG& msg) {
        HintMessage(msg);
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            if (TWinControl* c = FindControl(msg.hwnd))
                return c->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
        }
        return false;
    });
    vcl::SetIdleHandler([this] { Idle(); });
}

TApplication::~TApplication() = default;

void TApplication::Run()
{
    if (MainForm)
        MainForm->Show();
    while (!terminated_)
        HandleMessage();
}

void TApplication::Terminate()
{
    terminated_ = true;
    if (auto* d = QAbstractEventDispatcher::instance())
        d->wakeUp();
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    vcl::DrainPostedMessages();
}

void TApplication::HandleMessage()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TApplication::Idle()
{
    bool done = true;
    vcl::FireEvent(OnIdle, this, done);
}

bool TApplication::Active() const { return QApplication::activeWindow() != nullptr; }

// ---- hints ----
//
// A move onto a control that has a hint (ShowHint and a non-empty Hint) starts the hint pause
// (the short pause when a hint is showing already); when it ends, the control is asked
// (CM_HINTSHOW, a non-zero answer keeps the hint away), then OnShowHint, and the hint window
// shows the text under the pointer for the hide pause. Leaving the cursor rectangle, a press or
// a key cancels it.

void TApplication::CancelHint()
{
    if (hintTimer_)
        hintTimer_->stop();
    if (hintWindow_ && hintShowing_)
        hintWindow_->SetVisible(false);
    hintShowing_ = false;
    hintHiding_ = false;
    hintControl_ = nullptr;
}

void TApplication::HintMessage(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE: break;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MOUSEWHEEL:
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
        CancelHint();
        return;
    default: return;
    }
    TControl* control = vcl::input::MouseControl();
    const TPoint screen{msg.ptX, msg.ptY};
    const bool sameControl = control && control == hintControl_ && !hintControlAlive_.expired();
    if (sameControl) {
        const TPoint p = control->ScreenToClient(screen);
        if (p.X >= hintCursorRect_.Left && p.X < hintCursorRect_.Right && p.Y >= hintCursorRect_.Top &&
            p.Y < hintCursorRect_.Bottom)
            return;
    }
    const bool wasShowing = hintShowing_;
    CancelHint();
    // A control without a hint of its own is asked too: CM_HINTSHOW may supply one for the part
    // under the pointer (an editor's button).
    if (!ShowHint || !control || !control->ShowHint)
        return;
    hintControl_ = control;
    hintControlAlive_ = control->AliveToken();
    hintCursor_ = screen;
    hintCursorRect_ = control->GetClientRect();
    if (!hintTimer_) {
        hintTimer_ = new QTimer;
        hintTimer_->setSingleShot(true);
        QObject::connect(hintTimer_, &QTimer::timeout, [this] { vcl::GuardQtEntry(this, [this] { HintTimerExpired(); }); });
    }
    hintTimer_->start(wasShowing ? HintShortPause : HintPause);
}

void TApplication::HintTimerExpired()
{
    if (hintHiding_) {
        CancelHint();
        return;
    }
    auto alive = hintControlAlive_.lock();
    if (hintControl_ && alive && *alive)
        ShowHintFor(hintControl_);
}

void TApplication::ShowHintFor(TControl* control)
{
    THintInfo info;
    info.HintControl = control;
    info.HintWindowClass = HintWindowClass ? HintWindowClass : THintWindowClass::Of<THintWindow>();
    // Below the pointer, clear of the cursor's picture.
    info.HintPos = {hintCursor_.X, hintCursor_.Y + 20};
    info.HintMaxWidth = Screen->Width();
    info.HintColor = HintColor;
    info.CursorRect = control->GetClientRect();
    info.CursorPos = control->ScreenToClient(hintCursor_);
    info.HideTimeout = HintHidePause;
    info.HintStr = control->Hint;
    const auto alive = control->AliveToken();
    if (control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0 || alive.expired() || !*alive.lock())
        return;
    // The part the control named: leaving it asks again, even when it has no hint.
    hintCursorRect_ = info.CursorRect;
    bool canShow = true;
    vcl::FireEvent(OnShowHint, info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty() || alive.expired() || !*alive.lock())
        return;
    if (!hintWindow_ || &hintWindow_->ClassType() != info.HintWindowClass.Meta()) {
        if (hintWindow_)
            hintWindow_->Free();
        hintWindow_ = info.HintWindowClass.Create(this);
    }
    hintWindow_->SetColor(info.HintColor);
    TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    r = {r.Left + info.HintPos.X, r.Top + info.HintPos.Y, r.Right + info.HintPos.X, r.Bottom + info.HintPos.Y};
    hintCursorRect_ = info.CursorRect;
    hintWindow_->ActivateHintData(r, info.HintStr, info.HintData);
    hintShowing_ = true;
    if (info.HideTimeout > 0) {
        hintHiding_ = true;
        hintTimer_->start(info.HideTimeout);
    }
}

void TApplication::HandleException(rtl::TObject* sender)
{
    try {
        throw;
    } catch (const rtl::EAbort&) {
        return;
    } catch (rtl::Exception& e) {
        if (OnException.Assigned())
            OnException(sender, e);
        else
            ShowException(e);
    } catch (const std::exception& e) {
        rtl::Exception wrapped(e.what());
        if (OnException.Assigned())
            OnException(sender, wrapped);
        else
            ShowException(wrapped);
    } catch (...) {
        rtl::Exception wrapped("Unknown exception");
        if (OnException.Assigned())
            OnException(sender, wrapped);
        else
            ShowException(wrapped);
    }
}

void TApplication::ShowException(const rtl::Exception& e)
{
    std::string text = e.Message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    if (notifier_) {
        notifier_(text, Title);
        return;
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QMessageBox::critical(nullptr, QString::fromStdString(Title), QString::fromStdString(text));
    else
        qCWarning(lcVclMsg) << text.c_str();
}

TMessageNotifier TApplication::SetMessageNotifier(TMessageNotifier notifier)
{
    std::swap(notifier_, notifier);
    return notifier;
}

// ---------------------------------------------------------------------------------------------
TScreen::TScreen(rtl::TComponent* owner) : rtl::TComponent(owner) {}
TScreen::~TScreen() = default;

namespace {
vcl::TMonitorInfo PrimaryMonitor()
{
    for (const auto& m : vcl::System().Monitors())
        if (m.Primary)
            return m;
    return vcl::System().MonitorFromPoint({0, 0});
}
} // namespace

int TScreen::Width() const { return PrimaryMonitor().Bounds.Width(); }
int TScreen::Height() const { return PrimaryMonitor().Bounds.Height(); }
TRect TScreen::WorkAreaRect() const { return PrimaryMonitor().WorkArea; }

TRect TScreen::DesktopRect() const
{
    const auto all = vcl::System().Monitors();
    if (all.empty())
        return PrimaryMonitor().Bounds;
    TRect r = all.front().Bounds;
    for (const auto& m : all) {
        r.Left = std::min(r.Left, m.Bounds.Left);
        r.Top = std::min(r.Top, m.Bounds.Top);
        r.Right = std::max(r.Right, m.Bounds.Right);
        r.Bottom = std::max(r.Bottom, m.Bounds.Bottom);
    }
    return r;
}

int TScreen::MonitorCount() const { return std::max<int>(1, int(vcl::System().Monitors().size())); }

TMonitor TScreen::Monitors(int index) const
{
    const auto all = vcl::System().Monitors();
    if (index < 0 || index >= int(all.size())) {
        const auto p = PrimaryMonitor();
        return {0, p.Bounds, p.WorkArea, true};
    }
    const auto& m = all[std::size_t(index)];
    return {index, m.Bounds, m.WorkArea, m.Primary};
}

TMonitor TScreen::MonitorFromPoint(const TPoint& p) const
{
    const auto m = vcl::System().MonitorFromPoint(p);
    const auto all = vcl::System().Monitors();
    int num = 0;
    for (int i = 0; i < int(all.size()); ++i)
        if (all[std::size_t(i)].Bounds == m.Bounds)
            num = i;
    return {num, m.Bounds, m.WorkArea, m.Primary};
}

namespace {
Qt::CursorShape ShapeOf(TCursor c)
{
    switch (c) {
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crAppStart: return Qt::BusyCursor;
    case crNo: case crNoDrop: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crNone: return Qt::BlankCursor;
    default: return Qt::ArrowCursor;
    }
}
} // namespace

HCURSOR TScreen::Cursors(TCursor id) const
{
    for (const auto& [k, h] : cursors_)
        if (k == id)
            return h;
    // Dragging moves: the arrow with a box, not Qt's copy cursor.
    if (id == crDrag || id == crMultiDrag)
        return vcl::DragCursor(id == crMultiDrag, false);
    return vcl::CursorHandleOfShape(ShapeOf(id));
}

void TScreen::SetCursors(TCursor id, HCURSOR cursor)
{
    for (auto& [k, h] : cursors_)
        if (k == id) {
            h = cursor;
            return;
        }
    cursors_.push_back({id, cursor});
}

void TScreen::SetCursor(TCursor c)
{
    if (c == cursor_)
        return;
    const bool hadOverride = cursor_ != crDefault;
    cursor_ = c;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (hadOverride)
        QApplication::restoreOverrideCursor();
    if (c != crDefault)
        QApplication::setOverrideCursor(vcl::CursorOf(Cursors(c)));
}

TCustomForm* TScreen::ActiveCustomForm() const
{
    return std::find(forms_.begin(), forms_.end(), activeForm_) != forms_.end() ? activeForm_ : nullptr;
}

TWinControl* TScreen::ActiveControl() const
{
    TCustomForm* f = ActiveCustomForm();
    return f ? f->ActiveControl() : nullptr;
}

void TMouse::SetCapture(HWND wnd)
{
    if (wnd)
        ::SetCapture(wnd);
    else
        ReleaseCapture();
}
