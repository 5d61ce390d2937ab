// Control utilities: characters and keys, geometry on the work area, drag detection, the hint window.
#include "EditorsTestSupport.h"

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
    QTimer::singleShot(20, input);
    QTimer::singleShot(1500, [] { ReleaseCapture(); }); // bounds the wait if the input went astray
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
