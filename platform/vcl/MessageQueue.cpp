#include "platform/vcl/MessageQueue.h"

#include "platform/vcl/SystemFacade.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <vector>

Q_LOGGING_CATEGORY(lcVclMsg, "vcl.msg")

namespace vcl {

namespace {

struct WindowEntry {
    WindowProcedure proc;
    rtl::TObject* owner = nullptr;
    std::string className;
};

struct HookEntry {
    int kind;
    HOOKPROC proc;
    std::uintptr_t id;
};

// The one posted Qt event type that drains our FIFO.
const QEvent::Type DrainEventType = QEvent::Type(QEvent::registerEventType());

class Pump : public QObject {
public:
    bool event(QEvent* e) override;
};

struct State {
    std::map<std::uintptr_t, WindowEntry> windows;
    std::uintptr_t nextHandle = 0x100;
    std::deque<MSG> fifo;
    bool drainPosted = false;
    std::vector<HookEntry> hooks; // installation order; called from the back
    std::uintptr_t nextHook = 1;
    std::map<std::pair<std::uintptr_t, std::uintptr_t>, std::unique_ptr<QTimer>> timers;
    std::function<bool(MSG&)> preprocess;
    std::function<void(rtl::TObject*)> exceptionSink;
    std::function<void()> idle;
    QPointer<Pump> pump;
    QMetaObject::Connection idleConnection;
    bool inIdle = false;
};

State& S()
{
    static State state;
    return state;
}

std::uintptr_t Key(HWND wnd) { return reinterpret_cast<std::uintptr_t>(wnd); }

WindowEntry* Find(HWND wnd)
{
    auto& w = S().windows;
    auto it = w.find(Key(wnd));
    return it == w.end() ? nullptr : &it->second;
}

void EnsureIdleHook();

Pump* ThePump()
{
    auto& s = S();
    if (!s.pump && QCoreApplication::instance()) {
        s.pump = new Pump;
        s.pump->moveToThread(QCoreApplication::instance()->thread());
        QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { S().drainPosted = false; });
    }
    EnsureIdleHook();
    return s.pump;
}

void ScheduleDrain()
{
    auto& s = S();
    if (s.drainPosted || s.fifo.empty())
        return;
    if (Pump* p = ThePump()) {
        s.drainPosted = true;
        QCoreApplication::postEvent(p, new QEvent(DrainEventType));
    }
}

bool Pump::event(QEvent* e)
{
    if (e->type() != DrainEventType)
        return QObject::event(e);
    S().drainPosted = false;
    DrainPostedMessages();
    return true;
}

// Calls the hooks of a kind, latest first; stops at the first non-zero answer when asked to.
LRESULT RunHooks(int kind, WPARAM wParam, LPARAM lParam, bool stopOnNonZero)
{
    // A hook may install or remove hooks: work on a snapshot, skipping removed ones.
    const std::vector<HookEntry> snapshot = S().hooks;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        if (it->kind != kind)
            continue;
        const auto& live = S().hooks;
        if (std::none_of(live.begin(), live.end(), [&](const HookEntry& h) { return h.id == it->id; }))
            continue;
        const LRESULT r = it->proc(HC_ACTION, wParam, lParam);
        if (r != 0 && stopOnNonZero)
            return r;
    }
    return 0;
}

bool IsMouseMessage(UINT m)
{
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

void EnsureIdleHook()
{
    auto& s = S();
    if (s.idleConnection || !QCoreApplication::instance())
        return;
    auto* dispatcher = QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread());
    if (!dispatcher)
        return;
    s.idleConnection = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [] {
        auto& st = S();
        if (st.inIdle || !st.idle)
            return;
        st.inIdle = true;
        GuardQtEntry(nullptr, [&] { st.idle(); });
        st.inIdle = false;
    });
}

} // namespace

// ---------------------------------------------------------------------------------------------
HWND RegisterWindow(WindowProcedure proc, rtl::TObject* owner, std::string className)
{
    auto& s = S();
    const std::uintptr_t id = s.nextHandle++;
    s.windows[id] = WindowEntry{std::move(proc), owner, std::move(className)};
    return reinterpret_cast<HWND>(id);
}

void UnregisterWindow(HWND wnd)
{
    auto& s = S();
    s.windows.erase(Key(wnd));
    for (auto it = s.timers.begin(); it != s.timers.end();) {
        if (it->first.first == Key(wnd)) {
            it->second->stop();
            it->second.release()->deleteLater();
            it = s.timers.erase(it);
        } else {
            ++it;
        }
    }
}

bool IsWindow(HWND wnd) { return wnd && Find(wnd) != nullptr; }

rtl::TObject* WindowOwner(HWND wnd)
{
    const WindowEntry* e = Find(wnd);
    return e ? e->owner : nullptr;
}

std::string WindowClassName(HWND wnd)
{
    const WindowEntry* e = Find(wnd);
    return e ? e->className : std::string();
}

WindowProcedure SetWindowProcedure(HWND wnd, WindowProcedure proc)
{
    WindowEntry* e = Find(wnd);
    if (!e)
        return {};
    std::swap(e->proc, proc);
    return proc;
}

namespace {
LRESULT CallProcedure(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const WindowEntry* e = Find(wnd);
    if (!e || !e->proc)
        return 0;
    // A copy: the procedure may destroy its window, and with it the registry entry.
    const WindowProcedure proc = e->proc;
    TMessage m{msg, wParam, lParam, 0};
    proc(m);
    return m.Result;
}
} // namespace

LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(wnd))
        return 0;
    CWPSTRUCT cwp{lParam, wParam, msg, wnd};
    if (RunHooks(WH_CALLWNDPROC, 1, reinterpret_cast<LPARAM>(&cwp), true) != 0)
        return 1;
    return CallProcedure(cwp.hwnd, cwp.message, cwp.wParam, cwp.lParam);
}

bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (wnd && !IsWindow(wnd))
        return false;
    MSG m;
    m.hwnd = wnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = System().GetTickCount();
    const TPoint p = System().GetCursorPos();
    m.ptX = p.X;
    m.ptY = p.Y;
    S().fifo.push_back(m);
    ScheduleDrain();
    return true;
}

LRESULT DefWindowProc(HWND, UINT msg, WPARAM, LPARAM)
{
    switch (msg) {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_ERASEBKGND:
        return 0;
    default:
        return 0;
    }
}

LRESULT DispatchMessage(const MSG& msg)
{
    if (!msg.hwnd)
        return 0;
    return CallProcedure(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void ProcessRetrievedMessage(MSG msg, const std::function<void(const MSG&)>& translate)
{
    if (IsMouseMessage(msg.message)) {
        MOUSEHOOKSTRUCT mh{msg.ptX, msg.ptY, msg.hwnd, HTCLIENT, 0};
        if (RunHooks(WH_MOUSE, msg.message, reinterpret_cast<LPARAM>(&mh), true) != 0)
            return;
    }
    RunHooks(WH_GETMESSAGE, PM_REMOVE, reinterpret_cast<LPARAM>(&msg), false);
    if (msg.message == WM_NULL || (msg.hwnd && !IsWindow(msg.hwnd)))
        return;
    if (S().preprocess && S().preprocess(msg))
        return;
    if (translate)
        translate(msg);
    DispatchMessage(msg);
}

bool PeekMessage(MSG& msg, HWND wnd, UINT first, UINT last, unsigned remove)
{
    auto& fifo = S().fifo;
    for (auto it = fifo.begin(); it != fifo.end(); ++it) {
        // WM_QUIT passes every filter, so that a loop removing messages cannot hide it.
        const bool quit = it->message == WM_QUIT;
        if (!quit && wnd && it->hwnd != wnd)
            continue;
        if (!quit && (first != 0 || last != 0) && (it->message < first || it->message > last))
            continue;
        msg = *it;
        if (remove & PM_REMOVE)
            fifo.erase(it);
        return true;
    }
    return false;
}

int PendingMessageCount() { return int(S().fifo.size()); }

void DrainPostedMessages()
{
    // Only what is queued now: messages posted by these handlers wait for the next drain, so
    // that Qt's own events are not starved.
    auto& s = S();
    std::size_t count = s.fifo.size();
    while (count-- > 0 && !s.fifo.empty()) {
        MSG m = s.fifo.front();
        s.fifo.pop_front();
        GuardQtEntry(nullptr, [&] { ProcessRetrievedMessage(m); });
    }
    ScheduleDrain();
}

void SetMessagePreprocessor(std::function<bool(MSG&)> preprocess) { S().preprocess = std::move(preprocess); }

// ---------------------------------------------------------------------------------------------
HHOOK SetWindowsHookEx(int kind, HOOKPROC proc)
{
    if (!proc || (kind != WH_CALLWNDPROC && kind != WH_GETMESSAGE && kind != WH_MOUSE)) {
        qCWarning(lcVclMsg) << "hook kind" << kind << "is not supported";
        return nullptr;
    }
    auto& s = S();
    const std::uintptr_t id = s.nextHook++;
    s.hooks.push_back({kind, proc, id});
    return reinterpret_cast<HHOOK>(id);
}

bool UnhookWindowsHookEx(HHOOK hook)
{
    auto& h = S().hooks;
    const auto it = std::find_if(h.begin(), h.end(), [&](const HookEntry& e) {
        return e.id == reinterpret_cast<std::uintptr_t>(hook);
    });
    if (it == h.end())
        return false;
    h.erase(it);
    return true;
}

LRESULT CallNextHookEx(HHOOK, int, WPARAM, LPARAM) { return 0; }

// ---------------------------------------------------------------------------------------------
bool SetTimer(HWND wnd, std::uintptr_t id, unsigned elapseMs)
{
    if (!IsWindow(wnd) || !QCoreApplication::instance())
        return false;
    auto& slot = S().timers[{Key(wnd), id}];
    if (!slot) {
        slot = std::make_unique<QTimer>();
        QObject::connect(slot.get(), &QTimer::timeout, [wnd, id] {
            if (!IsWindow(wnd))
                return;
            MSG m;
            m.hwnd = wnd;
            m.message = WM_TIMER;
            m.wParam = id;
            m.time = System().GetTickCount();
            GuardQtEntry(nullptr, [&] { ProcessRetrievedMessage(m); });
        });
    }
    slot->setTimerType(Qt::PreciseTimer);
    slot->start(int(std::max(1u, elapseMs)));
    return true;
}

bool KillTimer(HWND wnd, std::uintptr_t id)
{
    auto& t = S().timers;
    const auto it = t.find({Key(wnd), id});
    if (it == t.end())
        return false;
    it->second->stop();
    // The timer may be the one whose tick is running now.
    it->second.release()->deleteLater();
    t.erase(it);
    return true;
}

HWND AllocateHWnd(WindowProcedure proc)
{
    auto shared = std::make_shared<WindowProcedure>(std::move(proc));
    HWND wnd = RegisterWindow(nullptr, nullptr, "TPUtilWindow");
    SetWindowProcedure(wnd, [shared, wnd](TMessage& m) {
        if (*shared)
            (*shared)(m);
        else
            m.Result = DefWindowProc(wnd, m.Msg, m.WParam, m.LParam);
    });
    return wnd;
}

void DeallocateHWnd(HWND wnd) { UnregisterWindow(wnd); }

// ---------------------------------------------------------------------------------------------
void SetExceptionSink(std::function<void(rtl::TObject*)> sink) { S().exceptionSink = std::move(sink); }

void HandleCurrentException(rtl::TObject* sender)
{
    auto& sink = S().exceptionSink;
    if (sink) {
        try {
            sink(sender);
            return;
        } catch (...) {
            // The handler itself failed: nothing sensible is left but the log.
        }
    }
    try {
        throw;
    } catch (const std::exception& e) {
        qCWarning(lcVclMsg) << "unhandled exception:" << e.what();
    } catch (...) {
        qCWarning(lcVclMsg) << "unhandled exception";
    }
}

void SetIdleHandler(std::function<void()> idle)
{
    S().idle = std::move(idle);
    EnsureIdleHook();
}

} // namespace vcl
