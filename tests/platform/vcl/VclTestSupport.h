#pragma once
// Shared pieces of the control-layer tests: one QApplication on the offscreen platform, a fixed
// system facade, and a recorder of the messages that reach the controls, so that a test states
// the expected order as an array of (control, message).
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Input.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"
#include "tests/common/TestPictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

inline void EnsureVclApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// Spins Qt and our FIFO until `done` or `ms` passed; true when done held.
inline bool SpinUntil(const std::function<bool()>& done, int ms = 2000)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // Outside a running event loop Qt keeps deferred deletions until asked.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        vcl::DrainPostedMessages();
        if (done())
            return true;
        if (t.elapsed() > ms)
            return false;
    }
}

struct Recorded {
    std::string who;
    UINT msg;
    friend bool operator==(const Recorded&, const Recorded&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Recorded& r)
{
    return os << r.who << ":0x" << std::hex << r.msg << std::dec;
}

// The messages worth comparing; the rest (WM_GETDLGCODE, CM_ notices of property changes...) is
// noise for these tests.
inline const std::set<UINT>& Interesting()
{
    static const std::set<UINT> s = {
        WM_CREATE, WM_DESTROY, WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_CLOSE,
        WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEMOVE,
        WM_CONTEXTMENU, WM_CANCELMODE, WM_CAPTURECHANGED, WM_KEYDOWN, WM_KEYUP, WM_CHAR,
        WM_SYSKEYDOWN, WM_SYSCHAR, WM_TIMER, WM_USER, WM_USER + 1, WM_USER + 2, WM_USER + 3,
        CM_ENTER, CM_EXIT, CM_MOUSEENTER, CM_MOUSELEAVE, CM_ACTIVATE, CM_DEACTIVATE, CM_DIALOGKEY,
        CN_KEYDOWN, CN_CHAR, CN_KEYUP};
    return s;
}

struct Recorder {
    std::vector<Recorded> log;
    bool enabled = true;
    void Add(const std::string& who, const TMessage& m)
    {
        // Enter and leave notices forwarded to parents carry the child in lParam: not recorded.
        if ((m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) && m.LParam != 0)
            return;
        if (enabled && Interesting().count(m.Msg))
            log.push_back({who, m.Msg});
    }
    std::vector<Recorded> Take()
    {
        auto r = std::move(log);
        log.clear();
        return r;
    }
};

inline Recorder& TheRecorder()
{
    static Recorder r;
    return r;
}

// Records every message at the entry of its window procedure, then handles it as usual.
template <class Base>
class Probe : public Base {
public:
    explicit Probe(rtl::TComponent* owner, std::string who) : Base(owner), who_(std::move(who)) {}
    void WndProc(TMessage& m) override
    {
        TheRecorder().Add(who_, m);
        if (OnMessage)
            OnMessage(m);
        Base::WndProc(m);
    }
    std::function<void(TMessage&)> OnMessage;
    std::string who_;
};

using ProbeForm = Probe<TForm>;
using ProbeControl = Probe<TCustomControl>;

// Installs the fixed facade for the test's lifetime and resets the input state.
class VclFixture {
public:
    VclFixture()
    {
        EnsureVclApp();
        old_ = vcl::SetSystemFacade(std::make_unique<vcl::FixedSystemFacade>());
        Fixed().ClearKeys();
        vcl::input::ResetClickCount();
        TheRecorder().Take();
        oldNotifier_ = Application->SetMessageNotifier([this](const std::string& text, const std::string&) {
            shown.push_back(text);
        });
    }
    ~VclFixture()
    {
        Application->SetMessageNotifier(oldNotifier_);
        Application->OnException = nullptr;
        ReleaseCapture();
        vcl::SetSystemFacade(std::move(old_));
        SpinUntil([] { return false; }, 10);
    }
    vcl::FixedSystemFacade& Fixed() { return static_cast<vcl::FixedSystemFacade&>(vcl::System()); }
    std::vector<std::string> shown;

private:
    std::unique_ptr<vcl::SystemFacade> old_;
    TMessageNotifier oldNotifier_;
};

// A form shown and activated with one child control at (10, 10, 60, 40).
inline TPoint ScreenOf(TControl* c, int x, int y) { return c->ClientToScreen({x, y}); }

inline bool Activate(TCustomForm* form)
{
    form->Show();
    QWidget* w = form->Peer();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    return SpinUntil([&] { return form->Active(); });
}

// A picture for a look by eye (SaveTestPicture: only where AMMERLIN_TEST_PICTURES points),
// enlarged `scale` times without smoothing.
inline void SavePicture(const QImage& image, const char* name, int scale = 3)
{
    if (!image.isNull())
        SaveTestPicture(image.scaled(image.width() * scale, image.height() * scale), name);
}

// The same for a control's surface as its window shows it (the top byte of a pixel is data).
inline void SaveSurface(TWinControl* c, const char* name, int scale = 3)
{
    c->Perform(WM_PAINT);
    const QImage& s = c->Surface().Image();
    SavePicture(QImage(s.constBits(), s.width(), s.height(), s.bytesPerLine(), QImage::Format_RGB32).copy(), name, scale);
}

// How many pixels of a widget's picture are painted in the selection's highlight colour.
inline int HighlightedPixels(QWidget* w)
{
    const QColor highlight = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
    const QImage image = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += QColor(image.pixel(x, y)) == highlight;
    return n;
}

#include <dlfcn.h>

// The program becomes active or inactive as the window system reports it (the entry the
// platform plugins call; offscreen has no other way to deactivate the application).
inline void ApplicationStateFromWindowSystem(bool active)
{
    using Fn = void (*)(Qt::ApplicationState, bool);
    static const auto fn = reinterpret_cast<Fn>(dlsym(
        RTLD_DEFAULT, "_ZN22QWindowSystemInterface29handleApplicationStateChangedINS_19SynchronousDeliveryEEEvN2Qt16ApplicationStateEb"));
    if (fn)
        fn(active ? Qt::ApplicationActive : Qt::ApplicationInactive, false);
}
