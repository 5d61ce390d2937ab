// Message order of creation, mouse, keys, focus and modal loops, and painting through the peer.
#include "VclTestSupport.h"

#include "platform/vcl/Menus.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Log = std::vector<Recorded>;

class VclInputTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        form = new ProbeForm(nullptr, "F");
        form->SetBounds(100, 100, 200, 150);
        a = new ProbeControl(form, "A");
        a->SetBounds(10, 10, 60, 40);
        a->TabStop = true;
        a->SetParent(form);
        b = new ProbeControl(form, "B");
        b->SetBounds(100, 10, 60, 40);
        b->TabStop = true;
        b->SetParent(form);
    }
    void TearDown() override
    {
        if (form)
            form->Free();
    }
    ProbeForm* form = nullptr;
    ProbeControl* a = nullptr;
    ProbeControl* b = nullptr;
};

TEST_F(VclInputTest, CreateShowAndActivateInOrder)
{
    TheRecorder().Take();
    form->Show();
    // Created parent first, children with it, then shown.
    EXPECT_EQ(TheRecorder().Take(), (Log{{"F", WM_CREATE}, {"A", WM_CREATE}, {"B", WM_CREATE}, {"F", WM_SHOWWINDOW}}));
    form->SetActiveControl(b);
    QApplication::setActiveWindow(form->Peer());
    ASSERT_TRUE(SpinUntil([&] { return form->Active(); }));
    EXPECT_EQ(TheRecorder().Take(), (Log{{"F", WM_ACTIVATE}, {"F", CM_ACTIVATE}, {"B", WM_SETFOCUS}, {"B", CM_ENTER}}));
    EXPECT_TRUE(b->Focused());
}

TEST_F(VclInputTest, ClickCapturesAndReleases)
{
    ASSERT_TRUE(Activate(form));
    int clicks = 0;
    a->OnClick = [&](rtl::TObject*) { ++clicks; };
    a->ControlStyle.Include(csCaptureMouse);
    TheRecorder().Take();
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(a, 5, 5), MK_LBUTTON);
    EXPECT_EQ(GetCapture(), a->Handle());
    // Captured: the release far outside still goes to A, then the capture is given back.
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(b, 5, 5), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(clicks, 0); // released outside: no click
    Fixed().ticks += 1000;
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(a, 5, 5), MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(a, 6, 5), 0);
    EXPECT_EQ(clicks, 1);
    // While A holds the capture the pointer stays "in" A: no leave notice until the next move.
    EXPECT_EQ(TheRecorder().Take(), (Log{{"A", CM_MOUSEENTER}, {"A", WM_LBUTTONDOWN}, {"A", WM_LBUTTONUP},
                                         {"A", WM_CAPTURECHANGED}, {"A", WM_LBUTTONDOWN}, {"A", WM_LBUTTONUP},
                                         {"A", WM_CAPTURECHANGED}}));
}

TEST_F(VclInputTest, APressGoesToTheWindowItWasDeliveredToWhereWindowsOverlap)
{
    // The active form lies under a second window at the pressed point: the window system chose
    // the second one, and so must we (our window list knows no stacking order).
    ASSERT_TRUE(Activate(form));
    auto* over = new ProbeForm(nullptr, "G");
    over->SetBounds(105, 105, 80, 60);
    over->Show();
    TheRecorder().Take();
    QTest::mouseClick(over->Peer(), Qt::LeftButton, {}, QPoint(20, 20));
    Log presses;
    for (const Recorded& r : TheRecorder().Take())
        if (r.msg == WM_LBUTTONDOWN)
            presses.push_back(r);
    EXPECT_EQ(presses, (Log{{"G", WM_LBUTTONDOWN}}));
    over->Free();
}

TEST_F(VclInputTest, DoubleClickWithinTimeAndSquare)
{
    ASSERT_TRUE(Activate(form));
    int dbl = 0;
    a->OnDblClick = [&](rtl::TObject*) { ++dbl; };
    auto click = [&](int x) {
        vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(a, x, 5), MK_LBUTTON);
        vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(a, x, 5), 0);
    };
    struct Case { std::uint32_t gap; int dx; bool isDouble; };
    for (const Case& c : {Case{100, 1, true}, Case{600, 1, false}, Case{100, 5, false}}) {
        vcl::input::ResetClickCount();
        click(5);
        Fixed().ticks += c.gap;
        TheRecorder().Take();
        click(5 + c.dx);
        const UINT expected = c.isDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        auto log = TheRecorder().Take();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), (Recorded{"A", expected})) << c.gap << " " << c.dx;
        Fixed().ticks += 1000;
    }
    EXPECT_EQ(dbl, 1);
    // A third press after a double click starts over.
    vcl::input::ResetClickCount();
    click(5);
    click(5);
    TheRecorder().Take();
    click(5);
    EXPECT_EQ(TheRecorder().Take().front(), (Recorded{"A", WM_LBUTTONDOWN}));
}

TEST_F(VclInputTest, CancelModeTakesTheCaptureAway)
{
    ASSERT_TRUE(Activate(form));
    int ups = 0;
    a->OnMouseUp = [&](rtl::TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(a, 5, 5), MK_LBUTTON);
    ASSERT_EQ(GetCapture(), a->Handle());
    TheRecorder().Take();
    vcl::SendMessage(a->Handle(), WM_CANCELMODE);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(ups, 1); // the pressed left button is released for the control
    EXPECT_EQ(TheRecorder().Take(), (Log{{"A", WM_CANCELMODE}, {"A", WM_CAPTURECHANGED}, {"A", WM_LBUTTONUP}}));
    // Capture taken by another window: the old one is told who took it.
    SetCapture(a->Handle());
    TheRecorder().Take();
    SetCapture(b->Handle());
    EXPECT_EQ(TheRecorder().Take(), (Log{{"A", WM_CAPTURECHANGED}}));
    ReleaseCapture();
}

TEST_F(VclInputTest, EnterAndLeaveFollowThePointer)
{
    ASSERT_TRUE(Activate(form));
    std::vector<std::string> events;
    a->OnMouseEnter = [&](rtl::TObject*) { events.push_back("enter A"); };
    a->OnMouseLeave = [&](rtl::TObject*) { events.push_back("leave A"); };
    TheRecorder().Take();
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(form, 80, 100));
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(a, 3, 3));
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(a, 4, 4));
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(b, 3, 3));
    vcl::input::PointerLeftWindow(form->Peer());
    auto log = TheRecorder().Take();
    log.erase(std::remove_if(log.begin(), log.end(), [](const Recorded& r) { return r.msg == WM_MOUSEMOVE; }), log.end());
    EXPECT_EQ(log, (Log{{"F", CM_MOUSEENTER}, {"F", CM_MOUSELEAVE}, {"A", CM_MOUSEENTER}, {"A", CM_MOUSELEAVE},
                        {"B", CM_MOUSEENTER}, {"B", CM_MOUSELEAVE}}));
    EXPECT_EQ(events, (std::vector<std::string>{"enter A", "leave A"}));
}

TEST_F(VclInputTest, KeyDownReflectsThenDispatchesThenQueuesTheCharacter)
{
    ASSERT_TRUE(Activate(form));
    a->SetFocus();
    std::string typed;
    a->OnKeyPress = [&](rtl::TObject*, char16_t& ch) { typed += char(ch); };
    TheRecorder().Take();
    vcl::input::InjectKey('A', true, "a");
    EXPECT_EQ(TheRecorder().Take(), (Log{{"A", CN_KEYDOWN}, {"A", WM_KEYDOWN}}));
    vcl::DrainPostedMessages();
    vcl::input::InjectKey('A', false);
    EXPECT_EQ(TheRecorder().Take(), (Log{{"A", CN_CHAR}, {"A", WM_CHAR}, {"A", CN_KEYUP}, {"A", WM_KEYUP}}));
    EXPECT_EQ(typed, "a");

    // A key that the control's KeyDown sets to 0 still gets its character (already queued),
    // while a key preview on the form sees it first.
    form->KeyPreview = true;
    std::vector<std::string> order;
    form->OnKeyDown = [&](rtl::TObject*, std::uint16_t&, TShiftState) { order.push_back("form"); };
    a->OnKeyDown = [&](rtl::TObject*, std::uint16_t& key, TShiftState) { order.push_back("A"); key = 0; };
    vcl::input::InjectKey('B', true, "b");
    vcl::DrainPostedMessages();
    EXPECT_EQ(order, (std::vector<std::string>{"form", "A"}));
    EXPECT_EQ(typed, "ab");
}

TEST_F(VclInputTest, TabIsADialogKeyThatMovesTheFocus)
{
    ASSERT_TRUE(Activate(form));
    a->SetFocus();
    TheRecorder().Take();
    vcl::input::InjectKey(VK_TAB, true, "\t");
    vcl::DrainPostedMessages();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(TheRecorder().Take(), (Log{{"A", CN_KEYDOWN}, {"F", CM_DIALOGKEY}, {"A", WM_KILLFOCUS},
                                         {"B", WM_SETFOCUS}, {"A", CM_EXIT}, {"B", CM_ENTER}}));
}

TEST_F(VclInputTest, FocusChangeBetweenTwoControls)
{
    ASSERT_TRUE(Activate(form));
    a->SetFocus();
    std::vector<std::string> events;
    a->OnExit = [&](rtl::TObject*) { events.push_back("exit A"); };
    b->OnEnter = [&](rtl::TObject*) { events.push_back("enter B"); };
    TheRecorder().Take();
    b->SetFocus();
    EXPECT_EQ(TheRecorder().Take(), (Log{{"A", WM_KILLFOCUS}, {"B", WM_SETFOCUS}, {"A", CM_EXIT}, {"B", CM_ENTER}}));
    EXPECT_EQ(events, (std::vector<std::string>{"exit A", "enter B"}));
    EXPECT_EQ(form->ActiveControl(), b);
    EXPECT_EQ(Screen->ActiveControl(), b);
}

TEST_F(VclInputTest, ModalLoopEndsOnModalResultUnlessTheCloseQueryRefuses)
{
    ASSERT_TRUE(Activate(form));
    auto* dialog = new ProbeForm(nullptr, "D");
    int queries = 0;
    dialog->OnCloseQuery = [&](rtl::TObject*, bool& canClose) { canClose = ++queries > 1; };
    QObject timers; // the timers die with the test, never after the dialog
    dialog->OnShow = [&](rtl::TObject*) {
        // The first result is refused by the close query, the second accepted.
        QTimer::singleShot(10, &timers, [dialog] { dialog->SetModalResult(mrOk); });
        QTimer::singleShot(40, &timers, [dialog] { dialog->SetModalResult(mrYes); });
        QTimer::singleShot(3000, &timers, [dialog] { dialog->SetModalResult(mrAbort); }); // never hang
    };
    bool formEnabledInside = true;
    dialog->OnCloseQuery = [&](rtl::TObject*, bool& canClose) {
        formEnabledInside = form->Enabled();
        canClose = ++queries > 1;
    };
    TheRecorder().Take();
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    EXPECT_EQ(queries, 2);
    EXPECT_FALSE(formEnabledInside);
    EXPECT_TRUE(form->Enabled());
    EXPECT_FALSE(dialog->Visible());
    auto log = TheRecorder().Take();
    // The focus window that gets disabled loses the focus first (as the system does).
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), (Recorded{"F", WM_KILLFOCUS}));
    log.erase(std::remove_if(log.begin(), log.end(), [](const Recorded& r) {
        return r.who != "D" || (r.msg != WM_CREATE && r.msg != WM_SHOWWINDOW && r.msg != WM_ACTIVATE);
    }), log.end());
    EXPECT_EQ(log, (Log{{"D", WM_CREATE}, {"D", WM_SHOWWINDOW}, {"D", WM_ACTIVATE}, {"D", WM_SHOWWINDOW}, {"D", WM_ACTIVATE}}));
    // A modal form cannot be shown modally again while visible.
    dialog->OnShow = nullptr;
    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), rtl::EInvalidOperation);
    dialog->Free();
}

TEST_F(VclInputTest, ShowModalCancelsTheCaptureFirst)
{
    ASSERT_TRUE(Activate(form));
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(a, 5, 5), MK_LBUTTON);
    ASSERT_EQ(GetCapture(), a->Handle());
    auto* dialog = new TForm(nullptr);
    QObject timers;
    dialog->OnShow = [&](rtl::TObject*) { QTimer::singleShot(0, &timers, [dialog] { dialog->Close(); }); };
    TheRecorder().Take();
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    auto log = TheRecorder().Take();
    ASSERT_GE(log.size(), 1u);
    EXPECT_EQ(log.front(), (Recorded{"A", WM_CANCELMODE}));
    EXPECT_EQ(GetCapture(), nullptr);
    dialog->Free();
}

TEST_F(VclInputTest, PaintingShowsTheSurfaceOpaqueInThePeer)
{
    ASSERT_TRUE(Activate(form));
    a->OnPaint = [&](rtl::TObject*) {
        a->Canvas()->Brush()->SetColor(0x0000FF); // red
        a->Canvas()->FillRect({0, 0, 30, 40});
        a->Canvas()->Brush()->SetColor(0xFF0000); // blue
        a->Canvas()->FillRect({30, 0, 60, 40});
    };
    a->Repaint();
    const QImage img = a->Peer()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(img.width(), 60);
    EXPECT_EQ(img.pixel(5, 5), 0xFFFF0000u);  // red, opaque though the surface's top byte is 0
    EXPECT_EQ(img.pixel(40, 5), 0xFF0000FFu); // blue
    EXPECT_EQ(a->Surface().Pixel(5, 5) >> 24, 0u);
    // The form's background is erased with its button-face brush.
    const QImage formImg = form->Peer()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(formImg.pixel(5, 100), 0xFFD4D0C8u);
}

TEST_F(VclInputTest, RightClickAsksForTheContextMenu)
{
    ASSERT_TRUE(Activate(form));
    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(menu);
    item->Caption = "Do";
    int clicked = 0;
    item->OnClick = [&](rtl::TObject*) { ++clicked; };
    menu->Items()->Add(item);
    a->SetPopupMenu(menu);
    TPoint shownAt;
    auto old = SetMenuPresenter([&](TPopupMenu* m, TPoint p) {
        shownAt = p;
        return m->Items()->Items(0);
    });
    vcl::input::InjectMouse(WM_RBUTTONDOWN, ScreenOf(a, 7, 8), MK_RBUTTON);
    vcl::input::InjectMouse(WM_RBUTTONUP, ScreenOf(a, 7, 8), 0);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(shownAt, ScreenOf(a, 7, 8));
    // A short cut of the control's popup menu is a menu key: swallowed in CN_KEYDOWN.
    item->ShortCut = ShortCut('D', {ssCtrl});
    a->SetFocus();
    Fixed().SetKeyDown(VK_CONTROL, true);
    TheRecorder().Take();
    vcl::input::InjectKey('D', true, "\x04");
    Fixed().SetKeyDown(VK_CONTROL, false);
    vcl::DrainPostedMessages();
    EXPECT_EQ(clicked, 2);
    EXPECT_EQ(TheRecorder().Take(), (Log{{"A", CN_KEYDOWN}}));
    SetMenuPresenter(old);
}

} // namespace

namespace {

// Bringing a child to the front changes only the z order: the child keeps its parent and its
// window.
TEST_F(VclInputTest, BringToFrontKeepsParentAndWindow)
{
    form->Show();
    const HWND before = a->Handle();
    ASSERT_EQ(form->Controls(0), a);
    a->BringToFront();
    EXPECT_EQ(a->Parent(), form);
    EXPECT_EQ(form->ControlCount(), 2);
    EXPECT_EQ(form->Controls(1), a);
    EXPECT_EQ(a->Handle(), before);
}

}  // namespace
