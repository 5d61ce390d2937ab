// Control utilities: characters and keys, geometry on the work area, drag detection, the hint window.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include <QTest>
#include <QTimer>

using namespace cx;

TEST(CxControlsUtils, RemoveAccelChars)
{
    struct Case { const char* in; bool underscore; const char* out; };
    for (const Case& c : {Case{"&File", true, "File"}, Case{"Save && Exit", true, "Save & Exit"},
                          Case{"Menu&", true, "Menu_"}, Case{"Menu&", false, "Menu"}, Case{"", true, ""}}) {
        EXPECT_EQ(RemoveAccelChars(std::string(c.in), c.underscore), c.out) << c.in;
    }
    EXPECT_EQ(RemoveAccelChars(std::u16string(u"&Open&"), true), u"Open_");
}

TEST(CxControlsUtils, CharactersAndKeys)
{
    EXPECT_FALSE(IsNumericChar('e', ntFloat));
    EXPECT_TRUE(IsNumericChar('e', ntExponent));
    EXPECT_TRUE(IsNumericChar('.', ntFloat));
    EXPECT_FALSE(IsNumericChar('.', ntInteger));
    EXPECT_TRUE(IsNumericChar('-', ntInteger));
    EXPECT_TRUE(IsSysKey(VK_F1));
    EXPECT_TRUE(IsSysKey(VK_NUMPAD0 + 5));
    EXPECT_FALSE(IsSysKey('A'));
    EXPECT_FALSE(IsSysKey(256 + VK_F1));
    EXPECT_TRUE(IsEditStartChar(22));
    EXPECT_FALSE(IsIncSearchStartChar(22));
    EXPECT_EQ(ShiftStateToKeys(TShiftState{ssShift, ssLeft, ssAlt, ssDouble}), MK_SHIFT | MK_LBUTTON);
    EXPECT_EQ(GET_APPCOMMAND_LPARAM(LPARAM(0xF0070000)), 0x0007);
}

TEST(CxControlsUtils, GetCharFromKeyCodeFollowsTheKeyboardState)
{
    auto& sys = vcl::System();
    EXPECT_EQ(GetCharFromKeyCode('A'), u'a');
    EXPECT_EQ(GetCharFromKeyCode(VK_OEM_1), u';');
    EXPECT_EQ(GetCharFromKeyCode(VK_F2), 0);
    sys.SetKeyDown(VK_SHIFT, true);
    EXPECT_EQ(GetCharFromKeyCode('A'), u'A');
    EXPECT_EQ(GetCharFromKeyCode('1'), u'!');
    sys.SetKeyDown(VK_SHIFT, false);
    sys.SetKeyDown(VK_CONTROL, true);
    EXPECT_EQ(GetCharFromKeyCode('C'), 0x03);
    EXPECT_EQ(GetCharFromKeyCode('1'), 0);
    sys.SetKeyDown(VK_CONTROL, false);
}

TEST(CxControlsUtils, PointPosition)
{
    const TRect r{0, 0, 100, 100};
    EXPECT_EQ(GetPointPosition(r, {50, 50}, true, true), posTop);
    EXPECT_EQ(GetPointPosition(r, {50, 90}, true, true), posBottom);
    EXPECT_EQ(GetPointPosition(r, {5, 50}, true, true), posLeft);
    EXPECT_EQ(GetPointPosition(r, {95, 50}, true, true), posRight);
    EXPECT_EQ(GetPointPosition(r, {49, 0}, true, false), posLeft);
    EXPECT_EQ(GetPointPosition(r, {0, 60}, false, true), posBottom);
    EXPECT_EQ(GetPointPosition(r, {0, 0}, false, false), posNone);
}

TEST_F(ControlBaseTest, MakeVisibleOnDesktopKeepsTheSizeAndLetsLeftAndTopWin)
{
    // The fixed monitor is 1024 x 768 with a 30-pixel task bar: work area (0, 0, 1024, 738).
    TRect r{1000, 700, 1100, 800};
    MakeVisibleOnDesktop(r, {1000, 700});
    EXPECT_EQ(r, (TRect{924, 638, 1024, 738}));
    TRect big{-50, -50, 1500, 900};
    MakeVisibleOnDesktop(big, {0, 0});
    EXPECT_EQ(big, (TRect{0, 0, 1550, 950}));
}

TEST_F(ControlBaseTest, HintWindowStaysOnTheWorkAreaAndAnimatesOnlyShortHints)
{
    auto* hint = new TcxBaseHintWindow(form);
    hint->SetBounds(1000, 730, 80, 20);
    EXPECT_EQ(hint->BoundsRect(), (TRect{944, 718, 1024, 738}));
    cxActivateHint(hint, {10, 10, 110, 30}, "short");
    EXPECT_TRUE(hint->LastShowAnimated());
    EXPECT_TRUE(hint->Visible());
    hint->ActivateHint({10, 10, 110, 30}, std::string(100, 'x'));
    EXPECT_FALSE(hint->LastShowAnimated());
    // The rule counts characters: 60 Chinese characters (180 bytes) are a short hint.
    std::string chinese;
    for (int i = 0; i < 60; ++i)
        chinese += "电";
    hint->ActivateHint({10, 10, 110, 30}, chinese);
    EXPECT_TRUE(hint->LastShowAnimated());
    hint->AnimationStyle = cxhaNone;
    hint->ActivateHint({10, 10, 110, 30}, "short");
    EXPECT_FALSE(hint->LastShowAnimated());
    hint->NeedEraseBackground = false;
    EXPECT_EQ(hint->Perform(WM_ERASEBKGND), 1);
}

namespace {
TcxDragDetect DetectWith(TControl* c, std::function<void()> input)
{
    // Timers die with the call: a late one must not end a later test's capture.
    QObject timers;
    QTimer::singleShot(20, &timers, input);
    QTimer::singleShot(1500, &timers, [] { ReleaseCapture(); }); // bounds the wait if the input went astray
    return DragDetect(static_cast<TWinControl*>(c)->Handle());
}
} // namespace

TEST_F(ControlBaseTest, DragDetectReportsDragCancelOrNone)
{
    auto* c = new TCustomControl(form);
    c->SetBounds(10, 10, 100, 100);
    c->SetParent(form);
    ASSERT_TRUE(Activate(form));
    const TPoint start = c->ClientToScreen({50, 50});
    Fixed().SetCursorPos(start);
    // Threshold 4: a move of 3 stays inside, one of 4 leaves the square.
    EXPECT_EQ(DetectWith(c, [&] {
                  vcl::input::InjectMouse(WM_MOUSEMOVE, {start.X + 3, start.Y}, MK_LBUTTON);
                  vcl::input::InjectMouse(WM_MOUSEMOVE, {start.X + 4, start.Y}, MK_LBUTTON);
              }),
              ddDrag);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(DetectWith(c, [&] { vcl::input::InjectKey(VK_ESCAPE, true); }), ddCancel);
    EXPECT_EQ(DetectWith(c, [&] {
                  vcl::input::InjectMouse(WM_MOUSEMOVE, {start.X + 1, start.Y + 1}, MK_LBUTTON);
                  vcl::input::InjectMouse(WM_LBUTTONUP, {start.X + 1, start.Y + 1}, 0);
              }),
              ddNone);
}

TEST_F(ControlBaseTest, MessageDialogAnswersWithTheButtonPressed)
{
    struct Case {
        TMsgDlgButtons buttons;
        Qt::Key key;
        const char* text;
        int result;
    };
    for (const Case& c : {Case{TMsgDlgButtons{mbOK, mbCancel}, Qt::Key_Return, "\r", mrOk},
                          Case{TMsgDlgButtons{mbYes, mbNo}, Qt::Key_Escape, "\x1b", mrNo}}) {
        std::string caption;
        QObject timers;
        // Once the dialog is up, a real key to whatever Qt widget has the focus.
        QTimer::singleShot(20, &timers, [&] {
            TCustomForm* dialog = nullptr;
            for (int i = 0; i < Screen->CustomFormCount(); ++i)
                if (Screen->CustomForms(i)->FormState.Contains(fsModal))
                    dialog = Screen->CustomForms(i);
            if (!dialog || !Activate(dialog))
                return;
            caption = dialog->Caption();
            if (TWinControl* focused = FindControl(GetFocus()))
                QTest::sendKeyEvent(QTest::Click, focused->Peer(), c.key, QString(c.text), Qt::NoModifier);
        });
        QTimer::singleShot(3000, &timers, [] {
            if (TCustomForm* f = Screen->ActiveCustomForm())
                f->SetModalResult(mrAbort); // never hang
        });
        EXPECT_EQ(cxMessageDlg("Delete the row?", "Rows", mtConfirmation, c.buttons, 0), c.result);
        EXPECT_EQ(caption, "Rows");
    }
}

TEST_F(ControlBaseTest, DialogApplyFontScalesTheControlsByTheTextHeight)
{
    auto* child = new TCustomControl(form);
    child->SetBounds(10, 20, 100, 30);
    child->SetParent(form);
    TFont big;
    big.Assign(form->Font());
    big.SetHeight(form->Font()->GetHeight() * 2);
    TBitmap b;
    b.SetSize(1, 1);
    b.Canvas()->Font()->Assign(form->Font());
    const int oldH = b.Canvas()->TextHeight("Qq");
    b.Canvas()->Font()->Assign(&big);
    const int newH = b.Canvas()->TextHeight("Qq");
    ASSERT_NE(oldH, newH);
    DialogApplyFont(form, &big);
    EXPECT_EQ(form->Font()->GetHeight(), big.GetHeight());
    EXPECT_EQ(child->Width(), MulDiv(100, newH, oldH));
    EXPECT_EQ(child->Top(), MulDiv(20, newH, oldH));
    EXPECT_EQ(form->Width(), MulDiv(300, newH, oldH));
}

// The height is the one of the menu the user then sees: its visible items as the window system
// lays them out.
TEST_F(ControlBaseTest, PopupMenuHeightIsTheShownMenusHeight)
{
    TPopupMenu menu(nullptr);
    for (const char* caption : {"复制地址", "隐藏", "-", "读取电表(&R)"}) {
        auto* item = new TMenuItem(&menu);
        item->Caption = caption;
        menu.Items()->Add(item);
    }
    menu.Items()->Items(1)->Visible = false;
    int shown = -1;
    QObject timers;
    QTimer::singleShot(50, &timers, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            shown = popup->height();
            SavePicture(popup->grab().toImage(), "popup-menu.png", 2);
            popup->close();
        }
    });
    QTimer::singleShot(2000, &timers, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    menu.Popup(100, 100);
    ASSERT_GT(shown, 0);
    EXPECT_EQ(GetPopupMenuHeight(&menu), shown);
    // The hidden item takes no room.
    const int withHidden = GetPopupMenuHeight(&menu);
    menu.Items()->Items(1)->Visible = true;
    EXPECT_GT(GetPopupMenuHeight(&menu), withHidden);
    EXPECT_EQ(GetPopupMenuHeight(nullptr), 4);
}
