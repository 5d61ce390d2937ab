// What the control base takes from the window system, driven by real Qt events: the toolkit's
// cursors on hover, the automatic drag after drag detection, the pop-up closing when the program
// is deactivated, and the hint information for a control's own hint.
#include "EditorsTestSupport.h"

#include <QTest>
#include <QTimer>

using namespace cx;

namespace {
class CursorControl : public TcxControl {
public:
    using TcxControl::TcxControl;
    bool NeedsScrollBars() const override { return false; }
    // A sizing edge at the left, text elsewhere.
    TCursor GetCursor(int x, int y) override { return x < 20 ? crcxHorzSize : crIBeam; }
};
} // namespace

class CxControlPlatformTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        cxControlsUnit::Initialize();
    }
    void TearDown() override
    {
        ControlBaseTest::TearDown();
        cxControlsUnit::Finalize();
    }
};

TEST_F(CxControlPlatformTest, TheToolkitsCursorsShowOnHover)
{
    auto* c = new CursorControl(form);
    c->SetBounds(10, 10, 120, 60);
    c->SetParent(form);
    ASSERT_TRUE(Activate(form));
    QTest::mouseMove(c->Peer(), QPoint(50, 20));
    EXPECT_EQ(c->Peer()->cursor().shape(), Qt::IBeamCursor);
    QTest::mouseMove(c->Peer(), QPoint(5, 20));
    EXPECT_EQ(c->Peer()->cursor().shape(), Qt::SplitHCursor);
    // The control's own Cursor stays what it was set to.
    EXPECT_EQ(c->Cursor(), crcxHorzSize);
    c->SetCursor(crHandPoint);
    QTest::mouseMove(c->Peer(), QPoint(60, 20));
    EXPECT_EQ(c->Peer()->cursor().shape(), Qt::IBeamCursor);
    // Registered ids become Qt cursors for the whole screen as well (the panning cursors).
    Screen->SetCursor(crcxFullScroll);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeAllCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(CxControlPlatformTest, AnAutomaticDragBeginsAfterDragDetectionAndDrops)
{
    auto* source = new CursorControl(form);
    source->SetBounds(10, 10, 60, 40);
    source->SetParent(form);
    source->DragMode = dmAutomatic;
    auto* target = new CursorControl(form);
    target->SetBounds(150, 10, 60, 40);
    target->SetParent(form);
    int downs = 0;
    source->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    std::vector<TObject*> dropped;
    target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
    target->OnDragDrop = [&](TObject*, TObject* src, int, int) { dropped.push_back(src); };
    ASSERT_TRUE(Activate(form));
    // The press runs drag detection: the pointer leaves the square while it waits.
    QTimer::singleShot(20, [&] { QTest::mouseMove(source->Peer(), QPoint(30, 20)); });
    QTimer::singleShot(1500, [] { ReleaseCapture(); });
    QTest::mousePress(source->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    // The press reached the control's own handlers (the platform drag did not take it).
    EXPECT_EQ(downs, 1);
    ASSERT_TRUE(source->Dragging());
    QTest::mouseMove(target->Peer(), QPoint(10, 10));
    QTest::mouseRelease(target->Peer(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(dropped, std::vector<TObject*>{source});
}

TEST_F(CxControlPlatformTest, APopupClosesWhenTheProgramIsDeactivated)
{
    ASSERT_TRUE(Activate(form));
    auto* popup = new TcxPopupWindow(form);
    popup->SetBounds(0, 0, 100, 60);
    popup->OwnerParent = form;
    popup->OwnerBounds = {10, 10, 60, 30};
    popup->Popup();
    ASSERT_TRUE(SpinUntil([&] { return popup->Peer() && popup->Peer()->isVisible(); }));
    EXPECT_TRUE(popup->Peer()->windowFlags().testFlag(Qt::FramelessWindowHint));
    ApplicationStateFromWindowSystem(false);
    EXPECT_TRUE(SpinUntil([&] { return !popup->Visible(); }));
    ApplicationStateFromWindowSystem(true);
}

TEST_F(CxControlPlatformTest, ControlHintInformation)
{
    auto* c = new CursorControl(form);
    c->SetBounds(10, 20, 120, 60);
    c->SetParent(form);
    form->Show();
    THintInfo info;
    THintWindow* window = nullptr;
    TRect r{300, 200, 400, 220};
    EXPECT_TRUE(cxProcessControlHintInfo(info, window, c, "电表", r));
    EXPECT_EQ(info.HintControl, c);
    EXPECT_EQ(info.HintPos, (TPoint{300, 200}));
    EXPECT_EQ(info.CursorRect, (TRect{0, 0, 120, 60}));
    EXPECT_EQ(info.HintStr, "电表");
    EXPECT_EQ(info.HideTimeout, Application->HintHidePause);
    EXPECT_EQ(window, nullptr);
    // A handler that asks for another class gets a window of it, sized for the text.
    Application->OnShowHint = [](std::string& text, bool& canShow, THintInfo& hi) {
        hi.HintWindowClass = THintWindowClass::Of<TcxBaseHintWindow>();
        hi.HintPos = {50, 60};
    };
    EXPECT_TRUE(cxProcessControlHintInfo(info, window, c, "电表", r));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsExactly<TcxBaseHintWindow>(window));
    EXPECT_EQ(r, cxRectOffset(window->CalcHintRect(Screen->Width(), "电表"), 50, 60));
    Application->OnShowHint = [](std::string&, bool& canShow, THintInfo&) { canShow = false; };
    EXPECT_FALSE(cxProcessControlHintInfo(info, window, c, "电表", r));
    Application->OnShowHint = nullptr;
    cxActivateHintData(window, r, "电表", nullptr);
    EXPECT_TRUE(window->Visible());
    window->Free();
}
