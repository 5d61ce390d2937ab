#include "platform/vcl/Caret.h"

#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QPainter>
#include <QTimer>

namespace {

struct CaretState {
    HWND owner = nullptr;
    int width = 1;
    int height = 0;
    TPoint pos;
    int hideLevel = 1; // created hidden
    bool phaseOn = true;
    unsigned blinkMs = 530;
    QTimer* timer = nullptr;
};

CaretState& C()
{
    static CaretState s;
    return s;
}

bool Owns(HWND wnd) { return wnd && C().owner == wnd && vcl::IsWindow(wnd); }

void Repaint()
{
    auto& c = C();
    if (!Owns(c.owner))
        return;
    if (vcl::TWidgetPeer* p = vcl::PeerOf(c.owner))
        p->update(QRect(c.pos.X, c.pos.Y, c.width, c.height));
}

void Restart()
{
    auto& c = C();
    c.phaseOn = true;
    if (!c.timer) {
        c.timer = new QTimer();
        QObject::connect(c.timer, &QTimer::timeout, [] {
            C().phaseOn = !C().phaseOn;
            Repaint();
        });
    }
    if (c.owner && c.hideLevel == 0 && c.blinkMs > 0)
        c.timer->start(int(c.blinkMs));
    else
        c.timer->stop();
}

void TellInputMethod()
{
    auto& c = C();
    if (c.owner && GetFocus() == c.owner && QGuiApplication::instance())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

} // namespace

bool CreateCaret(HWND wnd, void*, int width, int height)
{
    if (!vcl::IsWindow(wnd))
        return false;
    DestroyCaret();
    auto& c = C();
    c.owner = wnd;
    c.width = width > 0 ? width : 1;
    c.height = height > 0 ? height : 1;
    c.pos = {0, 0};
    c.hideLevel = 1;
    Restart();
    return true;
}

bool DestroyCaret()
{
    auto& c = C();
    if (!c.owner)
        return false;
    Repaint();
    c.owner = nullptr;
    c.hideLevel = 1;
    Restart();
    return true;
}

bool SetCaretPos(int x, int y)
{
    auto& c = C();
    if (!Owns(c.owner))
        return false;
    Repaint();
    c.pos = {x, y};
    Restart();
    Repaint();
    TellInputMethod();
    return true;
}

bool GetCaretPos(TPoint* point)
{
    if (!point || !Owns(C().owner))
        return false;
    *point = C().pos;
    return true;
}

bool ShowCaret(HWND wnd)
{
    auto& c = C();
    if (!Owns(c.owner) || (wnd && wnd != c.owner) || c.hideLevel == 0)
        return false;
    --c.hideLevel;
    Restart();
    Repaint();
    return true;
}

bool HideCaret(HWND wnd)
{
    auto& c = C();
    if (!Owns(c.owner) || (wnd && wnd != c.owner))
        return false;
    ++c.hideLevel;
    Restart();
    Repaint();
    return true;
}

unsigned GetCaretBlinkTime() { return C().blinkMs; }

bool SetCaretBlinkTime(unsigned ms)
{
    C().blinkMs = ms;
    Restart();
    return true;
}

namespace vcl::caret {

bool CaretRect(HWND wnd, TRect& r)
{
    auto& c = C();
    if (!Owns(wnd))
        return false;
    r = {c.pos.X, c.pos.Y, c.pos.X + c.width, c.pos.Y + c.height};
    return true;
}

void Paint(HWND wnd, QPainter& painter)
{
    auto& c = C();
    if (!Owns(wnd) || c.hideLevel > 0 || !c.phaseOn)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(QRect(c.pos.X, c.pos.Y, c.width, c.height), Qt::white);
    painter.restore();
}

} // namespace vcl::caret
