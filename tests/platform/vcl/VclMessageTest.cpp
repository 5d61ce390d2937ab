// Sent, performed and posted messages, handles, hooks, timers and the exception boundary.
#include "VclTestSupport.h"

#include "platform/vcl/ExtCtrls.h"

#include <gtest/gtest.h>

namespace {

class VclMessageTest : public ::testing::Test, public VclFixture {};

TEST_F(VclMessageTest, PerformAndSendRunAtOncePostWaitsForTheQueueInOrder)
{
    auto* form = new ProbeForm(nullptr, "F");
    HWND h = form->Handle();
    TheRecorder().Take();
    vcl::PostMessage(h, WM_USER + 1);
    form->Perform(WM_USER);
    vcl::PostMessage(h, WM_USER + 2);
    EXPECT_EQ(vcl::SendMessage(h, WM_USER + 3), 0);
    EXPECT_EQ(TheRecorder().Take(), (std::vector<Recorded>{{"F", WM_USER}, {"F", WM_USER + 3}}));
    // Posted messages arrive in FIFO order through one Qt event.
    QCoreApplication::processEvents();
    EXPECT_EQ(TheRecorder().Take(), (std::vector<Recorded>{{"F", WM_USER + 1}, {"F", WM_USER + 2}}));
    form->Free();
}

TEST_F(VclMessageTest, MessagePostedByAHandlerWaitsForTheNextDrain)
{
    auto* form = new ProbeForm(nullptr, "F");
    HWND h = form->Handle();
    form->OnMessage = [h](TMessage& m) {
        if (m.Msg == WM_USER + 1)
            vcl::PostMessage(h, WM_USER + 3);
    };
    vcl::PostMessage(h, WM_USER + 1);
    vcl::PostMessage(h, WM_USER + 2);
    TheRecorder().Take();
    vcl::DrainPostedMessages();
    EXPECT_EQ(TheRecorder().Take(), (std::vector<Recorded>{{"F", WM_USER + 1}, {"F", WM_USER + 2}}));
    vcl::DrainPostedMessages();
    EXPECT_EQ(TheRecorder().Take(), (std::vector<Recorded>{{"F", WM_USER + 3}}));
    form->Free();
}

TEST_F(VclMessageTest, HandlesAreNeverReusedAndADeadHandleIsDetectable)
{
    auto* a = new TForm(nullptr);
    HWND first = a->Handle();
    a->RecreateWnd();
    HWND second = a->Handle();
    EXPECT_NE(first, second);
    EXPECT_FALSE(vcl::IsWindow(first));
    EXPECT_EQ(FindControl(second), a);
    a->Free();
    EXPECT_FALSE(vcl::IsWindow(second));
    EXPECT_EQ(vcl::SendMessage(second, WM_USER), 0);
    EXPECT_FALSE(vcl::PostMessage(second, WM_USER));
    auto* b = new TForm(nullptr);
    HWND third = b->Handle();
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
    b->Free();
}

TEST_F(VclMessageTest, ReplacedWindowProcSeesEveryMessageFirst)
{
    auto* form = new TForm(nullptr);
    std::vector<UINT> seen;
    auto old = form->WindowProc;
    form->WindowProc = [&, old](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER)
            m.Result = 42;
        else
            old(m);
    };
    EXPECT_EQ(vcl::SendMessage(form->Handle(), WM_USER), 42);
    EXPECT_EQ(form->Perform(WM_USER), 42);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_USER), 2);
    form->WindowProc = old;
    form->Free();
}

TEST_F(VclMessageTest, ControlFreedInsideItsOwnHandlerDiesAtOnceAndItsPeerLater)
{
    auto* form = new ProbeForm(nullptr, "F");
    auto* child = new ProbeControl(form, "C");
    child->SetParent(form);
    child->SetBounds(10, 10, 50, 30);
    ASSERT_TRUE(Activate(form));
    QPointer<QWidget> peer = child->Peer();
    HWND h = child->Handle();
    bool freed = false;
    child->OnMouseDown = [&](rtl::TObject* sender, TMouseButton, TShiftState, int, int) {
        static_cast<TControl*>(sender)->Free();
        freed = true;
    };
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(child, 5, 5), MK_LBUTTON);
    EXPECT_TRUE(freed);
    EXPECT_FALSE(vcl::IsWindow(h));
    EXPECT_EQ(form->ControlCount(), 0);
    ASSERT_FALSE(peer.isNull());
    EXPECT_FALSE(peer->isVisible());
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(form, 15, 15), 0);
    EXPECT_TRUE(SpinUntil([&] { return peer.isNull(); }));
    form->Free();
}

TEST_F(VclMessageTest, ExceptionsInHandlersReachHandleExceptionAndAbortIsSilent)
{
    auto* form = new TForm(nullptr);
    HWND h = form->Handle();
    form->WindowProc = [](TMessage& m) {
        if (m.Msg == WM_USER)
            throw rtl::EConvertError("bad value");
        if (m.Msg == WM_USER + 1)
            throw rtl::EAbort();
    };
    vcl::PostMessage(h, WM_USER);
    vcl::PostMessage(h, WM_USER + 1);
    vcl::PostMessage(h, WM_USER);
    QCoreApplication::processEvents();
    // Both errors shown (with the closing full stop), the abort silent, nothing reached Qt.
    EXPECT_EQ(shown, (std::vector<std::string>{"bad value.", "bad value."}));

    std::vector<std::string> caught;
    Application->OnException = [&](rtl::TObject*, rtl::Exception& e) { caught.push_back(e.Message); };
    vcl::PostMessage(h, WM_USER);
    QCoreApplication::processEvents();
    EXPECT_EQ(caught, std::vector<std::string>{"bad value"});
    form->WindowProc = rtl::Event<void(TMessage&)>(form, &TControl::WndProc);
    form->Free();
}

HHOOK gCwp = nullptr, gGetMsg = nullptr, gMouse = nullptr;
std::vector<UINT> gHookLog;

LRESULT CwpHook(int, WPARAM, LPARAM l)
{
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
    gHookLog.push_back(cwp->message);
    if (cwp->message == WM_USER + 1)
        return 1; // swallowed
    if (cwp->message == WM_USER + 2)
        cwp->message = WM_USER + 3; // rewritten
    return 0;
}

LRESULT GetMsgHook(int, WPARAM, LPARAM l)
{
    auto* msg = reinterpret_cast<MSG*>(l);
    if (msg->message == WM_USER + 1)
        msg->message = WM_NULL;
    return 0;
}

LRESULT MouseHook(int, WPARAM w, LPARAM)
{
    return w == WM_RBUTTONDOWN ? 1 : 0;
}

TEST_F(VclMessageTest, HooksMaySwallowOrRewriteMessages)
{
    auto* form = new ProbeForm(nullptr, "F");
    HWND h = form->Handle();
    ASSERT_TRUE(Activate(form));
    gCwp = vcl::SetWindowsHookEx(WH_CALLWNDPROC, CwpHook);
    gGetMsg = vcl::SetWindowsHookEx(WH_GETMESSAGE, GetMsgHook);
    gMouse = vcl::SetWindowsHookEx(WH_MOUSE, MouseHook);
    TheRecorder().Take();
    EXPECT_EQ(vcl::SendMessage(h, WM_USER + 1), 1);
    vcl::SendMessage(h, WM_USER + 2);
    vcl::SendMessage(h, WM_USER);
    EXPECT_EQ(TheRecorder().Take(), (std::vector<Recorded>{{"F", WM_USER + 3}, {"F", WM_USER}}));
    // Perform calls the window procedure directly: no hook sees it.
    gHookLog.clear();
    form->Perform(WM_USER + 1);
    EXPECT_TRUE(gHookLog.empty());
    EXPECT_EQ(TheRecorder().Take(), (std::vector<Recorded>{{"F", WM_USER + 1}}));

    vcl::PostMessage(h, WM_USER + 1);
    vcl::PostMessage(h, WM_USER);
    vcl::DrainPostedMessages();
    EXPECT_EQ(TheRecorder().Take(), (std::vector<Recorded>{{"F", WM_USER}}));

    vcl::input::InjectMouse(WM_RBUTTONDOWN, ScreenOf(form, 5, 5), MK_RBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(form, 5, 5), MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(form, 5, 5), 0);
    auto log = TheRecorder().Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), Recorded{"F", WM_RBUTTONDOWN}), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), Recorded{"F", WM_LBUTTONDOWN}), 1);

    EXPECT_TRUE(vcl::UnhookWindowsHookEx(gCwp));
    EXPECT_TRUE(vcl::UnhookWindowsHookEx(gGetMsg));
    EXPECT_TRUE(vcl::UnhookWindowsHookEx(gMouse));
    EXPECT_FALSE(vcl::UnhookWindowsHookEx(gMouse));
    form->Free();
}

TEST_F(VclMessageTest, TimerTicksStopWhenTheTimerIsFreedInItsOwnHandler)
{
    auto* timer = new TTimer(nullptr);
    int ticks = 0;
    timer->SetInterval(5);
    timer->SetOnTimer([&](rtl::TObject*) {
        if (++ticks == 2)
            timer->Free();
    });
    SpinUntil([] { return false; }, 150);
    EXPECT_EQ(ticks, 2);
}

TEST_F(VclMessageTest, TimerRunsOnlyWithHandlerAndEnabled)
{
    auto* timer = new TTimer(nullptr);
    int ticks = 0;
    timer->SetInterval(5);
    timer->SetEnabled(false);
    timer->SetOnTimer([&](rtl::TObject*) { ++ticks; });
    SpinUntil([] { return false; }, 40);
    EXPECT_EQ(ticks, 0);
    timer->SetEnabled(true);
    EXPECT_TRUE(SpinUntil([&] { return ticks >= 2; }));
    timer->Free();
}

} // namespace

namespace {
// A form deleted without Free (a smart pointer, a container) must leave the screen's list too: a
// modal window walks that list to disable the others.
TEST_F(VclMessageTest, AFormDeletedWithoutFreeLeavesTheScreen)
{
    const int before = Screen->FormCount();
    auto* form = new TForm(nullptr);
    ASSERT_EQ(Screen->FormCount(), before + 1);
    delete form;
    EXPECT_EQ(Screen->FormCount(), before);
    for (int i = 0; i < Screen->FormCount(); ++i)
        EXPECT_NE(Screen->Forms(i), form);
    EXPECT_NE(Screen->ActiveForm(), form);
}

// A control asked for its window before it had a parent gets a top-level window; once parented
// it must live inside its parent, not float on the desktop.
TEST_F(VclMessageTest, AControlGivenAParentAfterItsWindowBecomesAChildWindow)
{
    auto* form = new ProbeForm(nullptr, "F");
    form->SetBounds(0, 0, 200, 150);
    form->Show();
    auto* child = new ProbeControl(nullptr, "C");
    child->SetBounds(10, 120, 100, 16);
    child->HandleNeeded();
    ASSERT_TRUE(child->Peer()->isWindow());
    child->SetParent(form);
    child->HandleNeeded();
    ASSERT_NE(child->Peer(), nullptr);
    EXPECT_FALSE(child->Peer()->isWindow());
    EXPECT_EQ(child->Peer()->parentWidget(), form->Peer());
    EXPECT_EQ(child->Peer()->geometry(), QRect(10, 120, 100, 16));
    child->Free();
    form->Free();
}
} // namespace
