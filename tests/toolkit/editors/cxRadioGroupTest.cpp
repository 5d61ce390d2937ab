// The radio group: values to items and back, the column rule, ItemIndex clamping, a click
// checking exactly one button, and the tab order.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/Text.h"
#include "platform/vcl/StdCtrls.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxFilterControlUtils.h"
#include "toolkit/editors/cxRadioGroup.h"

#include <QTest>

using namespace cx;

class CxRadioGroupTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        ASSERT_TRUE(Activate(form));
        before = new TButton(form);
        before->SetParent(form);
        before->SetBounds(5, 5, 60, 20);
        group = new TcxRadioGroup(form);
        group->SetParent(form);
        group->SetBounds(5, 30, 200, 120);
        group->SetCaption("Pick");
        props = group->Properties();
    }
    void TearDown() override
    {
        ControlBaseTest::TearDown();
        gdi::SetFontEngine(nullptr);
    }
    int Checked() const
    {
        int n = 0;
        for (int i = 0; i < group->ButtonCount(); ++i)
            n += group->RadioButton(i)->Checked();
        return n;
    }
    TButton* before = nullptr;
    TcxRadioGroup* group = nullptr;
    TcxRadioGroupProperties* props = nullptr;
};

TEST_F(CxRadioGroupTest, ValuesPickItemsAndCaptionsStandInForNullValues)
{
    props->AddItem("Apple");
    props->AddItem("Fig", 7);
    props->AddItem("Kiwi", 7);
    props->SetDefaultCaption("none");
    props->SetDefaultValue(-1);
    ASSERT_EQ(group->ButtonCount(), 3);

    group->SetEditValue("Apple");
    EXPECT_EQ(group->ItemIndex(), 0);
    group->SetEditValue("apple");   // case matters
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(Checked(), 0);
    EXPECT_EQ(props->GetDisplayText("apple"), "none");
    group->SetEditValue(7);   // two items share the value: the first wins
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(props->GetDisplayText(7), "Fig");
    EXPECT_EQ(Checked(), 1);

    group->SetItemIndex(0);
    EXPECT_EQ(VarToStr(group->EditValue()), "Apple");
    props->Item(2)->SetValue(9);
    group->SetItemIndex(99);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(group->EditValue().ToInteger(), 9);
    EXPECT_EQ(Checked(), 1);
    group->SetItemIndex(-5);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(group->EditValue().ToInteger(), -1);   // the default value
    EXPECT_EQ(Checked(), 0);
}

TEST_F(CxRadioGroupTest, ColumnsAreNotBalanced)
{
    for (int i = 0; i < 4; ++i)
        props->AddItem("Item " + std::to_string(i));
    props->SetColumns(3);
    EXPECT_EQ(props->GetColumnCount(), 3);
    EXPECT_EQ(props->GetButtonsPerColumn(), 2);
    // The buttons fill the first two columns; the third stays empty.
    EXPECT_EQ(group->GetButtonCell(2).Left, group->GetButtonCell(3).Left);
    EXPECT_GT(group->GetButtonCell(2).Left, group->GetButtonCell(0).Left);
    props->Items()->Clear();
    EXPECT_EQ(props->GetColumnCount(), 1);
}

TEST_F(CxRadioGroupTest, AClickChecksExactlyOneButtonAndSetsTheValue)
{
    props->AddItem("Apple", 1);
    props->AddItem("Fig", 2);
    group->SetItemIndex(0);
    int changes = 0;
    props->OnEditValueChanged = [&](TObject*) { ++changes; };
    TcxCustomRadioGroupButton* fig = group->RadioButton(1);
    const TPoint p = ScreenOf(fig, 5, fig->Height() / 2);
    Fixed().SetCursorPos(p);
    vcl::input::InjectMouse(WM_MOUSEMOVE, p, 0);
    vcl::input::InjectMouse(WM_LBUTTONDOWN, p, MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, p, 0);
    vcl::DrainPostedMessages();
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(Checked(), 1);
    EXPECT_EQ(group->EditValue().ToInteger(), 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(CxRadioGroupTest, TabStopsOnTheCheckedButtonOrElseOnTheGroup)
{
    props->AddItem("Apple");
    props->AddItem("Fig");
    before->SetFocus();
    QTest::keyClick(form->Peer(), Qt::Key_Tab);
    vcl::DrainPostedMessages();
    EXPECT_TRUE(group->Focused());
    EXPECT_EQ(group->ItemIndex(), -1);

    group->SetItemIndex(1);
    before->SetFocus();
    QTest::keyClick(form->Peer(), Qt::Key_Tab);
    vcl::DrainPostedMessages();
    EXPECT_TRUE(group->RadioButton(1)->Focused());
    EXPECT_EQ(group->ItemIndex(), 1);
}

// Auto size keeps the width and fits the height to the rows below the caption, again on every
// change of the items, the columns, the word wrap and the font.
TEST_F(CxRadioGroupTest, AutoSizeFitsTheHeightToTheButtonRows)
{
    props->AddItem("Apple");
    props->AddItem("Fig");
    props->AddItem("Kiwi");
    EXPECT_EQ(group->Height(), 120);   // off until asked for
    group->SetEditAutoSize(true);
    const int width = group->Width();
    auto rows = [&] {
        const TRect e = group->GetGroupClientExtent();
        return group->Height() - e.Top - e.Bottom;
    };
    const int row = rows() / 3;
    ASSERT_GT(row, 0);
    EXPECT_EQ(rows(), 3 * row);
    EXPECT_LT(group->Height(), 120);
    const TRect e = group->GetGroupClientExtent();
    EXPECT_EQ(group->GetButtonCell(0).Top, e.Top);
    EXPECT_EQ(group->GetButtonCell(2).Bottom, group->Height() - e.Bottom);

    props->AddItem("Pear");
    EXPECT_EQ(rows(), 4 * row);
    props->SetColumns(2);
    EXPECT_EQ(rows(), 2 * row);
    group->SetBounds(group->Left(), group->Top(), width, 300);
    EXPECT_EQ(rows(), 2 * row);

    props->AddItem("A caption far too long for one line of a narrow column");
    EXPECT_EQ(rows(), 3 * row);
    props->SetWordWrap(true);
    EXPECT_GT(rows(), 3 * row);
    props->SetWordWrap(false);
    EXPECT_EQ(rows(), 3 * row);

    const int before = group->Height();
    group->Style()->GetFont()->SetSize(group->Style()->GetFont()->GetSize() * 2);
    vcl::DrainPostedMessages();
    EXPECT_GT(group->Height(), before);
    EXPECT_EQ(group->Width(), width);

    group->SetEditAutoSize(false);
    group->SetBounds(group->Left(), group->Top(), width, 300);
    EXPECT_EQ(group->Height(), 300);
}

// In-place activation by a press hands the press to the button under it; the real release then
// checks that button. Activation by a release alone checks nothing.
TEST_F(CxRadioGroupTest, ActivateByMousePressesTheButtonUnderThePoint)
{
    for (bool pressed : {true, false}) {
        SCOPED_TRACE(pressed ? "activated by a press" : "activated by a release");
        auto* inplace = new TcxRadioGroup(form, true);
        inplace->Properties()->AddItem("Apple", 1);
        inplace->Properties()->AddItem("Fig", 2);
        inplace->Properties()->AddItem("Kiwi", 3);
        inplace->SetBounds(220, 30, 120, 90);
        inplace->SetVisible(false);
        inplace->SetParent(form);
        int changes = 0;
        inplace->Properties()->OnEditValueChanged = [&](TObject*) { ++changes; };
        const TRect cell = inplace->GetButtonCell(1);
        // The point in the form, where the host saw the press.
        const TPoint inForm{220 + cell.Left + 20, 30 + cell.Top + 2};
        Fixed().SetCursorPos(form->ClientToScreen(inForm));
        if (pressed)
            QTest::mousePress(form->Peer(), Qt::LeftButton, {}, QPoint(inForm.X, inForm.Y));
        vcl::DrainPostedMessages();
        inplace->SetVisible(true);
        TcxCustomEditData* data = nullptr;
        inplace->ActivateByMouse(pressed ? TShiftState{ssLeft} : TShiftState{}, inForm.X, inForm.Y, data);
        TcxCustomRadioGroupButton* fig = inplace->RadioButton(1);
        if (pressed) {
            EXPECT_TRUE(fig->MouseCapture());
        }
        QTest::mouseRelease(fig->Peer(), Qt::LeftButton, {}, QPoint(fig->Width() / 2, fig->Height() / 2));
        vcl::DrainPostedMessages();
        EXPECT_EQ(inplace->ItemIndex(), pressed ? 1 : -1);
        EXPECT_EQ(changes, pressed ? 1 : 0);
        inplace->Free();
    }
}

TEST(CxRadioGroupUnit, RegistersItsPropertiesAndFilterHelperOnce)
{
    cxRadioGroupUnit::Initialize();
    cxRadioGroupUnit::Initialize();
    EXPECT_TRUE(bool(FindRegisteredEditPropertiesClass("TcxRadioGroupProperties")));
    cxRadioGroupUnit::Finalize();
    EXPECT_TRUE(bool(FindRegisteredEditPropertiesClass("TcxRadioGroupProperties")));
    EXPECT_TRUE(FilterEditsController()->FindHelper(&TcxRadioGroupProperties::StaticClass()));
    cxRadioGroupUnit::Finalize();
    EXPECT_FALSE(bool(FindRegisteredEditPropertiesClass("TcxRadioGroupProperties")));
    EXPECT_FALSE(FilterEditsController()->FindHelper(&TcxRadioGroupProperties::StaticClass()));
}

// The filter builder's value editor for a radio group condition: a fixed list of the captions in
// item order; no item stands for the default value, and an item without a value stands for its
// caption (as it does as the group's edit value) rather than for a blank.
TEST_F(CxRadioGroupTest, FilterHelperListsTheCaptionsInItemOrder)
{
    cxRadioGroupUnit::Initialize();
    TcxCustomFilterEditHelperClass helper =
        FilterEditsController()->FindHelper(&TcxRadioGroupProperties::StaticClass());
    EXPECT_EQ(helper, TcxCustomFilterEditHelper::Of<TcxFilterRadioGroupHelper>());
    ASSERT_TRUE(helper);
    EXPECT_TRUE(helper->UseDisplayValue());

    props->AddItem("Pear");
    props->AddItem("Fig", 7);
    props->AddItem("Apple");
    props->SetDefaultValue(-1);
    props->SetDefaultCaption("none");
    auto* combo = new TcxComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 160, 120, 21);
    combo->Properties()->SetSorted(true);
    helper->InitializeEdit(combo, props);
    EXPECT_EQ(combo->Properties()->Items(), (std::vector<std::string>{"Pear", "Fig", "Apple"}));
    EXPECT_EQ(combo->Properties()->DropDownListStyle(), lsFixedList);

    struct Case {
        Variant filter;
        int index;
        Variant value;
        const char* text;
    };
    for (const Case& c : {Case{7, 1, 7, "Fig"}, Case{"Apple", 2, "Apple", "Apple"}, Case{"apple", -1, -1, "none"},
                          Case{Null, -1, -1, "none"}}) {
        SCOPED_TRACE(c.text);
        helper->SetFilterValue(combo, props, c.filter);
        EXPECT_EQ(combo->ItemIndex(), c.index);
        Variant value;
        std::string text;
        helper->GetFilterValue(combo, props, value, text);
        EXPECT_TRUE(VarEqualsExact(value, c.value)) << VarToStr(value);
        EXPECT_EQ(text, c.text);
    }
    cxRadioGroupUnit::Finalize();
}

// Real arrow keys on the focused button follow the columns (four items in two columns), and
// the caption's and the buttons' accelerators answer Alt+letter.
TEST_F(CxRadioGroupTest, RealArrowKeysFollowTheColumnsAndAltReachesTheAccelerators)
{
    for (const char* caption : {"&A 一", "&B 二", "&C 三", "&D 四"})
        props->AddItem(caption);
    props->SetColumns(2);
    group->SetCaption("校验(&P)");
    auto press = [&](int from, Qt::Key key) {
        group->SetItemIndex(from);
        group->RadioButton(from)->SetFocus();
        QTest::keyClick(group->RadioButton(from)->Peer(), key);
        vcl::DrainPostedMessages();
        return group->GetFocusedButtonIndex();
    };
    struct Case {
        int from;
        Qt::Key key;
        int to;
    } cases[] = {{0, Qt::Key_Right, 2}, {1, Qt::Key_Down, 1}, {2, Qt::Key_Left, 0}, {3, Qt::Key_Up, 2},
                 {0, Qt::Key_Down, 1},  {2, Qt::Key_Right, 2}, {0, Qt::Key_Left, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(press(c.from, c.key), c.to) << c.from << " key " << c.key;
        // The focus moved by the keyboard checks the button it reaches.
        EXPECT_EQ(group->ItemIndex(), c.to) << c.from << " key " << c.key;
        EXPECT_EQ(Checked(), 1);
    }

    before->SetFocus();
    QTest::keyClick(before->Peer(), Qt::Key_C, Qt::AltModifier);
    vcl::DrainPostedMessages();
    EXPECT_TRUE(group->RadioButton(2)->Focused());
    EXPECT_EQ(group->ItemIndex(), 2);
    before->SetFocus();
    QTest::keyClick(before->Peer(), Qt::Key_P, Qt::AltModifier);
    vcl::DrainPostedMessages();
    EXPECT_TRUE(group->RadioButton(2)->Focused());   // the caption's accelerator enters the group
}
