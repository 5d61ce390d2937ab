// The radio group: values to items and back, the column rule, ItemIndex clamping, a click
// checking exactly one button, and the tab order.
#include "EditorsTestSupport.h"

#include "platform/gdi/Text.h"
#include "platform/vcl/StdCtrls.h"
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

TEST(CxRadioGroupUnit, RegistersItsPropertiesOnce)
{
    cxRadioGroupUnit::Initialize();
    cxRadioGroupUnit::Initialize();
    EXPECT_TRUE(bool(FindRegisteredEditPropertiesClass("TcxRadioGroupProperties")));
    cxRadioGroupUnit::Finalize();
    EXPECT_TRUE(bool(FindRegisteredEditPropertiesClass("TcxRadioGroupProperties")));
    cxRadioGroupUnit::Finalize();
    EXPECT_FALSE(bool(FindRegisteredEditPropertiesClass("TcxRadioGroupProperties")));
}
