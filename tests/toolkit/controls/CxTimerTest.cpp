// TcxTimer through the shared timer window, mouse tracking and the hourglass count.
#include "tests/toolkit/controls/ControlsTestSupport.h"

using namespace cx;

class CxTimerTest : public ControlBaseTest {};

TEST_F(CxTimerTest, RunsOnlyWithHandlerAndIgnoresZeroInterval)
{
    auto* t = new TcxTimer(form);
    t->SetInterval(10);
    EXPECT_FALSE(t->TimerOn()); // no handler yet
    int ticks = 0;
    t->SetOnTimer([&](TObject*) { ++ticks; });
    EXPECT_TRUE(t->TimerOn());
    t->SetInterval(0);
    EXPECT_EQ(t->Interval(), 10u);
    EXPECT_TRUE(t->TimerOn());
    EXPECT_TRUE(SpinUntil([&] { return ticks >= 2; }));
    t->SetEnabled(false);
    EXPECT_FALSE(t->TimerOn());
    const int seen = ticks;
    SpinUntil([] { return false; }, 40);
    EXPECT_EQ(ticks, seen);
}

TEST_F(CxTimerTest, ATimerFreedInItsOwnHandlerGetsNoFurtherTicks)
{
    auto* t = new TcxTimer(nullptr);
    auto* other = new TcxTimer(nullptr);
    t->SetInterval(5);
    other->SetInterval(5);
    int ticks = 0, otherTicks = 0;
    t->SetOnTimer([&](TObject*) {
        ++ticks;
        t->Free();
    });
    other->SetOnTimer([&](TObject*) { ++otherTicks; });
    EXPECT_TRUE(SpinUntil([&] { return otherTicks >= 5; }));
    EXPECT_EQ(ticks, 1);
    // A tick queued for a dead timer is dropped: its id is no longer active.
    vcl::PostMessage(cxTimerWindow(), WM_TIMER, reinterpret_cast<WPARAM>(t), 0);
    vcl::DrainPostedMessages();
    EXPECT_EQ(ticks, 1);
    other->Free();
}

namespace {
struct Caller : IcxMouseTrackingCaller {
    int leaves = 0;
    void MouseTrackingCallerMouseLeave() override { ++leaves; }
};
} // namespace

TEST_F(CxTimerTest, TrackingTellsTheCallerWhenThePointerLeavesTheRectangle)
{
    auto* c = new TCustomControl(form);
    c->SetBounds(10, 10, 100, 100);
    c->SetParent(form);
    int controlLeaves = 0;
    c->OnMouseLeave = [&](TObject*) { ++controlLeaves; };
    ASSERT_TRUE(Activate(form));
    Caller caller;
    Fixed().SetCursorPos(c->ClientToScreen({5, 5}));
    BeginMouseTracking(c, {0, 0, 20, 20}, &caller);
    BeginMouseTracking(c, {0, 0, 50, 50}, &caller); // already tracked: ignored
    EXPECT_TRUE(IsMouseTracking(&caller));
    SpinUntil([] { return false; }, 30);
    EXPECT_EQ(caller.leaves, 0);
    // Out of the rectangle but still over the control: the caller hears it, the control not.
    Fixed().SetCursorPos(c->ClientToScreen({30, 30}));
    EXPECT_TRUE(SpinUntil([&] { return caller.leaves == 1; }, 500));
    EXPECT_FALSE(IsMouseTracking(&caller));
    EXPECT_EQ(controlLeaves, 0);
}

TEST_F(CxTimerTest, DisablingTheTrackedControlEndsTrackingWithAMouseLeave)
{
    auto* c = new TcxControl(form); // its MouseLeave hears a leave sent with the control in lParam

    c->SetBounds(10, 10, 100, 100);
    c->SetParent(form);
    int controlLeaves = 0;
    c->OnMouseLeave = [&](TObject*) { ++controlLeaves; };
    ASSERT_TRUE(Activate(form));
    Caller caller;
    Fixed().SetCursorPos(c->ClientToScreen({5, 5}));
    BeginMouseTracking(c, {0, 0, 20, 20}, &caller);
    form->SetEnabled(false);
    EXPECT_TRUE(SpinUntil([&] { return caller.leaves == 1; }, 500));
    EXPECT_EQ(controlLeaves, 1);
    form->SetEnabled(true);
}

TEST_F(CxTimerTest, HourglassIsCounted)
{
    Screen->SetCursor(crIBeam);
    ShowHourglassCursor();
    ShowHourglassCursor();
    HideHourglassCursor();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    HideHourglassCursor();
    EXPECT_EQ(Screen->Cursor(), crIBeam);
    HideHourglassCursor();
    EXPECT_EQ(Screen->Cursor(), crIBeam);
    Screen->SetCursor(crDefault);
}

TEST_F(CxTimerTest, ShutDownReportsTrackersLeftAlive)
{
    Caller caller;
    cxControlsUnit::Initialize();
    BeginMouseTracking(nullptr, {0, 0, 10, 10}, &caller);
    EXPECT_NO_THROW(cxControlsUnit::Finalize());
    EXPECT_EQ(cxControlsUnit::TrackersLeftAtShutDown(), 1);
    EXPECT_FALSE(IsMouseTracking(&caller));
    // After shut-down nothing shared is made again, until the unit starts once more.
    EXPECT_EQ(cxTimerWindow(), nullptr);
    cxControlsUnit::Initialize();
    EXPECT_NE(cxTimerWindow(), nullptr);
    cxControlsUnit::Finalize();
    EXPECT_EQ(cxControlsUnit::TrackersLeftAtShutDown(), 0);
    cxControlsUnit::Initialize();
}
