#include "platform/vcl/Peer.h"

#include "platform/vcl/Desktop.h"
#include "platform/vcl/Caret.h"
#include "platform/vcl/Input.h"
#include "platform/vcl/MessageQueue.h"

#include <QApplication>
#include <QCloseEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>

namespace vcl {

TWidgetPeer::TWidgetPeer(TWinControl* control, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), control_(control)
{
    // We paint every pixel ourselves; Qt's focus follows ours, never the other way round.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    EnsureDesktop();
    // Every window takes input-method text, as every window of the system has an input context.
    setAttribute(Qt::WA_InputMethodEnabled);
}

TWidgetPeer::~TWidgetPeer() = default;

void SetPeerRegion(QWidget* peer, const QRegion& region)
{
    if (!peer)
        return;
    peer->setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
}

void TWidgetPeer::Detach()
{
    control_ = nullptr;
    // Children of a detached peer belong to controls whose windows are gone as well.
    hide();
}

void TWidgetPeer::SetGeometryQuietly(const QRect& r)
{
    const bool old = quiet_;
    quiet_ = true;
    setGeometry(r);
    quiet_ = old;
}

void TWidgetPeer::SetVisibleQuietly(bool visible)
{
    const bool old = quiet_;
    quiet_ = true;
    setVisible(visible);
    quiet_ = old;
}

void TWidgetPeer::ShowSurface(const QRect& r)
{
    presentOnly_ += r;
    update(r);
}

void TWidgetPeer::InvalidateArea(const QRect& r)
{
    presentOnly_ -= r;
    update(r);
}

bool TWidgetPeer::event(QEvent* e)
{
    if (!control_)
        return QWidget::event(e);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        GuardQtEntry(control_, [&] { input::MouseEvent(this, static_cast<QMouseEvent*>(e)); });
        return true;
    case QEvent::Wheel:
        GuardQtEntry(control_, [&] { input::WheelEvent(this, static_cast<QWheelEvent*>(e)); });
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        GuardQtEntry(control_, [&] { input::KeyEvent(this, static_cast<QKeyEvent*>(e)); });
        return true;
    case QEvent::InputMethod:
        GuardQtEntry(control_, [&] { input::InputMethodEvent(this, static_cast<QInputMethodEvent*>(e)); });
        return true;
    case QEvent::ShortcutOverride:
        // Every key goes through our pipeline; Qt's shortcuts do not take it first.
        e->accept();
        return true;
    case QEvent::Leave:
        GuardQtEntry(control_, [&] { input::PointerLeftWindow(this); });
        return true;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (isWindow())
            GuardQtEntry(control_, [&] { input::WindowActivation(this, e->type() == QEvent::WindowActivate); });
        return true;
    default:
        return QWidget::event(e);
    }
}

void TWidgetPeer::paintEvent(QPaintEvent* e)
{
    if (!control_)
        return;
    const QRect r = e->rect();
    const QRect paint = (e->region() - presentOnly_).boundingRect();
    presentOnly_ = QRegion();
    if (!paint.isEmpty())
        GuardQtEntry(control_, [&] {
            control_->PaintFromPeer({paint.left(), paint.top(), paint.right() + 1, paint.bottom() + 1});
        });
    if (!control_)
        return;
    const gdi::Surface& s = control_->Surface();
    if (s.IsEmpty())
        return;
    // The top byte of our pixels is data, not opacity: shown as RGB32 the window is opaque.
    const QImage& img = s.Image();
    const QImage opaque(img.constBits(), img.width(), img.height(), img.bytesPerLine(), QImage::Format_RGB32);
    // On a screen of device pixel ratio 2 each pixel of ours is a block of 2 x 2 device pixels:
    // copied, never smoothed, so lines and text edges stay sharp.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(r, opaque, r);
    if (control_->HandleAllocated())
        caret::Paint(control_->Handle(), painter);
}

QVariant TWidgetPeer::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return control_ != nullptr;
    case Qt::ImCursorRectangle: {
        // The candidate window goes where the control's caret is.
        TRect r;
        if (control_ && control_->HandleAllocated() && caret::CaretRect(control_->Handle(), r))
            return QRect(r.Left, r.Top, r.Width(), r.Height());
        return QRect(0, 0, 1, height());
    }
    default:
        return QWidget::inputMethodQuery(query);
    }
}

void TWidgetPeer::closeEvent(QCloseEvent* e)
{
    // Closing is the form's decision (close query, close action), taken through WM_CLOSE.
    e->ignore();
    if (control_ && control_->HandleAllocated()) {
        HWND wnd = control_->Handle();
        GuardQtEntry(control_, [&] { SendMessage(wnd, WM_CLOSE); });
    }
}

void TWidgetPeer::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    if (!control_ || quiet_ || !isWindow())
        return;
    const QRect g = geometry();
    GuardQtEntry(control_, [&] {
        control_->SetBounds(g.x(), g.y(), g.width(), g.height());
    });
}

void TWidgetPeer::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!control_ || quiet_ || !isWindow())
        return;
    const QRect g = geometry();
    GuardQtEntry(control_, [&] {
        control_->SetBounds(g.x(), g.y(), g.width(), g.height());
    });
}

TWidgetPeer* PeerOf(HWND wnd)
{
    TWinControl* c = FindControl(wnd);
    return c ? c->Peer() : nullptr;
}

namespace {
TWidgetPeer* LivePeerAbove(QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        auto* p = dynamic_cast<TWidgetPeer*>(w);
        if (p && p->Control())
            return p;
    }
    return nullptr;
}
} // namespace

TWidgetPeer* PeerAt(const TPoint& screen)
{
    const QPoint g(screen.X, screen.Y);
    auto probe = [&](QWidget* top) -> TWidgetPeer* {
        if (!top || !top->isVisible() || top->testAttribute(Qt::WA_TransparentForMouseEvents) ||
            !top->geometry().contains(g))
            return nullptr;
        QWidget* child = top->childAt(top->mapFromGlobal(g));
        return LivePeerAbove(child ? child : top);
    };
    // Windows that stay on top (popups, hints) lie above the active window.
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget* top : tops)
        if (top->windowType() == Qt::ToolTip || top->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            if (TWidgetPeer* p = probe(top))
                return p;
    if (TWidgetPeer* p = probe(QApplication::activeWindow()))
        return p;
    for (QWidget* top : tops)
        if (TWidgetPeer* p = probe(top))
            return p;
    return nullptr;
}

} // namespace vcl
