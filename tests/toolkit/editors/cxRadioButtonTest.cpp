// The stand-alone radio button: entering by Tab checks it once, states under the mouse, the
// caption colour and insets, transparency, and the popup menu from the keyboard.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/Text.h"
#include "platform/vcl/Menus.h"
#include "toolkit/editors/cxRadioGroup.h"

#include <QTest>

using namespace cx;

class CxRadioButtonTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        ASSERT_TRUE(Activate(form));
        first = new TButton(form);
        first->SetParent(form);
        first->SetBounds(10, 10, 60, 20);
        radio = new TcxRadioButton(form);
        radio->SetParent(form);
        radio->SetBounds(10, 40, 120, 20);
        radio->SetCaption("Radio");
        radio->LookAndFeel()->SetKind(lfStandard);
        radio->OnClick = [this](TObject*) { ++clicks; };
    }
    void TearDown() override
    {
        ControlBaseTest::TearDown();
        gdi::SetFontEngine(nullptr);
    }
    TButton* first = nullptr;
    TcxRadioButton* radio = nullptr;
    int clicks = 0;
};

TEST_F(CxRadioButtonTest, TabbingIntoAnUncheckedButtonChecksItWithOneClick)
{
    first->SetFocus();
    QTest::keyClick(form->Peer(), Qt::Key_Tab);
    vcl::DrainPostedMessages();
    ASSERT_TRUE(radio->Focused());
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(clicks, 1);
    // Leaving and coming back to the checked button clicks no more.
    first->SetFocus();
    radio->SetFocus();
    EXPECT_EQ(clicks, 1);
}

TEST_F(CxRadioButtonTest, StateFollowsTheMouse)
{
    EXPECT_EQ(radio->State(), rbsNormal);
    const TPoint inside = ScreenOf(radio, 5, 10);
    Fixed().SetCursorPos(inside);
    vcl::input::InjectMouse(WM_MOUSEMOVE, inside, 0);
    vcl::DrainPostedMessages();
    EXPECT_EQ(radio->State(), rbsHot);
    vcl::input::InjectMouse(WM_LBUTTONDOWN, inside, MK_LBUTTON);
    vcl::DrainPostedMessages();
    EXPECT_EQ(radio->State(), rbsPressed);
    const TPoint outside = ScreenOf(radio, 200, 10);
    vcl::input::InjectMouse(WM_MOUSEMOVE, outside, MK_LBUTTON);
    vcl::DrainPostedMessages();
    EXPECT_EQ(radio->State(), rbsHot);   // captured, pointer outside
    vcl::input::InjectMouse(WM_LBUTTONUP, outside, 0);
    vcl::DrainPostedMessages();
    EXPECT_EQ(radio->State(), rbsNormal);
    radio->SetEnabled(false);
    EXPECT_EQ(radio->State(), rbsDisabled);
}

TEST_F(CxRadioButtonTest, DisabledTextColourComesFromThePainterOrTheShadow)
{
    radio->Font()->SetColor(clWindowText);
    EXPECT_EQ(radio->GetTextColor(), clWindowText);
    radio->SetEnabled(false);
    // The standard painter has no disabled text colour of its own.
    EXPECT_EQ(radio->GetTextColor(), clBtnShadow);
    radio->LookAndFeel()->SetKind(lfOffice11);
    const TColor office = TcxOffice11LookAndFeelPainter::Class()->DefaultEditorTextColor(true);
    EXPECT_EQ(radio->GetTextColor(), office == clDefault ? TColor(clBtnShadow) : office);
    radio->Font()->SetColor(clRed);
    EXPECT_EQ(radio->GetTextColor(), clBtnShadow);
    radio->SetEnabled(true);
    EXPECT_EQ(radio->GetTextColor(), clRed);
}

TEST_F(CxRadioButtonTest, GlyphPlacementAndTextInsets)
{
    const TSize size = TcxStandardLookAndFeelPainter::Class()->RadioButtonSize();
    EXPECT_EQ(radio->GetRadioButtonRect(size, false), cxRectBounds(1, (20 - size.cy) / 2, size.cx, size.cy));
    EXPECT_EQ(radio->GetRadioButtonRect(size, true).Left, 0);
    radio->SetAlignment(taLeftJustify);
    EXPECT_EQ(radio->GetRadioButtonRect(size, false).Right, 120);

    struct Case {
        bool inplace, native, wrap, left;
        TRect expected;
    } cases[] = {
        {true, false, false, false, {5, 0, 1, 0}}, {true, true, true, true, {3, 0, 0, 0}},
        {false, false, false, true, {2, -1, 1, 0}}, {false, false, false, false, {5, -1, 0, 0}},
        {false, false, true, true, {2, -1, 6, 0}}, {false, false, true, false, {5, -1, 2, 0}},
        {false, true, false, true, {0, -1, 1, 0}}, {false, true, false, false, {3, -1, 0, 0}},
        {false, true, true, true, {0, -1, 3, 0}},  {false, true, true, false, {3, -1, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RadioButtonTextCorrection(c.inplace, c.native, c.wrap, c.left), c.expected)
            << c.inplace << c.native << c.wrap << c.left;
}

TEST_F(CxRadioButtonTest, TransparentNeverFillsAndDrawsTheGlyphOnDefault)
{
    form->SetColor(clYellow);
    radio->SetColor(clAqua);
    EXPECT_EQ(radio->GlyphBrushColor(), clAqua);
    EXPECT_EQ(PixelOf(radio, 110, 2), Sys(clAqua));
    radio->SetTransparent(true);
    EXPECT_EQ(radio->GlyphBrushColor(), clDefault);
    radio->Invalidate();
    EXPECT_EQ(PixelOf(radio, 110, 2), Sys(clYellow));   // the form shows through
}

TEST_F(CxRadioButtonTest, ContextMenuKeyShowsThePopupAtTheTopLeft)
{
    auto* menu = new TPopupMenu(form);
    menu->Items()->Add(new TMenuItem(menu));
    int shown = 0;
    TPoint at;
    auto old = SetMenuPresenter([&](TPopupMenu*, TPoint p) {
        ++shown;
        at = p;
        return nullptr;
    });
    radio->SetPopupMenu(new TComponent(form));
    EXPECT_EQ(radio->PopupMenu(), nullptr);
    radio->SetPopupMenu(menu);
    radio->Perform(WM_CONTEXTMENU, 0, MakeLParam(0xFFFF, 0xFFFF));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(at, ScreenOf(radio, 0, 0));
    menu->Free();
    EXPECT_EQ(radio->PopupMenu(), nullptr);
    SetMenuPresenter(old);
}
