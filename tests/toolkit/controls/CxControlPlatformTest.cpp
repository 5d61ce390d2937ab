// What the control base takes from the window system, driven by real Qt events: the toolkit's
// cursors on hover, the automatic drag after drag detection, the pop-up closing when the program
// is deactivated, and the hint information for a control's own hint.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/vcl/Desktop.h"

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
        cxControlsUnit::RegisterScreenCursors();
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
    // Registered ids become Qt cursors for the whole screen as well (the panning cursors, drawn).
    Screen->SetCursor(crcxFullScroll);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    const QImage shown = QApplication::overrideCursor()->pixmap().toImage();
    EXPECT_FALSE(shown.isNull());
    EXPECT_EQ(shown, vcl::CursorOf(Screen->Cursors(crcxFullScroll)).pixmap().toImage());
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
    QObject timers; // a late timer must not reach a later test
    QTimer::singleShot(20, &timers, [&] { QTest::mouseMove(source->Peer(), QPoint(30, 20)); });
    QTimer::singleShot(1500, &timers, [] { ReleaseCapture(); });
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

namespace {
// Rows painted in the colour of the generation that painted them.
class RowsControl : public TcxControl {
public:
    using TcxControl::TcxControl;
    bool NeedsScrollBars() const override { return false; }
    int generation = 1;
    std::vector<TRect> painted;

protected:
    void Paint() override
    {
        TCanvas* c = TCustomControl::Canvas();
        const auto& clip = c->GetHandle()->S().clip;
        painted.push_back(clip ? clip->Box() : GetClientRect());
        c->Brush()->SetColor(generation == 1 ? clRed : clBlue);
        c->FillRect(GetClientRect());
        c->Brush()->SetColor(clBlack);
        c->FillRect({0, 20 - 10 * (generation - 1), 50, 21 - 10 * (generation - 1)});
    }
};
} // namespace

TEST_F(CxControlPlatformTest, ScrollWindowMovesThePixelsAndRepaintsOnlyTheUncoveredPart)
{
    auto* c = new RowsControl(form);
    c->SetBounds(10, 10, 50, 40);
    c->SetParent(form);
    ASSERT_TRUE(Activate(form));
    c->Update();
    ASSERT_EQ(PixelOf(c, 5, 20), clBlack);
    c->painted.clear();
    c->generation = 2;
    c->ScrollWindow(0, -10, c->GetClientRect());
    // Qt paints what is pending (Update would paint the whole window).
    ASSERT_TRUE(SpinUntil([&] { return !c->painted.empty(); }));
    auto pixel = [&](int x, int y) { return TColor(gdi::PixelToColor(c->Surface().Pixel(x, y))); };
    // The black row moved up by 10; only the strip of 10 rows at the bottom was painted anew.
    EXPECT_EQ(pixel(5, 10), clBlack);
    EXPECT_EQ(pixel(5, 20), clRed);
    EXPECT_EQ(pixel(5, 35), clBlue);
    ASSERT_FALSE(c->painted.empty());
    EXPECT_EQ(c->painted.back(), (TRect{0, 30, 50, 40}));
}

TEST_F(CxControlPlatformTest, AChangedSystemSettingResizesTheScrollBars)
{
    auto* c = new TcxControl(form);
    c->SetBounds(10, 10, 100, 80);
    c->SetParent(form);
    ASSERT_TRUE(Activate(form));
    const int height = c->HScrollBar()->Height();
    c->HScrollBar()->SetHeight(height + 7);
    // The application's font changes: a change of the system's settings.
    const QFont old = QApplication::font();
    QFont f = old;
    f.setPointSize(old.pointSize() + 1);
    QApplication::setFont(f);
    EXPECT_TRUE(SpinUntil([&] { return c->HScrollBar()->Height() == height; }));
    QApplication::setFont(old);
    // A size change runs WM_NCCALCSIZE, which checks the bars as well.
    c->HScrollBar()->SetHeight(height + 3);
    c->SetBounds(10, 10, 110, 80);
    EXPECT_TRUE(SpinUntil([&] { return c->HScrollBar()->Height() == height; }));
}

namespace {
class Child : public TcxControlChildComponent {
public:
    using TcxControlChildComponent::TcxControlChildComponent;
};
} // namespace

TEST_F(CxControlPlatformTest, ChildComponentsScreenCanvasAndLayeredWindows)
{
    auto* c = new TcxControl(form);
    // Before a window: a screen canvas, kept until the window exists.
    TcxCanvas* early = c->GetActiveCanvas();
    ASSERT_NE(early, nullptr);
    EXPECT_NE(early, c->Canvas());
    EXPECT_EQ(c->GetActiveCanvas(), early);
    c->SetParent(form);
    form->Show();
    EXPECT_EQ(c->GetActiveCanvas(), c->Canvas());

    auto* owned = new Child(c, true);
    EXPECT_EQ(owned->Owner(), form);
    EXPECT_EQ(owned->Control(), c);
    EXPECT_EQ(owned->GetParentComponent(), c);
    EXPECT_TRUE(owned->HasParent());
    auto* loose = new Child(nullptr);
    loose->SetParentComponent(c);
    EXPECT_EQ(loose->Control(), c);
    loose->Free();
    owned->Free();

    // Layered windows: the window's opacity (the entry the unit finds at start-up).
    auto proc = &::SetLayeredWindowAttributes;
    EXPECT_TRUE(proc(form->Handle(), 0, 128, LWA_ALPHA));
    EXPECT_NEAR(form->Peer()->windowOpacity(), 128 / 255.0, 0.01);
    EXPECT_FALSE(proc(form->Handle(), 0xFF00FF, 0, LWA_COLORKEY));
    EXPECT_FALSE(proc(c->Handle(), 0, 128, LWA_ALPHA)) << "a child window has no opacity of its own";
}
