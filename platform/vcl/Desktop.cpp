#include "platform/vcl/Desktop.h"

#include "platform/vcl/Forms.h"
#include "platform/vcl/Input.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <deque>
#include <memory>

namespace vcl {

namespace {

// Handles below this are Qt cursor shapes (plus one, so that no shape is null).
constexpr std::uintptr_t ShapeHandleLimit = std::uintptr_t(Qt::LastCursor) + 2;

struct DesktopState {
    bool installed = false;
    bool appActive = true;
    HCURSOR cursor = nullptr;
    HWND cursorWindow = nullptr;
    TPoint mousePoint;
    QPointer<QWidget> grabbed;
    std::deque<std::unique_ptr<QCursor>> cursors;
    HCURSOR dragCursors[4] = {};
    // The last mouse event handled: Qt hands a press that no widget takes to the parents too.
    QEvent::Type lastType = QEvent::None;
    quint64 lastTimestamp = 0;
    QPointF lastPos;
};

DesktopState& D()
{
    static DesktopState d;
    return d;
}

TWidgetPeer* LivePeerAbove(QObject* o)
{
    for (auto* w = qobject_cast<QWidget*>(o); w; w = w->parentWidget())
        if (auto* p = dynamic_cast<TWidgetPeer*>(w); p && p->Control())
            return p;
    return nullptr;
}

HWND HandleOf(TWidgetPeer* p)
{
    return p && p->Control() && p->Control()->HandleAllocated() ? p->Control()->Handle() : nullptr;
}

UINT MouseMessageOf(const QMouseEvent* e)
{
    const bool press = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick;
    switch (e->button()) {
    case Qt::LeftButton: return press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case Qt::RightButton: return press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case Qt::MiddleButton: return press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return WM_MOUSEMOVE;
    }
}

bool FilterMouse(QWidget* w, QMouseEvent* e)
{
    auto& d = D();
    if (e->type() == d.lastType && e->timestamp() == d.lastTimestamp && e->globalPosition() == d.lastPos)
        return false;
    d.lastType = e->type();
    d.lastTimestamp = e->timestamp();
    d.lastPos = e->globalPosition();
    // Our own windows turn their input into messages themselves.
    if (auto* p = dynamic_cast<TWidgetPeer*>(w); p && p->Control())
        return false;
    bool eaten = false;
    if (HWND capture = ::GetCapture()) {
        // Input of the capture window's own inner widgets stays theirs.
        TWidgetPeer* cp = PeerOf(capture);
        if (cp && (w == cp || cp->isAncestorOf(w)))
            return false;
        GuardQtEntry(nullptr, [&] { input::MouseEvent(nullptr, e); });
        return true;
    }
    if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
        const QPoint g = e->globalPosition().toPoint();
        MOUSEHOOKSTRUCT mh{g.x(), g.y(), HandleOf(LivePeerAbove(w)), HTCLIENT, 0};
        GuardQtEntry(nullptr, [&] { eaten = CallMouseHooks(MouseMessageOf(e), mh); });
    }
    return eaten;
}

bool FilterKey(QWidget* w, QKeyEvent* e)
{
    // A key goes to the focus widget first, then up its parents: the hooks see it once.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus != w)
        return false;
    const bool release = e->type() == QEvent::KeyRelease;
    LPARAM keyData = 1;
    if (e->modifiers() & Qt::AltModifier)
        keyData |= LPARAM(1) << 29;
    if (release)
        keyData |= LPARAM(3) << 30;
    std::uint16_t vk = input::VirtualKeyOf(e->key());
    if (vk == 0)
        vk = std::uint16_t(e->nativeVirtualKey() & 0xFF);
    bool eaten = false;
    GuardQtEntry(nullptr, [&] { eaten = CallKeyboardHooks(vk, keyData); });
    return eaten;
}

void SettingsChanged();

class DesktopFilter : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::ApplicationFontChange && o == QCoreApplication::instance()) {
            SettingsChanged();
            return false;
        }
        if (!o->isWidgetType())
            return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: return FilterMouse(static_cast<QWidget*>(o), static_cast<QMouseEvent*>(e));
        case QEvent::KeyPress:
        case QEvent::KeyRelease: return FilterKey(static_cast<QWidget*>(o), static_cast<QKeyEvent*>(e));
        default: return false;
        }
    }
};

// Every top-level window of ours gets the message: the windows without a parent (forms, hints,
// popups) and the hidden message windows, oldest first.
void SendToTopLevels(UINT msg, WPARAM wParam, LPARAM lParam)
{
    for (HWND wnd : RegisteredWindows()) {
        rtl::TObject* owner = WindowOwner(wnd);
        auto* c = dynamic_cast<TWinControl*>(owner);
        if (owner && (!c || c->Parent()))
            continue;
        SendMessage(wnd, msg, wParam, lParam);
    }
}

void ApplicationStateChanged(Qt::ApplicationState state)
{
    const bool active = state == Qt::ApplicationActive;
    auto& d = D();
    if (active == d.appActive)
        return;
    d.appActive = active;
    GuardQtEntry(Application, [&] {
        if (!active)
            if (HWND capture = ::GetCapture())
                SendMessage(capture, WM_CANCELMODE);
        SendToTopLevels(WM_ACTIVATEAPP, active ? 1 : 0, 0);
        FireEvent(active ? Application->OnActivate : Application->OnDeactivate, Application);
    });
}

void UpdatePixelsPerInch()
{
    if (QScreen* s = QGuiApplication::primaryScreen())
        Screen->PixelsPerInch = qRound(s->logicalDotsPerInch());
}

void SettingsChanged()
{
    UpdatePixelsPerInch();
    GuardQtEntry(nullptr, [] { SendToTopLevels(WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0); });
}

void WatchScreen(QScreen* s)
{
    QObject::connect(s, &QScreen::logicalDotsPerInchChanged, s, [] { SettingsChanged(); });
    QObject::connect(s, &QScreen::geometryChanged, s, [] { SettingsChanged(); });
}

} // namespace

void EnsureDesktop()
{
    auto& d = D();
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (d.installed || !app)
        return;
    d.installed = true;
    app->installEventFilter(new DesktopFilter);
    d.appActive = QGuiApplication::applicationState() == Qt::ApplicationActive;
    UpdatePixelsPerInch();
    QObject::connect(app, &QGuiApplication::applicationStateChanged, app, &ApplicationStateChanged);
    for (QScreen* s : QGuiApplication::screens())
        WatchScreen(s);
    QObject::connect(app, &QGuiApplication::screenAdded, app, [](QScreen* s) {
        WatchScreen(s);
        SettingsChanged();
    });
    QObject::connect(app, &QGuiApplication::screenRemoved, app, [] { SettingsChanged(); });
    QObject::connect(app, &QObject::destroyed, [] { D() = DesktopState{}; });
}

bool ApplicationActive() { return D().appActive; }

// ---------------------------------------------------------------------------------------------
HCURSOR CursorHandleOfShape(int shape) { return reinterpret_cast<HCURSOR>(std::uintptr_t(shape) + 1); }

HCURSOR CursorHandleOf(const QCursor& cursor)
{
    if (cursor.shape() != Qt::BitmapCursor)
        return CursorHandleOfShape(cursor.shape());
    auto& list = D().cursors;
    list.push_back(std::make_unique<QCursor>(cursor));
    return list.back().get();
}

HCURSOR CursorHandleOfPicture(const std::vector<std::string>& rows, TPoint hotSpot)
{
    // Pictures need the window system; without it (a program without windows) the arrow.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return CursorHandleOfShape(Qt::ArrowCursor);
    int width = 0;
    for (const std::string& row : rows)
        width = std::max(width, int(row.size()));
    QImage image(std::max(1, width), std::max(1, int(rows.size())), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[std::size_t(y)].size()); ++x) {
            const char c = rows[std::size_t(y)][std::size_t(x)];
            if (c == 'X')
                image.setPixel(x, y, qRgba(0, 0, 0, 255));
            else if (c == '.')
                image.setPixel(x, y, qRgba(255, 255, 255, 255));
        }
    return CursorHandleOf(QCursor(QPixmap::fromImage(image), hotSpot.X, hotSpot.Y));
}

void OverlayPicture(std::vector<std::string>& picture, const std::vector<std::string>& part, int x, int y)
{
    for (int r = 0; r < int(part.size()); ++r) {
        const std::size_t row = std::size_t(y + r);
        if (picture.size() <= row)
            picture.resize(row + 1);
        for (int c = 0; c < int(part[std::size_t(r)].size()); ++c) {
            const char ch = part[std::size_t(r)][std::size_t(c)];
            if (ch == ' ')
                continue;
            std::string& line = picture[row];
            if (int(line.size()) <= x + c)
                line.resize(std::size_t(x + c + 1), ' ');
            line[std::size_t(x + c)] = ch;
        }
    }
}

const std::vector<std::string>& ArrowCursorPicture()
{
    static const std::vector<std::string> arrow = {
        "X",         "XX",        "X.X",       "X..X",      "X...X",       "X....X",
        "X.....X",   "X......X",  "X.......X", "X........X", "X.....XXXXX", "X..X..X",
        "X.X X..X",  "XX  X..X",  "X    X..X", "     X..X", "      X..X",  "      X..X",
        "       XX"};
    return arrow;
}

const std::vector<std::string>& DragCursorPicture(bool several, bool copy)
{
    // A dotted box for an item moved.
    static const std::vector<std::string> box = {
        "X.X.X.X.X.X", ".         .", "X         X", ".         .", "X         X",
        ".         .", "X         X", "X.X.X.X.X.X"};
    // A solid box carrying a plus for an item copied.
    static const std::vector<std::string> plus = {
        "XXXXXXXXXXX", "X.........X", "X....X....X", "X....X....X", "X..XXXXX..X",
        "X....X....X", "X....X....X", "XXXXXXXXXXX"};
    static const auto pictures = [] {
        std::vector<std::vector<std::string>> all(4);
        for (int i = 0; i < 4; ++i) {
            const bool many = i & 1, asCopy = i & 2;
            std::vector<std::string>& p = all[std::size_t(i)];
            p = ArrowCursorPicture();
            if (many) {
                OverlayPicture(p, box, 12, 16);
                OverlayPicture(p, box, 10, 18);
            }
            OverlayPicture(p, asCopy ? plus : box, 8, 20);
        }
        return all;
    }();
    return pictures[std::size_t((several ? 1 : 0) | (copy ? 2 : 0))];
}

HCURSOR DragCursor(bool several, bool copy)
{
    HCURSOR& h = D().dragCursors[(several ? 1 : 0) | (copy ? 2 : 0)];
    if (!h)
        h = CursorHandleOfPicture(DragCursorPicture(several, copy), {0, 0});
    return h;
}

QCursor CursorOf(HCURSOR cursor)
{
    const auto v = reinterpret_cast<std::uintptr_t>(cursor);
    if (v == 0)
        return QCursor(Qt::ArrowCursor);
    if (v < ShapeHandleLimit)
        return QCursor(Qt::CursorShape(v - 1));
    for (const auto& c : D().cursors)
        if (c.get() == cursor)
            return *c;
    return QCursor(Qt::ArrowCursor);
}

TPoint LastMousePoint() { return D().mousePoint; }

void UpdateCursorFor(HWND target, UINT mouseMsg, const TPoint& screen)
{
    auto& d = D();
    d.cursorWindow = target;
    d.mousePoint = screen;
    // Nobody chose a shape: the window class's, the arrow.
    if (SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MakeLParam(HTCLIENT, int(mouseMsg))) == 0)
        ::SetCursor(CursorHandleOfShape(Qt::ArrowCursor));
}

bool MouseActivate(HWND target, UINT mouseMsg)
{
    TWidgetPeer* peer = PeerOf(target);
    if (!peer)
        return true;
    QWidget* top = peer->window();
    if (top->isActiveWindow())
        return true;
    auto* topPeer = dynamic_cast<TWidgetPeer*>(top);
    HWND topWnd = HandleOf(topPeer);
    const LRESULT r = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(topWnd),
                                  MakeLParam(HTCLIENT, int(mouseMsg)));
    const bool activate = (r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) &&
                          !top->testAttribute(Qt::WA_ShowWithoutActivating) && IsWindow(topWnd);
    if (activate) {
        top->activateWindow();
        QApplication::setActiveWindow(top);
    }
    return r != MA_ACTIVATEANDEAT && r != MA_NOACTIVATEANDEAT;
}

void GrabMouseFor(HWND capture)
{
    auto& d = D();
    TWidgetPeer* peer = capture ? PeerOf(capture) : nullptr;
    if (d.grabbed && d.grabbed != peer)
        d.grabbed->releaseMouse();
    d.grabbed = nullptr;
    // Qt grabs only for a visible widget; an invisible capture window still gets our input.
    if (peer && peer->isVisible()) {
        peer->grabMouse();
        d.grabbed = peer;
    }
}

} // namespace vcl

HCURSOR SetCursor(HCURSOR cursor)
{
    auto& d = vcl::D();
    HCURSOR old = d.cursor;
    d.cursor = cursor;
    if (vcl::TWidgetPeer* p = vcl::PeerOf(d.cursorWindow)) {
        p->setCursor(vcl::CursorOf(cursor));
    }
    return old;
}

HCURSOR GetCursor() { return vcl::D().cursor; }

TOverlayWindow::TOverlayWindow(rtl::TComponent* owner) : TCustomControl(owner) { SetVisible(false); }

void TOverlayWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
}

void TOverlayWindow::CreateWnd()
{
    TCustomControl::CreateWnd();
    Peer()->setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool SetLayeredWindowAttributes(HWND wnd, std::uint32_t, std::uint8_t alpha, std::uint32_t flags)
{
    vcl::TWidgetPeer* p = vcl::PeerOf(wnd);
    if (!p || !p->isWindow() || (flags & LWA_COLORKEY) || !(flags & LWA_ALPHA))
        return false;
    p->setWindowOpacity(alpha / 255.0);
    return true;
}
