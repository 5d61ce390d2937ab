// The check box editor: the state values and their acceptance rules, the click cycle, Space
// pressed and released, a press released outside, the accelerator and the painted square.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/Text.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxFilterControlUtils.h"
#include "toolkit/editors/cxGroupBox.h"

#include <QTest>

using namespace cx;

class CxCheckBoxEditorTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        ASSERT_TRUE(Activate(form));
        box = new TcxCheckBox(form);
        box->SetParent(form);
        box->SetBounds(10, 10, 120, 21);
        box->SetCaption("&Check");
        box->Style()->SetBorderStyle(cbs3D);
        props = box->Properties();
        props->OnChange = [this](TObject*) { ++changes; };
    }
    void TearDown() override
    {
        ControlBaseTest::TearDown();
        gdi::SetFontEngine(nullptr);
    }
    void Mouse(unsigned msg, int x, int y, unsigned keys)
    {
        const TPoint p = ScreenOf(box, x, y);
        Fixed().SetCursorPos(p);
        vcl::input::InjectMouse(msg, p, keys);
        vcl::DrainPostedMessages();
    }
    void Click(int x, int y)
    {
        Mouse(WM_MOUSEMOVE, x, y, 0);
        Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, x, y, 0);
    }
    TcxCheckBox* box = nullptr;
    TcxCheckBoxProperties* props = nullptr;
    int changes = 0;
};

TEST_F(CxCheckBoxEditorTest, DefaultValuesAndTheirStates)
{
    EXPECT_EQ(box->State(), cbsUnchecked);
    EXPECT_EQ(props->GetState(true), cbsChecked);
    EXPECT_EQ(props->GetState(false), cbsUnchecked);
    EXPECT_EQ(props->GetState(Null), cbsGrayed);
    EXPECT_EQ(props->GetState(1), cbsGrayed);   // not exactly True
    EXPECT_EQ(props->GetStateDisplayText(true), "True");
    EXPECT_EQ(props->GetStateDisplayText(false), "False");
    EXPECT_EQ(props->GetStateDisplayText(Null), "");
}

TEST_F(CxCheckBoxEditorTest, StateValuesRefuseRepeatsAndNull)
{
    props->SetValueChecked(false);   // the unchecked value
    EXPECT_TRUE(VarEqualsExact(props->ValueChecked(), true));
    props->SetValueChecked(Null);
    EXPECT_TRUE(VarEqualsExact(props->ValueChecked(), true));
    props->SetValueGrayed("?");
    EXPECT_EQ(VarToStr(props->ValueGrayed()), "?");
    props->SetValueGrayed(Null);
    EXPECT_TRUE(props->ValueGrayed().IsNull());
    props->SetStateValues("Y", "Y", "N");   // repeats: refused as a whole
    EXPECT_TRUE(VarEqualsExact(props->ValueChecked(), true));
    props->SetStateValues("Y", Null, "N");
    EXPECT_EQ(VarToStr(props->ValueChecked()), "Y");
    EXPECT_EQ(VarToStr(props->ValueUnchecked()), "N");
}

TEST_F(CxCheckBoxEditorTest, ClicksCycleWithAndWithoutGrayed)
{
    std::string seen;
    for (int i = 0; i < 3; ++i) {
        Click(60, 10);   // on the caption
        seen += char('0' + box->State());
    }
    EXPECT_EQ(seen, "101");
    box->SetState(cbsGrayed);
    Click(7, 10);   // on the square
    EXPECT_EQ(box->State(), cbsChecked);

    props->SetAllowGrayed(true);
    box->SetState(cbsUnchecked);
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        Click(60, 10);
        seen += char('0' + box->State());
    }
    EXPECT_EQ(seen, "210");
}

TEST_F(CxCheckBoxEditorTest, APressReleasedOutsideDoesNotToggle)
{
    Mouse(WM_MOUSEMOVE, 60, 10, 0);
    Mouse(WM_LBUTTONDOWN, 60, 10, MK_LBUTTON);
    EXPECT_EQ(box->CheckState(), ecsPressed);
    Mouse(WM_MOUSEMOVE, 200, 10, MK_LBUTTON);
    EXPECT_NE(box->CheckState(), ecsPressed);
    Mouse(WM_LBUTTONUP, 200, 10, 0);
    EXPECT_EQ(box->State(), cbsUnchecked);
    EXPECT_EQ(changes, 0);
}

TEST_F(CxCheckBoxEditorTest, SpaceShowsThePressedSquareAndTogglesOnceOnRelease)
{
    box->SetFocus();
    QTest::keyPress(box->Peer(), Qt::Key_Space);
    vcl::DrainPostedMessages();
    EXPECT_EQ(box->CheckState(), ecsPressed);
    EXPECT_EQ(box->State(), cbsUnchecked);
    EXPECT_EQ(PixelOf(box, 5, 7), Sys(clBtnFace));   // the pushed face
    QTest::keyRelease(box->Peer(), Qt::Key_Space);
    vcl::DrainPostedMessages();
    EXPECT_EQ(box->CheckState(), ecsNormal);
    EXPECT_EQ(box->State(), cbsChecked);
    EXPECT_EQ(changes, 1);
}

TEST_F(CxCheckBoxEditorTest, AcceleratorFocusesAndToggles)
{
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'x'), 0);
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'C'), 1);
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(box->State(), cbsChecked);
    // The real keys: Alt with the accelerator from another control toggles it back.
    auto* other = new TButton(form);
    other->SetParent(form);
    other->SetBounds(10, 60, 80, 24);
    other->SetFocus();
    QTest::keyClick(other->Peer(), Qt::Key_C, Qt::AltModifier);
    vcl::DrainPostedMessages();
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(box->State(), cbsUnchecked);
    EXPECT_EQ(changes, 2);
}

// Around the square and behind the caption a check box shows its parent's colour, also after the
// parent's colour changes, unless a colour of its own is given.
TEST_F(CxCheckBoxEditorTest, ShowsItsParentsColourBehindTheCaption)
{
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 40, 200, 40);
    panel->SetColor(clYellow);
    auto* other = new TcxCheckBox(form);
    other->SetParent(panel);
    other->SetBounds(10, 10, 150, 21);
    other->SetCaption("选中 Check");
    // Right of the caption's text, and between the square and the text.
    const TPoint probes[] = {{110, 10}, {17, 2}, {115, 18}};
    for (const TPoint& p : probes) {
        EXPECT_EQ(PixelOf(box, p.X, p.Y), Sys(form->Color())) << p.X << "," << p.Y;
        EXPECT_EQ(PixelOf(other, p.X, p.Y), Sys(clYellow)) << p.X << "," << p.Y;
    }
    panel->SetColor(clAqua);
    EXPECT_EQ(PixelOf(other, 140, 10), Sys(clAqua));
    other->Style()->SetColor(clLime);
    EXPECT_EQ(PixelOf(other, 140, 10), Sys(clLime));
    panel->SetColor(clYellow);
    EXPECT_EQ(PixelOf(other, 140, 10), Sys(clLime));
}

TEST(CxCheckBoxUnit, RegistersTheEditorKindAndItsFilterHelper)
{
    cxCheckBoxUnit::Initialize();
    EXPECT_TRUE(bool(FindRegisteredEditPropertiesClass("TcxCheckBoxProperties")));
    EXPECT_TRUE(FilterEditsController()->FindHelper(&TcxCheckBoxProperties::StaticClass()));
    cxCheckBoxUnit::Finalize();
    EXPECT_FALSE(bool(FindRegisteredEditPropertiesClass("TcxCheckBoxProperties")));
    EXPECT_FALSE(FilterEditsController()->FindHelper(&TcxCheckBoxProperties::StaticClass()));
}

// The filter builder's value editor for a check box condition: a fixed list of the checked and
// the unchecked texts, the grayed state being no item. A combo reused from an earlier host
// (sorted, other items) is set up afresh, so the items keep their indexes.
TEST_F(CxCheckBoxEditorTest, FilterHelperListsTheCheckedAndUncheckedTexts)
{
    cxCheckBoxUnit::Initialize();
    TcxCustomFilterEditHelperClass helper = FilterEditsController()->FindHelper(&TcxCheckBoxProperties::StaticClass());
    EXPECT_EQ(helper, TcxCustomFilterEditHelper::Of<TcxFilterCheckBoxHelper>());
    // The pair is kept under the check box's own custom class, not under every editor's base.
    EXPECT_FALSE(FilterEditsController()->FindHelper(&TcxCustomGroupBoxProperties::StaticClass()));
    ASSERT_TRUE(helper);
    EXPECT_TRUE(helper->UseDisplayValue());

    props->SetStateValues("Y", Null, "N");
    props->DisplayChecked = "Yes";
    props->DisplayUnchecked = "No";
    auto* combo = new TcxComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 60, 120, 21);
    combo->Properties()->SetItems({"zz", "aa", "mm"});
    combo->Properties()->SetSorted(true);
    helper->InitializeEdit(combo, props);
    EXPECT_EQ(combo->Properties()->Items(), (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(combo->Properties()->DropDownListStyle(), lsFixedList);
    EXPECT_FALSE(combo->Properties()->Sorted());

    Variant value = 1;
    std::string text = "x";
    helper->GetFilterValue(combo, props, value, text);
    EXPECT_TRUE(value.IsNull());
    EXPECT_EQ(text, "");
    struct Case {
        Variant filter;
        int index;
        const char* text;
    };
    for (const Case& c : {Case{"N", 1, "No"}, Case{"Y", 0, "Yes"}, Case{Null, -1, ""}, Case{"?", -1, ""}}) {
        SCOPED_TRACE(c.text);
        helper->SetFilterValue(combo, props, c.filter);
        EXPECT_EQ(combo->ItemIndex(), c.index);
        helper->GetFilterValue(combo, props, value, text);
        EXPECT_EQ(text, c.text);
        EXPECT_TRUE(c.index < 0 ? value.IsNull() : VarEqualsExact(value, c.filter));
    }

    // Picking the second item with the keyboard gives the unchecked value.
    combo->InnerTextEditControl()->SetFocus();
    SpinUntil([&] { return combo->InnerTextEditControl()->Focused(); }, 500);
    QWidget* field = combo->InnerTextEditControl()->Box()->Widget();
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Down);
    vcl::DrainPostedMessages();
    helper->GetFilterValue(combo, props, value, text);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(VarToStr(value), "N");
    EXPECT_EQ(text, "No");
    cxCheckBoxUnit::Finalize();
}
