#include "platform/vcl/ControlHost.h"

#include "platform/vcl/Input.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"
#include "platform/vcl/SystemFacade.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace vcl {

namespace {

// The form under the hosted controls: keys its controls leave to it go back to Qt.
class THostForm : public TCustomForm {
    RTL_CLASS(THostForm, TCustomForm)
    THostForm(rtl::TComponent* owner, TControlHost* host) : TCustomForm(owner), host_(host) { BorderStyle = bsNone; }

protected:
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CM_DIALOGKEY && PassedToQt(m))
            return;
        TCustomForm::Dispatch(m);
    }

private:
    bool PassedToQt(TMessage& m)
    {
        auto& sys = System();
        if (sys.GetKeyState(VK_MENU) < 0 || sys.GetKeyState(VK_CONTROL) < 0)
            return false;
        const bool shift = sys.GetKeyState(VK_SHIFT) < 0;
        switch (std::uint16_t(m.WParam)) {
        case VK_TAB: host_->FocusNextQtWidget(!shift); break;
        case VK_RETURN: host_->PassKeyToQt(Qt::Key_Return, Qt::NoModifier); break;
        case VK_ESCAPE: host_->PassKeyToQt(Qt::Key_Escape, Qt::NoModifier); break;
        default: return false;
        }
        m.Result = 1;
        return true;
    }
    TControlHost* host_;
};

bool TakesTabFocus(const QWidget* w)
{
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

} // namespace

TControlHost::TControlHost(QWidget* parent) : QWidget(parent)
{
    // The host stands in Qt's focus chain for the control; the peers themselves take no Qt focus.
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    form_ = new THostForm(nullptr, this);
    form_->SetBounds(0, 0, std::max(1, width()), std::max(1, height()));
    form_->HandleNeeded();
    // The form's window becomes a plain child of the host: no frame, no activation of its own.
    form_->Peer()->setParent(this, Qt::Widget);
    form_->Peer()->move(0, 0);
    // Visible from the start (shown whenever the host is), so that controls put on it show too.
    form_->SetVisible(true);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        GuardQtEntry(form_, [&] { QtFocusChanged(old, now); });
    });
}

TControlHost::~TControlHost()
{
    disconnect(qApp, nullptr, this, nullptr);
    if (LayerFocusInside())
        ::SetFocus(nullptr);
    TCustomForm* form = form_;
    form_ = nullptr;
    control_ = nullptr;
    form->Free();
}

void TControlHost::SetControl(TWinControl* control)
{
    control_ = control;
    controlAlive_ = control ? control->AliveToken() : std::weak_ptr<bool>();
    if (!control)
        return;
    control->SetParent(form_);
    control->SetBounds(0, 0, form_->Width(), form_->Height());
    form_->SetActiveControl(control);
}

bool TControlHost::Holds(const QWidget* w) const
{
    return w && (w == this || isAncestorOf(w));
}

bool TControlHost::LayerFocusInside() const
{
    TWinControl* focused = FindControl(::GetFocus());
    return form_ && focused && (focused == form_ || form_->ContainsControl(focused));
}

void TControlHost::FocusControl()
{
    if (controlAlive_.expired() || !control_ || !control_->CanFocus())
        return;
    // The focus moves inside the form: the control's window and then the enter notices. When
    // the layer's focus is there already (the form's activation put it there), Qt's still has
    // to reach the window that takes the keys.
    ::SetFocus(control_->Handle());
    if (TWidgetPeer* peer = PeerOf(::GetFocus()); peer && Holds(peer) && !peer->hasFocus())
        peer->setFocus(Qt::OtherFocusReason);
}

void TControlHost::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    GuardQtEntry(form_, [&] { FocusControl(); });
}

void TControlHost::QtFocusChanged(QWidget* old, QWidget* now)
{
    // Only a move to a plain widget of the host's own window leaves the control; another window
    // taking the focus (a message box, a popup of ours) is the form's deactivation instead.
    if (!now || Holds(now) || now->window() != window() || dynamic_cast<TWidgetPeer*>(now) || !LayerFocusInside())
        return;
    ::SetFocus(nullptr);
    if (form_->FocusedControl() && form_->FocusedControl() != form_)
        form_->SetFocusedControl(form_);
}

bool TControlHost::FocusNextQtWidget(bool forward)
{
    QWidget* w = this;
    if (forward) {
        // The chain runs through the host's children right after the host.
        while (Holds(w->nextInFocusChain()) && w->nextInFocusChain() != this)
            w = w->nextInFocusChain();
    }
    for (QWidget* start = w;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w == start || w == this)
            return false;
        if (!Holds(w) && w->window() == window() && TakesTabFocus(w)) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
}

void TControlHost::PassKeyToQt(int qtKey, Qt::KeyboardModifiers mods)
{
    if (!parentWidget())
        return;
    QKeyEvent press(QEvent::KeyPress, qtKey, mods);
    QApplication::sendEvent(parentWidget(), &press);
}

void TControlHost::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    GuardQtEntry(form_, [&] {
        form_->SetBounds(0, 0, width(), height());
        if (control_ && !controlAlive_.expired())
            control_->SetBounds(0, 0, width(), height());
    });
}

void TControlHost::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    WatchWindow();
    GuardQtEntry(form_, [&] {
        form_->Peer()->show();
        if (isActiveWindow())
            Activation(true);
        // Qt may have given the host its focus before the control's window was showing.
        if (hasFocus())
            FocusControl();
    });
}

bool TControlHost::eventFilter(QObject* watched, QEvent* e)
{
    // The window's own activation events; its children are not told of them.
    if (watched == watchedWindow_ && form_ &&
        (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate))
        GuardQtEntry(form_, [&] { Activation(e->type() == QEvent::WindowActivate); });
    return QWidget::eventFilter(watched, e);
}

void TControlHost::WatchWindow()
{
    if (watchedWindow_ == window())
        return;
    if (watchedWindow_)
        watchedWindow_->removeEventFilter(this);
    watchedWindow_ = window();
    if (watchedWindow_ != this)
        watchedWindow_->installEventFilter(this);
}

void TControlHost::Activation(bool active)
{
    if (active == form_->Active() || !form_->Peer())
        return;
    // The form's activation puts the layer's focus on its active control; when Qt's focus is on
    // a widget of the window outside the host, it stays there.
    QPointer<QWidget> qtFocus = window()->focusWidget();
    input::WindowActivation(form_->Peer(), active);
    if (active && qtFocus && !Holds(qtFocus) && qtFocus->isVisible())
        qtFocus->setFocus(Qt::ActiveWindowFocusReason);
}

} // namespace vcl
