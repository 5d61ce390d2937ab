// The program-wide services driven by real Qt events: cursors on hover, popups that never take
// the activation and close through the hooks, the application's activation, capture outside
// our windows, the keyboard hook, and the look-ahead into the message queue.
#include "VclTestSupport.h"

#include "platform/vcl/Desktop.h"

#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class VclDesktopTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        form = new ProbeForm(nullptr, "F");
        form->SetBounds(100, 100, 300, 200);
        a = new ProbeControl(form, "A");
        a->SetBounds(10, 10, 60, 40);
        a->SetParent(form);
        b = new ProbeControl(form, "B");
        b->SetBounds(100, 10, 60, 40);
        b->SetParent(form);
    }
    void TearDown() override
    {
        // The tests' message probes capture their locals, which are gone by now: the windows'
        // last messages during the teardown must not reach them.
        if (form) {
            form->OnMessage = nullptr;
            a->OnMessage = nullptr;
            b->OnMessage = nullptr;
            form->Free();
        }
    }
    ProbeForm* form = nullptr;
    ProbeControl* a = nullptr;
    ProbeControl* b = nullptr;
};

class Painted : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

TEST_F(VclDesktopTest, TheCursorOfTheControlUnderThePointerShowsOnHover)
{
    ASSERT_TRUE(Activate(form));
    a->SetCursor(crIBeam);
    b->SetCursor(crHandPoint);
    // A registered cursor id (a drawn cursor) on a graphic child: its parent's window shows it.
    QPixmap picture(16, 16);
    picture.fill(Qt::black);
    constexpr TCursor crRegistered = 3001;
    Screen->SetCursors(crRegistered, vcl::CursorHandleOf(QCursor(picture, 0, 0)));
    auto* g = new Painted(form);
    g->SetBounds(200, 10, 40, 40);
    g->SetParent(form);
    g->SetCursor(crRegistered);
    int setCursors = 0;
    a->OnMessage = [&](TMessage& m) { setCursors += m.Msg == WM_SETCURSOR; };

    QTest::mouseMove(a->Peer(), QPoint(5, 5));
    EXPECT_EQ(a->Peer()->cursor().shape(), Qt::IBeamCursor);
    EXPECT_GE(setCursors, 1);
    QTest::mouseMove(b->Peer(), QPoint(5, 5));
    EXPECT_EQ(b->Peer()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(form->Peer(), QPoint(210, 20));
    EXPECT_EQ(form->Peer()->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseMove(form->Peer(), QPoint(250, 150));
    EXPECT_EQ(form->Peer()->cursor().shape(), Qt::ArrowCursor);
    // A change while the pointer rests on the control shows at once.
    QTest::mouseMove(a->Peer(), QPoint(6, 6));
    a->SetCursor(crSizeWE);
    EXPECT_EQ(a->Peer()->cursor().shape(), Qt::SizeHorCursor);
}

// A popup of the kind the editors open: it never takes the activation.
class NoActivatePopup : public Probe<TForm> {
public:
    using Probe<TForm>::Probe;

protected:
    void CreateParams(TCreateParams& params) override
    {
        TForm::CreateParams(params);
        params.Style &= ~WS_CAPTION;
        params.ExStyle |= WS_EX_NOACTIVATE | WS_EX_TOPMOST;
    }
};

// The hook of a popup unit: a press outside the popup closes it.
struct PopupCloser {
    static inline TForm* popup = nullptr;
    static inline std::vector<HWND> seen;
    static LRESULT Proc(int code, WPARAM msg, LPARAM lParam)
    {
        const auto& mh = *reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
        if (code == HC_ACTION && (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN)) {
            seen.push_back(mh.hwnd);
            if (popup && popup->Visible() && !(popup->HandleAllocated() && mh.hwnd == popup->Handle()))
                popup->Hide();
        }
        return 0;
    }
};

TEST_F(VclDesktopTest, APopupNeverTakesTheFocusAndClosesOnAPressElsewhere)
{
    a->TabStop = true;
    ASSERT_TRUE(Activate(form));
    a->SetFocus();
    auto* popup = new NoActivatePopup(nullptr, "P");
    popup->BorderStyle = bsNone;
    popup->SetBounds(110, 160, 120, 80);
    QPushButton plain("plain");
    plain.setGeometry(500, 100, 80, 30);
    plain.show();
    ASSERT_TRUE(SpinUntil([&] { return plain.isVisible(); }));
    ASSERT_TRUE(Activate(form));
    ASSERT_TRUE(a->Focused());

    PopupCloser::popup = popup;
    PopupCloser::seen.clear();
    HHOOK hook = vcl::SetWindowsHookEx(WH_MOUSE, &PopupCloser::Proc);
    auto reopen = [&] {
        popup->Show();
        SpinUntil([] { return false; }, 30);
        EXPECT_TRUE(popup->Peer()->isVisible());
        EXPECT_TRUE(a->Focused());
        EXPECT_TRUE(form->Active());
        EXPECT_EQ(QApplication::activeWindow(), form->Peer());
    };

    reopen();
    EXPECT_TRUE(popup->Peer()->windowFlags().testFlag(Qt::FramelessWindowHint));
    // A click inside the popup: its own message, and the focus stays with the editor.
    TheRecorder().Take();
    QTest::mouseClick(popup->Peer(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(popup->Visible());
    EXPECT_TRUE(a->Focused());
    const auto log = TheRecorder().Take();
    EXPECT_NE(std::find(log.begin(), log.end(), Recorded{"P", WM_LBUTTONDOWN}), log.end());

    // A click on the owner closes it, and the owner gets its click.
    QTest::mouseClick(a->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(popup->Visible());
    ASSERT_FALSE(PopupCloser::seen.empty());
    EXPECT_EQ(PopupCloser::seen.back(), a->Handle());
    std::vector<Recorded> buttons;
    for (const auto& r : TheRecorder().Take())
        if (r.msg == WM_LBUTTONDOWN || r.msg == WM_LBUTTONUP)
            buttons.push_back(r);
    EXPECT_EQ(buttons, (std::vector<Recorded>{{"A", WM_LBUTTONDOWN}, {"A", WM_LBUTTONUP}}));

    // A click on a plain Qt widget beside it reaches the hook too (no window of ours).
    reopen();
    int clicked = 0;
    QObject::connect(&plain, &QPushButton::clicked, [&] { ++clicked; });
    QTest::mouseClick(&plain, Qt::LeftButton);
    EXPECT_FALSE(popup->Visible());
    EXPECT_EQ(PopupCloser::seen.back(), nullptr);
    EXPECT_EQ(clicked, 1);

    vcl::UnhookWindowsHookEx(hook);
    PopupCloser::popup = nullptr;
    popup->Free();
}

TEST_F(VclDesktopTest, TheApplicationsDeactivationReachesEveryForm)
{
    ASSERT_TRUE(Activate(form));
    std::vector<WPARAM> activateApp;
    form->OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_ACTIVATEAPP)
            activateApp.push_back(m.WParam);
    };
    int deactivations = 0;
    Application->OnDeactivate = [&](rtl::TObject*) { ++deactivations; };
    a->SetMouseCapture(true);
    ApplicationStateFromWindowSystem(false);
    ASSERT_TRUE(SpinUntil([&] { return !activateApp.empty(); }));
    EXPECT_EQ(activateApp, std::vector<WPARAM>{0});
    EXPECT_EQ(deactivations, 1);
    EXPECT_FALSE(vcl::ApplicationActive());
    EXPECT_EQ(GetCapture(), nullptr);
    ApplicationStateFromWindowSystem(true);
    ASSERT_TRUE(SpinUntil([&] { return activateApp.size() == 2; }));
    EXPECT_EQ(activateApp.back(), 1u);
    Application->OnDeactivate = nullptr;
}

TEST_F(VclDesktopTest, APressInAnInactiveFormActivatesItThroughMouseActivate)
{
    ASSERT_TRUE(Activate(form));
    auto* other = new ProbeForm(nullptr, "O");
    other->SetBounds(500, 300, 200, 100);
    other->Show();
    ASSERT_TRUE(Activate(form));
    ASSERT_FALSE(other->Active());
    std::vector<UINT> seen;
    other->OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_MOUSEACTIVATE || m.Msg == WM_LBUTTONDOWN)
            seen.push_back(m.Msg);
    };
    QTest::mouseClick(other->Peer(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(SpinUntil([&] { return other->Active(); }));
    EXPECT_EQ(seen, (std::vector<UINT>{WM_MOUSEACTIVATE, WM_LBUTTONDOWN}));
    // Answering "activate and eat" activates without the press.
    ASSERT_TRUE(Activate(form));
    seen.clear();
    other->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_MOUSEACTIVATE) {
            m.Result = MA_ACTIVATEANDEAT;
            return;
        }
        other->WndProc(m);
    };
    QTest::mouseClick(other->Peer(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(SpinUntil([&] { return other->Active(); }));
    EXPECT_TRUE(seen.empty());
    other->Free();
}

TEST_F(VclDesktopTest, TheCaptureSeesMovesOutsideItsWindow)
{
    ASSERT_TRUE(Activate(form));
    QLineEdit plain;
    plain.setGeometry(600, 400, 100, 24);
    plain.show();
    ASSERT_TRUE(Activate(form));
    std::vector<TPoint> moves;
    a->OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_MOUSEMOVE)
            moves.push_back({XFromLParam(m.LParam), YFromLParam(m.LParam)});
    };
    SetCapture(a->Handle());
    // Over another control of ours and over a plain widget of another window.
    QTest::mouseMove(b->Peer(), QPoint(5, 5));
    QTest::mouseMove(&plain, QPoint(10, 5));
    ReleaseCapture();
    QTest::mouseMove(&plain, QPoint(20, 5));
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0], a->ScreenToClient(b->ClientToScreen({5, 5})));
    const QPoint g = plain.mapToGlobal(QPoint(10, 5));
    EXPECT_EQ(moves[1], a->ScreenToClient({g.x(), g.y()}));
}

struct KeyWatch {
    static inline std::vector<std::pair<WPARAM, bool>> keys;
    static inline bool swallowX = false;
    static LRESULT Proc(int, WPARAM vk, LPARAM data)
    {
        keys.push_back({vk, (data & (LPARAM(1) << 31)) == 0});
        return swallowX && vk == 'X' ? 1 : 0;
    }
};

TEST_F(VclDesktopTest, TheKeyboardHookSeesKeysOfPlainWidgetsAndMaySwallowThem)
{
    QLineEdit plain;
    plain.show();
    plain.activateWindow();
    QApplication::setActiveWindow(&plain);
    plain.setFocus();
    ASSERT_TRUE(SpinUntil([&] { return plain.hasFocus(); }));
    KeyWatch::keys.clear();
    KeyWatch::swallowX = true;
    HHOOK hook = vcl::SetWindowsHookEx(WH_KEYBOARD, &KeyWatch::Proc);
    QTest::keyClick(&plain, Qt::Key_A);
    QTest::keyClick(&plain, Qt::Key_X);
    vcl::UnhookWindowsHookEx(hook);
    EXPECT_EQ(KeyWatch::keys, (std::vector<std::pair<WPARAM, bool>>{{'A', true}, {'A', false}, {'X', true}, {'X', false}}));
    EXPECT_EQ(plain.text(), "a");
}

TEST_F(VclDesktopTest, PeekMessageSeesPostedMessagesAndPendingKeys)
{
    a->TabStop = true;
    ASSERT_TRUE(Activate(form));
    a->SetFocus();
    TheRecorder().Take();
    vcl::PostMessage(b->Handle(), WM_USER, 7);
    MSG m;
    ASSERT_TRUE(vcl::PeekMessage(m, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(m.hwnd, b->Handle());
    EXPECT_EQ(m.message, UINT(WM_USER));
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_FALSE(vcl::PeekMessage(m, a->Handle(), 0, 0, PM_NOREMOVE));

    // A key Qt has not delivered yet: the look-ahead finds it, in order behind the posted one.
    QCoreApplication::postEvent(a->Peer(), new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b"));
    ASSERT_TRUE(vcl::PeekMessage(m, a->Handle(), WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(m.message, UINT(WM_KEYDOWN));
    EXPECT_EQ(m.wParam, WPARAM('B'));
    EXPECT_TRUE(vcl::TranslateMessage(m));
    vcl::DispatchMessage(m);
    EXPECT_TRUE(vcl::PeekMessage(m, a->Handle(), WM_CHAR, WM_CHAR, PM_NOREMOVE));
    EXPECT_EQ(m.wParam, WPARAM(u'b'));
    // Nothing was handled before the look-ahead let it go: the posted message, then the char.
    EXPECT_EQ(TheRecorder().Take(), (std::vector<Recorded>{{"A", WM_KEYDOWN}}));
    SpinUntil([] { return vcl::PendingMessageCount() == 0; });
    EXPECT_EQ(TheRecorder().Take(), (std::vector<Recorded>{{"B", WM_USER}, {"A", CN_CHAR}, {"A", WM_CHAR}}));

    // GetMessage waits for what comes next.
    QObject timers;
    QTimer::singleShot(10, &timers, [&] { vcl::PostMessage(a->Handle(), WM_USER + 1); });
    ASSERT_TRUE(vcl::GetMessage(m, nullptr, 0, 0));
    EXPECT_EQ(m.message, UINT(WM_USER + 1));
    vcl::PostQuitMessage(3);
    EXPECT_FALSE(vcl::GetMessage(m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 3u);
}

TEST(VclRegisteredMessages, TheSameNameGivesTheSameNumber)
{
    const UINT a = vcl::RegisterWindowMessage("{B2CE3777-44D8-4998-9701-47BBBC10B656}");
    const UINT b = vcl::RegisterWindowMessage("{B2CE3777-44D8-1321-4656-12C54AA613BB}");
    EXPECT_GE(a, 0xC000u);
    EXPECT_NE(a, b);
    EXPECT_EQ(vcl::RegisterWindowMessage("{B2CE3777-44D8-4998-9701-47BBBC10B656}"), a);
    EXPECT_EQ(vcl::RegisterWindowMessage(""), 0u);
}

} // namespace

namespace {

int CountPixels(TWinControl* c, const TRect& r, TColor color)
{
    c->Perform(WM_PAINT);
    const TColor want = TColor(ColorToRGB(color));
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += TColor(gdi::PixelToColor(c->Surface().Pixel(x, y))) == want;
    return n;
}

TEST_F(VclDesktopTest, TheHintWindowPaintsItsText)
{
    auto* hint = new THintWindow(form);
    const std::string text = "Hint 电表设置";
    TRect r = hint->CalcHintRect(300, text);
    EXPECT_GT(r.Width(), 6 + 40);
    EXPECT_GT(r.Height(), 2 + 8);
    r = {r.Left + 50, r.Top + 60, r.Right + 50, r.Bottom + 60};
    hint->ActivateHint(r, text);
    ASSERT_TRUE(hint->Peer()->isVisible());
    EXPECT_EQ(hint->Peer()->windowType(), Qt::ToolTip);
    const TRect inside{2, 2, r.Width() - 1, r.Height() - 1};
    // The text is smoothed: its ink is every pixel nearer the text colour than the background.
    auto ink = [&](const TRect& area) {
        hint->Perform(WM_PAINT);
        const TColor text = TColor(ColorToRGB(clInfoText)), back = TColor(ColorToRGB(clInfoBk));
        auto distance = [](TColor a, TColor b) {
            int d = 0;
            for (int shift : {0, 8, 16})
                d += std::abs(int((unsigned(a) >> shift) & 0xFF) - int((unsigned(b) >> shift) & 0xFF));
            return d;
        };
        int n = 0;
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x) {
                const TColor c = TColor(gdi::PixelToColor(hint->Surface().Pixel(x, y)));
                n += distance(c, text) < distance(c, back);
            }
        return n;
    };
    EXPECT_GT(ink(inside), 20);
    EXPECT_GT(CountPixels(hint, inside, clInfoBk), inside.Width() * inside.Height() / 2);
    // The text starts at the left margin and stays inside the measured rectangle.
    EXPECT_GT(ink({2, 1, 7, r.Height() - 1}), 0);
    // A wider text needs a wider window.
    EXPECT_GT(hint->CalcHintRect(300, text + text).Width(), r.Width());
}

class VclHintTest : public VclDesktopTest {
protected:
    void SetUp() override
    {
        VclDesktopTest::SetUp();
        Application->HintPause = 10;
        Application->HintShortPause = 5;
        a->ShowHint = true;
        a->Hint = "电表设置";
        a->WindowProc = [&](TMessage& m) {
            if (m.Msg == CM_HINTSHOW) {
                ++hintShows;
                m.Result = refuse ? 1 : 0;
                return;
            }
            a->WndProc(m);
        };
    }
    void TearDown() override
    {
        Application->CancelHint();
        Application->OnShowHint = nullptr;
        Application->HintPause = 500;
        Application->HintShortPause = 50;
        VclDesktopTest::TearDown();
    }
    bool HintShown() const { return Application->HintWindow() && Application->HintWindow()->Visible(); }
    int hintShows = 0;
    bool refuse = false;
};

TEST_F(VclHintTest, RestingOnAControlShowsItsHintUntilAPress)
{
    ASSERT_TRUE(Activate(form));
    QTest::mouseMove(a->Peer(), QPoint(5, 5));
    ASSERT_TRUE(SpinUntil([&] { return HintShown(); }));
    EXPECT_EQ(hintShows, 1);
    THintWindow* w = Application->HintWindow();
    EXPECT_EQ(w->Caption(), "电表设置");
    const TPoint p = a->ClientToScreen({5, 5});
    EXPECT_EQ(w->Left(), p.X);
    EXPECT_GT(w->Top(), p.Y);
    // Moving inside the control keeps it; a press hides it.
    QTest::mouseMove(a->Peer(), QPoint(9, 9));
    EXPECT_TRUE(HintShown());
    QTest::mousePress(a->Peer(), Qt::LeftButton, {}, QPoint(9, 9));
    EXPECT_FALSE(HintShown());
    QTest::mouseRelease(a->Peer(), Qt::LeftButton, {}, QPoint(9, 9));
}

TEST_F(VclHintTest, TheControlAndOnShowHintMayChangeOrRefuseTheHint)
{
    ASSERT_TRUE(Activate(form));
    refuse = true;
    QTest::mouseMove(a->Peer(), QPoint(5, 5));
    SpinUntil([&] { return hintShows > 0; });
    SpinUntil([] { return false; }, 30);
    EXPECT_FALSE(HintShown());
    refuse = false;
    Application->OnShowHint = [](std::string& text, bool& canShow, THintInfo& info) {
        text += "!";
        info.HintPos.Y += 5;
        canShow = true;
    };
    QTest::mouseMove(form->Peer(), QPoint(250, 150));
    QTest::mouseMove(a->Peer(), QPoint(5, 5));
    ASSERT_TRUE(SpinUntil([&] { return HintShown(); }));
    EXPECT_EQ(Application->HintWindow()->Caption(), "电表设置!");
    // The hide pause ends it.
    Application->CancelHint();
    Application->HintHidePause = 20;
    QTest::mouseMove(form->Peer(), QPoint(250, 150));
    QTest::mouseMove(a->Peer(), QPoint(6, 6));
    ASSERT_TRUE(SpinUntil([&] { return HintShown(); }));
    EXPECT_TRUE(SpinUntil([&] { return !HintShown(); }));
    Application->HintHidePause = 2500;
}

} // namespace

namespace {

TEST_F(VclDesktopTest, ASurfaceOnAScreenOfRatioTwoDrawsALogicalPixelAsTwoDevicePixels)
{
    ASSERT_TRUE(Activate(form));
    EXPECT_EQ(Screen->PixelsPerInch, qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()));
    a->OnPaint = [&](rtl::TObject*) {
        TCanvas* c = a->Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(a->GetClientRect());
        c->Pen()->SetColor(clBlack);
        c->MoveTo(5, 0);
        c->LineTo(5, 30);
    };
    a->Invalidate();
    QImage device(a->Width() * 2, a->Height() * 2, QImage::Format_RGB32);
    device.setDevicePixelRatio(2);
    device.fill(Qt::red);
    a->Peer()->render(&device);
    auto black = [&](int x) { return device.pixelColor(x, 20) == QColor(Qt::black); };
    EXPECT_FALSE(black(9));
    EXPECT_TRUE(black(10));
    EXPECT_TRUE(black(11));
    EXPECT_FALSE(black(12));
    EXPECT_EQ(device.pixelColor(8, 20), QColor(Qt::white));
}

} // namespace
